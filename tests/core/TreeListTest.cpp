// Tests of the keyed list core and its typed layer: tree shape after
// insertions and removals, equal keys, the rebalancing exception, the key
// issuing rule, whole-list deletion, elements whose node part is a later
// base, and the structural invariants after long random sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "core/TreeListOf.h"
#include "support/ReportCapture.h"

namespace {

// A listed element that counts how many of its kind are alive.
struct Item : TreeListNode<Item> {
    explicit Item(uint16_t key = 0, int tag = 0) : TreeListNode<Item>(key), tag(tag) { ++alive; }
    ~Item() override { --alive; }
    int tag;
    static inline int alive = 0;
};

// A list whose last key issued a test can set directly.
struct ItemList : TreeListOf<Item> {
    using TreeList::SetLastKey;
};

// The keys along the chain, first to last.
std::vector<uint16_t> ChainKeys(const TreeList& list)
{
    std::vector<uint16_t> keys;
    for (TreeListBase* node = list.First(); node; node = node->GetNext())
        keys.push_back(node->GetKey());
    return keys;
}

// Checks one subtree: parent links, stored heights and balances against the
// real ones; collects the in-order sequence. Answers the real height.
int CheckSubtree(TreeListBase* node, TreeListBase* parent, std::vector<TreeListBase*>& inOrder, int& worstBalance)
{
    if (!node)
        return 0;
    if (node->GetParent() != parent)
        ADD_FAILURE() << "parent link of key " << node->GetKey();
    const int hl = CheckSubtree(node->GetLeft(), node, inOrder, worstBalance);
    inOrder.push_back(node);
    const int hr = CheckSubtree(node->GetRight(), node, inOrder, worstBalance);
    const int height = std::max(hl, hr) + 1;
    if (node->GetHeight() != height || node->GetBalance() != hr - hl)
        ADD_FAILURE() << "key " << node->GetKey() << " holds height " << int{node->GetHeight()}
                      << " balance " << int{node->GetBalance()} << ", has " << height << " and " << hr - hl;
    worstBalance = std::max(worstBalance, std::abs(hr - hl));
    return height;
}

struct Shape {
    int height = 0;
    int worstBalance = 0;
};

// Checks everything a list must keep true and answers the tree's shape: the
// in-order sequence is sorted, the chain walks it both ways, first and last
// are its ends, and it holds as many elements as expected (and, when asked,
// exactly those).
Shape CheckList(const TreeList& list, const std::vector<Item*>& expected, bool compareElements = true)
{
    Shape shape;
    std::vector<TreeListBase*> inOrder;
    EXPECT_EQ(list.Root() ? list.Root()->GetParent() : nullptr, nullptr);
    shape.height = CheckSubtree(list.Root(), nullptr, inOrder, shape.worstBalance);

    for (size_t i = 1; i < inOrder.size(); ++i) {
        if (inOrder[i - 1]->GetKey() > inOrder[i]->GetKey())
            ADD_FAILURE() << "tree out of order at " << i;
    }

    std::vector<TreeListBase*> forward, backward;
    for (TreeListBase* node = list.First(); node && forward.size() <= inOrder.size(); node = node->GetNext())
        forward.push_back(node);
    for (TreeListBase* node = list.Last(); node && backward.size() <= inOrder.size(); node = node->GetPrev())
        backward.push_back(node);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, inOrder) << "chain from first";
    EXPECT_EQ(backward, inOrder) << "chain from last";

    EXPECT_EQ(list.First(), inOrder.empty() ? nullptr : inOrder.front());
    EXPECT_EQ(list.Last(), inOrder.empty() ? nullptr : inOrder.back());

    EXPECT_EQ(inOrder.size(), expected.size());
    if (compareElements) {
        std::vector<TreeListBase*> want(expected.begin(), expected.end());
        std::sort(want.begin(), want.end());
        std::sort(inOrder.begin(), inOrder.end());
        EXPECT_EQ(inOrder, want);
    }
    return shape;
}

class TreeListTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(Item::alive, 0) << "elements leaked or deleted twice"; }
};

}  // namespace

TEST_F(TreeListTest, ThreeRisingKeysRotateOnce)
{
    ItemList list;
    Item* one = new Item(1);
    Item* two = new Item(2);
    Item* three = new Item(3);
    list.Insert(one);
    list.Insert(two);
    list.Insert(three);

    EXPECT_EQ(list.Root(), two);
    EXPECT_EQ(two->GetLeft(), one);
    EXPECT_EQ(two->GetRight(), three);
    EXPECT_EQ(list.First(), one);
    EXPECT_EQ(list.Last(), three);
    EXPECT_EQ(list.GetLastKey(), 3);
    CheckList(list, {one, two, three});
}

TEST_F(TreeListTest, EqualKeysAreKeptInInsertionOrderAndFindTakesTheHighest)
{
    ItemList list;
    Item* a = new Item(5, 1);
    Item* b = new Item(5, 2);
    list.Insert(a);
    list.Insert(b);
    EXPECT_EQ(list.First(), a);
    EXPECT_EQ(a->GetNext(), b);
    EXPECT_EQ(list.Find(5), a);   // the root

    // A third equal key rotates the middle one up; Find meets it first.
    Item* c = new Item(5, 3);
    list.Insert(c);
    EXPECT_EQ(list.Root(), b);
    EXPECT_EQ(list.Find(5), b);
    EXPECT_EQ(ChainKeys(list), (std::vector<uint16_t>{5, 5, 5}));
    EXPECT_EQ(list.First(), a);
    EXPECT_EQ(a->GetNext(), b);
    EXPECT_EQ(b->GetNext(), c);
    CheckList(list, {a, b, c});
}

