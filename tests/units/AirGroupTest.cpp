// Tests of the air group: naming, joining, the speed and fuel spread over
// the aircraft, forming, landing and the mission report, and the saved
// record by file version and through the unit list.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "StationTestSupport.h"
#include "units/AirGroup.h"
#include "units/AirGroupBridge.h"
#include "units/PropulsionPlant.h"

using namespace stationtest;

namespace {

// An aircraft that flies no faster than its cap and takes all the fuel it
// is offered, noting each offer.
class Flier : public TestUnit {
public:
    explicit Flier(uint16_t capKnots) : TestUnit('P'), cap(capKnots)
    {
        auto* plant = new PropulsionPlant;
        plant->SetKey(1);
        plant->hasFuel = 1;
        const uint16_t speeds[] = {static_cast<uint16_t>(cap / 4), static_cast<uint16_t>(cap / 2), cap, cap};
        for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
            for (auto& band : plant->speedTable[row])
                band = {30000, -3, speeds[row]};
        }
        plants.Insert(plant);
    }
    uint16_t SetSpeed(uint16_t wanted, int16_t) override
    {
        speed = std::min(wanted, cap);
        return speed;
    }
    uint32_t DrainFuel(uint32_t amount, uint32_t) override
    {
        offers.push_back(amount);
        return amount;
    }
    void OnMissionOrder(int32_t order) override { orders.push_back(order); }
    bool HasSensorReach(uint32_t kind) const override { return kind == capableOf; }
    uint16_t cap;
    uint32_t capableOf = 0;
    std::vector<uint32_t> offers;
    std::vector<int32_t> orders;
};

struct MissionReport {
    uint16_t groupID;
    int32_t lost;
};
std::vector<MissionReport> gReports;
bool gMissionTakes = false;

bool NoteMissionReport(uint16_t groupID, uint16_t, uint16_t, uint16_t, int32_t lost)
{
    gReports.push_back({groupID, lost});
    return gMissionTakes;
}

uint16_t LandDestinationOf(const Event& e)
{
    return static_cast<const TestEvent&>(e).Value();
}

Event* MakeMissionEvent(uint16_t unit, GameTime due)
{
    auto* e = new TestEvent(EventCode::MISSION_UNIT, unit);
    e->SetDueTime(due);
    return e;
}

Event* MakeLanding(uint16_t unit, uint16_t base, GameTime due)
{
    auto* e = new TestEvent(EventCode::LAND, unit, base);
    e->SetDueTime(due);
    return e;
}

class AirGroupTest : public StationWorld {
protected:
    static constexpr uint16_t AIR_ID = 200;

    AirGroupTest()
    {
        UnitEventCalls events = SetUnitEventCalls({});
        previousAirEvents = events;
        events.makeMissionUnitEvent = &MakeMissionEvent;
        events.makeLandEvent = &MakeLanding;
        SetUnitEventCalls(events);
        AirGroupBridgeCalls bridge;
        bridge.missionUnitEvent = &NoteMissionReport;
        bridge.getLandDestination = &LandDestinationOf;
        previousBridge = SetAirGroupBridgeCalls(bridge);
        gReports.clear();
        gMissionTakes = false;
        air = new AirGroup;
        air->SetKey(AIR_ID);
        air->SetPosition(Home());
        air->SetAltitude(300);
        units.Insert(air);
    }
    ~AirGroupTest() override
    {
        SetAirGroupBridgeCalls(previousBridge);
        SetUnitEventCalls(previousAirEvents);
    }

    Flier* Join(uint16_t id, uint16_t cap = 500)
    {
        auto* flier = new Flier(cap);
        flier->SetKey(id);
        flier->sideEntryID = 1;
        flier->SetPosition(Home());
        units.Insert(flier);
        air->AddMember(id, nullptr);
        return flier;
    }

    AirGroup* air = nullptr;
    UnitEventCalls previousAirEvents;
    AirGroupBridgeCalls previousBridge;
};

TEST_F(AirGroupTest, TheCounterTheGroupConstructorAdvancedNamesTheAirGroup)
{
    const uint8_t saved = Group::GetNameCounter();
    const std::string prefix = ResourceString(AirGroup::NAME_PREFIX_TEXT);
    ASSERT_FALSE(prefix.empty());
    struct Row { uint8_t before; const char* number; };
    for (const Row& r : {Row{0, "01"}, Row{8, "09"}, Row{9, "10"}, Row{104, "5"}, Row{199, "0"}}) {
        Group::SetNameCounter(r.before);
        AirGroup g;
        EXPECT_EQ(std::string(g.GetName().Text()), prefix + r.number) << int{r.before};
        EXPECT_EQ(g.GetTypeLetter(), 'A');
    }
    Group::SetNameCounter(saved);
}

