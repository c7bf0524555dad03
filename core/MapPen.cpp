// MapPen.cpp: the current map pen and the drawing calls that forward to it.
#include "core/MapPen.h"

namespace {
MapPen* gMapPen = nullptr;
}

MapPen* GetMapPen()
{
    return gMapPen;
}

MapPen* SetMapPen(MapPen* pen)
{
    MapPen* previous = gMapPen;
    gMapPen = pen;
    return previous;
}

namespace Nav2Game {

void MapMoveTo(const XYPoint& point)
{
    if (MapPen* pen = GetMapPen()) {
        pen->MoveTo(point);
    }
}

void MapLineTo(const XYPoint& point, int16_t colour)
{
    if (MapPen* pen = GetMapPen()) {
        pen->LineTo(point, colour);
    }
}

void MapPlot(const XYPoint& point, int16_t colour)
{
    if (MapPen* pen = GetMapPen()) {
        pen->Plot(point, colour);
    }
}

int32_t GetMapScale()
{
    const MapPen* pen = GetMapPen();
    return pen != nullptr ? pen->GetScale() : 0;
}

} // namespace Nav2Game

void DrawZoneMarker(const XYPoint& point)
{
    if (MapPen* pen = GetMapPen()) {
        pen->DrawZoneMarker(point);
    }
}
