// GroupAxes.cpp: a group's threat axes (placed by the player, following a
// contact, or placed on the side's contacts every 15 minutes), the refresh
// of the member stations with the speed held back while members are off
// station, and the recall of members.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "world/game2ui.h"

namespace {

// A contact as the placement weighs it.
struct Weighed {
    int32_t bearing = 0;
    int64_t weight = 0;
};

// Contact type flags that do not make a threat (0x8) and that the placement
// passes over (0x10).
constexpr uint32_t NOT_A_THREAT = 0x8;
constexpr uint32_t PASSED_OVER = 0x10;
// Game-option bits: the player's groups place their axes (0x10), plan ships
// (0x20) and plan aircraft (0x40).
constexpr uint16_t OPTION_AXES = 0x10;
constexpr uint16_t OPTION_PLAN_SHIPS = 0x20;
constexpr uint16_t OPTION_PLAN_AIR = 0x40;
// Beyond this range (nautical miles) a contact with an area weighs nothing.
constexpr int32_t AREA_WEIGHT_RANGE = 1100;

// Turns the axis to the bearing of the contact whose neighbours within the
// axis's half-width (a plain difference of bearings) weigh most; the first
// of equal sums wins, and a sum of 0 leaves the axis where it is.
void Cluster(ArcRecord& axis, const std::vector<Weighed>& contacts)
{
    int64_t best = 0;
    int32_t bearing = 0;
    for (const Weighed& a : contacts) {
        int64_t sum = 0;
        for (const Weighed& b : contacts) {
            if (std::llabs(int64_t{a.bearing} - b.bearing) <= axis.halfWidth)
                sum += b.weight;
        }
        if (sum > best) {
            best = sum;
            bearing = a.bearing;
        }
    }
    if (best > 0)
        axis.bearing = bearing;
}

}  // namespace

void Group::SetAxisWidth(uint16_t axis, int32_t halfWidth)
{
    if (axis >= AXIS_COUNT)
        return;
    if (axes[axis] == nullptr)
        axes[axis] = new ArcRecord(0, AXIS_HALF_WIDTH);
    axes[axis]->halfWidth = halfWidth;
}

void Group::SetAxisBearing(uint16_t axis, int32_t bearing)
{
    if (axis >= AXIS_COUNT)
        return;
    if (axes[axis] == nullptr) {
        axes[axis] = new ArcRecord(bearing, AXIS_HALF_WIDTH);
    } else {
        axes[axis]->bearing = bearing;
        axes[axis]->tracking = 0;
        UpdateStations(true);
    }
    axes[axis]->userSet = 1;
}

void Group::SetAxisContact(uint16_t axis, uint16_t contactID)
{
    if (axis >= AXIS_COUNT)
        return;
    const bool existed = axes[axis] != nullptr;
    if (!existed)
        axes[axis] = new ArcRecord(0, AXIS_HALF_WIDTH);
    axes[axis]->contactID = contactID;
    axes[axis]->tracking = 1;
    if (existed) {
        ReaimAxis(axis);
        UpdateStations(true);
    }
    axes[axis]->userSet = 1;
}

void Group::ReaimAxis(uint16_t axis)
{
    if (!HasAxis(axis) || axes[axis]->tracking != 1)
        return;
    LatLonPoint at;
    if (sideEntryID != 0 && UnitEntry::FindContact(sideEntryID, axes[axis]->contactID, at))
        axes[axis]->bearing = NavMath::Get_Vector(GetPosition(), at).bearing;
}

void Group::UpdateStations(bool reaim)
{
    const PositionNode* const next = GetPath();
    if (next != nullptr) {
        course = NavMath::Get_Vector(GetPosition(), next->GetPosition()).bearing;
        UpdateLabel();
        if (reaim && axes[0] != nullptr)
            axes[0]->bearing = course;
    } else {
        UpdateLabel();
    }
    if (reaim) {
        formation->Refresh(GetPosition());
        lastStationUpdate = gam2arena::GetGameTime();
    }
    const int32_t total = static_cast<int32_t>(speed) + speedCarry;
    if (CheckStations(reaim)) {
        speed = static_cast<uint16_t>(std::max(0, total));
        speedCarry = 0;
    } else {
        const int32_t held = total > 20 ? 10 : total / 2;
        speed = static_cast<uint16_t>(std::max(0, total - held));
        speedCarry = static_cast<int16_t>(held);
    }
    if (next == nullptr) {
        speedCarry = static_cast<int16_t>(speedCarry + speed);
        speed = 0;
    }
    UpdateLabel();
    formation->PostStationSetEvents();
}

void Group::SetMemberRecalled(uint16_t unitID, bool recalled)
{
    StationRecord* station = GetMemberStation(unitID);
    if (station == nullptr)
        return;
    if (!recalled) {
        if (station->kind == StationKind::FREE)
            SetMemberStationKind(unitID, static_cast<uint8_t>(station->leg));
    } else if (station->kind != StationKind::FREE) {
        const uint8_t old = station->kind;
        SetMemberStationKind(unitID, StationKind::FREE);
        if ((station = GetMemberStation(unitID)) != nullptr)
            station->leg = old;
    }
}

