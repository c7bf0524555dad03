// GroupIdentity.cpp: the formation a unit counts as part of.
#include "units/GroupIdentity.h"

#include "core/gam2arena.h"
#include "units/Unit.h"

namespace gam2grp {
uint16_t GetGroupID(uint16_t unitID)
{
    const Unit* const unit = unitID != 0 ? gam2arena::FindUnit(unitID) : nullptr;
    if (!unit)
        return 0;
    return unit->IsGroup() ? unitID : unit->GetParentID();
}
}  // namespace gam2grp
