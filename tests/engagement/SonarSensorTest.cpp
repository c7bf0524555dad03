// SonarSensorTest.cpp: the sonar range table and ambient noise, the
// scenario's sonar conditions (drawing, saved form, damaged forms), the
// sound path and zone count over a map of deep, middle and shallow water,
// and the sonar test's signal excess, read through its chance at the range
// the excess reaches: passive and active excess, layer loss, the recent
// bonus, sea state 9, shallow paths, convergence zones (capped at 50 in
// 100, and an excess past the table), the listening rule of a low-band set;
// the state rule and the ranges.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "SensorWorld.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "support/ReportCapture.h"
#include "support/SampleMap.h"

namespace {

using sensortest::Range;
using sensortest::SensorUnit;
using sensortest::SensorWorld;

constexpr int32_t NM = 4096;

TEST(SonarTable, TellingRowsAreExactAndColumnsRise)
{
    const uint32_t rows[][4] = {{0, 3, 3, 3},
                                {50, 725, 704, 662},
                                {60, 2268, 2088, 1788},
                                {70, 6808, 5588, 4048},
                                {80, 19148, 13888, 7648},
                                {90, 46568, 30068, 12788},
                                {100, 93788, 49228, 19328},
                                {120, 237508, 91448, 33388},
                                {150, 517428, 158748, 55528},
                                {200, 1046108, 274828, 93568},
                                {249, 1592448, 390588, 131428}};
    for (const auto& r : rows) {
        for (int band = 0; band < 3; ++band)
            EXPECT_EQ(SonarTable::Range(static_cast<int32_t>(r[0]), band), r[band + 1]) << r[0];
    }
    for (int band = 0; band < 3; ++band) {
        for (int row = 1; row < SonarTable::ROWS; ++row)
            EXPECT_LE(SonarTable::Range(row - 1, band), SonarTable::Range(row, band)) << row;
    }
    // Out of the table reads its ends.
    EXPECT_EQ(SonarTable::Range(-5, 0), 3u);
    EXPECT_EQ(SonarTable::Range(264, 0), 1592448u);
}

TEST(SonarTable, AmbientNoiseBySeaStateWithStateNineOnTheLastEntry)
{
    const int32_t ambient[] = {29, 31, 33, 35, 38, 40, 41, 43, 45};
    for (int s = 0; s <= 8; ++s)
        EXPECT_EQ(SonarTable::Ambient(s), ambient[s]);
    EXPECT_EQ(SonarTable::Ambient(9), 45);
}

class SonarConditionsTest : public testing::Test {
protected:
    SensorWorld world;
    ReportCapture reports;
};

TEST_F(SonarConditionsTest, InitDrawsWithinTheirRanges)
{
    for (int i = 0; i < 300; ++i) {
        SonarConditions::Init();
        EXPECT_GE(SonarConditions::czInterval, 50);
        EXPECT_LE(SonarConditions::czInterval, 70);
        EXPECT_GE(SonarConditions::czWidth, 3);
        EXPECT_LE(SonarConditions::czWidth, 10);
        EXPECT_EQ(SonarConditions::layerDepth, -250);
        EXPECT_EQ(SonarConditions::czFirst, SonarConditions::czInterval);
        EXPECT_EQ(SonarConditions::czLast, SonarConditions::czInterval + SonarConditions::czWidth);
    }
    SonarConditions::czInterval = 61;
    EXPECT_EQ(SonarConditions::GetHalfInterval(), 30);
}

TEST_F(SonarConditionsTest, RoundTripAndDamagedFormsKeepTheConditionsHeld)
{
    SonarConditions::czInterval = 55;
    SonarConditions::czWidth = 7;
    SonarConditions::layerDepth = -300;
    SonarConditions::czFirst = 55;
    SonarConditions::czLast = 62;
    std::ostringstream out(std::ios::binary);
    SonarConditions::Save(out);
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 10u);

    SonarConditions::Init();
    std::istringstream in(bytes, std::ios::binary);
    ASSERT_TRUE(SonarConditions::Load(in));
    EXPECT_EQ(SonarConditions::czInterval, 55);
    EXPECT_EQ(SonarConditions::czWidth, 7);
    EXPECT_EQ(SonarConditions::layerDepth, -300);
    EXPECT_EQ(SonarConditions::czFirst, 55);
    EXPECT_EQ(SonarConditions::czLast, 62);

