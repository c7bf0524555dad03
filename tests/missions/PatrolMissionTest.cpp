// PatrolMissionTest.cpp: the patrol's creation by kind, area and ASW threat
// zone, description, point edits and messages, altitudes, saved form, and
// its contact classification, priorities and check delays.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/IDList.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"
#include "engagement/SideEntry.h"
#include "missions/OpsStaff.h"
#include "missions/PatrolMission.h"
#include "missions/Side.h"
#include "PlanningWorld.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/UnitEvents.h"
#include "units/PropulsionPlant.h"
#include "units/UnitBridge.h"
#include "world/AreaPolygonList.h"
#include "world/Game2UI2.h"

namespace {

using planningtest::FakeUnit;
using planningtest::PlanningWorld;

constexpr int32_t DEG = ANGLE_PER_DEGREE;

std::vector<std::string>& Messages()
{
    static std::vector<std::string> messages;
    return messages;
}

void RecordMessage(uint16_t, uint16_t, const char* text, uint16_t, char) { Messages().emplace_back(text); }

std::unique_ptr<IDList> Ids(std::initializer_list<uint16_t> ids)
{
    auto list = std::make_unique<IDList>();
    for (const uint16_t id : ids)
        if (list->Find(id) == nullptr)
            list->Insert(new IDNode(id));
    return list;
}

class PatrolTest : public ::testing::Test {
protected:
    PatrolTest()
    {
        blue.AddRelation(new SideEntry(2, 1));
        blue.AddRelation(new SideEntry(3, 2));
        Game2UI2::SetThreatZoneList(1, blue.GetThreatZones());
        PlaneBridgeCalls calls;
        calls.postGameMessage = &RecordMessage;
        previousCalls = SetPlaneBridgeCalls(calls);
        Messages().clear();
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
        // Points 1..3 at (lat, lon) degrees (10,20), (12,21), (11,24).
        blue.AddPoint({10 * DEG, 20 * DEG});
        blue.AddPoint({12 * DEG, 21 * DEG});
        blue.AddPoint({11 * DEG, 24 * DEG});
    }
    ~PatrolTest() override
    {
        TheResourceLoader = nullptr;
        SetPlaneBridgeCalls(previousCalls);
        Game2UI2::SetThreatZoneList(1, nullptr);
    }

