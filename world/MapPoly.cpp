// MapPoly.cpp: reading, drawing and the crossing queries of one outline.
#include "world/MapPoly.h"

#include <istream>
#include <new>

#include "core/Geometry.h"
#include "core/Units.h"
#include "world/Nav2Game.h"

namespace {

// Farthest a stored longitude may lie from Greenwich: outlines near the
// 180-degree meridian may run a little past it, a full turn each way is ample.
constexpr int32_t OUTLINE_LON_LIMIT = ANGLE_FULL;

bool LiesOnGlobe(const MapPolyPoint& p)
{
    return p.first >= -ANGLE_RIGHT && p.first <= ANGLE_RIGHT &&
           p.second >= -OUTLINE_LON_LIMIT && p.second <= OUTLINE_LON_LIMIT;
}

// True when point p lies on the infinite line through a and b.
bool OnLine(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p)
{
    return !Geometry::Line_Segment_Intersection(a, b, p, p).IsNone();
}

// True when the infinite line through a and b meets segment p-q.
bool LineMeets(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p,
               const LatLonPoint& q)
{
    return !Geometry::Line_Segment_Intersection(a, b, p, q).IsNone();
}

}  // namespace

bool MapPoly::Load(std::istream& in, int16_t pointCount)
{
    points.reset();
    mapPoints.reset();
    count = 0;
    if (pointCount < 0)
        return false;
    if (pointCount == 0)
        return true;

    std::unique_ptr<LatLonPoint[]> readPoints(new (std::nothrow) LatLonPoint[pointCount]);
    std::unique_ptr<MapPolyPoint[]> readMapPoints(new (std::nothrow) MapPolyPoint[pointCount]);
    if (!readPoints || !readMapPoints)
        return false;
    for (int16_t i = 0; i < pointCount; ++i) {
        if (!readMapPoints[i].Load(in) || !LiesOnGlobe(readMapPoints[i]))
            return false;
        readPoints[i] = LatLonPoint(readMapPoints[i].first, readMapPoints[i].second);
    }
    points = std::move(readPoints);
    mapPoints = std::move(readMapPoints);
    count = pointCount;
    return true;
}

bool MapPoly::IsClosed() const
{
    return count > 0 && points[0] == points[count - 1];
}

void MapPoly::Draw(uint8_t level, int16_t colour) const
{
    if (!mapPoints || count <= 0)
        return;
    const int8_t wanted = static_cast<int8_t>(level);
    Nav2Game::MapMoveTo(XYPoint(mapPoints[0].first, mapPoints[0].second));
    for (int16_t i = 1; i < count; ++i) {
        if (static_cast<int8_t>(mapPoints[i].level) >= wanted)
            Nav2Game::MapLineTo(XYPoint(mapPoints[i].first, mapPoints[i].second), colour);
    }
}

// Walks the edges P-Q in order. A crossing inside an edge counts once. A
// crossing at an edge's start P looks at the edges on either side of P: when
// the outline carries on across the line it counts once, when it turns back
// it counts twice. A crossing at an edge's end Q is held as pending, and the
// next edge, which starts at Q, decides. Where an edge lies along the line
// itself, one count is taken back unless the outline leaves the run on the
// other side of the line.
int32_t MapPoly::CountCrossings(const LatLonPoint& a, const LatLonPoint& b) const
{
    if (!points || count < 2)
        return 0;
    const int32_t m = count;
    const bool closed = IsClosed();
    const LatLonPoint* pt = points.get();

    uint32_t crossings = 0;   // wraps; only its low bits and parity are read
    bool pendingSet = false;
    LatLonPoint pending;
    bool collinear = false;

    for (int32_t i = 1; i < m; ++i) {
        const LatLonPoint& p = pt[i - 1];
        const LatLonPoint& q = pt[i];
        const LatLonPoint x = Geometry::Segment_Intersection(a, b, p, q);
        if (x.IsNone())
            continue;
        if (pendingSet && x != pending)
            ++crossings;
        pendingSet = false;

        if (x == p) {
            if (OnLine(a, b, q))
                collinear = true;
            const LatLonPoint* r = nullptr;
            if (i >= 2)
                r = &pt[i - 2];
            else if (closed)
                r = &pt[m - 2];
            if (r == nullptr)
                ++crossings;                  // an open outline starts here
            else if (LineMeets(a, b, *r, q))
                ++crossings;                  // passes through the vertex
            else
                crossings += 2;               // only touches it
        } else if (x == q) {
            if (OnLine(a, b, p))
                collinear = true;
            if (i == m - 1 && !closed)
                ++crossings;                  // an open outline ends here
            pending = x;
            pendingSet = true;
        } else {
            ++crossings;
        }

        if (collinear) {
            const LatLonPoint* next = nullptr;
            if (i + 1 < m)
                next = &pt[i + 1];
            else if (closed)
                next = &pt[1];
            const LatLonPoint* before = nullptr;
            if (i >= 2) {
                before = &pt[i - 2];
            } else if (closed) {
                const int32_t k = (m - 1) - (2 - i);
                before = &pt[k < 0 ? m - 1 : k];
            }
            if (next == nullptr || before == nullptr || LineMeets(a, b, *next, *before))
                --crossings;
            collinear = false;
        }
    }

    if (pendingSet && closed) {
        const LatLonPoint x = Geometry::Segment_Intersection(a, b, pt[0], pt[1]);
        if (!x.IsNone() && x != pending)
            ++crossings;
    }
    return static_cast<int32_t>(crossings);
}

LatLonPoint MapPoly::FirstCrossing(const LatLonPoint& a, const LatLonPoint& b) const
{
    if (!points || count <= 0)
        return LatLonPoint::None();
    if (count == 1)
        return Geometry::Segment_Intersection(a, b, points[0], points[0]);
    for (int16_t i = 1; i < count; ++i) {
        const LatLonPoint x = Geometry::Segment_Intersection(a, b, points[i - 1], points[i]);
        if (!x.IsNone())
            return x;
    }
    return LatLonPoint::None();
}
