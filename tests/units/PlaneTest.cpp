// PlaneTest.cpp: the aircraft in flight: its speed floor, circling, terrain
// following, fuel range and the turn for home, running dry, hovering sonar,
// the reach tests, the choice of a home base, its task word and the return
// when its weapons are spent, its evasion of a missile, the hit, its status
// lines and its record in the unit list.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/NavMath.h"
#include "core/ScenarioAdmin.h"
#include "core/Units.h"
#include "support/SampleMap.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/SideRecords.h"
#include "units/Status.h"
#include "units/StationBridge.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"
#include "world/Nav2Game.h"

namespace {

using namespace unittest;

constexpr int32_t DEGREE = ANGLE_PER_DEGREE;
constexpr int32_t NM = RANGE_PER_NM;

const LatLonPoint HOME_POSITION = samplemap::At(74.0, 0.6);
// The key of the side record the test aircraft belong to.
constexpr uint16_t ENTRY_KEY = 7;

LatLonPoint Away(const LatLonPoint& from, int32_t range, int32_t bearing = 0)
{
    return NavMath::Get_LatLonPoint_From_Vector(from, range, bearing);
}

// What the stand-ins saw.
struct Seen {
    static Seen*& Active() { static Seen* active = nullptr; return active; }
    std::vector<std::string> messages;
    std::vector<uint16_t> ownUnits;        // the side record's own units
    int blockedLegs = 0;                   // legs refused before one is open
    bool noLegs = false;                   // every leg refused
    bool pathPlanned = true;
    uint32_t classification = 0x7000;
    uint16_t contactKey = 0;
    int pathNodes = 0;                     // the path last handed to a unit
    int firstNodeEvents = 0;
    LatLonPoint firstNode;
};

Event* MakeLand(uint16_t unit, uint16_t base, GameTime due)
{
    auto* e = new TestEvent(EventCode::LAND, unit, base);
    e->SetDueTime(due);
    return e;
}
Event* MakeAltitude(uint16_t unit, int32_t altitude, GameTime due)
{
    auto* e = new TestEvent(EventCode::SET_ALTITUDE, unit, static_cast<uint16_t>(altitude));
    e->SetDueTime(due);
    return e;
}
Event* MakeMissionUnit(uint16_t unit, GameTime due)
{
    auto* e = new TestEvent(EventCode::MISSION_UNIT, unit);
    e->SetDueTime(due);
    return e;
}

// A unit that takes aircraft: its largest aircraft size and its room.
class BaseUnit : public TestUnit {
public:
    BaseUnit(char letter, uint32_t size, int32_t room) : TestUnit(letter), size_(size), room_(room) {}
    uint32_t GetMaxAircraftSize(bool, bool) const override { return size_; }
    int32_t GetAircraftRoom(uint32_t) const override { return room_; }

private:
    uint32_t size_;
    int32_t room_;
};

// A missile in flight from a launcher.
class MissileUnit : public TestUnit {
public:
    explicit MissileUnit(uint16_t launcher) : TestUnit('W'), launcher_(launcher) {}
    uint16_t GetLauncherID() const override { return launcher_; }

private:
    uint16_t launcher_;
};

// A jet plant: settings 0 to 3 at 100, 300, 400 and 500 knots in every band
// from sea level to 5000, fuel rate 1 in each band.
PropulsionPlant* MakeJetPlant()
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    plant->engineType = EngineType::JET;
    plant->hasFuel = 1;
    const uint16_t speeds[] = {100, 300, 400, 500};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {5000, 0, speeds[row]};
    }
    for (uint16_t& rate : plant->useRate)
        rate = 1;
    return plant;
}

// Counts of aviation fuel that give `nm` nautical miles at the jet's cruise
// (300 knots at 60 units an hour: 100 units a count last 100 seconds).
uint32_t CountsFor(uint32_t nm)
{
    return nm * 3600 / 300 / 100;
}

class PlaneTest : public testing::Test {
protected:
    PlaneTest()
    {
        Seen::Active() = &seen;
        UnitEventCalls events = SetUnitEventCalls(UnitEventCalls());
        previousEvents = events;
        events.makeLandEvent = &MakeLand;
        events.makeSetAltitudeEvent = &MakeAltitude;
        events.makeMissionUnitEvent = &MakeMissionUnit;
        SetUnitEventCalls(events);

        PlaneBridgeCalls plane;
        plane.postGameMessage = [](uint16_t, uint16_t, const char* text, uint16_t, char) {
            Seen::Active()->messages.emplace_back(text);
        };
        plane.isOwnUnit = [](const SideContacts&, uint16_t id) {
            for (uint16_t own : Seen::Active()->ownUnits)
                if (own == id)
                    return true;
            return false;
        };
        plane.areFriendly = [](uint16_t a, uint16_t b) { return a == b || a + b == 3; };   // sides 1 and 2
        plane.getClassification = [](const Contact&) { return Seen::Active()->classification; };
        previousPlane = SetPlaneBridgeCalls(plane);

        UnitBridgeCalls bridge;
        bridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) {
            Seen& s = *Seen::Active();
            if (s.noLegs)
                return false;
            return s.blockedLegs-- <= 0;
        };
        bridge.setUnitPath = [](uint16_t, const PositionNode* path) {
            Seen& s = *Seen::Active();
            s.pathNodes = 0;
            for (const PositionNode* n = path; n != nullptr; n = n->GetNext())
                ++s.pathNodes;
            s.firstNode = path->GetPosition();
            int events = 0;
            for (const Event* e = path->GetEvents().First(); e != nullptr; e = e->GetNext())
                ++events;
            s.firstNodeEvents = events;
        };
        previousBridge = SetUnitBridgeCalls(bridge);

