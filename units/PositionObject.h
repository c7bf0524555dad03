// PositionObject.h: PositionObject, the position part of everything that has
// a place in the world: a position, its projection on the map, an altitude
// or depth and the altitude band derived from it. SimObject.h joins it to an
// identity; the moving-object fields live with MovingObject.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/LatLonPoint.h"
#include "core/XYPoint.h"

class PositionObject {
public:
    // Altitude bands: 0 deepest to 11 highest; the surface is band 5.
    static constexpr uint16_t BAND_SURFACE = 5;
    static constexpr uint16_t BAND_COUNT = 12;

    // Starts at (0, 0), altitude 0 (band 5), with the projected point of
    // (0, 0) and the projection up to date.
    PositionObject();
    virtual ~PositionObject() = default;

    PositionObject(const PositionObject&) = default;
    PositionObject& operator=(const PositionObject&) = default;

    // Copies the point and marks the projected point out of date.
    virtual void SetPosition(const LatLonPoint& point);
    // Copies the projected point; the out-of-date mark is left alone.
    virtual void SetXY(const XYPoint& point);
    // Stores the altitude (tens of metres, negative for depth) and derives
    // its band (AltitudeBand).
    virtual void SetAltitude(int16_t newAltitude);
    // Moves toward target at speed knots for the given seconds: the step is
    // seconds * speed * 4096 / 3600 range units, truncated. A step of 0 moves
    // nothing and answers false. The leg is measured on the local plane. When
    // the target lies within the step the object is put exactly on it; the
    // answer is true only when it lay nearer than the step (reached with
    // distance to spare), so a target exactly one step away answers false.
    // Any move marks the projected point out of date.
    virtual bool MoveToward(const LatLonPoint& target, uint16_t speed, uint8_t seconds);
    // Projects the position through the running scenario's map projection
    // (Nav2Game::LatLonToXY; the none point without a map) and clears the
    // out-of-date mark.
    virtual void UpdateXY();

    LatLonPoint GetPosition() const { return position; }
    void GetPosition(LatLonPoint& out) const { out = position; }
    // Copies the projected point; with refresh, an out-of-date one is
    // projected again first.
    void GetXY(XYPoint& out, bool refresh);
    int16_t GetAltitude() const { return altitude; }
    uint16_t GetAltitudeBand() const { return altitudeBand; }
    bool IsXYStale() const { return xyStale != 0; }

    // The band of an altitude in tens of metres:
    //   below -36: 0      -36..-19: 1    -18..-10: 2    -9..-4: 3
    //   -3, -2: 4         -1, 0: 5       1..3: 6        4..60: 7
    //   61..350: 8        351..2000: 9   2001..5000: 10  above 5000: 11
    static uint16_t AltitudeBand(int16_t altitude);

    // Bytes of the short display name of a band, its zero byte included.
    static constexpr int BAND_NAME_SIZE = 10;
    // Resource text of band 0's name; band b's is this + b.
    static constexpr int32_t BAND_NAME_TEXT = 0x7B0212;

    // Copies the name of this object's band into out, which holds
    // BAND_NAME_SIZE bytes: at most BAND_NAME_SIZE - 1 characters and a zero
    // byte. A null out does nothing and loads nothing. Each band's name is
    // loaded from its resource text on first use and kept; a text that cannot
    // be had gives an empty name now and is asked for again next time.
    void GetAltitudeBandName(char* out) const;

    // Saved form, little-endian, 19 bytes:
    //   latitude, longitude   i32 each   angle units
    //   x, y                  i32 each   projected map units
    //   altitude              i16        tens of metres
    //   xyStale               u8         1 when x, y are out of date
    // The band is not saved: Load derives it again through SetAltitude.
    void Save(std::ostream& out) const;
    // Reads the saved form. When it cannot be read whole the stream is left
    // failed, nothing changes and the answer is false.
    bool Load(std::istream& in);

private:
    LatLonPoint position;
    XYPoint xy;
    int16_t altitude = 0;         // tens of metres, negative for depth
    uint16_t altitudeBand = BAND_SURFACE;  // derived from altitude, never saved
    uint8_t xyStale = 0;          // 1 when position changed since xy was projected
};
