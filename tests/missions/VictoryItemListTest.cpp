// VictoryItemListTest.cpp: the list of victory items: which kinds merge,
// lookups and removal, pruning against the arena's units, the description,
// and the saved form with cut streams and bad tags.
#include "missions/VictoryItemList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryItem.h"
#include "missions/ViolationRecord.h"
#include "support/Bytes.h"
#include "support/ReportCapture.h"
#include "VictoryWorld.h"

namespace {

using victorytest::FakeUnit;
using victorytest::VictoryWorld;

// A tag-8 item with the first of its two values.
VictoryItem* NewValuesItem(uint16_t unitID, const char* name, uint32_t first)
{
    return victorytest::MakeValuesItem(unitID, name, first, 0).release();
}

std::string Saved(const VictoryItemList& list)
{
    std::ostringstream out;
    list.Save(out);
    return out.str();
}

// A list holding one item of every tag.
void FillEveryKind(VictoryItemList& list)
{
    list.Add(new PlatformKindItem(7, 'S'));
    list.Add(new UnitNameItem("Kirov"));
    list.Add(new UnitItem(5, "Alpha"));
    list.Add(new UnitTypeItem('P'));
    list.Add(new UnitClassLossRecord(7, 'S', 2));
    list.Add(new ViolationRecord(1, 1, "Victim", 3, "Violator"));
    list.Add(new UnitPairRecord(1, "Actor", "Other"));
    list.Add(NewValuesItem(6, "Bravo", 9));
}

TEST(VictoryItemList, MergesEqualItemsOfTags3To8Only)
{
    using Make = std::function<VictoryItem*()>;
    struct Row {
        const char* what;
        Make first, second;
        int32_t count;
    };
    const Row rows[] = {
        {"kind 1 never", [] { return new PlatformKindItem(7, 'S'); }, [] { return new PlatformKindItem(7, 'S'); }, 2},
        {"kind 2 never", [] { return new UnitNameItem("A"); }, [] { return new UnitNameItem("A"); }, 2},
        {"kind 4 never", [] { return new UnitTypeItem('S'); }, [] { return new UnitTypeItem('S'); }, 2},
        {"kind 3 equal", [] { return new UnitItem(5, "A"); }, [] { return new UnitItem(5, "A"); }, 1},
        {"kind 3 other id", [] { return new UnitItem(5, "A"); }, [] { return new UnitItem(6, "A"); }, 2},
        {"kind 3 other name", [] { return new UnitItem(5, "A"); }, [] { return new UnitItem(5, "B"); }, 2},
        {"kind 5 same class", [] { return new UnitClassLossRecord(7, 'P', 1); },
         [] { return new UnitClassLossRecord(7, 'P', 3); }, 1},
        {"kind 5 other letter", [] { return new UnitClassLossRecord(7, 'P', 1); },
         [] { return new UnitClassLossRecord(7, 'S', 3); }, 2},
        {"kind 6 other platform and hostility", [] { return new ViolationRecord(1, 1, "V", 3, "X"); },
         [] { return new ViolationRecord(1, 0, "V", 4, "X"); }, 1},
        {"kind 6 other side", [] { return new ViolationRecord(1, 1, "V", 3, "X"); },
         [] { return new ViolationRecord(2, 1, "V", 3, "X"); }, 2},
        {"kind 6 other victim", [] { return new ViolationRecord(1, 1, "V", 3, "X"); },
         [] { return new ViolationRecord(1, 1, "W", 3, "X"); }, 2},
        {"kind 7 equal", [] { return new UnitPairRecord(1, "A", "B"); }, [] { return new UnitPairRecord(1, "A", "B"); },
         1},
        {"kind 7 other code", [] { return new UnitPairRecord(1, "A", "B"); },
         [] { return new UnitPairRecord(2, "A", "B"); }, 2},
        {"kind 7 names swapped", [] { return new UnitPairRecord(1, "A", "B"); },
         [] { return new UnitPairRecord(1, "B", "A"); }, 2},
        {"kind 8 other values", [] { return NewValuesItem(5, "A", 1); }, [] { return NewValuesItem(5, "A", 2); }, 1},
        {"kind 8 other id", [] { return NewValuesItem(5, "A", 1); }, [] { return NewValuesItem(6, "A", 1); }, 2},
        {"kinds 3 and 8 alike", [] { return new UnitItem(5, "A"); }, [] { return NewValuesItem(5, "A", 1); }, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        VictoryItemList list;
        VictoryItem* const first = r.first();
        list.Add(first);
        list.Add(r.second());
        EXPECT_EQ(list.GetCount(), r.count);
        EXPECT_EQ(list.Get(0), first);  // a merge keeps the item held
    }
}

TEST(VictoryItemList, LossRecordsOfOneClassAddTheirCounts)
{
    VictoryItemList list;
    list.Add(new UnitClassLossRecord(7, 'P', 1));
    list.Add(new UnitTypeItem('S'));
    list.Add(new UnitClassLossRecord(7, 'P', 3));
    list.Add(new UnitClassLossRecord(7, 'P', 5));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(static_cast<UnitClassLossRecord*>(list.Get(0))->GetCount(), 9);
    list.Add(nullptr);
    EXPECT_EQ(list.GetCount(), 2);
}

// The values of a held tag-8 item change in place; the item still merges
// with an equal one and is still found and taken out by Remove.
TEST(VictoryItemList, HeldValuesItemTakesNewValues)
{
    VictoryItemList list;
    auto* const held = new UnitValuesItem(5, "A", 1, 2);
    list.Add(held);
    held->SetValues(30, 40);
    list.Add(new UnitValuesItem(5, "A", 0, 0));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(held->GetFirstValue(), 30u);
    EXPECT_EQ(held->GetSecondValue(), 40u);
    std::ostringstream out;
    list.Save(out);
    EXPECT_EQ(out.str(), Bytes({1, 0, 0, 0, 8, 5, 0, 2, 0, 'A', 0, 30, 0, 0, 0, 40, 0, 0, 0}));
    ASSERT_TRUE(list.Remove(held));
    delete held;
    list.Add(new UnitValuesItem(5, "A", 0, 0));
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(VictoryItemList, GetOutsideTheListAnswersNullQuietly)
{
    ReportCapture capture;
    VictoryItemList list;
    EXPECT_EQ(list.Get(0), nullptr);
    list.Add(new UnitTypeItem('S'));
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(1), nullptr);
    EXPECT_NE(list.Get(0), nullptr);
    EXPECT_TRUE(capture.errors.empty());
}

TEST(VictoryItemList, FindsTheFirstMatchAndKinds)
{
    FakeUnit ship(5, 'S');
    ship.SetName("Alpha");
    ship.SetAnnexID(7);
    FakeUnit plane(6, 'P');
    VictoryItemList list;
    list.Add(new UnitItem(9, "Other"));
    VictoryItem* const type = new UnitTypeItem('S');
    list.Add(type);
    list.Add(new PlatformKindItem(7, 'S'));
    EXPECT_EQ(list.FindMatch(&ship), type);
    EXPECT_TRUE(list.MatchesUnit(&ship));
    EXPECT_EQ(list.FindMatch(&plane), nullptr);
    EXPECT_FALSE(list.MatchesUnit(nullptr));
    EXPECT_TRUE(list.ContainsKind(PlatformKindItem(7, 'S')));
    EXPECT_FALSE(list.ContainsKind(PlatformKindItem(7, 'U')));
    EXPECT_FALSE(list.ContainsKind(PlatformKindItem(8, 'S')));
}

TEST(VictoryItemList, RemoveTakesOutOnlyItsOwnItems)
{
    VictoryItemList list;
    VictoryItem* const only = new UnitTypeItem('S');
    list.Add(only);
    EXPECT_TRUE(list.Remove(only));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(list.Remove(only));  // an empty list
    delete only;                      // the caller disposes of it

    VictoryItem* const a = new UnitTypeItem('S');
    VictoryItem* const b = new UnitTypeItem('P');
    VictoryItem* const c = new UnitTypeItem('U');
    list.Add(a);
    list.Add(b);
    list.Add(c);
    // An item the list does not hold: a single-item list used to be emptied
    // and a longer one to lose its last item.
    UnitTypeItem stranger('F');
    EXPECT_FALSE(list.Remove(&stranger));
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_TRUE(list.Remove(b));
    delete b;
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Get(0), a);
    EXPECT_EQ(list.Get(1), c);

    VictoryItemList single;
    single.Add(new UnitTypeItem('S'));
    EXPECT_FALSE(single.Remove(&stranger));
    EXPECT_EQ(single.GetCount(), 1);
}

TEST(VictoryItemList, RemovedLossRecordNoLongerTakesCounts)
{
    VictoryItemList list;
    VictoryItem* const loss = new UnitClassLossRecord(7, 'P', 1);
    list.Add(loss);
    ASSERT_TRUE(list.Remove(loss));
    delete loss;
    list.Add(new UnitClassLossRecord(7, 'P', 4));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(static_cast<UnitClassLossRecord*>(list.Get(0))->GetCount(), 4);
}

TEST(VictoryItemList, RemoveMatchDeletesTheFirstMatch)
{
    FakeUnit ship(5, 'S');
    VictoryItemList list;
    list.Add(new UnitTypeItem('P'));
    list.Add(new UnitTypeItem('S'));
    list.Add(new UnitTypeItem('S'));
    EXPECT_TRUE(list.RemoveMatch(&ship));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(static_cast<UnitTypeItem*>(list.Get(0))->GetTypeLetter(), uint32_t{'P'});
    EXPECT_TRUE(list.RemoveMatch(&ship));
    EXPECT_FALSE(list.RemoveMatch(&ship));
    EXPECT_FALSE(list.RemoveMatch(nullptr));
    EXPECT_EQ(list.GetCount(), 1);
}

class VictoryItemListWorld : public testing::Test {
protected:
    VictoryWorld world;
    ReportCapture capture;
};

TEST_F(VictoryItemListWorld, PruneKeepsItemsThatMatchSomeUnit)
{
    world.AddUnit(1, 'S', "Alpha", 7, "Kirov");
    world.AddUnit(2, 'P', "Bravo", 9);
    VictoryItemList list;
    list.Add(new UnitItem(1, "Alpha"));
    list.Add(new PlatformKindItem(9, 'P'));
    list.Add(new UnitNameItem("Kirov"));
    list.PruneUnmatched();
    EXPECT_EQ(list.GetCount(), 3);

    VictoryItem* const first = list.Get(0);
    VictoryItem* const last = list.Get(2);
    list.Add(new UnitTypeItem('U'));  // these two neighbours match nothing
    list.Add(new UnitItem(1, "Other"));
    list.Add(new UnitTypeItem('S'));
    list.PruneUnmatched();
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.Get(0), first);
    EXPECT_EQ(list.Get(2), last);
    EXPECT_EQ(list.Get(3)->GetTag(), VictoryTag::UNIT_TYPE);
    EXPECT_TRUE(capture.errors.empty());
}

