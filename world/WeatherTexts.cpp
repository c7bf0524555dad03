// WeatherTexts.cpp: showing the weather's resource texts.
#include "world/WeatherTexts.h"

#include "core/ResourceText.h"

void ReportWeatherText(int32_t number, void (*report)(const char*))
{
    ReportResourceText(number, "Weather", report);
}
