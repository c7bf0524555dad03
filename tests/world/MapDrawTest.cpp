// MapDrawTest.cpp: drawing the scenario map through a recording map pen:
// grid lines, the order of shading and outlines, the outlines' level of
// detail, and the maps that cannot be drawn.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Projection.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/MapTile.h"

using namespace maptest;

namespace {

// 9 to 11 N, 20 to 22 E (Miller), 5 x 5 grid points: the northern row is
// land (400, colour 14), the rest sea (-800, colour 11); an island square
// of level-1 points in cell (11, 20) and an ice-edge square in cell (11, 21).
class DrawMap : public testing::Test {
protected:
    void SetUp() override
    {
        plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
        plan.projectionID = PROJECTION_MILLER;
        plan.tiles = {{11, 20}, {11, 21}};
        plan.FillCells(-800);
        for (double lon : {20.0, 20.5, 21.0, 21.5, 22.0})
            plan.Cell(11, lon) = 400;
    }

    std::unique_ptr<Map> Load()
    {
        EXPECT_TRUE(files.Write(plan, {{{11, 20}, Square(10.25, 20.25, 10.75, 20.75, 1)}}, {},
                                {{{11, 21}, Square(10.25, 21.25, 10.75, 21.75, 3)}}));
        bool loaded = false;
        auto map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
        EXPECT_TRUE(loaded);
        return map;
    }

    // The whole map in the map plane.
    XYRect WholeView(const Map& map) const
    {
        const XYPoint nw = map.LatLon_to_XY(LatLonPoint(plan.area.north, plan.area.west));
        const XYPoint se = map.LatLon_to_XY(LatLonPoint(plan.area.south, plan.area.east));
        return XYRect(nw.x, nw.y, se.x, se.y);
    }

    SectionPlan plan;
    MapFiles files;
};

TEST(MapDetailLevel, FollowsTheWindowScale)
{
    struct Row {
        int32_t scale;
        uint8_t level;
    };
    const Row rows[] = {
        {0, 1},     {6999, 1},  {7000, 2},  {9999, 2},      {10000, 3},
        {13999, 3}, {14000, 4}, {21999, 4}, {22000, 5},     {INT32_MAX, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.scale);
        EXPECT_EQ(Map::DetailLevelForScale(r.scale), r.level);
    }
}

TEST_F(DrawMap, GridMeridiansAndParallelsTruncateTowardZero)
{
    auto map = Load();
    RecordingPenScope pen;
    // West -7.5, east 12.25: W = -7, E = 12, meridians -5, 0, 5, 10.
    // North 42.9, south 31.5: N = 42, S = 31, parallels 40, 35, 30.
    const LatLonRect area(Deg(42.9), Deg(-7.5), Deg(31.5), Deg(12.25));
    map->Draw_Grid_Lines(5, area);

    std::vector<PenCall> expected;
    for (int lon : {-5, 0, 5, 10}) {
        expected.push_back({PenCall::Move, map->LatLon_to_XY(LatLonPoint(area.north, Deg(lon))), 0});
        expected.push_back({PenCall::Line, map->LatLon_to_XY(LatLonPoint(area.south, Deg(lon))), Projection::GRID_COLOUR});
    }
    for (int lat : {40, 35, 30}) {
        expected.push_back({PenCall::Move, map->LatLon_to_XY(At(lat, -7)), 0});
        expected.push_back({PenCall::Line, map->LatLon_to_XY(At(lat, 12)), Projection::GRID_COLOUR});
    }
    EXPECT_EQ(pen.calls, expected);
}

TEST_F(DrawMap, GridSpacingZeroDrawsNothingAndOneDrawsEveryDegree)
{
    auto map = Load();
    RecordingPenScope pen;
    map->Draw_Grid_in_Window(WholeView(*map), 0);
    map->Draw_Grid_Lines(0, plan.area);
    EXPECT_TRUE(pen.calls.empty());

    // The view's area is clipped to the map: meridians 20, 21, 22 and
    // parallels 11, 10, 9.
    map->Draw_Grid_in_Window(WholeView(*map), 1);
    EXPECT_EQ(pen.Count(PenCall::Move), 6u);
    EXPECT_EQ(pen.Count(PenCall::Line, Projection::GRID_COLOUR), 6u);
    EXPECT_EQ(pen.calls.size(), 12u);
}

TEST_F(DrawMap, AltitudesBeforeDepthsAndNoOutlineLayerChosen)
{
    auto map = Load();
    RecordingPenScope pen;
    map->Draw_Map_in_Window(WholeView(*map), MAP_DRAW_ALTITUDES | MAP_DRAW_DEPTHS);

    ASSERT_EQ(pen.calls.size(), 25u);   // every grid point is land or sea
    EXPECT_EQ(pen.Count(PenCall::Plot, 14), 5u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 11), 20u);
    const auto firstDepth = std::find_if(pen.calls.begin(), pen.calls.end(),
                                         [](const PenCall& c) { return c.colour == 11; });
    EXPECT_TRUE(std::all_of(pen.calls.begin(), firstDepth, [](const PenCall& c) { return c.colour == 14; }));
}

