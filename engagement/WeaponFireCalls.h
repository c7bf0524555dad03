// WeaponFireCalls.h: what weapon fire asks of the layers above the
// engagement model: the events it posts (a new weapon unit 0x06, gun fire
// 0x48, the transfer of rounds 0x12), the victory conditions' count of
// weapons spent, and the player's cues (launch and point-defence
// animations, sounds), plus the user options and INI settings that gate the
// point-defence lines and the cues. The owners install them at start-up
// (SetWeaponFireCalls, SetWeaponFireSettings); until then no event is made
// (a launch or gun burst then only spends its rounds), nothing is counted
// and nothing is shown. The calls keep the names of the operations they
// stand for.
#pragma once

#include <cstdint>

#include "core/Event.h"
#include "core/GameTime.h"
#include "core/LatLonPoint.h"

class PositionNode;
class WeaponAnnex;

// What a new-unit event carries for one weapon launched.
struct NewWeaponOrder {
    uint8_t side = 0;
    uint16_t weaponID = 0;
    uint16_t count = 1;
    PositionNode* path = nullptr;   // the weapon's path chain, handed over
    uint16_t launcherID = 0;
    uint16_t targetID = 0;
    uint16_t guideMountID = 0;      // the two out values of the guidance search
    uint16_t guideSensorID = 0;
    uint16_t aimValue = 0;
    GameTime due;
};

// What a transfer (reload) event carries: rounds moved from a magazine's
// weapon record into a mount's.
struct RoundTransferOrder {
    uint16_t amount = 0;
    uint16_t mountID = 0;
    uint16_t weaponRecID = 0;
    uint16_t unitID = 0;
    uint16_t value0 = 0;
    uint16_t magazineID = 0;
    uint16_t sourceRecID = 0;
    uint32_t passedValue = 0;
    uint16_t value1 = 1;
    GameTime due;
};

struct WeaponFireCalls {
    // New events, owned by the caller; null when the class cannot be made
    // (the new-unit event then leaves the path to the caller).
    Event* (*makeNewUnitEvent)(const NewWeaponOrder& order) = nullptr;
    Event* (*makeGunFireEvent)(uint16_t weaponID, uint16_t targetID, uint16_t firingID, uint8_t count) = nullptr;
    Event* (*makeReloadEvent)(const RoundTransferOrder& order) = nullptr;
    // unit2gam::CheckVictoryConditions2: weapons of a side spent.
    void (*checkVictoryConditions2)(uint8_t side, uint16_t weaponID, char letter, uint16_t count) = nullptr;
    // The rules-of-engagement records that the victory manager of side
    // number `side` keeps, for a launch and for a hit alike:
    // VictoryManager::RecordViolation (whether `otherSide` is hostile toward
    // `side`, the violated unit, the violating unit) and RecordUnitEvent, a
    // friendly-fire event naming the two units.
    void (*recordViolation)(uint16_t side, bool hostile, uint16_t otherSide, uint16_t violatedID,
                            uint16_t violatingID) = nullptr;
    void (*recordUnitEvent)(uint16_t side, uint16_t otherSide, uint16_t unitID, uint16_t otherUnitID) = nullptr;
    // game2ui::IsContactOfPlayer.
    bool (*isContactOfPlayer)(uint16_t unitID) = nullptr;
    // gam2anim::ShowWeaponFire and ShowWeaponAnimation with the light at a
    // position; sndlink::PlaySound.
    void (*showWeaponFire)(char letter, const WeaponAnnex& weapon, const LatLonPoint& at) = nullptr;
    void (*showWeaponAnimation)(char letter, const WeaponAnnex& weapon, const LatLonPoint& at) = nullptr;
    void (*playSound)(int32_t resource) = nullptr;
    // Nav2Game::PointValidForType (the map's own test without the call).
    bool (*pointValidForType)(const LatLonPoint& point, int16_t type) = nullptr;
    // gam2arena::GetArenaStateWord: the arena's step value (0 without it).
    uint16_t (*getArenaStateWord)() = nullptr;
};

// User options (AALog, ShowPointDefense, ExtraShortPointDefense,
// ExtraVerbosePointDefense, UseNukes) and INI settings (WeaponLaunch,
// PointDefense); all off until set.
struct WeaponFireSettings {
    bool aaLog = false;
    bool showPointDefense = false;
    bool extraShortPointDefense = false;
    bool extraVerbosePointDefense = false;
    bool useNukes = false;
    bool weaponLaunch = false;
    bool pointDefense = false;
};

// Installs the calls or settings; each answers the ones it replaces.
WeaponFireCalls SetWeaponFireCalls(const WeaponFireCalls& calls);
WeaponFireSettings SetWeaponFireSettings(const WeaponFireSettings& settings);
const WeaponFireCalls& GetWeaponFireCalls();
const WeaponFireSettings& GetWeaponFireSettings();

namespace WeaponFire {
// The calls above, each doing nothing (or answering false, 0, null) without
// its installed call; PointValidForType then asks the map. PostNewUnit
// posts the event or, without one, deletes the path; PostEvent posts or
// deletes.
void PostNewUnit(const NewWeaponOrder& order);
void PostGunFire(uint16_t weaponID, uint16_t targetID, uint16_t firingID, uint8_t count);
bool PostReload(const RoundTransferOrder& order);
void CheckVictoryConditions2(uint8_t side, uint16_t weaponID, char letter, uint16_t count);
void RecordViolation(uint16_t side, bool hostile, uint16_t otherSide, uint16_t violatedID, uint16_t violatingID);
void RecordUnitEvent(uint16_t side, uint16_t otherSide, uint16_t unitID, uint16_t otherUnitID);
bool IsContactOfPlayer(uint16_t unitID);
void ShowWeaponFire(char letter, const WeaponAnnex& weapon, const LatLonPoint& at);
void ShowWeaponAnimation(char letter, const WeaponAnnex& weapon, const LatLonPoint& at);
void PlaySound(int32_t resource);
bool PointValidForType(const LatLonPoint& point, int16_t type);
uint16_t GetArenaStateWord();
}  // namespace WeaponFire
