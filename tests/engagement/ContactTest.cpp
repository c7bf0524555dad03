// ContactTest.cpp: the contact record: a fresh detection and the decoy rule,
// the copy, precision and areas, holds, threat values, and the saved record
// in every file form, damaged records refused.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "ContactWorld.h"
#include "core/NavMath.h"
#include "core/ScenarioAdmin.h"
#include "support/ReportCapture.h"
#include "world/UncertainPoly.h"

namespace {

using contacttest::ContactWorld;
using contacttest::FakeUnit;

constexpr int32_t NM = 4096;
const LatLonPoint SEA{60 * 245760, 2 * 245760};

class ContactRecord : public testing::Test {
protected:
    ContactWorld world;
};

TEST_F(ContactRecord, AFreshDetectionTakesTheUnitsPicture)
{
    world.SetTime(500);
    FakeUnit& ship = world.AddUnit(42, 'S', 1, SEA);
    ship.SetAltitude(3);
    ship.SetStateFlags(0x0823);
    Contact c(ship, 1);
    EXPECT_EQ(c.GetKey(), 42);
    EXPECT_EQ(c.typeLetter, 'S');
    EXPECT_EQ(c.GetTypeFlags(), 1u);
    EXPECT_EQ(c.GetDetectionKind(), 1u);
    EXPECT_EQ(c.lastDetection.Get(), 500u);
    EXPECT_EQ(c.PositionObject::GetPosition(), SEA);
    EXPECT_EQ(c.PositionObject::GetAltitude(), 3);
    EXPECT_EQ(c.bandWord, 0x0823);
    EXPECT_EQ(c.contactNumber, 0);
    EXPECT_EQ(c.GetArea(), nullptr);
    EXPECT_STREQ(c.name.Text(), "Surface Vessel");
    char name[Contact::NAME_TEXT_SIZE];
    c.GetName(name);
    EXPECT_STREQ(name, "Surface Vessel-0");
}

TEST_F(ContactRecord, ADecoyPresentsWhatItImitates)
{
    struct Row { uint32_t unitMask; uint32_t kind; uint32_t mask; uint16_t band; };
    const Row rows[] = {
        {2 | 1, 1, 2, 0x3000 | 0x1A5},   // submerged first
        {1 | 4, 1, 1, 0x1000 | 0x1A5},
        {4, 1, 4, 0x5000 | 0x1A5},
        {0, 1, 8, 0x7000 | 0x1A5},
        {2, 2, 8, 0x0FA5},               // kind 2 sees through it; band word kept
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.unitMask << " kind " << r.kind);
        ContactWorld& w = world;
        FakeUnit& decoy = w.AddUnit(static_cast<uint16_t>(100 + r.unitMask + r.kind * 16), 'W', r.unitMask, SEA);
        decoy.weaponKind = Contact::DECOY_WEAPON_KIND;
        decoy.SetStateFlags(0x0FA5);
        Contact c(decoy, r.kind);
        EXPECT_EQ(c.GetTypeFlags(), r.mask);
        EXPECT_EQ(c.bandWord, r.band);
    }
}

TEST_F(ContactRecord, NamesFollowTheTypeLetter)
{
    struct Row { char letter; uint32_t mask; const char* name; };
    const Row rows[] = {
        {'P', 4, "Aircraft"},  {'S', 1, "Surface Vessel"}, {'U', 2, "Submerged Contact"},
        {'F', 0x20, "Installation"}, {'W', 8, "Missile"}, {'W', 0x800, "Torpedo"}, {'G', 1, "Unknown Contact"},
    };
    uint16_t id = 1;
    for (const Row& r : rows) {
        Contact c(world.AddUnit(id++, r.letter, r.mask), 1);
        EXPECT_STREQ(c.name.Text(), r.name) << r.letter;
    }
}

