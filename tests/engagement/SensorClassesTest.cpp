// SensorClassesTest.cpp: the sensor classes as the unit model builds them
// from sensor.dat records: the class each type makes in a unit's and in a
// mount's list, sector masks, the figures copied, the starting states, the
// sonar's band, the radar's fallback range (saturating), and the saved
// records of every class, damaged ones refused.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "engagement/SensorClasses.h"
#include "support/ReportCapture.h"
#include "units/MovingObject.h"
#include "units/SensorFactory.h"

namespace {

// The sensor classes installed and a scenario sensor table, for one test.
class SensorRecords : public testing::Test {
protected:
    SensorRecords()
        : previousFactory(SetSensorFactory(nullptr)), previousRecordFactory(SetSensorRecordFactory(nullptr))
    {
        InstallSensorClasses();
        Annex::Tables().Create();
    }
    ~SensorRecords() override
    {
        Annex::Tables().Delete();
        SetSensorFactory(previousFactory);
        SetSensorRecordFactory(previousRecordFactory);
    }

    // A sensor.dat record of a type, with telling figures.
    static SensorAnnex& AddRecord(uint16_t id, uint32_t type, uint16_t maxRange = 40)
    {
        auto* r = new SensorAnnex(id);
        r->sensorType = type;
        r->searchBands = 0x00F0;
        r->trackBands = 0x0F00;
        r->searchJamGain = 11;
        r->trackJamGain = 12;
        r->searchThreshold = -130;
        r->trackThreshold = -140;
        r->jamMargin = 15;
        r->channelCount = 2;
        r->capabilities = 0x1C3;
        r->maxRange = maxRange;
        r->minRange = 2;
        r->sourceCode = 33;
        r->beamWidth = 200;
        Annex::Tables().Sensors()->Insert(r);
        return *r;
    }

    static void Fill(IDRecordList& list, std::initializer_list<std::pair<uint16_t, uint32_t>> entries)
    {
        for (const auto& [id, value] : entries)
            list.Insert(new IDRecord(id, value));
    }

    static std::vector<Sensor*> Listed(const TreeListOf<Sensor>& list)
    {
        std::vector<Sensor*> sensors;
        for (Sensor* s = list.First(); s != nullptr; s = s->GetNext())
            sensors.push_back(s);
        return sensors;
    }

    SensorFactory previousFactory;
    SensorRecordFactory previousRecordFactory;
    MovingObject owner;
};

// Which class a sensor is, by its class code.
uint8_t ClassOf(const Sensor* sensor)
{
    if (dynamic_cast<const RadarSensor*>(sensor) != nullptr) return SensorClass::RADAR;
    if (dynamic_cast<const VisualSensor*>(sensor) != nullptr) return SensorClass::VISUAL;
    if (dynamic_cast<const InfraredSensor*>(sensor) != nullptr) return SensorClass::INFRARED;
    if (dynamic_cast<const SonarSensor*>(sensor) != nullptr) return SensorClass::SONAR;
    if (dynamic_cast<const ESMSensor*>(sensor) != nullptr) return SensorClass::ESM;
    if (dynamic_cast<const ECMSensor*>(sensor) != nullptr) return SensorClass::ECM;
    if (dynamic_cast<const SemiActiveSensor*>(sensor) != nullptr) return SensorClass::SEMI_ACTIVE;
    if (dynamic_cast<const MADSensor*>(sensor) != nullptr) return SensorClass::MAD;
    if (dynamic_cast<const LaserDesignatorSensor*>(sensor) != nullptr) return SensorClass::LASER_DESIGNATOR;
    return SensorClass::NONE;
}

}  // namespace

