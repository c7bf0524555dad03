// UI_SCROLL_BAR.cpp: the scroll bar and its part buttons: construction,
// requests, layout, the press on an arrow or the track with its repeat, the
// drag of the thumb, and the value with the thumb that shows it.
#include "widgets/UI_SCROLL_BAR.h"

#include <algorithm>
#include <array>
#include <thread>

#include "widgets/DrawingPrimitives.h"
#include "widgets/GraphicsSetup.h"
#include "widgets/TimeOfDay.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

int32_t UI_SCROLL_BAR::lastRepeat = 0;

namespace {

constexpr uint16_t PART_BUTTON_FLAGS = UI_BUTTON_STATIC_BITMAP;
constexpr uint16_t PART_OBJECT_FLAGS = UI_FLAG_TAKES_ROOM | UI_FLAG_BORDER | UI_FLAG_CENTRED;
constexpr int32_t PART_DEPTH = 1;
constexpr int32_t ARROW_SIZE = 7;

using ArrowPicture = std::array<uint8_t, ARROW_SIZE * ARROW_SIZE>;

// A 7 by 7 picture from the first and last drawn column of each row.
ArrowPicture MakeArrow(const int32_t (&rows)[ARROW_SIZE][2])
{
    ArrowPicture picture;
    picture.fill(0xFF);
    for (int32_t row = 0; row < ARROW_SIZE; ++row)
        for (int32_t column = rows[row][0]; column <= rows[row][1]; ++column)
            picture[static_cast<size_t>(row * ARROW_SIZE + column)] = 1;
    return picture;
}

ArrowPicture upArrow = MakeArrow({{3, 3}, {2, 4}, {1, 5}, {0, 6}, {2, 4}, {2, 4}, {2, 4}});
ArrowPicture downArrow = MakeArrow({{2, 4}, {2, 4}, {2, 4}, {0, 6}, {1, 5}, {2, 4}, {3, 3}});
ArrowPicture leftArrow = MakeArrow({{3, 3}, {2, 3}, {1, 6}, {0, 6}, {1, 6}, {2, 3}, {3, 3}});
ArrowPicture rightArrow = MakeArrow({{3, 3}, {3, 4}, {0, 5}, {0, 6}, {0, 5}, {3, 4}, {3, 3}});

uint8_t* ArrowFor(uint16_t direction)
{
    switch (direction) {
    case UI_SCROLL_UP: return upArrow.data();
    case UI_SCROLL_DOWN: return downArrow.data();
    case UI_SCROLL_LEFT: return leftArrow.data();
    case UI_SCROLL_RIGHT: return rightArrow.data();
    default: return nullptr;
    }
}

bool IsArrow(uint16_t direction)
{
    return ArrowFor(direction) != nullptr;
}

UI_RECT Shrunk(const UI_RECT& r, int32_t by)
{
    return UI_RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

UI_RECT Union(const UI_RECT& a, const UI_RECT& b)
{
    return UI_RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
}

bool SameRect(const UI_RECT& a, const UI_RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

// ---------------------------------------------------------------------------
// Part buttons

UI_SCROLL_BUTTON::UI_SCROLL_BUTTON(uint16_t partDirection)
    : UI_BUTTON(0, 0, 0, nullptr, PART_BUTTON_FLAGS,
                static_cast<uint16_t>(PART_OBJECT_FLAGS | (IsArrow(partDirection) ? UI_FLAG_SUPPORT : 0))),
      direction(partDirection)
{
    depth = PART_DEPTH;
}

UI_SCROLL_BUTTON::~UI_SCROLL_BUTTON()
{
    text = nullptr;
    if (buttonFlags & UI_BUTTON_STATIC_BITMAP)
        bitmapArray = nullptr;   // a shared picture
}

int32_t UI_SCROLL_BUTTON::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_SCROLL_BAR);
    switch (code) {
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT: {
        UI_WIDGET::Event(event);
        uint16_t kind = 0;
        if (parent != nullptr)
            parent->Query(UI_QUERY_GET_FLAGS, &kind, UI_ID_SCROLL_BAR);
        const UI_RECT c = clipRect;
        const int32_t w = c.right - c.left;
        const int32_t h = c.bottom - c.top;
        int32_t s = (kind & UI_SCROLL_VERTICAL) ? w : h;
        UI_RECT& r = screenRect;
        switch (direction) {
        case UI_SCROLL_UP:
            s = std::min(s, h / 3);
            r = UI_RECT{c.left, c.top, c.right, c.top + s};
            break;
        case UI_SCROLL_DOWN:
            s = std::min(s, h / 2);
            r = UI_RECT{c.left, c.bottom - s, c.right, c.bottom};
            break;
        case UI_SCROLL_LEFT:
            s = std::min(s, w / 3);
            r = UI_RECT{c.left, c.top, c.left + s, c.bottom};
            break;
        case UI_SCROLL_RIGHT:
            s = std::min(s, w / 2);
            r = UI_RECT{c.right - s, c.top, c.right, c.bottom};
            break;
        default:   // the thumb: a square at the free part's start
            if (kind & UI_SCROLL_VERTICAL)
                r = UI_RECT{c.left, c.top, c.left + s, c.top + std::min(s, h)};
            else
                r = UI_RECT{c.left, c.top, c.left + std::min(s, w), c.top + s};
            break;
        }
        if (parent != nullptr && (parent->flags & UI_FLAG_BORDER))
            r = Shrunk(r, -1);
        return code;
    }
    case UI_CODE_INITIALIZE:
        UI_WIDGET::Event(event);
        text = nullptr;
        if (IsArrow(direction)) {
            flags |= UI_FLAG_TAKES_ROOM;
            buttonFlags |= UI_BUTTON_STATIC_BITMAP;
            bitmapArray = ArrowFor(direction);
            bitmapWidth = ARROW_SIZE;
            bitmapHeight = ARROW_SIZE;
        } else {
            flags &= ~UI_FLAG_TAKES_ROOM;   // the thumb does not cut the track
        }
        return code;
    default:
        return UI_BUTTON::Event(event);
    }
}

// ---------------------------------------------------------------------------
// The bar

UI_SCROLL_BAR::UI_SCROLL_BAR(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t kind,
                             uint16_t objectFlags)
    : UI_WINDOW(left, top, width, height, objectFlags), barKind(kind)
{
    UI_SCROLL_BAR::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_SCROLL_BAR);
}