TEST_F(DrawMap, OutlinesFollowTheFlagsAndPaintOverTheShading)
{
    auto map = Load();
    struct Row {
        int32_t flags;
        size_t coastLines, iceLines, plots;
    };
    const Row rows[] = {
        {MAP_DRAW_COAST, 4, 0, 0},
        {MAP_DRAW_ICE_EDGE, 0, 4, 0},
        {MAP_DRAW_COUNTRY, 0, 0, 0},
        {MAP_DRAW_COAST | MAP_DRAW_COUNTRY | MAP_DRAW_ICE_EDGE, 4, 4, 0},
        {MAP_DRAW_COAST | MAP_DRAW_ALTITUDES, 4, 0, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flags);
        RecordingPenScope pen;
        map->Draw_Map_in_Window(WholeView(*map), r.flags);
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COAST), r.coastLines);
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_ICE), r.iceLines);
        EXPECT_EQ(pen.Count(PenCall::Plot), r.plots);
        const auto firstMove = std::find_if(pen.calls.begin(), pen.calls.end(),
                                            [](const PenCall& c) { return c.kind == PenCall::Move; });
        EXPECT_EQ(std::count_if(firstMove, pen.calls.end(), [](const PenCall& c) { return c.kind == PenCall::Plot; }), 0);
    }
}

TEST_F(DrawMap, OutlineDetailFollowsTheMainWindowScale)
{
    auto map = Load();
    // The island's points are all of level 1, the ice edge's of level 3.
    struct Row {
        int32_t scale;
        size_t coastLines, iceLines;
    };
    const Row rows[] = {
        {6999, 4, 4},    // level 1: everything
        {7000, 0, 4},    // level 2: the island keeps only its first point
        {13999, 0, 4},   // level 3
        {14000, 0, 0},   // level 4
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.scale);
        RecordingPenScope pen(r.scale);
        map->Draw_Map_in_Window(WholeView(*map), MAP_DRAW_COAST | MAP_DRAW_ICE_EDGE);
        EXPECT_EQ(pen.Count(PenCall::Move), 2u);   // each outline starts at its point 0
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COAST), r.coastLines);
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_ICE), r.iceLines);
    }
}

TEST_F(DrawMap, MapWithoutTilesDrawsShadingAndNoOutlines)
{
    plan.tiles.clear();
    auto map = Load();
    ReportCapture reports;
    RecordingPenScope pen;
    map->Draw_Map_in_Window(WholeView(*map), MAP_DRAW_COAST | MAP_DRAW_ICE_EDGE | MAP_DRAW_ALTITUDES);
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_EQ(pen.Count(PenCall::Plot, 14), 5u);
    EXPECT_EQ(pen.Count(PenCall::Move), 0u);
    EXPECT_EQ(pen.Count(PenCall::Line), 0u);
}

TEST_F(DrawMap, MapNotLoadedIsFatal)
{
    auto map = Load();
    const XYRect view = WholeView(*map);
    Map other;   // any map made clears the class-wide valid flag
    ReportCapture reports;
    RecordingPenScope pen;
    map->Draw_Map_in_Window(view, MAP_DRAW_COAST | MAP_DRAW_ALTITUDES);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Map::Draw_Map_in_Window : sMapValid == false");
    EXPECT_TRUE(pen.calls.empty());
}

TEST(MapDrawEmpty, EmptyMapIsFatal)
{
    Map map;
    ReportCapture reports;
    RecordingPenScope pen;
    map.Draw_Map_in_Window(XYRect(0, 10, 10, 0), MAP_DRAW_COAST);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Map::Draw_Map_in_Window : sMapValid == false");
    EXPECT_TRUE(pen.calls.empty());
}

} // namespace
