// PointerListTest.cpp: PointerList: insertion order and insertion before a
// position, erasing ranges without touching the values, and the count.
#include <gtest/gtest.h>

#include <vector>

#include "core/PointerList.h"

namespace {

std::vector<int*> Values(const PointerListOf<int>& list)
{
    std::vector<int*> values;
    for (int* value : list)
        values.push_back(value);
    return values;
}

}  // namespace

TEST(PointerList, StartsEmptyWithTheHeadLinkedToItself)
{
    PointerListOf<int> list;
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Begin(), list.End());
    EXPECT_EQ(++list.End(), list.End());
    EXPECT_TRUE(Values(list).empty());
}

TEST(PointerList, KeepsInsertionOrderAndInsertsBeforeAPosition)
{
    int a = 1, b = 2, c = 3, d = 4;
    PointerListOf<int> list;
    EXPECT_TRUE(list.Append(&a));
    const PointerList::Position atC = list.Insert(list.End(), &c);
    EXPECT_EQ(*atC, &c);
    const PointerList::Position atB = list.Insert(atC, &b);   // between a and c
    EXPECT_EQ(*atB, &b);
    list.Insert(list.Begin(), &d);                             // new first
    EXPECT_EQ(list.Count(), 4u);
    EXPECT_EQ(Values(list), (std::vector<int*>{&d, &a, &b, &c}));

    // Backwards from the end reaches the same values in reverse.
    PointerList::Position at = list.End();
    std::vector<void*> backwards;
    for (--at; at != list.End(); --at)
        backwards.push_back(*at);
    EXPECT_EQ(backwards, (std::vector<void*>{&c, &b, &a, &d}));
}

TEST(PointerList, ErasesRangesButNotTheValues)
{
    int values[5] = {10, 11, 12, 13, 14};
    PointerListOf<int> list;
    for (int& v : values)
        list.Append(&v);

    PointerList::Position second = ++list.Begin();
    PointerList::Position fourth = second;
    ++++fourth;
    EXPECT_EQ(list.Erase(second, fourth), fourth);   // drops 11 and 12
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(Values(list), (std::vector<int*>{&values[0], &values[3], &values[4]}));

    EXPECT_EQ(list.Erase(fourth, fourth), fourth);   // an empty range
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(list.Erase(list.End(), list.End()), list.End());
    EXPECT_EQ(list.Count(), 3u);

    list.Erase(fourth, list.End());                  // the tail
    EXPECT_EQ(Values(list), (std::vector<int*>{&values[0]}));
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Begin(), list.End());
    EXPECT_EQ(values[1], 11);   // the values stay the caller's
    list.Append(&values[2]);
    EXPECT_EQ(Values(list), (std::vector<int*>{&values[2]}));
}
