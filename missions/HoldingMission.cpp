// HoldingMission.cpp: mission 2: its construction, saved form and unit step.
#include "missions/HoldingMission.h"

HoldingMission::HoldingMission(uint16_t kind, const char* nameText, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = 1;
    SaveName();
}

HoldingMission::HoldingMission(uint16_t type, Side* owner)
{
    missionType = type;
    side = owner;
}

bool HoldingMission::Load(std::istream& in) { return LoadBase(in); }

bool HoldingMission::Save(std::ostream& out) { return SaveBase(out); }

void HoldingMission::ReleaseUnit(Unit*) {}

bool HoldingMission::LaunchForUnit(Unit*, uint16_t, uint16_t, uint16_t, uint8_t) { return true; }

void HoldingMission::SetAircraftPosture(Unit*, uint32_t) {}

void HoldingMission::StepUnit(uint16_t, uint8_t) {}

void HoldingMission::SaveName() {}

bool HoldingMission::LaunchReplacement(Unit*, MissionUnitRec*) { return true; }

void HoldingMission::KeepDefending(MissionUnitRec*, Unit*) {}
