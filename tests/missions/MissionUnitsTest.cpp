// MissionUnitsTest.cpp: the unit moves of a mission: adding a unit, taking it
// out and adopting it elsewhere, moving a group's members, and releasing every
// unit and aircraft reference through the side.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gam2arena.h"
#include "missions/MissionRecord.h"
#include "missions/Side.h"
#include "units/PlaneRec.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"

namespace {

// A unit of any letter that may hold aircraft records.
class Holder : public unittest::TestUnit {
public:
    explicit Holder(char letter) : TestUnit(letter) {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

// A mission that notes the calls the moves make of the mission type.
class NotingMission : public MissionRecord {
public:
    NotingMission(uint16_t id, Side* owner) : MissionRecord(3, "M", owner) { SetKey(id); }
    void OnUnitAdded(MissionUnitRec* record) override { calls += "added" + std::to_string(record->GetUnitID()) + " "; }
    void OnUnitRemoved(MissionUnitRec*) override { calls += "removed "; }
    void SetAircraftPosture(Unit* unit, uint32_t) override { calls += "posture" + std::to_string(unit->GetID()) + " "; }
    void StepUnit(uint16_t unitID, uint8_t) override { calls += "step" + std::to_string(unitID) + " "; }
    void SetUnitPosture(uint16_t unitID, MissionUnitRec*) override { calls += "set" + std::to_string(unitID) + " "; }
    bool LaunchReplacement(Unit* plane, MissionUnitRec*) override
    {
        calls += "relief" + std::to_string(plane->GetID()) + " ";
        return false;
    }
    std::string calls;
};

// A side that notes what its missions hand back to it.
class NotingSide : public Side {
public:
    NotingSide() : Side(1) {}
    void ReturnUnitToStanding(uint16_t unitID, uint16_t missionID) override
    {
        moves += "standing" + std::to_string(unitID) + "/" + std::to_string(missionID) + " ";
    }
    void MoveUnitToMission(uint16_t unitID, uint16_t missionID) override
    {
        moves += "mission" + std::to_string(unitID) + ">" + std::to_string(missionID) + " ";
    }
    void MoveReference(uint16_t holderID, uint16_t recordID, uint16_t from, uint16_t to) override
    {
        moves += "ref" + std::to_string(holderID) + "." + std::to_string(recordID) + ":" + std::to_string(from) + ">" +
                 std::to_string(to) + " ";
    }
    std::string moves;
};

class MissionUnitsTest : public testing::Test {
protected:
    static constexpr uint16_t OWN = 7;      // the mission under test
    static constexpr uint16_t TARGET = 8;   // where moved units go

    MissionUnitsTest() : mission(OWN, &side), target(TARGET, &side)
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
    }
    ~MissionUnitsTest() override
    {
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    MissionUnitsTest(const MissionUnitsTest&) = delete;
    MissionUnitsTest& operator=(const MissionUnitsTest&) = delete;

    Holder* AddUnit(uint16_t id, char letter, uint16_t parent = 0)
    {
        auto* unit = new Holder(letter);
        unit->SetKey(id);
        unit->SetParentID(parent);
        units.Insert(unit);
        return unit;
    }
    // Aircraft records of the unit carrying the given mission ids, keys 1...
    static void AddAircraft(Holder& unit, const std::vector<uint16_t>& missions)
    {
        uint16_t key = 1;
        for (const uint16_t id : missions) {
            auto* record = new PlaneRec(key++);
            record->unitID = unit.GetKey();
            record->missionID = id;
            unit.records.Insert(record);
        }
    }
    static std::vector<uint16_t> AircraftMissions(Holder& unit)
    {
        std::vector<uint16_t> ids;
        for (const PlaneRec* r = unit.records.First(); r; r = r->GetNext())
            ids.push_back(r->missionID);
        return ids;
    }
    static MissionUnitRec* Record(MissionRecord& m, uint16_t id, uint16_t leader = 0, uint16_t members = 0)
    {
        auto* record = new MissionUnitRec(id);
        record->leaderID = leader;
        record->memberCount = members;
        m.units.Insert(record);
        return record;
    }

    ArenaState state;
    ArenaState* previousState = nullptr;
    UnitList units;
    UnitList* previousUnits = nullptr;
    NotingSide side;
    NotingMission mission;
    NotingMission target;
};

} // namespace

TEST_F(MissionUnitsTest, AddingAUnitByItsLetter)
{
    struct Case {
        char letter;
        uint8_t formation;
        int16_t state;
        std::vector<uint16_t> aircraft;   // mission ids after the add (from 0, 1, 5, 7)
    };
    const Case cases[] = {
        {'S', 0, MissionUnitState::ADDED, {OWN, OWN, 5, OWN}},
        {'P', 0, MissionUnitState::ADDED, {OWN, OWN, 5, OWN}},
        {'F', 0, MissionUnitState::STATIONED, {OWN, OWN, 5, OWN}},
        {'B', 1, MissionUnitState::STATIONED, {0, 1, 5, OWN}},
        {'G', 1, MissionUnitState::ADDED, {0, 1, 5, OWN}},
        {'A', 1, MissionUnitState::ADDED, {0, 1, 5, OWN}},
        {'g', 1, MissionUnitState::ADDED, {0, 1, 5, OWN}},
    };
    uint16_t id = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.letter);
        Holder* unit = AddUnit(++id, c.letter, 3);
        AddAircraft(*unit, {0, 1, 5, OWN});
        mission.calls.clear();
        mission.AddUnit(id);
        const MissionUnitRec* record = mission.units.Find(id);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->isFormation, c.formation);
        EXPECT_EQ(record->state, c.state);
        EXPECT_EQ(record->leaderID, 3);
        EXPECT_EQ(record->homeMission, 1);
        EXPECT_EQ(AircraftMissions(*unit), c.aircraft);
        const std::string n = std::to_string(id);
        EXPECT_EQ(mission.calls, "added" + n + " posture" + n + " step" + n + " ");
    }
    // A unit not in play, or one already held, adds nothing.
    mission.calls.clear();
    mission.AddUnit(99);
    mission.AddUnit(21);
    EXPECT_EQ(mission.units.Find(99), nullptr);
    EXPECT_EQ(mission.calls, "");
}

