#include "feed/valueparsers.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>

namespace {

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

}  // namespace

TEST(JsonStrToDateTime, ReadsWallClockTimeOrGivesZero)
{
    const struct {
        const char* text;
        const char* expected;  // "" for zero
    } cases[] = {
        {"2021-03-15T22:08:00+09:00", "2021-03-15 22:08:00"},
        {"2021-03-15T22:08:00", "2021-03-15 22:08:00"},
        {"2021/03/15 22:08:00", "2021-03-15 22:08:00"},  // separators are not examined
        {"2024-01-01T16:10:22-05:00", "2024-01-01 16:10:22"},  // no zone conversion
        {"2021-03-15T22:08:0", ""},                          // 18 characters
        {"2021-02-30T10:00:00", ""},
        {"2021-04-31T10:00:00", ""},
        {"2021-13-01T10:00:00", ""},
        {"2021-03-15T24:00:00", ""},
        {"2021-03-15T23:59:60", ""},
        {"20a1-03-15T22:08:00", ""},
        {"0000-01-01T00:00:00", ""},
        {"", ""},
        {"発表発表発表発表発表発表発表発表発表発表", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const TDateTime value = JsonStrToDateTime(Q(c.text));
        const QString shown = value.isNull() ? QString() : value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        EXPECT_EQ(shown, Q(c.expected));
    }
}

TEST(StrToFloatZero, ReadsDecimalsOrGivesZero)
{
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"2.9", 2.9f}, {"7.1", 7.1f}, {"-1.5", -1.5f}, {"+35.6", 35.6f}, {"10", 10.0f}, {"1e2", 100.0f},
        {"", 0}, {"Ｍ不明", 0}, {"abc", 0}, {"1.5x", 0}, {" ", 0}, {"1e39", 0}, {"-1e39", 0},
        {"inf", 0}, {"nan", 0}, {"+", 0}, {"++1", 0}, {"1,5", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToFloatZero(Q(c.text)), c.expected);
    }
}

TEST(StrToIntZero, ReadsSigned32BitDecimalsOrGivesZero)
{
    const struct {
        const char* text;
        std::int32_t expected;
    } cases[] = {
        {"495", 495}, {"-10000", -10000}, {"+0", 0}, {"+16000", 16000}, {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"2147483648", 0}, {"", 0}, {"12a", 0}, {"1.5", 0}, {"$FF", 0},
        {"abc", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToIntZero(Q(c.text)), c.expected);
    }
}

TEST(CodToEpicenter, ReadsPositionAndDepth)
{
    const struct {
        const char* cod;
        float lat;
        float lon;
        const char* depth;
    } cases[] = {
        {"+35.6+139.7-10000/", 35.6f, 139.7f, "10km"},
        {"+37.1+136.7-10000/", 37.1f, 136.7f, "10km"},
        {"+35.6+139.7+0/", 35.6f, 139.7f, "ごく浅い"},
        {"+35.6+139.7-0/", 35.6f, 139.7f, "ごく浅い"},
        {"+35.6+139.7+500/", 35.6f, 139.7f, "ごく浅い"},
        {"+35.6+139.7/", 35.6f, 139.7f, "-"},
        {"-20.7+169.2/", -20.7f, 169.2f, "-"},
        {"+35.6+139.7-10500/", 35.6f, 139.7f, "10km"},  // halves to even
        {"+35.6+139.7-11500/", 35.6f, 139.7f, "12km"},
        {"+35.6+139.7-500/", 35.6f, 139.7f, "0km"},
        {"+35.6+139.7-1499/", 35.6f, 139.7f, "1km"},
        {"+35.6+139.7-abc/", 35.6f, 139.7f, "ごく浅い"},
        {"+3729.7+13716.2-16000/", 37.495f, 137.27f, "16km"},  // degrees and minutes
        {"", 0, 0, "-"},
        {"/", 0, 0, "-"},
        {"+35.6", 0, 0, "-"},
        {"garbage", 0, 0, "-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cod);
        TJmaRec rec;
        CodToEpicenter(Q(c.cod), rec);
        EXPECT_NEAR(rec.Epicenter.Y, c.lat, 1e-4);
        EXPECT_NEAR(rec.Epicenter.X, c.lon, 1e-4);
        EXPECT_EQ(rec.Depth, Q(c.depth));
    }
}

TEST(DegMinToDegree, ReadsDegreesAndMinutes)
{
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"+3540.5", 35.675f}, {"-13540", -135.6667f}, {"3729.7", 37.495f}, {"+13716.2", 137.27f},
        {"3540.", 35.6666667f}, {"40", 40.0f},   // too short for degrees: the plain number
        {"abc", 0.0f}, {"", 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(DegMinToDegree(Q(c.text)), c.expected, 1e-4);
    }
}

TEST(JsonText, GivesTheTextOfAnyValue)
{
    using nlohmann::json;
    EXPECT_EQ(JsonText(json("能登")), QStringLiteral("能登"));
    EXPECT_EQ(JsonText(json(1)), QStringLiteral("1"));
    EXPECT_EQ(JsonText(json(nullptr)), QStringLiteral("null"));
    EXPECT_EQ(JsonText(json::object()), QString());
    EXPECT_EQ(JsonText(json::array()), QString());
}
