// AttackOptionSetTest.cpp: one target's attack options: removing the first
// matching option, sums of quantity and weighted value, and the saved form of
// a list of sets, damaged forms refused whole.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/SavedTreeListOf.h"
#include "units/AttackOptionSet.h"

namespace {

TimedRecord Option(uint16_t mountKey, uint16_t weaponRecKey, uint8_t quantity, uint16_t value16)
{
    TimedRecord r;
    r.mountKey = mountKey;
    r.weaponRecKey = weaponRecKey;
    r.quantity = quantity;
    r.value16 = value16;
    r.idD = 77;
    return r;
}

int32_t CountOptions(const AttackOptionSet& set)
{
    int32_t count = 0;
    for (const TimedRecord* r = set.Options().First(); r != nullptr; r = r->GetNext())
        ++count;
    return count;
}

}  // namespace

TEST(AttackOptionSet, RemovesTheFirstOptionMatchingMountWeaponAndQuantity)
{
    struct Row { const char* name; TimedRecord probe; int32_t left; int32_t weighted; };
    const Row rows[] = {
        {"matches none: other quantity", Option(1, 2, 5, 0), 3, 2 * 10 + 2 * 10 + 3 * 4},
        {"matches none: other mount", Option(9, 2, 2, 0), 3, 2 * 10 + 2 * 10 + 3 * 4},
        {"matches the first of two alike", Option(1, 2, 2, 0), 2, 2 * 10 + 3 * 4},
        {"matches the last", Option(1, 3, 3, 0), 2, 2 * 10 + 2 * 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AttackOptionSet set(77);
        set.AddAttackOption(Option(1, 2, 2, 10));
        set.AddAttackOption(Option(1, 2, 2, 10));
        set.AddAttackOption(Option(1, 3, 3, 4));
        set.RemoveAttackOption(r.probe);
        EXPECT_EQ(CountOptions(set), r.left);
        int32_t weighted = -1;
        int32_t count = -1;
        set.SumAttackOptions(weighted, count);
        EXPECT_EQ(weighted, r.weighted);
    }
}

TEST(AttackOptionSet, SumsOfAnEmptySetAreZero)
{
    AttackOptionSet set(5);
    int32_t weighted = -1;
    int32_t count = -1;
    set.SumAttackOptions(weighted, count);
    EXPECT_EQ(weighted, 0);
    EXPECT_EQ(count, 0);
}

TEST(AttackOptionSet, ListRoundTripsAndDamagedFormsAreRefused)
{
    SavedTreeListOf<AttackOptionSet> sets;
    auto* first = new AttackOptionSet(12);
    first->AddAttackOption(Option(1, 2, 3, 40));
    first->AddAttackOption(Option(4, 5, 6, 70));
    sets.Insert(first);
    sets.Insert(new AttackOptionSet(30));
    std::ostringstream out;
    sets.Save(out);
    EXPECT_EQ(out.str().size(), 2u + (2u + 2u + 2u * 41u) + (2u + 2u));

    SavedTreeListOf<AttackOptionSet> back;
    {
        std::istringstream in(out.str());
        ASSERT_TRUE(back.Load(in));
    }
    ASSERT_NE(back.Find(12), nullptr);
    int32_t weighted = 0;
    int32_t count = 0;
    back.Find(12)->SumAttackOptions(weighted, count);
    EXPECT_EQ(count, 9);
    EXPECT_EQ(weighted, 3 * 40 + 6 * 70);
    std::ostringstream again;
    back.Save(again);
    EXPECT_EQ(again.str(), out.str());

    // The first set's own record, cut at every length, and with an option
    // count beyond the stream: refused, no option kept.
    const std::string record = out.str().substr(2, 2 + 2 + 2 * 41);
    std::string longCount = record;
    longCount[2] = 3;
    for (size_t cut = 0; cut <= record.size(); ++cut) {
        const std::string damaged = cut == record.size() ? longCount : record.substr(0, cut);
        SCOPED_TRACE(cut);
        AttackOptionSet set(1);
        std::istringstream in(damaged);
        EXPECT_FALSE(set.Load(in));
        EXPECT_EQ(set.Options().First(), nullptr);
    }
}
