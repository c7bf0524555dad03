// GroupAircraft.cpp: the stations of a group's aircraft in the air or
// waiting to launch, the relaunch of a recalled member, and the hand-over of
// the group's own aircraft records to members that can hold them.
#include <vector>

#include "core/Event.h"
#include "core/gam2arena.h"
#include "units/Facility.h"
#include "units/Group.h"
#include "units/PlaneRec.h"
#include "units/UnitEvents.h"

namespace {

// Game seconds before a relaunched aircraft goes, and the arming delay of a
// record a fallback holder takes.
constexpr uint32_t RELAUNCH_DELAY = 30;
constexpr uint32_t FALLBACK_READY_DELAY = 30;
// Flags a record handed over starts without.
constexpr uint32_t HANDED_OVER_CLEARED = 0x3FFF;

bool SameSector(const StationRecord& a, const StationRecord& b)
{
    return a.rightBearing == b.rightBearing && a.leftBearing == b.leftBearing && a.maxRange == b.maxRange
           && a.minRange == b.minRange;
}

bool HoldsAircraftSpace(const Unit& unit)
{
    return unit.GetTypeLetter() == 'S' || unit.GetTypeLetter() == 'F';
}

}  // namespace

void Group::AddAirStations(PlaneRec& record, const StationRecord& station)
{
    for (uint8_t i = 0; i < record.count; ++i) {
        StationRecord* const s = StationRecord::CreateStation(station.kind);
        if (s == nullptr)
            return;
        s->CopyFrom(&station);
        s->mode = StationMode::LAUNCHING;
        s->unitID = record.unitID;
        s->leg = record.GetKey();
        airStations.Append(s);
    }
    record.SetStation(&station);
}

void Group::LaunchAirStation(const PlaneRec& record, uint16_t planeUnitID)
{
    for (StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
        if (s->mode == StationMode::LAUNCHING && s->unitID == record.unitID && s->leg == record.GetKey()) {
            s->mode = StationMode::FLYING;
            s->unitID = planeUnitID;
            return;
        }
    }
}

void Group::DropAirStation(uint16_t planeUnitID)
{
    for (StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
        if (s->mode == StationMode::FLYING && s->unitID == planeUnitID) {
            airStations.Chain<StationRecord>::Remove(s);
            delete s;
            return;
        }
    }
}

void Group::CopyStationToAirStation(uint16_t unitID)
{
    const StationRecord* const member = GetMemberStation(unitID);
    if (member == nullptr)
        return;
    for (StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
        if (s->mode != StationMode::FLYING || s->unitID != unitID)
            continue;
        StationRecord* target = s;
        if (s->kind != member->kind) {
            // Another kind is another station class: the air station is
            // made again, keeping its state.
            target = StationRecord::CreateStation(member->kind);
            if (target == nullptr)
                return;
            target->CopyFrom(s);
            target->mode = s->mode;
            target->leg = s->leg;
            airStations.InsertBefore(target, s);
            airStations.Chain<StationRecord>::Remove(s);
            delete s;
        }
        target->rightBearing = member->rightBearing;
        target->leftBearing = member->leftBearing;
        target->maxRange = member->maxRange;
        target->minRange = member->minRange;
        target->axis = member->axis;
        return;
    }
}

StationRecord* Group::FindAirStation(const StationRecord& station)
{
    StationRecord* wanted = nullptr;
    const int32_t kind = station.kind == StationKind::FREE ? station.leg : station.kind;
    for (StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
        if (s->mode == StationMode::FLYING && s->unitID == station.unitID)
            return s;
        if (s->mode == StationMode::WANTED && s->kind == kind && SameSector(*s, station))
            wanted = s;
    }
    return wanted;
}

void Group::ReleaseAirStations()
{
    airStations.DeleteAll();
}

