// events.cpp: fuzz target of a saved event list (LoadEventList) holding the
// event classes of the model below the units: weather disturbances and path
// returns (each with its path). A list that loads is saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/Chain.h"
#include "core/Event.h"
#include "core/EventList.h"
#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "world/NavPath.h"
#include "world/PathReturnEvent.h"
#include "world/WeatherEvent.h"

using samplemap::At;

namespace {

Event* MakeEvent(uint8_t typeCode)
{
    switch (typeCode) {
    case EventCode::WEATHER:
        return new WeatherEvent;
    case EventCode::PATH_RETURN:
        return new PathReturnEvent;
    default:
        return nullptr;
    }
}

void Clear(Chain<Event>& events)
{
    while (Event* e = events.First()) {
        events.Remove(e);
        delete e;
    }
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    Chain<Event> events;
    events.Append(new WeatherEvent(3, 4, -1));
    auto* path = new Nav_Path;
    path->unitID = 7;
    path->numPoints = 3;
    for (const LatLonPoint& p : {At(73, -3), At(74.5, 1), At(76, 5)})
        path->AddPoint(p);
    events.Append(new PathReturnEvent(path, 7));
    events.Append(new WeatherEvent(0, 0, 1));
    std::ostringstream out(std::ios::binary);
    SaveEventList(events, out);
    Clear(events);
    seeds.Add("weather-and-path", out.str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const EventFactory installed = SetEventFactory(&MakeEvent);
    (void)installed;
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        Chain<Event> events;
        if (LoadEventList(events, in)) {
            std::ostringstream out(std::ios::binary);
            SaveEventList(events, out);
        }
        Clear(events);
    });
    return 0;
}
