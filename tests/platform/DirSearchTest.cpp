// Tests of the folder search by pattern and of the sorted listing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DirSearch.h"
#include "support/TempTree.h"

using namespace platform;

namespace {

class DirSearchTest : public InTempTree {
protected:
    void SetUp() override
    {
        InTempTree::SetUp();
        tree.File("Resource/b.res", "bb");
        tree.File("Resource/A.RES", "aaaa");
        tree.File("Resource/c.Res");
        tree.File("Resource/notes.txt");
        tree.File("Resource/readme");
        tree.Folder("Resource/Sub.RES");
        tree.File("AUTO.SAV");
        tree.Folder("Empty");
    }

    // Every name a search over pattern finds, in the order it finds them.
    static std::vector<std::string> Found(std::string_view pattern)
    {
        std::vector<std::string> names;
        DirSearch search;
        for (bool found = search.FindFirst(pattern); found; found = search.FindNext())
            names.push_back(search.Current().name);
        search.Close();
        return names;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(DirSearchTest, FindsMatchesInNameOrder)
{
    struct Row { const char* pattern; Names expected; };
    const Row rows[] = {
        {"resource\\*.res",  {"A.RES", "b.res", "c.Res", "Sub.RES"}},
        {"RESOURCE/*.RES",   {"A.RES", "b.res", "c.Res", "Sub.RES"}},
        {".\\Resource\\?.RES", {"A.RES", "b.res", "c.Res"}},
        {"Resource\\*.*",    {"A.RES", "b.res", "c.Res", "notes.txt", "readme", "Sub.RES"}},
        {"Resource\\*",      {"A.RES", "b.res", "c.Res", "notes.txt", "readme", "Sub.RES"}},
        {"resource\\B.RES",  {"b.res"}},                   // no wildcard: that name, any case
        {"*.sav",            {"AUTO.SAV"}},                // no folder: the working directory
        {"\\*.SAV",          {"AUTO.SAV"}},
        {"resource\\*.xyz",  {}},                          // no match
        {"Empty\\*.*",       {}},
        {"missing\\*.RES",   {}},                          // no such folder
        {"Resource\\",       {}},                          // no name pattern
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern);
        EXPECT_EQ(Found(r.pattern), r.expected);
    }
}

TEST_F(DirSearchTest, EntriesCarryAttributesAndSizes)
{
    DirSearch search;
    ASSERT_TRUE(search.FindFirst("RESOURCE\\*.RES"));
    EXPECT_EQ(search.Current().name, "A.RES");
    EXPECT_EQ(search.Current().attributes, ATTRIBUTE_NORMAL);
    EXPECT_EQ(search.Current().size, 4);
    EXPECT_GT(search.Current().modified, 0);
    ASSERT_TRUE(search.FindNext());
    EXPECT_EQ(search.Current().size, 2);
    ASSERT_TRUE(search.FindNext());
    ASSERT_TRUE(search.FindNext());
    EXPECT_EQ(search.Current().name, "Sub.RES");
    EXPECT_EQ(search.Current().attributes, ATTRIBUTE_DIRECTORY);   // exactly, as listers test
    EXPECT_EQ(search.Current().size, 0);
}

TEST_F(DirSearchTest, EndCloseAndRestart)
{
    DirSearch search;
    EXPECT_FALSE(search.FindFirst("*.none"));
    EXPECT_EQ(search.Current().name, "");     // nothing to hand out, and no crash
    EXPECT_FALSE(search.FindNext());

    ASSERT_TRUE(search.FindFirst("*.SAV"));
    EXPECT_FALSE(search.FindNext());
    EXPECT_FALSE(search.FindNext());          // stays at the end
    EXPECT_EQ(search.Current().name, "");

    ASSERT_TRUE(search.FindFirst("resource\\*.res"));
    ASSERT_TRUE(search.FindNext());
    ASSERT_TRUE(search.FindFirst("resource\\*.res"));   // a new search starts over
    EXPECT_EQ(search.Current().name, "A.RES");
    search.Close();
    EXPECT_FALSE(search.FindNext());
}

TEST_F(DirSearchTest, SnapshotIgnoresLaterChanges)
{
    DirSearch search;
    ASSERT_TRUE(search.FindFirst("resource\\*.res"));
    tree.File("Resource/0.res");
    Names rest;
    while (search.FindNext())
        rest.push_back(search.Current().name);
    EXPECT_EQ(rest, (Names{"b.res", "c.Res", "Sub.RES"}));
}

TEST_F(DirSearchTest, ListDirectorySortsNames)
{
    Names names;
    ASSERT_TRUE(ListDirectory("RESOURCE\\", names));
    EXPECT_EQ(names, (Names{"A.RES", "b.res", "c.Res", "notes.txt", "readme", "Sub.RES"}));
    ASSERT_TRUE(ListDirectory(tree.root, names));   // absolute, no separator at the end
    EXPECT_EQ(names, (Names{"AUTO.SAV", "Empty", "Resource"}));
    ASSERT_TRUE(ListDirectory("", names));          // the working directory
    EXPECT_EQ(names, (Names{"AUTO.SAV", "Empty", "Resource"}));
    ASSERT_TRUE(ListDirectory("empty", names));
    EXPECT_TRUE(names.empty());
    names = {"stale"};
    EXPECT_FALSE(ListDirectory("missing", names));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(ListDirectory("AUTO.SAV", names)); // a file is no folder
}

TEST(WildcardMatch, FollowsThePatternRules)
{
    struct Row { const char* name; const char* pattern; bool match; };
    const Row rows[] = {
        {"A.RES",     "*.res",    true},
        {"a.res",     "*.RES",    true},
        {"x.RESX",    "*.RES",    false},
        {".RES",      "*.RES",    true},     // '*' may be empty
        {"readme",    "*.*",      true},     // "*.*" matches names without a '.'
        {"readme",    "read*.*",  true},
        {"readme",    "*.txt",    false},
        {"x.",        "*.*",      true},
        {"a.b.c",     "*.c",      true},
        {"a.b.c",     "*.b",      false},
        {"abc",       "a?c",      true},
        {"ac",        "a?c",      false},    // '?' is exactly one character
        {"abc",       "*",        true},
        {"",          "*",        true},
        {"",          "?",        false},
        {"abc",       "",         false},
        {"AUTO.SAV",  "auto.sav", true},
        {"aaab",      "*a*b",     true},
        {"axxbxxc",   "a*b*c",    true},
        {"axxbxx",    "a*b*c",    false},
        {"AALog_1.txt", "AALog_?.TXT", true},
        {"_",         "A",        false},    // folding touches letters only
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.name << " ~ " << r.pattern);
        EXPECT_EQ(WildcardMatch(r.name, r.pattern), r.match);
    }
}