int32_t UI_SCROLL_BAR::Thickness()
{
    return screen != nullptr ? 3 * screen->rowHeight / 4 : 1;
}

UI_RECT UI_SCROLL_BAR::Track() const
{
    return clipList.First() != nullptr ? clipList.First()->region : screenRect;
}

void* UI_SCROLL_BAR::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_SCROLL_BAR;
    switch (request) {
    case UI_QUERY_INITIALISE:
        if (flags & UI_FLAG_SUPPORT)
            windowFlags |= UI_WINDOW_NEVER_CURRENT;
        if (barKind & (UI_SCROLL_CORNER | UI_SCROLL_HORIZONTAL))
            flags |= UI_FLAG_RIGHT;   // kept at the bottom of its window
        SetClassChain({UI_ID_SCROLL_BAR, UI_ID_WINDOW});
        position = 0;
        minimum = 0;
        maximum = 1;
        BuildParts();
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WINDOW::Query(request, data, objectID);
        BuildParts();
        if (parent != nullptr && !(flags & UI_FLAG_SUPPORT) && objectID == UI_ID_SCROLL_BAR && screenNumber != 0) {
            SendMessage(this, UI_CODE_INITIALIZE);
            SendMessage(this, UI_CODE_LAYOUT);
        }
        return data;
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_SCROLL_BAR)
            return UI_WIDGET::Query(request, data, objectID);
        return BitsRequest(barKind, request, data);
    case 0x80:
    case 0x81:
        return UI_WIDGET::Query(request, data, objectID);
    default:
        return UI_WINDOW::Query(request, data, objectID);
    }
}

