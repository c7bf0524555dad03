// AreaPolygon.cpp: AreaPolygon, one zone of a side: its naming, its saved
// form and its marker.
#include "world/AreaPolygon.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "core/Geometry.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"

AreaPolygon::AreaPolygon(int16_t id, const LatLonPoint* pointlist, int16_t number_of_points,
                         uint32_t type)
    : LatLon_Poly(pointlist, number_of_points), id(id), type(type)
{
    const char* prefix = TheResourceLoader != nullptr ? TheResourceLoader->Get(TEXT_NEW_ZONE_NAME) : nullptr;
    char text[NameString::SIZE];
    // Within the 32 bytes of a name; a long prefix loses its tail, never the zero.
    std::snprintf(text, sizeof text, "%s%d ", prefix != nullptr ? prefix : "", static_cast<int>(id));
    if (prefix != nullptr)
        TheResourceLoader->Free(TEXT_NEW_ZONE_NAME);
    name.Set(text);
}

AreaPolygon::AreaPolygon(std::istream& in) : LatLon_Poly(in)
{
    uint32_t readType = 0;
    uint16_t readID = 0;
    LoadField(in, readType);
    LoadField(in, readID);
    name.Load(in);
    if (!in)
        return;
    type = readType;
    id = static_cast<int16_t>(readID);   // saved as u16, held as the same 16 bits
}

AreaPolygon::~AreaPolygon() = default;

bool AreaPolygon::Save(std::ostream& out) const
{
    const bool body = LatLon_Poly::Save(out);
    SaveField<uint32_t>(out, type);
    SaveField<uint16_t>(out, static_cast<uint16_t>(id));
    name.Save(out);
    return body;
}

bool AreaPolygon::MarkerInRect(const XYRect& rect) const
{
    if (count < 1)
        return false;
    return Geometry::Point_In_XYRect(rect, xyPoints[0]);
}
