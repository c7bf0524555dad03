// StrikeMissionTest.cpp: the strike's creation by kind, saved form (both
// layouts, damaged records), roles of the locked target, flight size and
// description.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "missions/MissionList.h"
#include "missions/OpsStaff.h"
#include "StrikeWorld.h"

using striketest::StrikeWorld;

namespace {

std::string Saved(StrikeMission& m)
{
    std::ostringstream out;
    EXPECT_TRUE(m.Save(out));
    return out.str();
}

} // namespace

TEST(StrikeMission, KindsGiveMasksFlightSizesAndTexts)
{
    struct Case {
        uint16_t kind;
        uint32_t mask;
        uint16_t flight;
        int32_t text;
    };
    const Case cases[] = {
        {9, 0x4, 2, StrikeMission::AIR_INTERCEPT_TEXT},
        {10, 0x7E0, 4, StrikeMission::GROUND_STRIKE_TEXT},
        {11, 0x1, 4, StrikeMission::SHIP_STRIKE_TEXT},
        {12, 0x2, 1, StrikeMission::SUB_STRIKE_TEXT},
        {5, 0, 4, StrikeMission::OTHER_STRIKE_TEXT},   // another kind keeps the base's mask
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        StrikeWorld world(c.kind);
        StrikeMission& m = *world.strike;
        EXPECT_EQ(m.GetType(), 6);
        EXPECT_EQ(m.missionFlags, 0x2402u);
        EXPECT_EQ(m.targetClasses, c.mask);
        EXPECT_EQ(m.GetDefaultState(0), c.flight);
        EXPECT_EQ(m.GetSavedName(), ResourceString(c.text));
    }
}

TEST(StrikeMission, RolesOnlyForTheLockedTarget)
{
    StrikeWorld world;
    StrikeMission& m = *world.strike;
    EXPECT_EQ(m.QueryUnit(1, 0), 0);
    EXPECT_EQ(m.QueryUnit(1, 40), 0);
    EXPECT_FALSE(m.IsUnitLaunchPending(nullptr, 0));
    m.lockedTarget = 40;
    // The unit need not be the strike's.
    EXPECT_EQ(m.QueryUnit(999, 40), StrikeMission::LOCKED_TARGET_ROLE);
    EXPECT_EQ(m.QueryUnit(999, 41), 0);
    EXPECT_TRUE(m.IsUnitLaunchPending(nullptr, 40));
    EXPECT_FALSE(m.IsUnitLaunchPending(nullptr, 41));
}

TEST(StrikeMission, ArrivalsAskForAReplan)
{
    StrikeWorld world;
    world.strike->OnUnitsChanged();
    EXPECT_NE(world.strike->missionFlags & StrikeFlag::REPLAN, 0u);
    world.strike->missionFlags &= ~StrikeFlag::REPLAN;
    world.strike->OnAircraftCommitted();
    EXPECT_NE(world.strike->missionFlags & StrikeFlag::REPLAN, 0u);
}

TEST(StrikeMission, DescriptionListsTargetsWithUnseenPlaceholder)
{
    IDList targets;
    for (const uint16_t id : {30, 20, 40})
        targets.Insert(new IDNode(id));
    StrikeWorld world(11, &targets);
    Contact& a = world.AddContact(20, 0x1);
    a.name.Set("Alpha");
    a.contactNumber = 7;
    Contact& c = world.AddContact(40, 0x1);
    c.name.Set("Gamma");
    c.contactNumber = 12;
    world.MakePlayerSide();
    world.strike->SaveName();
    EXPECT_EQ(std::string(world.strike->GetSavedName()), ResourceString(StrikeMission::TARGETS_TEXT) + "Alpha-7, " +
                                                             ResourceString(StrikeMission::UNSEEN_TARGET_TEXT) +
                                                             ", Gamma-12");
    // With no current contact record only the heading stands.
    gam2arena::SetCurrentSide(nullptr);
    world.strike->SaveName();
    EXPECT_EQ(std::string(world.strike->GetSavedName()), ResourceString(StrikeMission::TARGETS_TEXT));
}

