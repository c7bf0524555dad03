// WeaponQueriesTest.cpp: the questions asked of a weapon record: target
// mask of a decoy, warhead type mask, nuclear warheads, the kind check, the
// damage points (sub-munitions, a cyclic sub-munition chain, a missing
// warhead reported), and the sprint and cruise speeds at an altitude.
#include <gtest/gtest.h>

#include <initializer_list>

#include "annex/AnnexTables.h"
#include "support/ReportCapture.h"

namespace {

class WeaponQueries : public testing::Test {
protected:
    WeaponQueries() { Annex::Tables().Create(); }
    ~WeaponQueries() override { Annex::Tables().Delete(); }

    WarheadAnnex& Warhead(uint16_t id, uint32_t type, uint16_t damage, uint16_t count)
    {
        auto* w = new WarheadAnnex(id);
        w->warheadType = type;
        w->damage = damage;
        w->count = count;
        Annex::Tables().Warheads()->Insert(w);
        return *w;
    }
    WeaponAnnex& Weapon(uint16_t id, uint32_t kind, std::initializer_list<uint16_t> warheads)
    {
        auto* w = new WeaponAnnex(id);
        w->weaponKind = kind;
        for (uint16_t h : warheads)
            w->warheadIDs.Insert(new IDNode(h));
        Annex::Tables().Weapons()->Insert(w);
        return *w;
    }
};

TEST_F(WeaponQueries, DecoyAttacksClassSixteenWhateverItsMask)
{
    WeaponAnnex& decoy = Weapon(1, WEAPON_KIND_DECOY, {});
    decoy.targetMask = 0x3;
    EXPECT_EQ(decoy.GetTargetMask(), 16u);
    WeaponAnnex& missile = Weapon(2, 1, {});
    missile.targetMask = 0x3;
    EXPECT_EQ(missile.GetTargetMask(), 0x3u);
}

TEST_F(WeaponQueries, DamagePointsTakeTheLargestWarhead)
{
    Warhead(10, 0x20, 300, 2);
    Warhead(11, 0x20, 500, 0);
    Warhead(12, 0x2000, 1, 1);
    Warhead(13, 1, 900, 9);
    EXPECT_EQ(Weapon(1, 1, {10, 11}).GetDamagePoints(), 600);
    EXPECT_EQ(Weapon(2, 1, {10, 12}).GetDamagePoints(), 65535);
    EXPECT_EQ(Weapon(3, 1, {13}).GetDamagePoints(), 0);
    EXPECT_TRUE(Weapon(4, 1, {10, 12}).HasNuclearWarhead());
    EXPECT_FALSE(Weapon(5, 1, {10, 11}).HasNuclearWarhead());
    EXPECT_EQ(Weapon(6, 1, {10, 12, 13}).GetWarheadTypeMask(), 0x2021u);
}

TEST_F(WeaponQueries, SubMunitionDamageFollowsItsWeapon)
{
    Warhead(10, 0x20, 40, 3);
    Warhead(20, 2, 7, 12);   // releases weapon 7
    Warhead(21, 2, 99, 1);   // a weapon that does not exist
    Weapon(7, 2, {10});
    EXPECT_EQ(Weapon(1, 2, {20}).GetDamagePoints(), 120);
    EXPECT_EQ(Weapon(2, 2, {21}).GetDamagePoints(), 0);
}

TEST_F(WeaponQueries, CyclicSubMunitionsEnd)
{
    // A releases B, B releases A; C releases itself.
    Warhead(30, 2, 2, 1);
    Warhead(31, 2, 1, 1);
    Warhead(32, 0x20, 50, 0);
    Warhead(33, 2, 3, 1);
    Weapon(1, 2, {30});
    Weapon(2, 2, {31, 32});
    Weapon(3, 2, {33});
    EXPECT_EQ(Annex::Tables().Weapons()->Find(1)->GetDamagePoints(), 50);
    EXPECT_EQ(Annex::Tables().Weapons()->Find(2)->GetDamagePoints(), 50);
    EXPECT_EQ(Annex::Tables().Weapons()->Find(3)->GetDamagePoints(), 0);
}

TEST_F(WeaponQueries, MissingWarheadIsReportedAndPassedOver)
{
    ReportCapture reports;
    Warhead(10, 0x20, 40, 0);
    EXPECT_EQ(Weapon(1, 1, {10, 77}).GetDamagePoints(), 40);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "WarheadAnnex:: warhead annex entry not found!");
}

TEST_F(WeaponQueries, KindCheck)
{
    Warhead(10, 0x20, 1, 0);
    Warhead(11, 0x800, 1, 0);
    Warhead(12, 0x4000, 1, 0);
    struct Case {
        uint32_t kind;
        std::initializer_list<uint16_t> warheads;
        bool passes;
    };
    const Case cases[] = {
        {1, {10}, true},   {16, {10}, true},  {128, {10}, true}, {2, {10}, false},
        {2, {10, 11}, true}, {8, {10}, false}, {8, {12}, true},   {4096, {}, false},
    };
    uint16_t id = 1;
    for (const Case& c : cases) {
        EXPECT_EQ(Weapon(id, c.kind, c.warheads).CheckKind(), c.passes) << "kind " << c.kind;
        ++id;
    }
}

TEST_F(WeaponQueries, SpeedsAtAnAltitude)
{
    auto* plant = new PropulsionAnnex(5);
    plant->speedTable[1][0] = {0, -10, 30};
    plant->speedTable[1][1] = {500, 0, 400};
    plant->speedTable[2][0] = {1000, 0, 600};
    plant->speedTable[3][0] = {1000, 0, 650};
    Annex::Tables().Propulsions()->Insert(plant);
    WeaponAnnex& w = Weapon(1, 1, {});
    w.propulsionIDs.Insert(new IDNode(5));
    w.propulsionIDs.Insert(new IDNode(6));   // no such record: passed over
    EXPECT_EQ(w.GetCruiseSpeedAt(-5), 30);
    EXPECT_EQ(w.GetCruiseSpeedAt(100), 400);
    EXPECT_EQ(w.GetCruiseSpeedAt(900), 0);
    EXPECT_EQ(w.GetSprintSpeedAt(100), 650);
    w.weaponFlags = FIXED_LAUNCH_ALTITUDE;
    w.launchAltitude = -5;
    EXPECT_EQ(w.GetCruiseSpeedAt(100), 30);
}

}  // namespace
