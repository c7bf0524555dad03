// MapDrawing.cpp: the Map's drawing into the main map window: the lat/lon
// grid lines, the altitude, depth and ice-pack shading of the grid and the
// coast, border and ice-edge outlines of the tiles, all through the bridge's
// map pen (Nav2Game), so that later items paint over earlier ones.
#include "world/Map.h"

#include "core/ErrorReport.h"
#include "core/Projection.h"
#include "core/Units.h"
#include "world/AltDepthGrid.h"
#include "world/MapTile.h"
#include "world/Nav2Game.h"

uint8_t Map::DetailLevelForScale(int32_t scale)
{
    if (scale < 7000)
        return 1;
    if (scale < 10000)
        return 2;
    if (scale < 14000)
        return 3;
    if (scale < 22000)
        return 4;
    return 5;
}

void Map::Draw_Map_in_Window(XYRect view, int32_t flags) const
{
    if (!sMapValid) {
        FatalError("Map::Draw_Map_in_Window : sMapValid == false");
        return;
    }
    if (!altdepthgrid) {
        FatalError("Map::Draw_Map_in_Window : altdepthgrid == NULL");
        return;
    }
    if (!projection)
        return;   // a loaded map always has one

    if ((flags & (MAP_DRAW_ALTITUDES | MAP_DRAW_DEPTHS | MAP_DRAW_ICE_PACK)) != 0) {
        const LatLonRect area = projection->XYRect_to_LatLonRect(view, latLonBoundary);
        if ((flags & MAP_DRAW_ALTITUDES) != 0)
            altdepthgrid->Draw_Altitudes(area);
        if ((flags & MAP_DRAW_DEPTHS) != 0)
            altdepthgrid->Draw_Depths(area);
        if ((flags & MAP_DRAW_ICE_PACK) != 0)
            altdepthgrid->Draw_Ice(area);
    }

    // A scenario of open sea has no tiles: it loads, and has no outlines to draw.
    if (!tilelist)
        return;
    const uint8_t level = DetailLevelForScale(Nav2Game::GetMapScale());
    for (uint16_t i = 0; i < tileCount; ++i)
        tilelist[i].Draw(level, flags, view);
}

void Map::Draw_Grid_in_Window(XYRect view, uint8_t spacing) const
{
    if (spacing == 0 || !projection)
        return;
    Draw_Grid_Lines(spacing, projection->XYRect_to_LatLonRect(view, latLonBoundary));
}

void Map::Draw_Grid_Lines(uint8_t spacing, LatLonRect area) const
{
    if (spacing == 0 || !projection)
        return;
    const int32_t s = spacing;
    // Whole degrees, truncated toward zero: an area from 7.5 degrees west
    // starts its meridians at 5 degrees west, not 10.
    const int32_t north = area.north / ANGLE_PER_DEGREE;
    const int32_t south = area.south / ANGLE_PER_DEGREE;
    const int32_t west = area.west / ANGLE_PER_DEGREE;
    const int32_t east = area.east / ANGLE_PER_DEGREE;

    for (int32_t lon = west / s * s; lon <= east / s * s; lon += s) {
        const int32_t x = lon * ANGLE_PER_DEGREE;
        projection->Draw_Meridian(LatLonPoint(area.north, x), LatLonPoint(area.south, x));
    }
    for (int32_t lat = north / s * s; lat >= south / s * s; lat -= s) {
        const int32_t y = lat * ANGLE_PER_DEGREE;
        projection->Draw_Parallel(LatLonPoint(y, west * ANGLE_PER_DEGREE),
                                  LatLonPoint(y, east * ANGLE_PER_DEGREE));
    }
}
