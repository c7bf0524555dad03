// WeatherTexts.h: the resource texts with which the environment and the
// weather events report trouble, and the one routine that shows them.
#pragma once

#include <cstdint>

namespace WeatherText {
constexpr int32_t OFF_MAP = 0x7B00B1;          // a weather question about a point off the map
constexpr int32_t EVENT_NOT_SAVED = 0x7B00BC;  // a weather event could not be written
constexpr int32_t EVENT_NOT_LOADED = 0x7B00BD; // a weather event could not be read
} // namespace WeatherText

// Passes resource text `number` to `report` (ErrorBox or FatalError) and
// releases it. Without a resource loader, or when the text cannot be had,
// the number itself is reported, so that the problem is still named.
void ReportWeatherText(int32_t number, void (*report)(const char*));
