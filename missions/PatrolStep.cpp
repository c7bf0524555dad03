// PatrolStep.cpp: the patrol's unit step by record state, the mission
// commands (resume, delayed start), the choice of a patrol point and of a
// point along a leg, and the run of a unit sent against a contact. Each step
// gives the unit at most one leg (a one-point path with altitude and speed
// orders) and arranges the unit's next step: on the last point of its path,
// or at once. The next-state rules and altitudes are PatrolContacts.cpp and
// PatrolMission.cpp.
#include "missions/PatrolMission.h"

#include <string>

#include "core/ErrorReport.h"
#include "core/Geometry.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "missions/StandingMission.h"
#include "units/PositionNode.h"
#include "units/ReferencePoint.h"
#include "units/SimObject.h"
#include "units/StationBridge.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// Class bits of a subsurface target, and the bit left out of comparisons.
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_IGNORED = 0x10;
// Contact mission mark: a unit of a mission was sent against it.
constexpr uint8_t MARK_UNIT_SENT = 0x1;
// Coordinates of a position not set yet.
constexpr int32_t UNSET_COORDINATE = 0x7FFFFFFF;
// What DeployUnitSensor answers for a dipping sonar lowered.
constexpr uint16_t SONAR_DEPLOYED = 4;
// Speed settings: the propulsion row of a leg.
constexpr int16_t SLOW_SETTING = 0;
constexpr int16_t CRUISE_SETTING = 1;
// Parts of the leg toward a picked point (percent of its length): a patrol
// leg, a short leg, and the leg of an attack run that holds.
constexpr int32_t PATROL_LOW = 20, PATROL_SPAN = 80;
constexpr int32_t SHORT_LOW = 5, SHORT_SPAN = 10;
constexpr int32_t HOLD_LOW = 10, HOLD_SPAN = 20;

bool IsAircraft(const Unit& unit)
{
    const char letter = unit.GetTypeLetter();
    return letter == 'P' || letter == 'A';
}

bool IsSubmarine(const Unit& unit) { return unit.GetTypeLetter() == 'U'; }

bool IsSubsurfaceClass(uint32_t targetClass) { return (targetClass & ~CLASS_IGNORED) == CLASS_SUBSURFACE; }

// Posts a step event for the unit at once.
void PostStepNow(uint16_t unitID)
{
    PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0)));
}

// The point `reach` range units along the leg from `from` toward `to`, or
// `to` itself when it is no farther.
LatLonPoint ShortenLeg(const LatLonPoint& from, const LatLonPoint& to, int32_t reach)
{
    const NavVector leg = NavMath::Get_Vector(from, to);
    return leg.range <= reach ? to : NavMath::Get_LatLonPoint_From_Vector(from, reach, leg.bearing);
}

// A unit sent against a contact goes back to patrol; once the mission has
// finished, its record is left as it is.
void GiveUpRun(PatrolMission& mission, MissionUnitRec* record, uint16_t unitID)
{
    if ((mission.missionFlags & MissionFlag::FINISHED) == 0)
        mission.BackToPatrol(record, unitID);
}

// Whether the navigator finds a way for the unit to the point.
bool CanBuildPathTo(uint16_t unitID, const LatLonPoint& end)
{
    PositionNode* leg = new PositionNode(end);
    const bool found = Game2UI::BuildNavPath(unitID, leg);
    DeletePositionNodes(&leg);
    return found;
}

