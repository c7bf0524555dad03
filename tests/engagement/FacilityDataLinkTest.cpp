// FacilityDataLinkTest.cpp: two facilities of one side with datalink
// records sharing one side record, and the units a facility leaves to the
// unit's own link rule.
#include <gtest/gtest.h>

#include <algorithm>

#include "ContactWorld.h"
#include "engagement/UnitDetection.h"
#include "units/Facility.h"
#include "units/UnitEvents.h"

namespace {

using contacttest::ContactWorld;
using contacttest::KeyedEvent;

class FacilityLinkWorld : public ContactWorld {
public:
    FacilityLinkWorld()
    {
        InstallUnitDetection();
        UnitEventCalls events;
        events.makeMergeUnitEntriesEvent = [](uint16_t from, uint16_t) -> Event* { return new KeyedEvent(0x05, from); };
        savedEvents = SetUnitEventCalls(events);
    }
    ~FacilityLinkWorld()
    {
        SetUnitEventCalls(savedEvents);
        UninstallUnitDetection();
    }

    // A unit of side 1 in the record of that key (made when missing), with a
    // datalink record when `linked`.
    template <class U>
    U& Place(U* unit, uint16_t id, uint16_t recordKey, bool linked)
    {
        unit->SetKey(id);
        unit->SetSideID(1);
        units.Insert(unit);
        if (recordKey != 0) {
            SideContacts* record = sides.Find(recordKey);
            if (record == nullptr)
                record = &AddRecord(recordKey);
            unit->SetSide(*record, 0);
        }
        if (linked) {
            auto* link = new DatalinkRecord(1);
            link->SetKey(1);
            unit->datalinks.Insert(link);
        }
        return *unit;
    }
    Facility& PlaceFacility(uint16_t id, uint16_t recordKey, bool linked = true)
    {
        return Place(new Facility, id, recordKey, linked);
    }

private:
    UnitEventCalls savedEvents;
};

TEST(FacilityDataLink, AnotherFacilitysRecordIsMergedIntoThisOne)
{
    FacilityLinkWorld world;
    Facility& a = world.PlaceFacility(1, 1);
    Facility& b = world.PlaceFacility(2, 2);
    gam2arena::SetCurrentSide(world.sides.Find(2));
    world.TakeEvents();
    EXPECT_EQ(a.UpdateDataLink(b, 500, 0, 0, 0), 1);
    EXPECT_TRUE(a.datalinks.First()->HoldsLink(2));
    EXPECT_TRUE(b.datalinks.First()->HoldsLink(1));
    EXPECT_EQ(gam2arena::GetCurrentSide(), world.sides.Find(1));
    const auto events = world.TakeEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), std::make_pair(uint8_t{0x05}, uint16_t{2})), events.end());
    EXPECT_NE(world.sides.Find(1)->ownUnits.Find(1), nullptr);
    EXPECT_EQ(a.sideEntryID, 1);
}

TEST(FacilityDataLink, OtherCasesChangeNothingOrTakeTheUnitsRule)
{
    struct Row {
        const char* what;
        char letter;        // the other unit's
        uint16_t side;      // the other unit's
        uint16_t record;    // the other unit's record key (0: none)
        bool linked;        // the other unit has a datalink record
        int32_t answer;
    };
    const Row rows[] = {
        {"one record already", 'F', 1, 1, true, 1},
        {"the other's record is missing", 'F', 1, 0, true, 0},
        {"a ship: the unit's rule (no link flags: no join)", 'S', 1, 2, true, 0},
        {"another side", 'F', 2, 2, true, 0},
        {"no datalink record", 'F', 1, 2, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FacilityLinkWorld world;
        Facility& a = world.PlaceFacility(1, 1);
        Unit* other = r.letter == 'F' ? static_cast<Unit*>(new Facility)
                                      : new contacttest::FakeUnit(2, r.letter, 1);
        world.Place(other, 2, r.record, r.linked);
        other->SetSideID(r.side);
        if (r.record == 0)
            other->sideEntryID = 9;   // names no record
        world.TakeEvents();
        EXPECT_EQ(a.UpdateDataLink(*other, 500, 0, 0, 0), r.answer);
        EXPECT_FALSE(a.datalinks.First()->HoldsLink(2));
        const auto events = world.TakeEvents();
        EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const auto& e) { return e.first == 0x05; }), 0);
        EXPECT_EQ(a.sideEntryID, 1);
    }
}

}  // namespace
