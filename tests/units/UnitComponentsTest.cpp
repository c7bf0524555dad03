// UnitComponentsTest.cpp: a unit's components built from its records:
// propulsion plants and the fuel hook-up, fuel tanks, air facility entries
// and their space, mounts and magazines (the room left never wraps), weapon
// records, an aircraft's loadout mount by weapon kind, triples, and a
// facility's radar start-up order.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "annex/AnnexTables.h"
#include "units/UnitComponents.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;


void Fill(IDList& list, std::initializer_list<uint16_t> ids)
{
    for (uint16_t id : ids)
        list.Insert(new IDNode(id));
}

// A scenario annex with a few components of each kind.
class Components : public testing::Test {
protected:
    Components() : previousRecordFactory(SetSensorRecordFactory(&MakeRecordSensor))
    {
        Annex::Tables().Create();
        AnnexTables& t = Annex::Tables();
        auto* nuclear = new PropulsionAnnex(1);
        nuclear->primaryType = EngineType::NUCLEAR;
        t.Propulsions()->Insert(nuclear);
        auto* diesel = new PropulsionAnnex(2);
        diesel->primaryType = EngineType::DIESEL;
        diesel->secondaryType = EngineType::ELECTRIC;
        diesel->speedTable[1][0] = {10, -3, 12};
        diesel->bandValuesA[0] = 40;
        t.Propulsions()->Insert(diesel);

        AddFuel(1, FuelType::DIESEL, 500);
        AddFuel(2, FuelType::AIR_INDEPENDENT, 100);
        AddFuel(3, FuelType::BATTERY, 0);          // holds nothing
        AddFuel(4, FuelType::AVIATION, 60);

        auto* radar = new SensorAnnex(1);
        radar->sensorType = Sensor::TYPE_RADAR;
        t.Sensors()->Insert(radar);

        AddWeaponRec(1, 10, 8);     // a missile, 8 rounds
        AddWeaponRec(2, 20, 3);     // a drop tank, 3 of them
        AddWeaponRec(3, 30, 1);     // a pod with a sensor
        AddWeaponRec(4, 40, 1);     // a store of kind 8192
        AddWeaponRec(5, 99, 2);     // its weapon is missing
        AddWeaponRec(6, 60, 2);     // a kind that adds nothing
        AddWeapon(10, 1);
        AddWeapon(20, 512).fuelIDs.Insert(new IDNode(4));
        AddWeapon(30, 128).sensors.Insert(new IDRecord(1, 0));
        AddWeapon(40, 8192).fuelIDs.Insert(new IDNode(4));
        AddWeapon(60, 3);

        MountAnnex& launcher = AddMount(*t.Mounts(), 1, 20);
        Fill(launcher.weaponRecIDs, {1});
        Fill(launcher.sensorIDs, {1});
        launcher.rateOfFire = 0xFF;   // -1: one round per 30 seconds
        launcher.mountFlags = Mount::ENGAGES_WITHOUT_CONTACT;
        Fill(AddMount(*t.Mounts(), 2, 5).weaponRecIDs, {1});    // 8 rounds in room for 5
        Fill(AddMount(*t.Magazines(), 1, 100).weaponRecIDs, {1, 6});

        auto* loadout = new LoadoutAnnex(7);
        Fill(loadout->weaponRecIDs, {1, 2, 3, 4, 5, 6, 55});
        loadout->mountByte = 9;
        t.Loadouts()->Insert(loadout);
    }
    ~Components() override
    {
        Annex::Tables().Delete();
        SetSensorRecordFactory(previousRecordFactory);
    }

