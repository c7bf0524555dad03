// NavigatorTest.cpp: the Navigator on a small island map: the point and leg
// tests, requests answered at once, the sliced search round an island, the
// ice and a side's zones, requests taking turns, cancelling, the answers
// without a route, the optimization passes and the navigator section.
// Answers are read from the PathReturnEvents that reach the installed
// ArenaState's queue. Several tests put a queued request into a chosen state
// of its search, to reach states a real map reaches only rarely.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/EventQueue.h"
#include "core/NavMath.h"
#include "core/Projection.h"
#include "core/gam2arena.h"
#include "support/ReportCapture.h"
#include "world/AreaPolygonList.h"
#include "world/AreaPolygonTestSupport.h"
#include "world/Game2UI2.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/NavPath.h"
#include "world/Navigator.h"
#include "world/PathReturnEvent.h"
#include "world/game2ui.h"

using maptest::At;
using maptest::Deg;

namespace {

constexpr int16_t SEA = -800;               // 100 units deep
constexpr int16_t SEA_ICE = -799;           // the same, ice-pack bit set
constexpr uint16_t SIDE = 1;
constexpr uint16_t VISIBLE_UNIT = 7;
constexpr uint16_t HIDDEN_UNIT = 8;
constexpr uint32_t SURFACE_THREAT = 0x00000010;
constexpr uint32_t AVOID_SURFACE = 0x000000F0;
constexpr int16_t AIR = 1, SHIP = 2, HOVER = 3, AMPHIBIAN = 4;
constexpr long SLICE_LIMIT = 2000000;

const char* const ZONE_REFUSAL = "Navigator::Requested Path was impossible because of threat zones";
const char* const ILLEGAL_GOAL = "Navigator: Requested Path was illegal (e.g., ship in land)";

std::vector<LatLonPoint> Points(const Nav_Path& path)
{
    std::vector<LatLonPoint> points;
    for (const PathPoint* p = path.points.First(); p != nullptr; p = p->GetNext())
        points.push_back(p->pos);
    return points;
}

// The island map: 9 to 11 N, 20 to 22 E (Miller), sea in the whole grid,
//   island   10.25 .. 10.75 N, 20.25 .. 20.75 E   (tile 11 N 20 E)
//   ice      10.25 .. 10.75 N, 21.25 .. 21.75 E   (tile 11 N 21 E)
// installed as gMap, with an ArenaState to receive the answers, side 1 as
// the player's side with its zone list, and unit 7 known to the player.
class NavigatorTest : public testing::Test {
protected:
    NavigatorTest()
    {
        maptest::SectionPlan plan;
        plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
        plan.xy = XYRect(0, Deg(20), Deg(30), 0);
        plan.projectionID = PROJECTION_MILLER;
        plan.icepackID = 1;
        plan.tiles = {{11, 20}, {11, 21}};
        plan.FillCells(SEA);
        plan.Cell(10.5, 21.5) = SEA_ICE;
        EXPECT_TRUE(files.Write(plan, {{{11, 20}, maptest::Square(10.25, 20.25, 10.75, 20.75)}}, {},
                                {{{11, 21}, maptest::Square(10.25, 21.25, 10.75, 21.75)}}));
        bool ok = false;
        map = maptest::LoadMap(maptest::SectionBytes(plan), files.Directory(), &ok);
        EXPECT_TRUE(ok);
        previousMap = gMap;
        gMap = map.get();
        previousArena = gam2arena::SetArenaState(&arena);
        Game2UI2::SetCurrentSideID(SIDE);
        Game2UI2::SetThreatZoneList(SIDE, &zones);
        game2ui::SetVisibleToPlayer(VISIBLE_UNIT, true);
    }

    ~NavigatorTest() override
    {
        Game2UI2::ClearThreatZoneLists();
        game2ui::ClearVisibility();
        gam2arena::SetArenaState(previousArena);
        gMap = previousMap;
    }

    // A surface-threat zone over the rectangle, in degrees.
    void AddZone(double south, double west, double north, double east)
    {
        zonetest::ChainHolder chain(zonetest::MakeChain(zonetest::Square(south, west, north, east)));
        ASSERT_NE(zones.Add(SURFACE_THREAT, chain.head), 0);
    }

    // Four zones round 9.5 N 21.5 E, 0.2 degrees out: a goal there has no
    // way in.
    void WallInTheGoal()
    {
        AddZone(9.7, 21.2, 9.8, 21.8);
        AddZone(9.2, 21.2, 9.3, 21.8);
        AddZone(9.2, 21.2, 9.8, 21.3);
        AddZone(9.2, 21.7, 9.8, 21.8);
    }

    static std::unique_ptr<Nav_Path> MakeRequest(uint16_t unit, int16_t navType, LatLonPoint start,
                                                 LatLonPoint goal, uint32_t mask = AVOID_SURFACE,
                                                 uint16_t side = SIDE)
    {
        auto path = std::make_unique<Nav_Path>();
        path->unitID = unit;
        path->sideID = static_cast<uint8_t>(side);
        path->navType = navType;
        path->threatMask = mask;
        path->AddPoint(start);
        path->AddPoint(goal);
        return path;
    }

    // Queues a request that the straight leg does not answer; the queued
    // path, owned by the navigator.
    Nav_Path* Queue(uint16_t unit, int16_t navType, LatLonPoint start, LatLonPoint goal)
    {
        auto path = MakeRequest(unit, navType, start, goal);
        if (nav.RequestPath(path.get())) {
            ADD_FAILURE() << "answered at once";
            return nullptr;
        }
        return path.release();
    }

    // Puts the spots into the request's candidate list as one parent chain
    // (each node's parent the one before it, the first with none).
    static void SeedCandidateChain(Nav_Path& path, std::initializer_list<LatLonPoint> spots)
    {
        int16_t i = 0;
        for (const LatLonPoint& spot : spots) {
            path.candidates[i] = SearchNode();
            path.candidates[i].id = i;
            path.candidates[i].parent = static_cast<int16_t>(i - 1);
            path.candidates[i].pos = spot;
            ++i;
        }
        path.numCandidates = i;
    }

    // Steps until the queue is empty; the number of slices taken.
    long RunToIdle(long limit = SLICE_LIMIT)
    {
        long slices = 0;
        while (!nav.Step() && slices < limit)
            ++slices;
        EXPECT_LT(slices, limit) << "the search did not end";
        return slices + 1;
    }

    // The answered paths, in the order they were handed back.
    std::vector<const Nav_Path*> Answers()
    {
        std::vector<const Nav_Path*> answers;
        for (Event* e = arena.Queue().FindNextOfType(nullptr, EventCode::PATH_RETURN); e != nullptr;
             e = arena.Queue().FindNextOfType(e, EventCode::PATH_RETURN))
            answers.push_back(static_cast<PathReturnEvent*>(e)->GetPath());
        return answers;
    }

