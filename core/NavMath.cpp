// NavMath.cpp: great-circle and local-plane navigation, and the conversions
// between flat-plane bearings and real directions, all in integer fixed point.
#include "core/NavMath.h"

#include "core/ErrorReport.h"
#include "core/Geometry.h"
#include "core/LatLonRect.h"
#include "core/LongMath.h"
#include "core/Sine.h"
#include "core/Tangent.h"

namespace NavMath {

namespace {

// The source name the fixed-point reports of this file give.
constexpr const char* SOURCE_NAME = "NAVMATH";

// The probe step of the real-angle conversions: about 24.4 nm.
constexpr int32_t PROBE_STEP = 100000;

// Q23 product and quotient, reporting trouble with this file's name and the
// caller's line (the default argument takes the line of the call).
int32_t Mul(int32_t a, int32_t b, int32_t line = __builtin_LINE())
{
    return LongMath::LongMulLong(a, b, true, SOURCE_NAME, line);
}

int32_t Div(int32_t a, int32_t b, int32_t line = __builtin_LINE())
{
    return LongMath::LongDivLong_TableShiftLeft(a, b, true, SOURCE_NAME, line);
}

// Coordinate sums and differences wrap as 32-bit arithmetic does; valid
// positions never come near the limits.
int32_t Plus(int32_t a, int32_t b)
{
    return static_cast<int32_t>(int64_t{a} + b);
}

int32_t Minus(int32_t a, int32_t b)
{
    return static_cast<int32_t>(int64_t{a} - b);
}

// Half of v, rounded down (an arithmetic shift).
int32_t Half(int32_t v)
{
    return v >> 1;
}


// The sum of two angles, brought into [0, ANGLE_FULL).
int32_t TurnBy(int32_t angle, int32_t delta)
{
    int64_t sum = (int64_t{angle} + delta) % ANGLE_FULL;
    if (sum < 0)
        sum += ANGLE_FULL;
    return static_cast<int32_t>(sum);
}

// All ones when the condition holds, else zero: for choosing by the signs of
// coordinate differences, which come in any order, without a branch to
// mispredict.
int32_t MaskIf(bool condition)
{
    return -static_cast<int32_t>(condition);
}

// v, or -v where the mask is all ones; -2^31 stays, as 32-bit negation does.
int32_t NegateWhere(int32_t v, int32_t mask)
{
    return static_cast<int32_t>((static_cast<uint32_t>(v) ^ static_cast<uint32_t>(mask)) -
                                static_cast<uint32_t>(mask));
}

// The direction of the vector (adj, opp) over the whole circle, -180 to 180
// degrees: the principal arctangent folded by the signs of the legs. A leg
// to the west turns it half a turn, toward the side of opp; straight south
// (adj 0, opp negative) is the principal value negated.
int32_t FullArctan(int32_t opp, int32_t adj)
{
    const int32_t principal = Tangent::Int_arctan(opp, adj);
    const int32_t oppNegative = MaskIf(opp < 0);
    const int32_t halfTurn = NegateWhere(ANGLE_HALF, oppNegative) & MaskIf(adj < 0);
    return NegateWhere(principal + halfTurn, MaskIf(adj == 0) & oppNegative);
}

// A point past a pole goes back to where the line from `from` meets the edge
// of the world; any other point is answered as it is.
LatLonPoint ClipAtPole(LatLonPoint from, LatLonPoint to)
{
    if (to.lat <= ANGLE_RIGHT && to.lat >= -ANGLE_RIGHT)
        return to;
    return Geometry::Segment_Rect_Crossing_Point(LatLonRect::World(), from, to);
}

// Puts a range that came out negative (any leg to the west) the other way
// round, then adds the 1 that keeps the planar ranges from being 0.
NavVector FinishPlanar(int32_t range, int32_t bearing)
{
    const int32_t negative = MaskIf(range < 0);
    return {Plus(NegateWhere(range, negative), 1), bearing + (ANGLE_HALF & negative)};
}

// The helpers of the range and bearing below are forced inline: each serves
// a few callers, and a call in the middle of their chain of dependent table
// reads would add to every pair of units in every pass. Their rare paths
// stay out of line.

// The sine and cosine of a latitude: plain table reads for any on the earth
// (within 90 degrees either side), the general functions for other values.
struct LatitudeTrig {
    int32_t sin;   // Q23
    int32_t cos;   // Q23
};

bool OnEarth(int32_t lat)
{
    return lat >= -ANGLE_RIGHT && lat <= ANGLE_RIGHT;
}

[[gnu::noinline]] LatitudeTrig TrigOfAnyLatitude(int32_t lat)
{
    return {Sine::Int_sin(lat), Sine::Int_cos(lat)};
}

[[gnu::always_inline]] inline LatitudeTrig TrigOfLatitude(int32_t lat)
{
    if (OnEarth(lat)) [[likely]]
        return {Sine::SineWithinRight(lat), Sine::CosineWithinRight(lat)};
    return TrigOfAnyLatitude(lat);
}

[[gnu::always_inline]] inline int32_t CosineOfLatitude(int32_t lat)
{
    if (OnEarth(lat)) [[likely]]
        return Sine::CosineWithinRight(lat);
    return TrigOfAnyLatitude(lat).cos;
}

// The Q23 cosine of the great-circle range between two latitudes dlon apart.
// The cosine is even and periodic, so dlon needs no wrap.
[[gnu::always_inline]] inline int32_t CosineOfRange(LatitudeTrig from, LatitudeTrig to,
                                                    int32_t dlon)
{
    return Mul(to.sin, from.sin) + Mul(Mul(to.cos, from.cos), Sine::Int_cos(dlon));
}

// The largest cosine of a range of at least PLANAR_LIMIT: any greater
// cosine's arccosine is below it. The arcsine of the sine table's entry k is
// exactly k arc-minutes, and within the interval above it (less than one
// arc-minute, and there fewer than 4096 units wide) each unit more adds at
// least one angle unit; so the arccosine falls below 90 degrees less k
// arc-minutes exactly past the entry k.
int32_t PlanarCosine()
{
    static_assert(PLANAR_LIMIT % ANGLE_PER_MINUTE == 0, "the limit lies on a table entry");
    return Sine::SINE_TABLE[Sine::TABLE_COUNT - 1 - PLANAR_LIMIT / ANGLE_PER_MINUTE];
}

// Bearing_GreatCircle, given the sine of the range and the cosine of the
// destination's latitude.
[[gnu::always_inline]] inline int32_t BearingOnGreatCircle(LatLonPoint from, LatLonPoint to,
                                                           int32_t range, int32_t sinRange,
                                                           int32_t cosTo)
{
    if (range == 0)
        return 0;
    const int32_t dlat = Minus(to.lat, from.lat);
    const int32_t dlon = Minus(to.lon, from.lon);
    if (dlon == 0)
        return dlat <= 0 ? ANGLE_HALF : 0;
    if (sinRange == 0) {
        FatalError("NavMath::Bearing_GreatCircle: sinrange == 0");
        return 0;
    }
    const int64_t principal = Sine::Int_arcsin(Div(Mul(Sine::Int_sin(dlon), cosTo), sinRange));
    // The arcsine answers -90 to 90 degrees (more past 1.0); a destination to
    // the south lies in the other half, mirrored about east or west. Either
    // mirror comes to the same after the fold into 0 to 360 degrees.
    const int64_t mirror = NegateWhere(ANGLE_HALF, MaskIf(dlon <= 0));
    const int64_t bearing = principal + ((mirror - 2 * principal) & MaskIf(dlat < 0));
    return static_cast<int32_t>(bearing + (ANGLE_FULL & MaskIf(bearing < 0)));
}

// The great-circle range and bearing, given the cosine of the range.
[[gnu::always_inline]] inline NavVector VectorFromCosine(LatLonPoint from, LatLonPoint to,
                                                        int32_t cosRange, int32_t cosTo)
{
    const Sine::AngleAndSine range = Sine::ArccosWithSine(cosRange);
    return {range.angle, BearingOnGreatCircle(from, to, range.angle, range.sine, cosTo)};
}

}  // namespace

NavVector Get_Vector(LatLonPoint from, LatLonPoint to)
{
    // A short leg's range and bearing come from the plane, so its great-circle
    // range is not needed, only whether it is below the limit: the arccosine
    // never rises as the cosine does, so that is a bound on the cosine.
    const LatitudeTrig toTrig = TrigOfLatitude(to.lat);
    const int32_t cosRange = CosineOfRange(TrigOfLatitude(from.lat), toTrig, Minus(to.lon, from.lon));
    if (cosRange > PlanarCosine())
        return Bearing_Planar(from, to);
    return VectorFromCosine(from, to, cosRange, toTrig.cos);
}

NavVector Get_Vector_Planar(LatLonPoint from, LatLonPoint to)
{
    return Bearing_Planar(from, to);
}

NavVector Vector_GreatCircle(LatLonPoint from, LatLonPoint to)
{
    const LatitudeTrig toTrig = TrigOfLatitude(to.lat);
    const int32_t cosRange = CosineOfRange(TrigOfLatitude(from.lat), toTrig, Minus(to.lon, from.lon));
    return VectorFromCosine(from, to, cosRange, toTrig.cos);
}

int32_t Range_GreatCircle(LatLonPoint from, LatLonPoint to)
{
    const int32_t dlon = Minus(to.lon, from.lon);
    return Sine::Int_arccos(CosineOfRange(TrigOfLatitude(from.lat), TrigOfLatitude(to.lat), dlon));
}

int32_t Bearing_GreatCircle(LatLonPoint from, LatLonPoint to, int32_t range)
{
    return BearingOnGreatCircle(from, to, range, Sine::Int_sin(range), CosineOfLatitude(to.lat));
}

NavVector Bearing_Planar(LatLonPoint from, LatLonPoint to)
{
    const int32_t dlat = Minus(to.lat, from.lat);
    const int32_t dlon = WrapLongitude(Minus(to.lon, from.lon));
    int32_t bearing;
    int32_t range;
    if (dlat == 0) {
        bearing = ANGLE_RIGHT - Tangent::Int_arctan(dlat, dlon);   // 90, or 45 when dlon is 0 too
        range = Mul(CosineOfLatitude(from.lat), dlon);
    } else if (dlon == 0) {
        bearing = ANGLE_RIGHT - Tangent::Int_arctan(dlat, dlon);   // 0: due north or south
        range = dlat;
    } else {
        const int32_t east = Mul(dlon, CosineOfLatitude(Half(Plus(from.lat, to.lat))));
        const int32_t arctangent = Tangent::Int_arctan(dlat, east);   // -90 to 90 degrees
        bearing = ANGLE_RIGHT - arctangent;
        // The cosine of 90 degrees less an angle is the angle's sine, to the last unit.
        const int32_t cosBearing = Sine::SineWithinRight(arctangent);
        range = cosBearing != 0 ? Div(dlat, cosBearing) : dlat;
    }
    return FinishPlanar(range, bearing);
}

LatLonPoint Get_LatLonPoint_From_Vector(LatLonPoint from, int32_t range, int32_t bearing)
{
    LatLonPoint to = range <= PLANAR_LIMIT ? Get_LatLonPoint_From_Linear_Vector(from, range, bearing)
                                           : Get_LatLonPoint_GreatCircle(from, range, bearing);
    to.lon = WrapLongitude(to.lon);
    return ClipAtPole(from, to);
}

LatLonPoint Get_LatLonPoint_From_Linear_Vector(LatLonPoint from, int32_t range, int32_t bearing)
{
    if (range == 0)
        return from;
    const int32_t dlat = Mul(range, Sine::Int_cos(bearing));
    const int32_t cosMidLat = CosineOfLatitude(Plus(from.lat, Half(dlat)));
    const int32_t east = Mul(range, Sine::Int_sin(bearing));
    // A step whose middle lies on a pole has no longitude scale there; its
    // east component is taken as it is (the point is clipped onto the pole).
    const int32_t dlon = cosMidLat != 0 ? Div(east, cosMidLat) : east;
    return {Plus(from.lat, dlat), Plus(from.lon, dlon)};
}

LatLonPoint Get_LatLonPoint_GreatCircle(LatLonPoint from, int32_t range, int32_t bearing)
{
    if (range == 0)
        return from;
    const int32_t sinRange = Sine::Int_sin(range);
    const int32_t cosRange = Sine::Int_cos(range);
    const auto [sinLat, cosLat] = TrigOfLatitude(from.lat);
    const int32_t north = Mul(sinRange, Sine::Int_cos(bearing));
    const int32_t lat = Sine::Int_arcsin(Mul(sinLat, cosRange) + Mul(cosLat, north));
    // The longitude change takes the whole circle: a principal value alone
    // would put any point more than 90 degrees of longitude away (a long leg,
    // or any leg over a pole) on the wrong side of the earth.
    const int32_t dlon = FullArctan(Mul(sinRange, Sine::Int_sin(bearing)),
                                    Mul(cosLat, cosRange) - Mul(sinLat, north));
    return {lat, Plus(from.lon, dlon)};
}

LatLonPoint Offset_Flat(LatLonPoint from, int32_t distance, int32_t angle)
{
    const LatLonPoint to(Plus(from.lat, Mul(distance, Sine::Int_cos(angle))),
                         WrapLongitude(Plus(from.lon, Mul(distance, Sine::Int_sin(angle)))));
    return ClipAtPole(from, to);
}

NavVector Vector_Flat(LatLonPoint from, LatLonPoint to)
{
    const int32_t dlat = Minus(to.lat, from.lat);
    const int32_t dlon = WrapLongitude(Minus(to.lon, from.lon));
    const int32_t angle = Tangent::Int_arctan(dlat, dlon);
    const int32_t sinAngle = Sine::Int_sin(angle);      // 0 for |angle| <= 1 unit
    const int32_t range = sinAngle != 0 ? Div(dlat, sinAngle) : dlon;
    return FinishPlanar(range, ANGLE_RIGHT - angle);
}

int32_t Get_Real_Angle_From_Bearing(LatLonPoint at, int32_t bearing)
{
    if (bearing > ANGLE_FULL)
        bearing = (bearing - 1) % ANGLE_FULL + 1;       // whole turns off; 360 stays
    else if (bearing < 0)
        bearing = TurnBy(bearing, 0);
    if (bearing == 0)
        return 0;
    const LatLonPoint probe = Offset_Flat(at, PROBE_STEP, bearing);
    // The probe's longitude was wrapped; so is the difference, else a probe
    // over the 180-degree meridian would look a whole turn wide.
    int32_t east = Scale_By_Cos_Lat(probe, LongMath::LongAbs(WrapLongitude(Minus(probe.lon, at.lon))));
    if (bearing > ANGLE_HALF)
        east = -east;
    const int32_t north = Minus(probe.lat, at.lat);
    const int32_t angle = Tangent::Int_arctan(north, east);
    if (east < 0)
        return ANGLE_THREE_QUARTERS - angle;
    if (east > 0)
        return ANGLE_RIGHT - angle;
    return north < 0 ? ANGLE_HALF : 0;
}

int32_t Get_Bearing_From_Real_Angle(LatLonPoint at, int32_t realAngle)
{
    const int32_t east = Mul(PROBE_STEP, Sine::Int_sin(realAngle));
    const int32_t north = Mul(PROBE_STEP, Sine::Int_cos(realAngle));
    const int32_t lat = Plus(at.lat, north);
    const int32_t cosLat = CosineOfLatitude(lat);
    // A probe ending on a pole has no longitude scale there: as in the
    // local-plane step, its east component is taken as it is.
    const int32_t dlon = cosLat != 0 ? Div(east, cosLat) : east;
    return Vector_Flat(at, LatLonPoint(lat, Plus(at.lon, dlon))).bearing;
}

int32_t Add_Real_Angle(LatLonPoint at, int32_t bearing, int32_t delta)
{
    return Get_Bearing_From_Real_Angle(at, TurnBy(Get_Real_Angle_From_Bearing(at, bearing), delta));
}

int32_t Real_Angle_Between(LatLonPoint at, int32_t bearing1, int32_t bearing2)
{
    if (bearing1 == bearing2)
        return 0;
    return Get_Real_Angle_From_Bearing(at, bearing2) - Get_Real_Angle_From_Bearing(at, bearing1);
}

int32_t Scale_By_Cos_Lat(LatLonPoint at, int32_t value)
{
    return Mul(value, CosineOfLatitude(at.lat));
}

}  // namespace NavMath
