// Sine.h: sine, cosine, arcsine and arccosine on angle units and Q23 values,
// from one quarter-wave table with an entry per arc-minute. The arctangent and
// the general inverse table lookup live in Tangent.h.
#pragma once

#include <array>
#include <cstdint>

namespace Sine {

// Entries in the quarter-wave table: 0 to 90 degrees, one per arc-minute.
constexpr int16_t TABLE_COUNT = 5401;

// Entry k is sin(k arc-minutes) in Q23, truncated, strictly increasing from 0
// to 8388608. Entry 1800 (30 degrees) is 4194303, one below 0.5: the arcsine
// of 0.5 and everything tuned on it expect that value. One more entry past the
// last repeats it, so that interpolation at 90 degrees needs no test.
extern const std::array<int32_t, TABLE_COUNT + 1> SINE_TABLE;

// Q23 sine of any angle (angle units). Folds into the first quadrant first, so
// mirror-image angles give mirror-image values, then interpolates between two
// arc-minute entries, rounding the fraction down.
int32_t Int_sin(int32_t angle);

// Q23 cosine of any angle: the sine of the angle plus 90 degrees.
int32_t Int_cos(int32_t angle);

// Angle (angle units) whose sine is x (Q23), from -90 to 90 degrees. A
// magnitude above 1.0 extrapolates the last arc-minute, whose entries differ by
// 1: each Q23 unit above 8388607 adds one arc-minute past 90 degrees. Results
// that would not fit 32 bits are held at the largest value of that sign.
int32_t Int_arcsin(int32_t x);

// 90 degrees minus Int_arcsin(x): 0 to 180 degrees for |x| <= 1.0; a value
// above 1.0 gives a negative angle.
int32_t Int_arccos(int32_t x);

}  // namespace Sine
