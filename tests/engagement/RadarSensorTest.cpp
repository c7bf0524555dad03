// RadarSensorTest.cpp: the radar test: its range and altitude gates, the
// jamming from the own unit's entries (clamp, lobes, unjammed bands, the
// resistant record), the threshold and fringe chances with and without the
// random fringe, and what the contact learns (size class, friends, motion,
// height, class names); its state rule, range and function text.
#include <gtest/gtest.h>

#include <memory>

#include "SensorWorld.h"
#include "annex/ShipAnnex.h"
#include "engagement/Contact.h"

namespace {

using sensortest::Range;
using sensortest::SensorUnit;
using sensortest::SensorWorld;

constexpr int32_t NM = 4096;

// An active radar on a ship against a ship; the margin before the
// threshold is the target's radar signature (range loss 0).
class RadarTest : public testing::Test {
protected:
    RadarTest()
        : own(world.Add(1, 'S', 1)), target(world.Add(2, 'S', 1))
    {
        SensorAnnex& r = SensorWorld::Record(10, Sensor::TYPE_RADAR);
        r.searchBands = 0x3;
        r.trackBands = 0x1;
        r.maxRange = 40;
        r.minRange = 100;
        r.beamWidth = 20;
        r.capabilities = 0x1;
        radar = SensorWorld::Make<RadarSensor>(10, &own);
        radar->SetState(Sensor::STATE_ACTIVE);
        own.SetSideID(1);
        target.SetSideID(2);
        target.speed = 18;
        target.course = 90 * 245760 + 100;
    }

    Contact* Detect(int32_t range = 10 * NM, bool track = false, int32_t bearing = 0)
    {
        return radar->Detect(own, target, Range(range, bearing), 0, 0, true, true, track);
    }
    bool Seen(int32_t range = 10 * NM, bool track = false)
    {
        std::unique_ptr<Contact> c(Detect(range, track));
        return c != nullptr;
    }
    // Of `runs` searches at 10 nautical miles, how many see the target.
    int SeenOf(int runs)
    {
        return SensorWorld::Count(runs, [&] { return Detect(); });
    }
    // A jamming entry on the own unit from `tenths` (tenths of a degree).
    void Jam(uint16_t key, uint32_t bands, int16_t level, int16_t tenths = 0)
    {
        auto* record = new SignatureRecord(key);
        record->SetBandLevel(bands, level);
        record->SetDirection(tenths);
        own.JammingEntries().Insert(record);
    }

