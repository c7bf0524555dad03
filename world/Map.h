// Map.h: Map, the geography of the running scenario held in gMap: its area,
// projection, one-degree tiles of coast, border and ice outlines and its
// altitude/depth grid; the map section of scenario files; and the terrain
// queries (on the map, land, ice, altitude, highest point, first crossing).
// The drawing members are in MapDrawing.cpp; the pieces the map owns are in
// core/Projection.h, world/MapTile.h and world/AltDepthGrid.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <vector>

#include "core/ElevationPoint.h"
#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Point16.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"
#include "world/OutlineGrid.h"

class AltDepthGrid;
class MapTile;
class Projection;

// Flag word bits of the map windows' display options that the map draws.
constexpr int32_t MAP_DRAW_COAST     = 0x01;
constexpr int32_t MAP_DRAW_COUNTRY   = 0x02;
constexpr int32_t MAP_DRAW_ICE_EDGE  = 0x04;
constexpr int32_t MAP_DRAW_ALTITUDES = 0x08;
constexpr int32_t MAP_DRAW_DEPTHS    = 0x10;
constexpr int32_t MAP_DRAW_ICE_PACK  = 0x40;

class Map {
public:
    // Bytes of each data file name field: eight characters and the zero byte.
    static constexpr int NAME_FIELD_SIZE = 9;

    // An empty map: no tiles, grid or projection, all boundaries zero. Clears
    // the class-wide valid flag.
    Map();
    // Frees the tiles, grid and projection; clears the class-wide valid flag.
    ~Map();
    Map(const Map&) = delete;
    Map& operator=(const Map&) = delete;

    // Scenario file map section, little-endian, no padding:
    //   L1            u8      coast file name length + 1 (1 to 9)
    //   coast name    L1      name without extension and its zero byte
    //   L2, country   u8, L2  the same for the country border file
    //   L3, ice       u8, L3  the same for the ice edge file
    //   lat/lon area  4 x i32 north, west, south, east (angle units)
    //   xy area       4 x i32 left, top, right, bottom (map plane)
    //   projectionID  u8      1 Miller cylindrical, 2 Cassini
    //   origin        2 x i32 latitude, longitude
    //   icepackID     u16     the grid's ice bit mask
    //   n             u16     tile ids that follow
    //   tile ids      n x 4   i16 north edge, i16 west edge (whole degrees)
    //   grid cells    i16 each, rows x columns from the lat/lon area
    //
    // Reads the section and builds the map; `directory` (the MapDir text,
    // e.g. ".\") is put before each data file name when it is not empty. On a
    // damaged section or a missing data file the problem is shown in an
    // error box, both areas are set to zero, the stream is left failed
    // (the rest of the section was not read, so nothing after it can be) and
    // the result is false. The section is refused when a name length lies
    // outside 1 to 9, the lat/lon area lies off the globe or is upside down, a
    // tile id lies off the globe, a tile cannot be read from the data files,
    // the grid is cut short, a map with tiles has a tile of its area whose
    // reference cells (see Is_Land) are all zero, or the xy area, widened to
    // the tiles, holds points the projection cannot convert back.
    // Whatever the map held before is dropped first.
    bool Create_Map(std::istream& in, const char* directory);
    // Writes the section. Empty tiles are left out, so the count written may
    // be smaller than the one read. Without a grid (a map never loaded) the
    // section ends after the tile ids, with icepackID 0, and the result is false.
    bool Save(std::ostream& out) const;

    // Copies of the scenario areas; the xy area is widened to every tile.
    LatLonRect Get_LatLonRect() const { return latLonBoundary; }
    XYRect Get_XYRect() const { return xyBoundary; }
    // The lat/lon rectangle a view of the map plane shows, clipped to the
    // scenario area; the scenario area itself on a map without projection.
    LatLonRect Get_View_LatLonRect(XYRect view) const;

    // Conversions through the projection; (0, 0) without one.
    XYPoint LatLon_to_XY(LatLonPoint p) const;
    LatLonPoint XY_to_LatLon(XYPoint p) const;

    // True when the point lies in the scenario area, edges included (an area
    // across the 180-degree meridian is handled). False without projection.
    bool Is_On_Map(LatLonPoint p) const;
    // Land and ice pack tests: the parity of the outline crossings between the
    // point and a grid reference point of known kind. False off the map and on
    // a map without tiles.
    bool Is_Land(LatLonPoint p) const;
    bool Is_Ice(LatLonPoint p) const;
    // Height (positive) or depth (negative) in grid units / 8: never below 0
    // on land, never above -1 at sea; 0 off the map or without a grid.
    int16_t Get_Altitude(LatLonPoint p) const;

    // The highest ground between a and b, favouring near ground: samples every
    // 15 nm from a along the first step's direction while below the range, the
    // k-th sample weighted by altitude / k. A leg under 15 nm looks only at its
    // midpoint; a leg of exactly 15 nm samples nothing and gives altitude 0 at
    // (0, 0). Neither end is sampled.
    ElevationPoint Get_Highest_Point_Between(LatLonPoint a, LatLonPoint b) const;

