// maptile.cpp: fuzz target of one map tile read from the coast, country and
// ice files. The input is the tile id (i16 north, i16 west), a projection
// byte (odd: Cassini) and the record area of a map data file; the file is
// the 259,200-byte tile index, whose entry for the id points at the record
// area, and that area. The one file serves all three layers.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "core/Projection.h"
#include "fuzz/FuzzTarget.h"
#include "world/MapFileWriter.h"
#include "world/MapTile.h"

namespace {

constexpr size_t HEAD = 5;

uint32_t U32At(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i)
        v |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return v;
}

int16_t I16At(const std::string& bytes, size_t at)
{
    return static_cast<int16_t>(U32At(bytes, at) & 0xFFFF);
}

// The record of a cell of a sample map file, whole.
std::string SampleRecord(const std::string& file, const Point16& id)
{
    size_t at = U32At(file, MapFileIndexOffset(id));
    const size_t start = at;
    at += 4;
    const int16_t polygons = I16At(file, at);
    at += 2;
    for (int16_t p = 0; p < polygons && at < file.size(); ++p)
        at += 2 + size_t(uint16_t(I16At(file, at))) * MAP_FILE_POINT_BYTES;
    return file.substr(start, at - start);
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    const std::string coast = fuzz::ReadFile(fuzz::DataDir() + "/MAPS/SAMPLE.cst");
    const std::string ice = fuzz::ReadFile(fuzz::DataDir() + "/MAPS/SAMPLE.ice");
    const Point16 ids[] = {{74, 0}, {75, 3}, {76, -2}, {73, 5}};
    for (const Point16& id : ids) {
        for (const std::string* file : {&coast, &ice}) {
            std::string seed(HEAD, '\0');
            seed[0] = static_cast<char>(id.x & 0xFF);
            seed[1] = static_cast<char>((id.x >> 8) & 0xFF);
            seed[2] = static_cast<char>(id.y & 0xFF);
            seed[3] = static_cast<char>((id.y >> 8) & 0xFF);
            seed[4] = file == &ice ? 1 : 0;
            seeds.Add("tile" + std::to_string(id.x) + "_" + std::to_string(id.y) + (file == &ice ? "ice" : "cst"),
                      seed + SampleRecord(*file, id));
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < HEAD)
        return 0;
    const std::string input = fuzz::Bytes(data, size);
    const Point16 id{I16At(input, 0), I16At(input, 2)};
    std::string file(MAP_FILE_INDEX_BYTES, '\0');
    if (IsValidTileID(id)) {
        const uint32_t entry = MAP_FILE_INDEX_BYTES;
        for (size_t i = 0; i < 4; ++i)
            file[MapFileIndexOffset(id) + i] = static_cast<char>((entry >> (8 * i)) & 0xFF);
    }
    file += input.substr(HEAD);
    std::unique_ptr<Projection> projection;
    if (data[4] & 1)
        projection = std::make_unique<Cassini>(LatLonPoint(ANGLE_RIGHT, 0));
    else
        projection = std::make_unique<MillerCylindrical>(LatLonPoint(0, 0));
    fuzz::Guarded([&] {
        std::istringstream coast(file, std::ios::binary), country(file, std::ios::binary),
            ice(file, std::ios::binary);
        MapTile tile;
        tile.Init(id, coast, country, ice, projection.get());
    });
    return 0;
}
