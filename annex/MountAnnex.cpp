// MountAnnex.cpp: the file layout of a mount.dat or magazine.dat record.
#include "annex/MountAnnex.h"

#include <istream>
#include <ostream>

void MountAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, code);
    WriteAnnexList(out, sensorIDs);
    WriteAnnexList(out, weaponRecIDs);
    SaveField(out, rateOfFire);
    SaveField(out, capacity);
    SaveField(out, value);
    SaveField(out, mountFlags);
    name.Save(out);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool MountAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, code);
    ReadAnnexList(in, sensorIDs, 2);
    ReadAnnexList(in, weaponRecIDs, 2);
    LoadField(in, rateOfFire);
    LoadField(in, capacity);
    LoadField(in, value);
    LoadField(in, mountFlags);
    name.Load(in);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
