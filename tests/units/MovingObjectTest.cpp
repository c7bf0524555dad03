// MovingObjectTest.cpp: the moving-object base: altitude band names, band
// reach and the sensor and weapon caches, the altitude envelope and fuel
// figures, the sonar question, and the saved form: a full record round trip
// byte for byte with the caches rebuilt, every cut refused, counts beyond the
// stream and an unknown sensor type refused.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "core/EventList.h"
#include "support/Bytes.h"
#include "units/MovingObject.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

TestSensor* AddSensor(MovingObject& o, uint16_t key, uint8_t type, uint32_t state)
{
    auto* s = new TestSensor(type);
    s->SetKey(key);
    s->Set(state);
    s->SetOwner(&o);
    o.sensors.Insert(s);
    return s;
}

uint16_t LongestReach(const Mount& mount, uint32_t mask)
{
    return static_cast<uint16_t>(mount.capacity + mask);   // a telling figure per mount and kind
}

// Installs LongestReach as the mounts' reach while it lives.
struct MountReach {
    MountReach()
    {
        Mount::Operations ops;
        ops.getLongestReach = &LongestReach;
        ops.getShortestReach = &LongestReach;
        previous = Mount::SetOperations(ops);
    }
    ~MountReach() { Mount::SetOperations(previous); }
    Mount::Operations previous;
};

Event* MakeCodedEvent(uint8_t code)
{
    return code == 0x70 ? new TestEvent(0x70) : nullptr;
}

std::string Saved(const MovingObject& o)
{
    std::ostringstream out;
    o.Save(out);
    return out.str();
}

// A moving object with every list and saved field holding something.
void FillSample(MovingObject& o)
{
    for (int b = 0; b < MovingObject::BAND_REACH_COUNT; ++b)
        o.bandReach[b] = static_cast<int16_t>(b * 3);
    o.bandMask = 0xDEADBEEF;
    PropulsionPlant* plant = MakeDieselPlant(4);
    plant->secondEngineType = EngineType::GAS_TURBINE;
    plant->secondUseRate[2] = 77;
    plant->setting = 1;
    plant->load = 55;
    plant->lastChange.Set(1234);
    plant->propulsionAnnexID = 901;
    o.plants.Insert(plant);
    TestSensor* s = AddSensor(o, 2, Sensor::TYPE_RADAR, Sensor::STATE_ACTIVE);
    s->primaryMask = 0x6;
    s->primaryReach = 40;
    s->search = 25;
    s->reach = 30;
    auto* mount = new Mount(3);
    mount->state = Mount::STATE_READY;
    mount->mountCode = 0x11223344;
    auto* rec = new WeaponRec(7);
    rec->weaponID = 55;
    rec->shotsLeft = 8;
    mount->weapons.Insert(rec);
    mount->fireInterval = -2;
    mount->capacity = 300;
    mount->capabilities = 4;
    auto* guide = new TestSensor(Sensor::TYPE_RADAR);
    guide->SetKey(1);
    mount->sensors.Insert(guide);
    o.mounts.Insert(mount);
    auto* link = new DatalinkRecord(8);
    link->SetKey(30);
    link->linkRange = 120;
    link->links.Insert(new IDNode(17));
    link->linkCount = 1;
    o.datalinks.Insert(link);
    auto* magazine = new Mount(1);
    magazine->emptySpace = 12;
    o.magazines.Insert(magazine);
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 500, 320, 17));
    o.fuelTanks.Append(MakeTank(FuelType::BATTERY, 90, 90));
    auto* node = new PositionNode(LatLonPoint(1000, 2000), 5);
    node->AddEvent(new TestEvent(0x70, 9, 3));
    o.path.Append(node);
    o.path.Append(new PositionNode(LatLonPoint(3000, 4000)));
    o.reserved32 = 0xCAFEF00D;
    o.plantKey = 4;
    o.mainTank = 0;
    o.secondTank = 1;
    o.speed = 12;
    o.sideEntryID = 6;
    o.parentID = 44;
    o.attachedID = 45;
    o.aspectValues[0] = ShortTriple(1, 2, 3);
    o.aspectValues[2] = ShortTriple(7, 8, 9);
    o.course = 123456;
    o.SetSideID(2);
    o.SetSecondID(3);
    o.SetPosition(LatLonPoint(-5000, 6000));
    o.SetAltitude(-4);
}

