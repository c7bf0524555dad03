// UnitListTest.cpp: the unit list of the arena section: the empty list, units
// back in key order whatever their creation order, the factory's table of
// type letters, every byte that names no class refused as fatal with nothing
// joining the list, a damaged record refusing the whole load, and the arena's
// unit lookup.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/gam2arena.h"
#include "support/Bytes.h"
#include "units/SideRecords.h"
#include "units/UnitFactory.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

constexpr char UNKNOWN_LETTER[] =
    "A saved unit has a type letter that no unit class reads. The file cannot be loaded.";

// Registers the test unit class under 'S' and 'U' while it lives.
class RegisteredUnits {
public:
    RegisteredUnits()
    {
        ship = UnitFactory::Register('S', &MakeTestUnit<'S'>);
        sub = UnitFactory::Register('U', &MakeTestUnit<'U'>);
    }
    ~RegisteredUnits()
    {
        UnitFactory::Register('S', ship);
        UnitFactory::Register('U', sub);
    }

private:
    UnitFactory::Maker ship;
    UnitFactory::Maker sub;
};

std::string Saved(const UnitList& list)
{
    std::ostringstream out;
    list.Save(out);
    return out.str();
}

// A list of three units created out of key order.
void FillList(UnitList& list)
{
    for (uint16_t key : {30, 10, 20}) {
        auto* u = new TestUnit(key == 20 ? 'U' : 'S');
        u->SetKey(key);
        u->classWord = key;
        list.Insert(u);
    }
}

}  // namespace

TEST(UnitList, EmptyListIsTwoZeroBytes)
{
    UnitList list;
    EXPECT_EQ(Saved(list), Bytes({0x00, 0x00}));
    UnitList back;
    std::istringstream in(Saved(list));
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.First(), nullptr);
}

TEST(UnitList, UnitsComeBackInKeyOrder)
{
    UnitWorld world;
    RegisteredUnits registered;
    UnitList list;
    FillList(list);
    const std::string bytes = Saved(list);
    EXPECT_EQ(bytes.substr(0, 3), Bytes({0x03, 0x00, 'S'}));

    UnitList back;
    auto* kept = new TestUnit;
    kept->SetKey(5);
    back.Insert(kept);   // a load adds to what the list holds
    std::istringstream in(bytes);
    ASSERT_TRUE(back.Load(in));
    std::vector<uint16_t> keys;
    for (Unit* u = back.First(); u != nullptr; u = u->GetNext())
        keys.push_back(u->GetID());
    EXPECT_EQ(keys, (std::vector<uint16_t>{5, 10, 20, 30}));
    EXPECT_EQ(back.Find(20)->GetTypeLetter(), 'U');
    EXPECT_EQ(static_cast<TestUnit*>(back.Find(30))->classWord, 30);
}

TEST(UnitFactory, NineLettersEachReachTheirMaker)
{
    RegisteredUnits registered;
    int letters = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const bool isLetter = UnitFactory::IsTypeLetter(static_cast<uint8_t>(byte));
        letters += isLetter ? 1 : 0;
        Unit* const u = UnitFactory::Create(static_cast<uint8_t>(byte));
        if (byte == 'S' || byte == 'U') {
            ASSERT_NE(u, nullptr);
            EXPECT_EQ(u->GetTypeLetter(), byte);
        } else {
            EXPECT_EQ(u, nullptr) << byte;   // other letters: no class built in yet
        }
        delete u;
    }
    EXPECT_EQ(letters, 9);
    for (char c : std::string("ABFGLPSUW"))
        EXPECT_TRUE(UnitFactory::IsTypeLetter(static_cast<uint8_t>(c))) << c;
    EXPECT_EQ(UnitFactory::Register('C', &MakeTestUnit<'C'>), nullptr);
    EXPECT_EQ(UnitFactory::Create('C'), nullptr);   // refused
}

TEST(UnitList, ALetterWithoutAClassIsFatalAndNothingJoins)
{
    UnitWorld world;
    RegisteredUnits registered;
    UnitList list;
    FillList(list);
    const std::string good = Saved(list);
    for (int letter : {int{'C'}, int{'a'}, int{'X'}, int{'G'}, 0, 0xFF}) {
        SCOPED_TRACE(letter);
        world.reports.Clear();
        // The first record whole, then a record of that letter.
        std::string bytes = good;
        bytes[0] = 2;
        const size_t second = 2 + SavedRecord(*list.First()).size();
        bytes.resize(second);
        bytes += static_cast<char>(letter);
        bytes += std::string(40, '\0');
        UnitList back;
        std::istringstream in(bytes);
        EXPECT_FALSE(back.Load(in));
        EXPECT_EQ(back.First(), nullptr);
        ASSERT_EQ(world.reports.fatals.size(), 1u);
        EXPECT_EQ(world.reports.fatals[0], UNKNOWN_LETTER);
    }
}

TEST(UnitList, ACutRecordRefusesTheWholeLoad)
{
    UnitWorld world;
    RegisteredUnits registered;
    UnitList list;
    FillList(list);
    const std::string bytes = Saved(list);
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        UnitList back;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(back.Load(in)) << cut;
        EXPECT_EQ(back.First(), nullptr) << cut;
    }
    UnitList tooMany;
    std::string announced = bytes;
    announced[0] = 100;   // 100 records, 3 in the stream
    std::istringstream in(announced);
    EXPECT_FALSE(tooMany.Load(in));
    EXPECT_EQ(tooMany.First(), nullptr);
    EXPECT_TRUE(world.reports.fatals.empty());
}

namespace {

int gRemovedFromSide = 0;

} // namespace

TEST(UnitList, ARefusedLoadLeavesTheSideRecordsAlone)
{
    UnitWorld world;
    RegisteredUnits registered;
    // One side record, which counts the units taken out of it.
    static int record = 0;
    gam2arena::SideListCalls lists;
    lists.findSide = [](uint16_t key) { return key == 4 ? reinterpret_cast<SideContacts*>(&record) : nullptr; };
    const gam2arena::SideListCalls previousLists = gam2arena::SetSideListCalls(lists);
    SideCalls calls;
    calls.removeUnit = [](SideContacts&, Unit&) { ++gRemovedFromSide; };
    const SideCalls previous = SetSideCalls(calls);
    UnitList list;
    FillList(list);
    for (Unit* u = list.First(); u != nullptr; u = u->GetNext())
        u->sideEntryID = 4;
    const std::string bytes = Saved(list);
    for (Unit* u = list.First(); u != nullptr; u = u->GetNext())
        u->ForgetMemberships();   // the saved units are not the game's
    gRemovedFromSide = 0;
    for (size_t cut = 1; cut < bytes.size(); cut += 5) {
        UnitList back;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(back.Load(in)) << cut;
    }
    EXPECT_EQ(gRemovedFromSide, 0);   // each refused unit used to leave record 4
    SetSideCalls(previous);
    gam2arena::SetSideListCalls(previousLists);
}

TEST(UnitList, ArenaLookup)
{
    EXPECT_EQ(gam2arena::FindUnit(10), nullptr);
    {
        UnitList list;
        FillList(list);
        EXPECT_EQ(UnitList::SetArenaList(&list), nullptr);
        ASSERT_NE(gam2arena::FindUnit(10), nullptr);
        EXPECT_EQ(gam2arena::FindUnit(10)->GetID(), 10);
        EXPECT_EQ(gam2arena::FindUnit(11), nullptr);
    }
    EXPECT_EQ(UnitList::GetArenaList(), nullptr);   // uninstalled with the list
    EXPECT_EQ(gam2arena::FindUnit(10), nullptr);
}
