// MissionApproach.cpp: approach planning. Before a mission orders a unit or
// aircraft out against a contact it works out where the unit goes, at which
// propulsion setting and how long the leg takes: straight toward the contact
// until the unit's reach covers it, or to an intercept point when the
// contact's course and speed are held. The mission types change the plan
// through RateUnitForClass, GetTaskAltitude, GetUnitRange and GetPlaneRange.
#include "missions/MissionRecord.h"

#include <cstdint>

#include "core/LongMath.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "engagement/Contact.h"
#include "engagement/Intercept.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"

namespace {

// Contact classes planned as an intercept: surface, subsurface, air, the
// missile class and the torpedo classes.
constexpr uint32_t INTERCEPT_CLASSES = 0x180F;
// Course and speed of the contact both held.
constexpr uint16_t COURSE_AND_SPEED = ContactKnown::COURSE | ContactKnown::SPEED;
// A meeting further off than this (seconds) moves the point only a quarter
// of the way toward it, so that the mission plans again on the way.
constexpr uint32_t NEAR_MEETING_SECONDS = 30;
// Aircraft legs start at the cruise setting.
constexpr uint8_t AIRCRAFT_LEG_SETTING = 1;
constexpr uint16_t DEGREES_PER_CIRCLE = 360;
// A weapon reach is given in tenths of a nautical mile.
constexpr int32_t RANGE_PER_TENTH = 409;
constexpr int64_t SECONDS_PER_HOUR = 3600;

// The bearing back from the point to the unit.
int32_t ReverseBearing(int32_t bearing)
{
    return bearing >= ANGLE_HALF ? bearing - ANGLE_HALF : bearing + ANGLE_HALF;
}

// Where the unit aims for: the distance d to the point less its reach r1
// when the point lies beyond it; else less its shortest weapon reach r2 when
// the point lies beyond that; else the unit backs off by r2 - d, on the
// bearing from the point to the unit.
struct ApproachLeg {
    int32_t length = 0;
    int32_t bearing = 0;
};

ApproachLeg LegToward(const NavVector& toPoint, uint32_t reach, uint32_t shortestReach)
{
    const int64_t d = toPoint.range;
    if (int64_t{reach} < d)
        return {static_cast<int32_t>(d - reach), toPoint.bearing};
    if (int64_t{shortestReach} < d)
        return {static_cast<int32_t>(d - shortestReach), toPoint.bearing};
    return {static_cast<int32_t>(shortestReach - d), ReverseBearing(toPoint.bearing)};
}

// The unit's shortest weapon reach against the class in range units.
uint32_t ShortestReach(const Unit& unit, uint32_t classBits)
{
    return uint32_t{unit.GetShortestWeaponReach(classBits)} * RANGE_PER_TENTH;
}

}  // namespace

void MissionRecord::PlanApproach(Contact* contact, Unit* unit, uint16_t value, uint32_t& setting, int16_t& altitude,
                                 uint32_t& time, LatLonPoint& point)
{
    if (!contact || !unit) {
        time = 0;
        return;
    }
    const uint32_t classBits = contact->GetTypeFlags();
    contact->GetPosition(point);
    altitude = GetTaskAltitude(unit, value, classBits);
    const bool found = (classBits & INTERCEPT_CLASSES)
                           ? PlanInterceptApproach(contact, unit, setting, altitude, time, point, classBits)
                           : PlanDirectApproach(contact, unit, setting, altitude, time, point, classBits);
    if (!found)
        time = 0;
}

bool MissionRecord::PlanDirectApproach(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude,
                                       uint32_t& time, LatLonPoint& point, uint32_t classBits)
{
    if (!contact || !unit)
        return false;
    setting = RateUnitForClass(unit->GetTypeLetter(), classBits, 0);
    const uint16_t speed = unit->GetMaxSpeedAtAltitude(static_cast<int16_t>(setting), altitude);
    if (speed == 0) {
        time = 0;
        return false;
    }
    const LatLonPoint from = unit->GetPosition();
    const ApproachLeg leg = LegToward(NavMath::Get_Vector(from, point), GetUnitRange(unit, classBits),
                                      ShortestReach(*unit, classBits));

    // Seconds = 3600 x leg / (speed x 4096), the quotient at the finest scale
    // that holds it.
    int32_t shift = 0;
    const int32_t hours = LongMath::LongDivLong_UseShiftLeft(leg.length, int32_t{speed} * RANGE_PER_NM, shift);
    time = static_cast<uint32_t>(LongMath::LongMulLong_UseShiftRight(hours, 3600, shift));

    // A leg the unit may not take, or one over a mile, is halved; the first
    // leg the unit may take is offered to it.
    int32_t length = leg.length;
    for (;;) {
        const LatLonPoint p = NavMath::Get_LatLonPoint_From_Vector(from, length, leg.bearing);
        const bool valid = Nav2Game::PointValidForUnit(unit->GetID(), p);
        if (!valid || length > RANGE_PER_NM) {
            length >>= 1;
            if (length == 0)
                return false;
        }
        if (valid)
            return unit->CanReachPoint(p, speed, altitude);
    }
}

