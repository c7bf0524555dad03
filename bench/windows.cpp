// windows.cpp: the cost of the window manager on a 1024 by 768 display over a
// memory screen with 20 windows of 30 buttons each: a full redraw of the
// desktop (UI_CODE_REDISPLAY), 10,000 scripted input events (pointer moves,
// presses and releases, Tab and arrow keys) dispatched through the desktop,
// and a cascade of the 20 windows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/BenchDesk.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_WINDOW.h"

namespace {

constexpr int32_t WINDOWS = 20;
constexpr int32_t CHILDREN = 30;
constexpr int32_t EVENTS = 10000;

// The framework's statics over a 1024 by 768 display, with 20 bordered
// windows of 40 by 12 cells spread over the screen, each holding three
// columns of ten buttons.
struct Desk : BenchDesk {
    Desk()
    {
        for (int32_t w = 0; w < WINDOWS; ++w) {
            auto* window = new UI_WINDOW((w % 5) * 20, (w / 5) * 8, 40, 12, UI_FLAG_BORDER);
            for (int32_t c = 0; c < CHILDREN; ++c)
                window->Add(new UI_BUTTON(1 + (c / 10) * 13, c % 10, 12, "&Button"));
            desktop.Add(window);
        }
    }
};

void BM_FullRedraw(benchmark::State& state)
{
    Desk desk;
    for (auto _ : state) {
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        benchmark::DoNotOptimize(desk.desktop.Event(&redisplay));
    }
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

UI_MESSAGE MouseAt(int32_t raw, int32_t column, int32_t line)
{
    UI_MESSAGE m(UI_MOUSE_EVENT);
    m.code = raw;
    m.point = UI_POINT{column, line};
    return m;
}

UI_MESSAGE KeyOf(int32_t raw)
{
    UI_MESSAGE m(UI_KEY_EVENT);
    m.code = raw;
    return m;
}

// A fixed script: pointer moves across the screen, a press and release on a
// button every 20 events (bringing its window to the front when it is not),
// and Tab, Down and Right keys between them.
std::vector<UI_MESSAGE> Script()
{
    std::vector<UI_MESSAGE> script;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int32_t>((seed >> 8) % range);
    };
    while (static_cast<int32_t>(script.size()) < EVENTS) {
        const int32_t kind = static_cast<int32_t>(script.size()) % 20;
        const int32_t column = next(1024);
        const int32_t line = next(768);
        if (kind == 0) {
            script.push_back(MouseAt(0x1100, column, line));
            script.push_back(MouseAt(0x1000, column, line));
        } else if (kind < 14) {
            script.push_back(MouseAt(0, column, line));
        } else {
            static const int32_t keys[] = {0x0F09, 0x5000, 0x4D00};
            script.push_back(KeyOf(keys[next(3)]));
        }
    }
    script.resize(EVENTS);
    return script;
}

void BM_Dispatch10000Events(benchmark::State& state)
{
    Desk desk;
    const std::vector<UI_MESSAGE> script = Script();
    for (auto _ : state) {
        for (UI_MESSAGE m : script)
            benchmark::DoNotOptimize(desk.desktop.Event(&m));
        UI_MESSAGE left;
        while (desk.manager.Get(&left, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0) {
        }
    }
    state.SetItemsProcessed(state.iterations() * EVENTS);
}
BENCHMARK(BM_Dispatch10000Events)->Unit(benchmark::kMillisecond);

void BM_Cascade20Windows(benchmark::State& state)
{
    Desk desk;
    for (auto _ : state) {
        UI_MESSAGE cascade(UI_CODE_CASCADE);
        benchmark::DoNotOptimize(desk.desktop.Event(&cascade));
    }
}
BENCHMARK(BM_Cascade20Windows)->Unit(benchmark::kMicrosecond);

} // namespace
