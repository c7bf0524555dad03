// Approach planning: the direct leg (reach, shortest weapon reach, halving
// until the map allows the point), the intercept's walk through propulsion
// settings, and the aircraft leg from its holder.
#include "missions/MissionRecord.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "engagement/Contact.h"
#include "missions/Side.h"
#include "units/PlaneRec.h"
#include "units/PropulsionPlant.h"
#include "units/Unit.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"
#include "support/ReportCapture.h"

namespace {

constexpr int32_t NM = RANGE_PER_NM;
constexpr int32_t TENTH = 409;   // range units in a tenth of a nautical mile

// A plant of speeds 5, 12, 20, 28 knots for settings 0..3 at every altitude
// the tests use.
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

// A unit whose letter and shortest weapon reach the test sets, with the
// speed plant (5, 12, 20, 28 knots for settings 0..3); it records
// the legs it is offered and accepts them at the speeds listed (all when
// acceptAll).
class ApproachUnit : public Unit {
public:
    ApproachUnit(char letter, bool withPlant = true) : letter_(letter)
    {
        SetKey(7);
        if (withPlant)
            plants.Insert(SpeedPlant());
    }
    char GetTypeLetter() const override { return letter_; }
    uint16_t GetShortestWeaponReach(uint32_t) const override { return shortestTenths; }
    bool CanReachPoint(const LatLonPoint& point, uint16_t knots, int32_t) override
    {
        offered.push_back(point);
        speeds.push_back(knots);
        if (acceptAll)
            return true;
        for (uint16_t s : acceptedSpeeds)
            if (s == knots)
                return true;
        return false;
    }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

    uint16_t shortestTenths = 0;
    bool acceptAll = true;
    std::vector<uint16_t> acceptedSpeeds;
    std::vector<LatLonPoint> offered;
    std::vector<uint16_t> speeds;

private:
    char letter_;
};

// A mission whose unit reach (range units) the test sets.
class ApproachMission : public MissionRecord {
public:
    explicit ApproachMission(Side* owner) : MissionRecord(3, "Approach", owner) {}
    uint32_t GetUnitRange(Unit*, uint32_t) override { return reach; }
    uint32_t GetPlaneRange(PlaneRec*, uint32_t) override { return planeReach; }
    uint32_t reach = 0;
    uint32_t planeReach = 0;
};

// The map: a point is valid up to `validNorth` range units north of the
// equator (land beyond).
int32_t gValidNorth = 0;
bool ValidSouthOfLand(uint16_t, const LatLonPoint& from, const LatLonPoint& to)
{
    const int32_t limit = NavMath::Get_LatLonPoint_From_Vector({}, gValidNorth, 0).lat;
    return from.lat <= limit && to.lat <= limit;
}

class MissionApproach : public ::testing::Test {
protected:
    MissionApproach() : side(1), mission(&side)
    {
        UnitBridgeCalls calls;
        calls.legValidForUnit = &ValidSouthOfLand;
        previous = SetUnitBridgeCalls(calls);
        gValidNorth = 1000 * NM;
    }
    ~MissionApproach() override { SetUnitBridgeCalls(previous); }

    // A contact `nm` nautical miles due north of the unit (at the origin).
    void PlaceContact(int32_t nm, uint16_t known = 0, uint32_t classBits = 1)
    {
        target = NavMath::Get_LatLonPoint_From_Vector({}, nm * NM, 0);
        contact.SetPosition(target);
        contact.SetTypeFlags(classBits);
        contact.knownBits = known;
    }
    static LatLonPoint Along(int32_t length, int32_t bearing)
    {
        return NavMath::Get_LatLonPoint_From_Vector({}, length, bearing);
    }

