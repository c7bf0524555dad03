// Tests of the map projections: the Miller table, both Cassini variants and
// both Miller variants against a double-precision model and round trips, the
// view rectangles with the pole and the 180-degree meridian, the grid lines
// as the map pen records them, the date-line rules, and the fatal cases.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/Projection.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"

namespace {

constexpr int32_t DEG = ANGLE_PER_DEGREE;
constexpr double PI = 3.14159265358979323846;

// Angle units from degrees, to the nearest unit.
int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * DEG));
}

double ToDegrees(int32_t angle)
{
    return static_cast<double>(angle) / DEG;
}

double Rad(double degrees)
{
    return degrees * PI / 180.0;
}

double Degrees(double radians)
{
    return radians * 180.0 / PI;
}

// The polar Cassini projection in double precision: origin +1 north, -1 south.
XYPoint ModelCassiniToXY(double latDeg, double lonDeg, int origin)
{
    const double lat = Rad(latDeg);
    const double lon = Rad(lonDeg);
    const double x = Degrees(std::asin(std::cos(lat) * std::sin(lon)));
    const double y = Degrees(std::atan2(std::tan(lat), std::cos(lon))) - 90.0 * origin;
    return {Deg(x), Deg(y)};
}

LatLonPoint ModelCassiniToLatLon(double xDeg, double yDeg, int origin)
{
    const double x = Rad(xDeg);
    const double y = Rad(yDeg);
    const double lat = origin * Degrees(std::asin(std::cos(x) * std::cos(y)));
    const double lon = Degrees(std::atan2(std::tan(x), -origin * std::sin(y)));
    return {Deg(lat), Deg(lon)};
}

// Longitude difference folded into one turn.
int64_t LonApart(int32_t a, int32_t b)
{
    int64_t d = (int64_t{a} - b) % ANGLE_FULL;
    if (d > ANGLE_HALF)
        d -= ANGLE_FULL;
    if (d < -ANGLE_HALF)
        d += ANGLE_FULL;
    return d < 0 ? -d : d;
}

// A tenth of an arc-minute: the fixed-point tables keep Cassini this close.
constexpr int32_t CLOSE = ANGLE_PER_MINUTE / 10;

const Cassini kNorth(LatLonPoint(ANGLE_RIGHT, 0));
const Cassini kSouth(LatLonPoint(-ANGLE_RIGHT, 0));
const MillerCylindrical kMiller0(LatLonPoint(0, 0));
const MillerCylindrical kMiller180(LatLonPoint(0, ANGLE_HALF));

}  // namespace

TEST(MillerTable, HoldsTheKnownRowsAndIncreasesStrictly)
{
    EXPECT_EQ(MillerTable[0], 0);
    EXPECT_EQ(MillerTable[600], 2465624);     // 10 degrees
    EXPECT_EQ(MillerTable[2700], 11868098);   // 45 degrees
    EXPECT_EQ(MillerTable[4800], 25801834);   // 80 degrees
    EXPECT_EQ(MillerTable[5400], 32434370);   // the pole
    for (int i = 1; i < MILLER_TABLE_COUNT; ++i)
        ASSERT_GT(MillerTable[i], MillerTable[i - 1]) << "entry " << i;
    // Never more than 10 units below the exact ordinate, nor above it by more
    // than the rounding.
    for (int i = 0; i < MILLER_TABLE_COUNT; ++i) {
        const double phi = Rad(i / 60.0);
        const double exact = Degrees(1.25 * std::log(std::tan(PI / 4 + 0.4 * phi))) * DEG;
        ASSERT_LE(MillerTable[i], exact + 0.5) << "entry " << i;
        ASSERT_GE(MillerTable[i], exact - 10.0) << "entry " << i;
    }
}

TEST(MillerTable, IsItsFormulaRowForRow)
{
    // The written-out table is the formula evaluated in doubles, exactly.
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < MILLER_TABLE_COUNT; ++i) {
        const double phi = i / 60.0 * pi / 180.0;
        const double ordinate = 1.25 * std::log(std::tan(pi / 4.0 + 0.4 * phi));
        const auto row = static_cast<int32_t>(std::floor(ordinate * 57.295768 * ANGLE_PER_DEGREE + 0.5));
        ASSERT_EQ(MillerTable[i], row) << "entry " << i;
    }
}

