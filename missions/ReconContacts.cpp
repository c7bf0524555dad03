// ReconContacts.cpp: how a recon mission reacts to the contacts of its
// side: what each contact is worth and the task filed for it, the free unit
// sent to look at an enemy facility, and the contact route states in which a
// unit engages, closes on, shadows or attacks its contact before it returns
// to the point route.
//
// Contact fields as read here: the mission marks are `stickyFlags` (0x1 a
// unit was sent, 0x2 a unit is on it), the new flag and the recheck word are
// `changeBits`, the first and second status marks `hostileAct` and
// `bandFlag`, the lost bit is 0x8 of `conditionBits`.
#include "missions/ReconMission.h"

#include <cstdint>

#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "missions/StandingMission.h"
#include "units/PositionNode.h"
#include "units/ReferencePoint.h"
#include "units/SimObject.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// Contact class bits.
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t CLASS_TORPEDO = 0x800;
constexpr uint32_t CLASS_MOVING = 0x180F;   // surface, subsurface, air, missile, torpedoes

constexpr uint32_t STATUS_LOST = 0x8;
constexpr uint8_t MARK_SENT = 0x1;
constexpr uint8_t MARK_ON_IT = 0x2;

constexpr uint8_t RELATION_HOSTILE = 1;
constexpr uint8_t RELATION_FRIENDLY = 2;

// Classification answers.
constexpr uint16_t ENGAGE = 1;
constexpr uint16_t INVESTIGATE = 2;
constexpr uint16_t WATCH = 5;

// Task priorities.
constexpr uint16_t PRIORITY_MISSILE = 100;
constexpr uint16_t PRIORITY_AIR = 90;
constexpr uint16_t PRIORITY_OTHER = 80;
constexpr uint16_t PRIORITY_LOW = 10;

// Option flag asking for the shooter's sensors.
constexpr uint16_t OPTION_SENSORS_ON = 0x400;

// Within this of the intercept point (range units) the closing unit shadows
// or attacks.
constexpr int32_t INTERCEPT_CLOSE = RANGE_PER_NM;
// Review delays of a friendly contact, seconds.
constexpr uint32_t FRIENDLY_REVIEW = 3600;
// Propulsion setting of a shadowing leg.
constexpr int16_t SHADOW_SETTING = 2;
// Percent of the way to a recon point a unit without a target heads for.
constexpr int32_t TOWARD_LOW = 5;
constexpr int32_t TOWARD_SPAN = 10;

bool IsLost(const Contact& contact) { return (contact.conditionBits & STATUS_LOST) != 0; }

// The contact is still to be followed: side unknown, or nothing new of it.
bool IsQuiet(const Contact& contact) { return contact.sideId == 0 || contact.changeBits == 0; }

bool IsIdentified(const Contact& contact) { return contact.identifiedAs != 0; }

void WakeNow(uint16_t unitID) { PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0))); }

// Inserts the task by priority; a task the chain already holds for the
// contact is dropped.
void File(MissionTaskChain& chain, MissionTask* task)
{
    if (!InsertTaskInOrder(chain, task))
        delete task;
}

} // namespace

// ---- classification and tasks ----

void ReconMission::ConsiderContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr)
        return;
    if (contact->stickyFlags != 0 && contact->changeBits != 0)
        RecheckTaskedUnits(contact);
    switch (ClassifyContact(contact, scanned)) {
    case ENGAGE:
        ScheduleContactCheck(contact, ENGAGE);
        File(engageTasks, MakeTask(contact));
        break;
    case INVESTIGATE:
        ScheduleContactCheck(contact, INVESTIGATE);
        if ((contact->stickyFlags & (MARK_SENT | MARK_ON_IT)) == 0)
            File(keptTasks, MakeTask(contact));
        break;
    case WATCH:
        ScheduleContactCheck(contact, WATCH);
        File(watchTasks, MakeTask(contact));
        break;
    default:
        ScheduleContactCheck(contact, 0);
        break;
    }
}

