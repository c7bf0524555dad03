// Tests of the key translation: library values as Allegro reports them under
// X11 (Alt clears the character, Ctrl with a letter gives the control
// character) with the framework codes, shift bits and raw values they become;
// a row for every key code of the framework's event and hot-key tables; and a
// sweep over every library value and modifier state that finds no other key
// giving one of those codes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <allegro.h>

#include "widgets/KeyTranslation.h"

namespace {

constexpr int32_t SHIFT = KB_SHIFT_FLAG;
constexpr int32_t CTRL = KB_CTRL_FLAG;
constexpr int32_t ALT = KB_ALT_FLAG;
constexpr int32_t NUM = KB_NUMLOCK_FLAG;
constexpr int32_t CAPS = KB_CAPSLOCK_FLAG;

int32_t Value(int32_t key, int32_t character = 0)
{
    return key * 256 + character;
}

TEST(TranslateLibraryKey, KeysAsTheLibraryReportsThem)
{
    struct Row { const char* name; int32_t value; int32_t flags; int32_t code; int32_t shifts; };
    const Row rows[] = {
        {"a", Value(KEY_A, 'a'), 0, 0x61, 0},
        {"Shift a", Value(KEY_A, 'A'), SHIFT, 0x41, 3},
        {"k: the bracket code, not 0x6B", Value(KEY_K, 'k'), 0, 0x1A5B, 0},
        {"Enter", Value(KEY_ENTER, 0x0D), 0, 0x1C0D, 0},
        {"Shift Enter", Value(KEY_ENTER, 0x0D), SHIFT, 0x1C0D, 3},
        {"F1", Value(KEY_F1), 0, 0x3B00, 0},
        {"Ctrl F1 with caps lock", Value(KEY_F1), CTRL | CAPS, 0x5E00, 4},
        {"Ctrl F1 with num lock", Value(KEY_F1), CTRL | NUM, 0x5E00, 4},
        {"Ctrl Alt F1: the plain code", Value(KEY_F1), CTRL | ALT, 0x3B00, 12},
        {"Alt F1: screenshot", Value(KEY_F1), ALT, 0x6800, 8},
        {"Alt with a printable character gives it", Value(KEY_QUOTE, '\''), ALT, '\'', 8},
        {"Alt without character keeps the value", Value(KEY_QUOTE), ALT, 0x4500, 8},
        {"Ctrl a keeps the value", Value(KEY_A, 1), CTRL, 0x0101, 4},
        {"Ctrl 7 keeps the value", Value(KEY_7, 0x1F), CTRL, 0x221F, 4},
        {"Print keeps the value", Value(KEY_PRTSCR), 0, 0x5C00, 0},
        {"Win a: a plain character", Value(KEY_A, 'a'), KB_LWIN_FLAG, 0x61, 0},
        // Keys and combinations that used to give no code or another key's.
        {"Ctrl C", Value(KEY_C, 3), CTRL, 0x2E03, 4},            // was 0x0303
        {"Ctrl Shift C", Value(KEY_C, 3), CTRL | SHIFT, 0x0303, 7},
        {"Shift Tab", Value(KEY_TAB), SHIFT, 0x0F00, 3},         // was 0x0F09, next field
        {"Ctrl Shift Tab", Value(KEY_TAB), CTRL | SHIFT, 0x0F09, 7},
        {"Alt F2", Value(KEY_F2), ALT, 0x6900, 8},               // was 0x3000, hot key b
        {"Alt F3", Value(KEY_F3), ALT, 0x6A00, 8},               // was 0x3100, hot key n
        {"Alt F4", Value(KEY_F4), ALT, 0x6B00, 8},               // was 0x3200, hot key m
        {"Alt F6", Value(KEY_F6), ALT, 0x6D00, 8},               // was 0x3400, system button
        {"Alt F11 keeps the value", Value(KEY_F11), ALT, 0x3900, 8},
        {"Alt F", Value(KEY_F), ALT, 0x2100, 8},                 // was 0x0600
        {"Del", Value(KEY_DEL, 0x7F), 0, 0x53E0, 0},             // was 0x4D7F
        {"Ins", Value(KEY_INSERT), 0, 0x52E0, 0},                // was 0x4C00
        {"Ctrl Tab", Value(KEY_TAB, 9), CTRL, 0x9400, 4},
        {"Ctrl Left", Value(KEY_LEFT), CTRL, 0x73E0, 4},
        {"Ctrl Ins", Value(KEY_INSERT), CTRL, 0x92E0, 4},
        {"Ctrl F5", Value(KEY_F5), CTRL, 0x6200, 4},
        {"Ctrl F2", Value(KEY_F2), CTRL, 0x5F00, 4},             // was 0x3000, hot key b
        {"Ctrl Home", Value(KEY_HOME), CTRL, 0x77E0, 4},         // was 0x4E00, maximize
        {"Ctrl 7 pad", Value(KEY_7_PAD), CTRL, 0x7700, 4},
        {"Ctrl PgUp", Value(KEY_PGUP), CTRL, 0x84E0, 4},         // was 0x5000, down
        {"Ctrl Space", Value(KEY_SPACE), CTRL, 0x3920, 4},       // was 0x4B00, left
        {"Alt Space", Value(KEY_SPACE), ALT, 0x3920, 8},         // was 0x4B00, left
        {"Alt comma", Value(KEY_COMMA), ALT, 0x3300, 8},         // was 0x4800, up
        {"Alt Del", Value(KEY_DEL), ALT, 0xA300, 8},             // was 0x4D00, right
        {"Ctrl Pause: Ctrl-Break", Value(KEY_PAUSE), CTRL, 0x0000, 4},
        {"pad 8, num lock off", Value(KEY_8_PAD), 0, 0x4800, 0},
        {"pad 8, num lock on", Value(KEY_8_PAD, '8'), NUM, '8', 0},
        {"Shift pad 8, num lock on", Value(KEY_8_PAD), SHIFT | NUM, 0x4800, 3},
        {"pad 1, num lock off", Value(KEY_1_PAD), 0, 0x4F00, 0}, // was 0x2600, hot key l
        {"Ctrl pad 8, num lock on", Value(KEY_8_PAD, 0x7F), CTRL | NUM, 0x8D00, 4},
        // Values that would act as a framework key without being it.
        {"Alt Shift p", Value(KEY_P), ALT | SHIFT, 0xFF10, 11},  // 0x1000 is hot key q
        {"Alt pad 7", Value(KEY_7_PAD), ALT, 0xFF2C, 8},         // 0x2C00 is hot key z
        {"unknown key", Value(KEY_UNKNOWN1), 0, 0xFF6B, 0},      // 0x6B00 is Alt-F4
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const TranslatedKey key = TranslateLibraryKey(r.value, r.flags);
        EXPECT_EQ(key.code, r.code);
        EXPECT_EQ(key.shifts, r.shifts);
        EXPECT_EQ(key.value, r.value);
    }
}

TEST(TranslateLibraryKey, ValueIsSignExtendedFrom16Bits)
{
    struct Row { int32_t value; int32_t code; int32_t raw; };
    const Row rows[] = {
        {0xFFFF, -1, -1},
        {0x1FFFF, -1, -1},          // bits above 16 are not the library's
        {0x8041, 0x41, -32703},     // a printable character still types
        {0x7FFF, 0x7FFF, 0x7FFF},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        const TranslatedKey key = TranslateLibraryKey(r.value, 0);
        EXPECT_EQ(key.code, r.code);
        EXPECT_EQ(key.value, r.raw);
    }
}

// Modifier states as the translation tells them apart (lock flags aside).
enum StateBit : uint8_t { NONE = 1, SHIFTED = 2, CTRLED = 4, ALTED = 8, MIXED = 16 };
constexpr uint8_t PLAIN = NONE | SHIFTED | MIXED;
constexpr uint8_t ANY = PLAIN | CTRLED | ALTED;

uint8_t StateOf(int32_t flags)
{
    switch (flags & ~(KB_SCROLOCK_FLAG | KB_NUMLOCK_FLAG | KB_CAPSLOCK_FLAG)) {
    case 0: return NONE;
    case KB_SHIFT_FLAG: return SHIFTED;
    case KB_CTRL_FLAG: return CTRLED;
    case KB_ALT_FLAG: return ALTED;
    default: return MIXED;
    }
}

// The keys that give each code the framework acts on: the PC's keys for the
// codes of the default event and hot-key tables, Ctrl-C and Ctrl-Break, and
// Alt-F1. `charless`: only when the key brings no character (keypad arrows).
struct Owner { int32_t code; int32_t key; uint8_t states; bool charless; };

std::vector<Owner> Owners()
{
    std::vector<Owner> owners = {
        // event table, class 18
        {0x1C0D, KEY_ENTER, PLAIN, false},    {0x011B, KEY_ESC, PLAIN, false},
        {0x4800, KEY_UP, PLAIN, false},       {0x4800, KEY_8_PAD, PLAIN, true},
        {0x5000, KEY_DOWN, PLAIN, false},     {0x5000, KEY_2_PAD, PLAIN, true},
        {0x4B00, KEY_LEFT, PLAIN, false},     {0x4B00, KEY_4_PAD, PLAIN, true},
        {0x4D00, KEY_RIGHT, PLAIN, false},    {0x4D00, KEY_6_PAD, PLAIN, true},
        {0x0F00, KEY_TAB, SHIFTED, false},    {0x5900, KEY_F6, SHIFTED, false},
        {0x0F09, KEY_TAB, NONE | MIXED, false},
        // class 13 (string field), 1007 (window), 15 (text editor)
        {0x6200, KEY_F5, CTRLED, false},      {0x6300, KEY_F6, CTRLED, false},
        {0x92E0, KEY_INSERT, CTRLED, false},  {0x9200, KEY_0_PAD, CTRLED, false},
        {0x6500, KEY_F8, CTRLED, false},      {0x0E08, KEY_BACKSPACE, PLAIN, false},
        {0x53E0, KEY_DEL, PLAIN, false},      {0x9300, KEY_DEL_PAD, CTRLED, false},
        {0x93E0, KEY_DEL, CTRLED, false},     {0x7300, KEY_4_PAD, CTRLED, false},
        {0x73E0, KEY_LEFT, CTRLED, false},    {0x9B00, KEY_LEFT, ALTED, false},
        {0x7400, KEY_6_PAD, CTRLED, false},   {0x74E0, KEY_RIGHT, CTRLED, false},
        {0x9D00, KEY_RIGHT, ALTED, false},    {0x47E0, KEY_HOME, PLAIN, false},
        {0x7700, KEY_7_PAD, CTRLED, false},   {0x77E0, KEY_HOME, CTRLED, false},
        {0x4FE0, KEY_END, PLAIN, false},      {0x7500, KEY_1_PAD, CTRLED, false},
        {0x75E0, KEY_END, CTRLED, false},     {0x52E0, KEY_INSERT, PLAIN, false},
        {0x49E0, KEY_PGUP, PLAIN, false},     {0x51E0, KEY_PGDN, PLAIN, false},
        {0x6E00, KEY_F7, ALTED, false},       {0x6F00, KEY_F8, ALTED, false},
        {0x6C00, KEY_F5, ALTED, false},       {0x6100, KEY_F4, CTRLED, false},
        // class 2002 (desktop)
        {0x0000, KEY_PAUSE, CTRLED, false},   {0x2E03, KEY_C, CTRLED, false},
        {0x6B00, KEY_F4, ALTED, false},       {0x6D00, KEY_F6, ALTED, false},
        {0x9400, KEY_TAB, CTRLED, false},
        // hot-key table: system button, minimize, maximize
        {0x3400, KEY_STOP, ALTED, false},     {0x3920, KEY_SPACE, ANY, false},
        {0x8200, KEY_MINUS, ALTED, false},    {0x4A00, KEY_MINUS_PAD, ALTED, false},
        {0x7000, KEY_F9, ALTED, false},       {0x8300, KEY_EQUALS, ALTED, false},
        {0x4E00, KEY_PLUS_PAD, ALTED, false}, {0x7100, KEY_F10, ALTED, false},
        // the main loop's screenshot key
        {0x6800, KEY_F1, ALTED, false},
    };
    // Hot-key letters by keyboard row, and the digits.
    const struct { const char* keys; int32_t firstCode; } rows[] = {
        {"qwertyuiop", 0x1000}, {"asdfghjkl", 0x1E00}, {"zxcvbnm", 0x2C00}, {"1234567890", 0x7800},
    };
    for (const auto& row : rows) {
        int32_t code = row.firstCode;
        for (const char* k = row.keys; *k != '\0'; ++k, code += 0x100) {
            const int32_t key = (*k >= 'a') ? KEY_A + (*k - 'a') : KEY_0 + (*k - '0');
            owners.push_back({code, key, ALTED, false});
        }
    }
    return owners;
}

// The key codes of the default event table, the hot-key table, the quit codes
// and Alt-F1.
const std::set<int32_t>& FrameworkCodes()
{
    static const std::set<int32_t> codes = [] {
        std::set<int32_t> s = {
            0x1C0D, 0x011B, 0x48E0, 0x4800, 0x50E0, 0x5000, 0x4BE0, 0x4B00, 0x4DE0, 0x4D00,
            0x0F00, 0x5900, 0x0F09, 0x6200, 0x6300, 0x92E0, 0x9200, 0x6500, 0x0E08, 0x53E0,
            0x9300, 0x93E0, 0x7300, 0x73E0, 0x9B00, 0x7400, 0x74E0, 0x9D00, 0x47E0, 0x7700,
            0x77E0, 0x4FE0, 0x7500, 0x75E0, 0x52E0, 0x49E0, 0x51E0, 0x6E00, 0x6F00, 0x6C00,
            0x6100, 0x0000, 0x2E03, 0x6B00, 0x6D00, 0x9400,
            0x3400, 0x3920, 0x8200, 0x4A00, 0x7000, 0x8300, 0x4E00, 0x7100, 0x6800,
        };
        for (int32_t c = 0x1000; c <= 0x1900; c += 0x100) s.insert(c);
        for (int32_t c = 0x1E00; c <= 0x2600; c += 0x100) s.insert(c);
        for (int32_t c = 0x2C00; c <= 0x3200; c += 0x100) s.insert(c);
        for (int32_t c = 0x7800; c <= 0x8100; c += 0x100) s.insert(c);
        return s;
    }();
    return codes;
}

// A library shift word for each state bit, and a second for MIXED.
std::vector<int32_t> FlagsFor(uint8_t states)
{
    std::vector<int32_t> flags;
    if (states & NONE) flags.push_back(0);
    if (states & SHIFTED) flags.push_back(SHIFT);
    if (states & CTRLED) flags.push_back(CTRL);
    if (states & ALTED) flags.push_back(ALT);
    if (states & MIXED) {
        flags.push_back(CTRL | ALT);
        flags.push_back(ALT | SHIFT | CAPS);
    }
    return flags;
}

TEST(TranslateLibraryKey, EveryFrameworkCodeComesFromItsKeys)
{
    for (const Owner& o : Owners()) {
        for (int32_t flags : FlagsFor(o.states)) {
            SCOPED_TRACE(testing::Message() << std::hex << "code 0x" << o.code << " key " << std::dec
                                            << o.key << " flags 0x" << std::hex << flags);
            EXPECT_EQ(TranslateLibraryKey(Value(o.key), flags).code, o.code);
        }
    }

    // Every framework code has a key, but for the grey arrows' second codes:
    // the arrow keys give the first code of the same rows.
    std::set<int32_t> unreached = FrameworkCodes();
    for (const Owner& o : Owners())
        unreached.erase(o.code);
    EXPECT_EQ(unreached, (std::set<int32_t>{0x48E0, 0x4BE0, 0x4DE0, 0x50E0}));
}

TEST(TranslateLibraryKey, FrameworkKeyCodeKnowsTheTables)
{
    for (int32_t code = -0x10000; code <= 0x1FFFF; ++code) {
        if (FrameworkKeyCode(code) != (FrameworkCodes().count(code) == 1))
            ADD_FAILURE() << std::hex << "code 0x" << code;
    }
}

TEST(TranslateLibraryKey, NoOtherKeyGivesAFrameworkCode)
{
    const std::vector<Owner> owners = Owners();
    const int32_t modifiers[] = {0, SHIFT, CTRL, ALT, CTRL | SHIFT, ALT | SHIFT, CTRL | ALT,
                                 CTRL | ALT | SHIFT, KB_LWIN_FLAG, CTRL | KB_LWIN_FLAG, KB_INALTSEQ_FLAG};
    int failures = 0;
    for (int32_t locks : {0, NUM | CAPS | KB_SCROLOCK_FLAG}) {
        for (int32_t modifier : modifiers) {
            const int32_t flags = modifier | locks;
            for (int32_t value = 0; value <= 0xFFFF; ++value) {
                const int32_t code = TranslateLibraryKey(value, flags).code;
                if (FrameworkCodes().count(code) == 0)
                    continue;
                const int32_t key = static_cast<int16_t>(value) >> 8;
                const bool charless = (value & 0xFF) == 0;
                bool owned = false;
                for (const Owner& o : owners) {
                    if (o.code == code && o.key == key && (o.states & StateOf(flags)) != 0 &&
                        (!o.charless || charless))
                        owned = true;
                }
                if (!owned && ++failures <= 10)
                    ADD_FAILURE() << std::hex << "value 0x" << value << " flags 0x" << flags
                                  << " gives 0x" << code;
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

} // namespace
