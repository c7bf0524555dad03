// Geometry.cpp: rectangle tests and the line and segment intersections.
#include "core/Geometry.h"

#include <cmath>

namespace Geometry {

namespace {

// Rounds to the nearest integer, halves away from zero; none when the value
// is not a number or would not fit a coordinate (NO_COORDINATE itself
// included, since that would read as no point).
bool RoundCoordinate(double v, int32_t& out)
{
    if (!(v > -2147483648.5 && v < 2147483646.5))   // also false for NaN
        return false;
    out = static_cast<int32_t>(v <= 0.0 ? v - 0.5 : v + 0.5);
    return true;
}

XYPoint RoundPoint(double x, double y)
{
    XYPoint p;
    if (!RoundCoordinate(x, p.x) || !RoundCoordinate(y, p.y))
        return XYPoint::None();
    return p;
}

// Where collinear lines a1-a2 and b1-b2 meet. alongY orders the points by y
// (vertical lines), else by x.
XYPoint CollinearMeeting(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                         const XYPoint& b2, bool alongY)
{
    const XYRect boundsB = XYRect_From_Points(b1, b2);
    if (!XYRect::Overlaps(XYRect_From_Points(a1, a2), boundsB))
        return XYPoint::None();
    if (Point_In_XYRect(boundsB, a1))
        return a1;
    const auto order = [alongY](const XYPoint& p) { return alongY ? p.y : p.x; };
    const bool b2First = order(b2) < order(b1);         // b2 has the smaller value
    if (order(a1) <= order(a2))
        return b2First ? b2 : b1;                       // running up: the smaller end
    return b2First ? b1 : b2;                           // running down: the larger end
}

XYPoint ToXY(const LatLonPoint& p)
{
    return {p.lon, p.lat};
}

LatLonPoint ToLatLon(const XYPoint& p)
{
    return p.IsNone() ? LatLonPoint::None() : LatLonPoint(p.y, p.x);
}

}  // namespace

bool XYRect_Inside(const XYRect& a, const XYRect& b)
{
    return a.left >= b.left && a.left <= b.right && a.right >= b.left && a.right <= b.right &&
           a.top >= b.bottom && a.top <= b.top && a.bottom >= b.bottom && a.bottom <= b.top;
}

bool LatLonRect_Overlaps(const LatLonRect& a, const LatLonRect& b)
{
    return a.south <= b.north && b.west <= a.east && b.south <= a.north && a.west <= b.east;
}

bool Point_In_XYRect(const XYRect& rect, const XYPoint& p)
{
    return rect.left <= p.x && p.x <= rect.right && rect.bottom <= p.y && p.y <= rect.top;
}

bool Point_In_LatLonRect(const LatLonRect& rect, const LatLonPoint& p)
{
    return rect.west <= p.lon && p.lon <= rect.east && rect.south <= p.lat && p.lat <= rect.north;
}

XYRect XYRect_From_Points(const XYPoint& p, const XYPoint& q)
{
    return {p.x < q.x ? p.x : q.x, p.y > q.y ? p.y : q.y, p.x > q.x ? p.x : q.x,
            p.y < q.y ? p.y : q.y};
}

LatLonRect LatLonRect_From_Points(const LatLonPoint& p, const LatLonPoint& q)
{
    return {p.lat > q.lat ? p.lat : q.lat, p.lon < q.lon ? p.lon : q.lon,
            p.lat < q.lat ? p.lat : q.lat, p.lon > q.lon ? p.lon : q.lon};
}

XYPoint XY_Line_Intersection(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                             const XYPoint& b2)
{
    const bool verticalA = a1.x == a2.x;
    const bool verticalB = b1.x == b2.x;
    // Differences in double: exact for any two 32-bit coordinates.
    const double dyA = static_cast<double>(a1.y) - a2.y;
    const double dxA = static_cast<double>(a1.x) - a2.x;
    const double dyB = static_cast<double>(b1.y) - b2.y;
    const double dxB = static_cast<double>(b1.x) - b2.x;

    if (verticalA && verticalB)
        return CollinearMeeting(a1, a2, b1, b2, true);
    if (verticalA) {
        const double cB = b1.y - dyB * b1.x / dxB;
        return RoundPoint(a1.x, dyB * a1.x / dxB + cB);
    }
    const double cA = a1.y - dyA * a1.x / dxA;
    if (verticalB)
        return RoundPoint(b1.x, dyA * b1.x / dxA + cA);

    const double cB = b1.y - dyB * b1.x / dxB;
    const double slopeA = dyA / dxA;
    const double slopeB = dyB / dxB;
    if (slopeA == 0.0 && slopeB == 0.0)
        return CollinearMeeting(a1, a2, b1, b2, false);
    if (slopeA == slopeB) {
        if (cA != cB)
            return XYPoint::None();                     // parallel
        return CollinearMeeting(a1, a2, b1, b2, false);
    }
    if (slopeA == 0.0)
        return RoundPoint((a1.y - cB) * dxB / dyB, a1.y);
    if (slopeB == 0.0)
        return RoundPoint((b1.y - cA) * dxA / dyA, b1.y);

    // x = (cB - cA) / (slopeA - slopeB), with slopeA - slopeB = det / P; the
    // smaller of the two ratios is formed first to keep precision.
    const double det = dxB * dyA - dyB * dxA;
    const double p = dxA * dxB;
    const double x = std::fabs(det) < std::fabs(p) ? (cB - cA) * (p / det) : (cB - cA) / (det / p);
    return RoundPoint(x, dyA * x / dxA + cA);
}

XYPoint XY_Line_Segment_Intersection(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                                     const XYPoint& b2)
{
    const XYPoint meeting = XY_Line_Intersection(a1, a2, b1, b2);
    if (meeting.IsNone() || !Point_In_XYRect(XYRect_From_Points(b1, b2), meeting))
        return XYPoint::None();
    return meeting;
}

XYPoint XY_Segment_Intersection(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                                const XYPoint& b2)
{
    const XYPoint meeting = XY_Line_Intersection(a1, a2, b1, b2);
    if (meeting.IsNone() || !Point_In_XYRect(XYRect_From_Points(a1, a2), meeting) ||
        !Point_In_XYRect(XYRect_From_Points(b1, b2), meeting))
        return XYPoint::None();
    return meeting;
}

LatLonPoint Line_Segment_Intersection(const LatLonPoint& p1, const LatLonPoint& p2,
                                      const LatLonPoint& q1, const LatLonPoint& q2)
{
    return ToLatLon(XY_Line_Segment_Intersection(ToXY(p1), ToXY(p2), ToXY(q1), ToXY(q2)));
}

LatLonPoint Segment_Intersection(const LatLonPoint& p1, const LatLonPoint& p2,
                                 const LatLonPoint& q1, const LatLonPoint& q2)
{
    return ToLatLon(XY_Segment_Intersection(ToXY(p1), ToXY(p2), ToXY(q1), ToXY(q2)));
}

LatLonPoint Segment_Rect_Crossing_Point(const LatLonRect& rect, const LatLonPoint& p1,
                                        const LatLonPoint& p2)
{
    const LatLonPoint nw(rect.north, rect.west);
    const LatLonPoint ne(rect.north, rect.east);
    const LatLonPoint se(rect.south, rect.east);
    const LatLonPoint sw(rect.south, rect.west);
    const LatLonPoint edges[4][2] = {{nw, ne}, {ne, se}, {se, sw}, {sw, nw}};
    for (const auto& edge : edges) {
        const LatLonPoint crossing = Segment_Intersection(p1, p2, edge[0], edge[1]);
        if (!crossing.IsNone())
            return crossing;
    }
    return LatLonPoint::None();
}

bool Segment_Crosses_LatLonRect(const LatLonRect& rect, const LatLonPoint& p1,
                                const LatLonPoint& p2)
{
    return !Segment_Rect_Crossing_Point(rect, p1, p2).IsNone() || Point_In_LatLonRect(rect, p1);
}

}  // namespace Geometry
