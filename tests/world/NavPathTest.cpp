// NavPathTest.cpp: Nav_Path construction and destruction, and the navigator
// section's saved form: exact bytes, round trip, damaged and truncated input.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/Bytes.h"
#include "world/NavPath.h"

namespace {

// A queued request as the Navigator holds it: start, goal, blocking point.
Nav_Path* MakeRequest(uint16_t unit, uint8_t side, int16_t navType, uint32_t mask,
                      const std::vector<LatLonPoint>& points)
{
    Nav_Path* path = new Nav_Path();
    path->unitID = unit;
    path->sideID = side;
    path->navType = navType;
    path->threatMask = mask;
    path->numPoints = 0;
    for (const LatLonPoint& p : points)
        EXPECT_TRUE(path->AddPoint(p));
    return path;
}

std::vector<LatLonPoint> PointsOf(const Nav_Path& path)
{
    std::vector<LatLonPoint> points;
    for (const PathPoint* p = path.points.First(); p != nullptr; p = p->GetNext())
        points.push_back(p->pos);
    return points;
}

std::vector<const Nav_Path*> Requests(const Chain<Nav_Path>& queue)
{
    std::vector<const Nav_Path*> paths;
    for (const Nav_Path* p = queue.First(); p != nullptr; p = p->GetNext())
        paths.push_back(p);
    return paths;
}

std::string SaveToString(const Chain<Nav_Path>& queue)
{
    std::ostringstream out;
    EXPECT_TRUE(Nav_Path::SaveQueue(out, queue));
    return out.str();
}

// The two-request queue of the saved-form tests and its exact bytes.
void FillSampleQueue(Chain<Nav_Path>& queue)
{
    queue.Append(MakeRequest(0x1234, 2, 2, 0x01020304,
                             {{0x10, -1}, {0x20, 0x7FFFFFFF}, {-0x30, 0x40}}));
    Nav_Path* second = MakeRequest(7, 0, 4, 0xFFFFFFFF, {{1, 2}, {3, 4}, {5, 6}});
    second->reversed = 1;
    queue.Append(second);
}

const std::string SAMPLE_BYTES = Bytes({
    0x02, 0x00,                                       // count
    0x34, 0x12, 0x02, 0x02, 0x00, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00, 0x00,
    0x10, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,   // start
    0x20, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x7F,   // goal
    0xD0, 0xFF, 0xFF, 0xFF, 0x40, 0x00, 0x00, 0x00,   // blocking point
    0x07, 0x00, 0x00, 0x04, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01,
    0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
    0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
    0x05, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00,
});

// Checks that path is in the state of a request whose search has not started.
void ExpectFreshSearch(const Nav_Path& path)
{
    EXPECT_EQ(path.numOpen, 0);
    EXPECT_EQ(path.numClosed, 0);
    EXPECT_EQ(path.numCandidates, 0);
    EXPECT_EQ(path.current, -1);
    EXPECT_EQ(path.chainIndex, -1);
    EXPECT_EQ(path.cursor, -1);
    EXPECT_EQ(path.pass, 0);
    EXPECT_EQ(path.optState, 0);
    EXPECT_EQ(path.sweepStarted, 0);
    EXPECT_EQ(path.clockwise, 0);
    EXPECT_EQ(path.sweepFound, 0);
    EXPECT_EQ(path.optimizing, 0);
    EXPECT_EQ(path.searchDone, 0);
    EXPECT_EQ(path.passDone, 0);
}

} // namespace

TEST(NavPath, ConstructorGivesAnUnstartedRequest)
{
    const Nav_Path path;
    EXPECT_EQ(path.points.First(), nullptr);
    EXPECT_EQ(path.maxPasses, 3);
    EXPECT_EQ(path.maxCandidates, 20);
    EXPECT_EQ(path.reversed, 0);
    EXPECT_EQ(path.zones, nullptr);
    EXPECT_EQ(path.goal, LatLonPoint());
    EXPECT_EQ(path.start, LatLonPoint());
    EXPECT_EQ(path.origin, LatLonPoint());
    EXPECT_EQ(path.scratch, NavVector());
    for (int i = 0; i < Nav_Path::MAX_NODES; ++i) {
        EXPECT_EQ(path.open[i].parent, 0);
        EXPECT_EQ(path.closed[i].estimate, 0);
        EXPECT_EQ(path.candidates[i].pos, LatLonPoint());
    }
    ExpectFreshSearch(path);
}

