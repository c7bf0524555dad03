// altgrid.cpp: fuzz target of the altitude/depth grid as the map section
// reads it: a head of this target's own (north and west edges in half
// degrees, i16 each; height and width in half degrees, u8 each; the
// ice-pack mask, u16) gives the corners; the rest is the cells. A grid that
// loads is queried over its area and saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/LatLonPoint.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "fuzz/FuzzTarget.h"
#include "world/AltDepthGrid.h"

namespace {

constexpr int32_t HALF = ANGLE_PER_DEGREE / 2;
constexpr size_t HEAD = 8;

std::string Head(int16_t north, int16_t west, uint8_t height, uint8_t width, uint16_t icepack)
{
    std::ostringstream out(std::ios::binary);
    SaveField(out, north);
    SaveField(out, west);
    SaveField(out, height);
    SaveField(out, width);
    SaveField(out, icepack);
    return out.str();
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    // The sample area, 77N 5W to 71N 7E: 13 rows of 25 cells.
    std::ostringstream cells(std::ios::binary);
    for (int i = 0; i < 13 * 25; ++i)
        SaveField(cells, static_cast<int16_t>((i * 37) % 400 - 200));
    seeds.Add("sample-area", Head(2 * 77, -2 * 5, 12, 24, 1) + cells.str());
    seeds.Add("across-180", Head(20, 2 * 179, 2, 4, 4) + cells.str().substr(0, 2 * 15));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < HEAD)
        return 0;
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    int16_t north = 0;
    int16_t west = 0;
    uint8_t height = 0, width = 0;
    uint16_t icepack = 0;
    LoadField(in, north);
    LoadField(in, west);
    LoadField(in, height);
    LoadField(in, width);
    LoadField(in, icepack);
    // Edges on the globe, as the map section's checks leave them.
    const int32_t n = north % 181;
    const int32_t w = west % 361;
    const int32_t s = n - height < -180 ? -180 : n - height;
    const LatLonPoint northWest(n * HALF, w * HALF);
    const LatLonPoint southEast(s * HALF, (w + width) * HALF);
    fuzz::Guarded([&] {
        AltDepthGrid grid(in, northWest, southEast, icepack);
        if (!grid.Is_Valid())
            return;
        for (int32_t lat = s; lat <= n; lat += 3) {
            for (int32_t lon = w - 1; lon <= w + width + 1; lon += 3) {
                const LatLonPoint p(lat * HALF, lon * HALF - 1000);
                grid.Get_Altitude(p);
                grid.Get_Cell(p);
                grid.Is_Ice(p);
            }
        }
        std::ostringstream out(std::ios::binary);
        grid.Save(out);
    });
    return 0;
}
