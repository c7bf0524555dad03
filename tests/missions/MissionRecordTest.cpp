// MissionRecordTest.cpp: the mission base record: defaults, settings, the
// saved base record in its three layouts, damaged records, orders and the
// shared routines.
#include "missions/MissionRecord.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/Event.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/Plane.h"
#include "units/Ship.h"
#include "units/Submarine.h"
#include "units/UnitEvents.h"

namespace {

// An event that only records what it was made with.
class NoteEvent : public Event {
public:
    NoteEvent(uint8_t code, uint16_t subject, uint32_t value) : code_(code), subject_(subject), value(value) {}
    bool HandleEvent() override { return false; }
    uint16_t GetSubject() const override { return subject_; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream& in) override { return LoadBase(in); }
    void Save(std::ostream& out) const override { SaveBase(out); }

    uint8_t code_;
    uint16_t subject_;
    uint32_t value;
};

// Installs an arena, the scenario header and event makers that queue
// NoteEvents; restores what was there.
class MissionRecordTest : public testing::Test {
protected:
    void SetUp() override
    {
        oldArena = gam2arena::SetArenaState(&arena);
        oldAdmin = gAdmin;
        gAdmin = &admin;
        admin.SetFileVersion(VersionNumber(3, 6, 3, 0));
        MissionCalls calls;
        calls.makeMissionEvent = [](uint16_t, uint16_t missionID, uint16_t code, uint32_t delay) -> Event* {
            auto* e = new NoteEvent(EventCode::MISSION, missionID, code);
            e->SetDueTime(GameTime(delay));
            return e;
        };
        calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t type, uint16_t, uint8_t, uint16_t,
                                       uint8_t) -> Event* {
            return new NoteEvent(EventCode::SET_SENSORS, unitID, mode * 100 + type);
        };
        oldCalls = SetMissionCalls(calls);
        UnitEventCalls unitCalls;
        unitCalls.makeSetSpeedEvent = [](uint16_t unitID, uint16_t knots, GameTime) -> Event* {
            return new NoteEvent(EventCode::SET_SPEED, unitID, knots);
        };
        oldUnitCalls = SetUnitEventCalls(unitCalls);
    }
    void TearDown() override
    {
        SetUnitEventCalls(oldUnitCalls);
        SetMissionCalls(oldCalls);
        gAdmin = oldAdmin;
        gam2arena::SetArenaState(oldArena);
    }

    // The queued events of a type, in queue order.
    std::vector<NoteEvent*> Queued(uint8_t code)
    {
        std::vector<NoteEvent*> found;
        for (Event* e = gam2arena::FindEvent(nullptr, code); e; e = gam2arena::FindEvent(e, code))
            found.push_back(static_cast<NoteEvent*>(e));
        return found;
    }

    static std::string Saved(const MissionRecord& mission)
    {
        std::ostringstream out;
        EXPECT_TRUE(mission.SaveBase(out));
        return out.str();
    }

    // Loads the base record that follows the type code of `saved`.
    static bool LoadInto(MissionRecord& mission, const std::string& saved)
    {
        std::istringstream in(saved.substr(2));
        return mission.LoadBase(in);
    }

    ArenaState arena;
    ArenaState* oldArena = nullptr;
    ScenarioAdmin admin;
    ScenarioAdmin* oldAdmin = nullptr;
    MissionCalls oldCalls;
    UnitEventCalls oldUnitCalls;
};

// A mission with something in every list.
void Fill(MissionRecord& mission)
{
    mission.missionType = 3;
    mission.SetKey(5);
    mission.creationKind = 2;
    mission.missionFlags = 0x2402;
    mission.settingCode = 9;
    mission.weaponsFree = 0;
    mission.DefaultSettingGroup1();
    mission.DefaultSettingGroup2();
    mission.DefaultSettingGroup3();
    mission.delayTime = 3600;
    mission.auxValue = 77;
    auto* unit = new MissionUnitRec(12);
    unit->state = MissionUnitState::WAITING;
    unit->targetClass = 0x804;
    unit->savedLeaderID = 4;
    mission.units.Insert(unit);
    auto* ref = new PlaneRecRef(1);
    ref->holderID = 30;
    ref->recordID = 2;
    ref->count = 4;
    ref->recordFlags = 0x8000010F;
    mission.planeRefs.Insert(ref);
    mission.sideQueue.Insert(new IDNode(6));
    mission.targetClasses = 0x5;
    mission.SaveName();
}

} // namespace

