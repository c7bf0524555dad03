// DBEnumTest.cpp: the database's name tables, the choice of class-table row
// and the chance and scale tests, levels outside the table included.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "annex/DBEnum.h"
#include "core/RandomGen.h"
#include "core/gam2arena.h"

namespace {

// A scripted random source: answers `next` to every draw and counts them.
struct ScriptedDraw {
    static inline uint16_t next = 0;
    static inline int draws = 0;
    static inline uint16_t lastRange = 0;
    static uint16_t Draw(uint16_t n)
    {
        ++draws;
        lastRange = n;
        return next;
    }
};

class DBEnumChance : public testing::Test {
protected:
    void SetUp() override
    {
        ScriptedDraw::draws = 0;
        previous_ = DBEnum::SetChanceDraw(&ScriptedDraw::Draw);
    }
    void TearDown() override { DBEnum::SetChanceDraw(previous_); }

private:
    DBEnum::DrawFunction previous_ = nullptr;
};

std::string Name(void (*lookup)(uint32_t, char*), uint32_t code)
{
    char buffer[DBEnum::NAME_SIZE];
    std::memset(buffer, 'x', sizeof buffer);
    lookup(code, buffer);
    return buffer;
}

}  // namespace

TEST(DBEnum, NameLookups)
{
    struct Row { void (*lookup)(uint32_t, char*); uint32_t code; const char* name; };
    const Row rows[] = {
        {DBEnum::GetSensorTypeName, 0, "None"},
        {DBEnum::GetSensorTypeName, 17, "Active-Only Sonar"},
        {DBEnum::GetSensorTypeName, 12, "Ranging Sonar"},   // the first of two rows
        {DBEnum::GetSensorTypeName, 16, "Laser Designator"},
        {DBEnum::GetSensorTypeName, 18, ""},
        {DBEnum::GetAircraftSizeName, 4, "Large Helo & VTOL Aircraft"},
        {DBEnum::GetAircraftSizeName, 128, "Very Large Aircraft"},
        {DBEnum::GetAircraftSizeName, 3, ""},                // not a single bit
        {DBEnum::GetTargetClassName, 0, "Not a Target"},
        {DBEnum::GetTargetClassName, 0x200, "Hardened Target"},
        {DBEnum::GetTargetClassName, 0x400, ""},
        {DBEnum::GetWarheadKindName, 0x10, "Torpedo"},
        {DBEnum::GetWarheadKindName, 0x200000, "Gun up tp 200mm"},
        {DBEnum::GetWarheadKindName, 0x800000, "Gun over 350mm"},
        {DBEnum::GetWarheadKindName, 0x100, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.code << " " << r.name);
        EXPECT_EQ(Name(r.lookup, r.code), r.name);
    }
    DBEnum::GetSensorTypeName(1, nullptr);   // ignored, no crash
}

TEST(DBEnum, TablesHaveTheirRowsAndFitTheNameBuffer)
{
    struct Row { const DBEnumTable* table; uint16_t count; bool uniqueCodes; };
    const Row rows[] = {
        {&DBEnum::SensorTypes(), 19, false},   // 12 twice
        {&DBEnum::SensorCapabilities(), 10, true},
        {&DBEnum::AircraftSizes(), 9, true},
        {&DBEnum::TargetClasses(), 11, true},
        {&DBEnum::WarheadTypes(), 23, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count);
        ASSERT_EQ(r.table->count, r.count);
        std::set<uint32_t> codes;
        for (uint16_t i = 0; i < r.table->count; ++i) {
            EXPECT_LT(std::strlen(r.table->rows[i].name), size_t{DBEnum::NAME_SIZE});
            codes.insert(r.table->rows[i].code);
        }
        EXPECT_EQ(codes.size() == r.count, r.uniqueCodes);
    }
    // Capabilities list bit after bit, in order.
    const DBEnumTable& caps = DBEnum::SensorCapabilities();
    for (uint16_t i = 0; i < caps.count; ++i)
        EXPECT_EQ(caps.rows[i].code, uint32_t{1} << i);
}

TEST(DBEnum, SizeClassRow)
{
    struct Row { uint16_t value; uint16_t category; uint16_t row; };
    const Row rows[] = {
        {50, 0x4, 10}, {51, 0x4, 11}, {0, 0x10, 10}, {60000, 0x10, 11},
        {999, 0x8, 0},
        {9, 0x40, 5}, {10, 0x40, 6}, {20, 0x40, 6}, {21, 0x40, 7}, {50, 0x40, 7}, {51, 0x40, 8},
        {1, 0x800, 9},
        {1, 0x100, 4}, {1, 0x200, 4}, {1, 0x1000, 4}, {1, 0x2000, 4}, {1, 0x4000, 4},
        {9, 0x20, 1}, {10, 0x20, 2}, {20, 0x80, 2}, {21, 0x80, 3}, {50, 0x8000, 3}, {51, 0x8000, 4},
        {5, 0, 4}, {5, 0x2, 4}, {5, 0x24, 4},   // no type, or several bits
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "value " << r.value << " category " << r.category);
        EXPECT_EQ(DBEnum::SizeClassRow(r.value, r.category), r.row);
    }
}

TEST_F(DBEnumChance, LevelZeroPassesWithoutDrawing)
{
    ScriptedDraw::next = 99;
    EXPECT_TRUE(DBEnum::Chance_Check(5, 0x8, 0));
    EXPECT_EQ(ScriptedDraw::draws, 0);
}

