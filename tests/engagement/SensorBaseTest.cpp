// SensorBaseTest.cpp: what every sensor class shares: the state rules (the
// base rule and each class's mapping), tracks on the fire-control channels
// (expiry at 15 and 16 seconds, busy channels, holds, windows widened),
// releasing tracks and targets, the base range and contact source, the
// shared lookout, and the saved records of the classes with fields of their
// own (sonar band, semi-active words), damaged ones refused.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "SensorWorld.h"
#include "engagement/Contact.h"
#include "support/ReportCapture.h"

namespace {

using sensortest::Range;
using sensortest::SensorUnit;
using sensortest::SensorWorld;

TEST(SensorStates, BaseRuleAndEachClassMapping)
{
    struct Case {
        const char* name;
        std::unique_ptr<Sensor> sensor;
        uint32_t request;
        uint32_t state;
    };
    auto make = [](auto* s, uint8_t type = 0) {
        if (type != 0)
            s->SetSensorType(type);
        return std::unique_ptr<Sensor>(s);
    };
    Case cases[] = {
        {"radar 1", make(new RadarSensor), 1, 5},
        {"radar 3", make(new RadarSensor), 3, 5},
        {"radar 2", make(new RadarSensor), 2, 2},
        {"radar 4", make(new RadarSensor), 4, 4},
        {"laser 1", make(new LaserDesignatorSensor), 1, 5},
        {"laser 3", make(new LaserDesignatorSensor), 3, 5},
        {"laser 4", make(new LaserDesignatorSensor), 4, 5},
        {"laser 2", make(new LaserDesignatorSensor), 2, 2},
        {"ECM 4", make(new ECMSensor), 4, 5},
        {"ECM 2 without power", make(new ECMSensor), 2, 5},
        {"visual 2", make(new VisualSensor), 2, 3},
        {"infrared 4", make(new InfraredSensor), 4, 3},
        {"ESM 1", make(new ESMSensor), 1, 3},
        {"MAD 2", make(new MADSensor), 2, 3},
        {"MAD 5", make(new MADSensor), 5, 5},
        {"semi-active 2", make(new SemiActiveSensor), 2, 3},
        {"semi-active 5", make(new SemiActiveSensor), 5, 5},
        {"sonar 17 3", make(new SonarSensor, 17), 3, 5},
    };
    for (Case& c : cases) {
        c.sensor->SetState(c.request);
        EXPECT_EQ(c.sensor->GetState(), c.state) << c.name;
    }
    ECMSensor powered;
    powered.searchJamGain = 5;
    powered.SetState(2);
    EXPECT_EQ(powered.GetState(), 2u);
}

TEST(SensorStates, DestroyedIsFinalAndDamagedWaitsForRepair)
{
    for (uint32_t request = 1; request <= 8; ++request) {
        VisualSensor destroyed;
        destroyed.Sensor::SetState(7);
        destroyed.SetState(request);
        EXPECT_EQ(destroyed.GetState(), 7u);
        RadarSensor damaged;
        damaged.Sensor::SetState(6);
        damaged.SetState(request);
        EXPECT_EQ(damaged.GetState(), request == 8 ? 3u : 6u) << request;
    }
}

TEST(SensorStates, OwnersBelowTheSurfaceSwitchRadarAndReceiverOff)
{
    SensorWorld world;
    auto& sub = world.Add(1, 'U', 2);
    sub.At(-3);
    RadarSensor radar;
    radar.SetOwner(&sub);
    radar.SetState(2);
    EXPECT_EQ(radar.GetState(), 5u);
    sub.At(0);
    radar.SetState(2);
    EXPECT_EQ(radar.GetState(), 2u);
}

// An active radar with channels on a ship, tracking a ship at 10 nm.
class TrackTest : public testing::Test {
protected:
    TrackTest() : own(world.Add(1, 'S', 1)), target(world.Add(2, 'S', 1)), other(world.Add(3, 'S', 1))
    {
        SensorAnnex& r = SensorWorld::Record(10, Sensor::TYPE_RADAR);
        r.searchBands = 0x1;
        r.trackBands = 0x1;
        r.maxRange = 40;
        r.channelCount = 1;
        r.capabilities = 0x3;
        r.trackThreshold = -3000;   // sees through the range loss of any test here
        radar = SensorWorld::Make<RadarSensor>(10, &own);
        radar->SetState(Sensor::STATE_ACTIVE);
        target.radar = 100;
        world.SetTime(1000);
    }

