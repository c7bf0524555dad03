// Tests of a mission's contact planning: classification, re-check
// intervals, ageing, the tasks made and their order, the planning steps and
// the units sent against contacts in reach.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "PlanningWorld.h"
#include "core/Units.h"
#include "missions/MissionCalls.h"
#include "world/UncertainPoly.h"

using planningtest::PlanningWorld;

namespace {

std::vector<uint16_t> Targets(const MissionTaskChain& chain)
{
    std::vector<uint16_t> ids;
    for (const MissionTask* t = chain.First(); t != nullptr; t = t->GetNext())
        ids.push_back(t->targetID);
    return ids;
}

}  // namespace

TEST(MissionPlanning, ClassifiesContacts)
{
    struct Row {
        const char* name;
        uint32_t classBits;
        uint8_t sideID;
        uint8_t firstMark, secondMark;
        uint16_t track;
        bool unitExists;
        uint16_t expected;
    };
    const Row rows[] = {
        {"no class", 0, 2, 0, 0, 0, true, 0},
        {"hostile surface", 0x1, 2, 0, 0, 0, true, 1},
        {"friendly surface", 0x1, 3, 0, 0, 0, true, 0},
        {"hostile missile", 0x8, 2, 0, 0, 0, true, 1},
        {"hostile missile, second mark", 0x8, 2, 0, 1, 0, true, 0},
        {"hostile missile, unit gone, course", 0x8, 2, 0, 0, 0x2, false, 0},
        {"hostile torpedo, course known", 0x800, 2, 0, 0, 0x2, true, 5},
        {"hostile torpedo", 0x800, 2, 0, 0, 0, true, 0},
        {"unknown side, surface, first mark", 0x1, 0, 1, 0, 0, true, 1},
        {"unknown side, surface", 0x1, 0, 0, 0, 0, true, 0},
        {"unknown side, missile", 0x8, 0, 0, 0, 0, true, 1},
        {"unknown side, missile unit gone, course", 0x8, 0, 0, 0, 0x2, false, 0},
        {"unknown side, torpedo, course", 0x800, 0, 0, 0, 0x2, true, 5},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        world.AddUnit(1, 'S').reachTenths = 100;
        if (r.unitExists)
            world.AddUnit(40, 'W', {}, false);
        Contact& contact = world.AddContact(40, r.classBits, {4096, 0}, r.sideID);
        contact.hostileAct = r.firstMark;
        contact.bandFlag = r.secondMark;
        contact.knownBits = r.track;
        EXPECT_EQ(world.mission.ClassifyContact(&contact, world.record), r.expected) << r.name;
    }
}

TEST(MissionPlanning, MissileLaunchedByAircraftIsOnlyWatched)
{
    PlanningWorld world;
    world.AddUnit(1, 'S').reachTenths = 100;
    world.AddUnit(60, 'P', {}, false);
    world.AddUnit(40, 'W', {}, false).launcherID = 60;
    Contact& contact = world.AddContact(40, 0x8, {4096, 0});
    EXPECT_EQ(world.mission.ClassifyContact(&contact, world.record), 0);
    contact.knownBits = ContactKnown::COURSE;
    EXPECT_EQ(world.mission.ClassifyContact(&contact, world.record), 5);
}

TEST(MissionPlanning, ContactInReachByRangeOrByCourse)
{
    PlanningWorld world;
    world.AddUnit(1, 'S').reachTenths = 100;   // 10 nm
    Contact& near = world.AddContact(40, 0x1, {9 * 4096, 0});
    Contact& far = world.AddContact(41, 0x1, {20 * 4096, 0});
    EXPECT_TRUE(world.mission.IsContactInReach(&near, world.record));
    EXPECT_FALSE(world.mission.IsContactInReach(&far, world.record));
    near.conditionBits = 0x8;   // lost
    EXPECT_FALSE(world.mission.IsContactInReach(&near, world.record));

    // An air contact due north of the unit heading south (toward it) is in
    // reach however far; 6 degrees off its course it is not.
    Contact& air = world.AddContact(42, 0x4, {40 * 4096, 0});
    air.knownBits = ContactKnown::COURSE;
    air.course = 0;   // the bearing from the unit is 0
    EXPECT_TRUE(world.mission.IsContactInReach(&air, world.record));
    air.course = 354;
    EXPECT_FALSE(world.mission.IsContactInReach(&air, world.record));
    air.course = 356;
    EXPECT_TRUE(world.mission.IsContactInReach(&air, world.record));

    // On the player's own side only air, missile and torpedo classes count.
    world.MakePlayerSide();
    EXPECT_FALSE(world.mission.IsContactInReach(&far, world.record));
    Contact& nearAgain = world.AddContact(43, 0x1, {4096, 0});
    EXPECT_FALSE(world.mission.IsContactInReach(&nearAgain, world.record));
    EXPECT_TRUE(world.mission.IsContactInReach(&air, world.record));
}

