// PlaneBase.cpp: the plane's home base, its task word and the return when
// the task's weapons are spent, its capabilities and its evasion of an
// inbound missile.
#include <algorithm>

#include "annex/AnnexTables.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/SideRecords.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace {

constexpr int32_t TEXT_WEAPONS_SPENT = 0x7B0211;
constexpr const char* NO_BASE_TEXT = " cannot reach any friendly base!";

// The weapon kind of sonobuoys and dipping gear, and the capability kind a
// mission asks about them.
constexpr uint32_t KIND_SONOBUOY = 0x100;
constexpr uint32_t CAPABILITY_ASW = 2;
constexpr uint32_t CAPABILITY_IGNORED_BIT = 0x10;

// A contact whose classification has this value in its top seven bits is an
// inbound missile.
constexpr uint32_t CLASSIFICATION_MASK = 0xFE00;
constexpr uint32_t CLASSIFICATION_MISSILE = 0x7000;
// The evasion point lies this far from the plane, away from the launcher;
// the plane dives to altitude 1 and climbs back after two minutes.
constexpr int32_t EVASION_RANGE = 5 * RANGE_PER_NM;
constexpr int16_t EVASION_ALTITUDE = 1;
constexpr uint32_t CLIMB_BACK_SECONDS = 120;

const WeaponAnnex* FindWeapon(uint16_t weaponID)
{
    const AnnexTable<WeaponAnnex>* const table = Annex::Tables().Weapons();
    return table != nullptr ? table->Find(weaponID) : nullptr;
}

// Calls `visit` with the weapon.dat record of every loaded weapon record of
// the mounts whose record exists; stops when it answers true.
template <typename Visit>
bool AnyLoadedWeapon(const Mount::MountList& mounts, Visit visit)
{
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        for (const WeaponRec* rec = mount->weapons.First(); rec != nullptr; rec = rec->GetNext()) {
            if (rec->shotsLeft == 0)
                continue;
            if (const WeaponAnnex* weapon = FindWeapon(rec->weaponID); weapon != nullptr && visit(*weapon))
                return true;
        }
    }
    return false;
}

// The open bits of the task that a loaded weapon covers, by its kind and
// target mask.
uint32_t CoveredTaskBits(const WeaponAnnex& weapon)
{
    const uint32_t kind = weapon.GetWeaponKind();
    if (kind == KIND_SONOBUOY)
        return Plane::TASK_SONOBUOYS;
    if (kind != 1 && kind != 2 && kind != 4 && kind != 16 && kind != 32)
        return 0;
    const uint32_t mask = weapon.GetTargetMask();
    uint32_t covered = 0;
    if ((mask & 0x1) != 0)
        covered |= 0x1;
    if ((mask & 0x2) != 0)
        covered |= 0x2;
    if ((mask & 0x3E0) != 0)
        covered |= 0x4;
    if ((mask & 0x4) != 0)
        covered |= 0x8;
    if ((mask & 0x8) != 0)
        covered |= 0x10;
    if ((mask & 0x10) != 0)
        covered |= 0x1 | 0x4;
    return covered;
}

// The nearest unit within reach of one class of base.
struct NearestBase {
    const Unit* unit = nullptr;
    int32_t range = 0;

    void Offer(const Unit& candidate, int32_t candidateRange, int64_t reach)
    {
        if (candidateRange <= reach && (unit == nullptr || candidateRange < range)) {
            unit = &candidate;
            range = candidateRange;
        }
    }
};

}  // namespace

// The nearest base within the whole fuel range, by preference: one of the
// plane's side record's own units of its side, of another side, then any
// unit of its side, then of a friendly side. A base is a unit with room for
// the aircraft's size that is not an air base group, and a ship or group only
// for a ship-based type.
void Plane::ChooseHomeBase()
{
    const int64_t reach = static_cast<int64_t>(GetTotalFuelRange()) * RANGE_PER_NM;
    const int32_t sizeNeed = static_cast<int32_t>((aircraftFlags >> 11) & 0x1FF);
    const bool shipsAllowed = (aircraftFlags & SHIP_BASED) != 0;
    const SideContacts* const entry = gam2arena::FindSide(sideEntryID);
    const uint16_t side = GetSideID();
    const LatLonPoint here = GetPosition();
    NearestBase kept[4];
    const UnitList* const units = UnitList::GetArenaList();
    for (const Unit* u = units != nullptr ? units->First() : nullptr; u != nullptr; u = u->GetNext()) {
        if (static_cast<int32_t>(u->GetMaxAircraftSize(true, false)) < sizeNeed ||
            u->GetAircraftRoom(aircraftFlags) == 0)
            continue;
        const char letter = u->GetTypeLetter();
        if (letter == 'B' || ((letter == 'S' || letter == 'G') && !shipsAllowed))
            continue;
        const bool member = entry != nullptr && SideRecord::IsOwnUnit(*entry, u->GetID());
        const bool sameSide = u->GetSideID() == side;
        int which = -1;
        if (member)
            which = sameSide ? 0 : (kept[0].unit == nullptr ? 1 : -1);
        else if (kept[0].unit == nullptr && kept[1].unit == nullptr)
            which = sameSide ? 2 : (kept[2].unit == nullptr && gam2side::AreFriendly(side, u->GetSideID()) ? 3 : -1);
        if (which >= 0)
            kept[which].Offer(*u, NavMath::Get_Vector(here, u->GetPosition()).range, reach);
    }
    for (const NearestBase& base : kept) {
        if (base.unit != nullptr) {
            homeBaseID = base.unit->GetID();
            return;
        }
    }
    homeBaseID = 0;
    if (!TestFlags(NO_BASE_REPORTED)) {
        SetFlags(NO_BASE_REPORTED);
        PostMessage(CLASS_ORDERS, NO_BASE_TEXT, 0);
    }
}

