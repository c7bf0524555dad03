// SideContactsList.cpp: the Arena's list of side contact records, its saved
// form, and the calls it installs for the layers below.
#include "engagement/SideContactsList.h"

#include <istream>
#include <ostream>
#include <string>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/SideRecords.h"
#include "units/Unit.h"

namespace {

SideContactsList* gArenaSides = nullptr;

SideContacts* FindArenaSide(uint16_t key)
{
    return gArenaSides != nullptr ? gArenaSides->Find(key) : nullptr;
}

SideContacts* GetArenaCurrent()
{
    return gArenaSides != nullptr ? gArenaSides->GetCurrent() : nullptr;
}

void SetArenaCurrent(SideContacts* record)
{
    if (gArenaSides != nullptr)
        gArenaSides->SetCurrent(record);
}

SideContactsList* GetArenaSides()
{
    return gArenaSides;
}

// What the unit model's aim takes from a contact: where it is believed to be,
// its speed and course, its known bits as classification and its condition
// bits as flag word.
void FillAim(const Contact& contact, ContactAim& aim)
{
    contact.GetPosition(aim.position);
    aim.speed = contact.speed;
    aim.courseDegrees = contact.course;
    aim.classification = contact.knownBits;
    aim.flags = contact.conditionBits;
    aim.bandWord = contact.bandWord;
}

void AddThreat(Contact& contact, uint16_t count, uint16_t damage)
{
    contact.threat[0] = static_cast<uint16_t>(contact.threat[0] + count);
    contact.threat[1] = static_cast<uint16_t>(contact.threat[1] + damage);
    contact.SetBandFlag(contact.threat[0] != 0 ? 1 : 0);
}

void InstallRecordCalls(bool installed)
{
    SideCalls calls = SetSideCalls(SideCalls{});
    if (installed) {
        calls.getKey = [](const SideContacts& r) { return r.GetKey(); };
        calls.addUnit = [](SideContacts& r, Unit& u) { r.AddUnit(u.GetID()); };
        calls.removeUnit = [](SideContacts& r, Unit& u) { r.RemoveUnit(u.GetID()); };
        calls.evaluateContact = [](SideContacts& r, uint16_t id) { r.EvaluateContact(id); };
        calls.getContact = [](SideContacts& r, uint16_t id) { return r.GetContact(id); };
        calls.getContactKey = [](const Contact& c) { return c.GetKey(); };
        calls.getContactAim = &FillAim;
        calls.addContactThreat = &AddThreat;
    } else {
        calls.getKey = nullptr;
        calls.addUnit = nullptr;
        calls.removeUnit = nullptr;
        calls.evaluateContact = nullptr;
        calls.getContact = nullptr;
        calls.getContactKey = nullptr;
        calls.getContactAim = nullptr;
        calls.addContactThreat = nullptr;
    }
    SetSideCalls(calls);
}

}  // namespace

SideContactsList::~SideContactsList()
{
    if (gArenaSides == this)
        SetArenaList(nullptr);
    DeleteAll();
}

void SideContactsList::SetCurrent(SideContacts* record)
{
    if (record != nullptr && Find(record->GetKey()) != record) {
        bool listed = false;
        for (SideContacts* r = First(); r != nullptr && !listed; r = r->GetNext())
            listed = r == record;
        if (!listed)
            return;
    }
    current = record;
}

void SideContactsList::DeleteAll()
{
    current = nullptr;
    SavedTreeListOf<SideContacts>::DeleteAll();
}

void SideContactsList::Remove(SideContacts* record)
{
    if (record != nullptr && record == current)
        current = nullptr;
    SavedTreeListOf<SideContacts>::Remove(record);
}

bool SideContactsList::Load(std::istream& in)
{
    uint16_t count = 0;
    if (!LoadField(in, count)) {
        ErrorBox("SideContactsList::Load: the record count is cut short");
        return false;
    }
    TreeListOf<SideContacts> read;
    for (uint32_t i = 0; i < count && in; ++i) {
        auto* const record = new SideContacts();
        record->Load(in);
        if (!in) {
            delete record;
            break;
        }
        read.Insert(record);
    }
    if (!in) {
        const std::string text = "SideContactsList::Load: " + std::to_string(count) + " records announced, the list is damaged";
        ErrorBox(text.c_str());
        return false;
    }
    DeleteAll();
    while (SideContacts* r = read.First()) {
        read.Remove(r);
        Insert(r);
    }
    if (SideContacts* const last = Last())
        SetLastKey(last->GetKey());
    return true;
}

SideContactsList* SideContactsList::SetArenaList(SideContactsList* list)
{
    SideContactsList* const previous = gArenaSides;
    gArenaSides = list;
    gam2arena::SideListCalls calls;
    if (list != nullptr) {
        calls.findSide = &FindArenaSide;
        calls.getCurrentSide = &GetArenaCurrent;
        calls.setCurrentSide = &SetArenaCurrent;
        calls.getSideList = &GetArenaSides;
    }
    gam2arena::SetSideListCalls(calls);
    InstallRecordCalls(list != nullptr);
    return previous;
}