TEST(MissionPlanning, ReCheckIntervals)
{
    struct Row {
        uint32_t classBits;
        uint8_t sideID;
        uint16_t code;
        uint32_t seconds;
    };
    const Row rows[] = {
        {0x1, 3, 0, 3600},   // friendly, identified
        {0x4, 2, 0, 60},   {0x14, 2, 0, 60}, {0x8, 2, 0, 5}, {0x800, 2, 0, 120}, {0x1, 2, 0, 300},
        {0x4, 2, 1, 15},   {0x8, 2, 5, 1},   {0x1, 2, 1, 120}, {0x1, 2, 2, 0},   {0x1, 2, 6, 0},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        Contact& contact = world.AddContact(40, r.classBits, {}, r.sideID);
        world.mission.ScheduleContactCheck(&contact, r.code);
        EXPECT_EQ(contact.pendingHold, r.seconds) << "class " << r.classBits << " code " << r.code;
    }
}

TEST(MissionPlanning, AgesContactsByClass)
{
    struct Row {
        uint32_t classBits;
        uint32_t silence;   // seconds since the last report
        bool aged;
    };
    const Row rows[] = {
        {0x8, 120, false}, {0x8, 121, true},  {0x18, 121, true}, {0x20, 100000, false},
        {0x1, 7200, false}, {0x1, 7201, true}, {0x2, 3601, true}, {0x4, 181, true},
        {0x800, 301, true}, {0, 301, true},    {0x1000, 61, true}, {0x1000, 60, false},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        world.SetTime(10000);
        Contact& contact = world.AddContact(40, r.classBits);
        contact.lastDetection = GameTime(10000 - r.silence);
        world.mission.AgeContact(&contact);
        EXPECT_EQ((contact.changeBits & 0x40) != 0, r.aged) << "class " << r.classBits << " after " << r.silence;
    }
}

TEST(MissionPlanning, MakesTasksWithPriorityAndEstimate)
{
    struct Row {
        uint32_t classBits;
        uint8_t size;
        uint16_t priority, needCount, needValue;
    };
    const Row rows[] = {
        {0x8, 0, 100, 0, 0},   {0x800, 0, 100, 0, 0}, {0x4, 0, 90, 0, 0},   {0x1, 8, 80, 12, 250},
        {0x11, 1, 80, 2, 20},  {0x1, 3, 80, 1, 1},    {0x2, 0, 10, 0, 20},  {0x20, 0, 10, 0, 50},
        {0x200, 0, 10, 0, 40},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        world.mission.targetClasses = 0x1;
        Contact& contact = world.AddContact(40, r.classBits);
        contact.sizeClass = r.size;
        contact.threat[0] = 3;
        contact.threat[1] = 44;
        MissionTask* task = world.mission.MakeTask(&contact);
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(task->targetID, 40);
        EXPECT_EQ(task->priority, r.priority) << "class " << r.classBits;
        EXPECT_EQ(task->needCount, r.needCount) << "class " << r.classBits;
        EXPECT_EQ(task->needValue, r.needValue) << "class " << r.classBits;
        EXPECT_EQ(task->allocatedCount, 3);
        EXPECT_EQ(task->allocatedValue, 44);
        delete task;
    }
}

TEST(MissionPlanning, IdentifiedContactTakesItsUnitsStrength)
{
    PlanningWorld world;
    planningtest::FakeUnit& target = world.AddUnit(40, 'S', {}, false);
    target.strengthLow = 7;
    target.strengthHigh = 700;
    Contact& contact = world.AddContact(40, 0x1);
    contact.identifiedAs = 40;
    MissionTask task(40);
    world.mission.FillTaskEstimate(&task, &contact, 0x1);
    EXPECT_EQ(task.needCount, 7);
    EXPECT_EQ(task.needValue, 700);
}

