// UI_WINDOW.cpp: the window: construction, requests, its two child lists
// (Add, Remove), the room it gives each child, its drawing, its event
// handling (focus, hot keys, mouse routing, layout, drawing messages,
// minimize, maximize and restore, scrolling, help) and the move-and-size
// loop. The desktop's own operations are in UI_DESKTOP.cpp.
#include "widgets/UI_WINDOW.h"

#include <algorithm>
#include <cstring>

#include "widgets/FrameworkHooks.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

namespace {

constexpr int32_t FRAME_WIDTH = 4;             // pixels of a window's frame on each side
constexpr int32_t LEAST_WIDTH_CELLS = 10;      // a window is never narrower
constexpr int32_t LEAST_CHILD_WIDTH_CELLS = 2;
constexpr uint16_t UI_ID_ROW_LAYOUT = 23;
constexpr int32_t UI_HOTKEY_ANY = 0xFF;        // takes every hot key
constexpr int32_t MOUSE_BUTTONS_DOWN = 0x0700;
constexpr int32_t MOUSE_BUTTONS_CHANGED = 0x7000;
// Edges of the frame that follow the pointer in the move-and-size loop.
constexpr int32_t EDGE_LEFT = 0x1000;
constexpr int32_t EDGE_TOP = 0x800;
constexpr int32_t EDGE_RIGHT = 0x2000;
constexpr int32_t EDGE_BOTTOM = 0x8000;
constexpr int32_t EDGES_ALL = EDGE_LEFT | EDGE_TOP | EDGE_RIGHT | EDGE_BOTTOM;

UI_RECT Shrunk(const UI_RECT& r, int32_t by)
{
    return UI_RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

UI_RECT Union(const UI_RECT& a, const UI_RECT& b)
{
    return UI_RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom)};
}

// An object the keyboard may make current.
bool Eligible(const UI_WIDGET* object)
{
    return !(object->flags & UI_FLAG_NOT_SELECTABLE) && !(object->windowFlags & UI_WINDOW_NEVER_CURRENT);
}

bool IsKeyEvent(const UI_MESSAGE* event)
{
    return event->type == UI_KEY_EVENT;
}

int32_t CellWidth()
{
    return UI_WIDGET::screen != nullptr ? UI_WIDGET::screen->columnWidth : 1;
}

int32_t CellHeight()
{
    return UI_WIDGET::screen != nullptr ? UI_WIDGET::screen->rowHeight : 1;
}

const char* TextOf(const UI_NODE* node)
{
    return static_cast<const char*>(const_cast<UI_NODE*>(node)->Query(UI_QUERY_GET_TEXT, nullptr, 0));
}

} // namespace

int32_t UI_TextOrder(const UI_NODE* existing, const UI_NODE* added)
{
    const char* a = TextOf(existing);
    const char* b = TextOf(added);
    if (a == nullptr || b == nullptr)
        return (a != nullptr) - (b != nullptr);
    return std::strcmp(a, b);   // compares as unsigned bytes
}

UI_WINDOW::UI_WINDOW(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t objectFlags,
                     uint16_t objectWindowFlags, int32_t windowHelpTopic, UI_WIDGET* object)
    : UI_WIDGET(left, top, width, height, objectFlags, objectWindowFlags)
{
    helpTopic = windowHelpTopic;
    UI_WINDOW::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_WINDOW);
    if (object != nullptr) {
        object->flags |= UI_FLAG_SUPPORT;
        UI_WINDOW::Add(object);
    }
}

UI_WINDOW::~UI_WINDOW()
{
    delete[] ownedArray;
    clipList.DeleteAll();
    supportList.DeleteAll();
    UI_NODE_LIST::DeleteAll();
}

bool UI_WINDOW::IsTopLevel() const
{
    return parent == nullptr || parent->HasClass(UI_ID_DESKTOP);
}

void UI_WINDOW::DeleteAll()
{
    UI_MESSAGE removed(UI_CODE_REMOVED);
    for (UI_WIDGET* object = First(); object != nullptr; object = AsWidget(object->next)) {
        object->screenNumber = 0;
        object->Event(&removed);
    }
    UI_NODE_LIST::DeleteAll();
}

// ---------------------------------------------------------------------------
// Children

UI_WIDGET* UI_WINDOW::Add(UI_WIDGET* object)
{
    if (object == nullptr)
        return nullptr;
    if (object == current) {
        object->status |= UI_STATUS_CURRENT;
        return object;
    }
    const bool support = object->flags & UI_FLAG_SUPPORT;
    UI_NODE_LIST& list = support ? supportList : *this;
    bool added = false;
    if (list.PositionOf(object) < 0) {
        list.Insert(object);
        object->parent = this;
        added = true;
        if (!support && ((object->windowFlags & UI_WINDOW_IN_WINDOW) || (object->status & UI_STATUS_CURRENT))) {
            if (Current() != nullptr && Current() != object)
                Current()->status &= ~UI_STATUS_CURRENT;
            current = object;
            object->status |= UI_STATUS_CURRENT;
        }
    } else {
        UI_WIDGET* old = Current();
        UI_RECT redraw = old != nullptr ? old->screenRect : object->screenRect;
        if (!support && (object->windowFlags & UI_WINDOW_IN_WINDOW)) {
            Unlink(object);
            InsertBefore(nullptr, object);
            SendMessage(object, UI_CODE_CLAIM_REGION);
            redraw = object->screenRect;
        }
        current = object;
        if (old != nullptr && old != object) {
            if (status & UI_STATUS_APPLYING)
                old->status &= ~UI_STATUS_CURRENT;
            else
                SendMessage(old, UI_CODE_DEACTIVATE, object->screenRect);
        }
        UI_WIDGET* top = this;
        while (top->parent != nullptr && !(top->windowFlags & UI_WINDOW_MODAL))
            top = top->parent;
        if (!(status & UI_STATUS_APPLYING) && desktop != nullptr && top == desktop->First()) {
            if (inputManager != nullptr)
                inputManager->SendToDevice(UI_CURSOR_DEVICE, UI_DEVICE_OFF);
            SendMessage(object, UI_CODE_DRAW_CURRENT, redraw);
        } else {
            object->status |= UI_STATUS_CURRENT;
        }
        if ((listFlags & UI_LIST_FOCUS_SELECTS) && !(listFlags & UI_LIST_MULTIPLE_SELECTION))
            SendMessage(object, UI_CODE_SELECT);
    }
    if (added && screenNumber != 0 && object->screenNumber == 0) {
        SendMessage(object, UI_CODE_INITIALIZE);
        SendMessage(object, UI_CODE_LAYOUT);
        if (object->windowFlags & UI_WINDOW_IN_WINDOW)
            SendMessage(object, UI_CODE_CLAIM_REGION);
        if (object->flags & UI_FLAG_TAKES_ROOM)
            clipList.Cut(screenNumber, object->screenRect, IsTopLevel() ? 1 : 0);
        if (current == nullptr && Eligible(object) && !support)
            current = object;
    }
    return object;
}

