// PlaneTypeSummary.h: PlaneTypeSummary, what one aircraft type held by a
// group can do when the group plans its air operations: the best search
// radar values of the type and of the loadouts added, whether a sonar comes
// with it, the sonobuoys its mounts hold, and the aircraft records of the
// type that may be sent (launch entries). LaunchBest sends one aircraft of
// the best-armed record against a target.
#pragma once

#include <cstdint>

#include "core/TreeListOf.h"
#include "units/LaunchEntry.h"

class PlaneRec;
class StationRecord;

class PlaneTypeSummary : public TreeListNode<PlaneTypeSummary> {
public:
    // Key: the plane.dat id; the fields from that type, all 0 when it is
    // missing.
    explicit PlaneTypeSummary(uint16_t planeAnnexID);
    ~PlaneTypeSummary() override = default;   // the list frees its entries

    // Takes the sensors of the loadout's sensor-carrying weapons into the
    // radar values and the sonar.
    void AddLoadout(uint16_t loadoutID);
    // Lists the record unless it is listed already (same unit and key).
    void AddRecord(const PlaneRec& record);
    // Picks, among the entries not yet launched whose record still exists,
    // the one whose record rates highest against the mask (the later of
    // equals) and launches one aircraft of it toward the target.
    void LaunchBest(const StationRecord* target, uint32_t targetMask);

    uint16_t value1 = 0;
    uint16_t spare1 = 0;
    uint16_t value2 = 0;
    uint16_t spare2 = 0;
    uint16_t sonobuoys = 0;
    uint16_t spare3 = 0;
    uint16_t spare4 = 0;
    uint16_t spare5 = 0;
    uint8_t hasSonar = 0;
    uint16_t sonarLoadoutID = 0;   // the loadout that brought it; 0: the type's own
    uint16_t surfaceSearch = 0;
    uint16_t airSearch = 0;
    LaunchList records;
    uint16_t spare6 = 0;

private:
    // Radar values and sonar from one sensor list (loadoutID 0: the type's).
    template <class List>
    void ScanSensors(const List& sensors, uint16_t loadoutID);
};
