// Tests of the saved keyed list: the byte form, Load and its last key issued,
// LoadMatching's keep rule and callback, equal and missing keys, element
// classes built from a key, and damaged input cut at every length.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/SavedTreeListOf.h"
#include "support/Bytes.h"
#include "support/ReportCapture.h"

namespace {

// An element with a key and one u16 field, counting the live ones.
struct Record : TreeListNode<Record> {
    Record() { ++alive; }
    Record(uint16_t key, uint16_t value) : TreeListNode<Record>(key), value(value) { ++alive; }
    ~Record() override { --alive; }

    // Saved form: key u16, value u16.
    void Save(std::ostream& out) const
    {
        SaveKey(out);
        value.Save(out);
    }
    void Load(std::istream& in)
    {
        LoadKey(in);
        value.Load(in);
    }

    StreamInt16 value = 0;
    static inline int alive = 0;
};

struct RecordTable : SavedTreeListOf<Record> {
    using TreeList::SetLastKey;
};

std::string Saved(const RecordTable& list)
{
    std::ostringstream out;
    EXPECT_TRUE(list.Save(out));
    return out.str();
}

std::vector<uint16_t> Keys(const RecordTable& list)
{
    std::vector<uint16_t> keys;
    for (Record* r = list.First(); r; r = r->GetNext())
        keys.push_back(r->GetKey());
    return keys;
}

std::vector<uint16_t> Values(const RecordTable& list)
{
    std::vector<uint16_t> values;
    for (Record* r = list.First(); r; r = r->GetNext())
        values.push_back(r->value);
    return values;
}

// A saved form built from (key, value) pairs.
std::string Form(std::initializer_list<std::pair<int, int>> records)
{
    std::string s = Bytes({static_cast<int>(records.size()), 0});
    for (const auto& [key, value] : records)
        s += Bytes({key & 0xFF, key >> 8, value & 0xFF, value >> 8});
    return s;
}

std::vector<uint16_t> gSeen;
void NoteRecord(Record* record) { gSeen.push_back(record->GetKey()); }

class SavedTreeListTest : public testing::Test {
protected:
    void SetUp() override { gSeen.clear(); }
    void TearDown() override { EXPECT_EQ(Record::alive, 0) << "records leaked or deleted twice"; }
};

}  // namespace

TEST_F(SavedTreeListTest, AnEmptyListSavesTwoZeroBytesAndLoadsNothing)
{
    RecordTable list;
    EXPECT_EQ(Saved(list), Bytes({0, 0}));

    RecordTable loaded;
    loaded.SetLastKey(12);
    std::istringstream in(Bytes({0, 0}));
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.First(), nullptr);
    EXPECT_EQ(loaded.GetLastKey(), 12);
}

TEST_F(SavedTreeListTest, SavesInKeyOrderAndLoadsBackWithTheHighestKeyAsLastIssued)
{
    RecordTable list;
    list.Insert(new Record(3, 0x1111));
    list.Insert(new Record(7, 0x7777));
    list.Insert(new Record(5, 0x5555));
    const std::string saved = Saved(list);
    EXPECT_EQ(saved, Form({{3, 0x1111}, {5, 0x5555}, {7, 0x7777}}));

    RecordTable loaded;
    std::istringstream in(saved);
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(Keys(loaded), (std::vector<uint16_t>{3, 5, 7}));
    EXPECT_EQ(Values(loaded), (std::vector<uint16_t>{0x1111, 0x5555, 0x7777}));
    EXPECT_EQ(loaded.First()->GetKey(), 3);
    EXPECT_EQ(loaded.Last()->GetKey(), 7);
    EXPECT_EQ(loaded.GetLastKey(), 7);
    EXPECT_EQ(loaded.NewKey(), 8);
}

TEST_F(SavedTreeListTest, LoadSetsTheLastKeyToTheHighestEvenWhenThatLowersIt)
{
    RecordTable list;
    list.Insert(new Record(9, 0));
    list.SetLastKey(20);
    const std::string saved = Saved(list);

    RecordTable loaded;
    loaded.SetLastKey(20);
    std::istringstream in(saved);
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetLastKey(), 9);
    EXPECT_EQ(loaded.NewKey(), 10);
}

