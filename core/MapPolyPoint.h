// MapPolyPoint.h: MapPolyPoint, one point of a coast, border or ice outline:
// a detail level and two coordinates, latitude and longitude as read, which
// the tile's projection later replaces by x and y. The tiles live in world/.
#pragma once

#include <cstdint>
#include <iosfwd>

struct MapPolyPoint {
    uint8_t level = 0;    // detail level (drawing compares it as a signed byte)
    int32_t first = 0;    // latitude as read; x once projected
    int32_t second = 0;   // longitude as read; y once projected

    // Read form, little-endian, 9 bytes with no padding:
    //   level    u8
    //   first    i32
    //   second   i32
    // On a short read the point is left unchanged; answers the stream's state.
    bool Load(std::istream& in);
};
