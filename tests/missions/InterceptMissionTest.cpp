// InterceptMissionTest.cpp: the intercept mission: its new form and saved
// form, validity notice, classification, re-check intervals, priorities,
// task tests and allocation rules, the assignment of free aircraft and the
// hand-back of spare ones, the end test, the unit step, the altitudes, the
// emission settings and the aircraft posture.
#include "missions/InterceptMission.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "annex/StockEntry.h"
#include "core/ConfigurationFileIO.h"
#include "core/NavMath.h"
#include "core/ResourceLoader.h"
#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionCalls.h"
#include "missions/MissionList.h"
#include "missions/OpsStaff.h"
#include "support/TempTree.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitEvents.h"
#include "units/UnitTestSupport.h"
#include "world/UncertainPoly.h"
#include "PlanningWorld.h"

namespace {

using unittest::TestEvent;

constexpr int32_t NM = RANGE_PER_NM;
constexpr uint8_t LAND = 0x10;
constexpr uint8_t MISSION_UNIT = 0x47;
constexpr uint8_t SET_ALTITUDE = 0x3E;
constexpr uint8_t SET_SPEED = 0x3D;
constexpr uint8_t SET_SENSORS = 0x08;
constexpr uint8_t DROP_SONOBUOY = 0x45;

// What the mission hands to the layers above.
struct Noted {
    struct Message {
        uint16_t sideID, key;
        std::string text;
        uint16_t messageClass;
    };
    std::vector<Message> messages;
    std::vector<uint32_t> postures;
    struct Path {
        uint16_t unitID;
        LatLonPoint point;
        std::vector<uint8_t> events;
    };
    std::vector<Path> paths;
    std::vector<std::tuple<uint16_t, uint16_t, uint8_t>> timings;   // radar periodic: first time, variation
    std::vector<std::string> moves;
    uint16_t capabilities = 0;
};
Noted& Notes()
{
    static Noted notes;
    return notes;
}

// Speeds 5, 12, 20, 28 knots for settings 0..3 between -3 and 100 feet.
PropulsionPlant* SpeedPlant()
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    const uint16_t speeds[] = {5, 12, 20, 28};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {100, -3, speeds[row]};
    return plant;
}

// A unit with a plant, an envelope at setting 1, attack altitudes and a
// weapon count the test sets; it reaches every point.
class InterceptUnit : public planningtest::FakeUnit {
public:
    InterceptUnit(uint16_t id, char letter) : FakeUnit(id, letter) { plants.Insert(SpeedPlant()); }
    void GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const override
    {
        if (setting == 1) {
            low = envelopeLow;
            high = envelopeHigh;
        }
    }
    void GetAttackAltitudes(uint32_t, int16_t& low, int16_t& high) const override
    {
        low = attackLow;
        high = 90;
    }
    int32_t SumWeaponRatings(uint32_t) const override { return weapons; }
    bool CanReachPoint(const LatLonPoint&, uint16_t, int32_t) override { return true; }

    int16_t envelopeLow = 10;
    int16_t envelopeHigh = 90;
    int16_t attackLow = 50;
    int32_t weapons = 2;
};

// A side that notes the unit moves the mission asks of it.
class NotingSide : public Side {
public:
    NotingSide() : Side(1) {}
    void ReturnUnitToStanding(uint16_t unitID, uint16_t missionID) override
    {
        Notes().moves.push_back("standing " + std::to_string(unitID) + " from " + std::to_string(missionID));
    }
    void MoveUnitToMission(uint16_t unitID, uint16_t missionID) override
    {
        Notes().moves.push_back("move " + std::to_string(unitID) + " to " + std::to_string(missionID));
    }
};

// The planning arena with the bridge and event calls noted, the sample
// texts, side 1 (hostile to 2, friendly to 3) as the player's, and an
// intercept mission (id 5) of that side.
class InterceptWorld : public planningtest::PlanningWorld {
public:
    InterceptWorld()
    {
        Notes() = Noted{};
        noting.AddRelation(new SideEntry(2, 1));
        noting.AddRelation(new SideEntry(3, 2));
        UnitEventCalls events;
        events.makeLandEvent = [](uint16_t unitID, uint16_t baseID, GameTime) -> Event* {
            return new TestEvent(LAND, unitID, baseID);
        };
        events.makeMissionUnitEvent = [](uint16_t unitID, GameTime) -> Event* {
            return new TestEvent(MISSION_UNIT, unitID);
        };
        events.makeSetAltitudeEvent = [](uint16_t unitID, int32_t altitude, GameTime) -> Event* {
            return new TestEvent(SET_ALTITUDE, unitID, static_cast<uint16_t>(altitude));
        };
        events.makeSetSpeedEvent = [](uint16_t unitID, uint16_t knots, GameTime) -> Event* {
            return new TestEvent(SET_SPEED, unitID, knots);
        };
        events.makeDropSonobuoyEvent = [](uint16_t unitID, uint16_t, uint8_t) -> Event* {
            return new TestEvent(DROP_SONOBUOY, unitID);
        };
        previousEvents = SetUnitEventCalls(events);
        MissionCalls calls;
        calls.makeSetSensorsEvent = [](uint16_t unitID, uint32_t mode, uint32_t type, uint16_t first, uint8_t variation,
                                       uint16_t, uint8_t) -> Event* {
            if (first != 0)
                Notes().timings.emplace_back(unitID, first, variation);
            return new TestEvent(SET_SENSORS, unitID, static_cast<uint16_t>(mode << 8 | type));
        };
        previousCalls = SetMissionCalls(calls);
        PlaneBridgeCalls bridge;
        bridge.postGameMessage = [](uint16_t sideID, uint16_t key, const char* text, uint16_t messageClass, char) {
            Notes().messages.push_back({sideID, key, text, messageClass});
        };
        previousBridge = SetPlaneBridgeCalls(bridge);
        MissionAircraftCalls aircraft;
        aircraft.setPosture = [](Unit&, uint32_t posture) { Notes().postures.push_back(posture); };
        aircraft.getCapabilities = [](Unit&, uint16_t) { return Notes().capabilities; };
        previousAircraft = SetMissionAircraftCalls(aircraft);
        UnitBridgeCalls unitBridge;
        unitBridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) { return true; };
        unitBridge.setUnitPath = [](uint16_t unitID, const PositionNode* path) {
            Noted::Path seen{unitID, path->GetPosition(), {}};
            for (const Event* e = path->GetEvents().First(); e; e = e->GetNext())
                seen.events.push_back(e->TypeCode());
            Notes().paths.push_back(seen);
        };
        previousUnitBridge = SetUnitBridgeCalls(unitBridge);
        StationBridgeCalls station;
        station.buildNavPath = [](uint16_t, PositionNode*) { return true; };
        previousStation = SetStationBridgeCalls(station);
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
        MakePlayerSide();
    }
    ~InterceptWorld()
    {
        mission_.reset();
        TheResourceLoader = nullptr;
        loader.reset();
        SetStationBridgeCalls(previousStation);
        SetUnitBridgeCalls(previousUnitBridge);
        SetMissionAircraftCalls(previousAircraft);
        SetPlaneBridgeCalls(previousBridge);
        SetMissionCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
    }

    // The mission against `targetIDs`, made once the contacts are in place.
    InterceptMission& Make(std::initializer_list<uint16_t> targetIDs = {})
    {
        IDList list;
        for (const uint16_t id : targetIDs)
            list.Insert(new IDNode(id));
        mission_ = std::make_unique<InterceptMission>(InterceptMission::KIND, "Intercept", &list, &noting);
        mission_->SetKey(5);
        return *mission_;
    }
    InterceptMission& M() { return *mission_; }
    // A unit of the arena (own unit of the scanned record) in the mission.
    InterceptUnit& Craft(uint16_t id, char letter, const LatLonPoint& at = {},
                         int16_t state = MissionUnitState::IDLE)
    {
        auto* u = new InterceptUnit(id, letter);
        u->SetPosition(at);
        u->sideEntryID = record->GetKey();
        units.Insert(u);
        record->ownUnits.Insert(new IDNode(id));
        auto* r = new MissionUnitRec(id);
        r->state = state;
        M().units.Insert(r);
        return *u;
    }
    // A point `nm` nautical miles north of the origin.
    static LatLonPoint North(double nm)
    {
        return NavMath::Get_LatLonPoint_From_Vector({}, static_cast<int32_t>(nm * NM), 0);
    }
    // The queued events as (code, unit, value), head first; the queue is emptied.
    std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> Taken()
    {
        std::vector<std::tuple<uint8_t, uint16_t, uint16_t>> seen;
        while (Event* e = gam2arena::FindEvent(nullptr, EventCode::ANY)) {
            state.Queue().Remove(e);
            seen.emplace_back(e->TypeCode(), e->GetSubject(), static_cast<TestEvent*>(e)->Value());
            delete e;
        }
        return seen;
    }

    NotingSide noting;

