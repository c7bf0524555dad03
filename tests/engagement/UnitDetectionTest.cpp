// Tests of detection between units: a unit's look at another, the unit-pair
// step, the data link's split, join and departure, the hostile-act note, and
// the range bound of the pair step against the exact pass.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ContactWorld.h"
#include "SensorWorld.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "engagement/Decibel.h"
#include "engagement/UnitDetection.h"
#include "units/SonobuoyLine.h"
#include "units/Weapon.h"
#include "units/UnitDetectionCalls.h"
#include "units/UnitEvents.h"
#include "world/Game2UI2.h"
#include "world/Map.h"

#include "support/DetectionScene.h"
#include "support/SampleMap.h"

namespace {

using contacttest::ContactWorld;
using contacttest::KeyedEvent;
using sensortest::SensorUnit;

constexpr uint16_t PLAYER = 1;
constexpr uint16_t ENEMY = 7;   // the contact world's one hostile side

// A sensor that records how it was asked and detects when told to.
class ProbeSensor : public Sensor {
public:
    explicit ProbeSensor(uint16_t sectors = ALL_SECTORS, uint8_t type = TYPE_RADAR) : Sensor(type)
    {
        targetClasses = sectors;
    }
    Contact* Detect(Unit&, Unit& target, const NavVector& vector, int selector, int32_t level, bool flagA,
                    bool flagB, bool) override
    {
        ++calls;
        lastLevel = level;
        lastSelector = selector;
        lastVector = vector;
        lastSight = flagA;
        lastWithin = flagB;
        return detects ? new Contact(target, 1) : nullptr;
    }
    bool TrackTarget(Unit&, Unit&, const NavVector&, int, bool, const ChannelEntry&, int16_t, bool, bool) override
    {
        return false;
    }
    bool CanTrack(Unit&, Unit&, const NavVector&, int, const ChannelEntry&, bool, bool) override { return false; }
    uint8_t GetClassCode() const override { return SensorClass::RADAR; }
    void SetContactSource(Contact&) const override {}
    void Save(std::ostream&) const override {}
    bool Load(std::istream&) override { return true; }

    int calls = 0;
    int lastSelector = -1;
    int32_t lastLevel = 0;
    NavVector lastVector;
    bool lastSight = false;
    bool lastWithin = false;
    bool detects = false;
};

// The contact world with the detection operations installed; what goes to a
// side record as a contact update is kept here instead of being queued.
class DetectionWorld : public ContactWorld {
public:
    struct Post {
        uint16_t recordKey;
        std::unique_ptr<Contact> contact;
    };

    DetectionWorld()
    {
        InstallUnitDetection();
        ContactCalls calls = SetContactCalls(ContactCalls{});
        savedCalls = calls;
        calls.makeContactUpdateEvent = [](Contact* contact, uint16_t key) -> Event* {
            static_cast<DetectionWorld*>(Active())->posted.push_back({key, std::unique_ptr<Contact>(contact)});
            return nullptr;
        };
        SetContactCalls(calls);
        UnitEventCalls events;
        events.makeMergeUnitEntriesEvent = [](uint16_t from, uint16_t) -> Event* { return new KeyedEvent(0x05, from); };
        events.makeSetCurrentEntryEvent = [](uint16_t side) -> Event* { return new KeyedEvent(0x51, side); };
        savedEvents = SetUnitEventCalls(events);
        savedLookout = gDefaultSensor;
        gDefaultSensor = nullptr;
        Game2UI2::SetCurrentSideID(PLAYER);
        DetectionOptions::SetRealismLevel(0);
        SetTime(1000);
    }
    ~DetectionWorld()
    {
        DetectionOptions::SetRealismLevel(0);
        Game2UI2::SetCurrentSideID(0);
        gDefaultSensor = savedLookout;
        SetUnitEventCalls(savedEvents);
        SetContactCalls(savedCalls);
        UninstallUnitDetection();
    }

    // A unit of a side in a side record (made when missing), at a position
    // given in degrees.
    SensorUnit& Place(uint16_t id, char letter, uint32_t mask, uint16_t side, uint16_t recordKey, double lat,
                      double lon)
    {
        auto* unit = new SensorUnit(id, letter, mask);
        unit->SetSideID(side);
        unit->SetPosition(samplemap::At(lat, lon));
        units.Insert(unit);
        SideContacts* record = sides.Find(recordKey);
        if (record == nullptr)
            record = &AddRecord(recordKey);
        unit->SetSide(*record, 0);
        return *unit;
    }
    static ProbeSensor& Probe(Unit& unit, uint16_t key = 1, uint16_t sectors = Sensor::ALL_SECTORS)
    {
        auto* sensor = new ProbeSensor(sectors);
        sensor->SetKey(key);
        sensor->SetOwner(&unit);
        unit.sensors.Insert(sensor);
        return *sensor;
    }
    static DatalinkRecord& Link(Unit& unit, uint16_t key, uint16_t range)
    {
        auto* record = new DatalinkRecord(1);
        record->SetKey(key);
        record->linkRange = range;
        record->maxLinks = 10;
        unit.datalinks.Insert(record);
        unit.RefreshLinkReach();
        return *record;
    }

