// UI_BIGNUM.cpp: decimal numbers read from text, compared, converted to and
// from integers and written as text with the country's separators, grouping,
// currency and signs.
#include "widgets/UI_BIGNUM.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "widgets/CountryTable.h"

namespace {

constexpr int32_t FRACTION_WORD = 4;
constexpr int32_t UNITS_WORD = 3;
constexpr int32_t DIGITS_PER_WORD = 8;
constexpr int32_t FRACTION_DIGITS = 8;
constexpr uint8_t NO_MORE_GROUPS = 127;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsZero(const uint32_t (&words)[UI_BIGNUM::WORDS])
{
    for (uint32_t w : words)
        if (w != 0)
            return false;
    return true;
}

// Where the first of two texts occurs in text (an empty one never does);
// null when neither does.
const char* FirstOf(const char* text, const char* a, const char* b)
{
    const char* first = a != nullptr && a[0] != '\0' ? std::strstr(text, a) : nullptr;
    const char* second = b != nullptr && b[0] != '\0' ? std::strstr(text, b) : nullptr;
    if (first == nullptr || (second != nullptr && second < first))
        return second;
    return first;
}

// The integer words as decimal digits, no leading zeros, "0" for zero.
std::string IntegerDigits(const uint32_t (&words)[UI_BIGNUM::WORDS])
{
    std::string out;
    char part[16];
    for (int32_t w = 0; w <= UNITS_WORD; ++w) {
        if (out.empty()) {
            if (words[w] != 0) {
                std::snprintf(part, sizeof part, "%u", words[w]);
                out = part;
            }
        } else {
            std::snprintf(part, sizeof part, "%08u", words[w]);
            out += part;
        }
    }
    return out.empty() ? "0" : out;
}

// Inserts separator between groups of digits counted from the units, sizes
// from grouping in turn (the last repeating; 0 or 127 ends the grouping).
std::string Grouped(const std::string& integer, const char* separator, const char* grouping)
{
    std::string out;
    size_t remaining = integer.size();
    int32_t index = 0;
    auto size = static_cast<uint8_t>(grouping[0]);
    while (size != 0 && size != NO_MORE_GROUPS && remaining > size) {
        out = separator + integer.substr(remaining - size, size) + out;
        remaining -= size;
        const auto next = static_cast<uint8_t>(grouping[index + 1]);
        if (next != 0) {
            ++index;
            size = next;
        }
    }
    return integer.substr(0, remaining) + out;
}

[[noreturn]] void RefuseSignPosition()
{
    errno = EINVAL;
    std::perror("UI_BIGNUM::Export");
    std::abort();
}

} // namespace

void UI_BIGNUM::Clear()
{
    sign = 0;
    for (uint32_t& w : digits)
        w = 0;
}

void UI_BIGNUM::Copy(const UI_BIGNUM& other)
{
    sign = other.sign;
    for (int32_t w = 0; w < WORDS; ++w)
        digits[w] = other.digits[w];
}

bool UI_BIGNUM::Import(const char* text, const char* decimalPoint, const char* negativeSign)
{
    Clear();
    if (text == nullptr)
        return false;
    LoadCountryTable();
    const UI_COUNTRY_TABLE& country = FrameworkCountryTable();
    const char* point = decimalPoint != nullptr ? decimalPoint : country.decimalPoint;
    const char* monetaryPoint = decimalPoint != nullptr ? nullptr : country.monetaryDecimalPoint;
    const char* minus = negativeSign != nullptr ? negativeSign : country.negativeSign;
    const bool negative = text[0] == '(' || (minus[0] != '\0' && std::strstr(text, minus) != nullptr);
    const char* end = FirstOf(text, point, monetaryPoint);
    int32_t integerDigits = 0;
    for (const char* c = text; *c != '\0' && c != end; ++c)
        integerDigits += IsDigit(*c);
    if (integerDigits > INTEGER_DIGITS)
        return true;   // zero, and positive like every zero
    int32_t word = WORDS - (integerDigits + 15) / DIGITS_PER_WORD;
    int32_t position = (integerDigits + 7) % DIGITS_PER_WORD;
    static constexpr uint32_t POWER[DIGITS_PER_WORD] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    for (const char* c = text; *c != '\0' && word < WORDS; ++c) {
        if (!IsDigit(*c))
            continue;
        digits[word] += static_cast<uint32_t>(*c - '0') * POWER[position];
        if (--position < 0) {
            position = DIGITS_PER_WORD - 1;
            ++word;
        }
    }
    sign = negative && !IsZero(digits) ? 1 : 0;
    return false;
}