// The part buttons for the present kind, the old ones deleted first (on the
// screen or not, so a bar never holds two sets).
void UI_SCROLL_BAR::BuildParts()
{
    for (UI_SCROLL_BUTTON** part : {&decrementButton, &thumb, &incrementButton}) {
        if (*part == nullptr)
            continue;
        Remove(*part);
        delete *part;
        *part = nullptr;
    }
    uint16_t first = 0;
    if (barKind & UI_SCROLL_VERTICAL)
        first = UI_SCROLL_UP;
    else if (barKind & UI_SCROLL_HORIZONTAL)
        first = UI_SCROLL_LEFT;
    if (first == 0)
        return;   // a corner piece has no parts
    decrementButton = new UI_SCROLL_BUTTON(first);
    thumb = new UI_SCROLL_BUTTON(static_cast<uint16_t>(first << 1));
    incrementButton = new UI_SCROLL_BUTTON(static_cast<uint16_t>(first << 2));
    Add(decrementButton);
    Add(thumb);
    Add(incrementButton);
}

int32_t UI_SCROLL_BAR::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_SCROLL_BAR);
    switch (code) {
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        return LayOutBar(event, code);
    case UI_CODE_INITIALIZE:
        if ((flags & UI_FLAG_SUPPORT) && parent != nullptr) {
            if (barKind & UI_SCROLL_VERTICAL)
                parent->Query(UI_QUERY_VERTICAL_SCROLL, this, 0);
            else if (barKind & UI_SCROLL_HORIZONTAL)
                parent->Query(UI_QUERY_HORIZONTAL_SCROLL, this, 0);
        }
        return UI_WINDOW::Event(event);
    case UI_CODE_PRESS:
        return Press(event);
    case UI_CODE_DRAG:
    case UI_CODE_RELEASE:
        return code;
    case UI_CODE_SET_SCROLL:
    case UI_CODE_SET_SCROLL_HORIZONTAL:
        position = event->data[0];
        minimum = event->data[1];
        maximum = event->data[2];
        span = event->data[3];
        step = event->data[4];
        return Move(0, true, code);
    case UI_CODE_SCROLL_VERTICAL:
    case UI_CODE_SCROLL_HORIZONTAL:
        return Move(event->data[4], false, code);
    default:
        return UI_WINDOW::Event(event);
    }
}

// The bar thickness wide at the right (vertical bar, corner) or high at the
// bottom (horizontal bar, corner) of the room it was given; the arrows cut
// their ends out of the clip list, which leaves the track.
int32_t UI_SCROLL_BAR::LayOutBar(UI_MESSAGE* event, int32_t code)
{
    clipList.DeleteAll();
    UI_WIDGET::Event(event);
    const bool border = flags & UI_FLAG_BORDER;
    const int32_t thickness = Thickness();
    UI_RECT& r = screenRect;
    if (border) {
        r.right += 1;
        r.bottom += 1;
    }
    if (barKind & (UI_SCROLL_CORNER | UI_SCROLL_VERTICAL))
        r.left = r.right - thickness;
    else if (border)
        r.left -= 1;
    if (barKind & (UI_SCROLL_CORNER | UI_SCROLL_HORIZONTAL))
        r.top = r.bottom - thickness;
    else if (border)
        r.top -= 1;
    clipList.InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, border ? Shrunk(r, 1) : r));
    for (UI_NODE_LIST* list : {&supportList, static_cast<UI_NODE_LIST*>(this)})
        for (UI_NODE* node = list->head; node != nullptr; node = node->next) {
            UI_WIDGET* part = AsWidget(node);
            part->Event(event);
            if (part->flags & UI_FLAG_TAKES_ROOM)
                clipList.Cut(screenNumber, part->screenRect, 0);
        }
    PlaceThumb();   // a new layout keeps the thumb at the value
    return code;
}

