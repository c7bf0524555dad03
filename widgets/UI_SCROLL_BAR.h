// UI_SCROLL_BAR.h: UI_SCROLL_BAR, the vertical or horizontal bar that keeps a
// position within a range for its window (or a corner piece where two bars
// meet), and UI_SCROLL_BUTTON, its three parts: two arrows and the thumb
// between them. The window that owns a bar sets its values with
// UI_CODE_SET_SCROLL and learns of changes through UI_CODE_SCROLL_VERTICAL or
// UI_CODE_SCROLL_HORIZONTAL with the amount in data[4].
#pragma once

#include <cstdint>

#include "widgets/UI_BUTTON.h"
#include "widgets/UI_WINDOW.h"

// barKind
constexpr uint16_t UI_SCROLL_CORNER = 0x1;
constexpr uint16_t UI_SCROLL_VERTICAL = 0x2;
constexpr uint16_t UI_SCROLL_HORIZONTAL = 0x4;
// direction of a part button
constexpr uint16_t UI_SCROLL_UP = 0x01;
constexpr uint16_t UI_SCROLL_THUMB_VERTICAL = 0x02;
constexpr uint16_t UI_SCROLL_DOWN = 0x04;
constexpr uint16_t UI_SCROLL_LEFT = 0x10;
constexpr uint16_t UI_SCROLL_THUMB_HORIZONTAL = 0x20;
constexpr uint16_t UI_SCROLL_RIGHT = 0x40;

class UI_SCROLL_BUTTON : public UI_BUTTON {
public:
    // A part of a bar: an arrow (a support object that takes its room) or
    // the thumb, with a one-pixel edge and no text.
    explicit UI_SCROLL_BUTTON(uint16_t partDirection);
    // The arrow pictures are shared: nothing of them is freed.
    ~UI_SCROLL_BUTTON() override;

    // Maps for class 1005: sizes an arrow at its end of the free part of the
    // bar, the thumb as a square at the free part's start; takes its picture
    // when initialised; the rest as a button.
    int32_t Event(UI_MESSAGE* event) override;

    bool IsThumb() const { return direction == UI_SCROLL_THUMB_VERTICAL || direction == UI_SCROLL_THUMB_HORIZONTAL; }

    uint16_t direction;
};

class UI_SCROLL_BAR : public UI_WINDOW {
public:
    // A bar of barKind over (left, top, width, height) in cells; a new bar
    // has position 0 in 0 to 1 and its part buttons.
    UI_SCROLL_BAR(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t kind,
                  uint16_t objectFlags = 0);
    ~UI_SCROLL_BAR() override = default;

    // Requests (objectID 0 means 1005): 0 initialises and builds the parts,
    // 6 builds them again for the present kind, 3 to 5 read, set and clear
    // barKind bits (for 1005), 0x80 and 0x81 are the widget's; others go to
    // the window.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1005; see the .cpp for the codes it takes.
    int32_t Event(UI_MESSAGE* event) override;

    // The track: the part of the bar between the arrows.
    UI_RECT Track() const;
    // The bar's thickness: three quarters of the display's cell height.
    static int32_t Thickness();

    uint16_t barKind;
    // The five scroll values, as the owner sends them.
    int32_t position = 0;
    int32_t minimum = 0;
    int32_t maximum = 1;
    int32_t span = 0;   // a page: the step of a press on the track
    int32_t step = 0;   // a line: the step of a press on an arrow
    UI_SCROLL_BUTTON* decrementButton = nullptr;
    UI_SCROLL_BUTTON* thumb = nullptr;
    UI_SCROLL_BUTTON* incrementButton = nullptr;

    // Hundredths of the time of day at the last firing of a held arrow.
    static int32_t lastRepeat;

private:
    void BuildParts();
    int32_t LayOutBar(UI_MESSAGE* event, int32_t code);
    int32_t Press(UI_MESSAGE* event);
    int32_t HoldArrow(UI_MESSAGE* press, int32_t amount);
    int32_t DragThumb(UI_MESSAGE* press);
    void SendScroll(int32_t amount);
    int32_t Move(int32_t amount, bool set, int32_t code);
    void PlaceThumb();
};