TEST_F(AirGroupTest, OnlyAircraftJoinOnAWholeCircleStationAtTheGroup)
{
    for (char letter : {'S', 'F'}) {
        auto* other = new TestUnit(letter);
        other->SetKey(letter);
        other->sideEntryID = 1;
        units.Insert(other);
        air->AddMember(letter, nullptr);
    }
    air->AddMember(99, nullptr);   // no such unit
    EXPECT_EQ(air->members.First(), nullptr);
    EXPECT_EQ(air->leadID, 0);

    auto* flier = new Flier(500);
    flier->SetKey(7);
    flier->sideEntryID = 1;
    flier->SetPosition(NavMath::Get_LatLonPoint_From_Vector(Home(), 20 * RANGE_PER_NM, 0));
    flier->SetAltitude(250);
    units.Insert(flier);
    air->AddMember(7, nullptr);
    EXPECT_EQ(air->leadID, 7);
    EXPECT_EQ(flier->GetPosition(), Home());           // placed at the group
    EXPECT_EQ(air->GetAltitude(), 250);                // the first aircraft's altitude
    const StationRecord* station = air->GetMemberStation(7);
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->kind, StationKind::FORMATION);
    EXPECT_EQ(station->rightBearing, 88473599);
    EXPECT_EQ(station->leftBearing, 1);
    EXPECT_EQ(station->maxRange, 4096);
    EXPECT_EQ(station->minRange, 0);
    // the group flies by the first aircraft's speed table
    EXPECT_EQ(air->plants.First()->speedTable[2][1].speed, 500);
}

TEST_F(AirGroupTest, SpeedSettlesOnTheSlowestAircraftExceptThoseSteering)
{
    Flier* fast = Join(1, 500);
    Flier* slow = Join(2, 400);
    EXPECT_EQ(air->SetSpeed(600, air->GetAltitude()), 400);
    EXPECT_EQ(air->speed, 400);
    EXPECT_EQ(fast->speed, 400);
    EXPECT_EQ(slow->speed, 400);

    air->GetMemberStation(2)->mode = 'S';
    slow->speed = 123;
    air->SetSpeed(200, air->GetAltitude());
    EXPECT_EQ(fast->speed, 200);
    EXPECT_EQ(slow->speed, 123);   // steering: its own speed
}

TEST_F(AirGroupTest, FuelIsSpreadInSharesRoundedUpCountingMissingMembers)
{
    struct Row { const char* what; bool dropMiddle; std::vector<uint32_t> offers; uint32_t total; };
    const Row rows[] = {{"three members", false, {4, 3, 3}, 10},
                        {"the middle one gone", true, {4, 6}, 10}};
    for (const Row& r : rows) {
        AirGroup* const g = new AirGroup;
        g->SetKey(300);
        units.Insert(g);
        std::vector<Flier*> fliers;
        for (uint16_t id : {11, 12, 13}) {
            auto* f = new Flier(500);
            f->SetKey(id);
            f->sideEntryID = 1;
            units.Insert(f);
            g->AddMember(id, nullptr);
            fliers.push_back(f);
        }
        if (r.dropMiddle) {
            units.Remove(fliers[1]);
            delete fliers[1];
            fliers.erase(fliers.begin() + 1);
        }
        EXPECT_EQ(g->DrainFuel(10, 1), r.total) << r.what;
        std::vector<uint32_t> offers;
        for (Flier* f : fliers)
            offers.insert(offers.end(), f->offers.begin(), f->offers.end());
        EXPECT_EQ(offers, r.offers) << r.what;
        for (Flier* f : fliers) {
            units.Remove(f);
            delete f;
        }
        units.Remove(g);
        delete g;
    }
}

TEST_F(AirGroupTest, FormingOffWithoutMembersPostsItsOrderThenItsDeletion)
{
    struct Row { const char* what; bool path; uint8_t order; };
    for (const Row& r : {Row{"no waypoint", false, EventCode::MISSION_UNIT},
                         Row{"a waypoint", true, EventCode::SET_SPEED}}) {
        while (Event* e = world.arena.Queue().First()) {
            world.arena.Queue().Remove(e);
            delete e;
        }
        if (r.path)
            air->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), 50 * RANGE_PER_NM, 0)));
        air->SetForming(true);
        EXPECT_TRUE(air->IsForming());
        air->SetForming(false);
        EXPECT_FALSE(air->IsForming());
        std::vector<uint8_t> codes;
        for (Event* e = world.arena.Queue().First(); e != nullptr; e = e->GetNext()) {
            if (e->GetSubject() == AIR_ID && e->TypeCode() != EventCode::STATION_SET)
                codes.push_back(e->TypeCode());
        }
        EXPECT_EQ(codes, (std::vector<uint8_t>{r.order, EventCode::DELETE_UNIT})) << r.what;
    }
}

