// SortedIDList.h: SortedIDList, a short list of (16-bit key, 32-bit value)
// pairs kept in ascending key order, one node per key, and its node
// SortedIDNode. The doctrine's decisions take their factors and options in it.
#pragma once

#include <cstdint>

#include "core/Chain.h"
#include "core/ChainLink.h"

class SortedIDNode : public ChainLink<SortedIDNode> {
public:
    SortedIDNode(uint16_t nodeKey, uint32_t nodeValue) : key(nodeKey), value(nodeValue) {}

    uint16_t key = 0;
    uint32_t value = 0;
};

class SortedIDList {
public:
    SortedIDList() = default;
    // Deletes every node.
    ~SortedIDList() = default;
    SortedIDList(const SortedIDList&) = delete;
    SortedIDList& operator=(const SortedIDList&) = delete;
    SortedIDList(SortedIDList&&) noexcept = default;
    SortedIDList& operator=(SortedIDList&&) noexcept = default;

    // Puts (key, value) in its place by key; a key already held takes the
    // new value instead, so the list never holds a key twice.
    void InsertSorted(uint16_t key, uint32_t value);

    SortedIDNode* First() const { return nodes.First(); }

private:
    Chain<SortedIDNode> nodes;
};
