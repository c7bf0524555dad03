// victoryitems.cpp: the cost of adding 10,000 loss tally records to a victory
// item list, each of a class of its own (every add looks for an equal class)
// and spread over 100 classes (most adds merge into a held record); and, for
// comparison, 10,000 violation records of distinct units, which are compared
// by their names.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "missions/UnitClassLossRecord.h"
#include "missions/VictoryItemList.h"
#include "missions/ViolationRecord.h"

namespace {

constexpr int32_t ITEMS = 10000;

void AddTallies(benchmark::State& state)
{
    const int32_t classes = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        VictoryItemList list;
        for (int32_t i = 0; i < ITEMS; ++i) {
            const int32_t c = i % classes;
            list.Add(new UnitClassLossRecord(static_cast<uint16_t>(c), c % 2 == 0 ? 'P' : 'S', 1));
        }
        benchmark::DoNotOptimize(list.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * ITEMS);
}
BENCHMARK(AddTallies)->Arg(ITEMS)->Arg(100)->Unit(benchmark::kMillisecond);

void AddViolations(benchmark::State& state)
{
    std::string names[ITEMS];
    for (int32_t i = 0; i < ITEMS; ++i)
        names[i] = "Unit " + std::to_string(i);
    for (auto _ : state) {
        VictoryItemList list;
        for (int32_t i = 0; i < ITEMS; ++i)
            list.Add(new ViolationRecord(1, 1, names[i].c_str(), 0, "Violator"));
        benchmark::DoNotOptimize(list.GetCount());
    }
    state.SetItemsProcessed(state.iterations() * ITEMS);
}
BENCHMARK(AddViolations)->Unit(benchmark::kMillisecond);

}  // namespace
