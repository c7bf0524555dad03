// Formation.h: Formation, the stations of a group's members, one per member
// kept in unit-id order, with the counter saved beside them. Each group owns
// one; the station classes are StationRecord.h and its neighbours.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "units/StationList.h"

class Group;
struct LatLonPoint;

class Formation {
public:
    // The sector a ship takes without a template: 45 degrees round from the
    // last ship's, 6 degrees either side, one nautical mile out (and one
    // further for every full circle), the inner bound 2000 units nearer.
    static constexpr int32_t SHIP_STEP = 0xA8C000;        // 45 degrees
    static constexpr int32_t SHIP_HALF_SECTOR = 0x168000; // 6 degrees
    static constexpr int32_t FULL_CIRCLE = 0x5460000;     // 360 degrees
    static constexpr int32_t SHIP_RING = 4096;            // one nautical mile
    static constexpr int32_t SHIP_DEPTH = 2000;

    explicit Formation(Group* owner) : owner_(owner) {}
    virtual ~Formation() = default;

    Formation(const Formation&) = delete;
    Formation& operator=(const Formation&) = delete;

    // The member's station, or null.
    virtual StationRecord* Find(uint16_t unitID) const { return stations.Find(unitID); }
    // Gives an existing unit a station in unit-id order: a copy of the
    // template (its kind, parameters, data and axis), or without one a
    // station chosen by the unit's type letter (a facility stays where it
    // is, a plane patrols on axis 2, a ship takes the next sector). A member
    // that has a station keeps it; an id naming no unit gets nothing.
    virtual StationRecord* AddMember(uint16_t unitID, const StationRecord* templateStation);
    // Runs the relief check of a relieved station, deletes the member's
    // station and lowers the counter.
    virtual void RemoveMember(uint16_t unitID);
    // Replaces the member's station by one of another kind with the same
    // data, kept in unit-id order; nothing when the member has none.
    virtual void SetStationKind(uint16_t unitID, uint8_t kind);
    // True when every member is on station, tested from the group's
    // position: 'I' on station, 'O' off; a station in mode 'S' counts as off
    // and keeps its 'S' unless force is set.
    virtual bool CheckStations(bool force);
    // Every station runs its refresh, in order; the point is not used.
    virtual void Refresh(const LatLonPoint& point);
    // Posts a station-set event (due 1) for every member, in order.
    virtual void PostStationSetEvents();

    // Saved form, little-endian: counter u16, then the stations
    // (StationList). Load refuses a damaged record whole.
    virtual void Save(std::ostream& out) const;
    virtual bool Load(std::istream& in);

    Group* GetOwner() const { return owner_; }

    uint16_t counter = 0;   // saved; lowered when a member's station goes
    StationList stations;   // owned, by unit id

private:
    Group* owner_;          // not owned
};
