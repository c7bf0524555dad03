// XYRect.h: XYRect, a rectangle on the projected map (y grows upwards, so top
// is at least bottom). Containment and intersection tests are in Geometry.h.
#pragma once

#include <cstdint>
#include <iosfwd>

struct XYRect {
    int32_t left = 0;
    int32_t top = 0;      // the larger y
    int32_t right = 0;
    int32_t bottom = 0;   // the smaller y

    constexpr XYRect() = default;
    constexpr XYRect(int32_t l, int32_t t, int32_t r, int32_t b)
        : left(l), top(t), right(r), bottom(b) {}

    constexpr bool operator==(const XYRect&) const = default;

    // True when a and b overlap, touching edges and corners included.
    static bool Overlaps(const XYRect& a, const XYRect& b);

    // Saved form, little-endian, 16 bytes: left, top, right, bottom, each i32.
    void Save(std::ostream& out) const;
    // On a short read the rectangle is left unchanged; answers the stream's state.
    bool Load(std::istream& in);
};
