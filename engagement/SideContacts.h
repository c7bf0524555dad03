// SideContacts.h: SideContacts, one data-link picture of a side: its
// contacts (one per detected unit), its own units and groups, the windows'
// two selections and the counter that numbers new contacts. The Arena's list
// of these records is SideContactsList.h; the contact report is
// ContactReport.cpp.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/TreeListOf.h"
#include "engagement/Contact.h"

class SideContacts : public TreeListNode<SideContacts> {
public:
    // Contact numbers above this, once taken, send the search back to 1.
    static constexpr uint16_t NUMBER_WRAP = 999;

    // An empty record with that key (the entry key of its picture).
    explicit SideContacts(uint16_t key = 0);
    // The picture of a unit splitting off a data link: copies of the other's
    // contacts, its contact counter and those of its selected contacts still
    // held, under a key drawn from the Arena's record list (0 without one);
    // no own units, groups or selected units.
    explicit SideContacts(const SideContacts& other);
    ~SideContacts() override;
    SideContacts& operator=(const SideContacts&) = delete;

    // The contact held on the unit, or null.
    Contact* GetContact(uint16_t unitID) const { return contacts.Find(unitID); }
    // Takes the fresh detection *fresh over in every case: discarded when it
    // is of an own unit, merged into the contact held on its unit, or listed
    // as a new contact with the next number. *fresh is null afterwards.
    void MergeContact(Contact** fresh);
    // The next free contact number, also kept as the last one given.
    uint16_t NewContactNumber();
    // Makes the unit one of the record's own units (and groups), drops the
    // contact held on it and posts a contact-area event; nothing when it
    // already is one.
    void AddUnit(uint16_t unitID);
    // Takes the unit out of the own units (and groups); then posts the
    // empty-record event when no own unit is left, else a contact-area event.
    void RemoveUnit(uint16_t unitID);
    // Deletes every contact held on the unit.
    void DeleteContacts(uint16_t unitID);
    // Folds the other record (may be null) into this one: its contacts are
    // merged, its units become own units (their record key set to this one),
    // contacts on own units are dropped, selections carried over; a
    // contact-area event is posted. The record itself counts as null.
    void Absorb(SideContacts* other);
    // The upkeep after each side update: dropped contacts deleted, threat
    // values and holds renewed, change bits cleared.
    void UpdateContacts();
    // A full contact on each own unit that is not a group and on which
    // `other` holds none, merged into `other` with no change reported.
    void RevealUnitsTo(SideContacts& other);
    // The same into this record itself (whose MergeContact discards
    // detections of its own units, so nothing changes).
    void AddOwnUnitContacts();
    // Rebuilds selectedUnits from the unit and the list (own units the side
    // lets the windows select).
    void SelectUnits(const IDList& units, uint16_t unitID);
    // Rebuilds selectedContacts from the unit and the list (units held as
    // contacts).
    void SelectContacts(const IDList& units, uint16_t unitID);
    // Re-evaluates every contact against the own units; nothing without own
    // units.
    void EvaluateContacts();
    // The same for the contact held on one unit; nothing when none is held.
    void EvaluateContact(uint16_t unitID);
    // Grows the area of every contact not seen for more than 30 seconds by
    // what its assumed speed covers in `elapsed` seconds.
    void AgeContacts(uint8_t elapsed);
    // Writes one report of the new, changed and dropped contacts and posts it
    // to the player (ContactReport.cpp).
    void ReportChanges(uint16_t sideID);

    // Saved form, little-endian:
    //   key u16; contacts (u16 count, each Contact's record);
    //   ownUnits, ownGroups (IDList: u16 count, u16 ids);
    //   lastContactNumber u16; selectedUnits, selectedContacts (IDList)
    // ownUnitCount is counted again on load.
    void Save(std::ostream& out) const;
    // Reads a record into this (empty) one. A damaged record (cut short, a
    // count beyond the stream, a damaged contact) is reported, leaves the
    // stream failed and the record as it was.
    void Load(std::istream& in);

    uint16_t lastContactNumber = 0;
    IDList selectedUnits;
    IDList selectedContacts;
    SavedTreeListOf<Contact> contacts;   // keyed by the detected unit's id
    IDList ownUnits;
    IDList ownGroups;
    uint16_t ownUnitCount = 0;

private:
    // The contact-area event for this record.
    void PostContactArea();
    // The one-contact evaluation of EvaluateContacts.
    void EvaluateAgainstOwnUnits(Contact& contact);
    // A full contact on each own unit that is not a group and on which
    // `target` holds none, merged into `target` with its change bits cleared.
    void GiveOwnUnitContacts(SideContacts& target);
};
