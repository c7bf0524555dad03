// TrigSeries.h: compile-time sine and cosine of whole arc-minutes in Q62, by
// integer power series, from which Sine.cpp and Tangent.cpp build their tables.
// Nothing here runs at run time; the tables are constant data.
#pragma once

#include <cstdint>

namespace TrigSeries {

using Wide = unsigned __int128;

constexpr int ONE_SHIFT = 62;
constexpr Wide ONE = Wide{1} << ONE_SHIFT;

// pi * 2^62, rounded to the nearest integer.
constexpr Wide PI_Q62 = 14488038916154245685ull;

constexpr int32_t MINUTES_PER_HALF_TURN = 180 * 60;

// Needs: a, b < 2^64. The product of two Q62 values, truncated.
constexpr Wide MulQ62(Wide a, Wide b)
{
    return (a * b) >> ONE_SHIFT;
}

// The angle of a whole number of arc-minutes in radians, Q62, rounded.
// Needs: 0 <= minutes <= 5400 (so the result stays below 2^63).
constexpr Wide RadiansQ62(int32_t minutes)
{
    const Wide half = MINUTES_PER_HALF_TURN / 2;
    return (static_cast<Wide>(minutes) * PI_Q62 + half) / MINUTES_PER_HALF_TURN;
}

// sin and cos of a first-quadrant angle, Q62. The alternating series shrink
// fast below pi/2; summing until a term vanishes leaves an error of a few
// units of 2^-62, far below the 2^-23 steps the tables keep.
// Needs: 0 <= minutes <= 5400 for the sine; 0 <= minutes <= 2700 for the
// cosine (nearer 90 degrees a rounding below zero would wrap the unsigned sum).
constexpr Wide SineQ62(int32_t minutes)
{
    const Wide x = RadiansQ62(minutes);
    const Wide x2 = MulQ62(x, x);
    Wide sum = x;
    Wide term = x;
    for (unsigned n = 1; term != 0; ++n) {
        term = MulQ62(term, x2) / ((2 * n) * (2 * n + 1));
        if (n % 2 == 1)
            sum -= term;
        else
            sum += term;
    }
    return sum;
}

constexpr Wide CosineQ62(int32_t minutes)
{
    const Wide x = RadiansQ62(minutes);
    const Wide x2 = MulQ62(x, x);
    Wide sum = ONE;
    Wide term = ONE;
    for (unsigned n = 1; term != 0; ++n) {
        term = MulQ62(term, x2) / ((2 * n - 1) * (2 * n));
        if (n % 2 == 1)
            sum -= term;
        else
            sum += term;
    }
    return sum;
}

}  // namespace TrigSeries
