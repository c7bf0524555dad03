// WeaponImpact.cpp: a weapon's warheads at the end of its run: direct damage
// to the target, sub-munitions released to fly on as new weapons, and the
// area-effect burst that reaches every unit around the weapon (WeaponImpact::
// AreaAttack), with its radii, log block and map rings.
#include <cmath>
#include <sstream>

#include "annex/AnnexTables.h"
#include "annex/DBEnum.h"
#include "annex/SubAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/WeaponFireCalls.h"
#include "engagement/WeaponRun.h"
#include "units/PositionNode.h"
#include "units/UnitList.h"
#include "units/Weapon.h"

namespace {
constexpr uint32_t CLUSTER = 0x800;
constexpr uint32_t SUBMUNITION = 2;
constexpr uint32_t DEPTH_CHARGE = 4;
constexpr uint32_t NUCLEAR_BITS = 0x7400;
constexpr uint32_t AIRBURST = 0x1000;
constexpr uint32_t SURFACE_BURST = 0x2000;
constexpr uint32_t SUB_BURST = 0x4000;
constexpr uint32_t SMALL_NUCLEAR = 0x400;
constexpr uint32_t ENHANCED = 0x8000;
constexpr int32_t CLUSTER_RADIUS = 409;
constexpr int32_t DEPTH_CHARGE_RADIUS = 4096;
constexpr uint32_t FRESH_SECONDS = 30;
constexpr uint16_t CONTACT_KILLED = 8;
constexpr int32_t SUBMUNITION_STEP = 20;   // range units ahead of the parent
constexpr int32_t KILL_DAMAGE = 0xEFFF;
constexpr uint32_t KILL_KIND = 0x10;
constexpr uint32_t SHIP_SHOCK_RESISTANT = 0x40000000;
constexpr uint32_t SUB_SHOCK_RESISTANT = 0x8;
const char* const BOOM = "BOOMBOOMBOOMBOOMBOOMBOOMBOOMBOOMBOOMBOOM";

bool IsAreaEffect(uint32_t type)
{
    const uint32_t t = type & ~CLUSTER;
    return t == DEPTH_CHARGE || t == SMALL_NUCLEAR || t == AIRBURST || t == SURFACE_BURST || t == SUB_BURST
           || t == ENHANCED || (type & CLUSTER) != 0;
}

// The launcher's side record marks its fresh contact on a destroyed unit
// killed.
void MarkKilled(const Weapon& weapon, uint16_t unitID)
{
    const Unit* launcher = gam2arena::FindUnit(weapon.launcherID);
    SideContacts* side = launcher != nullptr ? gam2arena::FindSide(launcher->sideEntryID) : nullptr;
    Contact* contact = side != nullptr ? side->GetContact(unitID) : nullptr;
    if (contact != nullptr && gam2arena::GetGameTime() - contact->lastDetection.Get() <= FRESH_SECONDS)
        contact->statusValue = CONTACT_KILLED;
}

void ReleaseSubmunitions(const WarheadLink& entry, uint8_t side, const LatLonPoint& at, int32_t heading)
{
    if (Annex::FindWeapon(entry.warheadValue) == nullptr)
        return;
    for (uint16_t i = 0; i < entry.warheadCount; ++i) {
        auto* first = new PositionNode(at);
        auto* second = new PositionNode(NavMath::Get_LatLonPoint_From_Vector(at, SUBMUNITION_STEP, heading));
        first->SetNext(second);
        second->SetPrev(first);
        NewWeaponOrder order;
        order.side = side;
        order.weaponID = entry.warheadValue;
        order.count = 1;
        order.path = first;
        order.due = GameTime(gam2arena::GetGameTime());
        WeaponFire::PostNewUnit(order);
    }
}

// The warheads of the weapon in chain order; direct damage only with a target.
void ApplyWarheads(Weapon& weapon, Unit* target)
{
    for (const WarheadLink* entry = weapon.warheads.First(); entry != nullptr; entry = entry->GetNext()) {
        const uint32_t type = entry->warheadType;
        if ((type & ~CLUSTER) == SUBMUNITION) {
            ReleaseSubmunitions(*entry, static_cast<uint8_t>(weapon.GetSideID()), weapon.GetPosition(),
                                weapon.GetCourse());
        } else if (IsAreaEffect(type)) {
            WeaponRun::AreaAttack(*entry, weapon.GetPosition(), &weapon);
        } else if (type >= 4 && target != nullptr) {
            for (uint16_t hit = 0; hit < entry->warheadCount; ++hit) {
                const int32_t destroyed = target->ApplyDamage(entry->warheadValue, type, weapon.attackMask);
                if (destroyed != 0) {
                    target->ScheduleDeletion(static_cast<uint8_t>(destroyed));
                    MarkKilled(weapon, target->GetID());
                }
            }
        }
    }
}

// The row of the kill and damage bounds a target class falls under.
bool Bounds(uint32_t classes, const WeaponRun::Burst& burst, int32_t& kill, int32_t& damage)
{
    const uint32_t k = classes & ~uint32_t{0x10};
    if ((k & 0x1) != 0) {
        kill = burst.shipKill;
        damage = burst.shipDamage;
    } else if ((k & 0xC) != 0) {
        kill = burst.airKill;
        damage = -1;   // no damage bound: only killed
    } else if ((k & 0x140) != 0) {
        kill = burst.shipKill;
        damage = burst.shipDamage;
    } else if ((k & 0x280) != 0) {
        kill = burst.shipKill >> 1;
        damage = burst.shipKill;
    } else if ((k & 0x802) != 0) {
        kill = burst.subKill;
        damage = burst.subDamage;
    } else {
        return false;
    }
    return true;
}

}  // namespace

