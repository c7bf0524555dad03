// MissionAircraftTest.cpp: a mission's aircraft references: compression,
// merges, splits and reductions at the count's limits, flags, launches from a
// reference, replacements, launches for a unit, releasing a unit, the
// dropped-reference log text and the aircraft posture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "missions/MissionAircraftCalls.h"
#include "missions/MissionRecord.h"
#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "units/PositionNode.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"

namespace {

class Holder : public unittest::TestUnit {
public:
    Holder() : TestUnit('S') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

struct Launch {
    uint16_t holder, record;
    uint32_t value;
    bool operator==(const Launch&) const = default;
};

uint32_t& Posture()
{
    static uint32_t posture = 0;
    return posture;
}

std::vector<Launch>& Launches()
{
    static std::vector<Launch> launches;
    return launches;
}

class MissionAircraftTest : public ::testing::Test {
protected:
    static constexpr uint16_t HOME = 30;
    static constexpr uint16_t OTHER = 31;
    static constexpr uint16_t TYPE = 7;
    static constexpr uint16_t LOADOUT = 9;
    static constexpr uint32_t READY = PlaneRec::READY_FLAGS;

    MissionAircraftTest()
    {
        previousList = UnitList::SetArenaList(&units);
        UnitEventCalls events;
        events.makeLaunchAircraftEvent = [](uint16_t h, uint16_t r, uint32_t v) -> Event* {
            Launches().push_back({h, r, v});
            return nullptr;
        };
        previousEvents = SetUnitEventCalls(events);
        MissionAircraftCalls calls;
        calls.roleClass = [](uint16_t type, uint16_t loadout) -> uint16_t { return type == 99 ? 5 : loadout % 2 ? 5 : 6; };
        calls.setPosture = [](Unit&, uint32_t posture) { Posture() = posture; };
        calls.getCapabilities = [](Unit& unit, uint16_t) -> uint16_t { return static_cast<uint16_t>(unit.GetAnnexID()); };
        previousCalls = SetMissionAircraftCalls(calls);
        Launches().clear();
        home = AddHolder(HOME);
        other = AddHolder(OTHER);
    }
    ~MissionAircraftTest() override
    {
        SetMissionAircraftCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
        units.DeleteAll();
        UnitList::SetArenaList(previousList);
    }

    Holder* AddHolder(uint16_t id)
    {
        auto* holder = new Holder;
        holder->SetKey(id);
        units.Insert(holder);
        return holder;
    }
    // A record of `count` aircraft of TYPE (or type) with LOADOUT.
    PlaneRec* AddRecord(Holder* holder, uint16_t key, uint8_t count, uint32_t flags = READY, uint16_t type = TYPE,
                        uint16_t loadout = LOADOUT)
    {
        auto* record = new PlaneRec(key);
        record->unitID = holder->GetKey();
        record->count = count;
        record->flags = flags;
        record->planeAnnexID = type;
        record->loadoutID = loadout;
        holder->records.Insert(record);
        return record;
    }
    PlaneRecRef* AddRef(uint16_t holder, uint16_t record, uint8_t count, uint16_t state = PlaneRecRef::COMMITTED,
                        uint32_t flags = READY, uint16_t loadout = LOADOUT)
    {
        auto* ref = new PlaneRecRef(mission.planeRefs.NewKey());
        ref->holderID = holder;
        ref->recordID = record;
        ref->count = count;
        ref->refState = state;
        ref->recordFlags = flags;
        ref->loadoutID = loadout;
        mission.planeRefs.Insert(ref);
        return ref;
    }
    Plane* AddPlane(uint16_t id, uint16_t type = TYPE, uint16_t loadout = LOADOUT, uint16_t base = HOME)
    {
        auto* plane = new Plane;
        plane->SetKey(id);
        plane->SetAnnexID(type);
        plane->loadoutID = loadout;
        plane->homeBaseID = base;
        units.Insert(plane);
        return plane;
    }
    MissionUnitRec* AddUnitRecord(uint16_t id, int16_t state = MissionUnitState::ON_DUTY, uint16_t leader = 0)
    {
        auto* record = new MissionUnitRec(id);
        record->state = state;
        record->leaderID = leader;
        mission.units.Insert(record);
        return record;
    }
    uint32_t FindFlags(uint16_t holder, uint16_t record) const
    {
        return MissionRecord::FindAircraftRecord(holder, record)->flags;
    }
    std::vector<uint8_t> Counts() const
    {
        std::vector<uint8_t> counts;
        for (const PlaneRecRef* r = mission.planeRefs.First(); r; r = r->GetNext())
            counts.push_back(r->count);
        return counts;
    }

