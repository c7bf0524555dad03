// UI_STRING_FIELD.cpp: the string field's buffer, text setting, requests,
// editing keys, marks, cut and paste, cursor keeping, partial repaint and
// plain drawing, and the range-list parser.
#include "widgets/UI_STRING_FIELD.h"

#include <cstring>

#include "widgets/PasteBuffer.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/UI_TEXT_CURSOR.h"
#include "widgets/UI_WINDOW.h"
#include "widgets/WindowMessages.h"

// White on blue in every colour depth.
const UI_COLOUR_ENTRY UI_MARK_COLOURS = {{0, 0, 0}, 1, 15, 1, 1, 0, 15, 1};

namespace {

// The text of a field given none under flags 0x08, or whose maximum is below
// 1; never written.
char emptyText[1] = "";

bool IsTypable(int32_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0x80 && c <= 0xFE);
}

// A typed or pasted character as the string flags store it.
char FoldCharacter(unsigned char c, uint16_t stringFlags)
{
    if (c == 0xFF)
        return static_cast<char>(c);
    if ((stringFlags & UI_STRING_LOWER_CASE) && c >= 'A' && c <= 'Z')
        c = static_cast<unsigned char>(c - 'A' + 'a');
    if ((stringFlags & UI_STRING_UPPER_CASE) && c >= 'a' && c <= 'z')
        c = static_cast<unsigned char>(c - 'a' + 'A');
    if ((stringFlags & UI_STRING_SPACE_TO_UNDERSCORE) && c == ' ')
        c = '_';
    return static_cast<char>(c);
}

// The pixel widths of the characters of one font on one display, asked of
// the display once each.
struct WidthTable {
    const UI_SCREEN* display = nullptr;
    int32_t font = -1;
    int16_t widths[256];
};
WidthTable widthTable;

} // namespace

int32_t UI_STRING_FIELD::CharacterWidth(unsigned char c, int32_t font)
{
    UI_SCREEN* display = UI_WIDGET::screen;
    if (display == nullptr)
        return 0;
    if (widthTable.display != display || widthTable.font != font) {
        widthTable.display = display;
        widthTable.font = font;
        for (int16_t& w : widthTable.widths)
            w = -1;
    }
    int16_t& w = widthTable.widths[c];
    if (w < 0) {
        const char one[2] = {static_cast<char>(c), '\0'};
        w = static_cast<int16_t>(display->StringWidth(one, 0, font));
    }
    return w;
}

namespace {

// Replaces the paste buffer with a copy of count characters at from (empty
// for none).
void FillPasteBuffer(const char* from, int32_t count)
{
    FreePasteBuffer();
    if (count <= 0)
        return;
    pasteBuffer = new char[static_cast<size_t>(count) + 1];
    std::memcpy(pasteBuffer, from, static_cast<size_t>(count));
    pasteBuffer[count] = '\0';
    pasteLength = count;
}

// Copies from into to up to (not including) the first of stop characters or
// "..", at most room - 1 characters; answers where the copy stopped.
const char* CopyBound(const char* from, char* to, int32_t room, bool stopAtDots)
{
    int32_t n = 0;
    while (*from != '\0' && *from != '/' && !(stopAtDots && from[0] == '.' && from[1] == '.')) {
        if (n < room - 1)
            to[n++] = *from;
        ++from;
    }
    to[n] = '\0';
    return from;
}

} // namespace

UI_STRING_FIELD::UI_STRING_FIELD(int32_t left, int32_t top, int32_t width, const char* newText,
                                 int32_t newMaxLength, uint16_t newStringFlags, uint16_t objectFlags,
                                 UI_CALLBACK userFunction)
    : UI_WIDGET(left, top, width, 1, objectFlags, 0), stringFlags(newStringFlags), maxLength(newMaxLength)
{
    if (maxLength == -1)
        maxLength = newText != nullptr ? static_cast<int32_t>(std::strlen(newText)) + 1 : width;
    if (maxLength < 0)
        maxLength = 0;
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED) && maxLength > 0) {
        text = new char[static_cast<size_t>(maxLength) + 1];
        text[0] = '\0';
    }
    callback = userFunction;
    UI_STRING_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_STRING_FIELD);
    SetText(newText != nullptr ? newText : emptyText, -1);
}

