// Tests of the resource builder's parts: ResourceWriter's file layout byte for
// byte, the text source and block manifest readers with their errors, writer
// and ResourceLoader against each other, and the sample TEXT.RES the build
// makes from data/resources/texts.txt.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/ResourceWriter.h"
#include "support/Bytes.h"

namespace {

std::string Written(const ResourceWriter& writer)
{
    std::ostringstream out;
    EXPECT_TRUE(writer.Write(out));
    return out.str();
}

int32_t Number(uint16_t fileID, uint16_t index)
{
    return static_cast<int32_t>((uint32_t{fileID} << 16) | index);
}

// A scratch folder, removed with its contents at the end.
class Scratch {
public:
    Scratch()
    {
        char name[] = "/tmp/tessarn_resbuild_XXXXXX";
        if (mkdtemp(name) != nullptr)
            root = name;
    }
    ~Scratch()
    {
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    std::string File(const std::string& relative, const std::string& bytes) const
    {
        const std::filesystem::path path = std::filesystem::path(root) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path.string();
    }

    std::string root;
};

// A loader over one folder (a Linux path), through an INI file in scratch.
std::unique_ptr<ResourceLoader> LoaderOver(const Scratch& scratch, const std::string& folder)
{
    const std::string ini =
        scratch.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + folder + "\n");
    ConfigurationFileIO reader(ini.c_str());
    return std::make_unique<ResourceLoader>(reader);
}

}  // namespace

