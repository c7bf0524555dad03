// BenchDesk.h: the widget framework's statics for a benchmark: a 1024 by 768
// display over a memory screen, its input manager and the desktop.
#pragma once

#include "tests/support/MemoryScreen.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_WINDOW.h"

struct BenchDesk {
    BenchDesk() : display(UI_MODE_1024X768), manager(&display, 100), desktop(&display, &manager) {}
    MemoryScreen memory;
    UI_FG_DISPLAY display;
    UI_INPUT_MANAGER manager;
    UI_DESKTOP desktop;
};
