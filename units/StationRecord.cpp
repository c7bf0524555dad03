// StationRecord.cpp: plain station keeping, the station factory, the saved
// form of a station, its events, and the launch and relief of aircraft for
// a station.
#include "units/StationRecord.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/EventList.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/PatrolStations.h"
#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "units/PositionNode.h"
#include "units/RandomStations.h"
#include "units/SonobuoyStation.h"
#include "units/SprintDriftStation.h"
#include "units/StationBridge.h"
#include "units/GroupKeepingStations.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// Files from this version on carry each station's events.
const VersionNumber EVENTS_SAVED(2, 1, 0, 0);

bool FileCarriesStationEvents()
{
    return gAdmin == nullptr || gAdmin->GetFileVersion() >= EVENTS_SAVED;
}

// The midpoint of two 32-bit values, truncated toward zero.
int32_t Midpoint(int64_t a, int64_t b)
{
    return static_cast<int32_t>((a + b) / 2);
}

// Bearings above a full circle lose one circle (a bearing of exactly a full
// circle stays, and so does a negative one: the sector test is built on it).
int64_t ReduceOnce(int64_t bearing)
{
    return bearing > ANGLE_FULL ? bearing - ANGLE_FULL : bearing;
}

}  // namespace

StationRecord::~StationRecord() = default;

StationRecord* StationRecord::CreateStation(uint8_t kind)
{
    switch (kind) {
    case StationKind::NONE: return new NullStation;
    case StationKind::SPRINT_DRIFT: return new SprintDriftStation;
    case StationKind::KEEP: return new StationRecord;
    case StationKind::CAP: return new CAPStation(false);
    case StationKind::RANDOM: return new RandomStation;
    case StationKind::DIPPING: return new DippingSonarStation;
    case StationKind::AEW: return new AEWStation;
    case StationKind::SONOBUOY: return new SonobuoyStation;
    case StationKind::FORMATION: return new FormationStation;
    case StationKind::FREE: return new FreeStation;
    case StationKind::SURFACE_CAP: return new CAPStation(true);
    case StationKind::REJOIN: return new RejoinStation;
    default:
        ReportResourceText(UNKNOWN_KIND_TEXT, "StationRecord::CreateStation", FatalError);
        return nullptr;
    }
}

void StationRecord::RunStationEvent(uint8_t typeCode, uint16_t unitID)
{
    gam2arena::RemoveUnitEvents(unitID, typeCode);
    const Unit* const unit = gam2arena::FindUnit(unitID);
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    StationRecord* const station = group != nullptr ? group->GetMemberStation(unitID) : nullptr;
    if (station == nullptr)
        return;
    switch (typeCode) {
    case EventCode::STATION_SET:
        station->CheckStation();
        break;
    case EventCode::STATION_MOVE:
        station->ReturnToStation();
        break;
    case EventCode::STATION_UPDATE:
        station->mode = StationMode::IN;
        group->UpdateStations(false);
        break;
    default:
        break;
    }
}

void StationRecord::Save(std::ostream& out) const
{
    SaveField(out, unitID);
    SaveField(out, option);
    SaveField(out, static_cast<uint8_t>(mode));
    SaveField(out, kind);
    SaveField(out, maxRange);
    SaveField(out, minRange);
    SaveField(out, rightBearing);
    SaveField(out, leftBearing);
    SaveField(out, axis);
    SaveField(out, leg);
    SaveField(out, relief);
    SaveEventList(eventList, out);
}

bool StationRecord::Load(std::istream& in)
{
    uint8_t modeByte = 0;
    uint8_t ownKind = 0;
    LoadField(in, unitID);
    LoadField(in, option);
    LoadField(in, modeByte);
    LoadField(in, ownKind);
    LoadField(in, maxRange);
    LoadField(in, minRange);
    LoadField(in, rightBearing);
    LoadField(in, leftBearing);
    LoadField(in, axis);
    LoadField(in, leg);
    LoadField(in, relief);
    mode = static_cast<char>(modeByte);
    if (!in)
        return false;
    // The record repeats the kind the list chose the class by; a record that
    // names another is damaged (saving it would write a kind no class makes).
    if (ownKind != kind) {
        in.setstate(std::ios::failbit);
        return false;
    }
    if (FileCarriesStationEvents())
        return LoadEventList(eventList, in);
    return true;
}

