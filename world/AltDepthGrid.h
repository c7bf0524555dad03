// AltDepthGrid.h: AltDepthGrid, the terrain of a scenario: one signed 16-bit
// cell every half degree of latitude and longitude over the scenario's
// rectangle, ground height (>= 0) or sea depth (< 0) with ice-pack bits. The
// Map owns it, reads it from the end of the map section and asks it for
// altitudes, land and ice reference cells and the map shading.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Units.h"

class AltDepthGrid {
public:
    // The grid's step: half a degree of latitude or longitude, in angle units.
    static constexpr int32_t STEP = ANGLE_PER_DEGREE / 2;   // 122880 (0x1E000)
    // Columns round the world.
    static constexpr int32_t COLUMNS_ROUND_WORLD = 720;
    // The largest grid: pole to pole, and once round the world with both edges.
    static constexpr int32_t MAX_ROWS = 361;
    static constexpr int32_t MAX_COLUMNS = COLUMNS_ROUND_WORLD + 1;
    // Cell bits Get_Cell clears.
    static constexpr uint16_t CLEARED_BITS = 0x6000;

    // Sizes the grid from the scenario's corners and reads its cells from
    // the stream: rows north to south, each west to east, every cell an i16,
    // little-endian, with no header (the counts follow from the corners).
    // southEast's longitude comes already moved east of northWest across the
    // 180-degree meridian. Rows = (north - south) / step + 1, columns =
    // (east - west) / step + 1, each division truncated toward zero.
    // A size outside 1..MAX_ROWS by 1..MAX_COLUMNS is reported and
    // leaves the grid not valid, as does a failed allocation; nothing is then
    // read. A short read leaves the rest of the cells 0 and the stream failed
    // for the caller to judge.
    AltDepthGrid(std::istream& in, const LatLonPoint& northWest, const LatLonPoint& southEast,
                 uint16_t icepackID);
    ~AltDepthGrid();

    AltDepthGrid(const AltDepthGrid&) = delete;
    AltDepthGrid& operator=(const AltDepthGrid&) = delete;

    // Writes the cells in the form the constructor reads (a grid whose cells
    // could not be allocated writes zeros in their place). Answers the
    // stream's state.
    bool Save(std::ostream& out) const;

    // False when the size was refused or the cells could not be allocated.
    bool Is_Valid() const { return valid; }

    // Altitude (> 0) or depth (< 0) at any position, in cell units / 8,
    // interpolated between the four grid points round it. Positions off the
    // grid take the nearest edge's values; a point on an edge takes that
    // edge's value. 0 when the grid is not valid.
    int32_t Get_Altitude(LatLonPoint p) const;

    // The cell at the grid point at or toward zero from p (truncated), with
    // bits 13 and 14 cleared; off the grid the nearest edge cell. 0 when the
    // grid is not valid.
    int16_t Get_Cell(LatLonPoint p) const;

    // 1 when the cell Get_Cell reads shares a bit with the ice-pack mask,
    // else -1 (also when the grid is not valid).
    int32_t Is_Ice(LatLonPoint p) const;

    // Plot the grid points inside the view that qualify into the main map
    // window (Nav2Game::LatLonToXY, Nav2Game::MapPlot). The view may be in
    // the aligned form across the 180-degree meridian (east > 180 degrees);
    // grid points the grid does not hold are skipped.
    //   Draw_Altitudes: 0..399 colour 13, 400..799 14, 800..1199 15,
    //                   1200..1599 16, 1600..1999 17, 2000 and above 18.
    //   Draw_Depths:    -80..-1 colour 10, -800..-81 11, -801 and below 12.
    //   Draw_Ice:       cells sharing a bit with the ice-pack mask, colour 4.
    void Draw_Altitudes(LatLonRect view) const;
    void Draw_Depths(LatLonRect view) const;
    void Draw_Ice(LatLonRect view) const;

    uint16_t Get_IcepackID() const { return icepackID; }
    int32_t Get_Row_Count() const { return rowCount; }
    int32_t Get_Column_Count() const { return columnCount; }
    // The first row's latitude and the first column's longitude, in half degrees.
    int16_t Get_North_Index() const { return northIndex; }
    int16_t Get_West_Index() const { return westIndex; }

private:
    // Row and column of a grid latitude / longitude given in half degrees
    // from the first row / column, brought inside the grid: a column off the
    // west or east side is first tried a whole turn round (a grid across the
    // 180-degree meridian), then held at the nearer edge.
    int32_t ClampRow(int64_t row) const;
    int32_t ClampColumn(int64_t column) const;
    // The column of that meridian when the grid holds it (as given, or a
    // whole turn round), else -1.
    int64_t HeldColumn(int64_t column) const;
    int16_t CellAt(int32_t row, int32_t column) const;

    // Plots the cells of the view for which colourOf answers a colour (not 0).
    void Shade(const LatLonRect& view, int16_t (*colourOf)(int16_t cell, uint16_t icepack)) const;

    uint16_t icepackID = 0;
    std::unique_ptr<int16_t[]> cells;   // rowCount x columnCount, row by row
    int16_t northIndex = 0;             // half degrees
    int16_t westIndex = 0;              // half degrees
    int32_t rowCount = 0;
    int32_t columnCount = 0;
    bool valid = false;
};
