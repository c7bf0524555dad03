// Sine.cpp: the quarter-wave sine table, built at compile time from integer
// series, and the arcsine's index and step reciprocals beside it; the
// arcsine of magnitudes from 1.0 on.
#include "core/Sine.h"

#include <algorithm>

#include "core/TrigSeries.h"

namespace Sine {

namespace {

constexpr int32_t LAST = TABLE_COUNT - 1;   // 5400: 90 degrees

constexpr std::array<int32_t, TABLE_COUNT + 1> BuildSineTable()
{
    std::array<int32_t, TABLE_COUNT + 1> table{};
    for (int32_t k = 0; k <= LAST; ++k) {
        const TrigSeries::Wide q62 = TrigSeries::SineQ62(k);
        table[k] = static_cast<int32_t>(q62 >> (TrigSeries::ONE_SHIFT - FIXED_SHIFT));
    }
    // sin 30 degrees is exactly 0.5; the table holds one below it, and the
    // arcsines tuned on that value (4194303 is exactly 30 degrees) keep it.
    table[1800] = FIXED_HALF - 1;
    table[LAST] = FIXED_ONE;
    table[LAST + 1] = FIXED_ONE;   // repeat of the last entry: see the header
    return table;
}

// Holds a 64-bit angle at the int32_t limits.
int32_t HoldInRange(int64_t v)
{
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
}

}  // namespace

constexpr std::array<int32_t, TABLE_COUNT + 1> SINE_TABLE = BuildSineTable();

namespace ArcsinSearch {

namespace {

// Walks the buckets in order of distance below 1.0, each from its nearest
// value to its farthest, and stops the build should the bucket numbers skip
// or repeat, or a bucket span more intervals than the probes reach.
constexpr std::array<uint16_t, BUCKET_COUNT> BuildIndex()
{
    std::array<uint16_t, BUCKET_COUNT> index{};
    int32_t filled = 0;
    int64_t farthest = 0;
    for (int64_t nearest = 1; nearest <= FIXED_ONE; nearest = farthest + 1) {
        const int tier = (std::bit_width(static_cast<uint64_t>(nearest)) - 1) >> 1;
        const int64_t bucketEnd = ((nearest >> (tier + 1)) + 1) << (tier + 1);
        const int64_t tierEnd = int64_t{4} << (2 * tier);
        farthest = std::min({bucketEnd, tierEnd, int64_t{FIXED_ONE} + 1}) - 1;
        const int32_t b = Bucket(static_cast<uint32_t>(nearest));
        if (b != filled || Bucket(static_cast<uint32_t>(farthest)) != b)
            throw "Sine: the arcsine's buckets are not whole and in order";
        index[b] = TableSearch::FirstProbe(SINE_TABLE.data(), TABLE_COUNT, TABLE_COUNT + 1,
                                           FIXED_ONE - farthest, FIXED_ONE - nearest);
        ++filled;
    }
    if (filled != BUCKET_COUNT)
        throw "Sine: the arcsine's buckets are not all filled";
    return index;
}

}  // namespace

constexpr std::array<uint16_t, BUCKET_COUNT> INDEX = BuildIndex();
constexpr std::array<uint32_t, TABLE_COUNT - 1> RECIPROCALS =
    TableSearch::BuildStepReciprocals<TABLE_COUNT - 1>(SINE_TABLE);

int32_t FromOne(int32_t x)
{
    const int64_t magnitude = x < 0 ? -int64_t{x} : x;
    const int32_t angle = HoldInRange(TableSearch::Bisect(magnitude, SINE_TABLE.data(), TABLE_COUNT));
    return x < 0 ? -angle : angle;   // 0 <= angle <= INT32_MAX: the negation fits
}

}  // namespace ArcsinSearch

}  // namespace Sine
