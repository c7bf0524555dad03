// GameTimeTest.cpp: the order and the saved form of game times.
#include <gtest/gtest.h>

#include <sstream>

#include "core/GameTime.h"
#include "support/Bytes.h"

TEST(GameTime, StartsAtZero)
{
    EXPECT_EQ(GameTime().Get(), 0u);
}

TEST(GameTime, IsLaterIsStrictAndUnsigned)
{
    struct Row { uint32_t a, b; bool aLater; };
    const Row rows[] = {
        {0, 0, false},
        {1, 0, true},
        {0, 1, false},
        {900, 900, false},
        {0x80000000u, 0x7FFFFFFFu, true},     // unsigned: the top bit is no sign
        {0x7FFFFFFFu, 0x80000000u, false},
        {0xFFFFFFFFu, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " vs " << r.b);
        EXPECT_EQ(GameTime(r.a).IsLater(GameTime(r.b)), r.aLater);
    }
}

TEST(GameTime, SetGetAndAssign)
{
    GameTime t;
    t.Set(3600);
    EXPECT_EQ(t.Get(), 3600u);
    GameTime u;
    u = t;
    EXPECT_EQ(u.Get(), 3600u);
}

TEST(GameTime, SavesFourBytesLowFirst)
{
    std::ostringstream out;
    GameTime(0x12345678u).Save(out);
    EXPECT_EQ(out.str(), Bytes({0x78, 0x56, 0x34, 0x12}));

    std::istringstream in(out.str());
    GameTime back;
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.Get(), 0x12345678u);
}

TEST(GameTime, ShortReadKeepsTheTime)
{
    std::istringstream in(Bytes({0x01, 0x02, 0x03}));
    GameTime t(77);
    EXPECT_FALSE(t.Load(in));
    EXPECT_EQ(t.Get(), 77u);
}
