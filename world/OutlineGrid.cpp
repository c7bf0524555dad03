// OutlineGrid.cpp: the coarse grid of the coast and ice outlines and the walk
// of a segment through it.
//
// Why a clear walk is exact: the tiles' crossing tests report a meeting with
// an edge only at a point R lying in the edge's rectangle and within about
// half a unit of the segment, measured across its longer axis (the exact
// crossing count meets the segment itself; the rounded intersection lies on
// the segment's line within its rectangle). A cell holding R is marked,
// since the edge's rectangle touches it, and the walk visits it, since it
// looks at every cell within two units of the segment across that axis.
#include "world/OutlineGrid.h"

#include <algorithm>
#include <cmath>

#include "world/MapPoly.h"
#include "world/MapTile.h"

namespace {

bool gShortcuts = true;

// Floor division for a positive divisor.
int64_t FloorDiv(int64_t value, int64_t divisor)
{
    const int64_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

// Across-axis slack of the walk, in angle units: the rounding of the
// intersection point (half a unit) and the error of the double arithmetic
// here and there (far below a unit), with room to spare.
constexpr double WALK_SLACK = 3.0;

}  // namespace

bool SetOutlineShortcuts(bool on)
{
    const bool previous = gShortcuts;
    gShortcuts = on;
    return previous;
}

bool OutlineShortcutsOn()
{
    return gShortcuts;
}

void OutlineGrid::Clear()
{
    cells.clear();
    cells.shrink_to_fit();
    south = west = 0;
    rows = columns = 0;
    cellSide = FINEST_CELL;
}

int64_t OutlineGrid::RowOf(int64_t lat) const
{
    return FloorDiv(lat - south, cellSide);
}

int64_t OutlineGrid::ColumnOf(int64_t lon) const
{
    return FloorDiv(lon - west, cellSide);
}

void OutlineGrid::Build(const LatLonRect& area, const MapTile* tiles, uint16_t tileCount)
{
    Clear();
    if (area.east < area.west || area.north < area.south || tiles == nullptr)
        return;   // across the 180-degree meridian: every query takes the full test
    const int64_t margin = int64_t{MARGIN_DEGREES} * ANGLE_PER_DEGREE;
    south = FloorDiv(area.south, ANGLE_PER_DEGREE) * ANGLE_PER_DEGREE - margin;
    west = FloorDiv(area.west, ANGLE_PER_DEGREE) * ANGLE_PER_DEGREE - margin;
    const int64_t north = -FloorDiv(-int64_t{area.north}, ANGLE_PER_DEGREE) * ANGLE_PER_DEGREE + margin;
    const int64_t east = -FloorDiv(-int64_t{area.east}, ANGLE_PER_DEGREE) * ANGLE_PER_DEGREE + margin;
    int64_t side = FINEST_CELL;
    int64_t r = 0, c = 0;
    for (;;) {
        r = (north - south + side - 1) / side;
        c = (east - west + side - 1) / side;
        if (r * c <= MAX_CELLS)
            break;
        side *= 2;
    }
    cellSide = static_cast<int32_t>(side);
    rows = static_cast<int32_t>(r);
    columns = static_cast<int32_t>(c);
    cells.assign(static_cast<size_t>(r * c), 0);

    // Each layer's edge rectangles are summed on a difference table and the
    // cells marked from its running sums: the work grows with the edges plus
    // the cells, not with their product, however wide a damaged file's edges
    // run.
    std::vector<int64_t> cover(static_cast<size_t>((r + 1) * (c + 1)));
    for (const int16_t layer : {MAP_LAYER_COAST, MAP_LAYER_ICE}) {
        std::fill(cover.begin(), cover.end(), 0);
        for (uint16_t t = 0; t < tileCount; ++t) {
            const MapPoly* polys = tiles[t].GetPolys(layer);
            const int16_t polyCount = tiles[t].GetPolyCount(layer);
            for (int16_t i = 0; polys != nullptr && i < polyCount; ++i) {
                const LatLonPoint* pt = polys[i].GetPoints();
                const int16_t count = polys[i].GetCount();
                if (pt == nullptr || count <= 0)
                    continue;
                if (count == 1)
                    AddRect(cover, pt[0].lat, pt[0].lon, pt[0].lat, pt[0].lon);
                for (int16_t k = 1; k < count; ++k) {
                    const LatLonPoint& p = pt[k - 1];
                    const LatLonPoint& q = pt[k];
                    AddRect(cover, std::max(p.lat, q.lat), std::min(p.lon, q.lon), std::min(p.lat, q.lat),
                            std::max(p.lon, q.lon));
                }
            }
        }
        const int64_t width = c + 1;
        for (int64_t row = 0; row < r; ++row) {
            for (int64_t column = 0; column < c; ++column) {
                int64_t& sum = cover[static_cast<size_t>(row * width + column)];
                if (row > 0)
                    sum += cover[static_cast<size_t>((row - 1) * width + column)];
                if (column > 0)
                    sum += cover[static_cast<size_t>(row * width + column - 1)];
                if (row > 0 && column > 0)
                    sum -= cover[static_cast<size_t>((row - 1) * width + column - 1)];
                if (sum != 0)
                    cells[static_cast<size_t>(row * c + column)] |= static_cast<uint8_t>(layer);
            }
        }
    }
}

void OutlineGrid::AddRect(std::vector<int64_t>& cover, int64_t north, int64_t westEdge, int64_t southEdge,
                          int64_t east) const
{
    const int64_t r0 = std::max<int64_t>(RowOf(southEdge), 0);
    const int64_t r1 = std::min<int64_t>(RowOf(north), rows - 1);
    const int64_t c0 = std::max<int64_t>(ColumnOf(westEdge), 0);
    const int64_t c1 = std::min<int64_t>(ColumnOf(east), columns - 1);
    if (r0 > r1 || c0 > c1)
        return;   // wholly off the grid
    const int64_t width = int64_t{columns} + 1;
    cover[static_cast<size_t>(r0 * width + c0)] += 1;
    cover[static_cast<size_t>(r0 * width + c1 + 1)] -= 1;
    cover[static_cast<size_t>((r1 + 1) * width + c0)] -= 1;
    cover[static_cast<size_t>((r1 + 1) * width + c1 + 1)] += 1;
}

bool OutlineGrid::Misses(const LatLonPoint& a, const LatLonPoint& b, int16_t mask) const
{
    if (cells.empty())
        return false;
    const uint8_t bits = static_cast<uint8_t>(mask & (MAP_LAYER_COAST | MAP_LAYER_ICE));
    // Walk along the longer axis (0 longitude, 1 latitude) in strips one cell
    // wide; in each strip, the cells across it that the segment comes within
    // the slack of. Offsets from the grid's corner are never negative inside
    // it, so truncation is the floor.
    const int64_t pa[2] = {a.lon, a.lat};
    const int64_t pb[2] = {b.lon, b.lat};
    const int64_t origin[2] = {west, south};
    const int64_t extent[2] = {columns, rows};
    const int major = std::llabs(pb[0] - pa[0]) >= std::llabs(pb[1] - pa[1]) ? 0 : 1;
    const int minor = 1 - major;
    const int64_t u0 = std::min(pa[major], pb[major]) - origin[major];
    const int64_t u1 = std::max(pa[major], pb[major]) - origin[major];
    if (u0 < 0)
        return false;
    const int64_t s0 = u0 / cellSide;
    const int64_t s1 = u1 / cellSide;
    if (s1 >= extent[major])
        return false;
    const int64_t du = pb[major] - pa[major];
    const double slope = du != 0 ? static_cast<double>(pb[minor] - pa[minor]) / static_cast<double>(du) : 0.0;
    const double start = static_cast<double>(pa[major] - origin[major]);
    const double base = static_cast<double>(pa[minor] - origin[minor]);
    const double perCell = 1.0 / cellSide;
    const double limit = static_cast<double>(extent[minor]);
    const int64_t step = major == 0 ? 1 : columns;     // index step from strip to strip
    const int64_t across = major == 0 ? columns : 1;   // index step across a strip
    for (int64_t s = s0; s <= s1; ++s) {
        const double x0 = static_cast<double>(std::max(s * cellSide, u0));
        const double x1 = static_cast<double>(std::min((s + 1) * cellSide, u1));
        const double v0 = base + slope * (x0 - start);
        const double v1 = base + slope * (x1 - start);
        const double lo = (std::min(v0, v1) - WALK_SLACK) * perCell;
        const double hi = (std::max(v0, v1) + WALK_SLACK) * perCell;
        if (lo < 0.0 || hi >= limit)
            return false;
        const int64_t r0 = static_cast<int64_t>(lo);
        const int64_t r1 = static_cast<int64_t>(hi);
        const uint8_t* cell = &cells[static_cast<size_t>(s * step + r0 * across)];
        for (int64_t r = r0; r <= r1; ++r, cell += across) {
            if (*cell & bits)
                return false;
        }
    }
    return true;
}
