// StationBridge.cpp: the installed calls of the stations of group members.
#include "units/StationBridge.h"

#include "units/PlaneRec.h"

namespace {
StationBridgeCalls gCalls;
}  // namespace

StationBridgeCalls SetStationBridgeCalls(const StationBridgeCalls& calls)
{
    const StationBridgeCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace engage {
bool ComputeIntercept(const LatLonPoint& targetPosition, int32_t targetCourse, int32_t targetSpeed,
                      const LatLonPoint& pursuerPosition, int32_t* outCourse, int32_t interceptSpeed,
                      int32_t* outTime, LatLonPoint* outPoint)
{
    return gCalls.computeIntercept != nullptr &&
           gCalls.computeIntercept(targetPosition, targetCourse, targetSpeed, pursuerPosition, outCourse,
                                   interceptSpeed, outTime, outPoint);
}
}  // namespace engage

namespace Game2UI {
bool BuildNavPath(uint16_t unitID, PositionNode* points)
{
    return gCalls.buildNavPath != nullptr && gCalls.buildNavPath(unitID, points);
}
}  // namespace Game2UI

namespace Game2UI2 {
void RefreshUnit(uint16_t unitID)
{
    if (gCalls.refreshUnit != nullptr)
        gCalls.refreshUnit(unitID);
}
}  // namespace Game2UI2

PositionNode* CreateSonobuoyLeg(uint16_t unitID, PositionNode* path, uint16_t buoyClass)
{
    return gCalls.createSonobuoyLeg != nullptr ? gCalls.createSonobuoyLeg(unitID, path, buoyClass) : path;
}

uint16_t FindSonobuoyType(const Unit& unit, uint16_t buoyClass)
{
    return gCalls.findSonobuoyType != nullptr ? gCalls.findSonobuoyType(unit, buoyClass) : 0;
}

namespace gam2side {
uint16_t GetUnitMissionID(uint16_t unitID)
{
    return gCalls.getUnitMissionID != nullptr ? gCalls.getUnitMissionID(unitID) : 0;
}
}  // namespace gam2side

namespace gam2anim {
uint16_t CanUnitEngage(uint32_t roleBits, uint16_t aircraftType, uint16_t holderID)
{
    return gCalls.canUnitEngage != nullptr ? gCalls.canUnitEngage(roleBits, aircraftType, holderID) : 0;
}

int32_t FindEngagingMount(uint16_t loadout, uint16_t aircraftType, uint16_t holderID)
{
    return gCalls.findEngagingMount != nullptr ? gCalls.findEngagingMount(loadout, aircraftType, holderID) : 0;
}
}  // namespace gam2anim

namespace UI2SIDE {
void UserSetMissionUnitSensors(uint16_t unitID)
{
    if (gCalls.userSetMissionUnitSensors != nullptr)
        gCalls.userSetMissionUnitSensors(unitID);
}
}  // namespace UI2SIDE

uint32_t PlaneRec::GetCapability(uint16_t mission) const
{
    return gCalls.planeCapability != nullptr ? gCalls.planeCapability(*this, mission) : GetCapabilities(mission);
}