    int ZoneCount() const
    {
        int n = 0;
        for (const AreaPolygon* z = blue.GetThreatZones()->GetFirst(); z != nullptr; z = z->GetNext())
            ++n;
        return n;
    }

    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    PlanningWorld world;
    Side blue{"Blue", 1};
    ReportCapture reports;
    PlaneBridgeCalls previousCalls;
};

TEST_F(PatrolTest, KindSetsThreatMaskAreaAndDescription)
{
    struct Case {
        uint16_t kind;
        uint32_t mask;
        const char* description;
    };
    for (const Case& c : {Case{1, 0x4, "AAW patrol over points 1, 2, 3"}, Case{2, 0x1, "ASu patrol over points 1, 2, 3"},
                          Case{3, 0x2, "ASW patrol over points 1, 2, 3"}}) {
        SCOPED_TRACE(c.kind);
        const auto points = Ids({3, 1, 2});
        PatrolMission patrol(c.kind, "North", points.get(), &blue);
        EXPECT_EQ(patrol.GetType(), PatrolMission::TYPE);
        EXPECT_EQ(patrol.missionFlags, PatrolMission::NEW_FLAGS);
        EXPECT_EQ(patrol.targetClasses, c.mask);
        EXPECT_EQ(patrol.PatrolArea, LatLonRect(12 * DEG, 20 * DEG, 10 * DEG, 24 * DEG));
        EXPECT_STREQ(patrol.GetSavedName(), c.description);
        EXPECT_TRUE(patrol.IsValid());
    }
}

TEST_F(PatrolTest, OnlyAnAswPatrolKeepsOneThreatZoneOverItsArea)
{
    for (const uint16_t kind : {1, 2}) {
        const auto points = Ids({1, 2, 3});
        PatrolMission patrol(kind, "P", points.get(), &blue);
        EXPECT_EQ(patrol.ThreatPolyID, 0);
        EXPECT_EQ(ZoneCount(), 0);
    }
    const auto points = Ids({1, 2, 3});
    {
        PatrolMission patrol(3, "P", points.get(), &blue);
        ASSERT_NE(patrol.ThreatPolyID, 0);
        const int16_t id = static_cast<int16_t>(patrol.ThreatPolyID);
        EXPECT_EQ(blue.GetThreatZones()->GetType(id), PatrolMission::THREAT_ZONE_TYPE);
        const AreaPolygon* zone = blue.GetThreatZones()->Find(id);
        ASSERT_NE(zone, nullptr);
        // North-west first, clockwise.
        const LatLonPoint expected[4] = {{12 * DEG, 20 * DEG}, {12 * DEG, 24 * DEG}, {10 * DEG, 24 * DEG},
                                         {10 * DEG, 20 * DEG}};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(zone->GetLatLonPoint(i), expected[i]) << i;

        // A fourth point outside the rectangle reshapes the same zone.
        const uint16_t far = blue.AddPoint({15 * DEG, 26 * DEG});
        const auto more = Ids({far});
        patrol.AddPoints(more.get());
        EXPECT_EQ(patrol.ThreatPolyID, static_cast<uint16_t>(id));
        EXPECT_EQ(ZoneCount(), 1);
        EXPECT_EQ(blue.GetThreatZones()->Find(id)->GetLatLonPoint(1), (LatLonPoint{15 * DEG, 26 * DEG}));
        EXPECT_STREQ(patrol.GetSavedName(), "ASW patrol over points 1, 2, 3, 4");
    }
    // Deleting the mission takes its zone away.
    EXPECT_EQ(ZoneCount(), 0);
}

TEST_F(PatrolTest, LoadingTheSideKeepsTheZonesOfItsAswPatrols)
{
    const auto points = Ids({1, 2, 3});
    ASSERT_NE(blue.GetOpsStaff()->CreateMission("P", 3, nullptr, points.get()), 0);
    ASSERT_EQ(ZoneCount(), 1);
    std::ostringstream out;
    blue.Save(out);
    const std::string saved = out.str();

    // Cut in the last field: the patrol read so far goes, the live zone stays.
    std::istringstream cut(saved.substr(0, saved.size() - 1));
    EXPECT_FALSE(blue.Load(cut));
    EXPECT_EQ(ZoneCount(), 1);

    // Whole: the old patrol goes with its zone, the loaded one keeps its own.
    std::istringstream whole(saved);
    ASSERT_TRUE(blue.Load(whole));
    EXPECT_EQ(ZoneCount(), 1);
    std::ostringstream again;
    blue.Save(again);
    EXPECT_EQ(again.str(), saved);
}

TEST_F(PatrolTest, NoPointsAndEmptyEditsPostTheirMessages)
{
    const auto none = Ids({});
    PatrolMission patrol(1, "Gate", none.get(), &blue);
    EXPECT_FALSE(patrol.IsValid());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], "Patrol mission Gate has no patrol points and was not created.");
    // Nothing found: the area stays inverted and holds no position.
    EXPECT_GT(patrol.PatrolArea.south, patrol.PatrolArea.north);

    const auto empty = Ids({});
    patrol.AddPoints(empty.get());
    patrol.RemovePoints(empty.get());
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[1], "Gate: no points were given to add.");
    EXPECT_EQ(Messages()[2], "Gate: no points were given to remove.");

    const auto two = Ids({2, 2});
    patrol.AddPoints(two.get());
    const auto again = Ids({2, 3});
    patrol.AddPoints(again.get());
    EXPECT_STREQ(patrol.GetSavedName(), "AAW patrol over points 2, 3");
    const auto gone = Ids({2, 3, 9});
    patrol.RemovePoints(gone.get());
    EXPECT_EQ(patrol.PatrolPoints.First(), nullptr);
    EXPECT_STREQ(patrol.GetSavedName(), "AAW patrol");
    EXPECT_GT(patrol.PatrolArea.south, patrol.PatrolArea.north);
}