void StationRecord::GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing)
{
    int32_t mid = 0;
    if (rightBearing > leftBearing) {
        mid = Midpoint(rightBearing, leftBearing);
    } else {
        // The sector runs through north: equal limits make it the full
        // circle, which aims opposite the limit.
        mid = Midpoint(int64_t{rightBearing} + leftBearing - ANGLE_FULL, 0);
        if (mid < 0)
            mid += ANGLE_FULL;
    }
    const int32_t range = Midpoint(maxRange, minRange);
    out = NavMath::Get_LatLonPoint_From_Vector(reference, range, Clamp32(int64_t{mid} + axisBearing));
}

bool StationRecord::IsInStation(const LatLonPoint& reference, int32_t axisBearing)
{
    return IsInSector(reference, axisBearing);
}

bool StationRecord::IsInSector(const LatLonPoint& reference, int32_t axisBearing)
{
    const int64_t lo = ReduceOnce(int64_t{axisBearing} + leftBearing);
    const int64_t hi = ReduceOnce(int64_t{axisBearing} + rightBearing);
    const Unit* const unit = FindStationUnit();
    if (unit == nullptr)
        return false;
    const NavVector v = NavMath::Get_Vector(reference, unit->GetPosition());
    const bool inBearing = lo < hi ? (lo <= v.bearing && v.bearing <= hi)
                                   : ((lo <= v.bearing && v.bearing <= ANGLE_FULL) || (0 <= v.bearing && v.bearing <= hi));
    return inBearing && minRange <= v.range && v.range <= maxRange;
}

void StationRecord::CycleOrMove()
{
    if (FindStationUnit() == nullptr)
        return;
    if (mode == StationMode::IN)
        PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
    else if (mode == StationMode::OUT)
        StationRecord::MoveToStation();
}

void StationRecord::RequestMove()
{
    PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
}

void StationRecord::CheckStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    if (mode == StationMode::IN) {
        gam2arena::RemoveUnitEvents(unitID, EventCode::SET_SPEED);
        PostSpeed(unitID, group->speed);
    } else if (mode == StationMode::OUT) {
        MoveToStation();
    }
}

