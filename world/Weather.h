// Weather.h: Weather, the grid of half-degree Weather_Cells over a scenario's
// area: the weather at a point, Beaufort force and sea state, one weather
// step per alarm with its random disturbances, the grid's saved form and its
// marks on the map. The cell is world/WeatherCell.h; the owner that loads,
// saves and steps the grid is world/Environment.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Units.h"
#include "world/WeatherCell.h"
#include "world/WeatherReport.h"

class Weather {
public:
    // Half a degree, the size of a cell, in angle units; and the widening of
    // a grid of a non-zero kind on every side.
    static constexpr int32_t CELL_ANGLE = ANGLE_PER_DEGREE / 2;      // 122880
    static constexpr int32_t WIDENING = 5 * ANGLE_PER_DEGREE;        // 1228800
    // Half-degree columns of a whole turn.
    static constexpr int32_t TURN_COLUMNS = 720;

    // Map colour entries of the marks: sea states 1-9, cloud cover 1-3,
    // weather codes 1-9.
    static constexpr int16_t SEA_STATE_COLOUR = 67;     // + sea state: 68-76
    static constexpr int16_t CLOUD_COLOUR = 55;         // + cloud cover: 56-58
    static constexpr int16_t WEATHER_COLOUR = 58;       // + weather code: 59-67

    // Builds the grid over the scenario rectangle `area` (north, west, south,
    // east, angle units; west above east crosses the 180-degree meridian, and
    // equal west and east edges take the whole turn). Grid kind 0 covers the
    // area; any other kind widens it by five degrees on every side (not past
    // a pole, wrapping at 180 degrees). Rows and columns are counted from the
    // area's north and west edges in whole half degrees (divided towards
    // zero), so that every position of the area has a cell: a row for each
    // half-degree index from the north edge's to the south edge's, and
    // likewise for the columns. Edges off the globe are first brought onto
    // it. Every cell is new; the settings are 0.
    Weather(LatLonRect area, uint8_t gridKind);
    ~Weather() = default;
    Weather(const Weather&) = delete;
    Weather& operator=(const Weather&) = delete;

    // Saved form, little-endian (inside the weather section):
    //   gridKind            u8
    //   keptSetting         u8   carried for the file, read by nothing
    //   disturbanceChance   u8   percent per step, compared as a signed byte
    //   baseTemperature     i16
    //   temperatureStep     i16  per row
    //   cells               17 bytes each, latsize x lonsize, row 0 first,
    //                       each row from column 0
    // Answers whether the stream is still good.
    bool Save(std::ostream& out) const;
    // Reads the same after the grid kind, which the caller has read to build
    // the grid. Answers false as soon as a read fails or a cell is refused
    // (WeatherCell.h); the stream is failed then.
    bool Load(std::istream& in);

    // The weather in the cell of `point`: its sea state, force, cloud cover,
    // weather code and wind. A point without a cell in the grid is a fatal
    // error ("Weather::GetWeather has a problem." and the column and row) and
    // answers a cleared report.
    WeatherReport GetWeather(const LatLonPoint& point) const;

    // Beaufort force (0-12) and sea state (0-9) of the cell in row y, column x.
    // Outside the grid: a fatal error naming the bound, and 0.
    uint8_t GetBeaufort(int32_t y, int32_t x) const;
    uint8_t GetSeaState(int32_t y, int32_t x) const;

    // Force and sea state of a wind speed in 1/4096 knot, by the first bound
    // it lies below: force 2, 4, 7, 11, 17, 22, 28, 34, 41, 48, 56, 66 knots,
    // else 12; sea state 5, 10, 15, 20, 25, 30, 50, 60, 65 knots, else 9.
    static uint8_t ForceForWindSpeed(int32_t windSpeed);
    static uint8_t SeaStateForWindSpeed(int32_t windSpeed);

    // A true request marks a step pending; a pending step then runs: maybe a
    // disturbance (a WeatherEvent posted for 900 game seconds on), and every
    // cell, row by row from the north, steps and hands its air downwind.
    void Update(bool request);

