// UI_WINDOW.h: UI_WINDOW, the container of window objects (a widget that is
// also the list of its client objects and holds a list of support objects):
// its children, layout, drawing, event handling, moving and sizing; and
// UI_DESKTOP, the window manager that holds every top-level window front
// first, routes each input message, closes, cascades and repaints windows,
// and publishes the display, the input manager and itself to all window
// objects. The title bar and the list box have files of their own.
#pragma once

#include <cstdint>

#include "widgets/UI_CLIP_LIST.h"
#include "widgets/UI_WIDGET.h"

// listFlags (the window's options)
constexpr uint16_t UI_LIST_NO_WRAP = 0x1;              // the focus keys stop at either end
constexpr uint16_t UI_LIST_MULTIPLE_SELECTION = 0x2;   // choosing toggles; several may be selected;
                                                       // the selection does not follow the focus
constexpr uint16_t UI_LIST_LIST_BOX = 0x4;             // a list box's items keep their own heights
constexpr uint16_t UI_LIST_SORTED = 0x8;
constexpr uint16_t UI_LIST_DRAG_CHOOSES = 0x10;        // dragging chooses the object under the pointer
constexpr uint16_t UI_LIST_FOCUS_SELECTS = 0x20;       // the current object is also selected
constexpr uint16_t UI_LIST_MOVING_FORWARD = 0x40;      // while the focus moves forwards
constexpr uint16_t UI_LIST_MOVING_BACKWARD = 0x80;     // while it moves backwards

// windowFlags read by windows and the desktop (with those of UI_WIDGET.h)
constexpr uint16_t UI_WINDOW_FILL_PARENT = 0x1;        // takes the parent's whole client area
constexpr uint16_t UI_WINDOW_LETTER_HOT_KEYS = 0x20;   // plain letters act as hot keys
constexpr uint16_t UI_WINDOW_NO_SIZE = 0x40;
constexpr uint16_t UI_WINDOW_NO_MOVE = 0x80;
constexpr uint16_t UI_WINDOW_LOCK = 0x100;             // while in front, nothing behind takes input
constexpr uint16_t UI_WINDOW_NO_CLOSE = 0x200;         // Alt-F4 does not close it

// flags
constexpr uint16_t UI_FLAG_VIEW_ONLY = 0x10;
constexpr uint16_t UI_FLAG_TAKES_ROOM = 0x200;   // cut out of the parent's client area

// status of a window
constexpr uint16_t UI_STATUS_MOUSE_ANYWAY = 0x2000;   // objects that cannot be chosen still get the mouse
constexpr uint16_t UI_STATUS_APPLYING = 0x4000;       // a move or size is being applied
constexpr uint16_t UI_STATUS_POINTER_OVER = 0x8000;   // cleared when the pointer finds no child

// Class identifiers the window looks for among its children.
constexpr uint16_t UI_ID_ICON = 5;
constexpr uint16_t UI_ID_MENU_BAR = 1004;
constexpr uint16_t UI_ID_SCROLL_BAR = 1005;
constexpr uint16_t UI_ID_SYSTEM_BUTTON = 1006;
constexpr uint16_t UI_ID_ROW_WINDOW = 1008;

// Requests of the window beyond the common ones.
constexpr int32_t UI_QUERY_VERTICAL_SCROLL = 133;
constexpr int32_t UI_QUERY_HORIZONTAL_SCROLL = 134;
constexpr int32_t UI_QUERY_FIRST_CLIP = 136;
constexpr int32_t UI_QUERY_DEFAULT_BUTTON = 141;
constexpr int32_t UI_QUERY_NEW_CURRENT_ITEM = 0x200;   // a drop-down list to its parent

// The text order of a sorted window: an object without text before one with
// text, else the texts byte by byte (unsigned, case counts).
int32_t UI_TextOrder(const UI_NODE* existing, const UI_NODE* added);

class UI_WINDOW : public UI_WIDGET, public UI_NODE_LIST {
public:
    // object, when given, gets flags 0x20 and is added.
    UI_WINDOW(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t objectFlags = 0,
              uint16_t objectWindowFlags = 0, int32_t windowHelpTopic = 0, UI_WIDGET* object = nullptr);
    // Deletes every support and client object still held.
    ~UI_WINDOW() override;

    // Requests of the window (objectID 0 means 1007): 0, 1, 2 (itself, then
    // its support and client objects), 3 to 5 on listFlags, 6, 11, 12, 15
    // (the title), 133, 134, 135 (single selection), 136, 141; others go to
    // the widget.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1007 and answers the code it took, a child's answer, or
    // UI_CODE_NOT_HANDLED.
    int32_t Event(UI_MESSAGE* event) override;
    // Paints the border and the client area's background inside event's
    // rectangle. Answers 0.
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;
    // The room of a child: the client area's topmost rectangle (the lowest
    // for an object that takes its room from the bottom), with a client
    // object placed at its given offset inside it. The window itself, when
    // top level or modal, keeps its given rectangle.
    void ChildRoom(UI_WIDGET* object) override;
    // Sends every client object UI_CODE_REMOVED off the screen, then deletes
    // them.
    void DeleteAll() override;