    // Both units link side records, with one open channel each reaching
    // 50 nm; the events queued so far are dropped.
    void MakeJoinable(Unit& a, Unit& b)
    {
        for (Unit* unit : {&a, &b}) {
            unit->SetFlags(UnitFlag::LINKS_RECORDS);
            Link(*unit, 1, 50);
        }
        TakeEvents();
    }

    std::vector<Post> posted;

private:
    ContactCalls savedCalls;
    UnitEventCalls savedEvents;
    Sensor* savedLookout = nullptr;
};

TEST(DetectUnit, OptionsWordCountsForThePlayersSideOnly)
{
    struct Row {
        uint16_t level;
        bool contactForPlayer;
        uint8_t side;
        bool named;
    };
    const Row rows[] = {
        {0, false, 0, false},
        {8, true, 0, false},
        {8 | 2, true, ENEMY, false},
        {8 | 4, true, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.level);
        DetectionWorld world;
        DetectionOptions::SetRealismLevel(r.level);
        SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, -3.0);
        SensorUnit& enemy = world.Place(2, 'S', 1, ENEMY, 2, 74.0, 3.0);
        enemy.SetName("Osterholm");
        enemy.SetAnnexID(33);
        enemy.sizeClass = 4;
        enemy.speed = 12;
        // A contact made without sensors is no detection: the answer is
        // false until the record holds a contact.
        EXPECT_FALSE(own.DetectUnit(enemy));
        EXPECT_FALSE(enemy.DetectUnit(own));
        ASSERT_EQ(world.posted.size(), r.contactForPlayer ? 1u : 0u);
        if (r.contactForPlayer) {
            const Contact& c = *world.posted[0].contact;
            EXPECT_EQ(world.posted[0].recordKey, 1);
            EXPECT_EQ(c.GetKey(), 2);
            EXPECT_EQ(c.knownBits & 0x13, 0x13);
            EXPECT_EQ(c.speed, 12);
            EXPECT_EQ(c.sideId, r.side);
            EXPECT_EQ(c.observerId, 1);
            EXPECT_EQ(std::string(c.name.Text()) == "Osterholm", r.named);
            EXPECT_EQ(c.identifiedAs, r.named ? 33 : 0);
        }
        // The pair step: the player's direction only.
        world.posted.clear();
        own.UpdatePairDetection(enemy);
        ASSERT_EQ(world.posted.size(), r.contactForPlayer ? 1u : 0u);
        if (r.contactForPlayer) {
            EXPECT_EQ(world.posted[0].contact->observerId, 1);
        }
    }
}

// The full contact of the options word lists the target's active emitters
// where the side record's merge takes them over into the contact it holds.
TEST(DetectUnit, AFullContactCarriesTheTargetsEmittersIntoTheHeldContact)
{
    class Emitter : public ProbeSensor {
    public:
        uint32_t GetPrimaryBandMask() const override { return 1; }
    };
    DetectionWorld world;
    DetectionOptions::SetRealismLevel(8);
    SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, -3.0);
    SensorUnit& enemy = world.Place(2, 'S', 1, ENEMY, 2, 74.0, 3.0);
    auto* radar = new Emitter;
    radar->SetKey(5);
    radar->SetOwner(&enemy);
    radar->SetState(Sensor::STATE_ACTIVE);
    enemy.sensors.Insert(radar);
    SideContacts& record = *world.sides.Find(1);
    record.contacts.Insert(new Contact(enemy, 1));
    EXPECT_TRUE(own.DetectUnit(enemy));   // the record held a contact
    ASSERT_EQ(world.posted.size(), 1u);
    Contact* fresh = world.posted[0].contact.release();
    EXPECT_NE(fresh->targetMask & 0x10, 0u);
    record.MergeContact(&fresh);
    const Contact* held = record.GetContact(2);
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held->sensorsEver.Find(5), nullptr);
    EXPECT_NE(held->sensorsLatest.Find(5), nullptr);
}

