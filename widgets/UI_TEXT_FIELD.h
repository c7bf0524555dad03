// UI_TEXT_FIELD.h: UI_TEXT_FIELD, the multi-line text editor: one buffer of
// text with CR LF line ends, edited as one long string by an embedded
// UI_STRING_FIELD, and shown as a column of line objects (string fields in
// line-editor mode) that point into the buffer at the start of each wrapped
// display line. The line measuring it shares is NextTextLine / PrevTextLine.
#pragma once

#include <cstdint>

#include "widgets/UI_STRING_FIELD.h"
#include "widgets/UI_WINDOW.h"

constexpr uint16_t UI_ID_TEXT_FIELD = 15;
// listFlags of a text field
constexpr uint16_t UI_TEXT_NO_WRAP = 0x1;   // lines end only at CR or LF and scroll sideways together

// The room of a line object, and the wrap width without wrapping, pixels.
constexpr int32_t UI_TEXT_LINE_ROOM = 1024;
constexpr int32_t UI_TEXT_UNWRAPPED_WIDTH = 4095;

class UI_TEXT_FIELD : public UI_WINDOW {
public:
    // width by height cells at (left, top). newMaxLength -1: the text's
    // length plus one, or width times height without a text; below -1 it
    // counts as 0. Without flags 0x08 the field takes a buffer of maxLength
    // + 1 bytes; with it the caller's buffer is used in place.
    UI_TEXT_FIELD(int32_t left, int32_t top, int32_t width, int32_t height, const char* newText,
                  int32_t newMaxLength, uint16_t listFlagBits, uint16_t objectFlags, UI_CALLBACK userFunction);
    // Frees the buffer unless it is the caller's.
    ~UI_TEXT_FIELD() override;

    // Requests (objectID 0 means 15): 0, 6, 11, 12, 13, 14, 15; others go to
    // the window.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Mapped for class 15: typing and paste through the editor string, Enter
    // (CR LF), the cursor keys over the display lines, marking, deleting
    // across line ends, scrolling; others go to the window.
    int32_t Event(UI_MESSAGE* event) override;
    // The line objects draw themselves: nothing. Answers 0.
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    // Sets the text (null counts as empty; up to maxLength characters kept)
    // and, unless newMaxLength is -1, the maximum, growing the buffer when it
    // grows (never under flags 0x08). The first shown line becomes the start
    // of the text; nothing is marked.
    void SetText(const char* newText, int32_t newMaxLength = -1);
    char* GetText() const { return text; }

    // Keeps the cursor inside the shown lines (moving topLine), then, with
    // relayout, points each line object at its display line; marks the line
    // of the cursor current and cuts the mark to each line. With redraw each
    // line that changed is redisplayed.
    void UpdateLines(bool redraw, bool relayout);

    // The length of the display line that starts at *position, no wider than
    // width pixels in font; *position moves to the start of the next line
    // (after the spaces of a soft break and one CR LF, LF CR, CR or LF). A
    // line takes at least one character, so a narrow width still moves on;
    // at the terminating zero nothing moves and 0 is answered.
    static int32_t NextTextLine(char** position, int32_t width, int32_t font = UI_FONT_OBJECT);
    // Moves *position back to the start of the display line before it and
    // answers that line's length; 0 and no move at bufferStart.
    static int32_t PrevTextLine(char* bufferStart, char** position, int32_t width, int32_t font = UI_FONT_OBJECT);

    int32_t insertMode = 1;
    int32_t maxLength;
    char* text = nullptr;
    char* topLine = nullptr;
    // The editing engine over the whole text. Its textRegion is the text
    // area, its drawnWidth the wrap width, its leftOffset the sideways
    // scroll all lines share.
    UI_STRING_FIELD editor;
    int32_t lineHeight = 0;   // pixels

    // The number of line objects.
    int32_t LineCount() const;

private:
    void PointEditor();
    void MakeLines(UI_MESSAGE* event);
    int32_t LineStartAt(int32_t offset) const;
    int32_t LineLength(int32_t start) const;
    int32_t NextLineStart(int32_t start) const;
    bool DropAutomaticMark();
    void DeleteSpan(int32_t from, int32_t count);
    int32_t StepLeft(int32_t offset) const;
    int32_t StepRight(int32_t offset) const;
    int32_t MoveVertically(int32_t code);
    int32_t MouseMark(UI_MESSAGE* event, int32_t code);
    int32_t DeleteKey(UI_MESSAGE* event, int32_t code);
    void SendScrollValues(bool moved, int32_t code);
};
