// SimObject.cpp: the saved form of an object's identity, flags and place.
#include "units/SimObject.h"

#include <istream>
#include <ostream>

void SimObject::Save(std::ostream& out) const
{
    ObjectID::Save(out);
    stateFlags.Save(out);
    PositionObject::Save(out);
}

bool SimObject::Load(std::istream& in)
{
    // Identity and flags are taken only once the position part has been read
    // whole too, so a cut record changes nothing.
    ObjectID ids;
    StreamInt16 flags;
    if (!ids.Load(in) || !flags.Load(in) || !PositionObject::Load(in))
        return false;
    ObjectID::operator=(ids);
    stateFlags = flags;
    return true;
}