TEST(DetectUnit, LinkedUnitsOfTheSameSideSeeEachOtherThroughTheOptions)
{
    for (const uint16_t side : {PLAYER, uint16_t{2}}) {
        SCOPED_TRACE(side);
        DetectionWorld world;
        DetectionOptions::SetRealismLevel(1);
        SensorUnit& a = world.Place(1, 'S', 1, side, 1, 74.0, -3.0);
        SensorUnit& b = world.Place(2, 'S', 1, side, 2, 74.0, -2.8);
        DetectionWorld::Link(a, 1, 100);
        DetectionWorld::Link(b, 1, 100);
        ProbeSensor& probe = DetectionWorld::Probe(a);
        a.searchReach1 = 100;
        a.DetectUnit(b);
        // The player's side shares through the options; another side looks.
        EXPECT_EQ(probe.calls, side == PLAYER ? 0 : 1);
        EXPECT_TRUE(world.posted.empty());
    }
}

TEST(DetectUnit, UnitsOfOneSideRecordMakeNoContact)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, -3.0);
    SensorUnit& b = world.Place(2, 'S', 1, PLAYER, 1, 74.0, -2.9);
    ProbeSensor& probe = DetectionWorld::Probe(a);
    probe.detects = true;
    a.searchReach1 = 100;
    EXPECT_FALSE(a.DetectUnit(b));
    EXPECT_EQ(probe.calls, 0);
    EXPECT_TRUE(world.posted.empty());
}

// The target lies to the north; its course is set against the bearing the
// sensor was given, so that each row sits exactly on or beside a boundary.
TEST(DetectUnit, AspectFoldsTheTargetsCourseAgainstTheBearingBack)
{
    struct Row {
        int32_t offFromFacing;   // angle units off the course straight at the observer
        int aspect;
    };
    const Row rows[] = {
        {0, 0},
        {ANGLE_EIGHTH - 1, 0},
        {ANGLE_EIGHTH, 1},
        {-ANGLE_EIGHTH, 1},
        {3 * ANGLE_EIGHTH, 1},
        {3 * ANGLE_EIGHTH + 1, 2},
        {-3 * ANGLE_EIGHTH - 1, 2},
        {ANGLE_HALF, 2},
    };
    DetectionWorld world;
    SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& target = world.Place(2, 'S', 1, ENEMY, 2, 74.2, 3.0);
    ProbeSensor& probe = DetectionWorld::Probe(own);
    own.searchReach1 = 100;
    own.DetectUnit(target);
    ASSERT_EQ(probe.calls, 1);
    const int32_t bearing = probe.lastVector.bearing;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.offFromFacing);
        int64_t course = (int64_t{bearing} + ANGLE_HALF + r.offFromFacing) % ANGLE_FULL;
        if (course < 0)
            course += ANGLE_FULL;
        target.course = static_cast<int32_t>(course);
        own.DetectUnit(target);
        EXPECT_EQ(probe.lastSelector, r.aspect);
        // The pair step gives the same aspect.
        own.UpdatePairDetection(target);
        EXPECT_EQ(probe.lastSelector, r.aspect);
    }
}

TEST(DetectUnit, OnlySensorsWhoseSectorsHoldTheBearingAreAsked)
{
    struct Row {
        int32_t relativeDegrees;
        uint16_t bit;
    };
    const Row rows[] = {{10, 0x01}, {50, 0x02}, {100, 0x04}, {170, 0x08},
                        {190, 0x80}, {260, 0x40}, {300, 0x20}, {350, 0x10}};
    DetectionWorld world;
    SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& target = world.Place(2, 'S', 1, ENEMY, 2, 74.2, 3.0);
    own.searchReach1 = 100;
    ProbeSensor& all = DetectionWorld::Probe(own, 1);
    own.DetectUnit(target);
    const int32_t bearing = all.lastVector.bearing;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.relativeDegrees);
        ProbeSensor& inside = DetectionWorld::Probe(own, 2, r.bit);
        ProbeSensor& outside = DetectionWorld::Probe(own, 3, static_cast<uint16_t>(0xFF & ~r.bit));
        own.course = bearing - r.relativeDegrees * ANGLE_PER_DEGREE;
        if (own.course < 0)
            own.course += ANGLE_FULL;
        own.DetectUnit(target);
        EXPECT_EQ(inside.calls, 1);
        EXPECT_EQ(outside.calls, 0);
        own.sensors.Remove(&inside);
        own.sensors.Remove(&outside);
        delete &inside;
        delete &outside;
    }
}

