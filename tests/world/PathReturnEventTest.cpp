// PathReturnEventTest.cpp: the route hand-back event: ownership of its path,
// its saved form for found, missing and refused routes, and damaged records.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/Bytes.h"
#include "world/NavPath.h"
#include "world/PathReturnEvent.h"

namespace {

// A path that notes its own deletion.
class WatchedPath : public Nav_Path {
public:
    explicit WatchedPath(bool& deleted) : deleted_(deleted) {}
    ~WatchedPath() override { deleted_ = true; }

private:
    bool& deleted_;
};

Nav_Path* MakeAnswer(int16_t numPoints, const std::vector<LatLonPoint>& points)
{
    Nav_Path* path = new Nav_Path();
    path->unitID = 0x0102;
    path->sideID = 3;
    path->navType = 2;
    path->numPoints = numPoints;
    for (const LatLonPoint& p : points)
        path->AddPoint(p);
    return path;
}

std::vector<LatLonPoint> PointsOf(const Nav_Path& path)
{
    std::vector<LatLonPoint> points;
    for (const PathPoint* p = path.points.First(); p != nullptr; p = p->GetNext())
        points.push_back(p->pos);
    return points;
}

std::string SaveToString(const PathReturnEvent& event)
{
    std::ostringstream out;
    event.Save(out);
    return out.str();
}

} // namespace

TEST(PathReturnEvent, OwnsItsPathUntilReleased)
{
    bool deleted = false;
    {
        PathReturnEvent event(new WatchedPath(deleted), 9);
        EXPECT_EQ(event.GetSubject(), 9);
        EXPECT_EQ(event.TypeCode(), EventCode::PATH_RETURN);
        EXPECT_EQ(event.GetTime(), GameTime(0));
        EXPECT_FALSE(deleted);
    }
    EXPECT_TRUE(deleted);

    deleted = false;
    Nav_Path* kept = nullptr;
    {
        PathReturnEvent event(new WatchedPath(deleted), 9);
        kept = event.ReleasePath();
        EXPECT_EQ(event.GetPath(), nullptr);
    }
    EXPECT_FALSE(deleted);
    delete kept;
    EXPECT_TRUE(deleted);
}

TEST(PathReturnEvent, HandlingWithoutUnitsGivesTheEventUp)
{
    PathReturnEvent event(MakeAnswer(2, {{1, 1}, {2, 2}}), 9);
    EXPECT_FALSE(event.HandleEvent());
}

TEST(PathReturnEvent, SavedFormWritesThePointsAReaderExpects)
{
    const std::string head = Bytes({0x04, 0x02, 0x01, 0x03, 0x02, 0x00});
    const std::string tail = Bytes({0x09, 0x00, 0x2C, 0x01, 0x00, 0x00});   // unit 9, due 300
    const std::string p1 = Bytes({1, 0, 0, 0, 2, 0, 0, 0});
    const std::string p2 = Bytes({3, 0, 0, 0, 4, 0, 0, 0});
    const std::string p3 = Bytes({5, 0, 0, 0, 6, 0, 0, 0});
    const std::string zero = Bytes({0, 0, 0, 0, 0, 0, 0, 0});
    struct Row {
        const char* name;
        int16_t numPoints;
        std::vector<LatLonPoint> points;
        std::string expected;
    };
    const Row rows[] = {
        {"route of three", 3, {{1, 2}, {3, 4}, {5, 6}},
         head + Bytes({0x03, 0x00}) + p1 + p2 + p3 + tail},
        // No route still holds start, goal and the blocking point; writing all
        // three put the rest of the event list one point out of step.
        {"no route", 0, {{1, 2}, {3, 4}, {5, 6}},
         head + Bytes({0x00, 0x00}) + p1 + p2 + tail},
        // A refused request holds start and goal; a reader takes no point.
        {"refused", -1, {{1, 2}, {3, 4}},
         head + Bytes({0xFF, 0xFF}) + tail},
        // A count the chain falls short of is padded, never overrun.
        {"short chain", 3, {{1, 2}},
         head + Bytes({0x03, 0x00}) + p1 + zero + zero + tail},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        PathReturnEvent event(MakeAnswer(r.numPoints, r.points), 9);
        event.SetDueTime(300);
        EXPECT_EQ(SaveToString(event), r.expected);
    }
}

