// ReconMissionTest.cpp: the recon mission's creation and points, its area
// and description, the point route (nearest-first and random choice, the
// reach of a point and of the approach), the commands, the emission orders,
// the aircraft launch and the saved form. Contacts: ReconContactsTest.cpp.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "missions/MissionList.h"
#include "missions/OpsStaff.h"
#include "units/PlaneRec.h"
#include "world/AreaPolygonList.h"
#include "ReconWorld.h"

namespace {

using namespace recontest;

class Recon : public ::testing::Test, public ReconWorld {};

TEST_F(Recon, MadeWithoutPointsIsRefusedWithoutUsingAnID)
{
    const std::unique_ptr<MissionRecord> loaded(GetMissionLoadMaker(MissionType::RECON)(9, &side));
    EXPECT_EQ(loaded->GetType(), ReconMission::TYPE);
    OpsStaff staff(&side);
    IDList none;
    EXPECT_EQ(staff.CreateMission("Eyes", 5, nullptr, &none), 0);
    ASSERT_EQ(Notes().messages.size(), 1u);
    EXPECT_EQ(Notes().messages[0], "The reconnaissance mission Eyes has no reference points and has been cancelled.");

    IDList points;
    points.Insert(new IDNode(side.AddPoint(LatLonPoint(NM, 0))));
    const uint16_t id = staff.CreateMission("Eyes", 5, nullptr, &points);
    EXPECT_EQ(id, FIRST_CREATED_MISSION_ID);
    EXPECT_EQ(staff.Find(id)->GetType(), ReconMission::TYPE);
    EXPECT_EQ(std::string(staff.Find(id)->GetSavedName()), "Reconnaissance of reference points: 1");
}

// The area and description are rebuilt only when a point id comes or goes:
// point 1 moves after creation, so a rebuild shows in the area.
TEST_F(Recon, PointsChangeOnlyWhenAnIDComesOrGoes)
{
    const struct {
        bool add;
        std::vector<uint16_t> ids;
        std::vector<uint16_t> expected;
        const char* message;   // to the player, or null
        bool rebuilt;
    } rows[] = {
        {true, {}, {1, 2}, "Look: there are no reference points to add.", false},
        {true, {1, 2}, {1, 2}, nullptr, false},
        {true, {2, 3}, {1, 2, 3}, nullptr, true},
        {false, {}, {1, 2}, "Look: there are no reference points to remove.", false},
        {false, {9}, {1, 2}, nullptr, false},
        {false, {2}, {1}, nullptr, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.add ? "add" : "remove") << " " << row.ids.size());
        made.clear();
        side.DeletePoint(1);
        side.DeletePoint(2);
        side.DeletePoint(3);
        ReconMission& m = MakeRecon({LatLonPoint(NM, 0), LatLonPoint(2 * NM, -NM), LatLonPoint(3 * NM, 0)}, {1, 2});
        EXPECT_EQ(m.ReconArea, LatLonRect(2 * NM, -NM, NM, 0));
        side.MovePoint(1, LatLonPoint(-5 * NM, 5 * NM));
        Notes().messages.clear();
        IDList list;
        for (const uint16_t id : row.ids)
            list.Insert(new IDNode(id));
        if (row.add)
            m.AddPoints(&list);
        else
            m.RemovePoints(&list);
        EXPECT_EQ(Ids(m.ReconPoints), row.expected);
        EXPECT_EQ(Notes().messages, row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
        EXPECT_EQ(m.ReconArea.south == -5 * NM, row.rebuilt);
    }
    EXPECT_EQ(std::string(recon->GetSavedName()), "Reconnaissance of reference points: 1");
}

TEST_F(Recon, AreaAndDescriptionSkipNothingButAreaSkipsDeletedPoints)
{
    ReconMission& m = MakeRecon({LatLonPoint(NM, 2 * NM), LatLonPoint(-3 * NM, 7 * NM)}, {1, 2, 12});
    EXPECT_EQ(m.ReconArea, LatLonRect(NM, 2 * NM, -3 * NM, 7 * NM));
    EXPECT_EQ(std::string(m.GetSavedName()), "Reconnaissance of reference points: 1, 2, 12");
    side.DeletePoint(1);
    side.DeletePoint(2);
    m.UpdateArea();
    EXPECT_EQ(m.ReconArea, LatLonRect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN));
    EXPECT_EQ(Ids(m.ReconPoints), (std::vector<uint16_t>{1, 2, 12}));
}

