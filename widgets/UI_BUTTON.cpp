// UI_BUTTON.cpp: the button's construction, requests, choosing (with the
// repeat loop and the double click), the message poster and its drawing.
#include "widgets/UI_BUTTON.h"

#include <cstring>
#include <string>
#include <thread>

#include "core/TextUtil.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/TimeOfDay.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"

int32_t UI_BUTTON::lastChosen = 0;
bool UI_BUTTON::lastChosenSet = false;

namespace {

// Window commands a button posts to its window rather than to itself.
bool IsWindowCommand(int32_t value)
{
    switch (value) {
    case UI_CODE_RESTORE:
    case 1013:
    case 1014:
    case UI_CODE_MINIMIZE:
    case UI_CODE_MAXIMIZE:
    case UI_CODE_CLOSE:
        return true;
    default:
        return false;
    }
}

bool Inside(const UI_RECT& r, const UI_POINT& p)
{
    return p.column >= r.left && p.column <= r.right && p.line >= r.top && p.line <= r.bottom;
}

// A 16-bit or 32-bit field's request: with data, the value goes there (get)
// or comes from there (set); without, the get answers the field's address.
template <typename Field>
void* GetField(Field& field, void* data)
{
    if (data == nullptr)
        return &field;
    *static_cast<Field*>(data) = field;
    return data;
}

template <typename Field>
void* SetField(Field& field, void* data)
{
    if (data != nullptr)
        field = *static_cast<const Field*>(data);
    return data;
}

} // namespace

UI_BUTTON::UI_BUTTON(int32_t left, int32_t top, int32_t width, const char* newText, uint16_t newButtonFlags,
                     uint16_t objectFlags, UI_CALLBACK userFunction, int32_t buttonValue, const char* bitmap)
    : UI_WIDGET(left, top, width, 1, objectFlags, 0), buttonFlags(newButtonFlags), value(buttonValue),
      bitmapName(StringDuplicate(bitmap))
{
    callback = userFunction;
    InitialiseButton();
    ApplyFlagRules(UI_ID_BUTTON);
    if (newText != nullptr) {
        text = (flags & UI_FLAG_TEXT_NOT_COPIED) ? const_cast<char*>(newText) : StringDuplicate(newText);
        HotKeyFromText(text);
    }
    if (screenNumber != 0) {
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        Event(&redisplay);
    }
}

UI_BUTTON::~UI_BUTTON()
{
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED))
        delete[] text;
    delete[] bitmapName;
    FreeBitmap();
}

void UI_BUTTON::FreeBitmap()
{
    if (!(buttonFlags & UI_BUTTON_STATIC_BITMAP))
        delete[] bitmapArray;
    bitmapArray = nullptr;
    colorBitmap = nullptr;
    monoBitmap = nullptr;
}

void UI_BUTTON::InitialiseButton()
{
    classChain[0] = UI_ID_BUTTON;
    classId = UI_ID_BUTTON;
    HotKeyFromText(text);
    if (bitmapArray == nullptr && bitmapName != nullptr)
        ReadBitmap();
}

// Reads the picture named bitmapName from the default storage's directory
// "~UI_BITMAP": u16 width, u16 height, then the bytes row by row. A missing
// or damaged picture leaves the button without one.
void UI_BUTTON::ReadBitmap()
{
    UI_STORAGE* storage = UI_STORAGE::defaultStorage;
    if (storage == nullptr || storage->storageError != 0 || !storage->ChangeDirectory("~UI_BITMAP"))
        return;
    UI_STORAGE_OBJECT* object = storage->OpenObject(bitmapName);
    if (object == nullptr)
        return;
    uint16_t width = 0;
    uint16_t height = 0;
    if (object->Load(&width) && object->Load(&height) && width > 0 && height > 0 && width <= UI_BITMAP_LIMIT &&
        height <= UI_BITMAP_LIMIT) {
        const int32_t count = int32_t{width} * height;
        auto* bytes = new uint8_t[static_cast<size_t>(count)];
        if (object->Load(bytes, count)) {
            FreeBitmap();
            buttonFlags &= ~UI_BUTTON_STATIC_BITMAP;
            bitmapArray = bytes;
            bitmapWidth = width;
            bitmapHeight = height;
        } else {
            delete[] bytes;
        }
    }
    delete object;
}

