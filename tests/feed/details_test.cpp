#include "feed/details.h"

#include "core/folder.h"
#include "core/log.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QFile>
#include <QTemporaryDir>

namespace {

using nlohmann::json;

json ReadDocument(const char* Name)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + QLatin1String(Name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << Name;
    const QByteArray data = file.readAll();
    return json::parse(data.begin(), data.end());
}

QString Text(const json& Value)
{
    return QString::fromStdString(Value.get<std::string>());
}

class DetailsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FFolder.isValid());
        SetAppFolder(FFolder.path());
    }
    QStringList LogLines() const
    {
        QFile file(LogFilePath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    QTemporaryDir FFolder;
};

TEST_F(DetailsTest, FillsFromTheAgencysDocuments)
{
    struct Case {
        const char* file;
        TReportType type;
        std::array<const char*, 4> texts;  // JSON pointers; nullptr: the slot stays empty
        const char* intensity;  // nullptr: Intensity stays empty
    } cases[] = {
        {"20260728162848_20260728162718_VXSE51_0.json", rtIntensityOnly,
         {"/Body/Comments/ForecastComment/Text", nullptr, nullptr, "/Head/Headline/Text"},
         "/Body/Intensity/Observation/Pref"},
        {"20260728163148_20260728162718_VXSE5k_1.json", rtNormal,
         {"/Body/Comments/ForecastComment/Text", "/Body/Comments/VarComment/Text",
          nullptr, "/Head/Headline/Text"},
         "/Body/Intensity/Observation/Pref"},
        // No intensity tree: the deepest node found is "Body" itself.
        {"20260728203023_20260728162718_VXSE61_0.json", rtEpicenterChanged,
         {nullptr, nullptr, "/Body/Comments/FreeFormComment", "/Head/Headline/Text"},
         "/Body"},
        // Any other report reads "Body"/"EarthquakeInfo" (here "Body" itself) and no intensities.
        {"20260728163148_20260728162718_VXSE5k_1.json", rtOthers,
         {nullptr, nullptr, nullptr, "/Head/Headline/Text"}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + std::string(" type ") + std::to_string(c.type));
        const json document = ReadDocument(c.file);
        QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + QLatin1String(c.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        TJmaRec rec;
        rec.ReportType = c.type;
        ASSERT_TRUE(FillDetails(rec, file.readAll()));
        for (int slot = 0; slot < 4; ++slot) {
            const char* path = c.texts[slot];
            EXPECT_EQ(rec.Comments[slot], path ? Text(document.at(json::json_pointer(path))) : QString()) << "slot " << slot;
        }
        if (c.intensity) {
            EXPECT_EQ(json::parse(rec.Intensity.toStdString()), document.at(json::json_pointer(c.intensity)));
        } else {
            EXPECT_TRUE(rec.Intensity.isEmpty());
        }
    }
    EXPECT_EQ(LogLines(), QStringList());
}

// Small documents, one for each way a path can end early.
TEST_F(DetailsTest, TakesTheDeepestNodeFound)
{
    struct Case {
        const char* name;
        TReportType type;
        const char* document;
        std::array<const char*, 4> texts;
        const char* intensity;  // JSON of the expected tree, "" for empty
    } cases[] = {
        {"Body text but no Comments", rtNormal, R"({"Body":{"Text":"t"}})", {"t", "t", "", ""}, R"({"Text":"t"})"},
        {"Intensity without Observation", rtNormal, R"({"Body":{"Intensity":{"MaxInt":"3"}}})", {"", "", "", ""},
         R"({"MaxInt":"3"})"},
        {"Observation without Pref", rtNormal, R"({"Body":{"Intensity":{"Observation":{"MaxInt":"4"}}}})",
         {"", "", "", ""}, R"({"MaxInt":"4"})"},
        {"no Head", rtIntensityOnly,
         R"({"Body":{"Comments":{"FreeFormComment":"f","ForecastComment":{"Text":"a"},"VarComment":{"Text":"b"}}}})",
         {"a", "b", "f", ""}, R"({"Comments":{"FreeFormComment":"f","ForecastComment":{"Text":"a"},"VarComment":{"Text":"b"}}})"},
        {"Head without Headline", rtNormal, R"({"Head":{"Text":"h"}})", {"", "", "", "h"}, ""},
        {"no Body", rtNormal, R"({"Head":{"Headline":{"Text":"h"}}})", {"", "", "", "h"}, ""},
        {"others from EarthquakeInfo", rtOthers,
         R"({"Body":{"EarthquakeInfo":{"InfoKind":"k","Text":"t","Appendix":"a"},"Intensity":{"Observation":{"Pref":[]}}}})",
         {"k", "t", "a", ""}, ""},
        {"others without EarthquakeInfo", rtOthers, R"({"Body":{"InfoKind":"k","Text":"t"}})", {"k", "t", "", ""}, ""},
        {"numbers and null as text", rtNormal, R"({"Body":{"Comments":{"FreeFormComment":12.5}},"Head":{"Headline":{"Text":null}}})",
         {"", "", "12.5", "null"}, R"({"Comments":{"FreeFormComment":12.5}})"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TJmaRec rec;
        rec.ReportType = c.type;
        ASSERT_TRUE(FillDetails(rec, QByteArray(c.document)));
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_EQ(rec.Comments[slot], QString::fromUtf8(c.texts[slot])) << "slot " << slot;
        if (*c.intensity) {
            EXPECT_EQ(json::parse(rec.Intensity.toStdString()), json::parse(c.intensity));
        } else {
            EXPECT_TRUE(rec.Intensity.isEmpty());
        }
    }
}

TEST_F(DetailsTest, SlotsNotFoundKeepTheirValues)
{
    TJmaRec rec;
    rec.Comments = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    rec.Intensity = QStringLiteral("[]");
    ASSERT_TRUE(FillDetails(rec, QByteArray(R"({"Control":{}})")));
    EXPECT_EQ(rec.Comments[0], QStringLiteral("0"));
    EXPECT_EQ(rec.Comments[3], QStringLiteral("3"));
    EXPECT_EQ(rec.Intensity, QStringLiteral("[]"));
}

TEST_F(DetailsTest, BodiesThatAreNotAnObject)
{
    struct Case {
        const char* name;
        QByteArray body;
        bool filled;
        int logLines;
    } cases[] = {
        {"array", "[{\"Head\":{\"Headline\":{\"Text\":\"h\"}}}]", false, 1},
        {"string", "\"text\"", false, 1},
        {"not JSON", "<html>", false, 0},
        {"empty (an error status)", "", false, 0},
        {"two values", "{} {}", false, 0},
        {"byte-order mark", "\xEF\xBB\xBF{\"Head\":{\"Headline\":{\"Text\":\"h\"}}}", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(LogFilePath());
        TJmaRec rec;
        EXPECT_EQ(FillDetails(rec, c.body), c.filled);
        EXPECT_EQ(rec.Comments[3], c.filled ? QStringLiteral("h") : QString());
        const QStringList log = LogLines();
        ASSERT_EQ(log.size(), c.logLines);
        if (c.logLines > 0) {
            EXPECT_TRUE(log[0].mid(20).startsWith(QLatin1String("TJMAAccess.GetDetails-"))) << log[0].toStdString();
        }
    }
}

TEST(FindNodeTest, WalksUpToFourNames)
{
    const json doc = json::parse(R"({"a":{"b":{"c":{"d":1}}},"s":"x"})");
    struct Case {
        const char* name;
        std::array<const char*, 4> path;
        const json* expected;
    } cases[] = {
        {"full path", {"a", "b", "c", "d"}, &doc["a"]["b"]["c"]["d"]},
        {"two names", {"a", "b", "", ""}, &doc["a"]["b"]},
        {"empty name ends early", {"a", "", "c", "d"}, &doc["a"]},
        {"later name missing", {"a", "b", "x", "d"}, &doc["a"]["b"]},
        {"first name missing", {"x", "b", "", ""}, nullptr},
        {"first name empty", {"", "a", "", ""}, nullptr},
        {"member of a string", {"s", "t", "", ""}, &doc["s"]},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindNode(doc, c.path[0], c.path[1], c.path[2], c.path[3]), c.expected);
    }
    EXPECT_EQ(FindNode(json::array(), "a"), nullptr);
}

TEST(IsPlainDetailNameTest, AcceptsOnlyPlainJsonFileNames)
{
    struct Case {
        const char* name;
        bool plain;
    } cases[] = {
        {"20260728162848_20260728162718_VXSE51_0.json", true},
        {"a-b.c_d.json", true},
        {"", false},
        {"list.json/../x.json", false},
        {"../list.json", false},
        {"sub/x.json", false},
        {"x.json?y=1", false},
        {"x.json#f", false},
        {"x.jsonx", false},
        {"x.JSON", false},
        {"x y.json", false},
        {"%2e%2e.json", false},
        {"x.json\n", false},
        {"https://evil.example/x.json", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPlainDetailName(QString::fromUtf8(c.name)), c.plain) << c.name;
    EXPECT_FALSE(IsPlainDetailName(QStringLiteral("ｘ.json")));
}

}  // namespace