    // Every leg of the route avoids the terrain of its navigation type and
    // the zones it avoids, and the route as a whole validates.
    void ExpectRouteClear(const Nav_Path& path)
    {
        const std::vector<LatLonPoint> points = Points(path);
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "leg " << i);
            EXPECT_TRUE(Navigator::FirstBlockingPoint(points[i], points[i + 1], path.navType, path.threatMask,
                                                      &zones)
                            .IsNone());
        }
        EXPECT_TRUE(nav.ValidatePath(&path, path.threatMask));
    }

    // Puts a first-phase chain of closed nodes into a queued path: chain[0]
    // is the start, each node's parent the one before it.
    static void SetClosedChain(Nav_Path& path, const std::vector<LatLonPoint>& chain)
    {
        int32_t cost = 0;
        for (size_t i = 0; i < chain.size(); ++i) {
            SearchNode& node = path.closed[i];
            if (i > 0)
                cost += NavMath::Get_Vector(chain[i - 1], chain[i]).range;
            node.parent = static_cast<int16_t>(i) - 1;
            node.id = 0;
            node.cost = cost;
            node.estimate = cost + NavMath::Get_Vector(chain[i], path.goal).range;
            node.pos = chain[i];
        }
        path.numClosed = static_cast<int16_t>(chain.size());
        path.numOpen = 0;
        path.start = chain.front();
    }

    // The start and the way along 10.9 N north of the island: count nodes,
    // the last at 20.85 E.
    static std::vector<LatLonPoint> NorthernChain(int count)
    {
        std::vector<LatLonPoint> chain = {At(10.5, 20.1), At(10.9, 20.1)};
        const int more = count - 2;
        for (int k = 1; k <= more; ++k)
            chain.push_back(At(10.9, 20.1 + 0.75 * k / more));
        return chain;
    }

    maptest::MapFiles files;
    std::unique_ptr<Map> map;
    Map* previousMap = nullptr;
    ArenaState arena;
    ArenaState* previousArena = nullptr;
    AreaPolygonList zones;
    Navigator nav;
    ReportCapture reports;
};

TEST_F(NavigatorTest, ValidPointFollowsTheNavigationType)
{
    struct Row { const char* name; int16_t navType; LatLonPoint point; bool valid; };
    const Row rows[] = {
        {"aircraft over land", AIR, At(10.5, 20.5), true},
        {"aircraft off the map", AIR, At(11.5, 20.5), false},
        {"ship at sea", SHIP, At(9.5, 20.5), true},
        {"ship on land", SHIP, At(10.5, 20.5), false},
        {"ship in the ice", SHIP, At(10.5, 21.5), false},
        {"hovercraft in the ice", HOVER, At(10.5, 21.5), false},
        {"amphibian in the ice", AMPHIBIAN, At(10.5, 21.5), true},
        {"amphibian on land", AMPHIBIAN, At(10.5, 20.5), false},
        {"type 5 in the ice", 5, At(10.5, 21.5), true},
        {"type 6 in the ice", 6, At(10.5, 21.5), false},
        {"type 7 on land", 7, At(10.5, 20.5), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ValidPoint(r.point, r.navType), r.valid);
    }
    EXPECT_TRUE(reports.errors.empty());

    // An unknown type asks only for the map, with an error box on it.
    EXPECT_TRUE(ValidPoint(At(10.5, 20.5), 9));
    EXPECT_FALSE(ValidPoint(At(11.5, 20.5), 0));
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "Unknown Unit Type in ValidPoint of Navigate.cpp\n");
}

TEST_F(NavigatorTest, FirstBlockingPointTestsZonesBeforeTerrain)
{
    AddZone(10.0, 20.05, 11.0, 20.15);   // a strip west of the island
    const LatLonPoint a = At(10.5, 20.0), b = At(10.5, 21.0);
    // The crossing reported is the first in edge order, on either side of
    // the obstacle.
    struct Row { const char* name; int16_t navType; uint32_t mask; bool blocked; double west, east; };
    const Row rows[] = {
        {"zone first", SHIP, AVOID_SURFACE, true, 20.05, 20.15},
        {"zone ignored: coast", SHIP, 0x0F00, true, 20.25, 20.75},
        {"aircraft ignore terrain", AIR, 0x0F00, false, 0, 0},
        {"hovercraft ignore terrain", HOVER, 0x0F00, false, 0, 0},
        {"aircraft still avoid zones", AIR, AVOID_SURFACE, true, 20.05, 20.15},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const LatLonPoint p = Navigator::FirstBlockingPoint(a, b, r.navType, r.mask, &zones);
        ASSERT_EQ(!p.IsNone(), r.blocked);
        if (r.blocked) {
            EXPECT_NEAR(p.lat, a.lat, 2);
            EXPECT_TRUE(p.lon >= Deg(r.west) - 2 && p.lon <= Deg(r.east) + 2) << p.lon;
        }
    }
    // The ice stops a ship but not an amphibian; a null zone list is skipped.
    const LatLonPoint c = At(10.5, 21.1), d = At(10.5, 21.9);
    EXPECT_FALSE(Navigator::FirstBlockingPoint(c, d, SHIP, AVOID_SURFACE, nullptr).IsNone());
    EXPECT_TRUE(Navigator::FirstBlockingPoint(c, d, AMPHIBIAN, AVOID_SURFACE, nullptr).IsNone());
}

