// XYRect.cpp: the overlap test and the saved form of a map rectangle.
#include "core/XYRect.h"

#include "core/StreamFields.h"

bool XYRect::Overlaps(const XYRect& a, const XYRect& b)
{
    return b.left <= a.right && a.bottom <= b.top && a.left <= b.right && b.bottom <= a.top;
}

void XYRect::Save(std::ostream& out) const
{
    SaveField(out, left);
    SaveField(out, top);
    SaveField(out, right);
    SaveField(out, bottom);
}

bool XYRect::Load(std::istream& in)
{
    XYRect read;
    if (!LoadField(in, read.left) || !LoadField(in, read.top) ||
        !LoadField(in, read.right) || !LoadField(in, read.bottom))
        return false;
    *this = read;
    return true;
}
