// navigator.cpp: the cost of route planning. The Navigator works one slice
// per pass of the main loop, between input and drawing, so the longest slice
// is the figure that matters (goal: under 1 ms); beside it, the slices and the
// time a whole route takes, for a ship sent round the sample island and one
// sent along the sample coast, and the cost of one optimization pass.
//
// The map is the sample sea area of the data set (MAPS/SAMPLE.*), loaded
// through a map section made here with a grid whose land, sea and ice follow
// the sample's outlines; the ship's side has one surface-threat zone off the
// coast, which the coastal route must also keep out of.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "world/AreaPolygonList.h"
#include "world/Game2UI2.h"
#include "world/Map.h"
#include "world/MapFileWriter.h"
#include "world/NavPath.h"
#include "world/Navigator.h"

#include "tests/support/SampleMap.h"

namespace {

using Clock = std::chrono::steady_clock;

using namespace samplemap;

constexpr uint16_t SIDE = 1;
constexpr int16_t SHIP = 2;
constexpr uint32_t AVOID_SURFACE = 0x000000F0;
constexpr long SLICE_LIMIT = 10000000;

// Land 800 units high, sea 800 deep; ice-pack cells odd.
int16_t FlatCell(bool land, bool ice, int32_t, int32_t)
{
    const int16_t cell = land ? int16_t{800} : int16_t{-800};
    return ice ? static_cast<int16_t>(cell | 1) : cell;
}

// A zone of the four corners (degrees), south-west first.
class ZoneCorner : public ChainLink<ZoneCorner> {
public:
    explicit ZoneCorner(LatLonPoint p = LatLonPoint()) : position(p) {}
    void GetPosition(LatLonPoint& p) const { p = position; }

private:
    LatLonPoint position;
};

// The sample map as gMap, side 1 with its zones, and an arena to take the
// answers, for the life of the program.
struct World {
    std::unique_ptr<Map> map;
    AreaPolygonList zones;
    ArenaState arena;
    std::string error;

    World()
    {
        map = LoadSampleMap(error, &FlatCell);
        gMap = map.get();
        // A surface-threat box off the coast east of the prime meridian.
        ZoneCorner corners[4] = {ZoneCorner(At(73.25, 1.6)), ZoneCorner(At(73.25, 2.4)),
                                 ZoneCorner(At(73.6, 2.4)), ZoneCorner(At(73.6, 1.6))};
        for (int i = 1; i < 4; ++i)
            corners[i - 1].InsertChainAfter(&corners[i]);
        zones.Add(0x10, &corners[0]);
        for (ZoneCorner& c : corners)
            c.Unlink();
        Game2UI2::SetCurrentSideID(SIDE);
        Game2UI2::SetThreatZoneList(SIDE, &zones);
        gam2arena::SetArenaState(&arena);
    }
};

World& TheWorld()
{
    static World world;
    return world;
}

struct RouteFigures {
    long slices = 0;
    double longestSlice = 0;   // seconds
    double total = 0;          // seconds
    double passTime = 0;       // seconds of the first optimization pass
    long passSlices = 0;
    int16_t numPoints = 0;
};

// Requests a ship route and steps the navigator until it is answered,
// timing every slice.
RouteFigures Route(LatLonPoint start, LatLonPoint goal)
{
    RouteFigures figures;
    Navigator navigator;
    auto path = std::make_unique<Nav_Path>();
    path->unitID = 1;
    path->sideID = SIDE;
    path->navType = SHIP;
    path->threatMask = AVOID_SURFACE;
    path->AddPoint(start);
    path->AddPoint(goal);
    if (navigator.RequestPath(path.get())) {
        figures.numPoints = path->numPoints;
        return figures;   // answered at once: no slices
    }
    Nav_Path* const queued = path.release();
    bool idle = false;
    while (!idle && figures.slices < SLICE_LIMIT) {
        // The first optimization pass: its set-up slice and its steps.
        const bool inFirstPass = queued->optimizing
                                 && ((queued->passDone && queued->pass == 0)
                                     || (!queued->passDone && queued->pass == 1));
        const Clock::time_point begin = Clock::now();
        idle = navigator.Step();
        const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        ++figures.slices;
        figures.total += seconds;
        if (seconds > figures.longestSlice)
            figures.longestSlice = seconds;
        if (inFirstPass) {
            figures.passTime += seconds;
            ++figures.passSlices;
        }
    }
    Event* answer = TheWorld().arena.Queue().FindNextOfType(nullptr, EventCode::PATH_RETURN);
    if (answer != nullptr) {
        figures.numPoints = queued->numPoints;
        TheWorld().arena.Queue().RemoveEventsOf(1, 0);   // deletes the answer and its path
    }
    return figures;
}

// The longest slice of each route, sorted: the median is the figure to hold
// against the 1 ms goal; the very longest, over many routes, also catches the
// machine's own pauses (the process being scheduled out mid-slice).
struct SliceRecord {
    std::vector<double> longest;   // seconds, one per route

    void Add(double seconds) { longest.push_back(seconds); }
    void Report(benchmark::State& state)
    {
        if (longest.empty())
            return;
        std::sort(longest.begin(), longest.end());
        const double median = longest[longest.size() / 2];
        state.counters["longest_slice_us"] = median * 1e6;
        state.counters["worst_slice_us"] = longest.back() * 1e6;
        state.counters["under_1ms"] = median < 1e-3 ? 1 : 0;
    }
};

void RunRoute(benchmark::State& state, LatLonPoint start, LatLonPoint goal)
{
    if (TheWorld().map == nullptr) {
        state.SkipWithError(TheWorld().error.c_str());
        return;
    }
    SliceRecord slices;
    RouteFigures last;
    for (auto _ : state) {
        last = Route(start, goal);
        state.SetIterationTime(last.total);
        slices.Add(last.longestSlice);
    }
    if (last.numPoints < 2) {
        state.SkipWithError("no route was found");
        return;
    }
    slices.Report(state);
    state.counters["slices"] = double(last.slices);
    state.counters["route_points"] = double(last.numPoints);
}

// West of Hollow Isle to east of it: the straight leg crosses the island.
void BM_RouteRoundTheIsland(benchmark::State& state)
{
    RunRoute(state, At(74.9, -2.0), At(74.9, 2.8));
}
BENCHMARK(BM_RouteRoundTheIsland)->UseManualTime()->Unit(benchmark::kMillisecond);

// Along the mainland coast from west to east: the straight leg cuts the
// headland near the prime meridian, and the zone lies off the coast further on.
void BM_RouteAlongTheCoast(benchmark::State& state)
{
    RunRoute(state, At(73.05, -3.6), At(73.0, 4.2));
}
BENCHMARK(BM_RouteAlongTheCoast)->UseManualTime()->Unit(benchmark::kMillisecond);

// One optimization pass of the island route: its set-up and every candidate
// connection until it reaches the goal; the first phase is not counted.
void BM_OneOptimizationPass(benchmark::State& state)
{
    if (TheWorld().map == nullptr) {
        state.SkipWithError(TheWorld().error.c_str());
        return;
    }
    SliceRecord slices;
    RouteFigures last;
    for (auto _ : state) {
        last = Route(At(74.9, -2.0), At(74.9, 2.8));
        state.SetIterationTime(last.passTime);
        slices.Add(last.longestSlice);
    }
    slices.Report(state);
    state.counters["pass_slices"] = double(last.passSlices);
}
BENCHMARK(BM_OneOptimizationPass)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