    // Cut anywhere, or with a spacing of 0: refused, reported, nothing kept.
    std::string zero = bytes;
    zero[0] = zero[1] = 0;
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        const std::string form = cut < bytes.size() ? bytes.substr(0, cut) : zero;
        SonarConditions::czInterval = 66;
        SonarConditions::czWidth = 4;
        reports.Clear();
        std::istringstream damaged(form, std::ios::binary);
        EXPECT_FALSE(SonarConditions::Load(damaged)) << cut;
        EXPECT_TRUE(damaged.fail());
        EXPECT_EQ(SonarConditions::czInterval, 66);
        EXPECT_EQ(SonarConditions::czWidth, 4);
        EXPECT_EQ(reports.errors.size(), 1u);
    }
}

// Depths by longitude over the sample map (grid cells hold eighths): deep
// water (below the layer) west of 0, middle depths from 0 to 2 east,
// shallows beyond. The tests stay at 75.5 north, all sea.
int16_t DepthByLongitude(bool, bool, int32_t, int32_t lon)
{
    if (lon < 0)
        return -400 * 8;
    return lon < 2 * ANGLE_PER_DEGREE ? int16_t{-100 * 8} : int16_t{-5 * 8};
}

const LatLonPoint DEEP = samplemap::At(75.5, -2.5);
const LatLonPoint DEEP_NEAR = samplemap::At(75.55, -2.5);
const LatLonPoint MIDDLE = samplemap::At(75.5, 1.0);
const LatLonPoint MIDDLE_NEAR = samplemap::At(75.55, 1.0);
const LatLonPoint SHALLOW = samplemap::At(75.5, 4.5);
const LatLonPoint SHALLOW_NEAR = samplemap::At(75.55, 4.5);

// A passive sonar (middle band, type 4) on a ship against a submarine, over
// the depth map; the own side holds a contact on the target.
class SonarTest : public testing::Test {
protected:
    SonarTest()
    {
        std::string error;
        map = samplemap::LoadSampleMap(error, &DepthByLongitude);
        EXPECT_NE(map, nullptr) << error;
        previousMap = gMap;
        gMap = map.get();

        own = &world.Add(1, 'S', 1, MIDDLE);
        target = &world.Add(2, 'U', 2, MIDDLE_NEAR);
        own->sideEntryID = 5;
        side = &world.AddRecord(5);
        SensorAnnex& r = SensorWorld::Record(20, Sensor::TYPE_PASSIVE_SONAR);
        r.searchBands = SonarSensor::MIDDLE_BAND_BIT;
        r.maxRange = 500;
        r.capabilities = 0x9;
        r.sourceCode = 9;
        r.beamWidth = 30;
        sonar = SensorWorld::Make<SonarSensor>(20, own);
        world.SetTime(10000);
        target->radiated = 129;   // excess 100 against ambient 29
    }
    ~SonarTest() override { gMap = previousMap; }

    // The own side's contact on the target, last seen long ago.
    Contact& Hold()
    {
        auto* c = new Contact(*target, 4);
        c->lastDetection = GameTime(100);
        side->contacts.Insert(c);
        return *c;
    }
    // How many of `runs` tests at `range` detect.
    int Count(int32_t range, int runs = 100)
    {
        Contact* held = side->GetContact(target->GetID());
        return SensorWorld::Count(runs, [&] {
            if (held != nullptr)
                held->auxA = 49;   // only a chance above 49 may detect
            return sonar->Detect(*own, *target, Range(range), 0, 0, true, true, false);
        });
    }
    // With the floor at 49, a test at the range row `e` reaches detects (at
    // 50 in 100) exactly when the signal excess is at least e.
    void ExpectExcess(int e)
    {
        const int band = sonar->band;
        EXPECT_GT(Count(static_cast<int32_t>(SonarTable::Range(e, band))), 0) << "excess below " << e;
        EXPECT_EQ(Count(static_cast<int32_t>(SonarTable::Range(e + 1, band))), 0) << "excess above " << e;
    }

    SensorWorld world;
    std::unique_ptr<Map> map;
    Map* previousMap = nullptr;
    SensorUnit* own = nullptr;
    SensorUnit* target = nullptr;
    SideContacts* side = nullptr;
    std::unique_ptr<SonarSensor> sonar;
};

