// opsstaff.cpp: the cost of handing a mission-unit event to its mission: the
// ops staff finds the mission that holds the unit and runs its step. A side
// of 50 missions with 40 units each; the goal is at most 5 microseconds per
// event. Measured twice: the ops staff's own search (for the unit of the last
// mission, the longest search, and on average over every unit), and the
// whole event (the unit's other queued mission-unit events dropped from a
// queue holding one for each of the other units, the unit and its side
// found, then the ops staff).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/BenchShip.h"
#include "core/gam2arena.h"
#include "missions/MissionRecord.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"
#include "missions/SideManager.h"
#include "simulation/MissionEvents.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t MISSIONS = 50;
constexpr uint16_t UNITS_PER_MISSION = 40;
constexpr uint16_t FIRST_UNIT = 1000;
constexpr uint16_t LAST_UNIT = FIRST_UNIT + MISSIONS * UNITS_PER_MISSION - 1;

// A mission whose unit step only counts.
class CountingMission : public MissionRecord {
public:
    CountingMission(uint16_t id, Side* side) : MissionRecord(1, "bench", side) { SetKey(id); }
    void StepUnit(uint16_t, uint8_t) override { ++steps; }
    uint64_t steps = 0;
};

// The staff's missions 1..50 (the two standing ones replaced), each holding
// 40 units numbered on from FIRST_UNIT.
void FillStaff(OpsStaff& staff, Side* side)
{
    staff.DeleteAll();
    uint16_t unitID = FIRST_UNIT;
    for (uint16_t id = 1; id <= MISSIONS; ++id) {
        auto* mission = new CountingMission(id, side);
        for (uint16_t i = 0; i < UNITS_PER_MISSION; ++i)
            mission->units.Insert(new MissionUnitRec(unitID++));
        staff.Insert(mission);
    }
}

void StepUnitOfLastMission(benchmark::State& state)
{
    OpsStaff staff(nullptr);
    FillStaff(staff, nullptr);
    for (auto _ : state)
        staff.StepUnit(LAST_UNIT, 0);
    benchmark::DoNotOptimize(static_cast<CountingMission*>(staff.Last())->steps);
}

void StepUnitOfEveryUnit(benchmark::State& state)
{
    OpsStaff staff(nullptr);
    FillStaff(staff, nullptr);
    uint16_t next = 0;
    for (auto _ : state) {
        staff.StepUnit(static_cast<uint16_t>(FIRST_UNIT + next), 0);
        next = static_cast<uint16_t>((next + 1) % (MISSIONS * UNITS_PER_MISSION));
    }
}

// One side in the arena whose ops staff holds every unit as above, and a
// queued mission-unit event for every unit but the last.
struct EventScene {
    EventScene()
    {
        previousState = gam2arena::SetArenaState(&arena);
        previousUnits = UnitList::SetArenaList(&units);
        side = new Side("Blue", 1);
        manager.AddSide(side);
        InstallSideManagerCalls(&manager);
        FillStaff(*side->GetOpsStaff(), side);
        for (uint16_t id = FIRST_UNIT; id <= LAST_UNIT; ++id) {
            auto* const ship = new BenchShip();
            ship->SetKey(id);
            ship->SetSideID(1);
            units.Insert(ship);
            if (id != LAST_UNIT)
                gam2arena::PostEvent(new MissionUnitEvent(id));
        }
    }
    ~EventScene()
    {
        InstallSideManagerCalls(nullptr);
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            arena.Queue().Remove(e);
            delete e;
        }
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    EventScene(const EventScene&) = delete;
    EventScene& operator=(const EventScene&) = delete;

    ArenaState arena;
    UnitList units;
    SideManager manager;
    Side* side = nullptr;
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
};

void MissionUnitEventOfLastMission(benchmark::State& state)
{
    EventScene scene;
    MissionUnitEvent event(LAST_UNIT);
    for (auto _ : state)
        event.HandleEvent();
    benchmark::DoNotOptimize(static_cast<CountingMission*>(scene.side->GetOpsStaff()->Last())->steps);
}

} // namespace

BENCHMARK(StepUnitOfLastMission)->Unit(benchmark::kMicrosecond);
BENCHMARK(StepUnitOfEveryUnit)->Unit(benchmark::kMicrosecond);
BENCHMARK(MissionUnitEventOfLastMission)->Unit(benchmark::kMicrosecond);