TEST(ProjectionCreate, BuildsEachVariantFromItsIdentifier)
{
    const std::string names[4] = {"Miller Cylindrical  (0,0)", "Miller Cylindrical  (0,180)",
                                  "Cassini/North Polar (90,0)", "Cassini/South Polar (-90,0)"};
    const int32_t originLats[4] = {0, 0, ANGLE_RIGHT, -ANGLE_RIGHT};
    for (int i = 0; i < 4; ++i) {
        const ProjectionVariant& v = PROJECTION_VARIANTS[i];
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(v.name, names[i]);
        std::unique_ptr<Projection> p(Projection::Create(v.projectionID, v.origin));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Get_Origin_Lat(), originLats[i]);
        const bool cassini = v.projectionID == PROJECTION_CASSINI;
        EXPECT_EQ(dynamic_cast<Cassini*>(p.get()) != nullptr, cassini);
        EXPECT_EQ(p->Parity_Matches(4), cassini);    // Cassini: even numbers
        EXPECT_EQ(p->Parity_Matches(7), !cassini);   // Miller: odd ones
    }
    // The Miller origin that counts is the longitude: 180 degrees centres the
    // map on the date line (lon 180 at x = 0).
    std::unique_ptr<Projection> centred(Projection::Create(PROJECTION_MILLER, {0, ANGLE_HALF}));
    EXPECT_EQ(centred->LatLon_to_XY({0, ANGLE_HALF}), XYPoint(0, 0));
    EXPECT_EQ(Projection::Create(0, {}), nullptr);
    EXPECT_EQ(Projection::Create(3, {}), nullptr);
}

TEST(CassiniProjection, NearThePoleFollowsTheCentralMeridian)
{
    struct Row { const Cassini* projection; int32_t lat, lon; XYPoint expected; };
    const Row rows[] = {
        {&kNorth, 89 * DEG, 0, {0, -DEG}},              // meridian 0 runs down from the pole
        {&kNorth, 89 * DEG, 180 * DEG, {0, DEG}},       // meridian 180 runs up
        {&kSouth, -89 * DEG, 0, {0, DEG}},              // mirrored
        {&kSouth, -89 * DEG, 180 * DEG, {0, -DEG}},
        {&kNorth, 22063395, 45 * DEG, {0, 0}},          // within 13.43' of a pole: the pole
        {&kNorth, ANGLE_RIGHT, 0, {0, 0}},
        {&kNorth, INT32_MAX, 0, {0, 0}},
        {&kSouth, -22063395, 10 * DEG, {0, 0}},
        {&kSouth, INT32_MIN, 0, {0, 0}},
    };
    ReportCapture reports;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_EQ(r.projection->LatLon_to_XY({r.lat, r.lon}), r.expected);
    }
    // Just inside the limit the point is projected, not sent to the pole.
    EXPECT_NE(kNorth.LatLon_to_XY({22063394, 90 * DEG}), XYPoint(0, 0));
    EXPECT_TRUE(reports.fatals.empty());
}

TEST(CassiniProjection, MatchesTheModelAndComesBack)
{
    struct Row { double lat, lon; };
    const Row rows[] = {
        {80, 0}, {80, 45}, {80, 135}, {80, -45}, {80, -135}, {80, 180}, {70.5, 90},
        {60, -90},   // on y = 0 west of the pole: used to come back at +90
        {45.25, 10.75}, {30, 179.5}, {30, -179.5}, {10, -100}, {89.7, 60},
    };
    for (int origin : {1, -1}) {
        const Cassini& projection = origin > 0 ? kNorth : kSouth;
        for (const Row& r : rows) {
            const double lat = r.lat * origin;
            SCOPED_TRACE(testing::Message() << "origin " << origin << ": " << lat << ", " << r.lon);
            const LatLonPoint p(Deg(lat), Deg(r.lon));
            const XYPoint xy = projection.LatLon_to_XY(p);
            const XYPoint model = ModelCassiniToXY(lat, r.lon, origin);
            EXPECT_NEAR(xy.x, model.x, CLOSE);
            EXPECT_NEAR(xy.y, model.y, CLOSE);
            const LatLonPoint back = projection.XY_to_LatLon(xy);
            EXPECT_NEAR(back.lat, p.lat, CLOSE);
            if (std::fabs(r.lat) < 89) {   // at the pole every longitude is one point
                EXPECT_LE(LonApart(back.lon, p.lon), CLOSE);
            }
        }
    }
}

