// Tests of MissionTask: its start state, the ordered insertion into a chain
// and what deleting a task takes with it.
#include <gtest/gtest.h>

#include <vector>

#include "annex/StockEntry.h"
#include "missions/MissionTask.h"

namespace {

MissionTask* NewTask(uint16_t contactID, uint16_t priority)
{
    auto* task = new MissionTask(contactID);
    task->priority = priority;
    return task;
}

std::vector<uint16_t> ContactOrder(const MissionTaskChain& chain)
{
    std::vector<uint16_t> ids;
    for (const MissionTask* t = chain.First(); t != nullptr; t = t->GetNext())
        ids.push_back(t->targetID);
    return ids;
}

}  // namespace

TEST(MissionTask, StartsEmptyForItsContact)
{
    const MissionTask task(42);
    EXPECT_EQ(task.targetID, 42);
    EXPECT_EQ(task.priority, 0);
    EXPECT_EQ(task.needCount, 0);
    EXPECT_EQ(task.needValue, 0);
    EXPECT_EQ(task.allocatedCount, 0);
    EXPECT_EQ(task.allocatedValue, 0);
    EXPECT_EQ(task.changed, 0);
    EXPECT_EQ(task.options.First(), nullptr);
    EXPECT_EQ(task.GetNext(), nullptr);
    EXPECT_EQ(task.GetPrev(), nullptr);
}

TEST(MissionTask, InsertionKeepsDescendingPriorityAndArrivalOrder)
{
    struct Row {
        uint16_t contact;
        uint16_t priority;
    };
    // Priorities 90 and 100 queue as 100, 90; a second 90 goes after the
    // first; a 10 at the end; a second 100 after the first 100.
    const Row rows[] = {{1, 90}, {2, 100}, {3, 90}, {4, 10}, {5, 100}, {6, 95}};
    MissionTaskChain chain;
    for (const Row& r : rows)
        ASSERT_TRUE(InsertTaskInOrder(chain, NewTask(r.contact, r.priority)));
    EXPECT_EQ(ContactOrder(chain), (std::vector<uint16_t>{2, 5, 6, 1, 3, 4}));
    EXPECT_EQ(chain.Last()->targetID, 4);
}

TEST(MissionTask, SecondTaskForAContactIsRefused)
{
    // The duplicate is refused whether it would go before, beside or after
    // the task already held for its contact.
    for (const uint16_t priority : {5, 50, 100}) {
        MissionTaskChain chain;
        ASSERT_TRUE(InsertTaskInOrder(chain, NewTask(1, 90)));
        ASSERT_TRUE(InsertTaskInOrder(chain, NewTask(2, 50)));
        MissionTask* duplicate = NewTask(2, priority);
        EXPECT_FALSE(InsertTaskInOrder(chain, duplicate)) << priority;
        EXPECT_EQ(ContactOrder(chain), (std::vector<uint16_t>{1, 2}));
        EXPECT_EQ(duplicate->GetNext(), nullptr);
        EXPECT_EQ(duplicate->GetPrev(), nullptr);
        delete duplicate;
    }
    MissionTaskChain chain;
    EXPECT_FALSE(InsertTaskInOrder(chain, nullptr));
}

TEST(MissionTask, DeletingATaskDeletesItsOptionsButNotTheirStock)
{
    StockEntry stock(7, 100, 3);
    {
        MissionTaskChain chain;
        MissionTask* task = NewTask(9, 50);
        for (int i = 0; i < 3; ++i) {
            auto* option = new TimedRecord;
            option->extra = &stock;
            task->options.Append(option);
        }
        ASSERT_TRUE(InsertTaskInOrder(chain, task));
    }   // the chain deletes the task, the task its options
    EXPECT_EQ(stock.count, 3);   // still there to read
}