// The leg of a unit near a contact (record state NEAR_INVESTIGATED or
// NEAR_ATTACKED) toward the contact's plot, after its sensor posture; an
// aircraft after a subsurface contact that is not plain lays its sensor on
// the way when the navigator finds the leg.
void LegTowardContact(PatrolMission& mission, MissionUnitRec* record, Unit* unit, Contact& contact)
{
    const uint16_t unitID = unit->GetID();
    const bool investigated = record->state == PatrolState::NEAR_INVESTIGATED;
    mission.SetUnitPosture(unitID, record);
    const LatLonPoint here = unit->GetPosition();
    LatLonPoint end;
    contact.GetPosition(end);
    if (end == here) {
        // Standing on the contact's plot: cast about toward the patrol.
        LatLonPoint aside;
        if (mission.PatrolLeg(unit, SHORT_LOW, SHORT_SPAN, aside))
            end = aside;
    }
    const bool subsurface = IsSubsurfaceClass(record->targetClass);
    if (subsurface && (!investigated || IsAircraft(*unit)))
        end = ShortenLeg(here, end, PatrolMission::SONAR_LEG_REACH);
    if (investigated && !Nav2Game::LegValidForUnit(unitID, here, end)) {
        record->ChangeState(PatrolState::PATROLLING, 0, 0);
        contact.stickyFlags &= static_cast<uint8_t>(~MARK_UNIT_SENT);
        mission.RetryStep(unitID);
        return;
    }
    const int16_t altitude = mission.GetTaskAltitude(unit, static_cast<uint16_t>(record->state), record->targetClass);
    const int16_t setting = PatrolMission::CanUnitAttackClass(unit, record) ? CRUISE_SETTING : SLOW_SETTING;
    mission.GiveLeg(unit, end, altitude, setting, nullptr);
    if (!IsAircraft(*unit) || !subsurface || MissionRecord::IsFirmContact(&contact) || !CanBuildPathTo(unitID, end))
        return;
    if (mission.DeployUnitSensor(unit, investigated ? 0 : 1) == SONAR_DEPLOYED)
        record->state = investigated ? PatrolState::REARM_INVESTIGATED : PatrolState::REARM_ATTACKED;
}

} // namespace

// ---- mission commands ----

void PatrolMission::HandleMissionEvent(uint16_t code)
{
    switch (code) {
    case MissionEventCode::START:
        missionFlags &= ~MissionFlag::DELAYED_START;
        PostUnitEvents();
        break;
    case MissionEventCode::DELAYED_START: {
        missionFlags |= MissionFlag::DELAYED_START;
        const auto delay = gam2arena::Random(static_cast<uint16_t>(delayTime & 0xFFFF));
        PostOrDrop(MakeMissionEvent(side != nullptr ? side->GetID() : 0, GetID(), MissionEventCode::START, delay));
        break;
    }
    default:
        break;
    }
}

// ---- the step ----

void PatrolMission::StepUnit(uint16_t unitID, uint8_t code)
{
    if ((missionFlags & MissionFlag::DELAYED_START) != 0)
        return;
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    // A member sails or flies with its group or base; the patrol steps it
    // only while it engages on its own.
    if (unit->GetParentID() != 0 && record->state != PatrolState::ENGAGING && record->state != PatrolState::ORDERED)
        return;
    missionFlags |= EMISSIONS_MANAGED;
    switch (record->state) {
    case PatrolState::ADDED:
        StepAdded(record, unit);
        break;
    case PatrolState::PATROLLING:
    case PatrolState::REPORTED:
        StepPatrolling(record, unit);
        break;
    case PatrolState::ATTACKING:
    case PatrolState::INVESTIGATING:
    case PatrolState::CLASSIFYING:
        StepSent(record, unit, LatLonPoint(UNSET_COORDINATE, UNSET_COORDINATE),
                 static_cast<uint32_t>(unit->GetPlantSetting()), unit->GetAltitude(), code);
        break;
    case PatrolState::ENGAGING:
    case PatrolState::ORDERED:
        StepEngaging(record, unit);
        break;
    case PatrolState::SEARCHING:
        StepSearching(record, unit);
        break;
    case PatrolState::NEAR_INVESTIGATED:
    case PatrolState::NEAR_ATTACKED:
        StepNearContact(record, unit);
        break;
    case PatrolState::HOLDING:
        StepHolding(record, unit);
        break;
    case PatrolState::SONAR_LEG:
        StepSonarLeg(record, unit);
        break;
    case PatrolState::LISTENING:
    case PatrolState::REARM_INVESTIGATED:
    case PatrolState::REARM_ATTACKED:
        StepRearmed(record, unit);
        break;
    case PatrolState::SUBMARINE_LEG:
        StepSubmarineLeg(record, unit);
        break;
    default:
        break;   // states of other missions and of the base: left alone
    }
}