TEST_F(ContactRecord, HoldsKeepTheSmallestRequest)
{
    Contact c;
    c.SetFirstDetection(0);
    EXPECT_EQ(c.pendingHold, 0u);
    c.SetFirstDetection(60);
    c.SetFirstDetection(5);
    EXPECT_EQ(c.pendingHold, 5u);
    c.SetFirstDetection(90);
    EXPECT_EQ(c.pendingHold, 5u);
    world.SetTime(1000);
    c.ApplyHold();
    EXPECT_EQ(c.holdUntil.Get(), 1005u);
    EXPECT_EQ(c.pendingHold, 0u);
    world.SetTime(1005);
    c.ApplyHold();
    EXPECT_EQ(c.holdUntil.Get(), 1005u);   // not yet past
    world.SetTime(1006);
    c.ApplyHold();
    EXPECT_EQ(c.holdUntil.Get(), 0u);
}

TEST_F(ContactRecord, DetectionPrecisionMakesTheArea)
{
    FakeUnit& ship = world.AddUnit(7, 'S', 1, {SEA.lat + 20 * NM, SEA.lon});
    {   // A bearing error of 0 is an exact fix.
        Contact c(ship, 1);
        c.SetDetectionValue(0, 1);
        c.SetDetectionPoint(SEA);
        EXPECT_EQ(c.GetArea(), nullptr);
        EXPECT_EQ(c.PositionObject::GetPosition(), ship.PositionObject::GetPosition());
    }
    {   // Neither error: a circle of the farthest range, here 0, round the observer.
        Contact c(ship, 1);
        c.SetDetectionPoint(SEA);
        ASSERT_NE(c.GetArea(), nullptr);
        EXPECT_EQ(c.GetArea()->GetPointCount(), 25);
        EXPECT_EQ(c.GetArea()->GetLatLonPoint(0), SEA);
        EXPECT_TRUE(c.knownBits & ContactKnown::AREA);
    }
    {   // A bearing error makes a sector; the contact moves to its centre.
        Contact c(ship, 1);
        c.SetDetectionValue(20, 1);
        c.SetSource(2 * NM, 1, 0, 40);
        c.SetDetectionPoint(SEA);
        ASSERT_NE(c.GetArea(), nullptr);
        EXPECT_EQ(c.PositionObject::GetPosition(), c.GetArea()->Get_Center());
        // Every vertex drawn lies on the area.
        std::set<int32_t> seen;
        for (int i = 0; i < 40; ++i) {
            LatLonPoint p;
            c.GetPosition(p);
            bool onArea = false;
            for (int16_t v = 0; v < c.GetArea()->GetPointCount(); ++v)
                onArea = onArea || c.GetArea()->GetLatLonPoint(v) == p;
            EXPECT_TRUE(onArea);
            seen.insert(p.lat * 31 + p.lon);
        }
        EXPECT_GT(seen.size(), 1u);   // changes from call to call
    }
}

TEST_F(ContactRecord, MergingPrecisionKeepsTheSharper)
{
    Contact a;
    Contact b;
    a.SetSource(500, 1, 100, 40);
    b.SetSource(300, 1, 200, 30);
    b.SetDetectionValue(12, 1);
    a.MergeDetectionValue(b);
    EXPECT_EQ(a.rangeError, 300u);
    EXPECT_EQ(a.bearingError, 12);
    EXPECT_EQ(a.bearingErrorValid, 1);
    EXPECT_EQ(a.minRange, 200u);
    EXPECT_EQ(a.maxRange, 30);
}

TEST_F(ContactRecord, ThreatValuesByTargetClass)
{
    struct Row { uint32_t mask; uint8_t size; uint16_t expected[4]; };
    const Row rows[] = {
        {1, 8, {900, 900, 900, 900}},   {1, 3, {100, 100, 100, 100}}, {2, 0, {0, 550, 550, 0}},
        {4, 0, {1000, 1000, 1000, 1000}}, {8, 0, {0, 0, 0, 0}},        {0x20, 0, {1500, 0, 0, 0}},
        {0x60, 0, {1500, 0, 0, 0}},     {0x100, 0, {0, 0, 0, 0}},    {0x1000, 0, {7, 7, 7, 7}},   // unchanged
    };
    for (const Row& r : rows) {
        Contact c;
        for (uint16_t& t : c.threat)
            t = 7;
        c.targetMask = r.mask;
        c.sizeClass = r.size;
        c.UpdateThreatValues();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.threat[2 + i], r.expected[i]) << r.mask << " value " << i;
        EXPECT_EQ(c.threat[0], 7);
    }
}

