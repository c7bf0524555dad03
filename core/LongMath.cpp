// LongMath.cpp: the answers and reports of the fixed-point multiply and divide
// when a result does not fit, and the divide and multiply at a chosen scale.
// Every operation works on 64-bit intermediates and narrows explicitly.
#include "core/LongMath.h"

#include <cstdio>

#include "core/ErrorReport.h"
#include "core/Units.h"

namespace LongMath {

namespace {

// Reports "<what>Called from <source> at line # <line>\n" as a fatal error.
// Kept out of line so the arithmetic paths stay short.
[[gnu::noinline, gnu::cold]] void ReportFromCaller(const char* what, const char* source,
                                                   int32_t line)
{
    char text[256];
    std::snprintf(text, sizeof text, "%sCalled from %s at line # %ld\n", what,
                  source != nullptr ? source : "", static_cast<long>(line));
    FatalError(text);
}

// The magnitude of v; -2^31 gives 2^31, which an int32_t cannot hold.
uint64_t Magnitude(int32_t v)
{
    return v < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(v))
                 : static_cast<uint64_t>(v);
}

// Applies a sign to a magnitude below 2^32, wrapping as 32-bit arithmetic does.
// Needs: magnitude < 2^32.
int32_t Signed(uint64_t magnitude, bool negative)
{
    const uint32_t low = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - low : low);
}

// True when a magnitude with a sign fits an int32_t (-2^31 does, +2^31 does not).
bool FitsInt32(uint64_t magnitude, bool negative)
{
    return magnitude <= uint64_t{INT32_MAX} + (negative ? 1 : 0);
}

}  // namespace

int32_t AnswerProductOverflow(int32_t a, int32_t b, bool check, const char* source, int32_t line)
{
    if (!check)
        return OVERFLOW_VALUE;
    ReportFromCaller("Multiplication: overflow error.  ", source, line);
    // FatalError may return: the low 32 bits of the truncated product, signed.
    const uint64_t magnitude = (Magnitude(a) * Magnitude(b)) >> FIXED_SHIFT;   // at most 2^39
    return Signed(magnitude & 0xFFFFFFFFu, (a < 0) != (b < 0));
}

int32_t AnswerQuotientTrouble(int32_t b, bool check, const char* source, int32_t line)
{
    if (b == 0) {
        ReportFromCaller("LongMath::LongDivLong_TableShiftLeft: divide by zero error.  ", source,
                         line);
        return OVERFLOW_VALUE;                                  // never divide by zero
    }
    if (check)
        ReportFromCaller("LongMath::LongDivLong_TableShiftLeft:  OverFlow Error.  ", source, line);
    return OVERFLOW_VALUE;
}

int32_t LongDivLong_UseShiftLeft(int32_t a, int32_t b, int32_t& shift)
{
    if (b == 0) {
        FatalError("LongMath::LongDivLong_UseShiftLeft: divide by zero error.\n");
        shift = FIXED_SHIFT;
        return OVERFLOW_VALUE;
    }
    int32_t result = OVERFLOW_VALUE;
    shift = FIXED_SHIFT + 1;
    while (shift > 0 && result == OVERFLOW_VALUE) {
        --shift;
        if (shift <= 0)
            FatalError("LongMath::LongDivLong_UseShiftLeft: shift <= 0");
        const int64_t quotient = (int64_t{a} << shift) / b;    // shift <= 23: no overflow
        result = FitsInt32(quotient) ? static_cast<int32_t>(quotient) : OVERFLOW_VALUE;
    }
    return result;
}

int32_t LongMulLong_UseShiftRight(int32_t a, int32_t b, int32_t shift)
{
    const int32_t bits = shift < 0 ? 0 : (shift > 63 ? 63 : shift);
    const bool negative = (a < 0) != (b < 0);
    const uint64_t product = Magnitude(a) * Magnitude(b);
    const uint64_t magnitude = product >> bits;
    if (!FitsInt32(magnitude, negative))
        return OVERFLOW_VALUE;
    return Signed(magnitude, negative);
}

}  // namespace LongMath
