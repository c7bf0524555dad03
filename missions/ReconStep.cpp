// ReconStep.cpp: the recon mission's unit step: the gate, the choice of the
// next point (nearest-first on the player's side, at random elsewhere) and
// the two route steps, the approach to the first point and the flight from
// point to point. The contact route states are ReconContacts.cpp.
#include "missions/ReconMission.h"

#include <cstdint>

#include "core/ErrorReport.h"
#include "core/Event.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "missions/Side.h"
#include "missions/StandingMission.h"
#include "units/GroupBridge.h"
#include "units/Plane.h"
#include "units/PositionNode.h"
#include "units/ReferencePoint.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "world/Game2UI2.h"

namespace {

// Propulsion settings of the route: the approach at cruise, the points at
// the patrol setting.
constexpr int16_t APPROACH_SETTING = 1;
constexpr int16_t ROUTE_SETTING = 2;

// Depth of a submarine on the approach.
constexpr int16_t APPROACH_DEPTH = -1;

bool IsAircraft(char letter) { return letter == 'P' || letter == 'A'; }

// Steps the unit again at once.
void WakeNow(uint16_t unitID) { PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0))); }

// Gives the unit a one-point path at `point` that steps it again when it
// arrives.
void SendToPoint(uint16_t unitID, const LatLonPoint& point)
{
    PositionNode node(point);
    node.AddEvent(MakeMissionUnitEvent(unitID, GameTime(0)));
    Game2UI::SetUnitPath(unitID, &node);
}

// Orders the setting's best speed at the unit's altitude unless the unit
// already runs at that setting; an older speed order still queued goes.
void KeepSetting(uint16_t unitID, const Unit& unit, int16_t setting)
{
    if (unit.GetPlantSetting() == setting)
        return;
    gam2arena::RemoveUnitEvents(unitID, EventCode::SET_SPEED);
    PostOrDrop(MakeSetSpeedEvent(unitID, unit.GetMaxSpeedAtAltitude(setting, unit.GetAltitude()), GameTime(0)));
}

// Orders the altitude unless the unit is there already.
void KeepAltitude(uint16_t unitID, const Unit& unit, int16_t altitude)
{
    if (unit.GetAltitude() == altitude)
        return;
    gam2arena::RemoveUnitEvents(unitID, EventCode::SET_ALTITUDE);
    PostOrDrop(MakeSetAltitudeEvent(unitID, altitude, GameTime(0)));
}

int16_t ApproachAltitude(char letter)
{
    if (letter == 'S' || letter == 'G' || letter == 'B' || letter == 'F')
        return 0;
    if (letter == 'U')
        return APPROACH_DEPTH;
    return ReconMission::APPROACH_ALTITUDE;
}

} // namespace

void ReconMission::StepUnit(uint16_t unitID, uint8_t code)
{
    if ((missionFlags & SUSPENDED) != 0)
        return;
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return;
    if (!IsAircraft(unit->GetTypeLetter())) {
        // A ship or base of the mission only passes it on to its aircraft.
        gam2side::SetPlaneMissions(unitID, 1);
        return;
    }
    MissionUnitRec* const record = units.Find(unitID);
    if (record == nullptr)
        return;
    if (unit->GetParentID() != 0 && record->state != ReconState::ENGAGING && record->state != ReconState::ORDERED)
        return;
    missionFlags |= EMISSIONS_MANAGED;
    switch (record->state) {
    case ReconState::APPROACH:
        if (code != 0)
            record->firstWord = 0;
        ApproachPoint(unitID, unit, record);
        break;
    case ReconState::ON_ROUTE:
    case ReconState::ROUTE_CONTACTS:
    case ReconState::OFF_ROUTE_CONTACTS:
        if (code != 0)
            record->firstWord = 0;
        FlyToPoint(unitID, unit, record);
        break;
    case ReconState::ENGAGING:
    case ReconState::ORDERED:
        EngageTarget(unitID, unit, record);
        break;
    case ReconState::CLOSING:
        CloseOnContact(unitID, unit, record, NO_DESTINATION, unit->GetPlantSetting(), unit->GetAltitude(), code);
        break;
    case ReconState::SHADOWING:
        ShadowContact(unitID, unit, record);
        break;
    case ReconState::ATTACK_RUN:
        AttackRun(unitID, unit, record, NO_DESTINATION, unit->GetPlantSetting(), unit->GetAltitude(), code);
        break;
    default:
        PostToMessageLog(UNKNOWN_STATE_TEXT);
        break;
    }
}

// ---- choosing a point ----

ReferencePoint* ReconMission::ChoosePoint(const Unit& unit)
{
    if (side != nullptr && side->GetID() == Game2UI2::GetCurrentSideID())
        return PickNearestPoint(unit);
    return PickRandomPoint();
}