TEST_F(ContactRecord, TheCopyCarriesThePictureAndItsOwnArea)
{
    FakeUnit& ship = world.AddUnit(9, 'S', 1, SEA);
    Contact c(ship, 1);
    c.SetArea(contacttest::SquareArea(SEA, 5));
    c.sideId = 3;
    c.contactNumber = 17;
    c.SetBandFlag(1);
    c.speed = 12;
    c.sensorsEver.Insert(new IDNode(4));
    c.threat[5] = 99;
    Contact copy(&c);
    EXPECT_EQ(copy.GetKey(), 9);
    EXPECT_EQ(copy.sideId, 3);
    EXPECT_EQ(copy.contactNumber, 17);
    EXPECT_EQ(copy.bandFlag, 1);
    EXPECT_TRUE(copy.bandWord & 0x10);
    EXPECT_EQ(copy.threat[5], 99);
    EXPECT_EQ(copy.speed, 0);                    // not copied
    EXPECT_EQ(copy.sensorsEver.First(), nullptr);
    ASSERT_NE(copy.GetArea(), nullptr);
    EXPECT_NE(copy.GetArea(), c.GetArea());
    for (int16_t i = 0; i < c.GetArea()->GetPointCount(); ++i)
        EXPECT_EQ(copy.GetArea()->GetLatLonPoint(i), c.GetArea()->GetLatLonPoint(i));
    Contact empty(nullptr);
    EXPECT_EQ(empty.bandWord, 0xFFF);
}

// A contact with every saved field holding something.
void Fill(Contact& c)
{
    c.SetKey(321);
    c.detectionKind = 4;
    c.targetMask = 0x801;
    c.lastDetection = GameTime(123456);
    c.sideId = 2;
    c.sensorBitsEver = 0x24;
    c.name.Set("Raider");
    c.contactNumber = 1002;
    c.bandWord = 0x3ABC;
    c.SetPosition(SEA);
    c.SetAltitude(-12);
    c.SetArea(contacttest::SquareArea(SEA, 3));
    c.changeBits = 0x13;
    for (int i = 0; i < 6; ++i)
        c.threat[i] = static_cast<uint16_t>(100 + i);
    c.bandFlag = 1;
    c.stickyFlags = 0x81;
    c.conditionBits = 9;
    c.holdUntil = GameTime(999);
    c.pendingHold = 30;
    c.statusValue = 5;
    c.auxValue = 6;
    c.knownBits = 0x17;
    c.sizeClass = 8;
    c.sensorsEver.Insert(new IDNode(11));
    c.sensorsEver.Insert(new IDNode(12));
    c.identifiedAs = 77;
    c.observerId = 88;
    c.signalValue = 0xDEAD;
    c.hadArea = 1;
    c.auxTime = GameTime(4444);
    c.auxA = 1;
    c.auxB = 2;
    c.hostileAct = 1;
    c.speedEstimate = 25;
    c.courseEstimate = 270;
    c.sensorBitsLatest = 0x20;
    c.typeLetter = 'S';
    c.sensorsLatest.Insert(new IDNode(12));
    c.sensorBitsEver2 = 0x2C;
    c.course = 271;
    c.speed = 26;
    c.detectionHistory = 5;
}

std::string Saved(const Contact& c, const VersionNumber& form)
{
    std::ostringstream out;
    c.Save(out, form);
    return out.str();
}

// The file version the loaders read by, for one test.
class FileVersion {
public:
    explicit FileVersion(const VersionNumber& v) : previous(gAdmin)
    {
        gAdmin = &admin;
        admin.SetFileVersion(v);
    }
    ~FileVersion() { gAdmin = previous; }

private:
    ScenarioAdmin admin;
    ScenarioAdmin* previous;
};

