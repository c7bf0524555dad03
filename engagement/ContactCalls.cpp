// ContactCalls.cpp: the installed calls of the contact records, each
// answering "none" while not installed.
#include "engagement/ContactCalls.h"

#include "engagement/Contact.h"

namespace {
ContactCalls gCalls;
}  // namespace

ContactCalls SetContactCalls(const ContactCalls& calls)
{
    const ContactCalls previous = gCalls;
    gCalls = calls;
    return previous;
}

Event* MakeContactUpdateEvent(Contact* contact, uint16_t recordKey)
{
    if (gCalls.makeContactUpdateEvent == nullptr) {
        delete contact;
        return nullptr;
    }
    return gCalls.makeContactUpdateEvent(contact, recordKey);
}

Event* MakeRemoveEmptyEntryEvent(uint16_t recordKey)
{
    return gCalls.makeRemoveEmptyEntryEvent != nullptr ? gCalls.makeRemoveEmptyEntryEvent(recordKey) : nullptr;
}

Event* MakeContactAreaEvent(uint16_t recordKey)
{
    return gCalls.makeContactAreaEvent != nullptr ? gCalls.makeContactAreaEvent(recordKey) : nullptr;
}

namespace SideRelations {

void SetRelation(uint16_t sideNumber, uint8_t otherSide, uint8_t relation)
{
    if (gCalls.setRelation != nullptr)
        gCalls.setRelation(sideNumber, otherSide, relation);
}

uint8_t GetRelation(uint16_t sideNumber, uint8_t otherSide)
{
    return gCalls.getRelation != nullptr ? gCalls.getRelation(sideNumber, otherSide) : 0;
}

bool CanSelectUnit(uint16_t sideNumber, uint16_t unitID)
{
    return gCalls.canSelectUnit != nullptr && gCalls.canSelectUnit(sideNumber, unitID);
}

const char* GetBaseName(uint16_t sideID)
{
    return gCalls.getBaseName != nullptr ? gCalls.getBaseName(sideID) : nullptr;
}

}  // namespace SideRelations

namespace gam2side {

void OnNewContact(uint16_t recordKey, uint16_t unitID)
{
    if (gCalls.onNewContact != nullptr)
        gCalls.onNewContact(recordKey, unitID);
}

uint8_t GetUnitContactFlags(Unit& unit, Contact& contact)
{
    return gCalls.getUnitContactFlags != nullptr ? gCalls.getUnitContactFlags(unit, contact) : 0;
}

uint8_t GetPlaneRecContactFlags(Unit& unit, Contact& contact)
{
    return gCalls.getPlaneRecContactFlags != nullptr ? gCalls.getPlaneRecContactFlags(unit, contact) : 0;
}

}  // namespace gam2side

namespace ui2game {

void PostGameMessage(uint16_t sideID, uint32_t level, char typeLetter, const char* text)
{
    if (gCalls.postGameMessage != nullptr)
        gCalls.postGameMessage(sideID, level, typeLetter, text);
}

}  // namespace ui2game

namespace unit2gam {

bool GetGameDate(uint32_t seconds, GameClockRecord& record)
{
    return gam2arena::GetGameDateTimeAt(seconds, record);
}

}  // namespace unit2gam