    bool Track(bool hold, uint32_t start, uint32_t end, int16_t increment = 1)
    {
        const ChannelEntry request(target.GetID(), GameTime(start), GameTime(end));
        return radar->TrackTarget(own, target, Range(10 * 4096), 0, hold, request, increment, true, true);
    }
    void Book(uint16_t id, uint32_t start, uint32_t end)
    {
        radar->GetChannel(0)->Insert(new ChannelEntry(id, GameTime(start), GameTime(end)));
    }

    SensorWorld world;
    SensorUnit& own;
    SensorUnit& target;
    SensorUnit& other;
    std::unique_ptr<RadarSensor> radar;
};

TEST_F(TrackTest, AnEntryEndedSixteenSecondsAgoIsDroppedFifteenStays)
{
    Book(3, 900, 1000 - 15);
    EXPECT_FALSE(Track(false, 950, 1100));   // the other target's entry still holds the channel
    EXPECT_NE(radar->GetChannel(0)->First(), nullptr);
    radar->GetChannel(0)->DeleteAll();
    Book(3, 900, 1000 - 16);
    EXPECT_TRUE(Track(false, 950, 1100));
    EXPECT_EQ(radar->GetChannel(0)->First(), nullptr);   // dropped, nothing booked without a hold
}

TEST_F(TrackTest, BusyChannelsAndNoChannels)
{
    Book(3, 1000, 1100);
    EXPECT_FALSE(Track(false, 1050, 1200));
    EXPECT_TRUE(Track(false, 1100, 1200));   // windows touching do not overlap
    const ChannelEntry request(2, GameTime(1050), GameTime(1200));
    EXPECT_FALSE(radar->CanTrack(own, target, Range(4096), 0, request, true, true));

    RadarSensor bare;
    bare.SetState(Sensor::STATE_ACTIVE);
    bare.maxRange = 40;
    EXPECT_FALSE(bare.TrackTarget(own, target, Range(4096), 0, false, request, 1, true, true));
    EXPECT_FALSE(bare.CanTrack(own, target, Range(4096), 0, request, true, true));
}

TEST_F(TrackTest, HoldsBookTheRequestAndWidenItsWindow)
{
    EXPECT_TRUE(Track(true, 1000, 1100, 2));
    ASSERT_NE(radar->trackedTargets.Find(2), nullptr);
    EXPECT_EQ(radar->trackedTargets.Find(2)->holdCount, 2);
    EXPECT_EQ(radar->trackCount, 1);
    const ChannelEntry* entry = radar->GetChannel(0)->First();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->start.Get(), 1000u);
    EXPECT_EQ(entry->end.Get(), 1100u);

    EXPECT_TRUE(Track(true, 990, 1200, 1));   // held: no test, the window widens
    EXPECT_EQ(radar->trackedTargets.Find(2)->holdCount, 3);
    EXPECT_EQ(entry->start.Get(), 990u);
    EXPECT_EQ(entry->end.Get(), 1200u);
    EXPECT_EQ(radar->GetChannel(0)->First()->GetNext(), nullptr);

    // A request starting later does not count as a hold.
    target.SetKey(2);
    EXPECT_TRUE(Track(true, 1300, 1400, 5));
    EXPECT_EQ(radar->trackedTargets.Find(2)->holdCount, 3);
}

