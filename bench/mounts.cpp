// mounts.cpp: the per-step reload of every mount of a large scenario
// (5,000 units x 4 mounts x 3 weapon records, counters and records
// together), time per mount (goal: at most 50 ns); the engagement query of
// one unit (4 mounts x 3 records: guns, missiles, torpedoes) against one
// target, time per query (goal: at most 5 us); and the flight figures of
// 2,000 weapon records worked out on their temporary weapons, time per
// record.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/TimedRecord.h"
#include "core/gam2arena.h"
#include "engagement/MountOperations.h"
#include "engagement/SensorClasses.h"
#include "units/Mount.h"
#include "units/UnitList.h"

#include "bench/BenchShip.h"
#include "tests/support/SampleAnnex.h"

namespace {

constexpr int UNITS = 5000;
constexpr int MOUNTS = 4;
constexpr int RECORDS = 3;
constexpr int FLIGHT_RECORDS = 2000;

void FillMount(Mount& mount, uint16_t firstWeapon)
{
    mount.fireInterval = static_cast<int8_t>(mount.GetKey() % 2 == 0 ? 5 : -2);
    for (uint16_t r = 1; r <= RECORDS; ++r) {
        auto* rec = new WeaponRec(r);
        rec->weaponID = static_cast<uint16_t>(firstWeapon + r - 1);
        rec->shotsLeft = 20;
        rec->fireInterval = static_cast<int8_t>(r == 1 ? 3 : (r == 2 ? 20 : -1));
        mount.weapons.Insert(rec);
    }
}

void BM_MountReload(benchmark::State& state)
{
    InstallMountOperations();
    std::vector<std::unique_ptr<Mount>> mounts;
    mounts.reserve(UNITS * MOUNTS);
    for (int i = 0; i < UNITS * MOUNTS; ++i) {
        mounts.push_back(std::make_unique<Mount>(static_cast<uint16_t>(i % MOUNTS + 1)));
        FillMount(*mounts.back(), 1);
    }
    int64_t steps = 0;
    for (auto _ : state) {
        for (const auto& mount : mounts)
            mount->Reload(1);
        steps += UNITS * MOUNTS;
    }
    benchmark::DoNotOptimize(mounts.front()->roundsReady);
    state.counters["time_per_mount"] = benchmark::Counter(static_cast<double>(steps),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    UninstallMountOperations();
}
BENCHMARK(BM_MountReload)->Unit(benchmark::kMillisecond);

void AddWeapon(uint16_t id, uint32_t kind, uint32_t mask, uint32_t maxRange)
{
    auto* w = new WeaponAnnex(id);
    w->weaponKind = kind;
    w->targetMask = mask;
    w->maxRange = maxRange;
    w->surfaceChance = 50;
    w->prepared = true;
    w->guided = kind == 1 || kind == 16;
    w->cruiseSpeed = 500;
    w->cruiseLimit = 600;
    w->warheadIDs.Insert(new IDNode(1));
    w->propulsionIDs.Insert(new IDNode(1));
    Annex::Tables().Weapons()->Insert(w);
}

void BM_EngagementQuery(benchmark::State& state)
{
    ArenaState arena;
    ArenaState* previousState = gam2arena::SetArenaState(&arena);
    UnitList units;
    UnitList* previousList = UnitList::SetArenaList(&units);
    Annex::Tables().Create();
    auto* warhead = new WarheadAnnex(1);
    warhead->warheadType = 0x20;
    warhead->damage = 300;
    Annex::Tables().Warheads()->Insert(warhead);
    auto* plant = new PropulsionAnnex(1);
    for (int s = 1; s < PropulsionAnnex::SETTINGS; ++s)
        plant->speedTable[s][0] = {30000, -30000, 500};
    Annex::Tables().Propulsions()->Insert(plant);
    AddWeapon(1, 8, 0x1, 40);      // gun
    AddWeapon(2, 1, 0x1, 900);     // missile
    AddWeapon(3, 16, 0x3, 200);    // torpedo
    InstallMountOperations();
    auto* ship = new BenchShip;
    ship->SetKey(1);
    ship->SetPosition(LatLonPoint(0, 0));
    units.Insert(ship);
    auto* target = new BenchShip;
    target->SetKey(2);
    target->SetPosition(LatLonPoint(40960, 0));
    units.Insert(target);
    for (uint16_t m = 1; m <= MOUNTS; ++m) {
        auto* mount = new Mount(m);
        mount->SetOwner(ship);
        FillMount(*mount, 1);
        ship->mounts.Insert(mount);
    }
    TimedRecordChain chain;
    Mount::EngagementQuery query;
    query.targetMask = 0x1;
    query.toTarget = NavVector(40960, 0);
    query.chain = &chain;
    query.firingID = 1;
    query.targetID = 2;
    int64_t queries = 0;
    int64_t entries = 0;
    for (auto _ : state) {
        for (Mount* mount = ship->mounts.First(); mount != nullptr; mount = mount->GetNext())
            mount->QueryEngagements(query, target->GetPosition());
        for (const TimedRecord* r = chain.First(); r != nullptr; r = r->GetNext())
            ++entries;
        chain.DeleteAll();
        ++queries;
    }
    state.counters["time_per_query"] = benchmark::Counter(
        static_cast<double>(queries), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["entries"] = static_cast<double>(entries) / static_cast<double>(queries);
    UninstallMountOperations();
    units.DeleteAll();
    Annex::Tables().Delete();
    UnitList::SetArenaList(previousList);
    gam2arena::SetArenaState(previousState);
}
BENCHMARK(BM_EngagementQuery)->Unit(benchmark::kMicrosecond);

void BM_PrepareFlight(benchmark::State& state)
{
    if (!sampleannex::NameReferences(sampleannex::SAMPLE_DIR, 1)
        || !Annex::LoadDatabase(sampleannex::SAMPLE_DIR)) {
        state.SkipWithError("the sample database cannot be read (is the sample data built?)");
        return;
    }
    InstallSensorClasses();
    std::vector<WeaponAnnex*> records;
    while (records.size() < FLIGHT_RECORDS) {
        for (WeaponAnnex* r = Annex::Tables().Weapons()->First(); r != nullptr && records.size() < FLIGHT_RECORDS;
             r = r->GetNext())
            records.push_back(r);
    }
    int64_t prepared = 0;
    for (auto _ : state) {
        for (WeaponAnnex* r : records)
            r->PrepareFlight();
        prepared += FLIGHT_RECORDS;
    }
    state.counters["time_per_record"] = benchmark::Counter(
        static_cast<double>(prepared), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    Annex::Tables().Delete();
}
BENCHMARK(BM_PrepareFlight)->Unit(benchmark::kMillisecond);

}  // namespace
