// StrikeReportsTest.cpp: the strike's release, relief requests with and
// without a target, mission events, target pruning, target assignment,
// attack review, aircraft posture and aircraft orders.
#include <gtest/gtest.h>

#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "StrikeWorld.h"

using namespace striketest;

TEST(StrikeReports, ReleaseAndReliefWithoutALockedTarget)
{
    StrikeWorld world;
    Plane& p = world.AddReal<Plane>(1, StrikeState::APPROACH);
    world.strike->ReleaseUnit(&p);
    EXPECT_EQ(world.Rec(1).state, StrikeState::RELEASED);

    world.Rec(1).state = StrikeState::APPROACH;
    world.Add(50, 'B');
    EXPECT_TRUE(world.strike->LaunchForUnit(&p, 7, 0, 50, 0));
    EXPECT_EQ(world.Rec(1).state, StrikeState::RELEASED);
    // Released already, or no base: refused.
    EXPECT_FALSE(world.strike->LaunchForUnit(&p, 7, 0, 50, 0));
    world.Rec(1).state = StrikeState::APPROACH;
    EXPECT_FALSE(world.strike->LaunchForUnit(&p, 7, 0, 99, 0));
}

TEST(StrikeReports, ReleaseWhileTheTargetStandsWaitsForRelief)
{
    StrikeWorld world;
    Plane& p = world.AddReal<Plane>(1, StrikeState::APPROACH);
    world.AddContact(40, 0x20);
    world.strike->lockedTarget = 40;
    world.strike->ReleaseUnit(&p);   // no aircraft to relieve it
    EXPECT_EQ(world.Rec(1).state, StrikeState::RELIEF_PENDING);

    // A friendly target does not stand: released, its mark cleared.
    StrikeWorld other;
    Plane& q = other.AddReal<Plane>(1, StrikeState::APPROACH);
    Contact& c = other.AddContact(40, 0x20, {}, 1);   // the strike's own side
    c.stickyFlags = StrikeContact::UNDER_ATTACK;
    other.strike->lockedTarget = 40;
    other.strike->ReleaseUnit(&q);
    EXPECT_EQ(other.Rec(1).state, StrikeState::RELEASED);
    EXPECT_EQ(c.stickyFlags, 0);
}

namespace {

// A base unit holding aircraft records.
class Holder : public unittest::TestUnit {
public:
    Holder() : TestUnit('B') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

} // namespace

TEST(StrikeReports, ReliefLaunchesAFlightOfTheKindsSize)
{
    constexpr uint16_t BASE = 50;
    constexpr uint16_t TYPE = 7;
    constexpr uint16_t LOADOUT = 9;
    struct Case {
        const char* what;
        uint16_t kind;
        uint8_t ready, unready;   // aircraft in a ready and in an unready record
        uint8_t force;
        bool launched;
        uint8_t group;            // group size of the launch
    };
    const Case cases[] = {
        {"sub strike: one", 12, 1, 0, 0, true, 1},
        {"air intercept: a pair, made up from the unready record", 9, 1, 1, 0, true, 2},
        {"ship strike: four", 11, 2, 2, 0, true, 4},
        {"ground strike: two ready aircraft are counted once, not twice", 10, 2, 0, 0, false, 0},
        {"ground strike, forced: the two go", 10, 2, 0, 1, true, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StrikeWorld world(c.kind);
        world.strike->lockedTarget = 40;
        auto* base = new Holder;
        base->SetKey(BASE);
        world.units.Insert(base);
        const uint8_t counts[] = {c.ready, c.unready};
        for (uint16_t key = 1; key <= 2; ++key) {
            const uint8_t count = counts[key - 1];
            if (count == 0)
                continue;
            const uint32_t flags = key == 1 ? PlaneRec::READY_FLAGS : 0;
            auto* record = new PlaneRec(key);
            record->unitID = BASE;
            record->count = count;
            record->flags = flags;
            record->planeAnnexID = TYPE;
            record->loadoutID = LOADOUT;
            base->records.Insert(record);
            auto* ref = new PlaneRecRef(world.strike->planeRefs.NewKey());
            ref->holderID = BASE;
            ref->recordID = key;
            ref->count = count;
            ref->refState = PlaneRecRef::COMMITTED;
            ref->recordFlags = flags;
            ref->loadoutID = LOADOUT;
            world.strike->planeRefs.Insert(ref);
        }
        Plane& p = world.AddReal<Plane>(1, StrikeState::APPROACH);
        EXPECT_EQ(world.strike->LaunchForUnit(&p, TYPE, LOADOUT, BASE, c.force), c.launched);
        EXPECT_EQ(world.Rec(1).state, c.launched ? StrikeState::RELEASED : StrikeState::RELIEF_PENDING);
        std::vector<uint8_t> groups;
        for (const auto& [code, holder, value] : world.Taken())
            if (code == 0x20 && holder == BASE)
                groups.push_back(static_cast<uint8_t>(value & 0xFF));
        EXPECT_EQ(groups, c.launched ? std::vector<uint8_t>{c.group} : std::vector<uint8_t>{});
    }
}

TEST(StrikeReports, MissionEvents)
{
    StrikeWorld world;
    world.Add(1, 'S');
    world.Add(2, 'S');
    world.strike->delayTime = 300;
    world.strike->HandleMissionEvent(StrikeEventCode::HOLD);
    EXPECT_NE(world.strike->missionFlags & StrikeFlag::HOLD, 0u);
    ASSERT_EQ(Notes().missionEventDelays.size(), 1u);
    EXPECT_LT(Notes().missionEventDelays[0], 300u);
    EXPECT_EQ(world.Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_EVENT, 3, 1}}));

    world.strike->HandleMissionEvent(StrikeEventCode::RESUME);
    EXPECT_EQ(world.strike->missionFlags & StrikeFlag::HOLD, 0u);
    EXPECT_EQ(world.Taken(),
              (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_UNIT, 1, 0}, {MISSION_UNIT, 2, 0}}));

    world.strike->HandleMissionEvent(StrikeEventCode::REPLAN);
    EXPECT_NE(world.strike->missionFlags & StrikeFlag::REPLAN, 0u);
    const uint32_t before = world.strike->missionFlags;
    world.strike->HandleMissionEvent(9);
    EXPECT_EQ(world.strike->missionFlags, before);
    EXPECT_TRUE(world.Taken().empty());
}