TEST(ResourceWriter, LaysOutHeaderTableAndBlocks)
{
    ResourceWriter writer(0x1234);
    EXPECT_TRUE(writer.AddBlock(0, "ab"));
    EXPECT_TRUE(writer.AddText(2, "xy"));
    EXPECT_FALSE(writer.AddBlock(2, "other"));   // an index holds one block
    EXPECT_EQ(writer.BlockCount(), 3u);
    EXPECT_EQ(Written(writer), Bytes({0x34, 0x12,       // file ID
                                      22, 0, 0, 0,      // D = 6 + 4 x 4
                                      0, 0, 0, 0,       // block 0 at 0
                                      2, 0, 0, 0,       // block 1 empty
                                      2, 0, 0, 0,       // block 2 at 2
                                      5, 0, 0, 0})      // end of block 2
                                   + "abxy" + std::string(1, '\0'));

    // No block at all: one table entry, which ends nothing.
    EXPECT_EQ(Written(ResourceWriter(5)), Bytes({5, 0, 10, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ResourceWriter, LoaderReadsBackEveryBlock)
{
    Scratch scratch;
    ASSERT_FALSE(scratch.root.empty());
    ResourceWriter writer(77);
    std::map<uint16_t, std::string> blocks = {
        {0, std::string("\0\x01\xFF\0", 4)},
        {1, "one"},
        {5, std::string(70000, 'z')},
        {6, "x"},
        {300, "last"},
    };
    for (const auto& [index, bytes] : blocks)
        writer.AddBlock(index, bytes);
    std::filesystem::create_directories(scratch.root + "/res");
    ASSERT_TRUE(writer.WriteFile(scratch.root + "/res/BLOCKS.RES"));

    std::unique_ptr<ResourceLoader> loader = LoaderOver(scratch, scratch.root + "/res");
    for (uint16_t index = 0; index <= 300; ++index) {
        SCOPED_TRACE(index);
        const auto given = blocks.find(index);
        const std::string expected = given != blocks.end() ? given->second : "";
        ASSERT_EQ(loader->ValidateResource(Number(77, index)), static_cast<int32_t>(expected.size()));
        const char* block = loader->Get(Number(77, index));
        if (expected.empty()) {
            EXPECT_EQ(block, nullptr);
            continue;
        }
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(std::string(block, expected.size()), expected);
        loader->Free(Number(77, index));
    }
}

TEST(ResourceWriter, WriteFileToAMissingFolderFails)
{
    EXPECT_FALSE(ResourceWriter(1).WriteFile("/nonexistent-folder/X.RES"));
}

TEST(TextSource, ReadsNumberedTexts)
{
    struct Row {
        const char* name;
        const char* source;
        uint16_t fileID;
        std::map<uint16_t, std::string> texts;
    };
    const Row rows[] = {
        {"plain", "0x7B0001 Hello there\n0x7B0003 Bye\n", 123, {{1, "Hello there"}, {3, "Bye"}}},
        {"comments, blank lines, indent",
         "# head\n\n   \n  0x7B0002\tTabbed text  \n# 0x7B0009 not a text\n", 123, {{2, "Tabbed text"}}},
        {"CR LF and byte order mark", "\xEF\xBB\xBF" "0x7B0000 a\r\n0x7B0001 b\r\n", 123,
         {{0, "a"}, {1, "b"}}},
        {"quotes keep blanks", "0x7B00C2 \"Zone \"\n0x7B00C3 \" both \"\n", 123,
         {{0xC2, "Zone "}, {0xC3, " both "}}},
        {"lone quote stays", "0x7B0000 \"\n", 123, {{0, "\""}}},
        {"escapes", "0x7B0000 a\\nb\\tc\\\\d\\\"e\\x41\\x7e\n", 123, {{0, "a\nb\tc\\d\"eA~"}}},
        {"no text: an empty text", "0x7B0004\n", 123, {{4, ""}}},
        {"decimal numbers, any order", "8060930 two\n8060929 one\n", 123, {{2, "two"}, {1, "one"}}},
        {"another file", "0x10008 palette name\n", 1, {{8, "palette name"}}},
        {"highest number", "0xFFFFFFFF top\n", 65535, {{65535, "top"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::istringstream in(row.source);
        ResourceWriter writer;
        std::string error;
        ASSERT_TRUE(ReadTextSource(in, writer, error)) << error;
        EXPECT_EQ(writer.GetFileID(), row.fileID);
        ResourceWriter expected(row.fileID);
        for (const auto& [index, text] : row.texts)
            expected.AddText(index, text);
        EXPECT_EQ(Written(writer), Written(expected));
    }
}

TEST(TextSource, RefusesMalformedSources)
{
    struct Row {
        const char* source;
        const char* error;
    };
    const Row rows[] = {
        {"0x7B00G1 text\n", "line 1: not a resource number: 0x7B00G1"},
        {"# c\nhello there\n", "line 2: not a resource number: hello"},
        {"0x1FFFFFFFF text\n", "line 1: not a resource number: 0x1FFFFFFFF"},
        {"-1 text\n", "line 1: not a resource number: -1"},
        {"0x text\n", "line 1: not a resource number: 0x"},
        {"0x7B0001 a\n\n0x7C0002 b\n", "line 3: file ID 124 differs from 123 of line 1"},
        {"0x7B0001 a\n0x7B0001 b\n", "line 2: resource 0x7B0001 given twice"},
        {"0x7B0001 a\\qb\n", "line 1: bad escape in text"},
        {"0x7B0001 ends in \\\n", "line 1: bad escape in text"},
        {"0x7B0001 \\x4\n", "line 1: bad escape in text"},
        {"0x7B0001 \\xG1\n", "line 1: bad escape in text"},
        {"# only a comment\n", "no texts"},
        {"", "no texts"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        std::istringstream in(row.source);
        ResourceWriter writer;
        std::string error;
        EXPECT_FALSE(ReadTextSource(in, writer, error));
        EXPECT_EQ(error, row.error);
    }
}

TEST(BlockManifest, ReadsListedFiles)
{
    Scratch scratch;
    ASSERT_FALSE(scratch.root.empty());
    scratch.File("pics/a.bin", std::string("\0A\xFF", 3));
    const std::string absolute = scratch.File("b.bin", "bee");

    std::istringstream in("# sample\nfile 0x0001\n\n8 pics/a.bin\n0x2   " + absolute + "  \n");
    ResourceWriter writer;
    std::string error;
    ASSERT_TRUE(ReadBlockManifest(in, scratch.root, writer, error)) << error;

    ResourceWriter expected(1);
    expected.AddBlock(8, std::string("\0A\xFF", 3));
    expected.AddBlock(2, "bee");
    EXPECT_EQ(Written(writer), Written(expected));
}

TEST(BlockManifest, RefusesMalformedManifests)
{
    Scratch scratch;
    ASSERT_FALSE(scratch.root.empty());
    scratch.File("a.bin", "a");
    struct Row {
        const char* manifest;
        std::string error;
    };
    const Row rows[] = {
        {"0 a.bin\n", "line 1: a block comes before the file line"},
        {"# nothing\n", "no file line"},
        {"file 1\nfile 2\n", "line 2: file ID given twice"},
        {"file 65536\n", "line 1: not a file ID: 65536"},
        {"file\n", "line 1: not a file ID: "},
        {"file 1\n70000 a.bin\n", "line 2: not a block index: 70000"},
        {"file 1\n3\n", "line 2: no file for block 3"},
        {"file 1\n3 a.bin\n3 a.bin\n", "line 3: block 3 given twice"},
        {"file 1\n3 missing.bin\n", "line 2: cannot read " + scratch.root + "/missing.bin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.manifest);
        std::istringstream in(row.manifest);
        ResourceWriter writer;
        std::string error;
        EXPECT_FALSE(ReadBlockManifest(in, scratch.root, writer, error));
        EXPECT_EQ(error, row.error);
    }
}

// The sample text file holds every text of its source, and every numbered
// text that the map, weather and zone code show.
TEST(SampleResources, TextFileMatchesItsSource)
{
    Scratch scratch;
    ASSERT_FALSE(scratch.root.empty());
    std::unique_ptr<ResourceLoader> loader =
        LoaderOver(scratch, std::string(TESSARN_DATA_DIR) + "/RESOURCE");

    std::ifstream source(std::string(TESSARN_SOURCE_DIR) + "/data/resources/texts.txt");
    ASSERT_TRUE(source.is_open());
    std::string line;
    int texts = 0;
    while (std::getline(source, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t blank = line.find(' ');
        ASSERT_NE(blank, std::string::npos) << line;
        const int32_t number = static_cast<int32_t>(std::stoul(line.substr(0, blank), nullptr, 16));
        std::string text = line.substr(blank + 1);
        if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
            text = text.substr(1, text.size() - 2);
        std::string decoded;
        ASSERT_TRUE(DecodeEscapes(text, decoded)) << line;
        text = decoded;
        const char* block = loader->Get(number);
        ASSERT_NE(block, nullptr) << line;
        EXPECT_EQ(block, text);
        EXPECT_EQ(loader->ValidateResource(number), static_cast<int32_t>(text.size() + 1));
        loader->Free(number);
        ++texts;
    }
    EXPECT_GT(texts, 0);

    const int32_t named[] = {0x7B00B1, 0x7B00B2, 0x7B00B4, 0x7B00B5, 0x7B00B6, 0x7B00B7,
                             0x7B00B8, 0x7B00B9, 0x7B00BA, 0x7B00BB, 0x7B00BC, 0x7B00BD,
                             0x7B00BE, 0x7B00BF, 0x7B00C0, 0x7B00C1, 0x7B00C2};
    for (int32_t number : named) {
        EXPECT_GT(loader->ValidateResource(number), 1) << std::hex << number;
    }
    EXPECT_EQ(loader->ValidateResource(0x7B0000), 0);
}
