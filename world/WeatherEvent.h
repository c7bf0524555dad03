// WeatherEvent.h: WeatherEvent, the delayed disturbance a weather step plants:
// when it comes due it sets the pressure trend of one cell of the grid
// through the bridge (gam2anim::ForwardToEnvironment). The grid that posts it
// is world/Weather.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class WeatherEvent : public Event {
public:
    // Game seconds between the step that plants a disturbance and the event.
    static constexpr uint32_t DELAY = 900;

    // Row 0, column 0, trend 0, due at game time 0: the state a list loader
    // builds before Load.
    WeatherEvent() = default;
    // A disturbance of `trend` in the cell at (row, column), due DELAY game
    // seconds after the current game time (gam2arena::GetGameTime).
    WeatherEvent(int32_t row, int32_t column, int8_t trend);
    // Builds the event from its record after the type byte (as Load).
    explicit WeatherEvent(std::istream& in);

    // Hands the disturbance to the environment and answers false: the queue
    // deletes the event. A cell outside the grid is ignored there.
    bool HandleEvent() override;
    uint8_t TypeCode() const override { return EventCode::WEATHER; }

    // Saved form, little-endian, 14 bytes:
    //   type code   u8    0x4B
    //   row         i32
    //   column      i32
    //   trend       i8
    //   due time    u32   game seconds
    // A stream that fails while writing is fatal (resource text 0x7B00BC).
    void Save(std::ostream& out) const override;
    // Reads the record after the type code; a short read shows resource text
    // 0x7B00BD in an error box and answers false, the event unchanged.
    bool Load(std::istream& in) override;

    int32_t GetRow() const { return row; }
    int32_t GetColumn() const { return column; }
    int8_t GetTrend() const { return trend; }

private:
    int32_t row = 0;
    int32_t column = 0;
    int8_t trend = 0;   // the pressure change per step the cell takes on
};
