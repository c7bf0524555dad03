// VictoryRecordingTest.cpp: the victory manager's records of unit pairs and
// rules violations: merging of repeats, the names of missing units and the
// reports of bad arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryItemList.h"
#include "missions/VictoryManager.h"
#include "missions/ViolationRecord.h"
#include "support/ReportCapture.h"
#include "VictoryWorld.h"

namespace {

using victorytest::VictoryWorld;

class VictoryRecording : public testing::Test {
protected:
    VictoryWorld world;
    ReportCapture capture;
    VictoryManager manager{3};
    Unit& own = world.AddUnit(1, 'S', "Own ship", 7);
    Unit& enemy = world.AddUnit(2, 'P', "Enemy plane", 9);
    Unit& weapon = world.AddUnit(3, 'W', "Missile", 21);

    const UnitPairRecord& Pair(int32_t i) const
    {
        return *static_cast<const UnitPairRecord*>(manager.GetUnitEvents().Get(i));
    }
    const ViolationRecord& Violation(int32_t i) const
    {
        return *static_cast<const ViolationRecord*>(manager.GetViolations().Get(i));
    }
};

TEST_F(VictoryRecording, UnitPairIsRecordedOnce)
{
    manager.RecordUnitEvent(3, &own, 2);
    manager.RecordUnitEvent(3, &own, 2);
    ASSERT_EQ(manager.GetUnitEvents().GetCount(), 1);
    EXPECT_EQ(Pair(0).GetEventCode(), 3);
    EXPECT_STREQ(Pair(0).GetActorName().Text(), "Own ship");
    EXPECT_STREQ(Pair(0).GetOtherName().Text(), "Enemy plane");
    manager.RecordUnitEvent(4, &own, 2);  // another side's id
    EXPECT_EQ(manager.GetUnitEvents().GetCount(), 2);
    EXPECT_EQ(manager.GetViolations().GetCount(), 0);
    EXPECT_TRUE(capture.errors.empty());
}

TEST_F(VictoryRecording, UnitPairWithAVanishedUnitNamesItByText)
{
    manager.RecordUnitEvent(3, &own, 99);
    ASSERT_EQ(manager.GetUnitEvents().GetCount(), 1);
    EXPECT_EQ(std::string(Pair(0).GetOtherName().Text()), ResourceString(0x7B0162));
    EXPECT_FALSE(ResourceString(0x7B0162).empty());
}

TEST_F(VictoryRecording, ViolationsMergeByNamesAndSide)
{
    manager.RecordViolation(3, 1, &own, 0, 2);
    manager.RecordPlatformViolation(3, 0, &own, &weapon, 2);  // another weapon: the same breach
    ASSERT_EQ(manager.GetViolations().GetCount(), 1);
    EXPECT_EQ(Violation(0).GetPlatformID(), 0);
    EXPECT_EQ(Violation(0).IsHostile(), 1);
    EXPECT_STREQ(Violation(0).GetVictimName().Text(), "Own ship");
    EXPECT_STREQ(Violation(0).GetViolatorName().Text(), "Enemy plane");

    manager.RecordPlatformViolation(3, 0, &enemy, &weapon, 1);
    ASSERT_EQ(manager.GetViolations().GetCount(), 2);
    EXPECT_EQ(Violation(1).GetPlatformID(), 21);
    EXPECT_EQ(Violation(1).GetSideID(), 3);
    EXPECT_TRUE(capture.errors.empty());
}

TEST_F(VictoryRecording, UnknownViolatorIsReportedAndRecorded)
{
    manager.RecordViolation(3, 1, &own, 5, 0);
    EXPECT_EQ(capture.errors, std::vector<std::string>{ResourceString(0x7B0161)});
    ASSERT_EQ(manager.GetViolations().GetCount(), 1);
    EXPECT_STREQ(Violation(0).GetViolatorName().Text(), "Unknown Violating Unit");
    manager.RecordViolation(3, 1, &enemy, 5, 99);  // an id no unit has: no report
    ASSERT_EQ(manager.GetViolations().GetCount(), 2);
    EXPECT_STREQ(Violation(1).GetViolatorName().Text(), "Unknown Violating Unit");
    EXPECT_EQ(capture.errors.size(), 1u);
}

TEST_F(VictoryRecording, BadArgumentsAreReportedAndRecordNothing)
{
    struct Row {
        const char* what;
        void (*call)(VictoryManager&, Unit& own, Unit& weapon);
        int32_t text;
    };
    const Row rows[] = {
        {"pair, side 0", [](VictoryManager& m, Unit& u, Unit&) { m.RecordUnitEvent(0, &u, 2); }, 0x7B015E},
        {"pair, no unit", [](VictoryManager& m, Unit&, Unit&) { m.RecordUnitEvent(3, nullptr, 2); }, 0x7B0160},
        {"pair, other id 0", [](VictoryManager& m, Unit& u, Unit&) { m.RecordUnitEvent(3, &u, 0); }, 0x7B0161},
        {"violation, side 0", [](VictoryManager& m, Unit& u, Unit&) { m.RecordViolation(0, 1, &u, 0, 2); }, 0x7B015E},
        {"violation, no unit", [](VictoryManager& m, Unit&, Unit&) { m.RecordViolation(3, 1, nullptr, 0, 2); },
         0x7B015F},
        {"platform, no platform unit",
         [](VictoryManager& m, Unit& u, Unit&) { m.RecordPlatformViolation(3, 1, &u, nullptr, 2); }, 0x7B0163},
        {"platform, side 0", [](VictoryManager& m, Unit& u, Unit& w) { m.RecordPlatformViolation(0, 1, &u, &w, 2); },
         0x7B015E},
        {"platform, no violated unit",
         [](VictoryManager& m, Unit&, Unit& w) { m.RecordPlatformViolation(3, 1, nullptr, &w, 2); }, 0x7B015F},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        capture.Clear();
        r.call(manager, own, weapon);
        EXPECT_EQ(capture.errors, std::vector<std::string>{ResourceString(r.text)});
        EXPECT_EQ(manager.GetUnitEvents().GetCount(), 0);
        EXPECT_EQ(manager.GetViolations().GetCount(), 0);
    }
}

}  // namespace
