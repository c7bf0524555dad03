// SortedIDList.cpp: the ordered insertion of SortedIDList.
#include "missions/SortedIDList.h"

void SortedIDList::InsertSorted(uint16_t key, uint32_t value)
{
    for (SortedIDNode* node = nodes.First(); node != nullptr; node = node->GetNext()) {
        if (node->key == key) {
            node->value = value;
            return;
        }
        if (node->key > key) {
            nodes.InsertBefore(new SortedIDNode(key, value), node);
            return;
        }
    }
    nodes.Append(new SortedIDNode(key, value));
}
