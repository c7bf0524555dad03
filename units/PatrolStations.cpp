// PatrolStations.cpp: the orbit of the AEW and CAP stations, the dips of the
// dipping-sonar station, and their relief searches.
#include "units/PatrolStations.h"

#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

constexpr uint16_t SPEED_STEP = 10;   // knots added while no meeting is found
constexpr int16_t DIP_ALTITUDE = 4;   // tens of metres
constexpr int16_t LOW_ALTITUDE = 5;   // above this a helicopter descends to dip

// The next of the four orbit points, the midpoints of the sector's edges in
// the order outer, right, inner, left, from the group's position; the
// station's leg moves on to the one after. A leg outside 0 to 3 (after a
// failed approach) takes the left edge.
LatLonPoint NextOrbitPoint(StationRecord& station, const Group& group)
{
    const int64_t left = station.leftBearing > station.rightBearing ? int64_t{station.leftBearing} - ANGLE_FULL
                                                                   : station.leftBearing;
    const int32_t middleBearing = static_cast<int32_t>((left + station.rightBearing) / 2);
    const int32_t middleRange = static_cast<int32_t>((int64_t{station.maxRange} + station.minRange) >> 1);
    int32_t range = middleRange;
    int32_t bearing = station.leftBearing;
    switch (station.leg) {
    case 0: range = station.maxRange; bearing = middleBearing; break;
    case 1: bearing = station.rightBearing; break;
    case 2: range = station.minRange; bearing = middleBearing; break;
    default: break;
    }
    station.leg = static_cast<int32_t>(((int64_t{station.leg} + 1) % 4 + 4) % 4);
    int64_t aim = int64_t{bearing} + group.GetAxisBearing(station.axis);
    while (aim > ANGLE_FULL)
        aim -= ANGLE_FULL;
    return NavMath::Get_LatLonPoint_From_Vector(group.GetPosition(), range, static_cast<int32_t>(aim));
}

// A meeting with a point carried along with the group, the speed raised in
// steps of 10 knots up to `limit`; false when none is found.
bool MeetWithGroup(const Unit& unit, const Group& group, const LatLonPoint& point, uint16_t& knots, uint16_t limit,
                   int32_t& seconds, LatLonPoint& meeting)
{
    int32_t course = 0;
    for (;;) {
        if (engage::ComputeIntercept(point, group.GetCourse(), group.speed, unit.GetPosition(), &course, knots,
                                     &seconds, &meeting))
            return true;
        if (knots + SPEED_STEP > limit)
            return false;
        knots = static_cast<uint16_t>(knots + SPEED_STEP);
    }
}

void ResumeOrbit(StationRecord& station)
{
    station.mode = StationMode::IN;
    if (station.leg < 0)
        station.leg = 0;
}

}  // namespace

bool AEWStation::IsInStation(const LatLonPoint&, int32_t)
{
    ResumeOrbit(*this);
    return true;
}

void AEWStation::RequestMove()
{
    ResumeOrbit(*this);
}

void AEWStation::CheckStation()
{
    PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
}

// Flies to the next orbit point at the best speed of the band the group's
// speed needs, at that band's ceiling; a point the aircraft cannot catch
// marks the station out ('O', leg -1).
void AEWStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    const int16_t altitude = unit->PositionObject::GetAltitude();
    const int16_t band = unit->GetMaxSpeedAtAltitude(0, altitude) < group->speed ? 1 : 0;
    if (unit->GetPath() != nullptr)
        return;
    int16_t floor = 0;
    int16_t ceiling = 0;
    unit->GetAltitudeEnvelope(band, floor, ceiling);
    if (altitude < ceiling)
        PostOrDrop(MakeSetAltitudeEvent(unitID, ceiling, GameTime(0)));
    uint16_t knots = unit->GetMaxSpeedAtAltitude(band, ceiling);
    const LatLonPoint point = NextOrbitPoint(*this, *group);
    int32_t seconds = 0;
    LatLonPoint meeting = point;
    if (!MeetWithGroup(*unit, *group, point, knots, unit->GetMaxSpeedAtAltitude(2, ceiling), seconds, meeting)) {
        mode = StationMode::OUT;
        leg = -1;
        return;
    }
    if (knots != unit->speed)
        PostSpeed(unitID, knots);
    GivePathTo(unitID, meeting, ceiling, MakeStationEvent(EventCode::STATION_MOVE, unitID, GameTime(0)));
}

