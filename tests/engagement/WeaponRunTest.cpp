// Tests of a weapon's run: the flight step's rules (run and time to go in 64
// bits, search-pattern legs, seeker switch-on), its steps on a weapon in a
// world (a sonobuoy, out of fuel with a pending attack, surface clearance),
// the torpedo's straight run and wake, the missile chance and attack with
// point defence, the sector bits and countermeasures of point defence, and
// the area-effect burst.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WeaponWorld.h"
#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "engagement/ContactCalls.h"
#include "engagement/WeaponFireCalls.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "engagement/Intercept.h"
#include "engagement/WeaponRun.h"
#include "units/Weapon.h"
#include "units/WeaponRunCalls.h"

namespace {

using weapontest::WeaponWorld;

// A unit that records the damage it takes and may shoot every weapon down.
class TargetUnit : public contacttest::FakeUnit {
public:
    using FakeUnit::FakeUnit;
    int32_t ApplyDamage(int32_t amount, uint32_t kind, uint32_t) override
    {
        hits.push_back({amount, kind});
        return destroyOnHit ? 1 : 0;
    }
    bool PointDefense(Weapon& incoming) override
    {
        if (shootsDown)
            return true;
        return Unit::PointDefense(incoming);
    }
    std::vector<std::pair<int32_t, uint32_t>> hits;
    bool shootsDown = false;
    bool destroyOnHit = false;
};

// An event of a weapon's run that remembers it was handled.
class MarkEvent : public Event {
public:
    MarkEvent(uint8_t code, uint16_t subject, int* handled) : code_(code), subject_(subject), handled_(handled) {}
    bool HandleEvent() override
    {
        ++*handled_;
        return false;
    }
    uint16_t GetSubject() const override { return subject_; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream&) override { return true; }
    void Save(std::ostream&) const override {}

private:
    uint8_t code_;
    uint16_t subject_;
    int* handled_;
};

// The weapon world with the weapon's run installed and its lines captured.
class RunWorld : public WeaponWorld {
public:
    RunWorld()
    {
        Run() = this;
        InstallWeaponRun();
        WeaponRunHooks hooks;
        hooks.postToMessageLog = [](const char* text) { Run()->messages.emplace_back(text); };
        hooks.addToAALog = [](const char* text) { Run()->aaLog.emplace_back(text); };
        hooks.addTimedMapRing = [](const LatLonPoint&, int32_t radius, uint8_t colour, int32_t, int32_t) {
            Run()->rings.emplace_back(radius, colour);
        };
        previousHooks = SetWeaponRunHooks(hooks);
        previousSettings = SetWeaponRunSettings({});
        // No map here: every point is one a weapon may be at.
        WeaponFireCalls calls = GetWeaponFireCalls();
        calls.pointValidForType = [](const LatLonPoint&, int16_t) { return true; };
        SetWeaponFireCalls(calls);
    }
    ~RunWorld()
    {
        SetWeaponRunSettings(previousSettings);
        SetWeaponRunHooks(previousHooks);
        UninstallWeaponRun();
        Run() = nullptr;
    }
    static RunWorld*& Run()
    {
        static RunWorld* run = nullptr;
        return run;
    }
    Weapon& AddWeapon(uint16_t id, uint16_t recordID, const LatLonPoint& at)
    {
        auto* w = new Weapon(recordID);
        w->SetKey(id);
        w->SetPosition(at);
        units.Insert(w);
        return *w;
    }
    TargetUnit& AddTarget(uint16_t id, char letter, uint32_t mask, const LatLonPoint& at)
    {
        auto* u = new TargetUnit(id, letter, mask);
        u->SetPosition(at);
        units.Insert(u);
        return *u;
    }

    // A 600-knot missile (300) at (0, 0) aimed through side record 1 at a
    // ship (301) standing due north at the first point it meets `seconds`
    // out; `north` answers that point's latitude.
    Weapon& MissileClosingIn(int32_t seconds, int32_t& north)
    {
        SideContacts& record = AddRecord(1);
        int32_t time = 0;
        for (north = 5000;; ++north) {
            int32_t course = 0;
            LatLonPoint point;
            ComputeIntercept(LatLonPoint(north, 0), 0, 0, LatLonPoint(0, 0), &course, 600, &time, &point);
            if (time >= seconds)
                break;
        }
        TargetUnit& target = AddTarget(301, 'S', 0x1, LatLonPoint(north, 0));
        Contact* seen = new Contact(target, 1);
        record.MergeContact(&seen);
        Weapon& weapon = AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
        auto* plant = new PropulsionPlant;
        plant->SetKey(1);
        weapon.plants.Insert(plant);
        weapon.plantKey = 1;
        weapon.speed = 600;
        weapon.sideEntryID = 1;
        weapon.targetID = 301;
        weapon.SetPath(new PositionNode(LatLonPoint(north, 0)));
        return weapon;
    }

