// StrikeReports.cpp: the strike's unit reports, release, target assignment
// and target pruning.
#include "missions/StrikeMission.h"

void StrikeMission::ReleaseUnit(Unit* unit)
{
    MissionRecord::ReleaseUnit(unit);
}

bool StrikeMission::LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID, uint8_t force)
{
    return MissionRecord::LaunchForUnit(unit, aircraftType, loadout, holderID, force);
}

void StrikeMission::SetAircraftPosture(Unit* unit, uint32_t kind)
{
    MissionRecord::SetAircraftPosture(unit, kind);
}

void StrikeMission::HandleMissionEvent(uint16_t code)
{
    MissionRecord::HandleMissionEvent(code);
}

void StrikeMission::OnUnitRemoved(MissionUnitRec* record)
{
    MissionRecord::OnUnitRemoved(record);
}

void StrikeMission::OnUnitAdded(MissionUnitRec* record)
{
    MissionRecord::OnUnitAdded(record);
}

void StrikeMission::OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done)
{
    MissionRecord::OnEngageResult(unitID, clearMark, contact, done);
}

void StrikeMission::CheckIdleState(MissionUnitRec* record)
{
    MissionRecord::CheckIdleState(record);
}

void StrikeMission::ClearReferenceOrder(PlaneRecRef* reference)
{
    MissionRecord::ClearReferenceOrder(reference);
}

void StrikeMission::PruneTargets(SideContacts*)
{
}
