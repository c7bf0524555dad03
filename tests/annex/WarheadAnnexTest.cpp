// WarheadAnnexTest.cpp: the warhead.dat record against its layout, and
// damaged warhead files.
#include <gtest/gtest.h>

#include "annex/WarheadAnnex.h"
#include "support/AnnexImage.h"

namespace {

WarheadAnnex MakeWarhead(uint16_t id, uint32_t type, uint16_t damage, uint16_t count, const char* name)
{
    WarheadAnnex w(id);
    w.warheadType = type;
    w.damage = damage;
    w.count = count;
    w.thirdValue = 0x0F0E;
    w.name.Set(name);
    w.lastValue = 0xCAFEF00D;
    return w;
}

} // namespace

TEST(WarheadAnnex, NewRecordIsCleared)
{
    const WarheadAnnex w;
    EXPECT_EQ(w.GetWarheadType(), 0u);
    EXPECT_EQ(w.damage, 0);
    EXPECT_EQ(w.count, 0);
    EXPECT_EQ(w.thirdValue, 0);
    EXPECT_EQ(w.name, "");
    EXPECT_EQ(w.lastValue, 0u);
}

TEST(WarheadAnnex, WritesAndReadsTheFileLayout)
{
    const WarheadAnnex w = MakeWarhead(31, 0x4000, 120, 6, "HE Blast");
    const std::string v1 = AnnexImage().U16(31).U32(0x4000).U16(120).U16(6).U16(0x0F0E)
        .Name("HE Blast").U32(0xCAFEF00D).Str();
    EXPECT_EQ(SaveAnnexRecord(w, 1), v1);
    const auto read = ReadAnnexRecord<WarheadAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetWarheadType(), 0x4000u);
    EXPECT_EQ(read->damage, 120);
    EXPECT_EQ(read->count, 6);
    EXPECT_EQ(read->thirdValue, 0x0F0E);
    EXPECT_EQ(read->name, "HE Blast");
    EXPECT_EQ(read->lastValue, 0xCAFEF00Du);

    const auto old = ReadAnnexRecord<WarheadAnnex>(v1.substr(0, v1.size() - 4), 0);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->lastValue, 0u);

    ExpectAnnexRoundTrip(w);
}

TEST(WarheadAnnex, DamagedFilesAreRefused)
{
    const WarheadAnnex a = MakeWarhead(1, 2, 44, 0, "Submunition"), b = MakeWarhead(2, 8, 10, 3, "");
    ExpectAnnexCutsRefused<WarheadAnnex>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}