TEST_F(TrackTest, AFullSensorTestsNoMoreHolds)
{
    EXPECT_TRUE(Track(true, 1000, 1100));
    auto& third = world.Add(4, 'S', 1);
    third.radar = 100;
    const ChannelEntry request(4, GameTime(900), GameTime(1000));   // begun, clear of target 2's
    // One channel, one track held: a new hold is not tested.
    EXPECT_FALSE(radar->TrackTarget(own, third, Range(4096), 0, true, request, 1, true, true));
    EXPECT_TRUE(radar->TrackTarget(own, third, Range(4096), 0, false, request, 1, true, true));
}

TEST_F(TrackTest, StandbyTakesATrackAndOffDoesNot)
{
    radar->SetState(Sensor::STATE_STANDBY);
    EXPECT_TRUE(Track(false, 1000, 1100));
    EXPECT_EQ(radar->GetState(), Sensor::STATE_STANDBY);
    const ChannelEntry request(2, GameTime(1000), GameTime(1100));
    EXPECT_TRUE(radar->CanTrack(own, target, Range(4096), 0, request, true, true));
    radar->SetState(Sensor::STATE_OFF);
    EXPECT_FALSE(Track(false, 1000, 1100));
    EXPECT_FALSE(radar->CanTrack(own, target, Range(4096), 0, request, true, true));
    // The test itself can fail: a target out of range.
    radar->SetState(Sensor::STATE_ACTIVE);
    const ChannelEntry far(2, GameTime(1000), GameTime(1100));
    EXPECT_FALSE(radar->CanTrack(own, target, Range(41 * 4096), 0, far, true, true));
}

TEST_F(TrackTest, ReleasingTheLastHoldFreesTheTrackAndItsEntries)
{
    radar->searchJamGain = 0;   // a track-only set
    EXPECT_TRUE(Track(true, 1000, 1100, 2));
    Book(3, 900, 990);          // another target's, ended
    Book(3, 900, 1500);         // another target's, running
    Book(2, 1200, 1300);        // this target's, not begun
    radar->ReleaseTrack(2);
    EXPECT_EQ(radar->trackedTargets.Find(2)->holdCount, 1);
    radar->ReleaseTarget(2);
    EXPECT_EQ(radar->trackedTargets.Find(2), nullptr);
    EXPECT_EQ(radar->trackCount, 0);
    EXPECT_EQ(radar->GetState(), Sensor::STATE_STANDBY);
    int entries = 0;
    for (const ChannelEntry* e = radar->GetChannel(0)->First(); e != nullptr; e = e->GetNext()) {
        ++entries;
        EXPECT_TRUE((e->GetKey() == 3 && e->end.Get() == 1500) || (e->GetKey() == 2 && e->start.Get() == 1200));
    }
    EXPECT_EQ(entries, 2);
    radar->ReleaseTarget(77);   // not tracked: nothing
}

TEST(SensorRanges, BaseRangeEsmAndContactSource)
{
    VisualSensor visual;
    visual.maxRange = 12;
    visual.capabilities = 0x1;
    visual.SetState(3);
    EXPECT_EQ(visual.GetRange(0x1, false), 12);
    EXPECT_EQ(visual.GetRangeDefault(0x1), 12);
    EXPECT_EQ(visual.GetRange(0x2, false), 0);
    visual.Sensor::SetState(5);
    EXPECT_EQ(visual.GetRange(0x1, false), 0);
    ESMSensor esm;
    esm.maxRange = 90;
    EXPECT_EQ(esm.GetRange(0x1, true), 90);
    EXPECT_EQ(esm.GetRange(0x1, false), 0);

    SensorWorld world;
    auto& target = world.Add(2, 'S', 1);
    std::unique_ptr<Contact> c(new Contact(target, 2));
    visual.sourceCode = 7;
    visual.minRange = 3;
    visual.beamWidth = 15;
    visual.capabilities = 0x30;
    visual.SetContactSource(*c);
    EXPECT_EQ(c->rangeError, 7u);
    EXPECT_EQ(c->rangeErrorValid, 1);
    EXPECT_EQ(c->minRange, 6u);
    EXPECT_EQ(c->maxRange, 12);
    EXPECT_EQ(c->bearingError, 15);
    EXPECT_EQ(c->bearingErrorValid, 1);
    visual.capabilities = 0;
    visual.SetContactSource(*c);
    EXPECT_EQ(c->rangeErrorValid, 0);
    EXPECT_EQ(c->bearingErrorValid, 0);
}

