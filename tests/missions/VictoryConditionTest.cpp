// Tests of the unit-count victory condition: counting lost units in either
// sense, kind losses, chains, descriptions, the saved record and its refusals.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "missions/AreaVictoryCondition.h"
#include "missions/VictoryCondition.h"
#include "support/ReportCapture.h"
#include "ConditionWorld.h"

using namespace conditiontest;

namespace {

std::string R(int32_t number) { return ResourceString(number); }

// A condition about the units named, hostile or friendly.
std::unique_ptr<VictoryCondition> About(std::initializer_list<std::string> targets, uint8_t hostile,
                                        uint16_t required, uint16_t threshold)
{
    UnitsSpec s;
    s.targets = ListOf(targets);
    s.hostile = hostile;
    s.required = required;
    s.damageThreshold = threshold;
    s.met = hostile ? 0 : 1;
    return Read(UnitsRecord(s));
}

}  // namespace

TEST(VictoryCondition, PlainConditionIsFriendlyAndUnmet)
{
    VictoryCondition c;
    EXPECT_EQ(c.GetKind(), VictoryCondition::KIND_UNITS);
    EXPECT_EQ(c.GetMetFlag(), 0);
    EXPECT_EQ(c.GetHostile(), 0);
    EXPECT_EQ(c.GetTargets().GetCount(), 0);
    EXPECT_EQ(c.GetSubCondition(), nullptr);
    c.SetSense(0);
    EXPECT_EQ(c.GetMetFlag(), 1);   // the friendly sense starts met
    c.SetSense(1);
    EXPECT_EQ(c.GetMetFlag(), 0);
    EXPECT_EQ(c.GetHostile(), 1);
}

