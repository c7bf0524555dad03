// WeaponReadinessTest.cpp: a weapon record's readiness cycle and ready
// shots (a negative count is no shot), its fire rating and range limits; a
// mount's states, reload, reach and summed ratings, a mount record's summed
// ratings, and the transfer of rounds from a magazine.
#include <gtest/gtest.h>

#include <vector>

#include "WeaponWorld.h"
#include "annex/MountAnnex.h"

namespace {

using namespace weapontest;

struct Cycle {
    int8_t interval, timer, ready;
    uint8_t seconds;
    int8_t timerAfter, readyAfter;
};

TEST(WeaponReadiness, CycleSteps)
{
    const Cycle cases[] = {
        {10, 0, 0, 25, 5, 2},      // several intervals in one step
        {10, 0, 0, 10, 10, 1},     // exactly one interval
        {10, 0, 0, 4, 6, 0},       // the countdown starts
        {10, 6, 0, 6, 0, 1},       // ... and ends with a shot ready
        {10, 6, 0, 4, 2, 0},
        {10, 3, 2, 4, 6, 1},       // a slow interval holds one shot
        {-2, 0, 0, 10, -2, 1},     // slow cycle: first shot at once
        {-2, -2, 1, 10, -2, 1},    // a shot ready keeps the periods
        {-2, -2, 0, 10, -1, -20},  // a period starts: 20 seconds to run
        {-2, -1, -20, 10, -1, -10},
        {-2, -1, -10, 10, 30, 0},  // last period: the seconds left
        {-2, 30, 0, 10, 20, 0},
        {-2, 20, 0, 20, -2, 1},
    };
    for (const Cycle& c : cases) {
        WeaponRec rec;
        rec.fireInterval = c.interval;
        rec.cycleTimer = c.timer;
        rec.readyShots = c.ready;
        rec.UpdateReadiness(c.seconds);
        EXPECT_EQ(rec.cycleTimer, c.timerAfter) << int(c.interval) << " " << int(c.timer) << " " << int(c.ready);
        EXPECT_EQ(rec.readyShots, c.readyAfter) << int(c.interval) << " " << int(c.timer) << " " << int(c.ready);
    }
}

TEST(WeaponReadiness, ReadyShotsAreThoseThatMayFireNow)
{
    WeaponRec rec;
    rec.shotsLeft = 5;
    rec.readyShots = 3;
    EXPECT_EQ(rec.GetReadyShots(), 3);
    rec.shotsLeft = 2;
    EXPECT_EQ(rec.GetReadyShots(), 2);
    rec.readyShots = -20;   // a slow cycle still running
    EXPECT_EQ(rec.GetReadyShots(), 0);
}

class Weapons : public testing::Test, public WeaponWorld {};

TEST_F(Weapons, FireRating)
{
    Record(MISSILE).maxRange = 100;
    Record(MISSILE).surfaceChance = 100;
    Record(GUN).surfaceChance = 50;
    Record(GUN).maxRange = 100;
    WeaponRec gun;
    gun.weaponID = GUN;
    gun.shotsLeft = 500;
    EXPECT_EQ(gun.CanFireAt(0x1, false), 0u);
    EXPECT_EQ(gun.CanFireAt(0x1, true), 1u);   // no damage: the least rating
    WeaponRec missile;
    missile.weaponID = MISSILE;
    missile.shotsLeft = 1;
    EXPECT_EQ(missile.CanFireAt(0x1, false), 800u);
    Record(MISSILE).surfaceChance = 50;
    EXPECT_EQ(missile.CanFireAt(0x1, false), 400u);
    Record(MISSILE).maxRange = 1000;   // 100 nm: twice the rating
    EXPECT_EQ(missile.CanFireAt(0x1, false), 800u);
    EXPECT_EQ(missile.CanFireAt(0x2, false), 0u);   // not its class
    missile.shotsLeft = 0;
    EXPECT_EQ(missile.CanFireAt(0x1, false), 0u);
    missile.weaponID = 999;
    missile.shotsLeft = 3;
    EXPECT_EQ(missile.CanFireAt(0x1, false), 0u);

    // Against air: (H / 2) x N x H / 100 with H = airChance + 30.
    WeaponRec sam;
    sam.weaponID = SAM;
    sam.shotsLeft = 2;
    Record(SAM).airChance = 50;
    Record(SAM).targetMask = 0xC;
    EXPECT_EQ(sam.CanFireAt(0x4, false), 64u);
    Record(SAM).airChance = -100;   // cannot hit: the least rating, not a wrap
    EXPECT_EQ(sam.CanFireAt(0x4, false), 1u);
}

TEST_F(Weapons, RangeLimits)
{
    Record(MISSILE).minRange = 5;
    WeaponRec rec;
    rec.weaponID = MISSILE;
    rec.shotsLeft = 2;
    EXPECT_EQ(rec.GetMinRange(0x1), 5);
    EXPECT_EQ(rec.GetMaxRange(0x1), 1000u);
    EXPECT_EQ(rec.GetMaxRange(0x2), 0u);
    rec.shotsLeft = 0;
    EXPECT_EQ(rec.GetMinRange(0x1), 0);
    EXPECT_EQ(rec.GetMaxRange(0x1), 0u);

    // A decoy has no ranges; a gun no minimum range.
    rec.shotsLeft = 4;
    rec.weaponID = DECOY;
    EXPECT_EQ(rec.GetMaxRange(0x10), 0u);
    rec.weaponID = GUN;
    Record(GUN).minRange = 3;
    EXPECT_EQ(rec.GetMinRange(0x1), 0);

    // Target mask 16 reaches the classes its chances cover.
    WeaponAnnex& odd = AddWeapon(20, 1, 0x10, 7, 300);
    odd.surfaceChance = 10;
    rec.weaponID = 20;
    EXPECT_EQ(rec.GetMaxRange(0x40), 300u);
    EXPECT_EQ(rec.GetMinRange(0x40), 7);
    EXPECT_EQ(rec.GetMaxRange(0x4), 0u);
    odd.airChance = 5;
    EXPECT_EQ(rec.GetMaxRange(0x4), 300u);
}

struct StateCase {
    uint32_t from;
    int32_t order;
    uint32_t to;
};

TEST(MountState, Orders)
{
    const StateCase cases[] = {
        {7, 8, 7}, {7, 2, 7}, {6, 5, 6}, {6, 2, 6}, {6, 8, 2}, {2, 3, 2}, {2, 5, 5},
        {5, 2, 2}, {1, 6, 6}, {4, 7, 7}, {9, 5, 5}, {2, 8, 2},
    };
    for (const StateCase& c : cases) {
        Mount mount;
        mount.state = c.from;
        mount.SetState(c.order);
        EXPECT_EQ(mount.GetState(), c.to) << c.from << " <- " << c.order;
    }
}

TEST_F(Weapons, ReloadAdvancesTheMountAndItsRecords)
{
    WeaponRec& rec = Load(1, MISSILE, 8, 0);
    rec.fireInterval = 10;
    mount->fireInterval = 5;
    mount->roundsReady = 0;
    mount->Reload(5);   // an interval equal to the step: one round
    EXPECT_EQ(mount->roundsReady, 1);
    EXPECT_EQ(mount->countdown, 5);
    EXPECT_EQ(rec.cycleTimer, 5);
    mount->fireInterval = 10;
    mount->roundsReady = 3;
    mount->Reload(4);   // a slow mount holds one round, countdown 0
    EXPECT_EQ(mount->roundsReady, 1);
    EXPECT_EQ(mount->countdown, 0);
}

TEST_F(Weapons, ReachAndRatingsOnlyWhenReady)
{
    Load(1, MISSILE, 8, 2);
    Load(2, GUN, 300, 2);
    Record(GUN).surfaceChance = 50;
    EXPECT_EQ(mount->GetLongestReach(0x1), 1000);
    EXPECT_EQ(mount->GetShortestReach(0x1), 40);
    EXPECT_EQ(mount->GetShortestReach(0x8), 0);
    Record(MISSILE).weaponFlags = 0x2000;   // guided: capped by the horizon (0 here)
    EXPECT_EQ(mount->GetLongestReach(0x1), 320);
    EXPECT_GT(mount->SumWeaponRatings(0x1, 1), mount->SumWeaponRatings(0x1, 0));
    mount->SetState(Mount::STATE_BUSY);
    EXPECT_EQ(mount->GetLongestReach(0x1), 0);
    EXPECT_EQ(mount->SumWeaponRatings(0x1, 1), 0);
}

TEST_F(Weapons, MountRecordSumsItsWeaponRecords)
{
    Record(MISSILE).maxRange = 100;
    Record(MISSILE).surfaceChance = 100;
    for (uint16_t key : {1, 2}) {
        auto* rec = new WeaponRec(key);
        rec->weaponID = MISSILE;
        rec->shotsLeft = key;
        Annex::Tables().WeaponRecs()->Insert(rec);
    }
    MountAnnex record(4);
    for (uint16_t id : {1, 2, 3})   // 3 is not in the table
        record.weaponRecIDs.Insert(new IDNode(id));
    EXPECT_EQ(record.SumWeaponRatings(0x1, 0), 800 + 1600);
}

class Transfers : public Weapons {
protected:
    Transfers()
    {
        magazine = new Mount(9);
        magazine->SetOwner(ship);
        magazines.Insert(magazine);
        auto* stock = new WeaponRec(3);
        stock->weaponID = MISSILE;
        stock->shotsLeft = 20;
        stock->fireInterval = -2;   // two 30-second periods
        magazine->weapons.Insert(stock);
        WeaponRec& rec = Load(1, MISSILE, 4, 0);
        rec.secondValue = 10;   // capacity
        mount->emptySpace = 5;
        SetTime(1000);
    }
    Mount::MountList magazines;
    Mount* magazine = nullptr;
};

TEST_F(Transfers, MovesTheLeastRoom)
{
    EXPECT_TRUE(mount->TransferFromMagazines(magazines, 77));
    ASSERT_EQ(transfers.size(), 1u);
    EXPECT_EQ(transfers[0].amount, 5);   // the mount's room
    EXPECT_EQ(transfers[0].magazineID, 9);
    EXPECT_EQ(transfers[0].sourceRecID, 3);
    EXPECT_EQ(transfers[0].passedValue, 77u);
    EXPECT_EQ(transfers[0].due.Get(), 1060u);
    EXPECT_EQ(mount->inTransfer, 5);
    EXPECT_EQ(mount->weapons.Find(1)->thirdValue, 5);
    EXPECT_EQ(magazine->weapons.Find(3)->thirdValue, 5);
    EXPECT_EQ(mount->GetState(), Mount::STATE_BUSY);
    EXPECT_EQ(magazine->GetState(), Mount::STATE_BUSY);
    // No room left: nothing more moves.
    transfers.clear();
    EXPECT_FALSE(mount->TransferFromMagazines(magazines, 77));
    EXPECT_TRUE(transfers.empty());
}

TEST_F(Transfers, NothingToMoveLeavesTheStates)
{
    mount->emptySpace = 0;
    EXPECT_FALSE(mount->TransferFromMagazines(magazines, 0));
    EXPECT_TRUE(transfers.empty());
    EXPECT_EQ(mount->GetState(), Mount::STATE_READY);
    EXPECT_EQ(magazine->GetState(), Mount::STATE_READY);
    mount->emptySpace = 5;
    mount->transferBlock = 1;   // ready but blocked
    EXPECT_FALSE(mount->TransferFromMagazines(magazines, 0));
    mount->SetState(Mount::STATE_DAMAGED);
    EXPECT_FALSE(mount->TransferFromMagazines(magazines, 0));
}

}  // namespace
