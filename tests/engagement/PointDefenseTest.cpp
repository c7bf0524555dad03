// PointDefenseTest.cpp: a weapon record of a mount engaging an incoming
// unit: decoys against torpedoes and missiles, the hit chance and its
// clamps, the salvo and its limits, the minimum range, the log lines under
// their gates, the shots taken off and reported, the cues; and the mount's
// shot step around it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "WeaponWorld.h"
#include "engagement/PointDefense.h"
#include "units/Weapon.h"

namespace {

using namespace weapontest;

class Incoming : public contacttest::FakeUnit {
public:
    using FakeUnit::FakeUnit;
    int16_t GetVisualSignature(int) const override { return visual; }
    int16_t visual = 0;
};

struct ChanceCase {
    int8_t airChance;
    uint16_t speed;
    int16_t visual;
    int16_t altitude;
    uint32_t flags;
    int32_t chance;
};

TEST(PointDefenseChance, AddsPenaltiesAndClamps)
{
    const ChanceCase cases[] = {
        {80, 400, 0, 100, 0, 95},        // 110 -> 95
        {70, 400, 0, 100, 0, 100},       // exactly 100 stays
        {50, 1300, 0, 100, 0, 50},       // fast: no +30
        {50, 400, -100, 100, 0, 70},     // small
        {50, 400, 0, 3, 0, 65},          // low
        {50, 400, 0, 3, 0x4000, 80},     // low, penalty waived
        {-40, 1300, -120, 2, 0, 5},      // -65 -> 5
        {-30, 400, 0, 100, 0, 0},        // exactly 0 stays
    };
    for (const ChanceCase& c : cases) {
        WeaponAnnex weapon;
        weapon.airChance = c.airChance;
        weapon.weaponFlags = c.flags;
        Incoming unit(1, 'W', 8);
        unit.speed = c.speed;
        unit.visual = c.visual;
        EXPECT_EQ(PointDefense::HitChance(weapon, unit, c.altitude), c.chance) << int(c.airChance);
    }
}

class PointDefenseFire : public testing::Test, public WeaponWorld {
protected:
    PointDefenseFire()
    {
        WeaponFireSettings settings;
        settings.aaLog = true;
        settings.showPointDefense = true;
        settings.extraShortPointDefense = true;
        SetWeaponFireSettings(settings);
        incoming = new Incoming(INCOMING, 'W', 8);
        incoming->SetPosition(LatLonPoint(8192, 0));   // 2 nm off
        incoming->SetAltitude(100);
        incoming->SetName("Styx");
        units.Insert(incoming);
        ship->SetName("Ajax");
        Record(GUN).className.Set("Gun");
        Record(SAM).className.Set("Dart");
    }
    std::string Lines() const { return log.str(); }
    uint8_t Fire(WeaponRec& rec, int8_t wanted, int8_t limit)
    {
        kills = 0;
        return rec.FirePointDefense(mount, INCOMING, true, wanted, limit, kills, &log);
    }
    Weapon& IncomingWeapon(uint32_t kind)
    {
        auto* w = new Weapon();
        w->SetKey(300);
        w->weaponKind = kind;
        units.Insert(w);
        return *w;
    }

