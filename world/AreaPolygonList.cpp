// AreaPolygonList.cpp: AreaPolygonList, a side's zones: ids, retyping,
// replacing and deleting, the saved list, drawing with the zone colours,
// marker picking and the crossing tests of the navigator. The chain
// operations are templates in the header.
#include "world/AreaPolygonList.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/NameString.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "world/Nav2Game.h"

namespace {

// Palette indexes of the zone colours.
constexpr int16_t COLOUR_EXCLUSION        = 48;   // also any conflict of groups
constexpr int16_t COLOUR_SURFACE_THREAT   = 49;
constexpr int16_t COLOUR_SURFACE_SENSOR   = 50;
constexpr int16_t COLOUR_AIR_THREAT       = 51;
constexpr int16_t COLOUR_AIR_SENSOR       = 52;
constexpr int16_t COLOUR_SUBMARINE_THREAT = 53;
constexpr int16_t COLOUR_SUBSURFACE_SENSOR = 54;
constexpr int16_t COLOUR_NEUTRAL          = 55;

// The zone groups each display filter bit shows.
struct FilterGroups {
    uint32_t filterBit;
    uint32_t groups;
};
constexpr FilterGroups FILTER_GROUPS[] = {
    {ZONE_FILTER_SURFACE,    ZONE_SURFACE_THREAT | ZONE_SURFACE_SENSOR},
    {ZONE_FILTER_SUBSURFACE, ZONE_SUBMARINE_THREAT | ZONE_SUBSURFACE_SENSOR},
    {ZONE_FILTER_AIR,        ZONE_AIR_THREAT | ZONE_AIR_SENSOR},
    {ZONE_FILTER_EXCLUSION,  ZONE_GENERAL_EXCLUSION},
    {ZONE_FILTER_NEUTRAL,    ZONE_NEUTRAL},
};

bool IsNeutral(const AreaPolygon& zone) { return (zone.GetType() & ZONE_NEUTRAL) != 0; }

}  // namespace

AreaPolygonList::AreaPolygonList(std::istream& in)
{
    Load(in);
}

AreaPolygonList::~AreaPolygonList()
{
    while (first != nullptr) {
        AreaPolygon* const zone = first;
        first = zone->GetNext();
        delete zone;
    }
}

void AreaPolygonList::Save(std::ostream& out) const
{
    uint16_t zones = 0;
    for (const AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext())
        ++zones;
    SaveField<uint16_t>(out, zones);
    for (const AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext())
        zone->Save(out);
}

bool AreaPolygonList::Load(std::istream& in)
{
    uint16_t zones = 0;
    if (!LoadField(in, zones))
        return false;
    // The zones are read into a chain of their own and joined to the list
    // only when every one of them was read whole.
    AreaPolygon* readFirst = nullptr;
    AreaPolygon* readLast = nullptr;
    bool whole = true;
    for (uint16_t k = 0; k < zones; ++k) {
        AreaPolygon* zone = new (std::nothrow) AreaPolygon(in);
        AllocationCheck(zone);
        if (zone == nullptr || !in) {
            delete zone;
            in.setstate(std::ios::failbit);
            whole = false;
            break;
        }
        if (readLast == nullptr)
            readFirst = zone;
        else
            readLast->SetNext(zone);
        readLast = zone;
    }
    if (!whole) {
        while (readFirst != nullptr) {
            AreaPolygon* const zone = readFirst;
            readFirst = zone->GetNext();
            delete zone;
        }
        return false;
    }
    if (readFirst != nullptr) {
        if (first == nullptr) {
            first = readFirst;
        } else {
            AreaPolygon* last = first;
            while (last->GetNext() != nullptr)
                last = last->GetNext();
            last->SetNext(readFirst);
        }
    }
    return true;
}

AreaPolygon* AreaPolygonList::Find(int16_t id) const
{
    for (AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext()) {
        if (zone->GetID() == id)
            return zone;
    }
    return nullptr;
}

int16_t AreaPolygonList::AppendZone(uint32_t type, const LatLonPoint* points, int16_t count)
{
    AreaPolygon* last = first;
    while (last != nullptr && last->GetNext() != nullptr)
        last = last->GetNext();
    // Ids are 16 bits; past the last one the count would come round to 0,
    // which answers "no zone".
    const int16_t id = last == nullptr ? 1 : static_cast<int16_t>(static_cast<uint16_t>(last->GetID() + 1));
    if (id == 0) {
        ErrorBox("AreaPolygonList::Add: no zone number is left");
        return 0;
    }
    AreaPolygon* zone = new (std::nothrow) AreaPolygon(id, points, count, type);
    AllocationCheck(zone);
    if (zone == nullptr)
        return 0;
    if (last == nullptr)
        first = zone;
    else
        last->SetNext(zone);
    return id;
}

int16_t AreaPolygonList::ReplaceZone(int16_t id, uint32_t type, const LatLonPoint* points, int16_t count)
{
    AreaPolygon* previous = nullptr;
    AreaPolygon* old = first;
    while (old != nullptr && old->GetID() != id) {
        previous = old;
        old = old->GetNext();
    }
    if (old == nullptr)
        return 0;
    AreaPolygon* zone = new (std::nothrow) AreaPolygon(id, points, count, type);
    AllocationCheck(zone);
    if (zone == nullptr)
        return 0;
    // The old name and one blank; a full name has no room and stays as it was.
    char text[NameString::SIZE];
    old->name.Get(text);
    const size_t length = std::strlen(text);
    if (length < static_cast<size_t>(NameString::MAX_LENGTH)) {
        text[length] = ' ';
        text[length + 1] = '\0';
    }
    zone->name.Set(text);

    zone->SetNext(old->GetNext());
    if (previous == nullptr)
        first = zone;
    else
        previous->SetNext(zone);
    delete old;
    return id;
}