private:
    std::unique_ptr<InterceptMission> mission_;
    UnitEventCalls previousEvents;
    MissionCalls previousCalls;
    PlaneBridgeCalls previousBridge;
    MissionAircraftCalls previousAircraft;
    UnitBridgeCalls previousUnitBridge;
    StationBridgeCalls previousStation;
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
};

using Events = std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>;

uint16_t Sensors(uint16_t mode, uint16_t type) { return static_cast<uint16_t>(mode << 8 | type); }

} // namespace

// ---- creation, saved form, validity ----

TEST(InterceptMission, NewMissionFromTheTargetsHeld)
{
    InterceptWorld world;
    Contact& air = world.AddContact(20, 0x4);
    air.name.Set("Bogey");
    air.contactNumber = 3;
    Contact& missile = world.AddContact(21, 0x8);
    missile.name.Set("Vampire");
    missile.contactNumber = 4;
    InterceptMission& m = world.Make({20, 21, 22});   // 22: no contact, adds nothing

    EXPECT_EQ(m.GetType(), 7);
    EXPECT_EQ(m.creationKind, 8);
    EXPECT_EQ(m.missionFlags, 0x2402u);
    EXPECT_EQ(m.targetClasses, 0xCu);
    EXPECT_NE(m.targets.Find(22), nullptr);
    EXPECT_EQ(std::string(m.GetSavedName()),
              ResourceString(0x7B0105) + "Bogey-3" + ResourceString(0x7B0106) + "Vampire-4");

    // Empty setting groups take this type's defaults.
    MissionNameRecord settings;
    settings.flagBits = OpsStaff::INTERCEPT_FLAGS;
    m.ApplySettings(settings);
    const uint16_t expected[3][4] = {{1800, 40, 120, 50}, {300, 50, 60, 50}, {90, 50, 60, 50}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m.settingGroup1[i], expected[0][i]);
        EXPECT_EQ(m.settingGroup2[i], expected[1][i]);
        EXPECT_EQ(m.settingGroup3[i], expected[2][i]);
    }

    // The tables make the class for kind 8 and type 7.
    IDList targets;
    targets.Insert(new IDNode(20));
    std::unique_ptr<MissionRecord> made(GetMissionKindMaker(8)(8, "I", &targets, 0, &world.noting));
    ASSERT_NE(dynamic_cast<InterceptMission*>(made.get()), nullptr);
    std::unique_ptr<MissionRecord> loaded(GetMissionLoadMaker(7)(7, &world.noting));
    ASSERT_NE(dynamic_cast<InterceptMission*>(loaded.get()), nullptr);
    EXPECT_EQ(loaded->GetType(), 7);
}

TEST(InterceptMission, SavedFormKeepsEveryTarget)
{
    InterceptWorld world;
    ScenarioAdmin admin;
    admin.SetFileVersion(VersionNumber(3, 6, 3, 0));
    ScenarioAdmin* const previousAdmin = gAdmin;
    gAdmin = &admin;
    InterceptMission& m = world.Make({40, 41});   // no contact on either
    world.Craft(1, 'P');

    std::ostringstream saved;
    ASSERT_TRUE(m.Save(saved));
    std::ostringstream base;
    m.SaveBase(base);
    const std::string tail = saved.str().substr(base.str().size());
    EXPECT_EQ(tail, std::string("\x02\x00\x28\x00\x29\x00", 6));

    InterceptMission loaded(7, &world.noting);
    std::istringstream in(saved.str().substr(2));   // the list reads the type code
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_NE(loaded.targets.Find(40), nullptr);
    EXPECT_NE(loaded.targets.Find(41), nullptr);
    EXPECT_EQ(loaded.GetID(), 5);
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), saved.str());

    // Every cut fails and keeps no target.
    for (size_t n = 0; n + 2 < saved.str().size(); ++n) {
        std::istringstream cut(saved.str().substr(2, n));
        InterceptMission partial(7, &world.noting);
        EXPECT_FALSE(partial.Load(cut)) << n;
        EXPECT_EQ(partial.targets.First(), nullptr) << n;
    }
    // In a mission section a cut mission is never listed.
    std::string section = std::string("\x01\x00", 2) + saved.str();
    for (size_t n = 2; n < section.size(); n += 3) {
        std::istringstream cut(section.substr(0, n));
        MissionList list(&world.noting);
        EXPECT_FALSE(list.Load(cut)) << n;
        EXPECT_EQ(list.First(), nullptr) << n;
    }
    gAdmin = previousAdmin;
}

