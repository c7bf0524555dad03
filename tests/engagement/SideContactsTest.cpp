// SideContactsTest.cpp: a side's contact picture: numbering, fresh
// detections, own units and groups with their events, folding pictures
// together, the upkeep and ageing, selections, the split copy, the record
// list behind gam2arena, and the saved record, damaged ones refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ContactWorld.h"
#include "core/gam2arena.h"
#include "support/ReportCapture.h"
#include "world/Game2UI2.h"
#include "world/UncertainPoly.h"

namespace {

using contacttest::ContactWorld;
using contacttest::FakeUnit;
using Events = std::vector<std::pair<uint8_t, uint16_t>>;

const LatLonPoint SEA{60 * 245760, 2 * 245760};

class SideRecordTest : public testing::Test {
protected:
    SideRecordTest() : record(world.AddRecord(3)) {}

    // A fresh detection of a unit (made when absent) of that letter and mask.
    Contact* Detect(uint16_t id, char letter = 'S', uint32_t mask = 1)
    {
        Unit* u = gam2arena::FindUnit(id);
        if (u == nullptr)
            u = &world.AddUnit(id, letter, mask, SEA);
        return new Contact(*u, 1);
    }
    void Merge(Contact* c) { record.MergeContact(&c); }

    ContactWorld world;
    SideContacts& record;
};

TEST_F(SideRecordTest, NewContactsAreNumberedFromOne)
{
    Merge(Detect(10));
    Merge(Detect(11));
    ASSERT_NE(record.GetContact(10), nullptr);
    EXPECT_EQ(record.GetContact(10)->contactNumber, 1);
    EXPECT_EQ(record.GetContact(10)->changeBits, ContactChange::NEW);
    EXPECT_EQ(record.GetContact(11)->contactNumber, 2);
    Merge(Detect(10));   // merged, not numbered again
    EXPECT_EQ(record.lastContactNumber, 2);
}

TEST_F(SideRecordTest, NumbersPassAThousandUntilACollisionAboveIt)
{
    record.lastContactNumber = 998;
    EXPECT_EQ(record.NewContactNumber(), 999);
    EXPECT_EQ(record.NewContactNumber(), 1000);
    EXPECT_EQ(record.NewContactNumber(), 1001);
    // 1002 held: the search goes back to 1, then steps past the held 1.
    Merge(Detect(20));
    Merge(Detect(21));
    record.GetContact(20)->contactNumber = 1002;
    record.GetContact(21)->contactNumber = 1;
    record.lastContactNumber = 1001;
    EXPECT_EQ(record.NewContactNumber(), 2);
    // Below 1000 a collision only steps on.
    record.lastContactNumber = 0;
    EXPECT_EQ(record.NewContactNumber(), 2);
}

TEST_F(SideRecordTest, DetectionsOfOwnUnitsAreDiscarded)
{
    world.AddUnit(30, 'S', 1, SEA);
    record.AddUnit(30);
    Contact* fresh = Detect(30);
    fresh->identifiedAs = 5;   // even with news
    record.MergeContact(&fresh);
    EXPECT_EQ(fresh, nullptr);
    EXPECT_EQ(record.GetContact(30), nullptr);
}

TEST_F(SideRecordTest, OwnUnitsGroupsAndTheirEvents)
{
    FakeUnit& group = world.AddUnit(40, 'G', 0);
    group.group = true;
    Merge(Detect(41));
    world.TakeEvents();
    record.AddUnit(40);
    record.AddUnit(41);   // its contact goes
    EXPECT_EQ(record.GetContact(41), nullptr);
    EXPECT_NE(record.ownGroups.Find(40), nullptr);
    EXPECT_EQ(record.ownGroups.Find(41), nullptr);
    EXPECT_EQ(record.ownUnitCount, 2);
    EXPECT_EQ(world.TakeEvents(), (Events{{0x55, 3}, {0x55, 3}}));
    record.AddUnit(40);   // already own: nothing
    EXPECT_EQ(record.ownUnitCount, 2);
    EXPECT_TRUE(world.TakeEvents().empty());
    record.RemoveUnit(40);
    EXPECT_EQ(record.ownGroups.Find(40), nullptr);
    EXPECT_EQ(world.TakeEvents(), (Events{{0x55, 3}}));
    record.RemoveUnit(41);   // the last one
    EXPECT_EQ(record.ownUnitCount, 0);
    EXPECT_EQ(world.TakeEvents(), (Events{{0x50, 3}}));
}

TEST_F(SideRecordTest, UpkeepDropsRenewsAndClears)
{
    Merge(Detect(50));
    Merge(Detect(51, 'P', 4));
    Contact* dropped = record.GetContact(50);
    dropped->changeBits |= ContactChange::DROPPED;
    Contact* kept = record.GetContact(51);
    kept->SetFirstDetection(20);
    kept->SetArea(contacttest::SquareArea(SEA, 2));
    world.SetTime(100);
    record.UpdateContacts();
    EXPECT_EQ(record.GetContact(50), nullptr);
    EXPECT_EQ(kept->changeBits, 0);
    EXPECT_EQ(kept->threat[2], 1000);   // a new aircraft
    EXPECT_EQ(kept->holdUntil.Get(), 120u);
    EXPECT_EQ(kept->hadArea, 1);
}

// Ageing grows the areas of contacts not seen for more than 30 seconds by
// their speed over the elapsed time.
TEST_F(SideRecordTest, UnseenContactsGrowByTheirSpeed)
{
    struct Row { char letter; uint32_t mask; uint16_t knownSpeed; int32_t growth; };
    const Row rows[] = {
        {'P', 4, 0, 25590},   // 1500 kn assumed
        {'S', 1, 0, 675},
        {'U', 2, 0, 585},
        {'U', 0x12, 0, 585},  // bit 0x10 ignored
        {'S', 1, 20, 330},    // known speed
        {'F', 0x20, 0, 0},
    };
    uint16_t id = 60;
    for (const Row& r : rows) {
        world.SetTime(1000);
        Contact* c = Detect(id, r.letter, r.mask);
        if (r.knownSpeed) {
            c->knownBits |= ContactKnown::SPEED;
            c->speed = r.knownSpeed;
        }
        Merge(c);
        ++id;
    }
    world.SetTime(1030);   // exactly 30 seconds: none grows
    record.AgeContacts(15);
    for (const Contact* c = record.contacts.First(); c != nullptr; c = c->GetNext())
        EXPECT_EQ(c->GetArea(), nullptr);
    world.SetTime(1031);
    record.AgeContacts(15);
    id = 60;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.letter);
        const Contact* c = record.GetContact(id++);
        if (r.growth == 0) {
            EXPECT_EQ(c->GetArea(), nullptr);
            continue;
        }
        ASSERT_NE(c->GetArea(), nullptr);
        const Uncertain_Poly expected(SEA, r.growth);
        for (int16_t i = 0; i < expected.GetPointCount(); ++i)
            EXPECT_EQ(c->GetArea()->GetLatLonPoint(i), expected.GetLatLonPoint(i));
        EXPECT_EQ(c->PositionObject::GetPosition(), c->GetArea()->Get_Center());
    }
    // A second pass grows the areas held.
    const LatLonPoint before = record.GetContact(61)->GetArea()->GetLatLonPoint(0);
    record.AgeContacts(15);
    EXPECT_GT(record.GetContact(61)->GetArea()->GetLatLonPoint(0).lat, before.lat);
}

