// Tests of ChainLink and Chain: splicing whole chains at either end and in the
// middle, Remove and delete-all with their ownership, the guard against a
// chain spliced into itself, and the saved form: round trips, loading after
// existing elements, and every cut of a saved chain refused without a leak.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/Chain.h"
#include "core/StreamFields.h"

namespace {

// A chain element that counts the live instances and logs its deletions.
struct Rec : ChainLink<Rec> {
    static int live;
    static std::vector<int32_t>* deleted;

    StreamLong value;

    Rec() { ++live; }
    explicit Rec(int32_t v) : value(v) { ++live; }
    Rec(const Rec& other) : ChainLink<Rec>(other), value(other.value) { ++live; }
    ~Rec()
    {
        --live;
        if (deleted != nullptr)
            deleted->push_back(value);
    }

    void Save(std::ostream& out) const { value.Save(out); }
    bool Load(std::istream& in) { return static_cast<bool>(value.Load(in)); }
};
int Rec::live = 0;
std::vector<int32_t>* Rec::deleted = nullptr;

class ChainTest : public testing::Test {
protected:
    void SetUp() override { Rec::live = 0; }
    void TearDown() override
    {
        Rec::deleted = nullptr;
        EXPECT_EQ(Rec::live, 0) << "elements leaked or deleted twice";
    }
};

// Values of a chain from first to last, checking the back links on the way.
std::vector<int32_t> Values(const Chain<Rec>& chain)
{
    std::vector<int32_t> values;
    const Rec* previous = nullptr;
    for (Rec* r = chain.First(); r != nullptr; r = r->GetNext()) {
        EXPECT_EQ(r->GetPrev(), previous);
        values.push_back(r->value);
        previous = r;
    }
    EXPECT_EQ(chain.Last(), previous);
    return values;
}

void Fill(Chain<Rec>& chain, std::initializer_list<int32_t> values)
{
    for (int32_t v : values)
        chain.Append(new Rec(v));
}

// Three elements linked without a head; answers the middle one.
Rec* LooseChainOfThree(int32_t first)
{
    Rec* a = new Rec(first);
    Rec* b = new Rec(first + 1);
    Rec* c = new Rec(first + 2);
    a->InsertChainAfter(b);
    b->InsertChainAfter(c);
    return b;
}

std::string Saved(const Chain<Rec>& chain)
{
    std::ostringstream out;
    EXPECT_TRUE(chain.Save(out));
    return out.str();
}

using Ints = std::vector<int32_t>;

}  // namespace

TEST_F(ChainTest, AppendOfALoneElementToAnEmptyHeadMakesItFirstAndLast)
{
    Chain<Rec> chain;
    Rec* r = new Rec(1);
    chain.Append(r);
    EXPECT_EQ(chain.First(), r);
    EXPECT_EQ(chain.Last(), r);
    chain.Append(nullptr);
    chain.Prepend(nullptr);
    EXPECT_EQ(Values(chain), Ints({1}));
}

