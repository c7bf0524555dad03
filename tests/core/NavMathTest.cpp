// Tests of the navigation maths: exact answers at the edges (short legs on the
// plane, one degree on the great circle, wraps over 180 degrees and clips at
// the poles), agreement with double-precision spherical formulas on long
// legs, and the real-angle conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/NavMath.h"
#include "core/Units.h"
#include "support/ReportCapture.h"

namespace {

constexpr int32_t DEG = ANGLE_PER_DEGREE;
constexpr int32_t MIN = ANGLE_PER_MINUTE;
constexpr double PI = 3.14159265358979323846;

double Radians(int32_t angle)
{
    return angle / double{DEG} * PI / 180.0;
}

int32_t Units(double radians)
{
    return static_cast<int32_t>(std::lround(radians * 180.0 / PI * DEG));
}

// Great-circle range and initial bearing in double precision, as a reference.
NavVector SphericalVector(LatLonPoint from, LatLonPoint to)
{
    const double lat1 = Radians(from.lat);
    const double lat2 = Radians(to.lat);
    const double dlon = Radians(to.lon) - Radians(from.lon);
    const double cosRange = std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(dlon);
    double bearing = std::atan2(std::sin(dlon) * std::cos(lat2),
                                std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dlon));
    if (bearing < 0)
        bearing += 2 * PI;
    return {Units(std::acos(std::fmin(1.0, std::fmax(-1.0, cosRange)))), Units(bearing)};
}

// The smallest turn between two bearings, in angle units.
int32_t BearingGap(int32_t a, int32_t b)
{
    int32_t gap = std::abs(a - b) % ANGLE_FULL;
    return std::min(gap, ANGLE_FULL - gap);
}

}  // namespace

TEST(NavMathGetVector, ShortLegsOnThePlane)
{
    struct Row { LatLonPoint from, to; NavVector expected; };
    const Row rows[] = {
        {{0, 0}, {0, 0}, {1, 45 * DEG}},                        // a point to itself
        {{45 * DEG, 10 * DEG}, {45 * DEG, 10 * DEG}, {1, 45 * DEG}},
        {{0, 0}, {0, 4096}, {4097, 90 * DEG}},
        {{0, 0}, {4096, 0}, {4097, 0}},
        {{0, 0}, {0, -4096}, {4097, 270 * DEG}},
        {{4096, 0}, {0, 0}, {4097, 180 * DEG}},
        {{60 * DEG, 0}, {60 * DEG, 8192}, {4096, 90 * DEG}},     // 8192 * cos 60 + 1
        {{0, 179 * DEG + 59 * MIN}, {0, -179 * DEG - 59 * MIN}, {8193, 90 * DEG}},   // over 180
        {{0, -180 * DEG + 1}, {0, 180 * DEG - 1}, {3, 270 * DEG}},
    };
    ReportCapture capture;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.from.lat << ", " << r.from.lon << ") to ("
                                        << r.to.lat << ", " << r.to.lon << ")");
        EXPECT_EQ(NavMath::Get_Vector(r.from, r.to), r.expected);
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(NavMathGetVector, OneDegreeOnTheGreatCircle)
{
    // No added 1: a leg this long is solved on the great circle.
    EXPECT_EQ(NavMath::Get_Vector({0, 0}, {0, DEG}), NavVector(DEG, 90 * DEG));
    EXPECT_EQ(NavMath::Get_Vector({0, 0}, {DEG, 0}), NavVector(DEG, 0));
    EXPECT_EQ(NavMath::Get_Vector({0, 0}, {-DEG, 0}), NavVector(DEG, 180 * DEG));
    EXPECT_EQ(NavMath::Get_Vector({0, 0}, {0, 90 * DEG}), NavVector(90 * DEG, 90 * DEG));
}

TEST(NavMathGetVector, AgreesWithSphericalFormulasOnLongLegs)
{
    struct Row { LatLonPoint from, to; };
    const Row rows[] = {
        {{0, 0}, {10 * DEG, 10 * DEG}},
        {{50 * DEG, -5 * DEG}, {40 * DEG, 20 * DEG}},
        {{-33 * DEG, 151 * DEG}, {34 * DEG, -118 * DEG}},        // across the Pacific
        {{10 * DEG, 10 * DEG}, {-20 * DEG, -30 * DEG}},
        {{-70 * DEG, -60 * DEG}, {-71 * DEG, 60 * DEG}},
        {{80 * DEG, 0}, {80 * DEG, 179 * DEG}},                  // over the pole
        {{60 * DEG, 179 * DEG}, {61 * DEG, -179 * DEG}},         // over 180 degrees
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.from.lat << ", " << r.from.lon << ") to ("
                                        << r.to.lat << ", " << r.to.lon << ")");
        const NavVector got = NavMath::Get_Vector(r.from, r.to);
        const NavVector want = SphericalVector(r.from, r.to);
        EXPECT_NEAR(got.range, want.range, want.range / 2000 + 2 * MIN);
        EXPECT_LE(BearingGap(got.bearing, want.bearing), DEG / 20);
    }
}