    // The combat and burst lines go to the after-action log.
    void LogToAALog()
    {
        WeaponFireSettings options;
        options.aaLog = true;
        SetWeaponFireSettings(options);
    }
    // One warhead of a weapon at (0, 0) bursts there.
    void Burst(uint32_t type, uint16_t strength)
    {
        Weapon& weapon = AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
        WarheadLink entry;
        entry.warheadType = type;
        entry.warheadValue = strength;
        WeaponRun::AreaAttack(entry, weapon.GetPosition(), &weapon);
    }

    std::vector<std::string> messages;
    std::vector<std::string> aaLog;
    std::vector<std::pair<int32_t, uint8_t>> rings;

private:
    WeaponRunHooks previousHooks;
    WeaponRunSettings previousSettings;
};

TEST(WeaponFlightRules, RunAndTimeToGoWorkIn64Bits)
{
    // A 600-knot missile on a 4095-second leg: 2457000 x 4096 overflows a
    // signed 32-bit product (it gave a negative run).
    EXPECT_EQ(WeaponRun::RunDistance(600, 4095), 2795520);
    EXPECT_EQ(WeaponRun::RunDistance(65, 8190), 605696);
    EXPECT_EQ(WeaponRun::RunDistance(0, 15), 0);
    // 200 nm of path at 10 knots: 819200 x 3600 needs 64 bits.
    EXPECT_EQ(WeaponRun::TimeToRun(int64_t{200} * RANGE_PER_NM, 10), 72000u);
    EXPECT_EQ(WeaponRun::TimeToRun(4096, 0), 0u);
}

TEST(WeaponFlightRules, SearchLegTimesGrowByAQuarterUpTo4095)
{
    struct Row { int32_t stored, next; };
    const Row rows[] = {{15, 30}, {30, 38}, {38, 48}, {48, 60}, {60, 75}, {4000, 4095}, {4095, 4095}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        EXPECT_EQ(WeaponRun::NextLegTime(r.stored), r.next);
    }
}

TEST(WeaponFlightRules, SearchPatternStartsAndTurns)
{
    // A torpedo from a plane circles 45 degrees to one side.
    WeaponRun::SearchLeg leg = WeaponRun::PlanSearchLeg(0, WeaponKind::TORPEDO, true, 10);
    EXPECT_EQ(leg.turn, -11059200);
    EXPECT_EQ(leg.seconds, 15);
    EXPECT_EQ(leg.nextState, (30 << 4) | 1);
    leg = WeaponRun::PlanSearchLeg(leg.nextState, WeaponKind::TORPEDO, true, 99);
    EXPECT_EQ(leg.turn, -11059200);
    EXPECT_EQ(leg.seconds, 30);
    EXPECT_EQ(leg.nextState, (38 << 4) | 1);
    // Any other zigzags by 60 degrees: 5, 3 (doubled), 6, 4 (doubled), 5.
    leg = WeaponRun::PlanSearchLeg(0, 1, false, 70);
    EXPECT_EQ(leg.turn, -14745600);
    EXPECT_EQ(leg.nextState & 0xF, 3);
    leg = WeaponRun::PlanSearchLeg(leg.nextState, 1, false, 0);
    EXPECT_EQ(leg.turn, -14745600);
    EXPECT_EQ(leg.seconds, 60);
    EXPECT_EQ(leg.nextState & 0xF, 6);
    leg = WeaponRun::PlanSearchLeg(leg.nextState, 1, false, 0);
    EXPECT_EQ(leg.turn, 14745600);
    EXPECT_EQ(leg.nextState & 0xF, 4);
    EXPECT_EQ(WeaponRun::TurnCourse(1000, -2000), ANGLE_FULL - 1000);
    EXPECT_EQ(WeaponRun::TurnCourse(ANGLE_FULL - 10, 20), 10);
}

TEST(WeaponFlightRules, SeekerComesOnUnderSixteenSeconds)
{
    EXPECT_LT(15, WeaponRun::SEEKER_SWITCH_SECONDS);
    EXPECT_FALSE(16 < WeaponRun::SEEKER_SWITCH_SECONDS);
}

TEST(WeaponMove, SonobuoyNeverMovesAndAStillWeaponStays)
{
    RunWorld world;
    Weapon& buoy = world.AddWeapon(300, weapontest::TORPEDO, LatLonPoint(1000, 1000));
    buoy.weaponKind = WeaponKind::SONOBUOY;
    buoy.speed = 20;
    buoy.timeToGo = 7;
    buoy.Move(15);
    EXPECT_EQ(buoy.GetPosition(), LatLonPoint(1000, 1000));
    EXPECT_EQ(buoy.timeToGo, 7u);

    Weapon& still = world.AddWeapon(301, weapontest::TORPEDO, LatLonPoint(2000, 2000));
    still.timeToGo = 9;
    still.Move(15);
    EXPECT_EQ(still.GetPosition(), LatLonPoint(2000, 2000));
    EXPECT_EQ(still.timeToGo, 0u);
}

TEST(WeaponMove, OutOfFuelRunsThePendingAttackAtOnce)
{
    RunWorld world;
    Weapon& weapon = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
    weapon.speed = 400;
    int handled = 0;
    gam2arena::PostEvent(new MarkEvent(EventCode::WEAPON_TARGET, 300, &handled));
    gam2arena::PostEvent(new MarkEvent(EventCode::WEAPON_TARGET, 300, &handled));
    weapon.Move(15);
    // The first pending attack ran and left the queue; the weapon is lost.
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(weapon.speed, 0);
    EXPECT_EQ(weapon.plantKey, 0);
    int left = 0;
    for (Event* e = gam2arena::FindUnitEvent(300, nullptr, EventCode::WEAPON_TARGET); e != nullptr;
         e = gam2arena::FindUnitEvent(300, e, EventCode::WEAPON_TARGET))
        ++left;
    EXPECT_EQ(left, 0);   // the second went with the weapon's removal from play
}

TEST(WeaponMove, TerrainFollowerKeepsItsClearance)
{
    RunWorld world;
    Weapon& weapon = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
    weapon.weaponFlags = 0x0008;
    weapon.firstCounterValue = 3;
    weapon.SetAltitude(50);
    // Without fuel the weapon is lost, but its clearance is set first.
    weapon.Move(1);
    EXPECT_EQ(weapon.PositionObject::GetAltitude(), 3);

    Weapon& high = world.AddWeapon(301, weapontest::MISSILE, LatLonPoint(0, 0));
    high.weaponFlags = 0x0008;
    high.firstCounterValue = 12;   // out of 1 to 9: not kept over an unchanged surface
    high.SetAltitude(50);
    high.Move(1);
    EXPECT_EQ(high.PositionObject::GetAltitude(), 50);
}

// The seeker comes on in the step whose intercept lies under 16 seconds out.
TEST(WeaponMove, SeekerComesOnAtFifteenSecondsNotSixteen)
{
    struct Row { int32_t seconds; bool on; };
    const Row rows[] = {{15, true}, {16, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.seconds);
        RunWorld world;
        int32_t north = 0;
        Weapon& weapon = world.MissileClosingIn(r.seconds, north);
        int32_t course = 0;
        int32_t time = 0;
        LatLonPoint point;
        ComputeIntercept(LatLonPoint(north, 0), 0, 0, LatLonPoint(0, 0), &course, 600, &time, &point);
        ASSERT_EQ(time, r.seconds);
        weapon.Move(1);
        EXPECT_EQ(weapon.seekerActive != 0, r.on);
        EXPECT_EQ(weapon.TestFlags(UnitFlag::SEEKER_ON), r.on);
        EXPECT_EQ(weapon.timeToGo, static_cast<uint32_t>(r.seconds));
        weapon.targetID = 0;
    }
}

// A sensor whose figures alone count: it tracks nothing and saves nothing.
class StubSensor : public Sensor {
public:
    StubSensor(uint8_t type, uint16_t key) : Sensor(type) { SetKey(key); }
    Contact* Detect(Unit&, Unit&, const NavVector&, int, int32_t, bool, bool, bool) override { return nullptr; }
    bool TrackTarget(Unit&, Unit&, const NavVector&, int, bool, const ChannelEntry&, int16_t, bool, bool) override
    {
        return false;
    }
    bool CanTrack(Unit&, Unit&, const NavVector&, int, const ChannelEntry&, bool, bool) override { return false; }
    uint8_t GetClassCode() const override { return static_cast<uint8_t>(GetSensorType()); }
    void SetContactSource(Contact&) const override {}
    void Save(std::ostream&) const override {}
    bool Load(std::istream&) override { return true; }
};

// A radar that sees every target.
class SeeingSensor : public StubSensor {
public:
    explicit SeeingSensor(uint16_t key) : StubSensor(Sensor::TYPE_RADAR, key) {}
    Contact* Detect(Unit&, Unit& target, const NavVector&, int, int32_t, bool, bool, bool) override
    {
        return new Contact(target, 1);
    }
};

// A weapon guided by its launcher takes the guidance when its seeker comes
// on: through the launcher's own guiding sensor, but not through a sensor of
// the same key when the guide is one of the launcher's aircraft records
// (which hold no sensors here): that weapon is lost.
TEST(WeaponMove, LauncherGuidanceComesFromTheLaunchersOwnSensor)
{
    struct Row { uint16_t planeRecord; bool guided; };
    const Row rows[] = {{0, true}, {5, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.planeRecord);
        RunWorld world;
        int32_t north = 0;
        Weapon& weapon = world.MissileClosingIn(15, north);
        TargetUnit& launcher = world.AddTarget(302, 'S', 0x1, LatLonPoint(north, 0));
        launcher.sensors.Insert(new SeeingSensor(3));
        weapon.launcherID = 302;
        weapon.weaponFlags = 0x2000;
        weapon.guideSensorID = 3;
        weapon.guidePlaneRecID = r.planeRecord;
        weapon.Move(1);
        ASSERT_NE(weapon.seekerActive, 0);
        EXPECT_EQ(weapon.targetLocked != 0, r.guided);
        EXPECT_EQ(weapon.guideID == 302, r.guided);
        weapon.targetID = 0;
    }
}

TEST(TorpedoRules, InFrontWithinNinetyDegreesOnEitherSide)
{
    const LatLonPoint at(0, 0);
    struct Row { int32_t course, bearing; bool front; };
    const Row rows[] = {
        {0, ANGLE_RIGHT, true},
        {0, ANGLE_FULL - ANGLE_RIGHT, true},
        {ANGLE_FULL - 10 * ANGLE_PER_DEGREE, 10 * ANGLE_PER_DEGREE, true},   // across north
        {0, 170 * ANGLE_PER_DEGREE, false},
        {0, 190 * ANGLE_PER_DEGREE, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bearing);
        EXPECT_EQ(WeaponRun::InFront(at, r.course, r.bearing), r.front);
    }
}

TEST(TorpedoRules, WakeTestFoldsTheAngle)
{
    const LatLonPoint at(0, 0);
    const int32_t bearing = 90 * ANGLE_PER_DEGREE;
    struct Row { int32_t offset; bool wake; };
    const Row rows[] = {
        {5 * ANGLE_PER_DEGREE, true},
        {-5 * ANGLE_PER_DEGREE, true},
        {-6 * ANGLE_PER_DEGREE, false},   // the signed test let every negative difference pass
        {6 * ANGLE_PER_DEGREE, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.offset);
        EXPECT_EQ(WeaponRun::InWake(at, bearing, bearing + r.offset), r.wake);
    }
}

TEST(TorpedoRules, StraightRunnerRollsOnlyWithinATenth)
{
    struct Row { int32_t range; bool rolls; };
    const Row rows[] = {{409, true}, {410, false}};
    for (const Row& r : rows) {
        RunWorld world;
        WeaponRunSettings settings;
        settings.attackResolution = true;
        settings.verboseWeaponDetection = true;
        SetWeaponRunSettings(settings);
        Weapon& torpedo = world.AddWeapon(300, weapontest::TORPEDO, LatLonPoint(0, 0));
        torpedo.weaponFlags = 0x80000;
        torpedo.seekerActive = 1;
        torpedo.attackMask = 0x1;
        // The nearest point due north whose measured range is the row's.
        int32_t north = r.range - 40;
        while (NavMath::Get_Vector(LatLonPoint(0, 0), LatLonPoint(north, 0)).range < r.range)
            ++north;
        ASSERT_EQ(NavMath::Get_Vector(LatLonPoint(0, 0), LatLonPoint(north, 0)).range, r.range);
        world.AddTarget(301, 'S', 0x1, LatLonPoint(north, 0));
        torpedo.PairStep(*gam2arena::FindUnit(301));
        ASSERT_EQ(world.messages.size(), 1u);
        SCOPED_TRACE(world.messages[0]);
        EXPECT_EQ(world.messages[0].find("* target within .1NM") != std::string::npos, r.rolls);
        EXPECT_NE(world.messages[0].find("* Straight Running Torpedo"), std::string::npos);
    }
}

TEST(MissileChance, ByTargetClass)
{
    WeaponRun::ChanceInput plane;
    plane.targetLetter = 'P';
    plane.airHitModifier = 50;
    plane.targetAltitude = 3;
    EXPECT_EQ(WeaponRun::BaseChance(plane), 40);   // 80 halved low down
    plane.targetAltitude = 4;
    EXPECT_EQ(WeaponRun::BaseChance(plane), 80);
    plane.evasionKnown = true;
    plane.evasion = 15;
    EXPECT_EQ(WeaponRun::BaseChance(plane), 80);   // the weapon was not detected: no evasion
    plane.weaponDetected = true;
    EXPECT_EQ(WeaponRun::BaseChance(plane), 65);
    plane.targetSpeed = 1300;
    plane.targetSignature = -51;
    EXPECT_EQ(WeaponRun::BaseChance(plane), 10);
    WeaponRun::ChanceInput ship;
    ship.targetLetter = 'S';
    ship.surfaceHitChance = 70;
    ship.airHitModifier = -10;
    EXPECT_EQ(WeaponRun::BaseChance(ship), 70);
    WeaponRun::ChanceInput missile;
    missile.targetLetter = 'W';
    missile.airHitModifier = -10;
    missile.targetAltitude = 10;
    missile.targetSignature = -60;
    // -10 + 30 - 20 = 0, raised to the floor of 5.
    EXPECT_EQ(std::max(WeaponRun::BaseChance(missile), WeaponRun::MINIMUM_CHANCE), 5);
}

TEST(MissileChance, CountermeasurePenalty)
{
    // An infrared seeker against a kind-1 weapon: the IRCM value counts.
    EXPECT_EQ(WeaponRun::CountermeasurePenalty(40, 25, 1, false, false, true), 25);
    EXPECT_EQ(WeaponRun::CountermeasurePenalty(40, 25, 1, true, false, false), 40);
    EXPECT_EQ(WeaponRun::CountermeasurePenalty(40, 25, 16, false, false, false), 40);
    EXPECT_EQ(WeaponRun::CountermeasurePenalty(0, 0, 1, true, true, true), 100);
    EXPECT_GE(WeaponRun::CountermeasurePenalty(120, 130, 1, true, true, true), 100);
}

TEST(MissileAttack, PointDefenseKillEndsTheAttack)
{
    RunWorld world;
    Weapon& missile = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
    missile.surfaceHitChance = 100;
    TargetUnit& target = world.AddTarget(301, 'S', 0x1, LatLonPoint(0, 0));
    target.shootsDown = true;
    missile.MissileAttack(&target);
    EXPECT_TRUE(target.hits.empty());
    EXPECT_EQ(missile.targetID, 0);
}

TEST(MissileAttack, HitAppliesTheWarheads)
{
    RunWorld world;
    Weapon& missile = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
    missile.surfaceHitChance = 100;   // every roll of 0 to 99 hits
    TargetUnit& target = world.AddTarget(301, 'S', 0x1, LatLonPoint(0, 0));
    missile.MissileAttack(&target);
    // The missile's warhead: 4 hits of 200 points of type 0x20.
    ASSERT_EQ(target.hits.size(), 4u);
    EXPECT_EQ(target.hits[0], std::make_pair(200, uint32_t{0x20}));
}

// A chance below 5 is raised to 5: a roll of 4 hits, one of 5 misses.
TEST(MissileAttack, TheFloorChanceOfFive)
{
    struct Row { uint16_t roll; bool hits; };
    const Row rows[] = {{4, true}, {5, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.roll);
        RunWorld world;
        // A seed whose first draw below 100 is the row's roll.
        uint32_t seed = 1;
        for (;; ++seed) {
            RandomGen probe;
            probe.SetSeed(seed);
            if (probe.MPRandom(100) == r.roll)
                break;
        }
        world.state.Generator().SetSeed(seed);
        Weapon& missile = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
        missile.surfaceHitChance = 0;
        TargetUnit& target = world.AddTarget(301, 'S', 0x1, LatLonPoint(0, 0));
        missile.MissileAttack(&target);
        EXPECT_EQ(!target.hits.empty(), r.hits);
    }
}

// A plane whose side holds no contact on the missile loses its evasion, and
// the line saying so is written even without "-W": to the after-action log.
TEST(MissileAttack, UndetectedMissileLineGoesToTheAfterActionLog)
{
    struct Row { bool attackResolution; size_t messages, aaLines; };
    const Row rows[] = {{false, 0, 1}, {true, 1, 0}};
    const std::string unseen = "Incoming Missile wasn't detected.  Plane lost DATA evasion bonus.";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.attackResolution);
        RunWorld world;
        world.LogToAALog();
        WeaponRunSettings settings;
        settings.attackResolution = r.attackResolution;
        SetWeaponRunSettings(settings);
        auto* record = new PlaneAnnex(7);
        record->airValueUnloaded = 15;
        Annex::Tables().Planes()->Insert(record);
        Weapon& missile = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
        TargetUnit& plane = world.AddTarget(301, 'P', 0x4, LatLonPoint(0, 0));
        plane.SetAnnexID(7);
        missile.MissileAttack(&plane);
        auto count = [&](const std::vector<std::string>& lines) {
            return static_cast<size_t>(std::count(lines.begin(), lines.end(), unseen));
        };
        EXPECT_EQ(count(world.messages), r.messages);
        EXPECT_EQ(count(world.aaLog), r.aaLines);
    }
}

