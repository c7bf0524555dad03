// patrolstep.cpp: the cost of PatrolMission::StepUnit for a patrol of 1,000
// patrolling ships over eight reference points: each step picks a point,
// draws a point along the leg and gives the unit its leg with altitude and
// speed orders (queued events; the path hand-over itself is the bridge's and
// not counted). The queue is emptied, untimed, after every pass over the
// units. Goal: at most 20 microseconds a call.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/BenchEvents.h"
#include "bench/BenchShip.h"
#include "core/IDList.h"
#include "core/gam2arena.h"
#include "missions/PatrolMission.h"
#include "missions/Side.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t UNIT_COUNT = 1000;
constexpr int32_t NM = 4096;

Event* MakeAltitude(uint16_t unit, int32_t, GameTime due)
{
    auto* e = new bench::BenchEvent(EventCode::SET_ALTITUDE, unit);
    e->SetDueTime(due);
    return e;
}

Event* MakeMissionUnit(uint16_t unit, GameTime due)
{
    auto* e = new bench::BenchEvent(EventCode::MISSION_UNIT, unit);
    e->SetDueTime(due);
    return e;
}

void EmptyQueue(ArenaState& arena)
{
    while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
        arena.Queue().Remove(e);
        delete e;
    }
}

void StepPatrollingUnits(benchmark::State& state)
{
    ArenaState arena;
    ArenaState* const oldArena = gam2arena::SetArenaState(&arena);
    UnitList units;
    UnitList* const oldUnits = UnitList::SetArenaList(&units);
    UnitEventCalls calls;
    calls.makeSetSpeedEvent = &bench::MakeSpeed;
    calls.makeSetAltitudeEvent = &MakeAltitude;
    calls.makeMissionUnitEvent = &MakeMissionUnit;
    const UnitEventCalls oldCalls = SetUnitEventCalls(calls);

    auto side = std::make_unique<Side>(1);
    IDList points;
    for (int i = 0; i < 8; ++i)
        points.Insert(new IDNode(side->AddPoint(LatLonPoint((60 + i % 3) * 60 * NM, (i * 2) * 60 * NM))));
    PatrolMission patrol(PatrolMission::KIND_AAW, "Barrier", &points, side.get());
    for (uint16_t id = 1; id <= UNIT_COUNT; ++id) {
        auto* ship = new BenchShip();
        ship->SetKey(id);
        ship->SetPosition(LatLonPoint((59 + id % 5) * 60 * NM, (id % 17) * 60 * NM));
        units.Insert(ship);
        auto* record = new MissionUnitRec(id);
        record->state = PatrolState::PATROLLING;
        patrol.units.Insert(record);
    }

    uint16_t next = 1;
    for (auto _ : state) {
        patrol.StepUnit(next, 0);
        if (++next > UNIT_COUNT) {
            next = 1;
            state.PauseTiming();
            EmptyQueue(arena);
            state.ResumeTiming();
        }
    }
    EmptyQueue(arena);
    units.DeleteAll();
    SetUnitEventCalls(oldCalls);
    UnitList::SetArenaList(oldUnits);
    gam2arena::SetArenaState(oldArena);
}

} // namespace

BENCHMARK(StepPatrollingUnits)->Unit(benchmark::kMicrosecond);
