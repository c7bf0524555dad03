// MapPoly.h: MapPoly, one coast, border or ice outline of a map tile: its
// geographic and projected points with their detail levels, its two bounding
// rectangles, drawing through the bridge's map pen, and the crossing queries
// the land and ice tests rest on. The tiles that own them are in MapTile.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/MapPolyPoint.h"
#include "core/XYRect.h"

class MapPoly {
public:
    // An empty outline: zero rectangles, no points.
    MapPoly() = default;
    ~MapPoly() = default;
    MapPoly(const MapPoly&) = delete;
    MapPoly& operator=(const MapPoly&) = delete;

    // Reads `count` points (u8 level, i32 latitude, i32 longitude each, 9 bytes)
    // into a fresh pair of arrays; what the outline held before is dropped.
    // A count of 0 leaves an outline without points. A negative count, or a
    // stream that runs out before the last point, is refused: the outline is
    // left empty (count 0) and the result is false.
    bool Load(std::istream& in, int16_t count);

    // Draws the outline in map colour `colour` through Nav2Game: the pen moves
    // to point 0 whatever its level, then a line runs to each later point whose
    // level is not below `level`; both levels compare as signed bytes, so
    // levels above 127 are never drawn (except as point 0).
    void Draw(uint8_t level, int16_t colour) const;

    // How often segment a-b crosses the outline (longitude as x, latitude as
    // y): a vertex the segment passes through counts once, one it only
    // touches counts twice, so the parity tells inside from outside. Whether
    // and where the segment meets each edge is decided in exact integer
    // arithmetic, so a segment passing a fraction of a unit beside a vertex
    // counts as what it is.
    int32_t CountCrossings(const LatLonPoint& a, const LatLonPoint& b) const;

    // The first point, in edge order, where segment a-b meets the outline;
    // the closing edge from the last point back to point 0 is not tried.
    // LatLonPoint::None() when there is none, or when the outline has no points.
    LatLonPoint FirstCrossing(const LatLonPoint& a, const LatLonPoint& b) const;

    // Replaces each point's coordinates by its projection (XY from the
    // geographic points, which are kept) and sets both bounding rectangles.
    // `project` maps a position to the map plane. With no points the
    // rectangles become the empty extremes (0x7FFFFFFF / -0x80000000).
    template <typename ProjectFn>
    void ProjectPoints(ProjectFn&& project);

    // Closed when the outline has points and its first and last are equal.
    bool IsClosed() const;

    const LatLonRect& GetLatLonRect() const { return latLonRect; }
    const XYRect& GetXYRect() const { return xyRect; }
    int16_t GetCount() const { return count; }
    // Geographic points; null when the outline has none.
    const LatLonPoint* GetPoints() const { return points.get(); }
    // Levels and coordinates (latitude/longitude as read, x/y once projected).
    const MapPolyPoint* GetMapPoints() const { return mapPoints.get(); }

private:
    LatLonRect latLonRect;                      // north, west, south, east of the points
    XYRect xyRect;                              // left, top, right, bottom once projected
    int16_t count = 0;                          // points, the closing repeat included
    std::unique_ptr<LatLonPoint[]> points;      // count entries or null
    std::unique_ptr<MapPolyPoint[]> mapPoints;  // count entries or null
};

template <typename ProjectFn>
void MapPoly::ProjectPoints(ProjectFn&& project)
{
    int32_t north = INT32_MIN, south = INT32_MAX, west = INT32_MAX, east = INT32_MIN;
    int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MIN, bottom = INT32_MAX;
    for (int16_t i = 0; i < count; ++i) {
        const LatLonPoint& p = points[i];
        const auto xy = project(p);
        mapPoints[i].first = xy.x;
        mapPoints[i].second = xy.y;
        if (p.lat > north) north = p.lat;
        if (p.lat < south) south = p.lat;
        if (p.lon < west) west = p.lon;
        if (p.lon > east) east = p.lon;
        if (xy.x < left) left = xy.x;
        if (xy.x > right) right = xy.x;
        if (xy.y > top) top = xy.y;
        if (xy.y < bottom) bottom = xy.y;
    }
    latLonRect = LatLonRect(north, west, south, east);
    xyRect = XYRect(left, top, right, bottom);
}
