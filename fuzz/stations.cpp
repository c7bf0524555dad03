// stations.cpp: fuzz target of a group's station list (StationList::Load):
// the kind byte and record of every station kind and the events a station
// carries, in the layout of files before and from 2.1.0.0 (byte 0 picks the
// version). A list that loads is saved again. Station events are of the
// path-return class, the one built here that reads an event record.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/EventList.h"
#include "core/ScenarioAdmin.h"
#include "core/gam2arena.h"
#include "fuzz/FuzzTarget.h"
#include "units/StationList.h"
#include "world/PathReturnEvent.h"

namespace {

void SetUp()
{
    fuzz::UseSampleResources();
    fuzz::UsePathReturnEvents();
}

// The file version byte 0 stands for: even bytes a file before station
// events, odd ones a current file.
VersionNumber VersionOf(uint8_t selector)
{
    return selector % 2 == 0 ? VersionNumber(2, 0, 9, 0) : VersionNumber(3, 6, 3, 0);
}

std::string SavedSample(bool events)
{
    StationList list;
    uint16_t unit = 40;
    for (uint8_t kind = StationKind::FIRST; kind <= StationKind::LAST; ++kind) {
        StationRecord* s = StationRecord::CreateStation(kind);
        s->unitID = unit--;
        s->maxRange = 4096 * (kind + 4);
        s->minRange = 4096 * kind;
        s->rightBearing = 245760 * 20 * kind;
        s->leftBearing = 245760 * 5 * kind;
        s->axis = kind % 3;
        if (events && kind % 3 == 0)
            s->eventList.Append(new PathReturnEvent);
        list.Append(s);
    }
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    std::string bytes = out.str();
    if (!events) {
        // The older layout: no event count after each station.
        std::string old = bytes.substr(0, 2);
        size_t at = 2;
        while (at < bytes.size()) {
            old += bytes.substr(at, 29);
            at += 31;
        }
        bytes = old;
    }
    return bytes;
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    SetUp();
    seeds.Add("every-kind-current", std::string(1, '\1') + SavedSample(true));
    seeds.Add("every-kind-before-events", std::string(1, '\0') + SavedSample(false));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUp();
    if (size == 0)
        return 0;
    std::istringstream in(fuzz::Bytes(data + 1, size - 1), std::ios::binary);
    fuzz::Guarded([&] {
        fuzz::GameState game(VersionOf(data[0]));
        {
            StationList list;
            if (list.Load(in)) {
                std::ostringstream out(std::ios::binary);
                list.Save(out);
            }
        }
    });
    return 0;
}