TEST(MissionPlanning, WeaponsHoldOnThePlayersSideWatchesInstead)
{
    PlanningWorld world;
    world.AddUnit(1, 'S').reachTenths = 100;
    world.mission.weaponsFree = 0;
    world.MakePlayerSide();
    Contact& contact = world.AddContact(40, 0x4, {4096, 0});
    world.mission.ConsiderContact(&contact, world.record);
    EXPECT_EQ(world.mission.scheduled, (std::vector<uint16_t>{0, 5}));
    EXPECT_EQ(Targets(world.mission.watchTasks), (std::vector<uint16_t>{40}));
    EXPECT_EQ(world.mission.engageTasks.First(), nullptr);

    world.mission.weaponsFree = 1;
    world.mission.scheduled.clear();
    world.mission.ConsiderContact(&contact, world.record);
    EXPECT_EQ(world.mission.scheduled, (std::vector<uint16_t>{1}));
    EXPECT_EQ(Targets(world.mission.engageTasks), (std::vector<uint16_t>{40}));
    // The same contact again is not queued twice.
    world.mission.ConsiderContact(&contact, world.record);
    EXPECT_EQ(Targets(world.mission.engageTasks), (std::vector<uint16_t>{40}));
}

TEST(MissionPlanning, EngageTasksQueueByPriority)
{
    PlanningWorld world;
    world.AddUnit(1, 'S').reachTenths = 100;
    world.AddContact(40, 0x4, {4096, 0});   // 90
    world.AddContact(41, 0x8, {4096, 0});   // 100
    world.AddContact(42, 0x4, {4096, 0});   // 90
    world.AddUnit(41, 'W', {}, false);
    for (const uint16_t id : {40, 41, 42})
        world.mission.ConsiderContact(world.record->GetContact(id), world.record);
    EXPECT_EQ(Targets(world.mission.engageTasks), (std::vector<uint16_t>{41, 40, 42}));
}

TEST(MissionPlanning, QueueAndStepVisitEachSideOnce)
{
    PlanningWorld world;
    world.AddUnit(1, 'S');
    world.AddUnit(2, 'S');   // same record: queued once
    SideContacts* other = new SideContacts(11);
    world.sides.Insert(other);
    planningtest::FakeUnit& far = world.AddUnit(3, 'S');
    far.sideEntryID = 11;
    world.mission.QueuePlanning();
    EXPECT_NE(world.mission.sideQueue.Find(10), nullptr);
    EXPECT_NE(world.mission.sideQueue.Find(11), nullptr);

    EXPECT_TRUE(world.mission.PlanStep());
    EXPECT_TRUE(world.mission.idleChecked.empty());
    EXPECT_FALSE(world.mission.PlanStep());
    EXPECT_EQ(world.mission.idleChecked, (std::vector<uint16_t>{1, 2, 3}));

    // An empty queue: every record checked, false.
    world.mission.idleChecked.clear();
    EXPECT_FALSE(world.mission.PlanStep());
    EXPECT_EQ(world.mission.idleChecked, (std::vector<uint16_t>{1, 2, 3}));
}

TEST(MissionPlanning, StepConsidersOnlyContactsDue)
{
    PlanningWorld world;
    world.SetTime(500);
    world.AddUnit(1, 'S').reachTenths = 100;
    world.AddContact(40, 0x1, {4096, 0}).changeBits = 0x1;            // new
    world.AddContact(41, 0x1, {4096, 0}).holdUntil = GameTime(500);   // due now
    world.AddContact(42, 0x1, {4096, 0}).holdUntil = GameTime(501);   // not yet
    world.AddContact(43, 0x1, {4096, 0});                              // nothing pending
    world.mission.QueuePlanning();
    world.mission.PlanStep();
    EXPECT_EQ(world.mission.scheduled.size(), 2u);
    EXPECT_EQ(world.mission.engageTasks.First(), nullptr);   // emptied at the end
}

