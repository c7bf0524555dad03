// WeaponRun.cpp: the hooks and settings of a weapon's run, its lines, its
// install, and the rules of the flight step, the pair step, the missile
// attack and point defence that need no world.
#include "engagement/WeaponRun.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iterator>

#include "annex/SignatureRecord.h"
#include "core/AfterActionLog.h"
#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/Units.h"
#include "engagement/ContactCalls.h"
#include "engagement/UnitDetection.h"
#include "engagement/WeaponFireCalls.h"
#include "units/Weapon.h"
#include "units/WeaponRunCalls.h"

namespace {
WeaponRunHooks gHooks;
WeaponRunSettings gSettings;

// Search-pattern legs: the leg number sits in the low four bits.
constexpr uint16_t LEG_BITS = 0xF;
constexpr int LEG_SHIFT = 4;
constexpr int32_t FIRST_LEG_SECONDS = 15;
constexpr int32_t SHORTEST_LEG_SECONDS = 30;
constexpr int32_t LONGEST_LEG_SECONDS = 4095;
constexpr int32_t TURN_45 = 45 * ANGLE_PER_DEGREE;   // 11059200
constexpr int32_t TURN_60 = 60 * ANGLE_PER_DEGREE;   // 14745600
constexpr int32_t WAKE_ANGLE = 5 * ANGLE_PER_DEGREE;  // 1228800

// Missile chance figures.
constexpr int32_t AIR_BASE = 30;
constexpr int16_t LOW_TARGET = 4;
constexpr uint32_t NO_LOW_PENALTY = 0x4000;
constexpr uint16_t FAST_TARGET = 1300;
constexpr int32_t FAST_PENALTY = 35;
constexpr int16_t SMALL_SIGNATURE = -50;
constexpr int32_t SMALL_PENALTY = 20;
constexpr int32_t NO_PENALTY = 100;
}  // namespace

WeaponRunHooks SetWeaponRunHooks(const WeaponRunHooks& hooks)
{
    const WeaponRunHooks previous = gHooks;
    gHooks = hooks;
    return previous;
}

WeaponRunSettings SetWeaponRunSettings(const WeaponRunSettings& settings)
{
    const WeaponRunSettings previous = gSettings;
    gSettings = settings;
    return previous;
}

const WeaponRunSettings& GetWeaponRunSettings()
{
    return gSettings;
}

void InstallWeaponRun()
{
    WeaponRunCalls calls;
    calls.move = &WeaponRun::Move;
    calls.pairStep = &WeaponRun::PairStep;
    calls.missileAttack = &WeaponRun::MissileAttack;
    calls.resolveImpact = &WeaponRun::ResolveImpact;
    calls.detonateWithoutTarget = &WeaponRun::DetonateWithoutTarget;
    calls.pointDefense = &UnitDefense::PointDefense;
    calls.buildEngagementList = &UnitDefense::BuildEngagementList;
    SetWeaponRunCalls(calls);
}

void UninstallWeaponRun()
{
    SetWeaponRunCalls(WeaponRunCalls{});
}

