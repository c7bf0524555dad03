// ui2mapTest.cpp: the map windows' access to the scenario map: whether there
// is a map area, its xy bounds, and drawing the map and its weather marks
// into a window.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Projection.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/Environment.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/MapTile.h"
#include "world/ui2map.h"

using namespace maptest;

namespace {

class Ui2Map : public testing::Test {
protected:
    void SetUp() override
    {
        plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
        plan.tiles = {{11, 20}};
        plan.FillCells(-800);
        ASSERT_TRUE(files.Write(plan, {{{11, 20}, Square(10.25, 20.25, 10.75, 20.75)}}));
    }
    void TearDown() override
    {
        gMap = nullptr;
        gEnvironment = nullptr;
    }

    std::unique_ptr<Map> Load(const SectionPlan& s)
    {
        return LoadMap(SectionBytes(s), files.Directory());
    }

    SectionPlan plan;
    MapFiles files;
    Environment environment;   // without a grid unless a test gives it one
};

TEST_F(Ui2Map, HasMapBoundsOnlyForALoadedMap)
{
    EXPECT_FALSE(ui2map::HasMapBounds());
    XYRect bounds(1, 2, 3, 4);
    EXPECT_EQ(&ui2map::GetMapBounds(bounds), &bounds);
    EXPECT_EQ(bounds, XYRect());

    Map empty;
    gMap = &empty;
    EXPECT_FALSE(ui2map::HasMapBounds());

    auto map = Load(plan);
    gMap = map.get();
    EXPECT_TRUE(ui2map::HasMapBounds());
    EXPECT_EQ(ui2map::GetMapBounds(bounds), map->Get_XYRect());

    // A load that failed leaves both areas zero.
    SectionPlan bad = plan;
    bad.projectionID = 7;
    ReportCapture reports;
    auto failed = Load(bad);
    gMap = failed.get();
    EXPECT_FALSE(ui2map::HasMapBounds());
}

TEST_F(Ui2Map, DrawWithoutAMapIsFatal)
{
    ReportCapture reports;
    RecordingPenScope pen;
    ui2map::Draw_Map_In_Window(XYRect(0, 10, 10, 0), MAP_DRAW_COAST, 1);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "ui2map :: Draw_Map_In_Window : gMap == NULL");
    EXPECT_TRUE(pen.calls.empty());
}

TEST_F(Ui2Map, DrawWithoutAnEnvironmentIsFatal)
{
    auto map = Load(plan);
    gMap = map.get();
    ReportCapture reports;
    RecordingPenScope pen;
    ui2map::Draw_Map_In_Window(map->Get_XYRect(), MAP_DRAW_COAST, 1);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "ui2map :: Draw_Map_In_Window : gEnvironment == NULL");
    EXPECT_TRUE(pen.calls.empty());   // nothing drawn, not even the map
}

TEST_F(Ui2Map, DrawsGridThenShadingThenOutlines)
{
    auto map = Load(plan);
    gMap = map.get();
    gEnvironment = &environment;
    RecordingPenScope pen;
    ui2map::Draw_Map_In_Window(map->Get_XYRect(), MAP_DRAW_COAST | MAP_DRAW_DEPTHS, 1);

    ASSERT_FALSE(pen.calls.empty());
    auto stage = [](const PenCall& c) {
        if (c.kind == PenCall::Plot)
            return 1;                                                 // shading
        if (c.kind == PenCall::Line && c.colour == MAP_LAYER_COAST)
            return 2;                                                 // outlines
        return c.kind == PenCall::Line ? 0 : -1;                      // grid (moves belong to either)
    };
    int reached = 0;
    for (const PenCall& c : pen.calls) {
        const int s = stage(c);
        if (s < 0)
            continue;
        EXPECT_GE(s, reached);
        reached = std::max(reached, s);
    }
    EXPECT_EQ(pen.Count(PenCall::Line, Projection::GRID_COLOUR), 6u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 11), 25u);
    EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COAST), 4u);
}

TEST_F(Ui2Map, GridSpacingZeroDrawsNoGrid)
{
    auto map = Load(plan);
    gMap = map.get();
    gEnvironment = &environment;
    RecordingPenScope pen;
    ui2map::Draw_Map_In_Window(map->Get_XYRect(), MAP_DRAW_COAST, 0);
    EXPECT_EQ(pen.Count(PenCall::Line, Projection::GRID_COLOUR), 0u);
    EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COAST), 4u);
}

TEST_F(Ui2Map, WeatherMarksLieOverTheMap)
{
    auto map = Load(plan);
    gMap = map.get();
    gEnvironment = &environment;
    Weather* grid = environment.SetUpWeather(map->Get_LatLonRect(), 0);
    grid->GetCell(0, 0)->SetWeatherCode(WeatherCode::FOG);
    grid->GetCell(4, 4)->SetCloudCover(CloudCover::SCATTERED);
    RecordingPenScope pen;

    // Without the weather bits only the map is drawn.
    ui2map::Draw_Map_In_Window(map->Get_XYRect(), MAP_DRAW_COAST, 1);
    EXPECT_EQ(pen.Count(PenCall::Plot), 0u);

    pen.Clear();
    ui2map::Draw_Map_In_Window(map->Get_XYRect(),
                               MAP_DRAW_COAST | Environment::DRAW_CLOUDS | Environment::DRAW_WEATHER, 1);
    ASSERT_GE(pen.calls.size(), 2u);
    EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COAST), 4u);
    // The two marks come last: clouds, then weather.
    const PenCall& cloud = pen.calls[pen.calls.size() - 2];
    const PenCall& fog = pen.calls.back();
    EXPECT_EQ(cloud, (PenCall{PenCall::Plot, map->LatLon_to_XY(At(9, 22)), 56}));
    EXPECT_EQ(fog, (PenCall{PenCall::Plot, map->LatLon_to_XY(At(11, 20)), 60}));
}

} // namespace