// A hit on a unit of a neutral side is a violation, one between friendly
// sides friendly fire, each for the weapon's side; a hostile side's unit or
// a weapon records nothing.
TEST(MissileAttack, RulesOfEngagementOfAHit)
{
    struct Record { uint16_t side, otherSide, unitID, otherID; bool hostile; char kind; };
    static std::vector<Record>* records = nullptr;
    static uint8_t relation = 0;        // side 1 toward side 2
    static uint8_t backRelation = 0;    // side 2 toward side 1
    struct Row { uint8_t relation, backRelation; uint16_t targetSide; char letter; char kind; bool hostile; };
    const Row rows[] = {
        {3, 1, 2, 'S', 'V', true},    // neutral toward a side hostile to it
        {3, 2, 2, 'S', 'V', false},
        {2, 2, 2, 'S', 'F', false},   // friendly sides
        {0, 0, 1, 'S', 'F', false},   // its own side
        {1, 1, 2, 'S', 0, false},     // hostile: nothing
        {3, 1, 2, 'W', 0, false},     // a weapon hit: nothing
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int{r.relation} << " " << r.letter << " side " << r.targetSide);
        RunWorld world;
        std::vector<Record> seen;
        records = &seen;
        relation = r.relation;
        backRelation = r.backRelation;
        ContactCalls relations;
        relations.getRelation = [](uint16_t side, uint8_t other) -> uint8_t {
            if (side == 1 && other == 2)
                return relation;
            return side == 2 && other == 1 ? backRelation : uint8_t{0};
        };
        const ContactCalls previousRelations = SetContactCalls(relations);
        WeaponFireCalls calls = GetWeaponFireCalls();
        calls.recordViolation = [](uint16_t side, bool hostile, uint16_t otherSide, uint16_t violated,
                                   uint16_t violating) {
            records->push_back({side, otherSide, violated, violating, hostile, 'V'});
        };
        calls.recordUnitEvent = [](uint16_t side, uint16_t otherSide, uint16_t unit, uint16_t other) {
            records->push_back({side, otherSide, unit, other, false, 'F'});
        };
        SetWeaponFireCalls(calls);
        Weapon& missile = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(0, 0));
        missile.surfaceHitChance = 100;
        missile.airHitModifier = 70;
        missile.SetSideID(1);
        missile.launcherID = 42;
        TargetUnit& target = world.AddTarget(301, r.letter, 0x1, LatLonPoint(0, 0));
        target.SetSideID(r.targetSide);
        missile.MissileAttack(&target);
        SetContactCalls(previousRelations);
        records = nullptr;
        if (r.kind == 0) {
            EXPECT_TRUE(seen.empty());
            continue;
        }
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].kind, r.kind);
        EXPECT_EQ(seen[0].side, 1);
        EXPECT_EQ(seen[0].otherSide, r.targetSide);
        EXPECT_EQ(seen[0].unitID, 301);
        EXPECT_EQ(seen[0].otherID, 42);
        EXPECT_EQ(seen[0].hostile, r.hostile);
    }
}

