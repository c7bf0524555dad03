// Tests of the node list bases: ordered insertion (placement of equal
// elements, the bisection's probes, comparison counts), insertion before a
// position, unlinking members and strangers, counting and positions, deletion
// of members, and the pool's fixed store with its spare list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "widgets/UI_NODE.h"

namespace {

// A node with a sort value and a tag that tells equal values apart.
struct ValueNode : UI_NODE {
    ValueNode(int32_t v = 0, int32_t t = 0, std::vector<int32_t>* d = nullptr) : value(v), tag(t), deletions(d) {}
    ~ValueNode() override
    {
        if (deletions != nullptr)
            deletions->push_back(tag);
    }
    int32_t value;
    int32_t tag;
    std::vector<int32_t>* deletions;
};

std::vector<int32_t> comparedValues;   // the existing element of each comparison

int32_t ByValue(const UI_NODE* existing, const UI_NODE* added)
{
    const int32_t a = static_cast<const ValueNode*>(existing)->value;
    const int32_t b = static_cast<const ValueNode*>(added)->value;
    comparedValues.push_back(a);
    return (a > b) - (a < b);
}

// The tags from head to tail, checking the backward links on the way.
std::vector<int32_t> Tags(const UI_NODE_LIST& list)
{
    std::vector<int32_t> tags;
    const UI_NODE* previous = nullptr;
    for (const UI_NODE* node = list.head; node != nullptr; node = node->next) {
        EXPECT_EQ(node->previous, previous);
        tags.push_back(static_cast<const ValueNode*>(node)->tag);
        previous = node;
    }
    EXPECT_EQ(list.tail, previous);
    return tags;
}

// A list holding nodes with the given values, tagged 1, 2, 3 ... in order.
void Fill(UI_NODE_LIST& list, const std::vector<int32_t>& values)
{
    int32_t tag = 1;
    for (int32_t v : values)
        list.InsertBefore(nullptr, new ValueNode(v, tag++));
}

TEST(UI_NODE_LIST, FirstElementStandsAlone)
{
    for (UI_NODE_ORDER order : {UI_NODE_ORDER{nullptr}, UI_NODE_ORDER{&ByValue}}) {
        UI_NODE_LIST list(order);
        ValueNode* node = new ValueNode(5, 1);
        node->previous = node;   // stale links are overwritten
        node->next = node;
        EXPECT_EQ(list.Insert(node), node);
        EXPECT_EQ(list.head, node);
        EXPECT_EQ(list.tail, node);
        EXPECT_EQ(node->previous, nullptr);
        EXPECT_EQ(node->next, nullptr);
    }
}

TEST(UI_NODE_LIST, OrderedInsertPlacesElements)
{
    struct Row { std::vector<int32_t> values; int32_t added; std::vector<int32_t> expected; };
    const Row rows[] = {
        {{10, 20, 30}, 40, {1, 2, 3, 9}},           // after the tail
        {{10, 20, 30}, 30, {1, 2, 3, 9}},           // equal to the tail: after it
        {{10, 20, 30}, 5, {9, 1, 2, 3}},            // before the head
        {{10, 20, 30}, 10, {9, 1, 2, 3}},           // equal to the head: before it
        {{10, 20}, 15, {1, 9, 2}},
        {{10, 20, 30, 40, 50}, 35, {1, 2, 3, 9, 4, 5}},
        {{10, 20, 30, 40, 50}, 30, {1, 2, 3, 9, 4, 5}},   // equal to a middle probe: right after it
        {{10, 20, 20, 20, 50}, 20, {1, 2, 3, 9, 4, 5}},   // meets the middle 20 first
        {{10, 20, 30, 40, 50, 60}, 11, {1, 9, 2, 3, 4, 5, 6}},
        {{10, 20, 30, 40, 50, 60}, 59, {1, 2, 3, 4, 5, 9, 6}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "adding " << r.added << " to " << r.values.size() << " values");
        UI_NODE_LIST list(&ByValue);
        Fill(list, r.values);
        list.Insert(new ValueNode(r.added, 9));
        EXPECT_EQ(Tags(list), r.expected);
    }
}

TEST(UI_NODE_LIST, BisectionProbesTheMiddleOfTheSpan)
{
    // Tail, head, then the element at (k - 1) / 2 of the span each time.
    struct Row { std::vector<int32_t> values; int32_t added; std::vector<int32_t> probes; };
    const Row rows[] = {
        {{10, 20, 30, 40, 50}, 35, {50, 10, 30, 40, 30}},
        {{10, 20, 30, 40, 50, 60}, 55, {60, 10, 30, 40, 50, 50}},   // a span of two probes its low end
        {{10, 20, 30, 40, 50, 60, 70}, 15, {70, 10, 40, 20, 10}},
        {{10, 20, 30}, 25, {30, 10, 20, 20}},
        {{10, 20, 30}, 35, {30}},                        // after the tail: one comparison
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "adding " << r.added);
        UI_NODE_LIST list(&ByValue);
        Fill(list, r.values);
        comparedValues.clear();
        list.Insert(new ValueNode(r.added, 9));
        EXPECT_EQ(comparedValues, r.probes);
    }
}

