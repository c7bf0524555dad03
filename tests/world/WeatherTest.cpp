// WeatherTest.cpp: the weather grid and its cells: grid sizes (across the
// date line, widened, odd edges), the cell of every on-map position, force
// and sea state, the cell's step, the air it takes in and precipitation, the
// grid's step and its random disturbances, the saved form with every cut
// refused, the map marks, and the WeatherEvent that plants a disturbance.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/Event.h"
#include "core/RandomGen.h"
#include "core/gam2arena.h"
#include "support/Bytes.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/Environment.h"
#include "world/MapTestSupport.h"
#include "world/Weather.h"
#include "world/WeatherCell.h"
#include "world/WeatherEvent.h"

using maptest::At;
using maptest::Deg;

namespace {

constexpr int8_t NONE = Weather_Cell::NO_DIRECTION;
constexpr int8_t NORTH = 0, EAST = 2, SOUTH = 4, WEST = 6;

int32_t Knots(double knots)
{
    return static_cast<int32_t>(std::lround(knots * SPEED_PER_KNOT));
}

LatLonRect Area(double north, double west, double south, double east)
{
    return LatLonRect(Deg(north), Deg(west), Deg(south), Deg(east));
}

std::string SaveGrid(const Weather& grid)
{
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(grid.Save(out));
    return out.str();
}

// ---------------------------------------------------------------- grid size

TEST(WeatherGrid, SizesFollowTheScenarioArea)
{
    struct Row {
        const char* name;
        LatLonRect area;
        uint8_t kind;
        int32_t rows, columns;
    };
    const Row rows[] = {
        {"10 by 10 degrees", Area(10, 0, 0, 10), 0, 21, 21},
        {"10 by 10 degrees, widened", Area(10, 0, 0, 10), 1, 41, 41},
        {"170E to 170W", Area(10, 170, 0, -170), 0, 21, 41},
        {"170E to 170W, widened", Area(10, 170, 0, -170), 7, 41, 61},
        {"widened across the date line", Area(10, -178, 0, -170), 1, 41, 37},
        {"equal west and east edges: the whole turn", Area(10, 20, 0, 20), 0, 21, 721},
        {"across the equator", Area(1, 0, -1, 1), 0, 5, 3},
        {"widened at the pole", Area(88, 0, 80, 1), 1, 31, 23},
        // Each of these used to get too few cells for its own positions:
        // the south edge 8.95 lies in half-degree row 3 of 10.1 (3 rows).
        {"10.1 to 8.95 north", Area(10.1, 0, 8.95, 1), 0, 4, 3},
        // Less than half a degree tall: used to get no rows at all.
        {"0.3 degrees tall", Area(10.3, 0, 10.0, 1), 0, 1, 3},
        // West -4.05 to east -2.9: used to get 3 columns, -2.9 lies in the 4th.
        {"-4.05 to -2.9 east", Area(1, -4.05, 0, -2.9), 0, 3, 4},
        // A widening that wraps a nearly whole turn onto itself used to leave 11.
        {"355 degrees wide, widened", Area(1, -177.5, 0, 177.5), 1, 23, 711},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Weather grid(r.area, r.kind);
        EXPECT_EQ(grid.GetLatSize(), r.rows);
        EXPECT_EQ(grid.GetLonSize(), r.columns);
        EXPECT_EQ(grid.GetScenarioNorthIndex(), r.area.north / Weather::CELL_ANGLE);
        EXPECT_EQ(grid.GetScenarioWestIndex(), r.area.west / Weather::CELL_ANGLE);
        EXPECT_EQ(grid.GetGridKind(), r.kind);
        EXPECT_FALSE(grid.IsStepPending());
        const Weather_Cell* cell = grid.GetCell(r.rows - 1, r.columns - 1);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->GetPressure(), Weather_Cell::NEW_PRESSURE);
        EXPECT_EQ(grid.GetCell(r.rows, 0), nullptr);
        EXPECT_EQ(grid.GetCell(0, r.columns), nullptr);
    }
}

TEST(WeatherGrid, AreaOffTheGlobeIsBroughtOntoIt)
{
    // A damaged rectangle sizes no grid larger than the globe.
    const Weather grid(LatLonRect(INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX), 1);
    EXPECT_EQ(grid.GetLatSize(), 361);
    EXPECT_EQ(grid.GetLonSize(), 721);
    EXPECT_EQ(grid.GetScenarioNorthIndex(), 180);
    EXPECT_EQ(grid.GetScenarioWestIndex(), -360);
}

TEST(WeatherGrid, WideningMovesTheGridEdgesOnly)
{
    const Weather plain(Area(10, 0, 0, 10), 0);
    const Weather widened(Area(10, 0, 0, 10), 1);
    EXPECT_EQ(plain.GetGridNorthIndex(), 20);
    EXPECT_EQ(plain.GetGridWestIndex(), 0);
    EXPECT_EQ(widened.GetGridNorthIndex(), 30);
    EXPECT_EQ(widened.GetGridWestIndex(), -10);
    EXPECT_EQ(widened.GetScenarioNorthIndex(), 20);
    EXPECT_EQ(widened.GetScenarioWestIndex(), 0);

    // Positions count from the scenario's edges in both: the north edge is row 0.
    for (const Weather* grid : {&plain, &widened}) {
        int32_t row = -1;
        int32_t column = -1;
        EXPECT_TRUE(grid->CellOf(At(10, 0), row, column));
        EXPECT_EQ(row, 0);
        EXPECT_EQ(column, 0);
        EXPECT_TRUE(grid->CellOf(At(0, 10), row, column));
        EXPECT_EQ(row, 20);
        EXPECT_EQ(column, 20);
    }
}

