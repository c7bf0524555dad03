// MinMaxTest.cpp: the 8- and 16-bit minimum and maximum functions compare in
// the width and signedness of their names.
#include <gtest/gtest.h>

#include "units/MinMax.h"

TEST(MinMax, SignednessFollowsTheName)
{
    const int16_t minusOne16 = static_cast<int16_t>(0xFFFF);
    EXPECT_EQ(MinI16(minusOne16, 1), -1);          // 0xFFFF is -1
    EXPECT_EQ(MinU16(0xFFFF, 1), 1);
    EXPECT_EQ(MaxI16(minusOne16, 1), 1);
    EXPECT_EQ(MaxU16(0xFFFF, 1), 0xFFFF);

    const int8_t minus128 = static_cast<int8_t>(0x80);
    EXPECT_EQ(MaxU8(0x80, 0x7F), 0x80);
    EXPECT_EQ(MinI8(minus128, 0x7F), -128);        // 0x80 is -128
    EXPECT_EQ(MinU8(0x80, 0x7F), 0x7F);
}

TEST(MinMax, OrdinaryValues)
{
    EXPECT_EQ(MinI16(-300, 200), -300);
    EXPECT_EQ(MaxI16(-300, 200), 200);
    EXPECT_EQ(MinU16(300, 200), 200);
    EXPECT_EQ(MaxU16(300, 200), 300);
    EXPECT_EQ(MinU8(9, 10), 9);
    EXPECT_EQ(MaxU8(9, 10), 10);
    EXPECT_EQ(MinI8(-5, 5), -5);
}

TEST(MinMax, TiesGiveTheEqualValue)
{
    EXPECT_EQ(MinI16(7, 7), 7);
    EXPECT_EQ(MinI8(-7, -7), -7);
    EXPECT_EQ(MinU8(7, 7), 7);
    EXPECT_EQ(MinU16(7, 7), 7);
    EXPECT_EQ(MaxI16(-7, -7), -7);
    EXPECT_EQ(MaxU16(7, 7), 7);
    EXPECT_EQ(MaxU8(7, 7), 7);
}