// The way to the station: at least the transit speed (the group's speed and
// its margin), up to the fastest setting when the station runs away; a
// point the unit cannot reach is replaced by a reachable one. When no way is
// found the station tries again later through a station-set event.
void StationRecord::MoveToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    const uint16_t transit = static_cast<uint16_t>(group->speed + group->stationSpeedMargin);
    const int32_t axisBearing = group->GetAxisBearing(axis);
    if ((unit->GetStateFlags() & SimObject::PATH_REQUESTED) != 0) {
        PostStationEvent(EventCode::STATION_SET, unitID, RETRY_SECONDS);
        return;
    }
    LatLonPoint aim;
    StationRecord::GetStationPoint(aim, group->GetPosition(), axisBearing);

    const int16_t altitude = unit->PositionObject::GetAltitude();
    uint16_t knots = unit->GetMaxSpeedAtAltitude(1, altitude);
    if (knots < transit)
        knots = transit;
    if (unit->speed < knots)
        SetSpeedNow(*unit, knots);
    int32_t course = 0;
    int32_t seconds = 0;
    LatLonPoint meeting = aim;
    bool found = engage::ComputeIntercept(aim, group->GetCourse(), group->speed, unit->GetPosition(), &course,
                                          knots, &seconds, &meeting);
    if (!found) {
        const uint16_t top = unit->GetMaxSpeedAtAltitude(3, altitude);
        if (top > knots) {
            knots = top;
            SetSpeedNow(*unit, knots);
        }
        found = engage::ComputeIntercept(aim, group->GetCourse(), group->speed, unit->GetPosition(), &course,
                                         knots, &seconds, &meeting);
        if (!found) {
            PostStationEvent(EventCode::STATION_SET, unitID, RETRY_SECONDS);
            return;
        }
    }
    if (!Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), meeting)) {
        FindReachablePoint(meeting, group->GetPosition(), axisBearing);
        if (meeting.IsNone()) {
            PostStationEvent(EventCode::STATION_SET, unitID, RETRY_SECONDS);
            return;
        }
    }
    const PositionNode* const planned = unit->GetPath();
    if (planned == nullptr || NavMath::Get_Vector(unit->GetPosition(), planned->GetPosition()).range >=
                                  NavMath::Get_Vector(unit->GetPosition(), meeting).range) {
        Chain<PositionNode> path;
        auto* const point = new PositionNode(meeting);
        point->AddEvent(MakeStationEvent(EventCode::STATION_UPDATE, unitID, GameTime(0)));
        path.Append(point);
        if (planned != nullptr)
            path.Append(PositionNode::CopyChain(planned));
        Game2UI::SetUnitPath(unitID, path.First());
        if (unit->speed < knots)
            PostSpeed(unitID, knots);
    }
    mode = StationMode::STEERING;
}

void StationRecord::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    const LatLonPoint start = RestartFrom(*unit);
    const int32_t axisBearing = group->GetAxisBearing(axis);
    LatLonPoint aim;
    GetStationPoint(aim, start, axisBearing);
    if (!Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), aim)) {
        FindReachablePoint(aim, start, axisBearing);
        if (!Nav2Game::LegValidForUnit(unitID, unit->GetPosition(), aim))
            aim = unit->GetPosition();
    }
    GivePathTo(unitID, aim, unit->PositionObject::GetAltitude(), nullptr);
}

bool StationRecord::LaunchRelief(uint16_t, uint16_t, uint16_t)
{
    return false;
}

bool StationRecord::MatchAircraftRecord(PlaneRecList*, PlaneRec*&, uint16_t, uint16_t, uint16_t)
{
    return false;
}

void StationRecord::LaunchAircraft(PlaneRecList* list, const Waypoint& order, const StationRecord* station)
{
    Waypoint request = order;
    if (list == nullptr || !list->TakePlanes(request, 1))
        return;
    PlaneRec* const record = list->Find(request.planeRecID);
    if (record == nullptr)
        return;
    record->SetStation(station);
    PostOrDrop(MakeLaunchAircraftEvent(record->unitID, record->GetKey(), 0));
    const Unit* const holder = gam2arena::FindUnit(record->unitID);
    Group* const group = holder != nullptr ? FindGroupOf(*holder) : nullptr;
    if (group == nullptr)
        return;
    StationRecord* const launching = mode == StationMode::WANTED ? this : FindGroupStation(*group);
    if (launching == nullptr)
        return;
    launching->mode = StationMode::LAUNCHING;
    launching->unitID = record->unitID;
    launching->leg = record->GetKey();
}

void StationRecord::CopyFrom(const StationRecord* source)
{
    if (source == nullptr)
        return;
    maxRange = source->maxRange;
    minRange = source->minRange;
    rightBearing = source->rightBearing;
    leftBearing = source->leftBearing;
    unitID = source->unitID;
    axis = source->axis;
    option = source->option;
    relief = source->relief;
    CopyEventList(&source->eventList, &eventList);
}

void StationRecord::CopyStationEventList(const StationRecord* source)
{
    if (source == nullptr) {
        ErrorBox("StationRecord::CopyStationEventList -> from is NULL.");
        return;
    }
    CopyEventList(&source->eventList, &eventList);
}

