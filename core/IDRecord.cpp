// IDRecord.cpp: the saved form of the ID-value list node.
#include "core/IDRecord.h"

#include <istream>
#include <ostream>

void IDRecord::Save(std::ostream& out) const
{
    SaveKey(out);
    value_.Save(out);
}

void IDRecord::Load(std::istream& in)
{
    LoadKey(in);
    value_.Load(in);
}