TEST_F(NavigatorTest, LegsLeavingTheMapAreBlockedAtItsEdgeForEveryType)
{
    // The map's east edge is 22 E, its north edge 11 N.
    struct Row { const char* name; int16_t navType; LatLonPoint a, b, blocked; };
    const Row rows[] = {
        {"ship", SHIP, At(9.5, 21.5), At(9.5, 22.5), At(9.5, 22.0)},
        // Aircraft and hovercraft have no terrain rule, but the map still ends.
        {"aircraft", AIR, At(9.5, 21.5), At(9.5, 22.5), At(9.5, 22.0)},
        {"aircraft north", AIR, At(10.5, 20.5), At(11.5, 20.5), At(11.0, 20.5)},
        {"hovercraft", HOVER, At(10.8, 21.0), At(11.2, 21.0), At(11.0, 21.0)},
        {"unknown type", 9, At(9.5, 21.5), At(9.5, 22.5), At(9.5, 22.0)},
        // Wholly off the map there is no edge to name: blocked at its start.
        {"aircraft off the map", AIR, At(11.5, 20.5), At(11.5, 21.5), At(11.5, 20.5)},
        {"ship off the map", SHIP, At(11.5, 20.5), At(11.5, 21.5), At(11.5, 20.5)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const LatLonPoint p = Navigator::FirstBlockingPoint(r.a, r.b, r.navType, AVOID_SURFACE, &zones);
        ASSERT_FALSE(p.IsNone());
        EXPECT_NEAR(p.lat, r.blocked.lat, 2);
        EXPECT_NEAR(p.lon, r.blocked.lon, 2);
    }
    // Ending on the edge itself is on the map.
    EXPECT_TRUE(Navigator::FirstBlockingPoint(At(10.5, 20.5), At(11.0, 20.5), AIR, 0, &zones).IsNone());
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(NavigatorTest, RoutesRoundAZoneAtTheMapEdgeStayOnTheMap)
{
    // The zone runs from 10.5 N to past the north edge (11 N): the way round
    // its north end is shorter but off the map.
    AddZone(10.5, 20.95, 11.3, 21.05);
    for (int16_t navType : {AIR, HOVER}) {
        SCOPED_TRACE(navType);
        arena.Queue().RemoveEventsOf(HIDDEN_UNIT, 0);
        ASSERT_NE(Queue(HIDDEN_UNIT, navType, At(10.95, 20.3), At(10.95, 21.7)), nullptr);
        RunToIdle();
        const std::vector<const Nav_Path*> answers = Answers();
        ASSERT_EQ(answers.size(), 1u);
        ASSERT_GE(answers[0]->numPoints, 3);
        const std::vector<LatLonPoint> points = Points(*answers[0]);
        for (size_t i = 0; i < points.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(map->Is_On_Map(points[i])) << points[i].lat << ", " << points[i].lon;
            EXPECT_LE(points[i].lat, Deg(10.95));   // round the south end
            if (i + 1 < points.size()) {
                EXPECT_TRUE(Navigator::FirstBlockingPoint(points[i], points[i + 1], navType, AVOID_SURFACE,
                                                          &zones).IsNone());
            }
        }
    }
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(NavigatorTest, LegValidTestsEndsAndZonesOnly)
{
    AddZone(9.3, 20.9, 9.7, 21.1);
    struct Row { const char* name; LatLonPoint from, to; uint16_t side; bool valid; };
    const Row rows[] = {
        {"open sea", At(9.5, 20.2), At(9.5, 20.6), SIDE, true},
        {"start on land", At(10.5, 20.5), At(9.5, 20.5), SIDE, false},
        {"standing still", At(9.5, 20.2), At(9.5, 20.2), SIDE, true},
        {"goal on land", At(9.5, 20.5), At(10.5, 20.5), SIDE, false},
        {"goal in the zone", At(9.5, 20.5), At(9.5, 21.0), SIDE, false},
        {"through the zone: crossings not looked for", At(9.5, 20.5), At(9.5, 21.5), SIDE, true},
        {"across the island: crossings not looked for", At(10.5, 20.1), At(10.5, 20.9), SIDE, true},
        {"the player's side by 0", At(9.5, 20.5), At(9.5, 21.0), 0, false},
        {"a side without zones", At(9.5, 20.2), At(9.5, 20.6), 5, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(nav.LegValid(r.from, r.to, SHIP, r.side, AVOID_SURFACE), r.valid);
    }
}

TEST_F(NavigatorTest, ValidatePathWalksEveryLeg)
{
    AddZone(9.3, 20.9, 9.7, 21.1);
    struct Row { const char* name; std::vector<LatLonPoint> route; uint16_t side; bool valid; };
    const Row rows[] = {
        {"round the island", {At(10.5, 20.1), At(10.9, 20.1), At(10.9, 20.9), At(10.5, 20.9)}, SIDE, true},
        {"one point", {At(10.5, 20.5)}, SIDE, true},
        {"across the island", {At(10.5, 20.1), At(10.5, 20.9)}, SIDE, false},
        {"ending on land", {At(9.9, 20.5), At(10.5, 20.5)}, SIDE, false},
        {"through the zone", {At(9.5, 20.5), At(9.5, 21.5)}, SIDE, false},
        {"into the zone", {At(9.5, 20.5), At(9.5, 21.0)}, SIDE, false},
        {"across the ice", {At(10.5, 21.1), At(10.5, 21.9)}, SIDE, false},
        {"a side without zones", {At(9.5, 20.2), At(9.5, 20.6)}, 5, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Nav_Path path;
        path.navType = SHIP;
        path.sideID = static_cast<uint8_t>(r.side);
        for (const LatLonPoint& p : r.route)
            path.AddPoint(p);
        EXPECT_EQ(nav.ValidatePath(&path, AVOID_SURFACE), r.valid);
        EXPECT_EQ(Points(path), r.route);   // changes nothing
    }
    EXPECT_FALSE(nav.ValidatePath(nullptr, AVOID_SURFACE));
}

TEST_F(NavigatorTest, RequestsAnsweredAtOnceOrQueued)
{
    struct Row {
        const char* name;
        int16_t navType;
        LatLonPoint start, goal;
        bool atOnce;
        int16_t numPoints;
    };
    const Row rows[] = {
        {"ship, clear leg", SHIP, At(9.5, 20.2), At(9.5, 21.8), true, 2},
        {"ship past the island", SHIP, At(10.5, 20.1), At(10.5, 20.9), false, 0},
        {"aircraft over the island", AIR, At(10.5, 20.1), At(10.5, 20.9), true, 2},
        {"hovercraft over the island", HOVER, At(10.5, 20.1), At(10.5, 20.9), true, 2},
        {"hovercraft into the ice", HOVER, At(10.5, 21.1), At(10.5, 21.5), true, -1},
        {"amphibian across the ice", AMPHIBIAN, At(10.5, 21.1), At(10.5, 21.9), true, 2},
        {"ship across the ice", SHIP, At(10.5, 21.1), At(10.5, 21.9), false, 0},
        {"goal off the map", SHIP, At(9.5, 20.2), At(11.5, 20.5), true, -1},
        {"aircraft goal off the map", AIR, At(9.5, 20.2), At(9.5, 22.5), true, -1},
        {"goal on land", SHIP, At(9.9, 20.5), At(10.5, 20.5), true, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto path = MakeRequest(HIDDEN_UNIT, r.navType, r.start, r.goal);
        EXPECT_EQ(nav.RequestPath(path.get()), r.atOnce);
        EXPECT_EQ(path->numPoints, r.numPoints);
        if (r.atOnce) {
            EXPECT_EQ(Points(*path), (std::vector<LatLonPoint>{r.start, r.goal}));
            EXPECT_EQ(nav.GetQueue().First(), nullptr);
        } else {
            // Start, goal and the point that blocks the straight leg.
            const std::vector<LatLonPoint> points = Points(*path);
            ASSERT_EQ(points.size(), 3u);
            EXPECT_EQ(points[0], r.start);
            EXPECT_EQ(points[1], r.goal);
            EXPECT_EQ(nav.GetQueue().First(), path.get());
            EXPECT_EQ(nav.GetPathHead(), path.get());
            nav.CancelRequests(HIDDEN_UNIT);   // deletes it
            path.release();
        }
    }
    EXPECT_TRUE(reports.posts.empty());   // the unit is not the player's to see
    EXPECT_TRUE(reports.errors.empty());

    // Points between start and goal are not part of a request.
    auto path = MakeRequest(HIDDEN_UNIT, SHIP, At(9.5, 20.2), At(9.5, 21.8));
    auto extra = std::make_unique<PathPoint>(At(9.2, 21.0));
    path->points.InsertAfter(extra.release(), path->points.First());
    EXPECT_TRUE(nav.RequestPath(path.get()));
    EXPECT_EQ(Points(*path), (std::vector<LatLonPoint>{At(9.5, 20.2), At(9.5, 21.8)}));
}

TEST_F(NavigatorTest, RefusalsAreToldOnlyForUnitsThePlayerSees)
{
    AddZone(9.3, 20.9, 9.7, 21.1);
    struct Row { const char* name; uint16_t unit; LatLonPoint start, goal; uint32_t mask; const char* post; };
    const Row rows[] = {
        {"start in the zone", VISIBLE_UNIT, At(9.5, 21.0), At(9.5, 21.8), AVOID_SURFACE, ZONE_REFUSAL},
        {"goal in the zone", VISIBLE_UNIT, At(9.5, 20.2), At(9.5, 21.0), AVOID_SURFACE, ZONE_REFUSAL},
        {"hidden unit, zone", HIDDEN_UNIT, At(9.5, 21.0), At(9.5, 21.8), AVOID_SURFACE, nullptr},
        {"goal on land", VISIBLE_UNIT, At(9.9, 20.5), At(10.5, 20.5), AVOID_SURFACE, ILLEGAL_GOAL},
        {"hidden unit, land", HIDDEN_UNIT, At(9.9, 20.5), At(10.5, 20.5), AVOID_SURFACE, nullptr},
        {"unit 0 is never seen", 0, At(9.9, 20.5), At(10.5, 20.5), AVOID_SURFACE, nullptr},
        {"the zone's type not avoided, goal on land", VISIBLE_UNIT, At(9.5, 21.0), At(10.5, 20.5), 0x0F00,
         ILLEGAL_GOAL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        reports.Clear();
        auto path = MakeRequest(r.unit, SHIP, r.start, r.goal, r.mask);
        EXPECT_TRUE(nav.RequestPath(path.get()));
        EXPECT_EQ(path->numPoints, -1);
        if (r.post == nullptr) {
            EXPECT_TRUE(reports.posts.empty());
        } else {
            ASSERT_EQ(reports.posts.size(), 1u);
            EXPECT_EQ(reports.posts[0], r.post);
        }
    }
    // With nothing avoided the zone does not matter.
    auto path = MakeRequest(VISIBLE_UNIT, SHIP, At(9.5, 21.0), At(9.5, 21.8), 0x0F00);
    EXPECT_TRUE(nav.RequestPath(path.get()));
    EXPECT_EQ(path->numPoints, 2);
}

TEST_F(NavigatorTest, ASideWithoutZonesIsNeverRouted)
{
    // Side 5 has no zone list: the request is refused, not read through null.
    auto path = MakeRequest(VISIBLE_UNIT, SHIP, At(10.5, 20.1), At(10.5, 20.9), AVOID_SURFACE, 5);
    EXPECT_TRUE(nav.RequestPath(path.get()));
    EXPECT_EQ(path->numPoints, -1);

    // A side that goes away while its request waits: answered without a route.
    Nav_Path* queued = Queue(VISIBLE_UNIT, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    ASSERT_NE(queued, nullptr);
    for (int i = 0; i < 5; ++i)
        nav.Step();
    Game2UI2::SetThreatZoneList(SIDE, nullptr);
    EXPECT_TRUE(nav.Step());
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]->numPoints, 0);
    EXPECT_EQ(Points(*answers[0]).size(), 3u);
}

TEST_F(NavigatorTest, DetoursEndAtTheGoalAndCrossNothing)
{
    struct Row {
        const char* name;
        int16_t navType;
        LatLonPoint start, goal;
    };
    const Row rows[] = {
        {"ship round the island", SHIP, At(10.5, 20.1), At(10.5, 20.9)},
        {"ship round the island, north to south", SHIP, At(10.9, 20.5), At(10.1, 20.5)},
        {"ship round the ice", SHIP, At(10.5, 21.1), At(10.5, 21.9)},
        {"ship round a zone", SHIP, At(9.5, 20.5), At(9.5, 21.5)},
        {"aircraft round a zone", AIR, At(9.5, 20.5), At(9.5, 21.5)},
    };
    AddZone(9.3, 20.9, 9.7, 21.1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        arena.Queue().RemoveEventsOf(HIDDEN_UNIT, 0);
        ASSERT_NE(Queue(HIDDEN_UNIT, r.navType, r.start, r.goal), nullptr);
        RunToIdle();
        const std::vector<const Nav_Path*> answers = Answers();
        ASSERT_EQ(answers.size(), 1u);
        const Nav_Path& route = *answers[0];
        const std::vector<LatLonPoint> points = Points(route);
        ASSERT_GE(route.numPoints, 3);
        ASSERT_EQ(static_cast<size_t>(route.numPoints), points.size());
        EXPECT_EQ(points.front(), r.start);
        EXPECT_EQ(points.back(), r.goal);   // the blocking point is gone
        ExpectRouteClear(route);
        EXPECT_EQ(route.pass, route.maxPasses + 1);   // every pass ran
    }
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(NavigatorTest, QueuedRequestsTakeTurns)
{
    Queue(1, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    Queue(2, SHIP, At(10.5, 21.1), At(10.5, 21.9));
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(nav.GetQueue().First(), nullptr);
        EXPECT_EQ(nav.GetQueue().First()->unitID, i % 2 == 0 ? 1 : 2);
        EXPECT_FALSE(nav.Step());
        EXPECT_EQ(nav.GetQueue().Last()->unitID, i % 2 == 0 ? 1 : 2);   // sent to the back
    }
    RunToIdle();
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 2u);
    for (const Nav_Path* answer : answers) {
        EXPECT_GE(answer->numPoints, 3);
        ExpectRouteClear(*answer);
    }
    EXPECT_TRUE(nav.Step());   // nothing left
    EXPECT_EQ(nav.GetPathHead(), nullptr);
}

TEST_F(NavigatorTest, CancelRequestsRemovesOneUnitsRequests)
{
    Queue(1, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    Queue(2, SHIP, At(10.5, 21.1), At(10.5, 21.9));
    Queue(1, SHIP, At(10.9, 20.5), At(10.1, 20.5));
    Queue(3, SHIP, At(10.1, 20.5), At(10.9, 20.5));
    nav.CancelRequests(1);
    std::vector<uint16_t> units;
    for (const Nav_Path* p = nav.GetQueue().First(); p != nullptr; p = p->GetNext())
        units.push_back(p->unitID);
    EXPECT_EQ(units, (std::vector<uint16_t>{2, 3}));
    EXPECT_EQ(nav.GetPathHead(), nav.GetQueue().First());
    nav.CancelRequests(9);   // none of its own
    nav.CancelRequests(2);
    nav.CancelRequests(3);
    EXPECT_EQ(nav.GetPathHead(), nullptr);
    EXPECT_TRUE(Answers().empty());   // cancelled requests are not answered
}

TEST_F(NavigatorTest, AnUnreachableGoalIsAnsweredWithoutARoute)
{
    // Start and goal both lie outside every zone.
    WallInTheGoal();
    ASSERT_NE(Queue(HIDDEN_UNIT, AIR, At(9.5, 20.3), At(9.5, 21.5)), nullptr);
    RunToIdle();
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]->numPoints, 0);
    const std::vector<LatLonPoint> points = Points(*answers[0]);
    ASSERT_EQ(points.size(), 3u);   // start, goal and the blocking point
    EXPECT_EQ(points[0], At(9.5, 20.3));
    EXPECT_EQ(points[1], At(9.5, 21.5));
    EXPECT_LE(answers[0]->numClosed, nav.GetMaxNodes());
}

// A clear probe with the open list full, or a node to close with the closed
// list full, ends the first phase without a route; the answer still goes back.
TEST_F(NavigatorTest, AFullFirstPhaseListEndsWithoutARoute)
{
    struct Row { const char* name; int closedNodes; int16_t openNodes; bool clockwise; int32_t bearing; };
    const Row rows[] = {
        {"open list full", 2, 20, true, ANGLE_RIGHT - Navigator::SWEEP_STEP},    // east along 10.9 N
        {"closed list full", 20, 0, false, ANGLE_HALF + Navigator::SWEEP_STEP},  // south, past the island
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        arena.Queue().RemoveEventsOf(VISIBLE_UNIT, 0);
        const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
        Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, start, goal);
        ASSERT_NE(path, nullptr);
        const LatLonPoint blocking = Points(*path)[2];
        path->goal = goal;
        const std::vector<LatLonPoint> chain = NorthernChain(r.closedNodes);
        SetClosedChain(*path, chain);
        for (int16_t i = 0; i < r.openNodes; ++i) {
            path->open[i] = SearchNode();
            path->open[i].estimate = INT32_MAX - i;
            path->open[i].pos = At(9.5, 20.0 + 0.05 * i);
        }
        path->numOpen = r.openNodes;
        path->blocker.parent = static_cast<int16_t>(r.closedNodes - 1);
        path->origin = chain.back();
        path->sweepStarted = 1;
        path->sweepFound = 0;
        path->clockwise = r.clockwise ? 1 : 0;
        path->cwBearing = path->ccwBearing = r.bearing;
        path->cwLimit = ANGLE_FULL;
        path->ccwLimit = 0;
        path->cwRadius = path->ccwRadius = 12 * RANGE_PER_NM;

        EXPECT_TRUE(nav.Step());
        const std::vector<const Nav_Path*> answers = Answers();
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0]->numPoints, 0);
        EXPECT_EQ(Points(*answers[0]), (std::vector<LatLonPoint>{start, goal, blocking}));
        EXPECT_LE(answers[0]->numOpen, nav.GetMaxNodes());
        EXPECT_LE(answers[0]->numClosed, nav.GetMaxNodes());
    }
}

// A first phase that reaches the goal with its closed list exactly full is
// not optimized. Its route used to be filled out from closed[-1]: start and
// goal alone, straight across the island.
TEST_F(NavigatorTest, AFullFirstPhaseIsFilledOutFromItsChain)
{
    Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    ASSERT_NE(path, nullptr);
    path->goal = At(10.5, 20.9);
    std::vector<LatLonPoint> chain = NorthernChain(19);
    SetClosedChain(*path, chain);
    // The next probe runs south from the last node, east of the island, and
    // is clear: its node becomes the twentieth closed node and sees the goal.
    path->blocker.parent = 18;
    path->blocker.pos = At(10.5, 20.9);
    path->origin = chain.back();
    path->sweepStarted = 1;
    path->clockwise = 0;
    path->sweepFound = 0;
    path->ccwBearing = ANGLE_HALF + Navigator::SWEEP_STEP;
    path->ccwLimit = 0;
    path->ccwRadius = 12 * RANGE_PER_NM;

    EXPECT_TRUE(nav.Step());
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 1u);
    const Nav_Path& route = *answers[0];
    EXPECT_EQ(route.numClosed, nav.GetMaxNodes());
    EXPECT_EQ(route.pass, 0);   // no optimization ran
    const std::vector<LatLonPoint> points = Points(route);
    ASSERT_EQ(points.size(), 21u);
    EXPECT_EQ(route.numPoints, 21);
    for (size_t i = 0; i < chain.size(); ++i)
        EXPECT_EQ(points[i], chain[i]) << i;
    EXPECT_EQ(points.back(), At(10.5, 20.9));
    ExpectRouteClear(route);
}

// After the passes, a node of the route whose parent went back to the open
// list used to be followed through closed[-1].
TEST_F(NavigatorTest, FilloutFollowsAParentBackInTheOpenList)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
    const LatLonPoint y = At(10.85, 20.2), x = At(10.85, 20.8);
    struct Row { const char* name; bool parentInOpen; std::vector<LatLonPoint> expected; int16_t numPoints; };
    const Row rows[] = {
        {"parent in open", true, {start, y, x, goal}, 4},
        {"parent nowhere: no route rather than an untested leg", false, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        arena.Queue().RemoveEventsOf(VISIBLE_UNIT, 0);
        Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, start, goal);
        ASSERT_NE(path, nullptr);
        const LatLonPoint blocking = Points(*path)[2];
        path->start = start;
        path->goal = goal;
        path->closed[0] = SearchNode();
        path->closed[0].parent = SearchNode::NO_PARENT;
        path->closed[0].pos = start;
        path->closed[1].id = 5;
        path->closed[1].parent = 3;
        path->closed[1].pos = x;
        path->numClosed = 2;
        path->current = 1;
        path->open[0].id = 3;
        path->open[0].parent = 0;
        path->open[0].pos = y;
        path->numOpen = r.parentInOpen ? 1 : 0;
        path->numPoints = 2;
        path->searchDone = 1;
        path->optimizing = 1;
        path->passDone = 1;
        path->pass = path->maxPasses;   // the last pass has just reached the goal

        EXPECT_TRUE(nav.Step());
        const std::vector<const Nav_Path*> answers = Answers();
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_EQ(answers[0]->numPoints, r.numPoints);
        if (r.numPoints > 0)
            EXPECT_EQ(Points(*answers[0]), r.expected);
        else
            EXPECT_EQ(Points(*answers[0]), (std::vector<LatLonPoint>{start, goal, blocking}));
    }
}

