// LaunchOrdersTest.cpp: preparing and launching the aircraft of a launch
// list.
#include <gtest/gtest.h>

#include "engagement/LaunchOrders.h"
#include "units/StationTestSupport.h"

namespace {

using stationtest::Carrier;

class LaunchOrdersTest : public stationtest::StationWorld {
protected:
    static constexpr uint16_t CARRIER_ID = 20;

    LaunchOrdersTest()
    {
        UnitEventCalls calls = SetUnitEventCalls({});
        calls.getReadyRecordID = [](const Event& e) { return static_cast<const unittest::TestEvent&>(e).Value(); };
        SetUnitEventCalls(calls);
        carrier = new Carrier();
        carrier->SetKey(CARRIER_ID);
        carrier->SetPosition(Home());
        units.Insert(carrier);
    }

    PlaneRec* AddRecord(uint16_t key, uint8_t count, uint16_t loadout, uint32_t flags = PlaneRec::READY_FLAGS)
    {
        auto* r = new PlaneRec(key);
        r->unitID = CARRIER_ID;
        r->count = count;
        r->loadoutID = loadout;
        r->flags = flags;
        carrier->records.Insert(r);
        return r;
    }

    static LaunchList* ListOf(uint16_t record, uint8_t wanted, uint16_t loadout, uint8_t launch)
    {
        auto* list = new LaunchList;
        auto* entry = new LaunchEntry(1);
        entry->unitId = CARRIER_ID;
        entry->planeRecId = record;
        entry->aircraftWanted = wanted;
        entry->readyState = loadout;
        entry->launchFlag = launch;
        list->Insert(entry);
        return list;
    }

    Carrier* carrier = nullptr;
};

TEST_F(LaunchOrdersTest, FewerThanTheRecordHoldsAreSplitOffBeforeTheLaunch)
{
    AddRecord(3, 4, 5);
    LaunchAircraft(ListOf(3, 2, 5, 1), nullptr);
    const auto launches = world.Queued(EventCode::LAUNCH_AIRCRAFT);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0]->GetSubject(), CARRIER_ID);
    EXPECT_EQ(launches[0]->Value(), 4);   // the split-off record
    EXPECT_EQ(carrier->records.Find(3)->count, 2);
    EXPECT_EQ(carrier->records.Find(4)->count, 2);
}

TEST_F(LaunchOrdersTest, AllOfTheRecordLaunchWholeAndUnflaggedEntriesOnlyPrepare)
{
    AddRecord(3, 4, 5);
    LaunchAircraft(ListOf(3, 4, 5, 1), nullptr);
    ASSERT_EQ(world.Queued(EventCode::LAUNCH_AIRCRAFT).size(), 1u);
    EXPECT_EQ(world.Queued(EventCode::LAUNCH_AIRCRAFT)[0]->Value(), 3);
    EXPECT_EQ(carrier->records.First()->GetNext(), nullptr);

    AddRecord(6, 2, 0);
    LaunchAircraft(ListOf(6, 2, 8, 0), nullptr);   // not flagged: armed, not launched
    EXPECT_EQ(world.Queued(EventCode::LAUNCH_AIRCRAFT).size(), 1u);
    EXPECT_EQ(carrier->records.Find(6)->loadoutID, 8);
    LaunchAircraft(nullptr, nullptr);
    LaunchAircraft(ListOf(77, 1, 0, 1), nullptr);   // a missing record is skipped
    EXPECT_EQ(world.Queued(EventCode::LAUNCH_AIRCRAFT).size(), 1u);
}

TEST_F(LaunchOrdersTest, AStationGoesToTheRecordOnlyWhenTheHolderIsAttached)
{
    StationRecord* station = StationRecord::CreateStation(StationKind::SONOBUOY);
    const struct {
        uint16_t attachedTo;
        bool gotStation;
    } cases[] = {{0, false}, {GROUP_ID, true}};
    for (const auto& c : cases) {
        carrier->records.DeleteAll();
        carrier->attachedID = c.attachedTo;
        AddRecord(3, 2, 5);
        LaunchAircraft(ListOf(3, 2, 5, 1), station);
        const PlaneRec* record = carrier->records.Find(3);
        ASSERT_NE(record, nullptr);
        ASSERT_EQ(record->GetStation() != nullptr, c.gotStation) << c.attachedTo;
        if (c.gotStation) {
            EXPECT_EQ(record->GetStation()->kind, StationKind::SONOBUOY);
        }
    }
    delete station;
}

TEST_F(LaunchOrdersTest, AnIdleRecordInTheWantedStateIsMarkedReady)
{
    world.arena.SetGameTime(GameTime(5000));
    const struct {
        uint32_t stateTime;
        bool pendingArming;
        bool ready;
    } cases[] = {{3199, false, true}, {3200, false, false}, {0xFFFFFF00u, false, false}, {0, true, false}};
    for (const auto& c : cases) {
        carrier->records.DeleteAll();
        PlaneRec* record = AddRecord(3, 2, 5, 0x20);
        record->stateTime = c.stateTime;
        if (c.pendingArming)
            gam2arena::PostEvent(new unittest::TestEvent(EventCode::UNIT_READY, CARRIER_ID, 3));
        LaunchList* list = ListOf(3, 2, 5, 0);
        PrepareLaunch(list);
        delete list;
        EXPECT_EQ(record->HasFlags(PlaneRec::READY_FLAGS), c.ready) << c.stateTime;
    }
}

}  // namespace