TEST_F(PatrolTest, SavedFormRoundTripsAndACutStreamChangesNothing)
{
    const auto points = Ids({1, 3});
    PatrolMission patrol(3, "Deep", points.get(), &blue);
    patrol.SetKey(7);
    std::ostringstream base;
    patrol.SaveBase(base);
    std::ostringstream out;
    ASSERT_TRUE(patrol.Save(out));
    const std::string bytes = out.str();
    // Base, points (count and ids), the four corners, the zone id.
    std::ostringstream tail;
    SaveField(tail, uint16_t{2});
    SaveField(tail, uint16_t{1});
    SaveField(tail, uint16_t{3});
    for (const int32_t v : {patrol.PatrolArea.north, patrol.PatrolArea.west, patrol.PatrolArea.south,
                            patrol.PatrolArea.east})
        SaveField(tail, v);
    SaveField(tail, patrol.ThreatPolyID);
    EXPECT_EQ(bytes, base.str() + tail.str());

    {
        PatrolMission loaded(PatrolMission::TYPE, &world.side);
        std::istringstream in(bytes.substr(2));   // the list reads the type
        ASSERT_TRUE(loaded.Load(in));
        std::ostringstream again;
        loaded.Save(again);
        EXPECT_EQ(again.str(), bytes);
        EXPECT_EQ(loaded.ThreatPolyID, patrol.ThreatPolyID);
    }
    for (const size_t cut : {bytes.size() - 1, bytes.size() - 3, bytes.size() - 17, base.str().size() + 1}) {
        SCOPED_TRACE(cut);
        PatrolMission loaded(PatrolMission::TYPE, &world.side);
        std::istringstream in(bytes.substr(2, cut - 2));
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_EQ(loaded.PatrolPoints.First(), nullptr);
        EXPECT_EQ(loaded.ThreatPolyID, 0);
        EXPECT_EQ(loaded.PatrolArea, LatLonRect());
    }
}