UI_STRING_FIELD::~UI_STRING_FIELD()
{
    if (text != valueText && text != nullptr && text != emptyText && !(flags & UI_FLAG_TEXT_NOT_COPIED) &&
        !(stringFlags & UI_STRING_KEEP_LENGTH))
        delete[] text;
    delete[] valueText;
}

void UI_STRING_FIELD::InitialiseField()
{
    SetClassChain({UI_ID_STRING_FIELD});
    insertMode = 1;
    font |= 0x1000;   // '&' is an ordinary character in a field
    scrollStep = 5;
    leftOffset = 0;
    drawnWidth = 0;
    cursor = 0;
    markStart = markEnd = -1;
}

void UI_STRING_FIELD::RelayOutIfShown(uint16_t objectID, uint16_t ownID)
{
    if (objectID == ownID && (status & UI_STATUS_ON_SCREEN)) {
        SendMessage(this, UI_CODE_INITIALIZE);
        SendMessage(this, UI_CODE_LAYOUT);
    }
}

namespace {

void* FlagWordRequest(uint16_t& word, int32_t request, void* data)
{
    if (request == UI_QUERY_GET_FLAGS) {
        if (data == nullptr)
            return &word;
        *static_cast<uint16_t*>(data) = word;
        return data;
    }
    if (data == nullptr)
        return nullptr;
    const uint16_t bits = *static_cast<const uint16_t*>(data);
    if (request == UI_QUERY_SET_FLAGS)
        word |= bits;
    else
        word &= static_cast<uint16_t>(~bits);
    return data;
}

} // namespace

void* UI_STRING_FIELD::TypedFieldQuery(int32_t request, void* data, uint16_t objectID, uint16_t ownID,
                                       uint16_t* flagWord)
{
    switch (request) {
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != ownID || flagWord == nullptr)
            return UI_STRING_FIELD::Query(request, data, objectID);
        return FlagWordRequest(*flagWord, request, data);
    case UI_QUERY_FLAGS_CHANGED:
        UI_STRING_FIELD::Query(request, data, objectID);
        RelayOutIfShown(objectID, ownID);
        return data;
    default:
        return UI_STRING_FIELD::Query(request, data, objectID);
    }
}

void* UI_STRING_FIELD::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_STRING_FIELD;
    switch (request) {
    case UI_QUERY_INITIALISE:
        InitialiseField();
        RelayOutIfShown(objectID, UI_ID_STRING_FIELD);
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WIDGET::Query(request, data, objectID);
        RelayOutIfShown(objectID, UI_ID_STRING_FIELD);
        return data;
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_STRING_FIELD)
            return UI_WIDGET::Query(request, data, objectID);
        return FlagWordRequest(stringFlags, request, data);
    default: {
        bool handled = false;
        void* answer = AnswerTextRequest(
            request, data, text, maxLength, [this](const char* t, int32_t m) { SetText(t, m); }, handled);
        return handled ? answer : UI_WIDGET::Query(request, data, objectID);
    }
    }
}

