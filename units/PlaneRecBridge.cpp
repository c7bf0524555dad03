// PlaneRecBridge.cpp: the installed side and mission calls of the aircraft
// records.
#include "units/PlaneRecBridge.h"

namespace {
PlaneRecCalls gCalls;
}  // namespace

PlaneRecCalls SetPlaneRecCalls(const PlaneRecCalls& calls)
{
    const PlaneRecCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace gam2side {
void TellMission(uint16_t missionID, uint16_t unitID, uint16_t key, uint32_t flags)
{
    if (gCalls.tellMission != nullptr)
        gCalls.tellMission(missionID, unitID, key, flags);
}

void TellMissionChanged(uint16_t unitID, uint16_t key, uint16_t oldMission, uint16_t newMission)
{
    if (gCalls.tellMissionChanged != nullptr)
        gCalls.tellMissionChanged(unitID, key, oldMission, newMission);
}

void TellPlaneRecSplit(uint16_t missionID, uint16_t unitID, uint16_t oldKey, uint16_t newKey, uint8_t newCount)
{
    if (gCalls.tellPlaneRecSplit != nullptr)
        gCalls.tellPlaneRecSplit(missionID, unitID, oldKey, newKey, newCount);
}

void TellLoadoutChanged(uint16_t missionID, uint16_t unitID, uint16_t key, uint16_t loadoutID)
{
    if (gCalls.tellLoadoutChanged != nullptr)
        gCalls.tellLoadoutChanged(missionID, unitID, key, loadoutID);
}

void AskMission(uint16_t missionID, uint16_t unitID, uint16_t keptKey, uint16_t mergedKey)
{
    if (gCalls.askMission != nullptr)
        gCalls.askMission(missionID, unitID, keptKey, mergedKey);
}

void MissionTest(uint16_t missionID, uint16_t unitID, uint16_t key)
{
    if (gCalls.missionTest != nullptr)
        gCalls.missionTest(missionID, unitID, key);
}

void AddPlaneRecToMission(PlaneRec& record, uint16_t sourceUnitID, uint16_t unitID)
{
    if (gCalls.addPlaneRecToMission != nullptr)
        gCalls.addPlaneRecToMission(record, sourceUnitID, unitID);
}
bool SideExists(uint16_t sideID)
{
    return gCalls.sideExists != nullptr && gCalls.sideExists(sideID);
}

uint16_t AddPlaneRecID(uint16_t sideID, uint16_t unitID, uint16_t key, uint16_t missionID, uint16_t sourceUnitID)
{
    return gCalls.addPlaneRecID != nullptr ? gCalls.addPlaneRecID(sideID, unitID, key, missionID, sourceUnitID)
                                           : 0;
}
}  // namespace gam2side

uint32_t RateWeaponRec(const WeaponRec& record, uint32_t targetMask, bool allowGuns)
{
    return gCalls.canFireAt != nullptr ? gCalls.canFireAt(record, targetMask, allowGuns) : 0;
}

namespace unit2gam {
void CheckVictoryConditions2(uint16_t sideID, uint16_t planeAnnexID, uint8_t code, uint16_t count)
{
    if (gCalls.checkVictoryConditions2 != nullptr)
        gCalls.checkVictoryConditions2(sideID, planeAnnexID, code, count);
}
}  // namespace unit2gam

void LaunchStrike(LaunchList* list, const StationRecord* target)
{
    if (gCalls.launchStrike != nullptr)
        gCalls.launchStrike(list, target);
    else
        delete list;
}
