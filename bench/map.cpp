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

namespace {

// The section's area: the sample sea area and the outlines' margin round it.
constexpr double NORTH = 77, WEST = -5, SOUTH = 71, EAST = 7;
constexpr int32_t HALF_DEGREE = ANGLE_PER_DEGREE / 2;

int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
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
                const double crossLon = p.second + double(q.second - p.second) * (y - p.first) / double(q.first - p.first);
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

// The sample map, loaded once; null (with the reason) when the data set is missing.
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
    SaveField(out, uint8_t{1});              // Miller, centred on 0 degrees
    LatLonPoint(0, 0).Save(out);
    SaveField(out, uint16_t{1});             // ice pack: cell bit 0
    SaveField(out, static_cast<uint16_t>((NORTH - SOUTH) * (EAST - WEST)));
    for (int16_t north = static_cast<int16_t>(SOUTH + 1); north <= NORTH; ++north) {
        for (int16_t west = static_cast<int16_t>(WEST); west < EAST; ++west) {
            SaveField(out, north);
            SaveField(out, west);
        }
    }
    // Land 50 to 250 units high, sea 20 to 100 deep; ice-pack cells odd.
    for (int32_t lat = Deg(NORTH); lat >= Deg(SOUTH); lat -= HALF_DEGREE) {
        for (int32_t lon = Deg(WEST); lon <= Deg(EAST); lon += HALF_DEGREE) {
            const double la = double(lat) / ANGLE_PER_DEGREE, lo = double(lon) / ANGLE_PER_DEGREE;
            const int swell = static_cast<int>(lat / HALF_DEGREE + lon / HALF_DEGREE) & 7;
            int16_t cell = InsideAny(source.layers[0], la, lo) ? static_cast<int16_t>(400 + swell * 200)
                                                               : static_cast<int16_t>(-160 - swell * 80);
            cell = static_cast<int16_t>(cell & ~1);
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

const Map* SampleMap(std::string& error)
{
    static std::string loadError;
    static const std::unique_ptr<Map> map = LoadSampleMap(loadError);
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
