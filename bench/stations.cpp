// stations.cpp: the cost of a station refresh of a 20-ship group: for every
// member, the periodic check of a member out of station (MoveToStation:
// speeds, the meeting with the moving station point, the leg test, a new
// path with its arrival event) and the return to station (a direct path),
// in microseconds per member (goal: at most 20 us per member). The intercept
// is the engagement model's own; the leg test answers at once; a path handed
// over is copied onto the unit, and the events posted are deleted after
// each refresh, as the event phase would take them.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Intercept.h"
#include "units/Group.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/StationRecord.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

#include "bench/BenchEvents.h"
#include "bench/BenchShip.h"

namespace {

constexpr int MEMBERS = 20;
constexpr uint16_t GROUP_ID = 1;

using namespace bench;

void BM_StationRefresh(benchmark::State& state)
{
    ArenaState arena;
    gam2arena::SetArenaState(&arena);
    UnitList units;
    UnitList::SetArenaList(&units);
    UnitEventCalls events;
    events.makeSetSpeedEvent = &MakeSpeed;
    events.makeStationEvent = &MakeStation;
    const UnitEventCalls previousEvents = SetUnitEventCalls(events);
    UnitBridgeCalls bridge;
    bridge.setUnitPath = &CopyPathOntoUnit;
    bridge.legValidForUnit = &AnyLeg;
    const UnitBridgeCalls previousBridge = SetUnitBridgeCalls(bridge);
    StationBridgeCalls calls;
    calls.computeIntercept = &ComputeIntercept;
    const StationBridgeCalls previousCalls = SetStationBridgeCalls(calls);

    const LatLonPoint home{30 * 60 * 4096, -20 * 60 * 4096};
    auto* group = new Group;
    group->SetKey(GROUP_ID);
    group->SetPosition(home);
    group->speed = 12;
    group->course = 45 * ANGLE_PER_DEGREE;
    units.Insert(group);
    for (int i = 0; i < MEMBERS; ++i) {
        auto* ship = new BenchShip;
        const uint16_t id = static_cast<uint16_t>(10 + i);
        ship->SetKey(id);
        ship->plants.Insert(DieselPlant(false));
        ship->SetPosition(home);
        units.Insert(ship);
        StationRecord templ;
        templ.leftBearing = (i * 18) * ANGLE_PER_DEGREE;
        templ.rightBearing = (i * 18 + 30) * ANGLE_PER_DEGREE;
        templ.minRange = (2 + i % 5) * RANGE_PER_NM;
        templ.maxRange = (6 + i % 5) * RANGE_PER_NM;
        group->AddMember(id, &templ);
    }

    // One refresh first: every member must come out steering with a path,
    // or the figure would time a shortcut.
    for (StationRecord* s = group->formation->stations.First(); s != nullptr; s = s->GetNext()) {
        s->mode = StationMode::OUT;
        s->CheckStation();
        if (s->mode != StationMode::STEERING || units.Find(s->unitID)->GetPath() == nullptr) {
            state.SkipWithError("a member found no way to its station");
            break;
        }
    }
    std::chrono::nanoseconds spent{0};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (StationRecord* s = group->formation->stations.First(); s != nullptr; s = s->GetNext()) {
            s->mode = StationMode::OUT;
            s->CheckStation();
            s->ReturnToStation();
        }
        while (Event* e = arena.Queue().First()) {
            arena.Queue().Remove(e);
            delete e;
        }
        spent += std::chrono::steady_clock::now() - start;
    }
    state.SetItemsProcessed(state.iterations() * MEMBERS);
    state.counters["us_per_member"] =
        static_cast<double>(spent.count()) * 1e-3 / (static_cast<double>(state.iterations()) * MEMBERS);

    SetStationBridgeCalls(previousCalls);
    SetUnitBridgeCalls(previousBridge);
    SetUnitEventCalls(previousEvents);
    units.DeleteAll();
    UnitList::SetArenaList(nullptr);
    gam2arena::SetArenaState(nullptr);
}
BENCHMARK(BM_StationRefresh)->Unit(benchmark::kMicrosecond);

}  // namespace
