// weapons.cpp: the cost of building a temporary Weapon from every weapon
// record of the sample database (as the derived-figure pass does, one per
// record), in ns per weapon; and a sonobuoy line's look at 1,000 units of
// the detection scene, none of them inside its listening area, in ns per
// unit (goal: a unit outside the area rejected in at most 50 ns, without
// allocation: the counter allocs_per_unit shows it).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "annex/AnnexTables.h"
#include "core/Units.h"
#include "engagement/SensorClasses.h"
#include "units/SonobuoyLine.h"
#include "units/Weapon.h"

#include "bench/AllocationCount.h"
#include "tests/support/DetectionScene.h"
#include "tests/support/SampleAnnex.h"

namespace {

void BM_WeaponFromEveryRecord(benchmark::State& state)
{
    if (!sampleannex::NameReferences(sampleannex::SAMPLE_DIR, 1)
        || !Annex::LoadDatabase(sampleannex::SAMPLE_DIR)) {
        state.SkipWithError("the sample database cannot be read (is the sample data built?)");
        return;
    }
    InstallSensorClasses();
    int64_t built = 0;
    for (auto _ : state) {
        for (const WeaponAnnex* r = Annex::Tables().Weapons()->First(); r != nullptr; r = r->GetNext()) {
            Weapon weapon(r->GetKey());
            benchmark::DoNotOptimize(weapon.attackMask);
            ++built;
        }
    }
    state.counters["ns_per_weapon"] = benchmark::Counter(
        static_cast<double>(built), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["weapons"] = static_cast<double>(built) / static_cast<double>(state.iterations());
    Annex::Tables().Delete();
}
BENCHMARK(BM_WeaponFromEveryRecord)->Unit(benchmark::kMicrosecond);

void BM_LineRejectsUnitsOutsideItsArea(benchmark::State& state)
{
    detectionscene::Scene scene(1000, 7);
    if (!scene.ok) {
        state.SkipWithError("the sample map cannot be read (is the sample data built?)");
        return;
    }
    // A line laid across the equator at longitude 0, far from the scene's
    // sea area, its first buoy hearing 30 nm.
    auto* line = new SonobuoyLine;
    line->SetKey(2000);
    scene.units.Insert(line);
    for (uint16_t id : {2001, 2002}) {
        auto* buoy = new Weapon;
        buoy->SetKey(id);
        buoy->weaponKind = WeaponKind::SONOBUOY;
        buoy->SetSideID(1);
        buoy->SetPosition(LatLonPoint(0, (id - 2001) * 20 * ANGLE_PER_MINUTE));
        scene.units.Insert(buoy);
        line->AddBuoy(*buoy);
    }
    Unit* const first = scene.units.First();
    int64_t looks = 0;
    int64_t heard = 0;
    int64_t allocations = 0;
    for (auto _ : state) {
        benchalloc::Start();
        for (Unit* u = first; u != nullptr; u = u->GetNext()) {
            if (u->GetID() > 1000)
                break;
            heard += line->DetectUnit(*u) ? 1 : 0;
            ++looks;
        }
        allocations += benchalloc::Stop();
    }
    state.counters["ns_per_unit"] = benchmark::Counter(
        static_cast<double>(looks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_unit"] = static_cast<double>(allocations) / static_cast<double>(looks);
    state.counters["heard"] = static_cast<double>(heard);
    line->ForgetMemberships();
}
BENCHMARK(BM_LineRejectsUnitsOutsideItsArea)->Unit(benchmark::kMicrosecond);

}  // namespace
