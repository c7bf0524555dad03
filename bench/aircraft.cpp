// aircraft.cpp: the cost of aircraft in flight. BM_AircraftMovement: the
// movement phase of 500 aircraft over the sample map (MAPS/SAMPLE.*) with
// rising ground on its land, half flying a long leg and half circling, each
// burning fuel, following the terrain and checking its fuel against the way
// to its base, in ns per aircraft (goal: at most 5 us per plane per step).
// BM_HomeBaseSearch: 200 aircraft without a base among 2,000 units (bases
// with room, most of them beyond the aircraft's reach, and ships without
// it), each searching the unit list as it does at every step while it has
// none, in ns per homeless aircraft (goal: at most 100 us at 2,000 units).
// The leg test of circling aircraft is a stand-in that opens every leg: the
// navigator's own test belongs to the bridge.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/RandomGen.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Plane.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"
#include "world/Map.h"
#include "world/Nav2Game.h"

#include "bench/BenchShip.h"
#include "tests/support/SampleMap.h"

namespace {

using namespace samplemap;

constexpr uint8_t STEP_SECONDS = 15;
constexpr int RESET_EVERY = 200;   // steps before the aircraft go back to their start
constexpr uint16_t BASE_ID = 1;

// Land rises eastward from 100 to about 1300 (tens of metres); the sea is
// 100 deep.
int16_t RisingLand(bool land, bool, int32_t, int32_t lon)
{
    if (!land)
        return -800;
    return static_cast<int16_t>(800 + (lon - Deg(WEST)) / (ANGLE_PER_DEGREE / 100) * 8);
}

PropulsionPlant* JetPlant()
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    plant->engineType = EngineType::JET;
    plant->hasFuel = 1;
    const uint16_t speeds[] = {200, 420, 520, 650};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {static_cast<int16_t>(1500 * (band + 1)), 0, speeds[row]};
    }
    for (uint16_t& rate : plant->useRate)
        rate = 40;
    return plant;
}

FuelTank* AviationTank(uint32_t counts)
{
    std::ostringstream out;
    for (uint32_t v : {7u, counts, counts, 0u})
        SaveField(out, v);
    std::istringstream in(out.str());
    auto* tank = new FuelTank();
    tank->Load(in);
    return tank;
}

// A unit that takes aircraft of any size.
class BenchBase : public BenchShip {
public:
    char GetTypeLetter() const override { return 'F'; }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return 0x1FF; }
    int32_t GetAircraftRoom(uint32_t) const override { return 10; }
};

// The sample map in gMap with rising land, an arena state, the unit list,
// and an open leg for every circling aircraft.
class Airspace {
public:
    Airspace()
    {
        std::string error;
        map = LoadSampleMap(error, &RisingLand);
        if (!map)
            return;
        gMap = map.get();
        previousArena = gam2arena::SetArenaState(&arena);
        UnitList::SetArenaList(&units);
        UnitBridgeCalls bridge;
        bridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) { return true; };
        previousBridge = SetUnitBridgeCalls(bridge);
        random.SetSeed(29);
        ok = true;
    }
    ~Airspace()
    {
        units.DeleteAll();
        SetUnitBridgeCalls(previousBridge);
        UnitList::SetArenaList(nullptr);
        gam2arena::SetArenaState(previousArena);
        gMap = nullptr;
    }

    LatLonPoint RandomPoint(double south, double north, double west, double east)
    {
        const double lat = south + random.MPRandom(static_cast<uint32_t>((north - south) * 1000)) / 1000.0;
        const double lon = west + random.MPRandom(static_cast<uint32_t>((east - west) * 1000)) / 1000.0;
        return At(lat, lon);
    }

    Plane* AddPlane(uint16_t key, const LatLonPoint& at, uint32_t counts)
    {
        auto* plane = new Plane();
        plane->SetKey(key);
        plane->SetSideID(1);
        plane->SetName("Bench flight");
        plane->plants.Insert(JetPlant());
        plane->fuelTanks.Append(AviationTank(counts));
        plane->mounts.Insert(new Mount(1));
        plane->ComputeCruise();
        plane->SetPosition(at);
        plane->SetAltitude(static_cast<int16_t>(std::max<int16_t>(Nav2Game::GetAltitudeAt(at), 0) + 30));
        plane->SetSpeed(420, plane->PositionObject::GetAltitude());
        plane->ComputeReserves();
        units.Insert(plane);
        return plane;
    }

    bool ok = false;
    UnitList units;
    RandomGen random;

