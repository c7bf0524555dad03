// UnitOperationsTest.cpp: the unit operations of the second source: fuel
// stores (busy tanks), the reach test over long runs, the condition text and
// its bound, the damage flags, targeting records and weapon tallies with
// their counts on a contact, emitters, attack altitudes, moving to a point
// and the weapons listing and stocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/Units.h"
#include "units/SideRecords.h"
#include "units/UnitBridge.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

// A unit 10 knots of whose diesel burn 60 units a minute, with `counts` of
// diesel (36000 units each) aboard.
void MakeRunner(TestUnit& u, uint32_t counts)
{
    PropulsionPlant* plant = MakeDieselPlant(1);
    for (uint16_t& rate : plant->useRate)
        rate = 1;
    plant->hasFuel = 1;
    u.plants.Insert(plant);
    u.fuelTanks.Append(MakeTank(FuelType::DIESEL, counts, counts));
}

LatLonPoint NauticalMilesNorth(int32_t nm)
{
    return LatLonPoint(nm * RANGE_PER_NM, 0);
}

}  // namespace

TEST(FuelStores, RoomCapacityDrainAndBusyTanks)
{
    TestUnit u;
    EXPECT_EQ(u.GetFuelRoom(FuelType::DIESEL), 0);   // no tanks of the fuel
    u.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 100, 9));   // full and busy
    EXPECT_EQ(u.GetFuelRoom(FuelType::DIESEL), -1);
    u.fuelTanks.Append(MakeTank(FuelType::DIESEL, 50, 20));
    u.fuelTanks.Append(MakeTank(FuelType::OIL, 70, 0));
    EXPECT_EQ(u.GetFuelCapacity(FuelType::DIESEL), 150);
    EXPECT_EQ(u.GetFuelRoom(FuelType::DIESEL), 29);
    EXPECT_EQ(u.GetSpareFuel(FuelType::DIESEL), 121);

    EXPECT_EQ(u.DrainFuel(110, FuelType::DIESEL), 110u);
    EXPECT_EQ(u.fuelTanks.First()->GetCount(), 0u);
    EXPECT_EQ(u.fuelTanks.First()->GetNext()->GetCount(), 10u);
    EXPECT_EQ(u.DrainFuel(50, FuelType::DIESEL), 10u);

    // A busy tank never takes its last count back.
    EXPECT_EQ(u.AddFuel(500, FuelType::DIESEL), 149);
    EXPECT_EQ(u.fuelTanks.First()->GetCount(), 99u);
    EXPECT_EQ(u.AddFuel(5, FuelType::DIESEL), 0);
}

TEST(CanReachAtSpeed, LongRunsAreAnsweredNotFatal)
{
    UnitWorld world;
    struct Row { uint32_t counts; uint32_t engine; int32_t nm; uint16_t knots; bool reach; };
    const Row rows[] = {
        // 2600 nm at 10 kn take 936000 s (260 hours): a Q23 quotient of range
        // over speed used to overflow here and end the program.
        {26, EngineType::DIESEL, 2600, 10, true},    // 936000 s of fuel
        {25, EngineType::DIESEL, 2600, 10, false},   // 900000 s
        {1, EngineType::NUCLEAR, 5000, 1, true},     // endurance -1: as far as asked
        {26, EngineType::DIESEL, 2600, 0, false},    // speed 0
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.nm << " nm at " << r.knots);
        TestUnit u;
        MakeRunner(u, r.counts);
        u.plants.First()->engineType = r.engine;
        u.SetSpeed(4, 0);
        EXPECT_EQ(u.CanReachAtSpeed(NauticalMilesNorth(r.nm), r.knots), r.reach);
        EXPECT_EQ(u.speed, 4);   // what it was
        EXPECT_EQ(u.plants.First()->setting, 0);
    }
    EXPECT_TRUE(world.reports.fatals.empty());
}