TEST_F(SavedTreeListTest, LoadAddsToWhatTheListHolds)
{
    RecordTable list;
    list.Insert(new Record(1, 0));
    list.Insert(new Record(50, 0));
    std::istringstream in(Form({{2, 0}, {3, 0}}));
    EXPECT_TRUE(list.Load(in));
    EXPECT_EQ(Keys(list), (std::vector<uint16_t>{1, 2, 3, 50}));
    EXPECT_EQ(list.GetLastKey(), 50);
}

TEST_F(SavedTreeListTest, EqualKeysComeBackInSavedOrder)
{
    RecordTable list;
    std::istringstream in(Form({{4, 1}, {4, 2}, {2, 9}, {4, 3}}));
    EXPECT_TRUE(list.Load(in));
    EXPECT_EQ(Keys(list), (std::vector<uint16_t>{2, 4, 4, 4}));
    EXPECT_EQ(Values(list), (std::vector<uint16_t>{9, 1, 2, 3}));
    EXPECT_EQ(Saved(list), Form({{2, 9}, {4, 1}, {4, 2}, {4, 3}}));
}

// Elements that save no key all come back with key 0, in their saved order.
TEST_F(SavedTreeListTest, KeylessElementsComeBackInSavedOrder)
{
    struct Keyless : TreeListNode<Keyless> {
        void Save(std::ostream& out) const { value.Save(out); }
        void Load(std::istream& in) { value.Load(in); }
        StreamInt16 value = 0;
    };
    SavedTreeListOf<Keyless> list;
    std::istringstream in(Bytes({3, 0, 30, 0, 10, 0, 20, 0}));
    EXPECT_TRUE(list.Load(in));
    std::vector<int> values;
    for (Keyless* k = list.First(); k; k = k->GetNext()) {
        EXPECT_EQ(k->GetKey(), 0);
        values.push_back(k->value);
    }
    EXPECT_EQ(values, (std::vector<int>{30, 10, 20}));
    std::ostringstream out;
    list.Save(out);
    EXPECT_EQ(out.str(), Bytes({3, 0, 30, 0, 10, 0, 20, 0}));
}

TEST_F(SavedTreeListTest, LoadMatchingKeepsTheReferencedKeysAndShowsEveryRecord)
{
    struct Row {
        const char* name;
        std::vector<uint16_t> reference;
        bool withCallback;
        std::vector<uint16_t> kept;
    };
    const Row rows[] = {
        {"reference 2 and 9", {2, 9}, true, {2}},
        {"reference holds all", {3, 1, 2}, true, {1, 2, 3}},
        {"empty reference", {}, true, {}},
        {"no callback", {2, 9}, false, {2}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        gSeen.clear();
        RecordTable reference;
        for (uint16_t key : r.reference)
            reference.Insert(new Record(key, 0));
        const int aliveBefore = Record::alive;

        RecordTable list;
        std::istringstream in(Form({{1, 10}, {2, 20}, {3, 30}}));
        EXPECT_TRUE(list.LoadMatching(in, &reference, r.withCallback ? &NoteRecord : nullptr));
        EXPECT_EQ(Keys(list), r.kept);
        EXPECT_EQ(Record::alive - aliveBefore, static_cast<int>(r.kept.size()));   // the others deleted
        const std::vector<uint16_t> seen = r.withCallback ? std::vector<uint16_t>{1, 2, 3} : std::vector<uint16_t>{};
        EXPECT_EQ(gSeen, seen);
        EXPECT_EQ(Keys(reference).size(), r.reference.size());   // searched only
    }
}

TEST_F(SavedTreeListTest, LoadMatchingAddsToTheListAndRaisesTheLastKeyOnlyByInsertion)
{
    RecordTable reference;
    reference.Insert(new Record(2, 0));
    reference.Insert(new Record(60, 0));

    RecordTable list;
    list.Insert(new Record(40, 0));
    std::istringstream in(Form({{2, 0}, {45, 0}}));
    EXPECT_TRUE(list.LoadMatching(in, &reference, nullptr));
    EXPECT_EQ(Keys(list), (std::vector<uint16_t>{2, 40}));
    EXPECT_EQ(list.GetLastKey(), 40);   // Load would have set it to the highest: the same here

    RecordTable raised;
    raised.SetLastKey(1);
    std::istringstream again(Form({{60, 0}, {2, 0}}));
    EXPECT_TRUE(raised.LoadMatching(again, &reference, nullptr));
    EXPECT_EQ(raised.GetLastKey(), 60);

    // A null reference holds nothing.
    RecordTable none;
    std::istringstream third(Form({{2, 0}}));
    EXPECT_TRUE(none.LoadMatching(third, nullptr, &NoteRecord));
    EXPECT_EQ(none.First(), nullptr);
    EXPECT_EQ(gSeen, (std::vector<uint16_t>{2}));
}

// Every cut of a saved list fails as a whole stream: no element cut short is
// listed, the complete ones before it are, and nothing leaks.
TEST_F(SavedTreeListTest, EveryTruncationLoadsAsFailure)
{
    const std::string whole = Form({{1, 0x0101}, {2, 0x0202}, {3, 0x0303}, {3, 0x0404}});
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        const size_t complete = cut < 2 ? 0 : (cut - 2) / 4;

        RecordTable list;
        std::istringstream in(whole.substr(0, cut));
        EXPECT_FALSE(list.Load(in));
        EXPECT_TRUE(in.fail());
        const std::vector<uint16_t> values = {0x0101, 0x0202, 0x0303, 0x0404};
        EXPECT_EQ(Values(list), std::vector<uint16_t>(values.begin(), values.begin() + complete));

        RecordTable reference;
        for (uint16_t key = 0; key < 5; ++key)
            reference.Insert(new Record(key, 0));
        RecordTable matched;
        gSeen.clear();
        std::istringstream again(whole.substr(0, cut));
        EXPECT_FALSE(matched.LoadMatching(again, &reference, &NoteRecord));
        EXPECT_TRUE(again.fail());
        EXPECT_EQ(Keys(matched).size(), complete);
        EXPECT_EQ(gSeen.size(), complete);   // a record cut short is never shown
    }
    RecordTable list;
    std::istringstream in(whole);
    EXPECT_TRUE(list.Load(in));
    EXPECT_EQ(Keys(list), (std::vector<uint16_t>{1, 2, 3, 3}));
}

