// XYPoint.h: XYPoint, a point on the projected map in angle units, y growing
// north. Projections that make them live in the projection classes.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Units.h"

struct XYPoint {
    int32_t x = 0;   // angle units, growing east
    int32_t y = 0;   // angle units, growing north (upwards)

    constexpr XYPoint() = default;
    constexpr XYPoint(int32_t xValue, int32_t yValue) : x(xValue), y(yValue) {}

    // The point that stands for no point: both coordinates NO_COORDINATE.
    static constexpr XYPoint None() { return {NO_COORDINATE, NO_COORDINATE}; }
    // Callers test the first coordinate only.
    constexpr bool IsNone() const { return x == NO_COORDINATE; }

    constexpr bool operator==(const XYPoint&) const = default;

    // The point halfway between a and b: per coordinate the smaller value plus
    // half the distance, rounded down, so the answer does not depend on the
    // order of a and b (between 0 and 3 it is 1 either way).
    static XYPoint Midpoint(const XYPoint& a, const XYPoint& b);

    // Saved form, little-endian, 8 bytes:
    //   x   i32
    //   y   i32
    void Save(std::ostream& out) const;
    // On a short read the point is left unchanged; answers the stream's state.
    bool Load(std::istream& in);
};