TEST_F(ChainTest, SplicingTakesTheWholeChainInOrderWhicheverElementIsGiven)
{
    struct Row {
        const char* what;
        void (*splice)(Chain<Rec>&, Rec* middle);
        Ints expected;
    };
    const Row rows[] = {
        {"append", [](Chain<Rec>& c, Rec* m) { c.Append(m); }, {1, 2, 10, 11, 12}},
        {"prepend", [](Chain<Rec>& c, Rec* m) { c.Prepend(m); }, {10, 11, 12, 1, 2}},
        {"after first", [](Chain<Rec>& c, Rec* m) { c.InsertAfter(m, c.First()); }, {1, 10, 11, 12, 2}},
        {"after last", [](Chain<Rec>& c, Rec* m) { c.InsertAfter(m, c.Last()); }, {1, 2, 10, 11, 12}},
        {"before first", [](Chain<Rec>& c, Rec* m) { c.InsertBefore(m, c.First()); }, {10, 11, 12, 1, 2}},
        {"before last", [](Chain<Rec>& c, Rec* m) { c.InsertBefore(m, c.Last()); }, {1, 10, 11, 12, 2}},
        {"after null", [](Chain<Rec>& c, Rec* m) { c.InsertAfter(m, nullptr); }, {1, 2, 10, 11, 12}},
        {"before null", [](Chain<Rec>& c, Rec* m) { c.InsertBefore(m, nullptr); }, {10, 11, 12, 1, 2}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Chain<Rec> chain;
        Fill(chain, {1, 2});
        r.splice(chain, LooseChainOfThree(10));
        EXPECT_EQ(Values(chain), r.expected);
    }
}

TEST_F(ChainTest, SplicingIntoAnEmptyHeadSetsBothEnds)
{
    struct Row {
        const char* what;
        void (*splice)(Chain<Rec>&, Rec* middle);
    };
    const Row rows[] = {
        {"append", [](Chain<Rec>& c, Rec* m) { c.Append(m); }},
        {"prepend", [](Chain<Rec>& c, Rec* m) { c.Prepend(m); }},
        {"insert after", [](Chain<Rec>& c, Rec* m) { c.InsertAfter(m, nullptr); }},
        {"insert before", [](Chain<Rec>& c, Rec* m) { c.InsertBefore(m, nullptr); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Chain<Rec> chain;
        r.splice(chain, LooseChainOfThree(20));
        EXPECT_EQ(Values(chain), Ints({20, 21, 22}));
    }
}

TEST_F(ChainTest, AppendMovesElementsOutOfAnotherHeadWithoutUpdatingIt)
{
    Chain<Rec> chain;
    Fill(chain, {1});
    // The other head is never destroyed: its elements end up owned by chain.
    alignas(Chain<Rec>) unsigned char storage[sizeof(Chain<Rec>)];
    Chain<Rec>* const other = new (storage) Chain<Rec>;
    Fill(*other, {5, 6, 7});
    Rec* const otherFirst = other->First();
    chain.Append(otherFirst->GetNext());
    EXPECT_EQ(Values(chain), Ints({1, 5, 6, 7}));
    EXPECT_EQ(other->First(), otherFirst);   // the other head still points in
}

TEST_F(ChainTest, LinkOperationsWalkAndJoinNeighbours)
{
    Chain<Rec> chain;
    Fill(chain, {1, 2, 3, 4});
    Rec* const second = chain.First()->GetNext();
    EXPECT_EQ(second->FirstOfChain(), chain.First());
    EXPECT_EQ(second->LastOfChain(), chain.Last());

    Rec lone(9);
    EXPECT_EQ(lone.FirstOfChain(), &lone);
    EXPECT_EQ(lone.LastOfChain(), &lone);

    // Deleting a middle element unlinks it from its neighbours.
    Rec* const third = second->GetNext();
    delete third;
    EXPECT_EQ(Values(chain), Ints({1, 2, 4}));

    // SetNext and SetPrev touch their own field alone.
    Rec* const last = chain.Last();
    second->SetNext(nullptr);
    EXPECT_EQ(last->GetPrev(), second);
    second->SetNext(last);

    // A copy of an element starts in no chain.
    Rec copy(*second);
    EXPECT_EQ(copy.GetNext(), nullptr);
    EXPECT_EQ(copy.GetPrev(), nullptr);
    EXPECT_EQ(Values(chain), Ints({1, 2, 4}));
}

TEST_F(ChainTest, RemoveHandsTheElementBackAndKeepsTheEndsRight)
{
    struct Row { int index; Ints expected; };
    const Row rows[] = {{0, {2, 3}}, {1, {1, 3}}, {2, {1, 2}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        Chain<Rec> chain;
        Fill(chain, {1, 2, 3});
        Rec* element = chain.First();
        for (int i = 0; i < r.index; ++i)
            element = element->GetNext();
        chain.Remove(element);
        EXPECT_EQ(Values(chain), r.expected);
        EXPECT_EQ(element->GetNext(), nullptr);
        EXPECT_EQ(element->GetPrev(), nullptr);
        delete element;
    }

    Chain<Rec> single;
    Rec* only = new Rec(1);
    single.Append(only);
    single.Remove(only);
    EXPECT_EQ(single.First(), nullptr);
    EXPECT_EQ(single.Last(), nullptr);
    single.Remove(nullptr);
    delete only;
}

TEST_F(ChainTest, DeleteAllDestroysFirstToLastAndEmptiesTheHead)
{
    std::vector<int32_t> deleted;
    Rec::deleted = &deleted;
    Chain<Rec> chain;
    chain.DeleteAll();
    EXPECT_TRUE(deleted.empty());

    Fill(chain, {4, 5, 6, 7});
    chain.DeleteAll();
    EXPECT_EQ(deleted, Ints({4, 5, 6, 7}));
    EXPECT_EQ(chain.First(), nullptr);
    EXPECT_EQ(chain.Last(), nullptr);

    deleted.clear();
    {
        Chain<Rec> scoped;
        Fill(scoped, {8, 9});
    }
    EXPECT_EQ(deleted, Ints({8, 9}));
}

// Splicing a chain into itself used to close it into a ring, after which
// delete-all, Save and FirstOfChain never ended.
TEST_F(ChainTest, SplicingAChainIntoItselfChangesNothing)
{
    struct Row {
        const char* what;
        void (*splice)(Chain<Rec>&);
    };
    const Row rows[] = {
        {"append first", [](Chain<Rec>& c) { c.Append(c.First()); }},
        {"append middle", [](Chain<Rec>& c) { c.Append(c.First()->GetNext()); }},
        {"prepend last", [](Chain<Rec>& c) { c.Prepend(c.Last()); }},
        {"after first, own middle", [](Chain<Rec>& c) { c.InsertAfter(c.First()->GetNext(), c.First()); }},
        {"before middle, own last", [](Chain<Rec>& c) { c.InsertBefore(c.Last(), c.First()->GetNext()); }},
        {"link after itself", [](Chain<Rec>& c) { c.First()->GetNext()->InsertChainAfter(c.First()->GetNext()); }},
        {"link before, own first", [](Chain<Rec>& c) { c.Last()->InsertChainBefore(c.First()); }},
        {"link null", [](Chain<Rec>& c) { c.First()->InsertChainAfter(nullptr); c.Last()->InsertChainBefore(nullptr); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Chain<Rec> chain;
        Fill(chain, {1, 2, 3});
        r.splice(chain);
        EXPECT_EQ(Values(chain), Ints({1, 2, 3}));
    }
}

TEST_F(ChainTest, SavedFormRoundTripsByteForByte)
{
    Chain<Rec> empty;
    EXPECT_EQ(Saved(empty), std::string("\0\0", 2));

    Chain<Rec> chain;
    Fill(chain, {1, -2, 0x01020304});
    const std::string saved = Saved(chain);
    EXPECT_EQ(saved, std::string("\x03\x00"
                                 "\x01\x00\x00\x00"
                                 "\xFE\xFF\xFF\xFF"
                                 "\x04\x03\x02\x01", 14));

    std::istringstream in(saved);
    Chain<Rec> loaded;
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(in.peek(), EOF);
    EXPECT_EQ(Values(loaded), Ints({1, -2, 0x01020304}));
    EXPECT_EQ(Saved(loaded), saved);

    std::istringstream emptyIn(std::string("\0\0", 2));
    Chain<Rec> none;
    EXPECT_TRUE(none.Load(emptyIn));
    EXPECT_EQ(none.First(), nullptr);
}

TEST_F(ChainTest, LoadAppendsAfterTheElementsAlreadyHeld)
{
    Chain<Rec> source;
    Fill(source, {7, 8, 9});
    std::istringstream in(Saved(source));
    Chain<Rec> chain;
    Fill(chain, {1, 2});
    EXPECT_TRUE(chain.Load(in));
    EXPECT_EQ(Values(chain), Ints({1, 2, 7, 8, 9}));
}

TEST_F(ChainTest, EveryCutOfASavedChainIsRefusedWhole)
{
    Chain<Rec> source;
    Fill(source, {7, 8, 9});
    const std::string saved = Saved(source);
    for (size_t cut = 0; cut < saved.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        std::istringstream in(saved.substr(0, cut));
        Chain<Rec> chain;
        Fill(chain, {1, 2});
        EXPECT_FALSE(chain.Load(in));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(Values(chain), Ints({1, 2}));
        EXPECT_EQ(Rec::live, 3 + 2);   // the source and the chain, nothing half-built
    }
}

TEST_F(ChainTest, ACountBeyondTheDataLoadsNothing)
{
    std::istringstream in(std::string("\xFF\xFF" "\x01\x00\x00\x00" "\x02\x00\x00\x00", 10));
    Chain<Rec> chain;
    EXPECT_FALSE(chain.Load(in));
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(chain.First(), nullptr);
}

namespace {

// An element that refuses a negative value without failing the stream.
struct Checked : ChainLink<Checked> {
    StreamLong value;
    void Save(std::ostream& out) const { value.Save(out); }
    bool Load(std::istream& in)
    {
        value.Load(in);
        return in && value >= 0;
    }
};

// An element whose Load answers the stream, deleted through its base.
struct Shape : ChainLink<Shape> {
    static int destroyed;
    virtual ~Shape() { ++destroyed; }
    std::istream& Load(std::istream& in) { return in; }
    void Save(std::ostream&) const {}
};
int Shape::destroyed = 0;

struct Circle : Shape {
    static int destroyed;
    ~Circle() override { ++destroyed; }
};
int Circle::destroyed = 0;

}  // namespace

TEST_F(ChainTest, AnElementThatRefusesItsDataFailsTheLoad)
{
    std::istringstream in(std::string("\x02\x00" "\x01\x00\x00\x00" "\xFF\xFF\xFF\xFF", 10));
    Chain<Checked> chain;
    EXPECT_FALSE(chain.Load(in));
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(chain.First(), nullptr);
}

TEST_F(ChainTest, ElementsAreDeletedThroughTheirVirtualDestructor)
{
    Shape::destroyed = Circle::destroyed = 0;
    {
        Chain<Shape> chain;
        chain.Append(new Circle);
        chain.Append(new Shape);
        chain.Append(new Circle);
        std::istringstream in(std::string("\x02\x00", 2));   // elements with an empty saved form
        EXPECT_TRUE(chain.Load(in));
    }
    EXPECT_EQ(Shape::destroyed, 5);
    EXPECT_EQ(Circle::destroyed, 2);
}

// A count of 65536 used to wrap to 0, leaving every element after it in the
// file to be read as the next section.
TEST_F(ChainTest, SaveOfMoreThan65535ElementsKeepsCountAndElementsInStep)
{
    Chain<Rec> chain;
    for (int32_t i = 0; i < 0x10000; ++i)
        chain.Append(new Rec(i));
    std::ostringstream out;
    EXPECT_FALSE(chain.Save(out));
    const std::string saved = out.str();
    ASSERT_EQ(saved.size(), 2u + 4u * 0xFFFF);
    EXPECT_EQ(saved.substr(0, 2), "\xFF\xFF");

    std::istringstream in(saved);
    Chain<Rec> loaded;
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.Last()->value, 0xFFFE);
}
