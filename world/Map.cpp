// Map.cpp: the scenario map's life cycle, its map section and its terrain
// queries. Drawing is in MapDrawing.cpp.
#include "world/Map.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>

#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "core/Projection.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "platform/Path.h"
#include "world/AltDepthGrid.h"
#include "world/MapTile.h"

Map* gMap = nullptr;
bool Map::sMapValid = false;

namespace {

// Reports a map resource text through ErrorBox or FatalError.
void ReportMapText(int32_t number, void (*report)(const char*))
{
    ReportResourceText(number, "Map", report);
}

constexpr int32_t HALF_DEGREE = ANGLE_PER_DEGREE / 2;   // 122880

// Resource texts of the map's reports.
constexpr int32_t TEXT_NO_REFERENCE     = 0x7B00B2;
constexpr int32_t TEXT_BAD_TILE_LIST    = 0x7B00B4;
constexpr int32_t TEXT_BAD_PROJECTION   = 0x7B00B5;
constexpr int32_t TEXT_NO_COAST_FILE    = 0x7B00B6;
constexpr int32_t TEXT_NO_COUNTRY_FILE  = 0x7B00B7;
constexpr int32_t TEXT_NO_ICE_FILE      = 0x7B00B8;
constexpr int32_t TEXT_NO_TILE_MEMORY   = 0x7B00B9;
constexpr int32_t TEXT_BAD_GRID         = 0x7B00BA;
constexpr int32_t TEXT_NO_EDGE_CROSSING = 0x7B00BB;

// The step of the highest-point search: 15 nm.
constexpr int32_t HIGHEST_POINT_STEP = 15 * RANGE_PER_NM;   // 61440

// Reports a failed step of the map section: "Map:Create_Map: ", the step's
// message and a newline; for the name steps also the last length byte read.
void ReportStep(const char* message, const int* nameLength = nullptr)
{
    std::string text = "Map:Create_Map: ";
    text += message;
    text += '\n';
    if (nameLength != nullptr) {
        text += "namelength = ";
        text += std::to_string(*nameLength);
        text += '\n';
    }
    ErrorBox(text.c_str());
}

// Reads one data file name: its u8 length (name + zero byte) and that many
// bytes into `name`. A length of 0 or beyond the field is refused before
// anything is copied. `length` keeps the last length byte read.
bool ReadFileName(std::istream& in, char (&name)[Map::NAME_FIELD_SIZE], int& length,
                  const char* lengthMessage, const char* nameMessage)
{
    uint8_t size = 0;
    if (!LoadField(in, size)) {
        ReportStep(lengthMessage, &length);
        return false;
    }
    length = size;
    if (size == 0 || size > Map::NAME_FIELD_SIZE) {
        ReportStep(nameMessage, &length);
        return false;
    }
    char bytes[Map::NAME_FIELD_SIZE] = {};
    if (!in.read(bytes, size)) {
        ReportStep(nameMessage, &length);
        return false;
    }
    std::memcpy(name, bytes, sizeof bytes);
    name[Map::NAME_FIELD_SIZE - 1] = '\0';   // a name without its zero byte still ends
    return true;
}

// Writes one data file name: u8 length + 1, the name and its zero byte.
void WriteFileName(std::ostream& out, const char (&name)[Map::NAME_FIELD_SIZE])
{
    const size_t length = strnlen(name, Map::NAME_FIELD_SIZE - 1);
    SaveField(out, static_cast<uint8_t>(length + 1));
    out.write(name, static_cast<std::streamsize>(length));
    out.put('\0');
}

// True when the area lies on the globe the right way up: south to north
// within +-90 degrees, both longitudes within +-180 degrees (an area across
// the 180-degree meridian has its east edge below its west edge).
bool IsSoundArea(const LatLonRect& area)
{
    return area.south >= -ANGLE_RIGHT && area.north <= ANGLE_RIGHT && area.south <= area.north &&
           area.west >= -ANGLE_HALF && area.west <= ANGLE_HALF &&
           area.east >= -ANGLE_HALF && area.east <= ANGLE_HALF;
}

// The id of the tile a position lies in: its north edge and west edge in
// whole degrees. A position on a positive whole-degree latitude belongs to the
// tile north of it, one on a negative whole-degree longitude to the tile
// west of it (10 degrees north gives 11, 10 degrees west gives -11).
Point16 TileIDOf(const LatLonPoint& p)
{
    int32_t north = p.lat / ANGLE_PER_DEGREE;
    if (p.lat > 0)
        ++north;
    int32_t west = p.lon / ANGLE_PER_DEGREE;
    if (p.lon < 0)
        --west;
    return {static_cast<int16_t>(north), static_cast<int16_t>(west)};
}

// A longitude in angle units folded into -180 .. +180 degrees.
int64_t FoldLongitude(int64_t lon)
{
    while (lon > ANGLE_HALF)
        lon -= ANGLE_FULL;
    while (lon < -ANGLE_HALF)
        lon += ANGLE_FULL;
    return lon;
}

int32_t ClampToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

} // namespace

