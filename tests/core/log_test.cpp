#include "core/folder.h"
#include "core/log.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <thread>

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetAppFolder(dir.path());
    }
    void TearDown() override { SetAppFolder({}); }

    QByteArray LogBytes() const
    {
        QFile file(LogFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(LogTest, LineHasTimeNameAndMessageEndedByCrLf)
{
    WriteLog(QStringLiteral("TJMAAccess.GetEqList"), QStringLiteral("接続 - エラー: x"));
    const QString text = QString::fromUtf8(LogBytes());
    const QRegularExpression line(QStringLiteral(
        "^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}:TJMAAccess\\.GetEqList-接続 - エラー: x\r\n$"));
    EXPECT_TRUE(line.match(text).hasMatch()) << text.toStdString();
}

TEST_F(LogTest, FileStartsWithTheDateAndHasNoByteOrderMark)
{
    WriteLog(QStringLiteral("Tavrel"), QStringLiteral("Start"));
    const QByteArray bytes = LogBytes();
    ASSERT_GE(bytes.size(), 4);
    EXPECT_TRUE(QChar::fromLatin1(bytes[0]).isDigit());
}

TEST_F(LogTest, EmptyMessageEndsWithDashAndRunsAppend)
{
    WriteLog(QStringLiteral("A"), QString());
    WriteLog(QStringLiteral("B"), QStringLiteral("second"));
    const QList<QByteArray> lines = LogBytes().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(":A-\r"));
    EXPECT_TRUE(lines[1].endsWith(":B-second\r"));
    EXPECT_TRUE(lines[2].isEmpty());
}

TEST_F(LogTest, TwoThreadsLeaveWholeLines)
{
    constexpr int perThread = 10000;
    const auto writer = [](QString name) {
        for (int i = 0; i < perThread; ++i)
            WriteLog(name, QStringLiteral("message number %1 with some padding text").arg(i));
    };
    std::thread feed(writer, QStringLiteral("TJMAAccess.Execute"));
    std::thread window(writer, QStringLiteral("TMainForm.Timer1Timer"));
    feed.join();
    window.join();

    const QList<QByteArray> lines = LogBytes().split('\n');
    ASSERT_EQ(lines.size(), 2 * perThread + 1);
    const QRegularExpression whole(QStringLiteral(
        "^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}:(TJMAAccess\\.Execute|TMainForm\\.Timer1Timer)"
        "-message number \\d+ with some padding text\r$"));
    int bad = 0;
    for (int i = 0; i < 2 * perThread; ++i)
        bad += whole.match(QString::fromUtf8(lines[i])).hasMatch() ? 0 : 1;
    EXPECT_EQ(bad, 0);
}

TEST(LogFailure, UnwritableFolderIsIgnored)
{
    SetAppFolder(QStringLiteral("/nonexistent/folder/for/tavrel"));
    WriteLog(QStringLiteral("X"), QStringLiteral("y"));
    SetAppFolder({});
    SUCCEED();
}

}  // namespace
