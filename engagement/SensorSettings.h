// SensorSettings.h: what the sensor tests read of the game's settings and the
// current side beyond the units themselves: three user options (the radar's
// random fringe, the lookout's extra chance, the thermal layer depth), the
// scenario's first settings word, and whether the current side knows a unit.
// Start-up and the scenario loader set them (SetSensorSettings); until then
// every option is off and the settings word 0.
#pragma once

#include <cstdint>

struct SensorSettings {
    // User option VUVNoRandomFringeRadar: no detection below a margin of 0,
    // and one search in ten misses.
    bool noRandomFringeRadar = false;
    // User option VUVNo3XEyeballs: no lookout chance below a margin of 0.
    bool no3XEyeballs = false;
    // User option VUVFixThermalLayer: the layer lies at -4 rather than -150.
    bool fixThermalLayer = false;
    // The scenario settings block's first word; bit 0 lets a radar that
    // classifies a ship also tell its side to a side the player knows.
    uint16_t scenarioSettingsWord = 0;
};

// The settings in force, and their replacement (answers the old ones).
const SensorSettings& GetSensorSettings();
SensorSettings SetSensorSettings(const SensorSettings& settings);

namespace gam2side {
// True when there is no current side, or the current side's record holds the
// unit among its own units or its contacts.
bool IsKnownToCurrentSide(uint16_t unitID);
}  // namespace gam2side