Map::Map()
{
    sMapValid = false;
}

Map::~Map()
{
    sMapValid = false;
}

void Map::Clear()
{
    tilelist.reset();
    altdepthgrid.reset();
    projection.reset();
    projectionID = 0;
    latLonBoundary = {};
    xyBoundary = {};
    origin = {};
    tileCount = 0;
    std::memset(coastFileName, 0, sizeof coastFileName);
    std::memset(countryFileName, 0, sizeof countryFileName);
    std::memset(iceFileName, 0, sizeof iceFileName);
    tileIndex.clear();
    indexNorth = indexWest = 0;
    indexRows = indexColumns = 0;
    tileReferences.clear();
    outlineGrid.Clear();
}

bool Map::FailLoad(std::istream& in)
{
    // The section was left part-way, so what follows it cannot be read in
    // step; the scenario loader judges the section by the stream alone.
    in.setstate(std::ios::failbit);
    latLonBoundary = {};
    xyBoundary = {};
    return false;
}

const MapTile& Map::GetTile(uint16_t index) const
{
    return tilelist[index];
}

bool Map::Create_Map(std::istream& in, const char* directory)
{
    Clear();
    sMapValid = false;

    int nameLength = 0;
    if (!ReadFileName(in, coastFileName, nameLength,
                      "Invalid Scenfile after coastfile namelength...probably a corrupt Scenario File",
                      "Invalid Scenfile after coastfile. "))
        return FailLoad(in);
    if (!ReadFileName(in, countryFileName, nameLength,
                      "Invalid Scenfile after countryfile namelength...probably a corrupt Scenario File",
                      "Invalid Scenfile after countryfile. "))
        return FailLoad(in);
    if (!ReadFileName(in, iceFileName, nameLength,
                      "Invalid Scenfile after icefile namelength...probably a corrupt Scenario File",
                      "Invalid Scenfile after icefile. "))
        return FailLoad(in);

    // The lat/lon area sizes the grid, so an area off the globe is refused
    // with the read failures.
    if (!latLonBoundary.Load(in) || !IsSoundArea(latLonBoundary)) {
        ReportStep("Invalid Scenfile after latlonscenarioboundary. ");
        return FailLoad(in);
    }
    if (!xyBoundary.Load(in)) {
        ReportStep("Invalid Scenfile after xyscenarioboundary. ");
        return FailLoad(in);
    }
    if (!LoadField(in, projectionID)) {
        ReportStep("Invalid Scenfile after projectionID. ");
        return FailLoad(in);
    }
    if (!origin.Load(in)) {
        ReportStep("Invalid Scenfile after origin. ");
        return FailLoad(in);
    }
    uint16_t icepackID = 0;
    if (!LoadField(in, icepackID)) {
        ReportStep("Invalid Scenfile after icepackID. ");
        return FailLoad(in);
    }

    // Tile ids; each must name a cell of the globe before a tile seeks with it.
    uint16_t idCount = 0;
    std::vector<Point16> ids;
    bool idsRead = static_cast<bool>(LoadField(in, idCount));
    if (idsRead) {
        ids.resize(idCount);
        for (Point16& id : ids) {
            LoadField(in, id.x);
            LoadField(in, id.y);
            if (!in || !IsValidTileID(id)) {
                idsRead = false;
                break;
            }
        }
    }
    if (!idsRead) {
        ReportMapText(TEXT_BAD_TILE_LIST, ErrorBox);
        return FailLoad(in);
    }

    projection.reset(Projection::Create(projectionID, origin));
    if (!projection) {
        ReportMapText(TEXT_BAD_PROJECTION, ErrorBox);
        return FailLoad(in);
    }

    // The three data files, opened whether or not the map has tiles. A
    // missing one refuses the section: the caller goes on without the map.
    const std::string prefix = directory != nullptr ? directory : "";
    std::ifstream coastFile(platform::NativePath(prefix + coastFileName + ".cst"), std::ios::binary);
    if (!coastFile.is_open()) {
        ReportMapText(TEXT_NO_COAST_FILE, ErrorBox);
        return FailLoad(in);
    }
    std::ifstream countryFile(platform::NativePath(prefix + countryFileName + ".cty"), std::ios::binary);
    if (!countryFile.is_open()) {
        ReportMapText(TEXT_NO_COUNTRY_FILE, ErrorBox);
        return FailLoad(in);
    }
    std::ifstream iceFile(platform::NativePath(prefix + iceFileName + ".ice"), std::ios::binary);
    if (!iceFile.is_open()) {
        ReportMapText(TEXT_NO_ICE_FILE, ErrorBox);
        return FailLoad(in);
    }

    if (idCount > 0) {
        tilelist.reset(new (std::nothrow) MapTile[idCount]);
        if (!tilelist) {
            ReportMapText(TEXT_NO_TILE_MEMORY, ErrorBox);
            return FailLoad(in);
        }
        tileCount = idCount;
        for (uint16_t i = 0; i < idCount; ++i) {
            // A tile that cannot be read would leave its outlines out of the
            // land and ice tests without a word, so the map is refused.
            if (!tilelist[i].Init(ids[i], coastFile, countryFile, iceFile, projection.get())) {
                char text[96];
                std::snprintf(text, sizeof text,
                              "Map:Create_Map: tile (%d, %d) could not be read from the map files.\n",
                              ids[i].x, ids[i].y);
                ErrorBox(text);
                BuildTileIndex();
                return FailLoad(in);
            }
        }
        BuildTileIndex();
        outlineGrid.Build(latLonBoundary, tilelist.get(), tileCount);
    }

    // The grid is the last field of the section: a grid cut short leaves the
    // stream failed, which refuses the map as an invalid grid does.
    if (!Create_AltDepthGrid(in, icepackID) || !in) {
        ReportMapText(TEXT_BAD_GRID, ErrorBox);
        return FailLoad(in);
    }
    BuildTileReferences();

    // Every land and ice test needs a non-zero reference cell near its tile's
    // corner: a grid without one (all zero, say) would end the program at the
    // first test.
    Point16 bare;
    if (tileCount > 0 && !Every_Tile_Has_Reference(bare)) {
        char text[112];
        std::snprintf(text, sizeof text,
                      "Map:Create_Map: tile (%d, %d) has no altitude or depth among its reference cells.\n",
                      bare.x, bare.y);
        ErrorBox(text);
        return FailLoad(in);
    }

    // The map plane is converted back to positions for every view of it.
    Fit_XYRect_To_Tiles();
    if (!projection->Converts_XYRect(xyBoundary)) {
        ErrorBox("Map:Create_Map: the xy area reaches beyond what the projection can convert.\n");
        return FailLoad(in);
    }
    sMapValid = true;
    return true;
}