UI_WIDGET* UI_WINDOW::Remove(UI_WIDGET* object)
{
    if (object == nullptr)
        return nullptr;
    const bool support = supportList.PositionOf(object) >= 0;
    if (!support && PositionOf(object) < 0)
        return nullptr;   // not ours: nothing changes
    const bool wasCurrent = object == current;
    UI_WIDGET* following;
    if (support) {
        following = AsWidget(supportList.Unlink(object));
        object->screenNumber = 0;
    } else {
        following = AsWidget(Unlink(object));
    }
    if (wasCurrent)
        current = head;
    if (verticalScroll == object)
        verticalScroll = nullptr;
    else if (horizontalScroll == object)
        horizontalScroll = nullptr;
    else if (icon == object)
        icon = nullptr;
    // The pointer's holder must not outlive the object it names.
    if (mouseHolder == object)
        mouseHolder = nullptr;
    if (defaultButton == object)
        defaultButton = nullptr;
    if (!support) {
        SendMessage(object, UI_CODE_REMOVED);
        if (Current() != nullptr && Current()->previousCurrent == object) {
            UI_WIDGET* replacement = First();
            while (replacement != nullptr && !Eligible(replacement))
                replacement = AsWidget(replacement->next);
            Current()->previousCurrent = replacement;
            if (replacement != nullptr)
                replacement->status |= UI_STATUS_CURRENT;
        }
    }
    object->parent = nullptr;
    return following;
}

void UI_WINDOW::ChildRoom(UI_WIDGET* object)
{
    if (object == nullptr)
        return;
    if (object == this) {   // a top-level or modal window keeps what it was given
        screenRect = givenRect;
        clipRect = givenRect;
        clipList.DeleteAll();
        return;
    }
    if (clipList.First() == nullptr)
        clipList.InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, (flags & UI_FLAG_BORDER) ? Shrunk(screenRect, 1)
                                                                                               : screenRect));
    // The topmost area, or the lowest for an object kept at the bottom.
    const bool atBottom = (object->flags & UI_FLAG_TAKES_ROOM) && (object->flags & UI_FLAG_RIGHT);
    const UI_CLIP_RECT* chosen = clipList.First();
    for (const UI_CLIP_RECT* r = chosen->Next(); r != nullptr; r = r->Next()) {
        if (atBottom ? r->region.bottom > chosen->region.bottom : r->region.top < chosen->region.top)
            chosen = r;
    }
    const UI_RECT& room = chosen->region;
    object->clipRect = UI_RECT{std::clamp(room.left, clipRect.left, std::max(clipRect.left, clipRect.right)),
                               std::clamp(room.top, clipRect.top, std::max(clipRect.top, clipRect.bottom)),
                               std::clamp(room.right, clipRect.left, std::max(clipRect.left, clipRect.right)),
                               std::clamp(room.bottom, clipRect.top, std::max(clipRect.top, clipRect.bottom))};
    if (object->flags & UI_FLAG_TAKES_ROOM)
        object->screenRect = room;
    else
        object->screenRect = UI_RECT{object->givenRect.left + room.left, object->givenRect.top + room.top,
                                     object->givenRect.right + room.left, object->givenRect.bottom + room.top};
}

int32_t UI_WINDOW::Draw(UI_MESSAGE* event, int32_t code)
{
    if (screen == nullptr)
        return 0;
    screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
    if ((flags & UI_FLAG_BORDER) && RectsOverlap(screenRect, event->rect)) {
        UI_RECT area = screenRect;
        DrawBorder(screenNumber, &area, 0, code);
    }
    if (head == nullptr && clipList.First() == nullptr)
        clipList.InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, (flags & UI_FLAG_BORDER) ? Shrunk(screenRect, 1)
                                                                                               : screenRect));
    for (const UI_CLIP_RECT* r = clipList.First(); r != nullptr; r = r->Next()) {
        UI_RECT part;
        if (IntersectRects(r->region, event->rect, part))
            screen->DrawBox(screenNumber, part.left, part.top, part.right, part.bottom, colours, 0, 1, 0, &clipRect);
    }
    screen->ReleaseScreen(screenNumber);
    return 0;
}

// ---------------------------------------------------------------------------
// Requests

