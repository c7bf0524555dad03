// SonobuoyStation.cpp: the sonobuoy line and the laying cycle, and the
// search for a relief aircraft.
#include "units/SonobuoyStation.h"

#include <algorithm>

#include "core/LongMath.h"
#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/Plane.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

int32_t FoldBearing(int64_t bearing)
{
    while (bearing < 0)
        bearing += ANGLE_FULL;
    while (bearing >= ANGLE_FULL)
        bearing -= ANGLE_FULL;
    return static_cast<int32_t>(bearing);
}

}  // namespace

bool SonobuoyStation::IsInStation(const LatLonPoint&, int32_t)
{
    mode = StationMode::IN;
    return true;
}

void SonobuoyStation::RequestMove()
{
    FindStationUnit();
}

void SonobuoyStation::CheckStation()
{
    mode = StationMode::IN;
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    if (!IsInSector(group->GetPosition(), group->GetAxisBearing(axis)) && unit->GetPath() == nullptr)
        PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
}

int32_t SonobuoyStation::PlaceLeg(LatLonPoint& start, LatLonPoint& end, const LatLonPoint& reference)
{
    const Unit* const unit = FindStationUnit();
    const Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr) {
        start.lat = NO_POINT.lat;
        return 0;
    }
    const SectorPlace place = PlaceSector(*group);
    int32_t range = 0;
    int32_t legLength = 0;
    if (place.side == SectorSide::PORT_BEAM || place.side == SectorSide::STARBOARD_BEAM) {
        range = maxRange;
        const int32_t halfChord =
            LongMath::LongMulLong(maxRange, Sine::Int_sin(Clamp32(int64_t{rightBearing} - place.mid)), true, "STATSB", 394);
        legLength = static_cast<int32_t>(std::clamp<int64_t>(2 * int64_t{halfChord}, INT32_MIN, INT32_MAX));
    } else {
        range = place.side == SectorSide::AHEAD ? maxRange : minRange;
        legLength = Clamp32(int64_t{maxRange} - minRange);
    }
    const int32_t axisBearing = group->GetAxisBearing(axis);
    start = NavMath::Get_LatLonPoint_From_Vector(reference, range, FoldBearing(int64_t{leftBearing} + axisBearing));
    end = NavMath::Get_LatLonPoint_From_Vector(reference, range, FoldBearing(int64_t{rightBearing} + axisBearing));
    return legLength;
}

// The aircraft meets the line's start where the group will have carried it,
// flies the line to its far end and back to the middle, where it slows to
// loiter; the next cycle starts when the group has covered the line's length
// (an hour when the group stands still).
void SonobuoyStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    if (auto* const plane = dynamic_cast<Plane*>(unit))
        plane->taskFlags = Plane::TASK_SONOBUOYS;
    if (FindSonobuoyType(*unit, 0) == 0) {
        RequestRelief();
        return;
    }
    const int16_t altitude = unit->PositionObject::GetAltitude();
    uint16_t transit = unit->GetMaxSpeedAtAltitude(1, altitude);
    LatLonPoint start;
    LatLonPoint end;
    const int32_t legLength = PlaceLeg(start, end, group->GetPosition());
    const uint16_t groupSpeed = group->GetPath() != nullptr ? group->speed : 0;
    if (transit <= groupSpeed)
        transit = unit->GetMaxSpeedAtAltitude(2, altitude);

    int64_t laying = STILL_LAYING_SECONDS;
    if (groupSpeed != 0)
        laying = std::max<int64_t>(LegSeconds(legLength, groupSpeed), 1);

    const NavVector line = NavMath::Get_Vector(start, end);
    int32_t course = 0;
    int32_t seconds = 0;
    LatLonPoint meeting = start;
    if (!engage::ComputeIntercept(start, group->GetCourse(), groupSpeed, unit->GetPosition(), &course, transit,
                                  &seconds, &meeting))
        seconds = 0;   // no meeting: straight to the line's start
    seconds = std::max(seconds, 0);

    Chain<PositionNode> path;
    path.Append(new PositionNode(meeting, altitude));
    path.Append(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(meeting, line.range, line.bearing), altitude));
    auto* const middle =
        new PositionNode(NavMath::Get_LatLonPoint_From_Vector(meeting, line.range / 2, line.bearing), altitude);
    path.Append(middle);
    PostSpeed(unitID, transit);
    const uint32_t due = static_cast<uint32_t>(
        std::min<int64_t>(int64_t{gam2arena::GetGameTime()} + laying + seconds, UINT32_MAX));
    Event* const next = MakeStationEvent(EventCode::STATION_MOVE, unitID, GameTime(due));
    middle->AddEvent(MakeSetSpeedEvent(unitID, unit->GetMaxSpeedAtAltitude(0, altitude), GameTime(0)));

    PositionNode* const flown = CreateSonobuoyLeg(unitID, path.First(), 0);
    PostOrDrop(next);
    Game2UI::SetUnitPath(unitID, flown);
    if (flown != nullptr && flown != path.First()) {
        PositionNode* owned = flown;
        DeletePositionNodes(&owned);
    }
}

bool SonobuoyStation::MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType,
                                          uint16_t loadout, uint16_t missionID)
{
    return MatchReadyRecord(list, best, aircraftType, loadout, missionID, OtherType::LAYS_BUOYS, false);
}

bool SonobuoyStation::LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID)
{
    return SearchRelief(aircraftType, loadout, groupID, true, true);
}
