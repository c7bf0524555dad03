// UnitCreation.cpp: the installed calls of unit creation.
#include "units/UnitCreation.h"

#include "units/Unit.h"

namespace {

UnitCreationCalls gCalls;

}  // namespace

UnitCreationCalls SetUnitCreationCalls(const UnitCreationCalls& calls)
{
    const UnitCreationCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace UnitCreation {

void OpenSideRecord(Unit& unit)
{
    if (gCalls.openSideRecord == nullptr)
        return;
    unit.sideEntryID = gCalls.openSideRecord(unit);
}

}  // namespace UnitCreation

namespace gam2side {

void AddUnit(uint16_t sideID, uint16_t unitID)
{
    if (gCalls.addUnit != nullptr)
        gCalls.addUnit(sideID, unitID);
}

void ProcessUnitMission(uint16_t sideID, uint16_t unitID, int32_t kind)
{
    if (gCalls.processUnitMission != nullptr)
        gCalls.processUnitMission(sideID, unitID, kind);
}

}  // namespace gam2side