TEST(DetectUnit, ABaseIsReportedWhenItsContactIsMoreThanFourteenSecondsOld)
{
    DetectionWorld world;
    SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& base = world.Place(2, 'B', 0x40, ENEMY, 2, 72.5, 3.0);
    base.SetFlags(UnitFlag::BASE);
    SideContacts& record = *world.sides.Find(1);
    world.SetTime(100);
    EXPECT_FALSE(own.DetectUnit(base));
    ASSERT_NE(record.GetContact(2), nullptr);
    EXPECT_EQ(record.GetContact(2)->sideId, ENEMY);
    world.SetTime(114);
    EXPECT_TRUE(own.DetectUnit(base));
    EXPECT_EQ(record.GetContact(2)->lastDetection.Get(), 100u);
    world.SetTime(115);
    own.DetectUnit(base);
    EXPECT_EQ(record.GetContact(2)->lastDetection.Get(), 115u);
    EXPECT_TRUE(world.posted.empty());
}

TEST(UpdatePairDetection, ABaseIsReportedWhenItsContactIsOlderThanNow)
{
    DetectionWorld world;
    SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& base = world.Place(2, 'F', 0x40, ENEMY, 2, 72.5, 3.0);
    base.SetFlags(UnitFlag::BASE);
    SideContacts& record = *world.sides.Find(1);
    world.SetTime(200);
    own.UpdatePairDetection(base);
    ASSERT_NE(record.GetContact(2), nullptr);
    record.GetContact(2)->sideId = 0;   // undone by a report
    own.UpdatePairDetection(base);
    EXPECT_EQ(record.GetContact(2)->sideId, 0);
    world.SetTime(201);
    base.UpdatePairDetection(own);   // either order of the pair
    EXPECT_EQ(record.GetContact(2)->sideId, ENEMY);
    EXPECT_EQ(record.GetContact(2)->lastDetection.Get(), 201u);
}

TEST(UpdatePairDetection, AJammersEntryIsRebuiltEveryPassFromItsActiveEcm)
{
    DetectionWorld world;
    SensorUnit& victim = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 2.0);
    SensorUnit& jammer = world.Place(2, 'S', 1, ENEMY, 2, 74.0, 3.0);   // to the east
    victim.SetFlags(UnitFlag::KEEPS_JAMMING);
    jammer.field6 = 1;
    auto* ecm = new ProbeSensor(Sensor::ALL_SECTORS, Sensor::TYPE_ECM);
    ecm->SetKey(1);
    ecm->SetState(Sensor::STATE_ACTIVE);
    ecm->searchBands = 0x30;
    ecm->jamMargin = 400;
    jammer.sensors.Insert(ecm);
    const NavVector toVictim = NavMath::Get_Vector(jammer.GetPosition(), victim.GetPosition());
    victim.UpdatePairDetection(jammer);
    const SignatureRecord* entry = victim.JammingEntries().Find(2);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetBandMask(), 0x30u);
    EXPECT_EQ(entry->GetBandLevel(4),
              static_cast<int16_t>(400 - 2 * static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(toVictim.range)))));
    // The direction is the jammer's bearing to the victim turned round, in
    // tenths of a degree: the way back to the jammer.
    EXPECT_EQ(entry->GetDirection(), (toVictim.bearing / 24576 + 1800) % 3600);
    EXPECT_EQ(jammer.JammingEntries().First(), nullptr);   // the jammer keeps none
    // The same pair the other way round replaces the entry, never adds one.
    jammer.UpdatePairDetection(victim);
    EXPECT_EQ(victim.JammingEntries().First()->GetNext(), nullptr);
    // A unit's own look builds the same entry along the bearing back from the
    // jammer (it used to take the bearing toward it, pointing the entry away).
    const NavVector toJammer = NavMath::Get_Vector(victim.GetPosition(), jammer.GetPosition());
    victim.DetectUnit(jammer);
    ASSERT_NE(victim.JammingEntries().Find(2), nullptr);
    EXPECT_EQ(victim.JammingEntries().Find(2)->GetDirection(), toJammer.bearing / 24576);
    // An ECM whose sectors miss the victim leaves no entry behind.
    ecm->targetClasses = 0;
    victim.UpdatePairDetection(jammer);
    EXPECT_EQ(victim.JammingEntries().First(), nullptr);
    ecm->targetClasses = Sensor::ALL_SECTORS;
    jammer.field6 = 0;   // not jamming
    victim.UpdatePairDetection(jammer);
    EXPECT_EQ(victim.JammingEntries().First(), nullptr);
}

