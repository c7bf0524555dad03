// IDRecordTest.cpp: the ID-value node: a new node's fields, its saved form
// byte for byte alone and in lists (its own and a list of IDNode, which saves
// it as its own class), and damaged forms cut at every length.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/IDList.h"
#include "core/IDRecord.h"
#include "support/Bytes.h"

namespace {

template <class List>
std::string Saved(const List& list)
{
    std::ostringstream out;
    EXPECT_TRUE(list.Save(out));
    return out.str();
}

}  // namespace

TEST(IDRecord, NewRecordsHoldValueZero)
{
    EXPECT_EQ(IDRecord().GetKey(), 0);
    EXPECT_EQ(IDRecord().GetValue(), 0u);
    EXPECT_EQ(IDRecord(17).GetKey(), 17);
    EXPECT_EQ(IDRecord(17).GetValue(), 0u);
    IDRecord r(3, 0xFF);
    r.SetValue(0x80000001);
    EXPECT_EQ(r.GetValue(), 0x80000001u);
}

TEST(IDRecord, SavesTheKeyThenFourValueBytes)
{
    IDRecordList list;
    list.Insert(new IDRecord(0x0203, 0xA1B2C3D4));
    list.Insert(new IDRecord(1, 0xFFFFFFFF));
    const std::string saved = Saved(list);
    EXPECT_EQ(saved, Bytes({2, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x03, 0x02, 0xD4, 0xC3, 0xB2, 0xA1}));
    EXPECT_EQ(saved.size(), 2u + 2u * IDRecord::FILE_BYTES);

    IDRecordList loaded;
    std::istringstream in(saved);
    ASSERT_TRUE(loaded.Load(in));
    ASSERT_NE(loaded.Find(0x0203), nullptr);
    EXPECT_EQ(loaded.Find(0x0203)->GetValue(), 0xA1B2C3D4u);
    EXPECT_EQ(loaded.First()->GetNext(), loaded.Find(0x0203));
    EXPECT_EQ(Saved(loaded), saved);

    // In a list of bare identifiers the record still writes its value.
    IDList ids;
    ids.Insert(new IDNode(4));
    ids.Insert(new IDRecord(5, 0x01020304));
    EXPECT_EQ(Saved(ids), Bytes({2, 0, 4, 0, 5, 0, 4, 3, 2, 1}));
}

// Each cut fails and keeps only the records read whole, in order.
TEST(IDRecord, EveryTruncationLoadsAsFailure)
{
    IDRecordList list;
    list.Insert(new IDRecord(8, 80));
    list.Insert(new IDRecord(9, 90));
    const std::string saved = Saved(list);
    for (size_t cut = 0; cut < saved.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        IDRecordList loaded;
        std::istringstream in(saved.substr(0, cut));
        EXPECT_FALSE(loaded.Load(in));
        const size_t whole = cut < 2 ? 0 : (cut - 2) / IDRecord::FILE_BYTES;
        size_t count = 0;
        for (const IDRecord* r = loaded.First(); r; r = r->GetNext()) {
            EXPECT_EQ(r->GetValue(), 10u * r->GetKey());
            ++count;
        }
        EXPECT_EQ(count, whole);
    }
}
