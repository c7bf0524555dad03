// Tests of the group unit: naming, the member stations, joining and
// leaving, speed, the relays to the members, the threat axes, the station
// planning of aircraft, the aircraft hand-over and the saved record.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "StationTestSupport.h"
#include "units/Facility.h"
#include "units/GroupBridge.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRecBridge.h"
#include "units/PropulsionPlant.h"
#include "units/UnitStatus.h"

using namespace stationtest;

namespace {

constexpr int32_t DEG = ANGLE_PER_DEGREE;

// A ship whose plant gives the four settings the speeds asked for.
class GroupTest : public StationWorld {
protected:
    TestUnit* Ship(uint16_t id, uint16_t cruise = 12, const LatLonPoint& at = Home())
    {
        auto* ship = new TestUnit('S');
        ship->SetKey(id);
        PropulsionPlant* plant = unittest::MakeDieselPlant(1);
        plant->hasFuel = 1;
        for (auto& band : plant->speedTable[1])
            band.speed = cruise;
        for (auto& band : plant->speedTable[2])
            band.speed = cruise;
        for (auto& band : plant->speedTable[3])
            band.speed = cruise;
        ship->plants.Insert(plant);
        ship->SetPosition(at);
        ship->sideEntryID = 1;
        units.Insert(ship);
        return ship;
    }

