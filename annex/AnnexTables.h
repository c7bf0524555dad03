// AnnexTables.h: the scenario's annex: the sixteen annex tables that the
// running scenario holds (only the records its reference lists name, and the
// whole warhead file), the sixteen reference lists with their saved form, the
// annex load, the four sensor indexes that the load fills from every platform
// record read, the hook for the derived weapon and aircraft figures, and the
// teardown. The viewer's platform lists are PlatformList.h; the container and
// the version rule AnnexFile.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "annex/AirFacilityAnnex.h"
#include "annex/AnnexFile.h"
#include "annex/CommAnnex.h"
#include "annex/FacilityAnnex.h"
#include "annex/FuelAnnex.h"
#include "annex/InstallationAnnex.h"
#include "annex/LoadoutAnnex.h"
#include "annex/MountAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/PlatformList.h"
#include "annex/PropulsionAnnex.h"
#include "annex/SensorAnnex.h"
#include "annex/ShipAnnex.h"
#include "annex/SubAnnex.h"
#include "annex/WarheadAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/IDList.h"
#include "core/RecordList.h"

// The sixteen tables, each empty (null) until the annex load creates it, and
// each owning its records. One process-wide set exists (Annex::Tables()); the
// Arena holds it for the scenario's lifetime.
class AnnexTables {
public:
    AnnexTables() = default;
    AnnexTables(const AnnexTables&) = delete;
    AnnexTables& operator=(const AnnexTables&) = delete;
    ~AnnexTables() { Delete(); }

    AnnexTable<AirFacilityAnnex>* AirFacilities() const { return airFacilities_.get(); }
    AnnexTable<CommAnnex>* Comms() const { return comms_.get(); }
    AnnexTable<FacilityAnnex>* Facilities() const { return facilities_.get(); }
    AnnexTable<FuelAnnex>* Fuels() const { return fuels_.get(); }
    AnnexTable<InstallationAnnex>* Installations() const { return installations_.get(); }
    AnnexTable<LoadoutAnnex>* Loadouts() const { return loadouts_.get(); }
    AnnexTable<MountAnnex>* Mounts() const { return mounts_.get(); }
    AnnexTable<MountAnnex>* Magazines() const { return magazines_.get(); }
    AnnexTable<PlaneAnnex>* Planes() const { return planes_.get(); }
    AnnexTable<PropulsionAnnex>* Propulsions() const { return propulsions_.get(); }
    AnnexTable<SensorAnnex>* Sensors() const { return sensors_.get(); }
    AnnexTable<ShipAnnex>* Ships() const { return ships_.get(); }
    AnnexTable<SubAnnex>* Subs() const { return subs_.get(); }
    AnnexTable<WeaponAnnex>* Weapons() const { return weapons_.get(); }
    AnnexTable<WeaponRec>* WeaponRecs() const { return weaponRecs_.get(); }
    AnnexTable<WarheadAnnex>* Warheads() const { return warheads_.get(); }

    // Creates the sixteen tables empty, in the file order airfacil, comm,
    // facility, fuel, installa, loadout, mount, magazine, plane, propuls,
    // sensor, ship, sub, weapon, weaprec, warhead. Tables that exist are
    // deleted with their records first.
    void Create();
    // Deletes every table with its records, in the order airfacil, comm,
    // facility, fuel, installa, loadout, magazine, mount, plane, propuls,
    // sensor, ship, sub, weapon, weaprec, warhead; the pointers become empty.
    void Delete();
    // Whether the tables have been created (they may be empty).
    bool Exist() const { return warheads_ != nullptr; }

private:
    std::unique_ptr<AnnexTable<AirFacilityAnnex>> airFacilities_;
    std::unique_ptr<AnnexTable<CommAnnex>> comms_;
    std::unique_ptr<AnnexTable<FacilityAnnex>> facilities_;
    std::unique_ptr<AnnexTable<FuelAnnex>> fuels_;
    std::unique_ptr<AnnexTable<InstallationAnnex>> installations_;
    std::unique_ptr<AnnexTable<LoadoutAnnex>> loadouts_;
    std::unique_ptr<AnnexTable<MountAnnex>> mounts_;
    std::unique_ptr<AnnexTable<MountAnnex>> magazines_;
    std::unique_ptr<AnnexTable<PlaneAnnex>> planes_;
    std::unique_ptr<AnnexTable<PropulsionAnnex>> propulsions_;
    std::unique_ptr<AnnexTable<SensorAnnex>> sensors_;
    std::unique_ptr<AnnexTable<ShipAnnex>> ships_;
    std::unique_ptr<AnnexTable<SubAnnex>> subs_;
    std::unique_ptr<AnnexTable<WeaponAnnex>> weapons_;
    std::unique_ptr<AnnexTable<WeaponRec>> weaponRecs_;
    std::unique_ptr<AnnexTable<WarheadAnnex>> warheads_;
};

