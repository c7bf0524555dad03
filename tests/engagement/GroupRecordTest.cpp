// GroupRecordTest.cpp: a group's record and a side's relation entry: their
// construction, their saved forms (word2 never saved) and forms cut short.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "engagement/GroupRecord.h"
#include "engagement/SideEntry.h"

namespace {

TEST(GroupRecord, KindFiveTwelveIsMarked)
{
    EXPECT_EQ(GroupRecord(0x200, 1).isKind512, 1);
    EXPECT_EQ(GroupRecord(0x201, 1).isKind512, 0);
    EXPECT_EQ(GroupRecord(0, 0).isKind512, 0);
    const GroupRecord r(7, 9);
    EXPECT_EQ(r.GetKey(), 0);
    EXPECT_EQ(r.kind, 7u);
    EXPECT_EQ(r.value, 9u);
    EXPECT_EQ(r.time.Get(), 0u);
}

// A record with every field telling.
GroupRecord Telling()
{
    GroupRecord r(0x200, 0xA1B2C3D4);
    r.SetKey(33);
    r.time = GameTime(86400);
    r.word1 = 11;
    r.word2 = 22;
    r.byte2 = 3;
    r.byte3 = 4;
    r.word3 = 0x3333;
    r.word4 = 0x4444;
    for (int i = 0; i < 4; ++i) {
        r.rowA[i] = static_cast<uint16_t>(100 + i);
        r.rowB[i] = static_cast<uint16_t>(200 + i);
        for (int j = 0; j < 4; ++j)
            r.grid[i][j] = LatLonPoint(i * 1000 - 7, -j * 1000 + 5);
    }
    return r;
}

TEST(GroupRecord, RoundTripsWithoutWordTwo)
{
    const GroupRecord r = Telling();
    std::ostringstream out(std::ios::binary);
    r.Save(out);
    const std::string bytes = out.str();
    EXPECT_EQ(bytes.size(), 2u + 4 + 4 + 4 + 2 + 3 + 4 + 16 + 16 * 8);
    EXPECT_EQ(static_cast<uint8_t>(bytes[16]), 1);   // isKind512 after word1

    GroupRecord back;
    back.word2 = 99;
    std::istringstream in(bytes, std::ios::binary);
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.GetKey(), 33);
    EXPECT_EQ(back.kind, 0x200u);
    EXPECT_EQ(back.value, 0xA1B2C3D4u);
    EXPECT_EQ(back.time.Get(), 86400u);
    EXPECT_EQ(back.word1, 11);
    EXPECT_EQ(back.word2, 0);
    EXPECT_EQ(back.isKind512, 1);
    EXPECT_EQ(back.word4, 0x4444);
    EXPECT_EQ(back.rowB[3], 203);
    EXPECT_EQ(back.grid[3][2], LatLonPoint(2993, -1995));
    std::ostringstream again(std::ios::binary);
    back.Save(again);
    EXPECT_EQ(again.str(), bytes);
}

TEST(GroupRecord, CutShortChangesNothing)
{
    std::ostringstream out(std::ios::binary);
    Telling().Save(out);
    const std::string bytes = out.str();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        GroupRecord r(5, 6);
        std::istringstream in(bytes.substr(0, cut), std::ios::binary);
        EXPECT_FALSE(r.Load(in)) << cut;
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(r.kind, 5u);
        EXPECT_EQ(r.GetKey(), 0);
    }
}

TEST(SideEntry, RelationAndSavedForm)
{
    SideEntry e(4, 2);
    EXPECT_EQ(e.GetKey(), 4);
    EXPECT_EQ(e.GetRelation(), 2);
    EXPECT_TRUE(e.SetRelation(1));
    EXPECT_EQ(e.GetRelation(), 1);

    SideRelationList list;
    list.Insert(new SideEntry(4, 1));
    list.Insert(new SideEntry(9, 3));
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    EXPECT_EQ(out.str(), std::string("\x02\x00\x04\x00\x01\x09\x00\x03", 8));
    SideRelationList back;
    std::istringstream in(out.str(), std::ios::binary);
    ASSERT_TRUE(back.Load(in));
    ASSERT_NE(back.Find(9), nullptr);
    EXPECT_EQ(back.Find(9)->GetRelation(), 3);

    for (size_t cut = 1; cut < 3; ++cut) {
        SideEntry kept(7, 2);
        std::istringstream shortIn(std::string("\x04\x00\x01", 3).substr(0, cut), std::ios::binary);
        kept.Load(shortIn);
        EXPECT_TRUE(shortIn.fail());
        EXPECT_EQ(kept.GetKey(), 7);
        EXPECT_EQ(kept.GetRelation(), 2);
    }
}

}  // namespace
