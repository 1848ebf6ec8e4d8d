#include "core/rounding.h"

#include <gtest/gtest.h>

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const struct {
        double in;
        double out;
    } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {10.5, 10}, {11.5, 12}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {0.49, 0}, {0.51, 1}, {-0.51, -1}, {3.0, 3}, {1e9 + 0.5, 1e9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(RoundHalfEven(c.in), c.out);
    }
}