TEST(CassiniProjection, LineThroughThePoleIsMeridianNinetyOnBothSides)
{
    // Where the cosine of y + origin is 0 (y = 0 and a unit either side of
    // it, y = +-180 through the far pole) the longitude is -90 west of the
    // central meridian and +90 east, whichever side of the pole the point
    // lies on. The far side used to come back at +-270 degrees.
    struct Row { const Cassini* projection; int32_t y; };
    const Row rows[] = {
        {&kNorth, 0}, {&kNorth, 1}, {&kNorth, -1}, {&kNorth, 180 * DEG}, {&kNorth, -180 * DEG},
        {&kSouth, 0}, {&kSouth, 1}, {&kSouth, -1}, {&kSouth, 180 * DEG}, {&kSouth, -180 * DEG},
    };
    ReportCapture reports;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "origin " << ToDegrees(r.projection->Get_Origin_Lat())
                                        << ", y " << r.y);
        EXPECT_EQ(r.projection->XY_to_Lon(-10 * DEG, r.y), -90 * DEG);
        EXPECT_EQ(r.projection->XY_to_Lon(10 * DEG, r.y), 90 * DEG);
    }
    // An arc-minute off the line the arctangent takes over, on either side.
    for (const double y : {1.0 / 60, -1.0 / 60}) {
        for (const double x : {-10.0, 10.0}) {
            SCOPED_TRACE(testing::Message() << "x " << x << ", y " << y);
            EXPECT_LE(LonApart(kNorth.XY_to_Lon(Deg(x), Deg(y)), ModelCassiniToLatLon(x, y, 1).lon), CLOSE);
        }
    }
    EXPECT_TRUE(reports.fatals.empty());
}

TEST(MillerProjection, ProjectsLongitudesFromItsOrigin)
{
    struct Row { const MillerCylindrical* projection; int32_t lon, x; };
    const Row rows[] = {
        {&kMiller0, 0, 0},
        {&kMiller0, -170 * DEG, -170 * DEG},
        {&kMiller0, 180 * DEG, 180 * DEG},
        {&kMiller180, 180 * DEG, 0},
        {&kMiller180, 0, -180 * DEG},
        {&kMiller180, -1 * DEG, 179 * DEG},
        {&kMiller180, 170 * DEG, -10 * DEG},
        {&kMiller180, -180 * DEG, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "lon " << ToDegrees(r.lon));
        EXPECT_EQ(r.projection->LatLon_to_XY({0, r.lon}).x, r.x);
    }
    // And back: x = 90 degrees on the date-line map is longitude -90.
    EXPECT_EQ(kMiller180.XY_to_LatLon({90 * DEG, 0}).lon, -90 * DEG);
    EXPECT_EQ(kMiller180.XY_to_LatLon({-180 * DEG, 0}).lon, 0);
    EXPECT_EQ(kMiller0.XY_to_LatLon({-30 * DEG, 0}).lon, -30 * DEG);
}

TEST(MillerProjection, ProjectsLatitudesThroughTheTable)
{
    struct Row { int32_t lat, y; };
    const Row rows[] = {
        {0, 0},
        {10 * DEG, 2465624},
        {-10 * DEG, -2465624},
        {45 * DEG, 11868098},
        // Half an arc-minute past 10 degrees: halfway to the next entry.
        {10 * DEG + 2048, 2465624 + (MillerTable[601] - MillerTable[600]) / 2},
        {90 * DEG, 32434370},
        {-90 * DEG, -32434370},
        {95 * DEG, 32434370},                      // beyond the pole: held there
        {INT32_MIN, -32434370},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "lat " << ToDegrees(r.lat));
        EXPECT_EQ(kMiller0.LatLon_to_XY({r.lat, 0}).y, r.y);
        EXPECT_EQ(kMiller180.LatLon_to_XY({r.lat, 0}).y, r.y);
    }
}

