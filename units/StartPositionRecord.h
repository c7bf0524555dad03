// StartPositionRecord.h: StartPositionRecord, the alternative start positions
// of one unit, keyed by the unit's id, and StartPositionList, the saved keyed
// list of them that a side keeps. The side draws among them at set-up.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class StartPositionRecord : public TreeListNode<StartPositionRecord> {
public:
    StartPositionRecord() = default;
    explicit StartPositionRecord(uint16_t unitID) : TreeListNode<StartPositionRecord>(unitID) {}
    ~StartPositionRecord() override = default;

    uint16_t GetUnitID() const { return GetKey(); }
    // How many alternatives the record holds.
    uint32_t CountPositions() const;
    // The n-th alternative in id order, counting from 1; null past the end
    // or for 0.
    const IDPoint* GetPosition(uint32_t n) const;

    // Saved form, little-endian:
    //   unit id     u16
    //   positions   IDPointList (u16 count, then per position u16 id, i32
    //               latitude, i32 longitude, angle units)
    // Load reads into a fresh list and keeps it only when the whole record
    // was read; a record cut short leaves the stream failed and the record
    // unchanged.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

    IDPointList positions;
};

// A side's start-position records by unit id. Saved form: u16 count, then
// each record.
using StartPositionList = SavedTreeListOf<StartPositionRecord>;