TEST_F(TreeListTest, RemovingTheOnlyElementEmptiesTheListButKeepsTheLastKey)
{
    ItemList list;
    Item* only = new Item(7);
    list.Insert(only);
    list.Remove(only);
    EXPECT_EQ(list.Root(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.GetLastKey(), 7);
    EXPECT_EQ(only->GetParent(), nullptr);
    EXPECT_EQ(only->GetNext(), nullptr);
    delete only;   // removed first, so the list is untouched
    EXPECT_EQ(list.Find(7), nullptr);
}

TEST_F(TreeListTest, RemovingTheRootReinsertsItsLeftSubtreeIntoItsRight)
{
    ItemList list;
    Item* one = new Item(1);
    Item* two = new Item(2);
    Item* three = new Item(3);
    list.Insert(one);
    list.Insert(two);
    list.Insert(three);

    list.Remove(two);
    delete two;
    EXPECT_EQ(list.Root(), three);
    EXPECT_EQ(three->GetLeft(), one);
    EXPECT_EQ(three->GetRight(), nullptr);
    EXPECT_EQ(ChainKeys(list), (std::vector<uint16_t>{1, 3}));
    CheckList(list, {one, three});
}

TEST_F(TreeListTest, RemovingAnInnerNodeReinsertsItsSubtrees)
{
    ItemList list;
    std::vector<Item*> items;
    for (uint16_t key : {50, 30, 70, 20, 40, 60, 80, 10, 35, 45}) {
        items.push_back(new Item(key));
        list.Insert(items.back());
    }
    Item* thirty = list.Find(30);
    ASSERT_NE(thirty, nullptr);
    ASSERT_NE(thirty, list.Root());
    list.Remove(thirty);
    delete thirty;
    items.erase(std::find(items.begin(), items.end(), thirty));
    EXPECT_EQ(ChainKeys(list), (std::vector<uint16_t>{10, 20, 35, 40, 45, 50, 60, 70, 80}));
    CheckList(list, items);
}

// Removing a node re-inserts its subtrees, which can put an element ahead of
// an equal-keyed first element. First used to stay on the old first element,
// so a walk from First (and so a save) missed the new one.
TEST_F(TreeListTest, FirstStaysTheLeftmostWhenARemovalReordersEqualKeys)
{
    ItemList list;
    std::vector<Item*> items;
    auto insert = [&](uint16_t key) {
        items.push_back(new Item(key));
        list.Insert(items.back());
        return items.back();
    };
    auto remove = [&](Item* item) {
        list.Remove(item);
        items.erase(std::find(items.begin(), items.end(), item));
        delete item;
    };
    Item* firstThree = insert(3);
    Item* one = insert(1);
    insert(7);
    remove(one);
    insert(2);
    insert(8);
    insert(3);
    insert(7);
    insert(2);
    remove(firstThree);   // an inner node with two 2s below it

    EXPECT_EQ(ChainKeys(list), (std::vector<uint16_t>{2, 2, 3, 7, 7, 8}));
    CheckList(list, items);
}

TEST_F(TreeListTest, ABalancedHeavyChildIsLeftUnrotated)
{
    // Node with balance +2 whose right child has balance 0: no rotation.
    TreeListBase top(10), right(20), rightLeft(15), rightRight(25);
    right.SetLeft(&rightLeft);
    rightLeft.SetParent(&right);
    right.SetRight(&rightRight);
    rightRight.SetParent(&right);
    top.SetRight(&right);
    right.SetParent(&top);

    EXPECT_EQ(top.Rebalance(), &top);
    EXPECT_EQ(top.GetBalance(), 2);
    EXPECT_EQ(top.GetRight(), &right);

    // The same shape with a right-leaning right child rotates left.
    TreeListBase a(10), b(20), c(25);
    b.SetRight(&c);
    c.SetParent(&b);
    a.SetRight(&b);
    b.SetParent(&a);
    EXPECT_EQ(a.Rebalance(), &b);
    EXPECT_EQ(b.GetLeft(), &a);
    EXPECT_EQ(b.GetBalance(), 0);

    // And a left-leaning right child takes the double rotation.
    TreeListBase x(10), y(20), z(15);
    y.SetLeft(&z);
    z.SetParent(&y);
    x.SetRight(&y);
    y.SetParent(&x);
    EXPECT_EQ(x.Rebalance(), &z);
    EXPECT_EQ(z.GetLeft(), &x);
    EXPECT_EQ(z.GetRight(), &y);
}

TEST_F(TreeListTest, NewKeyTakesTheFirstFreeKeyAboveTheLastIssued)
{
    struct Row {
        const char* name;
        std::vector<uint16_t> keys;
        uint16_t lastKey;
        uint16_t expected;
    };
    const Row rows[] = {
        {"new list", {}, 0, 1},
        {"keys 1 2 3", {1, 2, 3}, 3, 4},
        {"held keys above the last", {3, 4}, 2, 5},
        {"a gap above the last", {6, 7, 9}, 5, 8},
        {"wrap to the lowest free key", {1, 2, 4}, 65535, 3},
        {"wrap on an empty list", {}, 65535, 1},
        {"key 65535 held", {65535}, 65534, 1},
        {"key 0 moves the count on", {0, 1}, 65535, 3},   // 2 is free too
        {"no wrap below 65535", {65535}, 100, 101},
        {"wrap stops at the old last key", {1, 2, 3}, 65535, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ItemList list;
        for (uint16_t key : r.keys)
            list.Insert(new Item(key));
        list.SetLastKey(r.lastKey);
        EXPECT_EQ(list.NewKey(), r.expected);
        EXPECT_EQ(list.GetLastKey(), r.expected);
    }
}

TEST_F(TreeListTest, NewKeyNeverHandsOutAHeldKey)
{
    ReportCapture reports;
    ItemList list;
    for (uint32_t key = 4; key <= 0xFFFF; ++key)
        list.Insert(new Item(static_cast<uint16_t>(key)));

    // Keys 1, 1 and 3 below: the count runs on over the duplicate to 4, which
    // is held, while 2 is free.
    list.Insert(new Item(1));
    list.Insert(new Item(1));
    list.Insert(new Item(3));
    list.SetLastKey(3);
    EXPECT_EQ(list.NewKey(), 2);
    EXPECT_TRUE(reports.fatals.empty());

    // Every key from 1 to 65535 held: reported, 0 returned, last key kept.
    list.Insert(new Item(2));
    list.SetLastKey(3);
    EXPECT_EQ(list.NewKey(), 0);
    EXPECT_EQ(list.GetLastKey(), 3);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "TreeList::NewKey: every key from 1 to 65535 is in use");

    // The same full list after 65535 was issued: the count up from 1 runs
    // over 65535 to 0, which used to be handed out as a key without a report.
    list.SetLastKey(65535);
    EXPECT_EQ(list.NewKey(), 0);
    EXPECT_EQ(list.GetLastKey(), 65535);
    ASSERT_EQ(reports.fatals.size(), 2u);
    EXPECT_EQ(reports.fatals[1], "TreeList::NewKey: every key from 1 to 65535 is in use");
}

TEST_F(TreeListTest, DeleteAllDeletesEveryElementAndKeepsTheLastKey)
{
    ItemList list;
    list.DeleteAll();   // empty: nothing happens
    EXPECT_EQ(list.Root(), nullptr);

    for (uint16_t key = 1; key <= 40; ++key)
        list.Insert(new Item(static_cast<uint16_t>(key * 3 % 41)));
    EXPECT_EQ(Item::alive, 40);
    const uint16_t lastKey = list.GetLastKey();
    list.DeleteAll();
    EXPECT_EQ(Item::alive, 0);
    EXPECT_EQ(list.Root(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.GetLastKey(), lastKey);

    // The list goes on working, and its destructor deletes what it holds.
    {
        TreeListOf<Item> scoped;
        scoped.Insert(new Item(1));
        scoped.Insert(new Item(2));
        Item* kept = new Item(3);
        scoped.Insert(kept);
        scoped.Remove(kept);
        delete kept;
        EXPECT_EQ(Item::alive, 2);
    }
    EXPECT_EQ(Item::alive, 0);
}

TEST_F(TreeListTest, DeleteAllAndRestartKeysIssuesKeysFromOneAgain)
{
    ItemList list;
    for (int i = 0; i < 3; ++i)
        list.Insert(new Item(list.NewKey()));
    list.Insert(new Item(40));   // a key put in raises the last key issued
    EXPECT_EQ(list.GetLastKey(), 40);
    list.DeleteAllAndRestartKeys();
    EXPECT_EQ(Item::alive, 0);
    EXPECT_EQ(list.Root(), nullptr);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Last(), nullptr);
    EXPECT_EQ(list.GetLastKey(), 0);
    list.Insert(new Item(list.NewKey()));
    list.Insert(new Item(list.NewKey()));
    EXPECT_EQ(ChainKeys(list), (std::vector<uint16_t>{1, 2}));
    list.DeleteAll();
}

TEST_F(TreeListTest, ChopDownTreeReportsAChildHeldOnBothSides)
{
    ReportCapture reports;
    TreeListBase top(5);
    TreeListBase* child = new TreeListBase(5);
    top.SetLeft(child);
    top.SetRight(child);
    child->SetParent(&top);
    top.ChopDownTree();   // the child is deleted once
    EXPECT_EQ(top.GetLeft(), nullptr);
    EXPECT_EQ(top.GetRight(), nullptr);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "TreeListBase::ChopDownTree:  leftChild == rightChild.  Please report this error");
}

