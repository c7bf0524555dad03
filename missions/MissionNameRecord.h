// MissionNameRecord.h: MissionNameRecord, the settings a mission is created
// with (filled by the creation and edit windows, copied by the side's ops
// staff into every new mission and applied by MissionRecord::ApplySettings).
#pragma once

#include <cstdint>

struct MissionNameRecord {
    // Number of emission timing values: three groups of four.
    static constexpr int SETTING_VALUES = 12;

    uint16_t settingCode = 0;                  // goes to MissionRecord::settingCode
    uint32_t flagBits = 0;                     // setting bits of missionFlags (mask 0xFC0E) and 0x10000
    uint16_t settingValues[SETTING_VALUES] = {};   // radar, sonar, ECM timings, four each
    uint32_t delay = 0;                        // game seconds until the mission starts
    uint32_t delayTime = 0;                    // goes to MissionRecord::delayTime
};