uint16_t ReconMission::ClassifyContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr || contact->GetTypeFlags() == 0 || !IsContactInReach(contact, scanned))
        return 0;
    const uint32_t c = contact->GetTypeFlags();
    if (contact->sideId == 0) {
        if ((c & CLASS_MISSILE) != 0 && contact->bandFlag == 0)
            return IsLaunched(contact) ? WATCH : 0;
        if ((c & CLASS_AIR) != 0)
            return 0;
        if (contact->typeLetter != 'F')
            return contact->hostileAct != 0 && contact->bandFlag == 0 && IsPlainContact(contact) ? ENGAGE : 0;
        return INVESTIGATE;
    }
    if (side == nullptr || side->GetRelation(contact->sideId) != RELATION_HOSTILE)
        return 0;
    if ((c & CLASS_MISSILE) != 0)
        return IsLaunched(contact) ? WATCH : 0;
    if ((c & CLASS_MOVING) != 0)
        return (c & CLASS_AIR) != 0 && IsPlainContact(contact) ? ENGAGE : 0;
    return IsPlainContact(contact) ? ENGAGE : INVESTIGATE;
}

bool ReconMission::IsContactInReach(Contact* contact, SideContacts*)
{
    if (contact == nullptr || IsLost(*contact))
        return false;
    if (contact->typeLetter == 'F') {
        if (IsIdentified(*contact))
            return true;
        return contact->sideId == 0 || contact->changeBits == 0;
    }
    const uint32_t c = contact->GetTypeFlags();
    if ((c & (CLASS_AIR | CLASS_MISSILE)) == 0)
        return false;
    // The contact's own position, not a point of its area.
    const LatLonPoint where = contact->PositionObject::GetPosition();
    const bool courseKnown = (contact->knownBits & ContactKnown::COURSE) != 0;
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
        if (unit == nullptr)
            continue;
        const NavVector v = NavMath::Get_Vector(where, unit->GetPosition());
        if (static_cast<uint32_t>(v.range) <= GetUnitReach(unit, c))
            return true;
        // The contact heads for the unit.
        if (courseKnown && IsBearingWithin5(v.bearing, static_cast<int32_t>(contact->course) * ANGLE_PER_DEGREE))
            return true;
    }
    return false;
}

MissionTask* ReconMission::MakeTask(Contact* contact)
{
    if (contact == nullptr)
        return nullptr;
    const uint32_t c = contact->GetTypeFlags();
    auto* const task = new MissionTask(contact->GetKey());
    if ((c & CLASS_MISSILE) != 0)
        task->priority = PRIORITY_MISSILE;
    else if ((c & CLASS_TORPEDO) != 0)
        task->priority = PRIORITY_LOW;
    else if ((c & CLASS_AIR) != 0)
        task->priority = PRIORITY_AIR;
    else if ((c & CLASS_MOVING) == 0)
        task->priority = PRIORITY_OTHER;
    else
        task->priority = PRIORITY_LOW;
    FillTaskEstimate(task, contact, c & ~CLASS_IGNORED);
    return task;
}

void ReconMission::ScheduleContactCheck(Contact* contact, uint16_t decision)
{
    if (contact == nullptr)
        return;
    const uint32_t c = contact->GetTypeFlags() & ~CLASS_IGNORED;
    // Rows: engage or watch, investigate, anything else; columns: missile,
    // air, torpedo, other.
    static constexpr uint32_t DELAYS[3][4] = {{1, 15, 45, 45}, {1, 30, 60, 60}, {60, 60, 120, 600}};
    const int row = decision == ENGAGE || decision == WATCH ? 0 : decision == INVESTIGATE ? 1 : 2;
    const int column = c == CLASS_MISSILE ? 0 : c == CLASS_AIR ? 1 : c == CLASS_TORPEDO ? 2 : 3;
    uint32_t seconds = DELAYS[row][column];
    if (row == 2 && contact->sideId != 0 && side != nullptr &&
        side->GetRelation(contact->sideId) == RELATION_FRIENDLY)
        seconds = FRIENDLY_REVIEW;
    SetContactCheck(contact, seconds);
}

bool ReconMission::IsNotFriendlyClass(Contact*) { return false; }

void ReconMission::KeepTask(MissionTask* task, uint32_t, Contact* contact)
{
    if (task == nullptr)
        return;
    if (contact != nullptr) {
        for (const TimedRecord* o = task->options.First(); o != nullptr; o = o->GetNext()) {
            if ((o->resultBits & OPTION_SENSORS_ON) != 0)
                PostUnitSensorsOn(o->idA);
        }
    }
    delete task;
}