void UI_BIGNUM::FromInteger(int32_t number)
{
    Clear();
    const int64_t magnitude = number < 0 ? -int64_t{number} : number;
    digits[UNITS_WORD - 1] = static_cast<uint32_t>(magnitude / WORD_LIMIT);
    digits[UNITS_WORD] = static_cast<uint32_t>(magnitude % WORD_LIMIT);
    sign = number < 0 ? 1 : 0;
}

int32_t UI_BIGNUM::ToInteger() const
{
    const int64_t limit = sign != 0 ? -int64_t{INT32_MIN} : INT32_MAX;
    int64_t magnitude = 0;
    for (int32_t w = 0; w <= UNITS_WORD; ++w) {
        magnitude = magnitude * WORD_LIMIT + digits[w];
        if (magnitude > limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int32_t>(sign != 0 ? -magnitude : magnitude);
}

int32_t UI_BIGNUM::Compare(const UI_BIGNUM& other, int32_t ifGreater, int32_t ifLess, int32_t ifEqual) const
{
    if (sign != other.sign)
        return sign == 0 ? ifGreater : ifLess;
    for (int32_t w = 0; w < WORDS; ++w) {
        if (digits[w] == other.digits[w])
            continue;
        const bool larger = digits[w] > other.digits[w];
        return larger == (sign == 0) ? ifGreater : ifLess;
    }
    return ifEqual;
}

void UI_BIGNUM::Export(char* buffer, uint16_t flags, int32_t size) const
{
    if (buffer == nullptr || size <= 0)
        return;
    LoadCountryTable();
    const UI_COUNTRY_TABLE& country = FrameworkCountryTable();
    const bool currency = flags & UI_BIGNUM_CURRENCY;
    int32_t decimals = (flags >> 8) - 1;
    if (decimals < 0)
        decimals = currency ? country.fractionDigits : FRACTION_DIGITS;
    const bool negative = sign != 0;
    const char* point = currency ? country.monetaryDecimalPoint : country.decimalPoint;
    const char* separator = currency ? country.monetaryThousandsSeparator : country.thousandsSeparator;
    const char* grouping = currency ? country.monetaryGrouping : country.grouping;
    const bool symbolBefore = negative ? country.currencyBeforeNegative : country.currencyBeforePositive;
    const bool spaced = negative ? country.spaceSeparatedNegative : country.spaceSeparatedPositive;
    const char* signText = negative ? country.negativeSign : country.positiveSign;
    int32_t position = negative ? country.negativeSignPosition : country.positiveSignPosition;
    if (negative && (flags & UI_BIGNUM_PARENTHESES))
        position = 0;
    if (position < 0 || position > 4)
        RefuseSignPosition();

    std::string number = IntegerDigits(digits);
    if ((flags & UI_BIGNUM_GROUPED) && grouping[0] != 0)
        number = Grouped(number, separator, grouping);
    if (decimals > 0) {
        char fraction[16];
        std::snprintf(fraction, sizeof fraction, "%08u", digits[FRACTION_WORD]);
        number += point;
        number += std::string(fraction, static_cast<size_t>(decimals < FRACTION_DIGITS ? decimals : FRACTION_DIGITS));
        if (decimals > FRACTION_DIGITS)
            number += std::string(static_cast<size_t>(decimals - FRACTION_DIGITS), '0');
    }

    std::string out;
    if (position == 0)
        out += '(';
    else if (position == 1)
        out += signText;
    if (currency && symbolBefore) {
        out += country.currencySymbol;
        if (spaced)
            out += ' ';
    }
    if (position == 3)
        out += signText;
    out += number;
    if (position == 4)
        out += signText;
    if (currency && !symbolBefore) {
        if (spaced)
            out += ' ';
        out += country.currencySymbol;
    }
    if (flags & UI_BIGNUM_PERCENT)
        out += '%';
    if (position == 0)
        out += ')';
    else if (position == 2)
        out += signText;
    const size_t n = out.copy(buffer, static_cast<size_t>(size) - 1);
    buffer[n] = '\0';
}
