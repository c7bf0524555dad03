// PlaneRec.cpp: aircraft records, their list and the launch test. The
// capability query is in StationBridge.cpp, beside the call it forwards to.
#include "units/PlaneRec.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "units/StationRecord.h"

PlaneRec::~PlaneRec()
{
    delete station;
}

void PlaneRec::SetReadyState(uint32_t state, uint8_t /*notify*/, uint16_t /*minutes*/)
{
    readyState = state;
}

void PlaneRec::SetStation(const StationRecord* source)
{
    delete station;
    station = nullptr;
    if (source == nullptr)
        return;
    station = StationRecord::CreateStation(source->kind);
    if (station != nullptr)
        station->CopyFrom(source);
}

void PlaneRec::Save(std::ostream& out) const
{
    SaveField(out, GetKey());
    SaveField(out, flags);
    SaveField(out, planeAnnexID);
    SaveField(out, unitID);
    SaveField(out, count);
    SaveField(out, loadoutID);
    SaveField(out, missionID);
    SaveField(out, onStation);
}

bool PlaneRec::Load(std::istream& in)
{
    uint16_t key = 0;
    LoadField(in, key);
    SetKey(key);
    LoadField(in, flags);
    LoadField(in, planeAnnexID);
    LoadField(in, unitID);
    LoadField(in, count);
    LoadField(in, loadoutID);
    LoadField(in, missionID);
    LoadField(in, onStation);
    return static_cast<bool>(in);
}

bool PlaneRecList::TakePlanes(const Waypoint& request, uint8_t /*notify*/)
{
    const PlaneRec* const record = Find(request.planeRecID);
    return record != nullptr && record->count > 0 && record->planeAnnexID == request.aircraftType &&
           record->HasFlags(PlaneRec::READY_FLAGS);
}