TEST(InterceptMission, ValidOnlyWithUnits)
{
    InterceptWorld world;
    InterceptMission& m = world.Make({20});
    m.auxValue = 9;
    EXPECT_FALSE(m.IsValid());
    ASSERT_EQ(Notes().messages.size(), 1u);
    const Noted::Message& said = Notes().messages[0];
    EXPECT_EQ(said.text, ResourceString(0x7B0108) + "Intercept" + ResourceString(0x7B0107) + ResourceString(0x7B0109));
    EXPECT_EQ(said.sideID, 1);
    EXPECT_EQ(said.key, 9);
    EXPECT_EQ(said.messageClass, 0x100);
    EXPECT_FALSE(ResourceString(0x7B0108).empty());

    world.Craft(1, 'P');
    EXPECT_TRUE(m.IsValid());
    EXPECT_EQ(Notes().messages.size(), 1u);
}

// ---- classification, re-checks, tasks ----

TEST(InterceptMission, ClassifiesContacts)
{
    struct Row {
        const char* what;
        uint32_t classBits;
        uint8_t sideID;
        bool target;
        bool area;
        uint16_t known;
        uint8_t hostileAct, bandFlag;
        double nm;
        uint16_t course;
        uint16_t expected;
    } rows[] = {
        {"hostile target, plain", 0x1, 2, true, false, 0, 0, 0, 10, 0, 1},
        {"hostile target, vague", 0x1, 2, true, true, 0, 0, 0, 10, 0, 2},
        {"hostile target, vague but firm", 0x1, 2, true, true, 0x8, 0, 0, 10, 0, 1},
        {"hostile torpedo target is never plain", 0x800, 2, true, false, 0, 0, 0, 10, 0, 2},
        {"hostile target far away", 0x1, 2, true, false, 0, 0, 0, 500, 0, 1},
        {"hostile ship, plain", 0x1, 2, false, false, 0, 0, 0, 10, 0, 1},
        {"hostile ship, vague", 0x1, 2, false, true, 0, 0, 0, 10, 0, 0},
        {"hostile ship, second mark", 0x1, 2, false, false, 0, 0, 1, 10, 0, 0},
        {"hostile ship out of reach", 0x1, 2, false, false, 0, 0, 0, 100, 0, 0},
        {"hostile ship far, heading for the unit", 0x1, 2, false, false, 0x2, 0, 0, 100, 180, 1},
        {"friendly target", 0x1, 3, true, false, 0, 0, 0, 10, 0, 0},
        {"unknown target, plain", 0x4, 0, true, false, 0, 0, 0, 10, 0, 1},
        {"unknown target, vague", 0x4, 0, true, true, 0, 0, 0, 10, 0, 2},
        {"unknown missile of a ship", 0x8, 0, false, false, 0, 0, 0, 10, 0, 1},
        {"unknown torpedo on course", 0x800, 0, false, false, 0x2, 0, 0, 10, 90, 5},
        {"unknown torpedo, no course", 0x800, 0, false, false, 0, 0, 0, 10, 0, 0},
        {"unknown ship that fired", 0x1, 0, false, false, 0, 1, 0, 10, 0, 1},
        {"unknown ship", 0x1, 0, false, false, 0, 0, 0, 10, 0, 0},
    };
    uint16_t id = 100;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        world.AddUnit(id, 'S', InterceptWorld::North(r.nm), false);   // the contact's unit
        Contact& c = world.AddContact(id, r.classBits, InterceptWorld::North(r.nm), r.sideID);
        if (r.area)
            c.SetArea(new Uncertain_Poly(InterceptWorld::North(r.nm), 0));
        c.knownBits = r.known;
        c.course = r.course;
        c.hostileAct = r.hostileAct;
        c.bandFlag = r.bandFlag;
        InterceptMission& m = world.Make(r.target ? std::initializer_list<uint16_t>{id} : std::initializer_list<uint16_t>{});
        world.Craft(1, 'P').reachTenths = 200;   // 20 nm
        EXPECT_EQ(m.ClassifyContact(&c, world.record), r.expected);
        ++id;
    }

    // Lost contacts and air tracks of class 0x6000 are out of reach.
    InterceptWorld world;
    Contact& lost = world.AddContact(30, 0x1, InterceptWorld::North(1));
    lost.conditionBits = 0x8;
    Contact& track = world.AddContact(31, 0x4, InterceptWorld::North(1));
    track.bandWord = 0x6000;
    InterceptMission& m = world.Make({30, 31});
    world.Craft(1, 'P').reachTenths = 200;
    EXPECT_FALSE(m.IsContactInReach(&lost, world.record));
    EXPECT_TRUE(m.IsContactInReach(&track, world.record));   // a target
    m.targets.DeleteAll();
    EXPECT_FALSE(m.IsContactInReach(&track, world.record));
}

TEST(InterceptMission, RecheckIntervals)
{
    struct Row {
        uint32_t classBits;
        uint16_t code;
        uint8_t sideID;
        uint32_t seconds;
    } rows[] = {
        {0x4, 1, 2, 5},    {0x8, 1, 2, 1},    {0x800, 1, 2, 15},  {0x1, 1, 2, 15},
        {0x4, 2, 2, 15},   {0x8, 2, 2, 1},    {0x800, 2, 2, 45},  {0x1, 2, 2, 45},
        {0x4, 5, 2, 5},    {0x8, 5, 2, 1},    {0x14, 5, 2, 5},
        {0x4, 0, 2, 60},   {0x8, 0, 2, 5},    {0x800, 0, 2, 120}, {0x1, 0, 2, 300},
        {0x8, 3, 0, 5},    {0x8, 0, 3, 3600}, {0x1, 4, 3, 3600},
    };
    InterceptWorld world;
    InterceptMission& m = world.Make();
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.classBits << " code " << r.code);
        Contact c;
        c.SetTypeFlags(r.classBits);
        c.sideId = r.sideID;
        m.ScheduleContactCheck(&c, r.code);
        EXPECT_EQ(c.pendingHold, r.seconds);
    }
}

TEST(InterceptMission, TaskPrioritiesAndQueues)
{
    InterceptWorld world;
    struct Row {
        uint16_t id;
        uint32_t classBits;
        uint16_t priority;
    } rows[] = {{20, 0x1, 100}, {21, 0x4, 100}, {30, 0x8, 90}, {31, 0xC, 90}, {32, 0x4, 80}, {33, 0x1, 10}, {34, 0x2, 10}};
    for (const Row& r : rows)
        world.AddContact(r.id, r.classBits);
    InterceptMission& m = world.Make({20, 21});
    for (const Row& r : rows) {
        std::unique_ptr<MissionTask> task(m.MakeTask(world.record->GetContact(r.id)));
        EXPECT_EQ(task->priority, r.priority) << r.id;
    }

    // A plain hostile target is engaged, a vague one kept for interceptors;
    // a target no longer worth anything is given up.
    world.Craft(1, 'P').reachTenths = 200;
    Contact& vague = *world.record->GetContact(21);
    vague.SetArea(new Uncertain_Poly(LatLonPoint{}, 0));
    vague.stickyFlags = 0x5;
    m.ConsiderContact(world.record->GetContact(20), world.record);
    m.ConsiderContact(&vague, world.record);
    ASSERT_NE(m.engageTasks.First(), nullptr);
    EXPECT_EQ(m.engageTasks.First()->targetID, 20);
    ASSERT_NE(m.keptTasks.First(), nullptr);
    EXPECT_EQ(m.keptTasks.First()->targetID, 21);
    vague.sideId = 3;   // now friendly
    m.ConsiderContact(&vague, world.record);
    EXPECT_EQ(m.targets.Find(21), nullptr);
    EXPECT_EQ(vague.stickyFlags, 0x1);
}