TEST(SensorRanges, TheSharedLookout)
{
    std::unique_ptr<Sensor> lookout(MakeLookoutSensor());
    EXPECT_EQ(lookout->GetClassCode(), SensorClass::VISUAL);
    EXPECT_EQ(lookout->GetState(), Sensor::STATE_PASSIVE);
    EXPECT_EQ(lookout->searchBands, 0x400000u);
    EXPECT_EQ(lookout->trackBands, 0u);
    EXPECT_EQ(lookout->maxRange, 50);
    EXPECT_EQ(lookout->targetClasses, 255);
    EXPECT_EQ(lookout->jamMargin, -650);
    EXPECT_EQ(lookout->GetSensorType(), Sensor::TYPE_VISUAL);
    EXPECT_EQ(lookout->capabilities, 0x33u);
    EXPECT_EQ(lookout->GetOwner(), nullptr);
    EXPECT_EQ(lookout->GetRange(0x1, false), 50);
}

// A sonar's band and a receiver's words travel; a band no sonar has is a
// damaged record.
TEST(SensorRecordsSaved, SonarBandAndSemiActiveWords)
{
    SensorWorld world;
    ReportCapture reports;
    SensorUnit& owner = world.Add(1, 'S', 1);
    TreeListOf<Sensor> list;
    auto* sonar = new SonarSensor();
    sonar->SetSensorType(Sensor::TYPE_TOWED_ARRAY);
    sonar->band = SonarSensor::BAND_MIDDLE;
    sonar->SetKey(1);
    list.Insert(sonar);
    auto* receiver = new SemiActiveSensor();
    receiver->SetSensorType(Sensor::TYPE_SEMI_ACTIVE);
    receiver->firstValue = 0xBEEF;
    receiver->secondValue = 0x0102;
    receiver->SetKey(2);
    list.Insert(receiver);
    std::ostringstream out;
    ASSERT_TRUE(SaveSensorList(list, out));
    const std::string bytes = out.str();
    EXPECT_EQ(bytes[2], 4);   // the sonar's class byte

    TreeListOf<Sensor> back;
    std::istringstream in(bytes);
    ASSERT_TRUE(LoadSensorList(back, in, &owner, "test"));
    const auto* sonarBack = dynamic_cast<const SonarSensor*>(back.Find(1));
    const auto* receiverBack = dynamic_cast<const SemiActiveSensor*>(back.Find(2));
    ASSERT_NE(sonarBack, nullptr);
    ASSERT_NE(receiverBack, nullptr);
    EXPECT_EQ(sonarBack->band, SonarSensor::BAND_MIDDLE);
    EXPECT_EQ(receiverBack->firstValue, 0xBEEF);
    EXPECT_EQ(receiverBack->secondValue, 0x0102);

    // The sonar's band is the last byte of its record (before the receiver's
    // class byte).
    const size_t receiverStart = bytes.find(static_cast<char>(8), 3);
    ASSERT_NE(receiverStart, std::string::npos);
    std::string badBand = bytes;
    badBand[receiverStart - 1] = 3;
    TreeListOf<Sensor> refused;
    std::istringstream badIn(badBand);
    EXPECT_FALSE(LoadSensorList(refused, badIn, &owner, "test"));
    EXPECT_EQ(refused.First(), nullptr);
    EXPECT_EQ(reports.errors.size(), 1u);
    list.DeleteAll();
    back.DeleteAll();
}

}  // namespace