TEST(UI_NODE_LIST, OrderedInsertKeepsOrderWithFewComparisons)
{
    constexpr int32_t count = 1000;
    std::vector<int32_t> values(count);
    std::iota(values.begin(), values.end(), 0);
    const double logBound = 4 + std::ceil(std::log2(count));   // tail, head, halvings, last probe

    struct Case { const char* name; bool shuffle; double maxPerInsert; };
    for (const Case& c : {Case{"sorted", false, 1}, Case{"shuffled", true, logBound}}) {
        SCOPED_TRACE(c.name);
        std::vector<int32_t> input = values;
        if (c.shuffle)
            std::shuffle(input.begin(), input.end(), std::mt19937(11));
        UI_NODE_LIST list(&ByValue);
        size_t most = 0;
        for (int32_t v : input) {
            comparedValues.clear();
            list.Insert(new ValueNode(v, v));
            most = std::max(most, comparedValues.size());
        }
        EXPECT_LE(static_cast<double>(most), c.maxPerInsert);
        EXPECT_EQ(Tags(list), values);
    }
}

TEST(UI_NODE_LIST, InsertBeforeLinksBothWays)
{
    struct Row { int32_t position; std::vector<int32_t> expected; };   // position: tag, 0 = null
    const Row rows[] = {
        {1, {9, 1, 2, 3}},   // before the head: the new head
        {2, {1, 9, 2, 3}},
        {3, {1, 2, 9, 3}},
        {0, {1, 2, 3, 9}},   // null: at the tail
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.position);
        UI_NODE_LIST list;
        Fill(list, {1, 2, 3});
        UI_NODE* position = nullptr;
        for (UI_NODE* n = list.head; n != nullptr; n = n->next) {
            if (static_cast<ValueNode*>(n)->tag == r.position)
                position = n;
        }
        list.InsertBefore(position, new ValueNode(0, 9));
        EXPECT_EQ(Tags(list), r.expected);
    }
}

TEST(UI_NODE_LIST, UnlinkTakesOutMembersOnly)
{
    struct Row { int32_t unlinked; int32_t current; int32_t answer; std::vector<int32_t> left; bool currentCleared; };
    // unlinked/current/answer: tags; 0 = null; -1 = a node of another list.
    const Row rows[] = {
        {1, 3, 2, {2, 3}, false},      // the head: answers the new head
        {2, 2, 3, {1, 3}, true},       // the current element: current cleared
        {3, 1, 0, {1, 2}, false},      // the tail: answers null
        {-1, 2, -1, {1, 2, 3}, false}, // a stranger comes back unchanged
        {0, 2, 0, {1, 2, 3}, false},   // null answers null
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.unlinked);
        UI_NODE_LIST list;
        Fill(list, {1, 2, 3});
        UI_NODE_LIST other;
        Fill(other, {7, 8});
        UI_NODE* byTag[4] = {nullptr, list.head, list.head->next, list.tail};
        UI_NODE* stranger = other.tail;
        list.current = byTag[r.current];
        UI_NODE* unlinked = r.unlinked < 0 ? stranger : byTag[r.unlinked];
        UI_NODE* answer = list.Unlink(unlinked);
        EXPECT_EQ(answer, r.answer < 0 ? stranger : byTag[r.answer]);
        EXPECT_EQ(Tags(list), r.left);
        EXPECT_EQ(list.current == nullptr, r.currentCleared);
        if (r.unlinked > 0) {
            EXPECT_EQ(unlinked->previous, nullptr);
            EXPECT_EQ(unlinked->next, nullptr);
            delete unlinked;
        }
        EXPECT_EQ(Tags(other), (std::vector<int32_t>{1, 2}));
    }
}

