// StrikeStep.cpp: the strike's unit step: the gate, the state routines that
// give a unit its next leg and state, and the leg helpers they share.
#include "missions/StrikeMission.h"

#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionCalls.h"
#include "missions/StandingMission.h"
#include "units/AirGroup.h"
#include "units/Plane.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t MOVING_CLASSES = 0x180F;
// Seconds after arrival at which a sonobuoy leg's unit is stepped again.
constexpr uint32_t BUOY_LEG_WAKE = 120;
// Propulsion settings of the legs.
constexpr int16_t LANDING_SETTING = 1;
// The answer of DeployUnitSensor when the unit's dipping sonar was set.
constexpr uint16_t DEPLOYED_SONAR = 4;
constexpr uint8_t FORCE_SENSOR = 1;
constexpr uint16_t HOLD_NEAR_LOW = 10;     // percent of the way to the far point
constexpr uint16_t HOLD_NEAR_SPREAD = 20;
constexpr uint16_t RETURN_LOW = 5;         // percent of the way home after an attack
constexpr uint16_t RETURN_SPREAD = 10;
constexpr uint16_t SEARCH_HOME_LOW = 1;    // percent of the way home when on top of the contact
constexpr uint16_t SEARCH_HOME_SPREAD = 2;
constexpr uint16_t FULL_CIRCLE_DEGREES = 360;

bool IsAircraftLetter(char letter) { return letter == 'P' || letter == 'A'; }

// The plane's home base, 0 for any other unit or without one.
uint16_t PlaneHome(const Unit& unit)
{
    const auto* const plane = unit.GetTypeLetter() == 'P' ? dynamic_cast<const Plane*>(&unit) : nullptr;
    return plane != nullptr ? plane->homeBaseID : 0;
}

// A wake-up for the unit, due `seconds` after it is reached (0: at once).
Event* WakeEvent(uint16_t unitID, uint32_t seconds = 0) { return MakeMissionUnitEvent(unitID, GameTime(seconds)); }

void WakeNow(uint16_t unitID) { PostOrDrop(WakeEvent(unitID)); }

// The point `range` from the unit at a random whole-degree bearing.
LatLonPoint RandomPointNear(const Unit& unit, int32_t range)
{
    const int32_t bearing = int32_t{gam2arena::Random(FULL_CIRCLE_DEGREES)} * ANGLE_PER_DEGREE;
    return NavMath::Get_LatLonPoint_From_Vector(unit.GetPosition(), range, bearing);
}

// The contact the record's target names in the unit's own contact record.
Contact* OrderTargetOf(const Unit& unit, const MissionUnitRec& record)
{
    return StandingMission::FindTargetContact(unit, record);
}

// Search setting of a unit against the record's class.
int16_t SearchSetting(const Unit& unit, uint32_t targetClass)
{
    const char letter = unit.GetTypeLetter();
    if (IsAircraftLetter(letter))
        return 1;
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    if (c == CLASS_SUBSURFACE)
        return 0;
    if (c == 0x4 || c == 0x8)
        return 1;
    return letter == 'U' ? 0 : 1;
}

// Transit setting: aircraft 0, other units -1 (their own choice).
int16_t TransitSetting(const Unit& unit) { return IsAircraftLetter(unit.GetTypeLetter()) ? 0 : -1; }

} // namespace

int16_t StrikeMission::AltitudeCodeFor(char letter)
{
    switch (letter) {
    case 'S':
    case 'G':
    case 'B':
    case 'F':
        return 0;
    case 'U':
        return -2;
    default:
        return 61;
    }
}

LatLonPoint StrikeMission::PointPartWay(const LatLonPoint& from, const LatLonPoint& to, uint32_t low, uint32_t spread)
{
    if (low > 100)
        low = 100;
    if (low + spread > 100)
        spread = 100 - low;
    const uint32_t percent = low + gam2arena::Random(static_cast<uint16_t>(spread));
    const NavVector v = NavMath::Get_Vector(from, to);
    const int32_t range = v.range / 100 * static_cast<int32_t>(percent);
    return NavMath::Get_LatLonPoint_From_Vector(from, range, v.bearing);
}