// ---- allocation ----

TEST(InterceptMission, TaskSatisfiedRules)
{
    struct Row {
        uint32_t classBits;
        bool target;
        uint16_t needCount, needValue, allocatedCount, allocatedValue;
        bool expected;
    } rows[] = {
        {0x2, false, 0, 0, 1, 0, true},     {0x2, false, 0, 0, 0, 0, false},
        {0x2, true, 0, 0, 5, 0, false},     // a target not yet held by the unit is open to it
        {0x4, false, 2, 0, 3, 0, true},     {0x4, false, 2, 0, 2, 0, false},   // one more than needed
        {0x8, false, 0, 0, 1, 0, true},     {0x14, false, 1, 0, 2, 0, true},
        {0x1, false, 9, 50, 9, 49, false},  // by value only, never by count
        {0x1, false, 0, 50, 0, 50, true},   {0x1, true, 0, 0, 0, 0, false},
    };
    InterceptWorld world;
    InterceptMission& m = world.Make({20});
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.classBits << " target " << r.target);
        MissionTask task(r.target ? 20 : 21);
        task.needCount = r.needCount;
        task.needValue = r.needValue;
        task.allocatedCount = r.allocatedCount;
        task.allocatedValue = r.allocatedValue;
        EXPECT_EQ(m.IsTaskSatisfied(&task, r.classBits, nullptr), r.expected);
    }
    // A unit already engaging the target finds it open.
    InterceptUnit& unit = world.Craft(1, 'P');
    unit.TargetingRecords().Insert(new AttackOptionSet(20));
    MissionTask task(20);
    task.allocatedCount = 1;
    EXPECT_TRUE(m.IsTaskSatisfied(&task, 0x2, &unit));
}

TEST(InterceptMission, AllocationByTimeAndByValue)
{
    using planningtest::Option;
    InterceptWorld world;
    InterceptMission& m = world.Make({20});
    world.Craft(1, 'P');
    world.Craft(2, 'P');
    StockEntry stock;
    stock.count = 50;
    Contact& air = world.AddContact(20, 0x4);

    // By time: want = needCount + 2, each pick earlier than the one before.
    const uint32_t times[] = {50, 30, 30, 40};
    for (const uint32_t t : times)
        m.timedRecords.Append(new TimedRecord(Option(1, 20, &stock, 0x1, 10, t)));
    m.timedRecords.Append(new TimedRecord(Option(2, 20, &stock, 0x2, 10, 10)));
    m.timedRecords.Append(new TimedRecord(Option(2, 20, &stock, 0x2, 10, 20)));
    MissionTask task(20);
    task.allocatedCount = 5;   // not subtracted from what is wanted
    EXPECT_EQ(m.AllocateByTime(&task, &air), 30u);
    EXPECT_EQ(task.allocatedCount, 7);
    std::vector<int> quantities;
    for (const TimedRecord* o = m.timedRecords.First(); o; o = o->GetNext())
        quantities.push_back(o->quantity);
    EXPECT_EQ(quantities, (std::vector<int>{0, 1, 0, 0, 1, 0}));   // 30 first, then the earliest below it
    m.timedRecords.DeleteAll();

    // A missile's own time limit bounds the first pick.
    world.AddUnit(21, 'W', {}, false).timeLimit = 25;
    Contact& missile = world.AddContact(21, 0x8);
    m.timedRecords.Append(new TimedRecord(Option(1, 21, &stock, 0x1, 10, 30)));
    m.timedRecords.Append(new TimedRecord(Option(1, 21, &stock, 0x1, 10, 24)));
    MissionTask missileTask(21);
    m.AllocateByTime(&missileTask, &missile);
    EXPECT_EQ(missileTask.allocatedCount, 1);
    EXPECT_EQ(m.timedRecords.First()->quantity, 0);
    m.timedRecords.DeleteAll();

    // By value: the largest values until needValue, count untouched.
    Contact& ship = world.AddContact(22, 0x1);
    MissionTask valued(22);
    valued.needValue = 100;
    valued.allocatedValue = 70;   // not subtracted
    StockEntry one;
    one.count = 1;   // the 60 goes once, then the 50
    m.timedRecords.Append(new TimedRecord(Option(1, 22, &one, 0x2, 60, 5)));
    m.timedRecords.Append(new TimedRecord(Option(1, 22, &stock, 0x4, 50, 5)));
    m.AllocateByValue(&valued, &ship);
    EXPECT_EQ(valued.allocatedValue, 70 + 60 + 50);
    EXPECT_EQ(valued.allocatedCount, 0);
    m.timedRecords.DeleteAll();

    // Then by count with a halving threshold, then fillers.
    MissionTask counted(22);
    counted.needValue = 100;
    counted.needCount = 1;   // want 2
    m.timedRecords.Append(new TimedRecord(Option(1, 22, &stock, 0x1, 20000, 5)));
    StockEntry once45, once30;
    once45.count = 1;
    once30.count = 1;
    m.timedRecords.Append(new TimedRecord(Option(1, 22, &once45, 0x1, 45, 5)));
    m.timedRecords.Append(new TimedRecord(Option(1, 22, &once30, 0x1, 30, 5)));
    m.AllocateByValue(&counted, &ship);
    EXPECT_EQ(counted.allocatedCount, 2);
    quantities.clear();
    for (const TimedRecord* o = m.timedRecords.First(); o; o = o->GetNext())
        quantities.push_back(o->quantity);
    EXPECT_EQ(quantities, (std::vector<int>{0, 1, 1}));
    m.timedRecords.DeleteAll();

    StockEntry fillers;
    fillers.count = 5;
    MissionTask filled(22);
    filled.needValue = 40;
    m.timedRecords.Append(new TimedRecord(Option(1, 22, &fillers, 0x10, 15, 5)));
    m.AllocateByValue(&filled, &ship);
    EXPECT_EQ(m.timedRecords.First()->quantity, 3);
    EXPECT_EQ(filled.allocatedValue, 45);
    m.timedRecords.DeleteAll();
}

