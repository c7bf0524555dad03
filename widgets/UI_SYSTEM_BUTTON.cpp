// UI_SYSTEM_BUTTON.cpp: the system button: construction, requests, its
// picture and place, the double click that closes its window, and the system
// menu with its commands enabled for the window's state.
#include "widgets/UI_SYSTEM_BUTTON.h"

#include <cstring>
#include <memory>

#include "widgets/TimeOfDay.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"
#include "widgets/WindowMessages.h"

int32_t UI_SYSTEM_BUTTON::lastPress = 0;
bool UI_SYSTEM_BUTTON::lastPressSet = false;

namespace {

constexpr uint16_t SYSTEM_OBJECT_FLAGS = 0x225;   // support, takes room, bordered, centred
constexpr int32_t SYSTEM_DEPTH = 1;
constexpr int32_t PICTURE_WIDTH = 7;
constexpr int32_t PICTURE_HEIGHT = 3;
uint8_t systemPicture[PICTURE_WIDTH * PICTURE_HEIGHT] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                         1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

// Whether the command of the item numbered number suits window.
bool Enabled(uint16_t number, const UI_WIDGET& window)
{
    const uint16_t state = window.status & (UI_STATUS_MAXIMIZED | UI_STATUS_MINIMIZED);
    const bool topLevel = window.parent == nullptr || window.parent->HasClass(UI_ID_DESKTOP);
    switch (number) {
    case UI_NUMBER_RESTORE:
        return state != 0;
    case UI_NUMBER_MOVE:
        return !(window.windowFlags & UI_WINDOW_NO_MOVE) && !(window.status & UI_STATUS_MAXIMIZED);
    case UI_NUMBER_SIZE:
        return !(window.windowFlags & UI_WINDOW_NO_SIZE) && state == 0;
    case UI_NUMBER_MINIMIZE:
    case UI_NUMBER_MAXIMIZE:
        return state == 0;
    case UI_NUMBER_CLOSE:
        return topLevel && !(window.windowFlags & UI_WINDOW_NO_CLOSE);
    default:
        return false;
    }
}

// The program's one system menu, made by the first button that asks for it.
std::unique_ptr<UI_POPUP_MENU> sharedMenu;

} // namespace

UI_SYSTEM_BUTTON::UI_SYSTEM_BUTTON(uint16_t buttonSystemFlags)
    : UI_BUTTON(0, 0, 0, nullptr, 0, SYSTEM_OBJECT_FLAGS), systemFlags(buttonSystemFlags), menu(0, 0)
{
    UI_SYSTEM_BUTTON::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_SYSTEM_BUTTON);
}

UI_SYSTEM_BUTTON::~UI_SYSTEM_BUTTON()
{
    text = nullptr;
    if (bitmapArray == systemPicture)
        bitmapArray = nullptr;
    if (menu.IsOpen())
        desktop->Remove(&menu);
    // The shared menu open for this button goes too: its items would reach
    // their window through this button.
    if (sharedMenu != nullptr && sharedMenu->parent == this) {
        if (sharedMenu->IsOpen())
            desktop->Remove(sharedMenu.get());
        sharedMenu->parent = nullptr;
    }
}

UI_POPUP_MENU& UI_SYSTEM_BUTTON::SharedMenu()
{
    std::unique_ptr<UI_POPUP_MENU>& shared = sharedMenu;
    if (shared == nullptr) {
        shared = std::make_unique<UI_POPUP_MENU>(0, 0);
        shared->Add(new UI_MENU_ITEM("&Restore", UI_ITEM_RESTORE));
        shared->Add(new UI_MENU_ITEM("&Move", UI_ITEM_MOVE));
        shared->Add(new UI_MENU_ITEM("&Size", UI_ITEM_SIZE));
        shared->Add(new UI_MENU_ITEM("Mi&nimize", UI_ITEM_MINIMIZE));
        shared->Add(new UI_MENU_ITEM("Ma&ximize", UI_ITEM_MAXIMIZE));
        shared->Add(new UI_MENU_ITEM());
        shared->Add(new UI_MENU_ITEM("&Close", UI_ITEM_CLOSE));
    }
    return *shared;
}

UI_POPUP_MENU& UI_SYSTEM_BUTTON::Menu()
{
    return (systemFlags & UI_SYSTEM_SHARED_MENU) ? SharedMenu() : menu;
}

void* UI_SYSTEM_BUTTON::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_SYSTEM_BUTTON;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_SYSTEM_BUTTON, UI_ID_BUTTON});
        menu.parent = this;
        number = UI_SYSTEM_BUTTON_NUMBER;
        std::strncpy(searchName, "NUMID_SYSTEM", UI_SEARCH_NAME_SIZE - 1);
        windowFlags |= UI_WINDOW_NEVER_CURRENT;
        hotKey = UI_HOTKEY_SYSTEM;
        depth = SYSTEM_DEPTH;
        return data;
    case UI_QUERY_FIND_NUMBER:
    case UI_QUERY_FIND_NAME:
        if (void* found = UI_WIDGET::Query(request, data, objectID))
            return found;
        return menu.Query(request, data, 0);
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_SYSTEM_BUTTON)
            return UI_BUTTON::Query(request, data, objectID);
        return BitsRequest(systemFlags, request, data);
    case 0x80:
    case 0x81:
        menu.Query(request, data, 0);
        return data;
    default:
        return UI_BUTTON::Query(request, data, objectID);
    }
}

