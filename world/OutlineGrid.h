// OutlineGrid.h: OutlineGrid, a coarse grid over the scenario map recording
// which cells the coast and ice outlines of the map's tiles come near, so that
// a segment over open water is known to meet no outline without testing a
// single edge; and the switch that turns the map's line-of-sight shortcuts
// (this grid and the rectangle rejects of the tiles and outlines) on and off.
// Built by the Map (Map.h) when its tiles load; never saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Units.h"

class MapTile;

// The map's outline queries skip the grid cells, tiles, outlines and edges
// that a cheap test shows cannot meet a segment, and the land and ice tests
// take their tile's reference cell from a table. On at start; off, every
// edge is tested as it comes and every reference is looked for (the same
// answers, only slower). Answers the setting it replaces.
bool SetOutlineShortcuts(bool on);
bool OutlineShortcutsOn();

// True when the rectangle of segment a-b and `rect` (edges included) share no
// point. Every crossing test of the map (rounded intersection, exact crossing
// count, rectangle crossing) finds its meeting inside both rectangles, so
// such a segment meets nothing in `rect`.
inline bool SegmentBoxMisses(const LatLonRect& rect, const LatLonPoint& a, const LatLonPoint& b)
{
    return (a.lat > b.lat ? a.lat : b.lat) < rect.south || (a.lat < b.lat ? a.lat : b.lat) > rect.north ||
           (a.lon > b.lon ? a.lon : b.lon) < rect.west || (a.lon < b.lon ? a.lon : b.lon) > rect.east;
}

// The same for edge p-q.
inline bool SegmentBoxesMiss(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p,
                             const LatLonPoint& q)
{
    const LatLonRect edge(p.lat > q.lat ? p.lat : q.lat, p.lon < q.lon ? p.lon : q.lon,
                          p.lat < q.lat ? p.lat : q.lat, p.lon > q.lon ? p.lon : q.lon);
    return SegmentBoxMisses(edge, a, b);
}

class OutlineGrid {
public:
    // Finest cell side: 1/4 degree, in angle units; the side doubles until
    // the grid holds at most MAX_CELLS cells (one byte each).
    static constexpr int32_t FINEST_CELL = ANGLE_PER_DEGREE / 4;
    static constexpr int64_t MAX_CELLS = 256 * 1024;
    // Whole degrees the grid reaches beyond the scenario area on every side,
    // so that the land test's walk to its tile's reference point stays inside.
    static constexpr int32_t MARGIN_DEGREES = 2;

    // An empty grid: every segment is "may meet".
    OutlineGrid() = default;

    // Builds the grid over `area` (widened by the margin, aligned to whole
    // degrees) from the coast (bit 1) and ice (bit 4) outlines of the tiles:
    // a cell is marked with a layer's bit when the rectangle of one of the
    // layer's edges (or single points) touches it, edges included. An area
    // across the 180-degree meridian leaves the grid empty.
    void Build(const LatLonRect& area, const MapTile* tiles, uint16_t tileCount);
    void Clear();

    // True when segment a-b (longitude as x, latitude as y, as the outlines
    // store them) lies wholly inside the grid and passes through no cell
    // marked with a layer of `mask` (bits 1 and 4; others ignored): then no
    // edge of those layers meets it, nor comes within the rounding of the
    // segment intersection. False when in doubt.
    bool Misses(const LatLonPoint& a, const LatLonPoint& b, int16_t mask) const;

    bool IsEmpty() const { return cells.empty(); }
    // Bytes the cells take.
    size_t MemoryBytes() const { return cells.capacity(); }
    int32_t Rows() const { return rows; }
    int32_t Columns() const { return columns; }
    int32_t CellSide() const { return cellSide; }

private:
    // Adds one over the cells the rectangle touches (edges included) to the
    // difference table `cover` ((rows + 1) x (columns + 1)); off the grid, none.
    void AddRect(std::vector<int64_t>& cover, int64_t north, int64_t west, int64_t south, int64_t east) const;
    int64_t RowOf(int64_t lat) const;
    int64_t ColumnOf(int64_t lon) const;

    std::vector<uint8_t> cells;   // rows x columns, row 0 southmost, column 0 westmost
    int64_t south = 0;            // the grid's south-west corner, angle units
    int64_t west = 0;
    int32_t rows = 0;
    int32_t columns = 0;
    int32_t cellSide = FINEST_CELL;
};