    // Adds object to the support list (flags 0x20) or the client list, or
    // makes a child it already holds current. An object added to a window on
    // the screen is initialised and laid out. Answers object (null for null).
    virtual UI_WIDGET* Add(UI_WIDGET* object);
    // Takes object out of its list without deleting it and clears every
    // pointer of the window that named it. Answers the object that followed
    // it (null for null).
    virtual UI_WIDGET* Remove(UI_WIDGET* object);
    // Lets the user move (UI_CODE_MOVE) or size (UI_CODE_SIZE) the window with
    // the mouse or the arrow keys until a release, Enter or Esc; Esc leaves
    // it where it was.
    void DragFrame(UI_MESSAGE* event);

    UI_WIDGET* First() const { return static_cast<UI_WIDGET*>(head); }
    UI_WIDGET* Last() const { return static_cast<UI_WIDGET*>(tail); }
    UI_WIDGET* Current() const { return static_cast<UI_WIDGET*>(current); }
    // True for a window on the desktop (no parent, or the desktop).
    bool IsTopLevel() const;

    uint16_t listFlags = 0;
    UI_NODE_LIST supportList;
    UI_WIDGET* defaultButton = nullptr;
    UI_WIDGET* icon = nullptr;               // stands for the window while minimized
    UI_RECT restoreRegion{0, 0, 0, 0};       // givenRect before minimizing or maximizing
    UI_WIDGET* mouseHolder = nullptr;        // the support object of the last press
    UI_CLIP_LIST clipList;
    UI_WIDGET* verticalScroll = nullptr;
    UI_WIDGET* horizontalScroll = nullptr;
    uint8_t* ownedArray = nullptr;   // new[] by a derived window, released here

protected:
    // Redraws the screen after the window changed its rectangle from old.
    // A child window's parent redraws both rectangles together, except after
    // a drag (dragged) that left the old one apart from the new: then only
    // the old one (the child's clip when the parent holds windows).
    void RepaintAfterChange(const UI_RECT& old, bool dragged);
    // Lays out the support objects: each one that fills the window becomes
    // the client area, each one that takes its room is cut out of it.
    void LayOutSupport(UI_MESSAGE* event);

private:
    int32_t ChildVariant(UI_MESSAGE* event, int32_t code);
    int32_t CloseChild(int32_t code);
    int32_t DrawMessage(UI_MESSAGE* event, int32_t code);
    int32_t LayOutWindow(UI_MESSAGE* event, int32_t code);
    int32_t ClaimRegion(int32_t code);
    int32_t InitialiseChildren(UI_MESSAGE* event, int32_t code);
    int32_t MenuKey(int32_t code);
    int32_t ChangeSize(UI_MESSAGE* event, int32_t code);
    int32_t MoveOrSize(UI_MESSAGE* event, int32_t code);
    int32_t Scroll(UI_MESSAGE* event, int32_t code);
    int32_t Help(UI_MESSAGE* event, int32_t code);
    int32_t MoveFocus(UI_MESSAGE* event, int32_t code);
    int32_t FocusEnd(UI_MESSAGE* event, int32_t code);
    int32_t HotKeyEvent(UI_MESSAGE* event);
    int32_t MouseEvent(UI_MESSAGE* event, int32_t code);
    int32_t ToCurrent(UI_MESSAGE* event);
    bool AddressedElsewhere(const UI_MESSAGE* event) const;
    void MakeCurrentDirectly(UI_WIDGET* object);
};

class UI_DESKTOP;
using UI_EXIT_FUNCTION = int32_t (*)(UI_SCREEN* display, UI_INPUT_MANAGER* inputManager, UI_DESKTOP* desktop);

class UI_DESKTOP : public UI_WINDOW {
public:
    // Covers the display, is screen number 1 and publishes display,
    // manager and itself as the framework's statics.
    UI_DESKTOP(UI_SCREEN* display, UI_INPUT_MANAGER* manager, UI_EXIT_FUNCTION exit = nullptr);
    // Deletes every window still held (each after UI_CODE_REMOVED) except
    // those kept (windowFlags 0x10), frees the paste buffer and clears the
    // statics.
    ~UI_DESKTOP() override;

    // Requests 1 and 2 ask each window's own identifiers only; request 0
    // sets the class chain; every other request answers null.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 2002. Answers UI_CODE_QUIT to end the program,
    // UI_CODE_NO_WINDOW when no window is left, the code it took, or the
    // answer of the window it gave the message to.
    int32_t Event(UI_MESSAGE* event) override;
    // Shows window, or brings it to the front. Answers window (null for null).
    UI_WIDGET* Add(UI_WIDGET* window) override;
    // Takes window off the screen without deleting it and repaints what it
    // covered. Answers the window that was behind it; a window not on the
    // desktop comes back unchanged, null gives null.
    UI_WIDGET* Remove(UI_WIDGET* window) override;

    // Fills rectangle (pixels) with the desktop's background, only where the
    // desktop owns the screen.
    void FillBackground(const UI_RECT& rectangle);

    UI_EXIT_FUNCTION exitFunction;

    // The last screen number handed out; 1 is the desktop's own.
    static int32_t nextScreenNumber;

private:
    void CloseWindow(UI_WIDGET* window);
    void CloseModalWindows(bool popUpsOnly);
    int32_t ExitQuestion(int32_t code);
    int32_t RoutePointer(UI_MESSAGE* event, int32_t code);
    void Cascade();
    void RedrawAll();
    void NewDisplay(UI_MESSAGE* event);
    int32_t CloseFront(UI_MESSAGE* event, int32_t code);
    void NextWindow();
};