        StationBridgeCalls station;
        station.buildNavPath = [](uint16_t, PositionNode*) { return Seen::Active()->pathPlanned; };
        previousStation = SetStationBridgeCalls(station);

        SideCalls sides;
        sides.getContactKey = [](const Contact&) { return Seen::Active()->contactKey; };
        previousSides = SetSideCalls(sides);

        gam2arena::SideListCalls records;
        records.findSide = [](uint16_t key) {
            static unsigned char record[64] = {};
            return key == ENTRY_KEY ? reinterpret_cast<SideContacts*>(record) : nullptr;
        };
        previousRecords = gam2arena::SetSideListCalls(records);

        UnitList::SetArenaList(&units);
        Annex::Tables().Create();
    }
    ~PlaneTest() override
    {
        Annex::Tables().Delete();
        UnitList::SetArenaList(nullptr);
        gam2arena::SetSideListCalls(previousRecords);
        SetSideCalls(previousSides);
        SetStationBridgeCalls(previousStation);
        SetUnitBridgeCalls(previousBridge);
        SetPlaneBridgeCalls(previousPlane);
        SetUnitEventCalls(previousEvents);
        Seen::Active() = nullptr;
    }

    // A jet aircraft of side 1, id 30, at HOME_POSITION and altitude 100,
    // with `counts` of aviation fuel, in the unit list.
    Plane& AddPlane(uint32_t counts = 1000, uint32_t flags = 0)
    {
        auto* p = new Plane();
        p->SetKey(30);
        p->SetSideID(1);
        p->SetName("Hawk 1");
        p->sideEntryID = ENTRY_KEY;
        p->aircraftFlags = flags;
        p->SetPosition(HOME_POSITION);
        p->SetAltitude(100);
        p->plants.Insert(MakeJetPlant());
        p->fuelTanks.Append(MakeTank(FuelType::AVIATION, counts, counts));
        p->ComputeCruise();
        p->SetSpeed(300, 100);
        units.Insert(p);
        return *p;
    }

    template <typename T>
    T& Add(T* unit, uint16_t id, const LatLonPoint& at, uint16_t side = 1)
    {
        unit->SetKey(id);
        unit->SetSideID(side);
        unit->SetPosition(at);
        units.Insert(unit);
        return *unit;
    }

    BaseUnit& AddBase(uint16_t id, char letter, int32_t range, uint16_t side = 1)
    {
        return Add(new BaseUnit(letter, 0x1FF, 4), id, Away(HOME_POSITION, range), side);
    }

    UnitWorld world;
    Seen seen;
    UnitList units;
    UnitEventCalls previousEvents;
    PlaneBridgeCalls previousPlane;
    UnitBridgeCalls previousBridge;
    StationBridgeCalls previousStation;
    SideCalls previousSides;
    gam2arena::SideListCalls previousRecords;
};

}  // namespace

TEST_F(PlaneTest, ASpeedBelowAFifthOfTheTopIsRaisedToItOrStopsAHoveringType)
{
    Plane& fixed = AddPlane();
    EXPECT_EQ(fixed.SetSpeed(1, 100), 100);
    EXPECT_EQ(fixed.SetSpeed(250, 100), 250);
    fixed.aircraftFlags = Plane::HOVERS;
    EXPECT_EQ(fixed.SetSpeed(1, 100), 0);
    fixed.aircraftFlags = 0x4000;
    EXPECT_EQ(fixed.SetSpeed(99, 100), 0);
}

TEST_F(PlaneTest, CruiseIsTheBestSpeedPerFuelAndAnEqualBandWidensItUpward)
{
    Plane p;
    auto* plant = MakeJetPlant();
    plant->speedTable[1][0] = {100, 0, 200};
    plant->speedTable[1][1] = {300, 100, 400};
    plant->speedTable[1][2] = {600, 300, 300};
    plant->speedTable[1][3] = {900, 600, 0};
    plant->useRate[0] = 4;   // ratio 5000
    plant->useRate[1] = 8;   // ratio 5000: equal, widens the band
    plant->useRate[2] = 9;   // ratio 3333
    plant->useRate[3] = 1;   // speed 0: skipped
    p.plants.Insert(plant);
    p.ComputeCruise();
    EXPECT_EQ(p.cruiseSpeed, 200);
    EXPECT_EQ(p.cruiseBurnRate, 240u);
    EXPECT_EQ(p.cruiseBandLow, 0);
    EXPECT_EQ(p.cruiseBandHigh, 300);

    Plane none;
    none.ComputeCruise();
    EXPECT_EQ(none.cruiseSpeed, 0);
}

