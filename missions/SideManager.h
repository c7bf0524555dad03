// SideManager.h: SideManager, the owner of every Side of a running scenario:
// the relation queries between sides, the player's side, the sweep that steps
// every side once per Arena step, and the side section of the scenario and
// saved-game file. InstallSideManagerCalls points the unit model's and the
// contact records' side calls at one manager.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "core/SavedTreeListOf.h"
#include "missions/Side.h"

class AreaPolygonList;
class VictoryManager;

class SideManager {
public:
    // Text of the fatal error box of a relation query for a missing side.
    static constexpr int32_t TEXT_NO_SIDE = 0x7B0251;

    // States of the sweep.
    static constexpr uint16_t UPDATE_START = 0;
    static constexpr uint16_t UPDATE_SIDES = 1;
    static constexpr uint16_t UPDATE_CONTACTS = 2;

    // Update state 0, an empty side list, no player side.
    SideManager();
    // Deletes every side.
    ~SideManager();
    SideManager(const SideManager&) = delete;
    SideManager& operator=(const SideManager&) = delete;

    Side* GetFirstSide() const { return sides->First(); }
    Side* GetSide(uint16_t id) const { return sides->Find(id); }
    Side* GetPlayerSide() const { return playerSide; }
    // 0 when there is no player side.
    uint16_t GetPlayerSideID() const { return playerSide ? playerSide->GetID() : 0; }
    // The player side becomes side (not null); the contact picture of its
    // focus unit becomes the Arena's current picture.
    void SetPlayerSide(Side* side);
    // Null when the side is absent.
    VictoryManager* GetSideVictoryManager(uint16_t id) const;
    AreaPolygonList* GetSideRecord(uint16_t id) const;
    uint16_t GetUpdateState() const { return updateState; }
    Side* GetUpdateCursor() const { return cursor; }

    // The relation of side a toward side b is hostile (1), friendly (2) or
    // neutral (3). A missing side a goes to the fatal error box (TEXT_NO_SIDE)
    // and answers false.
    bool AreHostile(uint16_t a, uint16_t b) const;
    bool AreFriendly(uint16_t a, uint16_t b) const;
    bool AreNeutral(uint16_t a, uint16_t b) const;

    // Inserts the side (owned from then on; null does nothing) and gives it
    // and every other side a neutral relation record toward each other.
    void AddSide(Side* side);
    // Releases the side's mission units, deletes the side, makes the first
    // remaining side the player's and drops every relation toward it; false
    // when absent. Removing the side the sweep is at restarts the sweep.
    bool RemoveSide(uint16_t id);

    // One step of the sweep (0 start, 1 one side's step, 2 contact pass);
    // true when the sweep is complete. Step 0 skips the contact pass.
    bool Update(uint16_t step);
    // Side::RandomizeStartPositions on every side in id order.
    void RandomizeStartPositions();

    // Side section, little-endian:
    //   sides          u16 count, then each Side record in id order
    //   player side    u16 id, 0 for none
    //   update state   u16 (0, 1 or 2)
    //   cursor         u16 side id, only when the update state is 1
    void Save(std::ostream& out) const;
    // Reads the section; the sides join those already held only when the
    // whole section was read: a section cut short or damaged leaves the
    // stream failed, the manager as it was and the answer false. A player
    // id naming no side gives no player side; a cursor naming no side
    // restarts the sweep; an update state above 2, or a side whose id is
    // repeated in the section or already held, is damage.
    bool Load(std::istream& in);

private:
    // The relation of a toward b; a missing side a is the fatal error.
    uint8_t RelationOf(uint16_t a, uint16_t b) const;
    // Whether a side read repeats an id of the sides read or held: damage,
    // since two sides of one id would share every relation and lookup.
    bool HoldsRepeatedID(const SavedTreeListOf<Side>& read) const;
    // The contact pass: the current picture reports its changes to the
    // player, then every picture cleans up its contacts.
    void UpdatePictures() const;

    std::unique_ptr<SavedTreeListOf<Side>> sides;
    uint16_t updateState = UPDATE_START;
    Side* playerSide = nullptr;
    Side* cursor = nullptr;
};

// Points the side calls of the unit model, the contact records and the
// missions (relations, base names, whether a side exists, the side of an id)
// and the victory bookkeeping (the sides, their victory managers and names)
// at manager, keeping the other calls of each table; null takes them away.
void InstallSideManagerCalls(SideManager* manager);
