// PlaneRecArming.cpp: arming an aircraft record with a loadout: with the
// aircraft logistics setting on, the weapons of the old loadout go back to
// the holding unit's magazines and those of the new one are drawn from them,
// alternates standing in where a magazine runs short; then the readiness
// event that completes the arming, told to the record's mission.
#include "units/PlaneRec.h"

#include <algorithm>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/StockEntry.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/AllocationCheck.h"
#include "core/gam2arena.h"
#include "units/AircraftLogistics.h"
#include "units/Mount.h"
#include "units/PlaneRecBridge.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

// The stock a returned weapon opens when the unit has no entry for it.
constexpr uint16_t OPEN_STOCK_CAPACITY = 32767;
// The key of the magazine a unit without magazines is given.
constexpr uint16_t FIRST_MAGAZINE_KEY = 1;

const LoadoutAnnex* FindLoadoutRecord(uint16_t loadoutID)
{
    const AnnexTable<LoadoutAnnex>* const table = Annex::Tables().Loadouts();
    return table != nullptr && loadoutID != 0 ? table->Find(loadoutID) : nullptr;
}

const WeaponRec* FindWeaponRecord(uint16_t weaponRecID)
{
    const AnnexTable<WeaponRec>* const table = Annex::Tables().WeaponRecs();
    return table != nullptr ? table->Find(weaponRecID) : nullptr;
}

// The rounds a record's aircraft carry of one weapon record, kept to 16 bits
// as the magazines count them.
uint16_t RoundsFor(uint8_t aircraft, const WeaponRec& perAircraft)
{
    return static_cast<uint16_t>(uint32_t{aircraft} * perAircraft.shotsLeft);
}

// The first entry of the stock for the weapon, in chain order; null when none.
StockEntry* FindStock(StockChain& stocks, uint16_t weaponID)
{
    for (StockEntry* entry = stocks.First(); entry != nullptr; entry = entry->GetNext())
        if (entry->weaponID == weaponID)
            return entry;
    return nullptr;
}

// The weapon record for the weapon in the magazine the entry names; null
// when the unit, the magazine or the record is gone.
WeaponRec* FindMagazineRecord(const StockEntry& entry)
{
    Unit* const unit = gam2arena::FindUnit(entry.unitID);
    Mount* const magazine = unit != nullptr ? unit->magazines.Find(entry.magazineKey) : nullptr;
    if (magazine == nullptr)
        return nullptr;
    for (WeaponRec* rec = magazine->weapons.First(); rec != nullptr; rec = rec->GetNext())
        if (rec->weaponID == entry.weaponID)
            return rec;
    return nullptr;
}

// The unit's first magazine; a unit without one is given one, keyed 1.
Mount* FirstMagazine(Unit& unit)
{
    if (Mount* const magazine = unit.magazines.First())
        return magazine;
    auto* const magazine = new Mount();
    AllocationCheck(magazine);
    magazine->SetKey(FIRST_MAGAZINE_KEY);
    magazine->capabilities = Mount::MAGAZINE;
    magazine->SetOwner(&unit);
    unit.magazines.Insert(magazine);
    return magazine;
}

// Gives rounds of the weapon back to the stock: the first entry for it takes
// them up to its capacity (never falling), its magazine following; without an entry the
// unit's first magazine takes them as a new weapon record, and the stock an
// entry of OPEN_STOCK_CAPACITY.
void ReturnRounds(StockChain& stocks, uint16_t unitID, uint16_t weaponID, uint16_t rounds)
{
    if (StockEntry* const entry = FindStock(stocks, weaponID)) {
        // Capped at the capacity, but a stock already past it (a magazine
        // record whose full quantity is below its rounds, or 0) is never
        // lowered by a return.
        const uint32_t sum = uint32_t{entry->count} + rounds;
        const uint32_t capped = std::min<uint32_t>(sum, entry->capacity);
        entry->count = static_cast<uint16_t>(std::max<uint32_t>(capped, entry->count));
        if (WeaponRec* const rec = FindMagazineRecord(*entry))
            rec->shotsLeft = entry->count;
        return;
    }
    auto* const entry = new StockEntry(unitID, 0, weaponID, rounds, OPEN_STOCK_CAPACITY);
    AllocationCheck(entry);
    stocks.Append(entry);
    Unit* const unit = gam2arena::FindUnit(unitID);
    Mount* const magazine = unit != nullptr ? FirstMagazine(*unit) : nullptr;
    if (magazine == nullptr)
        return;
    entry->magazineKey = magazine->GetKey();
    const uint16_t key = magazine->weapons.NewKey();
    if (key == 0)
        return;   // the magazine's keys are used up (reported)
    auto* const rec = new WeaponRec(key);
    AllocationCheck(rec);
    rec->weaponID = weaponID;
    rec->shotsLeft = rounds;
    rec->secondValue = rounds;
    magazine->weapons.Insert(rec);
}