TEST(PointDefenseRules, SectorBits)
{
    struct Row { int32_t bearing, course; uint8_t bit; };
    const Row rows[] = {
        {0, 0, 0x01},
        {50 * ANGLE_PER_DEGREE, 0, 0x02},
        {170 * ANGLE_PER_DEGREE, 0, 0x08},
        {190 * ANGLE_PER_DEGREE, 0, 0x80},   // port side, aft first
        {350 * ANGLE_PER_DEGREE, 0, 0x10},
        {10 * ANGLE_PER_DEGREE, 20 * ANGLE_PER_DEGREE, 0x10},   // relative bearing wraps
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bearing);
        EXPECT_EQ(WeaponRun::SectorBit(r.bearing, r.course), r.bit);
    }
}

// An ECM sensor for point defence: only its type, state and figures count.
class JammerSensor : public StubSensor {
public:
    JammerSensor(uint16_t key, uint32_t caps, int16_t strength) : StubSensor(Sensor::TYPE_ECM, key)
    {
        capabilities = caps;
        jamMargin = strength;
    }
};

TEST(PointDefense, CountermeasuresByWeaponKind)
{
    struct Row { uint32_t kind; int16_t first; uint16_t second; };
    const Row rows[] = {
        {1, 30, 45},   // ECM and IRCM, the larger strength of two ECM sensors
        {16, 45, 0},   // acoustic only
        {4, 0, 0},     // no countermeasure acts on other kinds
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        RunWorld world;
        TargetUnit& ship = world.AddTarget(301, 'S', 0x1, LatLonPoint(0, 0));
        ship.sensors.Insert(new JammerSensor(1, 0x1, 30));
        ship.sensors.Insert(new JammerSensor(2, 0x300000 | 0x1000000, 45));
        auto* broken = new JammerSensor(3, 0xFFF, 90);
        broken->SetState(Sensor::STATE_DAMAGED);
        ship.sensors.Insert(broken);
        Weapon& incoming = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(100, 0));
        incoming.weaponKind = r.kind;
        EXPECT_FALSE(ship.PointDefense(incoming));
        EXPECT_EQ(incoming.firstCounterValue, r.first);
        EXPECT_EQ(incoming.secondCounterValue, r.second);
    }
}