namespace {

// What every routine but the closing one does first: nothing for a unit
// waiting for a path, and for a unit with a path a wake-up on its last
// point. True when the routine has nothing more to do.
bool WaitsOnPath(Unit& unit, uint32_t wakeSeconds = 0)
{
    if ((unit.GetStateFlags() & SimObject::PATH_REQUESTED) != 0)
        return true;
    PositionNode* const first = unit.GetPath();
    if (first == nullptr)
        return false;
    if (Event* const event = WakeEvent(unit.GetKey(), wakeSeconds))
        first->LastOfChain()->AddEvent(event);
    return true;
}

} // namespace

void StrikeMission::StepUnit(uint16_t unitID, uint8_t code)
{
    if ((missionFlags & StrikeFlag::HOLD) != 0)
        return;
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    if (unit->GetParentID() != 0 && record->state != StrikeState::CLOSING && record->state != StrikeState::CLOSE_IN)
        return;
    missionFlags |= StrikeFlag::STARTED;
    const LatLonPoint unset = LatLonPoint::None();
    const auto setting = static_cast<uint32_t>(unit->GetPlantSetting());
    const int16_t altitude = unit->GetAltitude();
    switch (record->state) {
    case MissionUnitState::ADDED:
    case MissionUnitState::IDLE:
        StartUnit(unitID, unit, record);
        break;
    case StrikeState::APPROACH:
    case StrikeState::ASSIGNED:
    case StrikeState::UNDER_WAY:
        ApproachTarget(unitID, unit, record, unset, setting, altitude, code);
        break;
    case StrikeState::CLOSING:
    case StrikeState::CLOSE_IN:
        CloseWithContact(unitID, unit, record);
        break;
    case StrikeState::SEARCHING:
        SearchContactArea(unitID, unit, record);
        break;
    case StrikeState::HOLDING_NEARBY:
        HoldNearby(unitID, unit, record);
        break;
    case StrikeState::BUOY_LEG:
        FinishBuoyLeg(unitID, unit, record);
        break;
    case StrikeState::ATTACK_ORDER:
        AttackOrderTarget(unitID, unit, record, unset, setting, altitude, code);
        break;
    case StrikeState::ATTACK_LOCKED:
        AttackLockedTarget(unitID, unit, record, unset, setting, altitude, code);
        break;
    case StrikeState::BUOY_SEARCH:
        SearchWithBuoys(unitID, unit, record);
        break;
    default:
        break;
    }
}

void StrikeMission::OrderLeg(uint16_t unitID, Unit* unit, const LatLonPoint& aim, int16_t setting, int16_t altitude,
                             Event* atEnd)
{
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, setting, altitude);
    PositionNode* node = new PositionNode(aim);
    if (Event* const wake = WakeEvent(unitID))
        node->AddEvent(wake);
    if (atEnd != nullptr)
        node->AddEvent(atEnd);
    Game2UI::SetUnitPath(unitID, node);
    DeletePositionNodes(&node);
}

void StrikeMission::StartUnit(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (WaitsOnPath(*unit))
        return;
    bool landing = false;
    if (targetList.First() == nullptr) {
        uint16_t home = 0;
        if (unit->GetTypeLetter() == 'P')
            home = PlaneHome(*unit);
        else if (const auto* const group = unit->GetTypeLetter() == 'A' ? dynamic_cast<const AirGroup*>(unit) : nullptr)
            home = group->GetLeadHomeBase();
        if (home != 0) {
            PostOrDrop(MakeLandEvent(unitID, home, GameTime(0)));
            landing = true;
        }
    }
    SetUnitPosture(unitID, record);
    const int16_t altitude = GetPatrolAltitude(unit, 0);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, landing ? LANDING_SETTING : TransitSetting(*unit), altitude);
}

void StrikeMission::ApproachTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim,
                                   uint32_t setting, int16_t altitude, uint8_t code)
{
    LeadToTarget(unitID, unit, record, aim, setting, altitude, code, false);
}

void StrikeMission::AttackLockedTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim,
                                       uint32_t setting, int16_t altitude, uint8_t code)
{
    LeadToTarget(unitID, unit, record, aim, setting, altitude, code, true);
}

