// AnnexFileTest.cpp: the annex container: the version rule, the record loop
// with its keep rule and damage checks, embedded lists, and whole files on
// disk. Fuel records serve as the plain record kind.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "annex/AnnexFile.h"
#include "annex/CommAnnex.h"
#include "annex/FuelAnnex.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "support/AnnexImage.h"
#include "support/TempTree.h"

namespace {

FuelAnnex* NewFuel(uint16_t id, uint32_t capacity)
{
    auto* fuel = new FuelAnnex(id);
    fuel->fuelType = 1;
    fuel->capacity = capacity;
    fuel->thirdValue = capacity + 1;
    return fuel;
}

// Keys of a table in key order, with their capacities.
std::vector<std::pair<uint16_t, uint32_t>> Contents(const AnnexTable<FuelAnnex>& table)
{
    std::vector<std::pair<uint16_t, uint32_t>> keys;
    for (const FuelAnnex* f = table.First(); f; f = f->GetNext())
        keys.emplace_back(f->GetKey(), f->capacity);
    return keys;
}

class AnnexFileTest : public testing::Test {
protected:
    void TearDown() override { SetAnnexVersion(ANNEX_VERSION); SetAnnexLoading(false); }
    ReportCapture reports;
};

} // namespace

TEST_F(AnnexFileTest, VersionRule)
{
    struct Row {
        const char* what;
        std::string bytes;
        bool goesOn;
        uint32_t version;
        std::streamoff countAt;    // where the stream stands afterwards
        bool warns, fatal;
    };
    const Row rows[] = {
        {"version 1", AnnexImage().U32(1).U16(0).Str(), true, 1, 4, false, false},
        {"version 0", AnnexImage().U32(0).U16(0).Str(), true, 0, 4, true, false},
        {"no version word: count 3, first ID 9", AnnexImage().U16(3).U16(9).Str(), true, 0, 0, true, false},
        {"no version word, an empty file of two bytes", AnnexImage().U16(0).Str(), true, 0, 0, true, false},
        {"no version word, three bytes", AnnexImage().U16(1).U8(5).Str(), true, 0, 0, true, false},
        {"version 2", AnnexImage().U32(2).U16(0).Str(), false, 2, 4, false, true},
        {"version 0xFFFF", AnnexImage().U32(0xFFFF).U16(0).Str(), false, 0xFFFF, 4, false, true},
        {"one byte", AnnexImage().U8(1).Str(), false, 1, -1, true, false},
        {"nothing", std::string(), false, 1, -1, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        reports.Clear();
        SetAnnexVersion(1);
        std::istringstream in(r.bytes);
        EXPECT_EQ(CheckAnnexVersion(in), r.goesOn);
        EXPECT_EQ(GetAnnexVersion(), r.version);
        if (r.countAt >= 0) {
            EXPECT_EQ(static_cast<std::streamoff>(in.tellg()), r.countAt);
        }
        if (r.fatal) {
            ASSERT_EQ(reports.fatals.size(), 1u);
            EXPECT_EQ(reports.fatals[0], "Annex version later than Program version.\nCannot continue!");
        } else {
            EXPECT_TRUE(reports.fatals.empty());
        }
        if (r.warns && r.goesOn) {
            ASSERT_EQ(reports.errors.size(), 1u);
            EXPECT_EQ(reports.errors[0], "Annex version older than Program version.");
        } else if (!r.warns) {
            EXPECT_TRUE(reports.errors.empty());
        } else {
            EXPECT_FALSE(reports.errors.empty());   // too short: reported
        }
    }
}

TEST_F(AnnexFileTest, FileWithoutVersionWordReadsFromByteZeroWithoutLastFields)
{
    // Two version-0 fuel records after a bare count: the first four bytes are
    // the count 2 and ID 7, whose high half is not 0.
    const std::string file = AnnexImage().U16(2)
        .U16(7).U32(1).U32(500)
        .U16(8).U32(3).U32(600).Str();
    std::istringstream in(file);
    ASSERT_TRUE(CheckAnnexVersion(in));
    AnnexTable<FuelAnnex> table;
    EXPECT_TRUE(table.Load(in));
    EXPECT_EQ(Contents(table), (std::vector<std::pair<uint16_t, uint32_t>>{{7, 500}, {8, 600}}));
    EXPECT_EQ(table.First()->thirdValue, 0u);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"Annex version older than Program version."});
}

