// map.cpp: the cost of the terrain queries the simulation asks for unit pairs
// every step (line of sight, sensors, routes): the land test on 10,000
// positions and the highest point along a 300 nm leg across coastal tiles.
// The map is the sample sea area of the data set (MAPS/SAMPLE.*), loaded
// through a map section made here, with a grid whose land and sea follow the
// sample's coast outlines.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/NavMath.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/Map.h"
#include "world/MapFileWriter.h"

#include "tests/support/SampleMap.h"

namespace {

using namespace samplemap;

// Land 50 to 250 units high, sea 20 to 100 deep; ice-pack cells odd.
int16_t SwellCell(bool land, bool ice, int32_t lat, int32_t lon)
{
    const int swell = static_cast<int>(lat / HALF_DEGREE + lon / HALF_DEGREE) & 7;
    int16_t cell = land ? static_cast<int16_t>(400 + swell * 200) : static_cast<int16_t>(-160 - swell * 80);
    cell = static_cast<int16_t>(cell & ~1);
    return ice ? static_cast<int16_t>(cell | 1) : cell;
}

const Map* SampleMap(std::string& error)
{
    static std::string loadError;
    static const std::unique_ptr<Map> map = LoadSampleMap(loadError, &SwellCell);
    error = loadError;
    return map.get();
}

// 10,000 positions spread over the sea area, from a fixed linear congruential
// sequence so that every run asks the same questions.
std::vector<LatLonPoint> Positions()
{
    std::vector<LatLonPoint> points;
    points.reserve(10000);
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    const uint32_t latSpan = static_cast<uint32_t>(Deg(NORTH - SOUTH));
    const uint32_t lonSpan = static_cast<uint32_t>(Deg(EAST - WEST));
    for (int i = 0; i < 10000; ++i) {
        const int32_t lat = Deg(SOUTH) + static_cast<int32_t>(next() % latSpan);
        const int32_t lon = Deg(WEST) + static_cast<int32_t>(next() % lonSpan);
        points.emplace_back(lat, lon);
    }
    return points;
}

void BM_IsLand10000(benchmark::State& state)
{
    std::string error;
    const Map* map = SampleMap(error);
    if (map == nullptr) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::vector<LatLonPoint> points = Positions();
    int64_t land = 0;
    for (auto _ : state) {
        for (const LatLonPoint& p : points)
            land += map->Is_Land(p) ? 1 : 0;
        benchmark::DoNotOptimize(land);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
    state.counters["land share"] =
        double(land) / double(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_IsLand10000)->Unit(benchmark::kMillisecond);

// 300 nm legs from the south-west of the area across the mainland coast, the
// island and the ice edge: 19 samples each.
void BM_HighestPoint300nm(benchmark::State& state)
{
    std::string error;
    const Map* map = SampleMap(error);
    if (map == nullptr) {
        state.SkipWithError(error.c_str());
        return;
    }
    constexpr int32_t LEG = 300 * RANGE_PER_NM;
    struct Leg {
        LatLonPoint a, b;
    };
    std::vector<Leg> legs;
    for (double startLon : {-4.8, -3.0, -1.0, 0.5}) {
        const LatLonPoint a(Deg(71.2), Deg(startLon));
        for (double bearing : {0.0, 10.0, 20.0}) {
            const int32_t b = Deg(bearing);
            legs.push_back({a, NavMath::Get_LatLonPoint_From_Vector(a, LEG, b)});
        }
    }
    int64_t height = 0;
    size_t i = 0;
    for (auto _ : state) {
        const Leg& leg = legs[i++ % legs.size()];
        const ElevationPoint best = map->Get_Highest_Point_Between(leg.a, leg.b);
        height += best.value;
        benchmark::DoNotOptimize(height);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HighestPoint300nm)->Unit(benchmark::kMicrosecond);

} // namespace
