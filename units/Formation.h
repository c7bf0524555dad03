// Formation.h: Formation, the stations of a group's members, one per member
// kept in unit-id order, with the counter saved beside them. Each group owns
// one; the station classes are StationRecord.h and its neighbours.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "units/StationList.h"

class Group;

class Formation {
public:
    explicit Formation(Group* owner) : owner_(owner) {}
    virtual ~Formation() = default;

    Formation(const Formation&) = delete;
    Formation& operator=(const Formation&) = delete;

    // The member's station, or null.
    virtual StationRecord* Find(uint16_t unitID) const { return stations.Find(unitID); }
    // Gives the member a copy of the template station (its kind, sector and
    // events) in unit-id order; without a template a plain station-keeping
    // one. A member that has a station keeps it.
    virtual StationRecord* AddMember(uint16_t unitID, const StationRecord* templateStation);
    // Deletes the member's station and lowers the counter.
    virtual void RemoveMember(uint16_t unitID);
    // Replaces the member's station by one of another kind with the same
    // sector, unit, events and settings; nothing when the member has none
    // or the kind makes no station.
    virtual void SetStationKind(uint16_t unitID, uint8_t kind);

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