TEST(NavPath, ResetSearchClearsAStartedSearch)
{
    Nav_Path path;
    path.numOpen = 4;
    path.numClosed = 9;
    path.numCandidates = 12;
    path.current = 3;
    path.chainIndex = 2;
    path.cursor = 5;
    path.pass = 2;
    path.optState = 1;
    path.sweepStarted = path.clockwise = path.sweepFound = 1;
    path.optimizing = path.searchDone = path.passDone = 1;
    path.ResetSearch();
    ExpectFreshSearch(path);
}

TEST(NavPath, DestroyingAPathJoinsItsNeighbours)
{
    Nav_Path first;
    Nav_Path last;
    Nav_Path* middle = new Nav_Path();
    middle->AddPoint({1, 1});
    middle->AddPoint({2, 2});
    first.SetNext(middle);
    middle->SetPrev(&first);
    middle->SetNext(&last);
    last.SetPrev(middle);
    delete middle;   // its points go with it (the sanitizer build checks)
    EXPECT_EQ(first.GetNext(), &last);
    EXPECT_EQ(last.GetPrev(), &first);
}

TEST(NavPath, AddPointAppendsInOrder)
{
    Nav_Path path;
    EXPECT_EQ(path.CountPoints(), 0);
    path.AddPoint({1, 2});
    path.AddPoint({3, 4});
    EXPECT_EQ(path.CountPoints(), 2);
    EXPECT_EQ(PointsOf(path), (std::vector<LatLonPoint>{{1, 2}, {3, 4}}));
}

TEST(NavigatorSection, EmptyQueueSavesAsTwoZeroBytesAndLoadsNothing)
{
    Chain<Nav_Path> queue;
    EXPECT_EQ(SaveToString(queue), Bytes({0x00, 0x00}));

    std::istringstream in(Bytes({0x00, 0x00}));
    EXPECT_TRUE(Nav_Path::LoadQueue(in, queue));
    EXPECT_EQ(queue.First(), nullptr);
}

TEST(NavigatorSection, SavesEachRequestAsThirtySixBytesInQueueOrder)
{
    Chain<Nav_Path> queue;
    FillSampleQueue(queue);
    EXPECT_EQ(SaveToString(queue), SAMPLE_BYTES);
}

TEST(NavigatorSection, SavedRequestIgnoresTheSearchState)
{
    Chain<Nav_Path> queue;
    FillSampleQueue(queue);
    const std::string before = SaveToString(queue);
    Nav_Path* head = queue.First();
    head->numOpen = 7;
    head->numClosed = 3;
    head->current = 2;
    head->optimizing = 1;
    head->goal = {99, 99};
    head->closed[0].cost = 12345;
    EXPECT_EQ(SaveToString(queue), before);
}

TEST(NavigatorSection, MissingPointsAreWrittenAsZeroToKeepThirtySixBytes)
{
    Chain<Nav_Path> queue;
    queue.Append(MakeRequest(1, 0, 2, 0, {{8, 9}}));
    const std::string bytes = SaveToString(queue);
    ASSERT_EQ(bytes.size(), 2u + Nav_Path::SAVED_REQUEST_SIZE);
    EXPECT_EQ(bytes.substr(14), Bytes({0x08, 0, 0, 0, 0x09, 0, 0, 0,
                                       0, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(NavigatorSection, LoadsRequestsBackInOrderWithAFreshSearch)
{
    std::istringstream in(SAMPLE_BYTES);
    Chain<Nav_Path> queue;
    ASSERT_TRUE(Nav_Path::LoadQueue(in, queue));
    EXPECT_EQ(in.peek(), EOF);

    const std::vector<const Nav_Path*> paths = Requests(queue);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0]->unitID, 0x1234);
    EXPECT_EQ(paths[0]->sideID, 2);
    EXPECT_EQ(paths[0]->navType, 2);
    EXPECT_EQ(paths[0]->threatMask, 0x01020304u);
    EXPECT_EQ(paths[0]->numPoints, 0);
    EXPECT_EQ(paths[0]->reversed, 0);
    EXPECT_EQ(PointsOf(*paths[0]),
              (std::vector<LatLonPoint>{{0x10, -1}, {0x20, 0x7FFFFFFF}, {-0x30, 0x40}}));
    EXPECT_EQ(paths[1]->unitID, 7);
    EXPECT_EQ(paths[1]->navType, 4);
    EXPECT_EQ(paths[1]->threatMask, 0xFFFFFFFFu);
    EXPECT_EQ(paths[1]->reversed, 1);
    EXPECT_EQ(PointsOf(*paths[1]), (std::vector<LatLonPoint>{{1, 2}, {3, 4}, {5, 6}}));
    for (const Nav_Path* path : paths) {
        ExpectFreshSearch(*path);   // current -1: a loaded request has no pass behind it
        EXPECT_EQ(path->maxPasses, 3);
        EXPECT_EQ(path->maxCandidates, 20);
    }

    // And saving the loaded queue gives the same bytes.
    EXPECT_EQ(SaveToString(queue), SAMPLE_BYTES);
}

TEST(NavigatorSection, LoadAppendsAfterRequestsAlreadyQueued)
{
    Chain<Nav_Path> queue;
    Nav_Path* existing = MakeRequest(99, 1, 1, 0, {{0, 0}, {1, 1}, {2, 2}});
    queue.Append(existing);
    std::istringstream in(SAMPLE_BYTES);
    ASSERT_TRUE(Nav_Path::LoadQueue(in, queue));
    const std::vector<const Nav_Path*> paths = Requests(queue);
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], existing);
    EXPECT_EQ(paths[1]->unitID, 0x1234);
    EXPECT_EQ(paths[2]->unitID, 7);
    EXPECT_EQ(queue.Last(), paths[2]);
}