TEST(MissionPlanning, ReactSendsFittingUnitsWithinThirtyMiles)
{
    struct Row {
        const char* name;
        char letter;
        uint32_t classBits;
        int32_t rangeNm;
        bool accepts;
        int16_t state;
        int asked;
        int16_t stateAfter;
    };
    const Row rows[] = {
        {"plane against missile", 'P', 0x8, 20, true, MissionUnitState::IDLE, 1, MissionUnitState::ORDERED},
        {"ship against torpedo", 'S', 0x800, 20, true, MissionUnitState::IDLE, 1, MissionUnitState::ORDERED},
        {"ship refuses", 'S', 0x800, 20, false, MissionUnitState::IDLE, 1, MissionUnitState::IDLE},
        {"ship against missile", 'S', 0x8, 20, true, MissionUnitState::IDLE, 0, MissionUnitState::IDLE},
        {"too far", 'P', 0x8, 30, true, MissionUnitState::IDLE, 0, MissionUnitState::IDLE},
        {"already ordered", 'P', 0x8, 20, true, MissionUnitState::ORDERED, 0, MissionUnitState::ORDERED},
        {"surfaced submarine against missile", 'U', 0x8, 20, true, MissionUnitState::IDLE, 1,
         MissionUnitState::ORDERED},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        planningtest::FakeUnit& unit = world.AddUnit(1, r.letter);
        unit.acceptsEngagement = r.accepts;
        world.mission.units.Find(1)->state = r.state;
        world.AddUnit(40, 'W', {}, false);
        world.AddContact(40, r.classBits, {r.rangeNm * 4096, 0});
        InsertTaskInOrder(world.mission.engageTasks, new MissionTask(40));
        world.mission.ReactToTasks(world.record);
        EXPECT_EQ(unit.engageAsked, r.asked) << r.name;
        EXPECT_EQ(world.mission.units.Find(1)->state, r.stateAfter) << r.name;
        if (r.stateAfter == MissionUnitState::ORDERED && r.state != MissionUnitState::ORDERED) {
            EXPECT_EQ(world.mission.units.Find(1)->targetID, 40) << r.name;
        }
    }
}

TEST(MissionPlanning, EngageResultPutsAnIdleUnitOnTheContact)
{
    PlanningWorld world;
    world.AddUnit(1, 'S');
    Contact& contact = world.AddContact(40, 0x1);
    world.mission.OnEngageResult(1, 1, &contact, 1);   // done counts only for aircraft
    const MissionUnitRec* record = world.mission.units.Find(1);
    EXPECT_EQ(record->state, MissionUnitState::ENGAGING);
    EXPECT_EQ(record->targetID, 40);
    EXPECT_EQ(record->markBits, UNIT_POSTURE_APPLIED);

    PlanningWorld air;
    air.AddUnit(2, 'P');
    Contact& target = air.AddContact(40, 0x1);
    air.mission.OnEngageResult(2, 1, &target, 1);
    EXPECT_EQ(air.mission.units.Find(2)->state, MissionUnitState::IDLE);
}

TEST(MissionPlanning, UnitPostureOncePerMark)
{
    PlanningWorld world;
    world.AddUnit(1, 'S');
    MissionUnitRec* record = world.mission.units.Find(1);
    record->state = MissionUnitState::ON_DUTY;
    world.mission.SetUnitPosture(1, record);
    EXPECT_EQ(record->markBits, UNIT_POSTURE_APPLIED);
    const auto first = world.TakeEvents();
    world.mission.SetUnitPosture(1, record);   // marked: nothing more
    EXPECT_TRUE(world.TakeEvents().empty());
    EXPECT_LE(first.size(), 1u);

    // While a delayed start is pending nothing is set.
    record->markBits = 0;
    world.mission.missionFlags |= MissionFlag::DELAYED_START;
    world.mission.SetUnitPosture(1, record);
    EXPECT_EQ(record->markBits, 0);
}

