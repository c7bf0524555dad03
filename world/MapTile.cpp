// MapTile.cpp: reading a tile's records from the coast, country and ice
// files, projecting them, drawing them and the crossing queries.
#include "world/MapTile.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <new>

#include "core/ErrorReport.h"
#include "core/Geometry.h"
#include "core/Projection.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/MapFileWriter.h"
#include "world/OutlineGrid.h"

namespace {

// Bytes of a record head: i16 north, i16 west, i16 polygon count.
constexpr uint64_t RECORD_HEAD_BYTES = 6;
// Bytes of a polygon's point count.
constexpr uint64_t POINT_COUNT_BYTES = 2;

// Length of a seekable stream in bytes, the read position left at the start;
// -1 when the stream cannot tell.
int64_t StreamLength(std::istream& in)
{
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    in.seekg(0, std::ios::beg);
    if (!in || end < 0)
        return -1;
    return static_cast<int64_t>(end);
}

// Reports a damaged record of tile id through the error box; `what` holds one
// %lld for the value that gave it away.
void ReportDamage(const Point16& id, const char* what, long long value)
{
    char detail[120];
    std::snprintf(detail, sizeof detail, what, value);
    char text[200];
    std::snprintf(text, sizeof text, "MapTile::BuildMapPolyList: tile (%d, %d): %s\n", id.x, id.y,
                  detail);
    ErrorBox(text);
}

// Segment_Crosses_LatLonRect with its cheap half, a inside the rectangle,
// asked first.
bool RectTouched(const LatLonRect& rect, const LatLonPoint& a, const LatLonPoint& b)
{
    return Geometry::Point_In_LatLonRect(rect, a) || Geometry::Segment_Crosses_LatLonRect(rect, a, b);
}

}  // namespace

bool IsValidTileID(const Point16& id)
{
    return id.x >= MAP_TILE_NORTH_MIN && id.x <= MAP_TILE_NORTH_MAX &&
           id.y >= MAP_TILE_WEST_MIN && id.y <= MAP_TILE_WEST_MAX;
}

bool MapTile::Init(const Point16& tileID, std::istream& coastFile, std::istream& countryFile,
                   std::istream& iceFile, Projection* projection)
{
    id = tileID;
    if (projection == nullptr) {
        FatalError("MapTile::Init: no projection");
        return false;
    }
    coastCount = BuildMapPolyList(coastFile, coast);
    if (coastCount < 0)
        return false;
    countryCount = BuildMapPolyList(countryFile, country);
    if (countryCount < 0)
        return false;
    iceCount = BuildMapPolyList(iceFile, ice);
    if (iceCount < 0)
        return false;

    cell.north = int32_t{id.x} * ANGLE_PER_DEGREE;
    cell.west = int32_t{id.y} * ANGLE_PER_DEGREE;
    const XYPoint northWest = projection->LatLon_to_XY(LatLonPoint(cell.north, cell.west));
    cell.south = cell.north - ANGLE_PER_DEGREE;
    cell.east = cell.west + ANGLE_PER_DEGREE;
    const XYPoint southEast = projection->LatLon_to_XY(LatLonPoint(cell.south, cell.east));
    xyRect = XYRect(northWest.x, northWest.y, southEast.x, southEast.y);

    ProjectLayer(*projection, coast.get(), coastCount);
    ProjectLayer(*projection, country.get(), countryCount);
    ProjectLayer(*projection, ice.get(), iceCount);
    return true;
}

void MapTile::ProjectLayer(Projection& projection, MapPoly* polys, int16_t polyCount)
{
    if (polys == nullptr)
        return;
    for (int16_t i = 0; i < polyCount; ++i) {
        MapPoly& poly = polys[i];
        poly.ProjectPoints([&projection](const LatLonPoint& p) { return projection.LatLon_to_XY(p); });
        const XYRect& r = poly.GetXYRect();
        xyRect.left = std::min(xyRect.left, r.left);
        xyRect.top = std::max(xyRect.top, r.top);
        xyRect.right = std::max(xyRect.right, r.right);
        xyRect.bottom = std::min(xyRect.bottom, r.bottom);
    }
}

