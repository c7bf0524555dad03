// UI_BIGNUM_FIELD.h: UI_BIGNUM_FIELD, the entry field of a decimal number
// (UI_BIGNUM): it shows the value formatted by its number flags, reads the
// typed text back when left or confirmed, checks it against an optional list
// of ranges and reports a refused value through the framework's error
// system, when there is one.
#pragma once

#include <cstdint>

#include "widgets/UI_BIGNUM.h"
#include "widgets/UI_STRING_FIELD.h"

constexpr uint16_t UI_ID_BIGNUM_FIELD = 24;

// The reports of a refused number: the text typed, then the range list.
extern const char* const UI_BIGNUM_OUT_OF_RANGE;   // "The number %s must be in the range %s."
extern const char* const UI_BIGNUM_INVALID;        // "The number %s is invalid."

class UI_BIGNUM_FIELD : public UI_STRING_FIELD {
public:
    // newValue is copied into the field's own value, or with flags 0x08 is
    // the caller's value itself (which must then be given). newRange
    // ("1..10/20..30") is copied; null admits every number.
    UI_BIGNUM_FIELD(int32_t left, int32_t top, int32_t width, UI_BIGNUM* newValue, const char* newRange,
                    uint16_t newNumberFlags, uint16_t objectFlags, UI_CALLBACK userFunction);
    ~UI_BIGNUM_FIELD() override;

    // Requests (objectID 0 means 24): 0 sets the class chain; 3, 4, 5 on the
    // number flags (own id); 0 and 6 lay the field out again on the screen;
    // others go to the string field.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Leaving (-13) or confirming (1002) reads the text into the value, which
    // comes back when Validate refuses it; -10 writes the value into the text.
    int32_t Event(UI_MESSAGE* event) override;
    // 0 accepted; otherwise, without an error system or with processError 0,
    // 1 (outside every range, or more than 30 integer digits) or 2. With an
    // error system the refusal is reported: -1 unless the user lets it stand.
    int32_t Validate(int32_t processError) override;

    void SetValue(UI_BIGNUM* newValue);
    // Reads the text into the value and answers the value.
    UI_BIGNUM* GetValue();

    uint16_t numberFlags;
    UI_BIGNUM* value;
    char* range = nullptr;

private:
    void ShowValue(const UI_BIGNUM& shown);

    UI_BIGNUM ownValue;
};
