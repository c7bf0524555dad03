// Tests of MapPoly: reading points, drawing with detail levels through the
// map pen, and the crossing count and first crossing of a segment.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "core/StreamFields.h"
#include "support/MapFiles.h"
#include "support/RecordingPen.h"
#include "world/MapPoly.h"

namespace {

struct P {
    int32_t lat, lon;
    uint8_t level = 5;
};

std::string PointBytes(const std::vector<P>& points)
{
    std::ostringstream out;
    for (const P& p : points) {
        SaveField(out, p.level);
        SaveField(out, p.lat);
        SaveField(out, p.lon);
    }
    return out.str();
}

// Loads the points into poly and projects them flat (x = lon, y = lat).
void Build(MapPoly& poly, const std::vector<P>& points)
{
    std::istringstream in(PointBytes(points));
    ASSERT_TRUE(poly.Load(in, static_cast<int16_t>(points.size())));
    poly.ProjectPoints([](const LatLonPoint& p) { return XYPoint(p.lon, p.lat); });
}

// The square 0..1000 on both axes, closed: (0,0) (0,1000) (1000,1000) (1000,0) (0,0).
const std::vector<P> SQUARE = {{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}, {0, 0}};

}  // namespace

TEST(MapPolyLoad, ReadsPointsAndKeepsPositionsAfterProjection)
{
    MapPoly poly;
    std::istringstream in(PointBytes({{100, -200, 1}, {300, 400, 200}, {-50, 10, 3}}));
    ASSERT_TRUE(poly.Load(in, 3));
    ASSERT_EQ(poly.GetCount(), 3);
    EXPECT_EQ(poly.GetPoints()[1], LatLonPoint(300, 400));
    EXPECT_EQ(poly.GetMapPoints()[1].level, 200);
    EXPECT_EQ(poly.GetMapPoints()[2].first, -50);
    EXPECT_FALSE(poly.IsClosed());

    poly.ProjectPoints([](const LatLonPoint& p) { return XYPoint(p.lon * 2, p.lat * 3); });
    EXPECT_EQ(poly.GetMapPoints()[0].first, -400);   // x
    EXPECT_EQ(poly.GetMapPoints()[0].second, 300);   // y
    EXPECT_EQ(poly.GetPoints()[0], LatLonPoint(100, -200));
    EXPECT_EQ(poly.GetLatLonRect(), LatLonRect(300, -200, -50, 400));
    EXPECT_EQ(poly.GetXYRect(), XYRect(-400, 900, 800, -150));
}

TEST(MapPolyLoad, RefusesNegativeCountShortStreamAndPointsOffTheGlobe)
{
    struct Row { const char* name; std::string bytes; int16_t count; bool loads; };
    const std::string two = PointBytes({{1, 2}, {3, 4}});
    const Row rows[] = {
        {"zero points", "", 0, true},
        {"negative count", two, -1, false},
        {"count beyond the bytes", two, 3, false},
        {"cut inside the last point", two.substr(0, 17), 2, false},
        {"latitude past the pole", PointBytes({{ANGLE_RIGHT + 1, 0}}), 1, false},
        {"latitude at the pole", PointBytes({{-ANGLE_RIGHT, 0}}), 1, true},
        {"longitude past a full turn", PointBytes({{0, -ANGLE_FULL - 1}}), 1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MapPoly poly;
        Build(poly, SQUARE);   // something to replace
        std::istringstream in(r.bytes);
        EXPECT_EQ(poly.Load(in, r.count), r.loads);
        if (!r.loads) {
            EXPECT_EQ(poly.GetCount(), 0);
            EXPECT_EQ(poly.GetPoints(), nullptr);
        }
    }
}

TEST(MapPolyDraw, SkipsPointsBelowTheLevelComparedAsSignedBytes)
{
    MapPoly poly;
    Build(poly, {{0, 0, 0}, {10, 10, 1}, {20, 20, 3}, {30, 30, 200}, {40, 40, 5}});
    struct Row { uint8_t level; std::vector<int32_t> lineTo; };
    const Row rows[] = {
        {0, {10, 20, 40}},       // 200 reads as -56, below 0
        {3, {20, 40}},
        {5, {40}},
        {6, {}},
        {200, {10, 20, 30, 40}}, // -56: every point reaches it
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int{r.level});
        RecordingPenScope pen;
        poly.Draw(r.level, 4);
        ASSERT_EQ(pen.calls.size(), r.lineTo.size() + 1);
        EXPECT_EQ(pen.calls[0], (PenCall{PenCall::Move, XYPoint(0, 0), 0}));   // point 0 always
        for (size_t i = 0; i < r.lineTo.size(); ++i)
            EXPECT_EQ(pen.calls[i + 1],
                      (PenCall{PenCall::Line, XYPoint(r.lineTo[i], r.lineTo[i]), 4}));
    }
}

