// VictoryManagerTest.cpp: a side's victory manager: its saved form, the
// periodic check and its hold count, loss tallies, the announcement and the
// player's answer, and the bridge's victory entry points over the sides.
#include "missions/VictoryManager.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryCheckEvent.h"
#include "missions/VictoryItemList.h"
#include "missions/ViolationRecord.h"
#include "support/Bytes.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRecBridge.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/WeaponFireCalls.h"
#include "VictoryManagerWorld.h"

namespace {

using managertest::ScriptedCondition;
using managertest::ManagerWorld;

std::string Saved(const VictoryManager& manager)
{
    std::ostringstream out;
    EXPECT_TRUE(manager.Save(out));
    return out.str();
}

// The loss record at index of a tally, or null.
const UnitClassLossRecord* LossAt(const VictoryItemList& list, int32_t index)
{
    const VictoryItem* item = list.Get(index);
    return item != nullptr && item->GetTag() == VictoryTag::CLASS_LOSS
               ? static_cast<const UnitClassLossRecord*>(item)
               : nullptr;
}

// The pending periodic check events of the queue.
int PendingChecks()
{
    int n = 0;
    for (Event* e = gam2arena::FindEvent(nullptr, EventCode::VICTORY_CHECK); e != nullptr;
         e = gam2arena::FindEvent(e, EventCode::VICTORY_CHECK))
        ++n;
    return n;
}

TEST(VictoryManagerSave, EmptyManagerWritesCountSideAndFourEmptyLists)
{
    VictoryManager manager(0x0203);
    EXPECT_EQ(Saved(manager), Bytes({0x00, 0x03, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    std::istringstream in(Saved(manager));
    VictoryManager loaded(in);
    EXPECT_TRUE(in);
    EXPECT_EQ(loaded.GetSideID(), 0x0203);
    EXPECT_EQ(loaded.GetConditionCount(), 0);
    EXPECT_EQ(loaded.GetHoldStart(), 0u);
}

// A manager with an item in each list, saved and loaded back, saves the same
// bytes; the hold count is not saved.
class VictoryManagerRoundTrip : public testing::Test {
protected:
    VictoryManagerRoundTrip() : manager(4)
    {
        manager.RecordKindLoss(31, 'P', 4, 2);
        manager.RecordKindLoss(12, 'W', 4, 6);
        manager.GetViolations().Add(new ViolationRecord(2, 1, "Victim", 9, "Violator"));
        manager.GetUnitEvents().Add(new UnitPairRecord(4, "Actor", "Other"));
        auto* condition = new VictoryCondition();
        condition->SetRequired(3);
        condition->SetDamageThreshold(50);
        condition->SetSubCondition(new VictoryCondition());
        manager.AddCondition(condition);
        manager.SetHoldStart(600);
    }
    VictoryManager manager;
};

TEST_F(VictoryManagerRoundTrip, LoadedManagerSavesTheSameBytes)
{
    const std::string bytes = Saved(manager);
    // The loss tally's record: tag 5, id 31, letter 'P' as u32, count 2.
    EXPECT_EQ(bytes.substr(3, 4 + 11), Bytes({1, 0, 0, 0, 5, 31, 0, 'P', 0, 0, 0, 2, 0, 0, 0}));

    std::istringstream in(bytes);
    VictoryManager loaded(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(Saved(loaded), bytes);
    EXPECT_EQ(loaded.GetHoldStart(), 0u);
    EXPECT_EQ(loaded.GetLossTally().GetCount(), 1);
    EXPECT_EQ(loaded.GetExpenditureTally().GetCount(), 1);
    EXPECT_EQ(loaded.GetViolations().GetCount(), 1);
    EXPECT_EQ(loaded.GetUnitEvents().GetCount(), 1);
    ASSERT_EQ(loaded.GetConditionCount(), 1);
    EXPECT_EQ(loaded.GetCondition(0)->GetRequired(), 3);
    EXPECT_NE(loaded.GetCondition(0)->GetSubCondition(), nullptr);
}

TEST_F(VictoryManagerRoundTrip, CutStreamStaysFailedAndTheManagerUnchanged)
{
    ReportCapture reports;
    const std::string bytes = Saved(manager);
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        VictoryManager target(9);
        target.GetLossTally().Add(new UnitClassLossRecord(1, 'S', 1));
        const std::string before = Saved(target);
        std::istringstream in(bytes.substr(0, length));
        EXPECT_FALSE(target.Load(in));
        EXPECT_FALSE(in);
        EXPECT_EQ(Saved(target), before);
    }
}

TEST(VictoryManagerLoad, KindZeroIsDroppedWithAnErrorBoxAndKindThreeIsFatal)
{
    ManagerWorld world;
    // Two entries, both kind 0: the manager keeps none and saves count 0.
    const std::string header = Bytes({2, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    {
        std::istringstream in(header + Bytes({0, 0}));
        VictoryManager loaded(in);
        EXPECT_TRUE(in);
        EXPECT_EQ(loaded.GetConditionCount(), 0);
        EXPECT_EQ(Saved(loaded)[0], 0);
        ASSERT_EQ(world.reports.errors.size(), 2u);
        EXPECT_EQ(world.reports.errors[0], ResourceString(VictoryManager::EMPTY_CONDITION_TEXT));
        EXPECT_FALSE(world.reports.errors[0].empty());
    }
    {
        // Empty entries between real ones: only they are dropped, the
        // conditions around them load in order and the count saved next
        // matches the records.
        world.reports.Clear();
        // A kind-1 record: required 2, threshold 100, count 0, met 0,
        // hostile 1, empty targets and counted, no sub-condition.
        const std::string record = Bytes({1, 2, 0, 100, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        std::string bytes = header;
        bytes[0] = 4;
        std::istringstream in(bytes + Bytes({0}) + record + Bytes({0}) + record);
        VictoryManager loaded(in);
        EXPECT_TRUE(in);
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
        ASSERT_EQ(loaded.GetConditionCount(), 2);
        EXPECT_EQ(loaded.GetCondition(1)->GetRequired(), 2);
        EXPECT_EQ(world.reports.errors.size(), 2u);
        std::string expected = header + record + record;
        expected[0] = 2;
        EXPECT_EQ(Saved(loaded), expected);
    }
    for (int kind : {3, 0xFF}) {
        SCOPED_TRACE(kind);
        world.reports.Clear();
        VictoryManager target(8);
        std::istringstream in(header + Bytes({0, kind}));
        EXPECT_FALSE(target.Load(in));
        EXPECT_FALSE(in);
        ASSERT_EQ(world.reports.fatals.size(), 1u);
        EXPECT_EQ(world.reports.fatals[0], ResourceString(VictoryManager::BAD_CONDITION_TEXT));
        EXPECT_EQ(target.GetSideID(), 8);
    }
}

TEST(VictoryManagerConstruction, ExactlyOnePeriodicCheckIsPendingDueAtSixty)
{
    ManagerWorld world;
    world.SetTime(500);
    world.AddSide(1);
    world.AddSide(2);
    world.AddSide(3);
    EXPECT_EQ(PendingChecks(), 1);
    EXPECT_EQ(gam2arena::FindEvent(nullptr, EventCode::VICTORY_CHECK)->GetTime().Get(), 60u);
    // A manager read from a stream leaves the queue alone.
    std::istringstream in(Saved(*world.sides[1]));
    VictoryManager loaded(in);
    EXPECT_EQ(PendingChecks(), 1);
}

// The periodic check at each time of a script, with the condition met or
// not; the hold start after it and whether a victory was announced.
TEST(VictoryManagerEvaluate, HoldCountAnnouncesAtTheFirstCheckPastEighteenHundredSeconds)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1);
    Game2UI2::SetCurrentSideID(1);
    auto* condition = new ScriptedCondition(true);
    manager.AddCondition(condition);
    struct Row { uint32_t time; bool met; uint32_t holdStart; size_t announcements; };
    const Row rows[] = {
        {60, true, 60, 0},
        {120, true, 60, 0},
        {1860, true, 60, 0},      // 1860 > 60 + 1800 fails: equality does not announce
        {1920, true, 0, 1},       // announced, the count starts over
        {1980, true, 1980, 1},
        {2040, false, 0, 1},      // one check without the condition restarts the count
        {2100, true, 2100, 1},
        {3960, true, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.time);
        world.SetTime(r.time);
        condition->metNow = r.met;
        manager.Evaluate(nullptr);
        EXPECT_EQ(manager.GetHoldStart(), r.holdStart);
        EXPECT_EQ(world.shown.messages.size(), r.announcements);
    }
    ASSERT_EQ(world.shown.messageKeys.size(), 2u);
    EXPECT_EQ(world.shown.messageKeys[0], 1);
    EXPECT_EQ(world.shown.answers[0], &VictoryManager::OnVictoryAnswer);
    EXPECT_EQ(world.shown.messages[0], ResourceString(0x7B0164) + ResourceString(0x7B0165) + "\n");
    EXPECT_EQ(world.shown.sounds, (std::vector<int32_t>{VictoryManager::VICTORY_SOUND, VictoryManager::VICTORY_SOUND}));
}

TEST(VictoryManagerEvaluate, ConditionsAreAlternativesAndOnlyThePlayersSideIsTold)
{
    struct Row { const char* name; int conditions; bool firstMet; bool secondMet; uint16_t player; size_t told; };
    const Row rows[] = {
        {"no conditions", 0, false, false, 1, 0},
        {"none met", 2, false, false, 1, 0},
        {"second met", 2, false, true, 1, 1},
        {"both met: one announcement", 2, true, true, 1, 1},
        {"not the player's side", 2, true, true, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ManagerWorld world;
        VictoryManager& manager = world.AddSide(1);
        Game2UI2::SetCurrentSideID(r.player);
        if (r.conditions > 0) {
            manager.AddCondition(new ScriptedCondition(r.firstMet));
            manager.AddCondition(new ScriptedCondition(r.secondMet));
        }
        const bool anyMet = r.firstMet || r.secondMet;
        world.SetTime(60);
        manager.Evaluate(nullptr);
        EXPECT_EQ(manager.GetHoldStart(), anyMet ? 60u : 0u);
        world.SetTime(1920);
        manager.Evaluate(nullptr);
        // A side that is not the player's has its count reset all the same.
        EXPECT_EQ(manager.GetHoldStart(), 0u);
        EXPECT_EQ(world.shown.messages.size(), r.told);
        EXPECT_EQ(world.shown.sounds.size(), r.told);
    }
}

TEST(VictoryManagerEvaluate, LostUnitsAreSeenByEveryConditionAndOwnDestroyedOnesTallied)
{
    struct Row { const char* name; uint16_t side; char letter; int32_t damage; int losses; int expended; };
    const Row rows[] = {
        {"own ship destroyed", 1, 'S', 100, 1, 0},
        {"own ship at 99 percent", 1, 'S', 99, 0, 0},
        {"own weapon spent", 1, 'W', 120, 0, 1},
        {"own aircraft", 1, 'P', 100, 1, 0},
        {"another side's ship", 2, 'S', 100, 0, 0},
        {"damage read as a byte: 256 is 0", 1, 'S', 256, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ManagerWorld world;
        VictoryManager& manager = world.AddSide(1);
        auto* first = new ScriptedCondition();
        auto* second = new ScriptedCondition();
        manager.AddCondition(first);
        manager.AddCondition(second);
        managertest::SideUnit& unit = world.AddUnit(40, r.side, r.letter, 77, r.damage);
        manager.Evaluate(&unit);
        EXPECT_EQ(first->seenUnits, std::vector<uint16_t>{40});
        EXPECT_EQ(second->seenUnits, std::vector<uint16_t>{40});
        EXPECT_EQ(first->seenSide, 1);
        EXPECT_EQ(manager.GetLossTally().GetCount(), r.losses);
        EXPECT_EQ(manager.GetExpenditureTally().GetCount(), r.expended);
        const VictoryItemList& tally = r.letter == 'W' ? manager.GetExpenditureTally() : manager.GetLossTally();
        if (const UnitClassLossRecord* record = LossAt(tally, 0)) {
            EXPECT_EQ(record->GetRecordID(), 77);
            EXPECT_EQ(record->GetTypeLetter(), static_cast<uint32_t>(r.letter));
            EXPECT_EQ(record->GetCount(), 1);
        }
        EXPECT_EQ(manager.GetHoldStart(), 0u);   // a unit never moves the count
    }
}

TEST(VictoryManagerRecordKindLoss, OwnLossesJoinTheTallyOfTheirLetterMergedByKind)
{
    VictoryManager manager(3);
    manager.RecordKindLoss(31, 'P', 3, 2);
    manager.RecordKindLoss(31, 'P', 3, 5);
    manager.RecordKindLoss(32, 'P', 3, 1);
    manager.RecordKindLoss(12, 'W', 3, 4);
    manager.RecordKindLoss(12, 'W', 2, 9);   // another side's: not tallied here
    manager.RecordKindLoss(40, 'S', 1, 1);
    ASSERT_EQ(manager.GetLossTally().GetCount(), 2);
    EXPECT_EQ(LossAt(manager.GetLossTally(), 0)->GetCount(), 7);
    EXPECT_EQ(LossAt(manager.GetLossTally(), 1)->GetRecordID(), 32);
    ASSERT_EQ(manager.GetExpenditureTally().GetCount(), 1);
    EXPECT_EQ(LossAt(manager.GetExpenditureTally(), 0)->GetCount(), 4);
}

TEST(VictoryManagerAnswer, ContinueRestartsTheSidesCountAndStopEndsTheScenario)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1);
    manager.SetHoldStart(900);

    VictoryManager::OnVictoryAnswer(1, 1);
    EXPECT_EQ(manager.GetHoldStart(), 0u);
    EXPECT_TRUE(world.shown.modalWindows.empty());

    // The all-units-lost question: going on leaves everything as it is.
    manager.SetHoldStart(900);
    VictoryManager::OnVictoryAnswer(0, 1);
    EXPECT_EQ(manager.GetHoldStart(), 900u);
    EXPECT_TRUE(world.shown.modalWindows.empty());

    for (uint16_t side : {0, 1}) {
        world.shown.modalWindows.clear();
        VictoryManager::OnVictoryAnswer(side, 0);
        EXPECT_EQ(world.shown.modalWindows, std::vector<uint32_t>{0});
    }
    EXPECT_TRUE(world.reports.errors.empty());
    EXPECT_TRUE(world.reports.fatals.empty());
}

TEST(VictoryManagerAnswer, ContinueForASideWithoutManagerIsReported)
{
    ManagerWorld world;
    world.AddSide(1);
    world.sides[2] = nullptr;   // a side without a manager
    VictoryManager::OnVictoryAnswer(2, 1);
    EXPECT_EQ(world.reports.errors, std::vector<std::string>{ResourceString(VictoryManager::NO_MANAGER_TEXT)});
    world.reports.Clear();
    VictoryManager::OnVictoryAnswer(9, 1);   // no such side at all
    EXPECT_EQ(world.reports.fatals, std::vector<std::string>{"unit2gam::GetVictoryManager : side is NULL"});
    EXPECT_EQ(world.reports.errors.size(), 1u);
}

TEST(VictoryBridge, GetVictoryManagerIsFatalWithoutSideManagerOrSide)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1);
    EXPECT_EQ(unit2gam::GetVictoryManager(1), &manager);
    EXPECT_TRUE(world.reports.fatals.empty());
    EXPECT_EQ(unit2gam::GetVictoryManager(2), nullptr);
    world.hasSideManager = false;
    EXPECT_EQ(unit2gam::GetVictoryManager(1), nullptr);
    EXPECT_EQ(world.reports.fatals, (std::vector<std::string>{"unit2gam::GetVictoryManager : side is NULL",
                                                               "unit2gam::GetVictoryManager : sideMan is NULL"}));
}

TEST(VictoryBridge, ChecksReachEverySideAndReportMissingManagers)
{
    ManagerWorld world;
    InstallVictoryBridge();
    VictoryManager& one = world.AddSide(1);
    VictoryManager& three = world.AddSide(3);
    auto* seenByOne = new ScriptedCondition();
    auto* seenByThree = new ScriptedCondition();
    one.AddCondition(seenByOne);
    three.AddCondition(seenByThree);
    world.sides[2] = nullptr;
    world.AddUnit(50, 1, 'S', 7, 100);

    // Through the unit model's own entry points.
    unit2gam::CheckVictoryConditions(50);
    EXPECT_EQ(seenByOne->seenUnits, std::vector<uint16_t>{50});
    EXPECT_EQ(seenByThree->seenUnits, std::vector<uint16_t>{50});
    EXPECT_EQ(seenByThree->seenSide, 3);
    EXPECT_EQ(one.GetLossTally().GetCount(), 1);
    EXPECT_EQ(world.reports.errors, std::vector<std::string>{"unit2gam::CheckVictoryConditions : vicMan is NULL"});

    world.reports.Clear();
    unit2gam::CheckVictoryConditions2(3, 31, 'P', 4);
    unit2gam::CheckVictoryConditions2(3, 32, 'P', 0);   // a count of 0 does nothing
    ASSERT_EQ(three.GetLossTally().GetCount(), 1);
    EXPECT_EQ(LossAt(three.GetLossTally(), 0)->GetCount(), 4);
    EXPECT_EQ(one.GetLossTally().GetCount(), 1);
    EXPECT_EQ(world.reports.errors, std::vector<std::string>{"unit2gam::CheckVictoryConditions2 : vicMan is NULL"});

    world.reports.Clear();
    world.hasSideManager = false;
    unit2gam::CheckVictoryConditions(0);
    unit2gam::CheckVictoryConditions2(3, 31, 'P', 4);
    EXPECT_EQ(world.reports.errors, (std::vector<std::string>{"unit2gam::CheckVictoryConditions : sideMan is NULL",
                                                               "unit2gam::CheckVictoryConditions2 : sideMan is NULL"}));
    UninstallVictoryBridge();
}

TEST(VictoryBridge, WeaponHitsAreRecordedByTheWeaponSidesManager)
{
    ManagerWorld world;
    InstallVictoryBridge();
    VictoryManager& shooter = world.AddSide(1);
    world.AddSide(2);
    world.AddUnit(80, 2, 'S', 33).SetName("Target");
    world.AddUnit(81, 1, 'S', 34).SetName("Launcher");
    WeaponFire::RecordViolation(1, true, 2, 80, 81);
    WeaponFire::RecordUnitEvent(1, 2, 80, 81);
    ASSERT_EQ(shooter.GetViolations().GetCount(), 1);
    const auto* violation = static_cast<const ViolationRecord*>(shooter.GetViolations().Get(0));
    EXPECT_EQ(violation->GetSideID(), 2);
    EXPECT_EQ(violation->IsHostile(), 1);
    EXPECT_EQ(violation->GetPlatformID(), 33);
    ASSERT_EQ(shooter.GetUnitEvents().GetCount(), 1);
    EXPECT_EQ(static_cast<const UnitPairRecord*>(shooter.GetUnitEvents().Get(0))->GetEventCode(), 2);
    EXPECT_TRUE(world.reports.fatals.empty());

    world.sides[1] = nullptr;
    WeaponFire::RecordViolation(1, true, 2, 80, 81);
    world.hasSideManager = false;
    WeaponFire::RecordUnitEvent(1, 2, 80, 81);
    EXPECT_EQ(world.reports.fatals, (std::vector<std::string>{ResourceString(0x7B0260), ResourceString(0x7B0261)}));
    UninstallVictoryBridge();
}

TEST(VictoryBridge, AllUnitsLostQuestionIsAskedOnceAndOnlyWithoutACurrentSideRecord)
{
    ManagerWorld world;
    world.AddSide(1);
    Game2UI2::SetCurrentSideID(1);
    world.AddUnit(60, 2);
    unit2gam::CheckVictoryConditionsOfSides(0);
    ASSERT_EQ(world.shown.messages.size(), 1u);
    EXPECT_EQ(world.shown.messages[0], "All of your units have been destroyed.  Would you like to continue playing?\n");
    EXPECT_EQ(world.shown.messageKeys[0], 0);
    EXPECT_EQ(world.shown.answers[0], &VictoryManager::OnVictoryAnswer);
    unit2gam::CheckVictoryConditionsOfSides(0);
    EXPECT_EQ(world.shown.messages.size(), 1u);

    // While the arena has a current side record the test is skipped.
    unit2gam::ResetAllUnitsLostQuestion();
    SideContactsList records;
    SideContactsList* const previous = SideContactsList::SetArenaList(&records);
    auto* record = new SideContacts(10);
    records.Insert(record);
    gam2arena::SetCurrentSide(record);
    unit2gam::CheckAllUnitsLost();
    EXPECT_EQ(world.shown.messages.size(), 1u);
    gam2arena::SetCurrentSide(nullptr);
    SideContactsList::SetArenaList(previous);

    // A player's unit left: no question.
    world.AddUnit(61, 1);
    unit2gam::CheckAllUnitsLost();
    EXPECT_EQ(world.shown.messages.size(), 1u);
}

TEST(VictoryCheckEventTest, SavesFiveBytesAndLoadsThemBack)
{
    VictoryCheckEvent event;
    EXPECT_EQ(event.GetTime().Get(), 60u);
    EXPECT_EQ(event.GetSubject(), 0);
    event.SetDueTime(0x01020304);
    std::ostringstream out;
    event.Save(out);
    EXPECT_EQ(out.str(), Bytes({0x4A, 0x04, 0x03, 0x02, 0x01}));

    std::istringstream in(out.str().substr(1));
    VictoryCheckEvent loaded(in);
    EXPECT_TRUE(in);
    EXPECT_EQ(loaded.GetTime().Get(), 0x01020304u);
    EXPECT_EQ(loaded.TypeCode(), EventCode::VICTORY_CHECK);
}

TEST(VictoryCheckEventTest, FailedStreamsAreFatal)
{
    ManagerWorld world;
    for (size_t length = 0; length < 4; ++length) {
        world.reports.Clear();
        VictoryCheckEvent event;
        std::istringstream in(std::string("\x10\x20\x30", length));
        EXPECT_FALSE(event.Load(in));
        EXPECT_EQ(event.GetTime().Get(), 60u);
        EXPECT_EQ(world.reports.fatals, std::vector<std::string>{ResourceString(VictoryCheckEvent::NOT_LOADED_TEXT)});
    }
    world.reports.Clear();
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    VictoryCheckEvent().Save(out);
    EXPECT_EQ(world.reports.fatals, std::vector<std::string>{ResourceString(VictoryCheckEvent::NOT_SAVED_TEXT)});
}

TEST(VictoryCheckEventTest, HandlingChecksEverySideAndStaysQueuedSixtySecondsOn)
{
    ManagerWorld world;
    InstallVictoryBridge();
    Game2UI2::SetCurrentSideID(1);
    world.AddUnit(70, 1);
    VictoryManager& manager = world.AddSide(1);
    auto* condition = new ScriptedCondition(true);
    manager.AddCondition(condition);
    world.SetTime(60);
    Event* event = gam2arena::FindEvent(nullptr, EventCode::VICTORY_CHECK);
    ASSERT_NE(event, nullptr);
    world.state.Queue().Remove(event);
    EXPECT_TRUE(event->HandleEvent());
    EXPECT_EQ(event->GetTime().Get(), 120u);
    EXPECT_EQ(condition->seenUnits, std::vector<uint16_t>{0});
    EXPECT_EQ(manager.GetHoldStart(), 60u);
    delete event;
    UninstallVictoryBridge();
}

}  // namespace
