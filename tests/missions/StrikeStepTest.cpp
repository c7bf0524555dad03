// StrikeStepTest.cpp: the strike's unit step: the hold, the group gate, path
// waits, idle units, the 1-nm switch to search or attack, the 30-nm cap of a
// subsurface search, the sonobuoy states and the closing step.
#include <gtest/gtest.h>

#include "core/NavMath.h"
#include "world/UncertainPoly.h"
#include "units/AirGroup.h"
#include "units/Plane.h"
#include "StrikeWorld.h"

using namespace striketest;

namespace {
constexpr int32_t NM = 4096;
}

TEST(StrikeStep, HoldAndGroupMembersAreNotStepped)
{
    StrikeWorld world;
    world.Add(1, 'S', MissionUnitState::IDLE);
    world.strike->missionFlags |= StrikeFlag::HOLD;
    world.strike->StepUnit(1, 0);
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_EQ(world.strike->missionFlags & StrikeFlag::STARTED, 0u);

    world.strike->missionFlags &= ~StrikeFlag::HOLD;
    // A member of a group is stepped only in states 3 and 19.
    struct Case {
        int16_t state;
        bool stepped;
    };
    for (const Case c : {Case{1, false}, Case{2, false}, Case{9, false}, Case{3, true}, Case{19, true}}) {
        SCOPED_TRACE(c.state);
        StrikeWorld w;
        auto& u = w.Add(1, 'S', c.state);
        u.SetParentID(8);
        w.strike->StepUnit(1, 0);
        EXPECT_EQ(w.strike->missionFlags & StrikeFlag::STARTED ? true : false, c.stepped);
    }
}

TEST(StrikeStep, StatesWithoutARoutineDoNothing)
{
    for (const int16_t state : {4, 5, 7, 8, 10, 12, 13, 14, 16, 18, 20, 23, 24, 25}) {
        SCOPED_TRACE(state);
        StrikeWorld world;
        world.Add(1, 'S', state);
        world.strike->StepUnit(1, 0);
        EXPECT_TRUE(world.Taken().empty());
        EXPECT_TRUE(Notes().paths.empty());
        EXPECT_EQ(world.Rec(1).state, state);
    }
}

TEST(StrikeStep, AUnitWithAPathIsWokenAtItsEndOnce)
{
    StrikeWorld world;
    auto& u = world.Add(1, 'S', StrikeState::APPROACH);
    StrikeWorld::GivePath(u);
    world.strike->StepUnit(1, 0);
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_EQ(u.GetPath()->LastOfChain()->GetEvents().First()->TypeCode(), MISSION_UNIT);
    EXPECT_EQ(u.GetPath()->LastOfChain()->GetEvents().First()->GetNext(), nullptr);
    EXPECT_EQ(world.Rec(1).state, StrikeState::APPROACH);
}

TEST(StrikeStep, IdlePlanesGoHomeOnlyWithAnEmptyTargetList)
{
    {
        StrikeWorld world;
        Plane& p = world.AddReal<Plane>(1);
        p.homeBaseID = 50;
        world.strike->StepUnit(1, 0);
        const auto codes = world.Codes();
        EXPECT_NE(std::find(codes.begin(), codes.end(), LAND), codes.end());
        EXPECT_EQ(world.Rec(1).state, MissionUnitState::IDLE);
        EXPECT_TRUE(Notes().paths.empty());
    }
    {
        IDList targets;
        targets.Insert(new IDNode(40));
        StrikeWorld world(11, &targets);
        Plane& p = world.AddReal<Plane>(1);
        p.homeBaseID = 50;
        world.strike->StepUnit(1, 0);
        const auto codes = world.Codes();
        EXPECT_EQ(std::find(codes.begin(), codes.end(), LAND), codes.end());
        EXPECT_NE(std::find(codes.begin(), codes.end(), SET_ALTITUDE), codes.end());
    }
}

