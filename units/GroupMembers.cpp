// GroupMembers.cpp: units joining and leaving a group, the lead and the
// side, the speed limits and orders, the group's step along its path, and
// the operations the group answers for its members.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/FacilityAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/SensorAnnex.h"
#include "annex/ShipAnnex.h"
#include "annex/SubAnnex.h"
#include "core/AllocationCheck.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/GroupBridge.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/Status.h"
#include "units/StatusWeather.h"
#include "units/PropulsionPlant.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"

namespace {

// The best sonar figure of a record's sensor list: the negated last of the
// sensor record's five 16-bit figures, over the sonars; not below 0.
int16_t SonarValueOf(const IDRecordList& sensors)
{
    const AnnexTable<SensorAnnex>* const table = Annex::Tables().Sensors();
    int32_t best = 0;
    if (table == nullptr)
        return 0;
    for (const IDRecord* r = sensors.First(); r != nullptr; r = r->GetNext()) {
        const SensorAnnex* const sensor = table->Find(r->GetKey());
        if (sensor == nullptr)
            continue;
        const uint32_t type = sensor->GetSensorType();
        const bool sonar = type == 4 || type == 5 || (type >= 11 && type <= 15);
        if (sonar)
            best = std::max<int32_t>(best, -int32_t{sensor->jamMargin});
    }
    return static_cast<int16_t>(std::min<int32_t>(best, INT16_MAX));
}

template <class Record>
void CopyCapability(GroupEntry& entry, const Record* record)
{
    if (record == nullptr)
        return;
    for (int i = 0; i < 3; ++i)
        entry.capability[i] = record->bytes[i];
}

void FillEntry(GroupEntry& entry, Unit& member)
{
    const uint16_t id = member.GetAnnexID();
    AnnexTables& tables = Annex::Tables();
    switch (member.GetTypeLetter()) {
    case 'F':
        if (tables.Facilities() != nullptr)
            CopyCapability(entry, tables.Facilities()->Find(id));
        entry.loadValue = static_cast<uint16_t>(member.SumWeaponRatings(8));
        break;
    case 'P':
        if (tables.Planes() != nullptr)
            CopyCapability(entry, tables.Planes()->Find(id));
        break;
    case 'S':
        if (tables.Ships() != nullptr) {
            const ShipAnnex* const ship = tables.Ships()->Find(id);
            CopyCapability(entry, ship);
            if (ship != nullptr)
                entry.sonarValue = SonarValueOf(ship->sensors);
        }
        entry.loadValue = static_cast<uint16_t>(member.SumWeaponRatings(8));
        break;
    case 'U':
        if (tables.Subs() != nullptr) {
            const SubAnnex* const sub = tables.Subs()->Find(id);
            CopyCapability(entry, sub);
            if (sub != nullptr)
                entry.sonarValue = SonarValueOf(sub->sensors);
        }
        break;
    default:
        break;
    }
}

// Resource texts of the status lines: the setting names of settings 0 to 3,
// the text without a setting in force.
constexpr int32_t TEXT_SETTINGS[] = {0x7B01EF, 0x7B019B, 0x7B019C, 0x7B01F0};
constexpr int32_t TEXT_NO_SETTING = 0x7B01EE;

bool IsVessel(char letter)
{
    return letter == 'S' || letter == 'U';
}

}  // namespace

