// StandingMissionTest.cpp: the two standing missions of a side: mission 1's
// idle and engaging steps, its report to the player and sensor posture;
// mission 2's hand-over to mission 1 and its self-defence; both saved forms.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/ResourceText.h"
#include "missions/HoldingMission.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionCalls.h"
#include "missions/OpsStaff.h"
#include "missions/StandingMission.h"
#include "support/TempTree.h"
#include "units/AirGroup.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/UnitEvents.h"
#include "units/UnitTestSupport.h"
#include "PlanningWorld.h"

namespace {

using planningtest::FakeUnit;
using unittest::TestEvent;

constexpr int32_t NM = 4096;   // range units, and angle units of latitude
constexpr uint8_t LAND = 0x10;
constexpr uint8_t MISSION_UNIT = 0x47;
constexpr uint8_t SET_ALTITUDE = 0x3E;
constexpr uint8_t SET_SENSORS = 0x08;

// What the missions hand to the layers above, in order.
struct Noted {
    std::vector<std::string> messages;
    std::vector<std::pair<uint16_t, uint8_t>> parentNotices;
    std::vector<uint32_t> postures;
};
Noted& Notes()
{
    static Noted notes;
    return notes;
}

// The arena of PlanningWorld with events that remember their values, the
// bridge calls noted, the sample resource texts, and both standing missions
// of side 1 as free-standing missions.
class StandingWorld : public planningtest::PlanningWorld {
public:
    StandingWorld()
    {
        Notes() = Noted{};
        UnitEventCalls events;
        events.makeLandEvent = [](uint16_t unitID, uint16_t baseID, GameTime) -> Event* {
            return new TestEvent(LAND, unitID, baseID);
        };
        events.makeMissionUnitEvent = [](uint16_t unitID, GameTime) -> Event* {
            return new TestEvent(MISSION_UNIT, unitID);
        };
        events.makeSetAltitudeEvent = [](uint16_t unitID, int32_t altitude, GameTime) -> Event* {
            return new TestEvent(SET_ALTITUDE, unitID, static_cast<uint16_t>(altitude));
        };
        previousEvents = SetUnitEventCalls(events);
        MissionCalls calls;
        calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t value, uint16_t, uint8_t, uint16_t,
                                       uint8_t) -> Event* {
            return new TestEvent(SET_SENSORS, unitID, static_cast<uint16_t>(mode << 8 | value));
        };
        calls.notifyParentUnit = [](uint16_t unitID, uint8_t value) {
            Notes().parentNotices.emplace_back(unitID, value);
        };
        previousCalls = SetMissionCalls(calls);
        PlaneBridgeCalls bridge;
        bridge.postGameMessage = [](uint16_t, uint16_t, const char* text, uint16_t messageClass, char) {
            EXPECT_EQ(messageClass, 0x20);
            Notes().messages.emplace_back(text);
        };
        previousBridge = SetPlaneBridgeCalls(bridge);
        MissionAircraftCalls aircraft;
        aircraft.setPosture = [](Unit&, uint32_t posture) { Notes().postures.push_back(posture); };
        previousAircraft = SetMissionAircraftCalls(aircraft);
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
        standing = std::make_unique<StandingMission>(0, "Unassigned", &side);
        standing->SetKey(1);
        holding = std::make_unique<HoldingMission>(0, "Holding", &side);
        holding->SetKey(2);
    }
    ~StandingWorld()
    {
        TheResourceLoader = nullptr;
        loader.reset();
        SetMissionAircraftCalls(previousAircraft);
        SetPlaneBridgeCalls(previousBridge);
        SetMissionCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
    }

    // A unit of the arena in `mission` with that state.
    FakeUnit& Add(MissionRecord& mission, uint16_t id, char letter, int16_t state = MissionUnitState::IDLE,
                  const LatLonPoint& at = {})
    {
        FakeUnit& unit = AddUnit(id, letter, at, false);
        auto* r = new MissionUnitRec(id);
        r->state = state;
        mission.units.Insert(r);
        return unit;
    }
    // A real unit class (plane, air group) placed in the arena and mission.
    template <typename T>
    T& AddReal(MissionRecord& mission, uint16_t id)
    {
        auto* unit = new T();
        unit->SetKey(id);
        unit->sideEntryID = record->GetKey();
        units.Insert(unit);
        auto* r = new MissionUnitRec(id);
        r->state = MissionUnitState::IDLE;
        mission.units.Insert(r);
        return *unit;
    }
    // A path of two points for the unit.
    static void GivePath(Unit& unit)
    {
        auto* first = new PositionNode(nullptr, nullptr);
        new PositionNode(nullptr, first);
        unit.SetPath(first);
    }
    // The queued events as (code, unit, value), head first; the queue is
    // emptied.
    std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> Taken()
    {
        std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> seen;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            seen.emplace_back(e->TypeCode(), e->GetSubject(), static_cast<TestEvent*>(e)->Value());
            delete e;
        }
        return seen;
    }

    std::unique_ptr<StandingMission> standing;
    std::unique_ptr<HoldingMission> holding;

