// StrikeAttack.cpp: the strike's attack cycle: on every task update it
// picks the head of its attack tasks, commits the free units and the ready
// aircraft to it, locks the target and asks to be woken again; once the
// target is finished, friendly or gone it stands everything down. The
// geometry is StrikePlanning.cpp, how contacts become tasks
// StrikeContacts.cpp.
#include "missions/StrikeMission.h"

#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

// Contact class bits of a moving target; any other class is fixed.
constexpr uint32_t MOVING_CLASSES = 0x180F;
constexpr uint32_t CLASS_AIR = 0x4;
// Contact conditionBits: finished as a target.
constexpr uint32_t CONTACT_FINISHED = 0x8;
// Contact stickyFlags: under attack by a strike.
constexpr uint8_t UNDER_STRIKE = 0x04;
// Aircraft reference flags: ready to fly, and taken for a station.
constexpr uint32_t READY_FLAGS = PlaneRec::READY_FLAGS;
constexpr uint32_t ON_STATION = PlaneRec::ON_STATION;

bool IsFree(const MissionUnitRec& record)
{
    return record.state == MissionUnitState::ADDED || record.state == MissionUnitState::IDLE;
}

bool IsOwnUnit(const SideContacts& scanned, uint16_t unitID)
{
    return scanned.ownUnits.Find(unitID) != nullptr;
}

void PostMissionUnitEvent(uint16_t unitID)
{
    PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0)));
}

// A contact of a side friendly to the owning side; an unknown side (0) is
// never friendly, and nothing is asked.
bool IsFriendlyTo(const Side* owner, const Contact& contact)
{
    return contact.sideId != 0 && owner != nullptr && gam2side::AreFriendly(owner->GetID(), contact.sideId);
}

}  // namespace

void StrikeMission::OnSideScanned(SideContacts* scanned)
{
    if ((missionFlags & StrikeFlag::ATTACKING) == 0) {
        // Tasks that nothing can attack are dropped one after another.
        while (MissionTask* const head = keptTasks.First()) {
            if (PlanAttack(scanned))
                return;
            if (keptTasks.First() == head) {
                keptTasks.Remove(head);
                delete head;
            }
        }
        return;
    }
    CheckAttackOver(scanned);
    if ((missionFlags & StrikeFlag::REPLAN) != 0) {
        PlanAttack(scanned);
        missionFlags &= ~StrikeFlag::REPLAN;
    }
}

bool StrikeMission::PlanAttack(SideContacts* scanned)
{
    bool committed = false;
    if (MissionTask* const task = keptTasks.First(); task != nullptr) {
        const uint16_t targetID = task->targetID;
        if (targetList.First() == nullptr) {
            if (lockedTarget != 0 && targetID != lockedTarget)
                return false;
        } else if (targetList.Find(targetID) == nullptr) {
            return false;
        }
        Contact* const contact = scanned != nullptr ? scanned->GetContact(targetID) : nullptr;
        if (contact == nullptr || (contact->GetTypeFlags() & targetClasses) == 0)
            return false;

        for (MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
            if (r->leaderID == 0 && IsOwnUnit(*scanned, r->GetUnitID()) && IsFree(*r) && OrderUnitAttack(contact, r))
                committed = true;
        }
        for (PlaneRecRef* ref = planeRefs.First(); ref != nullptr; ref = ref->GetNext()) {
            if (IsOwnUnit(*scanned, ref->holderID) && (ref->recordFlags & READY_FLAGS) == READY_FLAGS &&
                (ref->recordFlags & ON_STATION) == 0 && OrderAircraftAttack(contact, ref))
                committed = true;
        }
        if (committed) {
            contact->stickyFlags |= UNDER_STRIKE;
            lockedTarget = targetID;
            SaveName();
            missionFlags |= StrikeFlag::ATTACKING;
        }
    }
    // While a target is locked the strike wakes itself to plan again: an
    // air target soon, anything else later.
    if (lockedTarget != 0) {
        const Contact* const locked = scanned != nullptr ? scanned->GetContact(lockedTarget) : nullptr;
        const uint32_t delay =
            locked != nullptr && (locked->GetTypeFlags() & CLASS_AIR) != 0 ? AIR_REPLAN_SECONDS : REPLAN_SECONDS;
        PostOrDrop(MakeMissionEvent(side != nullptr ? side->GetID() : 0, GetID(), StrikeEventCode::REPLAN, delay));
    }
    return committed;
}