TEST(StrikeMission, DescriptionOfAnEmptyListNamesTheLockedTarget)
{
    StrikeWorld world(9);
    Contact& a = world.AddContact(50, 0x4);
    a.name.Set("Bandit");
    a.contactNumber = 3;
    world.MakePlayerSide();
    world.strike->lockedTarget = 50;
    world.strike->SaveName();
    EXPECT_EQ(std::string(world.strike->GetSavedName()),
              ResourceString(StrikeMission::AIR_INTERCEPT_TEXT) + ": Bandit-3");
    world.strike->lockedTarget = 51;   // no contact: the kind's text alone
    world.strike->SaveName();
    EXPECT_EQ(std::string(world.strike->GetSavedName()), ResourceString(StrikeMission::AIR_INTERCEPT_TEXT));
}

TEST(StrikeMission, SavedFormRoundTripsByteForByte)
{
    IDList targets;
    for (const uint16_t id : {30, 20, 40})
        targets.Insert(new IDNode(id));
    StrikeWorld world(11, &targets);
    world.strike->lockedTarget = 20;
    const std::string bytes = Saved(*world.strike);

    std::istringstream in(bytes);
    uint16_t type = 0;
    ASSERT_TRUE(LoadField(in, type));
    EXPECT_EQ(type, 6);
    StrikeMission loaded(type, &world.side);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(in.peek(), EOF);
    EXPECT_EQ(loaded.lockedTarget, 20);
    std::vector<uint16_t> ids;
    for (const IDNode* n = loaded.targetList.First(); n != nullptr; n = n->GetNext())
        ids.push_back(n->GetKey());
    EXPECT_EQ(ids, (std::vector<uint16_t>{20, 30, 40}));
    EXPECT_EQ(Saved(loaded), bytes);
}

TEST(StrikeMission, TheMissionListMakesAStrikeForType6)
{
    const MissionLoadMaker make = GetMissionLoadMaker(MissionType::STRIKE);
    ASSERT_NE(make, nullptr);
    std::unique_ptr<MissionRecord> m(make(MissionType::STRIKE, nullptr));
    EXPECT_NE(dynamic_cast<StrikeMission*>(m.get()), nullptr);
    for (const uint16_t kind : {9, 10, 11, 12})
        EXPECT_EQ(GetMissionKindMaker(kind), &StrikeMission::MakeForKind);
}

TEST(StrikeMission, ACutRecordLoadsNothing)
{
    IDList targets;
    for (const uint16_t id : {30, 20, 40})
        targets.Insert(new IDNode(id));
    StrikeWorld world(11, &targets);
    world.strike->lockedTarget = 20;
    const std::string bytes = Saved(*world.strike);
    // Every cut inside the strike's own fields (the last 10 bytes).
    for (size_t cut = bytes.size() - 10; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::istringstream in(bytes.substr(2, cut - 2));
        StrikeMission loaded(6, &world.side);
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(loaded.targetList.First(), nullptr);
        EXPECT_EQ(loaded.lockedTarget, 0);
    }
}

TEST(StrikeMission, OldLayoutHoldsOneTargetID)
{
    StrikeWorld world;
    // A base record without texts; files before 2.1.8.0 give each text a
    // signed 8-bit length, so the two empty texts shrink from 3 bytes to 2.
    StrikeMission blank(10, nullptr, nullptr, &world.side);
    delete[] blank.savedName;
    blank.savedName = nullptr;
    std::ostringstream out;
    ASSERT_TRUE(blank.SaveBase(out));
    std::string base = out.str().substr(2);
    base = base.substr(0, base.size() - 6) + std::string("\x01\x00\x01\x00", 4);

    ScenarioAdmin admin;
    admin.SetFileVersion(VersionNumber(2, 1, 5, 0));
    ScenarioAdmin* const previous = gAdmin;
    gAdmin = &admin;
    for (const uint16_t id : {0, 77}) {
        SCOPED_TRACE(id);
        const std::string record = base + std::string{static_cast<char>(id & 0xFF), static_cast<char>(id >> 8)} +
                                   std::string("\x05\x00", 2);   // locked target 5
        std::istringstream in(record);
        StrikeMission loaded(6, &world.side);
        ASSERT_TRUE(loaded.Load(in));
        EXPECT_EQ(in.peek(), EOF);
        EXPECT_EQ(loaded.lockedTarget, 5);
        if (id == 0) {
            EXPECT_EQ(loaded.targetList.First(), nullptr);
        } else {
            ASSERT_NE(loaded.targetList.First(), nullptr);
            EXPECT_EQ(loaded.targetList.First()->GetKey(), id);
            EXPECT_EQ(loaded.targetList.First()->GetNext(), nullptr);
        }
    }
    gAdmin = previous;
}