TEST_F(VictoryItemListWorld, PruneWithoutUnitTableKeepsAll)
{
    UnitList::SetArenaList(nullptr);
    VictoryItemList list;
    list.Add(new UnitTypeItem('U'));
    list.PruneUnmatched();
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(capture.errors, std::vector<std::string>{ResourceString(VictoryItemList::NO_UNIT_TABLE_TEXT)});
    UnitList::SetArenaList(&world.units);
}

TEST_F(VictoryItemListWorld, DescribeFramesEachItemAndStaysInItsBuffer)
{
    VictoryItemList list;
    EXPECT_EQ(list.Describe(), "\n\n");
    list.Add(new UnitItem(1, "Alpha"));
    list.Add(new UnitTypeItem('S'));
    EXPECT_EQ(list.Describe(), "\n" + UnitItem(1, "Alpha").Describe() + "\n" + UnitTypeItem('S').Describe() + "\n\n");
    for (uint16_t id = 2; id < 400; ++id)
        list.Add(new UnitItem(id, "A long enough unit name"));
    const std::string text = list.Describe();
    EXPECT_EQ(text.size(), VictoryItem::DESCRIPTION_SIZE - 1);
    EXPECT_EQ(text.substr(0, 1), "\n");
}

TEST(VictoryItemListFile, EveryKindRoundTripsByteForByte)
{
    VictoryItemList list;
    FillEveryKind(list);
    const std::string bytes = Saved(list);
    EXPECT_EQ(bytes.substr(0, 4), Bytes({8, 0, 0, 0}));
    std::istringstream in(bytes);
    VictoryItemList loaded(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(loaded.GetCount(), 8);
    for (int32_t i = 0; i < 8; ++i)
        EXPECT_EQ(loaded.Get(i)->GetTag(), list.Get(i)->GetTag());
    EXPECT_EQ(Saved(loaded), bytes);
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
}

TEST(VictoryItemListFile, EmptyListAndDuplicatesInAFile)
{
    std::istringstream empty(Bytes({0, 0, 0, 0}));
    VictoryItemList none(empty);
    EXPECT_TRUE(empty);
    EXPECT_EQ(none.GetCount(), 0);

    // Two loss records of one class and two equal unit items collapse.
    VictoryItemList source;
    source.Add(new UnitClassLossRecord(7, 'P', 1));
    source.Add(new UnitItem(5, "A"));
    std::string bytes = Saved(source);
    const std::string records = bytes.substr(4);
    bytes = Bytes({4, 0, 0, 0}) + records + records;
    std::istringstream in(bytes);
    VictoryItemList loaded(in);
    ASSERT_TRUE(in);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(static_cast<UnitClassLossRecord*>(loaded.Get(0))->GetCount(), 2);
}

TEST(VictoryItemListFile, CutStreamLeavesTheListAsItWas)
{
    VictoryItemList source;
    FillEveryKind(source);
    const std::string bytes = Saved(source);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        VictoryItemList list;
        list.Add(new UnitTypeItem('F'));
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(list.Load(in));
        EXPECT_FALSE(in);
        ASSERT_EQ(list.GetCount(), 1);
        EXPECT_EQ(list.Get(0)->GetTag(), VictoryTag::UNIT_TYPE);

        std::istringstream again(bytes.substr(0, cut));
        VictoryItemList fresh(again);
        EXPECT_EQ(fresh.GetCount(), 0);
    }
}