    // The record (key 1) of `count` aircraft on a new carrier, unit 50.
    PlaneRec* CarrierRecord(uint8_t count)
    {
        auto* carrier = new Carrier;
        carrier->SetKey(50);
        units.Insert(carrier);
        auto* record = new PlaneRec;
        record->SetKey(1);
        record->unitID = 50;
        record->count = count;
        carrier->records.Insert(record);
        return record;
    }
};

TEST(GroupNameTest, CounterNamesTheGroupWithTwoDigitsThenModulo100AndWrapsAt256)
{
    const uint8_t saved = Group::GetNameCounter();
    const std::string prefix = ResourceString(Group::NAME_PREFIX_TEXT);
    struct Row { uint8_t before; const char* number; };
    const Row rows[] = {{4, "05"}, {9, "10"}, {104, "5"}, {141, "42"}, {255, "00"}, {0, "01"}};
    for (const Row& r : rows) {
        Group::SetNameCounter(r.before);
        Group g;
        EXPECT_EQ(std::string(g.GetName().Text()), prefix + r.number) << int{r.before};
    }
    Group::SetNameCounter(saved);
}

TEST_F(GroupTest, ShipsTakeSectorsFortyFiveDegreesApartMovingOutEveryCircle)
{
    for (uint16_t id = 1; id <= 9; ++id) {
        Ship(id);
        group->AddMember(id, nullptr);
    }
    const StationRecord* first = group->GetMemberStation(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->kind, StationKind::KEEP);
    EXPECT_EQ(first->rightBearing, 12533760);
    EXPECT_EQ(first->leftBearing, 9584640);
    EXPECT_EQ(first->maxRange, 4096);
    EXPECT_EQ(first->minRange, 2096);
    const StationRecord* eighth = group->GetMemberStation(8);
    EXPECT_EQ(eighth->rightBearing - 6 * DEG, ANGLE_FULL);
    EXPECT_EQ(eighth->maxRange, 4096);
    const StationRecord* ninth = group->GetMemberStation(9);
    EXPECT_EQ(ninth->rightBearing - 6 * DEG, 11059200);
    EXPECT_EQ(ninth->maxRange, 8192);
    // the chain stays in member order when a kind changes
    group->SetMemberStationKind(4, StationKind::SPRINT_DRIFT);
    uint16_t last = 0;
    for (const StationRecord* s = group->formation->stations.First(); s != nullptr; s = s->GetNext()) {
        EXPECT_GT(s->unitID, last);
        last = s->unitID;
    }
    EXPECT_EQ(group->GetMemberStation(4)->kind, StationKind::SPRINT_DRIFT);
}

TEST_F(GroupTest, OnStationCheckCountsSteeringAsOffAndKeepsItUnlessForced)
{
    EXPECT_TRUE(group->formation->CheckStations(false));   // no members
    Ship(7);
    group->AddMember(7, nullptr);
    StationRecord* s = group->GetMemberStation(7);
    s->mode = StationMode::STEERING;
    EXPECT_FALSE(group->CheckStations(false));
    EXPECT_EQ(s->mode, StationMode::STEERING);
    EXPECT_FALSE(group->CheckStations(true));
    EXPECT_EQ(s->mode, StationMode::OUT);
}

TEST_F(GroupTest, JoinLeaveAndLead)
{
    for (uint16_t id : {3, 30, 7, 12})
        Ship(id);
    auto* other = Ship(40);
    other->SetSideID(5);
    for (uint16_t id : {uint16_t{3}, uint16_t{30}, uint16_t{7}, uint16_t{12}, uint16_t{40}, uint16_t{99}, GROUP_ID})
        group->AddMember(id, nullptr);
    group->AddMember(7, nullptr);   // twice
    int count = 0;
    for (const GroupEntry* e = group->members.First(); e != nullptr; e = e->GetNext())
        ++count;
    EXPECT_EQ(count, 4);   // another side, no unit and the group itself refused
    EXPECT_EQ(group->leadID, 3);
    EXPECT_EQ(units.Find(7)->GetParentID(), GROUP_ID);

    group->RemoveMember(3);
    EXPECT_EQ(group->leadID, 7);   // the lowest id
    EXPECT_EQ(units.Find(3)->GetParentID(), 0);
    EXPECT_EQ(group->GetMemberStation(3), nullptr);
    group->RemoveMember(12);
    EXPECT_EQ(group->leadID, 7);   // not the lead: unchanged
    for (uint16_t id : {7, 30})
        group->RemoveMember(id);
    EXPECT_EQ(group->leadID, 0);
    EXPECT_EQ(world.Queued(EventCode::DELETE_UNIT).size(), 1u);   // the empty group goes
}

TEST_F(GroupTest, AMemberWithItsOwnSideRecordJoinsAndTheGroupKeepsTheFirst)
{
    Ship(4);
    Ship(9)->sideEntryID = 6;
    group->AddMember(4, nullptr);
    group->AddMember(9, nullptr);
    EXPECT_NE(group->members.Find(9), nullptr);
    EXPECT_EQ(group->sideEntryID, 1);
    EXPECT_EQ(group->leadID, 4);
    EXPECT_EQ(units.Find(9)->GetParentID(), GROUP_ID);
}

TEST_F(GroupTest, GroupFollowsItsLeadIntoAnotherSideRecordAndChecksLater)
{
    TestUnit* lead = Ship(4);
    group->AddMember(4, nullptr);
    ClearQueued(EventCode::GROUP_MEMBER_CHECK);
    for (uint16_t entry : {uint16_t{1}, uint16_t{6}}) {
        lead->sideEntryID = entry;
        group->FollowLeadEntry();
        EXPECT_EQ(group->sideEntryID, entry);
    }
    const auto checks = world.Queued(EventCode::GROUP_MEMBER_CHECK);
    ASSERT_EQ(checks.size(), 2u);   // unchanged or not, the check comes
    EXPECT_EQ(checks[0]->GetTime(), GameTime(gam2arena::GetGameTime() + Group::MEMBER_CHECK_DELAY));
    EXPECT_EQ(checks[0]->GetSubject(), GROUP_ID);
}

TEST_F(GroupTest, PlacedAsAUnitTheGroupTakesItsMembersAlong)
{
    for (uint16_t id : {3, 7})
        Ship(id);
    for (uint16_t id : {3, 7})
        group->AddMember(id, nullptr);
    const LatLonPoint east = NavMath::Get_LatLonPoint_From_Vector(Home(), 20 * RANGE_PER_NM, 90 * DEG);
    Unit& unit = *group;
    unit.TryMoveTo(east);
    EXPECT_EQ(group->GetPosition(), east);
    for (uint16_t id : {3, 7}) {
        const int32_t fromGroup = NavMath::Range_GreatCircle(east, units.Find(id)->GetPosition());
        EXPECT_LT(fromGroup, 5 * RANGE_PER_NM) << id;   // at its station round the new position
    }
}

TEST_F(GroupTest, SlowestMemberLimitsTheSpeedAndTheOrderSettles)
{
    group->RecomputeSpeedLimits();
    for (int s = 0; s < PropulsionPlant::SETTINGS; ++s)
        EXPECT_EQ(group->plants.First()->speedTable[s][0].speed, Group::SPEED_CEILING);
    Ship(1, 25);
    Ship(2, 18);
    group->AddMember(1, nullptr);
    group->AddMember(2, nullptr);
    EXPECT_EQ(group->plants.First()->speedTable[1][0].speed, 18);
    group->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), 50 * RANGE_PER_NM, 0)));
    for (StationRecord* s = group->formation->stations.First(); s != nullptr; s = s->GetNext())
        s->mode = StationMode::IN;
    group->speedCarry = 0;
    const uint16_t accepted = group->SetSpeed(30, 0);
    EXPECT_EQ(accepted, 18);
}

TEST_F(GroupTest, OffStationGroupHoldsSpeedBackAndAGroupWithoutPathStops)
{
    // a member far off its station
    Ship(7, 28, NavMath::Get_LatLonPoint_From_Vector(Home(), 40 * RANGE_PER_NM, 90 * DEG));
    group->AddMember(7, nullptr);
    group->SetPath(new PositionNode(NavMath::Get_LatLonPoint_From_Vector(Home(), 50 * RANGE_PER_NM, 0)));
    struct Row { uint16_t total; uint16_t sails; int16_t carried; };
    for (const Row& r : {Row{15, 8, 7}, Row{30, 20, 10}, Row{1, 1, 0}}) {
        group->speed = r.total;
        group->speedCarry = 0;
        group->UpdateStations(false);
        EXPECT_EQ(group->speed, r.sails) << r.total;
        EXPECT_EQ(group->speedCarry, r.carried) << r.total;
    }
    group->Unit::ClearPath();
    group->speed = 15;
    group->speedCarry = 0;
    group->UpdateStations(false);
    EXPECT_EQ(group->speed, 0);
    EXPECT_EQ(group->speedCarry, 15);
}

