// eventqueue.cpp: the cost of taking events out of the simulation's event
// queue (EventQueue::Remove), which the main loop does often: an order that
// replaces a pending one, a unit that leaves, a path that is cancelled. The
// queue holds 100, 1,000 or 10,000 events; the goal is a removal whose cost
// does not grow with the queue length.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <istream>
#include <ostream>
#include <vector>

#include "core/Event.h"
#include "core/EventQueue.h"
#include "core/GameTime.h"

namespace {

// An event that does nothing but sit in the queue.
class IdleEvent : public Event {
public:
    bool HandleEvent() override { return false; }
    bool Load(std::istream&) override { return true; }
    void Save(std::ostream&) const override {}
};

// A queue of `count` events due one second apart, from second 1 on, and the
// events in queue order (the queue owns them).
struct FilledQueue {
    EventQueue queue;
    std::vector<Event*> events;

    explicit FilledQueue(int64_t count)
    {
        events.reserve(static_cast<size_t>(count));
        for (int64_t i = 0; i < count; ++i) {
            Event* const event = new IdleEvent();
            event->SetDueTime(GameTime(static_cast<uint32_t>(i + 1)));
            queue.Add(event);
            events.push_back(event);
        }
    }
};

// Takes out an event from anywhere in the queue (a fixed pseudo-random
// sequence of places) and puts it back at the tail, due with the last event,
// so that the queue keeps its length and the put-back costs no walk.
void BM_RemoveAnywhere(benchmark::State& state)
{
    FilledQueue filled(state.range(0));
    const uint32_t count = static_cast<uint32_t>(filled.events.size());
    uint32_t seed = 12345;
    for (auto _ : state) {
        seed = seed * 1664525u + 1013904223u;
        Event* const event = filled.events[(seed >> 8) % count];
        benchmark::DoNotOptimize(filled.queue.Remove(event));
        event->SetDueTime(filled.queue.GetTailTime());
        filled.queue.Add(event);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RemoveAnywhere)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kNanosecond);

// Takes the tail out and puts it back: the put-back appends at once, so the
// whole round trip is timed; a removal that walked the chain would pay for
// every event ahead of the tail.
void BM_RemoveAndPutBackTheTail(benchmark::State& state)
{
    FilledQueue filled(state.range(0));
    Event* const tail = filled.events.back();
    for (auto _ : state) {
        benchmark::DoNotOptimize(filled.queue.Remove(tail));
        filled.queue.Add(tail);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RemoveAndPutBackTheTail)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kNanosecond);

} // namespace
