// UI_BIGNUM.h: UI_BIGNUM, the framework's exact decimal number: a sign and
// 30 integer and 8 fraction digits in five words of eight digits, read from
// text and written as text in the conventions of the country table
// (CountryTable.h). Its entry field is UI_BIGNUM_FIELD.h.
#pragma once

#include <cstdint>

// Export flags: the high byte is the number of decimals plus one (0: the
// default, 8, or the country's fraction digits with UI_BIGNUM_CURRENCY).
constexpr uint16_t UI_BIGNUM_CURRENCY = 0x0002;
constexpr uint16_t UI_BIGNUM_PARENTHESES = 0x0004;   // negative values in parentheses
constexpr uint16_t UI_BIGNUM_GROUPED = 0x0008;
constexpr uint16_t UI_BIGNUM_PERCENT = 0x0010;

class UI_BIGNUM {
public:
    static constexpr int32_t WORDS = 5;              // words 0 to 3 integer, 4 the fraction
    static constexpr int32_t INTEGER_DIGITS = 30;
    static constexpr uint32_t WORD_LIMIT = 100000000;   // each word holds 0 to 99,999,999

    UI_BIGNUM() = default;
    virtual ~UI_BIGNUM() = default;
    UI_BIGNUM(const UI_BIGNUM&) = default;
    UI_BIGNUM& operator=(const UI_BIGNUM&) = default;

    // Reads text: negative when it starts with '(' or holds the negative sign
    // anywhere; the digits before the first decimal point are the integer
    // part, those after it the fraction (beyond eight cut off); every other
    // character is skipped. Null decimalPoint: the country's decimal point or
    // its monetary one; null negativeSign: the country's. True when the
    // integer part has more than 30 digits (the value is then zero).
    bool Import(const char* text, const char* decimalPoint = nullptr, const char* negativeSign = nullptr);
    // Any 32-bit value. ToInteger drops the fraction and saturates at the
    // 32-bit limits.
    void FromInteger(int32_t number);
    int32_t ToInteger() const;
    void Copy(const UI_BIGNUM& other);
    // ifGreater, ifLess or ifEqual as this value compares with other.
    int32_t Compare(const UI_BIGNUM& other, int32_t ifGreater, int32_t ifLess, int32_t ifEqual) const;
    void Clear();
    // Writes the value under flags into buffer, which holds size bytes (the
    // text is cut to fit). A sign position of the country table outside 0 to
    // 4 ends the program.
    void Export(char* buffer, uint16_t flags, int32_t size) const;

    int32_t sign = 0;   // 0 positive, 1 negative; zero is never negative
    uint32_t digits[WORDS] = {0, 0, 0, 0, 0};
};
