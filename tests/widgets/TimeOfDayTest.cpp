// Tests of the framework's time of day: elapsed hundredths across midnight,
// and the reading following a scripted clock.
#include <gtest/gtest.h>

#include "support/WidgetWorld.h"
#include "widgets/TimeOfDay.h"

namespace {

TEST(ElapsedHundredths, CountsForwardsModuloOneDay)
{
    struct Row {
        int32_t earlier, later, elapsed;
    };
    const Row rows[] = {
        {0, 0, 0},
        {100, 149, 49},
        {UI_HUNDREDTHS_PER_DAY - 20, 29, 49},             // across midnight
        {22 * 360000, 10, 2 * 360000 + 10},               // was negative: a "double click"
        {10, 0, UI_HUNDREDTHS_PER_DAY - 10},
        {0, UI_HUNDREDTHS_PER_DAY - 1, UI_HUNDREDTHS_PER_DAY - 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ElapsedHundredths(r.earlier, r.later), r.elapsed) << r.earlier << " to " << r.later;
}

TEST(TimeOfDayHundredths, FollowsTheClocksAcrossMidnight)
{
    ScriptedTimeOfDay time;
    time.Set(12 * 360000 + 34);
    EXPECT_EQ(TimeOfDayHundredths(), 12 * 360000 + 34);
    time.Advance(5);
    EXPECT_EQ(TimeOfDayHundredths(), 12 * 360000 + 39);
    time.Set(UI_HUNDREDTHS_PER_DAY - 50);
    for (int32_t step = 0; step < 20; ++step) {
        time.Advance(7);
        EXPECT_EQ(TimeOfDayHundredths(), time.Now());
    }
    EXPECT_LT(time.Now(), 100);
    // A clock set back by an hour is taken at once.
    time.Set(3 * 360000);
    EXPECT_EQ(TimeOfDayHundredths(), 3 * 360000);
    time.Set(2 * 360000);
    EXPECT_EQ(TimeOfDayHundredths(), 2 * 360000);
}

} // namespace