bool PatrolMission::OpenStep(MissionUnitRec* record, Unit* unit, uint32_t rearmTime)
{
    if ((unit->GetStateFlags() & SimObject::PATH_REQUESTED) != 0)
        return false;
    if (PositionNode* const path = unit->GetPath()) {
        if (Event* const event = MakeMissionUnitEvent(unit->GetID(), GameTime(0))) {
            // A time carried on a path point counts from the unit's arrival.
            if (rearmTime != 0)
                event->SetTime(GameTime(rearmTime));
            path->LastOfChain()->AddEvent(event);
        }
        return false;
    }
    // Near a contact or holding, the posture waits for the road that gives
    // the unit a new leg.
    const int16_t state = record->state;
    if (state != PatrolState::NEAR_INVESTIGATED && state != PatrolState::NEAR_ATTACKED &&
        state != PatrolState::HOLDING)
        SetUnitPosture(unit->GetID(), record);
    return true;
}

bool PatrolMission::GiveLeg(Unit* unit, const LatLonPoint& end, int16_t altitude, int16_t setting, Event* attached)
{
    const uint16_t unitID = unit->GetID();
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, setting, altitude);
    PositionNode* leg = new PositionNode(end, altitude);
    leg->AddEvent(attached);
    Game2UI::SetUnitPath(unitID, leg);
    DeletePositionNodes(&leg);
    return true;
}

bool PatrolMission::PatrolLeg(Unit* unit, int32_t low, int32_t span, LatLonPoint& end)
{
    const ReferencePoint* const point = PickPatrolPoint();
    if (point == nullptr)
        return false;
    end = PointAlongLeg(unit->GetPosition(), point->GetPosition(), low, span);
    return true;
}

void PatrolMission::RetryStep(uint16_t unitID)
{
    if ((missionFlags & MissionFlag::FINISHED) == 0)
        PostStepNow(unitID);
}

void PatrolMission::BackToPatrol(MissionUnitRec* record, uint16_t unitID)
{
    record->ChangeState(PatrolState::PATROLLING, 0, 0);
    RetryStep(unitID);
}

ReferencePoint* PatrolMission::PickPatrolPoint()
{
    uint16_t count = 0;
    for (const IDNode* id = PatrolPoints.First(); id != nullptr; id = id->GetNext())
        ++count;
    if (count == 0) {
        // One line for the log however many units still step before the
        // side pass deletes the mission.
        if ((missionFlags & MissionFlag::FINISHED) == 0) {
            missionFlags |= MissionFlag::FINISHED;
            const std::string line = std::string(name != nullptr ? name : "") + ResourceString(EMPTIED_TEXT);
            PostToMessageLog(line.c_str());
        }
        return nullptr;
    }
    IDNode* id = PatrolPoints.First();
    for (uint16_t r = gam2arena::Random(count); r > 0 && id->GetNext() != nullptr; --r)
        id = id->GetNext();
    if (side == nullptr)
        return nullptr;
    if (ReferencePoint* const point = side->FindReferencePoint(id->GetKey()))
        return point;
    // The side deleted the point: the patrol forgets it.
    PatrolPoints.Remove(id);
    delete id;
    SaveName();
    UpdateArea();
    return nullptr;
}

LatLonPoint PatrolMission::PointAlongLeg(const LatLonPoint& from, const LatLonPoint& to, int32_t low, int32_t span)
{
    if (low + span > 100)
        span = 100 - low;
    const NavVector leg = NavMath::Get_Vector(from, to);
    const int32_t percent = gam2arena::Random(static_cast<uint16_t>(span > 0 ? span : 0)) + low;
    // Hundredths of the leg, the division first: a leg under 100 range
    // units has no hundredth and the point stays at `from`.
    return NavMath::Get_LatLonPoint_From_Vector(from, percent * (leg.range / 100), leg.bearing);
}

void PatrolMission::SendOnRun(Unit* unit, const LatLonPoint& point, uint32_t setting, int16_t altitude)
{
    if (unit != nullptr)
        GiveLeg(unit, point, altitude, static_cast<int16_t>(setting), nullptr);
}

// ---- handlers by state ----

void PatrolMission::StepAdded(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    const uint16_t unitID = unit->GetID();
    if (Geometry::Point_In_LatLonRect(PatrolArea, unit->GetPosition())) {
        BackToPatrol(record, unitID);
        return;
    }
    const ReferencePoint* const point = PickPatrolPoint();
    if (point == nullptr) {
        RetryStep(unitID);
        return;
    }
    GiveLeg(unit, point->GetPosition(), GetTransitAltitude(unit), CRUISE_SETTING, nullptr);
    record->state = PatrolState::PATROLLING;
}

