// StartPositionRecord.cpp: counting, picking and saving a unit's alternative
// start positions.
#include "units/StartPositionRecord.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

uint32_t StartPositionRecord::CountPositions() const
{
    uint32_t count = 0;
    for (const IDPoint* p = positions.First(); p; p = p->GetNext())
        ++count;
    return count;
}

const IDPoint* StartPositionRecord::GetPosition(uint32_t n) const
{
    if (n == 0)
        return nullptr;
    const IDPoint* p = positions.First();
    for (uint32_t i = 1; p && i < n; ++i)
        p = p->GetNext();
    return p;
}

void StartPositionRecord::Save(std::ostream& out) const
{
    SaveKey(out);
    positions.Save(out);
}

void StartPositionRecord::Load(std::istream& in)
{
    uint16_t unitID = 0;
    if (!LoadField(in, unitID))
        return;
    IDPointList read;
    if (!read.Load(in))
        return;
    SetKey(unitID);
    positions.DeleteAll();
    while (IDPoint* p = read.First()) {
        read.Remove(p);
        positions.Insert(p);
    }
}