private:
    UnitEventCalls previousEvents;
    MissionCalls previousCalls;
    PlaneBridgeCalls previousBridge;
    MissionAircraftCalls previousAircraft;
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
};

using Events = std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>;

} // namespace

// ---- mission 1 ----

TEST(StandingMission, NewMissionAndItsSavedForm)
{
    StandingWorld world;
    StandingMission& m = *world.standing;
    EXPECT_EQ(m.GetType(), 1);
    EXPECT_EQ(m.missionFlags, 0u);
    EXPECT_STREQ(m.GetSavedName(), "Unassigned");
    world.Add(m, 5, 'S');

    // The saved mission is the base record alone, and reads back byte for byte.
    std::ostringstream saved;
    ASSERT_TRUE(m.Save(saved));
    std::ostringstream base;
    m.SaveBase(base);
    EXPECT_EQ(saved.str(), base.str());
    std::istringstream in(saved.str().substr(2));   // the list reads the type code
    StandingMission loaded(1, &world.side);
    ASSERT_TRUE(loaded.Load(in));
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), saved.str());
    EXPECT_EQ(loaded.side, &world.side);

    // A record cut short leaves the stream failed.
    for (size_t n = 0; n + 2 < saved.str().size(); n += 7) {
        std::istringstream cut(saved.str().substr(2, n));
        StandingMission partial(1, &world.side);
        EXPECT_FALSE(partial.Load(cut)) << n;
    }
}

TEST(StandingMission, IdleUnitOfTheComputerSide)
{
    StandingWorld world;
    StandingMission& m = *world.standing;
    Plane& homed = world.AddReal<Plane>(m, 1);
    homed.homeBaseID = 50;
    Plane& led = world.AddReal<Plane>(m, 2);
    led.homeBaseID = 50;
    m.units.Find(2)->leaderID = 9;
    Plane& homeless = world.AddReal<Plane>(m, 3);
    AirGroup& group = world.AddReal<AirGroup>(m, 4);
    Plane& lead = world.AddReal<Plane>(m, 5);
    lead.homeBaseID = 51;
    lead.SetParentID(4);
    group.leadID = 5;
    world.Add(m, 6, 'U');
    world.Add(m, 7, 'S');
    FakeUnit& moving = world.Add(m, 8, 'U');
    StandingWorld::GivePath(moving);
    (void)homeless;

    struct Row {
        uint16_t unitID;
        Events expected;
    } rows[] = {
        {1, {{LAND, 1, 50}}},
        {2, {}},                               // a led plane is left to its leader
        {3, {}},                               // no home base
        {4, {{LAND, 4, 51}}},                  // an air group goes to its lead's home base
        {6, {{SET_ALTITUDE, 6, 0xFFFE}}},      // a submarine goes to depth 2
        {7, {}},                               // a ship stays
        {8, {}},                               // a unit with a path is woken at its end
    };
    for (const Row& r : rows) {
        m.StepUnit(r.unitID, 0);
        EXPECT_EQ(world.Taken(), r.expected) << r.unitID;
    }
    EXPECT_TRUE(Notes().messages.empty());
    const PositionNode* last = moving.GetPath()->GetNext();
    ASSERT_EQ(last->GetEvents().First() != nullptr, true);
    EXPECT_EQ(last->GetEvents().First()->TypeCode(), MISSION_UNIT);
    EXPECT_EQ(last->GetEvents().First()->GetSubject(), 8);
    EXPECT_EQ(moving.GetPath()->GetEvents().First(), nullptr);
}

