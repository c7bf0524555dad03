// MapFileWriter.cpp: spreading outlines over the one-degree cells, writing
// the coast, country and ice file layout, and reading the JSON description.
#include "world/MapFileWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

#include "core/Geometry.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/MapTile.h"

namespace {

constexpr size_t MAX_FILE_COUNT = 32767;   // polygons of a cell, points of a polygon
constexpr double ANGLE_PER_DEGREE_F = ANGLE_PER_DEGREE;

// Layer names in the description, in layer order (coast, country, ice), and
// the extensions of their files.
constexpr const char* LAYER_NAMES[3] = {"coast", "country", "ice"};
constexpr const char* LAYER_EXTENSIONS[3] = {".cst", ".cty", ".ice"};

uint32_t CellNumber(const Point16& id)
{
    return MapFileIndexOffset(id) / 4;
}

Point16 CellID(uint32_t number)
{
    Point16 id;
    id.x = static_cast<int16_t>(MAP_TILE_NORTH_MAX - static_cast<int32_t>(number / 360));
    id.y = static_cast<int16_t>(static_cast<int32_t>(number % 360) + MAP_TILE_WEST_MIN);
    return id;
}

LatLonRect CellRect(const Point16& id)
{
    const int32_t north = int32_t{id.x} * ANGLE_PER_DEGREE;
    const int32_t west = int32_t{id.y} * ANGLE_PER_DEGREE;
    return LatLonRect(north, west, north - ANGLE_PER_DEGREE, west + ANGLE_PER_DEGREE);
}

// Whole degrees rounded down (toward minus infinity).
int32_t FloorDegrees(int32_t angle)
{
    int32_t d = angle / ANGLE_PER_DEGREE;
    if (angle % ANGLE_PER_DEGREE != 0 && angle < 0)
        --d;
    return d;
}

// Whole degrees rounded up (toward plus infinity).
int32_t CeilDegrees(int32_t angle)
{
    int32_t d = angle / ANGLE_PER_DEGREE;
    if (angle % ANGLE_PER_DEGREE != 0 && angle > 0)
        ++d;
    return d;
}

LatLonPoint Position(const MapPolyPoint& p)
{
    return LatLonPoint(p.first, p.second);
}

// Calls visit(cellNumber) for every cell that segment p-q touches, edges and
// corners included; p == q visits the cells holding the point.
template <typename Visit>
void ForEachTouchedCell(const LatLonPoint& p, const LatLonPoint& q, Visit&& visit)
{
    const int32_t latLow = std::min(p.lat, q.lat), latHigh = std::max(p.lat, q.lat);
    const int32_t lonLow = std::min(p.lon, q.lon), lonHigh = std::max(p.lon, q.lon);
    // A cell with north edge N spans latitudes N-1 .. N, one with west edge W
    // longitudes W .. W+1.
    const int32_t northFirst = std::max<int32_t>(CeilDegrees(latLow), MAP_TILE_NORTH_MIN);
    const int32_t northLast = std::min<int32_t>(FloorDegrees(latHigh) + 1, MAP_TILE_NORTH_MAX);
    const int32_t westFirst = std::max<int32_t>(CeilDegrees(lonLow) - 1, MAP_TILE_WEST_MIN);
    const int32_t westLast = std::min<int32_t>(FloorDegrees(lonHigh), MAP_TILE_WEST_MAX);
    for (int32_t north = northFirst; north <= northLast; ++north) {
        for (int32_t west = westFirst; west <= westLast; ++west) {
            Point16 id;
            id.x = static_cast<int16_t>(north);
            id.y = static_cast<int16_t>(west);
            const LatLonRect rect = CellRect(id);
            if (Geometry::Point_In_LatLonRect(rect, p) || Geometry::Point_In_LatLonRect(rect, q) ||
                Geometry::Segment_Crosses_LatLonRect(rect, p, q))
                visit(CellNumber(id));
        }
    }
}

// Multiples of MAP_REFERENCE_SPACING from the first at or above low to the
// last at or below high, as counts of the spacing.
int64_t FirstGridStep(int64_t low)
{
    const int64_t q = low / MAP_REFERENCE_SPACING;
    return q * MAP_REFERENCE_SPACING < low ? q + 1 : q;
}

int64_t LastGridStep(int64_t high)
{
    const int64_t q = high / MAP_REFERENCE_SPACING;
    return q * MAP_REFERENCE_SPACING > high ? q - 1 : q;
}

// Whether grid point r lies closer than MAP_REFERENCE_CLEARANCE to segment
// p-q (a point when p equals q), latitude and longitude taken as a plane.
// Worked in double: the clearance is far wider than its rounding.
bool NearSegment(const LatLonPoint& p, const LatLonPoint& q, int64_t rLat, int64_t rLon)
{
    const double dx = double(q.lon) - p.lon, dy = double(q.lat) - p.lat;
    const double rx = double(rLon) - p.lon, ry = double(rLat) - p.lat;
    const double length2 = dx * dx + dy * dy;
    const double along = rx * dx + ry * dy;
    double distance = 0;
    if (length2 == 0 || along <= 0)
        distance = std::hypot(rx, ry);
    else if (along >= length2)
        distance = std::hypot(double(rLon) - q.lon, double(rLat) - q.lat);
    else
        distance = std::fabs(dx * ry - dy * rx) / std::sqrt(length2);
    return distance < MAP_REFERENCE_CLEARANCE;
}

// The first point of the half-degree lattice (south to north, then west to
// east) that segment p-q passes closer than the clearance; false when none.
bool FindNearGridPoint(const LatLonPoint& p, const LatLonPoint& q, LatLonPoint& grid)
{
    const int64_t latFirst = FirstGridStep(int64_t{std::min(p.lat, q.lat)} - MAP_REFERENCE_CLEARANCE);
    const int64_t latLast = LastGridStep(int64_t{std::max(p.lat, q.lat)} + MAP_REFERENCE_CLEARANCE);
    const int64_t lonFirst = FirstGridStep(int64_t{std::min(p.lon, q.lon)} - MAP_REFERENCE_CLEARANCE);
    const int64_t lonLast = LastGridStep(int64_t{std::max(p.lon, q.lon)} + MAP_REFERENCE_CLEARANCE);
    for (int64_t y = latFirst; y <= latLast; ++y) {
        for (int64_t x = lonFirst; x <= lonLast; ++x) {
            if (NearSegment(p, q, y * MAP_REFERENCE_SPACING, x * MAP_REFERENCE_SPACING)) {
                grid = LatLonPoint(static_cast<int32_t>(y * MAP_REFERENCE_SPACING),
                                   static_cast<int32_t>(x * MAP_REFERENCE_SPACING));
                return true;
            }
        }
    }
    return false;
}

std::string Describe(const char* layer, size_t index, const nlohmann::json& outline)
{
    std::ostringstream s;
    s << layer << '[' << index << ']';
    if (outline.is_object() && outline.contains("name") && outline["name"].is_string())
        s << " (" << outline["name"].get<std::string>() << ')';
    return s.str();
}

bool ReadDegrees(const nlohmann::json& value, double limit, const char* what, int32_t& angle,
                 std::string& error)
{
    if (!value.is_number()) {
        error = std::string(what) + " is not a number";
        return false;
    }
    const double degrees = value.get<double>();
    if (!(degrees >= -limit && degrees <= limit)) {
        std::ostringstream s;
        s << what << ' ' << degrees << " lies off the globe";
        error = s.str();
        return false;
    }
    angle = static_cast<int32_t>(std::llround(degrees * ANGLE_PER_DEGREE_F));
    return true;
}

bool ReadLevel(const nlohmann::json& value, uint8_t& level, std::string& error)
{
    if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > 255) {
        error = "level must be a whole number from 0 to 255";
        return false;
    }
    level = static_cast<uint8_t>(value.get<int64_t>());
    return true;
}

