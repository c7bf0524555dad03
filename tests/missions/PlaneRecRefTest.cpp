// PlaneRecRefTest.cpp: the aircraft reference record: its saved form and the
// list's, copies, the split and the record it names.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "missions/PlaneRecRef.h"
#include "support/Bytes.h"
#include "units/PlaneRec.h"
#include "units/UnitTestSupport.h"
#include "units/UnitList.h"

namespace {

PlaneRecRef* MakeRef(uint16_t key)
{
    auto* ref = new PlaneRecRef(key);
    ref->holderID = 0x0102;
    ref->recordID = 0x0304;
    ref->count = 5;
    ref->loadoutID = 0x0607;
    ref->released = 1;
    ref->recordFlags = 0x8000010F;
    ref->SetOrder(0x0A0B, 0x0C0D, 0x01020304);
    ref->refState = PlaneRecRef::COMMITTED;
    return ref;
}

TEST(PlaneRecRefTest, SavesTwentyFourBytesInFieldOrder)
{
    std::unique_ptr<PlaneRecRef> ref(MakeRef(9));
    std::ostringstream out;
    ref->Save(out);
    EXPECT_EQ(out.str(), Bytes({0x09, 0x00, 0x02, 0x01, 0x04, 0x03, 0x05, 0x07, 0x06, 0x01, 0x0F, 0x01, 0x00, 0x80,
                                0x0B, 0x0A, 0x0D, 0x0C, 0x04, 0x03, 0x02, 0x01, 0x02, 0x00}));
    EXPECT_EQ(out.str().size(), PlaneRecRef::SAVED_SIZE);
}

TEST(PlaneRecRefTest, ListRoundTripsAndNewKeysContinueAboveTheLast)
{
    PlaneRecRefList list;
    list.Insert(MakeRef(3));
    list.Insert(MakeRef(40));
    list.First()->readyMinutes = 7;
    list.First()->substitutions.Insert(new NavIDNode(1, 2));
    std::ostringstream out;
    ASSERT_TRUE(list.Save(out));
    EXPECT_EQ(out.str().size(), 2u + 2 * PlaneRecRef::SAVED_SIZE);

    PlaneRecRefList loaded;
    std::istringstream in(out.str());
    ASSERT_TRUE(loaded.Load(in));
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), out.str());
    // The carried fields are not saved.
    EXPECT_EQ(loaded.First()->readyMinutes, 0);
    EXPECT_EQ(loaded.First()->substitutions.First(), nullptr);
    EXPECT_EQ(loaded.NewKey(), 41);
}

TEST(PlaneRecRefTest, CutListFailsTheStreamAndListsNothingHalfRead)
{
    PlaneRecRefList list;
    list.Insert(MakeRef(1));
    list.Insert(MakeRef(2));
    std::ostringstream out;
    list.Save(out);
    const std::string whole = out.str();
    for (size_t cut : {size_t{1}, size_t{2 + 23}, whole.size() - 1}) {
        PlaneRecRefList loaded;
        std::istringstream in(whole.substr(0, cut));
        EXPECT_FALSE(loaded.Load(in)) << cut;
        uint32_t listed = 0;
        for (PlaneRecRef* r = loaded.First(); r; r = r->GetNext())
            ++listed;
        EXPECT_EQ(listed, cut < 2 + PlaneRecRef::SAVED_SIZE ? 0u : 1u) << cut;
    }
}

TEST(PlaneRecRefTest, CopyTakesEveryFieldAndTheSubstitutions)
{
    std::unique_ptr<PlaneRecRef> ref(MakeRef(4));
    ref->recordWord = 11;
    ref->readyMinutes = 12;
    ref->substitutions.Insert(new NavIDNode(20, 21));
    ref->substitutions.Insert(new NavIDNode(22, 0));
    PlaneRecRef copy(*ref);
    std::ostringstream a, b;
    ref->Save(a);
    copy.Save(b);
    EXPECT_EQ(a.str(), b.str());
    EXPECT_EQ(copy.recordWord, 11);
    EXPECT_EQ(copy.readyMinutes, 12);
    ASSERT_NE(copy.substitutions.Find(20), nullptr);
    EXPECT_EQ(copy.substitutions.Find(20)->GetValue(), 21);
    EXPECT_NE(copy.substitutions.Find(22), nullptr);
    EXPECT_NE(copy.substitutions.Find(20), ref->substitutions.Find(20));
}

TEST(PlaneRecRefTest, SplitTakesNoMoreThanTheCount)
{
    struct Case {
        uint8_t count, taken;
        bool made;
        uint8_t left;
    };
    for (const Case& c : {Case{4, 4, true, 0}, Case{4, 5, false, 4}, Case{4, 1, true, 3}}) {
        PlaneRecRef ref(1), other(2);
        ref.count = c.count;
        other.count = c.taken;
        std::unique_ptr<PlaneRecRef> split(ref.Split(other));
        EXPECT_EQ(split != nullptr, c.made) << int(c.taken);
        EXPECT_EQ(ref.count, c.left) << int(c.taken);
        if (split) {
            EXPECT_EQ(split->count, c.taken);
        }
    }
}

class Holder : public unittest::TestUnit {
public:
    Holder() : TestUnit('S') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

TEST(PlaneRecRefTest, MadeFromARecordMasksTheTopFlagsAndNamesTheRecord)
{
    UnitList units;
    UnitList* const previous = UnitList::SetArenaList(&units);
    auto* holder = new Holder;
    holder->SetKey(30);
    units.Insert(holder);
    auto* record = new PlaneRec(6);
    record->unitID = 30;
    record->count = 3;
    record->loadoutID = 8;
    record->flags = 0xF0000003;
    record->spare16 = 44;
    record->substitutions.Insert(new NavIDNode(5, 6));
    holder->records.Insert(record);

    PlaneRecRef ref(*record, 2);
    EXPECT_EQ(ref.GetKey(), 2);
    EXPECT_EQ(ref.holderID, 30);
    EXPECT_EQ(ref.recordID, 6);
    EXPECT_EQ(ref.count, 3);
    EXPECT_EQ(ref.loadoutID, 8);
    EXPECT_EQ(ref.recordFlags, 0x3u);
    EXPECT_EQ(ref.refState, PlaneRecRef::HELD);
    EXPECT_EQ(ref.recordWord, 44);
    EXPECT_NE(ref.substitutions.Find(5), nullptr);
    EXPECT_EQ(ref.GetPlaneRec(), record);

    ref.recordID = 7;
    EXPECT_EQ(ref.GetPlaneRec(), nullptr);
    ref.holderID = 31;
    EXPECT_EQ(ref.GetPlaneRec(), nullptr);
    units.DeleteAll();
    UnitList::SetArenaList(previous);
}

}  // namespace
