// LoadoutCount.cpp: how many complete loads of a loadout a unit's weapon
// stocks can supply.
#include <algorithm>

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/Unit.h"

namespace {
constexpr uint16_t UNLIMITED = 65535;

// The first stock entry of the unit's run, or null.
const StockEntry* RunOf(uint16_t unitID, const StockChain& stocks)
{
    for (const StockEntry* entry = stocks.First(); entry != nullptr; entry = entry->GetNext()) {
        if (entry->unitID == unitID)
            return entry;
    }
    return nullptr;
}

// For a facility without stocks attached to a group: the run of the group's
// first member facility that has stocks.
const StockEntry* GroupRunOf(uint16_t unitID, const StockChain& stocks)
{
    const Unit* unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr || unit->GetTypeLetter() != 'F')
        return nullptr;
    const auto* group = dynamic_cast<const Group*>(gam2arena::FindUnit(unit->GetParentID()));
    if (group == nullptr)
        return nullptr;
    for (const GroupEntry* member = group->members.First(); member != nullptr; member = member->GetNext()) {
        const Unit* facility = gam2arena::FindUnit(member->GetKey());
        if (facility == nullptr || facility->GetTypeLetter() != 'F')
            continue;
        if (const StockEntry* run = RunOf(member->GetKey(), stocks))
            return run;
    }
    return nullptr;
}
}  // namespace

uint16_t LoadoutAnnex::CountLoadouts(uint16_t unitID, const StockChain& stocks) const
{
    const StockEntry* run = RunOf(unitID, stocks);
    if (run == nullptr)
        run = GroupRunOf(unitID, stocks);
    const uint16_t runUnit = run != nullptr ? run->unitID : uint16_t{0};
    const AnnexTable<WeaponRec>* recs = Annex::Tables().WeaponRecs();
    uint16_t answer = UNLIMITED;
    for (const IDNode* id = weaponRecIDs.First(); id != nullptr && answer != 0; id = id->GetNext()) {
        const WeaponRec* rec = recs != nullptr ? recs->Find(id->GetKey()) : nullptr;
        if (rec == nullptr || Annex::FindWeapon(rec->weaponID) == nullptr)
            continue;
        const StockEntry* stock = nullptr;
        for (const StockEntry* entry = run; entry != nullptr && entry->unitID == runUnit; entry = entry->GetNext()) {
            if (entry->weaponID == rec->weaponID) {
                stock = entry;
                break;
            }
        }
        if (stock == nullptr) {
            answer = 0;
            break;
        }
        if (rec->shotsLeft == 0)
            continue;   // a record of no rounds needs none
        answer = static_cast<uint16_t>(std::min<uint32_t>(answer, stock->count / rec->shotsLeft));
    }
    return answer;
}