TEST(WeatherGrid, EveryPositionOfTheAreaHasACell)
{
    struct Row {
        const char* name;
        LatLonRect area;
        uint8_t kind;
    };
    const Row rows[] = {
        {"aligned", Area(10, 0, 0, 10), 0},
        {"odd edges", Area(10.1, -4.05, 8.95, -2.9), 0},
        {"odd edges, widened", Area(10.1, -4.05, 8.95, -2.9), 1},
        {"thin", Area(10.3, 3.1, 10.0, 3.2), 0},
        {"across the equator and meridian", Area(0.7, -0.7, -0.9, 0.45), 0},
        {"across the date line", Area(-60.2, 179.7, -61.9, -179.7), 0},
        {"across the date line, widened", Area(-60.2, 179.7, -61.9, -179.7), 1},
        {"to the pole", Area(90, 10, 89.2, 11), 1},
        {"the whole turn", Area(5, 33.3, 4, 33.3), 0},
        {"nearly the whole turn, widened", Area(1, -177.5, 0, 177.5), 1},
    };
    ReportCapture reports;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Weather grid(r.area, r.kind);
        const int64_t width = r.area.west < r.area.east ? int64_t{r.area.east} - r.area.west
                                                        : int64_t{r.area.east} + ANGLE_FULL - r.area.west;
        // A lattice finer than a cell, with both edges themselves.
        constexpr int STEPS = 37;
        for (int i = 0; i <= STEPS; ++i) {
            const int32_t lat = static_cast<int32_t>(r.area.south + (int64_t{r.area.north} - r.area.south) * i / STEPS);
            for (int j = 0; j <= STEPS; ++j) {
                int64_t lon = r.area.west + width * j / STEPS;
                if (lon > ANGLE_HALF)
                    lon -= ANGLE_FULL;
                const LatLonPoint point(lat, static_cast<int32_t>(lon));
                int32_t row = 0;
                int32_t column = 0;
                ASSERT_TRUE(grid.CellOf(point, row, column))
                    << "lat " << point.lat << " lon " << point.lon << " row " << row << " column " << column;
                grid.GetWeather(point);
            }
        }
    }
    EXPECT_TRUE(reports.fatals.empty());
}

TEST(WeatherGrid, PositionOffTheGridIsFatalAndAnswersAClearedReport)
{
    Weather grid(Area(10, 0, 0, 10), 0);
    grid.GetCell(0, 0)->SetWind(ANGLE_EIGHTH, Knots(30));
    ReportCapture reports;
    const WeatherReport report = grid.GetWeather(At(-1, 2));
    EXPECT_EQ(report, WeatherReport());
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0],
              "Weather::GetWeather has a problem.\nx = 4    and lonsize = 21\ny = 22    and latsize = 21\n");
}

TEST(WeatherGrid, ReportIsTheCellsWeather)
{
    Weather grid(Area(10, 0, 0, 10), 0);
    Weather_Cell* cell = grid.GetCell(4, 6);
    cell->SetWind(3 * ANGLE_EIGHTH, Knots(23));
    cell->SetCloudCover(CloudCover::PARTLY_CLOUDY);
    cell->SetWeatherCode(WeatherCode::RAIN);
    WeatherReport expected;
    expected.seaState = 4;
    expected.beaufort = 6;
    expected.cloudCover = CloudCover::PARTLY_CLOUDY;
    expected.weatherCode = WeatherCode::RAIN;
    expected.windSpeed = Knots(23);
    expected.windDirection = 3 * ANGLE_EIGHTH;
    EXPECT_EQ(grid.GetWeather(At(8, 3)), expected);
    EXPECT_EQ(grid.GetWeather(At(8.4, 3.4)), expected);
    EXPECT_EQ(grid.GetWeather(At(7.9, 3.4)), WeatherReport());
}

// --------------------------------------------------------- force, sea state

TEST(WeatherGrid, ForceAndSeaStateOfAWindSpeed)
{
    struct Row { double knots; uint8_t force, seaState; };
    const Row rows[] = {
        {0, 0, 0},       {1.99, 0, 0},   {2, 1, 0},     {3.99, 1, 0},  {4, 2, 0},
        {4.99, 2, 0},    {5, 2, 1},      {7, 3, 1},     {10, 3, 2},    {11, 4, 2},
        {15, 4, 3},      {17, 5, 3},     {20, 5, 4},    {22, 6, 4},    {25, 6, 5},
        {28, 7, 5},      {30, 7, 6},     {34, 8, 6},    {41, 9, 6},    {48, 10, 6},
        {50, 10, 7},     {56, 11, 7},    {60, 11, 8},   {64.99, 11, 8}, {65, 11, 9},
        {66, 12, 9},     {500, 12, 9},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.knots << " knots");
        EXPECT_EQ(Weather::ForceForWindSpeed(Knots(r.knots)), r.force);
        EXPECT_EQ(Weather::SeaStateForWindSpeed(Knots(r.knots)), r.seaState);
    }
    EXPECT_EQ(Weather::ForceForWindSpeed(-1), 0);
    EXPECT_EQ(Weather::SeaStateForWindSpeed(INT32_MAX), 9);
}

