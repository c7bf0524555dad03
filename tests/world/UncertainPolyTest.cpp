// UncertainPolyTest.cpp: a contact's area of uncertainty: rings, circles and
// sectors as built, the centre drawn into the map, growth and its colours,
// the nearest crossing used to walk the outline, drawing, and the saved form
// with its damaged records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/NavMath.h"
#include "core/Projection.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/Nav2Game.h"
#include "world/UncertainPoly.h"

using maptest::At;
using maptest::Deg;

namespace {

// A Miller map over 10N-12N, 20E-22E installed as gMap for the test.
class UncertainPolyOnMap : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(seaMap.Install()); }

    maptest::InstalledSeaMap seaMap;
};

std::string SaveArea(const Uncertain_Poly& area)
{
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(area.Save(out));
    return out.str();
}

std::vector<LatLonPoint> Points(const Uncertain_Poly& area)
{
    std::vector<LatLonPoint> all;
    for (int16_t i = 0; i < area.GetPointCount(); ++i)
        all.push_back(area.GetLatLonPoint(i));
    return all;
}

std::vector<LatLonPoint> Sources(const Uncertain_Poly& area)
{
    std::vector<LatLonPoint> all;
    for (int16_t i = 0; i < area.GetPointCount(); ++i)
        all.push_back(area.GetSourcePoint(i));
    return all;
}

// A refused area holds nothing and can be grown, centred, drawn and asked
// for points without reading or writing outside an array.
void ExpectEmptyAndFrozen(Uncertain_Poly& area)
{
    EXPECT_EQ(area.GetPointCount(), 0);
    EXPECT_TRUE(area.IsOutOfRange());
    EXPECT_TRUE(area.GetSourcePoint(0).IsNone());
    EXPECT_TRUE(area.GetSourcePoint(-1).IsNone());
    area.Grow(4096);
    area.Compute_Center();
    EXPECT_EQ(area.GetPointCount(), 0);
    EXPECT_EQ(area.GetColour(), Uncertain_Poly::COLOUR_NEW);
    LatLonPoint a = At(1, 1), b = At(2, 2);
    int16_t edge = 3;
    EXPECT_TRUE(area.Nearest_Crossing(a, b, edge).IsNone());
    EXPECT_EQ(edge, -1);
    RecordingPenScope pen;
    area.Draw(XYRect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN));
    EXPECT_TRUE(pen.calls.empty());
}

// ---- building ----

