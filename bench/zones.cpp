// zones.cpp: the cost of the zone tests the navigator asks for every leg of a
// path it plans: the crossing parity and the first crossing of one leg
// against a side's 50 zones of 20 points each, laid out as a 10 x 5 grid of
// rings over the sample sea area.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/AreaPolygon.h"
#include "world/AreaPolygonList.h"

namespace {

constexpr int ZONE_COLUMNS = 10;
constexpr int ZONE_ROWS = 5;
constexpr int RING_POINTS = 20;

int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
}

// Rings of 20 points, radius 0.4 degrees, one per whole degree from 72 N,
// 4 W; every zone a surface threat. Built through the saved form, as a side
// gets its zones from a scenario.
const AreaPolygonList& Zones()
{
    static const AreaPolygonList* zones = [] {
        std::ostringstream out(std::ios::binary);
        SaveField<uint16_t>(out, ZONE_COLUMNS * ZONE_ROWS);
        int16_t id = 1;
        for (int row = 0; row < ZONE_ROWS; ++row) {
            for (int column = 0; column < ZONE_COLUMNS; ++column) {
                const double lat = 72.5 + row;
                const double lon = -3.5 + column;
                std::vector<LatLonPoint> ring;
                for (int k = 0; k < RING_POINTS; ++k) {
                    const double a = 2 * M_PI * k / RING_POINTS;
                    ring.emplace_back(Deg(lat + 0.4 * std::sin(a)), Deg(lon + 0.4 * std::cos(a)));
                }
                AreaPolygon(id++, ring.data(), RING_POINTS, ZONE_SURFACE_THREAT).Save(out);
            }
        }
        std::istringstream in(out.str(), std::ios::binary);
        return new AreaPolygonList(in);
    }();
    return *zones;
}

struct Leg {
    LatLonPoint from, to;
};

// Outside to outside, diagonally across the grid: it passes through several
// rings, each twice, so no zone answers odd and every zone is walked.
const Leg ACROSS = {LatLonPoint(Deg(71.8), Deg(-4.2)), LatLonPoint(Deg(77.2), Deg(6.2))};
// Along 73 N, between two rows of rings: it crosses nothing, and the first
// crossing is refused by every zone's bounds.
const Leg BETWEEN = {LatLonPoint(Deg(73.0), Deg(-4.5)), LatLonPoint(Deg(73.0), Deg(6.5))};

void BM_AnyOddCrossing(benchmark::State& state, Leg leg)
{
    const AreaPolygonList& zones = Zones();
    if (zones.Any_Odd_Crossing(leg.from, leg.to, 0xFFFFFFFF))
        state.SkipWithError("the leg ends inside a zone: the walk would stop early");
    for (auto _ : state)
        benchmark::DoNotOptimize(zones.Any_Odd_Crossing(leg.from, leg.to, 0xFFFFFFFF));
}

void BM_FirstCrossing(benchmark::State& state, Leg leg)
{
    const AreaPolygonList& zones = Zones();
    for (auto _ : state)
        benchmark::DoNotOptimize(zones.First_Crossing(leg.from, leg.to, 0xFFFFFFFF));
}

}  // namespace

BENCHMARK_CAPTURE(BM_AnyOddCrossing, across_50_zones, ACROSS);
BENCHMARK_CAPTURE(BM_AnyOddCrossing, between_rows, BETWEEN);
BENCHMARK_CAPTURE(BM_FirstCrossing, across_50_zones, ACROSS);
BENCHMARK_CAPTURE(BM_FirstCrossing, between_rows, BETWEEN);
