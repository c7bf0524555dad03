// The strike's contact triage: verdicts, reach, priorities, re-check delays,
// filled tasks, duplicate tasks, altitudes, default timings and the
// emission settings of its units.
#include <gtest/gtest.h>

#include "AttackWorld.h"
#include "world/UncertainPoly.h"

using namespace attacktest;

namespace {

class StrikeContacts : public AttackWorld {};

class ListedContacts : public AttackWorld {
protected:
    static IDList* Targets()
    {
        static IDList list;
        if (list.First() == nullptr)
            list.Insert(new IDNode(40));
        return &list;
    }
    ListedContacts() : AttackWorld(11, Targets()) {}
};

}  // namespace

// Contacts next to a unit with a reach of 10 nm, for a Ship Strike with
// target 40: only the listed contact and air contacts are in its reach.
TEST_F(ListedContacts, Verdicts)
{
    AddUnit(1, 'S').reachTenths = 100;
    AddUnit(99, 'W', {}, -1);   // the unit behind contact 41 and 42
    const struct {
        const char* name;
        uint16_t id;
        uint32_t classBits;
        uint8_t sideID;
        bool area;
        uint8_t first, second;
        uint16_t expected;
    } rows[] = {
        {"listed, firm", 40, 0x1, 2, false, 0, 0, 1},
        {"listed, uncertain", 40, 0x1, 2, true, 0, 0, 2},
        {"hostile air, firm", 41, 0x4, 2, false, 0, 0, 1},
        {"hostile air, uncertain", 41, 0x4, 2, true, 0, 0, 0},
        {"hostile, second status", 41, 0x4, 2, false, 0, 1, 0},
        {"hostile torpedo without course", 41, 0x800, 2, true, 0, 0, 0},
        {"friendly, first status cleared", 41, 0x4, 3, false, 1, 0, 0},
        {"no relation", 41, 0x4, 4, false, 0, 0, 0},
        {"unknown side, air and subsurface", 41, 0x6, 0, true, 0, 0, 1},
        {"unknown side, air and subsurface, second status", 41, 0x6, 0, true, 0, 1, 0},
        {"unknown side, first status, firm", 41, 0x4, 0, false, 1, 0, 1},
        {"unknown side, first status, uncertain", 41, 0x4, 0, true, 1, 0, 0},
        {"unknown side, air", 41, 0x4, 0, false, 0, 0, 0},
    };
    for (const auto& r : rows) {
        Contact contact;
        contact.SetKey(r.id);
        contact.SetTypeFlags(r.classBits);
        contact.sideId = r.sideID;
        contact.SetPosition(North(1));
        if (r.area)
            contact.SetArea(new Uncertain_Poly(North(1), NM));
        contact.hostileAct = r.first;
        contact.bandFlag = r.second;
        EXPECT_EQ(strike.ClassifyContact(&contact, record), r.expected) << r.name;
        if (r.sideID == 3) {
            EXPECT_EQ(contact.hostileAct, 0) << r.name;
        }
    }
}

// Another strike's target is out of reach unless it is ours; an empty list
// takes any contact of the kind's classes; air contacts count by range or
// heading.
TEST_F(StrikeContacts, Reach)
{
    AddUnit(1, 'S').reachTenths = 100;   // 10 nm
    Contact ship;
    ship.SetKey(40);
    ship.SetTypeFlags(0x1);
    ship.SetPosition(North(500));
    EXPECT_TRUE(strike.IsContactInReach(&ship, record));   // of the kind, any distance
    ship.stickyFlags = 0x04;
    EXPECT_FALSE(strike.IsContactInReach(&ship, record));
    strike.lockedTarget = 40;
    EXPECT_TRUE(strike.IsContactInReach(&ship, record));
    ship.conditionBits = 0x8;
    EXPECT_FALSE(strike.IsContactInReach(&ship, record));

    Contact air;
    air.SetKey(41);
    air.SetTypeFlags(0x4);
    air.SetPosition(North(5));
    EXPECT_TRUE(strike.IsContactInReach(&air, record));
    air.SetPosition(North(50));
    EXPECT_FALSE(strike.IsContactInReach(&air, record));
    air.knownBits = ContactKnown::COURSE;
    air.course = 180;   // heading for the unit
    EXPECT_TRUE(strike.IsContactInReach(&air, record));
    Contact ground;
    ground.SetTypeFlags(0x20);
    EXPECT_FALSE(strike.IsContactInReach(&ground, record));
}