void* UI_WINDOW::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_WINDOW;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_WINDOW});
        font = UI_FONT_WINDOW;
        defaultButton = nullptr;
        verticalScroll = nullptr;
        horizontalScroll = nullptr;
        [[fallthrough]];
    case UI_QUERY_FLAGS_CHANGED:
        UI_WIDGET::Query(UI_QUERY_FLAGS_CHANGED, data, objectID);
        if (listFlags & UI_LIST_SORTED)
            order = UI_TextOrder;
        if (objectID == UI_ID_WINDOW && (status & UI_STATUS_ON_SCREEN)) {
            SendMessage(this, UI_CODE_INITIALIZE);
            SendMessage(this, UI_CODE_LAYOUT);
        }
        return data;
    case UI_QUERY_FIND_NUMBER:
    case UI_QUERY_FIND_NAME: {
        if (void* found = UI_WIDGET::Query(request, data, objectID))
            return found;
        for (UI_NODE_LIST* list : {&supportList, static_cast<UI_NODE_LIST*>(this)})
            for (UI_NODE* object = list->head; object != nullptr; object = object->next)
                if (void* found = object->Query(request, data, 0))
                    return found;
        return nullptr;
    }
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_WINDOW)
            return UI_WIDGET::Query(request, data, objectID);
        if (request == UI_QUERY_GET_FLAGS && data == nullptr)
            return &listFlags;
        if (data == nullptr)
            return nullptr;
        if (request == UI_QUERY_GET_FLAGS)
            *static_cast<uint16_t*>(data) = listFlags;
        else if (request == UI_QUERY_SET_FLAGS)
            listFlags |= *static_cast<const uint16_t*>(data);
        else
            listFlags &= static_cast<uint16_t>(~*static_cast<const uint16_t*>(data));
        return data;
    case UI_QUERY_GET_TEXT:
    case UI_QUERY_COPY_TEXT:
    case UI_QUERY_SET_TEXT: {
        // The title: the title bar's text, or the icon's.
        void* answer = data;
        for (UI_NODE* node = supportList.head; node != nullptr; node = node->next) {
            UI_WIDGET* object = AsWidget(node);
            if (!object->HasClass(UI_ID_TITLE_BAR) && !object->HasClass(UI_ID_ICON))
                continue;
            answer = object->Query(request, data, 0);
            if (request != UI_QUERY_SET_TEXT)
                return answer;
        }
        return request == UI_QUERY_SET_TEXT ? data : answer;
    }
    case UI_QUERY_VERTICAL_SCROLL:
        verticalScroll = static_cast<UI_WIDGET*>(data);
        return data;
    case UI_QUERY_HORIZONTAL_SCROLL:
        horizontalScroll = static_cast<UI_WIDGET*>(data);
        return data;
    case UI_QUERY_DEFAULT_BUTTON:
        // A window icon (an icon among the support objects) registers with
        // the same request: it becomes the icon that stands for the window
        // while it is minimized. A client icon, such as a picture button,
        // still designates the default button.
        if (data != nullptr && static_cast<UI_WIDGET*>(data)->HasClass(UI_ID_ICON) &&
            (static_cast<UI_WIDGET*>(data)->flags & UI_FLAG_SUPPORT))
            icon = static_cast<UI_WIDGET*>(data);
        else
            defaultButton = static_cast<UI_WIDGET*>(data);
        return data;
    case UI_QUERY_SINGLE_SELECTION: {
        UI_WIDGET* chosen = Current();
        if (chosen == nullptr || !(chosen->status & UI_STATUS_SELECTED) || (listFlags & UI_LIST_MULTIPLE_SELECTION))
            return data;
        for (UI_WIDGET* object = First(); object != nullptr; object = AsWidget(object->next)) {
            if (object == chosen || !(object->status & UI_STATUS_SELECTED))
                continue;
            object->status &= ~UI_STATUS_SELECTED;
            SendMessage(object, UI_CODE_REDISPLAY);
        }
        return data;
    }
    case UI_QUERY_FIRST_CLIP:
        if (data != nullptr)
            *static_cast<UI_RECT*>(data) = clipList.First() != nullptr ? clipList.First()->region : screenRect;
        return data;
    default:
        return UI_WIDGET::Query(request, data, objectID);
    }
}

// ---------------------------------------------------------------------------
// Events

int32_t UI_WINDOW::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_WINDOW);

    // A minimized window is its icon, except for what changes its size.
    if ((status & UI_STATUS_MINIMIZED) && icon != nullptr && code != UI_CODE_LAYOUT && code != UI_CODE_MOVE &&
        code != UI_CODE_RESTORE && code != UI_CODE_MAXIMIZE && code != UI_CODE_MINIMIZE &&
        !(IsKeyEvent(event) && (event->keyData.shifts & UI_SHIFT_ALT)))
        return icon->Event(event);

    switch (code) {
    case UI_CODE_CHILD_RESTORE:
    case UI_CODE_CHILD_MAXIMIZE:
    case UI_CODE_CHILD_MINIMIZE:
    case UI_CODE_CHILD_MOVE:
    case UI_CODE_CHILD_SIZE:
        return ChildVariant(event, code);
    case UI_CODE_CHILD_CLOSE:
        return CloseChild(code);
    case UI_CODE_SCREEN_CHANGED:
    case UI_CODE_REMOVED:
        UI_WIDGET::Event(event);
        for (UI_NODE_LIST* list : {&supportList, static_cast<UI_NODE_LIST*>(this)})
            for (UI_NODE* object = list->head; object != nullptr; object = object->next)
                AsWidget(object)->Event(event);
        return code;
    case UI_CODE_REMOVE_OBJECT:
        Remove(static_cast<UI_WIDGET*>(event->pointer));
        return code;
    case UI_CODE_ADD_OBJECT:
        Add(static_cast<UI_WIDGET*>(event->pointer));
        return code;
    case UI_CODE_DRAW_NORMAL:
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_CURRENT:
    case UI_CODE_DEACTIVATE:
        return DrawMessage(event, code);
    case UI_CODE_LAYOUT:
    case UI_CODE_CHANGED:
        return LayOutWindow(event, code);
    case UI_CODE_CLAIM_REGION:
        return ClaimRegion(code);
    case UI_CODE_REDISPLAY:
        UI_WIDGET::Event(event);
        return code;
    case UI_CODE_INITIALIZE:
        return InitialiseChildren(event, code);
    case UI_CODE_MENU_KEY:
    case UI_CODE_CANCEL:
        return MenuKey(code);
    case UI_CODE_MINIMIZE:
    case UI_CODE_MAXIMIZE:
    case UI_CODE_RESTORE:
        return ChangeSize(event, code);
    case UI_CODE_MOVE:
    case UI_CODE_SIZE:
        return MoveOrSize(event, code);
    case UI_CODE_SCROLL_VERTICAL:
    case UI_CODE_SCROLL_HORIZONTAL:
    case UI_CODE_SHOW_CURRENT_VERTICAL:
    case UI_CODE_SHOW_CURRENT_HORIZONTAL:
        return Scroll(event, code);
    case UI_CODE_HELP:
        return Help(event, code);
    case UI_CODE_PREVIOUS_FIELD:
    case UI_CODE_NEXT_FIELD:
    case UI_CODE_NEXT_CHILD_WINDOW:
        return MoveFocus(event, code);
    case UI_CODE_FIRST_FIELD:
    case UI_CODE_LAST_FIELD:
        return FocusEnd(event, code);
    case UI_KEY_EVENT:
        if ((event->keyData.shifts & UI_SHIFT_ALT) || (windowFlags & UI_WINDOW_LETTER_HOT_KEYS))
            return HotKeyEvent(event);
        return ToCurrent(event);
    case UI_CODE_POINTER_MOVE:
    case UI_CODE_PRESS:
    case UI_CODE_DRAG:
    case UI_CODE_RELEASE:
    case UI_MOUSE_EVENT:
        return MouseEvent(event, code);
    default:
        return ToCurrent(event);
    }
}

int32_t UI_WINDOW::ToCurrent(UI_MESSAGE* event)
{
    return Current() != nullptr ? Current()->Event(event) : UI_CODE_NOT_HANDLED;
}

// A window command that is not a key, carries no raw code and names another
// object belongs to the current child.
bool UI_WINDOW::AddressedElsewhere(const UI_MESSAGE* event) const
{
    return !IsKeyEvent(event) && event->code == 0 && event->pointer != this;
}

