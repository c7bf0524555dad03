// MissionUnits.cpp: the unit records of a mission: adding, taking out and
// adopting units, moving a group's members to another mission, and the
// per-unit calls over every record.
#include "missions/MissionRecord.h"

#include "core/gam2arena.h"
#include "missions/MissionCalls.h"
#include "units/PlaneRec.h"
#include "units/PositionNode.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

bool IsFormationLetter(char letter) { return letter == 'G' || letter == 'A' || letter == 'g' || letter == 'B'; }

bool IsStationedLetter(char letter) { return letter == 'B' || letter == 'F'; }

// Stamps with newMission every aircraft record of the unit whose mission is
// one of `from` (a set of two ids; pass the same id twice for one).
void StampAircraft(Unit& unit, uint16_t fromA, uint16_t fromB, uint16_t newMission, bool notify)
{
    PlaneRecList* const list = unit.GetPlaneRecList();
    if (!list)
        return;
    for (PlaneRec* record = list->First(); record; record = record->GetNext()) {
        if (record->missionID == fromA || record->missionID == fromB)
            record->SetMissionID(newMission, notify);
    }
}

} // namespace

uint16_t MissionRecord::FirstUnitID() const
{
    const MissionUnitRec* const first = units.First();
    return first ? first->GetUnitID() : 0;
}

uint16_t MissionRecord::FindShipOtherThan(uint16_t unitID) const
{
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext()) {
        if (record->GetUnitID() == unitID)
            continue;
        const Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
        if (unit && unit->GetTypeLetter() == 'S' && !unit->TestFlags(0x40))
            return record->GetUnitID();
    }
    return 0;
}

void MissionRecord::MarkUserSensors(uint16_t unitID)
{
    if (MissionUnitRec* const record = units.Find(unitID))
        record->markBits |= UNIT_USER_SENSORS;
}

void MissionRecord::SetUnitGroup(uint16_t unitID, uint16_t leader)
{
    MissionUnitRec* const record = units.Find(unitID);
    if (!record)
        return;
    record->leaderID = leader;
    SetUnitPosture(unitID, record);
}

void MissionRecord::AddUnit(uint16_t unitID)
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (!unit || units.Find(unitID))   // a unit is in a mission once
        return;
    MissionUnitRec* const record = new MissionUnitRec(unitID);
    record->state = MissionUnitState::ADDED;
    record->leaderID = unit->GetParentID();
    const char letter = unit->GetTypeLetter();
    if (IsFormationLetter(letter))
        record->isFormation = 1;
    else
        StampAircraft(*unit, 0, STANDING_MISSION_ID, GetID(), false);
    units.Insert(record);
    OnUnitAdded(record);
    SetAircraftPosture(unit, 0);
    if (IsStationedLetter(letter))
        record->state = MissionUnitState::STATIONED;
    StepUnit(unitID, 0);
}

MissionUnitRec* MissionRecord::ExtractUnit(uint16_t unitID)
{
    MissionUnitRec* const record = units.Find(unitID);
    if (!record)
        return nullptr;
    units.Remove(record);
    if (Unit* const unit = gam2arena::FindUnit(unitID)) {
        if (unit->GetTypeLetter() == 'P' && record->state != MissionUnitState::DONE)
            LaunchReplacement(unit, record);
        const bool wasDone = record->state == MissionUnitState::DONE;
        record->ClearTarget(GetID());
        if (!wasDone) {
            unit->ClearPath();
            Nav2Game::StopUnit(unitID);
            record->DropQueuedEvents();
        }
        StampAircraft(*unit, GetID(), GetID(), STANDING_MISSION_ID, true);
    }
    if (record->leaderID != 0) {
        if (MissionUnitRec* const leader = units.Find(record->leaderID)) {
            leader->memberCount = leader->memberCount > record->memberCount
                                      ? static_cast<uint16_t>(leader->memberCount - record->memberCount)
                                      : 0;
        }
    }
    if (record->isFormation)
        record->memberCount = 0;
    OnUnitRemoved(nullptr);
    return record;
}

// Adds the record's count to its leader's record in this mission.
void MissionRecord::AddToLeader(const MissionUnitRec& record)
{
    if (record.leaderID == 0)
        return;
    if (MissionUnitRec* const leader = units.Find(record.leaderID))
        leader->memberCount = static_cast<uint16_t>(leader->memberCount + record.memberCount);
}

void MissionRecord::AdoptUnitQuietly(MissionUnitRec* record)
{
    if (!record)
        return;
    Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
    if (!unit) {   // the unit has left play while its record moved
        delete record;
        return;
    }
    if (IsStationedLetter(unit->GetTypeLetter()))
        record->state = MissionUnitState::STATIONED;
    record->leaderID = unit->GetParentID();
    units.Insert(record);
    StampAircraft(*unit, 0, STANDING_MISSION_ID, GetID(), true);
    SetAircraftPosture(unit, 0);
    AddToLeader(*record);
}

void MissionRecord::AdoptUnit(MissionUnitRec* record)
{
    if (!record)
        return;
    Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
    if (!unit) {   // the unit has left play while its record moved
        delete record;
        return;
    }
    const uint16_t unitID = record->GetUnitID();
    record->leaderID = unit->GetParentID();
    units.Insert(record);
    OnUnitAdded(record);
    if (IsStationedLetter(unit->GetTypeLetter()))
        record->state = MissionUnitState::STATIONED;
    SetAircraftPosture(unit, 0);
    StampAircraft(*unit, 0, STANDING_MISSION_ID, GetID(), true);
    StepUnit(unitID, 0);
    // The step may have moved the unit on; count it only while it is here.
    if (units.Find(unitID) == record)
        AddToLeader(*record);
}

void MissionRecord::MoveGroupMembers(uint16_t leader, MissionRecord* target)
{
    MissionUnitRec* next = nullptr;
    for (MissionUnitRec* record = units.First(); record; record = next) {
        next = record->GetNext();
        if (Unit* const unit = gam2arena::FindUnit(record->GetUnitID()))
            StampAircraft(*unit, GetID(), GetID(), STANDING_MISSION_ID, true);
        if (record->leaderID == leader && target && target != this) {
            MissionUnitRec* const moved = ExtractUnit(record->GetUnitID());
            target->AdoptUnitQuietly(moved);
        }
    }
}

bool MissionRecord::RemoveUnit(uint16_t unitID)
{
    MissionUnitRec* const record = units.Find(unitID);
    if (!record)
        return false;
    units.Remove(record);
    delete record;
    OnUnitRemoved(nullptr);
    return true;
}

void MissionRecord::PostUnitEvents()
{
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext())
        PostOrDrop(MakeMissionUnitEvent(record->GetUnitID(), GameTime(0)));
}

void MissionRecord::RefreshUnitPaths()
{
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext()) {
        const uint16_t unitID = record->GetUnitID();
        if (!gam2arena::FindUnit(unitID))
            continue;
        PositionNode* copy = Game2UI2::CopyUnitPath(unitID);
        Game2UI::SetUnitPath(unitID, copy);
        DeletePositionNodes(&copy);
    }
}

void MissionRecord::DeleteUnits()
{
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext()) {
        if (Unit* const unit = gam2arena::FindUnit(record->GetUnitID()))
            unit->ScheduleDeletion(0);
    }
}
