// Tests of the framework's text utilities: folding in place, comparison
// without case (letters folded to upper case, differences as signed
// characters), the bounded comparison, replacement and the null-safe helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/TextUtil.h"

namespace {

int Sign(int32_t v) { return (v > 0) - (v < 0); }

TEST(CompareNoCase, FoldsLettersToUpperCase)
{
    struct Row { const char* a; const char* b; int32_t expected; };
    const Row rows[] = {
        {"Tessarn3", "TESSARN3", 0},
        {"all", "ALL", 0},
        {"", "", 0},
        {"abc", "ABD", 'C' - 'D'},          // negative
        {"_", "a", '_' - 'A'},              // positive: 'a' is compared as 'A'
        {"[", "a", '[' - 'A'},              // between the cases: positive too
        {"abc", "ab", 'C'},                 // the longer text is greater
        {"ab", "abc", -'C'},
        {"\xE9", "e", -23 - 'E'},           // a high byte is a negative signed character
        {nullptr, "", 0},                   // null reads as the empty text
        {"a", nullptr, 'A'},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.a ? r.a : "(null)") << " vs " << (r.b ? r.b : "(null)"));
        EXPECT_EQ(CompareNoCase(r.a, r.b), r.expected);
    }
}

TEST(CompareNoCaseN, StopsAfterNCharacters)
{
    struct Row { const char* a; const char* b; int32_t n; int sign; };
    const Row rows[] = {
        {"ResDir1", "RESDIR2", 6, 0},
        {"ResDir1", "RESDIR2", 7, -1},
        {"abc", "abd", 0, 0},
        {"abc", "abd", -5, 0},
        {"ab", "ABC", 5, -1},               // the end of a text still counts
        {"same", "SAME", 100, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " vs " << r.b << " n " << r.n);
        EXPECT_EQ(Sign(CompareNoCaseN(r.a, r.b, r.n)), r.sign);
    }
}

TEST(TextUtil, FoldsAndReplacesInPlace)
{
    char text[] = "Map_Dir 3\xE9z";
    StringToUpper(text);
    EXPECT_STREQ(text, "MAP_DIR 3\xE9Z");
    StringToLower(text);
    EXPECT_STREQ(text, "map_dir 3\xE9z");
    ReplaceChar(text, '_', '-');
    EXPECT_STREQ(text, "map-dir 3\xE9z");

    // Null texts are left alone.
    StringToUpper(nullptr);
    StringToLower(nullptr);
    ReplaceChar(nullptr, 'a', 'b');
}

TEST(TextUtil, LengthAndDuplicateAcceptNull)
{
    EXPECT_EQ(StringLength(nullptr), 0);
    EXPECT_EQ(StringLength(""), 0);
    EXPECT_EQ(StringLength("temp.map"), 8);

    EXPECT_EQ(StringDuplicate(nullptr), nullptr);
    const char original[] = "default.pal";
    char* copy = StringDuplicate(original);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, original);
    EXPECT_STREQ(copy, original);
    delete[] copy;
}

} // namespace
