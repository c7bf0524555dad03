// Tests of ResourceLoader: indexing the folders the INI file names (with every
// console text and exit code of a failed indexing), blocks served from the
// cache with use counts, purging, the index bound, and damaged resource files,
// which give missing blocks and are never read past their end. Files are
// written with ResourceWriter or byte by byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/ResourceWriter.h"
#include "platform/Path.h"
#include "support/Bytes.h"
#include "support/ExitCapture.h"

namespace {

constexpr int BUILT = -1;   // ExitCapture::Run: returned without ending

int32_t Number(uint16_t fileID, uint16_t index)
{
    return static_cast<int32_t>((uint32_t{fileID} << 16) | index);
}

std::string U32(uint32_t v)
{
    return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
}

// A resource file written by hand: file ID, D, table entries, data bytes.
std::string RawFile(uint16_t fileID, uint32_t dataOffset, std::initializer_list<uint32_t> table,
                    const std::string& data)
{
    std::string s = Bytes({fileID & 0xFF, fileID >> 8}) + U32(dataOffset);
    for (uint32_t entry : table)
        s += U32(entry);
    return s + data;
}

// A resource file of texts at the given indices.
std::string TextFile(uint16_t fileID, std::initializer_list<std::pair<uint16_t, const char*>> texts)
{
    ResourceWriter writer(fileID);
    for (const auto& [index, text] : texts)
        writer.AddText(index, text);
    std::ostringstream out;
    writer.Write(out);
    return out.str();
}

// Each test runs in a scratch folder of its own, which is the working
// directory while it runs; the INI file is tessarn3.ini in it.
class ResourceLoaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/tessarn_res_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        root_ = name;
        saved_ = std::filesystem::current_path();
        std::filesystem::current_path(root_);
    }
    void TearDown() override
    {
        loader.reset();
        std::filesystem::current_path(saved_);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // Writes a file at a path relative to the scratch folder ('/' separators).
    void File(const std::string& relative, const std::string& bytes)
    {
        const std::filesystem::path path = std::filesystem::path(root_) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    void Folder(const std::string& relative)
    {
        std::filesystem::create_directories(std::filesystem::path(root_) / relative);
    }

    // Builds the loader over an INI file of the given text (none when null);
    // answers BUILT or the exit code, and keeps the console text in console.
    int Build(const char* ini)
    {
        loader.reset();
        if (ini != nullptr)
            File("tessarn3.ini", ini);
        ConfigurationFileIO reader((root_ + "/tessarn3.ini").c_str());
        ExitCapture capture;
        testing::internal::CaptureStdout();
        const int code = capture.Run([&] { loader = std::make_unique<ResourceLoader>(reader); });
        console = testing::internal::GetCapturedStdout();
        return code;
    }

    // Runs code that may end the program; answers as Build does.
    int Run(const std::function<void()>& code)
    {
        ExitCapture capture;
        testing::internal::CaptureStdout();
        const int result = capture.Run(code);
        console = testing::internal::GetCapturedStdout();
        return result;
    }

    std::string Text(int32_t number)
    {
        const char* text = loader->Get(number);
        return text != nullptr ? text : "(none)";
    }

    std::string root_;
    std::filesystem::path saved_;
    std::unique_ptr<ResourceLoader> loader;
    std::string console;
};

const char* const TWO_FOLDERS = "[Tessarn3]\nResDirCount 2\nResDir1 RES\nResDir2 more\\\n";

}  // namespace