void PatrolMission::StepPatrolling(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    LatLonPoint end;
    if (!PatrolLeg(unit, PATROL_LOW, PATROL_SPAN, end)) {
        RetryStep(unit->GetID());
        return;
    }
    const int16_t altitude = record->state == PatrolState::PATROLLING
                                 ? GetPatrolAltitude(unit, 0)
                                 : GetTaskAltitude(unit, PatrolState::ATTACKING, record->targetClass);
    GiveLeg(unit, end, altitude, IsNotSubmarine(unit) ? CRUISE_SETTING : SLOW_SETTING, nullptr);
    if (creationKind == KIND_ASW)
        record->state = IsAircraft(*unit) ? PatrolState::SONAR_LEG : PatrolState::SEARCHING;
    else if ((creationKind == KIND_AAW || creationKind == KIND_ASU) && IsSubmarine(*unit))
        record->state = PatrolState::SEARCHING;
}

void PatrolMission::StepSent(MissionUnitRec* record, Unit* unit, const LatLonPoint& point, uint32_t setting,
                             int16_t altitude, uint8_t code)
{
    if (!OpenStep(record, unit, 0))
        return;
    const uint16_t unitID = unit->GetID();
    if (code != 0) {
        // An event of the unit's own (a report or an order) turns it aside
        // on a short leg at the speed and height it has.
        LatLonPoint end;
        if (PatrolLeg(unit, SHORT_LOW, SHORT_SPAN, end))
            GiveLeg(unit, end, altitude, static_cast<int16_t>(setting), nullptr);
        else
            RetryStep(unitID);
        return;
    }
    const int16_t state = record->state;
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    if (state == PatrolState::ATTACKING && NextStateAfterSearch(contact) != PatrolState::ATTACKING) {
        GiveUpRun(*this, record, unitID);
        return;
    }
    if (state == PatrolState::INVESTIGATING && NextStateForContact(contact) != PatrolState::INVESTIGATING) {
        GiveUpRun(*this, record, unitID);
        return;
    }
    LatLonPoint aim = point;
    uint32_t planned = setting;
    int16_t plannedAltitude = altitude;
    uint32_t time = 0;
    PlanApproach(contact, unit, static_cast<uint16_t>(state), planned, plannedAltitude, time, aim);
    if (time == 0 ||
        (state == PatrolState::ATTACKING && !Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), aim))) {
        GiveUpRun(*this, record, unitID);
        return;
    }
    if (state != PatrolState::CLASSIFYING && contact->identifiedAs != 0 &&
        NavMath::Get_Vector(unit->GetPosition(), aim).range < NEAR_REACH) {
        // Close enough: the unit works the contact from where it is.
        const bool plain = IsFirmContact(contact);
        if (state == PatrolState::ATTACKING && !plain) {
            record->ChangeState(PatrolState::NEAR_ATTACKED, contact->GetKey(), contact->GetTypeFlags());
            PostStepNow(unitID);
            return;
        }
        if (state == PatrolState::INVESTIGATING) {
            record->ChangeState(plain ? PatrolState::CLASSIFYING : PatrolState::NEAR_INVESTIGATED,
                                contact->GetKey(), contact->GetTypeFlags());
            PostStepNow(unitID);
            return;
        }
    }
    // A plain subsurface contact gets a buoy at the end of the run.
    const bool dropBuoy = state == PatrolState::CLASSIFYING && IsSubsurfaceClass(record->targetClass);
    GiveLeg(unit, aim, plannedAltitude, static_cast<int16_t>(planned),
            dropBuoy ? MakeDropSonobuoyEvent(unitID, 0, 0) : nullptr);
    if (dropBuoy)
        record->state = PatrolState::LISTENING;
}

void PatrolMission::StepEngaging(MissionUnitRec* record, Unit* unit)
{
    if (record->state == PatrolState::ORDERED) {
        record->state = PatrolState::ENGAGING;
        return;
    }
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    if (contact != nullptr && EngageIfInReach(record, unit, contact, ENGAGE_REACH))
        return;
    record->ChangeState(PatrolState::PATROLLING, 0, 0);
    if (record->leaderID == 0) {
        unit->ClearPath();
        PostStepNow(unit->GetID());
    } else {
        gam2side::NotifyParentUnit(unit->GetID(), 0);
    }
}

