#include "core/folder.h"
#include "core/log.h"
#include "feed/eqlist.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QFile>
#include <QTemporaryDir>

namespace {

using nlohmann::json;

QByteArray ReadData(const char* name)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

QByteArray Body(const json& value)
{
    return QByteArray::fromStdString(value.dump());
}

json Entry(int n)
{
    return json{{"json", "report_" + std::to_string(n) + ".json"}, {"ttl", "震源・震度情報"}};
}

// A list of n entries, newest (highest number) first.
json List(int newest, int count)
{
    json list = json::array();
    for (int i = 0; i < count; ++i)
        list.push_back(Entry(newest - i));
    return list;
}

QStringList JsonNames(const TJmaRecList& records)
{
    QStringList names;
    for (const auto& rec : records)
        names << rec->Json;
    return names;
}

class EqListTest : public ::testing::Test {
protected:
    void SetUp() override { SetAppFolder(dir.path()); }
    void TearDown() override { SetAppFolder({}); }

    QString Log() const
    {
        QFile file(LogFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
};

std::string DocDate(const json& entry, const char* key)
{
    if (!entry.contains(key))
        return {};
    std::string text = entry[key].get<std::string>().substr(0, 19);
    text[10] = ' ';
    return text;
}

TEST_F(EqListTest, RealListGivesOneMatchingRecordPerEntry)
{
    const QByteArray body = ReadData("list.json");
    const json doc = json::parse(body.toStdString());
    TJmaRecList records;
    ReadEqList(body, {}, records);
    ASSERT_EQ(records.size(), doc.size());
    ASSERT_EQ(records.size(), 629u);
    for (std::size_t i = 0; i < doc.size(); ++i) {
        SCOPED_TRACE(i);
        const json& e = doc[i];
        const TJmaRec& r = *records[i];
        EXPECT_EQ(r.Json.toStdString(), e["json"].get<std::string>());
        EXPECT_EQ(r.ID.toStdString(), e["eid"].get<std::string>());
        EXPECT_EQ(r.Title.toStdString(), e["ttl"].get<std::string>());
        EXPECT_EQ(r.EpicenterName.toStdString(), e.value("anm", ""));
        EXPECT_EQ(r.MaxIntesity.toStdString(), e.value("maxi", ""));
        EXPECT_EQ(r.OccurTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(), DocDate(e, "at"));
        EXPECT_EQ(r.ReportTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(), DocDate(e, "rdt"));
        const std::string mag = e.value("mag", "");
        EXPECT_FLOAT_EQ(r.Magnitude, mag.empty() || mag == "Ｍ不明" ? 0.0f : std::stof(mag));
        const std::string anm = e.value("anm", "");
        EXPECT_EQ(r.EpicenterCode, anm.empty() ? 0 : std::stoi(e["acd"].get<std::string>()));
        EXPECT_FALSE(r.IsTraining);
        EXPECT_TRUE(r.Intensity.isEmpty());
        EXPECT_TRUE(r.Comments[0].isEmpty());
    }
    const TJmaRec& newest = *records[0];
    EXPECT_EQ(newest.ReportType, rtNormal);
    EXPECT_EQ(newest.EpicenterCode, 495);
    EXPECT_NEAR(newest.Epicenter.Y, 37.1, 1e-5);
    EXPECT_NEAR(newest.Epicenter.X, 136.7, 1e-5);
    EXPECT_EQ(newest.Depth, QStringLiteral("10km"));
}

TEST_F(EqListTest, TitlesGiveReportTypes)
{
    const struct {
        json ttl;
        TReportType type;
    } cases[] = {
        {"震源・震度情報", rtNormal},
        {"震源に関する情報", rtEpicenterOnly},
        {"震度速報", rtIntensityOnly},
        {"遠地地震に関する情報", rtTeleseism},
        {"顕著な地震の震源要素更新のお知らせ", rtEpicenterChanged},
        {"南海トラフ地震関連解説情報", rtOthers},
        {"", rtOthers},
        {nullptr, rtOthers},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ttl.dump());
        TJmaRecList records;
        ReadEqList(Body(json::array({{{"json", "a.json"}, {"ttl", c.ttl}}})), {}, records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0]->ReportType, c.type);
    }
    TJmaRecList records;
    ReadEqList(Body(json::array({{{"json", "a.json"}}})), {}, records);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->ReportType, rtOthers);
    EXPECT_TRUE(records[0]->Depth.isEmpty());
    EXPECT_EQ(records[0]->Epicenter.X, 0);
}