TEST_F(SideRecordTest, AbsorbTakesContactsUnitsAndSelections)
{
    SideContacts& other = world.AddRecord(4);
    FakeUnit& joining = world.AddUnit(70, 'S', 1, SEA);
    joining.sideEntryID = 4;
    other.AddUnit(70);
    other.selectedUnits.Insert(new IDNode(70));
    Contact* c = Detect(71);
    other.MergeContact(&c);
    other.selectedContacts.Insert(new IDNode(71));
    Merge(Detect(70));   // this record held a contact on the joining unit
    world.TakeEvents();
    record.Absorb(&other);
    EXPECT_NE(record.ownUnits.Find(70), nullptr);
    EXPECT_EQ(joining.sideEntryID, 3);
    EXPECT_EQ(record.GetContact(70), nullptr);
    EXPECT_NE(record.GetContact(71), nullptr);
    EXPECT_EQ(other.contacts.First(), nullptr);
    EXPECT_NE(record.selectedUnits.Find(70), nullptr);
    EXPECT_NE(record.selectedContacts.Find(71), nullptr);
    const Events events = world.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), (std::pair<uint8_t, uint16_t>{0x55, 3}));
    record.Absorb(nullptr);
    EXPECT_EQ(world.TakeEvents(), (Events{{0x55, 3}}));
    // Folded into itself (a handler given one key twice): nothing changes.
    const uint16_t number = record.GetContact(71)->contactNumber;
    record.Absorb(&record);
    ASSERT_NE(record.GetContact(71), nullptr);
    EXPECT_EQ(record.GetContact(71)->contactNumber, number);
    EXPECT_EQ(world.TakeEvents(), (Events{{0x55, 3}}));
}

