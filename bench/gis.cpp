// gis.cpp: the cost of the shapefile overlays of a scenario with 5,000
// overlay objects (2,000 points, 2,000 line segments from 100 lines of 21
// vertices, 1,000 polygons of 8 vertices): reading them at Load, dumps and
// log included, and drawing them all once, as every map update does, into a
// recording drawing interface. The map is a Miller area of 72 N to 76 N,
// 4 W to 6 E over the sample data set's outline files.
#include <benchmark/benchmark.h>

#include <shapefil.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/StreamFields.h"
#include "core/Units.h"
#include "tests/support/RecordingPen.h"
#include "world/GISManager.h"
#include "world/Map.h"
#include "world/OpenedFilePath.h"

namespace {

constexpr double NORTH = 76, WEST = -4, SOUTH = 72, EAST = 6;
constexpr int POINTS = 2000;
constexpr int LINES = 100;
constexpr int LINE_VERTICES = 21;
constexpr int POLYGONS = 1000;
constexpr int POLYGON_VERTICES = 8;
constexpr uint32_t OBJECTS = POINTS + LINES * (LINE_VERTICES - 1) + POLYGONS;   // 5,000

int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
}

void WriteName(std::ostream& out, const std::string& name)
{
    SaveField(out, static_cast<uint8_t>(name.size() + 1));
    out.write(name.c_str(), static_cast<std::streamsize>(name.size() + 1));
}

// The sample data set's outline files with no tiles, and an all-sea grid.
std::unique_ptr<Map> LoadMap()
{
    std::ostringstream out(std::ios::binary);
    for (int i = 0; i < 3; ++i)
        WriteName(out, "SAMPLE");
    LatLonRect(Deg(NORTH), Deg(WEST), Deg(SOUTH), Deg(EAST)).Save(out);
    XYRect().Save(out);
    SaveField(out, uint8_t{1});   // Miller, centred on 0 degrees
    LatLonPoint(0, 0).Save(out);
    SaveField(out, uint16_t{0});
    SaveField(out, uint16_t{0});  // no tiles
    const int cells = static_cast<int>((NORTH - SOUTH) * 2 + 1) * static_cast<int>((EAST - WEST) * 2 + 1);
    for (int i = 0; i < cells; ++i)
        SaveField(out, int16_t{-100});
    auto map = std::make_unique<Map>();
    std::istringstream in(out.str(), std::ios::binary);
    if (!map->Create_Map(in, (std::string(TESSARN_DATA_DIR) + "/MAPS/").c_str()))
        return nullptr;
    return map;
}

// A fixed sequence of positions in the area, in degrees.
struct Spread {
    uint32_t seed = 4242;
    double Next(double low, double high)
    {
        seed = seed * 1664525u + 1013904223u;
        return low + (high - low) * (seed >> 8) / double(1u << 24);
    }
};

void WriteSet(const std::string& base, int type, const std::vector<std::vector<double>>& xs,
              const std::vector<std::vector<double>>& ys)
{
    SHPHandle shp = SHPCreate(base.c_str(), type);
    DBFHandle dbf = DBFCreate((base + ".dbf").c_str());
    DBFAddField(dbf, "GIS_COLOR", FTInteger, 4, 0);
    for (size_t i = 0; i < xs.size(); ++i) {
        SHPObject* shape = SHPCreateSimpleObject(type, static_cast<int>(xs[i].size()), xs[i].data(), ys[i].data(),
                                                 nullptr);
        SHPWriteObject(shp, -1, shape);
        SHPDestroyObject(shape);
        DBFWriteIntegerAttribute(dbf, static_cast<int>(i), 0, 20 + static_cast<int>(i % 8));
    }
    SHPClose(shp);
    DBFClose(dbf);
}