TEST_F(AnnexFileTest, LoadKeepsEveryRecordAndEqualIDsInFileOrder)
{
    AnnexTable<FuelAnnex> source;
    for (auto [id, cap] : {std::pair{5, 1u}, {2, 2u}, {5, 3u}, {9, 4u}})
        source.Insert(NewFuel(static_cast<uint16_t>(id), cap));
    std::stringstream io;
    ASSERT_TRUE(source.Save(io));
    AnnexTable<FuelAnnex> table;
    EXPECT_TRUE(table.Load(io));
    EXPECT_EQ(Contents(table), (std::vector<std::pair<uint16_t, uint32_t>>{{2, 2}, {5, 1}, {5, 3}, {9, 4}}));
    EXPECT_EQ(table.GetLastKey(), 9);
    EXPECT_TRUE(reports.errors.empty());
}

namespace {
std::vector<uint16_t> seen;
void NoteRecord(FuelAnnex* record) { seen.push_back(record->GetKey()); }
}

TEST_F(AnnexFileTest, LoadMatchingKeepsTheReferencedAndShowsEveryRecord)
{
    AnnexTable<FuelAnnex> source;
    for (uint16_t id : {1, 3, 7, 12})
        source.Insert(NewFuel(id, id * 10u));
    std::ostringstream out;
    ASSERT_TRUE(source.Save(out));

    IDList reference;
    for (uint16_t id : {3, 12, 40})
        reference.Insert(new IDNode(id));

    struct Row { const char* what; const TreeList* reference; std::vector<std::pair<uint16_t, uint32_t>> kept; };
    IDList empty;
    const Row rows[] = {
        {"reference 3, 12, 40", &reference, {{3, 30}, {12, 120}}},
        {"empty reference", &empty, {}},
        {"no reference", nullptr, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        seen.clear();
        std::istringstream in(out.str());
        AnnexTable<FuelAnnex> table;
        EXPECT_TRUE(table.LoadMatching(in, r.reference, &NoteRecord));
        EXPECT_EQ(Contents(table), r.kept);
        EXPECT_EQ(seen, (std::vector<uint16_t>{1, 3, 7, 12}));
    }
}

TEST_F(AnnexFileTest, PartialRecordIsDroppedAndReported)
{
    // Count 2 passes the count check (a long first name leaves room), but the
    // second record's name announces 10 bytes and only 5 follow.
    const std::string body = AnnexImage().U16(2)
        .U16(1).U16(3).U32(0).U16(50).U16(0).Name("A name of exactly thirty chars.").U8(1).U32(0)
        .U16(2).U16(3).U32(0).U16(60).U16(0).U16(10).Raw("Short").Str();
    std::istringstream in(body);
    AnnexTable<CommAnnex> table("comm.dat");
    EXPECT_FALSE(table.Load(in));
    ASSERT_NE(table.First(), nullptr);
    EXPECT_EQ(table.First()->GetKey(), 1);
    EXPECT_EQ(table.First()->name, "A name of exactly thirty chars.");
    EXPECT_EQ(table.First()->GetNext(), nullptr);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "AnnexTable::Load: comm.dat: record 2 of 2 is cut short and dropped");
}

TEST_F(AnnexFileTest, CountLargerThanTheBytesLeftIsRefused)
{
    // Count 3 but room for two version-1 records of 14 bytes and 2 more.
    const std::string body = AnnexImage().U16(3)
        .U16(1).U32(1).U32(10).U32(0)
        .U16(2).U32(1).U32(20).U32(0).U16(0).Str();
    std::istringstream in(body);
    AnnexTable<FuelAnnex> table("fuel.dat");
    EXPECT_FALSE(table.Load(in));
    EXPECT_EQ(table.First(), nullptr);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "AnnexTable::Load: fuel.dat: record count 3 exceeds the 30 bytes left");
}

