// MissionTask.cpp: the ordered insertion of a task into a mission's chain.
#include "missions/MissionTask.h"

bool InsertTaskInOrder(MissionTaskChain& chain, MissionTask* task)
{
    if (task == nullptr)
        return false;
    MissionTask* before = nullptr;
    for (MissionTask* t = chain.First(); t != nullptr; t = t->GetNext()) {
        if (t->targetID == task->targetID)
            return false;
        if (before == nullptr && t->priority < task->priority)
            before = t;
    }
    if (before != nullptr)
        chain.InsertBefore(task, before);
    else
        chain.Append(task);
    return true;
}
