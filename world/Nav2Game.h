// Nav2Game.h: the bridge through which the map, projections, zones, weather
// and navigation draw on the main map window and query the scenario map, and
// through which the game model hands route requests to the Navigator.
// The drawing calls (MapMoveTo, MapLineTo, MapPlot, GetMapScale) are declared
// with the pen in core/MapPen.h, so that projections can draw. The map queries go to gMap (world/Map.h),
// the route calls to gNavigator (world/Navigator.h); answered routes come back
// through Game2Nav.h.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/MapPen.h"
#include "core/XYPoint.h"

class Nav_Path;

namespace Nav2Game {

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
// Whether the point suits a unit of the navigation type: never outside the
// map; type 1 anywhere on it; types 2, 3, 6 and 7 off land and ice; types 4
// and 5 off land. Another type shows the error box "Unknown Unit Type in
// PointValid\n" and counts the point as valid.
bool PointValidForType(int16_t type, const LatLonPoint& point);

// The default threat-zone mask of a unit of a type letter: 'A', 'P'
// 0xFFF0000F; 'G', 'S' 0xF0000FFF; 'U', 'g' 0xF00FF00F; 'B', 'F', 'L', 'W'
// 0. The base unit's blank and any other letter show an error box and give
// 0.
uint32_t GetDefaultThreats(char typeLetter);

// Hands a route request (points start then goal; unitID, sideID, navType and
// threatMask set) to the Navigator. True: answered at once (numPoints -1 or
// 2), and the caller hands the path to Game2Nav::ReturnPath. False: queued,
// and the path now belongs to the Navigator. Without a Navigator the fatal
// error "Nav2Game::RequestPath : gNavigator is NULL" is reported and the
// request is answered at once as refused (numPoints -1), so that the caller
// still hands it back. A null path answers true.
bool RequestPath(Nav_Path* path);
// True when every leg of the route in path's points is usable for its
// navigation type and side, avoiding the zone types of threatMask; changes
// nothing, and the path stays the caller's. False without a Navigator (fatal
// error "Nav2Game::CheckPath : gNavigator is NULL") or without a path.
bool CheckPath(const Nav_Path* path, uint32_t threatMask);
// Drops every queued route request of the unit; nothing without a Navigator.
void CancelPathRequests(uint16_t unitID);

} // namespace Nav2Game