TEST(WeatherGrid, ForceAndSeaStateOfACellAndTheirBounds)
{
    Weather grid(Area(10, 0, 0, 10), 0);
    grid.GetCell(20, 20)->SetWind(0, Knots(65));
    ReportCapture reports;
    EXPECT_EQ(grid.GetBeaufort(20, 20), 11);
    EXPECT_EQ(grid.GetSeaState(20, 20), 9);
    EXPECT_TRUE(reports.fatals.empty());

    struct Row { int32_t y, x; const char* problem; };
    const Row rows[] = {
        {21, 0, "y >= latsize"}, {0, 21, "x >= lonsize"}, {-1, 0, "y < 0"},
        {0, -1, "x < 0"},        {21, 21, "y >= latsize"}, {-1, 99, "x >= lonsize"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.y << ", " << r.x);
        reports.Clear();
        EXPECT_EQ(grid.GetBeaufort(r.y, r.x), 0);
        EXPECT_EQ(grid.GetSeaState(r.y, r.x), 0);
        ASSERT_EQ(reports.fatals.size(), 2u);
        EXPECT_EQ(reports.fatals[0], std::string("Weather::GetBeaufort called with ") + r.problem + ".");
        EXPECT_EQ(reports.fatals[1], std::string("Weather::GetSeaState called with ") + r.problem + ".");
    }

    reports.Clear();
    EXPECT_EQ(Weather_Cell::WindSpeedOf(nullptr), 0);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Weather_Cell::GetWind_Speed:  this == NULL");
}

// -------------------------------------------------------------- cell state

TEST(WeatherCell, TrendAndMoistureShare)
{
    Weather_Cell cell;
    cell.SetTrend(3);
    EXPECT_EQ(cell.TakeTrend(), 3);
    EXPECT_EQ(cell.GetTrend(), 2);
    cell.SetTrend(-1);
    EXPECT_EQ(cell.TakeTrend(), -1);
    EXPECT_EQ(cell.GetTrend(), 0);
    EXPECT_EQ(cell.TakeTrend(), 0);
    EXPECT_EQ(cell.GetTrend(), 0);

    cell.SetMoisture(7);
    EXPECT_EQ(cell.TakeMoistureShare(), 3);   // the odd unit is lost
    EXPECT_EQ(cell.GetMoisture(), 3);
}

TEST(WeatherCellStep, WindFromTheHighestAndLowestNeighbours)
{
    struct Row {
        const char* name;
        int8_t high;
        uint16_t highest;
        int8_t low;
        uint16_t lowest;
        bool north;
        uint8_t damping;
        int8_t direction;
        double knots;
        uint16_t pressure;   // after the step (trend 0)
    };
    const Row rows[] = {
        {"difference 8 gives 12 knots", EAST, 10163, NONE, 10155, true, 0, NORTH, 12, 10157},
        {"difference 9 gives 8 knots", EAST, 10164, NONE, 10155, true, 0, NORTH, 8, 10157},
        {"damping lowers the wind", EAST, 10163, NONE, 10155, true, 4, NORTH, 6, 10157},
        {"damping never makes it negative", EAST, 10157, NONE, 10155, true, 9, NORTH, 0, 10157},
        {"south of the equator", EAST, 10163, NONE, 10155, false, 0, SOUTH, 12, 10157},
        {"high north, low south", NORTH, 10165, SOUTH, 10145, true, 0, WEST, 20, 10155},
        {"high north, low south, southern", NORTH, 10165, SOUTH, 10145, false, 0, EAST, 20, 10155},
        {"only a lower neighbour", NONE, 10155, EAST, 10150, true, 0, SOUTH, 6, 10153},
        {"north-west high, south-east low", 7, 10160, 3, 10150, true, 0, 5, 10, 10155},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Weather_Cell cell;
        cell.SetDamping(r.damping);
        cell.SetWind(5 * ANGLE_EIGHTH, Knots(40));
        const uint16_t start = r.highest >= 10155 && r.lowest <= 10155 ? 10155 : r.lowest;
        cell.SetPressure(start);
        EXPECT_EQ(cell.Step(r.high, r.highest, r.low, r.lowest, r.north, 0), r.direction);
        EXPECT_EQ(cell.GetWindDirection(), r.direction * ANGLE_EIGHTH);
        EXPECT_EQ(cell.GetWind_Speed(), Knots(r.knots));
        EXPECT_EQ(cell.GetPressure(), r.pressure);
    }
}

TEST(WeatherCellStep, WithoutNeighboursTheWindStaysAndTheTrendStillActs)
{
    Weather_Cell cell;
    cell.SetWind(2 * ANGLE_EIGHTH, Knots(14));
    cell.SetTrend(2);
    cell.SetTemperature(10);
    EXPECT_EQ(cell.Step(NONE, 10155, NONE, 10155, true, 20), NONE);
    EXPECT_EQ(cell.GetWindDirection(), 2 * ANGLE_EIGHTH);
    EXPECT_EQ(cell.GetWind_Speed(), Knots(14));
    EXPECT_EQ(cell.GetPressure(), 10157);
    EXPECT_EQ(cell.GetTrend(), 2);             // does not decay here
    EXPECT_EQ(cell.GetTemperature(), 10 - 3 + 1);

    cell.SetTrend(-1);
    cell.SetDamping(1);                        // damping holds the temperature
    EXPECT_EQ(cell.Step(NONE, 10157, NONE, 10157, true, 20), NONE);
    EXPECT_EQ(cell.GetPressure(), 10156);
    EXPECT_EQ(cell.GetTemperature(), 8 + 3);
}

