// DatalinkRecord.h: DatalinkRecord, one communications channel of a unit (an
// element of the unit's keyed datalink list, keyed by the channel's comm.dat
// record): its state, kind, flags, reach, link limit and the units it is
// linked to, with its saved form. Opening and testing links between two
// units belongs to the detection scan and the data link, which build on it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/TreeListOf.h"

class DatalinkRecord : public TreeListNode<DatalinkRecord> {
public:
    // Link states: open (takes links) and full (maxLinks reached).
    static constexpr uint32_t STATE_FULL = 2;
    static constexpr uint32_t STATE_OPEN = 3;
    // The channel kind that never counts toward a unit's link reach.
    static constexpr uint16_t KIND_NO_REACH = 40;
    // channelFlags bit 1: both ends need the unit's data-link flag; such
    // records count only toward the reach over all records.
    static constexpr uint32_t FLAG_NEEDS_LINK_FLAG = 0x1;

    // Open, of the given kind, every other number 0, no links.
    explicit DatalinkRecord(uint16_t kind = 0) : channelKind(kind) {}
    ~DatalinkRecord() override = default;
    DatalinkRecord(const DatalinkRecord&) = delete;
    DatalinkRecord& operator=(const DatalinkRecord&) = delete;

    // Saved form, little-endian:
    //   key            u16   comm.dat record
    //   linkState      u32
    //   channelKind    u16
    //   auxWord        u16   saved only
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
    uint16_t auxWord = 0;
    uint16_t linkRange = 0;       // nautical miles
    uint8_t maxLinks = 0;
    uint8_t linkCount = 0;
    IDList links;                 // ids of the linked units
};