// A ship holding aircraft records.
class Carrier : public Unit {
public:
    explicit Carrier(uint16_t id) { SetKey(id); }
    char GetTypeLetter() const override { return 'S'; }
    PlaneRecList* GetPlaneRecList() override { return &records; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
    PlaneRecList records;
};

std::vector<std::pair<uint16_t, uint16_t>>& LaunchedRecords()
{
    static std::vector<std::pair<uint16_t, uint16_t>> launched;
    return launched;
}

TEST_F(PatrolTest, AircraftLaunchTakesWholeReferencesOrAThirdUnderTheSwitch)
{
    constexpr uint16_t HOME = 30;
    constexpr uint32_t READY = PlaneRec::READY_FLAGS;
    UnitEventCalls events;
    events.makeLaunchAircraftEvent = [](uint16_t holder, uint16_t record, uint32_t) -> Event* {
        LaunchedRecords().emplace_back(holder, record);
        return nullptr;
    };
    const UnitEventCalls previousEvents = SetUnitEventCalls(events);
    struct Ref {
        uint8_t count;
        uint16_t state;
        uint32_t flags;
    };
    // Whole 6 and 2 are launched; held back (0x2000), not ready or already
    // committed references are not.
    const Ref refs[] = {{6, PlaneRecRef::HELD, READY},
                        {2, PlaneRecRef::HELD, READY},
                        {3, PlaneRecRef::HELD, READY | 0x2000},
                        {3, PlaneRecRef::HELD, 0x10E},
                        {3, PlaneRecRef::COMMITTED, READY}};
    for (const bool third : {false, true}) {
        SCOPED_TRACE(third);
        LaunchedRecords().clear();
        auto* carrier = new Carrier(HOME);
        world.units.Insert(carrier);
        const auto points = Ids({1, 2, 3});
        PatrolMission patrol(2, "P", points.get(), &blue);
        patrol.missionFlags = third ? MissionFlag::THIRD_AT_A_TIME : 0;
        for (const Ref& r : refs) {
            const auto key = static_cast<uint16_t>(1 + (&r - refs));
            auto* record = new PlaneRec(key);
            record->unitID = HOME;
            record->count = r.count;
            record->flags = r.flags;
            carrier->records.Insert(record);
            auto* ref = new PlaneRecRef(patrol.planeRefs.NewKey());
            ref->holderID = HOME;
            ref->recordID = key;
            ref->count = r.count;
            ref->refState = r.state;
            ref->recordFlags = r.flags;
            patrol.planeRefs.Insert(ref);
        }
        patrol.SetAircraftWait();
        std::vector<int> counts;
        for (const auto& [holder, record] : LaunchedRecords())
            counts.push_back(carrier->records.Find(record)->count);
        const std::vector<int> expected = third ? std::vector<int>{2, 1} : std::vector<int>{6, 2};
        EXPECT_EQ(counts, expected);
        // Once set, the wait launches nothing more.
        LaunchedRecords().clear();
        patrol.SetAircraftWait();
        EXPECT_TRUE(LaunchedRecords().empty());
        world.units.Remove(carrier);
        delete carrier;
    }
    SetUnitEventCalls(previousEvents);
}

TEST_F(PatrolTest, AltitudesByKindLetterAndClass)
{
    struct Case {
        uint16_t kind;
        char letter;
        int16_t patrol;
        int16_t search;
        int16_t transit;
        int16_t taskSubsurface;   // any state but 2, class 0x2
        int16_t taskAir;          // any state but 2, class 0x4
    };
    // FakeUnit: the default envelope.
    FakeUnit probe(99, 'P');
    int16_t low = 0, high = 0;
    probe.GetAltitudeEnvelope(1, low, high);
    FakeUnit sub(98, 'U');
    int16_t subLow = 0, subHigh = 0;
    sub.GetAltitudeEnvelope(1, subLow, subHigh);
    const int16_t subFloor = std::max<int16_t>(subLow, -10);
    const Case cases[] = {
        {1, 'P', high, high, 61, low, high},
        {3, 'P', low, low, 61, low, high},
        {5, 'P', 61, 61, 61, low, high},
        {1, 'U', -4, -4, subLow, subFloor, subHigh},
        {3, 'U', subFloor, -4, subLow, subFloor, subHigh},
        {5, 'U', subFloor, subFloor, subLow, subFloor, subHigh},
        {1, 'S', 0, 0, 0, 0, 0},
        {3, 'G', 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.letter) + std::to_string(c.kind));
        const auto points = Ids({1});
        PatrolMission patrol(c.kind, "A", points.get(), &blue);
        FakeUnit unit(50, c.letter);
        EXPECT_EQ(patrol.GetPatrolAltitude(&unit, 0), c.patrol);
        EXPECT_EQ(patrol.GetSearchAltitude(&unit), c.search);
        EXPECT_EQ(PatrolMission::GetTransitAltitude(&unit), c.transit);
        EXPECT_EQ(patrol.GetTaskAltitude(&unit, PatrolState::PATROLLING, 0x12), c.taskSubsurface);
        EXPECT_EQ(patrol.GetTaskAltitude(&unit, PatrolState::PATROLLING, 0x4), c.taskAir);
        EXPECT_EQ(PatrolMission::GetSubmarineLegAltitude(&unit), c.letter == 'U' ? -2 : 0);
    }
}

TEST_F(PatrolTest, UnitTestsByLetterAndClass)
{
    const auto points = Ids({1});
    PatrolMission asw(3, "A", points.get(), &blue);
    PatrolMission aaw(1, "A", points.get(), &blue);
    MissionUnitRec record(50);
    struct Case {
        char letter;
        uint32_t targetClass;
        bool canAttack;
        bool eligibleAsw;
        bool eligibleAaw;
    };
    for (const Case& c : {Case{'P', 0x2, true, true, true}, Case{'A', 0x1, true, true, true},
                          Case{'S', 0x12, false, false, true}, Case{'S', 0x4, true, false, true},
                          Case{'S', 0x1, true, false, true}, Case{'U', 0x1, false, false, false},
                          Case{'U', 0x8, true, false, false}}) {
        SCOPED_TRACE(std::string(1, c.letter) + std::to_string(c.targetClass));
        FakeUnit unit(50, c.letter);
        record.targetClass = c.targetClass;
        EXPECT_EQ(PatrolMission::CanUnitAttackClass(&unit, &record), c.canAttack);
        EXPECT_EQ(asw.IsUnitEligible(&unit), c.eligibleAsw);
        EXPECT_EQ(aaw.IsUnitEligible(&unit), c.eligibleAaw);
        EXPECT_EQ(PatrolMission::IsNotSubmarine(&unit), c.letter != 'U');
    }
}

