// Clock.cpp: the real clocks, the installed source and the calendar text.
#include "platform/Clock.h"

#include <chrono>
#include <cstdio>

namespace platform {

namespace {

class RealClock : public ClockSource {
public:
    uint32_t Milliseconds() override
    {
        using namespace std::chrono;
        static const steady_clock::time_point start = steady_clock::now();
        const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start).count();
        return static_cast<uint32_t>(static_cast<uint64_t>(elapsed));   // wraps modulo 2^32
    }
    int64_t CalendarSeconds() override
    {
        return static_cast<int64_t>(std::time(nullptr));
    }
};

RealClock& Real()
{
    static RealClock real;
    return real;
}

ClockSource*& Installed()
{
    static ClockSource* installed = nullptr;
    return installed;
}

ClockSource& Source()
{
    ClockSource* installed = Installed();
    return installed != nullptr ? *installed : Real();
}

constexpr const char* UNKNOWN_CALENDAR_TEXT = "??? ??? ?? ??:??:?? ????";

} // namespace

ClockSource* SetClockSource(ClockSource* source)
{
    ClockSource* previous = Installed();
    Installed() = source;
    return previous;
}

uint32_t MilliClock()
{
    return Source().Milliseconds();
}

int64_t CalendarTime()
{
    return Source().CalendarSeconds();
}

bool LocalCalendar(int64_t seconds, std::tm& out)
{
    out = std::tm{};
    const std::time_t when = static_cast<std::time_t>(seconds);
    if (localtime_r(&when, &out) == nullptr) {
        out = std::tm{};
        return false;
    }
    return true;
}

std::string CalendarText(int64_t seconds)
{
    static const char* const DAYS[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const MONTHS[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm parts;
    if (!LocalCalendar(seconds, parts))
        return UNKNOWN_CALENDAR_TEXT;
    const int64_t year = int64_t{parts.tm_year} + 1900;
    if (year < 1000 || year > 9999 || parts.tm_wday < 0 || parts.tm_wday > 6
        || parts.tm_mon < 0 || parts.tm_mon > 11)
        return UNKNOWN_CALENDAR_TEXT;
    char text[32];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", DAYS[parts.tm_wday],
                  MONTHS[parts.tm_mon], parts.tm_mday, parts.tm_hour, parts.tm_min,
                  parts.tm_sec, static_cast<int>(year));
    return text;
}

FakeClock::FakeClock(uint32_t milliseconds, int64_t calendarSeconds)
    : milliseconds_(milliseconds), calendarSeconds_(calendarSeconds), previous_(SetClockSource(this))
{
}

FakeClock::~FakeClock()
{
    SetClockSource(previous_);
}

void FakeClock::AdvanceMilliseconds(uint32_t delta)
{
    milliseconds_ = static_cast<uint32_t>(uint64_t{milliseconds_} + delta);
}

} // namespace platform
