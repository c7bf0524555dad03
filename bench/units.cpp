// units.cpp: the cost of the unit phase of the step, every unit's Move, for
// 100, 1,000 and 5,000 ships at sea on the sample map (MAPS/SAMPLE.*) with a
// weather grid over it, in ns per unit (goal: at most 2 us per unit per
// step). Each ship runs a diesel plant on its tank, carries two mounts and a
// magazine, and follows a leg long enough that no step reaches a path point;
// the counter allocs_per_step shows that such a step allocates nothing.
// BM_ShipMovementPhase runs the same step for 1,000 Ship units, a fifth of
// them at each damage level so that their speed caps apply, with a set-speed
// order to one ship in ten every step (the cap worked out again), and 200
// Facility units under repair with a mount each; ns per unit over all 1,200.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "core/LatLonRect.h"
#include "core/RandomGen.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Facility.h"
#include "units/Ship.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/Environment.h"
#include "world/Map.h"
#include "world/Weather.h"

#include "bench/AllocationCount.h"
#include "bench/BenchShip.h"
#include "tests/support/SampleMap.h"


namespace {

using namespace samplemap;

constexpr uint16_t SHIP_SPEED = 18;       // knots
constexpr uint8_t STEP_SECONDS = 15;      // the longest step of the game
constexpr int RESET_EVERY = 200;          // steps before the ships go back to their start

int16_t FlatCell(bool land, bool ice, int32_t, int32_t)
{
    const int16_t cell = land ? int16_t{800} : int16_t{-800};
    return ice ? static_cast<int16_t>(cell | 1) : cell;
}

PropulsionPlant* DieselPlant()
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    plant->engineType = EngineType::DIESEL;
    plant->hasFuel = 1;
    const uint16_t speeds[] = {6, 18, 26, 32};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {10, -2, speeds[row]};
    }
    for (uint16_t& rate : plant->useRate)
        rate = 3;
    return plant;
}

FuelTank* DieselTank()
{
    std::ostringstream out;
    for (uint32_t v : {1u, 4000u, 4000u, 0u})
        SaveField(out, v);
    std::istringstream in(out.str());
    auto* tank = new FuelTank();
    tank->Load(in);
    return tank;
}

// The sample map in gMap, a weather grid over it in gEnvironment, an arena
// state, and `count` ships at sea each heading 60 nm east.
class Fleet {
public:
    // Makes the units of the fleet.
    using Maker = Unit* (*)(int index);

    explicit Fleet(int count, Maker make = &MakeBenchShip)
    {
        std::string error;
        map = LoadSampleMap(error, &FlatCell);
        if (!map)
            return;
        gMap = map.get();
        environment.SetUpWeather(LatLonRect(Deg(NORTH), Deg(WEST), Deg(SOUTH), Deg(EAST)), 1);
        gEnvironment = &environment;
        previousArena = gam2arena::SetArenaState(&arena);
        RandomGen random;
        random.SetSeed(11);
        uint16_t key = 1;
        while (static_cast<int>(starts.size()) < count) {
            const double lat = 72 + random.MPRandom(4000) / 1000.0;
            const double lon = -4 + random.MPRandom(9000) / 1000.0;
            const LatLonPoint start = At(lat, lon);
            const LatLonPoint goal = At(lat, lon + 3);   // about 60 nm east at these latitudes
            if (map->Is_Land(start) || !map->Is_On_Map(goal))
                continue;
            Unit* const ship = make(key);
            ship->SetKey(key++);
            ship->SetClassName("Bench");
            ship->plants.Insert(DieselPlant());
            ship->fuelTanks.Append(DieselTank());
            for (uint16_t m = 1; m <= 2; ++m)
                ship->mounts.Insert(new Mount(m));
            ship->magazines.Insert(new Mount(1));
            ship->SetPosition(start);
            ship->SetSpeed(SHIP_SPEED, 0);
            ship->path.Append(new PositionNode(goal));
            units.Insert(ship);
            starts.push_back(start);
        }
        ok = true;
    }
    ~Fleet()
    {
        units.DeleteAll();
        gam2arena::SetArenaState(previousArena);
        gEnvironment = nullptr;
        gMap = nullptr;
    }

    // Every ship back at its start with a full tank.
    void Reset()
    {
        size_t i = 0;
        for (Unit* u = units.First(); u != nullptr && i < starts.size(); u = u->GetNext(), ++i) {
            u->SetPosition(starts[i]);
            u->fuelTanks.First()->SetCount(4000);
        }
    }

    static Unit* MakeBenchShip(int) { return new BenchShip(); }

    bool ok = false;
    UnitList units;

private:
    std::unique_ptr<Map> map;
    Environment environment;
    ArenaState arena;
    ArenaState* previousArena = nullptr;
    std::vector<LatLonPoint> starts;
};

void BM_MovementPhase(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Fleet fleet(count);
    if (!fleet.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    int64_t steps = 0;
    int64_t allocations = 0;
    std::chrono::steady_clock::duration moving{};
    for (auto _ : state) {
        benchalloc::Start();
        const auto start = std::chrono::steady_clock::now();
        for (Unit* u = fleet.units.First(); u != nullptr; u = u->GetNext())
            u->Move(STEP_SECONDS);
        moving += std::chrono::steady_clock::now() - start;
        allocations += benchalloc::Stop();
        if (++steps % RESET_EVERY == 0) {
            state.PauseTiming();
            fleet.Reset();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_unit"] =
        static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(moving).count())
        / (static_cast<double>(steps) * count);
    state.counters["allocs_per_step"] = static_cast<double>(allocations) / static_cast<double>(steps);
}
BENCHMARK(BM_MovementPhase)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// A ship of 200 damage points, damaged to the level index % 5.
Unit* MakeDamagedShip(int index)
{
    auto* ship = new Ship();
    ship->SetDamagePoints(200);
    static const int32_t hits[] = {0, 60, 110, 160, 185};
    ship->TakeDamage(hits[index % 5], 0);
    return ship;
}

void BM_ShipMovementPhase(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Fleet fleet(count, &MakeDamagedShip);
    if (!fleet.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    const int facilities = count / 5;
    for (int f = 0; f < facilities; ++f) {
        auto* facility = new Facility();
        facility->SetKey(static_cast<uint16_t>(count + 1 + f));
        facility->SetPosition(At(72 + f % 40 / 10.0, -4 + f / 40));
        facility->damagePoints = 500;
        facility->damageTaken = 200;
        facility->recentDamage = 50;
        facility->mounts.Insert(new Mount(1));
        fleet.units.Insert(facility);
    }
    const int units = count + facilities;
    int64_t steps = 0;
    std::chrono::steady_clock::duration moving{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        int i = 0;
        for (Unit* u = fleet.units.First(); u != nullptr; u = u->GetNext(), ++i) {
            if ((i + steps) % 10 == 0)
                u->SetSpeed(SHIP_SPEED, 0);
            u->Move(STEP_SECONDS);
        }
        moving += std::chrono::steady_clock::now() - start;
        if (++steps % RESET_EVERY == 0) {
            state.PauseTiming();
            fleet.Reset();
            for (Unit* u = fleet.units.Find(static_cast<uint16_t>(count + 1)); u != nullptr; u = u->GetNext())
                static_cast<Facility*>(u)->recentDamage = 50;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * units);
    state.counters["ns_per_unit"] =
        static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(moving).count())
        / (static_cast<double>(steps) * units);
}
BENCHMARK(BM_ShipMovementPhase)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