namespace Annex {

// The process-wide annex tables.
AnnexTables& Tables();

// The scenario's weapon.dat record of that id; null without the record or
// the table.
inline WeaponAnnex* FindWeapon(uint16_t weaponID)
{
    const AnnexTable<WeaponAnnex>* table = Tables().Weapons();
    return table != nullptr ? table->Find(weaponID) : nullptr;
}

// ---------------------------------------------------------------------------
// Reference lists

// The sixteen reference lists, in the order the arena section saves them
// (magazine before mount, unlike the order the files are loaded in).
enum class ReferenceList {
    AirFacility, Comm, Facility, Fuel, Installation, Loadout, Magazine, Mount,
    Plane, Propulsion, Sensor, Ship, Sub, Weapon, WeaponRec, Warhead,
};
constexpr int REFERENCE_LIST_COUNT = 16;

// The IDs of the records of one annex file that the scenario uses. The lists
// live for the whole process; the warhead list is carried but selects
// nothing, since the warhead file is always loaded whole.
IDList& GetReferenceList(ReferenceList which);

// Saved form, in the arena section of scenarios and saved games, little-
// endian: the sixteen lists in ReferenceList order, each an IDList (u16
// count, then count u16 IDs in ascending order).
// Load empties all sixteen, then reads them in order. A form cut short or
// damaged leaves all sixteen empty (nothing half-read is kept) and answers
// false; the stream stays failed.
bool SaveReferenceLists(std::ostream& out);
bool LoadReferenceLists(std::istream& in);

// Empties the sixteen reference lists.
void ClearReferenceLists();

// ---------------------------------------------------------------------------
// The annex load

// The annex directory: the INI key AnnexDir, a text that carries its own
// trailing separator (".\" until start-up sets it).
void SetAnnexDir(const std::string& annexDir);
const std::string& GetAnnexDir();

// Builds the sixteen tables from the annex files of GetAnnexDir():
//  1. sets the annex-loading flag (IsAnnexLoading), deletes the sensor
//     indexes of an earlier load and installs the sensor index lookup of the
//     platform list filters;
//  2. creates the sixteen tables empty (tables left from an earlier load are
//     deleted first);
//  3. reads the files in the order airfacil, comm, facility, fuel, installa,
//     loadout, mount, magazine, plane, propuls, sensor, ship, sub, weapon,
//     weaprec, warhead: the version rule, then every record; each record of
//     facility, plane, sub and ship goes to its sensor index callback; a
//     record is kept when its file's reference list names its ID, except in
//     warhead.dat, which is kept whole (the table's last key issued is then
//     its highest key);
//  4. when the map has a bounding rectangle (ui2map::HasMapBounds), runs the
//     derived-figure pass (ComputeDerivedFigures);
//  5. puts the annex-loading flag back as it found it (cleared, outside
//     another annex read).
// A file that cannot be opened is the FatalError whose text is resource
// ANNEX_OPEN_FAILED_TEXT, and a version above 1 the version rule's
// FatalError: the program ends there. Should FatalError return, the load
// stops at that file: the tables read before it keep their records, the
// others stay empty, no pass runs, the flag is cleared and the answer is
// false. A damaged file is reported by ErrorBox, keeps the records read
// whole before the damage and the load goes on; the answer is then false.
bool LoadDatabase();
bool LoadDatabase(const std::string& annexDir);

// ---------------------------------------------------------------------------
// Sensor indexes

// The per-record callbacks of the platform files: each enters the record's ID
// under every sensor of its sensor list in the index of its kind, created
// empty on first use; a sensor the record lists twice enters it once. They
// see every record read, kept or not, so the indexes cover the whole files.
void IndexFacilitySensors(FacilityAnnex* record);
void IndexPlaneSensors(PlaneAnnex* record);
void IndexSubSensors(SubAnnex* record);
void IndexShipSensors(ShipAnnex* record);

// The sensor index of a platform kind (sensor ID -> the IDs of the platforms
// carrying it); null while it does not exist and for weapons. This is the
// lookup that the platform list filters use.
const RecordList* GetSensorIndex(PlatformKind kind);

// Installs GetSensorIndex as the platform list filters' lookup.
void InstallSensorIndexLookup();

// Deletes the four sensor indexes (ship, sub, plane, facility, in that order)
// and leaves them empty.
void FreeSensorIndexes();

// ---------------------------------------------------------------------------
// Derived figures

// The operations of the derived-figure pass, which the weapon and aircraft
// models supply: the weapon's flight figures, an aircraft type's usable
// range with a loadout (0: none) in nautical miles, and its performance
// table. A null member skips its step, leaving those figures 0.
struct DerivedFigureHooks {
    void (*computeWeaponPerformance)(WeaponAnnex& weapon) = nullptr;
    uint16_t (*usableRange)(PlaneAnnex& plane, uint16_t loadoutID) = nullptr;
    void (*buildPerformanceTable)(PlaneAnnex& plane) = nullptr;
};

// Installs the hooks; answers the ones they replace.
DerivedFigureHooks SetDerivedFigureHooks(const DerivedFigureHooks& hooks);

// The derived-figure pass over the loaded tables: for every weapon record in
// key order its flight figures; then for every aircraft record in key order
// its default usable range (loadout 0), the usable range of each entry of its
// loadout list in key order, and its performance table. Tables not created
// are skipped.
void ComputeDerivedFigures();

// ---------------------------------------------------------------------------
// Lifecycle

// Empties the table pointers for a new Arena; tables still held are deleted.
void ClearTablePointers();

// The teardown of the scenario's annex, in this order: the sixteen tables
// deleted with their records, the sixteen reference lists emptied, the
// platform lists and the viewer's tables freed (FreePlatformLists), the
// sensor indexes deleted.
void FreeScenarioAnnex();

}  // namespace Annex
