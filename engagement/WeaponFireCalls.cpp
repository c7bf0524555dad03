// WeaponFireCalls.cpp: the installed calls of weapon fire and their
// defaults.
#include "engagement/WeaponFireCalls.h"

#include "units/PositionNode.h"
#include "units/UnitEvents.h"
#include "world/Nav2Game.h"

namespace {
WeaponFireCalls gCalls;
WeaponFireSettings gSettings;
}  // namespace

WeaponFireCalls SetWeaponFireCalls(const WeaponFireCalls& calls)
{
    const WeaponFireCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

WeaponFireSettings SetWeaponFireSettings(const WeaponFireSettings& settings)
{
    const WeaponFireSettings previous = gSettings;
    gSettings = settings;
    return previous;
}

const WeaponFireCalls& GetWeaponFireCalls()
{
    return gCalls;
}

const WeaponFireSettings& GetWeaponFireSettings()
{
    return gSettings;
}

namespace WeaponFire {

void PostNewUnit(const NewWeaponOrder& order)
{
    Event* const event = gCalls.makeNewUnitEvent != nullptr ? gCalls.makeNewUnitEvent(order) : nullptr;
    if (event == nullptr) {
        PositionNode* path = order.path;
        DeletePositionNodes(&path);
        return;
    }
    PostOrDrop(event);
}

void PostGunFire(uint16_t weaponID, uint16_t targetID, uint16_t firingID, uint8_t count)
{
    if (gCalls.makeGunFireEvent != nullptr)
        PostOrDrop(gCalls.makeGunFireEvent(weaponID, targetID, firingID, count));
}

bool PostReload(const RoundTransferOrder& order)
{
    Event* const event = gCalls.makeReloadEvent != nullptr ? gCalls.makeReloadEvent(order) : nullptr;
    if (event == nullptr)
        return false;
    event->SetTime(order.due);
    PostOrDrop(event);
    return true;
}

void CheckVictoryConditions2(uint8_t side, uint16_t weaponID, char letter, uint16_t count)
{
    if (gCalls.checkVictoryConditions2 != nullptr)
        gCalls.checkVictoryConditions2(side, weaponID, letter, count);
}

void RecordViolation(uint16_t side, bool hostile, uint16_t otherSide, uint16_t violatedID, uint16_t violatingID)
{
    if (gCalls.recordViolation != nullptr)
        gCalls.recordViolation(side, hostile, otherSide, violatedID, violatingID);
}

void RecordUnitEvent(uint16_t side, uint16_t otherSide, uint16_t unitID, uint16_t otherUnitID)
{
    if (gCalls.recordUnitEvent != nullptr)
        gCalls.recordUnitEvent(side, otherSide, unitID, otherUnitID);
}

bool IsContactOfPlayer(uint16_t unitID)
{
    return gCalls.isContactOfPlayer != nullptr && gCalls.isContactOfPlayer(unitID);
}

void ShowWeaponFire(char letter, const WeaponAnnex& weapon, const LatLonPoint& at)
{
    if (gCalls.showWeaponFire != nullptr)
        gCalls.showWeaponFire(letter, weapon, at);
}

void ShowWeaponAnimation(char letter, const WeaponAnnex& weapon, const LatLonPoint& at)
{
    if (gCalls.showWeaponAnimation != nullptr)
        gCalls.showWeaponAnimation(letter, weapon, at);
}

void PlaySound(int32_t resource)
{
    if (gCalls.playSound != nullptr)
        gCalls.playSound(resource);
}

bool PointValidForType(const LatLonPoint& point, int16_t type)
{
    return gCalls.pointValidForType != nullptr ? gCalls.pointValidForType(point, type)
                                               : Nav2Game::PointValidForType(type, point);
}

uint16_t GetArenaStateWord()
{
    return gCalls.getArenaStateWord != nullptr ? gCalls.getArenaStateWord() : 0;
}

}  // namespace WeaponFire
