// WeaponRunEvents.cpp: what the events of a weapon's run do, their saved
// forms and their install.
#include "simulation/WeaponRunEvents.h"

#include <cstdio>

#include "core/NavMath.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/WeaponRun.h"
#include "units/PositionNode.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"
#include "units/Weapon.h"

namespace {
constexpr uint32_t STEP_PERIOD = 15;
constexpr uint32_t FRESH_SECONDS = 30;           // a contact this old or newer shows a deleted unit
constexpr int32_t REACH_PER_KNOT = 16;        // range units of a weapon's reach per knot of its speed
constexpr uint32_t SEEKING_MASK = 0x10;
constexpr uint32_t SURFACE_CLASSES = 0x7C3;
constexpr uint32_t AIR_CLASSES = 0x0C;

Weapon* FindWeapon(uint16_t id)
{
    return dynamic_cast<Weapon*>(gam2arena::FindUnit(id));
}

// A weapon that lost its target leaves play.
void LoseTarget(Weapon& weapon)
{
    if (SideContactsList* sides = gam2arena::GetSideList())
        for (SideContacts* side = sides->First(); side != nullptr; side = side->GetNext())
            side->DeleteContacts(weapon.GetID());
    weapon.EndRun();
}

bool LoadUnitAndTime(std::istream& in, uint16_t& id, Event& event)
{
    LoadField(in, id);
    return in && event.LoadBase(in);
}

void SaveUnitAndTime(std::ostream& out, uint8_t code, uint16_t id, const Event& event)
{
    SaveField(out, code);
    SaveField(out, id);
    event.SaveBase(out);
}
}  // namespace

bool WeaponTargetEvent::HandleEvent()
{
    Weapon* const weapon = FindWeapon(weaponID);
    if (weapon == nullptr)
        return false;
    Unit* const target = gam2arena::FindUnit(targetID);
    if (target == nullptr) {
        if (targetID == 0)
            weapon->MissileAttack(nullptr);
        else
            LoseTarget(*weapon);
        return false;
    }
    const int32_t range = NavMath::Get_Vector(weapon->GetPosition(), target->GetPosition()).range;
    if (range >= REACH_PER_KNOT * int32_t{weapon->speed})
        return false;
    const uint32_t mask = weapon->GetAttackMask();
    const uint32_t classes = target->GetTargetMask();
    if ((classes & mask) != 0
        || (mask == SEEKING_MASK
            && ((weapon->surfaceHitChance != 0 && (classes & SURFACE_CLASSES) != 0)
                || (weapon->airHitModifier != 0 && (classes & AIR_CLASSES) != 0)))) {
        weapon->MissileAttack(target);
        return false;
    }
    if (mask != SEEKING_MASK)
        LoseTarget(*weapon);
    return false;
}

bool WeaponTargetEvent::Load(std::istream& in)
{
    if (!LoadBase(in))
        return false;
    LoadField(in, targetID);
    LoadField(in, weaponID);
    return static_cast<bool>(in);
}

void WeaponTargetEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveBase(out);
    SaveField(out, targetID);
    SaveField(out, weaponID);
}

WeaponStepEvent::WeaponStepEvent(uint16_t weapon) : weaponID(weapon)
{
    SetTime(GameTime((gam2arena::GetGameTime() / STEP_PERIOD + 1) * STEP_PERIOD));
}

bool WeaponStepEvent::HandleEvent()
{
    Weapon* const weapon = FindWeapon(weaponID);
    if (weapon == nullptr)
        return false;
    if (Unit* const candidate = gam2arena::FindUnit(weapon->seekerTargetID)) {
        weapon->SetTarget(candidate->GetID());
        weapon->targetLocked = 1;
        weapon->ClearPath();
        auto* node = new PositionNode(candidate->GetPosition());
        node->AddEvent(new WeaponTargetEvent(weapon->GetID(), weapon->targetID));
        weapon->SetPath(node);
    }
    weapon->seekerTargetID = 0;
    weapon->seekerScore = 0;
    return false;
}

