// GroupKeepingStations.cpp: the null, formation and rejoin stations.
#include "units/GroupKeepingStations.h"

#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/PositionNode.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// In station when the unit lies within `limit` of the point (the limit
// included); the mode follows the answer.
bool WithinOf(StationRecord& station, const Unit* unit, const LatLonPoint& point, int32_t limit)
{
    if (unit == nullptr)
        return false;
    const bool in = NavMath::Get_Vector(point, unit->GetPosition()).range <= limit;
    station.mode = in ? StationMode::IN : StationMode::OUT;
    return in;
}

}  // namespace

void NullStation::GetStationPoint(LatLonPoint& out, const LatLonPoint&, int32_t)
{
    const Unit* const unit = FindStationUnit();
    out = unit != nullptr ? unit->GetPosition() : NO_POINT;
}

bool NullStation::IsInStation(const LatLonPoint&, int32_t)
{
    mode = StationMode::IN;
    return true;
}

bool FormationStation::IsInStation(const LatLonPoint& reference, int32_t)
{
    return WithinOf(*this, FindStationUnit(), reference, KEEP_RANGE);
}

void FormationStation::RequestMove()
{
    PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
    if (Unit* const unit = FindStationUnit())
        unit->ClearPath();
}

void FormationStation::CheckStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    if (NavMath::Get_Vector(unit->GetPosition(), group->GetPosition()).range <= KEEP_RANGE) {
        unit->SetPosition(group->GetPosition());
        Game2UI2::RefreshUnit(unitID);
        mode = StationMode::IN;
        PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
        return;
    }
    group->RemoveMember(unitID);   // deletes this station
}

// With the group under way and the station held, the aircraft flies to the
// group's next path point with the events hung there, at the group's speed;
// otherwise to where the group is now, updating the stations on arrival. An
// aircraft that has a path only gets the next follow step hung on its end.
void FormationStation::ReturnToStation()
{
    Unit* const unit = FindStationUnit();
    if (unit == nullptr)
        return;
    const uint16_t knots = unit->speed;
    if (unit->GetPath() != nullptr) {
        unit->path.Last()->AddEvent(MakeStationEvent(EventCode::STATION_MOVE, unitID, GameTime(0)));
        return;
    }
    Group* const group = FindGroupOf(*unit);
    if (group == nullptr)
        return;
    PositionNode* node = nullptr;
    if (group->GetPath() != nullptr && mode == StationMode::IN && group->speedCarry == 0) {
        node = new PositionNode(group->GetPath());
        if (unit->speed != group->speed)
            PostSpeed(unitID, group->speed);
    } else {
        node = new PositionNode(group->GetPosition(), group->PositionObject::GetAltitude());
        node->AddEvent(MakeStationEvent(EventCode::STATION_UPDATE, unitID, GameTime(0)));
    }
    Game2UI::SetUnitPath(unitID, node);
    if (unit->speed < knots)
        unit->SetSpeed(knots, unit->PositionObject::GetAltitude());
    DeletePositionNodes(&node);
}

bool RejoinStation::IsInStation(const LatLonPoint& reference, int32_t)
{
    return WithinOf(*this, FindStationUnit(), reference, IN_RANGE);
}

void RejoinStation::RequestMove()
{
    PostStationEvent(EventCode::STATION_MOVE, unitID, 0);
    if (Unit* const unit = FindStationUnit())
        unit->ClearPath();
}

void RejoinStation::CheckStation()
{
    Unit* const unit = FindStationUnit();
    Group* const group = unit != nullptr ? FindGroupOf(*unit) : nullptr;
    if (group == nullptr)
        return;
    const uint16_t member = unitID;
    if (NavMath::Get_Vector(unit->GetPosition(), group->GetPosition()).range <= REJOIN_RANGE) {
        // Replacing the station deletes this object: nothing of it is
        // touched after this call.
        group->SetMemberStationKind(member, StationKind::FORMATION);
        group->UpdateStations(false);
        return;
    }
    GivePathTo(member, group->GetPosition(), group->PositionObject::GetAltitude(),
               MakeStationEvent(EventCode::STATION_SET, member, GameTime(0)));
    if (group->PositionObject::GetAltitude() != unit->PositionObject::GetAltitude())
        PostOrDrop(MakeSetAltitudeEvent(member, group->PositionObject::GetAltitude(), GameTime(0)));
}