TEST(VictoryCondition, LostUnitsCountByRelationThresholdAndOnce)
{
    struct Row {
        const char* what;
        uint8_t hostile;
        uint16_t required, threshold;
        uint16_t side;
        int32_t damage;
        bool target;
        int losses;           // the unit is reported lost this many times
        uint16_t count;       // afterwards
        uint8_t met;
    };
    const Row rows[] = {
        {"hostile destroyed", 1, 1, 100, 2, 100, true, 1, 1, 1},
        {"hostile 80% under 100", 1, 1, 100, 2, 80, true, 1, 0, 0},
        {"hostile 80% over 50", 1, 1, 50, 2, 80, true, 1, 1, 1},
        {"own side is no enemy", 1, 1, 100, 1, 100, true, 1, 0, 0},
        {"not a target", 1, 1, 100, 2, 100, false, 1, 0, 0},
        {"lost twice counts once", 1, 2, 100, 2, 100, true, 2, 1, 0},
        {"required 0", 1, 0, 100, 2, 100, true, 1, 1, 1},
        {"friendly own unit breaks", 0, 1, 100, 1, 100, true, 1, 1, 0},
        {"friendly allied unit", 0, 1, 100, 3, 100, true, 1, 1, 0},
        {"friendly enemy unit ignored", 0, 1, 100, 2, 100, true, 1, 0, 1},
        {"friendly below threshold", 0, 1, 60, 1, 59, true, 1, 0, 1},
        {"friendly needs two", 0, 2, 100, 1, 100, true, 2, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ConditionWorld world;
        LossUnit& u = world.AddUnit(7, r.side, "Vela");
        u.damage = r.damage;
        auto c = About({r.target ? UnitRecord(7, "Vela") : UnitRecord(8, "Other")}, r.hostile, r.required,
                       r.threshold);
        ASSERT_NE(c, nullptr);
        for (int i = 0; i < r.losses; ++i)
            c->CheckUnit(&u, 1);
        EXPECT_EQ(c->GetCount(), r.count);
        EXPECT_EQ(c->GetMetFlag(), r.met);
        EXPECT_EQ(c->GetCounted().GetCount(), r.count);
    }
}

TEST(VictoryCondition, DistinctUnitsReachTheRequiredCount)
{
    ConditionWorld world;
    LossUnit& a = world.AddUnit(7, 2, "Vela");
    LossUnit& b = world.AddUnit(8, 2, "Ursa");
    auto c = About({UnitRecord(7, "Vela"), UnitRecord(8, "Ursa")}, 1, 2, 100);
    c->CheckUnit(&a, 1);
    EXPECT_EQ(c->GetMetFlag(), 0);
    c->CheckUnit(&b, 1);
    EXPECT_EQ(c->GetMetFlag(), 1);
    c->CheckUnit(nullptr, 1);   // the periodic check changes nothing
    EXPECT_EQ(c->GetMetFlag(), 1);
    EXPECT_EQ(c->GetCount(), 2);
}

TEST(VictoryCondition, KindLossesCountInTheSensesRelation)
{
    struct Row {
        const char* what;
        uint8_t hostile;
        uint16_t required, count;
        uint16_t platform, letter, number, loser;
        uint16_t countAfter;
        uint8_t metAfter;
    };
    const Row rows[] = {
        {"hostile aircraft", 1, 3, 0, 40, 'P', 3, 2, 3, 1},
        {"hostile too few", 1, 3, 0, 40, 'P', 2, 2, 2, 0},
        {"loser not hostile", 1, 1, 0, 40, 'P', 5, 3, 0, 0},
        {"other platform", 1, 1, 0, 41, 'P', 5, 2, 0, 0},
        {"other letter", 1, 1, 0, 40, 'S', 5, 2, 0, 0},
        {"friendly aircraft lost", 0, 4, 0, 40, 'P', 4, 1, 4, 1},
        {"friendly by an ally", 0, 4, 1, 40, 'P', 3, 3, 4, 1},
        {"friendly enemy's loss", 0, 1, 0, 40, 'P', 1, 2, 0, 0},
        {"wraps at 16 bits", 1, 100, 65535, 40, 'P', 2, 2, 1, 0},
        {"required 0", 1, 0, 0, 40, 'P', 0, 2, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ConditionWorld world;
        UnitsSpec s;
        s.targets = ListOf({KindRecord(40, 'P')});
        s.hostile = r.hostile;
        s.required = r.required;
        s.count = r.count;
        s.met = 0;   // the kind test sets met in both senses
        auto c = Read(UnitsRecord(s));
        ASSERT_NE(c, nullptr);
        c->CountKindLoss(r.platform, r.letter, r.number, 1, r.loser);
        EXPECT_EQ(c->GetCount(), r.countAfter);
        EXPECT_EQ(c->GetMetFlag(), r.metAfter);
    }
}

TEST(VictoryCondition, FriendlyWeaponKindIsMetByWeaponsFired)
{
    ConditionWorld world;
    UnitsSpec s;
    s.hostile = 0;
    s.met = 0;
    s.required = 6;
    s.targets = ListOf({KindRecord(12, 'W')});
    auto c = Read(UnitsRecord(s));
    c->CountKindLoss(12, 'W', 4, 1, 1);   // fired by the own side
    EXPECT_EQ(c->GetMetFlag(), 0);
    c->CountKindLoss(12, 'W', 2, 1, 3);   // and by an ally
    EXPECT_EQ(c->GetMetFlag(), 1);
    EXPECT_EQ(c->GetCount(), 6);
}

TEST(VictoryCondition, KindLossIsNotPassedDownTheChain)
{
    ConditionWorld world;
    UnitsSpec sub;
    sub.targets = ListOf({KindRecord(40, 'W')});
    UnitsSpec head;
    head.targets = ListOf({KindRecord(40, 'W')});
    head.sub = UnitsRecord(sub);
    auto c = Read(UnitsRecord(head));
    c->CountKindLoss(40, 'W', 1, 1, 2);
    EXPECT_EQ(c->GetMetFlag(), 1);
    EXPECT_EQ(c->GetSubCondition()->GetMetFlag(), 0);
}

TEST(VictoryCondition, ChainIsMetOnlyWhenEveryMemberIs)
{
    ConditionWorld world;
    LossUnit& a = world.AddUnit(7, 2, "Vela");
    LossUnit& b = world.AddUnit(8, 2, "Ursa");
    UnitsSpec sub;
    sub.targets = ListOf({UnitRecord(8, "Ursa")});
    UnitsSpec head;
    head.targets = ListOf({UnitRecord(7, "Vela")});
    head.sub = UnitsRecord(sub);
    auto c = Read(UnitsRecord(head));
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->GetSubCondition(), nullptr);

    c->CheckUnit(&a, 1);
    EXPECT_EQ(c->GetMetFlag(), 1);
    EXPECT_FALSE(c->IsMet());   // the sub-condition is not met yet
    c->CheckUnit(&b, 1);        // reaches the sub-condition through the head
    EXPECT_EQ(c->GetSubCondition()->GetMetFlag(), 1);
    EXPECT_TRUE(c->IsMet());
}

TEST(VictoryCondition, SideZeroIsFatalAndChangesNothing)
{
    ConditionWorld world;
    ReportCapture capture;
    LossUnit& a = world.AddUnit(7, 2, "Vela");
    auto c = About({UnitRecord(7, "Vela")}, 1, 1, 100);
    c->CheckUnit(&a, 0);
    EXPECT_EQ(capture.fatals, std::vector<std::string>{R(VictoryCondition::NO_SIDE_TEXT)});
    EXPECT_EQ(c->GetCount(), 0);
}

TEST(VictoryCondition, DescribesEachSenseAndItsChain)
{
    ConditionWorld world;
    const std::string list = "\n" + PlatformKindItem(0, 'X').Describe() + "\n\n";   // the targets' own text
    struct Row {
        const char* what;
        uint8_t hostile, met;
        uint16_t required, threshold;
        std::string expected;
    };
    const Row rows[] = {
        {"hostile destroy one", 1, 0, 1, 100,
         R(0x7B0185) + "\n" + R(0x7B0187) + "1" + R(0x7B0189) + R(0x7B018B) + "\n" + R(0x7B018C) + list},
        {"hostile damage many", 1, 1, 3, 50,
         R(0x7B0184) + "\n" + R(0x7B0186) + "3" + R(0x7B0188) + " 50" + R(0x7B018A) + R(0x7B018B) + "\n" +
             R(0x7B018C) + list},
        {"friendly one", 0, 1, 1, 100,
         R(0x7B0184) + "\n" + R(0x7B018D) + "1" + R(0x7B018F) + "100" + R(0x7B0190) + "\n" + R(0x7B0191) + list},
        {"friendly many", 0, 0, 2, 70,
         R(0x7B0185) + "\n" + R(0x7B018D) + "2" + R(0x7B018E) + "70" + R(0x7B0190) + "\n" + R(0x7B0191) + list},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        UnitsSpec s;
        s.targets = ListOf({KindRecord(0, 'X')});
        s.hostile = r.hostile;
        s.met = r.met;
        s.required = r.required;
        s.damageThreshold = r.threshold;
        auto c = Read(UnitsRecord(s));
        EXPECT_EQ(c->Describe(), r.expected);

        s.sub = UnitsRecord(s);
        auto chain = Read(UnitsRecord(s));
        EXPECT_EQ(chain->Describe(), r.expected + R(0x7B0192) + "\n\n" + r.expected);
    }
    EXPECT_NE(R(0x7B0187), "");   // the sample texts are there
}

TEST(VictoryCondition, RecordRoundTripsByteForByte)
{
    ConditionWorld world;
    AreaSpec area;
    area.targets = ListOf({UnitRecord(9, "Lynx")});
    UnitsSpec s;
    s.required = 3;
    s.damageThreshold = 75;
    s.count = 2;
    s.met = 0;
    s.hostile = 1;
    s.targets = ListOf({UnitRecord(7, "Vela"), KindRecord(40, 'P')});
    s.counted = ListOf({UnitRecord(7, "Vela")});
    s.sub = AreaRecord(area);
    const std::string bytes = UnitsRecord(s);
    auto c = Read(bytes);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetRequired(), 3);
    EXPECT_EQ(c->GetDamageThreshold(), 75);
    EXPECT_EQ(c->GetCount(), 2);
    EXPECT_EQ(c->GetTargets().GetCount(), 2);
    EXPECT_EQ(c->GetCounted().GetCount(), 1);
    ASSERT_NE(c->GetSubCondition(), nullptr);
    EXPECT_EQ(c->GetSubCondition()->GetKind(), VictoryCondition::KIND_AREA);
    EXPECT_EQ(Saved(*c), bytes);

    VictoryCondition plain;
    EXPECT_EQ(Saved(plain), UnitsRecord(UnitsSpec{0, 0, 0, 0, 0}));
}

