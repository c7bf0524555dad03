// UI_WIDGET.cpp: the window-object base: construction, requests, event and
// colour mapping, cell conversion, the user-function call, hot keys, the base
// event handler and the shared drawing routines, and the default hot-key
// table.
#include "widgets/UI_WIDGET.h"

#include <cstdio>

#include "core/TextUtil.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/UI_CLIP_LIST.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"

UI_SCREEN* UI_WIDGET::screen = nullptr;
UI_INPUT_MANAGER* UI_WIDGET::inputManager = nullptr;
UI_DESKTOP* UI_WIDGET::desktop = nullptr;
uint16_t UI_WIDGET::defaultStatus = 0;

namespace {

constexpr int32_t LOOKUP_IDS = 5;             // class ids handed to the table lookups

// The right (or bottom) edge from a start and a size: start + size - 1 for a
// start on the screen and a positive size; otherwise the size is the edge.
int32_t FarEdge(int32_t start, int32_t size)
{
    return start >= 0 && size > 0 ? start + size - 1 : size;
}

// (numerator x c x cell + k) / denominator, rounded away from zero.
int32_t ScaleFraction(int32_t c, int32_t numerator, int32_t denominator, int32_t cell)
{
    if (denominator == 0)
        return c * cell;
    const int64_t k = c >= 0 ? denominator - 1 : 1 - denominator;
    return static_cast<int32_t>((int64_t{numerator} * c * cell + k) / denominator);
}

bool Inside(const UI_RECT& r, int32_t column, int32_t line)
{
    return column >= r.left && column <= r.right && line >= r.top && line <= r.bottom;
}

bool Overlap(const UI_RECT& a, const UI_RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

} // namespace

UI_WIDGET::UI_WIDGET(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t objectFlags,
                     uint16_t objectWindowFlags)
    : flags(objectFlags), windowFlags(objectWindowFlags)
{
    UI_WIDGET::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_WIDGET);
    givenRect = UI_RECT{left, top, FarEdge(left, width), FarEdge(top, height)};
    screenRect = givenRect;
}

UI_WIDGET::~UI_WIDGET()
{
    delete[] ownedBlocks[0];
    delete[] ownedBlocks[1];
}

// Requests of the base:
//   0 initialise (class chain all 18, off the screen, default tables, font 1,
//     status from defaultStatus and flags 0x100 / 0x80), then as 6;
//   1 / 2 this object when its number / search name (any case) matches;
//   3, 4, 5 get (into data, or the field's address with null data), set and
//     clear bits of flags; 7, 8, 9 the same for status (own id only);
//   6 status 0x100 = on the screen; 10 redisplay. Others answer null.
void* UI_WIDGET::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_WIDGET;
    uint16_t* field = request >= UI_QUERY_GET_STATUS ? &status : &flags;
    switch (request) {
    case UI_QUERY_INITIALISE:
        for (uint16_t& id : classChain)
            id = UI_ID_WIDGET;
        classId = UI_ID_WIDGET;
        screenNumber = 0;
        parent = nullptr;
        colours = nullptr;
        hotKey = 0;
        status = defaultStatus;
        font = UI_FONT_OBJECT;
        if (eventTable == nullptr)
            eventTable = UI_DEFAULT_EVENT_TABLE;
        if (hotKeyTable == nullptr)
            hotKeyTable = UI_DEFAULT_HOTKEY_TABLE;
        if (colourTable == nullptr)
            colourTable = UI_DEFAULT_COLOUR_TABLE;
        if (flags & UI_FLAG_INVALID_ON_START)
            status |= UI_STATUS_INVALID;
        if (flags & UI_FLAG_CLEAR_ON_START)
            status |= UI_STATUS_CLEAR;
        [[fallthrough]];
    case UI_QUERY_FLAGS_CHANGED:
        if (screenNumber != 0)
            status |= UI_STATUS_ON_SCREEN;
        else
            status &= ~UI_STATUS_ON_SCREEN;
        return data;
    case UI_QUERY_FIND_NUMBER:
        return data != nullptr && *static_cast<const uint16_t*>(data) == number ? this : nullptr;
    case UI_QUERY_FIND_NAME:
        return data != nullptr && CompareNoCase(searchName, static_cast<const char*>(data)) == 0 ? this : nullptr;
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_GET_STATUS:
        if (objectID != UI_ID_WIDGET)
            return nullptr;
        if (data == nullptr)
            return field;
        *static_cast<uint16_t*>(data) = *field;
        return data;
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_SET_STATUS:
        if (objectID != UI_ID_WIDGET)
            return nullptr;
        if (data != nullptr)
            *field |= *static_cast<const uint16_t*>(data);
        return data;
    case UI_QUERY_CLEAR_FLAGS:
    case UI_QUERY_CLEAR_STATUS:
        if (objectID != UI_ID_WIDGET)
            return nullptr;
        if (data != nullptr)
            *field &= static_cast<uint16_t>(~*static_cast<const uint16_t*>(data));
        return data;
    case UI_QUERY_REDISPLAY: {
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        Event(&redisplay);
        return data;
    }
    default:
        return nullptr;
    }
}

