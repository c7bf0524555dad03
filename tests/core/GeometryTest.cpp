// Tests of the point and rectangle value types and the plane geometry:
// midpoints, inclusive rectangle tests, line and segment intersections with
// their collinear and degenerate cases, rectangle crossings, and the saved
// forms of the value types, whole and cut short.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/ElevationPoint.h"
#include "core/Geometry.h"
#include "core/MapPolyPoint.h"
#include "core/NavVector.h"
#include "core/Point16.h"
#include "support/Bytes.h"

TEST(ValueTypes, DefaultsAreZeroAndNoneIsMaxBothWays)
{
    EXPECT_EQ(LatLonPoint(), LatLonPoint(0, 0));
    EXPECT_EQ(XYPoint(), XYPoint(0, 0));
    EXPECT_EQ(XYRect(), XYRect(0, 0, 0, 0));
    EXPECT_EQ(LatLonRect(), LatLonRect(0, 0, 0, 0));
    EXPECT_EQ(NavVector(), NavVector(0, 0));
    EXPECT_EQ(ElevationPoint().value, 0);
    EXPECT_EQ(Point16(), (Point16{0, 0}));
    EXPECT_EQ(LatLonPoint::None(), LatLonPoint(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_EQ(XYPoint::None(), XYPoint(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_TRUE(LatLonPoint(0x7FFFFFFF, 5).IsNone());   // callers test the first coordinate
    EXPECT_FALSE(LatLonPoint(5, 0x7FFFFFFF).IsNone());
    EXPECT_TRUE(LatLonPoint(1, 2) != LatLonPoint(1, 3));
    EXPECT_TRUE(LatLonPoint(1, 2) != LatLonPoint(0, 2));
    EXPECT_FALSE(LatLonPoint(1, 2) != LatLonPoint(1, 2));
}

TEST(XYPointMidpoint, HalvesTowardTheSmaller)
{
    struct Row { int32_t a, b, expected; };
    const Row rows[] = {
        {5, 10, 7},
        {10, 5, 7},
        {-3, 3, 0},
        {0, 3, 1},
        {3, 0, 1},
        {-3, 0, -2},                      // the smaller plus half the distance
        {INT32_MIN, INT32_MAX, -1},       // the distance needs 33 bits
        {INT32_MAX, INT32_MAX, INT32_MAX},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " and " << r.b);
        EXPECT_EQ(XYPoint::Midpoint({r.a, r.b}, {r.b, r.a}), XYPoint(r.expected, r.expected));
    }
}

TEST(RectTests, EdgesCountAsInside)
{
    const XYRect box(0, 10, 10, 0);
    struct Row { XYRect other; bool overlaps, inside; };
    const Row rows[] = {
        {{10, 5, 20, -5}, true, false},           // shares only the right edge
        {{10, 20, 20, 10}, true, false},          // shares only a corner
        {{11, 5, 20, -5}, false, false},
        {{-5, 0, 5, -5}, true, false},            // touches the bottom edge
        {{-5, -1, 5, -5}, false, false},
        {{0, 10, 10, 0}, true, true},             // the same rectangle
        {{2, 8, 8, 2}, true, true},
        {{2, 11, 8, 2}, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.other.left << " " << r.other.top << " " << r.other.right
                                        << " " << r.other.bottom);
        EXPECT_EQ(XYRect::Overlaps(box, r.other), r.overlaps);
        EXPECT_EQ(XYRect::Overlaps(r.other, box), r.overlaps);
        EXPECT_EQ(Geometry::XYRect_Inside(r.other, box), r.inside);
        const LatLonRect geo(r.other.top, r.other.left, r.other.bottom, r.other.right);
        EXPECT_EQ(Geometry::LatLonRect_Overlaps(LatLonRect(10, 0, 0, 10), geo), r.overlaps);
    }
    EXPECT_TRUE(Geometry::Point_In_XYRect(box, {10, 10}));
    EXPECT_TRUE(Geometry::Point_In_XYRect(box, {0, 5}));
    EXPECT_FALSE(Geometry::Point_In_XYRect(box, {11, 5}));
    EXPECT_FALSE(Geometry::Point_In_XYRect(box, {5, -1}));
    const LatLonRect world = LatLonRect::World();
    EXPECT_TRUE(Geometry::Point_In_LatLonRect(world, {ANGLE_RIGHT, -ANGLE_HALF}));
    EXPECT_FALSE(Geometry::Point_In_LatLonRect(world, {ANGLE_RIGHT + 1, 0}));
    EXPECT_FALSE(Geometry::Point_In_LatLonRect(world, {0, ANGLE_HALF + 1}));
}

TEST(RectsFromPoints, OrderTheCoordinates)
{
    EXPECT_EQ(Geometry::XYRect_From_Points({7, -2}, {-3, 5}), XYRect(-3, 5, 7, -2));
    EXPECT_EQ(Geometry::XYRect_From_Points({-3, 5}, {7, -2}), XYRect(-3, 5, 7, -2));
    // Longitudes are plain numbers: a pair across 180 degrees spans the world.
    EXPECT_EQ(Geometry::LatLonRect_From_Points({10, 179}, {-20, -179}), LatLonRect(10, -179, -20, 179));
}

TEST(XYIntersections, SegmentsLinesAndCollinearCases)
{
    const XYPoint none = XYPoint::None();
    struct Row { XYPoint a1, a2, b1, b2, segment, line; };
    const Row rows[] = {
        {{0, 0}, {10, 10}, {0, 10}, {10, 0}, {5, 5}, {5, 5}},
        {{0, 0}, {10, 0}, {0, 1}, {10, 1}, none, none},               // parallel horizontals
        {{0, 0}, {10, 5}, {0, 1}, {10, 6}, none, none},               // parallel slopes
        {{0, 0}, {10, 0}, {5, 0}, {20, 0}, {5, 0}, {5, 0}},           // collinear: B's first point met
        {{10, 0}, {0, 0}, {5, 0}, {20, 0}, {10, 0}, {10, 0}},         // a1 inside B
        {{30, 0}, {25, 0}, {5, 0}, {20, 0}, none, none},              // collinear, bounds apart
        {{0, 0}, {4, 0}, {5, 0}, {9, 0}, none, none},
        {{0, 0}, {0, 10}, {0, 5}, {0, 20}, {0, 5}, {0, 5}},           // collinear verticals
        {{0, 20}, {0, 10}, {0, 0}, {0, 15}, {0, 15}, {0, 15}},        // running down: the larger end
        {{3, -5}, {3, 5}, {-10, 2}, {10, 2}, {3, 2}, {3, 2}},         // vertical against horizontal
        {{-10, 2}, {10, 2}, {3, -5}, {3, 5}, {3, 2}, {3, 2}},
        {{0, 0}, {10, 10}, {20, 0}, {30, -10}, none, none},           // the lines meet outside B
        {{0, 0}, {2, 1}, {0, 6}, {6, 0}, none, {4, 2}},               // the lines meet beyond a2
        {{0, 0}, {2, 1}, {0, 3}, {3, 0}, {2, 1}, {2, 1}},             // exactly at a2
        {{0, 0}, {3, 1}, {0, 1}, {3, 0}, {2, 1}, {2, 1}},             // (1.5, 0.5) rounds away from 0
        {{0, 0}, {-3, -1}, {0, -1}, {-3, 0}, {-2, -1}, {-2, -1}},     // (-1.5, -0.5) likewise
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.a1.x << "," << r.a1.y << ")-(" << r.a2.x << ","
                                        << r.a2.y << ") with (" << r.b1.x << "," << r.b1.y << ")-("
                                        << r.b2.x << "," << r.b2.y << ")");
        EXPECT_EQ(Geometry::XY_Segment_Intersection(r.a1, r.a2, r.b1, r.b2), r.segment);
        EXPECT_EQ(Geometry::XY_Line_Segment_Intersection(r.a1, r.a2, r.b1, r.b2), r.line);
    }
}

TEST(XYIntersections, LineMeetingBeyondEveryCoordinateIsNone)
{
    // Nearly parallel lines meet about six thousand million units away.
    EXPECT_EQ(Geometry::XY_Line_Intersection({0, 0}, {1, 1}, {0, 3}, {2000000000, 2000000004}),
              XYPoint::None());
    EXPECT_EQ(Geometry::XY_Line_Intersection({0, 0}, {1, 1}, {0, 2}, {2000000000, 2000000004}),
              XYPoint(-2000000000, -2000000000));
}

TEST(LatLonIntersections, PointOnLineTest)
{
    // A second segment whose ends coincide asks whether that point lies on
    // the line through the first two, to the nearest unit.
    const LatLonPoint p1(0, 0);
    const LatLonPoint p2(10, 30);   // lat 10 over lon 30: slope 1/3
    EXPECT_EQ(Geometry::Line_Segment_Intersection(p1, p2, {20, 60}, {20, 60}), LatLonPoint(20, 60));
    EXPECT_EQ(Geometry::Line_Segment_Intersection(p1, p2, {20, 61}, {20, 61}), LatLonPoint(20, 61));   // 20.33 rounds to 20
    EXPECT_TRUE(Geometry::Line_Segment_Intersection(p1, p2, {21, 61}, {21, 61}).IsNone());
    EXPECT_EQ(Geometry::Segment_Intersection({0, 0}, {10, 10}, {10, 0}, {0, 10}), LatLonPoint(5, 5));
    EXPECT_EQ(Geometry::Segment_Intersection({0, 0}, {0, 10}, {0, 1}, {0, 11}), LatLonPoint(0, 1));
}

TEST(RectCrossings, FirstEdgeInOrderNotNearest)
{
    const LatLonRect rect(100, -100, -100, 100);
    struct Row { LatLonPoint p1, p2, crossing; bool crosses; };
    const Row rows[] = {
        // Crosses the west edge first from p1, but the north edge is tested first.
        {{50, -150}, {150, 0}, {100, -75}, true},
        {{0, 0}, {0, 200}, {0, 100}, true},                       // east edge only
        {{0, 0}, {-200, 0}, {-100, 0}, true},                     // south edge only
        {{150, 0}, {100, 0}, {100, 0}, true},                     // ends on the north edge
        {{0, 0}, {10, 10}, LatLonPoint::None(), true},            // inside: no crossing, p1 inside
        {{10, 10}, {0, 0}, LatLonPoint::None(), true},
        {{200, 0}, {150, 50}, LatLonPoint::None(), false},        // wholly outside
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.p1.lat << "," << r.p1.lon << ")-(" << r.p2.lat
                                        << "," << r.p2.lon << ")");
        EXPECT_EQ(Geometry::Segment_Rect_Crossing_Point(rect, r.p1, r.p2), r.crossing);
        EXPECT_EQ(Geometry::Segment_Crosses_LatLonRect(rect, r.p1, r.p2), r.crosses);
    }
}

TEST(SavedForms, LittleEndianFieldByField)
{
    std::ostringstream out;
    LatLonPoint(0x01020304, -2).Save(out);
    XYPoint(-1, 0x7FFFFFFF).Save(out);
    XYRect(1, 2, 3, 4).Save(out);
    LatLonRect(ANGLE_RIGHT, -ANGLE_HALF, -ANGLE_RIGHT, ANGLE_HALF).Save(out);
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 8u + 8u + 16u + 16u);
    EXPECT_EQ(bytes.substr(0, 8), Bytes({4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(bytes.substr(8, 8), Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(bytes.substr(16, 4), Bytes({1, 0, 0, 0}));
    EXPECT_EQ(bytes.substr(28, 4), Bytes({4, 0, 0, 0}));
    EXPECT_EQ(bytes.substr(32, 4), Bytes({0x00, 0x80, 0x51, 0x01}));   // 90 degrees

    std::istringstream in(bytes);
    LatLonPoint position;
    XYPoint point;
    XYRect rect;
    LatLonRect area;
    EXPECT_TRUE(position.Load(in));
    EXPECT_TRUE(point.Load(in));
    EXPECT_TRUE(rect.Load(in));
    EXPECT_TRUE(area.Load(in));
    EXPECT_EQ(position, LatLonPoint(0x01020304, -2));
    EXPECT_EQ(point, XYPoint(-1, 0x7FFFFFFF));
    EXPECT_EQ(rect, XYRect(1, 2, 3, 4));
    EXPECT_EQ(area, LatLonRect::World());
}

// Every cut of a saved value fails and leaves the value as it was.
TEST(SavedForms, CutShortLeavesValueUnchanged)
{
    std::ostringstream out;
    XYRect(1, 2, 3, 4).Save(out);
    const std::string whole = out.str();
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        std::istringstream in(whole.substr(0, length));
        XYRect rect(9, 9, 9, 9);
        EXPECT_FALSE(rect.Load(in));
        EXPECT_EQ(rect, XYRect(9, 9, 9, 9));
        std::istringstream in2(whole.substr(0, length % 8));
        LatLonPoint position(7, 7);
        EXPECT_FALSE(position.Load(in2));
        EXPECT_EQ(position, LatLonPoint(7, 7));
    }
}

TEST(MapPolyPointLoad, NineBytesNoPadding)
{
    const std::string bytes = Bytes({0xF0, 0x00, 0x80, 0x51, 0x01, 0x01, 0x00, 0x00, 0x80, 0x55});
    std::istringstream in(bytes);
    MapPolyPoint point;
    ASSERT_TRUE(point.Load(in));
    EXPECT_EQ(point.level, 0xF0);
    EXPECT_EQ(point.first, ANGLE_RIGHT);
    EXPECT_EQ(point.second, INT32_MIN + 1);
    EXPECT_EQ(in.tellg(), 9);                          // the next byte is left for the next point
    for (size_t length = 0; length < 9; ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        std::istringstream cut(bytes.substr(0, length));
        MapPolyPoint kept;
        kept.level = 3;
        EXPECT_FALSE(kept.Load(cut));
        EXPECT_EQ(kept.level, 3);
        EXPECT_EQ(kept.first, 0);
    }
}
