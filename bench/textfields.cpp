// textfields.cpp: the cost of editing text: characters typed one at a time
// into a string field and into a wrapped 40-line text field shown on the
// desktop (relayout and repaint included, per character); a 10,000-character
// text set into a text field; the display-line measure over 100 KB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/BenchDesk.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_STRING_FIELD.h"
#include "widgets/UI_TEXT_FIELD.h"
#include "widgets/UI_WINDOW.h"

namespace {

using Desk = BenchDesk;

constexpr int32_t CHARACTERS = 1000;

UI_MESSAGE Typed(char c)
{
    UI_MESSAGE m(UI_KEY_EVENT);
    m.code = 0x1E00 | static_cast<unsigned char>(c);
    m.keyData.keyValue = static_cast<unsigned char>(c);
    return m;
}

// Words of varied length and spaces, so a text field wraps.
char TextCharacter(int32_t n)
{
    return n % 7 == 6 ? ' ' : static_cast<char>('a' + n % 26);
}

// Types CHARACTERS characters through the desktop, one message each.
void TypeThroughDesktop(Desk& desk)
{
    for (int32_t n = 0; n < CHARACTERS; ++n) {
        UI_MESSAGE m = Typed(TextCharacter(n));
        desk.desktop.Event(&m);
    }
}

void BM_TypeIntoStringField(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(2, 2, 60, 6);
    auto* field = new UI_STRING_FIELD(1, 1, 50, "", CHARACTERS + 1, 0, 0, nullptr);
    window->Add(field);
    desk.desktop.Add(window);
    for (auto _ : state) {
        field->SetText("");
        TypeThroughDesktop(desk);
    }
    state.SetItemsProcessed(state.iterations() * CHARACTERS);
}
BENCHMARK(BM_TypeIntoStringField)->Unit(benchmark::kMillisecond);

void BM_TypeIntoWrappedTextField(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(2, 2, 70, 46);
    auto* field = new UI_TEXT_FIELD(0, 0, 60, 33, "", CHARACTERS + 10, 0, 0, nullptr);
    window->Add(field);
    desk.desktop.Add(window);
    for (auto _ : state) {
        field->SetText("");
        TypeThroughDesktop(desk);
    }
    state.counters["lines"] = field->LineCount();
    state.SetItemsProcessed(state.iterations() * CHARACTERS);
}
BENCHMARK(BM_TypeIntoWrappedTextField)->Unit(benchmark::kMillisecond);

void BM_SetTenThousandCharacterText(benchmark::State& state)
{
    Desk desk;
    auto* window = new UI_WINDOW(2, 2, 70, 46);
    auto* field = new UI_TEXT_FIELD(0, 0, 60, 44, "", 10001, 0, 0, nullptr);
    window->Add(field);
    desk.desktop.Add(window);
    std::string text;
    for (int32_t n = 0; n < 10000; ++n)
        text += n % 80 == 79 ? '\n' : TextCharacter(n);
    for (auto _ : state)
        field->SetText(text.c_str());
}
BENCHMARK(BM_SetTenThousandCharacterText)->Unit(benchmark::kMicrosecond);

void BM_NextTextLineOver100KB(benchmark::State& state)
{
    Desk desk;
    std::string text;
    for (int32_t n = 0; n < 100 * 1024; ++n)
        text += n % 300 == 299 ? '\n' : TextCharacter(n);
    int64_t lines = 0;
    for (auto _ : state) {
        char* p = text.data();
        while (*p != '\0') {
            UI_TEXT_FIELD::NextTextLine(&p, 470);
            ++lines;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    benchmark::DoNotOptimize(lines);
}
BENCHMARK(BM_NextTextLineOver100KB)->Unit(benchmark::kMicrosecond);

} // namespace
