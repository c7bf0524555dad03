// FerryMission.cpp: the ferry mission: construction, saved form, validity,
// the unit step toward the destination, emissions, the one launch of its
// aircraft references and the finish test.
#include "missions/FerryMission.h"

#include <istream>
#include <ostream>
#include <string>

#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "missions/StandingMission.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/PositionNode.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "world/game2ui.h"

namespace {

// Message class of the refused-destination notice.
constexpr uint16_t FERRY_MESSAGE_CLASS = 0x100;
// Sensor types and modes of the emission orders.
constexpr uint32_t RADAR = 1;
constexpr uint32_t ECM = 7;
constexpr uint16_t SENSOR_ON = 2;
constexpr uint16_t SENSOR_OFF = 3;
// Record flags all of which an aircraft record needs before it may go.
constexpr uint32_t READY_TO_GO = 0x10F;
// Record flag of aircraft kept back: they can go but are not launched.
constexpr uint32_t KEPT_BACK = 0x2000;
// The landing order's flags: no intercept, land.
constexpr uint8_t NO_INTERCEPT = 0;
constexpr uint8_t LAND = 1;
constexpr uint16_t RADAR_TIMINGS[4] = {1800, 40, 120, 50};
constexpr uint16_t ECM_TIMINGS[4] = {180, 50, 120, 50};

bool IsAircraftLetter(char letter) { return letter == 'P' || letter == 'A'; }

// One emission order from the record's state override and the mission's
// three flags of the sensor: on, off, or on with the timings; none when no
// flag is set.
void PostEmission(MissionRecord& mission, uint16_t unitID, uint32_t sensor, bool forcedOn, uint32_t onFlag,
                  uint32_t offFlag, uint32_t periodicFlag, const uint16_t* timings)
{
    const uint32_t flags = mission.missionFlags;
    if (forcedOn || (flags & onFlag))
        mission.PostSensorSetting(unitID, SENSOR_ON, sensor, 0, 0, 0, 0);
    else if (flags & offFlag)
        mission.PostSensorSetting(unitID, SENSOR_OFF, sensor, 0, 0, 0, 0);
    else if (flags & periodicFlag)
        mission.PostSensorSetting(unitID, SENSOR_ON, sensor, timings[0], static_cast<uint8_t>(timings[1]),
                                  timings[2], static_cast<uint8_t>(timings[3]));
}

void ReplaceText(char*& target, const std::string& text)
{
    char* const copy = new char[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = '\0';
    delete[] target;
    target = copy;
}

} // namespace

FerryMission::FerryMission(const char* nameText, Side* owner, uint16_t kind, uint16_t destination)
    : MissionRecord(kind, nameText, owner), FerryDestination(destination)
{
    missionType = TYPE;
    missionFlags = CREATION_FLAGS;
    SaveName();
    targetClasses = 0;
}

MissionRecord* FerryMission::MakeForKind(uint16_t kind, const char* name, const IDList*, uint16_t id, Side* side)
{
    return new FerryMission(name, side, kind, id);
}

FerryMission::FerryMission(uint16_t type, Side* owner)
{
    missionType = type;
    side = owner;
}

bool FerryMission::IsValid()
{
    const Unit* const destination = FerryDestination != 0 && game2ui::IsContactOfPlayer(FerryDestination)
                                        ? gam2arena::FindUnit(FerryDestination)
                                        : nullptr;
    if (destination && side && destination->GetSideID() == side->GetID())
        return true;
    const std::string text = ResourceString(REFUSED_TEXT) + (name ? name : "") + ResourceString(REFUSED_MIDDLE_TEXT) +
                             ResourceString(REFUSED_END_TEXT);
    ui2game::PostGameMessage(side ? side->GetID() : 0, auxValue, text.c_str(), FERRY_MESSAGE_CLASS, ' ');
    return false;
}

bool FerryMission::Save(std::ostream& out)
{
    SaveBase(out);
    SaveField(out, FerryDestination);
    return static_cast<bool>(out);
}

bool FerryMission::Load(std::istream& in)
{
    if (!LoadBase(in))
        return false;
    if (!LoadField(in, FerryDestination)) {
        // A record cut short keeps nothing of what it read.
        units.DeleteAll();
        planeRefs.DeleteAll();
        sideQueue.DeleteAll();
        return false;
    }
    return true;
}

void FerryMission::ReleaseUnit(Unit* unit) { StandingMission::MarkUnitDone(*this, unit); }

void FerryMission::HandleMissionEvent(uint16_t code)
{
    if (code == MissionEventCode::START) {
        missionFlags &= ~MissionFlag::DELAYED_START;
        PostUnitEvents();
    } else if (code == MissionEventCode::DELAYED_START) {
        missionFlags |= MissionFlag::DELAYED_START;
        const uint16_t delay = gam2arena::Random(static_cast<uint16_t>(delayTime & 0xFFFF));
        PostOrDrop(MakeMissionEvent(side ? side->GetID() : 0, GetID(), MissionEventCode::START, delay));
    }
}

int16_t FerryMission::GetPatrolAltitude(Unit* unit, uint16_t)
{
    const char letter = unit ? unit->GetTypeLetter() : '\0';
    if (letter == 'S' || letter == 'G' || letter == 'B' || letter == 'F')
        return 0;
    return IsAircraftLetter(letter) ? AIRCRAFT_ALTITUDE : OTHER_ALTITUDE;
}

void FerryMission::DefaultSettingGroup1()
{
    for (int i = 0; i < 4; ++i)
        settingGroup1[i] = RADAR_TIMINGS[i];
}

void FerryMission::DefaultSettingGroup2() {}

void FerryMission::DefaultSettingGroup3()
{
    for (int i = 0; i < 4; ++i)
        settingGroup3[i] = ECM_TIMINGS[i];
}

void FerryMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (!record || record->markBits != 0)
        return;
    record->DropSensorEvents();
    if (missionFlags & MissionFlag::NO_DELAY) {
        const int16_t state = record->state;
        PostEmission(*this, unitID, RADAR, state == MissionUnitState::ENGAGING, MissionFlag::RADAR_ON,
                     MissionFlag::RADAR_OFF, MissionFlag::RADAR_PERIODIC, settingGroup1);
        PostEmission(*this, unitID, ECM, state == MissionUnitState::ENGAGING || state == MissionUnitState::ON_DUTY,
                     MissionFlag::ECM_ON, MissionFlag::ECM_OFF, MissionFlag::ECM_PERIODIC, settingGroup3);
    }
    record->markBits = UNIT_POSTURE_APPLIED;
}

