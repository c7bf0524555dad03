// ArcRecord.cpp: the sector containment test and the sector's saved form.
#include "units/ArcRecord.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "core/Units.h"

bool ArcRecord::Contains(int32_t b) const
{
    // 64-bit ends: a centre and half-width loaded from a file may be anything.
    const int64_t lo = int64_t{bearing} - halfWidth;
    const int64_t hi = int64_t{bearing} + halfWidth;
    if (lo <= b && b <= hi)
        return true;
    if (hi > ANGLE_FULL)
        return int64_t{b} + ANGLE_FULL <= hi;
    if (lo < 0)
        return b >= lo + ANGLE_FULL;
    return false;
}

void ArcRecord::Save(std::ostream& out) const
{
    SaveField(out, bearing);
    SaveField(out, halfWidth);
    SaveField(out, tracking);
    SaveField(out, contactID);
    SaveField(out, static_cast<uint16_t>(weight));
    SaveField(out, static_cast<uint16_t>(value2));
    SaveField(out, userSet);
}

bool ArcRecord::Load(std::istream& in)
{
    ArcRecord read;
    uint16_t weight16 = 0;
    uint16_t value16 = 0;
    LoadField(in, read.bearing);
    LoadField(in, read.halfWidth);
    LoadField(in, read.tracking);
    LoadField(in, read.contactID);
    LoadField(in, weight16);
    LoadField(in, value16);
    LoadField(in, read.userSet);
    if (!in)
        return false;
    read.weight = weight16;
    read.value2 = value16;
    *this = read;
    return true;
}
