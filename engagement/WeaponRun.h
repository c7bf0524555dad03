// WeaponRun.h: the engagement model's side of a weapon's run: the flight step
// (WeaponMove.cpp), the meeting with another unit (WeaponPairStep.cpp), the
// missile attack (MissileAttack.cpp), the impact of the warheads and the
// area-effect burst (WeaponImpact.cpp), and a unit's point defence with its
// engagement list (UnitPointDefense.cpp), installed behind the operations of
// the same names (units/WeaponRunCalls.h). What they need of the layers above
// (the simulation's weapon events, the map's rings and impact marks, the
// rules of engagement, the message log) comes through WeaponRunHooks, which
// their owners install; the pure rules are here for tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

#include "core/Chain.h"
#include "core/Event.h"
#include "core/LatLonPoint.h"

class SignatureRecord;
class TimedRecord;
class Unit;
class Weapon;
class WarheadLink;
struct NavVector;

struct WeaponRunHooks {
    // New events for a weapon, owned by the caller; null without the class.
    Event* (*makeWeaponTargetEvent)(uint16_t weaponID, uint16_t targetID) = nullptr;
    Event* (*makeWeaponStepEvent)(uint16_t weaponID) = nullptr;
    Event* (*makeClearPathEvent)(uint16_t weaponID) = nullptr;
    // A damage action (code) for a unit with a second identifier.
    Event* (*makeMultiActionEvent)(uint16_t unitID, uint32_t action, uint16_t secondID) = nullptr;
    // ui2game::ShowWeaponImpact.
    void (*showWeaponImpact)(uint16_t unitID) = nullptr;
    // AddTimedMapRing: a ring at a point, radius in range units, palette
    // index, delay and duration in wall-clock seconds.
    void (*addTimedMapRing)(const LatLonPoint& at, int32_t radius, uint8_t colour, int32_t delay,
                            int32_t duration) = nullptr;
    // Where the lines go: the message log window and the after-action log
    // (PostToMessageLog and AfterActionLog::AddToAALogIfEnabled when null).
    void (*postToMessageLog)(const char* text) = nullptr;
    void (*addToAALog)(const char* text) = nullptr;
};

// The command-line switch "-W" (weapon attack resolution), the user option
// VerboseWeaponDetection and the INI setting WeaponHit; all off until set.
// AALog and the point-defence options are the weapon-fire settings'.
struct WeaponRunSettings {
    bool attackResolution = false;
    bool verboseWeaponDetection = false;
    bool weaponHit = false;
};

WeaponRunHooks SetWeaponRunHooks(const WeaponRunHooks& hooks);
WeaponRunSettings SetWeaponRunSettings(const WeaponRunSettings& settings);
const WeaponRunSettings& GetWeaponRunSettings();

// Installs the weapon's run and the unit's point defence behind the unit
// model's operations; UninstallWeaponRun takes them out.
void InstallWeaponRun();
void UninstallWeaponRun();

