// The strike's attack planners: the walk through speed settings by unit
// kind, the fall-back to the direct approach without course and speed, and
// the fixed-target standoff fall-backs and leg times.
#include <gtest/gtest.h>

#include <vector>

#include "AttackWorld.h"
#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "support/ReportCapture.h"
#include "units/PlaneRec.h"

using namespace attacktest;

namespace {
class StrikePlanning : public AttackWorld {};

// Aircraft records held by unit 1 at the origin, of types whose speeds by
// setting the test gives (below 1000 ft, a 200 nm radius).
class StrikeAircraftPlanning : public AttackWorld {
public:
    StrikeAircraftPlanning()
    {
        Annex::Tables().Create();
        AddUnit(1, 'B', {}, -1);
        plane.unitID = 1;
    }
    ~StrikeAircraftPlanning() override { Annex::Tables().Delete(); }

    void AddType(uint16_t id, const uint16_t (&speeds)[PlaneAnnex::PERF_SETTINGS])
    {
        auto* type = new PlaneAnnex(id);
        type->usableRange = 200;
        for (int s = 0; s < PlaneAnnex::PERF_SETTINGS; ++s)
            for (int b = 0; b < PlaneAnnex::PERF_BANDS; ++b) {
                type->perfCeiling[PlaneAnnex::PERF_BANDS * s + b] = 1000;
                type->perfSpeed[PlaneAnnex::PERF_BANDS * s + b] = speeds[s];
                type->perfRange[PlaneAnnex::PERF_BANDS * s + b] = 2000;
            }
        Annex::Tables().Planes()->Insert(type);
    }

    PlaneRec plane;
};
}  // namespace

// An intercept no unit may take shows the settings tried: submarines 0 and
// 1, planes 2, 1, 3, ships from 1 up (air targets make planes start at 2).
TEST_F(StrikePlanning, MovingTargetTriesSettingsByKind)
{
    const uint16_t planeSpeeds[4] = {100, 200, 300, 400};
    const struct {
        char letter;
        uint32_t classBits;
        std::vector<uint16_t> asked;
    } rows[] = {
        {'U', 0x1, {5, 12}},
        {'S', 0x1, {12, 20, 28}},
        {'S', 0x2, {5, 12, 20, 28}},
        {'P', 0x4, {300, 200, 400}},
        {'P', 0x1, {200, 400}},
    };
    uint16_t id = 1;
    for (const auto& r : rows) {
        AttackUnit& unit = r.letter == 'P' ? AddUnit(id, 'P', {}, 1, planeSpeeds) : AddUnit(id, r.letter);
        ++id;
        unit.slowestAccepted = 1000;   // refuse every meeting
        Contact contact;
        contact.SetKey(40);
        contact.SetTypeFlags(r.classBits);
        contact.SetPosition(North(20));
        contact.knownBits = ContactKnown::COURSE | ContactKnown::SPEED;
        contact.course = 180;
        contact.speed = 2;
        uint32_t setting = 0, time = 0;
        LatLonPoint aim = North(20);
        EXPECT_FALSE(strike.PlanMovingTarget(&contact, &unit, setting, 0, time, aim, r.classBits)) << r.letter;
        EXPECT_EQ(unit.askedSpeeds, r.asked) << r.letter << " " << r.classBits;
    }
}

// A meeting found: the aim is half-way to it.
TEST_F(StrikePlanning, MovingTargetAimsHalfWayToTheMeeting)
{
    AttackUnit& ship = AddUnit(1, 'S');
    Contact contact;
    contact.SetTypeFlags(0x1);
    contact.knownBits = ContactKnown::COURSE | ContactKnown::SPEED;
    contact.course = 0;
    contact.speed = 0;
    uint32_t setting = 0, time = 0;
    LatLonPoint aim = North(24);
    EXPECT_TRUE(strike.PlanMovingTarget(&contact, &ship, setting, 0, time, aim, 0x1));
    EXPECT_EQ(setting, 1u);
    EXPECT_NEAR(time, 7200.0, 10.0);   // 24 nm at 12 kn
    EXPECT_NEAR(NavMath::Get_Vector({}, aim).range, 12 * NM, 8);
}