void Group::RelaunchMember(uint16_t unitID, PlaneRec* record)
{
    const StationRecord* const member = GetMemberStation(unitID);
    if (member == nullptr || record == nullptr || member->relief == 0 || member->kind != StationKind::FREE)
        return;
    StationRecord* const station = StationRecord::CreateStation(static_cast<uint8_t>(member->leg));
    if (station == nullptr)
        return;
    station->CopyFrom(member);
    record->SetStation(station);
    delete station;
    if (Event* const launch = MakeLaunchAircraftEvent(record->unitID, record->GetKey(), 0)) {
        launch->SetDueTime(gam2arena::GetGameTime() + RELAUNCH_DELAY);
        PostOrDrop(launch);
    }
}

// The holder takes the record over: a new record of the same aircraft in
// its list, armed anew, with the record's station and queued launch; the
// old record leaves the group. A facility taking a stationed record gives
// up `space` of its free aircraft space.
bool Group::TakeRecord(PlaneRec& record, Unit& holder, uint32_t readyDelay, int32_t space)
{
    PlaneRecList* const list = holder.GetPlaneRecList();
    if (list == nullptr)
        return false;
    PlaneRec* const taken = list->AddPlaneRec(holder.GetID(), record.planeAnnexID, record.count, record.loadoutID, 0);
    if (taken == nullptr)
        return false;
    taken->ClearFlags(HANDED_OVER_CLEARED);
    taken->sizeFactor = record.sizeFactor;
    taken->SetMissionID(record.missionID, true);
    taken->SetReadyState(record.loadoutID, true, static_cast<uint16_t>(readyDelay));
    if (record.GetStation() != nullptr) {
        if (Event* const launch = FindLaunchEvent(GetID(), record.GetKey()))
            ReaddressLaunchEvent(*launch, holder.GetID(), taken->GetKey());
        taken->SetStation(record.GetStation());
        if (auto* const facility = dynamic_cast<Facility*>(&holder); facility != nullptr && space > 0) {
            uint16_t& free = facility->aircraftSpace[0];
            free = space >= free ? 0 : static_cast<uint16_t>(free - space);
        }
    }
    planeRecs.Remove(&record);
    delete &record;
    return true;
}

void Group::HandOverAircraft()
{
    std::vector<uint16_t> keys;
    for (const PlaneRec* r = planeRecs.First(); r != nullptr; r = r->GetNext())
        keys.push_back(r->GetKey());
    for (uint16_t key : keys) {
        for (;;) {
            PlaneRec* const record = planeRecs.Find(key);
            if (record == nullptr)
                break;
            if (record->count == 0) {
                // An emptied record holds nothing to hand over.
                planeRecs.Remove(record);
                delete record;
                break;
            }
            uint32_t size = (record->GetAnnexFlags() >> 11) & 0x1FF;
            if (size > 4)
                size /= 2;
            const int32_t space = int32_t{record->sizeFactor} * record->count;
            const uint32_t now = gam2arena::GetGameTime();
            const uint32_t readyIn = record->readyTime > now ? record->readyTime - now : 0;
            Unit* fallback = nullptr;
            Unit* taker = nullptr;
            for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
                Unit* const unit = gam2arena::FindUnit(e->GetKey());
                if (unit == nullptr)
                    continue;
                if (unit->GetMaxAircraftSize(true, false) >= size && unit->GetAircraftRoom(record->GetAnnexFlags()) >= space) {
                    taker = unit;
                    break;
                }
                if (fallback == nullptr
                    || (HoldsAircraftSpace(*unit)
                        && unit->GetAircraftRoom(record->GetAnnexFlags())
                               > fallback->GetAircraftRoom(record->GetAnnexFlags())))
                    fallback = unit;
            }
            if (taker != nullptr) {
                TakeRecord(*record, *taker, readyIn, space);
                break;
            }
            // Without any member the records stay with the group.
            if (fallback == nullptr)
                break;
            if (HoldsAircraftSpace(*fallback)) {
                TakeRecord(*record, *fallback, FALLBACK_READY_DELAY, space);
                break;
            }
            // No member can hold them: one aircraft is lost and the record
            // is looked at again.
            if (gam2arena::FindUnit(record->unitID) != nullptr) {
                record->DestroyPlanes(1);
            } else {
                --record->count;
            }
        }
    }
}
