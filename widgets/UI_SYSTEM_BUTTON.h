// UI_SYSTEM_BUTTON.h: UI_SYSTEM_BUTTON, the small button at the left end of a
// window's title line. A click opens the window's system menu (its own
// pop-up, or the program's one shared menu) with only the commands that suit
// the window's state enabled; a double click closes a top-level window.
#pragma once

#include <cstdint>

#include "widgets/UI_BUTTON.h"
#include "widgets/UI_POPUP_MENU.h"

constexpr uint16_t UI_SYSTEM_BUTTON_NUMBER = 0xFFFC;
constexpr uint16_t UI_SYSTEM_SHARED_MENU = 0x0001;   // systemFlags: use the shared system menu

class UI_SYSTEM_BUTTON : public UI_BUTTON {
public:
    explicit UI_SYSTEM_BUTTON(uint16_t buttonSystemFlags = 0);
    // Forgets the shared picture; the menu goes with the button.
    ~UI_SYSTEM_BUTTON() override;

    // Requests (objectID 0 means 1006): 0 initialises; 1 and 2 search the
    // button, then its menu; 3 to 5 for 1006 read, set and clear
    // systemFlags; 0x80 and 0x81 reach the menu only; others go to the button.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1006; see the .cpp.
    int32_t Event(UI_MESSAGE* event) override;

    // The menu a press opens: the shared one with UI_SYSTEM_SHARED_MENU.
    UI_POPUP_MENU& Menu();

    // The program's one system menu: Restore, Move, Size, Minimize,
    // Maximize, a separator and Close; made on first use.
    static UI_POPUP_MENU& SharedMenu();

    uint16_t systemFlags;
    UI_POPUP_MENU menu;

    // When any system button was last pressed, in hundredths of the time of
    // day; unset until the first press.
    static int32_t lastPress;
    static bool lastPressSet;

private:
    int32_t OpenMenu(UI_MESSAGE* event);
    int32_t CloseOnRelease();
};