TEST(StandingMission, IdleUnitOfThePlayerIsReported)
{
    StandingWorld world;
    StandingMission& m = *world.standing;
    world.side.SetClearOrders(1);
    ASSERT_NE(world.side.GetClearOrders(), 0);
    Plane& plane = world.AddReal<Plane>(m, 1);
    plane.homeBaseID = 50;
    plane.SetName("Hawk 1");
    plane.SetClassName("Falcon");
    FakeUnit& group = world.Add(m, 2, 'G');
    group.SetName("Task Group");
    m.units.Find(2)->isFormation = 1;
    m.StepUnit(1, 0);
    m.StepUnit(2, 0);
    EXPECT_TRUE(world.Taken().empty());   // not sent home
    const std::string idle = ResourceString(StandingMission::IDLE_REPORT_TEXT);
    EXPECT_FALSE(idle.empty());
    EXPECT_EQ(Notes().messages, (std::vector<std::string>{"Hawk 1 Falcon" + idle, "Task Group" + idle}));
}

TEST(StandingMission, UnitsTheStepLeavesAlone)
{
    StandingWorld world;
    StandingMission& m = *world.standing;
    world.Add(m, 1, 'B');
    world.Add(m, 2, 'F');
    world.Add(m, 3, 'U').SetParentID(40);                          // a member, idle
    world.Add(m, 4, 'U').SetStateFlags(SimObject::PATH_REQUESTED);
    world.Add(m, 5, 'U', MissionUnitState::DONE);
    world.Add(m, 6, 'U', MissionUnitState::ENGAGING);               // no step for other states
    world.AddUnit(7, 'U', {}, false);                                // not in the mission
    for (uint16_t id = 1; id <= 8; ++id)
        m.StepUnit(id, 0);
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_EQ(m.units.Find(6)->state, MissionUnitState::ENGAGING);
}