void UI_STRING_FIELD::SetText(const char* newText, int32_t newMaxLength)
{
    const bool borrowed = flags & UI_FLAG_TEXT_NOT_COPIED;
    if (newText != nullptr) {
        if (newMaxLength != -1) {
            if (newMaxLength > maxLength && !borrowed) {
                auto* grown = new char[static_cast<size_t>(newMaxLength) + 1];
                grown[0] = '\0';
                if (text != nullptr && maxLength > 0) {
                    std::strncpy(grown, text, static_cast<size_t>(maxLength));
                    grown[maxLength - 1] = '\0';
                }
                if (newText == text)
                    newText = grown;
                if (text == valueText)
                    valueText = grown;
                else if (text != emptyText)
                    delete[] text;
                text = grown;
            }
            // The caller's buffer is as large as it was given, never larger.
            if (!borrowed || newMaxLength < maxLength)
                maxLength = newMaxLength < 0 ? 0 : newMaxLength;
        }
        if (maxLength < 1) {
            // No room even for the terminating zero: an empty text, written
            // nowhere. A buffer of the field's own is no longer of use.
            if (text != nullptr && text != emptyText && text != valueText && !borrowed &&
                !(stringFlags & UI_STRING_KEEP_LENGTH))
                delete[] text;
            text = emptyText;
        } else if (newText == text || borrowed) {
            text = const_cast<char*>(newText);
        } else if (text != nullptr && text != emptyText) {
            const size_t room = static_cast<size_t>(maxLength);
            const size_t count = strnlen(newText, room);
            std::memmove(text, newText, count);   // the new text may lie inside the buffer
            text[count < room ? count : room - 1] = '\0';
        }
        if ((status & UI_STATUS_CLEAR) && text != nullptr && text[0] != '\0')
            text[0] = '\0';
        if (!(stringFlags & UI_STRING_KEEP_LENGTH))
            length = text != nullptr ? static_cast<int32_t>(std::strlen(text)) : 0;
        cursor = (flags & UI_FLAG_CURSOR_AT_END) && !(flags & UI_FLAG_VIEW_ONLY) ? length : 0;
        markStart = markEnd = -1;
        leftOffset = 0;
    }
    if (screenNumber != 0)
        SendMessage(this, UI_CODE_REDISPLAY);
}

void UI_STRING_FIELD::ShowText(const char* formatted)
{
    if ((flags & UI_FLAG_TEXT_NOT_COPIED) && valueText != nullptr) {
        const size_t room = static_cast<size_t>(maxLength > 0 ? maxLength : 1);
        std::strncpy(valueText, formatted, room);
        valueText[room - 1] = '\0';
        SetText(valueText, maxLength);
    } else {
        SetText(formatted, maxLength);
    }
}

void UI_STRING_FIELD::TakeOwnBuffer()
{
    valueText = new char[static_cast<size_t>(maxLength > 0 ? maxLength : 0) + 1];
    valueText[0] = '\0';
    SetText(valueText, -1);
}

bool UI_STRING_FIELD::Editable() const
{
    return !(flags & UI_FLAG_VIEW_ONLY) && text != nullptr && text != emptyText && maxLength >= 1;
}

int32_t UI_STRING_FIELD::TextWidth(int32_t from, int32_t to) const
{
    int32_t width = 0;
    for (int32_t n = from < 0 ? 0 : from; n < to && n < length; ++n)
        width += CharacterWidth(static_cast<unsigned char>(text[n]), font);
    return width;
}

void UI_STRING_FIELD::DropAutomaticMark()
{
    if (status & UI_STATUS_AUTO_MARK) {
        status &= ~UI_STATUS_AUTO_MARK;
        markStart = markEnd = -1;
    }
}

void UI_STRING_FIELD::CopyMark() const
{
    if (markStart >= 0 && markEnd > markStart && markEnd <= length)
        FillPasteBuffer(text + markStart, markEnd - markStart);
    else
        FreePasteBuffer();
}

