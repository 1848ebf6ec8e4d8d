#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The coded image's frame: the composed map's Mercator projection at half scale.
QPoint MapPixel(double Lon, double Lat)
{
    const double x = std::nearbyint((Lon - 135.57) * 69.53149 + 960.0);
    const double y = std::nearbyint((std::asinh(std::tan(Lat * 0.0174532925)) - std::asinh(std::tan(0.62308254225))) *
                                        (-3992.879072) +
                                    970.0) -
                     2;
    return {static_cast<int>(x) / 2, static_cast<int>(y) / 2};
}

enum class Surface { Sea, Japan, Foreign, Border, None };

Surface Classify(QRgb Code)
{
    const int r = qRed(Code), g = qGreen(Code), b = qBlue(Code);
    if (g > 0)
        return r > 0 && b == 0 ? Surface::Border : Surface::Japan;
    if (b > 0)
        return Surface::Sea;
    return r > 0 ? Surface::Foreign : Surface::None;
}

class MapData : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QFile file(QStringLiteral(":/MapData"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        Bytes = file.readAll();
        Image = QImage::fromData(Bytes, "PNG");
    }
    static inline QByteArray Bytes;
    static inline QImage Image;
};

TEST_F(MapData, IsAn8BitRgbPngOfTheMapSize)
{
    ASSERT_GE(Bytes.size(), 26);
    EXPECT_TRUE(Bytes.startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(Bytes[24], 8) << "bit depth";
    EXPECT_EQ(Bytes[25], 2) << "colour type RGB without alpha";
    ASSERT_FALSE(Image.isNull());
    EXPECT_EQ(Image.size(), QSize(960, 970));
    EXPECT_FALSE(Image.hasAlphaChannel());
}

TEST_F(MapData, ChannelValuesStayInTheirRanges)
{
    int none = 0, borders = 0, badSea = 0, badJapan = 0, badForeign = 0, badBorder = 0;
    for (int y = 0; y < Image.height(); ++y) {
        for (int x = 0; x < Image.width(); ++x) {
            const QRgb code = Image.pixel(x, y);
            switch (Classify(code)) {
            case Surface::None: ++none; break;
            case Surface::Sea: badSea += qBlue(code) < 4 || qRed(code) != 0; break;
            case Surface::Japan: badJapan += qGreen(code) < 2 || qRed(code) != 0; break;
            case Surface::Foreign: badForeign += qRed(code) < 57; break;
            case Surface::Border:
                ++borders;
                badBorder += qRed(code) < 81 || qRed(code) > 212;
                break;
            }
        }
    }
    EXPECT_EQ(none, 0);
    EXPECT_EQ(badSea, 0);
    EXPECT_EQ(badJapan, 0);
    EXPECT_EQ(badForeign, 0);
    EXPECT_EQ(badBorder, 0);
    EXPECT_GE(borders, 2000);
}

TEST_F(MapData, KnownPlaces)
{
    struct Place {
        const char* Name;
        double Lon, Lat;
        Surface Expected;
    } places[] = {
        {"Tokyo", 139.69, 35.69, Surface::Japan},      {"Sapporo", 141.35, 43.06, Surface::Japan},
        {"Kyoto", 135.57, 35.3, Surface::Japan},       {"Etorofu", 147.9, 45.0, Surface::Japan},
        {"Seoul", 126.98, 37.57, Surface::Foreign},      {"Vladivostok", 132.0, 43.3, Surface::Foreign}, {"Pacific at 140E 30N", 140.0, 30.0, Surface::Sea},
        {"Sea of Japan", 135.0, 40.0, Surface::Sea},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(p.Name);
        const QPoint at = MapPixel(p.Lon, p.Lat);
        Surface got = Classify(Image.pixel(at));
        if (got == Surface::Border)
            got = Surface::Japan;
        EXPECT_EQ(static_cast<int>(got), static_cast<int>(p.Expected)) << "pixel " << at.x() << "," << at.y();
    }
}

TEST_F(MapData, CoastalSeaIsBrightest)
{
    int coastal = 0, bright = 0;
    for (int y = 1; y + 1 < Image.height(); ++y) {
        for (int x = 1; x + 1 < Image.width(); ++x) {
            if (Classify(Image.pixel(x, y)) != Surface::Sea)
                continue;
            const QPoint around[] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            bool nearLand = false;
            for (const QPoint& n : around)
                nearLand = nearLand || Classify(Image.pixel(n)) != Surface::Sea;
            if (nearLand) {
                ++coastal;
                bright += qBlue(Image.pixel(x, y)) == 255;
            }
        }
    }
    EXPECT_GT(coastal, 0);
    EXPECT_EQ(bright, coastal);
}

}  // namespace
