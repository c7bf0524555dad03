// UI_POPUP_MENU.cpp: the pop-up menu and the menu item: construction,
// requests, the pop-up's layout and keys, the item's choosing and the moves
// between menus, and the item's drawing.
#include "widgets/UI_POPUP_MENU.h"

#include <algorithm>

#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

namespace {

constexpr int32_t RAW_ESC = 0x011B;
constexpr uint16_t POPUP_LIST_FLAGS = UI_LIST_DRAG_CHOOSES;
constexpr int32_t ITEM_INSET = 4;        // pixels from the item's left to its tick
constexpr int32_t SUBMENU_OVERLAP = 8;   // a sub-menu's left is this far inside its item
constexpr int32_t ARROW_INSET = 8;       // the sub-menu arrow from the item's right edge

constexpr int32_t TICK_WIDTH = 9;
constexpr int32_t TICK_HEIGHT = 10;
constexpr int32_t ARROW_WIDTH = 5;
constexpr int32_t ARROW_HEIGHT = 9;
constexpr uint8_t O = 0xFF;
constexpr uint8_t X = 1;

// A tick: a stroke from the lower left rising to the upper right.
const uint8_t TICK[TICK_WIDTH * TICK_HEIGHT] = {
    O, O, O, O, O, O, O, O, X,
    O, O, O, O, O, O, O, X, X,
    O, O, O, O, O, O, X, X, O,
    O, O, O, O, O, X, X, O, O,
    X, O, O, O, X, X, O, O, O,
    X, X, O, X, X, O, O, O, O,
    O, X, X, X, O, O, O, O, O,
    O, O, X, O, O, O, O, O, O,
    O, O, O, O, O, O, O, O, O,
    O, O, O, O, O, O, O, O, O,
};

// A solid triangle pointing right.
const uint8_t SUBMENU_ARROW[ARROW_WIDTH * ARROW_HEIGHT] = {
    X, O, O, O, O,
    X, X, O, O, O,
    X, X, X, O, O,
    X, X, X, X, O,
    X, X, X, X, X,
    X, X, X, X, O,
    X, X, X, O, O,
    X, X, O, O, O,
    X, O, O, O, O,
};

// The system bits in the order in which the first present decides, with the
// number identifier and the command each gives (0: none).
struct SystemItem {
    uint16_t bit;
    uint16_t number;
    int32_t command;
};
constexpr SystemItem SYSTEM_ITEMS[] = {
    {UI_ITEM_RESTORE, UI_NUMBER_RESTORE, UI_CODE_RESTORE},
    {UI_ITEM_MOVE, UI_NUMBER_MOVE, UI_CODE_MOVE},
    {UI_ITEM_SIZE, UI_NUMBER_SIZE, UI_CODE_SIZE},
    {UI_ITEM_MINIMIZE, UI_NUMBER_MINIMIZE, UI_CODE_MINIMIZE},
    {UI_ITEM_MAXIMIZE, UI_NUMBER_MAXIMIZE, UI_CODE_MAXIMIZE},
    {UI_ITEM_CLOSE, UI_NUMBER_CLOSE, UI_CODE_CLOSE},
    {UI_ITEM_SYSTEM, UI_NUMBER_SYSTEM, 0},
};

int32_t CellHeight()
{
    return UI_WIDGET::screen != nullptr ? UI_WIDGET::screen->rowHeight : 1;
}

int32_t LineHeight()
{
    const UI_SCREEN* s = UI_WIDGET::screen;
    return s != nullptr ? s->rowHeight - s->spaceAbove - s->spaceBelow : 1;
}

bool Choosable(const UI_WIDGET* object)
{
    return !(object->flags & UI_FLAG_NOT_SELECTABLE) && !(object->windowFlags & UI_WINDOW_NEVER_CURRENT);
}

} // namespace