TEST(StrikeReports, PruningDropsFriendlyFinishedAndVanishedTargets)
{
    IDList targets;
    for (const uint16_t id : {20, 30, 40, 50, 60})
        targets.Insert(new IDNode(id));
    StrikeWorld world(11, &targets);
    world.AddContact(20, 0x1, {}, 3);                         // friendly side
    world.AddContact(30, 0x1).conditionBits = 0x8;           // finished
    Contact& both = world.AddContact(40, 0x1, {}, 3);         // both: removed once
    both.conditionBits = 0x8;
    world.Add(50, 'S');                                      // exists, not seen: stays
    // 60: neither seen nor existing: removed.

    world.strike->editUnits.Insert(new MissionUnitRec(9));   // a unit waiting: nothing pruned
    world.strike->PruneTargets(world.record);
    world.strike->editUnits.DeleteAll();
    EXPECT_NE(world.strike->targetList.Find(20), nullptr);
    world.strike->editPlaneRefs.Insert(new PlaneRecRef(9));   // aircraft waiting: nothing pruned either
    world.strike->PruneTargets(world.record);
    world.strike->editPlaneRefs.DeleteAll();
    EXPECT_NE(world.strike->targetList.Find(20), nullptr);
    world.strike->PruneTargets(nullptr);
    EXPECT_NE(world.strike->targetList.Find(20), nullptr);

    world.strike->PruneTargets(world.record);
    ASSERT_NE(world.strike->targetList.First(), nullptr);
    EXPECT_EQ(world.strike->targetList.First()->GetKey(), 50);
    EXPECT_EQ(world.strike->targetList.First()->GetNext(), nullptr);
    EXPECT_EQ(world.strike->missionFlags & StrikeFlag::TARGETS_USED_UP, 0u);

    Unit* const gone = world.units.Find(50);
    gone->ForgetMemberships();
    world.units.Remove(gone);
    delete gone;
    world.strike->PruneTargets(world.record);
    EXPECT_EQ(world.strike->targetList.First(), nullptr);
    EXPECT_NE(world.strike->missionFlags & StrikeFlag::TARGETS_USED_UP, 0u);
}

