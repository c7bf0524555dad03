// PatrolStepTest.cpp: the patrol's unit step and mission commands: the
// states it handles and those it leaves alone, group members, the delayed
// start, the step re-armed on the path's end with its time, the point along
// a leg, and a patrol whose points are gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <vector>

#include "core/NavMath.h"
#include "missions/MissionCalls.h"
#include "missions/PatrolMission.h"
#include "support/ReportCapture.h"
#include "units/PositionNode.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitTestSupport.h"
#include "PlanningWorld.h"

namespace {

using planningtest::FakeUnit;
using unittest::TestEvent;

constexpr int32_t NM = 4096;   // range units, and angle units of latitude
constexpr uint8_t MISSION = 0x54;
constexpr uint8_t MISSION_UNIT = 0x47;
constexpr uint8_t SET_ALTITUDE = 0x3E;
constexpr uint8_t DROP_SONOBUOY = 0x45;

// The last path handed to a unit: its unit, end and the event codes there.
struct GivenPath {
    uint16_t unitID = 0;
    LatLonPoint end;
    std::vector<uint8_t> events;
};
std::vector<GivenPath>& Paths()
{
    static std::vector<GivenPath> paths;
    return paths;
}

// PlanningWorld with events that keep their values, the paths given
// noted, and an AAW patrol of side 1 over the points the test adds.
class PatrolWorld : public planningtest::PlanningWorld {
public:
    PatrolWorld()
    {
        Paths().clear();
        UnitEventCalls events;
        events.makeMissionUnitEvent = [](uint16_t unitID, GameTime) -> Event* {
            return new TestEvent(MISSION_UNIT, unitID);
        };
        events.makeSetAltitudeEvent = [](uint16_t unitID, int32_t altitude, GameTime) -> Event* {
            return new TestEvent(SET_ALTITUDE, unitID, static_cast<uint16_t>(altitude));
        };
        events.makeDropSonobuoyEvent = [](uint16_t unitID, uint16_t, uint8_t) -> Event* {
            return new TestEvent(DROP_SONOBUOY, unitID);
        };
        previousEvents = SetUnitEventCalls(events);
        MissionCalls calls;
        calls.makeMissionEvent = [](uint16_t, uint16_t missionID, uint16_t code, uint32_t delay) -> Event* {
            auto* event = new TestEvent(MISSION, missionID, code);
            event->SetDueTime(GameTime(delay));
            return event;
        };
        previousCalls = SetMissionCalls(calls);
        UnitBridgeCalls bridge;
        bridge.setUnitPath = [](uint16_t unitID, const PositionNode* path) {
            GivenPath given{unitID, path->GetPosition(), {}};
            for (const Event* e = path->GetEvents().First(); e != nullptr; e = e->GetNext())
                given.events.push_back(e->TypeCode());
            Paths().push_back(given);
        };
        previousBridge = SetUnitBridgeCalls(bridge);
    }
    ~PatrolWorld()
    {
        patrol.reset();
        SetUnitBridgeCalls(previousBridge);
        SetMissionCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
    }

    // The patrol over reference points of side 1 at those positions.
    PatrolMission& MakePatrol(const std::vector<LatLonPoint>& points, uint16_t kind = PatrolMission::KIND_AAW)
    {
        IDList ids;
        for (const LatLonPoint& at : points)
            ids.Insert(new IDNode(side.AddPoint(at)));
        patrol = std::make_unique<PatrolMission>(kind, "North", &ids, &side);
        patrol->SetKey(5);
        return *patrol;
    }
    // A unit of the arena in the patrol with that state.
    FakeUnit& Add(uint16_t id, char letter, int16_t state, const LatLonPoint& at = {})
    {
        FakeUnit& unit = AddUnit(id, letter, at, false);
        auto* r = new MissionUnitRec(id);
        r->state = state;
        patrol->units.Insert(r);
        return unit;
    }
    int16_t StateOf(uint16_t id) { return patrol->units.Find(id)->state; }
    // The queued events as (code, unit or mission, value, due time), head
    // first; the queue is emptied.
    std::vector<std::tuple<uint8_t, uint16_t, uint16_t, uint32_t>> Taken()
    {
        std::vector<std::tuple<uint8_t, uint16_t, uint16_t, uint32_t>> seen;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            seen.emplace_back(e->TypeCode(), e->GetSubject(), static_cast<TestEvent*>(e)->Value(), e->GetTime().Get());
            delete e;
        }
        return seen;
    }

