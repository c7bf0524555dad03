// FuelAnnex.cpp: the file layout of a fuel.dat record.
#include "annex/FuelAnnex.h"

#include <istream>
#include <ostream>

void FuelAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, fuelType);
    SaveField(out, capacity);
    if (annexVersion != 0)
        SaveField(out, thirdValue);
}

bool FuelAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, fuelType);
    LoadField(in, capacity);
    if (GetAnnexVersion() != 0)
        LoadField(in, thirdValue);
    return static_cast<bool>(in);
}
