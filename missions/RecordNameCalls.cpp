// RecordNameCalls.cpp: the installed database name lookups; without them no
// record is found.
#include "missions/RecordNameCalls.h"

#include "core/NameString.h"

namespace {
RecordNameCalls gCalls;

// Bytes of a ship's name as the database writes it.
constexpr uint16_t SHIP_NAME_SIZE = 48;

bool AskLookup(bool (*lookup)(uint16_t, char*, uint16_t), uint16_t id, char* buffer, uint16_t length)
{
    return lookup != nullptr && buffer != nullptr && length > 0 && lookup(id, buffer, length);
}
}  // namespace

RecordNameCalls SetRecordNameCalls(const RecordNameCalls& calls)
{
    const RecordNameCalls old = gCalls;
    gCalls = calls;
    return old;
}

bool CopyRecordName(uint16_t weaponID, char* buffer, uint16_t length)
{
    return AskLookup(gCalls.copyRecordName, weaponID, buffer, length);
}

bool CopyPlaneRecordName(uint16_t planeID, char* buffer, uint16_t length)
{
    return AskLookup(gCalls.copyPlaneRecordName, planeID, buffer, length);
}

bool CopySubRecordName(uint16_t subID, char* buffer, uint16_t length)
{
    return AskLookup(gCalls.copySubRecordName, subID, buffer, length);
}

bool CopyShipRecordName(uint16_t shipID, char* buffer, uint16_t length)
{
    return AskLookup(gCalls.copyShipRecordName, shipID, buffer, length);
}

bool CopyFacilityRecordName(uint16_t facilityID, char* buffer, uint16_t length)
{
    return AskLookup(gCalls.copyFacilityRecordName, facilityID, buffer, length);
}

bool FindClassRecordName(uint32_t letter, uint16_t recordID, std::string& name)
{
    bool (*lookup)(uint16_t, char*, uint16_t) = nullptr;
    uint16_t size = NameString::SIZE;
    switch (letter) {
    case 'F': lookup = &CopyFacilityRecordName; break;
    case 'P': lookup = &CopyPlaneRecordName; break;
    case 'S': lookup = &CopyShipRecordName; size = SHIP_NAME_SIZE; break;
    case 'U': lookup = &CopySubRecordName; break;
    case 'W': lookup = &CopyRecordName; break;
    default: return false;
    }
    char buffer[SHIP_NAME_SIZE + 1] = {};  // one byte more: always terminated
    if (!lookup(recordID, buffer, size))
        return false;
    name = buffer;
    return true;
}
