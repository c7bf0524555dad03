// MissionPlanning.cpp: the MissionRecord operations that look at the
// contacts of the sides of a mission's units, one side per step: which
// contacts are targets, which are watched, how soon each is looked at again,
// the tasks made for them, the units sent against them and the sensor
// postures that follow. Allocating attacks to the tasks is
// MissionAllocation.cpp.
#include <cstdint>

#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionCalls.h"
#include "missions/MissionRecord.h"
#include "missions/MissionTask.h"
#include "missions/Side.h"
#include "units/Unit.h"
#include "world/Game2UI2.h"

namespace {

// Contact class bits as the planning reads them.
constexpr uint32_t CLASS_SURFACE = 0x1;
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t CLASS_TORPEDO = 0x800;
constexpr uint32_t CLASS_NEVER_AGED = 0x7E0;
constexpr uint32_t CLASS_PLAYER_REACH = CLASS_AIR | CLASS_MISSILE | CLASS_TORPEDO;   // 0x80C

// Track word bits (Contact::knownBits) beyond ContactKnown's.
constexpr uint16_t TRACK_FIRM = 0x8;
constexpr uint16_t TRACK_PLOTTED = 0x200;

// Contact status bit: the contact is lost and missions drop it.
constexpr uint32_t STATUS_LOST = 0x8;
// Pending-check bit set on a contact not reported for too long.
constexpr uint16_t CHECK_AGED = 0x40;

// Relations.
constexpr uint8_t RELATION_HOSTILE = 1;
constexpr uint8_t RELATION_FRIENDLY = 2;

// Classification answers.
constexpr uint16_t ENGAGE = 1;
constexpr uint16_t WATCH = 5;

// Reach of ReactToTasks: 30 nautical miles in range units.
constexpr int32_t REACT_RANGE = 30 * 4096;
// Sensor posture values of the set-sensors events posted here.
constexpr uint16_t SENSORS_MODE_ON = 2;
constexpr uint32_t POSTURE_ENGAGING = 1;
constexpr uint32_t POSTURE_ON_DUTY = 5;

bool IsLetterOf(const Unit* unit, char a, char b)
{
    return unit != nullptr && (unit->GetTypeLetter() == a || unit->GetTypeLetter() == b);
}

// The unit that launched the contact's unit, or null (also when the
// contact's unit is gone).
const Unit* LauncherOf(const Contact& contact)
{
    const Unit* const unit = gam2arena::FindUnit(contact.GetKey());
    if (unit == nullptr || unit->GetLauncherID() == 0)
        return nullptr;
    return gam2arena::FindUnit(unit->GetLauncherID());
}

}  // namespace

bool MissionRecord::IsStrikeWorthy(const Contact& contact, uint16_t creationKind)
{
    if (creationKind != 1 && contact.GetArea() != nullptr && (contact.knownBits & TRACK_FIRM) == 0)
        return false;
    if (gam2arena::FindUnit(contact.GetKey()) == nullptr)
        return false;
    return !IsLetterOf(LauncherOf(contact), 'P', 'W');
}

namespace {

// The age limit in seconds of a contact of class c (without 0x10).
uint32_t AgeLimitOf(uint32_t c)
{
    switch (c) {
    case 0: return 300;
    case CLASS_SURFACE: return 7200;
    case CLASS_SUBSURFACE: return 3600;
    case CLASS_AIR: return 180;
    case CLASS_MISSILE: return 120;
    case CLASS_TORPEDO: return 300;
    default: return 60;
    }
}

struct Estimate {
    uint16_t low;
    uint16_t high;
};

// The strength estimate of a contact not identified, by class and size.
Estimate EstimateOf(uint32_t c, uint8_t sizeClass)
{
    switch (c) {
    case CLASS_SURFACE:
        switch (sizeClass) {
        case 1: return {2, 20};
        case 2: return {2, 80};
        case 4: return {6, 120};
        case 8: return {12, 250};
        case 0x10: return {12, 500};
        default: return {1, 1};
        }
    case CLASS_SUBSURFACE: return {0, 20};
    case 0x20: return {0, 50};
    case 0x40: return {0, 10};
    case 0x80: return {0, 40};
    case 0x100: return {0, 10};
    case 0x200: return {0, 40};
    default: return {0, 0};
    }
}

// The bearing from the unit to the contact lies within 5 degrees of the
// contact's course (whole degrees).
bool IsOnContactCourse(int32_t bearing, const Contact& contact)
{
    return MissionRecord::IsBearingWithin5(bearing, static_cast<int32_t>(contact.course) * ANGLE_PER_DEGREE);
}

}  // namespace

