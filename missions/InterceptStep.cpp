// InterceptStep.cpp: the intercept mission's step of one unit, run by the
// unit's mission-unit events: flying to the intercept point, closing on the
// target, shadowing, engaging and pulling back, sonobuoy drops and the
// dipping sonar against submarines; the altitudes it orders, the emission
// settings of its units and the posture of its aircraft.
#include <cstdint>

#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/InterceptMission.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionCalls.h"
#include "missions/StandingMission.h"
#include "units/Plane.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// Target classes the altitudes and speeds tell apart (class bits without 0x10).
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t STATUS_LOST = 0x8;
constexpr uint8_t INTERCEPTOR_ASSIGNED = 0x4;

// Depths (feet below the surface) a submarine takes.
constexpr int16_t DEPTH_AGAINST_SUBMARINES = -10;
constexpr int16_t DEPTH_AGAINST_OTHERS = -4;

// The envelope row the altitudes are read from.
constexpr int16_t CRUISE_SETTING = 1;

// Set-sensors modes and the sensor types switched.
constexpr uint16_t SENSORS_ON = 2;
constexpr uint16_t SENSORS_OFF = 3;
constexpr uint32_t RADAR = 1;
constexpr uint32_t SONAR = 5;
constexpr uint32_t ECM = 7;

// What DeployUnitSensor answers when a dipping sonar goes down.
constexpr uint16_t DIPPING_SONAR_DEPLOYED = 4;
// Seconds a dipping unit waits at the end of its path before it closes.
constexpr uint32_t DIPPING_WAIT = 120;

bool IsAircraftLetter(char letter) { return letter == 'P' || letter == 'A'; }

bool IsAirOrMissile(uint32_t c) { return c == CLASS_AIR || c == CLASS_MISSILE; }

void PostStep(uint16_t unitID) { PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0))); }

// The unit's envelope at the cruise setting; ships, groups, bases and
// facilities have none (0, 0).
void EnvelopeOf(const Unit& unit, int16_t& low, int16_t& high)
{
    low = 0;
    high = 0;
    const char letter = unit.GetTypeLetter();
    if (letter != 'S' && letter != 'G' && letter != 'B' && letter != 'F')
        unit.GetAltitudeEnvelope(CRUISE_SETTING, low, high);
}

// The lowest altitude from which the unit attacks the class.
int16_t ClassFloor(const Unit& unit, uint32_t c)
{
    int16_t low = 0;
    int16_t high = 0;
    unit.GetAttackAltitudes(c, low, high);
    return low;
}

// The contact's altitude when it is known (non-zero) and not below floor;
// else floor.
int16_t ContactAltitudeAbove(const Contact* contact, int16_t floor)
{
    const int16_t altitude = contact != nullptr ? contact->GetAltitude() : 0;
    return altitude != 0 && altitude >= floor ? altitude : floor;
}

// The altitude of a unit closing on a target of class c.
int16_t ApproachAltitude(const Unit& unit, uint32_t c)
{
    int16_t low = 0;
    int16_t high = 0;
    EnvelopeOf(unit, low, high);
    const bool submarine = unit.GetTypeLetter() == 'U';
    if (c == CLASS_SUBSURFACE)
        return submarine ? DEPTH_AGAINST_SUBMARINES : low;
    if (IsAirOrMissile(c))
        return high;
    return submarine ? DEPTH_AGAINST_OTHERS : high;
}

// The altitude of a unit pulling back while engaging a target of class c.
int16_t EngagingAltitude(const Unit& unit, uint32_t c, const Contact* contact)
{
    int16_t low = 0;
    int16_t high = 0;
    EnvelopeOf(unit, low, high);
    if (IsAirOrMissile(c))
        return ContactAltitudeAbove(contact, low);
    return unit.GetTypeLetter() == 'U' ? DEPTH_AGAINST_SUBMARINES : low;
}

// The propulsion setting of a unit closing on, engaging or approaching a
// target of the class.
int16_t SpeedSettingFor(const Unit& unit, uint32_t targetClass)
{
    const char letter = unit.GetTypeLetter();
    if (IsAircraftLetter(letter))
        return 1;
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    if (c == CLASS_SUBSURFACE)
        return 0;
    if (IsAirOrMissile(c))
        return 1;
    return letter == 'U' ? 0 : 1;
}