TEST_F(MissionRecordTest, StartsWithItsDefaults)
{
    Side side(4);
    MissionRecord mission(7, "AB", &side);
    EXPECT_EQ(mission.GetType(), 0);
    EXPECT_EQ(mission.creationKind, 7);
    EXPECT_EQ(mission.weaponsFree, 1);
    EXPECT_EQ(mission.missionFlags, 0u);
    EXPECT_STREQ(mission.GetName(), "AB");
    EXPECT_EQ(mission.GetSavedName(), nullptr);
    EXPECT_EQ(mission.side, &side);
    MissionRecord loader;
    EXPECT_EQ(loader.GetName(), nullptr);
    EXPECT_EQ(loader.side, nullptr);
    MissionUnitRec record(3);
    EXPECT_EQ(record.thirdWord, 10);
    EXPECT_EQ(record.homeMission, 1);
}

TEST_F(MissionRecordTest, BareRecordSavesIn61Bytes)
{
    MissionRecord described(0, "AB", nullptr);
    described.savedName = new char[1]{'\0'};
    MissionRecord undescribed(0, "AB", nullptr);   // a missing text goes as the empty one
    const std::string saved = Saved(described);
    EXPECT_EQ(saved.size(), 61u);
    EXPECT_EQ(Saved(undescribed), saved);
    EXPECT_EQ(saved.substr(53), std::string("\x03\x00" "AB\0" "\x01\x00\0", 8));
}

TEST_F(MissionRecordTest, RoundTripsByteForByte)
{
    MissionRecord mission(0, "Strike north", nullptr);
    Fill(mission);
    const std::string saved = Saved(mission);
    MissionRecord copy;
    ASSERT_TRUE(LoadInto(copy, saved));
    copy.missionType = 3;
    EXPECT_EQ(Saved(copy), saved);
    EXPECT_EQ(copy.GetID(), 5);
    ASSERT_NE(copy.units.Find(12), nullptr);
    EXPECT_EQ(copy.units.Find(12)->savedLeaderID, 4);
    EXPECT_EQ(copy.planeRefs.First()->recordFlags, 0x8000010Fu);
    EXPECT_STREQ(copy.GetSavedName(), "Strike north");
}

TEST_F(MissionRecordTest, ReadsBothOlderLayouts)
{
    // Before 2.1.0.0: 16-bit flags, radar timings only, 8-bit text lengths.
    std::ostringstream old;
    SaveField<uint16_t>(old, 3);   // type code, read by the list
    SaveField<uint16_t>(old, 9);
    SaveField<uint16_t>(old, 4);
    SaveField<uint16_t>(old, 0x0402);
    SaveField<uint16_t>(old, 1);
    SaveField<uint8_t>(old, 1);
    for (uint16_t v : {10, 1, 20, 2})
        SaveField(old, v);
    SaveField<uint16_t>(old, 8);                      // auxValue
    for (int list = 0; list < 3; ++list)
        SaveField<uint16_t>(old, 0);
    SaveField<uint32_t>(old, 0x4);
    SaveField<int8_t>(old, 3);
    old.write("XY\0", 3);
    SaveField<int8_t>(old, 1);
    old.write("\0", 1);
    admin.SetFileVersion(VersionNumber(2, 0, 0, 0));
    MissionRecord mission;
    ASSERT_TRUE(LoadInto(mission, old.str()));
    EXPECT_EQ(mission.missionFlags, 0x10402u);
    EXPECT_EQ(mission.settingGroup1[2], 20);
    EXPECT_EQ(mission.settingGroup2[0], 0);
    EXPECT_EQ(mission.settingGroup3[0], 0);
    EXPECT_EQ(mission.delayTime, 0u);
    EXPECT_EQ(mission.auxValue, 8);
    EXPECT_STREQ(mission.GetName(), "XY");
    EXPECT_STREQ(mission.GetSavedName(), "");

    // 2.1.0.0 to before 2.1.8.0: the whole record, texts still 8-bit.
    MissionRecord full(0, "AB", nullptr);
    full.SaveName();
    std::string saved = Saved(full);
    saved.erase(saved.size() - 10);
    saved += std::string("\x03" "AB\0" "\x03" "AB\0", 8);
    admin.SetFileVersion(VersionNumber(2, 1, 0, 0));
    MissionRecord middle;
    ASSERT_TRUE(LoadInto(middle, saved));
    EXPECT_STREQ(middle.GetName(), "AB");
    EXPECT_STREQ(middle.GetSavedName(), "AB");
    EXPECT_EQ(middle.missionFlags & MissionFlag::THIRD_AT_A_TIME, 0u);
}