TEST(VictoryItemListFile, BadTagsAreFatal)
{
    struct Row {
        int tag;
        int32_t text;
    };
    const Row rows[] = {{0, VictoryItemList::TAG_ZERO_TEXT}, {9, VictoryItemList::TAG_UNKNOWN_TEXT},
                        {255, VictoryItemList::TAG_UNKNOWN_TEXT}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tag);
        ReportCapture capture;
        VictoryItemList list;
        list.Add(new UnitTypeItem('F'));
        // A good item, then the bad tag with bytes after it.
        std::istringstream in(Bytes({2, 0, 0, 0, 4, 'S', 0, 0, 0, r.tag, 1, 2, 3, 4}));
        EXPECT_FALSE(list.Load(in));
        EXPECT_FALSE(in);
        EXPECT_EQ(list.GetCount(), 1);
        ASSERT_EQ(capture.fatals.size(), 1u);
        char number[16];
        std::snprintf(number, sizeof number, "0x%06X", static_cast<unsigned>(r.text));
        EXPECT_NE(capture.fatals[0].find(number), std::string::npos) << capture.fatals[0];
    }
}

TEST(VictoryItemListFile, HugeCountRunsOutOfBytes)
{
    VictoryItemList list;
    std::istringstream in(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 4, 'S', 0, 0, 0}));
    EXPECT_FALSE(list.Load(in));
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
