// RandomStations.h: RandomStation (kind 5), a ship that moves between the
// four corners of its sector in an order no one can foresee, and
// FreeStation (kind 10), a member that keeps no station at all: in station
// wherever it is, never moved.
#pragma once

#include <cstdint>

#include "units/GroupKeepingStations.h"
#include "units/StationRecord.h"

class RandomStation : public StationRecord {
public:
    // Corners, the values of `leg`.
    static constexpr int32_t OUTER_RIGHT = 0;
    static constexpr int32_t OUTER_LEFT = 1;
    static constexpr int32_t INNER_LEFT = 2;
    static constexpr int32_t INNER_RIGHT = 3;   // and any other value
    // Steps of the trial speed, knots.
    static constexpr uint16_t SPEED_STEP = 10;

    RandomStation() { kind = StationKind::RANDOM; }

    // The corner `leg` names.
    void GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing) override;
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    void CheckStation() override;
    // The move to another corner (see the .cpp).
    void ReturnToStation() override;
};

// Behaves as the null station; only its kind differs.
class FreeStation : public NullStation {
public:
    FreeStation() { kind = StationKind::FREE; }
};
