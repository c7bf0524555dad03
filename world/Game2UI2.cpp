// Game2UI2.cpp: the player's side and the zone lists of the sides, read from
// the stand-in registry until the sides exist.
#include "world/Game2UI2.h"

#include <map>

namespace {

struct SideRegistry {
    uint16_t currentSide = 0;
    std::map<uint16_t, AreaPolygonList*> zones;   // side id -> list, not owned
};

SideRegistry& Registry()
{
    static SideRegistry registry;
    return registry;
}

} // namespace

namespace Game2UI2 {

uint16_t GetCurrentSideID()
{
    return Registry().currentSide;
}

AreaPolygonList* GetThreatZoneList(uint16_t sideID)
{
    const uint16_t side = sideID != 0 ? sideID : GetCurrentSideID();
    if (side == 0)
        return nullptr;   // no player side chosen: no such side
    const auto found = Registry().zones.find(side);
    return found != Registry().zones.end() ? found->second : nullptr;
}

void SetCurrentSideID(uint16_t sideID)
{
    Registry().currentSide = sideID;
}

void SetThreatZoneList(uint16_t sideID, AreaPolygonList* zones)
{
    if (sideID == 0)
        return;
    if (zones == nullptr)
        Registry().zones.erase(sideID);
    else
        Registry().zones[sideID] = zones;
}

void ClearThreatZoneLists()
{
    Registry().zones.clear();
    Registry().currentSide = 0;
}

} // namespace Game2UI2