void UI_WIDGET::SetClassChain(std::initializer_list<uint16_t> ids)
{
    int32_t n = 0;
    for (uint16_t id : ids)
        if (n < UI_CLASS_CHAIN_SIZE)
            classChain[n++] = id;
    classId = classChain[0];
}

bool UI_WIDGET::HasClass(uint16_t id) const
{
    for (int32_t n = 0; n < LOOKUP_IDS; ++n)
        if (classChain[n] == id)
            return true;
    return false;
}

UI_WIDGET* UI_WIDGET::TopLevel()
{
    UI_WIDGET* top = this;
    while (top->parent != nullptr && !top->parent->HasClass(UI_ID_DESKTOP))
        top = top->parent;
    return top;
}

namespace {

// The ids handed to a table lookup: id, then the entries of chain after the
// one that is id (18 where the chain ends); all 18 when id is not in it.
void LookupIds(const uint16_t* chain, uint16_t id, uint16_t* ids)
{
    ids[0] = id;
    int32_t found = -1;
    for (int32_t n = 0; n < LOOKUP_IDS && found < 0; ++n)
        if (chain[n] == id)
            found = n;
    for (int32_t n = 1; n < LOOKUP_IDS; ++n) {
        const int32_t from = found + n;
        ids[n] = found >= 0 && from < UI_CLASS_CHAIN_SIZE ? chain[from] : UI_ID_WIDGET;
    }
}

} // namespace

int32_t UI_WIDGET::MapEvent(const UI_MESSAGE* event, uint16_t objectID) const
{
    uint16_t ids[LOOKUP_IDS];
    LookupIds(classChain, objectID != 0 ? objectID : classChain[0], ids);
    return LookUpEvent(eventTable, event, ids[0], ids[1], ids[2], ids[3], ids[4]);
}

uint32_t UI_WIDGET::StateBits(int32_t code) const
{
    uint32_t state = 0;
    if (flags & UI_FLAG_NOT_SELECTABLE)
        state = 0x10;
    else if (code == UI_CODE_DRAW_CURRENT && (status & UI_STATUS_CURRENT))
        state = 4;
    else if (code == UI_CODE_DRAW_CURRENT || code == UI_CODE_DRAW_NORMAL || code == UI_CODE_DEACTIVATE ||
             (parent != nullptr && (parent->status & UI_STATUS_CURRENT)))
        state = 1;
    if (status & UI_STATUS_SELECTED)
        state += 8;
    return state;
}

const UI_COLOUR_ENTRY* UI_WIDGET::ChooseColours(int32_t code, uint16_t colourID) const
{
    uint32_t state = StateBits(code);
    if (colourID == UI_COLOUR_ALTERNATE) {
        state += 0x20;
        colourID = 0;
    }
    uint16_t ids[LOOKUP_IDS];
    LookupIds(classChain, colourID != 0 ? colourID : classChain[0], ids);
    return LookUpColours(colourTable, state, ids[0], ids[1], ids[2], ids[3], ids[4]);
}