// The candidates of the first pass: every leg split into (capacity - 2) / legs
// parts. With 19 legs that count was 0, and then a divisor.
TEST_F(NavigatorTest, EveryLegGetsAtLeastOneCandidatePart)
{
    const LatLonPoint goal = At(10.9, 20.9);
    struct Row { int legs; int16_t candidates; uint8_t capacity; };
    const Row rows[] = {
        {2, 19, 20},    // 9 parts per leg
        {18, 19, 20},   // one part per leg: the vertices alone
        {19, 20, 21},   // one part per leg, and room for them all
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.legs);
        arena.Queue().RemoveEventsOf(VISIBLE_UNIT, 0);
        Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, At(10.5, 20.1), goal);
        ASSERT_NE(path, nullptr);
        path->goal = goal;
        const std::vector<LatLonPoint> chain = NorthernChain(r.legs);   // legs - 1 nodes besides the start
        SetClosedChain(*path, chain);
        path->numPoints = 2;
        path->searchDone = 1;
        path->optimizing = 1;
        path->passDone = 1;
        path->pass = 0;

        EXPECT_FALSE(nav.Step());   // the first pass is set up
        ASSERT_EQ(nav.GetQueue().First(), path);
        EXPECT_EQ(path->pass, 1);
        EXPECT_EQ(path->numCandidates, r.candidates);
        EXPECT_EQ(path->maxCandidates, r.capacity);
        EXPECT_EQ(path->candidates[0].pos, chain.front());
        EXPECT_EQ(path->candidates[path->numCandidates - 1].pos, goal);
        const int parts = (r.candidates - 1) / r.legs;
        for (int leg = 0; leg < r.legs; ++leg)   // each vertex starts its leg's parts
            EXPECT_EQ(path->candidates[leg * parts].pos, chain[leg]) << leg;
        for (int16_t i = 0; i < path->numCandidates; ++i) {
            EXPECT_EQ(path->candidates[i].id, i);
            EXPECT_EQ(path->candidates[i].parent, i - 1);
        }

        RunToIdle();
        const std::vector<const Nav_Path*> answers = Answers();
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_GE(answers[0]->numPoints, 3);
        EXPECT_EQ(Points(*answers[0]).back(), goal);
        ExpectRouteClear(*answers[0]);
    }
    EXPECT_TRUE(reports.errors.empty());
}