TEST(MapPolyDraw, AnOutlineWithoutPointsDrawsNothing)
{
    MapPoly poly;
    RecordingPenScope pen;
    poly.Draw(0, 1);
    EXPECT_TRUE(pen.calls.empty());
}

TEST(MapPolyCountCrossings, CountsVerticesPassedOnceAndTouchedTwice)
{
    struct Row { const char* name; LatLonPoint a, b; int32_t expected; };
    const Row rows[] = {
        {"inside to outside through an edge", {500, 500}, {500, 2000}, 1},
        {"across the whole square", {500, -500}, {500, 1500}, 2},
        {"wholly outside", {2000, 2000}, {3000, 3000}, 0},
        {"wholly inside", {100, 100}, {900, 800}, 0},
        {"through corner (1000,1000), outline crosses", {500, 500}, {1500, 1500}, 1},
        {"touches corner (1000,1000) from outside", {1500, 500}, {500, 1500}, 2},
        {"through the first point, outline crosses", {-500, -500}, {500, 500}, 1},
        {"touches the first point from outside", {-500, 500}, {500, -500}, 2},
        {"along the bottom edge", {0, -500}, {0, 1500}, 2},
        {"ends on an edge", {500, 500}, {500, 1000}, 1},
    };
    MapPoly poly;
    Build(poly, SQUARE);
    ASSERT_TRUE(poly.IsClosed());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(poly.CountCrossings(r.a, r.b), r.expected);
        EXPECT_EQ(poly.CountCrossings(r.b, r.a), r.expected);
    }
}

// A corner of the sample island (74.6 N 0.5 W, 74.75 N 0.7 W, 74.9 N 0.8 W)
// and segments towards the grid point 75 N 1 W that pass a fraction of an
// angle unit beside it. Rounding the crossing point onto the corner once took
// a cut corner for a crossing and a touch (3), turning the land test there.
TEST(MapPolyCountCrossings, ASegmentAHairBesideAVertexIsNotTakenForOneThroughIt)
{
    MapPoly poly;
    Build(poly, {{18333696, -122880}, {18370560, -172032}, {18407424, -196608}});
    const LatLonPoint grid(18432000, -245760);
    struct Row { const char* name; LatLonPoint a; int32_t expected; };
    const Row rows[] = {
        {"cuts the corner 0.08 units inside", {18235392, -9830}, 2},
        {"passes 0.01 units outside", {18235392, -9831}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(poly.CountCrossings(r.a, grid), r.expected);
        EXPECT_EQ(poly.CountCrossings(grid, r.a), r.expected);
    }
}

TEST(MapPolyCountCrossings, OpenOutlineEndsCountOnce)
{
    MapPoly poly;
    Build(poly, {{0, 0}, {0, 1000}, {1000, 1000}});
    struct Row { const char* name; LatLonPoint a, b; int32_t expected; };
    const Row rows[] = {
        {"through the first point", {-500, 0}, {500, 0}, 1},
        {"through the last point", {1000, 500}, {1000, 1500}, 1},
        {"through the middle vertex, outline turns", {500, 1500}, {-500, 500}, 2},
        {"through the middle of the first edge", {-500, 500}, {500, 500}, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(poly.CountCrossings(r.a, r.b), r.expected);
    }
}

TEST(MapPolyCountCrossings, OutlinesWithFewPointsCountNothing)
{
    MapPoly none, one;
    Build(one, {{0, 0}});
    EXPECT_EQ(none.CountCrossings({-10, 0}, {10, 0}), 0);
    EXPECT_EQ(one.CountCrossings({-10, 0}, {10, 0}), 0);
}

TEST(MapPolyFirstCrossing, FirstInEdgeOrderAndNeverTheClosingEdge)
{
    MapPoly poly;
    Build(poly, SQUARE);
    // Crosses edge 3 (1000,1000)-(1000,0) first along a, but edge 1 comes first in order.
    EXPECT_EQ(poly.FirstCrossing({1500, 500}, {-500, 500}), LatLonPoint(0, 500));
    EXPECT_TRUE(poly.FirstCrossing({2000, 2000}, {3000, 3000}).IsNone());

    // Without the repeated point, the edge back to point 0 is not tried.
    MapPoly open;
    Build(open, {{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}});
    EXPECT_TRUE(open.FirstCrossing({500, -500}, {500, 200}).IsNone());
    EXPECT_EQ(open.FirstCrossing({500, -500}, {500, 1500}), LatLonPoint(500, 1000));

    MapPoly one;
    Build(one, {{0, 500}});
    EXPECT_EQ(one.FirstCrossing({0, 0}, {0, 1000}), LatLonPoint(0, 500));
    EXPECT_TRUE(one.FirstCrossing({10, 0}, {10, 1000}).IsNone());
    EXPECT_TRUE(MapPoly().FirstCrossing({0, 0}, {0, 1000}).IsNone());
}
