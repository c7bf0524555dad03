// AltDepthGrid.cpp: reading and writing the grid cells, the interpolated
// altitude, the land and ice reference cells, and the height, depth and ice
// shading. Every index is brought inside the grid before a cell is read.
#include "world/AltDepthGrid.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <new>
#include <ostream>

#include "core/ErrorReport.h"
#include "world/Nav2Game.h"

namespace {

constexpr int64_t STEP = AltDepthGrid::STEP;

// Map colours of the shading.
constexpr int16_t ICE_COLOUR = 4;

int16_t AltitudeColour(int16_t cell, uint16_t)
{
    if (cell < 0)
        return 0;
    if (cell < 400)
        return 13;
    if (cell <= 799)
        return 14;
    if (cell <= 1199)
        return 15;
    if (cell <= 1599)
        return 16;
    if (cell <= 1999)
        return 17;
    return 18;
}

int16_t DepthColour(int16_t cell, uint16_t)
{
    if (cell >= 0)
        return 0;
    if (cell >= -80)
        return 10;
    if (cell >= -800)
        return 11;
    return 12;
}

int16_t IceColour(int16_t cell, uint16_t icepack)
{
    return (static_cast<uint16_t>(cell) & icepack) != 0 ? ICE_COLOUR : 0;
}

// Angles to whole grid steps, truncated toward zero, and back.
int64_t StepsOf(int32_t angle)
{
    return angle / STEP;
}

// A column offset folded into one turn of columns, 0 .. 719.
int64_t TurnedColumn(int64_t column)
{
    const int64_t turned = column % AltDepthGrid::COLUMNS_ROUND_WORLD;
    return turned < 0 ? turned + AltDepthGrid::COLUMNS_ROUND_WORLD : turned;
}

int32_t AngleOfSteps(int64_t steps)
{
    return static_cast<int32_t>(std::clamp<int64_t>(steps * STEP, INT32_MIN, INT32_MAX));
}

}  // namespace

AltDepthGrid::AltDepthGrid(std::istream& in, const LatLonPoint& northWest,
                           const LatLonPoint& southEast, uint16_t icepackID)
    : icepackID(icepackID)
{
    const int64_t rows = (int64_t{northWest.lat} - southEast.lat) / STEP + 1;
    const int64_t columns = (int64_t{southEast.lon} - northWest.lon) / STEP + 1;
    if (rows < 1 || rows > MAX_ROWS || columns < 1 || columns > MAX_COLUMNS) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "AltDepthGrid::AltDepthGrid: %lld rows by %lld columns is outside "
                      "1..%d by 1..%d",
                      static_cast<long long>(rows), static_cast<long long>(columns), MAX_ROWS,
                      MAX_COLUMNS);
        ErrorBox(text);
        return;
    }
    // |lat| and |lon| of a sized grid may still be anything; the indices are
    // only ever compared, so holding them at the i16 limits is enough.
    northIndex = static_cast<int16_t>(std::clamp<int64_t>(StepsOf(northWest.lat), INT16_MIN, INT16_MAX));
    westIndex = static_cast<int16_t>(std::clamp<int64_t>(StepsOf(northWest.lon), INT16_MIN, INT16_MAX));
    rowCount = static_cast<int32_t>(rows);
    columnCount = static_cast<int32_t>(columns);

    cells.reset(new (std::nothrow) int16_t[static_cast<size_t>(rowCount) * columnCount]());
    if (!cells)
        return;
    valid = true;

    unsigned char bytes[2 * MAX_COLUMNS];
    const std::streamsize rowBytes = 2 * columnCount;
    for (int32_t row = 0; row < rowCount; ++row) {
        if (!in.read(reinterpret_cast<char*>(bytes), rowBytes))
            break;   // the rest stays 0; the caller judges the stream
        int16_t* cell = &cells[static_cast<size_t>(row) * columnCount];
        for (int32_t column = 0; column < columnCount; ++column) {
            const uint16_t raw = static_cast<uint16_t>(bytes[2 * column] | (bytes[2 * column + 1] << 8));
            cell[column] = static_cast<int16_t>(raw);
        }
    }
}

AltDepthGrid::~AltDepthGrid() = default;

bool AltDepthGrid::Save(std::ostream& out) const
{
    char bytes[2 * MAX_COLUMNS];
    for (int32_t row = 0; row < rowCount; ++row) {
        for (int32_t column = 0; column < columnCount; ++column) {
            const uint16_t raw = static_cast<uint16_t>(cells ? CellAt(row, column) : 0);
            bytes[2 * column] = static_cast<char>(raw & 0xFF);
            bytes[2 * column + 1] = static_cast<char>(raw >> 8);
        }
        out.write(bytes, 2 * columnCount);
    }
    return static_cast<bool>(out);
}

int32_t AltDepthGrid::ClampRow(int64_t row) const
{
    return static_cast<int32_t>(std::clamp<int64_t>(row, 0, rowCount - 1));
}

