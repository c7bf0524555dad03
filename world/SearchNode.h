// SearchNode.h: SearchNode, one node of the route searches: a position with
// its route length from the start, its ordering value and its parent. The
// searches that use it are the Navigator's; the arrays of them sit in each
// Nav_Path (NavPath.h). Never saved.
#pragma once

#include <cstdint>

#include "core/LatLonPoint.h"

struct SearchNode {
    // Parent values that name no node.
    static constexpr int16_t NO_PARENT = -1;   // the start of the route
    static constexpr int16_t FREE_SLOT = -2;   // an unused optimization slot

    SearchNode() = default;                               // every field 0
    SearchNode(const SearchNode&) = default;              // all five fields
    SearchNode& operator=(const SearchNode&) = default;   // all five fields
    ~SearchNode() = default;                              // nothing to release

    // First phase: index of the parent node in the closed list. Optimization:
    // the id of the parent node. NO_PARENT for the start, FREE_SLOT for a
    // free slot.
    int16_t parent = 0;
    // Optimization: index of the node's candidate point; 0 in the first phase.
    int16_t id = 0;
    // Ordering value of the open lists: cost plus a weighted range to the
    // goal, range units.
    int32_t estimate = 0;
    // Route length from the start to pos, range units.
    int32_t cost = 0;
    LatLonPoint pos;   // angle units
};
