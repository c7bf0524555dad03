// MapFiles.h: helpers for tests of the coast, country and ice files and of
// code that reads them: FlatProjection (x = longitude, y = latitude, so map
// rectangles can be checked by hand), map file bytes from a MapFileWriter,
// little-endian patching of those bytes, and a tile built from three files.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "core/Geometry.h"
#include "core/Projection.h"
#include "world/MapFileWriter.h"
#include "world/MapTile.h"

// A projection that maps a position straight onto the plane: x = longitude,
// y = latitude. Only the conversions and the rectangle questions are real.
class FlatProjection : public Projection {
public:
    XYPoint LatLon_to_XY(LatLonPoint p) const override { return {p.lon, p.lat}; }
    LatLonPoint XY_to_LatLon(XYPoint p) const override { return {p.y, p.x}; }
    LatLonRect XYRect_to_LatLonRect(XYRect view, LatLonRect) const override
    {
        return {view.top, view.left, view.bottom, view.right};
    }
    void Draw_Meridian(LatLonPoint, LatLonPoint) const override {}
    void Draw_Parallel(LatLonPoint, LatLonPoint) const override {}
    LatLonPoint Align_Point(LatLonPoint, LatLonPoint p) const override { return p; }
    bool Point_In_LatLonRect(LatLonRect r, LatLonPoint p) const override
    {
        return Geometry::Point_In_LatLonRect(r, p);
    }
    LatLonRect LatLonRect_From_Points(LatLonPoint a, LatLonPoint b) const override
    {
        return Geometry::LatLonRect_From_Points(a, b);
    }
    bool LatLonRects_Overlap(LatLonRect r1, LatLonRect r2) const override
    {
        return Geometry::LatLonRect_Overlaps(r1, r2);
    }
    bool Crosses_Dateline(LatLonPoint, LatLonPoint) const override { return false; }
    LatLonPoint Segment_Rect_Crossing_Point(LatLonRect r, LatLonPoint a, LatLonPoint b) const override
    {
        return Geometry::Segment_Rect_Crossing_Point(r, a, b);
    }
    bool Converts_XYRect(const XYRect&) const override { return true; }
    int32_t Get_Origin_Lat() const override { return 0; }
    bool Parity_Matches(uint16_t number) const override { return (number & 1) != 0; }
};

// The bytes of the file the writer makes.
inline std::string MapFileBytes(const MapFileWriter& writer)
{
    std::ostringstream out;
    writer.Write(out);
    return out.str();
}

// The bytes of a file with no outlines at all.
inline std::string EmptyMapFileBytes()
{
    return MapFileBytes(MapFileWriter());
}

// Little-endian reads and patches of file bytes, for building damaged files.
inline uint32_t ReadU32At(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    return v;
}

inline void PatchU32At(std::string& bytes, size_t at, uint32_t v)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline void PatchI16At(std::string& bytes, size_t at, int16_t v)
{
    const uint16_t u = static_cast<uint16_t>(v);
    bytes[at] = static_cast<char>(u & 0xFF);
    bytes[at + 1] = static_cast<char>(u >> 8);
}

// Angle units of a position in whole and fractional degrees.
constexpr int32_t Degrees(double d)
{
    return static_cast<int32_t>(d * ANGLE_PER_DEGREE + (d < 0 ? -0.5 : 0.5));
}
