// Tests of the station kinds with their own keeping: sprint-drift,
// sonobuoy, random, free, the aircraft patrols and the group-keeping ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "StationTestSupport.h"
#include "core/RandomGen.h"
#include "units/GroupKeepingStations.h"
#include "units/PatrolStations.h"
#include "units/RandomStations.h"
#include "units/SonobuoyStation.h"
#include "units/SprintDriftStation.h"

using namespace stationtest;

namespace {

using StationKindsTest = StationWorld;

// The events hung on a path point, in order.
std::vector<TestEvent*> EventsOn(const PositionNode* node)
{
    std::vector<TestEvent*> found;
    for (Event* e = node->GetEvents().First(); e != nullptr; e = e->GetNext())
        found.push_back(static_cast<TestEvent*>(e));
    return found;
}

TEST_F(StationKindsTest, SprintPointLiesOnTheForwardLimitOnTheBeamAndMidSectorAheadOrAstern)
{
    // Points beyond 10 nm are placed on the great circle, whose bearings
    // read back coarsely, so the point is compared with the one expected.
    struct Row { const char* where; int left, right; int aimDegrees; int32_t range; int32_t leg; };
    const Row rows[] = {
        {"starboard beam", 80, 100, 80, Nm(15), 0},   // the left limit
        {"port beam", 260, 280, 280, Nm(15), 0},      // the right limit
        {"ahead", 350, 10, 0, Nm(20), Nm(10)},        // the outer range
        {"astern", 170, 190, 180, Nm(10), Nm(10)},    // the inner range
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        SprintDriftStation templ;
        SetSector(templ, r.left, r.right, 10, 20);
        DropMember(7);
        AddShip(7, Home(), &templ);
        auto* station = static_cast<SprintDriftStation*>(group->GetMemberStation(7));
        LatLonPoint aim;
        const int32_t leg = station->PlaceSprintPoint(aim, Home(), false);
        EXPECT_EQ(aim, NavMath::Get_LatLonPoint_From_Vector(Home(), r.range, Deg(r.aimDegrees)));
        if (r.leg != 0)
            EXPECT_EQ(leg, r.leg);
        else   // the chord across the 20 degree sector at the middle range
            EXPECT_NEAR(leg, 2 * 0.17365 * Nm(15), 20);
    }
}

TEST_F(StationKindsTest, DriftLastsUntilTheGroupPassesAndAtMostAnHour)
{
    struct Row { const char* what; uint16_t groupKnots; int left, right, minNm, maxNm; uint32_t drift; };
    const Row rows[] = {
        // 300 nm at 1 knot: the 32-bit sum overflowed here and ended the game
        {"long beam leg at 1 knot", 6, 60, 120, 290, 310, 3600},
        {"drift speed equals group speed", 4, 350, 10, 10, 20, 3600},
        {"5 nm at 10 knots", 15, 350, 10, 10, 15, 1800},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        world.reports.Clear();
        ClearQueued(EventCode::STATION_MOVE);
        DropMember(7);
        group->speed = r.groupKnots;
        SprintDriftStation templ;
        SetSector(templ, r.left, r.right, r.minNm, r.maxNm);
        TestUnit* ship = AddShip(7, Home(), &templ);
        StationRecord* station = group->GetMemberStation(7);
        station->ReturnToStation();
        EXPECT_TRUE(world.reports.fatals.empty());
        const auto moves = world.Queued(EventCode::STATION_MOVE);
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0]->GetTime(), GameTime(answers.lastSeconds + r.drift));
        ASSERT_NE(ship->GetPath(), nullptr);
        const auto onArrival = EventsOn(ship->GetPath());
        ASSERT_EQ(onArrival.size(), 1u);
        EXPECT_EQ(onArrival[0]->Value(), std::min<uint16_t>(r.groupKnots, 5));   // the drift speed
        EXPECT_EQ(station->leg, 0);
    }
}

TEST_F(StationKindsTest, GroupAsFastAsTheSprintWaitsInStepsOf15Seconds)
{
    group->speed = 25;   // the ship sprints at 20
    SprintDriftStation templ;
    SetSector(templ, 80, 100, 10, 20);
    AddShip(7, Home(), &templ);
    StationRecord* station = group->GetMemberStation(7);
    station->ReturnToStation();
    EXPECT_EQ(station->leg, -1);
    const auto waits = world.Queued(EventCode::STATION_UPDATE);
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(waits[0]->GetTime(), GameTime(15));
    EXPECT_EQ(answers.interceptCalls, 0);
}

