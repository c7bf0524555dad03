// LongMath.h: fixed-point multiply and divide through 64-bit intermediates,
// with overflow and zero-divisor reports that name the calling source and line,
// and absolute values that cannot overflow. Units are in core/Units.h. The
// multiply, the divide and the absolute values are inline: they run in every
// navigation step; their overflow answers and reports stay in LongMath.cpp.
#pragma once

#include <cstdint>

#include "core/Units.h"

namespace LongMath {

// The value a multiply or divide answers when its result does not fit.
constexpr int32_t OVERFLOW_VALUE = 0x8000000;   // 134217728

// (a * b) / 2^23, truncated toward zero: the product of two Q23 values, or of a
// value and a Q23 factor. Operands may be any 32-bit value, -2^31 included. A
// result that does not fit 32 signed bits is an overflow: with check clear it
// answers OVERFLOW_VALUE silently; with check set it reports
// "Multiplication: overflow error.  Called from <source> at line # <line>\n"
// through FatalError and, should that return, answers the low 32 bits of the
// truncated product with the sign applied.
inline int32_t LongMulLong(int32_t a, int32_t b, bool check, const char* source, int32_t line);

// (a * 2^23) / b, truncated toward zero: the Q23 quotient. A zero divisor is
// reported whatever the check flag and answers OVERFLOW_VALUE. A quotient that
// does not fit 32 signed bits answers OVERFLOW_VALUE, reported when check is set.
inline int32_t LongDivLong_TableShiftLeft(int32_t a, int32_t b, bool check, const char* source,
                                          int32_t line);

// a / b with the finest scale that fits: tries 23 fraction bits first, then one
// fewer each time the quotient does not fit (a quotient of exactly
// OVERFLOW_VALUE counts as not fitting). Writes the scale used to shift and
// answers the quotient at that scale. Falling to 0 fraction bits reports
// "LongMath::LongDivLong_UseShiftLeft: shift <= 0"; a zero divisor reports
// "LongMath::LongDivLong_UseShiftLeft: divide by zero error.\n" and answers
// OVERFLOW_VALUE with shift 23.
int32_t LongDivLong_UseShiftLeft(int32_t a, int32_t b, int32_t& shift);

// (a * b) / 2^shift, the magnitude truncated, for the quotient of
// LongDivLong_UseShiftLeft. shift is taken within 0 to 63. A result that does
// not fit 32 signed bits answers OVERFLOW_VALUE, without a report.
int32_t LongMulLong_UseShiftRight(int32_t a, int32_t b, int32_t shift);

// Absolute values. The one value without a positive counterpart (-2^31, or
// -2^15) answers the largest positive value instead of staying negative.
inline int32_t LongAbs(int32_t v);
inline int16_t ShortAbs(int16_t v);

// The answers of LongMulLong and LongDivLong_TableShiftLeft when the result
// does not fit or the divisor is zero, with their reports.
[[gnu::cold]] int32_t AnswerProductOverflow(int32_t a, int32_t b, bool check, const char* source,
                                            int32_t line);
[[gnu::cold]] int32_t AnswerQuotientTrouble(int32_t b, bool check, const char* source, int32_t line);

// True when a signed 64-bit value fits an int32_t.
constexpr bool FitsInt32(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

inline int32_t LongMulLong(int32_t a, int32_t b, bool check, const char* source, int32_t line)
{
    // |a * b| <= 2^62 fits; dividing by 2^23 truncates toward zero.
    const int64_t product = int64_t{a} * b / FIXED_ONE;
    if (FitsInt32(product)) [[likely]]
        return static_cast<int32_t>(product);
    return AnswerProductOverflow(a, b, check, source, line);
}

inline int32_t LongDivLong_TableShiftLeft(int32_t a, int32_t b, bool check, const char* source,
                                          int32_t line)
{
    if (b != 0) [[likely]] {
        const int64_t quotient = int64_t{a} * FIXED_ONE / b;   // |a * 2^23| < 2^55
        if (FitsInt32(quotient)) [[likely]]
            return static_cast<int32_t>(quotient);
    }
    return AnswerQuotientTrouble(b, check, source, line);
}

inline int32_t LongAbs(int32_t v)
{
    if (v == INT32_MIN)
        return INT32_MAX;
    return v < 0 ? -v : v;
}

inline int16_t ShortAbs(int16_t v)
{
    if (v == INT16_MIN)
        return INT16_MAX;
    return static_cast<int16_t>(v < 0 ? -v : v);
}

}  // namespace LongMath