    Side side;
    ApproachMission mission;
    Contact contact;
    LatLonPoint target;
    UnitBridgeCalls previous;
};

TEST_F(MissionApproach, DirectLegStopsAtReachAndIsHalvedUntilValid)
{
    struct Case {
        const char* name;
        uint32_t reach;          // range units
        uint16_t shortest;       // tenths of a nautical mile
        int32_t validNorth;      // range units
        bool found;
        int32_t leg;             // range units of the leg offered
        int32_t bearing;
    };
    const int32_t d = NavMath::Get_Vector({}, Along(10 * NM, 0)).range;
    const Case cases[] = {
        {"beyond reach: run in to reach, long leg kept", 4 * NM, 0, 1000 * NM, true, d - 4 * NM, 0},
        {"inside reach: run in to shortest reach", 20 * NM, 30, 1000 * NM, true, d - 30 * TENTH, 0},
        {"inside shortest reach: back off", 20 * NM, 150, 1000 * NM, true, 150 * TENTH - d, ANGLE_HALF},
        {"land ahead: halved twice", 4 * NM, 0, 2 * NM, true, (d - 4 * NM) >> 2, 0},
        {"land everywhere ahead: no plan", 4 * NM, 0, -1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlaceContact(10);
        ApproachUnit unit('S');
        unit.shortestTenths = c.shortest;
        mission.reach = c.reach;
        gValidNorth = c.validNorth;
        uint32_t setting = 99, time = 0;
        LatLonPoint point = target;
        EXPECT_EQ(mission.PlanDirectApproach(&contact, &unit, setting, 0, time, point, 1), c.found);
        EXPECT_EQ(setting, 1u);          // a ship against surface: setting 1
        EXPECT_EQ(point, target);        // the direct approach leaves the point
        if (c.found) {
            ASSERT_EQ(unit.offered.size(), 1u);
            EXPECT_EQ(unit.offered[0], Along(c.leg, c.bearing));
            EXPECT_EQ(unit.speeds[0], 12);
        } else {
            EXPECT_TRUE(unit.offered.empty());
        }
    }
}

TEST_F(MissionApproach, DirectTimeIsTheFullLegAtTheSettingsSpeed)
{
    PlaceContact(10);
    ApproachUnit unit('S');
    mission.reach = 4 * NM;
    gValidNorth = 2 * NM;   // halving does not change the time
    uint32_t setting = 0, time = 0;
    LatLonPoint point = target;
    ASSERT_TRUE(mission.PlanDirectApproach(&contact, &unit, setting, 0, time, point, 1));
    const int32_t leg = NavMath::Get_Vector({}, target).range - 4 * NM;
    EXPECT_NEAR(time, 3600.0 * leg / (12.0 * NM), 1.0);   // about 1800 s for 6 nm at 12 kn
}

TEST_F(MissionApproach, NoSpeedAtTheSettingIsNoPlanWithTimeZero)
{
    PlaceContact(10);
    ApproachUnit unit('S', false);
    uint32_t setting = 0, time = 55;
    LatLonPoint point = target;
    EXPECT_FALSE(mission.PlanDirectApproach(&contact, &unit, setting, 0, time, point, 1));
    EXPECT_EQ(time, 0u);
    EXPECT_TRUE(unit.offered.empty());
}

TEST_F(MissionApproach, InterceptStepsThroughSettingsUntilRefusedByMayAttack)
{
    struct Case {
        const char* name;
        char letter;
        uint32_t classBits;
        std::vector<uint16_t> speedsTried;   // 5, 12, 20, 28: settings 0..3
        uint32_t lastSetting;
    };
    const Case cases[] = {
        {"aircraft from 1: 1, 3, then 0 stops", 'P', 1, {12, 28}, 3},
        {"aircraft from 2: 2, 1, 3", 'P', 4, {20, 12, 28}, 3},
        {"air group like a plane", 'A', 1, {12, 28}, 3},
        {"ship rises below 4", 'S', 1, {12, 20, 28}, 3},
        {"submarine rises below 2", 'U', 1, {5, 12}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlaceContact(10, ContactKnown::COURSE | ContactKnown::SPEED, c.classBits);
        ApproachUnit unit(c.letter);
        unit.acceptAll = false;
        uint32_t setting = 99, time = 0;
        LatLonPoint point = target;
        EXPECT_FALSE(mission.PlanInterceptApproach(&contact, &unit, setting, 0, time, point, c.classBits));
        EXPECT_EQ(unit.speeds, c.speedsTried);
        EXPECT_EQ(setting, c.lastSetting);
        // No plan: the point still moves a quarter of the way to the contact.
        EXPECT_EQ(point, Along(NavMath::Get_Vector({}, target).range >> 2, 0));
    }
}

TEST_F(MissionApproach, InterceptFoundMovesAQuarterOfTheWayToTheMeeting)
{
    PlaceContact(10, ContactKnown::COURSE | ContactKnown::SPEED);
    ApproachUnit unit('S');
    unit.acceptAll = false;
    unit.acceptedSpeeds = {20};
    uint32_t setting = 0, time = 0;
    LatLonPoint point = target;
    ASSERT_TRUE(mission.PlanInterceptApproach(&contact, &unit, setting, 0, time, point, 1));
    EXPECT_EQ(setting, 2u);
    EXPECT_EQ(unit.speeds, (std::vector<uint16_t>{12, 20}));
    EXPECT_NEAR(time, 1800.0, 2.0);   // 10 nm at 20 kn to a contact standing still
    EXPECT_EQ(point, Along(NavMath::Get_Vector({}, target).range >> 2, 0));
}

// A course beyond a full circle (a damaged figure) is the same course taken
// round the circle: the same meeting and time.
TEST_F(MissionApproach, InterceptTakesACourseBeyondACircleRoundIt)
{
    const auto plan = [this](uint16_t course) {
        PlaceContact(10, ContactKnown::COURSE | ContactKnown::SPEED);
        contact.course = course;
        contact.speed = 6;
        ApproachUnit unit('S');
        uint32_t setting = 0, time = 0;
        LatLonPoint point = target;
        EXPECT_TRUE(mission.PlanInterceptApproach(&contact, &unit, setting, 0, time, point, 1)) << course;
        return std::pair{point, time};
    };
    const auto expected = plan(15);
    for (uint16_t course : {uint16_t{375}, uint16_t{9015}, uint16_t{65535}})
        EXPECT_EQ(plan(course), expected) << course;
}

TEST_F(MissionApproach, ContactWithoutCourseOrSpeedIsApproachedDirectly)
{
    for (uint16_t known : {uint16_t{0}, ContactKnown::COURSE, ContactKnown::SPEED}) {
        PlaceContact(10, known, 4);
        ApproachUnit unit('P');
        mission.reach = 4 * NM;
        uint32_t setting = 0, time = 0;
        LatLonPoint point = target;
        EXPECT_TRUE(mission.PlanInterceptApproach(&contact, &unit, setting, 0, time, point, 4));
        EXPECT_EQ(setting, 1u);   // the direct rating, not the intercept's 2
        ASSERT_EQ(unit.offered.size(), 1u);
        EXPECT_EQ(point, target);
    }
}

TEST_F(MissionApproach, PlanApproachChoosesByClassAndClearsTheTimeWithoutAPlan)
{
    // A class outside the intercept classes goes direct; refused: time 0.
    PlaceContact(10, ContactKnown::COURSE | ContactKnown::SPEED, 0x4000);
    ApproachUnit unit('S');
    unit.acceptAll = false;
    mission.reach = 4 * NM;
    uint32_t setting = 0, time = 0;
    int16_t altitude = 5;
    LatLonPoint point;
    mission.PlanApproach(&contact, &unit, 0, setting, altitude, time, point);
    EXPECT_EQ(point, target);
    EXPECT_EQ(unit.speeds.size(), 1u);
    EXPECT_EQ(time, 0u);

    // An intercept class with course and speed is intercepted.
    PlaceContact(10, ContactKnown::COURSE | ContactKnown::SPEED, 1);
    ApproachUnit ship('S');
    mission.PlanApproach(&contact, &ship, 0, setting, altitude, time, point);
    EXPECT_EQ(setting, 1u);
    EXPECT_NEAR(time, 3000.0, 2.0);   // 10 nm at 12 kn
    EXPECT_EQ(point, Along(NavMath::Get_Vector({}, target).range >> 2, 0));
}

TEST_F(MissionApproach, AircraftLegWithoutSpeedIsNoPlan)
{
    ApproachUnit holder('B', false);
    PlaneRec record;   // no aircraft type: no speed
    uint32_t setting = 0, time = 77;
    EXPECT_FALSE(mission.PlanAircraftLeg(&record, &holder, setting, 0, time, Along(10 * NM, 0), 1));
    EXPECT_EQ(setting, 1u);
    EXPECT_EQ(time, 0u);
}

// An aircraft type flying 300 kn at setting 1 below 1000 ft with a 200 nm
// radius, on a holder at the origin in the arena: the leg is timed from the
// holder, shortened by the aircraft's reach only when more than a mile is
// left, and accepted while the round trip leaves over a fifth of the fuel.
TEST_F(MissionApproach, AircraftLegIsTimedFromTheHolderLessItsReach)
{
    Annex::Tables().Create();
    auto* type = new PlaneAnnex(11);
    type->usableRange = 200;
    for (int b = 0; b < PlaneAnnex::PERF_BANDS; ++b) {
        type->perfCeiling[PlaneAnnex::PERF_BANDS + b] = 1000;
        type->perfSpeed[PlaneAnnex::PERF_BANDS + b] = 300;
        type->perfRange[PlaneAnnex::PERF_BANDS + b] = 2000;
    }
    Annex::Tables().Planes()->Insert(type);
    // A type of 4 kn: a leg of over 256 hours used to overflow the 32-bit
    // quotient and end the program.
    auto* slow = new PlaneAnnex(12);
    slow->usableRange = 200;
    for (int b = 0; b < PlaneAnnex::PERF_BANDS; ++b) {
        slow->perfCeiling[PlaneAnnex::PERF_BANDS + b] = 1000;
        slow->perfSpeed[PlaneAnnex::PERF_BANDS + b] = 4;
        slow->perfRange[PlaneAnnex::PERF_BANDS + b] = 2000;
    }
    Annex::Tables().Planes()->Insert(slow);
    ReportCapture reports;
    UnitList arena;
    UnitList* const previousArena = UnitList::SetArenaList(&arena);
    auto* holder = new ApproachUnit('S', false);
    arena.Insert(holder);
    PlaneRec record;
    record.unitID = holder->GetKey();

    const struct {
        uint16_t type;
        int32_t distance;   // range units north of the holder
        uint32_t reach;     // the mission's reach for the aircraft
        double seconds;
        bool accepted;
    } cases[] = {
        {11, 100 * NM, 0, 1200, true},             // 100 nm at 300 kn; 77% of the fuel
        {11, 100 * NM, 40 * NM, 720, true},        // 60 nm left to fly
        {11, 100 * NM, 100 * NM - NM / 2, 1200, true},   // half a mile left: the whole leg
        {11, 200 * NM, 0, 2400, false},            // beyond the radius
        {12, 1100 * NM, 0, 990000, false},         // 275 hours: timed, not fatal
    };
    for (const auto& c : cases) {
        record.planeAnnexID = c.type;
        mission.planeReach = c.reach;
        uint32_t setting = 0, time = 0;
        EXPECT_EQ(mission.PlanAircraftLeg(&record, holder, setting, 500, time, Along(c.distance, 0), 1), c.accepted)
            << c.distance << " " << c.reach;
        EXPECT_EQ(setting, 1u);
        EXPECT_NEAR(time, c.seconds, 1.0) << c.distance << " " << c.reach;
    }
    EXPECT_TRUE(reports.fatals.empty());
    UnitList::SetArenaList(previousArena);
    Annex::Tables().Delete();
}

// Leg times in 64 bits: the small legs as the 32-bit Q23 routines timed
// them, the long slow ones positive instead of an overflow.
TEST(MissionLegSeconds, TimesInSixtyFourBitsAndSaturates)
{
    const struct {
        int64_t distance;   // range units
        uint16_t knots;
        uint32_t seconds;
    } cases[] = {
        {0, 10, 0},
        {-NM, 10, 0},
        {10 * NM, 12, 2999},                 // 3000 less the Q23 truncation
        {NM, 7, 514},                        // 514.28...: truncated
        {1300 * int64_t{NM}, 5, 936000},     // 260 hours: used to be fatal
        {int64_t{INT32_MAX}, 1, 1887436799}, // the longest range at 1 kn
        {int64_t{1} << 40, 1, 1887436799},   // beyond 32 bits: taken as the longest range
        {NM, 0, INT32_MAX},                  // no speed: never there
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " at " << c.knots);
        EXPECT_EQ(MissionRecord::LegSeconds(c.distance, c.knots), c.seconds);
    }
}

}  // namespace
