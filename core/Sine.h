// Sine.h: sine, cosine, arcsine and arccosine on angle units and Q23 values,
// from one quarter-wave table with an entry per arc-minute. All are inline,
// with the arcsine's index: they run several times in every range and
// bearing. The tables are built in Sine.cpp; the arctangent and the general
// inverse table lookup live in Tangent.h.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <type_traits>

#include "core/TableSearch.h"
#include "core/Units.h"

namespace Sine {

// Entries in the quarter-wave table: 0 to 90 degrees, one per arc-minute.
constexpr int16_t TABLE_COUNT = 5401;

// Entry k is sin(k arc-minutes) in Q23, truncated, strictly increasing from 0
// to 8388608. Entry 1800 (30 degrees) is 4194303, one below 0.5: the arcsine
// of 0.5 and everything tuned on it expect that value. One more entry past the
// last repeats it, so that interpolation at 90 degrees needs no test.
extern const std::array<int32_t, TABLE_COUNT + 1> SINE_TABLE;

// Q23 sine of a first-quadrant angle: interpolated between two arc-minute
// entries, the fraction rounded down. Every sine and cosine here comes to
// this once its angle is folded into the first quadrant.
// Needs: 0 <= angle <= ANGLE_RIGHT.
inline int32_t SineInQuadrant(int32_t angle)
{
    const uint32_t k = static_cast<uint32_t>(angle) / ANGLE_PER_MINUTE;   // 0 to 5400
    const int32_t f = static_cast<int32_t>(static_cast<uint32_t>(angle) % ANGLE_PER_MINUTE);
    const int32_t low = SINE_TABLE[k];
    return low + (((SINE_TABLE[k + 1] - low) * f) >> 12);                // step * f < 2^24
}

// The folds below choose with masks (all ones or all zeros), not branches:
// angles of every quadrant and sign come in any order, and a mispredicted
// branch costs more than a whole sine. v, negated where mask is all ones.
// Needs: v > INT32_MIN.
inline int32_t NegatedWhere(int32_t v, int32_t mask)
{
    return (v ^ mask) - mask;
}

// Int_sin and Int_cos of an angle within a right angle either side of 0, as
// a latitude is: table reads, with no fold. They answer exactly as Int_sin
// and Int_cos, whose sine is odd and cosine even to the last unit.
// Needs: -ANGLE_RIGHT <= angle <= ANGLE_RIGHT.
inline int32_t SineWithinRight(int32_t angle)
{
    const int32_t negative = angle >> 31;
    return NegatedWhere(SineInQuadrant(NegatedWhere(angle, negative)), negative);
}

inline int32_t CosineWithinRight(int32_t angle)
{
    return SineInQuadrant(ANGLE_RIGHT - NegatedWhere(angle, angle >> 31));
}

// Any angle less its whole turns: within a turn either way, with its sign.
// Angles already there, all that positions, bearings and ranges give, skip
// the division.
inline int32_t WithinTurn(int32_t angle)
{
    if (angle <= -ANGLE_FULL || angle >= ANGLE_FULL) [[unlikely]]
        return angle % ANGLE_FULL;
    return angle;
}

// Q23 sine of any angle (angle units). Folds into the first quadrant first,
// so mirror-image angles give mirror-image values, then interpolates between
// two arc-minute entries, rounding the fraction down.
inline int32_t Int_sin(int32_t angle)
{
    const int32_t turn = WithinTurn(angle);
    const int32_t folded = turn + (ANGLE_FULL & (turn >> 31));         // 0 to 360 degrees
    const int32_t negative = (ANGLE_HALF - folded) >> 31;              // past 180 degrees
    const int32_t half = folded - (ANGLE_HALF & negative);             // 0 to 180 degrees
    const int32_t mirrored = (ANGLE_RIGHT - half) >> 31;               // past 90 degrees
    return NegatedWhere(SineInQuadrant(half + ((ANGLE_HALF - 2 * half) & mirrored)), negative);
}

// Q23 cosine of any angle: the sine of the angle plus 90 degrees. Being even
// and periodic it depends only on the angle's distance from a whole turn,
// 0 to 180 degrees, and is negative beyond 90.
inline int32_t Int_cos(int32_t angle)
{
    const int32_t turn = WithinTurn(angle);
    const int32_t size = NegatedWhere(turn, turn >> 31);                   // 0 to 360 degrees
    const int32_t pastHalf = (ANGLE_HALF - size) >> 31;
    const int32_t fromTurn = size + ((ANGLE_FULL - 2 * size) & pastHalf);  // 0 to 180 degrees
    const int32_t beyondRight = ANGLE_RIGHT - fromTurn;                    // -90 to 90 degrees
    const int32_t negative = beyondRight >> 31;
    return NegatedWhere(SineInQuadrant(NegatedWhere(beyondRight, negative)), negative);
}

// Angle (angle units) whose sine is x (Q23), from -90 to 90 degrees. A
// magnitude above 1.0 extrapolates the last arc-minute, whose entries differ by
// 1: each Q23 unit above 8388607 adds one arc-minute past 90 degrees. Results
// that would not fit 32 bits are held at the largest value of that sign.
inline int32_t Int_arcsin(int32_t x);

// 90 degrees minus Int_arcsin(x): 0 to 180 degrees for |x| <= 1.0; a value
// above 1.0 gives a negative angle.
inline int32_t Int_arccos(int32_t x);

// Int_arccos(x) and Int_sin of it, as a great-circle range and the sine a
// bearing is worked from. The sine of the arccosine is the cosine of the
// arcsine, which lies in the table at the arcsine's interval counted back
// from 90 degrees: read there as soon as the interval is found, without
// waiting for the angle.
struct AngleAndSine {
    int32_t angle;   // angle units
    int32_t sine;    // Q23
};
inline AngleAndSine ArccosWithSine(int32_t x);

// The arcsine's search, here only so that it can be inline.
namespace ArcsinSearch {

// The index covers 0 to 1.0 less one unit. Near 1.0 the entries crowd, about
// 1.2 * sqrt(1.0 - value) Q23 units apart, so the buckets are cut on the
// distance below 1.0, `below`, in tiers 4^t <= below < 4^(t+1) of 2^(t+1)
// units: never much more than one and a half steps wide, so that no bucket
// spans more intervals than the search probes. 4096 buckets, from 1 unit wide
// next to 1.0 to 4096 units below sin 30 degrees.

// The number of the highest bit set. Needs: v != 0.
constexpr int HighestBit(uint32_t v)
{
#if defined(__x86_64__) || defined(__i386__)
    if (!std::is_constant_evaluated()) {
        // The scan leaves its destination as it was for 0, so the processor
        // waits for whatever last wrote that register; scanning in place
        // waits only for v itself.
        asm("bsr %0, %0" : "+r"(v));
        return static_cast<int>(v);
    }
#endif
    return std::bit_width(v) - 1;
}

// The bucket of a value `below` units under 1.0. Needs: 1 <= below <= FIXED_ONE.
constexpr int32_t Bucket(uint32_t below)
{
    const int tier = HighestBit(below) >> 1;
    return (1 << tier) - 1 + static_cast<int32_t>(below >> (tier + 1));
}

constexpr int32_t BUCKET_COUNT = Bucket(FIXED_ONE) + 1;

// For each bucket, the first sine table interval its values can lie in.
extern const std::array<uint16_t, BUCKET_COUNT> INDEX;

// For each sine table interval, its step's reciprocal (TableSearch::StepReciprocal).
extern const std::array<uint32_t, TABLE_COUNT - 1> RECIPROCALS;

// Int_arcsin of a magnitude of 1.0 or more: the last interval extrapolated.
int32_t FromOne(int32_t x);

// The sine table interval of a magnitude below 1.0.
// Needs: 0 <= magnitude < FIXED_ONE.
inline int32_t Interval(int32_t magnitude)
{
    const int32_t first = INDEX[Bucket(static_cast<uint32_t>(FIXED_ONE - magnitude))];
    return TableSearch::IntervalFrom(magnitude, SINE_TABLE.data(), TABLE_COUNT, first);
}

// How far a magnitude below 1.0 lies into its interval, in 1/4096 of it.
inline int32_t Fraction(int32_t magnitude, int32_t interval)
{
    return TableSearch::FractionBy(magnitude, SINE_TABLE.data(), RECIPROCALS.data(), interval);
}

}  // namespace ArcsinSearch

inline int32_t Int_arcsin(int32_t x)
{
    if (x <= -FIXED_ONE || x >= FIXED_ONE) [[unlikely]]
        return ArcsinSearch::FromOne(x);
    const int32_t negative = x >> 31;
    const int32_t magnitude = NegatedWhere(x, negative);
    const int32_t interval = ArcsinSearch::Interval(magnitude);
    const int32_t angle = interval * ANGLE_PER_MINUTE + ArcsinSearch::Fraction(magnitude, interval);
    return NegatedWhere(angle, negative);
}

inline int32_t Int_arccos(int32_t x)
{
    const int64_t angle = int64_t{ANGLE_RIGHT} - Int_arcsin(x);
    return static_cast<int32_t>(angle < INT32_MIN ? INT32_MIN : (angle > INT32_MAX ? INT32_MAX : angle));
}

inline AngleAndSine ArccosWithSine(int32_t x)
{
    if (x <= -FIXED_ONE || x >= FIXED_ONE) [[unlikely]] {
        const int32_t angle = Int_arccos(x);
        return {angle, Int_sin(angle)};
    }
    const int32_t negative = x >> 31;
    const int32_t magnitude = NegatedWhere(x, negative);
    const int32_t interval = ArcsinSearch::Interval(magnitude);         // 0 to 5399
    const int32_t fraction = ArcsinSearch::Fraction(magnitude, interval);
    const int32_t arcsine = interval * ANGLE_PER_MINUTE + fraction;     // of the magnitude
    // 90 degrees less the arcsine lies 4096 - fraction (1 to 4096) past the
    // entry TABLE_COUNT - 2 - interval: 4096 reaches the next entry exactly.
    const int32_t k = TABLE_COUNT - 2 - interval;
    const int32_t low = SINE_TABLE[k];
    const int32_t sine = low + (((SINE_TABLE[k + 1] - low) * (ANGLE_PER_MINUTE - fraction)) >> 12);
    return {ANGLE_RIGHT - NegatedWhere(arcsine, negative), sine};
}

}  // namespace Sine