// Takes rounds of the entry's weapon out of the stock and its magazine.
// Needs: rounds <= entry.count.
void DrawRounds(StockEntry& entry, uint16_t rounds)
{
    entry.count = static_cast<uint16_t>(entry.count - rounds);
    if (WeaponRec* const rec = FindMagazineRecord(entry))
        rec->shotsLeft = rec->shotsLeft > rounds ? static_cast<uint16_t>(rec->shotsLeft - rounds) : uint16_t{0};
}

}  // namespace

void PlaneRec::SetReadyState(uint16_t newLoadout, bool notify, uint16_t readyValue)
{
    if (newLoadout == loadoutID && (readyTime != 0 || HasFlags(READY_FLAGS)))
        return;
    if (AircraftLogistics::IsOn())
        ExchangeWeapons(newLoadout);
    loadoutID = newLoadout;
    if (notify)
        gam2side::TellLoadoutChanged(missionID, unitID, GetKey(), loadoutID);
    PostOrDrop(MakeUnitReadyEvent(GetKey(), loadoutID, unitID, readyValue));
}

void PlaneRec::ExchangeWeapons(uint16_t newLoadout)
{
    StockChain stocks;
    if (Unit* const holder = gam2arena::FindUnit(unitID))
        holder->CollectWeaponEntries(stocks, false);
    ReturnLoadout(stocks);
    substitutions.DeleteAll();
    DrawLoadout(stocks, newLoadout);
}

void PlaneRec::ReturnLoadout(StockChain& stocks)
{
    const LoadoutAnnex* const loadout = FindLoadoutRecord(loadoutID);
    if (loadout == nullptr)
        return;
    for (const IDNode* id = loadout->weaponRecIDs.First(); id != nullptr; id = id->GetNext()) {
        const WeaponRec* const rec = FindWeaponRecord(id->GetKey());
        if (rec == nullptr)
            continue;
        uint16_t carried = rec->weaponID;
        if (NavIDNode* const substitute = substitutions.Find(rec->weaponID)) {
            carried = substitute->GetValue();
            substitutions.Remove(substitute);
            delete substitute;
        }
        // A carried weapon of 0 stands for nothing drawn: nothing goes back.
        const WeaponAnnex* const weapon = carried != 0 ? Annex::FindWeapon(carried) : nullptr;
        if (weapon != nullptr && weapon->CheckKind())
            ReturnRounds(stocks, unitID, carried, RoundsFor(count, *rec));
    }
}

void PlaneRec::DrawLoadout(StockChain& stocks, uint16_t newLoadout)
{
    const LoadoutAnnex* const loadout = FindLoadoutRecord(newLoadout);
    if (loadout == nullptr)
        return;
    std::vector<uint16_t> tried;   // the weapons found short for this record
    for (const IDNode* id = loadout->weaponRecIDs.First(); id != nullptr; id = id->GetNext()) {
        const WeaponRec* const rec = FindWeaponRecord(id->GetKey());
        if (rec == nullptr || rec->weaponID == 0)
            continue;
        const uint16_t named = rec->weaponID;
        const uint16_t need = RoundsFor(count, *rec);
        tried.clear();
        uint16_t candidate = named;
        bool settled = false;   // carried as named, or its stand-in noted
        while (!settled && candidate != 0) {
            const WeaponAnnex* const weapon = Annex::FindWeapon(candidate);
            if (weapon == nullptr)
                break;   // nothing carried
            if (!weapon->CheckKind()) {
                if (candidate != named)
                    AddSubstitution(named, candidate);
                settled = true;
                break;
            }
            StockEntry* const stock = FindStock(stocks, candidate);
            if (stock != nullptr && stock->count >= need) {
                if (candidate != named)
                    AddSubstitution(named, candidate);
                DrawRounds(*stock, need);
                settled = true;
                break;
            }
            // Short: try the alternate, unless the alternates lead back to a
            // weapon already found short.
            tried.push_back(candidate);
            candidate = weapon->alternateID;
            if (std::find(tried.begin(), tried.end(), candidate) != tried.end())
                break;
        }
        // Nothing drawn for the named weapon: noted as carried-nothing, so
        // that the next return gives back nothing for it rather than rounds
        // that never left the magazines.
        if (!settled)
            AddSubstitution(named, 0);
    }
}

void PlaneRec::AddSubstitution(uint16_t named, uint16_t carried)
{
    auto* const node = new NavIDNode(named, carried);
    AllocationCheck(node);
    substitutions.Insert(node);
}
