// navigator.cpp: fuzz target of the navigator section (Navigator::Load) over
// the sample map; a queue that loads is saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "world/Navigator.h"

using samplemap::At;

void FuzzSeeds(fuzz::Seeds& seeds)
{
    std::ostringstream out(std::ios::binary);
    SaveField(out, int16_t{2});
    const LatLonPoint legs[2][3] = {{At(73, -3), At(76, 5), At(74.5, 1)}, {At(72, 6), At(72, -4), At(72, 2)}};
    for (uint16_t unit = 1; unit <= 2; ++unit) {
        SaveField(out, unit);                        // unitID
        SaveField(out, uint8_t{1});                  // sideID
        SaveField(out, int16_t(unit == 1 ? 2 : 4));  // navType
        SaveField(out, uint32_t{0xF0});              // threatMask
        SaveField(out, int16_t{0});                  // numPoints
        SaveField(out, uint8_t{0});                  // reversed
        for (const LatLonPoint& p : legs[unit - 1])
            p.Save(out);
    }
    seeds.Add("two-requests", out.str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::UseSampleMap();
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        Navigator navigator;
        if (!navigator.Load(in))
            return;
        std::ostringstream out(std::ios::binary);
        navigator.Save(out);
    });
    return 0;
}
