// VesselTest.cpp: ships and submarines: speed caps, noise figures, damage
// percentage, size classes, sensor height, signatures by depth, damage
// intake, the air facility condition refreshes, aircraft room, evasion, and
// the saved records through the unit list.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "annex/AirFacilityAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "support/SampleMap.h"
#include "units/PlaneBridge.h"
#include "units/Ship.h"
#include "units/SideRecords.h"
#include "units/StationBridge.h"
#include "units/Submarine.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"
#include "world/Map.h"
#include "world/Nav2Game.h"

using namespace unittest;

namespace {

const LatLonPoint HOME = samplemap::At(74.0, 0.6);
constexpr int32_t NM = RANGE_PER_NM;
constexpr int32_t DEGREE = ANGLE_PER_DEGREE;

// A plant whose flank speed is `top` knots at every altitude.
PropulsionPlant* MakePlant(uint16_t top)
{
    PropulsionPlant* plant = MakeDieselPlant(1);
    for (int band = 0; band < PropulsionPlant::BANDS; ++band)
        plant->speedTable[PlantSetting::FLANK][band].speed = top;
    return plant;
}

// What the stand-ins above the unit model saw.
struct Seen {
    static Seen*& Active() { static Seen* active = nullptr; return active; }
    LatLonPoint threat;
    uint16_t bandWord = 0;
    std::vector<bool> pathAnswers;            // BuildNavPath's answers in turn
    std::vector<LatLonPoint> askedPoints;     // the first point of each request
    int pathNodes = 0;
    int firstNodeEvents = 0;
    std::vector<std::string> messages;
    std::vector<std::pair<uint32_t, uint16_t>> actions;   // (action, second amount)
};

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
Event* MakeAction(uint16_t unit, uint32_t action, uint16_t, uint16_t second)
{
    Seen::Active()->actions.emplace_back(action, second);
    return new TestEvent(EventCode::MULTI_ACTION, unit, static_cast<uint16_t>(action));
}

class VesselTest : public ::testing::Test {
protected:
    VesselTest()
    {
        Seen::Active() = &seen;
        UnitEventCalls events = SetUnitEventCalls(UnitEventCalls());
        previousEvents = events;
        events.makeSetAltitudeEvent = &MakeAltitude;
        events.makeMissionUnitEvent = &MakeMissionUnit;
        events.makeMultiActionAmounts = &MakeAction;
        SetUnitEventCalls(events);

        SideCalls sides;
        sides.getContactAim = [](const Contact&, ContactAim& aim) {
            aim.position = Seen::Active()->threat;
            aim.bandWord = Seen::Active()->bandWord;
        };
        previousSides = SetSideCalls(sides);

        StationBridgeCalls station;
        station.buildNavPath = [](uint16_t, PositionNode* points) {
            Seen& s = *Seen::Active();
            s.askedPoints.push_back(points->GetPosition());
            const size_t turn = s.askedPoints.size() - 1;
            return turn < s.pathAnswers.size() && s.pathAnswers[turn];
        };
        previousStation = SetStationBridgeCalls(station);

        UnitBridgeCalls bridge;
        bridge.setUnitPath = [](uint16_t, const PositionNode* path) {
            Seen& s = *Seen::Active();
            s.pathNodes = 0;
            for (const PositionNode* n = path; n != nullptr; n = n->GetNext())
                ++s.pathNodes;
            s.firstNodeEvents = 0;
            for (const Event* e = path->GetEvents().First(); e != nullptr; e = e->GetNext())
                ++s.firstNodeEvents;
        };
        previousBridge = SetUnitBridgeCalls(bridge);

        PlaneBridgeCalls plane;
        plane.postGameMessage = [](uint16_t, uint16_t, const char* text, uint16_t, char) {
            Seen::Active()->messages.emplace_back(text);
        };
        previousPlane = SetPlaneBridgeCalls(plane);
    }
    ~VesselTest() override
    {
        SetPlaneBridgeCalls(previousPlane);
        SetUnitBridgeCalls(previousBridge);
        SetStationBridgeCalls(previousStation);
        SetSideCalls(previousSides);
        SetUnitEventCalls(previousEvents);
        Seen::Active() = nullptr;
    }