    SensorWorld world;
    SensorUnit& own;
    SensorUnit& target;
    std::unique_ptr<RadarSensor> radar;
};

TEST_F(RadarTest, RangeGatesAtMaxRangeAndTwiceMinRange)
{
    target.radar = 100;
    EXPECT_TRUE(Seen(40 * NM + 4095));
    EXPECT_FALSE(Seen(40 * NM + 4096));
    EXPECT_FALSE(Seen(2 * 100 - 1));
    EXPECT_TRUE(Seen(2 * 100));
}

TEST_F(RadarTest, OnlyAnActiveRadarWithBothFlagsSees)
{
    target.radar = 100;
    for (uint32_t state : {1u, 3u, 4u, 5u, 6u, 7u}) {
        RadarSensor r;
        r.maxRange = 40;
        r.Sensor::SetState(state);
        std::unique_ptr<Contact> c(r.Detect(own, target, Range(NM), 0, 0, true, true, false));
        EXPECT_EQ(c, nullptr) << state;
    }
    EXPECT_EQ(std::unique_ptr<Contact>(radar->Detect(own, target, Range(NM), 0, 0, false, true, false)), nullptr);
    EXPECT_EQ(std::unique_ptr<Contact>(radar->Detect(own, target, Range(NM), 0, 0, true, false, false)), nullptr);
}

TEST_F(RadarTest, TorpedoesAndUnitsBelowTheSurfaceAreNotSeen)
{
    target.radar = 100;
    auto& torpedo = world.Add(3, 'W', 0x800);
    torpedo.radar = 100;
    torpedo.At(5);
    EXPECT_EQ(std::unique_ptr<Contact>(radar->Detect(own, torpedo, Range(NM), 0, 0, true, true, false)), nullptr);
    own.At(-1);
    EXPECT_FALSE(Seen());
    own.At(0);
    target.At(-1);
    EXPECT_FALSE(Seen());
}

TEST_F(RadarTest, JammingClampTable)
{
    const std::pair<int32_t, int32_t> cases[] = {{1000, 400}, {371, 400}, {370, 400}, {0, 30},
                                                 {-1, 51},    {-6, 50},   {-299, 2}, {-300, 0}, {-5000, 0}};
    for (const auto& [margin, effect] : cases)
        EXPECT_EQ(RadarSensor::ClampJamming(margin), effect) << margin;
}

TEST_F(RadarTest, ThresholdAndRandomFringe)
{
    // Margin = signature - threshold; chances 16 per tenth above -7.
    radar->searchThreshold = 50;
    target.radar = 50;   // margin 0
    EXPECT_EQ(SensorWorld::Count(200, [&] { return Detect(); }), 200);
    target.radar = 43;   // margin -7
    EXPECT_EQ(SensorWorld::Count(200, [&] { return Detect(); }), 0);
    for (int margin = -6; margin <= -1; ++margin) {
        target.radar = static_cast<int16_t>(50 + margin);
        const int expected = (margin + 7) * 16 * 40;   // per 4000
        const int seen = SensorWorld::Count(4000, [&] { return Detect(); });
        EXPECT_NEAR(seen, expected, 160) << margin;
    }
    // Track mode has no fringe.
    radar->trackThreshold = 50;
    target.radar = 49;
    EXPECT_EQ(SensorWorld::Count(200, [&] { return Detect(10 * NM, true); }), 0);
}

TEST_F(RadarTest, WithoutTheRandomFringeASearchMissesOneInTen)
{
    SensorWorld::Settings({.noRandomFringeRadar = true});
    target.radar = 0;
    EXPECT_NEAR(SensorWorld::Count(4000, [&] { return Detect(); }), 3600, 120);
    target.radar = -1;
    EXPECT_EQ(SensorWorld::Count(500, [&] { return Detect(); }), 0);
    target.radar = 0;
    EXPECT_EQ(SensorWorld::Count(500, [&] { return Detect(10 * NM, true); }), 500);
}

TEST_F(RadarTest, JammingEveryBandEatsIntoTheMargin)
{
    // Margin 100 before jamming; jamming 100 in both bands, main lobe:
    // J = 100 - 100 - 0 - 0 = 0, clamped to 30: margin 70.
    target.radar = 100;
    Jam(7, 0x3, 100);
    radar->searchThreshold = 70;
    EXPECT_EQ(SeenOf(200), 200);
    radar->searchThreshold = 77;   // margin -7
    EXPECT_EQ(SeenOf(200), 0);
    // Gain and margin of the set lower J: 100 - 100 - 10 - 5 = -15 -> 49.
    radar->searchJamGain = 10;
    radar->jamMargin = 5;
    radar->searchThreshold = 51;
    EXPECT_EQ(SeenOf(200), 200);
    radar->searchThreshold = 58;
    EXPECT_EQ(SeenOf(200), 0);
}

TEST_F(RadarTest, JammingNeedsEveryBandOfTheMask)
{
    target.radar = 100;
    radar->searchThreshold = 100;   // margin exactly 0 unjammed
    Jam(7, 0x1, 2000);              // band 1 left free
    EXPECT_EQ(SensorWorld::Count(100, [&] { return Detect(); }), 100);
    Jam(8, 0x2, 2000);              // now both bands jammed: margin -400
    EXPECT_EQ(SensorWorld::Count(100, [&] { return Detect(); }), 0);
}

TEST_F(RadarTest, SideLobesBackLobeAndResistantRecords)
{
    target.radar = 100;
    // A jammer 90 degrees off the target's bearing (d = 900, lobe 4: -100):
    // J = 200 - 100 - 100 = 0 -> 30, margin 70.
    Jam(7, 0x3, 200, 900);
    radar->searchThreshold = 70;
    EXPECT_EQ(SeenOf(200), 200);
    radar->searchThreshold = 77;
    EXPECT_EQ(SeenOf(200), 0);
    // Behind the radar (d = 1790 >= 1800 - beam 20): back lobe -9:
    // J = 191 - 100 = 91 -> 121, margin -21.
    own.JammingEntries().DeleteAll();
    Jam(7, 0x3, 200, 1790);
    radar->searchThreshold = -21;
    EXPECT_EQ(SeenOf(200), 200);
    radar->searchThreshold = -14;
    EXPECT_EQ(SeenOf(200), 0);
    // A bearing past a whole turn folds: 3590 tenths from 0 is 10 off, in
    // the main lobe: J = 200 - 100 = 100 -> 130, margin -30.
    own.JammingEntries().DeleteAll();
    Jam(7, 0x3, 200, 3590);
    radar->searchThreshold = -30;
    EXPECT_EQ(SeenOf(200), 200);
    radar->searchThreshold = -23;
    EXPECT_EQ(SeenOf(200), 0);
    // A resistant record takes 0.4 of 121 (d = 1790 again): 48, margin 52.
    own.JammingEntries().DeleteAll();
    Jam(7, 0x3, 200, 1790);
    Annex::Tables().Sensors()->Find(10)->recordFlags = RadarSensor::RECORD_JAM_RESISTANT;
    radar->searchThreshold = 52;
    EXPECT_EQ(SeenOf(200), 200);
    radar->searchThreshold = 59;
    EXPECT_EQ(SeenOf(200), 0);
}

TEST_F(RadarTest, TrackModeHalvesJammingAndUsesTrackFigures)
{
    target.radar = 100;
    Jam(7, 0x1, 100);   // only the track band: search unaffected (band 1 free)
    radar->searchThreshold = 100;
    EXPECT_TRUE(Seen());
    // Track: J = 100 - 100 = 0 -> 30, halved 15: margin 85.
    radar->trackThreshold = 85;
    EXPECT_TRUE(Seen(10 * NM, true));
    radar->trackThreshold = 86;
    EXPECT_FALSE(Seen(10 * NM, true));
}

TEST_F(RadarTest, SizeClassesBySignature)
{
    radar->searchThreshold = -1000;
    const std::pair<int16_t, uint8_t> cases[] = {{285, 16}, {284, 8}, {236, 8}, {235, 4}, {151, 4},
                                                 {150, 2},  {-30, 2}, {-31, 1}};
    for (const auto& [signature, size] : cases) {
        target.radar = signature;
        std::unique_ptr<Contact> c(Detect());
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->sizeClass, size) << signature;
        EXPECT_EQ(c->signalValue, static_cast<uint32_t>(int32_t{signature}));
    }
}