TEST(PointDefense, LinesOnlyWithBothOptions)
{
    RunWorld world;
    TargetUnit& ship = world.AddTarget(301, 'S', 0x1, LatLonPoint(0, 0));
    ship.sensors.Insert(new JammerSensor(1, 0x1, 30));
    Weapon& incoming = world.AddWeapon(300, weapontest::MISSILE, LatLonPoint(100, 0));
    incoming.weaponKind = 1;
    world.LogToAALog();
    ship.PointDefense(incoming);
    EXPECT_TRUE(world.aaLog.empty());
    WeaponFireSettings options = GetWeaponFireSettings();
    options.showPointDefense = true;
    options.extraShortPointDefense = true;
    SetWeaponFireSettings(options);
    incoming.firstCounterValue = 0;
    ship.PointDefense(incoming);
    ASSERT_EQ(world.aaLog.size(), 1u);
    EXPECT_EQ(world.aaLog[0].rfind("++++++++\n+ Point Defense\n", 0), 0u);
    EXPECT_NE(world.aaLog[0].find("+ Zot! (ECM)\n"), std::string::npos);
    EXPECT_NE(world.aaLog[0].find("+++++++++\n"), std::string::npos);
}

TEST(AreaEffect, BurstRadii)
{
    WeaponRun::Burst b = WeaponRun::PlanBurst(0x2000, 1);   // a 1-kiloton surface burst
    EXPECT_EQ(b.shipKill, 1300);
    EXPECT_EQ(b.shipDamage, 13000);
    EXPECT_EQ(b.subKill, 13);
    EXPECT_EQ(b.subDamage, 1300);
    EXPECT_EQ(b.baseDamage, 130);
    EXPECT_EQ(b.airKill, 1300);
    EXPECT_EQ(b.effectRange, 13000);
    EXPECT_TRUE(b.fallOff);
    b = WeaponRun::PlanBurst(0x2000, 65536 - 500);            // 500 tons
    EXPECT_EQ(b.airKill, 1031);
    EXPECT_TRUE(b.yieldInTons);
    EXPECT_EQ(b.yieldAmount, 500);
    b = WeaponRun::PlanBurst(0x4, 200);                        // a depth charge
    EXPECT_EQ(b.subDamage, 4096);
    EXPECT_EQ(b.effectRange, 4096);
    EXPECT_EQ(b.baseDamage, 200);
    EXPECT_FALSE(b.fallOff);
    b = WeaponRun::PlanBurst(0x800, 75);                       // a cluster
    EXPECT_EQ(b.shownType, 0u);
    EXPECT_EQ(b.shipDamage, 409);
    EXPECT_EQ(b.effectRange, 409);
    EXPECT_EQ(b.baseDamage, 75);
}

