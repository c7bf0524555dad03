// PatrolMission.cpp: the patrol's construction and saved form, its area,
// threat zone and description, point edits, altitudes, unit tests, emission
// orders, engagement reports and aircraft launch.
#include "missions/PatrolMission.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/Side.h"
#include "missions/StandingMission.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/ReferencePoint.h"
#include "units/ThreatPolyBridge.h"
#include "units/UnitEvents.h"
#include "units/Unit.h"
#include "world/AreaPolygonList.h"

namespace {

// Threat masks by kind.
constexpr uint32_t CLASS_SURFACE = 0x1;
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;

// Message class of the patrol's notices to the player.
constexpr uint16_t MESSAGE_CLASS = 0x100;

// Altitudes (feet; negative: depth).
constexpr int16_t TRANSIT_ALTITUDE = 61;
constexpr int16_t SUBMARINE_PATROL_DEPTH = -4;
constexpr int16_t SUBMARINE_DEEPEST = -10;
constexpr int16_t SUBMARINE_LEG_DEPTH = -2;

// Set-sensors event type, and the modes of the orders.
constexpr uint8_t SET_SENSORS_EVENT = 8;
constexpr uint16_t SENSORS_ON = 2;
constexpr uint16_t SENSORS_OFF = 3;
constexpr uint32_t SENSOR_RADAR = 1;
constexpr uint32_t SENSOR_SONAR = 5;
constexpr uint32_t SENSOR_ECM = 7;

// Aircraft references launched by the first scan: all of 0x10F, not 0x2000.
constexpr uint32_t LAUNCH_READY_FLAGS = 0x10F;
constexpr uint32_t LAUNCH_HELD_FLAG = 0x2000;

bool IsAircraft(char letter) { return letter == 'P' || letter == 'A'; }

// Ships, groups, bases and facilities keep altitude 0.
bool KeepsSurface(char letter) { return letter == 'S' || letter == 'G' || letter == 'B' || letter == 'F'; }

// The unit's altitude limits at propulsion setting 1.
void LimitsOf(const Unit& unit, int16_t& low, int16_t& high)
{
    low = 0;
    high = 0;
    unit.GetAltitudeEnvelope(1, low, high);
}

int16_t NotBelowDeepest(int16_t low) { return std::max(low, SUBMARINE_DEEPEST); }

// The contact's altitude when non-zero and at least low, else low; capped
// at high when `cap` is set.
int16_t ContactAltitudeWithin(const Contact* contact, int16_t low, int16_t high, bool cap)
{
    const int16_t altitude = contact != nullptr ? contact->GetAltitude() : 0;
    if (altitude == 0 || altitude < low)
        return low;
    return cap ? std::min(altitude, high) : altitude;
}

void SetGroup(uint16_t* group, uint16_t a, uint16_t b, uint16_t c, uint16_t d)
{
    group[0] = a;
    group[1] = b;
    group[2] = c;
    group[3] = d;
}

char* CopyText(const std::string& text)
{
    char* const copy = new char[text.size() + 1];
    text.copy(copy, text.size());
    copy[text.size()] = '\0';
    return copy;
}

} // namespace

MissionRecord* PatrolMission::Make(uint16_t kind, const char* nameText, const IDList* points, uint16_t, Side* owner)
{
    return new PatrolMission(kind, nameText, points, owner);
}

PatrolMission::PatrolMission(uint16_t kind, const char* nameText, const IDList* points, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = NEW_FLAGS;
    delete[] savedName;
    savedName = nullptr;
    switch (kind) {
    case KIND_AAW: targetClasses = CLASS_AIR; break;
    case KIND_ASU: targetClasses = CLASS_SURFACE; break;
    case KIND_ASW: targetClasses = CLASS_SUBSURFACE; break;
    default: break;
    }
    CopyIDList(points, &PatrolPoints);
    UpdateArea();
    SaveName();
}

PatrolMission::PatrolMission(uint16_t type, Side* owner)
{
    missionType = type;
    missionFlags = 0;
    side = owner;
}

PatrolMission::~PatrolMission()
{
    if (ThreatPolyID != 0 && side != nullptr && side->GetThreatZones() != nullptr)
        side->GetThreatZones()->Delete(static_cast<int16_t>(ThreatPolyID));
}