TEST(MissionPlanning, UnitPostureByStateAndLetter)
{
    struct Order {
        uint16_t unitID;
        uint32_t mode, value;
        bool operator==(const Order&) const = default;
    };
    static std::vector<Order> orders;
    MissionCalls calls;
    calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t value, uint16_t, uint8_t, uint16_t,
                                   uint8_t) -> Event* {
        orders.push_back({unitID, mode, value});
        return nullptr;
    };
    const MissionCalls previous = SetMissionCalls(calls);
    struct Row {
        const char* name;
        char letter;
        int16_t state;
        bool unitExists;
        std::vector<Order> expected;
        uint8_t markAfter;
    };
    const Row rows[] = {
        {"engaging ship", 'S', MissionUnitState::ENGAGING, true, {{1, 2, 1}}, UNIT_POSTURE_APPLIED},
        {"engaging, unit gone", 'S', MissionUnitState::ENGAGING, false, {{1, 2, 1}}, UNIT_POSTURE_APPLIED},
        {"ship on duty", 'S', MissionUnitState::ON_DUTY, true, {{1, 2, 5}}, UNIT_POSTURE_APPLIED},
        {"ordered submarine", 'U', MissionUnitState::ORDERED, true, {{1, 2, 5}}, UNIT_POSTURE_APPLIED},
        {"plane on duty", 'P', MissionUnitState::ON_DUTY, true, {}, UNIT_POSTURE_APPLIED},
        {"air group ordered", 'A', MissionUnitState::ORDERED, true, {}, UNIT_POSTURE_APPLIED},
        {"on duty, unit gone", 'S', MissionUnitState::ON_DUTY, false, {}, 0},
        {"idle ship", 'S', MissionUnitState::IDLE, true, {}, UNIT_POSTURE_APPLIED},
    };
    for (const Row& r : rows) {
        orders.clear();
        PlanningWorld world;
        if (r.unitExists)
            world.AddUnit(1, r.letter, {}, false);
        auto* record = new MissionUnitRec(1);
        record->state = r.state;
        world.mission.units.Insert(record);
        world.mission.SetUnitPosture(1, record);
        EXPECT_EQ(orders, r.expected) << r.name;
        EXPECT_EQ(record->markBits, r.markAfter) << r.name;
    }
    SetMissionCalls(previous);
}

TEST(MissionPlanning, EngagingMemberTellsItsParent)
{
    static std::vector<std::pair<uint16_t, uint32_t>> notices;
    notices.clear();
    MissionCalls calls;
    calls.notifyParentUnit = [](uint16_t unitID, uint8_t value) { notices.emplace_back(unitID, value); };
    const MissionCalls previous = SetMissionCalls(calls);
    PlanningWorld world;
    planningtest::FakeUnit& member = world.AddUnit(1, 'S');
    MissionUnitRec* record = world.mission.units.Find(1);
    record->leaderID = 9;
    Contact& contact = world.AddContact(40, 0x800, {4096, 0});
    member.acceptsEngagement = true;
    EXPECT_TRUE(world.mission.EngageIfInReach(record, &member, &contact, 2 * 4096));
    member.acceptsEngagement = false;
    EXPECT_FALSE(world.mission.EngageIfInReach(record, &member, &contact, 4096));   // not below 1 nm
    record->leaderID = 0;
    world.mission.EngageIfInReach(record, &member, &contact, 2 * 4096);
    SetMissionCalls(previous);
    EXPECT_EQ(notices, (std::vector<std::pair<uint16_t, uint32_t>>{{1, 1}, {1, 0}}));
    EXPECT_EQ(member.engageAsked, 2);
}

// The firm test: unlike the plain test, class 0x800 counts as firm.
TEST(MissionPlanning, FirmContactByClassAreaOrTrack)
{
    struct Row {
        const char* name;
        uint32_t classBits;
        bool withArea;
        uint16_t track;
        bool firm;
    };
    const Row rows[] = {
        {"no area", 0x1, false, 0, true},
        {"area", 0x1, true, 0, false},
        {"area, track bit 0x8", 0x1, true, 0x8, true},
        {"area, track bit 0x200", 0x20, true, 0x200, true},
        {"area, course only", 0x4, true, 0x2, false},
        {"class 0x800 with area", 0x800, true, 0, true},
    };
    for (const Row& r : rows) {
        Contact contact;
        contact.SetTypeFlags(r.classBits);
        contact.knownBits = r.track;
        if (r.withArea)
            contact.SetArea(new Uncertain_Poly(LatLonPoint{0, 0}, 4096));
        EXPECT_EQ(MissionRecord::IsFirmContact(&contact), r.firm) << r.name;
    }
    EXPECT_FALSE(MissionRecord::IsFirmContact(nullptr));
}
