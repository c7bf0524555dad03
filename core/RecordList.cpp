// RecordList.cpp: the saved form of IDListNode and the filling of a reverse
// index.
#include "core/RecordList.h"

#include <istream>
#include <ostream>

void IDListNode::Save(std::ostream& out) const
{
    SaveKey(out);
    list_.Save(out);
}

void IDListNode::Load(std::istream& in)
{
    LoadKey(in);
    list_.Load(in);
}

void RecordList::AddRecord(uint16_t key, uint16_t recordKey)
{
    IDListNode* entry = Find(key);
    if (!entry) {
        entry = new IDListNode(key);
        Insert(entry);
    }
    IDList& records = entry->GetIDList();
    if (!records.Find(recordKey))
        records.Insert(new IDNode(recordKey));
}

void RecordList::AddRecordUnderKeys(const TreeList& keys, uint16_t recordKey)
{
    for (TreeListBase* node = keys.First(); node; node = node->GetNext())
        AddRecord(node->GetKey(), recordKey);
}

void IndexRecordKeys(RecordList*& index, const TreeList& keys, uint16_t recordKey)
{
    if (!index)
        index = new RecordList;
    index->AddRecordUnderKeys(keys, recordKey);
}
