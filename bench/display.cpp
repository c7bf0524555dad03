// display.cpp: the cost of what every loop pass and every window drawing
// does on the display: an idle refresh, a pointer overlay move and a full
// page refresh at 1024 by 768 into a memory screen; a box and a text drawn
// through 1, 10 and 50 assigned areas; one event and one colour lookup in the
// default tables; and cutting a rectangle out of a list of 50.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/ScreenRefresh.h"
#include "tests/support/MemoryScreen.h"
#include "widgets/DrawingPrimitives.h"
#include "widgets/EventColourTables.h"
#include "widgets/GraphicsSetup.h"
#include "widgets/UI_CLIP_LIST.h"
#include "widgets/UI_FG_DISPLAY.h"

namespace {

void BM_RefreshIdle(benchmark::State& state)
{
    MemoryScreen screen;
    fg_init_1024x768();
    fg_set_full_refresh();
    fg_refresh_screen();
    for (auto _ : state)
        fg_refresh_screen();
}
BENCHMARK(BM_RefreshIdle);

// The pointer moves one pixel each pass: restore its old 32 by 32 place from
// the page and draw it at the new one.
void BM_RefreshOverlayMove(benchmark::State& state)
{
    MemoryScreen screen;
    fg_init_1024x768();
    fg_set_full_refresh();
    fg_refresh_screen();
    int32_t x = 0;
    for (auto _ : state) {
        x = (x + 1) % 900;
        fg_place_overlay1(FgBox{x, 500, x + 31, 469});
        fg_overlay1_dirty = 1;
        fg_refresh_screen();
    }
}
BENCHMARK(BM_RefreshOverlayMove);

// A pass after a drawing: the whole page and both overlays.
void BM_RefreshFullPage(benchmark::State& state)
{
    MemoryScreen screen;
    fg_init_1024x768();
    for (auto _ : state) {
        fg_set_full_refresh();
        fg_refresh_screen();
    }
    state.SetBytesProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_RefreshFullPage);

// A 1024 by 768 display whose desktop owns `areas` side-by-side strips of
// the screen, as after that many cuts by windows in front of it; the
// benchmarks draw as the desktop across all of them.
std::unique_ptr<UI_FG_DISPLAY> DisplayWithAreas(int32_t areas)
{
    auto display = std::make_unique<UI_FG_DISPLAY>(UI_MODE_1024X768);
    display->DeleteAll();
    const int32_t strip = 1024 / areas;
    for (int32_t i = 0; i < areas; ++i)
        display->InsertBefore(nullptr, new UI_CLIP_RECT(1, i * strip, 0, i * strip + strip - 2, 767));
    return display;
}

void BM_DrawBoxThroughAreas(benchmark::State& state)
{
    MemoryScreen screen;
    std::unique_ptr<UI_FG_DISPLAY> display = DisplayWithAreas(static_cast<int32_t>(state.range(0)));
    const UI_COLOUR_ENTRY colours = UI_DEFAULT_COLOUR_TABLE[1].colours;
    for (auto _ : state)
        display->DrawBox(1, 0, 150, 999, 199, &colours, 1, 1, 0, nullptr);
    state.counters["areas"] = display->Size();
}
BENCHMARK(BM_DrawBoxThroughAreas)->Arg(1)->Arg(10)->Arg(50);

void BM_DrawStringThroughAreas(benchmark::State& state)
{
    MemoryScreen screen;
    std::unique_ptr<UI_FG_DISPLAY> display = DisplayWithAreas(static_cast<int32_t>(state.range(0)));
    const UI_COLOUR_ENTRY colours = UI_DEFAULT_COLOUR_TABLE[1].colours;
    const char* text = "&Scenario  Units  Sides  Missions  Windows  Options  Help: the menu bar line";
    for (auto _ : state)
        display->DrawString(1, 0, 150, text, &colours, -1, 1, 0, nullptr, 1);
    state.counters["areas"] = display->Size();
}
BENCHMARK(BM_DrawStringThroughAreas)->Arg(1)->Arg(10)->Arg(50);

// The last record of the table, and an event no record names (a full scan).
void BM_LookUpEvent(benchmark::State& state)
{
    UI_MESSAGE events[2];
    events[0].type = 10;
    events[0].code = 0x6F00;
    events[1].type = 10;
    events[1].code = 0x1E61;
    int32_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LookUpEvent(UI_DEFAULT_EVENT_TABLE, &events[i], 13, 18, 18, 18, 18));
        i ^= 1;
    }
}
BENCHMARK(BM_LookUpEvent);

// A menu entry's colours in a state only its catch-all record fits.
void BM_LookUpColours(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(LookUpColours(UI_DEFAULT_COLOUR_TABLE, 0x08, 19, 2106, 2, 18, 18));
}
BENCHMARK(BM_LookUpColours);

// Building a list of 50 screen-wide bands and deleting it again: the part of
// the next benchmark that is not the cut.
void FillBands(UI_CLIP_LIST& list)
{
    for (int32_t i = 0; i < 50; ++i)
        list.InsertBefore(nullptr, new UI_CLIP_RECT(1, 0, i * 4, 1023, i * 4 + 3));
}

void BM_BuildFiftyBands(benchmark::State& state)
{
    UI_CLIP_LIST list;
    for (auto _ : state) {
        FillBands(list);
        benchmark::DoNotOptimize(list.head);
        list.DeleteAll();
    }
}
BENCHMARK(BM_BuildFiftyBands);

// The same with a 40 by 40 window cut out of the 50 bands; it meets 10 of
// them, each replaced by a left and a right piece.
void BM_CutOverFifty(benchmark::State& state)
{
    const UI_RECT window{300, 95, 339, 134};
    UI_CLIP_LIST list;
    for (auto _ : state) {
        FillBands(list);
        list.Cut(2, window, 0);
        benchmark::DoNotOptimize(list.head);
        list.DeleteAll();
    }
}
BENCHMARK(BM_CutOverFifty);

} // namespace
