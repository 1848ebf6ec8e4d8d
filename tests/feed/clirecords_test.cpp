#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct TRun {
    int status = -1;
    QList<QByteArray> out;
    QList<QByteArray> err;
};

TRun Records(const QString& File)
{
    QProcess process;
    process.start(QStringLiteral(TAVREL_CLI), {QStringLiteral("records"), File});
    EXPECT_TRUE(process.waitForFinished(30000));
    TRun run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput().split('\n');
    run.err = process.readAllStandardError().split('\n');
    run.out.removeAll({});
    run.err.removeAll({});
    return run;
}

TEST(CliRecords, PrintsOneLinePerRecordNewestFirst)
{
    const TRun run = Records(QStringLiteral(TAVREL_TEST_DATA "/list.json"));
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.join('\n').toStdString();
    ASSERT_EQ(run.out.size(), 629);
    const auto newest = nlohmann::json::parse(run.out.front().toStdString());
    EXPECT_EQ(newest["Json"], "20240103182109_20240103181836_VXSE5k_1.json");
    EXPECT_EQ(newest["ReportType"], 0);
    EXPECT_EQ(newest["OccurTime"], "2024-01-03 18:18:00");
    EXPECT_EQ(newest["Epicenter"], nlohmann::json::array({136.7, 37.1}));
    EXPECT_EQ(newest["Depth"], "10km");
    EXPECT_EQ(newest["Magnitude"], 2.9);
    const std::vector<std::string> keys = {"ReportType", "IsTraining", "Json", "ID", "Title", "OccurTime",
        "ReportTime", "Epicenter", "EpicenterName", "EpicenterCode", "Depth", "Magnitude", "MaxIntesity"};
    const auto ordered = nlohmann::ordered_json::parse(run.out.front().toStdString());
    std::vector<std::string> seen;
    for (const auto& [key, value] : ordered.items())
        seen.push_back(key);
    EXPECT_EQ(seen, keys);
}

TEST(CliRecords, MissingOrUnreadableFileGivesOneLineAndStatus2)
{
    QTemporaryDir dir;
    for (const QString& file : {dir.filePath(QStringLiteral("missing.json")), dir.path()}) {
        SCOPED_TRACE(file.toStdString());
        const TRun run = Records(file);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_EQ(run.err.size(), 1) << run.err.join('\n').toStdString();
    }
}

}  // namespace
