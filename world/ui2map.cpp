// ui2map.cpp: the map windows' access to the scenario map.
#include "world/ui2map.h"

#include "core/ErrorReport.h"
#include "world/Environment.h"
#include "world/Map.h"

namespace ui2map {

bool HasMapBounds()
{
    return gMap != nullptr && gMap->Get_XYRect() != XYRect();
}

XYRect& GetMapBounds(XYRect& bounds)
{
    bounds = gMap != nullptr ? gMap->Get_XYRect() : XYRect();
    return bounds;
}

void Draw_Map_In_Window(XYRect view, uint32_t flags, uint8_t gridSpacing)
{
    if (gMap == nullptr) {
        FatalError("ui2map :: Draw_Map_In_Window : gMap == NULL");
        return;
    }
    if (gEnvironment == nullptr) {
        FatalError("ui2map :: Draw_Map_In_Window : gEnvironment == NULL");
        return;
    }
    gMap->Draw_Grid_in_Window(view, gridSpacing);
    gMap->Draw_Map_in_Window(view, static_cast<int32_t>(flags));
    // The weather marks last, so that they lie over the map.
    gEnvironment->Draw(view, flags);
}

} // namespace ui2map
