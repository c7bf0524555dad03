// Tests of AllocationCheck and the out-of-memory hook: the fatal text, the
// order purge, earlier handler, give up, and a real failed allocation.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <new>

#include "core/AllocationCheck.h"
#include "support/ReportCapture.h"

namespace {

int purgeCalls = 0;
int purgesThatFree = 0;       // how many purge calls answer "freed something"
int earlierCalls = 0;
int exhaustedCalls = 0;

bool FakePurge()
{
    ++purgeCalls;
    if (purgesThatFree == 0)
        return false;
    --purgesThatFree;
    return true;
}

void FakeEarlier()
{
    ++earlierCalls;
    throw std::bad_alloc();
}

void FakeExhausted() { ++exhaustedCalls; }

void SomeOtherHandler() {}

class OutOfMemoryHook : public testing::Test {
protected:
    void SetUp() override
    {
        purgeCalls = purgesThatFree = earlierCalls = exhaustedCalls = 0;
        original = std::set_new_handler(nullptr);
    }
    void TearDown() override
    {
        RemoveOutOfMemoryHandler();
        std::set_new_handler(original);
    }
    std::new_handler original = nullptr;
};

}  // namespace

TEST(AllocationCheck, ReportsANullPointerOnly)
{
    ReportCapture reports;
    int object = 0;
    AllocationCheck(&object);
    EXPECT_TRUE(reports.fatals.empty());
    AllocationCheck(nullptr);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Out of memory.  Quit now.");
    EXPECT_TRUE(reports.errors.empty());
    EXPECT_TRUE(reports.posts.empty());
}

TEST_F(OutOfMemoryHook, PurgeThatFreesSomethingAsksForARetry)
{
    InstallOutOfMemoryHandler(&FakePurge, &FakeExhausted);
    purgesThatFree = 1;
    std::get_new_handler()();   // returns: the allocator retries
    EXPECT_EQ(purgeCalls, 1);
    EXPECT_EQ(exhaustedCalls, 0);
}

TEST_F(OutOfMemoryHook, NothingFreedGoesToTheEarlierHandler)
{
    std::set_new_handler(&FakeEarlier);
    InstallOutOfMemoryHandler(&FakePurge, &FakeExhausted);
    EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
    EXPECT_EQ(purgeCalls, 1);
    EXPECT_EQ(earlierCalls, 1);
    EXPECT_EQ(exhaustedCalls, 0);

    RemoveOutOfMemoryHandler();
    EXPECT_EQ(std::get_new_handler(), &FakeEarlier);
}

TEST_F(OutOfMemoryHook, NothingFreedAndNoEarlierHandlerGivesUp)
{
    InstallOutOfMemoryHandler(&FakePurge, &FakeExhausted);
    EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
    EXPECT_EQ(purgeCalls, 1);
    EXPECT_EQ(exhaustedCalls, 1);

    InstallOutOfMemoryHandler(nullptr, nullptr);   // no purge, no last resort
    EXPECT_THROW(std::get_new_handler()(), std::bad_alloc);
    EXPECT_EQ(purgeCalls, 1);
}

TEST_F(OutOfMemoryHook, InstallingTwiceKeepsTheFirstEarlierHandler)
{
    std::set_new_handler(&SomeOtherHandler);
    InstallOutOfMemoryHandler(&FakePurge, nullptr);
    const std::new_handler ours = std::get_new_handler();
    InstallOutOfMemoryHandler(&FakePurge, &FakeExhausted);
    EXPECT_EQ(std::get_new_handler(), ours);
    RemoveOutOfMemoryHandler();
    EXPECT_EQ(std::get_new_handler(), &SomeOtherHandler);
    RemoveOutOfMemoryHandler();   // nothing installed: nothing changes
    EXPECT_EQ(std::get_new_handler(), &SomeOtherHandler);
}

TEST_F(OutOfMemoryHook, AFailedAllocationPurgesUntilNothingIsLeftThenGivesNull)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator does not call the new-handler";
#else
    InstallOutOfMemoryHandler(&FakePurge, &FakeExhausted);
    purgesThatFree = 3;
    volatile size_t huge = static_cast<size_t>(PTRDIFF_MAX) / 2;   // more than any machine has
    char* const block = new (std::nothrow) char[huge];
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(purgeCalls, 4);   // three retries, then nothing more to free
    EXPECT_EQ(exhaustedCalls, 1);

    ReportCapture reports;
    AllocationCheck(block);
    EXPECT_EQ(reports.fatals.size(), 1u);
    delete[] block;
#endif
}
