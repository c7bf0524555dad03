// MissionAircraft.cpp: the aircraft references of a mission: adding,
// splitting, merging, compressing, moving and refreshing them, launching
// from them, replacements for planes leaving their duty, launches for a
// unit, releasing a unit, readying aircraft, deploying a unit's sensor and
// the aircraft posture by mission kind. The reference record itself is
// PlaneRecRef.h.
#include <sstream>
#include <string>

#include "core/AfterActionLog.h"
#include "core/Chain.h"
#include "core/IDList.h"
#include "core/gam2arena.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionRecord.h"
#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/Status.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// The unit status flag a deployed dipping sonar sets.
constexpr uint32_t SONAR_DEPLOYED = 0x10000;
// The capability bits asked of a unit whose sensor a mission deploys.
constexpr uint16_t CAPABILITY_QUERY = 2;
constexpr uint16_t CAN_LAY_BUOYS = 0x2;
constexpr uint16_t CAN_DIP = 0x4;
// The answers of DeployUnitSensor.
constexpr uint16_t DEPLOYED_NOTHING = 0;
constexpr uint16_t DEPLOYED_BUOYS = 2;
constexpr uint16_t DEPLOYED_SONAR = 4;
// The order stored by default.
constexpr uint16_t NO_ORDER_STATE = 0;

bool FullyReady(uint32_t flags)
{
    return (flags & PlaneRec::READY_FLAGS) == PlaneRec::READY_FLAGS;
}

// A record of the holder that fits a replacement: of type and loadout, and
// not taken for a station.
bool Fits(const PlaneRec* record, uint16_t type, uint16_t loadout)
{
    return record != nullptr && record->planeAnnexID == type && record->loadoutID == loadout && record->onStation == 0;
}

// Adds n to a one-byte count, stopping at 255; answers what did not fit.
uint8_t AddCount(uint8_t& count, uint32_t n)
{
    const uint32_t sum = uint32_t{count} + n;
    if (sum <= MissionRecord::MAX_AIRCRAFT_COUNT) {
        count = static_cast<uint8_t>(sum);
        return 0;
    }
    count = MissionRecord::MAX_AIRCRAFT_COUNT;
    return static_cast<uint8_t>(sum - MissionRecord::MAX_AIRCRAFT_COUNT);
}

// Takes n from a one-byte count, stopping at 0; answers whether any is left.
bool SubtractCount(uint8_t& count, uint32_t n)
{
    count = n >= count ? 0 : static_cast<uint8_t>(count - n);
    return count != 0;
}

void DeleteReference(PlaneRecRefList& list, PlaneRecRef* reference)
{
    list.Remove(reference);
    delete reference;
}

// Asks the reference's holder to take n of its aircraft into a record of
// their own (all of them: the record itself); answers that record's key, 0
// when the holder, its list or the record is missing.
uint16_t TakeReferencePlanes(const PlaneRecRef& reference, uint8_t n)
{
    Unit* const holder = gam2arena::FindUnit(reference.holderID);
    PlaneRecList* const list = holder ? holder->GetPlaneRecList() : nullptr;
    if (!list)
        return 0;
    Waypoint request;
    request.planeRecID = reference.recordID;
    request.holderID = reference.holderID;
    request.loadout = reference.loadoutID;
    request.count = n;
    return list->TakePlanes(request, 0) ? request.planeRecID : 0;
}

}  // namespace

PlaneRecRef* MissionRecord::FindReference(uint16_t holderID, uint16_t recordID) const
{
    for (PlaneRecRef* r = planeRefs.First(); r; r = r->GetNext())
        if (r->holderID == holderID && r->recordID == recordID)
            return r;
    return nullptr;
}

PlaneRec* MissionRecord::FindAircraftRecord(uint16_t holderID, uint16_t recordID)
{
    Unit* const holder = gam2arena::FindUnit(holderID);
    PlaneRecList* const list = holder ? holder->GetPlaneRecList() : nullptr;
    return list ? list->Find(recordID) : nullptr;
}

