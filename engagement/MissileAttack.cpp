// MissileAttack.cpp: the end of a weapon's run at its target: the guidance
// check, the chance with its lines, the target's point defence, the
// countermeasures, the roll, the report of a hit, the rules of engagement and
// the impact; the weapon always leaves play.
#include <algorithm>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/WeaponFireCalls.h"
#include "engagement/WeaponRun.h"
#include "units/UnitEvents.h"
#include "units/Weapon.h"

namespace {
constexpr uint32_t GUIDED_BY_LAUNCHER = 0x2001;
constexpr uint32_t WEAPON_DESTROYED = 0x40;
constexpr uint32_t FRESH_SECONDS = 30;
constexpr int32_t HEADER_TEXT = 0x7B0239;
constexpr int32_t VERSUS_TEXT = 0x7B023A;
constexpr int32_t RULE_TEXT = 0x7B023B;
constexpr int32_t PERCENT_TEXT = 0x7B0224;
constexpr int32_t PLANE_CHANCE_TEXT = 0x7B023C;
constexpr int32_t LOW_TEXT = 0x7B023D;
constexpr int32_t EVASION_TEXT = 0x7B023E;
constexpr int32_t FAST_TEXT = 0x7B023F;
constexpr int32_t SMALL_TEXT = 0x7B0240;
constexpr int32_t WEAPON_CHANCE_TEXT = 0x7B0241;
constexpr int32_t SURFACE_CHANCE_TEXT = 0x7B0242;
constexpr int32_t PENALTY_TEXT = 0x7B0243;
constexpr int32_t FINAL_CHANCE_TEXT = 0x7B0244;
constexpr int32_t ROLL_TEXT = 0x7B0245;
constexpr int32_t HIT_TEXT = 0x7B0246;
constexpr int32_t MISS_TEXT = 0x7B0247;
constexpr int32_t KNOWN_VERB_TEXT = 0x7B0248;
constexpr int32_t UNKNOWN_TARGET_TEXT = 0x7B0249;
constexpr int32_t WEAPON_VERB_TEXT = 0x7B024A;
constexpr int32_t UNKNOWN_WEAPON_TEXT = 0x7B024B;
constexpr int32_t STOPPED_TEXT = 0x7B024C;
constexpr int32_t NO_PLANE_RECORD_TEXT = 0x7B025F;
constexpr int32_t HIT_SOUND = 0x7000C;
constexpr uint32_t DAMAGE_ACTION = 5;
constexpr uint32_t TORPEDO_MASK = 16;
constexpr int32_t LINE_SIZE = 132;

bool LogOn()
{
    return GetWeaponRunSettings().attackResolution || GetWeaponFireSettings().aaLog;
}

// A line as the one 132-character buffer holds it.
void Write(std::string line)
{
    if (!LogOn())
        return;
    if (line.size() >= LINE_SIZE)
        line.resize(LINE_SIZE - 1);
    WeaponRun::WriteCombatLine(line);
}

// Whether the guidance of a weapon guided by its launcher still holds.
bool GuidanceHolds(const Weapon& weapon, bool& radarGuided)
{
    Unit* const target = gam2arena::FindUnit(weapon.targetID);
    Unit* const launcher = gam2arena::FindUnit(weapon.launcherID);
    if (target == nullptr || launcher == nullptr)
        return false;
    const NavVector vector = NavMath::Get_Vector(weapon.GetPosition(), target->GetPosition());
    const int aspect = WeaponRun::AspectClass(target->GetCourse(), vector.bearing);
    if (vector.range / RANGE_PER_NM > int32_t{target->GetHorizon()} + weapon.GetHorizon())
        return false;
    if (weapon.guideSensorID == 0 || weapon.guidePlaneRecID != 0)
        return false;   // an aircraft record's sensors guide nothing here
    Sensor* const sensor = launcher->sensors.Find(weapon.guideSensorID);
    if (sensor == nullptr)
        return false;
    radarGuided = sensor->GetSensorType() == Sensor::TYPE_RADAR;
    Contact* const seen = sensor->Detect(*launcher, *target, vector, aspect, 0, true, true, true);
    const bool detected = seen != nullptr;
    delete seen;
    return detected;
}

bool Fresh(const Contact* contact)
{
    return contact != nullptr && gam2arena::GetGameTime() - contact->lastDetection.Get() <= FRESH_SECONDS;
}

std::string ContactName(const Contact& contact)
{
    char name[NameString::SIZE + 8] = {};
    contact.GetName(name);
    return name;
}

// The hit report to the current side; answers whether the target or the
// weapon was known.
bool ReportHit(const Weapon& weapon, const Unit& target)
{
    SideContacts* const side = gam2arena::GetCurrentSide();
    if (side == nullptr)
        return false;
    const uint16_t key = side->GetKey();
    std::string targetText;
    std::string verb;
    bool targetKnown = true;
    const bool targetOwn = target.sideEntryID == key;
    if (targetOwn) {
        targetText = std::string(target.GetLabel()) + " " + target.GetName().Text();
        verb = WeaponRun::Text(KNOWN_VERB_TEXT);
    } else if (const Contact* contact = side->GetContact(target.GetID()); Fresh(contact)) {
        targetText = ContactName(*contact);
        verb = WeaponRun::Text(KNOWN_VERB_TEXT);
    } else {
        targetText = WeaponRun::Text(UNKNOWN_TARGET_TEXT);
        targetKnown = false;
    }
    std::string weaponText;
    bool weaponKnown = true;
    if (weapon.sideEntryID == key) {
        weaponText = std::string(weapon.GetLabel()) + " " + weapon.GetName().Text();
    } else if (const Contact* contact = side->GetContact(weapon.GetID()); Fresh(contact)) {
        weaponText = ContactName(*contact);
    } else {
        weaponKnown = false;
        weaponText = WeaponRun::Text(UNKNOWN_WEAPON_TEXT);
    }
    const bool weaponLeads = weaponKnown && !targetOwn;
    if (weaponLeads)
        verb = WeaponRun::Text(WEAPON_VERB_TEXT);
    const bool known = targetKnown || weaponKnown;
    const char letter = target.GetTypeLetter();
    if (known && (letter == 'S' || letter == 'U'))
        WeaponRun::PostMessage(weaponLeads ? weaponText + verb + targetText : targetText + verb + weaponText);
    return known;
}

// The side records' contacts on the weapon go, and its deletion is posted.
void LeavePlay(Weapon& weapon)
{
    weapon.ClearTarget(weapon.targetID);
    if (SideContactsList* sides = gam2arena::GetSideList())
        for (SideContacts* side = sides->First(); side != nullptr; side = side->GetNext())
            side->DeleteContacts(weapon.GetID());
    PostOrDrop(MakeDeleteUnitEvent(weapon.GetID(), GameTime(gam2arena::GetGameTime())));
}

}  // namespace

