// navmath.cpp: the per-call cost of the navigation maths the simulation runs
// for every pair of units every step: range and bearing between positions
// (goal: at most 40 ns a call on every band of leg length), the position
// reached along a range and bearing, and the trigonometric functions beneath
// them (goal: at most 10 ns a call each).
//
// Every input set is made before the timed loop, from a fixed seed, and the
// loop cycles through it: 65536 entries, too many for branch prediction to
// learn the sequence (a cycle of 1024 proved learnable), read in order so
// that they stream in from memory ahead of use.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/Tangent.h"
#include "core/Units.h"

namespace {

constexpr std::size_t INPUT_COUNT = 65536;   // a power of two: the loops mask with it
constexpr std::size_t INPUT_MASK = INPUT_COUNT - 1;
constexpr double PI = 3.14159265358979323846;
constexpr double UNITS_PER_RADIAN = 180.0 / PI * ANGLE_PER_DEGREE;

// A start, a range and bearing from it, and the position they reach.
struct Leg {
    LatLonPoint from;
    int32_t range;      // range units
    int32_t bearing;    // angle units
    LatLonPoint to;
};

// Legs from starts anywhere between 80 degrees south and north, in any
// direction, with ranges spread evenly from minNm to maxNm. The end points
// come from double-precision spherical formulas, so that the maths measured
// plays no part in making its own inputs.
std::vector<Leg> MakeLegs(double minNm, double maxNm, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> latitude(-80.0, 80.0);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0);
    std::uniform_real_distribution<double> direction(0.0, 2 * PI);
    std::uniform_real_distribution<double> distance(minNm, maxNm);
    std::vector<Leg> legs(INPUT_COUNT);
    for (Leg& leg : legs) {
        const double lat1 = latitude(random) * PI / 180.0;
        const double lon1 = longitude(random) * PI / 180.0;
        const double bearing = direction(random);
        const double arc = distance(random) / 60.0 * PI / 180.0;   // one nm is one arc-minute
        const double lat2 = std::asin(std::sin(lat1) * std::cos(arc) +
                                      std::cos(lat1) * std::sin(arc) * std::cos(bearing));
        double lon2 = lon1 + std::atan2(std::sin(bearing) * std::sin(arc) * std::cos(lat1),
                                        std::cos(arc) - std::sin(lat1) * std::sin(lat2));
        lon2 = std::remainder(lon2, 2 * PI);                          // -pi to pi
        leg.from = LatLonPoint(static_cast<int32_t>(std::lround(lat1 * UNITS_PER_RADIAN)),
                               static_cast<int32_t>(std::lround(lon1 * UNITS_PER_RADIAN)));
        leg.range = static_cast<int32_t>(std::lround(arc * UNITS_PER_RADIAN));
        leg.bearing = static_cast<int32_t>(std::lround(bearing * UNITS_PER_RADIAN));
        leg.to = LatLonPoint(static_cast<int32_t>(std::lround(lat2 * UNITS_PER_RADIAN)),
                             static_cast<int32_t>(std::lround(lon2 * UNITS_PER_RADIAN)));
    }
    return legs;
}

// The three bands of leg length: solved on the plane, on the great circle
// within sensor ranges, and on the great circle across oceans.
const std::vector<Leg>& ShortLegs()
{
    static const std::vector<Leg> legs = MakeLegs(0.05, 9.9, 1);
    return legs;
}

const std::vector<Leg>& MediumLegs()
{
    static const std::vector<Leg> legs = MakeLegs(10.1, 200.0, 2);
    return legs;
}

const std::vector<Leg>& LongLegs()
{
    static const std::vector<Leg> legs = MakeLegs(200.0, 9000.0, 3);
    return legs;
}

void RunGetVector(benchmark::State& state, const std::vector<Leg>& legs)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Leg& leg = legs[i++ & INPUT_MASK];
        benchmark::DoNotOptimize(NavMath::Get_Vector(leg.from, leg.to));
    }
}

void RunGetLatLonPoint(benchmark::State& state, const std::vector<Leg>& legs)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Leg& leg = legs[i++ & INPUT_MASK];
        benchmark::DoNotOptimize(
            NavMath::Get_LatLonPoint_From_Vector(leg.from, leg.range, leg.bearing));
    }
}

void BM_Get_Vector_Short(benchmark::State& state) { RunGetVector(state, ShortLegs()); }
void BM_Get_Vector_Medium(benchmark::State& state) { RunGetVector(state, MediumLegs()); }
void BM_Get_Vector_Long(benchmark::State& state) { RunGetVector(state, LongLegs()); }
BENCHMARK(BM_Get_Vector_Short);
BENCHMARK(BM_Get_Vector_Medium);
BENCHMARK(BM_Get_Vector_Long);