int32_t UI_STRING_FIELD::Event(UI_MESSAGE* event)
{
    const bool lineEditor = stringFlags & UI_STRING_KEEP_LENGTH;
    const bool viewOnly = flags & UI_FLAG_VIEW_ONLY;
    if (cursor > length)
        cursor = length;   // a text shortened behind the field's back
    if (cursor < 0)
        cursor = 0;
    int32_t position = cursor;
    int32_t inserted = 0;
    int32_t deleted = 0;
    int32_t scroll = 0;
    const int32_t oldStart = markStart;
    const int32_t oldEnd = markEnd;
    bool repaint = false;
    int32_t code = MapEvent(event, UI_ID_STRING_FIELD);
    if (code == UI_CODE_CUT_OR_PASTE)
        code = markStart < 0 ? UI_CODE_PASTE : UI_CODE_CUT;
    int32_t answer = code;
    switch (code) {
    case UI_CODE_SCROLL_HORIZONTAL:
        leftOffset += event->data[4];
        if (leftOffset < 0)
            leftOffset = 0;
        if (leftOffset > length)
            leftOffset = length;
        position = cursor = leftOffset;
        repaint = true;
        break;
    case UI_CODE_DRAW_CURRENT:
        if (!lineEditor && (flags & UI_FLAG_CURSOR_AT_END) &&
            !(flags & (UI_FLAG_NOT_SELECTABLE | UI_FLAG_VIEW_ONLY))) {
            status |= UI_STATUS_AUTO_MARK;
            cursor = length;
            markStart = 0;
            markEnd = length;
        }
        return DisplayEvent(event, code);
    case UI_CODE_DEACTIVATE:
        if (!lineEditor) {
            status &= ~UI_STATUS_AUTO_MARK;
            markStart = markEnd = -1;
        }
        return DisplayEvent(event, code);
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL:
        return DisplayEvent(event, code);
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        textRegion = screenRect;
        scrollStep = screen != nullptr && screenRect.right - screenRect.left + 1 < 5 * screen->columnWidth ? 1 : 5;
        if (code == UI_CODE_LAYOUT && (status & UI_STATUS_CLEAR) && text != nullptr && text[0] != '\0') {
            text[0] = '\0';
            length = 0;
            position = 0;
        }
        break;
    case UI_CODE_REDISPLAY:
        return UI_WIDGET::Event(event);
    case UI_CODE_INITIALIZE:
        UI_WIDGET::Event(event);
        if (screen != nullptr)
            givenRect.bottom = givenRect.top + screen->rowHeight - screen->spaceAbove - screen->spaceBelow - 1;
        break;
    case UI_KEY_EVENT:
        if (markStart >= 0) {
            UI_MESSAGE cut(UI_CODE_CUT);
            Event(&cut);
            position = cursor;
        }
        TypeCharacters(event, position, inserted, deleted);
        break;
    case UI_CODE_POINTER_MOVE:
        if (!viewOnly && PointInside(screenRect, event->point)) {
            if (inputManager != nullptr)
                inputManager->SendToDevice(UI_MOUSE_EVENT, UI_POINTER_TEXT);
            return code;
        }
        return UI_WIDGET::Event(event);
    case UI_CODE_SELECT:
        if (length < cursor)
            cursor = length;
        answer = UI_WIDGET::Event(event);
        position = cursor;   // the user function may have set a new text
        break;
    case UI_CODE_UP:
    case UI_CODE_LEFT:
        if (position == 0)
            return UI_CODE_NOT_HANDLED;
        --position;
        break;
    case UI_CODE_DOWN:
    case UI_CODE_RIGHT:
        if (position >= length)
            return UI_CODE_NOT_HANDLED;
        ++position;
        if (lineEditor && position == length && text[position - 1] == ' ')
            answer = UI_CODE_NOT_HANDLED;
        break;
    case UI_CODE_PAGE_UP:
    case UI_CODE_PAGE_DOWN:
        return code;
    case UI_CODE_MARK_BEGIN:
    case UI_CODE_MARK_CONTINUE:
    case UI_CODE_MARK_END:
        answer = MouseMark(event, code, position, repaint);
        if (answer == UI_CODE_NOT_HANDLED)
            return answer;
        break;
    case UI_CODE_CUT:
    case UI_CODE_DELETE:
    case UI_CODE_DELETE_WORD:
    case UI_CODE_DELETE_EOL:
        if (Editable() && DeleteCharacters(event, code, position, deleted) == UI_CODE_NOT_HANDLED)
            return UI_CODE_NOT_HANDLED;
        break;
    case UI_CODE_PASTE:
        if (Editable())
            Paste(position, inserted);
        break;
    case UI_CODE_MARK:
        if (!viewOnly) {
            if (markStart < 0)
                markStart = markEnd = cursor;
            else
                markStart = markEnd = -1;
            status &= ~UI_STATUS_AUTO_MARK;
            repaint = true;
        }
        break;
    case UI_CODE_INSERT_TOGGLE:
        if (!viewOnly) {
            insertMode = !insertMode;
            if (inputManager != nullptr)
                inputManager->SendToDevice(UI_CURSOR_DEVICE, insertMode ? UI_CURSOR_INSERT : UI_CURSOR_OVERWRITE);
        }
        break;
    case UI_CODE_WORD_LEFT:
        if (position == 0)
            return UI_CODE_NOT_HANDLED;
        --position;
        while (position > 0 && text[position] == ' ')
            --position;
        while (position > 0 && text[position - 1] != ' ')
            --position;
        break;
    case UI_CODE_WORD_RIGHT: {
        int32_t next = position;
        while (next < length && text[next] != ' ')
            ++next;
        while (next < length && text[next] == ' ')
            ++next;
        if (next >= length)
            next = position;   // the last word: the cursor stays
        if (next == position)
            return UI_CODE_NOT_HANDLED;
        position = next;
        break;
    }
    case UI_CODE_LINE_START:
        position = 0;
        break;
    case UI_CODE_LINE_END:
        position = length;
        break;
    case UI_CODE_BACKSPACE: {
        UI_MESSAGE left(UI_CODE_LEFT);
        if (Event(&left) != UI_CODE_NOT_HANDLED) {
            UI_MESSAGE del(UI_CODE_DELETE);
            Event(&del);
        }
        return code;
    }
    case UI_CODE_COPY:
        if (markStart >= 0) {
            CopyMark();
            markStart = markEnd = -1;
            status &= ~UI_STATUS_AUTO_MARK;
        }
        break;
    default:
        return UI_WIDGET::Event(event);
    }
    FinishEdit(code, position, inserted, deleted, scroll, oldStart, oldEnd, repaint);
    return answer;
}

