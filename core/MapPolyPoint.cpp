// MapPolyPoint.cpp: reading one outline point.
#include "core/MapPolyPoint.h"

#include "core/StreamFields.h"

bool MapPolyPoint::Load(std::istream& in)
{
    MapPolyPoint read;
    if (!LoadField(in, read.level) || !LoadField(in, read.first) ||
        !LoadField(in, read.second))
        return false;
    *this = read;
    return true;
}