    static void AddFuel(uint16_t id, uint32_t type, uint32_t capacity) { AddFuelRecord(id, type, capacity); }
    static void AddWeaponRec(uint16_t id, uint16_t weaponID, uint16_t rounds)
    {
        auto* rec = new WeaponRec(id);
        rec->weaponID = weaponID;
        rec->shotsLeft = rounds;
        rec->secondValue = static_cast<uint16_t>(rounds + 1);
        rec->readyShots = 4;
        rec->cycleTimer = 5;
        rec->fireInterval = 6;
        rec->thirdValue = 7;
        rec->lastValue = 8;
        Annex::Tables().WeaponRecs()->Insert(rec);
    }
    static WeaponAnnex& AddWeapon(uint16_t id, uint32_t kind)
    {
        auto* weapon = new WeaponAnnex(id);
        weapon->weaponKind = kind;
        Annex::Tables().Weapons()->Insert(weapon);
        return *weapon;
    }
    static MountAnnex& AddMount(AnnexTable<MountAnnex>& table, uint16_t id, uint16_t capacity)
    {
        auto* mount = new MountAnnex(id);
        mount->capacity = capacity;
        table.Insert(mount);
        return *mount;
    }

    SensorRecordFactory previousRecordFactory;
};

}  // namespace

TEST_F(Components, PlantsTanksAndTheFuelHookUp)
{
    MovingObject unit;
    IDList plants;
    Fill(plants, {1, 2, 9});
    BuildPropulsionList(unit.plants, plants);
    const PropulsionPlant* nuclear = unit.plants.Find(1);
    const PropulsionPlant* diesel = unit.plants.Find(2);
    ASSERT_NE(nuclear, nullptr);
    ASSERT_NE(diesel, nullptr);
    ASSERT_NE(unit.plants.Find(3), nullptr);                 // a missing record still gives a plant
    EXPECT_EQ(unit.plants.Find(3)->propulsionAnnexID, 9);
    EXPECT_EQ(nuclear->hasFuel, 1);                          // before any tank
    EXPECT_EQ(diesel->hasFuel, 0);
    EXPECT_EQ(diesel->speedTable[1][0].speed, 12);
    EXPECT_EQ(diesel->useRate[0], 40);

    IDList tanks;
    Fill(tanks, {3, 2, 1, 8});
    BuildFuelTanks(unit.fuelTanks, tanks);
    std::vector<uint32_t> types;
    for (const FuelTank* t = unit.fuelTanks.First(); t != nullptr; t = t->GetNext())
        types.push_back(t->GetFuelType() * 1000 + t->GetCount());
    EXPECT_EQ(types, (std::vector<uint32_t>{1500, 5100, 4000, 0}));   // id order; 8 is missing

    HookUpFuel(unit);
    EXPECT_EQ(diesel->hasFuel, 1);
    EXPECT_EQ(diesel->secondHasFuel, 0);            // the battery tank is empty
    EXPECT_EQ(diesel->hasAirIndependentFuel, 1);
    EXPECT_EQ(nuclear->hasFuel, 1);
}

TEST_F(Components, AirFacilitySpaceBySizeClass)
{
    struct Row { uint8_t sizeClass; uint8_t basis; uint8_t space; };
    const Row rows[] = {
        {1, 3, 6}, {2, 3, 9}, {4, 3, 12}, {8, 3, 6}, {16, 3, 6}, {32, 3, 9}, {64, 3, 12}, {128, 3, 24},
        {128, 40, 255},   // 320 is capped
        {0, 40, 0}, {3, 40, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int{r.sizeClass} << " x " << int{r.basis});
        auto* record = new AirFacilityAnnex(50);
        record->kindCode = AIR_FACILITY_HANGAR;
        record->value = static_cast<uint16_t>(r.basis << 8 | r.sizeClass);
        Annex::Tables().AirFacilities()->Insert(record);
        const std::unique_ptr<AnnexEntry> entry(MakeAirFacilityEntry(4, 50));
        EXPECT_EQ(entry->GetKey(), 4);
        EXPECT_EQ(entry->typeCode, AIR_FACILITY_HANGAR);
        EXPECT_EQ(entry->state, AIR_STATE_ACTIVE);
        EXPECT_EQ(entry->value1, 50);
        for (uint8_t space : {entry->byte1, entry->byte2, entry->byte3, entry->byte4})
            EXPECT_EQ(space, r.space);
        EXPECT_EQ(entry->long1, r.sizeClass);
        EXPECT_EQ(entry->long2, r.sizeClass);
        Annex::Tables().AirFacilities()->DeleteAll();
    }
}