void UI_STRING_FIELD::TypeCharacters(UI_MESSAGE* event, int32_t& position, int32_t& inserted, int32_t& deleted)
{
    if (!Editable())
        return;
    int32_t character = event->keyData.keyValue & 0xFF;
    if (!IsTypable(character))
        return;
    for (;;) {
        const char c = FoldCharacter(static_cast<unsigned char>(character), stringFlags);
        if (length < maxLength - 1 &&
            (insertMode || position == length || text[position] == '\r' || text[position] == '\n')) {
            std::memmove(text + position + 1, text + position, static_cast<size_t>(length - position) + 1);
            text[position++] = c;
            ++length;
            ++inserted;
        } else if (!insertMode && position < length) {
            text[position++] = c;   // overstrike: counted as one out, one in
            ++inserted;
            ++deleted;
        }
        // A burst of typed characters goes in before one repaint.
        UI_MESSAGE next;
        if (inputManager == nullptr || inputManager->Get(&next, UI_GET_NO_WAIT | UI_GET_PEEK) != 0)
            return;
        if (next.type != event->type || MapEvent(&next, UI_ID_STRING_FIELD) != UI_KEY_EVENT)
            return;
        character = next.keyData.keyValue & 0xFF;
        if (!IsTypable(character))
            return;
        inputManager->Get(&next, UI_GET_NO_WAIT | UI_GET_NO_POLL);
    }
}