void Group::AddMember(uint16_t unitID, const StationRecord* templateStation)
{
    if (unitID == GetID())
        return;
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr || unit->GetSideID() != GetSideID())
        return;
    // The first member gives the group its side record; a later member with
    // a record of its own still joins, and the group keeps the record it has
    // (the entry follow-up moves it to the lead's record when that changes).
    if (sideEntryID == 0) {
        sideEntryID = unit->sideEntryID;
        leadID = unitID;
        UnitEntry::AddMember(sideEntryID, GetID());
    }
    if (members.Find(unitID) != nullptr)
        return;
    auto* const entry = new GroupEntry(unitID);
    AllocationCheck(entry);
    members.Insert(entry);
    unit->ClearPath();
    FillEntry(*entry, *unit);
    StationRecord* const station = formation->AddMember(unitID, templateStation);
    unit->SetParentID(GetID());
    if (IsVessel(unit->GetTypeLetter()))
        needsStationPlan = 1;
    PostOrDrop(MakeStationEvent(EventCode::STATION_SET, unitID, GameTime(0)));
    if (station != nullptr)
        station->ApplyStationEvents();
    RecomputeSpeedLimits();
    const uint16_t wanted = static_cast<uint16_t>(std::max(0, speed + speedCarry));
    speedCarry = 0;
    speed = static_cast<uint16_t>(wanted - 1);
    SetSpeed(wanted, GetAltitude());
    UpdateStations(false);
    const uint16_t mission = gam2side::GetUnitMissionID(GetID());
    if (gam2side::GetUnitMissionID(unitID) == mission)
        gam2side::SetUnitGroup(unitID, GetID());
    else
        gam2side::SetPlaneMissions(unitID, mission);
}

void Group::RemoveMember(uint16_t unitID)
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit != nullptr) {
        if (IsVessel(unit->GetTypeLetter())) {
            needsStationPlan = 1;
        } else if (auto* const plane = dynamic_cast<Plane*>(unit)) {
            for (StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
                if (s->mode == StationMode::FLYING && s->unitID == unitID) {
                    s->mode = StationMode::WANTED;
                    s->unitID = plane->GetAnnexID();
                    s->leg = plane->loadoutID;
                    break;
                }
            }
        }
    }
    GroupEntry* const entry = members.Find(unitID);
    if (entry == nullptr)
        return;
    members.Remove(entry);
    delete entry;
    if (unitID == leadID || members.First() == nullptr) {
        if (members.First() == nullptr) {
            leadID = 0;
            ScheduleDeletion(0);
        } else {
            leadID = members.First()->GetKey();
            if (const Unit* const lead = gam2arena::FindUnit(leadID))
                sideEntryID = lead->sideEntryID;
        }
    }
    formation->RemoveMember(unitID);
    if (unit != nullptr)
        unit->SetParentID(0);
    gam2side::SetUnitGroup(unitID, 0);
    // Planes based on the leaver go with it and land there. The ids are
    // copied first: each removal changes the list.
    std::vector<uint16_t> ids;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext())
        ids.push_back(e->GetKey());
    for (uint16_t id : ids) {
        const auto* const plane = dynamic_cast<const Plane*>(gam2arena::FindUnit(id));
        if (plane == nullptr || plane->homeBaseID != unitID || members.Find(id) == nullptr)
            continue;
        RemoveMember(id);
        PostOrDrop(MakeLandEvent(id, unitID, gam2arena::GetGameTime()));
    }
    if (members.First() != nullptr && needsStationPlan != 0) {
        RecomputeSpeedLimits();
        UpdateStations(false);
    }
}

void Group::SetMemberStationKind(uint16_t unitID, uint8_t kind)
{
    if (GetMemberStation(unitID) != nullptr)
        formation->SetStationKind(unitID, kind);
}

void Group::RecomputeSpeedLimits()
{
    PropulsionPlant* const plant = OwnPlant();
    if (plant == nullptr)
        return;
    for (auto& row : plant->speedTable)
        row[0].speed = GetSpeedCeiling();
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext())
        LimitSpeedByMember(e->GetKey());
}

void Group::LimitSpeedByMember(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    PropulsionPlant* const plant = OwnPlant();
    if (unit == nullptr || plant == nullptr || (unit->GetTypeLetter() == 'P' && GetGroupLetter() != 'A'))
        return;
    for (int16_t s = 0; s < PropulsionPlant::SETTINGS; ++s) {
        const uint16_t v = unit->GetMaxSpeedAtAltitude(s, unit->GetAltitude());
        if (v < plant->speedTable[s][0].speed)
            plant->speedTable[s][0].speed = v;
    }
}