// What requests 0 and 6 share: the poster for a message button without a
// user function, the fixed look of check boxes and radio buttons, the edge
// depth, and a button on the screen set up again.
void UI_BUTTON::ApplyFlagRules(uint16_t objectID)
{
    if ((buttonFlags & UI_BUTTON_SEND_MESSAGE) && callback == nullptr)
        callback = PostValue;
    if (buttonFlags & (UI_BUTTON_CHECK_BOX | UI_BUTTON_RADIO)) {
        flags &= ~UI_FLAG_CENTRED;
        buttonFlags &= ~(UI_BUTTON_NO_TOGGLE | UI_BUTTON_AUTO_HEIGHT);
        buttonFlags |= UI_BUTTON_FLAT;
    }
    // Flat buttons have no edge; one that stops being flat takes the usual
    // two pixels, while the one-pixel edge of the small buttons stays.
    if (buttonFlags & UI_BUTTON_FLAT)
        depth = 0;
    else if (depth == 0)
        depth = 2;
    if ((objectID == 0 || objectID == UI_ID_BUTTON) && (status & UI_STATUS_ON_SCREEN)) {
        UI_MESSAGE initialise(UI_CODE_INITIALIZE);
        Event(&initialise);
        UI_MESSAGE layout(UI_CODE_LAYOUT);
        Event(&layout);
    }
}

void* UI_BUTTON::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_BUTTON;
    const bool own = objectID == UI_ID_BUTTON;
    switch (request) {
    case UI_QUERY_INITIALISE:
        InitialiseButton();
        ApplyFlagRules(objectID);
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WIDGET::Query(request, data, objectID);
        ApplyFlagRules(objectID);
        return data;
    case UI_QUERY_GET_FLAGS:
        return own ? GetField(buttonFlags, data) : UI_WIDGET::Query(request, data, objectID);
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
    case UI_QUERY_SET_STATUS:
    case UI_QUERY_CLEAR_STATUS: {
        if (!own)
            return UI_WIDGET::Query(request, data, objectID);
        uint16_t& field = request <= UI_QUERY_CLEAR_FLAGS ? buttonFlags : buttonState;
        if (data == nullptr)
            return nullptr;
        const uint16_t bits = *static_cast<const uint16_t*>(data);
        if (request == UI_QUERY_SET_FLAGS || request == UI_QUERY_SET_STATUS)
            field |= bits;
        else
            field &= static_cast<uint16_t>(~bits);
        return data;
    }
    case UI_QUERY_GET_STATUS:
        return own ? GetField(buttonState, data) : UI_WIDGET::Query(request, data, objectID);
    case UI_QUERY_REDISPLAY:
        if (screenNumber != 0) {
            UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
            Event(&redisplay);
        }
        return data;
    case UI_QUERY_GET_TEXT:
        if (data != nullptr)
            *static_cast<char**>(data) = text;
        return text;
    case UI_QUERY_SET_TEXT:
        SetText(static_cast<const char*>(data));
        return data;
    case UI_QUERY_COPY_TEXT:
        if (data != nullptr)
            std::strcpy(static_cast<char*>(data), text != nullptr ? text : "");
        return data;
    case UI_QUERY_GET_VALUE:
        return GetField(value, data);
    case UI_QUERY_SET_VALUE:
        return SetField(value, data);
    case UI_QUERY_GET_BITMAP_WIDTH:
        return GetField(bitmapWidth, data);
    case UI_QUERY_SET_BITMAP_WIDTH:
        return SetField(bitmapWidth, data);
    case UI_QUERY_GET_BITMAP_HEIGHT:
        return GetField(bitmapHeight, data);
    case UI_QUERY_SET_BITMAP_HEIGHT:
        return SetField(bitmapHeight, data);
    case UI_QUERY_GET_BITMAP:
        return bitmapArray;
    case UI_QUERY_SET_BITMAP: {
        FreeBitmap();
        buttonFlags &= ~UI_BUTTON_STATIC_BITMAP;
        if (data != nullptr && bitmapWidth > 0 && bitmapHeight > 0) {
            const size_t count = static_cast<size_t>(bitmapWidth) * static_cast<size_t>(bitmapHeight);
            bitmapArray = new uint8_t[count];
            std::memcpy(bitmapArray, data, count);
        }
        return data;
    }
    default:
        return UI_WIDGET::Query(request, data, objectID);
    }
}

