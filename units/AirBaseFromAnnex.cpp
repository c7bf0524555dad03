// AirBaseFromAnnex.cpp: an air base built from its installa.dat record, with
// the facilities of the record placed, registered and joined to the base,
// and its facilities built again from their records.
#include "units/AirBase.h"

#include "annex/AnnexTables.h"
#include "annex/FacilityAnnex.h"
#include "annex/InstallationAnnex.h"
#include "core/gam2arena.h"
#include "units/Facility.h"
#include "units/SideRecords.h"
#include "units/UnitCreation.h"
#include "units/UnitList.h"

AirBase::AirBase(uint16_t installation, LatLonPoint position, uint16_t sideID, uint16_t unitID)
{
    const AnnexTable<InstallationAnnex>* const table = Annex::Tables().Installations();
    const InstallationAnnex* const record = table != nullptr ? table->Find(installation) : nullptr;
    if (record == nullptr)
        return;
    SetSideID(sideID);
    installationID = installation;
    SetKey(unitID);
    BuildFacilities(record->points, position);
    SetName(record->name.Text());
}

void AirBase::BuildFacilities(const IDPointList& points, const LatLonPoint& basePosition)
{
    const AnnexTable<FacilityAnnex>* const facilities = Annex::Tables().Facilities();
    UnitList* const units = UnitList::GetArenaList();
    if (facilities == nullptr || units == nullptr)
        return;
    const uint16_t side = GetSideID();
    for (const IDPoint* point = points.First(); point != nullptr; point = point->GetNext()) {
        if (facilities->Find(point->GetKey()) == nullptr)
            continue;
        auto* const facility = new Facility(point->GetKey());
        facility->FitForBase();
        const LatLonPoint offset = point->GetPosition();
        facility->SetPositionRebased(LatLonPoint(offset.lat + basePosition.lat, offset.lon + basePosition.lon));
        facility->UpdateXY();
        facility->SetAltitude(0);
        facility->MarkAsBaseMember();
        // The facility takes its id before its own side record opens and
        // before its radars are ordered active, so that both name the
        // facility and not an id of 0.
        facility->SetSideID(side);
        facility->SetKey(units->NewKey());
        units->Insert(facility);
        facility->PostRadarsActive();
        UnitCreation::OpenSideRecord(*facility);
        // A base without a side has no missions to hand the facility to.
        if (gam2arena::SideExists(side))
            gam2side::ProcessUnitMission(side, facility->GetID(), 1);
        facility->SettleInBase();
        AddMember(facility->GetID(), nullptr);
    }
}

void AirBase::RebuildFromAnnex()
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit == nullptr || unit->GetTypeLetter() != Facility::TYPE_LETTER)
            continue;
        auto* const facility = static_cast<Facility*>(unit);
        facility->RebuildFromAnnex();
        facility->FitForBase();
        facility->MarkAsBaseMember();
        facility->SettleInBase();
    }
}
