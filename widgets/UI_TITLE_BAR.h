// UI_TITLE_BAR.h: UI_TITLE_BAR, the caption at the top of a framed window: a
// flat button showing the window's title that starts a move of the window
// when pressed and posts its value as a message on a double click.
#pragma once

#include <cstdint>

#include "widgets/UI_BUTTON.h"

constexpr uint16_t UI_TITLE_BAR_NUMBER = 0xFFFB;
constexpr int32_t UI_TITLE_BAR_FONT = 0x1002;

class UI_TITLE_BAR : public UI_BUTTON {
public:
    // text is copied unless objectFlags has 0x08 (then the caller's text is
    // used and never freed). The bar takes its room at the window's top.
    UI_TITLE_BAR(const char* text, uint16_t objectFlags = 0);
    ~UI_TITLE_BAR() override = default;

    // Requests (objectID 0 means 17): 0 initialises; 11 answers the text (or
    // stores its pointer at data), 15 copies it into data, 12 sets it; others
    // go to the button.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Maps for class 17: draws flat, sizes itself one text line high at the
    // window's top, starts the window's move on a press and posts its value
    // on the release of a double click.
    int32_t Event(UI_MESSAGE* event) override;

    // Replaces the title, redisplayed when the window is on the screen.
    void SetText(const char* newText);
    const char* GetText() const { return text; }

    // When any title bar last took a click, in hundredths of the time of day;
    // set by the first message any title bar receives.
    static int32_t lastClick;
    static bool lastClickSet;

private:
    int32_t DrawTitle(int32_t code);
    void Press(UI_MESSAGE* event);
    void Release();
};
