// ContactReportTest.cpp: the contact report: its lines for new, identified,
// sided, dropped and turning contacts, the level and type letter it is posted
// with, what it leaves out (own weapons, unchanged contacts) and the header
// with the show-all setting.
#include <gtest/gtest.h>

#include <string>

#include "ContactWorld.h"
#include "world/game2ui.h"

namespace {

using contacttest::ContactWorld;
using contacttest::FakeUnit;

const LatLonPoint SEA{60 * 245760, 2 * 245760};

class ContactReport : public testing::Test {
protected:
    ContactReport() : record(world.AddRecord(3))
    {
        world.state.SetStartDate(1991, 6, 1, 8, 0, 0);
        FakeUnit& observer = world.AddUnit(900, 'S', 1, SEA);
        observer.SetName("Vigil");
    }
    ~ContactReport() override { game2ui::SetShowAll(false); }

    // A held contact on a new unit with these change bits.
    Contact& Held(uint16_t id, char letter, uint32_t mask, uint16_t changes)
    {
        world.SetTime(3725);   // 09:02:05
        Contact* c = new Contact(world.AddUnit(id, letter, mask, SEA), 1);
        record.MergeContact(&c);
        Contact& held = *record.GetContact(id);
        held.changeBits = changes;
        held.observerId = 900;
        return held;
    }

    ContactWorld world;
    SideContacts& record;
};

TEST_F(ContactReport, ANewContactGetsItsFullBlock)
{
    Contact& c = Held(10, 'S', 1, ContactChange::NEW);
    c.sizeClass = 8;
    c.sensorBitsLatest = (1u << 1) | (1u << 2);   // radar, visual
    record.ReportChanges(2);
    ASSERT_EQ(world.messages.size(), 1u);
    const contacttest::Message& m = world.messages[0];
    EXPECT_EQ(m.side, 2);
    EXPECT_EQ(m.level, 4u);
    EXPECT_EQ(m.letter, 'S');
    EXPECT_EQ(m.text,
              "New contact!\n"
              "Designated Surface Vessel-1\n"
              " Large surface contact\n"
              "  Detected by Vigil\n"
              "  Time: 09:02:05\n"
              "  Sensors: Radar, Visual\n"
              "\n");
}

TEST_F(ContactReport, ChangesGiveTheirLinesAndTheFirstLevelWins)
{
    Contact& sided = Held(20, 'U', 2, ContactChange::SIDE_KNOWN | ContactChange::IDENTIFIED);
    sided.sideId = 7;   // the relation answer for side 7 is hostile
    sided.identifiedAs = 12;
    sided.name.Set("Skarn");
    Contact& lost = Held(21, 'P', 4, ContactChange::DROPPED | ContactChange::COURSE);
    lost.observerId = 0;
    record.ReportChanges(2);
    ASSERT_EQ(world.messages.size(), 1u);
    EXPECT_EQ(world.messages[0].level, 8u);
    EXPECT_EQ(world.messages[0].text,
              "Skarn\n"
              "  Identified\n"
              "  Determined as Hostile\n"
              "  Detected by Vigil\n"
              "  Time: 09:02:05\n"
              "  Sensors: none\n"
              "\n"
              "Aircraft-2\n"
              " Size unknown air contact\n"   // a dropped contact also shows its size
              "  Contact lost\n"
              "  Course change noted\n"
              "  Sensors: none\n"
              "\n");
}

TEST_F(ContactReport, ANewContactAlwaysReportsAtLevelFour)
{
    Held(30, 'P', 4, ContactChange::DROPPED);
    Contact& c = Held(31, 'W', 0x800, ContactChange::NEW | ContactChange::IDENTIFIED);
    c.sizeClass = 5;   // no such class
    record.ReportChanges(2);
    ASSERT_EQ(world.messages.size(), 1u);
    EXPECT_EQ(world.messages[0].level, 4u);
    EXPECT_EQ(world.messages[0].letter, 'G');   // a torpedo
    EXPECT_NE(world.messages[0].text.find(" Size unknown torpedo\n"), std::string::npos);
}

TEST_F(ContactReport, OwnWeaponsAndQuietContactsAreLeftOut)
{
    Contact& own = Held(40, 'W', 8, ContactChange::NEW);
    own.sideId = 2;
    Held(41, 'S', 1, ContactChange::AREA_APPEARED);   // not a reported change
    record.ReportChanges(2);
    EXPECT_TRUE(world.messages.empty());
    record.ReportChanges(0);   // no player side
    record.ReportChanges(12);  // no such side
    EXPECT_TRUE(world.messages.empty());
}

TEST_F(ContactReport, TheShowAllHeaderComesOnce)
{
    game2ui::SetShowAll(true);
    Held(50, 'S', 1, ContactChange::SIDE_KNOWN);
    Held(51, 'S', 1, ContactChange::SIDE_KNOWN);
    Held(52, 'S', 1, ContactChange::COURSE);   // a turn alone is not reported
    record.ReportChanges(2);
    ASSERT_EQ(world.messages.size(), 1u);
    const std::string& text = world.messages[0].text;
    EXPECT_EQ(text.rfind("Contact report for side 2\n", 0), 0u);
    EXPECT_EQ(text.find("Contact report", 1), std::string::npos);
    EXPECT_EQ(text.find("Surface Vessel-3"), std::string::npos);
}

}  // namespace
