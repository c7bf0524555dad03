// UI_INTEGER_FIELD.h: UI_INTEGER_FIELD, the entry field of a signed 32-bit
// whole number, its text always the number's decimal form, optionally held
// to a list of ranges; a number outside them is refused and the previous
// value comes back.
#pragma once

#include <cstdint>

#include "widgets/UI_STRING_FIELD.h"

constexpr uint16_t UI_ID_INTEGER_FIELD = 6;

class UI_INTEGER_FIELD : public UI_STRING_FIELD {
public:
    // newValue is copied into the field's own integer, or with flags 0x08 is
    // the caller's integer itself (the field then keeps a text buffer of its
    // own). newRange is copied; null admits every number.
    UI_INTEGER_FIELD(int32_t left, int32_t top, int32_t width, int32_t* newValue, const char* newRange,
                     uint16_t newNumberFlags, uint16_t objectFlags, UI_CALLBACK userFunction);
    ~UI_INTEGER_FIELD() override;

    // Requests (objectID 0 means 6): 0 sets the class chain, 6 lays the field
    // out again when it is on the screen; others go to the string field.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Leaving (-13) or confirming (1002) reads the text into the value, which
    // comes back when Validate refuses it; -10 writes the value into the text.
    int32_t Event(UI_MESSAGE* event) override;
    // 0 when the text is a number inside a range (the text is normalised);
    // 1 otherwise (the text shows the bound value again). A number beyond 32
    // bits is refused.
    int32_t Validate(int32_t processError) override;

    // Takes the value (see the constructor) and shows it.
    void SetValue(int32_t* newValue);
    // Reads the text into the value without the range test: its leading
    // number, saturated to 32 bits (0 when there is none). Answers it.
    int32_t GetValue();

    uint16_t numberFlags;
    int32_t* value;
    char* range = nullptr;

private:
    void ShowValue();

    int32_t ownValue = 0;
};

// The leading decimal number of text (blanks, a sign, digits), 0 when there is
// none. overflow, when given, tells whether it lies beyond 32 bits; the
// answer is then saturated.
int32_t ReadInteger(const char* text, bool* overflow);
