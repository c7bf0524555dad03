// MapFileWriter.h: MapFileWriter, which writes one coast, country or ice file
// (".cst", ".cty", ".ice") from outlines, and ReadMapSource, the reader of the
// readable map description under data/map/ that tools/mapbuild turns into the
// three files. The reading side is MapTile::BuildMapPolyList (MapTile.h).
//
// File layout, all integers little-endian:
//   0 .. 259199     tile index: 64,800 u32 absolute offsets, one per cell, rows
//                   from north edge 90 southwards to -89, each row from west
//                   edge -180 eastwards to 179: entry ((90 - north) * 360 +
//                   (west + 180)) * 4
//   at an offset    record: i16 north, i16 west (200 in either matches any
//                   cell), i16 polygon count n, then n polygons, each an i16
//                   point count m and m points of 9 bytes (u8 level, i32
//                   latitude, i32 longitude, angle units)
// Every cell without outlines points at one shared record (200, 200, 0).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "core/MapPolyPoint.h"
#include "core/Point16.h"
#include "core/Units.h"

// Bytes of the tile index at the head of every map data file.
constexpr uint32_t MAP_FILE_CELLS = 180 * 360;
constexpr uint32_t MAP_FILE_INDEX_BYTES = MAP_FILE_CELLS * 4;   // 259200
// The record id value that matches every cell.
constexpr int16_t MAP_FILE_ANY_CELL = 200;
// Bytes of one point on file.
constexpr uint32_t MAP_FILE_POINT_BYTES = 9;

// Byte offset of a cell's entry in the tile index. Needs: IsValidTileID(id).
uint32_t MapFileIndexOffset(const Point16& id);

// An outline as the writer takes it: points with level, latitude (first) and
// longitude (second) in angle units.
using MapOutline = std::vector<MapPolyPoint>;

class MapFileWriter {
public:
    // Adds one polygon, unchanged, to the record of cell id. Refused (false,
    // with the reason in `error`) for an id off the globe, an outline without
    // points or with more than 32767, or a cell that already holds 32767.
    bool AddCellPolygon(const Point16& id, const MapOutline& outline, std::string& error);

    // Spreads an outline over the cells it passes through. Each cell receives
    // the runs of consecutive edges that touch it (edges on a cell's border
    // touch both cells), unclipped, so that a segment lying in a cell crosses
    // exactly the edges that cell holds; a closed outline (first point equal
    // to the last) lying wholly in a cell is kept whole and closed. A single
    // point goes to its cell(s). Latitudes must lie within +-90 degrees and
    // longitudes within +-180 degrees; outlines across the 180-degree
    // meridian are not split and are refused.
    bool AddOutline(const MapOutline& outline, std::string& error);

    // Writes the whole file. False when the stream fails.
    bool Write(std::ostream& out) const;
    // Writes the file at `path` (created or replaced). False when it cannot.
    bool WriteFile(const std::string& path) const;

    // Cells that hold at least one polygon.
    size_t CellCount() const { return cells.size(); }
    // The polygons of one cell, in the order added; empty when none.
    const std::vector<MapOutline>& GetCellPolygons(const Point16& id) const;

private:
    std::map<uint32_t, std::vector<MapOutline>> cells;   // by index entry number
};

// The readable description of one map data set, read by ReadMapSource.
// Layers: 0 coast, 1 country borders, 2 ice edge.
struct MapSource {
    std::vector<MapOutline> layers[3];
};

// Reads a JSON description:
//   { "coast":   [ outline, ... ],        each layer optional
//     "country": [ outline, ... ],
//     "ice":     [ outline, ... ] }
//   outline = { "name": "text (optional)",
//               "closed": true | false (optional, default false: when true the
//                         first point is repeated at the end unless it is there),
//               "level": 1 to 127 (optional, default 5: the level of every
//                        point that gives none),
//               "points": [ [lat, lon], [lat, lon, level], ... ] }
// Latitudes and longitudes in decimal degrees (north and east positive),
// rounded to the nearest angle unit. Other keys are ignored. False with a
// reason naming the layer, outline and point on any malformed entry.
bool ReadMapSource(std::istream& in, MapSource& source, std::string& error);

// The land and ice tests of the map (Map::Is_Land, Map::Is_Ice) count the
// coast or ice crossings between a point and a grid point of known kind: one
// of the half-degree lattice (every whole and half degree of latitude and
// longitude) near the north-west corner of the point's tile. A coast or ice
// outline through such a grid point leaves that count undecided, and every
// point measured from it may read the wrong way, so the builder keeps those
// outlines clear of the lattice.
constexpr int32_t MAP_REFERENCE_SPACING = ANGLE_PER_DEGREE / 2;
// The closest a coast or ice outline may pass to a grid point of that
// lattice, angle units (about 7 metres): well beyond the rounding of the
// crossing arithmetic.
constexpr int32_t MAP_REFERENCE_CLEARANCE = 16;

// True when no point and no edge of the outline comes closer than
// MAP_REFERENCE_CLEARANCE to a point of the half-degree lattice (distances
// taken with latitude and longitude as a plane, as the crossing tests take
// them). False with the first point or edge and the grid point it passes
// named in `error`. The points lie on the globe, as ReadMapSource ensures;
// the work grows with the area each edge spans.
bool CheckReferenceClearance(const MapOutline& outline, std::string& error);

// Builds the three writers of a description and writes `base` + ".cst",
// ".cty" and ".ice". Refused before anything is written when a coast or ice
// outline fails CheckReferenceClearance (country borders take no part in
// the land and ice tests). False with the reason in `error`.
bool WriteMapFiles(const MapSource& source, const std::string& base, std::string& error);
