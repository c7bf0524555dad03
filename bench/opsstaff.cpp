// opsstaff.cpp: the cost of handing a mission-unit event to its mission: the
// ops staff finds the mission that holds the unit and runs its step. A side
// of 50 missions with 40 units each; the goal is at most 5 microseconds per
// event, for the unit of the last mission (the longest search) and on
// average over every unit.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "missions/MissionRecord.h"
#include "missions/OpsStaff.h"

namespace {

constexpr uint16_t MISSIONS = 50;
constexpr uint16_t UNITS_PER_MISSION = 40;

// A mission whose unit step only counts.
class CountingMission : public MissionRecord {
public:
    explicit CountingMission(uint16_t id) : MissionRecord(1, "bench", nullptr) { SetKey(id); }
    void StepUnit(uint16_t, uint8_t) override { ++steps; }
    uint64_t steps = 0;
};

// The staff's missions 1..50 (the two standing ones replaced), each holding
// 40 units numbered on from 1000.
void FillStaff(OpsStaff& staff)
{
    staff.DeleteAll();
    uint16_t unitID = 1000;
    for (uint16_t id = 1; id <= MISSIONS; ++id) {
        auto* mission = new CountingMission(id);
        for (uint16_t i = 0; i < UNITS_PER_MISSION; ++i)
            mission->units.Insert(new MissionUnitRec(unitID++));
        staff.Insert(mission);
    }
}

void StepUnitOfLastMission(benchmark::State& state)
{
    OpsStaff staff(nullptr);
    FillStaff(staff);
    const uint16_t lastUnit = 1000 + MISSIONS * UNITS_PER_MISSION - 1;
    for (auto _ : state)
        staff.StepUnit(lastUnit, 0);
    benchmark::DoNotOptimize(static_cast<CountingMission*>(staff.Last())->steps);
}

void StepUnitOfEveryUnit(benchmark::State& state)
{
    OpsStaff staff(nullptr);
    FillStaff(staff);
    uint16_t next = 0;
    for (auto _ : state) {
        staff.StepUnit(static_cast<uint16_t>(1000 + next), 0);
        next = static_cast<uint16_t>((next + 1) % (MISSIONS * UNITS_PER_MISSION));
    }
}

} // namespace

BENCHMARK(StepUnitOfLastMission)->Unit(benchmark::kMicrosecond);
BENCHMARK(StepUnitOfEveryUnit)->Unit(benchmark::kMicrosecond);