TEST_F(RadarTest, ContactCarriesMotionSourceAndBits)
{
    target.radar = 100;
    target.At(3);
    std::unique_ptr<Contact> c(Detect());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->detectionKind, 1u);
    EXPECT_EQ(c->sensorBitsLatest, 2u);
    EXPECT_EQ(c->knownBits, ContactKnown::SPEED | ContactKnown::COURSE);
    EXPECT_EQ(c->speed, 18);
    EXPECT_EQ(c->course, 90);
    EXPECT_EQ(c->maxRange, 40);
    EXPECT_EQ(c->rangeErrorValid, 1);
    EXPECT_EQ(c->bearingErrorValid, 1);
    EXPECT_EQ(c->sideId, 0);
    radar->capabilities |= DetectingSensor::CAP_HEIGHT_FINDING;
    c.reset(Detect());
    EXPECT_EQ(c->knownBits & ContactKnown::ALTITUDE, ContactKnown::ALTITUDE);
    EXPECT_EQ(c->PositionObject::GetAltitude(), 3);
}

TEST_F(RadarTest, FriendsAreIdentifiedEightTimesInTen)
{
    target.radar = 100;
    target.SetName("Tessel");
    target.SetAnnexID(44);
    target.sizeClass = 8;
    radar->capabilities |= DetectingSensor::CAP_IDENTIFY_FRIENDS;
    int identified = 0;
    for (int i = 0; i < 2000; ++i) {
        std::unique_ptr<Contact> c(Detect());
        identified += c->sideId == 2 && c->identifiedAs == 44 && c->name == "Tessel" && c->sizeClass == 8;
    }
    EXPECT_EQ(identified, 0);   // another side's unit
    target.SetSideID(1);
    identified = 0;
    for (int i = 0; i < 4000; ++i) {
        std::unique_ptr<Contact> c(Detect());
        identified += c->sideId == 1 && c->identifiedAs == 44 && c->name == "Tessel";
    }
    EXPECT_NEAR(identified, 3200, 120);
}

