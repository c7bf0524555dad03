// Tests of the fixed-point arithmetic and the sine and tangent tables: pinned
// table entries, folds and wraps of both signs, the largest values, and the
// overflow and zero-divisor reports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/LongMath.h"
#include "core/Sine.h"
#include "core/Tangent.h"
#include "core/Units.h"
#include "support/ReportCapture.h"

namespace {

constexpr int32_t DEG = ANGLE_PER_DEGREE;
constexpr int32_t MIN = ANGLE_PER_MINUTE;
constexpr int32_t OVF = LongMath::OVERFLOW_VALUE;

}  // namespace

// ---------------------------------------------------------------- LongMath

TEST(LongMulLong, TruncatesTowardZeroWithSign)
{
    struct Row { int32_t a, b, expected; };
    const Row rows[] = {
        {FIXED_ONE, FIXED_ONE, FIXED_ONE},
        {-3, FIXED_ONE, -3},
        {5, -1, 0},                               // -5/2^23 truncates to 0, not -1
        {-5, -1, 0},
        {FIXED_HALF, -FIXED_HALF, -FIXED_ONE / 4},
        {40960, 4194303, 20479},                  // a range times sin 30 degrees
        {INT32_MAX, FIXED_ONE, INT32_MAX},
        {INT32_MIN, FIXED_ONE, INT32_MIN},        // -2^31 fits the result exactly
        {INT32_MIN, 1, -256},                     // its negation no longer misbehaves
        {INT32_MIN, -FIXED_HALF, 1073741824},
        {0, INT32_MIN, 0},
    };
    ReportCapture capture;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " * " << r.b);
        EXPECT_EQ(LongMath::LongMulLong(r.a, r.b, true, "TEST", 1), r.expected);
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(LongMulLong, OverflowReportsCallerOrAnswersOverflowValue)
{
    struct Row { int32_t a, b; };
    const Row rows[] = {
        {1 << 27, 1 << 28},               // 2^55 after the shift: the classic overflow
        {-(1 << 27), 1 << 28},
        {1 << 24, 1 << 30},               // 2^31: passes the 2^55 test, fits no int32_t
        {INT32_MIN, INT32_MIN},
        {INT32_MIN, -FIXED_ONE},          // +2^31
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " * " << r.b);
        ReportCapture capture;
        EXPECT_EQ(LongMath::LongMulLong(r.a, r.b, false, "NAVMATH", 12), OVF);
        EXPECT_TRUE(capture.fatals.empty());
        LongMath::LongMulLong(r.a, r.b, true, "NAVMATH", 1206);
        ASSERT_EQ(capture.fatals.size(), 1u);
        EXPECT_EQ(capture.fatals[0], "Multiplication: overflow error.  Called from NAVMATH at line # 1206\n");
    }
}