TEST_F(SonarTest, PathTypesByDepthAndZone)
{
    own->SetPosition(DEEP);
    target->SetPosition(DEEP_NEAR);
    const std::pair<int32_t, int16_t> cases[] = {
        {59 * 2000, 0}, {60 * 2000, 0}, {61 * 2000, 1}, {70 * 2000, 1}, {71 * 2000, 0}, {121 * 2000, 2}, {181 * 2000, 3}};
    for (const auto& [range, path] : cases)
        EXPECT_EQ(SonarSensor::GetPathType(*own, *target, range), path) << range;
    own->SetPosition(MIDDLE);
    target->SetPosition(MIDDLE_NEAR);
    EXPECT_EQ(SonarSensor::GetPathType(*own, *target, 61 * 2000), 0);
    own->SetPosition(SHALLOW);
    target->SetPosition(SHALLOW_NEAR);
    EXPECT_EQ(SonarSensor::GetPathType(*own, *target, 61 * 2000), -1);
}

TEST_F(SonarTest, PassiveExcessIsLevelLessNoiseAndMargin)
{
    Hold();
    ExpectExcess(100);
    target->noiseAddition = 5;
    ExpectExcess(105);
    sonar->jamMargin = 10;
    ExpectExcess(95);
    own->rearNoiseValue = 29;   // self noise equal to ambient: 29 + 2
    ExpectExcess(93);
}

TEST_F(SonarTest, ZeroExcessNeverDetectsAndGetsNoBonus)
{
    Contact& held = Hold();
    held.lastDetection = GameTime(9990);   // recent
    target->radiated = 29;
    EXPECT_EQ(Count(1), 0);
    target->radiated = 30;   // 1 + 2 recent
    ExpectExcess(3);
}

TEST_F(SonarTest, LayerLossOnlyBetweenLayersOnNearPaths)
{
    Hold();
    own->At(-200);            // below the layer, the target at the surface
    ExpectExcess(99);
    target->At(-160);         // both below
    ExpectExcess(100);
    own->At(0);
    target->At(-149);         // both above (the layer lies at -150)
    ExpectExcess(100);
    SensorWorld::Settings({.fixThermalLayer = true});   // the layer at -4
    ExpectExcess(99);
}

TEST_F(SonarTest, SeaStateNineReadsTheLastAmbientEntry)
{
    Hold();
    own->Weather(9);          // ambient 45; layer loss min(1, 10 - 9) = 1
    ExpectExcess(129 - 45);
    own->At(-200);
    ExpectExcess(129 - 45 - 1);
    target->Weather(8);
    ExpectExcess(129 - 45 - 1);
}

TEST_F(SonarTest, ShallowPathsLoseByBand)
{
    own->SetPosition(SHALLOW);
    target->SetPosition(SHALLOW_NEAR);
    Hold();
    ExpectExcess(100 - 5);
}

TEST_F(SonarTest, ActiveExcessFromSourceLevelAndOwnNoise)
{
    SensorAnnex& r = SensorWorld::Record(21, Sensor::TYPE_ACTIVE_SONAR);
    r.searchBands = SonarSensor::MIDDLE_BAND_BIT;
    r.maxRange = 500;
    r.searchJamGain = 200;
    r.searchThreshold = 73;
    sonar = SensorWorld::Make<SonarSensor>(21, own);
    sonar->SetState(Sensor::STATE_ACTIVE);
    ASSERT_EQ(sonar->GetState(), Sensor::STATE_ACTIVE);
    EXPECT_EQ(sonar->GetClassCode(), 5);
    target->strength = 20;
    // An active set has no floor: read the excess from the chances at the
    // ranges of rows e - 1, e and e + 1 (about 56, 51 and 36 in 100 in this
    // steep part of the table), each far from its neighbours'.
    auto expectExcess = [&](int e) {
        const int64_t reach = SonarTable::Range(e, 1);
        for (int row = e - 1; row <= e + 1; ++row) {
            const int64_t range = SonarTable::Range(row, 1);
            const int64_t d = reach - range;
            const int64_t chance = (d < 0 ? d * 150 : d * 50) / reach + 50;
            const int seen = SensorWorld::Count(
                2000, [&] { return sonar->Detect(*own, *target, Range(static_cast<int32_t>(range)), 0, 0, true, true, false); });
            EXPECT_NEAR(seen, 20 * (chance + 1), 80) << "excess " << e << " row " << row;
        }
    };
    // (200 + 20 - 0 - (0 + 29) / 2) / 2 - 73 = 30.
    expectExcess(30);
    own->noiseValue = 0xFFFE;   // -2 below 6 knots: 208 / 2 - 73
    expectExcess(31);
    own->noiseValue = 1;        // 205 / 2 rounds down: 102 - 73
    expectExcess(29);
    own->noiseValue = 0;
    own->Weather(2);            // ambient 33: (220 - (10 + 33) / 2) / 2 = 99
    expectExcess(26);
}

