// Plane.cpp: the saved record of an aircraft in flight.
#include "units/Plane.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

void Plane::SaveFields(std::ostream& out) const
{
    SaveField(out, uint8_t{'P'});
    SaveField(out, aircraftType);
    SaveField(out, loadout);
    SaveField(out, taskWord);
    SaveUnitRecord(out);
}

bool Plane::LoadFields(std::istream& in)
{
    LoadField(in, aircraftType);
    LoadField(in, loadout);
    LoadField(in, taskWord);
    return in && LoadUnitRecord(in);
}
