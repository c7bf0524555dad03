// Tests of the unit's detection reach and its further queries: damage level,
// weapons text, sonar rings, engagement tests, and the options word read
// from the INI file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "UnitTestSupport.h"
#include "core/ConfigurationFileIO.h"
#include "support/TempTree.h"
#include "units/UnitBridge.h"
#include "units/UnitDetectionCalls.h"
#include "world/Game2UI2.h"

namespace {

using unittest::TestUnit;
using unittest::UnitWorld;

// A unit whose target mask, altitude and damage the test sets.
class QueryUnit : public TestUnit {
public:
    uint32_t GetTargetMask() const override { return mask; }
    int16_t GetAltitude() const override { return PositionObject::GetAltitude(); }
    int32_t GetDamagePercent() const override { return damage; }
    using Unit::SetHorizon;
    uint32_t mask = 0;
    int32_t damage = 0;
};

TEST(GetDetectionReach, TakesTheCacheOfTheTargetsBandAndTheFloorOfItsClass)
{
    struct Row {
        const char* what;
        int16_t ownAltitude;
        int16_t targetAltitude;
        uint16_t bandWord;
        uint32_t mask;
        int32_t reach;
    };
    // Caches: 6 -> 61/62, 1 -> 11/12, 8 -> 81/82 (plain/alternate); horizons 7 and 5.
    const Row rows[] = {
        {"high air", 0, 100, 0, 0, 61},
        {"high air, alternate", 0, 100, 0x100, 0, 62},
        {"surface", 0, 0, 0, 0, 11},
        {"surface, alternate", 0, 0, 0x100, 0, 12},
        {"submerged target", 0, -10, 0, 0, 81},
        {"submerged target, alternate", 0, -10, 0x100, 0, 82},
        {"low air seen from below", -10, 5, 0, 0, 81},
        {"aircraft floor", 0, 0, 0, 0x4, 30},
        {"missile floor", 0, 0, 0, 0x8, 11},
        {"surface floor: the horizons", 0, 0, 0, 0x1, 12},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QueryUnit own;
        QueryUnit target;
        own.SetAltitude(r.ownAltitude);
        target.SetAltitude(r.targetAltitude);
        target.SetStateFlags(r.bandWord);
        target.mask = r.mask;
        own.searchReach6 = 61;
        own.searchReachAlt6 = 62;
        own.searchReach1 = 11;
        own.searchReachAlt1 = 12;
        own.searchReach8 = 81;
        own.searchReachAlt8 = 82;
        own.SetHorizon(7);
        target.SetHorizon(5);
        EXPECT_EQ(own.GetDetectionReach(target), r.reach);
    }
}

TEST(GetDetectionReach, FloorsHoldWithEmptyCaches)
{
    struct Row {
        uint32_t mask;
        int32_t reach;
    };
    const Row rows[] = {{0x4, 30}, {0x8, 10}, {0x1, 9}, {0x2, 0}, {0x5, 30}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mask);
        QueryUnit own;
        QueryUnit target;
        target.mask = r.mask;
        own.SetHorizon(4);
        target.SetHorizon(5);
        EXPECT_EQ(own.GetDetectionReach(target), r.reach);
    }
    // A target above the surface seen from below: the larger of kinds 1 and 8.
    QueryUnit own;
    QueryUnit target;
    own.SetAltitude(-20);
    target.SetAltitude(2);
    own.searchReach1 = 40;
    own.searchReach8 = 25;
    EXPECT_EQ(own.GetDetectionReach(target), 40);
    target.SetAltitude(0);
    EXPECT_EQ(own.GetDetectionReach(target), 25);
}

TEST(GetDamageLevel, StepsAtTwentyFiveFiftySeventyFiveAndNinety)
{
    const int32_t rows[][2] = {{0, 0}, {24, 0}, {25, 1}, {49, 1}, {50, 2}, {74, 2}, {75, 3}, {89, 3}, {90, 4}, {100, 4}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r[0]);
        QueryUnit u;
        u.damage = r[0];
        EXPECT_EQ(u.GetDamageLevel(), r[1]);
    }
}

