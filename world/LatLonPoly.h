// LatLonPoly.h: LatLon_Poly, a closed polygon on the sea map held both as
// positions and as projected map points, with the crossing tests of a segment
// against it and its saved body. Zones (AreaPolygon.h), contact areas and the
// overlay shapes derive from it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"

class LatLon_Poly {
public:
    // Edges of the circle built by the centre-and-radius constructor.
    static constexpr int16_t CIRCLE_EDGES = 72;

    // Empty polygon: count 0, no arrays, rectangles all zero.
    LatLon_Poly();
    // SetPoints on the list; a refused list leaves the polygon empty.
    LatLon_Poly(const LatLonPoint* pointlist, int16_t number_of_points);
    // A circle of 72 edges, 5 degrees apart, `radius` in range units
    // (NavMath::Offset_Flat) around `centre`; 73 points, the last repeating
    // the first.
    LatLon_Poly(const LatLonPoint& centre, int32_t radius);
    // Reads a saved body (see Save). A damaged body (a point count below 1,
    // or fewer bytes than the count announces) leaves the polygon empty and
    // the stream failed; callers test the stream.
    explicit LatLon_Poly(std::istream& in);

    virtual ~LatLon_Poly();

    LatLon_Poly(const LatLon_Poly&) = delete;
    LatLon_Poly& operator=(const LatLon_Poly&) = delete;

    // Builds the ring from n points: closed when the last equals the first,
    // else one closing point is added (count n + 1). Every longitude is stored
    // unwrapped against pointlist[0]; the projected points are those of the
    // points as given. Refused (false, polygon unchanged) when n < 1, when the
    // list is null, or when the closed ring would not fit a 16-bit count.
    bool SetPoints(const LatLonPoint* pointlist, int16_t number_of_points);

    // Moves all count points (closing point included) to those of pointlist,
    // which must hold count points: unwrapped against pointlist[0], projected,
    // bounds recomputed. The count does not change; no closing point is made.
    // Nothing happens for an empty polygon or a null list.
    void ReplacePoints(const LatLonPoint* pointlist);

    // Number of points, the closing point included.
    int16_t GetPointCount() const { return count; }
    // Point i with its longitude folded back by Wrap_Lon; the invalid point
    // (LatLonPoint::None) when i < 0 or i >= count.
    LatLonPoint GetLatLonPoint(int16_t i) const;
    // Projected point i; XYPoint::None when i < 0 or i >= count.
    XYPoint GetXYPoint(int16_t i) const;

    // The bounds of the stored (unwrapped) points and of the projected ones.
    const LatLonRect& GetBounds() const { return bounds; }
    const XYRect& GetXYBounds() const { return xyBounds; }

    // p with its longitude moved by one turn towards ref when they lie more
    // than 180 degrees apart; exactly 180 degrees apart is left alone.
    static LatLonPoint Unwrap_Lon(LatLonPoint p, const LatLonPoint& ref);
    // p with a longitude above +180 degrees lowered, or below -180 raised, by
    // one turn (once only); +-180 themselves stay.
    static LatLonPoint Wrap_Lon(LatLonPoint p);

    // True when segment a-b crosses the outline an even number of times (both
    // ends on the same side). A vertex the segment passes through counts once
    // where the outline crosses the segment's line there and twice where it
    // only touches it. a and b are first unwrapped against point 0, and the
    // caller sees them changed. An empty polygon answers true.
    bool Even_Crossings(LatLonPoint& a, LatLonPoint& b) const;
    // The crossing of a-b with the first edge (in edge order, not the one
    // nearest a) that it crosses; the invalid point when a-b misses the bounds
    // or crosses nothing. a and b are unwrapped as in Even_Crossings.
    LatLonPoint First_Crossing(LatLonPoint& a, LatLonPoint& b) const;

    // Draws the outline on the main map window in map colour `colour` when
    // its projected bounds overlap `view`; nothing is filled.
    virtual void Draw(const XYRect& view, int16_t colour);

    // Saved body, little-endian:
    //   count      i16              points, closing point included
    //   points     count x 8 bytes  i32 lat, i32 lon (angle units, unwrapped)
    //   xyPoints   count x 8 bytes  i32 x, i32 y
    //   bounds     LatLonRect       i32 north, west, south, east
    //   xyBounds   XYRect           i32 left, top, right, bottom
    // Writes nothing and answers false when the stream is failed or has no
    // buffer; true otherwise.
    bool Save(std::ostream& out) const;

protected:
    // Frees both arrays and clears count and rectangles.
    void Clear();
    // Stores pointlist[0..n-1] unwrapped against pointlist[0] and projected,
    // and sets both bounds to their extremes. Needs: 1 <= n <= count.
    void StorePoints(const LatLonPoint* pointlist, int16_t n);

    LatLonRect bounds;             // of points[0..count-1], angle units
    XYRect xyBounds;               // of xyPoints[0..count-1], map units
    int16_t count = 0;             // closing point included
    LatLonPoint* points = nullptr; // count points, unwrapped against points[0]
    XYPoint* xyPoints = nullptr;   // count projected points, index for index
};