void UI_WIDGET::CellsToPixels(UI_RECT* rectangle, int32_t absolute)
{
    if (screen == nullptr || rectangle == nullptr)
        return;
    UI_RECT& r = *rectangle;
    if (status & UI_STATUS_IN_PIXELS) {
        if (givenRect.right < givenRect.left && givenRect.right < 0)
            r.right += screen->width;
        if (givenRect.bottom < givenRect.top && givenRect.bottom < 0)
            r.bottom += screen->height;
        return;
    }
    const int32_t cellWidth = screen->columnWidth;
    const int32_t cellHeight = screen->rowHeight;
    if (flags & UI_FLAG_FRACTIONAL) {
        r.left = ScaleFraction(r.left, screen->fractionNumX, screen->fractionDenX, cellWidth);
        r.right = ScaleFraction(r.right, screen->fractionNumX, screen->fractionDenX, cellWidth);
        r.top = ScaleFraction(r.top, screen->fractionNumY, screen->fractionDenY, cellHeight);
        r.bottom = ScaleFraction(r.bottom, screen->fractionNumY, screen->fractionDenY, cellHeight);
    } else {
        r.left *= cellWidth;
        r.top *= cellHeight;
        r.right = r.right * cellWidth + cellWidth - 1;
        r.bottom = r.bottom * cellHeight + cellHeight - 1;
        if (absolute == 0) {
            r.top += screen->spaceAbove;
            r.bottom -= screen->spaceBelow;
        }
    }
    if (r.left < 0)
        r.left += screen->width;
    if (r.right < 0)
        r.right += screen->width;
    if (r.top < 0)
        r.top += screen->height;
    if (r.bottom < 0)
        r.bottom += screen->height;
    status |= UI_STATUS_IN_PIXELS;
}

int32_t UI_WIDGET::RunCallback(UI_MESSAGE* event, int32_t code)
{
    if (status & (UI_STATUS_NO_CALLBACK | UI_STATUS_IN_CALLBACK))
        return 0;
    status |= UI_STATUS_IN_CALLBACK;
    int32_t answer = code;
    if (code == UI_CODE_SELECT && !(flags & UI_FLAG_NOT_SELECTABLE)) {
        // A button's flag 0x1 keeps its selected bit; other objects have none.
        const auto* buttonFlags = static_cast<const uint16_t*>(Query(UI_QUERY_GET_FLAGS, nullptr, UI_ID_BUTTON));
        const bool keepsSelection = buttonFlags != nullptr && (*buttonFlags & 0x1);
        if (!keepsSelection && parent != nullptr) {
            const auto* listFlags =
                static_cast<const uint16_t*>(parent->Query(UI_QUERY_GET_FLAGS, nullptr, UI_ID_WINDOW));
            if (listFlags != nullptr && (*listFlags & UI_LIST_MULTIPLE_SELECTION))
                status ^= UI_STATUS_SELECTED;
            else
                status |= UI_STATUS_SELECTED;
        }
    }
    if (callback != nullptr) {
        UI_MESSAGE copy = *event;
        answer = callback(this, &copy, code);
    } else if (code != UI_CODE_DRAW_CURRENT) {
        answer = Validate(1) == 0 ? 0 : -1;
    }
    status &= ~UI_STATUS_IN_CALLBACK;
    if (code == UI_CODE_SELECT && parent != nullptr)
        parent->Query(UI_QUERY_SINGLE_SELECTION, nullptr, 0);
    return answer;
}

uint16_t UI_WIDGET::Number(uint16_t newNumber)
{
    if (newNumber != 0)
        number = newNumber;
    return number;
}

int32_t UI_WIDGET::HotKey(int32_t key)
{
    if (key != 0)
        hotKey = key;
    return hotKey;
}

int32_t UI_WIDGET::HotKeyFromText(char* text)
{
    hotKey = 0;
    if (text == nullptr)
        return 0;
    ReplaceChar(text, '~', '&');
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c != '&')
            continue;
        if (c[1] == '&') {   // "&&" is one ampersand
            ++c;
            continue;
        }
        const auto key = static_cast<unsigned char>(c[1]);
        hotKey = key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key;
        break;
    }
    return hotKey;
}

int32_t UI_WIDGET::Validate(int32_t)
{
    return 0;
}

int32_t UI_WIDGET::Draw(UI_MESSAGE*, int32_t)
{
    return 0;
}

void UI_WIDGET::ChildRoom(UI_WIDGET* object)
{
    if (object != nullptr)
        object->screenRect = givenRect;
}

