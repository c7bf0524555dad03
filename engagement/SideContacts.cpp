// SideContacts.cpp: a side's contact picture: numbering, merging fresh
// detections, own units, folding pictures together, upkeep, ageing and the
// saved record.
#include "engagement/SideContacts.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/ContactCalls.h"
#include "engagement/SideContactsList.h"
#include "units/SideRecords.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"
#include "world/Game2UI2.h"
#include "world/UncertainPoly.h"

namespace {

// A contact unseen for longer than this (seconds) grows its area.
constexpr uint32_t AGEING_AFTER_SECONDS = 30;
// Bit of a target mask that ageing ignores.
constexpr uint32_t AGEING_IGNORED_MASK = 0x10;
// changeBits that renew the threat values at the upkeep.
constexpr uint16_t THREAT_CHANGES = 0x23;
// Target mask of a contact whose appearance the bridge is told of.
constexpr uint32_t NOTICED_NEW_MASK = 0x800;
// What an own unit's full contact knows: speed, course and altitude.
constexpr uint16_t OWN_UNIT_KNOWN = ContactKnown::SPEED | ContactKnown::COURSE | ContactKnown::ALTITUDE;

// Knots a contact is assumed to make while unseen.
uint32_t AssumedSpeed(const Contact& contact)
{
    if (contact.knownBits & ContactKnown::SPEED)
        return contact.speed;
    switch (contact.targetMask & ~AGEING_IGNORED_MASK) {
    case 1: return 40;
    case 2: return 35;
    case 4: return 1500;
    case 8: return 2500;
    case 0x800: return 50;
    default: return 0;
    }
}

void AddOnce(IDList& list, uint16_t id)
{
    if (list.Find(id) == nullptr)
        list.Insert(new IDNode(id));
}

void RefuseRecord(std::istream& in, const char* why)
{
    std::string text = "SideContacts::Load: ";
    text += why;
    ErrorBox(text.c_str());
    in.setstate(std::ios::failbit);
}

}  // namespace

SideContacts::SideContacts(uint16_t key)
    : TreeListNode<SideContacts>(key)
{
}

SideContacts::SideContacts(const SideContacts& other)
    : TreeListNode<SideContacts>(uint16_t{0})
{
    if (SideContactsList* const list = gam2arena::GetSideList())
        SetKey(list->NewKey());
    for (const Contact* c = other.contacts.First(); c != nullptr; c = c->GetNext())
        contacts.Insert(new Contact(c));
    lastContactNumber = other.lastContactNumber;
    for (const IDNode* id = other.selectedContacts.First(); id != nullptr; id = id->GetNext()) {
        if (contacts.Find(id->GetKey()) != nullptr)
            AddOnce(selectedContacts, id->GetKey());
    }
}

SideContacts::~SideContacts() = default;

void SideContacts::MergeContact(Contact** fresh)
{
    if (fresh == nullptr || *fresh == nullptr)
        return;
    Contact* const detection = *fresh;
    *fresh = nullptr;
    const uint16_t unitID = detection->GetKey();
    if (ownUnits.Find(unitID) != nullptr) {
        delete detection;
        return;
    }
    if (Contact* const held = contacts.Find(unitID)) {
        held->Merge(*detection);
        delete detection;
        return;
    }
    detection->contactNumber = NewContactNumber();
    detection->changeBits = ContactChange::NEW;
    contacts.Insert(detection);
}

uint16_t SideContacts::NewContactNumber()
{
    uint16_t candidate = static_cast<uint16_t>(lastContactNumber + 1);
    int wraps = 0;
    const Contact* c = contacts.First();
    while (c != nullptr && wraps < 2) {
        if (c->contactNumber == candidate) {
            const uint16_t taken = candidate;
            candidate = static_cast<uint16_t>(candidate + 1);
            if (taken > NUMBER_WRAP) {
                candidate = 1;
                ++wraps;
            }
            c = contacts.First();
        } else {
            c = c->GetNext();
        }
    }
    lastContactNumber = candidate;
    return candidate;
}

void SideContacts::AddUnit(uint16_t unitID)
{
    if (ownUnits.Find(unitID) != nullptr)
        return;
    const Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit != nullptr && unit->IsGroup())
        AddOnce(ownGroups, unitID);
    ++ownUnitCount;
    ownUnits.Insert(new IDNode(unitID));
    if (Contact* const held = contacts.Find(unitID)) {
        contacts.Remove(held);
        delete held;
    }
    PostContactArea();
}

