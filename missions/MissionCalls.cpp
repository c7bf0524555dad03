// MissionCalls.cpp: the installed calls of the missions and their neutral
// answers.
#include "missions/MissionCalls.h"

#include "core/gam2arena.h"
#include "units/PositionNode.h"
#include "units/Unit.h"

namespace {
MissionCalls gCalls;
}

MissionCalls SetMissionCalls(const MissionCalls& calls)
{
    const MissionCalls old = gCalls;
    gCalls = calls;
    return old;
}

Event* MakeMissionEvent(uint16_t sideID, uint16_t missionID, uint16_t code, uint32_t delay)
{
    return gCalls.makeMissionEvent ? gCalls.makeMissionEvent(sideID, missionID, code, delay) : nullptr;
}

Event* MakeSetSensorsEvent(uint16_t unitID, uint32_t mode, uint32_t sensorType, uint16_t activePeriod,
                           uint8_t activeJitter, uint16_t passivePeriod, uint8_t passiveJitter)
{
    if (!gCalls.makeSetSensorsEvent)
        return nullptr;
    return gCalls.makeSetSensorsEvent(unitID, mode, sensorType, activePeriod, activeJitter, passivePeriod,
                                      passiveJitter);
}

Event* MakeAttackExecutionEvent(Chain<TimedRecord>& records)
{
    return gCalls.makeAttackExecutionEvent ? gCalls.makeAttackExecutionEvent(records) : nullptr;
}

namespace gam2arena {
Side* GetSide(uint16_t sideID)
{
    return gCalls.getSide ? gCalls.getSide(sideID) : nullptr;
}
}  // namespace gam2arena

namespace Game2UI2 {
PositionNode* CopyUnitPath(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    return unit ? PositionNode::CopyChain(unit->GetPath()) : nullptr;
}
}  // namespace Game2UI2

namespace gam2side {
void NotifyParentUnit(uint16_t unitID, uint8_t value)
{
    if (gCalls.notifyParentUnit)
        gCalls.notifyParentUnit(unitID, value);
}
}  // namespace gam2side
