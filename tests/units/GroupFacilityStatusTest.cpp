// GroupFacilityStatusTest.cpp: a group taking over the status bits of its
// facility members.
#include <gtest/gtest.h>

#include <cstdint>

#include "UnitTestSupport.h"
#include "units/Group.h"
#include "units/UnitList.h"

namespace {

using unittest::TestUnit;

class GroupFacilityStatus : public testing::Test {
protected:
    GroupFacilityStatus()
    {
        previousList = UnitList::SetArenaList(&units);
        group = new Group;
        group->SetKey(1);
        units.Insert(group);
    }
    ~GroupFacilityStatus() override
    {
        units.DeleteAll();
        UnitList::SetArenaList(previousList);
    }

    void AddMember(uint16_t id, char letter, uint32_t flags)
    {
        auto* unit = new TestUnit(letter);
        unit->SetKey(id);
        unit->SetFlags(flags);
        units.Insert(unit);
        group->members.Insert(new GroupEntry(id));
    }

    unittest::UnitWorld world;
    UnitList units;
    UnitList* previousList = nullptr;
    Group* group = nullptr;
};

TEST_F(GroupFacilityStatus, TakesTheMaskedBitsOfFacilitiesOnly)
{
    group->SetFlags(0x40000000);
    const uint32_t before = group->GetFlags();   // stays set
    AddMember(2, 'F', 0xFFFF0000);
    AddMember(3, 'F', 0x0000FFFF);
    AddMember(4, 'S', 0x00000004);     // a ship's bits are not taken
    group->members.Insert(new GroupEntry(9));   // no such unit
    group->UpdateStatusFromFacilities();
    EXPECT_EQ(group->GetFlags(), before | 0x0368003Cu);
}

TEST_F(GroupFacilityStatus, SetsNothingWithoutFacilities)
{
    group->SetFlags(0x2000);
    const uint32_t before = group->GetFlags();
    AddMember(2, 'S', 0xFFFFFFFF);
    AddMember(3, 'U', 0xFFFFFFFF);
    group->UpdateStatusFromFacilities();
    EXPECT_EQ(group->GetFlags(), before);

    Group empty;
    const uint32_t fresh = empty.GetFlags();
    empty.UpdateStatusFromFacilities();
    EXPECT_EQ(empty.GetFlags(), fresh);
}

}  // namespace
