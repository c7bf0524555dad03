// gis.cpp: fuzz target of the shapefile overlays (GISManager::Load) over the
// sample map: the input is one shapefile set, .shp, .shx and .dbf joined
// (fuzz::Split), written beside the opened scenario file; the manager reads
// the folder as opening that scenario does, dumps included.
#include <shapefil.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzTarget.h"
#include "world/GISManager.h"
#include "world/OpenedFilePath.h"

namespace {

struct Set {
    int type;
    std::vector<std::vector<std::pair<double, double>>> shapes;   // (lon, lat) vertices
};

// The three files of a set written by shapelib, joined.
std::string Written(const std::string& base, const Set& set)
{
    SHPHandle shp = SHPCreate(base.c_str(), set.type);
    DBFHandle dbf = DBFCreate(base.c_str());
    DBFAddField(dbf, "NAME", FTString, 8, 0);
    DBFAddField(dbf, "GIS_COLOR", FTInteger, 6, 0);
    int record = 0;
    for (const auto& vertices : set.shapes) {
        std::vector<double> xs, ys;
        for (const auto& [lon, lat] : vertices) {
            xs.push_back(lon);
            ys.push_back(lat);
        }
        SHPObject* shape = SHPCreateSimpleObject(set.type, static_cast<int>(xs.size()), xs.data(), ys.data(), nullptr);
        SHPWriteObject(shp, -1, shape);
        SHPDestroyObject(shape);
        DBFWriteStringAttribute(dbf, record, 0, ("s" + std::to_string(record)).c_str());
        DBFWriteIntegerAttribute(dbf, record, 1, 10 + record);
        ++record;
    }
    SHPClose(shp);
    DBFClose(dbf);
    return fuzz::Join({fuzz::ReadFile(base + ".shp"), fuzz::ReadFile(base + ".shx"), fuzz::ReadFile(base + ".dbf")});
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    const std::string base = seeds.Folder() + "/set";
    seeds.Add("points", Written(base, {SHPT_POINT, {{{1, 74}}, {{2.5, 75.5}}, {{-3, 72}}}}));
    seeds.Add("lines", Written(base, {SHPT_ARC, {{{-4, 72}, {0, 74}, {6, 76}}, {{1, 73}, {2, 73.5}}}}));
    seeds.Add("polygons", Written(base, {SHPT_POLYGON, {{{0, 73}, {1, 73}, {1, 74}, {0, 74}, {0, 73}}}}));
    for (const char* extension : {".shp", ".shx", ".dbf"})
        std::filesystem::remove(base + extension);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        const std::string dir = fuzz::WorkDir() + "/GIS";
        std::filesystem::create_directories(dir);
        return dir;
    }();
    fuzz::UseSampleMap();
    SetOpenedFilePath((folder + "/FUZZ.SCN").c_str());
    const std::vector<std::string> files = fuzz::Split(fuzz::Bytes(data, size), 3);
    fuzz::WriteFile(folder + "/FUZZ.shp", files[0]);
    fuzz::WriteFile(folder + "/FUZZ.shx", files[1]);
    fuzz::WriteFile(folder + "/FUZZ.dbf", files[2]);
    fuzz::Guarded([&] {
        GISManager manager;
        manager.Load();
    });
    return 0;
}