private:
    std::unique_ptr<Map> map;
    ArenaState arena;
    ArenaState* previousArena = nullptr;
    UnitBridgeCalls previousBridge;
};

void BM_AircraftMovement(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Airspace air;
    if (!air.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    auto* base = new BenchBase();
    base->SetKey(BASE_ID);
    base->SetSideID(1);
    base->SetPosition(At(72.3, 1.0));
    air.units.Insert(base);
    std::vector<Plane*> planes;
    std::vector<LatLonPoint> starts;
    for (int i = 0; i < count; ++i) {
        const LatLonPoint start = air.RandomPoint(72.2, 75.8, -3.8, 5.8);
        Plane* plane = air.AddPlane(static_cast<uint16_t>(100 + i), start, 20000);
        plane->homeBaseID = BASE_ID;
        plane->course = static_cast<int32_t>(air.random.MPRandom(360)) * ANGLE_PER_DEGREE;
        if (i % 2 == 0)
            plane->path.Append(new PositionNode(At(80.0, 40.0)));   // far beyond any step
        planes.push_back(plane);
        starts.push_back(start);
    }
    int64_t steps = 0;
    std::chrono::steady_clock::duration moving{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (Plane* plane : planes)
            plane->Move(STEP_SECONDS);
        moving += std::chrono::steady_clock::now() - start;
        if (++steps % RESET_EVERY == 0) {
            state.PauseTiming();
            for (size_t i = 0; i < planes.size(); ++i) {
                planes[i]->SetPosition(starts[i]);
                planes[i]->fuelTanks.First()->SetCount(20000);
            }
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_plane"] =
        static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(moving).count())
        / (static_cast<double>(steps) * count);
}
BENCHMARK(BM_AircraftMovement)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_HomeBaseSearch(benchmark::State& state)
{
    const int total = static_cast<int>(state.range(0));
    const int homeless = total / 10;
    Airspace air;
    if (!air.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    uint16_t key = 1;
    // A sixth of the other units are bases, the rest ships without room;
    // the aircraft (about 100 nm of fuel) are in the middle of the map and
    // most bases lie beyond their reach.
    for (int i = 0; i < total - homeless; ++i) {
        Unit* unit = i % 6 == 0 ? static_cast<Unit*>(new BenchBase()) : static_cast<Unit*>(new BenchShip());
        unit->SetKey(key++);
        unit->SetSideID(static_cast<uint16_t>(1 + i % 3));
        unit->SetPosition(air.RandomPoint(71.2, 76.8, -4.8, 6.8));
        air.units.Insert(unit);
    }
    std::vector<Plane*> planes;
    for (int i = 0; i < homeless; ++i)
        planes.push_back(air.AddPlane(key++, air.RandomPoint(73.8, 74.2, 0.0, 1.0), 350));
    int64_t searches = 0;
    int64_t found = 0;
    std::chrono::steady_clock::duration searching{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (Plane* plane : planes) {
            plane->homeBaseID = 0;
            plane->ChooseHomeBase();
        }
        searching += std::chrono::steady_clock::now() - start;
        for (Plane* plane : planes)
            found += plane->homeBaseID != 0 ? 1 : 0;
        searches += homeless;
    }
    state.SetItemsProcessed(searches);
    state.counters["ns_per_homeless_plane"] =
        static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(searching).count())
        / static_cast<double>(searches);
    state.counters["share_finding_a_base"] = static_cast<double>(found) / static_cast<double>(searches);
}
BENCHMARK(BM_HomeBaseSearch)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
