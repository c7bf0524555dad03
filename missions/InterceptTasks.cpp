// InterceptTasks.cpp: how the intercept mission reads the contacts of a
// scanned side: which are in reach, what each is (engage, send interceptors,
// watch or ignore), how soon each is looked at again, the tasks made for
// them and how its units follow a target's news; then its own attack
// allocation rules and what becomes of each task and attacker. The scan
// itself is the base's (MissionPlanning.cpp, MissionAllocation.cpp).
#include <cstdint>

#include "annex/StockEntry.h"
#include "annex/TimedRecord.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/InterceptMission.h"
#include "missions/Side.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

// Contact class bits as this mission reads them.
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t CLASS_TORPEDO = 0x800;
// Contact status bit: lost.
constexpr uint32_t STATUS_LOST = 0x8;
// Mission mark of a contact: an interceptor is on its way.
constexpr uint8_t INTERCEPTOR_ASSIGNED = 0x4;
// Relations.
constexpr uint8_t RELATION_HOSTILE = 1;
constexpr uint8_t RELATION_FRIENDLY = 2;

// Classification answers, which are also the re-check codes asked for.
constexpr uint16_t ENGAGE = 1;
constexpr uint16_t INTERCEPT = 2;
constexpr uint16_t WATCH = 5;

// Task priorities.
constexpr uint16_t PRIORITY_TARGET = 100;
constexpr uint16_t PRIORITY_MISSILE = 90;
constexpr uint16_t PRIORITY_AIR = 80;
constexpr uint16_t PRIORITY_OTHER = 10;

// Option flags and kind bits (TimedRecord::resultBits, weaponKind).
constexpr uint16_t OPTION_WANTED = 0x100;
constexpr uint16_t OPTION_SENSORS_ON = 0x400;
constexpr uint32_t KIND_TIMED = 0x1;
constexpr uint32_t KIND_VALUED = 0x2 | 0x4 | 0x8;
constexpr uint32_t KIND_FILLER = 0x10;
// Options of this value or more are not picked by count.
constexpr int32_t COUNT_VALUE_LIMIT = 15000;
// The mode of the unit's engagement list that missions ask for.
constexpr uint32_t MISSION_OPTION_MODE = 0x1207;
// Tenths of a nautical mile to range units.
constexpr int32_t RANGE_PER_TENTH = 409;

// The re-check interval (seconds) of a contact of class c (without 0x10)
// for the classification code; friendly is the owner's relation toward it.
uint32_t RecheckSeconds(uint32_t c, uint16_t code, bool friendly)
{
    if (code == ENGAGE || code == WATCH)
        return c == CLASS_AIR ? 5 : c == CLASS_MISSILE ? 1 : 15;
    if (code == INTERCEPT)
        return c == CLASS_AIR ? 15 : c == CLASS_MISSILE ? 1 : 45;
    if (friendly)
        return 3600;
    switch (c) {
    case CLASS_AIR: return 60;
    case CLASS_MISSILE: return 5;
    case CLASS_TORPEDO: return 120;
    default: return 300;
    }
}

StockEntry* StockOf(const TimedRecord& option) { return static_cast<StockEntry*>(option.extra); }

// The option is aimed at the task's target and its stock has rounds left.
bool IsEligible(const TimedRecord& option, const MissionTask& task)
{
    const StockEntry* const stock = StockOf(option);
    return option.idD == task.targetID && stock != nullptr && stock->count != 0;
}

// The eligible option of a kind with the largest value above 0; null when none.
TimedRecord* FindLargest(const TimedRecordChain& chain, const MissionTask& task, uint32_t kinds)
{
    TimedRecord* best = nullptr;
    for (TimedRecord* o = chain.First(); o != nullptr; o = o->GetNext()) {
        if (IsEligible(*o, task) && (o->weaponKind & kinds) != 0 && o->value16 > (best ? best->value16 : 0))
            best = o;
    }
    return best;
}

// The timed eligible option with the smallest value of at least threshold
// and below COUNT_VALUE_LIMIT; the first of equal values; null when none.
TimedRecord* FindSmallestFrom(const TimedRecordChain& chain, const MissionTask& task, int32_t threshold)
{
    TimedRecord* best = nullptr;
    for (TimedRecord* o = chain.First(); o != nullptr; o = o->GetNext()) {
        if (!IsEligible(*o, task) || (o->weaponKind & KIND_TIMED) == 0)
            continue;
        if (o->value16 >= threshold && o->value16 < COUNT_VALUE_LIMIT && (best == nullptr || o->value16 < best->value16))
            best = o;
    }
    return best;
}

