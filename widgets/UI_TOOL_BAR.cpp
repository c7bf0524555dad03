// UI_TOOL_BAR.cpp: the tool bar: construction, requests, the flowing layout,
// adding a control, and the arrow keys.
#include "widgets/UI_TOOL_BAR.h"

#include <algorithm>

#include "widgets/WindowMessages.h"

UI_TOOL_BAR::UI_TOOL_BAR(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t listFlagBits,
                         uint16_t objectFlags, uint16_t objectWindowFlags)
    : UI_WINDOW(left, top, width, height, objectFlags, objectWindowFlags)
{
    listFlags |= listFlagBits;
    UI_TOOL_BAR::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_TOOL_BAR);
}

void* UI_TOOL_BAR::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_TOOL_BAR;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_TOOL_BAR, UI_ID_WINDOW});
        [[fallthrough]];
    case UI_QUERY_FLAGS_CHANGED:
        UI_WINDOW::Query(UI_QUERY_FLAGS_CHANGED, data, objectID);
        if (objectID == UI_ID_TOOL_BAR && (status & UI_STATUS_ON_SCREEN)) {
            SendMessage(this, UI_CODE_INITIALIZE);
            SendMessage(this, UI_CODE_LAYOUT);
        }
        return data;
    default:
        return UI_WINDOW::Query(request, data, objectID);
    }
}

int32_t UI_TOOL_BAR::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_TOOL_BAR);
    switch (code) {
    case UI_CODE_ADD_OBJECT:
        return AddControl(event, code);
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        return LayOutControls(event, code);
    case UI_CODE_LEFT:
    case UI_CODE_RIGHT:
    case UI_CODE_UP:
    case UI_CODE_DOWN: {
        // A string field moves its own cursor; at its end the focus moves.
        UI_WIDGET* now = Current();
        if ((code == UI_CODE_LEFT || code == UI_CODE_RIGHT) && now != nullptr && now->HasClass(UI_ID_STRING_FIELD) &&
            now->Event(event) != UI_CODE_NOT_HANDLED)
            return code;
        UI_MESSAGE focus(code == UI_CODE_LEFT || code == UI_CODE_UP ? UI_CODE_PREVIOUS_FIELD : UI_CODE_NEXT_FIELD);
        return UI_WINDOW::Event(&focus);
    }
    case UI_CODE_PREVIOUS_FIELD:
    case UI_CODE_NEXT_FIELD:
        return UI_CODE_NOT_HANDLED;   // the enclosing window moves past the bar
    default:
        return UI_WINDOW::Event(event);
    }
}

// A control added: the window lays itself out again around the bar, and
// the strip the bar no longer covers is drawn again.
int32_t UI_TOOL_BAR::AddControl(UI_MESSAGE* event, int32_t code)
{
    const UI_RECT old = screenRect;
    UI_WINDOW::Event(event);
    if (parent == nullptr)
        return code;
    SendMessage(parent, UI_CODE_CHANGED);
    if (screenRect.bottom < old.bottom)
        SendMessage(parent, UI_CODE_DRAW_CURRENT, UI_RECT{old.left, screenRect.bottom, old.right, old.bottom});
    return code;
}

int32_t UI_TOOL_BAR::LayOutControls(UI_MESSAGE* event, int32_t code)
{
    clipList.DeleteAll();
    const uint16_t ownFlags = flags;
    flags |= UI_FLAG_TAKES_ROOM;   // measured on the room of the parent
    UI_WIDGET::Event(event);
    flags = ownFlags | UI_FLAG_BORDER;
    UI_RECT& r = screenRect;
    r.left -= 1;
    r.top -= 1;
    r.right += 1;
    r.bottom = r.top + (givenRect.bottom - givenRect.top) + 2;
    if ((listFlags & UI_LIST_NO_FLOW) || head == nullptr) {
        for (UI_WIDGET* control = First(); control != nullptr; control = AsWidget(control->next))
            control->Event(event);
        return code;
    }
    int32_t rowHeight = 1;
    for (UI_WIDGET* control = First(); control != nullptr; control = AsWidget(control->next))
        rowHeight = std::max(rowHeight, 1 + control->givenRect.bottom - control->givenRect.top);
    r.bottom = r.top + rowHeight - 1;
    const int32_t width = r.right - r.left;
    int32_t x = 0;
    int32_t y = 0;
    for (UI_WIDGET* control = First(); control != nullptr; control = AsWidget(control->next)) {
        const int32_t w = control->givenRect.right - control->givenRect.left + 1;
        if (x > 0 && x + w > width) {
            x = 0;
            y += rowHeight;
            r.bottom += rowHeight;
        }
        control->givenRect = UI_RECT{x, y, x + w - 1, y + rowHeight - 1};
        x += w;
    }
    r.bottom += 2;
    clipList.DeleteAll();
    clipList.InsertBefore(nullptr,
                          new UI_CLIP_RECT(screenNumber, UI_RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
    UI_MESSAGE changed(UI_CODE_CHANGED);
    for (UI_WIDGET* control = First(); control != nullptr; control = AsWidget(control->next))
        control->Event(&changed);
    return code;
}
