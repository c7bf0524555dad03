// MissionAllocation.cpp: the MissionRecord operations that match the attack
// options of a mission's units to its engage tasks: evaluation, allocation
// by first strike, by time and by value, and what becomes of each task. The
// contact scan that fills the tasks is MissionPlanning.cpp.
#include <cstdint>

#include "annex/StockEntry.h"
#include "annex/TimedRecord.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionCalls.h"
#include "missions/ShooterOptions.h"
#include "missions/MissionRecord.h"
#include "missions/MissionTask.h"
#include "units/Unit.h"

namespace {

// Option flags (TimedRecord::resultBits as the missions read them).
constexpr uint16_t OPTION_STAYS_FOR_LATER = 0x100;
constexpr uint16_t OPTION_SENSORS_ON = 0x400;
constexpr uint16_t OPTION_DROPPED = 0x2 | 0x4;

// Kind bits (TimedRecord::weaponKind as the missions read them).
constexpr uint32_t KIND_TIMED = 0x1;
constexpr uint32_t KIND_VALUED = 0x2 | 0x4 | 0x8;
constexpr uint32_t KIND_FILLER = 0x10;

// The latest time a time-based pick may have (unsigned comparisons).
constexpr uint32_t NO_TIME_BOUND = 0x7FFFFFFF;
// Options of this value or more are not picked by count.
constexpr int32_t COUNT_VALUE_LIMIT = 15000;
// The mode of the unit's engagement list that missions ask for.
constexpr uint32_t MISSION_OPTION_MODE = 0x1207;
// Tenths of a nautical mile to range units.
constexpr int32_t RANGE_PER_TENTH = 409;

// The stock an option draws on: the weapon stock the filler pointed it at.
StockEntry* StockOf(const TimedRecord& option)
{
    return static_cast<StockEntry*>(option.extra);
}

// An option may be allocated to the task: it is aimed at the task's target
// and its stock has rounds left. An option that names no stock has nothing
// to draw on and is never eligible.
bool IsEligible(const TimedRecord& option, const MissionTask& task)
{
    const StockEntry* const stock = StockOf(option);
    return option.idD == task.targetID && stock != nullptr && stock->count != 0;
}

bool IsDroppedAtEvaluation(const TimedRecord& option)
{
    return (option.resultBits & OPTION_DROPPED) != 0;
}

// The target class of a contact: its class bits without 0x10.
uint32_t TargetClassOf(const Contact& contact)
{
    return contact.GetTypeFlags() & ~0x10u;
}

// need - have as a signed difference of the two 16-bit words.
int32_t Shortfall(uint16_t need, uint16_t have, int32_t margin = 0)
{
    return static_cast<int32_t>(need) - static_cast<int32_t>(have) + margin;
}

// The eligible option with the earliest time below bound whose kind bits
// pass `kindTest`, the first of equal times; null when none.
template <typename KindTest>
TimedRecord* FindEarliest(const TimedRecordChain& chain, const MissionTask& task, uint32_t bound,
                          KindTest kindTest)
{
    TimedRecord* best = nullptr;
    uint32_t bestTime = bound;
    for (TimedRecord* o = chain.First(); o != nullptr; o = o->GetNext()) {
        if (!IsEligible(*o, task) || !kindTest(o->weaponKind))
            continue;
        const uint32_t time = o->firstTime.Get();
        if (time < bestTime) {
            best = o;
            bestTime = time;
        }
    }
    return best;
}

}  // namespace

void MissionRecord::AllocateOption(TimedRecord& option, MissionTask& task, uint8_t clearMark, Contact* contact,
                                   bool compareIDs, uint32_t& answer)
{
    StockEntry* const stock = StockOf(option);
    if (stock != nullptr)
        --stock->count;
    ++option.quantity;
    task.changed = 1;
    OnEngageResult(option.idA, clearMark, contact, compareIDs && option.idB == option.idA ? 1 : 0);
    if (option.firstTime.Get() > answer)
        answer = option.firstTime.Get();
}

void MissionRecord::GroupOptionsByShooter()
{
    for (TimedRecord* o = timedRecords.First(); o != nullptr; o = o->GetNext()) {
        ShooterOptions* row = nullptr;
        for (ListLink* l = linkChain.First(); l != nullptr && row == nullptr; l = l->GetNext()) {
            auto* candidate = static_cast<ShooterOptions*>(l);
            if (candidate->shooterID == o->idA)
                row = candidate;
        }
        if (row == nullptr) {
            row = new ShooterOptions(o->idA);
            row->firstOption = o;
            linkChain.Append(row);
        }
        ++row->optionCount;
    }
}

void MissionRecord::PostPlannedAttack()
{
    Event* const event = MakeAttackExecutionEvent(timedRecords);
    if (event != nullptr)
        gam2arena::PostEvent(event);
    // Options no event took go with the pass: the plan they made is over.
    timedRecords.DeleteAll();
}

