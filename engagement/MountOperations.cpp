// MountOperations.cpp: what a mount does: its per-step reload, the transfer
// of rounds from the magazines, its reach and rating over its weapon
// records, the engagement query and fire request passed on to them, the
// point-defence shot step, the launch of an engagement entry and the search
// for a sensor to guide a weapon. The launches themselves are
// MountLaunch.cpp.
#include "engagement/MountOperations.h"

#include <algorithm>

#include "annex/AnnexTables.h"
#include "annex/TimedRecord.h"
#include "annex/WeaponAnnex.h"
#include "core/gam2arena.h"
#include "engagement/LaunchOrders.h"
#include "engagement/MountLaunch.h"
#include "engagement/ReadinessCycle.h"
#include "engagement/WeaponFireCalls.h"
#include "engagement/WeaponFlight.h"
#include "annex/WeaponRec.h"
#include "units/Mount.h"
#include "units/PlaneRecBridge.h"
#include "units/Unit.h"

namespace {
constexpr uint32_t SURFACE_CLASSES = 0x7C1;
constexpr uint32_t NEEDS_GUIDANCE = 0x2001;
constexpr int32_t PERIOD_SECONDS = 30;

Unit* OwnerUnit(const Mount& mount)
{
    return dynamic_cast<Unit*>(mount.GetOwner());
}

void Reload(Mount& mount, uint8_t seconds)
{
    ReadinessCycle::Step(mount.fireInterval, mount.countdown, mount.roundsReady, seconds, false);
    for (WeaponRec* weapon = mount.weapons.First(); weapon != nullptr; weapon = weapon->GetNext())
        weapon->UpdateReadiness(seconds);
}

// Marks a mount or magazine busy unless it is damaged or destroyed.
void MarkBusy(Mount& mount)
{
    if (mount.state != Mount::STATE_DAMAGED && mount.state != Mount::STATE_DESTROYED)
        mount.state = Mount::STATE_BUSY;
}

uint16_t Room(uint16_t whole, uint16_t used, uint16_t moving)
{
    const uint32_t taken = uint32_t{used} + moving;
    return taken < whole ? static_cast<uint16_t>(whole - taken) : uint16_t{0};
}

bool TransferFromMagazines(Mount& mount, Mount::MountList& magazines, uint32_t value)
{
    if (mount.state != Mount::STATE_BUSY && !(mount.state == Mount::STATE_READY && mount.transferBlock == 0))
        return false;
    const Unit* owner = OwnerUnit(mount);
    bool started = false;
    for (Mount* magazine = magazines.First(); magazine != nullptr; magazine = magazine->GetNext()) {
        for (WeaponRec* source = magazine->weapons.First(); source != nullptr; source = source->GetNext()) {
            for (WeaponRec* into = mount.weapons.First(); into != nullptr; into = into->GetNext()) {
                if (into->weaponID != source->weaponID || Annex::FindWeapon(into->weaponID) == nullptr)
                    continue;
                const uint16_t amount = std::min({Room(into->secondValue, into->shotsLeft, into->thirdValue),
                                                  Room(mount.emptySpace, 0, mount.inTransfer),
                                                  Room(source->shotsLeft, 0, source->thirdValue)});
                if (amount == 0)
                    continue;
                RoundTransferOrder order;
                order.amount = amount;
                order.mountID = mount.GetKey();
                order.weaponRecID = into->GetKey();
                order.unitID = owner != nullptr ? owner->GetID() : uint16_t{0};
                order.magazineID = magazine->GetKey();
                order.sourceRecID = source->GetKey();
                order.passedValue = value;
                const int32_t delay = source->fireInterval >= 0 ? source->fireInterval
                                                                : -PERIOD_SECONDS * source->fireInterval;
                order.due = GameTime(gam2arena::GetGameTime() + static_cast<uint32_t>(delay));
                WeaponFire::PostReload(order);
                mount.inTransfer = static_cast<uint16_t>(mount.inTransfer + amount);
                into->thirdValue = static_cast<uint16_t>(into->thirdValue + amount);
                magazine->inTransfer = static_cast<uint16_t>(magazine->inTransfer + amount);
                source->thirdValue = static_cast<uint16_t>(source->thirdValue + amount);
                MarkBusy(*magazine);
                MarkBusy(mount);
                started = true;
            }
        }
    }
    return started;
}

// The reach of every weapon record against the mask, capped for surface
// targets of a guided weapon by the owner's horizon; `keep` picks the one
// kept.
template <typename Keep>
uint16_t Reach(const Mount& mount, uint32_t targetMask, Keep keep)
{
    uint16_t result = 0;
    if (mount.state != Mount::STATE_READY)
        return 0;
    const Unit* owner = OwnerUnit(mount);
    const uint32_t cap = uint32_t{owner != nullptr ? owner->GetHorizon() : uint16_t{0}} * 10 + 320;
    for (const WeaponRec* weapon = mount.weapons.First(); weapon != nullptr; weapon = weapon->GetNext()) {
        uint32_t reach = weapon->GetMaxRange(targetMask);
        if (reach == 0)
            continue;
        const WeaponAnnex* record = Annex::FindWeapon(weapon->weaponID);
        if ((targetMask & SURFACE_CLASSES) != 0 && record != nullptr && (record->weaponFlags & NEEDS_GUIDANCE) != 0)
            reach = std::min(reach, cap);
        result = keep(result, static_cast<uint16_t>(std::min<uint32_t>(reach, UINT16_MAX)));
    }
    return result;
}

uint16_t GetLongestReach(const Mount& mount, uint32_t targetMask)
{
    return Reach(mount, targetMask, [](uint16_t kept, uint16_t reach) { return std::max(kept, reach); });
}

uint16_t GetShortestReach(const Mount& mount, uint32_t targetMask)
{
    return Reach(mount, targetMask,
                 [](uint16_t kept, uint16_t reach) { return kept == 0 ? reach : std::min(kept, reach); });
}

int32_t SumWeaponRatings(const Mount& mount, uint32_t targetMask, uint8_t flag)
{
    if (mount.state != Mount::STATE_READY)
        return 0;
    int32_t sum = 0;
    for (const WeaponRec* weapon = mount.weapons.First(); weapon != nullptr; weapon = weapon->GetNext())
        sum += static_cast<int32_t>(weapon->CanFireAt(targetMask, flag != 0));
    return sum;
}

bool FireWeapon(Mount& mount, uint32_t targetValue, const NavVector& toTarget, TimedRecord& record,
                int32_t targetCourse, uint16_t targetSpeed)
{
    WeaponRec* weapon = mount.weapons.Find(record.weaponRecKey);
    return weapon != nullptr && weapon->CanEngage(targetValue, toTarget, record, targetCourse, targetSpeed, mount);
}

void QueryEngagements(Mount& mount, const Mount::EngagementQuery& query, const LatLonPoint& targetPosition)
{
    if (mount.state != Mount::STATE_READY || query.chain == nullptr)
        return;
    const Unit* owner = OwnerUnit(mount);
    const uint16_t firingID = owner != nullptr ? owner->GetID() : query.firingID;
    for (WeaponRec* weapon = mount.weapons.First(); weapon != nullptr; weapon = weapon->GetNext())
        weapon->BuildEngagement(query.targetMask, query.toTarget, *query.chain, mount, firingID,
                                query.targetID, query.targetCourse, query.targetSpeed, targetPosition,
                                query.rejectMask);
}

uint8_t PointDefenseShot(Mount& mount, TimedRecord& record, uint8_t count, uint16_t sectorMask, std::ostream* log)
{
    const bool inArc = (mount.arcMask & sectorMask) != 0;
    WeaponRec* weapon = mount.weapons.Find(record.weaponRecKey);
    if (weapon == nullptr)
        return 0;
    int32_t offered = std::min<int32_t>(static_cast<int8_t>(record.quantity), mount.roundsReady);
    offered = std::min<int32_t>(offered, weapon->GetReadyShots());
    int8_t kills = 0;
    const uint8_t used = weapon->FirePointDefense(&mount, record.idD, inArc, static_cast<int8_t>(count),
                                                  static_cast<int8_t>(offered), kills, log);
    mount.roundsReady = static_cast<int8_t>(mount.roundsReady - used);
    mount.emptySpace = static_cast<uint16_t>(mount.emptySpace + used);
    return kills != 0 ? uint8_t{1} : uint8_t{0};
}

bool Launch(Mount& mount, TimedRecord& record)
{
    WeaponRec* weapon = mount.weapons.Find(record.weaponRecKey);
    if (weapon == nullptr || weapon->shotsLeft == 0)
        return true;
    uint8_t launched = 0;
    if (record.idD == 0) {
        launched = mount.LaunchAtPosition(record.position, *weapon, record.quantity, 1, 0);
    } else {
        launched = mount.LaunchAtUnit(record, *weapon);
        if (launched != 0) {
            const Unit* owner = OwnerUnit(mount);
            if (Unit* target = gam2arena::FindUnit(record.idD); target != nullptr && owner != nullptr)
                target->NoteHostileAct(owner->GetID());
        }
    }
    if (launched == 0)
        return record.quantity == 0;
    // The one decrease of the ready rounds for a launch: the launches at a
    // position or a unit leave the counter to this step.
    mount.roundsReady = static_cast<int8_t>(mount.roundsReady - launched);
    mount.emptySpace = static_cast<uint16_t>(mount.emptySpace + launched);
    if (launched < record.quantity) {
        record.quantity = static_cast<uint8_t>(record.quantity - launched);
        return false;
    }
    return true;
}

// The sensors' guidance of a weapon is not modelled yet: a weapon that
// needs no guidance passes, any other finds no sensor.
bool FindGuidance(Mount& /*mount*/, uint16_t targetID, const WeaponAnnex& weapon, uint8_t /*mode*/,
                  uint16_t& outMountID, uint16_t& outSensorID, uint8_t /*sensorValue*/, uint8_t /*shortTime*/)
{
    if ((weapon.weaponFlags & NEEDS_GUIDANCE) == 0)
        return true;
    outMountID = 0;
    outSensorID = 0;
    (void)targetID;
    return false;
}
}  // namespace