void PatrolMission::StepSearching(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    LatLonPoint end;
    if (!PatrolLeg(unit, PATROL_LOW, PATROL_SPAN, end)) {
        RetryStep(unit->GetID());
        return;
    }
    GiveLeg(unit, end, GetSearchAltitude(unit), IsUnitEligible(unit) ? CRUISE_SETTING : SLOW_SETTING, nullptr);
    record->state = IsSubmarine(*unit) ? PatrolState::SUBMARINE_LEG : PatrolState::PATROLLING;
}

void PatrolMission::StepNearContact(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    const uint16_t unitID = unit->GetID();
    const bool investigated = record->state == PatrolState::NEAR_INVESTIGATED;
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    const int16_t next = investigated ? NextStateAfterInvestigate(contact) : NextStateAfterAttack(contact);
    if (next == record->state) {
        LegTowardContact(*this, record, unit, *contact);
        return;
    }
    const int16_t sentAgain = investigated ? PatrolState::INVESTIGATING : PatrolState::ATTACKING;
    if (next == sentAgain && contact != nullptr)
        record->ChangeState(sentAgain, contact->GetKey(), contact->GetTypeFlags());
    else
        record->ChangeState(PatrolState::PATROLLING, 0, 0);
    RetryStep(unitID);
}

void PatrolMission::StepHolding(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    const uint16_t unitID = unit->GetID();
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    const int16_t next = NextStateAfterHold(contact, unit);
    if (next == PatrolState::HOLDING) {
        LatLonPoint end;
        if (!PatrolLeg(unit, HOLD_LOW, HOLD_SPAN, end)) {
            RetryStep(unitID);
            return;
        }
        SetUnitPosture(unitID, record);
        GiveLeg(unit, end, GetAttackRunAltitude(unit, record),
                CanUnitAttackClass(unit, record) ? CRUISE_SETTING : SLOW_SETTING, nullptr);
        return;
    }
    if (next == PatrolState::ATTACKING && contact != nullptr)
        record->ChangeState(PatrolState::ATTACKING, contact->GetKey(), contact->GetTypeFlags());
    else
        record->ChangeState(PatrolState::PATROLLING, 0, 0);
    RetryStep(unitID);
}

void PatrolMission::StepSonarLeg(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    const uint16_t unitID = unit->GetID();
    const ReferencePoint* const point = PickPatrolPoint();
    if (point == nullptr) {
        RetryStep(unitID);
        return;
    }
    const LatLonPoint end = ShortenLeg(unit->GetPosition(), point->GetPosition(), SONAR_LEG_REACH);
    GiveLeg(unit, end, GetSearchAltitude(unit), IsUnitEligible(unit) ? CRUISE_SETTING : SLOW_SETTING, nullptr);
    if (CanBuildPathTo(unitID, end))
        DeployUnitSensor(unit, 0);
    record->state = PatrolState::LISTENING;
}

void PatrolMission::StepRearmed(MissionUnitRec* record, Unit* unit)
{
    const int16_t state = record->state;
    if (!OpenStep(record, unit, state == PatrolState::LISTENING ? LISTEN_TIME : REARM_TIME))
        return;
    const uint16_t unitID = unit->GetID();
    const int16_t altitude = GetSearchAltitude(unit);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, IsUnitEligible(unit) ? CRUISE_SETTING : SLOW_SETTING, altitude);
    PostStepNow(unitID);
    if (state == PatrolState::LISTENING)
        record->state = PatrolState::PATROLLING;
    else
        record->state = state == PatrolState::REARM_INVESTIGATED ? PatrolState::NEAR_INVESTIGATED
                                                                 : PatrolState::NEAR_ATTACKED;
}

void PatrolMission::StepSubmarineLeg(MissionUnitRec* record, Unit* unit)
{
    if (!OpenStep(record, unit, 0))
        return;
    LatLonPoint end;
    if (!PatrolLeg(unit, SHORT_LOW, SHORT_SPAN, end)) {
        RetryStep(unit->GetID());
        return;
    }
    GiveLeg(unit, end, GetSubmarineLegAltitude(unit), SLOW_SETTING, nullptr);
    record->state = PatrolState::PATROLLING;
}
