// UnitFromAnnex.h: the steps that every build of a unit from its platform
// record shares, whatever the record's class: the names, the sensors and
// mounts, the datalink records with their reach figures, the fuel tanks and
// magazines with the fuel hook-up, the three triples, and the emptying of
// the components before a rebuild. The class builds call them in the order
// their records ask; the list builders themselves are UnitComponents.h,
// SensorFactory.h and DatalinkRecord.h.
#pragma once

#include "annex/ShortTriple.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/NameString.h"

class Unit;

namespace UnitFromAnnex {

// name = the record's first name; the class name (the unit's data block
// label) = `label`, at most five characters of it for a type code.
void TakeNames(Unit& unit, const NameString& firstName, const char* label);

// The unit's own sensors and its mounts, both owned by the unit, each in
// list order with the lists' next free keys.
void BuildSensorsAndMounts(Unit& unit, const IDRecordList& sensorIDs, const IDRecordList& mountIDs);

// One datalink record per comm.dat id (after any record already there, a
// facility's land line), then the unit's two link reaches.
void BuildCommLinks(Unit& unit, const IDList& commIDs);

// The fuel tanks appended in list order; the magazines when the unit has
// none yet (a rebuild keeps those it has with their stocks; null: the
// record lists none); then the fuel hook-up.
void BuildStores(Unit& unit, const IDList& fuelIDs, const IDList* magazineIDs);

// The three triples of the record into the unit's aspect values.
void CopyTriples(Unit& unit, const ShortTriple& first, const ShortTriple& second, const ShortTriple& third);

// Before a rebuild: the plants, sensors, mounts and datalink records
// emptied and the fuel tanks deleted; the magazines stay.
void ClearComponents(Unit& unit);

}  // namespace UnitFromAnnex