void MissionRecord::AddReference(uint16_t holderID, uint16_t recordID, uint16_t unitID)
{
    const PlaneRec* const record = FindAircraftRecord(holderID, recordID);
    if (!record)
        return;
    auto* const reference = new PlaneRecRef(planeRefs.NewKey());
    reference->holderID = holderID;
    reference->recordID = recordID;
    reference->count = record->count;
    reference->recordFlags = record->flags;
    reference->loadoutID = record->loadoutID;
    planeRefs.Insert(reference);
    if (unitID == 0)
        return;

    // Planes returning from the mission's unit.
    ClearReferenceOrder(reference);
    reference->refState = PlaneRecRef::COMMITTED;
    if (missionFlags & MissionFlag::FINISHED)
        return;
    MissionUnitRec* const unitRecord = units.Find(unitID);
    if (!unitRecord) {
        std::ostringstream text;
        text << "*******\n";
        if (name)
            text << "Mission:     " << name << '\n';
        if (savedName && *savedName)
            text << "Description: " << savedName << '\n';
        char line[256] = {};
        CopyResourceText(DROPPED_REFERENCE_TEXT, line, static_cast<int32_t>(sizeof line));
        text << line << '\n';
        text << "Deleting PlaneRecRef, and compressing plane reference list\n";
        text << "*******\n";
        AfterActionLog::AddToAALogIfEnabled(text.str().c_str(), true);
        if (PlaneRecRef* const first = FindReference(holderID, recordID)) {
            DeleteReference(planeRefs, first);
            CompressReferences(planeRefs);
        }
        return;
    }
    if (unitRecord->state == MissionUnitState::WAITING)
        LaunchFromReference(reference, 1, 1);
}

void MissionRecord::MergeReferences(uint16_t holderID, uint16_t recordA, uint16_t recordB)
{
    PlaneRecRef* const a = FindReference(holderID, recordA);
    PlaneRecRef* const b = FindReference(holderID, recordB);
    if (!a || !b || a == b)
        return;
    // What a full count cannot take stays with B.
    b->count = AddCount(a->count, b->count);
    if (b->count == 0)
        DeleteReference(planeRefs, b);
}

void MissionRecord::SplitReference(uint16_t holderID, uint16_t recordA, uint16_t recordB, uint8_t n)
{
    PlaneRecRef* const a = FindReference(holderID, recordA);
    if (!a)
        return;
    auto* const b = new PlaneRecRef(planeRefs.NewKey());
    b->holderID = holderID;
    b->recordID = recordB;
    b->count = n;
    b->recordFlags = a->recordFlags;
    b->loadoutID = a->loadoutID;
    planeRefs.Insert(b);
    if (!SubtractCount(a->count, n))
        DeleteReference(planeRefs, a);
}

void MissionRecord::ReduceReference(uint16_t holderID, uint16_t recordID, uint8_t n)
{
    PlaneRecRef* const reference = FindReference(holderID, recordID);
    if (!reference)
        return;
    // The last aircraft to take off leave the reference at 0: the units they
    // become still take its stored order (ApplyStoredOrder drops it then).
    // More than it names stops at 0 and drops it at once.
    if (n > reference->count) {
        DeleteReference(planeRefs, reference);
        return;
    }
    reference->count = static_cast<uint8_t>(reference->count - n);
}

void MissionRecord::SetReferenceLoadout(uint16_t holderID, uint16_t recordID, uint16_t loadout)
{
    if (PlaneRecRef* const reference = FindReference(holderID, recordID))
        reference->loadoutID = loadout;
}

void MissionRecord::SetReferenceFlags(uint16_t holderID, uint16_t recordID, uint32_t flags)
{
    PlaneRecRef* const reference = FindReference(holderID, recordID);
    if (!reference)
        return;
    if (FullyReady(flags) && reference->refState == PlaneRecRef::HELD)
        missionFlags &= ~MissionFlag::AIRCRAFT_WAIT;
    reference->recordFlags = flags;
}

bool MissionRecord::RemoveReference(uint16_t holderID, uint16_t recordID)
{
    PlaneRecRef* const reference = FindReference(holderID, recordID);
    if (!reference)
        return false;
    DeleteReference(planeRefs, reference);
    return true;
}

PlaneRecRef* MissionRecord::DetachReference(uint16_t holderID, uint16_t recordID)
{
    PlaneRecRef* const reference = FindReference(holderID, recordID);
    const PlaneRec* const record = FindAircraftRecord(holderID, recordID);
    if (!reference || !record)
        return nullptr;
    planeRefs.Remove(reference);
    reference->refState = PlaneRecRef::HELD;
    if (record->spareTime == 0)
        unit2gam::RemoveMissionEvents(holderID, recordID);
    return reference;
}

void MissionRecord::AttachReference(PlaneRecRef* reference)
{
    if (!reference)
        return;
    if (!FindAircraftRecord(reference->holderID, reference->recordID)) {
        delete reference;
        return;
    }
    reference->SetKey(planeRefs.NewKey());
    planeRefs.Insert(reference);
}

void MissionRecord::RefreshReference(uint16_t holderID, uint16_t recordID)
{
    const PlaneRec* const record = FindAircraftRecord(holderID, recordID);
    PlaneRecRef* const reference = FindReference(holderID, recordID);
    if (!record || !reference)
        return;
    if (record->count == 0) {
        DeleteReference(planeRefs, reference);
        return;
    }
    reference->count = record->count;
    reference->recordFlags = record->flags;
    reference->loadoutID = record->loadoutID;
}

