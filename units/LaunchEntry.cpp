// LaunchEntry.cpp: a launch entry made from an aircraft record.
#include "units/LaunchEntry.h"

#include "core/gam2arena.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"

LaunchEntry::LaunchEntry(uint16_t key, const PlaneRec& record)
    : TreeListNode<LaunchEntry>(key),
      unitId(record.unitID),
      planeRecId(record.GetKey()),
      aircraftWanted(record.count),
      readyState(record.loadoutID)
{
}

PlaneRec* LaunchEntry::FindRecord(PlaneRecList** list) const
{
    Unit* const unit = gam2arena::FindUnit(unitId);
    PlaneRecList* const records = unit != nullptr ? unit->GetPlaneRecList() : nullptr;
    if (list != nullptr)
        *list = records;
    return records != nullptr ? records->Find(planeRecId) : nullptr;
}
