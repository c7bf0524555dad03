// DoctrineTest.cpp: a side's doctrine: its curves, the sorted lists a
// decision is asked with, the choice of an option, the doctrine file read
// from the doctrine directory (whole or not at all), the saved name, the
// description the sample doctrine is built from, and the directory text.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/ConfigurationFileIO.h"
#include "missions/Doctrine.h"
#include "missions/DoctrineDir.h"
#include "missions/DoctrineFileWriter.h"
#include "missions/Side.h"
#include "missions/SideManager.h"
#include "missions/SortedIDList.h"
#include "support/TempTree.h"
#include "units/GroupBridge.h"

namespace {

// A curve made in memory: enabled, with the given start and segments.
void SetCurve(DoctrineCurve& curve, int8_t in, int8_t value, const std::vector<std::pair<int8_t, int8_t>>& steps)
{
    curve.disabled = 0;
    curve.startInput = in;
    curve.startValue = value;
    curve.segmentCount = static_cast<int8_t>(steps.size());
    curve.noSegments = steps.empty() ? 1 : 0;
    curve.segments = std::make_unique<DoctrineCurve::Segment[]>(steps.size());
    for (size_t i = 0; i < steps.size(); ++i)
        curve.segments[i] = {steps[i].first, steps[i].second};
}

std::string DoctrineBytes(const std::string& description)
{
    DoctrineSource source;
    std::string error;
    std::istringstream in(description);
    EXPECT_TRUE(ReadDoctrineSource(in, source, error)) << error;
    std::ostringstream out;
    EXPECT_TRUE(WriteDoctrineFile(out, source));
    return out.str();
}

SortedIDList List(const std::vector<std::pair<uint16_t, uint32_t>>& pairs)
{
    SortedIDList list;
    for (const auto& [key, value] : pairs)
        list.InsertSorted(key, value);
    return list;
}

// A doctrine directory of its own for each test, set back afterwards.
class DoctrineFiles : public testing::Test {
protected:
    DoctrineFiles() : previousDir(GetDoctrineDir()) { SetDoctrineDir(tree.root + "\\"); }
    ~DoctrineFiles() override { SetDoctrineDir(previousDir); }

    // Three factor curves and two options: factor 1 rises with its input,
    // option 0 rates low scores, option 1 high ones.
    static std::string Sample()
    {
        return DoctrineBytes("factors 3\nfactor 1 0 0 100 100\noptions 2\noption 0 0 100 100 -100\n"
                             "option 1 0 0 100 100\n");
    }

    TempTree tree;
    std::string previousDir;
};

} // namespace

TEST(DoctrineCurve, EvaluatesAlongItsSegments)
{
    DoctrineCurve curve;
    SetCurve(curve, 10, 5, {{10, 20}, {10, -10}});
    struct Row {
        uint16_t x;
        int32_t expected;
    } rows[] = {
        {0, 5}, {5, 5}, {10, 5}, {15, 15}, {20, 25}, {25, 20}, {30, 15}, {100, 15}, {65535, 15},
    };
    for (const Row& r : rows)
        EXPECT_EQ(curve.Evaluate(r.x), r.expected) << r.x;

    // Steps toward negative values truncate toward zero.
    SetCurve(curve, 0, 0, {{3, -10}});
    EXPECT_EQ(curve.Evaluate(1), -3);
    EXPECT_EQ(curve.Evaluate(2), -6);

    // Set noSegments: constant whatever the count says; no count: constant too.
    SetCurve(curve, 0, 7, {{10, 20}});
    curve.noSegments = 1;
    EXPECT_EQ(curve.Evaluate(5), 7);
    SetCurve(curve, 0, -4, {});
    EXPECT_EQ(curve.Evaluate(50), -4);
    // A default curve is disabled and constant at 0.
    const DoctrineCurve fresh;
    EXPECT_EQ(fresh.disabled, 1);
    EXPECT_EQ(fresh.noSegments, 1);
    EXPECT_EQ(fresh.Evaluate(9), 0);
}

