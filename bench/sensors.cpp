// sensors.cpp: the cost of the sensor tests. Per class, ns per Detect that
// finds nothing (radar also with 20 jamming entries; the lookout beyond its
// horizon, the others on their signal margins), and of radar, MAD and laser
// tests that make a contact (the semi-active receiver, which asks its
// illuminator's track, is left out), with the heap allocations per call (goals: a radar finding
// nothing at most 150 ns without jamming and 1 us with 20 entries, no
// allocation unless a contact is made). Then the sensor pass, the inner loop
// of the simulation: 500 ships spread over the sample map, each running four
// sensors (radar, ESM, lookout, passive sonar) against every other ship, with
// 0, 5 and 20 jamming entries per ship, in ns per pair and ms per pass.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/NavMath.h"
#include "core/RandomGen.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/Decibel.h"
#include "engagement/SensorClasses.h"
#include "engagement/SonarConditions.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/Map.h"
#include "world/game2ui.h"

#include "bench/AllocationCount.h"
#include "tests/support/SampleMap.h"

namespace {

using namespace samplemap;

int16_t SeaCell(bool land, bool, int32_t, int32_t)
{
    return land ? int16_t{800} : int16_t{-3200};
}

// A ship with fixed signatures and emissions.
class BenchShip : public Unit {
public:
    char GetTypeLetter() const override { return 'S'; }
    uint32_t GetTargetMask() const override { return 1; }
    int16_t GetRadarSignature(int) const override { return 250; }
    int16_t GetVisualSignature(int) const override { return 100; }
    int16_t GetFirstSonarSignature(int) const override { return 110; }
    int16_t GetEmissionLevel(uint32_t) const override { return -150; }
    void SaveFields(std::ostream& out) const override { SaveField(out, static_cast<uint8_t>('S')); }
    bool LoadFields(std::istream&) override { return true; }
    using Unit::SetHorizon;
};

// The sensor types of every ship's four sensors, by key 1 to 4.
constexpr uint8_t SENSOR_TYPES[5] = {0, Sensor::TYPE_RADAR, Sensor::TYPE_ESM, Sensor::TYPE_VISUAL,
                                     Sensor::TYPE_PASSIVE_SONAR};

// The four sensor records of every ship.
void AddRecords()
{
    auto add = [](uint16_t id, uint32_t type) -> SensorAnnex& {
        auto* r = new SensorAnnex(id);
        r->sensorType = type;
        Annex::Tables().Sensors()->Insert(r);
        return *r;
    };
    SensorAnnex& radar = add(1, Sensor::TYPE_RADAR);
    radar.searchBands = 0x7;
    radar.maxRange = 120;
    radar.searchThreshold = -1200;
    radar.beamWidth = 15;
    radar.capabilities = 0x1C1;
    SensorAnnex& esm = add(2, Sensor::TYPE_ESM);
    esm.searchBands = 0x7;
    esm.maxRange = 150;
    esm.jamMargin = -400;
    SensorAnnex& eye = add(3, Sensor::TYPE_VISUAL);
    eye.maxRange = 25;
    eye.jamMargin = -650;
    SensorAnnex& sonar = add(4, Sensor::TYPE_PASSIVE_SONAR);
    sonar.searchBands = SonarSensor::MIDDLE_BAND_BIT;
    sonar.maxRange = 40;
    sonar.capabilities = 0x9;
    // Sensors of the per-class benchmarks only.
    SensorAnnex& infrared = add(5, Sensor::TYPE_INFRARED);
    infrared.maxRange = 30;
    infrared.jamMargin = 400;
    add(6, Sensor::TYPE_MAD).maxRange = 2;
    add(7, Sensor::TYPE_LASER).maxRange = 10;
    add(8, Sensor::TYPE_ECM).maxRange = 100;
}

// The world of the benchmarks: tables, classes, arena, map, and ships.
class SensorScene {
public:
    SensorScene(int ships, int jammers)
    {
        std::string error;
        map = LoadSampleMap(error, &SeaCell);
        if (!map)
            return;
        gMap = map.get();
        previousArena = gam2arena::SetArenaState(&arena);
        InstallSensorClasses();
        Annex::Tables().Create();
        AddRecords();
        game2ui::SetShowAll(true);
        SonarConditions::czInterval = 60;
        SonarConditions::czWidth = 10;
        SonarConditions::layerDepth = -250;
        RandomGen random;
        random.SetSeed(5);
        for (uint16_t key = 1; key <= ships; ++key) {
            auto* ship = new BenchShip();
            ship->SetKey(key);
            ship->SetSideID(static_cast<uint16_t>(1 + key % 2));
            ship->SetPosition(At(72 + random.MPRandom(4000) / 1000.0, -4 + random.MPRandom(10000) / 1000.0));
            ship->SetHorizon(12);
            ship->speed = 15;
            for (uint16_t s = 1; s <= 4; ++s) {
                Sensor* sensor = MakeSensorFromRecord(SensorClassForType(SENSOR_TYPES[s], false), s);
                sensor->SetKey(s);
                sensor->SetSensorType(SENSOR_TYPES[s]);
                sensor->SetOwner(ship);
                sensor->SetState(s == 1 ? Sensor::STATE_ACTIVE : Sensor::STATE_PASSIVE);
                ship->sensors.Insert(sensor);
            }
            for (int j = 0; j < jammers; ++j) {
                auto* record = new SignatureRecord(static_cast<uint16_t>(j + 1));
                record->SetBandLevel(0x7, static_cast<int16_t>(-200 + 10 * j));
                record->SetDirection(static_cast<int16_t>(j * 173 % 3600));
                ship->JammingEntries().Insert(record);
            }
            units.Insert(ship);
        }
        ok = true;
    }
    ~SensorScene()
    {
        units.DeleteAll();
        Annex::Tables().Delete();
        gam2arena::SetArenaState(previousArena);
        gMap = nullptr;
    }

