// Nav2Game.h: the bridge through which the map, projections, zones, weather
// and navigation draw on the main map window and query the scenario map.
// Drawing goes to the current MapPen (bridge/MapPen.h): with no pen installed
// nothing is drawn and the scale is 0. The map queries go to gMap (world/Map.h).
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/XYPoint.h"

namespace Nav2Game {

// Makes the point the pen position of the main map window; draws nothing.
void MapMoveTo(const XYPoint& point);
// Draws a line in map colour `colour` from the pen position to the point,
// which becomes the pen position. Colour 3 is the grid colour.
void MapLineTo(const XYPoint& point, int16_t colour);
// Marks the point with a small plus sign in map colour `colour`.
void MapPlot(const XYPoint& point, int16_t colour);
// Map units per pixel of the main map window; 0 without a map window.
int32_t GetMapScale();

// The point in the map plane through gMap's projection (Map::LatLon_to_XY);
// (0, 0) without gMap or before a map is loaded.
XYPoint LatLonToXY(const LatLonPoint& point);
// The position of a map-plane point through gMap's projection; (0, 0) as above.
LatLonPoint XYToLatLon(const XYPoint& point);
// True when the point lies inside the scenario's lat/lon rectangle, edges
// included; a rectangle across the 180-degree meridian (east edge negative,
// west edge positive) is handled. False without gMap.
bool IsInMap(const LatLonPoint& point);
// Copies the scenario's lat/lon rectangle (north, west, south, east) into
// `bounds` and returns it; all zero without gMap.
LatLonRect& GetMapBounds(LatLonRect& bounds);
// The map's land, ice and altitude tests (Map::Is_Land, Is_Ice, Get_Altitude);
// false or 0 without gMap.
bool IsLandAt(const LatLonPoint& point);
bool IsIce(const LatLonPoint& point);
int16_t GetAltitudeAt(const LatLonPoint& point);

} // namespace Nav2Game

// Draws the zone marker at the point on the main map window.
void DrawZoneMarker(const XYPoint& point);
