// StrikePlanning.cpp: the strike's four planners, for units and aircraft
// records against moving and fixed targets.
#include "missions/StrikeMission.h"

bool StrikeMission::PlanMovingTarget(Contact*, Unit*, uint32_t&, int16_t, uint32_t&, LatLonPoint&, uint32_t)
{
    return false;
}

bool StrikeMission::PlanFixedTarget(Contact*, Unit*, uint32_t&, int16_t, uint32_t&, LatLonPoint&, uint32_t)
{
    return false;
}

bool StrikeMission::PlanMovingTargetForAircraft(Contact*, PlaneRec*, Unit*, uint32_t&, int16_t, uint32_t&, LatLonPoint&,
                                                uint32_t)
{
    return false;
}

bool StrikeMission::PlanFixedTargetForAircraft(Contact*, PlaneRec*, Unit*, uint32_t&, int16_t, uint32_t&, LatLonPoint&,
                                               uint32_t)
{
    return false;
}
