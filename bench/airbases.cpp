// airbases.cpp: the cost of a hit on an air base of 20 facilities: the
// choice of the facility among those whose capability word meets the hit's
// mask, and that facility taking the hit (its damage, its damage effects and
// the base taking over the facilities' status bits). A second run with
// facilities that take hits at no cost shows the base's own share. The
// facilities' damage is reset every 256 hits so that none is destroyed.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/gam2arena.h"
#include "units/AirBase.h"
#include "units/Facility.h"
#include "units/UnitList.h"

namespace {

constexpr uint16_t BASE_ID = 1;
constexpr int FACILITIES = 20;
constexpr uint32_t HIT_MASK = 0x20;   // runways
const LatLonPoint HOME{64 * 60 * 4096, -22 * 60 * 4096};

// A facility whose hit costs nothing: the base's walk and draw alone.
class IdleFacility : public Facility {
public:
    int32_t TakeDamage(int32_t, uint32_t) override { return 0; }
};

// A world with a unit list and a base of 20 facilities, every other one an
// airfield with a runway (capability 0x60) and the rest hangars (0x40); torn
// down in reverse.
template <class F>
class World {
public:
    World()
    {
        gam2arena::SetArenaState(&arena);
        arena.Generator().SetSeed(12345);
        UnitList::SetArenaList(&units);
        base = new AirBase;
        base->SetKey(BASE_ID);
        base->SetPosition(HOME);
        units.Insert(base);
        for (int i = 0; i < FACILITIES; ++i) {
            auto* f = new F;
            const auto id = static_cast<uint16_t>(10 + i);
            f->SetKey(id);
            f->SetParentID(BASE_ID);
            f->SetPosition(HOME);
            f->capabilityFlags = i % 2 == 0 ? Facility::AIRFIELD : 0x40;
            if (i % 2 == 0) {
                auto* const runway = new AnnexEntry(1);
                runway->typeCode = 1;
                runway->long2 = 16;   // takes the largest aircraft
                runway->state = AIR_STATE_ACTIVE;
                f->airFacilityList.Insert(runway);
            }
            f->damagePoints = 5000;
            f->facilityCode2 = 1;
            units.Insert(f);
            base->members.Insert(new GroupEntry(id));
        }
        base->UpdateAircraftCapability();
    }
    ~World()
    {
        units.DeleteAll();
        UnitList::SetArenaList(nullptr);
        gam2arena::SetArenaState(nullptr);
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Every facility as new again.
    void Repair()
    {
        for (const GroupEntry* e = base->members.First(); e != nullptr; e = e->GetNext()) {
            auto* const f = static_cast<Facility*>(units.Find(e->GetKey()));
            f->damageTaken = 0;
            f->recentDamage = 0;
            f->damageState = 0;
        }
    }

    ArenaState arena;
    UnitList units;
    AirBase* base = nullptr;
};

template <class F>
void RunHits(benchmark::State& state)
{
    World<F> world;
    uint32_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(world.base->ApplyDamage(20, 1, HIT_MASK));
        if ((++n & 0xFF) == 0)
            world.Repair();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ApplyHitOnBase(benchmark::State& state)
{
    RunHits<Facility>(state);
}
BENCHMARK(BM_ApplyHitOnBase)->Unit(benchmark::kNanosecond);

void BM_ApplyHitChoiceOnly(benchmark::State& state)
{
    RunHits<IdleFacility>(state);
}
BENCHMARK(BM_ApplyHitChoiceOnly)->Unit(benchmark::kNanosecond);

}  // namespace
