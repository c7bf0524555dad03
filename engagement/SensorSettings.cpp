// SensorSettings.cpp: the settings the sensor tests read, and the current
// side's knowledge of a unit.
#include "engagement/SensorSettings.h"

#include "core/gam2arena.h"
#include "engagement/SideContacts.h"

namespace {

SensorSettings gSettings;

}  // namespace

const SensorSettings& GetSensorSettings()
{
    return gSettings;
}

SensorSettings SetSensorSettings(const SensorSettings& settings)
{
    const SensorSettings previous = gSettings;
    gSettings = settings;
    return previous;
}

bool gam2side::IsKnownToCurrentSide(uint16_t unitID)
{
    const SideContacts* const side = gam2arena::GetCurrentSide();
    if (side == nullptr)
        return true;
    return side->ownUnits.Find(unitID) != nullptr || side->GetContact(unitID) != nullptr;
}
