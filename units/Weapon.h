// Weapon.h: Weapon, the unit of type letter 'W': a missile, torpedo, bomb or
// sub-munition in flight or in the water, or a sonobuoy. Its construction
// from a weapon.dat record, its warheads (WarheadLink), the unit operations
// in which it differs from Unit, its target bookkeeping, its status text and
// its record in the unit list. The flight step, the pair step, the attack
// and the impact are the engagement model's (WeaponRunCalls.h).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/ShortTriple.h"
#include "core/Chain.h"
#include "core/GameTime.h"
#include "units/Unit.h"

// One warhead of a weapon, from its warhead.dat record.
class WarheadLink : public ChainLink<WarheadLink> {
public:
    // Type bits of a link built for a warhead id without a record: no
    // damage of any kind.
    static constexpr uint32_t NO_WARHEAD_TYPE = 0;

    WarheadLink() = default;
    // The record's type bits, damage (or released weapon id) and count;
    // a missing record gives type NO_WARHEAD_TYPE, value and count 0.
    explicit WarheadLink(uint16_t warheadID);

    uint32_t warheadType = NO_WARHEAD_TYPE;
    uint16_t warheadValue = 0;   // damage per hit; for type 2 the weapon released
    uint16_t warheadCount = 0;   // hits, or the number of weapons released
};

namespace WeaponKind {
constexpr uint32_t ECM_COUNTERED = 1;        // countered by ECM and IRCM
constexpr uint32_t TORPEDO = 16;             // countered by acoustic countermeasures
constexpr uint32_t SONOBUOY = 256;
constexpr uint32_t DECOY = 2048;
constexpr uint32_t KIND_4096 = 4096;
}  // namespace WeaponKind

class Weapon : public Unit {
public:
    static constexpr char TYPE_LETTER = 'W';
    // Status bits a hit clears, and the bit that marks the weapon destroyed.
    static constexpr uint32_t HIT_CLEARS = 0x7000;
    static constexpr uint32_t DESTROYED = 0x40;
    // A weapon carried with this object class code (state flags 0xFE00) is
    // in the water at the surface: its altitude counts as 0.
    static constexpr uint16_t SURFACE_CLASS_CODE = 0x9000;
    // Lines of the status record the weapon fills.
    static constexpr uint16_t STATUS_LINES = 12;

    // Every field 0, the two signature records cleared, no warheads: the
    // form the unit list loads into.
    Weapon();
    // A weapon built from weapon.dat record `weaponAnnexID` (see the .cpp);
    // a missing record leaves the fields of the default constructor. The
    // weapon is not placed: its launcher sets position and launch values.
    explicit Weapon(uint16_t weaponAnnexID);
    // A sonobuoy leaves its line; a weapon with a target clears it.
    ~Weapon() override;

    // ---- unit-part operations ----
    // Any damage destroys a weapon: its target is cleared, answer 1.
    int32_t TakeDamage(int32_t amount, uint32_t kind) override;
    void ApplyCriticalHit(int32_t, uint32_t) override {}
    // The flight step (Weapon::Move) and the meeting with another unit
    // (Weapon::PairStep) replace the unit's step and look.
    void Move(uint8_t seconds) override;
    bool DetectUnit(Unit& other) override;
    void ResolveFireOrders() override {}
    // A weapon never defends itself.
    bool PointDefense(Weapon&) override { return false; }
    bool LoadFields(std::istream& in) override;
    void SaveFields(std::ostream& out) const override;
    int16_t GetAltitude() const override;
    int16_t GetRadarSignature(int aspect) const override;
    int16_t GetFirstSonarSignature(int aspect) const override;
    int16_t GetSecondSonarSignature(int aspect) const override;
    int16_t GetVisualSignature(int aspect) const override;
    int16_t GetInfraredSignature(int aspect) const override;
    // As a target of point defence: kind 1 gives 8, kind 16 0x800, a decoy
    // its attack mask, kind 4096 0x1000, any other kind 0.
    uint32_t GetTargetMask() const override;
    char GetTypeLetter() const override { return TYPE_LETTER; }
    uint32_t GetWeaponKind() const override { return weaponKind; }
    uint16_t GetGuidanceUnitID() const override { return guideID; }
    uint16_t GetLauncherID() const override { return launcherID; }
    uint16_t GetGuidanceSensorKey() const override { return guideSensorID; }
    // The countermeasure strength against the weapon: the second
    // countermeasure value, doubled for a negative argument.
    int32_t GetCountermeasure(int32_t argument) const;
    // Name, class, speed, altitude, heading, endurance, time to go as
    // hh:mm:ss and the condition text.
    void GetStatus(UnitStatus& status) const override;
    // The flight step keeps the weather at the weapon's place.
    using Unit::SetWeather;
    // Also forgets the launcher, guide and target read from a file.
    void ForgetMemberships() override;