TEST_F(DBEnumChance, DrawIsComparedWithTheEntry)
{
    struct Row { uint16_t value; uint16_t category; uint32_t level; uint16_t draw; bool pass; };
    const Row rows[] = {
        // depth charge of 60: row 11, level 1 is 100 and always passes
        {60, 0x4, 1, 99, true},
        {60, 0x4, 4, 24, true},    // entry 25
        {60, 0x4, 4, 25, false},
        {5, 0x20, 3, 9, true},     // row 1, level 3 is 10
        {5, 0x20, 3, 10, false},
        {5, 0x20, 1, 0, true},     // 35
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << "/" << r.category << " level " << r.level
                                        << " draw " << r.draw);
        ScriptedDraw::draws = 0;
        ScriptedDraw::next = r.draw;
        EXPECT_EQ(DBEnum::Chance_Check(r.value, r.category, r.level), r.pass);
        EXPECT_EQ(ScriptedDraw::draws, 1);
        EXPECT_EQ(ScriptedDraw::lastRange, 100);
    }
}

TEST_F(DBEnumChance, NoValueFailsWithoutDrawing)
{
    struct Row { uint16_t value; uint16_t category; uint32_t level; };
    const Row rows[] = {
        {5, 0x8, 3},        // row 0, level 3: 255
        {5, 0x20, 4},       // row 1, level 4: 255
        {60, 0x4, 5},       // past the table
        {60, 0x4, 255},
        {60, 0x4, 0x101},   // would be level 1 if cut to a byte
        {60, 0x4, 0xFFFFFFFFu},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << "/" << r.category << " level " << r.level);
        ScriptedDraw::next = 0;
        EXPECT_FALSE(DBEnum::Chance_Check(r.value, r.category, r.level));
    }
    EXPECT_EQ(ScriptedDraw::draws, 0);
}

TEST(DBEnum, ScaleByClass)
{
    struct Row { uint16_t value; uint16_t category; uint32_t level; uint16_t scaled; };
    const Row rows[] = {
        {7, 0x20, 0, 7},          // level 0: unchanged
        {7, 0x8, 0, 7},           // even where every entry has no value
        {7, 0x40, 1, 4},          // row 5, d 2: (7 + 1) / 2
        {6, 0x40, 1, 3},
        {100, 0x800, 2, 10},      // row 9, d 10
        {104, 0x800, 2, 10},
        {105, 0x800, 2, 11},      // rounds half up
        {65535, 0x4, 1, 65535},   // row 10, d 1
        {65535, 0x40, 1, 32768},  // the sum passes 16 bits
        {30, 0x10, 4, 3},         // row 10, d 10
        {7, 0x8, 1, 0},           // row 0: 255
        {7, 0x20, 4, 0},          // row 1, level 4: 255
        {7, 0x20, 5, 0},          // past the table
        {7, 0x20, 0x10001, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.value << "/" << r.category << " level " << r.level);
        EXPECT_EQ(DBEnum::Scale_By_Class(r.value, r.category, r.level), r.scaled);
    }
}

TEST(DBEnum, ClassEntriesOutsideTheTableHaveNoValue)
{
    EXPECT_EQ(DBEnum::ChanceEntry(11, 1), 100);
    EXPECT_EQ(DBEnum::DivisorEntry(3, 4), 20);
    EXPECT_EQ(DBEnum::ChanceEntry(0, 0), DBEnum::NO_VALUE);
    EXPECT_EQ(DBEnum::ChanceEntry(12, 1), DBEnum::NO_VALUE);
    EXPECT_EQ(DBEnum::DivisorEntry(0xFFFF, 1), DBEnum::NO_VALUE);
    EXPECT_EQ(DBEnum::DivisorEntry(1, 5), DBEnum::NO_VALUE);
}

TEST(DBEnum, UnscriptedDrawsStayInRange)
{
    // Without a draw installed the game's generator serves; with no Arena it
    // draws 0, so a depth charge of 60 at level 1 (100 percent) passes.
    const DBEnum::DrawFunction previous = DBEnum::SetChanceDraw(nullptr);
    for (int i = 0; i < 200; ++i)
        EXPECT_TRUE(DBEnum::Chance_Check(60, 0x4, 1));
    DBEnum::SetChanceDraw(previous);
}

TEST(DBEnum, UnscriptedDrawsComeFromTheArenaGenerator)
{
    // The damage draws belong to the game's one random sequence. They used to
    // come from a generator of their own, which left the Arena's seed
    // untouched and made the outcome differ from the game's draws.
    const DBEnum::DrawFunction previous = DBEnum::SetChanceDraw(nullptr);
    ArenaState state;
    ArenaState* const before = gam2arena::SetArenaState(&state);
    state.Generator().SetSeed(12345);
    RandomGen twin;
    twin.SetSeed(12345);
    // High explosive of size 30 (row 3) at level 3: a chance of 25 percent.
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE(i);
        const bool expected = twin.MPRandom(100) < 25;
        EXPECT_EQ(DBEnum::Chance_Check(30, 0x20, 3), expected);
    }
    EXPECT_EQ(state.Generator().QuerySeed(), twin.QuerySeed());
    // Level 0 and an entry without a value draw nothing.
    EXPECT_TRUE(DBEnum::Chance_Check(30, 0x20, 0));
    EXPECT_FALSE(DBEnum::Chance_Check(5, 0x20, 4));   // row 1, level 4
    EXPECT_EQ(state.Generator().QuerySeed(), twin.QuerySeed());
    gam2arena::SetArenaState(before);
    DBEnum::SetChanceDraw(previous);
}
