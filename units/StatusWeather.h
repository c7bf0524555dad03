// StatusWeather.h: the weather lines of a unit's status panel (sea state,
// cloud cover, precipitation) and the emitting/silent texts, shared by the
// unit classes that show them.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "units/UnitStatus.h"

// Resource texts of the emitter line.
constexpr int32_t STATUS_EMITTING_TEXT = 0x7B019F;
constexpr int32_t STATUS_SILENT_TEXT = 0x7B01A0;

// Writes the three weather lines at the point (the environment's weather;
// a clear report without one) from line `line` on, as far as the record
// has lines; answers the next free line.
int PutWeatherLines(UnitStatus& status, int line, const LatLonPoint& point);
