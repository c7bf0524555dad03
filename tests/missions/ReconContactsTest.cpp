// ReconContactsTest.cpp: how a recon mission takes the contacts of its side:
// classification, task priorities and review delays, the facility task
// filed once, the investigator and its choice, the units' reports, and the
// contact route states (closing, shadowing, engaging).
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "ReconWorld.h"

namespace {

using namespace recontest;

constexpr uint32_t FACILITY = 0x20;
constexpr uint32_t AIR = 0x4;
constexpr uint32_t MISSILE = 0x8;
constexpr uint32_t TORPEDO = 0x800;

class ReconContacts : public ::testing::Test, public ReconWorld {
protected:
    ReconContacts()
    {
        MakeRecon({North(200 * NM)});
        Add(7, 'A', ReconState::ON_ROUTE).reachTenths = 100;   // 10 nm of weapon reach
    }
    Contact& Facility(uint16_t id, uint8_t sideID, const LatLonPoint& at = {})
    {
        Contact& c = AddContact(id, FACILITY, at, sideID);
        c.typeLetter = 'F';
        return c;
    }
};

TEST_F(ReconContacts, Classification)
{
    const struct {
        const char* name;
        char letter;
        uint32_t classBits;
        uint8_t sideID;           // 2 hostile, 3 friendly
        uint8_t firstMark, secondMark;
        uint16_t identified, changeBits;
        uint32_t condition;
        uint16_t launcher;        // unit 60 is a plane
        uint16_t expected;
    } rows[] = {
        {"facility of no known side", 'F', FACILITY, 0, 0, 0, 0, 0, 0, 0, 2},
        {"hostile facility, exact position", 'F', FACILITY, 2, 0, 0, 0, 0, 0, 0, 1},
        {"friendly facility", 'F', FACILITY, 3, 0, 0, 0, 0, 0, 0, 0},
        {"hostile facility with news", 'F', FACILITY, 2, 0, 0, 0, 1, 0, 0, 0},
        {"identified facility with news", 'F', FACILITY, 2, 0, 0, 5, 1, 0, 0, 1},
        {"lost facility", 'F', FACILITY, 0, 0, 0, 0, 0, 0x8, 0, 0},
        {"missile from a plane", 'W', MISSILE, 0, 0, 0, 0, 0, 0, 60, 5},
        {"missile of unknown launch", 'W', MISSILE, 0, 0, 0, 0, 0, 0, 0, 0},
        {"aircraft of no side", 'P', AIR, 0, 1, 0, 0, 0, 0, 0, 0},
        {"hostile aircraft", 'P', AIR, 2, 0, 0, 0, 0, 0, 0, 1},
        {"hostile torpedo", 'W', TORPEDO | AIR, 2, 0, 0, 0, 0, 0, 0, 0},
        {"ship out of the air classes", 'S', 0x1, 2, 0, 0, 0, 0, 0, 0, 0},
        {"no class", 'P', 0, 2, 0, 0, 0, 0, 0, 0, 0},
    };
    AddUnit(60, 'P', {}, false);
    planningtest::FakeUnit& target = AddUnit(50, 'W', {}, false);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        target.launcherID = row.launcher;
        record->contacts.DeleteAll();
        Contact& c = AddContact(50, row.classBits, {}, row.sideID);
        c.typeLetter = static_cast<uint8_t>(row.letter);
        c.hostileAct = row.firstMark;
        c.bandFlag = row.secondMark;
        c.identifiedAs = row.identified;
        c.changeBits = row.changeBits;
        c.conditionBits = row.condition;
        c.knownBits = ContactKnown::COURSE;
        EXPECT_EQ(recon->ClassifyContact(&c, record), row.expected);
    }
}

