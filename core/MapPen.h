// MapPen.h: MapPen, the drawing surface behind the bridge's map pen, line and
// plot operations (Nav2Game::MapMoveTo, MapLineTo, MapPlot, GetMapScale,
// DrawZoneMarker). The main map window installs itself as the current pen;
// tests install a recording pen. With no pen installed nothing is drawn.
#pragma once

#include <cstdint>

#include "core/XYPoint.h"

class MapPen {
public:
    virtual ~MapPen() = default;

    // Makes the point (map plane) the pen position; draws nothing.
    virtual void MoveTo(const XYPoint& point) = 0;
    // Draws a line in map colour `colour` from the pen position to the point,
    // which becomes the new pen position.
    virtual void LineTo(const XYPoint& point, int16_t colour) = 0;
    // Marks the point with the small plus sign sized by the scale, in `colour`.
    virtual void Plot(const XYPoint& point, int16_t colour) = 0;
    // Map units per pixel of the window drawn on.
    virtual int32_t GetScale() const = 0;
    // Draws the zone marker (point-of-interest figure 5, value 24) at the point.
    virtual void DrawZoneMarker(const XYPoint& point) = 0;
};

// The pen the bridge's drawing operations go to; null when none is installed.
MapPen* GetMapPen();

// Installs `pen` (null removes it) and returns the pen it replaces, so that a
// caller can put it back. The pen is not owned.
MapPen* SetMapPen(MapPen* pen);

// Installs a pen for the life of the object and puts the previous one back.
class ScopedMapPen {
public:
    explicit ScopedMapPen(MapPen* pen) : previous_(SetMapPen(pen)) {}
    ~ScopedMapPen() { SetMapPen(previous_); }
    ScopedMapPen(const ScopedMapPen&) = delete;
    ScopedMapPen& operator=(const ScopedMapPen&) = delete;

private:
    MapPen* previous_;
};

// The main map window's drawing calls, forwarded to the current pen; with no
// pen installed nothing is drawn and the scale is 0.
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

} // namespace Nav2Game

// Draws the zone marker at the point on the main map window.
void DrawZoneMarker(const XYPoint& point);