TEST(ConditionText, ListsTheConditionsAndStopsAtTheBound)
{
    UnitWorld world;
    TestUnit u;
    char text[UnitStatus::LINE_SIZE];
    std::memset(text, 'x', sizeof text);
    u.GetConditionText(text, sizeof text);
    EXPECT_STREQ(text, "");

    u.SetFlags(UnitFlag::STEERING_FAILURE | UnitFlag::SENSOR_DAMAGE);
    u.GetConditionText(text, sizeof text);
    EXPECT_STREQ(text, "Steering Failure, Sensor Damage");

    u.SetFlags(0x4 | UnitFlag::ON_FIRE | UnitFlag::HANGAR_HIT | UnitFlag::FLIGHT_DECK_HIT
               | UnitFlag::AIRFIELD_HIT | UnitFlag::FLOODING | UnitFlag::MOUNT_DAMAGE
               | UnitFlag::AIR_OPS_DAMAGE);
    char line[UnitStatus::LINE_SIZE + 8];
    std::memset(line, '#', sizeof line);
    u.GetConditionText(line, UnitStatus::LINE_SIZE);
    EXPECT_EQ(std::strlen(line), 32u);   // all ten would run to 177 characters
    EXPECT_EQ(std::string(line), "Engine Failure, Steering Failure");
    EXPECT_EQ(line[UnitStatus::LINE_SIZE], '#');   // nothing past the bound

    u.GetConditionText(nullptr, 10);
    char one[1] = {'y'};
    u.GetConditionText(one, 1);
    EXPECT_EQ(one[0], '\0');
}

TEST(DamageFlags, FollowTheSensorsMountsAndQueuedActions)
{
    UnitWorld world;
    TestUnit u;
    u.SetKey(8);
    auto* sensor = new TestSensor;
    sensor->SetKey(1);
    sensor->Set(Sensor::STATE_DAMAGED);
    u.sensors.Insert(sensor);
    u.UpdateSensorDamageFlag();
    EXPECT_TRUE(u.TestFlags(UnitFlag::SENSOR_DAMAGE));
    sensor->SetState(Sensor::REQUEST_REPAIR);
    u.UpdateSensorDamageFlag();
    EXPECT_FALSE(u.TestFlags(UnitFlag::SENSOR_DAMAGE));

    auto* mount = new Mount(1);
    mount->state = Mount::STATE_DESTROYED;
    u.mounts.Insert(mount);
    u.UpdateMountDamageFlag();
    EXPECT_TRUE(u.TestFlags(UnitFlag::MOUNT_DAMAGE));

    world.arena.Queue().Add(new TestEvent(EventCode::MULTI_ACTION, 8, 5));
    world.arena.Queue().Add(new TestEvent(EventCode::MULTI_ACTION, 9, 7));
    u.UpdateAction7Flag();
    EXPECT_FALSE(u.TestFlags(UnitFlag::FLOODING));
    world.arena.Queue().Add(new TestEvent(EventCode::MULTI_ACTION, 8, 7));
    u.UpdateAction7Flag();
    EXPECT_TRUE(u.TestFlags(UnitFlag::FLOODING));
}

TEST(Emitters, ActiveSensorsOfEmittingTypes)
{
    TestUnit u;
    auto* visual = new TestSensor(Sensor::TYPE_VISUAL);
    visual->SetKey(1);
    visual->Set(Sensor::STATE_ACTIVE);
    u.sensors.Insert(visual);
    EXPECT_FALSE(u.HasActiveEmitter());
    EXPECT_EQ(u.GetSensorTypeState(Sensor::TYPE_VISUAL), 2);
    auto* radar = new TestSensor(Sensor::TYPE_RADAR);
    radar->SetKey(2);
    radar->Set(Sensor::STATE_PASSIVE);
    u.sensors.Insert(radar);
    EXPECT_FALSE(u.HasActiveEmitter());
    EXPECT_EQ(u.GetSensorTypeState(Sensor::TYPE_RADAR), 0);
    radar->Set(Sensor::STATE_ACTIVE);
    EXPECT_TRUE(u.HasActiveEmitter());
}

