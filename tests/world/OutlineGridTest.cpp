// Tests of the map's outline shortcuts (the coarse outline grid and the
// rectangle rejects of tiles, outlines and edges): every crossing, line of
// sight, land and height query answers exactly as the edge-by-edge method
// does, over many random segments on the sample map (open sea, land, ice,
// near the coast and its vertices, along grid lines, on and past the map's
// edges), and on small maps against the 180-degree meridian.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "world/MapTestSupport.h"
#include "support/ReportCapture.h"
#include "support/SampleMap.h"
#include "world/Map.h"
#include "world/MapPoly.h"
#include "world/MapTile.h"
#include "world/OutlineGrid.h"

namespace {

// Land 600 high and sea 3000 deep, with a swell so that heights differ.
int16_t SwellCell(bool land, bool ice, int32_t lat, int32_t lon)
{
    const int swell = static_cast<int>(lat / samplemap::HALF_DEGREE + lon / samplemap::HALF_DEGREE) & 7;
    int16_t cell = land ? static_cast<int16_t>(400 + swell * 200) : static_cast<int16_t>(-160 - swell * 80);
    cell = static_cast<int16_t>(cell & ~1);
    return ice ? static_cast<int16_t>(cell | 1) : cell;
}

struct Segment {
    LatLonPoint a, b;
};

// Every query of one segment, as the map answers it.
struct Answers {
    bool pathClear, coastOnce, landA, iceA;
    LatLonPoint firstCoast, firstIce, firstBoth;
    uint16_t countCoast, countIce, countBoth;
    int16_t altitudeA;
    ElevationPoint highest;

    bool operator==(const Answers& o) const
    {
        return pathClear == o.pathClear && coastOnce == o.coastOnce && landA == o.landA && iceA == o.iceA &&
               firstCoast == o.firstCoast && firstIce == o.firstIce && firstBoth == o.firstBoth &&
               countCoast == o.countCoast && countIce == o.countIce && countBoth == o.countBoth &&
               altitudeA == o.altitudeA && highest.value == o.highest.value &&
               highest.position == o.highest.position;
    }
};

Answers Ask(const Map& map, const Segment& s)
{
    Answers r;
    r.pathClear = map.Is_Path_Clear(s.a, s.b);
    r.coastOnce = map.Crosses_Coast_At_Most_Once(s.a, s.b);
    r.landA = map.Is_Land(s.a);
    r.iceA = map.Is_Ice(s.a);
    r.firstCoast = map.Get_First_Crossing(s.a, s.b, MAP_LAYER_COAST);
    r.firstIce = map.Get_First_Crossing(s.a, s.b, MAP_LAYER_ICE);
    r.firstBoth = map.Get_First_Crossing(s.a, s.b, MAP_LAYER_COAST | MAP_LAYER_ICE);
    r.countCoast = map.Count_Crossings(s.a, s.b, MAP_LAYER_COAST);
    r.countIce = map.Count_Crossings(s.a, s.b, MAP_LAYER_ICE);
    r.countBoth = map.Count_Crossings(s.a, s.b, MAP_LAYER_COAST | MAP_LAYER_ICE);
    r.altitudeA = map.Get_Altitude(s.a);
    r.highest = map.Get_Highest_Point_Between(s.a, s.b);
    return r;
}

std::string Describe(const Segment& s)
{
    return "segment (" + std::to_string(s.a.lat) + ", " + std::to_string(s.a.lon) + ") - (" +
           std::to_string(s.b.lat) + ", " + std::to_string(s.b.lon) + ")";
}

// Asks every segment with the shortcuts on and off and compares; answers
// how many segments the grid alone passed as open water (all masks).
int CompareAll(const Map& map, const std::vector<Segment>& segments)
{
    ReportCapture reports;   // an edge crossing that is not found reports; both ways alike
    int open = 0;
    for (const Segment& s : segments) {
        SetOutlineShortcuts(false);
        const Answers plain = Ask(map, s);
        const std::vector<std::string> plainReports = reports.errors;
        reports.Clear();
        SetOutlineShortcuts(true);
        const Answers quick = Ask(map, s);
        EXPECT_TRUE(plain == quick) << Describe(s);
        EXPECT_EQ(plainReports, reports.errors) << Describe(s);
        EXPECT_TRUE(reports.fatals.empty()) << Describe(s);
        reports.Clear();
        open += map.GetOutlineGrid().Misses(s.a, s.b, MAP_LAYER_COAST | MAP_LAYER_ICE) ? 1 : 0;
    }
    SetOutlineShortcuts(true);
    return open;
}

class OutlineShortcuts : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        map = samplemap::LoadSampleMap(error, &SwellCell).release();
        ASSERT_NE(map, nullptr) << error;
    }
    static void TearDownTestSuite()
    {
        delete map;
        map = nullptr;
    }

    // A position within `area` (angle units, edges included).
    LatLonPoint Within(int64_t south, int64_t west, int64_t north, int64_t east)
    {
        std::uniform_int_distribution<int64_t> lat(south, north), lon(west, east);
        return LatLonPoint(static_cast<int32_t>(lat(random)), static_cast<int32_t>(lon(random)));
    }
    LatLonPoint Near(const LatLonPoint& p, int32_t reach)
    {
        return Within(int64_t{p.lat} - reach, int64_t{p.lon} - reach, int64_t{p.lat} + reach,
                      int64_t{p.lon} + reach);
    }

    // Every vertex of the coast and ice outlines of the map's tiles.
    std::vector<LatLonPoint> Vertices() const
    {
        std::vector<LatLonPoint> all;
        for (uint16_t t = 0; t < map->GetTileCount(); ++t) {
            for (int16_t layer : {MAP_LAYER_COAST, MAP_LAYER_ICE}) {
                const MapPoly* polys = map->GetTile(t).GetPolys(layer);
                for (int16_t i = 0; polys != nullptr && i < map->GetTile(t).GetPolyCount(layer); ++i)
                    all.insert(all.end(), polys[i].GetPoints(), polys[i].GetPoints() + polys[i].GetCount());
            }
        }
        return all;
    }

    static Map* map;
    std::mt19937_64 random{20261211};
};

