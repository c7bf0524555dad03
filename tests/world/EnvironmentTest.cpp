// EnvironmentTest.cpp: the environment: the weather section (no grid as two
// zero bytes, the grid-kind version rule, every cut refused), the weather at
// a position on and off the map, the main loop's weather step, the weather
// marks of a map view, local solar time and the light at telling times.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/Projection.h"
#include "core/gam2arena.h"
#include "support/Bytes.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/Environment.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"

using namespace maptest;

namespace {

const VersionNumber CURRENT(3, 6, 3, 0);
const VersionNumber BEFORE_GRID_KIND(2, 1, 9, 5);

// A scenario map over `area` (Miller, sea everywhere, no outlines), installed
// as gMap for the life of the fixture.
class EnvironmentOnMap : public testing::Test {
protected:
    void SetUp() override { UseMap(LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22))); }
    void TearDown() override
    {
        gMap = nullptr;
        gEnvironment = nullptr;
    }

    void UseMap(const LatLonRect& area)
    {
        SectionPlan plan;
        plan.area = area;
        plan.xy = XYRect(0, Deg(20), Deg(30), 0);
        plan.projectionID = PROJECTION_MILLER;
        plan.FillCells(-800);
        ASSERT_TRUE(files.Write(plan, {}));
        bool ok = false;
        map = LoadMap(SectionBytes(plan), files.Directory(), &ok);
        ASSERT_TRUE(ok);
        gMap = map.get();
    }

    static std::string Save(const Environment& environment)
    {
        std::ostringstream out(std::ios::binary);
        EXPECT_TRUE(environment.Save(out));
        return out.str();
    }

    // A grid over the map with a recognisable weather in every cell.
    static Weather* FillGrid(Environment& environment, uint8_t kind)
    {
        Weather* grid = environment.SetUpWeather(gMap->Get_LatLonRect(), kind);
        grid->SetDisturbanceChance(0);
        grid->SetBaseTemperature(250);
        grid->SetTemperatureStep(-4);
        for (int32_t y = 0; y < grid->GetLatSize(); ++y) {
            for (int32_t x = 0; x < grid->GetLonSize(); ++x) {
                Weather_Cell* cell = grid->GetCell(y, x);
                cell->SetPressure(static_cast<uint16_t>(10100 + (y * 7 + x * 3) % 90));
                cell->SetTrend(static_cast<int8_t>((x + y) % 5 - 2));
                cell->SetWind(((x * y) % 8) * ANGLE_EIGHTH, (x + y) * SPEED_PER_KNOT);
            }
        }
        return grid;
    }

    MapFiles files;
    std::unique_ptr<Map> map;
};

// ------------------------------------------------------- weather section

TEST_F(EnvironmentOnMap, NoGridSavesAsTwoZeroBytes)
{
    Environment environment;
    EXPECT_EQ(Save(environment), Bytes({0x00, 0x00}));

    // Loaded back: no grid, and the next section starts right after.
    std::istringstream in(Bytes({0x00, 0x00, 0x77}), std::ios::binary);
    Environment loaded;
    EXPECT_TRUE(loaded.Load(in, CURRENT));
    EXPECT_EQ(loaded.GetWeatherGrid(), nullptr);
    EXPECT_EQ(in.peek(), 0x77);

    // A file before 2.1.10 has no grid-kind byte: the section is one byte.
    std::istringstream old(Bytes({0x00, 0x77}), std::ios::binary);
    EXPECT_TRUE(loaded.Load(old, BEFORE_GRID_KIND));
    EXPECT_EQ(loaded.GetWeatherGrid(), nullptr);
    EXPECT_EQ(old.peek(), 0x77);
}

TEST_F(EnvironmentOnMap, GridRoundTripsByteForByte)
{
    for (uint8_t kind : {0, 2}) {
        SCOPED_TRACE(int{kind});
        Environment environment;
        FillGrid(environment, kind);
        const std::string bytes = Save(environment);
        const int32_t cells = kind == 0 ? 5 * 5 : 25 * 25;
        ASSERT_EQ(bytes.size(), 2u + 6u + static_cast<size_t>(cells) * Weather_Cell::SAVED_SIZE);
        EXPECT_EQ(bytes.substr(0, 2), Bytes({0x01, kind}));

        Environment loaded;
        std::istringstream in(bytes + "x", std::ios::binary);
        ASSERT_TRUE(loaded.Load(in, CURRENT));
        ASSERT_NE(loaded.GetWeatherGrid(), nullptr);
        EXPECT_EQ(loaded.GetWeatherGrid()->GetGridKind(), kind);
        EXPECT_EQ(loaded.GetWeatherGrid()->GetLatSize(), kind == 0 ? 5 : 25);
        EXPECT_EQ(in.peek(), 'x');
        EXPECT_EQ(Save(loaded), bytes);   // no step taken
    }
}

