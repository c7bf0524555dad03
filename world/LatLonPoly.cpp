// LatLonPoly.cpp: LatLon_Poly, the closed polygon on the sea map: building it
// from a list, a circle or a saved body, the longitude rule near the
// 180-degree meridian, the segment crossing tests and drawing.
#include "world/LatLonPoly.h"

#include <istream>
#include <new>
#include <ostream>

#include "core/AllocationCheck.h"
#include "core/Geometry.h"
#include "core/NavMath.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "world/Nav2Game.h"

namespace {

// Angle between two neighbouring points of the circle: 5 degrees.
constexpr int32_t CIRCLE_STEP = 5 * ANGLE_PER_DEGREE;   // 1228800

// Moves a longitude by delta angle units. A stored longitude may already lie
// beyond +-180 degrees; values from a damaged file may lie anywhere, so the
// sum wraps explicitly instead of overflowing.
int32_t ShiftLongitude(int32_t lon, int32_t delta)
{
    return static_cast<int32_t>(static_cast<int64_t>(lon) + delta);
}

bool IsValid(const LatLonPoint& p) { return !p.IsNone(); }

}  // namespace

LatLon_Poly::LatLon_Poly() = default;

LatLon_Poly::LatLon_Poly(const LatLonPoint* pointlist, int16_t number_of_points)
{
    SetPoints(pointlist, number_of_points);
}

LatLon_Poly::LatLon_Poly(const LatLonPoint& centre, int32_t radius)
{
    LatLonPoint ring[CIRCLE_EDGES + 1];
    ring[0] = NavMath::Offset_Flat(centre, radius, 0);
    int32_t angle = 0;
    for (int k = 1; k < CIRCLE_EDGES; ++k) {
        angle = NavMath::Add_Real_Angle(centre, angle, CIRCLE_STEP);
        ring[k] = NavMath::Offset_Flat(centre, radius, angle);
    }
    ring[CIRCLE_EDGES] = ring[0];
    SetPoints(ring, CIRCLE_EDGES + 1);
}

LatLon_Poly::LatLon_Poly(std::istream& in)
{
    int16_t stored = 0;
    if (!LoadField(in, stored))
        return;
    // A ring needs a point 0: every crossing test unwraps against it.
    if (stored < 1) {
        in.setstate(std::ios::failbit);
        return;
    }
    // At most 32767 points of 16 bytes: small enough to hold before reading,
    // and a count larger than the stream holds ends in a failed read below.
    LatLonPoint* readPoints = new (std::nothrow) LatLonPoint[stored];
    XYPoint* readXY = new (std::nothrow) XYPoint[stored];
    AllocationCheck(readPoints);
    AllocationCheck(readXY);
    if (readPoints == nullptr || readXY == nullptr) {
        delete[] readPoints;
        delete[] readXY;
        in.setstate(std::ios::failbit);
        return;
    }
    for (int16_t i = 0; i < stored && in; ++i)
        readPoints[i].Load(in);
    for (int16_t i = 0; i < stored && in; ++i)
        readXY[i].Load(in);
    LatLonRect readBounds;
    XYRect readXYBounds;
    readBounds.Load(in);
    readXYBounds.Load(in);
    if (!in) {
        delete[] readPoints;
        delete[] readXY;
        return;
    }
    count = stored;
    points = readPoints;
    xyPoints = readXY;
    bounds = readBounds;
    xyBounds = readXYBounds;
}

LatLon_Poly::~LatLon_Poly()
{
    Clear();
}

void LatLon_Poly::Clear()
{
    delete[] points;
    delete[] xyPoints;
    points = nullptr;
    xyPoints = nullptr;
    count = 0;
    bounds = LatLonRect();
    xyBounds = XYRect();
}

bool LatLon_Poly::SetPoints(const LatLonPoint* pointlist, int16_t number_of_points)
{
    if (pointlist == nullptr || number_of_points < 1)
        return false;
    const int16_t n = number_of_points;
    const bool closed = pointlist[0] == pointlist[n - 1];
    if (!closed && n == INT16_MAX)
        return false;   // the closing point would not fit the count
    const int16_t newCount = closed ? n : static_cast<int16_t>(n + 1);

    LatLonPoint* newPoints = new (std::nothrow) LatLonPoint[newCount];
    XYPoint* newXY = new (std::nothrow) XYPoint[newCount];
    AllocationCheck(newPoints);
    AllocationCheck(newXY);
    if (newPoints == nullptr || newXY == nullptr) {
        delete[] newPoints;
        delete[] newXY;
        return false;
    }
    Clear();
    count = newCount;
    points = newPoints;
    xyPoints = newXY;

    StorePoints(pointlist, n);
    if (!closed) {
        points[count - 1] = points[0];
        xyPoints[count - 1] = xyPoints[0];
    }
    return true;
}

void LatLon_Poly::ReplacePoints(const LatLonPoint* pointlist)
{
    if (pointlist == nullptr || count < 1)
        return;
    StorePoints(pointlist, count);
}

void LatLon_Poly::StorePoints(const LatLonPoint* pointlist, int16_t n)
{
    int32_t north = INT32_MIN, south = INT32_MAX, west = INT32_MAX, east = INT32_MIN;
    int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MIN, bottom = INT32_MAX;
    for (int16_t i = 0; i < n; ++i) {
        const LatLonPoint p = Unwrap_Lon(pointlist[i], pointlist[0]);
        // The projection is that of the point as given, not unwrapped.
        const XYPoint xy = Nav2Game::LatLonToXY(pointlist[i]);
        points[i] = p;
        xyPoints[i] = xy;
        north = p.lat > north ? p.lat : north;
        south = p.lat < south ? p.lat : south;
        east = p.lon > east ? p.lon : east;
        west = p.lon < west ? p.lon : west;
        right = xy.x > right ? xy.x : right;
        left = xy.x < left ? xy.x : left;
        top = xy.y > top ? xy.y : top;
        bottom = xy.y < bottom ? xy.y : bottom;
    }
    bounds = LatLonRect(north, west, south, east);
    xyBounds = XYRect(left, top, right, bottom);
}