TEST(NavMathGetVector, AntipodesHaveNoBearing)
{
    ReportCapture capture;
    const NavVector v = NavMath::Get_Vector({0, 0}, {0, 180 * DEG});
    EXPECT_EQ(v, NavVector(180 * DEG, 0));
    EXPECT_EQ(capture.fatals, std::vector<std::string>{"NavMath::Bearing_GreatCircle: sinrange == 0"});
}

TEST(NavMathBearingGreatCircle, SameMeridianAndZeroRange)
{
    EXPECT_EQ(NavMath::Bearing_GreatCircle({0, 5}, {DEG, 5}, DEG), 0);
    EXPECT_EQ(NavMath::Bearing_GreatCircle({DEG, 5}, {0, 5}, DEG), 180 * DEG);
    EXPECT_EQ(NavMath::Bearing_GreatCircle({DEG, 5}, {DEG, 5}, 100), 180 * DEG);
    EXPECT_EQ(NavMath::Bearing_GreatCircle({0, 0}, {DEG, DEG}, 0), 0);
}

TEST(NavMathGetLatLonPoint, EdgesOfBothMethods)
{
    struct Row { LatLonPoint from; int32_t range, bearing; LatLonPoint expected; };
    const Row rows[] = {
        {{0, 0}, 4096, 90 * DEG, {0, 4096}},
        {{0, 0}, DEG, 90 * DEG, {0, DEG}},
        {{0, 0}, DEG, 0, {DEG, 0}},
        {{0, 0}, DEG, 180 * DEG, {-DEG, 0}},
        {{12345, -6789}, 0, 33 * DEG, {12345, -6789}},           // range 0: the start
        {{0, 0}, NavMath::PLANAR_LIMIT, 0, {NavMath::PLANAR_LIMIT, 0}},
        // Carried east over 180 degrees: back near -180.
        {{0, 179 * DEG + 59 * MIN}, 8192, 90 * DEG, {0, -179 * DEG - 59 * MIN}},
        {{0, -179 * DEG - 59 * MIN}, 8192, 270 * DEG, {0, 179 * DEG + 59 * MIN}},
        // A short step past a pole is clipped onto it.
        {{89 * DEG + 55 * MIN, 0}, 40960, 0, {90 * DEG, 0}},
        {{-89 * DEG - 55 * MIN, 0}, 40960, 180 * DEG, {-90 * DEG, 0}},
    };
    ReportCapture capture;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.from.lat << ", " << r.from.lon << ") range "
                                        << r.range << " bearing " << r.bearing);
        const LatLonPoint got = NavMath::Get_LatLonPoint_From_Vector(r.from, r.range, r.bearing);
        EXPECT_EQ(got.lat, r.expected.lat);
        EXPECT_EQ(got.lon, r.expected.lon);
    }
    // A step whose middle lies on the pole used to end the program.
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(NavMathGetLatLonPoint, RoundTripsWithGetVector)
{
    struct Row { LatLonPoint from; int32_t range, bearing; };
    const Row rows[] = {
        {{0, 0}, 20000, 30 * DEG},
        {{50 * DEG, -4 * DEG}, 40960, 300 * DEG},
        {{-40 * DEG, 170 * DEG}, 600 * RANGE_PER_NM, 75 * DEG},     // over 180 degrees
        {{30 * DEG, 0}, 3000 * RANGE_PER_NM, 200 * DEG},
        {{-33 * DEG, 151 * DEG}, 6500 * RANGE_PER_NM, 60 * DEG},    // more than 90 degrees east
        {{80 * DEG, 0}, 1200 * RANGE_PER_NM, 10 * DEG},             // over the pole
        {{-70 * DEG, -60 * DEG}, 2000 * RANGE_PER_NM, 170 * DEG},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.from.lat << ", " << r.from.lon << ") range "
                                        << r.range << " bearing " << r.bearing);
        const LatLonPoint to = NavMath::Get_LatLonPoint_From_Vector(r.from, r.range, r.bearing);
        EXPECT_LE(to.lat, 90 * DEG);
        EXPECT_GE(to.lat, -90 * DEG);
        EXPECT_LE(to.lon, 180 * DEG);
        EXPECT_GE(to.lon, -180 * DEG);
        const NavVector reference = SphericalVector(r.from, to);
        EXPECT_NEAR(reference.range, r.range, r.range / 1000 + 2 * MIN);
        EXPECT_LE(BearingGap(reference.bearing, r.bearing), DEG / 10);
    }
}

