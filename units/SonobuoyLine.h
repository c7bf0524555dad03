// SonobuoyLine.h: SonobuoyLine, the unit of type letter 'L' that stands for
// a row of sonobuoys laid along a leg. It neither moves nor takes damage and
// has no signature; its work is listening: another unit's look at it in the
// unit-pair step lets the sensors of its first buoy decide whether that unit
// is heard, measured by its distance from the line. Buoys join and leave it
// (AddBuoy, RemoveBuoy) and its ends and vector follow its first and last
// buoy. The listening itself works on contacts, which the engagement model
// holds: it installs it (SetLineDetection).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "units/Unit.h"

class Weapon;

class SonobuoyLine : public Unit {
public:
    static constexpr char TYPE_LETTER = 'L';
    // Set in the line's status flags while it has buoys; a buoy joining
    // loses the two bits of BUOY_JOIN_CLEARS.
    static constexpr uint32_t LISTENING = 0x1000;
    static constexpr uint32_t BUOY_JOIN_CLEARS = 0x3000;

    // The listening of a line at a target, installed by the engagement model;
    // null: a line hears nothing.
    using DetectCall = bool (*)(SonobuoyLine& line, Unit& target);
    static DetectCall SetLineDetection(DetectCall call);

    // No buoys, inactive, the area and both points all zero.
    SonobuoyLine() = default;
    ~SonobuoyLine() override = default;

    // ---- unit-part operations ----
    int32_t TakeDamage(int32_t, uint32_t) override { return 0; }
    void ApplyCriticalHit(int32_t, uint32_t) override {}
    // Copies the listening buoy's weather, when that buoy exists.
    void Move(uint8_t elapsed) override;
    // True when a sensor of the listening buoy heard the target (the
    // installed listening); false while the line is inactive or empty.
    bool DetectUnit(Unit& target) override;
    void UpdatePairDetection(Unit&) override {}
    // Saved form after the letter, little-endian:
    //   area        4 x i32 (north, west, south, east)
    //   buoys       ID list (u16 count, the ids)
    //   startPoint  2 x i32 (latitude, longitude)
    //   endPoint    2 x i32
    //   lineBearing u32, lineLength u32
    //   the unit's part (SaveUnitRecord)
    // Load reads into a fresh line; it is active exactly when its buoy list
    // is not empty. The area is kept as loaded.
    bool LoadFields(std::istream& in) override;
    void SaveFields(std::ostream& out) const override;
    int16_t GetAltitude() const override { return 0; }
    char GetTypeLetter() const override { return TYPE_LETTER; }

    // The buoy joins: the first one gives the line its side and startPoint,
    // every later one moves endPoint. The buoy's guide id becomes the line's
    // id. Always true.
    bool AddBuoy(Weapon& buoy);
    // The buoy leaves; an end that loses its buoy moves to the nearest buoy
    // still in play, and a line left without buoys ends and is scheduled for
    // deletion. False when the buoy was not in the line.
    bool RemoveBuoy(Unit& buoy);

    // The distance (distance units) from the line to a point at `vector`
    // from startPoint, measured as the listening does: from startPoint
    // behind it, from endPoint beyond it (then `vector` becomes the one from
    // endPoint to `point`), across the line between.
    int32_t DistanceTo(const LatLonPoint& point, NavVector& vector) const;

    bool IsActive() const { return lineActive != 0; }
    uint16_t GetListeningBuoyID() const;
    const IDList& Buoys() const { return buoys; }
    const LatLonRect& GetArea() const { return area; }
    void SetArea(const LatLonRect& rect) { area = rect; }
    LatLonPoint GetStartPoint() const { return startPoint; }
    LatLonPoint GetEndPoint() const { return endPoint; }
    uint32_t GetLineBearing() const { return lineBearing; }
    uint32_t GetLineLength() const { return lineLength; }

private:
    // lineBearing and lineLength from startPoint to endPoint, and the area:
    // the rectangle of the two points widened on every side by the longest
    // maxRange of the listening buoy's sensors (`joining`, the buoy just
    // added, when it listens and is not yet in the unit list).
    void UpdateGeometry(const Unit* joining = nullptr);
    // The line ends: inactive, no listening flag, deletion scheduled.
    void EndLine();

    LatLonRect area;
    IDList buoys;                 // by id; the first one listens
    uint8_t lineActive = 0;
    LatLonPoint startPoint;
    LatLonPoint endPoint;
    uint32_t lineBearing = 0;     // angle units
    uint32_t lineLength = 0;      // distance units
};

// Registers the line's maker with the unit factory under 'L'.
void RegisterSonobuoyLineClass();