uint16_t Group::SetSpeed(uint16_t wanted, int16_t altitude)
{
    const uint16_t before = speed;
    uint16_t offer = wanted;
    for (bool changed = true; changed;) {
        changed = false;
        for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
            Unit* const unit = gam2arena::FindUnit(e->GetKey());
            const StationRecord* const station = formation->Find(e->GetKey());
            if (unit == nullptr || !TakesSpeedOrder(*unit) || station == nullptr
                || station->mode == StationMode::STEERING)
                continue;
            const uint16_t answer = unit->SetSpeed(offer, unit->GetAltitude());
            if (answer != offer) {
                offer = answer;
                changed = true;
            }
        }
    }
    uint16_t result = offer;
    if (offer != before) {
        result = Unit::SetSpeed(offer, altitude);
        speedCarry = 0;
    }
    UpdateStations(result != before);
    return result;
}

int32_t Group::SumWeaponRatings(uint32_t target) const
{
    int32_t sum = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit != nullptr && unit->GetTypeLetter() == 'S')
            sum += unit->SumWeaponRatings(target);
    }
    return sum;
}

void Group::Move(uint8_t elapsed)
{
    PositionNode* const next = GetPath();
    if (next != nullptr && plants.First() == nullptr)
        return;
    const PropulsionPlant* const plant = OwnPlant();
    if (next != nullptr && plant != nullptr && plant->BandInForce(plant->setting < 0 ? 0 : plant->setting,
                                                                  GetAltitude()) >= 0) {
        const int32_t knots = std::max<int32_t>(0, static_cast<int16_t>(speed));
        const NavVector v = NavMath::Get_Vector(GetPosition(), next->GetPosition());
        course = v.bearing;
        const int64_t step = int64_t{knots} * RANGE_PER_NM * elapsed / 3600;
        if (step >= v.range) {
            SetPosition(next->GetPosition());
            path.Remove(next);
            next->PostEvents();
            delete next;
            ui2game::PathChanged(GetID());
            UpdateStations(true);
        } else if (step > 0) {
            SetPosition(NavMath::Get_LatLonPoint_From_Vector(GetPosition(), static_cast<int32_t>(step), v.bearing));
        }
    }
    bool tracking = false;
    for (uint16_t i = 0; i < AXIS_COUNT; ++i) {
        if (axes[i] != nullptr && axes[i]->tracking == 1) {
            ReaimAxis(i);
            tracking = true;
        }
    }
    if (tracking && lastStationUpdate.Get() + TRACKING_REFRESH < gam2arena::GetGameTime())
        UpdateStations(true);
}

void Group::ClearPath()
{
    Unit::ClearPath();
    UpdateStations(true);
}

void Group::BuildEngagementList(uint32_t mask, uint16_t targetID, const NavVector& toTarget, Chain<TimedRecord>& out,
                                uint32_t flags)
{
    if (sideEntryID == 0)
        return;
    LatLonPoint reference;
    if (!UnitEntry::FindContact(sideEntryID, targetID, reference))
        reference = NavMath::Get_LatLonPoint_From_Vector(GetPosition(), toTarget.range, toTarget.bearing);
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit != nullptr)
            unit->BuildEngagementList(mask, targetID, NavMath::Get_Vector(unit->GetPosition(), reference), out, flags);
    }
}

int32_t Group::GetSensorTypeState(uint8_t sensorType) const
{
    int32_t best = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            best = std::max<int32_t>(best, static_cast<int8_t>(unit->GetSensorTypeState(sensorType)));
    }
    return best;
}

bool Group::HasActiveEmitter() const
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit != nullptr && unit->HasActiveEmitter())
            return true;
    }
    return false;
}

