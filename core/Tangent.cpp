// Tangent.cpp: the tangent table, built at compile time from integer series,
// the arctangent of two legs and the interpolating inverse table lookup.
#include "core/Tangent.h"

#include "core/TableSearch.h"
#include "core/TrigSeries.h"
#include "core/Units.h"

namespace Tangent {

namespace {

constexpr int32_t LAST = TABLE_COUNT - 1;   // 2700: 45 degrees

constexpr std::array<int32_t, TABLE_COUNT> BuildTangentTable()
{
    std::array<int32_t, TABLE_COUNT> table{};
    for (int32_t k = 0; k <= LAST; ++k) {
        const TrigSeries::Wide sine = TrigSeries::SineQ62(k);
        const TrigSeries::Wide cosine = TrigSeries::CosineQ62(k);
        table[k] = static_cast<int32_t>((sine << FIXED_SHIFT) / cosine);
    }
    // The table has always held these one below the truncated tangent; the
    // arctangents tuned on them (45 degrees and 30 degrees) keep them.
    table[1800] = 4843164;
    table[LAST] = FIXED_ONE - 1;
    return table;
}

// The magnitude of v; -2^31 gives 2^31.
uint32_t Magnitude(int32_t v)
{
    return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
}

}  // namespace

constexpr std::array<int32_t, TABLE_COUNT> TANGENT_TABLE = BuildTangentTable();

namespace {

constexpr auto kTangentIndex = TableSearch::BuildBucketIndex(TANGENT_TABLE, TABLE_COUNT);

// Angle whose tangent is smaller / larger, 0 to 45 degrees less a fraction.
// The Q23 ratio stays below 1.0, so it never overflows nor divides by zero.
// Needs: smaller < larger.
int32_t ArctanBelowOne(uint32_t smaller, uint32_t larger)
{
    const int64_t ratio = static_cast<int64_t>((uint64_t{smaller} << FIXED_SHIFT) / larger);
    return static_cast<int32_t>(TableSearch::Lookup(ratio, kTangentIndex, TABLE_COUNT));
}

}  // namespace

int32_t Int_arctan(int32_t opp, int32_t adj)
{
    // Work on the magnitudes of the legs (64-bit safe for -2^31), then give
    // the answer the sign of the quotient: a zero adj counts as positive, or
    // as negative when opp is, so that it always answers +90 degrees.
    const bool adjNegative = adj < 0 || (adj == 0 && opp < 0);
    const bool oppNegative = opp < 0;
    const uint32_t o = Magnitude(opp);
    const uint32_t a = Magnitude(adj);
    int32_t angle = ANGLE_EIGHTH;            // equal legs, (0, 0) included
    if (o < a)
        angle = ArctanBelowOne(o, a);
    else if (a < o)
        angle = ANGLE_RIGHT - ArctanBelowOne(a, o);
    return adjNegative != oppNegative ? -angle : angle;
}

int32_t Table_Inverse(int32_t value, const int32_t* table, int16_t count)
{
    if (table == nullptr || count < 2)
        return 0;
    const int64_t position = TableSearch::Bisect(value, table, count);
    return static_cast<int32_t>(position < INT32_MIN ? INT32_MIN
                                : position > INT32_MAX ? INT32_MAX
                                                       : position);
}

}  // namespace Tangent
