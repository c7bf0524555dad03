// AnnexEntry.cpp: an air facility entry's state rule and saved form.
#include "annex/AnnexEntry.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

void AnnexEntry::SetState(uint32_t newState)
{
    state = (newState == AIR_STATE_DAMAGED || newState == AIR_STATE_DESTROYED) ? newState
                                                                                : AIR_STATE_ACTIVE;
}

void AnnexEntry::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, typeCode);
    SaveField(out, state);
    SaveField(out, thirdCode);
    SaveField(out, value1);
    SaveField(out, value2);
    SaveField(out, byte1);
    SaveField(out, byte2);
    SaveField(out, byte3);
    SaveField(out, byte4);
    SaveField(out, long1);
    SaveField(out, long2);
    SaveField(out, long3);
    ids.Save(out);
}

void AnnexEntry::Load(std::istream& in)
{
    LoadKey(in);
    LoadField(in, typeCode);
    LoadField(in, state);
    LoadField(in, thirdCode);
    LoadField(in, value1);
    LoadField(in, value2);
    LoadField(in, byte1);
    LoadField(in, byte2);
    LoadField(in, byte3);
    LoadField(in, byte4);
    LoadField(in, long1);
    LoadField(in, long2);
    LoadField(in, long3);
    ids.DeleteAll();
    if (in)
        ids.Load(in);
}
