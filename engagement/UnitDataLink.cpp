// UnitDataLink.cpp: the data link between units as their side records see
// it: splitting a unit off a shared record and joining two records
// (UpdateDataLink), leaving the link (LeaveDataLink), and the note an
// attacked unit's side takes of its attacker (NoteHostileAct).
#include <cstdint>

#include "core/AllocationCheck.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/DetectingSensor.h"
#include "engagement/SideContacts.h"
#include "engagement/SideContactsList.h"
#include "engagement/UnitDetection.h"
#include "units/Unit.h"
#include "units/UnitDetectionCalls.h"
#include "units/UnitEvents.h"

namespace {

// Weapon kind of a sonobuoy, which leaves a link without a record of its own.
constexpr uint32_t SONOBUOY_KIND = 256;
// A hostile act is noted only on a contact seen this recently (seconds).
constexpr uint32_t HOSTILE_ACT_SECONDS = 30;
// A contact with an area counts only when submerged and heard by a passive
// sonar.
constexpr uint32_t MASK_SUBMERGED = 0x2;
// changeBits: a hostile act was noted.
constexpr uint16_t CHANGE_HOSTILE_ACT = 0x20;
// Side relation set toward an attacker.
constexpr uint8_t RELATION_HOSTILE = 1;

int CountDatalinks(const Unit& unit)
{
    int count = 0;
    for (const DatalinkRecord* r = unit.datalinks.First(); r != nullptr; r = r->GetNext())
        ++count;
    return count;
}

// A copy of the record under a new key of the Arena's list, listed there;
// null without a list.
SideContacts* NewRecordFrom(const SideContacts& record)
{
    SideContactsList* const list = gam2arena::GetSideList();
    if (list == nullptr)
        return nullptr;
    auto* const copy = new SideContacts(record);
    AllocationCheck(copy);
    list->Insert(copy);
    return copy;
}

// This unit leaves the shared record for a copy of its own.
void SplitOff(Unit& self, const Unit& other)
{
    SideContacts* const record = UnitDetection::RecordOf(self);
    if (record == nullptr)
        return;
    SideContacts* const copy = NewRecordFrom(*record);
    if (copy == nullptr)
        return;
    self.SetSide(*copy, 0);
    record->EvaluateContacts();
    copy->EvaluateContacts();
    if (self.GetTypeLetter() == 'F' || other.GetTypeLetter() == 'F')
        self.SetFlags(UnitFlag::LINKS_RECORDS);
}

// The two records become one: the smaller goes into the larger (a weapon's
// always goes into the other's) through a join event, and this unit is put
// into the record that stays.
void JoinRecords(Unit& self, Unit& other)
{
    SideContacts* const mine = UnitDetection::RecordOf(self);
    SideContacts* const theirs = UnitDetection::RecordOf(other);
    if (mine == nullptr || theirs == nullptr)
        return;
    const bool selfIsWeapon = self.GetTypeLetter() == 'W';
    const bool otherIsWeapon = other.GetTypeLetter() == 'W';
    if (selfIsWeapon || (!otherIsWeapon && mine->ownUnitCount < theirs->ownUnitCount)) {
        PostOrDrop(MakeMergeUnitEntriesEvent(mine->GetKey(), theirs->GetKey()));
        if (gam2arena::GetCurrentSide() == mine)
            gam2arena::SetCurrentSide(theirs);
        self.SetSide(*theirs, other.GetID());
    } else {
        PostOrDrop(MakeMergeUnitEntriesEvent(theirs->GetKey(), mine->GetKey()));
        if (gam2arena::GetCurrentSide() == theirs)
            gam2arena::SetCurrentSide(mine);
        self.SetSide(*mine, self.GetID());
    }
    if (other.GetTypeLetter() == 'F' && CountDatalinks(other) < 2)
        other.ClearFlags(UnitFlag::LINKS_RECORDS);
    if (self.GetTypeLetter() == 'F' && CountDatalinks(self) < 2)
        self.ClearFlags(UnitFlag::LINKS_RECORDS);
}

}  // namespace

