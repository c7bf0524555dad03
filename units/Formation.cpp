// Formation.cpp: the member stations of a group.
#include "units/Formation.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/UnitEvents.h"

namespace {

uint32_t CountStations(const StationList& stations)
{
    uint32_t n = 0;
    for (const StationRecord* s = stations.First(); s != nullptr; s = s->GetNext())
        ++n;
    return n;
}

}  // namespace

StationRecord* Formation::AddMember(uint16_t unitID, const StationRecord* templateStation)
{
    if (StationRecord* const present = stations.Find(unitID))
        return present;
    const Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr)
        return nullptr;
    if (templateStation != nullptr) {
        StationRecord* const station =
            stations.SetStation(unitID, templateStation->kind, templateStation->rightBearing,
                                templateStation->leftBearing, templateStation->maxRange, templateStation->minRange);
        if (station != nullptr) {
            station->CopyFrom(templateStation);
            station->unitID = unitID;
            station->axis = templateStation->axis;
        }
        return station;
    }
    StationRecord* station = nullptr;
    switch (unit->GetTypeLetter()) {
    case 'F':
        station = stations.SetStation(unitID, StationKind::NONE, 0x78000, 0, 10, 0);
        if (station != nullptr)
            station->axis = 0;
        break;
    case 'P':
        station = stations.SetStation(unitID, StationKind::CAP, 0x4B0000, 0, 0x1E000, 0x14000);
        if (station != nullptr)
            station->axis = 2;
        break;
    default: {
        const int64_t n = CountStations(stations);
        int64_t b = (n + 1) * SHIP_STEP;
        int32_t r = SHIP_RING;
        while (b > FULL_CIRCLE) {
            b -= FULL_CIRCLE;
            r += SHIP_RING;
        }
        const auto centre = static_cast<int32_t>(b);
        station = stations.SetStation(unitID, StationKind::KEEP, centre + SHIP_HALF_SECTOR, centre - SHIP_HALF_SECTOR,
                                      r, r - SHIP_DEPTH);
        if (station != nullptr)
            station->axis = 0;
        break;
    }
    }
    return station;
}

void Formation::RemoveMember(uint16_t unitID)
{
    StationRecord* const station = stations.Find(unitID);
    if (station == nullptr)
        return;
    if (station->relief != 0)
        station->RequestRelief();
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
    replacement->kind = kind;
    stations.Chain<StationRecord>::Remove(present);
    delete present;
    StationRecord* s = stations.First();
    while (s != nullptr && s->unitID <= replacement->unitID)
        s = s->GetNext();
    if (s != nullptr)
        stations.InsertBefore(replacement, s);
    else
        stations.Append(replacement);
}

bool Formation::CheckStations(bool force)
{
    bool all = true;
    const LatLonPoint reference = owner_->GetPosition();
    for (StationRecord* s = stations.First(); s != nullptr; s = s->GetNext()) {
        const bool steering = s->mode == StationMode::STEERING;
        const bool on = !steering && s->IsInStation(reference, owner_->GetAxisBearing(s->axis));
        if (on)
            s->mode = StationMode::IN;
        else if (!steering || force)
            s->mode = StationMode::OUT;
        all = all && on;
    }
    return all;
}

void Formation::Refresh(const LatLonPoint& /*point*/)
{
    for (StationRecord* s = stations.First(); s != nullptr;) {
        // A station may replace itself (a rejoin becoming a formation
        // station), so the next one is taken first.
        StationRecord* const next = s->GetNext();
        s->RequestMove();
        s = next;
    }
}

void Formation::PostStationSetEvents()
{
    for (const StationRecord* s = stations.First(); s != nullptr; s = s->GetNext())
        PostOrDrop(MakeStationEvent(EventCode::STATION_SET, s->unitID, GameTime(1)));
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
