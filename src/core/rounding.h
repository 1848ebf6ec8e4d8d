#pragma once

#include <cmath>

// Rounds to the nearest integer, halves to the even neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2),
// whatever the floating-point rounding mode of the caller.
inline double RoundHalfEven(double Value)
{
    const double down = std::floor(Value);
    const double diff = Value - down;
    if (diff < 0.5)
        return down;
    if (diff > 0.5)
        return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}
