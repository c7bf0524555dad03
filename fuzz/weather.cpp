// weather.cpp: fuzz target of the weather section (Environment::Load, of a
// current file version) over the sample map's area; a grid that loads takes
// a weather step, is asked the weather across the map and is saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "world/Environment.h"
#include "world/Map.h"
#include "world/Weather.h"

using samplemap::At;

void FuzzSeeds(fuzz::Seeds& seeds)
{
    fuzz::UseSampleMap();
    for (uint8_t kind : {0, 1, 2}) {
        Environment environment;
        environment.SetUpWeather(gMap->Get_LatLonRect(), kind);
        environment.RequestUpdate();
        environment.Update();
        std::ostringstream out(std::ios::binary);
        environment.Save(out);
        seeds.Add("grid-kind" + std::to_string(kind), out.str());
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::UseSampleMap();
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        Environment environment;
        if (!environment.Load(in, Environment::GridKindVersion()))
            return;
        environment.RequestUpdate();
        environment.Update();
        for (double lat = 71; lat <= 77; lat += 1.5)
            for (double lon = -5; lon <= 7; lon += 3)
                environment.GetWeather(At(lat, lon));
        std::ostringstream out(std::ios::binary);
        environment.Save(out);
    });
    return 0;
}
