// Nav2Game.cpp: the bridge's queries of the scenario map gMap and the route
// calls forwarded to gNavigator. The drawing calls live with the pen
// (core/MapPen.cpp).
#include "world/Nav2Game.h"

#include "core/ErrorReport.h"
#include "world/Map.h"
#include "world/NavPath.h"
#include "world/Navigator.h"

namespace Nav2Game {

XYPoint LatLonToXY(const LatLonPoint& point)
{
    return gMap != nullptr ? gMap->LatLon_to_XY(point) : XYPoint(0, 0);
}

LatLonPoint XYToLatLon(const XYPoint& point)
{
    return gMap != nullptr ? gMap->XY_to_LatLon(point) : LatLonPoint(0, 0);
}

bool IsInMap(const LatLonPoint& point)
{
    return gMap != nullptr && gMap->Is_On_Map(point);
}

LatLonRect& GetMapBounds(LatLonRect& bounds)
{
    bounds = gMap != nullptr ? gMap->Get_LatLonRect() : LatLonRect();
    return bounds;
}

bool IsLandAt(const LatLonPoint& point)
{
    return gMap != nullptr && gMap->Is_Land(point);
}

bool IsIce(const LatLonPoint& point)
{
    return gMap != nullptr && gMap->Is_Ice(point);
}

int16_t GetAltitudeAt(const LatLonPoint& point)
{
    return gMap != nullptr ? gMap->Get_Altitude(point) : int16_t{0};
}

bool PointValidForType(int16_t type, const LatLonPoint& point)
{
    if (!IsInMap(point))
        return false;
    switch (type) {
    case 1:
        return true;
    case 2:
    case 3:
    case 6:
    case 7:
        return !IsLandAt(point) && !IsIce(point);
    case 4:
    case 5:
        return !IsLandAt(point);
    default:
        ErrorBox("Unknown Unit Type in PointValid\n");
        return true;
    }
}

uint32_t GetDefaultThreats(char typeLetter)
{
    switch (typeLetter) {
    case 'A':
    case 'P':
        return 0xFFF0000F;
    case 'G':
    case 'S':
        return 0xF0000FFF;
    case 'U':
    case 'g':
        return 0xF00FF00F;
    case 'B':
    case 'F':
    case 'L':
    case 'W':
        return 0;
    case ' ':
        ErrorBox("Nav2Game::GetDefaultThreats: UNIT_NONE is not allowed");
        return 0;
    default:
        ErrorBox("Nav2Game::GetDefaultThreats: unknown Unit type");
        return 0;
    }
}

bool RequestPath(Nav_Path* path)
{
    if (gNavigator == nullptr) {
        FatalError("Nav2Game::RequestPath : gNavigator is NULL");
        if (path != nullptr)
            path->numPoints = Nav_Path::ILLEGAL_REQUEST;   // handed back, not lost
        return true;
    }
    return gNavigator->RequestPath(path);
}

bool CheckPath(const Nav_Path* path, uint32_t threatMask)
{
    if (gNavigator == nullptr) {
        FatalError("Nav2Game::CheckPath : gNavigator is NULL");
        return false;
    }
    return path != nullptr && gNavigator->ValidatePath(path, threatMask);
}

void CancelPathRequests(uint16_t unitID)
{
    if (gNavigator != nullptr)
        gNavigator->CancelRequests(unitID);
}

} // namespace Nav2Game
