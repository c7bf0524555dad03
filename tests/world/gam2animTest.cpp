// gam2animTest.cpp: the simulation's calls into the environment: the weather
// alarm's request, a disturbance coming due, and the weather and light at a
// position, with and without gEnvironment.
#include <gtest/gtest.h>

#include "core/gam2arena.h"
#include "support/ReportCapture.h"
#include "world/Environment.h"
#include "world/Map.h"
#include "world/gam2anim.h"

namespace {

constexpr int32_t DEGREE = ANGLE_PER_DEGREE;

class Gam2Anim : public testing::Test {
protected:
    void TearDown() override { gEnvironment = nullptr; }
    Environment environment;
};

TEST_F(Gam2Anim, WithoutAnEnvironmentNothingHappens)
{
    ReportCapture reports;
    gam2anim::RequestWeatherUpdate();
    gam2anim::ForwardToEnvironment(1, 2, 3);
    WeatherReport report;
    report.beaufort = 5;
    report.windSpeed = 77;
    gam2anim::GetWeatherAt(report, LatLonPoint(10 * DEGREE, 20 * DEGREE));
    EXPECT_EQ(report, WeatherReport());
    EXPECT_EQ(gam2anim::GetLightAt(LatLonPoint()), Environment::LIGHT_DAY);
    EXPECT_TRUE(reports.fatals.empty());
}

TEST_F(Gam2Anim, RequestAndDisturbanceReachTheEnvironment)
{
    gEnvironment = &environment;
    gam2anim::RequestWeatherUpdate();
    EXPECT_TRUE(environment.IsUpdateRequested());

    gam2anim::ForwardToEnvironment(1, 1, 2);          // no grid: nothing
    Weather* grid = environment.SetUpWeather(LatLonRect(10 * DEGREE, 0, 9 * DEGREE, DEGREE), 0);
    grid->SetBaseTemperature(40);
    gam2anim::ForwardToEnvironment(1, 1, -3);
    EXPECT_EQ(grid->GetCell(1, 1)->GetTrend(), -3);
    EXPECT_EQ(grid->GetCell(1, 1)->GetTemperature(), 40);
    gam2anim::ForwardToEnvironment(9, 9, -3);          // outside: ignored
}

TEST_F(Gam2Anim, WeatherAndLightComeFromTheEnvironment)
{
    gEnvironment = &environment;
    ReportCapture reports;
    WeatherReport report;
    report.weatherCode = 4;
    gam2anim::GetWeatherAt(report, LatLonPoint(10 * DEGREE, 20 * DEGREE));
    EXPECT_EQ(report, WeatherReport());                // no map: off the map
    EXPECT_EQ(reports.errors.size(), 1u);

    ArenaState arena;
    ArenaState* previous = gam2arena::SetArenaState(&arena);
    ASSERT_TRUE(arena.SetStartDate(1991, 1, 5, 0, 0));
    EXPECT_EQ(gam2anim::GetLightAt(LatLonPoint(45 * DEGREE, 0)), Environment::LIGHT_NIGHT);
    ASSERT_TRUE(arena.SetStartDate(1991, 1, 5, 12, 0));
    EXPECT_EQ(gam2anim::GetLightAt(LatLonPoint(45 * DEGREE, 0)), Environment::LIGHT_DAY);
    gam2arena::SetArenaState(previous);
}

} // namespace
