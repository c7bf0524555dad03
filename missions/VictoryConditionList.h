// VictoryConditionList.h: VictoryConditionList, the ordered conditions of a
// side's victory manager (at most 255), which it owns; their records stand
// one after another in the manager's saved form, after its count byte.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "missions/VictoryCondition.h"

class VictoryConditionList {
public:
    static constexpr int MAX_COUNT = 255;
    // Resource texts: a kind 0 entry (error box, the entry is dropped) and a
    // kind above 2 (fatal error).
    static constexpr int32_t EMPTY_KIND_TEXT = 0x7B0136;
    static constexpr int32_t BAD_KIND_TEXT = 0x7B0137;

    VictoryConditionList() = default;
    ~VictoryConditionList();
    VictoryConditionList(const VictoryConditionList&) = delete;
    VictoryConditionList& operator=(const VictoryConditionList&) = delete;

    uint8_t GetCount() const { return static_cast<uint8_t>(conditions.size()); }
    // nullptr for an index out of range.
    VictoryCondition* Get(int index) const;
    // Takes ownership and appends; a null condition, or one past MAX_COUNT,
    // is refused (false, and the condition stays with the caller).
    bool Append(VictoryCondition* condition);
    // Deletes every condition.
    void Clear();

    // Writes each condition's record (kind byte first) in list order.
    void Save(std::ostream& out) const;
    // Reads `count` records into an emptied list, each a u8 kind and its
    // record: kinds 1 and 2 are built, kind 0 goes to the error box
    // (EMPTY_KIND_TEXT) and is dropped, any other kind is the fatal error of
    // BAD_KIND_TEXT. That, or a record cut short, leaves the stream failed and
    // the list empty; answers the stream's state.
    bool Load(std::istream& in, uint8_t count);

private:
    std::vector<VictoryCondition*> conditions;
};
