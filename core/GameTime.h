// GameTime.h: GameTime, a count of game seconds, the value every due time,
// clock reading and time stamp of the game model is held and saved in.
#pragma once

#include <cstdint>

#include "core/StreamFields.h"

// An unsigned 32-bit count of game seconds; a later time is a larger count.
// It is a saved field: Save writes the count as one u32 (low byte first) and
// Load reads one back (a short read leaves the count and fails the stream).
class GameTime : public StreamInt32 {
public:
    constexpr GameTime() = default;                         // 0 seconds
    constexpr GameTime(uint32_t seconds) : StreamInt32(seconds) {}  // NOLINT: a time is its count

    // Get() and Set(seconds) come with the field.

    // True when this count is strictly greater than other's, as unsigned
    // numbers: equal times are later in neither direction, and 0x80000000 is
    // later than 0x7FFFFFFF. The event queue orders its events by this.
    constexpr bool IsLater(const GameTime& other) const { return Get() > other.Get(); }
};

static_assert(sizeof(GameTime) == 4);
