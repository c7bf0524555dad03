// UnitStatus.h: UnitStatus, the status record that a unit's status panel
// fills and draws: 32 lines of up to 32 characters and the count of lines to
// draw. The window that shows it owns it; the unit classes and the status
// texts fill it.
#pragma once

#include <cstdint>

struct UnitStatus {
    static constexpr int LINE_COUNT = 32;
    static constexpr int LINE_SIZE = 33;   // 32 characters and the zero byte

    char lines[LINE_COUNT][LINE_SIZE] = {};
    uint8_t afterLines = 0;                // cleared with the lines
    uint16_t lineCount = 0;                // lines to draw; 0: nothing to show
};