Map* OutlineShortcuts::map = nullptr;

TEST_F(OutlineShortcuts, GridIsSmallAndCoversTheMapWithItsMargin)
{
    const OutlineGrid& grid = map->GetOutlineGrid();
    ASSERT_FALSE(grid.IsEmpty());
    // 71-77 N, 5 W - 7 E and two degrees round it, in quarter degrees.
    EXPECT_EQ(grid.CellSide(), ANGLE_PER_DEGREE / 4);
    EXPECT_EQ(grid.Rows(), 40);
    EXPECT_EQ(grid.Columns(), 64);
    EXPECT_LE(grid.MemoryBytes(), size_t{4096});
    // Open sea between the island and the ice; across the island; ends off the grid.
    EXPECT_TRUE(grid.Misses(samplemap::At(74, 3), samplemap::At(74.2, 5.5), MAP_LAYER_COAST | MAP_LAYER_ICE));
    EXPECT_FALSE(grid.Misses(samplemap::At(74.9, -2), samplemap::At(74.9, 2), MAP_LAYER_COAST));
    EXPECT_FALSE(grid.Misses(samplemap::At(74, 3), samplemap::At(74, 12), MAP_LAYER_COAST));
    // The ice edge is no coast.
    EXPECT_TRUE(grid.Misses(samplemap::At(75.6, 3.1), samplemap::At(75.9, 3.1), MAP_LAYER_COAST));
    EXPECT_FALSE(grid.Misses(samplemap::At(75.6, 3.1), samplemap::At(75.9, 3.1), MAP_LAYER_ICE));
}

TEST_F(OutlineShortcuts, RandomSegmentsOverTheWholeMapAnswerAsEveryEdge)
{
    const int64_t s = samplemap::Deg(samplemap::SOUTH), n = samplemap::Deg(samplemap::NORTH);
    const int64_t w = samplemap::Deg(samplemap::WEST), e = samplemap::Deg(samplemap::EAST);
    std::vector<Segment> segments;
    for (int i = 0; i < 4000; ++i)
        segments.push_back({Within(s, w, n, e), Within(s, w, n, e)});
    // Short legs (under 15 nm the highest point looks at the midpoint only).
    for (int i = 0; i < 2000; ++i) {
        const LatLonPoint a = Within(s, w, n, e);
        segments.push_back({a, Near(a, ANGLE_PER_DEGREE / 5)});
    }
    const int open = CompareAll(*map, segments);
    EXPECT_GT(open, 300);   // the grid did pass many as open water
    EXPECT_LT(open, 6000);
}