void WeaponRun::MissileAttack(Weapon& weapon, Unit* target)
{
    if (LogOn()) {
        PostMessage(Text(RULE_TEXT));
        Write(Text(HEADER_TEXT) + weapon.GetName().Text() + Text(VERSUS_TEXT)
              + (target != nullptr ? target->GetName().Text() : "No Target:  BOL attack"));
    }
    bool radarGuided = false;
    if (target == nullptr) {
        if (weapon.sensors.First() == nullptr)
            DetonateWithoutTarget(weapon);
        LeavePlay(weapon);
        return;
    }
    if ((weapon.weaponFlags & GUIDED_BY_LAUNCHER) != 0 && !GuidanceHolds(weapon, radarGuided)) {
        LeavePlay(weapon);
        return;
    }

    ChanceInput input;
    input.targetLetter = target->GetTypeLetter();
    input.airHitModifier = weapon.airHitModifier;
    input.surfaceHitChance = weapon.surfaceHitChance;
    input.targetAltitude = target->PositionObject::GetAltitude();
    input.weaponFlags = weapon.weaponFlags;
    input.targetSpeed = target->speed;
    input.targetSignature = target->GetRadarSignature(0);
    const bool air = input.targetLetter == 'P' || input.targetLetter == Weapon::TYPE_LETTER;
    const std::string percent = Text(PERCENT_TEXT);
    if (input.targetLetter == 'P') {
        const PlaneAnnex* plane =
            Annex::Tables().Planes() != nullptr ? Annex::Tables().Planes()->Find(target->GetAnnexID()) : nullptr;
        input.evasionKnown = plane != nullptr;
        input.evasion = plane != nullptr ? plane->airValueUnloaded : uint8_t{0};
        const SideContacts* side = gam2arena::FindSide(target->sideEntryID);
        input.weaponDetected = side != nullptr && side->GetContact(weapon.GetID()) != nullptr;
    }
    if (air) {
        const int32_t start = input.airHitModifier + 30;
        Write(Text(input.targetLetter == 'P' ? PLANE_CHANCE_TEXT : WEAPON_CHANCE_TEXT) + std::to_string(start)
              + percent);
        if (input.targetAltitude < 4 && (input.weaponFlags & 0x4000) == 0)
            Write(Text(LOW_TEXT));
        if (input.targetLetter == 'P') {
            if (!input.evasionKnown) {
                PostMessage(Text(NO_PLANE_RECORD_TEXT));
            } else {
                Write(Text(EVASION_TEXT) + std::to_string(input.evasion));
                // Written whatever the log switches say: to the message log
                // window with "-W", else to the after-action log when kept.
                if (!input.weaponDetected) {
                    const char* const unseen = "Incoming Missile wasn't detected.  Plane lost DATA evasion bonus.";
                    if (GetWeaponRunSettings().attackResolution)
                        PostMessage(unseen);
                    else
                        AddToAALog(unseen);
                }
            }
        }
        if (input.targetSpeed >= 1300)
            Write(Text(FAST_TEXT));
        if (input.targetSignature < -50)
            Write(Text(SMALL_TEXT));
    } else {
        Write(Text(SURFACE_CHANCE_TEXT) + std::to_string(input.surfaceHitChance) + percent);
    }
    int32_t chance = BaseChance(input);

    weapon.firstCounterValue = 0;
    weapon.secondCounterValue = 0;
    if (target->PointDefense(weapon)) {
        Write(Text(STOPPED_TEXT));
        LeavePlay(weapon);
        return;
    }
    bool radarSeeker = false;
    bool infraredSeeker = false;
    for (const Sensor* sensor = weapon.sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        radarSeeker = radarSeeker || sensor->GetSensorType() == Sensor::TYPE_RADAR;
        infraredSeeker = infraredSeeker || sensor->GetSensorType() == Sensor::TYPE_INFRARED;
    }
    const int32_t penalty = CountermeasurePenalty(weapon.firstCounterValue, weapon.secondCounterValue,
                                                  weapon.weaponKind, radarSeeker, radarGuided, infraredSeeker);
    if (penalty < 100) {
        chance -= penalty;
        Write(Text(PENALTY_TEXT) + std::to_string(penalty) + percent);
    }
    chance = std::max(chance, MINIMUM_CHANCE);
    Write(Text(FINAL_CHANCE_TEXT) + std::to_string(chance) + percent);
    const int32_t roll = gam2arena::Random(100);
    if (LogOn()) {
        Write(Text(ROLL_TEXT) + std::to_string(roll) + Text(roll < chance ? HIT_TEXT : MISS_TEXT));
        Write(Text(RULE_TEXT));
    }
    if (roll >= chance) {
        LeavePlay(weapon);
        return;
    }
    const bool known = ReportHit(weapon, *target);
    if (target->GetTypeLetter() != Weapon::TYPE_LETTER)
        RecordHit(weapon, *target);
    if (!target->TestFlags(WEAPON_DESTROYED)) {
        if (known) {
            ShowWeaponImpact(target->GetID());
            const WeaponAnnex* record = Annex::FindWeapon(weapon.GetAnnexID());
            if (GetWeaponRunSettings().weaponHit && record != nullptr)
                WeaponFire::ShowWeaponAnimation(target->GetTypeLetter(), *record, target->GetPosition());
            else if (!GetWeaponRunSettings().weaponHit)
                WeaponFire::PlaySound(HIT_SOUND);
        }
        if (weapon.GetAttackMask() == TORPEDO_MASK)
            PostOrDrop(MakeMultiActionEvent(target->GetID(), DAMAGE_ACTION, weapon.guideSensorID));
    }
    ResolveImpact(weapon, *target);
    LeavePlay(weapon);
}