// ---- contact handling ----

class PatrolContactTest : public PatrolTest {
protected:
    // A patrol of the kind over points 1..3, with one unit (id 20) in it.
    PatrolMission& Patrol(uint16_t kind)
    {
        const auto points = Ids({1, 2, 3});
        patrol = std::make_unique<PatrolMission>(kind, "P", points.get(), &blue);
        return *patrol;
    }
    // Inside the area: (11, 22).
    static constexpr LatLonPoint INSIDE{11 * DEG, 22 * DEG};
    static constexpr LatLonPoint OUTSIDE{40 * DEG, 60 * DEG};

    std::unique_ptr<PatrolMission> patrol;
};

TEST_F(PatrolContactTest, ClassificationByKindSideAndMarks)
{
    struct Case {
        const char* name;
        uint16_t kind;
        uint32_t classBits;
        uint8_t sideID;
        uint8_t firstMark;
        bool exact;   // no uncertainty area: a plain contact
        LatLonPoint at;
        uint16_t expected;
    };
    const Case cases[] = {
        {"AAW ignores a surface contact", 1, 0x1, 2, 0, true, INSIDE, 0},
        {"ASW ignores an unknown air contact", 3, 0x4, 0, 0, true, INSIDE, 0},
        {"ASu investigates an unknown air contact", 2, 0x4, 0, 0, true, INSIDE, 2},
        {"AAW investigates an unknown air contact", 1, 0x4, 0, 0, true, INSIDE, 2},
        {"out of the area and reach", 2, 0x1, 2, 0, true, OUTSIDE, 0},
        {"hostile plain surface contact engaged", 2, 0x1, 2, 0, true, INSIDE, 1},
        {"friendly contact ignored", 2, 0x1, 3, 0, true, INSIDE, 0},
        {"unknown plain submarine engaged", 3, 0x2, 0, 0, true, INSIDE, 1},
        {"unknown marked plain surface contact engaged", 2, 0x1, 0, 1, true, INSIDE, 1},
        {"unknown unmarked surface contact investigated", 2, 0x1, 0, 0, true, INSIDE, 2},
        {"torpedo without a course ignored", 2, 0x800, 0, 0, true, INSIDE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PatrolMission& p = Patrol(c.kind);
        Contact& contact = world.AddContact(static_cast<uint16_t>(100 + (&c - cases)), c.classBits, c.at, c.sideID);
        contact.hostileAct = c.firstMark;
        EXPECT_EQ(p.ClassifyContact(&contact, world.record), c.expected);
    }
}

TEST_F(PatrolContactTest, TaskPriorityByClass)
{
    struct Case {
        uint16_t kind;
        uint32_t classBits;
        uint16_t priority;
    };
    for (const Case& c : {Case{1, 0x8, 100}, Case{3, 0x8, 100}, Case{2, 0x800, 95}, Case{2, 0x11, 90},
                          Case{2, 0x4, 80}, Case{3, 0x1, 10}}) {
        SCOPED_TRACE(c.classBits);
        PatrolMission& p = Patrol(c.kind);
        Contact& contact = world.AddContact(static_cast<uint16_t>(200 + c.classBits + c.kind), c.classBits);
        std::unique_ptr<MissionTask> task(p.MakeTask(&contact));
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(task->priority, c.priority);
    }
}

TEST_F(PatrolContactTest, CheckDelayByDecisionAndClass)
{
    struct Case {
        uint16_t decision;
        uint32_t classBits;
        uint8_t sideID;
        uint32_t seconds;
    };
    const Case cases[] = {
        {1, 0x8, 2, 1},  {5, 0x4, 2, 15},  {1, 0x800, 2, 45}, {1, 0x1, 2, 45}, {2, 0x8, 2, 1},
        {2, 0x4, 2, 30}, {2, 0x1, 2, 60},  {0, 0x4, 3, 3600}, {0, 0x1, 1, 3600}, {0, 0x8, 2, 60},
        {0, 0x4, 0, 60}, {0, 0x800, 0, 120}, {0, 0x1, 0, 600},
    };
    PatrolMission& p = Patrol(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.decision) + " " + std::to_string(c.classBits));
        Contact contact;
        contact.SetTypeFlags(c.classBits | 0x10);
        contact.sideId = c.sideID;
        p.ScheduleContactCheck(&contact, c.decision);
        EXPECT_EQ(contact.pendingHold, c.seconds);
    }
}

