// IntegerToText.cpp: digits of a 32-bit integer in a radix.
#include "widgets/IntegerToText.h"

#include <algorithm>

char* IntegerToText(int32_t value, char* buffer, int32_t radix)
{
    if (buffer == nullptr)
        return nullptr;
    if (radix < 2 || radix > 36) {
        buffer[0] = '\0';
        return buffer;
    }
    const bool negative = radix == 10 && value < 0;
    // Magnitude in unsigned arithmetic: 0 - 0x80000000u is 0x80000000u, so
    // INT32_MIN needs no signed negation.
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (negative)
        magnitude = 0u - magnitude;

    char* end = buffer;
    if (negative)
        *end++ = '-';
    char* digits = end;
    const uint32_t base = static_cast<uint32_t>(radix);
    do {
        const uint32_t digit = magnitude % base;
        *end++ = static_cast<char>(digit < 10 ? '0' + digit : 'A' + (digit - 10));
        magnitude /= base;
    } while (magnitude != 0);
    *end = '\0';
    std::reverse(digits, end);
    return buffer;
}
