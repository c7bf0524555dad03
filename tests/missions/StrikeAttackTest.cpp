// The strike's attack cycle: tasks tried until one is attacked, the target
// filter, the locked target and its re-plan event, standing down, and the
// slow far unit that is planned, not fatal.
#include <gtest/gtest.h>

#include "AttackWorld.h"
#include "support/ReportCapture.h"

using namespace attacktest;

namespace {

class StrikeAttack : public AttackWorld {};

class GroundStrike : public AttackWorld {
protected:
    GroundStrike() : AttackWorld(10) {}
};

IDList* TargetsOf(std::initializer_list<uint16_t> ids)
{
    auto* list = new IDList();
    for (uint16_t id : ids)
        list->Insert(new IDNode(id));
    return list;
}

class ListedStrike : public AttackWorld {
protected:
    ListedStrike() : AttackWorld(11, targets) {}
    static inline IDList* targets = TargetsOf({40});
};

}  // namespace

TEST_F(StrikeAttack, NothingUnderWayAndNoTaskDoesNothing)
{
    AddUnit(1, 'S');
    const uint32_t flags = strike.missionFlags;
    strike.OnSideScanned(record);
    EXPECT_EQ(strike.missionFlags, flags);
    EXPECT_EQ(strike.lockedTarget, 0);
    EXPECT_TRUE(Take(EventCode::ANY).empty());
}

// The head task (an air contact: no class of a Ship Strike) is dropped and
// the next one attacked in the same update; the target is locked, marked
// and re-planned after 900 s.
TEST_F(StrikeAttack, DropsTasksUntilOneIsAttacked)
{
    AddUnit(1, 'S');
    AddUnit(2, 'S');
    strike.units.Find(2)->leaderID = 1;   // moves with unit 1: never ordered alone
    AddContact(40, 0x4, North(20));
    Contact& ship = AddContact(41, 0x1, North(20));
    QueueAttackTask(40, 80);
    QueueAttackTask(41, 50);

    strike.OnSideScanned(record);
    EXPECT_EQ(strike.lockedTarget, 41);
    EXPECT_NE(strike.missionFlags & StrikeFlag::ATTACKING, 0u);
    EXPECT_EQ(ship.stickyFlags & 0x04, 0x04);
    EXPECT_NE(StateOf(1), 1);   // ordered against the target
    EXPECT_EQ(StateOf(2), 1);
    ASSERT_NE(strike.keptTasks.First(), nullptr);
    EXPECT_EQ(strike.keptTasks.First()->targetID, 41);
    EXPECT_EQ(Take(EventCode::MISSION), (std::vector<Noted>{{5, 2 * 10000 + 900}}));
}

TEST_F(StrikeAttack, HeadTaskNoUnitCanAttackIsDestroyed)
{
    AddUnit(1, 'S').slowestAccepted = 1000;
    AddContact(41, 0x1, North(20));
    QueueAttackTask(41);
    strike.OnSideScanned(record);
    EXPECT_EQ(strike.keptTasks.First(), nullptr);
    EXPECT_EQ(strike.lockedTarget, 0);
    EXPECT_EQ(StateOf(1), StrikeState::CANNOT_ATTACK);
    EXPECT_EQ(strike.units.Find(1)->targetID, 41);
    EXPECT_TRUE(Take(EventCode::MISSION).empty());
}

TEST_F(ListedStrike, IgnoresContactsOutsideItsTargetList)
{
    AddUnit(1, 'S');
    AddContact(41, 0x1, North(20));
    QueueAttackTask(41);
    strike.OnSideScanned(record);
    EXPECT_EQ(strike.lockedTarget, 0);
    EXPECT_EQ(StateOf(1), 1);
    EXPECT_EQ(strike.keptTasks.First(), nullptr);
}