TEST(UpdateDataLink, SplittingOffCopiesTheRecordsContacts)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& b = world.Place(2, 'S', 1, PLAYER, 1, 74.0, 3.1);
    world.Place(9, 'S', 1, ENEMY, 9, 74.5, 3.0);
    world.sides.Find(1)->contacts.Insert(new Contact(*world.units.Find(9), 1));
    a.attachedID = 2;
    DetectionWorld::Link(a, 1, 0);   // reaches nothing
    EXPECT_EQ(a.UpdateDataLink(b, 5, 1, 1, 0), 0);
    ASSERT_NE(a.sideEntryID, 1);
    EXPECT_EQ(a.attachedID, 0);
    SideContacts* const split = world.sides.Find(a.sideEntryID);
    ASSERT_NE(split, nullptr);
    EXPECT_NE(split->GetContact(9), nullptr);
    EXPECT_NE(world.sides.Find(1)->GetContact(9), nullptr);
    EXPECT_EQ(b.sideEntryID, 1);
}

TEST(UpdateDataLink, LinkedRecordsJoinIntoTheLargerOne)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& b = world.Place(2, 'S', 1, PLAYER, 2, 74.0, 3.2);
    world.Place(3, 'S', 1, PLAYER, 2, 74.0, 3.3);
    world.Place(9, 'S', 1, ENEMY, 9, 74.5, 3.0);
    world.sides.Find(2)->contacts.Insert(new Contact(*world.units.Find(9), 1));
    world.MakeJoinable(a, b);
    EXPECT_EQ(a.UpdateDataLink(b, 5, 1, 1, 0), 1);
    EXPECT_EQ(a.sideEntryID, 2);
    EXPECT_EQ(a.attachedID, 2);
    EXPECT_NE(world.sides.Find(2)->GetContact(9), nullptr);
    const auto events = world.TakeEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), std::make_pair(uint8_t{0x05}, uint16_t{1})), events.end());
    // The pair step makes no contact between the joined units.
    world.posted.clear();
    a.UpdatePairDetection(b);
    EXPECT_TRUE(world.posted.empty());
}

// Records of one unit each: the other's record comes into this unit's.
TEST(UpdateDataLink, AnEqualRecordTakesTheOtherAndItsUnitStaysWhereItIs)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& b = world.Place(2, 'S', 1, PLAYER, 2, 74.0, 3.2);
    world.MakeJoinable(a, b);
    EXPECT_EQ(a.UpdateDataLink(b, 5, 1, 1, 0), 1);
    EXPECT_EQ(a.sideEntryID, 1);
    EXPECT_EQ(a.attachedID, 1);
    const auto events = world.TakeEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), std::make_pair(uint8_t{0x05}, uint16_t{2})), events.end());
    // The unit is still one of its record's own units, counted once.
    const SideContacts& mine = *world.sides.Find(1);
    EXPECT_NE(mine.ownUnits.Find(1), nullptr);
    EXPECT_EQ(mine.ownUnitCount, 1);
}

TEST(LeaveDataLink, EveryLinkIsDroppedAndEachLinkedUnitGetsARecord)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& b = world.Place(2, 'S', 1, PLAYER, 1, 74.0, 3.1);
    SensorUnit& buoy = world.Place(3, 'W', 0, PLAYER, 1, 74.0, 3.2);
    buoy.weaponKind = 256;
    buoy.attachedID = 1;
    world.Place(9, 'S', 1, ENEMY, 9, 74.5, 3.0);
    world.sides.Find(1)->contacts.Insert(new Contact(*world.units.Find(9), 1));
    DatalinkRecord& links = DetectionWorld::Link(a, 1, 50);
    DetectionWorld::Link(b, 1, 50).AddLink(1);
    DetectionWorld::Link(buoy, 1, 50).AddLink(1);
    links.AddLink(2);
    links.AddLink(3);
    links.AddLink(77);   // a unit that is gone
    world.TakeEvents();
    a.LeaveDataLink();
    EXPECT_EQ(links.links.First(), nullptr);
    EXPECT_FALSE(b.datalinks.First()->HoldsLink(1));
    EXPECT_FALSE(buoy.datalinks.First()->HoldsLink(1));
    // The linked ship moves into a copy of the record; the sonobuoy leaves.
    ASSERT_NE(b.sideEntryID, 1);
    EXPECT_NE(world.sides.Find(b.sideEntryID)->GetContact(9), nullptr);
    EXPECT_EQ(buoy.sideEntryID, 0);
    EXPECT_EQ(buoy.attachedID, 0);
    EXPECT_EQ(a.sideEntryID, 1);   // not attached: it keeps its record
    const auto events = world.TakeEvents();
    EXPECT_NE(std::find(events.begin(), events.end(), std::make_pair(uint8_t{0x51}, PLAYER)), events.end());
}