bool PatrolMission::Save(std::ostream& out)
{
    SaveBase(out);
    PatrolPoints.Save(out);
    PatrolArea.Save(out);
    SaveField(out, ThreatPolyID);
    return static_cast<bool>(out);
}

bool PatrolMission::Load(std::istream& in)
{
    if (!LoadBase(in))
        return false;
    // Read into locals first: a record cut short changes none of the fields.
    IDList points;
    LatLonRect area;
    uint16_t zone = 0;
    if (!points.Load(in) || !area.Load(in) || !LoadField(in, zone))
        return false;
    PatrolPoints.DeleteAll();
    while (IDNode* const node = points.First()) {
        points.Remove(node);
        PatrolPoints.Insert(node);
    }
    PatrolArea = area;
    ThreatPolyID = zone;
    return true;
}

// ---- validity and points ----

void PatrolMission::PostNameMessage(int32_t before, int32_t after, int32_t last) const
{
    std::string text;
    if (before != 0)
        text += ResourceString(before);
    if (name != nullptr)
        text += name;
    text += ResourceString(after);
    if (last != 0)
        text += ResourceString(last);
    ui2game::PostGameMessage(side != nullptr ? side->GetID() : 0, auxValue, text.c_str(), MESSAGE_CLASS, ' ');
}

bool PatrolMission::IsValid()
{
    if (PatrolPoints.First() != nullptr)
        return true;
    PostNameMessage(NO_POINTS_TEXT_A, NO_POINTS_TEXT_B, NO_POINTS_TEXT_C);
    return false;
}

void PatrolMission::AddPoints(IDList* ids)
{
    if (ids == nullptr || ids->First() == nullptr) {
        PostNameMessage(0, NONE_TO_ADD_TEXT, 0);
        return;
    }
    bool changed = false;
    for (const IDNode* node = ids->First(); node != nullptr; node = node->GetNext()) {
        if (PatrolPoints.Find(node->GetKey()) == nullptr) {
            PatrolPoints.Insert(new IDNode(node->GetKey()));
            changed = true;
        }
    }
    if (changed) {
        UpdateArea();
        SaveName();
    }
}

void PatrolMission::RemovePoints(IDList* ids)
{
    if (ids == nullptr || ids->First() == nullptr) {
        PostNameMessage(0, NONE_TO_REMOVE_TEXT, 0);
        return;
    }
    bool changed = false;
    for (const IDNode* node = ids->First(); node != nullptr; node = node->GetNext()) {
        if (IDNode* const present = PatrolPoints.Find(node->GetKey())) {
            PatrolPoints.Remove(present);
            delete present;
            changed = true;
        }
    }
    if (changed) {
        UpdateArea();
        SaveName();
    }
}

void PatrolMission::UpdateArea()
{
    LatLonRect area(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);
    for (const IDNode* node = PatrolPoints.First(); node != nullptr; node = node->GetNext()) {
        const ReferencePoint* const point = side != nullptr ? side->FindReferencePoint(node->GetKey()) : nullptr;
        if (point == nullptr)
            continue;
        const LatLonPoint p = point->GetPosition();
        area.north = std::max(area.north, p.lat);
        area.south = std::min(area.south, p.lat);
        area.east = std::max(area.east, p.lon);
        area.west = std::min(area.west, p.lon);
    }
    PatrolArea = area;
    if (creationKind != KIND_ASW || PatrolPoints.First() == nullptr)
        return;
    // The zone's outline: north-west corner first, clockwise.
    const LatLonPoint corners[4] = {{area.north, area.west}, {area.north, area.east},
                                    {area.south, area.east}, {area.south, area.west}};
    PositionNode* first = nullptr;
    PositionNode* previous = nullptr;
    for (const LatLonPoint& corner : corners) {
        auto* const node = new PositionNode(corner);
        if (previous == nullptr)
            first = node;
        else
            previous->InsertChainAfter(node);
        previous = node;
    }
    ThreatPolyID = static_cast<uint16_t>(
        Game2UI::SetThreatPoly(ThreatPolyID, first, THREAT_ZONE_TYPE, side != nullptr ? side->GetID() : 0));
    DeletePositionNodes(&first);
}