class MovingObjectRecord : public testing::Test {
protected:
    MovingObjectRecord() { previousFactory = SetEventFactory(&MakeCodedEvent); }
    ~MovingObjectRecord() override { SetEventFactory(previousFactory); }

    UnitWorld world;
    MountReach reach;
    EventFactory previousFactory;
};

}  // namespace

TEST(AltitudeBandName, NamesEachBandFromTheResourceTexts)
{
    UnitWorld world;
    struct Row { int16_t altitude; const char* name; };
    const Row rows[] = {
        {-37, "Very Deep"}, {-36, "Deep"}, {-18, "Mid Depth"}, {-9, "Shallow"}, {-2, "Periscope"},
        {0, "Surface"}, {3, "Very Low"}, {4, "Low"}, {350, "Medium"}, {2000, "High"},
        {5000, "Very High"}, {5001, "Extreme"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.altitude);
        PositionObject p;
        p.SetAltitude(r.altitude);
        char name[PositionObject::BAND_NAME_SIZE];
        std::memset(name, 'x', sizeof name);
        p.GetAltitudeBandName(name);
        EXPECT_STREQ(name, r.name);
    }
}

TEST(AltitudeBandName, NullBufferDoesNothing)
{
    PositionObject p;
    p.GetAltitudeBandName(nullptr);   // no loader, no buffer: nothing to touch
}

TEST(MovingObject, StartsEmpty)
{
    const MovingObject o;
    EXPECT_EQ(o.course, 0);
    EXPECT_EQ(o.plantKey, 0);
    EXPECT_EQ(o.speed, 0);
    EXPECT_EQ(o.GetPath(), nullptr);
    EXPECT_EQ(o.GetPlantSetting(), -1);
    EXPECT_EQ(o.aspectValues[1], ShortTriple());
    EXPECT_EQ(o.reserved32, 0u);
}

TEST(MovingObject, BandReachFromActiveSensorsOnly)
{
    MovingObject o;
    TestSensor* a = AddSensor(o, 1, Sensor::TYPE_RADAR, Sensor::STATE_ACTIVE);
    a->primaryMask = 0x3;
    a->primaryReach = 40;
    a->relayMask = 0x8;
    a->relayReach = 90;      // counts only with relays
    TestSensor* b = AddSensor(o, 2, Sensor::TYPE_RADAR, Sensor::STATE_ACTIVE);
    b->primaryMask = 0x2;
    b->primaryReach = 60;
    b->relayMask = 0x10;
    b->relayReach = 25;
    b->relays = 1;
    TestSensor* off = AddSensor(o, 3, Sensor::TYPE_RADAR, Sensor::STATE_PASSIVE);
    off->primaryMask = 0xFF;
    off->primaryReach = 500;

    o.UpdateBandReach();
    EXPECT_EQ(o.bandReach[0], 40);
    EXPECT_EQ(o.bandReach[1], 60);
    EXPECT_EQ(o.bandReach[3], 0);
    EXPECT_EQ(o.bandReach[4], 25);
    EXPECT_EQ(o.bandMask, 0x13u);
    EXPECT_EQ(o.GetBandReach(0x3), 60);
    EXPECT_EQ(o.GetBandReach(0x8), 0);
    EXPECT_EQ(o.GetBandReach(0x11), 40);

    IDList found;
    o.CollectSensorsFor(found, 0x10, 20);
    ASSERT_NE(found.First(), nullptr);
    EXPECT_EQ(found.First()->GetKey(), 2);
    EXPECT_EQ(found.First()->GetNext(), nullptr);
    IDList strict;
    o.CollectSensorsFor(strict, 0x3, 50);
    ASSERT_NE(strict.First(), nullptr);
    EXPECT_EQ(strict.First()->GetKey(), 2);   // sensor 1 reaches 40 only
}

