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