TEST_F(ResourceLoaderTest, ServesBlocksOfEveryIndexedFile)
{
    File("RES/TEXT.RES", TextFile(123, {{0, "first"}, {1, "second"}}));
    File("more/pics.res", TextFile(1, {{8, "palette"}}));
    ASSERT_EQ(Build(TWO_FOLDERS), BUILT) << console;
    EXPECT_EQ(console, "");

    // Alternating between the files closes one and opens the other each time.
    EXPECT_EQ(Text(Number(123, 1)), "second");
    EXPECT_EQ(Text(Number(1, 8)), "palette");
    EXPECT_EQ(Text(Number(123, 0)), "first");
    EXPECT_EQ(loader->GetStatus(), 0);
    EXPECT_EQ(loader->ValidateResource(Number(1, 8)), 8);
    EXPECT_EQ(loader->ValidateResource(Number(1, 7)), 0);   // never given: empty
    EXPECT_EQ(loader->ValidateResource(8060928), 6);        // "first" and its zero
}

TEST_F(ResourceLoaderTest, FolderGetsOneTrailingBackslash)
{
    const char* const inis[] = {
        "[Tessarn3]\nResDirCount 1\nResDir1 RES\n",
        "[Tessarn3]\nResDirCount 1\nResDir1 RES\\\n",
    };
    Folder("RES");
    for (const char* ini : inis) {
        SCOPED_TRACE(ini);
        EXPECT_EQ(Build(ini), 1);
        EXPECT_EQ(console, "Resource file not found in RES\\\n");
    }
}

TEST_F(ResourceLoaderTest, WorkingDirectoryWithoutAFolderCount)
{
    const char* const inis[] = {
        nullptr,                                         // no INI file at all
        "[Tessarn3]\nMapDir maps\\\n",                   // no key
        "[Tessarn3]\nResDirCount 0\nResDir1 RES\n",
        "[Tessarn3]\nResDirCount -3\nResDir1 RES\n",
        "[Tessarn3]\nResDirCount none\nResDir1 RES\n",   // converts to 0
        "[Other]\nResDirCount 1\nResDir1 RES\n",         // another section
    };
    File("RES/OTHER.RES", TextFile(2, {{0, "elsewhere"}}));
    File("HERE.RES", TextFile(5, {{0, "here"}}));
    for (const char* ini : inis) {
        SCOPED_TRACE(ini != nullptr ? ini : "(no file)");
        std::filesystem::remove(root_ + "/tessarn3.ini");
        ASSERT_EQ(Build(ini), BUILT) << console;
        EXPECT_EQ(Text(Number(5, 0)), "here");
        EXPECT_EQ(loader->Get(Number(2, 0)), nullptr);   // RES was not scanned
        EXPECT_EQ(loader->GetStatus(), 1);
    }

    std::filesystem::remove(root_ + "/HERE.RES");
    EXPECT_EQ(Build("[Tessarn3]\n"), 1);
    EXPECT_EQ(console, "Resource file not found in " + platform::CurrentDirectory() + "\\\n");
}