    Incoming* incoming = nullptr;
    std::ostringstream log;
    int8_t kills = 0;
};

TEST_F(PointDefenseFire, SureHitsStopAtTheKillsWanted)
{
    Record(GUN).airChance = 70;   // 100 percent
    WeaponRec& gun = Load(1, GUN, 200, 6);
    EXPECT_EQ(Fire(gun, 1, 4), 1);
    EXPECT_EQ(kills, 1);
    EXPECT_EQ(gun.shotsLeft, 199);
    EXPECT_EQ(gun.readyShots, 5);
    EXPECT_NE(Lines().find("++ Point Defenses Firing\n++ Bang! (Shooting Gun at it)\n++ BOOM! (Got it :)\n"
                           "++ 1 X Gun fired at the incoming weapon.\n++ 200 Gun left.\n"),
              std::string::npos)
        << Lines();
    ASSERT_EQ(spent.size(), 1u);
    EXPECT_EQ(spent[0].weaponID, GUN);
    EXPECT_EQ(spent[0].letter, 'W');
    EXPECT_EQ(spent[0].count, 1);
    EXPECT_EQ(sounds, (std::vector<int32_t>{0x70005, 0x7000C}));
}

TEST_F(PointDefenseFire, SalvoIsTheLeastOfLimitReadyAndLeft)
{
    Record(SAM).airChance = -30;   // never hits
    WeaponRec& sam = Load(1, SAM, 200, 6);
    EXPECT_EQ(Fire(sam, 1, 4), 4);
    EXPECT_EQ(kills, 0);
    EXPECT_EQ(sam.shotsLeft, 196);
    EXPECT_NE(Lines().find("++ Whoosh! (Shooting Missile at it)"), std::string::npos);
    EXPECT_EQ(sounds, (std::vector<int32_t>{0x70004}));
    WeaponRec& few = Load(2, SAM, 2, 6);
    EXPECT_EQ(Fire(few, 1, 4), 2);
    EXPECT_EQ(few.shotsLeft, 0);
}

TEST_F(PointDefenseFire, InsideMinimumRangeFiresNothing)
{
    WeaponFireSettings settings = GetWeaponFireSettings();
    settings.extraShortPointDefense = false;
    SetWeaponFireSettings(settings);
    Record(SAM).minRange = 15;
    incoming->SetPosition(LatLonPoint(5800, 0));   // 1.4 nm
    WeaponRec& sam = Load(1, SAM, 8, 4);
    EXPECT_EQ(Fire(sam, 1, 4), 0);
    EXPECT_EQ(sam.shotsLeft, 8);
    EXPECT_EQ(sam.readyShots, 4);
    EXPECT_EQ(Lines(),
              "++ Unable to fire:  incoming weapon is already within minimum range of this weapon.\n"
              "++ Minimum range of <no weapon name> is 1.5 Nautical Miles.\n"
              "++ Range of <no target unit name> at start of Point Defense calculations is 1.4 Nautical Miles.\n"
              "++ 8 Dart left.\n");
    EXPECT_TRUE(spent.empty());
}

TEST_F(PointDefenseFire, VerboseHeaderNamesTheThree)
{
    WeaponFireSettings settings = GetWeaponFireSettings();
    settings.extraVerbosePointDefense = true;
    SetWeaponFireSettings(settings);
    Record(SAM).minRange = 30;
    WeaponRec& sam = Load(1, SAM, 8, 4);
    Fire(sam, 1, 4);
    EXPECT_EQ(Lines().substr(0, Lines().find("++ Unable")),
              "++ Resolving Weapon Fire for Point Defense.\n++ Defending Weapon is Dart.\n"
              "++ Incoming Weapon is Styx.\n++ Firing Unit is Ajax.\n");
    EXPECT_NE(Lines().find("Minimum range of Dart is 3.0"), std::string::npos);
}

TEST_F(PointDefenseFire, NoLinesWithoutTheLogOptions)
{
    SetWeaponFireSettings(WeaponFireSettings{});
    Record(GUN).airChance = 70;
    WeaponRec& gun = Load(1, GUN, 5, 5);
    EXPECT_EQ(Fire(gun, 2, 2), 2);
    EXPECT_EQ(Lines(), "");
}

TEST_F(PointDefenseFire, RefusalsAnswerZero)
{
    Record(SAM).weaponFlags = 0x10;   // restricted
    WeaponRec& sam = Load(1, SAM, 8, 4);
    kills = 0;
    EXPECT_EQ(sam.FirePointDefense(mount, INCOMING, false, 1, 4, kills, &log), 0);
    EXPECT_EQ(sam.FirePointDefense(mount, 999, true, 1, 4, kills, &log), 0);   // no incoming unit
    WeaponRec& lost = Load(2, 999, 8, 4);
    EXPECT_EQ(Fire(lost, 1, 4), 0);
    EXPECT_EQ(sam.shotsLeft, 8);
}

TEST_F(PointDefenseFire, TorpedoDecoy)
{
    Weapon& torpedo = IncomingWeapon(16);   // target class 0x800
    Record(DECOY).surfaceChance = 40;
    WeaponRec& decoy = Load(1, DECOY, 3, 3);
    kills = 0;
    EXPECT_EQ(decoy.FirePointDefense(mount, 300, true, 1, 4, kills, &log), 1);
    EXPECT_EQ(torpedo.firstCounterValue, 40);
    EXPECT_EQ(decoy.shotsLeft, 2);
    EXPECT_NE(Lines().find("++ Buzz! (Torpedo Decoy Worked)"), std::string::npos);
    // Already lifted to its value: nothing more.
    log.str("");
    EXPECT_EQ(decoy.FirePointDefense(mount, 300, true, 1, 4, kills, &log), 0);
    EXPECT_EQ(decoy.shotsLeft, 2);
    EXPECT_EQ(Lines().find("Buzz"), std::string::npos);
    EXPECT_EQ(kills, 0);
}

TEST_F(PointDefenseFire, MissileDecoyLongRangeOnly)
{
    Weapon& missile = IncomingWeapon(1);   // target class 8
    missile.firstCounterValue = 20;
    Record(DECOY).airChance = 10;
    Record(DECOY).airChanceLong = 30;
    WeaponRec& decoy = Load(1, DECOY, 3, 3);
    kills = 0;
    EXPECT_EQ(decoy.FirePointDefense(mount, 300, true, 1, 4, kills, &log), 1);
    EXPECT_EQ(missile.firstCounterValue, 20);
    EXPECT_EQ(missile.secondCounterValue, 30);
    EXPECT_EQ(Lines().find("Bamf"), std::string::npos);
    EXPECT_NE(Lines().find("++ Pop! (Missile Decoy Worked at Long Range)"), std::string::npos);
}

TEST_F(PointDefenseFire, MountShotStepTakesTheRoundsUsed)
{
    Record(GUN).airChance = 70;
    Load(4, GUN, 50, 6);
    mount->roundsReady = 3;
    mount->emptySpace = 0;
    TimedRecord record;
    record.weaponRecKey = 4;
    record.idD = INCOMING;
    record.quantity = 5;
    EXPECT_EQ(mount->PointDefenseShot(record, 1, 0x1, &log), 1);
    EXPECT_EQ(mount->roundsReady, 2);
    EXPECT_EQ(mount->emptySpace, 1);
    record.weaponRecKey = 9;   // no such record
    EXPECT_EQ(mount->PointDefenseShot(record, 1, 0x1, &log), 0);
}

}  // namespace