// A member whose relayed answers the test sets.
class Answering : public TestUnit {
public:
    explicit Answering(char letter) : TestUnit(letter) {}
    bool CanReachPoint(const LatLonPoint&, uint16_t, int32_t) override { return reach; }
    bool HasSensorReach(uint32_t) const override { return capable; }
    int32_t GetAircraftRoom(uint32_t) const override { return room; }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return size; }
    int32_t GetSensorTypeState(uint8_t) const override { return state; }
    int32_t GetSeenDamagePercent() const override { return damage; }
    bool reach = false;
    int32_t damage = 0;
    bool capable = false;
    int32_t room = 0;
    uint32_t size = 0;
    int32_t state = 0;
};

// A new answering member of the side record 1 joined to the group.
Answering* JoinAnswering(UnitList& units, Group& group, uint16_t id, char letter, const LatLonPoint& at)
{
    auto* u = new Answering(letter);
    u->SetKey(id);
    u->SetPosition(at);
    u->sideEntryID = 1;
    units.Insert(u);
    group.AddMember(id, nullptr);
    return u;
}

TEST_F(GroupTest, RelaysReachTheLeadTheFirstAnswerEveryMemberSumsAndMaxima)
{
    auto add = [this](uint16_t id, char letter) { return JoinAnswering(units, *group, id, letter, Home()); };
    Answering* lead = add(5, 'S');
    Answering* second = add(6, 'S');
    Answering* third = add(7, 'F');
    lead->reach = false;
    second->reach = true;
    EXPECT_FALSE(group->CanReachAndReturn(Home(), 10, 0));   // the lead alone answers
    lead->reach = true;
    EXPECT_TRUE(group->CanReachAndReturn(Home(), 10, 0));
    EXPECT_TRUE(group->CanReachAndReturnHalf(Home(), 10, 0));
    lead->reach = false;
    EXPECT_FALSE(group->CanReachAndReturnHalf(Home(), 10, 0));
    lead->reach = true;
    third->capable = true;   // a facility: not asked
    EXPECT_EQ(group->GetCapabilities(1), 0u);
    second->capable = true;
    EXPECT_EQ(group->GetCapabilities(1), 1u);   // the first ship answering
    lead->room = 3;
    second->room = 4;
    third->room = 5;
    EXPECT_EQ(group->GetAircraftRoom(0), 12);
    second->size = 8;
    EXPECT_EQ(group->GetMaxAircraftSize(true, false), 8u);
    third->state = 0xFF;   // -1 as a signed byte
    second->state = 2;
    EXPECT_EQ(group->GetSensorTypeState(1), 2);
    group->DisableDataLink();
    for (Unit* u : {static_cast<Unit*>(lead), static_cast<Unit*>(second), static_cast<Unit*>(third)})
        EXPECT_FALSE(u->TestFlags(UnitFlag::DATA_LINK));
}

// A member that notes the engagement order it receives.
class Engaging : public TestUnit {
public:
    Engaging() : TestUnit('S') {}
    void BuildEngagementList(uint32_t mask, uint16_t targetID, const NavVector& toTarget, Chain<TimedRecord>&,
                             uint32_t flags) override
    {
        ++orders;
        gotMask = mask;
        gotTarget = targetID;
        gotVector = toTarget;
        gotFlags = flags;
    }
    int orders = 0;
    uint32_t gotMask = 0;
    uint16_t gotTarget = 0;
    NavVector gotVector{};
    uint32_t gotFlags = 0;
};

LatLonPoint& ContactSpot()
{
    static LatLonPoint spot;
    return spot;
}

