// DatalinkRecord.cpp: the saved form of a communications channel.
#include "units/DatalinkRecord.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

void DatalinkRecord::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, linkState);
    SaveField(out, channelKind);
    SaveField(out, auxWord);
    SaveField(out, linkRange);
    SaveField(out, maxLinks);
    SaveField(out, linkCount);
    links.Save(out);
    SaveField(out, channelFlags);
}

bool DatalinkRecord::Load(std::istream& in)
{
    LoadKey(in);
    LoadField(in, linkState);
    LoadField(in, channelKind);
    LoadField(in, auxWord);
    LoadField(in, linkRange);
    LoadField(in, maxLinks);
    LoadField(in, linkCount);
    if (!in || !links.Load(in))
        return false;
    LoadField(in, channelFlags);
    return static_cast<bool>(in);
}
