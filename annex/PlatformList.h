// PlatformList.h: the five platform lists (ships, subs, planes, facilities,
// weapons) that the database viewer offers by name, built from the whole of
// their annex files, the copies callers get of them, and the filters that
// keep the platforms carrying every sensor of a selection. The sensor
// indexes themselves belong to the scenario's annex tables; the viewer's
// on-demand tables to the viewer loading.
#pragma once

#include <cstdint>
#include <string>

#include "core/Chain.h"
#include "core/IDList.h"
#include "core/RecordList.h"
#include "core/StringNode.h"

namespace Annex {

// The kinds that have a platform list, in the order they are built.
enum class PlatformKind { Ship, Sub, Plane, Facility, Weapon };
constexpr int PLATFORM_KIND_COUNT = 5;

// Bytes of an entry's text buffer: two names of at most 31 characters, the
// blank between them and the terminator fit.
constexpr size_t PLATFORM_TEXT_SIZE = 64;

// Builds the five lists, in the order ship, sub, plane, facility, weapon,
// from the files of annexDir (the AnnexDir text, with its own trailing
// separator). Lists already built are freed first. Each list is created
// empty; a file that does not open leaves it empty without a message. The
// version rule applies (a version above 1 stops that file). Every record
// with an ID other than 0 gets an entry, in file order: its text is, for
// ships, subs, planes and weapons, the second name and a blank followed by
// the first name, or the first name alone when the second name is empty;
// for facilities the name. Its value is the ID.
// A damaged file keeps the entries of the records read whole before the
// damage and is reported by ErrorBox: a record count larger than the bytes
// left reads no record, a record cut short is dropped.
void LoadPlatformLists(const std::string& annexDir);
// The same from the annex directory the scenario's annex reads
// (Annex::GetAnnexDir, the INI key AnnexDir): what the Arena constructor calls.
void LoadPlatformLists();

// Deletes the viewer's on-demand tables (through the release installed with
// SetViewerTablesRelease) and the five lists with their entries; the list
// pointers are then empty. Safe to call when nothing was built.
void FreePlatformLists();

// Whether the list of a kind has been built (it may be empty).
bool HasPlatformList(PlatformKind kind);

// Append to out a copy of every entry of the kind's list, in list order;
// each copy has its own PLATFORM_TEXT_SIZE-byte text and the same value, and
// belongs to the caller. A list not built is the FatalError "Ship Button
// list is NULL" (Sub, Plane, Facility, Weapon likewise), and out is left as
// it was.
void GetShipButtonList(Chain<StringNode>& out);
void GetSubButtonList(Chain<StringNode>& out);
void GetPlaneButtonList(Chain<StringNode>& out);
void GetFacilityButtonList(Chain<StringNode>& out);
void GetWeaponButtonList(Chain<StringNode>& out);

// Fill out with copies of the entries of the kind's list whose platform
// carries every sensor ID of sensors, in list order, each platform once.
// A null out receives a new chain, which the caller owns; an existing chain
// is emptied first. The sensor index of the kind comes from the lookup
// installed with SetSensorIndexLookup. An empty selection, a sensor that no
// platform of the kind carries, a missing index or a list not built give an
// empty result. Always answers false.
bool FacilitiesWithSensors(const IDList& sensors, Chain<StringNode>*& out);
bool PlanesWithSensors(const IDList& sensors, Chain<StringNode>*& out);
bool SubsWithSensors(const IDList& sensors, Chain<StringNode>*& out);
bool ShipsWithSensors(const IDList& sensors, Chain<StringNode>*& out);

// The filter behind the four above, on a given list and sensor index (a
// sensor ID keyed list of the platform IDs that carry that sensor). Either
// may be null. Same out handling and answer.
bool PlatformsWithSensors(const Chain<StringNode>* list, const RecordList* sensorIndex,
                          const IDList& sensors, Chain<StringNode>*& out);

// Where the filters find the sensor index of a kind (null: none). The
// scenario's annex tables, which build the indexes, install it; until then
// every index is missing. Answers the lookup it replaces.
using SensorIndexLookup = const RecordList* (*)(PlatformKind kind);
SensorIndexLookup SetSensorIndexLookup(SensorIndexLookup lookup);

// What FreePlatformLists runs first to delete the viewer's on-demand record
// tables; the viewer loading installs it. Answers the one it replaces.
using ViewerTablesRelease = void (*)();
ViewerTablesRelease SetViewerTablesRelease(ViewerTablesRelease release);

}  // namespace Annex
