// Formation.cpp: the member stations of a group.
#include "units/Formation.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

StationRecord* Formation::AddMember(uint16_t unitID, const StationRecord* templateStation)
{
    if (StationRecord* const present = stations.Find(unitID))
        return present;
    const uint8_t kind = templateStation != nullptr ? templateStation->kind : StationKind::KEEP;
    StationRecord* const station =
        stations.SetStation(unitID, kind, templateStation != nullptr ? templateStation->rightBearing : 0,
                            templateStation != nullptr ? templateStation->leftBearing : 0,
                            templateStation != nullptr ? templateStation->maxRange : 0,
                            templateStation != nullptr ? templateStation->minRange : 0);
    if (station != nullptr && templateStation != nullptr) {
        station->CopyFrom(templateStation);
        station->unitID = unitID;
    }
    return station;
}

void Formation::RemoveMember(uint16_t unitID)
{
    if (stations.Find(unitID) == nullptr)
        return;
    stations.Remove(unitID);
    --counter;
}

void Formation::SetStationKind(uint16_t unitID, uint8_t kind)
{
    StationRecord* const present = stations.Find(unitID);
    if (present == nullptr)
        return;
    StationRecord* const replacement = StationRecord::CreateStation(kind);
    if (replacement == nullptr)
        return;
    replacement->CopyFrom(present);
    stations.InsertBefore(replacement, present);
    stations.Chain<StationRecord>::Remove(present);
    delete present;
}

void Formation::Save(std::ostream& out) const
{
    SaveField(out, counter);
    stations.Save(out);
}

bool Formation::Load(std::istream& in)
{
    uint16_t loadedCounter = 0;
    if (!LoadField(in, loadedCounter) || !stations.Load(in))
        return false;
    counter = loadedCounter;
    return true;
}
