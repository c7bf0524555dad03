// Tests of the area victory condition: both per-unit tables row by row with a
// scripted clock, the area's edges, counting and freezing, descriptions,
// DurationText, and the saved record in both layouts.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "missions/AreaVictoryCondition.h"
#include "support/ReportCapture.h"
#include "ConditionWorld.h"

using namespace conditiontest;

namespace {

std::string R(int32_t number) { return ResourceString(number); }

const XYPoint INSIDE(50, 50);
const XYPoint OUTSIDE(200, 50);

AreaVictoryCondition& Area(const std::unique_ptr<VictoryCondition>& c)
{
    return dynamic_cast<AreaVictoryCondition&>(*c);
}

// The elapsed and entered times of the unit's tracking item in the list;
// false when it has none.
bool TimesOf(const VictoryItemList& list, const Unit& unit, uint32_t& elapsed, uint32_t& entered)
{
    const auto* item = dynamic_cast<const UnitValuesItem*>(list.FindMatch(&unit));
    if (!item)
        return false;
    elapsed = item->GetFirstValue();
    entered = item->GetSecondValue();
    return true;
}

}  // namespace

// Friendly sense, one target unit (required 1), the condition met at the
// start so that a breach shows. W: the unit was inside at its last check (a
// tracking item with the times given).
TEST(AreaVictoryCondition, FriendlyTableRowByRow)
{
    struct Row {
        const char* what;
        bool inside;
        uint8_t inArea;
        uint32_t duration, time, now;
        bool w;
        uint32_t entered;
        uint8_t achieved, failed, met;
        uint32_t elapsedAfter, enteredAfter;   // of the tracking item, when inside
    };
    const Row rows[] = {
        {"in/1/d: held long enough", true, 1, 300, 0, 600, true, 200, 1, 0, 1, 400, 200},
        {"in/1/d: new, too long", true, 1, 300, 0, 600, false, 0, 0, 1, 0, 600, 0},
        {"in/1/d: exactly the duration", true, 1, 300, 0, 600, true, 300, 0, 0, 1, 300, 300},
        {"in/1/d: before the time", true, 1, 300, 700, 600, true, 200, 0, 0, 1, 0, 200},
        {"in/1/0: at the time", true, 1, 0, 600, 600, false, 0, 1, 0, 1, 0, 0},
        {"in/1/0: before, was inside", true, 1, 0, 700, 600, true, 0, 1, 0, 1, 0, 0},
        {"in/1/0: before, new", true, 1, 0, 700, 600, false, 0, 0, 0, 1, 0, 0},
        {"in/1/0: after the time", true, 1, 0, 500, 600, true, 0, 0, 0, 1, 0, 0},
        {"in/0/d: new starts its count", true, 0, 300, 0, 600, false, 0, 0, 0, 1, 0, 600},
        {"in/0/d: long enough", true, 0, 300, 0, 600, true, 200, 1, 0, 1, 400, 200},
        {"in/0/d: not yet", true, 0, 300, 0, 600, true, 400, 0, 0, 1, 200, 400},
        {"in/0/0: after the time", true, 0, 0, 500, 600, false, 0, 1, 0, 1, 0, 0},
        {"in/0/0: at the time", true, 0, 0, 600, 600, false, 0, 0, 0, 1, 0, 0},
        {"out/1/d: long enough, was inside", false, 1, 300, 0, 600, true, 200, 1, 0, 1, 0, 0},
        {"out/1/d: new", false, 1, 300, 0, 600, false, 0, 0, 1, 0, 0, 0},
        {"out/1/d: before the time", false, 1, 300, 700, 600, true, 200, 0, 0, 1, 0, 0},
        {"out/1/0: at the time", false, 1, 0, 600, 600, false, 0, 0, 1, 0, 0, 0},
        {"out/1/0: before, was inside", false, 1, 0, 700, 600, true, 0, 1, 0, 1, 0, 0},
        {"out/1/0: before, new", false, 1, 0, 700, 600, false, 0, 0, 0, 1, 0, 0},
        {"out/1/0: after the time", false, 1, 0, 500, 600, true, 0, 0, 0, 1, 0, 0},
        {"out/0/d: long enough", false, 0, 300, 0, 600, true, 200, 1, 0, 1, 0, 0},
        {"out/0/d: not yet", false, 0, 300, 0, 600, true, 400, 0, 0, 1, 0, 0},
        {"out/0/d: new", false, 0, 300, 0, 600, false, 0, 0, 0, 1, 0, 0},
        {"out/0/0: at the time", false, 0, 0, 600, 600, false, 0, 0, 0, 0, 0, 0},
        {"out/0/0: after, was inside", false, 0, 0, 500, 600, true, 0, 1, 0, 1, 0, 0},
        {"out/0/0: after, new", false, 0, 0, 500, 600, false, 0, 0, 0, 1, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ConditionWorld world;
        LossUnit& u = world.AddUnit(7, 1, "Vela", r.inside ? INSIDE : OUTSIDE);
        AreaSpec s;
        s.met = 1;
        s.inArea = r.inArea;
        s.duration = r.duration;
        s.time = r.time;
        s.targets = ListOf({UnitRecord(7, "Vela")});
        if (r.w)
            s.tracked = ListOf({TrackRecord(7, "Vela", 0, r.entered)});
        auto c = Read(AreaRecord(s));
        ASSERT_NE(c, nullptr);
        world.At(r.now);
        c->CheckUnit(nullptr, 1);
        AreaVictoryCondition& a = Area(c);
        EXPECT_EQ(a.GetAchieved(), r.achieved);
        EXPECT_EQ(a.GetFailed(), r.failed);
        EXPECT_EQ(a.GetMetFlag(), r.met);
        EXPECT_EQ(a.GetCounted().GetCount(), r.achieved);
        uint32_t elapsed = 0, entered = 0;
        EXPECT_EQ(TimesOf(a.GetTracked(), u, elapsed, entered), r.inside);
        EXPECT_EQ(a.GetTracked().GetCount(), r.inside ? 1 : 0);
        if (r.inside) {
            EXPECT_EQ(elapsed, r.elapsedAfter);
            EXPECT_EQ(entered, r.enteredAfter);
        }
    }
}

// Hostile sense, one target unit of side 2 (required 1). Before: 'N' no
// tracking item, 'O' outside at its last check (tracked), 'I' inside
// (trackedInside), with the times given. Verdict: 'P' achieved, 'B' failed,
// '-' neither.
TEST(AreaVictoryCondition, HostileTableRowByRow)
{
    struct Row {
        const char* what;
        bool inside;
        uint8_t inArea;
        uint32_t duration, time, now;
        char before;
        uint32_t elapsed, entered;
        char verdict;
        uint32_t elapsedAfter, enteredAfter;
    };
    const Row rows[] = {
        {"in/1/d: before the time, now = elapsed", true, 1, 300, 700, 600, 'I', 600, 0, 'B', 600, 0},
        {"in/1/d: before the time", true, 1, 300, 700, 600, 'I', 0, 0, '-', 0, 0},
        {"in/1/d: came in from outside", true, 1, 300, 500, 600, 'O', 100, 200, 'P', 600, 0},
        {"in/1/d: inside, long", true, 1, 300, 500, 600, 'I', 0, 200, 'B', 400, 200},
        {"in/1/d: inside, short", true, 1, 300, 500, 600, 'I', 0, 400, 'B', 200, 400},
        {"in/1/0: now = elapsed", true, 1, 0, 500, 600, 'I', 600, 0, 'B', 600, 0},
        {"in/1/0: elapsed ahead", true, 1, 0, 500, 600, 'I', 700, 0, '-', 700, 0},
        {"in/1/0: came in from outside", true, 1, 0, 500, 600, 'O', 0, 0, 'P', 0, 0},
        {"in/1/0: new", true, 1, 0, 500, 600, 'N', 0, 0, 'B', 0, 0},
        {"in/0/d: inside, elapsed set", true, 0, 300, 0, 600, 'I', 200, 100, '-', 0, 0},
        {"in/0/d: came in", true, 0, 300, 0, 600, 'O', 200, 100, '-', 0, 0},
        {"in/0/0: at the time", true, 0, 0, 600, 600, 'N', 0, 0, 'B', 0, 0},
        {"in/0/0: before the time", true, 0, 0, 700, 600, 'N', 0, 0, '-', 0, 0},
        {"out/1/d: long enough outside", false, 1, 300, 500, 600, 'O', 0, 200, 'P', 400, 200},
        {"out/1/d: new", false, 1, 300, 500, 600, 'N', 0, 0, 'B', 600, 0},
        {"out/1/d: at the time", false, 1, 300, 600, 600, 'O', 0, 200, '-', 0, 200},
        {"out/1/0: at the time", false, 1, 0, 600, 600, 'N', 0, 0, 'P', 0, 0},
        {"out/1/0: before the time", false, 1, 0, 700, 600, 'N', 0, 0, '-', 0, 0},
        {"out/1/0: after, was outside", false, 1, 0, 500, 600, 'O', 0, 0, 'P', 0, 0},
        {"out/1/0: after, new", false, 1, 0, 500, 600, 'N', 0, 0, 'B', 0, 0},
        {"out/1/0: no time, first check", false, 1, 0, 0, 60, 'N', 0, 0, '-', 0, 0},
        {"out/1/0: no time, later check", false, 1, 0, 0, 120, 'N', 0, 0, 'B', 0, 0},
        {"out/0/d: new starts its count", false, 0, 300, 0, 600, 'N', 0, 0, '-', 0, 600},
        {"out/0/d: long enough", false, 0, 300, 0, 600, 'O', 0, 200, 'P', 400, 200},
        {"out/0/d: went out again", false, 0, 300, 0, 600, 'I', 50, 100, '-', 0, 600},
        {"out/0/d: not yet", false, 0, 300, 0, 600, 'O', 0, 400, '-', 200, 400},
        {"out/0/0: at the time", false, 0, 0, 600, 600, 'N', 0, 0, 'P', 0, 0},
        {"out/0/0: after, was outside", false, 0, 0, 500, 600, 'O', 0, 0, 'P', 0, 0},
        {"out/0/0: after, new", false, 0, 0, 500, 600, 'N', 0, 0, '-', 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ConditionWorld world;
        LossUnit& u = world.AddUnit(7, 2, "Vela", r.inside ? INSIDE : OUTSIDE);
        AreaSpec s;
        s.hostile = 1;
        s.inArea = r.inArea;
        s.duration = r.duration;
        s.time = r.time;
        s.targets = ListOf({UnitRecord(7, "Vela")});
        const std::string track = TrackRecord(7, "Vela", r.elapsed, r.entered);
        if (r.before == 'O')
            s.tracked = ListOf({track});
        if (r.before == 'I')
            s.trackedInside = ListOf({track});
        auto c = Read(AreaRecord(s));
        ASSERT_NE(c, nullptr);
        world.At(r.now);
        c->CheckUnit(nullptr, 1);
        AreaVictoryCondition& a = Area(c);
        EXPECT_EQ(a.GetAchieved(), r.verdict == 'P' ? 1 : 0);
        EXPECT_EQ(a.GetFailed(), r.verdict == 'B' ? 1 : 0);
        EXPECT_EQ(a.GetMetFlag(), r.verdict == 'P' ? 1 : 0);
        EXPECT_EQ(a.GetCounted().GetCount(), r.verdict == 'B' ? 1 : 0);
        // The item lives in the list of where the unit is now.
        const VictoryItemList& now = r.inside ? a.GetTrackedInside() : a.GetTracked();
        const VictoryItemList& other = r.inside ? a.GetTracked() : a.GetTrackedInside();
        uint32_t elapsed = 0, entered = 0;
        ASSERT_TRUE(TimesOf(now, u, elapsed, entered));
        EXPECT_EQ(other.GetCount(), 0);
        EXPECT_EQ(elapsed, r.elapsedAfter);
        EXPECT_EQ(entered, r.enteredAfter);
    }
}

TEST(AreaVictoryCondition, EdgesCountAsInside)
{
    struct Row {
        XYPoint at;
        bool inside;
    };
    const Row rows[] = {{XYPoint(0, 0), true},    {XYPoint(100, 100), true}, {XYPoint(0, 50), true},
                        {XYPoint(100, 50), true}, {XYPoint(50, 100), true},  {XYPoint(101, 50), false},
                        {XYPoint(50, -1), false}, {XYPoint(-1, 0), false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.at.x << "," << r.at.y);
        ConditionWorld world;
        world.AddUnit(7, 1, "Vela", r.at);
        AreaSpec s;   // friendly, inArea 0, no duration: passes inside after the time
        s.inArea = 0;
        s.time = 100;
        s.targets = ListOf({UnitRecord(7, "Vela")});
        auto c = Read(AreaRecord(s));
        world.At(600);
        c->CheckUnit(nullptr, 1);
        EXPECT_EQ(Area(c).GetAchieved(), r.inside ? 1 : 0);
    }
}

TEST(AreaVictoryCondition, PassingThroughCountsAfterTheDuration)
{
    ConditionWorld world;
    world.AddUnit(7, 1, "Vela", INSIDE);
    AreaSpec s;
    s.inArea = 0;
    s.duration = 600;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    auto c = Read(AreaRecord(s));
    AreaVictoryCondition& a = Area(c);
    for (uint32_t now = 60; now <= 600; now += 60) {
        world.At(now);
        c->CheckUnit(nullptr, 1);
        ASSERT_EQ(a.GetAchieved(), 0) << now;
    }
    world.At(660);
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(a.GetAchieved(), 1);
    EXPECT_EQ(a.GetMetFlag(), 1);
    EXPECT_EQ(a.GetCounted().GetCount(), 1);
}

TEST(AreaVictoryCondition, CountedUnitThatLeavesIsCountedAgainLater)
{
    ConditionWorld world;
    LossUnit& u = world.AddUnit(7, 1, "Vela", OUTSIDE);
    AreaSpec s;
    s.inArea = 0;
    s.time = 100;
    s.required = 2;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    s.counted = ListOf({UnitRecord(7, "Vela")});
    auto c = Read(AreaRecord(s));
    AreaVictoryCondition& a = Area(c);
    world.At(600);
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(a.GetCounted().GetCount(), 0);   // left the area
    u.SetXY(INSIDE);
    world.At(660);
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(a.GetCounted().GetCount(), 1);   // counted again, below required
    EXPECT_EQ(a.GetAchieved(), 0);
    EXPECT_EQ(a.GetMetFlag(), 0);
}

TEST(AreaVictoryCondition, HostileBreachFreezesUnlessThePurgeLowersTheCount)
{
    ConditionWorld world;
    world.AddUnit(7, 2, "Vela", INSIDE);
    AreaSpec s;
    s.hostile = 1;
    s.inArea = 0;   // inside at or after the time is a breach
    s.time = 100;
    s.required = 2;
    s.targets = ListOf({UnitRecord(7, "Vela"), UnitRecord(8, "Ursa")});
    s.counted = ListOf({UnitRecord(9, "Gone")});   // a unit no longer on the map
    auto c = Read(AreaRecord(s));
    AreaVictoryCondition& a = Area(c);
    world.At(600);
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(a.GetFailed(), 0);   // the purge took the lost unit out
    EXPECT_EQ(a.GetCounted().GetCount(), 1);

    world.AddUnit(8, 2, "Ursa", INSIDE);
    world.At(660);
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(a.GetFailed(), 1);
    EXPECT_EQ(a.GetMetFlag(), 0);
    EXPECT_EQ(a.GetCounted().GetCount(), 2);
}

TEST(AreaVictoryCondition, FrozenConditionKeepsItsStateThroughChecksAndSaving)
{
    ConditionWorld world;
    LossUnit& u = world.AddUnit(7, 1, "Vela", INSIDE);
    AreaSpec s;
    s.time = 600;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    auto c = Read(AreaRecord(s));
    world.At(600);
    c->CheckUnit(nullptr, 1);
    ASSERT_EQ(Area(c).GetAchieved(), 1);
    const std::string frozen = Saved(*c);
    u.SetXY(OUTSIDE);   // a breach at the time if the condition were live
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(Saved(*c), frozen);
    auto again = Read(frozen);
    ASSERT_NE(again, nullptr);
    again->CheckUnit(nullptr, 1);
    EXPECT_EQ(Area(again).GetAchieved(), 1);
    EXPECT_EQ(again->GetMetFlag(), 1);
    EXPECT_TRUE(again->IsMet());
}

TEST(AreaVictoryCondition, ChecksOnlyRelatedSidesAndOnlyPeriodically)
{
    ConditionWorld world;
    world.AddUnit(7, 0, "Vela", INSIDE);   // side 0 is never tested
    world.AddUnit(8, 2, "Ursa", INSIDE);   // hostile to 1: not friendly
    LossUnit& own = world.AddUnit(9, 1, "Lynx", INSIDE);
    AreaSpec s;
    s.time = 600;
    s.required = 2;
    s.targets = ListOf({UnitRecord(7, "Vela"), UnitRecord(8, "Ursa"), UnitRecord(9, "Lynx")});
    UnitsSpec sub;   // broken by the loss of the own unit
    sub.hostile = 0;
    sub.met = 1;
    sub.targets = ListOf({UnitRecord(9, "Lynx")});
    s.sub = UnitsRecord(sub);
    auto c = Read(AreaRecord(s));
    world.At(600);
    c->CheckUnit(&own, 1);   // a unit being lost: the area ignores it
    EXPECT_EQ(Area(c).GetCounted().GetCount(), 0);
    EXPECT_EQ(c->GetSubCondition()->GetMetFlag(), 0);   // the chain still sees it
    c->CheckUnit(nullptr, 1);
    EXPECT_EQ(Area(c).GetCounted().GetCount(), 1);   // only the own unit
}

TEST(AreaVictoryCondition, SideZeroIsFatal)
{
    ConditionWorld world;
    ReportCapture capture;
    world.AddUnit(7, 1, "Vela", INSIDE);
    AreaSpec s;
    s.time = 600;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    auto c = Read(AreaRecord(s));
    world.At(600);
    c->CheckUnit(nullptr, 0);
    EXPECT_EQ(capture.fatals, std::vector<std::string>{R(AreaVictoryCondition::AREA_NO_SIDE_TEXT)});
    EXPECT_EQ(Area(c).GetAchieved(), 0);
}

TEST(AreaVictoryCondition, RecordRoundTripsInTheCurrentLayout)
{
    ConditionWorld world;
    AreaSpec s;
    s.met = 1;
    s.area = XYRect(-5000, 70000, 90000, -12);
    s.time = 3600;
    s.duration = 900;
    s.required = 4;
    s.hostile = 1;
    s.inArea = 0;
    s.targets = ListOf({UnitRecord(7, "Vela"), KindRecord(40, 'S')});
    s.counted = ListOf({UnitRecord(7, "Vela")});
    s.tracked = ListOf({TrackRecord(8, "Ursa", 60, 120)});
    s.trackedInside = ListOf({TrackRecord(9, "Lynx", 0, 180)});
    UnitsSpec sub;
    s.sub = UnitsRecord(sub);
    const std::string bytes = AreaRecord(s);
    auto c = Read(bytes);
    ASSERT_NE(c, nullptr);
    const AreaVictoryCondition& a = Area(c);
    EXPECT_EQ(a.GetArea(), s.area);
    EXPECT_EQ(a.GetTime(), 3600u);
    EXPECT_EQ(a.GetDuration(), 900u);
    EXPECT_EQ(a.GetRequired(), 4);
    EXPECT_EQ(a.GetInArea(), 0);
    EXPECT_EQ(a.GetTracked().GetCount(), 1);
    EXPECT_EQ(a.GetTrackedInside().GetCount(), 1);
    EXPECT_EQ(Saved(a), bytes);

    // The spare is written as a copy of the duration and ignored on reading.
    std::string other = bytes;
    other[26] = '\x7F';
    auto c2 = Read(other);
    ASSERT_NE(c2, nullptr);
    EXPECT_EQ(Saved(*c2), bytes);
}

TEST(AreaVictoryCondition, OlderFilesHaveASpareByteAndNoTracking)
{
    ConditionWorld world;
    ScenarioAdmin admin;
    ScenarioAdmin* previous = gAdmin;
    gAdmin = &admin;
    AreaSpec s;
    s.achieved = 1;
    s.met = 1;
    s.time = 60;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    struct Row {
        VersionNumber version;
        bool old;
    };
    const Row rows[] = {{VersionNumber(2, 1, 12, 5), true},
                        {VersionNumber(1, 9, 30, 0), true},
                        {VersionNumber(2, 1, 13, 0), false},
                        {VersionNumber(3, 6, 3, 0), false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.version.Text());
        admin.SetFileVersion(r.version);
        auto c = Read(AreaRecord(s, r.old) + "after");
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(Area(c).GetAchieved(), 1);
        EXPECT_EQ(Area(c).GetTargets().GetCount(), 1);
        EXPECT_EQ(Saved(*c), AreaRecord(s));   // always written in the current layout
    }
    gAdmin = previous;
}

TEST(AreaVictoryCondition, CutRecordIsRefusedWhole)
{
    ConditionWorld world;
    ReportCapture capture;
    AreaSpec s;
    s.targets = ListOf({UnitRecord(7, "Vela")});
    s.tracked = ListOf({TrackRecord(8, "Ursa", 60, 120)});
    AreaSpec sub;
    s.sub = AreaRecord(sub);
    const std::string bytes = AreaRecord(s);
    for (size_t n = 1; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        std::istringstream in(bytes.substr(1, n - 1));
        EXPECT_EQ(VictoryCondition::LoadKind(VictoryCondition::KIND_AREA, in), nullptr);
        EXPECT_TRUE(in.fail());
    }
    EXPECT_TRUE(capture.fatals.empty());
}

TEST(AreaVictoryCondition, UnknownSubConditionByteMeansNone)
{
    ConditionWorld world;
    ReportCapture capture;
    AreaSpec s;
    s.sub = std::string(1, '\x07');
    auto c = Read(AreaRecord(s));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetSubCondition(), nullptr);
    EXPECT_TRUE(capture.fatals.empty());
    EXPECT_TRUE(capture.errors.empty());
    EXPECT_EQ(Saved(*c), AreaRecord(AreaSpec{}));   // written back as "none"
}

TEST(AreaVictoryCondition, SetSenseLeavesMetAlone)
{
    ConditionWorld world;
    AreaSpec s;
    s.met = 1;
    auto c = Read(AreaRecord(s));
    c->SetSense(1);
    EXPECT_EQ(c->GetHostile(), 1);
    EXPECT_EQ(c->GetMetFlag(), 1);
    c->SetSense(0);
    EXPECT_EQ(c->GetMetFlag(), 1);
}

TEST(AreaVictoryCondition, DescribesEachSense)
{
    ConditionWorld world;
    const std::string list = "\n" + UnitItem(7, "Vela").Describe() + "\n\n";
    struct Row {
        const char* what;
        uint8_t hostile, met, inArea;
        uint16_t required;
        uint32_t time, duration;
        std::string expected;
    };
    const Row rows[] = {
        {"friendly one", 0, 1, 1, 1, 0, 0, R(0x7B016B) + "\n" + R(0x7B0177) + "\n" + R(0x7B0179) + list},
        {"friendly many, passing, timed", 0, 0, 0, 3, 3600, 60,
         R(0x7B016D) + "\n" + R(0x7B0175) + "3" + R(0x7B0176) + "\n" + R(0x7B0171) + "\n" + R(0x7B0172) +
             DurationText(3600) + R(0x7B0178) + DurationText(60) + R(0x7B0179) + list},
        {"hostile one", 1, 0, 1, 0, 0, 120,
         R(0x7B016D) + "\n" + R(0x7B0170) + "\n" + R(0x7B0173) + DurationText(120) + R(0x7B0174) + list},
        {"hostile many", 1, 1, 1, 2, 60, 0,
         R(0x7B016B) + "\n" + R(0x7B016E) + "2" + R(0x7B016F) + "\n" + R(0x7B0172) + DurationText(60) +
             R(0x7B0174) + list},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        AreaSpec s;
        s.hostile = r.hostile;
        s.met = r.met;
        s.inArea = r.inArea;
        s.required = r.required;
        s.time = r.time;
        s.duration = r.duration;
        s.targets = ListOf({UnitRecord(7, "Vela")});
        EXPECT_EQ(Read(AreaRecord(s))->Describe(), r.expected);
        s.sub = AreaRecord(s);
        EXPECT_EQ(Read(AreaRecord(s))->Describe(), r.expected + R(0x7B017A) + "\n\n" + r.expected);
    }
}

TEST(DurationText, DaysHoursMinutesSeconds)
{
    ConditionWorld world;
    const std::string day = R(0x7B017B), hour = R(0x7B017C), minute = R(0x7B017D), second = R(0x7B017E);
    const std::string s = R(0x7B017F), sep = R(0x7B0180), end = R(0x7B0181) + "\n";
    struct Row {
        uint32_t seconds;
        std::string expected;
    };
    const Row rows[] = {
        {86400 + 3600 + 60 + 1, "1" + day + sep + "1" + hour + sep + "1" + minute + sep + "1" + second + end},
        {45, sep + "45" + second + s + end},
        {1, sep + "1" + second + end},
        {0, end},
        {120, "2" + minute + s + end},
        {3600, "1" + hour + sep + "0" + minute + s + end},
        {2 * 86400, "2" + day + s + sep + "0" + hour + s + sep + "0" + minute + s + end},
        {7322, "2" + hour + s + sep + "2" + minute + s + sep + "2" + second + s + end},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.seconds);
        EXPECT_EQ(DurationText(r.seconds), r.expected);
    }
    EXPECT_EQ(sep, ", ");
    // Seconds are taken as signed: the largest values give negative parts.
    EXPECT_EQ(DurationText(0xFFFFFFFFu), sep + "-1" + second + s + end);
}
