// fields.cpp: the cost of the typed entry fields' conversions, each per
// call: a decimal number, a date and a time read from text and written as
// text; and an integer field's validation against a list of ten ranges.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "widgets/UI_BIGNUM.h"
#include "widgets/UI_DATE.h"
#include "widgets/UI_INTEGER_FIELD.h"
#include "widgets/UI_TIME.h"

namespace {

void BM_BignumImport(benchmark::State& state)
{
    UI_BIGNUM n;
    for (auto _ : state)
        benchmark::DoNotOptimize(n.Import("-1,234,567,890,123.456789"));
}
BENCHMARK(BM_BignumImport);

void BM_BignumExport(benchmark::State& state)
{
    UI_BIGNUM n;
    n.Import("-1234567890123.456789");
    char buffer[64];
    for (auto _ : state) {
        n.Export(buffer, 0x0308 | UI_BIGNUM_CURRENCY | UI_BIGNUM_PARENTHESES, sizeof buffer);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_BignumExport);

void BM_DateImport(benchmark::State& state)
{
    UI_DATE date(UI_DAY_OF_1_JANUARY_2000);
    for (auto _ : state)
        benchmark::DoNotOptimize(date.Import("Sept. 30, 2010", 0));
}
BENCHMARK(BM_DateImport);

void BM_DateExport(benchmark::State& state)
{
    const UI_DATE date(UI_DAY_OF_1_JANUARY_2000 + 3925);
    char buffer[64];
    for (auto _ : state) {
        date.Export(buffer, sizeof buffer, UI_DATE_MDY | UI_DATE_MONTH_NAME | UI_DATE_WEEKDAY);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_DateExport);

void BM_TimeImport(benchmark::State& state)
{
    UI_TIME time;
    for (auto _ : state)
        benchmark::DoNotOptimize(time.Import("11:45:30.25 pm", UI_TIME_SECONDS | UI_TIME_HUNDREDTHS));
}
BENCHMARK(BM_TimeImport);

void BM_TimeExport(benchmark::State& state)
{
    const UI_TIME time(8639999);
    char buffer[32];
    for (auto _ : state) {
        time.Export(buffer, sizeof buffer, UI_TIME_SECONDS | UI_TIME_HUNDREDTHS | UI_TIME_12_HOUR);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_TimeExport);

// The typed number lies in the last of ten ranges: every item is parsed.
void BM_IntegerValidateTenRanges(benchmark::State& state)
{
    int32_t value = 5;
    UI_INTEGER_FIELD field(0, 0, 10, &value, "1..9/20..29/40..49/60..69/80..89/100..109/120..129/140..149/160..169/180..189",
                           0, 0, nullptr);
    for (auto _ : state) {
        field.SetText("185");
        benchmark::DoNotOptimize(field.Validate(1));
    }
}
BENCHMARK(BM_IntegerValidateTenRanges);

} // namespace