TEST_F(SensorRecords, EachTypeMakesItsClassInAUnitsAndAMountsList)
{
    using C = uint8_t;
    struct Row { uint32_t type; C unitClass; C mountClass; uint32_t state; };
    const Row rows[] = {
        {0, 0, 0, 0},
        {1, SensorClass::RADAR, SensorClass::RADAR, 3},
        {2, SensorClass::VISUAL, SensorClass::VISUAL, 3},
        {3, SensorClass::INFRARED, SensorClass::INFRARED, 3},
        {4, SensorClass::SONAR, SensorClass::SONAR, 3},
        {5, SensorClass::SONAR, SensorClass::SONAR, 3},
        {6, SensorClass::ESM, SensorClass::ESM, 3},
        {7, SensorClass::ECM, SensorClass::ECM, 3},
        {8, SensorClass::SEMI_ACTIVE, SensorClass::SEMI_ACTIVE, 5},
        {9, SensorClass::MAD, SensorClass::MAD, 3},
        {10, SensorClass::RADAR, 0, 3},   // a radar suite: a radar of the unit, nothing in a mount
        {11, SensorClass::SONAR, 0, 3},
        {12, SensorClass::SONAR, SensorClass::SONAR, 3},
        {13, SensorClass::SONAR, SensorClass::SONAR, 3},
        {14, SensorClass::SONAR, SensorClass::SONAR, 3},
        {15, SensorClass::SONAR, SensorClass::SONAR, 3},
        {16, SensorClass::LASER_DESIGNATOR, SensorClass::LASER_DESIGNATOR, 2},
        {17, SensorClass::SONAR, SensorClass::SONAR, 3},
        {18, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.type);
        EXPECT_EQ(SensorClassForType(r.type, false), r.unitClass);
        EXPECT_EQ(SensorClassForType(r.type, true), r.mountClass);
        const auto id = static_cast<uint16_t>(100 + r.type);
        AddRecord(id, r.type);
        IDRecordList records;
        Fill(records, {{id, 0}});
        IDList ids;
        ids.Insert(new IDNode(id));
        TreeListOf<Sensor> unitList;
        TreeListOf<Sensor> mountList;
        BuildSensorList(unitList, records, &owner);
        BuildMountSensorList(mountList, ids, &owner, 3);
        const std::vector<Sensor*> unitSensors = Listed(unitList);
        const std::vector<Sensor*> mountSensors = Listed(mountList);
        ASSERT_EQ(unitSensors.size(), r.unitClass != 0 ? 1u : 0u);
        ASSERT_EQ(mountSensors.size(), r.mountClass != 0 ? 1u : 0u);
        if (r.unitClass != 0) {
            EXPECT_EQ(ClassOf(unitSensors[0]), r.unitClass);
            EXPECT_EQ(unitSensors[0]->GetState(), r.state);
            EXPECT_EQ(unitSensors[0]->GetSensorType(), r.type);
        }
        if (r.mountClass != 0) {
            EXPECT_EQ(ClassOf(mountSensors[0]), r.mountClass);
        }
        unitList.DeleteAll();
        mountList.DeleteAll();
    }
}

TEST_F(SensorRecords, EntriesGetKeysMasksOwnerAndTheRecordsFigures)
{
    AddRecord(1, Sensor::TYPE_RADAR);
    AddRecord(2, Sensor::TYPE_ESM);
    AddRecord(3, Sensor::TYPE_VISUAL);
    TreeListOf<Sensor> list;
    IDRecordList records;
    Fill(records, {{1, 0}, {2, 17}, {3, 0x10003}, {50, 1}});   // 50 has no record
    BuildSensorList(list, records, &owner);
    const std::vector<Sensor*> sensors = Listed(list);
    ASSERT_EQ(sensors.size(), 3u);
    const uint16_t masks[] = {255, 17, 3};   // 0 stands for all round
    for (size_t i = 0; i < sensors.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sensors[i]->GetKey(), i + 1);
        EXPECT_EQ(sensors[i]->targetClasses, masks[i]);
        EXPECT_EQ(sensors[i]->GetOwner(), &owner);
    }
    const Sensor& radar = *sensors[0];
    EXPECT_EQ(radar.GetSensorID(), 1);
    EXPECT_EQ(radar.searchBands, 0x00F0u);
    EXPECT_EQ(radar.trackBands, 0x0F00u);
    EXPECT_EQ(radar.maxRange, 40);
    EXPECT_EQ(radar.minRange, 2);
    EXPECT_EQ(radar.sourceCode, 33);
    EXPECT_EQ(radar.beamWidth, 200);
    EXPECT_EQ(radar.searchJamGain, 11);
    EXPECT_EQ(radar.trackJamGain, 12);
    EXPECT_EQ(radar.searchThreshold, -130);
    EXPECT_EQ(radar.trackThreshold, -140);
    EXPECT_EQ(radar.jamMargin, 15);
    EXPECT_EQ(radar.capabilities, 0x1C3u);
    EXPECT_EQ(radar.channelCount, 2);
    EXPECT_NE(radar.GetChannel(1), nullptr);
    EXPECT_EQ(radar.GetChannel(2), nullptr);
    EXPECT_EQ(radar.trackCount, 0);
    EXPECT_EQ(radar.trackedTargets.First(), nullptr);

    // A mount's sensors all take the mount's mask, 0 again standing for 255.
    TreeListOf<Sensor> mountList;
    IDList ids;
    ids.Insert(new IDNode(1));
    ids.Insert(new IDNode(3));
    BuildMountSensorList(mountList, ids, nullptr, 0);
    for (const Sensor* s = mountList.First(); s != nullptr; s = s->GetNext())
        EXPECT_EQ(s->targetClasses, 255);
    list.DeleteAll();
    mountList.DeleteAll();
}