    std::unique_ptr<PatrolMission> patrol;

private:
    UnitEventCalls previousEvents;
    MissionCalls previousCalls;
    UnitBridgeCalls previousBridge;
};

using Queued = std::vector<std::tuple<uint8_t, uint16_t, uint16_t, uint32_t>>;

// A two-point path for the unit, the unit owning it.
void GivePath(Unit& unit)
{
    auto* first = new PositionNode(nullptr, nullptr);
    new PositionNode(nullptr, first);
    unit.SetPath(first);
}

} // namespace

TEST(PatrolStep, StatesOfOtherMissionsAreLeftAlone)
{
    for (int16_t state : {7, 10, 12, 13, 16, 18, 21, 22, 23, 24}) {
        SCOPED_TRACE(state);
        PatrolWorld world;
        world.MakePatrol({{10 * NM, 10 * NM}});
        world.Add(1, 'S', state);
        world.patrol->StepUnit(1, 0);
        EXPECT_EQ(world.StateOf(1), state);
        EXPECT_TRUE(world.Taken().empty());
        EXPECT_TRUE(Paths().empty());
    }
}

TEST(PatrolStep, AGroupMemberIsSteppedOnlyWhileEngaging)
{
    PatrolWorld world;
    world.MakePatrol({{10 * NM, 10 * NM}});
    world.Add(1, 'S', PatrolState::PATROLLING).SetParentID(40);
    world.Add(2, 'S', PatrolState::ORDERED).SetParentID(40);
    world.patrol->StepUnit(1, 0);
    EXPECT_EQ(world.StateOf(1), PatrolState::PATROLLING);
    EXPECT_EQ(world.patrol->missionFlags & PatrolMission::EMISSIONS_MANAGED, 0u) << "nothing was stepped";
    world.patrol->StepUnit(2, 0);
    EXPECT_EQ(world.StateOf(2), PatrolState::ENGAGING) << "an ordered engagement counts as started";
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_NE(world.patrol->missionFlags & PatrolMission::EMISSIONS_MANAGED, 0u);
}

TEST(PatrolStep, AnEngagingUnitWithoutItsContactGoesBackToPatrol)
{
    PatrolWorld world;
    world.MakePatrol({{10 * NM, 10 * NM}});
    FakeUnit& free = world.Add(1, 'S', PatrolState::ENGAGING);
    GivePath(free);
    world.Add(2, 'S', PatrolState::ENGAGING).SetParentID(40);
    world.patrol->units.Find(2)->leaderID = 40;
    std::vector<std::pair<uint16_t, uint8_t>> told;
    static std::vector<std::pair<uint16_t, uint8_t>>* notes = &told;
    MissionCalls calls = SetMissionCalls(MissionCalls());
    calls.notifyParentUnit = [](uint16_t unitID, uint8_t value) { notes->emplace_back(unitID, value); };
    SetMissionCalls(calls);

    world.patrol->StepUnit(1, 0);
    world.patrol->StepUnit(2, 0);
    EXPECT_EQ(world.StateOf(1), PatrolState::PATROLLING);
    EXPECT_EQ(free.GetPath(), nullptr) << "its orders are cleared";
    EXPECT_EQ(world.StateOf(2), PatrolState::PATROLLING);
    EXPECT_EQ(world.Taken(), (Queued{{MISSION_UNIT, 1, 0, 0}})) << "the member is left to its parent";
    EXPECT_EQ(told, (std::vector<std::pair<uint16_t, uint8_t>>{{2, 0}}));
}

TEST(PatrolStep, ADelayedStartHoldsEveryUnitUntilItsResumeEvent)
{
    PatrolWorld world;
    PatrolMission& m = world.MakePatrol({{10 * NM, 10 * NM}});
    m.delayTime = 0x70000 | 600;   // only the low 16 bits bound the delay
    world.Add(1, 'S', PatrolState::PATROLLING);
    world.Add(2, 'U', PatrolState::SEARCHING);

    m.HandleMissionEvent(MissionEventCode::DELAYED_START);
    EXPECT_NE(m.missionFlags & MissionFlag::DELAYED_START, 0u);
    const Queued resume = world.Taken();
    ASSERT_EQ(resume.size(), 1u);
    EXPECT_EQ(std::get<0>(resume[0]), MISSION);
    EXPECT_EQ(std::get<1>(resume[0]), 5);
    EXPECT_EQ(std::get<2>(resume[0]), MissionEventCode::START);
    EXPECT_LT(std::get<3>(resume[0]), 600u);

    m.StepUnit(1, 0);
    m.StepUnit(2, 0);
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_TRUE(Paths().empty());

    m.HandleMissionEvent(2);   // no such command
    EXPECT_TRUE(world.Taken().empty());
    m.HandleMissionEvent(MissionEventCode::START);
    EXPECT_EQ(m.missionFlags & MissionFlag::DELAYED_START, 0u);
    EXPECT_EQ(world.Taken(), (Queued{{MISSION_UNIT, 1, 0, 0}, {MISSION_UNIT, 2, 0, 0}}));
}

