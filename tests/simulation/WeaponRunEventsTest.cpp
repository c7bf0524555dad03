// WeaponRunEventsTest.cpp: the events of a weapon's run: the weapon step's
// due time and target switch, the clear-path event's fields, a unit deleted
// twice, and their saved forms round-tripped and refused when cut.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "simulation/WeaponRunEvents.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"
#include "units/Weapon.h"

namespace {

class EventWorld {
public:
    EventWorld()
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        InstallWeaponRunEvents();
    }
    ~EventWorld()
    {
        UninstallWeaponRunEvents();
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        units.DeleteAll();
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    Weapon& AddWeapon(uint16_t id)
    {
        auto* w = new Weapon;
        w->SetKey(id);
        units.Insert(w);
        return *w;
    }
    ArenaState state;
    UnitList units;

private:
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
};

TEST(WeaponStepEvent, FallsDueAtTheNextFifteenSecondMark)
{
    EventWorld world;
    struct Row { uint32_t now, due; };
    const Row rows[] = {{30, 45}, {29, 30}, {0, 15}};
    for (const Row& r : rows) {
        world.state.SetGameTime(GameTime(r.now));
        EXPECT_EQ(WeaponStepEvent(1).GetTime().Get(), r.due);
    }
}

TEST(WeaponStepEvent, SwitchesToALivingCandidate)
{
    EventWorld world;
    Weapon& weapon = world.AddWeapon(10);
    Weapon& candidate = world.AddWeapon(11);
    candidate.SetPosition(LatLonPoint(500, 600));
    weapon.seekerTargetID = 11;
    weapon.seekerScore = 9;
    WeaponStepEvent(10).HandleEvent();
    EXPECT_EQ(weapon.targetID, 11);
    EXPECT_EQ(weapon.targetLocked, 1);
    ASSERT_NE(weapon.GetPath(), nullptr);
    EXPECT_EQ(weapon.GetPath()->GetPosition(), LatLonPoint(500, 600));
    ASSERT_NE(weapon.GetPath()->GetEvents().First(), nullptr);
    EXPECT_EQ(weapon.GetPath()->GetEvents().First()->TypeCode(), EventCode::WEAPON_TARGET);
    EXPECT_EQ(weapon.seekerTargetID, 0);
    EXPECT_EQ(weapon.seekerScore, 0);

    // Without a living candidate only the candidate fields change.
    weapon.seekerTargetID = 99;
    weapon.seekerScore = 3;
    WeaponStepEvent(10).HandleEvent();
    EXPECT_EQ(weapon.targetID, 11);
    EXPECT_EQ(weapon.seekerTargetID, 0);
    EXPECT_EQ(weapon.seekerScore, 0);
}

TEST(ClearPathEvent, ClearsTheFourTargetFieldsAndThePath)
{
    EventWorld world;
    Weapon& weapon = world.AddWeapon(10);
    weapon.targetID = 4;
    weapon.targetLocked = 1;
    weapon.seekerTargetID = 5;
    weapon.seekerScore = 6;
    weapon.SetPath(new PositionNode(LatLonPoint(1, 1)));
    ClearPathEvent(10).HandleEvent();
    EXPECT_EQ(weapon.targetID, 0);
    EXPECT_EQ(weapon.targetLocked, 0);
    EXPECT_EQ(weapon.seekerTargetID, 0);
    EXPECT_EQ(weapon.seekerScore, 0);
    EXPECT_EQ(weapon.GetPath(), nullptr);
}

TEST(DeleteUnitEvent, ASecondDeletionOfTheSameUnitDoesNothing)
{
    EventWorld world;
    world.AddWeapon(10);
    Event* first = MakeDeleteUnitEvent(10, GameTime(0));
    Event* second = MakeDeleteUnitEvent(10, GameTime(0));
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->HandleEvent());
    EXPECT_EQ(gam2arena::FindUnit(10), nullptr);
    EXPECT_FALSE(second->HandleEvent());
    delete first;
    delete second;
}

// A deleted unit leaves the pictures that saw it in the last 30 seconds;
// an older contact stays, and in the game's first 30 seconds every one stays.
TEST(DeleteUnitEvent, OnlyRecentContactsOfTheUnitGo)
{
    struct Row { uint32_t now, seen; bool kept; };
    const Row rows[] = {{100, 70, false}, {100, 69, true}, {10, 10, true}, {30, 0, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.now << " " << r.seen);
        EventWorld world;
        SideContactsList sides;
        SideContactsList* const previousSides = SideContactsList::SetArenaList(&sides);
        auto* record = new SideContacts(1);
        sides.Insert(record);
        Weapon& weapon = world.AddWeapon(10);
        Contact* seen = new Contact(weapon, 1);
        seen->lastDetection = GameTime(r.seen);
        record->MergeContact(&seen);
        ASSERT_NE(record->GetContact(10), nullptr);
        world.state.SetGameTime(GameTime(r.now));
        DeleteUnitEvent del(10);
        del.HandleEvent();
        EXPECT_EQ(gam2arena::FindUnit(10), nullptr);
        EXPECT_EQ(record->GetContact(10) != nullptr, r.kept);
        SideContactsList::SetArenaList(previousSides);
    }
}

TEST(WeaponRunEvents, SavedFormsRoundTripAndCutOnesAreRefused)
{
    WeaponTargetEvent target(7, 8);
    target.SetTime(GameTime(120));
    WeaponStepEvent step;
    step.weaponID = 9;
    step.SetTime(GameTime(45));
    ClearPathEvent clear(11);
    DeleteUnitEvent del(12);
    const Event* events[] = {&target, &step, &clear, &del};
    const uint8_t codes[] = {0x09, 0x4C, 0x4D, 0x43};
    for (int i = 0; i < 4; ++i) {
        std::ostringstream out;
        events[i]->Save(out);
        const std::string bytes = out.str();
        ASSERT_EQ(bytes.size(), i == 0 ? 9u : 7u);
        EXPECT_EQ(static_cast<uint8_t>(bytes[0]), codes[i]);
        for (size_t cut = 1; cut < bytes.size(); ++cut) {
            std::istringstream in(bytes.substr(1, cut - 1));
            WeaponTargetEvent a;
            WeaponStepEvent b;
            ClearPathEvent c;
            DeleteUnitEvent d;
            Event* fresh[] = {&a, &b, &c, &d};
            EXPECT_FALSE(fresh[i]->Load(in)) << i << " cut at " << cut;
        }
    }
    std::istringstream in(std::string("\x78\x00\x00\x00\x08\x00\x07\x00", 8));
    WeaponTargetEvent back;
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.GetTime().Get(), 120u);
    EXPECT_EQ(back.targetID, 8);
    EXPECT_EQ(back.weaponID, 7);
    char text[8];
    EXPECT_TRUE(del.Describe(text, sizeof text));
    EXPECT_STREQ(text, "Delete ");
}

}  // namespace
