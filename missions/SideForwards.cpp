// SideForwards.cpp: the side's one-line forwards to its ops staff. A side
// always has one once constructed; the checks keep a damaged state from
// turning into a crash.
#include "core/ErrorReport.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"

uint16_t Side::GetFocusUnitID() const { return opsStaff ? opsStaff->GetFocusUnitID() : 0; }

uint16_t Side::SetFocusUnit(uint16_t unitID) { return opsStaff ? opsStaff->SetFocusUnit(unitID) : 0; }

void Side::HandleMissionEvent(uint16_t missionID, uint16_t code)
{
    if (opsStaff)
        opsStaff->HandleMissionEvent(missionID, code);
}

void Side::HandleMissionUnitEvent(uint16_t unitID, uint8_t code)
{
    if (opsStaff)
        opsStaff->StepUnit(unitID, code);
}

void Side::RemoveMissionListIDs(uint16_t missionID, IDList* ids)
{
    if (opsStaff)
        opsStaff->RemoveMissionPoints(missionID, ids);
}

void Side::AddMissionListIDs(uint16_t missionID, IDList* ids)
{
    if (opsStaff)
        opsStaff->AddMissionPoints(missionID, ids);
}

void Side::SetMissionSetting(uint8_t setting, uint16_t missionID)
{
    if (opsStaff)
        opsStaff->SetMissionSetting(setting, missionID);
}

uint8_t Side::GetMissionSetting(uint16_t missionID) const
{
    return opsStaff ? opsStaff->GetMissionSetting(missionID) : 0;
}

std::string Side::GetMissionInfo(uint16_t missionID) const
{
    return opsStaff ? opsStaff->GetMissionName(missionID) : std::string();
}

std::string Side::GetUnitMissionInfo(uint16_t unitID) const
{
    return opsStaff ? opsStaff->GetUnitMissionInfo(unitID) : std::string();
}

uint16_t Side::CreateNewMission(const char* nameText, uint16_t kind, MissionNameRecord settings, const IDList* ids)
{
    return opsStaff ? opsStaff->CreateMission(nameText, kind, &settings, ids) : 0;
}

uint16_t Side::CreateNewTargetedMission(const char* nameText, uint16_t kind, MissionNameRecord settings,
                                        uint16_t singleID, const IDList* selection)
{
    return opsStaff ? opsStaff->CreateTargetedMissions(nameText, kind, &settings, singleID, selection) : 0;
}

uint16_t Side::CreateInterceptMission(const IDList* selected, const IDList* targets)
{
    return opsStaff ? opsStaff->CreateInterceptMission(selected, targets) : 0;
}

uint16_t Side::AssignInterceptMission(const IDList* selected, const IDList* targets)
{
    return opsStaff ? opsStaff->AssignInterceptMission(selected, targets) : 0;
}

void Side::UpdateAllMissions()
{
    if (opsStaff)
        opsStaff->UpdateAllMissions();
}

void Side::AssignMissionUnits(PlaneRecRefList* list, uint16_t missionID)
{
    if (opsStaff)
        opsStaff->ApplyAircraftList(list, missionID);
}

void Side::UnassignMissionUnits(PlaneRecRefList* list, uint16_t missionID)
{
    if (opsStaff)
        opsStaff->ApplyAircraftListChecked(list, missionID);
}

PlaneRecRefList* Side::GetMissionUnitCopy(uint16_t missionID)
{
    return opsStaff ? opsStaff->CopyOwnAircraft(missionID) : nullptr;
}

void Side::StopEditingMissions(uint8_t commit)
{
    if (opsStaff)
        opsStaff->StopEditingMissions(commit);
}

void Side::DeleteMission(uint16_t missionID)
{
    if (opsStaff)
        opsStaff->DeleteMission(missionID);
}

MissionNameRecord* Side::GetMissionUnAssigned(uint16_t missionID)
{
    return opsStaff ? opsStaff->GetEditSettings(missionID) : nullptr;
}

char* Side::SetMissionUnAssigned(uint16_t missionID)
{
    return opsStaff ? opsStaff->CopySavedName(missionID) : nullptr;
}

CommandMessage* Side::GetUnAssigned(uint16_t flag)
{
    if (!opsStaff) {
        ErrorBox("Side::GetUnAssigned:  ops_staff is NULL (game may be unstable now)");
        return nullptr;
    }
    return opsStaff->GetUnAssigned(flag);
}