TEST(StrikeStep, ApproachWithoutPlanGoesIdle)
{
    StrikeWorld world;
    world.Add(1, 'S', StrikeState::ASSIGNED);
    world.strike->lockedTarget = 40;   // no contact for it
    world.strike->StepUnit(1, 0);
    EXPECT_EQ(world.Rec(1).state, MissionUnitState::IDLE);
    EXPECT_EQ(world.Codes(), (std::vector<uint8_t>{MISSION_UNIT}));
}

TEST(StrikeStep, TheFlagGivesARandomTenMileLeg)
{
    StrikeWorld world;
    world.Add(1, 'S', StrikeState::UNDER_WAY);
    world.strike->StepUnit(1, 1);
    ASSERT_EQ(Notes().paths.size(), 1u);
    EXPECT_NEAR(NavMath::Get_Vector(LatLonPoint{}, Notes().paths[0].point).range, 10 * NM, NM / 2);
    EXPECT_EQ(Notes().paths[0].events, (std::vector<uint8_t>{MISSION_UNIT}));
    EXPECT_EQ(world.Rec(1).state, StrikeState::APPROACH);   // 22 becomes 2
}

TEST(StrikeStep, TheAttackCyclesAimIsFlownAtTheAltitudeCode)
{
    struct Case {
        char letter;
        int16_t altitude;
    };
    for (const Case c : {Case{'S', 0}, Case{'U', -2}, Case{'P', 61}}) {
        SCOPED_TRACE(c.letter);
        StrikeWorld world;
        world.Add(1, c.letter, StrikeState::ATTACK_LOCKED, {0, 0});
        world.strike->AttackLockedTarget(1, world.units.Find(1), &world.Rec(1), {0, 4 * NM}, 1, 500, 0);
        EXPECT_EQ(world.Rec(1).state, StrikeState::UNDER_WAY);
        ASSERT_EQ(Notes().paths.size(), 1u);
        EXPECT_EQ(Notes().paths[0].point, (LatLonPoint{0, 4 * NM}));
        const auto taken = world.Taken();
        ASSERT_FALSE(taken.empty());
        EXPECT_EQ(taken[0], std::make_tuple(SET_ALTITUDE, uint16_t{1}, static_cast<uint16_t>(c.altitude)));
    }
}

TEST(StrikeStep, SubsurfaceSearchIsCappedAtThirtyMiles)
{
    StrikeWorld world;
    world.Add(1, 'S', StrikeState::SEARCHING, {0, 0});
    world.AddContact(40, 0x2, {0, 80 * NM});
    world.Rec(1).targetID = 40;
    world.Rec(1).targetClass = 0x2;
    world.strike->StepUnit(1, 0);
    ASSERT_EQ(Notes().paths.size(), 1u);
    EXPECT_NEAR(NavMath::Get_Vector(LatLonPoint{}, Notes().paths[0].point).range, 30 * NM, NM / 8);
    EXPECT_EQ(world.Rec(1).state, StrikeState::SEARCHING);

    // Any other class goes the whole way.
    StrikeWorld other;
    other.Add(1, 'S', StrikeState::SEARCHING, {0, 0});
    other.AddContact(40, 0x1, {0, 80 * NM});
    other.Rec(1).targetID = 40;
    other.Rec(1).targetClass = 0x1;
    other.strike->StepUnit(1, 0);
    ASSERT_EQ(Notes().paths.size(), 1u);
    EXPECT_GT(NavMath::Get_Vector(LatLonPoint{}, Notes().paths[0].point).range, 70 * NM);
}