TEST(StrikeReports, TargetAssignmentByState)
{
    struct Case {
        int16_t state;
        uint8_t aircraftOnly;
        int16_t next;
    };
    const Case cases[] = {
        {MissionUnitState::IDLE, 0, StrikeState::ASSIGNED},
        {MissionUnitState::ADDED, 0, StrikeState::ASSIGNED},
        {StrikeState::APPROACH, 0, StrikeState::HOLDING_NEARBY},
        {StrikeState::UNDER_WAY, 0, StrikeState::HOLDING_NEARBY},
        {StrikeState::UNDER_WAY, 1, StrikeState::HOLDING_NEARBY},   // dropped for a ship
        {StrikeState::SEARCHING, 0, StrikeState::SEARCHING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        StrikeWorld world;
        world.Add(1, 'S', c.state);
        Contact& t = world.AddContact(40, 0x1);
        world.strike->OnEngageResult(1, 0, &t, c.aircraftOnly);
        EXPECT_EQ(world.Rec(1).state, c.next);
        if (c.next == StrikeState::ASSIGNED) {
            EXPECT_EQ(world.Rec(1).targetID, 40);
        }
    }
    // A plane told to keep going keeps its state with the aircraft-only flag.
    StrikeWorld world;
    world.AddReal<Plane>(1, StrikeState::APPROACH);
    Contact& t = world.AddContact(40, 0x1);
    world.strike->OnEngageResult(1, 0, &t, 1);
    EXPECT_EQ(world.Rec(1).state, StrikeState::APPROACH);
    // While a target is locked another contact changes nothing.
    world.Rec(1).state = MissionUnitState::IDLE;
    world.strike->lockedTarget = 41;
    world.strike->OnEngageResult(1, 0, &t, 0);
    EXPECT_EQ(world.Rec(1).state, MissionUnitState::IDLE);
    EXPECT_TRUE(Notes().postures.empty() == false);
}

TEST(StrikeReports, AircraftPostureFromClassOrKind)
{
    struct Case {
        uint16_t kind;
        uint32_t targetClass;
        uint32_t posture;
    };
    // An unarmed plane whose target is outside the kind's classes takes the
    // target's class; otherwise the kind's.
    const Case cases[] = {
        {11, 0x8, 0x10}, {11, 0x14, 8}, {11, 0x20, 0}, {11, 0x1, 1}, {9, 0x4, 8}, {10, 0x20, 4}, {12, 0x2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.targetClass);
        StrikeWorld world(c.kind);
        Plane& p = world.AddReal<Plane>(1);
        world.strike->SetAircraftPosture(&p, c.targetClass);
        ASSERT_EQ(Notes().postures.size(), 1u);
        EXPECT_EQ(Notes().postures[0], c.posture);
    }
    StrikeWorld world;
    world.strike->SetAircraftPosture(&world.Add(1, 'S'), 0x1);   // ships are left alone
    EXPECT_TRUE(Notes().postures.empty());
}

TEST(StrikeReports, ReviewOfAnAttackingUnit)
{
    // Unarmed: back to idle, path cleared, woken.
    StrikeWorld world;
    world.Add(1, 'S', StrikeState::ASSIGNED);
    world.strike->CheckIdleState(&world.Rec(1));
    EXPECT_EQ(world.Rec(1).state, MissionUnitState::IDLE);
    EXPECT_EQ(world.Codes().back(), MISSION_UNIT);
    // Other states are not reviewed.
    world.Rec(1).state = StrikeState::APPROACH;
    world.strike->CheckIdleState(&world.Rec(1));
    EXPECT_EQ(world.Rec(1).state, StrikeState::APPROACH);
    EXPECT_TRUE(world.Taken().empty());
}

TEST(StrikeReports, NewUnitsAndAircraftJoinTheAttack)
{
    StrikeWorld world;
    world.Add(1, 'S', MissionUnitState::ADDED);
    world.AddContact(40, 0x1);
    world.strike->lockedTarget = 40;
    PlaneRecRef ref(1);
    ref.holderID = 1;
    ref.SetOrder(5, 6, 7);

    world.strike->OnUnitAdded(&world.Rec(1));   // no attack under way
    EXPECT_EQ(world.Rec(1).state, MissionUnitState::ADDED);
    world.strike->ClearReferenceOrder(&ref);
    EXPECT_EQ(ref.orderState, StrikeOrder::NONE);

    world.strike->missionFlags |= StrikeFlag::ATTACKING;
    world.strike->OnUnitAdded(&world.Rec(1));
    EXPECT_EQ(world.Rec(1).state, StrikeState::APPROACH);
    EXPECT_EQ(world.Rec(1).targetID, 40);
    world.strike->ClearReferenceOrder(&ref);
    EXPECT_EQ(ref.orderState, StrikeOrder::APPROACH);
    EXPECT_EQ(ref.orderTarget, 40);
    EXPECT_EQ(ref.orderValue, 0x1u);
}
