// GroupBridge.h: what a group needs of the sides, their contacts and the
// windows, which lie above the unit model: the mission calls, the relations
// between sides, the side's doctrine answer for a member's place, the
// player's view and game options, and the contacts of the group's side. The
// owners install these calls at start-up (SetGroupBridgeCalls); until then
// every call answers as with no side, no contact and nothing visible.
#pragma once

#include <cstdint>
#include <vector>

#include "core/LatLonPoint.h"

// One contact of a side as the threat axes weigh it.
struct ThreatContact {
    uint16_t contactID = 0;
    LatLonPoint position;
    uint32_t typeFlags = 0;   // the contact's type flags
    uint16_t threat = 0;      // its threat value
    uint16_t sideID = 0;      // its side, when known
    bool sideKnown = false;
    bool hasArea = false;     // an area of uncertainty
};

// A (key, value) pair of the doctrine question.
struct DoctrineValue {
    uint16_t key = 0;
    int32_t value = 0;
};

struct GroupBridgeCalls {
    void (*setUnitGroup)(uint16_t unitID, uint16_t groupID) = nullptr;
    void (*setPlaneMissions)(uint16_t unitID, uint16_t missionID) = nullptr;
    bool (*areHostile)(uint16_t sideA, uint16_t sideB) = nullptr;
    int32_t (*doctrineDecision)(uint16_t sideID, const std::vector<DoctrineValue>& attributes,
                                const std::vector<DoctrineValue>& choices) = nullptr;
    uint16_t (*getCurrentSideID)() = nullptr;
    uint16_t (*getGameOptions)() = nullptr;
    void (*pathChanged)(uint16_t unitID) = nullptr;
    // The contacts of a side record (by its key); false when there is none.
    bool (*collectContacts)(uint16_t entryKey, std::vector<ThreatContact>& out) = nullptr;
    // Where a side record's contact on a unit is; false when it has none.
    bool (*findContact)(uint16_t entryKey, uint16_t contactID, LatLonPoint& out) = nullptr;
    // The group enters or leaves a side record's own units.
    void (*entryAddMember)(uint16_t entryKey, uint16_t unitID) = nullptr;
    void (*entryRemoveMember)(uint16_t entryKey, uint16_t unitID) = nullptr;
};

// Installs the calls; returns the ones they replace.
GroupBridgeCalls SetGroupBridgeCalls(const GroupBridgeCalls& calls);

// GetUnitMissionID is StationBridge.h's, AreFriendly PlaneBridge.h's.
namespace gam2side {
void SetUnitGroup(uint16_t unitID, uint16_t groupID);
void SetPlaneMissions(uint16_t unitID, uint16_t missionID);
bool AreHostile(uint16_t sideA, uint16_t sideB);
// The side's answer for a member's place (3 centre, 4 screen); 0 without.
int32_t DoctrineDecision(uint16_t sideID, const std::vector<DoctrineValue>& attributes,
                         const std::vector<DoctrineValue>& choices);
}  // namespace gam2side

// IsVisibleToPlayer is world/game2ui.h's.
namespace game2ui {
uint16_t GetCurrentSideID();
uint16_t GetGameOptions();
}  // namespace game2ui

namespace ui2game {
void PathChanged(uint16_t unitID);
}  // namespace ui2game

namespace UnitEntry {
bool CollectContacts(uint16_t entryKey, std::vector<ThreatContact>& out);
bool FindContact(uint16_t entryKey, uint16_t contactID, LatLonPoint& out);
void AddMember(uint16_t entryKey, uint16_t unitID);
void RemoveMember(uint16_t entryKey, uint16_t unitID);
}  // namespace UnitEntry