TEST(NavMathOffsetFlat, StepsInTheFlatPlaneWrappedAndClipped)
{
    struct Row { LatLonPoint from; int32_t distance, angle; LatLonPoint expected; };
    const Row rows[] = {
        {{60 * DEG, 0}, DEG, 90 * DEG, {60 * DEG, DEG}},           // no cosine scaling
        {{0, 0}, DEG, 0, {DEG, 0}},
        {{0, 180 * DEG}, DEG, 90 * DEG, {0, -179 * DEG}},
        {{89 * DEG, 0}, 2 * DEG, 0, {90 * DEG, 0}},
        {{-89 * DEG, 5 * DEG}, 2 * DEG, 180 * DEG, {-90 * DEG, 5 * DEG}},
        {{89 * DEG, 0}, 2 * DEG, 45 * DEG, {90 * DEG, DEG}},        // clipped along the line
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.from.lat << ", " << r.from.lon << ") distance "
                                        << r.distance << " angle " << r.angle);
        const LatLonPoint got = NavMath::Offset_Flat(r.from, r.distance, r.angle);
        EXPECT_EQ(got.lat, r.expected.lat);
        EXPECT_EQ(got.lon, r.expected.lon);
    }
}

TEST(NavMathVectorFlat, FlatRangeAndBearing)
{
    struct Row { LatLonPoint from, to; NavVector expected; };
    const Row rows[] = {
        {{0, 0}, {0, 0}, {1, 45 * DEG}},
        {{0, 0}, {0, 4096}, {4097, 90 * DEG}},
        {{60 * DEG, 0}, {60 * DEG, 4096}, {4097, 90 * DEG}},        // no cosine in the flat plane
        {{0, 0}, {-4096, 0}, {4097, 180 * DEG}},
        {{0, 0}, {0, -4096}, {4097, 270 * DEG}},
        {{0, 180 * DEG - 10}, {0, -180 * DEG + 10}, {21, 90 * DEG}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.from.lat << ", " << r.from.lon << ") to ("
                                        << r.to.lat << ", " << r.to.lon << ")");
        EXPECT_EQ(NavMath::Vector_Flat(r.from, r.to), r.expected);
    }
    const NavVector diagonal = NavMath::Vector_Flat({0, 0}, {4096, 4096});
    EXPECT_EQ(diagonal.bearing, 45 * DEG);
    EXPECT_NEAR(diagonal.range, 5793, 2);                           // 4096 * sqrt 2, plus 1
}

TEST(NavMathRealAngle, NorthStaysNorth)
{
    for (const LatLonPoint at : {LatLonPoint(0, 0), LatLonPoint(60 * DEG, 20 * DEG),
                                 LatLonPoint(-75 * DEG, -170 * DEG), LatLonPoint(89 * DEG, 0)}) {
        SCOPED_TRACE(testing::Message() << "(" << at.lat << ", " << at.lon << ")");
        EXPECT_EQ(NavMath::Get_Real_Angle_From_Bearing(at, 0), 0);
        EXPECT_EQ(NavMath::Get_Real_Angle_From_Bearing(at, 360 * DEG), 0);   // the probe goes north
        EXPECT_EQ(NavMath::Get_Real_Angle_From_Bearing(at, 720 * DEG), 0);
        EXPECT_EQ(NavMath::Get_Real_Angle_From_Bearing(at, -360 * DEG), 0);
    }
}

