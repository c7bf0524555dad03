// LaunchEntry.cpp: a launch entry made from an aircraft record.
#include "units/LaunchEntry.h"

#include "units/PlaneRec.h"

LaunchEntry::LaunchEntry(uint16_t key, const PlaneRec& record)
    : TreeListNode<LaunchEntry>(key),
      unitId(record.unitID),
      planeRecId(record.GetKey()),
      aircraftWanted(record.count),
      readyState(record.loadoutID)
{
}