TEST_F(ReconContacts, ReachOfAirContactsIsRangeOrHeading)
{
    Contact& c = AddContact(50, AIR, North(9 * NM), 2);   // the unit reaches 9.98 nm
    EXPECT_TRUE(recon->IsContactInReach(&c, nullptr));
    c.SetPosition(North(11 * NM));
    EXPECT_FALSE(recon->IsContactInReach(&c, nullptr));
    c.knownBits = ContactKnown::COURSE;
    c.course = 178;   // heads south for the unit, within 5 degrees
    EXPECT_TRUE(recon->IsContactInReach(&c, nullptr));
    c.course = 170;
    EXPECT_FALSE(recon->IsContactInReach(&c, nullptr));
}

TEST_F(ReconContacts, TaskPrioritiesAndReviewDelays)
{
    const struct {
        uint32_t classBits;
        uint16_t priority;
        uint32_t engage, investigate, other;   // review delays, seconds
    } rows[] = {
        {MISSILE, 100, 1, 1, 60},
        {MISSILE | 0x10, 100, 1, 1, 60},
        {AIR, 90, 15, 30, 60},
        {TORPEDO, 10, 45, 60, 120},
        {FACILITY, 80, 45, 60, 600},
        {0x1, 10, 45, 60, 600},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.classBits);
        record->contacts.DeleteAll();
        Contact& c = AddContact(50, row.classBits, {}, 2);
        MissionTask* const task = recon->MakeTask(&c);
        EXPECT_EQ(task->priority, row.priority);
        EXPECT_EQ(task->targetID, 50);
        delete task;
        const uint16_t decisions[] = {1, 2, 0};
        const uint32_t delays[] = {row.engage, row.investigate, row.other};
        for (int i = 0; i < 3; ++i) {
            c.pendingHold = 0;
            recon->ScheduleContactCheck(&c, decisions[i]);
            EXPECT_EQ(c.pendingHold, delays[i]) << "decision " << decisions[i];
        }
    }
    Contact& friendly = AddContact(51, AIR, {}, 3);
    recon->ScheduleContactCheck(&friendly, 0);
    EXPECT_EQ(friendly.pendingHold, 3600u);
    recon->ScheduleContactCheck(&friendly, 1);
    EXPECT_EQ(friendly.pendingHold, 15u);
    EXPECT_FALSE(recon->IsNotFriendlyClass(&friendly));
}

TEST_F(ReconContacts, FacilityIsKeptOnceAndFriendsOnlyReviewed)
{
    Contact& f = Facility(50, 0);
    recon->ConsiderContact(&f, record);
    recon->ConsiderContact(&f, record);
    int kept = 0;
    for (const MissionTask* t = recon->keptTasks.First(); t != nullptr; t = t->GetNext())
        ++kept;
    EXPECT_EQ(kept, 1);

    Contact& marked = Facility(51, 0);
    marked.stickyFlags = 0x1;
    recon->ConsiderContact(&marked, record);
    EXPECT_EQ(recon->keptTasks.Last()->targetID, 50);

    Contact& friendly = Facility(52, 3);
    recon->ConsiderContact(&friendly, record);
    EXPECT_EQ(friendly.pendingHold, 3600u);
    EXPECT_EQ(recon->keptTasks.Last()->targetID, 50);
    EXPECT_EQ(recon->engageTasks.First(), nullptr);
}

