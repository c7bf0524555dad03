// OpsStaff.cpp: the ops staff's construction, creation of missions, the
// side's mission pass and the saved form.
#include "missions/OpsStaff.h"

#include <istream>
#include <ostream>

namespace {

MissionKindMaker kindMakers[MissionKind::LAST + 1] = {};

} // namespace

MissionKindMaker GetMissionKindMaker(uint16_t kind) { return kind <= MissionKind::LAST ? kindMakers[kind] : nullptr; }

MissionKindMaker SetMissionKindMaker(uint16_t kind, MissionKindMaker maker)
{
    if (kind == 0 || kind > MissionKind::LAST)
        return nullptr;
    const MissionKindMaker previous = kindMakers[kind];
    kindMakers[kind] = maker;
    return previous;
}

OpsStaff::OpsStaff(Side* owner) : MissionList(owner) {}

uint16_t OpsStaff::CreateMission(const char*, uint16_t, const MissionNameRecord*, const IDList*) { return 0; }
uint16_t OpsStaff::CreateTargetedMissions(const char*, uint16_t, const MissionNameRecord*, uint16_t, const IDList*)
{
    return 0;
}
bool OpsStaff::IsStrikeTarget(uint16_t, uint16_t) { return false; }
uint16_t OpsStaff::CreateInterceptMission(const IDList*, const IDList*) { return 0; }
uint16_t OpsStaff::AssignInterceptMission(const IDList*, const IDList*) { return 0; }
void OpsStaff::DeleteAllMissions() {}
void OpsStaff::DeleteAllUnits() {}
bool OpsStaff::StepMissionPlanning() { return false; }
bool OpsStaff::StepMissionChecks() { return false; }
bool OpsStaff::HasAnyUnits() const { return false; }
uint16_t OpsStaff::FindMissionOfUnit(uint16_t) const { return 0; }
bool OpsStaff::ProcessUnitMission(uint16_t, uint16_t) { return false; }
void OpsStaff::MoveUnit(uint16_t, uint16_t, uint16_t) {}
void OpsStaff::MoveGroup(uint16_t, uint16_t, uint16_t) {}
void OpsStaff::MoveUnitToMission(uint16_t, uint16_t) {}
void OpsStaff::ReturnUnitToStanding(uint16_t, uint16_t) {}
void OpsStaff::ReturnGroupToStanding(uint16_t, uint16_t) {}
void OpsStaff::ReturnToStandingMission(uint16_t) {}
bool OpsStaff::RemoveUnit(uint16_t) { return false; }
uint16_t OpsStaff::PickFocusUnit() const { return 0; }
uint16_t OpsStaff::SetFocusUnit(uint16_t) { return 0; }
void OpsStaff::HandleMissionEvent(uint16_t, uint16_t) {}
void OpsStaff::StepUnit(uint16_t, uint8_t) {}
void OpsStaff::ReleaseUnit(uint16_t) {}
bool OpsStaff::LaunchForUnit(uint16_t, uint16_t, uint16_t, uint16_t, uint8_t) { return false; }
uint16_t OpsStaff::QueryUnitMission(uint16_t, uint16_t) { return 0; }
void OpsStaff::AddMissionPoints(uint16_t, IDList*) {}
void OpsStaff::RemoveMissionPoints(uint16_t, IDList*) {}
void OpsStaff::UserSetMissionUnitSensors(uint16_t) {}
void OpsStaff::SetUnitGroup(uint16_t, uint16_t) {}
std::string OpsStaff::GetUnitMissionInfo(uint16_t) const { return {}; }
std::string OpsStaff::GetMissionName(uint16_t) const { return {}; }
void OpsStaff::MissionNewName(const char*, uint16_t) {}
void OpsStaff::SetMissionSetting(uint8_t, uint16_t) {}
uint8_t OpsStaff::GetMissionSetting(uint16_t) const { return 0; }
void OpsStaff::UpdateAllMissions() {}
void OpsStaff::ReadyAircraftFor(PlaneRec*, uint16_t, uint16_t) {}
void OpsStaff::ApplyStoredOrder(uint16_t, uint16_t, uint16_t, uint16_t) {}
void OpsStaff::SetReferenceLoadout(uint16_t, uint16_t, uint16_t, uint16_t) {}
void OpsStaff::SetReferenceFlags(uint16_t, uint16_t, uint16_t, uint32_t) {}
void OpsStaff::ReduceReference(uint16_t, uint16_t, uint16_t, uint8_t) {}
void OpsStaff::MergeReferences(uint16_t, uint16_t, uint16_t, uint16_t) {}
void OpsStaff::SplitReference(uint16_t, uint16_t, uint16_t, uint16_t, uint8_t) {}
bool OpsStaff::RemoveReference(uint16_t, uint16_t, uint16_t) { return false; }
uint16_t OpsStaff::RefreshReference(uint16_t, uint16_t, uint16_t) { return 0; }
uint16_t OpsStaff::AddReference(uint16_t, uint16_t, uint16_t, uint16_t) { return 0; }
void OpsStaff::MoveReference(uint16_t, uint16_t, uint16_t, uint16_t) {}
bool OpsStaff::IsUnitLaunchPending(uint16_t, uint16_t, uint32_t) { return false; }
CommandMessage* OpsStaff::GetMissionList() { return nullptr; }
CommandMessage* OpsStaff::GetAssigned(uint16_t) { return nullptr; }
void OpsStaff::SetAssigned(uint16_t, CommandMessage*) {}
CommandMessage* OpsStaff::GetUnAssigned(uint16_t) { return nullptr; }
void OpsStaff::SetUnAssigned(uint16_t, CommandMessage*) {}
MissionNameRecord* OpsStaff::GetEditSettings(uint16_t) { return nullptr; }
char* OpsStaff::CopySavedName(uint16_t) const { return nullptr; }
PlaneRecRefList* OpsStaff::CopyOwnAircraft(uint16_t) { return nullptr; }
void OpsStaff::ApplyAircraftList(PlaneRecRefList*, uint16_t) {}
void OpsStaff::ApplyAircraftListChecked(PlaneRecRefList*, uint16_t) {}
void OpsStaff::DeleteMission(uint16_t) {}
void OpsStaff::StopEditingMissions(uint8_t) {}
bool OpsStaff::Save(std::ostream& out) const { return MissionList::Save(out); }
bool OpsStaff::Load(std::istream& in) { return MissionList::Load(in); }
uint16_t OpsStaff::InsertNewMission(MissionRecord*) { return 0; }
uint16_t OpsStaff::NextFreeMissionID() const { return 0; }
MissionRecord* OpsStaff::FindMissionHolding(uint16_t) const { return nullptr; }
void OpsStaff::RemoveAndDelete(MissionRecord*) {}
