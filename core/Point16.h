// Point16.h: Point16, a point of two 16-bit values, which the map uses for
// its tile identifiers (whole degrees). Never saved by itself.
#pragma once

#include <cstdint>

struct Point16 {
    int16_t x = 0;
    int16_t y = 0;

    constexpr bool operator==(const Point16&) const = default;
};