TEST_F(StationKindsTest, LayingTimeIsAtLeastASecondAndAnHourForAStillGroup)
{
    struct Row { const char* what; bool moving; uint16_t knots; int left, right, minNm, maxNm; uint32_t laying; };
    const Row rows[] = {
        {"still group", false, 10, 350, 10, 5, 10, 3600},
        {"leg of length 0", true, 10, 350, 10, 8, 8, 1},
        {"5 nm at 10 knots", true, 10, 350, 10, 5, 10, 1800},
        // 300 nm at 1 knot overflowed the 32-bit hours
        {"300 nm at 1 knot", true, 1, 350, 10, 10, 310, 1080000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        world.reports.Clear();
        ClearQueued(EventCode::STATION_MOVE);
        DropMember(30);
        group->ClearPath();
        if (r.moving)
            group->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(50), 0)));
        group->speed = r.knots;
        SonobuoyStation templ;
        SetSector(templ, r.left, r.right, r.minNm, r.maxNm);
        Plane* plane = AddPlane(30, Home(), &templ);
        group->GetMemberStation(30)->ReturnToStation();
        EXPECT_TRUE(world.reports.fatals.empty());
        EXPECT_EQ(plane->taskFlags, Plane::TASK_SONOBUOYS);
        const auto moves = world.Queued(EventCode::STATION_MOVE);
        ASSERT_EQ(moves.size(), 1u);
        EXPECT_EQ(moves[0]->GetTime(), GameTime(answers.lastSeconds + r.laying));
        // Meeting, far end, middle (with the loiter speed).
        ASSERT_NE(plane->GetPath(), nullptr);
        const PositionNode* middle = plane->path.Last();
        ASSERT_EQ(EventsOn(middle).size(), 1u);
        EXPECT_EQ(EventsOn(middle)[0]->Value(), 5);
    }
}

TEST_F(StationKindsTest, SonobuoyLineCrossesTheSectorOnTheBeamAndRunsAlongItAhead)
{
    SonobuoyStation templ;
    SetSector(templ, 60, 120, 4, 10);
    AddPlane(30, Home(), &templ);
    auto* station = static_cast<SonobuoyStation*>(group->GetMemberStation(30));
    LatLonPoint start;
    LatLonPoint end;
    EXPECT_NEAR(station->PlaceLeg(start, end, Home()), Nm(10), 8);   // 2 x 10 nm x sin 30
    EXPECT_EQ(start, NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(10), Deg(60)));
    EXPECT_EQ(end, NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(10), Deg(120)));

    station->leftBearing = Deg(170);
    station->rightBearing = Deg(190);
    EXPECT_EQ(station->PlaceLeg(start, end, Home()), Nm(6));   // astern: inner range
    EXPECT_NEAR(From(Home(), start).range, Nm(4), 20);
}

TEST_F(StationKindsTest, AircraftWithoutSonobuoysAsksForRelief)
{
    answers.sonobuoyType = 0;
    SonobuoyStation templ;
    Plane* plane = AddPlane(30, Home(), &templ);
    group->GetMemberStation(30)->ReturnToStation();
    EXPECT_EQ(plane->GetPath(), nullptr);
    EXPECT_EQ(group->noRelief, 1);   // no holder in the group
}

TEST_F(StationKindsTest, RandomCornerIsNeverRepeatedAndSpeedStepsUp)
{
    struct Row { uint16_t groupKnots; uint16_t ordered; };
    const Row rows[] = {
        {8, 15},    // 5 knots first (8 - 10 is negative), then 15
        {25, 25},   // 15, then the top speed 20: no meeting, so the group's speed
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.groupKnots);
        DropMember(7);   // the group, left empty, stops
        group->speed = r.groupKnots;
        RandomStation templ;
        SetSector(templ, 60, 120, 4, 10);
        TestUnit* ship = AddShip(7, Home(), &templ);
        StationRecord* station = group->GetMemberStation(7);
        int32_t previous = station->leg;
        std::vector<int> seen(4);
        for (int cycle = 0; cycle < 60; ++cycle) {
            world.log.speedsSetNow.clear();
            ClearQueued(EventCode::SET_SPEED);
            station->ReturnToStation();
            ASSERT_NE(station->leg, previous);
            ASSERT_GE(station->leg, 0);
            ASSERT_LE(station->leg, 3);
            ++seen[station->leg];
            previous = station->leg;
            const auto speeds = world.Queued(EventCode::SET_SPEED);
            ASSERT_EQ(speeds.size(), 1u);
            EXPECT_EQ(speeds[0]->Value(), r.ordered);
            ASSERT_NE(ship->GetPath(), nullptr);
            // A meeting starts the next cycle on arrival; without one the
            // ship heads for the corner at the group's speed.
            EXPECT_EQ(EventsOn(ship->GetPath()).size(), r.groupKnots < 20 ? 1u : 0u);
        }
        for (int corner = 0; corner < 4; ++corner)
            EXPECT_GT(seen[corner], 0) << corner;
    }
}

