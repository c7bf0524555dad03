// AirFacilityAnnex.cpp: the file layout of an airfacil.dat record.
#include "annex/AirFacilityAnnex.h"

#include <istream>
#include <ostream>

void AirFacilityAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, kindCode);
    SaveField(out, value);
    if (annexVersion != 0)
        SaveField(out, extra);
}

bool AirFacilityAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, kindCode);
    LoadField(in, value);
    if (GetAnnexVersion() != 0)
        LoadField(in, extra);
    return static_cast<bool>(in);
}