TEST(WeatherCellStep, PressureBoundsAndMoisture)
{
    struct Row {
        const char* name;
        uint16_t pressure;
        int8_t trend;
        int16_t temperature;
        uint8_t damping, moisture;
        uint16_t pressureAfter;
        int8_t trendAfter;
        uint8_t moistureAfter;
    };
    const Row rows[] = {
        {"rising past the top", 10299, 3, 0, 0, 0, 10300, -1, 0},
        {"exactly the top", 10297, 3, 0, 0, 0, 10300, 3, 0},
        {"falling past the bottom", 9501, -3, 0, 0, 0, 9500, 0, 0},
        {"a low cell gathers moisture", 10000, 0, 550, 0, 3, 10000, 0, 8},
        {"never above 20", 10000, 0, 900, 0, 18, 10000, 0, 20},
        {"cold takes moisture, never below 0", 10000, 0, -250, 0, 1, 10000, 0, 0},
        {"a high cell gathers none", 10155, 0, 900, 0, 3, 10155, 0, 3},
        {"nor does a damped one", 10000, 0, 900, 2, 3, 10000, 0, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Weather_Cell cell;
        cell.SetPressure(r.pressure);
        cell.SetTrend(r.trend);
        cell.SetTemperature(r.temperature);
        cell.SetDamping(r.damping);
        cell.SetMoisture(r.moisture);
        cell.Step(NONE, r.pressure, NONE, r.pressure, true, r.temperature);
        EXPECT_EQ(cell.GetPressure(), r.pressureAfter);
        EXPECT_EQ(cell.GetTrend(), r.trendAfter);
        EXPECT_EQ(cell.GetMoisture(), r.moistureAfter);
    }
}

TEST(WeatherCellApply, ArrivingTrendTakesOverWhenStrongerOrOpposite)
{
    struct Row { int8_t own, arriving, after; };
    const Row rows[] = {
        {0, 3, 3},   {2, 3, 3},   {3, 2, 3},   {3, 3, 3},  {3, -1, -1},
        {-2, -3, -3}, {-3, -2, -3}, {-1, 4, 4}, {2, 0, 2}, {0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int{r.own} << " meets " << int{r.arriving});
        Weather_Cell cell;
        cell.SetTrend(r.own);
        cell.Apply(cell.GetPressure(), cell.GetTemperature(), r.arriving, 0);
        EXPECT_EQ(cell.GetTrend(), r.after);
    }
}

TEST(WeatherCellApply, WarmerAirWarmsTheCellAndClearsTheSky)
{
    Weather_Cell cell;
    cell.SetTemperature(10);
    cell.SetCloudCover(CloudCover::OVERCAST);
    cell.SetWeatherCode(WeatherCode::SNOW);
    cell.Apply(10155, 20, 0, 3);
    EXPECT_EQ(cell.GetWeatherCode(), WeatherCode::CLEAR);
    EXPECT_EQ(cell.GetCloudCover(), CloudCover::CLEAR);
    EXPECT_EQ(cell.GetMoisture(), 3);
    // +2 and one unit of pressure lost; then the pressure back up, the temperature down.
    EXPECT_EQ(cell.GetTemperature(), 11);
    EXPECT_EQ(cell.GetPressure(), 10155);
}

TEST(WeatherCellApply, ColderAirMakesCloudAndPrecipitation)
{
    // A low cell under higher, colder air: partly cloudy and snow.
    Weather_Cell low;
    low.SetPressure(10150);
    low.SetTemperature(40);
    low.SetMoisture(2);
    low.Apply(10160, 20, 0, 1);
    EXPECT_EQ(low.GetCloudCover(), CloudCover::PARTLY_CLOUDY);
    EXPECT_EQ(low.GetWeatherCode(), WeatherCode::SNOW);
    EXPECT_EQ(low.GetMoisture(), 2);
    EXPECT_EQ(low.GetTemperature(), 37);
    EXPECT_EQ(low.GetPressure(), 10152);

    // A high cell clouds over, spends moisture on it, but precipitates nothing.
    Weather_Cell high;
    high.SetPressure(10160);
    high.SetTemperature(40);
    high.Apply(10150, 20, 0, 1);
    EXPECT_EQ(high.GetCloudCover(), CloudCover::PARTLY_CLOUDY);
    EXPECT_EQ(high.GetWeatherCode(), WeatherCode::CLEAR);
    EXPECT_EQ(high.GetMoisture(), 0);
    EXPECT_EQ(high.GetTemperature(), 39);
    EXPECT_EQ(high.GetPressure(), 10160);

    // Cloud cover by the difference; none without moisture or under 5.
    struct Row { int16_t temperature; uint8_t moisture, cloud; };
    const Row rows[] = {{24, 1, 0}, {25, 1, 1}, {34, 1, 1}, {35, 1, 2}, {44, 1, 2}, {45, 1, 3}, {90, 0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.temperature);
        Weather_Cell cell;
        cell.SetPressure(10200);
        cell.SetTemperature(r.temperature);
        cell.Apply(10200, 20, 0, r.moisture);
        EXPECT_EQ(cell.GetCloudCover(), r.cloud);
    }
}

TEST(WeatherCell, PrecipitationByDifferenceWindAndTemperature)
{
    struct Row {
        int32_t difference;
        double windKnots;
        int16_t temperature;
        uint8_t moisture;
        uint8_t code;
    };
    const Row rows[] = {
        {9, 0, 0, 1, WeatherCode::CLEAR},
        {10, 5, 0, 1, WeatherCode::LIGHT_FOG},
        {11, 0, 0, 1, WeatherCode::LIGHT_FOG},
        {12, 0, 0, 1, WeatherCode::FOG},
        {14, 0, 0, 1, WeatherCode::HEAVY_FOG},
        {12, 5.01, 0, 1, WeatherCode::CLEAR},     // too windy for fog
        {15, 0, 300, 1, WeatherCode::LIGHT_SNOW},
        {19, 30, 300, 1, WeatherCode::LIGHT_SNOW},
        {20, 0, 300, 1, WeatherCode::SNOW},
        {39, 0, -50, 1, WeatherCode::SNOW},
        {40, 0, 300, 1, WeatherCode::HEAVY_SNOW},
        {15, 0, 301, 1, WeatherCode::LIGHT_RAIN},
        {39, 0, 400, 1, WeatherCode::RAIN},
        {40, 0, 301, 1, WeatherCode::HEAVY_RAIN},
        {40, 0, 301, 0, WeatherCode::CLEAR},      // nothing to fall
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "difference " << r.difference << ", " << r.windKnots
                                        << " knots, temperature " << r.temperature);
        Weather_Cell cell;
        cell.SetWind(0, Knots(r.windKnots));
        cell.SetTemperature(r.temperature);
        cell.SetMoisture(r.moisture);
        cell.Precipitate(r.difference);
        EXPECT_EQ(cell.GetWeatherCode(), r.code);
        EXPECT_EQ(cell.GetMoisture(), r.code == WeatherCode::CLEAR ? r.moisture : r.moisture - 1);
    }
}