bool StrikeMission::CheckAttackOver(SideContacts* scanned)
{
    Contact* const contact = scanned != nullptr && lockedTarget != 0 ? scanned->GetContact(lockedTarget) : nullptr;
    if (contact != nullptr && !IsFriendlyTo(side, *contact) && (contact->conditionBits & CONTACT_FINISHED) == 0)
        return false;
    if (contact != nullptr)
        contact->stickyFlags &= static_cast<uint8_t>(~UNDER_STRIKE);

    lockedTarget = 0;
    SaveName();
    PruneTargets(scanned);
    missionFlags &= ~StrikeFlag::ATTACKING;
    for (MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        const uint16_t unitID = r->GetUnitID();
        if (r->state == StrikeState::RELEASED || r->state == StrikeState::RELIEF_PENDING || r->leaderID != 0 ||
            scanned == nullptr || !IsOwnUnit(*scanned, unitID))
            continue;
        r->ChangeState(MissionUnitState::IDLE, 0, 0);
        if (Unit* const unit = gam2arena::FindUnit(unitID))
            unit->ClearPath();
        PostMissionUnitEvent(unitID);
    }
    for (PlaneRecRef* ref = planeRefs.First(); ref != nullptr; ref = ref->GetNext()) {
        ref->SetOrder(StrikeOrder::IDLE, 0, 0);
        unit2gam::RemoveMissionEvents(ref->holderID, ref->recordID);
    }
    return true;
}

bool StrikeMission::OrderUnitAttack(Contact* contact, MissionUnitRec* record)
{
    if (contact == nullptr || record == nullptr)
        return false;
    const uint16_t unitID = record->GetUnitID();
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return false;
    const int16_t altitude = AltitudeCodeFor(unit->GetTypeLetter());
    const uint32_t classBits = contact->GetTypeFlags();
    uint32_t setting = 0;
    uint32_t time = 0;
    LatLonPoint aim;
    contact->GetPosition(aim);
    const bool planned = (classBits & MOVING_CLASSES) != 0
                             ? PlanMovingTarget(contact, unit, setting, altitude, time, aim, classBits)
                             : PlanFixedTarget(contact, unit, setting, altitude, time, aim, classBits);
    if (!planned) {
        record->ChangeState(StrikeState::CANNOT_ATTACK, contact->GetKey(), classBits);
        return false;
    }
    record->ChangeState(StrikeState::ATTACK_LOCKED, contact->GetKey(), classBits);
    unit->ClearPath();
    AttackLockedTarget(unitID, unit, record, aim, setting, altitude, 0);
    return true;
}

bool StrikeMission::OrderAircraftAttack(Contact* contact, PlaneRecRef* reference)
{
    if (contact == nullptr || reference == nullptr)
        return false;
    PlaneRec* const record = FindAircraftRecord(reference->holderID, reference->recordID);
    if (record == nullptr)
        return false;
    const uint32_t classBits = contact->GetTypeFlags();
    bool planned = false;
    if (Unit* const holder = gam2arena::FindUnit(record->unitID)) {
        const int16_t altitude = GetPlaneAltitude(record, reference, classBits);
        uint32_t setting = 0;
        uint32_t time = 0;
        LatLonPoint aim;
        contact->GetPosition(aim);
        planned = (classBits & MOVING_CLASSES) != 0
                      ? PlanMovingTargetForAircraft(contact, record, holder, setting, altitude, time, aim, classBits)
                      : PlanFixedTargetForAircraft(contact, record, holder, setting, altitude, time, aim, classBits);
    }
    if (!planned) {
        reference->SetOrder(StrikeOrder::CANNOT_ATTACK, contact->GetKey(), classBits);
        return false;
    }
    reference->SetOrder(StrikeOrder::ATTACK, contact->GetKey(), classBits);
    LaunchFromReference(reference, reference->count, GetDefaultState(0));
    return true;
}

void StrikeMission::PrepareUnitsForTarget(Contact* contact)
{
    if (contact == nullptr || lockedTarget == 0 || contact->GetKey() != lockedTarget ||
        (missionFlags & StrikeFlag::ATTACKING) == 0)
        return;
    for (MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        if (r->leaderID != 0)
            continue;
        const uint16_t unitID = r->GetUnitID();
        switch (r->state) {
        case StrikeState::RELEASED:
        case StrikeState::RELIEF_PENDING:
        case StrikeState::CANNOT_ATTACK:
        case StrikeState::UNDER_WAY:
            break;
        case StrikeState::HOLDING_NEARBY: {
            // A unit still busy with contacts of its own is left alone.
            Unit* const unit = gam2arena::FindUnit(unitID);
            if (unit != nullptr && ((contact->conditionBits & CONTACT_FINISHED) != 0 || !unit->HasContacts())) {
                unit->ClearPath();
                PostMissionUnitEvent(unitID);
            }
            break;
        }
        default:
            r->ChangeState(StrikeState::APPROACH, lockedTarget, contact->GetTypeFlags());
            PostMissionUnitEvent(unitID);
            break;
        }
    }
}
