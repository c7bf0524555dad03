// LaunchWindowCalls.cpp: the installed window calls and their defaults.
#include "engagement/LaunchWindowCalls.h"

uint16_t gSectorLaunchGroup = 0;
uint8_t gSectorLaunchKind = 4;
uint16_t gLaunchWindowUnit = 0;
int16_t gLaunchWindowFlag = 0;

namespace {
LaunchWindowCalls gCalls;
}  // namespace

LaunchWindowCalls SetLaunchWindowCalls(const LaunchWindowCalls& calls)
{
    const LaunchWindowCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace ui2game {

bool GetFormationPick(uint16_t windowID, SectorPick& out)
{
    return gCalls.getFormationPick != nullptr && gCalls.getFormationPick(windowID, out);
}

uint16_t GetFormationUnit(uint16_t windowID)
{
    return gCalls.getFormationUnit != nullptr ? gCalls.getFormationUnit(windowID) : 0;
}

void OpenAirOperations(LaunchList* list, uint16_t mode)
{
    if (gCalls.openAirOperations != nullptr)
        gCalls.openAirOperations(list, mode);
    else
        delete list;
}

}  // namespace ui2game