// -------------------------------------------------------------- saved form

TEST(WeatherCell, SavedFormIsSeventeenBytes)
{
    Weather_Cell cell;
    cell.SetPressure(0x2789);
    cell.SetWind(3 * ANGLE_EIGHTH, Knots(10));
    cell.SetWeatherCode(WeatherCode::HEAVY_RAIN);
    cell.SetMoisture(12);
    cell.SetCloudCover(CloudCover::OVERCAST);
    cell.SetTemperature(-2);
    cell.SetDamping(5);
    cell.SetTrend(-3);
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(cell.Save(out));
    // 3 x 45 degrees = 33177600 = 0x01FA4000; 10 knots = 40960 = 0xA000.
    EXPECT_EQ(out.str(), Bytes({0x89, 0x27, 0x00, 0x40, 0xFA, 0x01, 0x00, 0xA0, 0x00, 0x00, 0x06, 0x0C,
                                0x03, 0xFE, 0xFF, 0x05, 0xFD}));

    Weather_Cell loaded;
    std::istringstream in(out.str(), std::ios::binary);
    ASSERT_TRUE(loaded.Load(in));
    std::ostringstream again(std::ios::binary);
    loaded.Save(again);
    EXPECT_EQ(again.str(), out.str());
}

TEST(WeatherCell, LoadRefusesImpossibleFields)
{
    auto record = [](int32_t direction, int32_t speed, uint8_t code, uint8_t cloud) {
        std::ostringstream out(std::ios::binary);
        SaveField(out, uint16_t{10100});
        SaveField(out, direction);
        SaveField(out, speed);
        SaveField(out, code);
        SaveField(out, uint8_t{0});
        SaveField(out, cloud);
        SaveField(out, int16_t{0});
        SaveField(out, uint8_t{0});
        SaveField(out, int8_t{0});
        return out.str();
    };
    struct Row { const char* name; std::string bytes; bool accepted; };
    const Row rows[] = {
        {"sound", record(7 * ANGLE_EIGHTH, 0, 9, 3), true},
        {"weather code 10", record(0, 0, 10, 0), false},
        {"cloud cover 4", record(0, 0, 0, 4), false},
        {"negative wind", record(0, -1, 0, 0), false},
        {"direction off the compass", record(ANGLE_EIGHTH + 1, 0, 0, 0), false},
        {"direction of a whole turn", record(ANGLE_FULL, 0, 0, 0), false},
        {"negative direction", record(-ANGLE_EIGHTH, 0, 0, 0), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Weather_Cell cell;
        std::istringstream in(r.bytes, std::ios::binary);
        EXPECT_EQ(cell.Load(in), r.accepted);
        EXPECT_EQ(static_cast<bool>(in), r.accepted);
        EXPECT_EQ(cell.GetPressure(), r.accepted ? 10100 : Weather_Cell::NEW_PRESSURE);
    }
}

class WeatherSaved : public testing::Test {
protected:
    void SetUp() override
    {
        grid.SetKeptSetting(9);
        grid.SetDisturbanceChance(40);
        grid.SetBaseTemperature(500);
        grid.SetTemperatureStep(-7);
        for (int32_t y = 0; y < grid.GetLatSize(); ++y) {
            for (int32_t x = 0; x < grid.GetLonSize(); ++x) {
                Weather_Cell* cell = grid.GetCell(y, x);
                cell->SetPressure(static_cast<uint16_t>(10000 + 10 * y + x));
                cell->SetWind(((x + y) % 8) * ANGLE_EIGHTH, Knots(x));
                cell->SetTemperature(static_cast<int16_t>(y - x));
                cell->SetMoisture(static_cast<uint8_t>(x));
                cell->SetWeatherCode(static_cast<uint8_t>(y % 10));
                cell->SetCloudCover(static_cast<uint8_t>(x % 4));
                cell->SetDamping(static_cast<uint8_t>(y));
                cell->SetTrend(static_cast<int8_t>(x - y));
            }
        }
    }

    Weather grid{Area(1, 0, 0, 1.5), 0};   // 3 rows, 4 columns
};

TEST_F(WeatherSaved, RoundTripsByteForByte)
{
    const std::string bytes = SaveGrid(grid);
    ASSERT_EQ(bytes.size(), 7u + 12u * Weather_Cell::SAVED_SIZE);
    EXPECT_EQ(bytes.substr(0, 7), Bytes({0x00, 0x09, 0x28, 0xF4, 0x01, 0xF9, 0xFF}));

    // The grid kind is read by the environment before the grid is built.
    Weather loaded(Area(1, 0, 0, 1.5), 0);
    std::istringstream in(bytes.substr(1), std::ios::binary);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(loaded.GetKeptSetting(), 9);
    EXPECT_EQ(loaded.GetDisturbanceChance(), 40);
    EXPECT_EQ(loaded.GetBaseTemperature(), 500);
    EXPECT_EQ(loaded.GetTemperatureStep(), -7);
    EXPECT_EQ(SaveGrid(loaded), bytes);
}

TEST_F(WeatherSaved, EveryCutIsRefused)
{
    const std::string body = SaveGrid(grid).substr(1);
    for (size_t length = 0; length < body.size(); ++length) {
        SCOPED_TRACE(length);
        Weather loaded(Area(1, 0, 0, 1.5), 0);
        std::istringstream in(body.substr(0, length), std::ios::binary);
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_TRUE(in.fail());
    }
}

TEST_F(WeatherSaved, DamagedCellIsNamedAndRefused)
{
    std::string body = SaveGrid(grid).substr(1);
    // Cell (1, 2): the sixth of 17-byte cells after 6 bytes of settings; its
    // weather code is its tenth byte.
    body[6 + 6 * Weather_Cell::SAVED_SIZE + 10] = 12;
    Weather loaded(Area(1, 0, 0, 1.5), 0);
    std::istringstream in(body, std::ios::binary);
    ReportCapture reports;
    EXPECT_FALSE(loaded.Load(in));
    EXPECT_TRUE(in.fail());
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "Weather::Load: the cell in row 1, column 2 is damaged.");
}

