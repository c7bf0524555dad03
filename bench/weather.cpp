// weather.cpp: the cost of the weather: one full weather step of a widened
// 10 by 10 degree scenario (a 41 x 41 grid), which the main loop takes every
// 900 game seconds, and 10,000 weather and light questions of the kind the
// sensors ask about unit positions every step.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/RandomGen.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "world/Environment.h"
#include "world/Weather.h"

namespace {

constexpr int32_t DEGREE = ANGLE_PER_DEGREE;
const LatLonRect AREA(70 * DEGREE, -5 * DEGREE, 60 * DEGREE, 5 * DEGREE);

// A grid with varied pressure, temperature and moisture, so that the step
// has wind, cloud and precipitation to work out.
void Stir(Weather& grid, RandomGen& random)
{
    grid.SetBaseTemperature(400);
    grid.SetTemperatureStep(-6);
    for (int32_t y = 0; y < grid.GetLatSize(); ++y) {
        for (int32_t x = 0; x < grid.GetLonSize(); ++x) {
            Weather_Cell* cell = grid.GetCell(y, x);
            cell->SetPressure(static_cast<uint16_t>(9700 + random.MPRandom(500)));
            cell->SetTemperature(static_cast<int16_t>(200 + random.MPRandom(300)));
            cell->SetMoisture(static_cast<uint8_t>(random.MPRandom(21)));
            cell->SetTrend(static_cast<int8_t>(random.MPRandom(7) - 3));
        }
    }
}

// Positions spread over the scenario area.
std::vector<LatLonPoint> Positions(size_t count)
{
    RandomGen random;
    random.SetSeed(17);
    std::vector<LatLonPoint> points;
    points.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const int32_t lat = AREA.south + static_cast<int32_t>(random.MPRandom(10000)) * (10 * DEGREE / 10000);
        const int32_t lon = AREA.west + static_cast<int32_t>(random.MPRandom(10000)) * (10 * DEGREE / 10000);
        points.emplace_back(lat, lon);
    }
    return points;
}

void BM_WeatherStep41x41(benchmark::State& state)
{
    ArenaState arena;
    ArenaState* previous = gam2arena::SetArenaState(&arena);
    arena.Generator().SetSeed(3);
    Weather grid(AREA, 1);
    Stir(grid, arena.Generator());
    grid.SetDisturbanceChance(20);
    int64_t steps = 0;
    for (auto _ : state) {
        grid.Update(true);
        // Keep the queue from growing over millions of steps.
        if (++steps % 64 == 0) {
            state.PauseTiming();
            arena.Queue().RemoveEventsOf(0, 0);
            Stir(grid, arena.Generator());
            state.ResumeTiming();
        }
    }
    state.counters["cells"] = grid.GetLatSize() * grid.GetLonSize();
    gam2arena::SetArenaState(previous);
}
BENCHMARK(BM_WeatherStep41x41);

void BM_WeatherQueries10000(benchmark::State& state)
{
    RandomGen random;
    random.SetSeed(5);
    Weather grid(AREA, 1);
    Stir(grid, random);
    const std::vector<LatLonPoint> points = Positions(10000);
    for (auto _ : state) {
        int32_t total = 0;
        for (const LatLonPoint& p : points) {
            const WeatherReport report = grid.GetWeather(p);
            total += report.seaState + report.windSpeed;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_WeatherQueries10000);

void BM_LightQueries10000(benchmark::State& state)
{
    ArenaState arena;
    ArenaState* previous = gam2arena::SetArenaState(&arena);
    arena.SetStartDate(1991, 3, 20, 6, 10);
    Environment environment;
    const std::vector<LatLonPoint> points = Positions(10000);
    for (auto _ : state) {
        int32_t total = 0;
        for (const LatLonPoint& p : points)
            total += environment.GetLight(p);
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
    gam2arena::SetArenaState(previous);
}
BENCHMARK(BM_LightQueries10000);

} // namespace
