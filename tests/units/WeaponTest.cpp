// WeaponTest.cpp: a weapon built from its record (attack mask, warheads,
// copied figures), its answers as a target (mask by kind, signatures,
// altitude), its target bookkeeping with the launcher and guiding sensor,
// the status time, and its record through the unit list, damaged forms
// refused. Sonobuoy lines: buoys joining and leaving, the ends, vector and
// listening area, the distance the listening measures, the line's record.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "core/NavMath.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "units/SensorChannel.h"
#include "units/SonobuoyLine.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"
#include "units/Weapon.h"

namespace {

using namespace unittest;

constexpr uint16_t MISSILE = 1, DECOY = 2, MISSING = 99;


// A world with an arena unit list, a weapon annex and the weapon and line
// classes registered.
class Weapons : public testing::Test {
protected:
    Weapons() : previousRecordFactory(SetSensorRecordFactory(&MakeRecordSensor))
    {
        previousList = UnitList::SetArenaList(&units);
        previousW = UnitFactory::Register('W', nullptr);
        previousL = UnitFactory::Register('L', nullptr);
        previousS = UnitFactory::Register('S', &MakeTestUnit<'S'>);
        RegisterWeaponClass();
        RegisterSonobuoyLineClass();
        Annex::Tables().Create();
        AnnexTables& t = Annex::Tables();
        auto* blast = new WarheadAnnex(5);
        blast->warheadType = 0x400;
        blast->damage = 120;
        blast->count = 2;
        t.Warheads()->Insert(blast);
        auto* bomblets = new WarheadAnnex(6);
        bomblets->warheadType = 2;
        bomblets->damage = 7;   // the weapon it releases
        bomblets->count = 12;
        t.Warheads()->Insert(bomblets);
        auto* suite = new SensorAnnex(3);
        suite->sensorType = Sensor::TYPE_RADAR_SUITE;
        t.Sensors()->Insert(suite);

        auto* missile = new WeaponAnnex(MISSILE);
        missile->weaponKind = WeaponKind::ECM_COUNTERED;
        missile->targetMask = 0x5;
        for (uint16_t id : {5, 6, 6, 40})
            missile->warheadIDs.Insert(new IDNode(id));
        missile->sensors.Insert(new IDRecord(3, 0));
        missile->triple1.Set(0, 11);
        missile->triple3.Set(1, 33);
        missile->triple5.Set(2, 55);
        missile->surfaceChance = 70;
        missile->surfaceChanceFar = 40;
        missile->airChance = -5;
        missile->airChanceLong = 9;
        missile->value1 = 3;
        missile->launchAltitude = 4;
        missile->weaponFlags = 0x2001;
        missile->climbRate = 250;
        missile->className.Set("Sea Lance");
        t.Weapons()->Insert(missile);
        auto* decoy = new WeaponAnnex(DECOY);
        decoy->weaponKind = WeaponKind::DECOY;
        decoy->targetMask = 0x3;
        t.Weapons()->Insert(decoy);
    }
    ~Weapons() override
    {
        for (Unit* u = units.First(); u != nullptr; u = u->GetNext())
            u->ForgetMemberships();
        units.DeleteAll();
        Annex::Tables().Delete();
        UnitFactory::Register('W', previousW);
        UnitFactory::Register('L', previousL);
        UnitFactory::Register('S', previousS);
        UnitList::SetArenaList(previousList);
        SetSensorRecordFactory(previousRecordFactory);
    }

    template <class T>
    T* Add(T* unit, uint16_t id)
    {
        unit->SetKey(id);
        units.Insert(unit);
        return unit;
    }

