// LatLonRect.h: LatLonRect, a geographic rectangle in angle units, and the
// world rectangle. Containment and crossing tests are in Geometry.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Units.h"

struct LatLonRect {
    int32_t north = 0;   // the larger latitude
    int32_t west = 0;    // the smaller longitude
    int32_t south = 0;
    int32_t east = 0;

    constexpr LatLonRect() = default;
    constexpr LatLonRect(int32_t n, int32_t w, int32_t s, int32_t e)
        : north(n), west(w), south(s), east(e) {}

    constexpr bool operator==(const LatLonRect&) const = default;

    // The whole earth: north 90, west -180, south -90, east 180 degrees.
    static constexpr LatLonRect World() { return {ANGLE_RIGHT, -ANGLE_HALF, -ANGLE_RIGHT, ANGLE_HALF}; }

    // Saved form, little-endian, 16 bytes: north, west, south, east, each i32.
    void Save(std::ostream& out) const;
    // On a short read the rectangle is left unchanged; answers the stream's state.
    bool Load(std::istream& in);
};
