// FacilityFromAnnex.cpp: a facility built from its facility.dat record, built
// again from it, and made ready as a member of an air base.
#include "units/Facility.h"

#include "annex/AnnexTables.h"
#include "annex/FacilityAnnex.h"
#include "core/gam2arena.h"
#include "units/DatalinkRecord.h"
#include "units/Sensor.h"
#include "units/SideRecords.h"
#include "units/UnitComponents.h"
#include "units/UnitCreation.h"
#include "units/UnitEvents.h"
#include "units/UnitFromAnnex.h"
#include "world/Nav2Game.h"

namespace {

// The key of the first radio link: the land line has key 1.
constexpr uint16_t FIRST_RADIO_KEY = 2;

}  // namespace

Facility::Facility(uint16_t facilityAnnexID)
{
    AddLandLine(datalinks);
    BuildFromAnnex(facilityAnnexID);
}

void Facility::BuildFromAnnex(uint16_t id)
{
    const AnnexTable<FacilityAnnex>* const table = Annex::Tables().Facilities();
    const FacilityAnnex* const record = table != nullptr ? table->Find(id) : nullptr;
    if (record == nullptr)
        return;
    airFacilityList.DeleteAll();
    aircraftSpace[0] = aircraftSpace[1] = BuildAirFacilityList(airFacilityList, record->airFacilityIDs);
    SetAnnexID(id);
    UnitFromAnnex::BuildSensorsAndMounts(*this, record->sensors, record->mounts);
    UnitFromAnnex::BuildCommLinks(*this, record->commIDs);
    UnitFromAnnex::BuildStores(*this, record->fuelIDs, &record->magazineIDs);
    facilityCode1 = record->typeCode;
    facilityCode2 = record->secondCode;
    damagePoints = record->damagePoints;
    height = record->height;
    UnitFromAnnex::CopyTriples(*this, record->triple1, record->triple2, record->triple3);
    UnitFromAnnex::TakeNames(*this, record->name, "F");
}

void Facility::PostRadarsActive()
{
    if (sensors.First() != nullptr)
        gam2arena::PostEvent(MakeSetSensorsEvent(GetID(), Sensor::STATE_ACTIVE, Sensor::TYPE_RADAR));
}

void Facility::RebuildFromAnnex()
{
    const uint16_t side = GetSideID();
    const bool sideExists = gam2arena::SideExists(side);
    const NameString keptName = GetName();
    LeaveDataLink();
    airFacilityList.DeleteAll();
    UnitFromAnnex::ClearComponents(*this);
    AddLandLine(datalinks);
    BuildFromAnnex(GetAnnexID());
    PostRadarsActive();
    SetSymbolKind();
    SetName(keptName.Text());
    const DatalinkRecord* const first = datalinks.First();
    if (first != nullptr && first->GetNext() != nullptr)
        SetFlags(UnitFlag::LINKS_RECORDS);
    else
        ClearFlags(UnitFlag::LINKS_RECORDS);
    if (sideExists)
        gam2side::AddUnit(side, GetID());
}

void Facility::FitForBase()
{
    SetSymbolKind();
    DeriveCapability();
    AddGroundHeight();
}

void Facility::MarkAsBaseMember()
{
    SetFlags(UnitFlag::BASE | UnitFlag::LINKS_RECORDS);
    if (sensors.First() != nullptr)
        SetFlags(UnitFlag::SEEKER_ON);
}

void Facility::SettleInBase()
{
    UpdateSensorReach();
    RefreshWeaponReach();
    defaultThreats = Nav2Game::GetDefaultThreats(GetTypeLetter());
    if (datalinks.Find(FIRST_RADIO_KEY) == nullptr)
        ClearFlags(UnitFlag::LINKS_RECORDS);
}
