// PropulsionAnnexTest.cpp: the propuls.dat record against its layout (the
// speed table row by row), and damaged propulsion files.
#include <gtest/gtest.h>

#include "annex/PropulsionAnnex.h"
#include "support/AnnexImage.h"

namespace {

// Distinct values everywhere: entry (r, c) = (100r + 10c, -(100r + 10c), 1000 + 10r + c).
PropulsionAnnex MakePlant()
{
    PropulsionAnnex p(0x0708);
    p.primaryType = 0x20;
    p.secondaryType = 0x4;
    for (int i = 0; i < PropulsionAnnex::BANDS; ++i) {
        p.bandValuesA[i] = static_cast<uint16_t>(10 + i);
        p.bandValuesB[i] = static_cast<uint16_t>(20 + i);
    }
    for (int r = 0; r < PropulsionAnnex::SETTINGS; ++r)
        for (int c = 0; c < PropulsionAnnex::BANDS; ++c)
            p.speedTable[r][c] = {static_cast<int16_t>(100 * r + 10 * c), static_cast<int16_t>(-(100 * r + 10 * c)),
                                  static_cast<uint16_t>(1000 + 10 * r + c)};
    p.value = 0x0999;
    p.name.Set("Gas Turbine");
    p.lastValue = 0x01020304;
    return p;
}

uint16_t U16At(const std::string& b, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

} // namespace

TEST(PropulsionAnnex, NewRecordIsCleared)
{
    const PropulsionAnnex p;
    EXPECT_EQ(p.primaryType, 0u);
    EXPECT_EQ(p.speedTable[3][3].speed, 0);
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.GetTopSpeed(), 0);
}

TEST(PropulsionAnnex, WritesAndReadsTheFileLayout)
{
    AnnexImage image;
    image.U16(0x0708).U32(0x20).U32(0x4);
    for (int i = 0; i < 4; ++i)
        image.U16(10 + i);
    for (int i = 0; i < 4; ++i)
        image.U16(20 + i);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            image.I16(100 * r + 10 * c).I16(-(100 * r + 10 * c)).U16(1000 + 10 * r + c);
    image.U16(0x0999).Name("Gas Turbine").U32(0x01020304);

    const PropulsionAnnex plant = MakePlant();
    const std::string saved = SaveAnnexRecord(plant, 1);
    EXPECT_EQ(saved, image.Str());
    EXPECT_EQ(saved.size(), 124u + 2 + 12 + 4);
    // Entry of row r, band c at 26 + 24r + 6c; its speed 4 bytes further.
    EXPECT_EQ(U16At(saved, 26 + 24 * 2 + 6 * 1 + 4), 1021);
    EXPECT_EQ(U16At(saved, 122), 0x0999);

    const auto read = ReadAnnexRecord<PropulsionAnnex>(saved, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->primaryType, 0x20u);
    EXPECT_EQ(read->secondaryType, 0x4u);
    EXPECT_EQ(read->bandValuesA[3], 13);
    EXPECT_EQ(read->bandValuesB[0], 20);
    // The first four entries are the first row.
    EXPECT_EQ(read->speedTable[0][3].upper, 30);
    EXPECT_EQ(read->speedTable[1][0].lower, -100);
    EXPECT_EQ(read->speedTable[3][2].speed, 1032);
    EXPECT_EQ(read->name, "Gas Turbine");
    EXPECT_EQ(read->lastValue, 0x01020304u);
    EXPECT_EQ(read->GetTopSpeed(), 1033);

    // Version 0: last value 0, exactly the bytes before it consumed.
    bool consumedAll = false;
    const auto old = ReadAnnexRecord<PropulsionAnnex>(saved.substr(0, saved.size() - 4), 0, &consumedAll);
    ASSERT_TRUE(old);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(old->lastValue, 0u);

    ExpectAnnexRoundTrip(plant);
}

TEST(PropulsionAnnex, DamagedFilesAreRefused)
{
    PropulsionAnnex a = MakePlant(), b;
    b.SetKey(2);
    ExpectAnnexCutsRefused<PropulsionAnnex>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}