int32_t UI_WINDOW::ChildVariant(UI_MESSAGE* event, int32_t code)
{
    UI_MESSAGE command = *event;
    switch (code) {
    case UI_CODE_CHILD_RESTORE: command.type = UI_CODE_RESTORE; break;
    case UI_CODE_CHILD_MAXIMIZE: command.type = UI_CODE_MAXIMIZE; break;
    case UI_CODE_CHILD_MINIMIZE: command.type = UI_CODE_MINIMIZE; break;
    case UI_CODE_CHILD_MOVE: command.type = UI_CODE_MOVE; break;
    default: command.type = UI_CODE_SIZE; break;
    }
    if (!(windowFlags & UI_WINDOW_IN_WINDOW))
        return UI_CODE_NOT_HANDLED;
    if (IsTopLevel()) {
        if (Current() == nullptr)
            return UI_CODE_NOT_HANDLED;
        Current()->Event(&command);
        return code;
    }
    return Event(&command);
}

int32_t UI_WINDOW::CloseChild(int32_t code)
{
    UI_WIDGET* child = Current();
    if (!IsTopLevel() || !(windowFlags & UI_WINDOW_IN_WINDOW) || child == nullptr)
        return code;
    const UI_RECT old = child->screenRect;
    Remove(child);
    SendMessage(this, UI_CODE_CLAIM_REGION);
    SendMessage(this, UI_CODE_DRAW_CURRENT, old);
    if (!(child->windowFlags & UI_WINDOW_KEPT))
        delete child;
    return code;
}

int32_t UI_WINDOW::DrawMessage(UI_MESSAGE* event, int32_t code)
{
    if (screenNumber == 0)
        return code;
    UI_WIDGET::Event(event);
    if (code == UI_CODE_DRAW_CURRENT && inputManager != nullptr)
        inputManager->SendToDevice(UI_CURSOR_DEVICE, UI_DEVICE_OFF);
    if (code == UI_CODE_DEACTIVATE && IsTopLevel() && Current() != nullptr &&
        (Current()->flags & UI_FLAG_SUPPORT) && Current()->previousCurrent != nullptr &&
        Current()->HasClass(UI_ID_MENU_BAR)) {
        UI_WIDGET* remembered = Current()->previousCurrent;
        Current()->previousCurrent = nullptr;
        current = remembered;
    }
    const bool inWindow = !IsTopLevel();
    bool opened = false;
    if (inWindow && RectsOverlap(event->rect, screenRect) && screen != nullptr) {
        screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
        opened = true;
    }
    if (status & UI_STATUS_REDRAW)
        Draw(event, code);

    UI_MESSAGE forCurrent = *event;
    UI_MESSAGE forOthers = *event;
    if (code == UI_CODE_DRAW_CURRENT)
        forOthers.type = UI_CODE_DRAW_NORMAL;
    else if (code == UI_CODE_DEACTIVATE)
        forOthers.type = UI_CODE_DRAW_INACTIVE;
    if (code == UI_CODE_DRAW_NORMAL && inWindow && (windowFlags & UI_WINDOW_IN_WINDOW))
        forCurrent.type = forOthers.type = UI_CODE_DRAW_INACTIVE;

    for (UI_NODE* node = supportList.head; node != nullptr; node = node->next) {
        UI_WIDGET* object = AsWidget(node);
        object->Event((object->status & UI_STATUS_CURRENT) ? &forCurrent : &forOthers);
    }
    if (current == nullptr && head != nullptr) {
        current = (windowFlags & UI_WINDOW_IN_WINDOW) ? tail : head;
        Current()->status |= UI_STATUS_CURRENT;
    }
    const bool focusStays = listFlags & UI_LIST_MULTIPLE_SELECTION;
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_WIDGET* object = AsWidget(node);
        if (object == current) {
            if (code == UI_CODE_DRAW_CURRENT && !focusStays)
                object->status |= UI_STATUS_CURRENT;
            object->Event((object->status & UI_STATUS_CURRENT) ? &forCurrent : &forOthers);
        } else if (RectsOverlap(object->screenRect, event->rect)) {
            if (!focusStays)
                object->status &= ~UI_STATUS_CURRENT;
            object->Event(&forOthers);
        }
    }
    if (opened)
        screen->ReleaseScreen(screenNumber);
    status &= ~UI_STATUS_REDRAW;
    return code;
}

int32_t UI_WINDOW::LayOutWindow(UI_MESSAGE* event, int32_t code)
{
    const bool topLevel = IsTopLevel();
    if ((status & UI_STATUS_MINIMIZED) && icon != nullptr) {
        if (!topLevel) {
            UI_WIDGET::Event(event);
        } else {
            clipRect = givenRect;
            screenRect = givenRect;
        }
        icon->givenRect = givenRect;
        icon->clipRect = clipRect;
        icon->screenRect = screenRect;
        icon->Event(event);
        return code;
    }
    clipList.DeleteAll();
    if ((topLevel || (windowFlags & UI_WINDOW_IN_WINDOW)) && (status & UI_STATUS_IN_PIXELS) && screen != nullptr) {
        const int32_t leastWidth = screen->columnWidth * LEAST_WIDTH_CELLS;
        const int32_t leastHeight = screen->rowHeight + 2 * FRAME_WIDTH;
        if (givenRect.right - givenRect.left + 1 < leastWidth)
            givenRect.right = givenRect.left + leastWidth - 1;
        if (givenRect.bottom - givenRect.top + 1 < leastHeight)
            givenRect.bottom = givenRect.top + leastHeight - 1;
    }
    UI_WIDGET::Event(event);
    if (!topLevel && (windowFlags & UI_WINDOW_IN_WINDOW) && (status & UI_STATUS_MAXIMIZED))
        screenRect = clipRect;
    clipList.InsertBefore(nullptr,
                          new UI_CLIP_RECT(screenNumber, (flags & UI_FLAG_BORDER) ? Shrunk(screenRect, 1) : screenRect));
    LayOutSupport(event);
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_WIDGET* object = AsWidget(node);
        object->Event(event);
        if (object->flags & UI_FLAG_TAKES_ROOM)
            clipList.Cut(screenNumber, object->screenRect, topLevel ? 1 : 0);
    }
    return code;
}

void UI_WINDOW::LayOutSupport(UI_MESSAGE* event)
{
    for (UI_NODE* node = supportList.head; node != nullptr; node = node->next) {
        UI_WIDGET* object = AsWidget(node);
        object->Event(event);
        if (object->windowFlags & UI_WINDOW_FILL_PARENT) {
            clipList.DeleteAll();
            clipList.InsertBefore(nullptr, new UI_CLIP_RECT(screenNumber, Shrunk(object->screenRect, 1)));
        } else if (object->flags & UI_FLAG_TAKES_ROOM) {
            clipList.Cut(screenNumber, object->screenRect, IsTopLevel() ? 1 : 0);
        }
    }
}