// The scenario directory with its three shapefile sets, made once.
std::string ScenarioDirectory()
{
    static const std::string directory = [] {
        char name[] = "/tmp/tessarn_bench_gis_XXXXXX";
        if (mkdtemp(name) == nullptr)
            return std::string();
        const std::string dir = name;
        Spread spread;
        std::vector<std::vector<double>> xs, ys;
        for (int i = 0; i < POINTS; ++i) {
            xs.push_back({spread.Next(WEST, EAST)});
            ys.push_back({spread.Next(SOUTH, NORTH)});
        }
        WriteSet(dir + "/wrecks", SHPT_POINT, xs, ys);
        xs.clear();
        ys.clear();
        for (int i = 0; i < LINES; ++i) {
            std::vector<double> x, y;
            double lon = spread.Next(WEST, EAST - 2), lat = spread.Next(SOUTH, NORTH);
            for (int k = 0; k < LINE_VERTICES; ++k) {
                x.push_back(lon + 0.1 * k);
                y.push_back(lat + 0.05 * std::sin(k));
            }
            xs.push_back(x);
            ys.push_back(y);
        }
        WriteSet(dir + "/cables", SHPT_ARC, xs, ys);
        xs.clear();
        ys.clear();
        for (int i = 0; i < POLYGONS; ++i) {
            std::vector<double> x, y;
            const double lon = spread.Next(WEST + 0.2, EAST - 0.2), lat = spread.Next(SOUTH + 0.2, NORTH - 0.2);
            for (int k = 0; k < POLYGON_VERTICES; ++k) {
                const double a = 2 * M_PI * k / POLYGON_VERTICES;
                x.push_back(lon + 0.1 * std::cos(a));
                y.push_back(lat + 0.05 * std::sin(a));
            }
            xs.push_back(x);
            ys.push_back(y);
        }
        WriteSet(dir + "/banks", SHPT_POLYGON, xs, ys);
        std::atexit([] { std::filesystem::remove_all(ScenarioDirectory()); });
        return dir;
    }();
    return directory;
}

// The map installed as gMap and the scenario opened, for one benchmark.
class Scenario {
public:
    explicit Scenario(benchmark::State& state)
    {
        map = LoadMap();
        directory = ScenarioDirectory();
        if (!map || directory.empty()) {
            state.SkipWithError("no map (is the sample data built?) or no scratch folder");
            return;
        }
        previous = gMap;
        gMap = map.get();
        SetOpenedFilePath((directory + "/BENCH.SCN").c_str());
        ready = true;
    }
    ~Scenario()
    {
        if (ready)
            gMap = previous;
    }

    bool ready = false;

private:
    std::unique_ptr<Map> map;
    std::string directory;
    Map* previous = nullptr;
};

void BM_Load5000(benchmark::State& state)
{
    Scenario scenario(state);
    if (!scenario.ready)
        return;
    GISManager manager;
    for (auto _ : state) {
        manager.Load();
        benchmark::DoNotOptimize(manager.GetShapes().Count());
    }
    if (manager.GetShapes().Count() != OBJECTS)
        state.SkipWithError("the sets did not give 5,000 objects");
    state.counters["objects"] = manager.GetShapes().Count();
}
BENCHMARK(BM_Load5000)->Unit(benchmark::kMillisecond);

void BM_Draw5000(benchmark::State& state)
{
    Scenario scenario(state);
    if (!scenario.ready)
        return;
    GISManager manager;
    manager.Load();
    if (manager.GetShapes().Count() != OBJECTS) {
        state.SkipWithError("the sets did not give 5,000 objects");
        return;
    }
    const XYRect view(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);
    RecordingPenScope pen;
    pen.calls.reserve(200000);
    size_t calls = 0;
    for (auto _ : state) {
        pen.Clear();
        benchmark::DoNotOptimize(manager.DrawShapes(view));
        calls = pen.calls.size();
    }
    state.counters["pen_calls"] = static_cast<double>(calls);
}
BENCHMARK(BM_Draw5000)->Unit(benchmark::kMillisecond);

}  // namespace
