// Tests of path conversion: separators, case-insensitive lookup at each name,
// creation paths, and the file queries built on them.
#include <gtest/gtest.h>

#include <filesystem>
#include <utime.h>

#include "platform/Path.h"
#include "support/TempTree.h"

using namespace platform;

namespace {

class PathTest : public InTempTree {
protected:
    void SetUp() override
    {
        InTempTree::SetUp();
        tree.File("Resource/Default.INI", "ini");
        tree.File("Annex/airfacil.dat", "annex");
        tree.File("AUTO.SAV", "save");
        tree.File("Dup.txt");
        tree.File("DUP.txt");
        tree.File("MIXED", "a file");            // sorts before the folder below
        tree.File("mixed/inner.txt", "inner");
    }
};

} // namespace

TEST_F(PathTest, ResolvesEachNameIgnoringCase)
{
    struct Row { const char* path; const char* expected; };
    const Row rows[] = {
        {".\\RESOURCE\\default.ini",  "./Resource/Default.INI"},
        {"resource/DEFAULT.ini",      "Resource/Default.INI"},
        {"Resource\\Default.INI",     "Resource/Default.INI"},   // exact: unchanged
        {"annex\\AIRFACIL.DAT",       "Annex/airfacil.dat"},
        {"ANNEX/airfacil.dat",        "Annex/airfacil.dat"},
        {"auto.sav",                  "AUTO.SAV"},
        {"resource\\\\default.ini",   "Resource/Default.INI"},  // doubled separator
        {"RESOURCE\\",                "Resource/"},              // folder keeps its separator
        {"\\resource\\default.ini",   "Resource/Default.INI"},  // root-relative = working dir
        {"\\ScreenShots\\",           "ScreenShots/"},
        {"Resource\\..\\auto.sav",    "Resource/../AUTO.SAV"},
        {"missing\\default.ini",      "missing/default.ini"},    // kept below a missing name
        {"resource\\Missing\\DEFAULT.INI", "Resource/Missing/DEFAULT.INI"},
        {"dup.TXT",                   "DUP.txt"},                // case twins: first in order
        {"Dup.txt",                   "Dup.txt"},                // the exact twin wins
        {"Mixed\\INNER.TXT",          "mixed/inner.txt"},        // a folder before a file
        {"Mixed",                     "MIXED"},                  // last name: first in order
        {"",                          ""},
        {"\\",                        "."},
        {".\\",                       "./"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(NativePath(r.path), r.expected);
    }
}

TEST_F(PathTest, AbsolutePathsStayAbsolute)
{
    EXPECT_EQ(NativePath(tree.root + "\\RESOURCE\\default.ini"), tree.root + "/Resource/Default.INI");
    EXPECT_EQ(NativePath(tree.root + "/annex/AIRFACIL.DAT"), tree.root + "/Annex/airfacil.dat");
    EXPECT_EQ(NativePath("/"), "/");
}

TEST_F(PathTest, CreationKeepsTheLastNameAsGiven)
{
    struct Row { const char* path; const char* expected; };
    const Row rows[] = {
        {"resource\\NEW.ini",        "Resource/NEW.ini"},
        {"AUTO.SAV",                 "AUTO.SAV"},
        {"auto.sav",                 "auto.sav"},      // a case twin is not overwritten
        {"ANNEX\\Sub\\x.dat",        "Annex/Sub/x.dat"},
        {"AALogs\\AALog_x1.txt",     "AALogs/AALog_x1.txt"},
        {"\\ScreenShots\\shot1.pcx", "ScreenShots/shot1.pcx"},
        {"new.txt",                  "new.txt"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(NativePathForCreate(r.path), r.expected);
    }
}

TEST_F(PathTest, ExistenceAndFolders)
{
    struct Row { const char* path; bool file, folder; };
    const Row rows[] = {
        {"resource\\default.ini", true,  false},
        {"RESOURCE",              false, true},
        {"resource\\",            false, true},
        {".\\",                   false, true},
        {"AUTO.sav",              true,  false},
        {"nothing.dat",           false, false},
        {"nothing\\",             false, false},
        {"",                      false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(FileExists(r.path), r.file);
        EXPECT_EQ(IsDirectory(r.path), r.folder);
    }
}

TEST_F(PathTest, ModifiedTimeReadsTheStamp)
{
    const utimbuf stamp{1000000000, 1000000000};
    ASSERT_EQ(utime("AUTO.SAV", &stamp), 0);
    EXPECT_EQ(ModifiedTime("auto.sav"), std::optional<int64_t>(1000000000));
    EXPECT_EQ(ModifiedTime("no.sav"), std::nullopt);
    EXPECT_EQ(ModifiedTime(""), std::nullopt);
}

TEST_F(PathTest, MakeDirectoryCreatesOnceAndAcceptsExisting)
{
    EXPECT_TRUE(MakeDirectory("AALogs"));
    EXPECT_TRUE(std::filesystem::is_directory("AALogs"));
    EXPECT_TRUE(MakeDirectory("AALogs"));               // existing: success
    EXPECT_TRUE(MakeDirectory("aalogs\\"));             // existing in another case
    EXPECT_FALSE(std::filesystem::exists("aalogs"));    // and no twin was made
    EXPECT_TRUE(MakeDirectory("\\ScreenShots\\"));      // root-relative: here
    EXPECT_TRUE(std::filesystem::is_directory("ScreenShots"));
    EXPECT_TRUE(MakeDirectory("resource\\Logs"));       // parent found in another case
    EXPECT_TRUE(std::filesystem::is_directory("Resource/Logs"));

    EXPECT_FALSE(MakeDirectory("AUTO.SAV"));            // a file is in the way
    EXPECT_FALSE(MakeDirectory("missing\\child"));      // parent does not exist
    EXPECT_FALSE(MakeDirectory(""));
}

TEST_F(PathTest, WorkingDirectoryFollowsChanges)
{
    const std::string start = CurrentDirectory();
    EXPECT_EQ(start, std::filesystem::canonical(tree.root).string());
    ASSERT_TRUE(ChangeDirectory("RESOURCE\\"));
    EXPECT_EQ(CurrentDirectory(), start + "/Resource");
    EXPECT_TRUE(FileExists("DEFAULT.INI"));             // lookups follow the change
    EXPECT_FALSE(ChangeDirectory("nowhere"));
    EXPECT_EQ(CurrentDirectory(), start + "/Resource");
    EXPECT_TRUE(ChangeDirectory(".."));
    EXPECT_EQ(CurrentDirectory(), start);
}

TEST(NameOrder, FoldsCaseThenBytes)
{
    struct Row { const char* a; const char* b; bool less; };
    const Row rows[] = {
        {"a.res",  "B.RES",  true},    // folded, 'a' before 'b'
        {"B.RES",  "a.res",  false},
        {"ABC",    "abc",    true},    // equal folded: upper case first
        {"abc",    "ABC",    false},
        {"abc",    "abc",    false},
        {"ab",     "abc",    true},    // a prefix first
        {"Z",      "_",      false},   // folded 'z' (0x7A) after '_' (0x5F)
        {"x\x80",  "x\x7f",  false},   // bytes above 0x7F count as unsigned
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << " < " << r.b);
        EXPECT_EQ(NameLess(r.a, r.b), r.less);
    }
    EXPECT_TRUE(EqualIgnoringCase("AirFacil.DAT", "airfacil.dat"));
    EXPECT_FALSE(EqualIgnoringCase("airfacil.dat", "airfacil.da"));
    EXPECT_FALSE(EqualIgnoringCase("a_", "A-"));
}