TEST_F(PatrolContactTest, NextStateRules)
{
    PatrolMission& p = Patrol(2);
    Contact& contact = world.AddContact(300, 0x1, INSIDE, 0);
    contact.stickyFlags = 0x1;
    // Not identified, not marked, not new: the investigator goes near it.
    EXPECT_EQ(p.NextStateAfterInvestigate(&contact), PatrolState::NEAR_INVESTIGATED);
    EXPECT_EQ(p.NextStateForContact(&contact), PatrolState::INVESTIGATING);
    contact.changeBits = 0x1;
    EXPECT_EQ(p.NextStateAfterInvestigate(&contact), PatrolState::INVESTIGATING);
    EXPECT_EQ(p.NextStateAfterAttack(&contact), PatrolState::ATTACKING);
    EXPECT_EQ(contact.stickyFlags, 0x1);
    // Identified: back to patrol, the sent mark cleared.
    contact.sideId = 2;
    EXPECT_EQ(p.NextStateForContact(&contact), PatrolState::PATROLLING);
    EXPECT_EQ(contact.stickyFlags, 0);
    // Lost: patrol; the search and hold rules leave the marks alone.
    contact.stickyFlags = 0x1;
    contact.conditionBits = 0x8;
    EXPECT_EQ(p.NextStateAfterSearch(&contact), PatrolState::PATROLLING);
    EXPECT_EQ(p.NextStateAfterHold(&contact, nullptr), PatrolState::PATROLLING);
    EXPECT_EQ(contact.stickyFlags, 0x1);
    EXPECT_EQ(p.NextStateAfterAttack(&contact), PatrolState::PATROLLING);
    EXPECT_EQ(contact.stickyFlags, 0);
    EXPECT_EQ(p.NextStateAfterSearch(nullptr), PatrolState::PATROLLING);
    // A submarine contact is always searched again.
    Contact& sub = world.AddContact(301, 0x2, INSIDE, 0);
    EXPECT_EQ(p.NextStateAfterSearch(&sub), PatrolState::ATTACKING);
}

TEST_F(PatrolContactTest, QueryUnitAnswersForSentStatesOnTheirContact)
{
    PatrolMission& p = Patrol(1);
    auto* record = new MissionUnitRec(20);
    p.units.Insert(record);
    for (const int16_t state : {0, 1, 2, 3, 4, 5, 6, 8, 9, 11, 14}) {
        SCOPED_TRACE(state);
        record->state = state;
        record->targetID = 300;
        const bool sent = state == 2 || state == 5 || state == 8 || state == 9 || state == 11;
        EXPECT_EQ(p.QueryUnit(20, 300), sent ? 1 : 0);
        EXPECT_EQ(p.QueryUnit(20, 301), 0);
    }
    EXPECT_EQ(p.QueryUnit(21, 300), 0);
}

// ---- attacker choice ----

// A ship that plans its approaches at 20 knots and brings `weapons` against
// any class.
class ArmedShip : public Unit {
public:
    ArmedShip(uint16_t id, int32_t weapons) : weapons_(weapons)
    {
        SetKey(id);
        auto* plant = new PropulsionPlant();
        plant->SetKey(1);
        for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
            for (int band = 0; band < PropulsionPlant::BANDS; ++band)
                plant->speedTable[row][band] = {100, -3, 20};
        plants.Insert(plant);
    }
    char GetTypeLetter() const override { return 'S'; }
    int32_t SumWeaponRatings(uint32_t) const override { return weapons_; }
    bool CanReachPoint(const LatLonPoint&, uint16_t, int32_t) override { return true; }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

private:
    int32_t weapons_;
};

