#include "intensitymap/areacode.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <stdexcept>

namespace {

TEST(LatLonToDispXY, ProjectsTheTableExtremesAndTheCentre)
{
    const struct {
        const char* name;
        float lat;
        float lon;
        QPoint pixel;
    } cases[] = {
        {"石狩地方北部", 43.413f, 141.505f, {1373, 270}},
        {"沖縄県与那国島 (leftmost)", 24.546f, 122.930f, {81, 1869}},
        {"根室地方南部 (rightmost)", 43.268f, 145.474f, {1649, 283}},
        {"北海道利尻礼文 (topmost)", 45.270f, 141.103f, {1345, 89}},
        {"沖縄県西表島 (lowest)", 24.386f, 123.774f, {140, 1881}},
        {"centre of projection", 35.7f, 135.57f, {960, 968}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LatLonToDispXY(QPointF(c.lon, c.lat)), c.pixel);
    }
}

TEST(LatLonToDispXY, PointsFarOffTheMapStayFarOutsideWithoutOverflow)
{
    const struct {
        const char* name;
        QPointF lonLat;
        QPoint pixel;
    } cases[] = {
        {"longitude of 1e16", {1.23612e16, 35.0}, {1 << 24, 1095}},
        {"longitude of -3e38", {-3e38, 35.0}, {-(1 << 24), 1095}},
        {"latitude past the pole", {135.57, 1e30}, {960, 968}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QPoint pixel = LatLonToDispXY(c.lonLat);
        EXPECT_EQ(pixel.x(), c.pixel.x());
        EXPECT_TRUE(std::abs(pixel.y()) <= (1 << 24));
    }
}

TEST(LoadAreaCode, BuiltInTableHasAllRowsInOrder)
{
    TAreaCodeList list;
    LoadAreaCode(list);
    ASSERT_EQ(list.size(), 191u);
    EXPECT_EQ(list.front().Code, 100);
    EXPECT_EQ(list.front().AreaName, QStringLiteral("石狩地方北部"));
    EXPECT_FLOAT_EQ(list.front().LatLon.y(), 43.413f);
    EXPECT_FLOAT_EQ(list.front().LatLon.x(), 141.505f);
    EXPECT_EQ(list.front().DispXY, QPoint(1373, 270));
    EXPECT_EQ(list.back().Code, 807);
    EXPECT_EQ(list.back().DispXY, QPoint(140, 1881));

    QSet<QString> names;
    for (const TAreaCode& row : list) {
        names.insert(row.AreaName);
        EXPECT_EQ(row.DispXY, LatLonToDispXY(row.LatLon)) << row.AreaName.toStdString();
        EXPECT_GE(row.Code, 100);
        EXPECT_LE(row.Code, 807);
    }
    EXPECT_EQ(names.size(), 191);
}

TEST(LoadAreaCode, BothRowsOfTheRepeatedCodesAreFoundByName)
{
    TAreaCodeList list;
    LoadAreaCode(list);
    const struct {
        int code;
        const char16_t* first;
        const char16_t* second;
    } cases[] = {
        {140, u"網走地方網走", u"網走地方"},
        {141, u"網走地方北見", u"北見地方"},
        {142, u"網走地方紋別", u"紋別地方"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        for (const char16_t* name : {c.first, c.second}) {
            const auto row = std::find_if(list.begin(), list.end(), [&](const TAreaCode& r) {
                return r.AreaName == QStringView(name);
            });
            ASSERT_NE(row, list.end());
            EXPECT_EQ(row->Code, c.code);
        }
    }
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](const TAreaCode& r) { return r.Code == 140; }), 2);
}

TEST(ParseAreaCode, SkipsLinesWithoutFourFieldsAndKeepsTheirNeighbours)
{
    const QByteArray text = "\xEF\xBB\xBF"
                            "100,石狩地方北部,43.413,141.505\r\n"
                            "101,余分,43.015,141.293,9\r\n"
                            "\r\n"
                            "102,足りない,42.839\r\n"
                            "103,末尾にカンマ,42.0,140.0,\r\n"
                            "105,渡島地方北部,42.279,140.218\n"
                            "106,渡島地方東部,41.929,140.728";
    TAreaCodeList list;
    ParseAreaCode(text, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Code, 100);
    EXPECT_EQ(list[0].AreaName, QStringLiteral("石狩地方北部"));
    EXPECT_EQ(list[1].Code, 105);
    EXPECT_EQ(list[2].Code, 106);
}

TEST(ParseAreaCode, MalformedNumbersAbortTheLoad)
{
    const char* cases[] = {
        "x100,石狩地方北部,43.413,141.505\r\n",
        "100,石狩地方北部,北緯,141.505\r\n",
        "100,石狩地方北部,43.413,\r\n",
    };
    for (const char* line : cases) {
        SCOPED_TRACE(line);
        TAreaCodeList list;
        EXPECT_THROW(ParseAreaCode(QByteArray(line), list), std::runtime_error);
    }
}

}  // namespace