    UnitList units;
    UnitList* previousList = nullptr;
    UnitEventCalls previousEvents;
    MissionAircraftCalls previousCalls;
    Holder* home = nullptr;
    Holder* other = nullptr;
    MissionRecord mission;
};

TEST_F(MissionAircraftTest, CompressionJoinsOnlyLikeReferences)
{
    struct Case {
        const char* what;
        uint16_t loadoutB;
        uint8_t releasedA, releasedB;
        uint8_t countA, countB;
        std::vector<uint8_t> counts;
    };
    const Case cases[] = {
        {"equal", LOADOUT, 0, 0, 2, 3, {5}},
        {"other loadout", 4, 0, 0, 2, 3, {2, 3}},
        {"first released", LOADOUT, 1, 0, 2, 3, {2, 3}},
        {"second released", LOADOUT, 0, 1, 2, 3, {2, 3}},
        {"full count keeps the rest apart", LOADOUT, 0, 0, 200, 100, {255, 45}},
    };
    for (const Case& c : cases) {
        mission.planeRefs.DeleteAll();
        AddRef(HOME, 1, c.countA)->released = c.releasedA;
        PlaneRecRef* b = AddRef(HOME, 1, c.countB, PlaneRecRef::COMMITTED, READY, c.loadoutB);
        b->released = c.releasedB;
        MissionRecord::CompressReferences(mission.planeRefs);
        EXPECT_EQ(Counts(), c.counts) << c.what;
    }
}

TEST_F(MissionAircraftTest, CountsStopAtZeroAndAt255)
{
    struct Case {
        const char* what;
        uint8_t countA, countB, n;
        std::vector<uint8_t> counts;   // in key order afterwards
    };
    // Merge A (key 1) and B (key 2); split n off A into a new reference;
    // reduce A by n.
    const Case merges[] = {{"merge", 2, 3, 0, {5}}, {"merge past 255", 200, 100, 0, {255, 45}}};
    for (const Case& c : merges) {
        mission.planeRefs.DeleteAll();
        AddRef(HOME, 1, c.countA);
        AddRef(HOME, 2, c.countB);
        mission.MergeReferences(HOME, 1, 2);
        EXPECT_EQ(Counts(), c.counts) << c.what;
    }
    const Case splits[] = {{"split", 5, 0, 2, {3, 2}}, {"split all", 5, 0, 5, {5}}, {"split beyond", 5, 0, 7, {7}}};
    for (const Case& c : splits) {
        mission.planeRefs.DeleteAll();
        AddRef(HOME, 1, c.countA);
        mission.SplitReference(HOME, 1, 2, c.n);
        EXPECT_EQ(Counts(), c.counts) << c.what;
    }
    const Case reductions[] = {{"reduce", 5, 0, 2, {3}}, {"reduce all", 5, 0, 5, {0}}, {"reduce beyond", 5, 0, 9, {}}};
    for (const Case& c : reductions) {
        mission.planeRefs.DeleteAll();
        AddRef(HOME, 1, c.countA);
        mission.ReduceReference(HOME, 1, c.n);
        EXPECT_EQ(Counts(), c.counts) << c.what;
    }
}

TEST_F(MissionAircraftTest, FullFlagsOnAHeldReferenceClearTheWait)
{
    struct Case {
        uint32_t flags;
        uint16_t state;
        bool waitLeft;
    };
    for (const Case& c : {Case{READY, PlaneRecRef::HELD, false}, Case{0x10E, PlaneRecRef::HELD, true},
                          Case{READY, PlaneRecRef::COMMITTED, true}}) {
        mission.planeRefs.DeleteAll();
        AddRef(HOME, 1, 2, c.state, 0);
        mission.missionFlags = MissionFlag::AIRCRAFT_WAIT;
        mission.SetReferenceFlags(HOME, 1, c.flags | 0x80000000);
        EXPECT_EQ((mission.missionFlags & MissionFlag::AIRCRAFT_WAIT) != 0, c.waitLeft) << c.flags;
        EXPECT_EQ(mission.FindReference(HOME, 1)->recordFlags, c.flags | 0x80000000);
    }
}

TEST_F(MissionAircraftTest, LaunchesWholeOrSplitsOff)
{
    AddRecord(home, 1, 4);
    PlaneRecRef* whole = AddRef(HOME, 1, 4, PlaneRecRef::HELD);
    EXPECT_TRUE(mission.LaunchFromReference(whole, 4, 3));
    EXPECT_TRUE(mission.LaunchFromReference(whole, 9, 3));
    EXPECT_EQ(whole->refState, PlaneRecRef::COMMITTED);
    EXPECT_EQ(Counts(), (std::vector<uint8_t>{4}));
    EXPECT_EQ(Launches(), (std::vector<Launch>{{HOME, 1, 3}, {HOME, 1, 3}}));

    Launches().clear();
    EXPECT_TRUE(mission.LaunchFromReference(whole, 1, 1));
    EXPECT_EQ(Counts(), (std::vector<uint8_t>{3, 1}));
    const PlaneRecRef* copy = mission.planeRefs.Last();
    EXPECT_NE(copy->recordID, 1);
    EXPECT_EQ(home->records.Find(copy->recordID)->count, 1);
    EXPECT_EQ(Launches(), (std::vector<Launch>{{HOME, copy->recordID, 1}}));

    // The holder refuses: its record is gone; nothing changes.
    PlaneRecRef* orphan = AddRef(HOME, 8, 4);
    EXPECT_FALSE(mission.LaunchFromReference(orphan, 1, 1));
    EXPECT_EQ(orphan->count, 4);
    PlaneRecRef* lost = AddRef(55, 1, 4);
    EXPECT_FALSE(mission.LaunchFromReference(lost, 1, 1));
}

TEST_F(MissionAircraftTest, ReplacementPrefersReadyHomeRecordsThenTheRole)
{
    Plane* plane = AddPlane(200);
    AddRecord(home, 1, 2, 0);                    // fits, not ready
    AddRecord(home, 2, 2);                       // fits, ready
    AddRecord(home, 3, 2, READY, TYPE, 8);       // other loadout
    AddRecord(other, 4, 2, READY, TYPE, 11);     // like role (odd loadout) at another holder
    AddRecord(home, 4, 2, READY, TYPE, 10);      // same key at home: another role

    struct Case {
        const char* what;
        std::vector<uint16_t> refs;   // records of the references, in key order
        uint16_t launchedRecord;      // 0: none
    };
    const Case cases[] = {
        {"ready before not ready", {1, 2}, 2},
        {"not ready when alone", {1, 3}, 1},
        {"home before role", {4, 1}, 1},
        {"role in the reference's own holder", {4, 3}, 4},
    };
    for (const Case& c : cases) {
        mission.planeRefs.DeleteAll();
        Launches().clear();
        for (uint16_t record : c.refs) {
            const uint16_t holder = record == 4 ? OTHER : HOME;
            const uint32_t flags = FindFlags(holder, record);
            AddRef(holder, record, 2, PlaneRecRef::COMMITTED, flags);
        }
        const bool launched = mission.LaunchReplacement(plane, nullptr);
        EXPECT_EQ(launched, c.launchedRecord != 0) << c.what;
        if (c.launchedRecord != 0) {
            ASSERT_EQ(Launches().size(), 1u) << c.what;
            const uint16_t holder = c.launchedRecord == 4 ? OTHER : HOME;
            EXPECT_EQ(mission.FindReference(holder, c.launchedRecord)->count, 1) << c.what;
        }
    }
    mission.missionFlags |= MissionFlag::FINISHED;
    EXPECT_FALSE(mission.LaunchReplacement(plane, nullptr));
}

TEST_F(MissionAircraftTest, ReleasingAUnitWaitsOnlyWithoutAReplacement)
{
    struct Case {
        const char* what;
        uint16_t leader, baseLeader;
        bool readyRecord;
        int16_t state;
        size_t launches;
    };
    const Case cases[] = {
        {"leader", 5, 0, true, MissionUnitState::DONE, 0},
        {"home base with a leader", 0, 5, true, MissionUnitState::DONE, 0},
        {"replacement launched", 0, 0, true, MissionUnitState::DONE, 1},
        {"nothing to launch", 0, 0, false, MissionUnitState::WAITING, 0},
    };
    Plane* plane = AddPlane(200);
    for (const Case& c : cases) {
        mission.units.DeleteAll();
        mission.planeRefs.DeleteAll();
        home->records.DeleteAll();
        Launches().clear();
        if (c.readyRecord) {
            AddRecord(home, 1, 2);
            AddRef(HOME, 1, 2);
        }
        AddUnitRecord(200, MissionUnitState::ON_DUTY, c.leader);
        AddUnitRecord(HOME, MissionUnitState::STATIONED, c.baseLeader);
        mission.ReleaseUnit(plane);
        EXPECT_EQ(mission.units.Find(200)->state, c.state) << c.what;
        EXPECT_EQ(Launches().size(), c.launches) << c.what;
    }
    // A unit already done or waiting stays as it is.
    mission.units.Find(200)->state = MissionUnitState::DONE;
    mission.ReleaseUnit(plane);
    EXPECT_EQ(mission.units.Find(200)->state, MissionUnitState::DONE);
}

TEST_F(MissionAircraftTest, LaunchForAUnitJoinsFittingRecordsUpToTheWantedNumber)
{
    Plane* plane = AddPlane(200);
    struct Case {
        const char* what;
        uint8_t readyCount, unreadyCount;
        uint8_t force;
        bool launched;
        int16_t state;
    };
    // The base mission wants 4 aircraft for one launch.
    const Case cases[] = {
        {"ready ones suffice", 4, 0, 0, true, MissionUnitState::DONE},
        {"not ready ones make up the rest", 2, 2, 0, true, MissionUnitState::DONE},
        {"too few", 1, 2, 0, false, MissionUnitState::WAITING},
        {"too few, forced", 1, 2, 1, true, MissionUnitState::DONE},
    };
    for (const Case& c : cases) {
        mission.units.DeleteAll();
        mission.planeRefs.DeleteAll();
        home->records.DeleteAll();
        Launches().clear();
        AddRecord(home, 1, c.readyCount)->stateTime = 5;
        AddRecord(home, 2, c.unreadyCount, 0);
        AddRecord(home, 3, 9, READY, TYPE, 8);   // other loadout: never taken
        AddRef(HOME, 1, c.readyCount);
        AddRef(HOME, 2, c.unreadyCount, PlaneRecRef::COMMITTED, 0);
        AddRef(HOME, 3, 9);
        AddUnitRecord(200);
        EXPECT_EQ(mission.LaunchForUnit(plane, TYPE, LOADOUT, HOME, c.force), c.launched) << c.what;
        EXPECT_EQ(mission.units.Find(200)->state, c.state) << c.what;
        if (c.launched) {
            ASSERT_EQ(Launches().size(), 1u) << c.what;
            EXPECT_EQ(Launches()[0].value, 4u) << c.what;
            EXPECT_EQ(home->records.Find(3)->count, 9) << c.what;
        } else {
            EXPECT_TRUE(Launches().empty()) << c.what;
        }
    }
}

TEST_F(MissionAircraftTest, ReturningAircraftGetAReferenceAndFeedAWaitingUnit)
{
    AddRecord(home, 1, 3);
    AddUnitRecord(200, MissionUnitState::WAITING);
    mission.AddReference(HOME, 1, 200);
    PlaneRecRef* ref = mission.FindReference(HOME, 1);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->refState, PlaneRecRef::COMMITTED);
    EXPECT_EQ(ref->recordFlags, READY);
    EXPECT_EQ(Launches().size(), 1u);   // one aircraft split off and launched
    EXPECT_EQ(Counts(), (std::vector<uint8_t>{2, 1}));

