// UnitStepTest.cpp: the unit step and the end of a unit's play: moving along
// the path, the towed-array resettle at a turn of exactly 5 degrees, stopping
// at the end of the path (ships, not planes), battery charge, the fuel draw
// and running out, a unit without a plant, removal from play, deletion
// delays by class, the path setters and the fire orders.
#include <gtest/gtest.h>

#include <vector>

#include "core/NavMath.h"
#include "core/Units.h"
#include "units/SideRecords.h"
#include "units/UnitBridge.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

constexpr int32_t FIVE_DEGREES = 5 * ANGLE_PER_DEGREE;

// Counts the mounts' reload steps and the interface side's notices.
struct StepCounts {
    static StepCounts*& Active() { static StepCounts* active = nullptr; return active; }
    int reloads = 0;
    int transfers = 0;
    std::vector<uint16_t> notices;
};

class UnitStep : public testing::Test {
protected:
    UnitStep()
    {
        StepCounts::Active() = &counts;
        Mount::Operations ops;
        ops.reload = [](Mount&, uint8_t) { ++StepCounts::Active()->reloads; };
        ops.roundCountersEqual = [](const Mount& m) { return m.capacity == 1; };
        ops.transferFromMagazines = [](Mount&, Mount::MountList&, uint32_t) {
            ++StepCounts::Active()->transfers;
            return true;
        };
        previousMounts = Mount::SetOperations(ops);
        UnitBridgeCalls bridge;
        bridge.unitDestroyed = [](uint16_t id) { StepCounts::Active()->notices.push_back(id); };
        previousBridge = SetUnitBridgeCalls(bridge);
    }
    ~UnitStep() override
    {
        SetUnitBridgeCalls(previousBridge);
        Mount::SetOperations(previousMounts);
        StepCounts::Active() = nullptr;
    }

    // A unit of a letter with a running diesel plant at `knots`, a diesel
    // tank and a battery to charge, heading for a point `range` units east.
    void Ready(TestUnit& u, uint16_t knots, int32_t range, int16_t altitude = 0)
    {
        u.SetKey(5);
        u.SetAltitude(altitude);
        PropulsionPlant* plant = MakeDieselPlant(1);
        plant->speedTable[1][0].ceiling = 2000;
        plant->hasFuel = 1;
        u.plants.Insert(plant);
        u.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 100));
        u.fuelTanks.Append(MakeTank(FuelType::BATTERY, 1000, 0));
        u.SetSpeed(knots, altitude);
        u.path.Append(new PositionNode(LatLonPoint(0, range)));
    }

    UnitWorld world;
    StepCounts counts;
    Mount::Operations previousMounts;
    UnitBridgeCalls previousBridge;
};

}  // namespace

TEST_F(UnitStep, MovesTowardTheNextPointAndChargesTheBattery)
{
    TestUnit u;
    Ready(u, 12, 100000);
    u.Move(15);
    EXPECT_EQ(u.GetPosition().lon, 204);   // 15 s x 12 kn x 4096 / 3600
    EXPECT_EQ(u.course, ANGLE_RIGHT);
    EXPECT_STREQ(u.GetLabel() + 6, "090 ");
    // (12 x 15) / 5 = 36 units of fuel 4 stored
    EXPECT_EQ(u.fuelTanks.Last()->GetCount(), 36u);
    EXPECT_LT(u.fuelTanks.First()->GetCount(), 100u);   // diesel drawn
    EXPECT_EQ(world.Queued(EventCode::TOWED_ARRAY).size(), 1u);   // the 90-degree turn
}

TEST_F(UnitStep, ResettlesTheTowedArrayFromAFiveDegreeTurn)
{
    struct Row { int32_t turn; bool resettle; };
    const Row rows[] = {{FIVE_DEGREES, true}, {FIVE_DEGREES - 1, false}, {-FIVE_DEGREES, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.turn);
        TestUnit u;
        Ready(u, 12, 100000);
        const int32_t bearing =
            NavMath::Get_Vector_Planar(u.GetPosition(), u.GetPath()->GetPosition()).bearing;
        u.course = bearing - r.turn;
        world.arena.Queue().Add(new TestEvent(EventCode::TOWED_ARRAY, 5, 99));   // an older one
        u.Move(15);
        const auto queued = world.Queued(EventCode::TOWED_ARRAY);
        ASSERT_EQ(queued.size(), 1u);
        // a resettle replaces the older event by a fresh one
        EXPECT_EQ(queued[0]->Value(), r.resettle ? 0 : 99);
        while (Event* e = world.arena.Queue().First()) {
            world.arena.Queue().Remove(e);
            delete e;
        }
    }
}

