// planerecs.cpp: fuzz target of a holder's aircraft-record list
// (PlaneRecList::Load): every record field, a station of any kind with its
// events, the substitution list and the ready time worked out on load, in a
// current file. A list that loads is saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/EventList.h"
#include "core/ScenarioAdmin.h"
#include "core/gam2arena.h"
#include "fuzz/FuzzTarget.h"
#include "units/PlaneRec.h"
#include "units/StationRecord.h"
#include "world/PathReturnEvent.h"

namespace {

void SetUp()
{
    fuzz::UseSampleResources();
    fuzz::UsePathReturnEvents();
}

std::string SavedSample()
{
    PlaneRecList list;
    for (uint8_t kind = 0; kind <= StationKind::LAST; ++kind) {
        auto* r = new PlaneRec(static_cast<uint16_t>(kind + 1));
        r->planeAnnexID = 3;
        r->count = static_cast<uint8_t>(kind + 1);
        r->loadoutID = kind;
        r->flags = kind % 2 == 0 ? PlaneRec::READY_FLAGS : 0x20;
        r->stateTime = 100u * kind;
        r->substitutions.Insert(new NavIDNode(kind, 7));
        if (kind != 0) {
            StationRecord* s = StationRecord::CreateStation(kind);
            s->maxRange = 4096 * (kind + 4);
            if (kind % 3 == 0)
                s->eventList.Append(new PathReturnEvent);
            r->SetStation(s);
            delete s;
        }
        list.Insert(r);
    }
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    return out.str();
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    SetUp();
    seeds.Add("every-station-kind", SavedSample());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUp();
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        fuzz::GameState game(VersionNumber(3, 6, 3, 0));
        {
            PlaneRecList list;
            if (list.Load(in)) {
                std::ostringstream out(std::ios::binary);
                list.Save(out);
            }
        }
    });
    return 0;
}
