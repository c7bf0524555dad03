// UI_WIDGET.h: UI_WIDGET, the base of every window object: its rectangles,
// flags and status, the identifiers by which it is found, the class chain
// that chooses its rows of the event and colour tables, the requests every
// object answers (Query), the base event handler and the drawing routines
// all controls share, and the default hot-key table. The default event and
// colour tables live in EventColourTables.h, the text utilities in
// core/TextUtil.h.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "widgets/EventColourTables.h"
#include "widgets/UI_MESSAGE.h"
#include "widgets/UI_NODE.h"

class UI_SCREEN;
class UI_INPUT_MANAGER;
class UI_DESKTOP;
class UI_WIDGET;

// The user function of an object: called with the object, a copy of the
// event and the logical code; its answer becomes the object's answer.
using UI_CALLBACK = int32_t (*)(UI_WIDGET* object, UI_MESSAGE* event, int32_t code);

// Class identifiers: the first entry of an object's class chain.
constexpr uint16_t UI_ID_BORDER = 1;
constexpr uint16_t UI_ID_BUTTON = 2;
constexpr uint16_t UI_ID_MAXIMIZE_BUTTON = 7;
constexpr uint16_t UI_ID_MINIMIZE_BUTTON = 8;
constexpr uint16_t UI_ID_TITLE_BAR = 17;
constexpr uint16_t UI_ID_WIDGET = 18;
constexpr uint16_t UI_ID_LIST = 1001;
constexpr uint16_t UI_ID_WINDOW = 1007;
constexpr uint16_t UI_ID_LIST_BOX = 1010;
constexpr uint16_t UI_ID_DESKTOP = 2002;
constexpr uint16_t UI_ID_MENU = 2105;

// Colour identifiers of the parts every object draws.
constexpr uint16_t UI_COLOUR_BORDER = 0x834;
constexpr uint16_t UI_COLOUR_LIGHT_EDGE = 0x835;
constexpr uint16_t UI_COLOUR_SHADOW_EDGE = 0x836;
constexpr uint16_t UI_COLOUR_DARK_EDGE = 0x837;
constexpr uint16_t UI_COLOUR_ALTERNATE = 0x83B;   // the object's own colours, state bit 0x20 added

// flags
constexpr uint16_t UI_FLAG_CENTRED = 0x1;
constexpr uint16_t UI_FLAG_RIGHT = 0x2;
constexpr uint16_t UI_FLAG_BORDER = 0x4;
constexpr uint16_t UI_FLAG_TEXT_NOT_COPIED = 0x8;
constexpr uint16_t UI_FLAG_SUPPORT = 0x20;
constexpr uint16_t UI_FLAG_FRACTIONAL = 0x40;
constexpr uint16_t UI_FLAG_CLEAR_ON_START = 0x80;   // copied to status 0x10
constexpr uint16_t UI_FLAG_INVALID_ON_START = 0x100;   // copied to status 0x20
constexpr uint16_t UI_FLAG_NOT_SELECTABLE = 0x400;
// windowFlags
constexpr uint16_t UI_WINDOW_NEVER_CURRENT = 0x2;
constexpr uint16_t UI_WINDOW_MODAL = 0x4;
constexpr uint16_t UI_WINDOW_KEPT = 0x10;
constexpr uint16_t UI_WINDOW_IN_WINDOW = 0x4000;
// status
constexpr uint16_t UI_STATUS_IN_PIXELS = 0x1;
constexpr uint16_t UI_STATUS_CURRENT = 0x2;
constexpr uint16_t UI_STATUS_SELECTED = 0x8;
constexpr uint16_t UI_STATUS_CLEAR = 0x10;
constexpr uint16_t UI_STATUS_INVALID = 0x20;
constexpr uint16_t UI_STATUS_MAXIMIZED = 0x40;
constexpr uint16_t UI_STATUS_MINIMIZED = 0x80;
constexpr uint16_t UI_STATUS_REDRAW = 0x100;
constexpr uint16_t UI_STATUS_ON_SCREEN = 0x100;   // after request 6: screenNumber non-zero
constexpr uint16_t UI_STATUS_DRAWS_ITSELF = 0x1000;
constexpr uint16_t UI_STATUS_NO_CALLBACK = 0x2000;
constexpr uint16_t UI_STATUS_IN_CALLBACK = 0x4000;

