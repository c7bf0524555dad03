// Weather.cpp: the weather grid: its size over the scenario area, the
// weather at a point, force and sea state, the weather step, the grid's
// saved form and its marks on the map.
#include "world/Weather.h"

#include <algorithm>
#include <cstdio>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "world/Nav2Game.h"
#include "world/WeatherEvent.h"

namespace {

constexpr int32_t CELL = Weather::CELL_ANGLE;

// Row and column offsets of the eight neighbours, by compass direction:
// north, north-east, east, south-east, south, south-west, west, north-west.
constexpr int32_t ROW_STEP[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr int32_t COLUMN_STEP[8] = {0, 1, 1, 1, 0, -1, -1, -1};

// Wind speeds in whole knots below which each force and sea state lies.
constexpr int32_t FORCE_BELOW[12] = {2, 4, 7, 11, 17, 22, 28, 34, 41, 48, 56, 66};
constexpr int32_t SEA_STATE_BELOW[9] = {5, 10, 15, 20, 25, 30, 50, 60, 65};

// The number of bounds (in knots) that a wind speed (1/4096 knot) reaches.
template <size_t N>
uint8_t CountBoundsReached(const int32_t (&bounds)[N], int32_t windSpeed)
{
    uint8_t reached = 0;
    while (reached < N && windSpeed >= bounds[reached] * SPEED_PER_KNOT)
        ++reached;
    return reached;
}

// Half-degree rows from the north edge's index to the south edge's, both
// included; 0 for an upside-down rectangle.
int32_t CountRows(const LatLonRect& area)
{
    return std::max(area.north / CELL - area.south / CELL + 1, 0);
}

// Half-degree columns from the west edge's index to the east edge's, both
// included, going east across the 180-degree meridian when the west edge is
// not below the east edge (equal edges: the whole turn and one more).
int32_t CountColumns(const LatLonRect& area)
{
    const int32_t west = area.west / CELL;
    const int32_t east = area.east / CELL;
    if (area.west < area.east)
        return east - west + 1;
    return east + Weather::TURN_COLUMNS - west + 1;
}

// The area widened by five degrees on every side, not past a pole, the
// longitudes brought back into +-180 degrees.
// Needs: an area on the globe (OntoTheGlobe).
LatLonRect Widen(LatLonRect area)
{
    area.north = std::min(area.north + Weather::WIDENING, ANGLE_RIGHT);
    area.south = std::max(area.south - Weather::WIDENING, -ANGLE_RIGHT);
    area.west -= Weather::WIDENING;
    if (area.west < -ANGLE_HALF)
        area.west += ANGLE_FULL;
    area.east += Weather::WIDENING;
    if (area.east > ANGLE_HALF)
        area.east -= ANGLE_FULL;
    return area;
}

// The area with its edges held within 90 degrees of latitude and 180 of
// longitude. A scenario map is always so; this keeps a damaged rectangle
// from sizing a grid larger than the globe.
LatLonRect OntoTheGlobe(LatLonRect area)
{
    area.north = std::clamp(area.north, -ANGLE_RIGHT, ANGLE_RIGHT);
    area.south = std::clamp(area.south, -ANGLE_RIGHT, ANGLE_RIGHT);
    area.west = std::clamp(area.west, -ANGLE_HALF, ANGLE_HALF);
    area.east = std::clamp(area.east, -ANGLE_HALF, ANGLE_HALF);
    return area;
}

int16_t SeaStateColour(const Weather_Cell& cell)
{
    const uint8_t state = Weather::SeaStateForWindSpeed(cell.GetWind_Speed());
    return state == 0 ? 0 : static_cast<int16_t>(Weather::SEA_STATE_COLOUR + state);
}

int16_t CloudColour(const Weather_Cell& cell)
{
    const uint8_t cover = cell.GetCloudCover();
    return cover == CloudCover::CLEAR || cover > CloudCover::LAST
               ? 0
               : static_cast<int16_t>(Weather::CLOUD_COLOUR + cover);
}

int16_t WeatherColour(const Weather_Cell& cell)
{
    const uint8_t code = cell.GetWeatherCode();
    return code == WeatherCode::CLEAR || code > WeatherCode::LAST
               ? 0
               : static_cast<int16_t>(Weather::WEATHER_COLOUR + code);
}

} // namespace

Weather::Weather(LatLonRect scenario, uint8_t kind)
    : gridKind(kind)
{
    const LatLonRect area = OntoTheGlobe(scenario);
    scenarioNorthIndex = area.north / CELL;
    scenarioWestIndex = area.west / CELL;
    const LatLonRect grid = kind != 0 ? Widen(area) : area;
    gridNorthIndex = grid.north / CELL;
    gridWestIndex = grid.west / CELL;
    // Never fewer rows or columns than the scenario area needs: positions
    // are counted from its edges, and a widening that wraps a nearly whole
    // turn onto itself would leave too few.
    latsize = std::max(CountRows(grid), CountRows(area));
    lonsize = std::max(CountColumns(grid), CountColumns(area));
    cells.resize(static_cast<size_t>(latsize) * static_cast<size_t>(lonsize));
}

bool Weather::Save(std::ostream& out) const
{
    SaveField(out, gridKind);
    SaveField(out, keptSetting);
    SaveField(out, disturbanceChance);
    SaveField(out, baseTemperature);
    SaveField(out, temperatureStep);
    for (const Weather_Cell& cell : cells)
        cell.Save(out);
    return static_cast<bool>(out);
}

bool Weather::Load(std::istream& in)
{
    LoadField(in, keptSetting);
    LoadField(in, disturbanceChance);
    LoadField(in, baseTemperature);
    LoadField(in, temperatureStep);
    if (!in)
        return false;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].Load(in))
            continue;
        if (!in.eof()) {   // read whole, but holding what no step leaves
            char text[96];
            std::snprintf(text, sizeof text, "Weather::Load: the cell in row %d, column %d is damaged.",
                          static_cast<int>(i / static_cast<size_t>(lonsize)),
                          static_cast<int>(i % static_cast<size_t>(lonsize)));
            ErrorBox(text);
        }
        return false;
    }
    return true;
}

