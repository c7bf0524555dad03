// UnitBridge.cpp: the installed bridge calls of the unit model, and the stop
// of a unit's navigation.
#include "units/UnitBridge.h"

#include "core/Event.h"
#include "core/gam2arena.h"
#include "units/Unit.h"
#include "world/Nav2Game.h"

namespace {
UnitBridgeCalls gCalls;
}  // namespace

UnitBridgeCalls SetUnitBridgeCalls(const UnitBridgeCalls& calls)
{
    const UnitBridgeCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace ui2game {
void UnitDestroyed(uint16_t unitID)
{
    if (gCalls.unitDestroyed != nullptr)
        gCalls.unitDestroyed(unitID);
}
}  // namespace ui2game

namespace Game2UI {
void SetUnitPath(uint16_t unitID, const PositionNode* path)
{
    if (gCalls.setUnitPath != nullptr)
        gCalls.setUnitPath(unitID, path);
}
}  // namespace Game2UI

namespace gam2grp {
void DetachFromGroup(uint16_t groupID, uint16_t unitID)
{
    if (gCalls.detachFromGroup != nullptr)
        gCalls.detachFromGroup(groupID, unitID);
}
}  // namespace gam2grp

namespace Nav2Game {

bool LegValidForUnit(uint16_t unitID, const LatLonPoint& from, const LatLonPoint& to)
{
    return gCalls.legValidForUnit != nullptr && gCalls.legValidForUnit(unitID, from, to);
}

bool PointValidForUnit(uint16_t unitID, const LatLonPoint& point)
{
    return LegValidForUnit(unitID, point, point);
}

void StopUnit(uint16_t unitID)
{
    CancelPathRequests(unitID);
    if (Unit* const unit = gam2arena::FindUnit(unitID))
        unit->SetStateFlags(static_cast<uint16_t>(unit->GetStateFlags() & ~SimObject::PATH_REQUESTED));
    gam2arena::RemoveUnitEvents(unitID, EventCode::REQUEST_PATH);
    gam2arena::RemoveUnitEvents(unitID, EventCode::PROCESS_UNIT_PATH);
    gam2arena::RemoveUnitEvents(unitID, EventCode::PATH_RETURN);
}

}  // namespace Nav2Game

bool GetMountStatusText(const Mount& mount, char* out, uint16_t size)
{
    if (out == nullptr || size == 0)
        return false;
    out[0] = '\0';
    if (gCalls.getMountStatusText == nullptr)
        return false;
    const bool found = gCalls.getMountStatusText(mount, out, size);
    out[size - 1] = '\0';
    return found;
}
