// LatLonPoint.cpp: the saved form of a position.
#include "core/LatLonPoint.h"

#include "core/StreamFields.h"

void LatLonPoint::Save(std::ostream& out) const
{
    SaveField(out, lat);
    SaveField(out, lon);
}

bool LatLonPoint::Load(std::istream& in)
{
    int32_t readLat = 0;
    int32_t readLon = 0;
    if (!LoadField(in, readLat) || !LoadField(in, readLon))
        return false;
    lat = readLat;
    lon = readLon;
    return true;
}
