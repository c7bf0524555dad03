// SideRecords.cpp: the installed calls to the side contact records, their
// contacts and the sides, each answering "none" while not installed.
#include "units/SideRecords.h"

namespace {
SideCalls gCalls;
}  // namespace

SideCalls SetSideCalls(const SideCalls& calls)
{
    const SideCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

namespace gam2arena {

bool SideExists(uint16_t sideNumber)
{
    return gCalls.sideExists != nullptr && gCalls.sideExists(sideNumber);
}

}  // namespace gam2arena

namespace gam2side {

bool IsFocusUnit(uint16_t unitID)
{
    return gCalls.isFocusUnit != nullptr && gCalls.isFocusUnit(unitID);
}

void ClearFocus(uint16_t unitID)
{
    if (gCalls.clearFocus != nullptr)
        gCalls.clearFocus(unitID);
}

}  // namespace gam2side

namespace SideRecord {

uint16_t GetKey(const SideContacts& record)
{
    return gCalls.getKey != nullptr ? gCalls.getKey(record) : 0;
}

void AddUnit(SideContacts& record, Unit& unit)
{
    if (gCalls.addUnit != nullptr)
        gCalls.addUnit(record, unit);
}

void RemoveUnit(SideContacts& record, Unit& unit)
{
    if (gCalls.removeUnit != nullptr)
        gCalls.removeUnit(record, unit);
}

void EvaluateContact(SideContacts& record, uint16_t unitID)
{
    if (gCalls.evaluateContact != nullptr)
        gCalls.evaluateContact(record, unitID);
}

Contact* GetContact(SideContacts& record, uint16_t unitID)
{
    return gCalls.getContact != nullptr ? gCalls.getContact(record, unitID) : nullptr;
}

uint16_t GetContactKey(const Contact& contact)
{
    return gCalls.getContactKey != nullptr ? gCalls.getContactKey(contact) : 0;
}

void GetContactAim(const Contact& contact, ContactAim& aim)
{
    if (gCalls.getContactAim != nullptr)
        gCalls.getContactAim(contact, aim);
}

void AddContactThreat(Contact& contact, uint16_t count, uint16_t damage)
{
    if (gCalls.addContactThreat != nullptr)
        gCalls.addContactThreat(contact, count, damage);
}

}  // namespace SideRecord