void Side::SetUnAssigned(uint16_t flag, CommandMessage* data)
{
    bool good = true;
    if (!opsStaff) {
        ErrorBox("Side::SetUnAssigned:  ops_staff is NULL (game may be unstable now)");
        good = false;
    }
    if (!data) {
        ErrorBox("Side::SetUnAssigned:  data is NULL (game may be unstable now)");
        good = false;
    }
    if (good)
        opsStaff->SetUnAssigned(flag, data);
}

CommandMessage* Side::GetAssigned(uint16_t missionID) { return opsStaff ? opsStaff->GetAssigned(missionID) : nullptr; }

void Side::SetAssigned(uint16_t missionID, CommandMessage* data)
{
    if (opsStaff)
        opsStaff->SetAssigned(missionID, data);
}

CommandMessage* Side::GetMissionList() { return opsStaff ? opsStaff->GetMissionList() : nullptr; }

bool Side::MissionUnitReport(uint16_t unitID, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                             uint8_t force)
{
    return opsStaff ? opsStaff->LaunchForUnit(unitID, aircraftType, loadout, holderID, force) : false;
}

void Side::MissionReleaseUnit(uint16_t unitID)
{
    if (opsStaff)
        opsStaff->ReleaseUnit(unitID);
}

void Side::MissionNewName(const char* text, uint16_t missionID)
{
    if (opsStaff)
        opsStaff->MissionNewName(text, missionID);
}

uint16_t Side::FindMissionOfUnit(uint16_t unitID) const { return opsStaff ? opsStaff->FindMissionOfUnit(unitID) : 0; }

bool Side::IsUnitInAnyMission(uint16_t unitID) const { return opsStaff ? opsStaff->IsUnitAssigned(unitID) : false; }

void Side::MoveUnitWithinMission(uint16_t unitID, uint16_t missionID)
{
    if (opsStaff)
        opsStaff->MoveUnitToMission(unitID, missionID);
}

void Side::UserSetMissionUnitSensors(uint16_t unitID)
{
    if (opsStaff)
        opsStaff->UserSetMissionUnitSensors(unitID);
}

void Side::ReturnToStandingMission(uint16_t unitID)
{
    if (opsStaff)
        opsStaff->ReturnToStandingMission(unitID);
}

void Side::ReleaseMissionUnits()
{
    if (opsStaff)
        opsStaff->ReleaseMissionUnits();
}

bool Side::ProcessUnitMission(uint16_t unitID, uint16_t missionID)
{
    return opsStaff ? opsStaff->ProcessUnitMission(unitID, missionID) : false;
}

void Side::TellMission(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint32_t flags)
{
    if (opsStaff)
        opsStaff->SetReferenceFlags(missionID, holderID, recordID, flags);
}

void Side::TellMissionChanged(uint16_t holderID, uint16_t recordID, uint16_t fromMission, uint16_t toMission)
{
    if (opsStaff)
        opsStaff->MoveReference(holderID, recordID, fromMission, toMission);
}

void Side::TellLoadoutChanged(uint16_t missionID, uint16_t holderID, uint16_t recordID, uint16_t loadoutID)
{
    if (opsStaff)
        opsStaff->SetReferenceLoadout(missionID, holderID, recordID, loadoutID);
}

void Side::TellPlaneRecSplit(uint16_t missionID, uint16_t holderID, uint16_t oldRecord, uint16_t newRecord,
                             uint8_t count)
{
    if (opsStaff)
        opsStaff->SplitReference(missionID, holderID, oldRecord, newRecord, count);
}

void Side::AskMission(uint16_t missionID, uint16_t holderID, uint16_t keptRecord, uint16_t mergedRecord)
{
    if (opsStaff)
        opsStaff->MergeReferences(missionID, holderID, keptRecord, mergedRecord);
}

bool Side::MissionTest(uint16_t missionID, uint16_t holderID, uint16_t recordID)
{
    return opsStaff ? opsStaff->RemoveReference(missionID, holderID, recordID) : false;
}

uint16_t Side::AddPlaneRecID(uint16_t holderID, uint16_t recordID, uint16_t missionID, uint16_t sourceUnitID)
{
    if (!opsStaff)
        return 0;
    const uint16_t used = opsStaff->AddReference(holderID, recordID, missionID, sourceUnitID);
    return used != 0 ? used : opsStaff->AddReference(holderID, recordID, STANDING_MISSION_ID, sourceUnitID);
}

void Side::SetUnitGroup(uint16_t unitID, uint16_t leaderID)
{
    if (opsStaff)
        opsStaff->SetUnitGroup(unitID, leaderID);
}