TEST_F(AnnexFileTest, EmbeddedListCountPastTheEndFailsTheStream)
{
    struct Row { const char* what; std::string bytes; bool ok; size_t count; };
    const Row rows[] = {
        {"empty list: two zero bytes", AnnexImage().U16(0).Str(), true, 0},
        {"three IDs", AnnexImage().IDs({4, 2, 9}).Str(), true, 3},
        {"count 3, two IDs there", AnnexImage().U16(3).U16(4).U16(2).Str(), false, 0},
        {"count 65535", AnnexImage().U16(0xFFFF).U16(1).Str(), false, 0},
        {"count cut short", AnnexImage().U8(1).Str(), false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::istringstream in(r.bytes);
        IDList list;
        EXPECT_EQ(ReadAnnexList(in, list, 2), r.ok);
        size_t n = 0;
        for (const IDNode* node = list.First(); node; node = node->GetNext())
            ++n;
        EXPECT_EQ(n, r.count);
        if (r.ok && r.count) {
            EXPECT_EQ(list.GetLastKey(), 9);
        }
    }
}

TEST_F(AnnexFileTest, ReadsAndWritesWholeFilesOnDisk)
{
    TempTree tree;
    AnnexTable<FuelAnnex> source;
    source.Insert(NewFuel(4, 40));
    source.Insert(NewFuel(6, 60));

    struct Row { const char* what; uint32_t version; bool word; uint32_t thirdOf4; size_t warnings; };
    const Row rows[] = {
        {"version 1", 1, true, 41, 0},
        {"version 0 with its word", 0, true, 0, 1},
        {"version 0 without a word", 0, false, 0, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        reports.Clear();
        {
            std::ofstream out(tree.root + "/FUEL.DAT", std::ios::binary);
            ASSERT_TRUE(WriteAnnexFile(out, source, r.version, r.word));
        }
        AnnexTable<FuelAnnex> table(ANNEX_FUEL);
        // The directory text carries its own separator; the name's case on
        // disk does not matter.
        EXPECT_TRUE(ReadAnnexFile(AnnexFilePath(tree.root + "/", ANNEX_FUEL), table, true));
        EXPECT_EQ(Contents(table), (std::vector<std::pair<uint16_t, uint32_t>>{{4, 40}, {6, 60}}));
        EXPECT_EQ(table.First()->thirdValue, r.thirdOf4);
        EXPECT_EQ(reports.errors.size(), r.warnings);
        EXPECT_EQ(GetAnnexVersion(), r.version);
    }
}

TEST_F(AnnexFileTest, MissingFileIsAFatalErrorAndLoadsNothing)
{
    TempTree tree;
    AnnexTable<FuelAnnex> table(ANNEX_FUEL);
    EXPECT_FALSE(ReadAnnexFile(AnnexFilePath(tree.root + "/", ANNEX_FUEL), table, true));
    EXPECT_EQ(table.First(), nullptr);
    ASSERT_EQ(reports.fatals.size(), 1u);
    // Without the resource texts the report names the file.
    EXPECT_NE(reports.fatals[0].find("fuel.dat"), std::string::npos) << reports.fatals[0];
}

TEST_F(AnnexFileTest, LaterVersionReadsNoRecord)
{
    TempTree tree;
    tree.File("fuel.dat", AnnexImage().U32(2).U16(1).U16(1).U32(1).U32(10).U32(0).Str());
    AnnexTable<FuelAnnex> table(ANNEX_FUEL);
    EXPECT_FALSE(ReadAnnexFile(AnnexFilePath(tree.root + "/", ANNEX_FUEL), table, true));
    EXPECT_EQ(table.First(), nullptr);
    EXPECT_EQ(reports.fatals.size(), 1u);
}

TEST_F(AnnexFileTest, SixteenFilesInLoadOrder)
{
    ASSERT_EQ(ANNEX_FILE_COUNT, 16);
    EXPECT_STREQ(ANNEX_FILES[0], "airfacil.dat");
    EXPECT_STREQ(ANNEX_FILES[6], "mount.dat");
    EXPECT_STREQ(ANNEX_FILES[7], "magazine.dat");
    EXPECT_STREQ(ANNEX_FILES[15], "warhead.dat");
}

TEST_F(AnnexFileTest, IDValueListWritesSixBytesAnEntry)
{
    IDRecordList list;
    list.Insert(new IDRecord(9, 0xA1B2C3D4));
    list.Insert(new IDRecord(2, 17));
    std::ostringstream out;
    ASSERT_TRUE(WriteAnnexList(out, list));
    const std::string expected = AnnexImage().U16(2).U16(2).U32(17).U16(9).U32(0xA1B2C3D4).Str();
    EXPECT_EQ(out.str(), expected);

    std::istringstream in(expected);
    IDRecordList read;
    ASSERT_TRUE(ReadAnnexList(in, read, IDRecord::FILE_BYTES));
    ASSERT_NE(read.First(), nullptr);
    EXPECT_EQ(read.First()->GetValue(), 17u);
    ASSERT_NE(read.First()->GetNext(), nullptr);
    EXPECT_EQ(read.First()->GetNext()->GetValue(), 0xA1B2C3D4u);
    EXPECT_EQ(read.GetLastKey(), 9);

    // One entry short: refused before any entry is made.
    std::istringstream cut(expected.substr(0, expected.size() - 1));
    IDRecordList none;
    EXPECT_FALSE(ReadAnnexList(cut, none, IDRecord::FILE_BYTES));
    EXPECT_EQ(none.First(), nullptr);
}