TEST(NavMathRealAngle, FlatBearingsBecomeGroundDirections)
{
    // The ground extent is scaled at the probe's latitude, 24 nm along, so
    // away from the equator the answer is a few tenths of a degree off.
    struct Row { LatLonPoint at; int32_t bearing; double degrees, tolerance; };
    const double atan2Of60 = std::atan(std::cos(PI / 3)) * 180 / PI;   // 26.57
    const Row rows[] = {
        {{0, 0}, 90 * DEG, 90, 0.1},
        {{0, 0}, 45 * DEG, 45, 0.1},
        {{0, 0}, 180 * DEG, 180, 0.1},
        {{0, 0}, 270 * DEG, 270, 0.1},
        {{0, 0}, -90 * DEG, 270, 0.1},
        {{0, 0}, 450 * DEG, 90, 0.1},
        {{60 * DEG, 0}, 45 * DEG, atan2Of60, 0.5},
        {{60 * DEG, 0}, 135 * DEG, 180 - atan2Of60, 0.5},
        {{60 * DEG, 0}, 315 * DEG, 360 - atan2Of60, 0.5},
        // Near 180 degrees the probe's longitude wraps; the angle must not
        // jump (it used to come out near 90 degrees here).
        {{0, 179 * DEG + 59 * MIN}, 45 * DEG, 45, 0.1},
        {{0, -179 * DEG - 59 * MIN}, 315 * DEG, 315, 0.1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.at.lat << ", " << r.at.lon << ") bearing " << r.bearing);
        const int32_t real = NavMath::Get_Real_Angle_From_Bearing(r.at, r.bearing);
        EXPECT_LE(BearingGap(real, static_cast<int32_t>(r.degrees * DEG)), r.tolerance * DEG);
        // And back: the ground direction gives the flat bearing again.
        const int32_t flat = NavMath::Get_Bearing_From_Real_Angle(r.at, real);
        EXPECT_LE(BearingGap(flat, r.bearing), DEG / 10);
    }
}

TEST(NavMathRealAngle, TurnsAndDifferences)
{
    const LatLonPoint equator(0, 0);
    EXPECT_EQ(NavMath::Real_Angle_Between(equator, 17 * DEG, 17 * DEG), 0);
    EXPECT_NEAR(NavMath::Real_Angle_Between(equator, 0, 90 * DEG), 90 * DEG, DEG / 10);
    EXPECT_NEAR(NavMath::Real_Angle_Between(equator, 90 * DEG, 0), -90 * DEG, DEG / 10);
    EXPECT_LE(BearingGap(NavMath::Add_Real_Angle(equator, 0, 90 * DEG), 90 * DEG), DEG / 10);
    EXPECT_LE(BearingGap(NavMath::Add_Real_Angle(equator, 0, -90 * DEG), 270 * DEG), DEG / 10);
    EXPECT_LE(BearingGap(NavMath::Add_Real_Angle(equator, 10 * DEG, 720 * DEG), 10 * DEG), DEG / 10);
    // At 60 degrees north a real turn of 45 degrees from north is a flat
    // bearing of atan(1 / cos 60) = 63.4 degrees.
    EXPECT_LE(BearingGap(NavMath::Add_Real_Angle({60 * DEG, 0}, 0, 45 * DEG),
                         static_cast<int32_t>(63.435 * DEG)), DEG / 2);
}

TEST(NavMathRealAngle, ProbeEndingOnAPoleGoesOn)
{
    // The northward probe ends exactly on the pole: this used to end the program.
    ReportCapture capture;
    EXPECT_EQ(NavMath::Get_Bearing_From_Real_Angle({90 * DEG - 100000, 0}, 0), 0);
    EXPECT_EQ(NavMath::Get_Bearing_From_Real_Angle({-90 * DEG + 100000, 0}, 180 * DEG), 180 * DEG);
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(NavMathScaleByCosLat, Q23Cosine)
{
    EXPECT_EQ(NavMath::Scale_By_Cos_Lat({0, 0}, 4096), 4096);
    EXPECT_EQ(NavMath::Scale_By_Cos_Lat({60 * DEG, 0}, 4096), 2047);   // cos 60 is one below 0.5
    EXPECT_EQ(NavMath::Scale_By_Cos_Lat({-60 * DEG, 0}, -4096), -2047);
    EXPECT_EQ(NavMath::Scale_By_Cos_Lat({90 * DEG, 0}, 4096), 0);
}

TEST(NavMathReports, NameNavmathAndTheLine)
{
    // A step on the plane so close to the pole that the longitude change does
    // not fit: the divide reports with this source's name.
    ReportCapture capture;
    NavMath::Get_LatLonPoint_From_Linear_Vector({90 * DEG - MIN, 0}, 1000000, 90 * DEG);
    ASSERT_EQ(capture.fatals.size(), 1u);
    const std::string& text = capture.fatals[0];
    const std::string prefix = "LongMath::LongDivLong_TableShiftLeft:  OverFlow Error.  Called from NAVMATH at line # ";
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    EXPECT_GT(std::stoi(text.substr(prefix.size())), 0);
    EXPECT_EQ(text.back(), '\n');
}
