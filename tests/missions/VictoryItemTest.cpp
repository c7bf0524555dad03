// VictoryItemTest.cpp: the victory items of every tag: which units they
// match, their saved forms and their descriptions with and without database
// records.
#include "missions/VictoryItem.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/UnitPairRecord.h"
#include "missions/ViolationRecord.h"
#include "support/Bytes.h"
#include "VictoryWorld.h"

namespace {

using victorytest::FakeUnit;
using victorytest::MakeValuesItem;
using victorytest::VictoryWorld;

std::string Saved(const VictoryItem& item)
{
    std::ostringstream out;
    item.Save(out);
    return out.str();
}

TEST(VictoryItem, MatchesUnitByEachKind)
{
    FakeUnit ship(5, 'S');
    ship.SetName("Alpha");
    ship.SetClassName("Kirov");
    ship.SetAnnexID(7);
    struct Row {
        const char* what;
        std::function<std::unique_ptr<VictoryItem>()> make;
        bool expected;
    };
    const Row rows[] = {
        {"bare item", [] { return std::make_unique<VictoryItem>(); }, false},
        {"kind of the ship", [] { return std::make_unique<PlatformKindItem>(7, 'S'); }, true},
        {"other annex id", [] { return std::make_unique<PlatformKindItem>(8, 'S'); }, false},
        {"same id, submarine", [] { return std::make_unique<PlatformKindItem>(7, 'U'); }, false},
        {"class name", [] { return std::make_unique<UnitNameItem>("Kirov"); }, true},
        {"unit name is not the class", [] { return std::make_unique<UnitNameItem>("Alpha"); }, false},
        {"unit id and name", [] { return std::make_unique<UnitItem>(5, "Alpha"); }, true},
        {"other id", [] { return std::make_unique<UnitItem>(6, "Alpha"); }, false},
        {"other name", [] { return std::make_unique<UnitItem>(5, "Beta"); }, false},
        {"ship type", [] { return std::make_unique<UnitTypeItem>('S'); }, true},
        {"plane type", [] { return std::make_unique<UnitTypeItem>('P'); }, false},
        {"values item", [] { return MakeValuesItem(5, "Alpha", 1, 2); }, true},
        {"values item, other name", [] { return MakeValuesItem(5, "Beta", 1, 2); }, false},
        {"loss of the class", [] { return std::make_unique<UnitClassLossRecord>(7, 'S', 1); }, true},
        {"loss of another letter", [] { return std::make_unique<UnitClassLossRecord>(7, 'P', 1); }, false},
        {"unit pair", [] { return std::make_unique<UnitPairRecord>(1, "Alpha", "Alpha"); }, false},
        {"violation", [] { return std::make_unique<ViolationRecord>(1, 1, "Alpha", 7, "Alpha"); }, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const auto item = r.make();
        EXPECT_EQ(item->MatchesUnit(&ship), r.expected);
        EXPECT_FALSE(item->MatchesUnit(nullptr));
    }
}

TEST(VictoryItem, ClassKeyHoldsLetterAboveAnnexID)
{
    FakeUnit plane(1, 'P');
    plane.SetAnnexID(0x1234);
    EXPECT_EQ(plane.GetClassKey(), 0x00501234u);
    FakeUnit blank(2, ' ');
    EXPECT_EQ(blank.GetClassKey(), 0x00200000u);
}

TEST(VictoryItem, SavedFormsLeadWithTheTag)
{
    struct Row {
        const char* what;
        std::function<std::unique_ptr<VictoryItem>()> make;
        std::string bytes;
    };
    const Row rows[] = {
        {"bare item writes nothing", [] { return std::make_unique<VictoryItem>(); }, ""},
        {"kind: annex id before letter", [] { return std::make_unique<PlatformKindItem>(0x0102, 'S'); },
         Bytes({1, 0x02, 0x01, 'S', 0, 0, 0})},
        {"class name", [] { return std::make_unique<UnitNameItem>("Ab"); }, Bytes({2, 3, 0, 'A', 'b', 0})},
        {"unit", [] { return std::make_unique<UnitItem>(0x0304, "A"); }, Bytes({3, 0x04, 0x03, 2, 0, 'A', 0})},
        {"type", [] { return std::make_unique<UnitTypeItem>('P'); }, Bytes({4, 'P', 0, 0, 0})},
        {"loss: 11 bytes", [] { return std::make_unique<UnitClassLossRecord>(0x0102, 'P', 0x01020304); },
         Bytes({5, 0x02, 0x01, 'P', 0, 0, 0, 0x04, 0x03, 0x02, 0x01})},
        {"violation", [] { return std::make_unique<ViolationRecord>(0x0203, 1, "V", 0x0405, "X"); },
         Bytes({6, 1, 0x05, 0x04, 0x03, 0x02, 2, 0, 'X', 0, 2, 0, 'V', 0})},
        {"pair: other unit first", [] { return std::make_unique<UnitPairRecord>(0x0102, "Act", "O"); },
         Bytes({7, 0x02, 0x01, 2, 0, 'O', 0, 4, 0, 'A', 'c', 't', 0})},
        {"values: id and name before values", [] { return MakeValuesItem(0x0102, "N", 3, 4); },
         Bytes({8, 0x02, 0x01, 2, 0, 'N', 0, 3, 0, 0, 0, 4, 0, 0, 0})},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(Saved(*r.make()), r.bytes);
    }
}

TEST(VictoryItem, RecordsLoadWhatTheySaved)
{
    const UnitClassLossRecord loss(9, 'W', -3);
    std::istringstream lossIn(Saved(loss).substr(1));
    const UnitClassLossRecord lossBack(lossIn);
    EXPECT_EQ(lossBack.GetTag(), VictoryTag::CLASS_LOSS);
    EXPECT_EQ(lossBack.GetRecordID(), 9);
    EXPECT_EQ(lossBack.GetTypeLetter(), uint32_t{'W'});
    EXPECT_EQ(lossBack.GetCount(), -3);

    const ViolationRecord violation(4, 1, "Victim", 12, "Violator");
    std::istringstream violationIn(Saved(violation).substr(1));
    const ViolationRecord violationBack(violationIn);
    EXPECT_EQ(violationBack.GetTag(), VictoryTag::VIOLATION);
    EXPECT_EQ(violationBack.IsHostile(), 1);
    EXPECT_EQ(violationBack.GetPlatformID(), 12);
    EXPECT_EQ(violationBack.GetSideID(), 4);
    EXPECT_STREQ(violationBack.GetViolatorName().Text(), "Violator");
    EXPECT_STREQ(violationBack.GetVictimName().Text(), "Victim");

    const UnitPairRecord pair(3, "Actor", "Other");
    std::istringstream pairIn(Saved(pair).substr(1));
    const UnitPairRecord pairBack(pairIn);
    EXPECT_TRUE(pairBack.IsSame(pair));
    EXPECT_STREQ(pairBack.GetActorName().Text(), "Actor");

    const UnitValuesItem values(0x0102, "Unit", 7, 0xFFFFFFF0u);
    std::istringstream valuesIn(Saved(values).substr(1));
    const UnitValuesItem valuesBack(valuesIn);
    EXPECT_EQ(valuesBack.GetTag(), VictoryTag::UNIT_VALUES);
    EXPECT_TRUE(valuesBack.IsEqual(values));
    EXPECT_EQ(valuesBack.GetFirstValue(), 7u);
    EXPECT_EQ(valuesBack.GetSecondValue(), 0xFFFFFFF0u);
}

TEST(VictoryItem, LoadedNamesKeepThirtyOneCharacters)
{
    const std::string longName(40, 'n');
    std::ostringstream out;
    SaveField(out, uint8_t{0});
    SaveField(out, uint16_t{0});
    SaveField(out, uint16_t{1});
    SaveField(out, static_cast<uint16_t>(longName.size() + 1));
    out.write(longName.c_str(), static_cast<std::streamsize>(longName.size() + 1));
    NameString victim;
    victim.Set("V");
    victim.Save(out);
    std::istringstream in(out.str());
    const ViolationRecord record(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(std::string(record.GetViolatorName().Text()), longName.substr(0, 31));
    EXPECT_STREQ(record.GetVictimName().Text(), "V");
}

TEST(VictoryItem, LossCountsAddUpAndWrap)
{
    UnitClassLossRecord kept(7, 'P', 1);
    kept.AddCount(new UnitClassLossRecord(7, 'P', 3));
    EXPECT_EQ(kept.GetCount(), 4);
    UnitClassLossRecord top(7, 'P', INT32_MAX);
    top.AddCount(new UnitClassLossRecord(7, 'P', 1));
    EXPECT_EQ(top.GetCount(), INT32_MIN);
    EXPECT_TRUE(kept.IsSameClass(UnitClassLossRecord(7, 'P', 9)));
    EXPECT_FALSE(kept.IsSameClass(UnitClassLossRecord(7, 'S', 1)));
    EXPECT_FALSE(kept.IsSameClass(UnitClassLossRecord(8, 'P', 1)));
}

class VictoryItemText : public testing::Test {
protected:
    VictoryWorld world;
};

TEST_F(VictoryItemText, DescriptionsWithAndWithoutRecords)
{
    world.Name('P', 10, "Falcon");
    world.Name('S', 11, "Kirov class cruiser");
    world.Name('U', 12, "Akula");
    world.Name('W', 13, "Harpoon");
    world.Name('F', 14, "Radar site");
    const auto R = [](int32_t number) { return ResourceString(number); };
    struct Row {
        const char* what;
        std::function<std::unique_ptr<VictoryItem>()> make;
        std::string expected;
    };
    const Row rows[] = {
        {"bare item", [] { return std::make_unique<VictoryItem>(); },
         "VictoryItem::Describe: not a legal victory item"},
        {"kind, blank", [] { return std::make_unique<PlatformKindItem>(10, ' '); }, R(0x7B011C) + R(0x7B011D)},
        {"kind, facility: no lookup", [] { return std::make_unique<PlatformKindItem>(14, 'F'); },
         R(0x7B011C) + R(0x7B0121)},
        {"kind, plane found", [] { return std::make_unique<PlatformKindItem>(10, 'P'); }, R(0x7B011C) + "Falcon"},
        {"kind, plane missing", [] { return std::make_unique<PlatformKindItem>(99, 'P'); },
         R(0x7B011C) + R(0x7B011F)},
        {"kind, ship found", [] { return std::make_unique<PlatformKindItem>(11, 'S'); },
         R(0x7B011C) + "Kirov class cruiser"},
        {"kind, ship missing", [] { return std::make_unique<PlatformKindItem>(99, 'S'); },
         R(0x7B011C) + R(0x7B011E)},
        {"kind, sub found", [] { return std::make_unique<PlatformKindItem>(12, 'U'); }, R(0x7B011C) + "Akula"},
        {"kind, sub missing", [] { return std::make_unique<PlatformKindItem>(99, 'U'); },
         R(0x7B011C) + R(0x7B0120)},
        {"kind, weapon found", [] { return std::make_unique<PlatformKindItem>(13, 'W'); }, R(0x7B011C) + "Harpoon"},
        {"kind, weapon missing", [] { return std::make_unique<PlatformKindItem>(99, 'W'); },
         R(0x7B011C) + R(0x7B0122)},
        {"kind, other letter", [] { return std::make_unique<PlatformKindItem>(10, 'G'); },
         R(0x7B011C) + R(0x7B0123)},
        {"class name", [] { return std::make_unique<UnitNameItem>("Kirov"); }, R(0x7B0124) + "Kirov"},
        {"unit", [] { return std::make_unique<UnitItem>(3, "Alpha"); }, R(0x7B0125) + "Alpha"},
        {"type ship", [] { return std::make_unique<UnitTypeItem>('S'); }, R(0x7B0126) + R(0x7B0127)},
        {"type sub", [] { return std::make_unique<UnitTypeItem>('U'); }, R(0x7B0126) + R(0x7B0128)},
        {"type plane", [] { return std::make_unique<UnitTypeItem>('P'); }, R(0x7B0126) + R(0x7B0129)},
        {"type facility", [] { return std::make_unique<UnitTypeItem>('F'); }, R(0x7B0126) + R(0x7B012A)},
        {"type blank", [] { return std::make_unique<UnitTypeItem>(' '); }, R(0x7B0126) + R(0x7B012B)},
        {"values item", [] { return MakeValuesItem(3, "Bravo", 1, 2); }, R(0x7B0125) + "Bravo"},
        {"loss, blank: no lookup", [] { return std::make_unique<UnitClassLossRecord>(10, ' ', 2); },
         "      2 " + R(0x7B00C5)},
        {"loss, ship found", [] { return std::make_unique<UnitClassLossRecord>(11, 'S', 3); },
         "      3 Kirov class cruiser"},
        {"loss, ship missing", [] { return std::make_unique<UnitClassLossRecord>(99, 'S', 3); },
         "      3 " + R(0x7B00C6)},
        {"loss, plane found", [] { return std::make_unique<UnitClassLossRecord>(10, 'P', 1); }, "      1 Falcon"},
        {"loss, plane missing", [] { return std::make_unique<UnitClassLossRecord>(99, 'P', 1); },
         "      1 " + R(0x7B00C7)},
        {"loss, sub missing", [] { return std::make_unique<UnitClassLossRecord>(99, 'U', 1); },
         "      1 " + R(0x7B00C8)},
        {"loss, facility found", [] { return std::make_unique<UnitClassLossRecord>(14, 'F', 1); },
         "      1 Radar site"},
        {"loss, facility missing", [] { return std::make_unique<UnitClassLossRecord>(99, 'F', 1); },
         "      1 " + R(0x7B00C9)},
        {"loss, weapon found", [] { return std::make_unique<UnitClassLossRecord>(13, 'W', 12); },
         "      12 Harpoon"},
        {"loss, weapon missing", [] { return std::make_unique<UnitClassLossRecord>(99, 'W', 1); },
         "      1 " + R(0x7B00CA)},
        {"loss, other letter", [] { return std::make_unique<UnitClassLossRecord>(10, 'B', -1); },
         "      -1 " + R(0x7B00CB)},
        {"unit pair", [] { return std::make_unique<UnitPairRecord>(2, "Actor", "Other"); },
         "      Other" + R(0x7B00CC) + "Actor" + R(0x7B00CD) + "\n"},
        {"violation, hostile, weapon known", [] { return std::make_unique<ViolationRecord>(1, 1, "Vic", 13, "Bad"); },
         R(0x7B012C) + "Bad" + R(0x7B012D) + R(0x7B012E) + "Harpoon" + R(0x7B012F) + R(0x7B0131) + "Vic" +
             R(0x7B0130) + R(0x7B0132) + "\n"},
        {"violation, unknown platform", [] { return std::make_unique<ViolationRecord>(1, 0, "Vic", 99, "Bad"); },
         R(0x7B012C) + "Bad" + R(0x7B012D) + R(0x7B0131) + "Vic" + R(0x7B0130) + "\n"},
        {"violation, platform 0", [] { return std::make_unique<ViolationRecord>(1, 0, "Vic", 0, "Bad"); },
         R(0x7B012C) + "Bad" + R(0x7B012D) + R(0x7B0131) + "Vic" + R(0x7B0130) + "\n"},
    };
    world.Name('W', 0, "Never shown");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.make()->Describe(), r.expected);
    }
    EXPECT_FALSE(R(0x7B011F).empty());  // the sample texts are there
}

}  // namespace
