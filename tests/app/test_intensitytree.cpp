#include "app/intensitytree.h"

#include "core/folder.h"
#include "core/log.h"
#include "intensitymap/imagelist.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <nlohmann/json.hpp>

#include <fstream>

namespace {

// The intensity text as the feed thread stores it: the serialised prefecture array.
QString IntensityOf(const char* FileName)
{
    std::ifstream in(std::string(TAVREL_TEST_DATA) + "/" + FileName);
    const auto document = nlohmann::json::parse(in);
    return QString::fromStdString(document["Body"]["Intensity"]["Observation"]["Pref"].dump());
}

std::vector<QIcon> Icons()
{
    std::vector<QIcon> icons;
    for (const QImage& picture : ImageList1())
        icons.emplace_back(QPixmap::fromImage(picture));
    return icons;
}

int CountAtLevel(const QTreeWidgetItem& Item, int Level, int Wanted)
{
    int count = Level == Wanted ? 1 : 0;
    for (int i = 0; i < Item.childCount(); ++i)
        count += CountAtLevel(*Item.child(i), Level + 1, Wanted);
    return count;
}

int CountAtLevel(const QTreeWidget& Tree, int Wanted)
{
    int count = 0;
    for (int i = 0; i < Tree.topLevelItemCount(); ++i)
        count += CountAtLevel(*Tree.topLevelItem(i), 1, Wanted);
    return count;
}

QTreeWidgetItem* Find(const QTreeWidget& Tree, const QString& Text)
{
    const auto found = Tree.findItems(Text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

class IntensityTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetAppFolder(dir.path());
    }
    void TearDown() override { SetAppFolder({}); }

    QString Log() const
    {
        QFile file(LogFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir dir;
    QTreeWidget tree;
};

TEST_F(IntensityTree, RealReportGivesEveryLevelWithIconsAndCoordinates)
{
    BuildIntensityTree(tree, IntensityOf("20260728163148_20260728162718_VXSE5k_1.json"), Icons());

    EXPECT_EQ(tree.topLevelItemCount(), 19);
    EXPECT_EQ(CountAtLevel(tree, 2), 60);
    EXPECT_EQ(CountAtLevel(tree, 3), 416);
    EXPECT_EQ(CountAtLevel(tree, 4), 1058);
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem& pref = *tree.topLevelItem(i);
        EXPECT_TRUE(pref.isExpanded()) << i;
        EXPECT_TRUE(pref.font(0).bold());
        EXPECT_EQ(pref.font(0).pixelSize(), 12);
        EXPECT_EQ(TreeItemImageIndex(pref), -1);
        for (int j = 0; j < pref.childCount(); ++j)
            EXPECT_FALSE(pref.child(j)->isExpanded());
    }

    const QTreeWidgetItem* first = tree.topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("熊本県"));
    const QTreeWidgetItem* area = first->child(0);
    EXPECT_EQ(area->text(0), QStringLiteral("熊本県熊本"));
    EXPECT_EQ(TreeItemImageIndex(*area), 9);
    EXPECT_FALSE(area->icon(0).isNull());
    EXPECT_FALSE(area->font(0).bold());
    EXPECT_EQ(area->font(0).pixelSize(), 11);
    EXPECT_EQ(area->child(0)->text(0), QStringLiteral("宇城市"));

    const QTreeWidgetItem* station = Find(tree, QStringLiteral("宇城市豊野町＊"));
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(TreeItemImageIndex(*station), 9);
    EXPECT_EQ(station->data(0, TagTextRole).toString(), QStringLiteral("32.64,130.75"));
    const QTreeWidgetItem* notArrived = Find(tree, QStringLiteral("宇城市小川町＊"));
    ASSERT_NE(notArrived, nullptr);
    EXPECT_EQ(TreeItemImageIndex(*notArrived), 0);
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(IntensityTree, AreaMarksFollowTheTreeOrder)
{
    BuildIntensityTree(tree, IntensityOf("20260728163148_20260728162718_VXSE5k_1.json"), Icons());
    const auto marks = CollectAreaMarks(tree);
    ASSERT_EQ(marks.size(), 60u);
    EXPECT_EQ(marks.front().Caption, QStringLiteral("熊本県熊本"));
    EXPECT_EQ(marks.front().ImageIndex, 9);
    EXPECT_EQ(marks[1].Caption, tree.topLevelItem(0)->child(1)->text(0));

    // an area without an intensity is marked without a picture
    tree.clear();
    BuildIntensityTree(tree, QStringLiteral(R"([{"Name":"P","Area":[{"Name":"A"}]}])"), Icons());
    ASSERT_EQ(CollectAreaMarks(tree).size(), 1u);
    EXPECT_EQ(CollectAreaMarks(tree).front().ImageIndex, -1);
}

TEST_F(IntensityTree, CollapsedPrefectureHidesItsAreas)
{
    BuildIntensityTree(tree, IntensityOf("20260728163148_20260728162718_VXSE5k_1.json"), Icons());
    // a collapsed prefecture hides its areas from the walk
    const int hidden = tree.topLevelItem(0)->childCount();
    tree.topLevelItem(0)->setExpanded(false);
    EXPECT_EQ(CollectAreaMarks(tree).size(), 60u - hidden);
}

struct ShapeCase {
    const char* Name;
    const char* Json;
    const char* Item;
    int ImageIndex;
    const char* TagText;
};

TEST_F(IntensityTree, MembersGiveIconsAndCoordinates)
{
    const ShapeCase cases[] = {
        {"prefecture without areas", R"([{"Name":"P"}])", "P", -1, nullptr},
        {"area 5+", R"([{"Name":"P","Area":[{"Name":"A","MaxInt":"5+"}]}])", "A", 6, nullptr},
        {"area with empty MaxInt", R"([{"Name":"P","Area":[{"Name":"A","MaxInt":""}]}])", "A", 0, nullptr},
        {"area without MaxInt", R"([{"Name":"P","Area":[{"Name":"A"}]}])", "A", -1, nullptr},
        {"area with a number", R"([{"Name":"P","Area":[{"Name":"A","MaxInt":4}]}])", "A", 4, nullptr},
        {"city without MaxInt",
         R"([{"Name":"P","Area":[{"Name":"A","City":[{"Name":"C","Condition":"x"}]}]}])", "C", -1, nullptr},
        {"station with lat and lon",
         R"([{"Name":"P","Area":[{"Name":"A","City":[{"Name":"C","IntensityStation":)"
         R"([{"Name":"S","Int":"1","latlon":{"lat":35.5,"lon":139}}]}]}]}])",
         "S", 1, "35.5,139"},
        {"station with lon only",
         R"([{"Name":"P","Area":[{"Name":"A","City":[{"Name":"C","IntensityStation":)"
         R"([{"Name":"S","latlon":{"lon":130.7}}]}]}]}])",
         "S", -1, ",130.7"},
        {"station with an empty latlon",
         R"([{"Name":"P","Area":[{"Name":"A","City":[{"Name":"C","IntensityStation":)"
         R"([{"Name":"S","latlon":{}}]}]}]}])",
         "S", -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        tree.clear();
        BuildIntensityTree(tree, QString::fromUtf8(c.Json), Icons());
        const QTreeWidgetItem* item = Find(tree, QString::fromUtf8(c.Item));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(TreeItemImageIndex(*item), c.ImageIndex);
        EXPECT_EQ(item->icon(0).isNull(), c.ImageIndex < 0);
        EXPECT_EQ(item->data(0, TagTextRole).isValid(), c.TagText != nullptr);
        if (c.TagText) {
            EXPECT_EQ(item->data(0, TagTextRole).toString(), QString::fromUtf8(c.TagText));
        }
        EXPECT_TRUE(tree.topLevelItem(0)->isExpanded());
    }
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(IntensityTree, ElementsWithoutNameAreSkippedWithEverythingInThem)
{
    BuildIntensityTree(tree,
                       QStringLiteral(R"([{"Area":[{"Name":"lost"}]},{"Name":"P","Area":[{"MaxInt":"7","City":[)"
                                      R"({"Name":"lost too"}]},{"Name":"A","City":[]}]},7,null])"),
                       Icons());
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    ASSERT_EQ(tree.topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->text(0), QStringLiteral("A"));
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->childCount(), 0);
}

TEST_F(IntensityTree, TextThatIsNoJsonLeavesTheTreeEmptyWithoutLogLine)
{
    for (const char* text : {"", "[{\"Name\":", "not json"}) {
        SCOPED_TRACE(text);
        BuildIntensityTree(tree, QString::fromUtf8(text), Icons());
        EXPECT_EQ(tree.topLevelItemCount(), 0);
    }
    EXPECT_TRUE(Log().isEmpty());
}

struct FailureCase {
    const char* Name;
    const char* Json;
    int Items;
};

TEST_F(IntensityTree, WrongShapeStopsWithOneLogLineKeepingWhatWasAdded)
{
    const FailureCase cases[] = {
        {"an object", R"({"Name":"P"})", 0},
        {"Area not an array", R"([{"Name":"P","Area":{"Name":"A"}},{"Name":"Q"}])", 1},
        {"City not an array", R"([{"Name":"P","Area":[{"Name":"A","City":"C"}]}])", 2},
        {"IntensityStation not an array",
         R"([{"Name":"P","Area":[{"Name":"A","City":[{"Name":"C","IntensityStation":1}]}]}])", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(LogFilePath());
        tree.clear();
        BuildIntensityTree(tree, QString::fromUtf8(c.Json), Icons());
        EXPECT_EQ(CountAtLevel(tree, 1) + CountAtLevel(tree, 2) + CountAtLevel(tree, 3), c.Items);
        const QStringList lines = Log().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].contains(QStringLiteral(":TMainForm.JsonToTreeview-"))) << lines[0].toStdString();
    }
}

struct MemoCase {
    const char* Name;
    std::array<const char*, 4> Comments;
    const char* Expected;
};

TEST(MemoBlocks, HeadlineThenSecondThenThirdCommentWithEmptyLinesBetween)
{
    const MemoCase cases[] = {
        {"headline alone", {"kind", "", "", "head"}, "head"},
        {"headline and free-form", {"", "", "free", "head"}, "head\n\nfree"},
        {"all three", {"kind", "text", "appendix", "head"}, "head\n\ntext\n\nappendix"},
        {"no headline", {"", "text", "", ""}, "text"},
        {"lines kept", {"", "a\nb", "", "head"}, "head\n\na\nb"},
        {"nothing", {"kind", "", "", ""}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TJmaRec rec;
        for (size_t i = 0; i < 4; ++i)
            rec.Comments[i] = QString::fromUtf8(c.Comments[i]);
        QPlainTextEdit memo;
        AppendMemoBlocks(memo, rec);
        EXPECT_EQ(memo.toPlainText(), QString::fromUtf8(c.Expected));
    }
}

}  // namespace
