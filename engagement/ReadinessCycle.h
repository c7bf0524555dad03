// ReadinessCycle.h: the readiness cycle shared by a mount's round counters
// and a weapon record's shots: with a positive interval (seconds per round)
// rounds come ready every interval; with an interval of 0 or less the
// countdown runs through 30-second periods (a negative count) and then the
// seconds left.
#pragma once

#include <cstdint>

namespace ReadinessCycle {
// Advances interval, countdown and ready by `seconds` (all 8-bit signed
// arithmetic). A slow positive interval (longer than the step) with rounds
// ready keeps one ready; the countdown then restarts from the interval less
// the step (restartWhenReady) or stands at 0.
void Step(int8_t interval, int8_t& countdown, int8_t& ready, uint8_t seconds, bool restartWhenReady);
}  // namespace ReadinessCycle