TEST(MillerProjection, ComesBack)
{
    for (const MillerCylindrical* projection : {&kMiller0, &kMiller180}) {
        for (double lat : {-89.9, -60.5, -10.01, 0.0, 0.3, 33.3, 75.0, 89.99}) {
            for (double lon : {-179.9, -90.0, -0.4, 0.0, 12.34, 179.0, 180.0}) {
                SCOPED_TRACE(testing::Message() << lat << ", " << lon);
                const LatLonPoint p(Deg(lat), Deg(lon));
                const LatLonPoint back = projection->XY_to_LatLon(projection->LatLon_to_XY(p));
                EXPECT_NEAR(back.lat, p.lat, 1);
                EXPECT_EQ(LonApart(back.lon, p.lon), 0);
            }
        }
    }
}

TEST(MillerProjection, ViewRectangleWidensByADegreeAndClips)
{
    const XYRect view(10 * DEG, MillerTable[3000], 20 * DEG, MillerTable[2400]);   // 50 to 40 N
    struct Row { const MillerCylindrical* projection; XYRect view; LatLonRect bounds, expected; };
    const Row rows[] = {
        {&kMiller0, view, {60 * DEG, 0, 30 * DEG, 30 * DEG}, {51 * DEG, 9 * DEG, 39 * DEG, 21 * DEG}},
        {&kMiller0, view, {45 * DEG, 12 * DEG, 42 * DEG, 18 * DEG},
         {45 * DEG, 12 * DEG, 42 * DEG, 18 * DEG}},
        // Corners that come out with east < west, bounds not across the date
        // line: east goes to the bounds' east edge.
        {&kMiller0, {20 * DEG, MillerTable[3000], 10 * DEG, MillerTable[2400]},
         {60 * DEG, 0, 30 * DEG, 30 * DEG}, {51 * DEG, 19 * DEG, 39 * DEG, 30 * DEG}},
        // A date-line view (x -20 to 20 on the map centred on 180) over bounds
        // across the date line: the aligned form, east + 360 degrees.
        {&kMiller180, {-20 * DEG, MillerTable[3000], 20 * DEG, MillerTable[2400]},
         {60 * DEG, 150 * DEG, 30 * DEG, -150 * DEG}, {51 * DEG, 159 * DEG, 39 * DEG, 201 * DEG}},
        // The same view over bounds round the world.
        {&kMiller180, {-20 * DEG, MillerTable[3000], 20 * DEG, MillerTable[2400]},
         {60 * DEG, -180 * DEG, 30 * DEG, 180 * DEG}, {51 * DEG, 159 * DEG, 39 * DEG, 180 * DEG}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "bounds " << ToDegrees(r.bounds.west) << " to "
                                        << ToDegrees(r.bounds.east));
        EXPECT_EQ(r.projection->XYRect_to_LatLonRect(r.view, r.bounds), r.expected);
    }
}

TEST(CassiniProjection, ViewWithThePoleRunsToTheScenarioEdge)
{
    const XYRect aroundPole(-DEG, DEG, DEG, -DEG);
    // The corners at (+-1, +-1) degrees lie at 88.586 degrees of latitude.
    const double cornerLat = Degrees(std::asin(std::cos(Rad(1)) * std::cos(Rad(1))));

    const LatLonRect north = kNorth.XYRect_to_LatLonRect(aroundPole, {90 * DEG, -180 * DEG, 45 * DEG, 180 * DEG});
    EXPECT_EQ(north.north, 90 * DEG);
    EXPECT_EQ(north.west, -180 * DEG);
    EXPECT_EQ(north.east, 180 * DEG);
    EXPECT_NEAR(north.south, Deg(cornerLat), CLOSE);

    const LatLonRect south = kSouth.XYRect_to_LatLonRect(aroundPole, {-45 * DEG, -180 * DEG, -90 * DEG, 180 * DEG});
    EXPECT_EQ(south.south, -90 * DEG);
    EXPECT_EQ(south.west, -180 * DEG);
    EXPECT_EQ(south.east, 180 * DEG);
    EXPECT_NEAR(south.north, -Deg(cornerLat), CLOSE);

    // Bounds across the date line come back in the aligned form.
    const LatLonRect across = kNorth.XYRect_to_LatLonRect(aroundPole, {90 * DEG, 150 * DEG, 45 * DEG, -150 * DEG});
    EXPECT_EQ(across, LatLonRect(90 * DEG, 150 * DEG, across.south, 210 * DEG));
}