TEST(LeaveDataLink, ALinkedBuoyLeavesOnlyItsRecordAndKeepsItsLineLauncherAndTarget)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    auto* buoy = new Weapon;
    buoy->SetKey(3);
    buoy->weaponKind = WeaponKind::SONOBUOY;
    buoy->SetSideID(PLAYER);
    buoy->SetPosition(samplemap::At(74.0, 3.2));
    world.units.Insert(buoy);
    buoy->SetSide(*world.sides.Find(1), 1);
    buoy->launcherID = 1;
    buoy->guideID = 40;
    buoy->targetID = 9;
    DetectionWorld::Link(a, 1, 50).AddLink(3);
    DetectionWorld::Link(*buoy, 1, 50).AddLink(1);
    a.LeaveDataLink();
    EXPECT_EQ(buoy->sideEntryID, 0);
    EXPECT_EQ(buoy->attachedID, 0);
    EXPECT_EQ(buoy->launcherID, 1);
    EXPECT_EQ(buoy->guideID, 40);
    EXPECT_EQ(buoy->targetID, 9);
    buoy->targetID = 0;
}

TEST(LeaveDataLink, TheUnitAttachedToKeepsItsRecordAndTheUnitMoves)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    SensorUnit& host = world.Place(2, 'S', 1, PLAYER, 1, 74.0, 3.1);
    a.attachedID = 2;
    DetectionWorld::Link(a, 1, 50).AddLink(2);
    DetectionWorld::Link(host, 1, 50).AddLink(1);
    a.LeaveDataLink();
    EXPECT_FALSE(host.datalinks.First()->HoldsLink(1));
    EXPECT_EQ(host.sideEntryID, 1);
    EXPECT_NE(a.sideEntryID, 1);
    EXPECT_NE(world.sides.Find(a.sideEntryID), nullptr);
    EXPECT_EQ(a.attachedID, 0);
}

TEST(LeaveDataLink, AUnitWithoutLinksOrAttachmentChangesNothing)
{
    DetectionWorld world;
    SensorUnit& a = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
    const size_t records = world.sides.First() != nullptr ? 1 : 0;
    a.LeaveDataLink();
    EXPECT_EQ(a.sideEntryID, 1);
    EXPECT_EQ(world.sides.First()->GetNext() == nullptr, records == 1);
}

TEST(NoteHostileAct, MarksAFreshContactOfTheAttacker)
{
    struct Row {
        uint32_t age;
        bool area;
        uint32_t mask;
        uint32_t sensorBits;
        bool marked;
    };
    const Row rows[] = {
        {30, false, 1, 0, true},
        {31, false, 1, 0, false},
        {0, true, 1, 0x10, false},   // a surface contact with an area
        {0, true, 2, 0x10, true},    // a submerged one heard by a passive sonar
        {0, true, 2, 0x02, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.age << " " << r.area << " " << r.mask);
        DetectionWorld world;
        SensorUnit& own = world.Place(1, 'S', 1, PLAYER, 1, 74.0, 3.0);
        SensorUnit& attacker = world.Place(9, 'S', r.mask, ENEMY, 9, 74.5, 3.0);
        world.SetTime(500);
        auto* contact = new Contact(attacker, 1);
        contact->sideId = ENEMY;
        contact->targetMask = r.mask;
        contact->sensorBitsLatest = r.sensorBits;
        if (r.area)
            contact->SetArea(contacttest::SquareArea(attacker.GetPosition(), 5));
        world.sides.Find(1)->contacts.Insert(contact);
        world.SetTime(500 + r.age);
        own.NoteHostileAct(9);
        EXPECT_EQ(contact->hostileAct, r.marked ? 1 : 0);
        EXPECT_EQ((contact->changeBits & 0x20) != 0, r.marked);
        EXPECT_EQ(world.relations.size(), r.marked ? 1u : 0u);
        if (r.marked) {
            EXPECT_EQ(world.relations[0].side, PLAYER);
            EXPECT_EQ(world.relations[0].toward, ENEMY);
            EXPECT_EQ(world.relations[0].relation, 1);
        }
    }
}

// Line of sight over the sample map's island, and between units on one spot
// of land.
class SightOnSampleMap : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        map = samplemap::LoadSampleMap(error, &detectionscene::SceneCell);
        ASSERT_TRUE(map) << error;
        previous = gMap;
        gMap = map.get();
    }
    void TearDown() override { gMap = previous; }

    std::unique_ptr<Map> map;
    Map* previous = nullptr;
};