int32_t UI_WINDOW::ClaimRegion(int32_t code)
{
    UI_RECT claimed = screenRect;
    if (!IsTopLevel() && !IntersectRects(screenRect, clipRect, claimed))
        claimed = UI_RECT{0, 0, -1, -1};
    if (Current() != nullptr)
        Current()->status |= UI_STATUS_REDRAW;
    if (screen != nullptr && claimed.left <= claimed.right)
        screen->AssignArea(screenNumber, claimed.left, claimed.top, claimed.right, claimed.bottom);
    if (IsTopLevel() && (windowFlags & UI_WINDOW_IN_WINDOW))
        for (UI_NODE* node = head; node != nullptr; node = node->next)
            if (AsWidget(node)->windowFlags & UI_WINDOW_IN_WINDOW)
                SendMessage(AsWidget(node), UI_CODE_CLAIM_REGION);
    return code;
}

int32_t UI_WINDOW::InitialiseChildren(UI_MESSAGE* event, int32_t code)
{
    UI_WIDGET::Event(event);
    for (UI_NODE* node = supportList.head; node != nullptr; node = node->next)
        AsWidget(node)->Event(event);
    const bool focusSelects = (listFlags & UI_LIST_FOCUS_SELECTS) && !(listFlags & UI_LIST_MULTIPLE_SELECTION);
    const uint16_t currentBits = focusSelects ? UI_STATUS_CURRENT | UI_STATUS_SELECTED : UI_STATUS_CURRENT;
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_WIDGET* object = AsWidget(node);
        if (object != current && (current != nullptr || !Eligible(object))) {
            object->status &= ~UI_STATUS_CURRENT;
        } else {
            if (Current() != nullptr && Current() != object)
                Current()->status &= ~currentBits;
            current = object;
            object->status |= currentBits;
        }
        object->Event(event);
    }
    return code;
}

int32_t UI_WINDOW::MenuKey(int32_t code)
{
    UI_WIDGET* menuBar = nullptr;
    for (UI_NODE* node = supportList.tail; node != nullptr && menuBar == nullptr; node = node->previous) {
        UI_WIDGET* object = AsWidget(node);
        if (code == UI_CODE_MENU_KEY && object->HasClass(UI_ID_SYSTEM_BUTTON)) {
            SendMessage(object, UI_CODE_SELECT);
            return code;
        }
        if (object->HasClass(UI_ID_MENU_BAR) && !(status & UI_STATUS_MINIMIZED))
            menuBar = object;
    }
    if (menuBar == nullptr)
        return UI_CODE_NOT_HANDLED;
    if (menuBar == current) {
        if (menuBar->previousCurrent != nullptr) {
            Add(menuBar->previousCurrent);
        } else {
            menuBar->status &= ~UI_STATUS_CURRENT;
            current = nullptr;
            SendMessage(menuBar, UI_CODE_DEACTIVATE, menuBar->screenRect);
        }
    } else if (code == UI_CODE_MENU_KEY) {
        menuBar->previousCurrent = Current();
        Add(menuBar);
    }
    return code;
}

// Minimize, maximize and restore.
int32_t UI_WINDOW::ChangeSize(UI_MESSAGE* event, int32_t code)
{
    if (AddressedElsewhere(event) && Current() != nullptr) {
        Current()->Event(event);
        return code;
    }
    const bool maximized = status & UI_STATUS_MAXIMIZED;
    const bool minimized = status & UI_STATUS_MINIMIZED;
    const bool topLevel = IsTopLevel();
    const UI_RECT old = screenRect;
    if ((code == UI_CODE_RESTORE && (maximized || minimized)) || (code == UI_CODE_MINIMIZE && minimized) ||
        (code == UI_CODE_MAXIMIZE && maximized)) {
        givenRect = restoreRegion;
        status &= ~(UI_STATUS_MAXIMIZED | UI_STATUS_MINIMIZED);
    } else if (code == UI_CODE_MAXIMIZE && !minimized) {
        restoreRegion = givenRect;
        const int32_t top = CellHeight() - 2;
        if (topLevel && screen != nullptr)
            givenRect = UI_RECT{0, top, screen->width - 1, screen->height - 1};
        else if (parent != nullptr)
            givenRect = UI_RECT{0, top, parent->givenRect.right - parent->givenRect.left,
                                parent->givenRect.bottom - parent->givenRect.top};
        status |= UI_STATUS_MAXIMIZED;
    } else if (code == UI_CODE_MINIMIZE && !maximized) {
        restoreRegion = givenRect;
        if (icon != nullptr) {
            givenRect = topLevel ? icon->screenRect : icon->givenRect;
        } else {
            const int32_t side = screen != nullptr ? screen->rowHeight - screen->spaceAbove - screen->spaceBelow : 0;
            givenRect.right = givenRect.left + CellWidth() * LEAST_WIDTH_CELLS - 1;
            givenRect.bottom = givenRect.top + side + 5;
        }
        status |= UI_STATUS_MINIMIZED;
    } else {
        return UI_CODE_NOT_HANDLED;
    }
    SendMessage(this, UI_CODE_LAYOUT);
    HideCursorAndPointer();
    RepaintAfterChange(old, false);
    return code;
}

void UI_WINDOW::RepaintAfterChange(const UI_RECT& old, bool dragged)
{
    if (IsTopLevel()) {
        if (screen != nullptr && desktop != nullptr) {
            screen->AssignArea(desktop->screenNumber, 0, 0, screen->width - 1, screen->height - 1);
            for (UI_NODE* node = desktop->tail; node != nullptr; node = node->previous)
                SendMessage(AsWidget(node), UI_CODE_CLAIM_REGION);
            desktop->FillBackground(old);
        }
        SendMessage(this, UI_CODE_DRAW_CURRENT, screenRect);
        if (desktop != nullptr)
            for (UI_NODE* node = desktop->tail; node != nullptr; node = node->previous)
                if (node != this && RectsOverlap(AsWidget(node)->screenRect, old))
                    SendMessage(AsWidget(node), UI_CODE_DRAW_INACTIVE, old);
        return;
    }
    if (parent == nullptr)
        return;
    if (windowFlags & UI_WINDOW_IN_WINDOW)
        SendMessage(parent, UI_CODE_CLAIM_REGION);
    if (RectsOverlap(old, screenRect)) {
        status |= UI_STATUS_REDRAW;
        SendMessage(parent, UI_CODE_DRAW_CURRENT, Union(old, screenRect));
    } else if (!dragged) {
        // Minimized to an icon elsewhere: both places are drawn.
        SendMessage(parent, UI_CODE_DRAW_CURRENT, Union(old, screenRect));
    } else {
        SendMessage(parent, UI_CODE_DRAW_CURRENT, (parent->windowFlags & UI_WINDOW_IN_WINDOW) ? clipRect : old);
    }
}