void SideContacts::RemoveUnit(uint16_t unitID)
{
    if (IDNode* const node = ownUnits.Find(unitID)) {
        --ownUnitCount;
        ownUnits.Remove(node);
        delete node;
        if (IDNode* const group = ownGroups.Find(unitID)) {
            ownGroups.Remove(group);
            delete group;
        }
    }
    if (ownUnits.First() == nullptr)
        PostOrDrop(MakeRemoveEmptyEntryEvent(GetKey()));
    else
        PostContactArea();
}

void SideContacts::DeleteContacts(uint16_t unitID)
{
    while (Contact* const held = contacts.Find(unitID)) {
        contacts.Remove(held);
        delete held;
    }
}

void SideContacts::Absorb(SideContacts* other)
{
    // A record folded into itself has nothing to give (and taking its
    // contacts out to merge them back in would never end).
    if (other == this)
        other = nullptr;
    if (other != nullptr) {
        while (Contact* c = other->contacts.First()) {
            other->contacts.Remove(c);
            MergeContact(&c);
        }
        for (const IDNode* id = other->ownUnits.First(); id != nullptr; id = id->GetNext()) {
            AddUnit(id->GetKey());
            if (Unit* const unit = gam2arena::FindUnit(id->GetKey()))
                unit->sideEntryID = GetKey();
        }
        for (const IDNode* id = ownUnits.First(); id != nullptr; id = id->GetNext())
            DeleteContacts(id->GetKey());
        for (const IDNode* id = other->selectedUnits.First(); id != nullptr; id = id->GetNext()) {
            if (ownUnits.Find(id->GetKey()) != nullptr)
                AddOnce(selectedUnits, id->GetKey());
        }
        for (const IDNode* id = other->selectedContacts.First(); id != nullptr; id = id->GetNext()) {
            if (ownUnits.Find(id->GetKey()) == nullptr)
                AddOnce(selectedContacts, id->GetKey());
        }
    }
    PostContactArea();
}

void SideContacts::UpdateContacts()
{
    Contact* next = nullptr;
    for (Contact* c = contacts.First(); c != nullptr; c = next) {
        next = c->GetNext();
        if (c->changeBits & ContactChange::DROPPED) {
            contacts.Remove(c);
            delete c;
            continue;
        }
        if (c->changeBits & THREAT_CHANGES)
            c->UpdateThreatValues();
        if ((c->changeBits & ContactChange::NEW) && c->targetMask == NOTICED_NEW_MASK)
            gam2side::OnNewContact(GetKey(), c->GetKey());
        c->changeBits = 0;
        c->ApplyHold();
        c->hadArea = c->GetArea() != nullptr ? 1 : 0;
    }
}

void SideContacts::GiveOwnUnitContacts(SideContacts& target)
{
    for (const IDNode* id = ownUnits.First(); id != nullptr; id = id->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(id->GetKey());
        if (unit == nullptr || unit->IsGroup() || target.contacts.Find(id->GetKey()) != nullptr)
            continue;
        auto* full = new Contact(*unit, 0);
        full->sideId = static_cast<uint8_t>(unit->GetSideID());
        full->identifiedAs = unit->GetAnnexID();
        full->knownBits = OWN_UNIT_KNOWN;
        full->sizeClass = unit->GetSizeClass();
        full->speed = unit->speed;
        full->course = static_cast<uint16_t>(unit->course / ANGLE_PER_DEGREE);
        target.MergeContact(&full);
        if (Contact* const held = target.contacts.Find(id->GetKey()))
            held->changeBits = 0;
    }
}

void SideContacts::RevealUnitsTo(SideContacts& other)
{
    GiveOwnUnitContacts(other);
}

void SideContacts::AddOwnUnitContacts()
{
    GiveOwnUnitContacts(*this);
}

void SideContacts::SelectUnits(const IDList& units, uint16_t unitID)
{
    const uint16_t side = Game2UI2::GetCurrentSideID();
    if (side == 0 || !gam2arena::SideExists(side))
        return;
    selectedUnits.DeleteAll();
    if (ownUnits.Find(unitID) != nullptr)
        AddOnce(selectedUnits, unitID);
    for (const IDNode* id = units.First(); id != nullptr; id = id->GetNext()) {
        if (ownUnits.Find(id->GetKey()) != nullptr && SideRelations::CanSelectUnit(side, id->GetKey()))
            AddOnce(selectedUnits, id->GetKey());
    }
}