TEST_F(SonarTest, ConvergenceZonesAreCappedAtFiftyAndStayInTheTable)
{
    own->SetPosition(DEEP);
    target->SetPosition(DEEP_NEAR);
    Contact& held = Hold();
    const int32_t zoneRange = 61 * 2000;   // first zone
    // A strong signal: excess 245 + 15 passes the table; the row stays 249.
    target->radiated = 29 + 245;
    const int seen = SensorWorld::Count(2000, [&] {
        held.auxA = 0;
        return sonar->Detect(*own, *target, Range(zoneRange), 0, 0, true, true, false);
    });
    EXPECT_NEAR(seen, 1020, 90);   // at most 51 in 100 (a draw of 0 to 50)
    // Without a held contact the zone is heard alike (a passive middle-band
    // set listens without one).
    side->contacts.DeleteAll();
    EXPECT_NEAR(SensorWorld::Count(2000, [&] {
                    return sonar->Detect(*own, *target, Range(zoneRange), 0, 0, true, true, false);
                }),
                1020, 90);
    Contact& again = Hold();
    // A weak one whose chance is below 50 never detects in a zone.
    target->radiated = 29 + 30;    // 30 + 15 = 45: range 0.3 nm < 29.8 nm
    EXPECT_EQ(SensorWorld::Count(300, [&] {
                  again.auxA = 0;
                  return sonar->Detect(*own, *target, Range(zoneRange), 0, 0, true, true, false);
              }),
              0);
    // The zone contact's range band is the zone's.
    target->radiated = 29 + 245;
    Contact* c = nullptr;
    for (int i = 0; i < 100 && c == nullptr; ++i)
        c = sonar->Detect(*own, *target, Range(zoneRange), 0, 0, true, true, false);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->minRange, 60u * 1 * 2048);
    EXPECT_EQ(c->maxRange, (10 + 60) / 2);
    EXPECT_EQ(c->sensorBitsLatest, 16u);
    delete c;
}

TEST_F(SonarTest, NearPathChanceIsCappedAtNinety)
{
    Hold();
    const int seen = SensorWorld::Count(2000, [&] {
        side->GetContact(2)->auxA = 0;
        return sonar->Detect(*own, *target, Range(100), 0, 0, true, true, false);
    });
    EXPECT_NEAR(seen, 1820, 80);   // draws of 0 to 90
}

TEST_F(SonarTest, LowBandSetListensInWindowsWithoutAContact)
{
    SensorAnnex& r = SensorWorld::Record(22, Sensor::TYPE_PASSIVE_SONAR);
    r.searchBands = SonarSensor::LOW_BAND_BIT;
    r.maxRange = 500;
    sonar = SensorWorld::Make<SonarSensor>(22, own);
    ASSERT_EQ(sonar->band, SonarSensor::BAND_LOW);
    auto near = [&] { return sonar->Detect(*own, *target, Range(100), 0, 0, true, true, false); };
    world.SetTime(300 * 40 + 14);
    EXPECT_NEAR(SensorWorld::Count(1000, near), 910, 50);
    world.SetTime(300 * 40 + 15);
    EXPECT_NEAR(SensorWorld::Count(3000, near), 3000 * 6 / 100 * 91 / 100, 40);
    target->classBits = 0x800;   // a torpedo is always listened for
    EXPECT_NEAR(SensorWorld::Count(1000, near), 910, 50);
}

TEST_F(SonarTest, RangingSonarNeedsAHeldContact)
{
    SensorAnnex& r = SensorWorld::Record(23, Sensor::TYPE_RANGING_SONAR);
    r.searchBands = SonarSensor::MIDDLE_BAND_BIT;
    r.maxRange = 500;
    sonar = SensorWorld::Make<SonarSensor>(23, own);
    EXPECT_EQ(Count(100, 200), 0);
    Hold();
    std::unique_ptr<Contact> c;
    for (int i = 0; i < 100 && c == nullptr; ++i) {
        side->GetContact(2)->auxA = 0;
        c.reset(sonar->Detect(*own, *target, Range(100), 0, 0, true, true, false));
    }
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->auxValue, 252);
    EXPECT_EQ(c->statusValue, 1);
    EXPECT_EQ(c->sizeClass, 16);   // level 129
}

