// Tests of RandomGen: the exact sequences of both generators, including the
// wrap of the 32-bit product and the exact remainder modulo 2^31 - 1, the
// shared seed, copies, replay from a queried seed and seeding from the clock.
#include <gtest/gtest.h>

#include "core/RandomGen.h"
#include "platform/Clock.h"

namespace {

TEST(RandomGen, MPRandomFollowsItsSequence)
{
    struct Row { uint32_t seed; uint16_t n; uint32_t nextSeed; uint16_t result; };
    const Row rows[] = {
        {0, 100, 1, 0},
        {1, 100, 69070, 0},
        {69070, 100, 475628535, 22},
        {65536, 65535, 231538689, 7065},         // 65536 * 69069 + 1 wraps in 32 bits
        {3023745526u, 1000, 1, 0},               // x = 4294967295: two moduli subtracted
        {876261878, 1000, 0, 0},                 // x = 2147483647 exactly
        {0xFFFFFFFFu, 0, 2147414581, 0},         // n = 0 gives 0 and still advances
        {123456789, 1, 1526876882, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "seed " << r.seed << " n " << r.n);
        RandomGen gen;
        gen.SetSeed(r.seed);
        const uint16_t result = gen.MPRandom(r.n);
        EXPECT_EQ(gen.QuerySeed(), r.nextSeed);
        EXPECT_EQ(result, r.result);
    }
}

TEST(RandomGen, MPRandomStaysBelowN)
{
    RandomGen gen;
    gen.SetSeed(20240601);
    for (int i = 0; i < 5000; ++i) {
        const uint16_t n = static_cast<uint16_t>(1 + (i * 37) % 65535);
        EXPECT_LT(gen.MPRandom(n), n);
        EXPECT_LT(gen.QuerySeed(), 2147483647u);
    }
    gen.SetSeed(42);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(gen.MPRandom(1), 0);
}

TEST(RandomGen, RandomFollowsItsSequence)
{
    RandomGen gen;
    gen.SetSeed(0);
    EXPECT_EQ(gen.Random(256), 0);
    EXPECT_EQ(gen.QuerySeed(), 1u);
    EXPECT_EQ(gen.Random(256), 14);
    EXPECT_EQ(gen.QuerySeed(), 3790u);            // 3533 + 1 + 0 + 256

    // n = 0 gives 0 and still advances.
    const uint32_t before = gen.QuerySeed();
    EXPECT_EQ(gen.Random(0), 0);
    EXPECT_NE(gen.QuerySeed(), before);
}

TEST(RandomGen, RandomCutsTheSeedTo16Bits)
{
    // Only the low 16 bits of the old seed matter, and the new one is below
    // 65536, however large the seed MPRandom left.
    RandomGen high;
    RandomGen low;
    high.SetSeed(0x7FFF1234u);
    low.SetSeed(0x00001234u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(high.Random(1000), low.Random(1000));
        EXPECT_EQ(high.QuerySeed(), low.QuerySeed());
        EXPECT_LT(high.QuerySeed(), 65536u);
    }
    // A seed with the top bit set, which a signed register sees as negative.
    RandomGen negative;
    negative.SetSeed(0x80001234u);
    low.SetSeed(0x00001234u);
    EXPECT_EQ(negative.Random(77), low.Random(77));
    EXPECT_EQ(negative.QuerySeed(), low.QuerySeed());
}

TEST(RandomGen, CopiesAndReplaysContinueTheSameSequence)
{
    RandomGen original;
    original.SetSeed(987654);
    original.MPRandom(10);
    RandomGen copy(original);
    RandomGen assigned;
    assigned = original;
    const uint32_t mark = original.QuerySeed();
    uint16_t drawn[20];
    for (int i = 0; i < 20; ++i) {
        drawn[i] = original.MPRandom(1000);
        EXPECT_EQ(copy.MPRandom(1000), drawn[i]);
        EXPECT_EQ(assigned.MPRandom(1000), drawn[i]);
    }
    RandomGen replay;
    replay.SetSeed(mark);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(replay.MPRandom(1000), drawn[i]);
}

TEST(RandomGen, SeedsFromTheCalendarClock)
{
    platform::FakeClock clock(0, 0x123456789ALL);
    RandomGen gen;
    EXPECT_EQ(gen.QuerySeed(), 0x3456789Au);      // the low 32 bits
    clock.SetCalendarSeconds(1700000000);
    gen.SetRandomSeed();
    EXPECT_EQ(gen.QuerySeed(), 1700000000u);
}

} // namespace
