// StrikeContacts.cpp: how a strike sorts the contacts its side shows it
// into targets, threats and contacts to watch, the tasks and priorities it
// makes of them, how soon each is looked at again, how aircraft are given
// to the tasks, the altitudes it flies and the emission settings of its
// units. The attack on the tasks is StrikeAttack.cpp.
#include "missions/StrikeMission.h"

#include "annex/StockEntry.h"
#include "annex/TimedRecord.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/MissionTask.h"
#include "missions/Side.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"

namespace {

// Contact class bits (bit 0x10 is masked off before every comparison).
constexpr uint32_t CLASS_SURFACE = 0x1;
constexpr uint32_t CLASS_SUBSURFACE = 0x2;
constexpr uint32_t CLASS_AIR = 0x4;
constexpr uint32_t CLASS_MISSILE = 0x8;
constexpr uint32_t CLASS_IGNORED = 0x10;
constexpr uint32_t CLASS_TORPEDO = 0x800;
constexpr uint32_t CLASS_TRACKED = CLASS_AIR | CLASS_MISSILE | CLASS_TORPEDO;
// Contact conditionBits: finished as a target; stickyFlags: under a strike.
constexpr uint32_t CONTACT_FINISHED = 0x8;
constexpr uint8_t UNDER_STRIKE = 0x04;

// Verdicts.
constexpr uint16_t IGNORE = 0;
constexpr uint16_t ENGAGE = 1;
constexpr uint16_t ATTACK = 2;
constexpr uint16_t WATCH = 5;

constexpr uint8_t RELATION_HOSTILE = 1;
constexpr uint8_t RELATION_FRIENDLY = 2;

// Task priorities.
constexpr uint16_t PRIORITY_TARGET = 100;
constexpr uint16_t PRIORITY_TORPEDO = 100;
constexpr uint16_t PRIORITY_MISSILE = 90;
constexpr uint16_t PRIORITY_KIND = 70;
constexpr uint16_t PRIORITY_KIND_TRACK = 50;
constexpr uint16_t PRIORITY_AIR = 80;
constexpr uint16_t PRIORITY_AIR_TRACK = 20;
constexpr uint16_t PRIORITY_OTHER = 10;

// Option flags and kind bits as the aircraft assignment reads them.
constexpr uint16_t OPTION_STAYS_FOR_LATER = 0x100;
constexpr uint16_t OPTION_SENSORS_ON = 0x400;
constexpr uint32_t KIND_ONE_AT_A_TIME = 0x10;

// Altitude codes.
constexpr int16_t SURFACE_ALTITUDE = 0;
constexpr int16_t AIR_ALTITUDE = 61;
constexpr int16_t SUBMERGED_ALTITUDE = -2;

// Set-sensors values.
constexpr uint16_t MODE_ACTIVE = 2;
constexpr uint16_t MODE_PASSIVE = 3;
constexpr uint32_t SENSOR_RADAR = 1;
constexpr uint32_t SENSOR_SONAR = 5;
constexpr uint32_t SENSOR_ECM = 7;

constexpr int32_t RANGE_PER_TENTH = 409;

uint32_t ClassOf(const Contact& contact)
{
    return contact.GetTypeFlags() & ~CLASS_IGNORED;
}

bool IsSurfaceLetter(char letter)
{
    return letter == 'S' || letter == 'G' || letter == 'B' || letter == 'F';
}

bool IsAircraftLetter(char letter)
{
    return letter == 'P' || letter == 'A';
}

// The higher of an attack altitude pair when it is set and not below the
// lower one, else the lower.
int16_t PickAltitude(int16_t low, int16_t high)
{
    return high != 0 && high >= low ? high : low;
}

// The altitude of the contact on `contactID` in the unit's contact record;
// `fallback` when the record or the contact is missing.
int16_t ContactAltitude(const Unit& unit, uint16_t contactID, int16_t fallback)
{
    SideContacts* const record = gam2arena::FindSide(unit.sideEntryID);
    const Contact* const contact = record != nullptr ? record->GetContact(contactID) : nullptr;
    return contact != nullptr ? contact->GetAltitude() : fallback;
}

StockEntry* PoolOf(const TimedRecord& option)
{
    return static_cast<StockEntry*>(option.extra);
}

uint16_t Available(const TimedRecord& option)
{
    const StockEntry* const pool = PoolOf(option);
    return pool != nullptr ? pool->count : 0;
}

}  // namespace