TEST(StandingMission, EngagingStep)
{
    struct Row {
        const char* name;
        int32_t north;          // contact's offset from the unit, range units
        bool courseKnown;
        uint16_t course;        // whole degrees
        bool accepts;
        bool member;            // the unit has a leader
        bool contact;           // the contact exists
        int16_t stateAfter;
        int asked;
        std::vector<std::pair<uint16_t, uint8_t>> notices;
    } rows[] = {
        {"in reach, accepted", 29 * NM, false, 0, true, false, true, MissionUnitState::ORDERED, 1, {}},
        {"exactly 30 nm is out of reach", 30 * NM, false, 0, true, false, true, MissionUnitState::IDLE, 0, {}},
        {"refused", 10 * NM, false, 0, false, false, true, MissionUnitState::IDLE, 1, {}},
        {"course 5 degrees off passes", 10 * NM, true, 5, true, false, true, MissionUnitState::ORDERED, 1, {}},
        {"course 355 passes", 10 * NM, true, 355, true, false, true, MissionUnitState::ORDERED, 1, {}},
        {"course 6 degrees off fails", 10 * NM, true, 6, true, false, true, MissionUnitState::IDLE, 0, {}},
        {"member engages and tells", 10 * NM, false, 0, true, true, true, MissionUnitState::ORDERED, 1, {{1, 1}}},
        {"member refused tells twice", 10 * NM, false, 0, false, true, true, MissionUnitState::IDLE, 1,
         {{1, 0}, {1, 0}}},
        {"member without contact tells", 10 * NM, false, 0, true, true, false, MissionUnitState::IDLE, 0, {{1, 0}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        StandingWorld world;
        StandingMission& m = *world.standing;
        FakeUnit& unit = world.Add(m, 1, 'S', MissionUnitState::ON_DUTY);
        unit.acceptsEngagement = r.accepts;
        MissionUnitRec* record = m.units.Find(1);
        record->targetID = 40;
        record->markBits = UNIT_POSTURE_APPLIED;
        if (r.member) {
            record->leaderID = 9;
            unit.SetParentID(9);
        }
        if (r.contact) {
            Contact& c = world.AddContact(40, 0x1, {r.north, 0});
            if (r.courseKnown) {
                c.knownBits |= ContactKnown::COURSE;
                c.course = r.course;
            }
        }
        m.StepUnit(1, 0);
        EXPECT_EQ(record->state, r.stateAfter);
        EXPECT_EQ(unit.engageAsked, r.asked);
        EXPECT_EQ(Notes().parentNotices, r.notices);
        if (r.stateAfter == MissionUnitState::ORDERED) {
            EXPECT_EQ(record->targetID, 40);
            EXPECT_EQ(record->targetClass, 0x1u);
            // The posture is set again for the new state: a ship's sensors go active.
            EXPECT_EQ(world.Taken(), (Events{{SET_SENSORS, 1, 2 << 8 | 5}}));
        } else {
            EXPECT_EQ(record->targetID, 0);
            EXPECT_TRUE(world.Taken().empty());
        }
    }
}

TEST(StandingMission, OrderedEngagementCountsAsStarted)
{
    StandingWorld world;
    StandingMission& m = *world.standing;
    FakeUnit& unit = world.Add(m, 1, 'S', MissionUnitState::ORDERED);
    m.units.Find(1)->targetID = 40;
    world.AddContact(40, 0x1, {NM, 0});
    m.StepUnit(1, 0);
    EXPECT_EQ(m.units.Find(1)->state, MissionUnitState::ON_DUTY);
    EXPECT_EQ(m.units.Find(1)->targetID, 40);
    EXPECT_EQ(unit.engageAsked, 0);
}

TEST(StandingMission, SensorPostureByStateAndLetter)
{
    struct Row {
        int16_t state;
        char letter;
        Events expected;
    } rows[] = {
        {MissionUnitState::ENGAGING, 'P', {{SET_SENSORS, 1, 2 << 8 | 1}}},
        {MissionUnitState::ON_DUTY, 'S', {{SET_SENSORS, 1, 2 << 8 | 5}}},
        {MissionUnitState::ORDERED, 'U', {{SET_SENSORS, 1, 2 << 8 | 5}}},
        {MissionUnitState::ON_DUTY, 'P', {}},
        {MissionUnitState::ORDERED, 'A', {}},
        {MissionUnitState::IDLE, 'S', {{SET_SENSORS, 1, 3 << 8 | 7}}},
        {MissionUnitState::DONE, 'P', {{SET_SENSORS, 1, 3 << 8 | 7}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.state << r.letter);
        StandingWorld world;
        StandingMission& m = *world.standing;
        world.Add(m, 1, r.letter, r.state);
        MissionUnitRec* record = m.units.Find(1);
        m.SetUnitPosture(1, record);
        EXPECT_EQ(world.Taken(), r.expected);
        EXPECT_EQ(record->markBits & UNIT_POSTURE_APPLIED, UNIT_POSTURE_APPLIED);
        m.SetUnitPosture(1, record);   // once per state
        EXPECT_TRUE(world.Taken().empty());
    }
}

TEST(StandingMission, ReleaseAndLaunches)
{
    StandingWorld world;
    StandingMission& m = *world.standing;
    FakeUnit& unit = world.Add(m, 1, 'S', MissionUnitState::ON_DUTY);
    m.ReleaseUnit(&unit);
    EXPECT_EQ(m.units.Find(1)->state, MissionUnitState::DONE);
    m.ReleaseUnit(&unit);
    EXPECT_EQ(m.units.Find(1)->state, MissionUnitState::DONE);
    m.StepUnit(1, 0);   // a released unit is not stepped
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_TRUE(m.LaunchForUnit(&unit, 1, 2, 3, 0));
    EXPECT_TRUE(m.LaunchReplacement(&unit, m.units.Find(1)));
}

// ---- mission 2 ----

TEST(HoldingMission, NewMissionAndItsSavedForm)
{
    StandingWorld world;
    HoldingMission& m = *world.holding;
    EXPECT_EQ(m.GetType(), 2);
    EXPECT_EQ(m.missionFlags, 1u);
    EXPECT_STREQ(m.GetName(), "Holding");
    EXPECT_EQ(std::string(m.GetSavedName()), ResourceString(HoldingMission::DESCRIPTION_TEXT));
    EXPECT_NE(std::string(m.GetSavedName()), "");
    world.Add(m, 5, 'S', MissionUnitState::ON_DUTY);
    std::ostringstream saved;
    ASSERT_TRUE(m.Save(saved));
    std::istringstream in(saved.str().substr(2));
    HoldingMission loaded(2, &world.side);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetType(), 2);
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), saved.str());
}

