// UI_LABEL.h: UI_LABEL, the static text of the windows: prompts before
// fields, lines of information and captions. It shows one line, cannot be
// chosen, sizes itself to its text unless centred or right-justified, and
// hands its hot key to the object after it, so that a prompt's letter
// chooses the field behind it.
#pragma once

#include <cstdint>

#include "widgets/UI_WIDGET.h"

constexpr uint16_t UI_ID_LABEL = 11;

class UI_LABEL : public UI_WIDGET {
public:
    // One line high at (left, top) in cells, width cells wide; the label
    // cannot be chosen. newText is copied unless objectFlags has 0x08 (then
    // the caller's text is used and never freed).
    UI_LABEL(int32_t left, int32_t top, int32_t width, const char* newText, uint16_t objectFlags = 0);
    // The same with width 0: the label is as wide as its text.
    UI_LABEL(int32_t left, int32_t top, const char* newText, uint16_t objectFlags = 0);
    // Frees the text unless it is the caller's.
    ~UI_LABEL() override;

    // Requests (objectID 0 means 11): 0, 6, 11, 12, 15 (15 copies without a
    // length limit); others go to the widget with objectID 11.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 11: -200 and -10 size it to its text, -9 passes its hot
    // key to the next object; everything goes through the widget's Event.
    int32_t Event(UI_MESSAGE* event) override;
    // Border, the region in the label's colours over its parent's background,
    // and the text justified by flags 0x1 and 0x2. Answers code.
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    // Replaces the text (the same pointer is neither freed nor copied), takes
    // the hot key from it ('~' becomes '&' in the held text) and, on the
    // screen, erases, re-measures and redraws the label.
    void SetText(const char* newText);
    char* GetText() const { return text; }

    char* text = nullptr;

private:
    void InitialiseLabel();
    void RelayOutIfShown(uint16_t objectID);
};
