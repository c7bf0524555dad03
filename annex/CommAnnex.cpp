// CommAnnex.cpp: the file layout of a comm.dat record.
#include "annex/CommAnnex.h"

#include <istream>
#include <ostream>

CommAnnex::CommAnnex()
{
    name.Set(UNNAMED);
}

CommAnnex::CommAnnex(uint16_t id) : TreeListNode<CommAnnex>(id)
{
    name.Set(UNNAMED);
}

void CommAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, commType);
    SaveField(out, flags);
    SaveField(out, range);
    SaveField(out, value);
    name.Save(out);
    SaveField(out, byteValue);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool CommAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, commType);
    LoadField(in, flags);
    LoadField(in, range);
    LoadField(in, value);
    name.Load(in);
    LoadField(in, byteValue);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
