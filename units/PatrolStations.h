// PatrolStations.h: the aircraft patrol stations: AEWStation (kind 7) and
// CAPStation (kind 4 against air targets, 11 against surface targets) orbit
// the midpoints of their sector's four edges; DippingSonarStation (kind 6)
// flies a helicopter from one random dip point in its sector to the next.
// Each can find and launch a relief aircraft from the group's holders.
#pragma once

#include <cstdint>

#include "units/StationRecord.h"

class AEWStation : public StationRecord {
public:
    AEWStation()
    {
        kind = StationKind::AEW;
        leg = 0;
        relief = 1;
    }

    // Always in station; a failed approach (-1) starts the orbit again.
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    void RequestMove() override;
    // The next orbit leg now.
    void CheckStation() override;
    // The next orbit leg at the ceiling of the speed band (see the .cpp).
    void ReturnToStation() override;
    bool LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID) override;
    bool MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                             uint16_t missionID) override;
};

class CAPStation : public StationRecord {
public:
    // surface: against surface targets (kind 11), else air targets (kind 4).
    explicit CAPStation(bool surface)
    {
        kind = surface ? StationKind::SURFACE_CAP : StationKind::CAP;
        leg = 0;
        relief = 1;
    }

    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    void RequestMove() override;
    void CheckStation() override;
    // The next orbit leg, unless the aircraft already has a path.
    void ReturnToStation() override;
    bool LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID) override;
    // 4 against air targets, 1 against surface targets.
    uint32_t GetAircraftRole() const override { return kind == StationKind::CAP ? 4 : 1; }
    bool MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                             uint16_t missionID) override;
};

class DippingSonarStation : public StationRecord {
public:
    // Seconds a helicopter hovers at a dip point after it is due there.
    static constexpr uint32_t HOVER_SECONDS = 300;
    // The dip word a helicopter on its way to dip carries.
    static constexpr uint32_t DIPPING = 32;

    DippingSonarStation()
    {
        kind = StationKind::DIPPING;
        relief = 1;
    }

    // A random point of the sector: a whole number of degrees from the left
    // limit, a random range within the band.
    void GetStationPoint(LatLonPoint& out, const LatLonPoint& reference, int32_t axisBearing) override;
    bool IsInStation(const LatLonPoint& reference, int32_t axisBearing) override;
    void RequestMove() override;
    void CheckStation() override;
    // The flight to the next dip point (see the .cpp).
    void ReturnToStation() override;
    bool LaunchRelief(uint16_t aircraftType, uint16_t loadout, uint16_t groupID) override;
    bool MatchAircraftRecord(PlaneRecList* list, PlaneRec*& best, uint16_t aircraftType, uint16_t loadout,
                             uint16_t missionID) override;
};