TEST_F(EnvironmentOnMap, OlderFileHasNoGridKindAndStepsOnceOnLoading)
{
    Environment environment;
    FillGrid(environment, 0);
    const std::string current = Save(environment);
    // The older layout: the flag, then the grid straight after it.
    const std::string older = current.substr(0, 1) + current.substr(2);

    ArenaState arena;
    ArenaState* previous = gam2arena::SetArenaState(&arena);
    arena.Generator().SetSeed(5);
    Environment loaded;
    std::istringstream in(older, std::ios::binary);
    ASSERT_TRUE(loaded.Load(in, BEFORE_GRID_KIND));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    ASSERT_NE(loaded.GetWeatherGrid(), nullptr);
    EXPECT_EQ(loaded.GetWeatherGrid()->GetGridKind(), 0);

    // One weather step ran: the same as stepping the saved grid once.
    environment.GetWeatherGrid()->Update(true);
    arena.Generator().SetSeed(5);   // the draws do not matter with chance 0
    EXPECT_EQ(Save(loaded), Save(environment));
    EXPECT_NE(Save(loaded), current);
    gam2arena::SetArenaState(previous);
}

TEST_F(EnvironmentOnMap, LoadTakesTheVersionOfTheFileBeingRead)
{
    Environment environment;
    FillGrid(environment, 0);
    const std::string current = Save(environment);

    // Without a header read (or without gAdmin) the file counts as older.
    ScenarioAdmin* previous = gAdmin;
    gAdmin = nullptr;
    Environment loaded;
    std::istringstream in(current.substr(0, 1) + current.substr(2), std::ios::binary);
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    gAdmin = previous;
}

TEST_F(EnvironmentOnMap, EveryCutIsRefusedAndLeavesNothingBehind)
{
    Environment environment;
    FillGrid(environment, 0);
    const std::string current = Save(environment);
    const std::string older = current.substr(0, 1) + current.substr(2);
    struct Row { const char* name; std::string bytes; VersionNumber version; };
    const Row rows[] = {{"current", current, CURRENT},
                        {"before 2.1.10", older, BEFORE_GRID_KIND},
                        {"no grid", Bytes({0x00, 0x00}), CURRENT}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (size_t length = 0; length < r.bytes.size(); ++length) {
            SCOPED_TRACE(length);
            Environment loaded;
            std::istringstream in(r.bytes.substr(0, length), std::ios::binary);
            EXPECT_FALSE(loaded.Load(in, r.version));
            EXPECT_TRUE(in.fail());
            EXPECT_EQ(loaded.GetWeatherGrid(), nullptr);
            EXPECT_EQ(loaded.GetWeatherFlag(), 0);
        }
    }
}

TEST_F(EnvironmentOnMap, FailedLoadKeepsTheGridItHad)
{
    Environment environment;
    FillGrid(environment, 0);
    const std::string before = Save(environment);
    std::istringstream in(before.substr(0, 40), std::ios::binary);
    EXPECT_FALSE(environment.Load(in, CURRENT));
    EXPECT_EQ(Save(environment), before);

    // A whole section replaces it, a section without a grid included.
    std::istringstream none(Bytes({0x00, 0x00}), std::ios::binary);
    EXPECT_TRUE(environment.Load(none, CURRENT));
    EXPECT_EQ(environment.GetWeatherGrid(), nullptr);
}

TEST_F(EnvironmentOnMap, GridNeedsAMapToBeSizedBy)
{
    Environment environment;
    FillGrid(environment, 0);
    const std::string bytes = Save(environment);
    gMap = nullptr;
    ReportCapture reports;
    Environment loaded;
    std::istringstream in(bytes, std::ios::binary);
    EXPECT_FALSE(loaded.Load(in, CURRENT));
    EXPECT_TRUE(in.fail());
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Environment::Load: gMap == NULL");
    EXPECT_EQ(loaded.GetWeatherGrid(), nullptr);
}

// ------------------------------------------------------ weather at a point