// A full open list used to drop the request with no answer, leaving its unit
// waiting for ever.
TEST_F(NavigatorTest, AFullOpenListAnswersWithoutARoute)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
    Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, start, goal);
    Nav_Path* other = Queue(2, SHIP, At(10.5, 21.1), At(10.5, 21.9));
    ASSERT_NE(path, nullptr);
    ASSERT_NE(other, nullptr);
    path->start = start;
    path->goal = goal;
    SeedCandidateChain(*path, {start, At(10.85, 20.2), goal});
    path->closed[0] = path->candidates[0];
    path->closed[0].parent = SearchNode::NO_PARENT;
    path->numClosed = 1;
    path->current = 0;
    for (int16_t i = 0; i < path->maxCandidates; ++i) {
        path->open[i] = SearchNode();
        path->open[i].id = static_cast<int16_t>(10 + i);
        path->open[i].estimate = 1000 * (i + 1);
        path->open[i].pos = At(9.5, 20.0 + 0.05 * i);
    }
    path->numOpen = path->maxCandidates;
    path->numPoints = 2;
    path->searchDone = 1;
    path->optimizing = 1;
    path->passDone = 0;
    path->pass = 1;
    path->optState = 2;
    path->cursor = 1;   // a clear leg to a candidate not met before

    EXPECT_FALSE(nav.Step());
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "\n\nopen is full\n\n");
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]->unitID, VISIBLE_UNIT);
    EXPECT_EQ(answers[0]->numPoints, 0);
    // The other request is now the head, untouched by the slice it did not get.
    EXPECT_EQ(nav.GetQueue().First(), other);
    EXPECT_EQ(nav.GetQueue().Last(), other);
    EXPECT_EQ(other->numClosed, 0);
}

