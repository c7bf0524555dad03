// Geometry.h: plane geometry on map points and positions: rectangles from
// points, containment and overlap tests, and the intersection of lines and
// segments. The value types are in XYPoint.h, XYRect.h, LatLonPoint.h and
// LatLonRect.h; the overlap of two XYRects is XYRect::Overlaps.
#pragma once

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"

namespace Geometry {

// Rectangle tests; every edge counts as inside.
bool XYRect_Inside(const XYRect& a, const XYRect& b);            // a wholly inside b
bool LatLonRect_Overlaps(const LatLonRect& a, const LatLonRect& b);
bool Point_In_XYRect(const XYRect& rect, const XYPoint& p);
bool Point_In_LatLonRect(const LatLonRect& rect, const LatLonPoint& p);

// The rectangle spanned by two points. The 180-degree meridian is not
// considered: the longitudes are ordered as plain numbers.
XYRect XYRect_From_Points(const XYPoint& p, const XYPoint& q);
LatLonRect LatLonRect_From_Points(const LatLonPoint& p, const LatLonPoint& q);

// Intersection of the infinite lines a1-a2 and b1-b2, worked in double
// precision and rounded to the nearest point, halves away from zero; none
// (XYPoint::None) for parallel lines, or where the answer would not fit.
// Collinear lines (both vertical, both horizontal, or one line twice) meet at
// a1 when a1 lies within the bounding rectangle of b1-b2, else at the end of
// b1-b2 that a point running from a1 towards a2 meets first, and not at all
// when the bounding rectangles of a1-a2 and b1-b2 do not touch.
XYPoint XY_Line_Intersection(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                             const XYPoint& b2);

// As XY_Line_Intersection, kept only when it lies within the bounding
// rectangle of the segment b1-b2 (edges included); with b1 == b2 this tests
// whether that point lies on the line a1-a2, to the rounding above.
XYPoint XY_Line_Segment_Intersection(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                                     const XYPoint& b2);

// As XY_Line_Intersection, kept only when it lies within the bounding
// rectangles of both segments a1-a2 and b1-b2 (edges included).
XYPoint XY_Segment_Intersection(const XYPoint& a1, const XYPoint& a2, const XYPoint& b1,
                                const XYPoint& b2);

// The XY forms on positions: longitude as x, latitude as y.
LatLonPoint Line_Segment_Intersection(const LatLonPoint& p1, const LatLonPoint& p2,
                                      const LatLonPoint& q1, const LatLonPoint& q2);
LatLonPoint Segment_Intersection(const LatLonPoint& p1, const LatLonPoint& p2,
                                 const LatLonPoint& q1, const LatLonPoint& q2);

// The first crossing of segment p1-p2 with an edge of rect, testing the edges
// in the order north, east, south, west: the first edge crossed in that
// order, not the crossing nearest p1. None when no edge is crossed.
LatLonPoint Segment_Rect_Crossing_Point(const LatLonRect& rect, const LatLonPoint& p1,
                                        const LatLonPoint& p2);

// True when segment p1-p2 crosses (or touches) an edge of rect, or when p1
// lies inside rect.
bool Segment_Crosses_LatLonRect(const LatLonRect& rect, const LatLonPoint& p1,
                                const LatLonPoint& p2);

}  // namespace Geometry
