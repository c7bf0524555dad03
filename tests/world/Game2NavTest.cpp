// Game2NavTest.cpp: handing answered routes back through the bridge, seen
// on the installed ArenaState's event queue, and the route calls that reach
// the Navigator through Nav2Game.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/gam2arena.h"
#include "support/ReportCapture.h"
#include "world/AreaPolygonList.h"
#include "world/Game2Nav.h"
#include "world/Game2UI2.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/Nav2Game.h"
#include "world/NavPath.h"
#include "world/Navigator.h"
#include "world/PathReturnEvent.h"

namespace {

// A path that notes its own deletion.
class WatchedPath : public Nav_Path {
public:
    explicit WatchedPath(bool& deleted) : deleted_(deleted) {}
    ~WatchedPath() override { deleted_ = true; }

private:
    bool& deleted_;
};

class Game2NavTest : public testing::Test {
protected:
    Game2NavTest() { previous_ = gam2arena::SetArenaState(&state); }
    ~Game2NavTest() override { gam2arena::SetArenaState(previous_); }

    // The queued path-return event after `after` (nullptr: the first).
    PathReturnEvent* FindReturn(Event* after = nullptr)
    {
        return static_cast<PathReturnEvent*>(
            gam2arena::FindEvent(after, EventCode::PATH_RETURN));
    }

    ArenaState state;
    ReportCapture reports;

private:
    ArenaState* previous_ = nullptr;
};

} // namespace

TEST_F(Game2NavTest, ReturnPathPostsTheEventForThePathsUnit)
{
    state.SetGameTime(500);
    Nav_Path* path = new Nav_Path();
    path->unitID = 42;
    path->numPoints = 2;
    Game2Nav::ReturnPath(path);

    PathReturnEvent* event = FindReturn();
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->GetPath(), path);
    EXPECT_EQ(event->GetSubject(), 42);
    EXPECT_EQ(event->GetTime(), GameTime(0));   // handled at the next event phase
    EXPECT_EQ(FindReturn(event), nullptr);
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(Game2NavTest, ReturnedPathsQueueInTheOrderReturned)
{
    for (uint16_t unit : {3, 1, 2}) {
        Nav_Path* path = new Nav_Path();
        path->unitID = unit;
        Game2Nav::ReturnPath(path);
    }
    PathReturnEvent* first = FindReturn();
    ASSERT_NE(first, nullptr);
    PathReturnEvent* second = FindReturn(first);
    ASSERT_NE(second, nullptr);
    PathReturnEvent* third = FindReturn(second);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(first->GetSubject(), 3);
    EXPECT_EQ(second->GetSubject(), 1);
    EXPECT_EQ(third->GetSubject(), 2);
}

TEST_F(Game2NavTest, HandlingTheEventDeletesThePath)
{
    bool deleted = false;
    Game2Nav::ReturnPath(new WatchedPath(deleted));
    EXPECT_FALSE(deleted);
    EXPECT_FALSE(state.Queue().ProcessDueEvents(0));
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(state.Queue().IsEmpty());
}

TEST_F(Game2NavTest, NullPathIsReportedAndNothingPosted)
{
    Game2Nav::ReturnPath(nullptr);
    EXPECT_TRUE(state.Queue().IsEmpty());
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "Game2Nav::ReturnPath : path is NULL");
}

TEST_F(Game2NavTest, WithoutAnArenaThePathIsDeleted)
{
    gam2arena::SetArenaState(nullptr);
    bool deleted = false;
    Game2Nav::ReturnPath(new WatchedPath(deleted));
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(state.Queue().IsEmpty());
}

// The route forwarders of Nav2Game, with gNavigator, a map with one square
// island and an empty zone list for side 1 installed for the test.
namespace {

using namespace maptest;

class Nav2GameRoutes : public testing::Test {
protected:
    void SetUp() override
    {
        SectionPlan plan;
        plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
        plan.tiles = {{11, 20}};
        plan.FillCells(-800);
        ASSERT_TRUE(files.Write(plan, {{{11, 20}, Square(10.25, 20.25, 10.75, 20.75)}}));
        bool loaded = false;
        map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
        ASSERT_TRUE(loaded);
        gMap = map.get();
        gNavigator = &navigator;
        Game2UI2::SetThreatZoneList(1, &zones);
        previousArena = gam2arena::SetArenaState(&arena);
    }
    void TearDown() override
    {
        gam2arena::SetArenaState(previousArena);
        Game2UI2::ClearThreatZoneLists();
        gNavigator = nullptr;
        gMap = nullptr;
    }

    // A ship's request of unit `unit` on side 1.
    static Nav_Path* ShipRequest(uint16_t unit, const LatLonPoint& from, const LatLonPoint& to)
    {
        Nav_Path* path = new Nav_Path();
        path->unitID = unit;
        path->sideID = 1;
        path->navType = 2;
        path->threatMask = 0xFFFFFFFF;
        path->AddPoint(from);
        path->AddPoint(to);
        return path;
    }