TEST(CassiniProjection, ViewBesideThePoleSpansItsCornersAndEdgeMiddles)
{
    // x 1 to 5 degrees, y -1 to 1: the pole lies just off the view's west
    // side, so the view covers longitudes about 45 to 135 (meridian 90 runs
    // east), reached at the corners nearest the pole.
    const XYRect view(DEG, DEG, 5 * DEG, -DEG);
    const LatLonRect r = kNorth.XYRect_to_LatLonRect(view, {90 * DEG, -180 * DEG, 0, 180 * DEG});
    EXPECT_NEAR(r.west, ModelCassiniToLatLon(1, -1, 1).lon, CLOSE);
    EXPECT_NEAR(r.east, ModelCassiniToLatLon(1, 1, 1).lon, CLOSE);
    // North from the middle of the west edge (1, 0), south from the far corners.
    EXPECT_NEAR(r.north, ModelCassiniToLatLon(1, 0, 1).lat, CLOSE);
    EXPECT_NEAR(r.south, ModelCassiniToLatLon(5, 1, 1).lat, CLOSE);

    // Clipped to the bounds; a view wholly east of them shrinks to a meridian.
    const LatLonRect clipped = kNorth.XYRect_to_LatLonRect(view, {88 * DEG, 60 * DEG, 0, 100 * DEG});
    EXPECT_EQ(clipped.north, 88 * DEG);
    EXPECT_EQ(clipped.west, 60 * DEG);
    EXPECT_EQ(clipped.east, 100 * DEG);
    const LatLonRect beyond = kNorth.XYRect_to_LatLonRect(view, {90 * DEG, -60 * DEG, 0, 10 * DEG});
    EXPECT_EQ(beyond.east, beyond.west);
}

TEST(CassiniProjection, ViewAcrossTheDateLineComesBackAligned)
{
    // x -2 to 2 degrees, y 10 to 12 on the north-polar map: around meridian
    // 180, from 168.6 E across to 168.6 W.
    const XYRect view(-2 * DEG, 12 * DEG, 2 * DEG, 10 * DEG);
    const int32_t edge = ModelCassiniToLatLon(2, 10, 1).lon;   // about 168.6 degrees
    struct Row { LatLonRect bounds; };
    const Row rows[] = {
        {{90 * DEG, 150 * DEG, 45 * DEG, -150 * DEG}},   // bounds across the date line
        // Bounds round the world: used to shrink to the one meridian at 168.6
        // degrees, so a view across the date line showed no grid or shading.
        {{90 * DEG, -180 * DEG, 45 * DEG, 180 * DEG}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "bounds west " << ToDegrees(row.bounds.west));
        const LatLonRect r = kNorth.XYRect_to_LatLonRect(view, row.bounds);
        EXPECT_NEAR(r.west, edge, CLOSE);
        EXPECT_NEAR(r.east, ANGLE_FULL - edge, CLOSE);
        EXPECT_NEAR(r.north, ModelCassiniToLatLon(0, 10, 1).lat, CLOSE);
        EXPECT_NEAR(r.south, ModelCassiniToLatLon(2, 12, 1).lat, CLOSE);
    }
}

namespace {

// The calls one grid piece from `from` to `to` makes on the pen.
void ExpectPiece(const Projection& projection, std::vector<PenCall>& expected,
                 LatLonPoint from, LatLonPoint to)
{
    expected.push_back({PenCall::Move, projection.LatLon_to_XY(from), 0});
    expected.push_back({PenCall::Line, projection.LatLon_to_XY(to), Projection::GRID_COLOUR});
}

}  // namespace