    // A finished mission only records the reference.
    mission.planeRefs.DeleteAll();
    Launches().clear();
    mission.missionFlags |= MissionFlag::FINISHED;
    mission.AddReference(HOME, 1, 200);
    EXPECT_EQ(Counts(), (std::vector<uint8_t>{2}));   // the record kept 2 of its 3
    EXPECT_TRUE(Launches().empty());

    // A unit the mission no longer holds: the reference is dropped.
    mission.planeRefs.DeleteAll();
    mission.missionFlags = 0;
    mission.AddReference(HOME, 1, 201);
    EXPECT_TRUE(Counts().empty());
    // Without a unit: a held reference.
    mission.AddReference(HOME, 1, 0);
    ASSERT_NE(mission.FindReference(HOME, 1), nullptr);
    EXPECT_EQ(mission.FindReference(HOME, 1)->refState, PlaneRecRef::HELD);
    // No record: nothing.
    mission.AddReference(HOME, 8, 0);
    EXPECT_EQ(mission.FindReference(HOME, 8), nullptr);
}

TEST_F(MissionAircraftTest, MovesAndRefreshesFollowTheRecord)
{
    PlaneRec* record = AddRecord(home, 1, 3);
    AddRef(HOME, 1, 3);
    PlaneRecRef* moved = mission.DetachReference(HOME, 1);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->refState, PlaneRecRef::HELD);
    EXPECT_EQ(mission.FindReference(HOME, 1), nullptr);
    MissionRecord second;
    for (int i = 0; i < 6; ++i)
        second.planeRefs.NewKey();
    second.AttachReference(moved);
    EXPECT_EQ(second.FindReference(HOME, 1), moved);
    EXPECT_EQ(moved->GetKey(), 7);

