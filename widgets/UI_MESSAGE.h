// UI_MESSAGE.h: UI_MESSAGE, the one record in which every key press, mouse
// event and framework message travels, and the numbers it carries: event types,
// framework codes, device types and states, and the flags of the input queue.
// The queue and the devices that fill it live in UI_INPUT_MANAGER.h.
#pragma once

#include <cstdint>

// Event types of the devices (word 0 of their events, and their device types).
constexpr int32_t UI_KEY_EVENT = 10;        // keyboard
constexpr int32_t UI_MOUSE_EVENT = 30;      // mouse
constexpr int32_t UI_CURSOR_DEVICE = 50;    // text cursor (produces no events)
constexpr int32_t UI_ALL_DEVICES = 99;      // UI_INPUT_MANAGER::Event: every device

// Framework codes. The numbers are the interface between all window classes.
constexpr int32_t UI_CODE_QUIT = 1000;              // end the program and every loop
constexpr int32_t UI_CODE_EXIT_REQUEST = 1011;      // the desktop asks, then answers 1000
constexpr int32_t UI_CODE_NOT_HANDLED = -2;         // an Event did not use the message; Get: nothing
constexpr int32_t UI_CODE_NO_WINDOW = -3;           // the desktop holds no window
constexpr int32_t UI_CODE_MENU_KEY = -6;            // Alt pressed and released alone
constexpr int32_t UI_CODE_INITIALIZE = -9;          // to a device when added or the display changes
constexpr int32_t UI_CODE_LAYOUT = -10;             // recompute the children's positions
constexpr int32_t UI_CODE_CLOSE = -11;              // close the front window
constexpr int32_t UI_CODE_DEACTIVATE = -13;         // leaving the screen
constexpr int32_t UI_CODE_REDISPLAY = -17;          // draw the object again
constexpr int32_t UI_CODE_CLOSE_TEMPORARY = -18;    // close the modal window at the front
constexpr int32_t UI_CODE_REMOVED = -20;            // removed, or the display detached
constexpr int32_t UI_CODE_CLAIM_REGION = -21;       // rect: the screen rectangle to repaint
constexpr int32_t UI_CODE_CASCADE = -24;            // the desktop's windows in a cascade
constexpr int32_t UI_CODE_CURSOR_POSITION = -100;   // to a device: move to point
constexpr int32_t UI_CODE_CHANGED = -200;           // a new text
constexpr int32_t UI_CODE_DRAW_NORMAL = -202;
constexpr int32_t UI_CODE_DRAW_INACTIVE = -203;
constexpr int32_t UI_CODE_DRAW_CURRENT = -204;
constexpr int32_t UI_CODE_SCROLL_VERTICAL = -300;   // from a scroll bar; data[4]: the amount
constexpr int32_t UI_CODE_SCROLL_HORIZONTAL = -301;
constexpr int32_t UI_CODE_SET_SCROLL = -302;        // to a scroll bar: data[0..4] current, minimum,
constexpr int32_t UI_CODE_SET_SCROLL_HORIZONTAL = -303;   // maximum, page and line values
constexpr int32_t UI_CODE_SHOW_CURRENT_VERTICAL = -304;   // scroll the current child into view
constexpr int32_t UI_CODE_SHOW_CURRENT_HORIZONTAL = -305;
constexpr int32_t UI_CODE_SCREEN_CHANGED = -402;    // pointer: the new display, null: detach
constexpr int32_t UI_CODE_REMOVE_OBJECT = -401;     // to a parent: take the object in pointer out
constexpr int32_t UI_CODE_ADD_OBJECT = -400;        // to a parent: add, or make current, the object in pointer
constexpr int32_t UI_CODE_RESTORE = -25;            // a window command: back to its normal size
constexpr int32_t UI_CODE_MAXIMIZE = -5;
constexpr int32_t UI_CODE_MINIMIZE = -4;
// The same commands for the current child window of a window that holds
// windows.
constexpr int32_t UI_CODE_CHILD_MINIMIZE = -504;
constexpr int32_t UI_CODE_CHILD_MAXIMIZE = -505;
constexpr int32_t UI_CODE_CHILD_CLOSE = -511;
constexpr int32_t UI_CODE_CHILD_RESTORE = -525;