TEST(CassiniGridLines, MeridiansRunInWholeDegreePiecesFromTheLiftedTop)
{
    struct Row { double upper, lower; int first, pieces; };
    const Row rows[] = {
        {45.05, 40, 45, 5},
        {44.89, 40, 44, 4},       // 0.1 degree lift does not reach 45
        {44.95, 40, 45, 5},       // within 0.1 degree below 45: starts there
        {-10.5, -15, -10, 5},     // toward zero on the southern side
        {40, 40, 40, 0},
        {40, 45, 40, 0},          // upside down: nothing
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.upper << " to " << r.lower);
        RecordingPenScope pen;
        kNorth.Draw_Meridian({Deg(r.upper), 30 * DEG}, {Deg(r.lower), 30 * DEG});
        std::vector<PenCall> expected;
        for (int k = 0; k < r.pieces; ++k)
            ExpectPiece(kNorth, expected, {(r.first - k) * DEG, 30 * DEG},
                        {(r.first - k - 1) * DEG, 30 * DEG});
        EXPECT_EQ(pen.calls, expected);
    }
}

TEST(CassiniGridLines, ParallelsRunInWholeDegreePiecesEastward)
{
    RecordingPenScope pen;
    kSouth.Draw_Parallel({-60 * DEG, -3 * DEG}, {-60 * DEG, 2 * DEG});
    std::vector<PenCall> expected;
    for (int lon = -3; lon < 2; ++lon)
        ExpectPiece(kSouth, expected, {-60 * DEG, lon * DEG}, {-60 * DEG, (lon + 1) * DEG});
    EXPECT_EQ(pen.calls, expected);

    pen.Clear();
    kSouth.Draw_Parallel({-60 * DEG, 5 * DEG}, {-60 * DEG, 5 * DEG});
    EXPECT_TRUE(pen.calls.empty());
}

TEST(MillerGridLines, DrawOneStraightSegmentEach)
{
    RecordingPenScope pen;
    kMiller180.Draw_Meridian({40 * DEG, 170 * DEG}, {30 * DEG, 170 * DEG});
    kMiller180.Draw_Parallel({35 * DEG, 160 * DEG}, {35 * DEG, 200 * DEG});
    std::vector<PenCall> expected;
    ExpectPiece(kMiller180, expected, {40 * DEG, 170 * DEG}, {30 * DEG, 170 * DEG});
    ExpectPiece(kMiller180, expected, {35 * DEG, 160 * DEG}, {35 * DEG, 200 * DEG});
    EXPECT_EQ(pen.calls, expected);
    EXPECT_EQ(pen.calls[3].point, XYPoint(20 * DEG, kMiller180.LatLon_to_XY({35 * DEG, 0}).y));
}

TEST(ProjectionDateline, AlignPointMovesWesternPointsEast)
{
    struct Row { const Projection* projection; int32_t refLon, lon, expected; };
    const Row rows[] = {
        {&kNorth, 170 * DEG, -170 * DEG, 190 * DEG},
        {&kNorth, -10 * DEG, -170 * DEG, -170 * DEG},
        {&kNorth, 170 * DEG, 10 * DEG, 10 * DEG},
        {&kNorth, 0, -170 * DEG, -170 * DEG},
        {&kMiller180, 170 * DEG, -170 * DEG, 190 * DEG},
        {&kMiller0, 170 * DEG, -170 * DEG, -170 * DEG},   // only the date-line map
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << ToDegrees(r.refLon) << ", " << ToDegrees(r.lon));
        EXPECT_EQ(r.projection->Align_Point({5, r.refLon}, {7, r.lon}), LatLonPoint(7, r.expected));
    }
}

TEST(ProjectionDateline, PointInRectHandlesRectanglesAcrossIt)
{
    const LatLonRect across(10 * DEG, 170 * DEG, 0, -170 * DEG);
    const LatLonRect plain(10 * DEG, -10 * DEG, 0, 10 * DEG);
    struct Row { LatLonRect r; int32_t lat, lon; bool inside; };
    const Row rows[] = {
        {across, 5 * DEG, -175 * DEG, true},
        {across, 5 * DEG, 175 * DEG, true},
        {across, 5 * DEG, 180 * DEG, true},
        {across, 5 * DEG, -165 * DEG, false},
        {across, 5 * DEG, 165 * DEG, false},
        {across, 11 * DEG, 175 * DEG, false},
        {plain, 5 * DEG, 0, true},
        {plain, 10 * DEG, 10 * DEG, true},   // edges count
        {plain, 5 * DEG, 11 * DEG, false},
    };
    for (const Projection* projection : {static_cast<const Projection*>(&kNorth),
                                         static_cast<const Projection*>(&kMiller0)}) {
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << ToDegrees(r.lat) << ", " << ToDegrees(r.lon));
            EXPECT_EQ(projection->Point_In_LatLonRect(r.r, {r.lat, r.lon}), r.inside);
        }
    }
}