TEST_F(Components, AirFacilityListKeysInOrderAndSumsHangarsAndParking)
{
    const uint32_t kinds[] = {AIR_FACILITY_RUNWAY, AIR_FACILITY_HANGAR, AIR_FACILITY_PARKING};
    const uint16_t values[] = {0x0440, 0x0220, 0x0210};   // 16, 6 and 4 space units
    for (uint16_t i = 0; i < 3; ++i) {
        auto* record = new AirFacilityAnnex(static_cast<uint16_t>(30 - i));
        record->kindCode = kinds[i];
        record->value = values[i];
        Annex::Tables().AirFacilities()->Insert(record);
    }
    AnnexEntryList list;
    IDList ids;
    Fill(ids, {28, 29, 30, 77});   // parking, hangar, runway, and a missing record
    EXPECT_EQ(BuildAirFacilityList(list, ids), 10);
    std::vector<uint32_t> entries;
    for (const AnnexEntry* e = list.First(); e != nullptr; e = e->GetNext())
        entries.push_back(e->GetKey() * 100 + e->typeCode);
    EXPECT_EQ(entries, (std::vector<uint32_t>{108, 205, 301, 400}));
}

TEST_F(Components, MountsAndMagazinesFromTheirRecords)
{
    MovingObject unit;
    IDRecordList records;
    records.Insert(new IDRecord(1, 0x0C));
    records.Insert(new IDRecord(2, 0));
    records.Insert(new IDRecord(9, 0x30));   // no such record
    BuildMountList(unit.mounts, records, &unit);

    const Mount* launcher = unit.mounts.Find(1);
    ASSERT_NE(launcher, nullptr);
    EXPECT_EQ(launcher->GetState(), Mount::STATE_READY);
    EXPECT_EQ(launcher->GetOwner(), &unit);
    EXPECT_EQ(launcher->fireInterval, -1);
    EXPECT_EQ(launcher->capacity, 20);
    EXPECT_EQ(launcher->emptySpace, 12);
    EXPECT_EQ(launcher->mountAnnexID, 1);
    EXPECT_EQ(launcher->arcMask, 0x0C);
    EXPECT_EQ(launcher->capabilities, Mount::ENGAGES_WITHOUT_CONTACT);
    EXPECT_EQ(launcher->mountCode, 0u);
    ASSERT_NE(launcher->weapons.Find(1), nullptr);
    EXPECT_EQ(launcher->weapons.Find(1)->weaponID, 10);
    const Sensor* director = launcher->sensors.First();
    ASSERT_NE(director, nullptr);
    EXPECT_EQ(director->targetClasses, 0x0C);
    EXPECT_EQ(director->GetOwner(), &unit);

    // 8 rounds loaded in a mount that holds 5 leave no room, not 65,533.
    EXPECT_EQ(unit.mounts.Find(2)->emptySpace, 0);

    const Mount* missing = unit.mounts.Find(3);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->GetState(), Mount::STATE_READY);
    EXPECT_EQ(missing->GetOwner(), &unit);
    EXPECT_EQ(missing->arcMask, 0);
    EXPECT_EQ(missing->mountAnnexID, 0);
    EXPECT_EQ(missing->weapons.First(), nullptr);

    IDList magazines;
    Fill(magazines, {1, 2});
    BuildMagazineList(unit.magazines, magazines);
    const Mount* magazine = unit.magazines.Find(1);
    ASSERT_NE(magazine, nullptr);
    EXPECT_EQ(magazine->GetOwner(), nullptr);
    EXPECT_EQ(magazine->capacity, 100);          // magazine.dat's record 1, not mount.dat's
    EXPECT_EQ(magazine->emptySpace, 100 - 8 - 2);
    EXPECT_EQ(magazine->capabilities, Mount::MAGAZINE);
    const Mount* noRecord = unit.magazines.Find(2);
    EXPECT_EQ(noRecord->capabilities, Mount::MAGAZINE);
    EXPECT_EQ(noRecord->mountAnnexID, 2);
}