// A point on the line from a plane to its home base, percent + r of the
// way, r drawn below spread (spread lowered so that the two stay within
// 100). False for other units and for a plane whose base is gone.
bool HomewardPoint(const Unit& unit, int32_t percent, int32_t spread, LatLonPoint& out)
{
    const auto* const plane = dynamic_cast<const Plane*>(&unit);
    const Unit* const home = plane != nullptr ? gam2arena::FindUnit(plane->homeBaseID) : nullptr;
    if (home == nullptr)
        return false;
    if (percent + spread > 100)
        spread = 100 - percent;
    const int32_t share = percent + (spread > 0 ? gam2arena::Random(static_cast<uint16_t>(spread)) : 0);
    const NavVector toHome = NavMath::Get_Vector(unit.GetPosition(), home->GetPosition());
    const int64_t range = int64_t{toHome.range} * share / 100;
    out = NavMath::Get_LatLonPoint_From_Vector(unit.GetPosition(), static_cast<int32_t>(range), toHome.bearing);
    return true;
}

} // namespace

void InterceptMission::StepUnit(uint16_t unitID, uint8_t code)
{
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    // A member of a group is the group's to move, unless it shadows.
    if (unit->GetParentID() != 0 && record->state != InterceptState::ORDERED &&
        record->state != InterceptState::SHADOWING)
        return;
    missionFlags |= MissionFlag::NO_DELAY;   // from now on the emission settings are posted
    if ((unit->GetStateFlags() & SimObject::PATH_REQUESTED) != 0)
        return;   // under direct orders
    switch (record->state) {
    case MissionUnitState::ADDED:
    case MissionUnitState::IDLE:
        StepIdle(unitID, *unit, *record);
        break;
    case InterceptState::PROCEEDING:
    case InterceptState::ATTACKING:
        ProceedToIntercept(unitID, unit, record, nullptr, unit->GetPlantSetting(), unit->GetAltitude(), code);
        break;
    case InterceptState::SHADOWING:
    case InterceptState::ORDERED:
        StepShadowing(unitID, *unit, *record);
        break;
    case InterceptState::CLOSING:
        StepClosing(unitID, *unit, *record);
        break;
    case InterceptState::ENGAGING:
        StepEngaging(unitID, *unit, *record);
        break;
    case InterceptState::CLOSING_PLAIN:
        StepClosingPlain(unitID, *unit, *record, code);
        break;
    case InterceptState::DIPPING:
        StepDipping(unitID, *unit, *record);
        break;
    default:
        break;
    }
}

void InterceptMission::StepIdle(uint16_t unitID, Unit& unit, MissionUnitRec& record)
{
    if (StandingMission::WakeAtPathEnd(unit))
        return;
    SetUnitPosture(unitID, &record);
    const int16_t altitude = GetPatrolAltitude(&unit, 0);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, &unit, 0, altitude);
}

void InterceptMission::ProceedToIntercept(uint16_t unitID, Unit* unit, MissionUnitRec* record,
                                          const LatLonPoint* point, int16_t setting, int16_t altitude,
                                          uint8_t giveUp)
{
    if (unit == nullptr || record == nullptr || (unit->GetStateFlags() & SimObject::PATH_REQUESTED) != 0)
        return;
    if (StandingMission::WakeAtPathEnd(*unit))
        return;
    SetUnitPosture(unitID, record);
    LatLonPoint to;
    bool planned = false;
    if (giveUp == 0 && point != nullptr) {
        to = *point;
        planned = true;
    } else if (giveUp == 0) {
        Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
        uint32_t newSetting = 0;
        uint32_t time = 0;
        if (contact != nullptr)
            PlanApproach(contact, unit, record->targetID, newSetting, altitude, time, to);
        if (time != 0) {
            planned = true;
            setting = static_cast<int16_t>(newSetting);
            SetContactCheck(contact, 1);
            if (contact->GetArea() != nullptr &&
                NavMath::Get_Vector(unit->GetPosition(), to).range < CLOSING_DISTANCE) {
                const int16_t closing = IsPlainContact(contact) ? InterceptState::CLOSING_PLAIN : InterceptState::CLOSING;
                record->ChangeState(closing, record->targetID, contact->GetTypeFlags());
                PostStep(unitID);
                return;
            }
        }
    }
    if (!planned) {
        GiveUp(unitID, *record);
        return;
    }
    PositionNode leg(to);
    OrderLeg(unitID, *unit, leg, setting, altitude);
}

void InterceptMission::StepShadowing(uint16_t unitID, Unit& unit, MissionUnitRec& record)
{
    if (record.state == InterceptState::ORDERED) {
        record.state = InterceptState::SHADOWING;
        return;
    }
    Contact* const contact = StandingMission::FindTargetContact(unit, record);
    if (contact != nullptr && EngageIfInReach(&record, &unit, contact, LONGEST_LEG))
        return;
    record.ChangeState(MissionUnitState::IDLE, 0, 0);
    if (record.leaderID == 0) {
        unit.ClearPath();
        PostStep(unitID);
    } else {
        gam2side::NotifyParentUnit(unitID, 0);
    }
}