void PostStep(uint16_t unitID) { PostOrDrop(MakeMissionUnitEvent(unitID, GameTime(0))); }

} // namespace

// ---- contact scan ----

bool InterceptMission::IsContactInReach(Contact* contact, SideContacts*)
{
    if (contact == nullptr || (contact->conditionBits & STATUS_LOST) != 0)
        return false;
    if (IsTarget(*contact))
        return true;
    const uint32_t c = contact->GetTypeFlags();
    if ((targetClasses & CLASS_AIR) != 0 && (c & CLASS_AIR) != 0 && IsTrackClass6000(contact))
        return false;
    LatLonPoint where;
    contact->GetPosition(where);
    const bool coursed = (contact->knownBits & ContactKnown::COURSE) != 0;
    const int32_t course = static_cast<int32_t>(contact->course % 360) * ANGLE_PER_DEGREE;
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
        if (unit == nullptr)
            continue;
        // From the contact to the unit: a unit ahead of the contact's course.
        const NavVector v = NavMath::Get_Vector(where, unit->GetPosition());
        if (static_cast<uint32_t>(v.range) <= GetUnitReach(unit, c))
            return true;
        if (coursed && IsBearingWithin5(v.bearing, course))
            return true;
    }
    return false;
}

uint16_t InterceptMission::ClassifyContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr || contact->GetTypeFlags() == 0 || !IsContactInReach(contact, scanned))
        return 0;
    const uint32_t c = contact->GetTypeFlags();
    const bool plain = IsPlainContact(contact);
    if (contact->sideId != 0) {
        if (side == nullptr || side->GetRelation(contact->sideId) != RELATION_HOSTILE)
            return 0;
        if (IsTarget(*contact))
            return plain ? ENGAGE : INTERCEPT;
        if (contact->bandFlag != 0)
            return 0;
        if ((c & CLASS_MISSILE) == 0)
            return plain ? ENGAGE : 0;
        return IsStrikeWorthy(*contact, creationKind) ? ENGAGE : IsLaunched(contact) ? WATCH : 0;
    }
    if (IsTarget(*contact))
        return plain ? ENGAGE : INTERCEPT;
    if ((c & CLASS_MISSILE) != 0 && contact->bandFlag == 0)
        return IsStrikeWorthy(*contact, creationKind) ? ENGAGE : IsLaunched(contact) ? WATCH : 0;
    if ((c & CLASS_TORPEDO) != 0 && contact->bandFlag == 0)
        return IsLaunched(contact) ? WATCH : 0;
    return contact->hostileAct != 0 && contact->bandFlag == 0 && plain ? ENGAGE : 0;
}

void InterceptMission::ScheduleContactCheck(Contact* contact, uint16_t code)
{
    if (contact == nullptr)
        return;
    const bool friendly =
        contact->sideId != 0 && side != nullptr && side->GetRelation(contact->sideId) == RELATION_FRIENDLY;
    contact->SetFirstDetection(RecheckSeconds(contact->GetTypeFlags() & ~CLASS_IGNORED, code, friendly));
}

MissionTask* InterceptMission::MakeTask(Contact* contact)
{
    if (contact == nullptr)
        return nullptr;
    const uint32_t c = contact->GetTypeFlags();
    auto* const task = new MissionTask(contact->GetKey());
    if (IsTarget(*contact))
        task->priority = PRIORITY_TARGET;
    else if ((c & CLASS_MISSILE) != 0)
        task->priority = PRIORITY_MISSILE;
    else if ((c & CLASS_AIR) != 0)
        task->priority = PRIORITY_AIR;
    else
        task->priority = PRIORITY_OTHER;
    FillTaskEstimate(task, contact, c & ~CLASS_IGNORED);
    return task;
}

void InterceptMission::ConsiderContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr)
        return;
    if (contact->changeBits != 0)
        RecheckTarget(*contact);
    const uint16_t r = ClassifyContact(contact, scanned);
    MissionTaskChain* chain = r == ENGAGE ? &engageTasks : r == INTERCEPT ? &keptTasks : r == WATCH ? &watchTasks : nullptr;
    if (chain != nullptr) {
        ScheduleContactCheck(contact, r);
        MissionTask* const task = MakeTask(contact);
        if (!InsertTaskInOrder(*chain, task))
            delete task;
        return;
    }
    // No longer worth anything: a target is given up.
    if (IDNode* const node = targets.Find(contact->GetKey())) {
        targets.Remove(node);
        delete node;
        contact->stickyFlags &= static_cast<uint8_t>(~INTERCEPTOR_ASSIGNED);
    }
}

