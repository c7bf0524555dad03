// ui2map.h: the bridge through which the map windows reach the scenario map:
// whether there is a map area, its bounds in the map plane, and drawing the
// map and its weather marks into a window. The lat/lon bounds are
// Nav2Game::GetMapBounds.
#pragma once

#include <cstdint>

#include "core/XYRect.h"

namespace ui2map {

// True when gMap exists and its xy area is not all zero (an all-zero area
// means that no map is loaded, or its load failed).
bool HasMapBounds();

// Copies gMap's xy area (map plane) into `bounds` and returns it; all zero
// without gMap.
XYRect& GetMapBounds(XYRect& bounds);

// Draws the map into the window showing `view` (map plane): the lat/lon grid
// every `gridSpacing` whole degrees (0: none), then the shading and outlines
// chosen by the flag word, then the weather marks the flag word chooses
// (gEnvironment), each with its own copy of the view. Without gMap: fatal
// error "ui2map :: Draw_Map_In_Window : gMap == NULL"; without gEnvironment:
// "ui2map :: Draw_Map_In_Window : gEnvironment == NULL"; nothing is drawn then.
void Draw_Map_In_Window(XYRect view, uint32_t flags, uint8_t gridSpacing);

} // namespace ui2map