TEST(GetWeaponsListText, MountLinesThenTheMagazinesCutAtTheSize)
{
    UnitWorld world;
    UnitBridgeCalls calls;
    calls.getMountStatusText = [](const Mount& mount, char* out, uint16_t size) {
        std::snprintf(out, size, "mount %u\n", unsigned{mount.GetKey()});
        return true;
    };
    const UnitBridgeCalls previous = SetUnitBridgeCalls(calls);
    QueryUnit u;
    u.mounts.Insert(new Mount(1));
    u.mounts.Insert(new Mount(2));
    char text[200];
    u.GetWeaponsListText(text, sizeof text);
    EXPECT_STREQ(text, "mount 1\nmount 2\n");   // no magazine heading without magazines
    u.magazines.Insert(new Mount(3));
    u.GetWeaponsListText(text, sizeof text);
    EXPECT_STREQ(text, "mount 1\nmount 2\n     MAGAZINES\nmount 3\n");
    char cut[12];
    std::memset(cut, '#', sizeof cut);
    u.GetWeaponsListText(cut, 10);
    EXPECT_STREQ(cut, "mount 1\nm");
    EXPECT_EQ(cut[10], '#');
    u.GetWeaponsListText(nullptr, 10);
    char one[1] = {'y'};
    u.GetWeaponsListText(one, 1);
    EXPECT_EQ(one[0], '\0');
    SetUnitBridgeCalls(previous);
}

// A sensor with a ring count of its own.
class RingSensor : public unittest::TestSensor {
public:
    RingSensor(uint8_t type, uint16_t rings) : TestSensor(type), rings_(rings) {}
    uint16_t GetRingCount() const override { return rings_; }

private:
    uint16_t rings_;
};

TEST(GetSonarRingCount, TheLargestOverThePassiveSonars)
{
    QueryUnit u;
    EXPECT_EQ(u.GetSonarRingCount(), 0);
    auto add = [&](uint16_t key, uint8_t type, uint16_t rings) {
        auto* s = new RingSensor(type, rings);
        s->SetKey(key);
        u.sensors.Insert(s);
    };
    add(1, Sensor::TYPE_ACTIVE_SONAR, 9);   // not a passive sonar: not asked
    add(2, Sensor::TYPE_RADAR, 9);
    EXPECT_EQ(u.GetSonarRingCount(), 0);
    add(3, Sensor::TYPE_PASSIVE_SONAR, 2);
    add(4, Sensor::TYPE_PASSIVE_SONAR, 5);
    add(5, Sensor::TYPE_PASSIVE_SONAR, 0);
    EXPECT_EQ(u.GetSonarRingCount(), 5);
    // Without the sonar model there is no spacing.
    EXPECT_EQ(u.GetSonarRingSpacing(), 0);
}

TEST(IsTargeted, FollowsTheTargetingRecordsAndTallies)
{
    UnitWorld world;
    QueryUnit u;
    QueryUnit weapon;
    weapon.SetKey(40);
    EXPECT_FALSE(u.HasContacts());
    EXPECT_FALSE(u.IsTargeted(7));
    u.AddWeaponInFlight(weapon, 7);
    EXPECT_TRUE(u.HasContacts());
    EXPECT_TRUE(u.IsTargeted(7));
    EXPECT_FALSE(u.IsTargeted(8));
    u.RemoveWeaponInFlight(weapon, 7);
    EXPECT_FALSE(u.IsTargeted(7));
}

TEST(DetectionOptions, ReadFromTheIniAndOnlyForThePlayersSide)
{
    struct Row {
        const char* line;
        uint16_t level;
    };
    const Row rows[] = {{"RealismLevel 9\n", 9},         {"", 0},
                        {"RealismLevel 264\n", 0x108},   {"RealismLevel -1\n", 0xFFFF},
                        {"RealismLevel 70000\n", 4464}, {"RealismLevel x\n", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        TempTree tree;
        tree.File("t.ini", std::string("[Tessarn3]\n") + r.line);
        ConfigurationFileIO ini((tree.root + "/t.ini").c_str());
        EXPECT_EQ(DetectionOptions::ReadRealismLevel(ini), r.level);
    }
    DetectionOptions::SetRealismLevel(8);
    Game2UI2::SetCurrentSideID(2);
    QueryUnit mine;
    QueryUnit theirs;
    mine.SetSideID(2);
    theirs.SetSideID(3);
    EXPECT_EQ(DetectionOptions::For(mine), 8);
    EXPECT_EQ(DetectionOptions::For(theirs), 0);
    DetectionOptions::SetRealismLevel(0);
    Game2UI2::SetCurrentSideID(0);
}

}  // namespace