void StrikeMission::ConsiderContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr)
        return;
    if (contact->changeBits != 0)
        PrepareUnitsForTarget(contact);
    const uint16_t verdict = ClassifyContact(contact, scanned);
    MissionTaskChain* const chain = verdict == ENGAGE   ? &engageTasks
                                    : verdict == ATTACK ? &keptTasks
                                    : verdict == WATCH  ? &watchTasks
                                                        : nullptr;
    if (chain == nullptr) {
        ScheduleContactCheck(contact, IGNORE);
        return;
    }
    ScheduleContactCheck(contact, verdict);
    MissionTask* const task = MakeTask(contact);
    if (!InsertTaskInOrder(*chain, task))
        delete task;
}

uint16_t StrikeMission::ClassifyContact(Contact* contact, SideContacts* scanned)
{
    if (contact == nullptr || contact->GetTypeFlags() == 0 || !IsContactInReach(contact, scanned))
        return IGNORE;
    const uint32_t c = ClassOf(*contact);
    const auto engageOrWatch = [&] {
        if (IsStrikeWorthy(*contact, creationKind))
            return ENGAGE;
        return IsLaunched(contact) ? WATCH : IGNORE;
    };
    if (contact->sideId != 0) {
        const uint8_t relation = side != nullptr ? side->GetRelation(contact->sideId) : 0;
        if (relation == RELATION_FRIENDLY) {
            contact->hostileAct = 0;
            return IGNORE;
        }
        if (relation != RELATION_HOSTILE)
            return IGNORE;
        const uint16_t key = contact->GetKey();
        if ((lockedTarget != 0 && key == lockedTarget) || targetList.Find(key) != nullptr)
            return IsFirmContact(contact) ? ENGAGE : ATTACK;
        if (contact->bandFlag != 0)
            return IGNORE;
        if ((c & CLASS_MISSILE) != 0)
            return engageOrWatch();
        if ((c & CLASS_TORPEDO) != 0)
            return IsLaunched(contact) ? WATCH : IGNORE;
        return IsFirmContact(contact) ? ENGAGE : IGNORE;
    }
    // No side known.
    if ((c & CLASS_MISSILE) != 0 && contact->bandFlag == 0)
        return engageOrWatch();
    if ((c & CLASS_TORPEDO) != 0)
        return IsLaunched(contact) ? WATCH : IGNORE;
    if (contact->hostileAct != 0 && contact->bandFlag == 0)
        return IsFirmContact(contact) || (c & CLASS_SUBSURFACE) != 0 ? ENGAGE : IGNORE;
    return (c & CLASS_SUBSURFACE) != 0 && contact->bandFlag == 0 ? ENGAGE : IGNORE;
}

bool StrikeMission::IsContactInReach(Contact* contact, SideContacts*)
{
    if (contact == nullptr || (contact->conditionBits & CONTACT_FINISHED) != 0)
        return false;
    const uint16_t key = contact->GetKey();
    if ((lockedTarget != 0 && key == lockedTarget) || targetList.Find(key) != nullptr)
        return true;
    // Another strike is on it.
    if ((contact->stickyFlags & UNDER_STRIKE) != 0)
        return false;
    const uint32_t c = ClassOf(*contact);
    if (targetList.First() == nullptr && (c & targetClasses) != 0)
        return true;
    if ((c & CLASS_TRACKED) == 0)
        return false;
    LatLonPoint where;
    contact->GetPosition(where);
    const bool courseKnown = (contact->knownBits & ContactKnown::COURSE) != 0;
    const int32_t course = int32_t{static_cast<uint16_t>(contact->course % 360)} * ANGLE_PER_DEGREE;
    for (const MissionUnitRec* r = units.First(); r != nullptr; r = r->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(r->GetUnitID());
        if (unit == nullptr)
            continue;
        // Range and bearing from the contact to the unit: in its reach, or
        // the contact heads at it.
        const NavVector v = NavMath::Get_Vector(where, unit->GetPosition());
        if (int64_t{v.range} <= int64_t{unit->GetWeaponReach(c)} * RANGE_PER_TENTH)
            return true;
        if (courseKnown && IsBearingWithin5(v.bearing, course))
            return true;
    }
    return false;
}

