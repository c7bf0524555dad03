// LatLonRect.cpp: the saved form of a geographic rectangle.
#include "core/LatLonRect.h"

#include "core/ByteOrder.h"

void LatLonRect::Save(std::ostream& out) const
{
    WriteInt32LE(out, north);
    WriteInt32LE(out, west);
    WriteInt32LE(out, south);
    WriteInt32LE(out, east);
}

bool LatLonRect::Load(std::istream& in)
{
    LatLonRect read;
    if (!ReadInt32LE(in, read.north) || !ReadInt32LE(in, read.west) ||
        !ReadInt32LE(in, read.south) || !ReadInt32LE(in, read.east))
        return false;
    *this = read;
    return true;
}