TEST(LongDivLong_TableShiftLeft, Q23QuotientBothSigns)
{
    struct Row { int32_t a, b, expected; };
    const Row rows[] = {
        {1, 2, FIXED_HALF},
        {-1, 2, -FIXED_HALF},
        {1, -2, -FIXED_HALF},
        {-1, -3, 2796202},                        // truncated toward zero
        {1, 3, 2796202},
        {255, 1, 255 * FIXED_ONE},                // the largest whole quotient that fits
        {-256, 1, INT32_MIN},                     // -2^31 fits
        {0, INT32_MIN, 0},
        {INT32_MIN, INT32_MIN, FIXED_ONE},
    };
    ReportCapture capture;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " / " << r.b);
        EXPECT_EQ(LongMath::LongDivLong_TableShiftLeft(r.a, r.b, true, "TEST", 1), r.expected);
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(LongDivLong_TableShiftLeft, OverflowAndZeroDivisor)
{
    struct Row { int32_t a, b; };
    const Row overflows[] = {
        {512, 1},
        {256, 1},           // 2^31: fits no int32_t
        {-512, 1},          // used to come back as the low 32 bits, 0
        {-257, 1},
        {INT32_MIN, -1},
        {INT32_MAX, 3},
    };
    for (const Row& r : overflows) {
        SCOPED_TRACE(testing::Message() << r.a << " / " << r.b);
        ReportCapture capture;
        EXPECT_EQ(LongMath::LongDivLong_TableShiftLeft(r.a, r.b, false, "TANGENT", 7), OVF);
        EXPECT_TRUE(capture.fatals.empty());
        EXPECT_EQ(LongMath::LongDivLong_TableShiftLeft(r.a, r.b, true, "TANGENT", 77), OVF);
        ASSERT_EQ(capture.fatals.size(), 1u);
        EXPECT_EQ(capture.fatals[0],
                  "LongMath::LongDivLong_TableShiftLeft:  OverFlow Error.  Called from TANGENT at line # 77\n");
    }
    for (const bool check : {false, true}) {
        ReportCapture capture;
        EXPECT_EQ(LongMath::LongDivLong_TableShiftLeft(5, 0, check, "UNIT2", 1206), OVF);
        ASSERT_EQ(capture.fatals.size(), 1u);
        EXPECT_EQ(capture.fatals[0],
                  "LongMath::LongDivLong_TableShiftLeft: divide by zero error.  Called from UNIT2 at line # 1206\n");
    }
}

TEST(LongDivLong_UseShiftLeft, FindsFinestScaleThatFits)
{
    struct Row { int32_t a, b, expected, expectedShift; };
    const Row rows[] = {
        {1, 3, 2796202, 23},
        {1000, 1, 1000 << 21, 21},
        {-1000, 1, -(1000 << 21), 21},        // a negative quotient searches too
        {16, 1, 1 << 26, 22},                 // exactly the overflow value at 23: one finer
        {40960 * 5, 12 * SPEED_PER_KNOT, 34952533, 23},
        {INT32_MAX, 2, INT32_MAX, 1},
        {INT32_MAX, 1, INT32_MAX, 0},          // only whole units fit
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " / " << r.b);
        ReportCapture capture;
        int32_t shift = -5;
        EXPECT_EQ(LongMath::LongDivLong_UseShiftLeft(r.a, r.b, shift), r.expected);
        EXPECT_EQ(shift, r.expectedShift);
        if (r.expectedShift == 0) {
            ASSERT_EQ(capture.fatals.size(), 1u);
            EXPECT_EQ(capture.fatals[0], "LongMath::LongDivLong_UseShiftLeft: shift <= 0");
        } else {
            EXPECT_TRUE(capture.fatals.empty());
        }
    }
}

TEST(LongDivLong_UseShiftLeft, ZeroDivisorReportsOnce)
{
    ReportCapture capture;
    int32_t shift = 0;
    EXPECT_EQ(LongMath::LongDivLong_UseShiftLeft(7, 0, shift), OVF);
    EXPECT_EQ(shift, FIXED_SHIFT);
    EXPECT_EQ(capture.fatals,
              std::vector<std::string>{"LongMath::LongDivLong_UseShiftLeft: divide by zero error.\n"});
}