// Candidates in key order: a later one replaces the kept one only with a
// member count not higher and a strictly earlier intercept.
TEST_F(ReconContacts, InvestigatorChoice)
{
    Contact& f = Facility(50, 0, North(100 * NM));
    const struct {
        uint16_t id;
        int32_t distance;   // south of the facility, nm
        uint16_t members;
    } candidates[] = {
        {8, 40, 0},
        {9, 20, 2},    // nearer, but more members
        {10, 30, 0},   // nearer, as few: taken
        {11, 30, 0},   // as near: not earlier
    };
    for (const auto& c : candidates) {
        Add(c.id, 'A', ReconState::ON_ROUTE, North((100 - c.distance) * NM)).reachTenths = 50;
        Record(c.id).memberCount = c.members;
    }
    Add(12, 'A', ReconState::CLOSING, North(99 * NM)).reachTenths = 50;   // busy
    recon->ConsiderContact(&f, record);
    recon->OnSideScanned(record);
    EXPECT_EQ(Record(10).state, ReconState::CLOSING);
    EXPECT_EQ(Record(10).targetID, 50);
    for (const uint16_t other : {7, 8, 9, 11})
        EXPECT_EQ(Record(other).state, ReconState::ON_ROUTE) << other;
    EXPECT_EQ(f.stickyFlags, 0x1);
    EXPECT_EQ(Ids(recon->extraIDs), (std::vector<uint16_t>{7, 8, 9, 11}));
    ASSERT_EQ(Notes().paths.size(), 1u);
    EXPECT_EQ(Notes().paths[0].first, 10);

    // A facility some unit is on already gets no one.
    Contact& g = Facility(51, 0, North(100 * NM));
    g.stickyFlags = 0x2;
    recon->keptTasks.DeleteAll();
    recon->keptTasks.Append(new MissionTask(51));
    recon->OnSideScanned(record);
    EXPECT_EQ(Ids(recon->extraIDs), (std::vector<uint16_t>{7, 8, 9, 11}));
}

// Closing on an identified contact: within 4095 units of the intercept
// point the unit attacks a plain contact and shadows any other.
TEST_F(ReconContacts, ClosingTurnsToAttackOrShadowWithinAMile)
{
    const struct {
        int32_t range;
        uint32_t classBits;
        int16_t expected;
    } rows[] = {
        {NM - 1, FACILITY, ReconState::ATTACK_RUN},
        {NM - 1, TORPEDO, ReconState::SHADOWING},   // a torpedo is never plain
        {NM, FACILITY, ReconState::CLOSING},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.range);
        record->contacts.DeleteAll();
        Contact& c = AddContact(50, row.classBits, North(row.range), 0);
        c.identifiedAs = 50;
        Record(7).SetState(ReconState::CLOSING, 50, row.classBits);
        Record(7).markBits = 0;
        Notes().paths.clear();
        recon->StepUnit(7, 0);
        EXPECT_EQ(Record(7).state, row.expected);
        EXPECT_EQ(Notes().paths.size(), row.expected == ReconState::CLOSING ? 1u : 0u);
        Taken();
    }
}

TEST_F(ReconContacts, ShadowLegsOfSubmergedContactsStopAtThirtyMiles)
{
    const struct {
        char letter;
        uint32_t targetClass;
        int32_t expected;   // leg length, nm
    } rows[] = {{'P', 0x2, 30}, {'P', 0x1, 50}, {'A', 0x2, 50}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.letter << row.targetClass);
        Unit* const old = units.Find(7);
        units.Remove(old);
        delete old;
        record->ownUnits.DeleteAll();
        recon->units.DeleteAll();
        Add(7, row.letter, ReconState::SHADOWING);
        record->contacts.DeleteAll();
        Contact& c = AddContact(50, row.targetClass, North(50 * NM), 2);
        c.identifiedAs = 50;
        Record(7).SetState(ReconState::SHADOWING, 50, row.targetClass);
        Notes().paths.clear();
        recon->StepUnit(7, 0);
        ASSERT_EQ(Notes().paths.size(), 1u);
        EXPECT_NEAR(NavMath::Get_Vector({}, Notes().paths[0].second).range, row.expected * NM, 16);
        EXPECT_EQ(Record(7).state, ReconState::SHADOWING);
        Taken();
    }

    // A leg the map refuses sends the unit back to the route.
    Notes().legsValid = false;
    record->GetContact(50)->stickyFlags = 0x3;
    recon->StepUnit(7, 0);
    EXPECT_EQ(Record(7).state, ReconState::ON_ROUTE);
    EXPECT_EQ(record->GetContact(50)->stickyFlags, 0x2);
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_UNIT, 7, 0}}));
}

