// WeatherReport.h: WeatherReport, the weather at one point as the grid hands
// it to the units, sensors, events and the bridge (world/Weather.h builds it,
// world/Environment.h answers the question for a position).
#pragma once

#include <cstdint>

// Weather codes of a cell and a report.
namespace WeatherCode {
constexpr uint8_t CLEAR = 0;
constexpr uint8_t LIGHT_FOG = 1, FOG = 2, HEAVY_FOG = 3;
constexpr uint8_t LIGHT_RAIN = 4, RAIN = 5, HEAVY_RAIN = 6;
constexpr uint8_t LIGHT_SNOW = 7, SNOW = 8, HEAVY_SNOW = 9;
constexpr uint8_t LAST = HEAVY_SNOW;
} // namespace WeatherCode

// Cloud cover of a cell and a report.
namespace CloudCover {
constexpr uint8_t CLEAR = 0, SCATTERED = 1, PARTLY_CLOUDY = 2, OVERCAST = 3;
constexpr uint8_t LAST = OVERCAST;
} // namespace CloudCover

struct WeatherReport {
    uint8_t seaState = 0;     // 0 to 9
    uint8_t beaufort = 0;     // Beaufort force, 0 to 12
    uint8_t cloudCover = 0;   // 0 clear, 1 scattered, 2 partly cloudy, 3 overcast
    uint8_t weatherCode = 0;  // 0 clear; 1-3 fog, 4-6 rain, 7-9 snow (light, -, heavy)
    int32_t windSpeed = 0;    // 1/4096 knot
    int32_t windDirection = 0;// angle units, a multiple of 45 degrees: where the air goes

    constexpr WeatherReport() = default;
    constexpr bool operator==(const WeatherReport&) const = default;

    // All states and both words back to zero.
    void Clear() { *this = WeatherReport(); }
};