bool Map::Every_Tile_Has_Reference(Point16& bare) const
{
    const Point16 northWest = TileIDOf(LatLonPoint(latLonBoundary.north, latLonBoundary.west));
    const Point16 southEast = TileIDOf(LatLonPoint(latLonBoundary.south, latLonBoundary.east));
    int32_t east = southEast.y;
    if (east < northWest.y)
        east += 360;   // across the 180-degree meridian
    for (int32_t north = southEast.x; north <= northWest.x; ++north) {
        for (int32_t west = northWest.y; west <= east; ++west) {
            const Point16 id{static_cast<int16_t>(north),
                             static_cast<int16_t>(west >= 180 ? west - 360 : west)};
            LatLonPoint reference;
            if (ReferenceCell(id, reference) == 0) {
                bare = id;
                return false;
            }
        }
    }
    return true;
}

int32_t Map::ReferenceCell(const Point16& id, LatLonPoint& reference) const
{
    // The first grid point with a non-zero cell among the nine from the
    // tile's north-west corner, northwards and eastwards by half degrees. The
    // grid keeps every probe inside itself.
    const int32_t cornerLat = int32_t{id.x} * ANGLE_PER_DEGREE;
    const int32_t cornerLon = int32_t{id.y} * ANGLE_PER_DEGREE;
    int32_t r = 0;
    for (int k = 0; k < 3 && r == 0; ++k) {
        for (int j = 0; j < 3 && r == 0; ++j) {
            reference = LatLonPoint(cornerLat + k * HALF_DEGREE, cornerLon + j * HALF_DEGREE);
            r = altdepthgrid->Get_Cell(reference);
        }
    }
    return r;
}