TEST_F(OutlineShortcuts, SegmentsAtTheCoastAndItsVerticesAnswerAsEveryEdge)
{
    const std::vector<LatLonPoint> vertices = Vertices();
    ASSERT_GT(vertices.size(), 20u);
    std::vector<Segment> segments;
    std::uniform_int_distribution<size_t> pick(0, vertices.size() - 1);
    for (int i = 0; i < 3000; ++i) {
        const LatLonPoint v = vertices[pick(random)];
        const LatLonPoint w = vertices[pick(random)];
        switch (i % 6) {
        case 0: segments.push_back({v, w}); break;                             // vertex to vertex
        case 1: segments.push_back({Near(v, 3), Near(w, 3)}); break;           // a hair beside them
        case 2: segments.push_back({Near(v, 2000), Near(v, 40000)}); break;    // short, at the coast
        case 3: segments.push_back({v, Near(v, 60000)}); break;                // from a vertex
        case 4: segments.push_back({Near(v, 30000), Near(w, 30000)}); break;
        default: segments.push_back({v, v}); break;                            // a point
        }
    }
    // Along the lines the outlines and the grid are cut at: whole and
    // quarter degrees, where the walk's cells meet.
    for (int i = 0; i < 1000; ++i) {
        const int32_t lat = samplemap::Deg(72) + static_cast<int32_t>(random() % 17) * (ANGLE_PER_DEGREE / 4);
        const int32_t lon = samplemap::Deg(-4) + static_cast<int32_t>(random() % 41) * (ANGLE_PER_DEGREE / 4);
        const LatLonPoint v = vertices[pick(random)];
        segments.push_back({LatLonPoint(lat, lon), i % 2 ? LatLonPoint(lat, v.lon) : LatLonPoint(v.lat, lon)});
    }
    CompareAll(*map, segments);
}

TEST_F(OutlineShortcuts, SegmentsOnAndPastTheMapEdgesAnswerAsEveryEdge)
{
    const int32_t s = samplemap::Deg(samplemap::SOUTH), n = samplemap::Deg(samplemap::NORTH);
    const int32_t w = samplemap::Deg(samplemap::WEST), e = samplemap::Deg(samplemap::EAST);
    const int32_t beyond = 3 * ANGLE_PER_DEGREE;
    std::vector<Segment> segments;
    for (int i = 0; i < 1500; ++i) {
        const LatLonPoint inside = Within(s, w, n, e);
        LatLonPoint edge;
        switch (i % 4) {
        case 0: edge = LatLonPoint(n, inside.lon); break;
        case 1: edge = LatLonPoint(s, inside.lon); break;
        case 2: edge = LatLonPoint(inside.lat, w); break;
        default: edge = LatLonPoint(inside.lat, e); break;
        }
        segments.push_back({inside, edge});
        segments.push_back({edge, inside});
        // Out past the edge (the first crossing then falls back on the edge),
        // as far as beyond the grid's margin.
        segments.push_back({inside, Within(int64_t{s} - beyond, int64_t{w} - beyond, int64_t{n} + beyond,
                                           int64_t{e} + beyond)});
    }
    for (const LatLonPoint corner : {LatLonPoint(n, w), LatLonPoint(n, e), LatLonPoint(s, w), LatLonPoint(s, e)})
        segments.push_back({corner, samplemap::At(74, 1)});
    CompareAll(*map, segments);
}

// Small maps on either side of the 180-degree meridian: an island square in
// 179-180 E. One reaches the meridian from the west (the grid covers it);
// the other lies across it, where the map builds no grid and every query
// takes the edge-by-edge way.
class MeridianMaps : public testing::Test {
protected:
    std::unique_ptr<Map> Load(const LatLonRect& area, const LatLonPoint& origin, const std::vector<Point16>& tiles)
    {
        plan.area = area;
        plan.origin = origin;
        plan.tiles = tiles;
        plan.FillCells(-400);
        EXPECT_TRUE(files.Write(plan, {{{10, 179}, maptest::Square(9.3, 179.2, 9.8, 179.9)}}));
        bool loaded = false;
        auto map = maptest::LoadMap(maptest::SectionBytes(plan), files.Directory(), &loaded);
        EXPECT_TRUE(loaded);
        return map;
    }