constexpr int32_t UI_SEARCH_NAME_SIZE = 32;
constexpr int32_t UI_CLASS_CHAIN_SIZE = 6;
constexpr int32_t UI_FONT_OBJECT = 1;
constexpr int32_t UI_FONT_WINDOW = 2;

// Requests of Query that every object answers.
constexpr int32_t UI_QUERY_INITIALISE = 0;
constexpr int32_t UI_QUERY_FIND_NUMBER = 1;
constexpr int32_t UI_QUERY_FIND_NAME = 2;
constexpr int32_t UI_QUERY_GET_FLAGS = 3;
constexpr int32_t UI_QUERY_SET_FLAGS = 4;
constexpr int32_t UI_QUERY_CLEAR_FLAGS = 5;
constexpr int32_t UI_QUERY_FLAGS_CHANGED = 6;
constexpr int32_t UI_QUERY_GET_STATUS = 7;
constexpr int32_t UI_QUERY_SET_STATUS = 8;
constexpr int32_t UI_QUERY_CLEAR_STATUS = 9;
constexpr int32_t UI_QUERY_REDISPLAY = 10;
constexpr int32_t UI_QUERY_GET_TEXT = 11;
constexpr int32_t UI_QUERY_SET_TEXT = 12;
constexpr int32_t UI_QUERY_COPY_TEXT = 15;
constexpr int32_t UI_QUERY_SINGLE_SELECTION = 135;   // to a parent after a choosing

class UI_WIDGET : public UI_NODE {
public:
    // Rectangle in cells (or tenths of a cell with flags 0x40): right is
    // left + width - 1 when left >= 0 and width > 0, otherwise the width
    // value itself is the right edge (so -1 counts from the screen's right);
    // the same for top and height.
    UI_WIDGET(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t objectFlags = 0,
              uint16_t objectWindowFlags = 0);
    // Releases the two owned blocks. Does not unlink the object: its owner
    // removes it first.
    ~UI_WIDGET() override;

    // The requests every object answers (objectID 0 means 18); see the .cpp.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // The base event handler: mapped for class 18; answers UI_CODE_NOT_HANDLED
    // for what it does not use.
    virtual int32_t Event(UI_MESSAGE* event);
    // 0: the value is valid.
    virtual int32_t Validate(int32_t processed);
    // Draws nothing; answers 0.
    virtual int32_t Draw(UI_MESSAGE* event, int32_t code);
    // Gives object the room it may take: here this object's givenRect.
    virtual void ChildRoom(UI_WIDGET* object);

    // The logical code of event for the class chain from objectID on (0: the
    // object's own class). An event whose type is above 99 comes back as its
    // type; one without a record too.
    int32_t MapEvent(const UI_MESSAGE* event, uint16_t objectID = 0) const;
    // The colour entry for code in the object's state, for colourID (0: the
    // object's own class; UI_COLOUR_ALTERNATE: the own class in state + 0x20).
    const UI_COLOUR_ENTRY* ChooseColours(int32_t code, uint16_t colourID = 0) const;
    // Converts rectangle from cells to pixels with the display's metrics;
    // absolute leaves out the space above and below a cell row. Once the
    // object is in pixels it only resolves edges counted from the screen's
    // right or bottom.
    void CellsToPixels(UI_RECT* rectangle, int32_t absolute);
    // Runs the user function for code (or Validate without one); a call from
    // inside a call answers 0 and does nothing.
    int32_t RunCallback(UI_MESSAGE* event, int32_t code);