TEST_F(ReconContacts, ShadowingFollowsWhatIsKnownOfTheContact)
{
    const struct {
        bool exists;
        uint32_t condition;
        uint16_t identified, changeBits;
        int16_t expected;
        uint8_t marksAfter;   // from 0x3
    } rows[] = {
        {false, 0, 0, 0, ReconState::ON_ROUTE, 0x3},
        {true, 0x8, 5, 0, ReconState::ON_ROUTE, 0x1},
        {true, 0, 0, 0, ReconState::CLOSING, 0x3},
        {true, 0, 0, 1, ReconState::ON_ROUTE, 0x1},
    };
    for (const auto& row : rows) {
        record->contacts.DeleteAll();
        Contact* c = nullptr;
        if (row.exists) {
            c = &AddContact(50, AIR, North(50 * NM), 2);
            c->conditionBits = row.condition;
            c->identifiedAs = row.identified;
            c->changeBits = row.changeBits;
            c->stickyFlags = 0x3;
        }
        Record(7).SetState(ReconState::SHADOWING, 50, AIR);
        recon->StepUnit(7, 0);
        EXPECT_EQ(Record(7).state, row.expected);
        if (c != nullptr) {
            EXPECT_EQ(c->stickyFlags, row.marksAfter);
        }
        EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_UNIT, 7, 0}}));
    }
}

// A contact with news makes the mission look again at the units on it:
// closing goes on while the contact is quiet, shadowing while it is
// identified; a unit that gives a contact up clears its tasking mark.
TEST_F(ReconContacts, RecheckKeepsOrDropsTheUnitsOnAContact)
{
    const struct {
        int16_t state;
        uint8_t sideID;
        uint32_t condition;
        uint16_t identified;
        int16_t expected;
        uint8_t marksAfter;   // from 0x3
    } rows[] = {
        {ReconState::CLOSING, 0, 0, 0, ReconState::CLOSING, 0x3},
        {ReconState::CLOSING, 2, 0, 0, ReconState::ON_ROUTE, 0x1},
        {ReconState::CLOSING, 0, 0x8, 0, ReconState::ON_ROUTE, 0x1},
        {ReconState::SHADOWING, 2, 0, 5, ReconState::SHADOWING, 0x3},
        {ReconState::SHADOWING, 0, 0, 0, ReconState::CLOSING, 0x3},
        {ReconState::SHADOWING, 2, 0, 0, ReconState::ON_ROUTE, 0x1},
        {ReconState::SHADOWING, 0, 0x8, 5, ReconState::ON_ROUTE, 0x1},
        {ReconState::ON_ROUTE, 2, 0x8, 0, ReconState::ON_ROUTE, 0x3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.state << " side " << int{row.sideID} << " condition "
                                        << row.condition << " identified " << row.identified);
        record->contacts.DeleteAll();
        Contact& c = AddContact(50, AIR, North(50 * NM), row.sideID);
        c.conditionBits = row.condition;
        c.identifiedAs = row.identified;
        c.changeBits = 1;
        c.stickyFlags = 0x3;
        Record(7).SetState(row.state, 50, AIR);
        recon->RecheckTaskedUnits(&c);
        EXPECT_EQ(Record(7).state, row.expected);
        EXPECT_EQ(Record(7).targetID, row.expected != row.state && row.expected == ReconState::ON_ROUTE ? 0 : 50);
        EXPECT_EQ(c.stickyFlags, row.marksAfter);
        std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> stepped;
        if (row.expected != row.state)
            stepped.emplace_back(MISSION_UNIT, 7, 0);
        EXPECT_EQ(Taken(), stepped);
    }
}

