// UnitEvents.cpp: the installed event makers and readers of the unit model.
#include "units/UnitEvents.h"

#include "core/gam2arena.h"
#include "units/Unit.h"

namespace {
UnitEventCalls gCalls;
}  // namespace

UnitEventCalls SetUnitEventCalls(const UnitEventCalls& calls)
{
    const UnitEventCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

Event* MakeSetSpeedEvent(uint16_t unitID, uint16_t knots, GameTime due)
{
    return gCalls.makeSetSpeedEvent != nullptr ? gCalls.makeSetSpeedEvent(unitID, knots, due) : nullptr;
}

Event* MakeDeleteUnitEvent(uint16_t unitID, GameTime due)
{
    return gCalls.makeDeleteUnitEvent != nullptr ? gCalls.makeDeleteUnitEvent(unitID, due) : nullptr;
}

Event* MakeTowedArrayEvent(uint16_t unitID)
{
    return gCalls.makeTowedArrayEvent != nullptr ? gCalls.makeTowedArrayEvent(unitID) : nullptr;
}

Event* MakeSetSensorsEvent(uint16_t unitID, uint32_t state, uint32_t sensorType)
{
    return gCalls.makeSetSensorsEvent != nullptr ? gCalls.makeSetSensorsEvent(unitID, state, sensorType)
                                                 : nullptr;
}

Event* MakeStationEvent(uint8_t typeCode, uint16_t unitID, GameTime due)
{
    return gCalls.makeStationEvent != nullptr ? gCalls.makeStationEvent(typeCode, unitID, due) : nullptr;
}

Event* MakeSetAltitudeEvent(uint16_t unitID, int32_t altitude, GameTime due)
{
    return gCalls.makeSetAltitudeEvent != nullptr ? gCalls.makeSetAltitudeEvent(unitID, altitude, due) : nullptr;
}

Event* MakeLaunchAircraftEvent(uint16_t holderID, uint16_t planeRecID, uint32_t value)
{
    return gCalls.makeLaunchAircraftEvent != nullptr ? gCalls.makeLaunchAircraftEvent(holderID, planeRecID, value)
                                                     : nullptr;
}

Event* FindLaunchEvent(uint16_t holderID, uint16_t planeRecID)
{
    if (gCalls.getLaunchRecordID == nullptr)
        return nullptr;
    for (Event* e = gam2arena::FindEvent(nullptr, EventCode::LAUNCH_AIRCRAFT); e != nullptr;
         e = gam2arena::FindEvent(e, EventCode::LAUNCH_AIRCRAFT)) {
        if (e->GetSubject() == holderID && gCalls.getLaunchRecordID(*e) == planeRecID)
            return e;
    }
    return nullptr;
}

void ReaddressLaunchEvent(Event& event, uint16_t holderID, uint16_t planeRecID)
{
    event.SetSubject(holderID);
    if (gCalls.readdressLaunchEvent != nullptr)
        gCalls.readdressLaunchEvent(event, holderID, planeRecID);
}

uint32_t GetSensorSetting(const Event& event)
{
    return gCalls.getSensorSetting != nullptr ? gCalls.getSensorSetting(event) : 0;
}

Event* MakeMergeUnitEntriesEvent(uint16_t fromKey, uint16_t intoKey)
{
    return gCalls.makeMergeUnitEntriesEvent != nullptr ? gCalls.makeMergeUnitEntriesEvent(fromKey, intoKey) : nullptr;
}

Event* MakeSetCurrentEntryEvent(uint16_t sideNumber)
{
    return gCalls.makeSetCurrentEntryEvent != nullptr ? gCalls.makeSetCurrentEntryEvent(sideNumber) : nullptr;
}

uint32_t GetMultiAction(const Event& event)
{
    return gCalls.getMultiAction != nullptr ? gCalls.getMultiAction(event) : 0;
}

Event* MakeMultiActionEvent(uint16_t unitID, uint32_t action, uint16_t firstAmount, uint16_t secondAmount)
{
    return gCalls.makeMultiActionAmounts != nullptr
               ? gCalls.makeMultiActionAmounts(unitID, action, firstAmount, secondAmount)
               : nullptr;
}

bool SwitchesSensorType(const Event& event, const Unit& unit, uint8_t sensorType)
{
    return gCalls.switchesSensorType != nullptr && gCalls.switchesSensorType(event, unit, sensorType);
}

Event* MakeDropSonobuoyEvent(uint16_t unitID, uint16_t lineID, uint8_t buoyKind)
{
    return gCalls.makeDropSonobuoyEvent != nullptr ? gCalls.makeDropSonobuoyEvent(unitID, lineID, buoyKind) : nullptr;
}

Event* MakeLandOrRefuelEvent(uint16_t unitID, uint16_t destinationID, uint8_t interceptFlag, uint8_t landFlag)
{
    return gCalls.makeLandOrRefuelEvent != nullptr
               ? gCalls.makeLandOrRefuelEvent(unitID, destinationID, interceptFlag, landFlag)
               : nullptr;
}

Event* MakeLandEvent(uint16_t unitID, uint16_t baseID, GameTime due)
{
    return gCalls.makeLandEvent != nullptr ? gCalls.makeLandEvent(unitID, baseID, due) : nullptr;
}

Event* MakeMissionUnitEvent(uint16_t unitID, GameTime due)
{
    return gCalls.makeMissionUnitEvent != nullptr ? gCalls.makeMissionUnitEvent(unitID, due) : nullptr;
}

Event* MakeUnitReadyEvent(uint16_t planeRecID, uint16_t loadoutID, uint16_t unitID, uint16_t readyValue)
{
    return gCalls.makeUnitReadyEvent != nullptr ? gCalls.makeUnitReadyEvent(planeRecID, loadoutID, unitID, readyValue)
                                                : nullptr;
}

uint16_t GetReadyRecordID(const Event& event)
{
    return gCalls.getReadyRecordID != nullptr ? gCalls.getReadyRecordID(event) : 0;
}

void SetReadyRecordID(Event& event, uint16_t planeRecID)
{
    if (gCalls.setReadyRecordID != nullptr)
        gCalls.setReadyRecordID(event, planeRecID);
}

Event* FindUnitReadyEvent(uint16_t unitID, uint16_t planeRecID)
{
    if (gam2arena::GetArenaState() == nullptr)
        return nullptr;
    for (Event* e = gam2arena::FindUnitEvent(unitID, nullptr, EventCode::UNIT_READY); e != nullptr;
         e = gam2arena::FindUnitEvent(unitID, e, EventCode::UNIT_READY))
        if (GetReadyRecordID(*e) == planeRecID)
            return e;
    return nullptr;
}

void PostOrDrop(Event* event)
{
    if (event == nullptr)
        return;
    if (gam2arena::GetArenaState() != nullptr)
        gam2arena::PostEvent(event);
    else
        delete event;
}

void SetSpeedNow(Unit& unit, uint16_t knots)
{
    if (Event* const event = MakeSetSpeedEvent(unit.GetID(), knots, GameTime(gam2arena::GetGameTime()))) {
        event->HandleEvent();
        delete event;
        return;
    }
    unit.SetSpeed(knots, unit.PositionObject::GetAltitude());
}

Event* MakeMultiActionEvent(uint16_t unitID, uint32_t action, uint16_t value)
{
    return gCalls.makeMultiActionEvent != nullptr ? gCalls.makeMultiActionEvent(unitID, action, value) : nullptr;
}