void FerryMission::SaveName()
{
    std::string text;
    if (FerryDestination == 0) {
        text = ResourceString(NO_DESTINATION_TEXT);
    } else {
        const Unit* const destination = gam2arena::FindUnit(FerryDestination);
        text = ResourceString(DESCRIPTION_TEXT) +
               (destination ? std::string(destination->GetName().Text()) : ResourceString(DESTINATION_GONE_TEXT));
    }
    ReplaceText(savedName, text);
}

void FerryMission::OnUnitRemoved(MissionUnitRec*)
{
    // Units and aircraft moved in an open edit may still come back.
    if (editUnits.First() || editPlaneRefs.First())
        return;
    if (!gam2arena::FindUnit(FerryDestination)) {
        missionFlags |= MissionFlag::FINISHED;
        return;
    }
    if (units.First())
        return;
    for (const PlaneRecRef* reference = planeRefs.First(); reference; reference = reference->GetNext()) {
        const Unit* const holder = gam2arena::FindUnit(reference->holderID);
        if (holder && reference->holderID != FerryDestination && holder->GetParentID() != FerryDestination)
            return;   // aircraft still to move
    }
    missionFlags |= MissionFlag::FINISHED;
}

bool FerryMission::CanReferenceGo(const PlaneRecRef& reference, const Unit& destination) const
{
    const PlaneRec* const record = FindAircraftRecord(reference.holderID, reference.recordID);
    if (!record || (reference.recordFlags & READY_TO_GO) != READY_TO_GO)
        return false;
    if (destination.GetAircraftRoom(record->GetAnnexFlags()) < int32_t{record->count} * record->sizeFactor)
        return false;
    if (destination.GetMaxAircraftSize(true, false) < record->GetSizeClass())
        return false;
    const Unit* const holder = gam2arena::FindUnit(reference.holderID);
    if (!holder || reference.holderID == FerryDestination || holder->GetParentID() == FerryDestination)
        return false;
    const NavVector leg = NavMath::Get_Vector(holder->GetPosition(), destination.GetPosition());
    return int64_t{leg.range} <= int64_t{record->GetRadius()} * RANGE_PER_NM;
}

