// MinMax.h: the small minimum and maximum functions of the game model over
// 8- and 16-bit values. Each compares in the width and signedness of its name
// (an argument is taken by its low 8 or 16 bits), and on a tie returns its
// second argument, which holds the same value.
#pragma once

#include <cstdint>

constexpr int16_t  MinI16(int16_t a, int16_t b)   { return a < b ? a : b; }
constexpr int8_t   MinI8(int8_t a, int8_t b)      { return a < b ? a : b; }
constexpr uint8_t  MinU8(uint8_t a, uint8_t b)    { return a < b ? a : b; }
constexpr uint16_t MinU16(uint16_t a, uint16_t b) { return a < b ? a : b; }
constexpr int16_t  MaxI16(int16_t a, int16_t b)   { return a > b ? a : b; }
constexpr uint16_t MaxU16(uint16_t a, uint16_t b) { return a > b ? a : b; }
constexpr uint8_t  MaxU8(uint8_t a, uint8_t b)    { return a > b ? a : b; }
