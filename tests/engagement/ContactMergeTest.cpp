// ContactMergeTest.cpp: folding a fresh detection into a held contact: course
// changes, sides and identification, a facility's fixed position, older and
// newer looks, and the overlap of two areas (crossing outlines, one inside
// the other, none at all).
#include <gtest/gtest.h>

#include "ContactWorld.h"
#include "world/UncertainPoly.h"

namespace {

using contacttest::ContactWorld;
using contacttest::FakeUnit;
using contacttest::SquareArea;

constexpr int32_t NM = 4096;
const LatLonPoint SEA{60 * 245760, 2 * 245760};

LatLonPoint At(int32_t northNm, int32_t eastNm)
{
    return {SEA.lat + northNm * NM, SEA.lon + eastNm * NM};
}

class ContactMerge : public testing::Test {
protected:
    ContactMerge() : ship(world.AddUnit(5, 'S', 1, SEA)) {}

    // A detection of the ship at `at`, seen at game time `time`.
    Contact* Detection(uint32_t time, const LatLonPoint& at)
    {
        world.SetTime(time);
        auto* c = new Contact(ship, 1);
        c->SetPosition(at);
        c->UpdateXY();
        return c;
    }

    ContactWorld world;
    FakeUnit& ship;
};

TEST_F(ContactMerge, ACourseChangeOf15DegreesOrMoreIsNoted)
{
    struct Row { uint16_t from, to; bool noted; };
    const Row rows[] = {
        {350, 5, true},    // 345 apart as the fields give it
        {5, 350, true},
        {10, 24, false},
        {10, 25, true},
        {200, 186, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.from << " -> " << r.to);
        std::unique_ptr<Contact> held(Detection(10, SEA));
        held->knownBits = ContactKnown::COURSE;
        held->course = r.from;
        std::unique_ptr<Contact> fresh(Detection(20, SEA));
        fresh->knownBits = ContactKnown::COURSE;
        fresh->course = r.to;
        held->Merge(*fresh);
        EXPECT_EQ((held->changeBits & ContactChange::COURSE) != 0, r.noted);
        EXPECT_EQ(held->course, r.to);
        EXPECT_EQ(held->courseEstimate, r.to);
    }
}

TEST_F(ContactMerge, SideIdentityAndMaximaAreCarried)
{
    std::unique_ptr<Contact> held(Detection(10, SEA));
    held->threat[0] = 5;
    held->sensorBitsLatest = 0x2;
    std::unique_ptr<Contact> fresh(Detection(10, SEA));
    fresh->sideId = 4;
    fresh->identifiedAs = 31;
    fresh->name.Set("Tarsk");
    fresh->threat[0] = 3;
    fresh->threat[1] = 9;
    fresh->sensorBitsLatest = 0x40;
    fresh->sensorsEver.Insert(new IDNode(6));
    fresh->observerId = 70;
    held->Merge(*fresh);
    EXPECT_EQ(held->changeBits & (ContactChange::SIDE_KNOWN | ContactChange::IDENTIFIED),
              ContactChange::SIDE_KNOWN | ContactChange::IDENTIFIED);
    EXPECT_EQ(held->sideId, 4);
    EXPECT_EQ(held->identifiedAs, 31);
    EXPECT_EQ(held->name, "Tarsk");
    EXPECT_EQ(held->threat[0], 5);
    EXPECT_EQ(held->threat[1], 9);
    EXPECT_EQ(held->sensorBitsLatest, 0x42u);   // same time: both
    EXPECT_NE(held->sensorsLatest.Find(6), nullptr);
    EXPECT_EQ(held->observerId, 70);
    EXPECT_EQ(held->detectionHistory, 1u);
}

TEST_F(ContactMerge, ASideLearntOfAHostileContactTurnsTheObserversHostile)
{
    SideContacts& record = world.AddRecord(3);
    FakeUnit& observer = world.AddUnit(70, 'S', 1, SEA);
    observer.sideEntryID = 3;
    observer.SetSideID(2);
    record.ownUnits.Insert(new IDNode(70));
    std::unique_ptr<Contact> held(Detection(10, SEA));
    held->hostileAct = 1;
    std::unique_ptr<Contact> fresh(Detection(20, SEA));
    fresh->sideId = 7;
    fresh->observerId = 70;
    held->Merge(*fresh);
    ASSERT_EQ(world.relations.size(), 1u);
    EXPECT_EQ(world.relations[0].side, 2);
    EXPECT_EQ(world.relations[0].toward, 7);
    EXPECT_EQ(world.relations[0].relation, 1);
}

TEST_F(ContactMerge, ADecoyTurnsHostileAndOnceIdentifiedKeepsItsBandWord)
{
    SideContacts& record = world.AddRecord(3);
    FakeUnit& observer = world.AddUnit(70, 'S', 1, SEA);
    observer.sideEntryID = 3;
    observer.SetSideID(2);
    record.ownUnits.Insert(new IDNode(70));
    FakeUnit& decoy = world.AddUnit(8, 'W', 1, SEA);
    decoy.weaponKind = Contact::DECOY_WEAPON_KIND;
    world.SetTime(10);
    Contact held(decoy, 1);
    world.SetTime(20);
    Contact unsided(decoy, 1);
    held.Merge(unsided);
    EXPECT_EQ(held.hostileAct, 1);   // side not known: counts as hostile
    world.SetTime(30);
    Contact sided(decoy, 1);
    sided.sideId = 7;
    sided.observerId = 70;
    held.Merge(sided);
    ASSERT_EQ(world.relations.size(), 1u);
    EXPECT_EQ(world.relations[0].side, 2);
    EXPECT_EQ(world.relations[0].toward, 7);
    // Identified, an older look neither shows a target class nor changes the
    // band word.
    held.identifiedAs = 40;
    held.bandWord = 0x1224;
    world.SetTime(25);
    Contact older(decoy, 1);
    older.bandWord = 0x0077;
    held.Merge(older);
    EXPECT_EQ(held.GetTypeFlags(), 0u);
    EXPECT_EQ(held.bandWord, 0x1224);
}

TEST_F(ContactMerge, AFacilityWithoutAreaKeepsItsPosition)
{
    FakeUnit& site = world.AddUnit(6, 'F', 0x20, SEA);
    world.SetTime(10);
    Contact held(site, 1);
    world.SetTime(100);
    Contact fresh(site, 1);
    fresh.SetPosition(At(3, 3));
    held.Merge(fresh);
    EXPECT_EQ(held.PositionObject::GetPosition(), SEA);
    EXPECT_EQ(held.lastDetection.Get(), 100u);
}

TEST_F(ContactMerge, ANewerLookMovesTheContactAndAnOlderOneDoesNot)
{
    {   // 16 seconds later with an area: replaced outright.
        std::unique_ptr<Contact> held(Detection(100, SEA));
        held->SetArea(SquareArea(SEA, 4));
        std::unique_ptr<Contact> fresh(Detection(116, At(20, 0)));
        Uncertain_Poly* area = SquareArea(At(20, 0), 2);
        fresh->SetArea(area);
        held->Merge(*fresh);
        EXPECT_EQ(held->GetArea(), area);
        EXPECT_EQ(fresh->GetArea(), nullptr);
        EXPECT_EQ(held->PositionObject::GetPosition(), area->Get_Center());
    }
    {   // An older look (a picture joined over a data link) used to replace
        // the held area and position; now it leaves them.
        std::unique_ptr<Contact> held(Detection(100, SEA));
        Uncertain_Poly* heldArea = SquareArea(SEA, 4);
        held->SetArea(heldArea);
        held->CenterOnArea();
        const LatLonPoint before = held->PositionObject::GetPosition();
        std::unique_ptr<Contact> old(Detection(40, At(20, 0)));
        old->SetArea(SquareArea(At(20, 0), 2));
        held->Merge(*old);
        EXPECT_EQ(held->GetArea(), heldArea);
        EXPECT_EQ(held->PositionObject::GetPosition(), before);
        EXPECT_NE(old->GetArea(), nullptr);
        EXPECT_EQ(held->lastDetection.Get(), 100u);
        EXPECT_TRUE(held->knownBits & ContactKnown::AREA);
    }
    {   // An exact look within 15 seconds takes the area away.
        std::unique_ptr<Contact> held(Detection(100, SEA));
        held->SetArea(SquareArea(SEA, 4));
        held->hadArea = 1;   // as the last upkeep left it
        std::unique_ptr<Contact> fresh(Detection(105, At(1, 1)));
        held->Merge(*fresh);
        EXPECT_EQ(held->GetArea(), nullptr);
        EXPECT_FALSE(held->knownBits & ContactKnown::AREA);
        EXPECT_EQ(held->PositionObject::GetPosition(), At(1, 1));
        EXPECT_TRUE(held->changeBits & ContactChange::AREA_VANISHED);
    }
}

// The bounds of an area as (north, west, south, east) in nautical miles from SEA.
void ExpectBoundsNm(const Uncertain_Poly& area, int32_t north, int32_t west, int32_t south, int32_t east)
{
    int32_t n = INT32_MIN, s = INT32_MAX, w = INT32_MAX, e = INT32_MIN;
    for (int16_t i = 0; i < area.GetPointCount(); ++i) {
        const LatLonPoint p = area.GetLatLonPoint(i);
        n = std::max(n, p.lat);
        s = std::min(s, p.lat);
        w = std::min(w, p.lon);
        e = std::max(e, p.lon);
    }
    EXPECT_EQ(n, SEA.lat + north * NM);
    EXPECT_EQ(w, SEA.lon + west * NM);
    EXPECT_EQ(s, SEA.lat + south * NM);
    EXPECT_EQ(e, SEA.lon + east * NM);
}

TEST_F(ContactMerge, TwoLooksAtOnceNarrowToTheOverlap)
{
    std::unique_ptr<Contact> held(Detection(100, SEA));
    held->SetArea(SquareArea(SEA, 4));
    std::unique_ptr<Contact> fresh(Detection(100, At(2, 2)));
    fresh->SetArea(SquareArea(At(2, 2), 4));
    held->Merge(*fresh);
    ASSERT_NE(held->GetArea(), nullptr);
    ExpectBoundsNm(*held->GetArea(), 4, -2, -2, 4);
    EXPECT_EQ(held->PositionObject::GetPosition(), held->GetArea()->Get_Center());
    EXPECT_TRUE(held->changeBits & ContactChange::AREA_APPEARED);
}

TEST_F(ContactMerge, AnAreaInsideTheOtherGivesTheInnerOne)
{
    for (bool freshInside : {true, false}) {
        SCOPED_TRACE(freshInside);
        std::unique_ptr<Contact> held(Detection(100, SEA));
        std::unique_ptr<Contact> fresh(Detection(110, At(1, 0)));
        held->SetArea(SquareArea(SEA, freshInside ? 6 : 2));
        fresh->SetArea(SquareArea(At(1, 0), freshInside ? 2 : 6));
        held->Merge(*fresh);
        ASSERT_NE(held->GetArea(), nullptr);
        EXPECT_EQ(held->GetArea()->GetPointCount(), 5);
        if (freshInside)
            ExpectBoundsNm(*held->GetArea(), 3, -2, -1, 2);
        else
            ExpectBoundsNm(*held->GetArea(), 2, -2, -2, 2);
    }
}

TEST_F(ContactMerge, AreasThatDoNotMeetLeaveTheFreshOne)
{
    std::unique_ptr<Contact> held(Detection(100, SEA));
    held->SetArea(SquareArea(SEA, 2));
    std::unique_ptr<Contact> fresh(Detection(100, At(20, 0)));
    fresh->SetArea(SquareArea(At(20, 0), 2));
    held->Merge(*fresh);
    ASSERT_NE(held->GetArea(), nullptr);
    EXPECT_NE(held->GetArea(), fresh->GetArea());   // a copy
    ExpectBoundsNm(*held->GetArea(), 22, -2, 18, 2);
    EXPECT_EQ(held->PositionObject::GetPosition(), held->GetArea()->Get_Center());
}

// Areas shrunk to a point (a circle of radius 0, as a detection without
// errors or range gives) still end the walk with an area.
TEST_F(ContactMerge, AreasShrunkToAPointEndTheWalk)
{
    for (int32_t heldRadius : {0, 2 * NM}) {
        SCOPED_TRACE(heldRadius);
        std::unique_ptr<Contact> held(Detection(100, SEA));
        held->SetArea(new Uncertain_Poly(SEA, heldRadius));
        std::unique_ptr<Contact> fresh(Detection(100, SEA));
        fresh->SetArea(new Uncertain_Poly(SEA, 0));
        held->Merge(*fresh);
        EXPECT_NE(held->GetArea(), nullptr);
    }
}

}  // namespace