bool Map::Create_AltDepthGrid(std::istream& in, uint16_t icepackID)
{
    const LatLonPoint northWest(latLonBoundary.north, latLonBoundary.west);
    LatLonPoint southEast(latLonBoundary.south, latLonBoundary.east);
    // Across the 180-degree meridian the east edge is brought 360 degrees
    // east, so that the grid's width comes out right.
    southEast = projection->Align_Point(northWest, southEast);
    if (southEast.lon < northWest.lon)
        return false;   // an area across the meridian the projection cannot show
    altdepthgrid.reset(new (std::nothrow) AltDepthGrid(in, northWest, southEast, icepackID));
    return altdepthgrid && altdepthgrid->Is_Valid();
}

void Map::Fit_XYRect_To_Tiles()
{
    for (uint16_t i = 0; i < tileCount; ++i) {
        const XYRect& r = tilelist[i].GetXYRect();
        xyBoundary.left = std::min({xyBoundary.left, r.left, r.right});
        xyBoundary.right = std::max({xyBoundary.right, r.left, r.right});
        xyBoundary.top = std::max({xyBoundary.top, r.top, r.bottom});
        xyBoundary.bottom = std::min({xyBoundary.bottom, r.top, r.bottom});
    }
}

void Map::BuildTileIndex()
{
    tileIndex.clear();
    indexRows = indexColumns = 0;
    if (tileCount == 0)
        return;
    int16_t north = INT16_MIN, south = INT16_MAX, west = INT16_MAX, east = INT16_MIN;
    for (uint16_t i = 0; i < tileCount; ++i) {
        const Point16& id = tilelist[i].GetID();
        north = std::max(north, id.x);
        south = std::min(south, id.x);
        west = std::min(west, id.y);
        east = std::max(east, id.y);
    }
    indexNorth = north;
    indexWest = west;
    indexRows = int32_t{north} - south + 1;
    indexColumns = int32_t{east} - west + 1;
    tileIndex.assign(static_cast<size_t>(indexRows) * static_cast<size_t>(indexColumns), -1);
    for (uint16_t i = 0; i < tileCount; ++i) {
        const Point16& id = tilelist[i].GetID();
        int32_t& slot = tileIndex[static_cast<size_t>(indexNorth - id.x) * indexColumns + (id.y - indexWest)];
        if (slot < 0)
            slot = i;   // the first tile of an id wins, as a search in tile order would
    }
}

void Map::BuildTileReferences()
{
    tileReferences.assign(tileIndex.size(), TileReference{});
    for (int32_t row = 0; row < indexRows; ++row) {
        for (int32_t column = 0; column < indexColumns; ++column) {
            const Point16 id{static_cast<int16_t>(indexNorth - row), static_cast<int16_t>(indexWest + column)};
            TileReference& entry = tileReferences[static_cast<size_t>(row) * indexColumns + column];
            entry.cell = ReferenceCell(id, entry.point);
        }
    }
}

int32_t Map::CachedReferenceCell(const Point16& id, LatLonPoint& reference) const
{
    const int32_t row = int32_t{indexNorth} - id.x;
    const int32_t column = int32_t{id.y} - indexWest;
    if (tileReferences.empty() || row < 0 || row >= indexRows || column < 0 || column >= indexColumns)
        return ReferenceCell(id, reference);
    const TileReference& entry = tileReferences[static_cast<size_t>(row) * indexColumns + column];
    reference = entry.point;
    return entry.cell;
}

int32_t Map::FindTile(const Point16& id) const
{
    const int32_t row = int32_t{indexNorth} - id.x;
    const int32_t column = int32_t{id.y} - indexWest;
    if (row < 0 || row >= indexRows || column < 0 || column >= indexColumns)
        return -1;
    return tileIndex[static_cast<size_t>(row) * indexColumns + column];
}