// The weapon class with the most rounds, in the order 0x3E0 (class 4), 1,
// 2, 4 (class 8), an earlier one winning a tie; TASK_SONOBUOYS when a loaded
// weapon is of kind 0x100.
void Plane::ComputeTaskFlags()
{
    struct Choice {
        uint32_t mask;
        uint32_t taskClass;
    };
    static constexpr Choice CHOICES[] = {{0x3E0, 4}, {1, 1}, {2, 2}, {4, 8}};
    uint32_t task = 0;
    int32_t best = 0;
    for (const Choice& choice : CHOICES) {
        const int32_t count = SumWeaponRatings(choice.mask);
        if (count > best) {
            best = count;
            task = choice.taskClass;
        }
    }
    if (AnyLoadedWeapon(mounts, [](const WeaponAnnex& w) { return w.GetWeaponKind() == KIND_SONOBUOY; }))
        task |= TASK_SONOBUOYS;
    taskFlags = task;
}

// When no loaded weapon covers a bit of the task any longer, the plane tells
// the player and lands at its base, its task done.
void Plane::CheckWeaponsExpended()
{
    if ((taskFlags & ~TASK_RECHECK) == 0)
        return;
    uint32_t open = 0x3F;
    AnyLoadedWeapon(mounts, [&open](const WeaponAnnex& weapon) {
        open &= ~CoveredTaskBits(weapon);
        return false;
    });
    if ((open & taskFlags & TASK_SONOBUOYS) != 0 && GetCapabilities(CAPABILITY_ASW) != 0)
        open &= ~TASK_SONOBUOYS;
    if ((open & taskFlags) == 0)
        return;
    PostMessage(CLASS_ORDERS, " ", TEXT_WEAPONS_SPENT);
    PostOrDrop(MakeLandEvent(GetID(), homeBaseID, GameTime(gam2arena::GetGameTime())));
    taskFlags = 0;
}

uint32_t Plane::GetCapabilities(uint32_t kind) const
{
    if ((kind & ~CAPABILITY_IGNORED_BIT) != CAPABILITY_ASW)
        return Unit::HasSensorReach(kind) ? 1 : 0;
    uint32_t result = 0;
    for (const Sensor* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        const uint8_t type = sensor->GetSensorType();
        if (type == Sensor::TYPE_PASSIVE_SONAR || type == Sensor::TYPE_ACTIVE_SONAR)
            result = 4;
    }
    if (AnyLoadedWeapon(mounts, [](const WeaponAnnex& w) { return w.GetWeaponKind() == KIND_SONOBUOY; }))
        result |= 2;
    return result;
}

// An inbound missile: the plane dives at once and, when the launcher is not
// an aircraft, runs 5 nautical miles straight away from it at top speed,
// then takes up its old path and speed; it climbs back after two minutes.
// Answers whether the escape path was laid.
bool Plane::EvadeThreat(Contact& threat)
{
    if (parentID != 0 || (SideRecord::GetClassification(threat) & CLASSIFICATION_MASK) != CLASSIFICATION_MISSILE)
        return false;
    const Unit* const missile = gam2arena::FindUnit(SideRecord::GetContactKey(threat));
    if (missile == nullptr)
        return false;
    const uint16_t id = GetID();
    const int16_t altitude = PositionObject::GetAltitude();
    const GameTime now(gam2arena::GetGameTime());
    PostOrDrop(MakeSetAltitudeEvent(id, EVASION_ALTITUDE, now));
    bool laid = false;
    const Unit* const launcher = gam2arena::FindUnit(missile->GetLauncherID());
    if (launcher != nullptr && launcher->GetTypeLetter() != 'P' && parentID == 0) {
        const int32_t away = NavMath::Get_Vector(launcher->GetPosition(), GetPosition()).bearing;
        Chain<PositionNode> escape;
        auto* const node = new PositionNode(NavMath::Get_LatLonPoint_From_Vector(GetPosition(), EVASION_RANGE, away));
        escape.Append(node);
        if (Game2UI::BuildNavPath(id, node)) {
            if (PositionNode* const rest = PositionNode::CopyChain(GetPath()))
                escape.Append(rest);
            PostOrDrop(MakeSetSpeedEvent(id, TopSpeedAt(altitude), now));
            node->AddEvent(MakeSetSpeedEvent(id, speed, GameTime()));
            node->AddEvent(MakeMissionUnitEvent(id, GameTime()));
            Game2UI::SetUnitPath(id, node);
            laid = true;
        }
    }
    PostOrDrop(MakeSetAltitudeEvent(id, altitude, GameTime(now.Get() + CLIMB_BACK_SECONDS)));
    return laid;
}
