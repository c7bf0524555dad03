// UnitEvents.h: the simulation's event classes that the unit model makes or
// reads: the set-speed (0x3D), set-altitude (0x3E), station (0x3C, 0x3F,
// 0x40), launch-aircraft (0x0F), delete-unit (0x43), towed-array (0x16),
// set-sensors (0x08), join (0x05) and current-record (0x51) events it posts,
// the action of a multi-action event (0x0A), the setting value of a
// set-sensors event and the sensor types it switches. The classes live with the
// simulation, which installs these calls at start-up (SetUnitEventCalls).
// Until then no event is made; a speed that must change at once is set on
// the unit directly (see SetSpeedNow).
#pragma once

#include <cstdint>

#include "core/Event.h"
#include "core/GameTime.h"

class Unit;

struct UnitEventCalls {
    // New events, owned by the caller; null when the class cannot be made.
    Event* (*makeSetSpeedEvent)(uint16_t unitID, uint16_t knots, GameTime due) = nullptr;
    Event* (*makeDeleteUnitEvent)(uint16_t unitID, GameTime due) = nullptr;
    Event* (*makeTowedArrayEvent)(uint16_t unitID) = nullptr;
    // An order to the unit's sensors of a type (0: all of them) to take a
    // state (2 active, 3 passive), for no single sensor and not
    // intermittent.
    Event* (*makeSetSensorsEvent)(uint16_t unitID, uint32_t state, uint32_t sensorType) = nullptr;
    // A station event of type 0x3C (update), 0x3F (move) or 0x40 (set) for
    // the unit, or the member check of a group (0x42); null for another code.
    Event* (*makeStationEvent)(uint8_t typeCode, uint16_t unitID, GameTime due) = nullptr;
    // An order to climb or dive to an altitude (tens of metres).
    Event* (*makeSetAltitudeEvent)(uint16_t unitID, int32_t altitude, GameTime due) = nullptr;
    // The launch of the aircraft of a holder's aircraft record.
    Event* (*makeLaunchAircraftEvent)(uint16_t holderID, uint16_t planeRecID, uint32_t value) = nullptr;
    // The 32-bit setting value of a set-sensors event (0 without the call).
    uint32_t (*getSensorSetting)(const Event& event) = nullptr;
    // The join of two side records: the record `fromKey` is taken into the
    // record `intoKey` when the event is handled.
    Event* (*makeMergeUnitEntriesEvent)(uint16_t fromKey, uint16_t intoKey) = nullptr;
    // The player's current side record chosen again for the side numbered
    // sideNumber.
    Event* (*makeSetCurrentEntryEvent)(uint16_t sideNumber) = nullptr;
    // The action code of a queued multi-action event (0 without the call).
    uint32_t (*getMultiAction)(const Event& event) = nullptr;
    // Whether a queued set-sensors event would switch a sensor of that type
    // of the unit (false without the call).
    bool (*switchesSensorType)(const Event& event, const Unit& unit, uint8_t sensorType) = nullptr;
    // The landing of an aircraft on a base (0x10), and the notice to the
    // unit's mission that it has new orders or none (0x47).
    Event* (*makeLandEvent)(uint16_t unitID, uint16_t baseID, GameTime due) = nullptr;
    Event* (*makeMissionUnitEvent)(uint16_t unitID, GameTime due) = nullptr;
    // The readiness event (0x0E) of a holder's aircraft record armed with a
    // loadout, and the record key a queued one carries (0 without the call).
    Event* (*makeUnitReadyEvent)(uint16_t planeRecID, uint16_t loadoutID, uint16_t unitID,
                                 uint16_t readyValue) = nullptr;
    uint16_t (*getReadyRecordID)(const Event& event) = nullptr;
    void (*setReadyRecordID)(Event& event, uint16_t planeRecID) = nullptr;
    // A damage effect (multi-action event, 0x0A) of an action code on a unit,
    // with a 16-bit value (an amount or a second identifier).
    Event* (*makeMultiActionEvent)(uint16_t unitID, uint32_t action, uint16_t value) = nullptr;
    // The same with both of the event's amount fields given.
    Event* (*makeMultiActionAmounts)(uint16_t unitID, uint32_t action, uint16_t firstAmount,
                                     uint16_t secondAmount) = nullptr;
    // The aircraft record a queued launch event (0x0F) names, and moving it
    // to another holder and record.
    uint16_t (*getLaunchRecordID)(const Event& event) = nullptr;
    void (*readdressLaunchEvent)(Event& event, uint16_t holderID, uint16_t planeRecID) = nullptr;
    // The drop of one sonobuoy (0x45) from the unit, joining sonobuoy line
    // lineID; buoyKind: low four bits the wanted buoy class 1..3, bit 0x10 a
    // directional drop. Due at once.
    Event* (*makeDropSonobuoyEvent)(uint16_t unitID, uint16_t lineID, uint8_t buoyKind) = nullptr;
    // The air order (0x11) to a unit: intercept the destination, land at it
    // (landFlag) or, with both flags 0, refuel from it; due at once.
    Event* (*makeLandOrRefuelEvent)(uint16_t unitID, uint16_t destinationID, uint8_t interceptFlag,
                                    uint8_t landFlag) = nullptr;
};

