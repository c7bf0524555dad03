// UI_STRING_FIELD.cpp: the string field's buffer, text setting, requests,
// the leaving and confirming step, its plain drawing and the range-list
// parser.
#include "widgets/UI_STRING_FIELD.h"

#include <cstring>

#include "widgets/UI_SCREEN.h"
#include "widgets/UI_WINDOW.h"
#include "widgets/WindowMessages.h"

namespace {

char emptyText[1] = "";   // the text of a field given none under flags 0x08; never written

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
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED) && maxLength != 0) {
        text = new char[static_cast<size_t>(maxLength) + 1];
        text[0] = '\0';
    }
    callback = userFunction;
    UI_STRING_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_STRING_FIELD);
    SetText(newText != nullptr ? newText : emptyText, -1);
}

UI_STRING_FIELD::~UI_STRING_FIELD()
{
    if (text != valueText && text != nullptr && !(flags & UI_FLAG_TEXT_NOT_COPIED) &&
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
    secondOffset = 0;
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
    case UI_QUERY_GET_TEXT:
        if (data == nullptr)
            return text;
        *static_cast<char**>(data) = text;
        return data;
    case UI_QUERY_SET_TEXT:
        SetText(static_cast<const char*>(data), -1);
        return data;
    case UI_QUERY_GET_MAX_LENGTH:
        if (data == nullptr)
            return &maxLength;
        *static_cast<int32_t*>(data) = maxLength;
        return data;
    case UI_QUERY_SET_MAX_LENGTH:
        if (data != nullptr)
            SetText(text, *static_cast<const int32_t*>(data));
        return data;
    case UI_QUERY_COPY_TEXT:
        if (data != nullptr)
            std::strcpy(static_cast<char*>(data), text != nullptr ? text : "");
        return data;
    default:
        return UI_WIDGET::Query(request, data, objectID);
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
                if (text != valueText)
                    delete[] text;
                else
                    valueText = grown;
                text = grown;
            }
            maxLength = newMaxLength < 0 ? 0 : newMaxLength;
        }
        if (newText == text || borrowed) {
            text = const_cast<char*>(newText);
        } else if (text != nullptr && maxLength > 0) {
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

int32_t UI_STRING_FIELD::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_STRING_FIELD);
    switch (code) {
    case UI_CODE_DRAW_CURRENT:
    case UI_CODE_DEACTIVATE:
    case UI_CODE_DRAW_INACTIVE:
    case UI_CODE_DRAW_NORMAL: {
        const int32_t answer = UI_WIDGET::Event(event);
        if ((status & UI_STATUS_REDRAW) && screen != nullptr && screenNumber != 0) {
            screen->HoldScreen(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom);
            Draw(event, code);
            screen->ReleaseScreen(screenNumber);
        }
        return answer;
    }
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        UI_WIDGET::Event(event);
        if (code == UI_CODE_LAYOUT && (status & UI_STATUS_CLEAR) && text != nullptr && text[0] != '\0') {
            text[0] = '\0';
            length = 0;
        }
        return code;
    case UI_CODE_INITIALIZE:
        UI_WIDGET::Event(event);
        if (screen != nullptr)
            givenRect.bottom = givenRect.top + screen->rowHeight - screen->spaceAbove - screen->spaceBelow - 1;
        return code;
    case UI_CODE_SELECT:
        if (length < cursor)
            cursor = length;
        return UI_WIDGET::Event(event);
    default:
        return UI_WIDGET::Event(event);
    }
}

int32_t UI_STRING_FIELD::Draw(UI_MESSAGE*, int32_t code)
{
    if (screen == nullptr)
        return code;
    UI_RECT area = screenRect;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(screenNumber, &area, 0, code);
    screen->DrawBox(screenNumber, area.left, area.top, area.right, area.bottom, colours, 0, 1, 0, &clipRect);
    constexpr uint16_t HIDDEN_TEXT = 0x0008;
    if (!(stringFlags & HIDDEN_TEXT)) {
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