// Logical codes of input, from the event tables.
constexpr int32_t UI_CODE_POINTER_MOVE = 1001;
constexpr int32_t UI_CODE_SELECT = 1002;            // Enter, a hot key, a click
constexpr int32_t UI_CODE_PRESS = 1003;             // left button pressed
constexpr int32_t UI_CODE_DRAG = 1004;              // moved with the left button held
constexpr int32_t UI_CODE_RELEASE = 1005;           // left button released
constexpr int32_t UI_CODE_RIGHT_PRESS = 1006;
constexpr int32_t UI_CODE_HELP = 1009;
constexpr int32_t UI_CODE_CANCEL = 1010;            // Esc
constexpr int32_t UI_CODE_DOUBLE_CLICK = 1012;
constexpr int32_t UI_CODE_MOVE = 1013;              // move a window (Alt-F7, a title bar press)
constexpr int32_t UI_CODE_SIZE = 1014;              // size a window (Alt-F8)
constexpr int32_t UI_CODE_NEXT_WINDOW = 1040;       // the backmost window to the front
constexpr int32_t UI_CODE_UP = 1050;
constexpr int32_t UI_CODE_DOWN = 1051;
constexpr int32_t UI_CODE_LEFT = 1052;
constexpr int32_t UI_CODE_RIGHT = 1053;
constexpr int32_t UI_CODE_PREVIOUS_FIELD = 1054;    // Shift-Tab
constexpr int32_t UI_CODE_NEXT_FIELD = 1055;        // Tab
constexpr int32_t UI_CODE_FIRST_FIELD = 1056;       // grey Home
constexpr int32_t UI_CODE_LAST_FIELD = 1057;        // grey End
constexpr int32_t UI_CODE_PAGE_UP = 1058;
constexpr int32_t UI_CODE_PAGE_DOWN = 1059;
constexpr int32_t UI_CODE_CHILD_MOVE = 1513;
constexpr int32_t UI_CODE_CHILD_SIZE = 1514;
constexpr int32_t UI_CODE_NEXT_CHILD_WINDOW = 1540;
constexpr int32_t UI_FIRST_PROGRAM_EVENT = 10000;   // types from here on belong to the program's windows

// Pointer images of the mouse device.
constexpr int32_t UI_POINTER_NORMAL = 0x510;

// Device states, also the codes that set them.
constexpr int32_t UI_DEVICE_OFF = 0x500;
constexpr int32_t UI_DEVICE_ON = 0x501;

// Flags of UI_INPUT_MANAGER::Get, combinable.
constexpr int32_t UI_GET_NO_WAIT = 1;     // answer UI_CODE_NOT_HANDLED when the queue is empty
constexpr int32_t UI_GET_FROM_TAIL = 2;   // take the newest event
constexpr int32_t UI_GET_PEEK = 4;        // copy the event, leave it queued
constexpr int32_t UI_GET_NO_POLL = 8;     // do not poll the devices first
// Flag of UI_INPUT_MANAGER::Put: append at the tail. Without it the event goes
// to the head and is taken next.
constexpr int32_t UI_PUT_AT_TAIL = 2;

// Framework shift bits of key and mouse events (keyData.shifts), combined by OR.
constexpr int32_t UI_SHIFT_ALT = 8;
constexpr int32_t UI_SHIFT_CTRL = 4;
constexpr int32_t UI_SHIFT_SHIFT = 3;

class UI_SCREEN;

// Words 3 and 4 read as a point, in pixels.
struct UI_POINT {
    int32_t column;
    int32_t line;
};

// Words 3 to 6 read as a rectangle, in pixels, both ends inclusive.
struct UI_RECT {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Words 3 and 4 of a key event.
struct UI_KEY_DATA {
    int32_t shifts;     // framework shift bits
    int32_t keyValue;   // the raw library value: key number times 256 plus the
                        // character, which is the character the key types
};

// The event record: type, code, qualifier and five data words read according
// to the type. A default record is all zeros. Put and Get copy it whole.
// Word 3 read as a pointer (the display of UI_CODE_SCREEN_CHANGED, a window to
// close) is the member `pointer`, pointer-wide and apart from the words; it is
// never saved.
struct UI_MESSAGE {
    int32_t type = 0;
    int32_t code = 0;        // key code, mouse button and shift bits, or a sub-code
    int32_t qualifier = 0;   // 0 from the devices; the event table's third key
    union {
        int32_t data[5] = {0, 0, 0, 0, 0};   // words 3 to 7 as they are copied
        UI_POINT point;
        UI_RECT rect;
        UI_KEY_DATA keyData;
    };
    void* pointer = nullptr;

    UI_MESSAGE() = default;
    // A framework message: type set, every other word and the pointer clear.
    explicit UI_MESSAGE(int32_t messageType) : type(messageType) {}
};