// Without course or speed the general direct approach plans the whole call.
TEST_F(StrikePlanning, MovingTargetWithoutCourseOrSpeedGoesDirect)
{
    AttackUnit& ship = AddUnit(1, 'S');
    for (uint16_t known : {0, int{ContactKnown::COURSE}, int{ContactKnown::SPEED}}) {
        Contact contact;
        contact.SetTypeFlags(0x1);
        contact.SetPosition(North(20));
        contact.knownBits = known;
        uint32_t s1 = 0, t1 = 0, s2 = 0, t2 = 0;
        LatLonPoint a1 = North(20), a2 = North(20);
        const bool direct = strike.PlanDirectApproach(&contact, &ship, s1, 0, t1, a1, 0x1);
        EXPECT_EQ(strike.PlanMovingTarget(&contact, &ship, s2, 0, t2, a2, 0x1), direct) << known;
        EXPECT_EQ(s2, s1);
        EXPECT_EQ(t2, t1);
        EXPECT_EQ(a2, a1);
    }
}

// Fixed target 40 nm off: short by the standoff; inside the standoff short
// by the sensor reach; inside that too, the whole way.
TEST_F(StrikePlanning, FixedTargetStandoffFallBacks)
{
    const struct {
        uint32_t standoff;     // range units
        uint16_t sensorMiles;
        int32_t distanceNM;    // the leg planned
    } rows[] = {
        {10 * NM, 0, 30},
        {40 * NM, 15, 25},     // exactly the range: not short of it
        {50 * NM, 0, 40},
        {50 * NM, 45, 40},
    };
    AttackUnit& ship = AddUnit(1, 'S');
    Contact contact;
    contact.SetTypeFlags(0x20);
    for (const auto& r : rows) {
        strike.standoff = r.standoff;
        ship.sensorMiles = r.sensorMiles;
        uint32_t setting = 0, time = 0;
        LatLonPoint aim = North(40);
        const int32_t range = NavMath::Get_Vector({}, aim).range;
        const int64_t distance = r.distanceNM == 40 ? range : range - (40 - r.distanceNM) * int64_t{NM};
        EXPECT_TRUE(strike.PlanFixedTarget(&contact, &ship, setting, 0, time, aim, 0x20)) << r.standoff;
        EXPECT_EQ(setting, 1u);
        EXPECT_EQ(time, MissionRecord::LegSeconds(distance, 12)) << r.standoff;
        EXPECT_NEAR(NavMath::Get_Vector({}, aim).range, distance, 2) << r.standoff;
    }
}

TEST_F(StrikePlanning, FixedTargetRefusals)
{
    const uint16_t still[4] = {0, 0, 0, 0};
    AttackUnit& hulk = AddUnit(1, 'S', {}, 1, still);
    AttackUnit& ship = AddUnit(2, 'S');
    Contact contact;
    contact.SetTypeFlags(0x20);
    uint32_t setting = 0, time = 77;
    LatLonPoint aim = North(40);
    EXPECT_FALSE(strike.PlanFixedTarget(&contact, &hulk, setting, 0, time, aim, 0x20));   // no speed
    EXPECT_EQ(time, 0u);
    gLandNorth = North(30).lat;   // the aim point is on land
    aim = North(40);
    EXPECT_FALSE(strike.PlanFixedTarget(&contact, &ship, setting, 0, time, aim, 0x20));
    EXPECT_TRUE(ship.askedSpeeds.empty());
}

