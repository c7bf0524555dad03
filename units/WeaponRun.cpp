// WeaponRun.cpp: the weapon's flight step, pair step, attack and impact and a
// unit's point defence, each passed on to the engagement model's installed
// call (WeaponRunCalls.h).
#include "units/WeaponRunCalls.h"

#include "units/Weapon.h"

namespace {
WeaponRunCalls gCalls;
}  // namespace

WeaponRunCalls SetWeaponRunCalls(const WeaponRunCalls& calls)
{
    const WeaponRunCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

void Weapon::Move(uint8_t seconds)
{
    if (gCalls.move != nullptr)
        gCalls.move(*this, seconds);
}

bool Weapon::DetectUnit(Unit& other)
{
    return PairStep(other);
}

bool Weapon::PairStep(Unit& other)
{
    return gCalls.pairStep != nullptr && gCalls.pairStep(*this, other);
}

void Weapon::MissileAttack(Unit* target)
{
    if (gCalls.missileAttack != nullptr) {
        gCalls.missileAttack(*this, target);
        return;
    }
    // Without the engagement model the weapon still leaves play.
    EndRun();
}

void Weapon::ResolveImpact(Unit& target)
{
    if (gCalls.resolveImpact != nullptr)
        gCalls.resolveImpact(*this, target);
}

void Weapon::DetonateWithoutTarget()
{
    if (gCalls.detonateWithoutTarget != nullptr)
        gCalls.detonateWithoutTarget(*this);
}

bool Unit::PointDefense(Weapon& incoming)
{
    return gCalls.pointDefense != nullptr && gCalls.pointDefense(*this, incoming);
}

void Unit::BuildEngagementList(uint32_t mask, uint16_t targetID, const NavVector& toTarget, Chain<TimedRecord>& out,
                               uint32_t flags)
{
    if (gCalls.buildEngagementList != nullptr)
        gCalls.buildEngagementList(*this, mask, targetID, toTarget, out, flags);
}