void MissionRecord::CompressReferences(PlaneRecRefList& list)
{
    for (PlaneRecRef* a = list.First(); a; a = a->GetNext()) {
        if (a->released)
            continue;
        PlaneRecRef* b = a->GetNext();
        while (b) {
            PlaneRecRef* const next = b->GetNext();
            if (b->holderID == a->holderID && b->recordID == a->recordID && !b->released &&
                b->loadoutID == a->loadoutID) {
                // A full count leaves the rest in B, which then stays.
                b->count = AddCount(a->count, b->count);
                if (b->count == 0)
                    DeleteReference(list, b);
            }
            b = next;
        }
    }
}

bool MissionRecord::LaunchFromReference(PlaneRecRef* reference, uint8_t n, uint32_t launchValue)
{
    if (!reference)
        return false;
    const uint16_t value = static_cast<uint16_t>(launchValue);
    if (reference->count <= n) {
        reference->refState = PlaneRecRef::COMMITTED;
        PostOrDrop(MakeLaunchAircraftEvent(reference->holderID, reference->recordID, value));
        return true;
    }
    const uint16_t taken = TakeReferencePlanes(*reference, n);
    if (taken == 0)
        return false;
    auto* const copy = new PlaneRecRef(*reference);
    copy->count = n;
    copy->recordID = taken;
    copy->SetKey(planeRefs.NewKey());
    copy->refState = PlaneRecRef::COMMITTED;
    reference->count = static_cast<uint8_t>(reference->count - n);
    reference->refState = PlaneRecRef::COMMITTED;
    planeRefs.Insert(copy);
    PostOrDrop(MakeLaunchAircraftEvent(copy->holderID, copy->recordID, value));
    return true;
}

PlaneRec* MissionRecord::CommitReference(PlaneRecRef* reference)
{
    if (!reference)
        return nullptr;
    // The holder answers the record that now holds the aircraft: a new one
    // when the reference names only part of its record.
    const uint16_t taken = TakeReferencePlanes(*reference, reference->count);
    if (taken == 0)
        return nullptr;
    reference->recordID = taken;
    PlaneRec* const record = FindAircraftRecord(reference->holderID, taken);
    if (record)
        record->SetMissionID(GetID(), false);
    return record;
}

void MissionRecord::ReadyAircraftFor(PlaneRec* record, uint16_t target)
{
    if (!record)
        return;
    const int32_t supplied = gam2anim::FindEngagingMount(record->loadoutID, record->planeAnnexID, target);
    uint16_t loadout = record->loadoutID;
    if (static_cast<uint16_t>(supplied) < record->count)
        loadout = gam2anim::CanUnitEngage(targetClasses, record->planeAnnexID, target);
    record->SetReadyState(loadout, true, PlaneRec::READY_VALUE);
}

void MissionRecord::ApplyStoredOrder(uint16_t holderID, uint16_t recordID, uint16_t unitID)
{
    PlaneRecRef* const reference = FindReference(holderID, recordID);
    MissionUnitRec* const record = units.Find(unitID);
    if (!reference || !record)
        return;
    record->ChangeState(static_cast<int16_t>(reference->orderState), reference->orderTarget, reference->orderValue);
    if (reference->count == 0)
        DeleteReference(planeRefs, reference);
}

uint32_t MissionRecord::CountAircraft() const
{
    uint32_t total = 0;
    if (editPlaneRefs.First()) {
        for (const PlaneRecRef* r = editPlaneRefs.First(); r; r = r->GetNext())
            if (!r->released)
                total += r->count;
        return total;
    }
    for (const PlaneRecRef* r = planeRefs.First(); r; r = r->GetNext())
        total += r->count;
    return total;
}

uint16_t MissionRecord::DeployUnitSensor(Unit* unit, uint8_t force)
{
    if (!unit)
        return DEPLOYED_NOTHING;
    const uint16_t bits = GetUnitCapabilities(*unit, CAPABILITY_QUERY);
    if (bits & CAN_LAY_BUOYS) {
        Chain<PositionNode> path;
        path.Append(new PositionNode(unit->GetPosition()));
        PositionNode* const flown = CreateSonobuoyLeg(unit->GetKey(), path.First(), 0);
        Game2UI::SetUnitPath(unit->GetKey(), flown);
        if (flown && flown != path.First()) {
            PositionNode* owned = flown;
            DeletePositionNodes(&owned);
        }
        return DEPLOYED_BUOYS;
    }
    if (bits & CAN_DIP) {
        if (force || unit->GetPath())
            unit->SetFlags(SONAR_DEPLOYED);
        else
            unit->ClearFlags(SONAR_DEPLOYED);
        return DEPLOYED_SONAR;
    }
    return DEPLOYED_NOTHING;
}

// ---- the virtual operations in their base form ----

void MissionRecord::OnAircraftCommitted() {}

bool MissionRecord::IsUnitLaunchPending(PlaneRecRef*, uint32_t)
{
    return false;
}

