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

#include "bridge/Game2UI2.h"
#include "bridge/gam2arena.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/AreaPolygonList.h"
#include "world/Map.h"
#include "world/MapFileWriter.h"
#include "world/NavPath.h"
#include "world/Navigator.h"

namespace {

using Clock = std::chrono::steady_clock;

// The section's area: the sample sea area and the outlines' margin round it.
constexpr double NORTH = 77, WEST = -5, SOUTH = 71, EAST = 7;
constexpr int32_t HALF_DEGREE = ANGLE_PER_DEGREE / 2;
constexpr uint16_t SIDE = 1;
constexpr int16_t SHIP = 2;
constexpr uint32_t AVOID_SURFACE = 0x000000F0;
constexpr long SLICE_LIMIT = 10000000;

int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
}

LatLonPoint At(double lat, double lon)
{
    return LatLonPoint(Deg(lat), Deg(lon));
}

// Even-odd test of a position (degrees) against closed outlines.
bool InsideAny(const std::vector<MapOutline>& outlines, double lat, double lon)
{
    const int32_t y = Deg(lat), x = Deg(lon);
    bool inside = false;
    for (const MapOutline& outline : outlines) {
        for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
            const MapPolyPoint& p = outline[i];
            const MapPolyPoint& q = outline[j];
            if ((p.first > y) != (q.first > y)) {
                const double crossLon =
                    p.second + double(q.second - p.second) * (y - p.first) / double(q.first - p.first);
                if (x < crossLon)
                    inside = !inside;
            }
        }
    }
    return inside;
}

void WriteName(std::ostream& out, const std::string& name)
{
    SaveField(out, static_cast<uint8_t>(name.size() + 1));
    out.write(name.c_str(), static_cast<std::streamsize>(name.size() + 1));
}

// The sample map; null (with the reason) when the data set is missing.
std::unique_ptr<Map> LoadSampleMap(std::string& error)
{
    std::ifstream description(std::string(TESSARN_SOURCE_DIR) + "/data/map/sample.json");
    MapSource source;
    if (!description.is_open() || !ReadMapSource(description, source, error)) {
        error = "cannot read data/map/sample.json " + error;
        return nullptr;
    }
    std::ostringstream out(std::ios::binary);
    for (int i = 0; i < 3; ++i)
        WriteName(out, "SAMPLE");
    LatLonRect(Deg(NORTH), Deg(WEST), Deg(SOUTH), Deg(EAST)).Save(out);
    XYRect().Save(out);
    SaveField(out, uint8_t{1});   // Miller, centred on 0 degrees
    LatLonPoint(0, 0).Save(out);
    SaveField(out, uint16_t{1});  // ice pack: cell bit 0
    SaveField(out, static_cast<uint16_t>((NORTH - SOUTH) * (EAST - WEST)));
    for (int16_t north = static_cast<int16_t>(SOUTH + 1); north <= NORTH; ++north) {
        for (int16_t west = static_cast<int16_t>(WEST); west < EAST; ++west) {
            SaveField(out, north);
            SaveField(out, west);
        }
    }
    for (int32_t lat = Deg(NORTH); lat >= Deg(SOUTH); lat -= HALF_DEGREE) {
        for (int32_t lon = Deg(WEST); lon <= Deg(EAST); lon += HALF_DEGREE) {
            const double la = double(lat) / ANGLE_PER_DEGREE, lo = double(lon) / ANGLE_PER_DEGREE;
            int16_t cell = InsideAny(source.layers[0], la, lo) ? int16_t{800} : int16_t{-800};
            if (InsideAny(source.layers[2], la, lo))
                cell = static_cast<int16_t>(cell | 1);
            SaveField(out, cell);
        }
    }
    auto map = std::make_unique<Map>();
    std::istringstream in(out.str(), std::ios::binary);
    if (!map->Create_Map(in, (std::string(TESSARN_DATA_DIR) + "/MAPS/").c_str())) {
        error = "the sample map section did not load (is the sample data built?)";
        return nullptr;
    }
    return map;
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
        map = LoadSampleMap(error);
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