int16_t AreaPolygonList::SetType(int16_t id, uint32_t type)
{
    AreaPolygon* zone = Find(id);
    if (zone == nullptr) {
        ShowText(TEXT_NO_ZONE_TYPE);
        return 0;
    }
    if (type == 0) {
        Delete(id);
        return 0;
    }
    zone->SetType(type);
    return id;
}

uint32_t AreaPolygonList::GetType(int16_t id) const
{
    const AreaPolygon* zone = Find(id);
    return zone != nullptr ? zone->GetType() : 0;
}

void AreaPolygonList::Delete(int16_t id)
{
    AreaPolygon* previous = nullptr;
    for (AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext()) {
        if (zone->GetID() == id) {
            if (previous == nullptr)
                first = zone->GetNext();
            else
                previous->SetNext(zone->GetNext());
            delete zone;
            return;
        }
        previous = zone;
    }
}

bool AreaPolygonList::Any_Odd_Crossing(const LatLonPoint& a, const LatLonPoint& b, uint32_t mask) const
{
    for (const AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext()) {
        if ((zone->GetType() & mask) == 0)
            continue;
        LatLonPoint from = a;   // the test unwraps its points in place
        LatLonPoint to = b;
        if (!zone->Even_Crossings(from, to))
            return true;
    }
    return false;
}

LatLonPoint AreaPolygonList::First_Crossing(const LatLonPoint& a, const LatLonPoint& b, uint32_t mask) const
{
    for (const AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext()) {
        if ((zone->GetType() & mask) == 0)
            continue;
        LatLonPoint from = a;
        LatLonPoint to = b;
        const LatLonPoint crossing = zone->First_Crossing(from, to);
        if (!crossing.IsNone())
            return crossing;
    }
    return LatLonPoint::None();
}

int16_t AreaPolygonList::ZoneColour(uint32_t type)
{
    if ((type & ZONE_GENERAL_EXCLUSION) != 0)
        return COLOUR_EXCLUSION;
    int16_t colour = 0;
    if ((type & ZONE_SURFACE_THREAT) != 0)
        colour = COLOUR_SURFACE_THREAT;
    else if ((type & ZONE_SURFACE_SENSOR) != 0)
        colour = COLOUR_SURFACE_SENSOR;

    // Each further medium, and the neutral group, conflicts with any group
    // already found.
    const auto join = [&colour](int16_t own) {
        if (colour != 0)
            return false;
        colour = own;
        return true;
    };
    if ((type & ZONE_SUBMARINE_THREAT) != 0) {
        if (!join(COLOUR_SUBMARINE_THREAT))
            return COLOUR_EXCLUSION;
    } else if ((type & ZONE_SUBSURFACE_SENSOR) != 0) {
        if (!join(COLOUR_SUBSURFACE_SENSOR))
            return COLOUR_EXCLUSION;
    }
    if ((type & ZONE_AIR_THREAT) != 0) {
        if (!join(COLOUR_AIR_THREAT))
            return COLOUR_EXCLUSION;
    } else if ((type & ZONE_AIR_SENSOR) != 0) {
        if (!join(COLOUR_AIR_SENSOR))
            return COLOUR_EXCLUSION;
    }
    if ((type & ZONE_NEUTRAL) != 0) {
        if (!join(COLOUR_NEUTRAL))
            return COLOUR_EXCLUSION;
    }
    return colour;
}

void AreaPolygonList::Draw(const XYRect& view, uint32_t filter)
{
    uint32_t shown = 0;
    for (const FilterGroups& row : FILTER_GROUPS) {
        if ((filter & row.filterBit) != 0)
            shown |= row.groups;
    }
    for (AreaPolygon* zone = first; zone != nullptr; zone = zone->GetNext()) {
        const uint32_t groups = zone->GetType() & shown;
        if (groups == 0)
            continue;
        // The colour comes from the shown groups only: a surface zone that
        // is also an air zone is drawn as a surface zone when air is hidden.
        zone->Draw(view, ZoneColour(groups));
        if (!IsNeutral(*zone))
            DrawZoneMarker(zone->GetMarkerPoint());
    }
}

int16_t AreaPolygonList::PickMarker(const XYRect& rect, int16_t after) const
{
    if (first == nullptr)
        return 0;
    const AreaPolygon* zone = nullptr;
    if (after == 0) {
        if (first->MarkerInRect(rect))
            return IsNeutral(*first) ? 0 : first->GetID();
        if (first->GetNext() == nullptr)
            return 0;
        after = first->GetID();
        zone = first->GetNext();
    } else {
        const AreaPolygon* previous = Find(after);
        if (previous == nullptr)
            return 0;
        zone = previous->GetNext() != nullptr ? previous->GetNext() : first;
    }
    // Round the list once, ending at the zone `after`.
    while (zone->GetID() != after) {
        if (zone->MarkerInRect(rect))
            return IsNeutral(*zone) ? 0 : zone->GetID();
        zone = zone->GetNext() != nullptr ? zone->GetNext() : first;
    }
    return 0;
}

void AreaPolygonList::ShowText(int32_t number)
{
    ReportResourceText(number, "AreaPolygonList", &ErrorBox);
}

void AreaPolygonList::ShowChainTooLong(int32_t length)
{
    char text[96];
    std::snprintf(text, sizeof text, "AreaPolygonList::PointsFromChain: %d points are too many for a zone",
                  static_cast<int>(length));
    ErrorBox(text);
}