TEST_F(SideRecordTest, OwnUnitsAreRevealedWithoutAReport)
{
    FakeUnit& ship = world.AddUnit(80, 'S', 1, SEA);
    ship.SetSideID(2);
    ship.SetAnnexID(123);
    ship.sizeClass = 4;
    ship.speed = 18;
    ship.course = 90 * 245760;
    FakeUnit& group = world.AddUnit(81, 'G', 0, SEA);
    group.group = true;
    record.AddUnit(80);
    record.AddUnit(81);
    SideContacts& other = world.AddRecord(5);
    record.RevealUnitsTo(other);
    const Contact* c = other.GetContact(80);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->sideId, 2);
    EXPECT_EQ(c->identifiedAs, 123);
    EXPECT_EQ(c->knownBits, 0x13);
    EXPECT_EQ(c->sizeClass, 4);
    EXPECT_EQ(c->speed, 18);
    EXPECT_EQ(c->course, 90);
    EXPECT_EQ(c->changeBits, 0);
    EXPECT_EQ(other.GetContact(81), nullptr);
    record.AddOwnUnitContacts();   // its own units: discarded
    EXPECT_EQ(record.contacts.First(), nullptr);
}

TEST_F(SideRecordTest, SelectionsHoldOnlyWhatTheRecordKnows)
{
    Merge(Detect(90));
    Merge(Detect(91));
    world.AddUnit(92, 'S', 1);
    record.AddUnit(92);
    IDList wanted;
    for (uint16_t id : {90, 92, 93})
        wanted.Insert(new IDNode(id));
    record.SelectContacts(wanted, 91);
    EXPECT_NE(record.selectedContacts.Find(91), nullptr);
    EXPECT_NE(record.selectedContacts.Find(90), nullptr);
    EXPECT_EQ(record.selectedContacts.Find(92), nullptr);
    EXPECT_EQ(record.selectedContacts.Find(93), nullptr);
    // Without a current side the unit selection stays as it is.
    record.selectedUnits.Insert(new IDNode(500));
    Game2UI2::SetCurrentSideID(0);
    record.SelectUnits(wanted, 92);
    EXPECT_NE(record.selectedUnits.Find(500), nullptr);
    Game2UI2::SetCurrentSideID(2);
    record.SelectUnits(wanted, 92);
    EXPECT_EQ(record.selectedUnits.Find(500), nullptr);
    EXPECT_NE(record.selectedUnits.Find(92), nullptr);
    Game2UI2::SetCurrentSideID(0);
}

TEST_F(SideRecordTest, TheSplitCopyTakesAFreshKeyAndNoUnits)
{
    Merge(Detect(100));
    Merge(Detect(101));
    record.selectedContacts.Insert(new IDNode(100));
    record.selectedContacts.Insert(new IDNode(555));
    world.AddUnit(102, 'S', 1);
    record.AddUnit(102);
    auto* split = new SideContacts(record);
    world.sides.Insert(split);
    EXPECT_NE(split->GetKey(), 0);
    EXPECT_NE(split->GetKey(), record.GetKey());
    EXPECT_EQ(gam2arena::FindSide(split->GetKey()), split);
    EXPECT_NE(split->GetContact(100), nullptr);
    EXPECT_NE(split->GetContact(100), record.GetContact(100));
    EXPECT_EQ(split->lastContactNumber, 2);
    EXPECT_NE(split->selectedContacts.Find(100), nullptr);
    EXPECT_EQ(split->selectedContacts.Find(555), nullptr);
    EXPECT_EQ(split->ownUnits.First(), nullptr);
}