void Group::RecallMember(uint16_t unitID)
{
    StationRecord* station = GetMemberStation(unitID);
    if (station == nullptr || station->relief == 0 || station->kind == StationKind::FREE)
        return;
    if (station->RequestRelief())
        station->relief = 0;
    const uint8_t old = station->kind;
    SetMemberStationKind(unitID, StationKind::FREE);
    if ((station = GetMemberStation(unitID)) != nullptr)
        station->leg = old;
}

void Group::UpdateThreatAxes()
{
    if (sideEntryID == 0)
        return;
    const uint16_t options = game2ui::GetGameOptions();
    if (needsStationPlan != 0) {
        const bool visible = game2ui::IsVisibleToPlayer(GetID());
        const bool planAir = !visible || (options & OPTION_PLAN_AIR) != 0;
        const bool planShips = !visible || (options & OPTION_PLAN_SHIPS) != 0;
        if (planAir || planShips)
            PlanStations(planAir, planShips);
    }
    if (GetSideID() == game2ui::GetCurrentSideID() && (options & OPTION_AXES) == 0)
        return;
    std::vector<ThreatContact> found;
    if (!UnitEntry::CollectContacts(sideEntryID, found))
        return;
    size_t threats = 0;
    for (const ThreatContact& c : found) {
        if ((c.typeFlags & ~NOT_A_THREAT) != 0)
            ++threats;
    }
    if (threats == 0)
        return;
    std::vector<Weighed> contacts;
    contacts.reserve(threats);
    int64_t covered = 0;
    int64_t total = 0;
    bool counted2 = false;
    bool counted1 = false;
    for (const ThreatContact& c : found) {
        if (contacts.size() >= threats)
            break;
        if ((c.typeFlags & ~(NOT_A_THREAT | PASSED_OVER)) == 0)
            continue;
        const NavVector v = NavMath::Get_Vector(GetPosition(), c.position);
        int64_t w = c.threat;
        if (c.sideKnown) {
            if (gam2side::AreFriendly(GetSideID(), c.sideID))
                w = 0;
            else if (!gam2side::AreHostile(GetSideID(), c.sideID))
                w /= 2;
        }
        if (c.hasArea) {
            // Far contacts with an area fade out; beyond the range they
            // weigh nothing rather than take weight off the others.
            const int64_t rangeNm = v.range / RANGE_PER_NM;
            w = std::max<int64_t>(0, (AREA_WEIGHT_RANGE - rangeNm) / 10 * w / 100);
        }
        if (axes[2] != nullptr && axes[2]->Contains(v.bearing)) {
            covered += w;
            counted2 = true;
        } else if (axes[1] != nullptr && axes[1]->Contains(v.bearing)) {
            covered += w;
            counted1 = true;
        }
        total += w;
        contacts.push_back({v.bearing, w});
    }
    const int64_t pct = total != 0 ? covered * 100 / total : 0;
    const bool held2 = counted2 || (axes[2] != nullptr && axes[2]->userSet != 0);
    const bool held1 = counted1 || (axes[1] != nullptr && axes[1]->userSet != 0);
    if ((pct > 50 && held2 && held1) || pct > 98)
        return;
    if (axes[2] != nullptr) {
        if (axes[2]->userSet == 0)
            Cluster(*axes[2], contacts);
        for (Weighed& c : contacts) {
            if (axes[2]->Contains(c.bearing))
                c.weight = 0;
        }
    }
    if (axes[1] != nullptr && axes[1]->userSet == 0)
        Cluster(*axes[1], contacts);
    UpdateStations(true);
}

int32_t Group::GetFormationRadius() const
{
    int32_t radius = 0;
    for (const StationRecord* s = formation->stations.First(); s != nullptr; s = s->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(s->unitID);
        if (unit == nullptr)
            continue;
        radius = std::max({radius, s->maxRange, NavMath::Get_Vector(GetPosition(), unit->GetPosition()).range});
    }
    return radius;
}

std::vector<Group::StationSector> Group::GetStationSectors(uint8_t kind) const
{
    std::vector<StationSector> sectors;
    auto add = [this, &sectors](const StationRecord& s) {
        // A missing axis turns nothing; a bearing past a full circle comes
        // round once.
        const int64_t axis = std::max(0, GetAxisBearing(s.axis));
        auto turned = [axis](int32_t bearing) {
            int64_t b = bearing + axis;
            if (b > ANGLE_FULL)
                b -= ANGLE_FULL;
            return static_cast<int32_t>(b);
        };
        sectors.push_back({s.minRange, turned(s.leftBearing), s.maxRange, turned(s.rightBearing)});
    };
    for (const StationRecord* s = formation->stations.First(); s != nullptr; s = s->GetNext()) {
        if (s->kind == kind || (s->kind == StationKind::FREE && s->leg == kind))
            add(*s);
    }
    for (const StationRecord* s = airStations.First(); s != nullptr; s = s->GetNext()) {
        if (s->kind == kind && s->mode != StationMode::FLYING)
            add(*s);
    }
    return sectors;
}
