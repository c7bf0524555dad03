// PlaneRec.h: PlaneRec, an aircraft record (aircraft of one type and loadout
// held by a ship, facility or group and not flying as units), PlaneRecList,
// the keyed list of them a holder embeds, and Waypoint, the request by which
// a station asks a holder to launch aircraft from one of its records. What
// the stations need of them is here; arming and readiness are the holder's.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class StationRecord;

// A launch request: one aircraft of a type from a holder's record, armed
// with a loadout. In memory only.
struct Waypoint {
    uint16_t planeRecID = 0;     // key of the record in the holder's list
    uint16_t holderID = 0;       // unit that holds the record
    uint8_t flag = 0;            // 1: a launch for a station
    uint16_t aircraftType = 0;   // plane.dat record
    uint16_t loadout = 0;        // loadout.dat record
};

class PlaneRec : public TreeListNode<PlaneRec> {
public:
    // All of these bits mark a record whose aircraft are ready to fly.
    static constexpr uint32_t READY_FLAGS = 0x107;
    // Capability bits the stations ask for.
    static constexpr uint32_t CAN_DIP = 0x4;         // for mission 2: dipping sonar
    static constexpr uint32_t CAN_LAY_BUOYS = 0x2;   // may stand in for another type

    // Key 0, every field 0, no station.
    PlaneRec() = default;
    explicit PlaneRec(uint16_t key) : TreeListNode<PlaneRec>(key) {}
    virtual ~PlaneRec();

    PlaneRec(const PlaneRec&) = delete;
    PlaneRec& operator=(const PlaneRec&) = delete;

    // True when every bit of mask is set in the flag word.
    bool HasFlags(uint32_t mask) const { return (flags & mask) == mask; }
    // The capability bits of the aircraft type for a mission or role number
    // (from the bridge; 0 without it).
    uint32_t GetCapability(uint16_t mission) const;
    // Starts the record toward a state code. Only the code is kept here; the
    // arming it stands for belongs to the holder.
    void SetReadyState(uint32_t state, uint8_t notify, uint16_t minutes);
    // Replaces the record's station by a copy of `source` (a new station of
    // its kind); null leaves none.
    void SetStation(const StationRecord* source);
    const StationRecord* GetStation() const { return station; }

    // Saved form, little-endian:
    //   key u16, flags u32, planeAnnexID u16, unitID u16, count u8,
    //   loadoutID u16, missionID u16, onStation u8
    // Load on a short read fails the stream and answers false.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    uint32_t flags = 0;           // READY_FLAGS and further state bits
    uint16_t planeAnnexID = 0;    // aircraft type, plane.dat record
    uint16_t unitID = 0;          // the holding unit
    uint8_t count = 0;            // aircraft in the record
    uint16_t loadoutID = 0;       // loadout.dat record; 0 none
    uint16_t missionID = 0;       // the mission the aircraft serve; 1: not assigned
    uint8_t onStation = 0;        // non-zero: taken for a station, not free
    uint32_t readyState = 0;      // the state code last asked for

private:
    StationRecord* station = nullptr;   // owned; a station assignment
};

class PlaneRecList : public SavedTreeListOf<PlaneRec> {
public:
    // True when the record the request names holds an aircraft of the
    // requested type ready to fly. The aircraft stay in the record: the
    // launch event takes them. `notify` is kept for the holder's mission.
    bool TakePlanes(const Waypoint& request, uint8_t notify);
};