int32_t UI_STRING_FIELD::DeleteCharacters(UI_MESSAGE* event, int32_t code, int32_t& position, int32_t& deleted)
{
    int32_t count = 0;
    if (markStart >= 0) {
        if (markEnd > length)
            markEnd = length;
        if (markStart > markEnd)
            markStart = markEnd;
        if (code == UI_CODE_CUT)
            CopyMark();
        position = markStart;
        count = markEnd - markStart;
        markStart = markEnd = -1;
        status &= ~UI_STATUS_AUTO_MARK;
    } else {
        if (position >= length && (stringFlags & UI_STRING_KEEP_LENGTH))
            return UI_CODE_NOT_HANDLED;
        if (code == UI_CODE_DELETE_WORD)
            while (position > 0 && text[position - 1] != ' ')
                --position;
        // One delete, then each repeat of the same key still queued; never
        // past the end of the text.
        for (;;) {
            int32_t at = position + count;
            if (code == UI_CODE_DELETE && at < length) {
                ++count;
            } else if (code == UI_CODE_DELETE_EOL) {
                count = length - position;
            } else if (code == UI_CODE_DELETE_WORD) {
                while (at < length && text[at] != ' ')
                    ++at;
                while (at < length && text[at] == ' ')
                    ++at;
                count = at - position;
            }
            UI_MESSAGE next;
            if (inputManager == nullptr || inputManager->Get(&next, UI_GET_NO_WAIT | UI_GET_PEEK) != 0 ||
                next.type != event->type || next.code != event->code)
                break;
            inputManager->Get(&next, UI_GET_NO_WAIT | UI_GET_NO_POLL);
        }
    }
    if (count > 0) {
        std::memmove(text + position, text + position + count, static_cast<size_t>(length - position - count) + 1);
        length -= count;
        deleted += count;
    }
    return code;
}

void UI_STRING_FIELD::Paste(int32_t& position, int32_t& inserted)
{
    if (pasteBuffer == nullptr || pasteLength <= 0 || length + pasteLength >= maxLength)
        return;
    std::memmove(text + position + pasteLength, text + position, static_cast<size_t>(length - position) + 1);
    for (int32_t n = 0; n < pasteLength; ++n)
        text[position + n] = FoldCharacter(static_cast<unsigned char>(pasteBuffer[n]), stringFlags);
    position += pasteLength;
    length += pasteLength;
    inserted += pasteLength;
}

int32_t UI_STRING_FIELD::MouseMark(UI_MESSAGE* event, int32_t code, int32_t& position, bool& repaint)
{
    const bool inside = PointInside(screenRect, event->point);
    if (code == UI_CODE_MARK_END && inside && callback != nullptr && parent != nullptr && parent->HasClass(UI_ID_LIST)) {
        UI_MESSAGE copy = *event;
        return callback(this, &copy, UI_CODE_SELECT);
    }
    if ((flags & UI_FLAG_VIEW_ONLY) || !inside)
        return UI_CODE_NOT_HANDLED;
    // The character under the pointer: the first whose right edge passes it.
    int32_t x = textRegion.left;
    position = leftOffset;
    while (position < length) {
        x += CharacterWidth(static_cast<unsigned char>(text[position]), font);
        if (x > event->point.column)
            break;
        ++position;
    }
    DropAutomaticMark();
    if (code == UI_CODE_MARK_BEGIN || (code == UI_CODE_MARK_CONTINUE && markStart < 0)) {
        markStart = markEnd = position;
        repaint = true;
    }
    if (code == UI_CODE_MARK_END) {
        if (markStart == markEnd) {
            markStart = markEnd = -1;
            if (inputManager != nullptr)
                inputManager->SendToDevice(UI_MOUSE_EVENT, UI_POINTER_MARK_DONE);
        }
        status |= UI_STATUS_AUTO_MARK;
    }
    return code;
}

