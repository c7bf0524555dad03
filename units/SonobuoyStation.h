// SonobuoyStation.h: SonobuoyStation (kind 8), an aircraft that lays lines
// of sonobuoys across its sector (on the group's beam) or along it (ahead
// or astern), and asks for a relief of its type and loadout when its
// sonobuoys are gone.
#pragma once

#include <cstdint>

#include "units/StationRecord.h"

class SonobuoyStation : public StationRecord {
public:
    // Laying time while the group stands still, game seconds.
    static constexpr int64_t STILL_LAYING_SECONDS = 3600;

    SonobuoyStation()
    {
        kind = StationKind::SONOBUOY;
        relief = 1;
        leg = 0;
    }

    // Always in station.
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    // Nothing to do: the laying cycle runs on its own events.
    void RequestMove() override;
    // A unit outside its sector without a path starts a cycle now.
    void CheckStation() override;
    // One laying cycle (see the .cpp).
    void ReturnToStation() override;
    bool LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID) override;
    uint32_t GetAircraftRole() const override { return 2; }
    bool MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                             uint16_t missionID) override;

    // The line to lay from the reference: across the sector at the outer
    // range on the beam, from limit to limit at the outer (ahead) or inner
    // (astern) range. Answers its length (range units); a missing unit or
    // group gives a missing start and 0.
    int32_t PlaceLeg(LatLonPoint& start, LatLonPoint& end, const LatLonPoint& reference);
};
