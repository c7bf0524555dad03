// UI_DESKTOP.cpp: the desktop window manager (declared in UI_WINDOW.h):
// construction and end, its requests, showing and removing windows, and its
// event handling: routing, closing, modal windows, the exit question, the
// cascade, the redisplay, the next window and a new display.
#include "widgets/UI_WINDOW.h"

#include <algorithm>

#include "widgets/FrameworkHooks.h"
#include "widgets/PasteBuffer.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

int32_t UI_DESKTOP::nextScreenNumber = 1;

namespace {

constexpr int32_t NO_UNION = 4095;   // a union of no rectangles: left and top 4095, right and bottom 0
constexpr int32_t CASCADE_COLUMNS = 3;   // cell widths between cascaded windows

bool Modal(const UI_WIDGET* window)
{
    return window->windowFlags & UI_WINDOW_MODAL;
}

const UI_RECT NO_RECT{-1, -1, -1, -1};

} // namespace

UI_DESKTOP::UI_DESKTOP(UI_SCREEN* display, UI_INPUT_MANAGER* manager, UI_EXIT_FUNCTION exit)
    : UI_WINDOW(0, 0, display != nullptr ? display->width : 0, display != nullptr ? display->height : 0),
      exitFunction(exit)
{
    UI_DESKTOP::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_DESKTOP);
    status |= UI_STATUS_IN_PIXELS;
    screenNumber = 1;
    nextScreenNumber = 1;
    screen = display;
    inputManager = manager;
    desktop = this;
}

UI_DESKTOP::~UI_DESKTOP()
{
    UI_MESSAGE removed(UI_CODE_REMOVED);
    while (UI_WIDGET* window = First()) {
        Unlink(window);
        window->Event(&removed);
        if (!(window->windowFlags & UI_WINDOW_KEPT))
            delete window;
    }
    FreePasteBuffer();
    screen = nullptr;
    inputManager = nullptr;
    desktop = nullptr;
}

void* UI_DESKTOP::Query(int32_t request, void* data, uint16_t objectID)
{
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_DESKTOP, UI_ID_WINDOW});
        return data;
    case UI_QUERY_FIND_NUMBER:
    case UI_QUERY_FIND_NAME:
        for (UI_WIDGET* window = First(); window != nullptr; window = AsWidget(window->next))
            if (void* found = window->UI_WIDGET::Query(request, data, objectID))
                return found;
        return nullptr;
    default:
        return nullptr;
    }
}

void UI_DESKTOP::FillBackground(const UI_RECT& r)
{
    if (screen != nullptr)
        screen->DrawBox(screenNumber, r.left, r.top, r.right, r.bottom, &UI_FG_DISPLAY::backgroundColours, 0, 1, 0,
                        nullptr);
}

// Remove, then delete unless the window is kept.
void UI_DESKTOP::CloseWindow(UI_WIDGET* window)
{
    Remove(window);
    if (!(window->windowFlags & UI_WINDOW_KEPT))
        delete window;
}

// The modal windows at the front, or only the pop-ups among them (modal
// windows opened by an object, which is their parent).
void UI_DESKTOP::CloseModalWindows(bool popUpsOnly)
{
    while (First() != nullptr && Modal(First()) && (!popUpsOnly || First()->parent != nullptr))
        CloseWindow(First());
}

UI_WIDGET* UI_DESKTOP::Add(UI_WIDGET* window)
{
    if (window == nullptr)
        return nullptr;
    const bool onDesktop = PositionOf(window) >= 0;
    if (!Modal(window))
        CloseModalWindows(false);
    else if (onDesktop)
        while (First() != window)
            CloseWindow(First());
    if (window == First())
        return window;

    UI_RECT redraw{NO_UNION, NO_UNION, 0, 0};
    for (UI_WIDGET* w = First(); w != nullptr && w != window; w = AsWidget(w->next)) {
        if (!RectsOverlap(w->screenRect, window->screenRect))
            continue;
        redraw = UI_RECT{std::min(redraw.left, w->screenRect.left), std::min(redraw.top, w->screenRect.top),
                         std::max(redraw.right, w->screenRect.right), std::max(redraw.bottom, w->screenRect.bottom)};
    }
    if (window->screenNumber == 0 || Modal(window)) {
        SendMessage(window, UI_CODE_INITIALIZE);
        if (window->screenNumber == 0)
            window->screenNumber = ++nextScreenNumber;
        SendMessage(window, UI_CODE_LAYOUT);
        if (Modal(window) && screen != nullptr) {
            // Pulled onto the screen, or above its owner when it would pass
            // the bottom.
            UI_RECT& r = window->givenRect;
            const int32_t width = r.right - r.left;
            const int32_t height = r.bottom - r.top;
            if (r.left < 0)
                r.left = 0, r.right = width;
            if (r.right >= screen->width)
                r.right = screen->width - 1, r.left = r.right - width;
            if (r.bottom >= screen->height && window->parent != nullptr) {
                r.bottom = window->parent->screenRect.top - 1;
                r.top = r.bottom - height;
                if (r.top < 0)
                    r.top = 0, r.bottom = height;
            }
            SendMessage(window, UI_CODE_LAYOUT);
        }
        redraw = window->screenRect;
    }
    HideCursorAndPointer();
    if (onDesktop)
        Unlink(window);
    else
        redraw = window->screenRect;
    SendMessage(window, UI_CODE_CLAIM_REGION);
    UI_WIDGET* previousFront = First();
    InsertBefore(head, window);
    if (previousFront != nullptr && !Modal(window))
        SendMessage(previousFront, UI_CODE_DEACTIVATE, NO_RECT);
    SendMessage(window, UI_CODE_DRAW_CURRENT, redraw);
    return window;
}