void PatrolMission::SaveName()
{
    delete[] savedName;
    savedName = nullptr;
    int32_t header = OTHER_KIND_TEXT;
    switch (creationKind) {
    case KIND_AAW: header = AAW_TEXT; break;
    case KIND_ASU: header = ASU_TEXT; break;
    case KIND_ASW: header = ASW_TEXT; break;
    default: break;
    }
    std::string text = ResourceString(header);
    for (const IDNode* node = PatrolPoints.First(); node != nullptr; node = node->GetNext()) {
        text += ResourceString(node == PatrolPoints.First() ? FIRST_POINT_TEXT : NEXT_POINT_TEXT);
        text += std::to_string(node->GetKey());
    }
    savedName = CopyText(text);
}

// ---- altitudes ----

int16_t PatrolMission::GetPatrolAltitude(Unit* unit, uint16_t)
{
    if (unit == nullptr || KeepsSurface(unit->GetTypeLetter()))
        return 0;
    int16_t low = 0, high = 0;
    LimitsOf(*unit, low, high);
    const bool submarine = unit->GetTypeLetter() == 'U';
    if (creationKind == KIND_AAW || creationKind == KIND_ASU)
        return submarine ? SUBMARINE_PATROL_DEPTH : high;
    if (creationKind == KIND_ASW)
        return submarine ? NotBelowDeepest(low) : low;
    return submarine ? NotBelowDeepest(low) : TRANSIT_ALTITUDE;
}

int16_t PatrolMission::GetTaskAltitude(Unit* unit, uint16_t value, uint32_t targetClass)
{
    if (unit == nullptr || KeepsSurface(unit->GetTypeLetter()))
        return 0;
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    const bool submarine = unit->GetTypeLetter() == 'U';
    const bool airOrMissile = c == CLASS_AIR || c == CLASS_MISSILE;
    int16_t low = 0, high = 0;
    if (static_cast<int16_t>(value) == PatrolState::ATTACKING) {
        unit->GetAttackAltitudes(targetClass, low, high);
        if (submarine && c == CLASS_SUBSURFACE)
            return NotBelowDeepest(low);
        if (submarine && !airOrMissile)
            return SUBMARINE_PATROL_DEPTH;
        if (!airOrMissile)
            return low;
        return ContactAltitudeWithin(TaskAltitudeContact(*unit), low, high, true);
    }
    LimitsOf(*unit, low, high);
    if (submarine) {
        if (c == CLASS_SUBSURFACE)
            return NotBelowDeepest(low);
        return airOrMissile ? high : SUBMARINE_PATROL_DEPTH;
    }
    return c == CLASS_SUBSURFACE ? low : high;
}

int16_t PatrolMission::GetAttackRunAltitude(Unit* unit, const MissionUnitRec* record)
{
    if (unit == nullptr || record == nullptr || KeepsSurface(unit->GetTypeLetter()))
        return 0;
    const uint32_t c = record->targetClass & ~CLASS_IGNORED;
    int16_t low = 0, high = 0;
    LimitsOf(*unit, low, high);
    if (c != CLASS_AIR && c != CLASS_MISSILE)
        return unit->GetTypeLetter() == 'U' ? NotBelowDeepest(low) : low;
    return ContactAltitudeWithin(StandingMission::FindTargetContact(*unit, *record), low, high, false);
}

int16_t PatrolMission::GetTransitAltitude(Unit* unit)
{
    if (unit == nullptr || KeepsSurface(unit->GetTypeLetter()))
        return 0;
    if (unit->GetTypeLetter() != 'U')
        return TRANSIT_ALTITUDE;
    int16_t low = 0, high = 0;
    LimitsOf(*unit, low, high);
    return low;
}

int16_t PatrolMission::GetSearchAltitude(Unit* unit) const
{
    if (unit != nullptr && creationKind == KIND_ASW && unit->GetTypeLetter() == 'U')
        return SUBMARINE_PATROL_DEPTH;
    return const_cast<PatrolMission*>(this)->GetPatrolAltitude(unit, 0);
}

int16_t PatrolMission::GetSubmarineLegAltitude(Unit* unit)
{
    return unit != nullptr && unit->GetTypeLetter() == 'U' ? SUBMARINE_LEG_DEPTH : 0;
}

Contact* PatrolMission::TaskAltitudeContact(const Unit& unit) const
{
    if (plannedTarget != nullptr)
        return plannedTarget;
    const MissionUnitRec* const record = units.Find(unit.GetKey());
    return record != nullptr ? StandingMission::FindTargetContact(unit, *record) : nullptr;
}