TEST_F(MissionUnitsTest, ExtractingAUnitReleasesItsTargetAircraftAndLeaderCount)
{
    AddUnit(10, 'G');
    Holder* ship = AddUnit(11, 'S', 10);
    AddUnit(12, 'P', 10);
    AddAircraft(*ship, {OWN, 5, OWN});
    MissionUnitRec* leader = Record(mission, 10, 0, 5);
    leader->isFormation = 1;
    MissionUnitRec* member = Record(mission, 11, 10, 2);
    member->ChangeState(MissionUnitState::WAITING, 40, 0x4);
    Record(mission, 12, 10, 9)->state = MissionUnitState::ON_DUTY;

    mission.calls.clear();
    MissionUnitRec* out = mission.ExtractUnit(11);
    ASSERT_EQ(out, member);
    EXPECT_EQ(mission.units.Find(11), nullptr);
    EXPECT_EQ(out->state, MissionUnitState::DONE);
    EXPECT_EQ(out->targetID, 0);
    EXPECT_EQ(out->targetClass, 0u);
    EXPECT_EQ(out->homeMission, OWN);
    EXPECT_EQ(AircraftMissions(*ship), (std::vector<uint16_t>{1, 5, 1}));
    EXPECT_EQ(leader->memberCount, 3);
    EXPECT_EQ(mission.calls, "removed ");
    delete out;

    // A plane on duty asks for its relief first; the leader's count stops at 0.
    mission.calls.clear();
    out = mission.ExtractUnit(12);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->state, MissionUnitState::ADDED);
    EXPECT_EQ(leader->memberCount, 0);
    EXPECT_EQ(mission.calls, "relief12 removed ");
    delete out;

    // A formation leaves with no members counted; an unknown id gives null.
    leader->memberCount = 4;
    out = mission.ExtractUnit(10);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->memberCount, 0);
    delete out;
    EXPECT_EQ(mission.ExtractUnit(10), nullptr);
}

TEST_F(MissionUnitsTest, AdoptingAUnitCountsItWithItsLeader)
{
    AddUnit(10, 'G');
    Holder* ship = AddUnit(11, 'S', 10);
    AddUnit(12, 'F', 10);
    AddAircraft(*ship, {0, 1, 5});
    MissionUnitRec* leader = Record(target, 10, 0, 1);

    auto* moved = new MissionUnitRec(11);
    moved->memberCount = 2;
    moved->leaderID = 99;   // the unit's own parent holds
    target.calls.clear();
    target.AdoptUnit(moved);
    EXPECT_EQ(target.units.Find(11), moved);
    EXPECT_EQ(moved->leaderID, 10);
    EXPECT_EQ(leader->memberCount, 3);
    EXPECT_EQ(AircraftMissions(*ship), (std::vector<uint16_t>{TARGET, TARGET, 5}));
    EXPECT_EQ(target.calls, "added11 posture11 step11 ");

    auto* quiet = new MissionUnitRec(12);
    quiet->memberCount = 4;
    target.calls.clear();
    target.AdoptUnitQuietly(quiet);
    EXPECT_EQ(target.units.Find(12), quiet);
    EXPECT_EQ(quiet->state, MissionUnitState::STATIONED);
    EXPECT_EQ(leader->memberCount, 7);
    EXPECT_EQ(target.calls, "posture12 ");

    // A record whose unit has left play is deleted (the sanitizer build sees
    // a leak otherwise) and nothing is counted.
    target.AdoptUnit(new MissionUnitRec(50));
    target.AdoptUnitQuietly(new MissionUnitRec(51));
    EXPECT_EQ(target.units.Find(50), nullptr);
    EXPECT_EQ(target.units.Find(51), nullptr);
    EXPECT_EQ(leader->memberCount, 7);
}

