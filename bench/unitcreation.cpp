// unitcreation.cpp: the cost of the derived-figure pass of the annex load
// (Annex::ComputeDerivedFigures: one temporary weapon per weapon record, one
// temporary aircraft per loadout and per performance table), over the sample
// platform database and over tables of 250 to 2,000 records per file made
// here in memory, the whole pass and each of its three parts alone; the
// building of one aircraft from its record; and the building of every
// platform of the sample database.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "annex/AnnexTables.h"
#include "engagement/SensorClasses.h"
#include "engagement/WeaponFlight.h"
#include "units/AirBase.h"
#include "units/Facility.h"
#include "units/Plane.h"
#include "units/PlaneAnnexFigures.h"
#include "units/PropulsionPlant.h"
#include "units/Ship.h"
#include "units/Submarine.h"
#include "units/UnitList.h"
#include "world/Map.h"

#include "tests/support/SampleAnnex.h"
#include "tests/support/SampleMap.h"

namespace {

// Which hooks of the pass run.
enum Parts { WEAPONS = 1, RANGES = 2, TABLES = 4, ALL = 7 };

void InstallHooks(int parts)
{
    Annex::SetDerivedFigureHooks({});
    InstallSensorClasses();
    if ((parts & WEAPONS) != 0)
        InstallWeaponFlight();
    if ((parts & (RANGES | TABLES)) != 0)
        InstallAircraftFigures();
    Annex::DerivedFigureHooks hooks = Annex::SetDerivedFigureHooks({});
    if ((parts & RANGES) == 0)
        hooks.usableRange = nullptr;
    if ((parts & TABLES) == 0)
        hooks.buildPerformanceTable = nullptr;
    Annex::SetDerivedFigureHooks(hooks);
}

// The sample sea area as gMap while the program runs, so that the
// temporary units stand at the middle of a real map.
class SampleMapScope {
public:
    SampleMapScope()
    {
        std::string error;
        map_ = samplemap::LoadSampleMap(error, [](bool land, bool, int32_t, int32_t) -> int16_t {
            return land ? 40 : -900;
        });
        gMap = map_.get();
    }
    ~SampleMapScope() { gMap = nullptr; }

private:
    std::unique_ptr<Map> map_;
};

void UseSampleMap()
{
    static SampleMapScope scope;
}

// An id of 1 .. records spread from a seed, for the component lists.
uint16_t Spread(uint32_t seed, uint16_t records)
{
    return static_cast<uint16_t>(seed * 2654435761u % records + 1);
}

// `records` records in each table the pass reads, like the sample's: jet
// plants, aviation and missile fuel, radars, mounts of three weapon
// records, loadouts of two, missiles with a plant, a seeker and a tank, and
// aircraft of one plant, three sensors, two mounts, four loadouts, two comm
// fits and two tanks.
void MakeTables(uint16_t records)
{
    Annex::FreeScenarioAnnex();
    AnnexTables& t = Annex::Tables();
    t.Create();
    for (uint16_t id = 1; id <= records; ++id) {
        const auto pick = [id, records](uint32_t salt) { return Spread(uint32_t{id} * 97u + salt, records); };
        auto* plant = new PropulsionAnnex(id);
        plant->primaryType = EngineType::JET;
        for (int s = 0; s < PropulsionAnnex::SETTINGS; ++s)
            for (int b = 0; b < PropulsionAnnex::BANDS; ++b)
                plant->speedTable[s][b] = {static_cast<int16_t>(500 * (b + 1)), static_cast<int16_t>(500 * b),
                                           static_cast<uint16_t>(150 * s)};
        for (uint16_t& rate : plant->bandValuesA)
            rate = 90;
        t.Propulsions()->Insert(plant);
        auto* fuel = new FuelAnnex(id);
        fuel->fuelType = FuelType::AVIATION;
        fuel->capacity = 4000;
        t.Fuels()->Insert(fuel);
        auto* sensor = new SensorAnnex(id);
        sensor->sensorType = Sensor::TYPE_RADAR;
        sensor->maxRange = 60;
        t.Sensors()->Insert(sensor);
        auto* comm = new CommAnnex(id);
        comm->commType = 3;
        comm->range = 200;
        t.Comms()->Insert(comm);
        auto* rec = new WeaponRec(id);
        rec->weaponID = pick(1);
        rec->shotsLeft = 4;
        t.WeaponRecs()->Insert(rec);
        auto* mount = new MountAnnex(id);
        mount->capacity = 16;
        for (uint32_t i = 0; i < 3; ++i)
            mount->weaponRecIDs.Insert(new IDNode(pick(10 + i)));
        t.Mounts()->Insert(mount);
        auto* loadout = new LoadoutAnnex(id);
        for (uint32_t i = 0; i < 2; ++i)
            loadout->weaponRecIDs.Insert(new IDNode(pick(20 + i)));
        t.Loadouts()->Insert(loadout);
        auto* weapon = new WeaponAnnex(id);
        weapon->weaponKind = id % 4 == 0 ? 512 : 1;   // every fourth a drop tank
        weapon->propulsionIDs.Insert(new IDNode(pick(30)));
        weapon->sensors.Insert(new IDRecord(pick(31), 0));
        weapon->fuelIDs.Insert(new IDNode(pick(32)));
        t.Weapons()->Insert(weapon);
        auto* plane = new PlaneAnnex(id);
        plane->typeCode.Set("FTR");
        plane->className.Set(("Plane " + std::to_string(id)).c_str());
        plane->propulsionIDs.Insert(new IDNode(pick(40)));
        for (uint32_t i = 0; i < 3; ++i)
            plane->sensorIDs.Insert(new IDRecord(pick(41 + i), 0));
        for (uint32_t i = 0; i < 2; ++i)
            plane->mountIDs.Insert(new IDRecord(pick(45 + i), 0));
        for (uint32_t i = 0; i < 4; ++i)
            plane->loadouts.Insert(new NavIDNode(pick(50 + i), 0));
        for (uint32_t i = 0; i < 2; ++i) {
            plane->commIDs.Insert(new IDNode(pick(55 + i)));
            plane->fuelIDs.Insert(new IDNode(pick(57 + i)));
        }
        t.Planes()->Insert(plane);
    }
}

void RunPass(benchmark::State& state, int parts)
{
    UseSampleMap();
    InstallHooks(parts);
    for (auto _ : state)
        Annex::ComputeDerivedFigures();
    int64_t planes = 0, loadouts = 0;
    for (const PlaneAnnex* p = Annex::Tables().Planes()->First(); p != nullptr; p = p->GetNext()) {
        ++planes;
        for (const NavIDNode* l = p->loadouts.First(); l != nullptr; l = l->GetNext())
            ++loadouts;
    }
    state.counters["planes"] = static_cast<double>(planes);
    state.counters["loadouts"] = static_cast<double>(loadouts);
    Annex::SetDerivedFigureHooks({});
    Annex::FreeScenarioAnnex();
}

// The sample database loaded without a map, so that the load itself runs no
// pass; false (the benchmark skipped) when it cannot be read.
bool LoadSampleWithoutPass(benchmark::State& state)
{
    if (!sampleannex::NameReferences(sampleannex::SAMPLE_DIR, 1)) {
        state.SkipWithError("the sample annex cannot be read");
        return false;
    }
    Map* const map = gMap;
    gMap = nullptr;
    Annex::SetDerivedFigureHooks({});
    const bool loaded = Annex::LoadDatabase(sampleannex::SAMPLE_DIR);
    gMap = map;
    if (!loaded)
        state.SkipWithError("the sample annex did not load");
    return loaded;
}

void BM_SamplePass(benchmark::State& state)
{
    if (!LoadSampleWithoutPass(state))
        return;
    RunPass(state, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_SamplePass)->Arg(ALL)->Arg(WEAPONS)->Arg(RANGES)->Arg(TABLES)->Unit(benchmark::kMillisecond);

void BM_SyntheticPass(benchmark::State& state)
{
    MakeTables(static_cast<uint16_t>(state.range(0)));
    RunPass(state, static_cast<int>(state.range(1)));
}
BENCHMARK(BM_SyntheticPass)
    ->Args({250, ALL})
    ->Args({500, ALL})
    ->Args({1000, ALL})
    ->Args({2000, ALL})
    ->Args({2000, WEAPONS})
    ->Args({2000, RANGES})
    ->Args({2000, TABLES})
    ->Unit(benchmark::kMillisecond);

// One aircraft of the synthetic tables with a loadout, built and deleted.
void BM_PlaneFromRecord(benchmark::State& state)
{
    MakeTables(2000);
    InstallSensorClasses();
    const PlaneAnnex* record = Annex::Tables().Planes()->Find(17);
    const uint16_t loadout = record->loadouts.First()->GetKey();
    for (auto _ : state) {
        const Plane plane(record->GetKey(), loadout);
        benchmark::DoNotOptimize(plane.rangeReserve);
    }
    Annex::FreeScenarioAnnex();
}
BENCHMARK(BM_PlaneFromRecord)->Unit(benchmark::kMicrosecond);

// Every platform of the sample database built and deleted once per pass:
// each ship, submarine and facility, each aircraft type with its first
// listed loadout, and each air base with its facilities in a unit list.
void BM_EverySamplePlatform(benchmark::State& state)
{
    if (!LoadSampleWithoutPass(state))
        return;
    InstallSensorClasses();
    const AnnexTables& t = Annex::Tables();
    int64_t units = 0;
    for (auto _ : state) {
        units = 0;
        for (const ShipAnnex* r = t.Ships()->First(); r != nullptr; r = r->GetNext(), ++units)
            benchmark::DoNotOptimize(Ship(r->GetKey()).sensorHeight);
        for (const SubAnnex* r = t.Subs()->First(); r != nullptr; r = r->GetNext(), ++units)
            benchmark::DoNotOptimize(Submarine(r->GetKey()).maxDepth);
        for (const FacilityAnnex* r = t.Facilities()->First(); r != nullptr; r = r->GetNext(), ++units)
            benchmark::DoNotOptimize(Facility(r->GetKey()).aircraftSpace[0]);
        for (const PlaneAnnex* r = t.Planes()->First(); r != nullptr; r = r->GetNext(), ++units) {
            const NavIDNode* const loadout = r->loadouts.First();
            benchmark::DoNotOptimize(Plane(r->GetKey(), loadout != nullptr ? loadout->GetKey() : 0).rangeReserve);
        }
        UnitList list;
        UnitList* const previous = UnitList::SetArenaList(&list);
        for (const InstallationAnnex* r = t.Installations()->First(); r != nullptr; r = r->GetNext()) {
            auto* base = new AirBase(r->GetKey(), LatLonPoint(0, 0), 0, list.NewKey());
            list.Insert(base);
        }
        for (const Unit* u = list.First(); u != nullptr; u = u->GetNext())
            ++units;
        list.DeleteAll();
        UnitList::SetArenaList(previous);
    }
    state.counters["units"] = static_cast<double>(units);
    Annex::FreeScenarioAnnex();
}
BENCHMARK(BM_EverySamplePlatform)->Unit(benchmark::kMillisecond);

}  // namespace
