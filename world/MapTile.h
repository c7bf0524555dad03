// MapTile.h: MapTile, one one-degree cell of the scenario map with its coast,
// country-border and ice-edge outlines read from the ".cst", ".cty" and ".ice"
// files, and the layer masks. The file layout is described in MapFileWriter.h,
// which writes it; the Map (Map.h) owns the tiles and opens the files.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Point16.h"
#include "core/XYRect.h"
#include "world/MapPoly.h"

class Projection;

// Layer masks of the map data; each is also the map colour its outlines are
// drawn in.
constexpr int16_t MAP_LAYER_COAST   = 1;
constexpr int16_t MAP_LAYER_COUNTRY = 2;
constexpr int16_t MAP_LAYER_ICE     = 4;

// Tile ids: x is the latitude of the cell's north edge (-89 to 90), y the
// longitude of its west edge (-180 to 179), in whole degrees.
constexpr int16_t MAP_TILE_NORTH_MAX = 90;
constexpr int16_t MAP_TILE_NORTH_MIN = -89;
constexpr int16_t MAP_TILE_WEST_MIN  = -180;
constexpr int16_t MAP_TILE_WEST_MAX  = 179;

// True when id names a cell of the globe, so that its index entry lies inside
// the tile index of a map data file.
bool IsValidTileID(const Point16& id);

class MapTile {
public:
    // Id (0, 0), zero rectangles, no outlines.
    MapTile() = default;
    ~MapTile() = default;
    MapTile(const MapTile&) = delete;
    MapTile& operator=(const MapTile&) = delete;

    // Reads the cell `id` from the three files (coast, country, ice, in that
    // order, each open for binary reading) and projects it through
    // `projection`. False when a layer cannot be read: that layer's count is
    // -1 and its list empty, later layers are untouched and the rectangles stay
    // zero. A bad id, a damaged file or a missing projection is reported.
    bool Init(const Point16& id, std::istream& coast, std::istream& country,
              std::istream& ice, Projection* projection);

    // Reads this tile's record of one map data file into `polys` (reset first).
    // The polygon count of the record; 0 leaves `polys` null. A negative count
    // read from the file is reported and returned as it is, `polys` null. -1
    // when the record cannot be read: an id off the globe, an index entry that
    // points outside the file, a record of another cell
    // ("MapTile::BuildMapPolyList:  Bad Tile ID. ..."), counts that the file is
    // too short to hold, or a point off the globe; each goes to the error box. The stream's state is cleared first, so a failure on one
    // tile does not fail the next tile read from the same file.
    int16_t BuildMapPolyList(std::istream& in, std::unique_ptr<MapPoly[]>& polys);

    // True when none of the three layers has an outline list.
    bool IsEmpty() const;

    // Draws the outlines of the layers selected in `mask` (bits 1, 2, 4; other
    // bits ignored) that the view (map plane) can show, skipping points below
    // `level`: all of them when the tile lies wholly inside the view, else
    // those whose own rectangle overlaps the view. Coast, country, then ice,
    // each in the colour of its bit.
    void Draw(uint8_t level, int32_t mask, const XYRect& view) const;

    // Crossings of segment a-b with the coast (bit 1) and ice (bit 4) outlines
    // whose rectangles it touches; bit 2 is ignored.
    int32_t CountCrossings(const LatLonPoint& a, const LatLonPoint& b, int16_t mask) const;

    // The first point where segment a-b meets a coast (bit 1) or ice (bit 4)
    // outline, coast first, in list and edge order (not the nearest to a);
    // None when the segment misses the cell or meets nothing. With
    // `crossesDateline` set, a and b are first moved to the tile's side of the
    // 180-degree meridian (360 degrees added or taken away), and the caller
    // sees the moved points.
    LatLonPoint FirstCrossing(LatLonPoint* a, LatLonPoint* b, int16_t mask,
                              uint8_t crossesDateline) const;

    const Point16& GetID() const { return id; }
    // The projected cell corners widened by every outline.
    const XYRect& GetXYRect() const { return xyRect; }
    // The cell: north = id.x degrees, west = id.y degrees, one degree square.
    const LatLonRect& GetCell() const { return cell; }

    // Outline count of one layer (1, 2 or 4): -1 after a failed read, 0 for
    // none. Another mask gives 0.
    int16_t GetPolyCount(int16_t layer) const;
    // The outlines of one layer; null when it has none.
    const MapPoly* GetPolys(int16_t layer) const;

private:
    void ProjectLayer(Projection& projection, MapPoly* polys, int16_t polyCount);
    void DrawLayer(const MapPoly* polys, int16_t polyCount, uint8_t level, int16_t colour,
                   const XYRect& view, bool wholeTile) const;
    LatLonPoint FirstLayerCrossing(const MapPoly* polys, int16_t polyCount,
                                   const LatLonPoint& a, const LatLonPoint& b) const;

    Point16 id;
    XYRect xyRect;
    LatLonRect cell;
    int16_t coastCount = 0;
    int16_t countryCount = 0;
    int16_t iceCount = 0;
    std::unique_ptr<MapPoly[]> coast;     // coastCount entries or null
    std::unique_ptr<MapPoly[]> country;
    std::unique_ptr<MapPoly[]> ice;
};
