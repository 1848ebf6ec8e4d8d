#include "basemap/maplayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// One coded pixel per case, in a row; the target is as small as the coded image.
struct Coded {
    const char* Name;
    QRgb Code;
};

constexpr Coded Pixels[] = {
    {"coastal sea", qRgb(0, 0, 255)},
    {"deep sea", qRgb(0, 0, 4)},
    {"low Japanese land", qRgb(0, 255, 0)},
    {"high Japanese land", qRgb(0, 2, 0)},
    {"low foreign land", qRgb(255, 0, 0)},
    {"high foreign land", qRgb(57, 0, 0)},
    {"border R170", qRgb(170, 200, 0)},
    {"border R255", qRgb(255, 255, 0)},
    {"no class", qRgb(0, 0, 0)},
    {"sea and land", qRgb(0, 100, 100)},
    {"border touching sea", qRgb(90, 0, 50)},
};
enum { CoastalSea, DeepSea, LowJapan, HighJapan, LowForeign, HighForeign, Border170, Border255, NoClass,
       SeaAndLand, BorderInSea, PixelCount };

QImage CodedImage()
{
    QImage image(PixelCount, 1, QImage::Format_RGB32);
    for (int x = 0; x < PixelCount; ++x)
        image.setPixel(x, 0, Pixels[x].Code);
    return image;
}

QImage Paint(const TDrawMapRec& Rec, TMapLayer* Layer = nullptr)
{
    TMapLayer own;
    QImage target(PixelCount, 1, QImage::Format_ARGB32);
    target.fill(0x12345678u);
    (Layer ? *Layer : own).MakeMapFrom(Rec, CodedImage(), target);
    return target;
}

TDrawMapRec AllMono()
{
    TDrawMapRec rec;
    rec.IsSeaMono = true;
    rec.SeaMono = 0xFF0000A0;
    rec.IsJapanMono = true;
    rec.JapanMono = 0xFF00A000;
    rec.IsForeignMono = true;
    rec.ForeignMono = 0xFFA00000;
    rec.IsKenkyoDraw = false;
    return rec;
}

void ExpectPixels(const QImage& Image, std::initializer_list<std::pair<int, QRgb>> Expected)
{
    for (const auto& [x, color] : Expected) {
        SCOPED_TRACE(Pixels[x].Name);
        EXPECT_EQ(Image.pixel(x, 0), color) << std::hex << Image.pixel(x, 0) << " != " << color;
    }
}

TEST(MapLayerPasses, SingleColoursWithoutForeignLandOrBorders)
{
    TDrawMapRec rec = AllMono();
    rec.IsForeignDraw = false;
    const QImage map = Paint(rec);
    ExpectPixels(map, {{CoastalSea, rec.SeaMono}, {DeepSea, rec.SeaMono}, {LowJapan, rec.JapanMono},
                       {HighJapan, rec.JapanMono}, {Border170, rec.JapanMono}, {LowForeign, rec.SeaMono},
                       {HighForeign, rec.SeaMono}, {NoClass, rec.SeaMono}, {SeaAndLand, rec.JapanMono},
                       {BorderInSea, rec.SeaMono}});
}

TEST(MapLayerPasses, ClassesOverlapInPassOrder)
{
    const TDrawMapRec rec = AllMono();
    const QImage map = Paint(rec);
    // a red channel with blue is sea only: neither foreign land nor a border
    ExpectPixels(map, {{LowForeign, rec.ForeignMono}, {HighForeign, rec.ForeignMono}, {SeaAndLand, rec.JapanMono},
                       {BorderInSea, rec.SeaMono}, {NoClass, rec.SeaMono}});
}

TEST(MapLayerPasses, SeaGradientEndsAndDepth)
{
    TDrawMapRec rec = AllMono();
    rec.IsSeaMono = false;
    rec.SeaGrad1 = 0xFF50A0FF;
    rec.SeaGrad2 = 0xFF4070FF;
    const QImage map = Paint(rec);
    // B = 4 is position 251: red 80 - 16 * 251 / 255 = 64.25, green 160 - 48 * 251 / 255 = 112.75
    ExpectPixels(map, {{CoastalSea, 0xFF50A0FF}, {DeepSea, 0xFF4071FF}});
    EXPECT_EQ(map.pixel(DeepSea, 0), MakeGradient(rec.SeaGrad1, rec.SeaGrad2)[251]);
}

TEST(MapLayerPasses, GradientPaintsOpaqueMonoKeepsAlpha)
{
    TDrawMapRec gradient = AllMono();
    gradient.IsJapanMono = false;
    gradient.JapanGrad1 = 0x402E8B57;
    gradient.JapanGrad2 = 0x00404040;
    gradient.IsForeignMono = false;
    gradient.ForeignGrad1 = 0x10778899;
    ExpectPixels(Paint(gradient), {{LowJapan, 0xFF2E8B57}, {LowForeign, 0xFF778899}});

    TDrawMapRec mono = AllMono();
    mono.JapanMono = 0x8000A000;
    ExpectPixels(Paint(mono), {{LowJapan, 0x8000A000}, {HighJapan, 0x8000A000}});
}