    // A ship at HOME with a plant of flank speed `top` and `points` damage
    // points.
    static void Equip(Vessel& v, int16_t points, uint16_t top = 28)
    {
        v.SetKey(10);
        v.SetPosition(HOME);
        PropulsionPlant* plant = MakePlant(top);
        plant->NoteFuel(FuelType::DIESEL);
        v.plants.Insert(plant);
        v.fuelTanks.Append(MakeTank(FuelType::DIESEL, 1000, 1000));
        v.SetDamagePoints(points);
    }

    UnitWorld world;
    Seen seen;

private:
    UnitEventCalls previousEvents;
    SideCalls previousSides;
    StationBridgeCalls previousStation;
    UnitBridgeCalls previousBridge;
    PlaneBridgeCalls previousPlane;
};

alignas(8) unsigned char gContactStorage[64] = {};
Contact& AnyContact()
{
    return *reinterpret_cast<Contact*>(gContactStorage);
}

}  // namespace

TEST(Vessel, SpeedCapByLossLevel)
{
    struct Row { uint16_t top, level, cap; };
    const Row rows[] = {
        {30, 0, 30}, {30, 1, 24}, {30, 2, 15}, {30, 3, 8}, {30, 4, 3}, {30, 5, 0},
        {1, 1, 3},   // rounded up: a crawl keeps some way on
        {0, 4, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.top << " kn at level " << r.level);
        EXPECT_EQ(Vessel::CapSpeed(r.top, r.level), r.cap);
    }
}

TEST_F(VesselTest, DamageRaisesTheSpeedLossAndCapsTheSpeed)
{
    Ship ship;
    Equip(ship, 200, 30);
    EXPECT_EQ(ship.SetSpeed(30, 0), 30);
    ship.TakeDamage(100, 0);   // 50 percent: two damage levels
    EXPECT_EQ(ship.GetSpeedLossLevel(), 2);
    EXPECT_EQ(world.Queued(EventCode::SET_SPEED).size(), 2u) << "one set-speed per level gained";
    EXPECT_EQ(ship.SetSpeed(30, 0), 15);
}

TEST_F(VesselTest, NoiseFiguresFollowTheSpeed)
{
    struct Row { uint16_t knots, rearSonar, tableValue, field4, field5; };
    const Row rows[] = {
        {3, 0, 0, 0xFFFE, 0},     // below 6 knots field 4 wraps negative
        {20, 0, 20, 7, 26},
        {23, 24, 23, 8, 38},      // rear noise: 24 / 3 + 30
        {50, 0, 38, 22, 45},      // above 45 knots the row of 45, field 4 uncapped
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.knots << " kn");
        Ship ship;
        ship.sonarTriples[0].Set(2, r.rearSonar);
        ship.speed = r.knots;
        ship.UpdateSpecialReach();
        EXPECT_EQ(ship.speedTableValue, r.tableValue);
        EXPECT_EQ(ship.GetNoiseValue(), r.field4);
        EXPECT_EQ(ship.GetRearNoiseValue(), r.field5);
    }
}

TEST(Vessel, DamagePercent)
{
    struct Row { int16_t points, full; int32_t percent; };
    const Row rows[] = {{200, 200, 0}, {100, 200, 50}, {1, 200, 99}, {0, 200, 100}, {-5, 200, 100}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.points << " of " << r.full);
        Ship ship;
        ship.SetDamagePoints(r.full);
        ship.damagePoints = r.points;
        EXPECT_EQ(ship.GetDamagePercent(), r.percent);
        EXPECT_EQ(ship.GetSeenDamagePercent(), r.percent);
        EXPECT_EQ(ship.GetActionDamagePercent(), r.percent);
    }
}

