// MissionAircraftCalls.cpp: the installed calls of the mission aircraft
// operations and their forwarders.
#include "missions/MissionAircraftCalls.h"

namespace {
MissionAircraftCalls gCalls;
}  // namespace

MissionAircraftCalls SetMissionAircraftCalls(const MissionAircraftCalls& calls)
{
    const MissionAircraftCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

uint16_t gam2anim::GetRoleClass(uint16_t aircraftType, uint16_t loadout)
{
    return gCalls.roleClass ? gCalls.roleClass(aircraftType, loadout) : 0;
}

void unit2gam::RemoveMissionEvents(uint16_t holderID, uint16_t recordID)
{
    if (gCalls.removeMissionEvents)
        gCalls.removeMissionEvents(holderID, recordID);
}

void SetPlanePosture(Unit& unit, uint32_t posture)
{
    if (gCalls.setPosture)
        gCalls.setPosture(unit, posture);
}

uint16_t GetUnitCapabilities(Unit& unit, uint16_t kind)
{
    return gCalls.getCapabilities ? gCalls.getCapabilities(unit, kind) : 0;
}
