// ArcRecord.h: ArcRecord, a sector of bearings (a centre bearing and a
// half-width with the settings a group keeps for each of its threat axes),
// with its wrapping containment test and its 16-byte saved form. How a group
// places and weighs its axes lives with the group code.
#pragma once

#include <cstdint>
#include <iosfwd>

struct ArcRecord {
    // Weight of a new sector in the station planning.
    static constexpr uint32_t DEFAULT_WEIGHT = 33;
    // Bytes of the saved form.
    static constexpr int SAVED_SIZE = 16;

    ArcRecord() = default;
    // A sector of that centre and half-width (angle units); the other fields
    // take their defaults.
    ArcRecord(int32_t centre, int32_t half) : bearing(centre), halfWidth(half) {}

    void Set(int32_t centre) { bearing = centre; }
    int32_t Get() const { return bearing; }

    // True when bearing b (angle units, 0 up to one full circle) lies within
    // halfWidth of the centre, both ends included. A sector reaching past
    // north on either side takes in the bearings beyond it: 10 degrees +-20
    // holds 355 degrees, 350 degrees +-20 holds 5 degrees.
    bool Contains(int32_t b) const;

    // Saved form, little-endian, 16 bytes:
    //   bearing    i32   angle units
    //   halfWidth  i32   angle units
    //   tracking   u8
    //   contactID  u16
    //   weight     u16   its low 16 bits; widened without sign on load
    //   value2     u16   its low 16 bits; widened without sign on load
    //   userSet    u8
    // spare is not saved (Load clears it). A short read answers false and
    // leaves the record as it was.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    int32_t bearing = 0;      // centre, angle units
    int32_t halfWidth = 0;    // angle units
    int32_t spare = 0;        // not saved
    uint8_t tracking = 0;     // 1: the sector follows a contact
    uint16_t contactID = 0;   // the contact followed
    uint32_t weight = DEFAULT_WEIGHT;
    uint32_t value2 = 0;
    uint8_t userSet = 0;      // 1: placed by the player
};
