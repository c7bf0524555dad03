// gam2anim.h: the gam2anim bridge calls through which the simulation reaches
// the environment: the weather alarm's update request, a disturbance coming
// due, and the weather and light at a position. The environment itself is
// world/Environment.h (gEnvironment).
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "world/WeatherReport.h"

namespace gam2anim {

// Asks gEnvironment for a weather step on the next pass of the main loop;
// nothing without gEnvironment.
void RequestWeatherUpdate();

// Hands a disturbance (a cell's row and column and its new pressure trend)
// to gEnvironment; nothing without gEnvironment or without a grid.
void ForwardToEnvironment(int32_t row, int32_t column, int8_t trend);

// Fills `report` with the weather at `point` (Environment::GetWeather), or
// clears it without gEnvironment.
void GetWeatherAt(WeatherReport& report, const LatLonPoint& point);

// The light at `point`: 1 day, 2 night, 4 twilight (Environment::GetLight);
// day without gEnvironment.
uint8_t GetLightAt(const LatLonPoint& point);

} // namespace gam2anim