    MapFiles files;
    std::unique_ptr<Map> map;
    Navigator navigator;
    AreaPolygonList zones;
    ArenaState arena;
    ArenaState* previousArena = nullptr;
    ReportCapture reports;
};

TEST_F(Nav2GameRoutes, ClearLegIsAnsweredAtOnce)
{
    std::unique_ptr<Nav_Path> path(ShipRequest(5, At(9.5, 20.1), At(9.5, 21.9)));
    EXPECT_TRUE(Nav2Game::RequestPath(path.get()));
    EXPECT_EQ(path->numPoints, 2);
    EXPECT_EQ(navigator.GetQueue().First(), nullptr);
}

TEST_F(Nav2GameRoutes, BlockedRequestIsQueuedAndItsRouteComesBackAsAnEvent)
{
    const LatLonPoint from = At(10.5, 20.1);
    const LatLonPoint to = At(10.5, 20.9);
    Nav_Path* path = ShipRequest(6, from, to);
    ASSERT_FALSE(Nav2Game::RequestPath(path));   // the Navigator owns it now
    EXPECT_EQ(navigator.GetQueue().First(), path);

    int slices = 0;
    while (!navigator.Step() && slices < 100000)
        ++slices;
    ASSERT_EQ(navigator.GetQueue().First(), nullptr);

    const auto* event = static_cast<PathReturnEvent*>(
        gam2arena::FindEvent(nullptr, EventCode::PATH_RETURN));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->GetSubject(), 6);
    ASSERT_EQ(event->GetPath(), path);
    ASSERT_GE(path->numPoints, 3);   // around the island, not through it
    EXPECT_EQ(path->CountPoints(), path->numPoints);
    EXPECT_EQ(path->points.First()->pos, from);
    EXPECT_EQ(path->points.Last()->pos, to);
    EXPECT_TRUE(Nav2Game::CheckPath(path, path->threatMask));
}

TEST_F(Nav2GameRoutes, CheckPathTellsAClearRouteFromOneAcrossLand)
{
    struct Row { const char* name; std::vector<LatLonPoint> points; bool valid; };
    const Row rows[] = {
        {"one point", {At(9.5, 20.1)}, true},
        {"open sea", {At(9.5, 20.1), At(9.5, 21.9)}, true},
        {"round the island", {At(10.5, 20.1), At(10.9, 20.1), At(10.9, 20.9), At(10.5, 20.9)}, true},
        {"across the island", {At(10.5, 20.1), At(10.5, 20.9)}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Nav_Path path;
        path.sideID = 1;
        path.navType = 2;
        for (const LatLonPoint& p : r.points)
            path.AddPoint(p);
        EXPECT_EQ(Nav2Game::CheckPath(&path, 0xFFFFFFFF), r.valid);
        EXPECT_EQ(path.CountPoints(), static_cast<int>(r.points.size()));   // unchanged
    }
    EXPECT_FALSE(Nav2Game::CheckPath(nullptr, 0));
}

TEST_F(Nav2GameRoutes, CancelPathRequestsDropsEveryRequestOfTheUnit)
{
    for (uint16_t unit : {6, 7, 6, 8}) {
        Nav_Path* path = ShipRequest(unit, At(10.5, 20.1), At(10.5, 20.9));
        ASSERT_FALSE(Nav2Game::RequestPath(path));
    }
    Nav2Game::CancelPathRequests(6);
    std::vector<uint16_t> left;
    for (const Nav_Path* p = navigator.GetQueue().First(); p != nullptr; p = p->GetNext())
        left.push_back(p->unitID);
    EXPECT_EQ(left, (std::vector<uint16_t>{7, 8}));
    Nav2Game::CancelPathRequests(99);   // no request of that unit: nothing changes
    EXPECT_EQ(navigator.GetQueue().First()->unitID, 7);
}

TEST(Nav2GameRoutesWithoutNavigator, RequestsAreRefusedAndHandedBack)
{
    ASSERT_EQ(gNavigator, nullptr);
    ReportCapture reports;
    Nav_Path path;
    path.numPoints = 0;
    path.AddPoint({1, 1});
    path.AddPoint({2, 2});
    EXPECT_TRUE(Nav2Game::RequestPath(&path));   // the caller keeps it and hands it back
    EXPECT_EQ(path.numPoints, Nav_Path::ILLEGAL_REQUEST);
    EXPECT_FALSE(Nav2Game::CheckPath(&path, 0));
    Nav2Game::CancelPathRequests(1);
    EXPECT_EQ(reports.fatals, (std::vector<std::string>{
        "Nav2Game::RequestPath : gNavigator is NULL",
        "Nav2Game::CheckPath : gNavigator is NULL"}));
}

} // namespace