void MissionRecord::PlanAttacks(SideContacts* scanned)
{
    if (engageTasks.First() == nullptr || scanned == nullptr)
        return;
    for (const IDNode* n = scanned->ownUnits.First(); n != nullptr; n = n->GetNext()) {
        const MissionUnitRec* const record = units.Find(n->GetKey());
        if (record != nullptr && record->isFormation == 0 && extraIDs.Find(n->GetKey()) == nullptr)
            extraIDs.Insert(new IDNode(n->GetKey()));
    }
    EvaluateTasks(scanned);
    GroupOptionsByShooter();
    AllocateTasks(scanned);
    if (timedRecords.First() != nullptr)
        PostPlannedAttack();
    engageTasks.DeleteAll();
    linkChain.DeleteAll();
    extraIDs.DeleteAll();
}

void MissionRecord::EvaluateTasks(SideContacts* scanned)
{
    MissionTask* next = nullptr;
    for (MissionTask* task = engageTasks.First(); task != nullptr; task = next) {
        next = task->GetNext();
        Contact* const contact = scanned != nullptr ? scanned->GetContact(task->targetID) : nullptr;
        if (contact == nullptr || IsTaskSatisfied(task, TargetClassOf(*contact), 0)) {
            engageTasks.Remove(task);
            delete task;
            continue;
        }
        if (OfferOptions(*task, *contact))
            continue;
        engageTasks.Remove(task);
        if (!IsNotFriendlyClass(contact) || !InsertTaskInOrder(keptTasks, task))
            delete task;
    }
}

bool MissionRecord::OfferOptions(const MissionTask& task, const Contact& contact)
{
    const uint32_t classBits = contact.GetTypeFlags();
    LatLonPoint where;
    contact.GetPosition(where);
    bool reachable = false;
    for (const IDNode* n = extraIDs.First(); n != nullptr; n = n->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(n->GetKey());
        if (unit == nullptr)
            continue;
        const NavVector toTarget = NavMath::Get_Vector(unit->GetPosition(), where);
        const int32_t reach = static_cast<int32_t>(unit->GetWeaponReach(classBits)) * RANGE_PER_TENTH;
        if (toTarget.range <= reach) {
            unit->BuildEngagementList(classBits, task.targetID, toTarget, timedRecords, MISSION_OPTION_MODE);
            reachable = true;
        }
        DropRefusedOptions();
    }
    return reachable;
}

void MissionRecord::DropRefusedOptions()
{
    TimedRecord* next = nullptr;
    for (TimedRecord* o = timedRecords.First(); o != nullptr; o = next) {
        next = o->GetNext();
        if (IsDroppedAtEvaluation(*o)) {
            timedRecords.Remove(o);
            delete o;
        }
    }
}

void MissionRecord::AllocateTasks(SideContacts* scanned)
{
    const uint32_t now = gam2arena::GetGameTime();
    while (MissionTask* const task = engageTasks.First()) {
        engageTasks.Remove(task);
        Contact* const contact = scanned != nullptr ? scanned->GetContact(task->targetID) : nullptr;
        if (contact == nullptr) {
            delete task;
            continue;
        }
        const uint32_t targetClass = TargetClassOf(*contact);
        uint32_t answer = 0;
        if (targetClass == 2) {
            answer = AllocateFirstStrike(task, contact);
            contact->threat[1] = task->allocatedValue;
        } else if (targetClass == 4 || targetClass == 8) {
            answer = AllocateByTime(task, contact);
        } else {
            answer = AllocateByValue(task, contact);
            contact->threat[1] = task->allocatedValue;
        }
        // The contact keeps the earliest planned attack as a hold in seconds
        // from now; an attack planned for now or earlier holds one second.
        if (answer != 0)
            contact->SetFirstDetection(answer > now ? answer - now : 1);
        KeepTask(task, targetClass, contact);
    }
}

bool MissionRecord::IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit* /*unit*/)
{
    if (task == nullptr)
        return true;
    if (targetClass == 2)
        return task->allocatedCount != 0;
    if (targetClass == 4 || targetClass == 8)
        return Shortfall(task->needCount, task->allocatedCount, 2) <= 0;
    return task->allocatedValue >= task->needValue || Shortfall(task->needCount, task->allocatedCount, 1) <= 0;
}

uint32_t MissionRecord::AllocateFirstStrike(MissionTask* task, Contact* contact)
{
    if (task == nullptr || timedRecords.First() == nullptr || task->allocatedCount != 0)
        return 0;
    TimedRecord* const pick = FindEarliest(timedRecords, *task, NO_TIME_BOUND, [](uint32_t) { return true; });
    if (pick == nullptr)
        return 0;
    uint32_t answer = 0;
    AllocateOption(*pick, *task, 1, contact, false, answer);
    ++task->allocatedCount;
    return answer;
}