TEST(HoldingMission, DefendingStep)
{
    struct Row {
        const char* name;
        int16_t state;
        int32_t north;
        bool accepts;
        bool contact;
        int16_t stateAfter;
    } rows[] = {
        {"ordered becomes engaging", MissionUnitState::ORDERED, 10 * NM, true, true, MissionUnitState::ON_DUTY},
        {"in reach", MissionUnitState::ON_DUTY, 10 * NM, true, true, MissionUnitState::ORDERED},
        {"beyond 30 nm", MissionUnitState::ON_DUTY, 31 * NM, true, true, MissionUnitState::IDLE},
        {"refused", MissionUnitState::ON_DUTY, 10 * NM, false, true, MissionUnitState::IDLE},
        {"no contact", MissionUnitState::ON_DUTY, 10 * NM, true, false, MissionUnitState::IDLE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        StandingWorld world;
        HoldingMission& m = *world.holding;
        FakeUnit& unit = world.Add(m, 1, 'S', r.state);
        unit.acceptsEngagement = r.accepts;
        unit.SetParentID(9);   // a grouped unit still defends itself
        m.units.Find(1)->targetID = 40;
        if (r.contact)
            world.AddContact(40, 0x4, {r.north, 0});
        m.StepUnit(1, 0);
        EXPECT_EQ(m.units.Find(1)->state, r.stateAfter);
        EXPECT_EQ(m.units.Find(1)->targetID, r.stateAfter == MissionUnitState::IDLE ? 0 : 40);
    }
}

TEST(HoldingMission, UnitsLeftAloneAndReports)
{
    StandingWorld world;
    HoldingMission& m = *world.holding;
    world.Add(m, 1, 'B');
    world.Add(m, 2, 'F');
    world.Add(m, 3, 'S').SetParentID(40);   // a grouped idle unit is not moved
    FakeUnit& moving = world.Add(m, 4, 'S');
    StandingWorld::GivePath(moving);
    for (uint16_t id = 1; id <= 4; ++id)
        m.StepUnit(id, 0);
    for (uint16_t id = 1; id <= 4; ++id)
        EXPECT_NE(m.units.Find(id), nullptr) << id;
    EXPECT_TRUE(world.Taken().empty());
    ASSERT_NE(moving.GetPath()->GetNext()->GetEvents().First(), nullptr);
    EXPECT_EQ(moving.GetPath()->GetNext()->GetEvents().First()->TypeCode(), MISSION_UNIT);

    // Reports are taken and ignored, nothing is launched, release sets done once.
    FakeUnit& unit = world.Add(m, 5, 'S', MissionUnitState::ON_DUTY);
    EXPECT_TRUE(m.LaunchForUnit(&unit, 1, 2, 3, 1));
    EXPECT_TRUE(m.LaunchReplacement(&unit, m.units.Find(5)));
    m.ReleaseUnit(&unit);
    EXPECT_EQ(m.units.Find(5)->state, MissionUnitState::DONE);
    m.ReleaseUnit(&unit);
    EXPECT_EQ(m.units.Find(5)->state, MissionUnitState::DONE);
}

TEST(HoldingMission, PlanesLoseTheirAttackClass)
{
    StandingWorld world;
    HoldingMission& m = *world.holding;
    Plane& plane = world.AddReal<Plane>(m, 1);
    FakeUnit& ship = world.Add(m, 2, 'S');
    FakeUnit& group = world.Add(m, 3, 'A');
    m.SetAircraftPosture(&plane, 0x4);
    m.SetAircraftPosture(&ship, 0x4);
    m.SetAircraftPosture(&group, 0x4);
    EXPECT_EQ(Notes().postures, (std::vector<uint32_t>{0}));
}

TEST(HoldingMission, IdleUnitsGoOnToMissionOne)
{
    StandingWorld world;
    OpsStaff* staff = world.side.GetOpsStaff();
    ASSERT_NE(staff, nullptr);
    auto* holding = dynamic_cast<HoldingMission*>(staff->Find(STANDING_MISSION2_ID));
    MissionRecord* standing = staff->Find(STANDING_MISSION_ID);
    ASSERT_NE(holding, nullptr);
    ASSERT_NE(standing, nullptr);
    world.Add(*holding, 1, 'S');
    // A formation goes with the units that move with it.
    world.Add(*holding, 2, 'G');
    holding->units.Find(2)->isFormation = 1;
    world.Add(*holding, 3, 'S').SetParentID(2);
    holding->units.Find(3)->leaderID = 2;
    holding->StepUnit(1, 0);
    holding->StepUnit(2, 0);
    for (uint16_t id = 1; id <= 3; ++id) {
        EXPECT_EQ(holding->units.Find(id), nullptr) << id;
        EXPECT_NE(standing->units.Find(id), nullptr) << id;
    }
}
