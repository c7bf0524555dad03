// PositionNodeTest.cpp: path points: copying a whole chain from a middle
// node with its events, deleting a chain from its last node, posting a
// point's events in order, and the saved form with events.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/EventList.h"
#include "units/PositionNode.h"
#include "units/UnitTestSupport.h"

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