TEST_F(SonarTest, SurfaceRuleAndHoveringAircraft)
{
    Hold();
    own->At(1);
    EXPECT_EQ(Count(100), 0);
    auto& helo = world.Add(3, 'P', 4, MIDDLE);
    helo.sideEntryID = 5;
    sonar->SetOwner(&helo);
    helo.speed = 0;
    helo.At(5);
    EXPECT_GT(SensorWorld::Count(100, [&] {
                  side->GetContact(2)->auxA = 0;
                  return sonar->Detect(helo, *target, Range(100), 0, 0, true, true, false);
              }),
              0);
    helo.At(6);
    EXPECT_EQ(SensorWorld::Count(100, [&] { return sonar->Detect(helo, *target, Range(100), 0, 0, true, true, false); }),
              0);
}

TEST_F(SonarTest, AircraftSonarSwitchesAsItHovers)
{
    auto& helo = world.Add(3, 'P', 4, MIDDLE);
    sonar->SetOwner(&helo);
    sonar->Sensor::SetState(Sensor::STATE_OFF);
    helo.At(5);
    sonar->GetRange(0x8, false);
    EXPECT_EQ(sonar->GetState(), Sensor::STATE_PASSIVE);   // a passive-only type
    helo.At(6);
    sonar->GetRange(0x8, false);
    EXPECT_EQ(sonar->GetState(), Sensor::STATE_OFF);
    EXPECT_EQ(sonar->GetRange(0x8, false), 0);
    EXPECT_EQ(sonar->GetRange(0x2, false), 0);
}

TEST_F(SonarTest, StateRuleByType)
{
    struct Case {
        uint8_t type;
        uint32_t request;
        uint32_t state;
    };
    const Case cases[] = {{17, 1, 5}, {17, 3, 5}, {17, 4, 5}, {17, 2, 2}, {5, 1, 3}, {5, 4, 3}, {5, 2, 2},
                          {4, 2, 3},  {12, 2, 3}, {14, 2, 3}, {15, 2, 3}, {13, 2, 2}, {5, 5, 5}};
    for (const Case& c : cases) {
        SonarSensor s;
        s.SetSensorType(c.type);
        s.SetState(c.request);
        EXPECT_EQ(s.GetState(), c.state) << int(c.type) << " " << c.request;
    }
}

TEST_F(SonarTest, RangesAndZoneCount)
{
    own->SetPosition(DEEP);
    // Passive, middle band: (200 - 0) - 0 + 3 = 203.
    EXPECT_EQ(sonar->GetRange(0x1, false), SonarTable::Range(203, 1) / 4096);
    EXPECT_EQ(sonar->GetRange(0x1, true), std::min<uint32_t>(SonarTable::Range(253, 1) / 4096, 500));
    // Default: 80 - (29 + 0 differing by 29 -> 29) - 0 = 51.
    EXPECT_EQ(sonar->GetRangeDefault(0x9), std::max<uint32_t>(SonarTable::Range(51, 1) / 4096, 1));
    EXPECT_EQ(sonar->GetRangeDefault(0x2), 0);
    own->Weather(9);
    const uint16_t rough = sonar->GetRangeDefault(0x9);
    own->Weather(8);
    EXPECT_EQ(sonar->GetRangeDefault(0x9), rough);
    own->Weather(0);

    // Zones from deep water: 80 - 29 + 15 = 66.
    const uint32_t reach = SonarTable::Range(66, 1) / 4096;
    EXPECT_EQ(sonar->GetZoneCount(), 2 * reach / 60);
    own->SetPosition(MIDDLE);
    EXPECT_EQ(sonar->GetZoneCount(), 0);
}

TEST_F(SonarTest, SourceHandedByState)
{
    std::unique_ptr<Contact> c(new Contact(*target, 4));
    sonar->capabilities = 0x30;
    sonar->minRange = 7;
    sonar->SetContactSource(*c);
    EXPECT_EQ(c->rangeError, 9u);
    EXPECT_EQ(c->rangeErrorValid, 0);   // the source flag is left out while passive
    EXPECT_EQ(c->bearingError, 30);
    EXPECT_EQ(c->minRange, 14u);
    sonar->SetSensorType(Sensor::TYPE_ACTIVE_SONAR);
    sonar->SetState(Sensor::STATE_ACTIVE);
    sonar->SetContactSource(*c);
    EXPECT_EQ(c->rangeError, 0u);
    EXPECT_EQ(c->rangeErrorValid, 1);
    EXPECT_EQ(c->bearingError, 0);
}

}  // namespace
