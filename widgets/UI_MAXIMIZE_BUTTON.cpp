// UI_MAXIMIZE_BUTTON.cpp: the maximize and minimize buttons: their settings,
// pictures, placement at the title line's end and the press loop that holds
// the mouse until the release.
#include "widgets/UI_MAXIMIZE_BUTTON.h"

#include <cstring>

#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"

namespace {

constexpr uint8_t O = 0xFF;   // transparent
constexpr uint8_t X = 1;      // drawn

// What tells the two buttons apart.
struct SizeButtonSettings {
    uint16_t classId;
    uint16_t number;
    const char* searchName;
    int32_t hotKey;
    int32_t normalValue;      // the command while the window has its normal size
    uint16_t restoreStatus;   // the window's status bit that calls for restoring
    uint8_t* normalPicture;
};

constexpr uint16_t SIZE_BUTTON_FLAGS = 0x601;
constexpr uint16_t SIZE_OBJECT_FLAGS = 0x225;
constexpr int32_t SIZE_BUTTON_DEPTH = 1;

} // namespace

uint8_t UI_MAXIMIZE_PICTURE[2 + 7 * 5] = {
    7, 5,
    O, O, O, X, O, O, O,
    O, O, X, X, X, O, O,
    O, X, X, X, X, X, O,
    X, X, X, X, X, X, X,
    O, O, O, O, O, O, O,
};

uint8_t UI_MINIMIZE_PICTURE[2 + 7 * 5] = {
    7, 5,
    O, O, O, O, O, O, O,
    X, X, X, X, X, X, X,
    O, X, X, X, X, X, O,
    O, O, X, X, X, O, O,
    O, O, O, X, O, O, O,
};

uint8_t UI_RESTORE_PICTURE[2 + 7 * 11] = {
    7, 11,
    O, O, O, O, O, O, O,
    O, O, O, X, O, O, O,
    O, O, X, X, X, O, O,
    O, X, X, X, X, X, O,
    X, X, X, X, X, X, X,
    O, O, O, O, O, O, O,
    O, O, O, O, O, O, O,
    X, X, X, X, X, X, X,
    O, X, X, X, X, X, O,
    O, O, X, X, X, O, O,
    O, O, O, X, O, O, O,
};