int32_t UI_WIDGET::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_WIDGET);
    switch (code) {
    case UI_CODE_SCREEN_CHANGED:
        ConvertBackToCells();
        screenRect = givenRect;
        screenNumber = 0;
        return code;
    case UI_CODE_REMOVE_OBJECT:
    case UI_CODE_ADD_OBJECT:
        if (parent != nullptr)
            parent->Event(event);
        return code;
    case UI_CODE_DRAW_CURRENT:
    case UI_CODE_DEACTIVATE:
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL:
        return DrawForCode(event, code);
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        LayOut();
        return code;
    case UI_CODE_CLAIM_REGION:
        if (screen != nullptr)
            screen->AssignArea(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
        return code;
    case UI_CODE_REMOVED:
        screenNumber = 0;
        return code;
    case UI_CODE_REDISPLAY:
        Redisplay();
        return code;
    case UI_CODE_INITIALIZE:
        Initialise();
        return code;
    case UI_CODE_POINTER_MOVE:
        if (inputManager != nullptr && Inside(screenRect, event->point.column, event->point.line))
            inputManager->SendToDevice(UI_MOUSE_EVENT, UI_POINTER_NORMAL);
        return code;
    case UI_CODE_SELECT:
        return RunCallback(event, code);
    case UI_CODE_PRESS:
    case UI_CODE_DRAG:
    case UI_CODE_RELEASE:
        return Inside(screenRect, event->point.column, event->point.line) &&
                       Inside(clipRect, event->point.column, event->point.line)
                   ? code
                   : UI_CODE_NOT_HANDLED;
    case UI_CODE_HELP:
        if (parent != nullptr && helpTopic == 0)
            return UI_CODE_NOT_HANDLED;
        if (helpSystem != nullptr)
            helpSystem->DisplayHelp(desktop, helpTopic);
        return code;
    default:
        return UI_CODE_NOT_HANDLED;
    }
}

// Back to cells after a change of display, so the next layout converts the
// rectangle for the new display's metrics.
void UI_WIDGET::ConvertBackToCells()
{
    if (!(status & UI_STATUS_IN_PIXELS) || screen == nullptr)
        return;
    const int32_t cellWidth = screen->columnWidth > 0 ? screen->columnWidth : 1;
    const int32_t cellHeight = screen->rowHeight > 0 ? screen->rowHeight : 1;
    UI_RECT& r = givenRect;
    if (flags & UI_FLAG_FRACTIONAL) {
        const int32_t across = screen->fractionNumX * cellWidth;
        const int32_t down = screen->fractionNumY * cellHeight;
        if (across != 0 && down != 0) {
            r.left = r.left * screen->fractionDenX / across;
            r.right = r.right * screen->fractionDenX / across;
            r.top = r.top * screen->fractionDenY / down;
            r.bottom = r.bottom * screen->fractionDenY / down;
        }
    } else {
        const UI_RECT old = r;
        r.left = old.left / cellWidth;
        r.bottom = old.bottom / cellHeight;
        r.right = r.left + (old.right - old.left) / cellWidth;
        r.top = r.bottom - (old.bottom - old.top) / cellHeight;
    }
    status &= ~UI_STATUS_IN_PIXELS;
    status |= UI_STATUS_REDRAW;
}

void UI_WIDGET::LayOut()
{
    status |= UI_STATUS_REDRAW;
    const bool topLevel = parent == nullptr || parent->HasClass(UI_ID_DESKTOP);
    if (screenNumber == 0) {
        if (topLevel || (windowFlags & (UI_WINDOW_MODAL | UI_WINDOW_IN_WINDOW)))
            screenNumber = ++UI_DESKTOP::nextScreenNumber;
        else
            screenNumber = parent->screenNumber;
    }
    if (parent != nullptr && !topLevel && !(windowFlags & UI_WINDOW_MODAL)) {
        parent->ChildRoom(this);
        constexpr uint16_t UI_ID_ROW_LAYOUT = 23;   // children placed a little higher
        if (parent->HasClass(UI_ID_ROW_LAYOUT) && screen != nullptr) {
            screenRect.top -= screen->rowHeight / 4;
            screenRect.bottom -= screen->rowHeight / 4;
        }
    } else {
        ChildRoom(this);
    }
}

void UI_WIDGET::Initialise()
{
    // A window on the desktop is a top-level window, not inside one.
    const bool inWindow = parent != nullptr && !parent->HasClass(UI_ID_DESKTOP);
    if (inWindow && number == 0) {
        UI_WIDGET* top = TopLevel();
        number = top->number != 0 ? top->number : 1;
        top->number = static_cast<uint16_t>(number + 1);
    }
    if (searchName[0] == '\0')
        std::snprintf(searchName, sizeof searchName, "FIELD_%d", number);
    // A client object inside a window keeps the spacing of its cell row.
    const bool client = inWindow && !(flags & UI_FLAG_SUPPORT);
    CellsToPixels(&givenRect, client ? 0 : 1);
    screenRect = givenRect;
}

