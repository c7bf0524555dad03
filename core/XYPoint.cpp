// XYPoint.cpp: the midpoint and the saved form of a map point.
#include "core/XYPoint.h"

#include "core/StreamFields.h"

namespace {

// The smaller of a and b plus half their distance, in 64 bits so that any two
// coordinates work; the result lies between them and fits.
int32_t HalfwayBetween(int32_t a, int32_t b)
{
    const int64_t low = a < b ? a : b;
    const int64_t high = a < b ? b : a;
    return static_cast<int32_t>(low + (high - low) / 2);
}

}  // namespace

XYPoint XYPoint::Midpoint(const XYPoint& a, const XYPoint& b)
{
    return {HalfwayBetween(a.x, b.x), HalfwayBetween(a.y, b.y)};
}

void XYPoint::Save(std::ostream& out) const
{
    SaveField(out, x);
    SaveField(out, y);
}

bool XYPoint::Load(std::istream& in)
{
    int32_t readX = 0;
    int32_t readY = 0;
    if (!LoadField(in, readX) || !LoadField(in, readY))
        return false;
    x = readX;
    y = readY;
    return true;
}
