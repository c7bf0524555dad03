// OpsStaffEdit.cpp: the ops staff's side of the mission edit, from the
// mission list request to the end of editing: which mission each request
// reaches and the order in which the edit is committed or dropped. The
// missions' edit copies themselves are MissionEdit.cpp.
#include "missions/OpsStaff.h"

#include "core/Chain.h"
#include "core/CommandMessage.h"
#include "core/StringNode.h"

namespace {

// The mission an aircraft list goes back to (mission 1 for id 0), and the
// standing mission's edit copy that takes the released aircraft.
MissionRecord* FindAircraftListTarget(OpsStaff& staff, uint16_t missionID, PlaneRecRefList*& standingCopy)
{
    MissionRecord* const standing = staff.Find(STANDING_MISSION_ID);
    standingCopy = standing ? standing->GetEditReferences() : nullptr;
    return missionID != 0 ? staff.Find(missionID) : standing;
}

// Hands the editor's aircraft list to the mission through `apply`, with the
// standing mission's copy for the released aircraft; without either the
// list is dropped.
void GiveAircraftList(OpsStaff& staff, PlaneRecRefList* list, uint16_t missionID,
                      void (MissionRecord::*apply)(PlaneRecRefList*, PlaneRecRefList*))
{
    PlaneRecRefList* standingCopy = nullptr;
    MissionRecord* const mission = FindAircraftListTarget(staff, missionID, standingCopy);
    if (mission && standingCopy)
        (mission->*apply)(list, standingCopy);
    else
        delete list;
}

// Commits every mission's edit copies. Each step runs over every mission
// other than the standing one before the next starts: the standing mission
// first receives all aircraft, then gives back what each copy names.
void CommitEdit(OpsStaff& staff, MissionRecord& standing)
{
    auto eachEdited = [&](void (MissionRecord::*step)(MissionRecord*)) {
        for (MissionRecord* mission = staff.First(); mission; mission = mission->GetNext()) {
            if (mission->GetType() != MissionType::STANDING)
                (mission->*step)(&standing);
        }
    };
    eachEdited(&MissionRecord::ReturnAircraftToStanding);
    eachEdited(&MissionRecord::TakeEditedAircraft);
    standing.SyncEditReferences();
    eachEdited(&MissionRecord::ReleaseEditUnits);
    eachEdited(&MissionRecord::CommitEditUnits);
    standing.PostUnitEvents();
    standing.DropEditSettings();
    // What the standing mission offered was taken or stays: its copy ends
    // empty like every other.
    standing.editUnits.DeleteAll();
}

} // namespace

CommandMessage* OpsStaff::GetMissionList()
{
    Chain<StringNode>* const entries = new Chain<StringNode>;
    for (MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
        mission->BeginEdit();
        if (mission->GetType() != MissionType::STANDING)
            entries->Append(mission->ListEntry());
    }
    CommandMessage* const message = new CommandMessage(0, 0, 0, 0, nullptr, nullptr);
    message->AddTextList(entries);
    return message;
}

CommandMessage* OpsStaff::GetAssigned(uint16_t missionID)
{
    MissionRecord* const mission = Find(missionID);
    return mission ? mission->ListEditUnits() : nullptr;
}

void OpsStaff::SetAssigned(uint16_t missionID, CommandMessage* message)
{
    if (MissionRecord* const mission = Find(missionID))
        mission->SetEditUnits(message);
    else
        delete message;
}

CommandMessage* OpsStaff::GetUnAssigned(uint16_t missionID)
{
    return missionID != 0 ? GetAssigned(STANDING_MISSION_ID) : nullptr;
}

void OpsStaff::SetUnAssigned(uint16_t missionID, CommandMessage* message)
{
    if (missionID != 0)
        SetAssigned(STANDING_MISSION_ID, message);
    else
        delete message;
}

MissionNameRecord* OpsStaff::GetEditSettings(uint16_t missionID)
{
    MissionRecord* const mission = Find(missionID);
    return mission ? mission->GetEditSettings() : nullptr;
}

char* OpsStaff::CopySavedName(uint16_t missionID) const
{
    const MissionRecord* const mission = Find(missionID);
    return mission ? mission->CopySavedName() : nullptr;
}

PlaneRecRefList* OpsStaff::CopyOwnAircraft(uint16_t missionID)
{
    MissionRecord* const mission = missionID != 0 ? Find(missionID) : nullptr;
    return mission ? mission->CopyOwnAircraft() : nullptr;
}

void OpsStaff::ApplyAircraftList(PlaneRecRefList* list, uint16_t missionID)
{
    GiveAircraftList(*this, list, missionID, &MissionRecord::ApplyAircraftList);
}

void OpsStaff::ApplyAircraftListChecked(PlaneRecRefList* list, uint16_t missionID)
{
    GiveAircraftList(*this, list, missionID, &MissionRecord::ApplyAircraftListChecked);
}

void OpsStaff::DeleteMission(uint16_t missionID)
{
    MissionRecord* const standing = Find(STANDING_MISSION_ID);
    MissionRecord* const mission = missionID != 0 ? Find(missionID) : nullptr;
    if (mission && standing && mission != standing)
        mission->DeleteInEdit(standing);
}

void OpsStaff::StopEditingMissions(uint8_t commit)
{
    if (commit) {
        if (MissionRecord* const standing = Find(STANDING_MISSION_ID))
            CommitEdit(*this, *standing);
    } else {
        for (MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
            mission->ClearEditReferences();
            mission->CancelEdit();
        }
    }
    MissionRecord* mission = First();
    while (mission) {
        MissionRecord* const next = mission->GetNext();
        mission->FinishEditAircraft();
        const uint16_t type = mission->GetType();
        if (type != MissionType::STANDING && type != MissionType::HOLDING && mission->IsMarkedDeleted())
            RemoveAndDelete(mission);
        mission = next;
    }
}
