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

// The arctangent's index: buckets of 4096 Q23 units over the ratios 0 to 1.0
// less one unit. The tangent's entries lie at least 2440 apart, so a bucket
// spans at most three intervals.
constexpr int32_t RATIO_BUCKET_SHIFT = 12;
constexpr int32_t RATIO_BUCKETS = FIXED_ONE >> RATIO_BUCKET_SHIFT;

constexpr std::array<uint16_t, RATIO_BUCKETS> BuildRatioIndex()
{
    std::array<uint16_t, RATIO_BUCKETS> index{};
    for (int32_t b = 0; b < RATIO_BUCKETS; ++b) {
        const int64_t lowest = int64_t{b} << RATIO_BUCKET_SHIFT;
        const int64_t highest = lowest + (int64_t{1} << RATIO_BUCKET_SHIFT) - 1;
        index[b] = TableSearch::FirstProbe(TANGENT_TABLE.data(), TABLE_COUNT, TABLE_COUNT, lowest,
                                           highest);
    }
    return index;
}

constexpr std::array<uint16_t, RATIO_BUCKETS> RATIO_INDEX = BuildRatioIndex();

// Angle whose tangent is smaller / larger, 0 to 45 degrees less a fraction.
// The Q23 ratio stays below 1.0, so it never overflows nor divides by zero.
// Needs: smaller < larger.
int32_t ArctanBelowOne(uint32_t smaller, uint32_t larger)
{
    const auto ratio = static_cast<int32_t>((uint64_t{smaller} << FIXED_SHIFT) / larger);
    return TableSearch::ProbeFrom(ratio, TANGENT_TABLE.data(), TABLE_COUNT,
                                  RATIO_INDEX[ratio >> RATIO_BUCKET_SHIFT]);
}

}  // namespace

int32_t Int_arctan(int32_t opp, int32_t adj)
{
    // Work on the magnitudes of the legs (64-bit safe for -2^31), then give
    // the answer the sign of the quotient: a zero adj counts as positive, or
    // as negative when opp is, so that it always answers +90 degrees. The
    // signs and which leg is the larger come in any order, so the choices
    // are made with masks (all ones or zeros), not branches.
    const uint32_t o = Magnitude(opp);
    const uint32_t a = Magnitude(adj);
    const int32_t adjNegative = (adj >> 31) | (-static_cast<int32_t>(adj == 0) & (opp >> 31));
    const int32_t negative = adjNegative ^ (opp >> 31);
    int32_t angle = ANGLE_EIGHTH;            // equal legs, (0, 0) included
    if (o != a) {
        // The steeper half is the right angle less the arctangent the other way round.
        const int32_t steep = -static_cast<int32_t>(a < o);
        const uint32_t swap = (o ^ a) & static_cast<uint32_t>(steep);
        const int32_t below = ArctanBelowOne(o ^ swap, a ^ swap);
        angle = ((below ^ steep) - steep) + (ANGLE_RIGHT & steep);
    }
    return (angle ^ negative) - negative;
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