void MissionRecord::SetAircraftWait()
{
    missionFlags |= MissionFlag::AIRCRAFT_WAIT;
}

void MissionRecord::ClearReferenceOrder(PlaneRecRef* reference)
{
    if (reference)
        reference->SetOrder(NO_ORDER_STATE, 0, 0);
}

void MissionRecord::SetAircraftPosture(Unit* unit, uint32_t kind)
{
    if (!unit)
        return;
    const char letter = unit->GetTypeLetter();
    if (letter != 'P' && letter != 'A')
        return;
    uint32_t posture = 4;
    switch (kind & ~uint32_t{0x10}) {
    case 1: posture = 1; break;
    case 2: posture = 2; break;
    case 4: posture = 8; break;
    case 8: posture = 0x10; break;
    default: break;
    }
    SetPlanePosture(*unit, posture);
}

void MissionRecord::ReleaseUnit(Unit* unit)
{
    if (!unit)
        return;
    MissionUnitRec* const record = units.Find(unit->GetKey());
    if (!record || record->state == MissionUnitState::DONE || record->state == MissionUnitState::WAITING)
        return;
    int16_t next = MissionUnitState::DONE;
    if (record->leaderID == 0) {
        const Plane* const plane = unit->GetTypeLetter() == 'P' ? static_cast<const Plane*>(unit) : nullptr;
        const MissionUnitRec* const base = plane ? units.Find(plane->homeBaseID) : nullptr;
        if (!base || base->leaderID == 0)
            next = LaunchReplacement(unit, record) ? MissionUnitState::DONE : MissionUnitState::WAITING;
    }
    record->ChangeState(next, 0, 0);
}

bool MissionRecord::LaunchReplacement(Unit* plane, MissionUnitRec*)
{
    if ((missionFlags & MissionFlag::FINISHED) || !plane || plane->GetTypeLetter() != 'P')
        return false;
    const Plane& p = static_cast<const Plane&>(*plane);
    const uint16_t home = p.homeBaseID;
    const uint16_t type = p.GetAnnexID();
    const uint16_t loadout = p.loadoutID;
    // Home-base records that fit, fully ready first, then any.
    for (const bool needReady : {true, false}) {
        for (PlaneRecRef* r = planeRefs.First(); r; r = r->GetNext()) {
            if (r->holderID != home || r->refState != PlaneRecRef::COMMITTED)
                continue;
            if (needReady && !FullyReady(r->recordFlags))
                continue;
            if (Fits(FindAircraftRecord(home, r->recordID), type, loadout))
                return LaunchFromReference(r, 1, 1);
        }
    }
    // Then a ready reference of any holder whose record is of the same role
    // class, the record looked up in the reference's own holder.
    const uint16_t role = gam2anim::GetRoleClass(type, loadout);
    for (PlaneRecRef* r = planeRefs.First(); r; r = r->GetNext()) {
        if (r->refState != PlaneRecRef::COMMITTED || !FullyReady(r->recordFlags))
            continue;
        const PlaneRec* const record = FindAircraftRecord(r->holderID, r->recordID);
        if (record && record->onStation == 0 && gam2anim::GetRoleClass(record->planeAnnexID, record->loadoutID) == role)
            return LaunchFromReference(r, 1, 1);
    }
    return false;
}

bool MissionRecord::LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                                  uint8_t force)
{
    if (!unit)
        return false;
    MissionUnitRec* const record = units.Find(unit->GetKey());
    Unit* const holder = gam2arena::FindUnit(holderID);
    PlaneRecList* const list = holder ? holder->GetPlaneRecList() : nullptr;
    if (!record || record->state == MissionUnitState::DONE || !holder)
        return false;
    record->ChangeState(MissionUnitState::WAITING, 0, 0);
    const uint32_t wanted = GetDefaultState(0);

    // The records to join: ready ones of type and loadout first, then any.
    IDList taken;
    uint32_t count = 0;
    for (const bool needReady : {true, false}) {
        for (PlaneRecRef* r = planeRefs.First(); r && count < wanted; r = r->GetNext()) {
            if (r->holderID != holderID || r->refState != PlaneRecRef::COMMITTED || taken.Find(r->recordID))
                continue;
            if (needReady && !FullyReady(r->recordFlags))
                continue;
            if (!Fits(list ? list->Find(r->recordID) : nullptr, aircraftType, loadout))
                continue;
            taken.Insert(new IDNode(r->recordID));
            count += r->count;
        }
    }
    if (!force && count < wanted)
        return false;
    record->ChangeState(MissionUnitState::DONE, 0, 0);
    const uint16_t joined = list ? list->MergeRecords(taken) : 0;
    PlaneRecRef* const reference = FindReference(holderID, joined);
    if (reference)
        LaunchFromReference(reference, reference->count, wanted);
    return true;
}
