// AirGroupBridge.h: what an air group needs of the layers above the unit
// model: the report to its mission when its aircraft have landed or it has
// lost them all, and the destination a landing event names. The owners
// install these calls at start-up (SetAirGroupBridgeCalls); until then the
// mission never takes the members and a landing event names no destination.
#pragma once

#include <cstdint>

class Event;

struct AirGroupBridgeCalls {
    // The group's report to its mission about its aircraft of a type,
    // loadout and home base: landed 1 when the group has lost its last
    // member, 0 when every member has landed. True when the mission takes
    // the members over.
    bool (*missionUnitEvent)(uint16_t groupID, uint16_t annexID, uint16_t loadoutID, uint16_t homeBaseID,
                             int32_t lost) = nullptr;
    // The destination unit of a landing event; 0 when it names none.
    uint16_t (*getLandDestination)(const Event& landEvent) = nullptr;
};

// Installs the calls; returns the ones they replace.
AirGroupBridgeCalls SetAirGroupBridgeCalls(const AirGroupBridgeCalls& calls);

namespace gam2side {
bool MissionUnitEvent(uint16_t groupID, uint16_t annexID, uint16_t loadoutID, uint16_t homeBaseID, int32_t lost);
}  // namespace gam2side

// The destination unit of a landing event; 0 without the call.
uint16_t GetLandDestination(const Event& landEvent);
