// NavVector.h: NavVector, a range and a bearing, as the navigation maths
// answers them (NavMath.h). Never saved by itself.
#pragma once

#include <cstdint>

struct NavVector {
    int32_t range = 0;     // range units (1/4096 nm of great-circle arc)
    int32_t bearing = 0;   // angle units, clockwise from north

    constexpr NavVector() = default;
    constexpr NavVector(int32_t r, int32_t b) : range(r), bearing(b) {}

    constexpr bool operator==(const NavVector&) const = default;
};
