// PassiveSensorsTest.cpp: the visual test by target class, weather, light
// and visibility (its chances, the lookout option, what it sees of the
// target), the infrared test, ESM levels and horizon, the jammer that sees
// nothing, MAD reach by depth band, the laser by weather, and the
// semi-active receiver through its illuminator's track.
#include <gtest/gtest.h>

#include <memory>

#include "SensorWorld.h"
#include "annex/ShipAnnex.h"
#include "core/NavMath.h"
#include "engagement/Contact.h"
#include "support/SampleMap.h"
#include "units/PositionObject.h"
#include "world/Environment.h"

namespace {

using sensortest::Range;
using sensortest::SensorUnit;
using sensortest::SensorWorld;

constexpr int32_t NM = 4096;

// Two ships at 45 north on 5 January, a light the test chooses by the hour.
class PassiveTest : public testing::Test {
protected:
    PassiveTest()
        : own(world.Add(1, 'S', 1, samplemap::At(45, 0))), target(world.Add(2, 'S', 1, samplemap::At(45.1, 0)))
    {
        previousEnvironment = gEnvironment;
        gEnvironment = &environment;
        Hour(12);
        own.SetSideID(1);
        target.SetSideID(2);
        own.SetHorizon(10);
        target.SetHorizon(17);   // (27 x 3 + 3) / 4 = 21 nm of horizon
        target.speed = 12;
    }
    ~PassiveTest() override { gEnvironment = previousEnvironment; }

    // Noon is day, 07:00 twilight (4), midnight night (2).
    void Hour(uint8_t hour) { ASSERT_TRUE(world.state.SetStartDate(1991, 1, 5, hour, 0)); }

    template <class T>
    std::unique_ptr<T> Sensor_(uint16_t id, uint32_t type, uint16_t maxRange, uint32_t capabilities = 0)
    {
        SensorAnnex& r = SensorWorld::Record(id, type);
        r.maxRange = maxRange;
        r.capabilities = capabilities;
        return SensorWorld::Make<T>(id, &own);
    }
    static bool Seen(Sensor& s, Unit& a, Unit& b, int32_t range, int32_t loss = 0, bool flagA = true,
                     bool flagB = true, bool flagC = false)
    {
        std::unique_ptr<Contact> c(s.Detect(a, b, Range(range), 0, loss, flagA, flagB, flagC));
        return c != nullptr;
    }

