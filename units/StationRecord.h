// StationRecord.h: StationRecord, the place of one member of a group (a ship
// of a surface group, an aircraft of an air group) relative to the group: a
// sector of bearings from one of the group's axes and a band of ranges from
// its position, with plain station keeping (hold the group's speed inside
// the sector, go back to its middle outside it), and the factory of every
// station kind. The list a group keeps them in is StationList.h; the kinds
// with their own keeping are in the Station*.h files beside this one.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Chain.h"
#include "core/ChainLink.h"
#include "core/Event.h"
#include "core/LatLonPoint.h"

class Group;
class PlaneRec;
class PlaneRecList;
class PositionNode;
class Unit;
struct Waypoint;

// The station kinds, the byte saved in front of each station.
namespace StationKind {
constexpr uint8_t NONE = 1;           // NullStation
constexpr uint8_t SPRINT_DRIFT = 2;   // SprintDriftStation
constexpr uint8_t KEEP = 3;           // StationRecord
constexpr uint8_t CAP = 4;            // CAPStation against air targets
constexpr uint8_t RANDOM = 5;         // RandomStation
constexpr uint8_t DIPPING = 6;        // DippingSonarStation
constexpr uint8_t AEW = 7;            // AEWStation
constexpr uint8_t SONOBUOY = 8;       // SonobuoyStation
constexpr uint8_t FORMATION = 9;      // FormationStation
constexpr uint8_t FREE = 10;          // FreeStation
constexpr uint8_t SURFACE_CAP = 11;   // CAPStation against surface targets
constexpr uint8_t REJOIN = 12;        // RejoinStation
constexpr uint8_t FIRST = NONE;
constexpr uint8_t LAST = REJOIN;
}  // namespace StationKind

// The station modes (`mode`).
namespace StationMode {
constexpr char IN = 'I';          // in station
constexpr char OUT = 'O';         // out of station
constexpr char STEERING = 'S';    // steering to the station
constexpr char FLYING = 'F';      // aircraft on station; relief may be asked
constexpr char WANTED = 'U';      // relief wanted: unitID type, leg loadout
constexpr char LAUNCHING = 'L';   // launch under way: unitID carrier, leg record key
}  // namespace StationMode

class StationRecord : public ChainLink<StationRecord> {
public:
    // Resource text of the fatal error for a kind outside 1 to 12.
    static constexpr int32_t UNKNOWN_KIND_TEXT = 0x7B0255;
    // Resource text of the message-log line for a sprint without a meeting.
    static constexpr int32_t NO_MEETING_TEXT = 0x7B0256;
    // Seconds before a station that found no way retries.
    static constexpr uint32_t RETRY_SECONDS = 300;
    // The missing point, both coordinates 0x7FFFFFFF.
    static constexpr LatLonPoint NO_POINT = LatLonPoint::None();

    // Kind 3, mode 'I', every other field 0, no events.
    StationRecord() = default;
    // Deletes the events.
    virtual ~StationRecord();

    StationRecord(const StationRecord&) = delete;
    StationRecord& operator=(const StationRecord&) = delete;

    // Saved form, little-endian (the list writes the kind byte in front):
    //   unitID u16, option u8, mode u8, kind u8, maxRange i32, minRange i32,
    //   rightBearing i32, leftBearing i32 (angle units), axis u16, leg i32,
    //   relief u8, then the events (u16 count, each event's record)
    // Save always writes the events. Load reads them only from files of
    // version 2.1.0.0 on; older stations end at relief. Load reads into a
    // fresh station of the kind's class: a record cut short, a repeated kind
    // that is not the class's, or an event no class reads fails the stream
    // and answers false.
    virtual bool Load(std::istream& in);
    virtual void Save(std::ostream& out) const;