// ---- unit tests ----

bool PatrolMission::CanUnitAttackClass(Unit* unit, const MissionUnitRec* record)
{
    if (unit == nullptr || record == nullptr)
        return false;
    const char letter = unit->GetTypeLetter();
    if (IsAircraft(letter))
        return true;
    const uint32_t c = record->targetClass & ~CLASS_IGNORED;
    if (c == CLASS_SUBSURFACE)
        return false;
    if (c == CLASS_AIR || c == CLASS_MISSILE)
        return true;
    return letter != 'U';
}

bool PatrolMission::IsUnitEligible(Unit* unit) const
{
    if (unit == nullptr)
        return false;
    if (creationKind == KIND_ASW)
        return IsAircraft(unit->GetTypeLetter());
    return unit->GetTypeLetter() != 'U';
}

bool PatrolMission::IsNotSubmarine(Unit* unit) { return unit != nullptr && unit->GetTypeLetter() != 'U'; }

// ---- emissions ----

void PatrolMission::DefaultSettingGroup1() { SetGroup(settingGroup1, 900, 50, 300, 50); }
void PatrolMission::DefaultSettingGroup2() { SetGroup(settingGroup2, 600, 50, 60, 50); }
void PatrolMission::DefaultSettingGroup3() { SetGroup(settingGroup3, 60, 50, 30, 50); }

void PatrolMission::PostSensorFlags(uint16_t unitID, uint32_t sensor, uint32_t onFlag, uint32_t offFlag,
                                    uint32_t periodicFlag, const uint16_t* group)
{
    if ((missionFlags & onFlag) != 0)
        PostSensorSetting(unitID, SENSORS_ON, sensor, 0, 0, 0, 0);
    else if ((missionFlags & offFlag) != 0)
        PostSensorSetting(unitID, SENSORS_OFF, sensor, 0, 0, 0, 0);
    else if ((missionFlags & periodicFlag) != 0)
        PostSensorSetting(unitID, SENSORS_ON, sensor, group[0], static_cast<uint8_t>(group[1]), group[2],
                          static_cast<uint8_t>(group[3]));
}

void PatrolMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (record == nullptr || record->markBits != 0)
        return;
    gam2arena::RemoveUnitEvents(unitID, SET_SENSORS_EVENT);
    if ((missionFlags & EMISSIONS_MANAGED) != 0) {
        const int16_t state = record->state;
        const Unit* const unit = gam2arena::FindUnit(unitID);
        const bool aircraft = unit != nullptr && IsAircraft(unit->GetTypeLetter());
        if (state == PatrolState::REPORTED)
            PostSensorSetting(unitID, SENSORS_ON, SENSOR_RADAR, 0, 0, 0, 0);
        else
            PostSensorFlags(unitID, SENSOR_RADAR, MissionFlag::RADAR_ON, MissionFlag::RADAR_OFF,
                            MissionFlag::RADAR_PERIODIC, settingGroup1);
        if (state == PatrolState::REPORTED || state == PatrolState::ENGAGING)
            PostSensorSetting(unitID, SENSORS_ON, SENSOR_ECM, 0, 0, 0, 0);
        else
            PostSensorFlags(unitID, SENSOR_ECM, MissionFlag::ECM_ON, MissionFlag::ECM_OFF, MissionFlag::ECM_PERIODIC,
                            settingGroup3);
        if (state == PatrolState::ENGAGING || state == PatrolState::ORDERED) {
            if (!aircraft)
                PostSensorSetting(unitID, SENSORS_ON, SENSOR_SONAR, 0, 0, 0, 0);
        } else if (state == PatrolState::NEAR_ATTACKED) {
            const bool on = (missionFlags & MissionFlag::SONAR_ON) != 0 ||
                            (record->isFormation == 0 && unit != nullptr && unit->GetPath() != nullptr);
            PostSensorSetting(unitID, on ? SENSORS_ON : SENSORS_OFF, SENSOR_SONAR, 0, 0, 0, 0);
        } else {
            PostSensorFlags(unitID, SENSOR_SONAR, MissionFlag::SONAR_ON, MissionFlag::SONAR_OFF,
                            MissionFlag::SONAR_PERIODIC, settingGroup2);
        }
    }
    record->markBits = UNIT_POSTURE_APPLIED;
}