TEST_F(EnvironmentOnMap, WeatherAtAPosition)
{
    Environment environment;
    ReportCapture reports;
    // On the map without a grid: calm, and nothing to report.
    EXPECT_EQ(environment.GetWeather(At(10, 21)), WeatherReport());
    EXPECT_TRUE(reports.errors.empty());

    Weather* grid = environment.SetUpWeather(gMap->Get_LatLonRect(), 0);
    grid->GetCell(2, 2)->SetWind(4 * ANGLE_EIGHTH, 33 * SPEED_PER_KNOT);
    const WeatherReport report = environment.GetWeather(At(10, 21));
    EXPECT_EQ(report.windSpeed, 33 * SPEED_PER_KNOT);
    EXPECT_EQ(report.windDirection, 4 * ANGLE_EIGHTH);
    EXPECT_EQ(report.beaufort, 7);
    EXPECT_EQ(report.seaState, 6);
    EXPECT_TRUE(reports.errors.empty());

    // Off the map: an error box and a calm report; the grid is not asked.
    for (const LatLonPoint& off : {At(12, 21), At(10, 19.9), At(-10, 21)}) {
        reports.Clear();
        EXPECT_EQ(environment.GetWeather(off), WeatherReport());
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_EQ(reports.errors[0], "Weather: resource text 0x7B00B1");   // no resource files here
        EXPECT_TRUE(reports.fatals.empty());
    }
    reports.Clear();
    gMap = nullptr;
    EXPECT_EQ(environment.GetWeather(At(10, 21)), WeatherReport());
    EXPECT_EQ(reports.errors.size(), 1u);
}

TEST_F(EnvironmentOnMap, EveryPositionOfAnOddlyEdgedMapHasWeather)
{
    // 10.1 to 8.95 north, 20.05 to 21.2 east: the grid used to be a row and
    // a column short, and positions near the south and east edges were fatal.
    UseMap(LatLonRect(Deg(10.1), Deg(20.05), Deg(8.95), Deg(21.2)));
    Environment environment;
    environment.SetUpWeather(gMap->Get_LatLonRect(), 0);
    ReportCapture reports;
    for (double lat : {10.1, 9.5, 9.0, 8.99, 8.95})
        for (double lon : {20.05, 20.5, 21.0, 21.2})
            environment.GetWeather(At(lat, lon));
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_TRUE(reports.errors.empty());
}

// ------------------------------------------------------------- the update

TEST_F(EnvironmentOnMap, UpdateStepsOncePerRequest)
{
    Environment environment;
    EXPECT_FALSE(environment.IsUpdateRequested());
    environment.RequestUpdate();
    EXPECT_FALSE(environment.Update());
    EXPECT_TRUE(environment.IsUpdateRequested());   // no grid: the request waits

    Weather* grid = environment.SetUpWeather(gMap->Get_LatLonRect(), 0);
    grid->GetCell(0, 0)->SetTrend(3);
    EXPECT_FALSE(environment.Update());
    EXPECT_FALSE(environment.IsUpdateRequested());
    EXPECT_EQ(grid->GetCell(0, 0)->GetPressure(), Weather_Cell::NEW_PRESSURE + 3);

    environment.Update();                           // no request: no step
    EXPECT_EQ(grid->GetCell(0, 0)->GetPressure(), Weather_Cell::NEW_PRESSURE + 3);
}

// ----------------------------------------------------------------- marks

TEST_F(EnvironmentOnMap, DrawsTheMarksTheFlagsChoose)
{
    Environment environment;
    RecordingPenScope pen;
    environment.Draw(gMap->Get_XYRect(), 0xFFFFFFFF);
    EXPECT_TRUE(pen.calls.empty());                 // no grid

    Weather* grid = environment.SetUpWeather(gMap->Get_LatLonRect(), 0);
    grid->GetCell(0, 0)->SetWind(0, 30 * SPEED_PER_KNOT);           // sea state 6
    grid->GetCell(1, 1)->SetCloudCover(CloudCover::PARTLY_CLOUDY);
    grid->GetCell(2, 2)->SetWeatherCode(WeatherCode::LIGHT_RAIN);

    environment.Draw(gMap->Get_XYRect(), ~(Environment::DRAW_SEA_STATE | Environment::DRAW_CLOUDS
                                           | Environment::DRAW_WEATHER));
    EXPECT_TRUE(pen.calls.empty());

    environment.Draw(gMap->Get_XYRect(), Environment::DRAW_SEA_STATE | Environment::DRAW_CLOUDS
                                             | Environment::DRAW_WEATHER);
    // Sea states, then clouds, then weather, each at its cell's north-west corner.
    const std::vector<PenCall> expected = {
        {PenCall::Plot, gMap->LatLon_to_XY(At(11, 20)), 73},
        {PenCall::Plot, gMap->LatLon_to_XY(At(10.5, 20.5)), 57},
        {PenCall::Plot, gMap->LatLon_to_XY(At(10, 21)), 62},
    };
    EXPECT_EQ(pen.calls, expected);

    pen.Clear();
    environment.Draw(gMap->Get_XYRect(), Environment::DRAW_CLOUDS);
    ASSERT_EQ(pen.calls.size(), 1u);
    EXPECT_EQ(pen.calls[0].colour, 57);
}

