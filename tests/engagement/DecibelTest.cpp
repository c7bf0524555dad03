// DecibelTest.cpp: the decibel table and the level sum.
#include <gtest/gtest.h>

#include <cstdint>

#include "engagement/Decibel.h"

namespace {

TEST(Log10Times100, TruncatesEachDecadeBeforeTheTable)
{
    struct Row { uint32_t value, expected; };
    const Row rows[] = {
        {0, 0},          {1, 0},          {2, 30},         {3, 48},          {9, 95},
        {10, 100},       {15, 118},       {98, 199},       {99, 200},        {100, 200},
        {150, 218},      {199, 228},      // 19 after one division, not 230
        {999, 300},      {1000, 300},     {4294967295u, 962},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        EXPECT_EQ(Log10Times100(r.value), r.expected);
    }
}

TEST(DecibelSum, AddsTwoForEqualOneForNeighbours)
{
    struct Row { uint16_t a, b; uint32_t expected; };
    const Row rows[] = {
        {10, 10, 12}, {10, 11, 12}, {11, 10, 12}, {10, 12, 12}, {12, 10, 12},
        {0, 0, 2},    {65535, 65535, 65537},      {65535, 0, 65535},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " + " << r.b);
        EXPECT_EQ(DecibelSum(r.a, r.b), r.expected);
    }
}

}  // namespace
