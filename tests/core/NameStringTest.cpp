// Tests of NameString: setting and copying the 32-byte field, its fatal texts,
// case-sensitive equality, and the saved form: round trips byte for byte, the
// '|' rule, counts of 0 and above 32, unterminated text, and every cut.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "core/NameString.h"
#include "core/StreamFields.h"
#include "support/Bytes.h"
#include "support/ReportCapture.h"

namespace {

// A saved record: the u16 count, then the bytes as given.
std::string Record(uint16_t count, const std::string& bytes)
{
    std::ostringstream out;
    SaveField(out, count);
    out << bytes;
    return out.str();
}

NameString Named(const char* text)
{
    NameString name;
    name.Set(text);
    return name;
}

std::string Saved(const NameString& name)
{
    std::ostringstream out;
    name.Save(out);
    return out.str();
}

}  // namespace

TEST(NameString, SavedFormRoundTripsByteForByte)
{
    const std::string thirtyOne(31, 'x');
    struct Row { const char* text; std::string saved; };
    const Row rows[] = {
        {"", Bytes({1, 0, 0})},
        {"A", Bytes({2, 0, 'A', 0})},
        {"ABCD", Bytes({5, 0, 'A', 'B', 'C', 'D', 0})},
        {"Zeta 7", Record(7, std::string("Zeta 7") + '\0')},
        {thirtyOne.c_str(), Record(32, thirtyOne + '\0')},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const NameString name = Named(r.text);
        EXPECT_EQ(Saved(name), r.saved);

        std::istringstream in(r.saved);
        NameString loaded = Named("something else");
        EXPECT_TRUE(loaded.Load(in));
        EXPECT_EQ(in.peek(), EOF);
        EXPECT_STREQ(loaded.Text(), r.text);
        EXPECT_TRUE(loaded == name);
        EXPECT_EQ(Saved(loaded), r.saved);
    }
}

TEST(NameString, DefaultIsEmpty)
{
    NameString name;
    EXPECT_STREQ(name.Text(), "");
    EXPECT_EQ(Saved(name), Bytes({1, 0, 0}));
}

