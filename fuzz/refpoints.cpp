// refpoints.cpp: fuzz target of a side's saved list of map points
// (SavedTreeListOf<ReferencePoint>), saved again after a load.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/SavedTreeListOf.h"
#include "fuzz/FuzzTarget.h"
#include "units/ReferencePoint.h"

void FuzzSeeds(fuzz::Seeds& seeds)
{
    SavedTreeListOf<ReferencePoint> points;
    const char* names[] = {"Alpha", "", "Bo"};
    for (uint16_t n = 1; n <= 3; ++n) {
        auto* point = new ReferencePoint(n);
        point->name.Set(names[n - 1]);
        point->flag = static_cast<uint8_t>(n);
        point->SetSideID(2);
        point->SetPosition({n * 245760, -n * 245760});
        points.Insert(point);
    }
    std::ostringstream out(std::ios::binary);
    points.Save(out);
    seeds.Add("points", out.str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        SavedTreeListOf<ReferencePoint> points;
        if (points.Load(in)) {
            std::ostringstream out(std::ios::binary);
            points.Save(out);
        }
    });
    return 0;
}
