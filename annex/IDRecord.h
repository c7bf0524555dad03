// IDRecord.h: IDRecord, the node of the ID-value lists inside annex records
// (a record ID with a 32-bit value beside it: a facility's or platform's
// sensors and mounts with the extra value each is built with).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDNode.h"
#include "core/SavedTreeListOf.h"
#include "core/StreamFields.h"

class IDRecord : public IDNode {
public:
    IDRecord() = default;
    explicit IDRecord(uint16_t id, uint32_t value = 0) : IDNode(id), value_(value) {}
    ~IDRecord() override = default;

    uint32_t GetValue() const { return value_; }
    void SetValue(uint32_t value) { value_ = value; }

    IDRecord* GetNext() const { return static_cast<IDRecord*>(IDNode::GetNext()); }

    // Saved form, little-endian, 6 bytes:
    //   id      u16
    //   value   u32   4 raw bytes, carried as read
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;

    // Bytes of one entry in a file.
    static constexpr int64_t FILE_BYTES = 6;

private:
    StreamInt32 value_ = 0;
};

// The ID-value list as annex records embed it: u16 count, then the entries.
using IDRecordList = SavedTreeListOf<IDRecord>;