void UI_BUTTON::SetText(const char* newText)
{
    if (newText == nullptr)
        return;
    const bool kept = flags & UI_FLAG_TEXT_NOT_COPIED;
    if (!kept && text != newText) {
        char* copy = StringDuplicate(newText);
        delete[] text;
        text = copy;
    } else {
        text = const_cast<char*>(newText);
    }
    HotKeyFromText(text);
    if (screenNumber != 0) {
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        Event(&redisplay);
    }
}

const char* UI_BUTTON::GetTrimmedText(int32_t flag)
{
    if (flag == 0)
        return text;
    static std::string trimmed;
    trimmed.clear();
    const char* from = text != nullptr ? text : "";
    while (*from == ' ' || *from == '\t')
        ++from;
    for (const char* c = from; *c != '\0'; ++c) {
        if (*c == '&') {
            if (c[1] != '&')
                continue;   // a marker
            ++c;            // "&&": one ampersand
        }
        trimmed += *c;
    }
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t'))
        trimmed.pop_back();
    return trimmed.c_str();
}

int32_t UI_BUTTON::PostValue(UI_WIDGET* object, UI_MESSAGE* event, int32_t code)
{
    if ((code != UI_CODE_SELECT && code != UI_CODE_DOUBLE_CLICK) || (object->status & UI_STATUS_NO_CALLBACK))
        return code;
    const auto* ownFlags = static_cast<const uint16_t*>(object->Query(UI_QUERY_GET_FLAGS, nullptr, UI_ID_BUTTON));
    const auto* ownValue = static_cast<const int32_t*>(object->Query(UI_QUERY_GET_VALUE, nullptr, UI_ID_BUTTON));
    if (ownFlags == nullptr || ownValue == nullptr)
        return code;
    // A double-click button posts on Enter, its hot key and a double click,
    // not on a single click (whose event is a bare release).
    if ((*ownFlags & UI_BUTTON_DOUBLE_CLICK) && code == UI_CODE_SELECT &&
        object->MapEvent(event, object->classId) != UI_CODE_SELECT)
        return UI_CODE_SELECT;
    UI_MESSAGE posted = *event;
    posted.type = *ownValue;
    posted.code = 0;
    posted.pointer = object;
    if (IsWindowCommand(*ownValue)) {
        UI_WIDGET* window = object->parent;
        while (window != nullptr && !(window->HasClass(UI_ID_WINDOW) && !window->HasClass(UI_ID_MENU)))
            window = window->parent;
        posted.pointer = window;
    }
    if (inputManager != nullptr)
        inputManager->Put(&posted, UI_PUT_AT_TAIL);
    return code;
}

int32_t UI_BUTTON::Event(UI_MESSAGE* event)
{
    if (!lastChosenSet) {
        lastChosen = TimeOfDayHundredths();
        lastChosenSet = true;
    }
    const int32_t code = MapEvent(event, UI_ID_BUTTON);
    switch (code) {
    case UI_CODE_DRAW_NORMAL:
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_CURRENT:
    case UI_CODE_DEACTIVATE:
        UI_WIDGET::Event(event);
        if ((status & UI_STATUS_REDRAW) && screen != nullptr) {
            screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
            Draw(event, code);
            screen->ReleaseScreen(screenNumber);
            status &= ~UI_STATUS_REDRAW;
        }
        return code;
    case UI_CODE_INITIALIZE:
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        if (buttonFlags & UI_BUTTON_AUTO_HEIGHT)
            FitHeight();
        // The display keeps no device images, so the picture stays as it is.
        return code;
    case UI_CODE_UP:
    case UI_CODE_LEFT:
    case UI_CODE_DOWN:
    case UI_CODE_RIGHT:
        MoveToNeighbour(code);
        return code;
    case UI_CODE_PRESS:
    case UI_CODE_DRAG:
    case UI_CODE_RELEASE:
        return HandlePointer(event);
    case UI_CODE_SELECT:
        return Choose(event, code);
    default:
        return UI_WIDGET::Event(event);
    }
}