TEST_F(AirGroupTest, LandingMembersReturnTheGroupOnceAndTheMissionMayTakeThem)
{
    Join(1);
    Join(2);
    air->RecallMember(1);
    EXPECT_EQ(air->GetMemberStation(1)->kind, StationKind::FREE);
    EXPECT_EQ(air->GetMemberStation(1)->leg, StationKind::FORMATION);
    air->RecallMember(1);   // already landed, the group still flying
    EXPECT_TRUE(gReports.empty());
    EXPECT_FALSE(air->HasReturned());

    air->RecallMember(2);   // the last one down
    ASSERT_EQ(gReports.size(), 1u);
    EXPECT_EQ(gReports[0].lost, 0);
    EXPECT_TRUE(air->HasReturned());
    EXPECT_NE(air->members.First(), nullptr);   // the mission did not take them

    gMissionTakes = true;
    air->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), 50 * RANGE_PER_NM, 0)));
    air->RecallMember(2);   // returned: asked again; now taken
    ASSERT_EQ(gReports.size(), 3u);   // the landed report, then the last one leaving
    EXPECT_EQ(gReports[2].lost, 1);
    EXPECT_EQ(air->members.First(), nullptr);
    EXPECT_EQ(air->GetPath(), nullptr);
    EXPECT_TRUE(air->HasReturned());
}

TEST_F(AirGroupTest, LandAllSendsEveryMemberToTheEventsDestination)
{
    Join(1);
    Join(2);
    const TestEvent order(EventCode::LAND, AIR_ID, 77);
    air->LandAll(&order);
    const auto landings = world.Queued(EventCode::LAND);
    ASSERT_EQ(landings.size(), 2u);
    for (const TestEvent* e : landings)
        EXPECT_EQ(e->Value(), 77);
    ClearQueued(EventCode::LAND);
    air->LandAll(nullptr);   // home bases: none for these aircraft
    for (const TestEvent* e : world.Queued(EventCode::LAND))
        EXPECT_EQ(e->Value(), 0);
}

TEST_F(AirGroupTest, TheGroupFollowsItsLeadWithoutAPathOfItsOwn)
{
    Flier* lead = Join(1);
    const LatLonPoint ahead = NavMath::Get_LatLonPoint_From_Vector(Home(), 3 * RANGE_PER_NM, 90 * ANGLE_PER_DEGREE);
    lead->SetPosition(ahead);
    lead->course = 90 * ANGLE_PER_DEGREE;
    lead->speed = 250;
    air->Move(10);
    EXPECT_EQ(air->GetPosition(), ahead);
    EXPECT_EQ(air->course, 90 * ANGLE_PER_DEGREE);
    EXPECT_EQ(air->speed, 250);
    EXPECT_EQ(std::string(air->GetLabel()).substr(4, 9), " 090 250 ");
}

// Orders that reach the group as a unit (the path, the task word, the
// placement and the capability query) are the air group's own.
TEST_F(AirGroupTest, UnitOrdersReachTheAirGroupsOwnOperations)
{
    Unit& unit = *air;
    EXPECT_FALSE(unit.HasSensorReach(2));   // no lead
    Flier* lead = Join(1, 500);
    Flier* wing = Join(2, 500);
    lead->capableOf = 2;
    EXPECT_TRUE(unit.HasSensorReach(2));
    EXPECT_FALSE(unit.HasSensorReach(3));

    unit.OnMissionOrder(0x20);
    EXPECT_EQ(lead->orders, std::vector<int32_t>{0x20});
    EXPECT_EQ(wing->orders, std::vector<int32_t>{0x20});

    // Forming: the path turns the group but leaves its speed.
    const LatLonPoint east = NavMath::Get_LatLonPoint_From_Vector(Home(), 50 * RANGE_PER_NM, 90 * ANGLE_PER_DEGREE);
    air->SetForming(true);
    unit.SetPath(new PositionNode(east));
    EXPECT_EQ(air->course, NavMath::Get_Vector(Home(), east).bearing);
    EXPECT_EQ(air->speed, 0);
    // Flying: setting 1 (250 knots for these aircraft), then setting 0 (125)
    // when the path is taken away.
    air->SetForming(false);
    unit.SetPath(new PositionNode(east));
    EXPECT_EQ(air->speed, 250);
    EXPECT_EQ(lead->speed, 250);
    unit.SetPath(nullptr);
    EXPECT_EQ(air->GetPath(), nullptr);
    EXPECT_EQ(air->speed, 125);

    const LatLonPoint north = NavMath::Get_LatLonPoint_From_Vector(Home(), 10 * RANGE_PER_NM, 0);
    unit.TryMoveTo(north);
    EXPECT_EQ(air->GetPosition(), north);
    EXPECT_EQ(lead->GetPosition(), north);
    EXPECT_EQ(wing->GetPosition(), north);
}

