// SideContactsList.h: SideContactsList, the Arena's keyed list of side
// contact records (SideContacts, one per data-link picture, keyed by entry
// key) with the player's current record, and the install point through which
// gam2arena::FindSide, GetCurrentSide, SetCurrentSide and GetSideList and the
// unit model's record calls (units/SideRecords.h) reach it.
#pragma once

#include <iosfwd>

#include "core/SavedTreeListOf.h"
#include "engagement/SideContacts.h"

class SideContactsList : public SavedTreeListOf<SideContacts> {
public:
    SideContactsList() = default;
    // Uninstalls itself when it is the installed list.
    ~SideContactsList() override;

    SideContacts* GetCurrent() const { return current; }
    // Null clears it. A record of another list is refused (nothing changes).
    void SetCurrent(SideContacts* record);
    // Deleting records forgets the current one.
    void DeleteAll() override;
    void Remove(SideContacts* record) override;

    // Saved form (SavedTreeListOf::Save): u16 count, then each record
    // (SideContacts::Save). Load reads it into this list, emptied first only
    // when the whole list reads: a damaged list is reported, leaves the stream
    // failed and the list as it was. Answers whether it was read.
    bool Load(std::istream& in) override;

    // Makes `list` the Arena's (null: none): the gam2arena accessors and the
    // unit model's record calls answer from it. Returns the one it replaces.
    static SideContactsList* SetArenaList(SideContactsList* list);

private:
    SideContacts* current = nullptr;
};