TEST(PatrolStep, AUnitOnItsPathIsSteppedAgainOnArrival)
{
    struct Row {
        int16_t state;
        uint32_t time;   // carried by the event on the path's last point
    };
    const Row rows[] = {
        {PatrolState::ADDED, 0},          {PatrolState::PATROLLING, 0},
        {PatrolState::SEARCHING, 0},      {PatrolState::LISTENING, 1800},
        {PatrolState::REARM_INVESTIGATED, 120}, {PatrolState::REARM_ATTACKED, 120},
        {PatrolState::SUBMARINE_LEG, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.state);
        PatrolWorld world;
        world.MakePatrol({{10 * NM, 10 * NM}});
        FakeUnit& unit = world.Add(1, 'P', r.state);
        GivePath(unit);
        world.patrol->StepUnit(1, 0);
        EXPECT_EQ(world.StateOf(1), r.state);
        EXPECT_TRUE(world.Taken().empty());
        EXPECT_TRUE(unit.GetPath()->GetEvents().First() == nullptr);
        const Event* armed = unit.GetPath()->LastOfChain()->GetEvents().First();
        ASSERT_NE(armed, nullptr);
        EXPECT_EQ(armed->TypeCode(), MISSION_UNIT);
        EXPECT_EQ(armed->GetTime().Get(), r.time);
        EXPECT_EQ(armed->GetNext(), nullptr);
    }
}

TEST(PatrolStep, AUnitUnderDirectOrdersIsNotStepped)
{
    PatrolWorld world;
    world.MakePatrol({{10 * NM, 10 * NM}});
    FakeUnit& unit = world.Add(1, 'S', PatrolState::PATROLLING);
    unit.SetStateFlags(unit.GetStateFlags() | SimObject::PATH_REQUESTED);
    world.patrol->StepUnit(1, 0);
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_TRUE(Paths().empty());
}

TEST(PatrolStep, AJoiningUnitHeadsForTheAreaOrStartsPatrolling)
{
    PatrolWorld world;
    PatrolMission& m = world.MakePatrol({{10 * NM, 10 * NM}});
    m.PatrolArea = LatLonRect(12 * NM, 8 * NM, 8 * NM, 12 * NM);
    world.Add(1, 'S', PatrolState::ADDED, {9 * NM, 9 * NM});
    world.Add(2, 'S', PatrolState::ADDED, {40 * NM, 9 * NM});
    m.StepUnit(1, 0);
    EXPECT_EQ(world.StateOf(1), PatrolState::PATROLLING);
    EXPECT_EQ(world.Taken(), (Queued{{MISSION_UNIT, 1, 0, 0}}));
    EXPECT_TRUE(Paths().empty());

    m.StepUnit(2, 0);
    EXPECT_EQ(world.StateOf(2), PatrolState::PATROLLING);
    ASSERT_EQ(Paths().size(), 1u);
    EXPECT_EQ(Paths()[0].unitID, 2);
    EXPECT_EQ(Paths()[0].end, LatLonPoint(10 * NM, 10 * NM)) << "the point itself";
    const Queued orders = world.Taken();
    ASSERT_FALSE(orders.empty());
    EXPECT_EQ(std::get<0>(orders[0]), SET_ALTITUDE);
}