TEST_F(SideRecordTest, TheArenaListAnswersTheAccessors)
{
    EXPECT_EQ(gam2arena::FindSide(3), &record);
    EXPECT_EQ(gam2arena::GetSideList(), &world.sides);
    EXPECT_EQ(gam2arena::GetCurrentSide(), nullptr);
    gam2arena::SetCurrentSide(&record);
    EXPECT_EQ(gam2arena::GetCurrentSide(), &record);
    SideContacts stranger(9);
    gam2arena::SetCurrentSide(&stranger);   // not the arena's: refused
    EXPECT_EQ(gam2arena::GetCurrentSide(), &record);
    world.sides.Remove(&record);
    EXPECT_EQ(gam2arena::GetCurrentSide(), nullptr);
    world.sides.Insert(&record);
}

// A record with contacts, units, groups and selections.
void Fill(ContactWorld& world, SideContacts& record)
{
    for (uint16_t id : {110, 111}) {
        Contact* c = new Contact(world.AddUnit(id, 'S', 1, SEA), 1);
        c->SetArea(contacttest::SquareArea(SEA, 2));
        record.MergeContact(&c);
    }
    FakeUnit& g = world.AddUnit(112, 'G', 0);
    g.group = true;
    world.AddUnit(113, 'S', 1);
    record.AddUnit(112);
    record.AddUnit(113);
    record.selectedUnits.Insert(new IDNode(113));
    record.selectedContacts.Insert(new IDNode(111));
}

std::string Saved(const SideContacts& record)
{
    std::ostringstream out;
    record.Save(out);
    return out.str();
}

TEST_F(SideRecordTest, RoundTrips)
{
    Fill(world, record);
    const std::string bytes = Saved(record);
    std::istringstream in(bytes);
    SideContacts back;
    back.Load(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(back.GetKey(), 3);
    EXPECT_EQ(back.lastContactNumber, 2);
    EXPECT_EQ(back.ownUnitCount, 2);
    EXPECT_NE(back.ownGroups.Find(112), nullptr);
    EXPECT_NE(back.selectedUnits.Find(113), nullptr);
    EXPECT_NE(back.selectedContacts.Find(111), nullptr);
    ASSERT_NE(back.GetContact(110), nullptr);
    EXPECT_EQ(back.GetContact(111)->contactNumber, 2);
    EXPECT_NE(back.GetContact(111)->GetArea(), nullptr);
    EXPECT_EQ(Saved(back), bytes);

    // The Arena's list of records, whole.
    world.AddRecord(8);
    std::ostringstream out;
    ASSERT_TRUE(world.sides.Save(out));
    SideContactsList list;
    std::istringstream listIn(out.str());
    ASSERT_TRUE(list.Load(listIn));
    ASSERT_NE(list.Find(3), nullptr);
    ASSERT_NE(list.Find(8), nullptr);
    EXPECT_EQ(Saved(*list.Find(3)), bytes);
}

TEST_F(SideRecordTest, DamagedRecordsLeaveWhatWasThere)
{
    ReportCapture reports;
    Fill(world, record);
    const std::string bytes = Saved(record);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::istringstream in(bytes.substr(0, cut));
        SideContacts back(77);
        back.Load(in);
        EXPECT_FALSE(in) << cut;
        EXPECT_EQ(back.GetKey(), 77) << cut;
        EXPECT_EQ(back.contacts.First(), nullptr) << cut;
        EXPECT_EQ(back.ownUnits.First(), nullptr) << cut;
    }
    // A contact count beyond the stream.
    std::string many = bytes;
    many[2] = 40;
    {
        std::istringstream in(many);
        SideContacts back;
        back.Load(in);
        EXPECT_FALSE(in);
        EXPECT_EQ(back.contacts.First(), nullptr);
    }
    // A list of records cut short keeps the list it had.
    std::ostringstream out;
    world.sides.Save(out);
    const std::string listBytes = out.str();
    SideContactsList list;
    list.Insert(new SideContacts(50));
    for (size_t cut = 0; cut < listBytes.size(); cut += 7) {
        std::istringstream in(listBytes.substr(0, cut));
        EXPECT_FALSE(list.Load(in)) << cut;
        ASSERT_NE(list.Find(50), nullptr);
        EXPECT_EQ(list.Find(3), nullptr);
    }
    EXPECT_FALSE(reports.errors.empty());
}

}  // namespace