TEST_F(MissionRecordTest, CutRecordLeavesTheStreamFailedAndTheListsEmpty)
{
    MissionRecord mission(0, "Strike", nullptr);
    Fill(mission);
    const std::string saved = Saved(mission);
    for (size_t length = 2; length < saved.size(); ++length) {
        SCOPED_TRACE(length);
        std::istringstream in(saved.substr(2, length - 2));
        MissionRecord copy;
        EXPECT_FALSE(copy.LoadBase(in));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(copy.units.First(), nullptr);
        EXPECT_EQ(copy.planeRefs.First(), nullptr);
        EXPECT_EQ(copy.sideQueue.First(), nullptr);
        EXPECT_EQ(copy.GetName(), nullptr);
    }
}

TEST_F(MissionRecordTest, TextsAreAlwaysTerminated)
{
    // The stated lengths were once trusted as they stood: a length of 0 or
    // below, or bytes without a zero, left a text unterminated.
    struct Row {
        VersionNumber version;
        std::string texts;
        const char* name;
        const char* savedName;
    };
    const Row rows[] = {
        {VersionNumber(2, 1, 0, 0), std::string("\x00" "\xFE", 2), "", ""},          // 0 and -2
        {VersionNumber(2, 1, 0, 0), std::string("\x02" "AB" "\x01" "C", 5), "AB", "C"},
        {VersionNumber(3, 0, 0, 0), std::string("\x00\x00" "\x02\x00" "CD", 6), "", "CD"},
        {VersionNumber(3, 0, 0, 0), std::string("\x04\x00" "A\0B\0" "\x01\x00" "Z", 9), "A", "Z"},
    };
    MissionRecord base;
    std::string head = Saved(base);
    head.erase(head.size() - 6);   // both empty texts
    for (const Row& r : rows) {
        SCOPED_TRACE(r.texts.size());
        admin.SetFileVersion(r.version);
        MissionRecord mission;
        ASSERT_TRUE(LoadInto(mission, head + r.texts));
        EXPECT_STREQ(mission.GetName(), r.name);
        EXPECT_STREQ(mission.GetSavedName(), r.savedName);
    }
}