void SideContacts::SelectContacts(const IDList& units, uint16_t unitID)
{
    selectedContacts.DeleteAll();
    if (unitID != 0 && contacts.Find(unitID) != nullptr)
        AddOnce(selectedContacts, unitID);
    for (const IDNode* id = units.First(); id != nullptr; id = id->GetNext()) {
        if (contacts.Find(id->GetKey()) != nullptr)
            AddOnce(selectedContacts, id->GetKey());
    }
}

void SideContacts::EvaluateAgainstOwnUnits(Contact& contact)
{
    contact.SetBandFlag(0);
    contact.stickyFlags = 0;
    contact.statusValue = 0;
    contact.auxValue = 0;
    for (const IDNode* id = ownUnits.First(); id != nullptr; id = id->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(id->GetKey());
        if (unit == nullptr)
            continue;
        unit->AddRecordCounts(contact);
        contact.stickyFlags |= gam2side::GetUnitContactFlags(*unit, contact);
        contact.stickyFlags |= gam2side::GetPlaneRecContactFlags(*unit, contact);
    }
}

void SideContacts::EvaluateContacts()
{
    if (ownUnits.First() == nullptr)
        return;
    for (Contact* c = contacts.First(); c != nullptr; c = c->GetNext())
        EvaluateAgainstOwnUnits(*c);
}

void SideContacts::EvaluateContact(uint16_t unitID)
{
    if (ownUnits.First() == nullptr)
        return;
    if (Contact* const held = contacts.Find(unitID))
        EvaluateAgainstOwnUnits(*held);
}

void SideContacts::AgeContacts(uint8_t elapsed)
{
    const uint64_t now = gam2arena::GetGameTime();
    for (Contact* c = contacts.First(); c != nullptr; c = c->GetNext()) {
        if (uint64_t{c->lastDetection.Get()} + AGEING_AFTER_SECONDS >= now)
            continue;
        const uint32_t growth = AssumedSpeed(*c) * RANGE_PER_NM / 3600 * elapsed;
        if (growth == 0)
            continue;
        if (c->GetArea() == nullptr)
            c->SetArea(new Uncertain_Poly(c->PositionObject::GetPosition(), static_cast<int32_t>(growth)));
        else
            c->GetArea()->Grow(static_cast<int32_t>(growth));
        c->CenterOnArea();
    }
}

void SideContacts::PostContactArea()
{
    PostOrDrop(MakeContactAreaEvent(GetKey()));
}

void SideContacts::Save(std::ostream& out) const
{
    SaveKey(out);
    contacts.Save(out);
    ownUnits.Save(out);
    ownGroups.Save(out);
    SaveField(out, lastContactNumber);
    selectedUnits.Save(out);
    selectedContacts.Save(out);
}

void SideContacts::Load(std::istream& in)
{
    // Everything is read aside first: a refused record changes nothing.
    SideContacts read;
    uint16_t key = 0;
    if (!LoadField(in, key)) {
        RefuseRecord(in, "the record is cut short");
        return;
    }
    read.contacts.Load(in);
    if (in)
        read.ownUnits.Load(in);
    if (in)
        read.ownGroups.Load(in);
    LoadField(in, read.lastContactNumber);
    if (in)
        read.selectedUnits.Load(in);
    if (in)
        read.selectedContacts.Load(in);
    if (!in) {
        RefuseRecord(in, "the record is damaged or cut short");
        return;
    }
    SetKey(key);
    while (Contact* c = read.contacts.First()) {
        read.contacts.Remove(c);
        contacts.Insert(c);
    }
    const auto take = [](IDList& from, IDList& to) {
        while (IDNode* id = from.First()) {
            from.Remove(id);
            to.Insert(id);
        }
    };
    take(read.ownUnits, ownUnits);
    take(read.ownGroups, ownGroups);
    take(read.selectedUnits, selectedUnits);
    take(read.selectedContacts, selectedContacts);
    lastContactNumber = read.lastContactNumber;
    ownUnitCount = 0;
    for (const IDNode* id = ownUnits.First(); id != nullptr; id = id->GetNext())
        ++ownUnitCount;
}
