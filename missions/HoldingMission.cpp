// HoldingMission.cpp: mission 2: its construction, saved form, description
// and unit step. The step's gate and helpers are StandingMission's.
#include "missions/HoldingMission.h"

#include <string>

#include "core/ResourceText.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"
#include "missions/StandingMission.h"
#include "units/Unit.h"

namespace {

// The flag word a new holding mission starts with.
constexpr uint32_t HOLDING_FLAGS = 0x1;

} // namespace

HoldingMission::HoldingMission(uint16_t kind, const char* nameText, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = HOLDING_FLAGS;
    SaveName();
}

HoldingMission::HoldingMission(uint16_t type, Side* owner)
{
    missionType = type;
    side = owner;
}

bool HoldingMission::Load(std::istream& in) { return LoadBase(in); }

bool HoldingMission::Save(std::ostream& out) { return SaveBase(out); }

void HoldingMission::ReleaseUnit(Unit* unit) { StandingMission::MarkUnitDone(*this, unit); }

bool HoldingMission::LaunchForUnit(Unit*, uint16_t, uint16_t, uint16_t, uint8_t) { return true; }

void HoldingMission::SetAircraftPosture(Unit* unit, uint32_t)
{
    if (unit != nullptr && unit->GetTypeLetter() == 'P')
        SetPlanePosture(*unit, 0);
}

void HoldingMission::StepUnit(uint16_t unitID, uint8_t)
{
    MissionUnitRec* record = nullptr;
    Unit* const unit = StandingMission::FindUnitToStep(*this, unitID, record);
    if (unit == nullptr)
        return;
    switch (record->state) {
    case MissionUnitState::ADDED:
    case MissionUnitState::IDLE: {
        if (StandingMission::WakeAtPathEnd(*unit))
            return;
        OpsStaff* const staff = side != nullptr ? side->GetOpsStaff() : nullptr;
        if (staff == nullptr)
            return;
        // The record goes with the unit: nothing of it is read after the move.
        if (record->isFormation == 0)
            staff->MoveUnit(unitID, GetID(), STANDING_MISSION_ID);
        else
            staff->MoveGroup(unitID, GetID(), STANDING_MISSION_ID);
        break;
    }
    case MissionUnitState::ON_DUTY:
    case MissionUnitState::ORDERED:
        KeepDefending(record, unit);
        break;
    default:
        break;
    }
}

void HoldingMission::KeepDefending(MissionUnitRec* record, Unit* unit)
{
    if (record->state == MissionUnitState::ORDERED) {
        record->state = MissionUnitState::ON_DUTY;
        return;
    }
    Contact* const contact = StandingMission::FindTargetContact(*unit, *record);
    if (contact != nullptr && EngageIfInReach(record, unit, contact, ENGAGE_REACH))
        return;
    record->SetState(MissionUnitState::IDLE, 0, 0);
}

void HoldingMission::SaveName()
{
    const std::string text = ResourceString(DESCRIPTION_TEXT);
    delete[] savedName;
    savedName = new char[text.size() + 1];
    text.copy(savedName, text.size());
    savedName[text.size()] = '\0';
}

bool HoldingMission::LaunchReplacement(Unit*, MissionUnitRec*) { return true; }
