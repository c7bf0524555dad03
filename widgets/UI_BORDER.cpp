// UI_BORDER.cpp: the window border: identifiers, layout, pointer shapes,
// the press that starts sizing, and drawing.
#include "widgets/UI_BORDER.h"

#include <cstring>

#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"
#include "widgets/WindowMessages.h"

namespace {

constexpr uint16_t BORDER_FLAGS = UI_FLAG_SUPPORT | UI_FLAG_TAKES_ROOM;
constexpr uint16_t BORDER_WINDOW_FLAGS = UI_WINDOW_FILL_PARENT | UI_WINDOW_NEVER_CURRENT;
// Edge bits, as the window's sizing loop reads them.
constexpr int32_t EDGE_LEFT = 0x1000;
constexpr int32_t EDGE_RIGHT = 0x2000;
constexpr int32_t EDGE_TOP = 0x800;
constexpr int32_t EDGE_BOTTOM = 0x8000;
constexpr uint32_t STATE_HIGHLIGHT = 0x40;   // colour state of a window that asks for it (0x8000)
constexpr uint16_t UI_WINDOW_HIGHLIGHT_FRAME = 0x8000;

int32_t CellHeight()
{
    return UI_WIDGET::screen != nullptr ? UI_WIDGET::screen->rowHeight : 1;
}

bool Inside(const UI_RECT& outer, const UI_RECT& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

} // namespace

int32_t UI_PointerForEdges(int32_t edges)
{
    const bool across = edges & (EDGE_LEFT | EDGE_RIGHT);
    const bool upDown = edges & (EDGE_TOP | EDGE_BOTTOM);
    if (across && upDown) {
        const bool falling = ((edges & EDGE_LEFT) && (edges & EDGE_TOP)) ||
                             ((edges & EDGE_RIGHT) && (edges & EDGE_BOTTOM));
        return falling ? UI_POINTER_SIZE_FALLING : UI_POINTER_SIZE_RISING;
    }
    if (across)
        return UI_POINTER_SIZE_ACROSS;
    if (upDown)
        return UI_POINTER_SIZE_UP_DOWN;
    return UI_POINTER_NORMAL;
}

UI_BORDER::UI_BORDER(uint16_t style) : UI_WIDGET(0, 0, 0, 0, BORDER_FLAGS, BORDER_WINDOW_FLAGS), borderStyle(style)
{
    UI_BORDER::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_BORDER);
}

void* UI_BORDER::Query(int32_t request, void* data, uint16_t objectID)
{
    if (request != UI_QUERY_INITIALISE)
        return UI_WIDGET::Query(request, data, objectID == 0 ? UI_ID_BORDER : objectID);
    UI_WIDGET::Query(request, data, UI_ID_WIDGET);
    SetClassChain({UI_ID_BORDER});
    number = UI_BORDER_NUMBER;
    std::strncpy(searchName, "NUMID_BORDER", UI_SEARCH_NAME_SIZE - 1);
    windowFlags |= UI_WINDOW_NEVER_CURRENT;
    return data;
}

// A window that can be sized and is neither maximized nor minimized.
bool UI_BORDER::SizableParent() const
{
    return parent != nullptr && !(parent->windowFlags & UI_WINDOW_NO_SIZE) &&
           !(parent->status & (UI_STATUS_MAXIMIZED | UI_STATUS_MINIMIZED));
}

// The edges within a cell height of point, measured from the border's region.
int32_t UI_BORDER::EdgesAt(const UI_POINT& point) const
{
    const int32_t c = CellHeight();
    int32_t edges = 0;
    if (point.column <= screenRect.left + c)
        edges |= EDGE_LEFT;
    if (point.column >= screenRect.right - c)
        edges |= EDGE_RIGHT;
    if (point.line <= screenRect.top + c)
        edges |= EDGE_TOP;
    if (point.line >= screenRect.bottom - c)
        edges |= EDGE_BOTTOM;
    return edges;
}