TEST_F(MissionRecordTest, SettingsFillTheirDefaults)
{
    MissionRecord mission(1, "P", nullptr);
    mission.missionFlags = 0x10 | MissionFlag::SETTING_BITS;
    MissionNameRecord record;
    record.flagBits = MissionFlag::RADAR_ON | MissionFlag::SONAR_OFF;
    record.settingCode = 4;
    mission.ApplySettings(record);
    EXPECT_EQ(mission.missionFlags, 0x10u | 0x4 | 0x400);
    EXPECT_EQ(mission.settingCode, 4);
    const uint16_t expected[3][4] = {{600, 50, 120, 50}, {300, 50, 60, 50}, {300, 50, 120, 50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(mission.settingGroup1[i], expected[0][i]);
        EXPECT_EQ(mission.settingGroup2[i], expected[1][i]);
        EXPECT_EQ(mission.settingGroup3[i], expected[2][i]);
    }
    record.settingValues[4] = 90;   // a group is judged by its first value
    mission.ApplySettings(record);
    EXPECT_EQ(mission.settingGroup2[0], 90);
    EXPECT_EQ(mission.settingGroup2[1], 0);
    EXPECT_TRUE(Queued(EventCode::MISSION).empty());
}

TEST_F(MissionRecordTest, DelayedStart)
{
    struct Row {
        uint32_t flags, delay, delayTime;
        bool delayed;
        uint32_t due;
    };
    const Row rows[] = {
        {0, 0, 0, false, 0},
        {0, 600, 0, true, 600},
        {0, 0, 7200, true, 1},       // a delay time alone starts a delay of 1
        {MissionFlag::NO_DELAY, 600, 7200, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.delay);
        gam2arena::RemoveUnitEvents(8, 0);
        MissionRecord mission(1, "P", nullptr);
        mission.SetKey(8);
        mission.missionFlags = r.flags;
        MissionNameRecord record;
        record.delay = r.delay;
        record.delayTime = r.delayTime;
        mission.ApplySettings(record);
        EXPECT_EQ((mission.missionFlags & MissionFlag::DELAYED_START) != 0, r.delayed);
        const auto events = Queued(EventCode::MISSION);
        ASSERT_EQ(events.size(), r.delayed ? 1u : 0u);
        if (r.delayed) {
            EXPECT_EQ(events[0]->value, MissionEventCode::DELAYED_START);
            EXPECT_EQ(events[0]->GetTime().Get(), r.due);
            EXPECT_EQ(mission.delayTime, r.delayTime);
            EXPECT_EQ(record.delay, r.due);
            gam2arena::RemoveUnitEvents(8, EventCode::MISSION);
        }
    }
}

TEST_F(MissionRecordTest, ClearTargetEndsWaitingRecordsDone)
{
    struct Row { int16_t before, after; uint16_t home, homeAfter; };
    const Row rows[] = {
        {MissionUnitState::WAITING, MissionUnitState::DONE, 1, 9},
        {MissionUnitState::DONE, MissionUnitState::DONE, 4, 4},
        {MissionUnitState::ENGAGING, MissionUnitState::ADDED, 2, 2},
        {MissionUnitState::ORDERED, MissionUnitState::ADDED, 1, 9},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.before);
        MissionUnitRec record(3);
        record.state = r.before;
        record.homeMission = r.home;
        record.markBits = UNIT_POSTURE_APPLIED | UNIT_USER_SENSORS;
        record.targetID = 5;
        record.targetClass = 4;
        record.ClearTarget(9);
        EXPECT_EQ(record.state, r.after);
        EXPECT_EQ(record.homeMission, r.homeAfter);
        EXPECT_EQ(record.markBits, UNIT_USER_SENSORS);
        EXPECT_EQ(record.targetID, 0);
        EXPECT_EQ(record.targetClass, 0u);
    }
}

TEST_F(MissionRecordTest, ChangeStateDropsTheUnitsOrders)
{
    for (uint8_t code : {EventCode::SET_SENSORS, EventCode::SET_SPEED, EventCode::SET_ALTITUDE,
                         EventCode::MISSION_UNIT, EventCode::LAND})
        gam2arena::PostEvent(new NoteEvent(code, 3, 0));
    gam2arena::PostEvent(new NoteEvent(EventCode::SET_SPEED, 4, 0));
    MissionUnitRec record(3);
    record.SetState(6, 9, 4);
    EXPECT_EQ(Queued(EventCode::SET_SPEED).size(), 2u);   // SetState leaves the queue alone
    record.ChangeState(19, 9, 4);
    EXPECT_EQ(record.state, 19);
    EXPECT_TRUE(Queued(EventCode::SET_SENSORS).empty());
    EXPECT_TRUE(Queued(EventCode::MISSION_UNIT).empty());
    EXPECT_EQ(Queued(EventCode::SET_SPEED).size(), 1u);   // the other unit's stays
    EXPECT_EQ(Queued(EventCode::LAND).size(), 1u);
}

