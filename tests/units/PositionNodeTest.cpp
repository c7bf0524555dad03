// PositionNodeTest.cpp: path points: copying a whole chain from a middle
// node with its events, deleting a chain from its last node, posting a
// point's events in order, the chain built from route points, and the saved
// form of a node and of a whole path with events, damaged forms refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/EventList.h"
#include "units/PositionNode.h"
#include "units/UnitTestSupport.h"
#include "world/PathPoint.h"

namespace {

using namespace unittest;

Event* MakeCodedEvent(uint8_t code)
{
    return code == 0x71 ? new TestEvent(0x71) : nullptr;
}

// A chain of five nodes at (i, 2i) with altitude i, the third holding two events.
PositionNode* MakeFiveNodes()
{
    PositionNode* first = nullptr;
    PositionNode* last = nullptr;
    for (int i = 1; i <= 5; ++i) {
        auto* node = new PositionNode(LatLonPoint(i * 1000, i * 2000), static_cast<int16_t>(i));
        if (i == 3) {
            node->AddEvent(new TestEvent(0x71, 4, 1));
            node->AddEvent(new TestEvent(0x71, 4, 2));
        }
        if (last != nullptr)
            last->InsertChainAfter(node);
        else
            first = node;
        last = node;
    }
    return first;
}

}  // namespace

TEST(PositionNode, CopyChainFromAMiddleNodeAnswersItsCopy)
{
    PositionNode* original = MakeFiveNodes();
    PositionNode* third = original->GetNext()->GetNext();
    PositionNode* copy = PositionNode::CopyChain(third);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, third);
    EXPECT_EQ(copy->GetPosition(), LatLonPoint(3000, 6000));
    EXPECT_EQ(copy->GetAltitude(), 3);
    int count = 0;
    for (PositionNode* n = copy->FirstOfChain(); n != nullptr; n = n->GetNext())
        ++count;
    EXPECT_EQ(count, 5);
    ASSERT_NE(copy->GetEvents().First(), nullptr);
    EXPECT_NE(copy->GetEvents().First(), third->GetEvents().First());   // cloned, not shared
    EXPECT_EQ(copy->GetEvents().First()->GetNext()->GetSubject(), 4);

    PositionNode* last = copy->LastOfChain();
    DeletePositionNodes(&last);
    EXPECT_EQ(last, nullptr);
    DeletePositionNodes(&original);
    EXPECT_EQ(PositionNode::CopyChain(nullptr), nullptr);
}

TEST(PositionNode, PostEventsPostsInOrderAndEmptiesTheNode)
{
    UnitWorld world;
    PositionNode node;
    node.AddEvent(nullptr);   // ignored
    node.AddEvent(new TestEvent(0x71, 4, 1));
    node.AddEvent(new TestEvent(0x71, 4, 2));
    node.PostEvents();
    EXPECT_EQ(node.GetEvents().First(), nullptr);
    const auto queued = world.Queued(0x71);
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0]->Value(), 1);
    EXPECT_EQ(queued[1]->Value(), 2);
}

TEST(PositionNode, SavedFormCarriesTheEvents)
{
    const EventFactory previous = SetEventFactory(&MakeCodedEvent);
    PositionNode node(LatLonPoint(-7, 8), -3);
    node.AddEvent(new TestEvent(0x71, 6, 9));
    std::ostringstream out;
    node.Save(out);
    EXPECT_EQ(out.str().size(), 19u + 2u + 9u);

    PositionNode back;
    std::istringstream in(out.str());
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.GetPosition(), LatLonPoint(-7, 8));
    EXPECT_EQ(back.GetAltitude(), -3);
    ASSERT_NE(back.GetEvents().First(), nullptr);
    EXPECT_EQ(back.GetEvents().First()->GetSubject(), 6);
    SetEventFactory(previous);
}

TEST(PositionNode, BuiltFromRoutePointsHeadsAWholeChainAtAltitudeZero)
{
    Chain<PathPoint> route;
    for (int i = 1; i <= 3; ++i)
        route.Append(new PathPoint(LatLonPoint(i * 100, -i * 100)));
    PositionNode* before = new PositionNode(LatLonPoint(5, 5), 7);
    auto* head = new PositionNode(route.First(), before);
    EXPECT_EQ(before->GetNext(), head);
    int count = 0;
    for (const PositionNode* n = head; n != nullptr; n = n->GetNext()) {
        ++count;
        EXPECT_EQ(n->GetPosition(), LatLonPoint(count * 100, -count * 100));
        EXPECT_EQ(n->GetAltitude(), 0);
        EXPECT_EQ(n->GetAltitudeBand(), 5);
    }
    EXPECT_EQ(count, 3);
    DeletePositionNodes(&head);   // the whole chain, `before` with it
    EXPECT_EQ(head, nullptr);
}