bool MissionRecord::PlanInterceptApproach(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude,
                                          uint32_t& time, LatLonPoint& point, uint32_t classBits)
{
    if (!contact || !unit)
        return false;
    if ((contact->knownBits & COURSE_AND_SPEED) != COURSE_AND_SPEED)
        return PlanDirectApproach(contact, unit, setting, altitude, time, point, classBits);

    int32_t trial = RateUnitForClass(unit->GetTypeLetter(), classBits, 1);
    setting = static_cast<uint32_t>(trial);
    const LatLonPoint from = unit->GetPosition();
    const ApproachLeg leg = LegToward(NavMath::Get_Vector(from, point), GetUnitRange(unit, classBits),
                                      ShortestReach(*unit, classBits));
    const LatLonPoint aim = NavMath::Get_LatLonPoint_From_Vector(from, leg.length, leg.bearing);
    // The course is whole degrees; a damaged figure is taken round the
    // circle rather than overflowing the angle.
    const int32_t contactCourse = int32_t{contact->course % DEGREES_PER_CIRCLE} * ANGLE_PER_DEGREE;

    bool found = false;
    while (!found && MayAttack(unit, trial)) {
        setting = static_cast<uint32_t>(trial);
        const uint16_t speed = unit->GetMaxSpeedAtAltitude(static_cast<int16_t>(trial), altitude);
        int32_t course = 0;
        int32_t seconds = 0;
        LatLonPoint meeting = aim;
        const bool solved = ComputeIntercept(point, contactCourse, contact->speed, from, &course, speed,
                                                     &seconds, &meeting);
        time = static_cast<uint32_t>(seconds);
        if (solved && unit->CanReachPoint(meeting, speed, altitude)) {
            point = meeting;
            found = true;
        } else {
            trial = NextAttackStep(unit, trial);
        }
    }

    // The order goes toward the point: a quarter of the way when the meeting
    // is further off, so that the mission plans again on the way.
    NavVector toPoint = NavMath::Get_Vector(from, point);
    if (time > NEAR_MEETING_SECONDS)
        toPoint.range >>= 2;
    point = NavMath::Get_LatLonPoint_From_Vector(from, toPoint.range, toPoint.bearing);
    return found;
}

bool MissionRecord::PlanAircraftLeg(PlaneRec* record, Unit* holder, uint32_t& setting, int16_t altitude,
                                    uint32_t& time, const LatLonPoint& point, uint32_t classBits)
{
    setting = AIRCRAFT_LEG_SETTING;
    if (!record || !holder) {
        time = 0;
        return false;
    }
    const uint16_t speed = record->GetSpeedAtAltitude(AIRCRAFT_LEG_SETTING, altitude);
    if (speed == 0) {
        time = 0;
        return false;
    }
    int64_t distance = NavMath::Get_Vector(holder->GetPosition(), point).range;
    const uint32_t reach = GetPlaneRange(record, classBits);
    if (reach != 0 && distance - int64_t{reach} > RANGE_PER_NM)
        distance -= reach;
    time = LegSeconds(distance, speed);
    return record->CanReach(point, speed, altitude);
}

uint32_t MissionRecord::LegSeconds(int64_t distance, uint16_t knots)
{
    constexpr int64_t SATURATED = INT32_MAX;
    if (distance <= 0)
        return 0;
    if (knots == 0)
        return static_cast<uint32_t>(SATURATED);
    // Hours as a Q23 quotient, then seconds, both truncated toward zero as
    // the 32-bit routines truncate; a range never exceeds 32 bits, so the
    // products stay below 2^55.
    const int64_t clamped = distance > INT32_MAX ? int64_t{INT32_MAX} : distance;
    const int64_t hours = clamped * FIXED_ONE / (int64_t{knots} * RANGE_PER_NM);
    const int64_t seconds = hours * SECONDS_PER_HOUR / FIXED_ONE;
    return static_cast<uint32_t>(seconds > SATURATED ? SATURATED : seconds);
}
