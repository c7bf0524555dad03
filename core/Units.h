// Units.h: the fixed-point units every position, angle, range, speed and
// trigonometric value is held in, and their telling values. The arithmetic on
// them lives in LongMath, Sine and Tangent; navigation in NavMath.
#pragma once

#include <cstdint>

// Angles, latitudes, longitudes, bearings: int32_t in 1/4096 arc-minute.
// Bearings run clockwise from north; latitude is positive north, longitude east.
constexpr int32_t ANGLE_PER_MINUTE = 4096;
constexpr int32_t ANGLE_PER_DEGREE = 60 * ANGLE_PER_MINUTE;     // 245760 (0x3C000)
constexpr int32_t ANGLE_EIGHTH     = 45 * ANGLE_PER_DEGREE;     // 11059200 (0xA8C000)
constexpr int32_t ANGLE_RIGHT      = 90 * ANGLE_PER_DEGREE;     // 22118400 (0x1518000)
constexpr int32_t ANGLE_HALF       = 2 * ANGLE_RIGHT;           // 44236800 (0x2A30000)
constexpr int32_t ANGLE_THREE_QUARTERS = 3 * ANGLE_RIGHT;       // 66355200 (0x3F48000)
constexpr int32_t ANGLE_FULL       = 4 * ANGLE_RIGHT;           // 88473600 (0x5460000)

// Ranges: 1/4096 nautical mile, which is one angle unit of great-circle arc.
constexpr int32_t RANGE_PER_NM     = 4096;

// Speeds: 1/4096 knot.
constexpr int32_t SPEED_PER_KNOT   = 4096;

// Trigonometric values and ratios: Q23, 23 fraction bits.
constexpr int32_t FIXED_SHIFT      = 23;
constexpr int32_t FIXED_ONE        = int32_t{1} << FIXED_SHIFT;  // 8388608 = 1.0
constexpr int32_t FIXED_HALF       = FIXED_ONE / 2;              // 4194304 = 0.5

// The coordinate of the point that stands for no point: a LatLonPoint or
// XYPoint with both coordinates set to it. Callers test the first coordinate.
constexpr int32_t NO_COORDINATE    = 0x7FFFFFFF;
