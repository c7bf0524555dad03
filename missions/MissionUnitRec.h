// MissionUnitRec.h: MissionUnitRec, the record of one unit in a mission (its
// duty state, target, leader and home mission), and MissionUnitList, the
// saved keyed list of them that every mission holds.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

// Duty states of a unit in a mission that the mission base reads or sets.
// The mission types add their own codes.
namespace MissionUnitState {
constexpr int16_t ADDED = 0;        // just added
constexpr int16_t IDLE = 1;
constexpr int16_t ON_DUTY = 3;
constexpr int16_t ENGAGING = 6;     // on duty, engaging contacts
constexpr int16_t DONE = 10;        // the unit has left its duty
constexpr int16_t WAITING = 12;     // waits for aircraft launched in its place
constexpr int16_t STATIONED = 13;   // air bases and facilities when they join
constexpr int16_t ORDERED = 19;     // ordered to engage a contact
} // namespace MissionUnitState

// markBits
constexpr uint8_t UNIT_POSTURE_APPLIED = 0x1;
constexpr uint8_t UNIT_USER_SENSORS = 0x8;

class MissionUnitRec : public TreeListNode<MissionUnitRec> {
public:
    // The loader's record: key 0 and the defaults below.
    MissionUnitRec() = default;
    explicit MissionUnitRec(uint16_t unitID) : TreeListNode<MissionUnitRec>(unitID) {}
    // Copies the key and all eleven fields; the copy is in no list.
    MissionUnitRec(const MissionUnitRec& other) = default;
    MissionUnitRec& operator=(const MissionUnitRec&) = delete;
    ~MissionUnitRec() override = default;

    uint16_t GetUnitID() const { return GetKey(); }

    // Stores state, target and target class, clears UNIT_POSTURE_APPLIED and
    // removes the unit's queued set-sensors, set-altitude, set-speed and
    // mission-unit events.
    void ChangeState(int16_t newState, uint16_t newTargetID, uint32_t newTargetClass);
    // The same store without touching the event queue.
    void SetState(int16_t newState, uint16_t newTargetID, uint32_t newTargetClass);
    // Removes the four event types of ChangeState.
    void DropQueuedEvents() const;
    // Removes the unit's queued set-sensors events only.
    void DropSensorEvents() const;
    // Gives up the target: WAITING becomes DONE, DONE stays, any other state
    // becomes ADDED; posture mark, target id and class are cleared; a
    // homeMission of 1 becomes missionID.
    void ClearTarget(uint16_t missionID);
    void SaveGroup() { savedLeaderID = leaderID; }
    void ClearSavedGroup() { savedLeaderID = 0; }

    // Saved form, little-endian, 24 bytes:
    //   unit id u16 (the key), firstWord u16, state i16, thirdWord u16,
    //   memberCount u16, leaderID u16, isFormation u8, markBits u8,
    //   targetID u16, targetClass u32, homeMission u16, savedLeaderID u16
    // Load on a short read leaves the stream failed.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

    uint16_t firstWord = 0;         // kept for the mission types and windows
    int16_t state = MissionUnitState::ADDED;
    uint16_t thirdWord = 10;        // kept for the mission types and windows
    uint16_t memberCount = 0;       // what this record adds to its leader's record
    uint16_t leaderID = 0;          // the unit's group or base, 0 for none
    uint8_t isFormation = 0;        // 1 for groups, air groups and air bases
    uint8_t markBits = 0;           // UNIT_POSTURE_APPLIED, UNIT_USER_SENSORS
    uint16_t targetID = 0;          // target contact or unit
    uint32_t targetClass = 0;       // class bits of the target
    uint16_t homeMission = 1;       // mission the unit goes back to
    uint16_t savedLeaderID = 0;     // leaderID kept by SaveGroup
};

// The unit records of a mission, keyed by unit id. Saved form: u16 count,
// then each record in key order.
class MissionUnitList : public SavedTreeListOf<MissionUnitRec> {
public:
    MissionUnitList() = default;
    ~MissionUnitList() override = default;
};
