// WeaponEngagementTest.cpp: the engagement checks of a weapon record: the
// reason bits and the reject mask, copies for a second record of the same
// weapon, decoys without a target, nuclear release, the bomb drop range,
// the plane's range bonus, and the mount's query and fire request.
#include <gtest/gtest.h>

#include "WeaponWorld.h"
#include "annex/TimedRecord.h"
#include "units/Weapon.h"

namespace {

using namespace weapontest;

constexpr uint16_t TARGET = 50;
constexpr int32_t TENTH = 409;

class Engagement : public testing::Test, public WeaponWorld {
protected:
    Engagement()
    {
        target = &AddUnit(TARGET, 'S', 0x1, LatLonPoint(4096, 0));
    }
    uint16_t Build(WeaponRec& rec, uint32_t mask, int32_t tenths, uint16_t reject, uint16_t targetID = TARGET)
    {
        chain.DeleteAll();   // else an entry of the same weapon is copied
        rec.BuildEngagement(mask, NavVector(tenths * TENTH, 0), chain, *mount, SHIP, targetID, 0, 0,
                            LatLonPoint(4096, 0), reject);
        if (Count() == 0)
            return 0xFFFF;   // nothing kept
        return chain.Last()->resultBits;
    }
    size_t Count() const
    {
        size_t n = 0;
        for (const TimedRecord* r = chain.First(); r != nullptr; r = r->GetNext())
            ++n;
        return n;
    }
    bool Can(WeaponRec& rec, uint32_t mask, int32_t tenths, uint16_t targetID = TARGET)
    {
        TimedRecord request;
        request.idA = SHIP;
        request.idD = targetID;
        request.position = LatLonPoint(4096, 0);
        return rec.CanEngage(mask, NavVector(tenths * TENTH, 0), request, 0, 0, *mount);
    }

