// Tests of the clock seam and the calendar text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/Clock.h"

using namespace platform;

namespace {

// Runs a test in UTC and puts the caller's time zone back afterwards.
class InUtc : public testing::Test {
protected:
    void SetUp() override
    {
        const char* zone = std::getenv("TZ");
        hadZone = zone != nullptr;
        if (hadZone)
            savedZone = zone;
        setenv("TZ", "UTC0", 1);
        tzset();
    }
    void TearDown() override
    {
        if (hadZone)
            setenv("TZ", savedZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    bool hadZone = false;
    std::string savedZone;
};

using Calendar = InUtc;

} // namespace

TEST(FakeClock, SetsAndAdvancesBothReadings)
{
    FakeClock clock(1000, 86400);
    EXPECT_EQ(MilliClock(), 1000u);
    EXPECT_EQ(CalendarTime(), 86400);
    clock.AdvanceMilliseconds(250);
    EXPECT_EQ(MilliClock(), 1250u);
    clock.SetMilliseconds(0xFFFFFFF0u);
    clock.AdvanceMilliseconds(0x20);
    EXPECT_EQ(MilliClock(), 0x10u);                      // wraps like the real counter
    clock.SetCalendarSeconds(741476948);
    EXPECT_EQ(CalendarTime(), 741476948);
}

TEST(FakeClock, NestedFakesRestoreInTurn)
{
    {
        FakeClock outer(5);
        {
            FakeClock inner(7);
            EXPECT_EQ(MilliClock(), 7u);
        }
        EXPECT_EQ(MilliClock(), 5u);
    }
    // Real clocks again: never backwards, and the calendar is about now.
    const uint32_t first = MilliClock();
    EXPECT_GE(MilliClock(), first);
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    EXPECT_LE(std::llabs(CalendarTime() - now), 5);
}

TEST(ClockSource, SetReturnsWhatItReplaces)
{
    FakeClock fake(3);
    EXPECT_EQ(SetClockSource(nullptr), &fake);
    EXPECT_EQ(SetClockSource(&fake), nullptr);
    EXPECT_EQ(MilliClock(), 3u);
}

TEST_F(Calendar, CalendarTextHasTheCtimeForm)
{
    struct Row { int64_t seconds; const char* text; };
    const Row rows[] = {
        {0,            "Thu Jan  1 00:00:00 1970"},
        {-1,           "Wed Dec 31 23:59:59 1969"},
        {741476948,    "Wed Jun 30 21:49:08 1993"},
        {951782400,    "Tue Feb 29 00:00:00 2000"},
        {4102444799,   "Thu Dec 31 23:59:59 2099"},
        {253402300799, "Fri Dec 31 23:59:59 9999"},
        {253402300800, "??? ??? ?? ??:??:?? ????"},   // year 10000 would not fit 24
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.seconds);
        EXPECT_EQ(CalendarText(r.seconds), r.text);
        EXPECT_EQ(CalendarText(r.seconds).size(), 24u);
    }
}

TEST_F(Calendar, CalendarTextAgreesWithCtime)
{
    for (int64_t seconds = 0; seconds < 4000000000; seconds += 123456789) {
        const std::time_t when = static_cast<std::time_t>(seconds);
        char buffer[64];
        ASSERT_NE(ctime_r(&when, buffer), nullptr);
        EXPECT_EQ(CalendarText(seconds) + "\n", buffer) << seconds;
    }
}

TEST_F(Calendar, LocalCalendarGivesTheParts)
{
    std::tm parts;
    ASSERT_TRUE(LocalCalendar(741476948, parts));
    EXPECT_EQ(parts.tm_year, 93);
    EXPECT_EQ(parts.tm_mon, 5);
    EXPECT_EQ(parts.tm_mday, 30);
    EXPECT_EQ(parts.tm_hour, 21);
    EXPECT_EQ(parts.tm_min, 49);
    EXPECT_EQ(parts.tm_sec, 8);
    EXPECT_FALSE(LocalCalendar(INT64_MAX, parts));
    EXPECT_EQ(parts.tm_year, 0);
}