uint32_t Group::GetMaxAircraftSize(bool first, bool second) const
{
    if (aircraftWalk_)
        return 0;
    auto& guard = const_cast<Group*>(this)->aircraftWalk_;
    guard = true;
    uint32_t best = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            best = std::max(best, unit->GetMaxAircraftSize(first, second));
    }
    guard = false;
    return best;
}

int32_t Group::GetAircraftRoom(uint32_t flags) const
{
    if (aircraftWalk_)
        return 0;
    auto& guard = const_cast<Group*>(this)->aircraftWalk_;
    guard = true;
    int32_t sum = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            sum += unit->GetAircraftRoom(flags);
    }
    guard = false;
    return sum;
}

void Group::EnableDataLink()
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            unit->EnableDataLink();
    }
}

void Group::DisableDataLink()
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            unit->DisableDataLink();
    }
}

namespace {

// The lead of a group as a reach question goes to it; null without one.
Unit* LeadOf(uint16_t leadID)
{
    return leadID != 0 ? gam2arena::FindUnit(leadID) : nullptr;
}

}  // namespace

bool Group::CanReachAndReturn(const LatLonPoint& point, uint16_t knots, int32_t altitude)
{
    Unit* const lead = LeadOf(leadID);
    if (const auto* const plane = dynamic_cast<const Plane*>(lead))
        return plane->CanReachAndReturn(point, knots, static_cast<int16_t>(altitude));
    return lead != nullptr && lead->CanReachPoint(point, knots, altitude);
}

bool Group::CanReachAndReturnHalf(const LatLonPoint& point, uint16_t knots, int32_t altitude)
{
    Unit* const lead = LeadOf(leadID);
    if (const auto* const plane = dynamic_cast<const Plane*>(lead))
        return plane->CanReachAndReturnHalf(point, knots, static_cast<int16_t>(altitude));
    return lead != nullptr && lead->CanReachPoint(point, knots, altitude);
}

uint32_t Group::GetCapabilities(uint32_t kind) const
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit == nullptr || unit->GetTypeLetter() != 'S')
            continue;
        if (const uint32_t answer = unit->HasSensorReach(kind) ? 1u : 0u)
            return answer;
    }
    return 0;
}

namespace {

// A record's aircraft are ready when all of PlaneRec::READY_FLAGS are set.
uint32_t CountAircraftOf(Unit& unit, bool readyOnly)
{
    const PlaneRecList* const list = unit.GetPlaneRecList();
    if (list == nullptr)
        return 0;
    return readyOnly ? list->CountReadyAircraft() : list->CountAircraft();
}


// The aircraft of the member ships and facilities, all or the ready ones.
uint32_t CountMembersAircraft(const Group& group, bool readyOnly)
{
    uint32_t n = 0;
    for (const GroupEntry* e = group.members.First(); e != nullptr; e = e->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit != nullptr && (unit->GetTypeLetter() == 'S' || unit->GetTypeLetter() == 'F'))
            n += CountAircraftOf(*unit, readyOnly);
    }
    return n;
}

}  // namespace

uint32_t Group::CountMemberAircraft() const
{
    return CountMembersAircraft(*this, false);
}

uint32_t Group::CountMemberReadyAircraft() const
{
    return CountMembersAircraft(*this, true);
}

Group::MemberTally Group::TallyMembers() const
{
    MemberTally tally;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit == nullptr)
            continue;
        tally.ships += unit->GetTypeLetter() == 'S' ? 1 : 0;
        tally.subs += unit->GetTypeLetter() == 'U' ? 1 : 0;
        tally.damaged += unit->GetSeenDamagePercent() != 0 ? 1 : 0;
    }
    return tally;
}

