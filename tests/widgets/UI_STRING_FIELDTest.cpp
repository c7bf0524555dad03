// Tests of the string field's text keeping and the range-list parser the
// typed fields share.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "widgets/UI_STRING_FIELD.h"

namespace {

TEST(UI_STRING_FIELD, MaximumLengthCutsTheText)
{
    UI_STRING_FIELD sized(0, 0, 20, "abc", -1, 0, 0, nullptr);
    EXPECT_EQ(sized.maxLength, 4);
    EXPECT_STREQ(sized.GetText(), "abc");
    UI_STRING_FIELD empty(0, 0, 20, nullptr, -1, 0, 0, nullptr);
    EXPECT_EQ(empty.maxLength, 20);

    sized.SetText("abcdef");
    EXPECT_STREQ(sized.GetText(), "abc");
    EXPECT_EQ(sized.length, 3);
    int32_t larger = 10;
    sized.Query(UI_QUERY_SET_MAX_LENGTH, &larger, 0);
    EXPECT_STREQ(sized.GetText(), "abc");   // kept in the larger buffer
    sized.SetText("abcdefghijkl");
    EXPECT_STREQ(sized.GetText(), "abcdefghi");
    sized.SetText(sized.GetText() + 2);   // a text inside its own buffer
    EXPECT_STREQ(sized.GetText(), "cdefghi");
    EXPECT_EQ(sized.classChain[0], UI_ID_STRING_FIELD);
}

TEST(UI_STRING_FIELD, CallersBufferIsHeldInPlace)
{
    char caller[16] = "mine";
    {
        UI_STRING_FIELD field(0, 0, 20, caller, 16, 0, UI_FLAG_TEXT_NOT_COPIED, nullptr);
        EXPECT_EQ(field.GetText(), caller);
        char other[8] = "other";
        field.SetText(other);
        EXPECT_EQ(field.GetText(), other);
    }
    EXPECT_STREQ(caller, "mine");
}

TEST(UI_STRING_FIELD, LoweringTheMaximumCutsTheNextText)
{
    UI_STRING_FIELD field(0, 0, 20, "abcdefgh", 20, 0, 0, nullptr);
    char* buffer = field.GetText();
    int32_t smaller = 5;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &smaller, 0);
    EXPECT_EQ(field.GetText(), buffer);   // the buffer and its text stay
    EXPECT_STREQ(field.GetText(), "abcdefgh");
    field.SetText("12345678");
    EXPECT_STREQ(field.GetText(), "1234");
}

TEST(UI_STRING_FIELD, MaximumBelowOneKeepsAnEmptyText)
{
    // Each used to write a zero before its buffer (index maxLength - 1).
    struct Row { int32_t width; const char* text; int32_t maxLength; uint16_t flags; };
    const Row rows[] = {
        {0, nullptr, -1, 0},                          // width 0, no text: maximum 0, no buffer
        {0, nullptr, -1, UI_FLAG_TEXT_NOT_COPIED},
        {10, "abc", -7, 0},
        {10, "abc", 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.maxLength << " flags " << r.flags);
        UI_STRING_FIELD field(0, 0, r.width, r.text, r.maxLength, 0, r.flags, nullptr);
        ASSERT_NE(field.GetText(), nullptr);
        EXPECT_STREQ(field.GetText(), "");
        EXPECT_EQ(field.length, 0);
        field.SetText("typed");
        EXPECT_STREQ(field.GetText(), "");
        UI_MESSAGE key(UI_KEY_EVENT);
        key.code = 0x1E61;
        key.keyData.keyValue = 'a';
        field.Event(&key);
        EXPECT_STREQ(field.GetText(), "");
    }
    // Lowered below 1 later: the own buffer goes, the text is empty.
    UI_STRING_FIELD lowered(0, 0, 10, "abc", 10, 0, 0, nullptr);
    int32_t none = 0;
    lowered.Query(UI_QUERY_SET_MAX_LENGTH, &none, 0);
    EXPECT_STREQ(lowered.GetText(), "");
    int32_t again = 6;
    lowered.Query(UI_QUERY_SET_MAX_LENGTH, &again, 0);
    lowered.SetText("abcdefgh");
    EXPECT_STREQ(lowered.GetText(), "abcde");
}

TEST(UI_STRING_FIELD, CallersBufferNeverGrows)
{
    // The maximum used to grow past the caller's buffer, and typing then ran
    // past its end.
    char caller[4] = "ab";
    UI_STRING_FIELD field(0, 0, 20, caller, 4, 0, UI_FLAG_TEXT_NOT_COPIED, nullptr);
    int32_t larger = 50;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &larger, 0);
    EXPECT_EQ(field.maxLength, 4);
    EXPECT_EQ(field.GetText(), caller);
    field.cursor = 2;
    for (char c : std::string("xyz")) {
        UI_MESSAGE key(UI_KEY_EVENT);
        key.code = 0x1E00 | c;
        key.keyData.keyValue = c;
        field.Event(&key);
    }
    EXPECT_STREQ(caller, "abx");
    int32_t smaller = 3;
    field.Query(UI_QUERY_SET_MAX_LENGTH, &smaller, 0);
    EXPECT_EQ(field.maxLength, 3);
}

TEST(UI_STRING_FIELD, ParseRangeWalksTheItems)
{
    char low[UI_FIELD_MAX_LENGTH];
    char high[UI_FIELD_MAX_LENGTH];
    EXPECT_EQ(UI_STRING_FIELD::ParseRange("5", low, high), nullptr);
    EXPECT_STREQ(low, "5");
    EXPECT_STREQ(high, "5");

    const char* rest = UI_STRING_FIELD::ParseRange("1..10/20...30", low, high);
    EXPECT_STREQ(low, "1");
    EXPECT_STREQ(high, "10");
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(UI_STRING_FIELD::ParseRange(rest, low, high), nullptr);
    EXPECT_STREQ(low, "20");
    EXPECT_STREQ(high, "30");

    EXPECT_EQ(UI_STRING_FIELD::ParseRange("7..", low, high), nullptr);
    EXPECT_STREQ(low, "7");
    EXPECT_STREQ(high, "");
    UI_STRING_FIELD::ParseRange("..9", low, high);
    EXPECT_STREQ(low, "");
    EXPECT_STREQ(high, "9");

    // A bound longer than the buffers is cut, not written past them.
    const std::string longBound(200, '1');
    UI_STRING_FIELD::ParseRange((longBound + ".." + longBound).c_str(), low, high);
    EXPECT_EQ(std::strlen(low), static_cast<size_t>(UI_FIELD_MAX_LENGTH - 1));
    EXPECT_EQ(std::strlen(high), static_cast<size_t>(UI_FIELD_MAX_LENGTH - 1));
}

} // namespace