TEST_F(SightOnSampleMap, TheIslandHidesShipsButNotAnAircraftAboveIt)
{
    DetectionWorld world;
    SensorUnit& west = world.Place(1, 'S', 1, PLAYER, 1, 74.9, -2.0);
    SensorUnit& east = world.Place(2, 'S', 1, ENEMY, 2, 74.9, 2.5);
    const int16_t peak = gMap->Get_Highest_Point_Between(west.GetPosition(), east.GetPosition()).value;
    ASSERT_GT(peak, 0);
    EXPECT_EQ(west.LineOfSightTo(east), 0);
    EXPECT_EQ(west.HasTerrainLineOfSight(east), 0);
    west.At(static_cast<int16_t>(peak * 40));
    EXPECT_EQ(west.HasTerrainLineOfSight(east), 1);
    EXPECT_EQ(east.HasTerrainLineOfSight(west), 1);
    // Open sea on one side of the island: clear.
    SensorUnit& south = world.Place(3, 'S', 1, ENEMY, 2, 74.0, -2.0);
    west.At(0);
    EXPECT_EQ(west.LineOfSightTo(south), 1);
    EXPECT_EQ(west.HasTerrainLineOfSight(south), 1);
}

TEST_F(SightOnSampleMap, UnitsOnOneSpotOfLandSeeEachOther)
{
    DetectionWorld world;
    // The first spot of the island the grid gives a height.
    LatLonPoint spot;
    int16_t ground = 0;
    for (double lat = 74.6; lat <= 75.2 && ground <= 0; lat += 0.1) {
        for (double lon = -0.6; lon <= 1.2 && ground <= 0; lon += 0.1) {
            spot = samplemap::At(lat, lon);
            ground = gMap->Get_Altitude(spot);
        }
    }
    ASSERT_GT(ground, 0);
    SensorUnit& launcher = world.Place(1, 'F', 0x40, PLAYER, 1, 0, 0);
    SensorUnit& missile = world.Place(2, 'W', 8, PLAYER, 1, 0, 0);
    launcher.SetPosition(spot);
    missile.SetPosition(spot);
    launcher.At(0);
    missile.At(static_cast<int16_t>(ground + 10));
    // Used to divide by the zero distance between the two.
    EXPECT_EQ(launcher.HasTerrainLineOfSight(missile), 1);
    EXPECT_EQ(missile.HasTerrainLineOfSight(launcher), 1);
}

TEST(UpdatePairDetection, TheRangeBoundGivesTheSameContactsAndJammingAsTheExactPass)
{
    std::vector<detectionscene::Posted> contacts[2];
    std::vector<detectionscene::Jamming> jamming[2];
    for (int exact = 0; exact < 2; ++exact) {
        detectionscene::Scene scene(500, 2024);
        ASSERT_TRUE(scene.ok);
        const bool previous = SetPairReachShortcut(exact == 0);
        scene.arena.SetGameTime(GameTime(60));
        scene.Pass();
        scene.arena.SetGameTime(GameTime(75));
        scene.Pass();
        SetPairReachShortcut(previous);
        contacts[exact] = scene.posted;
        jamming[exact] = scene.JammingEntries();
    }
    EXPECT_GT(contacts[0].size(), 100u);
    EXPECT_GT(jamming[0].size(), 100u);
    for (size_t i = 0; i < std::min(contacts[0].size(), contacts[1].size()); ++i) {
        ASSERT_EQ(contacts[0][i], contacts[1][i]) << "contact " << i;
    }
    ASSERT_EQ(contacts[0].size(), contacts[1].size());
    ASSERT_EQ(jamming[0].size(), jamming[1].size());
    for (size_t i = 0; i < jamming[0].size(); ++i) {
        ASSERT_EQ(jamming[0][i], jamming[1][i]) << "jamming entry " << i;
    }
}

// ---- sonobuoy lines ----

