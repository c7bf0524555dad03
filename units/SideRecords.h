// SideRecords.h: how the unit model reaches what lies above it on the side
// of the game: the operations of the side contact records (SideContacts,
// whose own units the units are, and their Contacts, both with the engagement
// model) and the sides (Side, with the missions). Their owners install these
// calls at start-up (SetSideCalls); until then there is no contact and no
// side, and every call answers so. The calls keep the names of the
// operations they stand for. The records themselves are found through
// gam2arena::FindSide and GetCurrentSide (core/gam2arena.h).
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "core/gam2arena.h"

class Contact;
class SideContacts;
class Unit;

// What a contact gives a unit aiming at it.
struct ContactAim {
    LatLonPoint position;          // where the contact is believed to be
    uint16_t speed = 0;            // knots, 0 when not known
    int32_t courseDegrees = 0;     // whole degrees, 0 when not known
    uint32_t classification = 3;   // classification bits
    uint32_t flags = 0;            // the contact's flag word
    uint16_t bandWord = 0;         // the contact's band word (0x4000: a threat to evade)
};

struct SideCalls {
    // SideContacts: the key, AddUnit, RemoveUnit, EvaluateContact, GetContact.
    uint16_t (*getKey)(const SideContacts& record) = nullptr;
    void (*addUnit)(SideContacts& record, Unit& unit) = nullptr;
    void (*removeUnit)(SideContacts& record, Unit& unit) = nullptr;
    void (*evaluateContact)(SideContacts& record, uint16_t unitID) = nullptr;
    Contact* (*getContact)(SideContacts& record, uint16_t unitID) = nullptr;
    // Contact: its key (the unit it is on), what an aim takes from it, and
    // the count and damage of the weapons on their way to it added to its
    // threat values (which also sets its band flag).
    uint16_t (*getContactKey)(const Contact& contact) = nullptr;
    void (*getContactAim)(const Contact& contact, ContactAim& aim) = nullptr;
    void (*addContactThreat)(Contact& contact, uint16_t count, uint16_t damage) = nullptr;
    // gam2arena::GetSide (whether the side of a number exists) and
    // gam2side::IsFocusUnit.
    bool (*sideExists)(uint16_t sideNumber) = nullptr;
    bool (*isFocusUnit)(uint16_t unitID) = nullptr;
    // gam2side::ClearFocus: the unit's side has no focus unit any more.
    void (*clearFocus)(uint16_t unitID) = nullptr;
};

// Installs the calls; returns the ones they replace.
SideCalls SetSideCalls(const SideCalls& calls);

namespace gam2arena {
// Whether the Side of that number exists.
bool SideExists(uint16_t sideNumber);
}  // namespace gam2arena

namespace gam2side {
// True when the unit is its side's focus unit.
bool IsFocusUnit(uint16_t unitID);
// Sets the focus unit of the unit's side to none.
void ClearFocus(uint16_t unitID);
}  // namespace gam2side

namespace SideRecord {
// SideContacts::GetKey; 0 without the calls.
uint16_t GetKey(const SideContacts& record);
// SideContacts::AddUnit, RemoveUnit, EvaluateContact.
void AddUnit(SideContacts& record, Unit& unit);
void RemoveUnit(SideContacts& record, Unit& unit);
void EvaluateContact(SideContacts& record, uint16_t unitID);
// SideContacts::GetContact; null when the record holds none on the unit.
Contact* GetContact(SideContacts& record, uint16_t unitID);
// The contact's key; 0 without the calls.
uint16_t GetContactKey(const Contact& contact);
// Fills aim from the contact; leaves it as it is without the calls.
void GetContactAim(const Contact& contact, ContactAim& aim);
// Adds count and damage to the contact's threat values.
void AddContactThreat(Contact& contact, uint16_t count, uint16_t damage);
}  // namespace SideRecord