int64_t AltDepthGrid::HeldColumn(int64_t column) const
{
    if (column >= 0 && column < columnCount)
        return column;
    const int64_t turned = TurnedColumn(column);
    return turned < columnCount ? turned : -1;
}

int32_t AltDepthGrid::ClampColumn(int64_t column) const
{
    const int64_t held = HeldColumn(column);
    if (held >= 0)
        return static_cast<int32_t>(held);
    // Off the grid: the nearer edge, going round the world either way.
    const int64_t turned = TurnedColumn(column);   // columnCount .. 719
    const int64_t eastGap = turned - (columnCount - 1);
    const int64_t westGap = COLUMNS_ROUND_WORLD - turned;
    return eastGap <= westGap ? columnCount - 1 : 0;
}

int16_t AltDepthGrid::CellAt(int32_t row, int32_t column) const
{
    return cells[static_cast<size_t>(row) * columnCount + column];
}

int32_t AltDepthGrid::Get_Altitude(LatLonPoint p) const
{
    if (!valid)
        return 0;
    // The grid latitude at or north of p (on a positive grid latitude the
    // next one north), and the grid longitude at or west of p (on a negative
    // one the next one west, and west of 0 for any longitude just below it).
    int64_t i = StepsOf(p.lat);
    if (i > 0 || (i == 0 && p.lat > 0))
        ++i;
    int64_t j = StepsOf(p.lon);
    if (j < 0 || (j == 0 && p.lon < 0))
        --j;
    const int64_t dlat = i * STEP - p.lat;   // 0 .. STEP, south of grid latitude i
    const int64_t dlon = p.lon - j * STEP;   // 0 .. STEP, east of grid longitude j

    // Each of the four neighbours is held inside the grid on its own, so that
    // a point on or beyond an edge takes the edge's values.
    const int32_t northRow = ClampRow(northIndex - i);
    const int32_t southRow = ClampRow(northIndex - i + 1);
    const int32_t westColumn = ClampColumn(j - westIndex);
    const int32_t eastColumn = ClampColumn(j - westIndex + 1);

    const int64_t a = CellAt(northRow, westColumn) >> 3;
    const int64_t b = CellAt(northRow, eastColumn) >> 3;
    const int64_t d = CellAt(southRow, westColumn) >> 3;
    const int64_t e = CellAt(southRow, eastColumn) >> 3;
    const int64_t upper = (b - a) * dlon / STEP + a;
    const int64_t lower = (e - d) * dlon / STEP + d;
    return static_cast<int32_t>((lower - upper) * dlat / STEP + upper);
}

int16_t AltDepthGrid::Get_Cell(LatLonPoint p) const
{
    if (!valid)
        return 0;
    const int16_t cell = CellAt(ClampRow(northIndex - StepsOf(p.lat)),
                                ClampColumn(StepsOf(p.lon) - westIndex));
    return static_cast<int16_t>(static_cast<uint16_t>(cell) & ~CLEARED_BITS);
}

int32_t AltDepthGrid::Is_Ice(LatLonPoint p) const
{
    if (!valid)
        return -1;
    const int16_t cell = CellAt(ClampRow(northIndex - StepsOf(p.lat)),
                                ClampColumn(StepsOf(p.lon) - westIndex));
    return (static_cast<uint16_t>(cell) & icepackID) != 0 ? 1 : -1;
}

void AltDepthGrid::Shade(const LatLonRect& view,
                         int16_t (*colourOf)(int16_t cell, uint16_t icepack)) const
{
    if (!valid)
        return;
    // Only the rows the grid holds, and only the columns that can reach it
    // directly or a turn round.
    const int64_t firstY = std::min<int64_t>(StepsOf(view.north), northIndex);
    const int64_t lastY = std::max<int64_t>(StepsOf(view.south), int64_t{northIndex} - rowCount + 1);
    const int64_t firstX = std::max<int64_t>(StepsOf(view.west), int64_t{westIndex} - COLUMNS_ROUND_WORLD);
    const int64_t lastX = std::min<int64_t>(StepsOf(view.east),
                                            int64_t{westIndex} + columnCount - 1 + COLUMNS_ROUND_WORLD);
    for (int64_t y = firstY; y >= lastY; --y) {
        const int32_t row = static_cast<int32_t>(northIndex - y);
        for (int64_t x = firstX; x <= lastX; ++x) {
            const int64_t column = HeldColumn(x - westIndex);
            if (column < 0)
                continue;   // a meridian the grid does not hold
            const int16_t colour = colourOf(CellAt(row, static_cast<int32_t>(column)), icepackID);
            if (colour == 0)
                continue;
            const LatLonPoint point(AngleOfSteps(y), AngleOfSteps(x));
            Nav2Game::MapPlot(Nav2Game::LatLonToXY(point), colour);
        }
    }
}

void AltDepthGrid::Draw_Altitudes(LatLonRect view) const
{
    Shade(view, &AltitudeColour);
}

void AltDepthGrid::Draw_Depths(LatLonRect view) const
{
    Shade(view, &DepthColour);
}

void AltDepthGrid::Draw_Ice(LatLonRect view) const
{
    Shade(view, &IceColour);
}