    SensorWorld world;
    Environment environment;
    Environment* previousEnvironment = nullptr;
    SensorUnit& own;
    SensorUnit& target;
};

TEST_F(PassiveTest, SurfaceTargetsByWeatherLightAndVisibility)
{
    auto eye = Sensor_<VisualSensor>(30, Sensor::TYPE_VISUAL, 100);
    struct Row {
        const char* name;
        uint8_t ownWeather, targetWeather, cloud, hour;
        int32_t reach;   // the farthest whole nautical mile seen
    };
    const Row rows[] = {
        {"clear day: the horizon", 0, 0, 0, 12, 21},
        {"fog, class 2 on the target", 0, 2, 0, 12, 10},
        {"heavy rain, class 3 on the own unit", 6, 0, 0, 12, 5},
        {"light snow counts as class 1", 7, 0, 0, 12, 15},
        {"night", 0, 0, 0, 0, 7},
        {"twilight", 0, 0, 0, 7, 13},
        {"overcast", 0, 0, 3, 12, 10},
        {"scattered clouds", 0, 0, 1, 12, 17},
        {"never below ten: heavy fog at night", 3, 0, 0, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        own.Weather(0, r.ownWeather);
        target.Weather(0, r.targetWeather, r.cloud);
        Hour(r.hour);
        EXPECT_TRUE(Seen(*eye, own, target, r.reach * NM));
        EXPECT_FALSE(Seen(*eye, own, target, (r.reach + 1) * NM));
    }
}

TEST_F(PassiveTest, AnAircraftLooksByTheTargetsSpeed)
{
    auto eye = Sensor_<VisualSensor>(30, Sensor::TYPE_VISUAL, 100);
    auto& plane = world.Add(3, 'P', 4, samplemap::At(45, 0));
    plane.SetHorizon(200);
    target.speed = 30;   // 30 x 100 / 100
    EXPECT_TRUE(Seen(*eye, plane, target, 30 * NM));
    EXPECT_FALSE(Seen(*eye, plane, target, 31 * NM));
    target.speed = 2;    // at least 10
    EXPECT_TRUE(Seen(*eye, plane, target, 10 * NM));
    EXPECT_FALSE(Seen(*eye, plane, target, 11 * NM));
}

TEST_F(PassiveTest, SubmarineSightingsAreChancesByRangeAndSea)
{
    auto eye = Sensor_<VisualSensor>(30, Sensor::TYPE_VISUAL, 100);
    target.classBits = 2;
    auto at = [&](int32_t miles) {
        return SensorWorld::Count(4000, [&] { return eye->Detect(own, target, Range(miles * NM), 0, 0, true, true, false); });
    };
    EXPECT_NEAR(at(6), 40, 25);    // 30 - 36: at least 1 in 100
    EXPECT_EQ(at(7), 0);
    own.Weather(1);
    EXPECT_NEAR(at(2), 4000 * 21 / 100, 100);   // 30 - 4 - 5
}

TEST_F(PassiveTest, SignatureMarginsAndTheLookoutOption)
{
    auto eye = Sensor_<VisualSensor>(30, Sensor::TYPE_VISUAL, 100);
    target.classBits = 4;
    eye->jamMargin = 50;
    target.visual = 49;   // margin -1
    auto count = [&] { return SensorWorld::Count(4000, [&] { return eye->Detect(own, target, Range(NM), 0, 0, true, true, false); }); };
    EXPECT_NEAR(count(), 3960, 40);
    target.visual = -50;  // margin -100
    EXPECT_EQ(count(), 0);
    target.visual = 50;   // margin 0
    EXPECT_EQ(count(), 4000);
    SensorWorld::Settings({.no3XEyeballs = true});
    target.visual = 49;
    EXPECT_EQ(count(), 0);
    // Weather, light and visibility lower the margin: 50 + 60 + 48 + 30.
    target.visual = 50 + 60 + 48 + 30;
    own.Weather(0, 3);
    target.Weather(0, 0, 3);
    Hour(0);
    EXPECT_EQ(count(), 4000);
    target.visual = 50 + 60 + 48 + 29;
    EXPECT_EQ(count(), 0);
    // And the range loss twice over.
    target.visual = 50 + 60 + 48 + 30 + 2 * 10;
    EXPECT_TRUE(Seen(*eye, own, target, NM, 10));
    EXPECT_FALSE(Seen(*eye, own, target, NM, 11));
}

TEST_F(PassiveTest, WhatTheLookoutSees)
{
    auto eye = Sensor_<VisualSensor>(30, Sensor::TYPE_VISUAL, 100, 0x40);
    target.SetName("Corran");
    target.SetAnnexID(12);
    target.sizeClass = 4;
    target.At(2);
    std::unique_ptr<Contact> c(eye->Detect(own, target, Range(NM), 0, 0, true, true, false));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->name, "Corran");
    EXPECT_EQ(c->sideId, 2);
    EXPECT_EQ(c->identifiedAs, 12);
    EXPECT_EQ(c->sizeClass, 2);   // the surface path's signature counts as 0
    EXPECT_EQ(c->sensorBitsLatest, 4u);
    EXPECT_EQ(c->knownBits, ContactKnown::SPEED | ContactKnown::COURSE | ContactKnown::ALTITUDE);
    EXPECT_EQ(c->changeBits & 2, 0);
    target.classBits = 4;
    target.visual = 300;
    c.reset(eye->Detect(own, target, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c->sizeClass, 16);
    EXPECT_EQ(c->signalValue, 300u);

    const std::pair<int32_t, uint32_t> damage[] = {{0, 0}, {30, 1}, {51, 4}, {100, 8}};
    for (const auto& [percent, bits] : damage) {
        target.damage = percent;
        c.reset(eye->Detect(own, target, Range(NM), 0, 0, true, true, false));
        EXPECT_EQ(c->conditionBits, bits) << percent;
    }
    target.damage = 30;
    target.SetFlags(0x20);
    c.reset(eye->Detect(own, target, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c->conditionBits, 1u | 2u);
}

TEST_F(PassiveTest, LookoutGates)
{
    auto eye = Sensor_<VisualSensor>(30, Sensor::TYPE_VISUAL, 100);
    EXPECT_FALSE(Seen(*eye, own, target, NM, 0, false));
    eye->Sensor::SetState(Sensor::STATE_ACTIVE);
    EXPECT_FALSE(Seen(*eye, own, target, NM));
    eye->SetState(Sensor::STATE_ACTIVE);   // the class maps it to passive
    EXPECT_TRUE(Seen(*eye, own, target, NM));
    target.At(-1);
    EXPECT_FALSE(Seen(*eye, own, target, NM));
}

TEST_F(PassiveTest, InfraredByWeatherAndCapabilities)
{
    auto ir = Sensor_<InfraredSensor>(31, Sensor::TYPE_INFRARED, 50);
    target.classBits = 4;
    target.infrared = 0;
    EXPECT_TRUE(Seen(*ir, own, target, NM));
    target.infrared = -1;
    EXPECT_FALSE(Seen(*ir, own, target, NM));
    own.Weather(0, 3);   // class 3 subtracts -40: the margin rises
    target.infrared = -40;
    EXPECT_TRUE(Seen(*ir, own, target, NM));
    EXPECT_FALSE(Seen(*ir, own, target, NM, 0, true, false));   // needs flag B
    own.Weather(0, 0);
    target.infrared = 130;
    ir->capabilities = 0x80 | 0x100 | 0x10;
    target.SetName("Hollin");
    target.sizeClass = 8;
    std::unique_ptr<Contact> c(ir->Detect(own, target, Range(NM), 0, 0, true, true, false));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->sideId, 2);
    EXPECT_EQ(c->name, "Hollin");
    EXPECT_EQ(c->sizeClass, 8);
    EXPECT_EQ(c->changeBits & (2 | 8), 2 | 8);
    EXPECT_EQ(c->signalValue, 0u);   // capability 0x10 clears it
    EXPECT_EQ(c->sensorBitsLatest, 8u);
    ir->capabilities = 0;
    c.reset(ir->Detect(own, target, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c->sizeClass, 16);
    EXPECT_EQ(c->signalValue, 130u);
    EXPECT_EQ(c->sideId, 0);
}

TEST_F(PassiveTest, EsmLevelsAndTheHorizonAllowance)
{
    auto esm = Sensor_<ESMSensor>(32, Sensor::TYPE_ESM, 200);
    esm->searchBands = 0xF;
    target.emission[0xF] = 0;
    EXPECT_FALSE(Seen(*esm, own, target, NM));   // nothing emitted
    const std::pair<int16_t, uint8_t> sizes[] = {{1, 16}, {0x7FFF, 16}, {-99, 8}, {-199, 4}, {-299, 2}, {-300, 1}};
    esm->jamMargin = -1000;
    for (const auto& [level, size] : sizes) {
        target.emission[0xF] = level;
        std::unique_ptr<Contact> c(esm->Detect(own, target, Range(NM), 0, 0, true, true, false));
        ASSERT_NE(c, nullptr) << level;
        EXPECT_EQ(c->sizeClass, size) << level;
        EXPECT_EQ(c->signalValue, static_cast<uint32_t>(int32_t{level}));
        EXPECT_EQ(c->sensorBitsLatest, 64u);
        EXPECT_EQ(c->observerId, 1);
        EXPECT_EQ(c->changeBits & 0x10, 0x10);
    }
    esm->jamMargin = 0;
    target.emission[0xF] = 20;
    EXPECT_TRUE(Seen(*esm, own, target, NM, 10));
    EXPECT_FALSE(Seen(*esm, own, target, NM, 11));
    EXPECT_FALSE(Seen(*esm, own, target, NM, 0, false));   // out of sight: 100 less
    target.emission[0xF] = 100;
    EXPECT_TRUE(Seen(*esm, own, target, NM, 0, false));
    // Horizons 10 + 17 = 27: heard to (range x 10 / 11) within it without flag B.
    // (126156 x 10 / 11) / 4096 = 27.99, truncated 27; one more is 28.
    EXPECT_TRUE(Seen(*esm, own, target, 126156, 0, true, false));
    EXPECT_FALSE(Seen(*esm, own, target, 126157, 0, true, false));
    EXPECT_TRUE(Seen(*esm, own, target, 126157, 0, true, true));
    EXPECT_FALSE(Seen(*esm, own, target, 201 * NM));
}

TEST_F(PassiveTest, EsmNamesWhatItHearsForAHiddenUnit)
{
    auto esm = Sensor_<ESMSensor>(32, Sensor::TYPE_ESM, 200);
    esm->searchBands = 0xF;
    target.emission[0xF] = 50;
    target.SetAnnexID(300);
    target.sizeClass = 8;
    auto* ship = new ShipAnnex(300);
    ship->className.Set("Marren class");
    Annex::Tables().Ships()->Insert(ship);
    std::unique_ptr<Contact> c(esm->Detect(own, target, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c->identifiedAs, 0);
    game2ui::SetShowAll(false);
    c.reset(esm->Detect(own, target, Range(NM), 0, 0, true, true, false));
    EXPECT_EQ(c->name, "Marren class");
    EXPECT_EQ(c->identifiedAs, 300);
    EXPECT_EQ(c->sizeClass, 8);
    EXPECT_EQ(c->sideId, 2);
    EXPECT_EQ(c->changeBits & (0x10 | 8 | 2), 0x10 | 8 | 2);
}

TEST_F(PassiveTest, JammerSeesNothing)
{
    auto ecm = Sensor_<ECMSensor>(33, Sensor::TYPE_ECM, 200);
    ecm->searchJamGain = 10;
    ecm->SetState(Sensor::STATE_ACTIVE);
    EXPECT_FALSE(Seen(*ecm, own, target, NM));
}

TEST_F(PassiveTest, MadReachByDepthBand)
{
    auto mad = Sensor_<MADSensor>(34, Sensor::TYPE_MAD, 5);
    auto& sub = world.Add(3, 'U', 2, samplemap::At(45.01, 0));
    // The first altitude of each band from the deepest up.
    int16_t bandAltitude[PositionObject::BAND_COUNT] = {};
    for (int a = 2000; a >= -32000; --a)
        bandAltitude[PositionObject::AltitudeBand(static_cast<int16_t>(a))] = static_cast<int16_t>(a);
    const int32_t reach[] = {0, 0, 1024, 2048, 2048, 2048, 0, 0};
    for (uint16_t band = 0; band < 8; ++band) {
        SCOPED_TRACE(band);
        sub.At(bandAltitude[band]);
        ASSERT_EQ(sub.GetAltitudeBand(), band);
        if (reach[band] == 0) {
            EXPECT_FALSE(Seen(*mad, own, sub, 1));
        } else {
            EXPECT_TRUE(Seen(*mad, own, sub, reach[band]));
            EXPECT_FALSE(Seen(*mad, own, sub, reach[band] + 1));
        }
    }
    auto& torpedo = world.Add(4, 'W', 0x800);
    torpedo.At(bandAltitude[3]);
    EXPECT_FALSE(Seen(*mad, own, torpedo, 10));
}

TEST_F(PassiveTest, LaserReachByWeather)
{
    auto laser = Sensor_<LaserDesignatorSensor>(35, Sensor::TYPE_LASER, 50);
    ASSERT_EQ(laser->GetState(), Sensor::STATE_ACTIVE);
    const std::pair<uint8_t, int32_t> rows[] = {{0, 50}, {1, 32}, {2, 18}, {3, 8}};
    for (const auto& [weather, miles] : rows) {
        own.Weather(0, weather);
        EXPECT_TRUE(Seen(*laser, own, target, miles * NM + 4095, 0, true, true, true)) << int(weather);
        EXPECT_FALSE(Seen(*laser, own, target, (miles + 1) * NM, 0, true, true, true)) << int(weather);
    }
    own.Weather(0, 0);
    EXPECT_FALSE(Seen(*laser, own, target, NM, 0, true, true, false));
    std::unique_ptr<Contact> c(laser->Detect(own, target, Range(NM), 0, 0, true, true, true));
    EXPECT_EQ(c->sensorBitsLatest, 65536u);
    EXPECT_EQ(c->signalValue, 1u);
}

// A semi-active missile guided by a ship's radar.
TEST_F(PassiveTest, SemiActiveReceiverRidesItsIlluminatorsTrack)
{
    SensorAnnex& r = SensorWorld::Record(36, Sensor::TYPE_RADAR);
    r.trackBands = 1;
    r.maxRange = 100;
    r.channelCount = 1;
    r.trackThreshold = -3000;
    auto* radar = new RadarSensor(36);
    radar->SetKey(1);
    radar->SetState(Sensor::STATE_ACTIVE);
    own.sensors.Insert(radar);

    auto& missile = world.Add(5, 'W', 8, samplemap::At(45, 0));
    missile.speed = 600;
    missile.guidanceID = 1;
    missile.guidanceSensor = 1;
    SensorAnnex& seeker = SensorWorld::Record(37, Sensor::TYPE_SEMI_ACTIVE);
    seeker.maxRange = 20;
    auto receiver = SensorWorld::Make<SemiActiveSensor>(37, &missile);
    EXPECT_EQ(receiver->GetState(), Sensor::STATE_OFF);
    receiver->SetState(Sensor::STATE_ACTIVE);
    ASSERT_EQ(receiver->GetState(), Sensor::STATE_PASSIVE);

    const NavVector toTarget = NavMath::Get_Vector(missile.PositionObject::GetPosition(),
                                                   target.PositionObject::GetPosition());
    std::unique_ptr<Contact> c(receiver->Detect(missile, target, toTarget, 0, 0, true, true, false));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->sensorBitsLatest, 256u);
    EXPECT_EQ(c->sizeClass, 2);
    EXPECT_EQ(c->detectionKind, 1u);
    EXPECT_EQ(radar->GetChannel(0)->First(), nullptr);   // asked without a hold

    own.seesTarget = false;
    c.reset(receiver->Detect(missile, target, toTarget, 0, 0, true, true, false));
    EXPECT_EQ(c, nullptr);
    own.seesTarget = true;
    // Launched by the ship without a guidance unit: the launcher guides.
    missile.guidanceID = 0;
    missile.launcherID = 1;
    c.reset(receiver->Detect(missile, target, toTarget, 0, 0, true, true, false));
    EXPECT_NE(c, nullptr);
    // No such sensor, or an illuminator on the far side of the target.
    missile.guidanceSensor = 2;
    c.reset(receiver->Detect(missile, target, toTarget, 0, 0, true, true, false));
    EXPECT_EQ(c, nullptr);
    missile.guidanceSensor = 1;
    own.SetPosition(samplemap::At(45.2, 0));
    c.reset(receiver->Detect(missile, target, toTarget, 0, 0, true, true, false));
    EXPECT_EQ(c, nullptr);
    // Only a weapon's receiver looks.
    own.SetPosition(samplemap::At(45, 0));
    auto shipReceiver = SensorWorld::Make<SemiActiveSensor>(37, &own);
    shipReceiver->SetState(Sensor::STATE_PASSIVE);
    c.reset(shipReceiver->Detect(own, target, toTarget, 0, 0, true, true, false));
    EXPECT_EQ(c, nullptr);
}

}  // namespace
