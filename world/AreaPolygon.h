// AreaPolygon.h: AreaPolygon, one zone of a side (threat, sensor, exclusion or
// neutral area): a LatLon_Poly with a name, a number within its list and its
// zone type bits. The list that holds a side's zones is AreaPolygonList.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/LatLonPoint.h"
#include "core/NameString.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"
#include "world/LatLonPoly.h"

// Zone type bits: eight groups, of which a zone may carry several.
constexpr uint32_t ZONE_GENERAL_EXCLUSION = 0x7000000F;
constexpr uint32_t ZONE_SURFACE_THREAT    = 0x000000F0;
constexpr uint32_t ZONE_SURFACE_SENSOR    = 0x00000F00;
constexpr uint32_t ZONE_SUBMARINE_THREAT  = 0x0000F000;
constexpr uint32_t ZONE_SUBSURFACE_SENSOR = 0x000F0000;
constexpr uint32_t ZONE_AIR_THREAT        = 0x00F00000;
constexpr uint32_t ZONE_AIR_SENSOR        = 0x0F000000;
constexpr uint32_t ZONE_NEUTRAL           = 0x80000000;

class AreaPolygon : public LatLon_Poly {
public:
    // Resource text that starts a new zone's name; the number follows.
    static constexpr int32_t TEXT_NEW_ZONE_NAME = 0x7B00C2;

    // A zone from a list of points (LatLon_Poly::SetPoints: a list of fewer
    // than one point leaves the zone without points). Its name is the
    // resource text, the id in decimal and one blank ("Zone 3 "), within the
    // 32 bytes of a name.
    AreaPolygon(int16_t id, const LatLonPoint* pointlist, int16_t number_of_points, uint32_t type);
    // Reads a saved zone (see Save). A damaged record leaves the stream
    // failed; the caller tests it and drops the zone.
    explicit AreaPolygon(std::istream& in);
    ~AreaPolygon() override;

    // Saved form, little-endian:
    //   body    the LatLon_Poly body (LatLon_Poly::Save)
    //   type    u32          zone type bits
    //   id      u16          number within the list
    //   name    NameString   u16 byte count, text, zero byte
    // The last three are written whatever the body answered; the answer is
    // the body's.
    bool Save(std::ostream& out) const;

    int16_t GetID() const { return id; }
    uint32_t GetType() const { return type; }
    void SetType(uint32_t newType) { type = newType; }
    AreaPolygon* GetNext() const { return next; }
    void SetNext(AreaPolygon* zone) { next = zone; }

    // Where the zone's marker is drawn: projected point 0 (XYPoint::None for
    // a zone without points).
    XYPoint GetMarkerPoint() const { return GetXYPoint(0); }
    // True when the marker point lies in rect, edges included.
    bool MarkerInRect(const XYRect& rect) const;

    // The label the interface shows; it renames a zone by setting it.
    NameString name;

private:
    int16_t id = 0;              // 1, 2, 3 ... within the list
    uint32_t type = 0;           // zone type bits
    AreaPolygon* next = nullptr; // the next zone of the list, not owned here
};
