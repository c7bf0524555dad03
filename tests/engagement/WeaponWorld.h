// WeaponWorld.h: what the weapon-fire tests run in: the contact world with
// a weapon annex (a gun, a missile, a decoy, a bomb, a torpedo), a firing
// ship carrying one mount, the mount operations installed, and the
// weapon-fire calls recording the events, victory reports and cues.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ContactWorld.h"
#include "annex/AnnexTables.h"
#include "engagement/MountOperations.h"
#include "engagement/WeaponFireCalls.h"
#include "units/Mount.h"
#include "units/PositionNode.h"

namespace weapontest {

constexpr uint16_t GUN = 1, MISSILE = 2, DECOY = 3, BOMB = 4, TORPEDO = 5, SAM = 6, LINKED = 7;
constexpr uint16_t SHIP = 100, INCOMING = 200;

struct Spent {
    uint8_t side;
    uint16_t weaponID;
    char letter;
    uint16_t count;
};

class WeaponWorld : public contacttest::ContactWorld {
public:
    WeaponWorld()
    {
        Self() = this;
        Annex::Tables().Create();
        auto* blast = new WarheadAnnex(1);
        blast->warheadType = 0x20;
        blast->damage = 200;
        blast->count = 4;
        Annex::Tables().Warheads()->Insert(blast);
        AddWeapon(GUN, 8, 0x1, 0, 40);
        AddWeapon(MISSILE, 1, 0x1, 0, 1000).warheadIDs.Insert(new IDNode(1));
        AddWeapon(DECOY, WEAPON_KIND_DECOY, 0x3, 0, 0);
        AddWeapon(BOMB, 2, 0x1, 0, 20);
        AddWeapon(TORPEDO, 16, 0x2, 0, 100);
        AddWeapon(SAM, 1, 0x8, 0, 100);
        AddWeapon(LINKED, 4, 0x1, 0, 100).commIDs.Insert(new IDNode(9));
        auto* comm = new CommAnnex(9);
        comm->commType = 5;
        Annex::Tables().Comms()->Insert(comm);

        WeaponFireCalls calls;
        calls.makeNewUnitEvent = [](const NewWeaponOrder& order) -> Event* {
            Self()->launched.push_back(order);
            Self()->pathLengths.push_back(CountNodes(order.path));
            return nullptr;   // no event: the path goes back to the caller
        };
        calls.makeGunFireEvent = [](uint16_t weaponID, uint16_t, uint16_t, uint8_t count) -> Event* {
            Self()->gunBursts.push_back({0, weaponID, 'G', count});
            return nullptr;
        };
        calls.makeReloadEvent = [](const RoundTransferOrder& order) -> Event* {
            Self()->transfers.push_back(order);
            return nullptr;
        };
        calls.checkVictoryConditions2 = [](uint8_t side, uint16_t weaponID, char letter, uint16_t count) {
            Self()->spent.push_back({side, weaponID, letter, count});
        };
        calls.isContactOfPlayer = [](uint16_t) { return true; };
        calls.playSound = [](int32_t resource) { Self()->sounds.push_back(resource); };
        calls.showWeaponFire = [](char letter, const WeaponAnnex&, const LatLonPoint&) {
            Self()->animations.push_back(std::string("fire ") + letter);
        };
        calls.showWeaponAnimation = [](char letter, const WeaponAnnex&, const LatLonPoint&) {
            Self()->animations.push_back(std::string("kill ") + letter);
        };
        calls.getArenaStateWord = []() -> uint16_t { return Self()->stateWord; };
        previousCalls = SetWeaponFireCalls(calls);
        previousSettings = SetWeaponFireSettings(WeaponFireSettings{});
        InstallMountOperations();

        ship = &AddUnit(SHIP, 'S', 0x1, LatLonPoint(0, 0));
        mount = new Mount(1);
        mount->SetOwner(ship);
        mount->fireInterval = 5;
        mount->roundsReady = 10;
        mount->arcMask = 0xFF;
        ship->mounts.Insert(mount);
    }
    ~WeaponWorld()
    {
        UninstallMountOperations();
        SetWeaponFireSettings(previousSettings);
        SetWeaponFireCalls(previousCalls);
        Annex::Tables().Delete();
        Self() = nullptr;
    }

    WeaponAnnex& AddWeapon(uint16_t id, uint32_t kind, uint32_t mask, uint16_t minRange, uint32_t maxRange)
    {
        auto* w = new WeaponAnnex(id);
        w->weaponKind = kind;
        w->targetMask = mask;
        w->minRange = minRange;
        w->maxRange = maxRange;
        w->className.Set(("Weapon " + std::to_string(id)).c_str());
        Annex::Tables().Weapons()->Insert(w);
        return *w;
    }
    WeaponAnnex& Record(uint16_t id) { return *Annex::Tables().Weapons()->Find(id); }
    WeaponRec& Load(uint16_t key, uint16_t weaponID, uint16_t shots, int8_t ready)
    {
        auto* rec = new WeaponRec(key);
        rec->weaponID = weaponID;
        rec->shotsLeft = shots;
        rec->readyShots = ready;
        mount->weapons.Insert(rec);
        return *rec;
    }
    static int CountNodes(const PositionNode* node)
    {
        int n = 0;
        for (; node != nullptr; node = node->GetNext())
            ++n;
        return n;
    }

    static WeaponWorld*& Self()
    {
        static WeaponWorld* self = nullptr;
        return self;
    }

    contacttest::FakeUnit* ship = nullptr;
    Mount* mount = nullptr;
    uint16_t stateWord = 0;
    std::vector<NewWeaponOrder> launched;
    std::vector<int> pathLengths;
    std::vector<Spent> gunBursts;
    std::vector<RoundTransferOrder> transfers;
    std::vector<Spent> spent;
    std::vector<int32_t> sounds;
    std::vector<std::string> animations;

private:
    WeaponFireCalls previousCalls;
    WeaponFireSettings previousSettings;
};

}  // namespace weapontest