// ------------------------------------------------------------ disturbances

TEST(WeatherGrid, DisturbanceSetsTrendAndTheRowsTemperature)
{
    Weather grid(Area(10, 0, 0, 10), 0);
    grid.SetBaseTemperature(100);
    grid.SetTemperatureStep(-3);
    grid.SetDisturbance(5, 7, -4);
    EXPECT_EQ(grid.GetCell(5, 7)->GetTrend(), -4);
    EXPECT_EQ(grid.GetCell(5, 7)->GetTemperature(), 85);

    // The row temperature is 16-bit arithmetic.
    grid.SetBaseTemperature(32767);
    grid.SetTemperatureStep(1);
    grid.SetDisturbance(1, 0, 2);
    EXPECT_EQ(grid.GetCell(1, 0)->GetTemperature(), -32768);

    // A cell outside the grid (an event from a damaged file) changes nothing.
    const std::string before = SaveGrid(grid);
    ReportCapture reports;
    const std::pair<int32_t, int32_t> outside[] = {{21, 0}, {0, 21}, {-1, 3}, {3, -1}, {INT32_MAX, INT32_MIN}};
    for (auto [row, column] : outside)
        grid.SetDisturbance(row, column, 4);
    EXPECT_EQ(SaveGrid(grid), before);
    EXPECT_TRUE(reports.fatals.empty());
}

class WeatherStep : public testing::Test {
protected:
    void SetUp() override { previous = gam2arena::SetArenaState(&arena); }
    void TearDown() override
    {
        gam2arena::SetArenaState(previous);
        gEnvironment = nullptr;
    }

    std::vector<WeatherEvent*> QueuedWeatherEvents()
    {
        std::vector<WeatherEvent*> events;
        for (Event* e = arena.Queue().First(); e != nullptr; e = e->GetNext())
            if (e->TypeCode() == EventCode::WEATHER)
                events.push_back(static_cast<WeatherEvent*>(e));
        return events;
    }

    ArenaState arena;
    ArenaState* previous = nullptr;
};

TEST_F(WeatherStep, RunsOnlyOnARequest)
{
    Weather grid(Area(10, 0, 0, 10), 0);
    grid.GetCell(0, 0)->SetTrend(2);
    arena.Generator().SetSeed(1234);
    grid.Update(false);
    EXPECT_EQ(arena.Generator().QuerySeed(), 1234u);   // nothing drawn
    EXPECT_EQ(grid.GetCell(0, 0)->GetPressure(), Weather_Cell::NEW_PRESSURE);

    grid.Update(true);
    EXPECT_NE(arena.Generator().QuerySeed(), 1234u);
    EXPECT_EQ(grid.GetCell(0, 0)->GetPressure(), Weather_Cell::NEW_PRESSURE + 2);
    EXPECT_FALSE(grid.IsStepPending());
}

TEST_F(WeatherStep, RandomDrawsComeInOrder)
{
    // A chance of 0 draws exactly one number; 128 and more count as negative.
    for (uint8_t chance : {0, 128, 200, 255}) {
        SCOPED_TRACE(int{chance});
        Weather grid(Area(10, 0, 0, 10), 0);
        grid.SetDisturbanceChance(chance);
        arena.Generator().SetSeed(99);
        RandomGen expected = arena.Generator();
        expected.MPRandom(100);
        grid.Update(true);
        EXPECT_EQ(arena.Generator().QuerySeed(), expected.QuerySeed());
        EXPECT_TRUE(QueuedWeatherEvents().empty());
    }

    // A chance of 100 always fires a second draw; its tens less 5 are the
    // trend, and a trend plants an event in a drawn cell.
    int planted = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        Weather grid(Area(10, 0, 0, 15), 0);
        grid.SetDisturbanceChance(100);
        arena.SetGameTime(5000);
        arena.Generator().SetSeed(seed);
        RandomGen expected = arena.Generator();
        expected.MPRandom(100);
        const int trend = expected.MPRandom(100) / 10 - 5;
        int row = -1;
        int column = -1;
        if (trend != 0) {
            row = expected.MPRandom(21);
            column = expected.MPRandom(31);
        }
        grid.Update(true);
        EXPECT_EQ(arena.Generator().QuerySeed(), expected.QuerySeed());
        const std::vector<WeatherEvent*> events = QueuedWeatherEvents();
        if (trend == 0) {
            EXPECT_TRUE(events.empty());
            continue;
        }
        ++planted;
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0]->GetRow(), row);
        EXPECT_EQ(events[0]->GetColumn(), column);
        EXPECT_EQ(events[0]->GetTrend(), trend);
        EXPECT_EQ(events[0]->GetTime().Get(), 5900u);
        arena.Queue().RemoveEventsOf(0, EventCode::WEATHER);
    }
    EXPECT_GT(planted, 20);
}

TEST_F(WeatherStep, WithoutAGameClockNothingIsPlanted)
{
    gam2arena::SetArenaState(nullptr);
    Weather grid(Area(10, 0, 0, 10), 0);
    grid.SetDisturbanceChance(100);   // every draw is 0: trend -5 in cell (0, 0)
    grid.Update(true);                // nothing to post to, and nothing leaks
    EXPECT_TRUE(arena.Queue().IsEmpty());
}