int32_t UI_WINDOW::MoveOrSize(UI_MESSAGE* event, int32_t code)
{
    if (AddressedElsewhere(event) && Current() != nullptr) {
        Current()->Event(event);
        return code;
    }
    if (code == UI_CODE_MOVE &&
        ((status & UI_STATUS_MAXIMIZED) || ((windowFlags & UI_WINDOW_NO_MOVE) && !(status & UI_STATUS_MINIMIZED))))
        return code;
    if (code == UI_CODE_SIZE && ((status & UI_STATUS_MINIMIZED) || (windowFlags & UI_WINDOW_NO_SIZE)))
        return code;
    UI_MESSAGE start = *event;
    if (code != start.type) {
        start.type = code;
        start.code = 0;
    }
    DragFrame(&start);
    return code;
}

int32_t UI_WINDOW::Scroll(UI_MESSAGE* event, int32_t code)
{
    UI_WIDGET* now = Current();
    if (now == nullptr || head == nullptr)
        return UI_CODE_NOT_HANDLED;
    UI_RECT area = clipList.First() != nullptr ? clipList.First()->region : screenRect;
    area = UI_RECT{std::max(area.left, clipRect.left), std::max(area.top, clipRect.top),
                   std::min(area.right, clipRect.right), std::min(area.bottom, clipRect.bottom)};
    int32_t dx = 0;
    int32_t dy = 0;
    if (code == UI_CODE_SHOW_CURRENT_VERTICAL) {
        if (now->screenRect.bottom > area.bottom) {
            for (UI_NODE* n = now; n != nullptr && AsWidget(n)->screenRect.bottom > area.bottom; n = n->previous)
                dy += AsWidget(n)->screenRect.top - AsWidget(n)->screenRect.bottom - 1;
        } else if (now->screenRect.top < area.top) {
            for (UI_NODE* n = now; n != nullptr && AsWidget(n)->screenRect.top < area.top; n = n->next)
                dy += AsWidget(n)->screenRect.bottom - AsWidget(n)->screenRect.top + 1;
        }
    } else if (code == UI_CODE_SHOW_CURRENT_HORIZONTAL) {
        // Each column (objects sharing an edge) counts once.
        if (now->screenRect.right > area.right) {
            int32_t counted = INT32_MIN;
            for (UI_NODE* n = now; n != nullptr && AsWidget(n)->screenRect.right > area.right; n = n->previous) {
                const UI_RECT& r = AsWidget(n)->screenRect;
                if (r.right != counted)
                    dx += r.left - r.right - 1;
                counted = r.right;
            }
        } else if (now->screenRect.left < area.left) {
            int32_t counted = INT32_MIN;
            for (UI_NODE* n = now; n != nullptr && AsWidget(n)->screenRect.left < area.left; n = n->next) {
                const UI_RECT& r = AsWidget(n)->screenRect;
                if (r.left != counted)
                    dx += r.right - r.left + 1;
                counted = r.left;
            }
        }
    } else {
        UI_WIDGET* bar = code == UI_CODE_SCROLL_HORIZONTAL ? horizontalScroll : verticalScroll;
        if (bar != nullptr)
            bar->Event(event);
        (code == UI_CODE_SCROLL_HORIZONTAL ? dx : dy) = -event->data[4];
    }
    // Never past the first object's edge, nor the last object's.
    const UI_RECT& first = First()->screenRect;
    const UI_RECT& last = Last()->screenRect;
    dx = std::max(std::min(dx, area.left - first.left), area.left - last.left);
    dy = std::max(std::min(dy, area.top - first.top), area.top - last.top);
    if (dx == 0 && dy == 0)
        return UI_CODE_NOT_HANDLED;
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_WIDGET* object = AsWidget(node);
        if (object->flags & UI_FLAG_TAKES_ROOM)
            continue;
        object->screenRect = UI_RECT{object->screenRect.left + dx, object->screenRect.top + dy,
                                     object->screenRect.right + dx, object->screenRect.bottom + dy};
        object->givenRect = UI_RECT{object->givenRect.left + dx, object->givenRect.top + dy,
                                    object->givenRect.right + dx, object->givenRect.bottom + dy};
    }
    if (status & UI_STATUS_APPLYING)
        return code;
    const int32_t width = area.right - area.left + 1;
    const int32_t height = area.bottom - area.top + 1;
    const bool onScreen = screen != nullptr && screenRect.left >= 0 && screenRect.top >= 0 &&
                          screenRect.right < screen->width && screenRect.bottom < screen->height;
    UI_RECT strip = area;
    if (onScreen && (dx == 0 || dy == 0) && std::abs(dx) < width && std::abs(dy) < height) {
        // Keep what stays visible and draw only the strip it uncovers.
        UI_RECT kept = area;
        if (dy < 0)
            kept.top -= dy, strip.top = area.bottom + dy + 1;
        else if (dy > 0)
            kept.bottom -= dy, strip.bottom = area.top + dy - 1;
        if (dx < 0)
            kept.left -= dx, strip.left = area.right + dx + 1;
        else if (dx > 0)
            kept.right -= dx, strip.right = area.left + dx - 1;
        screen->ShiftArea(kept, kept.left + dx, kept.top + dy, screenNumber);
    }
    SendMessage(this, UI_CODE_DRAW_CURRENT, strip);
    return code;
}

int32_t UI_WINDOW::Help(UI_MESSAGE* event, int32_t code)
{
    if (Current() != nullptr && Current()->Event(event) != UI_CODE_NOT_HANDLED)
        return code;
    if (!IsTopLevel() && helpTopic == 0)
        return UI_CODE_NOT_HANDLED;
    if (helpSystem != nullptr)
        helpSystem->DisplayHelp(desktop, helpTopic);
    return code;
}

int32_t UI_WINDOW::MoveFocus(UI_MESSAGE* event, int32_t code)
{
    if (code == UI_CODE_NEXT_CHILD_WINDOW && !(IsTopLevel() && (windowFlags & UI_WINDOW_IN_WINDOW)))
        return UI_CODE_NOT_HANDLED;
    const bool backwards = code == UI_CODE_PREVIOUS_FIELD;
    UI_WIDGET* now = Current();
    if (now == nullptr) {
        Add(backwards ? Last() : First());
        return UI_CODE_NOT_HANDLED;
    }
    if (now->Event(event) != UI_CODE_NOT_HANDLED)
        return code;
    if (now->flags & UI_FLAG_SUPPORT)
        return UI_CODE_NOT_HANDLED;
    UI_NODE* n = now;
    for (;;) {
        n = backwards ? n->previous : n->next;
        if (n == nullptr) {
            if (listFlags & UI_LIST_NO_WRAP)
                return UI_CODE_NOT_HANDLED;
            n = backwards ? tail : head;
        }
        if (n == now)
            return UI_CODE_NOT_HANDLED;
        if (Eligible(AsWidget(n)))
            break;
    }
    const uint16_t moving = backwards ? UI_LIST_MOVING_BACKWARD : UI_LIST_MOVING_FORWARD;
    listFlags |= moving;
    Add(AsWidget(n));
    listFlags &= ~moving;
    return code;
}

