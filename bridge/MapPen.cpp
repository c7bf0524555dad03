// MapPen.cpp: the current map pen.
#include "bridge/MapPen.h"

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