// Installs the calls; returns the ones they replace.
UnitEventCalls SetUnitEventCalls(const UnitEventCalls& calls);

// New events of the installed classes; null while none is installed.
Event* MakeSetSpeedEvent(uint16_t unitID, uint16_t knots, GameTime due);
Event* MakeDeleteUnitEvent(uint16_t unitID, GameTime due);
Event* MakeTowedArrayEvent(uint16_t unitID);
Event* MakeSetSensorsEvent(uint16_t unitID, uint32_t state, uint32_t sensorType);
Event* MakeStationEvent(uint8_t typeCode, uint16_t unitID, GameTime due);
Event* MakeSetAltitudeEvent(uint16_t unitID, int32_t altitude, GameTime due);
Event* MakeLaunchAircraftEvent(uint16_t holderID, uint16_t planeRecID, uint32_t value);
// The queued launch event of a holder's aircraft record, or null.
Event* FindLaunchEvent(uint16_t holderID, uint16_t planeRecID);
// Moves a queued launch event to another holder and record.
void ReaddressLaunchEvent(Event& event, uint16_t holderID, uint16_t planeRecID);
uint32_t GetSensorSetting(const Event& event);
Event* MakeMergeUnitEntriesEvent(uint16_t fromKey, uint16_t intoKey);
Event* MakeSetCurrentEntryEvent(uint16_t sideNumber);
uint32_t GetMultiAction(const Event& event);
bool SwitchesSensorType(const Event& event, const Unit& unit, uint8_t sensorType);
Event* MakeLandEvent(uint16_t unitID, uint16_t baseID, GameTime due);
Event* MakeMissionUnitEvent(uint16_t unitID, GameTime due);
Event* MakeUnitReadyEvent(uint16_t planeRecID, uint16_t loadoutID, uint16_t unitID, uint16_t readyValue);
uint16_t GetReadyRecordID(const Event& event);
void SetReadyRecordID(Event& event, uint16_t planeRecID);
Event* MakeMultiActionEvent(uint16_t unitID, uint32_t action, uint16_t value);
Event* MakeMultiActionEvent(uint16_t unitID, uint32_t action, uint16_t firstAmount, uint16_t secondAmount);
Event* MakeDropSonobuoyEvent(uint16_t unitID, uint16_t lineID, uint8_t buoyKind);
Event* MakeLandOrRefuelEvent(uint16_t unitID, uint16_t destinationID, uint8_t interceptFlag, uint8_t landFlag);
// The first queued readiness event of the holder's record; null when none.
Event* FindUnitReadyEvent(uint16_t unitID, uint16_t planeRecID);

// Posts an event (gam2arena::PostEvent); an event that cannot be posted (no
// arena) is deleted. Null does nothing.
void PostOrDrop(Event* event);

// A set-speed event for the unit, handled at once and deleted, so that its
// speed is chosen again; without the event class the unit's SetSpeed runs
// with the speed at its own altitude instead.
void SetSpeedNow(Unit& unit, uint16_t knots);