bool StationRecord::HasSetSensorsEvent() const
{
    for (const Event* e = eventList.First(); e != nullptr; e = e->GetNext()) {
        if (e->TypeCode() == EventCode::SET_SENSORS)
            return true;
    }
    return false;
}

void StationRecord::AddStationEvent(Event* event)
{
    if (event == nullptr)
        return;
    if (event->TypeCode() == EventCode::SET_SENSORS) {
        const uint32_t setting = GetSensorSetting(*event);
        for (Event* e = eventList.First(); e != nullptr;) {
            Event* const next = e->GetNext();
            if (e->TypeCode() == EventCode::SET_SENSORS && GetSensorSetting(*e) == setting) {
                eventList.Remove(e);
                delete e;
            }
            e = next;
        }
    }
    if (Event* const copy = event->Clone())
        eventList.Append(copy);
    if (unitID == 0) {
        delete event;
        return;
    }
    event->SetSubject(unitID);
    PostOrDrop(event);
}

void StationRecord::ApplyStationEvents()
{
    for (const Event* e = eventList.First(); e != nullptr; e = e->GetNext()) {
        Event* const copy = e->Clone();
        if (copy == nullptr)
            continue;
        copy->SetSubject(unitID);
        const bool sensors = copy->TypeCode() == EventCode::SET_SENSORS;
        PostOrDrop(copy);
        if (sensors)
            UI2SIDE::UserSetMissionUnitSensors(unitID);
    }
}

bool StationRecord::RequestRelief()
{
    if (relief == 0)
        return false;
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return false;
    const auto* const plane = dynamic_cast<const Plane*>(unit);
    const uint16_t aircraftType = plane != nullptr ? plane->GetAnnexID() : 0;
    const uint16_t loadout = plane != nullptr ? plane->loadoutID : 0;
    if (StationRecord* const station = FindGroupStation(*group); station != nullptr && station->mode == StationMode::FLYING) {
        station->mode = StationMode::WANTED;
        station->unitID = aircraftType;
        station->leg = loadout;
    }
    return LaunchRelief(aircraftType, loadout, group->GetID());
}

void StationRecord::FindReachablePoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing)
{
    const Unit* const unit = FindStationUnit();
    if (unit == nullptr) {
        out = NO_POINT;
        return;
    }
    const LatLonPoint from = unit->GetPosition();
    GetStationPoint(out, reference, axisBearing);
    if (Nav2Game::LegValidForUnit(unitID, from, out))
        return;
    // Ten more tries, alternating between the two limits and closing in by
    // halves from the inner range; the last is the reference itself.
    int64_t range = 2 * int64_t{minRange};
    LatLonPoint candidate = reference;
    for (int i = 0; i < 10; ++i) {
        if (i % 2 == 0)
            range /= 2;
        int64_t bearing = int64_t{axisBearing} + (i % 2 == 0 ? leftBearing : rightBearing);
        while (bearing > ANGLE_FULL)
            bearing -= ANGLE_FULL;
        candidate = i == 9 ? reference
                           : NavMath::Get_LatLonPoint_From_Vector(reference, static_cast<int32_t>(range),
                                                                  static_cast<int32_t>(bearing));
        if (Nav2Game::LegValidForUnit(unitID, from, candidate))
            break;
    }
    out = candidate;
}

Unit* StationRecord::FindStationUnit() const
{
    return gam2arena::FindUnit(unitID);
}

Group* StationRecord::FindGroupOf(const Unit& unit)
{
    return dynamic_cast<Group*>(gam2arena::FindUnit(unit.GetParentID()));
}

int32_t StationRecord::StationAxisBearing(const Group& group) const
{
    return group.GetAxisBearing(axis);
}

StationRecord* StationRecord::FindGroupStation(Group& group) const
{
    return group.GetMemberStation(unitID);
}

LatLonPoint StationRecord::PathStart(const Unit& unit)
{
    const PositionNode* const first = unit.GetPath();
    return first != nullptr ? first->GetPosition() : unit.GetPosition();
}