TEST(DoctrineCurve, RecordsReadOrRefused)
{
    struct Row {
        const char* name;
        std::string bytes;
        bool good;
        int8_t count;
    } rows[] = {
        {"two segments", std::string("\x00\x00\x02\x0A\x05\x0A\x14\x0A\xF6", 9), true, 2},
        {"noSegments set: no pairs follow", std::string("\x01\x00\x02\x0A\x05", 5), true, 2},
        {"no segments", std::string("\x00\x01\x00\x0A\x05", 5), true, 0},
        {"cut in a pair", std::string("\x00\x00\x02\x0A\x05\x0A\x14\x0A", 8), false, 0},
        {"cut in the head", std::string("\x00\x00\x02", 3), false, 0},
        // Used to size the array from a wrapped negative number.
        {"negative count", std::string("\x00\x00\xFF\x0A\x05\x0A\x14", 7), false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DoctrineCurve curve;
        std::istringstream in(r.bytes);
        EXPECT_EQ(curve.Load(in), r.good);
        EXPECT_EQ(static_cast<bool>(in), r.good);
        EXPECT_EQ(curve.segmentCount, r.count);
        if (!r.good) {
            EXPECT_EQ(curve.disabled, 1);   // untouched
        }
    }
}

TEST(SortedIDList, KeepsKeyOrderAndOneNodePerKey)
{
    const SortedIDList list = List({{8, 80}, {3, 30}, {4, 40}, {3, 31}, {0, 1}, {65535, 2}});
    std::vector<std::pair<uint16_t, uint32_t>> seen;
    for (const SortedIDNode* n = list.First(); n != nullptr; n = n->GetNext())
        seen.emplace_back(n->key, n->value);
    EXPECT_EQ(seen, (std::vector<std::pair<uint16_t, uint32_t>>{{0, 1}, {3, 31}, {4, 40}, {8, 80}, {65535, 2}}));
    EXPECT_EQ(SortedIDList().First(), nullptr);
}

TEST(Doctrine, ChoosesTheBestEnabledOption)
{
    Doctrine doctrine(0, 0);
    EXPECT_EQ(doctrine.ChooseOption(SortedIDList(), List({{0, 5}})), NO_DOCTRINE_CHOICE);   // empty tables

    std::istringstream file(DoctrineBytes("factors 4\nfactor 0 0 0 100 100\nfactor 1 0 50\nfactor 3 0 0 100 100\n"
                                          "options 4\noption 0 0 100 100 -100\noption 1 0 0 100 100\n"
                                          "option 2 0 50\n"));
    // Read through a file of the doctrine directory.
    TempTree tree;
    tree.File("d.dtr", file.str());
    const std::string previous = GetDoctrineDir();
    SetDoctrineDir(tree.root + "/");
    doctrine.SetFileName("d.dtr");
    ASSERT_TRUE(doctrine.LoadFile());
    SetDoctrineDir(previous);

    struct Row {
        const char* name;
        std::vector<std::pair<uint16_t, uint32_t>> factors, options;
        uint16_t average;
        uint32_t expected;
    } rows[] = {
        {"no options", {{0, 90}}, {}, 90, NO_DOCTRINE_CHOICE},
        {"high score: option 1", {{0, 90}}, {{0, 100}, {1, 101}, {2, 102}}, 90, 101},
        {"low score: option 0", {{0, 10}}, {{0, 100}, {1, 101}, {2, 102}}, 10, 100},
        {"tie at 50: lowest key", {{0, 50}}, {{0, 100}, {1, 101}, {2, 102}}, 50, 100},
        {"tie without option 0", {{0, 50}}, {{2, 102}, {1, 101}}, 50, 101},
        {"averaged", {{0, 90}, {1, 0}}, {{0, 100}, {1, 101}}, 70, 101},
        {"disabled factor 2 and key 9 ignored", {{0, 90}, {2, 0}, {9, 0}}, {{0, 100}, {1, 101}}, 90, 101},
        {"no factor counted: 0", {{2, 90}}, {{0, 100}, {1, 101}}, 0, 100},
        {"disabled option 3 and key 7 ignored", {{0, 90}}, {{3, 103}, {7, 107}}, 90, NO_DOCTRINE_CHOICE},
        {"value's low 16 bits", {{0, 0x10000 + 80}}, {{0, 100}, {1, 101}}, 80, 101},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const SortedIDList factors = List(r.factors);
        EXPECT_EQ(doctrine.AverageScore(factors), r.average);
        EXPECT_EQ(doctrine.ChooseOption(factors, List(r.options)), r.expected);
    }
}

TEST(Doctrine, AverageOfTheSumsLow16Bits)
{
    // 127 segments of 127 each: one factor scores 127 + 127 x 127 = 16256.
    std::string line = "factor 0 0 127";
    for (int i = 0; i < 127; ++i)
        line += " 1 127";
    std::string description = "factors 5\n";
    for (int key = 0; key < 5; ++key)
        description += "factor " + std::to_string(key) + line.substr(8) + "\n";
    TempTree tree;
    tree.File("big.dtr", DoctrineBytes(description));
    const std::string previous = GetDoctrineDir();
    SetDoctrineDir(tree.root + "/");
    Doctrine doctrine(0, 0);
    doctrine.SetFileName("big.dtr");
    ASSERT_TRUE(doctrine.LoadFile());
    SetDoctrineDir(previous);
    const SortedIDList factors = List({{0, 200}, {1, 200}, {2, 200}, {3, 200}, {4, 200}});
    // 5 x 16256 = 81280; its low 16 bits 15744, divided by 5.
    EXPECT_EQ(doctrine.AverageScore(factors), 15744 / 5);
}

TEST_F(DoctrineFiles, LoadsAWholeFileOrKeepsTheTables)
{
    Doctrine doctrine(0, 0);
    EXPECT_FALSE(doctrine.LoadFile());   // no name
    doctrine.SetFileName("missing.dtr");
    EXPECT_FALSE(doctrine.LoadFile());
    EXPECT_EQ(doctrine.GetFactorCount(), 0);

    const std::string good = Sample();
    tree.File("good.dtr", good);
    doctrine.SetFileName("good.dtr");
    ASSERT_TRUE(doctrine.LoadFile());
    EXPECT_EQ(doctrine.GetFactorCount(), 3);
    EXPECT_EQ(doctrine.GetOptionCount(), 2);
    const SortedIDList high = List({{1, 90}});
    const SortedIDList options = List({{0, 100}, {1, 101}});
    EXPECT_EQ(doctrine.ChooseOption(high, options), 101u);

    // Every shorter file used to answer true with half-read curves; now it is
    // refused and the tables read before stay.
    for (size_t n = 0; n < good.size(); ++n) {
        tree.File("cut.dtr", good.substr(0, n));
        doctrine.SetFileName("cut.dtr");
        EXPECT_FALSE(doctrine.LoadFile()) << n;
        EXPECT_EQ(doctrine.GetFactorCount(), 3) << n;
        EXPECT_EQ(doctrine.GetOptionCount(), 2) << n;
        EXPECT_EQ(doctrine.ChooseOption(high, options), 101u) << n;
    }

    // A negative segment count is damage, not a size.
    std::string negative = good;
    negative[4 + 5 + 2] = '\xFE';   // the second factor curve's count
    tree.File("negative.dtr", negative);
    doctrine.SetFileName("negative.dtr");
    EXPECT_FALSE(doctrine.LoadFile());
    EXPECT_EQ(doctrine.ChooseOption(high, options), 101u);

    // A file with no curves at all empties the tables.
    tree.File("empty.dtr", std::string(4, '\0'));
    doctrine.SetFileName("empty.dtr");
    EXPECT_TRUE(doctrine.LoadFile());
    EXPECT_EQ(doctrine.ChooseOption(high, options), NO_DOCTRINE_CHOICE);
}

TEST_F(DoctrineFiles, SavedNameRoundTrips)
{
    tree.File("good.dtr", Sample());
    Doctrine doctrine(0, 0);
    std::ostringstream none;
    ASSERT_TRUE(doctrine.Save(none));
    EXPECT_EQ(none.str(), std::string("\x00\x00", 2));

    doctrine.SetFileName("good.dtr");
    std::ostringstream saved;
    ASSERT_TRUE(doctrine.Save(saved));
    EXPECT_EQ(saved.str(), std::string("\x09\x00good.dtr\x00", 11));

    Doctrine loaded(0, 0);
    std::istringstream in(saved.str());
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_STREQ(loaded.GetFileName(), "good.dtr");
    EXPECT_EQ(loaded.GetFactorCount(), 3);   // the file is read again
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), saved.str());

    // n = 0 keeps the name held and reads its file again.
    Doctrine kept(0, 0);
    kept.SetFileName("good.dtr");
    std::istringstream zero(std::string("\x00\x00", 2));
    ASSERT_TRUE(kept.Load(zero));
    EXPECT_STREQ(kept.GetFileName(), "good.dtr");
    EXPECT_EQ(kept.GetFactorCount(), 3);

    // Name bytes without a zero used to be kept unterminated.
    Doctrine bare(0, 0);
    std::istringstream unterminated(std::string("\x08\x00good.dtr", 10));
    ASSERT_TRUE(bare.Load(unterminated));
    EXPECT_STREQ(bare.GetFileName(), "good.dtr");
    EXPECT_EQ(bare.GetFactorCount(), 3);

    // A cut record fails the stream and keeps the name.
    for (size_t n = 0; n < saved.str().size(); ++n) {
        Doctrine partial(0, 0);
        partial.SetFileName("old");
        std::istringstream cut(saved.str().substr(0, n));
        EXPECT_FALSE(partial.Load(cut)) << n;
        EXPECT_STREQ(partial.GetFileName(), "old") << n;
    }
}