ReferencePoint* ReconMission::PickNearestPoint(const Unit& unit)
{
    ReferencePoint* best = nullptr;
    int32_t bestRange = 0;
    for (const IDNode* node = ReconPoints.First(); node != nullptr; node = node->GetNext()) {
        if (VisitedPoints.Find(node->GetKey()) != nullptr)
            continue;
        ReferencePoint* const point = side ? side->FindReferencePoint(node->GetKey()) : nullptr;
        if (point == nullptr)
            continue;
        const int32_t range = NavMath::Get_Vector(unit.GetPosition(), point->GetPosition()).range;
        if (best == nullptr || range < bestRange) {
            best = point;
            bestRange = range;
        }
    }
    if (best == nullptr) {
        // Every point was handed out: the next asker starts a new cycle.
        VisitedPoints.DeleteAll();
        return nullptr;
    }
    VisitedPoints.Insert(new IDNode(best->GetKey()));
    return best;
}

ReferencePoint* ReconMission::PickRandomPoint()
{
    uint32_t count = 0;
    for (const IDNode* node = ReconPoints.First(); node != nullptr; node = node->GetNext())
        ++count;
    if (count == 0) {
        missionFlags |= POINTS_USED_UP;
        const std::string text = (name ? name : "") + ResourceString(POINTS_GONE_TEXT);
        PostToMessageLog(text.c_str());
        return nullptr;
    }
    // A list never holds more than 65535 ids (its saved count is a u16).
    uint32_t position = gam2arena::Random(static_cast<uint16_t>(count > 0xFFFF ? 0xFFFF : count));
    IDNode* drawn = ReconPoints.First();
    while (position-- > 0 && drawn->GetNext() != nullptr)
        drawn = drawn->GetNext();
    if (ReferencePoint* const point = side ? side->FindReferencePoint(drawn->GetKey()) : nullptr)
        return point;
    // The point was deleted: it leaves the mission, and this draw gives none.
    ReconPoints.Remove(drawn);
    delete drawn;
    SaveName();
    UpdateArea();
    return nullptr;
}

// ---- the route ----

ReferencePoint* ReconMission::StartRouteStep(uint16_t unitID, Unit& unit, MissionUnitRec& record)
{
    if (StandingMission::WakeAtPathEnd(unit))
        return nullptr;
    ReferencePoint* point =
        record.firstWord != 0 && side != nullptr ? side->FindReferencePoint(record.firstWord) : nullptr;
    if (point == nullptr)
        point = ChoosePoint(unit);
    if (point == nullptr) {
        // Nothing left for this aircraft: it goes home.
        if (unit.GetTypeLetter() == 'P') {
            const auto* const plane = dynamic_cast<const Plane*>(&unit);
            PostOrDrop(MakeLandEvent(unitID, plane ? plane->homeBaseID : 0, GameTime(0)));
        }
        return nullptr;
    }
    record.firstWord = point->GetKey();
    return point;
}

void ReconMission::FlyToPoint(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (unit == nullptr || record == nullptr)
        return;
    const ReferencePoint* const point = StartRouteStep(unitID, *unit, *record);
    if (point == nullptr)
        return;
    const LatLonPoint at = point->GetPosition();
    if (NavMath::Get_Vector(unit->GetPosition(), at).range <= POINT_REACHED) {
        record->firstWord = 0;
        WakeNow(unitID);
        return;
    }
    SendToPoint(unitID, at);
    KeepSetting(unitID, *unit, ROUTE_SETTING);
    KeepAltitude(unitID, *unit, GetPatrolAltitude(unit, 0));
}

void ReconMission::ApproachPoint(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (unit == nullptr || record == nullptr)
        return;
    const ReferencePoint* const point = StartRouteStep(unitID, *unit, *record);
    if (point == nullptr)
        return;
    const NavVector v = NavMath::Get_Vector(unit->GetPosition(), point->GetPosition());
    if (v.range <= APPROACH_DONE) {
        record->state = ReconState::ON_ROUTE;
        WakeNow(unitID);
        return;
    }
    SendToPoint(unitID, NavMath::Get_LatLonPoint_From_Vector(unit->GetPosition(), v.range - APPROACH_SHORT,
                                                             v.bearing));
    KeepSetting(unitID, *unit, APPROACH_SETTING);
    KeepAltitude(unitID, *unit, ApproachAltitude(unit->GetTypeLetter()));
}

LatLonPoint ReconMission::PointToward(const LatLonPoint& from, const LatLonPoint& to, int32_t low, int32_t span)
{
    if (low + span > 100)
        span = 100 - low;
    const NavVector v = NavMath::Get_Vector(from, to);
    const int32_t draw = gam2arena::Random(static_cast<uint16_t>(span > 0 ? span : 0));
    const int64_t distance = int64_t{draw + low} * (v.range / 100);
    return NavMath::Get_LatLonPoint_From_Vector(from, static_cast<int32_t>(distance), v.bearing);
}
