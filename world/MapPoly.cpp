// MapPoly.cpp: reading, drawing and the crossing queries of one outline.
#include "world/MapPoly.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <new>

#include "core/Geometry.h"
#include "core/Units.h"
#include "world/Nav2Game.h"
#include "world/OutlineGrid.h"

namespace {

// Farthest a stored longitude may lie from Greenwich: outlines near the
// 180-degree meridian may run a little past it, a full turn each way is ample.
constexpr int32_t OUTLINE_LON_LIMIT = ANGLE_FULL;

bool LiesOnGlobe(const MapPolyPoint& p)
{
    return p.first >= -ANGLE_RIGHT && p.first <= ANGLE_RIGHT &&
           p.second >= -OUTLINE_LON_LIMIT && p.second <= OUTLINE_LON_LIMIT;
}

// Exact arithmetic for the crossing count: coordinates are 32-bit, so the
// products of their differences need more than 64 bits.
using Wide = __int128;

// Which side of the infinite line from a to b point p lies on: 1 left, -1
// right, 0 on the line (always 0 when a equals b). Exact.
int SideOf(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p)
{
    const Wide cross = Wide{int64_t{b.lon} - a.lon} * (int64_t{p.lat} - a.lat) -
                       Wide{int64_t{b.lat} - a.lat} * (int64_t{p.lon} - a.lon);
    return (cross > 0) - (cross < 0);
}

// True when point p lies on the infinite line through a and b.
bool OnLine(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p)
{
    return SideOf(a, b, p) == 0;
}

// True when the infinite line through a and b meets segment p-q.
bool LineMeets(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p,
               const LatLonPoint& q)
{
    return SideOf(a, b, p) * SideOf(a, b, q) <= 0;
}

bool InBox(const LatLonPoint& p, const LatLonPoint& q, const LatLonPoint& r)
{
    return std::min(p.lat, q.lat) <= r.lat && r.lat <= std::max(p.lat, q.lat) &&
           std::min(p.lon, q.lon) <= r.lon && r.lon <= std::max(p.lon, q.lon);
}

// Where segment a-b meets edge p-q, for the crossing count: the vertex p or q
// when the meeting lies exactly there, None when they do not meet, and
// INSIDE_EDGE for a meeting anywhere else. Decided exactly, so that a segment
// passing a hair beside a vertex is never taken for one through it (rounding
// a computed crossing point onto the vertex would count a corner cut as a
// touch, and turn the parity). An edge lying along the segment meets it
// where the plain intersection does: at a when a lies on the edge, else at
// the end of the edge first reached from a.
const LatLonPoint INSIDE_EDGE(ANGLE_FULL * 2, ANGLE_FULL * 2);   // never a vertex

LatLonPoint Meeting(const LatLonPoint& a, const LatLonPoint& b, const LatLonPoint& p,
                    const LatLonPoint& q)
{
    const int sideP = SideOf(a, b, p);
    const int sideQ = SideOf(a, b, q);
    if (a == b || (sideP == 0 && sideQ == 0)) {
        if (a == b && (SideOf(p, q, a) != 0 || !InBox(p, q, a)))
            return LatLonPoint::None();   // a point off the edge
        if (!InBox(a, b, p) && !InBox(a, b, q) && !InBox(p, q, a))
            return LatLonPoint::None();   // along the same line, apart
        if (InBox(p, q, a))
            return a == p ? p : a == q ? q : INSIDE_EDGE;
        // Along the line from a, the nearer end of the edge.
        const bool alongLat = a.lon == b.lon;
        const auto order = [alongLat](const LatLonPoint& r) { return alongLat ? r.lat : r.lon; };
        const bool forwards = order(a) <= order(b);
        const bool pFirst = forwards ? order(p) <= order(q) : order(p) >= order(q);
        return pFirst ? p : q;
    }
    if (sideP * sideQ > 0 || SideOf(p, q, a) * SideOf(p, q, b) > 0)
        return LatLonPoint::None();
    if (sideP == 0)
        return p;
    if (sideQ == 0)
        return q;
    return INSIDE_EDGE;
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
    const bool shortcuts = OutlineShortcutsOn();

    for (int32_t i = 1; i < m; ++i) {
        const LatLonPoint& p = pt[i - 1];
        const LatLonPoint& q = pt[i];
        if (shortcuts && SegmentBoxesMiss(a, b, p, q))
            continue;   // Meeting would find none
        const LatLonPoint x = Meeting(a, b, p, q);
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
        const LatLonPoint x = Meeting(a, b, pt[0], pt[1]);
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
    const bool shortcuts = OutlineShortcutsOn();
    for (int16_t i = 1; i < count; ++i) {
        if (shortcuts && SegmentBoxesMiss(a, b, points[i - 1], points[i]))
            continue;
        const LatLonPoint x = Geometry::Segment_Intersection(a, b, points[i - 1], points[i]);
        if (!x.IsNone())
            return x;
    }
    return LatLonPoint::None();
}
