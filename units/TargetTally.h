// TargetTally.h: TargetTally, a launching unit's tally of its weapons in
// flight against one target (keyed by the target's unit id): each weapon
// with its damage points, their count and the sum of their points; and
// TargetTallyEntry, one weapon of it. The unit keeps its tallies in a keyed
// list (Unit.h). A weapon's damage points come from the weapon model, which
// installs the query (SetDamagePointsQuery).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class Unit;
class WeaponAnnex;

class TargetTallyEntry : public TreeListNode<TargetTallyEntry> {
public:
    // key: the weapon's unit id.
    explicit TargetTallyEntry(uint16_t weaponID = 0) : TreeListNode<TargetTallyEntry>(weaponID) {}
    ~TargetTallyEntry() override = default;

    // Saved form, little-endian: key u16, damagePoints u16.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

    uint16_t damagePoints = 0;   // taken once when the entry is made
};

class TargetTally : public TreeListNode<TargetTally> {
public:
    // key: the target's unit id. Both totals 0, no weapons.
    explicit TargetTally(uint16_t targetID = 0) : TreeListNode<TargetTally>(targetID) {}
    ~TargetTally() override = default;   // the list deletes its entries

    TargetTally(const TargetTally&) = delete;
    TargetTally& operator=(const TargetTally&) = delete;

    // Enters a weapon once: an entry keyed by its unit id with the damage
    // points of its weapon record (WeaponAnnex::GetDamagePoints; 0 when the
    // record is missing or no query is installed), counted into both totals.
    // A weapon already entered changes nothing.
    void AddWeapon(const Unit& weapon);
    // Takes a weapon's entry out: the count falls by one (not below 0), the
    // damage total by its points (to 0 when they are not smaller). A weapon
    // not entered changes nothing.
    void RemoveWeapon(const Unit& weapon);
    void GetTotals(uint32_t& damage, uint32_t& count) const;
    bool IsEmpty() const { return weapons.First() == nullptr; }
    const SavedTreeListOf<TargetTallyEntry>& Weapons() const { return weapons; }

    // Saved form, little-endian (an element of the unit's tally list):
    //   key           u16   the target's unit id
    //   weapons       u16 count, then each entry (key u16, points u16)
    //   totalDamage   u32
    //   weaponCount   u32
    // The totals are read only from files of version 2.1.2.0 and later (the
    // file being loaded, gAdmin; the present layout without gAdmin); from
    // older files they are the count and point sum of the entries read. Load
    // reads into a fresh tally; a record cut short leaves the stream failed
    // and answers false.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

private:
    uint32_t totalDamage = 0;
    uint32_t weaponCount = 0;
    SavedTreeListOf<TargetTallyEntry> weapons;
};

// The weapon model's damage points of a weapon record.
using DamagePointsQuery = int32_t (*)(const WeaponAnnex& weapon);
// Installs the query (nullptr: none); returns the one it replaces.
DamagePointsQuery SetDamagePointsQuery(DamagePointsQuery query);
