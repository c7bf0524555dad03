// Decibel.cpp: the decibel arithmetic of the detection tests.
#include "engagement/Decibel.h"

namespace {

// 100 x log10(n) rounded to the nearest whole number, n from 0 to 99 (0 for 0).
constexpr uint16_t LOG10_TIMES_100[100] = {
      0,   0,  30,  48,  60,  70,  78,  85,  90,  95,
    100, 104, 108, 111, 115, 118, 120, 123, 126, 128,
    130, 132, 134, 136, 138, 140, 141, 143, 145, 146,
    148, 149, 151, 152, 153, 154, 156, 157, 158, 159,
    160, 161, 162, 163, 164, 165, 166, 167, 168, 169,
    170, 171, 172, 172, 173, 174, 175, 176, 176, 177,
    178, 179, 179, 180, 181, 181, 182, 183, 183, 184,
    185, 185, 186, 186, 187, 188, 188, 189, 189, 190,
    190, 191, 191, 192, 192, 193, 193, 194, 194, 195,
    195, 196, 196, 197, 197, 198, 198, 199, 199, 200,
};

}  // namespace

uint32_t Log10Times100(uint32_t value)
{
    uint32_t decades = 0;
    while (value >= 100) {
        value /= 10;
        ++decades;
    }
    return 100 * decades + LOG10_TIMES_100[value];
}

uint32_t DecibelSum(uint16_t a, uint16_t b)
{
    const uint32_t high = a > b ? a : b;
    const uint32_t low = a > b ? b : a;
    switch (high - low) {
    case 0: return high + 2;
    case 1: return high + 1;
    default: return high;
    }
}