// Started over, a closing unit heads 5 to 14 percent of the way toward a
// recon point; with no point left it stays put and is not stepped again.
TEST_F(ReconContacts, ClosingStartedOverHeadsTowardAPointOrStays)
{
    Record(7).SetState(ReconState::CLOSING, 50, AIR);
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        state.Generator().SetSeed(seed);
        Notes().paths.clear();
        Record(7).markBits = 0;
        recon->StepUnit(7, 1);
        ASSERT_EQ(Notes().paths.size(), 1u) << seed;
        const NavVector leg = NavMath::Get_Vector({}, Notes().paths[0].second);
        EXPECT_GE(leg.range, 5 * (200 * NM / 100) - 16) << seed;
        EXPECT_LE(leg.range, 14 * (200 * NM / 100) + 16) << seed;
        EXPECT_EQ(Record(7).state, ReconState::CLOSING);
        Taken();
    }

    IDList all;
    all.Insert(new IDNode(1));
    recon->RemovePoints(&all);
    Notes().paths.clear();
    recon->StepUnit(7, 1);
    EXPECT_TRUE(Notes().paths.empty());
    EXPECT_EQ(Record(7).state, ReconState::CLOSING);
    EXPECT_EQ(recon->missionFlags & ReconMission::POINTS_USED_UP, ReconMission::POINTS_USED_UP);
    EXPECT_EQ(reports.posts, (std::vector<std::string>{"Look has no points left and ends."}));
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ReconContacts, EngagingOrderTakesOneStepThenFallsBackToTheRoute)
{
    Record(7).SetState(ReconState::ORDERED, 50, AIR);
    recon->StepUnit(7, 0);
    EXPECT_EQ(Record(7).state, ReconState::ENGAGING);
    EXPECT_TRUE(Taken().empty());
    recon->StepUnit(7, 0);   // no contact to engage
    EXPECT_EQ(Record(7).state, ReconState::ON_ROUTE);
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_UNIT, 7, 0}}));
}

TEST_F(ReconContacts, ReportsMoveRouteUnitsAndIdleChecksMoveThemBack)
{
    Contact& c = AddContact(50, AIR, {}, 2);
    const struct {
        int16_t state;
        uint8_t airOnly;
        int16_t expected;
    } rows[] = {
        {ReconState::ON_ROUTE, 1, ReconState::ROUTE_CONTACTS},
        {ReconState::APPROACH, 0, ReconState::ROUTE_CONTACTS},
        {ReconState::OFF_ROUTE, 0, ReconState::OFF_ROUTE_CONTACTS},
        {ReconState::OFF_ROUTE, 1, ReconState::OFF_ROUTE},
        {ReconState::SHADOWING, 0, ReconState::SHADOWING},
    };
    for (const auto& row : rows) {
        Record(7).SetState(row.state, 0, 0);
        recon->OnEngageResult(7, 1, &c, row.airOnly);
        EXPECT_EQ(Record(7).state, row.expected) << row.state;
        Taken();
    }
    // No contacts left: 6 goes back to 1 and 11 to 2; nothing to fight
    // the class with: 1.
    const struct {
        int16_t state;
        int32_t ratings;
        int16_t expected;
    } idle[] = {
        {ReconState::ROUTE_CONTACTS, 1, ReconState::ON_ROUTE},
        {ReconState::OFF_ROUTE_CONTACTS, 1, ReconState::OFF_ROUTE},
        {ReconState::OFF_ROUTE_CONTACTS, 0, ReconState::ON_ROUTE},
        {ReconState::CLOSING, 0, ReconState::CLOSING},
    };
    auto& unit = static_cast<ReconUnit&>(*units.Find(7));
    for (const auto& row : idle) {
        unit.ratings = row.ratings;
        Record(7).SetState(row.state, 50, AIR);
        recon->CheckIdleState(&Record(7));
        EXPECT_EQ(Record(7).state, row.expected) << row.state;
        Taken();
    }
    Record(7).SetState(ReconState::ON_ROUTE, 50, AIR);
    EXPECT_EQ(recon->QueryUnit(7, 50), 0);
    Record(7).SetState(ReconState::CLOSING, 50, AIR);
    EXPECT_EQ(recon->QueryUnit(7, 50), 2);
    EXPECT_EQ(recon->QueryUnit(7, 51), 0);
}

} // namespace