void StrikeMission::LeadToTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim,
                                 uint32_t setting, int16_t altitude, uint8_t code, bool ownPlanner)
{
    if (WaitsOnPath(*unit))
        return;
    SetUnitPosture(unitID, record);
    const int16_t ownAltitude = AltitudeCodeFor(unit->GetTypeLetter());
    bool planned = false;
    if (code != 0) {
        aim = RandomPointNear(*unit, RANDOM_LEG);
        planned = true;
    } else if (aim.IsNone()) {
        Contact* const contact = FindLockedContact(*unit);
        if (contact != nullptr) {
            uint32_t time = 0;
            if (ownPlanner) {
                const uint32_t c = contact->GetTypeFlags();
                contact->GetPosition(aim);
                planned = (c & MOVING_CLASSES) != 0
                              ? PlanMovingTarget(contact, unit, setting, ownAltitude, time, aim, c)
                              : PlanFixedTarget(contact, unit, setting, ownAltitude, time, aim, c);
            } else {
                PlanApproach(contact, unit, static_cast<uint16_t>(record->state), setting, altitude, time, aim);
                planned = time != 0;
            }
            if (planned) {
                SetContactCheck(contact, 1);
                if (contact->GetArea() != nullptr &&
                    NavMath::Get_Vector(unit->GetPosition(), aim).range < NEAR_AIM) {
                    const int16_t next = IsFirmContact(contact) ? StrikeState::ATTACK_ORDER : StrikeState::SEARCHING;
                    record->ChangeState(next, contact->GetKey(), contact->GetTypeFlags());
                    WakeNow(unitID);
                    return;
                }
            }
        }
    } else {
        planned = true;
    }
    if (!planned) {
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
        WakeNow(unitID);
        return;
    }
    if (ownPlanner) {
        record->state = StrikeState::UNDER_WAY;
        altitude = ownAltitude;
    } else if (record->state == StrikeState::UNDER_WAY) {
        record->state = StrikeState::APPROACH;
    }
    OrderLeg(unitID, unit, aim, static_cast<int16_t>(setting), altitude);
}

void StrikeMission::AttackOrderTarget(uint16_t unitID, Unit* unit, MissionUnitRec* record, LatLonPoint aim,
                                      uint32_t setting, int16_t altitude, uint8_t code)
{
    if (WaitsOnPath(*unit))
        return;
    SetUnitPosture(unitID, record);
    bool planned = false;
    if (code != 0) {
        const uint16_t home = PlaneHome(*unit);
        const Unit* const base = home != 0 ? gam2arena::FindUnit(home) : nullptr;
        if (base != nullptr) {
            aim = PointPartWay(unit->GetPosition(), base->GetPosition(), RETURN_LOW, RETURN_SPREAD);
            planned = true;
        }
    } else if (aim.IsNone()) {
        Contact* const contact = OrderTargetOf(*unit, *record);
        if (contact != nullptr) {
            SetContactCheck(contact, 1);
            uint32_t time = 0;
            PlanApproach(contact, unit, static_cast<uint16_t>(record->state), setting, altitude, time, aim);
            planned = time != 0;
        }
    } else {
        planned = true;
    }
    if (!planned) {
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
        WakeNow(unitID);
        return;
    }
    Event* drop = nullptr;
    if (record->targetClass == CLASS_SUBSURFACE) {
        drop = MakeDropSonobuoyEvent(unitID, 0, 0);
        record->state = StrikeState::BUOY_LEG;
    }
    OrderLeg(unitID, unit, aim, static_cast<int16_t>(setting), altitude, drop);
}