// A line of the player's side laid in play from two buoys 20 nm apart on
// the equator, the first hearing through a probe of 10 nm.
struct LaidLine {
    explicit LaidLine(DetectionWorld& world) : w(world)
    {
        line = new SonobuoyLine;
        line->SetKey(50);
        w.units.Insert(line);
        line->SetSide(w.AddRecord(1), 0);
        for (uint16_t id : {51, 52}) {
            auto* buoy = new Weapon;
            buoy->SetKey(id);
            buoy->weaponKind = WeaponKind::SONOBUOY;
            buoy->SetSideID(PLAYER);
            buoy->SetPosition(LatLonPoint(0, (id - 51) * 20 * ANGLE_PER_MINUTE));
            w.units.Insert(buoy);
            buoys.push_back(buoy);
        }
        probe = &DetectionWorld::Probe(*buoys[0]);
        probe->maxRange = 10;
        probe->detects = true;
        for (Weapon* buoy : buoys)
            line->AddBuoy(*buoy);
    }
    SensorUnit& Target(uint16_t side, int32_t latMinutes, int32_t lonMinutes)
    {
        auto* target = new SensorUnit(nextTarget++, 'S', 1);
        target->SetSideID(side);
        target->SetPosition(LatLonPoint(latMinutes * ANGLE_PER_MINUTE, lonMinutes * ANGLE_PER_MINUTE));
        w.units.Insert(target);
        return *target;
    }

    DetectionWorld& w;
    SonobuoyLine* line = nullptr;
    std::vector<Weapon*> buoys;
    ProbeSensor* probe = nullptr;
    uint16_t nextTarget = 60;
};

TEST(SonobuoyLineDetect, ALaidLineHearsATargetAbeamAndNothingOutsideItsArea)
{
    DetectionWorld world;
    LaidLine laid(world);
    // Abeam of the middle, 6 nm off: heard across the line, with line of
    // sight taken as given under water.
    SensorUnit& abeam = laid.Target(ENEMY, 6, 10);
    EXPECT_TRUE(laid.line->DetectUnit(abeam));
    EXPECT_EQ(laid.probe->calls, 1);
    EXPECT_TRUE(laid.probe->lastSight);
    const int32_t expected = static_cast<int32_t>(Log10Times100(6 * RANGE_PER_NM)) - 34;
    EXPECT_NEAR(laid.probe->lastLevel, expected, 2);
    ASSERT_EQ(world.posted.size(), 1u);
    EXPECT_EQ(world.posted[0].contact->observerId, 50);
    EXPECT_EQ(world.posted[0].recordKey, 1);
    // 15 nm off lies outside the area (10 nm round the ends): not examined.
    SensorUnit& far = laid.Target(ENEMY, 15, 10);
    EXPECT_FALSE(laid.line->DetectUnit(far));
    EXPECT_EQ(laid.probe->calls, 1);
}

TEST(SonobuoyLineDetect, OptionBit8CountsOnlyForThePlayersSide)
{
    for (uint16_t side : {PLAYER, ENEMY}) {
        DetectionWorld world;
        LaidLine laid(world);
        laid.line->SetSideID(side);
        DetectionOptions::SetRealismLevel(DetectionOptions::KNOW_EVERY_UNIT);
        SensorUnit& far = laid.Target(ENEMY, 600, 600);
        far.speed = 12;
        EXPECT_FALSE(laid.line->DetectUnit(far));
        EXPECT_EQ(laid.probe->calls, 0);
        if (side == PLAYER) {
            ASSERT_EQ(world.posted.size(), 1u) << side;
            EXPECT_EQ(world.posted[0].contact->speed, 12);
            EXPECT_EQ(world.posted[0].contact->knownBits & 0x3, 0x3);
        } else {
            EXPECT_TRUE(world.posted.empty()) << side;
        }
    }
}

TEST(SonobuoyLineDetect, AnEmptyOrInactiveLineHearsNothing)
{
    DetectionWorld world;
    auto* line = new SonobuoyLine;
    line->SetKey(50);
    world.units.Insert(line);
    SensorUnit& target = world.Place(61, 'S', 1, ENEMY, 7, 0, 0);
    EXPECT_FALSE(line->DetectUnit(target));
    EXPECT_TRUE(world.posted.empty());
}

TEST(WeaponConstruction, ARadarSuiteInAWeaponBecomesARadarSensor)
{
    sensortest::SensorWorld sensors;
    auto* suite = new SensorAnnex(40);
    suite->sensorType = Sensor::TYPE_RADAR_SUITE;
    Annex::Tables().Sensors()->Insert(suite);
    auto* record = new WeaponAnnex(41);
    record->sensors.Insert(new IDRecord(40, 0));
    Annex::Tables().Weapons()->Insert(record);
    Weapon weapon(41);
    ASSERT_NE(weapon.sensors.First(), nullptr);
    EXPECT_NE(dynamic_cast<RadarSensor*>(weapon.sensors.First()), nullptr);
    EXPECT_EQ(weapon.sensors.First()->GetOwner(), &weapon);
}

}  // namespace
