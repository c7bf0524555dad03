// mapsection.cpp: fuzz target of the map section of scenario files
// (Map::Create_Map) against the sample map files; a map that loads is asked
// the questions the game asks of it (land, ice, altitude, the views of its
// plane, crossings) and saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "fuzz/FuzzTarget.h"
#include "world/Map.h"

void FuzzSeeds(fuzz::Seeds& seeds)
{
    std::string section;
    fuzz::UseSampleMap(&section);
    seeds.Add("sample", section);
    // The same area through the Cassini projection (byte after the two areas).
    const size_t projectionAt = 3 * 8 + 16 + 16;
    std::string cassini = section;
    cassini[projectionAt] = 2;
    seeds.Add("sample-cassini", cassini);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string directory = fuzz::DataDir() + "/MAPS/";
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        Map map;
        if (!map.Create_Map(in, directory.c_str()))
            return;
        const LatLonRect area = map.Get_LatLonRect();
        const int32_t latStep = (area.north - area.south) / 4 + 1;
        const int32_t lonStep = (area.east - area.west) / 4 + 1;
        for (int64_t lat = area.south; lat <= area.north; lat += latStep) {
            for (int64_t lon = area.west; lon <= area.east; lon += lonStep) {
                const LatLonPoint p(static_cast<int32_t>(lat), static_cast<int32_t>(lon));
                map.Is_Land(p);
                map.Is_Ice(p);
                map.Get_Altitude(p);
                map.XY_to_LatLon(map.LatLon_to_XY(p));
                map.Is_Path_Clear(p, LatLonPoint(area.north, area.east));
            }
        }
        map.Get_View_LatLonRect(map.Get_XYRect());
        map.Get_Highest_Point_Between(LatLonPoint(area.south, area.west), LatLonPoint(area.north, area.east));
        std::ostringstream out(std::ios::binary);
        map.Save(out);
    });
    return 0;
}
