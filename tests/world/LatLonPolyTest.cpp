// LatLonPolyTest.cpp: LatLon_Poly: closing the ring, refusing bad lists, the
// longitude rule at the 180-degree meridian, projection, the circle, the
// crossing parity and first crossing, drawing, and the saved body with its
// damaged forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/NavMath.h"
#include "core/StreamFields.h"
#include "support/Bytes.h"
#include "support/RecordingPen.h"
#include "world/AreaPolygonTestSupport.h"
#include "world/LatLonPoly.h"
#include "world/Nav2Game.h"

using namespace zonetest;

namespace {

LatLon_Poly FromList(const std::vector<LatLonPoint>& points)
{
    return LatLon_Poly(points.data(), static_cast<int16_t>(points.size()));
}

std::string SavedBody(const LatLon_Poly& poly)
{
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(poly.Save(out));
    return out.str();
}

}  // namespace

TEST(LatLonPoly, ClosesAnOpenRingOnce)
{
    struct Row {
        const char* name;
        std::vector<LatLonPoint> points;
        int16_t count;
    };
    const Row rows[] = {
        {"open square", Square(0, 0, 10, 10), 5},
        {"closed square", {At(0, 0), At(0, 10), At(10, 10), At(10, 0), At(0, 0)}, 5},
        {"one point", {At(3, 4)}, 1},
        {"two points", {At(3, 4), At(5, 6)}, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const LatLon_Poly poly = FromList(r.points);
        ASSERT_EQ(poly.GetPointCount(), r.count);
        EXPECT_EQ(poly.GetLatLonPoint(r.count - 1), r.points[0]);
        EXPECT_EQ(poly.GetXYPoint(r.count - 1), poly.GetXYPoint(0));
        for (size_t i = 0; i < r.points.size(); ++i)
            EXPECT_EQ(poly.GetLatLonPoint(static_cast<int16_t>(i)), r.points[i]);
    }
}

TEST(LatLonPoly, RefusesListsWithoutAPoint)
{
    const std::vector<LatLonPoint> square = Square(0, 0, 10, 10);
    LatLon_Poly poly = FromList(square);
    const std::string before = SavedBody(poly);

    struct Row {
        const char* name;
        const LatLonPoint* list;
        int16_t n;
    };
    const Row rows[] = {
        {"no points", square.data(), 0},
        {"a negative count", square.data(), -3},   // used to read pointlist[-4]
        {"a null list", nullptr, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(poly.SetPoints(r.list, r.n));
        EXPECT_EQ(SavedBody(poly), before);          // the old ring stands
        const LatLon_Poly fresh(r.list, r.n);
        EXPECT_EQ(fresh.GetPointCount(), 0);
        EXPECT_EQ(fresh.GetBounds(), LatLonRect());
    }
}

TEST(LatLonPoly, RefusesAnOpenRingTooLongForItsCount)
{
    std::vector<LatLonPoint> points(INT16_MAX);
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = LatLonPoint(static_cast<int32_t>(i), 0);
    LatLon_Poly poly;
    EXPECT_FALSE(poly.SetPoints(points.data(), INT16_MAX));   // the closing point would be 32768th
    EXPECT_EQ(poly.GetPointCount(), 0);
    points.back() = points.front();
    EXPECT_TRUE(poly.SetPoints(points.data(), INT16_MAX));
    EXPECT_EQ(poly.GetPointCount(), INT16_MAX);
}

TEST(LatLonPoly, UnwrapsTowardsTheReferenceByOneTurnAtMost)
{
    struct Row {
        double ref, lon, expected;
    };
    const Row rows[] = {
        {-10, 175, -185},    // 185 degrees apart: moved
        {-10, 170, 170},     // exactly 180 apart: left alone
        {170, -170, 190},
        {170, -10, -10},     // 180 apart the other way
        {0, -181, 179},
        {0, 180, 180},
        {-1, 180, -180},
        {0, 10, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lon << " against " << r.ref);
        const LatLonPoint p = LatLon_Poly::Unwrap_Lon(At(5, r.lon), At(7, r.ref));
        EXPECT_EQ(p, At(5, r.expected));
    }
    // Wild longitudes from a damaged file wrap instead of overflowing.
    const LatLonPoint wild = LatLon_Poly::Unwrap_Lon(LatLonPoint(0, INT32_MIN + 5), LatLonPoint(0, 1));
    EXPECT_EQ(wild.lon, static_cast<int32_t>(int64_t{INT32_MIN} + 5 + ANGLE_FULL));
}

TEST(LatLonPoly, WrapsIntoHalfATurnEachWay)
{
    struct Row {
        double lon, expected;
    };
    const Row rows[] = {{190, -170}, {-190, 170}, {180, 180}, {-180, -180}, {0, 0}, {539, 179}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.lon);
        EXPECT_EQ(LatLon_Poly::Wrap_Lon(At(1, r.lon)), At(1, r.expected));
    }
}

TEST(LatLonPoly, StoresARingAcrossTheDateLineUnwrapped)
{
    MapScope map;
    const std::vector<LatLonPoint> ring = {At(0, 170), At(0, -170), At(10, -170), At(10, 170)};
    const LatLon_Poly poly = FromList(ring);

    ASSERT_EQ(poly.GetPointCount(), 5);
    EXPECT_EQ(poly.GetLatLonPoint(1), At(0, -170));   // folded back when read
    EXPECT_EQ(poly.GetBounds(), LatLonRect(Deg(10), Deg(170), 0, Deg(190)));
    // Stored at 190 degrees: the saved body holds what is stored.
    const std::string body = SavedBody(poly);
    std::istringstream in(body, std::ios::binary);
    const LatLon_Poly read(in);
    EXPECT_EQ(read.GetBounds().east, Deg(190));

    // The projection is that of the points as given, not unwrapped.
    for (int16_t i = 0; i < 4; ++i)
        EXPECT_EQ(poly.GetXYPoint(i), Nav2Game::LatLonToXY(ring[i]));
    const XYPoint west = Nav2Game::LatLonToXY(At(0, -170));
    const XYPoint east = Nav2Game::LatLonToXY(At(10, 170));
    EXPECT_EQ(poly.GetXYBounds(), XYRect(west.x, east.y, east.x, west.y));
}

TEST(LatLonPoly, IndexesOutsideTheRingGiveTheInvalidPoint)
{
    const LatLon_Poly poly = FromList(Square(0, 0, 1, 1));
    for (int16_t i : {int16_t{-1}, int16_t{5}, int16_t{INT16_MIN}}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(poly.GetXYPoint(i), XYPoint(0x7FFFFFFF, 0x7FFFFFFF));
        EXPECT_TRUE(poly.GetLatLonPoint(i).IsNone());
    }
    const LatLon_Poly empty;
    EXPECT_TRUE(empty.GetLatLonPoint(0).IsNone());
}

TEST(LatLonPoly, ReplacePointsKeepsTheCount)
{
    MapScope map;
    LatLon_Poly poly = FromList(Square(0, 0, 10, 10));
    const std::vector<LatLonPoint> moved = {At(1, 170), At(1, -170), At(2, -170), At(2, 170), At(1, 170)};
    poly.ReplacePoints(moved.data());
    ASSERT_EQ(poly.GetPointCount(), 5);
    EXPECT_EQ(poly.GetBounds(), LatLonRect(Deg(2), Deg(170), Deg(1), Deg(190)));
    EXPECT_EQ(poly.GetXYPoint(2), Nav2Game::LatLonToXY(At(2, -170)));
    EXPECT_EQ(poly.GetLatLonPoint(4), At(1, 170));
}

TEST(LatLonPoly, CircleHas72EdgesFiveDegreesApart)
{
    const LatLonPoint centre = At(10, 20);
    const int32_t radius = 30 * RANGE_PER_NM;
    const LatLon_Poly circle(centre, radius);
    ASSERT_EQ(circle.GetPointCount(), 73);
    EXPECT_EQ(circle.GetLatLonPoint(0), NavMath::Offset_Flat(centre, radius, 0));
    EXPECT_EQ(circle.GetLatLonPoint(72), circle.GetLatLonPoint(0));
    int32_t angle = 0;
    for (int16_t k = 1; k < 72; ++k) {
        angle = NavMath::Add_Real_Angle(centre, angle, 5 * ANGLE_PER_DEGREE);
        EXPECT_EQ(circle.GetLatLonPoint(k), NavMath::Offset_Flat(centre, radius, angle)) << k;
    }
}

// Even_Crossings and First_Crossing on outlines given in degrees.
TEST(LatLonPolyCrossings, ParityCountsVerticesAndEdgesAlongTheSegment)
{
    // Square 0..10 N, 0..10 E.
    const std::vector<LatLonPoint> square = Square(0, 0, 10, 10);
    // A step: the edge from (0, 10) to (5, 10) has its neighbours (0, 0) and
    // (5, 20) on opposite sides of the line lon = 10.
    const std::vector<LatLonPoint> step = {At(0, 0), At(0, 10), At(5, 10), At(5, 20), At(10, 20), At(10, 0)};
    // A box whose edge from (0, 10) to (5, 10) has both neighbours west of it.
    const std::vector<LatLonPoint> box = Square(0, 0, 5, 10);

    struct Row {
        const char* name;
        const std::vector<LatLonPoint>* outline;
        LatLonPoint a, b;
        bool even;
    };
    const Row rows[] = {
        {"outside through to outside", &square, At(5, -5), At(5, 15), true},
        {"inside to outside", &square, At(5, 5), At(5, 15), false},
        {"outside, missing it", &square, At(-5, -5), At(-5, 15), true},
        {"both inside", &square, At(2, 2), At(8, 8), true},
        {"through two corners", &square, At(-5, -5), At(15, 15), true},
        {"through a corner into it", &square, At(-5, -5), At(5, 5), false},   // crossed once
        {"touching a corner only", &square, At(-5, 5), At(5, -5), true},     // counted twice
        {"along an edge, neighbours apart", &step, At(-5, 10), At(7, 10), false},
        {"along an edge, neighbours together", &box, At(-5, 10), At(7, 10), true},
        {"along a whole side", &square, At(-5, 0), At(15, 0), true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const LatLon_Poly poly = FromList(*r.outline);
        LatLonPoint a = r.a;
        LatLonPoint b = r.b;
        EXPECT_EQ(poly.Even_Crossings(a, b), r.even);
        LatLonPoint ra = r.b;   // the other way round gives the same parity
        LatLonPoint rb = r.a;
        EXPECT_EQ(poly.Even_Crossings(ra, rb), r.even);
    }
}

TEST(LatLonPolyCrossings, UnwrapsTheSegmentAgainstPointZero)
{
    // 0..10 N, 170 E..170 W, across the date line.
    const LatLon_Poly poly = FromList({At(0, 170), At(0, -170), At(10, -170), At(10, 170)});

    LatLonPoint a = At(5, 175);
    LatLonPoint b = At(5, -175);   // inside, east of the date line
    EXPECT_TRUE(poly.Even_Crossings(a, b));
    EXPECT_EQ(b, At(5, 185));      // the caller sees its point unwrapped

    a = At(5, -175);
    b = At(5, 160);
    EXPECT_FALSE(poly.Even_Crossings(a, b));
    EXPECT_EQ(a, At(5, 185));

    a = At(5, -175);
    b = At(5, -160);
    const LatLonPoint crossing = poly.First_Crossing(a, b);
    EXPECT_EQ(crossing, At(5, 190));   // on the unwrapped outline
    EXPECT_EQ(a, At(5, 185));
    EXPECT_EQ(b, At(5, 200));
}

TEST(LatLonPolyCrossings, FirstCrossingIsInEdgeOrderNotNearest)
{
    // Edge 2 runs (0, 20)-(10, 20), edge 5 runs (10, 0)-(0, 0).
    const LatLon_Poly poly = FromList({At(0, 10), At(0, 20), At(10, 20), At(10, 10), At(10, 0), At(0, 0)});
    LatLonPoint a = At(5, -5);
    LatLonPoint b = At(5, 25);
    EXPECT_EQ(poly.First_Crossing(a, b), At(5, 20));   // edge 5 at (5, 0) is nearer a

    // A segment that misses the bounds, and one inside that crosses nothing.
    LatLonPoint c = At(20, -5);
    LatLonPoint d = At(20, 25);
    EXPECT_TRUE(poly.First_Crossing(c, d).IsNone());
    LatLonPoint e = At(2, 12);
    LatLonPoint f = At(8, 18);
    EXPECT_TRUE(poly.First_Crossing(e, f).IsNone());
}

TEST(LatLonPolyCrossings, AnEmptyPolygonIsNeverCrossed)
{
    const LatLon_Poly empty;
    LatLonPoint a = At(0, 0);
    LatLonPoint b = At(1, 1);
    EXPECT_TRUE(empty.Even_Crossings(a, b));
    EXPECT_TRUE(empty.First_Crossing(a, b).IsNone());
}

TEST(LatLonPoly, DrawsTheClosedOutlineWhenInView)
{
    MapScope map;
    LatLon_Poly poly = FromList(Square(0, 0, 0.5, 0.5));
    const XYRect bounds = poly.GetXYBounds();

    RecordingPenScope pen;
    poly.Draw(bounds, 49);
    std::vector<PenCall> expected = {{PenCall::Move, poly.GetXYPoint(0), 0}};
    for (int16_t i = 1; i < 5; ++i)
        expected.push_back({PenCall::Line, poly.GetXYPoint(i), 49});
    EXPECT_EQ(pen.calls, expected);

    // A view that only touches a corner still overlaps; one beside it does not.
    pen.Clear();
    poly.Draw(XYRect(bounds.right, bounds.top + 10, bounds.right + 10, bounds.top), 3);
    EXPECT_EQ(pen.Count(PenCall::Line, 3), 4u);
    pen.Clear();
    poly.Draw(XYRect(bounds.right + 1, bounds.top, bounds.right + 10, bounds.bottom), 3);
    EXPECT_TRUE(pen.calls.empty());
}

TEST(LatLonPolySave, WritesTheBodyFieldByField)
{
    // Without a map every point projects to (0, 0).
    const LatLon_Poly poly = FromList({LatLonPoint(1, 2), LatLonPoint(3, -4)});
    std::string expected = Bytes({3, 0});
    for (const LatLonPoint& p : {LatLonPoint(1, 2), LatLonPoint(3, -4), LatLonPoint(1, 2)}) {
        std::ostringstream field(std::ios::binary);
        SaveField<int32_t>(field, p.lat);
        SaveField<int32_t>(field, p.lon);
        expected += field.str();
    }
    expected += std::string(24, '\0');                                       // three (0, 0)
    expected += Bytes({3, 0, 0, 0, 0xFC, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 2, 0, 0, 0});   // N W S E
    expected += std::string(16, '\0');                                       // xy bounds
    EXPECT_EQ(SavedBody(poly), expected);
}

TEST(LatLonPolySave, ReadsBackWhatItWrote)
{
    MapScope map;
    const LatLon_Poly poly = FromList({At(0, 170), At(0, -170), At(10, -170), At(10, 170)});
    const std::string body = SavedBody(poly);
    std::istringstream in(body, std::ios::binary);
    const LatLon_Poly read(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(SavedBody(read), body);
    EXPECT_EQ(read.GetXYBounds(), poly.GetXYBounds());
}

TEST(LatLonPolySave, RefusesAFailedStream)
{
    const LatLon_Poly poly = FromList(Square(0, 0, 1, 1));
    std::ostringstream failed(std::ios::binary);
    failed.setstate(std::ios::failbit);
    EXPECT_FALSE(poly.Save(failed));
    std::ostream unbuffered(nullptr);
    EXPECT_FALSE(poly.Save(unbuffered));
}

TEST(LatLonPolySave, RefusesDamagedBodies)
{
    const std::string good = [] {
        std::ostringstream out(std::ios::binary);
        FromList(Square(0, 0, 1, 1)).Save(out);
        return out.str();
    }();
    struct Row {
        const char* name;
        std::string bytes;
    };
    std::vector<Row> rows = {
        {"count 0", Bytes({0, 0}) + good.substr(2)},   // would unwrap against a missing point 0
        {"count -1", Bytes({0xFF, 0xFF}) + good.substr(2)},
        {"count beyond the bytes", Bytes({0x30, 0x75}) + good.substr(2)},   // 30000 points
        {"no count", ""},
    };
    for (size_t cut = 1; cut < good.size(); ++cut)
        rows.push_back({"cut", good.substr(0, cut)});
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.name << " " << r.bytes.size());
        std::istringstream in(r.bytes, std::ios::binary);
        const LatLon_Poly read(in);
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(read.GetPointCount(), 0);
        EXPECT_TRUE(read.GetLatLonPoint(0).IsNone());
        LatLonPoint a = At(0, 0);
        LatLonPoint b = At(1, 1);
        EXPECT_TRUE(read.Even_Crossings(a, b));
    }
}