void InterceptMission::StepClosing(uint16_t unitID, Unit& unit, MissionUnitRec& record)
{
    if (StandingMission::WakeAtPathEnd(unit))
        return;
    Contact* const contact = StandingMission::FindTargetContact(unit, record);
    if (contact == nullptr || (contact->conditionBits & STATUS_LOST) != 0) {
        if (contact != nullptr)
            contact->stickyFlags &= static_cast<uint8_t>(~INTERCEPTOR_ASSIGNED);
        GiveUp(unitID, record);
        return;
    }
    if (contact->changeBits != 0 && IsPlainContact(contact)) {
        record.ChangeState(InterceptState::PROCEEDING, record.targetID, record.targetClass);
        PostStep(unitID);
        return;
    }
    SetContactCheck(contact, 1);
    SetUnitPosture(unitID, &record);
    LatLonPoint to;
    contact->GetPosition(to);
    if (to == unit.GetPosition()) {
        if (unit.GetTypeLetter() != 'P') {
            GiveUp(unitID, record);
            return;
        }
        // A plane on top of the target draws back a little toward its base.
        HomewardPoint(unit, 1, 2, to);
    }
    const uint32_t c = record.targetClass & ~CLASS_IGNORED;
    if (record.targetClass == CLASS_SUBSURFACE) {
        const NavVector leg = NavMath::Get_Vector(unit.GetPosition(), to);
        if (leg.range > LONGEST_LEG)
            to = NavMath::Get_LatLonPoint_From_Vector(unit.GetPosition(), LONGEST_LEG, leg.bearing);
    }
    PositionNode leg(to);
    OrderLeg(unitID, unit, leg, SpeedSettingFor(unit, record.targetClass), ApproachAltitude(unit, c));
    if (record.targetClass == CLASS_SUBSURFACE && IsAircraftLetter(unit.GetTypeLetter()) && !IsPlainContact(contact) &&
        Game2UI::BuildNavPath(unitID, &leg) && DeployUnitSensor(&unit, 1) == DIPPING_SONAR_DEPLOYED)
        record.state = InterceptState::DIPPING;
}

void InterceptMission::StepEngaging(uint16_t unitID, Unit& unit, MissionUnitRec& record)
{
    if (StandingMission::WakeAtPathEnd(unit))
        return;
    Contact* const contact = StandingMission::FindTargetContact(unit, record);
    if (contact == nullptr || (contact->conditionBits & STATUS_LOST) != 0) {
        GiveUp(unitID, record);
        return;
    }
    if (!unit.HasContacts()) {
        record.ChangeState(InterceptState::PROCEEDING, record.targetID, record.targetClass);
        PostStep(unitID);
        return;
    }
    // Still engaging: a plane pulls back toward its base between attacks.
    LatLonPoint to;
    if (!HomewardPoint(unit, 10, 20, to)) {
        GiveUp(unitID, record);
        return;
    }
    SetUnitPosture(unitID, &record);
    PositionNode leg(to);
    OrderLeg(unitID, unit, leg, SpeedSettingFor(unit, record.targetClass),
             EngagingAltitude(unit, record.targetClass & ~CLASS_IGNORED, contact));
}

void InterceptMission::StepClosingPlain(uint16_t unitID, Unit& unit, MissionUnitRec& record, uint8_t code)
{
    if (StandingMission::WakeAtPathEnd(unit))
        return;
    SetUnitPosture(unitID, &record);
    LatLonPoint to;
    int16_t setting = SpeedSettingFor(unit, record.targetClass);
    int16_t altitude = ApproachAltitude(unit, record.targetClass & ~CLASS_IGNORED);
    bool going = false;
    if (code == 0) {
        Contact* const contact = StandingMission::FindTargetContact(unit, record);
        uint32_t newSetting = 0;
        uint32_t time = 0;
        if (contact != nullptr)
            PlanApproach(contact, &unit, record.targetID, newSetting, altitude, time, to);
        if (time != 0) {
            going = true;
            setting = static_cast<int16_t>(newSetting);
            SetContactCheck(contact, 1);
        }
    } else {
        going = HomewardPoint(unit, 5, 10, to);
    }
    if (!going) {
        GiveUp(unitID, record);
        return;
    }
    PositionNode leg(to);
    if (record.targetClass == CLASS_SUBSURFACE) {
        leg.AddEvent(MakeDropSonobuoyEvent(unitID, 0, 0));
        record.state = InterceptState::DROPPING;
    }
    OrderLeg(unitID, unit, leg, setting, altitude);
}

void InterceptMission::StepDipping(uint16_t unitID, Unit& unit, MissionUnitRec& record)
{
    if (PositionNode* const first = unit.GetPath()) {
        if (Event* const event = MakeMissionUnitEvent(unitID, GameTime(0))) {
            event->SetTime(GameTime(DIPPING_WAIT));
            first->LastOfChain()->AddEvent(event);
        }
        return;
    }
    SetUnitPosture(unitID, &record);
    const int16_t altitude = GetTaskAltitude(&unit, record.targetID, record.targetClass);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, &unit, SpeedSettingFor(unit, record.targetClass), altitude);
    record.state = InterceptState::CLOSING;
    PostStep(unitID);
}