// The unit model asks a side's doctrine by side id through the bridge the
// side manager installs; a side that does not exist answers no choice.
TEST_F(DoctrineFiles, DecisionsAskedBySideID)
{
    tree.File("good.dtr", Sample());
    SideManager manager;
    manager.AddSide(new Side("S1", 1));
    manager.AddSide(new Side("S2", 2));
    Doctrine* const doctrine = manager.GetSide(1)->GetSideDoctrine();
    doctrine->SetFileName("good.dtr");
    ASSERT_TRUE(doctrine->LoadFile());

    const std::vector<DoctrineValue> high = {{1, 90}};
    const std::vector<DoctrineValue> low = {{1, 10}};
    const std::vector<DoctrineValue> options = {{0, 100}, {1, 101}};
    InstallSideManagerCalls(&manager);
    EXPECT_EQ(gam2side::DoctrineDecision(1, high, options), 101);
    EXPECT_EQ(gam2side::DoctrineDecision(1, low, options), 100);
    EXPECT_EQ(gam2side::DoctrineDecision(2, high, options), -1);   // empty doctrine
    EXPECT_EQ(gam2side::DoctrineDecision(9, high, options), -1);   // no such side
    InstallSideManagerCalls(nullptr);
    EXPECT_EQ(gam2side::DoctrineDecision(1, high, options), 0);
}

