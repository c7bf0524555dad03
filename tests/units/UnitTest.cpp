// UnitTest.cpp: the unit base class: a new unit, its label and horizon, its
// platform key, moving it between side records (and the current record with
// it), leaving its record when deleted, and the unit record: a round trip
// byte for byte through a test unit class with label and weather rebuilt,
// and every cut refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "core/EventList.h"
#include "units/SideRecords.h"
#include "units/UnitTestSupport.h"
#include "world/Game2UI2.h"

namespace {

using namespace unittest;

// Side contact records as the tests keep them: a key and the own units.
struct FakeRecord {
    uint16_t key = 0;
    std::vector<uint16_t> units;
};

struct FakeSides {
    static FakeSides*& Active() { static FakeSides* active = nullptr; return active; }
    FakeRecord records[3] = {{1, {}}, {2, {}}, {3, {}}};
    FakeRecord* current = nullptr;
    uint16_t focusUnit = 0;
};

FakeRecord& Of(SideContacts& r) { return reinterpret_cast<FakeRecord&>(r); }
SideContacts* AsRecord(FakeRecord& r) { return reinterpret_cast<SideContacts*>(&r); }

SideContacts* FindFake(uint16_t key)
{
    for (FakeRecord& r : FakeSides::Active()->records) {
        if (r.key == key)
            return AsRecord(r);
    }
    return nullptr;
}

SideCalls FakeCalls()
{
    SideCalls calls;
    calls.getKey = [](const SideContacts& r) { return reinterpret_cast<const FakeRecord&>(r).key; };
    calls.addUnit = [](SideContacts& r, Unit& u) { Of(r).units.push_back(u.GetID()); };
    calls.removeUnit = [](SideContacts& r, Unit& u) {
        auto& units = Of(r).units;
        units.erase(std::remove(units.begin(), units.end(), u.GetID()), units.end());
    };
    calls.sideExists = [](uint16_t) { return true; };
    calls.isFocusUnit = [](uint16_t id) { return id == FakeSides::Active()->focusUnit; };
    return calls;
}

gam2arena::SideListCalls FakeLists()
{
    gam2arena::SideListCalls lists;
    lists.findSide = &FindFake;
    lists.getCurrentSide = [] { return FakeSides::Active()->current ? AsRecord(*FakeSides::Active()->current) : nullptr; };
    lists.setCurrentSide = [](SideContacts* r) { FakeSides::Active()->current = r ? &Of(*r) : nullptr; };
    return lists;
}

class UnitSides : public testing::Test {
protected:
    UnitSides()
    {
        FakeSides::Active() = &sides;
        previous = SetSideCalls(FakeCalls());
        previousLists = gam2arena::SetSideListCalls(FakeLists());
    }
    ~UnitSides() override
    {
        gam2arena::SetSideListCalls(previousLists);
        SetSideCalls(previous);
        FakeSides::Active() = nullptr;
        Game2UI2::SetCurrentSideID(0);
    }
    FakeSides sides;
    SideCalls previous;
    gam2arena::SideListCalls previousLists;
};

Event* MakeCodedEvent(uint8_t code)
{
    return code == 0x70 ? new TestEvent(0x70) : nullptr;
}

// A test unit with every field of the unit record holding something.
void FillUnit(TestUnit& u)
{
    u.SetKey(1042);
    u.classWord = 0xA55A;
    u.noiseValue = 11;
    u.rearNoiseValue = 12;
    auto* jam = new SignatureRecord(77);
    jam->SetBandLevel(0x5, -20);
    u.JammingEntries().Insert(jam);
    u.SetAnnexID(305);
    u.SetClassName("Tarsk");
    u.field6 = 6;
    u.sideEntryID = 0;
    u.SetFlags(0x4000 | 0x20);
    u.field7 = 7;
    u.SetName("Tarsk Voyager");
    u.SetAltitude(0);
    auto* option = new TimedRecord;
    option->idD = 300;
    option->mountKey = 2;
    option->quantity = 3;
    option->value16 = 40;
    u.AddTargetingRecord(option);
    auto* tally = new TargetTally(301);
    TestUnit weapon('W');
    weapon.SetKey(900);
    tally->AddWeapon(weapon);
    u.WeaponTallies().Insert(tally);
    u.field8 = 8;
    u.field1 = 0x01010101;
    u.field2 = 2;
    u.field3 = 3;
    u.plants.Insert(MakeDieselPlant(1));
    u.plantKey = 1;
    u.speed = 12;
    u.course = 90 * ANGLE_PER_DEGREE;
    auto* link = new DatalinkRecord(3);
    link->SetKey(5);
    link->linkRange = 80;
    u.datalinks.Insert(link);
    auto* quiet = new DatalinkRecord(3);
    quiet->SetKey(6);
    quiet->linkRange = 150;
    quiet->channelFlags = DatalinkRecord::FLAG_NEEDS_LINK_FLAG;
    u.datalinks.Insert(quiet);
    u.SetPosition(LatLonPoint(72 * ANGLE_PER_DEGREE, 2 * ANGLE_PER_DEGREE));
    u.SetSideID(2);
}

}  // namespace

TEST(Unit, NewUnitDefaults)
{
    const TestUnit u;
    EXPECT_EQ(u.GetFlags(), 0x100u);
    EXPECT_STREQ(u.GetLabel(), "     ");
    EXPECT_EQ(u.GetID(), 0);
    EXPECT_STREQ(u.GetName().Text(), "");
    EXPECT_EQ(u.GetHorizon(), 0);
    EXPECT_EQ(u.GetDamagePercent(), 100);
    EXPECT_EQ(u.GetTargetMask(), 0u);
}