TEST_F(UnitStep, StopsAShipAtTheEndOfItsPathButNotAPlane)
{
    for (char letter : {'S', 'P'}) {
        SCOPED_TRACE(letter);
        TestUnit u(letter);
        Ready(u, 12, 100, letter == 'P' ? 10 : 0);
        u.path.First()->AddEvent(new TestEvent(0x71, 5, 8));
        u.Move(15);
        EXPECT_EQ(u.GetPosition().lon, 100);
        EXPECT_EQ(u.GetPath(), nullptr);
        EXPECT_EQ(world.Queued(0x71).size(), 1u);   // the point's event posted
        const auto stops = world.Queued(EventCode::SET_SPEED);
        if (letter == 'S') {
            ASSERT_EQ(stops.size(), 1u);
            EXPECT_EQ(stops[0]->Value(), 0);
        } else {
            EXPECT_TRUE(stops.empty());
        }
        EXPECT_EQ(counts.notices.back(), 5);   // the path display refreshed
        while (Event* e = world.arena.Queue().First()) {
            world.arena.Queue().Remove(e);
            delete e;
        }
    }
}

// A ship whose sensors stand 3 (tens of metres) above the water, as a ship
// class answers its altitude.
class TallShip : public TestUnit {
public:
    int16_t GetAltitude() const override { return 3; }
};

TEST_F(UnitStep, ATallShipIsStoppedAtTheSurfaceAllTheSame)
{
    TallShip u;
    Ready(u, 12, 100);
    u.Move(15);
    EXPECT_EQ(world.Queued(EventCode::SET_SPEED).size(), 1u);
    EXPECT_EQ(u.GetHorizon(), 23);   // the horizon goes by the sensor height
}

TEST_F(UnitStep, WithoutAPlantNothingMovesButMountsReload)
{
    TestUnit u;
    u.SetKey(5);
    u.speed = 12;
    u.path.Append(new PositionNode(LatLonPoint(0, 5000)));
    u.fuelTanks.Append(MakeTank(FuelType::BATTERY, 1000, 0));
    auto* mount = new Mount(1);
    mount->capacity = 1;   // its round counters are equal
    u.mounts.Insert(mount);
    u.magazines.Insert(new Mount(1));
    u.Move(15);
    EXPECT_EQ(u.GetPosition(), LatLonPoint(0, 0));
    EXPECT_EQ(u.fuelTanks.First()->GetCount(), 0u);
    EXPECT_EQ(u.speed, 12);
    EXPECT_TRUE(world.Queued(EventCode::TOWED_ARRAY).empty());
    EXPECT_EQ(counts.reloads, 2);     // the mount and the magazine
    EXPECT_EQ(counts.transfers, 1);
}

TEST_F(UnitStep, RunningOutOfFuelChoosesTheSpeedAgain)
{
    TestUnit u;
    Ready(u, 12, 100000);
    u.fuelTanks.First()->SetCount(0);
    u.fuelTanks.First()->SetPartial(5);   // less than a step's use
    u.Move(15);
    EXPECT_EQ(u.fuelTanks.First()->GetPartial(), 0u);
    ASSERT_EQ(world.log.speedsSetNow.size(), 1u);
    EXPECT_EQ(world.log.speedsSetNow[0], (std::pair<uint16_t, uint16_t>{5, 12}));
    EXPECT_EQ(u.plants.First()->hasFuel, 0);   // the flags follow the empty tanks
}

TEST_F(UnitStep, DeletionDelayCountsMinutesForShips)
{
    world.arena.SetGameTime(GameTime(1000));
    struct Row { char letter; uint32_t due; };
    const Row rows[] = {{'S', 1120}, {'U', 1002}, {'P', 1002}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.letter);
        TestUnit u(r.letter);
        u.SetKey(7);
        u.ScheduleDeletion(2);
        const auto deletions = world.Queued(EventCode::DELETE_UNIT);
        ASSERT_EQ(deletions.size(), 1u);
        EXPECT_EQ(deletions[0]->GetTime().Get(), r.due);
        EXPECT_EQ(deletions[0]->GetSubject(), 7);
        world.arena.Queue().Remove(deletions[0]);
        delete deletions[0];
    }
}

