// GroupKeepingStations.h: the stations that keep a member with its group
// rather than on a sector: NullStation (kind 1) leaves the unit where it is,
// FormationStation (kind 9) keeps an aircraft with its air group, and
// RejoinStation (kind 12) brings an aircraft back to its group and then
// becomes a formation station.
#pragma once

#include <cstdint>

#include "core/Units.h"
#include "units/StationRecord.h"

class NullStation : public StationRecord {
public:
    NullStation() { kind = StationKind::NONE; }

    // The unit's own position; the missing point without the unit.
    void GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing) override;
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    void RequestMove() override {}
    void MoveToStation() override {}
    void CheckStation() override {}
    void ReturnToStation() override {}
    // A question of the stations that keep no place (this one and the free
    // station); false.
    virtual bool IsPlaceHolder() const { return false; }
};

class FormationStation : public StationRecord {
public:
    // An aircraft this close to its group (range units, 10 nm) keeps with it.
    static constexpr int32_t KEEP_RANGE = 10 * RANGE_PER_NM;

    FormationStation()
    {
        kind = StationKind::FORMATION;
        leg = 0;
    }

    // In station within KEEP_RANGE of the point (the limit included).
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    // The next follow step now; the unit's path goes.
    void RequestMove() override;
    // The join check: close enough, the aircraft joins the group's position;
    // else it leaves the group.
    void CheckStation() override;
    // Follows the group's next path point or its position (see the .cpp).
    void ReturnToStation() override;
};

class RejoinStation : public StationRecord {
public:
    // In station within this range of the point (5 nm).
    static constexpr int32_t IN_RANGE = 5 * RANGE_PER_NM;
    // Within this range of its group the aircraft has rejoined (7 nm).
    static constexpr int32_t REJOIN_RANGE = 7 * RANGE_PER_NM;

    // The full circle (less one unit) within one nautical mile.
    RejoinStation()
    {
        kind = StationKind::REJOIN;
        axis = 0;
        minRange = 0;
        maxRange = RANGE_PER_NM;
        leftBearing = 0;
        rightBearing = ANGLE_FULL - 1;
        leg = 0;
    }

    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    void RequestMove() override;
    // The rejoin step: close enough, the group makes the station a
    // formation station (this object is then gone); else the aircraft flies
    // to the group.
    void CheckStation() override;
    void ReturnToStation() override { CheckStation(); }
};
