// Intercept.cpp: the intercept triangle in fixed point: speeds in 1/4096
// knot, sines and ratios in Q23, the time of flight in Q23 hours.
#include "engagement/Intercept.h"

#include <cstdint>

#include "core/ErrorReport.h"
#include "core/LongMath.h"
#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/Units.h"

namespace {

constexpr const char* SOURCE = "INTRCEPT";
// A meeting further away than this many whole hours has a Q23 time that
// does not fit 32 bits.
constexpr int32_t MAX_HOURS = 255;
constexpr int32_t SECONDS_PER_HOUR = 3600;

int32_t Mul(int32_t a, int32_t b, int32_t line)
{
    return LongMath::LongMulLong(a, b, true, SOURCE, line);
}

int32_t Div(int32_t a, int32_t b, int32_t line)
{
    return LongMath::LongDivLong_TableShiftLeft(a, b, true, SOURCE, line);
}

// Knots into speed units, shifted in 32 bits as the stored speeds are.
int32_t ToSpeedUnits(int32_t knots)
{
    return static_cast<int32_t>(static_cast<uint32_t>(knots) << 12);
}

}  // namespace

bool ComputeIntercept(const LatLonPoint& targetPosition, int32_t targetCourse, int32_t targetSpeed,
                      const LatLonPoint& pursuerPosition, int32_t* outCourse, int32_t interceptSpeed,
                      int32_t* outTime, LatLonPoint* outPoint)
{
    if (interceptSpeed <= 0) {
        *outTime = 0;
        return false;
    }
    const NavVector toTarget = NavMath::Get_Vector(pursuerPosition, targetPosition);
    const int32_t range = toTarget.range;
    const int32_t bearing = toTarget.bearing;

    // The pursuer's bearing from the target, relative to the target's course;
    // exactly a full circle stays a full circle (dead ahead).
    const int64_t reciprocal = bearing >= ANGLE_HALF ? int64_t{bearing} - ANGLE_HALF : int64_t{bearing} + ANGLE_HALF;
    int64_t relative = reciprocal - targetCourse;
    while (relative < 0)
        relative += ANGLE_FULL;
    while (relative > ANGLE_FULL)
        relative -= ANGLE_FULL;
    const int32_t angle = static_cast<int32_t>(relative);

    if (angle >= ANGLE_RIGHT && angle <= 3 * ANGLE_RIGHT && targetSpeed >= interceptSpeed) {
        *outTime = 0;
        return false;
    }
    const int32_t targetVelocity = ToSpeedUnits(targetSpeed);
    const int32_t pursuerVelocity = ToSpeedUnits(interceptSpeed);
    const int32_t crossing = Mul(targetVelocity, Sine::Int_sin(angle), __LINE__);
    if (int64_t{crossing} > pursuerVelocity || -int64_t{crossing} > pursuerVelocity) {
        *outTime = 0;
        return false;
    }
    if (pursuerVelocity == 0) {
        FatalError("Intercept: interceptSpeed == 0");
        return false;
    }
    const int32_t callersCourse = *outCourse;
    const int32_t lead = Sine::Int_arcsin(Div(crossing, pursuerVelocity, __LINE__));
    *outCourse = lead;

    const int32_t folded = angle <= ANGLE_HALF ? angle : ANGLE_FULL - angle;
    const int32_t atMeeting = ANGLE_HALF - (LongMath::LongAbs(lead) + folded);
    // Each part fits 32 bits; their sum may not, for speeds beyond 262143
    // knots each.
    const int64_t closingSpeed = int64_t{Mul(targetVelocity, Sine::Int_cos(angle), __LINE__)}
                                 + Mul(pursuerVelocity, Sine::Int_cos(lead), __LINE__);
    // Positive whenever both speeds are; a target given a negative speed
    // (sternway) can leave it at 0 or below.
    if (closingSpeed <= 0) {
        *outCourse = callersCourse;
        *outTime = 0;
        return false;
    }
    if (range / closingSpeed > MAX_HOURS) {
        *outTime = -1;
        return false;
    }
    // Below 256 hours the Q23 time fits 32 bits whatever the divisor.
    const int32_t hours = closingSpeed <= INT32_MAX
                              ? Div(range, static_cast<int32_t>(closingSpeed), __LINE__)
                              : static_cast<int32_t>(int64_t{range} * FIXED_ONE / closingSpeed);
    *outTime = hours;

    int64_t course = int64_t{bearing} + lead;
    if (course < 0)
        course += ANGLE_FULL;
    else if (course > ANGLE_FULL)
        course -= ANGLE_FULL;
    *outCourse = static_cast<int32_t>(course);

    // The pursuer's run: along the line of sight when it lies dead ahead or
    // astern of the target, else by the law of sines.
    const int32_t sinMeeting = Sine::Int_sin(atMeeting);
    int32_t run = 0;
    if (sinMeeting == 0)
        run = Mul(hours, pursuerVelocity, __LINE__);
    else
        run = LongMath::LongAbs(Div(Mul(range, Sine::Int_sin(angle), __LINE__), sinMeeting, __LINE__));
    *outPoint = targetVelocity != 0 ? NavMath::Get_LatLonPoint_From_Vector(pursuerPosition, run, *outCourse)
                                    : targetPosition;
    *outTime = Mul(hours, SECONDS_PER_HOUR, __LINE__);
    return true;
}
