// ReconMission.cpp: the recon mission's construction and saved form, its
// points, area and description, the commands, the emission orders, the
// altitudes and the launch of its aircraft. The unit step is ReconStep.cpp,
// the contacts ReconContacts.cpp.
#include "missions/ReconMission.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/ReferencePoint.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"
#include "world/AreaPolygonList.h"
#include "world/Game2UI2.h"

namespace {

// Message class of the mission notices to the player.
constexpr uint16_t MISSION_MESSAGE_CLASS = 0x100;

// Sensor orders: modes and the sensor classes switched.
constexpr uint16_t SENSORS_ON = 2;
constexpr uint16_t SENSORS_OFF = 3;
constexpr uint32_t RADAR = 1;
constexpr uint32_t ECM = 7;

// Aircraft references: what a reference must carry to be launched (all of
// these bits), and the bit that holds it back.
constexpr uint32_t LAUNCHABLE_FLAGS = 0x10F;
constexpr uint32_t HELD_BACK_FLAG = 0x2000;

// Propulsion settings whose envelope tops the altitudes take.
constexpr int16_t PATROL_SETTING = 2;
constexpr int16_t TASK_SETTING = 1;

// A computer side launches a third of a reference's aircraft at a time.
constexpr uint8_t LAUNCH_SHARE = 3;

bool IsSurfaceOrFixed(char letter) { return letter == 'S' || letter == 'G' || letter == 'B' || letter == 'F'; }

// The top of the unit's altitude envelope at a propulsion setting.
int16_t EnvelopeTop(const Unit& unit, int16_t setting)
{
    int16_t low = 0, high = 0;
    unit.GetAltitudeEnvelope(setting, low, high);
    return high;
}

bool IsLaunchable(const PlaneRecRef& reference)
{
    return reference.refState == PlaneRecRef::HELD &&
           (reference.recordFlags & LAUNCHABLE_FLAGS) == LAUNCHABLE_FLAGS;
}

} // namespace

ReconMission::ReconMission(uint16_t kind, const char* nameText, const IDList* points, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = 0;
    CopyIDList(points, &ReconPoints);
    UpdateArea();
    SaveName();
}

MissionRecord* ReconMission::MakeForKind(uint16_t kind, const char* nameText, const IDList* points, uint16_t,
                                         Side* owner)
{
    return new ReconMission(kind, nameText, points, owner);
}

ReconMission::ReconMission(uint16_t, Side* owner)
{
    missionType = TYPE;
    missionFlags = 0;
    side = owner;
}

ReconMission::~ReconMission()
{
    if (ReconPolyID != 0 && side != nullptr) {
        if (AreaPolygonList* const zones = side->GetThreatZones())
            zones->Delete(static_cast<int16_t>(ReconPolyID));
    }
}

// ---- saved form ----

bool ReconMission::Save(std::ostream& out)
{
    SaveBase(out);
    ReconPoints.Save(out);
    SaveField(out, ReconArea.north);
    SaveField(out, ReconArea.west);
    SaveField(out, ReconArea.south);
    SaveField(out, ReconArea.east);
    SaveField(out, ReconPolyID);
    VisitedPoints.Save(out);
    return static_cast<bool>(out);
}

bool ReconMission::Load(std::istream& in)
{
    ReconPoints.DeleteAll();
    VisitedPoints.DeleteAll();
    if (!LoadBase(in))
        return false;
    LatLonRect area;
    uint16_t polygon = 0;
    ReconPoints.Load(in);
    LoadField(in, area.north);
    LoadField(in, area.west);
    LoadField(in, area.south);
    LoadField(in, area.east);
    LoadField(in, polygon);
    VisitedPoints.Load(in);
    if (!in) {
        // Nothing of a damaged record stays behind, nor a polygon id that
        // would delete a zone of the side with the mission.
        ReconPoints.DeleteAll();
        VisitedPoints.DeleteAll();
        units.DeleteAll();
        planeRefs.DeleteAll();
        sideQueue.DeleteAll();
        in.setstate(std::ios::failbit);
        return false;
    }
    ReconArea = area;
    ReconPolyID = polygon;
    return true;
}

// ---- points, area and description ----

bool ReconMission::IsValid()
{
    if (ReconPoints.First() != nullptr)
        return true;
    const std::string text = ResourceString(NO_POINTS_TEXT_A) + (name ? name : "") +
                             ResourceString(NO_POINTS_TEXT_B) + ResourceString(NO_POINTS_TEXT_C);
    ui2game::PostGameMessage(side ? side->GetID() : 0, auxValue, text.c_str(), MISSION_MESSAGE_CLASS, ' ');
    return false;
}

