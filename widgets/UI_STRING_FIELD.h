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
constexpr uint16_t UI_STRING_SPACE_TO_UNDERSCORE = 0x0001;   // a typed or pasted space is stored as '_'
constexpr uint16_t UI_STRING_LOWER_CASE = 0x0002;            // typed and pasted letters folded down
constexpr uint16_t UI_STRING_UPPER_CASE = 0x0004;            // folded up (after 0x0002)
constexpr uint16_t UI_STRING_HIDDEN_TEXT = 0x0008;           // the text is never drawn
constexpr uint16_t UI_STRING_KEEP_LENGTH = 0x8000;   // line editor: length kept by the owner, not
                                                     // recounted; buffer not freed; no automatic
                                                     // mark; -2 at the line ends
// flags read by the field
constexpr uint16_t UI_FLAG_CURSOR_AT_END = 0x800;    // also: mark the whole text on becoming current
// status of a field
constexpr uint16_t UI_STATUS_CHANGED = 0x0004;       // the user changed the text
constexpr uint16_t UI_STATUS_AUTO_MARK = 0x8000;     // the mark was made by the field, not the user

// Logical codes of the editing keys (class 13 rows of the event table) and
// of the messages other objects send a field.
constexpr int32_t UI_CODE_MARK_BEGIN = 1101;
constexpr int32_t UI_CODE_MARK_CONTINUE = 1102;
constexpr int32_t UI_CODE_MARK_END = 1103;
constexpr int32_t UI_CODE_CUT = 1104;
constexpr int32_t UI_CODE_PASTE = 1105;
constexpr int32_t UI_CODE_CUT_OR_PASTE = 1106;   // cut with a mark, else paste
constexpr int32_t UI_CODE_MARK = 1107;           // mark on / off
constexpr int32_t UI_CODE_DELETE = 1108;
constexpr int32_t UI_CODE_DELETE_WORD = 1109;
constexpr int32_t UI_CODE_DELETE_EOL = 1110;
constexpr int32_t UI_CODE_INSERT_TOGGLE = 1114;
constexpr int32_t UI_CODE_WORD_LEFT = 1115;
constexpr int32_t UI_CODE_WORD_RIGHT = 1116;
constexpr int32_t UI_CODE_LINE_START = 1117;
constexpr int32_t UI_CODE_LINE_END = 1118;
constexpr int32_t UI_CODE_BACKSPACE = 1119;
constexpr int32_t UI_CODE_COPY = 1127;

// Images of the mouse pointer a field asks for.
constexpr int32_t UI_POINTER_TEXT = 0x511;        // over an editable field
constexpr int32_t UI_POINTER_MARK_DONE = 0x503;   // a mouse mark ended empty

// The colours of marked text in every field.
extern const UI_COLOUR_ENTRY UI_MARK_COLOURS;


// Requests of the string field beyond the common ones.
constexpr int32_t UI_QUERY_GET_MAX_LENGTH = 13;
constexpr int32_t UI_QUERY_SET_MAX_LENGTH = 14;

