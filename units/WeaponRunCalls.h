// WeaponRunCalls.h: the weapon's run in flight (its flight step, its meeting
// with another unit, the missile attack and the impact of its warheads) and a
// unit's point defence against an incoming weapon, with the engagement list
// it asks its mounts for. They work on contacts, sensors and side records, so
// the engagement model holds them and installs them here at start-up
// (SetWeaponRunCalls); the operations of Weapon and Unit of the same names
// call them. Until then a weapon stands still, meets nothing, leaves play
// at its attack without harm, and no unit defends itself.
#pragma once

#include <cstdint>

#include "core/Chain.h"

class TimedRecord;
class Unit;
class Weapon;
struct NavVector;

struct WeaponRunCalls {
    void (*move)(Weapon& weapon, uint8_t seconds) = nullptr;
    bool (*pairStep)(Weapon& weapon, Unit& other) = nullptr;
    void (*missileAttack)(Weapon& weapon, Unit* target) = nullptr;
    void (*resolveImpact)(Weapon& weapon, Unit& target) = nullptr;
    void (*detonateWithoutTarget)(Weapon& weapon) = nullptr;
    bool (*pointDefense)(Unit& self, Weapon& incoming) = nullptr;
    void (*buildEngagementList)(Unit& self, uint32_t mask, uint16_t targetID, const NavVector& toTarget,
                                Chain<TimedRecord>& out, uint32_t flags) = nullptr;
};

// Installs the calls; returns the ones they replace.
WeaponRunCalls SetWeaponRunCalls(const WeaponRunCalls& calls);
