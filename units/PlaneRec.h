// PlaneRec.h: PlaneRec, an aircraft record (aircraft of one type and loadout
// held by a ship, facility or group and not flying as units), PlaneRecList,
// the keyed list of them a holder embeds, and Waypoint, the request by which
// a caller takes aircraft from one of a holder's records. The record's
// queries (size class, radius, reach, limits, weapons) read the aircraft
// type's plane.dat record; every change of the flags is told to the
// record's mission (PlaneRecBridge.h).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class LoadoutAnnex;
class PlaneAnnex;
class StationRecord;
class Unit;

// A request for aircraft from a holder's record: in, the record's key, the
// number wanted and the loadout they are to carry; out, the key of the
// record that holds them and the aircraft type. In memory only.
struct Waypoint {
    uint16_t planeRecID = 0;     // key of the record in the holder's list
    uint16_t holderID = 0;       // unit that holds the record
    uint8_t flag = 0;            // 1: a launch for a station
    uint16_t aircraftType = 0;   // plane.dat record (out)
    uint16_t loadout = 0;        // loadout.dat record
    uint8_t count = 1;           // aircraft wanted
};

class PlaneRec : public TreeListNode<PlaneRec> {
public:
    // All of these bits mark a record whose aircraft are ready to fly.
    static constexpr uint32_t READY_FLAGS = 0x10F;
    static constexpr uint32_t ARMING = 0x20;         // an arming is under way
    static constexpr uint32_t HARDENED = 0x100;      // spares the aircraft one hit on the ground
    static constexpr uint32_t ON_STATION = 0x2000;   // while onStation is set
    // Capability bits (GetCapabilities of kind 2).
    static constexpr uint32_t CAN_DIP = 0x4;         // a sonar
    static constexpr uint32_t CAN_LAY_BUOYS = 0x2;   // sonobuoys
    // The ready time an arming takes when its loadout names none (seconds).
    static constexpr uint32_t DEFAULT_ARMING_SECONDS = 1800;
    // The ready value the record operations and the missions pass.
    static constexpr uint16_t READY_VALUE = 30;

    // Key 0, every field 0, no station.
    PlaneRec() = default;
    explicit PlaneRec(uint16_t key) : TreeListNode<PlaneRec>(key) {}
    // Deletes the station and tells the mission the record is gone.
    virtual ~PlaneRec();

    PlaneRec(const PlaneRec&) = delete;
    PlaneRec& operator=(const PlaneRec&) = delete;

    // Flag changes, each told to the mission (gam2side::TellMission).
    void SetFlags(uint32_t bits);
    void ClearFlags(uint32_t bits);
    uint32_t GetFlags(uint32_t mask) const { return flags & mask; }
    // True when every bit of mask is set in the flag word.
    bool HasFlags(uint32_t mask) const { return (flags & mask) == mask; }
    // count = n; at 0 the ready bits go (told).
    void SetActive(uint8_t n);
    // With notify the mission is told of the change first.
    void SetMissionID(uint16_t id, bool notify);
    // Marks the aircraft taken for a station (0x2000) or free again; freed
    // aircraft that remain lose their station.
    void SetAssigned(uint8_t on);
    // Replaces the record's station by a copy of `source` (a new station of
    // its kind); null leaves none.
    void SetStation(const StationRecord* source);
    const StationRecord* GetStation() const { return station; }
    void SetAirGroupID(uint16_t id) { airGroupID = id; }
    void SetSizeFactor(uint8_t factor) { sizeFactor = factor; }
    void SetReadyTime(uint32_t time) { readyTime = time; }
    void SetStateTime(uint32_t time) { stateTime = time; }

    // The aircraft type's record; null when it is missing.
    const PlaneAnnex* FindType() const;
    // The type's flag word; 0 when the type is missing.
    uint32_t GetAnnexFlags() const;
    // The hangar size class of the type: 1, 2, 4, 8 ... 128 by the landing
    // place it needs; 0 without one.
    uint16_t GetSizeClass() const;
    // Combat radius in nautical miles: the loadout's usable range when the
    // type lists it, else the type's.
    uint16_t GetRadius() const;
    // Whether the aircraft reach the target (and come back, or one way) at a
    // speed and altitude with more than a fifth of their fuel left.
    bool CanReach(const LatLonPoint& target, uint16_t speed, int16_t altitude) const;
    bool CanReachOneWay(const LatLonPoint& target, uint16_t speed, int16_t altitude) const;
    // The speed of setting s at the altitude; 0 above band 2.
    uint16_t GetSpeedAtAltitude(uint8_t s, int16_t altitude) const;
    // The floor and ceiling of setting s; no type: low 0, high -1.
    void GetAltitudeLimits(uint8_t s, int16_t& low, int16_t& high) const;
    // For kind 2 (after clearing 0x18 and 0x1800) CAN_DIP and CAN_LAY_BUOYS;
    // 1 for other kinds; 0 without a type.
    uint32_t GetCapabilities(uint32_t kind) const;
    // The capability bits for a station's mission (the installed call, else
    // GetCapabilities).
    uint32_t GetCapability(uint16_t mission) const;
    // The weapons of the type's mounts and of the loadout that can fire at
    // the target mask.
    uint32_t CountWeapons(uint32_t targetMask) const;
    // The longest reach of the loadout's weapons against the mask.
    uint32_t GetAttackRange(uint32_t targetMask) const;

