// SprintDriftStation.h: SprintDriftStation (kind 2), a ship that sprints at
// full speed to a point in its sector ahead of where the group will be, then
// drifts there slowly while the group comes up and passes, and sprints again.
#pragma once

#include <cstdint>

#include "units/StationRecord.h"

class SprintDriftStation : public StationRecord {
public:
    // The longest drift, game seconds.
    static constexpr int64_t MAX_DRIFT_SECONDS = 3600;
    // Seconds before a station that cannot sprint looks again.
    static constexpr uint32_t WAIT_SECONDS = 15;

    SprintDriftStation() { kind = StationKind::SPRINT_DRIFT; }

    // The sprint point without the random choice.
    void GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing) override;
    // In station while a sprint is planned or held (leg 0 or more);
    // otherwise the sector test, which starts one.
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    // Drops the unit's planned path.
    void RequestMove() override;
    // In station: the next cycle now; out of it, the plain move.
    void CheckStation() override;
    // One sprint-drift cycle (see the .cpp).
    void ReturnToStation() override;

    // The sprint point from the reference: on the beam at the sector's
    // forward limit, ahead at the outer range, astern at the inner, at a
    // random range or bearing when `random` is set. Answers the leg the
    // unit drifts along (range units); a missing unit or group gives the
    // missing point and 0.
    int32_t PlaceSprintPoint(LatLonPoint& out, const LatLonPoint& reference, bool random);
};
