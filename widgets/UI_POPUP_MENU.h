// UI_POPUP_MENU.h: UI_POPUP_MENU, the temporary window that lists menu items
// under a menu-bar item, beside a menu item (a sub-menu) or under a system
// button, and UI_MENU_ITEM, one entry of it: a command value, a system
// command, a separator, or the owner of a sub-menu. The menu bar and its
// items are in UI_MENU_BAR.h.
#pragma once

#include <cstdint>

#include "widgets/UI_BUTTON.h"
#include "widgets/UI_WINDOW.h"

constexpr uint16_t UI_ID_MENU_ITEM = 19;
constexpr uint16_t UI_ID_POPUP_MENU = 1002;
constexpr uint16_t UI_ID_MENU_ENTRY = 2106;

// itemFlags
constexpr uint16_t UI_ITEM_SEPARATOR = 0x01;
constexpr uint16_t UI_ITEM_MAXIMIZE = 0x02;
constexpr uint16_t UI_ITEM_MINIMIZE = 0x04;
constexpr uint16_t UI_ITEM_MOVE = 0x08;
constexpr uint16_t UI_ITEM_SIZE = 0x10;
constexpr uint16_t UI_ITEM_SYSTEM = 0x20;     // a system item without a command
constexpr uint16_t UI_ITEM_RESTORE = 0x40;
constexpr uint16_t UI_ITEM_CLOSE = 0x80;
constexpr uint16_t UI_ITEM_CHECK_MARK = 0x100;   // shows a tick while selected
constexpr uint16_t UI_ITEM_SEND_VALUE = 0x200;   // choosing posts the value as an event
constexpr uint16_t UI_ITEM_NOT_SELECTABLE = 0x400;

// Number identifiers of the system items.
constexpr uint16_t UI_NUMBER_RESTORE = static_cast<uint16_t>(-17);
constexpr uint16_t UI_NUMBER_MOVE = static_cast<uint16_t>(-18);
constexpr uint16_t UI_NUMBER_SIZE = static_cast<uint16_t>(-19);
constexpr uint16_t UI_NUMBER_MINIMIZE = static_cast<uint16_t>(-20);
constexpr uint16_t UI_NUMBER_MAXIMIZE = static_cast<uint16_t>(-21);
constexpr uint16_t UI_NUMBER_CLOSE = static_cast<uint16_t>(-22);
constexpr uint16_t UI_NUMBER_SYSTEM = static_cast<uint16_t>(-23);

// The answer of a menu to a letter that is no item's hot key.
constexpr int32_t UI_CODE_NO_HOT_KEY = 10;

class UI_POPUP_MENU : public UI_WINDOW {
public:
    // A window at (left, top) in pixels with no size yet (its items size it);
    // the embedded pop-ups are bordered, temporary and kept.
    UI_POPUP_MENU(int32_t left, int32_t top, uint16_t menuListFlags = 0, uint16_t objectFlags = UI_FLAG_BORDER,
                  uint16_t objectWindowFlags = UI_WINDOW_MODAL | UI_WINDOW_KEPT);
    // Taken off the desktop first when it is shown.
    ~UI_POPUP_MENU() override;

    // Request 0 sets the identifiers, listFlags 0x10 and the font; the rest
    // go to the window.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1002: Esc closes it; laid out as wide as its widest
    // item and as high as its items, kept on the screen; Up and Down move
    // the focus; a letter chooses the item with that hot key.
    int32_t Event(UI_MESSAGE* event) override;

    // True while it stands on the desktop.
    bool IsOpen() const;
    // Shown at (left, top) in pixels, with no item marked current, in front
    // of the desktop's windows. Does nothing without items or when open.
    void Open(int32_t left, int32_t top);

private:
    void LayOutItems();
};

class UI_MENU_ITEM : public UI_BUTTON {
public:
    // An item of text (a separator when it is null or empty) with itemFlags;
    // the system bits choose its number and command (see the .cpp).
    UI_MENU_ITEM(const char* text, uint16_t menuItemFlags, uint16_t itemButtonFlags = 0, uint16_t objectFlags = 0,
                 UI_CALLBACK userFunction = nullptr, int32_t itemValue = 0);
    // A separator line.
    UI_MENU_ITEM();
    // Deletes the sub-menu's items with it.
    ~UI_MENU_ITEM() override;

    // Requests (objectID 0 means 19): 0 and 6 apply the item flags; 1 and 2
    // find the item or search its sub-menu; 3 to 5 for 19 read, set and
    // clear itemFlags; 0x80 and 0x81 reach the item and its sub-menu; others
    // go to the button.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 19: choosing, the sub-menu, and Left and Right between
    // the menus; see the .cpp.
    int32_t Event(UI_MESSAGE* event) override;
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    bool IsSeparator() const { return itemFlags & UI_ITEM_SEPARATOR; }
    bool HasSubMenu() const { return subMenu.head != nullptr; }
    // The size the item asks for in pixels: one text line high (half a cell
    // for a separator), as wide as its text with room for the tick and the
    // sub-menu arrow.
    int32_t NaturalWidth() const;
    int32_t NaturalHeight() const;

    uint16_t itemFlags;
    UI_POPUP_MENU subMenu;

private:
    void ApplyItemFlags();
    int32_t Choose(UI_MESSAGE* event, int32_t code);
};

// Closes every temporary window at the front of the desktop (a whole menu
// tree), front first.
void UI_CloseTemporaryWindows();

// The hot-key choice of a menu: the first item of menu whose hot key is the
// key's character (in lower case) and that can be chosen becomes current and
// is chosen; its answer. UI_CODE_NO_HOT_KEY when none matches.
int32_t UI_ChooseItemByHotKey(UI_WINDOW& menu, const UI_MESSAGE* event);

// What an entry that embeds a menu (a menu-bar title, a menu item) shares
// with it. Requests 1 and 2 find the entry itself, else search the menu;
// 0x80 and 0x81 reach both. True, with *answer set, for a request taken.
bool UI_EntryMenuQuery(UI_BUTTON& entry, UI_POPUP_MENU& menu, int32_t request, void* data, uint16_t objectID,
                       void** answer);
// UI_CODE_SCREEN_CHANGED reaches the entry as a button and then the menu
// (the button's answer); UI_CODE_ADD_OBJECT and UI_CODE_REMOVE_OBJECT add to
// and take from the menu (code). True, with *answer set, for a code taken.
bool UI_EntryMenuEvent(UI_BUTTON& entry, UI_POPUP_MENU& menu, UI_MESSAGE* event, int32_t code, int32_t* answer);