TEST(Doctrine, NewTablesAndNames)
{
    Doctrine doctrine(2, 3);
    EXPECT_EQ(doctrine.GetFactorCount(), 2);
    EXPECT_EQ(doctrine.GetOptionCount(), 3);
    ASSERT_NE(doctrine.GetFactorCurve(1), nullptr);
    EXPECT_EQ(doctrine.GetFactorCurve(1)->disabled, 1);
    EXPECT_EQ(doctrine.GetFactorCurve(2), nullptr);
    EXPECT_EQ(doctrine.GetOptionCurve(3), nullptr);
    EXPECT_EQ(doctrine.GetFileName(), nullptr);
    doctrine.SetFileName("a.dtr");
    EXPECT_STREQ(doctrine.GetFileName(), "a.dtr");
    doctrine.SetFileName(nullptr);
    EXPECT_EQ(doctrine.GetFileName(), nullptr);
}

TEST(Doctrine, SampleDoctrinePlacesShips)
{
    const std::string previous = GetDoctrineDir();
    SetDoctrineDir(std::string(TESSARN_DATA_DIR) + "/DOCTRINE/");
    Doctrine doctrine(0, 0);
    doctrine.SetFileName(Doctrine::DEFAULT_FILE_NAME);
    const bool loaded = doctrine.LoadFile();
    SetDoctrineDir(previous);
    ASSERT_TRUE(loaded) << "is the sample data built?";
    // Sonar, load and the share placed, as the group's planning asks.
    const SortedIDList options = List({{3, 3}, {4, 4}});
    EXPECT_EQ(doctrine.ChooseOption(List({{8, 50}, {6, 90}, {7, 10}}), options), 4u);   // a sonar ship screens
    EXPECT_EQ(doctrine.ChooseOption(List({{8, 50}, {6, 10}, {7, 90}}), options), 3u);   // a laden ship keeps inside

    // The unit model's form of the same questions, unsorted.
    const std::vector<DoctrineValue> choices{{4, 4}, {3, 3}};
    EXPECT_EQ(DecideByDoctrine(&doctrine, {{8, 50}, {6, 90}, {7, 10}}, choices), 4);
    EXPECT_EQ(DecideByDoctrine(&doctrine, {{7, 90}, {8, 50}, {6, 10}}, choices), 3);
    EXPECT_EQ(DecideByDoctrine(&doctrine, {{7, 90}}, {}), -1);
    EXPECT_EQ(DecideByDoctrine(nullptr, {{7, 90}}, choices), -1);
}

