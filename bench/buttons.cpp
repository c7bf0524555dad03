// buttons.cpp: the cost of what every window object does for each event and
// each drawing: one event mapped along a button's class chain, one colour
// entry chosen for its state; choosing a button by a press and a release (the
// edge drawn in and out on a 1024 by 768 display over a memory screen); and
// drawing 100 buttons into the 1024 by 768 page; and one reading of the time
// of day.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/BenchDesk.h"
#include "widgets/TimeOfDay.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_WINDOW.h"

namespace {

UI_MESSAGE Event(int32_t type, int32_t code)
{
    UI_MESSAGE m(type);
    m.code = code;
    return m;
}

// Enter (an early record), a left release (a mouse record), a key without
// a record (the whole table scanned) and a framework message (not scanned).
void BM_MapEvent(benchmark::State& state)
{
    UI_BUTTON button(0, 0, 10, "OK");
    const UI_MESSAGE events[] = {Event(UI_KEY_EVENT, 0x1C0D), Event(UI_MOUSE_EVENT, 0x1000),
                                 Event(UI_KEY_EVENT, 0x1E61), Event(UI_CODE_DRAW_NORMAL, 0)};
    size_t n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(button.MapEvent(&events[n & 3], 0));
        ++n;
    }
}
BENCHMARK(BM_MapEvent);

void BM_ChooseColours(benchmark::State& state)
{
    UI_BUTTON button(0, 0, 10, "OK");
    const int32_t codes[] = {UI_CODE_DRAW_NORMAL, UI_CODE_DRAW_CURRENT, UI_CODE_DRAW_INACTIVE, UI_CODE_DEACTIVATE};
    const uint16_t ids[] = {0, UI_COLOUR_LIGHT_EDGE, 0, UI_COLOUR_DARK_EDGE};
    size_t n = 0;
    for (auto _ : state) {
        button.status ^= (n & 4) ? UI_STATUS_CURRENT : 0;
        benchmark::DoNotOptimize(button.ChooseColours(codes[n & 3], ids[n & 3]));
        ++n;
    }
}
BENCHMARK(BM_ChooseColours);

// One reading of the time of day, which every choosing takes.
void BM_TimeOfDay(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TimeOfDayHundredths());
}
BENCHMARK(BM_TimeOfDay);

// The framework's statics over a 1024 by 768 display.
using Framework = BenchDesk;

int32_t chosen = 0;
int32_t CountChoice(UI_WIDGET*, UI_MESSAGE*, int32_t code)
{
    ++chosen;
    return code;
}

void BM_ChooseByPressAndRelease(benchmark::State& state)
{
    Framework framework;
    UI_BUTTON button(0, 0, 10, "OK", 0, 0, CountChoice);
    button.screenNumber = 1;
    button.screenRect = UI_RECT{100, 100, 179, 123};
    button.clipRect = UI_RECT{0, 0, 1023, 767};
    UI_MESSAGE press = Event(UI_MOUSE_EVENT, 0x1100);
    press.point = UI_POINT{120, 110};
    UI_MESSAGE release = Event(UI_MOUSE_EVENT, 0x1000);
    release.point = press.point;
    for (auto _ : state) {
        button.Event(&press);
        button.Event(&release);
    }
    benchmark::DoNotOptimize(chosen);
}
BENCHMARK(BM_ChooseByPressAndRelease);

// 100 buttons of 10 by 1 cells in a 10 by 10 grid, each drawn once a pass.
void BM_Draw100Buttons(benchmark::State& state)
{
    Framework framework;
    std::vector<std::unique_ptr<UI_BUTTON>> buttons;
    for (int32_t i = 0; i < 100; ++i) {
        auto button = std::make_unique<UI_BUTTON>((i % 10) * 12, (i / 10) * 2, 10, "&Button");
        UI_MESSAGE initialise(UI_CODE_INITIALIZE);
        button->Event(&initialise);
        button->screenNumber = 1;
        button->clipRect = UI_RECT{0, 0, 1023, 767};
        buttons.push_back(std::move(button));
    }
    for (auto _ : state) {
        for (auto& button : buttons) {
            UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
            draw.rect = button->screenRect;
            button->Event(&draw);
        }
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_Draw100Buttons);

} // namespace
