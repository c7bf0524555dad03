// UI_MENU_BAR.cpp: the menu bar and its titles: construction, requests, the
// bar's rows, the keys along the bar, and opening and drawing a title.
#include "widgets/UI_MENU_BAR.h"

#include <string>

#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

namespace {

constexpr uint16_t TITLE_BUTTON_FLAGS = UI_BUTTON_NO_TOGGLE | UI_BUTTON_ON_PRESS | UI_BUTTON_FLAT;
constexpr int32_t TITLE_TEXT_INSET = 4;

int32_t LineHeight()
{
    const UI_SCREEN* s = UI_WIDGET::screen;
    return s != nullptr ? s->rowHeight - s->spaceAbove - s->spaceBelow : 1;
}

int32_t TextLength(const char* text)
{
    int32_t n = 0;
    while (text != nullptr && text[n] != '\0')
        ++n;
    return n;
}

} // namespace

// ---------------------------------------------------------------------------
// Title

UI_MENU_BAR_ITEM::UI_MENU_BAR_ITEM(const char* newText, uint16_t menuListFlags, UI_CALLBACK userFunction,
                                   int32_t itemValue)
    : UI_BUTTON(0, 0, TextLength(newText), newText, TITLE_BUTTON_FLAGS, UI_FLAG_CENTRED, userFunction, itemValue),
      popup(0, 0, menuListFlags)
{
    UI_MENU_BAR_ITEM::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_MENU_BAR_ITEM);
}

UI_MENU_BAR_ITEM::~UI_MENU_BAR_ITEM()
{
    if (popup.IsOpen())
        desktop->Remove(&popup);
}

void* UI_MENU_BAR_ITEM::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_MENU_BAR_ITEM;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_MENU_BAR_ITEM, UI_ID_MENU_ENTRY, UI_ID_BUTTON});
        font = UI_FONT_WINDOW;
        popup.parent = this;
        return data;
    default: {
        void* answer = nullptr;
        if (UI_EntryMenuQuery(*this, popup, request, data, objectID, &answer))
            return answer;
        return UI_BUTTON::Query(request, data, objectID);
    }
    }
}

int32_t UI_MENU_BAR_ITEM::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_MENU_BAR_ITEM);
    int32_t answer = code;
    if (UI_EntryMenuEvent(*this, popup, event, code, &answer))
        return answer;
    switch (code) {
    case UI_CODE_INITIALIZE:
        status |= UI_STATUS_DRAWS_ITSELF;
        UI_BUTTON::Event(event);
        if (screen != nullptr) {
            givenRect.right = givenRect.left + screen->StringWidth(text, screenNumber, font) + 2 * screen->columnWidth - 1;
            givenRect.bottom = givenRect.top + LineHeight();
        }
        return code;
    case UI_CODE_SELECT:
        return Activate(event, code);
    case UI_CODE_PRESS:
        if (UI_WIDGET::Event(event) == UI_CODE_NOT_HANDLED)
            return UI_CODE_NOT_HANDLED;
        return Activate(event, code);
    case UI_CODE_UP:
    case UI_CODE_DOWN:
        return OpenPopup(code);
    default:
        return UI_BUTTON::Event(event);
    }
}

int32_t UI_MENU_BAR_ITEM::Activate(UI_MESSAGE* event, int32_t code)
{
    if (callback != nullptr)
        return RunCallback(event, UI_CODE_SELECT);
    return OpenPopup(code);
}

// The pop-up just under the title, when it has items and is not open.
int32_t UI_MENU_BAR_ITEM::OpenPopup(int32_t code)
{
    popup.Open(screenRect.left, screenRect.bottom + 1);
    return code;
}

int32_t UI_MENU_BAR_ITEM::Draw(UI_MESSAGE*, int32_t code)
{
    if (screen == nullptr)
        return code;
    const int32_t id = screenNumber;
    UI_RECT area = screenRect;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(id, &area, 0, code);
    screen->DrawBox(id, area.left, area.top, area.right, area.bottom, colours, 0, 1, 0, &clipRect);
    area.left += TITLE_TEXT_INSET;
    DrawText(id, &area, text, colours, 0, code);
    return code;
}

// ---------------------------------------------------------------------------
// Bar

UI_MENU_BAR::UI_MENU_BAR(int32_t blanks, uint16_t objectFlags, uint16_t objectWindowFlags)
    : UI_WINDOW(0, 0, 0, 0, static_cast<uint16_t>(objectFlags | UI_FLAG_SUPPORT), objectWindowFlags),
      leadingBlanks(blanks)
{
    UI_MENU_BAR::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_MENU_BAR);
    if (leadingBlanks > 0) {
        const std::string spaces(static_cast<size_t>(leadingBlanks), ' ');
        auto* spacer = new UI_MENU_BAR_ITEM(spaces.c_str());
        spacer->flags |= UI_FLAG_NOT_SELECTABLE;
        Add(spacer);
    }
}

void* UI_MENU_BAR::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_MENU_BAR;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_MENU_BAR, UI_ID_MENU, UI_ID_WINDOW});
        hotKey = 0xFF;   // every Alt key reaches the bar first
        listFlags |= UI_LIST_DRAG_CHOOSES;
        font = UI_FONT_WINDOW;
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        if (screenNumber != 0 && objectID == UI_ID_MENU_BAR && parent != nullptr)
            return parent->Query(request, data, 0);
        return UI_WINDOW::Query(request, data, objectID);
    default:
        return UI_WINDOW::Query(request, data, objectID);
    }
}

int32_t UI_MENU_BAR::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_MENU_BAR);
    switch (code) {
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        return LayOutBar(event, code);
    case UI_CODE_UP:
    case UI_CODE_DOWN:
        // Without a current title there is no pop-up to open.
        return Current() != nullptr ? Current()->Event(event) : UI_CODE_NOT_HANDLED;
    case UI_CODE_LEFT:
    case UI_CODE_RIGHT: {
        UI_MESSAGE focus(code == UI_CODE_LEFT ? UI_CODE_PREVIOUS_FIELD : UI_CODE_NEXT_FIELD);
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

// One text line high across the window, with a border; the titles from the
// left, a new row (and the bar one row higher) for a title that would pass
// the right edge.
int32_t UI_MENU_BAR::LayOutBar(UI_MESSAGE* event, int32_t code)
{
    UI_WIDGET::Event(event);
    clipList.DeleteAll();
    flags |= UI_FLAG_BORDER;
    UI_RECT& r = screenRect;
    r.left -= 1;
    r.right += 1;
    r.top -= 1;
    const int32_t rowHeight = LineHeight();
    r.bottom = r.top + rowHeight + 1;
    const int32_t innerWidth = r.right - r.left - 1;
    int32_t x = 0;
    int32_t y = 0;
    for (UI_WIDGET* item = First(); item != nullptr; item = AsWidget(item->next)) {
        const int32_t w = item->givenRect.right - item->givenRect.left + 1;
        if (x > 0 && x + w > innerWidth) {
            x = 0;
            y += rowHeight;
            r.bottom += rowHeight;
        }
        item->givenRect = UI_RECT{x, y, x + w - 1, y + rowHeight - 1};
        item->status |= UI_STATUS_IN_PIXELS;
        x += w;
    }
    clipList.InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, UI_RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
    for (UI_WIDGET* item = First(); item != nullptr; item = AsWidget(item->next))
        item->Event(event);
    return code;
}
