// treelist.cpp: the cost of the keyed lists the simulation leans on: building
// a list, looking keys up, removing elements (whose subtrees are re-inserted
// node by node, so removing the root costs most), and saving and loading a
// long ID list. Lists of 100 keys stand for a unit's own lists, 5000 for the
// unit table and the platform database tables.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <sstream>
#include <vector>

#include "core/IDList.h"

namespace {

// Distinct keys spread over the 16-bit range, in a fixed shuffled order.
std::vector<uint16_t> ShuffledKeys(int count)
{
    std::vector<uint16_t> keys(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        keys[static_cast<size_t>(i)] = static_cast<uint16_t>(1 + i * 13);
    std::mt19937 rng(7);
    std::shuffle(keys.begin(), keys.end(), rng);
    return keys;
}

IDList* BuildList(const std::vector<uint16_t>& keys)
{
    IDList* list = new IDList;
    for (uint16_t key : keys)
        list->Insert(new IDNode(key));
    return list;
}

// Builds a list of n keys in shuffled order and deletes it again; the items
// counted are the insertions (each with its allocation and deletion).
void BM_InsertShuffled(benchmark::State& state)
{
    const std::vector<uint16_t> keys = ShuffledKeys(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        IDList list;
        for (uint16_t key : keys)
            list.Insert(new IDNode(key));
        benchmark::DoNotOptimize(list.Root());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InsertShuffled)->Arg(100)->Arg(5000);

// Looks up keys that are present and keys that are absent, alternately.
void BM_Find(benchmark::State& state)
{
    const std::vector<uint16_t> keys = ShuffledKeys(static_cast<int>(state.range(0)));
    IDList* list = BuildList(keys);
    size_t i = 0;
    for (auto _ : state) {
        const uint16_t key = keys[i % keys.size()];
        benchmark::DoNotOptimize(list->Find(key));
        benchmark::DoNotOptimize(list->Find(static_cast<uint16_t>(key + 1)));
        ++i;
    }
    state.SetItemsProcessed(state.iterations() * 2);
    delete list;
}
BENCHMARK(BM_Find)->Arg(100)->Arg(5000);

// Removes an element chosen in shuffled order and puts it back: the common
// case, where the element is at or near a leaf.
void BM_RemoveAndReinsert(benchmark::State& state)
{
    const std::vector<uint16_t> keys = ShuffledKeys(static_cast<int>(state.range(0)));
    IDList* list = BuildList(keys);
    size_t i = 0;
    for (auto _ : state) {
        IDNode* node = list->Find(keys[i % keys.size()]);
        list->Remove(node);
        list->Insert(node);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
    delete list;
}
BENCHMARK(BM_RemoveAndReinsert)->Arg(100)->Arg(5000);

// Removes the root and puts it back: its whole left subtree, about half the
// list, is re-inserted node by node.
void BM_RemoveRootAndReinsert(benchmark::State& state)
{
    IDList* list = BuildList(ShuffledKeys(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        IDNode* root = list->Root();
        list->Remove(root);
        list->Insert(root);
    }
    state.SetItemsProcessed(state.iterations());
    delete list;
}
BENCHMARK(BM_RemoveRootAndReinsert)->Arg(100)->Arg(5000);

// Empties a list by removing every element in shuffled order.
void BM_RemoveAll(benchmark::State& state)
{
    const std::vector<uint16_t> keys = ShuffledKeys(static_cast<int>(state.range(0)));
    std::vector<uint16_t> order = keys;
    std::mt19937 rng(11);
    std::shuffle(order.begin(), order.end(), rng);
    for (auto _ : state) {
        state.PauseTiming();
        IDList* list = BuildList(keys);
        std::vector<IDNode*> nodes;
        for (uint16_t key : order)
            nodes.push_back(list->Find(key));
        state.ResumeTiming();
        for (IDNode* node : nodes)
            list->Remove(node);
        state.PauseTiming();
        for (IDNode* node : nodes)
            delete node;
        delete list;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RemoveAll)->Arg(100)->Arg(5000);

void BM_Save(benchmark::State& state)
{
    IDList* list = BuildList(ShuffledKeys(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        std::ostringstream out;
        list->Save(out);
        benchmark::DoNotOptimize(out.tellp());
    }
    state.SetBytesProcessed(state.iterations() * (2 + 2 * state.range(0)));
    delete list;
}
BENCHMARK(BM_Save)->Arg(5000);

// Loads into a fresh list each time; its deletion is counted too.
void BM_Load(benchmark::State& state)
{
    IDList* source = BuildList(ShuffledKeys(static_cast<int>(state.range(0))));
    std::ostringstream out;
    source->Save(out);
    delete source;
    const std::string saved = out.str();
    for (auto _ : state) {
        std::istringstream in(saved);
        IDList list;
        benchmark::DoNotOptimize(list.Load(in));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(saved.size()));
}
BENCHMARK(BM_Load)->Arg(5000);

}  // namespace
