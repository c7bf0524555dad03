// MountLaunchTest.cpp: a weapon record's fire (new weapons along copies of
// the path, gun bursts, the shots taken off and reported), and a mount's
// launches at a position and at a unit through Mount::Launch: the ready
// rounds lowered once, torpedo path codes and a refused torpedo path, the
// data link a steered weapon needs, an intercept that takes the whole
// endurance, and the set-back of the aim point.
#include <gtest/gtest.h>

#include "WeaponWorld.h"
#include "annex/TimedRecord.h"
#include "core/NavMath.h"
#include "engagement/Intercept.h"
#include "engagement/MountLaunch.h"
#include "support/ReportCapture.h"
#include "units/DatalinkRecord.h"

namespace {

using namespace weapontest;

constexpr uint16_t TARGET = 50;
constexpr uint16_t SIDE_RECORD = 5;

class Launches : public testing::Test, public WeaponWorld {
protected:
    Launches()
    {
        target = &AddUnit(TARGET, 'S', 0x1, LatLonPoint(8192, 0));
        ship->sideEntryID = SIDE_RECORD;
        SideContacts& record = AddRecord(SIDE_RECORD);
        record.contacts.Insert(new Contact(*target, 0));
    }
    TimedRecord AtPosition(uint16_t recKey, uint8_t wanted)
    {
        TimedRecord record;
        record.weaponRecKey = recKey;
        record.position = LatLonPoint(8192, 4096);
        record.quantity = wanted;
        return record;
    }
    TimedRecord AtTarget(uint16_t recKey, uint8_t wanted)
    {
        TimedRecord record = AtPosition(recKey, wanted);
        record.idD = TARGET;
        return record;
    }
    // A propulsion record giving the weapon 600 knots at every altitude.
    void Propel(WeaponAnnex& weapon)
    {
        auto* plant = new PropulsionAnnex(8);
        for (int setting = 1; setting < PropulsionAnnex::SETTINGS; ++setting)
            plant->speedTable[setting][0] = {30000, -30000, 600};
        Annex::Tables().Propulsions()->Insert(plant);
        weapon.propulsionIDs.Insert(new IDNode(8));
        weapon.prepared = true;
        weapon.guided = true;
        weapon.hasSprint = false;
    }

