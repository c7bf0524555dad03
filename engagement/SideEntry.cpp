// SideEntry.cpp: the saved form of a side's relation entry.
#include "engagement/SideEntry.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

void SideEntry::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, relation_);
}

void SideEntry::Load(std::istream& in)
{
    uint16_t key = 0;
    uint8_t relation = 0;
    LoadField(in, key);
    LoadField(in, relation);
    if (!in)
        return;
    SetKey(key);
    relation_ = relation;
}
