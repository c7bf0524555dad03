// OpsStaffUnits.cpp: the ops staff's units: which mission holds a unit, new
// units put into a mission, units and groups moved between missions, units
// removed, and the side's focus unit.
#include "missions/OpsStaff.h"

#include "core/gam2arena.h"
#include "engagement/SideContacts.h"
#include "units/Group.h"
#include "units/GroupIdentity.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "world/Game2UI2.h"

bool OpsStaff::IsGroupLike(const Unit& unit)
{
    const char letter = unit.GetTypeLetter();
    return letter == 'G' || letter == 'A' || letter == 'g' || letter == 'B';
}

void OpsStaff::DetachFromOutsideGroup(const Unit& unit, const IDList& selected)
{
    const uint16_t groupID = unit.GetParentID();
    if (groupID != 0 && !selected.Find(groupID))
        gam2grp::DetachFromGroup(groupID, unit.GetID());
}

MissionRecord* OpsStaff::FindMissionHolding(uint16_t unitID) const
{
    for (MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
        if (mission->HasUnit(unitID))
            return mission;
    }
    return nullptr;
}

uint16_t OpsStaff::FindMissionOfUnit(uint16_t unitID) const
{
    const MissionRecord* const mission = FindMissionHolding(unitID);
    return mission ? mission->GetID() : 0;
}

bool OpsStaff::ProcessUnitMission(uint16_t unitID, uint16_t missionID)
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    MissionRecord* const mission = Find(missionID);
    if (!unit || unit->GetTypeLetter() == 'W' || !mission)
        return false;
    mission->AddUnit(unitID);
    if (FocusUnitID == 0)
        ApplyFocus(unitID);
    if (IsGroupLike(*unit)) {
        if (const Group* const group = dynamic_cast<const Group*>(unit)) {
            // A member's own start may change the member list: walk a copy.
            IDList members;
            for (const GroupEntry* entry = group->members.First(); entry; entry = entry->GetNext())
                members.Insert(new IDNode(entry->GetKey()));
            for (const IDNode* node = members.First(); node; node = node->GetNext()) {
                const uint16_t holder = FindMissionOfUnit(node->GetKey());
                if (holder == 0)
                    ProcessUnitMission(node->GetKey(), missionID);
                else
                    MoveUnit(node->GetKey(), holder, missionID);
            }
        }
    }
    return true;
}

bool OpsStaff::FindMoveEnds(uint16_t fromID, uint16_t toID, MissionRecord*& from, MissionRecord*& destination) const
{
    from = Find(fromID);
    destination = Find(toID);
    if (!destination)
        destination = Find(STANDING_MISSION_ID);
    return from && destination && destination != from;
}

void OpsStaff::PlaceRecord(MissionRecord& destination, MissionUnitRec* record)
{
    if (destination.GetID() == STANDING_MISSION2_ID)
        destination.AdoptUnitQuietly(record);
    else
        destination.AdoptUnit(record);
}

void OpsStaff::MoveUnit(uint16_t unitID, uint16_t fromID, uint16_t toID)
{
    MissionRecord* from = nullptr;
    MissionRecord* destination = nullptr;
    if (fromID == toID || !FindMoveEnds(fromID, toID, from, destination))
        return;
    MissionUnitRec* const record = from->ExtractUnit(unitID);
    if (record)
        PlaceRecord(*destination, record);
}

void OpsStaff::MoveGroup(uint16_t unitID, uint16_t fromID, uint16_t toID)
{
    MissionRecord* from = nullptr;
    MissionRecord* destination = nullptr;
    if (!FindMoveEnds(fromID, toID, from, destination))
        return;
    MissionUnitRec* const record = from->ExtractUnit(unitID);
    if (!record)
        return;
    PlaceRecord(*destination, record);
    from->MoveGroupMembers(unitID, destination);
}

void OpsStaff::MoveUnitToMission(uint16_t unitID, uint16_t toID)
{
    const uint16_t fromID = FindMissionOfUnit(unitID);
    if (fromID != 0)
        MoveUnit(unitID, fromID, toID);
}

void OpsStaff::ReturnUnitToStanding(uint16_t unitID, uint16_t fromID)
{
    if (fromID != 0)
        MoveUnit(unitID, fromID, STANDING_MISSION_ID);
}

void OpsStaff::ReturnGroupToStanding(uint16_t unitID, uint16_t fromID)
{
    if (fromID != 0)
        MoveGroup(unitID, fromID, STANDING_MISSION_ID);
}

void OpsStaff::ReturnToStandingMission(uint16_t unitID)
{
    const MissionRecord* const standing = Find(STANDING_MISSION_ID);
    if (!standing || !standing->HasUnit(unitID))
        return;
    const uint16_t groupID = gam2grp::GetGroupID(unitID);
    if (groupID == unitID)
        MoveGroup(unitID, STANDING_MISSION_ID, STANDING_MISSION2_ID);
    else if (groupID == 0)
        MoveUnit(unitID, STANDING_MISSION_ID, STANDING_MISSION2_ID);
}

bool OpsStaff::RemoveUnit(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    if (!unit || unit->GetTypeLetter() == 'W')
        return false;
    bool removed = false;
    for (MissionRecord* mission = First(); mission && !removed; mission = mission->GetNext())
        removed = mission->RemoveUnit(unitID);
    if (FocusUnitID == unitID) {
        if (const uint16_t pick = PickFocusUnit())
            ApplyFocus(pick);
    }
    return removed;
}

// ---- focus unit ----

uint16_t OpsStaff::PickFocusUnit() const
{
    const MissionRecord* const holding = Find(STANDING_MISSION2_ID);
    const MissionRecord* const standing = Find(STANDING_MISSION_ID);
    if (const uint16_t id = holding ? holding->FindShipOtherThan(FocusUnitID) : 0)
        return id;
    if (const uint16_t id = standing ? standing->FindShipOtherThan(FocusUnitID) : 0)
        return id;
    for (const MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
        if (mission->GetID() <= STANDING_MISSION_ID)
            continue;
        if (const uint16_t id = mission->FindShipOtherThan(FocusUnitID))
            return id;
    }
    for (const MissionRecord* mission = First(); mission; mission = mission->GetNext()) {
        if (const uint16_t id = mission->FirstUnitID())
            return id;
    }
    return 0;
}

uint16_t OpsStaff::SetFocusUnit(uint16_t unitID)
{
    if (unitID == 0)
        unitID = PickFocusUnit();
    else if (!IsUnitAssigned(unitID))
        return 0;
    return ApplyFocus(unitID);
}

uint16_t OpsStaff::ApplyFocus(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    if (!unit)
        return 0;
    uint16_t focus = unitID;
    const Group* const group = dynamic_cast<const Group*>(unit);
    if (group && group->GetGroupLetter() != 0 && group->leadID != 0)
        focus = group->leadID;
    FocusUnitID = focus;
    if (unit->GetSideID() == Game2UI2::GetCurrentSideID()) {
        if (SideContacts* const record = gam2arena::FindSide(unit->sideEntryID))
            gam2arena::SetCurrentSide(record);
    }
    return focus;
}