TEST(MovingObject, KindCachesPassiveSonarAndSensorReach)
{
    MovingObject o;
    TestSensor* radar = AddSensor(o, 1, Sensor::TYPE_RADAR, Sensor::STATE_ACTIVE);
    radar->search = 30;
    radar->searchAlt = 35;
    radar->reach = 50;
    radar->flagWord = 0x100;
    TestSensor* sonar = AddSensor(o, 2, Sensor::TYPE_PASSIVE_SONAR, Sensor::STATE_PASSIVE);
    sonar->reach = 20;
    TestSensor* visual = AddSensor(o, 3, Sensor::TYPE_VISUAL, Sensor::STATE_PASSIVE);
    visual->reach = 90;   // no flag word bit, not a sonar: no sensor reach

    o.UpdateSensorReach();
    EXPECT_EQ(o.sensorReach1, 90);
    EXPECT_EQ(o.searchReach1, 30);
    EXPECT_EQ(o.searchReachAlt1, 35);
    EXPECT_EQ(o.sensorReach8, 90);
    EXPECT_EQ(o.passiveSonarReach, 20);
    EXPECT_EQ(o.GetSensorReach(1), 30);      // radar by search reach beats the sonar's 20
    EXPECT_EQ(o.GetSensorReach(0x11), 30);   // bit 0x10 ignored

    AddSensor(o, 4, Sensor::TYPE_ACTIVE_SONAR, Sensor::STATE_PASSIVE);
    o.UpdateSensorReach();
    EXPECT_EQ(o.passiveSonarReach, 0);      // an active sonar aboard clears it
}

TEST(MovingObject, SonarReachCountsSonarsThatTakeTheState)
{
    MovingObject o;
    TestSensor* good = AddSensor(o, 1, Sensor::TYPE_ACTIVE_SONAR, Sensor::STATE_PASSIVE);
    good->reach = 12;
    TestSensor* broken = AddSensor(o, 2, Sensor::TYPE_PASSIVE_SONAR, Sensor::STATE_DAMAGED);
    broken->reach = 99;
    EXPECT_EQ(o.GetSonarReach(true), 12);
    EXPECT_EQ(good->GetState(), Sensor::STATE_PASSIVE);   // switched back
    EXPECT_EQ(broken->GetState(), Sensor::STATE_DAMAGED);
    EXPECT_TRUE(o.PrefersActiveSonar());
}

TEST(MovingObject, EnvelopeMaxSpeedAndFuelPercent)
{
    MovingObject o;
    int16_t low = 1, high = 1;
    o.GetAltitudeEnvelope(1, low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(o.GetFuelPercent(), 0);

    PropulsionPlant* plant = MakeDieselPlant(1);
    plant->speedTable[1][0] = {10, -30, 8};
    plant->speedTable[1][1] = {200, 11, 14};
    o.plants.Insert(plant);
    o.GetAltitudeEnvelope(1, low, high);
    EXPECT_EQ(low, -30);
    EXPECT_EQ(high, 200);
    EXPECT_EQ(o.GetMaxSpeedAtAltitude(1, 50), 14);
    EXPECT_EQ(o.GetMaxSpeedAtAltitude(1, -300), 0);

    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 0, 0));
    EXPECT_EQ(o.GetFuelPercent(), 0);   // only empty-capacity tanks
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 200, 50));
    EXPECT_EQ(o.GetFuelPercent(), 25);
}

TEST(MovingObject, WeaponReachCachesAndKinds)
{
    MountReach reach;
    MovingObject o;
    auto* a = new Mount(1);
    a->capacity = 100;
    auto* b = new Mount(2);
    b->capacity = 400;
    o.mounts.Insert(a);
    o.mounts.Insert(b);
    o.RefreshWeaponReach();
    EXPECT_EQ(o.weaponReach1, 40);   // (400 + 1) / 10
    EXPECT_EQ(o.weaponReach2, 40);
    EXPECT_EQ(o.weaponReach4, 40);
    EXPECT_EQ(o.GetWeaponReach(1), 400);
    EXPECT_EQ(o.GetWeaponReach(0x12), 400);    // kind 2, bit 0x10 ignored
    EXPECT_EQ(o.GetWeaponReach(0x40), 464);    // any other kind asks the mounts
    EXPECT_EQ(o.GetShortestWeaponReach(0x40), 164);
}

