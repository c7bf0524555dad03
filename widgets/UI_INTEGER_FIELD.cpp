// UI_INTEGER_FIELD.cpp: the integer field's construction, requests, the
// leaving step, its validation against the range list, and the checked
// reading of a decimal number.
#include "widgets/UI_INTEGER_FIELD.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/TextUtil.h"

int32_t ReadInteger(const char* text, bool* overflow)
{
    bool beyond = false;
    int64_t magnitude = 0;
    bool negative = false;
    if (text != nullptr) {
        while (std::isspace(static_cast<unsigned char>(*text)))
            ++text;
        if (*text == '-' || *text == '+')
            negative = *text++ == '-';
        const int64_t limit = negative ? -int64_t{INT32_MIN} : INT32_MAX;
        for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
            magnitude = magnitude * 10 + (*text - '0');
            if (magnitude > limit) {   // stop before 64 bits could overflow too
                beyond = true;
                magnitude = limit;
                break;
            }
        }
    }
    if (overflow != nullptr)
        *overflow = beyond;
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

UI_INTEGER_FIELD::UI_INTEGER_FIELD(int32_t left, int32_t top, int32_t width, int32_t* newValue,
                                   const char* newRange, uint16_t newNumberFlags, uint16_t objectFlags,
                                   UI_CALLBACK userFunction)
    : UI_STRING_FIELD(left, top, width, nullptr, UI_FIELD_MAX_LENGTH, 0, objectFlags, userFunction),
      numberFlags(newNumberFlags), value(&ownValue), range(StringDuplicate(newRange))
{
    if (flags & UI_FLAG_TEXT_NOT_COPIED)
        TakeOwnBuffer();
    UI_INTEGER_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_INTEGER_FIELD);
    SetValue(newValue);
}

UI_INTEGER_FIELD::~UI_INTEGER_FIELD()
{
    delete[] range;
}

void* UI_INTEGER_FIELD::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_INTEGER_FIELD;
    if (request != UI_QUERY_INITIALISE)
        return TypedFieldQuery(request, data, objectID, UI_ID_INTEGER_FIELD, nullptr);
    SetClassChain({UI_ID_INTEGER_FIELD, UI_ID_NUMBER_FIELD, UI_ID_STRING_FIELD});
    return data;
}

void UI_INTEGER_FIELD::SetValue(int32_t* newValue)
{
    if ((flags & UI_FLAG_TEXT_NOT_COPIED) && newValue != nullptr)
        value = newValue;
    else if (newValue != value)
        ownValue = newValue != nullptr ? *newValue : 0;
    ShowValue();
}

void UI_INTEGER_FIELD::ShowValue()
{
    char formatted[UI_FIELD_MAX_LENGTH];
    std::snprintf(formatted, sizeof formatted, "%d", *value);
    ShowText(formatted);
}

int32_t UI_INTEGER_FIELD::GetValue()
{
    *value = ReadInteger(text, nullptr);
    return *value;
}

int32_t UI_INTEGER_FIELD::Validate(int32_t)
{
    bool overflow = false;
    const int32_t n = ReadInteger(text, &overflow);
    bool valid = !overflow;
    if (valid && range != nullptr) {
        valid = false;
        char low[UI_FIELD_MAX_LENGTH];
        char high[UI_FIELD_MAX_LENGTH];
        for (const char* rest = range; !valid;) {
            rest = ParseRange(rest, low, high);
            valid = ReadInteger(low, nullptr) <= n && n <= ReadInteger(high, nullptr);
            if (rest == nullptr)
                break;
        }
    }
    status &= ~UI_STATUS_INVALID;
    if (!valid) {
        ShowValue();
        return 1;
    }
    char formatted[UI_FIELD_MAX_LENGTH];
    std::snprintf(formatted, sizeof formatted, "%d", n);
    ShowText(formatted);
    return 0;
}

int32_t UI_INTEGER_FIELD::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_INTEGER_FIELD);
    switch (code) {
    case UI_CODE_DEACTIVATE:
    case UI_CODE_SELECT:
        return EndEditing(event, *value, [this] { *value = ReadInteger(text, nullptr); }, [this] { ShowValue(); });
    case UI_CODE_LAYOUT:
        ShowValue();
        return UI_STRING_FIELD::Event(event);
    default:
        return UI_STRING_FIELD::Event(event);
    }
}
