// StrikeReports.cpp: the strike's unit reports, release, target assignment,
// attack review, aircraft orders and target pruning.
#include "missions/StrikeMission.h"

#include <algorithm>

#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/PlaneBridge.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

constexpr uint32_t CLASS_IGNORED = 0x10;

// Attack classes of the aircraft posture, by target class.
uint32_t PostureFor(uint32_t targetClass, uint32_t otherwise)
{
    switch (targetClass) {
    case 0x1:
        return 1;
    case 0x2:
        return 2;
    case 0x4:
        return 8;
    default:
        return otherwise;
    }
}

bool IsAircraft(const Unit& unit)
{
    const char letter = unit.GetTypeLetter();
    return letter == 'P' || letter == 'A';
}

void WakeNow(uint16_t unitID) { PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0))); }

} // namespace

bool StrikeMission::TargetStands(Contact* contact) const
{
    if (contact == nullptr)
        return false;
    const bool friendly =
        contact->sideId != 0 && side != nullptr && gam2side::AreFriendly(side->GetID(), contact->sideId);
    if (!friendly && (contact->conditionBits & StrikeContact::FINISHED) == 0)
        return true;
    contact->stickyFlags &= static_cast<uint8_t>(~StrikeContact::UNDER_ATTACK);
    return false;
}

Contact* StrikeMission::FindLockedContact(const Unit& unit) const
{
    if (lockedTarget == 0)
        return nullptr;
    SideContacts* const contacts = gam2arena::FindSide(unit.sideEntryID);
    return contacts != nullptr ? contacts->GetContact(lockedTarget) : nullptr;
}

void StrikeMission::ReleaseUnit(Unit* unit)
{
    if (unit == nullptr)
        return;
    MissionUnitRec* const record = units.Find(unit->GetKey());
    if (record == nullptr || record->state == StrikeState::RELEASED)
        return;
    int16_t next = StrikeState::RELEASED;
    if (record->leaderID == 0 && TargetStands(FindLockedContact(*unit)))
        next = LaunchReplacement(unit, record) ? StrikeState::RELEASED : StrikeState::RELIEF_PENDING;
    record->ChangeState(next, 0, 0);
}

bool StrikeMission::LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                                  uint8_t force)
{
    if (unit == nullptr)
        return false;
    MissionUnitRec* const record = units.Find(unit->GetKey());
    if (record == nullptr || record->state == StrikeState::RELEASED || gam2arena::FindUnit(holderID) == nullptr)
        return false;
    if (lockedTarget == 0) {
        record->ChangeState(StrikeState::RELEASED, 0, 0);
        return true;
    }
    // The base gathers GetDefaultState(0) aircraft, each reference once.
    return MissionRecord::LaunchForUnit(unit, aircraftType, loadout, holderID, force);
}

void StrikeMission::SetAircraftPosture(Unit* unit, uint32_t kind)
{
    if (unit == nullptr || !IsAircraft(*unit))
        return;
    const uint32_t wanted = kind & ~CLASS_IGNORED;
    uint32_t posture = 0;
    if ((wanted & targetClasses) == 0 && unit->SumWeaponRatings(targetClasses) == 0)
        posture = wanted == 0x8 ? 0x10 : PostureFor(wanted, 0);
    else
        posture = PostureFor(targetClasses, 4);
    SetPlanePosture(*unit, posture);
}

void StrikeMission::HandleMissionEvent(uint16_t code)
{
    switch (code) {
    case StrikeEventCode::RESUME:
        missionFlags &= ~StrikeFlag::HOLD;
        PostUnitEvents();
        break;
    case StrikeEventCode::REPLAN:
        missionFlags |= StrikeFlag::REPLAN;
        break;
    case StrikeEventCode::HOLD: {
        missionFlags |= StrikeFlag::HOLD;
        const uint16_t limit = static_cast<uint16_t>(std::min<uint32_t>(delayTime, UINT16_MAX));
        const uint32_t delay = limit != 0 ? gam2arena::Random(limit) : 0;
        PostOrDrop(MakeMissionEvent(side != nullptr ? side->GetID() : 0, GetID(), StrikeEventCode::RESUME, delay));
        break;
    }
    default:
        break;
    }
}