    UnitWorld world;
    UnitList units;
    SensorRecordFactory previousRecordFactory;
    UnitList* previousList = nullptr;
    UnitFactory::Maker previousW = nullptr;
    UnitFactory::Maker previousL = nullptr;
    UnitFactory::Maker previousS = nullptr;
};

TEST_F(Weapons, BuildsFromItsRecord)
{
    Weapon w(MISSILE);
    EXPECT_EQ(w.GetAnnexID(), MISSILE);
    EXPECT_EQ(w.attackMask, 0x5u);
    EXPECT_STREQ(w.GetName().Text(), "Sea Lance");
    EXPECT_STREQ(w.GetClassName().Text(), "W");
    EXPECT_EQ(w.signature4.Get(0), 11);
    EXPECT_EQ(w.aspectValues[0].Get(1), 33);
    EXPECT_EQ(w.aspectValues[2].Get(2), 55);
    EXPECT_EQ(w.surfaceHitChance, 70);
    EXPECT_EQ(w.secondHitValue, 40);
    EXPECT_EQ(w.airHitModifier, -5);
    EXPECT_EQ(w.fourthHitValue, 9);
    EXPECT_EQ(w.guidanceByte, 3);
    EXPECT_EQ(w.firstCounterValue, 4);
    EXPECT_EQ(w.weaponFlags, 0x2001u);
    EXPECT_EQ(w.secondCounterValue, 250);
    ASSERT_NE(w.sensors.First(), nullptr);
    EXPECT_EQ(w.sensors.First()->GetSensorType(), Sensor::TYPE_RADAR_SUITE);
    EXPECT_EQ(w.GetCountermeasure(1), 250);
    EXPECT_EQ(w.GetCountermeasure(-1), 500);
}

TEST_F(Weapons, WarheadsInRecordOrderDuplicatesKeptMissingTypeZero)
{
    // The record's list holds 5, 6, 6 and 40, which has no warhead record.
    Weapon w(MISSILE);
    std::vector<std::tuple<uint32_t, uint16_t, uint16_t>> got;
    for (const WarheadLink* l = w.warheads.First(); l != nullptr; l = l->GetNext())
        got.emplace_back(l->warheadType, l->warheadValue, l->warheadCount);
    std::vector<std::tuple<uint32_t, uint16_t, uint16_t>> want{
        {0x400, 120, 2}, {2, 7, 12}, {2, 7, 12}, {WarheadLink::NO_WARHEAD_TYPE, 0, 0}};
    EXPECT_EQ(got, want);
}

TEST_F(Weapons, DecoyTakesMask16AndMissingRecordGivesEmptyWeapon)
{
    Weapon decoy(DECOY);
    EXPECT_EQ(decoy.attackMask, DECOY_TARGET_MASK);
    EXPECT_EQ(decoy.GetTargetMask(), DECOY_TARGET_MASK);
    Weapon none(MISSING);
    EXPECT_EQ(none.GetAnnexID(), 0);
    EXPECT_EQ(none.warheads.First(), nullptr);
    EXPECT_EQ(none.weaponKind, 0u);
    decoy.attackMask = 0x4;
    EXPECT_EQ(decoy.GetAttackMask(), DECOY_TARGET_MASK);
}

TEST_F(Weapons, TargetMaskByKind)
{
    const std::pair<uint32_t, uint32_t> cases[] = {{1, 8}, {16, 0x800}, {4096, 0x1000}, {256, 0}, {0, 0}};
    for (auto [kind, mask] : cases) {
        Weapon w;
        w.weaponKind = kind;
        w.attackMask = 0xFF;
        EXPECT_EQ(w.GetTargetMask(), mask) << "kind " << kind;
    }
}

TEST_F(Weapons, SignaturesByAltitudeAndRunningTorpedo)
{
    Weapon w;
    w.aspectValues[0].Set(1, 40);
    w.signature4.Set(1, 100);
    struct Case { int16_t altitude; int16_t visual; };
    for (Case c : {Case{0, 40}, Case{8, 40}, Case{9, 90}, Case{10, 90}, Case{11, 40}}) {
        w.SetAltitude(c.altitude);
        EXPECT_EQ(w.GetVisualSignature(1), c.visual) << c.altitude;
    }
    w.weaponKind = WeaponKind::TORPEDO;
    auto* plant = new PropulsionPlant;
    plant->SetKey(1);
    w.plants.Insert(plant);
    w.plantKey = plant->GetKey();
    plant->setting = PlantSetting::CRUISE;
    EXPECT_EQ(w.GetFirstSonarSignature(1), 100);
    plant->setting = PlantSetting::FULL;
    EXPECT_EQ(w.GetFirstSonarSignature(1), 120);
    w.weaponKind = WeaponKind::ECM_COUNTERED;
    EXPECT_EQ(w.GetFirstSonarSignature(1), 100);
}

TEST_F(Weapons, SonobuoyAtSurfaceClassCodeHasAltitudeZero)
{
    Weapon w;
    w.SetAltitude(-5);
    EXPECT_EQ(w.GetAltitude(), -5);
    w.SetStateFlags(Weapon::SURFACE_CLASS_CODE | 0x1);
    EXPECT_EQ(w.GetAltitude(), 0);
    w.SetStateFlags(0xA000);
    EXPECT_EQ(w.GetAltitude(), -5);
}

TEST_F(Weapons, TargetBookkeepingKeepsLauncherTallyAndReleasesGuidingSensor)
{
    auto* launcher = Add(new TestUnit('S'), 10);
    auto* sensor = new TestSensor(Sensor::TYPE_RADAR);
    sensor->SetKey(3);
    launcher->sensors.Insert(sensor);
    sensor->trackedTargets.Insert(new TrackedTarget(300, 1));
    auto* w = Add(new Weapon, 20);
    w->launcherID = 10;
    w->guideSensorID = sensor->GetKey();
    w->SetTarget(300);
    EXPECT_EQ(w->targetLocked, 1);
    ASSERT_NE(launcher->WeaponTallies().Find(300), nullptr);
    w->ClearTarget(300);
    EXPECT_EQ(w->targetLocked, 0);
    EXPECT_EQ(w->targetID, 0);
    EXPECT_EQ(launcher->WeaponTallies().Find(300), nullptr);
    EXPECT_EQ(sensor->trackedTargets.Find(300), nullptr);

    // Another id leaves the target; a launcher gone is skipped.
    w->SetTarget(301);
    w->ClearTarget(999);
    EXPECT_EQ(w->targetID, 301);
    w->launcherID = 77;
    w->ClearTarget(301);
    EXPECT_EQ(w->targetID, 0);
}

TEST_F(Weapons, DamageDestroysAndDestructionClearsTheTally)
{
    auto* launcher = Add(new TestUnit('S'), 10);
    auto* w = Add(new Weapon, 20);
    w->launcherID = 10;
    w->SetTarget(300);
    w->SetFlags(0x3000);
    EXPECT_EQ(w->TakeDamage(1, 0), 1);
    EXPECT_TRUE(w->TestFlags(Weapon::DESTROYED));
    EXPECT_FALSE(w->TestFlags(0x3000));
    EXPECT_EQ(launcher->WeaponTallies().Find(300), nullptr);

    auto* second = Add(new Weapon, 21);
    second->launcherID = 10;
    second->SetTarget(302);
    units.Remove(second);
    delete second;
    EXPECT_EQ(launcher->WeaponTallies().Find(302), nullptr);
}

TEST_F(Weapons, EndingTheRunPostsItsDeletionAndClearsTheTarget)
{
    auto* launcher = Add(new TestUnit('S'), 10);
    auto* w = Add(new Weapon, 20);
    w->launcherID = 10;
    w->SetTarget(300);
    w->EndRun();
    EXPECT_EQ(w->targetID, 0);
    EXPECT_EQ(launcher->WeaponTallies().Find(300), nullptr);
    ASSERT_EQ(world.Queued(EventCode::DELETE_UNIT).size(), 1u);
    EXPECT_EQ(world.Queued(EventCode::DELETE_UNIT)[0]->GetSubject(), 20);
}

TEST_F(Weapons, StatusShowsTimeToGoAsHoursMinutesSeconds)
{
    char text[16];
    Weapon::FormatTimeToGo(3725, text, sizeof text);
    EXPECT_STREQ(text, "01:02:05");
    Weapon w(MISSILE);
    w.timeToGo = 59;
    w.SetAltitude(12);
    UnitStatus status;
    w.GetStatus(status);
    EXPECT_EQ(status.lineCount, Weapon::STATUS_LINES);
    EXPECT_STREQ(status.lines[0], "Sea Lance");
    EXPECT_STREQ(status.lines[3], "120m");
    EXPECT_STREQ(status.lines[6], "00:00:59");
}

// ---- records through the unit list ----

std::string Saved(const UnitList& list)
{
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    return out.str();
}

TEST_F(Weapons, WeaponAndLineRoundTripThroughTheUnitList)
{
    auto* w = Add(new Weapon(MISSILE), 20);
    w->targetID = 300;
    w->seekerScore = -4;
    w->timeToGo = 77;
    w->launchClock.Set(900);
    auto* empty = Add(new Weapon, 22);
    empty->weaponKind = WeaponKind::SONOBUOY;
    auto* line = Add(new SonobuoyLine, 30);
    line->SetArea(LatLonRect(100, -50, -100, 50));
    empty->SetPosition(LatLonPoint(0, 0));
    line->AddBuoy(*empty);
    line->SetArea(LatLonRect(100, -50, -100, 50));
    const std::string bytes = Saved(units);

    UnitList copy;
    std::istringstream in(bytes, std::ios::binary);
    ASSERT_TRUE(copy.Load(in));
    EXPECT_EQ(Saved(copy), bytes);
    auto* w2 = static_cast<Weapon*>(copy.Find(20));
    ASSERT_EQ(w2->GetTypeLetter(), 'W');
    EXPECT_EQ(w2->launchClock.Get(), 0);
    EXPECT_EQ(static_cast<Weapon*>(copy.Find(22))->warheads.First(), nullptr);
    auto* line2 = static_cast<SonobuoyLine*>(copy.Find(30));
    EXPECT_TRUE(line2->IsActive());
    EXPECT_EQ(line2->GetArea().north, 100);
    EXPECT_EQ(line2->GetListeningBuoyID(), 22);
    for (Unit* u = copy.First(); u != nullptr; u = u->GetNext())
        u->ForgetMemberships();
}

TEST_F(Weapons, LineLoadedWithoutBuoysStaysInactive)
{
    Add(new SonobuoyLine, 30);
    UnitList copy;
    std::istringstream in(Saved(units), std::ios::binary);
    ASSERT_TRUE(copy.Load(in));
    EXPECT_FALSE(static_cast<SonobuoyLine*>(copy.Find(30))->IsActive());
}

// The header of a record up to its warhead (or buoy) count, then the count.
std::string WithCount(const std::string& list, size_t countAt, uint16_t count)
{
    std::string bytes = list;
    bytes[countAt] = static_cast<char>(count & 0xFF);
    bytes[countAt + 1] = static_cast<char>(count >> 8);
    return bytes;
}

TEST_F(Weapons, DamagedRecordsAreRefusedAndNothingIsKept)
{
    auto* launcher = Add(new TestUnit('S'), 10);
    auto* w = Add(new Weapon(MISSILE), 20);
    w->launcherID = 10;
    w->SetTarget(300);
    auto* line = Add(new SonobuoyLine, 30);
    auto* buoy = Add(new Weapon, 31);
    buoy->weaponKind = WeaponKind::SONOBUOY;
    buoy->SetSideID(2);   // a buoy of a side leaves its line when deleted
    line->AddBuoy(*buoy);
    const std::string bytes = Saved(units);
    // Where the weapon's and the line's records begin in the list.
    std::ostringstream one(std::ios::binary);
    w->SaveFields(one);
    const size_t weaponAt = bytes.find(one.str());
    ASSERT_NE(weaponAt, std::string::npos);
    std::ostringstream lineBytes(std::ios::binary);
    line->SaveFields(lineBytes);
    const size_t lineAt = bytes.find(lineBytes.str());
    ASSERT_NE(lineAt, std::string::npos);

    std::vector<std::pair<std::string, std::string>> cases;
    for (size_t cut : {size_t{3}, weaponAt + 5, weaponAt + 12, weaponAt + 40, bytes.size() - 1})
        cases.emplace_back("cut at " + std::to_string(cut), bytes.substr(0, cut));
    // Every record whole, but the list promises one more: the weapon and
    // the buoy read in full are refused with it.
    const auto held = static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8);
    cases.emplace_back("one unit more", WithCount(bytes, 0, static_cast<uint16_t>(held + 1)));
    cases.emplace_back("warhead count", WithCount(bytes, weaponAt + 9, 0xFFFF));
    cases.emplace_back("buoy count", WithCount(bytes, lineAt + 17, 0xFFFF));
    for (const auto& [name, damaged] : cases) {
        UnitList copy;
        std::istringstream in(damaged, std::ios::binary);
        EXPECT_FALSE(copy.Load(in)) << name;
        EXPECT_EQ(copy.First(), nullptr) << name;
        // The launcher's tally of the live weapon is untouched.
        EXPECT_NE(launcher->WeaponTallies().Find(300), nullptr) << name;
        EXPECT_TRUE(line->IsActive()) << name;
    }
}