// A point is reached within one mile, the approach ends within ten; farther
// the unit is sent on, 39960 units short of the point on the approach.
TEST_F(Recon, ReachAtOneAndTenMilesNotBeyond)
{
    MakePlayerSide();
    const struct {
        int16_t state;
        int32_t range;
        int16_t nextState;
        uint16_t nextPoint;
        int32_t pathRange;   // from the unit to its new path point; 0: no path
    } rows[] = {
        {ReconState::ON_ROUTE, NM, ReconState::ON_ROUTE, 0, 0},
        {ReconState::ON_ROUTE, NM + 1, ReconState::ON_ROUTE, 1, NM + 1},
        {ReconState::APPROACH, 10 * NM, ReconState::ON_ROUTE, 1, 0},
        // Past 10 nm ranges come from the great circle, the next of them 41546.
        {ReconState::APPROACH, 41546, ReconState::APPROACH, 1, 41546 - 39960},
        {ReconState::ROUTE_CONTACTS, NM, ReconState::ROUTE_CONTACTS, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.state << " at " << row.range);
        made.clear();
        side.DeletePoint(1);
        MakeRecon({North(row.range)});
        ReconUnit& unit = Add(7, 'A', row.state);
        Notes().paths.clear();
        recon->StepUnit(7, 0);
        EXPECT_EQ(Record(7).state, row.nextState);
        EXPECT_EQ(Record(7).firstWord, row.nextPoint);
        EXPECT_EQ(recon->missionFlags & ReconMission::EMISSIONS_MANAGED, ReconMission::EMISSIONS_MANAGED);
        const auto events = Taken();
        if (row.pathRange == 0) {
            EXPECT_TRUE(Notes().paths.empty());
            EXPECT_EQ(events, (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_UNIT, 7, 0}}));
        } else {
            ASSERT_EQ(Notes().paths.size(), 1u);
            EXPECT_NEAR(NavMath::Get_Vector(unit.GetPosition(), Notes().paths[0].second).range, row.pathRange, 2);
            const uint16_t speed = row.state == ReconState::APPROACH ? 12 : 20;
            const uint16_t altitude = row.state == ReconState::APPROACH ? 61 : 302;
            EXPECT_EQ(events, (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{
                                  {SET_SPEED, 7, speed}, {SET_ALTITUDE, 7, altitude}}));
        }
        units.Remove(&unit);
        delete &unit;
        record->ownUnits.DeleteAll();
    }
}

TEST_F(Recon, PlayerAircraftShareOutTheNearestPointsOncePerCycle)
{
    MakePlayerSide();
    MakeRecon({North(20 * NM), North(30 * NM), North(40 * NM)}, {2, 1});   // point 3 is no recon point
    for (uint16_t id = 11; id <= 14; ++id)
        AddPlane(id);
    const struct {
        uint16_t unit;
        uint16_t point;   // 0: none, sent home
        std::vector<uint16_t> visited;
    } rows[] = {
        {11, 1, {1}},
        {12, 2, {1, 2}},
        {13, 0, {}},
        {14, 1, {1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.unit);
        recon->StepUnit(row.unit, 0);
        EXPECT_EQ(Record(row.unit).firstWord, row.point);
        EXPECT_EQ(Ids(recon->VisitedPoints), row.visited);
        const auto events = Taken();
        const bool home = !events.empty() && std::get<0>(events[0]) == LAND;
        EXPECT_EQ(home, row.point == 0);
        if (home) {
            EXPECT_EQ(std::get<2>(events[0]), 40);
        }
    }
}

TEST_F(Recon, RandomDrawOfADeletedPointRemovesItAndSendsThePlaneHome)
{
    MakeRecon({North(20 * NM), LatLonPoint(3 * NM, 4 * NM)});
    side.DeletePoint(1);
    AddPlane(11);
    // A seed whose first draw below 2 is 0: the deleted point.
    uint32_t seed = 1;
    for (;; ++seed) {
        state.Generator().SetSeed(seed);
        if (gam2arena::Random(2) == 0)
            break;
    }
    state.Generator().SetSeed(seed);
    recon->StepUnit(11, 0);
    EXPECT_EQ(Ids(recon->ReconPoints), (std::vector<uint16_t>{2}));
    EXPECT_EQ(recon->ReconArea, LatLonRect(3 * NM, 4 * NM, 3 * NM, 4 * NM));
    EXPECT_EQ(std::string(recon->GetSavedName()), "Reconnaissance of reference points: 2");
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{LAND, 11, 40}}));

    // With no point left the mission says so and marks its points used up.
    IDList last;
    last.Insert(new IDNode(2));
    recon->RemovePoints(&last);
    recon->StepUnit(11, 0);
    EXPECT_EQ(recon->missionFlags & ReconMission::POINTS_USED_UP, ReconMission::POINTS_USED_UP);
    EXPECT_EQ(reports.posts, (std::vector<std::string>{"Look has no points left and ends."}));
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{LAND, 11, 40}}));
}

