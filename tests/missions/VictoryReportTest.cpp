// VictoryReportTest.cpp: the texts a victory manager writes about its side:
// the short status and the full report, section by section, with the
// outcome picture and the bridge's status and evaluation calls.
#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>

#include "core/ResourceText.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryItemList.h"
#include "missions/VictoryManager.h"
#include "missions/ViolationRecord.h"
#include "VictoryManagerWorld.h"

namespace {

using managertest::ScriptedCondition;
using managertest::ManagerWorld;

// Resource texts one after another.
std::string Texts(std::initializer_list<int32_t> numbers)
{
    std::string text;
    for (int32_t number : numbers)
        text += ResourceString(number);
    return text;
}

std::string Status(VictoryManager& manager)
{
    std::ostringstream out;
    manager.DescribeStatus(out);
    return out.str();
}

std::string Report(VictoryManager& manager, uint8_t showOutcome = 0)
{
    std::ostringstream out;
    manager.WriteReport(showOutcome, out);
    return out.str();
}

TEST(VictoryStatus, NamesTheSideAndListsLossesThenExpenditure)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1, "Blue");
    manager.RecordKindLoss(31, 'P', 1, 2);
    manager.RecordKindLoss(12, 'W', 1, 5);
    const std::string expected = Texts({0x7B015A}) + "Blue" + "\n\n" + Texts({0x7B015C}) + "\n\n" +
                                 manager.GetLossTally().Describe() + Texts({0x7B015D}) + "\n\n" +
                                 manager.GetExpenditureTally().Describe() + "\n" + '\0';
    EXPECT_EQ(Status(manager), expected);
    EXPECT_NE(manager.GetLossTally().Describe().find(" 2 "), std::string::npos);
}

TEST(VictoryStatus, ASideWithoutNameEndsAfterTheHeading)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1);
    world.names.clear();
    EXPECT_EQ(Status(manager), Texts({0x7B015A}) + '\0');
    EXPECT_EQ(world.reports.errors, std::vector<std::string>{ResourceString(0x7B015B)});
    EXPECT_EQ(Report(manager), Texts({0x7B013B}) + '\0');
    EXPECT_EQ(world.reports.errors.back(), ResourceString(0x7B013C));
}

