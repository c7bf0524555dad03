// Tests of the attack allocation of a mission: when a task is satisfied, the
// three ways options are allocated, what the evaluation keeps, and what
// becomes of each task and its contact after a planning pass.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "PlanningWorld.h"
#include "missions/MissionCalls.h"
#include "missions/ShooterOptions.h"

using planningtest::Option;
using planningtest::PlanningWorld;

namespace {

constexpr uint16_t TARGET = 500;

MissionTask* TaskFor(uint16_t contact, uint16_t needCount, uint16_t needValue, uint16_t allocatedCount = 0,
                     uint16_t allocatedValue = 0)
{
    auto* task = new MissionTask(contact);
    task->needCount = needCount;
    task->needValue = needValue;
    task->allocatedCount = allocatedCount;
    task->allocatedValue = allocatedValue;
    return task;
}

// The options of the mission's chain that were allocated, as uses per option
// in chain order.
std::vector<int> Uses(const MissionRecord& mission)
{
    std::vector<int> uses;
    for (const TimedRecord* o = mission.timedRecords.First(); o != nullptr; o = o->GetNext())
        uses.push_back(o->quantity);
    return uses;
}

void AddOptions(MissionRecord& mission, const std::vector<TimedRecord>& options)
{
    for (const TimedRecord& o : options)
        mission.timedRecords.Append(new TimedRecord(o));
}

}  // namespace

TEST(MissionAllocation, TaskSatisfiedByClass)
{
    PlanningWorld world;
    struct Row {
        uint32_t targetClass;
        uint16_t needCount, needValue, allocatedCount, allocatedValue;
        bool satisfied;
    };
    const Row rows[] = {
        {2, 5, 100, 0, 500, false},   // first strike: any attacker at all
        {2, 0, 0, 1, 0, true},
        {4, 0, 0, 1, 0, false},       // air: two more than wanted
        {4, 0, 0, 2, 0, true},
        {8, 3, 0, 4, 0, false},
        {8, 3, 0, 5, 0, true},
        {1, 2, 100, 0, 100, true},    // by value ...
        {1, 2, 100, 2, 99, false},
        {1, 2, 100, 3, 0, true},      // ... or one more than wanted
        {0x20, 0, 50, 0, 49, false},
        {0x20, 0, 50, 1, 0, true},
    };
    for (const Row& r : rows) {
        MissionTask task(TARGET);
        task.needCount = r.needCount;
        task.needValue = r.needValue;
        task.allocatedCount = r.allocatedCount;
        task.allocatedValue = r.allocatedValue;
        EXPECT_EQ(world.mission.IsTaskSatisfied(&task, r.targetClass, nullptr), r.satisfied)
            << "class " << r.targetClass << " count " << r.allocatedCount << " value " << r.allocatedValue;
    }
}