TEST_F(ListedContacts, Priorities)
{
    const struct {
        uint16_t id;
        uint32_t classBits;
        uint16_t bandWord;
        uint16_t priority;
    } rows[] = {
        {40, 0x20, 0, 100},      // listed
        {41, 0x800, 0, 100},
        {41, 0x8, 0, 90},
        {41, 0x1, 0, 70},        // of the kind
        {41, 0x1, 0x6000, 50},
        {41, 0x4, 0, 80},
        {41, 0x4, 0x6000, 20},
        {41, 0x20, 0, 10},
    };
    for (const auto& r : rows) {
        Contact contact;
        contact.SetKey(r.id);
        contact.SetTypeFlags(r.classBits);
        contact.bandWord = r.bandWord;
        MissionTask* task = strike.MakeTask(&contact);
        EXPECT_EQ(task->priority, r.priority) << r.id << " " << r.classBits;
        delete task;
    }
}

TEST_F(StrikeContacts, RecheckDelays)
{
    const struct {
        uint16_t verdict;
        uint32_t classBits;
        uint8_t sideID;
        uint16_t locked;
        uint32_t seconds;
    } rows[] = {
        {1, 0x1, 2, 0, 15}, {5, 0x4, 2, 0, 5}, {1, 0x8, 2, 0, 1}, {1, 0x20, 2, 9, 15}, {5, 0x20, 2, 0, 120},
        {2, 0x2, 2, 0, 15}, {2, 0x4, 2, 0, 15}, {2, 0x8, 2, 0, 1}, {2, 0x20, 2, 9, 45}, {2, 0x20, 2, 0, 900},
        {0, 0x1, 3, 0, 3600}, {0, 0x4, 2, 0, 60}, {0, 0x8, 0, 0, 5}, {0, 0x800, 2, 0, 120}, {0, 0x1, 2, 0, 900},
        {0, 0x14, 2, 0, 60},   // bit 0x10 is not looked at
    };
    for (const auto& r : rows) {
        Contact contact;
        contact.SetTypeFlags(r.classBits);
        contact.sideId = r.sideID;
        strike.lockedTarget = r.locked;
        strike.ScheduleContactCheck(&contact, r.verdict);
        EXPECT_EQ(contact.pendingHold, r.seconds) << r.verdict << " " << r.classBits;
    }
}

TEST_F(StrikeContacts, TaskFilled)
{
    const struct {
        uint32_t classBits;
        uint16_t need, allocated;
        bool filled;
    } rows[] = {
        {0x2, 5, 0, false}, {0x2, 5, 1, true},  {0x4, 2, 3, false}, {0x4, 2, 4, true},
        {0x8, 0, 2, true},  {0x1, 0, 99, false}, {0x20, 1, 50, false},
    };
    for (const auto& r : rows) {
        MissionTask task(40);
        task.needCount = r.need;
        task.allocatedCount = r.allocated;
        task.allocatedValue = 1000;
        EXPECT_EQ(strike.IsTaskSatisfied(&task, r.classBits, nullptr), r.filled) << r.classBits;
    }
}

// A contact considered twice makes one task; an attack verdict goes to the
// attack chain, a threat to the engage chain.
TEST_F(ListedContacts, ConsideredContactsQueueOnce)
{
    AddUnit(1, 'S').reachTenths = 100;
    Contact& listed = AddContact(40, 0x1, North(1));
    listed.SetArea(new Uncertain_Poly(North(1), NM));
    Contact& threat = AddContact(41, 0x4, North(1));
    for (int i = 0; i < 2; ++i) {
        strike.ConsiderContact(&listed, record);
        strike.ConsiderContact(&threat, record);
    }
    ASSERT_NE(strike.keptTasks.First(), nullptr);
    EXPECT_EQ(strike.keptTasks.First()->targetID, 40);
    EXPECT_EQ(strike.keptTasks.First()->GetNext(), nullptr);
    ASSERT_NE(strike.engageTasks.First(), nullptr);
    EXPECT_EQ(strike.engageTasks.First()->targetID, 41);
    EXPECT_EQ(strike.engageTasks.First()->GetNext(), nullptr);
    EXPECT_EQ(strike.watchTasks.First(), nullptr);
}