TEST(ProjectionDateline, CrossingIsReadByEachProjection)
{
    struct Row { const Projection* projection; int32_t a, b; bool crosses; };
    const Row rows[] = {
        {&kNorth, 170 * DEG, -170 * DEG, true},
        {&kNorth, 90 * DEG, -90 * DEG, false},        // exactly half a turn apart
        {&kNorth, 90 * DEG, -90 * DEG - 1, true},
        {&kNorth, INT32_MAX, INT32_MIN, true},        // the difference needs 33 bits
        {&kMiller0, 170 * DEG, -170 * DEG, false},    // never on the map centred on 0
        {&kMiller180, 10 * DEG, -10 * DEG, true},     // opposite signs, whatever the distance
        {&kMiller180, 0, -10 * DEG, false},
        {&kMiller180, 10 * DEG, 20 * DEG, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << ", " << r.b);
        EXPECT_EQ(r.projection->Crosses_Dateline({0, r.a}, {0, r.b}), r.crosses);
    }
}

TEST(ProjectionDateline, RectFromPointsAndOverlapShiftAcrossIt)
{
    struct FromRow { const Projection* projection; LatLonPoint a, b; LatLonRect expected; };
    const FromRow fromRows[] = {
        {&kNorth, {10 * DEG, 170 * DEG}, {0, -170 * DEG}, {10 * DEG, 170 * DEG, 0, 190 * DEG}},
        {&kNorth, {10 * DEG, -170 * DEG}, {0, 170 * DEG}, {10 * DEG, 170 * DEG, 0, 190 * DEG}},
        {&kNorth, {10 * DEG, 10 * DEG}, {0, -10 * DEG}, {10 * DEG, -10 * DEG, 0, 10 * DEG}},
        {&kMiller0, {10 * DEG, 170 * DEG}, {0, -170 * DEG}, {10 * DEG, -170 * DEG, 0, 170 * DEG}},
        {&kMiller180, {10 * DEG, 10 * DEG}, {0, -10 * DEG}, {10 * DEG, 10 * DEG, 0, 350 * DEG}},
    };
    for (const FromRow& r : fromRows) {
        SCOPED_TRACE(testing::Message() << ToDegrees(r.a.lon) << ", " << ToDegrees(r.b.lon));
        EXPECT_EQ(r.projection->LatLonRect_From_Points(r.a, r.b), r.expected);
    }

    const LatLonRect aligned(10 * DEG, 170 * DEG, 0, 190 * DEG);
    const LatLonRect tileWest(5 * DEG, -176 * DEG, 4 * DEG, -175 * DEG);   // east of the line
    const LatLonRect tileFar(5 * DEG, 100 * DEG, 4 * DEG, 101 * DEG);
    const LatLonRect plain(10 * DEG, 10 * DEG, 0, 20 * DEG);
    struct OverlapRow { const Projection* projection; LatLonRect r1, r2; bool overlap; };
    const OverlapRow overlapRows[] = {
        {&kNorth, tileWest, aligned, true},
        {&kNorth, tileFar, aligned, false},
        {&kNorth, tileWest, plain, false},
        {&kMiller180, tileWest, aligned, true},
        {&kMiller0, tileWest, aligned, false},      // no shift on the map centred on 0
        {&kMiller0, plain, plain, true},
    };
    for (const OverlapRow& r : overlapRows) {
        SCOPED_TRACE(testing::Message() << ToDegrees(r.r1.west) << " vs " << ToDegrees(r.r2.west));
        EXPECT_EQ(r.projection->LatLonRects_Overlap(r.r1, r.r2), r.overlap);
    }
}

