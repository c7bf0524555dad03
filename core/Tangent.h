// Tangent.h: the arctangent of two legs, from a tangent table with an entry per
// arc-minute up to 45 degrees, and the interpolating inverse lookup in any
// strictly increasing table, which the arcsine shares.
#pragma once

#include <array>
#include <cstdint>

namespace Tangent {

// Entries in the tangent table: 0 to 45 degrees, one per arc-minute.
constexpr int16_t TABLE_COUNT = 2701;

// Entry k is tan(k arc-minutes) in Q23, truncated, strictly increasing in
// steps of 2440 to 4878. Entry 2700 (45 degrees) is 8388607, one below 1.0,
// and entry 1800 (30 degrees) 4843164: the arctangents tuned on them expect it.
extern const std::array<int32_t, TABLE_COUNT> TANGENT_TABLE;

// The principal arctangent of opp / adj, -90 to 90 degrees (angle units); the
// legs may have any common scale and any sign. Legs of one sign give 0 to 90
// degrees, legs of opposite signs -90 to 0. A zero adj gives 90 degrees
// whichever the sign of opp, a zero opp gives 0, and (0, 0) gives 45 degrees.
// Callers that need a full-circle direction fold the answer by the legs' signs.
int32_t Int_arctan(int32_t opp, int32_t adj);

// Finds value in a strictly increasing table and answers its position in
// 1/4096 of an index step, interpolating linearly (truncated toward zero)
// between the two entries around it. A value below the first entry or above
// the last extrapolates the first or last interval. Answers 0 for a table of
// fewer than two entries; results beyond 32 bits are held at the limit.
int32_t Table_Inverse(int32_t value, const int32_t* table, int16_t count);

}  // namespace Tangent