TEST(InterceptMission, KeptTasks)
{
    struct Row {
        const char* what;
        bool target, withOption, wantedFlag;
        uint8_t changed, bandFlag, marks;
        bool kept;
    } rows[] = {
        {"no options", false, false, false, 0, 0, 0, true},
        {"wanted target option", true, true, true, 0, 0, 0, true},
        {"wanted, interceptor already assigned", true, true, true, 0, 0, 0x4, false},
        {"option on a contact that is no target", false, true, true, 0, 0, 0, false},
        {"allocated", false, false, false, 1, 0, 0, false},
        {"second status mark", false, false, false, 0, 1, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        Contact& c = world.AddContact(20, 0x4);
        c.bandFlag = r.bandFlag;
        c.stickyFlags = r.marks;
        InterceptMission& m = world.Make(r.target ? std::initializer_list<uint16_t>{20} : std::initializer_list<uint16_t>{});
        auto* task = new MissionTask(20);
        task->changed = r.changed;
        if (r.withOption)
            task->options.Append(new TimedRecord(planningtest::Option(1, 20, nullptr, 1, 1, 1, r.wantedFlag ? 0x100 : 0)));
        m.KeepTask(task, 0x4, &c);
        EXPECT_EQ(m.keptTasks.First() != nullptr, r.kept);
        m.keptTasks.DeleteAll();
    }
}

// ---- assignment and end test ----

TEST(InterceptMission, AssignmentAndSpareAircraft)
{
    InterceptWorld world;
    Contact& target = world.AddContact(20, 0x1, InterceptWorld::North(40));
    target.threat[2] = 3;
    target.threat[3] = 3;
    target.threat[4] = 3;   // strength 3: two aircraft of 2 weapons
    InterceptMission& m = world.Make({20});
    world.Craft(1, 'P', InterceptWorld::North(0));
    world.Craft(2, 'P', InterceptWorld::North(30));
    world.Craft(3, 'P', InterceptWorld::North(20));
    world.Craft(4, 'S', InterceptWorld::North(35)).weapons = 0;   // cannot engage
    m.units.Find(4)->homeMission = 6;
    world.Craft(5, 'P', InterceptWorld::North(39)).weapons = 0;   // cannot engage, from the standing mission
    world.Craft(6, 'P', InterceptWorld::North(39), 2);            // busy
    world.Craft(7, 'P', InterceptWorld::North(39));
    m.units.Find(7)->leaderID = 50;                                // left to its group
    m.keptTasks.Append(new MissionTask(20));

    m.OnSideScanned(world.record);
    // The two nearest go first, the remaining free one is given the task too.
    for (const uint16_t id : {1, 2, 3}) {
        EXPECT_EQ(m.units.Find(id)->state, InterceptState::PROCEEDING) << id;
        EXPECT_EQ(m.units.Find(id)->targetID, 20) << id;
    }
    ASSERT_EQ(Notes().paths.size(), 3u);
    EXPECT_EQ(Notes().paths[0].unitID, 2);
    EXPECT_EQ(Notes().paths[1].unitID, 3);
    EXPECT_EQ(Notes().paths[2].unitID, 1);
    EXPECT_EQ(target.stickyFlags & 0x4, 0x4);
    EXPECT_EQ(Notes().postures, (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(m.units.Find(7)->state, MissionUnitState::IDLE);
    EXPECT_EQ(m.units.Find(6)->state, 2);

    // The two that could not go are reported and sent back.
    ASSERT_EQ(Notes().messages.size(), 2u);
    EXPECT_NE(Notes().messages[0].text.find(ResourceString(0x7B0104)), std::string::npos);
    EXPECT_EQ(Notes().messages[0].messageClass, 0x20);
    EXPECT_EQ(Notes().moves, (std::vector<std::string>{"move 4 to 6", "standing 5 from 5"}));
    EXPECT_EQ(m.extraIDs.First(), nullptr);

    // A kept task the side no longer sees sends nobody.
    InterceptWorld lonely;
    InterceptMission& quiet = lonely.Make({20});
    lonely.Craft(1, 'P');
    quiet.keptTasks.Append(new MissionTask(20));
    quiet.OnSideScanned(lonely.record);
    EXPECT_EQ(quiet.units.Find(1)->state, MissionUnitState::IDLE);
    EXPECT_EQ(Notes().messages.size(), 1u);
}

TEST(InterceptMission, EndTestPrunesThenFinishes)
{
    InterceptWorld world;
    world.AddContact(20, 0x1);
    InterceptMission& m = world.Make({20, 21});
    world.Craft(1, 'P');

    m.OnSideScanned(world.record);   // no kept tasks: the end test
    EXPECT_EQ(m.targets.Find(21), nullptr);
    EXPECT_NE(m.targets.Find(20), nullptr);
    EXPECT_EQ(m.IsFinished(), 0);
    Contact* const gone = world.record->GetContact(20);
    world.record->contacts.Remove(gone);
    delete gone;
    m.OnSideScanned(world.record);   // pruned to empty: not finished yet
    EXPECT_EQ(m.targets.First(), nullptr);
    EXPECT_EQ(m.IsFinished(), 0);
    m.OnUnitRemoved(nullptr);        // no side: the targets are not looked at
    EXPECT_EQ(m.IsFinished(), 0);
    m.OnSideScanned(world.record);
    EXPECT_EQ(m.IsFinished(), 1);

    // Without units the mission is finished at once, but not while edited.
    InterceptWorld other;
    InterceptMission& empty = other.Make({20});
    empty.editUnits.Insert(new MissionUnitRec(3));
    empty.OnUnitRemoved(nullptr);
    EXPECT_EQ(empty.IsFinished(), 0);
    empty.editUnits.DeleteAll();
    empty.OnUnitRemoved(nullptr);
    EXPECT_EQ(empty.IsFinished(), 1);
}

TEST(InterceptMission, ReleaseAndQuery)
{
    InterceptWorld world;
    InterceptMission& m = world.Make({20});
    world.Craft(1, 'P', {}, InterceptState::CLOSING_PLAIN);
    m.units.Find(1)->targetID = 20;
    world.Craft(2, 'S', {}, InterceptState::SHADOWING);
    m.units.Find(2)->targetID = 20;
    m.units.Find(2)->homeMission = 7;
    world.Craft(3, 'P');
    m.units.Find(3)->homeMission = 8;
    EXPECT_EQ(m.QueryUnit(1, 20), 4);
    EXPECT_EQ(m.QueryUnit(1, 21), 0);
    EXPECT_EQ(m.QueryUnit(2, 20), 0);

    m.ReleaseAllUnits();
    EXPECT_EQ(Notes().moves, (std::vector<std::string>{"standing 1 from 5", "move 2 to 7", "move 3 to 8"}));
    EXPECT_EQ(m.units.Find(3)->state, MissionUnitState::DONE);
    EXPECT_EQ(world.Taken(), (Events{{LAND, 3, 0}}));
}

// ---- unit step ----

TEST(InterceptMission, ClosesWithinOneMile)
{
    struct Row {
        double nm;
        uint16_t known;
        int16_t expected;
    } rows[] = {
        {0.99, 0x8, InterceptState::CLOSING_PLAIN},
        {0.99, 0, InterceptState::CLOSING},
        {1.01, 0x8, InterceptState::PROCEEDING},   // just beyond a mile: still flies there
        {3.0, 0, InterceptState::PROCEEDING},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.nm << " nm, known " << r.known);
        InterceptWorld world;
        Contact& c = world.AddContact(20, 0x1, InterceptWorld::North(r.nm));
        c.SetArea(new Uncertain_Poly(InterceptWorld::North(r.nm), 0));
        c.knownBits = r.known;
        InterceptMission& m = world.Make({20});
        world.Craft(1, 'P', {}, InterceptState::PROCEEDING);
        m.units.Find(1)->targetID = 20;
        m.units.Find(1)->targetClass = 0x1;
        m.StepUnit(1, 0);
        EXPECT_EQ(m.units.Find(1)->state, r.expected);
        const bool closing = r.expected != InterceptState::PROCEEDING;
        EXPECT_EQ(Notes().paths.empty(), closing);
        const Events events = world.Taken();
        EXPECT_EQ(!events.empty() && std::get<0>(events.back()) == MISSION_UNIT, closing);
    }

    // A non-zero code gives the intercept up.
    InterceptWorld world;
    world.AddContact(20, 0x1, InterceptWorld::North(3));
    InterceptMission& m = world.Make({20});
    world.Craft(1, 'P', {}, InterceptState::PROCEEDING);
    m.units.Find(1)->targetID = 20;
    m.StepUnit(1, 1);
    EXPECT_EQ(m.units.Find(1)->state, MissionUnitState::IDLE);
    EXPECT_EQ(world.Taken(), (Events{{MISSION_UNIT, 1, 0}}));
}

TEST(InterceptMission, ClosingLegAgainstSubmarines)
{
    struct Row {
        uint32_t targetClass;
        double nm;
        uint16_t capabilities;
        double legNm;
        int16_t state;
    } rows[] = {
        {0x2, 50, 0, 30, InterceptState::CLOSING},
        {0x2, 50, 0x4, 30, InterceptState::DIPPING},   // the dipping sonar goes down
        {0x2, 20, 0, 20, InterceptState::CLOSING},
        {0x1, 50, 0x4, 50, InterceptState::CLOSING},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.targetClass << std::dec << " at " << r.nm);
        InterceptWorld world;
        Notes().capabilities = r.capabilities;
        Contact& c = world.AddContact(20, r.targetClass, InterceptWorld::North(r.nm));
        c.SetArea(new Uncertain_Poly(InterceptWorld::North(r.nm), 0));
        InterceptMission& m = world.Make({20});
        world.Craft(1, 'P', {}, InterceptState::CLOSING);
        m.units.Find(1)->targetID = 20;
        m.units.Find(1)->targetClass = r.targetClass;
        m.StepUnit(1, 0);
        ASSERT_EQ(Notes().paths.size(), 1u);
        const int32_t leg = NavMath::Get_Vector({}, Notes().paths[0].point).range;
        EXPECT_NEAR(leg, r.legNm * NM, 8);
        EXPECT_EQ(m.units.Find(1)->state, r.state);
    }

    // Against a plain submarine the closing unit drops a sonobuoy at its point.
    InterceptWorld world;
    world.AddContact(20, 0x2, InterceptWorld::North(5));
    InterceptMission& m = world.Make({20});
    world.Craft(1, 'P', {}, InterceptState::CLOSING_PLAIN);
    m.units.Find(1)->targetID = 20;
    m.units.Find(1)->targetClass = 0x2;
    m.StepUnit(1, 0);
    ASSERT_EQ(Notes().paths.size(), 1u);
    EXPECT_EQ(Notes().paths[0].events, (std::vector<uint8_t>{DROP_SONOBUOY}));
    EXPECT_EQ(m.units.Find(1)->state, InterceptState::DROPPING);
}

TEST(InterceptMission, StepGatesAndIdleUnits)
{
    InterceptWorld world;
    world.AddContact(20, 0x1, InterceptWorld::North(20));
    InterceptMission& m = world.Make({20});
    InterceptUnit& member = world.Craft(1, 'P', {}, InterceptState::PROCEEDING);
    member.SetParentID(50);
    m.units.Find(1)->targetID = 20;
    InterceptUnit& shadow = world.Craft(2, 'P', {}, InterceptState::ORDERED);
    shadow.SetParentID(50);
    world.Craft(3, 'P');
    InterceptUnit& ordered = world.Craft(4, 'P');
    ordered.SetStateFlags(SimObject::PATH_REQUESTED);

    m.StepUnit(1, 0);   // a group member in state 2 is the group's
    EXPECT_TRUE(world.Taken().empty());
    EXPECT_EQ(m.missionFlags & 0x1, 0u);
    m.StepUnit(2, 0);   // but one told to engage shadows
    EXPECT_EQ(m.units.Find(2)->state, InterceptState::SHADOWING);
    EXPECT_EQ(m.missionFlags & 0x1, 0x1u);
    m.StepUnit(4, 0);   // under direct orders
    EXPECT_TRUE(world.Taken().empty());

    // An idle unit holds the lowest altitude of its envelope at speed 0.
    m.StepUnit(3, 0);
    EXPECT_EQ(world.Taken(), (Events{{SET_SENSORS, 3, Sensors(3, 1)}, {SET_SENSORS, 3, Sensors(3, 7)},
                                     {SET_ALTITUDE, 3, 10}, {SET_SPEED, 3, 5}}));
}

TEST(InterceptMission, Altitudes)
{
    struct Row {
        char letter;
        uint32_t targetClass;
        int16_t contactAltitude;
        int16_t expected;
    } rows[] = {
        {'P', 0x2, 0, 50},  {'A', 0x12, 0, 50}, {'U', 0x2, 0, -10}, {'S', 0x2, 0, -10},
        {'P', 0x4, 70, 70}, {'U', 0x8, 70, 70}, {'P', 0x4, 30, 50}, {'P', 0x4, 0, 50},
        {'P', 0x1, 0, 50},  {'U', 0x1, 0, -4},  {'S', 0x20, 0, -4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.letter << " " << std::hex << r.targetClass);
        InterceptWorld world;
        Contact& c = world.AddContact(20, r.targetClass);
        c.SetAltitude(r.contactAltitude);
        InterceptMission& m = world.Make({20});
        InterceptUnit& unit = world.Craft(1, r.letter);
        EXPECT_EQ(m.GetTaskAltitude(&unit, 20, r.targetClass), r.expected);
    }
    InterceptWorld world;
    InterceptMission& m = world.Make();
    EXPECT_EQ(m.GetPatrolAltitude(&world.Craft(1, 'P'), 0), 10);
    EXPECT_EQ(m.GetPatrolAltitude(&world.Craft(2, 'U'), 0), 10);
    EXPECT_EQ(m.GetPatrolAltitude(&world.Craft(3, 'S'), 0), 0);
}

TEST(InterceptMission, EmissionSettings)
{
    struct Row {
        const char* what;
        char letter;
        int16_t state;
        uint32_t flags;
        bool withPath;
        Events expected;
    } rows[] = {
        {"not yet stepped", 'S', 2, 0x2404, false, {}},
        {"ship, radar on, sonar and ECM off", 'S', 2, 0x2405, false,
         {{SET_SENSORS, 1, Sensors(2, 1)}, {SET_SENSORS, 1, Sensors(3, 7)}, {SET_SENSORS, 1, Sensors(3, 5)}}},
        {"plane: no sonar order", 'P', 2, 0x2405, false, {{SET_SENSORS, 1, Sensors(2, 1)}, {SET_SENSORS, 1, Sensors(3, 7)}}},
        {"attacking: radar and ECM on", 'P', 6, 0x2403, false, {{SET_SENSORS, 1, Sensors(2, 1)}, {SET_SENSORS, 1, Sensors(2, 7)}}},
        {"shadowing ship: ECM and sonar on", 'S', 3, 0x1, false, {{SET_SENSORS, 1, Sensors(2, 7)}, {SET_SENSORS, 1, Sensors(2, 5)}}},
        {"closing ship on the move", 'S', 9, 0x401, true, {{SET_SENSORS, 1, Sensors(2, 5)}}},
        {"closing ship at rest", 'S', 9, 0x1, false, {{SET_SENSORS, 1, Sensors(3, 5)}}},
        {"periodic radar", 'P', 2, 0x9, false, {{SET_SENSORS, 1, Sensors(2, 1)}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        InterceptMission& m = world.Make();
        InterceptUnit& unit = world.Craft(1, r.letter, {}, r.state);
        if (r.withPath)
            unit.SetPath(new PositionNode(LatLonPoint{}));
        m.missionFlags = r.flags;
        m.DefaultSettingGroup1();
        gam2arena::PostEvent(new TestEvent(SET_SENSORS, 1, 0xFFFF));   // an older order, removed
        m.SetUnitPosture(1, m.units.Find(1));
        EXPECT_EQ(world.Taken(), r.expected);
        EXPECT_EQ(m.units.Find(1)->markBits, 1);
    }
    EXPECT_EQ(Notes().timings, (std::vector<std::tuple<uint16_t, uint16_t, uint8_t>>{{1, 1800, 40}}));

    // Once applied, nothing is posted or removed until the state changes.
    InterceptWorld world;
    InterceptMission& m = world.Make();
    world.Craft(1, 'S', {}, 2);
    m.missionFlags = 0x2405;
    m.units.Find(1)->markBits = 1;
    gam2arena::PostEvent(new TestEvent(SET_SENSORS, 1, 0xFFFF));
    m.SetUnitPosture(1, m.units.Find(1));
    EXPECT_EQ(world.Taken(), (Events{{SET_SENSORS, 1, 0xFFFF}}));
}

TEST(InterceptMission, AircraftPosture)
{
    struct Row {
        char letter;
        uint32_t classBits;
        std::vector<uint32_t> expected;
    } rows[] = {
        {'P', 0x0, {0}},  {'P', 0x1, {1}},     {'A', 0x2, {2}},  {'P', 0x4, {8}}, {'P', 0x8, {0x10}},
        {'P', 0x14, {8}}, {'P', 0x6, {4}},     {'P', 0x20, {4}}, {'S', 0x4, {}},
    };
    for (const Row& r : rows) {
        InterceptWorld world;
        InterceptMission& m = world.Make();
        InterceptUnit& unit = world.Craft(1, r.letter);
        m.SetAircraftPosture(&unit, r.classBits);
        EXPECT_EQ(Notes().postures, r.expected) << r.letter << " " << std::hex << r.classBits;
    }
}

TEST(InterceptMission, AttackerStateChanges)
{
    struct Row {
        const char* what;
        int16_t state;
        uint8_t sameUnit;
        int16_t expected;
        Events events;
    } engageRows[] = {
        {"proceeding aircraft engages", InterceptState::PROCEEDING, 0, InterceptState::ENGAGING, {{MISSION_UNIT, 1, 0}}},
        {"its own launch is no engagement", InterceptState::PROCEEDING, 1, InterceptState::PROCEEDING, {}},
        {"free aircraft attacks", MissionUnitState::IDLE, 1, InterceptState::ATTACKING, {{MISSION_UNIT, 1, 0}}},
        {"closing aircraft only sets its emissions", InterceptState::CLOSING, 0, InterceptState::CLOSING, {}},
    };
    for (const Row& r : engageRows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        Contact& c = world.AddContact(20, 0x4);
        InterceptMission& m = world.Make({20});
        world.Craft(1, 'P', {}, r.state);
        m.units.Find(1)->markBits = 1;
        m.OnEngageResult(1, 1, &c, r.sameUnit);
        EXPECT_EQ(m.units.Find(1)->state, r.expected);
        EXPECT_EQ(world.Taken(), r.events);
        if (r.state == MissionUnitState::IDLE) {
            EXPECT_EQ(m.units.Find(1)->targetID, 20);
        }
    }

    // The idle check of attackers: no weapons left, or no contacts left.
    struct IdleRow {
        const char* what;
        int16_t state;
        int32_t weapons;
        bool engaged;
        int16_t expected;
        uint16_t targetID;
    } idleRows[] = {
        {"no weapons left", InterceptState::ENGAGING, 0, true, MissionUnitState::IDLE, 0},
        {"still engaging", InterceptState::ENGAGING, 2, true, InterceptState::ENGAGING, 20},
        {"engagement over: after the target again", InterceptState::ENGAGING, 2, false, InterceptState::PROCEEDING, 20},
        {"attack over: free", InterceptState::ATTACKING, 2, false, MissionUnitState::IDLE, 0},
        {"other states are left alone", InterceptState::CLOSING, 0, false, InterceptState::CLOSING, 20},
    };
    for (const IdleRow& r : idleRows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        InterceptMission& m = world.Make({20});
        InterceptUnit& unit = world.Craft(1, 'P', {}, r.state);
        unit.weapons = r.weapons;
        if (r.engaged)
            unit.TargetingRecords().Insert(new AttackOptionSet(20));
        m.units.Find(1)->targetID = 20;
        m.CheckIdleState(m.units.Find(1));
        EXPECT_EQ(m.units.Find(1)->state, r.expected);
        EXPECT_EQ(m.units.Find(1)->targetID, r.targetID);
    }

    // News of a target: lost, or firm again for a closing unit.
    struct NewsRow {
        const char* what;
        int16_t state;
        uint32_t condition;
        uint16_t known;
        int16_t expected;
        bool stepped;
    } newsRows[] = {
        {"proceeding, target lost", InterceptState::PROCEEDING, 0x8, 0, MissionUnitState::IDLE, false},
        {"proceeding, target moved", InterceptState::PROCEEDING, 0, 0, InterceptState::PROCEEDING, true},
        {"closing, target firm again", InterceptState::CLOSING, 0, 0x8, InterceptState::PROCEEDING, true},
        {"closing, target still vague", InterceptState::CLOSING, 0, 0, InterceptState::CLOSING, true},
        {"engaging without contacts", InterceptState::ENGAGING, 0, 0, InterceptState::PROCEEDING, true},
        {"engaging, target lost", InterceptState::ENGAGING, 0x8, 0, MissionUnitState::IDLE, false},
    };
    for (const NewsRow& r : newsRows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        Contact& c = world.AddContact(20, 0x1, InterceptWorld::North(5));
        c.SetArea(new Uncertain_Poly(InterceptWorld::North(5), 0));
        c.conditionBits = r.condition;
        c.knownBits = r.known;
        c.changeBits = 0x4;
        c.stickyFlags = 0x4;
        InterceptMission& m = world.Make({20});
        world.Craft(1, 'P', {}, r.state);
        m.units.Find(1)->targetID = 20;
        m.ConsiderContact(&c, world.record);
        EXPECT_EQ(m.units.Find(1)->state, r.expected);
        const Events events = world.Taken();
        EXPECT_EQ(!events.empty() && std::get<0>(events.back()) == MISSION_UNIT, r.stepped);
        EXPECT_EQ(c.stickyFlags & 0x4, r.expected == MissionUnitState::IDLE ? 0 : 0x4);
    }
}

TEST(InterceptMission, ShadowEngageAndDipSteps)
{
    // A shadowing unit the engagement test refuses goes free: alone it is
    // stepped again, in a group its group is told.
    for (const uint16_t leader : {0, 50}) {
        InterceptWorld world;
        InterceptMission& m = world.Make({20});
        world.AddContact(20, 0x1, InterceptWorld::North(40));
        world.Craft(1, 'S', {}, InterceptState::SHADOWING).SetParentID(leader);
        m.units.Find(1)->targetID = 20;
        m.units.Find(1)->leaderID = leader;
        m.StepUnit(1, 0);
        EXPECT_EQ(m.units.Find(1)->state, MissionUnitState::IDLE) << leader;
        const Events events = world.Taken();
        EXPECT_EQ(!events.empty() && std::get<0>(events.back()) == MISSION_UNIT, leader == 0) << leader;
    }

    // An engaging unit: lost target, no contacts left, no home base.
    struct Row {
        const char* what;
        bool contact;
        bool engaged;
        int16_t expected;
    } rows[] = {
        {"target gone", false, true, MissionUnitState::IDLE},
        {"no contacts left", true, false, InterceptState::PROCEEDING},
        {"still engaging, no base to pull back to", true, true, MissionUnitState::IDLE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        if (r.contact)
            world.AddContact(20, 0x4, InterceptWorld::North(5));
        InterceptMission& m = world.Make({20});
        InterceptUnit& unit = world.Craft(1, 'P', {}, InterceptState::ENGAGING);
        if (r.engaged)
            unit.TargetingRecords().Insert(new AttackOptionSet(20));
        m.units.Find(1)->targetID = 20;
        m.units.Find(1)->targetClass = 0x4;
        m.StepUnit(1, 0);
        EXPECT_EQ(m.units.Find(1)->state, r.expected);
        EXPECT_TRUE(Notes().paths.empty());
    }

    // A dipping unit waits two minutes at the end of its path, then closes.
    InterceptWorld world;
    world.AddContact(20, 0x2, InterceptWorld::North(5));
    InterceptMission& m = world.Make({20});
    InterceptUnit& unit = world.Craft(1, 'P', {}, InterceptState::DIPPING);
    m.units.Find(1)->targetID = 20;
    m.units.Find(1)->targetClass = 0x2;
    unit.SetPath(new PositionNode(InterceptWorld::North(1)));
    m.StepUnit(1, 0);
    const Event* waiting = unit.GetPath()->GetEvents().First();
    ASSERT_NE(waiting, nullptr);
    EXPECT_EQ(waiting->TypeCode(), MISSION_UNIT);
    EXPECT_EQ(waiting->GetTime().Get(), 120u);
    EXPECT_EQ(m.units.Find(1)->state, InterceptState::DIPPING);
    unit.ClearPath();
    m.units.Find(1)->markBits = 1;
    m.StepUnit(1, 0);
    EXPECT_EQ(m.units.Find(1)->state, InterceptState::CLOSING);
    EXPECT_EQ(world.Taken(), (Events{{SET_ALTITUDE, 1, 50}, {SET_SPEED, 1, 12}, {MISSION_UNIT, 1, 0}}));
}

// A plane with a home base draws back toward it by a share of the way that
// depends on its step, and one that no target takes lands there.
TEST(InterceptMission, PlanesWithAHomeBase)
{
    // The plane at the origin, its base 100 nm north: the leg ends the share
    // in percent of the way, in nautical miles.
    const auto addPlane = [](InterceptWorld& world, int16_t state) -> Plane& {
        world.AddUnit(50, 'B', InterceptWorld::North(100), false);
        auto* plane = new Plane();
        plane->SetKey(1);
        plane->homeBaseID = 50;
        plane->sideEntryID = world.record->GetKey();
        world.units.Insert(plane);
        world.record->ownUnits.Insert(new IDNode(1));
        auto* r = new MissionUnitRec(1);
        r->state = state;
        r->targetID = 20;
        r->targetClass = 0x4;
        world.M().units.Insert(r);
        return *plane;
    };
    struct Row {
        const char* what;
        int16_t state;
        uint8_t code;
        bool engaged;
        int lowPercent, highPercent;
    } rows[] = {
        {"plain target, non-zero code", InterceptState::CLOSING_PLAIN, 1, false, 5, 14},
        {"engaging", InterceptState::ENGAGING, 0, true, 10, 29},
        {"closing on a target at its own position", InterceptState::CLOSING, 0, false, 1, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        InterceptWorld world;
        world.AddContact(20, 0x4);   // at the plane
        InterceptMission& m = world.Make({20});
        Plane& plane = addPlane(world, r.state);
        if (r.engaged)
            plane.TargetingRecords().Insert(new AttackOptionSet(20));
        m.StepUnit(1, r.code);
        EXPECT_EQ(m.units.Find(1)->state, r.state);
        ASSERT_EQ(Notes().paths.size(), 1u);
        const int32_t range = NavMath::Get_Vector({}, Notes().paths[0].point).range;
        EXPECT_GE(range, r.lowPercent * NM - NM / 10);
        EXPECT_LE(range, r.highPercent * NM + NM / 10);
    }

    // A spare plane from a created mission is sent to land at its base and
    // is not moved by the side.
    InterceptWorld world;
    world.AddContact(20, 0x1, InterceptWorld::North(40));
    InterceptMission& m = world.Make({20});
    addPlane(world, MissionUnitState::IDLE);
    m.units.Find(1)->homeMission = 7;
    m.keptTasks.Append(new MissionTask(20));
    m.OnSideScanned(world.record);
    ASSERT_EQ(Notes().messages.size(), 1u);
    EXPECT_TRUE(Notes().moves.empty());
    EXPECT_EQ(world.Taken(), (Events{{LAND, 1, 50}}));
}
