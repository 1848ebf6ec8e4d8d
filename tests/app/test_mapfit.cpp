#include "app/mapfit.h"

#include <gtest/gtest.h>

namespace {

const QSize Map(1920, 1940);

struct FitCase {
    const char* Name;
    QSize Box;
    TRect Region;
    TRect Expected;
};

TEST(FitRegionToBox, WidensOrHeightensAndMovesBackInside)
{
    const FitCase cases[] = {
        {"wide box, left overhang moved right", {292, 130}, {100, 200, 356, 456}, {0, 200, 576, 456}},
        {"wide box, right overhang moved left", {292, 130}, {1664, 100, 1920, 356}, {1344, 100, 1920, 356}},
        {"tall box, top overhang moved down", {200, 400}, {0, 0, 256, 256}, {0, 0, 256, 512}},
        {"tall box, bottom overhang moved up", {200, 400}, {0, 1684, 256, 1940}, {0, 1428, 256, 1940}},
        {"same shape stays", {300, 200}, {100, 100, 484, 356}, {100, 100, 484, 356}},
        {"wide box inside the bitmap", {292, 130}, {884, 784, 1140, 1040}, {724, 784, 1300, 1040}},
        // wider than the bitmap: starts at 0 and reaches past the far edge
        {"wider than the bitmap", {1000, 100}, {0, 0, 1920, 1940}, {0, 0, 19400, 1940}},
        {"wider than the bitmap, short region", {4000, 100}, {800, 0, 1000, 200}, {0, 0, 8000, 200}},
        // only the near overhang is removed, even when that makes the far one
        {"taller than the bitmap", {100, 2000}, {0, 100, 256, 356}, {0, 0, 256, 5120}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto fitted = FitRegionToBox(c.Region, Map, c.Box);
        ASSERT_TRUE(fitted.has_value());
        EXPECT_EQ(*fitted, c.Expected) << fitted->Left << ',' << fitted->Top << ',' << fitted->Right << ','
                                       << fitted->Bottom;
    }
}

TEST(FitRegionToBox, BoxWithoutAreaKeepsThePreviousRegion)
{
    for (const QSize box : {QSize(0, 130), QSize(292, 0), QSize(0, 0)}) {
        SCOPED_TRACE(box.width());
        EXPECT_FALSE(FitRegionToBox({100, 200, 356, 456}, Map, box).has_value());
    }
}

TEST(FitRegionToBox, EmptyRegionStaysEmpty)
{
    const auto fitted = FitRegionToBox({}, Map, {292, 130});
    ASSERT_TRUE(fitted.has_value());
    EXPECT_EQ(*fitted, TRect{});
}

struct ClipCase {
    const char* Name;
    QRectF Source;
    QRectF Target;
    QRectF ExpectedSource;
    QRectF ExpectedTarget;
};

TEST(ClipToImage, DrawsOnlyThePartInsideTheImage)
{
    const QSize image(100, 50);
    const ClipCase cases[] = {
        {"inside", {10, 10, 20, 20}, {0, 0, 40, 40}, {10, 10, 20, 20}, {0, 0, 40, 40}},
        {"past the right edge", {50, 0, 100, 50}, {0, 0, 200, 100}, {50, 0, 50, 50}, {0, 0, 100, 100}},
        {"before the left and top edges", {-50, -25, 100, 50}, {0, 0, 200, 100}, {0, 0, 50, 25}, {100, 50, 100, 50}},
        {"past both vertical edges", {0, -50, 100, 150}, {0, 0, 100, 300}, {0, 0, 100, 50}, {0, 100, 100, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto clipped = ClipToImage(c.Source, c.Target, image);
        ASSERT_TRUE(clipped.has_value());
        EXPECT_EQ(clipped->Source, c.ExpectedSource);
        EXPECT_EQ(clipped->Target, c.ExpectedTarget);
    }
}

TEST(ClipToImage, NothingWhenNoPartIsInside)
{
    const QSize image(100, 50);
    EXPECT_FALSE(ClipToImage({100, 0, 10, 10}, {0, 0, 10, 10}, image));
    EXPECT_FALSE(ClipToImage({0, 0, 0, 0}, {0, 0, 10, 10}, image));
    EXPECT_FALSE(ClipToImage({0, 0, 10, 10}, {0, 0, 0, 10}, image));
}

}  // namespace
