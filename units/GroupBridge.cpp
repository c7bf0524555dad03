// GroupBridge.cpp: the installed calls of the group code.
#include "units/GroupBridge.h"

namespace {
GroupBridgeCalls gCalls;
}  // namespace

GroupBridgeCalls SetGroupBridgeCalls(const GroupBridgeCalls& calls)
{
    const GroupBridgeCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace gam2side {
void SetUnitGroup(uint16_t unitID, uint16_t groupID)
{
    if (gCalls.setUnitGroup != nullptr)
        gCalls.setUnitGroup(unitID, groupID);
}
void SetPlaneMissions(uint16_t unitID, uint16_t missionID)
{
    if (gCalls.setPlaneMissions != nullptr)
        gCalls.setPlaneMissions(unitID, missionID);
}
bool AreHostile(uint16_t sideA, uint16_t sideB)
{
    return gCalls.areHostile != nullptr && gCalls.areHostile(sideA, sideB);
}
int32_t DoctrineDecision(uint16_t sideID, const std::vector<DoctrineValue>& attributes,
                         const std::vector<DoctrineValue>& choices)
{
    return gCalls.doctrineDecision != nullptr ? gCalls.doctrineDecision(sideID, attributes, choices) : 0;
}
}  // namespace gam2side

namespace game2ui {
uint16_t GetCurrentSideID()
{
    return gCalls.getCurrentSideID != nullptr ? gCalls.getCurrentSideID() : 0;
}
uint16_t GetGameOptions()
{
    return gCalls.getGameOptions != nullptr ? gCalls.getGameOptions() : 0;
}
}  // namespace game2ui

namespace ui2game {
void PathChanged(uint16_t unitID)
{
    if (gCalls.pathChanged != nullptr)
        gCalls.pathChanged(unitID);
}
}  // namespace ui2game

namespace UnitEntry {
bool CollectContacts(uint16_t entryKey, std::vector<ThreatContact>& out)
{
    return gCalls.collectContacts != nullptr && gCalls.collectContacts(entryKey, out);
}
bool FindContact(uint16_t entryKey, uint16_t contactID, LatLonPoint& out)
{
    return gCalls.findContact != nullptr && gCalls.findContact(entryKey, contactID, out);
}
void AddMember(uint16_t entryKey, uint16_t unitID)
{
    if (gCalls.entryAddMember != nullptr)
        gCalls.entryAddMember(entryKey, unitID);
}
void RemoveMember(uint16_t entryKey, uint16_t unitID)
{
    if (gCalls.entryRemoveMember != nullptr)
        gCalls.entryRemoveMember(entryKey, unitID);
}
}  // namespace UnitEntry