    record->count = 5;
    record->loadoutID = 2;
    second.RefreshReference(HOME, 1);
    EXPECT_EQ(moved->count, 5);
    EXPECT_EQ(moved->loadoutID, 2);
    record->count = 0;
    second.RefreshReference(HOME, 1);
    EXPECT_EQ(second.FindReference(HOME, 1), nullptr);

    // A reference whose record is gone is dropped on attaching.
    auto* stray = new PlaneRecRef(1);
    stray->holderID = HOME;
    stray->recordID = 9;
    second.AttachReference(stray);
    EXPECT_EQ(second.FindReference(HOME, 9), nullptr);
}

TEST_F(MissionAircraftTest, CountsCommittedOrUnreleasedEditedAircraft)
{
    AddRef(HOME, 1, 3)->released = 1;
    AddRef(HOME, 2, 4);
    EXPECT_EQ(mission.CountAircraft(), 7u);
    auto* edited = new PlaneRecRef(1);
    edited->count = 2;
    mission.editPlaneRefs.Insert(edited);
    auto* released = new PlaneRecRef(2);
    released->count = 9;
    released->released = 1;
    mission.editPlaneRefs.Insert(released);
    EXPECT_EQ(mission.CountAircraft(), 2u);
}

TEST_F(MissionAircraftTest, PostureByMissionKind)
{
    Plane* plane = AddPlane(200);
    const uint32_t table[][2] = {{1, 1}, {2, 2}, {4, 8}, {8, 0x10}, {0x11, 1}, {0x18, 0x10}, {3, 4}, {0, 4}};
    for (const auto& row : table) {
        Posture() = 0xFFFF;
        mission.SetAircraftPosture(plane, row[0]);
        EXPECT_EQ(Posture(), row[1]) << row[0];
    }
    Posture() = 0xFFFF;
    mission.SetAircraftPosture(home, 1);
    EXPECT_EQ(Posture(), 0xFFFFu);
}