TEST_F(StationKindsTest, CornerIsMetFromWhereTheShipIsNotFromItsDroppedPath)
{
    RandomStation templ;
    SetSector(templ, 60, 120, 4, 10);
    TestUnit* ship = AddShip(7, Home(), &templ);
    ship->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(30), Deg(200))));
    group->GetMemberStation(7)->ReturnToStation();
    ASSERT_GT(answers.interceptCalls, 0);
    EXPECT_EQ(answers.lastPursuer, Home());
}

TEST_F(StationKindsTest, EmptyRangeBandStillTakesItsDraw)
{
    // A band of one range draws its range as a span of 0 would: one draw
    // answering 0, so that the next dip's bearing is the generator's next
    // draw but one.
    DippingSonarStation station;
    station.leftBearing = Deg(10);
    station.rightBearing = Deg(70);
    station.minRange = station.maxRange = Nm(5);
    world.arena.Generator().SetSeed(12345);
    RandomGen expected;
    expected.SetSeed(12345);
    for (int dip = 0; dip < 4; ++dip) {
        SCOPED_TRACE(dip);
        const int degrees = expected.MPRandom(60);
        EXPECT_EQ(expected.MPRandom(0), 0);
        LatLonPoint point;
        station.GetStationPoint(point, Home(), 0);
        EXPECT_EQ(point, NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(5), Deg(10 + degrees)));
    }
}

TEST_F(StationKindsTest, FreeStationNeverOrdersAnything)
{
    FreeStation templ;
    TestUnit* ship = AddShip(7, NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(40), Deg(10)), &templ);
    StationRecord* station = group->GetMemberStation(7);
    EXPECT_TRUE(station->IsInStation(Home(), 0));
    station->RequestMove();
    station->MoveToStation();
    station->CheckStation();
    station->ReturnToStation();
    EXPECT_EQ(ship->GetPath(), nullptr);
    EXPECT_EQ(world.arena.Queue().First(), nullptr);
    LatLonPoint point;
    station->GetStationPoint(point, Home(), 0);
    EXPECT_EQ(point, ship->GetPosition());
}

TEST_F(StationKindsTest, DippingHelicopterHoversThreeHundredSecondsAtTheDip)
{
    DippingSonarStation templ;
    SetSector(templ, 60, 120, 4, 10);
    Plane* helo = AddPlane(30, Home(), &templ);
    helo->SetAltitude(100);
    world.arena.SetGameTime(GameTime(1000));
    group->GetMemberStation(30)->ReturnToStation();
    EXPECT_EQ(helo->field1, DippingSonarStation::DIPPING);
    ASSERT_NE(helo->GetPath(), nullptr);
    const auto events = EventsOn(helo->GetPath());
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0]->TypeCode(), EventCode::STATION_MOVE);
    EXPECT_EQ(events[0]->GetTime(), GameTime(1000 + answers.lastSeconds + 300));
    EXPECT_EQ(events[1]->TypeCode(), EventCode::SET_SPEED);
    EXPECT_EQ(events[1]->Value(), 0);
    EXPECT_EQ(events[2]->TypeCode(), EventCode::SET_ALTITUDE);
    EXPECT_EQ(events[2]->Value(), 4);
}

