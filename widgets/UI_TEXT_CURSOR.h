// UI_TEXT_CURSOR.h: UI_TEXT_CURSOR, the input device that shows the blinking
// text cursor of the editable fields in the display's cursor overlay. The
// fields move it and switch it on, off and between its two shapes by
// sending it codes through the input manager; it puts no events.
#pragma once

#include <cstdint>

#include "widgets/UI_INPUT_MANAGER.h"

constexpr int32_t UI_CURSOR_BLINKED_OUT = 0x502;   // device state: on, but hidden by the blink
constexpr int32_t UI_CURSOR_INSERT = 0x510;         // image codes: a bar two pixels wide
constexpr int32_t UI_CURSOR_OVERWRITE = 0x511;      // one pixel wide
constexpr int32_t UI_CURSOR_BLINK_INTERVAL = 40;    // hundredths of the time of day

class UI_TEXT_CURSOR : public UI_INPUT_DEVICE {
public:
    // A device of type UI_CURSOR_DEVICE in state (UI_DEVICE_OFF,
    // UI_DEVICE_ON), with image UI_CURSOR_INSERT or UI_CURSOR_OVERWRITE;
    // ready at once.
    explicit UI_TEXT_CURSOR(int32_t state = UI_DEVICE_OFF, int32_t cursorImage = UI_CURSOR_INSERT);
    ~UI_TEXT_CURSOR() override = default;

    // UI_CODE_CURSOR_POSITION moves the cursor (a blinked-out one shows
    // again), UI_CODE_REMOVED blinks it out, UI_CODE_INITIALIZE draws it
    // again, UI_DEVICE_OFF and UI_DEVICE_ON set the state, the two image
    // codes set the shape and show it. The display is told only when image,
    // state or place changed. Answers the message type.
    int32_t Event(UI_MESSAGE* event) override;
    // Blinks a cursor that is on: after more than UI_CURSOR_BLINK_INTERVAL
    // hundredths it goes out of view or comes back. A shape the display
    // could not place is placed again at the next poll.
    void Poll() override;

    int32_t image;
    int32_t x = 0;        // screen pixels
    int32_t y = 0;
    int32_t offsetX = 0;  // added when the blink brings the cursor back
    int32_t offsetY = 0;

    // When the cursor last blinked (set by the first poll), and whether the
    // display placed the last shape it was given.
    static int32_t lastBlink;
    static bool lastBlinkSet;
    static int32_t drawn;

private:
    void Show();
};
