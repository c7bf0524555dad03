// OpsStaffCalls.cpp: the ops staff's forwarders, each handing a request to
// the mission of an id or the mission that holds a unit. The mission edit is
// OpsStaffEdit.cpp.
#include "missions/OpsStaff.h"

#include "core/gam2arena.h"
#include "units/Unit.h"

void OpsStaff::HandleMissionEvent(uint16_t missionID, uint16_t code)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->HandleMissionEvent(code);
}

void OpsStaff::StepUnit(uint16_t unitID, uint8_t code)
{
    if (MissionRecord* const mission = FindMissionHolding(unitID))
        mission->StepUnit(unitID, code);
}

void OpsStaff::ReleaseUnit(uint16_t unitID)
{
    MissionRecord* const mission = FindMissionHolding(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (mission && unit)
        mission->ReleaseUnit(unit);
}

bool OpsStaff::LaunchForUnit(uint16_t unitID, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                             uint8_t force)
{
    MissionRecord* const mission = FindMissionHolding(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    return mission && unit && mission->LaunchForUnit(unit, aircraftType, loadout, holderID, force);
}

uint16_t OpsStaff::QueryUnitMission(uint16_t unitID, uint16_t value)
{
    MissionRecord* const mission = FindMissionHolding(unitID);
    return mission ? mission->QueryUnit(unitID, value) : 0;
}

void OpsStaff::AddMissionPoints(uint16_t missionID, IDList* ids)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->AddPoints(ids);
}

void OpsStaff::RemoveMissionPoints(uint16_t missionID, IDList* ids)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->RemovePoints(ids);
}

void OpsStaff::UserSetMissionUnitSensors(uint16_t unitID)
{
    if (MissionRecord* const mission = FindMissionHolding(unitID))
        mission->MarkUserSensors(unitID);
}

void OpsStaff::SetUnitGroup(uint16_t unitID, uint16_t leaderID)
{
    if (MissionRecord* const mission = FindMissionHolding(unitID))
        mission->SetUnitGroup(unitID, leaderID);
}

std::string OpsStaff::GetUnitMissionInfo(uint16_t unitID) const
{
    const MissionRecord* const mission = FindMissionHolding(unitID);
    return mission ? mission->GetUnitMissionText(unitID) : std::string();
}

std::string OpsStaff::GetMissionName(uint16_t missionID) const
{
    const MissionRecord* const mission = Find(missionID);
    return mission ? mission->GetUnitMissionText(0) : std::string();
}

void OpsStaff::MissionNewName(const char* text, uint16_t missionID)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->SetName(text);
}

void OpsStaff::SetMissionSetting(uint8_t value, uint16_t missionID)
{
    if (missionID == 0) {
        for (MissionRecord* mission = First(); mission; mission = mission->GetNext())
            mission->SetSetting(value);
    } else if (MissionRecord* const mission = Find(missionID)) {
        mission->SetSetting(value);
    }
}

uint8_t OpsStaff::GetMissionSetting(uint16_t missionID) const
{
    const MissionRecord* const mission = Find(missionID != 0 ? missionID : STANDING_MISSION2_ID);
    return mission ? mission->GetSetting() : 0;
}

void OpsStaff::UpdateAllMissions()
{
    for (MissionRecord* mission = First(); mission; mission = mission->GetNext())
        mission->RefreshUnitPaths();
}

void OpsStaff::ReadyAircraftFor(PlaneRec* record, uint16_t unitID, uint16_t target)
{
    if (MissionRecord* const mission = FindMissionHolding(unitID))
        mission->ReadyAircraftFor(record, target);
}

void OpsStaff::ApplyStoredOrder(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint16_t unitID)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->ApplyStoredOrder(holderID, recordID, unitID);
}

void OpsStaff::SetReferenceLoadout(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint16_t loadout)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->SetReferenceLoadout(holderID, recordID, loadout);
}

void OpsStaff::SetReferenceFlags(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint32_t flags)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->SetReferenceFlags(holderID, recordID, flags);
}

void OpsStaff::ReduceReference(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint8_t n)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->ReduceReference(holderID, recordID, n);
}

void OpsStaff::MergeReferences(uint16_t missionID, uint16_t holderID, uint16_t recordA, uint16_t recordB)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->MergeReferences(holderID, recordA, recordB);
}

void OpsStaff::SplitReference(uint16_t missionID, uint16_t holderID, uint16_t recordA, uint16_t recordB, uint8_t n)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->SplitReference(holderID, recordA, recordB, n);
}

bool OpsStaff::RemoveReference(uint16_t missionID, uint16_t holderID, uint16_t recordID)
{
    MissionRecord* const mission = Find(missionID);
    return mission && mission->RemoveReference(holderID, recordID);
}

uint16_t OpsStaff::RefreshReference(uint16_t holderID, uint16_t recordID, uint16_t missionID)
{
    MissionRecord* const mission = Find(missionID);
    if (!mission)
        return 0;
    mission->RefreshReference(holderID, recordID);
    return missionID;
}

uint16_t OpsStaff::AddReference(uint16_t holderID, uint16_t recordID, uint16_t missionID, uint16_t unitID)
{
    MissionRecord* const mission = Find(missionID);
    if (!mission)
        return 0;
    mission->AddReference(holderID, recordID, unitID);
    return missionID;
}

void OpsStaff::MoveReference(uint16_t holderID, uint16_t recordID, uint16_t fromID, uint16_t toID)
{
    MissionRecord* from = nullptr;
    MissionRecord* destination = nullptr;
    if (fromID == toID || !FindMoveEnds(fromID, toID, from, destination))
        return;
    if (PlaneRecRef* const reference = from->DetachReference(holderID, recordID))
        destination->AttachReference(reference);
}

bool OpsStaff::IsUnitLaunchPending(uint16_t holderID, uint16_t recordID, uint32_t value)
{
    for (MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
        if (PlaneRecRef* const reference = mission->FindReference(holderID, recordID))
            return mission->IsUnitLaunchPending(reference, value);
    }
    return false;
}
