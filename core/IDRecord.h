// IDRecord.h: IDRecord, the identifier node that carries a 32-bit value
// beside its identifier, and IDRecordList, the saved list of them that annex
// records embed (a facility's or platform's sensors and mounts, each with the
// extra value it is built with). The other identifier nodes are IDNode.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDNode.h"
#include "core/SavedTreeListOf.h"
#include "core/StreamFields.h"

class IDRecord : public IDNode {
public:
    // Identifier 0 and value 0, as the list loads construct it.
    IDRecord() = default;
    explicit IDRecord(uint16_t id, uint32_t value = 0) : IDNode(id), value_(value) {}
    ~IDRecord() override = default;

    uint32_t GetValue() const { return value_; }
    void SetValue(uint32_t value) { value_ = value; }

    IDRecord* GetNext() const { return static_cast<IDRecord*>(IDNode::GetNext()); }

    // Saved form, little-endian, 6 bytes:
    //   id      u16
    //   value   u32   4 raw bytes, carried as read
    // Load on a short read fails the stream; the list load then drops the
    // node.
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;

    // Bytes of one entry in a file.
    static constexpr int64_t FILE_BYTES = 6;

private:
    StreamInt32 value_ = 0;
};

// The ID-value list as annex records embed it: u16 count, then the entries
// in key order.
using IDRecordList = SavedTreeListOf<IDRecord>;
