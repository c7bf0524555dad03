// gam2anim.cpp: the simulation's calls into the environment.
#include "world/gam2anim.h"

#include "world/Environment.h"

namespace gam2anim {

void RequestWeatherUpdate()
{
    if (gEnvironment != nullptr)
        gEnvironment->RequestUpdate();
}

void ForwardToEnvironment(int32_t row, int32_t column, int8_t trend)
{
    // An event can come due while a scenario is being replaced.
    if (gEnvironment != nullptr)
        gEnvironment->SetDisturbance(row, column, trend);
}

void GetWeatherAt(WeatherReport& report, const LatLonPoint& point)
{
    if (gEnvironment != nullptr)
        report = gEnvironment->GetWeather(point);
    else
        report.Clear();
}

uint8_t GetLightAt(const LatLonPoint& point)
{
    return gEnvironment != nullptr ? gEnvironment->GetLight(point) : Environment::LIGHT_DAY;
}

} // namespace gam2anim