// The first slice of a queued request sets its first phase up and makes the
// first probe; the sweep turns round the start, out to the blocking point and
// half the way left from it to the goal, one bearing step at a time, and
// closes the better of the two nodes it finds.
TEST_F(NavigatorTest, TheFirstPhaseSweepsRoundTheBlockingPoint)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
    Nav_Path* path = Queue(HIDDEN_UNIT, SHIP, start, goal);
    ASSERT_NE(path, nullptr);
    const LatLonPoint blocking = Points(*path)[2];
    const int32_t direct = NavMath::Get_Vector(start, goal).range;
    const NavVector toBlock = NavMath::Get_Vector(start, blocking);
    const int32_t radius = toBlock.range + ((direct - toBlock.range) >> 1);

    EXPECT_FALSE(nav.Step());
    EXPECT_EQ(path->numClosed, 1);
    EXPECT_EQ(path->closed[0].parent, SearchNode::NO_PARENT);
    EXPECT_EQ(path->closed[0].cost, 0);
    EXPECT_EQ(path->closed[0].estimate, direct);
    EXPECT_EQ(path->closed[0].pos, start);
    EXPECT_EQ(path->start, start);
    EXPECT_EQ(path->goal, goal);
    EXPECT_EQ(path->blocker.parent, 0);
    EXPECT_EQ(path->origin, start);
    EXPECT_EQ(path->scratch, toBlock);
    EXPECT_EQ(path->cwRadius, radius);
    EXPECT_EQ(path->ccwRadius, radius);
    EXPECT_EQ(path->cwLimit, toBlock.bearing + 0x2A30000);
    EXPECT_EQ(path->ccwLimit, toBlock.bearing - 0x2A30000);
    EXPECT_EQ(path->cwBearing, toBlock.bearing + Navigator::SWEEP_STEP);   // one probe, clockwise
    EXPECT_EQ(path->ccwBearing, toBlock.bearing);
    EXPECT_EQ(path->sweepStarted, 1);
    EXPECT_EQ(path->clockwise, 1);   // into the island: blocked
    EXPECT_EQ(path->numOpen, 0);

    // On to the first clear clockwise probe: its node, with the goal weighed
    // twice, and the sweep turns counter-clockwise.
    long slices = 0;
    while (path->clockwise && slices++ < 1000)
        ASSERT_FALSE(nav.Step());
    ASSERT_EQ(path->numOpen, 1);
    EXPECT_EQ(path->sweepFound, 1);
    EXPECT_EQ((path->cwBearing - toBlock.bearing) % Navigator::SWEEP_STEP, 0);
    const LatLonPoint cw = NavMath::Get_LatLonPoint_From_Vector(start, path->cwRadius, path->cwBearing);
    const SearchNode& node = path->open[0];
    EXPECT_EQ(node.pos, cw);
    EXPECT_EQ(node.parent, 0);
    EXPECT_EQ(node.id, 0);
    EXPECT_EQ(node.cost, NavMath::Get_Vector(cw, start).range);
    EXPECT_EQ(node.estimate, node.cost + 2 * NavMath::Get_Vector(cw, goal).range);

    // The first clear counter-clockwise probe closes the node of the smaller
    // estimate in the same slice; the other stays open.
    while (path->numClosed == 1 && slices++ < 2000)
        ASSERT_FALSE(nav.Step());
    ASSERT_EQ(path->numClosed, 2);
    ASSERT_EQ(path->numOpen, 1);
    EXPECT_EQ(path->sweepStarted, 0);
    EXPECT_LE(path->closed[1].estimate, path->open[0].estimate);
    EXPECT_EQ(path->blocker.parent, 1);
    EXPECT_EQ(path->ccwBearing % Navigator::SWEEP_STEP, toBlock.bearing % Navigator::SWEEP_STEP);
}

// The first phase keeps its open list in descending order of estimate and
// takes from the end; a new node goes nearer the end than those of the same
// estimate, so that it is taken first.
TEST_F(NavigatorTest, FirstPhaseOpenListPutsTheNewestOfEqualEstimatesLast)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
    Nav_Path* path = Queue(HIDDEN_UNIT, SHIP, start, goal);
    ASSERT_NE(path, nullptr);
    // A sweep round a node in the open sea south of the island, whose next
    // clockwise probe runs 6 nm due east, clear.
    const LatLonPoint origin = At(9.5, 20.2);
    path->goal = goal;
    path->start = start;
    path->closed[0] = SearchNode();
    path->closed[0].parent = SearchNode::NO_PARENT;
    path->closed[0].cost = 1000;
    path->closed[0].pos = origin;
    path->numClosed = 1;
    path->blocker.parent = 0;
    path->origin = origin;
    path->sweepStarted = 1;
    path->sweepFound = 0;
    path->clockwise = 1;
    path->cwBearing = ANGLE_RIGHT - Navigator::SWEEP_STEP;
    path->cwLimit = ANGLE_FULL;
    path->cwRadius = path->ccwRadius = 6 * RANGE_PER_NM;
    const LatLonPoint probe = NavMath::Get_LatLonPoint_From_Vector(origin, 6 * RANGE_PER_NM, ANGLE_RIGHT);
    const int32_t cost = 1000 + NavMath::Get_Vector(probe, origin).range;
    const int32_t estimate = cost + 2 * NavMath::Get_Vector(probe, goal).range;
    const int32_t before[] = {estimate + 1, estimate, estimate - 1};
    for (int16_t i = 0; i < 3; ++i) {
        path->open[i] = SearchNode();
        path->open[i].id = static_cast<int16_t>(11 + i);
        path->open[i].estimate = before[i];
    }
    path->numOpen = 3;

    EXPECT_FALSE(nav.Step());
    ASSERT_EQ(path->numOpen, 4);
    EXPECT_EQ(path->clockwise, 0);
    EXPECT_EQ(path->open[0].id, 11);
    EXPECT_EQ(path->open[1].id, 12);
    EXPECT_EQ(path->open[2].pos, probe);   // after the one of equal estimate
    EXPECT_EQ(path->open[2].parent, 0);
    EXPECT_EQ(path->open[2].cost, cost);
    EXPECT_EQ(path->open[2].estimate, estimate);
    EXPECT_EQ(path->open[3].id, 13);
}

// A pass keeps its open list in ascending order of estimate and takes from
// the front; a new node goes after those of the same estimate, so that the
// older one is taken first.
TEST_F(NavigatorTest, PassOpenListTakesTheOlderOfEqualEstimatesFirst)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9), y = At(10.85, 20.2);
    Nav_Path* path = Queue(HIDDEN_UNIT, SHIP, start, goal);
    ASSERT_NE(path, nullptr);
    path->start = start;
    path->goal = goal;
    SeedCandidateChain(*path, {start, y, goal});
    path->closed[0] = path->candidates[0];
    path->closed[0].parent = SearchNode::NO_PARENT;
    path->closed[0].cost = 500;
    path->numClosed = 1;
    path->current = 0;
    const int32_t cost = 500 + NavMath::Get_Vector(y, start).range;
    const int32_t estimate = cost + NavMath::Get_Vector(y, goal).range;   // the goal weighed once
    const int32_t before[] = {estimate - 1, estimate, estimate + 1};
    for (int16_t i = 0; i < 3; ++i) {
        path->open[i] = SearchNode();
        path->open[i].id = static_cast<int16_t>(10 + i);
        path->open[i].parent = 0;
        path->open[i].estimate = before[i];
        path->open[i].pos = At(9.5, 20.1 + 0.1 * i);
    }
    path->numOpen = 3;
    path->numPoints = 2;
    path->searchDone = 1;
    path->optimizing = 1;
    path->passDone = 0;
    path->pass = 1;
    path->optState = 2;
    path->cursor = 1;   // the clear leg from the start to y

    EXPECT_FALSE(nav.Step());
    ASSERT_EQ(path->numOpen, 4);
    EXPECT_EQ(path->open[0].id, 10);
    EXPECT_EQ(path->open[1].id, 11);
    EXPECT_EQ(path->open[2].id, 1);   // after the one of equal estimate
    EXPECT_EQ(path->open[2].parent, 0);
    EXPECT_EQ(path->open[2].cost, cost);
    EXPECT_EQ(path->open[2].estimate, estimate);
    EXPECT_EQ(path->open[3].id, 12);
    EXPECT_EQ(path->chainIndex, 3);
    EXPECT_EQ(path->cursor, 2);
    EXPECT_EQ(path->optState, 2);

    // The cursor reaches the end of the candidates: the next slice takes the
    // best node, and the rest of the list moves up.
    path->cursor = 2;
    path->candidates[2].pos = At(9.5, 22.5);   // a leg off the map: blocked
    EXPECT_FALSE(nav.Step());
    EXPECT_EQ(path->optState, 1);
    EXPECT_FALSE(nav.Step());
    EXPECT_EQ(path->optState, 2);
    EXPECT_EQ(path->cursor, 0);
    ASSERT_EQ(path->numClosed, 2);
    EXPECT_EQ(path->current, 1);
    EXPECT_EQ(path->closed[1].id, 10);
    ASSERT_EQ(path->numOpen, 3);
    EXPECT_EQ(path->open[0].id, 11);   // the older of the two equal ones
    EXPECT_EQ(path->open[1].id, 1);
}