// The report's head (name and outcome) and verdict for each mix of a met
// condition, violations (all hostile or not) and unit-pair records.
TEST(VictoryReport, OutcomeAndRulesVerdict)
{
    enum Violations { NONE, ALL_HOSTILE, SOME_NOT_HOSTILE };
    struct Row {
        const char* name;
        bool met;
        Violations violations;
        bool pairs;
        std::initializer_list<int32_t> verdict;
    };
    const Row rows[] = {
        {"clean, lost", false, NONE, false, {0x7B013F, 0x7B0140}},
        {"clean, won, pairs", true, NONE, true, {0x7B013D, 0x7B013E, 0x7B0140, 0x7B0141, 0x7B0142}},
        {"hostile, won", true, ALL_HOSTILE, false, {0x7B013D, 0x7B013E, 0x7B0143, 0x7B0144, 0x7B0145}},
        {"hostile, won, pairs", true, ALL_HOSTILE, true,
         {0x7B013D, 0x7B013E, 0x7B0143, 0x7B0144, 0x7B0145, 0x7B0146, 0x7B0147}},
        {"hostile, lost", false, ALL_HOSTILE, false, {0x7B013F, 0x7B0143, 0x7B0148, 0x7B0149}},
        {"hostile, lost, pairs", false, ALL_HOSTILE, true,
         {0x7B013F, 0x7B0143, 0x7B0148, 0x7B0149, 0x7B014A, 0x7B014B}},
        {"not hostile, won", true, SOME_NOT_HOSTILE, false,
         {0x7B013D, 0x7B013E, 0x7B0143, 0x7B014C, 0x7B014E, 0x7B014F, 0x7B0150}},
        {"not hostile, lost, pairs", false, SOME_NOT_HOSTILE, true,
         {0x7B013F, 0x7B0143, 0x7B014D, 0x7B014E, 0x7B014F, 0x7B0150, 0x7B0151, 0x7B0152}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ManagerWorld world;
        VictoryManager& manager = world.AddSide(1, "Blue");
        manager.AddCondition(new ScriptedCondition(r.met, "cond"));
        if (r.violations != NONE) {
            manager.GetViolations().Add(new ViolationRecord(2, 1, "Victim", 9, "Violator"));
            manager.GetViolations().Add(new ViolationRecord(3, r.violations == ALL_HOSTILE ? 1 : 0, "V2", 9, "X"));
        }
        if (r.pairs)
            manager.GetUnitEvents().Add(new UnitPairRecord(1, "Actor", "Other"));
        const std::string head = Texts({0x7B013B}) + "Blue\n" + Texts(r.verdict) + "\n\n\n" + Texts({0x7B0154});
        EXPECT_EQ(Report(manager).substr(0, head.size()), head);
        EXPECT_TRUE(world.shown.pictures.empty());   // showOutcome 0
    }
}

TEST(VictoryReport, MetAndUnmetSectionsWithSeparators)
{
    ManagerWorld world;
    world.AddSide(1, "Blue");
    struct Row { const char* name; std::vector<bool> met; std::string sections; };
    const std::string met = Texts({0x7B0155}) + "\n";
    const std::string unmet = Texts({0x7B0157}) + "\n";
    const std::string separator = Texts({0x7B0156}) + "\n";
    const Row rows[] = {
        {"no conditions", {}, unmet},
        {"one met, one not", {true, false}, met + "c0" + unmet + "c1"},
        {"two met", {true, true}, met + "c0" + separator + "c1"},
        {"three unmet", {false, false, false}, unmet + "c0" + separator + "c1" + separator + "c2"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        VictoryManager manager(1);
        for (size_t i = 0; i < r.met.size(); ++i)
            manager.AddCondition(new ScriptedCondition(r.met[i], "c" + std::to_string(i)));
        const std::string report = Report(manager);
        const std::string heading = Texts({0x7B0154}) + "\n";
        const size_t at = report.find(heading);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(report.substr(at + heading.size()), r.sections + "\n" + '\0');
        // The outcome of a manager without a met condition.
        EXPECT_EQ(report.find(Texts({0x7B013F})) != std::string::npos, !r.met.size() || !r.met[0]);
    }
}

TEST(VictoryReport, ListsViolationsAndUnitPairsAfterTheConditions)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1, "Blue");
    manager.GetViolations().Add(new ViolationRecord(2, 1, "Victim", 9, "Violator"));
    manager.GetUnitEvents().Add(new UnitPairRecord(1, "Actor", "Other"));
    manager.RecordKindLoss(31, 'P', 1, 2);   // the tallies are the status's, not the report's
    const std::string tail = Texts({0x7B0157}) + "\n" + Texts({0x7B0158}) + "\n\n" +
                             manager.GetViolations().Describe() + Texts({0x7B0159}) + "\n\n" +
                             manager.GetUnitEvents().Describe() + "\n" + '\0';
    const std::string report = Report(manager);
    ASSERT_GE(report.size(), tail.size());
    EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
    EXPECT_EQ(report.find(manager.GetLossTally().Describe()), std::string::npos);
}

TEST(VictoryReport, RunsThePeriodicCheckFirstAndShowsTheOutcomeWhenAsked)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(1, "Blue");
    auto* condition = new ScriptedCondition(true);
    manager.AddCondition(condition);
    world.SetTime(300);
    Report(manager, 0);
    EXPECT_EQ(condition->seenUnits, std::vector<uint16_t>{0});
    EXPECT_EQ(manager.GetHoldStart(), 300u);
    EXPECT_TRUE(world.shown.pictures.empty());
    Report(manager, 1);
    condition->metNow = false;
    Report(manager, 1);
    EXPECT_EQ(world.shown.pictures, (std::vector<int>{1, 0}));
}

TEST(VictoryReport, BridgeHandsTheTextsToTheEvaluationPane)
{
    ManagerWorld world;
    VictoryManager& manager = world.AddSide(2, "Red");
    Game2UI2::SetCurrentSideID(2);
    unit2gam::ShowVictoryStatus(0);
    unit2gam::ShowEvaluation(2, 0);
    ASSERT_EQ(world.shown.evaluations.size(), 2u);
    EXPECT_EQ(world.shown.evaluations[0], Status(manager).c_str());
    EXPECT_EQ(world.shown.evaluations[1], Report(manager).c_str());

    world.shown.evaluations.clear();
    unit2gam::ShowVictoryStatus(5);   // no such side: nothing
    unit2gam::ShowEvaluation(5, 1);
    EXPECT_EQ(world.shown.evaluations,
              std::vector<std::string>{"There is no Victory Manager, probably because there is no side.\n"});
    EXPECT_TRUE(world.shown.pictures.empty());
}

}  // namespace
