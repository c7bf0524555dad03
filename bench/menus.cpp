// menus.cpp: the cost of the menus, scroll bars and tool bars on a 1024 by
// 768 display over a memory screen: opening a 20-item pop-up from its menu
// bar and closing it again, all through the desktop; a scroll bar told a new
// value (UI_CODE_SET_SCROLL) with its thumb drawn again; and laying out a
// tool bar of 50 controls and a menu bar of 30 titles.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "tests/support/MemoryScreen.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_MENU_BAR.h"
#include "widgets/UI_POPUP_MENU.h"
#include "widgets/UI_SCROLL_BAR.h"
#include "widgets/UI_TOOL_BAR.h"
#include "widgets/UI_WINDOW.h"

namespace {

struct Desk {
    Desk() : display(UI_MODE_1024X768), manager(&display, 100), desktop(&display, &manager) {}
    MemoryScreen memory;
    UI_FG_DISPLAY display;
    UI_INPUT_MANAGER manager;
    UI_DESKTOP desktop;
};

UI_MESSAGE KeyOf(int32_t raw, int32_t shifts = 0)
{
    UI_MESSAGE m(UI_KEY_EVENT);
    m.code = raw;
    m.keyData.shifts = shifts;
    return m;
}

void BM_OpenAndClose20ItemPopUp(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(2, 2, 80, 30);
    auto* bar = new UI_MENU_BAR;
    auto* title = new UI_MENU_BAR_ITEM("&File");
    for (int32_t i = 0; i < 20; ++i)
        title->popup.Add(new UI_MENU_ITEM(("Item " + std::to_string(i)).c_str(), 0));
    bar->Add(title);
    window->Add(bar);
    window->Add(new UI_BUTTON(0, 0, 10, "A"));
    desk.desktop.Add(window);
    const UI_MESSAGE open = KeyOf(0x2100, UI_SHIFT_ALT);   // Alt-F
    const UI_MESSAGE escape = KeyOf(0x011B);
    for (auto _ : state) {
        UI_MESSAGE m = open;
        desk.desktop.Event(&m);
        m = escape;
        desk.desktop.Event(&m);
        UI_MESSAGE queued;
        while (desk.manager.Get(&queued, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0)
            desk.desktop.Event(&queued);
    }
    if (title->popup.IsOpen())
        state.SkipWithError("the pop-up stayed open");
}
BENCHMARK(BM_OpenAndClose20ItemPopUp)->Unit(benchmark::kMicrosecond);

void BM_SetScrollWithThumbRedraw(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(2, 2, 60, 30);
    auto* scroll = new UI_SCROLL_BAR(0, 0, 0, 0, UI_SCROLL_VERTICAL,
                                     UI_FLAG_SUPPORT | UI_FLAG_TAKES_ROOM | UI_FLAG_BORDER);
    window->Add(scroll);
    window->Add(new UI_BUTTON(0, 0, 10, "A"));
    desk.desktop.Add(window);
    int32_t position = 0;
    for (auto _ : state) {
        UI_MESSAGE m(UI_CODE_SET_SCROLL);
        position = (position + 37) % 1000;   // a new place every time
        m.data[0] = position;
        m.data[1] = 0;
        m.data[2] = 999;
        m.data[3] = 20;
        m.data[4] = 1;
        benchmark::DoNotOptimize(scroll->Event(&m));
    }
}
BENCHMARK(BM_SetScrollWithThumbRedraw)->Unit(benchmark::kMicrosecond);

void BM_LayOutToolBar50Controls(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(0, 0, 120, 40);
    auto* tools = new UI_TOOL_BAR(0, 0, 100, 1, 0, UI_FLAG_TAKES_ROOM);
    for (int32_t i = 0; i < 50; ++i)
        tools->Add(new UI_BUTTON(0, 0, 4 + i % 5, "Tool"));
    window->Add(tools);
    desk.desktop.Add(window);
    for (auto _ : state) {
        UI_MESSAGE m(UI_CODE_LAYOUT);
        benchmark::DoNotOptimize(tools->Event(&m));
    }
}
BENCHMARK(BM_LayOutToolBar50Controls)->Unit(benchmark::kMicrosecond);

void BM_LayOutMenuBar30Titles(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(0, 0, 60, 40);
    auto* bar = new UI_MENU_BAR;
    for (int32_t i = 0; i < 30; ++i)
        bar->Add(new UI_MENU_BAR_ITEM(("&Menu " + std::to_string(i)).c_str()));
    window->Add(bar);
    desk.desktop.Add(window);
    for (auto _ : state) {
        UI_MESSAGE m(UI_CODE_LAYOUT);
        benchmark::DoNotOptimize(bar->Event(&m));
    }
}
BENCHMARK(BM_LayOutMenuBar30Titles)->Unit(benchmark::kMicrosecond);

} // namespace