TEST(UI_NODE_LIST, SizeAndPositions)
{
    UI_NODE_LIST list;
    EXPECT_EQ(list.Size(), 0);
    EXPECT_EQ(list.PositionOf(nullptr), -1);
    Fill(list, {1, 2, 3, 4});
    ValueNode stranger(0);
    EXPECT_EQ(list.Size(), 4);
    EXPECT_EQ(list.PositionOf(list.head), 0);
    EXPECT_EQ(list.PositionOf(list.head->next), 1);
    EXPECT_EQ(list.PositionOf(list.tail), list.Size() - 1);
    EXPECT_EQ(list.PositionOf(nullptr), -1);
    EXPECT_EQ(list.PositionOf(&stranger), -1);
}

TEST(UI_NODE_LIST, DeleteAllAndDestructorDeleteEveryMember)
{
    std::vector<int32_t> deleted;
    {
        UI_NODE_LIST list;
        for (int32_t tag = 1; tag <= 3; ++tag)
            list.InsertBefore(nullptr, new ValueNode(0, tag, &deleted));
        list.current = list.tail;
        list.DeleteAll();
        EXPECT_EQ(deleted, (std::vector<int32_t>{1, 2, 3}));
        EXPECT_EQ(list.Size(), 0);
        EXPECT_EQ(list.head, nullptr);
        EXPECT_EQ(list.tail, nullptr);
        EXPECT_EQ(list.current, nullptr);
        list.InsertBefore(nullptr, new ValueNode(0, 4, &deleted));
        list.InsertBefore(nullptr, new ValueNode(0, 5, &deleted));
    }
    EXPECT_EQ(deleted, (std::vector<int32_t>{1, 2, 3, 4, 5}));
}

// A pool over a store of ValueNodes tagged 1, 2, 3 ..., as the event queue
// builds its slots.
class TestPool : public UI_NODE_POOL {
public:
    explicit TestPool(int32_t n) : UI_NODE_POOL(n), nodes(new ValueNode[static_cast<size_t>(n)])
    {
        for (int32_t i = 0; i < n; ++i) {
            nodes[static_cast<size_t>(i)].tag = i + 1;
            spare.InsertBefore(nullptr, &nodes[static_cast<size_t>(i)]);
        }
        store = nodes.get();
    }
    std::unique_ptr<ValueNode[]> nodes;
};

TEST(UI_NODE_POOL, TakesEachElementOnceAndReusesInReleaseOrder)
{
    TestPool pool(3);
    EXPECT_EQ(Tags(pool.spare), (std::vector<int32_t>{1, 2, 3}));
    UI_NODE* a = pool.Take(nullptr);
    UI_NODE* b = pool.Take(nullptr);
    pool.Take(a);                                   // before a
    EXPECT_EQ(Tags(pool), (std::vector<int32_t>{3, 1, 2}));
    EXPECT_EQ(pool.Take(nullptr), nullptr);         // the fourth: none left
    EXPECT_EQ(pool.Size(), 3);

    EXPECT_EQ(pool.Release(a), b);                  // answers the follower
    EXPECT_EQ(pool.Release(b), nullptr);            // the tail: null
    EXPECT_EQ(Tags(pool.spare), (std::vector<int32_t>{1, 2}));
    ValueNode stranger(0, 7);
    EXPECT_EQ(pool.Release(&stranger), nullptr);    // not in use: left alone
    EXPECT_EQ(Tags(pool.spare), (std::vector<int32_t>{1, 2}));

    EXPECT_EQ(pool.Take(nullptr), a);               // released first, reused first
    EXPECT_EQ(pool.Take(nullptr), b);
    EXPECT_EQ(Tags(pool), (std::vector<int32_t>{3, 1, 2}));
}

TEST(UI_NODE_POOL, DeleteAllReturnsEveryElementToSpare)
{
    TestPool pool(4);
    for (int i = 0; i < 3; ++i)
        pool.Take(nullptr);
    pool.DeleteAll();
    EXPECT_EQ(pool.Size(), 0);
    EXPECT_EQ(Tags(pool.spare), (std::vector<int32_t>{4, 1, 2, 3}));
}

} // namespace
