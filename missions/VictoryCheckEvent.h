// VictoryCheckEvent.h: VictoryCheckEvent, the periodic victory check: every
// 60 game seconds it has every side's victory manager test its conditions
// (through unit2gam::CheckVictoryConditions with no unit). Each new
// VictoryManager replaces the pending one, so exactly one is queued.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class VictoryCheckEvent : public Event {
public:
    // Game seconds between two checks, and the due time of the first.
    static constexpr uint32_t PERIOD = 60;
    // Resource texts of the fatal errors of a failed stream.
    static constexpr int32_t NOT_SAVED_TEXT = 0x7B0167;
    static constexpr int32_t NOT_LOADED_TEXT = 0x7B0168;

    // Due at game time PERIOD.
    VictoryCheckEvent();
    // Builds the event from its record after the type byte (as Load).
    explicit VictoryCheckEvent(std::istream& in);

    // Runs the check of every side, then moves the due time on by PERIOD
    // and answers true: the queue keeps the event.
    bool HandleEvent() override;
    uint8_t TypeCode() const override { return EventCode::VICTORY_CHECK; }

    // Saved form, little-endian, 5 bytes:
    //   type code   u8    0x4A
    //   due time    u32   game seconds
    // A stream that fails while writing is fatal (NOT_SAVED_TEXT).
    void Save(std::ostream& out) const override;
    // Reads the due time after the type code; a short read is fatal
    // (NOT_LOADED_TEXT) and answers false, the event unchanged.
    bool Load(std::istream& in) override;
};