TEST_F(MovingObjectRecord, RoundTripsByteForByteAndRebuildsTheCaches)
{
    MovingObject o;
    FillSample(o);
    o.UpdateSensorReach();
    o.RefreshWeaponReach();
    const std::string bytes = Saved(o);

    MovingObject back;
    std::istringstream in(bytes);
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(in.peek(), EOF);
    EXPECT_EQ(Saved(back), bytes);

    EXPECT_EQ(back.GetAltitudeBand(), o.GetAltitudeBand());
    EXPECT_EQ(back.searchReach1, o.searchReach1);
    EXPECT_EQ(back.sensorReach1, 30);
    EXPECT_EQ(back.weaponReach1, o.weaponReach1);
    EXPECT_EQ(back.weaponReach1, 30);   // mount 3: (300 + 1) / 10
    EXPECT_EQ(back.bandReach[1], 40);   // rebuilt from the active radar, not the saved figures
    EXPECT_EQ(back.mounts.First()->GetOwner(), &back);
    EXPECT_EQ(back.mounts.First()->sensors.First()->GetOwner(), &back);
    EXPECT_EQ(back.sensors.First()->GetOwner(), &back);
    EXPECT_EQ(back.magazines.First()->GetOwner(), nullptr);
    ASSERT_NE(back.GetPath(), nullptr);
    EXPECT_EQ(back.GetPath()->GetEvents().First()->GetSubject(), 9);
}

TEST_F(MovingObjectRecord, EveryCutIsRefused)
{
    MovingObject o;
    FillSample(o);
    const std::string bytes = Saved(o);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        MovingObject back;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(back.Load(in));
        EXPECT_TRUE(in.fail());
    }
    EXPECT_TRUE(world.reports.fatals.empty());
}

TEST_F(MovingObjectRecord, CountsBeyondTheStreamAreRefused)
{
    std::string bytes(64 + 4, '\0');        // band reach and mask
    bytes += Bytes({0xFF, 0xFF});            // 65535 plants announced
    bytes += std::string(PropulsionPlant::SAVED_BYTES, '\0');
    MovingObject back;
    std::istringstream in(bytes);
    EXPECT_FALSE(back.Load(in));   // the caller discards the object (UnitList)
    EXPECT_TRUE(in.fail());
}

TEST_F(MovingObjectRecord, UnknownSensorTypeIsFatal)
{
    for (int type : {0, 18, 0xFF}) {
        SCOPED_TRACE(type);
        world.reports.Clear();
        std::string bytes(64 + 4, '\0');
        bytes += Bytes({0x00, 0x00});           // no plants
        bytes += Bytes({0x01, 0x00, type});     // one sensor of that type
        bytes += std::string(40, '\0');
        MovingObject back;
        std::istringstream in(bytes);
        EXPECT_FALSE(back.Load(in));
        EXPECT_EQ(back.sensors.First(), nullptr);
        ASSERT_EQ(world.reports.fatals.size(), 1u);
        EXPECT_EQ(world.reports.fatals[0],
                  "A saved sensor has a type that no sensor class reads. The file cannot be loaded.");
    }
}

TEST(MovingObjectLoad, SensorWithoutAnInstalledClassIsFatal)
{
    ReportCapture reports;
    std::string bytes(64 + 4, '\0');
    bytes += Bytes({0x00, 0x00, 0x01, 0x00, 0x01});   // a radar, but no sensor classes
    MovingObject back;
    std::istringstream in(bytes);
    EXPECT_FALSE(back.Load(in));
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_NE(reports.fatals[0].find("0x7B025B"), std::string::npos);   // no texts either: the number
}
