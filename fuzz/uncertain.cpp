// uncertain.cpp: fuzz target of a saved uncertainty area (Uncertain_Poly's
// stream constructor, as the contact records read it) over the sample map;
// an area that loads grows three steps, as the clock would make it, and is
// saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/Units.h"
#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "world/UncertainPoly.h"

using samplemap::At;

void FuzzSeeds(fuzz::Seeds& seeds)
{
    fuzz::UseSampleMap();
    const auto saved = [](const Uncertain_Poly& area) {
        std::ostringstream out(std::ios::binary);
        area.Save(out);
        return out.str();
    };
    seeds.Add("circle", saved(Uncertain_Poly(At(74, 1), 20000)));
    seeds.Add("bearing", saved(Uncertain_Poly(At(73, -2), At(75, 3), ANGLE_PER_DEGREE * 5, 4000, 0, 400000)));
    const LatLonPoint ring[] = {At(72, -4), At(76, -1), At(72, 6)};
    seeds.Add("triangle", saved(Uncertain_Poly(ring, 3)));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::UseSampleMap();
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        Uncertain_Poly area(in);
        if (!in)
            return;
        for (int step = 0; step < 3; ++step)
            area.Grow(RANGE_PER_NM);
        std::ostringstream out(std::ios::binary);
        area.Save(out);
    });
    return 0;
}
