// UI_LIST_BOX.h: UI_LIST_BOX, a window whose client objects are the items of
// one column: it stacks them, moves the current item with the arrow, page,
// Home and End keys, reports a double click on an item to the item's user
// function, and, as a drop-down list (modal), closes when an item is chosen.
#pragma once

#include <cstdint>

#include "widgets/UI_WINDOW.h"

class UI_LIST_BOX : public UI_WINDOW {
public:
    // The window's constructor with no help topic and no support object;
    // listBoxFlags are added to listFlags, and a non-null orderFunction
    // sorts the items.
    UI_LIST_BOX(int32_t left, int32_t top, int32_t width, int32_t height, UI_NODE_ORDER orderFunction = nullptr,
                uint16_t listBoxFlags = 0, uint16_t objectFlags = 0, uint16_t objectWindowFlags = 0);
    ~UI_LIST_BOX() override = default;

    // Requests (objectID 0 means 1010): 0 and 6 as the window's plus the list
    // box's own settings; 11, 12, 263 and 264 go to the current item (null
    // without one); others go to the window.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 1010; see the .cpp for the codes it takes itself.
    int32_t Event(UI_MESSAGE* event) override;
    // Deletes every item without telling it it was removed.
    void DeleteAll() override;

    // When any list box last saw a release, in hundredths of the time of
    // day; set by the first message any list box receives.
    static int32_t lastRelease;
    static bool lastReleaseSet;

private:
    void SetListBoxFlags(uint16_t objectID);
    void Stack(UI_MESSAGE* event);
    UI_RECT Visible() const;
    int32_t Step(const UI_MESSAGE* event, int32_t code);
    int32_t Page(int32_t code);
    int32_t DoubleClick(UI_MESSAGE* event, int32_t windowAnswer);
    void ReportNewCurrent(UI_MESSAGE* event, int32_t code);
};
