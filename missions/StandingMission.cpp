// StandingMission.cpp: mission 1: its construction, saved form and unit step.
#include "missions/StandingMission.h"

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

void StandingMission::ReleaseUnit(Unit*) {}

bool StandingMission::LaunchForUnit(Unit*, uint16_t, uint16_t, uint16_t, uint8_t) { return true; }

bool StandingMission::LaunchReplacement(Unit*, MissionUnitRec*) { return true; }

void StandingMission::StepUnit(uint16_t, uint8_t) {}

void StandingMission::SetUnitPosture(uint16_t, MissionUnitRec*) {}

void StandingMission::StepIdleUnit(MissionUnitRec*, Unit*) {}

void StandingMission::StepEngagingUnit(MissionUnitRec*, Unit*) {}
