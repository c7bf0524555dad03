// SideManagerTest.cpp: the side manager's relations between sides, removal
// of sides (and of the side the sweep is at), the sweep's states, the player
// side and the side section with its cut and damaged forms.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "missions/MissionCalls.h"
#include "missions/OpsStaff.h"
#include "missions/SideManager.h"
#include "missions/VictoryCalls.h"
#include "SideWorld.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/UnitList.h"

namespace {

class SideManagerTest : public ::testing::Test, public SideWorld {
protected:
    // Sides 1..count, named "S1", "S2", ...
    void AddSides(SideManager& manager, int count)
    {
        for (int i = 1; i <= count; ++i)
            manager.AddSide(new Side(("S" + std::to_string(i)).c_str(), static_cast<uint16_t>(i)));
    }

    static std::string Saved(const SideManager& manager)
    {
        std::ostringstream out;
        manager.Save(out);
        return out.str();
    }
};

int CountRelations(const Side& side)
{
    int count = 0;
    for (SideEntry* e = side.GetRelationList(); e; e = e->GetNext())
        ++count;
    return count;
}

TEST_F(SideManagerTest, NewSidesAreNeutralTowardEveryOtherAndFriendlyToThemselves)
{
    SideManager manager;
    AddSides(manager, 3);
    for (uint16_t a = 1; a <= 3; ++a) {
        EXPECT_EQ(CountRelations(*manager.GetSide(a)), 2) << a;
        for (uint16_t b = 1; b <= 3; ++b) {
            const bool same = a == b;
            EXPECT_EQ(manager.AreNeutral(a, b), !same) << a << b;
            EXPECT_EQ(manager.AreFriendly(a, b), same) << a << b;
            EXPECT_FALSE(manager.AreHostile(a, b)) << a << b;
        }
    }
    manager.AddSide(nullptr);
    EXPECT_EQ(CountRelations(*manager.GetSide(1)), 2);
    EXPECT_TRUE(reports.fatals.empty());
}

TEST_F(SideManagerTest, RelationsHaveADirectionAndAMissingFirstSideIsFatal)
{
    SideManager manager;
    AddSides(manager, 2);
    ASSERT_TRUE(manager.GetSide(1)->SetRelation(2, 1));
    EXPECT_TRUE(manager.AreHostile(1, 2));
    EXPECT_TRUE(manager.AreNeutral(2, 1));
    EXPECT_FALSE(manager.GetSide(1)->SetRelation(7, 1));   // no record is made

    // A missing second side has no relation; a missing first side is fatal.
    EXPECT_FALSE(manager.AreNeutral(1, 9));
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_FALSE(manager.AreFriendly(9, 9));
    EXPECT_EQ(reports.fatals.size(), 1u);
}

TEST_F(SideManagerTest, RemovingASideDropsItsRelationsAndMakesTheFirstSideThePlayers)
{
    SideManager manager;
    AddSides(manager, 3);
    manager.SetPlayerSide(manager.GetSide(3));
    EXPECT_FALSE(manager.RemoveSide(8));
    EXPECT_EQ(manager.GetPlayerSideID(), 3);

    EXPECT_TRUE(manager.RemoveSide(2));
    EXPECT_EQ(manager.GetSide(2), nullptr);
    EXPECT_EQ(manager.GetPlayerSideID(), 1);
    EXPECT_EQ(manager.GetSide(1)->GetRelation(2), 0);
    EXPECT_EQ(CountRelations(*manager.GetSide(1)), 1);
    EXPECT_EQ(CountRelations(*manager.GetSide(3)), 1);

    EXPECT_TRUE(manager.RemoveSide(1));
    EXPECT_TRUE(manager.RemoveSide(3));
    EXPECT_EQ(manager.GetPlayerSide(), nullptr);
    EXPECT_EQ(manager.GetFirstSide(), nullptr);
}

TEST_F(SideManagerTest, AccessorsOfAnAbsentSideAnswerNull)
{
    SideManager manager;
    AddSides(manager, 1);
    EXPECT_NE(manager.GetSideVictoryManager(1), nullptr);
    EXPECT_NE(manager.GetSideRecord(1), nullptr);
    EXPECT_EQ(manager.GetSide(2), nullptr);
    EXPECT_EQ(manager.GetSideVictoryManager(2), nullptr);
    EXPECT_EQ(manager.GetSideRecord(2), nullptr);
}

TEST_F(SideManagerTest, SweepStatesWithAndWithoutSides)
{
    SideManager empty;
    EXPECT_FALSE(empty.Update(1));
    EXPECT_EQ(empty.GetUpdateState(), SideManager::UPDATE_CONTACTS);
    EXPECT_TRUE(empty.Update(1));
    EXPECT_EQ(empty.GetUpdateState(), SideManager::UPDATE_START);

    // Two sides whose missions hold no unit take two calls each: the sweep
    // is start, 2 + 2 side calls, the contact pass.
    SideManager manager;
    AddSides(manager, 2);
    struct Row {
        uint16_t state;
        uint16_t cursor;
        bool done;
    };
    const Row rows[] = {
        {SideManager::UPDATE_SIDES, 1, false},    // start
        {SideManager::UPDATE_SIDES, 1, false},    // side 1: 0 -> 2
        {SideManager::UPDATE_SIDES, 2, false},    // side 1: 2 -> 0, done
        {SideManager::UPDATE_SIDES, 2, false},    // side 2: 0 -> 2
        {SideManager::UPDATE_CONTACTS, 0, false}, // side 2 done, ran off the end
        {SideManager::UPDATE_START, 0, true},     // contact pass
    };
    int call = 0;
    for (const Row& row : rows) {
        EXPECT_EQ(manager.Update(1), row.done) << call;
        EXPECT_EQ(manager.GetUpdateState(), row.state) << call;
        EXPECT_EQ(manager.GetUpdateCursor() ? manager.GetUpdateCursor()->GetID() : 0, row.cursor) << call;
        ++call;
    }

    // Step 0: every side is done at once and keeps its step state.
    EXPECT_FALSE(manager.Update(0));
    EXPECT_FALSE(manager.Update(0));
    EXPECT_EQ(manager.GetUpdateCursor()->GetID(), 2);
    EXPECT_EQ(manager.GetSide(1)->GetStepState(), Side::STEP_FIRST_PASS);
}

TEST_F(SideManagerTest, TheContactPassTidiesEveryPictureUnlessTheStepIsZero)
{
    // Two pictures, each with one changed contact and one dropped contact;
    // the first is the current one.
    for (const uint16_t step : {uint16_t{0}, uint16_t{1}}) {
        for (uint16_t key : {uint16_t{11}, uint16_t{12}}) {
            auto* const picture = new SideContacts(key);
            pictures.Insert(picture);
            auto* const changed = new Contact();
            changed->SetKey(5);
            changed->changeBits = 0x1;
            picture->contacts.Insert(changed);
            auto* const dropped = new Contact();
            dropped->SetKey(6);
            dropped->changeBits = ContactChange::DROPPED;
            picture->contacts.Insert(dropped);
        }
        gam2arena::SetCurrentSide(pictures.First());

        SideManager manager;   // no sides: start, then the contact pass
        EXPECT_FALSE(manager.Update(step));
        EXPECT_TRUE(manager.Update(step));
        for (SideContacts* picture = pictures.First(); picture; picture = picture->GetNext()) {
            const Contact* const changed = picture->contacts.Find(5);
            ASSERT_NE(changed, nullptr) << step;
            EXPECT_EQ(changed->changeBits, step == 0 ? 0x1 : 0) << step << " " << picture->GetKey();
            EXPECT_EQ(picture->contacts.Find(6) != nullptr, step == 0) << step << " " << picture->GetKey();
        }
        gam2arena::SetCurrentSide(nullptr);
        pictures.DeleteAll();
    }
}

TEST_F(SideManagerTest, RemovingTheSideAtTheCursorRestartsTheSweep)
{
    SideManager manager;
    AddSides(manager, 2);
    manager.Update(1);   // cursor: side 1
    manager.Update(1);
    ASSERT_EQ(manager.GetUpdateCursor(), manager.GetSide(1));
    EXPECT_TRUE(manager.RemoveSide(1));
    EXPECT_EQ(manager.GetUpdateCursor(), nullptr);
    EXPECT_EQ(manager.GetUpdateState(), SideManager::UPDATE_START);
    EXPECT_FALSE(manager.Update(1));
    EXPECT_EQ(manager.GetUpdateCursor(), manager.GetSide(2));

    // Removing another side leaves the sweep where it is.
    manager.AddSide(new Side("S3", 3));
    EXPECT_TRUE(manager.RemoveSide(3));
    EXPECT_EQ(manager.GetUpdateCursor(), manager.GetSide(2));
    EXPECT_EQ(manager.GetUpdateState(), SideManager::UPDATE_SIDES);
}

TEST_F(SideManagerTest, SideSectionRoundTripsInEveryState)
{
    for (int calls = 0; calls < 6; ++calls) {
        SideManager manager;
        AddSides(manager, 2);
        manager.GetSide(2)->SetRelation(1, 1);
        manager.SetPlayerSide(manager.GetSide(2));
        for (int i = 0; i < calls; ++i)
            manager.Update(1);
        const std::string saved = Saved(manager);

        SideManager loaded;
        std::istringstream in(saved);
        ASSERT_TRUE(loaded.Load(in)) << calls;
        EXPECT_EQ(in.peek(), EOF) << calls;
        EXPECT_EQ(Saved(loaded), saved) << calls;
        EXPECT_EQ(loaded.GetPlayerSideID(), 2);
        EXPECT_EQ(loaded.GetUpdateState(), manager.GetUpdateState());
        EXPECT_EQ(loaded.GetUpdateCursor() ? loaded.GetUpdateCursor()->GetID() : 0,
                  manager.GetUpdateState() == SideManager::UPDATE_SIDES ? manager.GetUpdateCursor()->GetID() : 0);
        EXPECT_TRUE(loaded.AreHostile(2, 1));
        EXPECT_TRUE(loaded.AreNeutral(1, 2));
    }
}

TEST_F(SideManagerTest, SideSectionTailFields)
{
    // Each row: the three tail words after an empty side list, and what loads.
    struct Row {
        const char* what;
        std::string tail;
        bool good;
        uint16_t state;
    };
    auto words = [](std::initializer_list<uint16_t> values) {
        std::ostringstream out;
        SaveField(out, uint16_t{0});   // no sides
        for (uint16_t v : values)
            SaveField(out, v);
        return out.str();
    };
    const Row rows[] = {
        {"state 0 has no cursor", words({0, 0}), true, SideManager::UPDATE_START},
        {"state 2 has no cursor", words({0, 2}), true, SideManager::UPDATE_CONTACTS},
        {"state 1 cursor naming no side restarts", words({0, 1, 5}), true, SideManager::UPDATE_START},
        {"state 1 without its cursor is cut", words({0, 1}), false, 0},
        {"state 3 is damage", words({0, 3}), false, 0},
        {"player id naming no side", words({4, 0}), true, SideManager::UPDATE_START},
    };
    for (const Row& row : rows) {
        SideManager manager;
        std::istringstream in(row.tail);
        EXPECT_EQ(manager.Load(in), row.good) << row.what;
        EXPECT_EQ(static_cast<bool>(in), row.good) << row.what;
        EXPECT_EQ(manager.GetUpdateState(), row.state) << row.what;
        EXPECT_EQ(manager.GetPlayerSide(), nullptr) << row.what;
        EXPECT_EQ(manager.GetUpdateCursor(), nullptr) << row.what;
    }
}

TEST_F(SideManagerTest, ACutSideSectionLeavesTheManagerAsItWas)
{
    SideManager source;
    AddSides(source, 2);
    source.Update(1);   // state 1: the cursor word is written
    const std::string saved = Saved(source);

    for (size_t length = 0; length < saved.size(); ++length) {
        SideManager manager;
        manager.AddSide(new Side("Held", 9));
        std::istringstream in(saved.substr(0, length));
        EXPECT_FALSE(manager.Load(in)) << length;
        EXPECT_FALSE(in) << length;
        EXPECT_EQ(manager.GetSide(1), nullptr) << length;
        EXPECT_EQ(manager.GetSide(2), nullptr) << length;
        EXPECT_NE(manager.GetSide(9), nullptr) << length;
        EXPECT_EQ(manager.GetUpdateState(), SideManager::UPDATE_START) << length;
    }
}

TEST_F(SideManagerTest, LoadedSidesJoinTheSidesHeldUnlessAnIdRepeats)
{
    SideManager source;
    AddSides(source, 1);
    const std::string saved = Saved(source);
    std::istringstream in(saved);
    SideManager manager;
    manager.AddSide(new Side("Held", 9));
    ASSERT_TRUE(manager.Load(in));
    EXPECT_NE(manager.GetSide(1), nullptr);
    EXPECT_NE(manager.GetSide(9), nullptr);

    // Side 1 again: already held.
    std::istringstream again(saved);
    EXPECT_FALSE(manager.Load(again));
    EXPECT_FALSE(again);

    // Two records of side 1 in one section.
    const std::string record = saved.substr(2, saved.size() - 2 - 4);   // after the count, before the tail
    std::string twice = std::string("\x02\x00", 2) + record + record + saved.substr(saved.size() - 4);
    SideManager fresh;
    std::istringstream repeated(twice);
    EXPECT_FALSE(fresh.Load(repeated));
    EXPECT_EQ(fresh.GetFirstSide(), nullptr);
}

TEST_F(SideManagerTest, InstalledCallsAnswerFromTheManager)
{
    SideManager manager;
    AddSides(manager, 2);
    manager.GetSide(1)->SetRelation(2, 1);
    manager.GetSide(2)->SetRelation(1, 2);
    InstallSideManagerCalls(&manager);
    EXPECT_TRUE(gam2side::AreHostile(1, 2));
    EXPECT_TRUE(gam2side::AreFriendly(2, 1));
    EXPECT_STREQ(gam2side::GetBaseName(2), "S2");
    EXPECT_EQ(gam2arena::GetSide(2), manager.GetSide(2));
    EXPECT_EQ(gam2arena::GetSide(5), nullptr);
    // The victory bookkeeping finds the sides, their managers and names.
    EXPECT_EQ(unit2gam::GetVictoryManager(2), manager.GetSide(2)->GetVictoryManager());
    EXPECT_NE(unit2gam::GetVictoryManager(2), nullptr);
    std::string name;
    EXPECT_TRUE(gam2arena::GetSideText(1, name));
    EXPECT_EQ(name, "S1");
    EXPECT_FALSE(gam2arena::GetSideText(5, name));
    InstallSideManagerCalls(nullptr);
    EXPECT_FALSE(gam2side::AreHostile(1, 2));
    EXPECT_EQ(gam2arena::GetSide(2), nullptr);
}

}  // namespace