TEST_F(MissionUnitsTest, GroupMembersMoveAndEveryUnitsAircraftReturn)
{
    AddUnit(10, 'G');
    Holder* a = AddUnit(11, 'S', 10);
    AddUnit(12, 'S', 10);
    Holder* other = AddUnit(13, 'S');
    AddAircraft(*a, {OWN});
    AddAircraft(*other, {OWN, 5});
    Record(mission, 10);
    Record(mission, 11, 10);
    Record(mission, 12, 10);
    Record(mission, 13);
    Record(mission, 14, 10);   // its unit has left play

    mission.MoveGroupMembers(10, &target);
    std::vector<uint16_t> left, moved;
    for (const MissionUnitRec* r = mission.units.First(); r; r = r->GetNext())
        left.push_back(r->GetUnitID());
    for (const MissionUnitRec* r = target.units.First(); r; r = r->GetNext())
        moved.push_back(r->GetUnitID());
    EXPECT_EQ(left, (std::vector<uint16_t>{10, 13}));
    EXPECT_EQ(moved, (std::vector<uint16_t>{11, 12}));
    // Every unit's aircraft of this mission go back to mission 1, moved or
    // not; the moved unit's are then taken up by its new mission.
    EXPECT_EQ(AircraftMissions(*other), (std::vector<uint16_t>{1, 5}));
    EXPECT_EQ(AircraftMissions(*a), (std::vector<uint16_t>{TARGET}));
}

TEST_F(MissionUnitsTest, ReleasingAllUnitsHandsThemToTheSide)
{
    Holder* base = AddUnit(30, 'B');
    AddAircraft(*base, {OWN, OWN});
    struct Case {
        uint16_t unit;
        uint16_t home;
    };
    const Case cases[] = {{11, 1}, {12, 2}, {13, OWN}, {14, 5}};
    for (const Case& c : cases)
        Record(mission, c.unit)->homeMission = c.home;
    auto addRef = [&](uint16_t holder, uint16_t record) {
        auto* ref = new PlaneRecRef(mission.planeRefs.NewKey());
        ref->holderID = holder;
        ref->recordID = record;
        mission.planeRefs.Insert(ref);
    };
    addRef(30, 2);
    addRef(30, 9);   // no such aircraft record: left alone
    addRef(31, 1);   // no such holder: left alone

    mission.ReleaseAllUnits();
    EXPECT_EQ(side.moves, "standing11/7 standing12/7 standing13/7 mission14>5 ref30.2:7>1 ");
    EXPECT_EQ(AircraftMissions(*base), (std::vector<uint16_t>{OWN, 1}));
}

TEST_F(MissionUnitsTest, SettingsWithoutADelayRefreshTheLeadUnitsPostures)
{
    struct Case {
        uint32_t flags;
        uint32_t delay;
        const char* calls;   // postures set
        bool marksCleared;
    };
    const Case cases[] = {
        {0, 0, "set10 set12 ", true},
        {MissionFlag::NO_DELAY, 600, "set10 set12 ", true},   // the delay is not applied
        {MissionFlag::DELAYED_START, 0, "", true},             // still waiting to start
        {0, 600, "", false},                                  // the delay starts instead
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags * 1000 + c.delay);
        NotingMission m(9, &side);
        m.missionFlags = c.flags;
        Record(m, 10)->markBits = UNIT_POSTURE_APPLIED | UNIT_USER_SENSORS;
        Record(m, 11, 10)->markBits = UNIT_POSTURE_APPLIED;
        Record(m, 12)->markBits = UNIT_POSTURE_APPLIED;
        MissionNameRecord record;
        record.delay = c.delay;
        m.ApplySettings(record);
        EXPECT_EQ(m.calls, c.calls);
        EXPECT_EQ(m.units.Find(10)->markBits, c.marksCleared ? UNIT_USER_SENSORS : UNIT_POSTURE_APPLIED | UNIT_USER_SENSORS);
        EXPECT_EQ(m.units.Find(11)->markBits, UNIT_POSTURE_APPLIED);   // members follow their leader
    }
}
