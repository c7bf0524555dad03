// TimeOfDay.h: the framework's time of day in hundredths of a second since
// midnight, read from the platform clocks (so a FakeClock scripts it), and
// the one way to measure how much of it has passed between two readings,
// which stays right across midnight. Double clicks, held buttons and scroll
// arrows time themselves with these; the time value class reads the same
// source.
#pragma once

#include <cstdint>

constexpr int32_t UI_HUNDREDTHS_PER_DAY = 24 * 60 * 60 * 100;   // 8,640,000

// The local time of day, 0 to UI_HUNDREDTHS_PER_DAY - 1. The hundredths run
// on the millisecond counter from the last local second the calendar clock
// gave; when the two drift apart by more than a second (the system time was
// set, or a test installed another clock) the calendar clock is taken again.
int32_t TimeOfDayHundredths();

// The hundredths that passed from the reading earlier to the reading later,
// counted forwards modulo one day: 0 to UI_HUNDREDTHS_PER_DAY - 1. A stamp
// taken at 23:59:59.90 and a reading at 00:00:00.20 are 30 apart, not minus
// a day. Both readings must lie within one day.
int32_t ElapsedHundredths(int32_t earlier, int32_t later);