TEST(NameString, LoadEndsTheTextAtTheFirstBar)
{
    struct Row { std::string saved; const char* expected; };
    const Row rows[] = {
        {Record(12, std::string("Hello|World") + '\0'), "Hello"},
        {Record(5, std::string("a|b|") + '\0'), "a"},
        {Record(4, std::string("|ab") + '\0'), ""},
        {Record(6, std::string("plain") + '\0'), "plain"},
        {Record(6, std::string("ab\0c|", 5) + '\0'), "ab"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        std::istringstream in(r.saved);
        NameString name;
        EXPECT_TRUE(name.Load(in));
        EXPECT_EQ(in.peek(), EOF);
        EXPECT_STREQ(name.Text(), r.expected);
    }
}

TEST(NameString, CountOfZeroReadsNothingMoreAndKeepsTheText)
{
    std::istringstream in(Bytes({0, 0, 'Q'}));
    NameString name = Named("kept");
    EXPECT_TRUE(name.Load(in));
    EXPECT_STREQ(name.Text(), "kept");
    EXPECT_EQ(in.get(), 'Q');
}

// These used to leave the field unterminated, or write past its 32 bytes.
TEST(NameString, DamagedCountsStayWithinTheFieldAndInStep)
{
    const std::string letters(40, 'k');
    struct Row { const char* what; std::string saved; std::string expected; };
    const Row rows[] = {
        {"count 40, zero last", Record(40, letters.substr(0, 39) + '\0'), std::string(31, 'k')},
        {"count 40, no zero", Record(40, letters), std::string(31, 'k')},
        {"count 65535", Record(0xFFFF, std::string(0xFFFF, 'm')), std::string(31, 'm')},
        {"count 32, no zero", Record(32, std::string(32, 'n')), std::string(31, 'n')},
        {"count 33, zero at 5", Record(33, std::string("five\0", 5) + std::string(28, 'z')), "five"},
        {"count 4, no zero", Record(4, "abcd"), "abcd"},
        {"count 1, no zero", Record(1, "q"), "q"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // A second field follows, to show the stream stays in step.
        std::istringstream in(r.saved + Bytes({0x34, 0x12}));
        NameString name = Named("an older and much longer name!!");
        EXPECT_TRUE(name.Load(in));
        EXPECT_STREQ(name.Text(), r.expected.c_str());
        StreamInt16 next;
        next.Load(in);
        EXPECT_TRUE(in);
        EXPECT_EQ(next, 0x1234);
        // What is loaded saves as a well-formed record.
        EXPECT_EQ(Saved(name), Record(static_cast<uint16_t>(r.expected.size() + 1), r.expected + '\0'));
    }
}

TEST(NameString, EveryCutOfASavedNameFailsAndKeepsTheField)
{
    const std::string records[] = {
        Saved(Named("")),
        Saved(Named("Harbour")),
        Saved(Named(std::string(31, 'w').c_str())),
        Record(45, std::string(44, 'v') + '\0'),   // over-long, the excess cut too
    };
    for (const std::string& saved : records) {
        for (size_t cut = 0; cut < saved.size(); ++cut) {
            SCOPED_TRACE(testing::Message() << "record of " << saved.size() << " cut at " << cut);
            std::istringstream in(saved.substr(0, cut));
            NameString name = Named("before");
            name.Load(in);
            EXPECT_TRUE(in.fail());
            EXPECT_STREQ(name.Text(), "before");
        }
    }
}

TEST(NameString, SetKeepsAtMostThirtyOneCharacters)
{
    struct Row { std::string text; std::string expected; };
    const Row rows[] = {
        {"", ""},
        {"Alpha", "Alpha"},
        {std::string(31, 'a'), std::string(31, 'a')},
        {std::string(32, 'b'), std::string(31, 'b')},   // used to fill all 32 bytes, unterminated
        {std::string(100, 'c'), std::string(31, 'c')},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.size());
        NameString name = Named(r.text.c_str());
        EXPECT_STREQ(name.Text(), r.expected.c_str());
        char copy[NameString::SIZE];
        std::memset(copy, 0x55, sizeof copy);
        name.Get(copy);
        EXPECT_EQ(std::memcmp(copy, name.Text(), sizeof copy), 0);
        EXPECT_STREQ(copy, r.expected.c_str());
    }
}

TEST(NameString, NullArgumentsAreFatalAndChangeNothing)
{
    ReportCapture reports;
    NameString name = Named("Kestrel");
    name.Set(nullptr);
    EXPECT_STREQ(name.Text(), "Kestrel");
    name.Get(nullptr);
    ASSERT_EQ(reports.fatals.size(), 2u);
    EXPECT_EQ(reports.fatals[0], "NameString::Set: newString is NULL");
    EXPECT_EQ(reports.fatals[1], "NameString::Get: copyString is NULL");
}

TEST(NameString, EqualityIsByteWiseUpToTheTerminator)
{
    EXPECT_TRUE(Named("Falcon") == Named("Falcon"));
    EXPECT_FALSE(Named("Falcon") == Named("falcon"));   // case counts
    EXPECT_FALSE(Named("Falcon") == Named("Falcon "));
    EXPECT_FALSE(Named("") == Named("x"));
    EXPECT_TRUE(Named("Falcon").IsEqual("Falcon"));
    EXPECT_FALSE(Named("Falcon").IsEqual(nullptr));

    // Bytes left after the terminator by a longer name do not count.
    NameString reused = Named("Falconer and sons");
    reused.Set("Falcon");
    EXPECT_TRUE(reused == Named("Falcon"));
}

TEST(NameString, CopiesCarryTheWholeField)
{
    const NameString original = Named("Osprey");
    NameString copy(original);
    EXPECT_TRUE(copy == original);
    NameString assigned = Named("other");
    assigned = original;
    char a[NameString::SIZE];
    char b[NameString::SIZE];
    original.Get(a);
    assigned.Get(b);
    EXPECT_EQ(std::memcmp(a, b, sizeof a), 0);
}