TEST(VictoryCondition, CutRecordIsRefusedWhole)
{
    ConditionWorld world;
    ReportCapture capture;
    UnitsSpec sub;
    sub.targets = ListOf({UnitRecord(8, "Ursa")});
    UnitsSpec s;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    s.counted = ListOf({UnitRecord(7, "Vela")});
    s.sub = UnitsRecord(sub);
    const std::string bytes = UnitsRecord(s);
    for (size_t n = 1; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        std::istringstream in(bytes.substr(1, n - 1));
        EXPECT_EQ(VictoryCondition::LoadKind(VictoryCondition::KIND_UNITS, in), nullptr);
        EXPECT_TRUE(in.fail());
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(VictoryCondition, SubConditionKindsOnReading)
{
    ConditionWorld world;
    struct Row {
        uint8_t subKind;
        bool accepted;
        bool fatal;
    };
    const Row rows[] = {{0, true, false}, {3, false, true}, {7, false, true}, {255, false, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(int{r.subKind});
        ReportCapture capture;
        UnitsSpec s;
        s.sub = std::string(1, static_cast<char>(r.subKind)) + "trailing";
        auto c = Read(UnitsRecord(s));
        EXPECT_EQ(c != nullptr, r.accepted);
        if (c) {
            EXPECT_EQ(c->GetSubCondition(), nullptr);
        }
        EXPECT_EQ(capture.fatals.size(), r.fatal ? 1u : 0u);
        if (r.fatal && !capture.fatals.empty()) {
            EXPECT_EQ(capture.fatals[0], R(VictoryCondition::BAD_SUB_KIND_TEXT));
        }
    }
}

// A file can nest records without end; a chain of more than 64 is refused
// rather than read by ever deeper calls until the stack runs out.
TEST(VictoryCondition, OverlongChainIsRefused)
{
    ConditionWorld world;
    const auto chainOf = [](int length) {
        std::string bytes = NO_SUB;
        for (int i = 0; i < length; ++i) {
            UnitsSpec s;
            s.sub = bytes;
            bytes = UnitsRecord(s);
        }
        return bytes;
    };
    {
        ReportCapture capture;
        auto c = Read(chainOf(65));   // the head and 64 below it
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(capture.fatals.empty());
    }
    ReportCapture capture;
    EXPECT_EQ(Read(chainOf(66)), nullptr);
    EXPECT_EQ(capture.fatals.size(), 1u);
    EXPECT_EQ(Read(chainOf(5000)), nullptr);
}