UI_WIDGET* UI_DESKTOP::Remove(UI_WIDGET* window)
{
    if (window == nullptr)
        return nullptr;
    window->status &= ~UI_STATUS_CURRENT;
    if (PositionOf(window) < 0)
        return window;
    SendMessage(window, UI_CODE_DEACTIVATE, NO_RECT);
    HideCursorAndPointer();
    const UI_RECT removed = window->screenRect;
    if (screen != nullptr)
        screen->AssignArea(screenNumber, 0, 0, screen->width - 1, screen->height - 1);
    for (UI_NODE* node = tail; node != nullptr; node = node->previous)
        if (node != window)
            SendMessage(AsWidget(node), UI_CODE_CLAIM_REGION);
    FillBackground(removed);
    UI_WIDGET* newFront = First() != window ? First() : AsWidget(window->next);
    for (UI_NODE* node = tail; node != nullptr; node = node->previous) {
        UI_WIDGET* w = AsWidget(node);
        if (w == window)
            continue;
        if (w == newFront) {
            // The new front window always becomes current, so that its title
            // shows it and the keys reach it.
            SendMessage(w, UI_CODE_DRAW_CURRENT, removed);
            break;
        }
        if (!RectsOverlap(w->screenRect, removed))
            continue;
        UI_WIDGET* inFront = AsWidget(w->previous);
        if (inFront == window)
            inFront = AsWidget(window->previous);
        const bool underModal = inFront != nullptr && Modal(inFront);
        SendMessage(w, !Modal(w) && !underModal ? UI_CODE_DRAW_INACTIVE : UI_CODE_DRAW_CURRENT, removed);
    }
    UI_WIDGET* following = AsWidget(Unlink(window));
    SendMessage(window, UI_CODE_REMOVED);
    return following;
}

int32_t UI_DESKTOP::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_DESKTOP);
    if (head == nullptr) {
        if (code == UI_CODE_QUIT)
            return code;
        if (code == UI_CODE_EXIT_REQUEST)
            return ExitQuestion(code);
        return UI_CODE_NO_WINDOW;
    }
    switch (code) {
    case UI_CODE_QUIT:
        return code;
    case UI_CODE_EXIT_REQUEST:
        return ExitQuestion(code);
    case UI_CODE_SCREEN_CHANGED:
        CloseModalWindows(false);
        NewDisplay(event);
        return code;
    case UI_CODE_CASCADE:
        Cascade();
        return code;
    case UI_CODE_CLOSE_TEMPORARY:
        if (!Modal(First())) {
            if (event->type == UI_CODE_CLOSE_TEMPORARY)
                return code;
            First()->Event(event);
        } else {
            CloseWindow(First());
        }
        return code;
    case UI_CODE_REDISPLAY:
        RedrawAll();
        return code;
    case UI_CODE_CLOSE:
        return CloseFront(event, code);
    case UI_CODE_RESTORE:
    case UI_CODE_MAXIMIZE:
    case UI_CODE_MINIMIZE:
    case UI_CODE_MOVE:
    case UI_CODE_SIZE:
        CloseModalWindows(true);
        return First() != nullptr ? First()->Event(event) : UI_CODE_NO_WINDOW;
    case UI_CODE_POINTER_MOVE:
    case UI_CODE_PRESS:
        return RoutePointer(event, code);
    case UI_CODE_HELP: {
        if (MapEvent(event, UI_ID_WIDGET) == UI_CODE_HELP) {
            UI_MESSAGE help(UI_CODE_HELP);
            return First()->Event(&help);
        }
        if (helpSystem != nullptr)
            helpSystem->DisplayHelp(this, 0);
        return code;
    }
    case UI_CODE_NEXT_WINDOW:
        NextWindow();
        return code;
    default:
        return First()->Event(event);
    }
}

int32_t UI_DESKTOP::ExitQuestion(int32_t code)
{
    if (First() != nullptr && (First()->windowFlags & UI_WINDOW_LOCK))
        return code;
    if (exitFunction != nullptr && exitFunction(screen, inputManager, this) != UI_CODE_QUIT)
        return code;
    return UI_CODE_QUIT;
}