TEST_F(PlaneTest, CirclingMovesOneMileInTenSecondsAt360KnotsAndTurns20Degrees)
{
    struct Case {
        const char* what;
        int blocked;
        bool noLegs;
        int32_t startCourse;
        bool moves;
        int32_t endCourse;
    };
    const Case cases[] = {
        {"open sea ahead", 0, false, 0, true, 20 * DEGREE},
        {"land ahead for two tries", 2, false, 0, true, 80 * DEGREE},
        {"turning past north", 0, false, 350 * DEGREE, true, 10 * DEGREE},
        {"no open way at all", 0, true, 10 * DEGREE, false, 10 * DEGREE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        units.DeleteAll();
        seen.blockedLegs = c.blocked;
        seen.noLegs = c.noLegs;
        Plane& p = AddPlane();
        p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
        ASSERT_EQ(p.SetSpeed(360, 100), 360);
        p.course = c.startCourse;
        const LatLonPoint start = p.GetPosition();
        p.Move(10);
        const int32_t moved = NavMath::Get_Vector(start, p.GetPosition()).range;
        if (c.moves)
            EXPECT_NEAR(moved, 4096, 2);
        else
            EXPECT_EQ(p.GetPosition(), start) << moved;
        EXPECT_EQ(p.course, c.endCourse);
    }
}

TEST_F(PlaneTest, AHoveringTypeWithoutAPathStaysPut)
{
    Plane& p = AddPlane(1000, Plane::HOVERS);
    p.SetSpeed(300, 100);
    p.Move(10);
    EXPECT_EQ(p.GetPosition(), HOME_POSITION);
}

TEST_F(PlaneTest, FlyingThePathPostsTheEventsOfAPointReachedAndSlowsAtTheEnd)
{
    Plane& p = AddPlane();
    p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
    auto* node = new PositionNode(Away(HOME_POSITION, NM / 2, 90 * DEGREE));
    node->AddEvent(new TestEvent(EventCode::STATION_UPDATE, 30));
    p.path.Append(node);
    p.SetSpeed(300, 100);
    p.Move(10);   // 0.83 nautical miles: the point is reached
    EXPECT_EQ(p.GetPath(), nullptr);
    EXPECT_EQ(world.Queued(EventCode::STATION_UPDATE).size(), 1u);
    EXPECT_EQ(p.speed, 100);   // the idle setting at its altitude
    EXPECT_NEAR(p.course, 90 * DEGREE, DEGREE);
}

TEST_F(PlaneTest, TerrainFollowingOverARidge)
{
    std::string error;
    std::unique_ptr<Map> map = samplemap::LoadSampleMap(
        error, [](bool land, bool, int32_t, int32_t lon) -> int16_t {
            if (!land)
                return -800;
            return lon >= samplemap::Deg(1.0) ? 3200 : 320;
        });
    ASSERT_NE(map, nullptr) << error;
    Map* const previous = gMap;
    gMap = map.get();
    struct Case {
        const char* what;
        int16_t above;
        uint32_t flags;
        bool keepsHeight;   // else: exactly 10 above the new ground
    };
    const Case cases[] = {
        {"5 above keeps 5", 5, 0, true},
        {"20 above is held 10 above the higher ground", 20, 0, false},
        {"20 above hugging the terrain keeps 20", 20, 0x20, true},
        {"20 above hugging the terrain keeps 20 (0x40)", 20, 0x40, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        units.DeleteAll();
        Plane& p = AddPlane(1000, c.flags);
        p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
        p.SetPosition(samplemap::At(72.3, 0.70));   // mainland, rising eastward
        const int16_t oldGround = Nav2Game::GetAltitudeAt(p.GetPosition());
        p.SetAltitude(static_cast<int16_t>(oldGround + c.above));
        p.SetSpeed(500, p.PositionObject::GetAltitude());
        p.course = 90 * DEGREE;
        p.Move(10);
        const int16_t newGround = Nav2Game::GetAltitudeAt(p.GetPosition());
        ASSERT_GT(newGround, oldGround + 20);
        EXPECT_EQ(p.PositionObject::GetAltitude(), newGround + (c.keepsHeight ? c.above : 10));
    }
    // Flying down the slope: 20 above keeps its altitude, 5 above keeps its
    // height.
    for (int16_t above : {int16_t{20}, int16_t{5}}) {
        units.DeleteAll();
        Plane& p = AddPlane();
        p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
        p.SetPosition(samplemap::At(72.3, 0.80));
        const int16_t oldGround = Nav2Game::GetAltitudeAt(p.GetPosition());
        p.SetAltitude(static_cast<int16_t>(oldGround + above));
        p.SetSpeed(500, p.PositionObject::GetAltitude());
        p.course = 270 * DEGREE;
        p.Move(10);
        const int16_t newGround = Nav2Game::GetAltitudeAt(p.GetPosition());
        ASSERT_LT(newGround, oldGround);
        EXPECT_EQ(p.PositionObject::GetAltitude(), above > 10 ? oldGround + above : newGround + above);
    }
    gMap = previous;
}

TEST_F(PlaneTest, AtRangeOneMileShortOfItsBaseThePlaneTurnsHomeOnce)
{
    struct Case {
        int32_t baseNm;
        size_t lands;
    };
    for (const Case c : {Case{100, 0}, Case{101, 1}}) {
        SCOPED_TRACE(c.baseNm);
        units.DeleteAll();
        while (Event* e = world.arena.Queue().First()) {
            world.arena.Queue().Remove(e);
            delete e;
        }
        seen.messages.clear();
        Plane& p = AddPlane(CountsFor(100));
        p.homeBaseID = AddBase(40, 'F', c.baseNm * NM + NM / 2).GetID();
        uint16_t low = 0, high = 0, range = 0;
        EXPECT_EQ(p.GetFuelRange(low, high, range), 300);
        EXPECT_EQ(range, 100);
        p.Move(0);
        p.Move(0);
        const std::vector<TestEvent*> lands = world.Queued(EventCode::LAND);
        ASSERT_EQ(lands.size(), c.lands);
        EXPECT_EQ(seen.messages.size(), c.lands);
        EXPECT_EQ(p.TestFlags(Plane::RETURNING), c.lands != 0);
        EXPECT_EQ(p.homeLegFuel, (p.cruiseBurnRate / 100) * ((uint32_t(c.baseNm) * 60) / 300));
        if (c.lands != 0) {
            EXPECT_EQ(lands[0]->GetSubject(), 30);
            EXPECT_EQ(lands[0]->Value(), 40);
            EXPECT_NE(seen.messages[0].find("Hawk 1 is low on fuel"), std::string::npos) << seen.messages[0];
        }
    }
}

TEST_F(PlaneTest, FuelBelowTheReserveGivesNoRangeAndTurnsThePlaneHome)
{
    Plane& p = AddPlane(CountsFor(25));
    p.rangeReserve = 50;
    p.homeBaseID = AddBase(40, 'F', 5 * NM + NM / 2).GetID();
    uint16_t low = 0, high = 0, range = 0;
    p.GetFuelRange(low, high, range);
    EXPECT_EQ(range, 0);
    p.Move(0);
    EXPECT_EQ(world.Queued(EventCode::LAND).size(), 1u);
}

TEST_F(PlaneTest, WithLessFuelThanTheReserveTheSearchReachesOnlyAsFarAsTheFuel)
{
    Plane& p = AddPlane(CountsFor(25));
    p.rangeReserve = 50;
    AddBase(40, 'F', 30 * NM);
    p.ChooseHomeBase();
    EXPECT_EQ(p.homeBaseID, 0) << "30 nautical miles lie beyond the fuel on board";
    AddBase(41, 'F', 20 * NM);
    p.ChooseHomeBase();
    EXPECT_EQ(p.homeBaseID, 41);
}

TEST_F(PlaneTest, TheReservesAreATenthOfTheFullTanks)
{
    Plane& p = AddPlane(CountsFor(950));   // 114 counts: 950 nautical miles
    p.ComputeReserves();
    EXPECT_EQ(p.rangeReserve, 95);
    EXPECT_EQ(p.reserveFuel, 11u);
    uint16_t low = 0, high = 0, range = 0;
    p.GetFuelRange(low, high, range);
    EXPECT_EQ(range, 855);
    // Worked out again with the tanks half empty, they stay what the full
    // tanks gave, and the fuel on board is untouched.
    FuelTank* const tank = p.fuelTanks.First();
    tank->SetCount(57);
    tank->SetPartial(40);
    p.ComputeReserves();
    EXPECT_EQ(p.rangeReserve, 95);
    EXPECT_EQ(p.reserveFuel, 11u);
    EXPECT_EQ(tank->GetCount(), 57u);
    EXPECT_EQ(tank->GetPartial(), 40u);
}

TEST_F(PlaneTest, RunningDryCrashesThePlaneWithOneMessage)
{
    Plane& p = AddPlane(1);
    p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
    p.Move(200);
    EXPECT_TRUE(p.TestFlags(Plane::DESTROYED));
    EXPECT_EQ(world.Queued(EventCode::DELETE_UNIT).size(), 1u);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_NE(seen.messages[0].find("run out of fuel"), std::string::npos) << seen.messages[0];
    EXPECT_TRUE(world.Queued(EventCode::LAND).empty());
}

TEST_F(PlaneTest, AHitDestroysThePlaneOnce)
{
    Plane& p = AddPlane();
    EXPECT_EQ(p.TakeDamage(5, 0), 1);
    EXPECT_EQ(p.TakeDamage(5, 0), 0);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_NE(seen.messages[0].find("Hawk 1 has been shot down."), std::string::npos) << seen.messages[0];
}

TEST_F(PlaneTest, TheClimbRateIsAtLeast100AndDoubledForADescent)
{
    Plane p;
    p.climbRate = 40;
    EXPECT_EQ(p.GetClimbRate(1), 100);
    EXPECT_EQ(p.GetClimbRate(-1), 200);
    p.climbRate = 150;
    EXPECT_EQ(p.GetClimbRate(0), 150);
}

TEST_F(PlaneTest, AHoveringSonarListensOnlyLowAndStill)
{
    struct Case {
        int16_t altitude;
        uint16_t knots;
        uint32_t flags;
        uint32_t sonar;
        uint32_t dipping;
    };
    const Case cases[] = {
        {5, 0, 0, Sensor::STATE_PASSIVE, Sensor::STATE_ACTIVE},
        {5, 0, Plane::SONAR_ACTIVE, Sensor::STATE_ACTIVE, Sensor::STATE_ACTIVE},
        {6, 0, 0, Sensor::STATE_OFF, Sensor::STATE_OFF},
        {5, 60, 0, Sensor::STATE_OFF, Sensor::STATE_OFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.altitude * 1000 + c.knots);
        Plane p;
        auto* sonar = new TestSensor(Sensor::TYPE_PASSIVE_SONAR);
        sonar->SetKey(1);
        auto* dipping = new TestSensor(Sensor::TYPE_ACTIVE_ONLY_SONAR);
        dipping->SetKey(2);
        auto* radar = new TestSensor(Sensor::TYPE_RADAR);
        radar->SetKey(3);
        radar->Set(Sensor::STATE_ACTIVE);
        p.sensors.Insert(sonar);
        p.sensors.Insert(dipping);
        p.sensors.Insert(radar);
        p.SetFlags(c.flags);
        p.SetAltitude(c.altitude);
        p.speed = c.knots;
        p.UpdateSensorReach();
        EXPECT_EQ(sonar->GetState(), c.sonar);
        EXPECT_EQ(dipping->GetState(), c.dipping);
        EXPECT_EQ(radar->GetState(), Sensor::STATE_ACTIVE);
    }
}

TEST_F(PlaneTest, TheReachTestsWantElevenPointsToSpare)
{
    auto* record = new PlaneAnnex(7);
    record->usableRange = 100;
    record->loadouts.Insert(new NavIDNode(3, 0));
    for (int i = 0; i < PlaneAnnex::PERF_ENTRIES; ++i) {
        record->perfCeiling[i] = 5000;
        record->perfSpeed[i] = 400;
        record->perfRange[i] = 50;
    }
    Annex::Tables().Planes()->Insert(record);
    Plane& p = AddPlane(CountsFor(100));
    p.SetAnnexID(7);
    struct Case {
        int32_t outNm;
        bool half;
        bool reach;
    };
    // Full: 100 - 2 x out; half: 100 - (out / 2 + 2 x (out - out / 2)).
    const Case cases[] = {
        {45, false, false}, {44, false, true}, {45, true, true}, {60, true, false}, {59, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outNm * 10 + c.half);
        const LatLonPoint target = Away(HOME_POSITION, c.outNm * NM + NM / 2);
        EXPECT_EQ(c.half ? p.CanReachAndReturnHalf(target, 300, 100) : p.CanReachAndReturn(target, 300, 100),
                  c.reach);
    }
    const LatLonPoint near = Away(HOME_POSITION, NM);
    EXPECT_FALSE(p.CanReachAndReturn(near, 450, 100)) << "no setting that fast";
    EXPECT_FALSE(p.CanReachAndReturn(near, 300, 6000)) << "no band that high";
    p.loadoutID = 9;
    EXPECT_FALSE(p.CanReachAndReturn(near, 300, 100)) << "a loadout the type does not list";
    p.loadoutID = 3;
    EXPECT_FALSE(p.CanReachAndReturn(near, 300, 100)) << "a loadout of range 0";
    p.loadoutID = 0;
    p.SetAnnexID(8);
    EXPECT_FALSE(p.CanReachAndReturn(near, 300, 100)) << "no aircraft record";
}

TEST_F(PlaneTest, TheHomeBaseIsTheNearestOfTheMostPreferredClass)
{
    struct Case {
        const char* what;
        uint32_t flags;
        std::vector<uint16_t> own;
        uint16_t expected;
    };
    // Units: 41 'F' 20 nm, 42 'F' 30 nm, 43 'F' 50 nm (side 1); 44 'S' 10 nm,
    // 45 'B' 5 nm (side 1); 46 'F' 8 nm of friendly side 2; 47 'F' 7 nm of
    // hostile side 5; 48 'F' 150 nm, out of reach; 49 'F' 3 nm without room.
    const Case cases[] = {
        {"the nearer of two airfields", 0, {}, 41},
        {"a member of the side record first, even farther", 0, {43}, 43},
        {"a member of another side before non-members", 0, {46}, 46},
        {"a ship for a ship-based type", 0x100000, {}, 44},
        {"out of reach members do not count", 0, {48}, 41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        units.DeleteAll();
        seen.ownUnits = c.own;
        Plane& p = AddPlane(CountsFor(100), c.flags);
        AddBase(41, 'F', 20 * NM);
        AddBase(42, 'F', 30 * NM);
        AddBase(43, 'F', 50 * NM);
        AddBase(44, 'S', 10 * NM);
        AddBase(45, 'B', 5 * NM);
        AddBase(46, 'F', 8 * NM, 2);
        AddBase(47, 'F', 7 * NM, 5);
        AddBase(48, 'F', 150 * NM);
        Add(new BaseUnit('F', 0x1FF, 0), 49, Away(HOME_POSITION, 3 * NM));
        p.ChooseHomeBase();
        EXPECT_EQ(p.homeBaseID, c.expected);
    }
}

TEST_F(PlaneTest, FriendlySidesAndTheSizeOfTheBaseCount)
{
    Plane& p = AddPlane(CountsFor(100), 0x800 * 8);   // size class value 8
    AddBase(46, 'F', 8 * NM, 2);
    AddBase(47, 'F', 7 * NM, 5);
    Add(new BaseUnit('F', 7, 4), 41, Away(HOME_POSITION, 2 * NM));   // too small
    p.ChooseHomeBase();
    EXPECT_EQ(p.homeBaseID, 46);
}

TEST_F(PlaneTest, ABaseExactlyAtTheFullRangeIsAccepted)
{
    Plane& p = AddPlane(CountsFor(100));
    p.rangeReserve = 10;   // the search counts the reserve in
    // A position whose range from the plane is exactly 100 nautical miles.
    LatLonPoint at;
    int32_t placed = 100 * NM;
    for (int tries = 0; tries < 50; ++tries) {
        at = Away(HOME_POSITION, placed);
        const int32_t range = NavMath::Get_Vector(HOME_POSITION, at).range;
        if (range == 100 * NM)
            break;
        placed += 100 * NM - range;
    }
    ASSERT_EQ(NavMath::Get_Vector(HOME_POSITION, at).range, 100 * NM);
    Add(new BaseUnit('F', 0x1FF, 4), 41, at);
    p.ChooseHomeBase();
    EXPECT_EQ(p.homeBaseID, 41);
}

TEST_F(PlaneTest, NoBaseInReachIsReportedOncePerFlightAndSearchedAgain)
{
    Plane& p = AddPlane(CountsFor(100));
    AddBase(48, 'F', 150 * NM);
    p.Move(0);
    p.Move(0);
    EXPECT_EQ(p.homeBaseID, 0);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_NE(seen.messages[0].find("Hawk 1 cannot reach any friendly base!"), std::string::npos);
    AddBase(41, 'F', 20 * NM);
    p.Move(0);
    EXPECT_EQ(p.homeBaseID, 41);
}

class PlaneWeapons : public PlaneTest {
protected:
    PlaneWeapons()
    {
        Mount::Operations ops;
        // The rounds of the weapons whose target mask meets the mask.
        ops.sumWeaponRatings = [](const Mount& m, uint32_t mask, uint8_t) {
            int32_t sum = 0;
            for (const WeaponRec* r = m.weapons.First(); r != nullptr; r = r->GetNext()) {
                const WeaponAnnex* w = Annex::Tables().Weapons()->Find(r->weaponID);
                if (w != nullptr && (w->targetMask & mask) != 0)
                    sum += r->shotsLeft;
            }
            return sum;
        };
        previousMounts = Mount::SetOperations(ops);
        AddWeapon(101, 1, 0x1);      // against surface ships
        AddWeapon(102, 1, 0x4);      // against aircraft
        AddWeapon(103, 0x100, 0x2);  // sonobuoys
        AddWeapon(104, 1, 0x20);     // class 4
    }
    ~PlaneWeapons() override { Mount::SetOperations(previousMounts); }

    static void AddWeapon(uint16_t id, uint32_t kind, uint32_t mask)
    {
        auto* w = new WeaponAnnex(id);
        w->weaponKind = kind;
        w->targetMask = mask;
        Annex::Tables().Weapons()->Insert(w);
    }
    static WeaponRec* Load(Plane& p, uint16_t weaponID, uint16_t shots)
    {
        Mount* mount = p.mounts.Find(1);
        if (mount == nullptr) {
            mount = new Mount(1);
            p.mounts.Insert(mount);
        }
        auto* rec = new WeaponRec();
        rec->SetKey(mount->weapons.NewKey());
        rec->weaponID = weaponID;
        rec->shotsLeft = shots;
        mount->weapons.Insert(rec);
        return rec;
    }

    Mount::Operations previousMounts;
};

TEST_F(PlaneWeapons, TheTaskIsTheClassWithTheMostRounds)
{
    struct Case {
        const char* what;
        std::vector<std::pair<uint16_t, uint16_t>> load;
        uint32_t task;
    };
    const Case cases[] = {
        {"nothing", {}, 0},
        {"anti-ship", {{101, 2}}, 1},
        {"more anti-air", {{101, 2}, {102, 3}}, 8},
        {"a tie keeps the earlier class", {{104, 2}, {101, 2}}, 4},
        {"sonobuoys add their bit", {{101, 1}, {103, 4}}, 2 | Plane::TASK_SONOBUOYS},
        {"spent sonobuoys do not", {{101, 1}, {103, 0}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        units.DeleteAll();
        Plane& p = AddPlane();
        p.taskFlags = 0xFFFF;
        for (const auto& [id, shots] : c.load)
            Load(p, id, shots);
        p.ComputeTaskFlags();
        EXPECT_EQ(p.taskFlags, c.task);
    }
}

TEST_F(PlaneWeapons, WhenTheTasksWeaponsAreSpentThePlaneLandsOnce)
{
    Plane& p = AddPlane();
    p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
    WeaponRec* shipKiller = Load(p, 101, 1);
    Load(p, 102, 2);
    p.taskFlags = 1 | Plane::TASK_RECHECK;
    p.Move(0);
    EXPECT_TRUE(world.Queued(EventCode::LAND).empty()) << "one anti-ship round left";
    EXPECT_EQ(p.taskFlags, 1u);

    shipKiller->shotsLeft = 0;
    p.taskFlags |= Plane::TASK_RECHECK;
    p.Move(0);
    ASSERT_EQ(world.Queued(EventCode::LAND).size(), 1u);
    EXPECT_EQ(world.Queued(EventCode::LAND)[0]->Value(), 40);
    EXPECT_EQ(p.taskFlags, 0u);
    ASSERT_EQ(seen.messages.size(), 1u);
    EXPECT_NE(seen.messages[0].find("Hawk 1 has expended its weapons"), std::string::npos) << seen.messages[0];
    p.taskFlags = Plane::TASK_RECHECK;
    p.Move(0);
    EXPECT_EQ(world.Queued(EventCode::LAND).size(), 1u);
}

TEST_F(PlaneWeapons, ADippingSonarKeepsASonobuoyTaskOpen)
{
    Plane& p = AddPlane();
    p.homeBaseID = AddBase(40, 'F', 10 * NM).GetID();
    auto* sonar = new TestSensor(Sensor::TYPE_ACTIVE_SONAR);
    sonar->SetKey(1);
    p.sensors.Insert(sonar);
    EXPECT_EQ(p.GetCapabilities(2), 4u);
    EXPECT_EQ(p.GetCapabilities(0x12), 4u);
    Load(p, 103, 1);
    EXPECT_EQ(p.GetCapabilities(2), 6u);
    p.taskFlags = Plane::TASK_SONOBUOYS;
    p.mounts.Find(1)->weapons.First()->shotsLeft = 0;
    p.CheckWeaponsExpended();
    EXPECT_EQ(p.taskFlags, Plane::TASK_SONOBUOYS) << "the dipping sonar still serves the task";
}

TEST_F(PlaneTest, AnInboundMissileSendsThePlaneDownAndAway)
{
    Plane& p = AddPlane();
    const int16_t altitude = p.PositionObject::GetAltitude();
    Add(new TestUnit('S'), 50, Away(HOME_POSITION, 20 * NM, 0));   // launcher due north
    Add(new MissileUnit(50), 51, Away(HOME_POSITION, 10 * NM, 0));
    auto* onward = new PositionNode(Away(HOME_POSITION, 30 * NM, 180 * DEGREE));
    p.path.Append(onward);
    seen.contactKey = 51;
    alignas(8) unsigned char storage[64] = {};
    Contact& threat = *reinterpret_cast<Contact*>(storage);

    EXPECT_TRUE(p.EvadeThreat(threat));
    EXPECT_EQ(seen.pathNodes, 2) << "the escape point, then the path it had";
    EXPECT_EQ(seen.firstNodeEvents, 2);
    const NavVector escape = NavMath::Get_Vector(HOME_POSITION, seen.firstNode);
    EXPECT_NEAR(escape.range, 20480, 2);
    EXPECT_NEAR(escape.bearing, 180 * DEGREE, DEGREE / 10);
    const std::vector<TestEvent*> altitudes = world.Queued(EventCode::SET_ALTITUDE);
    ASSERT_EQ(altitudes.size(), 2u);
    EXPECT_EQ(altitudes[0]->Value(), 1);
    EXPECT_EQ(altitudes[0]->GetTime().Get(), 0u);
    EXPECT_EQ(altitudes[1]->Value(), altitude);
    EXPECT_EQ(altitudes[1]->GetTime().Get(), 120u);
    const std::vector<TestEvent*> speeds = world.Queued(EventCode::SET_SPEED);
    ASSERT_EQ(speeds.size(), 1u);
    EXPECT_EQ(speeds[0]->Value(), 500);
}

TEST_F(PlaneTest, TheEvasionNeedsAMissileAPlannedPathAndNoGroup)
{
    Plane& p = AddPlane();
    Add(new TestUnit('S'), 50, Away(HOME_POSITION, 20 * NM, 0));
    Add(new MissileUnit(50), 51, Away(HOME_POSITION, 10 * NM, 0));
    Add(new TestUnit('P'), 52, Away(HOME_POSITION, 20 * NM, 90 * DEGREE));
    Add(new MissileUnit(52), 53, Away(HOME_POSITION, 10 * NM, 90 * DEGREE));
    alignas(8) unsigned char storage[64] = {};
    Contact& threat = *reinterpret_cast<Contact*>(storage);
    struct Case {
        const char* what;
        uint16_t group;
        uint32_t classification;
        uint16_t key;
        bool planned;
        size_t altitudeEvents;
    };
    const Case cases[] = {
        {"in a group", 60, 0x7000, 51, true, 0},
        {"not a missile", 0, 0x7200, 51, true, 0},
        {"no such unit", 0, 0x71FF, 99, true, 0},
        {"fired by an aircraft: only the dive", 0, 0x7000, 53, true, 2},
        {"no path planned: only the dive", 0, 0x7000, 51, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        while (Event* e = world.arena.Queue().First()) {
            world.arena.Queue().Remove(e);
            delete e;
        }
        seen.pathNodes = 0;
        p.SetParentID(c.group);
        seen.classification = c.classification;
        seen.contactKey = c.key;
        seen.pathPlanned = c.planned;
        EXPECT_FALSE(p.EvadeThreat(threat));
        EXPECT_EQ(seen.pathNodes, 0);
        EXPECT_EQ(world.Queued(EventCode::SET_ALTITUDE).size(), c.altitudeEvents);
    }
}

TEST_F(PlaneTest, TheStatusShowsSpeedEnduranceLoadoutAndWeather)
{
    Plane& p = AddPlane(CountsFor(100));
    UnitStatus status;
    p.GetStatus(status);
    ASSERT_GE(status.lineCount, 13);
    EXPECT_STREQ(status.lines[1], "Hawk 1");
    EXPECT_STREQ(status.lines[2], "300 Cruise");
    char endurance[32] = {};
    FormatStatusTime(p.GetEndurance(), endurance);
    EXPECT_STREQ(status.lines[5], endurance);
    EXPECT_GT(p.GetEndurance(), 0);
    EXPECT_STREQ(status.lines[6], "Silent");
    EXPECT_STREQ(status.lines[7], "Minimal");
    EXPECT_STREQ(status.lines[9], "Clear");
    EXPECT_STREQ(status.lines[10], "Clear") << "no precipitation";
}

TEST_F(PlaneTest, TheLabelEndsWithTheAltitudeBand)
{
    Plane& p = AddPlane();
    p.UpdateLabel();
    const char* part = p.GetLabel();
    for (int i = 0; i < 3; ++i)
        part += std::strlen(part) + 1;
    EXPECT_STREQ(part, "Medium");
}

namespace {

Unit* MakePlane()
{
    return new Plane();
}

// A scenario header of a file version for the scope.
class VersionScope {
public:
    explicit VersionScope(VersionNumber version) : previous_(gAdmin)
    {
        admin_.SetFileVersion(version);
        gAdmin = &admin_;
    }
    ~VersionScope() { gAdmin = previous_; }

private:
    ScenarioAdmin admin_;
    ScenarioAdmin* previous_;
};

}  // namespace

TEST_F(PlaneTest, ThePlaneRoundTripsThroughTheUnitList)
{
    const UnitFactory::Maker previous = UnitFactory::Register('P', &MakePlane);
    auto* record = new PlaneAnnex(7);
    record->climbRate = 0;
    Annex::Tables().Planes()->Insert(record);
    Plane& p = AddPlane(CountsFor(100), 0x20000040);
    p.SetAnnexID(7);
    p.loadoutID = 3;
    p.homeBaseID = 41;
    p.taskFlags = 0x21;
    p.climbRate = 77;
    auto check = [&p](const UnitList& loaded, uint8_t climbRate) {
        auto* back = dynamic_cast<Plane*>(loaded.Find(30));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetAnnexID(), 7);
        EXPECT_EQ(back->loadoutID, 3);
        EXPECT_EQ(back->aircraftFlags, 0x20000040u);
        EXPECT_EQ(back->homeBaseID, 41);
        EXPECT_EQ(back->taskFlags, 0x21u);
        EXPECT_EQ(back->climbRate, climbRate);
        EXPECT_EQ(back->cruiseSpeed, p.cruiseSpeed);
        EXPECT_EQ(back->cruiseBurnRate, p.cruiseBurnRate);
        EXPECT_EQ(back->cruiseBandHigh, p.cruiseBandHigh);
        EXPECT_EQ(back->GetPosition(), p.GetPosition());
        EXPECT_EQ(back->speed, p.speed);
    };
    std::ostringstream out;
    ASSERT_TRUE(units.Save(out));
    const std::string bytes = out.str();
    {
        UnitList loaded;
        std::istringstream in(bytes);
        ASSERT_TRUE(loaded.Load(in));
        check(loaded, 77);
        EXPECT_EQ(dynamic_cast<Plane*>(loaded.Find(30))->rangeReserve, 10) << "from the tanks";
    }
    {
        // Saved with half its fuel burnt, the plane keeps the reserves of its
        // full tanks and the fuel it had.
        p.ComputeReserves();
        const uint16_t reserve = p.rangeReserve;
        const uint32_t fuelReserve = p.reserveFuel;
        p.fuelTanks.First()->SetCount(p.fuelTanks.First()->GetCapacity() / 2);
        std::ostringstream half;
        ASSERT_TRUE(units.Save(half));
        UnitList loaded;
        std::istringstream in(half.str());
        ASSERT_TRUE(loaded.Load(in));
        auto* back = dynamic_cast<Plane*>(loaded.Find(30));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->rangeReserve, reserve);
        EXPECT_EQ(back->reserveFuel, fuelReserve);
        EXPECT_EQ(back->fuelTanks.First()->GetCount(), p.fuelTanks.First()->GetCount());
    }
    // Files of 2.1.2 and 2.1.3: a plane without tanks, whose unit part those
    // versions lay out as this one does.
    p.fuelTanks.DeleteAll();
    std::ostringstream old;
    ASSERT_TRUE(units.Save(old));
    struct Case {
        const char* what;
        VersionNumber version;
        bool dropClimbByte;
        uint8_t recordClimbRate;
        uint8_t climbRate;
    };
    const Case cases[] = {
        {"2.1.3 reads the saved climb rate", VersionNumber(2, 1, 3, 0), false, 55, 77},
        {"2.1.2 takes the record's", VersionNumber(2, 1, 2, 0), true, 55, 55},
        {"2.1.2 takes 100 for the record's 0", VersionNumber(2, 1, 2, 0), true, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        record->climbRate = c.recordClimbRate;
        VersionScope scope(c.version);
        std::string image = old.str();
        if (c.dropClimbByte)
            image.erase(2 + 15, 1);   // after the count and the record's first 15 bytes
        UnitList loaded;
        std::istringstream in(image);
        ASSERT_TRUE(loaded.Load(in));
        check(loaded, c.climbRate);
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof()) << "the whole record read";
    }
    for (size_t cut : {size_t{3}, size_t{10}, size_t{17}, size_t{40}, bytes.size() - 1}) {
        SCOPED_TRACE(cut);
        UnitList loaded;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(loaded.Load(in));
        EXPECT_EQ(loaded.First(), nullptr);
    }
    UnitFactory::Register('P', previous);
}