TEST_F(Components, WeaponRecordsCopyTheirRecordAndSumTheirLoads)
{
    const std::unique_ptr<WeaponRec> rec(MakeWeaponRec(1));
    EXPECT_EQ(rec->weaponID, 10);
    EXPECT_EQ(rec->secondValue, 9);
    EXPECT_EQ(rec->shotsLeft, 8);
    EXPECT_EQ(rec->fireInterval, 6);
    EXPECT_EQ(rec->cycleTimer, 0);
    EXPECT_EQ(rec->readyShots, 0);
    EXPECT_EQ(rec->thirdValue, 0);
    EXPECT_EQ(rec->flag, 0);
    EXPECT_EQ(rec->lastValue, 0u);
    const std::unique_ptr<WeaponRec> missing(MakeWeaponRec(42));
    EXPECT_EQ(missing->weaponID, 0);
    EXPECT_EQ(missing->flag, 0);

    SavedTreeListOf<WeaponRec> list;
    IDList ids;
    Fill(ids, {1, 2, 42});
    EXPECT_EQ(BuildWeaponRecList(list, ids), 8 + 3);
    EXPECT_NE(list.Find(3), nullptr);   // keys 1, 2, 3: a missing record still gives one
}

TEST_F(Components, LoadoutMountByWeaponKind)
{
    MovingObject plane;
    EXPECT_EQ(BuildLoadoutMount(plane.mounts, 7, plane), AIRCRAFT_FLAG_STORE_8192);
    const Mount* load = plane.mounts.First();
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->GetState(), Mount::STATE_READY);
    EXPECT_EQ(load->GetOwner(), &plane);
    EXPECT_EQ(load->capabilities, Mount::LOADOUT);
    EXPECT_EQ(load->mountAnnexID, 7);
    EXPECT_EQ(load->fireInterval, 9);
    EXPECT_EQ(load->arcMask, 0);   // no mount record to keep a mask with

    std::vector<uint16_t> weapons;
    for (const WeaponRec* w = load->weapons.First(); w != nullptr; w = w->GetNext())
        weapons.push_back(w->weaponID);
    EXPECT_EQ(weapons, (std::vector<uint16_t>{10, 30}));   // the missile and the pod

    const Sensor* pod = plane.sensors.First();
    ASSERT_NE(pod, nullptr);
    EXPECT_EQ(pod->GetSensorID(), 1);
    EXPECT_EQ(pod->GetOwner(), &plane);

    // Three drop tanks of kind 512, and one store of kind 8192.
    int tanks = 0;
    for (const FuelTank* t = plane.fuelTanks.First(); t != nullptr; t = t->GetNext()) {
        EXPECT_EQ(t->GetFuelType(), FuelType::AVIATION);
        ++tanks;
    }
    EXPECT_EQ(tanks, 3 + 1);

    MovingObject other;
    EXPECT_EQ(BuildLoadoutMount(other.mounts, 8, other), 0u);   // no such loadout
    EXPECT_EQ(other.mounts.First(), nullptr);
}

TEST(CopyTriple, CopiesAllThree)
{
    ShortTriple to;
    CopyTriple(to, ShortTriple(4, 5, 6));
    EXPECT_EQ(to, ShortTriple(4, 5, 6));
}

TEST(StartFacilityRadars, PostsOneOrderToSwitchTheRadarsActive)
{
    UnitWorld world;
    UnitEventCalls calls = SetUnitEventCalls({});
    calls.makeSetSensorsEvent = [](uint16_t unit, uint32_t state, uint32_t type) -> Event* {
        return new TestEvent(EventCode::SET_SENSORS, unit, static_cast<uint16_t>(state * 100 + type));
    };
    SetUnitEventCalls(calls);
    TestUnit facility('F');
    facility.SetKey(12);
    StartFacilityRadars(facility);
    EXPECT_TRUE(world.Queued(EventCode::SET_SENSORS).empty());   // no sensors, no order
    facility.sensors.Insert(new TestSensor(Sensor::TYPE_ESM));
    StartFacilityRadars(facility);
    const auto queued = world.Queued(EventCode::SET_SENSORS);
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->GetSubject(), 12);
    EXPECT_EQ(queued[0]->Value(), 201);   // active, radars
}