void WeaponRun::ResolveImpact(Weapon& weapon, Unit& target)
{
    ApplyWarheads(weapon, &target);
}

void WeaponRun::DetonateWithoutTarget(Weapon& weapon)
{
    ApplyWarheads(weapon, nullptr);
}

WeaponRun::Burst WeaponRun::PlanBurst(uint32_t warheadType, uint16_t strength)
{
    Burst b;
    double yield = strength;
    if ((warheadType & NUCLEAR_BITS) != 0) {
        b.yieldLine = true;
        if (strength <= 32767) {
            b.yieldAmount = strength;
        } else {
            b.yieldAmount = 65536 - strength;
            b.yieldInTons = true;
            yield = (65536 - strength) / 1000.0;
        }
    }
    const auto r = static_cast<int32_t>(1300.0 * std::pow(yield, 0.3333));
    const uint32_t t = warheadType & ~CLUSTER;
    b.shownType = t;
    switch (t) {
    case DEPTH_CHARGE:
        b.subDamage = DEPTH_CHARGE_RADIUS;
        b.baseDamage = strength;
        b.effectRange = DEPTH_CHARGE_RADIUS;
        return b;
    case SMALL_NUCLEAR:
        b = {r / 10, r / 100, r / 1000, r, r / 10, r / 1000, r, true, b.yieldLine, b.yieldAmount, b.yieldInTons, t};
        return b;
    case AIRBURST:
        b = {r * 10, r / 100, r / 10000, r, r / 100, r / 10, r * 10, true, b.yieldLine, b.yieldAmount,
             b.yieldInTons, t};
        return b;
    case SURFACE_BURST:
        b = {r, r, r / 100, r * 10, r, r / 10, r * 10, true, b.yieldLine, b.yieldAmount, b.yieldInTons, t};
        return b;
    case SUB_BURST:
        b = {r / 1000, r / 100, 0, r, r * 10, r / 10, r * 10, true, b.yieldLine, b.yieldAmount, b.yieldInTons, t};
        return b;
    case ENHANCED:
        b.shipDamage = r * 2;
        b.effectRange = r * 2;
        return b;
    default:
        if ((warheadType & CLUSTER) != 0) {
            b.shipDamage = CLUSTER_RADIUS;
            b.baseDamage = strength;
            b.effectRange = CLUSTER_RADIUS;
        }
        return b;
    }
}