void FerryMission::SetAircraftWait()
{
    if (missionFlags & MissionFlag::AIRCRAFT_WAIT)
        return;
    missionFlags |= MissionFlag::AIRCRAFT_WAIT;
    const Unit* const destination = gam2arena::FindUnit(FerryDestination);
    if (!destination)
        missionFlags |= MissionFlag::FINISHED;
    PlaneRecRef* next = nullptr;
    for (PlaneRecRef* reference = planeRefs.First(); reference; reference = next) {
        next = reference->GetNext();   // a reference handed back leaves the list
        if (reference->refState != PlaneRecRef::HELD)
            continue;
        if (!destination || !CanReferenceGo(*reference, *destination)) {
            if (side)
                side->MoveReference(reference->holderID, reference->recordID, GetID(), STANDING_MISSION_ID);
        } else if (!(reference->recordFlags & KEPT_BACK)) {
            LaunchFromReference(reference, reference->count, GetDefaultState(0));
        }
    }
}

bool FerryMission::IsUnitBusy(Unit& unit) const
{
    return (unit.GetStateFlags() & SimObject::PATH_REQUESTED) != 0 || StandingMission::WakeAtPathEnd(unit);
}

void FerryMission::StepUnit(uint16_t unitID, uint8_t)
{
    if (missionFlags & MissionFlag::DELAYED_START)
        return;
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (!record || !unit)
        return;
    const bool engaging = record->state == MissionUnitState::ON_DUTY || record->state == MissionUnitState::ORDERED;
    if (unit->GetParentID() != 0 && !engaging)
        return;
    missionFlags |= MissionFlag::NO_DELAY;

    switch (record->state) {
    case MissionUnitState::ADDED:
        if (!IsAircraftLetter(unit->GetTypeLetter())) {
            if (side)
                side->ReturnUnitToStanding(unitID, GetID());
            return;
        }
        if (!IsUnitBusy(*unit))
            StartTrip(unitID, record, *unit);
        break;
    case ON_THE_WAY:
        if (IsUnitBusy(*unit))
            return;
        SetUnitPosture(unitID, record);
        // Without a destination the landing has nowhere to go: hand
        // everything back as a new unit's step would.
        if (!gam2arena::FindUnit(FerryDestination))
            ReleaseAllUnits();
        else
            OrderLanding(unitID, *unit);
        break;
    case MissionUnitState::ORDERED:
        record->state = MissionUnitState::ON_DUTY;
        break;
    case MissionUnitState::ON_DUTY:
        StepEngagingUnit(unitID, record, *unit);
        break;
    default:
        break;
    }
}

void FerryMission::StartTrip(uint16_t unitID, MissionUnitRec* record, Unit& unit)
{
    SetUnitPosture(unitID, record);
    const Unit* const destination = gam2arena::FindUnit(FerryDestination);
    if (!destination) {
        ReleaseAllUnits();
        return;
    }
    record->state = ON_THE_WAY;
    const NavVector leg = NavMath::Get_Vector(unit.GetPosition(), destination->GetPosition());
    const LatLonPoint halfway = NavMath::Get_LatLonPoint_From_Vector(unit.GetPosition(), leg.range / 2, leg.bearing);
    const int16_t altitude = GetPatrolAltitude(&unit, 0);
    OrderUnitAltitude(unitID, altitude);
    OrderUnitSpeed(unitID, &unit, 1, altitude);
    const PositionNode point(halfway);
    Game2UI::SetUnitPath(unitID, &point);
}

void FerryMission::OrderLanding(uint16_t unitID, Unit& unit)
{
    const char letter = unit.GetTypeLetter();
    if (letter == 'A') {
        for (const MissionUnitRec* member = units.First(); member; member = member->GetNext()) {
            if (member->leaderID != unitID)
                continue;
            if (auto* const plane = dynamic_cast<Plane*>(gam2arena::FindUnit(member->GetUnitID())))
                plane->homeBaseID = FerryDestination;
        }
    } else if (letter == 'P') {
        if (auto* const plane = dynamic_cast<Plane*>(&unit))
            plane->homeBaseID = FerryDestination;
    } else {
        return;
    }
    PostOrDrop(MakeLandOrRefuelEvent(unitID, FerryDestination, NO_INTERCEPT, LAND));
}

void FerryMission::StepEngagingUnit(uint16_t unitID, MissionUnitRec* record, Unit& unit)
{
    Contact* const contact = StandingMission::FindTargetContact(unit, *record);
    if (contact && EngageIfInReach(record, &unit, contact, ENGAGE_REACH))
        return;
    record->ChangeState(ON_THE_WAY, 0, 0);
    if (record->leaderID == 0) {
        Nav2Game::StopUnit(unitID);
        PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0)));
    } else {
        gam2side::NotifyParentUnit(unitID, 0);
    }
}