bool AEWStation::LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID)
{
    return SearchRelief(aircraftType, loadout, groupID, true, false);
}

bool AEWStation::MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                                     uint16_t missionID)
{
    return MatchReadyRecord(list, best, aircraftType, loadout, missionID, OtherType::NONE, false);
}

bool CAPStation::IsInStation(const LatLonPoint&, int32_t)
{
    ResumeOrbit(*this);
    return true;
}

void CAPStation::RequestMove()
{
    ResumeOrbit(*this);
}

void CAPStation::CheckStation()
{
    PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
}

void CAPStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr || unit->GetPath() != nullptr)
        return;
    const LatLonPoint point = NextOrbitPoint(*this, *group);
    GivePathTo(unitID, point, unit->PositionObject::GetAltitude(),
               MakeStationEvent(EventCode::STATION_MOVE, unitID, GameTime(0)));
}

bool CAPStation::LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID)
{
    return SearchRelief(aircraftType, loadout, groupID, false, false);
}

bool CAPStation::MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                                     uint16_t missionID)
{
    return MatchReadyRecord(list, best, aircraftType, loadout, missionID, OtherType::CAN_ENGAGE, true);
}

void DippingSonarStation::GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing)
{
    int64_t width = int64_t{rightBearing} - leftBearing;
    if (width < 0)
        width += ANGLE_FULL;
    const int32_t degrees = gam2arena::Random(static_cast<uint16_t>(width / ANGLE_PER_DEGREE));
    int64_t bearing = int64_t{axisBearing} + leftBearing + int64_t{degrees} * ANGLE_PER_DEGREE;
    while (bearing > ANGLE_FULL)
        bearing -= ANGLE_FULL;
    const int32_t range = Clamp32(int64_t{minRange} + RandomBelow(Clamp32(int64_t{maxRange} - minRange)));
    out = NavMath::Get_LatLonPoint_From_Vector(reference, range, static_cast<int32_t>(bearing));
}

bool DippingSonarStation::IsInStation(const LatLonPoint&, int32_t)
{
    mode = StationMode::IN;
    return true;
}

void DippingSonarStation::RequestMove()
{
    mode = StationMode::IN;
}

void DippingSonarStation::CheckStation()
{
    PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
}

// The helicopter flies to a new dip point, stops and descends there, hovers
// until HOVER_SECONDS after the time the meeting predicted, and is then sent
// on to the next one.
void DippingSonarStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    unit->field1 = DIPPING;
    const int16_t altitude = unit->PositionObject::GetAltitude();
    uint16_t knots = unit->GetMaxSpeedAtAltitude(1, altitude);
    unit->ClearPath();
    LatLonPoint dip;
    GetStationPoint(dip, group->GetPosition(), group->GetAxisBearing(axis));
    int32_t seconds = 0;
    LatLonPoint meeting = dip;
    if (!MeetWithGroup(*unit, *group, dip, knots, unit->GetMaxSpeedAtAltitude(2, 0), seconds, meeting)) {
        mode = StationMode::OUT;
        leg = -1;
        return;
    }
    if (knots != unit->speed)
        PostSpeed(unitID, knots);
    PositionNode* node = new PositionNode(meeting, altitude);
    const int64_t due = int64_t{gam2arena::GetGameTime()} + (seconds > 0 ? seconds : 0) + HOVER_SECONDS;
    node->AddEvent(MakeStationEvent(EventCode::STATION_MOVE, unitID,
                                    GameTime(static_cast<uint32_t>(due > UINT32_MAX ? UINT32_MAX : due))));
    node->AddEvent(MakeSetSpeedEvent(unitID, 0, GameTime(0)));
    if (altitude > LOW_ALTITUDE)
        node->AddEvent(MakeSetAltitudeEvent(unitID, DIP_ALTITUDE, GameTime(0)));
    Game2UI::SetUnitPath(unitID, node);
    DeletePositionNodes(&node);
}

bool DippingSonarStation::LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID)
{
    return SearchRelief(aircraftType, loadout, groupID, true, false);
}

bool DippingSonarStation::MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType,
                                              uint16_t loadout, uint16_t missionID)
{
    return MatchReadyRecord(list, best, aircraftType, loadout, missionID, OtherType::DIPS, false);
}