void ReconMission::TellPlayer(const std::string& text) const
{
    const std::string line = (name ? name : "") + text;
    ui2game::PostGameMessage(side ? side->GetID() : 0, auxValue, line.c_str(), MISSION_MESSAGE_CLASS, ' ');
}

void ReconMission::AfterPointsChanged(bool changed)
{
    if (!changed)
        return;
    UpdateArea();
    SaveName();
}

void ReconMission::AddPoints(IDList* ids)
{
    if (ids == nullptr || ids->First() == nullptr) {
        TellPlayer(ResourceString(NOTHING_TO_ADD_TEXT));
        return;
    }
    bool changed = false;
    for (const IDNode* node = ids->First(); node != nullptr; node = node->GetNext()) {
        if (ReconPoints.Find(node->GetKey()) == nullptr) {
            ReconPoints.Insert(new IDNode(node->GetKey()));
            changed = true;
        }
    }
    AfterPointsChanged(changed);
}

void ReconMission::RemovePoints(IDList* ids)
{
    if (ids == nullptr || ids->First() == nullptr) {
        TellPlayer(ResourceString(NOTHING_TO_REMOVE_TEXT));
        return;
    }
    bool changed = false;
    for (const IDNode* node = ids->First(); node != nullptr; node = node->GetNext()) {
        if (IDNode* const held = ReconPoints.Find(node->GetKey())) {
            ReconPoints.Remove(held);
            delete held;
            changed = true;
        }
    }
    AfterPointsChanged(changed);
}

void ReconMission::UpdateArea()
{
    LatLonRect area(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);
    for (const IDNode* node = ReconPoints.First(); node != nullptr; node = node->GetNext()) {
        const ReferencePoint* const point = side ? side->FindReferencePoint(node->GetKey()) : nullptr;
        if (point == nullptr)
            continue;
        const LatLonPoint at = point->GetPosition();
        area.north = std::max(area.north, at.lat);
        area.south = std::min(area.south, at.lat);
        area.east = std::max(area.east, at.lon);
        area.west = std::min(area.west, at.lon);
    }
    ReconArea = area;
}

void ReconMission::SaveName()
{
    std::string text = ResourceString(DESCRIPTION_TEXT);
    for (const IDNode* node = ReconPoints.First(); node != nullptr; node = node->GetNext()) {
        text += ResourceString(node == ReconPoints.First() ? FIRST_POINT_TEXT : NEXT_POINT_TEXT);
        text += std::to_string(node->GetKey());
    }
    delete[] savedName;
    savedName = new char[text.size() + 1];
    text.copy(savedName, text.size());
    savedName[text.size()] = '\0';
}

// ---- unit questions ----

uint16_t ReconMission::QueryUnit(uint16_t unitID, uint16_t contactID)
{
    const MissionUnitRec* const record = units.Find(unitID);
    if (record == nullptr || record->targetID != contactID)
        return 0;
    switch (record->state) {
    case ReconState::CLOSING:
    case ReconState::OFF_ROUTE:
    case ReconState::OFF_ROUTE_CONTACTS:
    case ReconState::SHADOWING:
        return 2;
    default:
        return 0;
    }
}

void ReconMission::SetAircraftPosture(Unit*, uint32_t) {}

int16_t ReconMission::GetPatrolAltitude(Unit* unit, uint16_t)
{
    if (unit == nullptr || IsSurfaceOrFixed(unit->GetTypeLetter()))
        return 0;
    return EnvelopeTop(*unit, PATROL_SETTING);
}

int16_t ReconMission::GetTaskAltitude(Unit* unit, uint16_t, uint32_t)
{
    if (unit == nullptr || IsSurfaceOrFixed(unit->GetTypeLetter()) || unit->GetTypeLetter() == 'U')
        return 0;
    return EnvelopeTop(*unit, TASK_SETTING);
}

void ReconMission::DefaultSettingGroup1()
{
    settingGroup1[0] = 900;
    settingGroup1[1] = 50;
    settingGroup1[2] = 300;
    settingGroup1[3] = 50;
}

void ReconMission::DefaultSettingGroup2()
{
    settingGroup2[0] = 600;
    settingGroup2[1] = 50;
    settingGroup2[2] = 60;
    settingGroup2[3] = 50;
}

void ReconMission::DefaultSettingGroup3()
{
    settingGroup3[0] = 60;
    settingGroup3[1] = 50;
    settingGroup3[2] = 30;
    settingGroup3[3] = 50;
}

// ---- commands ----