TEST_F(StationKindsTest, DipPointsSpreadOverTheWholeRangeBand)
{
    struct Row { int spanNm; int32_t widerThan; };
    const Row rows[] = {
        {16, Nm(8)},    // used to dip at the inner range only (a draw of 65536 mod 65536)
        {20, Nm(12)},   // used to stay within 4 nm of it
        {5, Nm(3)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.spanNm);
        DippingSonarStation station;
        station.leftBearing = Deg(10);
        station.rightBearing = Deg(10) + 1000;   // under a degree: always on the left limit
        station.minRange = Nm(2);
        station.maxRange = Nm(2 + r.spanNm);
        int32_t farthest = 0;
        for (int i = 0; i < 300; ++i) {
            LatLonPoint dip;
            station.GetStationPoint(dip, Home(), Deg(30));
            const NavVector v = From(Home(), dip);
            // Beyond 10 nm the read-back bearing and range are coarse.
            ASSERT_NEAR(v.bearing, Deg(40), Deg(8));
            ASSERT_LE(v.range, station.maxRange + Nm(1));
            ASSERT_GE(v.range, station.minRange - Nm(1));
            farthest = std::max(farthest, v.range - station.minRange);
        }
        EXPECT_GT(farthest, r.widerThan);
    }
}

TEST_F(StationKindsTest, OrbitVisitsTheFourEdgeMidpointsInTurn)
{
    CAPStation templ(false);
    SetSector(templ, 60, 120, 4, 10);
    Plane* plane = AddPlane(30, Home(), &templ);
    StationRecord* station = group->GetMemberStation(30);
    struct Point { int degrees; int32_t range; };
    const Point orbit[] = {{90, Nm(10)}, {120, Nm(7)}, {90, Nm(4)}, {60, Nm(7)}, {90, Nm(10)}};
    for (const Point& p : orbit) {
        SCOPED_TRACE(p.degrees);
        plane->ClearPath();
        station->ReturnToStation();
        ASSERT_NE(plane->GetPath(), nullptr);
        EXPECT_EQ(plane->GetPath()->GetPosition(),
                  NavMath::Get_LatLonPoint_From_Vector(Home(), p.range, Deg(p.degrees)));
    }
    // An aircraft with a path keeps it.
    const LatLonPoint kept = plane->GetPath()->GetPosition();
    station->ReturnToStation();
    EXPECT_EQ(plane->GetPath()->GetPosition(), kept);
    EXPECT_EQ(static_cast<CAPStation*>(station)->GetAircraftRole(), 4u);
}

TEST_F(StationKindsTest, OrbitIndexOutsideTheFourPointsTakesTheLeftEdgeAndStartsOver)
{
    // -1 after a failed approach, or anything a damaged file holds.
    for (int32_t leg : {-1, 4, INT32_MAX, INT32_MIN}) {
        SCOPED_TRACE(leg);
        DropMember(30);
        CAPStation templ(false);
        SetSector(templ, 60, 120, 4, 10);
        Plane* plane = AddPlane(30, Home(), &templ);
        StationRecord* station = group->GetMemberStation(30);
        station->leg = leg;
        station->ReturnToStation();
        ASSERT_NE(plane->GetPath(), nullptr);
        EXPECT_EQ(plane->GetPath()->GetPosition(), NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(7), Deg(60)));
        EXPECT_GE(station->leg, 0);
        EXPECT_LE(station->leg, 3);
    }
}