TEST(LongMulLong_UseShiftRight, BringsScaledQuotientBack)
{
    struct Row { int32_t a, b, shift, expected; };
    const Row rows[] = {
        {2796202, 3600, 23, 1199},            // 1/3 hour in seconds, truncated
        {-2796202, 3600, 23, -1199},
        {1000 << 21, 3, 21, 3000},
        {5, 7, 0, 35},
        {INT32_MIN, 1, 0, INT32_MIN},
        {INT32_MAX, INT32_MAX, 63, 0},
        {INT32_MAX, INT32_MAX, 200, 0},       // shifts beyond 63 act as 63
        {3, 5, -4, 15},                       // negative shifts act as 0
        {1 << 20, 1 << 20, 8, OVF},           // 2^32: too large, no report
        {INT32_MIN, -1, 0, OVF},
    };
    ReportCapture capture;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " * " << r.b << " >> " << r.shift);
        EXPECT_EQ(LongMath::LongMulLong_UseShiftRight(r.a, r.b, r.shift), r.expected);
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(LongAbs, NeverNegative)
{
    EXPECT_EQ(LongMath::LongAbs(0), 0);
    EXPECT_EQ(LongMath::LongAbs(-7), 7);
    EXPECT_EQ(LongMath::LongAbs(7), 7);
    EXPECT_EQ(LongMath::LongAbs(INT32_MAX), INT32_MAX);
    EXPECT_EQ(LongMath::LongAbs(-INT32_MAX), INT32_MAX);
    EXPECT_EQ(LongMath::LongAbs(INT32_MIN), INT32_MAX);   // held, not left negative
    EXPECT_EQ(LongMath::ShortAbs(int16_t{-300}), 300);
    EXPECT_EQ(LongMath::ShortAbs(int16_t{INT16_MAX}), INT16_MAX);
    EXPECT_EQ(LongMath::ShortAbs(int16_t{INT16_MIN}), INT16_MAX);
}

// ---------------------------------------------------------------- tables

TEST(TrigTables, PinnedEntries)
{
    struct Row { int k; int32_t entry; };
    const Row sines[] = {{0, 0}, {1, 2440}, {60, 146401}, {1800, 4194303}, {2700, 5931641},
                         {3600, 7264747}, {5399, 8388607}, {5400, 8388608}};
    for (const Row& r : sines) {
        SCOPED_TRACE(testing::Message() << "sine " << r.k);
        EXPECT_EQ(Sine::SINE_TABLE[r.k], r.entry);
    }
    const Row tangents[] = {{0, 0}, {1, 2440}, {60, 146423}, {1350, 3474675}, {1800, 4843164},
                            {2700, 8388607}};
    for (const Row& r : tangents) {
        SCOPED_TRACE(testing::Message() << "tangent " << r.k);
        EXPECT_EQ(Tangent::TANGENT_TABLE[r.k], r.entry);
    }
    EXPECT_EQ(Sine::SINE_TABLE[Sine::TABLE_COUNT], FIXED_ONE);   // the repeat past the end
}

// Every entry lies within 1.2 units of the exact product, and the tables rise
// strictly (the arcsine and arctangent searches depend on it).
TEST(TrigTables, CloseToExactAndStrictlyIncreasing)
{
    const long double minute = 3.14159265358979323846264338327950288L / 10800;
    for (int k = 0; k < Sine::TABLE_COUNT; ++k) {
        const long double exact = std::sin(k * minute) * FIXED_ONE;
        ASSERT_LE(std::fabs(Sine::SINE_TABLE[k] - exact), 1.2L) << "sine " << k;
        if (k > 0) {
            ASSERT_GT(Sine::SINE_TABLE[k], Sine::SINE_TABLE[k - 1]) << "sine " << k;
        }
    }
    int32_t smallestStep = INT32_MAX;
    int32_t largestStep = 0;
    for (int k = 0; k < Tangent::TABLE_COUNT; ++k) {
        const long double exact = std::tan(k * minute) * FIXED_ONE;
        ASSERT_LE(std::fabs(Tangent::TANGENT_TABLE[k] - exact), 1.7L) << "tangent " << k;
        if (k > 0) {
            const int32_t step = Tangent::TANGENT_TABLE[k] - Tangent::TANGENT_TABLE[k - 1];
            smallestStep = std::min(smallestStep, step);
            largestStep = std::max(largestStep, step);
        }
    }
    EXPECT_EQ(smallestStep, 2440);
    EXPECT_EQ(largestStep, 4878);
}

// ---------------------------------------------------------------- Sine