namespace WeaponRun {

// ---- the installed operations ----
void Move(Weapon& weapon, uint8_t seconds);
bool PairStep(Weapon& weapon, Unit& other);
void MissileAttack(Weapon& weapon, Unit* target);
void ResolveImpact(Weapon& weapon, Unit& target);
void DetonateWithoutTarget(Weapon& weapon);

// ---- rules of the flight step ----
// Range units covered at `knots` in `seconds`: knots x 4096 x seconds / 3600,
// worked in 64 bits (a 600-knot missile on a 4095-second leg runs 2795520 x
// 4096 / 3600 without the wrap of a 32-bit product); clamped to INT32_MAX.
int32_t RunDistance(int32_t knots, int32_t seconds);
// Seconds to run `range` (range units) at `knots`: range x 3600 / (knots x
// 4096), in 64 bits; 0 at speed 0; clamped to UINT32_MAX.
uint32_t TimeToRun(int64_t range, int32_t knots);
// The seeker switches on with an intercept under this many seconds.
constexpr int32_t SEEKER_SWITCH_SECONDS = 16;
// One leg of the search pattern. `state` is the guiding-sensor field (leg
// number in the low four bits, leg time above); `draw` the random number
// below 100 the start takes; `fromPlaneOrNone` whether the weapon was
// launched by a plane or by no unit.
struct SearchLeg {
    int32_t turn = 0;        // angle units, negative to the left
    int32_t seconds = 0;     // the leg's time
    uint16_t nextState = 0;  // the field's new value
};
SearchLeg PlanSearchLeg(uint16_t state, uint32_t weaponKind, bool fromPlaneOrNone, uint16_t draw);
// The leg time after t: t + (t + 3) / 4, at least 30 and at most 4095.
int32_t NextLegTime(int32_t t);
// Course plus turn brought back into one full circle.
int32_t TurnCourse(int32_t course, int32_t turn);

// ---- rules of the pair step ----
// The aspect class (0 front, 1 side, 2 rear) of a unit heading `heading`
// seen along `bearing`.
int AspectClass(int32_t heading, int32_t bearing);
// A real angle folded into 0 to a half circle, its sign dropped.
int32_t FoldedAngle(int32_t realAngle);
// Whether a straight-running torpedo at `range` (range units) is close
// enough to roll for a hit.
constexpr int32_t STRAIGHT_RUN_REACH = 409;
// Whether a unit on `course` along `bearing` from the weapon lies in front
// (at most 90 degrees off the torpedo's course).
bool InFront(const LatLonPoint& at, int32_t torpedoCourse, int32_t bearing);
// Whether the weapon lies in the wake of a unit on `otherCourse` seen along
// `bearing`: the folded angle between them at most 5 degrees. (The signed
// difference alone would let every negative one pass.)
bool InWake(const LatLonPoint& at, int32_t bearing, int32_t otherCourse);

// The level of a sighting entry in the emitter band (0x40) that a weapon
// homing on the strongest emitter compares; -32767 when it has none.
int16_t EmitterLevel(const SignatureRecord& entry);

// ---- rules of the missile attack ----
// The chance before point defence, with the lines it writes.
struct ChanceInput {
    char targetLetter = 0;
    int8_t airHitModifier = 0;
    uint8_t surfaceHitChance = 0;
    int16_t targetAltitude = 0;
    uint32_t weaponFlags = 0;
    uint16_t targetSpeed = 0;
    int16_t targetSignature = 0;   // first signature query, aspect 0
    bool evasionKnown = false;     // the plane record exists
    bool weaponDetected = false;   // the target's side holds a contact on the weapon
    uint8_t evasion = 0;
};
int32_t BaseChance(const ChanceInput& input);
// The countermeasure penalty (100 or more: none) from the two values after
// point defence, the weapon kind and its seeker kinds.
int32_t CountermeasurePenalty(int16_t first, uint16_t second, uint32_t weaponKind, bool hasRadarSeeker,
                              bool radarGuided, bool hasInfraredSeeker);
// The chance raised to at least 5.
constexpr int32_t MINIMUM_CHANCE = 5;

// ---- point defence ----
// The sector bit of a bearing relative to the unit's course: 0x01 to 0x08
// from the bow aft to starboard, 0x10 to 0x80 from the bow aft to port.
uint8_t SectorBit(int32_t bearing, int32_t course);

// ---- the area-effect burst ----
struct Burst {
    int32_t airKill = 0, shipKill = 0, subKill = 0, shipDamage = 0, subDamage = 0;
    int32_t baseDamage = 0, effectRange = 0;
    bool fallOff = false;            // damage falls off; rings drawn
    bool yieldLine = false;          // a nuclear yield line is written
    int32_t yieldAmount = 0;         // its figure
    bool yieldInTons = false;
    uint32_t shownType = 0;          // the type named in the log
};
Burst PlanBurst(uint32_t warheadType, uint16_t strength);
// WeaponImpact::AreaAttack: the burst of one warhead at a point; nothing
// without a weapon.
void AreaAttack(const WarheadLink& entry, const LatLonPoint& burst, Weapon* weapon);

// ---- lines ----
// A combat line under the "-W"/AALog rule: to the message log window with
// "-W", otherwise to the after-action log; nothing with both off.
void WriteCombatLine(const std::string& text);
void PostMessage(const std::string& text);
void AddToAALog(const std::string& text);
// The resource text of a number, or the empty text.
std::string Text(int32_t number);
// The hooks above; each does nothing (or answers null) without its hook.
Event* MakeWeaponTargetEvent(const Weapon& weapon);
Event* MakeWeaponStepEvent(uint16_t weaponID);
Event* MakeClearPathEvent(uint16_t weaponID);
Event* MakeMultiActionEvent(uint16_t unitID, uint32_t action, uint16_t secondID);
void ShowWeaponImpact(uint16_t unitID);
void AddTimedMapRing(const LatLonPoint& at, int32_t radius, uint8_t colour, int32_t delay, int32_t duration);
// The rules of engagement of a hit on a unit that is not a weapon: toward a
// neutral side a violation, between friendly sides a friendly-fire event,
// each with the victory manager of the weapon's side (WeaponFireCalls).
void RecordHit(const Weapon& weapon, const Unit& target);

}  // namespace WeaponRun

// The point defence of a unit and its engagement list (UnitPointDefense.cpp).
namespace UnitDefense {
bool PointDefense(Unit& self, Weapon& incoming);
void BuildEngagementList(Unit& self, uint32_t mask, uint16_t targetID, const NavVector& toTarget,
                         Chain<TimedRecord>& out, uint32_t flags);
}  // namespace UnitDefense
