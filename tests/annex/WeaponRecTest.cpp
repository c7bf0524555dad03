// WeaponRecTest.cpp: the weapon record's file and saved forms, when its
// last value is read, and weaprec.dat read as a whole file however it is
// opened.
#include <gtest/gtest.h>

#include <fstream>

#include "annex/AnnexTables.h"
#include "annex/WeaponRec.h"
#include "support/AnnexImage.h"
#include "support/TempTree.h"

namespace {

WeaponRec MakeRecord(uint16_t id)
{
    WeaponRec r(id);
    r.cycleTimer = -5;
    r.readyShots = 2;
    r.weaponID = 0x0304;
    r.secondValue = 0x0506;
    r.shotsLeft = 40;
    r.fireInterval = -30;
    r.thirdValue = 0x0708;
    r.flag = 0;
    r.lastValue = 0x0A0B0C0D;
    return r;
}

class WeaponRecTest : public testing::Test {
protected:
    void TearDown() override
    {
        SetAnnexLoading(false);
        SetAnnexVersion(ANNEX_VERSION);
        WeaponRec::SetOlderSavedLayout(false);
    }
};

} // namespace

TEST_F(WeaponRecTest, NewRecordHasOnlyItsFlagSet)
{
    const WeaponRec r;
    EXPECT_EQ(r.GetKey(), 0);
    EXPECT_EQ(r.cycleTimer, 0);
    EXPECT_EQ(r.readyShots, 0);
    EXPECT_EQ(r.weaponID, 0);
    EXPECT_EQ(r.shotsLeft, 0);
    EXPECT_EQ(r.fireInterval, 0);
    EXPECT_EQ(r.flag, 1);
    EXPECT_EQ(r.lastValue, 0u);
}

TEST_F(WeaponRecTest, WritesAndReadsTheFileLayout)
{
    const std::string v1 = AnnexImage().U16(0x0102).U8(0xFB).U8(2).U16(0x0304).U16(0x0506)
        .U16(40).U8(0xE2).U16(0x0708).U8(0).U32(0x0A0B0C0D).Str();
    EXPECT_EQ(v1.size(), 18u);
    EXPECT_EQ(SaveAnnexRecord(MakeRecord(0x0102), 1), v1);

    SetAnnexLoading(true);
    const auto read = ReadAnnexRecord<WeaponRec>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->cycleTimer, -5);
    EXPECT_EQ(read->readyShots, 2);
    EXPECT_EQ(read->weaponID, 0x0304);
    EXPECT_EQ(read->secondValue, 0x0506);
    EXPECT_EQ(read->shotsLeft, 40);
    EXPECT_EQ(read->fireInterval, -30);
    EXPECT_EQ(read->thirdValue, 0x0708);
    EXPECT_EQ(read->flag, 0);
    EXPECT_EQ(read->lastValue, 0x0A0B0C0Du);

    ExpectAnnexRoundTrip(MakeRecord(7));
}

TEST_F(WeaponRecTest, WhenTheLastValueIsRead)
{
    struct Row { const char* what; bool loading; uint32_t version; bool older; bool reads; };
    const Row rows[] = {
        {"annex load, version 1", true, 1, false, true},
        {"annex load, version 0", true, 0, false, false},
        {"annex load, version 0, older saved layout", true, 0, true, false},
        {"annex load, version 1, older saved layout", true, 1, true, true},
        {"saved game", false, 0, false, true},
        {"saved game of the older layout", false, 1, true, false},
    };
    const std::string v1 = SaveAnnexRecord(MakeRecord(3), 1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SetAnnexLoading(r.loading);
        WeaponRec::SetOlderSavedLayout(r.older);
        SetAnnexVersion(r.version);
        std::istringstream in(v1);
        WeaponRec read;
        ASSERT_TRUE(read.Read(in));
        EXPECT_EQ(static_cast<size_t>(in.tellg()), r.reads ? 18u : 14u);
        EXPECT_EQ(read.lastValue, r.reads ? 0x0A0B0C0Du : 0u);
    }
}

TEST_F(WeaponRecTest, DamagedFilesAreRefused)
{
    SetAnnexLoading(true);
    const WeaponRec a = MakeRecord(1), b = MakeRecord(2);
    ExpectAnnexCutsRefused<WeaponRec>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}

// Reading weaprec.dat outside the scenario's annex load (the database viewer,
// a tool) takes the file's layout from its annex version, not from the saved
// games' rule: a version-0 file used to be read with a last value in every
// record, four bytes out of step from the second record on.
TEST_F(WeaponRecTest, WholeFileReadsByItsAnnexVersionHoweverOpened)
{
    ReportCapture reports;
    AnnexTable<WeaponRec> source(ANNEX_WEAPREC);
    source.Insert(new WeaponRec(MakeRecord(1)));
    source.Insert(new WeaponRec(MakeRecord(2)));
    struct Row { const char* what; uint32_t version; bool olderSavedLayout; uint32_t lastValue; };
    const Row rows[] = {
        {"version 0", 0, false, 0},
        {"version 0 while a saved game of the older layout loads", 0, true, 0},
        {"version 1 while a saved game of the older layout loads", 1, true, 0x0A0B0C0D},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        TempTree tree;
        {
            std::ofstream out(tree.root + "/weaprec.dat", std::ios::binary);
            ASSERT_TRUE(WriteAnnexFile(out, source, r.version));
        }
        SetAnnexLoading(false);
        WeaponRec::SetOlderSavedLayout(r.olderSavedLayout);
        AnnexTable<WeaponRec> table(ANNEX_WEAPREC);
        ASSERT_TRUE(ReadAnnexFile(AnnexFilePath(tree.root + "/", ANNEX_WEAPREC), table, true));
        ASSERT_NE(table.Find(1), nullptr);
        ASSERT_NE(table.Find(2), nullptr);
        for (uint16_t id : {1, 2}) {
            EXPECT_EQ(table.Find(id)->weaponID, 0x0304) << id;
            EXPECT_EQ(table.Find(id)->shotsLeft, 40) << id;
            EXPECT_EQ(table.Find(id)->lastValue, r.lastValue) << id;
        }
        // The flag is back as the reader found it.
        EXPECT_FALSE(IsAnnexLoading());
    }
    // Inside another annex read the flag stays set afterwards.
    TempTree tree;
    {
        std::ofstream out(tree.root + "/weaprec.dat", std::ios::binary);
        ASSERT_TRUE(WriteAnnexFile(out, source, 0));
    }
    {
        const AnnexLoadingScope outer;
        AnnexTable<WeaponRec> table(ANNEX_WEAPREC);
        ASSERT_TRUE(ReadAnnexFile(AnnexFilePath(tree.root + "/", ANNEX_WEAPREC), table, true));
        EXPECT_TRUE(IsAnnexLoading());
    }
    EXPECT_FALSE(IsAnnexLoading());
}
