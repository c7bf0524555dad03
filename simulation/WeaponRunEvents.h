// WeaponRunEvents.h: the events of a weapon's run: the weapon reaching its
// target point (0x09), the switch to the seeker's best target at the next
// 15-second mark (0x4C), the clearing of a weapon's target and path (0x4D)
// and the deletion of a unit from play (0x43), with their saved forms.
// Installed at start-up behind the unit model's delete-unit maker and the
// weapon run's hooks (InstallWeaponRunEvents).
#pragma once

#include <cstdint>

#include "core/Event.h"

class WeaponTargetEvent : public Event {
public:
    WeaponTargetEvent() = default;
    WeaponTargetEvent(uint16_t weapon, uint16_t target) : targetID(target), weaponID(weapon) {}
    // The weapon attacks its target, attacks blind, or has lost its target.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return weaponID; }
    void SetSubject(uint16_t subject) override { weaponID = subject; }
    uint8_t TypeCode() const override { return EventCode::WEAPON_TARGET; }
    // Both ids; the copy is due at once.
    Event* Clone() const override { return new WeaponTargetEvent(weaponID, targetID); }
    // Saved form after the code: due time u32, targetID u16, weaponID u16.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    uint16_t targetID = 0;
    uint16_t weaponID = 0;
};

class WeaponStepEvent : public Event {
public:
    WeaponStepEvent() = default;
    // Due at the next multiple of 15 game seconds after now.
    explicit WeaponStepEvent(uint16_t weapon);
    // The seeker's candidate, when it still exists, becomes the target, and
    // the weapon heads for it; the candidate fields are cleared.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return weaponID; }
    uint8_t TypeCode() const override { return EventCode::WEAPON_STEP; }
    // Saved form after the code: weaponID u16, due time u32.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    uint16_t weaponID = 0;
};

class ClearPathEvent : public Event {
public:
    ClearPathEvent() = default;
    explicit ClearPathEvent(uint16_t unit) : unitID(unit) {}
    // Clears a weapon's target id and lock, its path, then its seeker's
    // candidate and score.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return unitID; }
    void SetSubject(uint16_t subject) override { unitID = subject; }
    uint8_t TypeCode() const override { return EventCode::CLEAR_PATH; }
    // Saved form after the code: unitID u16, due time u32.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    uint16_t unitID = 0;
};

// The least of the deletion: the unit leaves play (RemoveFromPlay) and the
// unit list deletes it. A unit already gone is left alone, so a unit
// scheduled for deletion twice is deleted once.
class DeleteUnitEvent : public Event {
public:
    DeleteUnitEvent() = default;
    explicit DeleteUnitEvent(uint16_t unit) : unitID(unit) {}
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return unitID; }
    void SetSubject(uint16_t subject) override { unitID = subject; }
    uint8_t TypeCode() const override { return EventCode::DELETE_UNIT; }
    // The copy is due at once.
    Event* Clone() const override { return new DeleteUnitEvent(unitID); }
    bool Describe(char* text, uint16_t size) const override;
    // Saved form after the code: unitID u16, due time u32.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    uint16_t unitID = 0;
};

// Installs the four classes behind the unit model's delete-unit maker and
// the weapon run's event hooks, keeping the other calls; the uninstall takes
// them out.
void InstallWeaponRunEvents();
void UninstallWeaponRunEvents();
