// TargetTally.cpp: a launcher's tally of its weapons in flight against one
// target, and its saved form.
#include "units/TargetTally.h"

#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "units/Unit.h"

namespace {

DamagePointsQuery gDamagePoints = nullptr;

// Files from this version on carry the two totals.
const VersionNumber TOTALS_SAVED(2, 1, 2, 0);

bool FileCarriesTotals()
{
    return gAdmin == nullptr || gAdmin->GetFileVersion() >= TOTALS_SAVED;
}

uint16_t DamagePointsOf(const Unit& weapon)
{
    const AnnexTable<WeaponAnnex>* table = Annex::Tables().Weapons();
    const WeaponAnnex* record = table != nullptr ? table->Find(weapon.GetAnnexID()) : nullptr;
    if (record == nullptr || gDamagePoints == nullptr)
        return 0;
    return static_cast<uint16_t>(gDamagePoints(*record));
}

}  // namespace

DamagePointsQuery SetDamagePointsQuery(DamagePointsQuery query)
{
    const DamagePointsQuery previous = gDamagePoints;
    gDamagePoints = query;
    return previous;
}

void TargetTallyEntry::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, damagePoints);
}

void TargetTallyEntry::Load(std::istream& in)
{
    LoadKey(in);
    LoadField(in, damagePoints);
}

void TargetTally::AddWeapon(const Unit& weapon)
{
    if (weapons.Find(weapon.GetID()) != nullptr)
        return;
    auto* const entry = new TargetTallyEntry(weapon.GetID());
    entry->damagePoints = DamagePointsOf(weapon);
    weapons.Insert(entry);
    weaponCount += 1;
    totalDamage += entry->damagePoints;
}

void TargetTally::RemoveWeapon(const Unit& weapon)
{
    TargetTallyEntry* const entry = weapons.Find(weapon.GetID());
    if (entry == nullptr)
        return;
    weapons.Remove(entry);
    totalDamage = entry->damagePoints < totalDamage ? totalDamage - entry->damagePoints : 0;
    if (weaponCount != 0)
        weaponCount -= 1;
    delete entry;
}

void TargetTally::GetTotals(uint32_t& damage, uint32_t& count) const
{
    damage = totalDamage;
    count = weaponCount;
}

void TargetTally::Save(std::ostream& out) const
{
    SaveKey(out);
    weapons.Save(out);
    SaveField(out, totalDamage);
    SaveField(out, weaponCount);
}

bool TargetTally::Load(std::istream& in)
{
    LoadKey(in);
    if (!in || !weapons.Load(in))
        return false;
    if (FileCarriesTotals()) {
        LoadField(in, totalDamage);
        LoadField(in, weaponCount);
        return static_cast<bool>(in);
    }
    totalDamage = 0;
    weaponCount = 0;
    for (const TargetTallyEntry* entry = weapons.First(); entry != nullptr; entry = entry->GetNext()) {
        weaponCount += 1;
        totalDamage += entry->damagePoints;
    }
    return true;
}