TEST_F(UnitStep, RemoveFromPlayEmptiesTheUnit)
{
    TestUnit u;
    Ready(u, 12, 100000);
    u.SetFlags(UnitFlag::SEEKER_ON | UnitFlag::LINKS_RECORDS | UnitFlag::ON_FIRE);
    u.mounts.Insert(new Mount(1));
    u.datalinks.Insert(new DatalinkRecord(2));
    auto* option = new TimedRecord;
    option->idD = 3;
    u.AddTargetingRecord(option);
    world.arena.Queue().Add(new TestEvent(0x71, 5));
    world.arena.Queue().Add(new TestEvent(0x71, 6));
    u.RemoveFromPlay();
    EXPECT_EQ(u.GetFlags(), UnitFlag::DATA_LINK | UnitFlag::ON_FIRE);
    EXPECT_EQ(u.plants.First(), nullptr);
    EXPECT_EQ(u.plantKey, 0);
    EXPECT_EQ(u.mounts.First(), nullptr);
    EXPECT_EQ(u.datalinks.First(), nullptr);
    EXPECT_EQ(u.fuelTanks.First(), nullptr);
    EXPECT_EQ(u.GetPath(), nullptr);
    EXPECT_EQ(u.TargetingRecords().First(), nullptr);
    ASSERT_FALSE(world.log.speedsSetNow.empty());   // speed 0 handled at once
    EXPECT_EQ(world.log.speedsSetNow.back().second, 0);
    const auto left = world.Queued(0x71);
    ASSERT_EQ(left.size(), 1u);   // only the other unit's event stays
    EXPECT_EQ(left[0]->GetSubject(), 6);
}

TEST_F(UnitStep, PathSettersTellTheInterfaceSide)
{
    TestUnit u;
    u.SetKey(9);
    auto* first = new PositionNode(LatLonPoint(1, 1));
    first->InsertChainAfter(new PositionNode(LatLonPoint(2, 2)));
    u.SetPath(first);
    EXPECT_EQ(u.GetPath(), first);
    EXPECT_EQ(u.path.Last()->GetPosition(), LatLonPoint(2, 2));
    u.ClearPath();
    EXPECT_EQ(u.GetPath(), nullptr);
    EXPECT_EQ(counts.notices, (std::vector<uint16_t>{9, 9}));
}

TEST_F(UnitStep, FireOrdersGoToTheirMounts)
{
    // One side record, key 1, holding no contacts.
    static int record = 0;
    gam2arena::SideListCalls lists;
    lists.findSide = [](uint16_t key) { return key == 1 ? reinterpret_cast<SideContacts*>(&record) : nullptr; };
    const gam2arena::SideListCalls previousSides = gam2arena::SetSideListCalls(lists);
    Mount::Operations ops;
    ops.fireWeapon = [](Mount&, uint32_t classification, const NavVector&, TimedRecord& r, int32_t, uint16_t) {
        return classification == 3 && r.quantity != 9;
    };
    ops.launch = [](Mount&, TimedRecord& r) { return r.quantity == 1; };
    const Mount::Operations previousOps = Mount::SetOperations(ops);

    TestUnit u;
    auto* mount = new Mount(4);
    mount->transferBlock = 5;
    u.mounts.Insert(mount);
    auto option = [&](uint16_t target, uint16_t mountKey, uint8_t quantity) {
        auto* r = new TimedRecord;
        r->idD = target;
        r->mountKey = mountKey;
        r->quantity = quantity;
        u.AddTargetingRecord(r);
    };
    option(0, 4, 1);    // at a point: fired and finished
    option(0, 4, 2);    // rounds left: stays queued
    option(0, 4, 9);    // refused: released
    option(0, 7, 1);    // no such mount: released
    option(12, 4, 1);   // a target without a contact: released
    u.ResolveFireOrders();
    EXPECT_NE(u.TargetingRecords().Find(12), nullptr);   // no side record: nothing happens

    u.sideEntryID = 1;
    u.ResolveFireOrders();
    ASSERT_NE(u.TargetingRecords().Find(0), nullptr);
    const TimedRecord* stays = u.TargetingRecords().Find(0)->Options().First();
    ASSERT_NE(stays, nullptr);
    EXPECT_EQ(stays->quantity, 2);
    EXPECT_EQ(stays->GetNext(), nullptr);
    EXPECT_EQ(u.TargetingRecords().Find(12), nullptr);
    EXPECT_EQ(mount->transferBlock, 2);   // one finished, two released on this mount
    Mount::SetOperations(previousOps);
    gam2arena::SetSideListCalls(previousSides);
}

TEST(RemoveFromPlay, WithoutTheEventClassTheSpeedIsSetDirectly)
{
    TestUnit u;
    PropulsionPlant* plant = MakeDieselPlant(1);
    plant->hasFuel = 1;
    u.plants.Insert(plant);
    u.SetSpeed(12, 0);
    ASSERT_EQ(u.speed, 12);
    u.RemoveFromPlay();
    EXPECT_EQ(u.speed, 0);
    EXPECT_STREQ(u.GetLabel() + 11, "0    ");
}
