// navmath.cpp: the per-call cost of the navigation maths the simulation runs
// for every pair of units every step: range and bearing between positions,
// the position reached along a range and bearing, and the sine and
// arctangent beneath them. Inputs cycle through fixed tables so that branch
// prediction sees a realistic mix.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/Tangent.h"
#include "core/Units.h"

namespace {

constexpr int32_t DEG = ANGLE_PER_DEGREE;

// Pairs of positions: short legs (the plane), long legs (the great circle),
// over 180 degrees and at high latitude.
const std::array<std::array<LatLonPoint, 2>, 8> kLegs = {{
    {LatLonPoint(10 * DEG, 20 * DEG), LatLonPoint(10 * DEG + 9000, 20 * DEG + 15000)},
    {LatLonPoint(-35 * DEG, 150 * DEG), LatLonPoint(-34 * DEG, 152 * DEG)},
    {LatLonPoint(60 * DEG, 179 * DEG), LatLonPoint(60 * DEG + 4000, -179 * DEG - 50000)},
    {LatLonPoint(0, 0), LatLonPoint(5 * DEG, 5 * DEG)},
    {LatLonPoint(45 * DEG, -30 * DEG), LatLonPoint(44 * DEG, -28 * DEG)},
    {LatLonPoint(70 * DEG, 10 * DEG), LatLonPoint(70 * DEG - 20000, 10 * DEG - 30000)},
    {LatLonPoint(-10 * DEG, 100 * DEG), LatLonPoint(20 * DEG, 130 * DEG)},
    {LatLonPoint(30 * DEG, 40 * DEG), LatLonPoint(30 * DEG + 100, 40 * DEG - 100)},
}};

struct Step { LatLonPoint from; int32_t range, bearing; };
const std::array<Step, 8> kSteps = {{
    {LatLonPoint(10 * DEG, 20 * DEG), 3000, 45 * DEG},
    {LatLonPoint(-35 * DEG, 150 * DEG), 40960, 200 * DEG},
    {LatLonPoint(60 * DEG, 179 * DEG), 900000, 80 * DEG},
    {LatLonPoint(0, 0), 12000, 300 * DEG},
    {LatLonPoint(45 * DEG, -30 * DEG), 245760, 135 * DEG},
    {LatLonPoint(70 * DEG, 10 * DEG), 500, 10 * DEG},
    {LatLonPoint(-10 * DEG, 100 * DEG), 2000000, 270 * DEG},
    {LatLonPoint(30 * DEG, 40 * DEG), 20000, 359 * DEG},
}};

void BM_Get_Vector(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& leg = kLegs[i++ & 7];
        benchmark::DoNotOptimize(NavMath::Get_Vector(leg[0], leg[1]));
    }
}
BENCHMARK(BM_Get_Vector);

void BM_Get_LatLonPoint_From_Vector(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        const Step& s = kSteps[i++ & 7];
        benchmark::DoNotOptimize(NavMath::Get_LatLonPoint_From_Vector(s.from, s.range, s.bearing));
    }
}
BENCHMARK(BM_Get_LatLonPoint_From_Vector);

void BM_Int_sin(benchmark::State& state)
{
    int32_t angle = -ANGLE_FULL;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Sine::Int_sin(angle));
        angle += 1234567;                         // sweeps both signs and every quadrant
        if (angle > 2 * ANGLE_FULL)
            angle -= 3 * ANGLE_FULL;
    }
}
BENCHMARK(BM_Int_sin);

void BM_Int_arctan(benchmark::State& state)
{
    const std::array<std::array<int32_t, 2>, 8> legs = {{
        {1, 2}, {-300000, 7000}, {40960, -40961}, {0, 5},
        {123456789, 987654}, {-5, -5}, {8388607, 8388608}, {-77, 100000},
    }};
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& l = legs[i++ & 7];
        benchmark::DoNotOptimize(Tangent::Int_arctan(l[0], l[1]));
    }
}
BENCHMARK(BM_Int_arctan);

}  // namespace