void InterceptMission::GiveUp(uint16_t unitID, MissionUnitRec& record)
{
    record.ChangeState(MissionUnitState::IDLE, 0, 0);
    PostStep(unitID);
}

void InterceptMission::OrderLeg(uint16_t unitID, Unit& unit, PositionNode& leg, int16_t setting, int16_t altitude)
{
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, &unit, setting, altitude);
    Game2UI::SetUnitPath(unitID, &leg);
}

// ---- altitudes ----

int16_t InterceptMission::GetPatrolAltitude(Unit* unit, uint16_t)
{
    if (unit == nullptr)
        return 0;
    int16_t low = 0;
    int16_t high = 0;
    EnvelopeOf(*unit, low, high);
    return low;
}

int16_t InterceptMission::GetTaskAltitude(Unit* unit, uint16_t targetID, uint32_t targetClass)
{
    if (unit == nullptr)
        return 0;
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    const int16_t floor = ClassFloor(*unit, c);
    const bool aircraft = IsAircraftLetter(unit->GetTypeLetter());
    if (c == CLASS_SUBSURFACE)
        return aircraft ? floor : DEPTH_AGAINST_SUBMARINES;
    if (IsAirOrMissile(c)) {
        const SideContacts* const contacts = gam2arena::FindSide(unit->sideEntryID);
        return ContactAltitudeAbove(contacts != nullptr ? contacts->GetContact(targetID) : nullptr, floor);
    }
    return aircraft ? floor : DEPTH_AGAINST_OTHERS;
}

// ---- emissions and posture ----

void InterceptMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (record == nullptr || record->markBits != 0)
        return;
    record->DropSensorEvents();
    record->markBits = UNIT_POSTURE_APPLIED;
    if ((missionFlags & MissionFlag::NO_DELAY) == 0)
        return;
    const int16_t state = record->state;
    // One sensor type by the record's state first, then by the flags:
    // on, off or periodic with its timings; no flag, no order.
    const auto post = [&](uint32_t type, bool stateOn, uint32_t on, uint32_t off, uint32_t periodic,
                          const uint16_t (&timings)[4]) {
        if (stateOn || (missionFlags & on) != 0)
            PostSensorSetting(unitID, SENSORS_ON, type, 0, 0, 0, 0);
        else if ((missionFlags & off) != 0)
            PostSensorSetting(unitID, SENSORS_OFF, type, 0, 0, 0, 0);
        else if ((missionFlags & periodic) != 0)
            PostSensorSetting(unitID, SENSORS_ON, type, timings[0], static_cast<uint8_t>(timings[1]), timings[2],
                              static_cast<uint8_t>(timings[3]));
    };
    post(RADAR, state == InterceptState::ATTACKING, MissionFlag::RADAR_ON, MissionFlag::RADAR_OFF,
         MissionFlag::RADAR_PERIODIC, settingGroup1);
    post(ECM, state == InterceptState::ATTACKING || state == InterceptState::SHADOWING, MissionFlag::ECM_ON,
         MissionFlag::ECM_OFF, MissionFlag::ECM_PERIODIC, settingGroup3);
    // Aircraft keep their own sonar; a closing ship or submarine listens
    // actively while it moves or when the flags ask for it.
    const Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr || IsAircraftLetter(unit->GetTypeLetter()))
        return;
    if (state == InterceptState::CLOSING) {
        const bool active = (missionFlags & MissionFlag::SONAR_ON) != 0 ||
                            (record->isFormation == 0 && unit->GetPath() != nullptr);
        PostSensorSetting(unitID, active ? SENSORS_ON : SENSORS_OFF, SONAR, 0, 0, 0, 0);
        return;
    }
    post(SONAR, state == InterceptState::SHADOWING || state == InterceptState::ORDERED, MissionFlag::SONAR_ON,
         MissionFlag::SONAR_OFF, MissionFlag::SONAR_PERIODIC, settingGroup2);
}

void InterceptMission::SetAircraftPosture(Unit* unit, uint32_t kind)
{
    if (unit == nullptr || !IsAircraftLetter(unit->GetTypeLetter()))
        return;
    uint32_t posture = 4;   // a mixed or unusual class
    switch (kind & ~CLASS_IGNORED) {
    case 0: posture = 0; break;
    case 0x1: posture = 1; break;
    case CLASS_SUBSURFACE: posture = 2; break;
    case CLASS_AIR: posture = 8; break;
    case CLASS_MISSILE: posture = 0x10; break;
    default: break;
    }
    SetPlanePosture(*unit, posture);
}
