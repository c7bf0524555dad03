// AirGroup.cpp: the air group's construction and naming, its members
// joining, landing and leaving, the orders it passes to them (speed,
// altitude, destination, landing, task), the answers it gives for them and
// its saved record.
#include "units/AirGroup.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>
#include <string>

#include "core/AllocationCheck.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/AirGroupBridge.h"
#include "units/GroupBridge.h"
#include "units/Plane.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/StationBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"

namespace {

// Files of this version, and of versions up to the second, hold no flags
// byte after the group record.
const VersionNumber NO_FLAGS_VERSION(2, 0, 2, 0);
const VersionNumber LAST_VERSION_WITHOUT_FLAGS(2, 0, 1, 0);

bool FileHasFlagsByte()
{
    if (gAdmin == nullptr)
        return true;
    const VersionNumber version = gAdmin->GetFileVersion();
    return version != NO_FLAGS_VERSION && version > LAST_VERSION_WITHOUT_FLAGS;
}

Unit* MakeAirGroup()
{
    return new AirGroup;
}

}  // namespace

AirGroup::AirGroup()
{
    const unsigned counter = Group::GetNameCounter();
    char number[8];
    if (counter < 10)
        std::snprintf(number, sizeof number, "0%u", counter);
    else
        std::snprintf(number, sizeof number, "%u", counter % 100);
    SetName((ResourceString(NAME_PREFIX_TEXT) + number).c_str());
}

void RegisterAirGroupClass()
{
    UnitFactory::Register(AirGroup::TYPE_LETTER, &MakeAirGroup);
}

Unit* AirGroup::Lead() const
{
    return leadID != 0 ? gam2arena::FindUnit(leadID) : nullptr;
}

bool AirGroup::TakesSpeedOrder(const Unit&) const
{
    return true;
}

// ---- joining, landing and leaving ----

void AirGroup::AddMember(uint16_t unitID, const StationRecord* templateStation)
{
    Unit* const plane = gam2arena::FindUnit(unitID);
    if (plane == nullptr || plane->GetTypeLetter() != 'P')
        return;
    if (leadID == 0) {
        gam2side::SetPlaneMissions(GetID(), gam2side::GetUnitMissionID(unitID));
        SetGroupAltitude(plane->PositionObject::GetAltitude());
        PropulsionPlant* const own = OwnPlant();
        const PropulsionPlant* const theirs = plane->plants.First();
        if (own == nullptr || theirs == nullptr)
            return;
        std::copy(&theirs->speedTable[0][0], &theirs->speedTable[0][0] + PropulsionPlant::SETTINGS * PropulsionPlant::BANDS,
                  &own->speedTable[0][0]);
        SetSpeed(IsForming() ? 0 : plane->speed, GetAltitude());
    }
    if (templateStation != nullptr) {
        Group::AddMember(unitID, templateStation);
        return;
    }
    StationRecord* const station = StationRecord::CreateStation(StationKind::FORMATION);
    AllocationCheck(station);
    station->rightBearing = JOIN_RIGHT_BEARING;
    station->leftBearing = JOIN_LEFT_BEARING;
    station->maxRange = JOIN_MAX_RANGE;
    station->minRange = 0;
    station->axis = 0;
    plane->SetPosition(GetPosition());
    plane->UpdateXY();
    Group::AddMember(unitID, station);
    delete station;
}

bool AirGroup::ReportLanded(const Unit* unit, int32_t lost)
{
    const auto* const plane = dynamic_cast<const Plane*>(unit);
    return gam2side::MissionUnitEvent(GetID(), unit->GetAnnexID(), plane != nullptr ? plane->loadoutID : 0,
                                      plane != nullptr ? plane->homeBaseID : 0, lost);
}

void AirGroup::RemoveMember(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    Group::RemoveMember(unitID);
    if (unit != nullptr && members.First() == nullptr)
        ReportLanded(unit, 1);
}

void AirGroup::RemoveAllMembers()
{
    while (const GroupEntry* const first = members.First())
        RemoveMember(first->GetKey());
}

void AirGroup::MarkReturned()
{
    needsStationPlan = RETURNED;
    UpdateLabel();
}