// The text requests every text-holding field answers alike: 11 get the text
// (into the pointer at data, or as the answer with null data), 12 set it, 13
// get the maximum (into the integer at data, or its address), 14 set the
// maximum from the integer at data, 15 copy the text into data. setText is
// called as setText(text, maximum). handled is false for any other request.
template <typename SetText>
void* AnswerTextRequest(int32_t request, void* data, char* text, int32_t& maxLength, SetText setText,
                        bool& handled)
{
    handled = true;
    switch (request) {
    case UI_QUERY_GET_TEXT:
        if (data == nullptr)
            return text;
        *static_cast<char**>(data) = text;
        return data;
    case UI_QUERY_SET_TEXT:
        setText(static_cast<const char*>(data), -1);
        return data;
    case UI_QUERY_GET_MAX_LENGTH:
        if (data == nullptr)
            return &maxLength;
        *static_cast<int32_t*>(data) = maxLength;
        return data;
    case UI_QUERY_SET_MAX_LENGTH:
        if (data != nullptr)
            setText(text, *static_cast<const int32_t*>(data));
        return data;
    case UI_QUERY_COPY_TEXT:
        if (data != nullptr) {
            const char* from = text != nullptr ? text : "";
            char* to = static_cast<char*>(data);
            while ((*to++ = *from++) != '\0') {
            }
        }
        return data;
    default:
        handled = false;
        return nullptr;
    }
}

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
    // Mapped for class 13: the editing keys, the mouse marking, cut, copy
    // and paste, horizontal scrolling and the drawing codes. Leaving (-13)
    // and confirming (1002) run the user function, or Validate without one,
    // and answer -1 when the input is refused. Keys that cannot act (left at
    // 0, right at the end, word moves that cannot move, delete at the end of
    // a line object) answer UI_CODE_NOT_HANDLED for the parent.
    int32_t Event(UI_MESSAGE* event) override;
    // Border, background and the whole text, 4 pixels in from either side.
    int32_t Draw(UI_MESSAGE* event, int32_t code) override;

    // Sets the text (null keeps it) and, unless newMaxLength is -1, the
    // maximum length, growing the buffer when the maximum grows. The text is
    // cut to maxLength - 1 characters. Redisplays a field on the screen.
    // A maximum below 1 leaves the field an empty text it never writes; under
    // flags 0x08 the maximum never grows past the caller's buffer.
    void SetText(const char* newText, int32_t newMaxLength = -1);
    char* GetText() const { return text; }

    // Takes the next item of a range list ("lo..hi" or "v", items joined by
    // '/', two or more dots between the bounds) into minimum and maximum,
    // each room for UI_FIELD_MAX_LENGTH bytes (longer bounds are cut). Answers
    // the rest of the list after the item's '/', or null after the last item
    // (and for a null list, which gives two empty bounds).
    static const char* ParseRange(const char* list, char* minimum, char* maximum);

    // Keeps the cursor at position visible: moves leftOffset by scrollStep
    // characters until position lies inside the text region; with show and
    // the parent current, places the text cursor there (hidden outside the
    // clip). Sets cursor = position. Answers minus the pixel width scrolled
    // out (text moved left), plus the width scrolled in, or scroll unchanged.
    int32_t CursorUpdate(int32_t position, int32_t scroll, bool show);
    // Rewrites the line in the text region: from the first changed character
    // (cursor - inserted) when something was inserted or deleted without a
    // scroll, else from leftOffset; the mark in UI_MARK_COLOURS; the tail
    // behind the text filled. Any insertion or deletion marks the field
    // changed (status 0x0004).
    void Repaint(int32_t inserted, int32_t deleted, int32_t scroll);
    // Pixel width of character c in font on the framework's display (0
    // without one); each width is asked of the display once.
    static int32_t CharacterWidth(unsigned char c, int32_t font);
    // Pixel width of text[from, to) in the field's font.
    int32_t TextWidth(int32_t from, int32_t to) const;

    uint16_t stringFlags;
    int32_t insertMode = 1;
    int32_t maxLength;
    char* text = nullptr;
    int32_t length = 0;
    int32_t leftOffset = 0;
    int32_t drawnWidth = 0;              // pixels of the last repaint, plus one
    UI_RECT textRegion{0, 0, -1, -1};    // where the text is written, pixels
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
    bool Editable() const;
    int32_t DisplayEvent(UI_MESSAGE* event, int32_t code);
    void TypeCharacters(UI_MESSAGE* event, int32_t& position, int32_t& inserted, int32_t& deleted);
    int32_t DeleteCharacters(UI_MESSAGE* event, int32_t code, int32_t& position, int32_t& deleted);
    int32_t MouseMark(UI_MESSAGE* event, int32_t code, int32_t& position, bool& repaint);
    void Paste(int32_t& position, int32_t& inserted);
    void CopyMark() const;
    void DropAutomaticMark();
    void FinishEdit(int32_t code, int32_t position, int32_t inserted, int32_t deleted, int32_t scroll,
                    int32_t oldStart, int32_t oldEnd, bool repaint);
};