    // The aim point from a reference position (normally the group's) and the
    // axis bearing (angle units): the middle of the sector at the middle
    // range. A sector with equal limits is the full circle; it aims opposite
    // the limit.
    virtual void GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing);
    // True when the unit lies in the sector and band from the reference; a
    // missing unit is not in station.
    virtual bool IsInStation(const LatLonPoint& reference, int32_t axisBearing);
    // Asks for a move to the station now (a station-move event).
    virtual void RequestMove();
    // Plans the way to the station at a transit speed (see the .cpp).
    virtual void MoveToStation();
    // The periodic check: in station the unit takes the group's speed; out
    // of it, MoveToStation.
    virtual void CheckStation();
    // A direct one-point path back to the station point.
    virtual void ReturnToStation();
    // Asks the group's holders for a relief aircraft; false here.
    virtual bool LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID);
    // The role bits a relief aircraft's loadout is chosen for; 0 here.
    virtual uint32_t GetAircraftRole() const { return 0; }
    // Looks for a ready record for a relief in a holder's list, keeping the
    // best so far in `best`; true only for a record of the type and
    // loadout asked. False here.
    virtual bool MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType,
                                     uint16_t loadout, uint16_t missionID);
    // Launches aircraft from a holder's record for a station (see the .cpp);
    // the same for every kind.
    virtual void LaunchAircraft(PlaneRecList* list, const Waypoint& request, const StationRecord* station);

    // What the station events do, for their classes to call: the unit's
    // other pending events of the type go, then the unit's station in its
    // group is found (nothing without unit, group or station): a station-set
    // event (0x40) runs CheckStation, a station-move event (0x3F)
    // ReturnToStation, a station-update event (0x3C) marks the station in
    // station and has the group update its stations without moving them.
    static void RunStationEvent(uint8_t typeCode, uint16_t unitID);

    // A new station of the kind's class. A kind outside 1 to 12 is the fatal
    // error of UNKNOWN_KIND_TEXT and answers null.
    static StationRecord* CreateStation(uint8_t kind);

    // Copies the sector, unit, axis, option and relief and a deep copy of the
    // events; kind, mode and leg stay. Null does nothing.
    void CopyFrom(const StationRecord* source);
    // Appends copies of the source's events; null is reported and copies
    // nothing.
    void CopyStationEventList(const StationRecord* source);
    // True when the events hold a sensor-setting event.
    bool HasSetSensorsEvent() const;
    // Keeps a copy of the event (a sensor setting replaces those of the same
    // value) and posts the event for the unit at once; without a unit the
    // event is deleted. Takes the event over.
    void AddStationEvent(Event* event);
    // Posts a copy of every event for the unit; a sensor setting also sets
    // the sensors of the unit's mission.
    void ApplyStationEvents();
    // When relief is allowed and the unit and its group exist, marks the
    // group's station as wanting relief (from 'F') and answers LaunchRelief
    // for the unit's aircraft type and loadout.
    bool RequestRelief();
    // The station point, or when the unit cannot reach it, the first of ten
    // fall-back points it can reach along the sector's limits, closing in on
    // the reference; the missing point for a missing unit.
    void FindReachablePoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing);

    // Fields, in the order the record keeps them.
    Chain<Event> eventList;               // owned; applied when the unit takes the station
    uint8_t kind = StationKind::KEEP;     // StationKind
    uint16_t unitID = 0;                  // the member; the list is sorted by it
    uint8_t option = 0;                   // saved and copied only
    char mode = StationMode::IN;          // StationMode
    int32_t rightBearing = 0;             // clockwise limit, angle units from the axis
    int32_t leftBearing = 0;              // counter-clockwise limit
    int32_t maxRange = 0;                 // range units (4096 to the nm)
    int32_t minRange = 0;
    uint16_t axis = 0;                    // the group's axis 0 to 2
    int32_t leg = 0;                      // phase of the kinds with cycles
    uint8_t relief = 0;                   // non-zero: the aircraft is relieved

protected:
    // The station's unit, or null.
    Unit* FindStationUnit() const;
    // The group a unit belongs to (its parent), or null.
    static Group* FindGroupOf(const Unit& unit);
    // The bearing of the station's axis in the group; -1 without one.
    int32_t StationAxisBearing(const Group& group) const;
    // The middle of the sector (angle units, from the axis, within a full
    // circle of the right limit).
    int32_t MidBearing() const;
    // The first point of the unit's path, else its position.
    static LatLonPoint PathStart(const Unit& unit);
    // Starts a new way to the station: clears the unit's planned path and
    // its pending station-move events, then answers PathStart.
    static LatLonPoint RestartFrom(Unit& unit);
    // A draw in 0..span-1 over the whole span; spans below 65536 take a
    // single draw, and so does a span of 0 or less (answering 0).
    static int32_t RandomBelow(int32_t span);
    // A wide sum or difference of saved fields, held to 32 bits (fields a
    // damaged file gives may lie far outside their sense).
    static int32_t Clamp32(int64_t value);
    // A one-point path at the point (with the event hung on it when given)
    // given to the unit; the local path is deleted.
    static void GivePathTo(uint16_t unitID, const LatLonPoint& point, int16_t altitude, Event* onArrival);
    // Posts a station event (0x3C, 0x3F, 0x40) for the unit, due after
    // `delay` game seconds (0: at once).
    static void PostStationEvent(uint8_t typeCode, uint16_t unitID, uint32_t delay);
    // Posts a set-speed event for the unit, due at once.
    static void PostSpeed(uint16_t unitID, uint16_t knots);
    // The group's station that stands for this one (by unit), or null.
    StationRecord* FindGroupStation(Group& group) const;
    // The base test, whatever the kind.
    bool IsInSector(const LatLonPoint& reference, int32_t axisBearing);
    // The check of the kinds that cycle on their own: with the unit present,
    // in station the next cycle starts now, out of it the plain move.
    void CycleOrMove();

    // Where the sector's middle lies from the group's main axis (axis 0).
    enum class SectorSide { STARBOARD_BEAM, PORT_BEAM, AHEAD, ASTERN };
    struct SectorPlace {
        SectorSide side = SectorSide::AHEAD;
        int32_t mid = 0;         // middle bearing from the station's axis; may be negative
        int64_t leftFrom = 0;    // leftBearing, a full circle less when the sector crosses north
    };
    SectorPlace PlaceSector(const Group& group) const;
    // Seconds to cover a leg (range units) at a speed (knots > 0), truncated
    // as the hours would be in Q23; 64-bit, so that no leg overflows.
    static int64_t LegSeconds(int32_t legRange, int32_t knots);

    // Who may stand in for an aircraft of another type in a relief search.
    enum class OtherType { NONE, CAN_ENGAGE, DIPS, LAYS_BUOYS };
    // The ready-record walk of the relief search (see the .cpp).
    bool MatchReadyRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                          uint16_t missionID, OtherType other, bool loadoutByMount) const;
    // The relief search over the group's members and the launch of the best
    // record. typeMayDiffer: a record of another type takes the loadout the
    // holder chooses for the role; the flag set when nothing is found is the
    // group's no-relief flag when noReliefFlag is set, else its no-aircraft
    // flag.
    bool SearchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID, bool typeMayDiffer,
                      bool noReliefFlag);
};