TEST(MapLayerPasses, ForeignLandOffShowsFlatSeaColourUnderSeaGradient)
{
    TDrawMapRec rec = AllMono();
    rec.IsSeaMono = false;
    rec.IsForeignDraw = false;
    const QImage map = Paint(rec);
    ExpectPixels(map, {{LowForeign, rec.SeaMono}, {HighForeign, rec.SeaMono}});
    EXPECT_NE(map.pixel(CoastalSea, 0), rec.SeaMono);
}

TEST(MapLayerBorders, BlendTowardsWhite)
{
    struct Case {
        const char* Name;
        bool Draw;
        float Blend;
        TAlphaColor Land;
        QRgb Border170;
        QRgb Border255;
    } cases[] = {
        // the weight is held as a 32-bit float: 0.3f * 255 + 100 * 0.7 is just above 146.5
        {"0.3 of 170 over 100 is 131", true, 0.3f, 0xFF646464, 0xFF838383, 0xFF939393},
        {"full weight turns white, alpha kept", true, 1.0f, 0x80102030, 0x80AFB5BA, 0x80FFFFFF},
        {"blend 0 writes the pixel back", true, 0.0f, 0xFF646464, 0xFF646464, 0xFF646464},
        {"borders off merge into the land", false, 1.0f, 0xFF646464, 0xFF646464, 0xFF646464},
        {"above 1 is held at 1", true, 2.5f, 0x80102030, 0x80AFB5BA, 0x80FFFFFF},
        {"below 0 is held at 0", true, -1.0f, 0xFF646464, 0xFF646464, 0xFF646464},
        {"NaN is taken as 0", true, std::numeric_limits<float>::quiet_NaN(), 0xFF646464, 0xFF646464, 0xFF646464},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TDrawMapRec rec = AllMono();
        rec.IsKenkyoDraw = c.Draw;
        rec.KenkyoBlend = c.Blend;
        rec.JapanMono = c.Land;
        ExpectPixels(Paint(rec), {{Border170, c.Border170}, {Border255, c.Border255}, {LowJapan, c.Land}});
    }
}

TEST(MapLayerGradient, Strip)
{
    const TGradientStrip same = MakeGradient(0x20ABCDEF, 0x20ABCDEF);
    for (TAlphaColor color : same)
        ASSERT_EQ(color, 0xFFABCDEFu);

    const TGradientStrip strip = MakeGradient(0x00000000, 0xFFFF8000);
    EXPECT_EQ(strip[0], 0xFF000000u);
    EXPECT_EQ(strip[255], 0xFFFF8000u);
    // 255 * 100 / 255 = 100; 128 * 100 / 255 = 50.196
    EXPECT_EQ(strip[100], 0xFF643200u);
}

TEST(MapLayerState, DoneOnlyAfterThePasses)
{
    TMapLayer layer;
    EXPECT_FALSE(layer.Done());
    EXPECT_EQ(layer.Width(), 960);
    EXPECT_EQ(layer.Height(), 970);

    QImage none;
    layer.MakeMapFrom(TDrawMapRec{}, CodedImage(), none);
    EXPECT_TRUE(none.isNull());
    EXPECT_FALSE(layer.Done());

    QImage target(4, 4, QImage::Format_ARGB32);
    layer.MakeMapFrom(TDrawMapRec{}, QImage(), target);
    EXPECT_FALSE(layer.Done());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(target.pixel(x, y), TDrawMapRec{}.SeaMono) << "undecodable map keeps the sea colour";

    Paint(TDrawMapRec{}, &layer);
    EXPECT_TRUE(layer.Done());
}

TEST(MapLayerState, TargetLargerThanCodedImageKeepsSeaColourOutside)
{
    TMapLayer layer;
    const TDrawMapRec rec = AllMono();
    QImage target(PixelCount + 2, 3, QImage::Format_ARGB32);
    layer.MakeMapFrom(rec, CodedImage(), target);
    EXPECT_EQ(target.pixel(LowJapan, 0), rec.JapanMono);
    EXPECT_EQ(target.pixel(PixelCount + 1, 0), rec.SeaMono);
    EXPECT_EQ(target.pixel(LowJapan, 2), rec.SeaMono);
}

TEST(MapLayerBuiltIn, PaintsTheWholeFrame)
{
    TMapLayer layer;
    QImage target(960, 970, QImage::Format_ARGB32);
    target.fill(0u);
    TDrawMapRec rec;
    rec.SeaMono = 0x00000000;
    layer.TestMap(rec, target);
    ASSERT_TRUE(layer.Done());
    int untouched = 0;
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            untouched += target.pixel(x, y) == 0u;
    EXPECT_EQ(untouched, 0) << "every pixel of the built-in map belongs to a class";
}

}  // namespace
