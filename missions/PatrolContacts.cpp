// PatrolContacts.cpp: how a patrol turns a side's contacts into tasks: the
// classification, check delays and priorities, the choice of the unit sent
// to attack or investigate, and the next-state rules of sent units.
#include "missions/PatrolMission.h"

#include <climits>

#include "core/Geometry.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/Side.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/Unit.h"

namespace {

// Contact class bits.
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t CLASS_TORPEDO = 0x800;
constexpr uint32_t CLASS_REACHABLE = 0x180F;   // classes a patrol takes up at all

// Status bit of a lost contact; mission marks.
constexpr uint32_t STATUS_LOST = 0x8;
constexpr uint8_t MARK_SENT = 0x1;
constexpr uint8_t MARK_SECOND = 0x2;

// Relations of the mission's side toward the contact's side.
constexpr uint8_t RELATION_HOSTILE = 1;
constexpr uint8_t RELATION_FRIENDLY = 2;

// Classification answers.
constexpr uint16_t IGNORE = 0;
constexpr uint16_t ENGAGE = 1;
constexpr uint16_t INVESTIGATE = 2;
constexpr uint16_t WATCH = 5;

// Option flags of a task's options.
constexpr uint32_t OPTION_USABLE = 0x100;
constexpr uint32_t OPTION_SENSORS_ON = 0x400;

bool IsLetterOf(const Unit* unit, char a, char b)
{
    return unit != nullptr && (unit->GetTypeLetter() == a || unit->GetTypeLetter() == b);
}

bool IsLost(const Contact* contact) { return contact == nullptr || (contact->conditionBits & STATUS_LOST) != 0; }

bool IsNew(const Contact& contact) { return contact.changeBits != 0; }

// Not identified as a side's and without the first status mark.
bool IsUnknown(const Contact& contact) { return contact.sideId == 0 && contact.hostileAct == 0; }

void ClearSentMark(Contact* contact)
{
    if (contact != nullptr)
        contact->stickyFlags &= static_cast<uint8_t>(~MARK_SENT);
}

// The check delay (seconds) of a decision for a contact of class c.
uint32_t CheckDelay(uint16_t decision, uint32_t c, bool friendly)
{
    const bool missile = (c & CLASS_MISSILE) != 0;
    const bool air = (c & CLASS_AIR) != 0;
    const bool torpedo = (c & CLASS_TORPEDO) != 0;
    if (decision == ENGAGE || decision == WATCH)
        return missile ? 1 : air ? 15 : 45;
    if (decision == INVESTIGATE)
        return missile ? 1 : air ? 30 : 60;
    if (friendly)
        return 3600;
    return missile || air ? 60 : torpedo ? 120 : 600;
}

} // namespace

// ---- contact tests ----

uint16_t PatrolMission::QueryUnit(uint16_t unitID, uint16_t contactID)
{
    const MissionUnitRec* const record = units.Find(unitID);
    if (record == nullptr || record->targetID != contactID)
        return 0;
    switch (record->state) {
    case PatrolState::ATTACKING:
    case PatrolState::INVESTIGATING:
    case PatrolState::NEAR_INVESTIGATED:
    case PatrolState::NEAR_ATTACKED:
    case PatrolState::HOLDING:
        return 1;
    default:
        return 0;
    }
}

bool PatrolMission::IsNotFriendlyClass(Contact* contact)
{
    if (creationKind == KIND_AAW)
        return true;
    if (contact == nullptr)
        return false;
    const uint32_t c = contact->GetTypeFlags() & ~CLASS_IGNORED;
    if (creationKind == KIND_ASW && c == CLASS_AIR)
        return false;
    return (c & ~CLASS_MISSILE) != 0;
}

bool PatrolMission::IsContactInReach(Contact* contact, SideContacts*)
{
    if (contact == nullptr || (contact->conditionBits & STATUS_LOST) != 0)
        return false;
    const uint32_t c = contact->GetTypeFlags();
    if ((c & CLASS_REACHABLE) == 0)
        return false;
    LatLonPoint position;
    contact->GetPosition(position);
    if (Geometry::Point_In_LatLonRect(PatrolArea, position))
        return true;
    const bool tracked = (c & (CLASS_AIR | CLASS_MISSILE | CLASS_TORPEDO)) != 0 &&
                         (contact->knownBits & ContactKnown::COURSE) != 0;
    for (const MissionUnitRec* record = units.First(); record != nullptr; record = record->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
        if (unit == nullptr)
            continue;
        const NavVector v = NavMath::Get_Vector(unit->GetPosition(), position);
        const bool near = static_cast<uint32_t>(v.range) <= GetUnitReach(const_cast<Unit*>(unit), c);
        if (near || (tracked && IsBearingWithin5(v.bearing, static_cast<int32_t>(contact->course) * ANGLE_PER_DEGREE))) {
            NotifyTrackedUnits(contact, c, unit, record->GetUnitID());
            return true;
        }
    }
    return false;
}