TEST(MissionAllocation, FirstStrikeTakesTheEarliestEligibleOptionOnce)
{
    PlanningWorld world;
    StockEntry stock(1, 10, 4);
    StockEntry empty(1, 11, 0);
    AddOptions(world.mission, {
        Option(1, TARGET, &empty, 1, 10, 50),    // no rounds left
        Option(2, TARGET + 1, &stock, 1, 10, 60),  // another target
        Option(3, TARGET, &stock, 1, 10, 200),
        Option(4, TARGET, &stock, 1, 10, 100),
        Option(5, TARGET, &stock, 1, 10, 100),   // same time: the first wins
        Option(6, TARGET, nullptr, 1, 10, 10),   // names no stock
    });
    MissionTask task(TARGET);
    EXPECT_EQ(world.mission.AllocateFirstStrike(&task, nullptr), 100u);
    EXPECT_EQ(Uses(world.mission), (std::vector<int>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(task.allocatedCount, 1);
    EXPECT_EQ(task.changed, 1);
    EXPECT_EQ(stock.count, 3);

    // A task that already has an attacker gets no other.
    EXPECT_EQ(world.mission.AllocateFirstStrike(&task, nullptr), 0u);
    EXPECT_EQ(Uses(world.mission), (std::vector<int>{0, 0, 0, 1, 0, 0}));
}

TEST(MissionAllocation, ByTimeWantsTwoMoreAndPicksOncePerPass)
{
    struct Row {
        const char* name;
        uint16_t needCount, allocatedCount;
        uint32_t timeLimit;
        std::vector<int> uses;
        uint32_t answer;
    };
    // Options: kind 1 at 300, kind 1 at 200, kind 2 at 150, kind 2 at 250.
    const Row rows[] = {
        // Pass one takes the earliest kind-1 option (200); pass two must be
        // earlier still: the kind-2 option at 150.
        {"wants two", 0, 0, 0, {0, 1, 1, 0}, 200},
        // Wanting one, pass one alone serves.
        {"wants one", 0, 1, 0, {0, 1, 0, 0}, 200},
        // needCount - allocatedCount = -2: none wanted.
        {"wants none", 0, 2, 0, {0, 0, 0, 0}, 0},
        // A missile whose unit carries a time limit: nothing at or after it.
        {"bounded", 0, 0, 200, {0, 0, 1, 0}, 150},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        StockEntry stock(1, 10, 9);
        world.AddUnit(TARGET, 'W', {}, false).timeLimit = r.timeLimit;
        Contact& contact = world.AddContact(TARGET, 0x8);
        AddOptions(world.mission, {
            Option(1, TARGET, &stock, 1, 10, 300),
            Option(2, TARGET, &stock, 1, 10, 200),
            Option(3, TARGET, &stock, 2, 10, 150),
            Option(4, TARGET, &stock, 2, 10, 250),
        });
        MissionTask* task = TaskFor(TARGET, r.needCount, 0, r.allocatedCount);
        EXPECT_EQ(world.mission.AllocateByTime(task, &contact), r.answer) << r.name;
        EXPECT_EQ(Uses(world.mission), r.uses) << r.name;
        delete task;
    }
}

TEST(MissionAllocation, ByValueTakesLargestValuesAndStopsAtTheValueWanted)
{
    PlanningWorld world;
    StockEntry stock(1, 10, 9);
    AddOptions(world.mission, {
        Option(1, TARGET, &stock, 0x2, 40, 100),
        Option(2, TARGET, &stock, 0x4, 70, 300),
        Option(3, TARGET, &stock, 0x8, 70, 200),   // equal value: the first wins
        Option(4, TARGET, &stock, 0x1, 500, 50),   // by count only
    });
    // Wants 100 of value and 5 attackers: 70 + 70 reach the value, so the
    // count wanted is not pursued.
    MissionTask* task = TaskFor(TARGET, 5, 100);
    EXPECT_EQ(world.mission.AllocateByValue(task, nullptr), 300u);
    // The same option again while its stock lasts: 70 + 70.
    EXPECT_EQ(Uses(world.mission), (std::vector<int>{0, 2, 0, 0}));
    EXPECT_EQ(task->allocatedValue, 140);
    EXPECT_EQ(stock.count, 7);
    EXPECT_EQ(task->allocatedCount, 0);
    delete task;
}

TEST(MissionAllocation, ByValueCountPassHalvesItsThreshold)
{
    PlanningWorld world;
    StockEntry one(1, 10, 1);
    StockEntry two(1, 11, 1);
    StockEntry big(1, 12, 1);
    AddOptions(world.mission, {
        Option(1, TARGET, &one, 0x1, 30, 100),
        Option(2, TARGET, &two, 0x1, 60, 100),
        Option(3, TARGET, &big, 0x1, 15000, 100),   // too large to count
    });
    // No value option: the count pass wants 2 attackers from a threshold of
    // 100: none qualifies until 50 (60), then 25 (30).
    MissionTask* task = TaskFor(TARGET, 1, 100);
    world.mission.AllocateByValue(task, nullptr);
    EXPECT_EQ(Uses(world.mission), (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(task->allocatedCount, 2);
    EXPECT_EQ(task->allocatedValue, 0);
    delete task;
}

TEST(MissionAllocation, ByValueFillsWithKind10OnlyWithoutAnAttacker)
{
    PlanningWorld world;
    StockEntry stock(1, 10, 2);
    AddOptions(world.mission, {
        Option(1, TARGET, &stock, 0x10, 30, 100),
        Option(2, TARGET, &stock, 0x10, 30, 400),
    });
    MissionTask* task = TaskFor(TARGET, 0, 100);
    EXPECT_EQ(world.mission.AllocateByValue(task, nullptr), 100u);
    EXPECT_EQ(Uses(world.mission), (std::vector<int>{2, 0}));   // its stock runs out
    EXPECT_EQ(task->allocatedValue, 60);
    delete task;
}

TEST(MissionAllocation, EvaluationDropsRefusedOptionsAndSortsUnreachableTasks)
{
    PlanningWorld world;
    StockEntry stock(1, 10, 5);
    planningtest::FakeUnit& shooter = world.AddUnit(1, 'S');
    shooter.reachTenths = 100;   // 10 nautical miles
    shooter.offers = {Option(1, 20, &stock, 1, 10, 100), Option(1, 20, &stock, 1, 10, 100, 0x2),
                      Option(1, 20, &stock, 1, 10, 100, 0x4), Option(1, 20, &stock, 1, 10, 100, 0x100)};
    world.mission.extraIDs.Insert(new IDNode(1));
    world.AddContact(20, 0x1, {5 * 4096, 0});     // in reach
    world.AddContact(21, 0x1, {50 * 4096, 0});    // out of reach, a surface class: kept
    world.AddContact(22, 0x8, {50 * 4096, 0});    // out of reach, class 0x8 alone: deleted
    for (const uint16_t id : {20, 21, 22, 23})    // 23: no contact
        InsertTaskInOrder(world.mission.engageTasks, TaskFor(id, 1, 100));

    world.mission.EvaluateTasks(world.record);

    ASSERT_NE(world.mission.engageTasks.First(), nullptr);
    EXPECT_EQ(world.mission.engageTasks.First()->targetID, 20);
    EXPECT_EQ(world.mission.engageTasks.First()->GetNext(), nullptr);
    ASSERT_NE(world.mission.keptTasks.First(), nullptr);
    EXPECT_EQ(world.mission.keptTasks.First()->targetID, 21);
    EXPECT_EQ(world.mission.keptTasks.First()->GetNext(), nullptr);
    std::vector<uint16_t> flags;
    for (const TimedRecord* o = world.mission.timedRecords.First(); o != nullptr; o = o->GetNext())
        flags.push_back(o->resultBits);
    EXPECT_EQ(flags, (std::vector<uint16_t>{0, 0x100}));
    EXPECT_EQ(shooter.lastMode, 0x1207u);
}

TEST(MissionAllocation, KeepTaskByOptionsAndContactMarks)
{
    struct Row {
        const char* name;
        uint16_t optionFlags;
        uint32_t targetClass;
        uint8_t changed, firstMark, secondMark;
        bool kept;
    };
    const Row rows[] = {
        {"wanted", 0x100, 0x1, 0, 0, 0, true},
        {"not wanted", 0, 0x1, 0, 0, 0, false},
        {"missile class alone", 0x100, 0x8, 0, 0, 0, false},
        {"already allocated", 0x100, 0x1, 1, 0, 0, false},
        {"first mark", 0x100, 0x1, 0, 1, 0, false},
        {"second mark", 0x100, 0x1, 0, 0, 1, false},
    };
    for (const Row& r : rows) {
        PlanningWorld world;
        Contact& contact = world.AddContact(TARGET, r.targetClass);
        contact.hostileAct = r.firstMark;
        contact.bandFlag = r.secondMark;
        MissionTask* task = TaskFor(TARGET, 1, 1);
        task->changed = r.changed;
        task->options.Append(new TimedRecord(Option(1, TARGET, nullptr, 1, 1, 1, r.optionFlags)));
        world.mission.KeepTask(task, r.targetClass, &contact);
        EXPECT_EQ(world.mission.keptTasks.First() != nullptr, r.kept) << r.name;
    }
}

TEST(MissionAllocation, PlanningPassHoldsTheContactUntilTheAttack)
{
    PlanningWorld world;
    world.SetTime(1000);
    StockEntry stock(1, 10, 5);
    planningtest::FakeUnit& shooter = world.AddUnit(1, 'S');
    shooter.reachTenths = 100;
    shooter.offers = {Option(1, 20, &stock, 0x2, 60, 1300), Option(1, 20, &stock, 0x2, 50, 1200)};
    Contact& contact = world.AddContact(20, 0x11, {5 * 4096, 0});
    InsertTaskInOrder(world.mission.engageTasks, TaskFor(20, 1, 100));

    world.mission.PlanAttacks(world.record);

    // By value (class 1, bit 0x10 ignored): 60 then 60 again; the latest
    // time chosen, 300 seconds ahead, holds the contact.
    EXPECT_EQ(contact.pendingHold, 300u);
    EXPECT_EQ(contact.threat[1], 120);
    EXPECT_EQ(world.mission.engageTasks.First(), nullptr);
    EXPECT_EQ(world.mission.extraIDs.First(), nullptr);
    EXPECT_EQ(world.mission.keptTasks.First(), nullptr);   // allocated: not kept
    // No planned-attack event class: the options go with the pass.
    EXPECT_EQ(world.mission.timedRecords.First(), nullptr);
    ASSERT_GE(world.mission.engageResults.size(), 1u);
    EXPECT_EQ(world.mission.engageResults[0], (planningtest::CountingMission::EngageResult{1, 0, 1}));
}

TEST(MissionAllocation, OptionKeepTest)
{
    PlanningWorld world;
    TimedRecordChain scratch;
    auto* plain = new TimedRecord(Option(1, TARGET, nullptr, 1, 1, 1, 0));
    auto* later = new TimedRecord(Option(1, TARGET, nullptr, 1, 1, 1, 0x100));
    auto* refused = new TimedRecord(Option(1, TARGET, nullptr, 1, 1, 1, 0x4));
    scratch.Append(plain);
    scratch.Append(later);
    scratch.Append(refused);
    EXPECT_TRUE(world.mission.KeepOption(scratch, plain));
    EXPECT_FALSE(world.mission.KeepOption(scratch, later));
    EXPECT_FALSE(world.mission.KeepOption(scratch, refused));
    EXPECT_EQ(scratch.First(), plain);
    EXPECT_EQ(plain->GetNext(), nullptr);
    EXPECT_EQ(world.mission.timedRecords.First(), later);
    EXPECT_EQ(later->GetNext(), nullptr);
}

namespace {

struct PlannedAttack {
    int made = 0;
    int optionsTaken = 0;
};

PlannedAttack& Seen()
{
    static PlannedAttack seen;
    return seen;
}

// A planned-attack event that takes the options over, as the event class does.
class TakenOptions : public Event {
public:
    explicit TakenOptions(Chain<TimedRecord>& options) : taken(std::move(options)) {}
    bool HandleEvent() override { return false; }
    uint8_t TypeCode() const override { return 0x0D; }
    bool Load(std::istream&) override { return true; }
    void Save(std::ostream&) const override {}
    Chain<TimedRecord> taken;
};

Event* RecordPlannedAttack(Chain<TimedRecord>& options)
{
    ++Seen().made;
    for (const TimedRecord* o = options.First(); o != nullptr; o = o->GetNext())
        ++Seen().optionsTaken;
    return new TakenOptions(options);
}

}  // namespace

TEST(MissionAllocation, PlannedAttackTakesTheOptions)
{
    PlanningWorld world;
    Seen() = PlannedAttack{};
    MissionCalls calls;
    calls.makeAttackExecutionEvent = RecordPlannedAttack;
    const MissionCalls previous = SetMissionCalls(calls);
    world.SetTime(100);
    StockEntry stock(1, 10, 5);
    for (const uint16_t id : {1, 2}) {
        planningtest::FakeUnit& shooter = world.AddUnit(id, 'S');
        shooter.reachTenths = 100;
        shooter.offers = {Option(id, 20, &stock, 0x2, 10, 90), Option(id, 20, &stock, 0x1, 10, 90)};
    }
    Contact& contact = world.AddContact(20, 0x1, {4096, 0});
    InsertTaskInOrder(world.mission.engageTasks, TaskFor(20, 0, 10));

    world.mission.PlanAttacks(world.record);
    SetMissionCalls(previous);

    EXPECT_EQ(Seen().made, 1);
    EXPECT_EQ(Seen().optionsTaken, 4);
    EXPECT_EQ(world.mission.timedRecords.First(), nullptr);
    EXPECT_EQ(world.mission.linkChain.First(), nullptr);
    // The attack was due before now: the contact is held one second.
    EXPECT_EQ(contact.pendingHold, 1u);
    const auto events = world.TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, 0x0D);
}

TEST(MissionAllocation, TargetCoveredByTheContactsOwnTallies)
{
    PlanningWorld world;
    Contact& contact = world.AddContact(20, 0x1);
    contact.sizeClass = 1;   // wants (2, 20)
    EXPECT_FALSE(world.mission.IsTargetCovered(&contact));
    contact.threat[1] = 20;
    EXPECT_TRUE(world.mission.IsTargetCovered(&contact));
    Contact& air = world.AddContact(21, 0x4);
    air.threat[0] = 2;   // air: wants 0 + 2
    EXPECT_TRUE(world.mission.IsTargetCovered(&air));
}