// A clear leg to a candidate that already has a node gives that node the
// current node as parent when the way through it is shorter: a closed node
// goes back to the open list, an open one is put back in its new place.
TEST_F(NavigatorTest, AShorterWayReparentsAKnownNode)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
    const LatLonPoint y = At(10.85, 20.2), z = At(10.9, 20.5);
    const int32_t leg = NavMath::Get_Vector(y, z).range;
    const int32_t toGoal = NavMath::Get_Vector(y, goal).range;
    struct Row { const char* name; bool inClosed; int32_t oldCost; bool better; };
    const Row rows[] = {
        {"closed node, shorter way", true, 1000000, true},
        {"open node, shorter way", false, 1000000, true},
        {"closed node, longer way", true, 10, false},
        {"open node, longer way", false, 10, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        arena.Queue().RemoveEventsOf(HIDDEN_UNIT, 0);
        nav.CancelRequests(HIDDEN_UNIT);
        Nav_Path* path = Queue(HIDDEN_UNIT, SHIP, start, goal);
        ASSERT_NE(path, nullptr);
        path->start = start;
        path->goal = goal;
        SeedCandidateChain(*path, {start, y, z, goal});
        SearchNode known = path->candidates[1];   // the node at y, by way of the start
        known.parent = 0;
        known.cost = r.oldCost;
        known.estimate = r.oldCost + toGoal;
        SearchNode current = path->candidates[2];   // the node at z
        current.parent = 0;
        current.cost = 100;
        current.estimate = 100 + NavMath::Get_Vector(z, goal).range;
        path->closed[0] = path->candidates[0];
        path->closed[0].parent = SearchNode::NO_PARENT;
        path->numClosed = 1;
        path->numOpen = 0;
        if (r.inClosed)
            path->closed[path->numClosed++] = known;
        else
            path->open[path->numOpen++] = known;
        path->closed[path->numClosed++] = current;
        path->current = static_cast<int16_t>(path->numClosed - 1);
        path->numPoints = 2;
        path->searchDone = 1;
        path->optimizing = 1;
        path->passDone = 0;
        path->pass = 1;
        path->optState = 2;
        path->cursor = 1;   // the clear leg from z to y

        EXPECT_FALSE(nav.Step());
        EXPECT_EQ(path->cursor, 2);
        if (!r.better) {
            EXPECT_EQ(path->numClosed, r.inClosed ? 3 : 2);
            EXPECT_EQ(path->numOpen, r.inClosed ? 0 : 1);
            const SearchNode& kept = r.inClosed ? path->closed[1] : path->open[0];
            EXPECT_EQ(kept.parent, 0);
            EXPECT_EQ(kept.cost, r.oldCost);
            continue;
        }
        // Out of closed (when it was there), and the current node is again
        // the last closed one.
        ASSERT_EQ(path->numClosed, 2);
        EXPECT_EQ(path->closed[1].id, 2);
        EXPECT_EQ(path->current, 1);
        ASSERT_EQ(path->numOpen, 1);
        const SearchNode& moved = path->open[0];
        EXPECT_EQ(moved.id, 1);
        EXPECT_EQ(moved.pos, y);
        EXPECT_EQ(moved.parent, 2);
        EXPECT_EQ(moved.cost, 100 + leg);
        EXPECT_EQ(moved.estimate, 100 + leg + toGoal);
    }
}

// A pass whose open list runs empty ends the optimization without a route.
TEST_F(NavigatorTest, APassWithAnEmptyOpenListEndsWithoutARoute)
{
    const LatLonPoint start = At(10.5, 20.1), goal = At(10.5, 20.9);
    Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, start, goal);
    ASSERT_NE(path, nullptr);
    const LatLonPoint blocking = Points(*path)[2];
    path->start = start;
    path->goal = goal;
    path->closed[0] = SearchNode();
    path->closed[0].parent = SearchNode::NO_PARENT;
    path->closed[0].pos = start;
    path->numClosed = 1;
    path->open[0] = SearchNode();
    path->open[0].parent = SearchNode::FREE_SLOT;
    path->numOpen = 0;
    path->numPoints = 2;
    path->searchDone = 1;
    path->optimizing = 1;
    path->passDone = 0;
    path->pass = 2;
    path->optState = 1;

    EXPECT_TRUE(nav.Step());
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]->numPoints, 0);
    EXPECT_EQ(answers[0]->optimizing, 0);
    EXPECT_EQ(Points(*answers[0]), (std::vector<LatLonPoint>{start, goal, blocking}));
    EXPECT_TRUE(reports.errors.empty());
}

class NavigatorSavedQueue : public NavigatorTest {
protected:
    static std::string Saved(const Navigator& navigator)
    {
        std::ostringstream out(std::ios::binary);
        EXPECT_TRUE(navigator.Save(out));
        return out.str();
    }
};

TEST_F(NavigatorSavedQueue, AnEmptyQueueIsTwoZeroBytes)
{
    EXPECT_EQ(Saved(nav), std::string(2, '\0'));
    Navigator loaded;
    std::istringstream in(std::string(2, '\0'), std::ios::binary);
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetQueue().First(), nullptr);
    EXPECT_TRUE(loaded.Step());
}

TEST_F(NavigatorSavedQueue, QueuedRequestsComeBackInOrderAndAreSolved)
{
    Nav_Path* first = Queue(VISIBLE_UNIT, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    Queue(2, SHIP, At(10.5, 21.1), At(10.5, 21.9));
    ASSERT_NE(first, nullptr);
    first->reversed = 1;
    for (int i = 0; i < 20; ++i)   // into their searches, neither finished
        nav.Step();
    ASSERT_TRUE(Answers().empty());
    const std::string bytes = Saved(nav);
    ASSERT_EQ(bytes.size(), 2u + 2 * Nav_Path::SAVED_REQUEST_SIZE);

    Navigator loaded;
    std::istringstream in(bytes, std::ios::binary);
    ASSERT_TRUE(loaded.Load(in));
    std::vector<const Nav_Path*> queued;
    for (const Nav_Path* p = loaded.GetQueue().First(); p != nullptr; p = p->GetNext())
        queued.push_back(p);
    ASSERT_EQ(queued.size(), 2u);
    const Nav_Path* was = nav.GetQueue().First();
    for (const Nav_Path* p : queued) {
        EXPECT_EQ(p->unitID, was->unitID);
        EXPECT_EQ(p->sideID, was->sideID);
        EXPECT_EQ(p->navType, was->navType);
        EXPECT_EQ(p->threatMask, was->threatMask);
        EXPECT_EQ(p->reversed, was->reversed);
        EXPECT_EQ(Points(*p), Points(*was));
        EXPECT_EQ(p->numOpen, 0);
        EXPECT_EQ(p->numClosed, 0);
        EXPECT_EQ(p->sweepStarted, 0);
        EXPECT_EQ(p->optimizing, 0);
        was = was->GetNext();
    }
    EXPECT_EQ(loaded.GetPathHead(), queued[0]);

    // The loaded requests start afresh and are solved.
    nav.CancelRequests(VISIBLE_UNIT);
    nav.CancelRequests(2);
    long slices = 0;
    while (!loaded.Step() && slices < SLICE_LIMIT)
        ++slices;
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 2u);
    for (const Nav_Path* answer : answers) {
        EXPECT_GE(answer->numPoints, 3);
        ExpectRouteClear(*answer);
    }
}

