// InstallationAnnex.cpp: the file layout of an installa.dat record.
#include "annex/InstallationAnnex.h"

#include <istream>
#include <ostream>

void InstallationAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    WriteAnnexList(out, points);
    position.Save(out);
    name.Save(out);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool InstallationAnnex::Read(std::istream& in)
{
    LoadKey(in);
    ReadAnnexList(in, points, POINT_BYTES);
    position.Load(in);
    name.Load(in);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