int32_t UI_ChooseItemByHotKey(UI_WINDOW& menu, const UI_MESSAGE* event)
{
    int32_t key = event->keyData.keyValue & 0xFF;
    if (key == 0 || key == 0xFF)
        return UI_CODE_NO_HOT_KEY;   // no character, or the character -1
    if (key >= 'A' && key <= 'Z')
        key += 'a' - 'A';
    for (UI_WIDGET* item = menu.First(); item != nullptr; item = AsWidget(item->next)) {
        if (item->hotKey != key || (item->flags & UI_FLAG_NOT_SELECTABLE))
            continue;
        menu.Add(item);
        UI_MESSAGE select(UI_CODE_SELECT);
        return item->Event(&select);
    }
    return UI_CODE_NO_HOT_KEY;
}

bool UI_EntryMenuQuery(UI_BUTTON& entry, UI_POPUP_MENU& menu, int32_t request, void* data, uint16_t objectID,
                       void** answer)
{
    switch (request) {
    case UI_QUERY_FIND_NUMBER:
    case UI_QUERY_FIND_NAME:
        *answer = entry.UI_WIDGET::Query(request, data, objectID);
        if (*answer == nullptr)
            *answer = menu.Query(request, data, 0);
        return true;
    case 0x80:
    case 0x81:
        entry.UI_BUTTON::Query(request, data, objectID);
        menu.Query(request, data, 0);
        *answer = data;
        return true;
    default:
        return false;
    }
}

bool UI_EntryMenuEvent(UI_BUTTON& entry, UI_POPUP_MENU& menu, UI_MESSAGE* event, int32_t code, int32_t* answer)
{
    switch (code) {
    case UI_CODE_SCREEN_CHANGED:
        *answer = entry.UI_BUTTON::Event(event);
        menu.Event(event);
        return true;
    case UI_CODE_ADD_OBJECT:
    case UI_CODE_REMOVE_OBJECT:
        menu.Event(event);
        *answer = code;
        return true;
    default:
        return false;
    }
}

void UI_CloseTemporaryWindows()
{
    UI_DESKTOP* d = UI_WIDGET::desktop;
    while (d != nullptr && d->First() != nullptr && (d->First()->windowFlags & UI_WINDOW_MODAL)) {
        UI_MESSAGE close(UI_CODE_CLOSE_TEMPORARY);
        d->Event(&close);
    }
}

// ---------------------------------------------------------------------------
// Pop-up menu

UI_POPUP_MENU::UI_POPUP_MENU(int32_t left, int32_t top, uint16_t menuListFlags, uint16_t objectFlags,
                             uint16_t objectWindowFlags)
    : UI_WINDOW(left, top, 0, 0, objectFlags, objectWindowFlags)
{
    listFlags |= menuListFlags;
    UI_POPUP_MENU::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_POPUP_MENU);
    givenRect = screenRect = UI_RECT{left, top, left, top};
    status |= UI_STATUS_IN_PIXELS;   // placed in pixels by its owner
}

UI_POPUP_MENU::~UI_POPUP_MENU()
{
    if (IsOpen())
        desktop->Remove(this);
}

void* UI_POPUP_MENU::Query(int32_t request, void* data, uint16_t objectID)
{
    if (request != UI_QUERY_INITIALISE)
        return UI_WINDOW::Query(request, data, objectID);
    SetClassChain({UI_ID_POPUP_MENU, UI_ID_MENU, UI_ID_WINDOW});
    listFlags |= POPUP_LIST_FLAGS;
    font = UI_FONT_WINDOW;
    return data;
}

bool UI_POPUP_MENU::IsOpen() const
{
    return desktop != nullptr && desktop->PositionOf(this) >= 0;
}

void UI_POPUP_MENU::Open(int32_t left, int32_t top)
{
    if (head == nullptr || IsOpen() || desktop == nullptr)
        return;
    const int32_t width = givenRect.right - givenRect.left;
    const int32_t height = givenRect.bottom - givenRect.top;
    status |= UI_STATUS_IN_PIXELS;
    givenRect = UI_RECT{left, top, left + width, top + height};
    if (Current() != nullptr)
        Current()->status &= ~UI_STATUS_CURRENT;
    desktop->Add(this);
}

