// MissionListTest.cpp: the mission section: the empty list, missions of
// several types back in id order with their classes, the last key issued,
// loading beside missions already listed, cut and damaged sections, and the
// fatal error on a type code without a class.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "OpsWorld.h"
#include "core/StreamFields.h"
#include "missions/HoldingMission.h"
#include "missions/StandingMission.h"
#include "support/ReportCapture.h"

namespace {

using opstest::NotingMission;

class MissionListTest : public opstest::OpsWorld {
protected:
    static std::vector<uint16_t> Types(const MissionList& list)
    {
        std::vector<uint16_t> types;
        for (const MissionRecord* m = list.First(); m; m = m->GetNext())
            types.push_back(m->GetType());
        return types;
    }
    static std::vector<uint16_t> IDs(const MissionList& list)
    {
        std::vector<uint16_t> ids;
        for (const MissionRecord* m = list.First(); m; m = m->GetNext())
            ids.push_back(m->GetID());
        return ids;
    }
    // The section of the staff's missions 1 and 2 and a patrol mission 9.
    std::string ThreeMissions()
    {
        auto* patrol = new NotingMission(MissionType::PATROL, 1, "P", 0, &side);
        patrol->SetKey(9);
        staff->Insert(patrol);
        std::ostringstream out;
        EXPECT_TRUE(staff->MissionList::Save(out));
        return out.str();
    }
    ReportCapture reports;
};

TEST_F(MissionListTest, EmptyListIsAZeroCount)
{
    MissionList list(&side);
    std::ostringstream out;
    ASSERT_TRUE(list.Save(out));
    EXPECT_EQ(out.str(), std::string("\0\0", 2));
    std::istringstream in(out.str());
    ASSERT_TRUE(list.Load(in));
    EXPECT_EQ(list.First(), nullptr);
}

TEST_F(MissionListTest, MissionsComeBackWithTheirIdsAndClasses)
{
    const std::string saved = ThreeMissions();
    MissionList list(&side);
    std::istringstream in(saved);
    ASSERT_TRUE(list.Load(in));
    EXPECT_EQ(IDs(list), (std::vector<uint16_t>{1, 2, 9}));
    EXPECT_EQ(Types(list), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_NE(dynamic_cast<StandingMission*>(list.Find(1)), nullptr);
    EXPECT_NE(dynamic_cast<HoldingMission*>(list.Find(2)), nullptr);
    EXPECT_NE(dynamic_cast<NotingMission*>(list.Find(9)), nullptr);
    for (const MissionRecord* m = list.First(); m; m = m->GetNext())
        EXPECT_EQ(m->side, &side);
    EXPECT_EQ(list.GetLastKey(), 9);
    std::ostringstream again;
    ASSERT_TRUE(list.Save(again));
    EXPECT_EQ(again.str(), saved);
}

TEST_F(MissionListTest, LoadAddsBesideListedMissionsButRefusesTheirIds)
{
    const std::string saved = ThreeMissions();
    MissionList list(&side);
    auto* other = new NotingMission(MissionType::PATROL, 1, "O", 0, &side);
    other->SetKey(20);
    list.Insert(other);
    std::istringstream in(saved);
    ASSERT_TRUE(list.Load(in));
    EXPECT_EQ(IDs(list), (std::vector<uint16_t>{1, 2, 9, 20}));

    // Loaded again: mission 1 is listed already; nothing more is added.
    std::istringstream twice(saved);
    EXPECT_FALSE(list.Load(twice));
    EXPECT_EQ(IDs(list), (std::vector<uint16_t>{1, 2, 9, 20}));
}

TEST_F(MissionListTest, CutSectionKeepsWholeMissionsOnly)
{
    const std::string saved = ThreeMissions();
    for (size_t length = 0; length < saved.size(); ++length) {
        SCOPED_TRACE(length);
        MissionList list(&side);
        std::istringstream in(saved.substr(0, length));
        EXPECT_FALSE(list.Load(in));
        // Whatever was listed is a whole mission of the section.
        for (const MissionRecord* m = list.First(); m; m = m->GetNext())
            EXPECT_TRUE(m->GetID() == 1 || m->GetID() == 2) << m->GetID();
    }
}

TEST_F(MissionListTest, TypeCodeWithoutAClassIsFatal)
{
    for (const uint16_t type : {0, 10, 0xFFFF}) {
        SCOPED_TRACE(type);
        std::ostringstream out;
        SaveField(out, uint16_t{1});
        SaveField(out, type);
        out << std::string(80, '\0');
        MissionList list(&side);
        reports.Clear();
        std::istringstream in(out.str());
        EXPECT_FALSE(list.Load(in));
        ASSERT_EQ(reports.fatals.size(), 1u);
        EXPECT_EQ(list.First(), nullptr);
    }
}

} // namespace