bool MissionRecord::IsLaunched(const Contact* contact)
{
    if (contact == nullptr || (contact->knownBits & ContactKnown::COURSE) == 0)
        return false;
    if ((contact->GetTypeFlags() & CLASS_MISSILE) == 0)
        return true;
    return IsLetterOf(LauncherOf(*contact), 'P', 'W');
}

bool MissionRecord::IsPlainContact(const Contact* contact)
{
    if (contact == nullptr || (contact->GetTypeFlags() & CLASS_TORPEDO) != 0)
        return false;
    return contact->GetArea() == nullptr || (contact->knownBits & (TRACK_PLOTTED | TRACK_FIRM)) != 0;
}

bool MissionRecord::InsertTaskByPriority(MissionTask* task)
{
    if (InsertTaskInOrder(engageTasks, task))
        return true;
    delete task;
    return false;
}

void MissionRecord::QueuePlanning()
{
    const auto queueSideOf = [this](uint16_t unitID) {
        const Unit* const unit = gam2arena::FindUnit(unitID);
        if (unit == nullptr)
            return;
        const uint16_t key = unit->sideEntryID;
        if (key != 0 && sideQueue.Find(key) == nullptr)
            sideQueue.Insert(new IDNode(key));
    };
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext())
        queueSideOf(r->GetUnitID());
    for (const PlaneRecRef* ref = planeRefs.First(); ref != nullptr; ref = ref->GetNext())
        queueSideOf(ref->holderID);
}

bool MissionRecord::PlanStep()
{
    IDNode* const node = sideQueue.First();
    if (node != nullptr) {
        const uint16_t key = node->GetKey();
        sideQueue.Remove(node);
        delete node;
        if (SideContacts* const scanned = gam2arena::FindSide(key))
            ScanSide(*scanned);
    }
    if (node != nullptr && sideQueue.First() != nullptr)
        return true;
    MissionUnitRec* next = nullptr;
    for (MissionUnitRec* r = units.First(); r != nullptr; r = next) {
        next = r->GetNext();
        CheckIdleState(r);
    }
    return false;
}

void MissionRecord::ScanSide(SideContacts& scanned)
{
    const uint32_t now = gam2arena::GetGameTime();
    for (Contact* c = scanned.contacts.First(); c != nullptr; c = c->GetNext()) {
        const uint32_t due = c->holdUntil.Get();
        if (c->changeBits != 0 || (due != 0 && due <= now))
            ConsiderContact(c, &scanned);
    }
    for (Contact* c = scanned.contacts.First(); c != nullptr; c = c->GetNext())
        AgeContact(c);
    PlanAttacks(&scanned);
    ReactToTasks(&scanned);
    if ((missionFlags & MissionFlag::DELAYED_START) == 0) {
        OnSideScanned(&scanned);
        SetAircraftWait();
    }
    engageTasks.DeleteAll();
    keptTasks.DeleteAll();
    watchTasks.DeleteAll();
}

void MissionRecord::AgeContact(Contact* contact)
{
    if (contact == nullptr)
        return;
    const uint32_t c = contact->GetTypeFlags();
    if ((c & CLASS_NEVER_AGED) != 0)
        return;
    const uint64_t limit = uint64_t{contact->lastDetection.Get()} + AgeLimitOf(c & ~CLASS_IGNORED);
    if (limit < gam2arena::GetGameTime())
        contact->changeBits |= CHECK_AGED;
}

void MissionRecord::ConsiderContact(Contact* contact, SideContacts* scanned)
{
    uint16_t r = ClassifyContact(contact, scanned);
    if (r == ENGAGE) {
        if (weaponsFree != 0 || scanned != gam2arena::GetCurrentSide()) {
            ScheduleContactCheck(contact, ENGAGE);
            InsertTaskByPriority(MakeTask(contact));
            return;
        }
        ScheduleContactCheck(contact, 0);
        r = WATCH;
    }
    if (r == WATCH) {
        ScheduleContactCheck(contact, WATCH);
        MissionTask* const task = MakeTask(contact);
        if (!InsertTaskInOrder(watchTasks, task))
            delete task;
        return;
    }
    ScheduleContactCheck(contact, 0);
}