int32_t UI_WIDGET::DrawForCode(UI_MESSAGE* event, int32_t code)
{
    if (code == UI_CODE_DRAW_CURRENT) {
        if (parent != nullptr && (parent->status & UI_STATUS_REDRAW))
            status |= UI_STATUS_REDRAW;
        if (!(status & UI_STATUS_CURRENT))
            status |= UI_STATUS_REDRAW;
        status |= UI_STATUS_CURRENT;
    } else if (code == UI_CODE_DEACTIVATE && (status & UI_STATUS_CURRENT)) {
        status |= UI_STATUS_REDRAW;
        status &= ~UI_STATUS_CURRENT;
    }
    const UI_COLOUR_ENTRY* entry = ChooseColours(code, 0);
    const bool exposed = code != UI_CODE_DEACTIVATE && Overlap(event->rect, screenRect);
    if (entry != colours || exposed) {
        status |= UI_STATUS_REDRAW;
        colours = entry;
    }
    int32_t answer = code;
    if (!(status & UI_STATUS_IN_CALLBACK) && (code == UI_CODE_DRAW_CURRENT || code == UI_CODE_DEACTIVATE))
        answer = RunCallback(event, code);
    if ((status & UI_STATUS_DRAWS_ITSELF) && (status & UI_STATUS_REDRAW) && screen != nullptr) {
        screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
        if (Draw(event, code) != 0)
            status &= ~UI_STATUS_REDRAW;
        screen->ReleaseScreen(screenNumber);
    }
    return answer;
}

void UI_WIDGET::Redisplay()
{
    if (screenNumber == 0)
        return;
    UI_WIDGET* top = TopLevel();
    int32_t code = UI_CODE_DRAW_CURRENT;
    if (!(top->status & UI_STATUS_CURRENT)) {
        code = UI_CODE_DRAW_INACTIVE;
    } else {
        for (UI_WIDGET* w = this; w != top; w = w->parent)
            if (!(w->status & UI_STATUS_CURRENT))
                code = UI_CODE_DRAW_NORMAL;
    }
    const bool busy = status & UI_STATUS_IN_CALLBACK;
    status |= UI_STATUS_IN_CALLBACK | UI_STATUS_REDRAW;
    UI_MESSAGE draw(code);
    draw.rect = screenRect;
    Event(&draw);
    if (!busy)
        status &= ~UI_STATUS_IN_CALLBACK;
}

int32_t UI_WIDGET::DrawText(int32_t screenID, UI_RECT* area, const char* text, const UI_COLOUR_ENTRY* entry,
                            int32_t fill, int32_t code)
{
    if (screen == nullptr || area == nullptr)
        return code;
    if (entry == nullptr)
        entry = colours;
    UI_RECT& a = *area;
    screen->HoldScreen(screenID, a.left, a.top, a.right, a.bottom);
    if (fill != 0)
        screen->DrawBox(screenID, a.left, a.top, a.right, a.bottom, entry, 0, 1, 0, &clipRect);
    const int32_t textWidth = screen->StringWidth(text, screenID, font);
    const int32_t textHeight = screen->StringHeight(text, screenID, font);
    int32_t column = a.left;
    if (flags & UI_FLAG_RIGHT)
        column = a.right - textWidth;
    else if (flags & UI_FLAG_CENTRED)
        column = a.left + (a.right - a.left + 1 - textWidth) / 2;
    int32_t line = a.top + (a.bottom - a.top + 1 - textHeight) / 2;
    if (column < a.left)   // too wide: from the left edge
        column = a.left;
    if (line < a.top)
        line = a.top;
    a.left = column;
    a.top = line;
    UI_RECT textClip;
    if (text != nullptr && IntersectRects(a, clipRect, textClip))
        screen->DrawString(screenID, column, line, text, entry, -1, 0, 0, &textClip, font);
    screen->ReleaseScreen(screenID);
    return code;
}