bool ReadOutline(const nlohmann::json& entry, MapOutline& outline, std::string& error)
{
    if (!entry.is_object()) {
        error = "is not an object";
        return false;
    }
    uint8_t defaultLevel = 5;
    if (entry.contains("level") && !ReadLevel(entry["level"], defaultLevel, error))
        return false;
    bool closed = false;
    if (entry.contains("closed")) {
        if (!entry["closed"].is_boolean()) {
            error = "\"closed\" must be true or false";
            return false;
        }
        closed = entry["closed"].get<bool>();
    }
    if (!entry.contains("points") || !entry["points"].is_array() || entry["points"].empty()) {
        error = "needs a non-empty \"points\" array";
        return false;
    }
    const nlohmann::json& points = entry["points"];
    if (points.size() + (closed ? 1 : 0) > MAX_FILE_COUNT) {
        error = "has more than 32767 points";
        return false;
    }
    outline.clear();
    for (size_t i = 0; i < points.size(); ++i) {
        const nlohmann::json& p = points[i];
        std::string why;
        MapPolyPoint point;
        point.level = defaultLevel;
        bool good = p.is_array() && (p.size() == 2 || p.size() == 3);
        if (!good)
            why = "must be [lat, lon] or [lat, lon, level]";
        else
            good = ReadDegrees(p[0], 90.0, "latitude", point.first, why) &&
                   ReadDegrees(p[1], 180.0, "longitude", point.second, why) &&
                   (p.size() == 2 || ReadLevel(p[2], point.level, why));
        if (!good) {
            error = "point " + std::to_string(i) + ": " + why;
            return false;
        }
        outline.push_back(point);
    }
    if (closed && Position(outline.front()) != Position(outline.back())) {
        MapPolyPoint closing = outline.front();
        outline.push_back(closing);
    }
    return true;
}

}  // namespace