namespace WeaponRun {

int32_t RunDistance(int32_t knots, int32_t seconds)
{
    const int64_t run = int64_t{knots} * RANGE_PER_NM * seconds / 3600;
    return static_cast<int32_t>(std::clamp<int64_t>(run, INT32_MIN, INT32_MAX));
}

uint32_t TimeToRun(int64_t range, int32_t knots)
{
    if (knots <= 0 || range <= 0)
        return 0;
    const int64_t seconds = range * 3600 / (int64_t{knots} * RANGE_PER_NM);
    return static_cast<uint32_t>(std::min<int64_t>(seconds, UINT32_MAX));
}

int32_t NextLegTime(int32_t t)
{
    return std::clamp(t + (t + 3) / 4, SHORTEST_LEG_SECONDS, LONGEST_LEG_SECONDS);
}

int32_t TurnCourse(int32_t course, int32_t turn)
{
    int64_t turned = int64_t{course} + turn;
    if (turned < 0)
        turned += ANGLE_FULL;
    if (turned > ANGLE_FULL)
        turned -= ANGLE_FULL;
    return static_cast<int32_t>(turned);
}

SearchLeg PlanSearchLeg(uint16_t state, uint32_t weaponKind, bool fromPlaneOrNone, uint16_t draw)
{
    uint16_t leg = state & LEG_BITS;
    int32_t stored = state >> LEG_SHIFT;
    bool starting = leg == 0 || leg > 6;
    if (starting) {
        stored = FIRST_LEG_SECONDS;
        if (weaponKind == WeaponKind::TORPEDO && fromPlaneOrNone)
            leg = draw < 50 ? 1 : 2;
        else
            leg = draw < 50 ? 6 : 5;
    }
    SearchLeg result;
    result.seconds = stored;
    uint16_t next = leg;
    switch (leg) {
    case 1: result.turn = -TURN_45; break;
    case 2: result.turn = TURN_45; break;
    case 3: result.turn = -TURN_60; result.seconds = 2 * stored; next = 6; break;
    case 4: result.turn = TURN_60; result.seconds = 2 * stored; next = 5; break;
    case 5: result.turn = -TURN_60; next = 3; break;
    default: result.turn = TURN_60; next = 4; break;   // 6
    }
    if (starting)
        result.seconds = FIRST_LEG_SECONDS;
    result.nextState = static_cast<uint16_t>((NextLegTime(stored) << LEG_SHIFT) | next);
    return result;
}

int AspectClass(int32_t heading, int32_t bearing)
{
    int32_t degrees = static_cast<int32_t>((int64_t{heading} + bearing) / ANGLE_PER_DEGREE);
    if (degrees > 360)
        degrees -= 360;
    if (degrees > 180)
        degrees = 360 - degrees;
    if (degrees < 45)
        return 0;
    return degrees <= 135 ? 1 : 2;
}

int32_t FoldedAngle(int32_t realAngle)
{
    int64_t angle = std::llabs(int64_t{realAngle}) % ANGLE_FULL;
    if (angle > ANGLE_HALF)
        angle = ANGLE_FULL - angle;
    return static_cast<int32_t>(angle);
}

bool InFront(const LatLonPoint& at, int32_t torpedoCourse, int32_t bearing)
{
    return FoldedAngle(NavMath::Real_Angle_Between(at, torpedoCourse, bearing)) <= ANGLE_RIGHT;
}

bool InWake(const LatLonPoint& at, int32_t bearing, int32_t otherCourse)
{
    return FoldedAngle(NavMath::Real_Angle_Between(at, bearing, otherCourse)) <= WAKE_ANGLE;
}

int16_t EmitterLevel(const SignatureRecord& entry)
{
    constexpr uint32_t EMITTER_BAND = 0x40;
    constexpr int EMITTER_BAND_INDEX = 6;
    constexpr int16_t NO_LEVEL = -32767;
    int16_t levels[SignatureRecord::BAND_COUNT];
    std::fill(std::begin(levels), std::end(levels), NO_LEVEL);
    entry.RaiseBandLevels(EMITTER_BAND, levels, 0);
    return levels[EMITTER_BAND_INDEX];
}

int32_t BaseChance(const ChanceInput& in)
{
    if (in.targetLetter != 'P' && in.targetLetter != Weapon::TYPE_LETTER)
        return in.surfaceHitChance;
    int32_t chance = in.airHitModifier + AIR_BASE;
    if (in.targetAltitude < LOW_TARGET && (in.weaponFlags & NO_LOW_PENALTY) == 0)
        chance >>= 1;
    if (in.targetLetter == 'P' && in.evasionKnown && in.weaponDetected)
        chance -= in.evasion;
    if (in.targetSpeed >= FAST_TARGET)
        chance -= FAST_PENALTY;
    if (in.targetSignature < SMALL_SIGNATURE)
        chance -= SMALL_PENALTY;
    return chance;
}

int32_t CountermeasurePenalty(int16_t first, uint16_t second, uint32_t weaponKind, bool hasRadarSeeker,
                              bool radarGuided, bool hasInfraredSeeker)
{
    if (first == 0 && second == 0)
        return NO_PENALTY;
    uint16_t a = static_cast<uint16_t>(first);
    uint16_t b = second;
    if (weaponKind == WeaponKind::TORPEDO) {
        b = NO_PENALTY;
    } else {
        if (!hasRadarSeeker && !radarGuided)
            a = NO_PENALTY;
        if (!hasInfraredSeeker)
            b = NO_PENALTY;
    }
    return std::min(a, b);
}

uint8_t SectorBit(int32_t bearing, int32_t course)
{
    return static_cast<uint8_t>(UnitDetection::SectorBit(bearing, course));
}

std::string Text(int32_t number)
{
    return ResourceString(number);
}

void PostMessage(const std::string& text)
{
    if (gHooks.postToMessageLog != nullptr)
        gHooks.postToMessageLog(text.c_str());
    else
        PostToMessageLog(text.c_str());
}

void AddToAALog(const std::string& text)
{
    if (gHooks.addToAALog != nullptr)
        gHooks.addToAALog(text.c_str());
    else
        AfterActionLog::AddToAALogIfEnabled(text.c_str());
}

void WriteCombatLine(const std::string& text)
{
    if (gSettings.attackResolution)
        PostMessage(text);
    else if (GetWeaponFireSettings().aaLog)
        AddToAALog(text);
}

Event* MakeWeaponTargetEvent(const Weapon& weapon)
{
    return gHooks.makeWeaponTargetEvent != nullptr ? gHooks.makeWeaponTargetEvent(weapon.GetID(), weapon.targetID)
                                                   : nullptr;
}

Event* MakeWeaponStepEvent(uint16_t weaponID)
{
    return gHooks.makeWeaponStepEvent != nullptr ? gHooks.makeWeaponStepEvent(weaponID) : nullptr;
}

Event* MakeClearPathEvent(uint16_t weaponID)
{
    return gHooks.makeClearPathEvent != nullptr ? gHooks.makeClearPathEvent(weaponID) : nullptr;
}

Event* MakeMultiActionEvent(uint16_t unitID, uint32_t action, uint16_t secondID)
{
    return gHooks.makeMultiActionEvent != nullptr ? gHooks.makeMultiActionEvent(unitID, action, secondID) : nullptr;
}

void ShowWeaponImpact(uint16_t unitID)
{
    if (gHooks.showWeaponImpact != nullptr)
        gHooks.showWeaponImpact(unitID);
}

void AddTimedMapRing(const LatLonPoint& at, int32_t radius, uint8_t colour, int32_t delay, int32_t duration)
{
    if (gHooks.addTimedMapRing != nullptr)
        gHooks.addTimedMapRing(at, radius, colour, delay, duration);
}

void RecordHit(const Weapon& weapon, const Unit& target)
{
    constexpr uint8_t HOSTILE = 1;
    constexpr uint8_t NEUTRAL = 3;
    const uint16_t side = weapon.GetSideID();
    const uint16_t targetSide = target.GetSideID();
    if (SideRelations::GetRelation(side, static_cast<uint8_t>(targetSide)) == NEUTRAL)
        WeaponFire::RecordViolation(side, SideRelations::GetRelation(targetSide, static_cast<uint8_t>(side)) == HOSTILE,
                                    targetSide, target.GetID(), weapon.launcherID);
    else if (UnitDetection::AreFriendly(side, targetSide))
        WeaponFire::RecordUnitEvent(side, targetSide, target.GetID(), weapon.launcherID);
}

}  // namespace WeaponRun
