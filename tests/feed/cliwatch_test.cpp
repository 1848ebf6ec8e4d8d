#include "testservers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <csignal>

namespace {

QByteArray ReadData(const char* Name)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + QLatin1String(Name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << Name;
    return file.readAll();
}

// Reads whole lines until Count have arrived or the process has been quiet too long.
QList<QByteArray> ReadLines(QProcess& Process, int Count)
{
    QList<QByteArray> lines;
    for (int i = 0; i < 100 && lines.size() < Count; ++i) {
        if (!Process.canReadLine() && !Process.waitForReadyRead(100))
            continue;
        while (Process.canReadLine() && lines.size() < Count)
            lines << Process.readLine().trimmed();
    }
    return lines;
}

class CliWatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.isValid());
        FPki = MakeTestPki(FFolder.path());
        FServer = std::make_unique<TTestHttpsServer>(FPki);
        const std::string list = nlohmann::json::array({
            {{"json", "20260728163148_20260728162718_VXSE5k_1.json"}, {"ttl", "震源・震度情報"}, {"anm", "熊本県熊本地方"}},
            {{"json", "20260728162848_20260728162718_VXSE51_0.json"}, {"ttl", "震度速報"}},
        }).dump();
        FServer->Http().Get("/bosai/quake/data/list.json", [this, list](const httplib::Request&, httplib::Response& res) {
            ++FListRequests;
            res.set_content(list, "application/json; charset=utf-8");
        });
        FServer->Http().Get(R"(/bosai/quake/data/(\w+\.json))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(ReadData(req.matches[1].str().c_str()).toStdString(), "application/json; charset=utf-8");
        });
        FServer->Start();
    }

    // Stops the command as the user's terminal or a service manager would, and times it.
    void Terminate(QProcess& Process)
    {
        QElapsedTimer timer;
        timer.start();
        ::kill(static_cast<pid_t>(Process.processId()), SIGTERM);
        ASSERT_TRUE(Process.waitForFinished(5000));
        EXPECT_LT(timer.elapsed(), 1000);
        EXPECT_EQ(Process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(Process.exitCode(), 0) << Process.readAllStandardError().toStdString();
    }

    QProcess& Start(QStringList Args)
    {
        Args.prepend(QStringLiteral("watch"));
        Args << QStringLiteral("--endpoint") << FServer->BaseUrl() << QStringLiteral("--ca-file") << FPki.CaFile;
        FProcess.start(QStringLiteral(TAVREL_CLI), Args);
        EXPECT_TRUE(FProcess.waitForStarted());
        return FProcess;
    }

    QTemporaryDir FFolder;
    TTestPki FPki;
    std::unique_ptr<TTestHttpsServer> FServer;
    std::atomic<int> FListRequests{0};
    QProcess FProcess;
};

TEST_F(CliWatchTest, PrintsTheReportsOldestFirstAndStopsOnSigterm)
{
    QProcess& process = Start({QStringLiteral("--interval"), QStringLiteral("1")});
    const QList<QByteArray> lines = ReadLines(process, 2);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(nlohmann::json::parse(lines[0].toStdString())["Json"], "20260728162848_20260728162718_VXSE51_0.json");
    EXPECT_EQ(nlohmann::json::parse(lines[0].toStdString())["ReportType"], 2);
    EXPECT_EQ(nlohmann::json::parse(lines[1].toStdString())["EpicenterName"], "熊本県熊本地方");
    for (int i = 0; i < 100 && FListRequests.load() < 2; ++i)
        process.waitForReadyRead(50);
    EXPECT_GE(FListRequests.load(), 2);
    Terminate(process);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty()) << "a later poll handed the same reports on again";
}

TEST_F(CliWatchTest, PrintsTheDetailsOfEveryNewReport)
{
    QProcess& process = Start({QStringLiteral("--details")});
    const QList<QByteArray> lines = ReadLines(process, 4);
    ASSERT_EQ(lines.size(), 4);
    const auto details = nlohmann::json::parse(lines[2].toStdString());
    EXPECT_EQ(details["Json"], "20260728162848_20260728162718_VXSE51_0.json");
    ASSERT_EQ(details["Comments"].size(), 4u);
    EXPECT_EQ(details["Comments"][0], "今後の情報に注意してください。");
    EXPECT_TRUE(nlohmann::json::parse(details["Intensity"].get<std::string>()).is_array());
    EXPECT_EQ(nlohmann::json::parse(lines[3].toStdString())["Json"], "20260728163148_20260728162718_VXSE5k_1.json");
    Terminate(process);
}

TEST_F(CliWatchTest, RejectsAnIntervalOutOfRange)
{
    for (const char* interval : {"0", "301", "x"}) {
        QProcess& process = Start({QStringLiteral("--interval"), QLatin1String(interval)});
        ASSERT_TRUE(process.waitForFinished(5000));
        EXPECT_EQ(process.exitCode(), 2) << interval;
    }
}

}  // namespace