bool WeaponStepEvent::Load(std::istream& in)
{
    return LoadUnitAndTime(in, weaponID, *this);
}

void WeaponStepEvent::Save(std::ostream& out) const
{
    SaveUnitAndTime(out, TypeCode(), weaponID, *this);
}

bool ClearPathEvent::HandleEvent()
{
    if (Weapon* const weapon = FindWeapon(unitID)) {
        weapon->targetID = 0;
        weapon->targetLocked = 0;
        weapon->ClearPath();
        weapon->seekerTargetID = 0;
        weapon->seekerScore = 0;
    } else if (Unit* const unit = gam2arena::FindUnit(unitID)) {
        unit->ClearPath();
    }
    return false;
}

bool ClearPathEvent::Load(std::istream& in)
{
    return LoadUnitAndTime(in, unitID, *this);
}

void ClearPathEvent::Save(std::ostream& out) const
{
    SaveUnitAndTime(out, TypeCode(), unitID, *this);
}

bool DeleteUnitEvent::HandleEvent()
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return false;
    unit->RemoveFromPlay();
    gam2arena::RemoveUnitEvents(unitID, EventCode::CONTACT_UPDATE);
    // Only a picture that saw the unit lately loses it: an older contact
    // stays where the side last knew the unit. (Unsigned: in the first 30
    // seconds of the game no contact counts as recent.)
    const uint32_t recent = gam2arena::GetGameTime() - FRESH_SECONDS;
    if (SideContactsList* sides = gam2arena::GetSideList())
        for (SideContacts* side = sides->First(); side != nullptr; side = side->GetNext())
            if (const Contact* held = side->GetContact(unitID); held != nullptr && held->lastDetection.Get() >= recent)
                side->DeleteContacts(unitID);
    if (UnitList* const units = UnitList::GetArenaList()) {
        units->Remove(unit);
        delete unit;
    }
    return false;
}

bool DeleteUnitEvent::Describe(char* text, uint16_t size) const
{
    if (text == nullptr || size == 0)
        return false;
    std::snprintf(text, size, "%s", "Delete Unit");
    return true;
}

bool DeleteUnitEvent::Load(std::istream& in)
{
    return LoadUnitAndTime(in, unitID, *this);
}

void DeleteUnitEvent::Save(std::ostream& out) const
{
    SaveUnitAndTime(out, TypeCode(), unitID, *this);
}

namespace {
Event* MakeDeleteUnit(uint16_t unitID, GameTime due)
{
    auto* event = new DeleteUnitEvent(unitID);
    event->SetTime(due);
    return event;
}

Event* MakeWeaponTarget(uint16_t weaponID, uint16_t targetID)
{
    return new WeaponTargetEvent(weaponID, targetID);
}

Event* MakeWeaponStep(uint16_t weaponID)
{
    return new WeaponStepEvent(weaponID);
}

Event* MakeClearPath(uint16_t unitID)
{
    return new ClearPathEvent(unitID);
}
}  // namespace

void InstallWeaponRunEvents()
{
    UnitEventCalls calls = SetUnitEventCalls({});
    calls.makeDeleteUnitEvent = &MakeDeleteUnit;
    SetUnitEventCalls(calls);
    WeaponRunHooks hooks = SetWeaponRunHooks({});
    hooks.makeWeaponTargetEvent = &MakeWeaponTarget;
    hooks.makeWeaponStepEvent = &MakeWeaponStep;
    hooks.makeClearPathEvent = &MakeClearPath;
    SetWeaponRunHooks(hooks);
}

void UninstallWeaponRunEvents()
{
    UnitEventCalls calls = SetUnitEventCalls({});
    calls.makeDeleteUnitEvent = nullptr;
    SetUnitEventCalls(calls);
    WeaponRunHooks hooks = SetWeaponRunHooks({});
    hooks.makeWeaponTargetEvent = nullptr;
    hooks.makeWeaponStepEvent = nullptr;
    hooks.makeClearPathEvent = nullptr;
    SetWeaponRunHooks(hooks);
}