int32_t UI_SYSTEM_BUTTON::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_SYSTEM_BUTTON);
    switch (code) {
    case UI_CODE_SCREEN_CHANGED: {
        const int32_t answer = UI_BUTTON::Event(event);
        menu.Event(event);
        return answer;
    }
    case UI_CODE_REMOVE_OBJECT:
    case UI_CODE_ADD_OBJECT:
        return menu.Event(event);
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL:
        UI_WIDGET::Event(event);
        if (bitmapArray != nullptr && screen != nullptr) {
            const auto colour = static_cast<uint8_t>(screen->ColourIndex(colours, 1));
            for (int32_t i = 0; i < bitmapWidth * bitmapHeight; ++i)
                if (bitmapArray[i] != 0xFF)
                    bitmapArray[i] = colour;
        }
        return UI_BUTTON::Event(event);
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        if (!(buttonFlags & UI_BUTTON_STATIC_BITMAP))
            delete[] bitmapArray;
        buttonFlags |= UI_BUTTON_STATIC_BITMAP;
        bitmapArray = systemPicture;
        bitmapWidth = PICTURE_WIDTH;
        bitmapHeight = PICTURE_HEIGHT;
        if (screen != nullptr) {
            const int32_t side = screen->rowHeight - screen->spaceAbove - screen->spaceBelow;
            screenRect.top -= 1;
            screenRect.left -= 1;
            screenRect.bottom = screenRect.top + side;
            screenRect.right = screenRect.left + side;
        }
        return code;
    case UI_CODE_PRESS: {
        const int32_t now = TimeOfDayHundredths();
        const bool topLevel = parent != nullptr && (parent->parent == nullptr || parent->parent->HasClass(UI_ID_DESKTOP));
        // The very first press of any system button is never a second click.
        if (lastPressSet && ElapsedHundredths(lastPress, now) < UI_DOUBLE_CLICK_TIME && topLevel)
            return CloseOnRelease();
        lastPress = now;
        lastPressSet = true;
        return OpenMenu(event);
    }
    case UI_CODE_SELECT:
        return OpenMenu(event);
    default:
        return UI_BUTTON::Event(event);
    }
}

// The second press of a double click: waits for the release (program
// events go on to the desktop), then asks for the window's close.
int32_t UI_SYSTEM_BUTTON::CloseOnRelease()
{
    while (inputManager != nullptr) {
        UI_MESSAGE next;
        if (inputManager->Get(&next, 0) != 0)
            return UI_CODE_RELEASE;   // nothing could bring the release: no close
        if (next.type >= UI_FIRST_PROGRAM_EVENT && desktop != nullptr)
            desktop->Event(&next);
        if (MapEvent(&next, UI_ID_SYSTEM_BUTTON) == UI_CODE_RELEASE)
            break;
    }
    if (inputManager != nullptr) {
        UI_MESSAGE close(UI_CODE_CLOSE);
        close.pointer = parent;
        inputManager->Put(&close, UI_PUT_AT_TAIL);
    }
    return UI_CODE_RELEASE;
}

// Shows the menu under the button with the commands that suit the window
// enabled and the first of them current. A button without a menu to offer
// handles the message as a button.
int32_t UI_SYSTEM_BUTTON::OpenMenu(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_SYSTEM_BUTTON);
    UI_POPUP_MENU& chosen = Menu();
    if (chosen.head == nullptr)
        return UI_BUTTON::Event(event);
    if (chosen.IsOpen() || desktop == nullptr || parent == nullptr)
        return code;
    chosen.parent = this;
    if (chosen.Current() != nullptr)
        chosen.Current()->status &= ~UI_STATUS_CURRENT;
    chosen.current = nullptr;
    for (UI_WIDGET* item = chosen.First(); item != nullptr; item = AsWidget(item->next)) {
        if (Enabled(item->number, *parent))
            item->flags &= ~UI_FLAG_NOT_SELECTABLE;
        else
            item->flags |= UI_FLAG_NOT_SELECTABLE;
        if (chosen.current == nullptr && !(item->flags & UI_FLAG_NOT_SELECTABLE)) {
            chosen.current = item;
            item->status |= UI_STATUS_CURRENT;
        }
    }
    chosen.status |= UI_STATUS_IN_PIXELS;
    const int32_t width = chosen.givenRect.right - chosen.givenRect.left;
    const int32_t height = chosen.givenRect.bottom - chosen.givenRect.top;
    chosen.givenRect = UI_RECT{screenRect.left, screenRect.bottom, screenRect.left + width, screenRect.bottom + height};
    desktop->Add(&chosen);
    return code;
}