TEST_F(Recon, StepGateAndUnknownStates)
{
    MakePlayerSide();
    MakeRecon({North(20 * NM)});
    Add(7, 'A', 4);
    Add(8, 'A', ReconState::ON_ROUTE).SetParentID(30);
    Add(9, 'S', ReconState::ON_ROUTE);
    recon->StepUnit(7, 0);
    recon->StepUnit(8, 0);
    recon->StepUnit(9, 0);
    recon->StepUnit(99, 0);
    EXPECT_EQ(reports.posts, (std::vector<std::string>{ReconMission::UNKNOWN_STATE_TEXT}));
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(Record(8).firstWord, 0);
    EXPECT_EQ(Record(9).firstWord, 0);

    // A non-zero code starts the route over: the point is chosen again.
    Record(8).firstWord = 77;
    recon->missionFlags = 0;
    Record(7).state = ReconState::ON_ROUTE;
    Record(7).firstWord = 77;
    recon->StepUnit(7, 1);
    EXPECT_EQ(Record(7).firstWord, 1);
}

TEST_F(Recon, SuspendWithDelayZeroResumesNowAndBlocksSteps)
{
    MakePlayerSide();
    MakeRecon({North(20 * NM)});
    Add(7);
    Add(8);
    recon->delayTime = 0;
    recon->HandleMissionEvent(ReconMission::SUSPEND);
    EXPECT_EQ(recon->missionFlags, ReconMission::SUSPENDED);
    Event* const resume = gam2arena::FindEvent(nullptr, MISSION_EVENT);
    ASSERT_NE(resume, nullptr);
    EXPECT_EQ(resume->GetTime().Get(), 0u);
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_EVENT, 5, 1}}));

    recon->StepUnit(7, 0);
    EXPECT_TRUE(Taken().empty());
    EXPECT_EQ(Record(7).firstWord, 0);
    recon->HandleMissionEvent(2);
    EXPECT_EQ(recon->missionFlags, ReconMission::SUSPENDED);

    recon->HandleMissionEvent(ReconMission::RESUME);
    EXPECT_EQ(recon->missionFlags, 0u);
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{MISSION_UNIT, 7, 0}, {MISSION_UNIT, 8, 0}}));
}