TEST_F(MissionAircraftTest, SensorDeploymentByCapability)
{
    struct Case {
        uint16_t capabilities;
        uint8_t force;
        bool path;
        uint16_t answer;
        bool deployed;
    };
    const Case cases[] = {
        {0x2, 0, false, 2, false}, {0x6, 1, false, 2, false}, {0x4, 1, false, 4, true},
        {0x4, 0, true, 4, true},   {0x4, 0, false, 4, false}, {0x0, 1, false, 0, false},
    };
    for (const Case& c : cases) {
        Plane* plane = AddPlane(300, c.capabilities);
        plane->SetFlags(0x10000);
        if (!c.path)
            plane->ClearFlags(0x10000);
        if (c.path)
            plane->SetPath(new PositionNode(LatLonPoint{0, 0}));
        EXPECT_EQ(mission.DeployUnitSensor(plane, c.force), c.answer) << c.capabilities;
        if (c.answer == 4) {
            EXPECT_EQ(plane->TestFlags(0x10000), c.deployed) << c.capabilities;
        }
        units.Remove(plane);
        delete plane;
    }
}

TEST_F(MissionAircraftTest, CommittingTakesTheAircraftForTheMission)
{
    AddRecord(home, 1, 3);
    mission.SetKey(4);
    PlaneRecRef* ref = AddRef(HOME, 1, 3, PlaneRecRef::HELD);
    PlaneRec* record = mission.CommitReference(ref);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetKey(), 1);
    EXPECT_EQ(record->missionID, 4);
    EXPECT_EQ(mission.CommitReference(AddRef(HOME, 9, 1)), nullptr);
}

