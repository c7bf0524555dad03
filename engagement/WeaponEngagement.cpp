// WeaponEngagement.cpp: whether a weapon record can engage a target from a
// firing unit (CanEngage: yes or no), and the engagement entry that lists
// every reason still standing against the shot (BuildEngagement), kept
// unless the caller rejects one of them. Both walk the same tests: shots,
// target class, incoming weapons, decoys, the mount's guidance, the
// solution and range, bomb drop, the firing unit's launch limits and the
// presence of a target.
#include <algorithm>
#include <cmath>

#include "annex/AnnexTables.h"
#include "annex/TimedRecord.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/NavMath.h"
#include "core/gam2arena.h"
#include "engagement/Intercept.h"
#include "engagement/WeaponFireCalls.h"
#include "units/Mount.h"
#include "units/Unit.h"
#include "units/Weapon.h"
#include "world/Nav2Game.h"

namespace {
constexpr uint32_t AIR_CLASSES = 0xC;
constexpr uint32_t SURFACE_AND_SUB_CLASSES = 0x7C3;
constexpr uint32_t MISSILE_CLASS = 8;
constexpr uint32_t TORPEDO_CLASS = 0x800;
constexpr uint32_t NEEDS_GUIDANCE = 0x2001;
constexpr uint32_t FIRES_WITHOUT_TARGET = 0x20000;
constexpr uint32_t TIMED_KINDS = 0x6E;
constexpr int32_t UNITS_PER_TENTH = 409;
constexpr int32_t NO_RANGE = 999999;
constexpr int32_t LEAST_DROP = 20;
constexpr uint16_t REJECT_EMPTY = 0x1;
constexpr uint16_t REJECT_WRONG_TARGET = 0x2;
constexpr int16_t TORPEDO_POINT_TYPE = 4;

// What both checks work from.
struct Scene {
    WeaponAnnex* weapon = nullptr;
    Unit* firing = nullptr;
    Unit* target = nullptr;
    int16_t targetAltitude = 0;
    int32_t bonus = 0;        // a plane's range bonus, tenths of a nautical mile
    bool solved = false;      // a range R was found
    int32_t range = NO_RANGE;
    uint32_t timeFigure = 0;
    uint16_t speedUsed = 0;
};

Scene MakeScene(uint16_t weaponID, uint16_t firingID, uint16_t targetID)
{
    Scene scene;
    scene.weapon = Annex::FindWeapon(weaponID);
    if (scene.weapon != nullptr && !scene.weapon->prepared)
        scene.weapon->PrepareFlight();
    scene.firing = gam2arena::FindUnit(firingID);
    scene.target = targetID != 0 ? gam2arena::FindUnit(targetID) : nullptr;
    scene.targetAltitude = scene.target != nullptr ? scene.target->GetAltitude() : int16_t{0};
    if (scene.weapon != nullptr && scene.weapon->maxRange < 100 && scene.firing != nullptr
        && scene.firing->GetTypeLetter() == 'P') {
        const int32_t step = std::min<int32_t>(15, WeaponFire::GetArenaStateWord());
        scene.bonus = scene.firing->speed * step / 360;
    }
    return scene;
}

// Step 2: the target classes the weapon takes on.
bool TargetClassAccepted(const WeaponAnnex& weapon, uint32_t mask)
{
    if ((weapon.GetTargetMask() & mask) == 0)
        return false;
    if (weapon.GetTargetMask() != DECOY_TARGET_MASK)
        return true;
    return (weapon.surfaceChance != 0 && (mask & SURFACE_AND_SUB_CLASSES) != 0)
           || (weapon.airChance != 0 && (mask & AIR_CLASSES) != 0);
}

// Step 3: an incoming weapon that may not be engaged: one searching with
// its seeker but locked on nothing (flags), and one whose own target is in
// the air (airborne) or an air unit (class 4 or 8): it is not coming at
// the defender.
struct IncomingRule {
    bool flagged = false;
    bool airborneTarget = false;
    bool airTarget = false;
};

IncomingRule CheckIncoming(const Scene& scene, uint32_t mask)
{
    IncomingRule rule;
    if ((mask & MISSILE_CLASS) == 0 || scene.target == nullptr
        || scene.target->GetTypeLetter() != Weapon::TYPE_LETTER)
        return rule;
    const auto* incoming = dynamic_cast<const Weapon*>(scene.target);
    if (incoming == nullptr)
        return rule;
    rule.flagged = incoming->targetLocked == 0 && incoming->seekerActive != 0;
    if (const Unit* aimedAt = incoming->targetID != 0 ? gam2arena::FindUnit(incoming->targetID) : nullptr) {
        const int16_t altitude = aimedAt->GetAltitude();
        rule.airborneTarget = altitude > 0 && Nav2Game::GetAltitudeAt(aimedAt->GetPosition()) < altitude;
        rule.airTarget = (aimedAt->GetTargetMask() & AIR_CLASSES) != 0;
    }
    return rule;
}

// Step 4: a decoy takes on what its chances cover.
bool DecoyAccepted(const WeaponAnnex& weapon, uint16_t targetID, uint32_t mask)
{
    if (targetID == 0)
        return true;
    return ((mask & MISSILE_CLASS) != 0 && (weapon.airChance != 0 || weapon.airChanceLong != 0))
           || ((mask & TORPEDO_CLASS) != 0 && weapon.surfaceChance != 0);
}

// Step 7: the range to the target or the intercept point; sets solved,
// range, timeFigure and speedUsed.
void Solve(Scene& scene, const NavVector& toTarget, const LatLonPoint& targetPosition, int32_t course,
           uint16_t speed, LatLonPoint* aim)
{
    const WeaponAnnex& weapon = *scene.weapon;
    if (!weapon.guided) {
        scene.solved = true;
        scene.range = toTarget.range / UNITS_PER_TENTH;
        if ((weapon.GetWeaponKind() & TIMED_KINDS) != 0)
            scene.timeFigure = static_cast<uint32_t>(toTarget.range / 2048);
        return;
    }
    if (scene.firing == nullptr)
        return;
    const LatLonPoint from = scene.firing->GetPosition();
    auto tryAt = [&](uint16_t weaponSpeed, uint32_t limit) {
        int32_t outCourse = 0;
        int32_t time = 0;
        LatLonPoint point = targetPosition;
        if (weaponSpeed == 0 || !ComputeIntercept(targetPosition, course, speed, from, &outCourse, weaponSpeed,
                                                  &time, &point))
            return false;
        if (time < 0 || static_cast<uint32_t>(time) > limit)
            return false;
        scene.solved = true;
        scene.timeFigure = static_cast<uint32_t>(time);
        scene.speedUsed = weaponSpeed;
        scene.range = NavMath::Get_Vector(from, point).range / UNITS_PER_TENTH;
        if (aim != nullptr)
            *aim = point;
        return true;
    };
    if (weapon.hasSprint && tryAt(weapon.GetSprintSpeedAt(scene.targetAltitude), weapon.sprintLimit))
        return;
    tryAt(weapon.GetCruiseSpeedAt(scene.targetAltitude), weapon.cruiseLimit);
}

// Step 9: the range (tenths) a bomb dropped from the firing unit carries.
int32_t DropRange(const Scene& scene)
{
    const auto drop = static_cast<int16_t>(scene.firing->GetAltitude() - scene.targetAltitude);
    if (drop < 0)
        return LEAST_DROP;
    const auto fall = static_cast<int32_t>(std::sqrt(2.0 * drop));
    return std::max(LEAST_DROP, scene.firing->speed * fall / 480);
}

// Step 10: the reason bits of the firing unit's launch limits (0 when it
// may launch).
uint16_t LaunchLimitBits(const WeaponAnnex& weapon, const Unit& firing)
{
    uint16_t bits = 0;
    const int16_t altitude = firing.GetAltitude();
    if (weapon.maxLaunchAltitude != 0 && altitude > weapon.maxLaunchAltitude)
        bits |= ATTACK_ALTITUDE_TOO_HIGH;
    if (altitude < weapon.minLaunchAltitude)
        bits |= ATTACK_ALTITUDE_TOO_LOW;
    if (weapon.maxLaunchSpeed != 0 && firing.speed > weapon.maxLaunchSpeed)
        bits |= ATTACK_SPEED_TOO_HIGH;
    if (firing.speed < weapon.minLaunchSpeed)
        bits |= ATTACK_SPEED_TOO_LOW;
    return bits;
}
}  // namespace

