// UI_TEXT_CURSOR.cpp: the text cursor device: its shapes, the codes that move
// and switch it, and the blink.
#include "widgets/UI_TEXT_CURSOR.h"

#include <cstdlib>

#include "widgets/TimeOfDay.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WIDGET.h"

int32_t UI_TEXT_CURSOR::lastBlink = 0;
bool UI_TEXT_CURSOR::lastBlinkSet = false;
int32_t UI_TEXT_CURSOR::drawn = 1;

namespace {

constexpr int32_t SHAPE_HEIGHT = 14;   // as stored; the overlay takes the font's height

// Solid bars: every byte colour 1.
constexpr uint8_t INSERT_SHAPE[2 * SHAPE_HEIGHT] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr uint8_t OVERWRITE_SHAPE[SHAPE_HEIGHT] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

int32_t ShapeWidth(int32_t image)
{
    return image == UI_CURSOR_OVERWRITE ? 1 : 2;
}

const uint8_t* ShapeOf(int32_t image)
{
    return image == UI_CURSOR_OVERWRITE ? OVERWRITE_SHAPE : INSERT_SHAPE;
}

} // namespace

UI_TEXT_CURSOR::UI_TEXT_CURSOR(int32_t state, int32_t cursorImage)
    : UI_INPUT_DEVICE(UI_CURSOR_DEVICE, state), image(cursorImage)
{
    ready = 1;
}

// The shape at (x, y), the height of the object font's text plus one.
void UI_TEXT_CURSOR::Show()
{
    offsetX = 0;
    offsetY = 0;
    if (display == nullptr)
        return;
    const int32_t height = display->StringHeight(nullptr, 0, UI_FONT_OBJECT) + 1;
    drawn = display->SetOverlay(UI_OVERLAY_CURSOR, x, y, ShapeWidth(image), height, ShapeOf(image));
}

int32_t UI_TEXT_CURSOR::Event(UI_MESSAGE* event)
{
    if (event == nullptr)
        return UI_CODE_NOT_HANDLED;
    const int32_t oldImage = image;
    const int32_t oldState = deviceState;
    const int32_t oldX = x;
    const int32_t oldY = y;
    bool again = false;
    switch (event->type) {
    case UI_CODE_CURSOR_POSITION:
        x = event->point.column;
        y = event->point.line;
        if (deviceState == UI_CURSOR_BLINKED_OUT)
            deviceState = UI_DEVICE_ON;
        break;
    case UI_CODE_REMOVED:
        deviceState = UI_CURSOR_BLINKED_OUT;
        break;
    case UI_CODE_INITIALIZE:
        again = true;
        break;
    case UI_DEVICE_OFF:
    case UI_DEVICE_ON:
        deviceState = event->type;
        break;
    case UI_CURSOR_INSERT:
    case UI_CURSOR_OVERWRITE:
        image = event->type;
        deviceState = UI_DEVICE_ON;
        break;
    default:
        break;
    }
    const bool unchanged = image == oldImage && deviceState == oldState && x == oldX && y == oldY;
    if (!unchanged || again) {
        if (deviceState == UI_DEVICE_ON)
            Show();
        else if (display != nullptr)
            drawn = display->MoveOverlay(UI_OVERLAY_CURSOR, display->width, display->height);
    }
    return event->type;
}

void UI_TEXT_CURSOR::Poll()
{
    if (ready == 0 || deviceState == UI_DEVICE_OFF)
        return;
    const int32_t now = TimeOfDayHundredths();
    if (!lastBlinkSet) {
        lastBlink = now;
        lastBlinkSet = true;
    }
    // The absolute difference of the two times of day: across midnight the
    // cursor blinks once early rather than standing still.
    if (std::abs(now - lastBlink) > UI_CURSOR_BLINK_INTERVAL) {
        lastBlink = now;
        if (display == nullptr)
            return;
        if (deviceState == UI_DEVICE_ON) {
            display->MoveOverlay(UI_OVERLAY_CURSOR, display->width, display->height);
            deviceState = UI_CURSOR_BLINKED_OUT;
        } else if (deviceState == UI_CURSOR_BLINKED_OUT) {
            display->MoveOverlay(UI_OVERLAY_CURSOR, x + offsetX, y + offsetY);
            deviceState = UI_DEVICE_ON;
        }
    } else if (drawn == 0) {
        UI_MESSAGE redraw(image);
        image = 0;
        Event(&redraw);
        drawn = 1;
    }
}
