#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRun {
    int exitCode = -1;
    nlohmann::json summary;
    QImage picture;
};

class CliMapTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FFolder.isValid()); }

    CliRun Map(const char* Document, QStringList Options)
    {
        const QString out = FFolder.filePath(QStringLiteral("map.png"));
        QProcess cli;
        cli.setWorkingDirectory(FFolder.path());
        cli.start(QStringLiteral(TAVREL_CLI),
                  QStringList{QStringLiteral("map"), QStringLiteral(TAVREL_TEST_DATA "/") + QLatin1String(Document)}
                      + Options + QStringList{QStringLiteral("-o"), out});
        EXPECT_TRUE(cli.waitForFinished(60000));
        CliRun run;
        run.exitCode = cli.exitCode();
        const QByteArray line = cli.readAllStandardOutput().trimmed();
        if (!line.isEmpty())
            run.summary = nlohmann::json::parse(line.toStdString());
        run.picture = QImage(out);
        return run;
    }

    QTemporaryDir FFolder;
};

TEST_F(CliMapTest, LargestRealReportGivesItsSixtyAreasInDrawingOrder)
{
    const CliRun run = Map("20260728163148_20260728162718_VXSE5k_1.json", {});
    ASSERT_EQ(run.exitCode, 0);
    const auto& marks = run.summary.at("marks");
    ASSERT_EQ(marks.size(), 60u);
    for (std::size_t i = 1; i < marks.size(); ++i)
        EXPECT_LE(marks[i - 1].at("imageIndex").get<int>(), marks[i].at("imageIndex").get<int>()) << i;
    EXPECT_EQ(marks.back().at("caption"), "熊本県熊本");
    EXPECT_EQ(marks.back().at("imageIndex"), 9);
    // "+32.6+130.7-10000/" from the hypocentre.
    EXPECT_EQ(run.summary.at("epicenter"), nlohmann::json::array({621, 1229}));
    const auto roi = run.summary.at("roi").get<std::vector<int>>();
    ASSERT_EQ(roi.size(), 4u);
    EXPECT_EQ(run.picture.size(), QSize(roi[2] - roi[0], roi[3] - roi[1]));
    EXPECT_EQ(run.summary.at("labelPosition"), 1);
}

TEST_F(CliMapTest, EpicentreOptionAndWholeImage)
{
    const CliRun run = Map("20260728163148_20260728162718_VXSE5k_1.json",
                           {QStringLiteral("--epicenter"), QStringLiteral("135.57,35.7"), QStringLiteral("--crop"),
                            QStringLiteral("full")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.summary.at("epicenter"), nlohmann::json::array({960, 968}));
    EXPECT_EQ(run.picture.size(), QSize(1920, 1940));
}

TEST_F(CliMapTest, AreasAsTheIntensityTreeListsThem)
{
    const CliRun run = Map("intensity_tree_edges.json", {});
    ASSERT_EQ(run.exitCode, 0);
    // Unnamed prefectures and areas are left out, an area without "MaxInt" has no picture (-1),
    // and an "Area" that is not an array ends the walk, as it ends the tree.
    const nlohmann::json expected = nlohmann::json::array({
        {{"caption", "石狩地方南部"}, {"imageIndex", -1}, {"dispXY", {1372, 324}}},
        {{"caption", "どこでもない"}, {"imageIndex", 0}, {"dispXY", {0, 0}}},
        {{"caption", "石狩地方北部"}, {"imageIndex", 6}, {"dispXY", {1373, 270}}},
    });
    EXPECT_EQ(run.summary.at("marks"), expected);
    EXPECT_EQ(run.summary.at("roi").at(0), 0);
    EXPECT_EQ(run.summary.at("roi").at(1), 0);
}

TEST_F(CliMapTest, NothingToDrawAndBadArgumentsFail)
{
    const struct {
        const char* name;
        const char* document;
        QStringList options;
        int exitCode;
    } cases[] = {
        {"no areas, no hypocentre", "20260728203023_20260728162718_VXSE61_0.json",
         {QStringLiteral("--epicenter"), QStringLiteral("0,0")}, 1},
        {"not JSON", "../intensitymap/CMakeLists.txt", {}, 1},
        {"missing file", "no-such-file.json", {}, 2},
        {"bad crop", "20260728163148_20260728162718_VXSE5k_1.json", {QStringLiteral("--crop"), QStringLiteral("x")}, 2},
        {"bad epicentre", "20260728163148_20260728162718_VXSE5k_1.json",
         {QStringLiteral("--epicenter"), QStringLiteral("135")}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun run = Map(c.document, c.options);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.picture.isNull());
    }
}

}  // namespace