// ---- the investigator ----

void ReconMission::OnSideScanned(SideContacts* scanned)
{
    if (scanned == nullptr || keptTasks.First() == nullptr)
        return;
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        const uint16_t unitID = r->GetUnitID();
        if (scanned->ownUnits.Find(unitID) == nullptr || r->isFormation != 0 ||
            (r->state != ReconState::APPROACH && r->state != ReconState::ON_ROUTE))
            continue;
        if (extraIDs.Find(unitID) == nullptr)
            extraIDs.Insert(new IDNode(unitID));
    }
    for (const MissionTask* task = keptTasks.First(); task != nullptr && extraIDs.First() != nullptr;
         task = task->GetNext()) {
        Contact* const contact = scanned->GetContact(task->targetID);
        if (contact == nullptr || (contact->stickyFlags & MARK_ON_IT) != 0 || contact->typeLetter != 'F')
            continue;
        if (IsQuiet(*contact) || IsIdentified(*contact))
            SendInvestigator(contact);
    }
}

void ReconMission::SendInvestigator(Contact* contact)
{
    if (contact == nullptr)
        return;
    struct Choice {
        IDNode* node = nullptr;
        LatLonPoint point;
        uint32_t setting = 0;
        int16_t altitude = 0;
        uint32_t time = INT32_MAX;
        uint16_t memberCount = 1000;
    } best;
    for (IDNode* node = extraIDs.First(); node != nullptr; node = node->GetNext()) {
        const uint16_t unitID = node->GetKey();
        MissionUnitRec* const record = units.Find(unitID);
        Unit* const unit = gam2arena::FindUnit(unitID);
        if (record == nullptr || unit == nullptr || !CanUnitEngageA(record, unit, contact) ||
            record->memberCount > best.memberCount)
            continue;
        Choice plan;
        PlanApproach(contact, unit, 0, plan.setting, plan.altitude, plan.time, plan.point);
        if (plan.time == 0 || plan.time >= best.time ||
            !Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), plan.point))
            continue;
        plan.node = node;
        plan.memberCount = record->memberCount;
        best = plan;
    }
    if (best.node == nullptr)
        return;
    const uint16_t unitID = best.node->GetKey();
    extraIDs.Remove(best.node);
    delete best.node;
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    if (record->leaderID != 0) {
        record->SaveGroup();
        gam2grp::DetachFromGroup(record->leaderID, unitID);
    }
    record->ChangeState(ReconState::CLOSING, contact->GetKey(), contact->GetTypeFlags());
    unit->ClearPath();
    CloseOnContact(unitID, unit, record, best.point, static_cast<int16_t>(best.setting), best.altitude, 0);
    contact->stickyFlags |= MARK_SENT;
}

// ---- reports of the units ----

void ReconMission::Retask(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (record->isFormation != 0) {
        SetUnitPosture(unitID, record);
        return;
    }
    unit->ClearPath();
    WakeNow(unitID);
}

void ReconMission::OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t airOnly)
{
    MissionUnitRec* record = units.Find(unitID);
    if (record == nullptr)
        return;
    // A member reports for its leader when the leader is in the mission too.
    if (record->leaderID != 0) {
        if (MissionUnitRec* const leader = units.Find(record->leaderID)) {
            record = leader;
            unitID = leader->GetUnitID();
        }
    }
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return;
    if (clearMark != 0)
        record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    const char letter = unit->GetTypeLetter();
    if (letter != 'P' && letter != 'A')
        airOnly = 0;
    const uint16_t contactID = contact != nullptr ? contact->GetKey() : 0;
    const uint32_t c = contact != nullptr ? contact->GetTypeFlags() : 0;
    switch (record->state) {
    case ReconState::OFF_ROUTE:
        if (airOnly == 0) {
            record->ChangeState(ReconState::OFF_ROUTE_CONTACTS, contactID, c);
            Retask(unitID, unit, record);
        }
        break;
    case ReconState::APPROACH:
    case ReconState::ON_ROUTE:
        record->ChangeState(ReconState::ROUTE_CONTACTS, contactID, c);
        Retask(unitID, unit, record);
        break;
    default:
        if (record->isFormation == 0)
            SetUnitPosture(unitID, record);
        break;
    }
}

