// MountAnnexTest.cpp: the mount.dat and magazine.dat record against its
// layout, and damaged mount files.
#include <gtest/gtest.h>

#include "annex/MountAnnex.h"
#include "support/AnnexImage.h"

namespace {

MountAnnex* NewMount(uint16_t id)
{
    auto* m = new MountAnnex(id);
    m->code = 0x00000101;
    m->sensorIDs.Insert(new IDNode(21));
    m->sensorIDs.Insert(new IDNode(20));
    m->weaponRecIDs.Insert(new IDNode(300));
    m->rateOfFire = 12;
    m->capacity = 1200;
    m->value = 3;
    m->mountFlags = 0x40000000;
    m->name.Set("Twin 76mm");
    m->lastValue = 0xFFFFFFFF;
    return m;
}

} // namespace

TEST(MountAnnex, WritesAndReadsTheFileLayout)
{
    const std::unique_ptr<MountAnnex> mount(NewMount(88));
    const std::string v1 = AnnexImage().U16(88).U32(0x101).IDs({20, 21}).IDs({300})
        .U8(12).U16(1200).U16(3).U32(0x40000000).Name("Twin 76mm").U32(0xFFFFFFFF).Str();
    EXPECT_EQ(SaveAnnexRecord(*mount, 1), v1);

    const auto read = ReadAnnexRecord<MountAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, 0x101u);
    ASSERT_NE(read->sensorIDs.First(), nullptr);
    EXPECT_EQ(read->sensorIDs.First()->GetKey(), 20);
    EXPECT_EQ(read->sensorIDs.GetLastKey(), 21);
    ASSERT_NE(read->weaponRecIDs.First(), nullptr);
    EXPECT_EQ(read->weaponRecIDs.First()->GetKey(), 300);
    EXPECT_EQ(read->rateOfFire, 12);
    EXPECT_EQ(read->capacity, 1200);
    EXPECT_EQ(read->value, 3);
    EXPECT_EQ(read->mountFlags, 0x40000000u);
    EXPECT_EQ(read->name, "Twin 76mm");
    EXPECT_EQ(read->lastValue, 0xFFFFFFFFu);

    ExpectAnnexRoundTrip(*mount);
    ExpectAnnexRoundTrip(MountAnnex(2));
}

TEST(MountAnnex, IDCountPastTheEndDropsTheRecord)
{
    // The weapon record list claims 60000 IDs.
    const std::string body = AnnexImage().U16(1)
        .U16(1).U32(0).IDs({}).U16(60000).U16(300).U8(0).U16(0).U16(0).U32(0).Name("M").U32(0).Str();
    ReportCapture reports;
    std::istringstream in(body);
    AnnexTable<MountAnnex> table(ANNEX_MAGAZINE);
    EXPECT_FALSE(table.Load(in));
    EXPECT_EQ(table.First(), nullptr);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "AnnexTable::Load: magazine.dat: record 1 of 1 is cut short and dropped");
}

TEST(MountAnnex, DamagedFilesAreRefused)
{
    const std::unique_ptr<MountAnnex> a(NewMount(1)), b(NewMount(2));
    b->sensorIDs.DeleteAll();
    ExpectAnnexCutsRefused<MountAnnex>({a.get(), b.get()});
    ExpectAnnexCountPastEndRefused(*a);
}