uint32_t MapFileIndexOffset(const Point16& id)
{
    const int32_t row = MAP_TILE_NORTH_MAX - id.x;
    const int32_t column = id.y - MAP_TILE_WEST_MIN;
    return static_cast<uint32_t>((row * 360 + column) * 4);
}

bool MapFileWriter::AddCellPolygon(const Point16& id, const MapOutline& outline, std::string& error)
{
    if (!IsValidTileID(id)) {
        error = "cell (" + std::to_string(id.x) + ", " + std::to_string(id.y) + ") lies off the globe";
        return false;
    }
    if (outline.empty() || outline.size() > MAX_FILE_COUNT) {
        error = "an outline needs 1 to 32767 points, not " + std::to_string(outline.size());
        return false;
    }
    std::vector<MapOutline>& polygons = cells[CellNumber(id)];
    if (polygons.size() >= MAX_FILE_COUNT) {
        error = "cell (" + std::to_string(id.x) + ", " + std::to_string(id.y) +
                ") already holds 32767 polygons";
        return false;
    }
    polygons.push_back(outline);
    return true;
}

bool MapFileWriter::AddOutline(const MapOutline& outline, std::string& error)
{
    if (outline.empty() || outline.size() > MAX_FILE_COUNT) {
        error = "an outline needs 1 to 32767 points, not " + std::to_string(outline.size());
        return false;
    }
    for (size_t i = 0; i < outline.size(); ++i) {
        const MapPolyPoint& p = outline[i];
        if (p.first < -ANGLE_RIGHT || p.first > ANGLE_RIGHT || p.second < -ANGLE_HALF ||
            p.second > ANGLE_HALF) {
            error = "point " + std::to_string(i) + " lies off the globe";
            return false;
        }
        if (i > 0 && std::abs(int64_t{p.second} - outline[i - 1].second) > ANGLE_HALF) {
            error = "edge to point " + std::to_string(i) + " crosses the 180-degree meridian";
            return false;
        }
    }

    // Cells in number order, each with the edges (edge i runs from point i to
    // point i + 1) that touch it, in edge order.
    std::map<uint32_t, std::vector<size_t>> touched;
    if (outline.size() == 1) {
        ForEachTouchedCell(Position(outline[0]), Position(outline[0]),
                           [&](uint32_t cell) { touched[cell]; });
    }
    const size_t edges = outline.size() - 1;
    for (size_t i = 0; i < edges; ++i) {
        ForEachTouchedCell(Position(outline[i]), Position(outline[i + 1]),
                           [&](uint32_t cell) { touched[cell].push_back(i); });
    }

    const bool closed = outline.size() > 1 && Position(outline.front()) == Position(outline.back());
    std::vector<std::pair<uint32_t, MapOutline>> pieces;
    for (const auto& [cell, list] : touched) {
        if (list.empty() || list.size() == edges) {
            pieces.emplace_back(cell, outline);   // a single point, or every edge
            continue;
        }
        // Runs of consecutive edges: [first, last] pairs.
        std::vector<std::pair<size_t, size_t>> runs;
        for (size_t e : list) {
            if (!runs.empty() && runs.back().second + 1 == e)
                runs.back().second = e;
            else
                runs.emplace_back(e, e);
        }
        // A closed outline goes on from its last edge into its first.
        bool wrap = closed && runs.size() > 1 && runs.front().first == 0 &&
                    runs.back().second == edges - 1;
        for (size_t r = wrap ? 1 : 0; r < runs.size(); ++r) {
            MapOutline piece(outline.begin() + static_cast<ptrdiff_t>(runs[r].first),
                             outline.begin() + static_cast<ptrdiff_t>(runs[r].second + 2));
            if (wrap && r + 1 == runs.size())
                piece.insert(piece.end(), outline.begin() + 1,
                             outline.begin() + static_cast<ptrdiff_t>(runs.front().second + 2));
            pieces.emplace_back(cell, std::move(piece));
        }
    }
    // Check every cell before adding anything, so that a refused outline
    // leaves the writer as it was.
    std::map<uint32_t, size_t> adding;
    for (const auto& [cell, piece] : pieces) {
        const auto it = cells.find(cell);
        const size_t already = it == cells.end() ? 0 : it->second.size();
        if (already + ++adding[cell] > MAX_FILE_COUNT) {
            const Point16 id = CellID(cell);
            error = "cell (" + std::to_string(id.x) + ", " + std::to_string(id.y) +
                    ") would hold more than 32767 polygons";
            return false;
        }
    }
    for (auto& [cell, piece] : pieces)
        cells[cell].push_back(std::move(piece));
    return true;
}