// As wide as the widest item and as high as all of them, stacked from the
// top; moved left or up to stay on the screen.
void UI_POPUP_MENU::LayOutItems()
{
    int32_t width = 0;
    int32_t height = 0;
    for (UI_WIDGET* object = First(); object != nullptr; object = AsWidget(object->next)) {
        const auto* item = dynamic_cast<const UI_MENU_ITEM*>(object);
        const UI_RECT& g = object->givenRect;
        width = std::max(width, item != nullptr ? item->NaturalWidth() : g.right - g.left + 1);
        height += item != nullptr ? item->NaturalHeight() : g.bottom - g.top + 1;
    }
    UI_RECT& r = givenRect;
    r.right = r.left + width - 1;
    r.bottom = r.top + height - 1;
    if ((flags & UI_FLAG_BORDER) && (windowFlags & UI_WINDOW_MODAL)) {
        r.right += 2;
        r.bottom += 2;
    }
    if ((parent == nullptr || (windowFlags & UI_WINDOW_MODAL)) && screen != nullptr) {
        if (r.right >= screen->width) {
            const int32_t by = r.right - (screen->width - 1);
            r.left -= by;
            r.right -= by;
        }
        if (r.bottom >= screen->height) {
            const int32_t by = r.bottom - (screen->height - 1);
            r.top -= by;
            r.bottom -= by;
        }
    }
    int32_t top = 0;
    for (UI_WIDGET* object = First(); object != nullptr; object = AsWidget(object->next)) {
        const auto* item = dynamic_cast<const UI_MENU_ITEM*>(object);
        const int32_t h = item != nullptr ? item->NaturalHeight() : object->givenRect.bottom - object->givenRect.top + 1;
        object->givenRect = UI_RECT{0, top, width - 1, top + h - 1};
        object->status |= UI_STATUS_IN_PIXELS;
        top += h;
    }
}

int32_t UI_POPUP_MENU::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_POPUP_MENU);
    if (event->type == UI_KEY_EVENT && (event->code & 0xFFFF) == RAW_ESC && inputManager != nullptr) {
        UI_MESSAGE close(UI_CODE_CLOSE);
        close.pointer = this;
        inputManager->Put(&close, 0);   // at the head: closes this pop-up only
    }
    switch (code) {
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        LayOutItems();
        return UI_WINDOW::Event(event);
    case UI_CODE_RELEASE:
        // The release after the press that opened the menu leaves it open.
        if (!PointInside(screenRect, event->point) && parent != nullptr &&
            PointInside(parent->screenRect, event->point))
            return code;
        return UI_WINDOW::Event(event);
    case UI_CODE_UP:
    case UI_CODE_DOWN: {
        if (Current() == nullptr) {
            // No item marked yet: the first (last) that can be chosen.
            UI_NODE* n = code == UI_CODE_DOWN ? head : tail;
            while (n != nullptr && !Choosable(AsWidget(n)))
                n = code == UI_CODE_DOWN ? n->next : n->previous;
            if (n != nullptr)
                Add(AsWidget(n));
            return code;
        }
        UI_MESSAGE focus(code == UI_CODE_UP ? UI_CODE_PREVIOUS_FIELD : UI_CODE_NEXT_FIELD);
        return UI_WINDOW::Event(&focus);
    }
    case UI_CODE_PREVIOUS_FIELD:
    case UI_CODE_NEXT_FIELD:
        return UI_CODE_NOT_HANDLED;
    case UI_KEY_EVENT:
        if (!(event->keyData.shifts & UI_SHIFT_ALT))
            return UI_ChooseItemByHotKey(*this, event);
        return UI_WINDOW::Event(event);
    default:
        return UI_WINDOW::Event(event);
    }
}

// ---------------------------------------------------------------------------
// Menu item

UI_MENU_ITEM::UI_MENU_ITEM(const char* newText, uint16_t menuItemFlags, uint16_t itemButtonFlags,
                           uint16_t objectFlags, UI_CALLBACK userFunction, int32_t itemValue)
    : UI_BUTTON(0, 0, 0, newText, itemButtonFlags, objectFlags, userFunction, itemValue), itemFlags(menuItemFlags),
      subMenu(0, 0)
{
    UI_MENU_ITEM::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_MENU_ITEM);
}