int32_t UI_WINDOW::FocusEnd(UI_MESSAGE* event, int32_t code)
{
    if (Current() != nullptr) {
        const int32_t answer = Current()->Event(event);
        if (answer != UI_CODE_NOT_HANDLED)
            return answer;
    }
    const bool fromStart = code == UI_CODE_FIRST_FIELD;
    UI_NODE* n = fromStart ? head : tail;
    while (n != nullptr && !Eligible(AsWidget(n)))
        n = fromStart ? n->next : n->previous;
    if (n != nullptr) {
        const uint16_t moving = fromStart ? UI_LIST_MOVING_BACKWARD : UI_LIST_MOVING_FORWARD;
        listFlags |= moving;
        Add(AsWidget(n));
        listFlags &= ~moving;
    }
    return code;
}

// A hot key: the support objects first, then the client objects.
int32_t UI_WINDOW::HotKeyEvent(UI_MESSAGE* event)
{
    int32_t key;
    if ((windowFlags & UI_WINDOW_LETTER_HOT_KEYS) && !(event->keyData.shifts & UI_SHIFT_ALT))
        key = event->keyData.keyValue & 0xFF;
    else
        key = LookUpEvent(hotKeyTable, event, UI_ID_WIDGET, UI_ID_WIDGET, UI_ID_WIDGET, UI_ID_WIDGET, UI_ID_WIDGET);
    if (key == UI_KEY_EVENT)
        return UI_CODE_NOT_HANDLED;   // the table has no hot key for it
    if (key >= 'A' && key <= 'Z')
        key += 'a' - 'A';
    for (UI_NODE_LIST* list : {&supportList, static_cast<UI_NODE_LIST*>(this)}) {
        const bool support = list == &supportList;
        for (UI_NODE* node = list->head; node != nullptr; node = node->next) {
            UI_WIDGET* object = AsWidget(node);
            if (object->hotKey == UI_HOTKEY_ANY) {
                if ((status & UI_STATUS_MINIMIZED) || object->Event(event) == UI_CODE_NOT_HANDLED)
                    continue;
                if (object != current) {
                    object->previousCurrent = Current();
                    if (support)
                        MakeCurrentDirectly(object);
                    else
                        Add(object);
                }
                return UI_KEY_EVENT;
            }
            if (object->hotKey != key || (object->flags & UI_FLAG_NOT_SELECTABLE) ||
                (!support && (object->windowFlags & UI_WINDOW_NEVER_CURRENT)))
                continue;
            if (!support)
                Add(object);
            if (!object->HasClass(UI_ID_BUTTON) && !object->HasClass(UI_ID_ICON))
                return UI_KEY_EVENT;
            UI_MESSAGE select(UI_CODE_SELECT);
            return object->Event(&select);
        }
    }
    return UI_CODE_NOT_HANDLED;
}

// The current pointer of the client list set without the redraw of Add.
void UI_WINDOW::MakeCurrentDirectly(UI_WIDGET* object)
{
    if (Current() != nullptr && Current() != object)
        Current()->status &= ~UI_STATUS_CURRENT;
    current = object;
    object->status |= UI_STATUS_CURRENT;
}

int32_t UI_WINDOW::MouseEvent(UI_MESSAGE* event, int32_t code)
{
    const UI_POINT& p = event->point;
    if (!PointInside(screenRect, p)) {
        if (Current() != nullptr)
            return Current()->Event(event);
        NormalPointer();
        return UI_CODE_NOT_HANDLED;
    }
    // The pointer has left the holder; a frame (filling the window) holds
    // the pointer while it is outside its own region.
    const bool holderFills = mouseHolder != nullptr && (mouseHolder->windowFlags & UI_WINDOW_FILL_PARENT);
    if (mouseHolder != nullptr && PointInside(mouseHolder->screenRect, p) == holderFills) {
        if (!(status & UI_STATUS_MOUSE_ANYWAY))
            mouseHolder->Event(event);
        mouseHolder = nullptr;
    }
    if (code == UI_CODE_RELEASE && Current() != nullptr && !PointInside(Current()->screenRect, p)) {
        UI_WIDGET* was = Current();
        was->Event(event);
        if (was->windowFlags & UI_WINDOW_NEVER_CURRENT) {
            UI_WIDGET* marked = First();
            while (marked != nullptr && !(marked->status & UI_STATUS_CURRENT))
                marked = AsWidget(marked->next);
            current = marked;
        }
    }
    const bool held = (event->code & MOUSE_BUTTONS_DOWN) && !(event->code & MOUSE_BUTTONS_CHANGED);
    if (event->type == UI_MOUSE_EVENT && held && Current() != nullptr &&
        !(code == UI_CODE_DRAG && (listFlags & UI_LIST_DRAG_CHOOSES)))
        return Current()->Event(event);

    // The object under the pointer: support objects first, then the client
    // objects from the top (the last drawn) down.
    auto under = [&](UI_WIDGET* object) {
        if ((object->flags & UI_FLAG_NOT_SELECTABLE) && !(status & UI_STATUS_MOUSE_ANYWAY))
            return false;
        if (object->windowFlags & UI_WINDOW_FILL_PARENT)
            return !PointInside(object->screenRect, p);
        return PointInside(object->screenRect, p);
    };
    UI_WIDGET* found = nullptr;
    for (UI_NODE* node = supportList.head; node != nullptr && found == nullptr; node = node->next)
        if (under(AsWidget(node)))
            found = AsWidget(node);
    for (UI_NODE* node = tail; node != nullptr && found == nullptr; node = node->previous)
        if (under(AsWidget(node)))
            found = AsWidget(node);
    if (found == nullptr) {
        status &= ~UI_STATUS_POINTER_OVER;
        NormalPointer();
        UI_WIDGET::Event(event);
        return code;
    }
    const bool support = found->flags & UI_FLAG_SUPPORT;
    if ((status & UI_STATUS_MINIMIZED) && !(support && found->HasClass(UI_ID_BUTTON)))
        return UI_CODE_NOT_HANDLED;
    if (code == UI_CODE_PRESS || (code == UI_CODE_DRAG && (listFlags & UI_LIST_DRAG_CHOOSES))) {
        if (Eligible(found)) {
            if (support)
                found->previousCurrent = Current();
            Add(found);
        } else if (!support && code == UI_CODE_PRESS) {
            current = found;
        }
    } else if (code == UI_CODE_RELEASE && !support && !Eligible(found)) {
        UI_WIDGET* marked = First();
        while (marked != nullptr && !(marked->status & UI_STATUS_CURRENT))
            marked = AsWidget(marked->next);
        current = marked;
    }
    if (support && code != UI_CODE_POINTER_MOVE)
        mouseHolder = found;
    found->Event(event);
    return code;
}

