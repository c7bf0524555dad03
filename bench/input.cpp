// input.cpp: the cost of the input road every loop pass takes: putting an
// event and taking it again with three devices polled, ordered insertion into
// a node list (comparisons and time per node, for input in order and
// shuffled), and translating one key from the keyboard library.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "widgets/KeyInput.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_NODE.h"

namespace {

// A device with nothing to report, like the keyboard between key presses.
class SilentDevice : public UI_INPUT_DEVICE {
public:
    explicit SilentDevice(int32_t type) : UI_INPUT_DEVICE(type, UI_DEVICE_ON) { ready = 1; }
    int32_t Event(UI_MESSAGE*) override { return deviceState; }
    void Poll() override {}
};

// Time per node, shown as seconds per item.
benchmark::Counter PerNode(double nodes)
{
    return benchmark::Counter(nodes, benchmark::Counter::kIsIterationInvariantRate |
                                         benchmark::Counter::kInvert);
}

// One event put at the tail and taken again without waiting; every Get polls
// the keyboard, mouse and text cursor devices.
void BM_PutGet(benchmark::State& state)
{
    UI_INPUT_MANAGER manager(nullptr, 100);
    for (int32_t type : {UI_KEY_EVENT, UI_MOUSE_EVENT, UI_CURSOR_DEVICE})
        manager.AddDevice(new SilentDevice(type));
    UI_MESSAGE in(UI_KEY_EVENT);
    in.code = 0x1C0D;
    UI_MESSAGE out;
    for (auto _ : state) {
        manager.Put(&in, UI_PUT_AT_TAIL);
        benchmark::DoNotOptimize(manager.Get(&out, UI_GET_NO_WAIT));
    }
    state.counters["event"] = PerNode(1);
}
BENCHMARK(BM_PutGet);

struct ValueNode : UI_NODE {
    int32_t value = 0;
};

int64_t comparisons = 0;

int32_t ByValue(const UI_NODE* existing, const UI_NODE* added)
{
    ++comparisons;
    const int32_t a = static_cast<const ValueNode*>(existing)->value;
    const int32_t b = static_cast<const ValueNode*>(added)->value;
    return (a > b) - (a < b);
}

// Inserts 1,000 nodes into an ordered list: arg 0 in ascending order, arg 1
// shuffled. Reports comparisons and time per node.
void BM_OrderedInsert(benchmark::State& state)
{
    constexpr int32_t count = 1000;
    std::vector<ValueNode> nodes(count);
    std::vector<int32_t> values(count);
    std::iota(values.begin(), values.end(), 0);
    if (state.range(0) == 1)
        std::shuffle(values.begin(), values.end(), std::mt19937(5));
    for (int32_t i = 0; i < count; ++i)
        nodes[static_cast<size_t>(i)].value = values[static_cast<size_t>(i)];

    comparisons = 0;
    for (auto _ : state) {
        UI_NODE_LIST list(&ByValue);
        for (ValueNode& node : nodes)
            list.Insert(&node);
        benchmark::DoNotOptimize(list.head);
        list.head = list.tail = nullptr;   // the nodes belong to the vector
    }
    state.SetLabel(state.range(0) == 1 ? "shuffled" : "sorted");
    state.counters["comparisons"] = benchmark::Counter(
        static_cast<double>(comparisons) / (static_cast<double>(state.iterations()) * count));
    state.counters["node"] = PerNode(count);
}
BENCHMARK(BM_OrderedInsert)->Arg(0)->Arg(1);

// A keyboard library that never runs out: it hands out the same mix of keys
// again and again, each with the shift flags of its own.
class EndlessKeys : public KeyLibrary {
public:
    bool Install() override { return true; }
    void Remove() override {}
    bool KeyWaiting() override { return true; }
    int32_t ReadKey() override
    {
        const int32_t value = keys[next].value;
        next = (next + 1) % std::size(keys);
        return value;
    }
    int32_t Shifts() override { return keys[next].shifts; }

private:
    // Typing, editing keys, Alt hot keys and window keys, Ctrl-C (Allegro
    // values under X11).
    struct Key { int32_t value; int32_t shifts; };
    static constexpr Key keys[] = {
        {0x0161, 0}, {0x0B6B, 0}, {0x1E33, 0}, {0x4B20, 0}, {0x0141, 1}, {0x430D, 0},
        {0x4009, 0}, {0x4000, 1}, {0x5200, 0}, {0x4D7F, 0}, {0x4E00, 2}, {0x0600, 4},
        {0x3200, 4}, {0x2F00, 4}, {0x3000, 2}, {0x0303, 2}, {0x2D00, 0}, {0x2C00, 4},
    };
    size_t next = 0;
};

void BM_TranslateKey(benchmark::State& state)
{
    EndlessKeys keys;
    KeyLibrary* previous = SetKeyLibrary(&keys);
    int32_t code = 0;
    int32_t shifts = 0;
    int32_t value = 0;
    for (auto _ : state) {
        TranslateKey(code, shifts, value);
        benchmark::DoNotOptimize(code);
    }
    SetKeyLibrary(previous);
    state.counters["key"] = PerNode(1);
}
BENCHMARK(BM_TranslateKey);

} // namespace
