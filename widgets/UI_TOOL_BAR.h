// UI_TOOL_BAR.h: UI_TOOL_BAR, a bordered strip inside a window that places its
// controls itself, left to right in rows of one height, and grows down by a
// row whenever the next control does not fit. The arrow keys move the focus
// between its controls, except inside a string field.
#pragma once

#include <cstdint>

#include "widgets/UI_WINDOW.h"

constexpr uint16_t UI_ID_TOOL_BAR = 1009;
constexpr uint16_t UI_ID_STRING_FIELD = 13;
constexpr uint16_t UI_LIST_NO_FLOW = 0x1;   // listFlags: the controls keep the places they were given

class UI_TOOL_BAR : public UI_WINDOW {
public:
    // The window part over (left, top, width, height) in cells;
    // listFlagBits are added to listFlags.
    UI_TOOL_BAR(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t listFlagBits = 0,
                uint16_t objectFlags = 0, uint16_t objectWindowFlags = 0);
    ~UI_TOOL_BAR() override = default;

    // Requests (objectID 0 means 1009): 0 sets the identifiers, then as 6;
    // 6 runs the window's and lays a shown bar out again; others go to the
    // window.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1009; see the .cpp.
    int32_t Event(UI_MESSAGE* event) override;

private:
    int32_t LayOutControls(UI_MESSAGE* event, int32_t code);
    int32_t AddControl(UI_MESSAGE* event, int32_t code);
};