bool WeaponRec::CanEngage(uint32_t targetMask, const NavVector& toTarget, const TimedRecord& request,
                          int32_t targetCourse, uint16_t targetSpeed, Mount& mount)
{
    Scene scene = MakeScene(weaponID, request.idA, request.idD);
    if (scene.weapon == nullptr || shotsLeft == 0)
        return false;
    const WeaponAnnex& weapon = *scene.weapon;
    bool accepted = TargetClassAccepted(weapon, targetMask);
    const IncomingRule incoming = CheckIncoming(scene, targetMask);
    if (incoming.flagged || incoming.airborneTarget)
        return false;
    if (!accepted && weapon.GetWeaponKind() == WEAPON_KIND_DECOY)
        accepted = DecoyAccepted(weapon, request.idD, targetMask);
    if (!accepted)
        return false;
    bool ability = true;
    bool inRange = true;
    uint16_t guideMount = 0;
    uint16_t guideSensor = 0;
    if (!mount.FindGuidance(request.idD, weapon, 0, guideMount, guideSensor, 0, 0))
        ability = false;
    Solve(scene, toTarget, request.position, targetCourse, targetSpeed, nullptr);
    if (!scene.solved)
        ability = false;
    const int32_t reach = static_cast<int32_t>(weapon.maxRange) + scene.bonus;
    if (scene.range > reach || scene.range < weapon.minRange)
        inRange = false;
    if (weapon.GetWeaponKind() == WEAPON_KIND_BOMB && scene.firing != nullptr && ability) {
        if (scene.range > DropRange(scene) + scene.bonus)
            return false;
        inRange = true;
    }
    if (scene.firing == nullptr)
        return false;
    if ((ability || inRange)
        && (LaunchLimitBits(weapon, *scene.firing) != 0
            || (scene.target == nullptr && (weapon.weaponFlags & FIRES_WITHOUT_TARGET) == 0)))
        return false;
    return ability && inRange;
}