TEST(PathReturnEvent, WithoutAPathSavesAnEmptyRequest)
{
    PathReturnEvent event(nullptr, 5);
    EXPECT_EQ(SaveToString(event),
              Bytes({0x04, 0, 0, 0, 0, 0, 0, 0,   // code, request fields, count 0
                     0, 0, 0, 0, 0, 0, 0, 0,         // two (0, 0) points
                     0, 0, 0, 0, 0, 0, 0, 0,
                     0x05, 0x00, 0, 0, 0, 0}));      // unit 5, due 0
}

TEST(PathReturnEvent, LoadsWhatItSaves)
{
    struct Row { int16_t numPoints; std::vector<LatLonPoint> points, loaded; };
    const Row rows[] = {
        {3, {{1, 2}, {-3, 4}, {5, -6}}, {{1, 2}, {-3, 4}, {5, -6}}},
        {0, {{1, 2}, {3, 4}, {5, 6}}, {{1, 2}, {3, 4}}},
        {-1, {{1, 2}, {3, 4}}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "numPoints " << r.numPoints);
        PathReturnEvent saved(MakeAnswer(r.numPoints, r.points), 9);
        saved.SetDueTime(0x01020304);
        const std::string bytes = SaveToString(saved);

        std::istringstream in(bytes.substr(1));   // the list loader reads the code
        PathReturnEvent loaded;
        ASSERT_TRUE(loaded.Load(in));
        EXPECT_EQ(in.peek(), EOF);
        ASSERT_NE(loaded.GetPath(), nullptr);
        EXPECT_EQ(loaded.GetSubject(), 9);
        EXPECT_EQ(loaded.GetTime(), GameTime(0x01020304));
        EXPECT_EQ(loaded.GetPath()->unitID, 0x0102);
        EXPECT_EQ(loaded.GetPath()->sideID, 3);
        EXPECT_EQ(loaded.GetPath()->navType, 2);
        EXPECT_EQ(loaded.GetPath()->numPoints, r.numPoints);
        EXPECT_EQ(PointsOf(*loaded.GetPath()), r.loaded);
        EXPECT_EQ(SaveToString(loaded), bytes);
    }
}

TEST(PathReturnEvent, EveryTruncationFailsAndLeavesTheEventAsItWas)
{
    PathReturnEvent saved(MakeAnswer(3, {{1, 2}, {3, 4}, {5, 6}}), 9);
    saved.SetDueTime(77);
    const std::string record = SaveToString(saved).substr(1);
    for (size_t length = 0; length < record.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "cut at " << length);
        bool deleted = false;
        PathReturnEvent event(new WatchedPath(deleted), 4);
        event.SetDueTime(11);
        std::istringstream in(record.substr(0, length));
        EXPECT_FALSE(event.Load(in));
        EXPECT_TRUE(in.fail());
        EXPECT_FALSE(deleted);
        EXPECT_EQ(event.GetSubject(), 4);
        EXPECT_EQ(event.GetTime(), GameTime(11));
    }
}

TEST(PathReturnEvent, HugePointCountStopsAtTheEndOfTheStream)
{
    // 32767 points announced, one present.
    std::istringstream in(Bytes({0x01, 0x00, 0x00, 0x02, 0x00, 0xFF, 0x7F,
                                 1, 0, 0, 0, 2, 0, 0, 0}));
    PathReturnEvent event;
    EXPECT_FALSE(event.Load(in));
    EXPECT_EQ(event.GetPath(), nullptr);
}
