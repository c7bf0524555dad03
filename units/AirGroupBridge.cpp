// AirGroupBridge.cpp: the installed calls of the air group.
#include "units/AirGroupBridge.h"

namespace {
AirGroupBridgeCalls gCalls;
}  // namespace

AirGroupBridgeCalls SetAirGroupBridgeCalls(const AirGroupBridgeCalls& calls)
{
    const AirGroupBridgeCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace gam2side {
bool MissionUnitEvent(uint16_t groupID, uint16_t annexID, uint16_t loadoutID, uint16_t homeBaseID, int32_t lost)
{
    return gCalls.missionUnitEvent != nullptr && gCalls.missionUnitEvent(groupID, annexID, loadoutID, homeBaseID, lost);
}
}  // namespace gam2side

uint16_t GetLandDestination(const Event& landEvent)
{
    return gCalls.getLandDestination != nullptr ? gCalls.getLandDestination(landEvent) : 0;
}