// Every number read from the file is checked before it moves the read position
// or sizes an array: the id against the globe, the record offset against the
// file, and the polygon and point counts against the bytes that remain. One
// failed tile clears the stream state first, so it does not fail the tiles
// read after it from the same file.
int16_t MapTile::BuildMapPolyList(std::istream& in, std::unique_ptr<MapPoly[]>& polys)
{
    polys.reset();
    if (!IsValidTileID(id)) {
        ReportDamage(id, "no such cell on the globe", 0);
        return -1;
    }
    in.clear();
    const int64_t length = StreamLength(in);
    if (length < static_cast<int64_t>(MAP_FILE_INDEX_BYTES)) {
        ReportDamage(id, "the file is too short for a tile index (%lld bytes)", length);
        in.setstate(std::ios::failbit);
        return -1;
    }

    in.seekg(MapFileIndexOffset(id), std::ios::beg);
    uint32_t offset = 0;
    if (!LoadField(in, offset))
        return -1;
    if (offset < MAP_FILE_INDEX_BYTES || offset + RECORD_HEAD_BYTES > static_cast<uint64_t>(length)) {
        ReportDamage(id, "record offset %lld lies outside the file", offset);
        in.setstate(std::ios::failbit);
        return -1;
    }
    in.seekg(offset, std::ios::beg);

    int16_t readNorth = 0;
    int16_t readWest = 0;
    LoadField(in, readNorth);
    LoadField(in, readWest);
    if ((readNorth != id.x && readNorth != MAP_FILE_ANY_CELL) ||
        (readWest != id.y && readWest != MAP_FILE_ANY_CELL)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "MapTile::BuildMapPolyList:  Bad Tile ID.  Read (%d, %d).  should be (%d, %d).\n",
                      readNorth, readWest, id.x, id.y);
        ErrorBox(text);   // the map refuses the tile, and with it the section
        in.setstate(std::ios::failbit);
        return -1;
    }
    if (!in)
        return -1;

    int16_t polyCount = 0;
    if (!LoadField(in, polyCount))
        return -1;
    if (polyCount < 0) {
        ReportDamage(id, "negative polygon count %lld", polyCount);
        return polyCount;
    }
    if (polyCount == 0)
        return 0;

    uint64_t position = uint64_t{offset} + RECORD_HEAD_BYTES;
    const uint64_t end = static_cast<uint64_t>(length);
    if (position + polyCount * POINT_COUNT_BYTES > end) {
        ReportDamage(id, "the file ends before its %lld polygons", polyCount);
        in.setstate(std::ios::failbit);
        return -1;
    }
    std::unique_ptr<MapPoly[]> built(new (std::nothrow) MapPoly[polyCount]);
    if (!built) {
        FatalError("MapTile::BuildMapPolyList: out of memory");
        return -1;
    }
    for (int16_t i = 0; i < polyCount; ++i) {
        int16_t pointCount = 0;
        LoadField(in, pointCount);
        position += POINT_COUNT_BYTES;
        if (!in || pointCount < 0) {
            ReportDamage(id, "bad point count %lld", pointCount);
            in.setstate(std::ios::failbit);
            return -1;
        }
        position += uint64_t(pointCount) * MAP_FILE_POINT_BYTES;
        if (position > end) {
            ReportDamage(id, "the file ends before a polygon's %lld points", pointCount);
            in.setstate(std::ios::failbit);
            return -1;
        }
        if (!built[i].Load(in, pointCount)) {
            ReportDamage(id, "polygon %lld holds a point off the globe", i);
            in.setstate(std::ios::failbit);
            return -1;
        }
    }
    polys = std::move(built);
    return polyCount;
}

bool MapTile::IsEmpty() const
{
    return !coast && !country && !ice;
}

void MapTile::Draw(uint8_t level, int32_t mask, const XYRect& view) const
{
    bool wholeTile = false;
    if (Geometry::XYRect_Inside(xyRect, view))
        wholeTile = true;
    else if (!XYRect::Overlaps(xyRect, view))
        return;
    if (mask & MAP_LAYER_COAST)
        DrawLayer(coast.get(), coastCount, level, MAP_LAYER_COAST, view, wholeTile);
    if (mask & MAP_LAYER_COUNTRY)
        DrawLayer(country.get(), countryCount, level, MAP_LAYER_COUNTRY, view, wholeTile);
    if (mask & MAP_LAYER_ICE)
        DrawLayer(ice.get(), iceCount, level, MAP_LAYER_ICE, view, wholeTile);
}

void MapTile::DrawLayer(const MapPoly* polys, int16_t polyCount, uint8_t level, int16_t colour,
                        const XYRect& view, bool wholeTile) const
{
    if (polys == nullptr)
        return;
    for (int16_t i = 0; i < polyCount; ++i) {
        if (wholeTile || XYRect::Overlaps(polys[i].GetXYRect(), view))
            polys[i].Draw(level, colour);
    }
}