// --------------------------------------------------------- local solar time

TEST(EnvironmentTime, LocalTimeIsLaterToTheEast)
{
    struct Clock { uint8_t month, day, hour, minute, second; };
    struct Row { const char* name; Clock game; int32_t longitude; Clock local; };
    const int32_t DEGREE = ANGLE_PER_DEGREE;
    const Row rows[] = {
        {"90 east: six hours later", {1, 10, 6, 0, 0}, 90 * DEGREE, {1, 10, 12, 0, 0}},
        {"90 west: six hours earlier", {1, 10, 6, 0, 0}, -90 * DEGREE, {1, 10, 0, 0, 0}},
        {"half a degree is two minutes", {5, 3, 10, 59, 30}, DEGREE / 2, {5, 3, 11, 1, 30}},
        {"under a second of time", {5, 3, 10, 59, 30}, 1023, {5, 3, 10, 59, 30}},
        {"an hour, a minute and a second", {5, 3, 10, 58, 59}, 1024 * 3661, {5, 3, 12, 0, 0}},
        {"the same, westward", {5, 3, 12, 0, 0}, -1024 * 3661, {5, 3, 10, 58, 59}},
        // Stepping back out of January used to read before the month table.
        {"back out of January", {1, 1, 0, 0, 30}, -DEGREE / 4, {12, 31, 23, 59, 30}},
        {"back out of March", {3, 1, 0, 30, 0}, -15 * DEGREE, {2, 28, 23, 30, 0}},
        {"on out of January", {1, 31, 23, 30, 0}, 15 * DEGREE, {2, 1, 0, 30, 0}},
        {"on out of February, no leap years", {2, 28, 23, 30, 0}, 15 * DEGREE, {3, 1, 0, 30, 0}},
        {"on out of April", {4, 30, 23, 30, 0}, 15 * DEGREE, {5, 1, 0, 30, 0}},
        {"on out of December", {12, 31, 23, 30, 0}, 15 * DEGREE, {1, 1, 0, 30, 0}},
        {"the date line, east", {6, 15, 18, 0, 0}, 180 * DEGREE, {6, 16, 6, 0, 0}},
        {"the date line, west", {6, 15, 18, 0, 0}, -180 * DEGREE, {6, 15, 6, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        GameClockRecord game;
        game.compression = 15;
        game.year = 91;
        game.month = r.game.month;
        game.day = r.game.day;
        game.hour = r.game.hour;
        game.minute = r.game.minute;
        game.second = r.game.second;
        const GameClockRecord local = Environment::ToLocalTime(game, r.longitude);
        EXPECT_EQ(local.month, r.local.month);
        EXPECT_EQ(local.day, r.local.day);
        EXPECT_EQ(local.hour, r.local.hour);
        EXPECT_EQ(local.minute, r.local.minute);
        EXPECT_EQ(local.second, r.local.second);
        EXPECT_EQ(local.year, 91);          // the year stays
        EXPECT_EQ(local.compression, 15);
    }
}

// --------------------------------------------------------------- the light

class EnvironmentLight : public testing::Test {
protected:
    void SetUp() override { previous = gam2arena::SetArenaState(&arena); }
    void TearDown() override { gam2arena::SetArenaState(previous); }

    uint8_t LightAt(uint8_t month, uint8_t day, uint8_t hour, uint8_t minute, const LatLonPoint& point)
    {
        EXPECT_TRUE(arena.SetStartDate(1991, month, day, hour, minute));
        return environment.GetLight(point);
    }

    ArenaState arena;
    ArenaState* previous = nullptr;
    Environment environment;
};

constexpr uint8_t DAY = Environment::LIGHT_DAY;
constexpr uint8_t NIGHT = Environment::LIGHT_NIGHT;
constexpr uint8_t TWILIGHT = Environment::LIGHT_TWILIGHT;

TEST_F(EnvironmentLight, AtTellingTimes)
{
    struct Row {
        const char* name;
        uint8_t month, day, hour, minute;
        double lat, lon;
        uint8_t light;
    };
    // 45 north, first half of January: sunrise 07:38, sunset 16:28, twilight 103 minutes.
    const Row rows[] = {
        {"midnight", 1, 5, 0, 0, 45, 0, NIGHT},
        {"twilight begins after 05:55", 1, 5, 5, 55, 45, 0, NIGHT},
        {"first minute of twilight", 1, 5, 5, 56, 45, 0, TWILIGHT},
        {"a minute before sunrise", 1, 5, 7, 37, 45, 0, TWILIGHT},
        {"sunrise itself", 1, 5, 7, 38, 45, 0, NIGHT},
        {"a minute after sunrise", 1, 5, 7, 39, 45, 0, DAY},
        {"noon", 1, 5, 12, 0, 45, 0, DAY},
        {"a minute before sunset", 1, 5, 16, 27, 45, 0, DAY},
        {"sunset itself", 1, 5, 16, 28, 45, 0, NIGHT},
        {"a minute after sunset", 1, 5, 16, 29, 45, 0, TWILIGHT},
        {"last minute of twilight", 1, 5, 18, 10, 45, 0, TWILIGHT},
        {"twilight ends at 18:11", 1, 5, 18, 11, 45, 0, NIGHT},
        {"second half of the month: sunrise 07:36", 1, 20, 7, 37, 45, 0, DAY},
        // 15 east is an hour ahead: 06:40 there is 07:40 local time. Read the
        // other way round it was 05:40, before twilight.
        {"15 east", 1, 5, 6, 40, 45, 15, DAY},
        {"15 west", 1, 5, 8, 37, 45, -15, TWILIGHT},
        {"90 east", 1, 5, 1, 39, 45, 90, DAY},
        // 45 south in January takes July's first half (sunrise 04:16, sunset
        // 19:51) less 3 minutes, and January's twilight.
        {"southern sunrise", 1, 5, 4, 13, -45, 0, NIGHT},
        {"after the southern sunrise", 1, 5, 4, 14, -45, 0, DAY},
        {"before the southern sunrise", 1, 5, 4, 12, -45, 0, TWILIGHT},
        {"southern sunset", 1, 5, 19, 48, -45, 0, NIGHT},
        {"after the southern sunset", 1, 5, 19, 49, -45, 0, TWILIGHT},
        // Near the equator: band 0 (sunrise 05:59), twilight 73 minutes.
        {"equator before dawn", 1, 5, 4, 46, 5, 0, NIGHT},
        {"equator dawn", 1, 5, 4, 47, 5, 0, TWILIGHT},
        // The poles: no sun in January, no night in July.
        {"north pole in January", 1, 5, 12, 0, 90, 0, NIGHT},
        {"north pole in July", 7, 5, 0, 30, 90, 0, DAY},
        {"89 north in July", 7, 5, 0, 30, 89, 0, DAY},
        {"south pole in January", 1, 5, 0, 30, -90, 0, DAY},
        // Local time before the first of January: December's tables.
        {"back into December", 1, 1, 0, 30, 60, -15, NIGHT},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(LightAt(r.month, r.day, r.hour, r.minute, At(r.lat, r.lon)), r.light);
    }
}

TEST_F(EnvironmentLight, GameTimeMovesTheClock)
{
    ASSERT_TRUE(arena.SetStartDate(1991, 1, 5, 7, 30));
    EXPECT_EQ(environment.GetLight(At(45, 0)), TWILIGHT);
    arena.SetGameTime(9 * 60);                      // 07:39
    EXPECT_EQ(environment.GetLight(At(45, 0)), DAY);
}

TEST(EnvironmentLightWithoutClock, IsDayWithoutAGameDate)
{
    ArenaState* previous = gam2arena::SetArenaState(nullptr);
    Environment environment;
    EXPECT_EQ(environment.GetLight(At(45, 0)), Environment::LIGHT_DAY);
    EXPECT_EQ(environment.GetLight(At(-90, -180)), Environment::LIGHT_DAY);
    gam2arena::SetArenaState(previous);
}

} // namespace