TEST_F(GroupTest, EngagementOrderReachesEveryMemberAimedFromItsOwnPosition)
{
    GroupBridgeCalls calls;
    calls.findContact = [](uint16_t entry, uint16_t contact, LatLonPoint& out) {
        if (entry != 1 || contact != 77)
            return false;
        out = ContactSpot();
        return true;
    };
    const GroupBridgeCalls previous = SetGroupBridgeCalls(calls);
    ContactSpot() = NavMath::Get_LatLonPoint_From_Vector(Home(), 40 * RANGE_PER_NM, 45 * DEG);
    const LatLonPoint given = NavMath::Get_LatLonPoint_From_Vector(Home(), 20 * RANGE_PER_NM, 200 * DEG);
    std::vector<Engaging*> crew;
    const LatLonPoint spots[] = {
        NavMath::Get_LatLonPoint_From_Vector(Home(), 5 * RANGE_PER_NM, 0),
        NavMath::Get_LatLonPoint_From_Vector(Home(), 6 * RANGE_PER_NM, 90 * DEG)};
    for (uint16_t i = 0; i < 2; ++i) {
        auto* u = new Engaging;
        u->SetKey(static_cast<uint16_t>(5 + i));
        u->SetPosition(spots[i]);
        u->sideEntryID = 1;
        units.Insert(u);
        group->AddMember(u->GetID(), nullptr);
        crew.push_back(u);
    }
    {
        // a member no longer in play is passed over
        auto* gone = new Engaging;
        gone->SetKey(9);
        gone->sideEntryID = 1;
        units.Insert(gone);
        group->AddMember(9, nullptr);
        units.Remove(gone);
        delete gone;
    }

    struct Row { const char* what; uint16_t sideEntry; uint16_t target; bool reaches; LatLonPoint reference; };
    const Row rows[] = {
        {"the side's contact", 1, 77, true, ContactSpot()},
        {"no contact: the given range and bearing", 1, 78, true, given},
        {"no side", 0, 77, false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        group->sideEntryID = r.sideEntry;
        for (Engaging* u : crew)
            u->orders = 0;
        Chain<TimedRecord> out;
        group->BuildEngagementList(4, r.target, NavVector{20 * RANGE_PER_NM, 200 * DEG}, out, 0x21);
        for (Engaging* u : crew) {
            ASSERT_EQ(u->orders, r.reaches ? 1 : 0);
            if (!r.reaches)
                continue;
            EXPECT_EQ(u->gotMask, 4u);
            EXPECT_EQ(u->gotTarget, r.target);
            EXPECT_EQ(u->gotFlags, 0x21u);
            const NavVector want = NavMath::Get_Vector(u->GetPosition(), r.reference);
            EXPECT_EQ(u->gotVector.range, want.range);
            EXPECT_EQ(u->gotVector.bearing, want.bearing);
        }
    }
    SetGroupBridgeCalls(previous);
}

TEST_F(GroupTest, StatusLinesCountTheMembersAndTheirAircraft)
{
    auto add = [this](uint16_t id, char letter) { return JoinAnswering(units, *group, id, letter, Home()); };
    add(5, 'S');
    add(6, 'S')->damage = 40;
    add(7, 'U');
    group->speed = 12;
    group->course = 90 * DEG;
    UnitStatus status;
    group->GetStatus(status);
    const std::string setting = ResourceString(0x7B01EF);   // the group plant's setting 0
    const std::vector<std::string> expected = {
        group->GetName().Text(), "", "12 " + setting, "90", "2", "1", ResourceString(0x7B01A0), "1", "0",
        "Clear", "Clear", "0/0"};
    ASSERT_GE(status.lineCount, expected.size() + 1);   // and the conditions last
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::string(status.lines[i]), expected[i]) << i;
}

// The contacts the side of the axis tests holds, and the relations of sides:
// side 1 is the group's, 2 hostile, 3 friendly, anything else neutral.
std::vector<ThreatContact>& Contacts()
{
    static std::vector<ThreatContact> contacts;
    return contacts;
}

class AxisTest : public GroupTest {
protected:
    AxisTest()
    {
        GroupBridgeCalls calls;
        calls.collectContacts = [](uint16_t, std::vector<ThreatContact>& out) {
            out = Contacts();
            return true;
        };
        calls.areHostile = [](uint16_t, uint16_t b) { return b == 2; };
        calls.getCurrentSideID = []() -> uint16_t { return 9; };
        previous = SetGroupBridgeCalls(calls);
        PlaneBridgeCalls plane;
        plane.areFriendly = [](uint16_t a, uint16_t b) { return a == b || b == 3; };
        previousPlane = SetPlaneBridgeCalls(plane);
        group->SetSideID(1);
        group->sideEntryID = 1;
        group->needsStationPlan = 0;
        Contacts().clear();
    }
    ~AxisTest() override
    {
        SetPlaneBridgeCalls(previousPlane);
        SetGroupBridgeCalls(previous);
    }

    // A contact at a bearing (degrees) and range (nm) from the group.
    static ThreatContact At(int degrees, int nm, uint16_t threat, uint16_t side, bool area = false)
    {
        ThreatContact c;
        c.position = NavMath::Get_LatLonPoint_From_Vector(Home(), nm * RANGE_PER_NM, degrees * DEG);
        c.typeFlags = 1;
        c.threat = threat;
        c.sideID = side;
        c.sideKnown = true;
        c.hasArea = area;
        return c;
    }
    static int32_t BearingTo(const ThreatContact& c) { return NavMath::Get_Vector(Home(), c.position).bearing; }

    GroupBridgeCalls previous;
    PlaneBridgeCalls previousPlane;
};