const std::vector<MapOutline>& MapFileWriter::GetCellPolygons(const Point16& id) const
{
    static const std::vector<MapOutline> none;
    if (!IsValidTileID(id))
        return none;
    const auto it = cells.find(CellNumber(id));
    return it == cells.end() ? none : it->second;
}

// Layout: the index, the shared empty record right after it, then the record
// of each cell with outlines, in index order.
bool MapFileWriter::Write(std::ostream& out) const
{
    constexpr uint64_t headBytes = 6;
    const uint64_t emptyOffset = MAP_FILE_INDEX_BYTES;
    uint64_t next = emptyOffset + headBytes;
    std::map<uint32_t, uint32_t> offsets;
    for (const auto& [cell, polygons] : cells) {
        offsets[cell] = static_cast<uint32_t>(next);
        next += headBytes;
        for (const MapOutline& polygon : polygons)
            next += 2 + uint64_t{MAP_FILE_POINT_BYTES} * polygon.size();
        if (next > std::numeric_limits<uint32_t>::max())
            return false;   // offsets are 32-bit
    }

    for (uint32_t cell = 0; cell < MAP_FILE_CELLS; ++cell) {
        const auto it = offsets.find(cell);
        SaveField(out, it == offsets.end() ? static_cast<uint32_t>(emptyOffset) : it->second);
    }
    SaveField(out, MAP_FILE_ANY_CELL);
    SaveField(out, MAP_FILE_ANY_CELL);
    SaveField(out, int16_t{0});
    for (const auto& [cell, polygons] : cells) {
        const Point16 id = CellID(cell);
        SaveField(out, id.x);
        SaveField(out, id.y);
        SaveField(out, static_cast<int16_t>(polygons.size()));
        for (const MapOutline& polygon : polygons) {
            SaveField(out, static_cast<int16_t>(polygon.size()));
            for (const MapPolyPoint& p : polygon) {
                SaveField(out, p.level);
                SaveField(out, p.first);
                SaveField(out, p.second);
            }
        }
    }
    return static_cast<bool>(out);
}