// While a target is locked (and the list is empty) another contact is
// refused; planning the locked one posts the re-plan event even when
// nothing is sent: 60 s for an air target.
TEST(StrikeReplan, EverySixtySecondsForAirNineHundredOtherwise)
{
    const struct {
        uint16_t kind;
        uint32_t classBits;
        uint32_t delay;
    } rows[] = {{9, 0x4, 60}, {11, 0x1, 900}, {10, 0x20, 900}};
    for (const auto& r : rows) {
        struct World : AttackWorld {
            explicit World(uint16_t kind) : AttackWorld(kind) {}
            void TestBody() override {}
        } world(r.kind);
        world.AddContact(40, r.classBits, AttackWorld::North(20));
        world.AddContact(41, r.classBits, AttackWorld::North(20));
        world.strike.lockedTarget = 40;
        world.QueueAttackTask(41);
        EXPECT_FALSE(world.strike.PlanAttack(world.record));   // another contact: refused outright
        EXPECT_TRUE(world.Take(EventCode::MISSION).empty());
        world.QueueAttackTask(40, 90);
        EXPECT_FALSE(world.strike.PlanAttack(world.record));   // nothing to send, still locked
        EXPECT_EQ(world.Take(EventCode::MISSION), (std::vector<AttackWorld::Noted>{{5, 2 * 10000 + r.delay}}))
            << r.kind;
    }
}

TEST_F(StrikeAttack, ReplanFlagPlansOnceAndIsCleared)
{
    AddUnit(1, 'S');
    AddContact(41, 0x1, North(20));
    strike.lockedTarget = 41;
    strike.missionFlags |= StrikeFlag::ATTACKING | StrikeFlag::REPLAN;
    QueueAttackTask(41);
    strike.OnSideScanned(record);
    EXPECT_EQ(strike.missionFlags & StrikeFlag::REPLAN, 0u);
    EXPECT_NE(StateOf(1), 1);   // the re-plan added the free unit
    EXPECT_EQ(Take(EventCode::MISSION).size(), 1u);
}

// The attack ends when the locked target turns friendly, is finished or is
// gone; every free-standing unit of the record goes back to idle and is
// stepped, the aircraft lose their orders.
TEST_F(StrikeAttack, StandsDownWhenTargetFriendlyFinishedOrGone)
{
    const struct {
        const char* name;
        uint8_t sideID;
        uint32_t condition;
        bool present;
        bool over;
    } rows[] = {
        {"hostile", 2, 0, true, false},
        {"unknown side", 0, 0, true, false},
        {"friendly", 3, 0, true, true},
        {"finished", 2, 0x8, true, true},
        {"gone", 2, 0, false, true},
    };
    for (const auto& r : rows) {
        struct World : AttackWorld {
            void TestBody() override {}
        } w;
        w.AddUnit(1, 'S', {}, StrikeState::ATTACK_LOCKED);
        w.AddUnit(2, 'S', {}, StrikeState::RELEASED);
        w.AddUnit(3, 'S', {}, StrikeState::ATTACK_LOCKED);
        w.strike.units.Find(3)->leaderID = 1;
        auto* ref = new PlaneRecRef(1);
        ref->holderID = 1;
        ref->orderState = StrikeOrder::ATTACK;
        w.strike.planeRefs.Insert(ref);
        Contact* target = nullptr;
        if (r.present) {
            target = &w.AddContact(40, 0x1, AttackWorld::North(20), r.sideID);
            target->conditionBits = r.condition;
            target->stickyFlags = 0x04;
        }
        w.strike.lockedTarget = 40;
        w.strike.missionFlags |= StrikeFlag::ATTACKING;

        EXPECT_EQ(w.strike.CheckAttackOver(w.record), r.over) << r.name;
        if (!r.over) {
            EXPECT_EQ(w.strike.lockedTarget, 40) << r.name;
            EXPECT_EQ(w.StateOf(1), StrikeState::ATTACK_LOCKED) << r.name;
            continue;
        }
        EXPECT_EQ(w.strike.lockedTarget, 0) << r.name;
        EXPECT_EQ(w.strike.missionFlags & StrikeFlag::ATTACKING, 0u) << r.name;
        if (target != nullptr) {
            EXPECT_EQ(target->stickyFlags & 0x04, 0) << r.name;
        }
        EXPECT_EQ(w.StateOf(1), 1) << r.name;
        EXPECT_EQ(w.StateOf(2), StrikeState::RELEASED) << r.name;
        EXPECT_EQ(w.StateOf(3), StrikeState::ATTACK_LOCKED) << r.name;
        EXPECT_EQ(ref->orderState, StrikeOrder::IDLE) << r.name;
        EXPECT_EQ(w.Take(EventCode::MISSION_UNIT), (std::vector<AttackWorld::Noted>{{1, 0}})) << r.name;
    }
}

