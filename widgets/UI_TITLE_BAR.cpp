// UI_TITLE_BAR.cpp: the title bar's construction, requests, drawing, and the
// press and release that move the window or report a double click.
#include "widgets/UI_TITLE_BAR.h"

#include <algorithm>
#include <cstring>

#include "core/TextUtil.h"
#include "widgets/TimeOfDay.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"

int32_t UI_TITLE_BAR::lastClick = 0;
bool UI_TITLE_BAR::lastClickSet = false;

namespace {

constexpr uint16_t TITLE_BUTTON_FLAGS = UI_BUTTON_NO_TOGGLE | UI_BUTTON_ON_PRESS;
constexpr uint16_t TITLE_OBJECT_FLAGS = UI_FLAG_TAKES_ROOM | UI_FLAG_SUPPORT | UI_FLAG_BORDER;
constexpr int32_t MOVE_FROM_TITLE = 1;   // raw code of the move a press starts

// Hundredths between two readings of the time of day, whichever came first.
int32_t ApartEitherWay(int32_t a, int32_t b)
{
    return std::min(ElapsedHundredths(a, b), ElapsedHundredths(b, a));
}

} // namespace

UI_TITLE_BAR::UI_TITLE_BAR(const char* newText, uint16_t objectFlags)
    : UI_BUTTON(0, 0, 0, newText, TITLE_BUTTON_FLAGS, objectFlags | TITLE_OBJECT_FLAGS)
{
    UI_TITLE_BAR::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_TITLE_BAR);
}

void* UI_TITLE_BAR::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_TITLE_BAR;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_TITLE_BAR, UI_ID_BUTTON});
        number = UI_TITLE_BAR_NUMBER;
        std::strncpy(searchName, "NUMID_TITLE", UI_SEARCH_NAME_SIZE - 1);
        windowFlags |= UI_WINDOW_NEVER_CURRENT;
        font = UI_TITLE_BAR_FONT;
        depth = 0;   // drawn flat
        return data;
    case UI_QUERY_GET_TEXT:
        if (data != nullptr)
            *static_cast<char**>(data) = text;
        return text;
    case UI_QUERY_COPY_TEXT:
        if (data != nullptr)
            std::strcpy(static_cast<char*>(data), text != nullptr ? text : "");
        return data;
    case UI_QUERY_SET_TEXT:
        SetText(static_cast<const char*>(data));
        return data;
    default:
        return UI_BUTTON::Query(request, data, objectID);
    }
}

void UI_TITLE_BAR::SetText(const char* newText)
{
    const bool borrowed = flags & UI_FLAG_TEXT_NOT_COPIED;
    if (text != nullptr && text != newText && !borrowed)
        delete[] text;
    text = borrowed || newText == text ? const_cast<char*>(newText) : StringDuplicate(newText);
    if (parent != nullptr && parent->screenNumber != 0) {
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        Event(&redisplay);
    }
}

int32_t UI_TITLE_BAR::Event(UI_MESSAGE* event)
{
    if (!lastClickSet) {
        lastClick = TimeOfDayHundredths();
        lastClickSet = true;
    }
    const int32_t code = MapEvent(event, UI_ID_TITLE_BAR);
    switch (code) {
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL:
        UI_WIDGET::Event(event);
        return DrawTitle(code);
    case UI_CODE_REDISPLAY:
        return DrawTitle(code);
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        if (screen != nullptr) {
            screenRect.left -= 1;
            screenRect.right += 1;
            screenRect.top -= 1;
            screenRect.bottom = screenRect.top + screen->rowHeight - screen->spaceAbove - screen->spaceBelow;
        }
        return code;
    case UI_CODE_PRESS:
        Press(event);
        return code;
    case UI_CODE_RELEASE:
        Release();
        return code;
    default:
        return UI_BUTTON::Event(event);
    }
}

int32_t UI_TITLE_BAR::DrawTitle(int32_t code)
{
    if (!(status & UI_STATUS_REDRAW) && code != UI_CODE_REDISPLAY)
        return code;
    if (screen != nullptr && screenNumber != 0) {
        UI_RECT area = screenRect;
        if (flags & UI_FLAG_BORDER)
            DrawBorder(screenNumber, &area, 0, code);
        DrawText(screenNumber, &area, text, colours, 1, code);
    }
    status &= ~UI_STATUS_REDRAW;
    return code;
}

// A press that is not the second of a double click moves the window, unless
// it cannot move or is maximized.
void UI_TITLE_BAR::Press(UI_MESSAGE* event)
{
    const int32_t now = TimeOfDayHundredths();
    if (parent == nullptr || ApartEitherWay(lastClick, now) <= UI_DOUBLE_CLICK_TIME ||
        (parent->windowFlags & UI_WINDOW_NO_MOVE) || (parent->status & UI_STATUS_MAXIMIZED))
        return;
    UI_MESSAGE move(UI_CODE_MOVE);
    move.code = MOVE_FROM_TITLE;
    move.point = event->point;
    parent->Event(&move);
    lastClick = now;
}

// The release of a second click soon after the first posts the bar's value,
// addressed to the window, at the head of the queue.
void UI_TITLE_BAR::Release()
{
    const int32_t now = TimeOfDayHundredths();
    if (parent != nullptr && !(parent->windowFlags & UI_WINDOW_NO_SIZE) &&
        ApartEitherWay(lastClick, now) < UI_DOUBLE_CLICK_TIME) {
        UI_MESSAGE doubleClick(value);
        doubleClick.pointer = parent;
        if (inputManager != nullptr)
            inputManager->Put(&doubleClick, 0);
        return;
    }
    lastClick = now;
}