TEST_F(StrikeContacts, DefaultTimings)
{
    strike.DefaultSettingGroup1();
    strike.DefaultSettingGroup2();
    strike.DefaultSettingGroup3();
    const uint16_t a[4] = {1800, 40, 120, 50}, b[4] = {600, 50, 120, 50}, c[4] = {90, 50, 60, 50};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(strike.settingGroup1[i], a[i]);
        EXPECT_EQ(strike.settingGroup2[i], b[i]);
        EXPECT_EQ(strike.settingGroup3[i], c[i]);
    }
}

TEST_F(StrikeContacts, TransitAltitudes)
{
    const struct {
        char letter;
        int16_t altitude;
    } rows[] = {{'S', 0}, {'G', 0}, {'B', 0}, {'F', 0}, {'P', 61}, {'A', 61}, {'U', -2}, {'W', -2}};
    uint16_t id = 1;
    for (const auto& r : rows)
        EXPECT_EQ(strike.GetPatrolAltitude(&AddUnit(id++, r.letter), 0), r.altitude) << r.letter;
}

// Settings (value: first time x 1000 + mode x 100 + sensor) posted for a
// unit by state, with the flag word 0x1 | radar timed | sonar active | ECM
// passive: radar and ECM outside states 6 and 3 only while attacking, sonar
// always; planes get no sonar; nothing before the first unit step.
TEST_F(StrikeContacts, EmissionSettings)
{
    const uint32_t flags = StrikeFlag::STARTED | MissionFlag::RADAR_PERIODIC | MissionFlag::SONAR_ON |
                           MissionFlag::ECM_OFF;
    const struct {
        char letter;
        int16_t state;
        bool attacking;
        std::vector<uint32_t> values;
    } rows[] = {
        {'S', 1, false, {205}},
        {'S', 1, true, {1800201, 307, 205}},
        {'S', 6, false, {201, 207, 205}},
        {'S', 3, false, {207, 205}},
        {'P', 1, true, {1800201, 307}},
        {'P', 6, false, {201, 207}},
    };
    uint16_t id = 1;
    for (const auto& r : rows) {
        AddUnit(id, r.letter, {}, r.state);
        strike.missionFlags = flags | (r.attacking ? StrikeFlag::ATTACKING : 0);
        strike.DefaultSettingGroup1();
        strike.SetUnitPosture(id, strike.units.Find(id));
        std::vector<uint32_t> values;
        for (const Noted& n : Take(EventCode::SET_SENSORS))
            values.push_back(n.value);
        EXPECT_EQ(values, r.values) << r.letter << r.state << r.attacking;
        strike.SetUnitPosture(id, strike.units.Find(id));   // applied once
        EXPECT_TRUE(Take(EventCode::SET_SENSORS).empty());
        ++id;
    }
    AddUnit(id, 'S', {}, 1);
    strike.missionFlags = flags & ~StrikeFlag::STARTED;
    strike.SetUnitPosture(id, strike.units.Find(id));
    EXPECT_TRUE(Take(EventCode::SET_SENSORS).empty());
}

// Sonar in the search state: active with the flag, else active while the
// unit has a path and no hand-over, else passive.
TEST_F(StrikeContacts, SearchSonar)
{
    AttackUnit& ship = AddUnit(1, 'S', {}, StrikeState::SEARCHING);
    strike.missionFlags = StrikeFlag::STARTED;
    strike.SetUnitPosture(1, strike.units.Find(1));
    EXPECT_EQ(Take(EventCode::SET_SENSORS), (std::vector<Noted>{{1, 305}}));
    strike.units.Find(1)->markBits = 0;
    ship.SetPath(new PositionNode(North(5)));
    strike.SetUnitPosture(1, strike.units.Find(1));
    EXPECT_EQ(Take(EventCode::SET_SENSORS), (std::vector<Noted>{{1, 205}}));
}