class PatrolAttackTest : public PatrolContactTest {
protected:
    PatrolAttackTest()
    {
        UnitBridgeCalls calls;
        calls.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) { return true; };
        previousBridge = SetUnitBridgeCalls(calls);
    }
    ~PatrolAttackTest() override
    {
        world.TakeEvents();
        SetUnitBridgeCalls(previousBridge);
    }

    // A patrolling ship of the patrol `nm` nautical miles north of INSIDE.
    MissionUnitRec& AddShip(uint16_t id, int nm, uint16_t members, int32_t weapons = 2)
    {
        auto* ship = new ArmedShip(id, weapons);
        ship->SetPosition({INSIDE.lat + nm * DEG / 60, INSIDE.lon});
        ship->sideEntryID = world.record->GetKey();
        world.units.Insert(ship);
        world.record->ownUnits.Insert(new IDNode(id));
        auto* record = new MissionUnitRec(id);
        record->state = PatrolState::PATROLLING;
        record->memberCount = members;
        patrol->units.Insert(record);
        return *record;
    }

    UnitBridgeCalls previousBridge;
};

TEST_F(PatrolAttackTest, AttackerChosenByMemberCountThenTimeThenOrder)
{
    struct Case {
        const char* name;
        uint16_t membersA;
        int nmA;
        uint16_t membersB;
        int nmB;
        uint16_t chosen;
    };
    const Case cases[] = {
        {"more members passed over though sooner", 2, 20, 3, 5, 21},
        {"equal members: the sooner", 2, 20, 2, 5, 22},
        {"equal times: the first stays", 2, 5, 2, 5, 21},
        {"fewer members but later", 3, 5, 2, 20, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Patrol(PatrolMission::KIND_ASU);
        const uint16_t a = static_cast<uint16_t>(100 + 2 * (&c - cases));
        const uint16_t b = static_cast<uint16_t>(a + 1);
        AddShip(a, c.nmA, c.membersA);
        AddShip(b, c.nmB, c.membersB);
        Contact& contact = world.AddContact(static_cast<uint16_t>(300 + (&c - cases)), 0x1, INSIDE, 2);
        patrol->extraIDs.Insert(new IDNode(a));
        patrol->extraIDs.Insert(new IDNode(b));

        EXPECT_EQ(patrol->SendAttacker(&contact), 2u);
        const uint16_t chosen = c.chosen == 21 ? a : b;
        const uint16_t other = c.chosen == 21 ? b : a;
        EXPECT_EQ(patrol->units.Find(chosen)->state, PatrolState::ATTACKING);
        EXPECT_EQ(patrol->units.Find(chosen)->targetID, contact.GetKey());
        EXPECT_EQ(patrol->units.Find(other)->state, PatrolState::PATROLLING);
        EXPECT_EQ(patrol->extraIDs.Find(chosen), nullptr);
        EXPECT_NE(patrol->extraIDs.Find(other), nullptr);
        EXPECT_NE(contact.stickyFlags & 0x1, 0);
        world.TakeEvents();
    }
}

TEST_F(PatrolAttackTest, AttackersAreSentUntilTheirWeaponsMatchTheStrength)
{
    struct Case {
        uint16_t strength[3];   // the contact's strength against air, surface, submerged
        int sent;
    };
    const Case cases[] = {
        {{3, 3, 3}, 2},   // 2 + 2 reaches 3
        {{1, 2, 0}, 1},   // average 1: one attacker
        {{0, 0, 0}, 1},   // at least one
        {{9, 9, 9}, 3},   // every candidate, then no more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        Patrol(PatrolMission::KIND_ASU);
        const uint16_t first = static_cast<uint16_t>(100 + 3 * (&c - cases));
        for (uint16_t i = 0; i < 3; ++i)
            AddShip(static_cast<uint16_t>(first + i), 5 + i, 1);
        Contact& contact = world.AddContact(static_cast<uint16_t>(400 + (&c - cases)), 0x1, INSIDE, 2);
        // Detection counts in the first two values must not count as strength.
        contact.threat[0] = 50;
        contact.threat[1] = 50;
        for (int i = 0; i < 3; ++i)
            contact.threat[2 + i] = c.strength[i];
        patrol->keptTasks.Append(new MissionTask(contact.GetKey()));

        patrol->OnSideScanned(world.record);
        int attacking = 0;
        for (const MissionUnitRec* r = patrol->units.First(); r != nullptr; r = r->GetNext())
            attacking += r->state == PatrolState::ATTACKING ? 1 : 0;
        EXPECT_EQ(attacking, c.sent);
        patrol->keptTasks.DeleteAll();
        world.TakeEvents();
    }
}

TEST_F(PatrolContactTest, KeepTaskKeepsOnlyAnUsableUnclaimedTask)
{
    struct Case {
        const char* name;
        uint16_t optionFlags;   // 0: no option
        uint32_t classBits;
        uint8_t changed;
        uint8_t secondMark;
        uint8_t missionMarks;
        bool kept;
    };
    const Case cases[] = {
        {"usable option on a surface contact", 0x100, 0x1, 0, 0, 0, true},
        {"usable option but a bare 0x8 class", 0x100, 0x8, 0, 0, 0, false},
        {"only a sensors-on option", 0x400, 0x1, 0, 0, 0, false},
        {"no option", 0, 0x1, 0, 0, 0, false},
        {"already allocated", 0x100, 0x1, 1, 0, 0, false},
        {"second status mark", 0x100, 0x1, 0, 1, 0, false},
        {"a unit already sent", 0x100, 0x1, 0, 0, 0x1, false},
    };
    PatrolMission& p = Patrol(PatrolMission::KIND_ASU);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Contact& contact = world.AddContact(static_cast<uint16_t>(500 + (&c - cases)), c.classBits, INSIDE, 2);
        contact.bandFlag = c.secondMark;
        contact.stickyFlags = c.missionMarks;
        auto* task = new MissionTask(contact.GetKey());
        task->changed = c.changed;
        if (c.optionFlags != 0)
            task->options.Append(new TimedRecord(planningtest::Option(20, contact.GetKey(), nullptr, 1, 1, 0,
                                                                      c.optionFlags)));
        p.KeepTask(task, c.classBits, &contact);
        const bool kept = p.keptTasks.First() != nullptr;
        EXPECT_EQ(kept, c.kept);
        p.keptTasks.DeleteAll();
        world.TakeEvents();
    }
    // No contact: the task goes.
    p.KeepTask(new MissionTask(600), 0x1, nullptr);
    EXPECT_EQ(p.keptTasks.First(), nullptr);
}

