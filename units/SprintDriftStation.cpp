// SprintDriftStation.cpp: the sprint point and the sprint-drift cycle.
#include "units/SprintDriftStation.h"

#include <algorithm>

#include "core/ErrorReport.h"
#include "core/LongMath.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/Sine.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {
// Random bearings ahead and astern step by a tenth of a degree.
constexpr int32_t BEARING_STEP = ANGLE_PER_DEGREE / 10;   // 24576
}  // namespace

void SprintDriftStation::GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t)
{
    PlaceSprintPoint(out, reference, false);
}

bool SprintDriftStation::IsInStation(const LatLonPoint& reference, int32_t axisBearing)
{
    if (leg >= 0) {
        mode = StationMode::IN;
        return true;
    }
    if (!IsInSector(reference, axisBearing))
        return false;
    leg = 0;
    return true;
}

void SprintDriftStation::RequestMove()
{
    if (Unit* const unit = FindStationUnit())
        unit->ClearPath();
}

void SprintDriftStation::CheckStation()
{
    CycleOrMove();
}

int32_t SprintDriftStation::PlaceSprintPoint(LatLonPoint& out, const LatLonPoint& reference, bool random)
{
    const Unit* const unit = FindStationUnit();
    const Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr) {
        out.lat = NO_POINT.lat;
        return 0;
    }
    const SectorPlace place = PlaceSector(*group);
    int32_t bearing = 0;
    int32_t range = 0;
    int32_t legLength = 0;
    if (place.side == SectorSide::PORT_BEAM || place.side == SectorSide::STARBOARD_BEAM) {
        // The sector's forward limit, across the beam at a middle range.
        bearing = place.side == SectorSide::PORT_BEAM ? rightBearing : leftBearing;
        range = random ? Clamp32(int64_t{minRange} + RandomBelow(Clamp32(int64_t{maxRange} - minRange)))
                       : static_cast<int32_t>((int64_t{minRange} + maxRange) >> 1);
        const int32_t halfChord =
            LongMath::LongMulLong(range, Sine::Int_sin(Clamp32(int64_t{rightBearing} - place.mid)), true, "STATSD", 567);
        legLength = static_cast<int32_t>(std::clamp<int64_t>(2 * int64_t{halfChord}, INT32_MIN, INT32_MAX));
    } else {
        range = place.side == SectorSide::AHEAD ? maxRange : minRange;
        bearing = place.mid;
        if (random) {
            const int32_t steps = Clamp32((rightBearing - place.leftFrom) / BEARING_STEP);
            bearing = Clamp32(place.leftFrom + int64_t{RandomBelow(steps)} * BEARING_STEP);
        }
        legLength = Clamp32(int64_t{maxRange} - minRange);
    }
    int64_t aim = int64_t{bearing} + group->GetAxisBearing(axis);
    while (aim < 0)
        aim += ANGLE_FULL;
    while (aim >= ANGLE_FULL)
        aim -= ANGLE_FULL;
    out = NavMath::Get_LatLonPoint_From_Vector(reference, range, static_cast<int32_t>(aim));
    return legLength;
}

// The unit sprints to a point ahead of the group's future place in the
// sector, slows to the drift speed there (the speed order hangs on the
// point), and the next cycle starts when the group has closed the leg at the
// difference of the two speeds (an hour at most).
void SprintDriftStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    const uint16_t groupSpeed = group->speed;
    const bool hadPath = unit->GetPath() != nullptr;
    const LatLonPoint start = RestartFrom(*unit);
    const int32_t axisBearing = group->GetAxisBearing(axis);
    const int16_t altitude = unit->PositionObject::GetAltitude();
    const uint16_t sprintSpeed = unit->GetMaxSpeedAtAltitude(2, altitude);

    if (groupSpeed >= sprintSpeed) {
        // Too slow to sprint ahead: keep plain station, or wait.
        if (IsInSector(group->GetPosition(), axisBearing)) {
            leg = 0;
            StationRecord::ReturnToStation();
            mode = StationMode::STEERING;
            if (unit->speed != groupSpeed)
                PostSpeed(unitID, groupSpeed);
        } else {
            leg = -1;
            PostStationEvent(EventCode::STATION_UPDATE, unitID, WAIT_SECONDS);
        }
        return;
    }

    LatLonPoint aim;
    const int32_t legLength = PlaceSprintPoint(aim, group->GetPosition(), true);
    int32_t course = 0;
    int32_t seconds = 0;
    LatLonPoint meeting = aim;
    if (!engage::ComputeIntercept(aim, group->GetCourse(), groupSpeed, start, &course, sprintSpeed, &seconds,
                                  &meeting)) {
        ReportResourceText(NO_MEETING_TEXT, "SprintDriftStation::ReturnToStation", PostToMessageLog);
        leg = -1;
        mode = StationMode::OUT;
        PostStationEvent(EventCode::STATION_UPDATE, unitID, WAIT_SECONDS);
        return;
    }
    if (!Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), meeting))
        FindReachablePoint(meeting, group->GetPosition(), axisBearing);

    const uint16_t driftSpeed = std::min(groupSpeed, unit->GetMaxSpeedAtAltitude(0, altitude));
    Chain<PositionNode> path;
    auto* const sprintEnd = new PositionNode(meeting, altitude);
    sprintEnd->AddEvent(MakeSetSpeedEvent(unitID, driftSpeed, GameTime(0)));
    path.Append(sprintEnd);
    if (hadPath) {
        LatLonPoint stationPoint;
        GetStationPoint(stationPoint, group->GetPosition(), axisBearing);
        path.Append(new PositionNode(stationPoint, altitude));
    }
    leg = Game2UI::BuildNavPath(unitID, path.First()) ? 0 : -1;
    Game2UI::SetUnitPath(unitID, path.First());
    PostSpeed(unitID, sprintSpeed);

    int64_t drift = MAX_DRIFT_SECONDS;
    if (driftSpeed != groupSpeed)
        drift = std::clamp<int64_t>(LegSeconds(legLength, groupSpeed - driftSpeed), 0, MAX_DRIFT_SECONDS);
    const int64_t delay = std::max<int64_t>(seconds, 0) + drift;
    PostStationEvent(EventCode::STATION_MOVE, unitID, static_cast<uint32_t>(delay));
}
