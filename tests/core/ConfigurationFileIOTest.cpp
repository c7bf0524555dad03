// Tests of the INI reader on files written into a scratch folder: values of
// keys (LF and CRLF files alike), sections found without regard to case, the
// section "ALL", the key-search quirks, numbers, hexadecimal numbers, status
// words, item lists, a missing file, and over-long names in the file.
#include <gtest/gtest.h>

#include <string>

#include "core/ConfigurationFileIO.h"
#include "support/TempTree.h"

// Reaches the private searches, whose own error codes (3, 5, 6) a public call
// reports as 1 or 2.
class ConfigurationFileIOProbe {
public:
    explicit ConfigurationFileIOProbe(ConfigurationFileIO& reader) : reader_(reader) {}
    int16_t LocateSection(const char* section) { return reader_.LocateSection(section); }
    int16_t LocateKey(const char* key, int16_t across) { return reader_.LocateKey(key, across); }

private:
    ConfigurationFileIO& reader_;
};

namespace {

// Lines joined with the given line end; the last line gets one too unless
// told otherwise.
std::string Lines(std::initializer_list<const char*> lines, const char* end = "\n", bool lastEnded = true)
{
    std::string text;
    size_t i = 0;
    for (const char* line : lines) {
        text += line;
        if (++i < lines.size() || lastEnded)
            text += end;
    }
    return text;
}

const std::initializer_list<const char*> SAMPLE = {
    "; Tessarn3 settings",
    "[Tessarn3]",
    "SVGAMode 101",
    "Sound 0 ; sound off",
    "MapDir  .\\maps\\",
    "Brackets [x]",
    "Palette default.pal   \t",
    " Indented yes",
    ";Commented no",
    "Empty",
    "",
    "   NextLineValue",
    "[other]  trailing words",
    "Sound 1",
    "OnlyOther here",
    "Last",
};

class IniFile : public InTempTree {
protected:
    // Writes tessarn3.ini in the working directory.
    void Write(const std::string& contents) { tree.File("tessarn3.ini", contents); }
};

struct ValueRow {
    const char* section;
    const char* key;
    int16_t found;
    const char* value;
    int16_t error;
};

// The rows hold for the sample file whatever its line ends.
const ValueRow SAMPLE_ROWS[] = {
    {"Tessarn3", "SVGAMode", 1, "101", 0},
    {"tessarn3", "svgamode", 1, "101", 0},                // case ignored both ways
    {"TESSARN3", "Sound", 1, "0 ; sound off", 0},          // remarks are part of the value
    {"Tessarn3", "MapDir", 1, ".\\maps\\", 0},             // two blanks before the value
    {"Tessarn3", "Palette", 1, "default.pal", 0},          // trailing white space cut
    {"Tessarn3", "Indented", 0, "", 2},                    // not in the first column
    {"Tessarn3", "Commented", 0, "", 2},
    {"Tessarn3", ";Commented", 0, "", 2},
    {"Tessarn3", "Empty", 1, "NextLineValue", 0},          // value taken from a later line
    {"Tessarn3", "OnlyOther", 0, "", 2},                   // the next section ends the search
    {"other", "Sound", 1, "1", 0},                         // rest of the header line ignored
    {"other", "Last", 1, "", 0},                           // nothing after it: empty value
    {"ALL", "Sound", 1, "0 ; sound off", 0},               // first in the whole file
    {"all", "OnlyOther", 1, "here", 0},
    {"All", "Last", 1, "", 0},
    {"Missing", "Sound", 0, "", 1},
    {"Tessarn3", "Missing", 0, "", 2},
    // A value after a single blank is tried as a key as well; not after two.
    {"Tessarn3", "101", 1, "Sound 0 ; sound off", 0},
    {"Tessarn3", ".\\maps\\", 0, "", 2},
    // A '[' inside a value does not end the section: Palette, after the
    // value "[x]", used to be reported missing (error 2).
    {"Tessarn3", "[x]", 1, "Palette default.pal", 0},
};

void CheckRows(ConfigurationFileIO& ini)
{
    for (const ValueRow& r : SAMPLE_ROWS) {
        SCOPED_TRACE(testing::Message() << "[" << r.section << "] " << r.key);
        char buffer[64] = "untouched";
        EXPECT_EQ(ini.GetString(r.section, r.key, buffer, sizeof buffer, '\n'), r.found);
        EXPECT_EQ(ini.GetConfigurationError(), r.error);
        if (r.found) {
            EXPECT_STREQ(buffer, r.value);
        }
    }
}

TEST_F(IniFile, ReadsValuesOfLfAndCrLfFiles)
{
    struct Variant { const char* name; const char* end; bool lastEnded; };
    const Variant variants[] = {
        {"LF", "\n", true}, {"CRLF", "\r\n", true}, {"LF, last line open", "\n", false},
        {"CRLF, last line open", "\r\n", false},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        Write(Lines(SAMPLE, v.end, v.lastEnded));
        ConfigurationFileIO ini(".\\tessarn3.ini");
        EXPECT_EQ(ini.GetConfigurationError(), 0);
        CheckRows(ini);
    }
}

TEST_F(IniFile, OpensNamesGivenInAnotherCase)
{
    tree.File("Tessarn3.INI", Lines(SAMPLE));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    EXPECT_EQ(ini.GetConfigurationError(), 0);
    EXPECT_EQ(ini.GetLongInt("Tessarn3", "SVGAMode"), 101);
}

TEST_F(IniFile, StopCharacterAndLengthCutTheValue)
{
    Write(Lines(SAMPLE));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    char buffer[64];
    EXPECT_EQ(ini.GetString("Tessarn3", "Sound", buffer, sizeof buffer, ';'), 1);
    EXPECT_STREQ(buffer, "0");                 // stops before ';', blank cut
    EXPECT_EQ(ini.GetString("Tessarn3", "Palette", buffer, 3, '\n'), 1);
    EXPECT_STREQ(buffer, "de");                // length - 1 characters
    EXPECT_EQ(ini.GetString("Tessarn3", "Palette", buffer, 1, '\n'), 1);
    EXPECT_STREQ(buffer, "");
    // A stop character other than the line feed lets the value run on.
    EXPECT_EQ(ini.GetString("other", "OnlyOther", buffer, sizeof buffer, '#'), 1);
    EXPECT_STREQ(buffer, "here\nLast");
}

TEST_F(IniFile, MissingFileReportsErrorTwoThenOne)
{
    ConfigurationFileIO ini(".\\tessarn3.ini");
    EXPECT_EQ(ini.GetConfigurationError(), 2);
    char buffer[16] = "untouched";
    EXPECT_EQ(ini.GetString("Tessarn3", "Sound", buffer, sizeof buffer, '\n'), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 1);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(ini.GetLongInt("Tessarn3", "Sound"), CONFIG_NO_VALUE);
    EXPECT_EQ(ini.GetConfigurationError(), 1);
    EXPECT_EQ(ini.GetLongInt("ALL", "Sound"), CONFIG_NO_VALUE);
    EXPECT_EQ(ini.GetConfigurationError(), 2);
    int32_t value = 5;
    EXPECT_EQ(ini.GetNextNumericItem("Tessarn3", "Sound", value, '['), 0);
    EXPECT_EQ(value, 5);
}

TEST_F(IniFile, ConvertsDecimalNumbers)
{
    Write(Lines({"[N]", "Plain 101", "Negative -42", "Signed +7", "Remark 15 ; fifteen",
                 "Letters 12abc", "None abc", "Spaced   -3", "Huge 99999999999",
                 "Tiny -99999999999"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    struct Row { const char* key; int32_t expected; int16_t error; };
    const Row rows[] = {
        {"Plain", 101, 0}, {"Negative", -42, 0}, {"Signed", 7, 0}, {"Remark", 15, 0},
        {"Letters", 12, 0}, {"None", 0, 0}, {"Spaced", -3, 0},
        {"Huge", INT32_MAX, 0},               // saturates instead of overflowing
        {"Tiny", INT32_MIN, 0},
        {"Absent", CONFIG_NO_VALUE, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(ini.GetLongInt("N", r.key), r.expected);
        EXPECT_EQ(ini.GetConfigurationError(), r.error);
    }
    EXPECT_EQ(ini.GetLongInt("Absent", "Plain"), CONFIG_NO_VALUE);
    EXPECT_EQ(ini.GetConfigurationError(), 1);
}

TEST_F(IniFile, ConvertsHexadecimalNumbers)
{
    Write(Lines({"[H]", "Prefixed 0x19", "Bare 19", "Lower 0x1f", "Upper 0X1F", "Letters 0xabcdef",
                 "Box 0xFFFF", "All 0xFFFFFFFF", "Wide 0x123456789", "Short 0x", "Twice 0x1x5",
                 "Remark 0x19 ; hex", "Digits 0x0123456789ABCDEF"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    struct Row { const char* key; int32_t expected; };
    const Row rows[] = {
        {"Prefixed", 25},
        {"Bare", 0},                          // two characters: nothing after the prefix
        {"Lower", 31},
        {"Upper", 31},
        {"Letters", 0xABCDEF},
        {"Box", 0xFFFF},
        {"All", -1},                          // all 32 bits set
        {"Wide", 0x23456789},                 // the ninth digit wraps out
        {"Short", 0},
        {"Twice", 5},                         // an 'x' ends the digits read from the end
        {"Remark", 25},                       // the digits end before the remark
        {"Digits", static_cast<int32_t>(0x89ABCDEFu)},
        {"Absent", CONFIG_NO_VALUE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(ini.GetHexInt("H", r.key), r.expected);
    }
}

TEST_F(IniFile, MatchesStatusWordsWithoutCase)
{
    Write(Lines({"[Tessarn3]", "Animations ON", "WeaponHit Off", "PlaneLand maybe", "Blank"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    const char* const words[] = {"on", "off", "Off"};
    const int32_t values[] = {1, 0, 99};
    struct Row { const char* key; int32_t expected; int16_t error; };
    const Row rows[] = {
        {"Animations", 1, 0},
        {"WeaponHit", 0, 0},                  // the first word that matches decides
        {"PlaneLand", CONFIG_NO_VALUE, 7},
        {"Blank", CONFIG_NO_VALUE, 7},
        {"Absent", CONFIG_NO_VALUE, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_EQ(ini.GetStatus("Tessarn3", r.key, words, values, 3), r.expected);
        EXPECT_EQ(ini.GetConfigurationError(), r.error);
    }
    EXPECT_EQ(ini.GetStatus("Tessarn3", "Animations", words, values, 0), CONFIG_NO_VALUE);
    EXPECT_EQ(ini.GetConfigurationError(), 7);
}

TEST_F(IniFile, ReadsItemListsUpToTheStopCharacter)
{
    Write(Lines({"[Lists]", "Dirs first  ", "; a remark", "  second", "", ";another", "", "third",
                 "[Next]", "Dirs elsewhere"}, "\r\n"));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    char item[32];
    const char* expected[] = {"first", "second", "third"};
    for (const char* e : expected) {
        ASSERT_EQ(ini.GetNextTextItem("Lists", "Dirs", item, sizeof item, '['), 1);
        EXPECT_STREQ(item, e);
        EXPECT_EQ(ini.GetConfigurationError(), 0);
    }
    // Ended, and it stays ended while nothing else runs.
    EXPECT_EQ(ini.GetNextTextItem("Lists", "Dirs", item, sizeof item, '['), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 0);
    EXPECT_EQ(ini.GetNextTextItem("Lists", "Dirs", item, sizeof item, '['), 0);

    // Any other public operation ends the list; the next call starts it again.
    char value[32];
    ini.GetString("Next", "Dirs", value, sizeof value, '\n');
    EXPECT_EQ(ini.GetNextTextItem("Lists", "Dirs", item, sizeof item, '['), 1);
    EXPECT_STREQ(item, "first");
    // So does asking for another list.
    EXPECT_EQ(ini.GetNextTextItem("Next", "Dirs", item, sizeof item, '['), 1);
    EXPECT_STREQ(item, "elsewhere");
    EXPECT_EQ(ini.GetNextTextItem("Next", "Dirs", item, sizeof item, '['), 0);   // end of file
    EXPECT_EQ(ini.GetNextTextItem("Next", "Dirs", item, sizeof item, '['), 0);
}

TEST_F(IniFile, ItemListsEndAtEndOfFileAndDropOverlongRests)
{
    Write(Lines({"[L]", "Items abcdefgh", "xy", "last"}, "\n", false));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    char item[4];
    const char* expected[] = {"abc", "xy", "las"};   // the rest of a long line is dropped
    for (const char* e : expected) {
        ASSERT_EQ(ini.GetNextTextItem("L", "Items", item, sizeof item, '['), 1);
        EXPECT_STREQ(item, e);
    }
    EXPECT_EQ(ini.GetNextTextItem("L", "Items", item, sizeof item, '['), 0);
    EXPECT_EQ(ini.GetNextTextItem("L", "Items", item, sizeof item, '['), 0);
}

TEST_F(IniFile, FailedListStartDoesNotResumeAnOldList)
{
    Write(Lines({"[L]", "Items one", "two", "three"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    char item[16];
    ASSERT_EQ(ini.GetNextTextItem("L", "Items", item, sizeof item, '['), 1);
    EXPECT_EQ(ini.GetNextTextItem("L", "Absent", item, sizeof item, '['), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 2);
    EXPECT_EQ(ini.GetNextTextItem("Missing", "Items", item, sizeof item, '['), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 1);
    // Used to go on from wherever the failed search stopped (the end of file).
    ASSERT_EQ(ini.GetNextTextItem("L", "Items", item, sizeof item, '['), 1);
    EXPECT_STREQ(item, "one");
}

TEST_F(IniFile, ReadsNumericItems)
{
    Write(Lines({"[Res]", "ResDirCount 3", "Nums 10", " 20", "; skip", "-5", "x7", "[End]"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    const int32_t expected[] = {10, 20, -5, 0};
    for (int32_t e : expected) {
        int32_t value = 1234;
        ASSERT_EQ(ini.GetNextNumericItem("Res", "Nums", value, '['), 1);
        EXPECT_EQ(value, e);
    }
    int32_t value = 1234;
    EXPECT_EQ(ini.GetNextNumericItem("Res", "Nums", value, '['), 0);
    EXPECT_EQ(value, 1234);
    EXPECT_EQ(ini.GetNextNumericItem("Res", "Absent", value, '['), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 2);
}

// Names of 79 characters or more in the file end the search in which they
// are met; 78 characters still work.
TEST_F(IniFile, OverlongNamesEndTheSearch)
{
    const std::string name78(78, 'k');
    const std::string name79(79, 'k');
    Write(Lines({("[" + name78 + "]").c_str(), (name78 + " 78").c_str(), "[Wanted]",
                 (name79 + " 79").c_str(), "Key 1", ("[" + name79 + "]").c_str(), "[Later]",
                 "Key 2"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    ConfigurationFileIOProbe probe(ini);

    EXPECT_EQ(ini.GetLongInt(name78.c_str(), name78.c_str()), 78);

    EXPECT_EQ(probe.LocateSection("Later"), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 5);
    EXPECT_EQ(ini.GetLongInt("Later", "Key"), CONFIG_NO_VALUE);
    EXPECT_EQ(ini.GetConfigurationError(), 1);

    ASSERT_EQ(probe.LocateSection("Wanted"), 1);
    EXPECT_EQ(probe.LocateKey("Key", 0), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 6);
    EXPECT_EQ(ini.GetLongInt("Wanted", "Key"), CONFIG_NO_VALUE);
    EXPECT_EQ(ini.GetConfigurationError(), 2);

    ASSERT_EQ(probe.LocateSection("NotThere"), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 5);

    // Across sections the long key of [Wanted] ends the search as well.
    ASSERT_EQ(probe.LocateSection("ALL"), 1);
    ASSERT_EQ(probe.LocateSection(name78.c_str()), 1);
    EXPECT_EQ(probe.LocateKey("Absent", 1), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 6);
}

TEST_F(IniFile, SearchesReachingTheEndReportErrorThree)
{
    Write(Lines({"[A]", "Key 1"}));
    ConfigurationFileIO ini(".\\tessarn3.ini");
    ConfigurationFileIOProbe probe(ini);
    EXPECT_EQ(probe.LocateSection("B"), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 3);
    ASSERT_EQ(probe.LocateSection("A"), 1);
    EXPECT_EQ(probe.LocateKey("Other", 0), 0);
    EXPECT_EQ(ini.GetConfigurationError(), 3);
}

TEST_F(IniFile, DamagedFilesGiveErrorsNotCrashes)
{
    const std::string damaged[] = {
        std::string("[Unclosed section"),
        std::string("[A]\nKey"),                                  // key with no value at EOF
        std::string("[A]\nKey \0\0\0 zero bytes\n", 23),
        std::string(5000, '['),
        std::string("[A]\n") + std::string(200, 'x') + "\nKey 3\n",
        std::string("\xFF\xFE[A]\r\r\r\nKey\t\t7"),
        std::string(""),
    };
    for (const std::string& contents : damaged) {
        Write(contents);
        ConfigurationFileIO ini(".\\tessarn3.ini");
        char buffer[16];
        ini.GetString("A", "Key", buffer, sizeof buffer, '\n');
        ini.GetHexInt("ALL", "Key");
        int32_t value = 0;
        for (int i = 0; i < 5; ++i)
            ini.GetNextNumericItem("A", "Key", value, '[');
        const int16_t error = ini.GetConfigurationError();
        EXPECT_TRUE(error == 0 || error == 1 || error == 2) << error;
    }
}

} // namespace