void PatrolMission::SetAircraftPosture(Unit* unit, uint32_t targetClass)
{
    if (unit == nullptr || !IsAircraft(unit->GetTypeLetter()))
        return;
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    const uint32_t m = targetClasses;
    uint32_t posture = 0;
    if (c == m) {
        if (m == CLASS_SURFACE)
            posture = 1;
        else if (m == CLASS_SUBSURFACE)
            posture = unit->GetWeaponReach(CLASS_SUBSURFACE) != 0 ? 0x22 : 2;
        else
            posture = 8;
    } else if (unit->SumWeaponRatings(m) == 0) {
        switch (c) {
        case CLASS_SURFACE: posture = 1; break;
        case CLASS_SUBSURFACE: posture = 2; break;
        case CLASS_AIR: posture = 8; break;
        case CLASS_MISSILE: posture = 0x10; break;
        default: break;
        }
    }
    SetPlanePosture(*unit, posture);
}

// ---- engagement reports ----

void PatrolMission::FollowUp(uint16_t unitID, Unit* unit, MissionUnitRec* record)
{
    if (record->isFormation != 0) {
        SetUnitPosture(unitID, record);
        return;
    }
    unit->ClearPath();
    PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0)));
}

void PatrolMission::OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done)
{
    MissionUnitRec* record = units.Find(unitID);
    if (record != nullptr && record->leaderID != 0) {
        if (MissionUnitRec* const leader = units.Find(record->leaderID)) {
            record = leader;
            unitID = leader->GetUnitID();
        }
    }
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    if (clearMark != 0)
        record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    const bool counts = done != 0 && IsAircraft(unit->GetTypeLetter());
    int16_t next = -1;
    if (record->state == PatrolState::ATTACKING && !counts)
        next = PatrolState::HOLDING;
    else if (record->state == PatrolState::ADDED || record->state == PatrolState::PATROLLING)
        next = PatrolState::REPORTED;
    if (next < 0 || contact == nullptr) {
        if (record->isFormation == 0)
            SetUnitPosture(unitID, record);
        return;
    }
    record->ChangeState(next, contact->GetKey(), contact->GetTypeFlags());
    SetAircraftPosture(unit, contact->GetTypeFlags());
    FollowUp(unitID, unit, record);
}

void PatrolMission::CheckIdleState(MissionUnitRec* record)
{
    if (record == nullptr || (record->state != PatrolState::REPORTED && record->state != PatrolState::HOLDING))
        return;
    const uint16_t unitID = record->GetUnitID();
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return;
    if (unit->SumWeaponRatings(record->targetClass) == 0) {
        record->ChangeState(PatrolState::PATROLLING, 0, 0);
    } else if (!unit->HasContacts()) {
        if (record->state == PatrolState::HOLDING)
            record->state = PatrolState::ATTACKING;
        else
            record->ChangeState(PatrolState::PATROLLING, 0, 0);
    } else {
        return;
    }
    record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    FollowUp(unitID, unit, record);
}

// ---- aircraft launch ----

void PatrolMission::SetAircraftWait()
{
    if ((missionFlags & MissionFlag::AIRCRAFT_WAIT) != 0)
        return;
    missionFlags |= MissionFlag::AIRCRAFT_WAIT;
    // The keys first: a launch may change the reference list.
    IDList ready;
    for (const PlaneRecRef* ref = planeRefs.First(); ref != nullptr; ref = ref->GetNext()) {
        if (ref->refState != PlaneRecRef::HELD)
            continue;
        const MissionUnitRec* const holder = units.Find(ref->holderID);
        if (holder != nullptr && holder->leaderID != 0)
            continue;
        if ((ref->recordFlags & LAUNCH_READY_FLAGS) == LAUNCH_READY_FLAGS && (ref->recordFlags & LAUNCH_HELD_FLAG) == 0)
            ready.Insert(new IDNode(ref->GetKey()));
    }
    for (const IDNode* node = ready.First(); node != nullptr; node = node->GetNext()) {
        PlaneRecRef* const ref = planeRefs.Find(node->GetKey());
        if (ref == nullptr)
            continue;
        uint8_t n = ref->count;
        if ((missionFlags & MissionFlag::THIRD_AT_A_TIME) != 0)
            n = static_cast<uint8_t>(std::max(1, ref->count / 3));
        LaunchFromReference(ref, n, 1);
    }
}
