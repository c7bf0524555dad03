// UI_MENU_BAR.h: UI_MENU_BAR, the strip of menu titles across the top of a
// window, and UI_MENU_BAR_ITEM, one title, which owns the pop-up menu that
// drops down under it. The pop-up and its items are in UI_POPUP_MENU.h.
#pragma once

#include <cstdint>

#include "widgets/UI_BUTTON.h"
#include "widgets/UI_POPUP_MENU.h"
#include "widgets/UI_WINDOW.h"

constexpr uint16_t UI_ID_MENU_BAR_ITEM = 1003;

class UI_MENU_BAR_ITEM : public UI_BUTTON {
public:
    // A title of text; its pop-up is built with menuListFlags. A user
    // function (or a value posted through one) replaces the pop-up.
    UI_MENU_BAR_ITEM(const char* text, uint16_t menuListFlags = 0, UI_CALLBACK userFunction = nullptr,
                     int32_t itemValue = 0);
    // Deletes the pop-up's items with it.
    ~UI_MENU_BAR_ITEM() override;

    // Requests (objectID 0 means 1003): 0 initialises; 1 and 2 find the title
    // or search its pop-up; 0x80 and 0x81 reach both; others go to the button.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1003: sized to its text when initialised; a press,
    // Enter, Up or Down opens the pop-up under it.
    int32_t Event(UI_MESSAGE* event) override;
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    UI_POPUP_MENU popup;

private:
    int32_t Activate(UI_MESSAGE* event, int32_t code);
    int32_t OpenPopup(int32_t code);
};

class UI_MENU_BAR : public UI_WINDOW {
public:
    // A support object of its window (flags 0x20 added; give it
    // UI_FLAG_TAKES_ROOM to take its rows from the window's client area).
    // A positive leadingBlanks puts an unselectable title of that many
    // blanks first.
    UI_MENU_BAR(int32_t leadingBlanks = 0, uint16_t objectFlags = UI_FLAG_TAKES_ROOM, uint16_t objectWindowFlags = 0);
    ~UI_MENU_BAR() override = default;

    // Requests (objectID 0 means 1004): 0 initialises; 6 of a shown bar goes
    // to its window; others go to the window part.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1004: lays the titles out in rows; Left and Right move
    // along the bar, Up and Down open the current title's pop-up, a letter
    // chooses the title with that hot key.
    int32_t Event(UI_MESSAGE* event) override;

    int32_t leadingBlanks;

private:
    int32_t LayOutBar(UI_MESSAGE* event, int32_t code);
};