uint16_t PatrolMission::ClassifyContact(Contact* contact, SideContacts* side)
{
    if (contact == nullptr)
        return IGNORE;
    const uint32_t c = contact->GetTypeFlags();
    if (c == 0)
        return IGNORE;
    if (creationKind == KIND_AAW && (c & (CLASS_AIR | CLASS_MISSILE)) == 0)
        return IGNORE;
    if (!IsContactInReach(contact, side))
        return IGNORE;
    const bool secondMark = contact->bandFlag != 0;
    if (contact->sideId != 0) {
        if (this->side == nullptr || this->side->GetRelation(contact->sideId) != RELATION_HOSTILE)
            return IGNORE;
        if ((c & CLASS_MISSILE) != 0) {
            if (IsStrikeWorthy(*contact, creationKind) && !secondMark)
                return ENGAGE;
            return IsLaunched(contact) ? WATCH : IGNORE;
        }
        if ((c & CLASS_TORPEDO) == 0)
            return IsFirmContact(contact) ? ENGAGE : INVESTIGATE;
        return IsLaunched(contact) ? WATCH : IGNORE;
    }
    if ((c & CLASS_MISSILE) != 0 && !secondMark) {
        if (IsStrikeWorthy(*contact, creationKind))
            return ENGAGE;
        return IsLaunched(contact) ? WATCH : IGNORE;
    }
    if ((c & CLASS_TORPEDO) != 0)
        return IsLaunched(contact) ? WATCH : IGNORE;
    if ((c & CLASS_SUBSURFACE) != 0 && !secondMark && IsFirmContact(contact))
        return ENGAGE;
    if (contact->hostileAct != 0 && !secondMark && IsFirmContact(contact))
        return ENGAGE;
    if (creationKind == KIND_ASW && (c & CLASS_AIR) != 0)
        return IGNORE;
    return INVESTIGATE;
}

MissionTask* PatrolMission::MakeTask(Contact* contact)
{
    if (contact == nullptr)
        return nullptr;
    const uint32_t c = contact->GetTypeFlags() & ~CLASS_IGNORED;
    auto* const task = new MissionTask(contact->GetKey());
    if ((c & CLASS_MISSILE) != 0)
        task->priority = 100;
    else if ((c & CLASS_TORPEDO) != 0)
        task->priority = 95;
    else if ((c & targetClasses) != 0)
        task->priority = 90;
    else if ((c & CLASS_AIR) != 0)
        task->priority = IsTrackClass6000(contact) ? 20 : 80;
    else
        task->priority = 10;
    FillTaskEstimate(task, contact, c);
    return task;
}

void PatrolMission::ScheduleContactCheck(Contact* contact, uint16_t decision)
{
    if (contact == nullptr)
        return;
    const bool friendly = contact->sideId != 0 && side != nullptr &&
                          side->GetRelation(contact->sideId) == RELATION_FRIENDLY;
    contact->SetFirstDetection(CheckDelay(decision, contact->GetTypeFlags() & ~CLASS_IGNORED, friendly));
}

void PatrolMission::ConsiderContact(Contact* contact, SideContacts* side)
{
    if (contact == nullptr)
        return;
    if ((contact->stickyFlags & MARK_SENT) != 0 && IsNew(*contact))
        RecheckTaskedUnits(contact);
    const uint16_t decision = ClassifyContact(contact, side);
    switch (decision) {
    case ENGAGE:
        ScheduleContactCheck(contact, ENGAGE);
        InsertTaskByPriority(MakeTask(contact));
        break;
    case INVESTIGATE:
        ScheduleContactCheck(contact, INVESTIGATE);
        if ((contact->stickyFlags & (MARK_SENT | MARK_SECOND)) == 0) {
            MissionTask* const task = MakeTask(contact);
            if (!InsertTaskInOrder(keptTasks, task))
                delete task;
        }
        break;
    case WATCH: {
        ScheduleContactCheck(contact, WATCH);
        MissionTask* const task = MakeTask(contact);
        if (!InsertTaskInOrder(watchTasks, task))
            delete task;
        break;
    }
    default:
        ScheduleContactCheck(contact, IGNORE);
        break;
    }
}

