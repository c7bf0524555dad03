// Tests of the after-action log in a scratch working directory: the option
// gate, the folder, the file names (run numbers, the 11-character cut, unsafe
// characters), no log without a scenario name or header object, entries with
// and without their line feed, and CorrectFormat.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/AfterActionLog.h"
#include "core/ScenarioAdmin.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class AALogTest : public InTempTree {
protected:
    void SetUp() override
    {
        InTempTree::SetUp();
        gAdmin = new ScenarioAdmin;
        ScenarioAdmin::SetScenarioName("");
        option = 1;
        AfterActionLog::SetOptionFlag(&option);
    }
    void TearDown() override
    {
        // Close any log of this test while the option is on and the name empty.
        option = 1;
        ScenarioAdmin::SetScenarioName("");
        AfterActionLog::SetUpAALog();
        AfterActionLog::SetOptionFlag(nullptr);
        delete gAdmin;
        gAdmin = nullptr;
        InTempTree::TearDown();
    }

    // Starts a scenario of that name as the program does, and logs it.
    void Start(const char* name)
    {
        ScenarioAdmin::SetScenarioName(name);
        AfterActionLog::SetUpAALog();
    }

    bool Exists(const std::string& relative) const
    {
        return std::filesystem::exists(tree.root + "/" + relative);
    }
    std::string Contents(const std::string& relative) const { return ReadFile(tree.root + "/" + relative); }
    size_t LogCount() const
    {
        if (!Exists("AALogs"))
            return 0;
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(tree.root + "/AALogs"))
            ++count;
        return count;
    }

    uint8_t option = 0;
};

TEST_F(AALogTest, OptionOffChangesNothing)
{
    option = 0;
    Start("Alpha");
    EXPECT_FALSE(Exists("AALogs"));
    AfterActionLog::AddToAALogIfEnabled("line");

    // An open log stays open when set-up runs with the option off, and the
    // guarded form stops writing at once.
    option = 1;
    Start("Alpha");
    option = 0;
    Start("Beta");
    AfterActionLog::AddToAALogIfEnabled("guarded");
    AfterActionLog::AddToAALog("unguarded");
    EXPECT_EQ(LogCount(), 1u);
    EXPECT_EQ(Contents("AALogs/AALog_Alpha1.txt"), "unguarded\n");
}

TEST_F(AALogTest, NoScenarioNameMeansNoLog)
{
    Start("");                                   // as at start-up
    EXPECT_TRUE(Exists("AALogs"));
    EXPECT_EQ(LogCount(), 0u);
    AfterActionLog::AddToAALog("nowhere");
    AfterActionLog::AddToAALogIfEnabled("nowhere");
    EXPECT_EQ(LogCount(), 0u);
}

TEST_F(AALogTest, MissingHeaderObjectIsFatalAndOpensNoLog)
{
    Start("Alpha");
    delete gAdmin;
    gAdmin = nullptr;
    ReportCapture capture;
    AfterActionLog::SetUpAALog();
    ASSERT_EQ(capture.fatals.size(), 1u);
    EXPECT_EQ(capture.fatals[0], "Scen2ui::GetScenarioName : gAdmin is NULL");
    // The earlier log was closed and none replaced it.
    AfterActionLog::AddToAALogIfEnabled("after");
    EXPECT_EQ(Contents("AALogs/AALog_Alpha1.txt"), "");
    gAdmin = new ScenarioAdmin;
}

TEST_F(AALogTest, EachStartOpensTheNextRunNumber)
{
    Start("Alpha");
    AfterActionLog::AddToAALogIfEnabled("first run");
    Start("Alpha");
    AfterActionLog::AddToAALogIfEnabled("second run");
    Start("Alpha");
    EXPECT_EQ(LogCount(), 3u);
    EXPECT_EQ(Contents("AALogs/AALog_Alpha1.txt"), "first run\n");
    EXPECT_EQ(Contents("AALogs/AALog_Alpha2.txt"), "second run\n");
    EXPECT_EQ(Contents("AALogs/AALog_Alpha3.txt"), "");
}

TEST_F(AALogTest, NeverOverwritesAnExistingLog)
{
    tree.File("AALogs/AALog_Alpha1.txt", "kept");
    tree.File("AALogs/aalog_alpha2.txt", "kept too");   // another case counts as taken
    Start("Alpha");
    AfterActionLog::AddToAALogIfEnabled("new");
    EXPECT_EQ(Contents("AALogs/AALog_Alpha1.txt"), "kept");
    EXPECT_EQ(Contents("AALogs/aalog_alpha2.txt"), "kept too");
    EXPECT_EQ(Contents("AALogs/AALog_Alpha3.txt"), "new\n");
}

TEST_F(AALogTest, NamesUseElevenSafeCharactersOfTheScenario)
{
    struct Row { const char* scenario; const char* file; };
    const Row rows[] = {
        {"Duel", "AALog_Duel1.txt"},
        {"ElevenChars", "AALog_ElevenChars1.txt"},
        {"North Atlantic Convoy", "AALog_North Atlan1.txt"},
        {"a/b:c\\d..e", "AALog_a_b_c_d__e1.txt"},    // separators, ':' and ".." made safe
        {"..", "AALog___1.txt"},
        {"Tab\there", "AALog_Tab_here1.txt"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.scenario);
        Start(r.scenario);
        EXPECT_TRUE(Exists(std::string("AALogs/") + r.file));
    }
    EXPECT_EQ(LogCount(), std::size(rows));
}

TEST_F(AALogTest, UsesAnExistingFolder)
{
    tree.Folder("AALogs");
    tree.File("AALogs/other.txt", "x");
    Start("Alpha");
    EXPECT_TRUE(Exists("AALogs/AALog_Alpha1.txt"));
    EXPECT_EQ(Contents("AALogs/other.txt"), "x");
}

TEST_F(AALogTest, EntriesEndInALineFeedUnlessFormatted)
{
    Start("Alpha");
    AfterActionLog::AddToAALogIfEnabled("plain");
    AfterActionLog::AddToAALogIfEnabled("ended\n");
    AfterActionLog::AddToAALogIfEnabled("twice\n\n");
    AfterActionLog::AddToAALogIfEnabled("as is", true);
    AfterActionLog::AddToAALogIfEnabled("|", true);
    AfterActionLog::AddToAALogIfEnabled(nullptr);
    AfterActionLog::AddToAALog(nullptr, true);
    AfterActionLog::AddToAALogIfEnabled("");
    // Every entry is flushed, so the file is complete while the log is open.
    EXPECT_EQ(Contents("AALogs/AALog_Alpha1.txt"), "plain\nended\ntwice\n\nas is|\n");
}

TEST(AfterActionLog, CorrectFormatEndsTheCopyInALineFeed)
{
    struct Row { const char* text; const char* expected; };
    const Row rows[] = {
        {"abc", "abc\n"},
        {"abc\n", "abc\n"},
        {"a\n\n", "a\n\n"},
        {"", "\n"},
        {"\n", "\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(r.text)));
        char* copy = AfterActionLog::CorrectFormat(r.text);
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, r.text);
        EXPECT_STREQ(copy, r.expected);
        delete[] copy;
    }
    EXPECT_EQ(AfterActionLog::CorrectFormat(nullptr), nullptr);

    const std::string longText(40000, 'x');           // beyond a 16-bit length
    char* copy = AfterActionLog::CorrectFormat(longText.c_str());
    EXPECT_EQ(std::string(copy), longText + "\n");
    delete[] copy;
}

} // namespace