bool Weather::CellOf(const LatLonPoint& point, int32_t& row, int32_t& column) const
{
    row = scenarioNorthIndex - point.lat / CELL;
    column = point.lon / CELL - scenarioWestIndex;
    while (column < 0)
        column += TURN_COLUMNS;
    while (column >= lonsize)
        column -= TURN_COLUMNS;
    return IsInGrid(row, column);
}

Weather_Cell* Weather::GetCell(int32_t y, int32_t x)
{
    return IsInGrid(y, x) ? &cells[static_cast<size_t>(y) * lonsize + x] : nullptr;
}

const Weather_Cell* Weather::GetCell(int32_t y, int32_t x) const
{
    return IsInGrid(y, x) ? &cells[static_cast<size_t>(y) * lonsize + x] : nullptr;
}

WeatherReport Weather::GetWeather(const LatLonPoint& point) const
{
    WeatherReport report;
    int32_t row = 0;
    int32_t column = 0;
    if (!CellOf(point, row, column)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Weather::GetWeather has a problem.\nx = %d    and lonsize = %d\n"
                      "y = %d    and latsize = %d\n",
                      column, lonsize, row, latsize);
        FatalError(text);
        return report;
    }
    const Weather_Cell& cell = *GetCell(row, column);
    report.seaState = SeaStateForWindSpeed(cell.GetWind_Speed());
    report.beaufort = ForceForWindSpeed(cell.GetWind_Speed());
    report.cloudCover = cell.GetCloudCover();
    report.weatherCode = cell.GetWeatherCode();
    report.windSpeed = cell.GetWind_Speed();
    report.windDirection = cell.GetWindDirection();
    return report;
}

bool Weather::CheckIndices(const char* operation, int32_t y, int32_t x) const
{
    const char* problem = y >= latsize   ? "y >= latsize"
                          : x >= lonsize ? "x >= lonsize"
                          : y < 0        ? "y < 0"
                          : x < 0        ? "x < 0"
                                         : nullptr;
    if (problem == nullptr)
        return true;
    char text[96];
    std::snprintf(text, sizeof text, "Weather::%s called with %s.", operation, problem);
    FatalError(text);
    return false;
}

uint8_t Weather::GetBeaufort(int32_t y, int32_t x) const
{
    if (!CheckIndices("GetBeaufort", y, x))
        return 0;
    return ForceForWindSpeed(Weather_Cell::WindSpeedOf(GetCell(y, x)));
}

uint8_t Weather::GetSeaState(int32_t y, int32_t x) const
{
    if (!CheckIndices("GetSeaState", y, x))
        return 0;
    return SeaStateForWindSpeed(Weather_Cell::WindSpeedOf(GetCell(y, x)));
}

uint8_t Weather::ForceForWindSpeed(int32_t windSpeed)
{
    return CountBoundsReached(FORCE_BELOW, windSpeed);
}

uint8_t Weather::SeaStateForWindSpeed(int32_t windSpeed)
{
    return CountBoundsReached(SEA_STATE_BELOW, windSpeed);
}

int16_t Weather::RowTemperature(int32_t row) const
{
    // 16-bit arithmetic, as saved scenarios were tuned with.
    return static_cast<int16_t>(int32_t{baseTemperature} + int32_t{temperatureStep} * row);
}

void Weather::SetDisturbance(int32_t row, int32_t column, int8_t trend)
{
    Weather_Cell* cell = GetCell(row, column);
    if (cell == nullptr)
        return;
    cell->SetTrend(trend);
    cell->SetTemperature(RowTemperature(row));
}