// The thumb at the value's place on the track: its start runs from one
// pixel before the track's start (at minimum) to where its far end is one
// pixel past the track's end (at maximum).
void UI_SCROLL_BAR::PlaceThumb()
{
    if (thumb == nullptr)
        return;
    const bool vertical = barKind & UI_SCROLL_VERTICAL;
    const UI_RECT track = Track();
    UI_RECT& r = thumb->screenRect;
    const int32_t length = vertical ? r.bottom - r.top : r.right - r.left;
    const int32_t trackStart = vertical ? track.top : track.left;
    const int32_t trackLength = vertical ? track.bottom - track.top : track.right - track.left;
    const int64_t room = std::max<int64_t>(int64_t{trackLength} - length + 2, 0);
    const int64_t range = int64_t{maximum} - minimum;
    const int64_t offset = std::clamp<int64_t>(int64_t{position} - minimum, 0, std::max<int64_t>(range, 0));
    const int64_t p = range > 0 ? room * offset / range : 0;
    const int32_t start = static_cast<int32_t>(trackStart - 1 + p);
    if (vertical) {
        r.top = start;
        r.bottom = start + length;
    } else {
        r.left = start;
        r.right = start + length;
    }
}

// position + amount kept within minimum to maximum (position itself for
// set); the thumb follows, and a shown bar draws where it moved.
int32_t UI_SCROLL_BAR::Move(int32_t amount, bool set, int32_t code)
{
    int64_t wanted = set ? int64_t{position} : int64_t{position} + amount;
    if (wanted > maximum)
        wanted = maximum;
    if (wanted < minimum)
        wanted = minimum;
    if (!set && (amount == 0 || wanted == position))
        return code;
    position = static_cast<int32_t>(wanted);
    if (thumb == nullptr)
        return code;
    const UI_RECT old = thumb->screenRect;
    PlaceThumb();
    if (screenNumber != 0 && !SameRect(old, thumb->screenRect)) {
        status |= UI_STATUS_REDRAW;   // the track where the thumb was
        SendMessage(this, UI_CODE_DRAW_NORMAL, Union(old, thumb->screenRect));
    }
    return code;
}

// The scroll message with amount: to the window of a support bar, else to
// the bar itself.
void UI_SCROLL_BAR::SendScroll(int32_t amount)
{
    UI_MESSAGE scroll((barKind & UI_SCROLL_VERTICAL) ? UI_CODE_SCROLL_VERTICAL : UI_CODE_SCROLL_HORIZONTAL);
    scroll.data[4] = amount;
    UI_WIDGET* to = (flags & UI_FLAG_SUPPORT) && parent != nullptr ? parent : this;
    to->Event(&scroll);
}

int32_t UI_SCROLL_BAR::Press(UI_MESSAGE* event)
{
    const UI_POINT& p = event->point;
    if ((status & UI_STATUS_MOUSE_ANYWAY) || (barKind & UI_SCROLL_CORNER) || !PointInside(screenRect, p))
        return UI_WIDGET::Event(event);
    if (thumb != nullptr && PointInside(thumb->screenRect, p))
        return DragThumb(event);
    int32_t amount;
    if (decrementButton != nullptr && PointInside(decrementButton->screenRect, p)) {
        current = decrementButton;
        amount = -step;
    } else if (incrementButton != nullptr && PointInside(incrementButton->screenRect, p)) {
        current = incrementButton;
        amount = step;
    } else {
        current = nullptr;
        if (thumb != nullptr && (barKind & UI_SCROLL_VERTICAL))
            amount = p.line < thumb->screenRect.top ? -span : span;
        else if (thumb != nullptr && (barKind & UI_SCROLL_HORIZONTAL))
            amount = p.column < thumb->screenRect.left ? -span : span;
        else
            return UI_CODE_PRESS;
    }
    if (Current() != nullptr)
        Current()->Event(event);   // drawn pressed in
    return HoldArrow(event, amount);
}