int32_t UI_DESKTOP::CloseFront(UI_MESSAGE* event, int32_t code)
{
    // A close that names a pop-up on the desktop (Esc in a menu) closes it
    // and the pop-ups opened from it, and leaves the menus behind it open.
    auto* named = static_cast<UI_WIDGET*>(event->pointer);
    if (named != nullptr && PositionOf(named) >= 0 && Modal(named) && named->parent != nullptr) {
        while (First() != named)
            CloseWindow(First());
        CloseWindow(named);
        return code;
    }
    CloseModalWindows(true);
    UI_WIDGET* front = First();
    if (front == nullptr)
        return UI_CODE_NO_WINDOW;
    if (front->screenNumber == screenNumber)
        return ExitQuestion(code);
    if (front->windowFlags & UI_WINDOW_NO_CLOSE)
        return code;
    if (event->pointer != nullptr && event->pointer != front && event->type != UI_KEY_EVENT)
        return code;   // a close meant for another object
    CloseWindow(front);
    if (head == nullptr && inputManager != nullptr) {
        UI_MESSAGE none(UI_CODE_NO_WINDOW);
        inputManager->Put(&none, 0);   // at the head: the very next pass ends
    }
    return code;
}

int32_t UI_DESKTOP::RoutePointer(UI_MESSAGE* event, int32_t code)
{
    const UI_POINT& p = event->point;
    for (UI_WIDGET* window = First(); window != nullptr;) {
        UI_WIDGET* behind = AsWidget(window->next);
        if ((window->flags & UI_FLAG_NOT_SELECTABLE) || !PointInside(window->screenRect, p)) {
            if (window->windowFlags & UI_WINDOW_LOCK)
                break;
            window = behind;
            continue;
        }
        if (code == UI_CODE_PRESS && window != First()) {
            // A press on the owner of the pop-up in front goes to it as it is.
            UI_WIDGET* front = First();
            bool owner = false;
            if (!(window->status & UI_STATUS_MINIMIZED) && Modal(front) && front->parent != nullptr &&
                front->next == window) {
                for (UI_WIDGET* up = front->parent; up != nullptr && PointInside(up->screenRect, p); up = up->parent)
                    if (up == window) {
                        owner = true;
                        break;
                    }
            }
            if (owner)
                return window->Event(event);
            Add(window);
        }
        const int32_t answer = window->Event(event);
        if (answer != UI_CODE_NOT_HANDLED)
            return answer;
        window = PositionOf(behind) >= 0 ? behind : nullptr;
    }
    NormalPointer();
    return code;
}

void UI_DESKTOP::RedrawAll()
{
    FillBackground(screenRect);
    for (UI_NODE* node = tail; node != nullptr; node = node->previous) {
        UI_WIDGET* window = AsWidget(node);
        SendMessage(window, node == head ? UI_CODE_DRAW_CURRENT : UI_CODE_DRAW_INACTIVE, window->screenRect);
    }
}

void UI_DESKTOP::Cascade()
{
    if (screen == nullptr)
        return;
    screen->AssignArea(screenNumber, 0, 0, screen->width - 1, screen->height - 1);
    const int32_t stepX = CASCADE_COLUMNS * screen->columnWidth;
    const int32_t stepY = screen->rowHeight * 3 / 2;
    int32_t left = 0;
    int32_t top = 0;
    for (UI_NODE* node = tail; node != nullptr; node = node->previous) {
        UI_WIDGET* window = AsWidget(node);
        UI_RECT& r = window->givenRect;
        const int32_t width = r.right - r.left;
        const int32_t height = r.bottom - r.top;
        if (top + height >= screen->height)
            top = 0;
        r = UI_RECT{left, top, left + width, top + height};
        SendMessage(window, UI_CODE_LAYOUT);
        SendMessage(window, UI_CODE_CLAIM_REGION);
        left += stepX;
        top += stepY;
    }
    RedrawAll();
}

void UI_DESKTOP::NewDisplay(UI_MESSAGE* event)
{
    auto* display = static_cast<UI_SCREEN*>(event->pointer);
    if (display == nullptr) {
        status &= ~UI_STATUS_IN_PIXELS;
        for (UI_NODE* node = head; node != nullptr; node = node->next)
            AsWidget(node)->Event(event);
        return;
    }
    screen = display;
    status |= UI_STATUS_IN_PIXELS;
    givenRect = screenRect = clipRect = UI_RECT{0, 0, display->width - 1, display->height - 1};
    UI_WIDGET* back = Last();
    Forget();
    screenNumber = 1;
    nextScreenNumber = 1;
    // Again from the back to the front, so the old front window is in front.
    while (back != nullptr) {
        UI_WIDGET* before = AsWidget(back->previous);
        back->previous = back->next = nullptr;
        Add(back);
        back = before;
    }
    if (inputManager != nullptr) {
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        inputManager->Put(&redisplay, 0);
    }
}

void UI_DESKTOP::NextWindow()
{
    UI_WIDGET* plain = First();
    while (plain != nullptr && Modal(plain))
        plain = AsWidget(plain->next);
    if (plain == nullptr || (plain->windowFlags & UI_WINDOW_LOCK) || plain == Last())
        return;
    Add(Last());
}