void ReconMission::HandleMissionEvent(uint16_t code)
{
    if (code == RESUME) {
        missionFlags &= ~SUSPENDED;
        PostUnitEvents();
    } else if (code == SUSPEND) {
        missionFlags |= SUSPENDED;
        // The mission resumes by itself within the delay time.
        const uint32_t delay = gam2arena::Random(static_cast<uint16_t>(delayTime & 0xFFFF));
        PostOrDrop(MakeMissionEvent(side ? side->GetID() : 0, GetID(), RESUME, delay));
    }
}

// ---- emissions ----

void ReconMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (record == nullptr || record->markBits != 0)
        return;
    record->DropSensorEvents();
    if ((missionFlags & EMISSIONS_MANAGED) != 0) {
        SetRadarPosture(unitID, record->state);
        SetECMPosture(unitID, record->state);
    }
    record->markBits = UNIT_POSTURE_APPLIED;
}

namespace {

// One sensor order of a posture: on, off or periodic with the timings of a
// setting group (first time, variation, second time, variation), or none.
void PostPosture(MissionRecord& mission, uint16_t unitID, uint32_t sensor, bool on, bool off, bool periodic,
                 const uint16_t* timings)
{
    if (on)
        mission.PostSensorSetting(unitID, SENSORS_ON, sensor, 0, 0, 0, 0);
    else if (off)
        mission.PostSensorSetting(unitID, SENSORS_OFF, sensor, 0, 0, 0, 0);
    else if (periodic)
        mission.PostSensorSetting(unitID, SENSORS_ON, sensor, timings[0], static_cast<uint8_t>(timings[1]),
                                  timings[2], static_cast<uint8_t>(timings[3]));
}

} // namespace

void ReconMission::SetRadarPosture(uint16_t unitID, int16_t state)
{
    // A unit with contacts on its route always looks with its radar.
    const bool on = state == ReconState::ROUTE_CONTACTS || (missionFlags & MissionFlag::RADAR_ON) != 0;
    PostPosture(*this, unitID, RADAR, on, (missionFlags & MissionFlag::RADAR_OFF) != 0,
                (missionFlags & MissionFlag::RADAR_PERIODIC) != 0, settingGroup1);
}

void ReconMission::SetECMPosture(uint16_t unitID, int16_t state)
{
    const bool on = state == ReconState::ROUTE_CONTACTS || state == ReconState::ENGAGING ||
                    (missionFlags & MissionFlag::ECM_ON) != 0;
    PostPosture(*this, unitID, ECM, on, (missionFlags & MissionFlag::ECM_OFF) != 0,
                (missionFlags & MissionFlag::ECM_PERIODIC) != 0, settingGroup3);
}

// ---- aircraft launch ----

void ReconMission::SetAircraftWait()
{
    if ((missionFlags & MissionFlag::AIRCRAFT_WAIT) != 0)
        return;
    missionFlags |= MissionFlag::AIRCRAFT_WAIT;

    if (side == nullptr || side->GetID() != Game2UI2::GetCurrentSideID()) {
        // A launch may add a reference to the list: the walk goes over the
        // keys there were.
        std::vector<uint16_t> keys;
        for (const PlaneRecRef* r = planeRefs.First(); r != nullptr; r = r->GetNext())
            keys.push_back(r->GetKey());
        for (const uint16_t key : keys) {
            PlaneRecRef* const reference = planeRefs.Find(key);
            if (reference == nullptr || !IsLaunchable(*reference) || (reference->recordFlags & HELD_BACK_FLAG) != 0)
                continue;
            const MissionUnitRec* const holder = units.Find(reference->holderID);
            if (holder != nullptr && holder->leaderID != 0)
                continue;
            const uint8_t share = reference->count / LAUNCH_SHARE;
            LaunchFromReference(reference, share > 0 ? share : 1, 1);
        }
        return;
    }

    // The player's side sends one aircraft out while none is flying.
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        if (r->state == MissionUnitState::DONE)
            continue;
        const Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
        if (unit != nullptr && unit->GetTypeLetter() == 'P')
            return;
    }
    for (const PlaneRecRef* r = planeRefs.First(); r != nullptr; r = r->GetNext()) {
        if ((r->recordFlags & HELD_BACK_FLAG) != 0)
            return;
    }
    LaunchLongestRange();
}

void ReconMission::LaunchLongestRange()
{
    PlaneRecRef* best = nullptr;
    uint16_t bestRadius = 0;
    for (PlaneRecRef* r = planeRefs.First(); r != nullptr; r = r->GetNext()) {
        if (!IsLaunchable(*r))
            continue;
        const PlaneRec* const record = r->GetPlaneRec();
        if (record == nullptr)
            continue;
        const uint16_t radius = record->GetRadius();
        if (best == nullptr || radius > bestRadius) {
            best = r;
            bestRadius = radius;
        }
    }
    if (best != nullptr)
        LaunchFromReference(best, 1, 1);
}
