// PathPoint.h: PathPoint, one point of a route, an element of a point chain
// (Chain<PathPoint>). Routes hold them (Nav_Path, NavPath.h); so do the other
// point lists that are built from a route.
#pragma once

#include <istream>
#include <ostream>

#include "core/ChainLink.h"
#include "core/LatLonPoint.h"

class PathPoint : public ChainLink<PathPoint> {
public:
    PathPoint() = default;                          // pos (0, 0)
    explicit PathPoint(const LatLonPoint& point) : pos(point) {}
    virtual ~PathPoint() = default;

    // Saved form, little-endian, 8 bytes:
    //   lat   i32   angle units
    //   lon   i32   angle units
    void Save(std::ostream& out) const { pos.Save(out); }
    // A short read leaves pos unchanged and the stream failed; answers the
    // stream's state.
    bool Load(std::istream& in) { return pos.Load(in); }

    LatLonPoint pos;   // the point, angle units
};