MissionTask* StrikeMission::MakeTask(Contact* contact)
{
    if (contact == nullptr)
        return nullptr;
    const uint32_t c = ClassOf(*contact);
    auto* const task = new MissionTask(contact->GetKey());
    if (targetList.Find(contact->GetKey()) != nullptr)
        task->priority = PRIORITY_TARGET;
    else if ((c & CLASS_TORPEDO) != 0)
        task->priority = PRIORITY_TORPEDO;
    else if ((c & CLASS_MISSILE) != 0)
        task->priority = PRIORITY_MISSILE;
    else if ((c & targetClasses) != 0)
        task->priority = IsTrackClass6000(contact) ? PRIORITY_KIND_TRACK : PRIORITY_KIND;
    else if ((c & CLASS_AIR) != 0)
        task->priority = IsTrackClass6000(contact) ? PRIORITY_AIR_TRACK : PRIORITY_AIR;
    else
        task->priority = PRIORITY_OTHER;
    FillTaskEstimate(task, contact, c);
    return task;
}

void StrikeMission::ScheduleContactCheck(Contact* contact, uint16_t code)
{
    if (contact == nullptr)
        return;
    const uint32_t c = ClassOf(*contact);
    uint32_t seconds = 0;
    if (code == ENGAGE || code == WATCH || code == ATTACK) {
        const bool attack = code == ATTACK;
        if (c == CLASS_SURFACE || c == CLASS_SUBSURFACE)
            seconds = 15;
        else if (c == CLASS_AIR)
            seconds = attack ? 15 : 5;
        else if (c == CLASS_MISSILE)
            seconds = 1;
        else if (lockedTarget != 0)
            seconds = attack ? 45 : 15;
        else
            seconds = attack ? 900 : 120;
    } else if (contact->sideId != 0 && side != nullptr && side->GetRelation(contact->sideId) == RELATION_FRIENDLY) {
        seconds = 3600;
    } else {
        seconds = c == CLASS_AIR ? 60 : c == CLASS_MISSILE ? 5 : c == CLASS_TORPEDO ? 120 : 900;
    }
    contact->SetFirstDetection(seconds);
}

bool StrikeMission::IsTaskSatisfied(MissionTask* task, uint32_t targetClass, Unit*)
{
    if (task == nullptr)
        return true;
    if (targetClass == CLASS_SUBSURFACE)
        return task->allocatedCount != 0;
    if (targetClass == CLASS_AIR || targetClass == CLASS_MISSILE)
        return int32_t{task->allocatedCount} >= int32_t{task->needCount} + 2;
    return false;
}

