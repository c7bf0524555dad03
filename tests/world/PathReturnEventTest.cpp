// PathReturnEventTest.cpp: the route hand-back event: ownership of its path,
// its saved form for found, missing and refused routes, records of older
// files, the retry of an answer without a route, and damaged records.
#include <gtest/gtest.h>

#include <memory>
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

TEST(PathReturnEvent, SavedFormKeepsEveryPointAndTheReversedFlag)
{
    // Code, request unit 0x0102, side 3, then the request word: navType 2 and
    // the bits HELD_POINTS (0x40 in its high byte) and REVERSED (0x80).
    const std::string head = Bytes({0x04, 0x02, 0x01, 0x03, 0x02});
    const std::string tail = Bytes({0x09, 0x00, 0x2C, 0x01, 0x00, 0x00});   // unit 9, due 300
    const std::string p1 = Bytes({1, 0, 0, 0, 2, 0, 0, 0});
    const std::string p2 = Bytes({3, 0, 0, 0, 4, 0, 0, 0});
    const std::string p3 = Bytes({5, 0, 0, 0, 6, 0, 0, 0});
    struct Row {
        const char* name;
        int16_t numPoints;
        uint8_t reversed;
        std::vector<LatLonPoint> points;
        std::string expected;
    };
    const Row rows[] = {
        // The count tells how many points follow: the form files have always had.
        {"route of three", 3, 0, {{1, 2}, {3, 4}, {5, 6}},
         head + Bytes({0x00, 0x03, 0x00}) + p1 + p2 + p3 + tail},
        {"reversed route of two", 2, 1, {{1, 2}, {3, 4}},
         head + Bytes({0x80, 0x02, 0x00}) + p1 + p2 + tail},
        {"refused without points", -1, 0, {},
         head + Bytes({0x00, 0xFF, 0xFF}) + tail},
        // No route holds start, goal and the blocking point, which a count of
        // 0 does not tell: the points held are counted. Writing two of them
        // once left a retry after loading with the start alone.
        {"no route", 0, 0, {{1, 2}, {3, 4}, {5, 6}},
         head + Bytes({0x40, 0x00, 0x00, 0x03, 0x00}) + p1 + p2 + p3 + tail},
        {"no route, reversed", 0, 1, {{1, 2}, {3, 4}, {5, 6}},
         head + Bytes({0xC0, 0x00, 0x00, 0x03, 0x00}) + p1 + p2 + p3 + tail},
        {"refused with start and goal", -1, 0, {{1, 2}, {3, 4}},
         head + Bytes({0x40, 0xFF, 0xFF, 0x02, 0x00}) + p1 + p2 + tail},
        {"count the chain falls short of", 3, 0, {{1, 2}},
         head + Bytes({0x40, 0x03, 0x00, 0x01, 0x00}) + p1 + tail},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Nav_Path* const answer = MakeAnswer(r.numPoints, r.points);
        answer->reversed = r.reversed;
        answer->threatMask = 0xF0;   // the unit's to give again: not saved
        PathReturnEvent event(answer, 9);
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
    struct Row { int16_t numPoints; uint8_t reversed; std::vector<LatLonPoint> points; };
    const Row rows[] = {
        {3, 0, {{1, 2}, {-3, 4}, {5, -6}}},
        {2, 1, {{1, 2}, {-3, 4}}},
        {0, 0, {{1, 2}, {3, 4}, {5, 6}}},
        {0, 1, {{1, 2}, {3, 4}, {5, 6}}},
        {-1, 0, {{1, 2}, {3, 4}}},
        {-1, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "numPoints " << r.numPoints << ", reversed " << int{r.reversed});
        Nav_Path* const answer = MakeAnswer(r.numPoints, r.points);
        answer->reversed = r.reversed;
        PathReturnEvent saved(answer, 9);
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
        EXPECT_EQ(loaded.GetPath()->reversed, r.reversed);
        EXPECT_EQ(PointsOf(*loaded.GetPath()), r.points);
        EXPECT_EQ(SaveToString(loaded), bytes);
    }
}

// Records written before the points held were counted: an answer without a
// route kept only start and goal, and its retry still turns them round.
TEST(PathReturnEvent, OlderRecordsLoadAndRetryAsTheyWere)
{
    struct Row { const char* name; std::string record; int16_t numPoints; std::vector<LatLonPoint> points; };
    const Row rows[] = {
        {"no route", Bytes({0x02, 0x01, 0x03, 0x02, 0x00, 0x00, 0x00,
                            1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0x09, 0x00, 0, 0, 0, 0}),
         0, {{1, 2}, {3, 4}}},
        {"refused", Bytes({0x02, 0x01, 0x03, 0x02, 0x00, 0xFF, 0xFF, 0x09, 0x00, 0, 0, 0, 0}), -1, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::istringstream in(r.record);
        PathReturnEvent event;
        ASSERT_TRUE(event.Load(in));
        EXPECT_EQ(in.peek(), EOF);
        ASSERT_NE(event.GetPath(), nullptr);
        EXPECT_EQ(event.GetPath()->numPoints, r.numPoints);
        EXPECT_EQ(event.GetPath()->reversed, 0);
        EXPECT_EQ(PointsOf(*event.GetPath()), r.points);
    }

    std::istringstream in(rows[0].record);
    PathReturnEvent older;
    ASSERT_TRUE(older.Load(in));
    PathReturnEvent live(MakeAnswer(0, {{1, 2}, {3, 4}, {5, 6}}), 9);
    std::unique_ptr<Nav_Path> fromOlder(older.TakeRetryRequest(0xF0));
    std::unique_ptr<Nav_Path> fromLive(live.TakeRetryRequest(0xF0));
    ASSERT_NE(fromOlder, nullptr);
    ASSERT_NE(fromLive, nullptr);
    EXPECT_EQ(PointsOf(*fromOlder), (std::vector<LatLonPoint>{{3, 4}, {1, 2}}));
    EXPECT_EQ(PointsOf(*fromLive), PointsOf(*fromOlder));
    EXPECT_EQ(fromOlder->reversed, 1);
    EXPECT_EQ(fromOlder->threatMask, 0xF0u);
    EXPECT_EQ(fromOlder->numPoints, 2);
}

TEST(PathReturnEvent, OnlyAFirstAnswerWithoutARouteIsRetried)
{
    struct Row { const char* name; int16_t numPoints; uint8_t reversed; std::vector<LatLonPoint> points; };
    const Row rows[] = {
        {"a route", 3, 0, {{1, 2}, {3, 4}, {5, 6}}},
        {"a refusal", -1, 0, {{1, 2}, {3, 4}}},
        {"the retry's own answer", 0, 1, {{3, 4}, {1, 2}, {5, 6}}},
        {"no goal to turn round", 0, 0, {{1, 2}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Nav_Path* const answer = MakeAnswer(r.numPoints, r.points);
        answer->reversed = r.reversed;
        PathReturnEvent event(answer, 9);
        EXPECT_EQ(event.TakeRetryRequest(0xF0), nullptr);
        ASSERT_EQ(event.GetPath(), answer);   // kept, unchanged
        EXPECT_EQ(answer->numPoints, r.numPoints);
        EXPECT_EQ(answer->reversed, r.reversed);
        EXPECT_EQ(PointsOf(*answer), r.points);
    }
    PathReturnEvent empty(nullptr, 9);
    EXPECT_EQ(empty.TakeRetryRequest(0xF0), nullptr);
}

TEST(PathReturnEvent, EveryTruncationFailsAndLeavesTheEventAsItWas)
{
    struct Row { const char* name; int16_t numPoints; uint8_t reversed; };
    const Row rows[] = {{"route", 3, 0}, {"no route, points counted", 0, 1}};
    for (const Row& r : rows) {
        Nav_Path* const answer = MakeAnswer(r.numPoints, {{1, 2}, {3, 4}, {5, 6}});
        answer->reversed = r.reversed;
        PathReturnEvent saved(answer, 9);
        saved.SetDueTime(77);
        const std::string record = SaveToString(saved).substr(1);
        for (size_t length = 0; length < record.size(); ++length) {
            SCOPED_TRACE(testing::Message() << r.name << ", cut at " << length);
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
}

TEST(PathReturnEvent, DamagedPointCountsAreRefused)
{
    struct Row { const char* name; std::string record; };
    const Row rows[] = {
        // 32767 points announced, one present.
        {"huge count", Bytes({0x01, 0x00, 0x00, 0x02, 0x00, 0xFF, 0x7F, 1, 0, 0, 0, 2, 0, 0, 0})},
        {"huge held count", Bytes({0x01, 0x00, 0x00, 0x02, 0x40, 0x00, 0x00, 0xFF, 0x7F,
                                   1, 0, 0, 0, 2, 0, 0, 0})},
        {"negative held count", Bytes({0x01, 0x00, 0x00, 0x02, 0x40, 0x00, 0x00, 0xFF, 0xFF,
                                       0x09, 0x00, 0, 0, 0, 0})},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::istringstream in(r.record);
        PathReturnEvent event;
        EXPECT_FALSE(event.Load(in));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(event.GetPath(), nullptr);
    }
}