TEST(TargetingRecords, GroupedByTargetAndCountedOnTheContact)
{
    UnitWorld world;
    // A contact is a pair of counts here; its key is unit 300.
    struct Threat { uint16_t count = 0; uint16_t damage = 0; } threat;
    SideCalls calls;
    calls.getContactKey = [](const Contact&) { return uint16_t{300}; };
    calls.addContactThreat = [](Contact& c, uint16_t count, uint16_t damage) {
        auto& t = reinterpret_cast<Threat&>(c);
        t.count = static_cast<uint16_t>(t.count + count);
        t.damage = static_cast<uint16_t>(t.damage + damage);
    };
    const SideCalls previous = SetSideCalls(calls);

    TestUnit u;
    auto* a = new TimedRecord;
    a->idD = 300;
    a->quantity = 2;
    a->value16 = 15;
    auto* b = new TimedRecord;
    b->idD = 300;
    b->quantity = 1;
    b->value16 = 40;
    u.AddTargetingRecord(a);
    u.AddTargetingRecord(b);
    TestUnit weapon('W');
    weapon.SetKey(901);
    u.AddWeaponInFlight(weapon, 300);
    u.AddWeaponInFlight(weapon, 300);   // once

    u.AddRecordCounts(reinterpret_cast<Contact&>(threat));
    EXPECT_EQ(threat.count, 4);          // 2 + 1 options, 1 weapon
    EXPECT_EQ(threat.damage, 70);        // 2 x 15 + 40, the weapon's record missing

    u.RemoveTargetingRecord(a);
    delete a;
    ASSERT_NE(u.TargetingRecords().Find(300), nullptr);
    TimedRecord stranger;
    stranger.idD = 300;
    u.RemoveTargetingRecord(&stranger);   // not held: nothing
    u.RemoveTargetingRecord(b);
    delete b;
    EXPECT_EQ(u.TargetingRecords().Find(300), nullptr);   // emptied entries go
    u.RemoveWeaponInFlight(weapon, 300);
    EXPECT_EQ(u.WeaponTallies().Find(300), nullptr);
    SetSideCalls(previous);
}

TEST(AttackAltitudes, TheBestWeaponWithinTheCruiseEnvelope)
{
    Annex::Tables().Create();
    auto* lance = new WeaponAnnex(50);
    lance->targetMask = 0x4;
    lance->maxRange = 300;
    lance->minLaunchAltitude = 10;
    lance->maxLaunchAltitude = 900;
    auto* dart = new WeaponAnnex(51);
    dart->targetMask = 0x4;
    dart->maxRange = 100;
    dart->minLaunchAltitude = 50;
    Annex::Tables().Weapons()->Insert(lance);
    Annex::Tables().Weapons()->Insert(dart);

    TestUnit u('P');
    PropulsionPlant* plant = MakeDieselPlant(1);
    plant->speedTable[1][0] = {1500, -2, 300};
    u.plants.Insert(plant);
    auto* mount = new Mount(1);
    for (auto [key, weapon] : {std::pair<uint16_t, uint16_t>{1, 51}, {2, 50}}) {
        auto* rec = new WeaponRec(key);
        rec->weaponID = weapon;
        rec->shotsLeft = 2;
        mount->weapons.Insert(rec);
    }
    u.mounts.Insert(mount);
    int16_t low = 0, high = 0;
    u.GetAttackAltitudes(0x4, low, high);
    EXPECT_EQ(low, 10);     // the longer-ranged weapon sets the band
    EXPECT_EQ(high, 900);
    u.GetAttackAltitudes(0x1, low, high);
    EXPECT_EQ(low, -3);     // no weapon for the mask: the envelope
    EXPECT_EQ(high, 1500);

    Chain<WeaponListEntry> list;
    u.SetKey(66);
    u.ListWeapons(list);
    ASSERT_NE(list.First(), nullptr);
    EXPECT_EQ(list.First()->unitID, 66);
    EXPECT_EQ(list.First()->weaponID, 51);
    EXPECT_EQ(list.Last()->rounds, 2);
    Annex::Tables().Delete();
}