TEST_F(StationKindsTest, ExtremeFieldsFromADamagedFileKeepEveryKindWorking)
{
    // Any value of the saved fields loads; every operation must still run
    // through without the arithmetic overflowing.
    struct Row { int32_t left, right, minRange, maxRange, leg; };
    const Row rows[] = {
        {INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
        {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, -1},
    };
    for (const Row& r : rows) {
        for (uint8_t kind = StationKind::FIRST; kind <= StationKind::LAST; ++kind) {
            SCOPED_TRACE(int{kind});
            DropMember(30);
            StationRecord* templ = StationRecord::CreateStation(kind);
            templ->leftBearing = r.left;
            templ->rightBearing = r.right;
            templ->minRange = r.minRange;
            templ->maxRange = r.maxRange;
            templ->axis = 2;
            AddPlane(30, Home(), templ);
            delete templ;
            StationRecord* station = group->GetMemberStation(30);
            ASSERT_NE(station, nullptr);
            station->leg = r.leg;
            LatLonPoint point;
            station->GetStationPoint(point, Home(), group->GetAxisBearing(2));
            station->IsInStation(Home(), group->GetAxisBearing(2));
            station->FindReachablePoint(point, Home(), group->GetAxisBearing(2));
            station->mode = StationMode::OUT;
            station->CheckStation();
            if (group->GetMemberStation(30) == nullptr)
                continue;   // a formation aircraft far off leaves the group
            units.Find(30)->ClearPath();
            group->GetMemberStation(30)->ReturnToStation();
            if (StationRecord* s = group->GetMemberStation(30)) {
                units.Find(30)->ClearPath();
                s->MoveToStation();
            }
        }
    }
}

TEST_F(StationKindsTest, FormationHoldsWithinTenMilesAndDropsTheAircraftBeyond)
{
    // Exactly 10 nm, and the nearest range beyond it (great-circle ranges
    // there step by some hundred units).
    struct Row { LatLonPoint at; bool in; };
    const Row rows[] = {{AtRange(Home(), Nm(10)), true}, {JustBeyond(Home(), Nm(10)), false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        FormationStation templ;
        Plane* plane = AddPlane(30, r.at, &templ);
        StationRecord* station = group->GetMemberStation(30);
        EXPECT_EQ(station->IsInStation(Home(), 0), r.in);
        EXPECT_EQ(station->mode, r.in ? StationMode::IN : StationMode::OUT);
        station->CheckStation();
        if (r.in) {
            EXPECT_EQ(plane->GetPosition(), Home());
            EXPECT_EQ(answers.refreshed, std::vector<uint16_t>{30});
            EXPECT_EQ(world.Queued(EventCode::STATION_MOVE).size(), 1u);
        } else {
            EXPECT_EQ(group->GetMemberStation(30), nullptr);   // left the group
            EXPECT_EQ(group->members.Find(30), nullptr);
        }
        DropMember(30);
    }
}

TEST_F(StationKindsTest, FormationFollowsTheGroupsNextPointOrItsPosition)
{
    FormationStation templ;
    Plane* plane = AddPlane(30, AtRange(Home(), Nm(3)), &templ);
    StationRecord* station = group->GetMemberStation(30);
    station->ReturnToStation();   // the group has no path
    ASSERT_NE(plane->GetPath(), nullptr);
    EXPECT_EQ(plane->GetPath()->GetPosition(), Home());
    EXPECT_EQ(EventsOn(plane->GetPath())[0]->TypeCode(), EventCode::STATION_UPDATE);

    plane->ClearPath();
    const LatLonPoint next = NavMath::Get_LatLonPoint_From_Vector(Home(), Nm(30), Deg(45));
    auto* first = new PositionNode(next);
    first->AddEvent(new TestEvent(EventCode::SET_ALTITUDE, GROUP_ID, 7));
    group->SetPath(first);
    group->path.Append(new PositionNode(Home()));
    station->mode = StationMode::IN;
    station->ReturnToStation();
    ASSERT_NE(plane->GetPath(), nullptr);
    EXPECT_EQ(plane->GetPath()->GetPosition(), next);
    EXPECT_EQ(plane->GetPath()->GetNext(), nullptr);   // the next point only
    EXPECT_EQ(EventsOn(plane->GetPath())[0]->Value(), 7);

    // With a path already, the next step hangs on its end.
    station->ReturnToStation();
    const auto onEnd = EventsOn(plane->path.Last());
    EXPECT_EQ(onEnd.back()->TypeCode(), EventCode::STATION_MOVE);
}

TEST_F(StationKindsTest, RejoinBecomesAFormationStationWithinSevenMiles)
{
    struct Row { int32_t range; uint8_t kind; };
    const Row rows[] = {{28672, StationKind::FORMATION}, {28673, StationKind::REJOIN}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.range);
        RejoinStation templ;
        Plane* plane = AddPlane(30, AtRange(Home(), r.range), &templ);
        ASSERT_EQ(From(Home(), plane->GetPosition()).range, r.range);
        group->GetMemberStation(30)->CheckStation();
        ASSERT_NE(group->GetMemberStation(30), nullptr);
        EXPECT_EQ(group->GetMemberStation(30)->kind, r.kind);
        if (r.kind == StationKind::REJOIN) {
            ASSERT_NE(plane->GetPath(), nullptr);
            EXPECT_EQ(plane->GetPath()->GetPosition(), Home());
            EXPECT_EQ(EventsOn(plane->GetPath())[0]->TypeCode(), EventCode::STATION_SET);
        }
        DropMember(30);
    }
}

}  // namespace