TEST_F(AxisTest, ContactWeightsMoveTheSecondAxis)
{
    struct Row { const char* what; std::vector<ThreatContact> contacts; int winner; };
    const Row rows[] = {
        {"a friendly weighs nothing", {At(180, 50, 10, 2), At(320, 50, 500, 3)}, 0},
        {"a neutral counts half: 100 -> 50 < 60", {At(180, 50, 100, 7), At(320, 50, 60, 2)}, 1},
        {"a neutral counts half: 100 -> 50 > 40", {At(180, 50, 100, 7), At(320, 50, 40, 2)}, 0},
        // beyond 1,100 nm an area contact weighs 0: were it negative it
        // would pull its neighbour's sum below the far contact's
        {"an area contact at 1,200 nm", {At(180, 1200, 1000, 2, true), At(185, 1200, 5, 2), At(320, 50, 4, 2)}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        group->axes[2]->bearing = 240 * DEG;
        group->axes[1]->bearing = 120 * DEG;
        Contacts() = r.contacts;
        group->UpdateThreatAxes();
        EXPECT_EQ(group->axes[2]->bearing, BearingTo(r.contacts[r.winner]));
    }
}

TEST_F(AxisTest, NothingMovesAboveNinetyEightPercentOrForThePlayersOwnGroups)
{
    Contacts() = {At(250, 50, 10, 2), At(255, 50, 10, 2)};   // both inside axis 2
    group->UpdateThreatAxes();
    EXPECT_EQ(group->axes[2]->bearing, 240 * DEG);
    EXPECT_EQ(group->axes[1]->bearing, 120 * DEG);

    Contacts() = {At(180, 50, 10, 2)};
    group->SetSideID(9);   // the player's side, option 0x10 clear
    group->UpdateThreatAxes();
    EXPECT_EQ(group->axes[2]->bearing, 240 * DEG);
    group->SetSideID(1);
    group->UpdateThreatAxes();
    EXPECT_EQ(group->axes[2]->bearing, BearingTo(Contacts()[0]));
}

TEST_F(AxisTest, AxesMoveAtNinetyEightPercentCoveredButNotAtNinetyNine)
{
    // one contact inside axis 2, one outside both axes
    struct Row { uint16_t inside; uint16_t outside; bool moves; };
    const Row rows[] = {{98, 2, true}, {99, 1, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.inside);
        group->axes[2]->bearing = 240 * DEG;
        group->axes[1]->bearing = 120 * DEG;
        Contacts() = {At(250, 50, r.inside, 2), At(180, 50, r.outside, 2)};
        group->UpdateThreatAxes();
        EXPECT_EQ(group->axes[2]->bearing, r.moves ? BearingTo(Contacts()[0]) : 240 * DEG);
    }
}

TEST_F(AxisTest, AxisSettersCreateAndRefreshAsAsked)
{
    delete group->axes[1];
    group->axes[1] = nullptr;
    EXPECT_EQ(group->GetAxisBearing(1), -1);
    EXPECT_EQ(group->GetAxisWidth(5), -1);
    group->SetAxisWidth(1, 10 * DEG);
    ASSERT_TRUE(group->HasAxis(1));
    EXPECT_EQ(group->GetAxisWidth(1), 10 * DEG);
    group->SetAxisWidth(3, DEG);   // ignored
    group->axes[2]->tracking = 1;
    group->SetAxisBearing(2, 77 * DEG);
    EXPECT_EQ(group->axes[2]->tracking, 0);
    EXPECT_EQ(group->axes[2]->userSet, 1);
}

// What the planning launched: the kind and axis of each station.
std::vector<std::pair<uint8_t, uint16_t>>& Launched()
{
    static std::vector<std::pair<uint8_t, uint16_t>> launched;
    return launched;
}

TEST_F(GroupTest, SevenEarlyWarningAircraftGiveThreeStationsOnAxesTwoOneAndZero)
{
    PlaneRecCalls calls;
    calls.launchStrike = [](LaunchList* list, const StationRecord* target) {
        Launched().push_back({target->kind, target->axis});
        delete list;
    };
    const PlaneRecCalls previous = SetPlaneRecCalls(calls);
    Launched().clear();
    PlaneRec* record = CarrierRecord(7);

    SummaryList summaries;
    auto* s = new PlaneTypeSummary(999);
    s->airSearch = 40;
    s->AddRecord(*record);
    PlanTally::Available(*s) = 7;
    summaries.Insert(s);
    group->PlanKind7Stations(summaries);
    const std::vector<std::pair<uint8_t, uint16_t>> expected{
        {StationKind::AEW, 2}, {StationKind::AEW, 1}, {StationKind::AEW, 0}};
    EXPECT_EQ(Launched(), expected);
    EXPECT_EQ(PlanTally::Assigned(*s), 7);
    SetPlaneRecCalls(previous);
}

// The stations the planning launched to, whole.
struct SeenStation { uint8_t kind; uint16_t axis; int32_t p1, p2, p3, p4; };
std::vector<SeenStation>& LaunchedStations()
{
    static std::vector<SeenStation> launched;
    return launched;
}

TEST_F(GroupTest, SonarHelicoptersShareAxisZeroAndASonobuoyTypeTakesOneStation)
{
    PlaneRecCalls calls;
    calls.launchStrike = [](LaunchList* list, const StationRecord* target) {
        LaunchedStations().push_back({target->kind, target->axis, target->rightBearing, target->leftBearing,
                                      target->maxRange, target->minRange});
        delete list;
    };
    const PlaneRecCalls previous = SetPlaneRecCalls(calls);
    PlaneRec* record = CarrierRecord(10);
    const int32_t half = group->axes[0]->halfWidth;

    struct Row { const char* what; bool buoyType; size_t stations; uint8_t kind; };
    const Row rows[] = {
        {"ten sonar helicopters", false, 4, StationKind::DIPPING},
        {"a sonobuoy type beside them", true, 1, StationKind::SONOBUOY},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        LaunchedStations().clear();
        group->needsStationPlan = 0;
        SummaryList summaries;
        auto* helicopters = new PlaneTypeSummary(998);
        helicopters->hasSonar = 1;
        helicopters->AddRecord(*record);
        PlanTally::Available(*helicopters) = 10;
        summaries.Insert(helicopters);
        if (r.buoyType) {
            auto* patrol = new PlaneTypeSummary(999);
            patrol->sonobuoys = 40;
            patrol->AddRecord(*record);
            PlanTally::Available(*patrol) = 4;
            summaries.Insert(patrol);
        }
        group->PlanKind6Stations(summaries);
        EXPECT_EQ(group->needsStationPlan, 1);
        ASSERT_EQ(LaunchedStations().size(), r.stations);
        for (size_t j = 0; j < r.stations; ++j) {
            const SeenStation& st = LaunchedStations()[j];
            EXPECT_EQ(st.kind, r.kind);
            EXPECT_EQ(st.axis, 0);
            if (r.buoyType) {
                EXPECT_EQ(st.p1, half);
                EXPECT_EQ(st.p2, ANGLE_FULL - half);
                EXPECT_EQ(st.p3, 27 * RANGE_PER_NM);
                EXPECT_EQ(st.p4, 20 * RANGE_PER_NM);
            } else {
                // a quarter of the arc each, from 360 degrees less the half-width
                const int32_t quarter = half / 2;
                EXPECT_EQ(st.p2, ANGLE_FULL - half + static_cast<int32_t>(j) * quarter);
                EXPECT_EQ(st.p1, st.p2 + quarter);
                EXPECT_EQ(st.p3, 22 * RANGE_PER_NM);
                EXPECT_EQ(st.p4, 17 * RANGE_PER_NM);
            }
        }
        if (r.buoyType)
            EXPECT_EQ(PlanTally::Assigned(*helicopters), 0);
        else
            EXPECT_EQ(PlanTally::Assigned(*helicopters), 10);
    }
    SetPlaneRecCalls(previous);
}

TEST_F(GroupTest, OnlyThreeScreenCandidatesGiveTheStationAstern)
{
    const int32_t half = group->axes[0]->halfWidth;
    struct Row { size_t candidates; int32_t firstP1; int32_t firstP2; };
    const Row rows[] = {
        {2, half, ANGLE_FULL},
        {3, 185 * DEG, 175 * DEG},
    };
    uint16_t id = 10;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.candidates);
        StationRecord* keep = StationRecord::CreateStation(StationKind::KEEP);
        keep->axis = 1;
        keep->maxRange = 20 * RANGE_PER_NM;
        std::vector<uint16_t> ids;
        for (size_t i = 0; i < r.candidates; ++i, ++id) {
            Ship(id);
            group->AddMember(id, keep);
            ids.push_back(id);
        }
        delete keep;
        MemberList candidates;
        for (uint16_t c : ids) {
            GroupEntry* e = group->members.Find(c);
            group->members.Remove(e);
            candidates.Insert(e);
        }
        group->PlanScreenStations(candidates);
        EXPECT_EQ(candidates.First(), nullptr);
        for (size_t i = 0; i < ids.size(); ++i) {
            SCOPED_TRACE(ids[i]);
            ASSERT_NE(group->members.Find(ids[i]), nullptr);
            const StationRecord* st = group->GetMemberStation(ids[i]);
            ASSERT_NE(st, nullptr);
            EXPECT_EQ(st->kind, StationKind::SPRINT_DRIFT);
            EXPECT_EQ(st->axis, 0);
            EXPECT_EQ(st->maxRange, 8 * RANGE_PER_NM);
            EXPECT_EQ(st->minRange, 3 * RANGE_PER_NM);
            EXPECT_EQ(st->rightBearing, i == 0 ? r.firstP1 : half);
            EXPECT_EQ(st->leftBearing, i == 0 ? r.firstP2 : ANGLE_FULL);
        }
        for (uint16_t c : ids)
            group->RemoveMember(c);
    }
}