void UI_STRING_FIELD::FinishEdit(int32_t code, int32_t position, int32_t inserted, int32_t deleted, int32_t scroll,
                                 int32_t oldStart, int32_t oldEnd, bool repaint)
{
    position = position < 0 ? 0 : position > length ? length : position;
    if (markStart >= 0) {
        if (cursor == markStart)
            markStart = position;
        else
            markEnd = position;
        if (markStart > markEnd) {
            const int32_t t = markStart;
            markStart = markEnd;
            markEnd = t;
        }
        const bool mouseMark = code == UI_CODE_MARK_BEGIN || code == UI_CODE_MARK_CONTINUE || code == UI_CODE_MARK_END;
        if (position != cursor && !mouseMark) {
            if (status & UI_STATUS_AUTO_MARK)
                DropAutomaticMark();
            else
                repaint = true;
        }
    }
    repaint = repaint || markStart != oldStart || markEnd != oldEnd;
    if (screenNumber == 0) {
        if (inserted != 0 || deleted != 0)
            status |= UI_STATUS_CHANGED;
        cursor = position;
        return;
    }
    const bool show = !(flags & UI_FLAG_VIEW_ONLY) || (stringFlags & UI_STRING_KEEP_LENGTH);
    if (position != cursor)
        scroll = CursorUpdate(position, scroll, show);
    cursor = position;
    if (inserted != 0 || deleted != 0 || scroll != 0 || repaint)
        Repaint(inserted, deleted, scroll);
}

int32_t UI_STRING_FIELD::DisplayEvent(UI_MESSAGE* event, int32_t code)
{
    const int32_t answer = UI_WIDGET::Event(event);
    if (code != UI_CODE_DRAW_CURRENT && parent != nullptr && parent->HasClass(UI_ID_LIST) &&
        !parent->HasClass(UI_ID_ROW_WINDOW))
        colours = ChooseColours(code, UI_ID_LIST);
    const bool lineEditor = stringFlags & UI_STRING_KEEP_LENGTH;
    const bool show = code == UI_CODE_DRAW_CURRENT && (!(flags & UI_FLAG_VIEW_ONLY) || lineEditor);
    if (screen == nullptr || screenNumber == 0)
        return answer;
    if (!(status & UI_STATUS_REDRAW)) {
        if (code == UI_CODE_DRAW_CURRENT && lineEditor)
            CursorUpdate(cursor, 0, true);
        return answer;
    }
    screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
    if (code != UI_CODE_DRAW_CURRENT && (flags & (UI_FLAG_NOT_SELECTABLE | UI_FLAG_CENTRED | UI_FLAG_RIGHT))) {
        Draw(event, code);
    } else {
        if (!lineEditor)
            length = text != nullptr ? static_cast<int32_t>(std::strlen(text)) : 0;
        textRegion = screenRect;
        if (flags & UI_FLAG_BORDER)
            DrawBorder(screenNumber, &textRegion, 0, code);
        screen->DrawBox(screenNumber, textRegion.left, textRegion.top, textRegion.right, textRegion.bottom, colours,
                        0, 1, 0, &clipRect);
        textRegion.left += 4;
        textRegion.right -= 4;
        const int32_t textHeight = screen->StringHeight(text, screenNumber, font);
        textRegion.top += (textRegion.bottom - textRegion.top + 1 - textHeight) / 2;
        textRegion.bottom = textRegion.top + textHeight;
        Repaint(0, 0, CursorUpdate(cursor, 0, show));
    }
    screen->ReleaseScreen(screenNumber);
    return answer;
}

int32_t UI_STRING_FIELD::CursorUpdate(int32_t position, int32_t scroll, bool show)
{
    if (textRegion.right <= textRegion.left) {
        cursor = leftOffset = position;
        return scroll;
    }
    const int32_t oldLeft = leftOffset;
    while (leftOffset > 0 && position < leftOffset)
        leftOffset = leftOffset > scrollStep ? leftOffset - scrollStep : 0;
    int32_t width = TextWidth(leftOffset, position);
    while (textRegion.left + width > textRegion.right && leftOffset < position) {
        leftOffset = position - leftOffset < scrollStep ? position : leftOffset + scrollStep;
        width = TextWidth(leftOffset, position);
    }
    const UI_WIDGET* window = parent != nullptr ? parent : this;
    if (show && (window->status & UI_STATUS_CURRENT) && inputManager != nullptr) {
        const UI_POINT at{textRegion.left + width, textRegion.top};
        if (!PointInside(clipRect, at)) {
            inputManager->SendToDevice(UI_CURSOR_DEVICE, UI_DEVICE_OFF);
        } else {
            inputManager->SendToDevice(UI_CURSOR_DEVICE, insertMode ? UI_CURSOR_INSERT : UI_CURSOR_OVERWRITE);
            inputManager->SetDevicePosition(UI_CURSOR_DEVICE, at.column, at.line);
        }
    }
    cursor = position;
    if (leftOffset > oldLeft)
        return -TextWidth(oldLeft, leftOffset);
    if (leftOffset < oldLeft)
        return TextWidth(leftOffset, oldLeft);
    return scroll;
}