bool InterceptMission::IsTarget(const Contact& contact) const { return targets.Find(contact.GetKey()) != nullptr; }

bool InterceptMission::IsNotFriendlyClass(Contact* contact) { return contact != nullptr && IsTarget(*contact); }

void InterceptMission::RecheckTarget(Contact& contact)
{
    const uint16_t targetID = contact.GetKey();
    const bool lost = (contact.conditionBits & STATUS_LOST) != 0;
    for (MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        if (r->targetID != targetID)
            continue;
        int16_t next = r->state;
        if (r->state == InterceptState::PROCEEDING || r->state == InterceptState::CLOSING) {
            if (lost)
                next = MissionUnitState::IDLE;
            else if (r->state == InterceptState::CLOSING && contact.changeBits != 0 && IsPlainContact(&contact))
                next = InterceptState::PROCEEDING;
        } else if (r->state == InterceptState::ENGAGING) {
            const Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
            if (unit != nullptr)
                next = lost ? MissionUnitState::IDLE : unit->HasContacts() ? InterceptState::ENGAGING : InterceptState::PROCEEDING;
        }
        if (next == r->state)
            continue;
        if (next == MissionUnitState::IDLE) {
            contact.stickyFlags &= static_cast<uint8_t>(~INTERCEPTOR_ASSIGNED);
            r->ChangeState(MissionUnitState::IDLE, 0, 0);
        } else {
            r->ChangeState(next, targetID, contact.GetTypeFlags());
        }
    }
    // Every unit still after the target is stopped and steps again.
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        if (r->targetID != targetID)
            continue;
        if (Unit* const unit = gam2arena::FindUnit(r->GetUnitID())) {
            unit->ClearPath();
            PostStep(r->GetUnitID());
        }
    }
}

// ---- attack allocation ----

void InterceptMission::EvaluateTasks(SideContacts* scanned)
{
    MissionTask* next = nullptr;
    for (MissionTask* task = engageTasks.First(); task != nullptr; task = next) {
        next = task->GetNext();
        Contact* const contact = scanned != nullptr ? scanned->GetContact(task->targetID) : nullptr;
        if (contact == nullptr) {
            engageTasks.Remove(task);
            delete task;
            continue;
        }
        const uint32_t c = contact->GetTypeFlags();
        LatLonPoint where;
        contact->GetPosition(where);
        bool reachable = false;
        for (const IDNode* n = extraIDs.First(); n != nullptr; n = n->GetNext()) {
            Unit* const unit = gam2arena::FindUnit(n->GetKey());
            if (unit == nullptr || IsTaskSatisfied(task, c, unit))
                continue;
            TimedRecordChain offered;
            const NavVector toTarget = NavMath::Get_Vector(unit->GetPosition(), where);
            if (toTarget.range <= static_cast<int32_t>(unit->GetWeaponReach(c)) * RANGE_PER_TENTH) {
                unit->BuildEngagementList(c, task->targetID, toTarget, offered, MISSION_OPTION_MODE);
                reachable = true;
            }
            TimedRecord* after = nullptr;
            for (TimedRecord* o = offered.First(); o != nullptr; o = after) {
                after = o->GetNext();
                if (KeepOption(offered, o)) {
                    offered.Remove(o);
                    timedRecords.Append(o);
                }
            }
        }
        if (reachable)
            continue;
        engageTasks.Remove(task);
        if (!IsNotFriendlyClass(contact) || !InsertTaskInOrder(keptTasks, task))
            delete task;
    }
}

bool InterceptMission::IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit* unit)
{
    if (task == nullptr)
        return true;
    const bool open = targets.Find(task->targetID) == nullptr || (unit != nullptr && unit->IsTargeted(task->targetID));
    if (!open)
        return false;
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    if (c == 0x2)
        return task->allocatedCount != 0;
    if (c == CLASS_AIR || c == CLASS_MISSILE)
        return task->allocatedCount >= uint32_t{task->needCount} + 1;
    return task->allocatedValue >= task->needValue;
}

