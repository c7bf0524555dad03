// Decibel.h: signal levels on the logarithmic scale of the detection tests
// (hundredths of a bel): Log10Times100 and DecibelSum.
#pragma once

#include <cstdint>

// 100 x log10(value), from a table of the values 1 to 99 after dividing by
// 10 (truncating) until below 100: 1000 and 999 both give 300, 199 gives
// 228. 0 and 1 give 0.
uint32_t Log10Times100(uint32_t value);

// Two levels combined as the sonar does: the higher one, plus 2 when they
// are equal and plus 1 when they differ by one.
uint32_t DecibelSum(uint16_t a, uint16_t b);
