// Projection.h: the map projections, Projection and its two kinds Cassini
// (polar) and MillerCylindrical, with the Miller ordinate table. They turn
// positions into map-plane points and back, find the view's lat/lon rectangle,
// draw the grid lines through the bridge's map pen and answer the 180-degree
// meridian questions. The Map owns the one projection of a scenario.
#pragma once

#include <array>
#include <cstdint>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/Units.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"

// The projection identifiers of the scenario file's map section.
constexpr uint8_t PROJECTION_MILLER = 1;
constexpr uint8_t PROJECTION_CASSINI = 2;

// The four projections a scenario can choose, under the names the user sees
// (two blanks before the parenthesis in the Miller names, one in the Cassini names).
struct ProjectionVariant {
    const char* name;
    uint8_t projectionID;
    LatLonPoint origin;   // angle units
};
constexpr std::array<ProjectionVariant, 4> PROJECTION_VARIANTS = {{
    {"Miller Cylindrical  (0,0)", PROJECTION_MILLER, {0, 0}},
    {"Miller Cylindrical  (0,180)", PROJECTION_MILLER, {0, ANGLE_HALF}},
    {"Cassini/North Polar (90,0)", PROJECTION_CASSINI, {ANGLE_RIGHT, 0}},
    {"Cassini/South Polar (-90,0)", PROJECTION_CASSINI, {-ANGLE_RIGHT, 0}},
}};

// Every coordinate is in angle units (1/4096 arc-minute), map-plane points
// too, with y growing north. All points and rectangles are taken by value:
// the date-line adjustments change the operation's own copies only.
class Projection {
public:
    // The map colour of the grid lines.
    static constexpr int16_t GRID_COLOUR = 3;

    // Builds the projection of identifier PROJECTION_MILLER or PROJECTION_CASSINI
    // from the origin; null for any other identifier (or no memory).
    static Projection* Create(uint8_t projectionID, const LatLonPoint& origin);

    virtual ~Projection() = default;

    virtual XYPoint LatLon_to_XY(LatLonPoint p) const = 0;
    virtual LatLonPoint XY_to_LatLon(XYPoint p) const = 0;

    // The lat/lon rectangle a map-plane view covers, clipped to the scenario's
    // bounds. A rectangle across the 180-degree meridian comes back with
    // east = its eastern longitude + 360 degrees (east > 180 degrees).
    virtual LatLonRect XYRect_to_LatLonRect(XYRect view, LatLonRect bounds) const = 0;

    // Grid lines in the grid colour through Nav2Game::MapMoveTo / MapLineTo.
    // Draw_Meridian runs from the upper to the lower point, Draw_Parallel from
    // the western to the eastern one.
    virtual void Draw_Meridian(LatLonPoint upper, LatLonPoint lower) const = 0;
    virtual void Draw_Parallel(LatLonPoint western, LatLonPoint eastern) const = 0;

    // The date-line questions. "The date-line case" is, for Cassini, two
    // points more than 180 degrees of longitude apart; for Miller, a map
    // centred on the 180-degree meridian, whatever the points.
    //
    // The point with 360 degrees added to its negative longitude when ref's
    // longitude is positive (Miller: only on a map centred on 180 degrees).
    virtual LatLonPoint Align_Point(LatLonPoint ref, LatLonPoint p) const = 0;
    // Edges included; a rectangle whose east edge is negative and west edge
    // positive spans the 180-degree meridian.
    virtual bool Point_In_LatLonRect(LatLonRect r, LatLonPoint p) const = 0;
    virtual LatLonRect LatLonRect_From_Points(LatLonPoint a, LatLonPoint b) const = 0;
    // r2 may come in the aligned form (east > 180 degrees); r1 is shifted east
    // by 360 degrees to meet it.
    virtual bool LatLonRects_Overlap(LatLonRect r1, LatLonRect r2) const = 0;
    virtual bool Crosses_Dateline(LatLonPoint a, LatLonPoint b) const = 0;
    // The first crossing of segment a-b with an edge of r (north, east, south,
    // west in that order), its longitude back within +-180 degrees; latitude
    // NO_COORDINATE (LatLonPoint::None) when no edge is crossed.
    virtual LatLonPoint Segment_Rect_Crossing_Point(LatLonRect r, LatLonPoint a,
                                                    LatLonPoint b) const = 0;

    // True when every point of the map-plane rectangle converts back to
    // latitude and longitude (Cassini: |x| within CASSINI_X_LIMIT; Miller: any).
    virtual bool Converts_XYRect(const XYRect& r) const = 0;

    // Cassini: the origin's latitude (+-90 degrees); Miller: 0.
    virtual int32_t Get_Origin_Lat() const = 0;
    // Cassini: true for even numbers; Miller: true for odd ones.
    virtual bool Parity_Matches(uint16_t number) const = 0;

protected:
    Projection() = default;

    // Cassini: the origin's latitude; Miller: the origin's longitude.
    int32_t mOrigin = 0;
};

// The largest |x| whose longitude Cassini can give: about 89.78 degrees, where
// the tangent of x reaches 256 and its Q23 quotient would overflow.
constexpr int32_t CASSINI_X_LIMIT = 22063394;

