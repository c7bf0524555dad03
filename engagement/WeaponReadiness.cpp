// WeaponReadiness.cpp: a weapon record's readiness cycle, ready shots,
// fire rating and range limits, the readiness cycle it shares with the
// mounts, and a mount record's summed rating.
#include <algorithm>

#include "annex/AnnexTables.h"
#include "annex/MountAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "engagement/Decibel.h"
#include "engagement/ReadinessCycle.h"

namespace {
constexpr uint32_t AIR_CLASSES = 0xC;
constexpr uint32_t SURFACE_CLASSES = 0x7C1;
constexpr uint32_t GUN_AND_DECOY_KINDS = 0x808;
constexpr int8_t PERIOD_SECONDS = 30;
constexpr int32_t AIR_CHANCE_BONUS = 30;

// The limit a decoy-style weapon (target mask 16) offers a mask it does not
// name: its value when one of its chances covers the mask, else 0.
template <typename T>
T ByChances(const WeaponAnnex& weapon, uint32_t mask, T value)
{
    if (weapon.GetTargetMask() != DECOY_TARGET_MASK)
        return 0;
    if (weapon.surfaceChance != 0 && (mask & SURFACE_CLASSES) != 0)
        return value;
    if (weapon.airChance != 0 && (mask & AIR_CLASSES) != 0)
        return value;
    return 0;
}
}  // namespace

namespace ReadinessCycle {

void Step(int8_t interval, int8_t& countdown, int8_t& ready, uint8_t seconds, bool restartWhenReady)
{
    const int8_t step = static_cast<int8_t>(seconds);
    if (interval > 0 && interval <= step) {
        ready = static_cast<int8_t>(step / interval);
        countdown = static_cast<int8_t>(interval - step % interval);
    } else if (interval > 0) {
        if (ready != 0) {
            ready = 1;
            countdown = restartWhenReady ? static_cast<int8_t>(interval - step) : int8_t{0};
        } else if (countdown != 0) {
            countdown = static_cast<int8_t>(countdown - step);
            if (countdown <= 0) {
                countdown = 0;
                ready = 1;
            }
        } else {
            countdown = static_cast<int8_t>(interval - step);
        }
    } else if (ready > 0) {
        countdown = interval;
    } else if (countdown < 0) {
        ready = static_cast<int8_t>(ready + step);
        if (ready < 0)
            return;
        countdown = static_cast<int8_t>(countdown + 1);
        if (countdown != 0) {
            ready = static_cast<int8_t>(ready - PERIOD_SECONDS);
        } else {
            countdown = static_cast<int8_t>(PERIOD_SECONDS - ready);
            ready = 0;
        }
    } else {
        countdown = static_cast<int8_t>(countdown - step);
        if (countdown < 1) {
            countdown = interval;
            ready = 1;
        }
    }
}

}  // namespace ReadinessCycle

void WeaponRec::UpdateReadiness(uint8_t seconds)
{
    ReadinessCycle::Step(fireInterval, cycleTimer, readyShots, seconds, true);
}

uint16_t WeaponRec::GetReadyShots() const
{
    if (readyShots <= 0)
        return 0;
    return std::min(static_cast<uint16_t>(readyShots), shotsLeft);
}

uint32_t WeaponRec::CanFireAt(uint32_t targetMask, bool allowGuns) const
{
    const WeaponAnnex* weapon = Annex::FindWeapon(weaponID);
    if (weapon == nullptr || (weapon->GetTargetMask() & targetMask) == 0)
        return 0;
    const bool gun = weapon->GetWeaponKind() == WEAPON_KIND_GUN;
    if (gun && !allowGuns)
        return 0;
    int64_t shots = shotsLeft;
    if (shots == 0)
        return 0;
    if (gun)
        shots = 1;
    int64_t value = 0;
    if ((targetMask & AIR_CLASSES) != 0) {
        // A chance of 0 or below cannot hit: its square must not rate as
        // a positive one.
        const int64_t chance = std::max<int64_t>(0, weapon->airChance + AIR_CHANCE_BONUS);
        value = (chance / 2) * shots * chance / 100;
    } else {
        value = static_cast<int64_t>(weapon->GetDamagePoints()) * shots * weapon->surfaceChance / 100;
    }
    const int64_t rangeFactor = std::max<int64_t>(100, Log10Times100(weapon->maxRange / 10));
    value = value * rangeFactor / 100;
    return value == 0 ? 1u : static_cast<uint32_t>(std::min<int64_t>(value, UINT32_MAX));
}

uint16_t WeaponRec::GetMinRange(uint32_t targetMask) const
{
    const WeaponAnnex* weapon = Annex::FindWeapon(weaponID);
    if (weapon == nullptr || (weapon->GetWeaponKind() & ~GUN_AND_DECOY_KINDS) == 0)
        return 0;
    if ((weapon->GetTargetMask() & targetMask) != 0)
        return shotsLeft != 0 ? weapon->minRange : uint16_t{0};
    return ByChances<uint16_t>(*weapon, targetMask, weapon->minRange);
}

uint32_t WeaponRec::GetMaxRange(uint32_t targetMask) const
{
    if (shotsLeft == 0)
        return 0;
    const WeaponAnnex* weapon = Annex::FindWeapon(weaponID);
    if (weapon == nullptr || weapon->GetWeaponKind() == WEAPON_KIND_DECOY)
        return 0;
    if ((weapon->GetTargetMask() & targetMask) != 0)
        return weapon->maxRange;
    return ByChances<uint32_t>(*weapon, targetMask, weapon->maxRange);
}

int32_t MountAnnex::SumWeaponRatings(uint32_t targetMask, uint8_t flag) const
{
    const AnnexTable<WeaponRec>* table = Annex::Tables().WeaponRecs();
    if (table == nullptr)
        return 0;
    int32_t sum = 0;
    for (const IDNode* id = weaponRecIDs.First(); id != nullptr; id = id->GetNext()) {
        if (const WeaponRec* rec = table->Find(id->GetKey()))
            sum += static_cast<int32_t>(rec->CanFireAt(targetMask, flag != 0));
    }
    return sum;
}
