// PointDefense.cpp: one weapon record of a mount engages one incoming unit.
// A decoy lifts an incoming weapon's decoy values; a gun or a defensive
// missile fires a salvo in which every shot has its own chance to destroy
// the incoming unit. The shots are taken off the record, reported to the
// victory conditions, cued to the player, and the point-defence lines go to
// the log when the log options ask for them.
#include "engagement/PointDefense.h"

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/WeaponFireCalls.h"
#include "units/Mount.h"
#include "units/Unit.h"
#include "units/Weapon.h"

namespace {
constexpr int32_t SALVO_TEXT = 0x7B024D;
constexpr int32_t GUN_SOUND = 0x70005;
constexpr int32_t MISSILE_SOUND = 0x70004;
constexpr int32_t KILL_SOUND = 0x7000C;
constexpr uint32_t RESTRICTED_WEAPON = 0x10;
constexpr uint32_t NO_LOW_ALTITUDE_PENALTY = 0x4000;
constexpr uint32_t GUN_BIT = 8;
constexpr uint32_t TORPEDO_CLASS = 0x800;
constexpr uint16_t FAST_INCOMING = 1300;
constexpr int16_t SMALL_SIGNATURE = -100;
constexpr int16_t LOW_ALTITUDE = 3;
constexpr int32_t UNITS_PER_TENTH = 409;
constexpr int NAME_SIZE = 32;

// The log lines of one call, written only when their gates are on.
class PointDefenseLog {
public:
    explicit PointDefenseLog(std::ostream* out)
        : out_(out)
    {
        const WeaponFireSettings& settings = GetWeaponFireSettings();
        log_ = out != nullptr && settings.aaLog && settings.showPointDefense;
        short_ = log_ && settings.extraShortPointDefense;
        verbose_ = log_ && settings.extraVerbosePointDefense;
    }
    bool Log() const { return log_; }
    bool Short() const { return short_; }
    bool Verbose() const { return verbose_; }
    void Line(const std::string& text)
    {
        *out_ << text << '\n';
        out_->flush();
    }
    void LineIf(bool gate, const std::string& text)
    {
        if (gate)
            Line(text);
    }

private:
    std::ostream* out_;
    bool log_ = false;
    bool short_ = false;
    bool verbose_ = false;
};

// A name held as the 32-byte buffers the lines are assembled from.
std::string Held(const char* name)
{
    char buffer[NAME_SIZE] = {};
    std::strncpy(buffer, name, NAME_SIZE - 1);
    return buffer;
}

std::string Tenths(int32_t tenths)
{
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace

int32_t PointDefense::HitChance(const WeaponAnnex& weapon, const Unit& incoming, int16_t altitude)
{
    int32_t chance = weapon.airChance + 30;
    if (incoming.speed >= FAST_INCOMING)
        chance = weapon.airChance;
    if (incoming.GetVisualSignature(0) <= SMALL_SIGNATURE)
        chance -= 10;
    if (altitude <= LOW_ALTITUDE && (weapon.weaponFlags & NO_LOW_ALTITUDE_PENALTY) == 0)
        chance -= 15;
    if (chance > 100)
        return 95;
    if (chance < 0)
        return 5;
    return chance;
}

namespace {
// A decoy's effect on an incoming weapon; true when a value was lifted.
bool Decoy(const WeaponAnnex& weapon, Weapon& incoming, PointDefenseLog& log)
{
    bool worked = false;
    if ((incoming.GetTargetMask() & TORPEDO_CLASS) != 0) {
        if (weapon.surfaceChance > incoming.firstCounterValue) {
            incoming.firstCounterValue = weapon.surfaceChance;
            worked = true;
            log.LineIf(log.Short(), "++ Buzz! (Torpedo Decoy Worked)");
        }
        return worked;
    }
    if (weapon.airChance > incoming.firstCounterValue) {
        incoming.firstCounterValue = weapon.airChance;
        worked = true;
        log.LineIf(log.Short(), "++ Bamf! (Missile Decoy Worked at Short Range)");
    }
    if (weapon.airChanceLong > static_cast<int32_t>(incoming.secondCounterValue)) {
        incoming.secondCounterValue = static_cast<uint16_t>(weapon.airChanceLong);
        worked = true;
        log.LineIf(log.Short(), "++ Pop! (Missile Decoy Worked at Long Range)");
    }
    return worked;
}
}  // namespace

uint8_t WeaponRec::FirePointDefense(Mount* sourceMount, uint16_t incomingID, bool allowRestricted,
                                    int8_t killsWanted, int8_t salvoLimit, int8_t& kills, std::ostream* logStream)
{
    Unit* incoming = gam2arena::FindUnit(incomingID);
    Unit* firing = nullptr;
    if (sourceMount == nullptr)
        FatalError("WeaponRec::FirePointDefense:  sourceMount is NULL");
    else
        firing = dynamic_cast<Unit*>(sourceMount->GetOwner());
    const uint8_t side = firing != nullptr ? static_cast<uint8_t>(firing->GetSideID()) : uint8_t{0};
    const WeaponAnnex* weapon = Annex::FindWeapon(weaponID);
    if (weapon == nullptr || incoming == nullptr)
        return 0;

    PointDefenseLog log(logStream);
    std::string weaponName = "<no weapon name>";
    std::string incomingName = "<no target unit name>";
    std::string firingName = "<no firing unit name>";
    if (log.Verbose()) {
        weaponName = Held(weapon->className.Text());
        incomingName = Held(incoming->GetName().Text());
        if (firing != nullptr)
            firingName = Held(firing->GetName().Text());
        log.Line("++ Resolving Weapon Fire for Point Defense.");
        log.Line("++ Defending Weapon is " + weaponName + ".");
        log.Line("++ Incoming Weapon is " + incomingName + ".");
        log.Line("++ Firing Unit is " + firingName + ".");
    } else {
        log.LineIf(log.Short(), "++ Point Defenses Firing");
    }

    if (!allowRestricted && (weapon->weaponFlags & RESTRICTED_WEAPON) != 0)
        return 0;
    const int16_t altitude = incoming->GetAltitude();
    uint16_t guideMount = 0;
    uint16_t guideSensor = 0;
    if (sourceMount == nullptr || !sourceMount->FindGuidance(incomingID, *weapon, 1, guideMount, guideSensor, 0, 1))
        return 0;

    uint8_t result = 0;
    const std::string nameOfWeapon = Held(weapon->className.Text());
    if (incoming->GetTypeLetter() == Weapon::TYPE_LETTER && weapon->GetWeaponKind() == WEAPON_KIND_DECOY) {
        if (auto* missile = dynamic_cast<Weapon*>(incoming); missile != nullptr && Decoy(*weapon, *missile, log))
            result = 1;
    } else {
        const int32_t range =
            firing != nullptr ? NavMath::Get_Vector(firing->GetPosition(), incoming->GetPosition()).range : 0;
        if (range < static_cast<int32_t>(weapon->minRange) * UNITS_PER_TENTH) {
            if (log.Log()) {
                log.Line("++ Unable to fire:  incoming weapon is already within minimum range of this weapon.");
                log.Line("++ Minimum range of " + weaponName + " is " + Tenths(weapon->minRange)
                         + " Nautical Miles.");
                log.Line("++ Range of " + incomingName + " at start of Point Defense calculations is "
                         + Tenths(range / UNITS_PER_TENTH) + " Nautical Miles.");
            }
        } else {
            const int32_t chance = PointDefense::HitChance(*weapon, *incoming, altitude);
            int32_t shots = std::min<int32_t>({salvoLimit, readyShots, shotsLeft});
            while (shots > 0 && kills < killsWanted) {
                --shots;
                ++result;
                log.LineIf(log.Short(), (weapon->GetWeaponKind() & GUN_BIT) != 0
                                            ? "++ Bang! (Shooting Gun at it)"
                                            : "++ Whoosh! (Shooting Missile at it)");
                if (static_cast<int32_t>(gam2arena::Random(100)) < chance) {
                    ++kills;
                    log.LineIf(log.Short(), "++ BOOM! (Got it :)");
                }
            }
            log.LineIf(log.Log(), "++ " + std::to_string(result) + " X " + nameOfWeapon + ResourceString(SALVO_TEXT));
        }
        log.LineIf(log.Log(), "++ " + std::to_string(shotsLeft) + " " + nameOfWeapon + " left.");
    }

    if (result != 0) {
        readyShots = static_cast<int8_t>(readyShots - result);
        shotsLeft = shotsLeft > result ? static_cast<uint16_t>(shotsLeft - result) : uint16_t{0};
        WeaponFire::CheckVictoryConditions2(side, weaponID, Weapon::TYPE_LETTER, result);
        if (firing != nullptr && WeaponFire::IsContactOfPlayer(firing->GetID())) {
            const bool animate = GetWeaponFireSettings().pointDefense;
            if (animate)
                WeaponFire::ShowWeaponFire(firing->GetTypeLetter(), *weapon, firing->GetPosition());
            else
                WeaponFire::PlaySound((weapon->GetWeaponKind() & GUN_BIT) != 0 ? GUN_SOUND : MISSILE_SOUND);
            if (kills != 0) {
                if (animate)
                    WeaponFire::ShowWeaponAnimation(incoming->GetTypeLetter(), *weapon, firing->GetPosition());
                else
                    WeaponFire::PlaySound(KILL_SOUND);
            }
        }
    }
    return result;
}
