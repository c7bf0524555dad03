// MapPolyPoint.cpp: reading one outline point.
#include "core/MapPolyPoint.h"

#include "core/ByteOrder.h"

bool MapPolyPoint::Load(std::istream& in)
{
    MapPolyPoint read;
    if (!ReadUInt8(in, read.level) || !ReadInt32LE(in, read.first) ||
        !ReadInt32LE(in, read.second))
        return false;
    *this = read;
    return true;
}
