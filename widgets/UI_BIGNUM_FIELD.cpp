// UI_BIGNUM_FIELD.cpp: the big-number field's construction, requests,
// leaving step, and validation against its range list with the report of a
// refused number.
#include "widgets/UI_BIGNUM_FIELD.h"

#include "core/TextUtil.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/UI_WINDOW.h"

const char* const UI_BIGNUM_OUT_OF_RANGE = "The number %s must be in the range %s.";
const char* const UI_BIGNUM_INVALID = "The number %s is invalid.";

namespace {

constexpr int32_t OUT_OF_RANGE = 1;
constexpr int32_t INVALID = 2;

// True when one item of the range list holds number.
bool InsideRanges(const char* range, const UI_BIGNUM& number)
{
    char low[UI_FIELD_MAX_LENGTH];
    char high[UI_FIELD_MAX_LENGTH];
    for (const char* rest = range;;) {
        rest = UI_STRING_FIELD::ParseRange(rest, low, high);
        UI_BIGNUM lowNumber;
        UI_BIGNUM highNumber;
        lowNumber.Import(low);
        highNumber.Import(high);
        if (number.Compare(lowNumber, 1, 0, 1) == 1 && number.Compare(highNumber, 0, 1, 1) == 1)
            return true;
        if (rest == nullptr)
            return false;
    }
}

} // namespace

UI_BIGNUM_FIELD::UI_BIGNUM_FIELD(int32_t left, int32_t top, int32_t width, UI_BIGNUM* newValue,
                                 const char* newRange, uint16_t newNumberFlags, uint16_t objectFlags,
                                 UI_CALLBACK userFunction)
    : UI_STRING_FIELD(left, top, width, nullptr, UI_FIELD_MAX_LENGTH, 0, objectFlags, userFunction),
      numberFlags(newNumberFlags), value(&ownValue), range(StringDuplicate(newRange))
{
    if (flags & UI_FLAG_TEXT_NOT_COPIED)
        TakeOwnBuffer();
    UI_BIGNUM_FIELD::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_BIGNUM_FIELD);
    SetValue(newValue);
}

UI_BIGNUM_FIELD::~UI_BIGNUM_FIELD()
{
    delete[] range;
}

void* UI_BIGNUM_FIELD::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_BIGNUM_FIELD;
    if (request != UI_QUERY_INITIALISE)
        return TypedFieldQuery(request, data, objectID, UI_ID_BIGNUM_FIELD, &numberFlags);
    SetClassChain({UI_ID_BIGNUM_FIELD, UI_ID_NUMBER_FIELD, UI_ID_STRING_FIELD});
    RelayOutIfShown(objectID, UI_ID_BIGNUM_FIELD);
    return data;
}

void UI_BIGNUM_FIELD::SetValue(UI_BIGNUM* newValue)
{
    if ((flags & UI_FLAG_TEXT_NOT_COPIED) && newValue != nullptr)
        value = newValue;
    else if (newValue != nullptr && newValue != value)
        value->Copy(*newValue);
    ShowValue(*value);
}

UI_BIGNUM* UI_BIGNUM_FIELD::GetValue()
{
    value->Import(text);
    return value;
}

void UI_BIGNUM_FIELD::ShowValue(const UI_BIGNUM& shown)
{
    char formatted[UI_FIELD_MAX_LENGTH];
    shown.Export(formatted, numberFlags, sizeof formatted);
    ShowText(formatted);
}

int32_t UI_BIGNUM_FIELD::Validate(int32_t processError)
{
    UI_BIGNUM work;
    const bool tooLong = work.Import(text);
    int32_t result = tooLong ? OUT_OF_RANGE : 0;
    // A number refused for its length stays refused, whatever the ranges.
    if (range != nullptr && !tooLong && !InsideRanges(range, work))
        result = OUT_OF_RANGE;
    status &= ~UI_STATUS_INVALID;
    if (result == 0 || errorSystem == nullptr) {
        ShowValue(work);
        return result;
    }
    if (processError == 0)
        return result;
    if (result == OUT_OF_RANGE && range == nullptr)
        result = INVALID;
    const bool busy = status & UI_STATUS_IN_CALLBACK;
    status |= UI_STATUS_IN_CALLBACK;
    const int32_t answer = errorSystem->ReportError(desktop, UI_ERROR_LET_STAND,
                                                    result == INVALID ? UI_BIGNUM_INVALID : UI_BIGNUM_OUT_OF_RANGE,
                                                    text, range != nullptr ? range : "");
    if (!busy)
        status &= ~UI_STATUS_IN_CALLBACK;
    if (answer != UI_ERROR_LET_STAND)
        return -1;
    status |= UI_STATUS_INVALID;
    return result == OUT_OF_RANGE ? 0 : INVALID;
}

int32_t UI_BIGNUM_FIELD::Event(UI_MESSAGE* event)
{
    const int32_t code = MapEvent(event, UI_ID_BIGNUM_FIELD);
    switch (code) {
    case UI_CODE_DEACTIVATE:
    case UI_CODE_SELECT:
        return EndEditing(event, *value, [this] { value->Import(text); }, [this] { ShowValue(*value); });
    case UI_CODE_LAYOUT:
        ShowValue(*value);
        return UI_STRING_FIELD::Event(event);
    default:
        return UI_STRING_FIELD::Event(event);
    }
}
