// AttackPlanCalls.cpp: the installed calls of the attack planning.
#include "missions/AttackPlanCalls.h"

namespace {

AttackPlanCalls& Installed()
{
    static AttackPlanCalls calls;
    return calls;
}

}  // namespace

AttackPlanCalls SetAttackPlanCalls(const AttackPlanCalls& calls)
{
    const AttackPlanCalls previous = Installed();
    Installed() = calls;
    return previous;
}

Event* MakePlannedAttackEvent(Chain<TimedRecord>& options, const Chain<ListLink>& rows)
{
    if (Installed().makePlannedAttackEvent == nullptr)
        return nullptr;
    return Installed().makePlannedAttackEvent(options, rows);
}

namespace gam2side {

void NotifyParentUnit(uint16_t unitID, uint32_t value)
{
    if (Installed().notifyParentUnit != nullptr)
        Installed().notifyParentUnit(unitID, value);
}

}  // namespace gam2side
