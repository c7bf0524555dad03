// UI_BUTTON.h: UI_BUTTON, the push button and the base of every button-like
// object: a text, a picture or both, or a check box or radio button; chosen
// by the mouse, Enter or its hot key; it can repeat while held, tell a double
// click and post its value as a message. The maximize and minimize buttons
// of a window's title line are in UI_MAXIMIZE_BUTTON.h.
#pragma once

#include <cstdint>

#include "widgets/UI_WIDGET.h"

// buttonFlags
constexpr uint16_t UI_BUTTON_NO_TOGGLE = 0x1;        // choosing leaves the selected bit alone
constexpr uint16_t UI_BUTTON_ON_PRESS = 0x2;         // acts on the press, not the release
constexpr uint16_t UI_BUTTON_REPEAT = 0x8;           // fires again and again while held
constexpr uint16_t UI_BUTTON_DOUBLE_CLICK = 0x10;    // a quick second release is a double click
constexpr uint16_t UI_BUTTON_AUTO_HEIGHT = 0x20;     // as high as picture and text, growing upwards
constexpr uint16_t UI_BUTTON_FLAT = 0x40;            // no 3-D edge
constexpr uint16_t UI_BUTTON_CHECK_BOX = 0x80;
constexpr uint16_t UI_BUTTON_RADIO = 0x100;
constexpr uint16_t UI_BUTTON_SEND_MESSAGE = 0x200;   // choosing posts an event of type value
constexpr uint16_t UI_BUTTON_STATIC_BITMAP = 0x400;  // the picture bytes are not the button's
// buttonState
constexpr uint16_t UI_BUTTON_PRESSED = 0x1;

// Hundredths of a second of the framework's time of day.
constexpr int32_t UI_REPEAT_INTERVAL = 6;       // a held button fires when more than this passed
constexpr int32_t UI_DOUBLE_CLICK_TIME = 50;    // a second release sooner than this is a double click

// Requests of the button's Query beyond the common ones.
constexpr int32_t UI_QUERY_GET_VALUE = 0x101;
constexpr int32_t UI_QUERY_SET_VALUE = 0x102;
constexpr int32_t UI_QUERY_GET_BITMAP_WIDTH = 0x103;
constexpr int32_t UI_QUERY_SET_BITMAP_WIDTH = 0x104;
constexpr int32_t UI_QUERY_GET_BITMAP_HEIGHT = 0x105;
constexpr int32_t UI_QUERY_SET_BITMAP_HEIGHT = 0x106;
constexpr int32_t UI_QUERY_GET_BITMAP = 0x107;
constexpr int32_t UI_QUERY_SET_BITMAP = 0x108;

// The largest picture read from the storage, in pixels each way; a larger
// size is taken as a damaged record.
constexpr int32_t UI_BITMAP_LIMIT = 1024;

class UI_BUTTON : public UI_WIDGET {
public:
    // One text line high at (left, top) in cells, width cells wide. text is
    // copied unless objectFlags has 0x08 (then the caller's text is used, and
    // a '~' in it becomes '&'); its marked letter is the hot key. bitmapName
    // is copied; the picture is read from the default storage.
    UI_BUTTON(int32_t left, int32_t top, int32_t width, const char* text, uint16_t buttonFlags = 0,
              uint16_t objectFlags = 0, UI_CALLBACK userFunction = nullptr, int32_t buttonValue = 0,
              const char* bitmap = nullptr);
    // Frees the text (unless flags 0x08), the bitmap name and the picture
    // (unless buttonFlags 0x400).
    ~UI_BUTTON() override;

    void* Query(int32_t request, void* data, uint16_t objectID) override;
    int32_t Event(UI_MESSAGE* event) override;
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    // Replaces the text (null keeps it) and takes the hot key again;
    // redisplays a button on the screen.
    void SetText(const char* newText);
    // flag 0: the text itself. Otherwise a copy in one buffer shared by all
    // buttons (valid until the next call) without leading and trailing blanks
    // and without hot-key markers ("&&" gives one '&').
    const char* GetTrimmedText(int32_t flag);

    // The user function of a button with buttonFlags 0x200: on choosing, or
    // a double click, puts an event of type value at the tail of the input
    // queue addressed to the button (to its window for the window commands).
    // A double-click button posts nothing on a single click. Answers code.
    static int32_t PostValue(UI_WIDGET* object, UI_MESSAGE* event, int32_t code);

    uint16_t buttonFlags;
    int32_t value;
    uint16_t buttonState = 0;
    int32_t depth = 2;                // pixels of 3-D edge
    char* text = nullptr;
    char* bitmapName = nullptr;
    int32_t bitmapWidth = 0;          // pixels
    int32_t bitmapHeight = 0;
    uint8_t* bitmapArray = nullptr;   // rows from the top, 0xFF transparent
    void* colorBitmap = nullptr;      // device images: this display makes none
    void* monoBitmap = nullptr;

    // When any button was last chosen, in hundredths of the time of day; set
    // by the first message any button receives.
    static int32_t lastChosen;
    static bool lastChosenSet;

protected:
    // Choosing by code (UI_CODE_SELECT, or the acting mouse code): the double
    // click, or the user-function call; a check box or radio button whose
    // selection changed is drawn again.
    int32_t Choose(UI_MESSAGE* event, int32_t code);
    // Frees the picture unless it is not the button's.
    void FreeBitmap();

private:
    void InitialiseButton();
    void ApplyFlagRules(uint16_t objectID);
    void ReadBitmap();
    void MoveToNeighbour(int32_t code);
    int32_t HandlePointer(UI_MESSAGE* event);
    int32_t RepeatWhileHeld(UI_MESSAGE* press);
    void RedrawEdge();
    void FitHeight();
};
