// MissionCalls.h: what the missions ask of the layers above them: the events
// they post that the unit model's makers do not cover (the mission event
// 0x54, a full set-sensors order 0x08, the planned-attack event 0x0D), the
// side list (gam2arena::GetSide) and the bridge calls of the mission code.
// The simulation and the bridge install these at start-up
// (SetMissionCalls); until then no event is made, no side is found, and the
// bridge calls do nothing or answer their neutral value. Speed, altitude,
// launch and mission-unit events come from units/UnitEvents.h.
#pragma once

#include <cstdint>

#include "annex/TimedRecord.h"
#include "core/Event.h"

class PositionNode;
class Side;

struct MissionCalls {
    // New events, owned by the caller; null when the class cannot be made.
    // A mission event for mission missionID of side sideID with a code, due
    // `delay` game seconds from now.
    Event* (*makeMissionEvent)(uint16_t sideID, uint16_t missionID, uint16_t code, uint32_t delay) = nullptr;
    // A set-sensors order for the unit's sensors of a type (1 radar, 5 sonar,
    // 7 ECM; 0 all) to take a mode (2 active, 3 passive), with the active
    // and passive periods (game seconds) and their jitters (percent) of an
    // intermittent cycle; all 0 for a plain order. Due at once.
    Event* (*makeSetSensorsEvent)(uint16_t unitID, uint32_t mode, uint32_t sensorType, uint16_t activePeriod,
                                  uint8_t activeJitter, uint16_t passivePeriod, uint8_t passiveJitter) = nullptr;
    // The planned attack over a chain of assignment records, which it takes
    // out of the chain; due at once.
    Event* (*makeAttackExecutionEvent)(Chain<TimedRecord>& records) = nullptr;
    // The side of that id, or null.
    Side* (*getSide)(uint16_t sideID) = nullptr;
    // The unit's parent unit (group or base) is told about the unit.
    void (*notifyParentUnit)(uint16_t unitID, uint8_t value) = nullptr;
};

// Installs the calls; returns the ones they replace.
MissionCalls SetMissionCalls(const MissionCalls& calls);

// New events of the installed classes; null while none is installed.
Event* MakeMissionEvent(uint16_t sideID, uint16_t missionID, uint16_t code, uint32_t delay);
Event* MakeSetSensorsEvent(uint16_t unitID, uint32_t mode, uint32_t sensorType, uint16_t activePeriod,
                           uint8_t activeJitter, uint16_t passivePeriod, uint8_t passiveJitter);
Event* MakeAttackExecutionEvent(Chain<TimedRecord>& records);

namespace gam2arena {
// The side of that id; null without the call or the side.
Side* GetSide(uint16_t sideID);
}  // namespace gam2arena

namespace Game2UI2 {
// A new copy of the unit's planned path (the caller frees it with
// DeletePositionNodes); null when the unit or its path is missing.
PositionNode* CopyUnitPath(uint16_t unitID);
}  // namespace Game2UI2

namespace gam2side {
// Tells the unit's parent unit about it; nothing without the call.
void NotifyParentUnit(uint16_t unitID, uint8_t value);
}  // namespace gam2side