TEST(PatrolStep, PointAlongLegStaysWithinItsSpan)
{
    struct Row {
        int32_t low, span;
        int32_t lowest, highest;   // percent of the leg
    };
    const Row rows[] = {
        {20, 80, 20, 99},
        {5, 10, 5, 14},
        {10, 20, 10, 29},
        {95, 10, 95, 99},   // the span is cut to what is left of the leg
    };
    PatrolWorld world;
    const LatLonPoint from(0, 0);
    const LatLonPoint to(100 * NM, 0);   // 100 nm due north: a hundredth is 1 nm
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.low << " + " << r.span);
        int32_t nearest = 100, farthest = 0;
        for (int draw = 0; draw < 400; ++draw) {
            const LatLonPoint p = PatrolMission::PointAlongLeg(from, to, r.low, r.span);
            const int32_t range = NavMath::Get_Vector(from, p).range;
            const int32_t percent = (range + NM / 2) / NM;
            EXPECT_EQ(std::abs(range - percent * NM) <= 2, true) << range;
            nearest = std::min(nearest, percent);
            farthest = std::max(farthest, percent);
        }
        EXPECT_EQ(nearest, r.lowest);
        EXPECT_EQ(farthest, r.highest);
    }
    // A leg shorter than 100 range units has no hundredth: the point stays.
    EXPECT_EQ(PatrolMission::PointAlongLeg(from, LatLonPoint(40, 0), 20, 80), from);
}

TEST(PatrolStep, APatrolWhosePointsAreGoneEndsWithOneLogLine)
{
    ReportCapture reports;
    PatrolWorld world;
    PatrolMission& m = world.MakePatrol({{10 * NM, 10 * NM}});
    world.Add(1, 'S', PatrolState::PATROLLING);
    world.Add(2, 'S', PatrolState::SEARCHING);
    ASSERT_TRUE(world.side.DeletePoint(m.PatrolPoints.First()->GetKey()));

    // The first pick finds the point gone and forgets it; the unit tries again.
    m.StepUnit(1, 0);
    EXPECT_EQ(m.PatrolPoints.First(), nullptr);
    EXPECT_EQ(m.missionFlags & MissionFlag::FINISHED, 0u);
    EXPECT_EQ(world.Taken(), (Queued{{MISSION_UNIT, 1, 0, 0}}));
    EXPECT_TRUE(reports.posts.empty());

    // With none left the mission finishes: one line, however many units
    // step before the side pass removes it, and no more retries.
    m.StepUnit(1, 0);
    m.StepUnit(2, 0);
    EXPECT_NE(m.missionFlags & MissionFlag::FINISHED, 0u);
    ASSERT_EQ(reports.posts.size(), 1u);
    EXPECT_EQ(reports.posts[0].rfind("North", 0), 0u) << "the mission's name leads";
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_TRUE(Paths().empty());
    EXPECT_EQ(world.StateOf(1), PatrolState::PATROLLING);
    EXPECT_EQ(world.StateOf(2), PatrolState::SEARCHING);
}

TEST(PatrolStep, ARunThatCannotBePlannedGoesBackToPatrolUnlessTheMissionFinished)
{
    for (bool finished : {false, true}) {
        SCOPED_TRACE(finished);
        PatrolWorld world;
        PatrolMission& m = world.MakePatrol({{10 * NM, 10 * NM}});
        if (finished)
            m.missionFlags |= MissionFlag::FINISHED;
        world.Add(1, 'P', PatrolState::CLASSIFYING);
        m.units.Find(1)->targetID = 77;   // no contact on it
        m.units.Find(1)->targetClass = 0x2;
        m.StepUnit(1, 0);
        EXPECT_EQ(world.StateOf(1), finished ? PatrolState::CLASSIFYING : PatrolState::PATROLLING);
        EXPECT_EQ(world.Taken(), finished ? Queued{} : (Queued{{MISSION_UNIT, 1, 0, 0}}));
        EXPECT_TRUE(Paths().empty());
    }
}

TEST(PatrolStep, AReportOnTheWayTurnsASentUnitAsideOnAShortLeg)
{
    PatrolWorld world;
    world.MakePatrol({{10 * NM, 10 * NM}});
    world.Add(1, 'S', PatrolState::ATTACKING);
    world.patrol->StepUnit(1, 1);
    EXPECT_EQ(world.StateOf(1), PatrolState::ATTACKING);
    ASSERT_EQ(Paths().size(), 1u);
    const int32_t range = NavMath::Get_Vector(LatLonPoint(), Paths()[0].end).range;
    const int32_t whole = NavMath::Get_Vector(LatLonPoint(), LatLonPoint(10 * NM, 10 * NM)).range;
    EXPECT_GE(range, whole / 100 * 5 - 2);
    EXPECT_LE(range, whole / 100 * 14 + 2);
}
