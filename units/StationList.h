// StationList.h: StationList, the chain of a group's stations, one per
// member unit, sorted by unit id; it owns its stations and writes them with
// their kinds in front.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Chain.h"
#include "units/StationRecord.h"

class StationList : public Chain<StationRecord> {
public:
    // The most stations a list holds: one per unit id.
    static constexpr uint32_t MAX_STATIONS = 0xFFFF;

    StationList() = default;
    // Deletes every station.
    ~StationList() = default;

    // The first station of the unit, or null.
    StationRecord* Find(uint16_t unitID) const;
    // Takes the unit's station out and deletes it; nothing when none.
    void Remove(uint16_t unitID);
    // Gives the unit a station: its present one, kind kept, or a new one of
    // the kind in unit-id order; then sets the bearings and the ranges, the
    // larger range as maxRange. Answers the station, or null for a kind no
    // class makes (the factory's fatal error).
    StationRecord* SetStation(uint16_t unitID, uint8_t kind, int32_t rightBearing, int32_t leftBearing,
                              int32_t rangeA, int32_t rangeB);

    // Saved form, little-endian:
    //   count      u16
    //   stations   count times: kind u8, then the station's own record
    // Load appends the stations in their saved order (no sorting). A count
    // beyond what the stream holds, a record cut short, or a kind outside
    // 1 to 12 (the factory's fatal error) refuses the whole load: nothing
    // of it joins the list, the stream is left failed and the answer is
    // false.
    bool Save(std::ostream& out) const;
    bool Load(std::istream& in);
};
