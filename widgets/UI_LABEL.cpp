// UI_LABEL.cpp: the label's construction, text, requests, sizing, hot key
// hand-over and drawing.
#include "widgets/UI_LABEL.h"

#include <cstring>

#include "core/TextUtil.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

UI_LABEL::UI_LABEL(int32_t left, int32_t top, int32_t width, const char* newText, uint16_t objectFlags)
    : UI_WIDGET(left, top, width, 1, objectFlags | UI_FLAG_NOT_SELECTABLE, 0)
{
    UI_LABEL::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_LABEL);
    SetText(newText);
}

UI_LABEL::UI_LABEL(int32_t left, int32_t top, const char* newText, uint16_t objectFlags)
    : UI_LABEL(left, top, 0, newText, objectFlags)
{
}

UI_LABEL::~UI_LABEL()
{
    if (!(flags & UI_FLAG_TEXT_NOT_COPIED))
        delete[] text;
}

void UI_LABEL::InitialiseLabel()
{
    SetClassChain({UI_ID_LABEL});
    HotKeyFromText(text);
}

void UI_LABEL::RelayOutIfShown(uint16_t objectID)
{
    if (objectID == UI_ID_LABEL && (status & UI_STATUS_ON_SCREEN)) {
        SendMessage(this, UI_CODE_INITIALIZE);
        SendMessage(this, UI_CODE_LAYOUT);
    }
}

void* UI_LABEL::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_LABEL;
    switch (request) {
    case UI_QUERY_INITIALISE:
        InitialiseLabel();
        RelayOutIfShown(objectID);
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WIDGET::Query(request, data, objectID);
        RelayOutIfShown(objectID);
        return data;
    case UI_QUERY_GET_TEXT:
        if (data == nullptr)
            return text;
        *static_cast<char**>(data) = text;
        return data;
    case UI_QUERY_SET_TEXT:
        SetText(static_cast<const char*>(data));
        return data;
    case UI_QUERY_COPY_TEXT:
        if (data != nullptr)
            std::strcpy(static_cast<char*>(data), text != nullptr ? text : "");
        return data;
    default:
        return UI_WIDGET::Query(request, data, UI_ID_LABEL);
    }
}

void UI_LABEL::SetText(const char* newText)
{
    const bool borrowed = flags & UI_FLAG_TEXT_NOT_COPIED;
    if (text != nullptr && text != newText && !borrowed)
        delete[] text;
    text = newText == text || borrowed ? const_cast<char*>(newText) : StringDuplicate(newText);
    HotKeyFromText(text);
    if (screenNumber == 0)
        return;
    if (screen != nullptr)
        screen->DrawBox(screenNumber, screenRect.left, screenRect.top, screenRect.right, screenRect.bottom, colours,
                        0, 1, 0, &clipRect);
    SendMessage(this, UI_CODE_CHANGED);
    SendMessage(this, UI_CODE_REDISPLAY);
}

int32_t UI_LABEL::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_LABEL);
    switch (code) {
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        if (screen != nullptr) {
            if (!(flags & (UI_FLAG_CENTRED | UI_FLAG_RIGHT))) {
                givenRect.right = givenRect.left + screen->StringWidth(text, screenNumber, font);
                if (flags & UI_FLAG_BORDER)
                    givenRect.right += screen->columnWidth;
            }
            if (!(flags & UI_FLAG_BORDER))
                givenRect.bottom = givenRect.top + screen->rowHeight - screen->spaceAbove - screen->spaceBelow - 1;
        }
        UI_WIDGET::Event(event);
        return code;
    case UI_CODE_INITIALIZE:
        status |= UI_STATUS_DRAWS_ITSELF;
        UI_WIDGET::Event(event);
        if (hotKey != 0 && next != nullptr)
            AsWidget(next)->HotKey(hotKey);
        return code;
    default:
        return UI_WIDGET::Event(event);
    }
}

int32_t UI_LABEL::Draw(UI_MESSAGE*, int32_t code)
{
    if (screen == nullptr)
        return code;
    UI_RECT area = screenRect;
    if (flags & UI_FLAG_BORDER)
        DrawBorder(screenNumber, &area, 0, code);
    colours = ChooseColours(code, 0);
    // The label's text colours over its parent's background.
    UI_COLOUR_ENTRY shown = *colours;
    if (parent != nullptr) {
        const UI_COLOUR_ENTRY* behind = parent->ChooseColours(code, 0);
        constexpr int32_t HIGH_NIBBLE = 0xF0;
        for (int32_t word = 1; word <= 2; ++word)
            shown.carried[word] = (shown.carried[word] & ~HIGH_NIBBLE) | (behind->carried[word] & HIGH_NIBBLE);
        shown.background256 = behind->background256;
        shown.background2 = behind->background2;
        shown.background16 = behind->background16;
    }
    screen->DrawBox(screenNumber, area.left, area.top, area.right, area.bottom, &shown, 0, 1, 0, &clipRect);
    DrawText(screenNumber, &area, text, &shown, 0, code);
    return code;
}
