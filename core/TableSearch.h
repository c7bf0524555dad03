// TableSearch.h: the interpolating position of a value in a strictly
// increasing table, by plain bisection for any table and through a bucket
// index for the sine and tangent tables, whose arcsines and arctangents run
// in the innermost loops. Shared by Sine.cpp and Tangent.cpp only.
#pragma once

#include <array>
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

// Position of value in a strictly increasing table. The answer depends only
// on the value: it lies in the interval whose lower entry is the last one not
// above the value (the first interval below the table, the last above it).
// Needs: count >= 2.
inline int64_t Bisect(int64_t value, const int32_t* table, int32_t count)
{
    const int32_t* low = table;
    int32_t candidates = count - 1;          // intervals 0 to count - 2
    while (candidates > 1) {
        const int32_t half = candidates / 2;
        low = low[half] <= value ? low + half : low;
        candidates -= half;
    }
    return Interpolate(value, table, low);
}

// Buckets of 4096 Q23 units over 0 to 1.0; for each bucket edge, the
// interval its value falls in. A value's interval lies between those of the
// edges of its bucket, so the search shrinks to a few entries (except near
// the top of the sine table, where the entries crowd).
constexpr int BUCKET_SHIFT = 12;
constexpr int32_t BUCKET_COUNT = (FIXED_ONE >> BUCKET_SHIFT) + 1;   // edges up to 1.0 and past it

template <std::size_t N>
struct BucketIndex {
    const std::array<int32_t, N>* table;
    std::array<uint16_t, BUCKET_COUNT + 1> firstInterval;
};

// Needs: table[0] == 0, the table strictly increasing, N <= 65536.
template <std::size_t N>
constexpr BucketIndex<N> BuildBucketIndex(const std::array<int32_t, N>& table, std::size_t count)
{
    BucketIndex<N> index{&table, {}};
    std::size_t interval = 0;
    for (int32_t b = 0; b <= BUCKET_COUNT; ++b) {
        const int64_t edge = int64_t{b} << BUCKET_SHIFT;
        while (interval + 2 < count && table[interval + 1] <= edge)
            ++interval;
        index.firstInterval[b] = static_cast<uint16_t>(interval);
    }
    return index;
}

// Position of value in the indexed table: the same answer as Bisect.
template <std::size_t N>
inline int64_t Lookup(int64_t value, const BucketIndex<N>& index, int32_t count)
{
    const int32_t* table = index.table->data();
    if (value < 0 || value >= (int64_t{BUCKET_COUNT} << BUCKET_SHIFT))
        return Bisect(value, table, count);
    const int32_t b = static_cast<int32_t>(value >> BUCKET_SHIFT);
    const int32_t* low = table + index.firstInterval[b];
    int32_t candidates = index.firstInterval[b + 1] - index.firstInterval[b] + 1;
    while (candidates > 1) {
        const int32_t half = candidates / 2;
        low = low[half] <= value ? low + half : low;
        candidates -= half;
    }
    return Interpolate(value, table, low);
}

}  // namespace TableSearch
