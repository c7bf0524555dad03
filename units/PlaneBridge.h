// PlaneBridge.h: what an aircraft in flight needs of the layers above the
// unit model: messages to the player, side relations and the side's name,
// its mission, the victory conditions, whether a unit belongs to a side
// contact record's own units, and the classification of a contact. Their
// owners install them at start-up (SetPlaneBridgeCalls); until then no
// message is shown, only a side is friendly to itself, no mission holds the
// plane, no unit belongs to a record and a contact has classification 0.
#pragma once

#include <cstdint>

class Contact;
class SideContacts;

struct PlaneBridgeCalls {
    void (*postGameMessage)(uint16_t sideID, uint16_t entryKey, const char* text, uint16_t messageClass,
                            char letter) = nullptr;
    bool (*areFriendly)(uint16_t sideA, uint16_t sideB) = nullptr;
    const char* (*getBaseName)(uint16_t sideID) = nullptr;
    const char* (*getUnitMissionInfo)(uint16_t unitID) = nullptr;
    void (*missionReleaseUnit)(uint16_t unitID) = nullptr;
    void (*checkVictoryConditions)(uint16_t unitID) = nullptr;
    bool (*isOwnUnit)(const SideContacts& record, uint16_t unitID) = nullptr;
    uint32_t (*getClassification)(const Contact& contact) = nullptr;
};

// Installs the calls; returns the ones they replace.
PlaneBridgeCalls SetPlaneBridgeCalls(const PlaneBridgeCalls& calls);

namespace ui2game {
// A line for the player from a unit of a side and side record (0: any).
void PostGameMessage(uint16_t sideID, uint16_t entryKey, const char* text, uint16_t messageClass, char letter);
}  // namespace ui2game

namespace gam2side {
// True when side A is friendly toward side B; a side is friendly to itself.
bool AreFriendly(uint16_t sideA, uint16_t sideB);
// The side's base name, which the status shows as its doctrine line; empty
// without the call.
const char* GetBaseName(uint16_t sideID);
// The information text of the unit's mission, or null.
const char* GetUnitMissionInfo(uint16_t unitID);
// The mission that holds the unit releases it.
void MissionReleaseUnit(uint16_t unitID);
}  // namespace gam2side

namespace unit2gam {
// The victory conditions tested with the lost unit.
void CheckVictoryConditions(uint16_t unitID);
}  // namespace unit2gam

namespace SideRecord {
// Whether the unit is one of the record's own units (those its merge of
// contacts skips).
bool IsOwnUnit(const SideContacts& record, uint16_t unitID);
// The contact's classification word.
uint32_t GetClassification(const Contact& contact);
}  // namespace SideRecord
