// PlaneTypeSummary.cpp: the summary of one aircraft type for a group's air
// planning, and the launch of the best-armed record of the type.
#include "units/PlaneTypeSummary.h"

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/MountAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/SensorAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/gam2arena.h"
#include "units/PlaneRec.h"
#include "units/PlaneRecBridge.h"
#include "units/Unit.h"

namespace {

constexpr uint32_t CAPABILITY_SURFACE_SEARCH = 0x1;
constexpr uint32_t CAPABILITY_AIR_SEARCH = 0x2;
constexpr uint32_t KIND_SONOBUOY = 0x100;
// The kind whose weapons carry sensors of their own onto the aircraft.
constexpr uint32_t KIND_SENSOR_CARRIER = 0x80;

}  // namespace

template <class List>
void PlaneTypeSummary::ScanSensors(const List& sensors, uint16_t loadoutID)
{
    const AnnexTable<SensorAnnex>* const table = Annex::Tables().Sensors();
    if (table == nullptr)
        return;
    for (auto* s = sensors.First(); s != nullptr; s = s->GetNext()) {
        const SensorAnnex* const sensor = table->Find(s->GetKey());
        if (sensor == nullptr)
            continue;
        const uint32_t type = sensor->GetSensorType();
        if (type == SENSOR_TYPE_RADAR) {
            if ((sensor->capabilities & CAPABILITY_SURFACE_SEARCH) != 0 && sensor->maxRange > surfaceSearch)
                surfaceSearch = sensor->maxRange;
            if ((sensor->capabilities & CAPABILITY_AIR_SEARCH) != 0 && sensor->maxRange > airSearch)
                airSearch = sensor->maxRange;
        } else if ((type == SENSOR_TYPE_PASSIVE_SONAR || type == SENSOR_TYPE_ACTIVE_PASSIVE_SONAR) &&
                   hasSonar == 0) {
            hasSonar = 1;
            sonarLoadoutID = loadoutID;
        }
    }
}

PlaneTypeSummary::PlaneTypeSummary(uint16_t planeAnnexID) : TreeListNode<PlaneTypeSummary>(planeAnnexID)
{
    const AnnexTable<PlaneAnnex>* const planes = Annex::Tables().Planes();
    const PlaneAnnex* const type = planes != nullptr ? planes->Find(planeAnnexID) : nullptr;
    if (type == nullptr)
        return;
    value1 = type->bytes[0];
    value2 = type->bytes[1];
    ScanSensors(type->sensorIDs, 0);
    const AnnexTable<MountAnnex>* const mounts = Annex::Tables().Mounts();
    const AnnexTable<WeaponRec>* const recs = Annex::Tables().WeaponRecs();
    if (mounts == nullptr || recs == nullptr)
        return;
    for (const IDRecord* m = type->mountIDs.First(); m != nullptr; m = m->GetNext()) {
        const MountAnnex* const mount = mounts->Find(m->GetKey());
        if (mount == nullptr)
            continue;
        for (const IDNode* w = mount->weaponRecIDs.First(); w != nullptr; w = w->GetNext()) {
            const WeaponRec* const rec = recs->Find(w->GetKey());
            const WeaponAnnex* const weapon = rec != nullptr ? Annex::FindWeapon(rec->weaponID) : nullptr;
            if (weapon != nullptr && rec->shotsLeft != 0 && weapon->GetWeaponKind() == KIND_SONOBUOY)
                sonobuoys = static_cast<uint16_t>(sonobuoys + rec->shotsLeft);
        }
    }
}

void PlaneTypeSummary::AddLoadout(uint16_t loadoutID)
{
    const AnnexTable<LoadoutAnnex>* const loadouts = Annex::Tables().Loadouts();
    const LoadoutAnnex* const loadout = loadouts != nullptr ? loadouts->Find(loadoutID) : nullptr;
    const AnnexTable<WeaponRec>* const recs = Annex::Tables().WeaponRecs();
    if (loadout == nullptr || recs == nullptr)
        return;
    // A loadout brings sensors only in its sensor-carrying weapons, as they
    // are fitted to an aircraft when it is armed.
    for (const IDNode* w = loadout->weaponRecIDs.First(); w != nullptr; w = w->GetNext()) {
        const WeaponRec* const rec = recs->Find(w->GetKey());
        const WeaponAnnex* const weapon = rec != nullptr ? Annex::FindWeapon(rec->weaponID) : nullptr;
        if (weapon != nullptr && weapon->GetWeaponKind() == KIND_SENSOR_CARRIER)
            ScanSensors(weapon->sensors, loadoutID);
    }
}

void PlaneTypeSummary::AddRecord(const PlaneRec& record)
{
    for (const LaunchEntry* e = records.First(); e != nullptr; e = e->GetNext())
        if (e->unitId == record.unitID && e->planeRecId == record.GetKey())
            return;
    records.Insert(new LaunchEntry(records.NewKey(), record));
}

void PlaneTypeSummary::LaunchBest(const StationRecord* target, uint32_t targetMask)
{
    const LaunchEntry* best = nullptr;
    uint32_t bestCount = 0;
    for (const LaunchEntry* e = records.First(); e != nullptr; e = e->GetNext()) {
        if (e->launchFlag != 0)
            continue;
        const PlaneRec* const record = e->FindRecord();
        if (record == nullptr)
            continue;
        const uint32_t count = record->CountWeapons(targetMask);
        if (best == nullptr || count >= bestCount) {
            best = e;
            bestCount = count;
        }
    }
    if (best == nullptr)
        return;
    auto* const list = new LaunchList;
    auto* const copy = new LaunchEntry(list->NewKey());
    copy->unitId = best->unitId;
    copy->planeRecId = best->planeRecId;
    copy->aircraftWanted = 1;
    copy->readyState = best->readyState;
    copy->launchFlag = 1;
    list->Insert(copy);
    LaunchStrike(list, target);
}