// ---- sonobuoy lines ----

class Lines : public Weapons {
protected:
    // A buoy at (lat, lon) minutes, hearing `reach` nautical miles.
    Weapon* Buoy(uint16_t id, int32_t latMinutes, int32_t lonMinutes, uint16_t reach = 0)
    {
        auto* b = Add(new Weapon, id);
        b->weaponKind = WeaponKind::SONOBUOY;
        b->SetSideID(2);
        b->SetPosition(LatLonPoint(latMinutes * ANGLE_PER_MINUTE, lonMinutes * ANGLE_PER_MINUTE));
        if (reach != 0) {
            auto* s = new TestSensor(Sensor::TYPE_PASSIVE_SONAR);
            s->maxRange = reach;
            b->sensors.Insert(s);
        }
        b->SetFlags(0x3000);
        return b;
    }
    SonobuoyLine* line = Add(new SonobuoyLine, 100);
};

TEST_F(Lines, FirstBuoySetsStartAndSideLaterOnesMoveTheEndAndTheArea)
{
    Weapon* a = Buoy(1, 0, 0, 10);
    line->AddBuoy(*a);
    EXPECT_EQ(line->GetSideID(), 2);
    EXPECT_EQ(a->guideID, 100);
    EXPECT_FALSE(a->TestFlags(0x3000));
    EXPECT_TRUE(line->IsActive());
    EXPECT_TRUE(line->TestFlags(SonobuoyLine::LISTENING));
    EXPECT_EQ(line->GetStartPoint(), a->GetPosition());
    line->AddBuoy(*Buoy(2, 0, 20));
    EXPECT_EQ(line->GetStartPoint(), a->GetPosition());
    EXPECT_EQ(line->GetEndPoint(), LatLonPoint(0, 20 * ANGLE_PER_MINUTE));
    // The vector is worked out as the end moves: 20 nm due east.
    EXPECT_NEAR(line->GetLineLength(), 20 * RANGE_PER_NM, RANGE_PER_NM / 10);
    EXPECT_NEAR(line->GetLineBearing(), ANGLE_RIGHT, ANGLE_PER_DEGREE);
    // The area: both ends widened by the listening buoy's 10 nm.
    const LatLonRect& area = line->GetArea();
    EXPECT_EQ(area.north, 10 * ANGLE_PER_MINUTE);
    EXPECT_EQ(area.south, -10 * ANGLE_PER_MINUTE);
    EXPECT_EQ(area.west, -10 * ANGLE_PER_MINUTE);
    EXPECT_EQ(area.east, 30 * ANGLE_PER_MINUTE);
}

