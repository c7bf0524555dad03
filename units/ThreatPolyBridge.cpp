// ThreatPolyBridge.cpp: the zone change of Game2UI::SetThreatPoly on a
// side's registered zone list.
#include "units/ThreatPolyBridge.h"

#include "core/ErrorReport.h"
#include "units/PositionNode.h"
#include "world/AreaPolygonList.h"
#include "world/Game2UI2.h"

namespace Game2UI {

int16_t SetThreatPoly(uint16_t id, PositionNode* chain, uint32_t type, uint16_t sideID)
{
    AreaPolygonList* const zones = Game2UI2::GetThreatZoneList(sideID);
    if (zones == nullptr)
        return 0;
    const auto zoneID = static_cast<int16_t>(id);
    if (zoneID != 0)
        return chain != nullptr ? zones->Replace(zoneID, type, chain) : zones->SetType(zoneID, type);
    if (type == 0) {
        PostToMessageLog("Game2UI::SetThreatPoly : id == 0, aType == 0.  Not legal");
        return 0;
    }
    return zones->Add(type, chain);
}

}  // namespace Game2UI