TEST_F(SensorRecords, NoClassesInstalledBuildsNothing)
{
    AddRecord(1, Sensor::TYPE_RADAR);
    SetSensorRecordFactory(nullptr);
    TreeListOf<Sensor> list;
    IDRecordList records;
    Fill(records, {{1, 0}});
    BuildSensorList(list, records, &owner);
    EXPECT_EQ(list.First(), nullptr);
}

TEST_F(SensorRecords, SonarBandFromTheSearchBands)
{
    struct Row { uint32_t bands; uint8_t band; };
    const Row rows[] = {
        {0x1000000, SonarSensor::BAND_LOW},
        {0x3000000, SonarSensor::BAND_LOW},   // both bits: the low band
        {0x2000000, SonarSensor::BAND_MIDDLE},
        {0x4000000, SonarSensor::BAND_HIGH},
        {0, SonarSensor::BAND_HIGH},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bands);
        AddRecord(9, Sensor::TYPE_PASSIVE_SONAR).searchBands = r.bands;
        const SonarSensor sonar(9);
        EXPECT_EQ(sonar.band, r.band);
        Annex::Tables().Sensors()->DeleteAll();
    }
}

TEST_F(SensorRecords, RadarWithoutARangeTakesItFromItsSearchThreshold)
{
    struct Row { int16_t threshold; uint16_t recordRange; uint16_t maxRange; };
    const Row rows[] = {
        {-400, 0, 0},          // x = 100 is not above 100: 100 x 0.1 / 1850
        {-1600, 0, 5},         // x = 400: m = 1000, x = 100
        {-2000, 0, 54},
        {-2400, 0, 540},
        {-3240, 0, 54054},     // x = 10 after eight passes
        {-3249, 0, 65535},     // 66,216
        {-3250, 0, 65535},     // 67,567 saturates (the u16 conversion used to be undefined)
        {-3600, 0, 65535},     // 540,540
        {-32768, 0, 65535},
        {0, 0, 0},
        {400, 0, 0},           // a positive threshold gives no negative range
        {-2000, 77, 77},       // a record's own range stands
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.threshold);
        AddRecord(5, Sensor::TYPE_RADAR, r.recordRange).searchThreshold = r.threshold;
        const RadarSensor radar(5);
        EXPECT_EQ(radar.maxRange, r.maxRange);
        if (r.recordRange == 0) {
            EXPECT_EQ(RadarSensor::FallbackMaxRange(r.threshold), r.maxRange);
        }
        Annex::Tables().Sensors()->DeleteAll();
    }
    const RadarSensor missing(5);   // no record: the default sensor
    EXPECT_EQ(missing.maxRange, 0);
    EXPECT_EQ(missing.GetState(), 0u);
}