TEST_F(ContactRecord, RoundTripsInEveryFileForm)
{
    world.AddUnit(321, 'U', 2);   // the unit an old record takes its letter from
    Contact original;
    Fill(original);
    struct Row { VersionNumber version; char letter; bool latest; uint32_t ever2; uint16_t course; };
    const Row rows[] = {
        {{2, 1, 3, 0}, 'U', false, 0x24, 0},     // letter from the unit, no group 12
        {{2, 1, 4, 0}, 'S', false, 0x24, 0},     // letter only
        {{2, 1, 5, 0}, 'S', false, 0x24, 0},
        {{2, 1, 7, 0}, 'S', true, 0x24, 0},      // second bits copied from the first
        {{2, 1, 11, 0}, 'S', true, 0x2C, 0},
        {{3, 6, 1, 9}, 'S', true, 0x2C, 0},
        {{3, 6, 2, 0}, 'S', true, 0x2C, 271},    // course and speed
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.version.Text());
        FileVersion file(r.version);
        const std::string bytes = Saved(original, r.version);
        std::istringstream in(bytes);
        Contact back;
        back.Load(in);
        ASSERT_TRUE(in);
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
        EXPECT_EQ(back.GetKey(), 321);
        EXPECT_EQ(back.typeLetter, r.letter);
        EXPECT_EQ(back.sensorsLatest.Find(12) != nullptr, r.latest);
        EXPECT_EQ(back.sensorBitsEver2, r.ever2);
        EXPECT_EQ(back.course, r.course);
        EXPECT_EQ(back.speed, r.course != 0 ? 26 : 0);
        EXPECT_EQ(back.name, "Raider");
        EXPECT_EQ(back.PositionObject::GetPosition(), SEA);
        EXPECT_EQ(back.PositionObject::GetAltitude(), -12);
        ASSERT_NE(back.GetArea(), nullptr);
        EXPECT_EQ(back.GetArea()->GetPointCount(), original.GetArea()->GetPointCount());
        EXPECT_EQ(back.GetArea()->GetLatLonPoint(2), original.GetArea()->GetLatLonPoint(2));
        EXPECT_EQ(back.threat[5], 105);
        EXPECT_EQ(back.holdUntil.Get(), 999u);
        EXPECT_EQ(back.courseEstimate, 270);
        EXPECT_EQ(back.sensorsEver.Find(11) != nullptr, true);
        EXPECT_EQ(back.detectionHistory, 0u);   // never saved
        // Written again in the same form, the bytes are the same.
        EXPECT_EQ(Saved(back, r.version), bytes);
        // Read by the stream constructor, the same.
        std::istringstream again(bytes);
        const Contact read(again);
        ASSERT_TRUE(again);
        EXPECT_EQ(Saved(read, r.version), bytes);
    }
}

TEST_F(ContactRecord, DamagedRecordsAreRefused)
{
    ReportCapture reports;
    Contact original;
    Fill(original);
    const std::string bytes = Saved(original, {3, 6, 3, 0});
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::istringstream in(bytes.substr(0, cut));
        Contact back;
        back.Load(in);
        EXPECT_FALSE(in) << cut;
    }
    EXPECT_FALSE(reports.errors.empty());

    // The area's point count (after the key, 4+4+4+1+4 bytes, the name, two
    // u16 and the 19-byte position part) announcing none in the area itself.
    std::ostringstream head;
    original.name.Save(head);
    const size_t areaCount = 2 + 17 + head.str().size() + 4 + 19;
    std::string noPoints = bytes;
    noPoints[areaCount + 2] = 0;   // the area body's own count
    noPoints[areaCount + 3] = 0;
    {
        std::istringstream in(noPoints);
        Contact back;
        back.Load(in);
        EXPECT_FALSE(in);
        EXPECT_EQ(back.GetArea(), nullptr);
    }
    // A sensor list announcing more ids than the record holds.
    Contact few;
    few.sensorsEver.Insert(new IDNode(0x4321));
    std::string many = Saved(few, {3, 6, 3, 0});
    const size_t listAt = many.find(std::string("\x01\x00\x21\x43", 4));
    ASSERT_NE(listAt, std::string::npos);
    many[listAt] = 60;
    std::istringstream in(many);
    Contact back;
    back.Load(in);
    EXPECT_FALSE(in);
}

}  // namespace
