// UI_WINDOW.h: UI_WINDOW, the container of window objects (a widget that is
// also the list of its client objects and holds a list of support objects),
// and UI_DESKTOP, the window that holds every top-level window and publishes
// the display, the input manager and itself to all window objects. Their
// data, construction and requests stand here; the window's event handling,
// drawing and child layout are the least the buttons need (the widget's
// handler, and each child placed from its given rectangle inside the window)
// until the full window behaviour is added in this file.
#pragma once

#include <cstdint>

#include "widgets/UI_CLIP_LIST.h"
#include "widgets/UI_WIDGET.h"

// listFlags
constexpr uint16_t UI_LIST_MULTIPLE_SELECTION = 0x2;   // choosing toggles; several may be selected
constexpr uint16_t UI_LIST_LIST_BOX = 0x4;
constexpr uint16_t UI_LIST_SORTED = 0x8;

class UI_WINDOW : public UI_WIDGET, public UI_NODE_LIST {
public:
    // object, when given, gets flags 0x20 and is added.
    UI_WINDOW(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t objectFlags = 0,
              uint16_t objectWindowFlags = 0, int32_t windowHelpTopic = 0, UI_WIDGET* object = nullptr);
    // Deletes every client and support object still held.
    ~UI_WINDOW() override;

    // Requests of the window (objectID 0 means 1007): 0, 1, 2 (itself, then
    // its support and client objects), 3 to 5 on listFlags, 6, 133, 134,
    // 135 (single selection), 136, 141; others go to the widget.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // The room of a child: its given rectangle placed from the window's top
    // left corner, clipped to the window. The window itself keeps its given
    // rectangle.
    void ChildRoom(UI_WIDGET* object) override;
    // Sends every client object UI_CODE_REMOVED off the screen, then deletes
    // them.
    void DeleteAll() override;

    // Appends object to the support list (flags 0x20) or the client list and
    // makes this window its parent; when the window is on the screen the
    // object is initialised and laid out.
    void Add(UI_WIDGET* object);

    UI_WIDGET* First() const { return static_cast<UI_WIDGET*>(head); }
    UI_WIDGET* Last() const { return static_cast<UI_WIDGET*>(tail); }
    UI_WIDGET* Current() const { return static_cast<UI_WIDGET*>(current); }

    uint16_t listFlags = 0;
    UI_NODE_LIST supportList;
    UI_WIDGET* defaultButton = nullptr;
    int32_t derivedWords[8] = {};   // for derived windows
    UI_CLIP_LIST clipList;
    UI_WIDGET* verticalScroll = nullptr;
    UI_WIDGET* horizontalScroll = nullptr;
    uint8_t* ownedArray = nullptr;   // new[] by a derived window, released here
};

class UI_DESKTOP;
using UI_EXIT_FUNCTION = int32_t (*)(UI_SCREEN* display, UI_INPUT_MANAGER* inputManager, UI_DESKTOP* desktop);

class UI_DESKTOP : public UI_WINDOW {
public:
    // Covers the display, is screen number 1 and publishes display,
    // manager and itself as the framework's statics.
    UI_DESKTOP(UI_SCREEN* display, UI_INPUT_MANAGER* manager, UI_EXIT_FUNCTION exit = nullptr);
    // Deletes every window still held (each after UI_CODE_REMOVED) except
    // those kept (windowFlags 0x10), and clears the statics.
    ~UI_DESKTOP() override;

    // Requests 1 and 2 ask each window's own identifiers only; request 0
    // sets the class chain; every other request answers null.
    void* Query(int32_t request, void* data, uint16_t objectID) override;

    UI_EXIT_FUNCTION exitFunction;

    // The last screen number handed out; 1 is the desktop's own.
    static int32_t nextScreenNumber;
};
