// UncertainPoly.cpp: Uncertain_Poly, a contact's area of uncertainty: the
// ring, circle and sector it is built as, its saved form, growth, centre and
// the nearest crossing of a segment with its outline.
#include "world/UncertainPoly.h"

#include <cstdio>
#include <istream>
#include <new>
#include <ostream>

#include "core/AllocationCheck.h"
#include "core/ErrorReport.h"
#include "core/Geometry.h"
#include "core/LatLonRect.h"
#include "core/NavMath.h"
#include "core/NavVector.h"
#include "core/Sine.h"
#include "core/StreamFields.h"
#include "core/Tangent.h"
#include "core/Units.h"
#include "world/Nav2Game.h"

namespace {

// Angle between neighbouring points of the circle, and between the arc
// points on the outer edge of a sector: 15 degrees.
constexpr int32_t ARC_STEP = 15 * ANGLE_PER_DEGREE;   // 3686400

// The weight at which the centre stops being drawn towards the inside points.
constexpr int32_t CENTRE_WEIGHT_LIMIT = 32000;

// Outside -90..90 degrees latitude or -180..180 degrees longitude; the bounds
// themselves are in range.
bool IsOutOfCoordinateRange(const LatLonPoint& p)
{
    return p.lat < -ANGLE_RIGHT || p.lat > ANGLE_RIGHT || p.lon < -ANGLE_HALF || p.lon > ANGLE_HALF;
}

// A distance held wide, brought back into 32 bits at the nearer end: growing
// or shrinking a range never wraps round to the far side.
int32_t SaturateDistance(int64_t distance)
{
    if (distance > INT32_MAX)
        return INT32_MAX;
    if (distance < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(distance);
}

// A new array of n points, null (after the out-of-memory report) when none
// can be had.
LatLonPoint* NewPoints(int16_t n)
{
    LatLonPoint* array = new (std::nothrow) LatLonPoint[n];
    AllocationCheck(array);
    return array;
}

int64_t AbsWide(int64_t v) { return v < 0 ? -v : v; }

// Legs shorter than this either way, and ranges below it, take the quick
// path of GrowPoint; every position on the earth is well within it.
constexpr int32_t QUICK_LIMIT = int32_t{1} << 30;


// Moves source point p `distance` further from `centre`: NavMath::Offset_Flat
// along NavMath::Vector_Flat from the centre, range plus distance, to the
// last unit. Both are worked here in the first quadrant, on the magnitudes of
// the legs, and the legs' signs put back at the end: the arctangent, the sine
// and cosine (odd and even, mirrored about 90 degrees, to the last unit) and
// the fixed-point products and quotients (truncated toward zero) all give
// mirror-image answers to mirror-image legs. There the cosine of the bearing
// is the sine already found for the range, and no angle needs folding. Legs,
// ranges and distances at the 32-bit ends, where a negation would not mirror,
// go the long way.
void GrowPoint(LatLonPoint& p, LatLonPoint centre, int32_t distance)
{
    const int32_t dlat = static_cast<int32_t>(int64_t{p.lat} - centre.lat);
    const int32_t dlon = NavMath::WrapLongitude(static_cast<int32_t>(int64_t{p.lon} - centre.lon));
    if (dlat > -QUICK_LIMIT && dlat < QUICK_LIMIT && dlon > -QUICK_LIMIT && dlon < QUICK_LIMIT) [[likely]] {
        const int32_t north = dlat < 0 ? -dlat : dlat;
        const int32_t east = dlon < 0 ? -dlon : dlon;
        const int32_t angle = Tangent::Int_arctan(north, east);   // 0 to 90 degrees
        const int32_t sine = Sine::SineInQuadrant(angle);
        const int64_t planar = sine != 0 ? (int64_t{north} << FIXED_SHIFT) / sine : east;
        const int64_t grown = planar + 1 + distance;
        if (planar < QUICK_LIMIT && grown > INT32_MIN && grown <= INT32_MAX) [[likely]] {
            const int64_t range = grown;
            const int32_t up = static_cast<int32_t>(range * sine / FIXED_ONE);
            const int32_t across =
                static_cast<int32_t>(range * Sine::SineInQuadrant(ANGLE_RIGHT - angle) / FIXED_ONE);
            const int32_t lat = static_cast<int32_t>(int64_t{centre.lat} + (dlat < 0 ? -up : up));
            const int32_t lon =
                NavMath::WrapLongitude(static_cast<int32_t>(int64_t{centre.lon} + (dlon < 0 ? -across : across)));
            // Stored field by field: a point put together in memory and read
            // back whole would wait for both halves to be written.
            if (lat <= ANGLE_RIGHT && lat >= -ANGLE_RIGHT) [[likely]] {
                p.lat = lat;
                p.lon = lon;
            } else {
                p = Geometry::Segment_Rect_Crossing_Point(LatLonRect::World(), centre, LatLonPoint(lat, lon));
            }
            return;
        }
    }
    const NavVector v = NavMath::Vector_Flat(centre, p);
    p = NavMath::Offset_Flat(centre, SaturateDistance(int64_t{v.range} + distance), v.bearing);
}

}  // namespace

Uncertain_Poly::Uncertain_Poly(const LatLonPoint* pointlist, int16_t number_of_points)
{
    if (number_of_points <= 0) {
        char text[128];
        std::snprintf(text, sizeof text,
                      "Uncertain_Poly::Uncertain_Poly(LatLonPoint *pointlist,INT16 number_of_points): "
                      "number_of_points = %d",
                      static_cast<int>(number_of_points));
        FatalError(text);
        MakeEmpty();
        return;
    }
    if (!SetPoints(pointlist, number_of_points)) {
        MakeEmpty();
        return;
    }
    LatLonPoint* ring = NewPoints(count);
    if (ring == nullptr) {
        MakeEmpty();
        return;
    }
    for (int16_t i = 0; i < number_of_points; ++i)
        ring[i] = pointlist[i];
    if (count > number_of_points)
        ring[number_of_points] = pointlist[0];   // the closing point SetPoints added
    AdoptSources(ring);
    Compute_Center();
}

Uncertain_Poly::Uncertain_Poly(const LatLonPoint& centrePoint, int32_t radius)
{
    LatLonPoint* ring = NewPoints(CIRCLE_EDGES + 1);
    if (ring == nullptr) {
        MakeEmpty();
        return;
    }
    ring[0] = NavMath::Offset_Flat(centrePoint, radius, 0);
    int32_t angle = 0;
    for (int16_t k = 1; k < CIRCLE_EDGES; ++k) {
        angle = NavMath::Add_Real_Angle(centrePoint, angle, ARC_STEP);
        ring[k] = NavMath::Offset_Flat(centrePoint, radius, angle);
    }
    ring[CIRCLE_EDGES] = ring[0];
    if (!SetPoints(ring, CIRCLE_EDGES + 1)) {
        delete[] ring;
        MakeEmpty();
        return;
    }
    AdoptSources(ring);
    centre = centrePoint;   // the given centre, on the map or not
}

Uncertain_Poly::Uncertain_Poly(const LatLonPoint& origin, const LatLonPoint& target, int32_t halfWidth,
                               int32_t rangeError, int32_t minRange, int32_t maxRange)
{
    const NavVector seen = NavMath::Vector_Flat(origin, target);

    // Radii held wide: a range error near the 32-bit limit must not wrap.
    int64_t inner = minRange;
    if (rangeError >= 0) {
        inner = int64_t{seen.range} - rangeError;
        if (inner < minRange)
            inner = minRange;
    }
    int64_t outer = rangeError >= 0 ? int64_t{seen.range} + rangeError : int64_t{maxRange};
    if (outer > maxRange)
        outer = maxRange;

    // Arc points strictly inside the outer edge, 15 degrees apart.
    int64_t arcPoints = (2 * int64_t{halfWidth} - 1) / ARC_STEP;
    if (arcPoints < 0)
        arcPoints = 0;
    if (inner <= 0)
        inner = 0;
    const int16_t n = static_cast<int16_t>(arcPoints + (inner == 0 ? 6 : 7));

    const int32_t r1 = static_cast<int32_t>(inner);
    const int32_t r2 = static_cast<int32_t>(outer);
    const int32_t middle = static_cast<int32_t>((inner + outer) / 2);
    const int32_t leftEdge = NavMath::Add_Real_Angle(origin, seen.bearing,
                                                     static_cast<int32_t>(-int64_t{halfWidth}));
    const int32_t rightEdge = NavMath::Add_Real_Angle(origin, seen.bearing, halfWidth);

    LatLonPoint* ring = NewPoints(n);
    if (ring == nullptr) {
        MakeEmpty();
        return;
    }
    int16_t k = 0;
    if (r1 > 0) {
        ring[k++] = NavMath::Offset_Flat(origin, r1, rightEdge);
        ring[k++] = NavMath::Offset_Flat(origin, r1, leftEdge);
    } else {
        ring[k++] = origin;
    }
    ring[k++] = NavMath::Offset_Flat(origin, middle, leftEdge);
    ring[k++] = NavMath::Offset_Flat(origin, r2, leftEdge);
    int32_t angle = NavMath::Add_Real_Angle(origin, leftEdge, ARC_STEP);
    for (int64_t i = 0; i < arcPoints; ++i) {
        ring[k++] = NavMath::Offset_Flat(origin, r2, angle);
        angle = NavMath::Add_Real_Angle(origin, angle, ARC_STEP);
    }
    ring[k++] = NavMath::Offset_Flat(origin, r2, rightEdge);
    ring[k++] = NavMath::Offset_Flat(origin, middle, rightEdge);
    ring[k] = ring[0];

    if (!SetPoints(ring, n)) {
        delete[] ring;
        MakeEmpty();
        return;
    }
    AdoptSources(ring);
    Compute_Center();
}

Uncertain_Poly::Uncertain_Poly(std::istream& in) : LatLon_Poly(in)
{
    // The body refuses a count below 1 and a short read itself.
    if (!in || count < 1) {
        in.setstate(std::ios::failbit);
        MakeEmpty();
        return;
    }
    LatLonPoint* ring = NewPoints(count);
    if (ring == nullptr) {
        in.setstate(std::ios::failbit);
        MakeEmpty();
        return;
    }
    // Sources are grown from: one off the globe would overflow the next
    // growth step's arithmetic, so it damages the record as a short read does.
    for (int16_t i = 0; i < count && in; ++i) {
        ring[i].Load(in);
        if (in && IsOutOfCoordinateRange(ring[i]))
            in.setstate(std::ios::failbit);
    }
    int16_t storedColour = 0;
    LoadField(in, storedColour);
    // Growth only ever gives 43 to 46; anything else is a damaged record.
    if (in && (storedColour < COLOUR_NEW || storedColour > COLOUR_OLDEST))
        in.setstate(std::ios::failbit);
    if (!in) {
        delete[] ring;
        MakeEmpty();
        return;
    }
    AdoptSources(ring);
    colour = storedColour;
    Compute_Center();
}

Uncertain_Poly::~Uncertain_Poly()
{
    delete[] sourcePoints;
}

void Uncertain_Poly::MakeEmpty()
{
    delete[] sourcePoints;
    sourcePoints = nullptr;
    Clear();
    centre = LatLonPoint(0, 0);
    outOfRange = 1;
}

void Uncertain_Poly::AdoptSources(LatLonPoint* ring)
{
    delete[] sourcePoints;
    sourcePoints = ring;
    centre = LatLonPoint(0, 0);
    colour = COLOUR_NEW;
    outOfRange = 0;
}

LatLonPoint Uncertain_Poly::GetSourcePoint(int16_t i) const
{
    if (i < 0 || i >= count || sourcePoints == nullptr)
        return LatLonPoint::None();
    return sourcePoints[i];
}

void Uncertain_Poly::Draw(const XYRect& view)
{
    Draw(view, colour);
}

bool Uncertain_Poly::Save(std::ostream& out) const
{
    if (!LatLon_Poly::Save(out))
        return false;
    for (int16_t i = 0; i < count; ++i)
        sourcePoints[i].Save(out);
    SaveField<int16_t>(out, colour);
    return true;
}

void Uncertain_Poly::CheckCoordinateRange()
{
    for (int16_t i = 0; i < count; ++i) {
        if (IsOutOfCoordinateRange(points[i])) {
            outOfRange = 1;
            return;
        }
    }
}

void Uncertain_Poly::Grow(int32_t distance)
{
    if (outOfRange == 0)
        CheckCoordinateRange();
    // Without points there is no point 0 to close the ring on.
    if (outOfRange != 0 || count < 1 || sourcePoints == nullptr)
        return;
    for (int16_t i = 0; i < count - 1; ++i)
        GrowPoint(sourcePoints[i], centre, distance);
    sourcePoints[count - 1] = sourcePoints[0];
    ReplacePoints(sourcePoints);
    Compute_Center();
    if (colour < COLOUR_OLDEST)
        ++colour;
}

void Uncertain_Poly::Compute_Center()
{
    if (count <= 0)
        return;
    int64_t latSum = 0;
    int64_t lonSum = 0;
    // The points inside the map, counted and summed once for every time the
    // mean is drawn towards them.
    int32_t inside = 0;
    int64_t insideLatSum = 0;
    int64_t insideLonSum = 0;
    bool rangeChecked = false;
    for (int16_t i = 0; i < count; ++i) {
        latSum += points[i].lat;
        lonSum += points[i].lon;
        if (Nav2Game::IsInMap(points[i])) {
            ++inside;
            insideLatSum += points[i].lat;
            insideLonSum += points[i].lon;
            continue;
        }
        // The points do not change here: one check of their range answers
        // for every point off the map.
        if (outOfRange == 0 && !rangeChecked) {
            CheckCoordinateRange();
            rangeChecked = true;
        }
        if (outOfRange != 0)
            return;   // frozen: the centre stays
    }
    if (inside == 0) {
        outOfRange = 1;
        return;
    }
    // The closing point repeats point 0, so point 0 weighs twice.
    int32_t weight = count;
    LatLonPoint mean(static_cast<int32_t>(latSum / weight), static_cast<int32_t>(lonSum / weight));
    while (!Nav2Game::IsInMap(mean) && weight < CENTRE_WEIGHT_LIMIT) {
        weight += inside;
        latSum += insideLatSum;
        lonSum += insideLonSum;
        mean = LatLonPoint(static_cast<int32_t>(latSum / weight), static_cast<int32_t>(lonSum / weight));
    }
    centre = mean;
}

LatLonPoint Uncertain_Poly::Nearest_Crossing(LatLonPoint& a, LatLonPoint& b, int16_t& edge) const
{
    const int16_t skip = edge;
    edge = -1;
    if (count < 1)
        return LatLonPoint::None();
    a = Unwrap_Lon(a, points[0]);
    b = Unwrap_Lon(b, points[0]);
    if (!Geometry::Segment_Crosses_LatLonRect(bounds, a, b))
        return LatLonPoint::None();

    int64_t best = INT32_MAX;
    LatLonPoint nearest = LatLonPoint::None();
    for (int16_t e = 0; e < count - 1; ++e) {
        if (e == skip)
            continue;
        const LatLonPoint X = Geometry::Segment_Intersection(a, b, points[e], points[e + 1]);
        if (X.IsNone())
            continue;
        // Measured wide: coordinates from a damaged file may lie a full
        // 32-bit range apart.
        const int64_t d = AbsWide(int64_t{X.lon} - a.lon) + AbsWide(int64_t{X.lat} - a.lat);
        // A crossing at a itself is where a walk along the outline stands.
        if (d != 0 && d < best) {
            best = d;
            nearest = X;
            edge = e;
        }
    }
    if (nearest.IsNone())
        return nearest;
    return Wrap_Lon(nearest);
}