TEST(StrikeStep, SearchDecisions)
{
    struct Case {
        const char* what;
        bool contact;
        uint32_t condition;
        uint16_t change;
        uint16_t known;
        int16_t next;
    };
    const Case cases[] = {
        {"no contact", false, 0, 0, 0, MissionUnitState::IDLE},
        {"finished", true, 0x8, 0, 0, MissionUnitState::IDLE},
        {"firm and changed", true, 0, 1, 0x8, StrikeState::APPROACH},
        {"firm, unchanged", true, 0, 0, 0x8, StrikeState::SEARCHING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StrikeWorld world;
        world.Add(1, 'S', StrikeState::SEARCHING, {0, 0});
        if (c.contact) {
            Contact& t = world.AddContact(40, 0x1, {0, 5 * NM});
            t.SetArea(new Uncertain_Poly(LatLonPoint{0, 5 * NM}, NM));
            t.conditionBits = c.condition;
            t.changeBits = c.change;
            t.knownBits = c.known;
            t.stickyFlags = StrikeContact::UNDER_ATTACK;
        }
        world.Rec(1).targetID = 40;
        world.Rec(1).targetClass = 0x1;
        world.strike->StepUnit(1, 0);
        EXPECT_EQ(world.Rec(1).state, c.next);
        if (c.condition != 0) {
            EXPECT_EQ(world.record->GetContact(40)->stickyFlags, 0);
        }
    }
}

TEST(StrikeStep, BuoyStatesResume)
{
    for (const auto& [from, to] : {std::pair<int16_t, int16_t>{15, 17}, {26, 9}}) {
        SCOPED_TRACE(from);
        StrikeWorld world;
        world.Add(1, 'S', from);
        world.strike->StepUnit(1, 0);
        EXPECT_EQ(world.Rec(1).state, to);
        const auto codes = world.Codes();
        EXPECT_EQ(codes.back(), MISSION_UNIT);
    }
    // With a path the wake-up is hung on its end, due 120 s after arrival.
    StrikeWorld world;
    auto& u = world.Add(1, 'S', 15);
    StrikeWorld::GivePath(u);
    world.strike->StepUnit(1, 0);
    const auto* e = static_cast<const TestEvent*>(u.GetPath()->LastOfChain()->GetEvents().First());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Value(), 120);
    EXPECT_EQ(world.Rec(1).state, 15);
}

TEST(StrikeStep, OrderTargetUnderSeaGetsASonobuoyDrop)
{
    StrikeWorld world;
    world.Add(1, 'S', StrikeState::ATTACK_ORDER, {0, 0});
    world.Rec(1).targetClass = 0x2;
    world.strike->AttackOrderTarget(1, world.units.Find(1), &world.Rec(1), {0, 4 * NM}, 1, 0, 0);
    ASSERT_EQ(Notes().paths.size(), 1u);
    EXPECT_EQ(Notes().paths[0].events, (std::vector<uint8_t>{MISSION_UNIT, DROP_BUOY}));
    EXPECT_EQ(world.Rec(1).state, StrikeState::BUOY_LEG);
    // The flag without a home base: no plan, idle.
    world.Rec(1).state = StrikeState::ATTACK_ORDER;
    world.strike->AttackOrderTarget(1, world.units.Find(1), &world.Rec(1), LatLonPoint::None(), 1, 0, 1);
    EXPECT_EQ(world.Rec(1).state, MissionUnitState::IDLE);
}

TEST(StrikeStep, Closing)
{
    StrikeWorld world;
    world.Add(1, 'S', StrikeState::CLOSE_IN);
    world.strike->StepUnit(1, 0);
    EXPECT_EQ(world.Rec(1).state, StrikeState::CLOSING);
    EXPECT_TRUE(world.Taken().empty());
    // No contact: idle and woken; a member tells its parent instead.
    world.strike->StepUnit(1, 0);
    EXPECT_EQ(world.Rec(1).state, MissionUnitState::IDLE);
    EXPECT_EQ(world.Codes().back(), MISSION_UNIT);

    auto& m = world.Add(2, 'S', StrikeState::CLOSING);
    m.SetParentID(9);
    world.Rec(2).leaderID = 9;
    world.strike->StepUnit(2, 0);
    EXPECT_EQ(world.Rec(2).state, MissionUnitState::IDLE);
    EXPECT_EQ(Notes().parentNotices, (std::vector<std::pair<uint16_t, uint8_t>>{{2, 0}}));
}