void StrikeMission::OnUnitRemoved(MissionUnitRec*) { PruneTargets(nullptr); }

void StrikeMission::PruneTargets(SideContacts* contacts)
{
    if (contacts == nullptr || editUnits.First() != nullptr || editPlaneRefs.First() != nullptr)
        return;
    IDNode* next = nullptr;
    for (IDNode* node = targetList.First(); node != nullptr; node = next) {
        next = node->GetNext();
        Contact* const contact = contacts->GetContact(node->GetKey());
        const bool gone = contact != nullptr ? !TargetStands(contact) : gam2arena::FindUnit(node->GetKey()) == nullptr;
        if (gone) {
            targetList.Remove(node);
            delete node;
        }
    }
    if (targetList.First() == nullptr)
        missionFlags |= StrikeFlag::TARGETS_USED_UP;
    else
        SaveName();
}

void StrikeMission::OnUnitAdded(MissionUnitRec* record)
{
    if (record == nullptr || (missionFlags & StrikeFlag::ATTACKING) == 0)
        return;
    const Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
    const Contact* const contact = unit != nullptr ? FindLockedContact(*unit) : nullptr;
    if (contact != nullptr)
        record->ChangeState(StrikeState::APPROACH, lockedTarget, contact->GetTypeFlags());
}

void StrikeMission::OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done)
{
    const uint16_t contactID = contact != nullptr ? contact->GetKey() : 0;
    if (lockedTarget != 0 && contactID != lockedTarget)
        return;
    MissionUnitRec* record = units.Find(unitID);
    if (record == nullptr)
        return;
    if (record->leaderID != 0) {
        unitID = record->leaderID;
        record = units.Find(unitID);
        if (record == nullptr)
            return;
    }
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return;
    if (clearMark != 0)
        record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    const bool aircraftOnly = done != 0 && IsAircraft(*unit);
    const uint32_t contactClass = contact != nullptr ? contact->GetTypeFlags() : 0;
    switch (record->state) {
    case StrikeState::APPROACH:
    case StrikeState::UNDER_WAY:
        if (!aircraftOnly)
            record->state = StrikeState::HOLDING_NEARBY;
        SetAircraftPosture(unit, contactClass);
        SetUnitPosture(unitID, record);
        break;
    case MissionUnitState::ADDED:
    case MissionUnitState::IDLE:
        record->ChangeState(StrikeState::ASSIGNED, contactID, contactClass);
        SetAircraftPosture(unit, contactClass);
        SetUnitPosture(unitID, record);
        break;
    default:
        if (record->isFormation == 0)
            SetUnitPosture(unitID, record);
        break;
    }
}

void StrikeMission::CheckIdleState(MissionUnitRec* record)
{
    if (record == nullptr ||
        (record->state != StrikeState::ASSIGNED && record->state != StrikeState::HOLDING_NEARBY))
        return;
    Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
    if (unit == nullptr)
        return;
    const bool armed = unit->SumWeaponRatings(targetClasses) != 0;
    if (armed && unit->HasContacts())
        return;
    if (!armed || lockedTarget == 0) {
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
    } else {
        record->state = StrikeState::APPROACH;
        record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    }
    unit->ClearPath();
    WakeNow(record->GetUnitID());
}

void StrikeMission::ClearReferenceOrder(PlaneRecRef* reference)
{
    if (reference == nullptr)
        return;
    if ((missionFlags & StrikeFlag::ATTACKING) == 0) {
        reference->SetOrder(StrikeOrder::NONE, 0, 0);
        return;
    }
    const Unit* const holder = gam2arena::FindUnit(reference->holderID);
    const Contact* const contact = holder != nullptr ? FindLockedContact(*holder) : nullptr;
    if (contact != nullptr)
        reference->SetOrder(StrikeOrder::APPROACH, lockedTarget, contact->GetTypeFlags());
}
