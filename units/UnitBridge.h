// UnitBridge.h: the bridge calls through which the unit model tells the
// interface side about a unit and asks the map about a leg: the interface
// side of a changed or lost unit, a unit's planned path handed over, a unit
// detached from its group, and whether a leg suits a unit. The bridge
// installs them at start-up (SetUnitBridgeCalls); until then nothing is shown
// and no leg suits. Nav2Game::StopUnit, which needs only the model, is here
// too, and the platform database's status text of a mount, which the
// windows install.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"

class Mount;
class PositionNode;

struct UnitBridgeCalls {
    void (*unitDestroyed)(uint16_t unitID) = nullptr;
    void (*setUnitPath)(uint16_t unitID, const PositionNode* path) = nullptr;
    void (*detachFromGroup)(uint16_t groupID, uint16_t unitID) = nullptr;
    bool (*legValidForUnit)(uint16_t unitID, const LatLonPoint& from, const LatLonPoint& to) = nullptr;
    bool (*getMountStatusText)(const Mount& mount, char* out, uint16_t size) = nullptr;
};

// Installs the calls; returns the ones they replace.
UnitBridgeCalls SetUnitBridgeCalls(const UnitBridgeCalls& calls);

namespace ui2game {
// The interface side of a unit whose path or state changed or that is lost.
void UnitDestroyed(uint16_t unitID);
}  // namespace ui2game

namespace Game2UI {
// Gives the unit a copy of the path as its planned path and shows it; the
// caller keeps its chain.
void SetUnitPath(uint16_t unitID, const PositionNode* path);
}  // namespace Game2UI

namespace gam2grp {
// Detaches the unit from its group, which the bridge reports.
void DetachFromGroup(uint16_t groupID, uint16_t unitID);
}  // namespace gam2grp

namespace Nav2Game {
// True when the straight leg suits a unit of that kind; false without the
// bridge.
bool LegValidForUnit(uint16_t unitID, const LatLonPoint& from, const LatLonPoint& to);
// True when the point suits the unit: the leg test with the point as both
// ends; false without the bridge.
bool PointValidForUnit(uint16_t unitID, const LatLonPoint& point);
// Clears the unit's navigation orders: its pending route requests and path
// request flag, and its pending events of types 1, 7 and 4.
void StopUnit(uint16_t unitID);
}  // namespace Nav2Game

// The status lines of one mount, magazine or loadout of a unit into out (at
// most size bytes, terminated); true when its record was found. Without the
// call (or with size 0) an empty text and false.
bool GetMountStatusText(const Mount& mount, char* out, uint16_t size);
