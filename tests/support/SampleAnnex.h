// SampleAnnex.h: naming records of an annex directory in the scenario's
// reference lists, for the benchmarks that load a database through
// Annex::LoadDatabase: every record of each file, or one in so many.
#pragma once

#include <string>

#include "annex/AnnexTables.h"

namespace sampleannex {

// The sample platform database of the data set.
inline const std::string SAMPLE_DIR = std::string(TESSARN_DATA_DIR) + "/ANNEX/";

// Names in a reference list every record of its file whose position in the
// file is a multiple of `every` (1: all of them).
template <class T>
bool NameRecords(const std::string& dir, const char* fileName, Annex::ReferenceList list, int every)
{
    AnnexTable<T> table(fileName);
    if (!ReadAnnexFile(dir + fileName, table, true))
        return false;
    int position = 0;
    for (const T* r = table.First(); r; r = r->GetNext())
        if (position++ % every == 0)
            Annex::GetReferenceList(list).Insert(new IDNode(r->GetKey()));
    return true;
}

// Empties the reference lists, then names the records of every file of the
// directory as NameRecords does; false when a file cannot be read.
inline bool NameReferences(const std::string& dir, int every)
{
    using R = Annex::ReferenceList;
    Annex::ClearReferenceLists();
    return NameRecords<AirFacilityAnnex>(dir, ANNEX_AIRFACIL, R::AirFacility, every)
        && NameRecords<CommAnnex>(dir, ANNEX_COMM, R::Comm, every)
        && NameRecords<FacilityAnnex>(dir, ANNEX_FACILITY, R::Facility, every)
        && NameRecords<FuelAnnex>(dir, ANNEX_FUEL, R::Fuel, every)
        && NameRecords<InstallationAnnex>(dir, ANNEX_INSTALLA, R::Installation, every)
        && NameRecords<LoadoutAnnex>(dir, ANNEX_LOADOUT, R::Loadout, every)
        && NameRecords<MountAnnex>(dir, ANNEX_MOUNT, R::Mount, every)
        && NameRecords<MountAnnex>(dir, ANNEX_MAGAZINE, R::Magazine, every)
        && NameRecords<PlaneAnnex>(dir, ANNEX_PLANE, R::Plane, every)
        && NameRecords<PropulsionAnnex>(dir, ANNEX_PROPULS, R::Propulsion, every)
        && NameRecords<SensorAnnex>(dir, ANNEX_SENSOR, R::Sensor, every)
        && NameRecords<ShipAnnex>(dir, ANNEX_SHIP, R::Ship, every)
        && NameRecords<SubAnnex>(dir, ANNEX_SUB, R::Sub, every)
        && NameRecords<WeaponAnnex>(dir, ANNEX_WEAPON, R::Weapon, every)
        && NameRecords<WeaponRec>(dir, ANNEX_WEAPREC, R::WeaponRec, every)
        && NameRecords<WarheadAnnex>(dir, ANNEX_WARHEAD, R::Warhead, every);
}

}  // namespace sampleannex
