#include "intensitymap/imagelist.h"
#include "intensitymap/labelsize.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>

namespace {

TEST(ShindoToImageIndex, MapsExactIntensityTextsAndNothingElse)
{
    const struct {
        const char16_t* text;
        int index;
    } cases[] = {
        {u"1", 1},  {u"2", 2},  {u"3", 3},   {u"4", 4},   {u"5-", 5},  {u"5+", 6},
        {u"6-", 7}, {u"6+", 8}, {u"7", 9},   {u"", 0},    {u"0", 0},   {u"8", 0},
        {u" 1", 0}, {u"1 ", 0}, {u"5", 0},   {u"5−", 0},  {u"５-", 0}, {u"震度５弱以上未入電", 0},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(ShindoToImageIndex(text), c.index);
    }
}

TEST(ImageList1, HoldsSeventeenPicturesOf64WithTransparentCorners)
{
    const std::vector<QImage> pictures = ImageList1();
    ASSERT_EQ(pictures.size(), static_cast<std::size_t>(ImageList1Count));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        const QImage& picture = pictures[i];
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.size(), QSize(64, 64));
        EXPECT_EQ(picture.format(), QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << "rounded or free-standing pictures leave the corner clear";
    }
}

TEST(ImageList1, IntensityPicturesCarryTheirFillColours)
{
    const std::vector<QImage> pictures = ImageList1();
    ASSERT_EQ(pictures.size(), static_cast<std::size_t>(ImageList1Count));
    const QRgb fills[] = {0xF0F0F0, 0xF0F0F0, 0x36AAF9, 0x004CF6, 0xF9E59F,
                          0xFEE54A, 0xF79D36, 0xF24321, 0x9C2026, 0xAA2766};
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        // Just inside the border, clear of the rounded corner and the text.
        const QRgb pixel = pictures[i].pixel(32, 3);
        EXPECT_EQ(qAlpha(pixel), 255);
        EXPECT_EQ(pixel & 0xFFFFFF, fills[i]);
    }
}

class LabelSizeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "intensitymap_tests";
        static char* argv[] = {name, nullptr};
        if (QGuiApplication::instance() == nullptr)
            app = new QGuiApplication(argc, argv);
    }
    static inline QGuiApplication* app = nullptr;
};

TEST_F(LabelSizeTest, CaptionFontIsABoldJapaneseFont)
{
    const QFontInfo info(CaptionFont());
    EXPECT_TRUE(info.bold());
    EXPECT_NE(info.family(), QStringLiteral("DejaVu Sans")) << "the fallback must be a Japanese font";
}

TEST_F(LabelSizeTest, CaptionBlockFitsTwoLinesOfTheDate)
{
    const TLabelSize size = MeasureLabelSize();
    // Bold 23.5-pixel text: "9999/99/99 99:99" is some 190 pixels wide and a line some 30
    // high; the block is half of that plus its margins.
    EXPECT_GT(size.LabelWidth, 80);
    EXPECT_LT(size.LabelWidth, 130);
    EXPECT_GT(size.LabelLineHeight, 10);
    EXPECT_LT(size.LabelLineHeight, 25);
    EXPECT_GT(size.LabelHeight, 2 * size.LabelLineHeight - 4);
    EXPECT_LT(size.LabelHeight, size.LabelWidth);
}

}  // namespace