TEST_F(MissionRecordTest, SpeedOrdersOnlyForTheFourTableRows)
{
    // Rows -1 and 4 lay outside the speed table and were once read anyway.
    Ship ship;
    MissionRecord mission(1, "P", nullptr);
    struct Row { int16_t setting; bool posted; };
    for (const Row r : {Row{-1, false}, Row{0, true}, Row{3, true}, Row{4, false}}) {
        SCOPED_TRACE(r.setting);
        gam2arena::RemoveUnitEvents(21, 0);
        EXPECT_EQ(mission.OrderUnitSpeed(21, &ship, r.setting, 0), 0);
        EXPECT_EQ(Queued(EventCode::SET_SPEED).size(), r.posted ? 1u : 0u);
    }
    EXPECT_EQ(mission.OrderUnitSpeed(21, nullptr, 1, 0), 0);
}

TEST_F(MissionRecordTest, SensorsOnOnlyForItsOwnUnits)
{
    MissionRecord mission(1, "P", nullptr);
    mission.units.Insert(new MissionUnitRec(5));
    mission.units.Find(5)->markBits = UNIT_USER_SENSORS;
    mission.PostUnitSensorsOn(6);
    EXPECT_TRUE(Queued(EventCode::SET_SENSORS).empty());
    mission.PostUnitSensorsOn(5);
    const auto events = Queued(EventCode::SET_SENSORS);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->value, 201u);   // mode 2, radar
    EXPECT_EQ(mission.units.Find(5)->markBits, UNIT_POSTURE_APPLIED);
}

TEST(MissionRoutines, BearingWithinFiveDegrees)
{
    constexpr int32_t DEG = 245760;
    struct Row { int32_t bearing, reference; bool within; };
    const Row rows[] = {
        {10 * DEG, 10 * DEG, true},
        {15 * DEG, 10 * DEG, true},
        {15 * DEG + 1, 10 * DEG, false},
        {358 * DEG, 2 * DEG, true},         // across north
        {2 * DEG, 358 * DEG, true},
        {180 * DEG, 0, false},
        {-3 * DEG, 2 * DEG, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bearing);
        EXPECT_EQ(MissionRecord::IsBearingWithin5(r.bearing, r.reference), r.within);
    }
}

TEST(MissionRoutines, RatesAndAttackSteps)
{
    MissionRecord mission;
    struct Rate { char letter; uint32_t cls; uint8_t flag; uint16_t rate; };
    for (const Rate r : {Rate{'P', 4, 1, 2}, Rate{'P', 4, 0, 1}, Rate{'A', 1, 1, 1}, Rate{'S', 2, 0, 0},
                         Rate{'U', 1, 0, 0}, Rate{'S', 1, 0, 1}}) {
        SCOPED_TRACE(r.letter);
        EXPECT_EQ(mission.RateUnitForClass(r.letter, r.cls, r.flag), r.rate);
    }
    Plane plane;
    Submarine sub;
    Ship ship;
    EXPECT_FALSE(MissionRecord::MayAttack(&plane, 0));
    EXPECT_TRUE(MissionRecord::MayAttack(&plane, 1));
    EXPECT_TRUE(MissionRecord::MayAttack(&sub, 1));
    EXPECT_FALSE(MissionRecord::MayAttack(&sub, 2));
    EXPECT_TRUE(MissionRecord::MayAttack(&ship, 3));
    EXPECT_FALSE(MissionRecord::MayAttack(&ship, 4));
    EXPECT_EQ(MissionRecord::NextAttackStep(&plane, 1), 3);
    EXPECT_EQ(MissionRecord::NextAttackStep(&plane, 3), 0);
    EXPECT_EQ(MissionRecord::NextAttackStep(&plane, 2), 1);
    EXPECT_EQ(MissionRecord::NextAttackStep(&ship, 2), 3);
    const uint16_t sizes[] = {10, 20, 31};
    EXPECT_EQ(MissionRecord::AverageOfThree(sizes), 20);
}
