// LoadoutAnnexTest.cpp: the loadout.dat record against its layout, and
// damaged loadout files.
#include <gtest/gtest.h>

#include "annex/LoadoutAnnex.h"
#include "support/AnnexImage.h"

namespace {

LoadoutAnnex* NewLoadout(uint16_t id)
{
    auto* l = new LoadoutAnnex(id);
    l->firstCode = 0x0000000C;
    l->secondCode = 0x00010002;
    l->firstIDs.Insert(new IDNode(40));
    for (uint16_t id2 : {7, 3, 7})
        l->weaponRecIDs.Insert(new IDNode(id2));
    l->mountByte = 2;
    l->value16 = 0x1234;
    l->armingMinutes = 45;
    l->value32 = 0x89ABCDEF;
    l->name.Set("Strike, 4 bombs");
    for (int i = 0; i < LoadoutAnnex::BYTE_COUNT; ++i)
        l->bytes[i] = static_cast<uint8_t>(0xF0 + i);
    l->lastValue = 5;
    return l;
}

} // namespace

TEST(LoadoutAnnex, WritesAndReadsTheFileLayout)
{
    const std::unique_ptr<LoadoutAnnex> loadout(NewLoadout(0x0A0B));
    const std::string v1 = AnnexImage().U16(0x0A0B).U32(0xC).U32(0x00010002)
        .IDs({40}).IDs({3, 7, 7}).U8(2).U16(0x1234).U16(45).U32(0x89ABCDEF)
        .Name("Strike, 4 bombs").U8(0xF0).U8(0xF1).U8(0xF2).U8(0xF3).U32(5).Str();
    EXPECT_EQ(SaveAnnexRecord(*loadout, 1), v1);

    const auto read = ReadAnnexRecord<LoadoutAnnex>(v1, 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->firstCode, 0xCu);
    EXPECT_EQ(read->GetSecondCode(), 0x00010002u);
    ASSERT_NE(read->firstIDs.First(), nullptr);
    EXPECT_EQ(read->firstIDs.First()->GetKey(), 40);
    // Equal IDs are all kept; the last key issued is the last ID.
    std::vector<uint16_t> ids;
    for (const IDNode* n = read->weaponRecIDs.First(); n; n = n->GetNext())
        ids.push_back(n->GetKey());
    EXPECT_EQ(ids, (std::vector<uint16_t>{3, 7, 7}));
    EXPECT_EQ(read->weaponRecIDs.GetLastKey(), 7);
    EXPECT_EQ(read->mountByte, 2);
    EXPECT_EQ(read->value16, 0x1234);
    EXPECT_EQ(read->armingMinutes, 45);
    EXPECT_EQ(read->value32, 0x89ABCDEFu);
    EXPECT_EQ(read->name, "Strike, 4 bombs");
    EXPECT_EQ(read->bytes[3], 0xF3);
    EXPECT_EQ(read->lastValue, 5u);

    ExpectAnnexRoundTrip(*loadout);
    ExpectAnnexRoundTrip(LoadoutAnnex(1));
}

TEST(LoadoutAnnex, DamagedFilesAreRefused)
{
    const std::unique_ptr<LoadoutAnnex> a(NewLoadout(1)), b(NewLoadout(2));
    b->firstIDs.DeleteAll();
    ExpectAnnexCutsRefused<LoadoutAnnex>({a.get(), b.get()});
    ExpectAnnexCountPastEndRefused(*a);
}
