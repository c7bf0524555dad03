// LoadoutAnnex.cpp: the file layout of a loadout.dat record.
#include "annex/LoadoutAnnex.h"

#include <istream>
#include <ostream>

void LoadoutAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, firstCode);
    SaveField(out, secondCode);
    WriteAnnexList(out, firstIDs);
    WriteAnnexList(out, weaponRecIDs);
    SaveField(out, mountByte);
    SaveField(out, value16);
    SaveField(out, armingMinutes);
    SaveField(out, value32);
    name.Save(out);
    for (uint8_t b : bytes)
        SaveField(out, b);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool LoadoutAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, firstCode);
    LoadField(in, secondCode);
    ReadAnnexList(in, firstIDs, 2);
    ReadAnnexList(in, weaponRecIDs, 2);
    LoadField(in, mountByte);
    LoadField(in, value16);
    LoadField(in, armingMinutes);
    LoadField(in, value32);
    name.Load(in);
    for (uint8_t& b : bytes)
        LoadField(in, b);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