void WeaponRun::AreaAttack(const WarheadLink& entry, const LatLonPoint& burst, Weapon* weapon)
{
    if (weapon == nullptr)
        return;
    const Burst b = PlanBurst(entry.warheadType, entry.warheadValue);
    const bool logging = GetWeaponFireSettings().aaLog;
    std::ostringstream log;
    if (logging) {
        char typeName[DBEnum::NAME_SIZE] = {};
        DBEnum::GetWarheadKindName(b.shownType, typeName);
        log << "\n" << BOOM << "\n\nExecuting Area Effect Weapon Attack\n";
        if (b.yieldLine)
            log << "Weapon Yield       = " << b.yieldAmount << (b.yieldInTons ? " tons" : " kilotons") << "\n";
        log << "Weapon type        = " << typeName << "\n"
            << "Air Kill Radius    = " << b.airKill << "\n"
            << "Ship Kill Radius   = " << b.shipKill << "\n"
            << "Sub Kill Radius    = " << b.subKill << "\n"
            << "Ship Damage Radius = " << b.shipDamage << "\n"
            << "Sub Damage Radius  = " << b.subDamage << "\n"
            << "Base Damage Amount = " << b.baseDamage << "\n";
    }
    if (b.fallOff) {
        const struct {
            int32_t radius;
            uint8_t colour;
            int32_t delay, duration;
        } rings[] = {{b.subKill, 0x35, 0, 15},   {b.shipKill, 0x31, 1, 13}, {b.subDamage, 0x36, 2, 11},
                     {b.shipDamage, 0x32, 3, 9}, {b.airKill, 0x33, 4, 7},   {b.effectRange, 0x30, 5, 5}};
        for (const auto& ring : rings)
            if (ring.radius != 0)
                AddTimedMapRing(burst, ring.radius, ring.colour, ring.delay, ring.duration);
    }
    UnitList* const units = UnitList::GetArenaList();
    for (Unit* unit = units != nullptr ? units->First() : nullptr; unit != nullptr; unit = unit->GetNext()) {
        if (unit == weapon)
            continue;
        int32_t r = NavMath::Get_Vector(burst, unit->GetPosition()).range;
        if (r >= b.effectRange)
            continue;
        const std::string name = unit->GetName().Text();
        if (logging)
            log << name << " is within the maximum range of the warhead effect.\n";
        const char letter = unit->GetTypeLetter();
        bool resistant = letter == 'S' && unit->TestFlags(SHIP_SHOCK_RESISTANT);
        if (letter == 'U' && Annex::Tables().Subs() != nullptr) {
            const SubAnnex* sub = Annex::Tables().Subs()->Find(unit->GetAnnexID());
            resistant = sub != nullptr && (sub->subFlags & SUB_SHOCK_RESISTANT) != 0;
        }
        if (resistant) {
            r = static_cast<int32_t>((int64_t{r} * 3) >> 1);
            if (logging)
                log << name << " has Shock Resistance.\n";
        }
        int32_t kill = 0;
        int32_t bound = 0;
        if (!Bounds(unit->GetTargetMask(), b, kill, bound))
            continue;
        int32_t destroyed = 0;
        if (r <= kill) {
            if (logging)
                log << "   " << name << " is within Kill Range (instant kill).\n";
            destroyed = unit->ApplyDamage(KILL_DAMAGE, KILL_KIND, weapon->attackMask);
        } else if (bound >= 0 && r <= bound) {
            int32_t damage = b.baseDamage;
            if (b.fallOff && bound != kill) {
                const double f = static_cast<double>(bound - r) / (bound - kill);
                const float cube = static_cast<float>(f * f * f);
                damage = static_cast<int32_t>(b.baseDamage * cube);
            }
            if (logging)
                log << "   Applying " << damage << " points of damage to " << name << "\n";
            destroyed = unit->ApplyDamage(damage, entry.warheadType, weapon->attackMask);
        } else {
            continue;
        }
        ShowWeaponImpact(unit->GetID());
        if (destroyed != 0) {
            if (logging)
                log << "   " << name << " has been destroyed by an Area Effect Weapon.\n";
            unit->ScheduleDeletion(static_cast<uint8_t>(destroyed));
            MarkKilled(*weapon, unit->GetID());
        }
    }
    if (logging) {
        log << "\n" << BOOM << "\n\n";
        AddToAALog(log.str());
    }
}