    // Arms the record with a loadout (see PlaneRecArming.cpp).
    void SetReadyState(uint16_t newLoadout, bool notify, uint16_t readyValue);

    // Aircraft hit on the ground: n of them split off unready, or all lost.
    void DamagePlanes(uint8_t n);
    // Aircraft lost on the ground; an emptied record is taken out of its
    // holder's list and deleted (this object with it).
    void DestroyPlanes(uint8_t n);

    // Saved form, little-endian:
    //   key u16, flags u32, planeAnnexID u16, unitID u16, spare16 u16,
    //   count u8, loadoutID u16, sizeFactor u8, onStation u8, missionID u16,
    //   airGroupID u16, station kind u8 (0: none; then the station's own
    //   form), stateTime u32, spareTime u32, substitutions (ID-value list),
    //   readyTime u32, six bytes 0
    // Load on a short read or a station kind above the last fails the stream
    // and answers false; a ready time and size factor of 0 are worked out.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    // The size factor of a type: 2, 3, 4 or 8 by its type group; 0 missing.
    static uint8_t SizeFactorOf(uint16_t planeAnnexID);

    uint32_t flags = 0;           // READY_FLAGS and further state bits
    uint32_t stateTime = 0;       // game time the current arming began
    uint16_t planeAnnexID = 0;    // aircraft type, plane.dat record
    uint16_t unitID = 0;          // the holding unit
    uint16_t spare16 = 0;         // carried and saved only
    uint8_t count = 0;            // aircraft in the record
    uint16_t loadoutID = 0;       // loadout.dat record; 0 none
    uint8_t sizeFactor = 0;       // space units one aircraft takes
    uint16_t missionID = 0;       // the mission the aircraft serve
    uint8_t onStation = 0;        // non-zero: taken for a station, not free
    uint16_t airGroupID = 0;      // the air group launched aircraft formed
    uint32_t spareTime = 0;       // carried and saved only
    uint32_t readyTime = 0;       // game time the arming completes; 0 not known
    NavIDList substitutions;      // weapon named by the loadout -> weapon carried

private:
    void Report() const;
    // The loadout the record carries; null when none or missing.
    const LoadoutAnnex* FindLoadout() const;
    // The fuel used (percent) for a range at a speed and altitude; -1 when
    // the trip cannot be judged.
    int32_t FuelUsed(const LatLonPoint& target, uint16_t speed, int16_t altitude, bool oneWay) const;

    StationRecord* station = nullptr;   // owned; a station assignment
};

class PlaneRecList : public SavedTreeListOf<PlaneRec> {
public:
    // Aircraft set up at (sourceUnitID 0) or landing on the holder. The new
    // record is inserted and answered. A holder that cannot be found is
    // fatal.
    PlaneRec* AddPlaneRec(uint16_t unitID, uint16_t planeAnnexID, uint8_t count, uint16_t loadoutID,
                          uint16_t sourceUnitID);
    // Takes the requested number of aircraft of a record into a record of
    // their own (split off when fewer than all are wanted), armed with the
    // requested loadout. The request gets that record's key and the type;
    // false (key 0) when the record is not found.
    bool TakePlanes(Waypoint& request, uint8_t notify);
    // Adds the named records into the one armed last; answers its key, 0
    // when none exists. Counts stop at 255: what is above stays in a record
    // of its own.
    uint16_t MergeRecords(const IDList& refList);
    // The aircraft of all records, and of the ready ones (flags holding all
    // of 0x10F); 32 bits, so no sum wraps.
    uint32_t CountAircraft() const;
    uint32_t CountReadyAircraft() const;

    // Reads the saved form whole or not at all: a damaged form is reported,
    // leaves the list as it was and fails the stream.
    bool Load(std::istream& in) override;
};