TEST_F(EqListTest, MembersFallBackWhenMalformed)
{
    const json entry = {{"json", "a.json"}, {"ift", "発表_K"}, {"acd", "x1"}, {"anm", "能登"},
                        {"mag", "Ｍ不明"}, {"cod", ""}, {"at", "2024-01-0"}, {"maxi", ""}, {"ser", 3}};
    TJmaRecList records;
    ReadEqList(Body(json::array({entry})), {}, records);
    ASSERT_EQ(records.size(), 1u);
    const TJmaRec& r = *records[0];
    EXPECT_TRUE(r.IsTraining);
    EXPECT_EQ(r.EpicenterCode, 0);
    EXPECT_EQ(r.Magnitude, 0);
    EXPECT_EQ(r.Depth, QStringLiteral("-"));
    EXPECT_TRUE(r.OccurTime.isNull());
    EXPECT_TRUE(r.MaxIntesity.isEmpty());

    const struct {
        json ift;
        bool training;
    } ifts[] = {{"発表", false}, {"発表_k", false}, {"訓練", false}, {1, false}, {"発表_K", true}};
    for (const auto& c : ifts) {
        SCOPED_TRACE(c.ift.dump());
        TJmaRecList one;
        ReadEqList(Body(json::array({{{"json", "a.json"}, {"ift", c.ift}}})), {}, one);
        ASSERT_EQ(one.size(), 1u);
        EXPECT_EQ(one[0]->IsTraining, c.training);
    }
}

TEST_F(EqListTest, EmptyEpicenterNameClearsTheCode)
{
    for (const json& entry : {json{{"json", "a"}, {"acd", "495"}}, json{{"json", "a"}, {"acd", "495"}, {"anm", ""}}}) {
        TJmaRecList records;
        ReadEqList(Body(json::array({entry})), {}, records);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0]->EpicenterCode, 0);
    }
}

TEST_F(EqListTest, FirstPollTakesAtMost999)
{
    TJmaRecList records;
    ReadEqList(Body(List(1500, 1500)), {}, records);
    ASSERT_EQ(records.size(), 999u);
    EXPECT_EQ(records.front()->Json, QStringLiteral("report_1500.json"));
    EXPECT_EQ(records.back()->Json, QStringLiteral("report_502.json"));
}

TEST_F(EqListTest, WalkStopsAtTheFirstEntryTakenBefore)
{
    const struct {
        const char* name;
        json list;
        QSet<QString> taken;
        QStringList expected;
    } cases[] = {
        {"nothing new", List(10, 5), {QStringLiteral("report_10.json")}, {}},
        {"two new", List(12, 5), {QStringLiteral("report_10.json")},
         {QStringLiteral("report_12.json"), QStringLiteral("report_11.json")}},
        // the newest taken entry left the list: stop at an older taken one, not at the end
        {"last taken vanished", json::array({Entry(12), Entry(11), Entry(9), Entry(8)}),
         {QStringLiteral("report_10.json"), QStringLiteral("report_9.json"), QStringLiteral("report_8.json")},
         {QStringLiteral("report_12.json"), QStringLiteral("report_11.json")}},
        {"entry without json stops the walk", json::array({Entry(3), Entry(2), json{{"ttl", "x"}}, Entry(1)}), {},
         {QStringLiteral("report_3.json"), QStringLiteral("report_2.json")}},
        {"entry that is not an object stops the walk", json::array({Entry(3), 5, Entry(1)}), {},
         {QStringLiteral("report_3.json")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TJmaRecList records;
        ReadEqList(Body(c.list), c.taken, records);
        EXPECT_EQ(JsonNames(records), c.expected);
    }
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(EqListTest, RepeatedPollsOnTheRealListGiveOnlyNewerEntries)
{
    const json doc = json::parse(ReadData("list.json").toStdString());
    // the feed as it stood 20 reports earlier
    const json older(doc.begin() + 20, doc.end());
    TJmaRecList first;
    ReadEqList(Body(older), {}, first);
    ASSERT_EQ(first.size(), 609u);
    QSet<QString> taken;
    for (const auto& rec : first)
        taken.insert(rec->Json);

    TJmaRecList second;
    ReadEqList(Body(doc), taken, second);
    ASSERT_EQ(second.size(), 20u);
    for (std::size_t i = 0; i < second.size(); ++i)
        EXPECT_EQ(second[i]->Json.toStdString(), doc[i]["json"].get<std::string>());
}

TEST_F(EqListTest, BodiesThatAreNotAListGiveNoRecords)
{
    const struct {
        const char* name;
        QByteArray body;
        bool logged;
    } cases[] = {
        {"object", QByteArrayLiteral("{\"json\": \"a.json\"}"), true},
        {"number", QByteArrayLiteral("42"), true},
        {"not JSON", QByteArrayLiteral("<html>503</html>"), false},
        {"two values", QByteArrayLiteral("[] []"), false},
        {"empty body", QByteArray(), false},
        {"truncated", QByteArrayLiteral("[{\"json\": \"a.j"), false},
        {"empty array", QByteArrayLiteral("[]"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(LogFilePath());
        TJmaRecList records;
        ReadEqList(c.body, {}, records);
        EXPECT_TRUE(records.empty());
        const QString log = Log();
        EXPECT_EQ(log.count(QStringLiteral(":TJMAAccess.GetEqList-")), c.logged ? 1 : 0) << log.toStdString();
        EXPECT_EQ(log.count(QStringLiteral("\r\n")), c.logged ? 1 : 0);
    }
}

TEST_F(EqListTest, ByteOrderMarkIsSkipped)
{
    TJmaRecList records;
    ReadEqList(QByteArrayLiteral("\xEF\xBB\xBF") + Body(List(2, 2)), {}, records);
    EXPECT_EQ(records.size(), 2u);
}

}  // namespace