TEST_F(Lines, AListeningBuoyNotYetInTheUnitListWidensTheArea)
{
    // Dropped and joined before the unit list takes it.
    Weapon* a = Buoy(1, 0, 0, 10);
    units.Remove(a);
    line->AddBuoy(*a);
    EXPECT_EQ(line->GetArea().north, 10 * ANGLE_PER_MINUTE);
    EXPECT_EQ(line->GetArea().west, -10 * ANGLE_PER_MINUTE);
    units.Insert(a);
}

TEST_F(Lines, DistanceBehindBeyondAndOnTheAxis)
{
    line->AddBuoy(*Buoy(1, 0, 0));
    line->AddBuoy(*Buoy(2, 0, 20));
    struct Case { const char* name; int32_t lat, lon; int32_t nm; };
    const Case cases[] = {
        {"behind the start", 3, -4, 5},
        {"beyond the end", 3, 24, 5},
        {"abeam", 6, 10, 6},
        {"on the axis", 0, 10, 0},
    };
    for (const Case& c : cases) {
        const LatLonPoint p(c.lat * ANGLE_PER_MINUTE, c.lon * ANGLE_PER_MINUTE);
        NavVector v = NavMath::Get_Vector(line->GetStartPoint(), p);
        const int32_t d = line->DistanceTo(p, v);
        EXPECT_NEAR(d, c.nm * RANGE_PER_NM, RANGE_PER_NM / 5) << c.name;
    }
}