void InstallMountOperations()
{
    Mount::Operations operations;
    operations.reload = &Reload;
    operations.transferFromMagazines = &TransferFromMagazines;
    operations.getLongestReach = &GetLongestReach;
    operations.getShortestReach = &GetShortestReach;
    operations.sumWeaponRatings = &SumWeaponRatings;
    operations.fireWeapon = &FireWeapon;
    operations.launch = &Launch;
    operations.queryEngagements = &QueryEngagements;
    operations.pointDefenseShot = &PointDefenseShot;
    operations.findGuidance = &FindGuidance;
    operations.launchAtPosition = &MountLaunch::AtPosition;
    operations.launchAtUnit = &MountLaunch::AtUnit;
    operations.roundCountersEqual = Mount::SetOperations({}).roundCountersEqual;
    Mount::SetOperations(operations);
    PlaneRecCalls records = SetPlaneRecCalls(PlaneRecCalls());
    records.canFireAt = [](const WeaponRec& record, uint32_t targetMask, bool allowGuns) {
        return record.CanFireAt(targetMask, allowGuns);
    };
    records.launchStrike = &LaunchAircraft;
    SetPlaneRecCalls(records);
    InstallWeaponFlight();
}

void UninstallMountOperations()
{
    Mount::SetOperations(Mount::Operations{});
    PlaneRecCalls records = SetPlaneRecCalls(PlaneRecCalls());
    records.canFireAt = nullptr;
    records.launchStrike = nullptr;
    SetPlaneRecCalls(records);
    UninstallWeaponFlight();
}