namespace UnitDetection {

int32_t UpdateDataLink(Unit& self, Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon,
                       uint16_t options)
{
    if (other.GetTypeLetter() == 'W')
        options = 0;
    DatalinkRecord* const first = self.datalinks.First();
    int32_t answer = 0;
    if (self.sideEntryID == other.sideEntryID) {
        answer = 1;
        bool stays = (self.GetSideID() == other.GetSideID() && (options & DetectionOptions::LINKED_SEE_EACH_OTHER) != 0)
                     || other.GetID() != self.attachedID || first == nullptr;
        if (!stays && self.GetTypeLetter() != 'W') {
            answer = first->CheckLink(self, other, range, sight, withinHorizon, false)
                             || first->Connect(self, other, range, sight, withinHorizon, false)
                         ? 1
                         : 0;
            stays = answer != 0;
        }
        if (!stays)
            SplitOff(self, other);
    } else if ((self.TestFlags(UnitFlag::LINKS_RECORDS) && other.TestFlags(UnitFlag::LINKS_RECORDS))
               || (options & DetectionOptions::LINKED_SEE_EACH_OTHER) != 0) {
        if (first != nullptr && first->Connect(self, other, range, sight, withinHorizon, false)) {
            answer = 1;
            JoinRecords(self, other);
        }
    }
    bool active = false;
    for (const DatalinkRecord* r = self.datalinks.First(); r != nullptr && !active; r = r->GetNext()) {
        active = (r->channelFlags & DatalinkRecord::FLAG_NEEDS_LINK_FLAG) != 0
                 && (r->channelFlags & DatalinkRecord::FLAG_IN_USE) != 0;
    }
    if (active)
        self.SetLinkActive();
    else
        self.ClearLinkActive();
    return answer;
}

// The walk takes each record's first linked id until none is left: an id is
// dropped whether or not its unit still exists, so that a vanished unit's id
// cannot hold the walk on one id for ever.
void LeaveDataLink(Unit& self)
{
    SideContacts* const record = UnitDetection::RecordOf(self);
    if (record == nullptr)
        return;
    const uint16_t selfID = self.GetID();
    for (DatalinkRecord* link = self.datalinks.First(); link != nullptr; link = link->GetNext()) {
        while (const IDNode* first = link->links.First()) {
            const uint16_t otherID = first->GetKey();
            Unit* const other = gam2arena::FindUnit(otherID);
            if (other != nullptr) {
                for (DatalinkRecord* theirs = other->datalinks.First(); theirs != nullptr; theirs = theirs->GetNext()) {
                    if (theirs->HoldsLink(selfID)) {
                        theirs->DropLink(selfID);
                        break;
                    }
                }
            }
            link->DropLink(otherID);
            if (other == nullptr || otherID == self.attachedID)
                continue;
            if (other->GetTypeLetter() == 'W' && other->GetWeaponKind() == SONOBUOY_KIND) {
                // Only the side record and attachment go: the buoy stays in
                // its line, with its launcher and target.
                other->Unit::ForgetMemberships();
                continue;
            }
            if (SideContacts* const copy = NewRecordFrom(*record)) {
                other->SetSide(*copy, 0);
                PostOrDrop(MakeSetCurrentEntryEvent(self.GetSideID()));
            }
        }
    }
    if (self.attachedID != 0) {
        if (SideContacts* const copy = NewRecordFrom(*record))
            self.SetSide(*copy, 0);
    }
}

void NoteHostileAct(Unit& self, uint16_t attackerID)
{
    SideContacts* const record = UnitDetection::RecordOf(self);
    Contact* const contact = record != nullptr ? record->GetContact(attackerID) : nullptr;
    if (contact == nullptr)
        return;
    if (gam2arena::GetGameTime() > contact->lastDetection.Get() + HOSTILE_ACT_SECONDS || contact->hostileAct != 0)
        return;
    if (contact->GetArea() != nullptr
        && ((contact->targetMask & MASK_SUBMERGED) == 0
            || (contact->sensorBitsLatest & DetectingSensor::BITS_PASSIVE_SONAR) == 0))
        return;
    contact->hostileAct = 1;
    contact->changeBits |= CHANGE_HOSTILE_ACT;
    if (contact->sideId != 0 && !AreFriendly(self.GetSideID(), contact->sideId))
        SideRelations::SetRelation(self.GetSideID(), contact->sideId, RELATION_HOSTILE);
}

}  // namespace UnitDetection
