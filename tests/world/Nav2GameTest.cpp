// Nav2GameTest.cpp: the bridge's queries of gMap. The drawing calls are
// tested with the pen (tests/core/MapPenTest.cpp).
#include <gtest/gtest.h>

#include "core/Projection.h"
#include "support/ReportCapture.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/Nav2Game.h"

using namespace maptest;

namespace {

TEST(Nav2GameMap, WithoutAMapTheQueriesAnswerNeutrally)
{
    ASSERT_EQ(gMap, nullptr);
    EXPECT_EQ(Nav2Game::LatLonToXY(At(10, 20)), XYPoint(0, 0));
    EXPECT_EQ(Nav2Game::XYToLatLon(XYPoint(10, 20)), LatLonPoint(0, 0));
    EXPECT_FALSE(Nav2Game::IsInMap(At(10, 20)));
    EXPECT_FALSE(Nav2Game::IsLandAt(At(10, 20)));
    EXPECT_FALSE(Nav2Game::IsIce(At(10, 20)));
    EXPECT_EQ(Nav2Game::GetAltitudeAt(At(10, 20)), 0);
    EXPECT_FALSE(Nav2Game::PointValidForType(1, At(10, 20)));
    LatLonRect bounds(1, 2, 3, 4);
    EXPECT_EQ(&Nav2Game::GetMapBounds(bounds), &bounds);
    EXPECT_EQ(bounds, LatLonRect());
}

// gMap set to a loaded map for the test's duration.
class Nav2GameWithMap : public testing::Test {
protected:
    void Install(const SectionPlan& plan)
    {
        ASSERT_TRUE(files.Write(plan, {{{11, 20}, Square(10.25, 20.25, 10.75, 20.75)}}));
        bool loaded = false;
        map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
        ASSERT_TRUE(loaded);
        gMap = map.get();
    }
    void TearDown() override { gMap = nullptr; }

    MapFiles files;
    std::unique_ptr<Map> map;
};

TEST_F(Nav2GameWithMap, QueriesGoToTheMap)
{
    SectionPlan plan;
    plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
    plan.tiles = {{11, 20}};
    plan.FillCells(-800);
    Install(plan);

    LatLonRect bounds;
    EXPECT_EQ(Nav2Game::GetMapBounds(bounds), plan.area);
    const LatLonPoint p = At(10.5, 20.5);
    EXPECT_EQ(Nav2Game::LatLonToXY(p), map->LatLon_to_XY(p));
    EXPECT_EQ(Nav2Game::XYToLatLon(Nav2Game::LatLonToXY(p)), map->XY_to_LatLon(map->LatLon_to_XY(p)));
    EXPECT_TRUE(Nav2Game::IsLandAt(p));
    EXPECT_FALSE(Nav2Game::IsLandAt(At(9.5, 21.5)));
    EXPECT_EQ(Nav2Game::GetAltitudeAt(At(9.5, 21.5)), -100);

    struct Row {
        double lat, lon;
        bool inside;
    };
    const Row rows[] = {
        {11, 20, true}, {9, 22, true}, {10, 21, true},           // corners and middle, edges included
        {11.0001, 21, false}, {8.9999, 21, false},
        {10, 19.9999, false}, {10, 22.0001, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_EQ(Nav2Game::IsInMap(At(r.lat, r.lon)), r.inside);
    }
}

TEST_F(Nav2GameWithMap, PointValidityByNavigationType)
{
    SectionPlan plan;
    plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
    plan.icepackID = 1;
    plan.tiles = {{11, 20}, {11, 21}};
    plan.FillCells(-800);
    plan.Cell(10.5, 21.5) = -799;   // with the ice-pack bit
    ASSERT_TRUE(files.Write(plan, {{{11, 20}, Square(10.25, 20.25, 10.75, 20.75)}}, {},
                            {{{11, 21}, Square(10.25, 21.25, 10.75, 21.75)}}));
    bool loaded = false;
    map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
    ASSERT_TRUE(loaded);
    gMap = map.get();

    const LatLonPoint land = At(10.5, 20.5), ice = At(10.5, 21.5), sea = At(10.1, 20.1), off = At(12, 21);
    ASSERT_TRUE(Nav2Game::IsIce(ice));
    struct Row {
        int16_t type;
        bool land, ice, sea;
    };
    const Row rows[] = {
        {1, true, true, true},
        {2, false, false, true}, {3, false, false, true}, {6, false, false, true}, {7, false, false, true},
        {4, false, true, true}, {5, false, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        EXPECT_EQ(Nav2Game::PointValidForType(r.type, land), r.land);
        EXPECT_EQ(Nav2Game::PointValidForType(r.type, ice), r.ice);
        EXPECT_EQ(Nav2Game::PointValidForType(r.type, sea), r.sea);
        EXPECT_FALSE(Nav2Game::PointValidForType(r.type, off));
    }
    ReportCapture reports;
    EXPECT_TRUE(Nav2Game::PointValidForType(9, land));
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "Unknown Unit Type in PointValid\n");
}

TEST_F(Nav2GameWithMap, AreaAcrossTheMeridian)
{
    SectionPlan plan;
    plan.area = LatLonRect(Deg(11), Deg(170), Deg(9), Deg(-170));
    plan.origin = LatLonPoint(0, ANGLE_HALF);
    plan.FillCells(-800);
    Install(plan);

    struct Row {
        double lon;
        bool inside;
    };
    const Row rows[] = {
        {170, true}, {179.9, true}, {180, true}, {-180, true}, {-175, true}, {-170, true},
        {169.9, false}, {-169.9, false}, {0, false}, {-10, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.lon);
        EXPECT_EQ(Nav2Game::IsInMap(At(10, r.lon)), r.inside);
    }
}

} // namespace