    // The cell's trend becomes `trend` and its temperature that of its row.
    // A row or column outside the grid (an event from a damaged file) is
    // ignored.
    void SetDisturbance(int32_t row, int32_t column, int8_t trend);

    // The marks of the cells whose north-west corner lies in `view`, each a
    // plus sign at that corner: the sea state (from 1 up), the cloud cover,
    // the weather code. A view across the 180-degree meridian is drawn on
    // both sides.
    void DrawSeaStates(const LatLonRect& view) const;
    void DrawClouds(const LatLonRect& view) const;
    void DrawWeather(const LatLonRect& view) const;

    int32_t GetLatSize() const { return latsize; }
    int32_t GetLonSize() const { return lonsize; }
    // North and west edges in half degrees: of the grid, and of the scenario
    // area the positions are counted from.
    int32_t GetGridNorthIndex() const { return gridNorthIndex; }
    int32_t GetGridWestIndex() const { return gridWestIndex; }
    int32_t GetScenarioNorthIndex() const { return scenarioNorthIndex; }
    int32_t GetScenarioWestIndex() const { return scenarioWestIndex; }
    uint8_t GetGridKind() const { return gridKind; }
    bool IsStepPending() const { return stepPending != 0; }

    uint8_t GetKeptSetting() const { return keptSetting; }
    void SetKeptSetting(uint8_t value) { keptSetting = value; }
    uint8_t GetDisturbanceChance() const { return disturbanceChance; }
    void SetDisturbanceChance(uint8_t percent) { disturbanceChance = percent; }
    int16_t GetBaseTemperature() const { return baseTemperature; }
    void SetBaseTemperature(int16_t value) { baseTemperature = value; }
    int16_t GetTemperatureStep() const { return temperatureStep; }
    void SetTemperatureStep(int16_t perRow) { temperatureStep = perRow; }

    // The temperature row `row` tends to: base + step x row, in 16 bits.
    int16_t RowTemperature(int32_t row) const;

    // The row and column of `point`, counted from the scenario's north and
    // west edges (a negative column is taken a turn on, one past the grid a
    // turn back). Answers whether they lie in the grid.
    bool CellOf(const LatLonPoint& point, int32_t& row, int32_t& column) const;
    // The cell in row y, column x; nullptr outside the grid.
    Weather_Cell* GetCell(int32_t y, int32_t x);
    const Weather_Cell* GetCell(int32_t y, int32_t x) const;

private:
    bool IsInGrid(int32_t y, int32_t x) const { return y >= 0 && y < latsize && x >= 0 && x < lonsize; }
    // Reports a look-up outside the grid by `operation`; answers whether (y, x) is inside.
    bool CheckIndices(const char* operation, int32_t y, int32_t x) const;
    // The colour entry of a cell's mark, 0 for none; one per kind of mark.
    using MarkColour = int16_t (*)(const Weather_Cell& cell);
    void DrawMarks(const LatLonRect& view, MarkColour colourOf) const;
    void PlantDisturbance();
    // Hands the air of the cell at (y, x) that left in direction d to that neighbour.
    void HandOn(int32_t y, int32_t x, int8_t d, uint16_t pressure, int16_t temperature, int8_t trend,
                uint8_t moisture);

    std::vector<Weather_Cell> cells;   // latsize rows of lonsize cells, row 0 north
    int32_t gridNorthIndex = 0;        // half degrees
    int32_t gridWestIndex = 0;
    int32_t latsize = 0;               // rows
    int32_t lonsize = 0;               // columns
    int32_t scenarioNorthIndex = 0;    // half degrees, before any widening
    int32_t scenarioWestIndex = 0;
    uint8_t stepPending = 0;
    uint8_t gridKind = 0;
    uint16_t highestPressure = 0;      // working fields of a step
    uint16_t lowestPressure = 0;
    int16_t baseTemperature = 0;
    int16_t temperatureStep = 0;       // per row
    int8_t highDirection = Weather_Cell::NO_DIRECTION;
    int8_t lowDirection = Weather_Cell::NO_DIRECTION;
    uint8_t keptSetting = 0;
    uint8_t disturbanceChance = 0;     // percent per step, compared signed
};