// The saved record after its type letter.
std::string Fields(const AirGroup& g)
{
    std::ostringstream out;
    g.SaveFields(out);
    return out.str().substr(1);
}

TEST_F(AirGroupTest, TheFlagsByteIsReadOnlyFromTheFileVersionsThatHoldIt)
{
    air->airGroupFlags = AirGroup::FORMING | AirGroup::STATIONS_FAILED;
    const std::string saved = Fields(*air);
    struct Row { VersionNumber version; bool flags; bool airStations; };
    const Row rows[] = {{VersionNumber(2, 0, 2, 0), false, false}, {VersionNumber(2, 0, 1, 0), false, false},
                        {VersionNumber(2, 0, 0, 5), false, false}, {VersionNumber(2, 0, 1, 5), true, false},
                        {VersionNumber(2, 1, 0, 0), true, true}};
    for (const Row& r : rows) {
        std::string bytes = saved;
        if (!r.flags)
            bytes.pop_back();
        if (!r.airStations)
            bytes.erase(bytes.size() - 10 - (r.flags ? 1 : 0) - 2, 2);
        bytes += '\xEE';   // what follows the record
        admin.SetFileVersion(r.version);
        AirGroup copy;
        std::istringstream in(bytes);
        ASSERT_TRUE(copy.LoadFields(in));
        EXPECT_EQ(copy.airGroupFlags, r.flags ? 5 : 0);
        EXPECT_EQ(in.get(), 0xEE);
    }
}

TEST_F(AirGroupTest, ARecordCutBeforeItsFlagsLeavesTheNameCounterAlone)
{
    const uint8_t saved = Group::GetNameCounter();
    Group::SetNameCounter(7);   // the counter the record holds
    std::string bytes = Fields(*air);
    bytes.pop_back();           // the flags byte
    admin.SetFileVersion(VersionNumber(2, 1, 0, 0));
    Group::SetNameCounter(40);
    AirGroup copy;              // its own step: 41
    std::istringstream in(bytes);
    EXPECT_FALSE(copy.LoadFields(in));
    EXPECT_EQ(Group::GetNameCounter(), 41);
    Group::SetNameCounter(saved);
}

TEST_F(AirGroupTest, RoundTripsThroughTheUnitListAndRefusesDamagedForms)
{
    const UnitFactory::Maker previous = UnitFactory::Register('A', nullptr);
    RegisterAirGroupClass();
    Join(1);
    Join(2);
    air->airGroupFlags = AirGroup::STATIONS_FAILED;
    UnitList list;
    units.Remove(air);
    list.Insert(air);
    std::ostringstream out;
    list.Save(out);
    const std::string saved = out.str();
    list.Remove(air);
    units.Insert(air);

    UnitList copy;
    std::istringstream in(saved);
    ASSERT_TRUE(copy.Load(in));
    auto* loaded = dynamic_cast<AirGroup*>(copy.Find(AIR_ID));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->airGroupFlags, AirGroup::STATIONS_FAILED);
    EXPECT_EQ(loaded->leadID, 1);
    EXPECT_NE(loaded->GetMemberStation(2), nullptr);
    EXPECT_EQ(std::string(loaded->GetName().Text()), air->GetName().Text());
    copy.DeleteAll();

    for (size_t cut = 0; cut < saved.size(); ++cut) {
        UnitList damaged;
        std::istringstream part(saved.substr(0, cut));
        EXPECT_FALSE(damaged.Load(part)) << cut;
        EXPECT_EQ(damaged.First(), nullptr) << cut;
    }
    UnitFactory::Register('A', previous);
}

}  // namespace
