// AirFacilityTest.cpp: the airfacil.dat record against its layout in both
// annex versions, and the air facility entry of ships and facilities: its
// state rule and its saved form inside a unit's saved list.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "annex/AirFacilityAnnex.h"
#include "annex/AnnexEntry.h"
#include "support/AnnexImage.h"

namespace {

AirFacilityAnnex MakeAirFacility(uint16_t id, uint32_t kind, uint16_t value, uint32_t extra)
{
    AirFacilityAnnex record(id);
    record.kindCode = kind;
    record.value = value;
    record.extra = extra;
    return record;
}

AnnexEntry* MakeEntry(uint16_t key, uint32_t type, uint32_t state)
{
    AnnexEntry* const entry = new AnnexEntry(key);
    entry->typeCode = type;
    entry->state = state;
    entry->thirdCode = 0x01020304;
    entry->value1 = 0x0506;
    entry->value2 = 0x0708;
    entry->byte1 = 9;
    entry->byte2 = 10;
    entry->byte3 = 11;
    entry->byte4 = 12;
    entry->long1 = 32;
    entry->long2 = 64;
    entry->long3 = 0xAABBCCDD;
    entry->ids.Insert(new IDNode(40));
    entry->ids.Insert(new IDNode(41));
    return entry;
}

std::string EntryImage(uint16_t key, uint32_t type, uint32_t state)
{
    return AnnexImage().U16(key).U32(type).U32(state).U32(0x01020304).U16(0x0506).U16(0x0708)
        .U8(9).U8(10).U8(11).U8(12).U32(32).U32(64).U32(0xAABBCCDD).IDs({40, 41}).Str();
}

} // namespace

TEST(AirFacilityAnnex, NewRecordIsAllZero)
{
    const AirFacilityAnnex record;
    EXPECT_EQ(record.GetKey(), 0);
    EXPECT_EQ(record.GetKindCode(), 0u);
    EXPECT_EQ(record.value, 0);
    EXPECT_EQ(record.extra, 0u);
}

TEST(AirFacilityAnnex, WritesAndReadsTheFileLayout)
{
    const AirFacilityAnnex record = MakeAirFacility(0x0A0B, AIR_FACILITY_HANGAR, 0x0320, 0x12345678);
    const std::string v1 = AnnexImage().U16(0x0A0B).U32(5).U16(0x0320).U32(0x12345678).Str();
    EXPECT_EQ(SaveAnnexRecord(record, 1), v1);
    EXPECT_EQ(SaveAnnexRecord(record, 0), v1.substr(0, 8));

    const auto read = ReadAnnexRecord<AirFacilityAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetKey(), 0x0A0B);
    EXPECT_EQ(read->GetKindCode(), AIR_FACILITY_HANGAR);
    EXPECT_EQ(read->GetSizeClass(), 0x20);       // Medium Aircraft
    EXPECT_EQ(read->GetCapacityBasis(), 3);
    EXPECT_EQ(read->extra, 0x12345678u);

    ExpectAnnexRoundTrip(record);
}

TEST(AirFacilityAnnex, VersionZeroFileHasNoExtraWord)
{
    // The first word, count 2 then ID 1, has a non-zero high half: no version
    // word, so every record is 8 bytes and extra stays 0.
    const std::string file = AnnexImage().U16(2)
        .U16(1).U32(AIR_FACILITY_RUNWAY).U16(0x0140)
        .U16(2).U32(AIR_FACILITY_PAD).U16(0x0102).Str();
    ReportCapture reports;
    std::istringstream in(file);
    ASSERT_TRUE(CheckAnnexVersion(in));
    AnnexTable<AirFacilityAnnex> table(ANNEX_AIRFACIL);
    EXPECT_TRUE(table.Load(in));
    SetAnnexVersion(ANNEX_VERSION);
    EXPECT_EQ(reports.errors, std::vector<std::string>{ANNEX_TEXT_OLDER});
    ASSERT_NE(table.Find(2), nullptr);
    EXPECT_EQ(table.Find(1)->GetKindCode(), AIR_FACILITY_RUNWAY);
    EXPECT_EQ(table.Find(1)->extra, 0u);
    EXPECT_EQ(table.Find(2)->value, 0x0102);
    EXPECT_EQ(table.Find(2)->extra, 0u);
}

TEST(AirFacilityAnnex, DamagedFilesAreRefused)
{
    const AirFacilityAnnex a = MakeAirFacility(1, AIR_FACILITY_RUNWAY, 0x0140, 1);
    const AirFacilityAnnex b = MakeAirFacility(2, AIR_FACILITY_PARKING, 0x0810, 2);
    ExpectAnnexCutsRefused<AirFacilityAnnex>({&a, &b});
    ExpectAnnexCountPastEndRefused(a);
}

