// Tests of the event and colour lookups: logical types passing unscanned,
// unmatched events keeping their type, the nearest class winning, the state
// rules of the colour search, and the shape of the default tables.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "widgets/EventColourTables.h"

namespace {

constexpr uint16_t BASE = 18;
constexpr uint16_t STRING_FIELD = 13;
constexpr uint16_t WINDOW = 1007;

UI_MESSAGE Event(int32_t type, int32_t code, int32_t qualifier = 0)
{
    UI_MESSAGE e(type);
    e.code = code;
    e.qualifier = qualifier;
    return e;
}

const UI_EVENT_RECORD smallTable[] = {
    {BASE, 1002, 10, 0x1C0D, 0},
    {BASE, 1117, 10, 0x4700, 0},
    {WINDOW, 1056, 10, 0x4700, 0},
    {STRING_FIELD, 1116, 10, 0x4700, 0},
    {STRING_FIELD, 1200, 10, 0x4700, 0},   // a later record of the same class loses
    {BASE, 1300, 10, 0x1C0D, 5},           // only with qualifier 5
    {UI_TABLE_END, 0, 0, 0, 0},
};

TEST(LookUpEvent, FindsTheNearestClassRecord)
{
    struct Row {
        const char* name;
        UI_MESSAGE event;
        uint16_t ids[5];
        int32_t expected;
    };
    const Row rows[] = {
        {"unknown key keeps its type", Event(10, 0x1E61), {STRING_FIELD, BASE, BASE, BASE, BASE}, 10},
        {"unknown mouse event keeps its type", Event(30, 0x7777), {BASE, BASE, BASE, BASE, BASE}, 30},
        {"logical type passes unscanned", Event(1002, 0x1C0D), {BASE, BASE, BASE, BASE, BASE}, 1002},
        {"logical type 100", Event(100, 0x1C0D), {BASE, BASE, BASE, BASE, BASE}, 100},
        {"type 99 is scanned", Event(99, 0), {BASE, BASE, BASE, BASE, BASE}, 99},
        {"own class wins at once", Event(10, 0x4700), {STRING_FIELD, BASE, BASE, BASE, BASE}, 1116},
        {"string field before base", Event(10, 0x4700), {5, STRING_FIELD, BASE, BASE, BASE}, 1116},
        {"base before string field", Event(10, 0x4700), {5, BASE, STRING_FIELD, BASE, BASE}, 1117},
        {"window nearer than base", Event(10, 0x4700), {5, 6, WINDOW, BASE, BASE}, 1056},
        {"only the fifth id matches", Event(10, 0x1C0D), {5, 6, 7, 8, BASE}, 1002},
        {"no id matches", Event(10, 0x4700), {5, 6, 7, 8, 9}, 10},
        {"only the low 16 bits of code", Event(10, 0x30000 | 0x1C0D), {BASE, BASE, BASE, BASE, BASE}, 1002},
        {"qualifier must match", Event(10, 0x1C0D, 5), {BASE, BASE, BASE, BASE, BASE}, 1300},
        {"qualifier without record", Event(10, 0x1C0D, 6), {BASE, BASE, BASE, BASE, BASE}, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(LookUpEvent(smallTable, &r.event, r.ids[0], r.ids[1], r.ids[2], r.ids[3], r.ids[4]), r.expected);
    }
}

TEST(LookUpEvent, DefaultTableMapsTheCommonKeys)
{
    const UI_MESSAGE enter = Event(10, 0x1C0D);
    EXPECT_EQ(LookUpEvent(UI_DEFAULT_EVENT_TABLE, &enter, 17, 2, BASE, BASE, BASE), 1002);
    const UI_MESSAGE home = Event(10, 0x47E0);
    EXPECT_EQ(LookUpEvent(UI_DEFAULT_EVENT_TABLE, &home, STRING_FIELD, BASE, BASE, BASE, BASE), 1117);
    EXPECT_EQ(LookUpEvent(UI_DEFAULT_EVENT_TABLE, &home, WINDOW, BASE, BASE, BASE, BASE), 1056);
    const UI_MESSAGE press = Event(30, 0x1100);
    EXPECT_EQ(LookUpEvent(UI_DEFAULT_EVENT_TABLE, &press, STRING_FIELD, BASE, BASE, BASE, BASE), 1101);
    EXPECT_EQ(LookUpEvent(UI_DEFAULT_EVENT_TABLE, &press, 2002, WINDOW, BASE, BASE, BASE), 1003);
}

TEST(EventColourTables, DefaultTablesHaveTheirRecordsAndEnd)
{
    int32_t events = 0;
    std::set<std::tuple<uint16_t, int32_t, int32_t>> keys;
    for (const UI_EVENT_RECORD* r = UI_DEFAULT_EVENT_TABLE; r->classId != UI_TABLE_END; ++r, ++events) {
        EXPECT_EQ(r->qualifier, 0);
        EXPECT_TRUE(r->type == 10 || r->type == 30);
        EXPECT_TRUE(keys.insert({r->classId, r->type, r->rawCode}).second)
            << "class " << r->classId << " raw 0x" << std::hex << r->rawCode << " twice";
    }
    EXPECT_EQ(events, UI_DEFAULT_EVENT_RECORDS);
    int32_t colours = 0;
    for (const UI_COLOUR_RECORD* r = UI_DEFAULT_COLOUR_TABLE; r->classId != UI_TABLE_END; ++r, ++colours)
        EXPECT_EQ(r->colours.fillPattern, 1);
    EXPECT_EQ(colours, UI_DEFAULT_COLOUR_RECORDS);
    EXPECT_EQ(UI_DEFAULT_COLOUR_TABLE[0].classId, BASE);
    EXPECT_EQ(UI_DEFAULT_COLOUR_TABLE[16].colours.carried[0], 176);   // the scroll bar's
}

UI_COLOUR_RECORD Colour(uint16_t classId, uint32_t state, int32_t tag)
{
    return {classId, state, {{tag, 0, 0}, 1, tag, tag, 0, 0, 0, 0}};
}

TEST(LookUpColours, StateAndNearnessDecide)
{
    const UI_COLOUR_RECORD table[] = {
        Colour(BASE, 0x04, 1),   Colour(BASE, 0x00, 2),   Colour(2, 0x24, 3), Colour(2, 0x04, 4),
        Colour(2, 0x00, 5),      Colour(11, 0x10, 6),     Colour(7, 0x01, 7), Colour(30, 0x00, 8),
        Colour(UI_TABLE_END, 0, 0),
    };
    struct Row {
        const char* name;
        uint32_t state;
        uint16_t ids[5];
        int32_t expected;
    };
    const Row rows[] = {
        {"own class, exact state", 0x04, {2, BASE, BASE, BASE, BASE}, 4},
        {"own class, first fitting record in order", 0x24, {2, BASE, BASE, BASE, BASE}, 3},
        {"own class, catch-all", 0x08, {2, BASE, BASE, BASE, BASE}, 5},
        {"state record of a nearer id beats the base", 0x04, {9, 2, BASE, BASE, BASE}, 4},
        {"nearer catch-all beats a farther state record", 0x04, {9, 30, BASE, BASE, BASE}, 8},
        {"state beats catch-all of the same id", 0x04, {9, BASE, BASE, BASE, BASE}, 1},
        {"catch-all of the nearer id beats the farther state", 0x08, {9, 2, BASE, BASE, BASE}, 5},
        {"no record at all: the first record", 0x00, {40, 41, 42, 43, 44}, 1},
        {"state missing a bit does not fit", 0x00, {11, 40, 41, 42, 43}, 1},
        {"fitting state of own id", 0x18, {11, BASE, BASE, BASE, BASE}, 6},
        {"own id without fitting state goes to the base", 0x00, {7, BASE, BASE, BASE, BASE}, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const UI_COLOUR_ENTRY* entry = LookUpColours(table, r.state, r.ids[0], r.ids[1], r.ids[2], r.ids[3], r.ids[4]);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->carried[0], r.expected);
    }
}

TEST(LookUpColours, DefaultTableGivesTheTitleBarItsActiveColours)
{
    const UI_COLOUR_ENTRY* active = LookUpColours(UI_DEFAULT_COLOUR_TABLE, 0x01, 17, 2, BASE, BASE, BASE);
    EXPECT_EQ(active->carried[1], 31);
    const UI_COLOUR_ENTRY* inactive = LookUpColours(UI_DEFAULT_COLOUR_TABLE, 0x00, 17, 2, BASE, BASE, BASE);
    EXPECT_EQ(inactive->carried[1], 143);
    const UI_COLOUR_ENTRY* edge = LookUpColours(UI_DEFAULT_COLOUR_TABLE, 0, 2101, BASE, BASE, BASE, BASE);
    EXPECT_EQ(edge->foreground256, 15);
}

} // namespace