// A button as high as its picture and text, at least one text line; the
// bottom stays where it is.
void UI_BUTTON::FitHeight()
{
    if (screen == nullptr)
        return;
    int32_t edge = (flags & UI_FLAG_BORDER) ? 4 : 2;
    if (!(buttonFlags & UI_BUTTON_FLAT))
        edge += 6;
    int32_t height = 0;
    if (bitmapHeight != 0) {
        height = bitmapHeight + edge;
        if (text != nullptr && (flags & UI_FLAG_CENTRED))
            height += screen->rowHeight;
    }
    const int32_t least = screen->rowHeight * 10 / 9;
    if (height < least)
        height = least;
    givenRect.top = givenRect.bottom - height;
    screenRect.top = screenRect.bottom - height;
}

// The arrow keys move the focus to the previous or next choosable button of
// the same list, wrapping at either end.
void UI_BUTTON::MoveToNeighbour(int32_t code)
{
    const bool backwards = code == UI_CODE_UP || code == UI_CODE_LEFT;
    auto choosable = [](UI_NODE* node) {
        auto* object = static_cast<UI_WIDGET*>(node);
        return object->HasClass(UI_ID_BUTTON) && !(object->flags & UI_FLAG_NOT_SELECTABLE);
    };
    UI_NODE* end = this;   // the far end of the list, where the search wraps to
    while ((backwards ? end->next : end->previous) != nullptr)
        end = backwards ? end->next : end->previous;
    UI_NODE* found = nullptr;
    for (UI_NODE* n = backwards ? previous : next; n != nullptr && found == nullptr;
         n = backwards ? n->previous : n->next)
        if (choosable(n))
            found = n;
    for (UI_NODE* n = end; found == nullptr && n != this; n = backwards ? n->previous : n->next)
        if (choosable(n))
            found = n;
    if (found == nullptr || found == this || parent == nullptr)
        return;
    UI_MESSAGE add(UI_CODE_ADD_OBJECT);
    add.pointer = found;
    parent->Event(&add);
}

int32_t UI_BUTTON::HandlePointer(UI_MESSAGE* event)
{
    if (status & UI_STATUS_NO_CALLBACK)
        return UI_WIDGET::Event(event);
    const int32_t code = UI_WIDGET::Event(event);
    if (code == UI_CODE_RELEASE && !(buttonState & UI_BUTTON_PRESSED))
        return code;   // released without a press on this button
    const uint16_t before = buttonState;
    if (code == UI_CODE_NOT_HANDLED || code == UI_CODE_RELEASE)
        buttonState &= ~UI_BUTTON_PRESSED;
    else
        buttonState |= UI_BUTTON_PRESSED;
    if (before != buttonState && !(buttonFlags & UI_BUTTON_FLAT) && depth != 0)
        RedrawEdge();
    if ((buttonFlags & UI_BUTTON_REPEAT) && code == UI_CODE_PRESS)
        return RepeatWhileHeld(event);
    const int32_t acting = (buttonFlags & UI_BUTTON_ON_PRESS) ? UI_CODE_PRESS : UI_CODE_RELEASE;
    if (code != acting)
        return code;
    return Choose(event, code);
}

// The edge drawn again pressed in or raised, inside the outline.
void UI_BUTTON::RedrawEdge()
{
    if (screen == nullptr || screenNumber == 0)
        return;
    UI_RECT area{screenRect.left + 1, screenRect.top + 1, screenRect.right - 1, screenRect.bottom - 1};
    screen->HoldScreen(screenNumber, area.left, area.top, area.right, area.bottom);
    DrawShadow(screenNumber, &area, (buttonState & UI_BUTTON_PRESSED) ? -depth : depth, 0, UI_CODE_DRAW_CURRENT);
    screen->ReleaseScreen(screenNumber);
}

