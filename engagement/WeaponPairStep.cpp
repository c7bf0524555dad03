// WeaponPairStep.cpp: a weapon meets another unit: a straight-running
// torpedo may run into it, a homing torpedo turns into its wake, and an
// active seeker tries to detect it with the weapon's own sensors, locks on
// its target or keeps the best other detection for the next weapon step.
#include <algorithm>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/DBEnum.h"
#include "annex/SensorAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/Decibel.h"
#include "engagement/SideContacts.h"
#include "engagement/UnitDetection.h"
#include "engagement/WeaponFireCalls.h"
#include "engagement/WeaponRun.h"
#include "units/UnitEvents.h"
#include "units/Weapon.h"

namespace {
constexpr uint32_t HOMING_TORPEDO = 0x40000;
constexpr uint32_t STRAIGHT_RUNNING = 0x80000;
constexpr uint32_t WEAPON_CLASS = 0x8;      // the target class of a missile in flight
constexpr uint32_t HOMES_ON_EMITTER = 0x1000;
constexpr uint32_t GUIDED_BY_LAUNCHER = 0x2001;
constexpr uint32_t TERRAIN_FOLLOWING = 0x0008;
constexpr uint32_t ACTIVE_BANDS = 0xFFF;
constexpr int32_t HIT_ROLL = 30;
constexpr int32_t SECTOR_ANGLE = 45 * ANGLE_PER_DEGREE;
constexpr uint16_t ALTERNATE_CACHES = 0x100;
constexpr int32_t LOST_SEEKER_TEXT = 0x7B0238;
constexpr int16_t NO_LEVEL = -32767;
const char* const STARS = "**********************************";
const char* const CLOSING = "********************";

// The lines of one meeting, kept only while the verbose option and a log are on.
class SeekerLog {
public:
    SeekerLog()
        : on_(GetWeaponRunSettings().verboseWeaponDetection
              && (GetWeaponRunSettings().attackResolution || GetWeaponFireSettings().aaLog))
    {
    }
    bool On() const { return on_; }
    void Line(const std::string& text)
    {
        if (on_) {
            text_ += text;
            text_ += '\n';
        }
    }
    void Flush()
    {
        if (text_.empty())
            return;
        text_ += CLOSING;
        text_ += '\n';
        if (GetWeaponRunSettings().attackResolution)
            WeaponRun::PostMessage(text_);
        else
            WeaponRun::AddToAALog(text_);
    }

private:
    bool on_;
    // A plain string: the seeker meets every unit in play, and a stream
    // set up per meeting cost more than the meeting itself.
    std::string text_;
};

std::string SensorName(const Sensor& sensor)
{
    const SensorAnnex* record =
        Annex::Tables().Sensors() != nullptr ? Annex::Tables().Sensors()->Find(sensor.GetSensorID()) : nullptr;
    return record != nullptr ? record->name.Text() : "Unknown";
}

std::string SensorTypeName(const Sensor& sensor)
{
    char name[DBEnum::NAME_SIZE] = {};
    DBEnum::GetSensorTypeName(sensor.GetSensorType(), name);
    return name[0] != 0 ? name : "Unknown Type";
}

uint16_t ReachFor(const Weapon& weapon, const Unit& other)
{
    const bool alternate = (other.GetStateFlags() & ALTERNATE_CACHES) != 0;
    const uint16_t reach6 = alternate ? weapon.searchReachAlt6 : weapon.searchReach6;
    const uint16_t reach1 = alternate ? weapon.searchReachAlt1 : weapon.searchReach1;
    const uint16_t reach8 = alternate ? weapon.searchReachAlt8 : weapon.searchReach8;
    const uint16_t band = other.GetAltitudeBand();
    if (band >= 8)
        return reach6;
    if (band >= 5)
        return reach1;
    if (int32_t{other.GetAltitude()} + other.PositionObject::GetAltitude() < 1)
        return reach8;
    return std::max(reach1, reach8);
}

// A torpedo running straight at `range` from the other: within a tenth of a
// mile and in front, it rolls for a hit. Answers whether it hit.
bool RunStraight(Weapon& weapon, Unit& other, const NavVector& vector, SeekerLog& log)
{
    log.Line(STARS);
    log.Line("* Straight Running Torpedo");
    if (log.On())
        log.Line("* Target Range = " + std::to_string(vector.range / RANGE_PER_NM) + "."
                 + std::to_string(static_cast<uint32_t>(vector.range % RANGE_PER_NM) / 409u));
    bool hit = false;
    if (vector.range <= WeaponRun::STRAIGHT_RUN_REACH) {
        log.Line("* target within .1NM");
        if (WeaponRun::InFront(weapon.GetPosition(), weapon.course, vector.bearing)) {
            log.Line("* Target in front of Torpedo");
            if (gam2arena::Random(100) < HIT_ROLL) {
                log.Line("* Hit target");
                weapon.seekerActive = 0;
                weapon.ResolveImpact(other);
                weapon.ScheduleDeletion(0);
                hit = true;
            } else {
                log.Line("* Missed target");
            }
        } else {
            log.Line("* Target behind Torpedo");
        }
    }
    log.Line(STARS);
    return hit;
}

}  // namespace