    contacttest::FakeUnit* target = nullptr;
    TimedRecordChain chain;
};

TEST_F(Engagement, ReasonBitsAndTheRejectMask)
{
    WeaponRec& gun = Load(1, GUN, 100, 5);
    EXPECT_EQ(Build(gun, 0x1, 30, 0xFFFF), 0);   // nothing against it
    EXPECT_EQ(chain.Last()->quantity, 100);
    EXPECT_EQ(chain.Last()->weaponRecKey, 1);
    EXPECT_EQ(chain.Last()->mountKey, mount->GetKey());
    EXPECT_EQ(Build(gun, 0x1, 50, 0), ATTACK_OUT_OF_RANGE);   // kept with its reason
    EXPECT_EQ(Build(gun, 0x1, 50, 0xFFFF), 0xFFFF);           // not kept
    EXPECT_EQ(Build(gun, 0x2, 30, 0), ATTACK_NOT_CAPABLE);
    chain.DeleteAll();
    Record(GUN).minRange = 10;
    EXPECT_EQ(Build(gun, 0x1, 5, 0), ATTACK_TOO_CLOSE);
    chain.DeleteAll();
    Record(GUN).minLaunchSpeed = 10;
    Record(GUN).maxLaunchAltitude = 5;
    ship->SetAltitude(20);
    EXPECT_EQ(Build(gun, 0x1, 30, 0), ATTACK_SPEED_TOO_LOW | ATTACK_ALTITUDE_TOO_HIGH);
    EXPECT_EQ(Build(gun, 0x1, 30, 0, 0), ATTACK_SPEED_TOO_LOW | ATTACK_ALTITUDE_TOO_HIGH
                                             | ATTACK_NOT_BOL_CAPABLE);   // no target unit
}

TEST_F(Engagement, EmptyLoadIsRejectedAtOnceOrReported)
{
    WeaponRec& empty = Load(1, GUN, 0, 0);
    EXPECT_EQ(Build(empty, 0x1, 30, 0x1), 0xFFFF);
    EXPECT_EQ(Build(empty, 0x1, 30, 0), ATTACK_NO_AMMO);
    EXPECT_FALSE(Can(empty, 0x1, 30));
}

TEST_F(Engagement, SecondRecordOfTheWeaponIsCopied)
{
    WeaponRec& first = Load(1, GUN, 100, 5);
    WeaponRec& second = Load(2, GUN, 7, 5);
    Build(first, 0x1, 30, 0);
    Record(GUN).maxRange = 1;   // a fresh build would now find it out of range
    EXPECT_TRUE(second.CopyEngagement(chain, SHIP, TARGET, *mount, 0));
    ASSERT_EQ(Count(), 2u);
    EXPECT_EQ(chain.Last()->weaponRecKey, 2);
    EXPECT_EQ(chain.Last()->quantity, 7);
    EXPECT_EQ(chain.Last()->resultBits, 0);
    EXPECT_FALSE(second.CopyEngagement(chain, SHIP, 99, *mount, 0));
}

TEST_F(Engagement, IncomingWeaponRuleLooksAtWhatItIsAimedAt)
{
    constexpr uint16_t CIWS = 8, MISSILE_IN = 300, PLANE = 60;
    AddWeapon(CIWS, 8, 0x8, 0, 40);
    WeaponRec& gun = Load(1, CIWS, 100, 5);
    auto& plane = AddUnit(PLANE, 'P', 0x4, LatLonPoint(0, 8192));
    plane.SetAltitude(100);
    auto* missile = new Weapon();
    missile->SetKey(MISSILE_IN);
    missile->weaponKind = 1;
    missile->SetPosition(LatLonPoint(4096, 0));
    missile->launcherID = PLANE;   // fired by a plane, at the ship
    missile->targetID = SHIP;
    missile->targetLocked = 1;
    units.Insert(missile);
    struct Case {
        uint16_t aimedAt;
        uint8_t locked;
        uint8_t seeker;
        bool engaged;
    };
    const Case cases[] = {
        {SHIP, 1, 1, true},     // coming at the defender
        {PLANE, 1, 1, false},   // aimed at an airborne plane
        {SHIP, 0, 1, false},    // searching, locked on nothing
        {SHIP, 0, 0, true},
    };
    for (const Case& c : cases) {
        missile->targetID = c.aimedAt;
        missile->targetLocked = c.locked;
        missile->seekerActive = c.seeker;
        EXPECT_EQ(Can(gun, 0x8, 10, MISSILE_IN), c.engaged) << c.aimedAt << int(c.locked) << int(c.seeker);
        EXPECT_EQ(Build(gun, 0x8, 10, 0, MISSILE_IN), c.engaged ? 0 : ATTACK_NOT_CAPABLE) << c.aimedAt;
        EXPECT_EQ(Build(gun, 0x8, 10, 0x2, MISSILE_IN) == 0xFFFF, !c.engaged) << c.aimedAt;
    }
}

TEST_F(Engagement, TorpedoNeedsASuitableLaunchPoint)
{
    WeaponRec& torpedo = Load(1, TORPEDO, 4, 4);
    WeaponRec& gun = Load(2, GUN, 4, 4);
    // Without a map no point is valid: only the torpedo is held back.
    EXPECT_EQ(Build(torpedo, 0x2, 5, 0) & ATTACK_BAD_LOCATION, ATTACK_BAD_LOCATION);
    EXPECT_EQ(Build(gun, 0x1, 5, 0) & ATTACK_BAD_LOCATION, 0);
    WeaponFireCalls calls = GetWeaponFireCalls();
    calls.pointValidForType = [](const LatLonPoint&, int16_t type) { return type == 4; };
    SetWeaponFireCalls(calls);
    EXPECT_EQ(Build(torpedo, 0x2, 5, 0) & ATTACK_BAD_LOCATION, 0);
}

TEST_F(Engagement, DecoyWithoutTargetTakesAnyMask)
{
    WeaponRec& decoy = Load(1, DECOY, 4, 4);
    EXPECT_EQ(Build(decoy, 0x1000, 0, 0, 0) & ATTACK_NOT_CAPABLE, 0);
    EXPECT_EQ(Build(decoy, 0x1000, 0, 0x2), 0xFFFF);   // a target it cannot decoy: refused
    Record(DECOY).surfaceChance = 30;
    EXPECT_EQ(Build(decoy, 0x800, 0, 0) & ATTACK_NOT_CAPABLE, 0);
}

TEST_F(Engagement, NuclearReleaseFollowsTheOption)
{
    auto* nuke = new WarheadAnnex(2);
    nuke->warheadType = 0x2000;
    Annex::Tables().Warheads()->Insert(nuke);
    Record(GUN).warheadIDs.Insert(new IDNode(2));
    WeaponRec& gun = Load(1, GUN, 10, 5);
    EXPECT_EQ(Build(gun, 0x1, 30, 0), ATTACK_NO_NUCLEAR_RELEASE);
    EXPECT_EQ(chain.Last()->value16, 65535);
    WeaponFireSettings settings;
    settings.useNukes = true;
    SetWeaponFireSettings(settings);
    EXPECT_EQ(Build(gun, 0x1, 30, 0), 0);
}

TEST_F(Engagement, BombDropRange)
{
    ship->SetAltitude(20000);   // the formula on a stored difference of 20000
    ship->speed = 400;          // D = 400 x 200 / 480 = 166 tenths
    WeaponRec& bomb = Load(1, BOMB, 4, 4);
    EXPECT_TRUE(Can(bomb, 0x1, 166));
    EXPECT_FALSE(Can(bomb, 0x1, 167));
    EXPECT_EQ(Build(bomb, 0x1, 166, 0), 0);
    EXPECT_EQ(Build(bomb, 0x1, 167, 0), ATTACK_OUT_OF_RANGE);
    // Below the target the drop range is the least, 20.
    target->SetAltitude(30000);
    EXPECT_TRUE(Can(bomb, 0x1, 20));
    EXPECT_FALSE(Can(bomb, 0x1, 21));
}

TEST_F(Engagement, PlaneGetsARangeBonus)
{
    auto& plane = AddUnit(60, 'P', 0x4, LatLonPoint(0, 0));
    plane.speed = 480;
    stateWord = 15;   // B = 480 x 15 / 360 = 20
    Record(GUN).maxRange = 80;
    auto* wing = new Mount(2);
    wing->SetOwner(&plane);
    plane.mounts.Insert(wing);
    auto* rec = new WeaponRec(1);
    rec->weaponID = GUN;
    rec->shotsLeft = 100;
    wing->weapons.Insert(rec);
    TimedRecord request;
    request.idA = 60;
    request.idD = TARGET;
    EXPECT_TRUE(rec->CanEngage(0x1, NavVector(99 * TENTH, 0), request, 0, 0, *wing));
    EXPECT_TRUE(rec->CanEngage(0x1, NavVector(100 * TENTH, 0), request, 0, 0, *wing));
    EXPECT_FALSE(rec->CanEngage(0x1, NavVector(101 * TENTH, 0), request, 0, 0, *wing));
    // The same shot from the ship's mount: no bonus.
    EXPECT_FALSE(Can(*rec, 0x1, 99));
}

TEST_F(Engagement, MountQueryAndFireRequest)
{
    Load(1, GUN, 100, 5);
    Load(2, MISSILE, 0, 0);
    Mount::EngagementQuery query;
    query.targetMask = 0x1;
    query.toTarget = NavVector(30 * TENTH, 0);
    query.chain = &chain;
    query.firingID = 0;   // the mount names its owner as the firing unit
    query.targetID = TARGET;
    query.rejectMask = 0x1;
    mount->QueryEngagements(query, LatLonPoint(4096, 0));
    ASSERT_EQ(Count(), 1u);
    EXPECT_EQ(chain.First()->weaponID, GUN);
    EXPECT_EQ(chain.First()->idA, SHIP);
    TimedRecord request = *chain.First();
    request.position = LatLonPoint(4096, 0);
    EXPECT_TRUE(mount->FireWeapon(0x1, NavVector(30 * TENTH, 0), request, 0, 0));
    request.weaponRecKey = 9;
    EXPECT_FALSE(mount->FireWeapon(0x1, NavVector(30 * TENTH, 0), request, 0, 0));
    chain.DeleteAll();
    mount->SetState(Mount::STATE_BUSY);
    mount->QueryEngagements(query, LatLonPoint(4096, 0));
    EXPECT_EQ(Count(), 0u);
}

}  // namespace