// Aircraft references lacking a ready bit or taken for a station are never
// tried; a ready one whose record is missing is tried and refused quietly.
TEST_F(StrikeAttack, OnlyReadyAircraftAreTried)
{
    AddContact(41, 0x1, North(20));
    QueueAttackTask(41);
    const uint32_t flags[] = {0x10F, 0x10E, 0x10F | 0x2000};
    uint16_t key = 1;
    for (uint32_t f : flags) {
        auto* ref = new PlaneRecRef(key++);
        ref->holderID = 1;
        ref->recordID = 7;
        ref->recordFlags = f;
        strike.planeRefs.Insert(ref);
    }
    AddUnit(1, 'B', {}, -1);
    EXPECT_FALSE(strike.PlanAttack(record));
    for (PlaneRecRef* ref = strike.planeRefs.First(); ref != nullptr; ref = ref->GetNext())
        EXPECT_EQ(ref->orderState, 0);
    EXPECT_TRUE(Take(EventCode::LAUNCH_AIRCRAFT).empty());
}

// A change reported by the locked target sends the free units after it and
// brings back those holding nearby without contacts; released, refused and
// under-way units are left alone.
TEST_F(StrikeAttack, ChangedTargetRetasksUnits)
{
    AddUnit(1, 'S', {}, 1);
    AddUnit(2, 'S', {}, StrikeState::HOLDING_NEARBY);
    AddUnit(3, 'S', {}, StrikeState::UNDER_WAY);
    AddUnit(4, 'S', {}, StrikeState::CANNOT_ATTACK);
    Contact& target = AddContact(40, 0x1, North(20));
    strike.lockedTarget = 40;
    strike.PrepareUnitsForTarget(&target);
    EXPECT_EQ(StateOf(1), 1);   // no attack under way: nothing
    strike.missionFlags |= StrikeFlag::ATTACKING;
    strike.PrepareUnitsForTarget(&target);
    EXPECT_EQ(StateOf(1), StrikeState::APPROACH);
    EXPECT_EQ(strike.units.Find(1)->targetID, 40);
    EXPECT_EQ(StateOf(2), StrikeState::HOLDING_NEARBY);
    EXPECT_EQ(StateOf(3), StrikeState::UNDER_WAY);
    EXPECT_EQ(StateOf(4), StrikeState::CANNOT_ATTACK);
    EXPECT_EQ(Take(EventCode::MISSION_UNIT), (std::vector<Noted>{{1, 0}, {2, 0}}));
}

// A Ground Strike with no target list against a ground contact 1,300 nm
// from a 5 kn submarine: 260 hours used to overflow the time arithmetic
// and end the program; it is planned with a positive time.
TEST_F(GroundStrike, SlowFarUnitIsPlannedNotFatal)
{
    ReportCapture reports;
    const uint16_t slow[4] = {5, 5, 0, 0};
    AttackUnit& sub = AddUnit(1, 'U', {}, 1, slow);
    Contact& site = AddContact(40, 0x20, North(1300));
    uint32_t setting = 9, time = 0;
    LatLonPoint aim = North(1300);
    EXPECT_TRUE(strike.PlanFixedTarget(&site, &sub, setting, -2, time, aim, 0x20));
    EXPECT_EQ(setting, 0u);
    EXPECT_NEAR(time, 936000.0, 50.0);

    QueueAttackTask(40);
    EXPECT_TRUE(strike.PlanAttack(record));
    EXPECT_EQ(strike.lockedTarget, 40);
    EXPECT_TRUE(reports.fatals.empty());
}
