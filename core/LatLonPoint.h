// LatLonPoint.h: LatLonPoint, a position on the earth in angle units. The
// navigation maths on positions lives in NavMath.h, plane geometry in Geometry.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Units.h"

struct LatLonPoint {
    int32_t lat = 0;   // angle units, positive north
    int32_t lon = 0;   // angle units, positive east

    constexpr LatLonPoint() = default;
    constexpr LatLonPoint(int32_t latitude, int32_t longitude) : lat(latitude), lon(longitude) {}

    // The point that stands for no point: both coordinates NO_COORDINATE.
    static constexpr LatLonPoint None() { return {NO_COORDINATE, NO_COORDINATE}; }
    // Callers test the first coordinate only.
    constexpr bool IsNone() const { return lat == NO_COORDINATE; }

    // Equal when both fields are equal; != when either differs.
    constexpr bool operator==(const LatLonPoint&) const = default;

    // Saved form, little-endian, 8 bytes:
    //   lat   i32   angle units
    //   lon   i32   angle units
    void Save(std::ostream& out) const;
    // On a short read the point is left unchanged; answers the stream's state.
    bool Load(std::istream& in);
};