int32_t UI_WIDGET::DrawShadow(int32_t screenID, UI_RECT* area, int32_t depth, int32_t fill, int32_t code)
{
    if (screen == nullptr || area == nullptr || depth == 0)
        return code;
    const UI_COLOUR_ENTRY* topLeft = ChooseColours(code, depth > 0 ? UI_COLOUR_LIGHT_EDGE : UI_COLOUR_DARK_EDGE);
    const UI_COLOUR_ENTRY* bottomRight =
        ChooseColours(code, depth > 0 ? UI_COLOUR_DARK_EDGE : UI_COLOUR_SHADOW_EDGE);
    UI_RECT& a = *area;
    for (int32_t step = depth > 0 ? depth : -depth; step > 0; --step) {
        screen->DrawLine(screenID, a.right, a.top, a.right, a.bottom, bottomRight, 1, 0, &clipRect);
        screen->DrawLine(screenID, a.left, a.bottom, a.right - 1, a.bottom, bottomRight, 1, 0, &clipRect);
        screen->DrawLine(screenID, a.left, a.top, a.right - 1, a.top, topLeft, 1, 0, &clipRect);
        screen->DrawLine(screenID, a.left, a.top + 1, a.left, a.bottom - 1, topLeft, 1, 0, &clipRect);
        a = UI_RECT{a.left + 1, a.top + 1, a.right - 1, a.bottom - 1};
    }
    if (fill != 0 && a.top < a.bottom)
        screen->DrawBox(screenID, a.left, a.top, a.right, a.bottom, colours, 0, 1, 0, &clipRect);
    return code;
}

int32_t UI_WIDGET::DrawBorder(int32_t screenID, UI_RECT* area, int32_t fill, int32_t code)
{
    if (screen == nullptr || area == nullptr)
        return code;
    UI_RECT& a = *area;
    screen->DrawBox(screenID, a.left, a.top, a.right, a.bottom, ChooseColours(code, UI_COLOUR_BORDER), 1, 0, 0,
                    &clipRect);
    a = UI_RECT{a.left + 1, a.top + 1, a.right - 1, a.bottom - 1};
    if (fill != 0)
        screen->DrawBox(screenID, a.left, a.top, a.right, a.bottom, colours, 0, 1, 0, &clipRect);
    return code;
}

// Alt and a key of the keyboard's letter rows or digit row gives that letter
// or digit; the system, minimize and maximize buttons answer three more.
const UI_EVENT_RECORD UI_DEFAULT_HOTKEY_TABLE[] = {
    {18, UI_HOTKEY_SYSTEM, 10, 0x3400, 0},
    {18, UI_HOTKEY_SYSTEM, 10, 0x3920, 0},
    {18, UI_HOTKEY_MINIMIZE, 10, 0x8200, 0},
    {18, UI_HOTKEY_MINIMIZE, 10, 0x4A00, 0},
    {18, UI_HOTKEY_MINIMIZE, 10, 0x7000, 0},
    {18, UI_HOTKEY_MAXIMIZE, 10, 0x8300, 0},
    {18, UI_HOTKEY_MAXIMIZE, 10, 0x4E00, 0},
    {18, UI_HOTKEY_MAXIMIZE, 10, 0x7100, 0},
    {18, 'q', 10, 0x1000, 0}, {18, 'w', 10, 0x1100, 0}, {18, 'e', 10, 0x1200, 0}, {18, 'r', 10, 0x1300, 0},
    {18, 't', 10, 0x1400, 0}, {18, 'y', 10, 0x1500, 0}, {18, 'u', 10, 0x1600, 0}, {18, 'i', 10, 0x1700, 0},
    {18, 'o', 10, 0x1800, 0}, {18, 'p', 10, 0x1900, 0},
    {18, 'a', 10, 0x1E00, 0}, {18, 's', 10, 0x1F00, 0}, {18, 'd', 10, 0x2000, 0}, {18, 'f', 10, 0x2100, 0},
    {18, 'g', 10, 0x2200, 0}, {18, 'h', 10, 0x2300, 0}, {18, 'j', 10, 0x2400, 0}, {18, 'k', 10, 0x2500, 0},
    {18, 'l', 10, 0x2600, 0},
    {18, 'z', 10, 0x2C00, 0}, {18, 'x', 10, 0x2D00, 0}, {18, 'c', 10, 0x2E00, 0}, {18, 'v', 10, 0x2F00, 0},
    {18, 'b', 10, 0x3000, 0}, {18, 'n', 10, 0x3100, 0}, {18, 'm', 10, 0x3200, 0},
    {18, '1', 10, 0x7800, 0}, {18, '2', 10, 0x7900, 0}, {18, '3', 10, 0x7A00, 0}, {18, '4', 10, 0x7B00, 0},
    {18, '5', 10, 0x7C00, 0}, {18, '6', 10, 0x7D00, 0}, {18, '7', 10, 0x7E00, 0}, {18, '8', 10, 0x7F00, 0},
    {18, '9', 10, 0x8000, 0}, {18, '0', 10, 0x8100, 0},
    {UI_TABLE_END, 0, 0, 0, 0},
};