TEST_F(WeatherStep, AirMovesDownwindRowByRow)
{
    // 4 x 4 cells at 10155 but one high cell at (2, 2). Cell (1, 1) sees it
    // south-east: the wind turns to the north-east, 10 knots, and its air,
    // as it was before the step, replaces the edge cell (0, 2).
    Weather grid(Area(1.5, 0, 0, 1.5), 0);
    ASSERT_EQ(grid.GetLatSize(), 4);
    ASSERT_EQ(grid.GetLonSize(), 4);
    grid.GetCell(2, 2)->SetPressure(10165);
    grid.GetCell(1, 1)->SetTemperature(50);
    grid.GetCell(1, 1)->SetMoisture(8);
    grid.Update(true);

    const Weather_Cell& c11 = *grid.GetCell(1, 1);
    EXPECT_EQ(c11.GetWindDirection(), 1 * ANGLE_EIGHTH);
    EXPECT_EQ(c11.GetWind_Speed(), Knots(10));
    const Weather_Cell& c02 = *grid.GetCell(0, 2);
    EXPECT_EQ(c02.GetPressure(), 10155);
    EXPECT_EQ(c02.GetTemperature(), 50);
    EXPECT_EQ(c02.GetMoisture(), 4);
    EXPECT_EQ(c02.GetTrend(), 0);

    // Cell (1, 2) has the high cell due south: its wind blows east.
    EXPECT_EQ(grid.GetCell(1, 2)->GetWindDirection(), 2 * ANGLE_EIGHTH);
    EXPECT_EQ(grid.GetCell(1, 2)->GetWind_Speed(), Knots(10));
    // Row 0 and column 0 never count as neighbours: (0, 0) sees only (1, 1),
    // which had not stepped yet, at its own pressure: no wind.
    EXPECT_EQ(grid.GetCell(0, 0)->GetWind_Speed(), 0);
}

TEST_F(WeatherStep, ManyStepsKeepEveryCellSound)
{
    Weather grid(Area(10, 0, 0, 10), 1);   // 41 x 41
    grid.SetDisturbanceChance(50);
    grid.SetBaseTemperature(600);
    grid.SetTemperatureStep(-10);
    arena.Generator().SetSeed(7);
    for (int32_t y = 0; y < grid.GetLatSize(); ++y)
        for (int32_t x = 0; x < grid.GetLonSize(); ++x)
            grid.GetCell(y, x)->SetPressure(static_cast<uint16_t>(9600 + arena.Generator().MPRandom(600)));

    for (int step = 0; step < 60; ++step) {
        grid.Update(true);
        // Disturbances come due as the clock runs.
        arena.AdvanceGameTime(900);
        for (WeatherEvent* e : QueuedWeatherEvents())
            grid.SetDisturbance(e->GetRow(), e->GetColumn(), e->GetTrend());
        arena.Queue().RemoveEventsOf(0, EventCode::WEATHER);
    }
    for (int32_t y = 0; y < grid.GetLatSize(); ++y) {
        for (int32_t x = 0; x < grid.GetLonSize(); ++x) {
            SCOPED_TRACE(testing::Message() << y << ", " << x);
            const Weather_Cell& cell = *grid.GetCell(y, x);
            EXPECT_GE(cell.GetWind_Speed(), 0);
            EXPECT_EQ(cell.GetWindDirection() % ANGLE_EIGHTH, 0);
            EXPECT_LE(cell.GetWeatherCode(), WeatherCode::LAST);
            EXPECT_LE(cell.GetCloudCover(), CloudCover::LAST);
            // Air arriving after a cell's own step may move it a little past
            // the bounds; its next step brings it back.
            EXPECT_GE(cell.GetPressure(), Weather_Cell::LOWEST_PRESSURE - 20);
            EXPECT_LE(cell.GetPressure(), Weather_Cell::HIGHEST_PRESSURE + 20);
        }
    }
    // The weather saved after all that loads again.
    Weather loaded(Area(10, 0, 0, 10), 1);
    const std::string bytes = SaveGrid(grid);
    std::istringstream in(bytes.substr(1), std::ios::binary);
    EXPECT_TRUE(loaded.Load(in));
}

// ------------------------------------------------------------------ marks

TEST(WeatherMarks, ColourEntriesOfEachKind)
{
    Weather grid(Area(1, 0, 0, 1), 0);   // 3 x 3
    grid.GetCell(0, 0)->SetWind(0, Knots(4.9));            // sea state 0: no mark
    grid.GetCell(0, 1)->SetWind(0, Knots(5));              // sea state 1
    grid.GetCell(2, 2)->SetWind(0, Knots(80));             // sea state 9
    grid.GetCell(1, 0)->SetCloudCover(CloudCover::SCATTERED);
    grid.GetCell(1, 1)->SetCloudCover(CloudCover::OVERCAST);
    grid.GetCell(0, 2)->SetWeatherCode(WeatherCode::LIGHT_FOG);
    grid.GetCell(2, 0)->SetWeatherCode(WeatherCode::HEAVY_SNOW);

    RecordingPenScope pen;
    const LatLonRect view = Area(1, 0, 0, 1);
    grid.DrawSeaStates(view);
    EXPECT_EQ(pen.calls.size(), 2u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 68), 1u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 76), 1u);
    pen.Clear();
    grid.DrawClouds(view);
    EXPECT_EQ(pen.calls.size(), 2u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 56), 1u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 58), 1u);
    pen.Clear();
    grid.DrawWeather(view);
    EXPECT_EQ(pen.calls.size(), 2u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 59), 1u);
    EXPECT_EQ(pen.Count(PenCall::Plot, 67), 1u);

    // A view off the grid marks nothing.
    pen.Clear();
    grid.DrawWeather(Area(5, 5, 4, 6));
    EXPECT_TRUE(pen.calls.empty());
}

