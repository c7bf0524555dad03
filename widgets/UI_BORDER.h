// UI_BORDER.h: UI_BORDER, the frame of a framed window: a support object that
// takes a band of UI_FRAME_WIDTH pixels around the window's client area,
// draws it, cuts it into size handles when the window can be sized, sets the
// pointer's shape over them and starts sizing on a press. The sizing loop
// itself is the window's (UI_WINDOW::DragFrame).
#pragma once

#include <cstdint>

#include "widgets/UI_WIDGET.h"

constexpr int32_t UI_FRAME_WIDTH = 4;   // pixels of every border, on each side
constexpr uint16_t UI_BORDER_NUMBER = 0xFFFF;

// Pointer images the border asks the mouse for.
constexpr int32_t UI_POINTER_SIZE_ACROSS = 0x514;      // left or right edge
constexpr int32_t UI_POINTER_SIZE_UP_DOWN = 0x515;     // top or bottom edge
constexpr int32_t UI_POINTER_SIZE_FALLING = 0x516;     // left-top or right-bottom corner
constexpr int32_t UI_POINTER_SIZE_RISING = 0x517;      // left-bottom or right-top corner

class UI_BORDER : public UI_WIDGET {
public:
    // A support object of no size yet (the window gives it its whole area
    // when it is laid out), never current. style is only kept.
    explicit UI_BORDER(uint16_t style = 0);
    ~UI_BORDER() override = default;

    // Request 0 sets the identifiers again; every other request goes to the
    // widget's handling for class 1.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1: draws the frame, takes the area inside the frame as
    // its own region, and over a window that can be sized turns pointer moves
    // into pointer shapes and a press into UI_CODE_SIZE for the window.
    int32_t Event(UI_MESSAGE* event) override;
    // Outlines the window's region and the border's, fills the band between
    // them and, on a window that can be sized, cuts the handles. Answers 1.
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    uint16_t borderStyle;

private:
    bool SizableParent() const;
    int32_t EdgesAt(const UI_POINT& point) const;
};

// The pointer image for a set of the frame's edge bits (0x1000 left, 0x2000
// right, 0x800 top, 0x8000 bottom): the normal pointer for none.
int32_t UI_PointerForEdges(int32_t edges);