void Group::FollowLeadEntry()
{
    const Unit* const lead = LeadOf(leadID);
    if (lead != nullptr && lead->sideEntryID != sideEntryID) {
        UnitEntry::RemoveMember(sideEntryID, GetID());
        UnitEntry::AddMember(lead->sideEntryID, GetID());
        sideEntryID = lead->sideEntryID;
    }
    PostOrDrop(MakeStationEvent(EventCode::GROUP_MEMBER_CHECK, GetID(),
                                GameTime(gam2arena::GetGameTime() + MEMBER_CHECK_DELAY)));
}

void Group::PlaceAt(const LatLonPoint& point)
{
    if (!Nav2Game::LegValidForUnit(GetID(), point, point))
        return;
    SetPosition(point);
    UpdateXY();
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(e->GetKey());
        StationRecord* const station = formation->Find(e->GetKey());
        if (unit == nullptr || station == nullptr)
            continue;
        LatLonPoint at;
        station->GetStationPoint(at, point, GetAxisBearing(0));
        if (!Nav2Game::LegValidForUnit(unit->GetID(), at, at))
            station->FindReachablePoint(at, point, GetAxisBearing(0));
        unit->ClearPath();
        unit->SetPosition(Nav2Game::LegValidForUnit(unit->GetID(), at, at) ? at : unit->GetPosition());
        unit->UpdateXY();
    }
    if (GetPath() != nullptr)
        Game2UI::SetUnitPath(GetID(), GetPath());
}

void Group::UpdateLabel()
{
    char text[2 * LABEL_SIZE];   // cut to the label by SetLabelText
    const int64_t folded = ((int64_t{course} % ANGLE_FULL) + ANGLE_FULL) % ANGLE_FULL;
    std::snprintf(text, sizeof text, "%-4s %03u %4u    ", GetName().Text(),
                  static_cast<unsigned>(folded / ANGLE_PER_DEGREE), static_cast<unsigned>(speed));
    SetLabelText(text);
}

void Group::GetStatus(UnitStatus& status) const
{
    ClearUnitStatus(status);
    constexpr int32_t SIZE = UnitStatus::LINE_SIZE;
    int line = 0;
    auto next = [&status, &line]() { return line < UnitStatus::LINE_COUNT ? status.lines[line++] : nullptr; };
    auto put = [&next](const char* text) {
        if (char* out = next())
            std::snprintf(out, SIZE, "%.32s", text);
    };
    auto number = [&put](unsigned value) {
        char text[16];
        std::snprintf(text, sizeof text, "%u", value);
        put(text);
    };
    put(GetName().Text());
    put(gam2side::GetBaseName(GetSideID()));
    const int16_t setting = GetPlantSetting();
    char settingText[SIZE] = {};
    CopyResourceText(setting >= 0 && setting < PropulsionPlant::SETTINGS ? TEXT_SETTINGS[setting] : TEXT_NO_SETTING,
                     settingText, SIZE);
    char text[2 * SIZE];
    std::snprintf(text, sizeof text, "%u %s", unsigned{speed}, settingText);
    put(text);
    const int64_t folded = ((int64_t{course} % ANGLE_FULL) + ANGLE_FULL) % ANGLE_FULL;
    number(static_cast<unsigned>(folded / ANGLE_PER_DEGREE));
    const MemberTally tally = TallyMembers();
    number(tally.ships);
    number(tally.subs);
    if (const char* info = gam2side::GetUnitMissionInfo(GetID()))
        put(info);
    CopyResourceText(HasActiveEmitter() ? STATUS_EMITTING_TEXT : STATUS_SILENT_TEXT, text, SIZE);
    put(text);
    number(tally.damaged);
    line = PutWeatherLines(status, line, GetPosition());
    std::snprintf(text, sizeof text, "%u/%u", static_cast<unsigned>(CountMemberReadyAircraft()),
                  static_cast<unsigned>(CountMemberAircraft()));
    put(text);
    if (char* out = next())
        GetConditionText(out, SIZE);
    status.lineCount = static_cast<uint16_t>(line);
}
