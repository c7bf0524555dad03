// RecordNameCalls.h: the database name lookups that victory descriptions
// use, which the windows layer answers from the scenario's and the viewer's
// record tables. The owner installs them at start-up (SetRecordNameCalls);
// until then no record is found.
#pragma once

#include <cstdint>
#include <string>

// Each writes the record's name into the buffer (at most `length` bytes,
// its zero byte included) and answers true, or answers false and leaves
// the buffer as it was when the database has no record with that id.
struct RecordNameCalls {
    bool (*copyRecordName)(uint16_t weaponID, char* buffer, uint16_t length) = nullptr;
    bool (*copyPlaneRecordName)(uint16_t planeID, char* buffer, uint16_t length) = nullptr;
    bool (*copySubRecordName)(uint16_t subID, char* buffer, uint16_t length) = nullptr;
    bool (*copyShipRecordName)(uint16_t shipID, char* buffer, uint16_t length) = nullptr;
    bool (*copyFacilityRecordName)(uint16_t facilityID, char* buffer, uint16_t length) = nullptr;
};

// Installs the calls; returns the ones they replace.
RecordNameCalls SetRecordNameCalls(const RecordNameCalls& calls);

bool CopyRecordName(uint16_t weaponID, char* buffer, uint16_t length);
bool CopyPlaneRecordName(uint16_t planeID, char* buffer, uint16_t length);
bool CopySubRecordName(uint16_t subID, char* buffer, uint16_t length);
bool CopyShipRecordName(uint16_t shipID, char* buffer, uint16_t length);
bool CopyFacilityRecordName(uint16_t facilityID, char* buffer, uint16_t length);

// The name of a class's database record through the lookup of its type
// letter ('F', 'P', 'S', 'U' or 'W'; a ship's name may take 48 bytes, the
// others a name field's 32). False, and the name untouched, for any other
// letter or a record the database does not have.
bool FindClassRecordName(uint32_t letter, uint16_t recordID, std::string& name);