TEST(Vessel, SizeClasses)
{
    struct Row { int16_t points; uint8_t ship, sub; };
    const Row rows[] = {{9, 1, 2},    {10, 2, 2},   {39, 2, 2},   {40, 2, 8},    {49, 2, 8},   {50, 4, 8},
                        {139, 4, 8},  {140, 8, 8},  {150, 8, 8},  {151, 8, 16},  {449, 8, 16}, {450, 16, 16}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.points << " points");
        Ship ship;
        ship.SetDamagePoints(r.points);
        Submarine sub;
        sub.SetDamagePoints(r.points);
        EXPECT_EQ(ship.GetSizeClass(), r.ship);
        EXPECT_EQ(sub.GetSizeClass(), r.sub);
    }
}

TEST(Ship, SensorHeightAndHorizon)
{
    struct Row { uint16_t length; int16_t points; uint16_t height, horizon; };
    const Row rows[] = {
        {1500, 500, 3, 23},   // square root of 510 rounds to 23
        {1500, 449, 3, 23},
        {1500, 49, 5, 29},
        {250, 60, 1, 13},     // a length that divides to 0 gives height 1
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.length << " dm, " << r.points << " points");
        const uint16_t height = Ship::SensorHeightOf(r.length, r.points);
        EXPECT_EQ(height, r.height);
        EXPECT_EQ(Unit::HorizonOf(static_cast<int16_t>(height)), r.horizon);
    }
}

TEST(Submarine, SignaturesByDepth)
{
    struct Row { int16_t altitude; int16_t radar, visual, infrared; uint32_t mask; };
    const Row rows[] = {
        {0, 30, 10, 20, 1},
        {-1, -100, -100, 0, 2},
        {-2, -100, -100, 0, 2},
        {-3, -32000, -32000, -32000, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "altitude " << r.altitude);
        Submarine sub;
        sub.aspectValues[0].Set(1, 10);
        sub.aspectValues[1].Set(1, 20);
        sub.aspectValues[2].Set(1, 30);
        sub.sonarTriples[0].Set(1, 40);
        sub.SetAltitude(r.altitude);
        EXPECT_EQ(sub.GetRadarSignature(1), r.radar);
        EXPECT_EQ(sub.GetVisualSignature(1), r.visual);
        EXPECT_EQ(sub.GetInfraredSignature(1), r.infrared);
        EXPECT_EQ(sub.GetFirstSonarSignature(1), 40) << "sonar at every depth";
        EXPECT_EQ(sub.GetTargetMask(), r.mask);
    }
}

TEST_F(VesselTest, AnInstantKillSinksAnySubmarine)
{
    struct Row { int16_t points; int32_t amount; uint32_t kind; bool sunk; };
    const Row rows[] = {
        {20000, 61439, 0x10, true},   // used to wrap to 24097 points left
        {28670, 61439, 0x10, true},
        {100, 61439, 0x10, true},
        {100, 100, 0x10, true},
        {100, 10, 0x10, false},
        {100, 500, 8, false},         // bit 8: no points lost
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.amount << " on " << r.points);
        Submarine sub;
        Equip(sub, r.points);
        const int32_t result = sub.TakeDamage(r.amount, r.kind);
        EXPECT_EQ(result != 0, r.sunk);
        EXPECT_EQ(sub.TestFlags(Submarine::DESTROYED), r.sunk);
        EXPECT_EQ(sub.GetDamagePoints() == 0, r.sunk);
    }
}

