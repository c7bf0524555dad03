// Sine.cpp: the quarter-wave sine table, built at compile time from integer
// series, and the sine, cosine, arcsine and arccosine on it.
#include "core/Sine.h"

#include "core/TableSearch.h"
#include "core/TrigSeries.h"
#include "core/Units.h"

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

// Brings any angle into [0, ANGLE_FULL).
int32_t FoldIntoTurn(int64_t angle)
{
    int64_t folded = angle % ANGLE_FULL;
    if (folded < 0)
        folded += ANGLE_FULL;
    return static_cast<int32_t>(folded);
}

// Q23 sine of an angle already in [0, ANGLE_FULL).
int32_t SineInTurn(int32_t angle)
{
    int32_t sign = 1;
    if (angle <= ANGLE_HALF) {
        if (angle > ANGLE_RIGHT)
            angle = ANGLE_HALF - angle;
    } else {
        sign = -1;
        angle = angle > ANGLE_THREE_QUARTERS ? ANGLE_FULL - angle : angle - ANGLE_HALF;
    }
    const int32_t k = angle / ANGLE_PER_MINUTE;   // 0 to 5400
    const int32_t f = angle % ANGLE_PER_MINUTE;
    const int32_t low = SINE_TABLE[k];
    const int32_t value = low + (((SINE_TABLE[k + 1] - low) * f) >> 12);   // step * f < 2^24
    return sign * value;
}

// Holds a 64-bit angle at the int32_t limits.
int32_t HoldInRange(int64_t v)
{
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
}

}  // namespace

constexpr std::array<int32_t, TABLE_COUNT + 1> SINE_TABLE = BuildSineTable();

namespace {

constexpr auto kSineIndex = TableSearch::BuildBucketIndex(SINE_TABLE, TABLE_COUNT);

}  // namespace

int32_t Int_sin(int32_t angle)
{
    return SineInTurn(FoldIntoTurn(angle));
}

int32_t Int_cos(int32_t angle)
{
    return SineInTurn(FoldIntoTurn(int64_t{angle} + ANGLE_RIGHT));
}

int32_t Int_arcsin(int32_t x)
{
    const int64_t magnitude = x < 0 ? -int64_t{x} : x;
    const int32_t angle = HoldInRange(TableSearch::Lookup(magnitude, kSineIndex, TABLE_COUNT));
    return x < 0 ? -angle : angle;   // 0 <= angle <= INT32_MAX: the negation fits
}

int32_t Int_arccos(int32_t x)
{
    return HoldInRange(int64_t{ANGLE_RIGHT} - Int_arcsin(x));
}

}  // namespace Sine
