// PatrolMission.cpp: the patrol's construction and saved form, its area,
// threat zone and description, point edits, altitudes, unit tests, emission
// orders, engagement reports and aircraft launch.
#include "missions/PatrolMission.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

PatrolMission::PatrolMission(uint16_t kind, const char* nameText, const IDList* points, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = NEW_FLAGS;
    CopyIDList(points, &PatrolPoints);
}

MissionRecord* PatrolMission::Make(uint16_t kind, const char* nameText, const IDList* points, uint16_t, Side* owner)
{
    return new PatrolMission(kind, nameText, points, owner);
}

PatrolMission::PatrolMission(uint16_t type, Side* owner)
{
    missionType = type;
    side = owner;
}

PatrolMission::~PatrolMission() = default;

bool PatrolMission::Load(std::istream& in) { return LoadBase(in); }
bool PatrolMission::Save(std::ostream& out) { return SaveBase(out); }
bool PatrolMission::IsValid() { return PatrolPoints.First() != nullptr; }
void PatrolMission::AddPoints(IDList*) {}
void PatrolMission::RemovePoints(IDList*) {}
void PatrolMission::SetAircraftPosture(Unit*, uint32_t) {}
int16_t PatrolMission::GetPatrolAltitude(Unit*, uint16_t) { return 0; }
int16_t PatrolMission::GetTaskAltitude(Unit*, uint16_t, uint32_t) { return 0; }
int16_t PatrolMission::GetAttackRunAltitude(Unit*, const MissionUnitRec*) { return 0; }
int16_t PatrolMission::GetTransitAltitude(Unit*) { return 0; }
int16_t PatrolMission::GetSearchAltitude(Unit*) const { return 0; }
int16_t PatrolMission::GetSubmarineLegAltitude(Unit*) { return 0; }
bool PatrolMission::CanUnitAttackClass(Unit*, const MissionUnitRec*) { return false; }
bool PatrolMission::IsUnitEligible(Unit*) const { return false; }
bool PatrolMission::IsNotSubmarine(Unit*) { return false; }
void PatrolMission::DefaultSettingGroup1() {}
void PatrolMission::DefaultSettingGroup2() {}
void PatrolMission::DefaultSettingGroup3() {}
void PatrolMission::SetUnitPosture(uint16_t, MissionUnitRec*) {}
void PatrolMission::SaveName() {}
void PatrolMission::OnEngageResult(uint16_t, uint8_t, Contact*, uint8_t) {}
void PatrolMission::CheckIdleState(MissionUnitRec*) {}
void PatrolMission::SetAircraftWait() {}
void PatrolMission::UpdateArea() {}
void PatrolMission::PostNameMessage(int32_t, int32_t, int32_t) const {}
