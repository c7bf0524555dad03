// NavMath.h: range and bearing between positions and the position reached
// along a range and bearing, on the great circle for long legs and on a local
// plane for short ones; and conversions between directions in the flat
// latitude/longitude plane and real directions on the ground. Units are in
// core/Units.h; the value types in LatLonPoint.h and NavVector.h.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"
#include "core/NavVector.h"
#include "core/Units.h"

namespace NavMath {

// Brings a longitude or longitude difference into -180 to 180 degrees with at
// most one turn either way.
inline int32_t WrapLongitude(int32_t lon)
{
    if (lon > ANGLE_HALF)
        return lon - ANGLE_FULL;
    if (lon < -ANGLE_HALF)
        return lon + ANGLE_FULL;
    return lon;
}

// Legs shorter than this (10 nm) are solved on the local plane.
constexpr int32_t PLANAR_LIMIT = 10 * RANGE_PER_NM;   // 40960

// Range and bearing from one position to another. Solved on the great circle;
// when that range is below 10 nm (the great circle is coarse there) the local
// planar solution replaces it, so a point to itself gives range 1 and bearing
// 45 degrees. Antipodal points have no bearing: reported as
// "NavMath::Bearing_GreatCircle: sinrange == 0" (bearing 0 should it return).
NavVector Get_Vector(LatLonPoint from, LatLonPoint to);

// The local planar solution at any distance (Bearing_Planar).
NavVector Get_Vector_Planar(LatLonPoint from, LatLonPoint to);

// The great-circle solution only: Range_GreatCircle, then Bearing_GreatCircle.
NavVector Vector_GreatCircle(LatLonPoint from, LatLonPoint to);

// Great-circle range, 0 to 180 degrees of arc in range units. Coarse near 0:
// coincident points give anything from 0 to about 4 nm.
int32_t Range_GreatCircle(LatLonPoint from, LatLonPoint to);

// Initial great-circle bearing, 0 to 360 degrees, given the range between the
// points. Range 0 gives 0; points on one meridian give 0 (north) or 180
// degrees (south, or the same latitude).
int32_t Bearing_GreatCircle(LatLonPoint from, LatLonPoint to, int32_t range);

// The local planar solution: the east-west leg scaled by the cosine of the
// mean latitude. The range is one more than the plane gives, so never 0; the
// bearing lies from 0 to 360 degrees, 45 degrees for coincident points.
NavVector Bearing_Planar(LatLonPoint from, LatLonPoint to);

// The position at range and bearing from `from`: on the local plane up to and
// including 10 nm, on the great circle beyond. The longitude is wrapped into
// -180 to 180 degrees; a latitude past a pole is clipped onto the pole along
// the line from `from` (the first crossing with the world rectangle).
LatLonPoint Get_LatLonPoint_From_Vector(LatLonPoint from, int32_t range, int32_t bearing);

// The local-plane step, neither wrapped nor clipped. A step whose midpoint
// lies exactly on a pole takes its east component unscaled.
LatLonPoint Get_LatLonPoint_From_Linear_Vector(LatLonPoint from, int32_t range, int32_t bearing);

// The great-circle step, neither wrapped nor clipped. The longitude change
// lies within -180 to 180 degrees, so the answer's longitude may lie up to a
// half turn outside -180 to 180 degrees.
LatLonPoint Get_LatLonPoint_GreatCircle(LatLonPoint from, int32_t range, int32_t bearing);

// `from` moved by distance along angle in the flat latitude/longitude plane
// (one unit of longitude counts as one of latitude); wrapped and clipped as
// Get_LatLonPoint_From_Vector.
LatLonPoint Offset_Flat(LatLonPoint from, int32_t distance, int32_t angle);

// Range and bearing in the flat latitude/longitude plane; the range is one
// more than the plane gives, so never 0.
NavVector Vector_Flat(LatLonPoint from, LatLonPoint to);

// The real direction on the ground of a flat-plane bearing at a position,
// 0 to 360 degrees. Bearings are first brought into 0 to 360 degrees (360
// itself stays); 0 and 360 degrees both give 0.
int32_t Get_Real_Angle_From_Bearing(LatLonPoint at, int32_t bearing);

// The flat-plane bearing of a real direction on the ground at a position. A
// probe that ends exactly on a pole takes its east component unscaled.
int32_t Get_Bearing_From_Real_Angle(LatLonPoint at, int32_t realAngle);

// A flat-plane bearing turned by delta as seen on the ground.
int32_t Add_Real_Angle(LatLonPoint at, int32_t bearing, int32_t delta);

// The real angle from bearing1 to bearing2 on the ground, not wrapped
// (-360 to 360 degrees); 0 when the bearings are equal.
int32_t Real_Angle_Between(LatLonPoint at, int32_t bearing1, int32_t bearing2);

// value times the cosine of the latitude of `at`.
int32_t Scale_By_Cos_Lat(LatLonPoint at, int32_t value);

}  // namespace NavMath
