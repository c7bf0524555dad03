// Clock.h: the real-time clocks the program reads (a millisecond tick count
// for pacing and double clicks, calendar seconds for seeds and time stamps,
// and ctime's 24-character text of a time), and FakeClock, which a test
// installs to set both by hand. The game clock lives with the simulation.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace platform {

// Where the clock readings come from; the real clocks unless a test installs
// another.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    // Milliseconds on a counter that only goes forward and wraps after
    // 2^32 ms (about 49.7 days).
    virtual uint32_t Milliseconds() = 0;
    // Calendar time, in seconds since 1970-01-01 UTC.
    virtual int64_t CalendarSeconds() = 0;
};

// Installs source (nullptr: the real clocks) and returns the one it replaces,
// nullptr meaning the real clocks.
ClockSource* SetClockSource(ClockSource* source);

// The millisecond counter. Real clock: milliseconds since the first reading of
// the run (so it starts near 0), wrapping modulo 2^32; a system clock set
// back does not move it.
uint32_t MilliClock();

// The calendar time in whole seconds.
int64_t CalendarTime();

// Local time parts of calendar seconds; false when the system cannot convert
// them (out clears to zeros then).
bool LocalCalendar(int64_t seconds, std::tm& out);

// The local time as ctime writes it, without its newline: 24 characters such as
// "Wed Jun 30 21:49:08 1993". A time the system cannot convert, or past year
// 9999, gives "??? ??? ?? ??:??:?? ????" so the width never changes.
std::string CalendarText(int64_t seconds);

// A clock a test sets by hand. It installs itself while it lives and puts the
// earlier source back when it goes. Starts at the readings given.
class FakeClock : public ClockSource {
public:
    explicit FakeClock(uint32_t milliseconds = 0, int64_t calendarSeconds = 0);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    uint32_t Milliseconds() override { return milliseconds_; }
    int64_t CalendarSeconds() override { return calendarSeconds_; }

    void SetMilliseconds(uint32_t milliseconds) { milliseconds_ = milliseconds; }
    // Moves the millisecond counter on, wrapping modulo 2^32 like the real one.
    void AdvanceMilliseconds(uint32_t delta);
    void SetCalendarSeconds(int64_t seconds) { calendarSeconds_ = seconds; }

private:
    uint32_t milliseconds_;
    int64_t calendarSeconds_;
    ClockSource* previous_;
};

} // namespace platform
