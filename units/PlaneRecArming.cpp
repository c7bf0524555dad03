// PlaneRecArming.cpp: arming an aircraft record with a loadout: the
// readiness event that completes it, told to the record's mission.
#include "units/PlaneRec.h"

#include "units/PlaneRecBridge.h"
#include "units/UnitEvents.h"

void PlaneRec::SetReadyState(uint16_t newLoadout, bool notify, uint16_t readyValue)
{
    if (newLoadout == loadoutID && (readyTime != 0 || HasFlags(READY_FLAGS)))
        return;
    loadoutID = newLoadout;
    if (notify)
        gam2side::TellLoadoutChanged(missionID, unitID, GetKey(), loadoutID);
    PostOrDrop(MakeUnitReadyEvent(GetKey(), loadoutID, unitID, readyValue));
}
