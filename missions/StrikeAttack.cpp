// StrikeAttack.cpp: the strike's attack cycle: picking, committing to and
// standing down from one target at a time.
#include "missions/StrikeMission.h"

void StrikeMission::OnSideScanned(SideContacts* side)
{
    MissionRecord::OnSideScanned(side);
}

bool StrikeMission::PlanAttack(SideContacts*)
{
    return false;
}

bool StrikeMission::CheckAttackOver(SideContacts*)
{
    return false;
}

bool StrikeMission::OrderUnitAttack(Contact*, MissionUnitRec*)
{
    return false;
}

bool StrikeMission::OrderAircraftAttack(Contact*, PlaneRecRef*)
{
    return false;
}

void StrikeMission::PrepareUnitsForTarget(Contact*)
{
}
