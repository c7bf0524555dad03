// SectorLaunch.cpp: a launch onto a sector station drawn around a group.
#include "engagement/SectorLaunch.h"

#include <algorithm>

#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/LaunchOrders.h"
#include "engagement/LaunchWindowCalls.h"
#include "units/Group.h"
#include "units/StationRecord.h"

namespace {

constexpr int32_t TEXT_SECTOR_NOT_GROUP = 0x7B025A;

// A bearing from the axis, within a full circle.
int32_t FromAxis(int32_t bearing, int32_t axisBearing)
{
    int32_t relative = bearing - axisBearing;
    if (relative < 0)
        relative += ANGLE_FULL;
    return relative;
}

}  // namespace

void LaunchToSector(LaunchList* list)
{
    PrepareLaunch(list);
    SectorPick pick;
    if (!ui2game::GetFormationPick(gSectorLaunchGroup, pick)) {
        delete list;
        return;
    }
    const uint16_t groupID = gSectorLaunchGroup;
    gSectorLaunchGroup = 0;
    int32_t first = pick.firstBearing;
    int32_t second = pick.secondBearing;
    if (const Unit* unit = gam2arena::FindUnit(groupID)) {
        if (!unit->IsGroup()) {
            ReportResourceText(TEXT_SECTOR_NOT_GROUP, "LaunchToSector", &FatalError);
            delete list;
            return;
        }
        const int32_t axisBearing = static_cast<const Group*>(unit)->GetAxisBearing(pick.axis);
        first = FromAxis(first, axisBearing);
        second = FromAxis(second, axisBearing);
    }
    StationRecord* const station = StationRecord::CreateStation(gSectorLaunchKind);
    if (station != nullptr) {
        station->rightBearing = second;
        station->leftBearing = first;
        station->maxRange = std::max(pick.firstRange, pick.secondRange);
        station->minRange = std::min(pick.firstRange, pick.secondRange);
        station->axis = pick.axis;
        while (Event* event = pick.events.First()) {
            pick.events.Remove(event);
            station->AddStationEvent(event);
        }
    }
    LaunchAircraft(list, station);
    delete station;
}
