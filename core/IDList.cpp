// IDList.cpp: copying an ID list.
#include "core/IDList.h"

IDList* CopyIDList(const IDList* source)
{
    if (!source)
        return nullptr;
    IDList* const copy = new IDList;
    for (const IDNode* node = source->First(); node; node = node->GetNext())
        copy->Insert(new IDNode(node->GetKey()));
    return copy;
}
