// missions.cpp: the cost of MissionUnitRec::ChangeState, which every mission
// step runs and which takes the unit's pending orders (set-sensors,
// set-altitude, set-speed and mission-unit events) out of the event queue.
// The queue holds 20,000 events of 500 units, among them the unit's own four
// orders; the goal is at most 100 microseconds per change, one walk of the
// queue for all four event types.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/BenchEvents.h"
#include "core/Event.h"
#include "core/gam2arena.h"
#include "missions/MissionUnitRec.h"

namespace {

constexpr uint8_t ORDER_CODES[] = {EventCode::SET_SENSORS, EventCode::SET_ALTITUDE, EventCode::SET_SPEED,
                                   EventCode::MISSION_UNIT};

void ChangeStateAmongQueuedEvents(benchmark::State& state)
{
    const int64_t queued = state.range(0);
    ArenaState arena;
    ArenaState* const old = gam2arena::SetArenaState(&arena);
    // Other units' events of every kind, due one second apart.
    for (int64_t i = 0; i < queued; ++i) {
        Event* const event = new bench::BenchEvent(ORDER_CODES[i % 4], static_cast<uint16_t>(100 + i % 500));
        event->SetDueTime(GameTime(static_cast<uint32_t>(i + 1)));
        gam2arena::PostEvent(event);
    }
    MissionUnitRec record(7);
    for (auto _ : state) {
        state.PauseTiming();
        for (uint8_t code : ORDER_CODES) {
            Event* const event = new bench::BenchEvent(code, 7);
            event->SetDueTime(GameTime(static_cast<uint32_t>(queued / 2)));
            gam2arena::PostEvent(event);
        }
        state.ResumeTiming();
        record.ChangeState(6, 42, 0x4);
    }
    gam2arena::SetArenaState(old);
}

} // namespace

BENCHMARK(ChangeStateAmongQueuedEvents)->Arg(20000)->Unit(benchmark::kMicrosecond);
