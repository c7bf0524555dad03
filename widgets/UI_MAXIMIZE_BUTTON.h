// UI_MAXIMIZE_BUTTON.h: UI_MAXIMIZE_BUTTON and UI_MINIMIZE_BUTTON, the two
// small picture buttons at the right end of a window's title line. Each sends
// its window a size command when chosen, and shows the restore picture and
// sends the restore command while its window is maximized (minimized).
#pragma once

#include <cstdint>

#include "widgets/UI_BUTTON.h"

// Pictures: a width byte, a height byte, then the pixels row by row; 0xFF
// is transparent, every other byte is rewritten with the button's
// foreground colour before each drawing. Shared by every such button.
extern uint8_t UI_MAXIMIZE_PICTURE[2 + 7 * 5];
extern uint8_t UI_MINIMIZE_PICTURE[2 + 7 * 5];
extern uint8_t UI_RESTORE_PICTURE[2 + 7 * 11];

class UI_MAXIMIZE_BUTTON : public UI_BUTTON {
public:
    UI_MAXIMIZE_BUTTON();
    // Forgets the shared picture, so the button part frees nothing of it.
    ~UI_MAXIMIZE_BUTTON() override;

    // Request 0 sets the identifiers, flags, hot key and depth; others go to
    // the button.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    int32_t Event(UI_MESSAGE* event) override;
};

class UI_MINIMIZE_BUTTON : public UI_BUTTON {
public:
    UI_MINIMIZE_BUTTON();
    ~UI_MINIMIZE_BUTTON() override;

    void* Query(int32_t request, void* data, uint16_t objectID) override;
    int32_t Event(UI_MESSAGE* event) override;
};
