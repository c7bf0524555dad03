// TableSearch.h: the interpolating position of a value in a strictly
// increasing table, by plain bisection for any table, and from an index of
// value buckets for the sine and tangent tables, whose arcsines and
// arctangents run in the innermost loops. The indexes themselves, cut to
// each table's shape, are built in Sine.cpp and Tangent.cpp. Sine.h includes
// this for its inline search, so it reaches every user of the sine table.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "core/Units.h"

namespace TableSearch {

// Interpolates inside (or beyond) the interval that starts at low: the
// position in 1/4096 index steps, truncated toward zero.
inline int64_t Interpolate(int64_t value, const int32_t* table, const int32_t* low)
{
    const int64_t index = low - table;
    const int64_t step = int64_t{low[1]} - low[0];
    if (step == 0)                           // only in a table that is not increasing
        return index * ANGLE_PER_MINUTE;
    const int64_t above = value - low[0];
    if (above >= 0 && above < (int64_t{1} << 19) && step < (int64_t{1} << 31)) {
        // Inside or just past the interval: a 32-bit divide gives the same quotient faster.
        const uint32_t quotient = static_cast<uint32_t>(above * ANGLE_PER_MINUTE) / static_cast<uint32_t>(step);
        return quotient + index * ANGLE_PER_MINUTE;
    }
    return above * ANGLE_PER_MINUTE / step + index * ANGLE_PER_MINUTE;
}

// The interval of value in a strictly increasing table: the last entry not
// above the value, held within the intervals (the first interval below the
// table, the last above it). Needs: count >= 2.
constexpr int32_t IntervalOf(int64_t value, const int32_t* table, int32_t count)
{
    const int32_t* low = table;
    int32_t candidates = count - 1;          // intervals 0 to count - 2
    while (candidates > 1) {
        const int32_t half = candidates / 2;
        low = low[half] <= value ? low + half : low;
        candidates -= half;
    }
    return static_cast<int32_t>(low - table);
}

// Position of value in a strictly increasing table: interpolated in the
// interval IntervalOf gives. Needs: count >= 2.
inline int64_t Bisect(int64_t value, const int32_t* table, int32_t count)
{
    return Interpolate(value, table, table + IntervalOf(value, table, count));
}

// The indexed search. An index keeps, for each bucket of values, the first of
// the at most PROBES + 1 intervals the bucket's values can lie in; a search
// compares the value with the PROBES entries after it all at once, so it
// neither loops nor waits on one comparison before the next.
constexpr int PROBES = 2;

// Steps below this keep step * 4096 within 32 bits, for the interpolation.
constexpr int64_t STEP_LIMIT = int64_t{1} << 20;

// The index entry of a bucket holding the values lowest to highest, in a
// table of count entries of which `readable` may be read (an entry repeated
// past the end counts). Never answers for a bucket the probes cannot cover:
// the build of the index stops instead.
// Needs: count >= PROBES + 1, readable >= count, table[0] <= lowest <= highest.
constexpr uint16_t FirstProbe(const int32_t* table, int32_t count, int32_t readable, int64_t lowest,
                              int64_t highest)
{
    // Started lower, so that the probes stay inside the readable entries.
    const int32_t first = std::min(IntervalOf(lowest, table, count), readable - 1 - PROBES);
    const int32_t last = IntervalOf(highest, table, count);
    if (last - first > PROBES)
        throw "TableSearch::FirstProbe: a bucket spans more intervals than the probes reach";
    for (int32_t i = first; i <= last; ++i)
        if (int64_t{table[i + 1]} - table[i] >= STEP_LIMIT)
            throw "TableSearch::FirstProbe: a step too large to interpolate in 32 bits";
    return static_cast<uint16_t>(first);
}

// The interval of value, from the index entry of its bucket: the same
// answer as IntervalOf.
// Needs: first = FirstProbe(table, count, ...) for a bucket holding value.
inline int32_t IntervalFrom(int32_t value, const int32_t* table, int32_t count, int32_t first)
{
    int32_t interval = first;
    for (int k = 1; k <= PROBES; ++k)        // unrolled: independent comparisons
        interval += table[first + k] <= value ? 1 : 0;
    return std::min(interval, count - 2);    // a value on the last entry: the last interval
}

// How far value lies into its interval, in 1/4096 of it, truncated: 0 to
// 4096 (4096 only on the last entry).
// Needs: interval from IntervalFrom, so that value lies from the interval's
// entry to the next and both differences fit 32 bits unsigned, * 4096 too.
inline int32_t FractionIn(int32_t value, const int32_t* table, int32_t interval)
{
    const uint32_t above = static_cast<uint32_t>(value - table[interval]);
    const uint32_t step = static_cast<uint32_t>(table[interval + 1] - table[interval]);
    return static_cast<int32_t>(above * ANGLE_PER_MINUTE / step);
}

// Position of value (1/4096 index steps, truncated), from the index entry of
// its bucket; the same answer as Bisect.
// Needs: first = FirstProbe(table, count, ...) for a bucket holding value.
inline int32_t ProbeFrom(int32_t value, const int32_t* table, int32_t count, int32_t first)
{
    const int32_t interval = IntervalFrom(value, table, count, first);
    return interval * ANGLE_PER_MINUTE + FractionIn(value, table, interval);
}

// FractionIn with the divide done as a multiply: for a step s, with S the
// least shift for which s * s < 2^S and m = 2^(S + 12) / s + 1 (rounded down,
// then one more), (n * m) >> S is n * 4096 / s rounded down for every n from
// 0 to s, because n * (m * s - 2^(S + 12)) < 2^S. m stays below 2^27 and S
// below 32; they are kept together, m in the low 27 bits.
constexpr int RECIPROCAL_BITS = 27;

// Needs: 1 <= step < STEP_LIMIT.
constexpr uint32_t StepReciprocal(int64_t step)
{
    const int shift = static_cast<int>(std::bit_width(static_cast<uint64_t>(step * step)));
    const uint64_t multiplier = (uint64_t{ANGLE_PER_MINUTE} << shift) / static_cast<uint64_t>(step) + 1;
    if (multiplier >> RECIPROCAL_BITS != 0 || shift >= 32)
        throw "TableSearch::StepReciprocal: out of range";
    return static_cast<uint32_t>(multiplier) | static_cast<uint32_t>(shift) << RECIPROCAL_BITS;
}

// The step reciprocals of the first INTERVALS intervals of a strictly increasing table.
template <std::size_t INTERVALS, std::size_t N>
constexpr std::array<uint32_t, INTERVALS> BuildStepReciprocals(const std::array<int32_t, N>& table)
{
    static_assert(INTERVALS < N);
    std::array<uint32_t, INTERVALS> reciprocals{};
    for (std::size_t i = 0; i < INTERVALS; ++i) {
        const int64_t step = int64_t{table[i + 1]} - table[i];
        if (step < 1 || step >= STEP_LIMIT)
            throw "TableSearch::BuildStepReciprocals: a step out of range";
        reciprocals[i] = StepReciprocal(step);
    }
    return reciprocals;
}

// Needs: as FractionIn; reciprocals from BuildStepReciprocals of the table.
inline int32_t FractionBy(int32_t value, const int32_t* table, const uint32_t* reciprocals,
                          int32_t interval)
{
    const uint64_t above = static_cast<uint32_t>(value - table[interval]);
    const uint32_t reciprocal = reciprocals[interval];
    const uint64_t scaled = above * (reciprocal & ((uint32_t{1} << RECIPROCAL_BITS) - 1));
    return static_cast<int32_t>(scaled >> (reciprocal >> RECIPROCAL_BITS));
}

}  // namespace TableSearch