// The polar Cassini projection. x is the arc from the central meridian (0 and
// 180 degrees), y the arc along it from the pole, which sits at (0, 0). On the
// north-polar map meridian 0 runs down from the pole and meridian 180 up; the
// south-polar map mirrors that.
class Cassini : public Projection {
public:
    // Keeps the origin's latitude: +90 degrees for any latitude at or above 0,
    // -90 degrees below (the system makes only those two).
    explicit Cassini(const LatLonPoint& origin);

    // Latitudes within 13.43 arc-minutes of either pole (beyond +-22063394)
    // all give the pole, (0, 0).
    XYPoint LatLon_to_XY(LatLonPoint p) const override;
    LatLonPoint XY_to_LatLon(XYPoint p) const override;
    LatLonRect XYRect_to_LatLonRect(XYRect view, LatLonRect bounds) const override;
    // In one-degree pieces, so that the curved lines follow the projection.
    void Draw_Meridian(LatLonPoint upper, LatLonPoint lower) const override;
    void Draw_Parallel(LatLonPoint western, LatLonPoint eastern) const override;
    LatLonPoint Align_Point(LatLonPoint ref, LatLonPoint p) const override;
    bool Point_In_LatLonRect(LatLonRect r, LatLonPoint p) const override;
    LatLonRect LatLonRect_From_Points(LatLonPoint a, LatLonPoint b) const override;
    bool LatLonRects_Overlap(LatLonRect r1, LatLonRect r2) const override;
    bool Crosses_Dateline(LatLonPoint a, LatLonPoint b) const override;
    LatLonPoint Segment_Rect_Crossing_Point(LatLonRect r, LatLonPoint a,
                                            LatLonPoint b) const override;
    bool Converts_XYRect(const XYRect& r) const override;
    int32_t Get_Origin_Lat() const override;
    bool Parity_Matches(uint16_t number) const override;

    // y of a position: atan2(tan lat, cos lon) moved by the origin. A zero
    // cosine of the latitude is a fatal error and gives 0.
    int32_t LatLon_to_Y(int32_t lat, int32_t lon) const;
    // Longitude of a map point. On the horizontal line through the pole
    // (y = 0, to within the sine table's unit or so, on either side of the
    // pole; and y = +-180 degrees through the far pole) the western half
    // (x < 0) is meridian -90 and the eastern half +90. x exactly +-90
    // degrees (a zero cosine) is a fatal error and gives
    // 0; |x| beyond about 89.78 degrees overflows the tangent quotient, which
    // is fatal too.
    int32_t XY_to_Lon(int32_t x, int32_t y) const;
};

// The Miller cylindrical projection: x is the longitude less the origin's
// (0 or 180 degrees), y the Miller ordinate of the latitude from MillerTable.
class MillerCylindrical : public Projection {
public:
    // Keeps the origin's longitude, folded into -180 .. +180 degrees (the
    // system makes only 0 and 180).
    explicit MillerCylindrical(const LatLonPoint& origin);

    // |lat| at or beyond 90 degrees gives y = +-MillerTable[5400].
    XYPoint LatLon_to_XY(LatLonPoint p) const override;
    LatLonPoint XY_to_LatLon(XYPoint p) const override;
    // The view's corners widened by a degree each way, then clipped.
    LatLonRect XYRect_to_LatLonRect(XYRect view, LatLonRect bounds) const override;
    // One straight segment each.
    void Draw_Meridian(LatLonPoint upper, LatLonPoint lower) const override;
    void Draw_Parallel(LatLonPoint western, LatLonPoint eastern) const override;
    LatLonPoint Align_Point(LatLonPoint ref, LatLonPoint p) const override;
    bool Point_In_LatLonRect(LatLonRect r, LatLonPoint p) const override;
    LatLonRect LatLonRect_From_Points(LatLonPoint a, LatLonPoint b) const override;
    bool LatLonRects_Overlap(LatLonRect r1, LatLonRect r2) const override;
    bool Crosses_Dateline(LatLonPoint a, LatLonPoint b) const override;
    LatLonPoint Segment_Rect_Crossing_Point(LatLonRect r, LatLonPoint a,
                                            LatLonPoint b) const override;
    bool Converts_XYRect(const XYRect& r) const override;
    int32_t Get_Origin_Lat() const override;
    bool Parity_Matches(uint16_t number) const override;

private:
    // True on a map centred on the 180-degree meridian.
    bool IsDatelineCentred() const;
};

// Entries of the Miller ordinate table: 0 to 90 degrees, one per arc-minute.
constexpr int16_t MILLER_TABLE_COUNT = 5401;

// Entry i is the Miller ordinate 1.25 ln(tan(45 deg + 0.4 phi)) of phi = i
// arc-minutes, in degrees, in angle units, to the nearest unit, strictly
// increasing from 0 to 32434370 (the pole). The degrees come from radians at
// 57.295768 degrees per radian, as the table has always had them: the entries
// lie up to 7 units below the exact ordinate, and maps drawn and saved with
// the table expect those values (T[600] = 2465624, T[2700] = 11868098).
extern const std::array<int32_t, MILLER_TABLE_COUNT> MillerTable;
