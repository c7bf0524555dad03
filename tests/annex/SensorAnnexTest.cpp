// SensorAnnexTest.cpp: the sensor.dat record against its layout (fixed
// offsets up to the name), damaged sensor files, and which sensor types make
// a sensor object in a unit's and a mount's list.
#include <gtest/gtest.h>

#include "annex/SensorAnnex.h"
#include "support/AnnexImage.h"

namespace {

SensorAnnex MakeSensor()
{
    SensorAnnex s(0x0405);
    s.searchBands = 0x01000F00;
    s.trackBands = 0x00000300;
    s.sensorType = 1;
    s.searchJamGain = 0x1111;
    s.trackJamGain = 0x2222;
    s.searchThreshold = -120;
    s.trackThreshold = -3;
    s.jamMargin = 0x3333;
    s.channelCount = 4;
    s.textNumber = 0x0123;
    s.spare2 = 0x4444;
    s.spare3 = 0x5555;
    s.capabilities = 0x1C3;
    s.maxRange = 180;
    s.minRange = 2;
    s.sourceCode = 0x6666;
    s.beamWidth = 15;
    s.recordFlags = 0x80;
    s.name.Set("Air Search Radar");
    s.lastValue = 0x77777777;
    return s;
}

uint16_t U16At(const std::string& b, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

} // namespace

TEST(SensorAnnex, WritesAndReadsTheFileLayout)
{
    const std::string v1 = AnnexImage().U16(0x0405).U32(0x01000F00).U32(0x300).U32(1)
        .U16(0x1111).U16(0x2222).I16(-120).I16(-3).I16(0x3333).U8(4).U16(0x0123)
        .U16(0x4444).U16(0x5555).U32(0x1C3).U16(180).U16(2).U16(0x6666).U8(15).U32(0x80)
        .Name("Air Search Radar").U32(0x77777777).Str();
    const SensorAnnex sample = MakeSensor();
    const std::string saved = SaveAnnexRecord(sample, 1);
    EXPECT_EQ(saved, v1);
    // Offsets the rest of the system relies on.
    EXPECT_EQ(U16At(saved, 24) & 0xFF, 4);       // channel count
    EXPECT_EQ(U16At(saved, 25), 0x0123);          // description text number
    EXPECT_EQ(U16At(saved, 35), 180);             // maximum range
    EXPECT_EQ(U16At(saved, 46), 17);              // name count

    const auto read = ReadAnnexRecord<SensorAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetSearchBands(), 0x01000F00u);
    EXPECT_EQ(read->GetTrackBands(), 0x300u);
    EXPECT_EQ(read->GetSensorType(), 1u);
    EXPECT_EQ(read->searchThreshold, -120);
    EXPECT_EQ(read->trackThreshold, -3);
    EXPECT_EQ(read->channelCount, 4);
    EXPECT_EQ(read->textNumber, 0x0123);
    EXPECT_EQ(read->capabilities, 0x1C3u);
    EXPECT_EQ(read->maxRange, 180);
    EXPECT_EQ(read->minRange, 2);
    EXPECT_EQ(read->beamWidth, 15);
    EXPECT_EQ(read->recordFlags, 0x80u);
    EXPECT_EQ(read->name, "Air Search Radar");
    EXPECT_EQ(read->lastValue, 0x77777777u);

    ExpectAnnexRoundTrip(sample);
}

TEST(SensorAnnex, DamagedFilesAreRefused)
{
    SensorAnnex a = MakeSensor(), b;
    b.SetKey(3);
    ExpectAnnexCutsRefused<SensorAnnex>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}

// Every sensor type against the factories' table: the two suites make a
// sensor only in a unit's own list; 0 and types above 17 never.
TEST(SensorTypes, WhichMakeASensorWhere)
{
    struct Row { uint32_t type; bool unit, mount, sonar; };
    const Row rows[] = {
        {0, false, false, false},  {1, true, true, false},    {2, true, true, false},
        {3, true, true, false},    {4, true, true, true},     {5, true, true, true},
        {6, true, true, false},    {7, true, true, false},    {8, true, true, false},
        {9, true, true, false},    {10, true, false, false},  {11, true, false, true},
        {12, true, true, true},    {13, true, true, true},    {14, true, true, true},
        {15, true, true, true},    {16, true, true, false},   {17, true, true, true},
        {18, false, false, false}, {0xFFFFFFFF, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type);
        EXPECT_EQ(SensorTypeMakesSensor(r.type, SensorHolder::Unit), r.unit);
        EXPECT_EQ(SensorTypeMakesSensor(r.type, SensorHolder::Mount), r.mount);
        EXPECT_EQ(IsSonarType(r.type), r.sonar);
    }
}