void ReconMission::CheckIdleState(MissionUnitRec* record)
{
    if (record == nullptr ||
        (record->state != ReconState::ROUTE_CONTACTS && record->state != ReconState::OFF_ROUTE_CONTACTS))
        return;
    const uint16_t unitID = record->GetUnitID();
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return;
    if (unit->SumWeaponRatings(record->targetClass) == 0) {
        record->ChangeState(ReconState::ON_ROUTE, 0, 0);
    } else if (!unit->HasContacts()) {
        if (record->state == ReconState::OFF_ROUTE_CONTACTS)
            record->state = ReconState::OFF_ROUTE;
        else
            record->ChangeState(ReconState::ON_ROUTE, 0, 0);
    } else {
        return;
    }
    record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    Retask(unitID, unit, record);
}

void ReconMission::RecheckTaskedUnits(Contact* contact)
{
    if (contact == nullptr)
        return;
    const bool lost = IsLost(*contact);
    for (MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        if (r->targetID != contact->GetKey())
            continue;
        int16_t next = r->state;
        if (r->state == ReconState::CLOSING) {
            if (lost || !IsQuiet(*contact))
                next = ReconState::ON_ROUTE;
        } else if (r->state == ReconState::SHADOWING) {
            if (lost || (!IsIdentified(*contact) && !IsQuiet(*contact)))
                next = ReconState::ON_ROUTE;
            else if (!IsIdentified(*contact))
                next = ReconState::CLOSING;
        } else {
            continue;
        }
        if (next == r->state)
            continue;
        if (next == ReconState::ON_ROUTE) {
            contact->stickyFlags &= static_cast<uint8_t>(~MARK_ON_IT);
            r->ChangeState(next, 0, 0);
        } else {
            r->ChangeState(next, contact->GetKey(), contact->GetTypeFlags());
        }
        if (Unit* const unit = gam2arena::FindUnit(r->GetUnitID()))
            unit->ClearPath();
        WakeNow(r->GetUnitID());
    }
}

// ---- the contact route states ----

void ReconMission::EngageTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (record->state == ReconState::ORDERED) {
        // The order takes one step to become an engagement.
        record->state = ReconState::ENGAGING;
        return;
    }
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    if (contact != nullptr && EngageIfInReach(record, unit, contact, ENGAGE_REACH))
        return;
    record->ChangeState(ReconState::ON_ROUTE, 0, 0);
    if (record->leaderID == 0) {
        unit->ClearPath();
        WakeNow(unitID);
    } else {
        gam2side::NotifyParentUnit(unitID, 0);
    }
}

bool ReconMission::MayOrderUnit(Unit& unit) const
{
    if ((unit.GetStateFlags() & SimObject::PATH_REQUESTED) != 0)
        return false;
    return !StandingMission::WakeAtPathEnd(unit);
}

void ReconMission::FlyTo(uint16_t unitID, Unit* unit, const LatLonPoint& point, int16_t setting, int16_t altitude)
{
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, setting, altitude);
    PositionNode node(point);
    Game2UI::SetUnitPath(unitID, &node);
}

void ReconMission::GiveUp(uint16_t unitID, MissionUnitRec* record)
{
    if ((missionFlags & POINTS_USED_UP) != 0)
        return;
    record->ChangeState(ReconState::ON_ROUTE, 0, 0);
    WakeNow(unitID);
}

void ReconMission::HeadForRandomPoint(uint16_t unitID, Unit* unit, MissionUnitRec* record, int16_t setting,
                                      int16_t altitude)
{
    if (const ReferencePoint* const point = PickRandomPoint())
        FlyTo(unitID, unit, PointToward(unit->GetPosition(), point->GetPosition(), TOWARD_LOW, TOWARD_SPAN),
              setting, altitude);
    else
        GiveUp(unitID, record);
}

bool ReconMission::StartContactRun(uint16_t unitID, Unit* unit, MissionUnitRec* record,
                                   const LatLonPoint& destination, int16_t setting, int16_t altitude, uint8_t code)
{
    if (unit == nullptr || record == nullptr || !MayOrderUnit(*unit))
        return true;
    SetUnitPosture(unitID, record);
    if (code != 0) {
        HeadForRandomPoint(unitID, unit, record, setting, altitude);
        return true;
    }
    if (destination != NO_DESTINATION) {
        FlyTo(unitID, unit, destination, setting, altitude);
        return true;
    }
    return false;
}