UI_MENU_ITEM::UI_MENU_ITEM() : UI_BUTTON(0, 0, 1, nullptr, UI_BUTTON_FLAT), itemFlags(UI_ITEM_SEPARATOR), subMenu(0, 0)
{
    UI_MENU_ITEM::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_MENU_ITEM);
}

UI_MENU_ITEM::~UI_MENU_ITEM()
{
    if (subMenu.IsOpen())
        desktop->Remove(&subMenu);
}

int32_t UI_MENU_ITEM::NaturalWidth() const
{
    if (IsSeparator())
        return 1;
    const int32_t textWidth = screen != nullptr ? screen->StringWidth(text, screenNumber, font) : 0;
    return textWidth + CellHeight() + (HasSubMenu() ? CellHeight() : 0) + 1;
}

int32_t UI_MENU_ITEM::NaturalHeight() const
{
    return IsSeparator() ? CellHeight() / 2 + 1 : LineHeight() + 1;
}

// What construction and request 6 apply: drawn flat and borderless; the
// first system bit gives the number and, with any of the low eight bits,
// the command posted as the value; an item without text is a separator,
// which is never chosen.
void UI_MENU_ITEM::ApplyItemFlags()
{
    flags &= ~UI_FLAG_BORDER;
    buttonFlags |= UI_BUTTON_FLAT;
    depth = 0;
    const SystemItem* first = nullptr;
    for (const SystemItem& s : SYSTEM_ITEMS)
        if (first == nullptr && (itemFlags & s.bit))
            first = &s;
    if (first != nullptr)
        number = first->number;
    if (itemFlags & 0xFF) {
        buttonFlags |= UI_BUTTON_SEND_MESSAGE;
        for (const SystemItem& s : SYSTEM_ITEMS)
            if (s.command != 0 && (itemFlags & s.bit)) {
                value = s.command;
                break;
            }
    }
    if (((buttonFlags | itemFlags) & UI_ITEM_SEND_VALUE) && callback == nullptr) {
        buttonFlags |= UI_BUTTON_SEND_MESSAGE;
        itemFlags |= UI_ITEM_SEND_VALUE;
        callback = PostValue;
    }
    if (text == nullptr || text[0] == '\0')
        itemFlags = UI_ITEM_SEPARATOR;
    if (itemFlags & (UI_ITEM_NOT_SELECTABLE | UI_ITEM_SEPARATOR))
        flags |= UI_FLAG_NOT_SELECTABLE;
}

void* UI_MENU_ITEM::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_MENU_ITEM;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_MENU_ITEM, UI_ID_MENU_ENTRY, UI_ID_BUTTON});
        font = UI_FONT_WINDOW;
        subMenu.parent = this;
        ApplyItemFlags();
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        ApplyItemFlags();
        return data;
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_MENU_ITEM)
            return UI_BUTTON::Query(request, data, objectID);
        return BitsRequest(itemFlags, request, data);
    default: {
        void* answer = nullptr;
        if (UI_EntryMenuQuery(*this, subMenu, request, data, objectID, &answer))
            return answer;
        return UI_BUTTON::Query(request, data, objectID);
    }
    }
}

int32_t UI_MENU_ITEM::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_MENU_ITEM);
    int32_t answer = code;
    if (UI_EntryMenuEvent(*this, subMenu, event, code, &answer))
        return answer;
    switch (code) {
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        givenRect.right = givenRect.left + NaturalWidth() - 1;
        givenRect.bottom = givenRect.top + NaturalHeight() - 1;
        return code;
    case UI_CODE_INITIALIZE:
        status |= UI_STATUS_DRAWS_ITSELF;
        return UI_BUTTON::Event(event);
    case UI_CODE_RELEASE:
        if ((buttonState & UI_BUTTON_PRESSED) && PointInside(screenRect, event->point)) {
            buttonState &= ~UI_BUTTON_PRESSED;
            return Choose(event, UI_CODE_SELECT);
        }
        return UI_BUTTON::Event(event);
    case UI_CODE_SELECT:
    case UI_CODE_LEFT:
    case UI_CODE_RIGHT:
        return Choose(event, code);
    default:
        return UI_BUTTON::Event(event);
    }
}

