// StationBridge.h: the calls through which the stations of group members
// reach the layers above the unit model: the intercept solver of the
// engagement model, navigation paths and sonobuoy legs of the interface
// side, a unit's redraw, mission membership, the loadout choices for a
// launch, the mission's sensor orders and an aircraft record's capability.
// Their owners install them at start-up (SetStationBridgeCalls); until then
// no intercept is found, no path is built, and every question answers 0.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"

class PlaneRec;
class PositionNode;
class Unit;

struct StationBridgeCalls {
    bool (*computeIntercept)(const LatLonPoint& targetPosition, int32_t targetCourse, int32_t targetSpeed,
                             const LatLonPoint& pursuerPosition, int32_t* outCourse, int32_t interceptSpeed,
                             int32_t* outTime, LatLonPoint* outPoint) = nullptr;
    bool (*buildNavPath)(uint16_t unitID, PositionNode* points) = nullptr;
    PositionNode* (*createSonobuoyLeg)(uint16_t unitID, PositionNode* path, uint16_t buoyClass) = nullptr;
    uint16_t (*findSonobuoyType)(const Unit& unit, uint16_t buoyClass) = nullptr;
    void (*refreshUnit)(uint16_t unitID) = nullptr;
    uint16_t (*getUnitMissionID)(uint16_t unitID) = nullptr;
    uint16_t (*canUnitEngage)(uint32_t roleBits, uint16_t aircraftType, uint16_t holderID) = nullptr;
    int32_t (*findEngagingMount)(uint16_t loadout, uint16_t aircraftType, uint16_t holderID) = nullptr;
    void (*userSetMissionUnitSensors)(uint16_t unitID) = nullptr;
    uint32_t (*planeCapability)(const PlaneRec& record, uint16_t mission) = nullptr;
};

// Installs the calls; returns the ones they replace.
StationBridgeCalls SetStationBridgeCalls(const StationBridgeCalls& calls);

namespace engage {
// The meeting of a pursuer with a target on a steady course and speed
// (positions and courses in angle units, speeds in whole knots): true with
// the course, the seconds to the meeting and its point; false without the
// solver.
bool ComputeIntercept(const LatLonPoint& targetPosition, int32_t targetCourse, int32_t targetSpeed,
                      const LatLonPoint& pursuerPosition, int32_t* outCourse, int32_t interceptSpeed,
                      int32_t* outTime, LatLonPoint* outPoint);
}  // namespace engage

namespace Game2UI {
// Builds a navigation path for the unit through the chain of points; true
// when one was found (false without the bridge).
bool BuildNavPath(uint16_t unitID, PositionNode* points);
}  // namespace Game2UI

namespace Game2UI2 {
// Has the unit redraw itself.
void RefreshUnit(uint16_t unitID);
}  // namespace Game2UI2

// The path to fly for a sonobuoy leg along `path`, with the drops hung on
// it; the caller owns the answer. Without the bridge the path itself.
PositionNode* CreateSonobuoyLeg(uint16_t unitID, PositionNode* path, uint16_t buoyClass);
// The weapon record id of a loaded sonobuoy of the unit within the class;
// 0 when none (and without the bridge).
uint16_t FindSonobuoyType(const Unit& unit, uint16_t buoyClass);

namespace gam2side {
// The id of the unit's mission; 0 when none.
uint16_t GetUnitMissionID(uint16_t unitID);
}  // namespace gam2side

namespace gam2anim {
// The loadout the holder chooses for the aircraft type and role bits; 0 when
// none.
uint16_t CanUnitEngage(uint32_t roleBits, uint16_t aircraftType, uint16_t holderID);
// How many of the loadout the holder can supply for the type (-1: supply not
// counted); 0 when none.
int32_t FindEngagingMount(uint16_t loadout, uint16_t aircraftType, uint16_t holderID);
}  // namespace gam2anim

namespace UI2SIDE {
// Sets the sensors of the units of the unit's mission on the current side.
void UserSetMissionUnitSensors(uint16_t unitID);
}  // namespace UI2SIDE