void Weather::PlantDisturbance()
{
    // The draws come in this order whatever they give: saved games replay
    // the same weather only so.
    int32_t trend = 0;
    const uint16_t chance = gam2arena::Random(100);
    if (int32_t{chance} < int32_t{static_cast<int8_t>(disturbanceChance)})
        trend = gam2arena::Random(100) / 10 - 5;   // -5 to 4
    if (trend == 0)
        return;
    const uint16_t row = gam2arena::Random(static_cast<uint16_t>(latsize));
    const uint16_t column = gam2arena::Random(static_cast<uint16_t>(lonsize));
    // Without a game clock there is no queue to take the event.
    if (gam2arena::GetArenaState() != nullptr)
        gam2arena::PostEvent(new WeatherEvent(row, column, static_cast<int8_t>(trend)));
}

void Weather::HandOn(int32_t y, int32_t x, int8_t d, uint16_t pressure, int16_t temperature, int8_t trend,
                     uint8_t moisture)
{
    const int32_t ny = y + ROW_STEP[d];
    const int32_t nx = x + COLUMN_STEP[d];
    Weather_Cell* neighbour = GetCell(ny, nx);
    if (neighbour == nullptr)
        return;   // the air leaves the grid
    if (ny >= 1 && ny <= latsize - 2 && nx >= 1 && nx <= lonsize - 2) {
        neighbour->Apply(pressure, temperature, trend, moisture);
        return;
    }
    // The edge cells take the arriving air whole: nothing stands beyond them.
    neighbour->SetPressure(pressure);
    neighbour->SetTemperature(temperature);
    neighbour->SetTrend(trend);
    neighbour->SetMoisture(moisture);
}

void Weather::Update(bool request)
{
    if (request)
        stepPending = 1;
    if (stepPending == 0)
        return;
    PlantDisturbance();
    stepPending = 0;

    for (int32_t y = 0; y < latsize; ++y) {
        const bool north = gridNorthIndex - y > 0;
        const int16_t target = RowTemperature(y);
        for (int32_t x = 0; x < lonsize; ++x) {
            Weather_Cell& cell = cells[static_cast<size_t>(y) * lonsize + x];
            highestPressure = lowestPressure = cell.GetPressure();
            highDirection = lowDirection = Weather_Cell::NO_DIRECTION;
            // Neighbours in the first row or column never count.
            for (int8_t d = 0; d < 8; ++d) {
                const int32_t ny = y + ROW_STEP[d];
                const int32_t nx = x + COLUMN_STEP[d];
                if (ny < 1 || nx < 1 || ny >= latsize || nx >= lonsize)
                    continue;
                const uint16_t pressure = cells[static_cast<size_t>(ny) * lonsize + nx].GetPressure();
                if (pressure == 0)
                    continue;
                if (pressure > highestPressure) {
                    highestPressure = pressure;
                    highDirection = d;
                } else if (pressure < lowestPressure) {
                    lowestPressure = pressure;
                    lowDirection = d;
                }
            }

            const uint16_t pressure = cell.GetPressure();
            const int16_t temperature = cell.GetTemperature();
            const int8_t d = cell.Step(highDirection, highestPressure, lowDirection, lowestPressure,
                                       north, target);
            if (d == Weather_Cell::NO_DIRECTION)
                continue;
            const int8_t trend = cell.TakeTrend();
            const uint8_t moisture = cell.TakeMoistureShare();
            HandOn(y, x, d, pressure, temperature, trend, moisture);
        }
    }
}

void Weather::DrawMarks(const LatLonRect& view, MarkColour colourOf) const
{
    // Indices of the view's edges, kept on the globe (a column index up to
    // a turn past 180 degrees stands for a view across the meridian).
    constexpr int32_t POLE = TURN_COLUMNS / 4;
    constexpr int32_t HALF_TURN = TURN_COLUMNS / 2;
    const int32_t northIndex = std::min(view.north / CELL, POLE);
    const int32_t southIndex = std::max(view.south / CELL, -POLE);
    const int32_t westIndex = std::max(view.west / CELL, -HALF_TURN);
    int32_t eastIndex = view.east / CELL;
    if (view.east < view.west)
        eastIndex += TURN_COLUMNS;   // across the 180-degree meridian
    eastIndex = std::min(eastIndex, HALF_TURN + TURN_COLUMNS);
    for (int32_t rowIndex = northIndex; rowIndex >= southIndex; --rowIndex) {
        for (int32_t columnIndex = westIndex; columnIndex <= eastIndex; ++columnIndex) {
            const int32_t lonIndex = columnIndex > HALF_TURN ? columnIndex - TURN_COLUMNS : columnIndex;
            const LatLonPoint corner(rowIndex * CELL, lonIndex * CELL);
            int32_t row = 0;
            int32_t column = 0;
            if (!CellOf(corner, row, column))
                continue;
            const int16_t colour = colourOf(*GetCell(row, column));
            if (colour != 0)
                Nav2Game::MapPlot(Nav2Game::LatLonToXY(corner), colour);
        }
    }
}

void Weather::DrawSeaStates(const LatLonRect& view) const
{
    DrawMarks(view, &SeaStateColour);
}

void Weather::DrawClouds(const LatLonRect& view) const
{
    DrawMarks(view, &CloudColour);
}

void Weather::DrawWeather(const LatLonRect& view) const
{
    DrawMarks(view, &WeatherColour);
}