// Choosing, and Left and Right, in an open pop-up: opens the sub-menu, or
// chooses the item and closes the whole menu, or leaves a sub-menu, or has
// the menu bar move to the neighbouring item and open its pop-up.
int32_t UI_MENU_ITEM::Choose(UI_MESSAGE* event, int32_t code)
{
    auto* own = dynamic_cast<UI_POPUP_MENU*>(parent);
    if (own == nullptr || !own->IsOpen())
        return UI_CODE_NOT_HANDLED;
    if (code == UI_CODE_SELECT && (flags & UI_FLAG_NOT_SELECTABLE))
        return UI_CODE_NOT_HANDLED;   // a separator or a disabled item
    if (code == UI_CODE_SELECT && HasSubMenu() && subMenu.IsOpen())
        return code;
    if ((code == UI_CODE_RIGHT || code == UI_CODE_SELECT) && HasSubMenu()) {
        subMenu.Open(screenRect.right - SUBMENU_OVERLAP, screenRect.top - 1);
        return code;
    }
    if (code == UI_CODE_SELECT) {
        UI_MESSAGE select = *event;
        select.type = UI_CODE_SELECT;
        select.code = 0;
        const int32_t answer = UI_BUTTON::Event(&select);
        UI_CloseTemporaryWindows();
        return answer;
    }
    const bool inSubMenu = own->parent != nullptr && own->parent->HasClass(UI_ID_MENU_ITEM);
    if (code == UI_CODE_LEFT && inSubMenu) {
        if (desktop != nullptr) {
            UI_MESSAGE close(UI_CODE_CLOSE_TEMPORARY);
            desktop->Event(&close);
        }
        return code;
    }
    UI_CloseTemporaryWindows();
    if (inputManager != nullptr) {
        const UI_MESSAGE again(code);
        inputManager->Put(&again, UI_PUT_AT_TAIL);
        const UI_MESSAGE down(UI_CODE_DOWN);
        inputManager->Put(&down, UI_PUT_AT_TAIL);
    }
    return code;
}

int32_t UI_MENU_ITEM::Draw(UI_MESSAGE*, int32_t code)
{
    status &= ~UI_STATUS_REDRAW;
    if (screen == nullptr)
        return code;
    const int32_t id = screenNumber;
    UI_RECT area = screenRect;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(id, &area, 0, code);
    screen->DrawBox(id, area.left, area.top, area.right, area.bottom, colours, 0, 1, 0, &clipRect);
    if (IsSeparator()) {
        const int32_t line = (area.top + area.bottom) / 2;
        screen->DrawLine(id, area.left, line, area.right, line, ChooseColours(UI_CODE_DRAW_NORMAL, UI_COLOUR_BORDER), 1,
                         0, &clipRect);
        return code;
    }
    const int32_t left = area.left + ITEM_INSET;
    const int32_t height = area.bottom - area.top;
    if ((status & UI_STATUS_SELECTED) && (itemFlags & UI_ITEM_CHECK_MARK))
        screen->DrawPixels(id, left, area.top + (height - TICK_HEIGHT) / 2, TICK_WIDTH, TICK_HEIGHT, TICK, colours,
                           &clipRect);
    UI_RECT textArea{left + 2 * screen->columnWidth, area.top, area.right, area.bottom};
    DrawText(id, &textArea, text, colours, 0, code);
    if (HasSubMenu())
        screen->DrawPixels(id, area.right - ARROW_INSET, area.top + (height - ARROW_HEIGHT) / 2, ARROW_WIDTH,
                           ARROW_HEIGHT, SUBMENU_ARROW, colours, &clipRect);
    return code;
}