// Holds the mouse while the button is pressed: each time the queue is empty
// with the pointer over the button and more than the repeat interval since
// the last firing, the user function runs again. Program events go on to
// the desktop. The release ends the loop and is handled as usual. With no
// device that could bring the release the loop ends at once.
int32_t UI_BUTTON::RepeatWhileHeld(UI_MESSAGE* press)
{
    if (inputManager == nullptr)
        return UI_CODE_PRESS;
    UI_POINT pointer = press->point;
    for (;;) {
        UI_MESSAGE next;
        if (inputManager->Get(&next, UI_GET_NO_WAIT) != 0) {
            if (inputManager->head == nullptr)
                return UI_CODE_PRESS;
            std::this_thread::yield();   // held still: let others run between polls
            const int32_t now = TimeOfDayHundredths();
            if (Inside(screenRect, pointer) && ElapsedHundredths(lastChosen, now) > UI_REPEAT_INTERVAL) {
                UI_MESSAGE held(UI_CODE_DRAG);
                held.point = pointer;
                RunCallback(&held, UI_CODE_SELECT);
                lastChosen = now;
            }
            continue;
        }
        const int32_t code = MapEvent(&next, UI_ID_BUTTON);
        if (next.type >= UI_FIRST_PROGRAM_EVENT) {
            if (desktop != nullptr)
                desktop->Event(&next);
            continue;
        }
        if (next.type == UI_MOUSE_EVENT)
            pointer = next.point;
        if (code == UI_CODE_RELEASE) {
            Event(&next);
            return UI_CODE_RELEASE;
        }
    }
}

int32_t UI_BUTTON::Choose(UI_MESSAGE* event, int32_t code)
{
    const int32_t now = TimeOfDayHundredths();
    const int32_t elapsed = ElapsedHundredths(lastChosen, now);
    const uint16_t selectedBefore = status & UI_STATUS_SELECTED;
    const bool inList = parent != nullptr && parent->HasClass(UI_ID_LIST);
    int32_t answer;
    if ((buttonFlags & UI_BUTTON_DOUBLE_CLICK) && code == UI_CODE_RELEASE && callback != nullptr && !inList &&
        elapsed < UI_DOUBLE_CLICK_TIME) {
        UI_MESSAGE copy = *event;
        answer = callback(this, &copy, UI_CODE_DOUBLE_CLICK);
    } else if (code == UI_CODE_RELEASE) {
        UI_MESSAGE release(UI_CODE_RELEASE);
        lastChosen = now;
        answer = RunCallback(&release, UI_CODE_SELECT);
    } else {
        answer = RunCallback(event, UI_CODE_SELECT);
    }
    if ((buttonFlags & (UI_BUTTON_CHECK_BOX | UI_BUTTON_RADIO)) &&
        (status & UI_STATUS_SELECTED) != selectedBefore && screen != nullptr && screenNumber != 0) {
        colours = ChooseColours(UI_CODE_DRAW_CURRENT, 0);
        UI_MESSAGE draw(UI_CODE_DRAW_CURRENT);
        draw.rect = screenRect;
        screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
        Draw(&draw, UI_CODE_DRAW_CURRENT);
        screen->ReleaseScreen(screenNumber);
    }
    return answer;
}

