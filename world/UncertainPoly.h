// UncertainPoly.h: Uncertain_Poly, the area within which a contact is believed
// to be: a LatLon_Poly that also keeps its ring as built, an estimated centre
// and a colour that steps as the area grows. The contact code owns, saves and
// merges these areas; the base polygon and its crossing tests are in
// LatLonPoly.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/LatLonPoint.h"
#include "core/XYRect.h"
#include "world/LatLonPoly.h"

class Uncertain_Poly : public LatLon_Poly {
public:
    // Map colour of a new area, and the colour at which growth stops stepping it.
    static constexpr int16_t COLOUR_NEW = 43;
    static constexpr int16_t COLOUR_OLDEST = 46;
    // Edges of the circle built by the centre-and-radius constructor, 15
    // degrees apart.
    static constexpr int16_t CIRCLE_EDGES = 24;

    // An arbitrary ring of number_of_points points, closed as LatLon_Poly::
    // SetPoints closes it; the source points are the list as given plus the
    // closing point when one was added. The centre is computed from (0, 0).
    // A count of zero or less is reported through FatalError
    // ("...: number_of_points = -3") and nothing is read; the area is then
    // empty (no points) and frozen, as it is when the list itself is refused.
    Uncertain_Poly(const LatLonPoint* pointlist, int16_t number_of_points);

    // A circle of 24 edges around `centre`, radius in the distance units of
    // NavMath::Offset_Flat; 25 points, the last repeating the first. The
    // centre is the one given, even off the map.
    Uncertain_Poly(const LatLonPoint& centre, int32_t radius);

    // The area seen from a sensor at `origin` that detected something at
    // `target` with a bearing error of +-halfWidth (angle units) and a range
    // error of +-rangeError (a negative rangeError: range not measured, the
    // area runs from minRange to maxRange). The inner radius is at least
    // minRange, the outer at most maxRange. m = (2 halfWidth - 1) / 15 degrees
    // arc points lie on the outer edge; the ring has m + 7 points, or m + 6
    // when the inner radius is 0 (the origin itself is then a corner). A
    // negative halfWidth is taken as giving no arc points.
    Uncertain_Poly(const LatLonPoint& origin, const LatLonPoint& target, int32_t halfWidth,
                   int32_t rangeError, int32_t minRange, int32_t maxRange);

    // Reads a saved area (see Save); the centre is recomputed from (0, 0) and
    // the out-of-range flag cleared. A damaged record (no point, fewer bytes
    // than the count announces, a source point outside -90..90 degrees
    // latitude or -180..180 longitude, a colour that is not 43 to 46) leaves the
    // area empty and frozen and the stream failed; the caller tests the stream.
    explicit Uncertain_Poly(std::istream& in);

    ~Uncertain_Poly() override;

    Uncertain_Poly(const Uncertain_Poly&) = delete;
    Uncertain_Poly& operator=(const Uncertain_Poly&) = delete;

    // The estimated position of the contact.
    LatLonPoint Get_Center() const { return centre; }
    // Map colour the area is drawn in: 43 new, one more per growth, up to 46.
    int16_t GetColour() const { return colour; }
    // True once the area has left the valid coordinate range or has no point
    // inside the map: it then no longer grows and its centre stays.
    bool IsOutOfRange() const { return outOfRange != 0; }
    // Source point i, the ring as built (longitudes not unwrapped), index for
    // index with the polygon's points; LatLonPoint::None when i < 0 or
    // i >= count. The contact code reads these when it merges two areas.
    LatLonPoint GetSourcePoint(int16_t i) const;

    // Draws the outline in the area's own colour when it overlaps `view`.
    void Draw(const XYRect& view);
    using LatLon_Poly::Draw;

    // Saved form, little-endian:
    //   body     the LatLon_Poly body (LatLon_Poly::Save): i16 count n,
    //            n points, n projected points, LatLonRect, XYRect
    //   sources  n x 8 bytes   i32 lat, i32 lon (angle units, as built)
    //   colour   i16           map colour
    // The centre and the out-of-range flag are not saved. Writes nothing and
    // answers false when the stream is failed; else the body's answer.
    bool Save(std::ostream& out) const;

    // Moves every source point `distance` further from the centre (flat
    // plane), rebuilds the polygon from them, recomputes the centre and steps
    // the colour (at most 46). Does nothing when the area is frozen, or
    // becomes frozen because a point lies outside -90..90 degrees latitude or
    // -180..180 degrees longitude (bounds included), or has no points.
    void Grow(int32_t distance);

    // The mean of all points (point 0 counted twice through the closing
    // point), drawn towards the points inside the map: while the mean lies off
    // the map and the weight is below 32000, every inside point is added once
    // more. Freezes the area, centre unchanged, when no point lies inside the
    // map or when a point off the map lies out of the coordinate range; a
    // frozen area keeps its centre once an outside point is met.
    void Compute_Center();

    // The crossing of a-b with the outline nearest to a, for walking along
    // the outline: a and b are first unwrapped against point 0 (the caller
    // sees them changed); `edge` names on entry an edge to skip (edge e runs
    // from point e to point e + 1) and on return the edge crossed, or -1. A
    // crossing at a itself (distance 0) is never chosen; equal distances keep
    // the lower edge. No crossing gives LatLonPoint::None. Distance is the sum
    // of the latitude and longitude differences from a.
    LatLonPoint Nearest_Crossing(LatLonPoint& a, LatLonPoint& b, int16_t& edge) const;

private:
    // Frees both polygon arrays and the source points; the area is then empty
    // and frozen.
    void MakeEmpty();
    // Takes `ring` (count points) as the source points; the polygon has
    // already been set from them.
    void AdoptSources(LatLonPoint* ring);
    // Sets the flag when any polygon point lies outside -90..90 degrees
    // latitude or -180..180 degrees longitude.
    void CheckCoordinateRange();

    LatLonPoint* sourcePoints = nullptr;   // count points, as built
    LatLonPoint centre;                    // angle units
    int16_t colour = COLOUR_NEW;           // map colour index
    uint8_t outOfRange = 0;                // 1: frozen
};
