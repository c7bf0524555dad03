// UI_CLIP_LIST.h: UI_CLIP_RECT, a screen rectangle tagged with the screen
// number of its owner, and UI_CLIP_LIST, a set of such rectangles that never
// overlap, from which the rectangles of covering objects are cut.
#pragma once

#include <cstdint>

#include "widgets/UI_MESSAGE.h"
#include "widgets/UI_NODE.h"

class UI_CLIP_RECT : public UI_NODE {
public:
    UI_CLIP_RECT(int32_t screen, int32_t left, int32_t top, int32_t right, int32_t bottom)
        : screenNumber(screen), region{left, top, right, bottom} {}
    UI_CLIP_RECT(int32_t screen, const UI_RECT& rectangle) : screenNumber(screen), region(rectangle) {}

    UI_CLIP_RECT* Next() const { return static_cast<UI_CLIP_RECT*>(next); }

    int32_t screenNumber;
    UI_RECT region;   // pixels, both ends inclusive
};

class UI_CLIP_LIST : public UI_NODE_LIST {
public:
    UI_CLIP_LIST() = default;

    UI_CLIP_RECT* First() const { return static_cast<UI_CLIP_RECT*>(head); }

    // Removes region from every element: an element inside it is deleted, an
    // element it overlaps is replaced, at the tail, by up to four pieces with
    // the element's screen number (full-width bands above and below, then the
    // pieces left and right of region within the remaining band). Elements
    // that only touch region's edge stay. When that leaves the list empty and
    // keepOne is non-zero, appends an element of screenNumber two rows high
    // just below region, so that the list is never empty.
    void Cut(int32_t screenNumber, const UI_RECT& region, int32_t keepOne);
};

// The common part of a and b in result; false (result unchanged) when they
// share no pixel.
bool IntersectRects(const UI_RECT& a, const UI_RECT& b, UI_RECT& result);
