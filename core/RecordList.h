// RecordList.h: IDListNode, an identifier that owns an IDList, and
// RecordList, the keyed list of them that serves as a reverse index: under an
// identifier (a sensor, say) the IDList of the records that name it. The
// platform database's per-record load callbacks build such indexes.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"

class IDListNode : public IDNode {
public:
    IDListNode() = default;
    explicit IDListNode(uint16_t id) : IDNode(id) {}
    ~IDListNode() override = default;   // the list deletes its own nodes

    IDList& GetIDList() { return list_; }
    const IDList& GetIDList() const { return list_; }

    IDListNode* GetNext() const { return static_cast<IDListNode*>(IDNode::GetNext()); }

    // Saved form, little-endian:
    //   id     u16
    //   list   IDList saved form (count u16, then the identifiers u16)
    // Load adds to the nested list; a node fresh from a list load starts empty.
    void Save(std::ostream& out) const override;
    void Load(std::istream& in) override;

private:
    IDList list_;
};

class RecordList : public SavedTreeListOf<IDListNode> {
public:
    RecordList() = default;
    ~RecordList() override = default;

    // Enters recordKey in the IDList held under key, creating that node when
    // key is new; a record key already there is not entered twice.
    void AddRecord(uint16_t key, uint16_t recordKey);
    // Enters recordKey under every key of keys (any keyed list), in key order.
    void AddRecordUnderKeys(const TreeList& keys, uint16_t recordKey);
};

// The reverse-index step of a load callback: creates *index, empty, when it
// does not exist yet, then enters recordKey under every key of keys. The
// callback runs for every record read, kept or not, so the index covers the
// whole file. The caller owns *index.
void IndexRecordKeys(RecordList*& index, const TreeList& keys, uint16_t recordKey);