int32_t UI_BORDER::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_BORDER);
    switch (code) {
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL: {
        UI_MESSAGE copy = *event;
        // The frame of the front window of a window of windows stays lit.
        if (code == UI_CODE_DRAW_INACTIVE && parent != nullptr && (parent->windowFlags & UI_WINDOW_IN_WINDOW) &&
            parent->parent != nullptr && (parent->parent->status & UI_STATUS_CURRENT) &&
            (parent->next == nullptr || !(AsWidget(parent->next)->windowFlags & UI_WINDOW_IN_WINDOW)))
            copy.type = UI_CODE_DRAW_NORMAL;
        UI_WIDGET::Event(&copy);
        if (parent != nullptr && RectsOverlap(event->rect, parent->screenRect) && screen != nullptr) {
            status |= UI_STATUS_REDRAW;
            screen->HoldScreen(screenNumber, parent->screenRect.left, parent->screenRect.top,
                               parent->screenRect.right, parent->screenRect.bottom);
            Draw(&copy, MapEvent(&copy, UI_ID_BORDER));
            screen->ReleaseScreen(screenNumber);
            status &= ~UI_STATUS_REDRAW;
        }
        return code;
    }
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        if (parent != nullptr && (parent->windowFlags & UI_WINDOW_IN_WINDOW) && (parent->status & UI_STATUS_MAXIMIZED))
            screenRect = UI_RECT{screenRect.left - 1, screenRect.top - 1, screenRect.right + 1, screenRect.bottom + 1};
        else
            screenRect = UI_RECT{screenRect.left + UI_FRAME_WIDTH, screenRect.top + UI_FRAME_WIDTH,
                                 screenRect.right - UI_FRAME_WIDTH, screenRect.bottom - UI_FRAME_WIDTH};
        return code;
    case UI_CODE_POINTER_MOVE:
    case UI_CODE_PRESS: {
        if (!SizableParent())
            return code;
        const int32_t edges = EdgesAt(event->point);
        if (code == UI_CODE_PRESS) {
            UI_MESSAGE size(UI_CODE_SIZE);
            size.code = edges;
            size.point = event->point;
            size.pointer = parent;
            parent->Event(&size);
        } else if (inputManager != nullptr) {
            inputManager->SendToDevice(UI_MOUSE_EVENT, UI_PointerForEdges(edges));
        }
        return code;
    }
    default:
        return UI_WIDGET::Event(event);
    }
}

int32_t UI_BORDER::Draw(UI_MESSAGE* event, int32_t code)
{
    if (screen == nullptr || parent == nullptr)
        return 1;
    const UI_RECT outer = parent->screenRect;
    const UI_RECT inner = screenRect;
    if ((parent->windowFlags & UI_WINDOW_IN_WINDOW) && (parent->status & UI_STATUS_MAXIMIZED))
        return 1;
    if (code == UI_CODE_DRAW_INACTIVE && Inside(outer, event->rect))
        return 1;
    const int32_t id = screenNumber;
    const UI_COLOUR_ENTRY* line = ChooseColours(code, UI_COLOUR_BORDER);
    screen->DrawBox(id, outer.left, outer.top, outer.right, outer.bottom, line, 1, 0, 0, nullptr);
    screen->DrawBox(id, inner.left, inner.top, inner.right, inner.bottom, line, 1, 0, 0, nullptr);
    if (code == UI_CODE_DRAW_NORMAL && (parent->windowFlags & UI_WINDOW_HIGHLIGHT_FRAME))
        colours = LookUpColours(colourTable, STATE_HIGHLIGHT | 1, UI_ID_BORDER, UI_ID_WIDGET, UI_ID_WIDGET,
                                UI_ID_WIDGET, UI_ID_WIDGET);
    const UI_RECT band{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1};
    const UI_RECT parts[4] = {
        {band.left, band.top, band.right, inner.top - 1},
        {band.left, inner.bottom + 1, band.right, band.bottom},
        {band.left, inner.top, inner.left - 1, inner.bottom},
        {inner.right + 1, inner.top, band.right, inner.bottom},
    };
    for (const UI_RECT& p : parts)
        if (p.left <= p.right && p.top <= p.bottom)
            screen->DrawBox(id, p.left, p.top, p.right, p.bottom, colours, 0, 1, 0, nullptr);
    if (!(parent->windowFlags & UI_WINDOW_NO_SIZE)) {
        const int32_t c = CellHeight();
        screen->DrawBox(id, inner.left + c, outer.top, inner.right - c, inner.top, line, 1, 0, 0, nullptr);
        screen->DrawBox(id, inner.left + c, inner.bottom, inner.right - c, outer.bottom, line, 1, 0, 0, nullptr);
        screen->DrawBox(id, outer.left, inner.top + c, inner.left, inner.bottom - c, line, 1, 0, 0, nullptr);
        screen->DrawBox(id, inner.right, inner.top + c, outer.right, inner.bottom - c, line, 1, 0, 0, nullptr);
    }
    return 1;
}
