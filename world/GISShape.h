// GISShape.h: the drawing objects of the shapefile overlays: GISShape, a
// LatLon_Poly with the colour its shapefile record gave, and the three kinds
// made from shapes: GISLine (one segment of a line), GISPoint (a small circle
// round a point) and GISPolygon. Reading shapefiles lives in GISManager.h.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "core/XYRect.h"
#include "world/LatLonPoly.h"

class GISShape : public LatLon_Poly {
public:
    // The colour argument of Draw that asks for the shape's own colour.
    static constexpr int16_t OWN_COLOUR = -1;

    ~GISShape() override = default;

    // Draws the outline when it meets `view`: in the shape's own colour when
    // colour is OWN_COLOUR, else in `colour`. The map colour indices are
    // 16-bit, so an own colour beyond that range wraps to its low 16 bits.
    void Draw(const XYRect& view, int16_t colour) override;

    // The map colour index the shapefile gave (GIS_COLOR, or 1 by default).
    int32_t GetColour() const { return colour_; }

protected:
    GISShape(const LatLonPoint* points, int16_t n, int32_t colour);
    GISShape(const LatLonPoint& centre, int32_t radius, int32_t colour);

private:
    int32_t colour_;
};

// One segment of a line shape: the ring a-b-a over its two ends.
class GISLine : public GISShape {
public:
    // ends: two points.
    GISLine(const LatLonPoint* ends, int32_t colour) : GISShape(ends, 2, colour) {}
};

// A point shape drawn as a circle of 72 edges round it.
class GISPoint : public GISShape {
public:
    // Radius of the circle: 20000 range units, about 4.9 nautical miles.
    static constexpr int32_t RADIUS = 20000;

    GISPoint(const LatLonPoint& centre, int32_t colour) : GISShape(centre, RADIUS, colour) {}
};

// A polygon shape over all its vertices, closed as LatLon_Poly closes rings.
// A list the 16-bit count cannot hold leaves the polygon empty (no points).
class GISPolygon : public GISShape {
public:
    GISPolygon(const LatLonPoint* points, int16_t n, int32_t colour) : GISShape(points, n, colour) {}
};