    // Each stores a non-zero argument and answers the field.
    uint16_t Number(uint16_t newNumber);
    int32_t HotKey(int32_t key);
    // Turns every '~' of text into '&' (text is changed), then takes the
    // character after the first single '&' ("&&" is one ampersand), in lower
    // case, as the hot key; 0 when there is none. Answers the hot key.
    int32_t HotKeyFromText(char* text);

    // Writes text in area, justified by flags (centred, right) unless it does
    // not fit; area's left and top become where it went. Null colours: the
    // object's. Answers code.
    int32_t DrawText(int32_t screenID, UI_RECT* area, const char* text, const UI_COLOUR_ENTRY* entry,
                     int32_t fill, int32_t code);
    // A raised (depth > 0) or sunken (depth < 0) edge |depth| pixels deep;
    // area shrinks by that. Answers code.
    int32_t DrawShadow(int32_t screenID, UI_RECT* area, int32_t depth, int32_t fill, int32_t code);
    // A one-pixel outline; area shrinks by one. Answers code.
    int32_t DrawBorder(int32_t screenID, UI_RECT* area, int32_t fill, int32_t code);

    // True when chain (the first five class ids) holds id.
    bool HasClass(uint16_t id) const;
    // The window at the top of the parent chain (the object itself when it
    // has no parent); the desktop is never the answer.
    UI_WIDGET* TopLevel();

    const UI_EVENT_RECORD* eventTable = nullptr;
    const UI_EVENT_RECORD* hotKeyTable = nullptr;
    const UI_COLOUR_RECORD* colourTable = nullptr;
    int32_t screenNumber = 0;
    uint16_t flags;
    uint16_t windowFlags;
    uint16_t status = 0;
    UI_RECT screenRect{0, 0, 0, 0};   // pixels, inclusive
    UI_RECT givenRect{0, 0, 0, 0};    // as given: cells until status has 0x1
    UI_WIDGET* parent = nullptr;
    int32_t helpTopic = 0;
    uint16_t spareWord1 = 0;          // for derived classes
    uint16_t spareWord2 = 0;
    UI_WIDGET* previousCurrent = nullptr;   // a window's child bookkeeping
    UI_CALLBACK callback = nullptr;
    uint16_t classId = UI_ID_WIDGET;
    uint16_t number = 0;
    char searchName[UI_SEARCH_NAME_SIZE] = {};
    uint16_t classChain[UI_CLASS_CHAIN_SIZE] = {};
    int32_t hotKey = 0;
    int32_t font = UI_FONT_OBJECT;
    const UI_COLOUR_ENTRY* colours = nullptr;
    char* ownedBlocks[2] = {nullptr, nullptr};   // new[] blocks released by the destructor
    UI_RECT clipRect{0, 0, 0, 0};

    static UI_SCREEN* screen;
    static UI_INPUT_MANAGER* inputManager;
    static UI_DESKTOP* desktop;
    static uint16_t defaultStatus;

protected:
    // Writes the class ids of a derived class over the front of the chain.
    void SetClassChain(std::initializer_list<uint16_t> ids);

private:
    void ConvertBackToCells();
    void LayOut();
    void Initialise();
    int32_t DrawForCode(UI_MESSAGE* event, int32_t code);
    void Redisplay();
    uint32_t StateBits(int32_t code) const;
};

// The default hot-key table: 44 records of class 18 turning Alt-key codes
// into hot keys (letters and digits, and 0xFC to 0xFE for the maximize,
// minimize and system buttons).
extern const UI_EVENT_RECORD UI_DEFAULT_HOTKEY_TABLE[];
constexpr int32_t UI_DEFAULT_HOTKEY_RECORDS = 44;
constexpr int32_t UI_HOTKEY_SYSTEM = 0xFE;
constexpr int32_t UI_HOTKEY_MINIMIZE = 0xFD;
constexpr int32_t UI_HOTKEY_MAXIMIZE = 0xFC;