uint32_t InterceptMission::AllocateByTime(MissionTask* task, Contact* contact)
{
    if (task == nullptr)
        return 0;
    // The base's picks by time, but wanting needCount + 2 whatever is
    // allocated already: the allocated count is set aside for the picks and
    // added back after them.
    const uint16_t allocated = task->allocatedCount;
    task->allocatedCount = 0;
    const uint32_t answer = MissionRecord::AllocateByTime(task, contact);
    task->allocatedCount = static_cast<uint16_t>(task->allocatedCount + allocated);
    return answer;
}

uint32_t InterceptMission::AllocateByValue(MissionTask* task, Contact* contact)
{
    if (task == nullptr)
        return 0;
    const int32_t needValue = task->needValue;
    uint32_t answer = 0;

    // The largest values first, until the value wanted is reached.
    int32_t sum = 0;
    while (sum < needValue) {
        TimedRecord* const pick = FindLargest(timedRecords, *task, KIND_VALUED);
        if (pick == nullptr)
            break;
        AllocateOption(*pick, *task, 0, contact, true, answer);
        sum += pick->value16;
    }
    task->allocatedValue = static_cast<uint16_t>(task->allocatedValue + sum);
    if (sum >= needValue)
        return answer;

    // By count: the smallest value reaching a threshold that halves when
    // nothing reaches it.
    int32_t want = int32_t{task->needCount} + 1;
    int32_t threshold = needValue;
    while (want > 0) {
        TimedRecord* const pick = FindSmallestFrom(timedRecords, *task, threshold);
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

    // With no attacker counted, fillers in chain order.
    if (task->allocatedCount == 0 && needValue != 0) {
        int32_t filled = 0;
        for (TimedRecord* o = timedRecords.First(); o != nullptr && filled < needValue; o = o->GetNext()) {
            while ((o->weaponKind & KIND_FILLER) != 0 && filled < needValue && IsEligible(*o, *task)) {
                AllocateOption(*o, *task, 0, contact, true, answer);
                filled += o->value16;
            }
        }
        task->allocatedValue = static_cast<uint16_t>(task->allocatedValue + filled);
    }
    return answer;
}

void InterceptMission::KeepTask(MissionTask* task, uint32_t, Contact* contact)
{
    if (task == nullptr)
        return;
    if (contact == nullptr) {
        delete task;
        return;
    }
    bool wanted = false;
    for (const TimedRecord* o = task->options.First(); o != nullptr; o = o->GetNext()) {
        if ((o->resultBits & OPTION_WANTED) != 0 && IsTarget(*contact))
            wanted = true;
        if ((o->resultBits & OPTION_SENSORS_ON) != 0)
            PostUnitSensorsOn(o->idA);
    }
    const bool keep = task->changed == 0 && contact->bandFlag == 0 &&
                      (task->options.First() == nullptr ||
                       (wanted && (contact->stickyFlags & INTERCEPTOR_ASSIGNED) == 0));
    if (!keep || !InsertTaskInOrder(keptTasks, task))
        delete task;
}

void InterceptMission::OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t sameUnit)
{
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    if (clearMark != 0)
        record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    const char letter = unit->GetTypeLetter();
    const bool counts = sameUnit != 0 && (letter == 'P' || letter == 'A');
    if (record->state == InterceptState::PROCEEDING && !counts) {
        record->state = InterceptState::ENGAGING;
    } else if (record->state == MissionUnitState::ADDED || record->state == MissionUnitState::IDLE) {
        record->ChangeState(InterceptState::ATTACKING, contact ? contact->GetKey() : 0,
                            contact ? contact->GetTypeFlags() : 0);
    } else {
        if (record->isFormation == 0)
            SetUnitPosture(unitID, record);
        return;
    }
    unit->ClearPath();
    PostStep(unitID);
}

void InterceptMission::CheckIdleState(MissionUnitRec* record)
{
    if (record == nullptr || (record->state != InterceptState::ATTACKING && record->state != InterceptState::ENGAGING))
        return;
    Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
    if (unit == nullptr)
        return;
    if (unit->SumWeaponRatings(record->targetClass) == 0)
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
    else if (unit->HasContacts())
        return;
    else if (record->state == InterceptState::ENGAGING)
        record->state = InterceptState::PROCEEDING;   // the target is kept
    else
        record->ChangeState(MissionUnitState::IDLE, 0, 0);
    record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    unit->ClearPath();
    PostStep(record->GetUnitID());
}