TEST_F(Recon, EmissionOrdersFollowTheFlagsOnceManaged)
{
    MakeRecon({North(20 * NM)});
    Add(7);
    recon->DefaultSettingGroup1();
    recon->DefaultSettingGroup3();
    constexpr uint32_t RADAR_ON = 2 << 8 | 1, RADAR_OFF = 3 << 8 | 1, ECM_ON = 2 << 8 | 7, ECM_OFF = 3 << 8 | 7;
    using Order = std::tuple<uint16_t, uint32_t, uint16_t>;
    const struct {
        uint32_t flags;
        int16_t state;
        std::vector<Order> orders;
    } rows[] = {
        {0x2 | 0x2000, ReconState::ON_ROUTE, {}},   // not managed yet
        {0x1 | 0x2 | 0x2000, ReconState::ON_ROUTE, {{7, RADAR_OFF, 0}, {7, ECM_OFF, 0}}},
        {0x1 | 0x2 | 0x2000, ReconState::ROUTE_CONTACTS, {{7, RADAR_ON, 0}, {7, ECM_ON, 0}}},
        {0x1 | 0x2 | 0x2000, ReconState::ENGAGING, {{7, RADAR_OFF, 0}, {7, ECM_ON, 0}}},
        {0x1 | 0x8 | 0x8000, ReconState::ON_ROUTE, {{7, RADAR_ON, 900}, {7, ECM_ON, 60}}},
        {0x1 | 0x4 | 0x4000, ReconState::ON_ROUTE, {{7, RADAR_ON, 0}, {7, ECM_ON, 0}}},
        {0x1, ReconState::ON_ROUTE, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.flags << " state " << row.state);
        recon->missionFlags = row.flags;
        Record(7).state = row.state;
        Record(7).markBits = 0;
        PostOrDrop(new TestEvent(SET_SENSORS, 7));   // an older order, dropped
        Notes().sensors.clear();
        recon->SetUnitPosture(7, &Record(7));
        EXPECT_EQ(Notes().sensors, row.orders);
        EXPECT_EQ(Record(7).markBits, UNIT_POSTURE_APPLIED);
        EXPECT_EQ(Taken().size(), row.orders.size());
        // Marked: nothing more until the state changes.
        recon->SetUnitPosture(7, &Record(7));
        EXPECT_TRUE(Taken().empty());
    }
}

TEST_F(Recon, AltitudesAndDefaultTimings)
{
    MakeRecon({North(20 * NM)});
    const struct {
        char letter;
        int16_t patrol, task;
    } rows[] = {{'A', 302, 301}, {'P', 302, 301}, {'U', 302, 0}, {'S', 0, 0}, {'F', 0, 0}};
    for (const auto& row : rows) {
        ReconUnit unit(1, row.letter);
        EXPECT_EQ(recon->GetPatrolAltitude(&unit, 0), row.patrol) << row.letter;
        EXPECT_EQ(recon->GetTaskAltitude(&unit, 0, 0), row.task) << row.letter;
    }
    recon->DefaultSettingGroup1();
    recon->DefaultSettingGroup2();
    recon->DefaultSettingGroup3();
    const std::vector<uint16_t> timings(recon->settingGroup1, recon->settingGroup1 + 12);
    EXPECT_EQ(timings, (std::vector<uint16_t>{900, 50, 300, 50, 600, 50, 60, 50, 60, 50, 30, 50}));
}

// Holders of aircraft records for the launch tests: types 11 and 12 fly
// 200 and 300 nm.
class Holder : public unittest::TestUnit {
public:
    explicit Holder(uint16_t id) : TestUnit('S') { SetKey(id); }
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

class ReconLaunch : public Recon {
protected:
    ReconLaunch()
    {
        Annex::Tables().Create();
        for (const auto& [type, radius] : {std::pair<uint16_t, uint16_t>{11, 200}, {12, 300}}) {
            auto* annex = new PlaneAnnex(type);
            annex->usableRange = radius;
            Annex::Tables().Planes()->Insert(annex);
        }
        holder = new Holder(30);
        units.Insert(holder);
        MakeRecon({North(20 * NM)});
    }
    ~ReconLaunch() override { Annex::Tables().Delete(); }

    PlaneRecRef* AddRef(uint16_t recordID, uint8_t count, uint16_t type, uint32_t flags = 0x10F)
    {
        auto* planes = new PlaneRec(recordID);
        planes->unitID = holder->GetKey();
        planes->count = count;
        planes->flags = flags;
        planes->planeAnnexID = type;
        holder->records.Insert(planes);
        auto* ref = new PlaneRecRef(recon->planeRefs.NewKey());
        ref->holderID = holder->GetKey();
        ref->recordID = recordID;
        ref->count = count;
        ref->recordFlags = flags;
        recon->planeRefs.Insert(ref);
        return ref;
    }
    std::vector<uint8_t> Counts() const
    {
        std::vector<uint8_t> counts;
        for (const PlaneRecRef* r = recon->planeRefs.First(); r != nullptr; r = r->GetNext())
            counts.push_back(r->count);
        return counts;
    }