void StrikeMission::SearchContactArea(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (WaitsOnPath(*unit))
        return;
    Contact* const contact = OrderTargetOf(*unit, *record);
    if (contact == nullptr || (contact->conditionBits & StrikeContact::FINISHED) != 0) {
        if (contact != nullptr)
            contact->stickyFlags &= static_cast<uint8_t>(~StrikeContact::UNDER_ATTACK);
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
        WakeNow(unitID);
        return;
    }
    const bool firm = IsFirmContact(contact);
    if (contact->changeBits != 0 && firm) {
        record->ChangeState(StrikeState::APPROACH, contact->GetKey(), contact->GetTypeFlags());
        WakeNow(unitID);
        return;
    }
    SetContactCheck(contact, 1);
    SetUnitPosture(unitID, record);
    LatLonPoint aim;
    contact->GetPosition(aim);
    const LatLonPoint here = unit->GetPosition();
    if (aim == here) {
        if (unit->GetTypeLetter() != 'P') {
            record->ChangeState(MissionUnitState::IDLE, 0, 0);
            WakeNow(unitID);
            return;
        }
        const uint16_t home = PlaneHome(*unit);
        if (const Unit* const base = home != 0 ? gam2arena::FindUnit(home) : nullptr)
            aim = PointPartWay(here, base->GetPosition(), SEARCH_HOME_LOW, SEARCH_HOME_SPREAD);
    }
    const bool subsurface = record->targetClass == CLASS_SUBSURFACE;
    if (subsurface) {
        const NavVector v = NavMath::Get_Vector(here, aim);
        if (v.range > CLOSE_REACH)
            aim = NavMath::Get_LatLonPoint_From_Vector(here, CLOSE_REACH, v.bearing);
    }
    const int16_t altitude = GetTaskAltitude(unit, static_cast<uint16_t>(record->state), record->targetClass);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, SearchSetting(*unit, record->targetClass), altitude);
    PositionNode* node = new PositionNode(aim);
    if (Event* const wake = WakeEvent(unitID))
        node->AddEvent(wake);
    Game2UI::SetUnitPath(unitID, node);
    if (subsurface && IsAircraftLetter(unit->GetTypeLetter()) && !firm && Game2UI::BuildNavPath(unitID, node) &&
        DeployUnitSensor(unit, FORCE_SENSOR) == DEPLOYED_SONAR)
        record->state = StrikeState::BUOY_SEARCH;
    DeletePositionNodes(&node);
}

void StrikeMission::HoldNearby(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (WaitsOnPath(*unit))
        return;
    Contact* const contact = OrderTargetOf(*unit, *record);
    if (contact == nullptr || (contact->conditionBits & StrikeContact::FINISHED) != 0) {
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
        WakeNow(unitID);
        return;
    }
    if (!unit->HasContacts()) {
        record->ChangeState(StrikeState::APPROACH, contact->GetKey(), contact->GetTypeFlags());
        WakeNow(unitID);
        return;
    }
    const uint16_t home = PlaneHome(*unit);
    const Unit* const base = home != 0 ? gam2arena::FindUnit(home) : nullptr;
    const LatLonPoint far = base != nullptr ? base->GetPosition() : RandomPointNear(*unit, RANDOM_LEG);
    const LatLonPoint aim = PointPartWay(unit->GetPosition(), far, HOLD_NEAR_LOW, HOLD_NEAR_SPREAD);
    SetUnitPosture(unitID, record);
    const int16_t altitude = GetTaskAltitude(unit, static_cast<uint16_t>(record->state), record->targetClass);
    OrderLeg(unitID, unit, aim, SearchSetting(*unit, record->targetClass), altitude);
}

void StrikeMission::FinishBuoyLeg(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    ResumeAfterBuoys(unitID, unit, record, StrikeState::ATTACK_ORDER);
}

void StrikeMission::SearchWithBuoys(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    ResumeAfterBuoys(unitID, unit, record, StrikeState::SEARCHING);
}

void StrikeMission::ResumeAfterBuoys(uint16_t unitID, Unit* unit, MissionUnitRec* record, int16_t next)
{
    if (WaitsOnPath(*unit, BUOY_LEG_WAKE))
        return;
    SetUnitPosture(unitID, record);
    const int16_t altitude = GetTaskAltitude(unit, static_cast<uint16_t>(record->state), record->targetClass);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, unit, TransitSetting(*unit), altitude);
    record->state = next;
    WakeNow(unitID);
}

void StrikeMission::CloseWithContact(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (record->state == StrikeState::CLOSE_IN) {
        record->state = StrikeState::CLOSING;
        return;
    }
    Contact* const contact = OrderTargetOf(*unit, *record);
    if (contact != nullptr && EngageIfInReach(record, unit, contact, CLOSE_REACH))
        return;
    record->ChangeState(MissionUnitState::IDLE, 0, 0);
    if (record->leaderID == 0) {
        unit->ClearPath();
        WakeNow(unitID);
    } else {
        gam2side::NotifyParentUnit(unitID, 0);
    }
}
