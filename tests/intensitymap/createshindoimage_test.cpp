#include "intensitymap/createshindoimage.h"

#include "basemap/drawmaprec.h"
#include "basemap/maplayer.h"
#include "core/folder.h"
#include "core/log.h"
#include "intensitymap/imagelist.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

constexpr int labelWidth = 100;
constexpr int labelHeight = 40;

// A longitude and latitude that the projection puts on Pixel.
QPointF LonLatAt(QPoint Pixel)
{
    const double k = 0.0174532925;
    const double lon = (Pixel.x() - 960.0) / 69.53149 + 135.57;
    const double ordinate = std::asinh(std::tan(0.62308254225)) - (Pixel.y() + 2 - 970.0) / 3992.879072;
    const double lat = std::atan(std::sinh(ordinate)) / k;
    return {static_cast<float>(lon), static_cast<float>(lat)};
}

TShindListRec Mark(const char16_t* Caption, int ImageIndex)
{
    TShindListRec mark;
    mark.Caption = QString::fromUtf16(Caption);
    mark.ImageIndex = ImageIndex;
    return mark;
}

TShindListRec MarkAt(QPoint Pixel)
{
    TShindListRec mark;
    mark.DispXY = Pixel;
    mark.ImageIndex = 1;
    return mark;
}

const QPointF noEpicenter(0, 0);
const QPoint ishikari(1373, 270);

class ComposerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        TMapLayer layer;
        composer = std::make_unique<TCreateShindoImage>(layer, TDrawMapRec(), ImageList1(), labelWidth, labelHeight);
    }
    static void TearDownTestSuite() { composer.reset(); }

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

    struct Result {
        bool done = false;
        QImage bitmap;
        TRect rect{-1, -1, -1, -1};
        TLabelPosition position = static_cast<TLabelPosition>(-1);
    };

    static Result Compose(std::vector<TShindListRec>& List, QPointF Epicenter)
    {
        Result r;
        r.done = composer->DrawNow(List, Epicenter, r.bitmap, r.rect, r.position);
        return r;
    }

    static Result Compose(std::vector<TShindListRec>&& List, QPointF Epicenter) { return Compose(List, Epicenter); }

    static inline std::unique_ptr<TCreateShindoImage> composer;
    QTemporaryDir dir;
};