uint32_t StrikeMission::AllocateByValue(MissionTask* task, Contact* contact)
{
    if (task == nullptr)
        return 0;
    uint32_t latest = 0;
    const auto note = [&](const TimedRecord& o) {
        if (o.firstTime.Get() > latest)
            latest = o.firstTime.Get();
    };
    // First pass: each option ready other than one at a time takes every
    // aircraft left in its pool.
    int32_t weight = 0;
    for (TimedRecord* o = timedRecords.First(); o != nullptr; o = o->GetNext()) {
        if (o->idD != task->targetID || (o->weaponKind & ~KIND_ONE_AT_A_TIME) == 0 || Available(*o) == 0)
            continue;
        const uint16_t taken = Available(*o);
        o->quantity = static_cast<uint8_t>(taken > 255 ? 255 : taken);
        PoolOf(*o)->count = 0;
        weight += int32_t{o->value16} * taken;
        task->changed = 1;
        OnEngageResult(o->idA, 0, contact, o->idA == o->idB ? 1 : 0);
        note(*o);
    }
    if (weight > 0) {
        task->allocatedValue = static_cast<uint16_t>(task->allocatedValue + weight);
        return latest;
    }
    // Second pass: one aircraft at a time until the weight wanted is met.
    int32_t sum = 0;
    while (int32_t{task->needValue} - int32_t{task->allocatedValue} - sum > 0) {
        TimedRecord* pick = nullptr;
        for (TimedRecord* o = timedRecords.First(); o != nullptr && pick == nullptr; o = o->GetNext()) {
            if (o->idD == task->targetID && (o->weaponKind & KIND_ONE_AT_A_TIME) != 0 && Available(*o) != 0)
                pick = o;
        }
        if (pick == nullptr)
            break;
        --PoolOf(*pick)->count;
        ++pick->quantity;
        sum += pick->value16;
        task->changed = 1;
        OnEngageResult(pick->idA, 0, contact, 0);
        note(*pick);
    }
    task->allocatedValue = static_cast<uint16_t>(task->allocatedValue + sum);
    return latest;
}

void StrikeMission::KeepTask(MissionTask* task, uint32_t targetClass, Contact* contact)
{
    if (task == nullptr)
        return;
    if (contact == nullptr) {
        delete task;
        return;
    }
    bool staysForLater = false;
    for (const TimedRecord* o = task->options.First(); o != nullptr; o = o->GetNext()) {
        if ((o->resultBits & OPTION_STAYS_FOR_LATER) != 0 && (targetClass & ~CLASS_MISSILE) != 0)
            staysForLater = true;
        if ((o->resultBits & OPTION_SENSORS_ON) != 0) {
            if (MissionUnitRec* const record = units.Find(o->idA)) {
                PostSensorSetting(o->idA, MODE_ACTIVE, SENSOR_RADAR, 0, 0, 0, 0);
                record->markBits |= UNIT_POSTURE_APPLIED;
            }
        }
    }
    const bool keep = task->changed == 0 && contact->bandFlag == 0 &&
                      (task->options.First() == nullptr ||
                       (staysForLater && (contact->stickyFlags & UNDER_STRIKE) == 0));
    if (!keep || !InsertTaskInOrder(keptTasks, task))
        delete task;
}

int16_t StrikeMission::GetPatrolAltitude(Unit* unit, uint16_t)
{
    if (unit == nullptr)
        return 0;
    const char letter = unit->GetTypeLetter();
    if (IsSurfaceLetter(letter))
        return SURFACE_ALTITUDE;
    return IsAircraftLetter(letter) ? AIR_ALTITUDE : SUBMERGED_ALTITUDE;
}

int16_t StrikeMission::GetTaskAltitude(Unit* unit, uint16_t, uint32_t targetClass)
{
    if (unit == nullptr || IsSurfaceLetter(unit->GetTypeLetter()))
        return SURFACE_ALTITUDE;
    int16_t low = 0;
    int16_t high = 0;
    unit->GetAttackAltitudes(targetClass, low, high);
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    if (c == CLASS_AIR || c == CLASS_MISSILE) {
        if (const MissionUnitRec* const record = units.Find(unit->GetID()))
            high = ContactAltitude(*unit, record->targetID, high);
        return PickAltitude(low, high);
    }
    return unit->GetTypeLetter() == 'U' ? SUBMERGED_ALTITUDE : low;
}

int16_t StrikeMission::GetPlaneFigure(PlaneRec* record)
{
    return GetPlaneAltitude(record, nullptr, 0);
}

int16_t StrikeMission::GetPlaneAltitude(PlaneRec* record, PlaneRecRef* reference, uint32_t targetClass)
{
    const Unit* const holder = record != nullptr ? gam2arena::FindUnit(record->unitID) : nullptr;
    if (holder == nullptr)
        return 0;
    int16_t low = 0;
    int16_t high = 0;
    record->GetAltitudeLimits(1, low, high);
    const uint32_t c = targetClass & ~CLASS_IGNORED;
    if (c != CLASS_AIR && c != CLASS_MISSILE)
        return low;
    if (reference != nullptr)
        high = ContactAltitude(*holder, reference->orderTarget, high);
    return PickAltitude(low, high);
}

