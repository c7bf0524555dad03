// SampleMap.h: the sample sea area of the data set (MAPS/SAMPLE.*) loaded as a
// Map for the benchmarks and the map tests, through a map section made here
// whose grid follows the sample's outlines (data/map/sample.json) by a cell
// rule of the caller's.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/XYRect.h"
#include "world/Map.h"
#include "world/MapFileWriter.h"

namespace samplemap {

// The section's area: the sample sea area and the outlines' margin round it.
constexpr double NORTH = 77, WEST = -5, SOUTH = 71, EAST = 7;
constexpr int32_t HALF_DEGREE = ANGLE_PER_DEGREE / 2;

inline int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
}

inline LatLonPoint At(double lat, double lon)
{
    return LatLonPoint(Deg(lat), Deg(lon));
}

// Even-odd test of a position (degrees) against closed outlines.
inline bool InsideAny(const std::vector<MapOutline>& outlines, double lat, double lon)
{
    const int32_t y = Deg(lat), x = Deg(lon);
    bool inside = false;
    for (const MapOutline& outline : outlines) {
        for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
            const MapPolyPoint& p = outline[i];
            const MapPolyPoint& q = outline[j];
            if ((p.first > y) != (q.first > y)) {
                const double crossLon =
                    p.second + double(q.second - p.second) * (y - p.first) / double(q.first - p.first);
                if (x < crossLon)
                    inside = !inside;
            }
        }
    }
    return inside;
}

// A map data file name as the map section holds it: length with terminator, then the text.
inline void WriteName(std::ostream& out, const std::string& name)
{
    SaveField(out, static_cast<uint8_t>(name.size() + 1));
    out.write(name.c_str(), static_cast<std::streamsize>(name.size() + 1));
}

// The section head: the three SAMPLE files, the area, a Miller projection
// centred on 0 degrees, and the ice-pack mask.
inline void WriteSectionHead(std::ostream& out, uint16_t icepackMask)
{
    for (int i = 0; i < 3; ++i)
        WriteName(out, "SAMPLE");
    LatLonRect(Deg(NORTH), Deg(WEST), Deg(SOUTH), Deg(EAST)).Save(out);
    XYRect().Save(out);
    SaveField(out, uint8_t{1});
    LatLonPoint(0, 0).Save(out);
    SaveField(out, icepackMask);
}

// Loads the map section from `out` against the built data set; null (with the reason) on failure.
inline std::unique_ptr<Map> LoadSection(const std::ostringstream& out, std::string& error)
{
    auto map = std::make_unique<Map>();
    std::istringstream in(out.str(), std::ios::binary);
    if (!map->Create_Map(in, (std::string(TESSARN_DATA_DIR) + "/MAPS/").c_str())) {
        error = "the sample map section did not load (is the sample data built?)";
        return nullptr;
    }
    return map;
}

// The height or depth of a half-degree grid point: whether it lies on land or
// in the ice (by the outlines) and where (angle units).
using CellRule = int16_t (*)(bool land, bool ice, int32_t lat, int32_t lon);

// The whole sample map, every one-degree tile listed, the grid made by `rule`;
// null (with the reason) when the data set is missing.
inline std::unique_ptr<Map> LoadSampleMap(std::string& error, CellRule rule)
{
    std::ifstream description(std::string(TESSARN_SOURCE_DIR) + "/data/map/sample.json");
    MapSource source;
    if (!description.is_open() || !ReadMapSource(description, source, error)) {
        error = "cannot read data/map/sample.json " + error;
        return nullptr;
    }
    std::ostringstream out(std::ios::binary);
    WriteSectionHead(out, 1);   // ice pack: cell bit 0
    SaveField(out, static_cast<uint16_t>((NORTH - SOUTH) * (EAST - WEST)));
    for (int16_t north = static_cast<int16_t>(SOUTH + 1); north <= NORTH; ++north) {
        for (int16_t west = static_cast<int16_t>(WEST); west < EAST; ++west) {
            SaveField(out, north);
            SaveField(out, west);
        }
    }
    for (int32_t lat = Deg(NORTH); lat >= Deg(SOUTH); lat -= HALF_DEGREE) {
        for (int32_t lon = Deg(WEST); lon <= Deg(EAST); lon += HALF_DEGREE) {
            const double la = double(lat) / ANGLE_PER_DEGREE, lo = double(lon) / ANGLE_PER_DEGREE;
            SaveField(out, rule(InsideAny(source.layers[0], la, lo), InsideAny(source.layers[2], la, lo),
                                lat, lon));
        }
    }
    return LoadSection(out, error);
}

}  // namespace samplemap