TEST_F(SavedTreeListTest, ACountLargerThanTheDataStopsAtTheEnd)
{
    // The count claims 65535 records; only two follow.
    std::string form = Form({{5, 1}, {6, 2}});
    form[0] = static_cast<char>(0xFF);
    form[1] = static_cast<char>(0xFF);
    RecordTable list;
    std::istringstream in(form);
    EXPECT_FALSE(list.Load(in));
    EXPECT_EQ(Keys(list), (std::vector<uint16_t>{5, 6}));
    EXPECT_EQ(list.GetLastKey(), 6);
}

namespace {

// An element class with no default constructor: the list builds it from key 0.
struct Keyed : TreeListNode<Keyed> {
    explicit Keyed(uint16_t key) : TreeListNode<Keyed>(key) { madeWith.push_back(key); }
    void Save(std::ostream& out) const { SaveKey(out); }
    void Load(std::istream& in) { LoadKey(in); }
    static inline std::vector<uint16_t> madeWith;
};

}  // namespace

TEST_F(SavedTreeListTest, ElementsBuiltFromAKeyAreMadeWithKeyZero)
{
    Keyed::madeWith.clear();
    SavedTreeListOf<Keyed> list;
    std::istringstream in(Bytes({2, 0, 8, 0, 4, 0}));
    EXPECT_TRUE(list.Load(in));
    EXPECT_EQ(Keyed::madeWith, (std::vector<uint16_t>{0, 0}));
    EXPECT_EQ(list.First()->GetKey(), 4);
    EXPECT_EQ(list.Last()->GetKey(), 8);
}

// 65536 elements cannot be counted in 16 bits: writing a wrapped count would
// leave a file that loads as something else, so nothing is written.
TEST_F(SavedTreeListTest, AListTooLongToCountIsNotSaved)
{
    ReportCapture reports;
    RecordTable list;
    for (uint32_t key = 0; key <= 0xFFFF; ++key)
        list.Insert(new Record(static_cast<uint16_t>(key), 0));
    std::ostringstream out;
    EXPECT_FALSE(list.Save(out));
    EXPECT_TRUE(out.fail());
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "SavedTreeListOf::Save: 65536 elements exceed 65535");

    // One fewer fits: the count is 65535.
    Record* first = list.First();
    list.Remove(first);
    delete first;
    std::ostringstream fits;
    EXPECT_TRUE(list.Save(fits));
    EXPECT_EQ(fits.str().substr(0, 2), Bytes({0xFF, 0xFF}));
    EXPECT_EQ(fits.str().size(), 2u + 4u * 65535u);
}
