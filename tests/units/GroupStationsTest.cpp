// Tests of a group's station sectors for the formation window and of the
// planning survey when a member leaves with the planes based on it.
#include <gtest/gtest.h>

#include <vector>

#include "StationTestSupport.h"

using namespace stationtest;

namespace {

constexpr int32_t DEG = ANGLE_PER_DEGREE;

using GroupStationsTest = StationWorld;

TEST_F(GroupStationsTest, SectorsOfAKindTurnedByTheirAxes)
{
    group->axes[0]->bearing = 350 * DEG;
    for (uint16_t id : {10, 11, 12})
        AddShip(id, Home());
    group->SetMemberStationKind(12, StationKind::SPRINT_DRIFT);   // another kind: left out
    group->SetMemberRecalled(11, true);                           // recalled from the kind: counted
    StationRecord* s10 = group->GetMemberStation(10);
    StationRecord* s11 = group->GetMemberStation(11);
    ASSERT_NE(s10, nullptr);
    ASSERT_NE(s11, nullptr);
    ASSERT_EQ(s11->kind, StationKind::FREE);
    ASSERT_EQ(s10->kind, StationKind::KEEP);
    s10->axis = 0;
    s10->leftBearing = -20 * DEG;
    s10->rightBearing = 20 * DEG;   // 370 degrees comes round to 10
    s10->minRange = 1;
    s10->maxRange = 2;
    s11->axis = 1;
    s11->leftBearing = 0;
    s11->rightBearing = 5 * DEG;
    s11->minRange = 3;
    s11->maxRange = 4;
    for (uint8_t mode : {StationMode::LAUNCHING, StationMode::FLYING}) {
        StationRecord* air = StationRecord::CreateStation(StationKind::KEEP);
        air->mode = mode;
        air->axis = 2;
        air->minRange = mode;
        group->airStations.Append(air);
    }

    const std::vector<Group::StationSector> sectors = group->GetStationSectors(StationKind::KEEP);
    ASSERT_EQ(sectors.size(), 3u);
    EXPECT_EQ(sectors[0].minRange, 1);
    EXPECT_EQ(sectors[0].leftBearing, 330 * DEG);
    EXPECT_EQ(sectors[0].maxRange, 2);
    EXPECT_EQ(sectors[0].rightBearing, 10 * DEG);
    EXPECT_EQ(sectors[1].leftBearing, 120 * DEG);
    EXPECT_EQ(sectors[1].rightBearing, 125 * DEG);
    EXPECT_EQ(sectors[1].minRange, 3);
    EXPECT_EQ(sectors[2].minRange, StationMode::LAUNCHING);   // the flying one is left out
    EXPECT_EQ(sectors[2].leftBearing, 240 * DEG);
    EXPECT_TRUE(group->GetStationSectors(StationKind::AEW).empty());
}

TEST_F(GroupStationsTest, SurveyStartsAgainWhenALeaverTakesItsPlanesAlong)
{
    AddShip(10, Home());
    AddShip(20, Home());
    Plane* plane = AddPlane(21, Home());
    plane->homeBaseID = 20;
    AddShip(30, Home());
    group->formation->RemoveMember(20);   // 20 has no station: it leaves, and 21 with it
    group->PlanStations(false, false);
    EXPECT_EQ(group->members.Find(20), nullptr);
    EXPECT_EQ(group->members.Find(21), nullptr);
    ASSERT_NE(group->members.Find(30), nullptr);
    for (uint16_t id : {10, 30})   // only the lead is kept where it is
        EXPECT_EQ(group->members.Find(id)->excluded, id == group->leadID ? 1 : 0) << id;
}

}  // namespace