namespace {

const SizeButtonSettings MAXIMIZE{UI_ID_MAXIMIZE_BUTTON, 0xFFFE, "NUMID_MAXIMIZE", UI_HOTKEY_MAXIMIZE,
                                  UI_CODE_MAXIMIZE, UI_STATUS_MAXIMIZED, UI_MAXIMIZE_PICTURE};
const SizeButtonSettings MINIMIZE{UI_ID_MINIMIZE_BUTTON, 0xFFFD, "NUMID_MINIMIZE", UI_HOTKEY_MINIMIZE,
                                  UI_CODE_MINIMIZE, UI_STATUS_MINIMIZED, UI_MINIMIZE_PICTURE};

void ApplySettings(UI_BUTTON& button, const SizeButtonSettings& settings)
{
    button.classChain[0] = settings.classId;
    button.classChain[1] = UI_ID_BUTTON;
    button.classId = settings.classId;
    button.number = settings.number;
    std::strncpy(button.searchName, settings.searchName, UI_SEARCH_NAME_SIZE - 1);
    button.flags = SIZE_OBJECT_FLAGS;
    button.windowFlags |= UI_WINDOW_NEVER_CURRENT;
    button.hotKey = settings.hotKey;
    button.depth = SIZE_BUTTON_DEPTH;
}

// The form for the window's size: the restore form (selected, value
// UI_CODE_RESTORE) while its status has the settings' bit.
void ChooseForm(UI_BUTTON& button, const SizeButtonSettings& settings)
{
    const bool restore = button.parent != nullptr && (button.parent->status & settings.restoreStatus);
    if (restore)
        button.status |= UI_STATUS_SELECTED;
    else
        button.status &= ~UI_STATUS_SELECTED;
    button.value = restore ? UI_CODE_RESTORE : settings.normalValue;
    // A picture of the button's own (given through its request) gives way to
    // the shared one, which the button never frees.
    if (!(button.buttonFlags & UI_BUTTON_STATIC_BITMAP))
        delete[] button.bitmapArray;
    button.buttonFlags |= UI_BUTTON_STATIC_BITMAP;
    uint8_t* picture = restore ? UI_RESTORE_PICTURE : settings.normalPicture;
    button.bitmapWidth = picture[0];
    button.bitmapHeight = picture[1];
    button.bitmapArray = picture + 2;
}

// One pixel up and right of its given spot, a square one text line high
// measured leftwards from its right edge.
void PlaceAtLineEnd(UI_BUTTON& button)
{
    if (UI_WIDGET::screen == nullptr)
        return;
    const UI_SCREEN& display = *UI_WIDGET::screen;
    const int32_t side = display.rowHeight - display.spaceAbove - display.spaceBelow;
    UI_RECT& r = button.screenRect;
    r.top -= 1;
    r.right += 1;
    r.bottom = r.top + side;
    r.left = r.right - side;
}

void Recolour(UI_BUTTON& button)
{
    if (button.bitmapArray == nullptr || UI_WIDGET::screen == nullptr)
        return;
    const auto colour = static_cast<uint8_t>(UI_WIDGET::screen->ColourIndex(button.colours, 1));
    const int32_t count = button.bitmapWidth * button.bitmapHeight;
    for (int32_t i = 0; i < count; ++i)
        if (button.bitmapArray[i] != O)
            button.bitmapArray[i] = colour;
}

// The press: the button takes it, then holds the mouse until the release,
// giving framework events to the button and program events to the desktop.
int32_t HoldUntilRelease(UI_BUTTON& button, UI_MESSAGE* press)
{
    button.UI_BUTTON::Event(press);
    UI_INPUT_MANAGER* manager = UI_WIDGET::inputManager;
    while (manager != nullptr) {
        UI_MESSAGE next;
        if (manager->Get(&next, 0) != 0)
            break;   // nothing could bring the release
        const int32_t code = button.MapEvent(&next, button.classId);
        if (next.type < UI_FIRST_PROGRAM_EVENT)
            button.UI_BUTTON::Event(&next);
        else if (UI_WIDGET::desktop != nullptr)
            UI_WIDGET::desktop->Event(&next);
        if (code == UI_CODE_RELEASE)
            break;
    }
    return UI_CODE_RELEASE;
}

int32_t SizeButtonEvent(UI_BUTTON& button, UI_MESSAGE* event, const SizeButtonSettings& settings)
{
    const int32_t code = button.MapEvent(event, settings.classId);
    switch (code) {
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL:
        button.UI_WIDGET::Event(event);
        Recolour(button);
        return button.UI_BUTTON::Event(event);
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT: {
        ChooseForm(button, settings);
        const int32_t answer = button.UI_BUTTON::Event(event);
        button.text = nullptr;
        PlaceAtLineEnd(button);
        button.colorBitmap = nullptr;
        button.monoBitmap = nullptr;
        return answer;
    }
    case UI_CODE_PRESS:
    case UI_CODE_DRAG:
    case UI_CODE_RELEASE: {
        // A maximized window's minimize button cannot be pressed.
        const bool locked = settings.classId == UI_ID_MINIMIZE_BUTTON && button.parent != nullptr &&
                            (button.parent->status & UI_STATUS_MAXIMIZED);
        if (locked)
            return code;
        if (code == UI_CODE_PRESS)
            return HoldUntilRelease(button, event);
        return button.UI_BUTTON::Event(event);
    }
    default:
        return button.UI_BUTTON::Event(event);
    }
}

} // namespace

UI_MAXIMIZE_BUTTON::UI_MAXIMIZE_BUTTON()
    : UI_BUTTON(0, 0, 0, nullptr, SIZE_BUTTON_FLAGS, SIZE_OBJECT_FLAGS)
{
    ApplySettings(*this, MAXIMIZE);
}

UI_MAXIMIZE_BUTTON::~UI_MAXIMIZE_BUTTON()
{
    text = nullptr;
    if (buttonFlags & UI_BUTTON_STATIC_BITMAP)
        bitmapArray = nullptr;   // the shared picture
}

void* UI_MAXIMIZE_BUTTON::Query(int32_t request, void* data, uint16_t objectID)
{
    if (request != UI_QUERY_INITIALISE)
        return UI_BUTTON::Query(request, data, objectID);
    ApplySettings(*this, MAXIMIZE);
    return data;
}

int32_t UI_MAXIMIZE_BUTTON::Event(UI_MESSAGE* event)
{
    return SizeButtonEvent(*this, event, MAXIMIZE);
}

UI_MINIMIZE_BUTTON::UI_MINIMIZE_BUTTON()
    : UI_BUTTON(0, 0, 0, nullptr, SIZE_BUTTON_FLAGS, SIZE_OBJECT_FLAGS)
{
    ApplySettings(*this, MINIMIZE);
}

UI_MINIMIZE_BUTTON::~UI_MINIMIZE_BUTTON()
{
    text = nullptr;
    if (buttonFlags & UI_BUTTON_STATIC_BITMAP)
        bitmapArray = nullptr;   // the shared picture
}

void* UI_MINIMIZE_BUTTON::Query(int32_t request, void* data, uint16_t objectID)
{
    if (request != UI_QUERY_INITIALISE)
        return UI_BUTTON::Query(request, data, objectID);
    ApplySettings(*this, MINIMIZE);
    return data;
}

int32_t UI_MINIMIZE_BUTTON::Event(UI_MESSAGE* event)
{
    return SizeButtonEvent(*this, event, MINIMIZE);
}
