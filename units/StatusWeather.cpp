// StatusWeather.cpp: the weather lines of a unit's status panel.
#include "units/StatusWeather.h"

#include <cstddef>
#include <cstdio>

#include "world/Environment.h"

namespace {

// The cloud cover and precipitation texts by code; any other code reads
// "Clear".
const char* const CLOUD_TEXTS[] = {"Clear", "Scattered", "Partly Cloudy", "Overcast"};
const char* const PRECIPITATION_TEXTS[] = {"Clear",      "Light Fog", "Fog",        "Heavy Fog", "Light Rain",
                                           "Rain",       "Heavy Rain", "Light Snow", "Snow",      "Heavy Snow"};

template <size_t N>
const char* TableText(const char* const (&table)[N], uint8_t index)
{
    return index < N ? table[index] : "Clear";
}

}  // namespace

int PutWeatherLines(UnitStatus& status, int line, const LatLonPoint& point)
{
    WeatherReport weather;
    if (gEnvironment != nullptr)
        weather = gEnvironment->GetWeather(point);
    char sea[UnitStatus::LINE_SIZE] = {};
    std::snprintf(sea, sizeof sea, "%u", unsigned{weather.seaState});
    for (const char* text : {static_cast<const char*>(sea), TableText(CLOUD_TEXTS, weather.cloudCover),
                             TableText(PRECIPITATION_TEXTS, weather.weatherCode)}) {
        if (line < UnitStatus::LINE_COUNT)
            std::snprintf(status.lines[line++], UnitStatus::LINE_SIZE, "%.32s", text);
    }
    return line;
}
