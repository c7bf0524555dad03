// SideUnitCalls.cpp: the installed calls of the sides and their neutral
// answers.
#include "missions/SideUnitCalls.h"

namespace {

SideUnitCalls installed;

}  // namespace

SideUnitCalls SetSideUnitCalls(const SideUnitCalls& calls)
{
    const SideUnitCalls previous = installed;
    installed = calls;
    return previous;
}

uint16_t gam2arena::GetScenarioFlags()
{
    return installed.getScenarioFlags ? installed.getScenarioFlags() : 0;
}

uint16_t gam2arena::GetScenarioMode()
{
    return installed.getScenarioMode ? installed.getScenarioMode() : 0;
}

void unit2gam::CancelAircraftLaunches(uint16_t unitID)
{
    if (installed.cancelAircraftLaunches)
        installed.cancelAircraftLaunches(unitID);
}
