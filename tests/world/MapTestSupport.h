// MapTestSupport.h: builders for map tests: a scenario map section written
// field by field from a readable description, a scratch folder holding the
// coast, border and ice files of a few outlines, and a helper that loads the
// two into a Map, and a small sea map installed as gMap. Used by the world
// tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Point16.h"
#include "core/Projection.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/XYRect.h"
#include "support/TempTree.h"
#include "world/Map.h"
#include "world/MapFileWriter.h"

namespace maptest {

// Degrees to angle units, rounded to the nearest unit.
inline int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
}

inline LatLonPoint At(double lat, double lon)
{
    return LatLonPoint(Deg(lat), Deg(lon));
}

// Rows and columns of the grid of a lat/lon area, as the map sizes it: half
// degrees from north to south and west to east (east moved by 360 degrees
// across the 180-degree meridian), both edges included.
inline int32_t GridRows(const LatLonRect& area)
{
    return (area.north - area.south) / (ANGLE_PER_DEGREE / 2) + 1;
}
inline int32_t GridColumns(const LatLonRect& area)
{
    const int32_t east = area.east < area.west ? area.east + ANGLE_FULL : area.east;
    return (east - area.west) / (ANGLE_PER_DEGREE / 2) + 1;
}

// A map section described field by field; cells are row by row from the
// north, each row from the west (GridRows x GridColumns of the area).
struct SectionPlan {
    std::string coast = "TCOAST";
    std::string country = "TBORDER";
    std::string ice = "TICE";
    LatLonRect area;
    XYRect xy;
    uint8_t projectionID = 1;
    LatLonPoint origin;
    uint16_t icepackID = 0;
    std::vector<Point16> tiles;
    std::vector<int16_t> cells;

    // Fills the grid with one value.
    void FillCells(int16_t value)
    {
        cells.assign(static_cast<size_t>(GridRows(area)) * GridColumns(area), value);
    }
    // The cell of the grid point (lat, lon) in degrees; needs a filled grid.
    int16_t& Cell(double lat, double lon)
    {
        const int32_t row = (area.north / (ANGLE_PER_DEGREE / 2)) - Deg(lat) / (ANGLE_PER_DEGREE / 2);
        int32_t column = Deg(lon) / (ANGLE_PER_DEGREE / 2) - area.west / (ANGLE_PER_DEGREE / 2);
        if (column < 0)
            column += 720;
        return cells.at(static_cast<size_t>(row) * GridColumns(area) + column);
    }
};

inline void WriteName(std::ostream& out, const std::string& name)
{
    SaveField(out, static_cast<uint8_t>(name.size() + 1));
    out.write(name.c_str(), static_cast<std::streamsize>(name.size() + 1));
}

// The section's bytes, in the order the map reads them.
inline std::string SectionBytes(const SectionPlan& plan)
{
    std::ostringstream out(std::ios::binary);
    WriteName(out, plan.coast);
    WriteName(out, plan.country);
    WriteName(out, plan.ice);
    plan.area.Save(out);
    plan.xy.Save(out);
    SaveField(out, plan.projectionID);
    plan.origin.Save(out);
    SaveField(out, plan.icepackID);
    SaveField(out, static_cast<uint16_t>(plan.tiles.size()));
    for (const Point16& id : plan.tiles) {
        SaveField(out, id.x);
        SaveField(out, id.y);
    }
    for (int16_t cell : plan.cells)
        SaveField(out, cell);
    return out.str();
}

// A closed axis-aligned square outline from (south, west) to (north, east),
// in degrees, every point at `level`.
inline MapOutline Square(double south, double west, double north, double east, uint8_t level = 1)
{
    auto point = [level](double lat, double lon) {
        MapPolyPoint p;
        p.level = level;
        p.first = Deg(lat);
        p.second = Deg(lon);
        return p;
    };
    return {point(south, west), point(south, east), point(north, east), point(north, west),
            point(south, west)};
}

// A scratch folder with the three data files of a few outlines, each put
// whole into the cell given (north edge, west edge in degrees).
class MapFiles {
public:
    struct Placed {
        Point16 cell;
        MapOutline outline;
    };

    // Writes <folder>/<coast>.cst, <country>.cty and <ice>.ice.
    bool Write(const SectionPlan& plan, const std::vector<Placed>& coast,
               const std::vector<Placed>& country = {}, const std::vector<Placed>& ice = {})
    {
        return WriteLayer(plan.coast + ".cst", coast) && WriteLayer(plan.country + ".cty", country) &&
               WriteLayer(plan.ice + ".ice", ice);
    }

    // The directory text a scenario loader passes: the folder and a separator.
    std::string Directory() const { return folder.root + "/"; }
    std::string Path(const std::string& name) const { return folder.root + "/" + name; }

private:
    bool WriteLayer(const std::string& name, const std::vector<Placed>& outlines)
    {
        MapFileWriter writer;
        std::string error;
        for (const Placed& placed : outlines) {
            if (!writer.AddCellPolygon(placed.cell, placed.outline, error)) {
                ADD_FAILURE() << error;
                return false;
            }
        }
        return writer.WriteFile(Path(name));
    }

    TempTree folder;
};

// Loads a section into a new map; `ok` takes Create_Map's answer.
inline std::unique_ptr<Map> LoadMap(const std::string& bytes, const std::string& directory,
                                    bool* ok = nullptr)
{
    auto map = std::make_unique<Map>();
    std::istringstream in(bytes, std::ios::binary);
    const bool result = map->Create_Map(in, directory.c_str());
    if (ok != nullptr)
        *ok = result;
    return map;
}

inline std::string SaveMap(const Map& map, bool* ok = nullptr)
{
    std::ostringstream out(std::ios::binary);
    const bool result = map.Save(out);
    if (ok != nullptr)
        *ok = result;
    return out.str();
}

// A Miller sea map over 10N-12N, 20E-22E, every cell 100 m deep, installed
// as gMap by Install; the map held before comes back when this goes.
class InstalledSeaMap {
public:
    InstalledSeaMap() = default;
    InstalledSeaMap(const InstalledSeaMap&) = delete;
    InstalledSeaMap& operator=(const InstalledSeaMap&) = delete;
    ~InstalledSeaMap()
    {
        if (installed)
            gMap = previous;
    }

    // Writes and loads the map and installs it; false if it would not load.
    bool Install()
    {
        SectionPlan section;
        section.area = LatLonRect(Deg(12), Deg(20), Deg(10), Deg(22));
        section.projectionID = PROJECTION_MILLER;
        section.FillCells(-100);
        if (!files.Write(section, {}))
            return false;
        bool ok = false;
        map = LoadMap(SectionBytes(section), files.Directory(), &ok);
        if (!ok)
            return false;
        previous = gMap;
        gMap = map.get();
        installed = true;
        return true;
    }

private:
    MapFiles files;
    std::unique_ptr<Map> map;
    Map* previous = nullptr;
    bool installed = false;
};

} // namespace maptest
