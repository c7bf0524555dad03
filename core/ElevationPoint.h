// ElevationPoint.h: ElevationPoint, a height at a position, as the map's
// highest-point search answers it. Never saved by itself.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"

struct ElevationPoint {
    int16_t value = 0;      // altitude (positive) or depth (negative)
    LatLonPoint position;
};
