// ObjectID.cpp: the saved form of an object's identity.
#include "units/ObjectID.h"

#include <istream>
#include <ostream>

void ObjectID::Save(std::ostream& out) const
{
    sideID.Save(out);
    secondID.Save(out);
}

bool ObjectID::Load(std::istream& in)
{
    StreamInt16 side;
    StreamInt16 second;
    if (!side.Load(in) || !second.Load(in))
        return false;
    sideID = side;
    secondID = second;
    return true;
}
