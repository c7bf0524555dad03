// VictoryManagerTest.cpp: a side's victory manager: its saved form, the
// periodic check and its hold count, loss tallies, the announcement and the
// player's answer, the status and report texts.
#include "missions/VictoryManager.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/Bytes.h"

namespace {

TEST(VictoryManagerSave, EmptyManagerWritesCountSideAndFourEmptyLists)
{
    VictoryManager manager(0x0203);
    std::ostringstream out;
    EXPECT_TRUE(manager.Save(out));
    EXPECT_EQ(out.str(), Bytes({0x00, 0x03, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    std::istringstream in(out.str());
    VictoryManager loaded(in);
    EXPECT_TRUE(in);
    EXPECT_EQ(loaded.GetSideID(), 0x0203);
    EXPECT_EQ(loaded.GetConditionCount(), 0);
    EXPECT_EQ(loaded.GetHoldStart(), 0u);
}

}  // namespace
