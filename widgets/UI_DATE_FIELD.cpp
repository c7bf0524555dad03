// UI_DATE_FIELD.cpp: the date field's construction, requests, leaving step
// and validation against its range list.
#include "widgets/UI_DATE_FIELD.h"

#include "core/TextUtil.h"

uint16_t UI_DATE_FIELD::rangeDateFlags = 0;

namespace {

constexpr int32_t NOT_A_DATE = 1;
constexpr int32_t OUT_OF_RANGE = 5;

} // namespace

UI_DATE_FIELD::UI_DATE_FIELD(int32_t left, int32_t top, int32_t width, UI_DATE* newDate, const char* newRange,
                             uint16_t newDateFlags, uint16_t objectFlags, UI_CALLBACK userFunction)
    : UI_STRING_FIELD(left, top, width, nullptr, UI_FIELD_MAX_LENGTH, 0, objectFlags, userFunction),
      dateFlags(newDateFlags), date(&ownDate), range(StringDuplicate(newRange))
{
    if (flags & UI_FLAG_TEXT_NOT_COPIED)
        TakeOwnBuffer();
    UI_DATE_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_DATE_FIELD);
    SetDate(newDate);
}

UI_DATE_FIELD::~UI_DATE_FIELD()
{
    delete[] range;
}

void* UI_DATE_FIELD::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_DATE_FIELD;
    if (request != UI_QUERY_INITIALISE)
        return TypedFieldQuery(request, data, objectID, UI_ID_DATE_FIELD, &dateFlags);
    SetClassChain({UI_ID_DATE_FIELD, UI_ID_STRING_FIELD});
    return data;
}

void UI_DATE_FIELD::SetDate(UI_DATE* newDate)
{
    if ((flags & UI_FLAG_TEXT_NOT_COPIED) && newDate != nullptr)
        date = newDate;
    else if (newDate == nullptr)
        date->SetCurrent();
    else if (newDate != date)
        date->Import(*newDate);
    ShowDate(*date);
}

void UI_DATE_FIELD::ShowDate(const UI_DATE& shown)
{
    char formatted[UI_FIELD_MAX_LENGTH];
    shown.Export(formatted, sizeof formatted, dateFlags);
    ShowText(formatted);
}

int32_t UI_DATE_FIELD::Validate(int32_t)
{
    UI_DATE read;   // no date until the text gives one
    int32_t result = read.Import(text, dateFlags) == 0 ? 0 : NOT_A_DATE;
    if (range != nullptr && result == 0) {
        result = OUT_OF_RANGE;
        char low[UI_FIELD_MAX_LENGTH];
        char high[UI_FIELD_MAX_LENGTH];
        for (const char* rest = range; result == OUT_OF_RANGE;) {
            rest = ParseRange(rest, low, high);
            UI_DATE lowDate;
            UI_DATE highDate;
            lowDate.Import(low, rangeDateFlags);
            highDate.Import(high, rangeDateFlags);
            if (lowDate.value <= read.value && read.value <= highDate.value)
                result = 0;
            if (rest == nullptr)
                break;
        }
    }
    status &= ~UI_STATUS_INVALID;
    ShowDate(result == 0 ? read : *date);
    return result;
}

int32_t UI_DATE_FIELD::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_DATE_FIELD);
    switch (code) {
    case UI_CODE_DEACTIVATE:
    case UI_CODE_SELECT:
        return EndEditing(
            event, *date, [this] { date->Import(text, dateFlags); }, [this] { ShowDate(*date); });
    case UI_CODE_LAYOUT:
        ShowDate(*date);
        return UI_STRING_FIELD::Event(event);
    default:
        return UI_STRING_FIELD::Event(event);
    }
}