TEST(AnnexEntry, SetStateKeepsOnlyDamageAndDestruction)
{
    struct Row { uint32_t given, stored; };
    const Row rows[] = {
        {AIR_STATE_DAMAGED, AIR_STATE_DAMAGED},
        {AIR_STATE_DESTROYED, AIR_STATE_DESTROYED},
        {AIR_STATE_OFF, AIR_STATE_ACTIVE},      // repair: back to active
        {AIR_STATE_NONE, AIR_STATE_ACTIVE},
        {AIR_STATE_ACTIVE, AIR_STATE_ACTIVE},
        {AIR_STATE_STANDBY, AIR_STATE_ACTIVE},
        {0, AIR_STATE_ACTIVE},
        {8, AIR_STATE_ACTIVE},
        {0xFFFFFFFF, AIR_STATE_ACTIVE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "state " << r.given);
        AnnexEntry entry(1);
        entry.state = AIR_STATE_DESTROYED;
        entry.SetState(r.given);
        EXPECT_EQ(entry.GetSecondCode(), r.stored);
    }
}

TEST(AnnexEntry, NewEntryIsClearedButForItsState)
{
    const AnnexEntry entry;
    EXPECT_EQ(entry.GetKey(), 0);
    EXPECT_EQ(entry.GetTypeCode(), 0u);
    EXPECT_EQ(entry.GetSecondCode(), AIR_STATE_NONE);
    EXPECT_EQ(entry.GetThirdCode(), 0u);
    EXPECT_EQ(entry.byte1, 0);
    EXPECT_EQ(entry.long3, 0u);
    EXPECT_EQ(entry.ids.First(), nullptr);
}

TEST(AnnexEntry, SavedFormRoundTrips)
{
    AnnexEntryList list;
    list.Insert(MakeEntry(1, AIR_FACILITY_RUNWAY_ARREST, AIR_STATE_ACTIVE));
    list.Insert(MakeEntry(2, AIR_FACILITY_HANGAR, AIR_STATE_DAMAGED));
    const std::string image = AnnexImage().U16(2).Raw(EntryImage(1, 2, 2)).Raw(EntryImage(2, 5, 6)).Str();

    std::ostringstream out;
    ASSERT_TRUE(list.Save(out));
    EXPECT_EQ(out.str(), image);

    AnnexEntryList copy;
    std::istringstream in(image);
    ASSERT_TRUE(copy.Load(in));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    const AnnexEntry* const hangar = copy.Find(2);
    ASSERT_NE(hangar, nullptr);
    EXPECT_EQ(hangar->GetTypeCode(), AIR_FACILITY_HANGAR);
    EXPECT_EQ(hangar->GetSecondCode(), AIR_STATE_DAMAGED);
    EXPECT_EQ(hangar->GetThirdCode(), 0x01020304u);
    EXPECT_EQ(hangar->value1, 0x0506);
    EXPECT_EQ(hangar->value2, 0x0708);
    EXPECT_EQ(hangar->byte1, 9);
    EXPECT_EQ(hangar->byte4, 12);
    EXPECT_EQ(hangar->long1, 32u);
    EXPECT_EQ(hangar->long2, 64u);
    EXPECT_EQ(hangar->long3, 0xAABBCCDDu);
    EXPECT_NE(hangar->ids.Find(41), nullptr);
    std::ostringstream again;
    copy.Save(again);
    EXPECT_EQ(again.str(), image);

    // Loading into an entry replaces its IDs rather than adding to them.
    AnnexEntry reused;
    reused.ids.Insert(new IDNode(99));
    std::istringstream one(EntryImage(3, 1, 2));
    reused.Load(one);
    ASSERT_TRUE(one);
    EXPECT_EQ(reused.ids.Find(99), nullptr);
    EXPECT_NE(reused.ids.Find(40), nullptr);
}

TEST(AnnexEntry, CutSavedListKeepsOnlyWholeEntries)
{
    const std::string first = EntryImage(1, 1, 2);
    const std::string image = AnnexImage().U16(2).Raw(first).Raw(EntryImage(2, 8, 7)).Str();
    for (size_t cut = 0; cut < image.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        AnnexEntryList list;
        std::istringstream in(image.substr(0, cut));
        EXPECT_FALSE(list.Load(in));
        size_t kept = 0;
        for (const AnnexEntry* e = list.First(); e; e = e->GetNext())
            ++kept;
        EXPECT_EQ(kept, cut >= 2 + first.size() ? 1u : 0u);
    }

    // An ID count far past the end stops at the first missing ID.
    const std::string huge = AnnexImage().U16(1).Raw(first.substr(0, first.size() - 6)).U16(0xFFFF).U16(7).Str();
    AnnexEntryList list;
    std::istringstream in(huge);
    EXPECT_FALSE(list.Load(in));
    EXPECT_EQ(list.First(), nullptr);
}
