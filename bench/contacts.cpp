// contacts.cpp: the cost of keeping a side's contact picture: merging a
// fresh detection into a held contact without areas and with two overlapping
// 24-point areas (goals 1 us and 50 us a merge), the ageing and upkeep of
// 1,000 contacts (goal 1 ms), and numbering a new contact among 1,200
// (goal 50 us). The areas lie on the sample map, which is loaded as the
// scenario's map so that growing areas keep their centres on it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "world/Map.h"
#include "world/UncertainPoly.h"

#include "tests/support/SampleMap.h"

namespace {

constexpr int32_t NM = 4096;
const LatLonPoint SEA = samplemap::At(74, 1);

int16_t FlatSea(bool, bool, int32_t, int32_t)
{
    return -200;
}

// The sample map as gMap and a game clock, for one benchmark.
class Scenario {
public:
    explicit Scenario(benchmark::State& state)
    {
        std::string error;
        map = samplemap::LoadSampleMap(error, &FlatSea);
        if (!map) {
            state.SkipWithError(("no sample map: " + error).c_str());
            return;
        }
        previousMap = gMap;
        gMap = map.get();
        previousArena = gam2arena::SetArenaState(&arena);
    }
    ~Scenario()
    {
        if (map) {
            gMap = previousMap;
            gam2arena::SetArenaState(previousArena);
        }
    }
    bool Ready() const { return map != nullptr; }

    ArenaState arena;

private:
    std::unique_ptr<Map> map;
    Map* previousMap = nullptr;
    ArenaState* previousArena = nullptr;
};

// A contact on unit `id` at `at`, seen at `time`.
Contact* MakeContact(uint16_t id, const LatLonPoint& at, uint32_t time, uint32_t mask)
{
    auto* c = new Contact();
    c->SetKey(id);
    c->typeLetter = 'S';
    c->targetMask = mask;
    c->lastDetection = GameTime(time);
    c->SetPosition(at);
    c->UpdateXY();
    return c;
}

void MergeWithoutArea(benchmark::State& state)
{
    Scenario scenario(state);
    if (!scenario.Ready())
        return;
    Contact* held = MakeContact(5, SEA, 100, 1);
    Contact* fresh = MakeContact(5, {SEA.lat + NM, SEA.lon}, 100, 1);
    fresh->knownBits = ContactKnown::SPEED | ContactKnown::COURSE;
    fresh->speed = 12;
    fresh->course = 45;
    for (auto _ : state) {
        held->Merge(*fresh);
        benchmark::DoNotOptimize(held);
    }
    delete fresh;
    delete held;
}
BENCHMARK(MergeWithoutArea);

void MergeOverlappingAreas(benchmark::State& state)
{
    Scenario scenario(state);
    if (!scenario.Ready())
        return;
    const Uncertain_Poly heldArea(SEA, 10 * NM);
    const LatLonPoint seen{SEA.lat + 6 * NM, SEA.lon + 6 * NM};
    Contact* held = MakeContact(5, SEA, 100, 1);
    Contact* fresh = MakeContact(5, seen, 105, 1);
    fresh->SetArea(new Uncertain_Poly(seen, 10 * NM));
    int16_t points = 0;
    for (auto _ : state) {
        state.PauseTiming();
        held->CopyArea(&heldArea);
        held->lastDetection = GameTime(100);
        state.ResumeTiming();
        held->Merge(*fresh);
        points = held->GetArea()->GetPointCount();
    }
    state.counters["overlap_points"] = points;
    delete fresh;
    delete held;
}
BENCHMARK(MergeOverlappingAreas)->Unit(benchmark::kMicrosecond);

// 1,000 ships and submarines unseen for a minute, half of them with a
// 24-point area: one ageing pass of 15 seconds and one upkeep.
void AgeAndUpkeep1000(benchmark::State& state)
{
    Scenario scenario(state);
    if (!scenario.Ready())
        return;
    scenario.arena.SetGameTime(GameTime(1000));
    SideContacts record(1);
    for (uint16_t i = 0; i < 1000; ++i) {
        const LatLonPoint at{SEA.lat + (i / 40) * NM, SEA.lon + (i % 40) * NM};
        Contact* c = MakeContact(static_cast<uint16_t>(i + 1), at, 940, i % 2 ? 1 : 2);
        if (i % 2)
            c->SetArea(new Uncertain_Poly(at, 2 * NM));
        c->changeBits = (i % 10 == 0) ? ContactChange::NEW : 0;
        record.MergeContact(&c);
    }
    for (auto _ : state) {
        record.AgeContacts(15);
        record.UpdateContacts();
    }
}
BENCHMARK(AgeAndUpkeep1000)->Unit(benchmark::kMicrosecond);

// The next number among 1,200 contacts numbered 1 to 1,200.
void NumberAmong1200(benchmark::State& state)
{
    Scenario scenario(state);
    if (!scenario.Ready())
        return;
    SideContacts record(1);
    for (uint16_t i = 0; i < 1200; ++i) {
        Contact* c = MakeContact(static_cast<uint16_t>(i + 1), SEA, 0, 1);
        record.MergeContact(&c);
    }
    for (auto _ : state) {
        record.lastContactNumber = 1200;
        benchmark::DoNotOptimize(record.NewContactNumber());
    }
}
BENCHMARK(NumberAmong1200)->Unit(benchmark::kMicrosecond);

}  // namespace