TEST_F(ComposerTest, RegionOfInterestOfMarksAndEpicentre)
{
    const struct {
        const char* name;
        std::vector<TShindListRec> marks;
        QPointF epicenter;
        TRect rect;
    } cases[] = {
        {"single mark", {Mark(u"石狩地方北部", 3)}, noEpicenter, {1245, 142, 1501, 398}},
        {"mark at the bottom left edge", {Mark(u"沖縄県与那国島", 3)}, noEpicenter, {0, 1684, 256, 1940}},
        {"epicentre alone", {}, LonLatAt({1000, 900}), {884, 784, 1140, 1040}},
        {"unknown name lands at the origin", {Mark(u"どこでもない", 4)}, noEpicenter, {0, 0, 256, 256}},
        {"mark without icon still counts", {Mark(u"石狩地方北部", -1)}, noEpicenter, {1245, 142, 1501, 398}},
        {"epicentre west of the map is absent", {Mark(u"石狩地方北部", 3)}, QPointF(120.0f, 35.0f),
         {1245, 142, 1501, 398}},
        {"epicentre at a longitude of 1e16 is absent", {Mark(u"石狩地方北部", 3)}, QPointF(1.23612e16, 35.0),
         {1245, 142, 1501, 398}},
        {"mark and epicentre",
         {Mark(u"石狩地方北部", 3)},
         LonLatAt({1373, 700}),
         {1245, 246, 1501, 724}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TShindListRec> marks = c.marks;
        const Result r = Compose(marks, c.epicenter);
        ASSERT_TRUE(r.done);
        EXPECT_EQ(r.rect, c.rect) << r.rect.Left << "," << r.rect.Top << "," << r.rect.Right << "," << r.rect.Bottom;
        EXPECT_EQ(r.bitmap.size(), QSize(1920, 1940));
        EXPECT_EQ(r.bitmap.format(), QImage::Format_ARGB32);
    }
}

TEST(RegionOfInterest, WidensShiftsAndFallsBackToTheWholeMap)
{
    const struct {
        const char* name;
        std::vector<TShindListRec> marks;
        std::optional<QPoint> epicenter;
        TRect rect;
    } cases[] = {
        {"49 wide grows to 255", {MarkAt({100, 500}), MarkAt({101, 500})}, {}, {0, 372, 255, 628}},
        {"no mark inside the map", {MarkAt({-5, 100}), MarkAt({1920, 100}), MarkAt({100, 1940})}, {},
         {0, 0, 1920, 1940}},
        {"outside marks ignored beside an inside one", {MarkAt({-5, 100}), MarkAt({500, 500})}, {},
         {372, 372, 628, 628}},
        {"wide spread keeps its size", {MarkAt({100, 100}), MarkAt({1800, 1700})}, {}, {76, 76, 1824, 1724}},
        {"epicentre at the right edge", {}, QPoint(1919, 10), {1665, 0, 1920, 256}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TRect r = RegionOfInterest(c.marks, c.epicenter);
        EXPECT_EQ(r, c.rect) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
}

TEST_F(ComposerTest, NothingToDrawLeavesEverythingUntouched)
{
    for (const QPointF epicenter : {noEpicenter, QPointF(150.0f, 35.0f), QPointF(135.0f, 10.0f)}) {
        Result r;
        r.bitmap = QImage(4, 4, QImage::Format_ARGB32);
        r.bitmap.fill(0xFF123456);
        std::vector<TShindListRec> none;
        EXPECT_FALSE(composer->DrawNow(none, epicenter, r.bitmap, r.rect, r.position));
        EXPECT_EQ(r.bitmap.size(), QSize(4, 4));
        EXPECT_EQ(r.bitmap.pixel(0, 0), 0xFF123456u);
        EXPECT_EQ(r.rect, (TRect{-1, -1, -1, -1}));
        EXPECT_EQ(r.position, static_cast<TLabelPosition>(-1));
    }
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(ComposerTest, SortsMarksAndPlacesThemFromTheTable)
{
    std::vector<TShindListRec> marks = {Mark(u"熊本県熊本", 9), Mark(u"石狩地方北部", 1), Mark(u"網走地方", -1),
                                        Mark(u"どこでもない", 5), Mark(u"北見地方", 3)};
    ASSERT_TRUE(Compose(marks, noEpicenter).done);
    const int order[] = {-1, 1, 3, 5, 9};
    for (std::size_t i = 0; i < marks.size(); ++i)
        EXPECT_EQ(marks[i].ImageIndex, order[i]) << i;
    EXPECT_EQ(marks[0].DispXY, LatLonToDispXY(QPointF(144.370f, 43.827f)));
    EXPECT_EQ(marks[1].DispXY, ishikari);
    EXPECT_EQ(marks[2].DispXY, LatLonToDispXY(QPointF(143.713f, 43.825f)));
    EXPECT_EQ(marks[3].DispXY, QPoint(0, 0));
    EXPECT_EQ(marks[4].DispXY, LatLonToDispXY(QPointF(130.797f, 32.762f)));
    EXPECT_TRUE(Log().endsWith(QStringLiteral(":Not Found!-どこでもない\r\n"))) << Log().toStdString();
    EXPECT_EQ(Log().count(u'\n'), 1);
}

TEST_F(ComposerTest, DrawsOnlyIconsOneToNineHigherOnTopEpicentreOverAll)
{
    const QImage base = Compose({Mark(u"石狩地方北部", -1)}, noEpicenter).bitmap;
    const QImage epicenterIcon = ImageList1()[EpicenterImageIndex];
    const QPoint centre = ishikari;
    const QPoint nearEdge = ishikari + QPoint(-10, 0);

    for (const int index : {-1, 0, 10, 12, 13}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Compose({Mark(u"石狩地方北部", index)}, noEpicenter).bitmap, base);
    }
    const QImage low = Compose({Mark(u"石狩地方北部", 1)}, noEpicenter).bitmap;
    const QImage high = Compose({Mark(u"石狩地方北部", 9)}, noEpicenter).bitmap;
    EXPECT_NE(low.pixel(nearEdge), base.pixel(nearEdge));
    EXPECT_NE(low.pixel(nearEdge), high.pixel(nearEdge));
    EXPECT_EQ(base.pixel(centre + QPoint(12, 12)), low.pixel(centre + QPoint(12, 12))) << "the icon is 24 x 24";
    for (const auto& order : {std::vector{9, 1}, std::vector{1, 9}}) {
        const QImage both
            = Compose({Mark(u"石狩地方北部", order[0]), Mark(u"石狩地方北部", order[1])}, noEpicenter).bitmap;
        EXPECT_EQ(both.pixel(nearEdge), high.pixel(nearEdge));
    }

    const QPointF atIshikari = LonLatAt(ishikari);
    const QImage crossAlone = Compose({}, atIshikari).bitmap;
    const QImage crossOverSeven = Compose({Mark(u"石狩地方北部", 9)}, atIshikari).bitmap;
    EXPECT_EQ(crossOverSeven.pixel(centre), crossAlone.pixel(centre));
    EXPECT_NE(crossAlone.pixel(centre), base.pixel(centre));
}

TEST_F(ComposerTest, UnknownAreaShowsTheLowerRightQuarterOfItsIcon)
{
    const QImage base = Compose({Mark(u"どこでもない", -1)}, noEpicenter).bitmap;
    const QImage marked = Compose({Mark(u"どこでもない", 9)}, noEpicenter).bitmap;
    EXPECT_NE(marked.pixel(5, 5), base.pixel(5, 5));
    EXPECT_EQ(marked.pixel(13, 13), base.pixel(13, 13));
}

TEST_F(ComposerTest, LabelGoesToTheFirstFreeCorner)
{
    // A single mark sits in the middle of its 256 x 256 region: every corner is free.
    EXPECT_EQ(Compose({Mark(u"石狩地方北部", 3)}, noEpicenter).position, lpLeftTop);
    // A mark drawn at the region's top left corner (unknown names land at the origin).
    EXPECT_EQ(Compose({Mark(u"どこでもない", 3)}, noEpicenter).position, lpRightTop);
    // The same mark without an icon covers nothing.
    EXPECT_EQ(Compose({Mark(u"どこでもない", -1)}, noEpicenter).position, lpLeftTop);
}

TEST(FindLabelPosition, TakesCornersInOrderAndCountsTheEdgeRowAndColumn)
{
    const TRect region{100, 100, 356, 356};
    const QPoint leftTop(100, 100), rightTop(355, 100), bottomRight(355, 355), bottomLeft(100, 355);
    const struct {
        const char* name;
        std::vector<QPoint> dots;
        TLabelPosition position;
    } cases[] = {
        {"empty", {}, lpLeftTop},
        {"left top taken", {leftTop}, lpRightTop},
        {"left top right edge column included", {QPoint(100 + labelWidth, 100)}, lpRightTop},
        {"left top bottom row included", {QPoint(100, 100 + labelHeight)}, lpRightTop},
        {"just beyond the left top area", {QPoint(101 + labelWidth, 101 + labelHeight)}, lpLeftTop},
        {"two top corners taken", {leftTop, rightTop}, lpBottomRight},
        {"three taken", {leftTop, rightTop, bottomRight}, lpBottomLeft},
        {"all four taken", {leftTop, rightTop, bottomRight, bottomLeft}, lpNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage bitmap(1920, 1940, QImage::Format_ARGB32);
        bitmap.fill(0);
        for (const QPoint& dot : c.dots)
            bitmap.setPixel(dot, 0x01000000);
        EXPECT_EQ(FindLabelPosition(bitmap, region, labelWidth, labelHeight), c.position);
    }
}

TEST(IsAreaBlank, PixelsOutsideTheBitmapAndInvertedAreasAreBlank)
{
    QImage bitmap(20, 20, QImage::Format_ARGB32);
    bitmap.fill(0);
    bitmap.setPixel(19, 19, 0x00000001);
    const struct {
        const char* name;
        TRect area;
        bool blank;
    } cases[] = {
        {"holds the only pixel", {10, 10, 19, 19}, false},
        {"reaches past the bitmap", {15, 15, 40, 40}, false},
        {"stops one short", {0, 0, 18, 18}, true},
        {"wholly outside", {20, 0, 30, 30}, true},
        {"inverted", {19, 19, 10, 10}, true},
        {"negative start", {-10, -10, 5, 5}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsAreaBlank(bitmap, c.area), c.blank);
    }
    EXPECT_EQ(FindLabelPosition(QImage(), TRect{0, 0, 10, 10}, 5, 5), lpNone);
}

TEST(TCreateShindoImage, RefusesAnIconListWithoutTheEpicentre)
{
    TMapLayer layer;
    std::vector<QImage> icons = ImageList1();
    icons.resize(EpicenterImageIndex);
    EXPECT_THROW(TCreateShindoImage(layer, TDrawMapRec(), icons, labelWidth, labelHeight), std::invalid_argument);
}

}  // namespace