bool Map::Save(std::ostream& out) const
{
    WriteFileName(out, coastFileName);
    WriteFileName(out, countryFileName);
    WriteFileName(out, iceFileName);
    latLonBoundary.Save(out);
    xyBoundary.Save(out);
    SaveField(out, projectionID);
    origin.Save(out);
    SaveField(out, altdepthgrid ? altdepthgrid->Get_IcepackID() : uint16_t{0});

    uint16_t kept = 0;
    for (uint16_t i = 0; i < tileCount; ++i) {
        if (!tilelist[i].IsEmpty())
            ++kept;
    }
    SaveField(out, kept);
    for (uint16_t i = 0; i < tileCount; ++i) {
        if (tilelist[i].IsEmpty())
            continue;
        const Point16& id = tilelist[i].GetID();
        SaveField(out, id.x);
        SaveField(out, id.y);
    }

    if (!altdepthgrid)
        return false;
    altdepthgrid->Save(out);
    return static_cast<bool>(out);
}

LatLonRect Map::Get_View_LatLonRect(XYRect view) const
{
    if (!projection)
        return latLonBoundary;
    return projection->XYRect_to_LatLonRect(view, latLonBoundary);
}

XYPoint Map::LatLon_to_XY(LatLonPoint p) const
{
    return projection ? projection->LatLon_to_XY(p) : XYPoint(0, 0);
}

LatLonPoint Map::XY_to_LatLon(XYPoint p) const
{
    return projection ? projection->XY_to_LatLon(p) : LatLonPoint(0, 0);
}

bool Map::Is_On_Map(LatLonPoint p) const
{
    return projection && projection->Point_In_LatLonRect(latLonBoundary, p);
}

bool Map::Is_Land(LatLonPoint p) const
{
    return Is_Inside_Layer(p, MAP_LAYER_COAST);
}

bool Map::Is_Ice(LatLonPoint p) const
{
    return Is_Inside_Layer(p, MAP_LAYER_ICE);
}

int16_t Map::Get_Altitude(LatLonPoint p) const
{
    if (!altdepthgrid || !Is_On_Map(p))
        return 0;
    // The grid's units / 8 fit 16 bits; the land and sea rules look at those.
    int16_t h = static_cast<int16_t>(altdepthgrid->Get_Altitude(p));
    if (Is_Land(p)) {
        if (h < 0)
            h = 0;    // land never lies below sea level
    } else if (h > 0) {
        h = -1;       // nor the sea above it
    }
    return h;
}

bool Map::Is_Inside_Layer(LatLonPoint p, int16_t layer) const
{
    if (!tilelist || !altdepthgrid || !Is_On_Map(p))
        return false;

    // The reference: a grid point of known kind near the tile's corner.
    const Point16 id = TileIDOf(p);
    LatLonPoint reference;
    int32_t r = OutlineShortcutsOn() ? CachedReferenceCell(id, reference) : ReferenceCell(id, reference);
    if (r == 0)
        ReportMapText(TEXT_NO_REFERENCE, FatalError);
    if (layer == MAP_LAYER_ICE)
        r = altdepthgrid->Is_Ice(reference);

    const int32_t tile = FindTile(id);
    const int32_t crossings = tile >= 0 ? tilelist[tile].CountCrossings(p, reference, layer) : 0;
    const bool odd = (static_cast<uint16_t>(crossings) & 1) != 0;
    // A reference at sea (or outside the ice) puts the point inside the layer
    // after an odd number of crossings, one on land (in the ice) after an even one.
    return r < 0 ? odd : !odd;
}

