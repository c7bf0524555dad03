// Tests of the parts of the scenario header object that exist so far: the
// version numbers (signed part-by-part order, saved form, the fourth part's
// range on loading) and the scenario name buffer.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/ScenarioAdmin.h"

namespace {

TEST(VersionNumber, ComparesPartByPartAsSignedNumbers)
{
    struct Row { VersionNumber a, b; bool less, equal; };
    const Row rows[] = {
        {{3, 6, 3, 0}, {3, 6, 3, 0}, false, true},
        {{3, 6, 2, 5}, {3, 6, 3, 0}, true, false},
        {{2, 1, 13, 0}, {2, 1, 10, 0}, false, false},
        {{-1, 0, 0, 0}, {0, 0, 0, 0}, true, false},
        {{2, 0, 1, 0}, {2, 0, 1, 1}, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.a.Text() + " vs " + r.b.Text());
        EXPECT_EQ(r.a < r.b, r.less);
        EXPECT_EQ(r.a == r.b, r.equal);
        EXPECT_EQ(r.a != r.b, !r.equal);
        EXPECT_EQ(r.a >= r.b, !r.less);
        EXPECT_EQ(r.a > r.b, !r.less && !r.equal);
    }
}

TEST(VersionNumber, SavesFourLittleEndianPartsAndClampsTheLastOnLoad)
{
    std::ostringstream out;
    VersionNumber(3, 6, 3, 0).Save(out);
    EXPECT_EQ(out.str(), std::string("\x03\x00\x06\x00\x03\x00\x00\x00", 8));

    struct Row { std::string bytes; std::string text; };
    const Row rows[] = {
        {std::string("\x03\x00\x06\x00\x03\x00\x05\x00", 8), "3.6.3.5"},
        {std::string("\x03\x00\x06\x00\x03\x00\x09\x00", 8), "3.6.3.0"},   // above 5
        {std::string("\xFF\xFF\x01\x00\x02\x00\xFF\xFF", 8), "-1.1.2.0"},  // below 0
    };
    for (const Row& r : rows) {
        std::istringstream in(r.bytes);
        VersionNumber v;
        EXPECT_TRUE(v.Load(in));
        EXPECT_EQ(v.Text(), r.text);
    }
    std::istringstream cut(std::string("\x03\x00\x06", 3));
    VersionNumber v;
    EXPECT_FALSE(v.Load(cut));
}

TEST(ScenarioAdmin, StartsWithTheProgramVersionAndNoFileVersion)
{
    ScenarioAdmin admin;
    EXPECT_STREQ(admin.GetVersionText(), "3.6.3.0");
    EXPECT_EQ(admin.GetFileVersion(), VersionNumber(0, 0, 0, 0));
    EXPECT_EQ(admin.IsShortHeader(), 0);
    EXPECT_TRUE(admin.HasFullHeader());
}

TEST(ScenarioAdmin, KeepsTheFileVersionAndHeaderFlagTheReaderSets)
{
    ScenarioAdmin admin;
    admin.SetFileVersion(VersionNumber(3, 5, 10, 0));
    admin.SetShortHeader(1);
    EXPECT_EQ(admin.GetFileVersion(), VersionNumber(3, 5, 10, 0));
    EXPECT_EQ(admin.IsShortHeader(), 1);
    EXPECT_FALSE(admin.HasFullHeader());

    admin.SetShortHeader(0);
    EXPECT_TRUE(admin.HasFullHeader());
    EXPECT_STREQ(admin.GetVersionText(), "3.6.3.0");   // the program's own stays
}

TEST(ScenarioAdmin, NameBufferHoldsThirtySixCharacters)
{
    ScenarioAdmin::SetScenarioName("Convoy");
    EXPECT_STREQ(ScenarioAdmin::GetScenarioName(), "Convoy");
    EXPECT_TRUE(ScenarioAdmin::HasScenarioName());

    const std::string longName(50, 'n');
    ScenarioAdmin::SetScenarioName(longName.c_str());
    EXPECT_EQ(std::string(ScenarioAdmin::GetScenarioName()), longName.substr(0, 36));

    ScenarioAdmin::SetScenarioName(nullptr);
    EXPECT_STREQ(ScenarioAdmin::GetScenarioName(), "");
    EXPECT_FALSE(ScenarioAdmin::HasScenarioName());
}

} // namespace