TEST(NavigatorSection, CountOfZeroOrBelowLoadsNoRequest)
{
    struct Row { int lo, hi; };
    const Row rows[] = {
        {0x00, 0x00},   // 0
        {0xFF, 0xFF},   // -1
        {0x00, 0x80},   // -32768
        {0xFE, 0xFF},   // -2: read unsigned it would ask for 65534 requests
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "count bytes " << r.lo << " " << r.hi);
        // A whole request follows; none of it may be taken.
        std::istringstream in(Bytes({r.lo, r.hi}) + SAMPLE_BYTES.substr(2, 36));
        Chain<Nav_Path> queue;
        EXPECT_TRUE(Nav_Path::LoadQueue(in, queue));
        EXPECT_EQ(queue.First(), nullptr);
        EXPECT_EQ(in.tellg(), 2);
    }
}

TEST(NavigatorSection, CountPastTheEndFailsAndQueuesNothing)
{
    // The count says three; two whole requests follow. Used to queue the two
    // and a third made of unread fields.
    std::string bytes = SAMPLE_BYTES;
    bytes[0] = 0x03;
    std::istringstream in(bytes);
    Chain<Nav_Path> queue;
    Nav_Path* existing = MakeRequest(99, 1, 1, 0, {{0, 0}, {1, 1}, {2, 2}});
    queue.Append(existing);
    EXPECT_FALSE(Nav_Path::LoadQueue(in, queue));
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(queue.First(), existing);
    EXPECT_EQ(queue.Last(), existing);
}

TEST(NavigatorSection, EveryTruncationFailsAndQueuesNothing)
{
    for (size_t length = 0; length < SAMPLE_BYTES.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "cut at " << length);
        std::istringstream in(SAMPLE_BYTES.substr(0, length));
        Chain<Nav_Path> queue;
        Nav_Path* existing = MakeRequest(99, 1, 1, 0, {{0, 0}, {1, 1}, {2, 2}});
        queue.Append(existing);
        EXPECT_FALSE(Nav_Path::LoadQueue(in, queue));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(queue.First(), existing);
        EXPECT_EQ(queue.Last(), existing);
        EXPECT_EQ(existing->GetNext(), nullptr);
    }
}

TEST(NavigatorSection, LoadRequestReadsOneRequestAndStopsAtAShortRead)
{
    const std::string request = SAMPLE_BYTES.substr(2, Nav_Path::SAVED_REQUEST_SIZE);
    {
        std::istringstream in(request);
        Nav_Path path;
        ASSERT_TRUE(path.LoadRequest(in));
        EXPECT_EQ(path.CountPoints(), Nav_Path::QUEUED_POINTS);
    }
    {
        // Cut inside the second point: the first point is kept, the rest is
        // never made up.
        std::istringstream in(request.substr(0, 24));
        Nav_Path path;
        EXPECT_FALSE(path.LoadRequest(in));
        EXPECT_EQ(path.CountPoints(), 1);
    }
}