TEST(UncertainPolyRing, ClosesTheRingAndKeepsTheSourcePointsAsGiven)
{
    struct Row {
        const char* name;
        std::vector<LatLonPoint> list;
        int16_t count;
    };
    const Row rows[] = {
        {"open square", {At(10, 20), At(10, 21), At(11, 21), At(11, 20)}, 5},
        {"closed square", {At(10, 20), At(10, 21), At(11, 21), At(11, 20), At(10, 20)}, 5},
        {"one point", {At(10, 20)}, 1},
        {"across the date line", {At(10, 179), At(10, -179), At(11, -179), At(11, 179)}, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Uncertain_Poly area(r.list.data(), static_cast<int16_t>(r.list.size()));
        ASSERT_EQ(area.GetPointCount(), r.count);
        for (size_t i = 0; i < r.list.size(); ++i)
            EXPECT_EQ(area.GetSourcePoint(static_cast<int16_t>(i)), r.list[i]);
        EXPECT_EQ(area.GetSourcePoint(r.count - 1), r.list[0]);
        EXPECT_TRUE(area.GetSourcePoint(r.count).IsNone());
        EXPECT_EQ(area.GetColour(), Uncertain_Poly::COLOUR_NEW);
    }
    // The polygon stores the ring unwrapped; the source points stay as given.
    const LatLonPoint across[] = {At(10, 179), At(10, -179)};
    Uncertain_Poly area(across, 2);
    EXPECT_EQ(area.GetBounds().east, Deg(181));
    EXPECT_EQ(area.GetSourcePoint(1), At(10, -179));
}

TEST(UncertainPolyRing, ACountOfZeroOrLessIsFatalAndReadsNothing)
{
    for (int16_t n : {int16_t{0}, int16_t{-3}, int16_t{INT16_MIN}}) {
        SCOPED_TRACE(n);
        ReportCapture reports;
        Uncertain_Poly area(nullptr, n);   // a null list: nothing may be read
        ASSERT_EQ(reports.fatals.size(), 1u);
        EXPECT_EQ(reports.fatals[0],
                  "Uncertain_Poly::Uncertain_Poly(LatLonPoint *pointlist,INT16 number_of_points): "
                  "number_of_points = " + std::to_string(n));
        ExpectEmptyAndFrozen(area);
    }
}

TEST(UncertainPolyCircle, TwentyFourEdgesFifteenDegreesApartAroundTheGivenCentre)
{
    // No map: every point lies off it, yet the centre is the one given.
    ASSERT_EQ(gMap, nullptr);
    const LatLonPoint centre = At(40, -30);
    const int32_t radius = 20 * RANGE_PER_NM;
    Uncertain_Poly area(centre, radius);
    ASSERT_EQ(area.GetPointCount(), 25);
    EXPECT_EQ(area.Get_Center(), centre);
    EXPECT_FALSE(area.IsOutOfRange());
    EXPECT_EQ(area.GetSourcePoint(0), area.GetSourcePoint(24));
    EXPECT_EQ(area.GetSourcePoint(0), NavMath::Offset_Flat(centre, radius, 0));
    int32_t angle = 0;
    for (int16_t k = 1; k < 24; ++k) {
        angle = NavMath::Add_Real_Angle(centre, angle, 15 * ANGLE_PER_DEGREE);
        EXPECT_EQ(area.GetSourcePoint(k), NavMath::Offset_Flat(centre, radius, angle)) << k;
    }
    EXPECT_EQ(Points(area), Sources(area));
}

TEST(UncertainPolySector, PointCountFollowsTheHalfWidthAndTheInnerRadius)
{
    const LatLonPoint origin = At(11, 21);
    const LatLonPoint target = NavMath::Offset_Flat(origin, 50 * RANGE_PER_NM, Deg(60));
    const int32_t nm = RANGE_PER_NM;
    struct Row {
        double halfWidthDeg;
        int32_t extraUnits;   // added to the half-width, in angle units
        int32_t rangeError, minRange;
        int16_t count;
    };
    const Row rows[] = {
        // range error 5 nm: inner radius about 45 nm, above 0
        {30, 0, 5 * nm, 0, 10},      // m = (60 deg - 1) / 15 deg = 3
        {0, 0, 5 * nm, 0, 7},        // m = 0: a radial line
        {7.5, 0, 5 * nm, 0, 7},      // 2 hw - 1 falls just short of 15 degrees
        {7.5, 1, 5 * nm, 0, 8},      // one unit more reaches it
        {15, 0, 5 * nm, 0, 8},
        {90, 0, 5 * nm, 0, 18},      // m = 11
        // range error beyond the range: inner radius 0, the origin is a corner
        {30, 0, 60 * nm, 0, 9},
        {0, 0, 60 * nm, 0, 6},
        // range not measured: inner radius minRange
        {30, 0, -1, 0, 9},
        {30, 0, -1, 2 * nm, 10},
        // no meaning given to a negative half-width: no arc points, no overrun
        {-10, 0, 5 * nm, 0, 7},
        {-10, 0, -1, 0, 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.halfWidthDeg << " deg + " << r.extraUnits << ", error "
                                        << r.rangeError << ", min " << r.minRange);
        Uncertain_Poly area(origin, target, Deg(r.halfWidthDeg) + r.extraUnits, r.rangeError, r.minRange,
                            100 * nm);
        ASSERT_EQ(area.GetPointCount(), r.count);
        EXPECT_EQ(area.GetSourcePoint(0), area.GetSourcePoint(r.count - 1));
        EXPECT_EQ(area.GetColour(), Uncertain_Poly::COLOUR_NEW);
    }
}

TEST(UncertainPolySector, RadiiComeFromTheRangeErrorOrTheLimits)
{
    const LatLonPoint origin = At(11, 21);
    const int32_t nm = RANGE_PER_NM;
    const LatLonPoint target = NavMath::Offset_Flat(origin, 50 * nm, Deg(90));
    const NavVector seen = NavMath::Vector_Flat(origin, target);
    const int32_t hw = Deg(30);
    const int32_t left = NavMath::Add_Real_Angle(origin, seen.bearing, -hw);
    const int32_t right = NavMath::Add_Real_Angle(origin, seen.bearing, hw);
    auto at = [&](int32_t r, int32_t b) { return NavMath::Offset_Flat(origin, r, b); };

    {
        SCOPED_TRACE("range measured");
        Uncertain_Poly area(origin, target, hw, 5 * nm, 0, 100 * nm);
        const int32_t r1 = seen.range - 5 * nm, r2 = seen.range + 5 * nm;
        const std::vector<LatLonPoint> expected = {
            at(r1, right), at(r1, left), at((r1 + r2) / 2, left), at(r2, left),
            at(r2, NavMath::Add_Real_Angle(origin, left, Deg(15))),
            at(r2, NavMath::Add_Real_Angle(origin, NavMath::Add_Real_Angle(origin, left, Deg(15)), Deg(15))),
            at(r2, NavMath::Add_Real_Angle(
                       origin,
                       NavMath::Add_Real_Angle(origin, NavMath::Add_Real_Angle(origin, left, Deg(15)), Deg(15)),
                       Deg(15))),
            at(r2, right), at((r1 + r2) / 2, right), at(r1, right),
        };
        EXPECT_EQ(Sources(area), expected);
    }
    {
        SCOPED_TRACE("range not measured: from minRange to maxRange");
        Uncertain_Poly area(origin, target, hw, -1, 3 * nm, 70 * nm);
        ASSERT_EQ(area.GetPointCount(), 10);
        EXPECT_EQ(area.GetSourcePoint(0), at(3 * nm, right));
        EXPECT_EQ(area.GetSourcePoint(2), at((3 * nm + 70 * nm) / 2, left));
        EXPECT_EQ(area.GetSourcePoint(3), at(70 * nm, left));
    }
    {
        SCOPED_TRACE("limits clip the measured range");
        Uncertain_Poly area(origin, target, hw, 5 * nm, 46 * nm, 52 * nm);
        EXPECT_EQ(area.GetSourcePoint(0), at(46 * nm, right));
        EXPECT_EQ(area.GetSourcePoint(3), at(52 * nm, left));
    }
    {
        SCOPED_TRACE("range 10 units, error 20, minRange 0: the origin is the first point");
        const LatLonPoint near = NavMath::Offset_Flat(origin, 9, Deg(90));
        Uncertain_Poly area(origin, near, hw, 20, 0, 100 * nm);
        ASSERT_EQ(area.GetPointCount(), 9);
        EXPECT_EQ(area.GetSourcePoint(0), origin);
        EXPECT_EQ(area.GetSourcePoint(8), origin);
    }
    {
        SCOPED_TRACE("errors near the 32-bit limit do not wrap");
        Uncertain_Poly area(origin, target, hw, INT32_MAX, 0, 80 * nm);
        ASSERT_EQ(area.GetPointCount(), 9);
        EXPECT_EQ(area.GetSourcePoint(0), origin);
        EXPECT_EQ(area.GetSourcePoint(1), at(40 * nm, left));   // inner radius 0: one corner fewer
        EXPECT_EQ(area.GetSourcePoint(2), at(80 * nm, left));
    }
}

// ---- centre ----

TEST_F(UncertainPolyOnMap, CentreIsTheMeanWithPointZeroTwice)
{
    const LatLonPoint list[] = {At(10.5, 20.5), At(10.5, 21.5), At(11.5, 21.5), At(11.5, 20.7)};
    Uncertain_Poly area(list, 4);
    // (2 p0 + p1 + p2 + p3) / 5, truncated toward zero.
    const int64_t lat = 2 * int64_t{list[0].lat} + list[1].lat + list[2].lat + list[3].lat;
    const int64_t lon = 2 * int64_t{list[0].lon} + list[1].lon + list[2].lon + list[3].lon;
    EXPECT_EQ(area.Get_Center(), LatLonPoint(static_cast<int32_t>(lat / 5), static_cast<int32_t>(lon / 5)));
    EXPECT_FALSE(area.IsOutOfRange());
}

TEST_F(UncertainPolyOnMap, CentreOfAnAreaAcrossTheMapEdge)
{
    {
        SCOPED_TRACE("the mean lies inside: it is the centre");
        const LatLonPoint list[] = {At(11, 21), At(11, 22.5), At(11.5, 22.5), At(11.5, 21)};
        Uncertain_Poly area(list, 4);
        const int64_t lon = 2 * int64_t{list[0].lon} + list[1].lon + list[2].lon + list[3].lon;
        EXPECT_EQ(area.Get_Center().lon, static_cast<int32_t>(lon / 5));
        EXPECT_FALSE(area.IsOutOfRange());
    }
    {
        SCOPED_TRACE("the mean lies outside: drawn towards the inside points until inside");
        const LatLonPoint list[] = {At(11, 21.8), At(11, 24), At(11.5, 24), At(11.5, 21.8)};
        Uncertain_Poly area(list, 4);
        const LatLonPoint centre = area.Get_Center();
        EXPECT_TRUE(Nav2Game::IsInMap(centre));
        EXPECT_GT(centre.lon, Deg(21.8));   // still pulled east by the outside points
        EXPECT_FALSE(area.IsOutOfRange());
    }
    {
        SCOPED_TRACE("outside points far off: the centre stops where it stands at weight 32000");
        // Point 0 on the north-east corner (inside, and counted twice); three
        // points far north-east. Inside points: 0 and the closing point 4.
        const LatLonPoint list[] = {At(12, 22), At(40, 22), At(40, 50), At(12, 50)};
        Uncertain_Poly area(list, 4);
        int64_t lat = 2 * int64_t{list[0].lat} + list[1].lat + list[2].lat + list[3].lat;
        int64_t lon = 2 * int64_t{list[0].lon} + list[1].lon + list[2].lon + list[3].lon;
        int64_t weight = 5;
        while (weight < 32000) {
            weight += 2;
            lat += 2 * int64_t{list[0].lat};
            lon += 2 * int64_t{list[0].lon};
        }
        EXPECT_EQ(area.Get_Center(),
                  LatLonPoint(static_cast<int32_t>(lat / weight), static_cast<int32_t>(lon / weight)));
        EXPECT_FALSE(Nav2Game::IsInMap(area.Get_Center()));
        EXPECT_FALSE(area.IsOutOfRange());
    }
}

TEST_F(UncertainPolyOnMap, AreaWithNoPointOnTheMapIsFrozen)
{
    const LatLonPoint list[] = {At(30, 30), At(30, 31), At(31, 31)};
    Uncertain_Poly area(list, 3);
    EXPECT_TRUE(area.IsOutOfRange());
    EXPECT_EQ(area.Get_Center(), LatLonPoint(0, 0));
    const std::string before = SaveArea(area);
    area.Grow(10 * RANGE_PER_NM);
    EXPECT_EQ(SaveArea(area), before);   // no growth, no colour step
    EXPECT_EQ(area.GetColour(), Uncertain_Poly::COLOUR_NEW);
}

TEST_F(UncertainPolyOnMap, PointBeyondThePoleFreezesTheArea)
{
    // Point 0 lies on the map; the point past 90N is met off the map and
    // freezes the area before any centre is stored.
    const LatLonPoint list[] = {At(11, 21), LatLonPoint(ANGLE_RIGHT + 1, Deg(21)), At(11, 21.5)};
    Uncertain_Poly area(list, 3);
    EXPECT_TRUE(area.IsOutOfRange());
    EXPECT_EQ(area.Get_Center(), LatLonPoint(0, 0));
    const std::string before = SaveArea(area);
    area.Grow(RANGE_PER_NM);
    EXPECT_EQ(SaveArea(area), before);
}

// ---- growth ----

TEST_F(UncertainPolyOnMap, GrowthMovesTheRingOutAndStepsTheColour)
{
    const LatLonPoint centre = At(11, 21);
    Uncertain_Poly area(centre, 10 * RANGE_PER_NM);
    const int32_t distance = 3 * RANGE_PER_NM;
    const int16_t colours[] = {44, 45, 46, 46};
    for (int16_t expectedColour : colours) {
        SCOPED_TRACE(expectedColour);
        const std::vector<LatLonPoint> before = Sources(area);
        const LatLonPoint from = area.Get_Center();
        area.Grow(distance);
        EXPECT_EQ(area.GetColour(), expectedColour);
        ASSERT_EQ(area.GetPointCount(), 25);
        for (int16_t i = 0; i < 24; ++i) {
            const NavVector v = NavMath::Vector_Flat(from, before[i]);
            EXPECT_EQ(area.GetSourcePoint(i), NavMath::Offset_Flat(from, v.range + distance, v.bearing)) << i;
        }
        EXPECT_EQ(area.GetSourcePoint(24), area.GetSourcePoint(0));
        EXPECT_EQ(Points(area), Sources(area));   // the polygon follows the ring
        EXPECT_EQ(area.GetXYPoint(3), Nav2Game::LatLonToXY(area.GetSourcePoint(3)));
        EXPECT_TRUE(Nav2Game::IsInMap(area.Get_Center()));
    }
    // The recomputed centre of a symmetric ring stays near the circle's centre.
    EXPECT_LT(std::abs(area.Get_Center().lat - centre.lat), Deg(0.1));
    EXPECT_LT(std::abs(area.Get_Center().lon - centre.lon), Deg(0.1));
}

TEST_F(UncertainPolyOnMap, GrowthIntoTheMapEdgeKeepsTheCentreOnTheMap)
{
    const LatLonPoint list[] = {At(11.9, 21.9), At(11.9, 21.95), At(11.95, 21.95), At(11.95, 21.9)};
    Uncertain_Poly area(list, 4);
    for (int step = 0; step < 6; ++step) {
        area.Grow(20 * RANGE_PER_NM);
        ASSERT_FALSE(area.IsOutOfRange());
        EXPECT_TRUE(Nav2Game::IsInMap(area.Get_Center())) << step;
    }
}

// ---- nearest crossing ----

TEST(UncertainPolyNearestCrossing, NearestOtherThanTheSkippedEdgeAndThePointItself)
{
    // Edges: 0 south (10N from 20E to 21E), 1 east, 2 north, 3 west.
    const LatLonPoint square[] = {At(10, 20), At(10, 21), At(11, 21), At(11, 20)};
    const Uncertain_Poly area(square, 4);
    struct Row {
        const char* name;
        LatLonPoint a, b;
        int16_t skip;
        LatLonPoint expected;
        int16_t edge;
    };
    const Row rows[] = {
        {"from outside across", At(9, 20.5), At(12, 20.5), -1, At(10, 20.5), 0},
        {"nearest edge skipped", At(9, 20.5), At(12, 20.5), 0, At(11, 20.5), 2},
        {"starting on the outline", At(10, 20.5), At(12, 20.5), -1, At(11, 20.5), 2},
        {"from inside out", At(10.5, 20.5), At(10.5, 25), -1, At(10.5, 21), 1},
        {"through a vertex: lower edge", At(9, 22), At(11.5, 19.5), -1, At(10, 21), 0},
        {"through a vertex, edge 0 skipped", At(9, 22), At(11.5, 19.5), 0, At(10, 21), 1},
        {"misses the bounds", At(12, 20), At(13, 21), -1, LatLonPoint::None(), -1},
        {"ends short of the outline", At(10.2, 20.5), At(10.8, 20.5), -1, LatLonPoint::None(), -1},
        {"only the crossing at a", At(10, 20.5), At(10.5, 20.5), -1, LatLonPoint::None(), -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        LatLonPoint a = r.a, b = r.b;
        int16_t edge = r.skip;
        const LatLonPoint found = area.Nearest_Crossing(a, b, edge);
        EXPECT_EQ(edge, r.edge);
        EXPECT_EQ(found.lat, r.expected.lat);
        if (!r.expected.IsNone()) {
            EXPECT_EQ(found, r.expected);
        }
    }
}

TEST(UncertainPolyNearestCrossing, UnwrapsTheSegmentAcrossTheDateLine)
{
    // A square over the 180-degree meridian, stored from 179E to 181E.
    const LatLonPoint square[] = {At(10, 179), At(10, -179), At(11, -179), At(11, 179)};
    const Uncertain_Poly area(square, 4);
    LatLonPoint a = At(10.5, -175), b = At(10.5, 175);
    int16_t edge = -1;
    const LatLonPoint found = area.Nearest_Crossing(a, b, edge);
    EXPECT_EQ(a, At(10.5, 185));   // the caller's points are changed
    EXPECT_EQ(b, At(10.5, 175));
    EXPECT_EQ(edge, 1);            // the east edge, at 181E stored
    EXPECT_EQ(found, At(10.5, -179));
}

// ---- drawing ----

TEST_F(UncertainPolyOnMap, DrawsTheOutlineInItsOwnColour)
{
    const LatLonPoint list[] = {At(10.5, 20.5), At(10.5, 21.5), At(11.5, 21.5)};
    Uncertain_Poly area(list, 3);
    const XYRect everything(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);
    {
        RecordingPenScope pen;
        area.Draw(everything);
        const std::vector<PenCall> expected = {
            {PenCall::Move, area.GetXYPoint(0), 0},
            {PenCall::Line, area.GetXYPoint(1), 43},
            {PenCall::Line, area.GetXYPoint(2), 43},
            {PenCall::Line, area.GetXYPoint(3), 43},
        };
        EXPECT_EQ(pen.calls, expected);
    }
    area.Grow(RANGE_PER_NM);
    {
        RecordingPenScope pen;
        area.Draw(everything);
        EXPECT_EQ(pen.Count(PenCall::Line, 44), 3u);
    }
    {
        RecordingPenScope pen;
        const XYRect& xy = area.GetXYBounds();
        area.Draw(XYRect(xy.right + 1, xy.top, xy.right + 100, xy.bottom));   // beside it
        EXPECT_TRUE(pen.calls.empty());
    }
}

// ---- saved form ----

TEST_F(UncertainPolyOnMap, SaveThenLoadGivesTheSameAreaAndBytes)
{
    const LatLonPoint origin = At(10.2, 20.2);
    const LatLonPoint target = NavMath::Offset_Flat(origin, 40 * RANGE_PER_NM, Deg(45));
    Uncertain_Poly area(origin, target, Deg(20), 4 * RANGE_PER_NM, 0, 100 * RANGE_PER_NM);
    area.Grow(2 * RANGE_PER_NM);
    const std::string bytes = SaveArea(area);
    const int16_t n = area.GetPointCount();
    ASSERT_EQ(bytes.size(), static_cast<size_t>(2 + 16 * n + 32 + 8 * n + 2));

    // The tail: the source points as built, then the colour.
    std::istringstream tail(bytes.substr(2 + 16 * n + 32), std::ios::binary);
    for (int16_t i = 0; i < n; ++i) {
        LatLonPoint p;
        ASSERT_TRUE(p.Load(tail));
        EXPECT_EQ(p, area.GetSourcePoint(i));
    }
    int16_t colour = 0;
    ASSERT_TRUE(LoadField(tail, colour));
    EXPECT_EQ(colour, 44);

    std::istringstream in(bytes, std::ios::binary);
    Uncertain_Poly loaded(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(in.peek(), EOF);   // the whole record, nothing more
    EXPECT_EQ(loaded.GetPointCount(), n);
    EXPECT_EQ(Points(loaded), Points(area));
    EXPECT_EQ(Sources(loaded), Sources(area));
    EXPECT_EQ(loaded.GetBounds(), area.GetBounds());
    EXPECT_EQ(loaded.GetXYBounds(), area.GetXYBounds());
    for (int16_t i = 0; i < n; ++i)
        EXPECT_EQ(loaded.GetXYPoint(i), area.GetXYPoint(i));
    EXPECT_EQ(loaded.GetColour(), 44);
    EXPECT_EQ(loaded.Get_Center(), area.Get_Center());   // recomputed from the same points
    EXPECT_FALSE(loaded.IsOutOfRange());
    EXPECT_EQ(SaveArea(loaded), bytes);
}

TEST_F(UncertainPolyOnMap, LoadingRecomputesTheCentreOfACircle)
{
    // A circle keeps the centre it was given; the loaded copy computes its own.
    Uncertain_Poly area(At(30, 30), 5 * RANGE_PER_NM);   // off the map
    const std::string bytes = SaveArea(area);
    std::istringstream in(bytes, std::ios::binary);
    Uncertain_Poly loaded(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(area.Get_Center(), At(30, 30));
    EXPECT_EQ(loaded.Get_Center(), LatLonPoint(0, 0));
    EXPECT_TRUE(loaded.IsOutOfRange());   // no point on the map
}

TEST(UncertainPolySave, FailedStreamGetsNothing)
{
    const LatLonPoint list[] = {At(10, 20), At(10, 21), At(11, 21)};
    const Uncertain_Poly area(list, 3);
    std::ostringstream out(std::ios::binary);
    out.setstate(std::ios::failbit);
    EXPECT_FALSE(area.Save(out));
    out.clear();
    EXPECT_TRUE(out.str().empty());
}

TEST_F(UncertainPolyOnMap, EveryTruncationIsRefused)
{
    const LatLonPoint list[] = {At(10.5, 20.5), At(10.5, 21.5), At(11.5, 21.5), At(11.5, 20.5)};
    const Uncertain_Poly area(list, 4);
    const std::string bytes = SaveArea(area);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::istringstream in(bytes.substr(0, cut), std::ios::binary);
        Uncertain_Poly loaded(in);
        EXPECT_TRUE(in.fail());
        ExpectEmptyAndFrozen(loaded);
    }
}

// A record of n points (count field `declared`), in the saved layout.
std::string Record(int16_t declared, int16_t n, int16_t colour, LatLonPoint lastSource = LatLonPoint::None())
{
    std::ostringstream out(std::ios::binary);
    SaveField<int16_t>(out, declared);
    for (int16_t i = 0; i < n; ++i)
        LatLonPoint(Deg(10), Deg(20 + i)).Save(out);
    for (int16_t i = 0; i < n; ++i)
        XYPoint(i, i).Save(out);
    LatLonRect(Deg(10), Deg(20), Deg(10), Deg(20 + n)).Save(out);
    XYRect(0, n, n, 0).Save(out);
    for (int16_t i = 0; i < n; ++i)
        (i == n - 1 && !lastSource.IsNone() ? lastSource : LatLonPoint(Deg(10), Deg(20 + i))).Save(out);
    SaveField<int16_t>(out, colour);
    return out.str();
}

TEST(UncertainPolyLoad, DamagedRecordsAreRefusedWithoutACrash)
{
    struct Row {
        const char* name;
        std::string bytes;
        bool loads;
    };
    const Row rows[] = {
        {"sound", Record(3, 3, 45), true},
        {"one point", Record(1, 1, 43), true},
        // A count of 0 used to load an area that Grow then wrote at index -1.
        {"count 0", Record(0, 0, 43), false},
        {"count 0 with points after it", Record(0, 3, 43), false},
        {"negative count", Record(-5, 3, 43), false},
        {"count beyond the stream", Record(30000, 3, 43), false},
        {"largest count, nothing after it", Record(INT16_MAX, 0, 43), false},
        {"colour below the new colour", Record(3, 3, 42), false},
        {"colour beyond the oldest", Record(3, 3, 47), false},
        {"negative colour", Record(3, 3, -1), false},
        // Ring points in range but a source far off the globe: the next
        // growth step used to overflow and end the program.
        {"source beyond the pole", Record(3, 3, 43, LatLonPoint(Deg(91), Deg(20))), false},
        {"source beyond 180 east", Record(3, 3, 43, LatLonPoint(Deg(10), ANGLE_HALF + 1)), false},
        {"source far off the globe", Record(3, 3, 43, LatLonPoint(-Deg(2000), Deg(8000))), false},
        {"sources on the range's edges", Record(3, 3, 43, LatLonPoint(-ANGLE_RIGHT, -ANGLE_HALF)), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::istringstream in(r.bytes, std::ios::binary);
        Uncertain_Poly loaded(in);
        EXPECT_EQ(!in.fail(), r.loads);
        if (r.loads) {
            EXPECT_GT(loaded.GetPointCount(), 0);
            loaded.Grow(RANGE_PER_NM);   // off the map: frozen, nothing moves
        } else {
            ExpectEmptyAndFrozen(loaded);
        }
    }
}

}  // namespace