// ---------------------------------------------------------------------------
// The move-and-size loop

void UI_WINDOW::DragFrame(UI_MESSAGE* event)
{
    if (screen == nullptr || inputManager == nullptr)
        return;
    const bool topLevel = IsTopLevel();
    if (!topLevel && (flags & UI_FLAG_TAKES_ROOM))
        return;
    const bool isIcon = HasClass(UI_ID_ICON);
    const bool sizing = event->type == UI_CODE_SIZE && !isIcon;
    int32_t mask = EDGES_ALL;
    if (sizing)
        mask = (event->code & EDGES_ALL) != 0 ? (event->code & EDGES_ALL) : (EDGE_RIGHT | EDGE_BOTTOM);
    if (sizing && HasClass(UI_ID_ROW_WINDOW))
        mask &= ~(EDGE_TOP | EDGE_BOTTOM);
    if (mask == 0)
        return;
    const UI_RECT bounds = topLevel ? UI_RECT{0, 0, screen->width - 1, screen->height - 1} : clipRect;
    const bool list = HasClass(UI_ID_LIST);
    const int32_t leastHeight = (topLevel || !list) ? screen->rowHeight + 2 * FRAME_WIDTH
                                                    : screen->rowHeight - screen->spaceAbove - screen->spaceBelow;
    const int32_t leastWidth = (list || HasClass(UI_ID_SCROLL_BAR) || HasClass(UI_ID_ROW_LAYOUT))
                                   ? LEAST_CHILD_WIDTH_CELLS * screen->columnWidth
                                   : LEAST_WIDTH_CELLS * screen->columnWidth;

    const UI_COLOUR_ENTRY* frameColours = &UI_FG_DISPLAY::frameColours;
    const UI_RECT start = screenRect;
    UI_RECT frame = start;
    screen->DrawBox(UI_ALL_SCREENS, frame.left, frame.top, frame.right, frame.bottom, frameColours, 1, 0,
                    FG_MODE_XOR, nullptr);
    UI_POINT origin = event->point;
    UI_POINT pointer = origin;
    bool sawPointer = false;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t ending = UI_CODE_CANCEL;
    for (;;) {
        UI_MESSAGE next;
        if (inputManager->Get(&next, 0) != 0)
            break;   // no device could end the loop: as Esc
        const int32_t code = MapEvent(&next, UI_ID_WIDGET);
        const int32_t oldDx = dx;
        const int32_t oldDy = dy;
        if (code == UI_CODE_PRESS || code == UI_CODE_DRAG) {
            if (code == UI_CODE_PRESS)
                origin = next.point;
            pointer = UI_POINT{std::clamp(next.point.column, bounds.left, std::max(bounds.left, bounds.right)),
                               std::clamp(next.point.line, bounds.top, std::max(bounds.top, bounds.bottom))};
            dx = pointer.column - origin.column;
            dy = pointer.line - origin.line;
            sawPointer = true;
        } else if (code == UI_CODE_UP || code == UI_CODE_DOWN || code == UI_CODE_LEFT || code == UI_CODE_RIGHT) {
            if (code == UI_CODE_UP)
                dy -= screen->rowHeight;
            else if (code == UI_CODE_DOWN)
                dy += screen->rowHeight;
            else if (code == UI_CODE_LEFT)
                dx -= screen->columnWidth;
            else
                dx += screen->columnWidth;
            const UI_RECT moved{start.left + dx, start.top + dy, start.right + dx, start.bottom + dy};
            if (!RectsOverlap(moved, bounds)) {   // wholly outside: taken back
                dx = oldDx;
                dy = oldDy;
            }
        } else if (next.type >= UI_FIRST_PROGRAM_EVENT) {
            if (desktop != nullptr)
                desktop->Event(&next);
        }
        UI_RECT moved = frame;
        if (mask & EDGE_LEFT)
            moved.left = start.left + dx;
        if (mask & EDGE_RIGHT)
            moved.right = start.right + dx;
        if (mask & EDGE_TOP)
            moved.top = start.top + dy;
        if (mask & EDGE_BOTTOM)
            moved.bottom = start.bottom + dy;
        if (sizing && !(status & UI_STATUS_MINIMIZED)) {
            if (moved.right - moved.left + 1 < leastWidth)
                moved.left = frame.left, moved.right = frame.right;
            if (moved.bottom - moved.top + 1 < leastHeight)
                moved.top = frame.top, moved.bottom = frame.bottom;
        }
        if (moved.left != frame.left || moved.top != frame.top || moved.right != frame.right ||
            moved.bottom != frame.bottom) {
            screen->XorFrame(frame, moved, UI_ALL_SCREENS);
            frame = moved;
        }
        if (code == UI_CODE_RELEASE || code == UI_CODE_SELECT || code == UI_CODE_CANCEL) {
            ending = code;
            break;
        }
    }
    screen->DrawBox(UI_ALL_SCREENS, frame.left, frame.top, frame.right, frame.bottom, frameColours, 1, 0,
                    FG_MODE_XOR, nullptr);
    const bool changed = frame.left != start.left || frame.top != start.top || frame.right != start.right ||
                         frame.bottom != start.bottom;
    if (ending != UI_CODE_CANCEL && changed) {
        givenRect.left += frame.left - start.left;
        givenRect.top += frame.top - start.top;
        givenRect.right += frame.right - start.right;
        givenRect.bottom += frame.bottom - start.bottom;
        SendMessage(this, UI_CODE_LAYOUT);
        const bool applying = status & UI_STATUS_APPLYING;
        status |= UI_STATUS_APPLYING;
        RepaintAfterChange(start, true);
        if (!applying)
            status &= ~UI_STATUS_APPLYING;
    }
    if (sawPointer) {
        UI_MESSAGE moved(UI_CODE_POINTER_MOVE);
        moved.point = pointer;
        inputManager->Put(&moved, UI_PUT_AT_TAIL);
    }
}