TEST(Unit, LabelInFourParts)
{
    TestUnit u;
    u.SetKey(1042);
    u.SetClassName("Tarsk");
    u.course = 90 * ANGLE_PER_DEGREE + 5;
    u.speed = 12;
    u.UpdateLabel();
    const char* label = u.GetLabel();
    EXPECT_STREQ(label, "T042 ");
    EXPECT_STREQ(label + 6, "090 ");
    EXPECT_STREQ(label + 11, "12   ");
    EXPECT_STREQ(label + 17, "    ");

    TestUnit plain;
    plain.SetKey(7);
    plain.UpdateLabel();
    EXPECT_STREQ(plain.GetLabel(), " 007 ");     // no class name: a blank
    EXPECT_STREQ(plain.GetLabel() + 6, "000 ");  // course 0
    EXPECT_STREQ(plain.GetLabel() + 11, "0    ");
}

TEST(Unit, SetSpeedRebuildsTheLabel)
{
    TestUnit u;
    u.plants.Insert(MakeDieselPlant(1));
    u.plants.First()->hasFuel = 1;
    EXPECT_EQ(u.SetSpeed(20, 0), 20);
    EXPECT_STREQ(u.GetLabel() + 11, "20   ");
}

TEST(Unit, HorizonRoundsToTheNearest)
{
    struct Row { int16_t altitude; uint16_t horizon; };
    const Row rows[] = {
        {-10, 0}, {0, 0}, {1, 13},    // 13.04
        {3, 23},                      // 22.58 rounds up
        {1000, 412}, {32767, 2360},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.altitude);
        EXPECT_EQ(Unit::HorizonOf(r.altitude), r.horizon);
        TestUnit u;
        u.SetAltitude(r.altitude);
        u.UpdateSensorReach();
        EXPECT_EQ(u.GetHorizon(), r.horizon);
    }
}

TEST(Unit, PlatformKeyAndFlags)
{
    TestUnit u('U');
    u.SetAnnexID(0x0203);
    EXPECT_EQ(u.GetPlatformKey(), 0x550203u);
    u.SetFlags(0x20000);
    EXPECT_TRUE(u.TestFlags(0x20100));
    u.ClearFlags(0x100);
    EXPECT_FALSE(u.TestFlags(0x100));
    u.DisableDataLink();
    u.SetLinkActive();
    EXPECT_EQ(u.GetFlags(), 0x20080u);
}

TEST_F(UnitSides, SetSideMovesTheUnitAndTheCurrentRecord)
{
    TestUnit u;
    u.SetKey(10);
    u.SetSideID(4);
    u.SetSide(*AsRecord(sides.records[0]), 0);
    EXPECT_EQ(u.sideEntryID, 1);
    EXPECT_EQ(sides.records[0].units, std::vector<uint16_t>{10});

    sides.current = &sides.records[0];
    Game2UI2::SetCurrentSideID(4);
    sides.focusUnit = 99;            // not the focus unit: the current record stays
    u.SetSide(*AsRecord(sides.records[1]), 33);
    EXPECT_EQ(sides.current, &sides.records[0]);
    EXPECT_EQ(u.sideEntryID, 2);
    EXPECT_EQ(u.attachedID, 33);
    EXPECT_TRUE(sides.records[0].units.empty());
    EXPECT_EQ(sides.records[1].units, std::vector<uint16_t>{10});

    sides.current = &sides.records[1];
    sides.focusUnit = 10;            // the player's focus unit takes the current record along
    u.SetSide(*AsRecord(sides.records[2]), 0);
    EXPECT_EQ(sides.current, &sides.records[2]);
}

TEST_F(UnitSides, DeletedUnitLeavesItsRecord)
{
    auto* u = new TestUnit;
    u->SetKey(12);
    u->SetSide(*AsRecord(sides.records[2]), 0);
    delete u;
    EXPECT_TRUE(sides.records[2].units.empty());
}

TEST(UnitRecord, RoundTripsByteForByte)
{
    UnitWorld world;
    const EventFactory previous = SetEventFactory(&MakeCodedEvent);
    TestUnit u;
    FillUnit(u);
    u.UpdateSensorReach();
    u.UpdateLabel();
    const std::string bytes = SavedRecord(u);

    TestUnit back;
    std::istringstream in(bytes.substr(1));   // the list loader reads the letter
    ASSERT_TRUE(back.LoadFields(in));
    EXPECT_EQ(in.peek(), EOF);
    EXPECT_EQ(SavedRecord(back), bytes);
    EXPECT_EQ(back.GetID(), 1042);
    EXPECT_EQ(back.classWord, 0xA55A);
    EXPECT_STREQ(back.GetName().Text(), "Tarsk Voyager");
    EXPECT_EQ(back.GetFlags(), u.GetFlags());
    EXPECT_STREQ(back.GetLabel(), "T042 ");   // rebuilt, not read
    EXPECT_STREQ(back.GetLabel() + 6, "090 ");
    EXPECT_EQ(back.GetLinkReach1(), 150);
    EXPECT_EQ(back.GetLinkReach0(), 80);
    ASSERT_NE(back.TargetingRecords().Find(300), nullptr);
    ASSERT_NE(back.WeaponTallies().Find(301), nullptr);
    ASSERT_NE(back.JammingEntries().Find(77), nullptr);
    EXPECT_EQ(back.JammingEntries().Find(77)->GetBandLevel(2), -20);
    SetEventFactory(previous);
}

TEST(UnitRecord, EveryCutIsRefused)
{
    UnitWorld world;
    TestUnit u;
    FillUnit(u);
    const std::string bytes = SavedRecord(u).substr(1);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        TestUnit back;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(back.LoadFields(in));
        EXPECT_TRUE(in.fail());
    }
}