uint16_t MissionRecord::ClassifyContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr || contact->GetTypeFlags() == 0 || !IsContactInReach(contact, scanned))
        return 0;
    const uint32_t c = contact->GetTypeFlags();
    if (contact->sideId == 0) {
        if ((c & CLASS_MISSILE) != 0 && contact->bandFlag == 0) {
            if (IsStrikeWorthy(*contact, creationKind))
                return ENGAGE;
            return IsLaunched(contact) ? WATCH : 0;
        }
        if ((c & CLASS_TORPEDO) == 0)
            return contact->hostileAct != 0 && contact->bandFlag == 0 && IsPlainContact(contact) ? ENGAGE : 0;
        return IsLaunched(contact) ? WATCH : 0;
    }
    if (side == nullptr || side->GetRelation(contact->sideId) != RELATION_HOSTILE)
        return 0;
    if ((c & CLASS_MISSILE) != 0) {
        if (contact->bandFlag != 0)
            return 0;
        if (IsStrikeWorthy(*contact, creationKind))
            return ENGAGE;
        return IsLaunched(contact) ? WATCH : 0;
    }
    if ((c & CLASS_TORPEDO) == 0)
        return IsPlainContact(contact) ? ENGAGE : 0;
    return IsLaunched(contact) ? WATCH : 0;
}

bool MissionRecord::IsContactInReach(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr || (contact->conditionBits & STATUS_LOST) != 0)
        return false;
    const uint32_t c = contact->GetTypeFlags();
    if (scanned != nullptr && scanned == gam2arena::GetCurrentSide() && side != nullptr &&
        side->GetID() == Game2UI2::GetCurrentSideID() && (c & CLASS_PLAYER_REACH) == 0)
        return false;
    LatLonPoint where;
    contact->GetPosition(where);
    const bool trackable = (c & CLASS_PLAYER_REACH) != 0 && (contact->knownBits & ContactKnown::COURSE) != 0;
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
        if (unit == nullptr)
            continue;
        const NavVector v = NavMath::Get_Vector(unit->GetPosition(), where);
        if (static_cast<uint32_t>(v.range) <= GetUnitReach(unit, c & ~CLASS_IGNORED))
            return true;
        if (trackable && IsOnContactCourse(v.bearing, *contact))
            return true;
    }
    return false;
}

MissionTask* MissionRecord::MakeTask(Contact* contact)
{
    if (contact == nullptr)
        return nullptr;
    const uint32_t c = contact->GetTypeFlags();
    auto* const task = new MissionTask(contact->GetKey());
    if ((c & CLASS_MISSILE) != 0 || (c & CLASS_TORPEDO) != 0)
        task->priority = 100;
    else if ((c & CLASS_AIR) != 0)
        task->priority = 90;
    else if (((c & ~CLASS_IGNORED) & targetClasses) != 0)
        task->priority = 80;
    else
        task->priority = 10;
    FillTaskEstimate(task, contact, c & ~CLASS_IGNORED);
    return task;
}

void MissionRecord::FillTaskEstimate(MissionTask* task, Contact* contact, uint32_t targetClass)
{
    if (task == nullptr || contact == nullptr)
        return;
    task->allocatedCount = contact->threat[0];
    task->allocatedValue = contact->threat[1];
    if (contact->identifiedAs != 0) {
        const Unit* const unit = gam2arena::FindUnit(contact->GetKey());
        if (unit == nullptr)
            return;
        task->needCount = unit->GetStrengthEstimateLow();
        task->needValue = unit->GetStrengthEstimateHigh();
        return;
    }
    const Estimate e = EstimateOf(targetClass, contact->sizeClass);
    task->needCount = e.low;
    task->needValue = e.high;
}

void MissionRecord::ScheduleContactCheck(Contact* contact, uint16_t code)
{
    if (contact == nullptr)
        return;
    const uint32_t c = contact->GetTypeFlags() & ~CLASS_IGNORED;
    uint32_t seconds = 0;
    if (code == 0) {
        if (contact->sideId != 0 && side != nullptr && side->GetRelation(contact->sideId) == RELATION_FRIENDLY)
            seconds = 3600;
        else if (c == CLASS_AIR)
            seconds = 60;
        else if (c == CLASS_MISSILE)
            seconds = 5;
        else if (c == CLASS_TORPEDO)
            seconds = 120;
        else
            seconds = 300;
    } else if (code == ENGAGE || code == WATCH) {
        seconds = c == CLASS_AIR ? 15 : c == CLASS_MISSILE ? 1 : 120;
    } else {
        return;
    }
    contact->SetFirstDetection(seconds);
}