LatLonPoint StationRecord::RestartFrom(Unit& unit)
{
    // The planned path goes first, so the new way starts where the unit is
    // (or at the first point of a path its class keeps), not at a point it
    // no longer heads for.
    unit.ClearPath();
    gam2arena::RemoveUnitEvents(unit.GetID(), EventCode::STATION_MOVE);
    return PathStart(unit);
}

int32_t StationRecord::RandomBelow(int32_t span)
{
    constexpr int32_t ONE_DRAW = 0x10000;
    // An empty span still takes its draw (answering 0), so that the draws
    // that follow stay the same.
    if (span <= 0) {
        gam2arena::Random(0);
        return 0;
    }
    if (span < ONE_DRAW)
        return gam2arena::Random(static_cast<uint16_t>(span));
    // A single draw answers 16 bits at most: two draws make a number in base
    // 65535, and one beyond the span is drawn again (at least every other
    // pair lands within it).
    constexpr int64_t BASE = 0xFFFF;
    const int64_t highCount = span / BASE + 1;
    int64_t value = 0;
    for (int tries = 0; tries < 32; ++tries) {
        value = int64_t{gam2arena::Random(static_cast<uint16_t>(highCount))} * BASE + gam2arena::Random(0xFFFF);
        if (value < span)
            return static_cast<int32_t>(value);
    }
    return static_cast<int32_t>(value % span);   // only without a working generator
}

int32_t StationRecord::Clamp32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

void StationRecord::GivePathTo(uint16_t unitID, const LatLonPoint& point, int16_t altitude, Event* onArrival)
{
    PositionNode* node = new PositionNode(point, altitude);
    node->AddEvent(onArrival);
    Game2UI::SetUnitPath(unitID, node);
    DeletePositionNodes(&node);
}

void StationRecord::PostStationEvent(uint8_t typeCode, uint16_t unitID, uint32_t delay)
{
    const uint32_t due = delay == 0 ? 0 : gam2arena::GetGameTime() + delay;
    PostOrDrop(MakeStationEvent(typeCode, unitID, GameTime(due)));
}

void StationRecord::PostSpeed(uint16_t unitID, uint16_t knots)
{
    PostOrDrop(MakeSetSpeedEvent(unitID, knots, GameTime(0)));
}

StationRecord::SectorPlace StationRecord::PlaceSector(const Group& group) const
{
    constexpr int32_t AHEAD_END = 3 * ANGLE_EIGHTH;     // 135 degrees
    constexpr int32_t ASTERN_END = 5 * ANGLE_EIGHTH;    // 225 degrees
    constexpr int32_t BEAM_END = 7 * ANGLE_EIGHTH;      // 315 degrees
    int32_t relAxis = group.GetAxisBearing(axis) - group.GetAxisBearing(0);
    if (relAxis < 0)
        relAxis += ANGLE_FULL;
    SectorPlace place;
    place.leftFrom = rightBearing < leftBearing ? int64_t{leftBearing} - ANGLE_FULL : leftBearing;
    place.mid = Midpoint(place.leftFrom, rightBearing);
    int64_t rel = int64_t{relAxis} + place.mid;
    while (rel < 0)
        rel += ANGLE_FULL;
    while (rel >= ANGLE_FULL)
        rel -= ANGLE_FULL;
    const bool forward = rel < AHEAD_END || rel >= ASTERN_END;
    const bool beam = rel >= ANGLE_EIGHTH && rel < BEAM_END && forward;
    if (beam)
        place.side = rel > ASTERN_END ? SectorSide::PORT_BEAM : SectorSide::STARBOARD_BEAM;
    else
        place.side = forward ? SectorSide::AHEAD : SectorSide::ASTERN;
    return place;
}