TEST(Int_sin, FoldsEveryQuadrantAndWrap)
{
    struct Row { int32_t angle, expected; };
    const Row rows[] = {
        {0, 0},
        {30 * DEG, 4194303},
        {90 * DEG, FIXED_ONE},
        {-90 * DEG, -FIXED_ONE},
        {150 * DEG, 4194303},                 // 180 - 30
        {180 * DEG, 0},
        {210 * DEG, -4194303},
        {270 * DEG, -FIXED_ONE},
        {330 * DEG, -4194303},                // 360 - 30
        {360 * DEG, 0},
        {-360 * DEG, 0},
        {-30 * DEG, -4194303},
        {390 * DEG, 4194303},
        {MIN, 2440},
        {6144, 3660},                         // 1.5 arc-minutes: interpolated
        {1, 0},                               // less than a unit of sine
        {90 * DEG - 1, FIXED_ONE - 1},
        {ANGLE_FULL - 1, 0},                  // a hair below 0: rounds to 0 from below
        {INT32_MAX, 8304231},                 // 24 whole turns and 98.1 degrees
        {INT32_MIN, -8304231},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "angle " << r.angle);
        EXPECT_EQ(Sine::Int_sin(r.angle), r.expected);
    }
}

TEST(Int_sin, MirrorImageAnglesGiveMirrorImageValues)
{
    for (int32_t angle : {1, 4095, 6144, 7372800, 12345678, 22118399, 22118400}) {
        SCOPED_TRACE(testing::Message() << "angle " << angle);
        EXPECT_EQ(Sine::Int_sin(-angle), -Sine::Int_sin(angle));
        EXPECT_EQ(Sine::Int_sin(ANGLE_HALF - angle), Sine::Int_sin(angle));
        EXPECT_EQ(Sine::Int_sin(angle + ANGLE_FULL), Sine::Int_sin(angle));
    }
}

TEST(Int_cos, IsSineQuarterTurnOn)
{
    struct Row { int32_t angle, expected; };
    const Row rows[] = {
        {0, FIXED_ONE},
        {60 * DEG, 4194303},
        {90 * DEG, 0},
        {180 * DEG, -FIXED_ONE},
        {-180 * DEG, -FIXED_ONE},
        {270 * DEG, 0},
        {-60 * DEG, 4194303},
        {INT32_MAX, Sine::Int_sin(static_cast<int32_t>((int64_t{INT32_MAX} + ANGLE_RIGHT) % ANGLE_FULL))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "angle " << r.angle);
        EXPECT_EQ(Sine::Int_cos(r.angle), r.expected);
    }
}

TEST(Int_arcsin, SearchesAndExtrapolates)
{
    struct Row { int32_t x, expected; };
    const Row rows[] = {
        {0, 0},
        {FIXED_ONE, 90 * DEG},
        {-FIXED_ONE, -90 * DEG},
        {4194303, 30 * DEG},                  // the pinned entry: 30 degrees exactly
        {4194304, 30 * DEG + 1},              // true 0.5 lies just past it
        {-4194303, -30 * DEG},
        {2440, MIN},
        {1220, 2048},                         // half a step: half an arc-minute
        {FIXED_ONE - 1, 90 * DEG - MIN},
        {FIXED_ONE + 1, 90 * DEG + MIN},      // beyond 1.0: a minute per unit
        {-FIXED_ONE - 1, -90 * DEG - MIN},
        {INT32_MAX, INT32_MAX},               // far beyond: held at the limit
        {INT32_MIN, -INT32_MAX},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "x " << r.x);
        EXPECT_EQ(Sine::Int_arcsin(r.x), r.expected);
    }
}

TEST(Int_arccos, IsRightAngleLessArcsine)
{
    struct Row { int32_t x, expected; };
    const Row rows[] = {
        {FIXED_ONE, 0},
        {FIXED_ONE - 1, MIN},
        {FIXED_ONE + 1, -MIN},                // above 1.0: negative
        {0, 90 * DEG},
        {4194303, 60 * DEG},
        {-FIXED_ONE, 180 * DEG},
        {INT32_MIN, INT32_MAX},               // 90 degrees + INT32_MAX: held
        {INT32_MAX, ANGLE_RIGHT - INT32_MAX},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "x " << r.x);
        EXPECT_EQ(Sine::Int_arccos(r.x), r.expected);
    }
}

