// TargetTallyTest.cpp: a launcher's tallies of its weapons in flight: a
// weapon counted once, removal never below 0, weapons without a record, the
// saved form and tallies from files before 2.1.2.0.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/WeaponAnnex.h"
#include "core/ScenarioAdmin.h"
#include "units/TargetTally.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

int32_t PointsFromLength(const WeaponAnnex& weapon)
{
    return weapon.length;
}

// A weapon table with weapon 40 (30 points) and weapon 41 (500 points),
// and the damage query reading the points from the record's length.
class TallyTest : public testing::Test {
protected:
    TallyTest()
    {
        Annex::Tables().Create();
        for (auto [id, points] : {std::pair<uint16_t, uint16_t>{40, 30}, {41, 500}}) {
            auto* w = new WeaponAnnex(id);
            w->length = points;
            Annex::Tables().Weapons()->Insert(w);
        }
        previous = SetDamagePointsQuery(&PointsFromLength);
    }
    ~TallyTest() override
    {
        SetDamagePointsQuery(previous);
        Annex::Tables().Delete();
    }

    static std::unique_ptr<TestUnit> Weapon(uint16_t id, uint16_t record)
    {
        auto w = std::make_unique<TestUnit>('W');
        w->SetKey(id);
        w->SetAnnexID(record);
        return w;
    }

    static void Totals(const TargetTally& t, uint32_t& damage, uint32_t& count) { t.GetTotals(damage, count); }

    DamagePointsQuery previous;
};

}  // namespace

TEST_F(TallyTest, AddsOnceAndRemovesNeverBelowZero)
{
    TargetTally tally(300);
    const auto a = Weapon(900, 40);
    const auto b = Weapon(901, 41);
    const auto missing = Weapon(902, 99);
    tally.AddWeapon(*a);
    tally.AddWeapon(*a);
    tally.AddWeapon(*missing);   // counts, adds no damage
    uint32_t damage = 0, count = 0;
    Totals(tally, damage, count);
    EXPECT_EQ(damage, 30u);
    EXPECT_EQ(count, 2u);

    // b's entry carries more points than the running total.
    tally.AddWeapon(*b);
    tally.RemoveWeapon(*a);
    tally.RemoveWeapon(*a);   // no longer there: nothing
    Totals(tally, damage, count);
    EXPECT_EQ(damage, 500u);
    EXPECT_EQ(count, 2u);
    auto* entry = const_cast<TargetTallyEntry*>(tally.Weapons().Find(901));
    entry->damagePoints = 900;
    tally.RemoveWeapon(*b);
    Totals(tally, damage, count);
    EXPECT_EQ(damage, 0u);   // not a negative total
    EXPECT_EQ(count, 1u);
}

TEST_F(TallyTest, SavedFormAndOlderFiles)
{
    TargetTally tally(300);
    tally.AddWeapon(*Weapon(900, 40));
    tally.AddWeapon(*Weapon(901, 41));
    tally.RemoveWeapon(*Weapon(901, 41));
    tally.AddWeapon(*Weapon(903, 41));
    std::ostringstream out;
    tally.Save(out);
    // key, 2 entries of 4 bytes, two u32 totals
    ASSERT_EQ(out.str().size(), 2u + 2u + 8u + 8u);

    TargetTally back;
    std::istringstream in(out.str());
    ASSERT_TRUE(back.Load(in));
    uint32_t damage = 0, count = 0;
    back.GetTotals(damage, count);
    EXPECT_EQ(back.GetKey(), 300);
    EXPECT_EQ(damage, 530u);
    EXPECT_EQ(count, 2u);

    // A file of version 2.1.1.9 has no totals: they are worked out.
    ScenarioAdmin admin;
    admin.SetFileVersion(VersionNumber(2, 1, 1, 9));
    ScenarioAdmin* const previousAdmin = gAdmin;
    gAdmin = &admin;
    TargetTally old;
    std::istringstream older(out.str().substr(0, 12));
    ASSERT_TRUE(old.Load(older));
    EXPECT_EQ(older.peek(), EOF);
    old.GetTotals(damage, count);
    EXPECT_EQ(damage, 530u);
    EXPECT_EQ(count, 2u);
    admin.SetFileVersion(VersionNumber(2, 1, 2, 0));
    TargetTally current;
    std::istringstream cut(out.str().substr(0, 12));
    EXPECT_FALSE(current.Load(cut));   // 2.1.2.0 carries the totals
    gAdmin = previousAdmin;
}