void AirGroup::RecallMember(uint16_t unitID)
{
    const Unit* const plane = gam2arena::FindUnit(unitID);
    StationRecord* const station = GetMemberStation(unitID);
    if (station != nullptr && station->kind == StationKind::FREE) {
        if (!HasReturned() || plane == nullptr)
            return;
        if (ReportLanded(plane, 0))
            RemoveAllMembers();
        ClearPath();
        MarkReturned();
        return;
    }
    SetMemberStationKind(unitID, StationKind::FREE);
    if (StationRecord* const landed = GetMemberStation(unitID)) {
        landed->option = 0;
        landed->leg = StationKind::FORMATION;
    }
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const StationRecord* const s = GetMemberStation(e->GetKey());
        if (s != nullptr && s->kind != StationKind::FREE)
            return;
    }
    if (plane == nullptr)
        return;
    if (ReportLanded(plane, 0))
        RemoveAllMembers();
    MarkReturned();
}

void AirGroup::SetMemberStationKind(uint16_t unitID, uint8_t kind)
{
    if (kind == StationKind::FORMATION || kind == StationKind::FREE)
        Group::SetMemberStationKind(unitID, kind);
}

bool AirGroup::CheckStations(bool force)
{
    const bool onStation = Group::CheckStations(force);
    if (onStation)
        airGroupFlags &= static_cast<uint8_t>(~STATIONS_FAILED);
    else
        airGroupFlags |= STATIONS_FAILED;
    return onStation;
}

// ---- orders ----

void AirGroup::SetForming(bool forming)
{
    if (forming) {
        airGroupFlags |= FORMING;
    } else {
        airGroupFlags &= static_cast<uint8_t>(~FORMING);
        const GameTime now(gam2arena::GetGameTime());
        if (GetPath() == nullptr)
            PostOrDrop(MakeMissionUnitEvent(GetID(), now));
        else
            PostOrDrop(MakeSetSpeedEvent(GetID(), GetMaxSpeedAtAltitude(1, GetAltitude()), now));
        if (members.First() == nullptr)
            PostOrDrop(MakeDeleteUnitEvent(GetID(), now));
    }
    UpdateStations(false);
}

void AirGroup::SetGroupAltitude(int16_t altitude)
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (Unit* const unit = gam2arena::FindUnit(e->GetKey())) {
            unit->SetAltitude(altitude);
            unit->UpdateLabel();
        }
    }
    PositionObject::SetAltitude(altitude);
}

void AirGroup::SetPath(PositionNode* target)
{
    const int16_t altitude = GetAltitude();
    Unit::SetPath(target);
    if (target == nullptr) {
        SetSpeed(GetMaxSpeedAtAltitude(0, altitude), altitude);
        UpdateStations(true);
        return;
    }
    course = NavMath::Get_Vector(GetPosition(), target->GetPosition()).bearing;
    if (speed <= GetMaxSpeedAtAltitude(0, altitude) && !IsForming())
        SetSpeed(GetMaxSpeedAtAltitude(1, altitude), altitude);
}

void AirGroup::LandAll(const Event* landEvent)
{
    const uint16_t destination = landEvent != nullptr ? GetLandDestination(*landEvent) : 0;
    const GameTime now(gam2arena::GetGameTime());
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        uint16_t base = destination;
        if (base == 0) {
            if (const auto* const plane = dynamic_cast<const Plane*>(gam2arena::FindUnit(e->GetKey())))
                base = plane->homeBaseID;
        }
        PostOrDrop(MakeLandEvent(e->GetKey(), base, now));
    }
}

uint16_t AirGroup::GetLeadHomeBase() const
{
    const auto* const lead = dynamic_cast<const Plane*>(Lead());
    return lead != nullptr ? lead->homeBaseID : 0;
}

int32_t AirGroup::GetClimbRate(int32_t direction) const
{
    const GroupEntry* const first = members.First();
    const auto* const plane = first != nullptr ? dynamic_cast<const Plane*>(gam2arena::FindUnit(first->GetKey())) : nullptr;
    return plane != nullptr ? plane->GetClimbRate(direction) : 0;
}

void AirGroup::OnMissionOrder(int32_t order)
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            unit->OnMissionOrder(order);
    }
}

void AirGroup::PlaceAt(const LatLonPoint& point)
{
    Unit::TryMoveTo(point);
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            unit->TryMoveTo(GetPosition());
    }
    UpdateStations(true);
}

// ---- answers for the members ----

template <class Ask>
int32_t AirGroup::LastMemberAnswer(Ask ask) const
{
    int32_t answer = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            answer = ask(*unit);
    }
    return answer;
}

