// Tests of the victory manager's condition list: its records in order, the
// dropped kind-0 entry, the fatal unknown kind and damaged records.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "missions/AreaVictoryCondition.h"
#include "missions/VictoryConditionList.h"
#include "support/ReportCapture.h"
#include "ConditionWorld.h"

using namespace conditiontest;

namespace {

std::string TwoConditions()
{
    UnitsSpec units;
    units.targets = ListOf({UnitRecord(7, "Vela")});
    AreaSpec area;
    area.targets = ListOf({KindRecord(40, 'S')});
    return UnitsRecord(units) + AreaRecord(area);
}

}  // namespace

TEST(VictoryConditionList, RecordsRoundTripInOrder)
{
    ConditionWorld world;
    const std::string bytes = TwoConditions();
    std::istringstream in(bytes);
    VictoryConditionList list;
    ASSERT_TRUE(list.Load(in, 2));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Get(0)->GetKind(), VictoryCondition::KIND_UNITS);
    EXPECT_EQ(list.Get(1)->GetKind(), VictoryCondition::KIND_AREA);
    EXPECT_EQ(list.Get(2), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    std::ostringstream out;
    list.Save(out);
    EXPECT_EQ(out.str(), bytes);

    std::istringstream none("");
    EXPECT_TRUE(list.Load(none, 0));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(VictoryConditionList, KindZeroEntryIsDropped)
{
    ConditionWorld world;
    ReportCapture capture;
    UnitsSpec units;
    const std::string bytes = std::string(1, '\0') + UnitsRecord(units) + std::string(1, '\0');
    std::istringstream in(bytes);
    VictoryConditionList list;
    ASSERT_TRUE(list.Load(in, 3));
    EXPECT_EQ(list.GetCount(), 1);   // a later save writes a consistent count
    EXPECT_EQ(capture.errors, (std::vector<std::string>(2, ResourceString(VictoryConditionList::EMPTY_KIND_TEXT))));
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(VictoryConditionList, UnknownKindIsFatalAndKeepsNothing)
{
    ConditionWorld world;
    for (int kind : {3, 9, 255}) {
        SCOPED_TRACE(kind);
        ReportCapture capture;
        UnitsSpec units;
        const std::string bytes = UnitsRecord(units) + std::string(1, static_cast<char>(kind)) + UnitsRecord(units);
        std::istringstream in(bytes);
        VictoryConditionList list;
        EXPECT_FALSE(list.Load(in, 3));
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(capture.fatals, std::vector<std::string>{ResourceString(VictoryConditionList::BAD_KIND_TEXT)});
    }
}

TEST(VictoryConditionList, CutRecordsKeepNothing)
{
    ConditionWorld world;
    ReportCapture capture;
    const std::string bytes = TwoConditions();
    for (size_t n = 0; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        std::istringstream in(bytes.substr(0, n));
        VictoryConditionList list;
        EXPECT_FALSE(list.Load(in, 2));
        EXPECT_EQ(list.GetCount(), 0);
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(VictoryConditionList, AppendTakesAtMost255)
{
    VictoryConditionList list;
    EXPECT_FALSE(list.Append(nullptr));
    for (int i = 0; i < VictoryConditionList::MAX_COUNT; ++i)
        ASSERT_TRUE(list.Append(new VictoryCondition));
    auto* extra = new VictoryCondition;
    EXPECT_FALSE(list.Append(extra));
    delete extra;
    EXPECT_EQ(list.GetCount(), 255);
}
