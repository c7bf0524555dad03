// ContactCalls.h: what the contact records ask of the layers above them: the
// events they post (contact update 0x02, empty record 0x50, contact area
// 0x55), the sides' relations and choices (Side, with the missions), and the
// bridge's notices to the player. The owners install these calls at start-up
// (SetContactCalls); until then no event is made, no side answers and no
// message goes out. The calls keep the names of the operations they stand for.
#pragma once

#include <cstdint>

#include "core/Event.h"
#include "core/gam2arena.h"

class Contact;
class Unit;

struct ContactCalls {
    // New events, owned by the caller; null when the class cannot be made.
    // The contact update takes the contact over.
    Event* (*makeContactUpdateEvent)(Contact* contact, uint16_t recordKey) = nullptr;
    Event* (*makeRemoveEmptyEntryEvent)(uint16_t recordKey) = nullptr;
    Event* (*makeContactAreaEvent)(uint16_t recordKey) = nullptr;
    // Side::SetRelation and Side::GetRelation of the side numbered
    // sideNumber toward another side (1 hostile, 2 friendly, 3 neutral).
    void (*setRelation)(uint16_t sideNumber, uint8_t otherSide, uint8_t relation) = nullptr;
    uint8_t (*getRelation)(uint16_t sideNumber, uint8_t otherSide) = nullptr;
    // The side's own test whether the windows may select its unit.
    bool (*canSelectUnit)(uint16_t sideNumber, uint16_t unitID) = nullptr;
    // gam2side::OnNewContact, GetUnitContactFlags and, ORed over the unit's
    // aircraft records, GetPlaneRecContactFlags.
    void (*onNewContact)(uint16_t recordKey, uint16_t unitID) = nullptr;
    uint8_t (*getUnitContactFlags)(Unit& unit, Contact& contact) = nullptr;
    uint8_t (*getPlaneRecContactFlags)(Unit& unit, Contact& contact) = nullptr;
    // ui2game::PostGameMessage: one message to the player.
    void (*postGameMessage)(uint16_t sideID, uint32_t level, char typeLetter, const char* text) = nullptr;
    // Side::GetBaseName of the side from gam2arena::GetSide: its label; null when
    // there is no such side.
    const char* (*getBaseName)(uint16_t sideID) = nullptr;
};

// Installs the calls; returns the ones they replace.
ContactCalls SetContactCalls(const ContactCalls& calls);

// New events of the installed classes; null while none is installed (the
// contact update then deletes the contact).
Event* MakeContactUpdateEvent(Contact* contact, uint16_t recordKey);
Event* MakeRemoveEmptyEntryEvent(uint16_t recordKey);
Event* MakeContactAreaEvent(uint16_t recordKey);

namespace SideRelations {
// Side::SetRelation; nothing without the call.
void SetRelation(uint16_t sideNumber, uint8_t otherSide, uint8_t relation);
// Side::GetRelation; 0 (no relation) without the call.
uint8_t GetRelation(uint16_t sideNumber, uint8_t otherSide);
// The side's selection test; false without the call.
bool CanSelectUnit(uint16_t sideNumber, uint16_t unitID);
// Side::GetBaseName: the side's label; null without the call or the side.
const char* GetBaseName(uint16_t sideID);
}  // namespace SideRelations

namespace gam2side {
void OnNewContact(uint16_t recordKey, uint16_t unitID);
// 0 without the calls.
uint8_t GetUnitContactFlags(Unit& unit, Contact& contact);
uint8_t GetPlaneRecContactFlags(Unit& unit, Contact& contact);
}  // namespace gam2side

namespace ui2game {
void PostGameMessage(uint16_t sideID, uint32_t level, char typeLetter, const char* text);
}  // namespace ui2game

namespace unit2gam {
// The clock record of the game time `seconds`; false (record untouched)
// without a game clock.
bool GetGameDate(uint32_t seconds, GameClockRecord& record);
}  // namespace unit2gam