TEST_F(VesselTest, ShipDamageIntake)
{
    struct Row { const char* what; int16_t points; int32_t amount; uint32_t kind; int16_t left; bool sunk; };
    const Row rows[] = {
        {"a hit short of the points", 100, 40, 0x20, 60, false},
        {"exactly the points left", 100, 100, 0x20, 0, true},
        {"kind 8 takes no points", 100, 500, 8, 100, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        seen.messages.clear();
        seen.actions.clear();
        Ship ship;
        Equip(ship, r.points);
        ship.SetName("Tarsk");
        const int32_t result = ship.TakeDamage(r.amount, r.kind);
        EXPECT_EQ(ship.GetDamagePoints(), r.left);
        EXPECT_EQ(ship.TestFlags(Ship::DESTROYED), r.sunk);
        if (r.sunk) {
            EXPECT_EQ(result, 1) << "the hit reached the full points";
            ASSERT_EQ(seen.messages.size(), 1u);
            EXPECT_EQ(seen.messages[0], "Tarsk has been sunk.");
            EXPECT_EQ(ship.TakeDamage(10, 0x20), 0) << "nothing more happens to a sunk ship";
        } else {
            EXPECT_EQ(result, 0);
        }
    }
}

TEST_F(VesselTest, KindEightAlwaysDrawsAnEffect)
{
    // With every damage class at level 0 each drawn effect stands; kind 8
    // drops only the codes 7, 12 and 14, so over many hits some arrive.
    Ship ship;
    Equip(ship, 100);
    for (int i = 0; i < 20; ++i)
        ship.TakeDamage(0, 8);
    EXPECT_FALSE(seen.actions.empty());
    for (const auto& [action, amount] : seen.actions) {
        EXPECT_NE(action, 7u);
        EXPECT_NE(action, 12u);
        EXPECT_NE(action, 14u);
    }
}

TEST(Ship, ConditionRefreshesClearFlagsWithoutDamagedFacilities)
{
    struct Row { const char* what; uint32_t type, state; void (Ship::*refresh)(); uint32_t flag; bool kept; };
    const Row rows[] = {
        {"hangar damaged keeps the hangar flag", AIR_FACILITY_PARKING, AIR_STATE_DAMAGED, &Ship::OnAction17,
         UnitFlag::HANGAR_HIT, true},
        {"parking repaired", AIR_FACILITY_PARKING, AIR_STATE_OFF, &Ship::OnAction17, UnitFlag::HANGAR_HIT, false},
        {"a damaged catapult is no hangar", AIR_FACILITY_CATAPULT, AIR_STATE_DESTROYED, &Ship::OnAction17,
         UnitFlag::HANGAR_HIT, false},
        {"any damaged facility keeps the deck flag", AIR_FACILITY_RUNWAY, AIR_STATE_DAMAGED, &Ship::OnAction16,
         UnitFlag::FLIGHT_DECK_HIT, true},
        {"deck repaired", AIR_FACILITY_RUNWAY, AIR_STATE_ACTIVE, &Ship::OnAction16, UnitFlag::FLIGHT_DECK_HIT,
         false},
        {"elevator destroyed", AIR_FACILITY_ELEVATOR, AIR_STATE_DESTROYED, &Ship::OnAction3,
         UnitFlag::AIR_OPS_DAMAGE, true},
        {"a damaged hangar is no catapult", AIR_FACILITY_HANGAR, AIR_STATE_DAMAGED, &Ship::OnAction3,
         UnitFlag::AIR_OPS_DAMAGE, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Ship ship;
        auto* entry = new AnnexEntry(1);
        entry->typeCode = r.type;
        entry->state = r.state;
        ship.airFacilities.Insert(entry);
        ship.SetFlags(r.flag);
        (ship.*r.refresh)();
        EXPECT_EQ(ship.TestFlags(r.flag), r.kept);
    }
    Ship bare;
    bare.SetFlags(UnitFlag::FLIGHT_DECK_HIT);
    bare.OnAction16();
    EXPECT_FALSE(bare.TestFlags(UnitFlag::FLIGHT_DECK_HIT)) << "no facilities at all";
}

TEST(Ship, AircraftRoomAndCounts)
{
    Ship ship;
    EXPECT_EQ(ship.GetAircraftRoom(0), 0) << "no air facilities";
    auto* hangar = new AnnexEntry(1);
    hangar->typeCode = AIR_FACILITY_HANGAR;
    hangar->long1 = 0x80;
    hangar->byte1 = 20;
    ship.airFacilities.Insert(hangar);
    ship.aircraftRoomCap = 20;
    EXPECT_EQ(ship.GetAircraftRoom(0), 2) << "two 8-unit places in 20";
    EXPECT_EQ(ship.GetAircraftRoom(0x01000000), 10);
    auto* record = new PlaneRec(1);
    record->count = 3;
    record->sizeFactor = 8;
    record->flags = PlaneRec::READY_FLAGS;
    ship.aircraft.Insert(record);
    auto* unready = new PlaneRec(2);
    unready->count = 2;
    ship.aircraft.Insert(unready);
    EXPECT_EQ(ship.GetAircraftRoom(0), 0) << "more aircraft than room is none, never negative";
    EXPECT_EQ(CountAircraft(ship.aircraft), 5u);
    EXPECT_EQ(CountFlaggedAircraft(ship.aircraft), 3u);
}

TEST_F(VesselTest, EvasionTurnsAtRightAnglesEitherSide)
{
    struct Row { const char* what; std::vector<bool> answers; bool laid; int requests; };
    const Row rows[] = {
        {"first side", {true}, true, 1},
        {"the other side after a refusal", {false, true}, true, 2},
        {"refused both ways", {false, false}, false, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        seen.askedPoints.clear();
        seen.pathAnswers = r.answers;
        seen.threat = NavMath::Get_LatLonPoint_From_Vector(HOME, 10 * NM, 0);   // due north
        seen.bandWord = Ship::THREAT_TO_EVADE;
        world.arena.Queue().RemoveEventsOf(10, 0);
        Ship ship;
        Equip(ship, 100);
        ship.speed = 10;
        ship.path.Append(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(HOME, 30 * NM, 180 * DEGREE)));
        EXPECT_EQ(ship.EvadeThreat(AnyContact()), r.laid);
        ASSERT_EQ(static_cast<int>(seen.askedPoints.size()), r.requests);
        const NavVector first = NavMath::Get_Vector(HOME, seen.askedPoints[0]);
        EXPECT_NEAR(first.range, 5 * NM, 2);
        const bool east = std::abs(first.bearing - 90 * DEGREE) < DEGREE;
        const bool west = std::abs(first.bearing - 270 * DEGREE) < DEGREE;
        EXPECT_TRUE(east || west) << first.bearing;
        if (r.requests == 2) {
            const NavVector second = NavMath::Get_Vector(HOME, seen.askedPoints[1]);
            EXPECT_NEAR(second.bearing, east ? 270 * DEGREE : 90 * DEGREE, DEGREE);
        }
        const std::vector<TestEvent*> speeds = world.Queued(EventCode::SET_SPEED);
        if (r.laid) {
            EXPECT_EQ(seen.pathNodes, 2) << "the escape point, then the old path";
            EXPECT_EQ(seen.firstNodeEvents, 2) << "mission resumed and old speed";
            ASSERT_EQ(speeds.size(), 1u);
            EXPECT_EQ(speeds[0]->Value(), 28) << "the flank speed";
        } else {
            EXPECT_TRUE(speeds.empty());
        }
    }
    seen.bandWord = 0x2000;
    Ship calm;
    Equip(calm, 100);
    seen.askedPoints.clear();
    EXPECT_FALSE(calm.EvadeThreat(AnyContact())) << "no evasion without 0x4000";
    EXPECT_TRUE(seen.askedPoints.empty());
}

TEST_F(VesselTest, TheBoatDivesFromAThreatItCannotRunFrom)
{
    seen.bandWord = 0x1000;
    Submarine sub;
    Equip(sub, 100);
    EXPECT_FALSE(sub.EvadeThreat(AnyContact()));
    const std::vector<TestEvent*> dives = world.Queued(EventCode::SET_ALTITUDE);
    ASSERT_EQ(dives.size(), 1u);
    EXPECT_EQ(static_cast<int16_t>(dives[0]->Value()), Submarine::EVASION_DEPTH);
}

// The sample sea with its floor rising eastward from 800 to 30 below the
// surface between 0.5 and 1.0 degrees east.
std::unique_ptr<Map> RisingFloorSea(std::string& error)
{
    return samplemap::LoadSampleMap(error, [](bool land, bool, int32_t, int32_t lon) -> int16_t {
        if (land)
            return 300;
        return lon >= samplemap::Deg(1.0) ? -30 : -800;
    });
}

TEST_F(VesselTest, SubmarineStepKeepsAboveARisingFloor)
{
    std::string error;
    std::unique_ptr<Map> map = RisingFloorSea(error);
    ASSERT_NE(map, nullptr) << error;
    Map* const previous = gMap;
    gMap = map.get();
    const LatLonPoint start = samplemap::At(74.0, 0.7);
    const int16_t floorBefore = Nav2Game::GetAltitudeAt(start);
    struct Row { const char* what; int16_t above; bool lifted; };
    const Row rows[] = {
        {"hugging the floor: lifted to one above the new floor", 2, true},
        {"well clear of the floor: left alone", 52, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Submarine sub;
        Equip(sub, 100, 28);
        sub.plantKey = 1;
        sub.SetPosition(start);
        sub.SetAltitude(static_cast<int16_t>(floorBefore + r.above));
        sub.speed = 28;
        sub.path.Append(new PositionNode(samplemap::At(74.0, 1.5)));
        sub.Move(255);
        const int16_t floorAfter = Nav2Game::GetAltitudeAt(sub.GetPosition());
        ASSERT_GT(floorAfter, floorBefore + 2) << "the floor must rise past a boat hugging it";
        if (r.lifted)
            EXPECT_EQ(sub.PositionObject::GetAltitude(), floorAfter + 1);
        else
            EXPECT_EQ(sub.PositionObject::GetAltitude(), floorBefore + r.above);
        EXPECT_GT(sub.PositionObject::GetAltitude(), floorAfter);
    }
    gMap = previous;
}

TEST_F(VesselTest, SubmarineOutOfPowerComesUpThenMakesWay)
{
    world.arena.SetGameTime(GameTime(1000));
    struct Row { const char* what; int16_t altitude; uint16_t knots; bool ordered; };
    const Row rows[] = {
        {"stopped deep: up to -2, then 5 knots 30 s on", -20, 0, true},
        {"stopped at -2 already: nothing", -2, 0, false},
        {"still under way: nothing", -20, 12, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        while (Event* e = world.arena.Queue().First()) {
            world.arena.Queue().Remove(e);
            delete e;
        }
        Submarine sub;
        Equip(sub, 100, 28);
        sub.plantKey = 1;
        sub.fuelTanks.First()->SetCount(0);   // the stores are spent
        sub.SetAltitude(r.altitude);
        sub.SetSpeed(12, 0);   // the plant set running
        sub.speed = r.knots;
        sub.Move(15);
        const auto dives = world.Queued(EventCode::SET_ALTITUDE);
        const auto speeds = world.Queued(EventCode::SET_SPEED);
        if (!r.ordered) {
            EXPECT_TRUE(dives.empty());
            continue;
        }
        ASSERT_EQ(dives.size(), 1u);
        EXPECT_EQ(dives[0]->Value(), static_cast<uint16_t>(-2));
        EXPECT_EQ(dives[0]->GetTime().Get(), 1000u);
        ASSERT_EQ(speeds.size(), 1u);
        EXPECT_EQ(speeds[0]->Value(), 5);
        EXPECT_EQ(speeds[0]->GetTime().Get(), 1030u);
    }
}

TEST_F(VesselTest, SubmarineRechargesItsStoreNearTheSurface)
{
    struct Row { int16_t altitude; uint32_t count, busy, countAfter, busyAfter; };
    const Row rows[] = {
        {-2, 3, 35990, 4, 5},       // a full 36000 busy seconds: one more count
        {-2, 3, 100, 3, 115},
        {0, 10, 100, 10, 100},      // full: left alone
        {-3, 3, 35990, 3, 35990},   // too deep to recharge
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.altitude << " " << r.count << " " << r.busy);
        Submarine sub;
        Equip(sub, 100, 28);
        sub.plantKey = 1;
        sub.fuelTanks.Append(MakeTank(FuelType::AIR_INDEPENDENT, 10, r.count, r.busy));
        sub.fuelTanks.Append(MakeTank(FuelType::AIR_INDEPENDENT, 10, 0, 0));
        sub.SetAltitude(r.altitude);
        sub.Move(15);
        const FuelTank* store = sub.fuelTanks.First()->GetNext();
        EXPECT_EQ(store->GetCount(), r.countAfter);
        EXPECT_EQ(store->GetPartial(), r.busyAfter);
        EXPECT_EQ(store->GetNext()->GetPartial(), 0u) << "only the first store recharges";
    }
}

TEST_F(VesselTest, ShipsAndSubmarinesRoundTripThroughTheUnitList)
{
    const UnitFactory::Maker previousS = UnitFactory::Register('S', nullptr);
    const UnitFactory::Maker previousU = UnitFactory::Register('U', nullptr);
    RegisterShipClass();
    RegisterSubmarineClass();
    std::string saved;
    {
        UnitList list;
        auto* ship = new Ship;
        Equip(*ship, 200, 30);
        ship->SetKey(1);
        ship->classCode = 3;
        ship->sensorHeight = 4;
        ship->aircraftRoom = ship->aircraftRoomCap = 16;
        ship->capabilityMask = 0xFFFFFFFF;
        auto* facility = new AnnexEntry(1);
        facility->typeCode = AIR_FACILITY_HANGAR;
        ship->airFacilities.Insert(facility);
        auto* record = new PlaneRec(1);
        record->count = 4;
        record->sizeFactor = 2;
        record->readyTime = 600;
        ship->aircraft.Insert(record);
        ship->TakeDamage(120, 0);   // 60 percent: level 2
        list.Insert(ship);
        auto* sub = new Submarine;
        Equip(*sub, 100);
        sub->SetKey(2);
        sub->maxDepth = -45;
        sub->TakeDamage(80, 0);     // 80 percent: level 3
        list.Insert(sub);
        ship->UpdateSensorReach();   // the figures a load works out again
        sub->UpdateSensorReach();
        std::ostringstream out;
        ASSERT_TRUE(list.Save(out));
        saved = out.str();
    }
    UnitList loaded;
    std::istringstream in(saved);
    ASSERT_TRUE(loaded.Load(in));
    auto* ship = dynamic_cast<Ship*>(loaded.Find(1));
    auto* sub = dynamic_cast<Submarine*>(loaded.Find(2));
    ASSERT_NE(ship, nullptr);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(ship->classCode, 3u);
    EXPECT_EQ(ship->sensorHeight, 4);
    EXPECT_EQ(ship->aircraftRoomCap, 16);
    EXPECT_EQ(ship->capabilityMask, 0u) << "not saved";
    EXPECT_EQ(ship->airFacilities.Find(1)->typeCode, AIR_FACILITY_HANGAR);
    EXPECT_EQ(ship->aircraft.Find(1)->count, 4);
    EXPECT_EQ(ship->GetDamagePoints(), 80);
    EXPECT_EQ(ship->GetSpeedLossLevel(), 2) << "speed loss restored from the damage level";
    EXPECT_EQ(sub->maxDepth, -45);
    EXPECT_EQ(sub->GetSpeedLossLevel(), 3);
    EXPECT_EQ(SavedRecord(*ship) + SavedRecord(*sub), saved.substr(2)) << "saved again byte for byte";
    EXPECT_EQ(ship->SetSpeed(30, 0), 15);
    EXPECT_EQ(sub->SetSpeed(28, 0), 7);

    // Every cut, and a count beyond the stream, is refused whole.
    for (size_t cut = 0; cut < saved.size(); ++cut) {
        UnitList partial;
        std::istringstream short_in(saved.substr(0, cut));
        EXPECT_FALSE(partial.Load(short_in)) << "cut at " << cut;
        EXPECT_EQ(partial.First(), nullptr) << "cut at " << cut;
    }
    EXPECT_FALSE(world.reports.errors.empty()) << "a cut record is reported";
    std::string inflated = saved;
    inflated[2 + 7] = '\xFF';   // the air facility count of the first record
    inflated[2 + 8] = '\xFF';
    UnitList refused;
    std::istringstream bad(inflated);
    EXPECT_FALSE(refused.Load(bad));
    EXPECT_EQ(refused.First(), nullptr);

    UnitFactory::Register('S', previousS);
    UnitFactory::Register('U', previousU);
}
