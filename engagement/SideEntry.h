// SideEntry.h: SideEntry, one entry of a side's relation list: the relation
// of the owning side toward one other side, keyed by that side's id, with
// its saved form. A side's relation list (SideRelationList) holds them; the
// side answers SideRelations::SetRelation and GetRelation (ContactCalls.h)
// from it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class SideEntry : public TreeListNode<SideEntry> {
public:
    SideEntry() = default;
    SideEntry(uint16_t otherSide, uint8_t relation) : TreeListNode<SideEntry>(otherSide), relation_(relation) {}
    ~SideEntry() override = default;

    // Always answers true.
    bool SetRelation(uint8_t relation)
    {
        relation_ = relation;
        return true;
    }
    uint8_t GetRelation() const { return relation_; }

    // Saved form, little-endian, 3 bytes: key u16 (the other side's id),
    // relation u8. Load reads into a fresh entry; a form cut short leaves the
    // stream failed and the entry unchanged.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

private:
    uint8_t relation_ = 0;
};

// A side's relations toward the other sides, by their ids. Saved form: u16
// count, then each entry.
using SideRelationList = SavedTreeListOf<SideEntry>;
