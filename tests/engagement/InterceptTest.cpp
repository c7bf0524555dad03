// InterceptTest.cpp: the intercept triangle: a stationary target, the
// pursuer dead ahead and dead astern, abeam and on the quarter at equal
// speeds, both hands, the 255-hour limit, a pursuer that cannot move, equal
// speeds a hair forward of the beam, a closing speed of 0 or below (a target
// making sternway) and one past 32 bits.
#include <gtest/gtest.h>

#include <cstdint>

#include "core/LongMath.h"
#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/Units.h"
#include "engagement/Intercept.h"
#include "support/ReportCapture.h"

namespace {

constexpr int32_t NM = RANGE_PER_NM;
const LatLonPoint ORIGIN{0, 0};

// Untouched outputs show as these.
constexpr int32_t UNSET_COURSE = 12345;
constexpr int32_t UNSET_TIME = 777;
const LatLonPoint UNSET_POINT{99, 99};

struct Answer {
    bool found = false;
    int32_t course = UNSET_COURSE;
    int32_t time = UNSET_TIME;
    LatLonPoint point = UNSET_POINT;
};

Answer Solve(const LatLonPoint& target, int32_t course, int32_t speed, const LatLonPoint& pursuer, int32_t pursuerSpeed)
{
    Answer a;
    a.found = ComputeIntercept(target, course, speed, pursuer, &a.course, pursuerSpeed, &a.time, &a.point);
    return a;
}

TEST(ComputeIntercept, StationaryTargetIsRunDownOnItsBearing)
{
    const LatLonPoint target{30 * NM, 0};   // 30 nm north
    const Answer a = Solve(target, ANGLE_RIGHT, 0, ORIGIN, 10);
    ASSERT_TRUE(a.found);
    EXPECT_EQ(a.point, target);
    const NavVector v = NavMath::Get_Vector(ORIGIN, target);
    EXPECT_EQ(a.course, v.bearing);
    EXPECT_NEAR(a.time, 3 * 3600, 2);   // 30 nm at 10 kn
}

TEST(ComputeIntercept, DeadAheadAndDeadAsternRunAlongTheLineOfSight)
{
    const LatLonPoint target{20 * NM, 0};
    // Target steaming south toward the pursuer: the pursuer lies dead ahead.
    const Answer ahead = Solve(target, ANGLE_HALF, 10, ORIGIN, 10);
    ASSERT_TRUE(ahead.found);
    EXPECT_NEAR(ahead.time, 3600, 2);   // closing at 20 kn
    EXPECT_EQ(ahead.course, NavMath::Get_Vector(ORIGIN, target).bearing);
    EXPECT_NEAR(ahead.point.lat, 10 * NM, 8);
    // The same course a full turn back: the relative angle is a full circle
    // and stays one, dead ahead all the same.
    const Answer turned = Solve(target, ANGLE_HALF - ANGLE_FULL, 10, ORIGIN, 10);
    ASSERT_TRUE(turned.found);
    EXPECT_EQ(turned.time, ahead.time);
    EXPECT_EQ(turned.course, ahead.course);
    EXPECT_EQ(turned.point, ahead.point);
    // Target steaming north away from a faster pursuer: dead astern.
    const Answer astern = Solve(target, 0, 10, ORIGIN, 20);
    ASSERT_TRUE(astern.found);
    EXPECT_NEAR(astern.time, 2 * 3600, 2);   // closing at 10 kn
    EXPECT_NEAR(astern.point.lat, 40 * NM, 8);
}

TEST(ComputeIntercept, AbeamOrOnTheQuarterAtEqualSpeedIsNoIntercept)
{
    const LatLonPoint target{20 * NM, 0};
    // The pursuer south of the target: abeam when the target steams east or west.
    for (int32_t course : {ANGLE_RIGHT, 3 * ANGLE_RIGHT, 0}) {   // beam, beam, dead astern
        SCOPED_TRACE(course);
        const Answer a = Solve(target, course, 15, ORIGIN, 15);
        EXPECT_FALSE(a.found);
        EXPECT_EQ(a.time, 0);
        EXPECT_EQ(a.course, UNSET_COURSE);
        EXPECT_EQ(a.point, UNSET_POINT);
    }
}

TEST(ComputeIntercept, LeadsTowardTheTargetsTravelOnEitherHand)
{
    const LatLonPoint target{20 * NM, 0};
    const Answer east = Solve(target, ANGLE_RIGHT, 10, ORIGIN, 20);       // crossing left to right
    const Answer west = Solve(target, 3 * ANGLE_RIGHT, 10, ORIGIN, 20);   // right to left
    ASSERT_TRUE(east.found);
    ASSERT_TRUE(west.found);
    EXPECT_GT(east.course, 0);
    EXPECT_LT(east.course, ANGLE_RIGHT);
    EXPECT_GT(west.course, 3 * ANGLE_RIGHT);   // wrapped through north
    EXPECT_LT(west.course, ANGLE_FULL);
    EXPECT_NEAR(east.course, ANGLE_FULL - west.course, 2);
    EXPECT_EQ(east.time, west.time);
    EXPECT_GT(east.point.lon, 0);
    EXPECT_LT(west.point.lon, 0);
}

TEST(ComputeIntercept, A255HourMeetingSucceedsAnd256HoursDoesNot)
{
    // A stationary target and a 1 kn pursuer: the range in nautical miles is
    // the time in hours.
    const Answer near = Solve({255 * NM + NM / 2, 0}, 0, 0, ORIGIN, 1);
    ASSERT_TRUE(near.found);
    EXPECT_NEAR(near.time, 255 * 3600 + 1800, 20);
    const Answer far = Solve({256 * NM + NM / 2, 0}, 0, 0, ORIGIN, 1);
    EXPECT_FALSE(far.found);
    EXPECT_EQ(far.time, -1);
    EXPECT_EQ(far.point, UNSET_POINT);
    EXPECT_EQ(far.course, 0);   // the lead angle, 0 for a stationary target
}

TEST(ComputeIntercept, NoPursuerSpeedTouchesNothing)
{
    for (int32_t speed : {0, -5}) {
        const Answer a = Solve({10 * NM, 0}, 0, 5, ORIGIN, speed);
        EXPECT_FALSE(a.found);
        EXPECT_EQ(a.time, 0);
        EXPECT_EQ(a.course, UNSET_COURSE);
        EXPECT_EQ(a.point, UNSET_POINT);
    }
}

// Equal speeds with the pursuer a hair forward of the target's beam, on
// either hand: the closing speed comes out of truncated products. Whatever
// they leave, the answer is an intercept with a time, or none with time 0,
// or none with time -1 when it closes too slowly, and never a fatal error.
TEST(ComputeIntercept, NearTheBeamAtEqualSpeedsNoFatalError)
{
    ReportCapture reports;
    const LatLonPoint target{20 * NM, 0};   // the pursuer lies due south of it
    for (int32_t speed : {1, 10, 30, 2048, 65535}) {
        for (int32_t k = -8; k <= 8; ++k) {
            // Relative angle = 180 degrees - course: starboard beam at
            // course 90 degrees, port beam at 270.
            for (int32_t beam : {ANGLE_RIGHT, 3 * ANGLE_RIGHT}) {
                SCOPED_TRACE(testing::Message() << speed << " kn, " << beam << " + " << k);
                const Answer a = Solve(target, beam + k, speed, ORIGIN, speed);
                if (a.found) {
                    EXPECT_GT(a.time, 0);
                } else if (a.time == -1) {   // closing too slowly: 256 hours or more
                    EXPECT_EQ(a.point, UNSET_POINT);
                } else {
                    EXPECT_EQ(a.time, 0);
                    EXPECT_EQ(a.course, UNSET_COURSE);
                    EXPECT_EQ(a.point, UNSET_POINT);
                }
            }
        }
    }
    EXPECT_TRUE(reports.fatals.empty());
}

// A target making sternway as fast as the pursuer closes on it from dead
// ahead: the closing speed is exactly 0; one making more sternway opens the
// range. Neither is an intercept, and neither is a fatal error.
TEST(ComputeIntercept, AClosingSpeedOfZeroOrLessIsNoIntercept)
{
    ReportCapture reports;
    const LatLonPoint target{20 * NM, 0};   // steaming south, the pursuer dead ahead
    for (int32_t sternway : {-10, -25}) {
        SCOPED_TRACE(sternway);
        const Answer a = Solve(target, ANGLE_HALF, sternway, ORIGIN, 10);
        EXPECT_FALSE(a.found);
        EXPECT_EQ(a.time, 0);
        EXPECT_EQ(a.course, UNSET_COURSE);
        EXPECT_EQ(a.point, UNSET_POINT);
    }
    EXPECT_TRUE(reports.fatals.empty());
}

// Speeds so high that the two parts of the closing speed together pass 32
// bits: the meeting still comes out halfway for equal speeds head on.
TEST(ComputeIntercept, AClosingSpeedBeyond32BitsStillMeets)
{
    ReportCapture reports;
    constexpr int32_t FASTEST = 0x7FFFF;   // the largest speed whose units fit 32 bits
    const LatLonPoint target{20 * NM, 0};
    const Answer a = Solve(target, ANGLE_HALF, FASTEST, ORIGIN, FASTEST);
    ASSERT_TRUE(a.found);
    EXPECT_EQ(a.time, 0);   // well under a second
    EXPECT_EQ(a.course, NavMath::Get_Vector(ORIGIN, target).bearing);
    EXPECT_NEAR(a.point.lat, 10 * NM, 8);
    EXPECT_TRUE(reports.fatals.empty());
}

}  // namespace