TEST_F(SensorRecords, EveryClassRoundTripsThroughASavedListAndCutsAreRefused)
{
    const uint32_t types[] = {1, 2, 3, 5, 6, 7, 8, 9, 16};
    IDRecordList records;
    for (uint32_t type : types) {
        const auto id = static_cast<uint16_t>(type);
        AddRecord(id, type);
        records.Insert(new IDRecord(id, type));
    }
    TreeListOf<Sensor> list;
    BuildSensorList(list, records, &owner);
    Sensor* radar = list.First();
    radar->trackedTargets.Insert(new TrackedTarget(44, 3));
    radar->trackCount = 1;
    radar->GetChannel(1)->Insert(new ChannelEntry(44, GameTime(100), GameTime(160)));
    static_cast<SemiActiveSensor*>(list.Find(7))->firstValue = 0x1234;

    std::ostringstream out;
    ASSERT_TRUE(SaveSensorList(list, out));
    TreeListOf<Sensor> back;
    {
        std::istringstream in(out.str());
        ASSERT_TRUE(LoadSensorList(back, in, &owner, "test"));
    }
    std::vector<uint8_t> classes;
    for (const Sensor* s = back.First(); s != nullptr; s = s->GetNext()) {
        classes.push_back(ClassOf(s));
        EXPECT_EQ(s->GetOwner(), &owner);
    }
    EXPECT_EQ(classes, (std::vector<uint8_t>{1, 2, 3, 4, 6, 7, 8, 9, 16}));
    std::ostringstream again;
    SaveSensorList(back, again);
    EXPECT_EQ(again.str(), out.str());
    EXPECT_EQ(back.First()->GetChannel(1)->First()->end.Get(), 160u);

    ReportCapture reports;
    const std::string bytes = out.str();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        TreeListOf<Sensor> damaged;
        std::istringstream in(bytes.substr(0, cut));
        reports.Clear();
        EXPECT_FALSE(LoadSensorList(damaged, in, &owner, "test"));
        EXPECT_EQ(damaged.First(), nullptr);   // nothing half-read is kept
        EXPECT_EQ(reports.errors.size(), 1u);
        damaged.DeleteAll();
    }
    EXPECT_TRUE(reports.fatals.empty());
    list.DeleteAll();
    back.DeleteAll();
}

TEST_F(SensorRecords, DamagedSensorRecordsAreRefused)
{
    AddRecord(1, Sensor::TYPE_RADAR);
    IDRecordList records;
    records.Insert(new IDRecord(1, 0));
    TreeListOf<Sensor> list;
    BuildSensorList(list, records, &owner);
    std::ostringstream out;
    SaveSensorList(list, out);
    list.DeleteAll();
    const std::string bytes = out.str();
    // count u16, class u8, key u16, two bands u32, two ranges u16: the type
    // u32 follows at 17; the tracked-target count at 21.
    std::string badType = bytes;
    badType[17] = 18;
    std::string longTargets = bytes;
    longTargets[21] = 5;
    std::string suite = bytes;
    suite[2] = 10;   // a class code no class answers to
    // channelCount u8 at 39, then each channel's u16 count.
    std::string manyChannels = bytes;
    manyChannels[39] = static_cast<char>(200);
    std::string longChannel = bytes;
    longChannel[40] = 9;
    struct Row { const char* name; std::string bytes; bool fatal; };
    const Row rows[] = {{"type beyond 17", badType, false},
                        {"tracked targets beyond the stream", longTargets, false},
                        {"channels beyond the stream", manyChannels, false},
                        {"channel entries beyond the stream", longChannel, false},
                        {"class code of a suite", suite, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ReportCapture reports;
        TreeListOf<Sensor> back;
        std::istringstream in(r.bytes);
        EXPECT_FALSE(LoadSensorList(back, in, &owner, "test"));
        EXPECT_EQ(back.First(), nullptr);
        EXPECT_EQ(reports.fatals.size(), r.fatal ? 1u : 0u);
        EXPECT_EQ(reports.errors.size(), r.fatal ? 0u : 1u);
    }
}
