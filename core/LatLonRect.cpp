// LatLonRect.cpp: the saved form of a geographic rectangle.
#include "core/LatLonRect.h"

#include "core/StreamFields.h"

void LatLonRect::Save(std::ostream& out) const
{
    SaveField(out, north);
    SaveField(out, west);
    SaveField(out, south);
    SaveField(out, east);
}

bool LatLonRect::Load(std::istream& in)
{
    LatLonRect read;
    if (!LoadField(in, read.north) || !LoadField(in, read.west) ||
        !LoadField(in, read.south) || !LoadField(in, read.east))
        return false;
    *this = read;
    return true;
}
