// PlaneBridge.cpp: the installed calls of an aircraft in flight.
#include "units/PlaneBridge.h"

namespace {
PlaneBridgeCalls gCalls;
}  // namespace

PlaneBridgeCalls SetPlaneBridgeCalls(const PlaneBridgeCalls& calls)
{
    const PlaneBridgeCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

void ui2game::PostGameMessage(uint16_t sideID, uint16_t entryKey, const char* text, uint16_t messageClass,
                              char letter)
{
    if (gCalls.postGameMessage != nullptr && text != nullptr)
        gCalls.postGameMessage(sideID, entryKey, text, messageClass, letter);
}

bool gam2side::AreFriendly(uint16_t sideA, uint16_t sideB)
{
    return gCalls.areFriendly != nullptr ? gCalls.areFriendly(sideA, sideB) : sideA == sideB;
}

const char* gam2side::GetBaseName(uint16_t sideID)
{
    const char* const name = gCalls.getBaseName != nullptr ? gCalls.getBaseName(sideID) : nullptr;
    return name != nullptr ? name : "";
}

const char* gam2side::GetUnitMissionInfo(uint16_t unitID)
{
    return gCalls.getUnitMissionInfo != nullptr ? gCalls.getUnitMissionInfo(unitID) : nullptr;
}

void gam2side::MissionReleaseUnit(uint16_t unitID)
{
    if (gCalls.missionReleaseUnit != nullptr)
        gCalls.missionReleaseUnit(unitID);
}

void unit2gam::CheckVictoryConditions(uint16_t unitID)
{
    if (gCalls.checkVictoryConditions != nullptr)
        gCalls.checkVictoryConditions(unitID);
}

bool SideRecord::IsOwnUnit(const SideContacts& record, uint16_t unitID)
{
    return gCalls.isOwnUnit != nullptr && gCalls.isOwnUnit(record, unitID);
}

uint32_t SideRecord::GetClassification(const Contact& contact)
{
    return gCalls.getClassification != nullptr ? gCalls.getClassification(contact) : 0;
}
