// UI_STRING_FIELD.h: UI_STRING_FIELD, the one-line text entry and the base of
// the typed entry fields (integer, big-number, date and time): its buffer and
// maximum length, text setting, requests and the range-list parser the typed
// fields share. Held here so far: the text, the step that runs Validate when
// the field is left or confirmed, and the plain drawing of the text; the
// editing keys, cursor, marks and paste belong to the field's editor.
#pragma once

#include <cstdint>

#include "widgets/UI_WIDGET.h"

constexpr uint16_t UI_ID_STRING_FIELD = 13;
constexpr uint16_t UI_ID_NUMBER_FIELD = 9;   // the chain entry every numeric field shares

// stringFlags
constexpr uint16_t UI_STRING_KEEP_LENGTH = 0x8000;   // length not recounted; buffer not freed
// flags read by the field
constexpr uint16_t UI_FLAG_CURSOR_AT_END = 0x800;

// Requests of the string field beyond the common ones.
constexpr int32_t UI_QUERY_GET_MAX_LENGTH = 13;
constexpr int32_t UI_QUERY_SET_MAX_LENGTH = 14;

// Text room of the typed fields: 63 characters and the terminating zero.
constexpr int32_t UI_FIELD_MAX_LENGTH = 64;

class UI_STRING_FIELD : public UI_WIDGET {
public:
    // One line high at (left, top), width cells wide. newMaxLength -1: the
    // text's length plus one, or the width without a text. Without flags 0x08
    // the field takes a buffer of maxLength + 1 bytes; with it the field uses
    // the caller's buffer in place.
    UI_STRING_FIELD(int32_t left, int32_t top, int32_t width, const char* newText, int32_t newMaxLength,
                    uint16_t newStringFlags, uint16_t objectFlags, UI_CALLBACK userFunction);
    // Frees the buffer unless it is the caller's (flags 0x08) or stringFlags
    // has 0x8000; also the buffer a typed field keeps under flags 0x08.
    ~UI_STRING_FIELD() override;

    // Requests (objectID 0 means 13): 0, 6, 3-5 (stringFlags, own id only),
    // 11, 12, 13, 14, 15; others go to the widget.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Mapped for class 13. Leaving (-13) and confirming (1002) run the user
    // function, or Validate without one, and answer -1 when the input is
    // refused; the drawing codes draw the field when a redraw is pending.
    int32_t Event(UI_MESSAGE* event) override;
    // Border, background and the whole text, 4 pixels in from either side.
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    // Sets the text (null keeps it) and, unless newMaxLength is -1, the
    // maximum length, growing the buffer when the maximum grows. The text is
    // cut to maxLength - 1 characters. Redisplays a field on the screen.
    void SetText(const char* newText, int32_t newMaxLength = -1);
    char* GetText() const { return text; }

    // Takes the next item of a range list ("lo..hi" or "v", items joined by
    // '/', two or more dots between the bounds) into minimum and maximum,
    // each room for UI_FIELD_MAX_LENGTH bytes (longer bounds are cut). Answers
    // the rest of the list after the item's '/', or null after the last item
    // (and for a null list, which gives two empty bounds).
    static const char* ParseRange(const char* list, char* minimum, char* maximum);

    uint16_t stringFlags;
    int32_t insertMode = 1;
    int32_t maxLength;
    char* text = nullptr;
    int32_t length = 0;
    int32_t leftOffset = 0;
    int32_t secondOffset = 0;
    int32_t cursor = 0;
    int32_t markStart = -1;
    int32_t markEnd = -1;
    int32_t scrollStep = 5;

protected:
    // Shows formatted as the text, keeping the maximum length. Under flags
    // 0x08 the text goes into valueText, the buffer the typed field keeps for
    // itself, which the field then holds.
    void ShowText(const char* formatted);

    // Makes valueText, a buffer of maxLength + 1 bytes holding the empty
    // text, and holds it: for a typed field built with flags 0x08.
    void TakeOwnBuffer();

    // What every typed field does when it is left or confirmed: keeps the
    // bound value, reads the text into it (read), runs the string field's
    // step; a refused input puts the kept value back, an accepted one clears
    // status 0x10; then shows the value (show). Inside a user-function call
    // only the string field's step runs. Answers that step's answer.
    template <typename Value, typename Read, typename Show>
    int32_t EndEditing(UI_MESSAGE* event, Value& value, Read read, Show show)
    {
        if (status & UI_STATUS_IN_CALLBACK)
            return UI_STRING_FIELD::Event(event);
        const Value kept = value;
        read();
        const int32_t answer = UI_STRING_FIELD::Event(event);
        if (answer == -1)
            value = kept;
        else
            status &= ~UI_STATUS_CLEAR;
        show();
        return answer;
    }

    // The tail of requests 0 and 6 of a typed field: when objectID is its own
    // id and it is on the screen, it initialises and lays itself out again.
    void RelayOutIfShown(uint16_t objectID, uint16_t ownID);

    // The requests a typed field of class ownID answers beyond request 0:
    // 3, 4 and 5 for its own id on flagWord (when it has one: get into data,
    // or the word's address with null data; set; clear), 6 with the lay-out
    // tail; every other request goes to the string field.
    void* TypedFieldQuery(int32_t request, void* data, uint16_t objectID, uint16_t ownID, uint16_t* flagWord);

    char* valueText = nullptr;

private:
    void InitialiseField();
};