TEST_F(NavigatorSavedQueue, DamagedSectionsQueueNothing)
{
    Queue(VISIBLE_UNIT, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    Queue(2, SHIP, At(10.5, 21.1), At(10.5, 21.9));
    const std::string bytes = Saved(nav);

    // Cut anywhere inside the requests: refused whole.
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        Navigator loaded;
        std::istringstream in(bytes.substr(0, length), std::ios::binary);
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_EQ(loaded.GetQueue().First(), nullptr);
        EXPECT_EQ(loaded.GetPathHead(), nullptr);
    }
    // A count beyond the requests present.
    std::string more = bytes;
    more[0] = 3;
    {
        Navigator loaded;
        std::istringstream in(more, std::ios::binary);
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_EQ(loaded.GetQueue().First(), nullptr);
    }
    // A negative count loads nothing.
    std::string negative = bytes;
    negative[0] = '\xFF';
    negative[1] = '\xFF';
    {
        Navigator loaded;
        std::istringstream in(negative, std::ios::binary);
        EXPECT_TRUE(loaded.Load(in));
        EXPECT_EQ(loaded.GetQueue().First(), nullptr);
    }
}

// A loaded request whose points are not positions on the globe is refused at
// its first slice rather than searched.
TEST_F(NavigatorSavedQueue, ALoadedRequestOffTheGlobeIsRefused)
{
    Nav_Path* path = Queue(VISIBLE_UNIT, SHIP, At(10.5, 20.1), At(10.5, 20.9));
    ASSERT_NE(path, nullptr);
    path->points.Last()->pos = LatLonPoint::None();
    std::string bytes = Saved(nav);
    Navigator loaded;
    std::istringstream in(bytes, std::ios::binary);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_TRUE(loaded.Step());
    const std::vector<const Nav_Path*> answers = Answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0]->numPoints, -1);
}

// A unit's goal walled in by zones: its request and the reversed retry are
// both answered without a route. Each answer goes through a save and a load
// of the event queue holding it, and must come back, and retry, as the
// answer never saved does.
class NoRouteAnswerSaved : public NavigatorTest {
protected:
    static constexpr uint32_t UNIT_MASK = AVOID_SURFACE;   // the unit's own

    NoRouteAnswerSaved() { WallInTheGoal(); }

    // Writes the queue's events one after another, each beginning with its
    // type code as in the event list of a saved game, and reads them back
    // into `loaded`, the code picking the class.
    static void SaveAndLoad(const EventQueue& queue, EventQueue& loaded)
    {
        std::ostringstream out(std::ios::binary);
        int count = 0;
        for (const Event* e = queue.First(); e != nullptr; e = e->GetNext(), ++count)
            e->Save(out);
        std::istringstream in(out.str(), std::ios::binary);
        Chain<Event> chain;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(in.get(), EventCode::PATH_RETURN);
            auto* event = new PathReturnEvent();
            chain.Append(event);
            ASSERT_TRUE(event->Load(in));
        }
        EXPECT_EQ(in.peek(), EOF);
        loaded.TakeLoadedEvents(chain);
    }

    static std::vector<PathReturnEvent*> Returns(const EventQueue& queue)
    {
        std::vector<PathReturnEvent*> found;
        for (Event* e = queue.FindNextOfType(nullptr, EventCode::PATH_RETURN); e != nullptr;
             e = queue.FindNextOfType(e, EventCode::PATH_RETURN))
            found.push_back(static_cast<PathReturnEvent*>(e));
        return found;
    }

    // Everything an answer carries to its unit, and a retry to the navigator.
    static void ExpectSamePath(const Nav_Path& loaded, const Nav_Path& live, bool withMask)
    {
        EXPECT_EQ(loaded.unitID, live.unitID);
        EXPECT_EQ(loaded.sideID, live.sideID);
        EXPECT_EQ(loaded.navType, live.navType);
        EXPECT_EQ(loaded.numPoints, live.numPoints);
        EXPECT_EQ(loaded.reversed, live.reversed);
        EXPECT_EQ(Points(loaded), Points(live));
        if (withMask) {
            EXPECT_EQ(loaded.threatMask, live.threatMask);
        }
    }

    // The loaded queue's answers match the live ones, event by event.
    static void ExpectSameAnswers(const EventQueue& loaded, const EventQueue& live)
    {
        const std::vector<PathReturnEvent*> a = Returns(loaded), b = Returns(live);
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "answer " << i);
            EXPECT_EQ(a[i]->GetSubject(), b[i]->GetSubject());
            EXPECT_EQ(a[i]->GetTime(), b[i]->GetTime());
            ASSERT_NE(a[i]->GetPath(), nullptr);
            // The answer's own threat mask is not saved: the retry asks the
            // unit for it again.
            ExpectSamePath(*a[i]->GetPath(), *b[i]->GetPath(), false);
        }
    }
};

TEST_F(NoRouteAnswerSaved, AnswersAndRetriesAreTheSameAfterASaveAndLoad)
{
    const LatLonPoint start = At(9.5, 20.3), goal = At(9.5, 21.5);
    auto request = MakeRequest(HIDDEN_UNIT, AIR, start, goal, UNIT_MASK);
    ASSERT_FALSE(nav.RequestPath(request.get()));
    request.release();
    RunToIdle();
    std::vector<PathReturnEvent*> live = Returns(arena.Queue());
    ASSERT_EQ(live.size(), 1u);
    ASSERT_EQ(live[0]->GetPath()->numPoints, Nav_Path::NO_ROUTE);
    ASSERT_EQ(live[0]->GetPath()->reversed, 0);
    ASSERT_EQ(Points(*live[0]->GetPath()).size(), 3u);   // start, goal, blocking point

    EventQueue loaded;
    SaveAndLoad(arena.Queue(), loaded);
    ExpectSameAnswers(loaded, arena.Queue());

    // The retry: the same reversed request from either, with the unit's mask.
    std::unique_ptr<Nav_Path> retry(live[0]->TakeRetryRequest(UNIT_MASK));
    std::unique_ptr<Nav_Path> loadedRetry(Returns(loaded)[0]->TakeRetryRequest(UNIT_MASK));
    ASSERT_NE(retry, nullptr);
    ASSERT_NE(loadedRetry, nullptr);
    ExpectSamePath(*loadedRetry, *retry, true);
    EXPECT_EQ(Points(*retry), (std::vector<LatLonPoint>{goal, start}));
    EXPECT_EQ(retry->reversed, 1);
    EXPECT_EQ(retry->numPoints, 2);
    EXPECT_EQ(retry->threatMask, UNIT_MASK);

    // Both go to the navigator and fail alike, now reversed.
    arena.Queue().RemoveEventsOf(HIDDEN_UNIT, 0);
    ASSERT_FALSE(nav.RequestPath(retry.get()));
    retry.release();
    ASSERT_FALSE(nav.RequestPath(loadedRetry.get()));
    loadedRetry.release();
    RunToIdle();
    live = Returns(arena.Queue());
    ASSERT_EQ(live.size(), 2u);
    ExpectSamePath(*live[1]->GetPath(), *live[0]->GetPath(), true);
    EXPECT_EQ(live[0]->GetPath()->numPoints, Nav_Path::NO_ROUTE);
    EXPECT_EQ(live[0]->GetPath()->reversed, 1);

    // Saved and loaded, the second answers are the same and retry no more:
    // the unit stops.
    EventQueue loadedAgain;
    SaveAndLoad(arena.Queue(), loadedAgain);
    ExpectSameAnswers(loadedAgain, arena.Queue());
    for (PathReturnEvent* answer : Returns(loadedAgain))
        EXPECT_EQ(answer->TakeRetryRequest(UNIT_MASK), nullptr);
    for (PathReturnEvent* answer : live)
        EXPECT_EQ(answer->TakeRetryRequest(UNIT_MASK), nullptr);
}

} // namespace