// The steps of one meeting: the seeker's and the sonobuoy's early answers;
// the jamming entry of the other; the target class with the torpedo rules;
// the reach; the data link to the attached unit; then the seeker's sensors
// and what their detection steers.
bool WeaponRun::PairStep(Weapon& weapon, Unit& other)
{
    if (weapon.seekerActive == 0 && other.GetID() != weapon.attachedID)
        return false;
    if ((weapon.GetStateFlags() & SimObject::SYMBOL_KIND_MASK) == Weapon::SURFACE_CLASS_CODE) {
        if (weapon.sideEntryID != 0)
            weapon.Unit::DetectUnit(other);
        if (weapon.attachedID == 0)
            weapon.ScheduleDeletion(0);
        return false;
    }
    SeekerLog log;
    bool skip = weapon.seekerActive == 0 || weapon.sensors.First() == nullptr
                || (weapon.targetLocked != 0 && other.GetID() != weapon.targetID);
    SideContacts* const side = weapon.sideEntryID != 0 ? gam2arena::FindSide(weapon.sideEntryID) : nullptr;
    const bool sameRecord = side != nullptr && weapon.sideEntryID == other.sideEntryID;
    NavVector vector;
    bool measured = false;
    auto measure = [&]() {
        if (!measured)
            vector = NavMath::Get_Vector(weapon.GetPosition(), other.GetPosition());
        measured = true;
    };
    if (SignatureRecord* old = weapon.JammingEntries().Find(other.GetID())) {
        weapon.JammingEntries().Remove(old);
        delete old;
    }
    if (weapon.TestFlags(UnitFlag::KEEPS_JAMMING) && weapon.GetSideID() != other.GetSideID() && !sameRecord) {
        measure();
        if (SignatureRecord* entry = other.BuildJammingEntry(vector))
            weapon.JammingEntries().Insert(entry);
    }
    const uint32_t attackMask = weapon.attackMask;
    if ((other.GetTargetMask() & attackMask) == 0) {
        if (!((attackMask & 0x10) != 0 && other.GetBandReach(ACTIVE_BANDS) != 0))
            skip = true;
    } else {
        if ((other.GetTargetMask() & WEAPON_CLASS) != 0) {
            if (auto* missile = dynamic_cast<Weapon*>(&other);
                missile != nullptr && (missile->airHitModifier != 0 || missile->fourthHitValue != 0)) {
                const Unit* its = gam2arena::FindUnit(missile->targetID);
                if ((missile->surfaceHitChance == 0 && missile->secondHitValue == 0)
                    || (its != nullptr && its->PositionObject::GetAltitude() > 0))
                    skip = true;
            }
        }
        if ((weapon.weaponFlags & STRAIGHT_RUNNING) == 0) {
            if (weapon.targetLocked == 0 && (weapon.weaponFlags & HOMING_TORPEDO) != 0) {
                measure();
                if (vector.range / RANGE_PER_NM <= other.speed / 2
                    && InWake(weapon.GetPosition(), vector.bearing, other.GetCourse())) {
                    weapon.course = vector.bearing;
                    weapon.ClearPath();
                }
            }
        } else {
            measure();
            RunStraight(weapon, other, vector, log);
        }
    }
    if (!skip) {
        measure();
        if (vector.range / RANGE_PER_NM > ReachFor(weapon, other))
            skip = true;
    }
    if (skip || sameRecord) {
        if (sameRecord && other.GetID() == weapon.attachedID && weapon.datalinks.First() != nullptr) {
            DatalinkRecord* const link = weapon.datalinks.First();
            const int32_t range = vector.range / RANGE_PER_NM;
            const uint8_t sight = skip ? weapon.HasTerrainLineOfSight(other) : uint8_t{0};
            if (!link->CheckLink(weapon, other, range, sight, 0, 0) && !link->Connect(weapon, other, range, sight, 0, 0)) {
                side->RemoveUnit(weapon.GetID());
                weapon.sideEntryID = 0;
                weapon.attachedID = 0;
                link->SetState(5);
                if (weapon.sensors.First() == nullptr) {
                    weapon.ClearTarget(weapon.targetID);
                    weapon.ScheduleDeletion(0);
                }
            }
        }
        log.Flush();
        return false;
    }

    // The seeker's look.
    measure();
    // The real angle may run to a full circle either way: folded into one
    // turn, it names one of the eight sectors.
    int64_t relative = NavMath::Real_Angle_Between(weapon.GetPosition(), weapon.course, vector.bearing) % ANGLE_FULL;
    if (relative < 0)
        relative += ANGLE_FULL;
    int sector = static_cast<int>(relative / SECTOR_ANGLE);
    if (sector > 3)
        sector = 11 - sector;
    const uint16_t sectorBit = static_cast<uint16_t>(1u << sector);
    const int aspect = AspectClass(other.GetCourse(), vector.bearing);
    const int32_t rangeNm = vector.range / RANGE_PER_NM;
    const bool withinHorizon = rangeNm <= int32_t{other.GetHorizon()} + weapon.GetHorizon();
    const bool submerged = weapon.PositionObject::GetAltitude() < 0 || other.PositionObject::GetAltitude() < 0;
    const bool airborne = weapon.PositionObject::GetAltitude() > 2 || other.PositionObject::GetAltitude() > 2;
    uint8_t sight = 0;
    if (withinHorizon) {
        sight = other.GetTypeLetter() == 'F' ? weapon.LineOfSightToFacility(other) : weapon.LineOfSightTo(other);
        if ((sight != 0 && submerged) || (sight == 0 && airborne))
            sight = weapon.HasTerrainLineOfSight(other);
    } else if (submerged && !airborne) {
        sight = weapon.HasTerrainLineOfSight(other);
    }
    Contact* found = nullptr;
    for (Sensor* sensor = weapon.sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if ((sensor->targetClasses & sectorBit) == 0 && weapon.targetLocked == 0)
            continue;
        if (log.On()) {
            log.Line(CLOSING);
            log.Line("* Weapon Name:  " + std::string(weapon.GetName().Text()) + "  (Weapon ID = "
                     + std::to_string(weapon.GetID()) + " )");
            log.Line("* Sensor Name:  " + SensorName(*sensor));
            log.Line("* Sensor Type: " + SensorTypeName(*sensor));
            log.Line("* Target Name: " + std::string(other.GetName().Text()) + "  (Target ID = "
                     + std::to_string(other.GetID()) + " )");
            log.Line((sensor->targetClasses & sectorBit) != 0 ? "* Target In Arc"
                                                               : "* Target not in Arc, but already Acquired");
        }
        Contact* seen = sensor->Detect(weapon, other, vector, aspect, Log10Times100(vector.range) - 34, sight != 0,
                                       withinHorizon, false);
        log.Line(seen == nullptr ? "* Couldn't detect target" : "* Target Detected");
        UnitDetection::Absorb(found, seen);
    }
    const uint16_t id = weapon.GetID();
    if (found != nullptr) {
        const int16_t otherAltitude = other.PositionObject::GetAltitude();
        const bool ofTarget = found->GetKey() == weapon.targetID;
        if (ofTarget) {
            log.Line("* Located the original target, choosing it as current target");
            weapon.targetLocked = 1;
            weapon.seekerTargetID = 0;
            weapon.seekerScore = 0;
            gam2arena::RemoveUnitEvents(id, EventCode::WEAPON_STEP);
            weapon.ClearPath();
            auto* node = new PositionNode(other.GetPosition());
            node->AddEvent(MakeWeaponTargetEvent(weapon));
            weapon.SetPath(node);
        }
        const auto score = static_cast<int16_t>(found->signalValue);
        if (weapon.seekerTargetID == 0 || ofTarget || score > weapon.seekerScore
            || (score == weapon.seekerScore && gam2arena::Random(100) < 50)) {
            weapon.seekerTargetID = found->GetKey();
            weapon.seekerScore = score;
        }
        weapon.launchClock = GameTime(gam2arena::GetGameTime());
        if (weapon.attachedID == 0) {
            delete found;
        } else {
            // The event takes the detection (without the class it is deleted).
            PostOrDrop(MakeContactUpdateEvent(found, weapon.sideEntryID));
        }
        if (weapon.targetID == 0 || weapon.targetLocked == 0) {
            gam2arena::RemoveUnitEvents(id, EventCode::WEAPON_STEP);
            PostOrDrop(MakeWeaponStepEvent(id));
        } else if ((weapon.weaponFlags & TERRAIN_FOLLOWING) == 0 && otherAltitude != weapon.PositionObject::GetAltitude()) {
            gam2arena::RemoveUnitEvents(id, EventCode::SET_ALTITUDE);
            PostOrDrop(MakeSetAltitudeEvent(id, otherAltitude, GameTime(gam2arena::GetGameTime())));
        }
        log.Flush();
        return true;
    }
    if (weapon.sensors.First() != nullptr) {
        if (weapon.targetID != 0 && weapon.targetLocked != 0) {
            weapon.ClearTarget(weapon.targetID);
            PostOrDrop(MakeClearPathEvent(id));
        }
        if ((weapon.weaponFlags & GUIDED_BY_LAUNCHER) != 0) {
            weapon.ClearTarget(weapon.targetID);
            weapon.ScheduleDeletion(0);
            if (WeaponFire::IsContactOfPlayer(id))
                PostMessage(std::string(weapon.GetName().Text()) + Text(LOST_SEEKER_TEXT));
        } else if ((weapon.weaponFlags & HOMES_ON_EMITTER) != 0) {
            int16_t best = NO_LEVEL;
            uint16_t bestKey = 0;
            for (const SignatureRecord* entry = weapon.JammingEntries().First(); entry != nullptr;
                 entry = entry->GetNext()) {
                if (const int16_t level = EmitterLevel(*entry); level > best) {
                    best = level;
                    bestKey = entry->GetKey();
                }
            }
            if (bestKey != 0) {
                gam2arena::RemoveUnitEvents(id, EventCode::WEAPON_STEP);
                PostOrDrop(MakeWeaponStepEvent(id));
            }
        }
    }
    log.Flush();
    return false;
}
