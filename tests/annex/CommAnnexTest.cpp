// CommAnnexTest.cpp: the comm.dat record against its layout, its name rules,
// and damaged comm files.
#include <gtest/gtest.h>

#include "annex/CommAnnex.h"
#include "support/AnnexImage.h"

namespace {

CommAnnex MakeComm()
{
    CommAnnex comm(0x0203);
    comm.commType = 12;
    comm.flags = 0x80000001;
    comm.range = 250;
    comm.value = 0xBEEF;
    comm.name.Set("Link Delta");
    comm.byteValue = 0xA5;
    comm.lastValue = 0x11223344;
    return comm;
}

} // namespace

TEST(CommAnnex, NewRecordHasTheNoDatalinkName)
{
    const CommAnnex comm;
    EXPECT_EQ(comm.GetKey(), 0);
    EXPECT_EQ(comm.name, "NO DATALINK");
    EXPECT_EQ(comm.commType, 0);
    EXPECT_EQ(comm.flags, 0u);
    EXPECT_EQ(comm.byteValue, 0);
    EXPECT_EQ(comm.lastValue, 0u);
}

TEST(CommAnnex, WritesAndReadsTheFileLayout)
{
    const std::string v1 = AnnexImage().U16(0x0203).U16(12).U32(0x80000001).U16(250).U16(0xBEEF)
        .Name("Link Delta").U8(0xA5).U32(0x11223344).Str();
    EXPECT_EQ(SaveAnnexRecord(MakeComm(), 1), v1);

    const auto read = ReadAnnexRecord<CommAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetKey(), 0x0203);
    EXPECT_EQ(read->commType, 12);
    EXPECT_EQ(read->flags, 0x80000001u);
    EXPECT_EQ(read->range, 250);
    EXPECT_EQ(read->value, 0xBEEF);
    EXPECT_EQ(read->name, "Link Delta");
    EXPECT_EQ(read->byteValue, 0xA5);
    EXPECT_EQ(read->lastValue, 0x11223344u);

    ExpectAnnexRoundTrip(MakeComm());
}

TEST(CommAnnex, NameRules)
{
    struct Row { const char* what; std::string nameBytes; const char* expected; };
    const Row rows[] = {
        {"ends at its zero", AnnexImage().Name("HF Radio").Str(), "HF Radio"},
        {"ends at a bar", AnnexImage().U16(10).Raw(std::string("HF Radio|\0", 10)).Str(), "HF Radio"},
        {"bar before the zero", AnnexImage().U16(12).Raw(std::string("HF Radio|xy\0", 12)).Str(), "HF Radio"},
        {"count 0 keeps the default", AnnexImage().U16(0).Str(), "NO DATALINK"},
        {"count 40 keeps 31 characters", AnnexImage().U16(40).Raw(std::string(39, 'N') + '\0').Str(),
         "NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string bytes = AnnexImage().U16(1).U16(2).U32(0).U16(0).U16(0)
            .Raw(r.nameBytes).U8(7).Str();
        bool consumedAll = false;
        const auto read = ReadAnnexRecord<CommAnnex>(bytes, 0, &consumedAll);
        ASSERT_TRUE(read);
        EXPECT_TRUE(consumedAll);
        EXPECT_EQ(read->name, r.expected);
        EXPECT_EQ(read->byteValue, 7);   // the stream stayed in step
    }
}

TEST(CommAnnex, DamagedFilesAreRefused)
{
    CommAnnex a = MakeComm(), b = MakeComm();
    b.SetKey(9);
    b.name.Set("");
    ExpectAnnexCutsRefused<CommAnnex>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}
