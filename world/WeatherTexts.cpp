// WeatherTexts.cpp: showing the weather's resource texts.
#include "world/WeatherTexts.h"

#include <cstdio>

#include "core/ResourceLoader.h"

void ReportWeatherText(int32_t number, void (*report)(const char*))
{
    const char* text = TheResourceLoader != nullptr ? TheResourceLoader->Get(number) : nullptr;
    if (text != nullptr) {
        report(text);
        TheResourceLoader->Free(number);
        return;
    }
    char fallback[48];
    std::snprintf(fallback, sizeof fallback, "Weather: resource text 0x%06X", static_cast<unsigned>(number));
    report(fallback);
}
