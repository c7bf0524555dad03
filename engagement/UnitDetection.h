// UnitDetection.h: the engagement model's side of the unit's detection and
// data-link operations (a unit's look at another, the unit-pair step, the
// base report, the jamming entries in UnitDetection.cpp; the data link, its
// departure and the hostile-act note in UnitDataLink.cpp), which it installs
// behind the unit's operations of the same names (units/UnitDetectionCalls.h).
#pragma once

#include <cstdint>

class Contact;
class SideContacts;
class Unit;

// Installs the operations, with a sonobuoy line's listening
// (SonobuoyDetection.h); UninstallUnitDetection takes them out again.
void InstallUnitDetection();
void UninstallUnitDetection();

// The unit-pair step passes over the sensors of a pair that a cheap bound on
// the range puts beyond both units' detection reach. It is on at start; off,
// every such pair has its range worked out exactly (the same contacts and
// jamming entries, only slower). Answers the setting it replaces.
bool SetPairReachShortcut(bool on);

namespace UnitDetection {
// The sector bit of a bearing relative to a course, both in angle units:
// 0x01 to 0x08 from the bow aft to starboard, 0x10 to 0x80 from the bow aft
// to port (45-degree sectors).
uint16_t SectorBit(int32_t bearing, int32_t course);
// Whether the two side numbers are friendly: the same side, or a side whose
// relation toward the other is friendly (Side::GetRelation).
bool AreFriendly(uint16_t side, uint16_t other);
// Folds a later detection of a pass into the first one (`found`, null
// until then) and deletes it; a null detection changes nothing.
void Absorb(Contact*& found, Contact* detection);
// What the options word reveals of the target in a contact on it: its side
// (bit 2), its name, platform and size class (bit 4).
void RevealByOptions(Contact& contact, const Unit& target, uint16_t options);
// The unit's side record, or null when it has none.
SideContacts* RecordOf(const Unit& unit);
// The data-link operations (UnitDataLink.cpp), installed with the rest.
int32_t UpdateDataLink(Unit& self, Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon,
                       uint16_t options);
void LeaveDataLink(Unit& self);
void NoteHostileAct(Unit& self, uint16_t attackerID);
}  // namespace UnitDetection
