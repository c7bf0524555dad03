// Projection.cpp: the Cassini and Miller cylindrical projections, their
// date-line rules and grid lines, and the Miller ordinate table (written out
// in MillerTable.inc, checked against its formula by the tests).
#include "core/Projection.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/ErrorReport.h"
#include "core/Geometry.h"
#include "core/LongMath.h"
#include "core/MapPen.h"
#include "core/Sine.h"
#include "core/Tangent.h"

namespace {

// The module name the fixed-point overflow reports carry, and the places.
constexpr const char* MODULE = "CASSINI";
constexpr int32_t PLACE_TO_XY_PRODUCT = 103;
constexpr int32_t PLACE_TO_LATLON_PRODUCT = 130;
constexpr int32_t PLACE_LON_QUOTIENT = 161;
constexpr int32_t PLACE_Y_QUOTIENT = 61;

// Cassini sends latitudes beyond this (89 deg 46.571 min, where tan(lat)
// reaches 256 and its Q23 quotient would overflow) to the pole: the limit
// of x, for the same tangent.
constexpr int32_t CASSINI_LAT_LIMIT = CASSINI_X_LIMIT;

// The 0.1-degree lift of a meridian's upper end before it is cut to whole
// degrees, so that an area edge just below a degree still starts there.
constexpr int32_t MERIDIAN_LIFT = ANGLE_PER_DEGREE / 10;   // 24576

// A 64-bit intermediate narrowed to an angle, held at the 32-bit limits.
int32_t ClampAngle(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The sum of two angles folded by whole turns into (-360, +360) degrees: the
// same sine and cosine, and no overflow for any input.
int32_t SumForTrig(int32_t a, int32_t b)
{
    return static_cast<int32_t>((int64_t{a} + b) % ANGLE_FULL);
}

// v + 360 degrees, held at the 32-bit limit.
int32_t AddTurn(int32_t v)
{
    return ClampAngle(int64_t{v} + ANGLE_FULL);
}

// Puts a negative longitude on the eastern side of the 180-degree meridian.
void MoveEastOfDateline(int32_t& lon)
{
    if (lon < 0)
        lon += ANGLE_FULL;   // lon < 0: the sum fits
}

// The rules both projections share. `datelineCase` and `shiftFirst` are the
// projection's own reading of the date-line case.
bool PointInRect(LatLonRect r, LatLonPoint p)
{
    if (r.east < 0 && r.west > 0) {
        r.east += ANGLE_FULL;   // r.east < 0: the sum fits
        MoveEastOfDateline(p.lon);
    }
    return Geometry::Point_In_LatLonRect(r, p);
}

LatLonRect RectFromPoints(LatLonPoint a, LatLonPoint b, bool datelineCase)
{
    if (datelineCase) {
        if (a.lon > 0 && b.lon < 0)
            b.lon += ANGLE_FULL;
        else if (b.lon > 0 && a.lon < 0)
            a.lon += ANGLE_FULL;
    }
    return Geometry::LatLonRect_From_Points(a, b);
}

bool RectsOverlap(LatLonRect r1, const LatLonRect& r2, bool shiftFirst)
{
    if (shiftFirst) {
        r1.west = AddTurn(r1.west);
        r1.east = AddTurn(r1.east);
    }
    return Geometry::LatLonRect_Overlaps(r1, r2);
}

LatLonPoint RectCrossing(LatLonRect r, LatLonPoint a, LatLonPoint b, bool datelineCase)
{
    if (datelineCase) {
        r.east = AddTurn(r.east);
        MoveEastOfDateline(a.lon);
        MoveEastOfDateline(b.lon);
    }
    LatLonPoint p = Geometry::Segment_Rect_Crossing_Point(r, a, b);
    // Back within +-180 degrees. No crossing stays the plain none point.
    if (!p.IsNone() && p.lon > ANGLE_HALF)
        p.lon -= ANGLE_FULL;
    return p;
}

// One grid-line piece in the grid colour.
void DrawPiece(const Projection& projection, const LatLonPoint& from, const LatLonPoint& to)
{
    Nav2Game::MapMoveTo(projection.LatLon_to_XY(from));
    Nav2Game::MapLineTo(projection.LatLon_to_XY(to), Projection::GRID_COLOUR);
}

}  // namespace

// The Miller ordinate table, written out (the formula is in MillerTable.inc;
// the projection tests check every row against it).
constexpr std::array<int32_t, MILLER_TABLE_COUNT> MillerTable = {
#include "core/MillerTable.inc"
};

namespace {

constexpr int32_t MILLER_LAST = MILLER_TABLE_COUNT - 1;   // 5400: 90 degrees

constexpr bool IsStrictlyIncreasing(const std::array<int32_t, MILLER_TABLE_COUNT>& table)
{
    for (int32_t i = 1; i < MILLER_TABLE_COUNT; ++i)
        if (table[i] <= table[i - 1])
            return false;
    return true;
}

static_assert(MillerTable[0] == 0 && MillerTable[600] == 2465624 &&
              MillerTable[2700] == 11868098 && MillerTable[4800] == 25801834 &&
              MillerTable[MILLER_LAST] == 32434370);
static_assert(IsStrictlyIncreasing(MillerTable), "the table is searched both ways");

}  // namespace

// ---------------------------------------------------------------------------
// Projection

Projection* Projection::Create(uint8_t projectionID, const LatLonPoint& origin)
{
    switch (projectionID) {
    case PROJECTION_MILLER:
        return new (std::nothrow) MillerCylindrical(origin);
    case PROJECTION_CASSINI:
        return new (std::nothrow) Cassini(origin);
    default:
        return nullptr;
    }
}

// ---------------------------------------------------------------------------
// Cassini

Cassini::Cassini(const LatLonPoint& origin)
{
    mOrigin = origin.lat < 0 ? -ANGLE_RIGHT : ANGLE_RIGHT;
}

XYPoint Cassini::LatLon_to_XY(LatLonPoint p) const
{
    if (p.lat < -CASSINI_LAT_LIMIT || p.lat > CASSINI_LAT_LIMIT)
        return {0, 0};
    const int32_t product = LongMath::LongMulLong(Sine::Int_cos(p.lat), Sine::Int_sin(p.lon), true,
                                                  MODULE, PLACE_TO_XY_PRODUCT);
    return {Sine::Int_arcsin(product), LatLon_to_Y(p.lat, p.lon)};
}

int32_t Cassini::LatLon_to_Y(int32_t lat, int32_t lon) const
{
    const int32_t cosLat = Sine::Int_cos(lat);
    if (cosLat == 0) {
        FatalError("Cassini::LatLon_to_Y:  Sine::Int_cos(lat) == 0.  Please report this message.");
        return 0;
    }
    const int32_t tanLat = LongMath::LongDivLong_TableShiftLeft(Sine::Int_sin(lat), cosLat, true,
                                                                MODULE, PLACE_Y_QUOTIENT);
    const int32_t a = Tangent::Int_arctan(tanLat, Sine::Int_cos(lon));
    if (mOrigin > 0)
        return a > 0 ? a - ANGLE_RIGHT : a + ANGLE_RIGHT;
    return a < 0 ? a + ANGLE_RIGHT : a - ANGLE_RIGHT;
}

LatLonPoint Cassini::XY_to_LatLon(XYPoint p) const
{
    const int32_t product = LongMath::LongMulLong(Sine::Int_sin(SumForTrig(p.y, mOrigin)),
                                                  Sine::Int_cos(p.x), true, MODULE,
                                                  PLACE_TO_LATLON_PRODUCT);
    return {Sine::Int_arcsin(product), XY_to_Lon(p.x, p.y)};
}

int32_t Cassini::XY_to_Lon(int32_t x, int32_t y) const
{
    const int32_t cosX = Sine::Int_cos(x);
    if (cosX == 0) {
        FatalError("Cassini::XY_to_Lon:  Sine::Int_cos(x) == 0.  Please report this.");
        return 0;
    }
    const int32_t tanX = LongMath::LongDivLong_TableShiftLeft(Sine::Int_sin(x), cosX, true, MODULE,
                                                              PLACE_LON_QUOTIENT);
    const int32_t cosY = Sine::Int_cos(SumForTrig(y, mOrigin));
    // On the horizontal line through a pole (a zero cosine of y + origin,
    // which the table gives a unit or so either side of it) the longitude is
    // -90 degrees west of the central meridian and +90 east, on both sides
    // of the pole. The arctangent alone answers +90 for either half, and the
    // fold past the pole below would carry that to +-270.
    if (cosY == 0 && tanX != 0)
        return tanX < 0 ? -ANGLE_RIGHT : ANGLE_RIGHT;
    const int32_t a = Tangent::Int_arctan(tanX, cosY);
    // On the origin's side of the pole the arctangent is the longitude; past
    // the pole it lies half a turn round.
    const bool nearSide = mOrigin > 0 ? y <= 0 : y >= 0;
    if (nearSide)
        return a;
    return x > 0 ? a + ANGLE_HALF : a - ANGLE_HALF;
}

LatLonRect Cassini::XYRect_to_LatLonRect(XYRect view, LatLonRect bounds) const
{
    const XYPoint topLeft(view.left, view.top);
    const XYPoint topRight(view.right, view.top);
    const XYPoint bottomRight(view.right, view.bottom);
    const XYPoint bottomLeft(view.left, view.bottom);
    // Corners first, then the middles of the top, bottom, left and right
    // edges: the curved parallels bulge between the corners.
    const XYPoint probes[8] = {
        topLeft, topRight, bottomRight, bottomLeft,
        XYPoint::Midpoint(topLeft, topRight), XYPoint::Midpoint(bottomRight, bottomLeft),
        XYPoint::Midpoint(topLeft, bottomLeft), XYPoint::Midpoint(bottomRight, topRight),
    };
    LatLonPoint points[8];
    for (int i = 0; i < 8; ++i)
        points[i] = XY_to_LatLon(probes[i]);

    int32_t north = points[0].lat;
    int32_t south = points[0].lat;
    for (const LatLonPoint& p : points) {
        north = std::max(north, p.lat);
        south = std::min(south, p.lat);
    }

    int32_t west = std::min(points[0].lon, points[1].lon);
    int32_t east = std::max(points[0].lon, points[1].lon);
    const bool crossing = int64_t{east} - west > ANGLE_HALF;
    if (crossing)
        std::swap(west, east);   // west the positive longitude, east the negative
    for (int i = 2; i < 8; ++i) {
        const int32_t lon = points[i].lon;
        if (crossing) {
            if (lon < 0 && lon > east)
                east = lon;
            else if (lon > 0 && lon < west)
                west = lon;
        } else {
            west = std::min(west, lon);
            east = std::max(east, lon);
        }
    }

    north = std::min(north, bounds.north);
    south = std::max(south, bounds.south);
    west = std::max(west, bounds.west);
    east = std::min(east, bounds.east);
    // A view that lies beyond the scenario's edge shrinks to one meridian. A
    // view across the 180-degree meridian keeps its width, on a map that runs
    // round the world as well: there it, too, has west > east after clipping,
    // and comes out below in the aligned form.
    if (!crossing && west > east && bounds.west <= bounds.east)
        east = west;

    LatLonRect result(north, west, south, east);
    // With the pole in view every longitude shows, and the pole's side of the
    // map runs to the scenario's edge.
    if (Geometry::Point_In_XYRect(view, XYPoint(0, 0))) {
        if (mOrigin < 0)
            result = LatLonRect(north, bounds.west, bounds.south, bounds.east);
        else
            result = LatLonRect(bounds.north, bounds.west, south, bounds.east);
    }
    if (result.west > result.east)
        result.east = AddTurn(result.east);
    return result;
}

void Cassini::Draw_Meridian(LatLonPoint upper, LatLonPoint lower) const
{
    const int64_t first = (int64_t{upper.lat} + MERIDIAN_LIFT) / ANGLE_PER_DEGREE;   // toward zero
    const int64_t pieces = first - lower.lat / ANGLE_PER_DEGREE;
    for (int64_t k = 0; k < pieces; ++k) {
        const LatLonPoint from(ClampAngle((first - k) * ANGLE_PER_DEGREE), upper.lon);
        const LatLonPoint to(ClampAngle((first - k - 1) * ANGLE_PER_DEGREE), lower.lon);
        DrawPiece(*this, from, to);
    }
}

void Cassini::Draw_Parallel(LatLonPoint western, LatLonPoint eastern) const
{
    const int64_t pieces = eastern.lon / ANGLE_PER_DEGREE - western.lon / ANGLE_PER_DEGREE;
    for (int64_t k = 0; k < pieces; ++k) {
        const LatLonPoint from(western.lat, ClampAngle(western.lon + k * ANGLE_PER_DEGREE));
        const LatLonPoint to(eastern.lat, ClampAngle(western.lon + (k + 1) * ANGLE_PER_DEGREE));
        DrawPiece(*this, from, to);
    }
}

LatLonPoint Cassini::Align_Point(LatLonPoint ref, LatLonPoint p) const
{
    if (p.lon < 0 && ref.lon > 0)
        p.lon += ANGLE_FULL;
    return p;
}

bool Cassini::Point_In_LatLonRect(LatLonRect r, LatLonPoint p) const
{
    return PointInRect(r, p);
}

LatLonRect Cassini::LatLonRect_From_Points(LatLonPoint a, LatLonPoint b) const
{
    return RectFromPoints(a, b, Crosses_Dateline(a, b));
}

bool Cassini::LatLonRects_Overlap(LatLonRect r1, LatLonRect r2) const
{
    return RectsOverlap(r1, r2, r2.east > ANGLE_HALF && r2.west > 0 && r1.west < 0);
}

bool Cassini::Crosses_Dateline(LatLonPoint a, LatLonPoint b) const
{
    const int64_t apart = int64_t{a.lon} - b.lon;
    return apart > ANGLE_HALF || apart < -ANGLE_HALF;
}

LatLonPoint Cassini::Segment_Rect_Crossing_Point(LatLonRect r, LatLonPoint a, LatLonPoint b) const
{
    return RectCrossing(r, a, b, Crosses_Dateline(a, b));
}

bool Cassini::Converts_XYRect(const XYRect& r) const
{
    const auto within = [](int32_t x) { return x >= -CASSINI_X_LIMIT && x <= CASSINI_X_LIMIT; };
    return within(r.left) && within(r.right);
}

int32_t Cassini::Get_Origin_Lat() const
{
    return mOrigin;
}

bool Cassini::Parity_Matches(uint16_t number) const
{
    return number % 2 == 0;
}

// ---------------------------------------------------------------------------
// MillerCylindrical

MillerCylindrical::MillerCylindrical(const LatLonPoint& origin)
{
    int32_t lon = origin.lon % ANGLE_FULL;   // (-360, 360) degrees
    if (lon > ANGLE_HALF)
        lon -= ANGLE_FULL;
    else if (lon <= -ANGLE_HALF)
        lon += ANGLE_FULL;
    mOrigin = lon;
}

bool MillerCylindrical::IsDatelineCentred() const
{
    return mOrigin == ANGLE_HALF;
}

XYPoint MillerCylindrical::LatLon_to_XY(LatLonPoint p) const
{
    int64_t x = p.lon;
    if (mOrigin != 0) {
        x -= mOrigin;
        if (x < -ANGLE_HALF)
            x += ANGLE_FULL;
    }

    const uint32_t magnitude = static_cast<uint32_t>(LongMath::LongAbs(p.lat));
    const uint32_t minute = magnitude / ANGLE_PER_MINUTE;
    int32_t y = MillerTable[MILLER_LAST];
    if (minute < static_cast<uint32_t>(MILLER_LAST)) {
        const int32_t low = MillerTable[minute];
        const int32_t step = MillerTable[minute + 1] - low;   // below 2^14
        const int32_t fraction = static_cast<int32_t>(magnitude % ANGLE_PER_MINUTE);
        y = low + ((step * fraction) >> 12);
    }
    return {ClampAngle(x), p.lat < 0 ? -y : y};
}

LatLonPoint MillerCylindrical::XY_to_LatLon(XYPoint p) const
{
    int64_t lon = int64_t{p.x} + mOrigin;
    if (lon > ANGLE_HALF)
        lon -= ANGLE_FULL;
    const int32_t lat = Tangent::Table_Inverse(LongMath::LongAbs(p.y), MillerTable.data(),
                                               MILLER_TABLE_COUNT);
    return {p.y < 0 ? -lat : lat, ClampAngle(lon)};
}

LatLonRect MillerCylindrical::XYRect_to_LatLonRect(XYRect view, LatLonRect bounds) const
{
    const LatLonPoint northWest = XY_to_LatLon(XYPoint(view.left, view.top));
    const LatLonPoint southEast = XY_to_LatLon(XYPoint(view.right, view.bottom));
    LatLonRect result;
    result.north = std::min(ClampAngle(int64_t{northWest.lat} + ANGLE_PER_DEGREE), bounds.north);
    result.west = std::max(ClampAngle(int64_t{northWest.lon} - ANGLE_PER_DEGREE), bounds.west);
    result.south = std::max(ClampAngle(int64_t{southEast.lat} - ANGLE_PER_DEGREE), bounds.south);
    result.east = std::min(ClampAngle(int64_t{southEast.lon} + ANGLE_PER_DEGREE), bounds.east);
    if (result.east < result.west)
        result.east = bounds.east > bounds.west ? bounds.east : AddTurn(result.east);
    return result;
}

void MillerCylindrical::Draw_Meridian(LatLonPoint upper, LatLonPoint lower) const
{
    DrawPiece(*this, upper, lower);
}

void MillerCylindrical::Draw_Parallel(LatLonPoint western, LatLonPoint eastern) const
{
    DrawPiece(*this, western, eastern);
}

LatLonPoint MillerCylindrical::Align_Point(LatLonPoint ref, LatLonPoint p) const
{
    if (IsDatelineCentred() && p.lon < 0 && ref.lon > 0)
        p.lon += ANGLE_FULL;
    return p;
}

bool MillerCylindrical::Point_In_LatLonRect(LatLonRect r, LatLonPoint p) const
{
    return PointInRect(r, p);
}

LatLonRect MillerCylindrical::LatLonRect_From_Points(LatLonPoint a, LatLonPoint b) const
{
    return RectFromPoints(a, b, IsDatelineCentred());
}

bool MillerCylindrical::LatLonRects_Overlap(LatLonRect r1, LatLonRect r2) const
{
    return RectsOverlap(r1, r2, IsDatelineCentred() && r2.west > 0 && r1.west < 0);
}

bool MillerCylindrical::Crosses_Dateline(LatLonPoint a, LatLonPoint b) const
{
    return IsDatelineCentred() && ((a.lon < 0 && b.lon > 0) || (a.lon > 0 && b.lon < 0));
}

LatLonPoint MillerCylindrical::Segment_Rect_Crossing_Point(LatLonRect r, LatLonPoint a,
                                                           LatLonPoint b) const
{
    return RectCrossing(r, a, b, IsDatelineCentred());
}

bool MillerCylindrical::Converts_XYRect(const XYRect&) const
{
    return true;
}

int32_t MillerCylindrical::Get_Origin_Lat() const
{
    return 0;
}

bool MillerCylindrical::Parity_Matches(uint16_t number) const
{
    return number % 2 == 1;
}
