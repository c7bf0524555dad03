// LatLonPoint.cpp: the saved form of a position.
#include "core/LatLonPoint.h"

#include "core/ByteOrder.h"

void LatLonPoint::Save(std::ostream& out) const
{
    WriteInt32LE(out, lat);
    WriteInt32LE(out, lon);
}

bool LatLonPoint::Load(std::istream& in)
{
    int32_t readLat = 0;
    int32_t readLon = 0;
    if (!ReadInt32LE(in, readLat) || !ReadInt32LE(in, readLon))
        return false;
    lat = readLat;
    lon = readLon;
    return true;
}