void PatrolMission::KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact)
{
    if (task == nullptr)
        return;
    if (contact == nullptr) {
        delete task;
        return;
    }
    bool usable = false;
    for (const TimedRecord* option = task->options.First(); option != nullptr; option = option->GetNext()) {
        if ((option->resultBits & OPTION_USABLE) != 0) {
            if ((targetClass & ~CLASS_MISSILE) != 0)
                usable = true;
        } else if ((option->resultBits & OPTION_SENSORS_ON) != 0) {
            PostUnitSensorsOn(option->idA);
        }
    }
    if (task->changed != 0 || contact->bandFlag != 0 || !usable || (contact->stickyFlags & MARK_SENT) != 0 ||
        !InsertTaskInOrder(keptTasks, task))
        delete task;
}

// ---- assignment ----

void PatrolMission::OnSideScanned(SideContacts* scanned)
{
    if (scanned == nullptr || keptTasks.First() == nullptr)
        return;
    extraIDs.DeleteAll();
    for (const MissionUnitRec* record = units.First(); record != nullptr; record = record->GetNext()) {
        const uint16_t unitID = record->GetUnitID();
        const Unit* const unit = gam2arena::FindUnit(unitID);
        if (unit == nullptr || scanned->ownUnits.Find(unitID) == nullptr)
            continue;
        switch (record->state) {
        case PatrolState::ADDED:
        case PatrolState::PATROLLING:
        case PatrolState::SEARCHING:
        case PatrolState::SONAR_LEG:
        case PatrolState::LISTENING:
        case PatrolState::SUBMARINE_LEG:
            break;
        default:
            continue;
        }
        const char letter = unit->GetTypeLetter();
        if (letter == 'S' && record->leaderID != 0)
            continue;
        if (letter == 'P' && record->leaderID != 0 &&
            IsLetterOf(gam2arena::FindUnit(record->leaderID), 'A', 'A'))
            continue;
        extraIDs.Insert(new IDNode(unitID));
    }
    if (extraIDs.First() == nullptr)
        return;
    for (const MissionTask* task = keptTasks.First(); task != nullptr; task = task->GetNext()) {
        Contact* const contact = scanned->GetContact(task->targetID);
        if (contact == nullptr || (contact->stickyFlags & MARK_SENT) != 0)
            continue;
        if (IsUnknown(*contact)) {
            SendInvestigator(contact);
            continue;
        }
        // The strength against air, surface and submerged targets.
        const uint32_t strength = AverageOfThree(&contact->threat[2]);
        uint32_t sent = 0;
        do {
            const uint32_t weapons = SendAttacker(contact);
            if (weapons == 0)
                break;
            sent += weapons;
        } while (sent < strength);
    }
}

Unit* PatrolMission::SendCandidate(Contact* contact, bool attacker)
{
    if (contact == nullptr)
        return nullptr;
    int32_t bestTime = INT32_MAX;
    uint16_t bestMembers = 1000;
    Unit* choice = nullptr;
    LatLonPoint bestPoint;
    uint32_t bestSetting = 0;
    int16_t bestAltitude = 0;
    const int16_t state = attacker ? PatrolState::ATTACKING : PatrolState::INVESTIGATING;
    plannedTarget = contact;
    for (const IDNode* node = extraIDs.First(); node != nullptr; node = node->GetNext()) {
        MissionUnitRec* const record = units.Find(node->GetKey());
        Unit* const unit = gam2arena::FindUnit(node->GetKey());
        if (record == nullptr || unit == nullptr || record->memberCount > bestMembers)
            continue;
        if (attacker ? !CanUnitEngageB(record, unit, contact) : !CanUnitEngageA(record, unit, contact))
            continue;
        uint32_t setting = 0;
        int16_t altitude = 0;
        uint32_t time = 0;
        LatLonPoint point;
        PlanApproach(contact, unit, static_cast<uint16_t>(state), setting, altitude, time, point);
        if (time == 0 || static_cast<int32_t>(time) >= bestTime)
            continue;
        if (!Nav2Game::LegValidForUnit(unit->GetKey(), unit->GetPosition(), point))
            continue;
        choice = unit;
        bestTime = static_cast<int32_t>(time);
        bestMembers = record->memberCount;
        bestPoint = point;
        bestSetting = setting;
        bestAltitude = altitude;
    }
    plannedTarget = nullptr;
    if (choice == nullptr)
        return nullptr;
    const uint16_t unitID = choice->GetKey();
    if (IDNode* const node = extraIDs.Find(unitID)) {
        extraIDs.Remove(node);
        delete node;
    }
    MissionUnitRec* const record = units.Find(unitID);
    if (record->leaderID != 0) {
        record->thirdWord = record->leaderID;
        gam2grp::DetachFromGroup(record->leaderID, unitID);
    }
    record->ChangeState(state, contact->GetKey(), contact->GetTypeFlags());
    choice->ClearPath();
    SendOnRun(choice, bestPoint, bestSetting, bestAltitude);
    contact->stickyFlags |= MARK_SENT;
    return choice;
}