void MissionRecord::ReactToTasks(SideContacts* scanned)
{
    if (scanned == nullptr)
        return;
    for (MissionTask* task = engageTasks.First(); task != nullptr; task = task->GetNext()) {
        Contact* const contact = scanned->GetContact(task->targetID);
        if (contact == nullptr)
            continue;
        const uint32_t c = contact->GetTypeFlags();
        for (MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
            const int16_t s = r->state;
            if (s == MissionUnitState::ORDERED || s == MissionUnitState::ON_DUTY || s == MissionUnitState::DONE ||
                s == MissionUnitState::WAITING)
                continue;
            if (scanned->ownUnits.Find(r->GetUnitID()) == nullptr)
                continue;
            Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
            if (unit == nullptr)
                continue;
            const char letter = unit->GetTypeLetter();
            const bool fits = (letter == 'P' && (c & CLASS_MISSILE) != 0) ||
                              ((letter == 'S' || letter == 'U') && (c & CLASS_TORPEDO) != 0) ||
                              (letter == 'U' && (c & CLASS_MISSILE) != 0 && unit->GetAltitude() == 0);
            if (fits)
                EngageIfInReach(r, unit, contact, REACT_RANGE);
        }
    }
}

bool MissionRecord::EngageIfInReach(MissionUnitRec* record, Unit* unit, Contact* contact, int32_t distance)
{
    if (record == nullptr || unit == nullptr || contact == nullptr)
        return false;
    LatLonPoint where;
    contact->GetPosition(where);
    const NavVector v = NavMath::Get_Vector(unit->GetPosition(), where);
    bool accepted = false;
    if (v.range < distance &&
        ((contact->knownBits & ContactKnown::COURSE) == 0 || IsOnContactCourse(v.bearing, *contact))) {
        accepted = unit->EvadeThreat(*contact);
        if (accepted) {
            record->SetState(MissionUnitState::ORDERED, contact->GetKey(), contact->GetTypeFlags());
            record->markBits = 0;
            SetUnitPosture(record->GetUnitID(), record);
        }
    }
    if (record->leaderID != 0)
        gam2side::NotifyParentUnit(record->GetUnitID(), static_cast<uint8_t>(accepted ? 1 : 0));
    return accepted;
}

void MissionRecord::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (record == nullptr || (missionFlags & MissionFlag::DELAYED_START) != 0 || record->markBits != 0)
        return;
    if (record->state == MissionUnitState::ENGAGING) {
        PostSensorSetting(unitID, SENSORS_MODE_ON, POSTURE_ENGAGING, 0, 0, 0, 0);
    } else if (record->state == MissionUnitState::ON_DUTY || record->state == MissionUnitState::ORDERED) {
        const Unit* const unit = gam2arena::FindUnit(unitID);
        if (unit == nullptr)
            return;
        if (!IsLetterOf(unit, 'P', 'A'))
            PostSensorSetting(unitID, SENSORS_MODE_ON, POSTURE_ON_DUTY, 0, 0, 0, 0);
    }
    record->markBits = UNIT_POSTURE_APPLIED;
}

void MissionRecord::OnEngageResult(uint16_t unitID, uint8_t clearMark, Contact* contact, uint8_t done)
{
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr)
        return;
    if (clearMark != 0)
        record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
    const bool counts = done != 0 && IsLetterOf(unit, 'P', 'A');
    if ((record->state == MissionUnitState::ADDED || record->state == MissionUnitState::IDLE) && !counts) {
        const uint16_t targetID = contact != nullptr ? contact->GetKey() : 0;
        const uint32_t targetClass = contact != nullptr ? contact->GetTypeFlags() : 0;
        record->ChangeState(MissionUnitState::ENGAGING, targetID, targetClass);
        SetAircraftPosture(unit, targetClass);
        SetUnitPosture(unitID, record);
    } else if (record->state != MissionUnitState::ADDED && record->state != MissionUnitState::IDLE &&
               record->isFormation == 0) {
        SetUnitPosture(unitID, record);
    }
}

bool MissionRecord::IsFirmContact(const Contact* contact)
{
    if (contact == nullptr)
        return false;
    if ((contact->GetTypeFlags() & CLASS_TORPEDO) != 0)
        return true;
    return contact->GetArea() == nullptr || (contact->knownBits & (TRACK_PLOTTED | TRACK_FIRM)) != 0;
}
