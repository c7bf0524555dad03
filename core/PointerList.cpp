// PointerList.cpp: the node handling of PointerList.
#include "core/PointerList.h"

#include <new>

PointerList::PointerList() : head_{&head_, &head_, nullptr} {}

PointerList::~PointerList()
{
    Clear();
}

PointerList::Position PointerList::Insert(Position before, void* value)
{
    Node* next = before.node_;
    Node* node = new (std::nothrow) Node{next->prev, next, value};
    if (node == nullptr)
        return End();
    next->prev->next = node;
    next->prev = node;
    ++count_;
    return Position(node);
}

bool PointerList::Append(void* value)
{
    const uint32_t before = count_;
    Insert(End(), value);
    return count_ != before;
}

PointerList::Position PointerList::Erase(Position first, Position last)
{
    Node* node = first.node_;
    Node* stop = last.node_;
    if (node == stop)
        return last;
    Node* prev = node->prev;
    while (node != stop && node != &head_) {
        Node* next = node->next;
        delete node;
        --count_;
        node = next;
    }
    // Close the gap; stepping onto the head ends the erase there as well.
    prev->next = node;
    node->prev = prev;
    return Position(node);
}