uint32_t PatrolMission::SendAttacker(Contact* contact)
{
    Unit* const unit = SendCandidate(contact, true);
    if (unit == nullptr)
        return 0;
    const int32_t weapons = unit->SumWeaponRatings(contact->GetTypeFlags());
    return weapons > 0 ? static_cast<uint32_t>(weapons) : 0;
}

void PatrolMission::SendInvestigator(Contact* contact) { SendCandidate(contact, false); }

// ---- next states ----

void PatrolMission::RecheckTaskedUnits(Contact* contact)
{
    if (contact == nullptr)
        return;
    const uint16_t contactID = contact->GetKey();
    for (MissionUnitRec* record = units.First(); record != nullptr; record = record->GetNext()) {
        if (record->targetID != contactID)
            continue;
        int16_t next = record->state;
        switch (record->state) {
        case PatrolState::ATTACKING:
        case PatrolState::NEAR_INVESTIGATED:
            next = NextStateAfterSearch(contact);
            break;
        case PatrolState::INVESTIGATING:
            next = NextStateForContact(contact);
            break;
        case PatrolState::NEAR_ATTACKED:
            next = NextStateAfterAttack(contact);
            break;
        case PatrolState::HOLDING: {
            const Unit* const target = gam2arena::FindUnit(contactID);
            if (target == nullptr)
                break;
            next = IsLost(contact) ? PatrolState::PATROLLING
                   : target->HasContacts() ? PatrolState::HOLDING
                                           : PatrolState::ATTACKING;
            break;
        }
        default:
            break;
        }
        if (next == record->state)
            continue;
        const bool sent = next == PatrolState::ATTACKING || next == PatrolState::INVESTIGATING;
        record->ChangeState(next, sent ? contactID : 0, sent ? contact->GetTypeFlags() : 0);
        if (Unit* const unit = gam2arena::FindUnit(record->GetUnitID()))
            unit->ClearPath();
        PostOrDrop(MakeMissionUnitEvent(record->GetUnitID(), GameTime(0)));
    }
}

int16_t PatrolMission::NextStateAfterAttack(Contact* contact)
{
    if (IsLost(contact)) {
        ClearSentMark(contact);
        return PatrolState::PATROLLING;
    }
    return IsNew(*contact) && IsFirmContact(contact) ? PatrolState::ATTACKING : PatrolState::NEAR_ATTACKED;
}

int16_t PatrolMission::NextStateAfterHold(Contact* contact, Unit* unit)
{
    if (IsLost(contact))
        return PatrolState::PATROLLING;
    return unit != nullptr && unit->HasContacts() ? PatrolState::HOLDING : PatrolState::ATTACKING;
}

int16_t PatrolMission::NextStateAfterSearch(Contact* contact)
{
    if (IsLost(contact))
        return PatrolState::PATROLLING;
    if ((contact->GetTypeFlags() & CLASS_SUBSURFACE) != 0 || !IsTargetCovered(contact))
        return PatrolState::ATTACKING;
    return PatrolState::PATROLLING;
}

int16_t PatrolMission::NextStateAfterInvestigate(Contact* contact)
{
    if (IsLost(contact)) {
        ClearSentMark(contact);
        return PatrolState::PATROLLING;
    }
    if (!IsUnknown(*contact)) {
        ClearSentMark(contact);
        return PatrolState::PATROLLING;
    }
    return IsNew(*contact) && IsFirmContact(contact) ? PatrolState::INVESTIGATING : PatrolState::NEAR_INVESTIGATED;
}

int16_t PatrolMission::NextStateForContact(Contact* contact)
{
    if (IsLost(contact)) {
        ClearSentMark(contact);
        return PatrolState::PATROLLING;
    }
    if (IsUnknown(*contact))
        return PatrolState::INVESTIGATING;
    ClearSentMark(contact);
    return PatrolState::PATROLLING;
}
