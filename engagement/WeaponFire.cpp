// WeaponFire.cpp: a weapon record fires a salvo from its mount: one gun
// burst for unguided fire, else one new weapon unit per shot along its own
// copy of the path; the shots are taken off the record, reported to the
// victory conditions, shown to the player, and the target learns who fired.
#include <string>

#include "annex/AnnexTables.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/ErrorReport.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "engagement/WeaponFireCalls.h"
#include "units/Mount.h"
#include "units/PositionNode.h"
#include "units/Unit.h"
#include "units/Weapon.h"

namespace {
constexpr int32_t NO_MOUNT_TEXT = 0x7B0262;
constexpr uint32_t NEW_WEAPON_AIM_KINDS = 0x110;

// Kinds that fire without taking from the ready shots.
bool UsesNoReadyShots(uint32_t kind)
{
    return kind == 2 || kind == 4 || kind == 0x20 || kind == 0x100 || kind == WEAPON_KIND_DECOY;
}

void ReportNoMount()
{
    std::string text = "WeaponRec::Fire: no mount";
    if (TheResourceLoader != nullptr) {
        if (const char* resource = TheResourceLoader->Get(NO_MOUNT_TEXT))
            text = resource;
        TheResourceLoader->Free(NO_MOUNT_TEXT);
    }
    FatalError(text.c_str());
}
}  // namespace

void WeaponRec::Fire(uint16_t aim, Mount* mount, uint8_t count, uint8_t side, PositionNode* path, Unit* target)
{
    if (mount == nullptr) {
        ReportNoMount();
        DeletePositionNodes(&path);
        return;
    }
    Unit* firing = dynamic_cast<Unit*>(mount->GetOwner());
    const uint16_t firingID = firing != nullptr ? firing->GetID() : uint16_t{0};
    const uint16_t targetID = target != nullptr ? target->GetID() : uint16_t{0};
    WeaponAnnex* weapon = Annex::FindWeapon(weaponID);
    uint16_t guideMount = 0;
    uint16_t guideSensor = 0;
    if (weapon != nullptr && mount->FindGuidance(targetID, *weapon, 1, guideMount, guideSensor, count, 0)) {
        if (!weapon->prepared)
            weapon->PrepareFlight();
        const uint32_t kind = weapon->GetWeaponKind();
        if (!weapon->guided && kind != 0x100 && kind != WEAPON_KIND_DECOY) {
            WeaponFire::PostGunFire(weaponID, targetID, firingID, count);
        } else {
            const bool takesAim = kind != WEAPON_KIND_DECOY
                                  && (weapon->GetTargetMask() == DECOY_TARGET_MASK
                                      || (kind & NEW_WEAPON_AIM_KINDS) != 0);
            NewWeaponOrder order;
            order.side = side;
            order.weaponID = weaponID;
            order.launcherID = firingID;
            order.targetID = targetID;
            order.guideMountID = guideMount;
            order.guideSensorID = guideSensor;
            order.aimValue = takesAim ? aim : uint16_t{0};
            order.due = GameTime(gam2arena::GetGameTime());
            for (uint8_t shot = 0; shot < count; ++shot) {
                order.path = PositionNode::CopyChain(path);
                WeaponFire::PostNewUnit(order);
                if (fireInterval > 0)
                    order.due = GameTime(order.due.Get() + static_cast<uint32_t>(fireInterval));
            }
        }
        if (!UsesNoReadyShots(kind))
            readyShots = static_cast<int8_t>(readyShots - count);
        if (count != 0) {
            const uint16_t spent = shotsLeft < count ? shotsLeft : uint16_t{count};
            shotsLeft = static_cast<uint16_t>(shotsLeft - spent);
            WeaponFire::CheckVictoryConditions2(side, weaponID, Weapon::TYPE_LETTER, spent);
        }
        if (firing != nullptr && GetWeaponFireSettings().weaponLaunch && WeaponFire::IsContactOfPlayer(firingID))
            WeaponFire::ShowWeaponFire(firing->GetTypeLetter(), *weapon, firing->GetPosition());
        if (target != nullptr)
            target->NoteHostileAct(firingID);
    }
    DeletePositionNodes(&path);
}
