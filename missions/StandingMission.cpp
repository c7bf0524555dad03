// StandingMission.cpp: mission 1: its construction, saved form, unit step and
// sensor posture; and the step gate and helpers it shares with mission 2.
#include "missions/StandingMission.h"

#include <string>

#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/SideContacts.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/AirGroup.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/SimObject.h"
#include "units/UnitEvents.h"
#include "units/Unit.h"

namespace {

// Message class of the report of an idle unit to the player.
constexpr uint16_t IDLE_REPORT_CLASS = 0x20;
// Depth a submarine left idle goes to.
constexpr int16_t IDLE_SUBMARINE_ALTITUDE = -2;

// Sensor orders of the posture: modes, and what each value switches.
constexpr uint16_t SENSORS_ACTIVE = 2;
constexpr uint16_t SENSORS_PASSIVE = 3;
constexpr uint32_t POSTURE_ENGAGING = 1;
constexpr uint32_t POSTURE_ON_DUTY = 5;
constexpr uint32_t POSTURE_IDLE = 7;

bool IsAircraft(char letter) { return letter == 'P' || letter == 'A'; }

// Sends the unit to land at a base now.
void SendHome(uint16_t unitID, uint16_t baseID)
{
    PostOrDrop(MakeLandEvent(unitID, baseID, GameTime(0)));
}

} // namespace

StandingMission::StandingMission(uint16_t kind, const char* nameText, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = 0;
    SaveName();
}

StandingMission::StandingMission(uint16_t type, Side* owner)
{
    missionType = type;
    side = owner;
}

bool StandingMission::Load(std::istream& in) { return LoadBase(in); }

bool StandingMission::Save(std::ostream& out) { return SaveBase(out); }

void StandingMission::ReleaseUnit(Unit* unit) { MarkUnitDone(*this, unit); }

bool StandingMission::LaunchForUnit(Unit*, uint16_t, uint16_t, uint16_t, uint8_t) { return true; }

bool StandingMission::LaunchReplacement(Unit*, MissionUnitRec*) { return true; }

void StandingMission::StepUnit(uint16_t unitID, uint8_t)
{
    MissionUnitRec* record = units.Find(unitID);
    if (record == nullptr || record->state == MissionUnitState::DONE)
        return;
    Unit* const unit = FindUnitToStep(*this, unitID, record);
    if (unit == nullptr)
        return;
    switch (record->state) {
    case MissionUnitState::ADDED:
    case MissionUnitState::IDLE:
        StepIdleUnit(record, unit);
        break;
    case MissionUnitState::ON_DUTY:
    case MissionUnitState::ORDERED:
        StepEngagingUnit(record, unit);
        break;
    default:
        break;
    }
}

void StandingMission::StepIdleUnit(MissionUnitRec* record, Unit* unit)
{
    if (WakeAtPathEnd(*unit))
        return;
    const uint16_t unitID = unit->GetKey();
    const bool playerSide = side != nullptr && side->GetClearOrders() != 0;
    if (!playerSide) {
        const char letter = unit->GetTypeLetter();
        const auto* const plane = dynamic_cast<const Plane*>(unit);
        const auto* const group = dynamic_cast<const AirGroup*>(unit);
        if (plane != nullptr && plane->homeBaseID != 0 && record->leaderID == 0)
            SendHome(unitID, plane->homeBaseID);
        else if (group != nullptr && group->GetLeadHomeBase() != 0)
            SendHome(unitID, group->GetLeadHomeBase());
        else if (letter == 'U')
            OrderUnitAltitude(unitID, IDLE_SUBMARINE_ALTITUDE);
        return;
    }
    std::string text = unit->GetName().Text();
    if (record->isFormation == 0) {
        text += ' ';
        text += unit->GetClassName().Text();
    }
    text += ResourceString(IDLE_REPORT_TEXT);
    ui2game::PostGameMessage(unit->GetSideID(), 0, text.c_str(), IDLE_REPORT_CLASS, ' ');
}

void StandingMission::StepEngagingUnit(MissionUnitRec* record, Unit* unit)
{
    if (record->state == MissionUnitState::ORDERED) {
        record->state = MissionUnitState::ON_DUTY;
        return;
    }
    if (record->state != MissionUnitState::ON_DUTY)
        return;
    Contact* const contact = FindTargetContact(*unit, *record);
    if (contact != nullptr && EngageIfInReach(record, unit, contact, ENGAGE_REACH))
        return;
    record->SetState(MissionUnitState::IDLE, 0, 0);
    if (record->leaderID != 0)
        gam2side::NotifyParentUnit(unit->GetKey(), 0);
}

void StandingMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (record == nullptr || (record->markBits & UNIT_POSTURE_APPLIED) != 0)
        return;
    switch (record->state) {
    case MissionUnitState::ENGAGING:
        PostSensorSetting(unitID, SENSORS_ACTIVE, POSTURE_ENGAGING, 0, 0, 0, 0);
        break;
    case MissionUnitState::ON_DUTY:
    case MissionUnitState::ORDERED: {
        const Unit* const unit = gam2arena::FindUnit(unitID);
        if (unit == nullptr)
            return;
        // Aircraft keep the sensors their own posture gives them.
        if (!IsAircraft(unit->GetTypeLetter()))
            PostSensorSetting(unitID, SENSORS_ACTIVE, POSTURE_ON_DUTY, 0, 0, 0, 0);
        break;
    }
    default:
        PostSensorSetting(unitID, SENSORS_PASSIVE, POSTURE_IDLE, 0, 0, 0, 0);
        break;
    }
    record->markBits |= UNIT_POSTURE_APPLIED;
}

// ---- shared with mission 2 ----

Unit* StandingMission::FindUnitToStep(MissionRecord& mission, uint16_t unitID, MissionUnitRec*& record)
{
    record = mission.units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return nullptr;
    const char letter = unit->GetTypeLetter();
    if (letter == 'B' || letter == 'F')
        return nullptr;
    if (unit->GetParentID() != 0 && record->state != MissionUnitState::ON_DUTY &&
        record->state != MissionUnitState::ORDERED)
        return nullptr;
    if ((unit->GetStateFlags() & SimObject::PATH_REQUESTED) != 0)
        return nullptr;
    return unit;
}

void StandingMission::MarkUnitDone(MissionRecord& mission, Unit* unit)
{
    if (unit == nullptr)
        return;
    MissionUnitRec* const record = mission.units.Find(unit->GetKey());
    if (record != nullptr && record->state != MissionUnitState::DONE)
        record->state = MissionUnitState::DONE;
}

Contact* StandingMission::FindTargetContact(const Unit& unit, const MissionUnitRec& record)
{
    SideContacts* const contacts = gam2arena::FindSide(unit.sideEntryID);
    return contacts != nullptr ? contacts->GetContact(record.targetID) : nullptr;
}

bool StandingMission::WakeAtPathEnd(Unit& unit)
{
    PositionNode* const first = unit.GetPath();
    if (first == nullptr)
        return false;
    Event* const event = MakeMissionUnitEvent(unit.GetKey(), GameTime(0));
    if (event != nullptr)
        first->LastOfChain()->AddEvent(event);
    return true;
}
