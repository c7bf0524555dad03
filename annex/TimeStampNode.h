// TimeStampNode.h: TimeStampNode, an ID paired with a span of game time, the
// element of the keyed lists in which the sensors keep the spans they have
// scheduled, and the overlap test they ask before scheduling another.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/GameTime.h"
#include "core/TreeListOf.h"

class TimeStampNode : public TreeListNode<TimeStampNode> {
public:
    // Bytes of the saved form.
    static constexpr int SAVED_BYTES = 10;

    // ID 0 and the span [0, 0], as the list loads construct it.
    TimeStampNode() = default;
    TimeStampNode(uint16_t id, GameTime start, GameTime end)
        : TreeListNode<TimeStampNode>(id), start_(start), end_(end) {}
    ~TimeStampNode() override = default;

    GameTime GetStart() const { return start_; }
    GameTime GetEnd() const { return end_; }

    // True when the two spans share time: other starts before this one ends
    // and ends after this one starts, as unsigned second counts. Spans that
    // only touch ([10, 20] and [20, 30]) do not overlap.
    bool Overlaps(const TimeStampNode& other) const;

    // Saved form, little-endian, 10 bytes (an element of a saved keyed list):
    //   id      u16
    //   start   u32   game seconds
    //   end     u32   game seconds
    // Load on a short read fails the stream; the list load then drops the
    // node.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

private:
    GameTime start_;
    GameTime end_;
};
