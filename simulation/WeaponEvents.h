// WeaponEvents.h: the events weapon fire posts: a new weapon unit (0x06),
// a gun burst (0x48) and the transfer of rounds from a magazine into a
// mount (0x12), with the fields they carry and their saved form. What each
// does when it falls due belongs to the event handlers of the simulation
// step; until they exist each does nothing and is dropped. Installed at
// start-up behind the engagement model's weapon-fire calls
// (InstallWeaponEvents).
#pragma once

#include <cstdint>

#include "core/Event.h"
#include "engagement/WeaponFireCalls.h"

class PositionNode;

class NewUnitEvent : public Event {
public:
    static constexpr char WEAPON_LETTER = 'W';
    NewUnitEvent() = default;
    // Takes the order's path over.
    explicit NewUnitEvent(const NewWeaponOrder& order);
    ~NewUnitEvent() override;
    NewUnitEvent(const NewUnitEvent&) = delete;
    NewUnitEvent& operator=(const NewUnitEvent&) = delete;

    bool HandleEvent() override { return false; }
    uint8_t TypeCode() const override { return EventCode::NEW_UNIT; }
    // Saved form after the code: letter u8, side u8, weaponID, count,
    // launcherID, targetID, guideMountID, guideSensorID, aimValue (u16
    // each), the path (u16 node count, each node's saved form), due time.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    char letter = WEAPON_LETTER;
    NewWeaponOrder order;
};

class GunFireEvent : public Event {
public:
    GunFireEvent() = default;
    GunFireEvent(uint16_t weaponID, uint16_t targetID, uint16_t firingID, uint8_t count);
    bool HandleEvent() override { return false; }
    uint8_t TypeCode() const override { return EventCode::GUN_FIRE; }
    Event* Clone() const override { return new GunFireEvent(*this); }
    // Saved form after the code: weaponID, targetID, firingID (u16 each),
    // count u8, due time.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    uint16_t weaponID = 0;
    uint16_t targetID = 0;
    uint16_t firingID = 0;
    uint8_t count = 0;
};

class ReloadEvent : public Event {
public:
    ReloadEvent() = default;
    explicit ReloadEvent(const RoundTransferOrder& order);
    bool HandleEvent() override { return false; }
    uint8_t TypeCode() const override { return EventCode::RELOAD; }
    Event* Clone() const override { return new ReloadEvent(*this); }
    // Saved form after the code: amount, mountID, weaponRecID, unitID,
    // value0, magazineID, sourceRecID (u16 each), passedValue u32, value1
    // u16, due time.
    bool Load(std::istream& in) override;
    void Save(std::ostream& out) const override;

    RoundTransferOrder order;
};

// Installs the three event classes behind the weapon-fire calls, keeping
// the other calls; UninstallWeaponEvents takes them out.
void InstallWeaponEvents();
void UninstallWeaponEvents();
