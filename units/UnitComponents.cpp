// UnitComponents.cpp: building a unit's plants, tanks, air facilities,
// mounts, magazines, weapon records and loadout mount from its records, the
// fuel hook-up, and a facility's radar start-up.
#include "units/UnitComponents.h"

#include <algorithm>

#include "annex/AirFacilityAnnex.h"
#include "annex/AnnexTables.h"
#include "units/MovingObject.h"
#include "units/SensorFactory.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

constexpr uint32_t MOST_SPACE = 255;   // the capacities are bytes
// The sector mask a loadout mount is built with; naming no mount record, it
// keeps none of it.
constexpr uint32_t LOADOUT_MOUNT_SECTORS = 17;

// Space units one aircraft-size step of the size word stands for, by the
// size class an air facility serves.
uint32_t SpacePerStep(uint8_t sizeClass)
{
    switch (sizeClass) {
    case 1:     // small helicopters
    case 8:     // short take-off aircraft
    case 16:    // small aircraft
        return 2;
    case 2:     // medium helicopters
    case 32:    // medium aircraft
        return 3;
    case 4:     // large helicopters and vertical take-off aircraft
    case 64:    // large aircraft
        return 4;
    case 128:   // very large aircraft
        return 8;
    default:
        return 0;
    }
}

// What a weapon of a kind adds to an aircraft's load.
enum class LoadoutPart { WeaponRecord, SensorsAndRecord, FuelTanks, FuelTanksAndFlag, Nothing };

LoadoutPart PartOfKind(uint32_t kind)
{
    switch (kind) {
    case 0: case 1: case 2: case 4: case 8: case 16: case 32: case 64: case 256: case 2048: case 4096:
        return LoadoutPart::WeaponRecord;
    case 128:
        return LoadoutPart::SensorsAndRecord;
    case 512: case 1024:
        return LoadoutPart::FuelTanks;
    case 8192:
        return LoadoutPart::FuelTanksAndFlag;
    default:
        return LoadoutPart::Nothing;
    }
}

void AddWeaponRec(SavedTreeListOf<WeaponRec>& list, uint16_t weaprecID)
{
    WeaponRec* const rec = MakeWeaponRec(weaprecID);
    rec->SetKey(list.NewKey());
    list.Insert(rec);
}

}  // namespace

void BuildPropulsionList(SavedTreeListOf<PropulsionPlant>& list, const IDList& ids)
{
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext()) {
        auto* const plant = new PropulsionPlant(id->GetKey());
        plant->SetKey(list.NewKey());
        list.Insert(plant);
    }
}

void BuildFuelTanks(Chain<FuelTank>& chain, const IDList& ids)
{
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext())
        chain.Append(new FuelTank(id->GetKey()));
}

AnnexEntry* MakeAirFacilityEntry(uint16_t key, uint16_t airFacilityID)
{
    auto* const entry = new AnnexEntry(key);
    entry->state = AIR_STATE_ACTIVE;
    entry->value1 = airFacilityID;
    const AnnexTable<AirFacilityAnnex>* table = Annex::Tables().AirFacilities();
    const AirFacilityAnnex* record = table != nullptr ? table->Find(airFacilityID) : nullptr;
    if (record == nullptr)
        return entry;
    entry->typeCode = record->GetKindCode();
    const uint8_t sizeClass = record->GetSizeClass();
    const auto space =
        static_cast<uint8_t>(std::min(uint32_t{record->GetCapacityBasis()} * SpacePerStep(sizeClass), MOST_SPACE));
    entry->byte1 = entry->byte2 = entry->byte3 = entry->byte4 = space;
    entry->long1 = entry->long2 = sizeClass;
    return entry;
}

uint16_t BuildAirFacilityList(AnnexEntryList& list, const IDList& ids)
{
    uint16_t space = 0;
    uint16_t key = 0;
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext()) {
        AnnexEntry* const entry = MakeAirFacilityEntry(++key, id->GetKey());
        if (entry->typeCode == AIR_FACILITY_HANGAR || entry->typeCode == AIR_FACILITY_PARKING)
            space = static_cast<uint16_t>(space + entry->byte1);
        list.Insert(entry);
    }
    return space;
}

void BuildMountList(Mount::MountList& list, const IDRecordList& records, MovingObject* owner)
{
    for (const IDRecord* entry = records.First(); entry != nullptr; entry = entry->GetNext()) {
        auto* const mount = new Mount(entry->GetKey(), owner, entry->GetValue());
        mount->SetKey(list.NewKey());
        list.Insert(mount);
    }
}