    contacttest::FakeUnit* target = nullptr;
};

TEST_F(Launches, FireCopiesThePathForEveryShot)
{
    WeaponRec& rec = Load(1, MISSILE, 10, 5);
    rec.fireInterval = 4;
    SetTime(100);
    auto* path = new PositionNode(LatLonPoint(0, 0));
    auto* aim = new PositionNode(LatLonPoint(4096, 0));
    path->SetNext(aim);
    aim->SetPrev(path);
    rec.Fire(9, mount, 3, 2, path, target);
    ASSERT_EQ(launched.size(), 3u);
    EXPECT_EQ(pathLengths, (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(launched[0].due.Get(), 100u);
    EXPECT_EQ(launched[2].due.Get(), 108u);
    EXPECT_EQ(launched[0].targetID, TARGET);
    EXPECT_EQ(launched[0].launcherID, SHIP);
    EXPECT_EQ(launched[0].aimValue, 0);   // a missile of class 1 takes no aim value
    EXPECT_EQ(rec.shotsLeft, 7);
    EXPECT_EQ(rec.readyShots, 2);
    ASSERT_EQ(spent.size(), 1u);
    EXPECT_EQ(spent[0].side, 2);
    EXPECT_EQ(spent[0].count, 3);
}

TEST_F(Launches, GunFireReportsOnlyTheShotsLeft)
{
    WeaponRec& gun = Load(1, GUN, 3, 5);
    gun.Fire(0, mount, 4, 1, nullptr, nullptr);
    ASSERT_EQ(gunBursts.size(), 1u);
    EXPECT_EQ(gunBursts[0].count, 4);
    EXPECT_EQ(gun.shotsLeft, 0);
    ASSERT_EQ(spent.size(), 1u);
    EXPECT_EQ(spent[0].count, 3);
}

TEST_F(Launches, NoMountIsFatalAndFiresNothing)
{
    ReportCapture reports;
    WeaponRec& gun = Load(1, GUN, 3, 5);
    gun.Fire(0, nullptr, 1, 1, new PositionNode(LatLonPoint(0, 0)), nullptr);
    EXPECT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(gun.shotsLeft, 3);
}

TEST_F(Launches, ReadyRoundsFallOncePerLaunch)
{
    Load(1, MISSILE, 10, 10);
    mount->roundsReady = 2;
    mount->emptySpace = 0;
    TimedRecord first = AtPosition(1, 2);
    EXPECT_TRUE(mount->Launch(first));
    EXPECT_EQ(launched.size(), 2u);
    EXPECT_EQ(mount->roundsReady, 0);
    EXPECT_EQ(mount->emptySpace, 2);
    // No round ready: a later launch in the same step waits.
    TimedRecord second = AtPosition(1, 1);
    EXPECT_FALSE(mount->Launch(second));
    EXPECT_EQ(launched.size(), 2u);
    EXPECT_EQ(mount->roundsReady, 0);
}

TEST_F(Launches, PartLaunchLowersTheRoundsWanted)
{
    Load(1, MISSILE, 10, 10);
    mount->roundsReady = 1;
    TimedRecord record = AtPosition(1, 3);
    EXPECT_FALSE(mount->Launch(record));
    EXPECT_EQ(record.quantity, 2);
    TimedRecord none = AtPosition(7, 3);   // no such weapon record: finished
    EXPECT_TRUE(mount->Launch(none));
}

TEST(TorpedoPath, TypeByLaunchAltitude)
{
    EXPECT_EQ(MountLaunch::TorpedoPathType(50), 7);
    EXPECT_EQ(MountLaunch::TorpedoPathType(0), 6);
    EXPECT_EQ(MountLaunch::TorpedoPathType(-10), 4);
}

TEST_F(Launches, RefusedTorpedoPath)
{
    ReportCapture reports;   // no navigator: every path is refused
    target->SetAltitude(-5);
    Load(1, TORPEDO, 4, 4);
    TimedRecord atPosition = AtPosition(1, 1);
    EXPECT_FALSE(mount->Launch(atPosition));   // keeps its rounds wanted
    EXPECT_EQ(atPosition.quantity, 1);
    WeaponAnnex& torpedo = Record(TORPEDO);
    Propel(torpedo);
    torpedo.cruiseLimit = 1000;
    TimedRecord atUnit = AtTarget(1, 1);
    EXPECT_TRUE(mount->Launch(atUnit));   // finished: nothing more to try
    EXPECT_EQ(atUnit.quantity, 0);
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(mount->weapons.Find(1)->shotsLeft, 4);
}

TEST_F(Launches, SteeredWeaponNeedsAnOpenDataLink)
{
    Load(1, LINKED, 6, 6);
    TimedRecord record = AtTarget(1, 2);
    EXPECT_FALSE(mount->Launch(record));
    EXPECT_TRUE(gunBursts.empty());
    auto* link = new DatalinkRecord(5);
    ship->datalinks.Insert(link);
    link->SetState(2);
    EXPECT_FALSE(mount->Launch(record));
    link->SetState(3);
    EXPECT_TRUE(mount->Launch(record));
    EXPECT_EQ(gunBursts.size(), 1u);
}

TEST_F(Launches, InterceptMustBeShorterThanTheEndurance)
{
    WeaponAnnex& missile = Record(MISSILE);
    Propel(missile);
    int32_t course = 0;
    int32_t time = 0;
    LatLonPoint point;
    ASSERT_TRUE(ComputeIntercept(target->GetPosition(), 0, 0, ship->GetPosition(), &course, 600, &time, &point));
    missile.cruiseLimit = static_cast<uint32_t>(time);
    Load(1, MISSILE, 6, 6);
    TimedRecord record = AtTarget(1, 1);
    EXPECT_FALSE(mount->Launch(record));   // an intercept equal to the endurance is out of reach
    EXPECT_TRUE(launched.empty());
    missile.cruiseLimit = static_cast<uint32_t>(time) + 1;
    EXPECT_TRUE(mount->Launch(record));
    EXPECT_EQ(launched.size(), 1u);
}

TEST_F(Launches, SelfHomingWeaponAimsShortOfTheTarget)
{
    WeaponAnnex& missile = Record(MISSILE);
    Propel(missile);
    missile.cruiseLimit = 1000;
    missile.sensors.Insert(new IDRecord(3, 0));
    Load(1, MISSILE, 6, 6);
    LatLonPoint aim;
    WeaponFireCalls calls = GetWeaponFireCalls();
    static LatLonPoint* seen = nullptr;
    seen = &aim;
    calls.makeNewUnitEvent = [](const NewWeaponOrder& order) -> Event* {
        *seen = order.path->GetNext()->GetPosition();
        return nullptr;
    };
    SetWeaponFireCalls(calls);
    TimedRecord record = AtTarget(1, 1);
    EXPECT_TRUE(mount->Launch(record));
    // 2 nm out: the aim point is set back by half the range, to 1 nm.
    EXPECT_NEAR(NavMath::Get_Vector(ship->GetPosition(), aim).range, 4096, 64);
}

TEST_F(Launches, WhatEachLaunchOffers)
{
    constexpr uint16_t BUOY = 9;
    AddWeapon(BUOY, 256, 0x2, 0, 100);
    Load(1, GUN, 10, 10);
    Load(2, BUOY, 5, 0);
    // A negative ready count limits no launch at a position ...
    mount->roundsReady = -1;
    EXPECT_EQ(mount->LaunchAtPosition(LatLonPoint(8192, 4096), *mount->weapons.Find(1), 2, 1, 0), 2);
    EXPECT_EQ(mount->roundsReady, -1);   // lowered only by Mount::Launch
    // ... but stops one at a unit.
    TimedRecord atUnit = AtTarget(1, 1);
    EXPECT_EQ(mount->LaunchAtUnit(atUnit, *mount->weapons.Find(1)), 0);
    mount->roundsReady = 1;
    EXPECT_EQ(mount->LaunchAtUnit(atUnit, *mount->weapons.Find(1)), 1);
    EXPECT_EQ(mount->roundsReady, 1);
    // An exempt launch (capability 0x1, a sonobuoy) offers the loaded rounds.
    mount->roundsReady = 0;
    EXPECT_EQ(mount->LaunchAtPosition(LatLonPoint(8192, 4096), *mount->weapons.Find(2), 3, 1, 0), 0);
    mount->capabilities = 0x1;
    EXPECT_EQ(mount->LaunchAtPosition(LatLonPoint(8192, 4096), *mount->weapons.Find(2), 9, 1, 0), 5);
    EXPECT_EQ(mount->roundsReady, 0);
    EXPECT_EQ(mount->weapons.Find(2)->shotsLeft, 0);
}

struct SetBackCase {
    int32_t tenths;      // range to the meeting point
    uint16_t speed;      // weapon speed, knots
    uint16_t minimumRun;
    int32_t aimTenths;   // range to the aim point
};

TEST_F(Launches, SetBackOfTheAimPoint)
{
    const SetBackCase cases[] = {
        {120, 600, 0, 70},     // 5 nm short
        {60, 600, 0, 30},      // halfway
        {60, 12000, 0, 10},    // speed / 240 = 50 tenths
        {60, 600, 40, 40},     // the minimum run holds it out
    };
    WeaponAnnex& missile = Record(MISSILE);
    Propel(missile);
    missile.cruiseLimit = 100000;
    missile.sensors.Insert(new IDRecord(3, 0));
    WeaponFireCalls calls = GetWeaponFireCalls();
    static LatLonPoint aim;
    calls.makeNewUnitEvent = [](const NewWeaponOrder& order) -> Event* {
        aim = order.path->GetNext()->GetPosition();
        return nullptr;
    };
    SetWeaponFireCalls(calls);
    SideContacts* side = gam2arena::FindSide(SIDE_RECORD);
    uint16_t id = 60;
    for (const SetBackCase& c : cases) {
        SCOPED_TRACE(c.tenths);
        for (int setting = 1; setting < PropulsionAnnex::SETTINGS; ++setting)
            Annex::Tables().Propulsions()->Find(8)->speedTable[setting][0].speed = c.speed;
        missile.minRange = c.minimumRun;
        auto& far = AddUnit(++id, 'S', 0x1, LatLonPoint(c.tenths * 4096 / 10, 0));
        side->contacts.Insert(new Contact(far, 0));
        Load(id, MISSILE, 1, 1);
        mount->roundsReady = 1;
        TimedRecord record = AtTarget(id, 1);
        record.idD = id;
        ASSERT_TRUE(mount->Launch(record));
        EXPECT_NEAR(NavMath::Get_Vector(ship->GetPosition(), aim).range / 409.6, c.aimTenths, 1.0);
    }
}

}  // namespace