TEST(WeatherMarks, ViewAcrossTheDateLineIsMarkedOnBothSides)
{
    Weather grid(Area(1, 170, 0, -170), 0);   // 3 x 41
    for (int32_t y = 0; y < grid.GetLatSize(); ++y)
        for (int32_t x = 0; x < grid.GetLonSize(); ++x)
            grid.GetCell(y, x)->SetWeatherCode(WeatherCode::RAIN);
    RecordingPenScope pen;
    grid.DrawWeather(Area(1, 175, 0, -175));
    EXPECT_EQ(pen.Count(PenCall::Plot, 63), 3u * 21u);
    pen.Clear();
    grid.DrawWeather(Area(1, 171, 0, 172));
    EXPECT_EQ(pen.Count(PenCall::Plot, 63), 3u * 3u);
}

// ----------------------------------------------------------- WeatherEvent

TEST(WeatherEventTest, DueNineHundredSecondsOn)
{
    ArenaState arena;
    ArenaState* previous = gam2arena::SetArenaState(&arena);
    arena.SetGameTime(1000);
    EXPECT_EQ(WeatherEvent(1, 2, 3).GetTime().Get(), 1900u);
    arena.SetGameTime(0xFFFFFF00u);                    // the clock's u32 wraps
    EXPECT_EQ(WeatherEvent(1, 2, 3).GetTime().Get(), 900u - 0x100u);
    gam2arena::SetArenaState(previous);
    EXPECT_EQ(WeatherEvent(1, 2, 3).GetTime().Get(), 900u);   // no clock: time 0
    EXPECT_EQ(WeatherEvent().TypeCode(), 0x4B);
    EXPECT_STREQ(EventClassName(0x4B), "WeatherEvent");
}

TEST(WeatherEventTest, SavedFormRoundTrips)
{
    WeatherEvent event(0x0102, -2, -5);
    event.SetDueTime(0x0A0B0C0D);
    std::ostringstream out(std::ios::binary);
    event.Save(out);
    const std::string bytes = out.str();
    EXPECT_EQ(bytes, Bytes({0x4B, 0x02, 0x01, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFB, 0x0D, 0x0C, 0x0B, 0x0A}));

    // The list loader has read the type byte.
    std::istringstream in(bytes.substr(1), std::ios::binary);
    const WeatherEvent loaded(in);
    EXPECT_TRUE(in.good());
    EXPECT_EQ(loaded.GetRow(), 0x0102);
    EXPECT_EQ(loaded.GetColumn(), -2);
    EXPECT_EQ(loaded.GetTrend(), -5);
    EXPECT_EQ(loaded.GetTime().Get(), 0x0A0B0C0Du);
}

TEST(WeatherEventTest, EveryCutIsRefused)
{
    WeatherEvent event(4, 5, 2);
    std::ostringstream out(std::ios::binary);
    event.Save(out);
    const std::string record = out.str().substr(1);
    ReportCapture reports;
    for (size_t length = 0; length < record.size(); ++length) {
        SCOPED_TRACE(length);
        reports.Clear();
        WeatherEvent loaded;
        std::istringstream in(record.substr(0, length), std::ios::binary);
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_TRUE(reports.fatals.empty());
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_EQ(reports.errors[0], "Weather: resource text 0x7B00BD");   // no resource files here
        EXPECT_EQ(loaded.GetRow(), 0);
    }
}

TEST(WeatherEventTest, FailedWriteIsFatal)
{
    std::ostringstream out(std::ios::binary);
    out.setstate(std::ios::badbit);
    ReportCapture reports;
    WeatherEvent(1, 1, 1).Save(out);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Weather: resource text 0x7B00BC");
}

TEST_F(WeatherStep, EventComingDueDisturbsItsCell)
{
    Environment environment;
    Weather* grid = environment.SetUpWeather(Area(10, 0, 0, 10), 0);
    grid->SetBaseTemperature(300);
    grid->SetTemperatureStep(2);
    gEnvironment = &environment;

    arena.SetGameTime(100);
    gam2arena::PostEvent(new WeatherEvent(3, 4, -2));
    EXPECT_TRUE(arena.Queue().ProcessDueEvents(999));    // not due before 1000
    EXPECT_EQ(grid->GetCell(3, 4)->GetTrend(), 0);
    EXPECT_FALSE(arena.Queue().ProcessDueEvents(1000));
    EXPECT_EQ(grid->GetCell(3, 4)->GetTrend(), -2);
    EXPECT_EQ(grid->GetCell(3, 4)->GetTemperature(), 306);
    EXPECT_TRUE(arena.Queue().IsEmpty());                 // handled once, then deleted
}

TEST_F(WeatherStep, LoadedEventOutsideTheGridIsIgnored)
{
    Environment environment;
    Weather* grid = environment.SetUpWeather(Area(10, 0, 0, 10), 0);
    gEnvironment = &environment;
    const std::string before = SaveGrid(*grid);

    std::ostringstream out(std::ios::binary);
    WeatherEvent(21, 400, 3).Save(out);
    std::istringstream in(out.str().substr(1), std::ios::binary);
    auto* loaded = new WeatherEvent(in);
    ReportCapture reports;
    EXPECT_FALSE(loaded->HandleEvent());
    delete loaded;
    EXPECT_EQ(SaveGrid(*grid), before);
    EXPECT_TRUE(reports.fatals.empty());

    // And with no environment at all, the event still comes and goes.
    gEnvironment = nullptr;
    WeatherEvent orphan(1, 1, 1);
    EXPECT_FALSE(orphan.HandleEvent());
}

} // namespace
