// zones.cpp: fuzz target of the zone list of a side (AreaPolygonList::Load)
// over the sample map; a list that loads is asked the navigator's crossing
// questions and saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "world/AreaPolygon.h"
#include "world/AreaPolygonList.h"

using samplemap::At;

void FuzzSeeds(fuzz::Seeds& seeds)
{
    fuzz::UseSampleMap();
    const LatLonPoint box[] = {At(73.25, 1.6), At(73.25, 2.4), At(73.6, 2.4), At(73.6, 1.6), At(73.25, 1.6)};
    const LatLonPoint wedge[] = {At(72, -4), At(76, -1), At(72, 6)};
    std::ostringstream out(std::ios::binary);
    SaveField(out, uint16_t{2});
    AreaPolygon(1, box, 5, 0x10).Save(out);
    AreaPolygon(2, wedge, 3, 0x100).Save(out);
    seeds.Add("two-zones", out.str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::UseSampleMap();
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        AreaPolygonList zones;
        if (!zones.Load(in))
            return;
        const LatLonPoint a = At(72.5, -3), b = At(76.5, 6);
        zones.Any_Odd_Crossing(a, b, 0xFFFFFFFF);
        zones.First_Crossing(a, b, 0xFFFFFFFF);
        for (AreaPolygon* zone = zones.GetFirst(); zone != nullptr; zone = zone->GetNext())
            zones.Find(zone->GetID());
        std::ostringstream out(std::ios::binary);
        zones.Save(out);
    });
    return 0;
}
