// UnitFromAnnex.cpp: the shared steps of a unit's build from its record.
#include "units/UnitFromAnnex.h"

#include "units/DatalinkRecord.h"
#include "units/SensorFactory.h"
#include "units/Unit.h"
#include "units/UnitComponents.h"

namespace UnitFromAnnex {

void TakeNames(Unit& unit, const NameString& firstName, const char* label)
{
    unit.SetName(firstName.Text());
    unit.SetClassName(label);
}

void BuildSensorsAndMounts(Unit& unit, const IDRecordList& sensorIDs, const IDRecordList& mountIDs)
{
    BuildSensorList(unit.sensors, sensorIDs, &unit);
    BuildMountList(unit.mounts, mountIDs, &unit);
}

void BuildCommLinks(Unit& unit, const IDList& commIDs)
{
    BuildCommList(unit.datalinks, commIDs);
    unit.RefreshLinkReach();
}

void BuildStores(Unit& unit, const IDList& fuelIDs, const IDList* magazineIDs)
{
    BuildFuelTanks(unit.fuelTanks, fuelIDs);
    if (magazineIDs != nullptr && unit.magazines.First() == nullptr)
        BuildMagazineList(unit.magazines, *magazineIDs);
    HookUpFuel(unit);
}

void CopyTriples(Unit& unit, const ShortTriple& first, const ShortTriple& second, const ShortTriple& third)
{
    CopyTriple(unit.aspectValues[0], first);
    CopyTriple(unit.aspectValues[1], second);
    CopyTriple(unit.aspectValues[2], third);
}

void ClearComponents(Unit& unit)
{
    // The rebuilt components take their keys from 1 again.
    unit.plants.DeleteAllAndRestartKeys();
    unit.sensors.DeleteAllAndRestartKeys();
    unit.mounts.DeleteAllAndRestartKeys();
    unit.datalinks.DeleteAllAndRestartKeys();
    unit.fuelTanks.DeleteAll();
}

}  // namespace UnitFromAnnex
