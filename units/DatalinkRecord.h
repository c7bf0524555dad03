// DatalinkRecord.h: DatalinkRecord, one communications channel of a unit (an
// element of the unit's keyed datalink list): its state, kind, flags, reach,
// link limit and the units it is linked to; opening, testing and dropping
// links between two units; its saved form; and the list builders of a unit's
// channels from its comm.dat ids, with the land line of a facility. The
// detection scan and the data link decide when to call them.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class Unit;

class DatalinkRecord : public TreeListNode<DatalinkRecord> {
public:
    // Link states: open (takes links) and full (maxLinks reached). Any other
    // state empties the links.
    static constexpr uint32_t STATE_FULL = 2;
    static constexpr uint32_t STATE_OPEN = 3;
    // The channel kind of a facility's land line, which never counts toward
    // a unit's link reach.
    static constexpr uint16_t KIND_NO_REACH = 40;
    // The channel kind whose two ends must share one of the group bits.
    static constexpr uint16_t KIND_GROUPED = 8;
    // channelFlags: bit 0x1, both ends need the unit's data-link flag (such
    // records count only toward the reach over all records); 0x4 and 0x8,
    // two records sharing one of these bits never link; 0x20, set while a
    // record with bit 0x1 holds links; 0xFF000, the group bits of kind 8.
    static constexpr uint32_t FLAG_NEEDS_LINK_FLAG = 0x1;
    static constexpr uint32_t FLAG_EXCLUSIVE = 0xC;
    static constexpr uint32_t FLAG_IN_USE = 0x20;
    static constexpr uint32_t FLAG_GROUPS = 0xFF000;
    // The land line's reach, nautical miles.
    static constexpr uint16_t LAND_LINE_RANGE = 8000;

    // Open, of the given kind, every other number 0, no links.
    explicit DatalinkRecord(uint16_t kind = 0) : channelKind(kind) {}
    ~DatalinkRecord() override = default;
    DatalinkRecord(const DatalinkRecord&) = delete;
    DatalinkRecord& operator=(const DatalinkRecord&) = delete;

    // A new open record of the comm.dat record commID in the scenario's comm
    // table: its type as the channel kind, its flags, its id in auxWord, its
    // range as the reach and its byte as the link limit. A missing record (or
    // table) gives an open record with every number 0. Key 0; the caller
    // owns it.
    static DatalinkRecord* FromCommRecord(uint16_t commID);

    // Stores the state; any state but full and open empties the links.
    void SetState(uint32_t state);
    uint32_t GetState() const { return linkState; }

    // Links the unit id when it is not linked yet: the count rises (it stops
    // at 255), the record turns full when the count reaches maxLinks, and a
    // record with flag 0x1 is marked in use.
    void AddLink(uint16_t unitID);
    // Unlinks the unit id when it is linked: the count falls, the record is
    // open again, and a record with flag 0x1 left without links is no longer
    // marked in use.
    void DropLink(uint16_t unitID);
    bool HoldsLink(uint16_t unitID) const { return links.Find(unitID) != nullptr; }

    // Tries to link unit a, which owns this record, with unit b over a
    // distance (nautical miles, as the caller measures it). Without `force`:
    // this record, then each later record of a in key order, is tried while
    // it is open, a meets its flag 0x1 condition, the distance is within its
    // reach, and b is a weapon or neither unit is below the surface; for such
    // a record b's records are searched in key order for one of the same
    // kind, sharing no bit of 0xC with it, sharing a group bit when the kind
    // is 8, open, reaching the distance, and whose flag 0x1 condition b
    // meets. The first pair found is linked both ways and the answer is
    // true; false when none is. With `force`: this record and b's first
    // record are linked both ways without any test, and either that turned
    // full is set open again; false only when b has no record. The sight
    // and spare values are the caller's and are not read.
    bool Connect(Unit& a, Unit& b, int32_t distance, int32_t sight, int32_t spare, bool force);

    // Tests the link between unit a, which owns this record, and the unit it
    // is attached to in the data link, b (false at once when b is not that
    // unit): the first record of a from this one in key order that holds b's
    // id, and b's first record that holds a's id, are the link. With no such
    // record of a, false. With none of b, b's id is dropped from a's record
    // and the answer is false. Otherwise the link holds (true) when `keep` is
    // set, or when both records are open or full, both units meet their
    // flag 0x1 conditions, the distance is within a's record's reach, and a
    // is a weapon or neither unit is below the surface; else both ids are
    // dropped and the answer is false.
    bool CheckLink(Unit& a, Unit& b, int32_t distance, int32_t sight, int32_t spare, bool keep);

    // Saved form, little-endian:
    //   key            u16   the record's number in the unit's list
    //   linkState      u32
    //   channelKind    u16
    //   auxWord        u16   the comm.dat record, kept and saved
    //   linkRange      u16   nautical miles
    //   maxLinks       u8
    //   linkCount      u8
    //   links          ID list: u16 count, the linked unit ids
    //   channelFlags   u32
    // Load reads into a fresh record; a record cut short leaves the stream
    // failed and answers false, and the caller discards the record.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    uint32_t linkState = STATE_OPEN;
    uint16_t channelKind = 0;
    uint32_t channelFlags = 0;
    uint16_t auxWord = 0;         // the comm.dat record it was built from
    uint16_t linkRange = 0;       // nautical miles
    uint8_t maxLinks = 0;
    uint8_t linkCount = 0;
    IDList links;                 // ids of the linked units

private:
    // Whether a unit may use this record: flag 0x1 clear, or the unit has
    // its data-link flag.
    bool AdmitsUnit(const Unit& unit) const;
    // Whether a record of b may take a link from this record over distance.
    bool AcceptsLinkFrom(const DatalinkRecord& from, const Unit& b, int32_t distance) const;
};

using DatalinkList = SavedTreeListOf<DatalinkRecord>;

// Fills `list` with one record per comm.dat id of `ids` (FromCommRecord):
// first those without flag 0x1, then those with it, each group in id order,
// each with the list's next free key.
void BuildCommList(DatalinkList& list, const IDList& ids);

// Adds a facility's land line to `list` under key 1: kind 40, open, reach
// LAND_LINE_RANGE, no link limit. Built before the comm.dat records, so that
// those follow it.
void AddLandLine(DatalinkList& list);
