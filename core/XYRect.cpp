// XYRect.cpp: the overlap test and the saved form of a map rectangle.
#include "core/XYRect.h"

#include "core/ByteOrder.h"

bool XYRect::Overlaps(const XYRect& a, const XYRect& b)
{
    return b.left <= a.right && a.bottom <= b.top && a.left <= b.right && b.bottom <= a.top;
}

void XYRect::Save(std::ostream& out) const
{
    WriteInt32LE(out, left);
    WriteInt32LE(out, top);
    WriteInt32LE(out, right);
    WriteInt32LE(out, bottom);
}

bool XYRect::Load(std::istream& in)
{
    XYRect read;
    if (!ReadInt32LE(in, read.left) || !ReadInt32LE(in, read.top) ||
        !ReadInt32LE(in, read.right) || !ReadInt32LE(in, read.bottom))
        return false;
    *this = read;
    return true;
}
