// WarheadAnnex.cpp: the file layout of a warhead.dat record.
#include "annex/WarheadAnnex.h"

#include <istream>
#include <ostream>

void WarheadAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, warheadType);
    SaveField(out, damage);
    SaveField(out, count);
    SaveField(out, thirdValue);
    name.Save(out);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool WarheadAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, warheadType);
    LoadField(in, damage);
    LoadField(in, count);
    LoadField(in, thirdValue);
    name.Load(in);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
