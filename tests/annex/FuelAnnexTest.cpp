// FuelAnnexTest.cpp: the fuel.dat record against its layout, in both annex
// versions, and damaged fuel files.
#include <gtest/gtest.h>

#include "annex/FuelAnnex.h"
#include "support/AnnexImage.h"

namespace {

FuelAnnex MakeFuel(uint16_t id, uint32_t type, uint32_t capacity, uint32_t third)
{
    FuelAnnex fuel(id);
    fuel.fuelType = type;
    fuel.capacity = capacity;
    fuel.thirdValue = third;
    return fuel;
}

} // namespace

TEST(FuelAnnex, NewRecordIsCleared)
{
    const FuelAnnex fuel;
    EXPECT_EQ(fuel.GetKey(), 0);
    EXPECT_EQ(fuel.GetFuelType(), 0u);
    EXPECT_EQ(fuel.capacity, 0u);
    EXPECT_EQ(fuel.thirdValue, 0u);
}

TEST(FuelAnnex, WritesAndReadsTheFileLayout)
{
    const FuelAnnex fuel = MakeFuel(0x0102, 7, 0x0A0B0C0D, 0xDEADBEEF);
    const std::string v1 = AnnexImage().U16(0x0102).U32(7).U32(0x0A0B0C0D).U32(0xDEADBEEF).Str();
    EXPECT_EQ(SaveAnnexRecord(fuel, 1), v1);
    EXPECT_EQ(SaveAnnexRecord(fuel, 0), v1.substr(0, 10));

    const auto read = ReadAnnexRecord<FuelAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetKey(), 0x0102);
    EXPECT_EQ(read->GetFuelType(), 7u);
    EXPECT_EQ(read->capacity, 0x0A0B0C0Du);
    EXPECT_EQ(read->thirdValue, 0xDEADBEEFu);

    // A version-0 file has no third value: it stays 0 and only 10 bytes go.
    bool consumedAll = false;
    const auto old = ReadAnnexRecord<FuelAnnex>(v1.substr(0, 10), 0, &consumedAll);
    ASSERT_TRUE(old);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(old->thirdValue, 0u);

    ExpectAnnexRoundTrip(fuel);
}

TEST(FuelAnnex, FileLengthFollowsTheVersion)
{
    const FuelAnnex a = MakeFuel(1, 1, 100, 0), b = MakeFuel(2, 7, 50, 9), c = MakeFuel(3, 9, 1, 2);
    AnnexTable<FuelAnnex> table;
    for (const FuelAnnex* f : {&a, &b, &c})
        table.Insert(new FuelAnnex(*f));
    for (uint32_t version : {0u, 1u}) {
        std::ostringstream out;
        ASSERT_TRUE(WriteAnnexFile(out, table, version));
        EXPECT_EQ(out.str().size(), 6u + (version ? 14u : 10u) * 3u);
    }
}

TEST(FuelAnnex, DamagedFilesAreRefused)
{
    const FuelAnnex a = MakeFuel(1, 1, 100, 5), b = MakeFuel(2, 7, 50, 9);
    ExpectAnnexCutsRefused<FuelAnnex>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}
