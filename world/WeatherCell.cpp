// WeatherCell.cpp: one cell of the weather grid: its step, the air it takes
// in from upwind, precipitation, and its saved form.
#include "world/WeatherCell.h"

#include <algorithm>
#include <cstdlib>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/WeatherReport.h"

namespace {

// Temperature difference bounds of cloud and precipitation.
constexpr int32_t CLOUD_MIN_DIFFERENCE = 5;    // from 5 up clouds form
constexpr int32_t FOG_MAX_WIND = 5 * SPEED_PER_KNOT;
// Below this temperature precipitation falls as snow.
constexpr int32_t SNOW_BELOW = 301;
// Below this pressure a cell gathers moisture and may precipitate.
constexpr int32_t WET_BELOW = Weather_Cell::NEW_PRESSURE;

uint16_t ClampPressure(int32_t value)
{
    return static_cast<uint16_t>(std::clamp<int32_t>(value, 0, UINT16_MAX));
}

int16_t ClampTemperature(int32_t value)
{
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// One unit of `value` towards `goal`; `value` itself when they are equal.
int32_t OneTowards(int32_t value, int32_t goal)
{
    return value < goal ? value + 1 : value > goal ? value - 1 : value;
}

// The compass point opposite `direction` (0-7).
int OppositeOf(int direction)
{
    return direction - 4 < 0 ? direction + 4 : direction - 4;
}

} // namespace

int32_t Weather_Cell::WindSpeedOf(const Weather_Cell* cell)
{
    if (cell == nullptr) {
        FatalError("Weather_Cell::GetWind_Speed:  this == NULL");
        return 0;
    }
    return cell->GetWind_Speed();
}

int8_t Weather_Cell::TakeTrend()
{
    const int8_t taken = trend;
    if (trend > 0)
        --trend;
    else if (trend < 0)
        ++trend;
    return taken;
}

uint8_t Weather_Cell::TakeMoistureShare()
{
    moisture = static_cast<uint8_t>(moisture / 2);
    return moisture;
}

int8_t Weather_Cell::Step(int8_t high, uint16_t highest, int8_t low, uint16_t lowest, bool north,
                          int16_t target)
{
    int8_t result = NO_DIRECTION;
    int32_t newPressure = pressure;

    if (high != low) {   // both NO_DIRECTION: no neighbour counted, the wind stays
        int h = high;
        int l = low;
        if (l == NO_DIRECTION)
            l = OppositeOf(h);
        if (h == NO_DIRECTION)
            h = OppositeOf(l);

        // Halfway between the two, turned about when the halfway point lies
        // on the wrong side for the hemisphere's turn of the wind.
        int d = l + (h - l) / 2;
        if (north) {
            if (h < l)
                d += 4;
        } else if (l < h) {
            d -= 4;
        }
        if (d < 0)
            d += 8;
        else if (d > 7)
            d -= 8;
        result = static_cast<int8_t>(d);
        windDirection = d * ANGLE_EIGHTH;

        const int32_t difference = int32_t{highest} - int32_t{lowest};
        const int32_t perUnit = difference > 0 && difference < 9 ? 3 : 2;
        const int32_t knots = (difference / 2 - damping / 2) * perUnit;
        windSpeed = std::max(knots, 0) * SPEED_PER_KNOT;

        const int32_t toLowest = std::abs(newPressure - int32_t{lowest});
        const int32_t toHighest = std::abs(newPressure - int32_t{highest});
        if (toLowest < toHighest)
            newPressure += 2;
        else if (toHighest < toLowest)
            newPressure -= 2;
    }

    newPressure += trend;
    int32_t newTemperature = temperature;
    if (trend > 0)
        newTemperature -= 3;
    else if (trend < 0)
        newTemperature += 3;
    if (damping == 0)
        newTemperature = OneTowards(newTemperature, target);
    temperature = ClampTemperature(newTemperature);

    if (newPressure > HIGHEST_PRESSURE) {
        newPressure = HIGHEST_PRESSURE;
        trend = -1;
    } else if (newPressure < LOWEST_PRESSURE) {
        newPressure = LOWEST_PRESSURE;
        trend = 0;
    }
    pressure = static_cast<uint16_t>(newPressure);

    if (pressure < WET_BELOW && damping == 0) {
        const int32_t gathered = int32_t{moisture} + temperature / 100;
        moisture = static_cast<uint8_t>(std::clamp<int32_t>(gathered, 0, MOST_MOISTURE));
    }
    return result;
}

void Weather_Cell::Apply(uint16_t arrivingPressure, int16_t arrivingTemperature, int8_t arrivingTrend,
                         uint8_t arrivingMoisture)
{
    // A stronger trend, or one of the other sign, takes over; a calm one never does.
    if (arrivingTrend != 0
        && (trend == 0 || (arrivingTrend > 0) != (trend > 0)
            || std::abs(int{arrivingTrend}) > std::abs(int{trend})))
        trend = arrivingTrend;

    weatherCode = WeatherCode::CLEAR;
    cloudCover = CloudCover::CLEAR;
    moisture = static_cast<uint8_t>(std::min<int32_t>(int32_t{moisture} + arrivingMoisture, UINT8_MAX));

    if (temperature < arrivingTemperature) {
        temperature = ClampTemperature(int32_t{temperature} + 2);
        pressure = ClampPressure(int32_t{pressure} - 1);
    } else if (temperature > arrivingTemperature) {
        const int32_t difference = int32_t{temperature} - arrivingTemperature;
        if (moisture != 0 && difference >= CLOUD_MIN_DIFFERENCE) {
            cloudCover = difference < 15   ? CloudCover::SCATTERED
                         : difference < 25 ? CloudCover::PARTLY_CLOUDY
                                           : CloudCover::OVERCAST;
            if (pressure >= WET_BELOW)
                --moisture;
        }
        if (pressure < WET_BELOW && pressure < arrivingPressure)
            Precipitate(difference);
        temperature = ClampTemperature(int32_t{temperature} - 2);
        pressure = ClampPressure(int32_t{pressure} + 1);
    }

    // The pressure one unit towards the arriving air's, the temperature one
    // unit the other way.
    if (pressure < arrivingPressure) {
        pressure = ClampPressure(int32_t{pressure} + 1);
        temperature = ClampTemperature(int32_t{temperature} - 1);
    } else if (pressure > arrivingPressure) {
        pressure = ClampPressure(int32_t{pressure} - 1);
        temperature = ClampTemperature(int32_t{temperature} + 1);
    }
}

void Weather_Cell::Precipitate(int32_t difference)
{
    if (moisture == 0)
        return;
    uint8_t code = WeatherCode::CLEAR;
    if (windSpeed <= FOG_MAX_WIND && difference > 9 && difference < 15) {
        code = difference < 12   ? WeatherCode::LIGHT_FOG
               : difference < 14 ? WeatherCode::FOG
                                 : WeatherCode::HEAVY_FOG;
    } else if (difference > 14) {
        const uint8_t light = temperature < SNOW_BELOW ? WeatherCode::LIGHT_SNOW : WeatherCode::LIGHT_RAIN;
        code = static_cast<uint8_t>(light + (difference < 20 ? 0 : difference < 40 ? 1 : 2));
    }
    if (code != WeatherCode::CLEAR) {
        weatherCode = code;
        --moisture;
    }
}

bool Weather_Cell::Save(std::ostream& out) const
{
    SaveField(out, pressure);
    SaveField(out, windDirection);
    SaveField(out, windSpeed);
    SaveField(out, weatherCode);
    SaveField(out, moisture);
    SaveField(out, cloudCover);
    SaveField(out, temperature);
    SaveField(out, damping);
    SaveField(out, trend);
    return static_cast<bool>(out);
}

bool Weather_Cell::Load(std::istream& in)
{
    Weather_Cell read;
    LoadField(in, read.pressure);
    LoadField(in, read.windDirection);
    LoadField(in, read.windSpeed);
    LoadField(in, read.weatherCode);
    LoadField(in, read.moisture);
    LoadField(in, read.cloudCover);
    LoadField(in, read.temperature);
    LoadField(in, read.damping);
    LoadField(in, read.trend);
    if (!in)
        return false;
    // Reports and the map marks index tables by these: refuse what no step
    // can produce rather than pass it on.
    const bool compassPoint = read.windDirection >= 0 && read.windDirection < ANGLE_FULL
                              && read.windDirection % ANGLE_EIGHTH == 0;
    if (read.weatherCode > WeatherCode::LAST || read.cloudCover > CloudCover::LAST
        || read.windSpeed < 0 || !compassPoint) {
        in.setstate(std::ios::failbit);
        return false;
    }
    *this = read;
    return true;
}