TEST_F(RadarTest, ClassifiesShipsAndSurfacedSubmarines)
{
    radar->capabilities |= DetectingSensor::CAP_CLASSIFY;
    target.radar = 100;
    target.SetAnnexID(300);
    std::unique_ptr<Contact> c(Detect());
    EXPECT_EQ(c->name, "Unknown Ship");
    EXPECT_EQ(c->identifiedAs, 300);
    EXPECT_EQ(c->changeBits, 8);   // the player sees the own unit: no side

    auto* ship = new ShipAnnex(300);
    ship->className.Set("Harrow class");
    Annex::Tables().Ships()->Insert(ship);
    game2ui::SetShowAll(false);    // the own unit is hidden from the player
    c.reset(Detect());
    EXPECT_EQ(c->name, "Harrow class");
    EXPECT_EQ(c->sideId, 2);
    EXPECT_EQ(c->changeBits, 8 | 2);

    auto& sub = world.Add(3, 'U', 1);
    sub.radar = 100;
    sub.At(0);
    c.reset(radar->Detect(own, sub, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c->name, "Unknown Sub");
    sub.At(-1);   // submerged: not seen at all
    c.reset(radar->Detect(own, sub, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c, nullptr);
}

TEST_F(RadarTest, SettingWordTellsTheSideToAKnowingSide)
{
    radar->capabilities |= DetectingSensor::CAP_CLASSIFY;
    target.radar = 100;
    std::unique_ptr<Contact> c(Detect());
    EXPECT_EQ(c->sideId, 0);
    SensorWorld::Settings({.scenarioSettingsWord = 1});   // no current side: known
    c.reset(Detect());
    EXPECT_EQ(c->sideId, 2);
}

TEST_F(RadarTest, StateRuleRangeAndFunctionText)
{
    radar->SetState(Sensor::STATE_PASSIVE);
    EXPECT_EQ(radar->GetState(), Sensor::STATE_OFF);
    radar->SetState(Sensor::STATE_ACTIVE);
    EXPECT_EQ(radar->GetState(), Sensor::STATE_ACTIVE);
    own.At(-2);
    radar->SetState(Sensor::STATE_ACTIVE);
    EXPECT_EQ(radar->GetState(), Sensor::STATE_OFF);
    own.At(0);
    radar->SetState(Sensor::STATE_ACTIVE);

    own.SetHorizon(5);
    radar->capabilities = 0x3;
    EXPECT_EQ(radar->GetRange(0x1, false), 37);   // horizon + 32
    EXPECT_EQ(radar->GetRange(0x4, false), 0);    // not a capability
    EXPECT_EQ(radar->GetRange(0x2, false), 40);
    own.SetHorizon(30);
    EXPECT_EQ(radar->GetRange(0x1, false), 40);   // never beyond maxRange
    radar->SetState(Sensor::STATE_OFF);
    EXPECT_EQ(radar->GetRange(0x2, false), 0);

    char text[Sensor::FUNCTION_TEXT_SIZE];
    radar->capabilities = 0x1;
    radar->trackBands = 0;
    EXPECT_EQ(radar->GetFunctionText(text), 3);
    EXPECT_STREQ(text, "Surface search radar");
    radar->capabilities = 0x3;
    EXPECT_EQ(radar->GetFunctionText(text), 2);
    radar->trackBands = 1;
    EXPECT_EQ(radar->GetFunctionText(text), 1);
    EXPECT_STREQ(text, "Fire control radar");
    radar->capabilities = 0;
    radar->trackBands = 0;
    EXPECT_EQ(radar->GetFunctionText(text), 0);
    EXPECT_STREQ(text, "Radar");
}

}  // namespace
