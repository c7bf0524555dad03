// SimObject.h: SimObject, the root of everything with both an identity and a
// place: the ObjectID part, the PositionObject part and a state-flag word.
// MovingObject and the side-owned map point build on it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/StreamFields.h"
#include "units/ObjectID.h"
#include "units/PositionObject.h"

class SimObject : public ObjectID, public PositionObject {
public:
    // Bits 9 to 15 of the state-flag word: the map-symbol kind the windows
    // draw (facilities 0x0800 to 0x1600, map points 0xA000, sonobuoy lines
    // 0x9000).
    static constexpr uint16_t SYMBOL_KIND_MASK = 0xFE00;
    // Set while a path request for the object is handled; cleared with its orders.
    static constexpr uint16_t PATH_REQUESTED = 0x0020;

    // Both identifiers 0, the flag word 0, and the position part's start.
    SimObject() = default;
    ~SimObject() override = default;

    SimObject(const SimObject&) = default;
    SimObject& operator=(const SimObject&) = default;

    uint16_t GetStateFlags() const { return stateFlags; }
    void SetStateFlags(uint16_t flags) { stateFlags = flags; }

    // Saved form, little-endian (inside the record of the derived class):
    //   side identifier     u16
    //   second identifier   u16
    //   state flags         u16
    //   position part       19 bytes, as PositionObject saves it
    void Save(std::ostream& out) const;
    // Reads the saved form; the altitude band follows the altitude read. When
    // it cannot be read whole the stream is left failed, nothing changes and
    // the answer is false.
    bool Load(std::istream& in);

private:
    StreamInt16 stateFlags;
};