TEST(AreaEffect, KillAndDamageRadii)
{
    RunWorld world;
    world.LogToAALog();
    TargetUnit& near = world.AddTarget(301, 'S', 0x1, LatLonPoint(1000, 0));
    TargetUnit& middle = world.AddTarget(302, 'S', 0x1, LatLonPoint(7150, 0));
    TargetUnit& far = world.AddTarget(303, 'S', 0x1, LatLonPoint(14000, 0));
    TargetUnit& resistant = world.AddTarget(304, 'S', 0x1, LatLonPoint(0, 1000));
    resistant.SetFlags(0x40000000);
    near.destroyOnHit = true;
    world.Burst(0x2000, 1);
    ASSERT_EQ(near.hits.size(), 1u);
    EXPECT_EQ(near.hits[0], std::make_pair(0xEFFF, uint32_t{0x10}));
    ASSERT_EQ(middle.hits.size(), 1u);
    EXPECT_EQ(middle.hits[0].first, 16);   // 130 x 0.5^3
    EXPECT_TRUE(far.hits.empty());
    ASSERT_EQ(resistant.hits.size(), 1u);  // tested at 1500: damaged, not killed
    EXPECT_NE(resistant.hits[0].first, 0xEFFF);
    ASSERT_EQ(world.aaLog.size(), 1u);
    EXPECT_NE(world.aaLog[0].find("Executing Area Effect Weapon Attack\nWeapon Yield       = 1 kilotons\n"),
              std::string::npos);
    EXPECT_NE(world.aaLog[0].find(" has been destroyed by an Area Effect Weapon."), std::string::npos);
    EXPECT_NE(world.aaLog[0].find(" has Shock Resistance."), std::string::npos);
    EXPECT_EQ(world.rings.size(), 6u);
}

