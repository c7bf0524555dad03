// ContactStatusTest.cpp: how units and contacts show in the information
// windows: the status panel (own unit or contact, no selection), the contact's
// name, tag, display line, size, condition and time texts, its sensor list,
// group rosters and facility lists, and the status time format.
#include <gtest/gtest.h>

#include <string>

#include "ContactWorld.h"
#include "units/Group.h"
#include "units/Status.h"
#include "units/Weapon.h"
#include "world/game2ui.h"

namespace {

using contacttest::ContactWorld;
using contacttest::FakeUnit;

const LatLonPoint SEA{60 * 245760, 2 * 245760};

std::string Words(int32_t number)
{
    std::string words = TheResourceLoader->Get(number);
    TheResourceLoader->Free(number);
    return words;
}

// A unit that fills its own panel.
class OwnUnit : public FakeUnit {
public:
    OwnUnit(uint16_t id) : FakeUnit(id, 'S', 1) {}
    void GetStatus(UnitStatus& status) const override
    {
        std::snprintf(status.lines[0], UnitStatus::LINE_SIZE, "own view");
        status.lineCount = 9;
    }
};

// An air base: a group by another letter.
class TestBase : public Group {
public:
    char GetTypeLetter() const override { return 'B'; }
};

class ContactStatus : public testing::Test {
protected:
    ContactStatus() : record(world.AddRecord(3))
    {
        world.state.SetStartDate(1991, 6, 1, 8, 0, 0);
        gam2arena::SetCurrentSide(&record);
        InstallContactTexts();
    }
    ~ContactStatus() override
    {
        SetContactTextCalls(ContactTextCalls{});
        gam2arena::SetCurrentSide(nullptr);
        game2ui::ClearContactsOfPlayer();
    }

    // A held contact on a new surface unit, seen at game time 3725.
    Contact& Held(uint16_t id, char letter = 'S')
    {
        world.SetTime(3725);
        Contact* c = new Contact(world.AddUnit(id, letter, 1, SEA), 1);
        record.MergeContact(&c);
        return *record.GetContact(id);
    }
    UnitStatus Panel(uint16_t id)
    {
        UnitStatus status;
        ClearUnitStatus(status);
        GetUnitStatusText(id, &status);
        return status;
    }