int32_t MapTile::CountCrossings(const LatLonPoint& a, const LatLonPoint& b, int16_t mask) const
{
    uint32_t total = 0;   // wraps; callers read its low bits and parity
    const bool shortcuts = OutlineShortcutsOn();
    auto countLayer = [&](const MapPoly* polys, int16_t polyCount) {
        if (polys == nullptr)
            return;
        for (int16_t i = 0; i < polyCount; ++i) {
            const LatLonRect& rect = polys[i].GetLatLonRect();
            if (!shortcuts) {
                if (Geometry::Segment_Crosses_LatLonRect(rect, a, b))
                    total += static_cast<uint32_t>(polys[i].CountCrossings(a, b));
                continue;
            }
            // The same sum, the dear rectangle test put last: it only
            // matters for an outline that is crossed.
            if (SegmentBoxMisses(rect, a, b))
                continue;
            const int32_t count = polys[i].CountCrossings(a, b);
            if (count != 0 && RectTouched(rect, a, b))
                total += static_cast<uint32_t>(count);
        }
    };
    if (mask & MAP_LAYER_COAST)
        countLayer(coast.get(), coastCount);
    if (mask & MAP_LAYER_ICE)
        countLayer(ice.get(), iceCount);
    return static_cast<int32_t>(total);
}

LatLonPoint MapTile::FirstCrossing(LatLonPoint* a, LatLonPoint* b, int16_t mask,
                                   uint8_t crossesDateline) const
{
    if (crossesDateline) {
        for (LatLonPoint* p : {a, b}) {
            if (cell.west < 0 && p->lon > 0)
                p->lon -= ANGLE_FULL;
            else if (cell.west >= 0 && p->lon < 0)
                p->lon += ANGLE_FULL;
        }
    }
    const bool shortcuts = OutlineShortcutsOn();
    if (shortcuts && SegmentBoxMisses(cell, *a, *b))
        return LatLonPoint::None();
    // With the shortcuts the dear test of the cell comes last: it only
    // matters when an outline is met.
    if (!shortcuts && !Geometry::Segment_Crosses_LatLonRect(cell, *a, *b))
        return LatLonPoint::None();
    LatLonPoint found = LatLonPoint::None();
    if (mask & MAP_LAYER_COAST)
        found = FirstLayerCrossing(coast.get(), coastCount, *a, *b);
    if (found.IsNone() && (mask & MAP_LAYER_ICE))
        found = FirstLayerCrossing(ice.get(), iceCount, *a, *b);
    if (shortcuts && !found.IsNone() && !RectTouched(cell, *a, *b))
        return LatLonPoint::None();
    return found;
}

LatLonPoint MapTile::FirstLayerCrossing(const MapPoly* polys, int16_t polyCount,
                                        const LatLonPoint& a, const LatLonPoint& b) const
{
    if (polys == nullptr)
        return LatLonPoint::None();
    const bool shortcuts = OutlineShortcutsOn();
    for (int16_t i = 0; i < polyCount; ++i) {
        const LatLonRect& rect = polys[i].GetLatLonRect();
        if (shortcuts) {
            // The rectangle test last, as in FirstCrossing.
            if (SegmentBoxMisses(rect, a, b))
                continue;
            const LatLonPoint x = polys[i].FirstCrossing(a, b);
            if (!x.IsNone() && RectTouched(rect, a, b))
                return x;
            continue;
        }
        if (!Geometry::Segment_Crosses_LatLonRect(rect, a, b))
            continue;
        const LatLonPoint x = polys[i].FirstCrossing(a, b);
        if (!x.IsNone())
            return x;
    }
    return LatLonPoint::None();
}

int16_t MapTile::GetPolyCount(int16_t layer) const
{
    switch (layer) {
    case MAP_LAYER_COAST: return coastCount;
    case MAP_LAYER_COUNTRY: return countryCount;
    case MAP_LAYER_ICE: return iceCount;
    default: return 0;
    }
}

const MapPoly* MapTile::GetPolys(int16_t layer) const
{
    switch (layer) {
    case MAP_LAYER_COAST: return coast.get();
    case MAP_LAYER_COUNTRY: return country.get();
    case MAP_LAYER_ICE: return ice.get();
    default: return nullptr;
    }
}