TEST_F(GroupTest, AircraftStayWithAMemberlessGroupAndARecordLosingItsLastAircraftGoes)
{
    auto* record = new PlaneRec;
    record->SetKey(1);
    record->unitID = GROUP_ID;
    record->count = 3;
    record->sizeFactor = 2;
    group->planeRecs.Insert(record);
    group->HandOverAircraft();   // no member: nothing can take them
    ASSERT_EQ(group->planeRecs.Find(1), record);
    EXPECT_EQ(record->count, 3);

    // a plane member can neither hold them nor serve as a fallback holder
    auto* plane = new Plane;
    plane->SetKey(30);
    plane->SetPosition(Home());
    plane->sideEntryID = 1;
    units.Insert(plane);
    group->AddMember(30, nullptr);
    group->HandOverAircraft();
    EXPECT_EQ(group->planeRecs.First(), nullptr);
}

// A facility whose room and largest aircraft size the test sets.
class RoomyFacility : public Facility {
public:
    int32_t GetAircraftRoom(uint32_t) const override { return room; }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return 8; }
    int32_t room = 0;
};

// The arming delay and the launch re-addressing the hand-over asked for.
struct HandOverSeen {
    static HandOverSeen& Last() { static HandOverSeen seen; return seen; }
    uint16_t readyValue = 0;
    uint16_t launchHolder = 0;
    uint16_t launchRecord = 0;
};