void ReconMission::CloseOnContact(uint16_t unitID, Unit* unit, MissionUnitRec* record,
                                  const LatLonPoint& destination, int16_t setting, int16_t altitude, uint8_t code)
{
    if (StartContactRun(unitID, unit, record, destination, setting, altitude, code))
        return;
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    if (contact == nullptr) {
        GiveUp(unitID, record);
        return;
    }
    if (IsLost(*contact) || (contact->sideId != 0 && contact->changeBits != 0)) {
        contact->stickyFlags &= static_cast<uint8_t>(~MARK_ON_IT);
        GiveUp(unitID, record);
        return;
    }
    uint32_t planned = static_cast<uint32_t>(setting);
    uint32_t time = 0;
    LatLonPoint point;
    PlanApproach(contact, unit, 0, planned, altitude, time, point);
    if (time == 0) {
        GiveUp(unitID, record);
        return;
    }
    if (IsIdentified(*contact) && NavMath::Get_Vector(unit->GetPosition(), point).range < INTERCEPT_CLOSE) {
        const int16_t next = IsPlainContact(contact) ? ReconState::ATTACK_RUN : ReconState::SHADOWING;
        record->ChangeState(next, contact->GetKey(), contact->GetTypeFlags());
        WakeNow(unitID);
        return;
    }
    FlyTo(unitID, unit, point, static_cast<int16_t>(planned), altitude);
}

void ReconMission::ShadowContact(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (unit == nullptr || record == nullptr || !MayOrderUnit(*unit))
        return;
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    int16_t next = ReconState::ON_ROUTE;
    if (contact != nullptr && !IsLost(*contact) && IsIdentified(*contact))
        next = ReconState::SHADOWING;
    else if (contact != nullptr && !IsLost(*contact) && IsQuiet(*contact))
        next = ReconState::CLOSING;
    else if (contact != nullptr)
        contact->stickyFlags &= static_cast<uint8_t>(~MARK_ON_IT);

    if (next == ReconState::CLOSING) {
        record->ChangeState(next, contact->GetKey(), contact->GetTypeFlags());
    } else if (next == ReconState::ON_ROUTE) {
        record->ChangeState(next, 0, 0);
    } else {
        SetUnitPosture(unitID, record);
        const LatLonPoint from = unit->GetPosition();
        LatLonPoint to;
        contact->GetPosition(to);
        if (to == from) {
            if (const ReferencePoint* const point = PickRandomPoint())
                to = PointToward(from, point->GetPosition(), TOWARD_LOW, TOWARD_SPAN);
        }
        if (unit->GetTypeLetter() == 'P' && record->targetClass == CLASS_SUBSURFACE) {
            // A submerged contact is shadowed in legs of at most 30 nm.
            const NavVector v = NavMath::Get_Vector(from, to);
            if (v.range > ENGAGE_REACH)
                to = NavMath::Get_LatLonPoint_From_Vector(from, ENGAGE_REACH, v.bearing);
        }
        if (Nav2Game::LegValidForUnit(unitID, from, to)) {
            FlyTo(unitID, unit, to, SHADOW_SETTING, GetTaskAltitude(unit, 0, record->targetClass));
            return;
        }
        record->ChangeState(ReconState::ON_ROUTE, 0, 0);
        contact->stickyFlags &= static_cast<uint8_t>(~MARK_SENT);
    }
    if ((missionFlags & POINTS_USED_UP) == 0)
        WakeNow(unitID);
}

void ReconMission::AttackRun(uint16_t unitID, Unit* unit, MissionUnitRec* record, const LatLonPoint& destination,
                             int16_t setting, int16_t altitude, uint8_t code)
{
    if (StartContactRun(unitID, unit, record, destination, setting, altitude, code))
        return;
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    uint32_t planned = static_cast<uint32_t>(setting);
    uint32_t time = 0;
    LatLonPoint point;
    if (contact != nullptr)
        PlanApproach(contact, unit, 0, planned, altitude, time, point);
    if (time == 0) {
        GiveUp(unitID, record);
        return;
    }
    FlyTo(unitID, unit, point, static_cast<int16_t>(planned), altitude);
}