bool MapFileWriter::WriteFile(const std::string& path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        return false;
    if (!Write(out))
        return false;
    out.close();
    return !out.fail();
}

bool ReadMapSource(std::istream& in, MapSource& source, std::string& error)
{
    const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_discarded()) {
        error = "not valid JSON";
        return false;
    }
    if (!doc.is_object()) {
        error = "the description must be a JSON object";
        return false;
    }
    MapSource read;
    for (int layer = 0; layer < 3; ++layer) {
        const char* name = LAYER_NAMES[layer];
        if (!doc.contains(name))
            continue;
        const nlohmann::json& list = doc[name];
        if (!list.is_array()) {
            error = std::string(name) + " must be an array of outlines";
            return false;
        }
        for (size_t i = 0; i < list.size(); ++i) {
            MapOutline outline;
            std::string why;
            if (!ReadOutline(list[i], outline, why)) {
                error = Describe(name, i, list[i]) + ": " + why;
                return false;
            }
            read.layers[layer].push_back(std::move(outline));
        }
    }
    source = std::move(read);
    return true;
}

bool CheckReferenceClearance(const MapOutline& outline, std::string& error)
{
    // Edge i runs from point i - 1 to point i; a lone point is checked alone.
    for (size_t i = outline.size() > 1 ? 1 : 0; i < outline.size(); ++i) {
        const size_t from = i > 0 ? i - 1 : 0;
        LatLonPoint grid;
        if (!FindNearGridPoint(Position(outline[from]), Position(outline[i]), grid))
            continue;
        std::ostringstream s;
        if (from == i)
            s << "point " << i;
        else
            s << "edge from point " << from << " to point " << i;
        s << " passes within " << MAP_REFERENCE_CLEARANCE << " angle units of the grid point ["
          << double(grid.lat) / ANGLE_PER_DEGREE << ", " << double(grid.lon) / ANGLE_PER_DEGREE
          << "], from which the land and ice tests count crossings; move the outline off it";
        error = s.str();
        return false;
    }
    return true;
}

bool WriteMapFiles(const MapSource& source, const std::string& base, std::string& error)
{
    for (int layer : {0, 2}) {
        const std::vector<MapOutline>& outlines = source.layers[layer];
        for (size_t i = 0; i < outlines.size(); ++i) {
            std::string why;
            if (!CheckReferenceClearance(outlines[i], why)) {
                error = std::string(LAYER_NAMES[layer]) + '[' + std::to_string(i) + "]: " + why;
                return false;
            }
        }
    }
    for (int layer = 0; layer < 3; ++layer) {
        MapFileWriter writer;
        const std::vector<MapOutline>& outlines = source.layers[layer];
        for (size_t i = 0; i < outlines.size(); ++i) {
            std::string why;
            if (!writer.AddOutline(outlines[i], why)) {
                error = std::string(LAYER_NAMES[layer]) + '[' + std::to_string(i) + "]: " + why;
                return false;
            }
        }
        const std::string path = base + LAYER_EXTENSIONS[layer];
        if (!writer.WriteFile(path)) {
            error = path + ": cannot write";
            return false;
        }
    }
    return true;
}