TEST_F(GroupTest, AMemberWithRoomTakesTheRecordWithItsStationLaunchAndArming)
{
    UnitEventCalls events = SetUnitEventCalls({});
    const UnitEventCalls previousEvents = events;
    events.makeUnitReadyEvent = [](uint16_t, uint16_t, uint16_t, uint16_t ready) -> Event* {
        HandOverSeen::Last().readyValue = ready;
        return nullptr;
    };
    events.getLaunchRecordID = [](const Event& e) { return static_cast<const TestEvent&>(e).Value(); };
    events.readdressLaunchEvent = [](Event& e, uint16_t holder, uint16_t key) {
        HandOverSeen::Last().launchHolder = holder;
        HandOverSeen::Last().launchRecord = key;
        EXPECT_EQ(e.GetSubject(), holder);
    };
    SetUnitEventCalls(events);
    world.arena.SetGameTime(1000);

    // free space before -> after taking 2 aircraft of size factor 3
    struct Row { uint16_t before; uint16_t after; };
    const Row rows[] = {{10, 4}, {6, 0}, {4, 0}};
    uint16_t facilityID = 60;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.before);
        HandOverSeen::Last() = {};
        auto* full = new Answering('S');   // first in key order, without room
        full->SetKey(facilityID - 10);
        full->SetPosition(Home());
        full->sideEntryID = 1;
        units.Insert(full);
        group->AddMember(full->GetID(), nullptr);
        auto* base = new RoomyFacility;
        base->SetKey(facilityID);
        base->SetPosition(Home());
        base->sideEntryID = 1;
        base->room = 20;
        base->aircraftSpace[0] = r.before;
        units.Insert(base);
        group->AddMember(facilityID, nullptr);

        auto* record = new PlaneRec;
        record->SetKey(1);
        record->unitID = GROUP_ID;
        record->planeAnnexID = 999;
        record->count = 2;
        record->sizeFactor = 3;
        record->loadoutID = 5;
        record->missionID = 7;
        record->readyTime = 1100;
        record->SetFlags(0x3);
        StationRecord patrol;
        patrol.kind = StationKind::KEEP;
        patrol.maxRange = 9;
        record->SetStation(&patrol);
        group->planeRecs.Insert(record);
        PostOrDrop(new TestEvent(EventCode::LAUNCH_AIRCRAFT, GROUP_ID, 1));

        group->HandOverAircraft();
        EXPECT_EQ(group->planeRecs.First(), nullptr);
        const PlaneRec* taken = base->planeRecs.First();
        ASSERT_NE(taken, nullptr);
        EXPECT_EQ(taken->unitID, facilityID);
        EXPECT_EQ(taken->planeAnnexID, 999);
        EXPECT_EQ(taken->count, 2);
        EXPECT_EQ(taken->loadoutID, 5);
        EXPECT_EQ(taken->GetFlags(0x3FFF), 0u);
        EXPECT_EQ(taken->sizeFactor, 3);
        EXPECT_EQ(taken->missionID, 7);
        EXPECT_EQ(HandOverSeen::Last().readyValue, 100);
        ASSERT_NE(taken->GetStation(), nullptr);
        EXPECT_EQ(taken->GetStation()->kind, StationKind::KEEP);
        EXPECT_EQ(taken->GetStation()->maxRange, 9);
        EXPECT_EQ(HandOverSeen::Last().launchHolder, facilityID);
        EXPECT_EQ(HandOverSeen::Last().launchRecord, taken->GetKey());
        EXPECT_EQ(base->aircraftSpace[0], r.after);
        ClearQueued(EventCode::LAUNCH_AIRCRAFT);
        group->RemoveMember(full->GetID());
        group->RemoveMember(facilityID);
        facilityID += 1;
    }
    SetUnitEventCalls(previousEvents);
}