TEST(WeaponStocks, OneEntryPerMagazineWeaponInListOrder)
{
    TestUnit u;
    u.SetKey(70);
    StockChain stocks;
    u.CollectWeaponEntries(stocks, true);
    EXPECT_EQ(stocks.First(), nullptr);   // no magazines: no stocks

    // Mounts are not stocks; two magazines, the second with two weapons.
    auto* mount = new Mount(1);
    mount->weapons.Insert(new WeaponRec(1));
    u.mounts.Insert(mount);
    struct Load {
        uint16_t magazine, key, weapon, onHand, full;
    };
    const Load loads[] = {{3, 1, 40, 12, 16}, {5, 1, 41, 0, 8}, {5, 2, 40, 7, 7}};
    for (const Load& load : loads) {
        Mount* magazine = u.magazines.Find(load.magazine);
        if (magazine == nullptr) {
            magazine = new Mount(load.magazine);
            u.magazines.Insert(magazine);
        }
        auto* rec = new WeaponRec(load.key);
        rec->weaponID = load.weapon;
        rec->shotsLeft = load.onHand;
        rec->secondValue = load.full;
        magazine->weapons.Insert(rec);
    }
    stocks.Append(new StockEntry(9, 1, 40, 1, 1));   // entries already there stay first
    u.CollectWeaponEntries(stocks, false);
    const StockEntry* entry = stocks.First();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->unitID, 9);
    for (const Load& load : loads) {
        entry = entry->GetNext();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->unitID, 70);
        EXPECT_EQ(entry->magazineKey, load.magazine);
        EXPECT_EQ(entry->weaponID, load.weapon);
        EXPECT_EQ(entry->count, load.onHand);
        EXPECT_EQ(entry->capacity, load.full);
    }
    EXPECT_EQ(entry->GetNext(), nullptr);
}

TEST(TryMoveTo, MovesOnlyAlongALegThatSuits)
{
    UnitBridgeCalls calls;
    calls.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint& to) { return to.lat > 0; };
    const UnitBridgeCalls previous = SetUnitBridgeCalls(calls);
    TestUnit u;
    u.TryMoveTo(LatLonPoint(-100, 5));
    EXPECT_EQ(u.GetPosition(), LatLonPoint(0, 0));
    u.TryMoveTo(LatLonPoint(100, 5));
    EXPECT_EQ(u.GetPosition(), LatLonPoint(100, 5));
    SetUnitBridgeCalls(previous);
    u.TryMoveTo(LatLonPoint(200, 5));   // without the bridge no leg suits
    EXPECT_EQ(u.GetPosition(), LatLonPoint(100, 5));
}

TEST(SensorList, OneLinePerSensorCutAtTheBuffer)
{
    UnitWorld world;
    Annex::Tables().Create();
    auto* record = new SensorAnnex(12);
    record->name.Set("Hawkeye Search Set");
    Annex::Tables().Sensors()->Insert(record);
    TestUnit u;
    for (auto [key, state] : {std::pair<uint16_t, uint32_t>{1, Sensor::STATE_ACTIVE}, {2, Sensor::STATE_DESTROYED},
                              {3, Sensor::STATE_STANDBY}}) {
        auto* s = new TestSensor;
        s->SetKey(key);
        s->Set(state);
        s->SetSensorID(key == 1 ? 12 : 99);
        u.sensors.Insert(s);
    }
    char text[200];
    u.GetSensorListText(text, sizeof text);
    EXPECT_EQ(std::string(text), "Hawkeye Search Set              Active\n"
                                 + std::string(32, ' ') + "Destroyed\n"
                                 + std::string(32, ' ') + "Standby\n");
    char shortText[10];
    u.GetSensorListText(shortText, sizeof shortText);
    EXPECT_STREQ(shortText, "Hawkeye S");
    Annex::Tables().Delete();
}
