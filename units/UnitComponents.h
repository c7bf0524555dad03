// UnitComponents.h: the list builders that give a new unit its components
// from the id lists of its platform record: propulsion plants, fuel tanks,
// air facility entries, mounts, magazines, weapon records, an aircraft's
// loadout mount; the fuel hook-up that tells each plant which engines have
// fuel; and a facility's first order to its radars. A mount itself is built
// by its constructor (Mount.h); sensors by SensorFactory.h; datalink records
// by DatalinkRecord.h.
#pragma once

#include <cstdint>

#include "annex/AnnexEntry.h"
#include "annex/ShortTriple.h"
#include "annex/WeaponRec.h"
#include "core/Chain.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/SavedTreeListOf.h"
#include "units/FuelTank.h"
#include "units/Mount.h"
#include "units/PropulsionPlant.h"

class MovingObject;
class Unit;

// The aircraftFlags bit an aircraft gets from a loadout that carries a
// store of kind 8192 (BuildLoadoutMount).
constexpr uint32_t AIRCRAFT_FLAG_STORE_8192 = 0x2;

// One plant per propuls.dat id, in list order, each with the list's next
// free key (PropulsionPlant's record constructor; a missing record still
// gives a plant).
void BuildPropulsionList(SavedTreeListOf<PropulsionPlant>& list, const IDList& ids);

// One full tank per fuel.dat id appended to the chain, in list order (a
// missing record gives an empty tank of no fuel).
void BuildFuelTanks(Chain<FuelTank>& chain, const IDList& ids);

// A new air facility entry under `key` from airfacil.dat record
// airFacilityID: its kind, the id, the size class served (in long1 and
// long2) and the space it offers in all four capacities: the high byte of
// the record's size word times 2 for size classes 1, 8 and 16, 3 for 2 and
// 32, 4 for 4 and 64, 8 for 128, 0 for any other, at most 255. It starts
// active; a missing record gives an entry of kind 0 and no space.
AnnexEntry* MakeAirFacilityEntry(uint16_t key, uint16_t airFacilityID);

// One entry per airfacil.dat id, keyed 1, 2, 3 ... in list order; answers
// the space of the hangars and open parking among them, summed in 16 bits.
uint16_t BuildAirFacilityList(AnnexEntryList& list, const IDList& ids);

// One mount per entry of `records` (mount.dat id, sector mask), in list
// order, owned by `owner`, each with the list's next free key.
void BuildMountList(Mount::MountList& list, const IDRecordList& records, MovingObject* owner);

// One magazine per magazine.dat id, in list order, without owner, marked a
// magazine, each with the list's next free key. The unit builds call it
// only while the unit has no magazine.
void BuildMagazineList(Mount::MountList& list, const IDList& ids);

// A new weapon record from weaprec.dat record weaprecID: its weapon, its two
// counts and its fire interval copied, every other field 0 (its flag too).
// A missing record gives one with every field 0. Key 0; the caller owns it.
WeaponRec* MakeWeaponRec(uint16_t weaprecID);

// One weapon record per weaprec.dat id, in list order, each with the list's
// next free key; answers their load counts (shotsLeft) summed in 16 bits.
uint16_t BuildWeaponRecList(SavedTreeListOf<WeaponRec>& list, const IDList& ids);

// An aircraft's loadout mount for loadout.dat record loadoutID, added to
// `list` with its next free key: owned by `unit`, ready, marked a loadout,
// with the loadout's byte as its rate and the loadout's id. Each weaprec.dat
// id of the loadout whose weapon record and weapon both exist adds, by the
// weapon's kind: a weapon record (kinds 0, 1, 2, 4, 8, 16, 32, 64, 256,
// 2048, 4096); the weapon's sensors to the unit's sensors and a weapon
// record (128); the weapon's fuel tanks, once per round of the load, to the
// unit's tanks (512, 1024, and 8192, which also answers
// AIRCRAFT_FLAG_STORE_8192); nothing (any other kind). Without the loadout
// record nothing is added. Answers the aircraftFlags bits to set.
uint32_t BuildLoadoutMount(Mount::MountList& list, uint16_t loadoutID, MovingObject& unit);

// Copies the three values of a triple.
void CopyTriple(ShortTriple& destination, const ShortTriple& source);

// The fuel hook-up, the last step of every build with propulsion: each tank
// that holds counts, in chain order, is noted on every plant (fuel 5 for
// air-independent running, any other fuel for each engine that burns it).
// Flags already set (a nuclear plant's) stay set.
void HookUpFuel(MovingObject& unit);

// A facility's first order to its sensors, once it is built: when it has
// sensors, a set-sensors event switching its radars active is posted for it
// (nothing while no event class is installed).
void StartFacilityRadars(const Unit& facility);