TEST_F(GroupTest, AirStationsFollowTheAircraftFromLaunchToLoss)
{
    auto* carrier = new Carrier;
    carrier->SetKey(50);
    units.Insert(carrier);
    PlaneRec* record = new PlaneRec;
    record->SetKey(4);
    record->unitID = 50;
    record->count = 2;
    carrier->records.Insert(record);
    StationRecord patrol;
    patrol.kind = StationKind::KEEP;
    patrol.maxRange = 9;
    group->AddAirStations(*record, patrol);
    int n = 0;
    for (const StationRecord* s = group->airStations.First(); s != nullptr; s = s->GetNext(), ++n) {
        EXPECT_EQ(s->mode, StationMode::LAUNCHING);
        EXPECT_EQ(s->unitID, 50);
        EXPECT_EQ(s->leg, 4);
    }
    EXPECT_EQ(n, 2);
    group->LaunchAirStation(*record, 31);
    EXPECT_EQ(group->airStations.First()->mode, StationMode::FLYING);
    EXPECT_EQ(group->airStations.First()->unitID, 31);
    StationRecord probe;
    probe.unitID = 31;
    EXPECT_EQ(group->FindAirStation(probe), group->airStations.First());
    group->DropAirStation(31);
    EXPECT_EQ(group->airStations.First()->mode, StationMode::LAUNCHING);
    group->ReleaseAirStations();
    EXPECT_EQ(group->airStations.First(), nullptr);
}

// The saved record after its type letter.
std::string Fields(const Group& g)
{
    std::ostringstream out;
    g.SaveFields(out);
    return out.str().substr(1);
}

bool LoadInto(Group& g, const std::string& bytes)
{
    std::istringstream in(bytes);
    return g.LoadFields(in);
}

TEST_F(GroupTest, RecordRoundTripsWithAxesStationsAndAircraft)
{
    Ship(7);
    group->AddMember(7, nullptr);
    delete group->axes[1];
    group->axes[1] = nullptr;   // never created: written 0, 2, 3
    group->axes[2]->bearing = 200 * DEG;
    group->axes[2]->weight = 50;
    group->axes[2]->userSet = 1;
    auto* record = new PlaneRec;
    record->SetKey(2);
    record->unitID = GROUP_ID;
    record->count = 1;
    group->planeRecs.Insert(record);
    StationRecord patrol;
    group->AddAirStations(*record, patrol);
    group->speedCarry = 6;
    group->needsStationPlan = 0;
    std::ostringstream out;
    group->SaveFields(out);
    ASSERT_TRUE(out.good());
    const std::string saved = out.str().substr(1);
    const uint8_t counter = Group::GetNameCounter();

    Group copy;
    ASSERT_TRUE(LoadInto(copy, saved));
    EXPECT_EQ(Group::GetNameCounter(), counter);
    EXPECT_NE(copy.members.Find(7), nullptr);
    EXPECT_NE(copy.GetMemberStation(7), nullptr);
    EXPECT_EQ(copy.axes[1]->bearing, Group::AXIS_STEP);   // its constructor values
    delete copy.axes[1];
    copy.axes[1] = nullptr;
    EXPECT_EQ(Fields(copy), saved);
    EXPECT_EQ(copy.axes[2]->weight, 50u);
    EXPECT_NE(copy.airStations.First(), nullptr);
    EXPECT_EQ(copy.speedCarry, 6);
    EXPECT_EQ(copy.needsStationPlan, 0);
}

TEST_F(GroupTest, FilesBefore2100HaveNoAirStations)
{
    group->airStations.DeleteAll();
    std::string saved = Fields(*group);
    // the air-station count sits before the closing ten bytes
    saved.erase(saved.size() - 12, 2);
    admin.SetFileVersion(VersionNumber(2, 0, 9, 0));
    Group copy;
    EXPECT_TRUE(LoadInto(copy, saved));
    EXPECT_EQ(copy.airStations.First(), nullptr);
    admin.SetFileVersion(VersionNumber(2, 1, 0, 0));
    Group newer;
    EXPECT_FALSE(LoadInto(newer, saved));   // now the block is expected
}

TEST_F(GroupTest, DamagedRecordsAreRefused)
{
    Ship(7);
    group->AddMember(7, nullptr);
    group->airStations.DeleteAll();
    const std::string saved = Fields(*group);
    for (size_t cut = 0; cut < saved.size(); ++cut) {
        Group copy;
        EXPECT_FALSE(LoadInto(copy, saved.substr(0, cut))) << cut;
    }
    // Offsets from the end: ten closing bytes, the air-station count, the
    // formation, then the axis list (three slots of 2 + 16 bytes and the
    // closing slot) after the one member entry (9 bytes) and its count.
    std::ostringstream formation;
    group->formation->Save(formation);
    const size_t airCount = saved.size() - 12;
    const size_t axisList = airCount - formation.str().size() - (3 * 18 + 2);
    const size_t memberCount = axisList - 9 - 2;
    struct Row { const char* what; size_t at; };
    for (const Row& r : {Row{"axis slot 7", axisList}, Row{"65535 members", memberCount},
                         Row{"65535 air stations", airCount}}) {
        std::string bad = saved;
        bad[r.at] = r.at == axisList ? '\x07' : '\xFF';
        bad[r.at + 1] = r.at == axisList ? '\0' : '\xFF';
        Group copy;
        EXPECT_FALSE(LoadInto(copy, bad)) << r.what;
    }
    Group copy;
    EXPECT_TRUE(LoadInto(copy, saved));   // the offsets are the record's
}

}  // namespace