bool WeaponRec::CopyEngagement(Chain<TimedRecord>& chain, uint16_t firingID, uint16_t targetID, Mount& mount,
                               uint16_t rejectMask)
{
    if ((rejectMask & REJECT_EMPTY) != 0 && shotsLeft == 0)
        return true;
    for (TimedRecord* entry = chain.First(); entry != nullptr; entry = entry->GetNext()) {
        if (entry->idA == firingID && entry->idD == targetID && entry->weaponID == weaponID) {
            auto* copy = new TimedRecord(*entry);
            copy->weaponRecKey = GetKey();
            copy->mountKey = mount.GetKey();
            copy->quantity = static_cast<uint8_t>(shotsLeft);
            chain.Append(copy);
            return true;
        }
    }
    return false;
}

void WeaponRec::BuildEngagement(uint32_t targetMask, const NavVector& toTarget, Chain<TimedRecord>& chain,
                                Mount& mount, uint16_t firingID, uint16_t targetID, int32_t targetCourse,
                                uint16_t targetSpeed, const LatLonPoint& targetPosition, uint16_t rejectMask)
{
    if (CopyEngagement(chain, firingID, targetID, mount, rejectMask))
        return;
    Scene scene = MakeScene(weaponID, firingID, targetID);
    if (scene.weapon == nullptr)
        return;
    const WeaponAnnex& weapon = *scene.weapon;
    uint16_t bits = ATTACK_ALL_REASONS;
    if (shotsLeft != 0)
        bits &= static_cast<uint16_t>(~ATTACK_NO_AMMO);
    else if ((rejectMask & REJECT_EMPTY) != 0)
        return;
    if (TargetClassAccepted(weapon, targetMask))
        bits &= static_cast<uint16_t>(~ATTACK_NOT_CAPABLE);
    const IncomingRule incoming = CheckIncoming(scene, targetMask);
    if (incoming.flagged || incoming.airTarget) {
        bits |= ATTACK_NOT_CAPABLE;
        if ((rejectMask & REJECT_WRONG_TARGET) != 0)
            return;
    }
    if (weapon.GetWeaponKind() == WEAPON_KIND_DECOY) {
        if (DecoyAccepted(weapon, targetID, targetMask))
            bits &= static_cast<uint16_t>(~ATTACK_NOT_CAPABLE);
        if ((bits & ATTACK_NOT_CAPABLE) != 0 && (rejectMask & REJECT_WRONG_TARGET) != 0)
            return;
    }
    bits &= static_cast<uint16_t>(~ATTACK_CANNOT_ACQUIRE);
    if (!weapon.HasNuclearWarhead() || GetWeaponFireSettings().useNukes)
        bits &= static_cast<uint16_t>(~ATTACK_NO_NUCLEAR_RELEASE);

    auto entry = new TimedRecord;
    uint16_t guideMount = 0;
    uint16_t guideSensor = 0;
    if (mount.FindGuidance(targetID, weapon, 0, guideMount, guideSensor, 0, 0)) {
        bits &= static_cast<uint16_t>(~ATTACK_NOT_ILLUMINATED);
        if ((weapon.weaponFlags & NEEDS_GUIDANCE) != 0)
            entry->idB = firingID;
    }
    LatLonPoint aim = targetPosition;
    Solve(scene, toTarget, targetPosition, targetCourse, targetSpeed, nullptr);
    const int32_t reach = static_cast<int32_t>(weapon.maxRange) + scene.bonus;
    if (scene.range <= reach)
        bits &= static_cast<uint16_t>(~ATTACK_OUT_OF_RANGE);
    if (scene.range >= weapon.minRange)
        bits &= static_cast<uint16_t>(~ATTACK_TOO_CLOSE);
    if (weapon.GetWeaponKind() == WEAPON_KIND_BOMB && scene.firing != nullptr
        && scene.range <= DropRange(scene) + scene.bonus)
        bits &= static_cast<uint16_t>(~ATTACK_OUT_OF_RANGE);
    if (scene.firing != nullptr)
        bits &= static_cast<uint16_t>(~(ATTACK_ALTITUDE_TOO_HIGH | ATTACK_ALTITUDE_TOO_LOW | ATTACK_SPEED_TOO_HIGH
                                        | ATTACK_SPEED_TOO_LOW)
                                      | LaunchLimitBits(weapon, *scene.firing));
    if (scene.target != nullptr || (weapon.weaponFlags & FIRES_WITHOUT_TARGET) != 0)
        bits &= static_cast<uint16_t>(~ATTACK_NOT_BOL_CAPABLE);
    if (weapon.GetWeaponKind() != WEAPON_KIND_TORPEDO
        || (scene.firing != nullptr
            && WeaponFire::PointValidForType(scene.firing->GetPosition(), TORPEDO_POINT_TYPE)))
        bits &= static_cast<uint16_t>(~ATTACK_BAD_LOCATION);
    if ((bits & rejectMask) != 0) {
        delete entry;
        return;
    }
    entry->firstTime = GameTime(scene.timeFigure);
    entry->idA = firingID;
    entry->idD = targetID;
    entry->position = aim;
    entry->mountKey = mount.GetKey();
    entry->weaponRecKey = GetKey();
    entry->weaponID = weaponID;
    entry->quantity = static_cast<uint8_t>(shotsLeft);
    entry->resultBits = bits;
    entry->value16 = weapon.GetDamagePoints();
    entry->weaponKind = weapon.GetWeaponKind();
    entry->value16b = scene.speedUsed;
    chain.Append(entry);
}