TEST_F(Lines, FarFromTheEquatorTheDistanceAcrossIsMeasuredOnTheGround)
{
    // A line at 60 degrees north laid to the north-east, 200 nm long; a
    // target 60 nm off its middle at right angles on the ground. The
    // bearings of the vectors are ground bearings already: taken again as
    // flat-plane directions they would put the target some 70 nm off.
    const LatLonPoint start(60 * ANGLE_PER_DEGREE, 0);
    const int32_t bearing = 45 * ANGLE_PER_DEGREE;
    const LatLonPoint end = NavMath::Get_LatLonPoint_From_Vector(start, 200 * RANGE_PER_NM, bearing);
    Weapon* a = Buoy(1, 0, 0);
    Weapon* b = Buoy(2, 0, 0);
    a->SetPosition(start);
    b->SetPosition(end);
    line->AddBuoy(*a);
    line->AddBuoy(*b);
    const LatLonPoint middle = NavMath::Get_LatLonPoint_From_Vector(start, 100 * RANGE_PER_NM, bearing);
    const LatLonPoint target = NavMath::Get_LatLonPoint_From_Vector(middle, 60 * RANGE_PER_NM, bearing + ANGLE_RIGHT);
    NavVector v = NavMath::Get_Vector(start, target);
    EXPECT_NEAR(line->DistanceTo(target, v), 60 * RANGE_PER_NM, RANGE_PER_NM);
}

