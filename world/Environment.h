// Environment.h: Environment and gEnvironment, the one object through which
// the game reaches the weather and the light: the weather section of
// scenario and saved-game files, the weather at a position, day, twilight
// or night at a position from the sun tables, the weather step on the
// weather alarm and the weather marks of a map view. The grid itself is
// world/Weather.h; the bridge's forwarders are world/gam2anim.h.
#pragma once

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/ScenarioAdmin.h"
#include "core/XYRect.h"
#include "core/gam2arena.h"
#include "world/Weather.h"
#include "world/WeatherReport.h"

class Environment {
public:
    // Light conditions GetLight answers.
    static constexpr uint8_t LIGHT_DAY = 1;
    static constexpr uint8_t LIGHT_NIGHT = 2;
    static constexpr uint8_t LIGHT_TWILIGHT = 4;

    // Display flag bits of the map windows that choose the weather marks.
    static constexpr uint32_t DRAW_SEA_STATE = 0x20000;
    static constexpr uint32_t DRAW_CLOUDS = 0x40000;
    static constexpr uint32_t DRAW_WEATHER = 0x80000;

    // The first file version whose weather section carries the grid kind.
    static VersionNumber GridKindVersion() { return VersionNumber(2, 1, 10, 0); }

    // No grid, no update requested, weather flag 0.
    Environment() = default;
    ~Environment() = default;   // deletes the grid
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // Weather section, little-endian (after the map section):
    //   weatherFlag   u8   0: no grid
    //   gridKind      u8   0 without a grid; absent from files before 2.1.10
    //   grid          Weather::Save after its kind, when the flag is set
    // Writes a grid when there is one, else two zero bytes. Answers true;
    // the stream's state is the caller's to test.
    bool Save(std::ostream& out) const;
    // Reads the section of a file of gAdmin's file version (0.0.0.0 without
    // gAdmin, as before a header is read).
    bool Load(std::istream& in);
    // Reads the section as a file of `fileVersion` writes it. With the flag
    // set, a grid is built over gMap's scenario rectangle and loaded; a file
    // older than 2.1.10 then takes one weather step at once, which newer
    // files saved already taken. The environment then holds what the
    // section says (a flag of 0 drops any grid). A short or damaged section,
    // or no gMap to size the grid by, answers false with the stream failed
    // and leaves the environment as it was.
    bool Load(std::istream& in, const VersionNumber& fileVersion);

    // The weather at `point`: the grid's report, or a cleared one without a
    // grid. A point off the scenario map (or with no gMap) shows resource
    // text 0x7B00B1 in an error box and answers a cleared report.
    WeatherReport GetWeather(const LatLonPoint& point) const;

    // Hands a disturbance to the grid (a cell outside it is ignored); nothing
    // without a grid.
    void SetDisturbance(int32_t row, int32_t column, int8_t trend);

    // Marks a weather step wanted; the weather alarm calls it.
    void RequestUpdate() { updateRequest = 1; }
    bool IsUpdateRequested() const { return updateRequest != 0; }
    // Once per pass of the main loop: with a grid, steps it when a step was
    // requested and clears the request. Without a grid the request stays.
    // Answers false.
    bool Update();

    // Draws the weather marks the flags choose (DRAW_SEA_STATE, DRAW_CLOUDS,
    // DRAW_WEATHER, in that order) over the part of the map that `view` (map
    // plane) shows. Nothing without a grid or without gMap.
    void Draw(XYRect view, uint32_t flags) const;

    // Day, twilight or night at `point` at the game's date and time, taken to
    // local solar time at the point's longitude. Day when the game date
    // cannot be had (no clock, no night).
    uint8_t GetLight(const LatLonPoint& point) const;

    // The date and time shifted to local solar time at `longitude` (angle
    // units, positive east): 240 seconds later for every degree east, earlier
    // to the west. The time carries into the day and the day into the month
    // (no leap years); the month wraps within the year, and the year is left
    // as it was (the light does not depend on it). A month outside 1-12 is
    // first folded into it.
    static GameClockRecord ToLocalTime(GameClockRecord record, int32_t longitude);

    // Gives the environment a new grid of `gridKind` over `area`, with the
    // weather flag set, and answers it; for scenario builders and tests.
    Weather* SetUpWeather(const LatLonRect& area, uint8_t gridKind);

    // The grid, or nullptr when the scenario has none.
    Weather* GetWeatherGrid() { return weather.get(); }
    const Weather* GetWeatherGrid() const { return weather.get(); }
    uint8_t GetWeatherFlag() const { return weatherFlag; }

private:
    std::unique_ptr<Weather> weather;   // null without a grid
    uint8_t updateRequest = 0;          // set by the alarm, cleared by Update
    uint8_t weatherFlag = 0;            // from the file: a grid exists only when set
};

// The environment of the running scenario; created empty at start-up and
// again for every scenario.
extern Environment* gEnvironment;
