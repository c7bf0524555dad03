// LaunchWindowCalls.h: what the launch orders and the launch list need of
// the windows above them: the sector the player drew in a formation window,
// the unit a formation window shows, and the air operations window that
// takes a launch list. The windows install the calls at start-up
// (SetLaunchWindowCalls); until then no sector is drawn, no window shows a
// unit and a launch list handed over is deleted. Also the globals the
// windows and these orders share.
#pragma once

#include <cstdint>

#include "core/Chain.h"
#include "core/Event.h"
#include "units/LaunchEntry.h"

// A sector drawn by the player around a group: the group's axis it is
// measured from, two bearings (angle units, true), two ranges (range
// units), and the events the station is to carry.
struct SectorPick {
    uint16_t axis = 0;
    int32_t firstBearing = 0;
    int32_t secondBearing = 0;
    int32_t firstRange = 0;
    int32_t secondRange = 0;
    Chain<Event> events;
};

struct LaunchWindowCalls {
    // True with the sector of the formation window of that id.
    bool (*getFormationPick)(uint16_t windowID, SectorPick& out) = nullptr;
    // The unit the formation window of that id shows; 0 when none.
    uint16_t (*getFormationUnit)(uint16_t windowID) = nullptr;
    // Opens the air operations window of that mode over the list, which it
    // takes over.
    void (*openAirOperations)(LaunchList* list, uint16_t mode) = nullptr;
};

// Installs the calls; returns the ones they replace.
LaunchWindowCalls SetLaunchWindowCalls(const LaunchWindowCalls& calls);

namespace ui2game {
bool GetFormationPick(uint16_t windowID, SectorPick& out);
uint16_t GetFormationUnit(uint16_t windowID);
// Deletes the list without the call.
void OpenAirOperations(LaunchList* list, uint16_t mode);
}  // namespace ui2game

// The group a sector launch is pending for (its formation window's id); 0
// when none.
extern uint16_t gSectorLaunchGroup;
// The station kind a sector launch creates (a patrol by default).
extern uint8_t gSectorLaunchKind;
// The unit and flag the launch window opened by OpenLaunchListForWindow
// reads.
extern uint16_t gLaunchWindowUnit;
extern int16_t gLaunchWindowFlag;