LatLonPoint LatLon_Poly::GetLatLonPoint(int16_t i) const
{
    if (i < 0 || i >= count)
        return LatLonPoint::None();
    return Wrap_Lon(points[i]);
}

XYPoint LatLon_Poly::GetXYPoint(int16_t i) const
{
    if (i < 0 || i >= count)
        return XYPoint::None();
    return xyPoints[i];
}

LatLonPoint LatLon_Poly::Unwrap_Lon(LatLonPoint p, const LatLonPoint& ref)
{
    const int64_t apart = static_cast<int64_t>(ref.lon) - p.lon;
    if (ref.lon < 0 && apart < -ANGLE_HALF)
        p.lon = ShiftLongitude(p.lon, -ANGLE_FULL);
    else if (ref.lon >= 0 && apart > ANGLE_HALF)
        p.lon = ShiftLongitude(p.lon, ANGLE_FULL);
    return p;
}

LatLonPoint LatLon_Poly::Wrap_Lon(LatLonPoint p)
{
    if (p.lon > ANGLE_HALF)
        p.lon = ShiftLongitude(p.lon, -ANGLE_FULL);
    else if (p.lon < -ANGLE_HALF)
        p.lon = ShiftLongitude(p.lon, ANGLE_FULL);
    return p;
}

bool LatLon_Poly::Even_Crossings(LatLonPoint& a, LatLonPoint& b) const
{
    if (count < 1)
        return true;
    const LatLonPoint* const P = points;
    const int16_t n = count;
    a = Unwrap_Lon(a, P[0]);
    b = Unwrap_Lon(b, P[0]);

    // Crossings so far; a touch at a vertex adds two, so only the parity
    // tells. Held wide: it can step below zero and never overflows.
    int32_t crossings = 0;
    // A crossing at the end vertex of the previous edge, counted (or not)
    // by the edge that starts there.
    LatLonPoint pending = LatLonPoint::None();
    bool along = false;

    for (int16_t i = 1; i < n; ++i) {
        const LatLonPoint& A = P[i - 1];
        const LatLonPoint& B = P[i];
        const LatLonPoint X = Geometry::Segment_Intersection(a, b, A, B);
        if (!IsValid(X))
            continue;
        if (IsValid(pending) && X != pending)
            ++crossings;
        pending = LatLonPoint::None();

        const LatLonPoint& beforeA = i == 1 ? P[n - 2] : P[i - 2];
        if (X == A) {
            if (IsValid(Geometry::Line_Segment_Intersection(a, b, B, B)))
                along = true;
            // The outline passes through the segment's line at A when the
            // vertices either side of A lie on opposite sides of it.
            if (IsValid(Geometry::Line_Segment_Intersection(a, b, beforeA, B)))
                crossings += 1;
            else
                crossings += 2;
        } else if (X == B) {
            if (IsValid(Geometry::Line_Segment_Intersection(a, b, A, A)))
                along = true;
            pending = X;
        } else {
            crossings += 1;
        }

        if (along) {
            // An edge lying along the segment: the outline crosses only when
            // the vertices beyond both its ends lie on opposite sides.
            const LatLonPoint& afterB = i == n - 1 ? P[1] : P[i + 1];
            if (IsValid(Geometry::Line_Segment_Intersection(a, b, afterB, beforeA)))
                crossings -= 1;
            along = false;
        }
    }
    if (IsValid(pending)) {
        const LatLonPoint X = Geometry::Segment_Intersection(a, b, P[0], P[1]);
        if (IsValid(X) && X != pending)
            ++crossings;
    }
    return crossings % 2 == 0;
}

LatLonPoint LatLon_Poly::First_Crossing(LatLonPoint& a, LatLonPoint& b) const
{
    if (count < 1)
        return LatLonPoint::None();
    a = Unwrap_Lon(a, points[0]);
    b = Unwrap_Lon(b, points[0]);
    if (!Geometry::Segment_Crosses_LatLonRect(bounds, a, b))
        return LatLonPoint::None();
    for (int16_t i = 1; i < count; ++i) {
        const LatLonPoint X = Geometry::Segment_Intersection(a, b, points[i - 1], points[i]);
        if (IsValid(X))
            return X;
    }
    return LatLonPoint::None();
}

void LatLon_Poly::Draw(const XYRect& view, int16_t colour)
{
    if (count < 1 || !XYRect::Overlaps(view, xyBounds))
        return;
    Nav2Game::MapMoveTo(xyPoints[0]);
    for (int16_t i = 1; i < count; ++i)
        Nav2Game::MapLineTo(xyPoints[i], colour);
}

bool LatLon_Poly::Save(std::ostream& out) const
{
    if (out.fail() || out.rdbuf() == nullptr)
        return false;
    SaveField<int16_t>(out, count);
    for (int16_t i = 0; i < count; ++i)
        points[i].Save(out);
    for (int16_t i = 0; i < count; ++i)
        xyPoints[i].Save(out);
    bounds.Save(out);
    xyBounds.Save(out);
    return true;
}