void BuildMagazineList(Mount::MountList& list, const IDList& ids)
{
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext()) {
        auto* const magazine = new Mount(id->GetKey(), nullptr, 0);
        magazine->capabilities |= Mount::MAGAZINE;
        magazine->mountAnnexID = id->GetKey();
        magazine->SetKey(list.NewKey());
        list.Insert(magazine);
    }
}

WeaponRec* MakeWeaponRec(uint16_t weaprecID)
{
    auto* const rec = new WeaponRec();
    rec->flag = 0;
    const AnnexTable<WeaponRec>* table = Annex::Tables().WeaponRecs();
    const WeaponRec* record = table != nullptr ? table->Find(weaprecID) : nullptr;
    if (record == nullptr)
        return rec;
    rec->weaponID = record->weaponID;
    rec->secondValue = record->secondValue;
    rec->shotsLeft = record->shotsLeft;
    rec->fireInterval = record->fireInterval;
    return rec;
}

uint16_t BuildWeaponRecList(SavedTreeListOf<WeaponRec>& list, const IDList& ids)
{
    uint16_t loaded = 0;
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext()) {
        WeaponRec* const rec = MakeWeaponRec(id->GetKey());
        loaded = static_cast<uint16_t>(loaded + rec->shotsLeft);
        rec->SetKey(list.NewKey());
        list.Insert(rec);
    }
    return loaded;
}

uint32_t BuildLoadoutMount(Mount::MountList& list, uint16_t loadoutID, MovingObject& unit)
{
    const AnnexTables& tables = Annex::Tables();
    const LoadoutAnnex* loadout = tables.Loadouts() != nullptr ? tables.Loadouts()->Find(loadoutID) : nullptr;
    if (loadout == nullptr)
        return 0;
    // Id 0 names no mount record: the mount only takes its owner and state.
    auto* const mount = new Mount(0, &unit, LOADOUT_MOUNT_SECTORS);
    mount->fireInterval = static_cast<int8_t>(loadout->mountByte);
    mount->capabilities |= Mount::LOADOUT;
    mount->mountAnnexID = loadoutID;
    mount->SetKey(list.NewKey());
    list.Insert(mount);

    uint32_t aircraftFlags = 0;
    for (const IDNode* id = loadout->weaponRecIDs.First(); id != nullptr; id = id->GetNext()) {
        const WeaponRec* rec = tables.WeaponRecs() != nullptr ? tables.WeaponRecs()->Find(id->GetKey()) : nullptr;
        const WeaponAnnex* weapon =
            rec != nullptr && tables.Weapons() != nullptr ? tables.Weapons()->Find(rec->weaponID) : nullptr;
        if (weapon == nullptr)
            continue;
        switch (PartOfKind(weapon->GetWeaponKind())) {
        case LoadoutPart::SensorsAndRecord:
            BuildSensorList(unit.sensors, weapon->sensors, &unit);
            AddWeaponRec(mount->weapons, id->GetKey());
            break;
        case LoadoutPart::WeaponRecord:
            AddWeaponRec(mount->weapons, id->GetKey());
            break;
        case LoadoutPart::FuelTanksAndFlag:
            aircraftFlags |= AIRCRAFT_FLAG_STORE_8192;
            [[fallthrough]];
        case LoadoutPart::FuelTanks:
            // A drop tank (or such a store) per round of the load.
            for (uint16_t round = 0; round < rec->shotsLeft; ++round)
                BuildFuelTanks(unit.fuelTanks, weapon->fuelIDs);
            break;
        case LoadoutPart::Nothing:
            break;
        }
    }
    return aircraftFlags;
}

void CopyTriple(ShortTriple& destination, const ShortTriple& source)
{
    for (int i = 0; i < ShortTriple::COUNT; ++i)
        destination.Set(i, source.Get(i));
}

void HookUpFuel(MovingObject& unit)
{
    for (const FuelTank* tank = unit.fuelTanks.First(); tank != nullptr; tank = tank->GetNext()) {
        if (tank->GetCount() == 0)
            continue;
        for (PropulsionPlant* plant = unit.plants.First(); plant != nullptr; plant = plant->GetNext())
            plant->NoteFuel(tank->GetFuelType());
    }
}

void StartFacilityRadars(const Unit& facility)
{
    if (facility.sensors.First() == nullptr)
        return;
    PostOrDrop(MakeSetSensorsEvent(facility.GetID(), Sensor::STATE_ACTIVE, Sensor::TYPE_RADAR));
}