    bool ok = false;
    UnitList units;

private:
    std::unique_ptr<Map> map;
    ArenaState arena;
    ArenaState* previousArena = nullptr;
};

// One class's Detect on a pair of ships a fixed vector apart.
void RunDetect(benchmark::State& state, uint16_t sensorKey, int jammers, int32_t range, int16_t threshold)
{
    SensorScene scene(2, jammers);
    if (!scene.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    Unit* own = scene.units.First();
    Unit* target = own->GetNext();
    const uint32_t type = Annex::Tables().Sensors()->Find(sensorKey)->sensorType;
    std::unique_ptr<Sensor> sensor(MakeSensorFromRecord(SensorClassForType(type, false), sensorKey));
    sensor->SetSensorType(static_cast<uint8_t>(type));
    sensor->SetOwner(own);
    sensor->SetState(type == Sensor::TYPE_RADAR || type == Sensor::TYPE_LASER ? Sensor::STATE_ACTIVE
                                                                             : Sensor::STATE_PASSIVE);
    sensor->searchThreshold = threshold;
    const bool designates = type == Sensor::TYPE_LASER;   // the laser's third condition
    const NavVector vector(range, 1234567);
    const int32_t loss = static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(range))) - 34;
    int64_t contacts = 0;
    benchalloc::Start();
    for (auto _ : state) {
        Contact* c = sensor->Detect(*own, *target, vector, 0, loss, true, true, designates);
        benchmark::DoNotOptimize(c);
        contacts += c != nullptr;
        delete c;
    }
    const int64_t allocations = benchalloc::Stop();
    state.counters["allocs_per_call"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["contacts_per_call"] = static_cast<double>(contacts) / static_cast<double>(state.iterations());
}

constexpr int32_t NM = 4096;

void BM_RadarNothing(benchmark::State& state)
{
    RunDetect(state, 1, static_cast<int>(state.range(0)), 30 * NM, 2000);
}
BENCHMARK(BM_RadarNothing)->Arg(0)->Arg(20);

void BM_RadarContact(benchmark::State& state)
{
    RunDetect(state, 1, static_cast<int>(state.range(0)), 30 * NM, -2000);
}
BENCHMARK(BM_RadarContact)->Arg(0);

void BM_RadarOutOfRange(benchmark::State& state)
{
    RunDetect(state, 1, 0, 200 * NM, -2000);
}
BENCHMARK(BM_RadarOutOfRange);

void BM_EsmNothing(benchmark::State& state)
{
    RunDetect(state, 2, 0, 140 * NM, 0);
}
BENCHMARK(BM_EsmNothing);

void BM_VisualNothing(benchmark::State& state)
{
    RunDetect(state, 3, 0, 24 * NM, 0);
}
BENCHMARK(BM_VisualNothing);

void BM_SonarNothing(benchmark::State& state)
{
    RunDetect(state, 4, 0, 39 * NM, 0);
}
BENCHMARK(BM_SonarNothing);

void BM_InfraredNothing(benchmark::State& state)
{
    RunDetect(state, 5, 0, 20 * NM, 0);
}
BENCHMARK(BM_InfraredNothing);

void BM_MadContact(benchmark::State& state)
{
    RunDetect(state, 6, 0, 1500, 0);
}
BENCHMARK(BM_MadContact);

void BM_LaserContact(benchmark::State& state)
{
    RunDetect(state, 7, 0, 5 * NM, 0);
}
BENCHMARK(BM_LaserContact);

void BM_EcmNothing(benchmark::State& state)
{
    RunDetect(state, 8, 0, 5 * NM, 0);
}
BENCHMARK(BM_EcmNothing);

// Every ship's four sensors against every other ship, as the detection pass
// runs them; the contacts made are deleted (the side merge is not counted).
void BM_SensorPass(benchmark::State& state)
{
    SensorScene scene(500, static_cast<int>(state.range(0)));
    if (!scene.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    int64_t pairs = 0;
    int64_t contacts = 0;
    for (auto _ : state) {
        for (Unit* own = scene.units.First(); own != nullptr; own = own->GetNext()) {
            for (Unit* target = scene.units.First(); target != nullptr; target = target->GetNext()) {
                if (target == own)
                    continue;
                const NavVector vector =
                    NavMath::Get_Vector(own->PositionObject::GetPosition(), target->PositionObject::GetPosition());
                const int32_t loss = static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(vector.range))) - 34;
                for (Sensor* s = own->sensors.First(); s != nullptr; s = s->GetNext()) {
                    Contact* c = s->Detect(*own, *target, vector, 0, loss, true, true, false);
                    contacts += c != nullptr;
                    delete c;
                }
                ++pairs;
            }
        }
    }
    state.counters["ns_per_pair"] =
        benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["contacts_per_pass"] = static_cast<double>(contacts) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SensorPass)->Arg(0)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