// ---------------------------------------------------------------- Tangent

TEST(Int_arctan, PrincipalValueByLegSigns)
{
    struct Row { int32_t opp, adj, expected; };
    const Row rows[] = {
        {0, 0, 45 * DEG},
        {5, 0, 90 * DEG},
        {-5, 0, 90 * DEG},                    // a zero adj always gives +90
        {0, 5, 0},
        {0, -5, 0},
        {1, 1, 45 * DEG},
        {-1, -1, 45 * DEG},
        {-1, 1, -45 * DEG},
        {1, -1, -45 * DEG},
        {1, 2, 6528627},
        {2, 1, 15589773},
        {-1, 2, -6528627},
        {-2, -1, 15589773},
        {2, -1, -15589773},
        {4843164, FIXED_ONE, 30 * DEG},       // the pinned tangent of 30 degrees
        {1, 1000000000, 0},                   // a ratio below one unit
        {1000000000, 1, 90 * DEG},
        {INT32_MIN, INT32_MIN, 45 * DEG},     // the legs' magnitudes are taken whole
        {INT32_MIN, 0, 90 * DEG},
        {0, INT32_MIN, 0},
        {INT32_MAX, INT32_MIN, -45 * DEG},
        {INT32_MIN, INT32_MAX, -45 * DEG},
    };
    ReportCapture capture;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "opp " << r.opp << " adj " << r.adj);
        EXPECT_EQ(Tangent::Int_arctan(r.opp, r.adj), r.expected);
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(Table_Inverse, InterpolatesAndExtrapolates)
{
    const int32_t table[] = {0, 100, 300, 600, 1000};
    struct Row { int32_t value; int16_t count; int32_t expected; };
    const Row rows[] = {
        {300, 5, 2 * 4096},                   // the first midpoint probed: a hit
        {100, 5, 4096},                       // never probed: reached by interpolation
        {1000, 5, 4 * 4096},                  // the last entry
        {0, 5, 0},
        {50, 5, 2048},
        {450, 5, 2 * 4096 + 2048},
        {-50, 5, -2048},                      // below the first: first interval
        {1200, 5, 4 * 4096 + 2048},           // above the last: last interval
        {-1, 5, -40},                         // truncated toward zero
        {150, 2, 4096 + 2048},                // only the first two entries
        {100, 1, 0},                          // too few entries to search
        {100, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "value " << r.value << " count " << r.count);
        EXPECT_EQ(Tangent::Table_Inverse(r.value, table, r.count), r.expected);
    }
    EXPECT_EQ(Tangent::Table_Inverse(5, nullptr, 5), 0);
    const int32_t steep[] = {0, 1};
    EXPECT_EQ(Tangent::Table_Inverse(INT32_MAX, steep, 2), INT32_MAX);   // held at the limit
    EXPECT_EQ(Tangent::Table_Inverse(INT32_MIN, steep, 2), INT32_MIN);
}

// The arcsine and arctangent find their interval through a bucket index; they
// must answer exactly what the plain search of the same table answers.
TEST(TrigTables, IndexedSearchMatchesPlainSearch)
{
    for (int32_t x = -20; x <= FIXED_ONE + 5000; x += (x < FIXED_ONE - 70000 ? 61 : 1)) {
        const int32_t plain = Tangent::Table_Inverse(x, Sine::SINE_TABLE.data(), Sine::TABLE_COUNT);
        ASSERT_EQ(Sine::Int_arcsin(x), x < 0 ? -Tangent::Table_Inverse(-x, Sine::SINE_TABLE.data(), Sine::TABLE_COUNT) : plain)
            << "arcsine of " << x;
    }
    for (int32_t opp = 0; opp < FIXED_ONE; opp += 53) {
        const int32_t plain = Tangent::Table_Inverse(opp, Tangent::TANGENT_TABLE.data(), Tangent::TABLE_COUNT);
        ASSERT_EQ(Tangent::Int_arctan(opp, FIXED_ONE), plain) << "arctangent of " << opp;
    }
}
