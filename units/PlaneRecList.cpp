// PlaneRecList.cpp: the operations of a holder's aircraft-record list:
// aircraft arriving, aircraft taken for a task, records merged, and the
// saved list read whole or not at all.
#include "units/PlaneRec.h"

#include <istream>

#include "core/AllocationCheck.h"
#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/PlaneRecBridge.h"
#include "units/StationBridge.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {
// Resource text of the fatal error for a holder that cannot be found when
// aircraft arrive.
constexpr int32_t TEXT_NO_HOLDER_ADD = 0x7B024F;
constexpr uint8_t MAX_COUNT = 255;
}  // namespace

PlaneRec* PlaneRecList::AddPlaneRec(uint16_t unitID, uint16_t planeAnnexID, uint8_t count, uint16_t loadoutID,
                                    uint16_t sourceUnitID)
{
    Unit* const holder = gam2arena::FindUnit(unitID);
    if (holder == nullptr) {
        ReportResourceText(TEXT_NO_HOLDER_ADD, "PlaneRecList::AddPlaneRec", FatalError);
        return nullptr;
    }
    auto* const record = new PlaneRec(NewKey());
    AllocationCheck(record);
    record->unitID = unitID;
    record->count = count;
    record->planeAnnexID = planeAnnexID;
    record->loadoutID = loadoutID;
    record->sizeFactor = PlaneRec::SizeFactorOf(planeAnnexID);
    if (count == 0)
        record->ClearFlags(PlaneRec::READY_FLAGS);
    if (sourceUnitID == 0) {
        record->SetFlags(PlaneRec::READY_FLAGS);
        record->missionID = gam2side::GetUnitMissionID(unitID);
    } else {
        record->missionID = gam2side::GetUnitMissionID(sourceUnitID);
        gam2side::AddPlaneRecToMission(*record, sourceUnitID, unitID);
        if (FindUnitReadyEvent(unitID, record->GetKey()) == nullptr)
            record->SetReadyState(0, true, PlaneRec::READY_VALUE);
    }
    Insert(record);
    const uint16_t side = holder->GetSideID();
    if (gam2side::SideExists(side) && !holder->IsGroup()) {
        if (sourceUnitID == 0) {
            if (gam2side::AddPlaneRecID(side, unitID, record->GetKey(), record->missionID, 0) != record->missionID)
                PostToMessageLog("AddPlaneRecID Failed");
        } else {
            gam2side::AddPlaneRecID(side, unitID, record->GetKey(), record->missionID, sourceUnitID);
        }
    }
    return record;
}

bool PlaneRecList::TakePlanes(Waypoint& request, uint8_t notify)
{
    PlaneRec* record = Find(request.planeRecID);
    if (record == nullptr) {
        request.planeRecID = 0;
        return false;
    }
    request.aircraftType = record->planeAnnexID;
    if (request.count < record->count) {
        const uint16_t oldKey = record->GetKey();
        record->count = static_cast<uint8_t>(record->count - request.count);
        auto* const copy = new PlaneRec(NewKey());
        AllocationCheck(copy);
        copy->flags = record->flags;
        copy->stateTime = record->stateTime;
        copy->planeAnnexID = record->planeAnnexID;
        copy->unitID = record->unitID;
        copy->spare16 = record->spare16;
        copy->count = record->count;
        copy->loadoutID = record->loadoutID;
        copy->sizeFactor = record->sizeFactor;
        copy->missionID = record->missionID;
        copy->onStation = record->onStation;
        copy->SetStation(record->GetStation());
        Insert(copy);
        // The arming under way goes on for the new record as well.
        if (const Event* const ready = FindUnitReadyEvent(record->unitID, oldKey)) {
            if (Event* const clone = ready->Clone()) {
                SetReadyRecordID(*clone, copy->GetKey());
                PostOrDrop(clone);
            }
        }
        copy->SetActive(request.count);
        if (notify != 0)
            gam2side::TellPlaneRecSplit(copy->missionID, copy->unitID, oldKey, copy->GetKey(), copy->count);
        record = copy;
    }
    if (request.loadout != record->loadoutID)
        record->SetReadyState(request.loadout, true, PlaneRec::READY_VALUE);
    request.planeRecID = record->GetKey();
    return true;
}

uint16_t PlaneRecList::MergeRecords(const IDList& refList)
{
    PlaneRec* kept = nullptr;
    for (const IDNode* n = refList.First(); n != nullptr; n = n->GetNext())
        if (PlaneRec* const r = Find(n->GetKey()); r != nullptr && (kept == nullptr || r->stateTime > kept->stateTime))
            kept = r;
    if (kept == nullptr)
        return 0;
    for (const IDNode* n = refList.First(); n != nullptr; n = n->GetNext()) {
        PlaneRec* const r = Find(n->GetKey());
        if (r == nullptr || r == kept)
            continue;
        const uint32_t sum = uint32_t{kept->count} + r->count;
        if (sum > MAX_COUNT) {
            // A count holds at most 255: the rest stays in its own record.
            kept->count = MAX_COUNT;
            r->count = static_cast<uint8_t>(sum - MAX_COUNT);
            continue;
        }
        kept->count = static_cast<uint8_t>(sum);
        if (sum == 0)
            kept->ClearFlags(PlaneRec::READY_FLAGS);
        gam2side::AskMission(kept->missionID, kept->unitID, kept->GetKey(), r->GetKey());
        Remove(r);
        delete r;
    }
    return kept->GetKey();
}

bool PlaneRecList::Load(std::istream& in)
{
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    PlaneRecList read;
    for (uint32_t i = 0; i < count; ++i) {
        auto* const record = new PlaneRec();
        AllocationCheck(record);
        if (!record->Load(in)) {
            delete record;
            ErrorBox("Aircraft records: the saved list is cut short or damaged");
            in.setstate(std::ios::failbit);
            return false;
        }
        read.Insert(record);
    }
    while (PlaneRec* const record = read.First()) {
        read.Remove(record);
        Insert(record);
    }
    if (const PlaneRec* const last = Last())
        SetLastKey(last->GetKey());
    return true;
}

uint32_t PlaneRecList::CountAircraft() const
{
    uint32_t sum = 0;
    for (const PlaneRec* r = First(); r != nullptr; r = r->GetNext())
        sum += r->count;
    return sum;
}

uint32_t PlaneRecList::CountReadyAircraft() const
{
    uint32_t sum = 0;
    for (const PlaneRec* r = First(); r != nullptr; r = r->GetNext()) {
        if (r->HasFlags(PlaneRec::READY_FLAGS))
            sum += r->count;
    }
    return sum;
}
