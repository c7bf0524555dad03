// RandomStations.cpp: the corner cycle of a random station.
#include "units/RandomStations.h"

#include <algorithm>

#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

void RandomStation::GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing)
{
    const bool outer = leg == OUTER_RIGHT || leg == OUTER_LEFT;
    const bool left = leg == OUTER_LEFT || leg == INNER_LEFT;
    int64_t bearing = int64_t{left ? leftBearing : rightBearing} + axisBearing;
    while (bearing > ANGLE_FULL)
        bearing -= ANGLE_FULL;
    out = NavMath::Get_LatLonPoint_From_Vector(reference, outer ? maxRange : minRange, static_cast<int32_t>(bearing));
}

bool RandomStation::IsInStation(const LatLonPoint& reference, int32_t axisBearing)
{
    if (leg >= 0) {
        mode = StationMode::IN;
        return true;
    }
    return IsInSector(reference, axisBearing);
}

void RandomStation::CheckStation()
{
    CycleOrMove();
}

// A new corner, never the present one; the slowest speed from 10 knots below
// the group's that meets the corner as it moves with the group; and a path
// to the meeting that starts the next cycle on arrival.
void RandomStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    const uint16_t groupSpeed = group->speed;
    const LatLonPoint start = RestartFrom(*unit);
    const int32_t axisBearing = group->GetAxisBearing(axis);
    const int16_t altitude = unit->PositionObject::GetAltitude();

    int32_t trial = int32_t{groupSpeed} - SPEED_STEP;
    if (trial < 0)
        trial = 5;

    // A generator that keeps answering the present corner (none installed)
    // must not hold the game: after a few draws the next corner is taken.
    int32_t corner = leg;
    for (int draws = 0; draws < 64 && corner == leg; ++draws)
        corner = gam2arena::Random(4);
    if (corner == leg)
        corner = (leg + 1) & 3;
    leg = corner;
    LatLonPoint aim;
    GetStationPoint(aim, group->GetPosition(), axisBearing);

    const int32_t top = unit->GetMaxSpeedAtAltitude(2, altitude);
    int32_t course = 0;
    int32_t seconds = 0;
    LatLonPoint meeting = aim;
    bool found = engage::ComputeIntercept(aim, group->GetAxisBearing(0), groupSpeed, start, &course, trial,
                                          &seconds, &meeting);
    while (!found && trial != top) {
        trial = std::min(trial + SPEED_STEP, top);
        found = engage::ComputeIntercept(aim, group->GetAxisBearing(0), groupSpeed, start, &course, trial,
                                         &seconds, &meeting);
    }
    if (found && Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), meeting)) {
        GivePathTo(unitID, meeting, altitude, MakeStationEvent(EventCode::STATION_MOVE, unitID, GameTime(0)));
        PostSpeed(unitID, static_cast<uint16_t>(trial));
        return;
    }
    if (unit->speed != groupSpeed)
        PostSpeed(unitID, groupSpeed);
    if (found)
        PostStationEvent(EventCode::STATION_MOVE, unitID, RETRY_SECONDS);
    GetStationPoint(aim, group->GetPosition(), axisBearing);
    if (!Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), aim))
        FindReachablePoint(aim, group->GetPosition(), axisBearing);
    GivePathTo(unitID, aim, altitude, nullptr);
}