TEST(PositionNode, BuiltFromNoRoutePointStandsAlone)
{
    PositionNode node(static_cast<const PathPoint*>(nullptr), nullptr);
    EXPECT_EQ(node.GetNext(), nullptr);
    EXPECT_EQ(node.GetPrev(), nullptr);
    EXPECT_EQ(node.GetPosition(), LatLonPoint(0, 0));
}

// A path of three nodes, each carrying two events, saved as a chain.
class PathChainRecord : public testing::Test {
protected:
    PathChainRecord() : previous(SetEventFactory(&MakeCodedEvent))
    {
        for (int i = 1; i <= 3; ++i) {
            auto* node = new PositionNode(LatLonPoint(i * 10, i * 20), static_cast<int16_t>(-i));
            node->AddEvent(new TestEvent(0x71, 9, static_cast<uint16_t>(2 * i)));
            node->AddEvent(new TestEvent(0x71, 9, static_cast<uint16_t>(2 * i + 1)));
            path.Append(node);
        }
        path.Save(out);
    }
    ~PathChainRecord() override { SetEventFactory(previous); }

    EventFactory previous;
    Chain<PositionNode> path;
    std::ostringstream out;
    ReportCapture reports;
};

TEST_F(PathChainRecord, RoundTripsByteForByte)
{
    EXPECT_EQ(out.str().size(), 2u + 3u * (19u + 2u + 2u * 9u));
    Chain<PositionNode> back;
    std::istringstream in(out.str());
    ASSERT_TRUE(back.Load(in));
    std::vector<uint16_t> values;
    for (const PositionNode* n = back.First(); n != nullptr; n = n->GetNext())
        for (const Event* e = n->GetEvents().First(); e != nullptr; e = e->GetNext())
            values.push_back(static_cast<const TestEvent*>(e)->Value());
    EXPECT_EQ(values, (std::vector<uint16_t>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(back.Last()->GetAltitude(), -3);
    std::ostringstream again;
    back.Save(again);
    EXPECT_EQ(again.str(), out.str());
}

TEST_F(PathChainRecord, DamagedFormsAreRefusedWhole)
{
    const std::string bytes = out.str();
    std::string longCount = bytes;
    longCount[0] = 4;                       // one node more than the stream holds
    std::string unknownEvent = bytes;
    unknownEvent[2 + 19 + 2] = 0x0B;        // the first event's code names no class
    struct Row { const char* name; std::string bytes; bool fatal; };
    std::vector<Row> rows = {{"count beyond the stream", longCount, false},
                             {"unknown event code", unknownEvent, true}};
    for (size_t cut = 0; cut < bytes.size(); ++cut)
        rows.push_back({"cut", bytes.substr(0, cut), false});
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.name << " " << r.bytes.size());
        reports.Clear();
        Chain<PositionNode> back;
        back.Append(new PositionNode(LatLonPoint(1, 1)));   // what was there stays alone
        std::istringstream in(r.bytes);
        EXPECT_FALSE(back.Load(in));
        EXPECT_EQ(back.First(), back.Last());
        ASSERT_EQ(reports.fatals.size(), r.fatal ? 1u : 0u);
        if (r.fatal) {
            EXPECT_EQ(reports.fatals[0], "Attempted to Load Unknown Event!");
        }
    }
}

TEST(PositionNode, CopyAndDeleteOfALongPathLeaveNothingBehind)
{
    PositionNode* head = nullptr;
    PositionNode* last = nullptr;
    for (int i = 0; i < 200; ++i) {
        auto* node = new PositionNode(LatLonPoint(i, i));
        node->AddEvent(new TestEvent(0x71, 1, static_cast<uint16_t>(i)));
        if (last != nullptr)
            last->InsertChainAfter(node);
        else
            head = node;
        last = node;
    }
    PositionNode* copy = PositionNode::CopyChain(last);
    EXPECT_EQ(copy->GetNext(), nullptr);
    EXPECT_EQ(static_cast<const TestEvent*>(copy->GetEvents().First())->Value(), 199);
    DeletePositionNodes(&copy);
    DeletePositionNodes(&head);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(head, nullptr);
}
