// detection.cpp: the cost of the unit-pair step, the detection pass of the
// main loop: one full pass (UpdatePairDetection for every pair of units) over
// 100, 500 and 1,000 units of two sides spread over the sample map (ships,
// aircraft and submarines with four sensors each, every 25th jamming), in
// ms per pass and ns per pair (and how many pairs lie within a unit's
// detection reach), with and without the range bound that passes over the
// sensors of far pairs, and the heap allocations per pair that
// neither makes a contact nor keeps a jamming entry. Goal: a 1,000-unit pass
// (about 500,000 pairs) within 8 ms on one core.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/NavMath.h"
#include "engagement/SideContactsList.h"
#include "engagement/UnitDetection.h"
#include "units/Unit.h"
#include "world/OutlineGrid.h"

#include "bench/AllocationCount.h"
#include "tests/support/DetectionScene.h"

namespace {

void RunPasses(benchmark::State& state, bool shortcut, bool mapShortcuts = true)
{
    detectionscene::Scene scene(static_cast<int>(state.range(0)), 11);
    if (!scene.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    scene.capture = false;
    const bool previous = SetPairReachShortcut(shortcut);
    const bool previousMap = SetOutlineShortcuts(mapShortcuts);
    scene.Pass();   // the first pass builds the jamming entries and the sphere points
    int64_t pairs = 0;
    for (auto _ : state)
        pairs += scene.Pass();
    SetPairReachShortcut(previous);
    SetOutlineShortcuts(previousMap);
    // How many pairs have a unit within its detection reach of the other:
    // those run the sensors (outside the timing).
    int64_t inReach = 0;
    for (Unit* a = scene.units.First(); a != nullptr; a = a->GetNext()) {
        for (Unit* b = a->GetNext(); b != nullptr; b = b->GetNext()) {
            const int32_t range = NavMath::Get_Vector(b->GetPosition(), a->GetPosition()).range / RANGE_PER_NM;
            inReach += a->GetDetectionReach(*b) >= range || b->GetDetectionReach(*a) >= range;
        }
    }
    state.counters["pairs_in_reach"] = static_cast<double>(inReach);
    state.counters["ns_per_pair"] =
        benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["pairs"] = static_cast<double>(pairs) / static_cast<double>(state.iterations());
}

void BM_PairPass(benchmark::State& state)
{
    RunPasses(state, true);
}
BENCHMARK(BM_PairPass)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_PairPassExact(benchmark::State& state)
{
    RunPasses(state, false);
}
BENCHMARK(BM_PairPassExact)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// The pass with the map's line-of-sight queries testing every outline edge
// (no outline grid, no rectangle rejects): what the grid saves.
void BM_PairPassEveryEdge(benchmark::State& state)
{
    RunPasses(state, true, false);
}
BENCHMARK(BM_PairPassEveryEdge)->Arg(100)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

// Two ships of different sides 300 nm apart, neither jamming nor known:
// the far pair's cost and its allocations (goal: none).
void BM_FarPair(benchmark::State& state)
{
    detectionscene::Scene scene(0, 1);
    if (!scene.ok) {
        state.SkipWithError("the sample map did not load (is the sample data built?)");
        return;
    }
    auto* a = new detectionscene::SceneUnit('S', 1);
    auto* b = new detectionscene::SceneUnit('S', 1);
    a->SetKey(1);
    b->SetKey(2);
    a->SetSideID(1);
    b->SetSideID(2);
    a->SetPosition(samplemap::At(71.5, 0));
    b->SetPosition(samplemap::At(76.5, 0));
    scene.units.Insert(a);
    scene.units.Insert(b);
    a->SetSide(*scene.sides.Find(1), 0);
    b->SetSide(*scene.sides.Find(2), 0);
    a->searchReach1 = b->searchReach1 = 60;
    a->UpdatePairDetection(*b);
    benchalloc::Start();
    for (auto _ : state)
        a->UpdatePairDetection(*b);
    const int64_t allocations = benchalloc::Stop();
    state.counters["allocations_per_pair"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FarPair);

}  // namespace