    ContactWorld world;
    SideContacts& record;
};

TEST_F(ContactStatus, ClearingEmptiesEveryLine)
{
    UnitStatus status;
    for (auto& line : status.lines)
        line[0] = 'x';
    status.afterLines = 7;
    ClearUnitStatus(status);
    for (const auto& line : status.lines)
        EXPECT_EQ(line[0], '\0');
    EXPECT_EQ(status.afterLines, 0);
    EXPECT_EQ(status.lineCount, 15);
}

TEST_F(ContactStatus, NoSelectionShowsItsTextInLine13)
{
    const UnitStatus status = Panel(0);
    EXPECT_STREQ(status.lines[13], "No unit selected");
    EXPECT_EQ(status.lineCount, 0);
}

TEST_F(ContactStatus, OwnUnitSpeaksForItselfOthersAsContacts)
{
    auto* own = new OwnUnit(20);
    world.units.Insert(own);
    Contact* c = new Contact(*own, 1);
    record.MergeContact(&c);
    record.GetContact(20)->contactNumber = 4;

    game2ui::SetContactOfPlayer(20, true);
    UnitStatus status = Panel(20);
    EXPECT_STREQ(status.lines[0], "own view");
    EXPECT_EQ(status.lineCount, 9);

    game2ui::SetContactOfPlayer(20, false);
    status = Panel(20);
    EXPECT_STREQ(status.lines[0], "Surface Vessel-4");
    EXPECT_EQ(status.lineCount, 77);

    EXPECT_EQ(Panel(999).lineCount, 0);       // no contact on it
    game2ui::SetContactOfPlayer(999, true);
    EXPECT_EQ(Panel(999).lineCount, 0);       // own, but gone
    game2ui::SetContactOfPlayer(999, false);
    gam2arena::SetCurrentSide(nullptr);
    EXPECT_EQ(Panel(20).lineCount, 15);       // no side: untouched
}

TEST_F(ContactStatus, NameAndTagOfUnidentifiedAndIdentified)
{
    Contact& c = Held(1234);
    c.contactNumber = 7;
    world.units.Find(1234)->SetName("Kestrel");
    char name[Contact::NAME_TEXT_SIZE];
    char tag[32];
    c.GetName(name);
    c.GetShortTag(tag);
    EXPECT_STREQ(name, "Surface Vessel-7");
    EXPECT_STREQ(tag, "S007 ");
    EXPECT_STREQ(Panel(1234).lines[0], "Surface Vessel-7");

    c.identifiedAs = 1234;
    c.name.Set("Kestrel");
    c.GetName(name);
    c.GetShortTag(tag);
    EXPECT_STREQ(name, "Kestrel");
    EXPECT_STREQ(tag, "K234 ");   // the unit's letter and id modulo 1000
}

TEST_F(ContactStatus, DisplayLineColumns)
{
    Contact& c = Held(10);
    c.contactNumber = 1;
    char band[64] = {};
    c.GetAltitudeBandName(band);
    const std::string band4 = std::string(band).substr(0, 4);
    struct Row { uint16_t known; uint16_t course, speed; std::string line; };
    const Row rows[] = {
        {0, 90, 12, "S001 XXX XXXXXX "},
        {ContactKnown::COURSE, 0, 12, "S001 000 XXXXXX "},
        {ContactKnown::COURSE | ContactKnown::SPEED, 5, 12, "S001 005   12 XXX "},
        {ContactKnown::COURSE | ContactKnown::SPEED | ContactKnown::ALTITUDE, 275, 9, "S001 275    9 " + band4 + " "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        c.knownBits = r.known;
        c.course = r.course;
        c.speed = r.speed;
        char line[32];
        c.GetDisplayLine(line);
        EXPECT_EQ(std::string(line), r.line);
    }
    c.GetDisplayLine(nullptr);   // ignored
}

TEST_F(ContactStatus, SizeTextBySizeClassAndDetectionKind)
{
    Contact& c = Held(10);
    struct Row { uint8_t sizeClass; uint16_t identified; uint32_t kind; int32_t text; };
    const Row rows[] = {
        {0, 0, 4, 0x7B01B2},  {1, 0, 4, 0x7B01A3}, {16, 0, 4, 0x7B01A7},
        {2, 0, 6, 0x7B01A9},  {8, 0, 6, 0x7B01AB}, {2, 0, 1, 0x7B01AE},
        {2, 10, 6, 0x7B01AE}, {4, 10, 4, 0x7B01AF},
        {11, 0, 4, 0x7B01B2},  // an altitude band from a sonobuoy line: used to be fatal
        {3, 10, 1, 0x7B01B2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int{r.sizeClass} << " kind " << r.kind);
        c.sizeClass = r.sizeClass;
        c.identifiedAs = r.identified;
        c.detectionKind = r.kind;
        EXPECT_EQ(c.GetSizeText(), r.text);
        EXPECT_EQ(std::string(Panel(10).lines[25]), Words(r.text));
    }
}

TEST_F(ContactStatus, ConditionTexts)
{
    Contact& c = Held(10);
    struct Row { uint32_t bits; uint32_t mask; std::string text; };
    const Row rows[] = {
        {0, 1, "No damage seen"},
        {2, 1, "On Fire"},
        {1 | 2, 1, "Sinking, On Fire"},
        {4, 1, "Damaged"},
        {8, 1, "Slowed"},
        {8, 4, "Dead in the water"},
        {8, 0x60, ""},
        {8 | 2, 0x60, "On Fire"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bits);
        c.conditionBits = r.bits;
        c.targetMask = r.mask;
        EXPECT_EQ(std::string(Panel(10).lines[22]), r.text);
    }
}

TEST_F(ContactStatus, PanelFigures)
{
    Contact& c = Held(10);
    c.knownBits = ContactKnown::COURSE;
    c.course = 45;
    c.speed = 20;
    c.statusValue = 3;
    c.sideId = 0;
    const UnitStatus status = Panel(10);
    EXPECT_STREQ(status.lines[2], "Unknown side");
    EXPECT_STREQ(status.lines[4], "45");
    EXPECT_STREQ(status.lines[5], "0");      // speed not known
    EXPECT_STREQ(status.lines[6], "Altitude unknown");
    EXPECT_STREQ(status.lines[18], "09:02:05");
    EXPECT_STREQ(status.lines[20], "3");

    ContactCalls calls = SetContactCalls(ContactCalls{});
    calls.getBaseName = [](uint16_t side) -> const char* { return side == 2 ? "Northern Fleet" : nullptr; };
    SetContactCalls(calls);
    struct Row { uint8_t side; const char* text; };
    for (const Row& r : {Row{2, "Northern Fleet"}, Row{5, ""}}) {   // 5: no such side
        c.sideId = r.side;
        EXPECT_STREQ(Panel(10).lines[2], r.text);
    }
}

TEST_F(ContactStatus, TimeToGoOnlyForALiveWeaponOnAnOwnTarget)
{
    auto* weapon = new Weapon(0);
    weapon->SetKey(50);
    weapon->timeToGo = 3725;
    weapon->targetID = 20;
    world.units.Insert(weapon);
    Contact* c = new Contact(*weapon, 1);
    record.MergeContact(&c);
    record.GetContact(50)->typeLetter = 'W';

    EXPECT_STREQ(Panel(50).lines[17], "");   // target not the player's
    game2ui::SetContactOfPlayer(20, true);
    EXPECT_STREQ(Panel(50).lines[17], "01:02:05");
    world.units.Remove(weapon);
    weapon->ForgetMemberships();
    delete weapon;
    EXPECT_STREQ(Panel(50).lines[17], "");   // the weapon is gone
}

TEST_F(ContactStatus, SensorListMarksTheLatest)
{
    Contact& c = Held(10);
    c.sensorsEver.Insert(new IDNode(5));
    c.sensorsEver.Insert(new IDNode(6));
    c.sensorsLatest.Insert(new IDNode(6));
    char text[256];
    GetUnitSensorText(10, text, sizeof text);
    const std::string blank(44, ' ');
    EXPECT_EQ(std::string(text), " " + blank + "\n*" + blank + "\n");
    GetUnitSensorText(10, text, 10);
    EXPECT_EQ(std::string(text), " " + std::string(8, ' '));   // cut and terminated

    GetUnitSensorText(999, text, sizeof text);
    EXPECT_STREQ(text, "No sensor information");
    GetUnitSensorText(0, text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST_F(ContactStatus, WeaponsListOutsideTheViewOrGone)
{
    char text[64] = "x";
    GetUnitWeaponsText(0, text, sizeof text);
    EXPECT_STREQ(text, "");
    GetUnitWeaponsText(10, text, sizeof text);
    EXPECT_STREQ(text, "No weapons information");
    game2ui::SetContactOfPlayer(10, true);
    GetUnitWeaponsText(10, text, sizeof text);
    EXPECT_STREQ(text, "Unit no longer exists");
}

TEST_F(ContactStatus, RostersAndFacilityLists)
{
    auto* group = new Group();
    group->SetKey(70);
    world.units.Insert(group);
    auto* base = new TestBase();
    base->SetKey(71);
    world.units.Insert(base);
    world.AddUnit(11, 'S', 1).SetName("Alpha");
    world.AddUnit(12, 'S', 1).SetName("Bravo");
    world.AddUnit(13, 'F', 1).SetName("Depot");
    world.AddUnit(14, 'P', 1).SetName("Hawk");
    char text[64];

    GetGroupRosterText(70, text, sizeof text);
    EXPECT_STREQ(text, "");                         // no members: only the terminator
    for (uint16_t id : {11, 12, 99})                // 99 no longer exists
        group->members.Insert(new GroupEntry(id));
    base->members.Insert(new GroupEntry(14));
    GetBaseFacilitiesText(71, text, sizeof text);
    EXPECT_STREQ(text, "");                         // aircraft only
    base->members.Insert(new GroupEntry(13));

    struct Row { void (*list)(uint16_t, char*, int32_t); uint16_t id; int32_t size; const char* text; };
    const Row rows[] = {
        {GetGroupRosterText, 70, 64, "Alpha\nBravo\n"},
        {GetGroupRosterText, 70, 8, "Alpha\nB"},
        {GetGroupRosterText, 70, 1, ""},
        {GetGroupRosterText, 0, 64, ""},
        {GetGroupRosterText, 11, 64, ""},          // not a group
        {GetGroupRosterText, 71, 64, ""},          // a base is not a group
        {GetBaseFacilitiesText, 71, 64, "Depot\n"},
        {GetBaseFacilitiesText, 71, 4, "Dep"},
        {GetBaseFacilitiesText, 70, 64, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.id << " size " << r.size);
        std::fill(std::begin(text), std::end(text), 'x');
        r.list(r.id, text, r.size);
        EXPECT_STREQ(text, r.text);
    }
}

TEST(FormatStatusTime, HoursMinutesSeconds)
{
    struct Row { int32_t seconds; const char* text; };
    const Row rows[] = {
        {0, "0:00:00"}, {3725, "1:02:05"}, {36000, "10:00:00"}, {45296, "12:34:56"}, {-5, "0:00:00"},
    };
    for (const Row& r : rows) {
        char text[32];
        FormatStatusTime(r.seconds, text);
        EXPECT_STREQ(text, r.text);
    }
}

}  // namespace