TEST(AreaEffect, DepthChargeHurtsOnlySubmarines)
{
    RunWorld world;
    TargetUnit& sub = world.AddTarget(301, 'U', 0x802, LatLonPoint(2000, 0));
    TargetUnit& ship = world.AddTarget(302, 'S', 0x1, LatLonPoint(2000, 0));
    world.Burst(0x4, 200);
    ASSERT_EQ(sub.hits.size(), 1u);
    EXPECT_EQ(sub.hits[0], std::make_pair(200, uint32_t{0x4}));
    EXPECT_TRUE(ship.hits.empty());
    EXPECT_TRUE(world.rings.empty());
}

TEST(AreaEffect, ClusterNamedNoneReachesOnlyItsShortRadius)
{
    RunWorld world;
    world.LogToAALog();
    TargetUnit& inside = world.AddTarget(301, 'S', 0x1, LatLonPoint(300, 0));
    TargetUnit& outside = world.AddTarget(302, 'S', 0x1, LatLonPoint(500, 0));
    world.Burst(0x800, 75);
    ASSERT_EQ(inside.hits.size(), 1u);
    EXPECT_EQ(inside.hits[0], std::make_pair(75, uint32_t{0x800}));
    EXPECT_TRUE(outside.hits.empty());
    ASSERT_EQ(world.aaLog.size(), 1u);
    EXPECT_NE(world.aaLog[0].find("Weapon type        = None\n"), std::string::npos);
    EXPECT_EQ(world.aaLog[0].find("Weapon Yield"), std::string::npos);
}

}  // namespace