void UI_STRING_FIELD::Repaint(int32_t inserted, int32_t deleted, int32_t scroll)
{
    if (inserted != 0 || deleted != 0)
        status |= UI_STATUS_CHANGED;
    if (!(stringFlags & UI_STRING_HIDDEN_TEXT) && textRegion.right > textRegion.left && screen != nullptr &&
        text != nullptr) {
        UI_RECT clip = clipRect;
        if (clip.right > textRegion.right)
            clip.right = textRegion.right;
        if (clip.bottom > textRegion.bottom)
            clip.bottom = textRegion.bottom;
        int32_t start = leftOffset;
        int32_t x = textRegion.left;
        if (scroll == 0 && (inserted != 0 || deleted != 0) && cursor - inserted > leftOffset) {
            start = cursor - inserted;   // only the changed tail is written again
            x += TextWidth(leftOffset, start);
        }
        if (start > length)
            start = length;
        const bool marked = markStart >= 0 && markEnd > markStart;
        const int32_t runEnds[3] = {marked ? markStart : length, marked ? markEnd : length, length};
        int32_t from = start;
        for (int32_t run = 0; run < 3; ++run) {
            int32_t to = runEnds[run] < length ? runEnds[run] : length;
            if (to <= from || x > clip.right)
                continue;
            const UI_COLOUR_ENTRY* entry = run == 1 ? &UI_MARK_COLOURS : colours;
            screen->DrawString(screenNumber, x, textRegion.top, text + from, entry, to - from, 1, 0, &clip, font);
            x += TextWidth(from, to);
            from = to;
        }
        if (x <= clip.right)
            screen->DrawBox(screenNumber, x, textRegion.top, textRegion.right, textRegion.bottom, colours, 0, 1, 0,
                            &clip);
        drawnWidth = x - scroll - textRegion.left + 1;
    }
    status &= ~UI_STATUS_REDRAW;
}

int32_t UI_STRING_FIELD::Draw(UI_MESSAGE*, int32_t code)
{
    if (screen == nullptr)
        return code;
    UI_RECT area = screenRect;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(screenNumber, &area, 0, code);
    screen->DrawBox(screenNumber, area.left, area.top, area.right, area.bottom, colours, 0, 1, 0, &clipRect);
    if (!(stringFlags & UI_STRING_HIDDEN_TEXT)) {
        area.left += 4;
        area.right -= 4;
        const uint16_t kept = flags;
        flags &= ~(UI_FLAG_CENTRED | UI_FLAG_RIGHT);   // always from the left
        DrawText(screenNumber, &area, text, colours, 0, code);
        flags = kept;
    }
    status &= ~UI_STATUS_REDRAW;
    return code;
}

const char* UI_STRING_FIELD::ParseRange(const char* list, char* minimum, char* maximum)
{
    minimum[0] = maximum[0] = '\0';
    if (list == nullptr)
        return nullptr;
    const char* at = CopyBound(list, minimum, UI_FIELD_MAX_LENGTH, true);
    if (at[0] == '.' && at[1] == '.') {
        while (*at == '.')
            ++at;
        at = CopyBound(at, maximum, UI_FIELD_MAX_LENGTH, false);
    } else {
        std::strcpy(maximum, minimum);
    }
    return *at == '/' ? at + 1 : nullptr;
}