int32_t AirGroup::GetFuelCapacity(uint32_t fuel) const
{
    return LastMemberAnswer([fuel](const Unit& unit) { return unit.GetFuelCapacity(fuel); });
}

int32_t AirGroup::GetFuelRoom(uint32_t fuel) const
{
    return LastMemberAnswer([fuel](const Unit& unit) { return unit.GetFuelRoom(fuel); });
}

int32_t AirGroup::GetSpareFuel(uint32_t fuel) const
{
    return LastMemberAnswer([fuel](const Unit& unit) { return unit.GetSpareFuel(fuel); });
}

template <class Offer>
int32_t AirGroup::SpreadFuel(uint32_t amount, Offer offer)
{
    uint32_t n = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext())
        ++n;
    int64_t left = amount;
    int64_t total = 0;
    for (const GroupEntry* e = members.First(); e != nullptr && n > 0; e = e->GetNext(), --n) {
        Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit == nullptr)
            continue;
        const int64_t share = std::max<int64_t>(0, (n - 1 + left) / n);
        const int64_t moved = offer(*unit, static_cast<uint32_t>(share));
        left -= moved;
        total += moved;
    }
    return static_cast<int32_t>(total);
}

uint32_t AirGroup::DrainFuel(uint32_t amount, uint32_t fuel)
{
    return static_cast<uint32_t>(
        SpreadFuel(amount, [fuel](Unit& unit, uint32_t share) -> int64_t { return unit.DrainFuel(share, fuel); }));
}

int32_t AirGroup::AddFuel(uint32_t amount, uint32_t fuel)
{
    return SpreadFuel(amount, [fuel](Unit& unit, uint32_t share) -> int64_t { return unit.AddFuel(share, fuel); });
}

bool AirGroup::CanAttackType(char letter) const
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            return unit->CanAttackType(letter);
    }
    return false;
}

bool AirGroup::CanSupportType(char letter) const
{
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            return unit->CanSupportType(letter);
    }
    return false;
}

void AirGroup::GetAttackAltitudes(uint32_t mask, int16_t& low, int16_t& high) const
{
    bool first = true;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(e->GetKey());
        if (unit == nullptr)
            continue;
        int16_t memberLow = 0;
        int16_t memberHigh = 0;
        unit->GetAttackAltitudes(mask, memberLow, memberHigh);
        low = first ? memberLow : std::max(low, memberLow);
        high = first ? memberHigh : std::min(high, memberHigh);
        first = false;
    }
}

void AirGroup::GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const
{
    low = 0;
    high = 0;
    if (const Unit* const lead = Lead())
        lead->GetAltitudeEnvelope(setting, low, high);
}

uint16_t AirGroup::GetWeaponReach(uint32_t kind) const
{
    const Unit* const lead = Lead();
    return lead != nullptr ? lead->GetWeaponReach(kind) : 0;
}

uint16_t AirGroup::GetShortestWeaponReach(uint32_t kind) const
{
    const Unit* const lead = Lead();
    return lead != nullptr ? lead->GetShortestWeaponReach(kind) : 0;
}

bool AirGroup::HasSensorReach(uint32_t kind) const
{
    const Unit* const lead = Lead();
    return lead != nullptr && lead->HasSensorReach(kind);
}

uint16_t AirGroup::GetSensorReach(uint32_t kind) const
{
    const Unit* const lead = Lead();
    return lead != nullptr ? lead->GetSensorReach(kind) : 0;
}

uint16_t AirGroup::GetSonarReach(bool active)
{
    Unit* const lead = Lead();
    return lead != nullptr ? lead->GetSonarReach(active) : 0;
}

int32_t AirGroup::SumWeaponRatings(uint32_t target) const
{
    int32_t sum = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        if (const Unit* const unit = gam2arena::FindUnit(e->GetKey()))
            sum += unit->SumWeaponRatings(target);
    }
    return sum;
}

// ---- saved record ----

void AirGroup::SaveFields(std::ostream& out) const
{
    Group::SaveFields(out);
    SaveField(out, airGroupFlags);
}

bool AirGroup::LoadFields(std::istream& in)
{
    // The group record ends with the shared name counter: a record cut short
    // after it must not leave its counter behind.
    const uint8_t counter = GetNameCounter();
    airGroupFlags = 0;
    if (Group::LoadFields(in) && (!FileHasFlagsByte() || LoadField(in, airGroupFlags)))
        return true;
    SetNameCounter(counter);
    airGroupFlags = 0;
    return false;
}