TEST_F(MissionAircraftTest, CommittingPartOfARecordTakesANewRecordForTheMission)
{
    PlaneRec* rest = AddRecord(home, 1, 5);
    rest->missionID = 1;
    mission.SetKey(4);
    PlaneRecRef* ref = AddRef(HOME, 1, 2, PlaneRecRef::HELD);
    PlaneRec* record = mission.CommitReference(ref);
    ASSERT_NE(record, nullptr);
    EXPECT_NE(record->GetKey(), 1);
    EXPECT_EQ(ref->recordID, record->GetKey());
    EXPECT_EQ(record->count, 2);
    EXPECT_EQ(record->missionID, 4);
    // The aircraft left behind stay with their own mission.
    EXPECT_EQ(rest->count, 3);
    EXPECT_EQ(rest->missionID, 1);
}

TEST_F(MissionAircraftTest, TheLastAircraftToTakeOffStillTakeTheStoredOrder)
{
    AddRecord(home, 1, 2);
    PlaneRecRef* ref = AddRef(HOME, 1, 2);
    ref->SetOrder(7, 40, 99);
    AddUnitRecord(200);
    mission.ReduceReference(HOME, 1, 2);
    ASSERT_EQ(mission.FindReference(HOME, 1), ref);
    EXPECT_EQ(ref->count, 0);
    mission.ApplyStoredOrder(HOME, 1, 200);
    const MissionUnitRec* unit = mission.units.Find(200);
    EXPECT_EQ(unit->state, 7);
    EXPECT_EQ(unit->targetID, 40);
    EXPECT_EQ(mission.FindReference(HOME, 1), nullptr);
}

TEST_F(MissionAircraftTest, DetachingCancelsTheRecordsQueuedEventsOnlyWithNothingPending)
{
    static std::vector<Launch> removed;
    MissionAircraftCalls calls;
    calls.removeMissionEvents = [](uint16_t holder, uint16_t record) { removed.push_back({holder, record, 0}); };
    const MissionAircraftCalls previous = SetMissionAircraftCalls(calls);
    for (const uint32_t pending : {0u, 1u}) {
        removed.clear();
        home->records.DeleteAll();
        AddRecord(home, 1, 3)->spareTime = pending;
        AddRef(HOME, 1, 3);
        delete mission.DetachReference(HOME, 1);
        const std::vector<Launch> expected = pending == 0 ? std::vector<Launch>{{HOME, 1, 0}} : std::vector<Launch>{};
        EXPECT_EQ(removed, expected) << pending;
    }
    SetMissionAircraftCalls(previous);
}

}  // namespace