    std::vector<Segment> Segments(const LatLonRect& area)
    {
        std::mt19937_64 random(99);
        const int64_t east = area.east < area.west ? int64_t{area.east} + ANGLE_FULL : area.east;
        std::uniform_int_distribution<int64_t> lat(area.south, area.north), lon(area.west, east);
        auto point = [&] {
            int64_t x = lon(random);
            if (x > ANGLE_HALF)
                x -= ANGLE_FULL;
            return LatLonPoint(static_cast<int32_t>(lat(random)), static_cast<int32_t>(x));
        };
        std::vector<Segment> segments;
        for (int i = 0; i < 1500; ++i)
            segments.push_back({point(), point()});
        segments.push_back({maptest::At(9.5, 179), LatLonPoint(maptest::Deg(9.5), ANGLE_HALF)});
        segments.push_back({LatLonPoint(maptest::Deg(9.5), ANGLE_HALF), maptest::At(9.5, 179.5)});
        return segments;
    }

    maptest::SectionPlan plan;
    maptest::MapFiles files;
};

TEST_F(MeridianMaps, UpToTheMeridianTheGridAnswersAsEveryEdge)
{
    const LatLonRect area(maptest::Deg(10), maptest::Deg(178), maptest::Deg(9), ANGLE_HALF);
    auto map = Load(area, {0, 0}, {{10, 178}, {10, 179}});
    ASSERT_TRUE(map);
    EXPECT_FALSE(map->GetOutlineGrid().IsEmpty());
    EXPECT_GT(CompareAll(*map, Segments(area)), 100);
}

TEST_F(MeridianMaps, AcrossTheMeridianEveryQueryTestsEveryEdge)
{
    const LatLonRect area(maptest::Deg(10), maptest::Deg(179), maptest::Deg(9), maptest::Deg(-179));
    auto map = Load(area, {0, ANGLE_HALF}, {{10, 179}, {10, -180}});
    ASSERT_TRUE(map);
    EXPECT_TRUE(map->GetOutlineGrid().IsEmpty());
    EXPECT_EQ(CompareAll(*map, Segments(area)), 0);
}

// A damaged coast file whose outlines zigzag from corner to corner of a
// near-global map, every edge's rectangle covering the whole grid, in forty
// tiles: the grid is built in a moment (marking each edge's cells one by one
// took minutes) and still answers as every edge.
TEST(OutlineGridDamage, EdgesAcrossTheWholeGridLoadPromptly)
{
    maptest::SectionPlan plan;
    plan.area = LatLonRect(maptest::Deg(80), maptest::Deg(-170), maptest::Deg(-80), maptest::Deg(170));
    plan.FillCells(-400);
    std::vector<maptest::MapFiles::Placed> coast;
    MapOutline zigzag;
    for (int i = 0; i < 6000; ++i) {
        MapPolyPoint p;
        p.level = 1;
        p.first = maptest::Deg(i % 2 ? 79.9 : -79.9);
        p.second = maptest::Deg(i % 2 ? 169.9 : -169.9) + i;
        zigzag.push_back(p);
    }
    for (int16_t column = 0; column < 40; ++column) {
        plan.tiles.push_back({10, column});
        coast.push_back({{10, column}, zigzag});
    }
    maptest::MapFiles files;
    ASSERT_TRUE(files.Write(plan, coast));
    ReportCapture reports;
    bool loaded = false;
    auto map = maptest::LoadMap(maptest::SectionBytes(plan), files.Directory(), &loaded);
    ASSERT_TRUE(loaded) << (reports.errors.empty() ? "" : reports.errors.front());
    const OutlineGrid& grid = map->GetOutlineGrid();
    EXPECT_LE(grid.MemoryBytes(), size_t(OutlineGrid::MAX_CELLS));
    EXPECT_EQ(grid.CellSide(), ANGLE_PER_DEGREE / 2);
    // Every cell holds coast; none holds ice.
    EXPECT_FALSE(grid.Misses(maptest::At(0, 0), maptest::At(0.1, 0.1), MAP_LAYER_COAST));
    EXPECT_FALSE(grid.Misses(maptest::At(-79.7, -169.7), maptest::At(-79.7, -169.6), MAP_LAYER_COAST));
    EXPECT_TRUE(grid.Misses(maptest::At(-60, -100), maptest::At(60, 100), MAP_LAYER_ICE));
    std::vector<Segment> segments;
    for (int i = 0; i < 20; ++i)
        segments.push_back({maptest::At(-70 + 7 * i, -150 + 15 * i), maptest::At(60 - 5 * i, 100 - 9 * i)});
    CompareAll(*map, segments);
}

}  // namespace
