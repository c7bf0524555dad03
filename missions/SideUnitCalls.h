// SideUnitCalls.h: what a side needs of the layers above it: the scenario's
// flag and mode words (the Arena's) and the bridge's unit reset. Their
// owners install them at start-up (SetSideUnitCalls); until then both words
// are 0 and the reset does nothing.
#pragma once

#include <cstdint>

struct SideUnitCalls {
    uint16_t (*getScenarioFlags)() = nullptr;
    uint16_t (*getScenarioMode)() = nullptr;
    void (*cancelAircraftLaunches)(uint16_t unitID) = nullptr;
};

// Installs the calls; returns the ones they replace.
SideUnitCalls SetSideUnitCalls(const SideUnitCalls& calls);

// Bit of the scenario flag word that keeps the units' orders when a side's
// orders are cleared.
constexpr uint16_t SCENARIO_KEEP_ORDERS = 0x40;

namespace gam2arena {
// The scenario flag word; 0 without the call.
uint16_t GetScenarioFlags();
// The scenario mode word, which a side hands its units when it offers them a
// new unit; 0 without the call.
uint16_t GetScenarioMode();
}  // namespace gam2arena

namespace unit2gam {
// The unit's orders and aircraft launches are reset; nothing without the call.
void CancelAircraftLaunches(uint16_t unitID);
}  // namespace unit2gam
