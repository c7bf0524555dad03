// MissionRecordTest.cpp: the mission base record.
#include "missions/MissionRecord.h"

#include <gtest/gtest.h>

TEST(MissionRecord, StartsWithItsDefaults)
{
    MissionRecord mission(0, "AB", nullptr);
    EXPECT_EQ(mission.GetType(), 0);
    EXPECT_EQ(mission.weaponsFree, 1);
    EXPECT_STREQ(mission.GetName(), "AB");
    EXPECT_EQ(mission.savedName, nullptr);
}