    Holder* holder = nullptr;
};

TEST_F(ReconLaunch, ComputerSideLaunchesAThirdOfEachReadyReference)
{
    AddRef(1, 7, 11);
    AddRef(2, 2, 11);
    AddRef(3, 5, 11, 0x10F | 0x2000);   // held back
    AddRef(4, 5, 11, 0x10E);            // not ready
    recon->SetAircraftWait();
    EXPECT_EQ(Counts(), (std::vector<uint8_t>{5, 1, 5, 5, 2, 1}));
    EXPECT_EQ(Taken().size(), 2u);
    EXPECT_EQ(recon->missionFlags, MissionFlag::AIRCRAFT_WAIT);
    recon->SetAircraftWait();
    EXPECT_TRUE(Taken().empty());
}

TEST_F(ReconLaunch, PlayerSideLaunchesOneOfTheLongestRangeWhenNoneFlies)
{
    MakePlayerSide();
    AddRef(1, 1, 11);
    AddRef(2, 1, 12);
    AddRef(3, 1, 12);   // as far, but later
    Plane& flying = AddPlane(20);
    recon->SetAircraftWait();
    EXPECT_TRUE(Taken().empty());

    recon->missionFlags = 0;
    Record(20).state = MissionUnitState::DONE;
    recon->SetAircraftWait();
    EXPECT_EQ(Taken(), (std::vector<std::tuple<uint8_t, uint16_t, uint16_t>>{{LAUNCH, 30, 2}}));

    recon->missionFlags = 0;
    AddRef(4, 1, 12, 0x10F | 0x2000);
    recon->SetAircraftWait();
    EXPECT_TRUE(Taken().empty());
    (void)flying;
}

// The saved form holds every id as loaded (also of points that are gone),
// and a record cut anywhere is refused with nothing kept.
TEST_F(Recon, SavedFormRoundTripsAndRefusesACutRecord)
{
    MakeRecon({North(20 * NM), LatLonPoint(-NM, 3 * NM)}, {1, 2, 40});
    Add(7).SetPosition(North(NM));
    Record(7).firstWord = 2;
    recon->ReconPolyID = 6;
    recon->VisitedPoints.Insert(new IDNode(40));
    recon->missionFlags = 0x81;
    std::ostringstream out;
    ASSERT_TRUE(recon->Save(out));
    const std::string bytes = out.str();

    ReconMission loaded(9, &side);
    std::istringstream in(bytes);
    uint16_t type = 0;
    LoadField(in, type);
    EXPECT_EQ(type, ReconMission::TYPE);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(Ids(loaded.ReconPoints), (std::vector<uint16_t>{1, 2, 40}));
    EXPECT_EQ(Ids(loaded.VisitedPoints), (std::vector<uint16_t>{40}));
    EXPECT_EQ(loaded.ReconArea, recon->ReconArea);
    EXPECT_EQ(loaded.ReconPolyID, 6);
    EXPECT_EQ(loaded.GetID(), 5);
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), bytes);
    loaded.ReconPolyID = 0;
    recon->ReconPolyID = 0;

    for (size_t length = 2; length < bytes.size(); ++length) {
        std::istringstream cut(bytes.substr(0, length));
        LoadField(cut, type);
        ReconMission refused(9, &side);
        EXPECT_FALSE(refused.Load(cut)) << length;
        EXPECT_TRUE(cut.fail());
        EXPECT_EQ(refused.ReconPoints.First(), nullptr);
        EXPECT_EQ(refused.VisitedPoints.First(), nullptr);
        EXPECT_EQ(refused.units.First(), nullptr);
        EXPECT_EQ(refused.ReconPolyID, 0);
    }
}

TEST_F(Recon, DeletingTheMissionDeletesItsPolygon)
{
    Side owner("Blue", 1);
    AreaPolygonList& zones = *owner.GetThreatZones();
    PositionNode first(LatLonPoint(0, 0));
    const int16_t kept = zones.Add(0xF000, &first);
    const int16_t owned = zones.Add(0xF000, &first);
    IDList points;
    points.Insert(new IDNode(owner.AddPoint(North(20 * NM))));
    auto* mission = new ReconMission(5, "Look", &points, &owner);
    mission->ReconPolyID = static_cast<uint16_t>(owned);
    delete mission;
    EXPECT_EQ(zones.GetType(owned), 0u);
    EXPECT_EQ(zones.GetType(kept), 0xF000u);
}

} // namespace
