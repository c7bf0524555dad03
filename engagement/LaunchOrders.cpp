// LaunchOrders.cpp: carrying out a launch list.
#include "engagement/LaunchOrders.h"

#include "core/gam2arena.h"
#include "units/PlaneRec.h"
#include "units/StationRecord.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

// Seconds an armed record stays unmarked before it counts as ready.
constexpr uint32_t IDLE_SECONDS = 1800;

// Whether an arming that began at stateTime lies more than IDLE_SECONDS in
// the past (a start time ahead of the clock is not).
bool IdleLongEnough(uint32_t stateTime)
{
    const uint32_t now = gam2arena::GetGameTime();
    return now > stateTime && now - stateTime > IDLE_SECONDS;
}

// PlaneRec::Launch: the entry's aircraft taken into a record of their own;
// the entry follows them to it.
void TakeEntryPlanes(LaunchEntry& entry, PlaneRecList& list)
{
    Waypoint request;
    request.planeRecID = entry.planeRecId;
    request.holderID = entry.unitId;
    request.count = entry.aircraftWanted;
    request.loadout = entry.readyState;
    if (list.TakePlanes(request, 1))
        entry.planeRecId = request.planeRecID;
}

}  // namespace

void PrepareLaunch(LaunchList* list)
{
    if (list == nullptr)
        return;
    for (LaunchEntry* entry = list->First(); entry != nullptr; entry = entry->GetNext()) {
        PlaneRecList* records = nullptr;
        PlaneRec* const record = entry->FindRecord(&records);
        if (record == nullptr)
            continue;
        if (record->loadoutID == entry->readyState) {
            if (!record->HasFlags(PlaneRec::READY_FLAGS) &&
                FindUnitReadyEvent(entry->unitId, entry->planeRecId) == nullptr &&
                IdleLongEnough(record->stateTime))
                record->SetFlags(PlaneRec::READY_FLAGS);
        } else if (entry->aircraftWanted < record->count) {
            TakeEntryPlanes(*entry, *records);
        } else {
            record->SetReadyState(entry->readyState, true, PlaneRec::READY_VALUE);
        }
    }
}

void LaunchAircraft(LaunchList* list, const StationRecord* station)
{
    if (list == nullptr)
        return;
    PrepareLaunch(list);
    const Unit* attachedTo = nullptr;
    for (LaunchEntry* entry = list->First(); entry != nullptr; entry = entry->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(entry->unitId);
        if (unit == nullptr)
            continue;
        if (station != nullptr && attachedTo == nullptr)
            attachedTo = gam2arena::FindUnit(unit->attachedID);
        PlaneRecList* records = nullptr;
        PlaneRec* record = entry->FindRecord(&records);
        if (record == nullptr || entry->launchFlag == 0)
            continue;
        if (entry->aircraftWanted < record->count) {
            TakeEntryPlanes(*entry, *records);
            record = records->Find(entry->planeRecId);
            if (record == nullptr)
                continue;
        }
        uint32_t value = record->count;
        if (station != nullptr && attachedTo != nullptr) {
            record->SetStation(station);
            value = 0;
        }
        PostOrDrop(MakeLaunchAircraftEvent(entry->unitId, entry->planeRecId, value));
    }
    delete list;
}