TEST(ProjectionDateline, SegmentLeavesTheRectangleWithinHalfATurn)
{
    const LatLonRect across(80 * DEG, 170 * DEG, 70 * DEG, -170 * DEG);
    const LatLonRect plain(10 * DEG, -10 * DEG, 0, 10 * DEG);
    struct Row { const Projection* projection; LatLonRect r; LatLonPoint a, b, expected; };
    const Row rows[] = {
        // Across the line the east edge is met at 190, reported as -170.
        {&kNorth, across, {75 * DEG, 175 * DEG}, {75 * DEG, -160 * DEG}, {75 * DEG, -170 * DEG}},
        {&kMiller180, across, {75 * DEG, 175 * DEG}, {75 * DEG, -160 * DEG}, {75 * DEG, -170 * DEG}},
        // Cassini sees a short leg inside; Miller (0,0) a long one westward
        // that meets the east edge as written.
        {&kNorth, across, {75 * DEG, 175 * DEG}, {75 * DEG, -175 * DEG}, LatLonPoint::None()},
        {&kMiller0, across, {75 * DEG, 175 * DEG}, {75 * DEG, -175 * DEG}, {75 * DEG, -170 * DEG}},
        {&kNorth, plain, {5 * DEG, 0}, {5 * DEG, 20 * DEG}, {5 * DEG, 10 * DEG}},
        {&kMiller0, plain, {5 * DEG, 0}, {6 * DEG, DEG}, LatLonPoint::None()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << ToDegrees(r.a.lon) << " to " << ToDegrees(r.b.lon));
        const LatLonPoint p = r.projection->Segment_Rect_Crossing_Point(r.r, r.a, r.b);
        EXPECT_EQ(p, r.expected);
    }
}

TEST(CassiniProjection, SingularCasesAreFatal)
{
    ReportCapture reports;
    EXPECT_EQ(kNorth.LatLon_to_Y(ANGLE_RIGHT, 0), 0);
    EXPECT_EQ(kNorth.XY_to_Lon(ANGLE_RIGHT, 0), 0);
    EXPECT_EQ(kSouth.XY_to_Lon(-ANGLE_RIGHT, DEG), 0);
    ASSERT_EQ(reports.fatals.size(), 3u);
    EXPECT_EQ(reports.fatals[0], "Cassini::LatLon_to_Y:  Sine::Int_cos(lat) == 0.  Please report this message.");
    EXPECT_EQ(reports.fatals[1], "Cassini::XY_to_Lon:  Sine::Int_cos(x) == 0.  Please report this.");

    // A map point so far out that tan x passes 256 overflows the quotient,
    // which names the projection's module and place.
    reports.Clear();
    kNorth.XY_to_LatLon({Deg(89.9), 0});
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0],
              "LongMath::LongDivLong_TableShiftLeft:  OverFlow Error.  Called from CASSINI at line # 161\n");
}

// The map loader lets xy areas through up to CASSINI_X_LIMIT (Converts_XYRect):
// every point there converts back without a fatal report, at any y.
TEST(CassiniProjection, ConvertsBackUpToItsXLimit)
{
    ReportCapture reports;
    for (const Cassini* projection : {&kNorth, &kSouth}) {
        EXPECT_TRUE(projection->Converts_XYRect(XYRect(-CASSINI_X_LIMIT, DEG, CASSINI_X_LIMIT, -DEG)));
        EXPECT_FALSE(projection->Converts_XYRect(XYRect(-CASSINI_X_LIMIT - 1, DEG, 0, -DEG)));
        EXPECT_FALSE(projection->Converts_XYRect(XYRect(0, DEG, CASSINI_X_LIMIT + 1, -DEG)));
        for (const int32_t x : {-CASSINI_X_LIMIT, CASSINI_X_LIMIT, CASSINI_X_LIMIT - 1}) {
            for (const int32_t y : {-180 * DEG, -90 * DEG, -DEG, 0, 1, DEG, 45 * DEG, 90 * DEG, 180 * DEG}) {
                SCOPED_TRACE(testing::Message() << "x " << x << ", y " << y);
                const LatLonPoint p = projection->XY_to_LatLon({x, y});
                EXPECT_LE(std::abs(p.lat), ANGLE_RIGHT);
                EXPECT_LE(std::abs(p.lon), ANGLE_HALF + ANGLE_RIGHT);
            }
        }
    }
    EXPECT_TRUE(reports.fatals.empty());
}