uint32_t MissionRecord::AllocateByTime(MissionTask* task, Contact* contact)
{
    if (task == nullptr)
        return 0;
    int32_t want = Shortfall(task->needCount, task->allocatedCount, 2);
    if (timedRecords.First() == nullptr || want <= 0)
        return 0;
    uint32_t bound = NO_TIME_BOUND;
    if (contact != nullptr && (contact->GetTypeFlags() & 0x8) != 0) {
        const Unit* const target = gam2arena::FindUnit(contact->GetKey());
        if (target != nullptr && target->GetTimeLimit() != 0)
            bound = target->GetTimeLimit();
    }
    uint32_t answer = 0;
    // Each pick must come before the one chosen ahead of it: the bound
    // follows the picks and is not restored between the passes.
    const auto pickPass = [&](auto kindTest) {
        while (want > 0) {
            TimedRecord* const pick = FindEarliest(timedRecords, *task, bound, kindTest);
            if (pick == nullptr)
                return;
            AllocateOption(*pick, *task, 1, contact, true, answer);
            ++task->allocatedCount;
            --want;
            bound = pick->firstTime.Get();
        }
    };
    pickPass([](uint32_t kind) { return (kind & KIND_TIMED) != 0; });
    pickPass([](uint32_t kind) { return (kind & ~KIND_TIMED) != 0; });
    return answer;
}

uint32_t MissionRecord::AllocateByValue(MissionTask* task, Contact* contact)
{
    if (task == nullptr)
        return 0;
    const int32_t need = Shortfall(task->needValue, task->allocatedValue);
    if (timedRecords.First() == nullptr || need <= 0)
        return 0;
    uint32_t answer = 0;

    // Pass one: the largest values first, until the value wanted is reached.
    int32_t sum = 0;
    while (sum < need) {
        TimedRecord* pick = nullptr;
        int32_t best = 0;
        for (TimedRecord* o = timedRecords.First(); o != nullptr; o = o->GetNext()) {
            if (IsEligible(*o, *task) && (o->weaponKind & KIND_VALUED) != 0 && o->value16 > best) {
                pick = o;
                best = o->value16;
            }
        }
        if (pick == nullptr)
            break;
        AllocateOption(*pick, *task, 0, contact, true, answer);
        sum += best;
    }
    task->allocatedValue = static_cast<uint16_t>(task->allocatedValue + sum);
    if (sum >= need)
        return answer;

    // Pass two: by count, the smallest value that reaches the threshold.
    int32_t want = Shortfall(task->needCount, task->allocatedCount, 1);
    int32_t threshold = task->needValue;
    while (want > 0) {
        TimedRecord* pick = nullptr;
        for (TimedRecord* o = timedRecords.First(); o != nullptr; o = o->GetNext()) {
            if (!IsEligible(*o, *task) || (o->weaponKind & KIND_TIMED) == 0)
                continue;
            if (o->value16 >= threshold && o->value16 < COUNT_VALUE_LIMIT && (pick == nullptr || o->value16 < pick->value16))
                pick = o;
        }
        if (pick == nullptr) {
            if (threshold == 0)
                break;
            threshold /= 2;
            continue;
        }
        AllocateOption(*pick, *task, 0, contact, true, answer);
        ++task->allocatedCount;
        --want;
    }

    // Pass three: with no attacker counted yet, fillers in chain order.
    if (task->allocatedCount == 0) {
        const int32_t need2 = Shortfall(task->needValue, task->allocatedValue);
        int32_t filled = 0;
        for (TimedRecord* o = timedRecords.First(); o != nullptr && filled < need2; o = o->GetNext()) {
            if (!IsEligible(*o, *task) || (o->weaponKind & KIND_FILLER) == 0)
                continue;
            // One option can be taken again while its stock lasts.
            while (filled < need2 && IsEligible(*o, *task)) {
                AllocateOption(*o, *task, 0, contact, true, answer);
                filled += o->value16;
            }
        }
        task->allocatedValue = static_cast<uint16_t>(task->allocatedValue + filled);
    }
    return answer;
}

void MissionRecord::KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact)
{
    if (task == nullptr)
        return;
    if (contact == nullptr) {
        delete task;
        return;
    }
    bool wanted = false;
    for (const TimedRecord* o = task->options.First(); o != nullptr; o = o->GetNext()) {
        if ((o->resultBits & OPTION_STAYS_FOR_LATER) != 0 && (targetClass & ~0x8u) != 0)
            wanted = true;
        if ((o->resultBits & OPTION_SENSORS_ON) != 0)
            PostUnitSensorsOn(o->idA);
    }
    if (task->changed == 0 && contact->hostileAct == 0 && wanted && contact->bandFlag == 0 &&
        InsertTaskInOrder(keptTasks, task))
        return;
    delete task;
}

bool MissionRecord::IsTargetCovered(Contact* contact)
{
    if (contact == nullptr)
        return false;
    MissionTask task(contact->GetKey());
    FillTaskEstimate(&task, contact, contact->GetTypeFlags());
    return IsTaskSatisfied(&task, TargetClassOf(*contact), 0);
}

bool MissionRecord::KeepOption(TimedRecordChain& from, TimedRecord* option)
{
    if (option == nullptr)
        return false;
    if (option->resultBits == 0)
        return true;
    from.Remove(option);
    if (IsDroppedAtEvaluation(*option))
        delete option;
    else
        timedRecords.Append(option);
    return false;
}