ElevationPoint Map::Get_Highest_Point_Between(LatLonPoint a, LatLonPoint b) const
{
    const NavVector v = NavMath::Get_Vector(a, b);
    if (v.range < HIGHEST_POINT_STEP) {
        const LatLonPoint middle = NavMath::Get_LatLonPoint_From_Vector(a, v.range >> 1, v.bearing);
        return {Get_Altitude(middle), middle};
    }

    const LatLonPoint first = NavMath::Get_LatLonPoint_From_Vector(a, HIGHEST_POINT_STEP, v.bearing);
    const int64_t stepLat = int64_t{first.lat} - a.lat;
    // The first step may itself have been wrapped at 180 degrees (a just
    // west of the meridian heading east): the step is the short way round.
    const int64_t stepLon = FoldLongitude(int64_t{first.lon} - a.lon);
    bool crossingPending = (stepLon < 0 && a.lon < 0 && b.lon > 0) ||
                           (stepLon >= 0 && a.lon > 0 && b.lon < 0);

    ElevationPoint best{0, LatLonPoint(0, 0)};
    int16_t bestWeight = -32767;
    int64_t lat = first.lat;
    int64_t lon = first.lon;
    int16_t k = 1;
    for (int32_t s = HIGHEST_POINT_STEP; s < v.range; s += HIGHEST_POINT_STEP) {
        const LatLonPoint p(ClampToInt32(lat), ClampToInt32(lon));
        const int16_t h = Get_Altitude(p);
        const int16_t w = static_cast<int16_t>(h / k);
        if (w > bestWeight) {
            best = {h, p};
            bestWeight = w;
        }
        lat += stepLat;
        lon += stepLon;
        if (crossingPending) {
            if (stepLon < 0 && lon < -ANGLE_HALF) {
                lon += ANGLE_FULL;
                crossingPending = false;
            } else if (stepLon >= 0 && lon > ANGLE_HALF) {
                lon -= ANGLE_FULL;
                crossingPending = false;
            }
        }
        // Far from the equator a step can span many degrees of longitude;
        // keep every sample a longitude of the globe.
        lon = FoldLongitude(lon);
        ++k;
    }
    return best;
}

LatLonPoint Map::Get_First_Crossing(LatLonPoint a, LatLonPoint b, int16_t mask) const
{
    if (!tilelist || tileCount == 0 || !projection)
        return LatLonPoint::None();
    const LatLonRect box = projection->LatLonRect_From_Points(a, b);
    const uint8_t dateline = projection->Crosses_Dateline(a, b) ? 1 : 0;
    LatLonPoint result = LatLonPoint::None();
    // Open water all along the segment: no tile can find a crossing. Across
    // the meridian the tiles move the ends, so they are asked.
    const bool clear = dateline == 0 && OutlineShortcutsOn() && outlineGrid.Misses(a, b, mask);
    for (uint16_t i = 0; i < tileCount && result.IsNone() && !clear; ++i) {
        if (!projection->LatLonRects_Overlap(tilelist[i].GetCell(), box))
            continue;
        LatLonPoint from = a;   // the tile may move both across the meridian
        LatLonPoint to = b;
        result = tilelist[i].FirstCrossing(&from, &to, mask, dateline);
    }
    if (result.IsNone() && !Is_On_Map(b))
        result = Get_Map_Edge_Crossing(a, b);
    return result;
}

LatLonPoint Map::Get_Map_Edge_Crossing(LatLonPoint a, LatLonPoint b) const
{
    if (!projection)
        return a;
    LatLonPoint p = projection->Segment_Rect_Crossing_Point(latLonBoundary, a, b);
    if (p.IsNone()) {
        ReportMapText(TEXT_NO_EDGE_CROSSING, ErrorBox);
        p = a;
    }
    return p;
}

uint16_t Map::Count_Crossings(LatLonPoint a, LatLonPoint b, int16_t mask) const
{
    if (!tilelist || !projection)
        return 0;
    if (OutlineShortcutsOn() && outlineGrid.Misses(a, b, mask))
        return 0;
    const LatLonRect box = projection->LatLonRect_From_Points(a, b);
    uint16_t total = 0;
    for (uint16_t i = 0; i < tileCount && total < 2; ++i) {
        if (projection->LatLonRects_Overlap(tilelist[i].GetCell(), box))
            total = static_cast<uint16_t>(total + tilelist[i].CountCrossings(a, b, mask));
    }
    return total;
}

bool Map::Is_Path_Clear(LatLonPoint a, LatLonPoint b) const
{
    if (!Is_On_Map(a) || !Is_On_Map(b))
        return false;
    return Get_First_Crossing(a, b, MAP_LAYER_COAST | MAP_LAYER_ICE).IsNone();
}

bool Map::Crosses_Coast_At_Most_Once(LatLonPoint a, LatLonPoint b) const
{
    if (!Is_On_Map(a) || !Is_On_Map(b))
        return false;
    return Count_Crossings(a, b, MAP_LAYER_COAST) < 2;
}