void BM_Get_LatLonPoint_From_Vector_Short(benchmark::State& state)
{
    RunGetLatLonPoint(state, ShortLegs());
}

void BM_Get_LatLonPoint_From_Vector_Medium(benchmark::State& state)
{
    RunGetLatLonPoint(state, MediumLegs());
}

void BM_Get_LatLonPoint_From_Vector_Long(benchmark::State& state)
{
    RunGetLatLonPoint(state, LongLegs());
}

BENCHMARK(BM_Get_LatLonPoint_From_Vector_Short);
BENCHMARK(BM_Get_LatLonPoint_From_Vector_Medium);
BENCHMARK(BM_Get_LatLonPoint_From_Vector_Long);

// INPUT_COUNT values drawn evenly from lowest to highest.
std::vector<int32_t> MakeValues(int32_t lowest, int32_t highest, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int32_t> value(lowest, highest);
    std::vector<int32_t> values(INPUT_COUNT);
    for (int32_t& v : values)
        v = value(random);
    return values;
}

template <typename Function>
void RunOnValues(benchmark::State& state, const std::vector<int32_t>& values, Function function)
{
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(function(values[i++ & INPUT_MASK]));
}

// Angles within a turn either way, as positions, bearings and ranges give
// them: every quadrant and both signs.
const std::vector<int32_t>& Angles()
{
    static const std::vector<int32_t> values = MakeValues(-ANGLE_FULL + 1, ANGLE_FULL - 1, 4);
    return values;
}

// Angles of any size, nearly all of them whole turns out: the slower path
// that divides the turns off.
const std::vector<int32_t>& AnyAngles()
{
    static const std::vector<int32_t> values = MakeValues(INT32_MIN, INT32_MAX, 8);
    return values;
}

// Q23 values over -1.0 to 1.0.
const std::vector<int32_t>& Ratios()
{
    static const std::vector<int32_t> values = MakeValues(-FIXED_ONE, FIXED_ONE, 5);
    return values;
}

// The cosines of great-circle ranges up to 200 nm, where the sine table's
// entries crowd: what the range of a medium leg looks up.
const std::vector<int32_t>& CosinesOfMediumRanges()
{
    static const std::vector<int32_t> values = [] {
        std::vector<int32_t> cosines = MakeValues(0, 200 * RANGE_PER_NM, 6);
        for (int32_t& v : cosines)
            v = Sine::Int_cos(v);
        return cosines;
    }();
    return values;
}

void BM_Int_sin(benchmark::State& state)
{
    RunOnValues(state, Angles(), [](int32_t v) { return Sine::Int_sin(v); });
}

void BM_Int_cos(benchmark::State& state)
{
    RunOnValues(state, Angles(), [](int32_t v) { return Sine::Int_cos(v); });
}

void BM_Int_sin_AnyAngle(benchmark::State& state)
{
    RunOnValues(state, AnyAngles(), [](int32_t v) { return Sine::Int_sin(v); });
}

void BM_Int_arcsin(benchmark::State& state)
{
    RunOnValues(state, Ratios(), [](int32_t v) { return Sine::Int_arcsin(v); });
}

void BM_Int_arccos(benchmark::State& state)
{
    RunOnValues(state, Ratios(), [](int32_t v) { return Sine::Int_arccos(v); });
}

void BM_Int_arccos_MediumRanges(benchmark::State& state)
{
    RunOnValues(state, CosinesOfMediumRanges(), [](int32_t v) { return Sine::Int_arccos(v); });
}

BENCHMARK(BM_Int_sin);
BENCHMARK(BM_Int_cos);
BENCHMARK(BM_Int_sin_AnyAngle);
BENCHMARK(BM_Int_arcsin);
BENCHMARK(BM_Int_arccos);
BENCHMARK(BM_Int_arccos_MediumRanges);

// Legs of any sign and of sizes from a few units to about 2^24, with one in
// sixteen zero.
void BM_Int_arctan(benchmark::State& state)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> magnitude(-(1 << 24), 1 << 24);
    std::uniform_int_distribution<int> scale(0, 20);
    std::uniform_int_distribution<int> zero(0, 15);
    std::vector<std::array<int32_t, 2>> legs(INPUT_COUNT);
    for (auto& leg : legs)
        for (int32_t& side : leg)
            side = zero(random) == 0 ? 0 : magnitude(random) >> scale(random);
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& leg = legs[i++ & INPUT_MASK];
        benchmark::DoNotOptimize(Tangent::Int_arctan(leg[0], leg[1]));
    }
}
BENCHMARK(BM_Int_arctan);

}  // namespace
