// StationList.cpp: a group's stations: lookup, removal, the ordered set-up
// of a member's station, and the saved form.
#include "units/StationList.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"

StationRecord* StationList::Find(uint16_t unitID) const
{
    for (StationRecord* s = First(); s != nullptr; s = s->GetNext()) {
        if (s->unitID == unitID)
            return s;
    }
    return nullptr;
}

void StationList::Remove(uint16_t unitID)
{
    StationRecord* const station = Find(unitID);
    if (station == nullptr)
        return;
    Chain<StationRecord>::Remove(station);
    delete station;
}

StationRecord* StationList::SetStation(uint16_t unitID, uint8_t kind, int32_t rightBearing, int32_t leftBearing,
                                       int32_t rangeA, int32_t rangeB)
{
    StationRecord* s = First();
    while (s != nullptr && s->unitID < unitID)
        s = s->GetNext();
    StationRecord* station = nullptr;
    if (s != nullptr && s->unitID == unitID) {
        station = s;   // reused as it is, kind included
    } else {
        station = StationRecord::CreateStation(kind);
        if (station == nullptr)
            return nullptr;
        if (s != nullptr)
            InsertBefore(station, s);
        else
            Append(station);
    }
    station->unitID = unitID;
    station->rightBearing = rightBearing;
    station->leftBearing = leftBearing;
    station->maxRange = std::max(rangeA, rangeB);
    station->minRange = std::min(rangeA, rangeB);
    return station;
}

bool StationList::Save(std::ostream& out) const
{
    uint32_t count = 0;
    for (const StationRecord* s = First(); s != nullptr; s = s->GetNext())
        ++count;
    count = std::min(count, MAX_STATIONS);
    SaveField(out, static_cast<uint16_t>(count));
    const StationRecord* s = First();
    for (uint32_t i = 0; i < count; ++i, s = s->GetNext()) {
        SaveField(out, s->kind);
        s->Save(out);
    }
    return static_cast<bool>(out);
}

bool StationList::Load(std::istream& in)
{
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    // Read into a chain of our own, so that a damaged list leaves this one
    // as it was.
    Chain<StationRecord> loaded;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t kind = 0;
        if (!LoadField(in, kind))
            return false;
        StationRecord* const station = StationRecord::CreateStation(kind);
        if (station == nullptr) {
            in.setstate(std::ios::failbit);
            return false;
        }
        if (!station->Load(in)) {
            delete station;
            in.setstate(std::ios::failbit);
            return false;
        }
        loaded.Append(station);
    }
    while (StationRecord* const station = loaded.First()) {
        loaded.Remove(station);
        Append(station);
    }
    return true;
}