TEST_F(Lines, RemovingBuoysMovesOnlyTheEndsThatLoseThem)
{
    Weapon* a = Buoy(1, 0, 0);
    Weapon* b = Buoy(2, 0, 10);
    Weapon* c = Buoy(3, 0, 20);
    Weapon* d = Buoy(4, 0, 30);
    for (Weapon* w : {a, b, c, d})
        line->AddBuoy(*w);
    EXPECT_FALSE(line->RemoveBuoy(*Buoy(9, 0, 0)));
    // The middle: neither end moves.
    EXPECT_TRUE(line->RemoveBuoy(*c));
    EXPECT_EQ(line->GetEndPoint(), d->GetPosition());
    EXPECT_EQ(line->GetStartPoint(), a->GetPosition());
    // The first, when the next one is gone already: the start moves on to
    // the first buoy still in play.
    b->SetSideID(0);   // gone without leaving its line
    units.Remove(b);
    delete b;
    EXPECT_TRUE(line->RemoveBuoy(*a));
    EXPECT_EQ(line->GetStartPoint(), d->GetPosition());
    EXPECT_EQ(line->GetListeningBuoyID(), 4);
    EXPECT_TRUE(world.Queued(EventCode::DELETE_UNIT).empty());
    // The last one ends the line and schedules its deletion.
    EXPECT_TRUE(line->RemoveBuoy(*d));
    EXPECT_FALSE(line->IsActive());
    EXPECT_FALSE(line->TestFlags(SonobuoyLine::LISTENING));
    ASSERT_EQ(world.Queued(EventCode::DELETE_UNIT).size(), 1u);
    EXPECT_EQ(world.Queued(EventCode::DELETE_UNIT)[0]->GetSubject(), 100);
}

TEST_F(Lines, DestroyedBuoyLeavesItsLine)
{
    Weapon* a = Buoy(1, 0, 0);
    Weapon* b = Buoy(2, 0, 10);
    line->AddBuoy(*a);
    line->AddBuoy(*b);
    units.Remove(b);
    delete b;
    EXPECT_EQ(line->Buoys().Find(2), nullptr);
    EXPECT_TRUE(line->IsActive());
    // A buoy whose guide is no line only clears its target.
    Weapon* stray = Buoy(3, 0, 0);
    stray->guideID = 1;   // a weapon, not a line
    units.Remove(stray);
    delete stray;
    EXPECT_NE(line->Buoys().Find(1), nullptr);
}

}  // namespace
