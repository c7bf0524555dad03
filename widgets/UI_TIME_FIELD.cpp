// UI_TIME_FIELD.cpp: the time field's construction, requests, leaving step
// and validation against its range list.
#include "widgets/UI_TIME_FIELD.h"

#include "core/TextUtil.h"

namespace {

constexpr uint16_t RANGE_TIME_FLAGS = UI_TIME_SECONDS | UI_TIME_HUNDREDTHS;

} // namespace

UI_TIME_FIELD::UI_TIME_FIELD(int32_t left, int32_t top, int32_t width, UI_TIME* newTime, const char* newRange,
                             uint16_t newTimeFlags, uint16_t objectFlags, UI_CALLBACK userFunction)
    : UI_STRING_FIELD(left, top, width, nullptr, UI_FIELD_MAX_LENGTH, 0, objectFlags, userFunction),
      timeFlags(newTimeFlags), time(&ownTime), range(StringDuplicate(newRange))
{
    ownTime.SetCurrent();
    if (flags & UI_FLAG_TEXT_NOT_COPIED)
        TakeOwnBuffer();
    UI_TIME_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_TIME_FIELD);
    SetTime(newTime);
}

UI_TIME_FIELD::~UI_TIME_FIELD()
{
    delete[] range;
}

void* UI_TIME_FIELD::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_TIME_FIELD;
    if (request != UI_QUERY_INITIALISE)
        return TypedFieldQuery(request, data, objectID, UI_ID_TIME_FIELD, &timeFlags);
    SetClassChain({UI_ID_TIME_FIELD, UI_ID_STRING_FIELD});
    return data;
}

void UI_TIME_FIELD::SetTime(UI_TIME* newTime)
{
    if ((flags & UI_FLAG_TEXT_NOT_COPIED) && newTime != nullptr)
        time = newTime;
    else if (newTime == nullptr)
        time->SetCurrent();
    else if (newTime != time)
        time->Assign(*newTime);
    ShowTime(*time);
}

void UI_TIME_FIELD::ShowTime(const UI_TIME& shown)
{
    char formatted[UI_FIELD_MAX_LENGTH];
    shown.Export(formatted, sizeof formatted, timeFlags);
    ShowText(formatted);
}

int32_t UI_TIME_FIELD::Validate(int32_t)
{
    UI_TIME read;
    read.SetCurrent();
    int32_t result = read.Import(text, timeFlags);
    if (range != nullptr && result == 0) {
        result = 2;
        char low[UI_FIELD_MAX_LENGTH];
        char high[UI_FIELD_MAX_LENGTH];
        for (const char* rest = range; result == 2;) {
            rest = ParseRange(rest, low, high);
            UI_TIME lowTime;
            UI_TIME highTime;
            lowTime.Import(low, RANGE_TIME_FLAGS);
            highTime.Import(high, RANGE_TIME_FLAGS);
            if (lowTime.value <= read.value && read.value <= highTime.value)
                result = 0;
            if (rest == nullptr)
                break;
        }
    }
    status &= ~UI_STATUS_INVALID;
    ShowTime(read);
    return result;
}

int32_t UI_TIME_FIELD::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_TIME_FIELD);
    switch (code) {
    case UI_CODE_DEACTIVATE:
    case UI_CODE_SELECT:
        return EndEditing(
            event, *time, [this] { time->Import(text, timeFlags); }, [this] { ShowTime(*time); });
    case UI_CODE_LAYOUT:
        ShowTime(*time);
        return UI_STRING_FIELD::Event(event);
    default:
        return UI_STRING_FIELD::Event(event);
    }
}