void StrikeMission::DefaultSettingGroup1()
{
    settingGroup1[0] = 1800;
    settingGroup1[1] = 40;
    settingGroup1[2] = 120;
    settingGroup1[3] = 50;
}

void StrikeMission::DefaultSettingGroup2()
{
    settingGroup2[0] = 600;
    settingGroup2[1] = 50;
    settingGroup2[2] = 120;
    settingGroup2[3] = 50;
}

void StrikeMission::DefaultSettingGroup3()
{
    settingGroup3[0] = 90;
    settingGroup3[1] = 50;
    settingGroup3[2] = 60;
    settingGroup3[3] = 50;
}

namespace {

// The three flags of one sensor class in the mission flag word, and its
// timing group.
struct EmissionBits {
    uint32_t active;
    uint32_t passive;
    uint32_t timed;
};
constexpr EmissionBits RADAR_BITS = {MissionFlag::RADAR_ON, MissionFlag::RADAR_OFF, MissionFlag::RADAR_PERIODIC};
constexpr EmissionBits SONAR_BITS = {MissionFlag::SONAR_ON, MissionFlag::SONAR_OFF, MissionFlag::SONAR_PERIODIC};
constexpr EmissionBits ECM_BITS = {MissionFlag::ECM_ON, MissionFlag::ECM_OFF, MissionFlag::ECM_PERIODIC};

}  // namespace

void StrikeMission::SetUnitPosture(uint16_t unitID, MissionUnitRec* record)
{
    if (record == nullptr || (record->markBits & UNIT_POSTURE_APPLIED) != 0)
        return;
    record->DropSensorEvents();
    if ((missionFlags & StrikeFlag::STARTED) != 0) {
        const auto post = [&](uint32_t sensor, uint16_t mode) { PostSensorSetting(unitID, mode, sensor, 0, 0, 0, 0); };
        // By the flags: active before passive before timed; none, nothing.
        const auto postByFlags = [&](uint32_t sensor, const EmissionBits& bits, const uint16_t* group) {
            if ((missionFlags & bits.active) != 0)
                post(sensor, MODE_ACTIVE);
            else if ((missionFlags & bits.passive) != 0)
                post(sensor, MODE_PASSIVE);
            else if ((missionFlags & bits.timed) != 0)
                PostSensorSetting(unitID, MODE_ACTIVE, sensor, group[0], static_cast<uint8_t>(group[1]), group[2],
                                  static_cast<uint8_t>(group[3]));
        };
        const bool attacking = (missionFlags & StrikeFlag::ATTACKING) != 0;
        const int16_t state = record->state;

        if (state == StrikeState::ASSIGNED)
            post(SENSOR_RADAR, MODE_ACTIVE);
        else if (attacking)
            postByFlags(SENSOR_RADAR, RADAR_BITS, settingGroup1);

        if (state == StrikeState::ASSIGNED || state == StrikeState::CLOSING)
            post(SENSOR_ECM, MODE_ACTIVE);
        else if (attacking)
            postByFlags(SENSOR_ECM, ECM_BITS, settingGroup3);

        // Sonar goes by the flags whether or not an attack is under way.
        const Unit* const unit = gam2arena::FindUnit(unitID);
        if (unit != nullptr && !IsAircraftLetter(unit->GetTypeLetter())) {
            if (state == StrikeState::CLOSING || state == StrikeState::CLOSE_IN)
                post(SENSOR_SONAR, MODE_ACTIVE);
            else if (state == StrikeState::SEARCHING)
                post(SENSOR_SONAR, (missionFlags & MissionFlag::SONAR_ON) != 0 ||
                                           (record->isFormation == 0 && unit->GetPath() != nullptr)
                                       ? MODE_ACTIVE
                                       : MODE_PASSIVE);
            else
                postByFlags(SENSOR_SONAR, SONAR_BITS, settingGroup2);
        }
    }
    record->markBits |= UNIT_POSTURE_APPLIED;
}