    // The first point where segment a-b meets a coast (mask bit 1) or ice
    // (bit 4) outline, in tile, outline and edge order (not the nearest to a);
    // when there is none and b lies off the map, where the segment leaves the
    // map; else None. None on a map without tiles.
    LatLonPoint Get_First_Crossing(LatLonPoint a, LatLonPoint b, int16_t mask) const;
    // Where segment a-b crosses the edge of the scenario area; a (after an
    // error box) when it crosses none.
    LatLonPoint Get_Map_Edge_Crossing(LatLonPoint a, LatLonPoint b) const;
    // Outline crossings of segment a-b, counted until the total reaches 2.
    uint16_t Count_Crossings(LatLonPoint a, LatLonPoint b, int16_t mask) const;
    // Both ends on the map and no coast or ice outline between them.
    bool Is_Path_Clear(LatLonPoint a, LatLonPoint b) const;
    // Both ends on the map and at most one coast crossing between them.
    bool Crosses_Coast_At_Most_Once(LatLonPoint a, LatLonPoint b) const;

    // Drawing into the main map window through the bridge's map pen
    // (MapDrawing.cpp). Draw_Map_in_Window draws the shading chosen by the
    // flag word (altitudes, depths, ice pack) and then the outlines (coast,
    // country, ice edge) at the level of detail of the window's scale; a map
    // without tiles draws no outlines. A map that is not completely loaded,
    // or has no grid, is a fatal error.
    void Draw_Map_in_Window(XYRect view, int32_t flags) const;
    // The latitude/longitude grid every `spacing` whole degrees; 0 draws none.
    void Draw_Grid_in_Window(XYRect view, uint8_t spacing) const;
    // Meridians over the area's exact north and south edges, parallels
    // between its whole-degree west and east edges; degrees truncate toward 0.
    void Draw_Grid_Lines(uint8_t spacing, LatLonRect area) const;
    // The outline level of detail for a window scale in map units per pixel:
    // 1 below 7000, 2 below 10000, 3 below 14000, 4 below 22000, else 5.
    static uint8_t DetailLevelForScale(int32_t scale);

    // True only while a completely loaded map exists.
    static bool IsMapValid() { return sMapValid; }

    uint8_t GetProjectionID() const { return projectionID; }
    LatLonPoint GetOrigin() const { return origin; }
    const Projection* GetProjection() const { return projection.get(); }
    const AltDepthGrid* GetAltDepthGrid() const { return altdepthgrid.get(); }
    uint16_t GetTileCount() const { return tileCount; }
    // Needs: index < GetTileCount().
    const MapTile& GetTile(uint16_t index) const;
    const char* GetCoastFileName() const { return coastFileName; }
    const char* GetCountryFileName() const { return countryFileName; }
    const char* GetIceFileName() const { return iceFileName; }
    // The coarse grid of the coast and ice outlines the crossing queries
    // consult first (OutlineGrid.h); empty until the tiles load.
    const OutlineGrid& GetOutlineGrid() const { return outlineGrid; }

private:
    // Layer 1 land, 4 ice pack.
    bool Is_Inside_Layer(LatLonPoint p, int16_t layer) const;
    bool Create_AltDepthGrid(std::istream& in, uint16_t icepackID);
    // The land and ice tests' reference for the tile: the first non-zero grid
    // cell among nine near its north-west corner, 0 when all nine are zero
    // (reference then holds the last probe).
    int32_t ReferenceCell(const Point16& id, LatLonPoint& reference) const;
    // True when every tile id of the lat/lon area has a reference; else false
    // with the first that has none in bare.
    bool Every_Tile_Has_Reference(Point16& bare) const;
    void Fit_XYRect_To_Tiles();

    // Drops tiles, grid and projection and zeroes every field.
    void Clear();
    // Marks the load failed: both areas zero, the stream failed; answers false.
    bool FailLoad(std::istream& in);
    // The index of the first tile with this id, -1 when none.
    int32_t FindTile(const Point16& id) const;
    void BuildTileIndex();
    // Fills tileReferences from the grid; ReferenceCell through it.
    void BuildTileReferences();
    int32_t CachedReferenceCell(const Point16& id, LatLonPoint& reference) const;

    std::unique_ptr<MapTile[]> tilelist;          // tileCount entries, null when none
    std::unique_ptr<AltDepthGrid> altdepthgrid;   // null until loaded
    std::unique_ptr<Projection> projection;       // null until loaded
    uint8_t projectionID = 0;                     // 1 Miller, 2 Cassini
    LatLonRect latLonBoundary;                    // angle units
    XYRect xyBoundary;                            // map plane
    LatLonPoint origin;                           // the projection's origin
    uint16_t tileCount = 0;
    char coastFileName[NAME_FIELD_SIZE] = {};
    char countryFileName[NAME_FIELD_SIZE] = {};
    char iceFileName[NAME_FIELD_SIZE] = {};

    // Tile lookup by id: a table over the rectangle of tile ids in use,
    // row = indexNorth - id.x, column = id.y - indexWest, holding the first
    // tile of that id or -1. Not saved; rebuilt with the tiles.
    std::vector<int32_t> tileIndex;
    int16_t indexNorth = 0;
    int16_t indexWest = 0;
    int32_t indexRows = 0;
    int32_t indexColumns = 0;

    // Each tile index entry's ReferenceCell answer, worked out once the grid
    // has loaded; empty until then. Not saved.
    struct TileReference {
        int32_t cell = 0;
        LatLonPoint point;
    };
    std::vector<TileReference> tileReferences;

    // Built with the tiles; not saved.
    OutlineGrid outlineGrid;

    static bool sMapValid;
};

// The scenario map; created empty at start-up, replaced for every scenario.
extern Map* gMap;
