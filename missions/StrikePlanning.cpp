// StrikePlanning.cpp: the strike's four planners, for units and aircraft
// records against moving and fixed targets. Each decides whether the mover
// can get to the target and, for units, at which propulsion setting, in
// what time and toward which point. Leg times go through LegSeconds, so a
// slow unit far away gets a long time, never an arithmetic overflow.
#include "missions/StrikeMission.h"

#include "core/NavMath.h"
#include "core/Units.h"
#include "engagement/Contact.h"
#include "engagement/Intercept.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"

namespace {

constexpr uint16_t COURSE_AND_SPEED = ContactKnown::COURSE | ContactKnown::SPEED;
constexpr uint16_t DEGREES_PER_CIRCLE = 360;
// Aircraft try their fastest setting first, then the slower ones down to 1.
constexpr int32_t AIRCRAFT_FIRST_SETTING = 3;
constexpr int32_t AIRCRAFT_LAST_SETTING = 1;
constexpr uint8_t AIRCRAFT_FIXED_SETTING = 1;

bool HasCourseAndSpeed(const Contact& contact)
{
    return (contact.knownBits & COURSE_AND_SPEED) == COURSE_AND_SPEED;
}

// The contact's course as an angle; a damaged figure is taken round the
// circle rather than overflowing the angle.
int32_t CourseAngleOf(const Contact& contact)
{
    return int32_t{contact.course % DEGREES_PER_CIRCLE} * ANGLE_PER_DEGREE;
}

// Moves point to `standoff` short of it on the line from `from`, when the
// line is longer than the standoff.
void StopShortOf(const LatLonPoint& from, LatLonPoint& point, uint32_t standoff)
{
    const NavVector v = NavMath::Get_Vector(from, point);
    const int64_t toGo = int64_t{v.range} - standoff;
    if (toGo > 0)
        point = NavMath::Get_LatLonPoint_From_Vector(from, static_cast<int32_t>(toGo), v.bearing);
}

// The point half-way from `from` to point, on the same bearing.
LatLonPoint HalfWay(const LatLonPoint& from, const LatLonPoint& point)
{
    const NavVector v = NavMath::Get_Vector(from, point);
    return NavMath::Get_LatLonPoint_From_Vector(from, v.range / 2, v.bearing);
}

bool IsAircraft(const Unit& unit)
{
    return unit.GetTypeLetter() == 'P' || unit.GetTypeLetter() == 'A';
}

}  // namespace

bool StrikeMission::PlanMovingTarget(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude,
                                     uint32_t& time, LatLonPoint& point, uint32_t classBits)
{
    if (!contact || !unit)
        return false;
    if (!HasCourseAndSpeed(*contact))
        return PlanDirectApproach(contact, unit, setting, altitude, time, point, classBits);

    int32_t mode = RateUnitForClass(unit->GetTypeLetter(), classBits, 1);
    setting = static_cast<uint32_t>(mode);
    const LatLonPoint from = unit->GetPosition();
    StopShortOf(from, point, GetUnitRange(unit, classBits));
    const int32_t course = CourseAngleOf(*contact);

    bool found = false;
    while (!found && MayAttack(unit, mode)) {
        setting = static_cast<uint32_t>(mode);
        const uint16_t speed = unit->GetMaxSpeedAtAltitude(static_cast<int16_t>(mode), altitude);
        int32_t steer = 0;
        int32_t seconds = 0;
        LatLonPoint meeting = point;
        const bool solved = ComputeIntercept(point, course, contact->speed, from, &steer, speed, &seconds, &meeting);
        if (solved && unit->CanReachPoint(meeting, speed, altitude)) {
            time = static_cast<uint32_t>(seconds);
            point = meeting;
            found = true;
        } else {
            mode = NextAttackStep(unit, mode);
        }
    }
    // The order goes half-way, so that the strike plans again on the way.
    point = HalfWay(from, point);
    return found;
}

bool StrikeMission::PlanFixedTarget(Contact* contact, Unit* unit, uint32_t& setting, int16_t altitude,
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
    const NavVector v = NavMath::Get_Vector(from, point);
    // Short of the target by the standoff; inside it, short by the unit's
    // sensor reach; inside that too, all the way.
    int64_t distance = int64_t{v.range} - GetUnitRange(unit, classBits);
    if (distance < 1) {
        distance = int64_t{v.range} - int64_t{unit->GetSensorReach(classBits)} * RANGE_PER_NM;
        if (distance <= 0)
            distance = v.range;
    }
    time = LegSeconds(distance, speed);
    point = NavMath::Get_LatLonPoint_From_Vector(from, static_cast<int32_t>(distance), v.bearing);
    if (!Nav2Game::PointValidForUnit(unit->GetID(), point))
        return false;
    const bool reached = unit->CanReachPoint(point, speed, altitude);
    // Aircraft are ordered half-way when that point may be flown to.
    const int32_t half = static_cast<int32_t>(distance / 2);
    if (IsAircraft(*unit) && half != 0) {
        const LatLonPoint halfWay = NavMath::Get_LatLonPoint_From_Vector(from, half, v.bearing);
        if (Nav2Game::PointValidForUnit(unit->GetID(), halfWay))
            point = halfWay;
    }
    return reached;
}

bool StrikeMission::PlanMovingTargetForAircraft(Contact* contact, PlaneRec* record, Unit* holder, uint32_t& setting,
                                                int16_t altitude, uint32_t& time, LatLonPoint& point,
                                                uint32_t classBits)
{
    if (!contact || !record || !holder)
        return false;
    if (!HasCourseAndSpeed(*contact))
        return PlanAircraftLeg(record, holder, setting, altitude, time, point, classBits);

    const LatLonPoint from = holder->GetPosition();
    StopShortOf(from, point, GetPlaneRange(record, classBits));
    const int32_t course = CourseAngleOf(*contact);
    bool found = false;
    for (int32_t mode = AIRCRAFT_FIRST_SETTING; !found && mode >= AIRCRAFT_LAST_SETTING; --mode) {
        setting = static_cast<uint32_t>(mode);
        const uint16_t speed = record->GetSpeedAtAltitude(static_cast<uint8_t>(mode), altitude);
        int32_t steer = 0;
        int32_t seconds = 0;
        LatLonPoint meeting = point;
        const bool solved = ComputeIntercept(point, course, contact->speed, from, &steer, speed, &seconds, &meeting);
        if (solved && record->CanReach(meeting, speed, altitude)) {
            time = static_cast<uint32_t>(seconds);
            point = meeting;
            found = true;
        }
    }
    point = HalfWay(from, point);
    return found;
}

bool StrikeMission::PlanFixedTargetForAircraft(Contact* contact, PlaneRec* record, Unit* holder, uint32_t& setting,
                                               int16_t altitude, uint32_t& time, LatLonPoint& point,
                                               uint32_t classBits)
{
    if (!contact || !record || !holder)
        return false;
    setting = AIRCRAFT_FIXED_SETTING;
    const uint16_t speed = record->GetSpeedAtAltitude(AIRCRAFT_FIXED_SETTING, altitude);
    if (speed == 0) {
        time = 0;
        return false;
    }
    const NavVector v = NavMath::Get_Vector(holder->GetPosition(), point);
    int64_t distance = int64_t{v.range} - GetPlaneRange(record, classBits);
    if (distance <= 0)
        distance = v.range;
    time = LegSeconds(distance, speed);
    return record->CanReach(point, speed, altitude);
}