TEST_F(TreeListTest, ForeignOrRepeatedElementsAreRefused)
{
    ReportCapture reports;
    ItemList list, other;
    Item* mine = new Item(1);
    Item* theirs = new Item(2);
    list.Insert(mine);
    list.Insert(new Item(3));
    other.Insert(theirs);
    other.Insert(new Item(4));

    list.Remove(theirs);   // would have dropped this whole tree
    list.Remove(nullptr);
    list.Insert(mine);     // already listed: would become its own child
    list.Insert(nullptr);
    EXPECT_EQ(ChainKeys(list), (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(ChainKeys(other), (std::vector<uint16_t>{2, 4}));
    ASSERT_EQ(reports.fatals.size(), 2u);
    EXPECT_EQ(reports.fatals[0], "TreeList::Remove: element is not in this list");
    EXPECT_EQ(reports.fatals[1], "TreeList::Insert: element is already in a list");
}

TEST_F(TreeListTest, ANodePartAfterAnotherBaseConvertsBothWays)
{
    struct Payload {
        virtual ~Payload() = default;
        int32_t weight = 77;
    };
    struct Carried : Payload, TreeListNode<Carried> {
        explicit Carried(uint16_t key) : TreeListNode<Carried>(key) {}
    };
    TreeListOf<Carried> list;
    Carried* a = new Carried(4);
    Carried* b = new Carried(9);
    list.Insert(b);
    list.Insert(a);
    ASSERT_NE(static_cast<void*>(static_cast<TreeListBase*>(a)), static_cast<void*>(a));

    EXPECT_EQ(list.First(), a);
    EXPECT_EQ(list.Last(), b);
    EXPECT_EQ(list.Find(9), b);
    EXPECT_EQ(list.First()->GetNext(), b);
    EXPECT_EQ(list.First()->weight, 77);
    EXPECT_EQ(list.Find(5), nullptr);
    EXPECT_EQ(b->GetNext(), nullptr);
    EXPECT_EQ(a->GetPrev(), nullptr);
    list.Remove(a);
    delete a;
    EXPECT_EQ(list.First(), b);
    list.Remove(nullptr);
}

// Long random runs, with many equal keys and with few: after every step the
// tree and the chain agree, and the tree stays logarithmic. Insertions alone
// keep it strictly AVL; the removal scheme may leave heavier nodes.
TEST_F(TreeListTest, RandomSequencesKeepEveryInvariant)
{
    struct Run {
        uint32_t seed;
        int keyRange;
        int steps;
        int insertPercent;
    };
    const Run runs[] = {
        {1, 65536, 1500, 100},
        {2, 8, 600, 100},
        {3, 65536, 2500, 60},
        {4, 40, 2500, 60},
        {5, 1000, 2500, 55},
        {6, 3, 800, 60},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(testing::Message() << "seed " << run.seed << ", keys below " << run.keyRange);
        std::mt19937 rng(run.seed);
        ItemList list;
        std::vector<Item*> items;
        for (int step = 0; step < run.steps; ++step) {
            const bool insert = items.empty() || static_cast<int>(rng() % 100) < run.insertPercent;
            if (insert) {
                items.push_back(new Item(static_cast<uint16_t>(rng() % run.keyRange)));
                list.Insert(items.back());
            } else {
                const size_t i = rng() % items.size();
                Item* gone = items[i];
                list.Remove(gone);
                items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
                delete gone;
            }
            const Shape shape = CheckList(list, items, step % 16 == 0 || step == run.steps - 1);
            if (run.insertPercent == 100) {
                ASSERT_LE(shape.worstBalance, 1) << "step " << step;
            }
            // An AVL tree stays under 1.45 log2(n + 2); allow the removal
            // scheme some slack above that.
            const double bound = 2.0 * std::log2(items.size() + 2.0) + 1.0;
            ASSERT_LE(shape.height, bound) << "step " << step << ", " << items.size() << " elements";
            if (testing::Test::HasFailure())
                return;
        }
    }
}