int32_t UI_BUTTON::Draw(UI_MESSAGE*, int32_t code)
{
    if (screen == nullptr)
        return code;
    const int32_t id = screenNumber;
    UI_RECT area = screenRect;
    const UI_COLOUR_ENTRY* outline = ChooseColours(code, UI_COLOUR_BORDER);
    if (flags & UI_FLAG_BORDER)
        DrawBorder(id, &area, 0, code);
    if (depth > 1) {   // an outline with open corners
        screen->DrawLine(id, area.left + 1, area.top, area.right - 1, area.top, outline, 1, 0, &clipRect);
        screen->DrawLine(id, area.left + 1, area.bottom, area.right - 1, area.bottom, outline, 1, 0, &clipRect);
        screen->DrawLine(id, area.left, area.top + 1, area.left, area.bottom - 1, outline, 1, 0, &clipRect);
        screen->DrawLine(id, area.right, area.top + 1, area.right, area.bottom - 1, outline, 1, 0, &clipRect);
        area = UI_RECT{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
    }
    const bool flat = buttonFlags & UI_BUTTON_FLAT;
    const bool mark = buttonFlags & (UI_BUTTON_CHECK_BOX | UI_BUTTON_RADIO);
    if (code != UI_CODE_DRAW_CURRENT) {
        if (mark)
            colours = ChooseColours(code, UI_ID_WINDOW);
        else if (flat)
            colours = ChooseColours(code, parent != nullptr && parent->HasClass(UI_ID_LIST) &&
                                                  !parent->HasClass(UI_ID_ROW_WINDOW)
                                              ? UI_ID_LIST
                                              : UI_ID_WINDOW);
    }
    const UI_COLOUR_ENTRY* fill = colours;
    if (!flat) {
        DrawShadow(id, &area, (buttonState & UI_BUTTON_PRESSED) ? -depth : depth, 1, code);
        if (depth == 0)   // no edge fills the face: fill it here
            screen->DrawBox(id, area.left, area.top, area.right, area.bottom, fill, 0, 1, 0, &clipRect);
    } else {
        const int32_t left = parent != nullptr && parent->HasClass(UI_ID_LIST_BOX) ? area.left - givenRect.left
                                                                                   : area.left;
        screen->DrawBox(id, left, area.top, area.right, area.bottom, fill, 0, 1, 0, &clipRect);
    }
    area.left += 4;
    if (flags & (UI_FLAG_CENTRED | UI_FLAG_RIGHT))
        area.right -= 4;
    if (bitmapArray == nullptr && colorBitmap == nullptr && !mark) {
        DrawText(id, &area, text, fill, 0, code);
        return code;
    }

    int32_t imageWidth = bitmapWidth;
    int32_t imageHeight = bitmapHeight;
    if (mark)
        imageWidth = imageHeight = screen->StringHeight(text, id, font) + 2;
    int32_t left = area.left;
    if (flags & UI_FLAG_RIGHT)
        left = area.right - imageWidth + 1;
    else if (flags & UI_FLAG_CENTRED)
        left = area.left + (area.right - area.left + 1 - imageWidth) / 2;
    const bool hasText = text != nullptr && text[0] != '\0';
    const int32_t top = (flags & UI_FLAG_CENTRED) && hasText
                            ? area.top + 2
                            : area.top + (area.bottom - area.top + 1 - imageHeight) / 2;
    if (buttonFlags & UI_BUTTON_CHECK_BOX) {
        const int32_t right = left + imageWidth - 1;
        const int32_t bottom = top + imageHeight - 1;
        screen->DrawBox(id, left, top, right, bottom, fill, 1, 1, 0, &clipRect);
        if (status & UI_STATUS_SELECTED) {
            screen->DrawLine(id, left, top, right, bottom, fill, 1, 0, &clipRect);
            screen->DrawLine(id, left, bottom, right, top, fill, 1, 0, &clipRect);
        }
    } else if (buttonFlags & UI_BUTTON_RADIO) {
        const int32_t radius = imageWidth / 2;
        const int32_t column = left + radius;
        const int32_t line = top + radius;
        screen->DrawEllipse(id, column, line, 0, 360, radius, radius, fill, 1, 0, &clipRect);
        if (status & UI_STATUS_SELECTED)
            screen->DrawEllipse(id, column, line, 0, 360, radius / 2, radius / 2, outline, 1, 0, &clipRect);
    } else {
        screen->DrawPixels(id, left, top, imageWidth, imageHeight, bitmapArray, nullptr, &clipRect);
    }
    if (hasText) {
        const uint16_t savedFlags = flags;
        if (flags & UI_FLAG_CENTRED) {
            area.top = area.bottom - screen->rowHeight + 4;
        } else if (flags & UI_FLAG_RIGHT) {
            area.right -= imageWidth - 4;
            flags &= ~UI_FLAG_RIGHT;
        } else {
            area.left += imageWidth + 4;
        }
        DrawText(id, &area, text, fill, 0, code);
        flags = savedFlags;
    }
    colours = fill;
    return code;
}
