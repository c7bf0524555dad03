// ReferencePoint.h: ReferencePoint, a named, numbered point a side keeps on
// the map, with its label and saved form, and FindFreePointNumber, the number
// a side gives its next point. The side owns the keyed list of its points.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/NameString.h"
#include "core/TreeListOf.h"
#include "units/SimObject.h"

class ReferencePoint : public SimObject, public TreeListNode<ReferencePoint> {
public:
    // State-flag word of a new point: the map-point symbol kind.
    static constexpr uint16_t POINT_STATE_FLAGS = 40960;
    // Label of a point without a name.
    static constexpr int32_t TEXT_NO_NAME = 0x7B0222;

    // Number 0 (for loading), empty names, flag 0.
    ReferencePoint();
    // Number `number` (the key), empty names, flag 0.
    explicit ReferencePoint(uint16_t number);
    ~ReferencePoint() override = default;

    // Rebuilds the label: the first four characters of the name and the
    // number followed by three blanks ("Alph12   "), or, without a name,
    // resource text 0x7B0222 alone.
    void MakeLabel();

    // Saved form, little-endian:
    //   number      u16
    //   SimObject   side id u16, second id u16, state flags u16, position 19 bytes
    //   name        NameString (u16 length with the zero, text, zero)
    //   flag        u8
    // The label is not saved; Load rebuilds it.
    void Save(std::ostream& out) const;
    // Reads the saved form into a copy first: a record cut short or a name
    // longer than the stream leaves the stream failed, the point unchanged
    // and the answer false.
    bool Load(std::istream& in);

    NameString name;    // given by the player; empty by default
    NameString label;   // shown on the map
    uint8_t flag = 0;   // travels in the saved game unchanged
};

// The number a side's next point takes: the smallest from 1 up that no point
// in `points` (in number order) holds.
uint16_t FindFreePointNumber(const TreeListOf<ReferencePoint>& points);