    // Seconds of running the fuel of the current plant's engine gives at
    // the rate of that plant at the current altitude; 0 without a plant or
    // fuel of its type.
    int32_t GetEndurance() const override;

    // ---- the run (WeaponRun.cpp, the engagement model's calls) ----
    // The seeker's look at another unit; true when it detected it.
    bool PairStep(Unit& other);
    // The end of the run at `target` (null: none); the weapon always leaves
    // play.
    void MissileAttack(Unit* target);
    // The warheads applied to a target, or only the area-effect and
    // sub-munition warheads where the weapon is.
    void ResolveImpact(Unit& target);
    void DetonateWithoutTarget();

    // ---- target bookkeeping ----
    // Locks on `targetID`; the launcher, when it exists, tallies the weapon.
    void SetTarget(uint16_t targetID);
    // Unlocks; the launcher, when it exists, drops the weapon from its tally
    // and the guiding sensor releases the target. The target id goes when it
    // is `targetID`.
    void ClearTarget(uint16_t targetID);
    // Ends the weapon's run (the weapon's own removal, apart from the unit
    // operation RemoveFromPlay that ScheduleDeletion runs): a delete-unit
    // event is posted for it and its target is cleared.
    void EndRun();
    void SetAttackMask(uint32_t mask) { attackMask = mask; }
    // The attack mask, or 16 for a decoy whose mask has a bit of 0x0C.
    uint32_t GetAttackMask() const;

    // The time to go as "hh:mm:ss" into out (at least 9 bytes).
    static void FormatTimeToGo(uint32_t seconds, char* out, int32_t size);

    // Fields, in declared order.
    uint32_t attackMask = 0;          // target classes the weapon attacks
    GameTime launchClock;             // not saved
    uint32_t timeToGo = 0;            // seconds
    uint32_t weaponKind = 0;
    Chain<WarheadLink> warheads;      // in record order
    uint16_t targetID = 0;
    uint8_t targetLocked = 0;
    uint16_t seekerTargetID = 0;
    int16_t seekerScore = 0;
    uint8_t seekerActive = 0;
    uint16_t launcherID = 0;
    uint16_t guideID = 0;             // 0: the launcher; a sonobuoy's line
    uint16_t guidePlaneRecID = 0;     // the launcher's aircraft record guiding it
    uint16_t guideSensorID = 0;       // the guiding sensor's key, 0 for none
    ShortTriple signature4;           // by aspect
    ShortTriple signature5;
    uint8_t surfaceHitChance = 0;     // percent
    uint8_t secondHitValue = 0;
    int8_t airHitModifier = 0;        // the chance against air targets is this + 30
    uint8_t fourthHitValue = 0;
    uint8_t guidanceByte = 0;
    int16_t firstCounterValue = 0;
    uint32_t weaponFlags = 0;
    uint16_t secondCounterValue = 0;

private:
    // The unit holding the guiding sensor, or null.
    Sensor* FindGuidingSensor() const;
};

// Registers the weapon's maker with the unit factory under 'W'.
void RegisterWeaponClass();