// A plane aims half-way when that point may be flown to, else at the full
// aim point.
TEST_F(StrikePlanning, FixedTargetPlaneAimsHalfWay)
{
    const uint16_t planeSpeeds[4] = {100, 200, 300, 400};
    AttackUnit& plane = AddUnit(1, 'P', {}, 1, planeSpeeds);
    Contact contact;
    contact.SetTypeFlags(0x20);
    uint32_t setting = 0, time = 0;
    LatLonPoint aim = North(40);
    EXPECT_TRUE(strike.PlanFixedTarget(&contact, &plane, setting, 61, time, aim, 0x20));
    EXPECT_NEAR(NavMath::Get_Vector({}, aim).range, 20 * NM, 2);
    EXPECT_EQ(setting, 1u);
}

// Against a moving target aircraft try settings 3, 2 and 1 and keep the
// first that meets it; a target without course or speed is planned as a
// direct leg.
TEST_F(StrikeAircraftPlanning, MovingTargetStepsDownFromTheFastestSetting)
{
    const struct {
        uint16_t speeds[PlaneAnnex::PERF_SETTINGS];
        bool found;
        uint32_t setting;
    } rows[] = {
        {{0, 300, 400, 500}, true, 3},
        {{0, 300, 400, 0}, true, 2},
        {{0, 300, 0, 0}, true, 1},
        {{500, 0, 0, 0}, false, 1},   // setting 0 is never tried
    };
    uint16_t id = 20;
    Contact target;
    target.SetTypeFlags(0x4);
    target.SetPosition(North(50));
    target.knownBits = ContactKnown::COURSE | ContactKnown::SPEED;
    for (const auto& r : rows) {
        AddType(id, r.speeds);
        plane.planeAnnexID = id++;
        uint32_t setting = 9, time = 0;
        LatLonPoint aim = North(50);
        EXPECT_EQ(strike.PlanMovingTargetForAircraft(&target, &plane, units.Find(1), setting, 500, time, aim, 0x4),
                  r.found)
            << r.setting;
        EXPECT_EQ(setting, r.setting);
    }

    target.knownBits = ContactKnown::SPEED;
    uint32_t s1 = 0, t1 = 0, s2 = 0, t2 = 0;
    LatLonPoint aim = North(50);
    const bool direct = strike.PlanAircraftLeg(&plane, units.Find(1), s1, 500, t1, aim, 0x4);
    EXPECT_EQ(strike.PlanMovingTargetForAircraft(&target, &plane, units.Find(1), s2, 500, t2, aim, 0x4), direct);
    EXPECT_EQ(s2, s1);
    EXPECT_EQ(t2, t1);
}

// Against a fixed target 100 nm off at 300 kn the leg is timed short of
// the standoff, or whole when the standoff covers the target; a 4 kn type
// 1,100 nm off is timed at 275 hours rather than ending the program.
TEST_F(StrikeAircraftPlanning, FixedTargetTimedShortOfTheStandoff)
{
    AddType(11, {0, 300, 0, 0});
    AddType(12, {0, 4, 0, 0});
    ReportCapture reports;
    const struct {
        uint16_t type;
        int32_t nm;
        uint32_t standoff;
        double seconds;
        bool accepted;
    } rows[] = {
        {11, 100, 0, 1200, true},
        {11, 100, 40 * NM, 720, true},
        {11, 100, 100 * NM, 1200, true},   // nothing left short of it: the whole leg
        {11, 100, 150 * NM, 1200, true},
        {0, 100, 0, 0, false},             // no type, no speed
        {12, 1100, 0, 990000, false},      // beyond the radius, but timed
    };
    for (const auto& r : rows) {
        Contact site;
        site.SetTypeFlags(0x20);
        site.SetPosition(North(r.nm));
        plane.planeAnnexID = r.type;
        strike.standoff = r.standoff;
        uint32_t setting = 0, time = 77;
        LatLonPoint aim = North(r.nm);
        EXPECT_EQ(strike.PlanFixedTargetForAircraft(&site, &plane, units.Find(1), setting, 500, time, aim, 0x20),
                  r.accepted)
            << r.type << " " << r.standoff;
        EXPECT_EQ(setting, 1u);
        EXPECT_NEAR(time, r.seconds, 2.0) << r.type << " " << r.standoff;
    }
    EXPECT_TRUE(reports.fatals.empty());
}
