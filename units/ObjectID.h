// ObjectID.h: ObjectID, the identity part at the start of every SimObject:
// the side that owns the object and a second identifier its creator sets.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/StreamFields.h"

class ObjectID {
public:
    explicit ObjectID(uint16_t side = 0, uint16_t second = 0) : sideID(side), secondID(second) {}
    virtual ~ObjectID() = default;

    ObjectID(const ObjectID&) = default;
    ObjectID& operator=(const ObjectID&) = default;

    // The side that owns the object: units compare it, the bridge looks the
    // side up by it, and objects made from another one copy it.
    uint16_t GetSideID() const { return sideID; }
    void SetSideID(uint16_t side) { sideID = side; }

    // Kept, saved and loaded here; its meaning is the creator's.
    uint16_t GetSecondID() const { return secondID; }
    void SetSecondID(uint16_t second) { secondID = second; }

    // Saved form, little-endian, 4 bytes:
    //   side identifier     u16
    //   second identifier   u16
    void Save(std::ostream& out) const;
    // Reads both identifiers; when they cannot be read whole the stream is
    // left failed, both stay as they were, and the answer is false.
    bool Load(std::istream& in);

private:
    StreamInt16 sideID;
    StreamInt16 secondID;
};