TEST_F(ResourceLoaderTest, IndexingErrorsEndTheProgram)
{
    struct Row {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
        const char* ini;
        std::string console;
    };
    const std::string good = TextFile(7, {{0, "x"}});
    const Row rows[] = {
        {"second folder key missing", {{"RES/A.RES", good}},
         "[Tessarn3]\nResDirCount 2\nResDir1 RES\n",
         "ResDir2 not found in TESSARN3.INI\n"},
        {"no .RES file in a folder", {{"RES/A.RES", good}, {"more/readme.txt", "x"}}, TWO_FOLDERS,
         "Resource file not found in more\\\n"},
        {"only a folder named like a .RES file", {{"RES/A.RES", good}, {"more/DIR.RES/x", "x"}},
         TWO_FOLDERS, "Resource file not found in more\\\n"},
        {"empty file", {{"RES/A.RES", good}, {"RES/B.RES", ""}}, TWO_FOLDERS,
         "Unable to open RES\\B.RES for reading.  Reason Unknown\n"},
        {"file too short for its ID", {{"RES/A.RES", good}, {"RES/B.RES", "\x07"}}, TWO_FOLDERS,
         "Unable to open RES\\B.RES for reading.  Reason Unknown\n"},
        {"two files with one ID", {{"RES/A.RES", good}, {"RES/b.res", TextFile(7, {})}},
         "[Tessarn3]\nResDirCount 1\nResDir1 RES\n",
         "Resource Loader Error!   Duplicate .RES file IDs found.\n"
         "Resource file: RES\\A.RES has ID# 7\n"
         "Resource file: RES\\b.res has ID# 7\n"},
        {"one ID in two folders", {{"RES/A.RES", TextFile(300, {})}, {"more/Z.RES", good},
                                   {"more/Y.RES", TextFile(300, {})}},
         TWO_FOLDERS,
         "Resource Loader Error!   Duplicate .RES file IDs found.\n"
         "Resource file: RES\\A.RES has ID# 300\n"
         "Resource file: more\\Y.RES has ID# 300\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(root_ + "/RES");
        std::filesystem::remove_all(root_ + "/more");
        for (const auto& [path, bytes] : row.files)
            File(path, bytes);
        EXPECT_EQ(Build(row.ini), 1);
        EXPECT_EQ(console, row.console);
        EXPECT_EQ(loader, nullptr);
    }
}

TEST_F(ResourceLoaderTest, UsedBlocksStayCachedUntilPurged)
{
    File("TEXT.RES", TextFile(123, {{0, "old"}, {1, "xyz"}}));
    ASSERT_EQ(Build(nullptr), BUILT) << console;

    char* block = loader->Get(Number(123, 0));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(loader->Get(Number(123, 0)), block);
    loader->Free(Number(123, 0));
    loader->Free(Number(123, 0));

    // Same layout, new bytes: a read of the file would now give "new".
    File("TEXT.RES", TextFile(123, {{0, "new"}, {1, "xyz"}}));
    EXPECT_EQ(loader->Get(Number(123, 0)), block);   // use count 0, still cached
    EXPECT_STREQ(block, "old");
    loader->Free(Number(123, 0));

    loader->PurgeAll();
    EXPECT_EQ(Text(Number(123, 0)), "new");
    loader->Free(Number(123, 0));
    EXPECT_EQ(console, "");
}

TEST_F(ResourceLoaderTest, PurgeFreesOnlyUnusedBlocks)
{
    struct Row {
        int16_t mode;
        bool result;
        bool freesUnused;
    };
    const Row rows[] = {
        {0, true, true},   // every block carries stamp 1: all unused ones go
        {1, true, true},
        {2, false, false},
        {-1, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        File("TEXT.RES", TextFile(123, {{0, "used"}, {1, "idle1"}, {2, "idle2"}}));
        ASSERT_EQ(Build(nullptr), BUILT) << console;
        loader->Get(Number(123, 0));
        loader->Get(Number(123, 1));
        loader->Get(Number(123, 2));
        loader->Free(Number(123, 1));
        loader->Free(Number(123, 2));

        File("TEXT.RES", TextFile(123, {{0, "USED"}, {1, "IDLE1"}, {2, "IDLE2"}}));
        EXPECT_EQ(loader->Purge(row.mode), row.result);
        EXPECT_EQ(Text(Number(123, 0)), "used");   // in use: never freed
        EXPECT_EQ(Text(Number(123, 1)), row.freesUnused ? "IDLE1" : "idle1");
        EXPECT_EQ(Text(Number(123, 2)), row.freesUnused ? "IDLE2" : "idle2");
    }
}

TEST_F(ResourceLoaderTest, PurgeWithNothingToFree)
{
    File("TEXT.RES", TextFile(123, {{0, "a"}, {1, "b"}}));
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    for (int16_t mode : {0, 1, 2})
        EXPECT_FALSE(loader->Purge(mode)) << "empty cache, mode " << mode;

    char* a = loader->Get(Number(123, 0));
    char* b = loader->Get(Number(123, 1));
    for (int16_t mode : {0, 1, 2})
        EXPECT_FALSE(loader->Purge(mode)) << "all in use, mode " << mode;
    EXPECT_EQ(loader->Get(Number(123, 0)), a);
    EXPECT_EQ(loader->Get(Number(123, 1)), b);
}

TEST_F(ResourceLoaderTest, LastIndexIsValidAndTheNextEndsTheProgram)
{
    // Three blocks: K = 4 table entries, indices 0 to 2.
    File("TEXT.RES", TextFile(123, {{0, "a"}, {2, "last"}}));
    File("EMPTY.RES", TextFile(9, {}));   // K = 1: no block at all
    File("TINY.RES", RawFile(10, 13, {0}, "abc"));   // K = 1, D not on an entry edge
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    EXPECT_EQ(Text(Number(123, 2)), "last");

    struct Row {
        bool get;
        int32_t number;
        const char* shown;
    };
    const Row rows[] = {
        {false, Number(123, 3), "7b0003"},
        {true, Number(123, 3), "7b0003"},
        {false, Number(123, 0xFFFF), "7bffff"},
        {true, Number(9, 0), "90000"},
        {false, Number(10, 0), "a0000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shown);
        const int code = Run([&] {
            if (row.get)
                loader->Get(row.number);
            else
                loader->ValidateResource(row.number);
        });
        EXPECT_EQ(code, 1);
        EXPECT_EQ(console, std::string("An Invalid Resource Number Was Used!\nResource Number: ") +
                               row.shown + "\n");
    }
}

TEST_F(ResourceLoaderTest, EmptyBlockAndUnknownFileGiveNothing)
{
    File("TEXT.RES", TextFile(123, {{0, "a"}, {2, "c"}}));
    ASSERT_EQ(Build(nullptr), BUILT) << console;

    EXPECT_EQ(loader->Get(Number(123, 1)), nullptr);   // two equal table entries
    EXPECT_EQ(loader->GetStatus(), 0);
    EXPECT_EQ(loader->ValidateResource(Number(123, 1)), 0);

    EXPECT_EQ(loader->Get(Number(124, 0)), nullptr);
    EXPECT_EQ(loader->GetStatus(), 1);
    EXPECT_EQ(loader->ValidateResource(Number(124, 0)), 0);
    EXPECT_EQ(Text(Number(123, 2)), "c");
    EXPECT_EQ(loader->GetStatus(), 0);

    // A file that disappears after indexing cannot be opened.
    loader->Free(Number(123, 2));
    File("LATE.RES", TextFile(50, {{0, "late"}}));
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    std::filesystem::remove(root_ + "/LATE.RES");
    EXPECT_EQ(loader->Get(Number(50, 0)), nullptr);
    EXPECT_EQ(loader->GetStatus(), 1);
    EXPECT_EQ(Text(Number(123, 0)), "a");
    EXPECT_EQ(console, "");
}

TEST_F(ResourceLoaderTest, FreeOfAnUnusedNumberIsReported)
{
    File("TEXT.RES", TextFile(123, {{0, "a"}}));
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    const std::string report =
        "Free() was called on a resource which was not allocated!\n"
        "Resource Number: 7b0000\n"
        "This is not fatal, but please report it.\n\n";

    EXPECT_EQ(Run([&] { loader->Free(Number(123, 0)); }), BUILT);   // never fetched
    EXPECT_EQ(console, report);

    loader->Get(Number(123, 0));
    EXPECT_EQ(Run([&] { loader->Free(Number(123, 0)); }), BUILT);
    EXPECT_EQ(console, "");
    EXPECT_EQ(Run([&] { loader->Free(Number(123, 0)); std::cout << 255 << '\n'; }), BUILT);
    EXPECT_EQ(console, report + "255\n");   // later numbers are decimal again
}

TEST_F(ResourceLoaderTest, DamagedFilesGiveMissingBlocks)
{
    struct Row {
        const char* name;
        std::string bytes;
        uint16_t index;
    };
    const Row rows[] = {
        {"only the file ID", Bytes({9, 0}), 0},
        {"data offset cut short", Bytes({9, 0, 14, 0}), 0},
        {"data offset 0", RawFile(9, 0, {0, 2}, "ab"), 0},
        {"data offset 5", RawFile(9, 5, {0, 2}, "ab"), 0},
        {"table runs past the end", RawFile(9, 30, {0, 2}, "ab"), 0},
        // A header that does not fit its file says nothing about the indices.
        {"table runs past the end, index beyond it", RawFile(9, 30, {0, 2}, "ab"), 5},
        {"data offset far past the end", RawFile(9, 0xFFFFFFFF, {0, 2}, "ab"), 0},
        {"entries decrease", RawFile(9, 18, {6, 2, 8}, "abcdefgh"), 0},
        {"block ends past the end", RawFile(9, 14, {0, 100}, "abcd"), 0},
        {"block size near 4 GiB", RawFile(9, 14, {0, 0xFFFFFFF0}, "abcd"), 0},
        {"both entries past the end", RawFile(9, 14, {0xFFFFFFF0, 0xFFFFFFFF}, "abcd"), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        File("DMG.RES", row.bytes);
        File("GOOD.RES", TextFile(1, {{0, "good"}}));
        ASSERT_EQ(Build(nullptr), BUILT) << console;
        int32_t size = -1;
        const char* block = "(not asked)";
        EXPECT_EQ(Run([&] { size = loader->ValidateResource(Number(9, row.index)); }), BUILT);
        EXPECT_EQ(size, 0);
        EXPECT_EQ(loader->GetStatus(), 1);
        EXPECT_EQ(Run([&] { block = loader->Get(Number(9, row.index)); }), BUILT);
        EXPECT_EQ(block, nullptr);
        EXPECT_EQ(loader->GetStatus(), 1);
        EXPECT_EQ(Text(Number(1, 0)), "good");
        EXPECT_EQ(loader->GetStatus(), 0);
        EXPECT_EQ(console, "");
    }
}

TEST_F(ResourceLoaderTest, DamagedFileStillServesItsSoundBlocks)
{
    // Block 0 lies inside the file, block 1 runs past its end; the text of
    // block 0 has lost its terminator and still ends in memory.
    File("DMG.RES", RawFile(9, 18, {0, 3, 100}, "abcdef"));
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    EXPECT_EQ(loader->ValidateResource(Number(9, 0)), 3);
    const char* block = loader->Get(Number(9, 0));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block, 3), "abc");
    EXPECT_EQ(block[3], '\0');
    EXPECT_EQ(loader->Get(Number(9, 1)), nullptr);
    EXPECT_EQ(loader->GetStatus(), 1);
}

TEST_F(ResourceLoaderTest, LargeTablesAndHighFileIDs)
{
    // 20001 blocks: more table entries than a 16-bit count can hold.
    File("BIG.RES", TextFile(123, {{0, "near"}, {20000, "far"}}));
    File("TOP.RES", TextFile(65535, {{0, "top"}}));       // the ID that also means "none open"
    File("HIGH.RES", TextFile(0x8000, {{1, "high"}}));     // negative as a 32-bit number
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    EXPECT_EQ(Text(Number(123, 20000)), "far");
    EXPECT_EQ(Text(Number(123, 0)), "near");
    EXPECT_EQ(Text(Number(65535, 0)), "top");
    EXPECT_EQ(Text(Number(0x8000, 1)), "high");
    EXPECT_EQ(Run([&] { loader->ValidateResource(Number(123, 20001)); }), 1);
}

TEST_F(ResourceLoaderTest, ShutdownFreesBlocksStillInUse)
{
    File("TEXT.RES", TextFile(123, {{0, "a"}, {1, "b"}}));
    ASSERT_EQ(Build(nullptr), BUILT) << console;
    loader->Get(Number(123, 0));
    loader->Get(Number(123, 1));
    TheResourceLoader = loader.get();
    EXPECT_EQ(TheResourceLoader->Get(Number(123, 1))[0], 'b');
    TheResourceLoader = nullptr;
    loader.reset();   // the leak checker of the sanitizer build sees the rest
}
