// VictoryItemList.h: VictoryItemList, the list of victory items that a
// victory condition or a side's victory manager owns, with its saved form.
// Adding an item equal to one the list holds merges the two (tags 3, 5, 6,
// 7 and 8); the list keeps its order of adding.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <unordered_map>
#include <vector>

class PlatformKindItem;
class Unit;
class VictoryItem;

class VictoryItemList {
public:
    // Resource texts of the list's reports.
    static constexpr int32_t TAG_ZERO_TEXT = 0x7B00EA;       // fatal: a saved tag 0
    static constexpr int32_t TAG_UNKNOWN_TEXT = 0x7B00EB;    // fatal: a saved tag above 8
    static constexpr int32_t NO_UNIT_TABLE_TEXT = 0x7B00EE;  // prune without the arena's units

    VictoryItemList() = default;
    // Empty, then Load: a damaged record leaves it empty.
    explicit VictoryItemList(std::istream& in);
    VictoryItemList(const VictoryItemList&) = delete;
    VictoryItemList& operator=(const VictoryItemList&) = delete;
    // Deletes every item.
    ~VictoryItemList();

    int32_t GetCount() const { return static_cast<int32_t>(items.size()); }

    // The item at index; null when the index is negative or not below the
    // count.
    VictoryItem* Get(int32_t index) const;

    // Takes ownership of the item. An item equal to one of its kind that the
    // list holds is merged into that one and deleted: a loss record adds its
    // count, a unit item (tags 3 and 8), violation or unit pair is dropped.
    // Items of tags 1, 2 and 4 always go last; so does every other item
    // without an equal. A null item is ignored.
    void Add(VictoryItem* item);

    // The first item, in list order, that matches the unit; null when none
    // (or for a null unit).
    VictoryItem* FindMatch(const Unit* unit) const;
    bool MatchesUnit(const Unit* unit) const { return FindMatch(unit) != nullptr; }

    // Whether a tag-1 item with the same annex id and letter is held.
    bool ContainsKind(const PlatformKindItem& kind) const;

    // Takes out and deletes the first item matching the unit; false when
    // none matches.
    bool RemoveMatch(const Unit* unit);

    // Takes the item out of the list, keeping the others in order, and
    // hands it back to the caller, who disposes of it. False, and the list
    // unchanged, when the item is not in the list.
    bool Remove(VictoryItem* item);

    // Takes out and deletes every item that matches no unit of the arena's
    // unit list; without that list reports NO_UNIT_TABLE_TEXT and keeps all.
    void PruneUnmatched();

    // A newline, each item's description followed by a newline, and a final
    // newline; cut to a description buffer's size.
    std::string Describe() const;

    // Saved form, little-endian:
    //   count   u32
    //   items   count x (u8 tag, the item's own fields)
    void Save(std::ostream& out) const;

    // Reads the saved form into a fresh list that replaces this one's items
    // when the whole of it was read; items equal to earlier ones merge as
    // Add merges them. A tag of 0 or above 8 is a fatal error (TAG_ZERO_TEXT,
    // TAG_UNKNOWN_TEXT) after which nothing more can be read. That, or a
    // record cut short, leaves the stream failed, the list as it was and
    // the answer false.
    bool Load(std::istream& in);

private:
    // Deletes every item and empties the list.
    void Clear();

    // Takes a held item of a merging kind out of mergeIndex.
    void Unindex(const VictoryItem* item);

    std::vector<VictoryItem*> items;
    // The held items of the merging kinds by a hash of the fields their
    // equality compares, so that adding to a long tally or record list
    // does not walk the list.
    std::unordered_multimap<uint64_t, VictoryItem*> mergeIndex;
};