TEST_F(PatrolAttackTest, OnlyFreeUnitsAreCandidates)
{
    struct Case {
        int16_t state;
        uint16_t leaderID;
        bool sent;
    };
    const Case cases[] = {
        {0, 0, true},  {1, 0, true},   {4, 0, true},   {14, 0, true},  {15, 0, true}, {20, 0, true},
        {2, 0, false}, {5, 0, false}, {11, 0, false}, {19, 0, false}, {1, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.state) + " leader " + std::to_string(c.leaderID));
        Patrol(PatrolMission::KIND_ASU);
        const auto id = static_cast<uint16_t>(100 + (&c - cases));
        MissionUnitRec& record = AddShip(id, 5, 1);
        record.state = c.state;
        record.leaderID = c.leaderID;
        Contact& contact = world.AddContact(static_cast<uint16_t>(700 + (&c - cases)), 0x1, INSIDE, 2);
        contact.threat[3] = 3;
        patrol->keptTasks.Append(new MissionTask(contact.GetKey()));
        patrol->OnSideScanned(world.record);
        EXPECT_EQ(record.targetID == contact.GetKey(), c.sent);
        EXPECT_EQ((contact.stickyFlags & 0x1) != 0, c.sent);
        patrol->keptTasks.DeleteAll();
        world.TakeEvents();
    }
}

}  // namespace