// Scrolls once, then holds the mouse until the release: a held arrow (not
// the track) scrolls again each time more than the repeat interval passed
// with the pointer on it. Program events go to the desktop meanwhile; the
// release is put back at the tail for the window.
int32_t UI_SCROLL_BAR::HoldArrow(UI_MESSAGE* press, int32_t amount)
{
    UI_WIDGET* held = Current();
    SendScroll(amount);
    lastRepeat = TimeOfDayHundredths();
    UI_POINT pointer = press->point;
    while (inputManager != nullptr) {
        UI_MESSAGE next;
        if (inputManager->Get(&next, UI_GET_NO_WAIT) != 0) {
            if (inputManager->head == nullptr)
                break;   // no device could bring the release
            std::this_thread::yield();
            const int32_t now = TimeOfDayHundredths();
            if (held != nullptr && PointInside(held->screenRect, pointer) &&
                ElapsedHundredths(lastRepeat, now) > UI_REPEAT_INTERVAL) {
                SendScroll(amount);
                lastRepeat = now;
                fg_refresh_screen();
            }
            continue;
        }
        const int32_t code = MapEvent(&next, UI_ID_SCROLL_BAR);
        if (next.type == UI_MOUSE_EVENT)
            pointer = next.point;
        if (next.type >= UI_FIRST_PROGRAM_EVENT) {
            if (desktop != nullptr)
                desktop->Event(&next);
        } else if (held != nullptr) {
            held->Event(&next);
        }
        if (code == UI_CODE_RELEASE) {
            current = thumb;
            inputManager->Put(&next, UI_PUT_AT_TAIL);
            return UI_CODE_RELEASE;
        }
    }
    current = thumb;
    return UI_CODE_RELEASE;
}

// Drags an outline of the thumb along the track until the release; released
// inside the bar, the value moves by the outline's travel in proportion to
// the range.
int32_t UI_SCROLL_BAR::DragThumb(UI_MESSAGE* press)
{
    if (screen == nullptr || inputManager == nullptr || thumb == nullptr)
        return UI_CODE_PRESS;
    const bool vertical = barKind & UI_SCROLL_VERTICAL;
    const UI_RECT track = Track();
    const UI_COLOUR_ENTRY* mark = &UI_FG_DISPLAY::frameColours;
    UI_RECT frame = thumb->screenRect;
    screen->DrawBox(UI_ALL_SCREENS, frame.left, frame.top, frame.right, frame.bottom, mark, 1, 0, FG_MODE_XOR,
                    nullptr);
    UI_POINT last = press->point;
    int32_t code = UI_CODE_PRESS;
    bool released = false;
    while (!released) {
        UI_MESSAGE next;
        if (inputManager->Get(&next, 0) != 0)
            break;   // nothing could bring the release: as one outside
        code = MapEvent(&next, UI_ID_SCROLL_BAR);
        if (next.type >= UI_FIRST_PROGRAM_EVENT) {
            if (desktop != nullptr)
                desktop->Event(&next);
            continue;
        }
        released = code == UI_CODE_RELEASE;
        if (next.type != UI_MOUSE_EVENT)
            continue;
        UI_RECT moved = frame;
        if (vertical) {
            int32_t dy = next.point.line - last.line;
            dy = std::max(dy, track.top - 1 - frame.top);
            dy = std::min(dy, track.bottom + 1 - frame.bottom);
            moved.top += dy;
            moved.bottom += dy;
        } else {
            int32_t dx = next.point.column - last.column;
            dx = std::max(dx, track.left - 1 - frame.left);
            dx = std::min(dx, track.right + 1 - frame.right);
            moved.left += dx;
            moved.right += dx;
        }
        last = next.point;
        if (!SameRect(moved, frame)) {
            screen->XorFrame(frame, moved, UI_ALL_SCREENS);
            frame = moved;
        }
    }
    screen->DrawBox(UI_ALL_SCREENS, frame.left, frame.top, frame.right, frame.bottom, mark, 1, 0, FG_MODE_XOR,
                    nullptr);
    if (!released || !PointInside(screenRect, last))
        return code;
    const int32_t start = vertical ? frame.top : frame.left;
    const int32_t trackStart = vertical ? track.top : track.left;
    const int32_t trackEnd = vertical ? track.bottom : track.right;
    const int64_t travelSpan = int64_t{trackEnd + 1} - (trackStart - 1) - Thickness();
    if (travelSpan == 0)
        return code;
    const int64_t target = minimum + (int64_t{start} - (trackStart - 1)) * (int64_t{maximum} - minimum) / travelSpan;
    const int64_t amount = target - position;
    if (amount != 0)
        SendScroll(static_cast<int32_t>(std::clamp<int64_t>(amount, INT32_MIN, INT32_MAX)));
    return code;
}
