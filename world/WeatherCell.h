// WeatherCell.h: Weather_Cell, the air mass of one half-degree cell of the
// weather grid: pressure, temperature, moisture and pressure trend, and the
// wind, cloud cover and weather code that follow from them. The grid that
// steps the cells and carries air between them is world/Weather.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

class Weather_Cell {
public:
    // Compass directions of the eight neighbours, 0 north then clockwise;
    // NO_DIRECTION when there is none.
    static constexpr int8_t NO_DIRECTION = -1;

    // Pressure bounds a step keeps a cell within, and the pressure of a new
    // cell; tenths of a millibar.
    static constexpr uint16_t NEW_PRESSURE = 10155;
    static constexpr uint16_t LOWEST_PRESSURE = 9500;
    static constexpr uint16_t HIGHEST_PRESSURE = 10300;
    // The moisture a step leaves a cell with lies within 0 and this.
    static constexpr uint8_t MOST_MOISTURE = 20;

    // Bytes of the saved form.
    static constexpr int SAVED_SIZE = 17;

    // Pressure 10155, every other field 0.
    Weather_Cell() = default;

    uint16_t GetPressure() const { return pressure; }
    void SetPressure(uint16_t tenthsOfMillibar) { pressure = tenthsOfMillibar; }
    int16_t GetTemperature() const { return temperature; }
    void SetTemperature(int16_t value) { temperature = value; }
    int8_t GetTrend() const { return trend; }
    void SetTrend(int8_t value) { trend = value; }
    uint8_t GetMoisture() const { return moisture; }
    void SetMoisture(uint8_t value) { moisture = value; }
    uint8_t GetDamping() const { return damping; }
    void SetDamping(uint8_t value) { damping = value; }

    // Wind speed in 1/4096 knot, never negative after a step.
    int32_t GetWind_Speed() const { return windSpeed; }
    // The wind speed of `cell`; a null cell is a fatal error
    // ("Weather_Cell::GetWind_Speed:  this == NULL") and answers 0.
    static int32_t WindSpeedOf(const Weather_Cell* cell);
    // Where the air moves, in angle units: a multiple of 45 degrees.
    int32_t GetWindDirection() const { return windDirection; }
    // Sets the wind (a scenario's starting weather); the next step that finds
    // a pressure difference replaces it.
    void SetWind(int32_t direction, int32_t speed) { windDirection = direction; windSpeed = speed; }
    uint8_t GetCloudCover() const { return cloudCover; }
    void SetCloudCover(uint8_t value) { cloudCover = value; }
    uint8_t GetWeatherCode() const { return weatherCode; }
    void SetWeatherCode(uint8_t value) { weatherCode = value; }

    // Answers the trend and then moves it one step towards 0.
    int8_t TakeTrend();
    // Halves the moisture (the odd unit is lost) and answers the half the
    // cell gives up to the air it hands on.
    uint8_t TakeMoistureShare();

    // One step of the cell between its highest neighbour (direction high, at
    // pressure highest) and its lowest (direction low, at lowest), with
    // `north` true north of the equator and `target` the temperature the
    // cell's row tends to. Sets the wind from the two neighbours (when there
    // is at least one), moves the pressure by the trend and within its
    // bounds, the temperature towards `target` and gathers moisture. Answers
    // the direction the cell's air goes (0-7), or NO_DIRECTION when both
    // neighbour directions are NO_DIRECTION; then the wind is left alone.
    int8_t Step(int8_t high, uint16_t highest, int8_t low, uint16_t lowest, bool north,
                int16_t target);

    // Takes in the air of an upwind cell: its pressure, temperature, trend
    // and moisture share. Warmer air arriving over colder makes cloud and may
    // precipitate; the pressure and temperature then move one unit towards
    // the arriving air's.
    void Apply(uint16_t arrivingPressure, int16_t arrivingTemperature, int8_t arrivingTrend,
               uint8_t arrivingMoisture);

    // Fog, rain or snow from a temperature difference `difference` between
    // the cell and the air over it, when the cell holds moisture; each costs
    // one unit of moisture.
    void Precipitate(int32_t difference);

    // Saved form, 17 bytes, little-endian:
    //   pressure        u16  tenths of a millibar
    //   windDirection   i32  angle units
    //   windSpeed       i32  1/4096 knot
    //   weatherCode     u8   0-9
    //   moisture        u8
    //   cloudCover      u8   0-3
    //   temperature     i16
    //   damping         u8
    //   trend           i8
    bool Save(std::ostream& out) const;
    // Reads a cell. Answers false, and fails the stream, on a short read or
    // when a field lies outside what a step can leave (weather code above 9,
    // cloud cover above 3, a negative wind speed, a wind direction that is no
    // compass point); the cell is then unchanged.
    bool Load(std::istream& in);

private:
    uint16_t pressure = NEW_PRESSURE;   // tenths of a millibar
    int32_t windDirection = 0;          // angle units
    int32_t windSpeed = 0;              // 1/4096 knot
    int16_t temperature = 0;
    uint8_t weatherCode = 0;            // WeatherCode
    uint8_t moisture = 0;
    uint8_t cloudCover = 0;             // CloudCover
    uint8_t damping = 0;                // from the scenario: calms the wind, holds the air
    int8_t trend = 0;                   // pressure change per step
};