TEST(DoctrineFileWriter, DescriptionErrors)
{
    struct Row {
        const char* text;
        const char* error;   // null: accepted
    } rows[] = {
        {"# nothing\n\nfactors 1 # one\nfactor 0 1 2 3 4\n", nullptr},
        {"factors 70000\n", "line 1: the count must be one number from 0 to 65535"},
        {"factors 2 3\n", "line 1: the count must be one number from 0 to 65535"},
        {"factor 0 1 2\n", "line 1: no curves of this kind were declared"},
        {"options 2\noption 2 0 0\n", "line 2: the key is missing or beyond the declared count"},
        {"options 1\noption 0 200 0\n", "line 2: the start input and value must be numbers from -128 to 127"},
        {"options 1\noption 0 0 0 1\n", "line 2: a segment needs an input step and a value step"},
        {"options 1\noption 0 0 0 1 x\n", "line 2: a segment step is not a number from -128 to 127"},
        {"curves 1\n", "line 1: unknown item 'curves'"},
    };
    for (const Row& r : rows) {
        std::istringstream in(r.text);
        DoctrineSource source;
        std::string error;
        EXPECT_EQ(ReadDoctrineSource(in, source, error), r.error == nullptr) << r.text;
        if (r.error != nullptr) {
            EXPECT_EQ(error, r.error) << r.text;
        }
    }
    DoctrineSource tooLong;
    tooLong.factors.resize(1);
    tooLong.factors[0].segments.resize(128);
    std::ostringstream out;
    EXPECT_FALSE(WriteDoctrineFile(out, tooLong));
    EXPECT_TRUE(out.str().empty());
}

TEST(DoctrineDir, DirectoryTextRules)
{
    const std::string longest(60, 'd');
    struct Row {
        const char* value;
        std::string expected;
    } rows[] = {
        {nullptr, ".\\"},
        {"", ".\\"},
        {"DOCTRINE", "DOCTRINE\\"},
        {"c:\\game\\", "c:\\game\\"},
        {longest.c_str(), std::string(49, 'd') + "\\"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MakeDoctrineDir(r.value), r.expected) << (r.value ? r.value : "(null)");

    TempTree tree;
    tree.File("a.ini", "[Tessarn3]\nDoctrineDir DTR\n");
    ConfigurationFileIO ini((tree.root + "/a.ini").c_str());
    EXPECT_EQ(ReadDoctrineDir(ini), "DTR\\");
    tree.File("b.ini", "[Tessarn3]\nMapDir MAPS\n");
    ConfigurationFileIO other((tree.root + "/b.ini").c_str());
    EXPECT_EQ(ReadDoctrineDir(other), ".\\");
}