int64_t StationRecord::LegSeconds(int32_t legRange, int32_t knots)
{
    if (knots <= 0)
        return 0;
    // Hours in Q23 first, then seconds, so that the answer is the one the
    // 32-bit fixed-point sum gave wherever that did not overflow.
    const int64_t hours = int64_t{legRange} * FIXED_ONE / (int64_t{knots} * RANGE_PER_NM);
    return hours * 3600 / FIXED_ONE;
}

// A record is a candidate when it is free (unassigned or of the mission, not
// taken for a station) and ready. One of the type asked for becomes the
// best unless the best already has that type; with the loadout too it ends
// the walk. With loadoutByMount, one of the type whose loadout differs but
// whose holder can supply the one asked for also becomes the best. One of
// another type is kept only while there is no best, and only when `other`
// allows it.
bool StationRecord::MatchReadyRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                                     uint16_t missionID, OtherType other, bool loadoutByMount) const
{
    if (list == nullptr)
        return false;
    for (PlaneRec* r = list->First(); r != nullptr; r = r->GetNext()) {
        if ((r->missionID != 1 && r->missionID != missionID) || r->onStation != 0 ||
            !r->HasFlags(PlaneRec::READY_FLAGS))
            continue;
        if (r->planeAnnexID == aircraftType) {
            if (best == nullptr || best->planeAnnexID != aircraftType)
                best = r;
            if (r->loadoutID == loadout) {
                best = r;
                return true;
            }
            if (loadoutByMount && gam2anim::FindEngagingMount(loadout, aircraftType, r->unitID) != 0)
                best = r;
            continue;
        }
        if (best != nullptr)
            continue;
        bool stands = false;
        switch (other) {
        case OtherType::NONE: break;
        case OtherType::CAN_ENGAGE:
            stands = gam2anim::CanUnitEngage(GetAircraftRole(), r->planeAnnexID, r->unitID) != 0;
            break;
        case OtherType::DIPS: stands = (r->GetCapability(2) & PlaneRec::CAN_DIP) != 0; break;
        case OtherType::LAYS_BUOYS: stands = (r->GetCapability(2) & PlaneRec::CAN_LAY_BUOYS) != 0; break;
        }
        if (stands)
            best = r;
    }
    return false;
}

bool StationRecord::SearchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID, bool typeMayDiffer,
                                 bool noReliefFlag)
{
    Group* const group = dynamic_cast<Group*>(gam2arena::FindUnit(groupID));
    if (group == nullptr)
        return false;
    const uint16_t missionID = gam2side::GetUnitMissionID(groupID);
    PlaneRec* best = nullptr;
    for (GroupEntry* e = group->members.First(); e != nullptr; e = e->GetNext()) {
        Unit* const member = gam2arena::FindUnit(e->GetKey());
        PlaneRecList* const list = member != nullptr ? member->GetPlaneRecList() : nullptr;
        if (list != nullptr && MatchAircraftRecord(list, best, aircraftType, loadout, missionID))
            break;
    }
    if (best == nullptr) {
        (noReliefFlag ? group->noRelief : group->noAircraft) = 1;
        return false;
    }
    Unit* const holder = gam2arena::FindUnit(best->unitID);
    PlaneRecList* const list = holder != nullptr ? holder->GetPlaneRecList() : nullptr;
    if (list == nullptr)
        return false;
    Waypoint request;
    request.aircraftType = best->planeAnnexID;
    request.flag = 1;
    request.planeRecID = best->GetKey();
    request.holderID = holder->GetID();
    request.loadout = loadout;
    bool choose = best->loadoutID != loadout &&
                  gam2anim::FindEngagingMount(loadout, best->planeAnnexID, request.holderID) == 0;
    if (typeMayDiffer && best->planeAnnexID != aircraftType)
        choose = true;
    if (choose)
        request.loadout = gam2anim::CanUnitEngage(GetAircraftRole(), best->planeAnnexID, request.holderID);
    LaunchAircraft(list, request, this);
    return true;
}
