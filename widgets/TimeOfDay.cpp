// TimeOfDay.cpp: the time of day on the platform clocks and the elapsed time
// between two readings of it.
#include "widgets/TimeOfDay.h"

#include <ctime>

#include "platform/Clock.h"

namespace {

constexpr int32_t MILLISECONDS_PER_HUNDREDTH = 10;
constexpr int32_t ALLOWED_DRIFT = 100;   // hundredths between the two clocks

// Where the millisecond counter was when the anchor time of day was taken.
bool anchored = false;
uint32_t anchorMilliseconds = 0;
int32_t anchorHundredths = 0;

int32_t LocalSecondOfDay(int64_t calendarSeconds)
{
    std::tm parts{};
    platform::LocalCalendar(calendarSeconds, parts);
    return (parts.tm_hour * 60 + parts.tm_min) * 60 + parts.tm_sec % 60;   // a leap second counts as 0
}

} // namespace

int32_t TimeOfDayHundredths()
{
    const uint32_t milliseconds = platform::MilliClock();
    const int32_t calendar = LocalSecondOfDay(platform::CalendarTime()) * 100;
    if (anchored) {
        const uint32_t run = (milliseconds - anchorMilliseconds) / MILLISECONDS_PER_HUNDREDTH;
        const int64_t now = (int64_t{anchorHundredths} + run) % UI_HUNDREDTHS_PER_DAY;
        const int32_t reading = static_cast<int32_t>(now);
        // The calendar only gives whole seconds: the reading may lead it by
        // up to one second, and by a little more with clock rates apart.
        const int32_t ahead = ElapsedHundredths(calendar, reading);
        if (ahead < 2 * ALLOWED_DRIFT || ahead > UI_HUNDREDTHS_PER_DAY - ALLOWED_DRIFT)
            return reading;
    }
    anchored = true;
    anchorMilliseconds = milliseconds;
    anchorHundredths = calendar;
    return calendar;
}

int32_t ElapsedHundredths(int32_t earlier, int32_t later)
{
    const int32_t difference = (later - earlier) % UI_HUNDREDTHS_PER_DAY;
    return difference < 0 ? difference + UI_HUNDREDTHS_PER_DAY : difference;
}
